// f43 members that work on a colour (or point) by a fourth value w: the four
// colour members whose w may also be a packed colour or the shader's pixel
// row, the packed depth sort, offset, scale and rotation of a point by w, and
// the fade and hue shift of a colour by w.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f43_RGBmix(gfunc* g);
void f43_RGBmul(gfunc* g);
void f43_rgbalpha(gfunc* g);
void f43_RGBlerp(gfunc* g);
void f43_zcompare(gfunc* g);
void f43_wadd(gfunc* g);
void f43_wscale(gfunc* g);
void f43_wrotate(gfunc* g);
void f43_wcolorfade(gfunc* g);
void f43_wcolorshift(gfunc* g);

int16_t f43_RGBmix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_RGBmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_rgbalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_RGBlerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_zcompare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_wadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_wscale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_wrotate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_wcolorfade_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_wcolorshift_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7 of the four colour members: forget the pixel row of the last
// render (the shader points the member at its row again).
void f43_clearPixelRow(gfunc* g);
// Message 8 of w Color Fade: the fade colour / 32 into K1..K3.
void f43_wcolorfade_precompute(gfunc* g);
// Messages 7 and 8 of w Color Shift: K1 = 60 A, K2 = 32 C.
void f43_wcolorshift_precompute(gfunc* g);

namespace f43detail {
inline constexpr double kTurn2 = 4 * std::numbers::pi;
inline constexpr double kAngleC = -2 * std::numbers::pi;
}  // namespace f43detail

inline constexpr KVmemberDesc kF43_RGBmix{
    .id = 0,
    .computeName = "f43_RGBmix",
    .name = " RGB Mix ",
    .compute = f43_RGBmix,
    .handler = f43_RGBmix_handler,
    .params = {{.label = "A level ", .k = 2, .c = 0}, {.label = "B level ", .k = 2, .c = 0}},
    .defaults = {1, 1, kAbsentParam},
    .on7 = f43_clearPixelRow,
};

inline constexpr KVmemberDesc kF43_RGBmul{
    .id = 1,
    .computeName = "f43_RGBmul",
    .name = " RGB Multiply ",
    .compute = f43_RGBmul,
    .handler = f43_RGBmul_handler,
    .params = {{.label = "A amount ", .k = 1, .c = 0}, {.label = "B offset ", .k = 1, .c = 0}},
    .defaults = {0.5, 0.5, kAbsentParam},
    .on7 = f43_clearPixelRow,
};

inline constexpr KVmemberDesc kF43_rgbalpha{
    .id = 2,
    .computeName = "f43_rgbalpha",
    .name = " RGB Alpha ",
    .compute = f43_rgbalpha,
    .handler = f43_rgbalpha_handler,
    .params = {{.label = "A Threshold ", .k = 2, .c = -1}, {.label = "B Feather ", .k = 1, .c = 0}},
    .defaults = {0.5, 0.5, kAbsentParam},
    .on7 = f43_clearPixelRow,
};

inline constexpr KVmemberDesc kF43_RGBlerp{
    .id = 3,
    .computeName = "f43_RGBlerp",
    .name = " RGB Interpolate ",
    .compute = f43_RGBlerp,
    .handler = f43_RGBlerp_handler,
    .params = {{.label = " Interpolate ", .k = 1, .c = 0}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
    .on7 = f43_clearPixelRow,
};

inline constexpr KVmemberDesc kF43_zcompare{
    .id = 4,
    .computeName = "f43_zcompare",
    .name = " Packed Depth sort",
    .compute = f43_zcompare,
    .handler = f43_zcompare_handler,
    .params = {{.label = " z offset", .k = 32, .c = -16}},
    .defaults = {0, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF43_wadd{
    .id = 5,
    .computeName = "f43_wadd",
    .name = " w Offset",
    .compute = f43_wadd,
    .handler = f43_wadd_handler,
    .params = {{.label = "Offset x ", .k = 8, .c = -4},
               {.label = "Offset y ", .k = 8, .c = -4},
               {.label = "Offset z ", .k = 8, .c = -4}},
    .defaults = {0, 0, 0},
};

inline constexpr KVmemberDesc kF43_wscale{
    .id = 6,
    .computeName = "f43_wscale",
    .name = " w Scale ",
    .compute = f43_wscale,
    .handler = f43_wscale_handler,
    .params = {{.label = " Amount ", .k = 1, .c = 0}, {.label = " Floor ", .k = 5, .c = -4}},
    .defaults = {0.5, 0, kAbsentParam},
};

inline constexpr KVmemberDesc kF43_wrotate{
    .id = 7,
    .computeName = "f43_wrotate",
    .name = " w Rotate",
    .compute = f43_wrotate,
    .handler = f43_wrotate_handler,
    .params = {{.label = "Angle xy ", .k = f43detail::kTurn2, .c = f43detail::kAngleC},
               {.label = "Angle xz ", .k = f43detail::kTurn2, .c = f43detail::kAngleC},
               {.label = "Angle yz ", .k = f43detail::kTurn2, .c = f43detail::kAngleC}},
    .defaults = {0, 0, 0},
};

inline constexpr KVmemberDesc kF43_wcolorshift{
    .id = 24,
    .computeName = "f43_wcolorshift",
    .name = " w Color Shift",
    .compute = f43_wcolorshift,
    .handler = f43_wcolorshift_handler,
    .params = {{.label = "Hue w shift ", .k = 12, .c = -6},
               {.label = "Lightness modulation % ", .k = 1, .c = 0},
               {.label = "Saturation w shift ", .k = 12, .c = -6}},
    .defaults = {1, 0, 0},
    .on7 = f43_wcolorshift_precompute,
    .on8 = f43_wcolorshift_precompute,
};

inline constexpr KVmemberDesc kF43_wcolorfade{
    .id = 25,
    .computeName = "f43_wcolorfade",
    .name = " w Color Fade ",
    .compute = f43_wcolorfade,
    .handler = f43_wcolorfade_handler,
    .params = {{.label = " Feather ", .k = 1, .c = 0}, {.label = " Amount ", .k = 2, .c = -1}},
    .defaults = {0.5, 1, kAbsentParam},
    .on8 = f43_wcolorfade_precompute,
};
