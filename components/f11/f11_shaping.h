// f11 members that shape a value by arithmetic, clamping and elementary
// functions: gains and offsets, powers, clips and floors, logarithm and
// exponential, contrast and smooth floors. Every one gives the no-value
// marker where the input holds it, except the uniform-input paths of Ax+B,
// x+A and B(A power X), which compute once from the first element.
#pragma once

#include "components/common/member.h"

void f11_affine(gfunc* g);
void f11_power(gfunc* g);
void f11_inverse(gfunc* g);
void f11_abs(gfunc* g);
void f11_clip(gfunc* g);
void f11_div(gfunc* g);
void f11_inversegauss(gfunc* g);
void f11_log(gfunc* g);
void f11_div2(gfunc* g);
void f11_cubicClip(gfunc* g);
void f11_sphere(gfunc* g);
void f11_Apwrx(gfunc* g);
void f11_offset(gfunc* g);
void f11_iabs(gfunc* g);
void f11_floor(gfunc* g);
void f11_sabs(gfunc* g);
void f11_contrast(gfunc* g);
void f11_squarefloor(gfunc* g);
void f11_smoothfloor(gfunc* g);

int16_t f11_affine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_power_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_inverse_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_abs_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_clip_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_div_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_inversegauss_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_log_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_div2_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_cubicClip_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_sphere_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_Apwrx_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_offset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_iabs_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_floor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_sabs_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_contrast_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_squarefloor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_smoothfloor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Precomputations into K1..K3 (and, where said, parameters held in range),
// at message 8 unless noted.
void f11_power_precompute(gfunc* g);  // messages 7 and 8: B <= -1 becomes 1; K2 = 1/B^A
void f11_log_precompute(gfunc* g);
void f11_cubicClip_precompute(gfunc* g);  // B <= -1 becomes 0; K1 = 1/A
void f11_iabs_precompute(gfunc* g);
void f11_sabs_precompute(gfunc* g);
void f11_contrast_precompute(gfunc* g);
void f11_squarefloor_precompute(gfunc* g);  // messages 7 and 8
void f11_smoothfloor_precompute(gfunc* g);

// Message 9 of C Log: a tree of version 15 or older gets A/16 and B = C = 1,
// the keyframes B = C = 1.
void f11_log_convert(gfunc* g);

inline constexpr KVmemberDesc kF11_affine{
    .id = 0,
    .computeName = "f11_affine",
    .name = " Ax+B",
    .compute = f11_affine,
    .handler = f11_affine_handler,
    .params = {{.label = "Scaling ", .k = 16, .c = -8}, {.label = "Offset ", .k = 32, .c = -16}},
    .defaults = {1, 0, kAbsentParam},
};

inline constexpr KVmemberDesc kF11_power{
    .id = 2,
    .computeName = "f11_power",
    .name = " x power A",
    .compute = f11_power,
    .handler = f11_power_handler,
    .params = {{.label = "Power ", .k = 15.875, .c = 0.125},
               {.label = "Scale ", .k = 3.99609375, .c = 0.00390625}},
    .defaults = {1, 1, kAbsentParam},
    .on7 = f11_power_precompute,
    .on8 = f11_power_precompute,
};

