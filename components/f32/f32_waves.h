// f32 members that bend the plane point with z as the driving amount: sine
// distortion, rotation, rotation with exponential scaling, twirl, sine
// waves, random waves, ripples, a time-driven sine warp and a wipe.
#pragma once

#include "components/common/member.h"
#include "components/f32/f32_pvt.h"

void f32_sinzx(gfunc* g);
int16_t f32_sinzx_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_zrotate(gfunc* g);
int16_t f32_zrotate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_zwaves(gfunc* g);
int16_t f32_zwaves_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_rwaves(gfunc* g);
int16_t f32_rwaves_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_ripples(gfunc* g);
int16_t f32_ripples_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_zwipe(gfunc* g);
int16_t f32_zwipe_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_zrotate_scale(gfunc* g);
int16_t f32_zrotate_scale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_sinwarp(gfunc* g);
int16_t f32_sinwarp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_ztwirl(gfunc* g);
int16_t f32_ztwirl_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 9: trees of version 10 and below had no y offset; C becomes 0
// there and in every keyframe.
void f32_zrotate_convert(gfunc* g);
// Message 8: K0 = 2 pi A, K2 = K0 C, K3 = 0.951 K0.
void f32_rwaves_precompute(gfunc* g);
// Message 8: the wipe's edge K0, blend width K1 and blend strength K2.
void f32_zwipe_precompute(gfunc* g);
// Message 8: K0 = B ln 2.
void f32_zrotate_scale_precompute(gfunc* g);
// Message 8: K0 = A / 4, K1 = B / 4.
void f32_sinwarp_precompute(gfunc* g);
// Message 8: K0 = 2 pi A.
void f32_ztwirl_precompute(gfunc* g);

inline constexpr KVmemberDesc kF32_sinzx{
    .id = 3,
    .computeName = "f32_sinzx",
    .name = " z Sin distort",
    .compute = f32_sinzx,
    .handler = f32_sinzx_handler,
    .params = {{.label = "Frequency ", .k = 2, .c = -1},
               {.label = "Phase ", .k = 2, .c = -1},
               {.label = "Amplitude ", .k = 0.5, .c = 0}},
    .defaults = {1.0, 1.0, 0.125},
};

inline constexpr KVmemberDesc kF32_zrotate{
    .id = 4,
    .computeName = "f32_zrotate",
    .name = " z Rotate",
    .compute = f32_zrotate,
    .handler = f32_zrotate_handler,
    .params = {{.label = "Rotation ", .k = 2 * f32detail::kPi, .c = -f32detail::kPi},
               {.label = "Offset x ", .k = 16, .c = -8},
               {.label = "Offset y ", .k = 16, .c = -8}},
    .defaults = {f32detail::kHalfPi, 0, 0},
    .on9 = f32_zrotate_convert,
};

inline constexpr KVmemberDesc kF32_zwaves{
    .id = 5,
    .computeName = "f32_zwaves",
    .name = " z Waves",
    .compute = f32_zwaves,
    .handler = f32_zwaves_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = -2}, {.label = "Phase ", .k = 16, .c = -8}},
    .defaults = {0.5, 0.75, kAbsentParam},
};

inline constexpr KVmemberDesc kF32_rwaves{
    .id = 17,
    .computeName = "f32_rwaves",
    .name = " z Random waves",
    .compute = f32_rwaves,
    .handler = f32_rwaves_handler,
    .params = {{.label = "Frequency ", .k = 4, .c = -2},
               {.label = "Amplitude ", .k = 1, .c = 0},
               {.label = "Phase ", .k = 32, .c = -16}},
    .defaults = {1.0, 0.25, 0},
    .on8 = f32_rwaves_precompute,
};

inline constexpr KVmemberDesc kF32_ripples{
    .id = 18,
    .computeName = "f32_ripples",
    .name = " z Ripples",
    .compute = f32_ripples,
    .handler = f32_ripples_handler,
    .params = {{.label = "Frequency ", .k = 4, .c = 0},
               {.label = "Amplitude ", .k = 1, .c = 0},
               {.label = "Phase ", .k = 32, .c = -16}},
    .defaults = {1.0, 0.25, 0},
};

inline constexpr KVmemberDesc kF32_zwipe{
    .id = 20,
    .computeName = "f32_zwipe",
    .name = " z wipe",
    .compute = f32_zwipe,
    .handler = f32_zwipe_handler,
    .params = {{.label = " Threshold ", .k = 12, .c = -6},
               {.label = " Distortion ", .k = 2, .c = -1},
               {.label = "Frequency ", .k = 3.9375, .c = 0.0625}},
    .defaults = {1.0, 0.5, 1.0},
    .on8 = f32_zwipe_precompute,
};

inline constexpr KVmemberDesc kF32_zrotate_scale{
    .id = 26,
    .computeName = "f32_zrotate_scale",
    .name = " z Rotate & Scale",
    .compute = f32_zrotate_scale,
    .handler = f32_zrotate_scale_handler,
    .params = {{.label = "Rotation ", .k = 2 * f32detail::kPi, .c = -f32detail::kPi},
               {.label = "Scale amount ", .k = 2, .c = -1},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {0, 0, 0},
    .on8 = f32_zrotate_scale_precompute,
};

inline constexpr KVmemberDesc kF32_sinwarp{
    .id = 36,
    .computeName = "f32_sinwarp",
    .name = " z Sin warp (amp) ",
    .compute = f32_sinwarp,
    .handler = f32_sinwarp_handler,
    .params = {{.label = "Amplitude x warp ", .k = 12, .c = -6},
               {.label = "Amplitude y warp ", .k = 12, .c = -6},
               {.label = "Frequency ", .k = 8 * f32detail::kPi, .c = -4 * f32detail::kPi}},
    .defaults = {0, 1.0, 1.0},
    .on8 = f32_sinwarp_precompute,
};

inline constexpr KVmemberDesc kF32_ztwirl{
    .id = 37,
    .computeName = "f32_ztwirl",
    .name = " z Twirl",
    .compute = f32_ztwirl,
    .handler = f32_ztwirl_handler,
    .params = {{.label = "Amount x ", .k = 1, .c = 0},
               {.label = "Offset x y ", .k = 32, .c = -16},
               {.label = "Offset y z ", .k = 32, .c = -16}},
    .defaults = {0.5, 0, 0},
    .on8 = f32_ztwirl_precompute,
};
