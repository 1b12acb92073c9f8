// f23 members that make a plain colour or a shade of one from x and y: a
// fixed colour, a colour shaded by x (its complement for negative x), three
// rotated ramps, and two hues mixed by x and y. Outputs are red, green and
// blue on the component colour scale (8 full).
#pragma once

#include <numbers>

#include "components/common/member.h"

void f23_singleColor(gfunc* g);
void f23_rgbShade(gfunc* g);
void f23_ColorGradient(gfunc* g);
void f23_ColorShade(gfunc* g);

int16_t f23_singleColor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_rgbShade_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_ColorGradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_ColorShade_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of Color shade: the two hues as colours, then C held to [0, 1].
void f23_ColorShade_precompute(gfunc* g);

inline constexpr KVmemberDesc kF23_singleColor{
    .id = 2,
    .computeName = "f23_singleColor",
    .name = " RGB plain color",
    .compute = f23_singleColor,
    .handler = f23_singleColor_handler,
    .params = {{.label = "Red ", .k = 8}, {.label = "Green ", .k = 8}, {.label = "Blue ", .k = 8}},
    .defaults = {0, 2, 6},
};

inline constexpr KVmemberDesc kF23_ColorGradient{
    .id = 3,
    .computeName = "f23_ColorGradient",
    .name = " RGB color gradient",
    .compute = f23_ColorGradient,
    .handler = f23_ColorGradient_handler,
    .params = {{.label = "Angle red ", .k = 2 * std::numbers::pi, .c = -std::numbers::pi},
               {.label = "Angle green ", .k = 2 * std::numbers::pi, .c = -std::numbers::pi},
               {.label = "Angle blue ", .k = 2 * std::numbers::pi, .c = -std::numbers::pi}},
    .defaults = {0, 0, 0},
};

inline constexpr KVmemberDesc kF23_ColorShade{
    .id = 4,
    .computeName = "f23_ColorShade",
    .name = " RGB color shade",
    .compute = f23_ColorShade,
    .handler = f23_ColorShade_handler,
    .params = {{.label = "Hue Rotate ", .k = 2 * std::numbers::pi},
               {.label = "Saturation ", .k = 1},
               {.label = "Luminance Pan x<->y ", .k = 1}},
    .defaults = {std::numbers::pi, 0.5, 0.75},
    .on8 = f23_ColorShade_precompute,
};

inline constexpr KVmemberDesc kF23_rgbShade{
    .id = 31,
    .computeName = "f23_rgbShade",
    .name = " Shaded plain color",
    .compute = f23_rgbShade,
    .handler = f23_rgbShade_handler,
    .params = {{.label = "Red ", .k = 8}, {.label = "Green ", .k = 8}, {.label = "Blue ", .k = 8}},
    .defaults = {0, 2, 6},
};