inline constexpr KVmemberDesc kF11_inverse{
    .id = 3,
    .computeName = "f11_inverse",
    .name = " A - x",
    .compute = f11_inverse,
    .handler = f11_inverse_handler,
    .params = {{.label = "Level ", .k = 16, .c = 0}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF11_abs{
    .id = 6,
    .computeName = "f11_abs",
    .name = " Abs x",
    .compute = f11_abs,
    .handler = f11_abs_handler,
};

inline constexpr KVmemberDesc kF11_clip{
    .id = 10,
    .computeName = "f11_clip",
    .name = " Clip",
    .compute = f11_clip,
    .handler = f11_clip_handler,
    .params = {{.label = "Contrast ", .k = 7.875, .c = 0.125},
               {.label = "Offset ", .k = 16, .c = -8},
               {.label = "Cutoff ", .k = 15.75, .c = 0.25}},
    .defaults = {1, 0, 4},
};

inline constexpr KVmemberDesc kF11_div{
    .id = 11,
    .computeName = "f11_div",
    .name = " A/x",
    .compute = f11_div,
    .handler = f11_div_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = -4}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF11_inversegauss{
    .id = 12,
    .computeName = "f11_inversegauss",
    .name = " A(1-exp(-x))",
    .compute = f11_inversegauss,
    .handler = f11_inversegauss_handler,
    .params = {{.label = "Amplitude ", .k = 7.75, .c = 0.25}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF11_log{
    .id = 13,
    .computeName = "f11_log",
    .name = " C Log (Cx+B)",
    .compute = f11_log,
    .handler = f11_log_handler,
    .params = {{.label = "Amount ", .k = 1, .c = 0},
               {.label = "Offset B ", .k = 2.718281828459045, .c = 0},
               {.label = "Scale C ", .k = 3.5, .c = 0.5}},
    .defaults = {1, 1, 1},
    .on8 = f11_log_precompute,
    .on9 = f11_log_convert,
};

inline constexpr KVmemberDesc kF11_div2{
    .id = 14,
    .computeName = "f11_div2",
    .name = " A/(xx+A-1)",
    .compute = f11_div2,
    .handler = f11_div2_handler,
    .params = {{.label = "Amplitude ", .k = 0.95, .c = 1.05}},
    .defaults = {1.25, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF11_cubicClip{
    .id = 17,
    .computeName = "f11_cubicClip",
    .name = " Cubic Clip",
    .compute = f11_cubicClip,
    .handler = f11_cubicClip_handler,
    .params = {{.label = "Amplitude ", .k = 15, .c = 1}, {.label = "Offset ", .k = 2, .c = -0.5}},
    .defaults = {2, 0, kAbsentParam},
    .on8 = f11_cubicClip_precompute,
};

inline constexpr KVmemberDesc kF11_sphere{
    .id = 18,
    .computeName = "f11_sphere",
    .name = " Sphere",
    .compute = f11_sphere,
    .handler = f11_sphere_handler,
    .params = {{.label = "Radius ", .k = 6.158185307179586, .c = 0.125}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF11_Apwrx{
    .id = 19,
    .computeName = "f11_Apwrx",
    .name = " Exp : B(A power X)",
    .compute = f11_Apwrx,
    .handler = f11_Apwrx_handler,
    .params = {{.label = " A ", .k = 2.655781828459045, .c = 0.0625},
               {.label = "Amplitude ", .k = 1.9375, .c = 0.0625}},
    .defaults = {1.2, 1, kAbsentParam},
};

inline constexpr KVmemberDesc kF11_offset{
    .id = 20,
    .computeName = "f11_offset",
    .name = " x+A",
    .compute = f11_offset,
    .handler = f11_offset_handler,
    .params = {{.label = "Offset ", .k = 64, .c = -32}},
    .defaults = {0, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF11_iabs{
    .id = 22,
    .computeName = "f11_iabs",
    .name = " A - ABS(x)",
    .compute = f11_iabs,
    .handler = f11_iabs_handler,
    .params = {{.label = "Size ", .k = 3, .c = 1}, {.label = "Offset ", .k = 16, .c = -8}},
    .defaults = {2, 0, kAbsentParam},
    .on8 = f11_iabs_precompute,
};

inline constexpr KVmemberDesc kF11_floor{
    .id = 23,
    .computeName = "f11_floor",
    .name = " Floor",
    .compute = f11_floor,
    .handler = f11_floor_handler,
    .params = {{.label = "Floor level ", .k = 16, .c = -16},
               {.label = "Roof level ", .k = 64, .c = 0}},
    .defaults = {0, 8, kAbsentParam},
};

inline constexpr KVmemberDesc kF11_sabs{
    .id = 24,
    .computeName = "f11_sabs",
    .name = " Smooth Abs x",
    .compute = f11_sabs,
    .handler = f11_sabs_handler,
    .params = {{.label = "Amount ", .k = 1.875, .c = 0.125}},
    .defaults = {1, kAbsentParam, kAbsentParam},
    .on8 = f11_sabs_precompute,
};

inline constexpr KVmemberDesc kF11_contrast{
    .id = 42,
    .computeName = "f11_contrast",
    .name = " Contrast",
    .compute = f11_contrast,
    .handler = f11_contrast_handler,
    .params = {{.label = "Contrast amount ", .k = 2, .c = -1},
               {.label = "Offset ", .k = 8, .c = -4}},
    .defaults = {0.5, 0, kAbsentParam},
    .on8 = f11_contrast_precompute,
};

inline constexpr KVmemberDesc kF11_squarefloor{
    .id = 48,
    .computeName = "f11_squarefloor",
    .name = " x squared",
    .compute = f11_squarefloor,
    .handler = f11_squarefloor_handler,
    .params = {{.label = "Amount ", .k = 1, .c = 0}, {.label = "Scale ", .k = 31, .c = 1}},
    .defaults = {1, 4, kAbsentParam},
    .on7 = f11_squarefloor_precompute,
    .on8 = f11_squarefloor_precompute,
};

inline constexpr KVmemberDesc kF11_smoothfloor{
    .id = 49,
    .computeName = "f11_smoothfloor",
    .name = " Smooth floor",
    .compute = f11_smoothfloor,
    .handler = f11_smoothfloor_handler,
    .params = {{.label = "Floor level ", .k = 24, .c = -16},
               {.label = "Roof level ", .k = 64, .c = 0},
               {.label = "Smoothness ", .k = 4, .c = 0}},
    .defaults = {0, 2, 0.125},
    .on8 = f11_smoothfloor_precompute,
};
