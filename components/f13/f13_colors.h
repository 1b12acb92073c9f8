// Family f13 (one input, three outputs): a value becomes a colour on the
// component scale (outputs red, green, blue; 8 is full intensity) or a packed
// three-channel input is split back into its channels. A masked sample gives
// the marker on all three outputs, and a uniform input is computed once,
// unless a member says otherwise below.
//
// The colour formulas are also used by the f14 members that add a fourth
// output to them (components/f14/f14_colors.h).
#pragma once

#include <array>

#include "components/common/member.h"
#include "components/f12/f12_nodes.h"
#include "noise/kvtables.h"

void f13_unpack(gfunc* g);
void f13_Constant(gfunc* g);
void f13_randomcolor(gfunc* g);
void f13_shadecolor(gfunc* g);
void f13_huecolor(gfunc* g);
void f13_gammacolor(gfunc* g);
void f13_KVgrad(gfunc* g);
void f13_indexgrad(gfunc* g);
void f13_colorSines(gfunc* g);
void f13_neoncolor(gfunc* g);
void f13_halfplane(gfunc* g);
void f13_recurtree(gfunc* g);

int16_t f13_unpack_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_Constant_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_randomcolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_shadecolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_huecolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_gammacolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_KVgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_indexgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_colorSines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_neoncolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_halfplane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f13_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

using F13rgb = std::array<double, 3>;

// The colour formulas, on the component scale.
// Random color at t = x (A + P2) with saturation B and scale P3.
F13rgb f13_randomColour(const KVtables* t, double position, double saturation, double scale);
// Shaded plain color: x = 6 gives (A, B, C), x = -6 its complement 8 - A, ...
F13rgb f13_shadeColour(double x, double a, double b, double c);
// Hue color: hue P1 x, saturation P2 and lightness P3 (0..255).
F13rgb f13_hueColour(double x, double p1, double p2, double p3);
// The hue h wrapped into [0, 360], as Hue color takes it: h >= 0 gives
// h - 360 trunc(h / 360); h < 0 gives 360 + h + 360 trunc(-h / 360), so -360
// gives 360 (the same colour as 0).
double f13_wrapHue(double h);
// The Bezier gradient of palette p at t.
F13rgb f13_gradientColour(const cpalette* p, double t);
// The Neon line's bell e^(-4 x^2) and its colour (A, B, C) with a white core.
double f13_neonBell(double x);
F13rgb f13_neonColour(double bell, double a, double b, double c);
// The document's main gradient (the palette at the head of its tables).
const cpalette* f13_mainGradient(const gfunc* g);
// Palette trunc(c) of the world's palette library, held to its 64 slots (NaN
// as 0); the document's main gradient when the world has no library.
const cpalette* f13_libraryPalette(const gfunc* g, double c);

// Precomputations into P1..P3 (and the colour table) at message 8, also at
// message 7 for the gradients.
void f13_randomcolor_precompute(gfunc* g);  // P2 = 4A, P3 = 8C/1024
void f13_huecolor_precompute(gfunc* g);     // P1 = 60A, P2 = 255B, P3 = 255C
void f13_gradient_precompute(gfunc* g);     // P1 = A/8
void f13_colorSines_precompute(gfunc* g);   // P1..P3 = A, B, C
void f13_halfplane_precompute(gfunc* g);    // P1 = -A, P2 = AB, colour table from C

inline constexpr double kF13Pi = 3.141592653589793;

// Unpack has no parameters: its handler answers only the display name and
// the defaults.
inline constexpr KVmemberDesc kF13_unpack{
    .id = 0,
    .computeName = "f13_unpack",
    .name = " Unpack",
    .compute = f13_unpack,
    .handler = f13_unpack_handler,
};

inline constexpr KVmemberDesc kF13_Constant{
    .id = 1,
    .computeName = "f13_Constant",
    .name = " Set Constant",
    .compute = f13_Constant,
    .handler = f13_Constant_handler,
    .params = {{.label = "X/Red Value ", .k = 20, .c = -4},
               {.label = "Y/Green Value ", .k = 20, .c = -4},
               {.label = "Z/Blue Value ", .k = 20, .c = -4}},
    .defaults = {1, 1, 1},
};

inline constexpr KVparamDesc kF13ColorVariance{.label = "Color Variance ", .k = 4, .c = -2};
inline constexpr KVparamDesc kF13Saturation{.label = "Saturation ", .k = 1, .c = 0};
inline constexpr KVparamDesc kF13Luminance{.label = "Luminance ", .k = 1, .c = 0};

inline constexpr KVmemberDesc kF13_randomcolor{
    .id = 2,
    .computeName = "f13_randomcolor",
    .name = " Random color",
    .compute = f13_randomcolor,
    .handler = f13_randomcolor_handler,
    .params = {kF13ColorVariance, kF13Saturation, kF13Luminance},
    .defaults = {1, 1, 0.5},
    .on8 = f13_randomcolor_precompute,
};

