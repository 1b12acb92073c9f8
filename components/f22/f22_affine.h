// f22 members that move the plane by affine maps, sine waves and twirls:
// skew, scale and offset, rotation, sine warps, a hexagonal sine field, a
// radial star, ripples and a cut that splits the plane in two.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f22_skew(gfunc* g);
int16_t f22_skew_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_Sine(gfunc* g);
int16_t f22_Sine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_scaleOffset(gfunc* g);
int16_t f22_scaleOffset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_rotateOffset(gfunc* g);
int16_t f22_rotateOffset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_xplusASine(gfunc* g);
int16_t f22_xplusASine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_waves(gfunc* g);
int16_t f22_waves_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_twirl(gfunc* g);
int16_t f22_twirl_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_sinwarp(gfunc* g);
int16_t f22_sinwarp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_hexasin(gfunc* g);
int16_t f22_hexasin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_radialstar(gfunc* g);
int16_t f22_radialstar_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_ripples(gfunc* g);
int16_t f22_ripples_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_scale(gfunc* g);
int16_t f22_scale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f22_splitmove(gfunc* g);
int16_t f22_splitmove_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: the skew matrix K0, K1, K2.
void f22_skew_precompute(gfunc* g);
// Message 8: K0 = cos A, K1 = sin A.
void f22_rotateOffset_precompute(gfunc* g);
// Message 7: the output connector code, kConnTwoUniformSecond when the
// second input record of the second input's source (or, unlinked, this
// component's own) is uniform, kConnTwo otherwise.
void f22_scaleOffset_prepare(gfunc* g);

namespace f22detail {
inline constexpr double kPi = std::numbers::pi;
}

inline constexpr KVmemberDesc kF22_skew{
    .id = 0,
    .computeName = "f22_skew",
    .name = " Skew",
    .compute = f22_skew,
    .handler = f22_skew_handler,
    .params = {{.label = "Skew Angle ", .k = 2 * f22detail::kPi, .c = -f22detail::kPi},
               {.label = "Skew Amount ", .k = 4, .c = -2},
               {.label = "Scale ", .k = 6, .c = -2}},
    .defaults = {f22detail::kPi / 4, -1.5, 1.0},
    .on8 = f22_skew_precompute,
};

inline constexpr KVmemberDesc kF22_Sine{
    .id = 1,
    .computeName = "f22_Sine",
    .name = " Sin x, sin y",
    .compute = f22_Sine,
    .handler = f22_Sine_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8}, {.label = "Frequency ", .k = 16, .c = 0}},
    .defaults = {4.0, 0.5, kAbsentParam},
};

inline constexpr KVmemberDesc kF22_scaleOffset{
    .id = 2,
    .computeName = "f22_scaleOffset",
    .name = " Scale & Offset ",
    .compute = f22_scaleOffset,
    .handler = f22_scaleOffset_handler,
    .params = {{.label = "Scale ", .k = 16, .c = -8},
               {.label = "Offset x ", .k = 64, .c = -32},
               {.label = "Offset y ", .k = 64, .c = -32}},
    .defaults = {1.0, 0, 0},
    .outputCode = kConnTwo,
    .on7 = f22_scaleOffset_prepare,
};

inline constexpr KVmemberDesc kF22_rotateOffset{
    .id = 3,
    .computeName = "f22_rotateOffset",
    .name = " Rotate A",
    .compute = f22_rotateOffset,
    .handler = f22_rotateOffset_handler,
    .params = {{.label = "Angle ", .k = 4 * f22detail::kPi, .c = -2 * f22detail::kPi},
               {.label = "Center x ", .k = 16, .c = -8},
               {.label = "Center y ", .k = 16, .c = -8}},
    .defaults = {0, 0, 0},
    .on8 = f22_rotateOffset_precompute,
};

