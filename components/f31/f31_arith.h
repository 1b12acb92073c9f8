// The arithmetic f31 members: each combines x, y and z sample by sample by a
// fixed formula (linear forms, products, distance, maximum, a smooth
// minimum-to-maximum blend, a blend of x and y steered by z) or packs the
// three inputs into one packed colour output.
#pragma once

#include "components/f31/f31_pvt.h"

void f31_affine(gfunc* g);
void f31_Naffine(gfunc* g);
void f31_mul(gfunc* g);
void f31_addmul(gfunc* g);
void f31_xmypz(gfunc* g);
void f31_distance(gfunc* g);
void f31_max(gfunc* g);
void f31_minmax(gfunc* g);
void f31_blend(gfunc* g);
void f31_Pack(gfunc* g);

int16_t f31_affine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_Naffine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_addmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_xmypz_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_distance_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_max_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_minmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_blend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_Pack_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// The smooth maximum of Min <-> Max: a above b + C'/4, b below b - C'/4, a
// parabola between (C' = max(C, 0); with C' = 0 the exact maximum).
double f31_smoothMax(double a, double b, double c);

// A "Tree" handler bound to no id (no compute): labels, maps and defaults.
int16_t f31_tree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

namespace f31arith {
inline constexpr KVparamDesc kScaleX16{.label = "Scale X ", .k = 16, .c = -8};
inline constexpr KVparamDesc kScaleY16{.label = "Scale Y ", .k = 16, .c = -8};
inline constexpr KVparamDesc kScaleZ16{.label = "Scale Z ", .k = 16, .c = -8};
inline constexpr KVparamDesc kAmplitudeHalf{.label = "Amplitude ", .k = 1, .c = 0.5};
}  // namespace f31arith

inline constexpr KVmemberDesc kF31_affine{
    .id = 0,
    .computeName = "f31_affine",
    .name = " Ax+By+Cz",
    .compute = f31_affine,
    .handler = f31_affine_handler,
    .params = {f31arith::kScaleX16, f31arith::kScaleY16, f31arith::kScaleZ16},
    .defaults = {1, 1, 1},
};

inline constexpr KVmemberDesc kF31_Naffine{
    .id = 20,
    .computeName = "f31_Naffine",
    .name = " (Ax+By+Cz)/Norm",
    .compute = f31_Naffine,
    .handler = f31_Naffine_handler,
    .params = {{.label = "Scale X ", .k = 4, .c = -2},
               {.label = "Scale Y ", .k = 4, .c = -2},
               {.label = "Scale Z ", .k = 4, .c = -2}},
    .defaults = {0.4, 0.3, -0.3},
};

inline constexpr KVmemberDesc kF31_mul{
    .id = 2,
    .computeName = "f31_mul",
    .name = " x * y * z",
    .compute = f31_mul,
    .handler = f31_mul_handler,
    .params = {{.label = "Scale ", .k = 2}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF31_addmul{
    .id = 21,
    .computeName = "f31_addmul",
    .name = " (x:y) * z",
    .compute = f31_addmul,
    .handler = f31_addmul_handler,
    .params = {{.label = "Balance x y ", .k = 1}, {.label = "Amplitude z ", .k = 1}},
    .defaults = {1, 1, kAbsentParam},
};

inline constexpr KVmemberDesc kF31_xmypz{
    .id = 32,
    .computeName = "f31_xmypz",
    .name = " x*y + z",
    .compute = f31_xmypz,
    .handler = f31_xmypz_handler,
    .params = {{.label = "Amplitude x*y ", .k = 2}, {.label = "Amplitude z ", .k = 4, .c = -2}},
    .defaults = {1, 1, kAbsentParam},
};

inline constexpr KVmemberDesc kF31_distance{
    .id = 3,
    .computeName = "f31_distance",
    .name = " Distance(x,y,z) ",
    .compute = f31_distance,
    .handler = f31_distance_handler,
};

inline constexpr KVmemberDesc kF31_max{
    .id = 13,
    .computeName = "f31_max",
    .name = " Max(x,y,z)",
    .compute = f31_max,
    .handler = f31_max_handler,
    .params = {f31arith::kAmplitudeHalf},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF31_minmax{
    .id = 12,
    .computeName = "f31_minmax",
    .name = " Min <-> Max",
    .compute = f31_minmax,
    .handler = f31_minmax_handler,
    .params = {f31arith::kAmplitudeHalf,
               {.label = "Min to Max ", .k = 1},
               {.label = "Smoothing ", .k = 4}},
    .defaults = {1, 1, 0.5},
};

inline constexpr KVmemberDesc kF31_blend{
    .id = 8,
    .computeName = "f31_blend",
    .name = " z Blend",
    .compute = f31_blend,
    .handler = f31_blend_handler,
    .params = {{.label = "Amplitude ", .k = 1}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF31_Pack{
    .id = 27,
    .computeName = "f31_Pack",
    .name = " Pack(x,y,z)",
    .compute = f31_Pack,
    .handler = f31_Pack_handler,
    .outputCode = 2,
    .inputCode = kF31noiseInput,
};

// Bound to no id; the id field is not read.
inline constexpr KVmemberDesc kF31_tree{
    .id = -1,
    .computeName = "",
    .name = " Tree",
    .params = {{.label = "Angle ", .k = 2},
               {.label = "Length ", .k = 1},
               {.label = "Thickness ", .k = 2}},
    .defaults = {1, 1.5, 0.5},
};