inline constexpr KVmemberDesc kF13_shadecolor{
    .id = 3,
    .computeName = "f13_shadecolor",
    .name = " Shaded plain color",
    .compute = f13_shadecolor,
    .handler = f13_shadecolor_handler,
    .params = {{.label = "Red ", .k = 8, .c = 0},
               {.label = "Green ", .k = 8, .c = 0},
               {.label = "Blue ", .k = 8, .c = 0}},
    .defaults = {0, 2, 6},
};

inline constexpr KVmemberDesc kF13_huecolor{
    .id = 4,
    .computeName = "f13_huecolor",
    .name = " Hue color",
    .compute = f13_huecolor,
    .handler = f13_huecolor_handler,
    .params = {{.label = "Hue Variance ", .k = 2, .c = 0}, kF13Saturation, kF13Luminance},
    .defaults = {1, 1, 0.5},
    .on8 = f13_huecolor_precompute,
};

inline constexpr KVmemberDesc kF13_gammacolor{
    .id = 5,
    .computeName = "f13_gammacolor",
    .name = " RGB gamma",
    .compute = f13_gammacolor,
    .handler = f13_gammacolor_handler,
    .params = {{.label = "Gamma red ", .k = 7.875, .c = 0.125},
               {.label = "Gamma green ", .k = 7.875, .c = 0.125},
               {.label = "Gamma blue ", .k = 7.875, .c = 0.125}},
    .defaults = {1, 1, 1},
};

inline constexpr KVparamDesc kF13GradientScale{.label = "Gradient Scale X ", .k = 2, .c = 0};
inline constexpr KVparamDesc kF13GradientOffset{.label = "Gradient Offset ", .k = 4, .c = -2};

inline constexpr KVmemberDesc kF13_KVgrad{
    .id = 6,
    .computeName = "f13_KVgrad",
    .name = " Main gradient",
    .compute = f13_KVgrad,
    .handler = f13_KVgrad_handler,
    .params = {kF13GradientScale, kF13GradientOffset},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f13_gradient_precompute,
    .on8 = f13_gradient_precompute,
};

inline constexpr KVmemberDesc kF13_indexgrad{
    .id = 7,
    .computeName = "f13_indexgrad",
    .name = " Indexed gradient",
    .compute = f13_indexgrad,
    .handler = f13_indexgrad_handler,
    .params = {kF13GradientScale,
               kF13GradientOffset,
               {.label = "Gradient Index ", .k = 39, .c = 0, .truncate = true}},
    .defaults = {1, 0, 0},
    .on7 = f13_gradient_precompute,
    .on8 = f13_gradient_precompute,
};

inline constexpr KVmemberDesc kF13_colorSines{
    .id = 8,
    .computeName = "f13_colorSines",
    .name = " Color Sines ",
    .compute = f13_colorSines,
    .handler = f13_colorSines_handler,
    .params = {{.label = "Red freq ", .k = 8 * kF13Pi, .c = -4 * kF13Pi},
               {.label = "Green freq ", .k = 8 * kF13Pi, .c = -4 * kF13Pi},
               {.label = "Blue freq ", .k = 8 * kF13Pi, .c = -4 * kF13Pi}},
    .defaults = {1, 2, 4},
    .on8 = f13_colorSines_precompute,
};

inline constexpr KVparamDesc kF13NeonRed{.label = "Red ", .k = 8, .c = 0};
inline constexpr KVparamDesc kF13NeonGreen{.label = "Green ", .k = 8, .c = 0};
inline constexpr KVparamDesc kF13NeonBlue{.label = "Blue ", .k = 8, .c = 0};

// A uniform masked input gives 0 on all three outputs.
inline constexpr KVmemberDesc kF13_neoncolor{
    .id = 9,
    .computeName = "f13_neoncolor",
    .name = " RGB Neon line",
    .compute = f13_neoncolor,
    .handler = f13_neoncolor_handler,
    .params = {kF13NeonRed, kF13NeonGreen, kF13NeonBlue},
    .defaults = {6, 0, 2},
};

inline constexpr KVparamDesc kF13HalfAmplitude{.label = "Amplitude ", .k = 16, .c = -8};
inline constexpr KVparamDesc kF13HalfOffset{.label = "Offset ", .k = 32, .c = -16};
inline constexpr KVparamDesc kF13ColorCycle{.label = "Color Cycle ", .k = 1, .c = 0};

// No uniform path: the colour depends on the pass, the coverage on x.
inline constexpr KVmemberDesc kF13_halfplane{
    .id = 10,
    .computeName = "f13_halfplane",
    .name = " RGB half plane ",
    .compute = f13_halfplane,
    .handler = f13_halfplane_handler,
    .params = {kF13HalfAmplitude, kF13HalfOffset, kF13ColorCycle},
    .defaults = {4, 0, 0.5},
    .on8 = f13_halfplane_precompute,
};

inline constexpr KVmemberDesc kF13_recurtree{
    .id = 127,
    .computeName = "f13_recurtree",
    .name = "",
    .compute = f13_recurtree,
    .handler = f13_recurtree_handler,
    .params = {kF1xTreeScale, kF1xTreeIterations},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f12_compiledTreePrepare,
};
