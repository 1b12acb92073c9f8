// f42 members that mix the two points P = (x, y) and Q = (z, w) into one: a
// softened maximum, a blend between minimum and maximum, a division by the
// distance of Q, linear and radial interpolation, Gaussian fields, the
// minimum of absolute values, a product per axis and the nearer of two
// crystal maps. Every one follows the family's frame (f42_pvt.h).
#pragma once

#include <numbers>

#include "components/common/member.h"

void f42_maximum(gfunc* g);
void f42_MinMax(gfunc* g);
void f42_distdiv(gfunc* g);
void f42_lerp(gfunc* g);
void f42_expfield(gfunc* g);
void f42_absmin(gfunc* g);
void f42_rmul(gfunc* g);
void f42_facetmix(gfunc* g);
void f42_radiallerp(gfunc* g);

int16_t f42_maximum_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_MinMax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_distdiv_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_lerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_expfield_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_absmin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_rmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_facetmix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_radiallerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

namespace f42detail {
inline constexpr double kBlendPi = std::numbers::pi;
inline constexpr KVparamDesc kAmplitudeEighth{.label = "Amplitude ", .k = 3.875, .c = 0.125};
}  // namespace f42detail

inline constexpr KVmemberDesc kF42_maximum{
    .id = 3,
    .computeName = "f42_maximum",
    .name = " Blended Max ",
    .compute = f42_maximum,
    .handler = f42_maximum_handler,
    .params = {{.label = "Balance ", .k = 1, .c = 0}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_distdiv{
    .id = 4,
    .computeName = "f42_distdiv",
    .name = " Distance divide",
    .compute = f42_distdiv,
    .handler = f42_distdiv_handler,
    .params = {{.label = "Amount ", .k = 2, .c = -1}, {.label = "Phase ", .k = 16, .c = -8}},
    .defaults = {1, 0.125, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_lerp{
    .id = 5,
    .computeName = "f42_lerp",
    .name = " Interpolate ",
    .compute = f42_lerp,
    .handler = f42_lerp_handler,
    .params = {{.label = "interpolate ", .k = 1, .c = 0}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_expfield{
    .id = 6,
    .computeName = "f42_expfield",
    .name = " Exp field ",
    .compute = f42_expfield,
    .handler = f42_expfield_handler,
    .params = {{.label = " warp ", .k = 0.9, .c = 0.05}, {.label = "Amplitude ", .k = 3, .c = 1}},
    .defaults = {0.5, 1, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_absmin{
    .id = 8,
    .computeName = "f42_absmin",
    .name = " Abs & minimum ",
    .compute = f42_absmin,
    .handler = f42_absmin_handler,
    .params = {{.label = "Amplitude ", .k = 1.5, .c = 0.5},
               {.label = "Rotate B ", .k = 2 * f42detail::kBlendPi, .c = -f42detail::kBlendPi}},
    .defaults = {0.5, 0, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_rmul{
    .id = 9,
    .computeName = "f42_rmul",
    .name = " Real multiply ",
    .compute = f42_rmul,
    .handler = f42_rmul_handler,
    .params = {{.label = "Amplitude ", .k = 1, .c = 0}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_radiallerp{
    .id = 10,
    .computeName = "f42_radiallerp",
    .name = " Radial Interpolate ",
    .compute = f42_radiallerp,
    .handler = f42_radiallerp_handler,
    .params = {f42detail::kAmplitudeEighth},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_facetmix{
    .id = 11,
    .computeName = "f42_facetmix",
    .name = " Facet Mix ",
    .compute = f42_facetmix,
    .handler = f42_facetmix_handler,
    .params = {f42detail::kAmplitudeEighth,
               {.label = "Phase ", .k = 16, .c = -8},
               {.label = "Frequency ", .k = 1.875, .c = 0.125}},
    .defaults = {2, 0, 1},
};

inline constexpr KVmemberDesc kF42_MinMax{
    .id = 15,
    .computeName = "f42_MinMax",
    .name = " Min <-> Max",
    .compute = f42_MinMax,
    .handler = f42_MinMax_handler,
    .params = {{.label = "Amplitude ", .k = 1, .c = 0.5}, {.label = "Min to Max ", .k = 1, .c = 0}},
    .defaults = {1, 0, kAbsentParam},
};
