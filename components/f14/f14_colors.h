// Family f14 (one input, four outputs): a value becomes a colour on the
// component scale (outputs 1..3, 8 full intensity) with a fourth value w
// (alpha, coverage or the input itself), or four harmonic sines. Several
// members are f13 colours with w added; Set Constant, Shaded plain color and
// Hue color answer every message through the f13 handlers, and Random
// Verticals through the handler of the f34 member.
//
// A masked sample gives the marker on all four outputs and a uniform input
// is computed once, unless said otherwise below. While the document's scalar
// flag is set (an evaluation pass that uses only the first output), the
// members that say so skip their colour work: output 1 is then x, outputs 2
// and 3 are 0.
#pragma once

#include <numbers>

#include "components/common/member.h"
#include "components/f13/f13_colors.h"
#include "components/f34/f34_rndvlines.h"

void f14_unpack(gfunc* g);
void f14_Constant(gfunc* g);
void f14_randomcolor(gfunc* g);
void f14_halfplane(gfunc* g);
void f14_neoncolor(gfunc* g);
void f14_colorsine(gfunc* g);
void f14_HarmonicSines(gfunc* g);
void f14_KVgrad(gfunc* g);
void f14_shadecolor(gfunc* g);
void f14_huecolor(gfunc* g);
void f14_HSinesB(gfunc* g);
void f14_RndVLines(gfunc* g);
void f14_recurtree(gfunc* g);

int16_t f14_unpack_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_Constant_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_randomcolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_halfplane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_neoncolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_colorsine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_HarmonicSines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_KVgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_shadecolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_huecolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_HSinesB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f14_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f14_colorsine_precompute(gfunc* g);      // P1 = pi A, colour table from C
void f14_HarmonicSines_precompute(gfunc* g);  // C = trunc(C); P2..P4 = (C + 2..4) A
void f14_HSinesB_precompute(gfunc* g);        // k = trunc(C) + 1; P1 = A, P2..P4 = (k + 1..3 B) A

inline constexpr double kF14Pi = std::numbers::pi;

// The descriptor of an f14 member whose handler is the f13 member's: the
// f13 description under the f14 id and functions.
constexpr KVmemberDesc f14_asF13(KVmemberDesc d, int16_t id, const char* computeName,
                                 KVComputeProc compute, KVHandlerProc handler)
{
  d.id = id;
  d.computeName = computeName;
  d.compute = compute;
  d.handler = handler;
  return d;
}

// Unpack has no parameters.
inline constexpr KVmemberDesc kF14_unpack{
    .id = 0,
    .computeName = "f14_unpack",
    .name = " Unpack",
    .compute = f14_unpack,
    .handler = f14_unpack_handler,
};

// w = x.
inline constexpr KVmemberDesc kF14_Constant =
    f14_asF13(kF13_Constant, 1, "f14_Constant", f14_Constant, f14_Constant_handler);

// w is a fourth random value, (frandom1D(t + 1333.3) - 512) P3.
inline constexpr KVmemberDesc kF14_randomcolor{
    .id = 2,
    .computeName = "f14_randomcolor",
    .name = " Random color+alpha",
    .compute = f14_randomcolor,
    .handler = f14_randomcolor_handler,
    .params = {kF13ColorVariance, kF13Saturation, kF13Luminance},
    .defaults = {1, 1, 0.5},
    .on8 = f13_randomcolor_precompute,
};

// w = v = A (B - x) held to -2..4; the colour of the pass fades in over the
// first 1/32 of v. Scalar flag.
inline constexpr KVmemberDesc kF14_halfplane{
    .id = 3,
    .computeName = "f14_halfplane",
    .name = " RGBa half plane ",
    .compute = f14_halfplane,
    .handler = f14_halfplane_handler,
    .params = {kF13HalfAmplitude, kF13HalfOffset, kF13ColorCycle},
    .defaults = {4, 2, 0.5},
    .on8 = f13_halfplane_precompute,
};

