// f31 members on jittered feature points of the unit lattice of 3D space:
// the gap between the nearest and second-nearest point over two lattices
// (" 3D Cellular"), round bubbles around the nearest point (" 3D Bubbles"),
// and bubbles carved octave by octave (" 3D fractal Bubbles"). Also the
// lattice cell and the eight candidate distances they share.
#pragma once

#include <array>
#include <cstdint>

#include "components/f31/f31_pvt.h"
#include "foundation/types.h"

void f31_voronoi3d(gfunc* g);
void f31_Bubble3d(gfunc* g);
void f31_fractBubble3d(gfunc* g);

int16_t f31_voronoi3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_Bubble3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_fractBubble3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f31_voronoi3d_precompute(gfunc* g);
void f31_Bubble3d_precompute(gfunc* g);
void f31_fractBubble3d_precompute(gfunc* g);

// The lattice cell of a point: indices (trunc, one less below 0) and
// fractions. False when a coordinate is NaN or beyond the integer range.
struct F31cell
{
  int32_t ix, iy, iz;
  double fx, fy, fz;
};
bool f31_cellOf(double x, double y, double z, F31cell& cell);

// Entry of rndVec3D for the cell (a, b, c); the cell (a, b + 1, c) uses the
// next entry.
uint32_t f31_cellHash(const KVtables* t, int32_t a, int32_t b, int32_t c);

// The squared distances to the feature points of the 8 cells around the
// point, jittered by J; false (and no distances) when the split fails.
bool f31_candidates(const KVtables* t, double x, double y, double z, double J,
                    std::array<double, 8>& d2);

// The least squared distance of the 8 candidates, capped at 1; 0 when the
// split fails.
double f31_nearest(const KVtables* t, double x, double y, double z, double J);

// Per-octave body of " 3D fractal Bubbles": each octave only carves where it
// lowers the running minimum held in out->x.
bool fp3dfractBubbles(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                      double a, short j, dvector2d* out);

inline constexpr KVmemberDesc kF31_Bubble3d{
    .id = 26,
    .computeName = "f31_Bubble3d",
    .name = " 3D Bubbles",
    .compute = f31_Bubble3d,
    .handler = f31_Bubble3d_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = -4}, kF31phase64, kF31frequency16},
    .defaults = {2, 0, 2},
    .inputCode = kF31noiseInput,
    .on8 = f31_Bubble3d_precompute,
};

inline constexpr KVmemberDesc kF31_fractBubble3d{
    .id = 52,
    .computeName = "f31_fractBubble3d",
    .name = " 3D fractal Bubbles",
    .compute = f31_fractBubble3d,
    .handler = f31_fractBubble3d_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = -4},
               {.label = "Roughness ", .k = 1},
               kF31frequency16},
    .defaults = {1, 0.25, 2},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_fractBubble3d_precompute,
};

inline constexpr KVmemberDesc kF31_voronoi3d{
    .id = 53,
    .computeName = "f31_voronoi3d",
    .name = " 3D Cellular",
    .compute = f31_voronoi3d,
    .handler = f31_voronoi3d_handler,
    .params = {kF31amplitude8, kF31phase64, kF31frequency16},
    .defaults = {2, 0, 2},
    .inputCode = kF31noiseInput,
    .on8 = f31_voronoi3d_precompute,
};
