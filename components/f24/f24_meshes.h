// Random triangle meshes: a jittered triangular lattice covers the plane;
// "Triangle Random Mesh" colours each triangle and gives the distance to its
// nearest edge as a bevel, "Random Circles" draws the circle inscribed in
// each triangle as a dome. A triangle's colour is the document gradient at
// a position given by its area. Outputs: R, G, B (8 full) and the bevel or
// dome.
#pragma once

#include "components/common/member.h"
#include "noise/kvtables.h"

void f24_Randomcircles(gfunc* g);
void f24_Randomtriangles(gfunc* g);

int16_t f24_Randomcircles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_Randomtriangles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f24_Randomcircles_prepare(gfunc* g);
void f24_Randomtriangles_prepare(gfunc* g);

// The distance from lattice point (x, y) to the nearest edge of the mesh
// triangle that holds it (positive inside); t = twice the triangle's area x
// scale.
double RandomTrimesh(const KVtables* tables, double x, double y, double scale, double* t);
// amplitude x (1 - (rho / r)^2) inside the circle inscribed in the triangle
// that holds (x, y), t as above; outside it, for a circle of radius below
// 1/8 or a degenerate triangle, 0 with t = 0.
double RandomCirclemesh(const KVtables* tables, double x, double y, double scale, double amplitude,
                        double* t);

inline constexpr KVmemberDesc kF24_Randomcircles{
    .id = 19,
    .computeName = "f24_Randomcircles",
    .name = " Random Circles",
    .compute = f24_Randomcircles,
    .handler = f24_Randomcircles_handler,
    .params = {{.label = "Amplitude ", .k = 4},
               {.label = "Color variance ", .k = 1},
               {.label = "Frequency ", .k = 8}},
    .defaults = {1, 0.5, 1},
    .on8 = f24_Randomcircles_prepare,
};

inline constexpr KVmemberDesc kF24_Randomtriangles{
    .id = 20,
    .computeName = "f24_Randomtriangles",
    .name = " Triangle Random Mesh",
    .compute = f24_Randomtriangles,
    .handler = f24_Randomtriangles_handler,
    .params = {{.label = "Amplitude ", .k = 4},
               {.label = "Color variance ", .k = 1},
               {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0.5, 1},
    .on8 = f24_Randomtriangles_prepare,
};