// w = 4 e^(-4 x^2). Scalar flag; a uniform masked input gives 0.
inline constexpr KVmemberDesc kF14_neoncolor{
    .id = 4,
    .computeName = "f14_neoncolor",
    .name = " RGBa Neon line",
    .compute = f14_neoncolor,
    .handler = f14_neoncolor_handler,
    .params = {kF13NeonRed, kF13NeonGreen, kF13NeonBlue},
    .defaults = {6, 0, 2},
};

// w = s = B sin(P1 x), the colour of the pass scaled by s/32 (at most 1/32).
// A uniform masked input gives 0.
inline constexpr KVmemberDesc kF14_colorsine{
    .id = 5,
    .computeName = "f14_colorsine",
    .name = " RGBa Sin x ",
    .compute = f14_colorsine,
    .handler = f14_colorsine_handler,
    .params = {{.label = "Frequency ", .k = 8, .c = -4},
               {.label = "Amplitude ", .k = 16, .c = -8},
               kF13ColorCycle},
    .defaults = {1, 1, 0.5},
    .on8 = f14_colorsine_precompute,
};

inline constexpr KVparamDesc kF14HarmonicFrequency{.label = "Frequency ", .k = 4 * kF14Pi, .c = 0};

// B sin of A x, (C + 2) A x, (C + 3) A x, (C + 4) A x. Scalar flag; a
// uniform masked input gives 0.
inline constexpr KVmemberDesc kF14_HarmonicSines{
    .id = 6,
    .computeName = "f14_HarmonicSines",
    .name = " Shifted Harmonics",
    .compute = f14_HarmonicSines,
    .handler = f14_HarmonicSines_handler,
    .params = {kF14HarmonicFrequency,
               {.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Harmonic Offset ", .k = 32, .c = 0, .truncate = true}},
    .defaults = {1, 8, 0},
    .on8 = f14_HarmonicSines_precompute,
};

// w = x.
inline constexpr KVmemberDesc kF14_KVgrad{
    .id = 7,
    .computeName = "f14_KVgrad",
    .name = " Main gradient",
    .compute = f14_KVgrad,
    .handler = f14_KVgrad_handler,
    .params = {kF13GradientScale, kF13GradientOffset},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f13_gradient_precompute,
    .on8 = f13_gradient_precompute,
};

// w = x.
inline constexpr KVmemberDesc kF14_shadecolor =
    f14_asF13(kF13_shadecolor, 8, "f14_shadecolor", f14_shadecolor, f14_shadecolor_handler);
inline constexpr KVmemberDesc kF14_huecolor =
    f14_asF13(kF13_huecolor, 9, "f14_huecolor", f14_huecolor, f14_huecolor_handler);

// 8 sin of P1 x .. P4 x. A uniform masked input gives 0.
inline constexpr KVmemberDesc kF14_HSinesB{
    .id = 10,
    .computeName = "f14_HSinesB",
    .name = " Scaled Harmonics",
    .compute = f14_HSinesB,
    .handler = f14_HSinesB_handler,
    .params = {kF14HarmonicFrequency,
               {.label = "Harmonic Spacing ", .k = 5, .c = 1},
               {.label = "Harmonic Offset ", .k = 25, .c = -1, .truncate = true}},
    .defaults = {1, 2, 0},
    .on8 = f14_HSinesB_precompute,
};

// Vertical lines at random whole positions of C x, with coverage w = 4c;
// no marker test and no uniform path. Scalar flag.
inline constexpr KVmemberDesc kF14_RndVLines{
    .id = 11,
    .computeName = "f14_RndVLines",
    .name = " Random Verticals",
    .compute = f14_RndVLines,
    .handler = f34_RndVLines_handler,
    .params = {kF34RndVLinesParams[0], kF34RndVLinesParams[1], kF34RndVLinesParams[2]},
    .defaults = kF34RndVLinesDefaults,
    .on8 = f34_RndVLines_precompute,
};

inline constexpr KVmemberDesc kF14_recurtree{
    .id = 127,
    .computeName = "f14_recurtree",
    .name = "",
    .compute = f14_recurtree,
    .handler = f14_recurtree_handler,
    .params = {kF1xTreeScale, kF1xTreeIterations},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f12_compiledTreePrepare,
};
