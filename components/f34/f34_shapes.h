// Colour shapes on the plane of inputs 1 and 2, coloured by input 3 through
// a colour cycle: a regular polygon, a disk, a bar, a neon segment and a
// soft dot; a lattice of cut squares stacked by height; a relief patchwork
// coloured by the document's palette. Output 4 is the shape's field: positive
// inside, 0 on the border, negative (held at -2) outside.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f34_PolyN(gfunc* g);
void f34_Circle(gfunc* g);
void f34_Line(gfunc* g);
void f34_NeonLine(gfunc* g);
void f34_PolyB(gfunc* g);
void f34_gaussian(gfunc* g);
void f34_Technoid(gfunc* g);

int16_t f34_PolyN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_Circle_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_Line_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_NeonLine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_PolyB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_gaussian_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_Technoid_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f34_PolyN_prepare(gfunc* g);
void f34_Circle_prepare(gfunc* g);
void f34_Line_prepare(gfunc* g);
void f34_NeonLine_prepare(gfunc* g);
void f34_PolyB_prepare(gfunc* g);
void f34_gaussian_prepare(gfunc* g);
void f34_Technoid_prepare(gfunc* g);

// The polygon's side count is trunc(A) held to the range message 4 gives.
inline constexpr int kF34minSides = 2;
inline constexpr int kF34maxSides = 22;
int f34_polygonSides(double a);

// One cell of the z Random Polygons lattice at local (u, v) in -1..1: the
// cell square cut by one of six diagonal cuts, raised by z (held to
// -1..0.5). Where it covers the point and stands higher than acc[3], acc
// takes its height and colour (one of `colours`, three RGB triples 0..255,
// or grey). Returns 1 when the polygon covers the point.
int32_t f2dregionZPolyB(const KVtables* t, double u, double v, double z, int32_t ix, int32_t iy,
                        const double colours[9], double acc[4]);

namespace f34shape {
inline constexpr double kPi = std::numbers::pi;
inline constexpr KVparamDesc kRotation{.label = "Rotation ", .k = 2 * kPi, .c = -kPi};
inline constexpr KVparamDesc kCycle{.label = "Color Cycle ", .k = 1};
inline constexpr KVparamDesc kSize{.label = "Size ", .k = 32};
}  // namespace f34shape

inline constexpr KVmemberDesc kF34_PolyN{
    .id = 0,
    .computeName = "f34_PolyN",
    .name = " Color Polygon N ",
    .compute = f34_PolyN,
    .handler = f34_PolyN_handler,
    .params = {{.label = " Sides ", .k = 20, .c = 2, .truncate = true},
               {.label = "Radius ", .k = 16},
               f34shape::kCycle},
    .defaults = {5, 2, 0.5},
    .on8 = f34_PolyN_prepare,
};

inline constexpr KVmemberDesc kF34_Circle{
    .id = 1,
    .computeName = "f34_Circle",
    .name = " Color Circle ",
    .compute = f34_Circle,
    .handler = f34_Circle_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Radius ", .k = 24},
               f34shape::kCycle},
    .defaults = {4, 2, 0.5},
    .on8 = f34_Circle_prepare,
};

inline constexpr KVmemberDesc kF34_Line{
    .id = 2,
    .computeName = "f34_Line",
    .name = " Color Line ",
    .compute = f34_Line,
    .handler = f34_Line_handler,
    .params = {f34shape::kRotation, f34shape::kSize, f34shape::kCycle},
    .defaults = {std::numbers::pi / 2, 1, 0.5},
    .on8 = f34_Line_prepare,
};

inline constexpr KVmemberDesc kF34_NeonLine{
    .id = 3,
    .computeName = "f34_NeonLine",
    .name = " Color Neon Line ",
    .compute = f34_NeonLine,
    .handler = f34_NeonLine_handler,
    .params = {f34shape::kRotation, f34shape::kSize, f34shape::kCycle},
    .defaults = {0, 1, 0.5},
    .on8 = f34_NeonLine_prepare,
};

inline constexpr KVmemberDesc kF34_PolyB{
    .id = 38,
    .computeName = "f34_PolyB",
    .name = " z Random Polygons",
    .compute = f34_PolyB,
    .handler = f34_PolyB_handler,
    .params = {{.label = "Amplitude ", .k = 2}, f34shape::kCycle, {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0.5, 2},
    .on8 = f34_PolyB_prepare,
};

inline constexpr KVmemberDesc kF34_gaussian{
    .id = 39,
    .computeName = "f34_gaussian",
    .name = " Gaussian Dot ",
    .compute = f34_gaussian,
    .handler = f34_gaussian_handler,
    .params = {{.label = "Amplitude ", .k = 8}, {.label = "Radius ", .k = 24}, f34shape::kCycle},
    .defaults = {2, 4, 0.5},
    .on8 = f34_gaussian_prepare,
};

inline constexpr KVmemberDesc kF34_Technoid{
    .id = 44,
    .computeName = "f34_Technoid",
    .name = " z R-patchwork",
    .compute = f34_Technoid,
    .handler = f34_Technoid_handler,
    .params = {{.label = "Amplitude ", .k = 1},
               {.label = "Sharpness % ", .k = 1},
               {.label = "Frequency ", .k = 8}},
    .defaults = {0.25, 0.25, 1},
    .on8 = f34_Technoid_prepare,
};