inline constexpr KVmemberDesc kF22_xplusASine{
    .id = 4,
    .computeName = "f22_xplusASine",
    .name = " x+Asin y, y+Asin x",
    .compute = f22_xplusASine,
    .handler = f22_xplusASine_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = -4}, {.label = "Frequency ", .k = 8, .c = -4}},
    .defaults = {0.5, f22detail::kPi, kAbsentParam},
};

inline constexpr KVmemberDesc kF22_waves{
    .id = 5,
    .computeName = "f22_waves",
    .name = " Waves",
    .compute = f22_waves,
    .handler = f22_waves_handler,
    .params = {{.label = "Frequency ", .k = 4, .c = -2},
               {.label = "Amplitude x ", .k = 4, .c = -2},
               {.label = "Amplitude y ", .k = 4, .c = -2}},
    .defaults = {1.0, 1.0, 0},
};

inline constexpr KVmemberDesc kF22_twirl{
    .id = 6,
    .computeName = "f22_twirl",
    .name = " Twirl",
    .compute = f22_twirl,
    .handler = f22_twirl_handler,
    .params = {{.label = "Scale ", .k = 1, .c = 0}, {.label = "Angle ", .k = 8, .c = -4}},
    .defaults = {0.25, 1.5, kAbsentParam},
};

inline constexpr KVmemberDesc kF22_sinwarp{
    .id = 7,
    .computeName = "f22_sinwarp",
    .name = " Sin warp",
    .compute = f22_sinwarp,
    .handler = f22_sinwarp_handler,
    .params = {{.label = "Amplitude ", .k = 12, .c = -6},
               {.label = "Frequency ", .k = 4 * f22detail::kPi, .c = -2 * f22detail::kPi}},
    .defaults = {0.5, 2.0, kAbsentParam},
};

inline constexpr KVmemberDesc kF22_hexasin{
    .id = 9,
    .computeName = "f22_hexasin",
    .name = " Hexagonal Sin",
    .compute = f22_hexasin,
    .handler = f22_hexasin_handler,
    .params = {{.label = "Scale ", .k = 7.5, .c = 0.5}},
    .defaults = {1.0, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF22_radialstar{
    .id = 11,
    .computeName = "f22_radialstar",
    .name = " Radialstar",
    .compute = f22_radialstar,
    .handler = f22_radialstar_handler,
    .params = {{.label = " Outer phase ", .k = 4 * f22detail::kPi, .c = 0},
               {.label = " Narrowness ", .k = 1, .c = 0},
               {.label = "Amplitude ", .k = 3.016592653589793, .c = 0.125}},
    .defaults = {8.0, 0.05, 1.0},
};

inline constexpr KVmemberDesc kF22_ripples{
    .id = 20,
    .computeName = "f22_ripples",
    .name = " Ripples",
    .compute = f22_ripples,
    .handler = f22_ripples_handler,
    .params = {{.label = "Frequency ", .k = 4 * f22detail::kPi, .c = -2 * f22detail::kPi},
               {.label = "Amplitude ", .k = 4, .c = -2},
               {.label = "Phase ", .k = 32, .c = -16}},
    .defaults = {1.0, 1.0, 0},
};

inline constexpr KVmemberDesc kF22_scale{
    .id = 37,
    .computeName = "f22_scale",
    .name = " Scale Ax, By",
    .compute = f22_scale,
    .handler = f22_scale_handler,
    .params = {{.label = "Scale x ", .k = 16, .c = -8}, {.label = "Scale y ", .k = 16, .c = -8}},
    .defaults = {1.0, 1.0, kAbsentParam},
};

inline constexpr KVmemberDesc kF22_splitmove{
    .id = 44,
    .computeName = "f22_splitmove",
    .name = " Split & Move",
    .compute = f22_splitmove,
    .handler = f22_splitmove_handler,
    .params = {{.label = "Angle ", .k = 2 * f22detail::kPi, .c = -f22detail::kPi},
               {.label = "Offset x ", .k = 2 * f22detail::kPi, .c = 0},
               {.label = "Offset y ", .k = 2 * f22detail::kPi, .c = 0}},
    .defaults = {0, 0, 0},
};
