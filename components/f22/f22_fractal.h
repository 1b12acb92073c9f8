// f22 members that displace the plane by fractal sums of 2D vector noises:
// plain octave sums, domain-warping turbulences with feedback, a ridged and a
// multifractal variant, two chaotic displacements and an animated
// turbulence. Octave counts come from the document's fractal settings; octaves
// stop at a band limit from the pixel density (detail finer than a pixel
// fades out). Also the basis shapers and the smooth-maximum turbulence driver
// that some of them use.
#pragma once

#include <numbers>

#include "components/common/member.h"
#include "noise/kvtables.h"

void f22_fract(gfunc* g);
void f22_fractSpace(gfunc* g);
void f22_cristalnoise(gfunc* g);
void f22_PerlinNoise(gfunc* g);
void f22_multiperlin(gfunc* g);
void f22_timeturbulences(gfunc* g);
void f22_ridgedfractal(gfunc* g);
void f22_multifract(gfunc* g);
void f22_ChaosDisA(gfunc* g);
void f22_ChaosDisB(gfunc* g);

int16_t f22_fract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_fractSpace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_cristalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_PerlinNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
// Also the handler of the f25 member f25_disperlin.
int16_t f22_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_timeturbulences_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_multifract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_ChaosDisA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f22_ChaosDisB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of each member (K0..K3 as each computes).
void f22_fract_precompute(gfunc* g);
void f22_fractSpace_precompute(gfunc* g);
void f22_cristalnoise_precompute(gfunc* g);
void f22_PerlinNoise_precompute(gfunc* g);
void f22_multiperlin_precompute(gfunc* g);
void f22_timeturbulences_precompute(gfunc* g);
void f22_ridgedfractal_precompute(gfunc* g);
void f22_multifract_precompute(gfunc* g);
void f22_ChaosDisA_precompute(gfunc* g);
void f22_ChaosDisB_precompute(gfunc* g);

// ---- Basis shapers ----------------------------------------------------------
// Each samples fPerlinNoise2DVector2D at (X, Y) with its own fixed noise
// amplitude, shapes each component e separately and scales it by amp (the
// octave drivers' basis convention).

// Ridges where the noise crosses zero: m = |e| (m^2 + 0.25 below 0.5),
// t = 0.1 m - 0.5; t^2 amp where t < 0, else 0. Noise amplitude 10.
void fPerlinNoise2DVector2D_ridged(const KVtables* t, double X, double Y, double* out1,
                                   double* out2, double amp);
// A smoothstep of e + 0.5 clamped to [0, 1], centred: -0.5 amp .. 0.5 amp.
// Noise amplitude 4.
void fcubicCeil(const KVtables* t, double X, double Y, double* out1, double* out2, double amp);
// v = |e| - 1.75, bent smoothly to 0 below 0.0625; v amp. Noise amplitude 10.
void ftnoise(const KVtables* t, double X, double Y, double* out1, double* out2, double amp);

// The per-component shapes of the three shapers, for a noise value e.
double f22_ridgedShape(double e);
double f22_cubicCeilShape(double e);
double f22_tnoiseShape(double e);

// The quadratic smooth maximum of p and q over the blend width w: p when
// q - p < -w/4, q when q - p >= w/4, a parabola between (w <= 0: p when
// p > q + w/4, else q).
double f22_smax(double p, double q, double w);

// A turbulence whose octaves combine by a smooth maximum: from frequency f
// while f <= limit, at most `octaves` octaves (fewer than 1 gives (0, 0)),
// each sampling basis at the point turned by 30 degrees per octave and
// displaced by feedback times the running result; then, unless the octave
// count ran out, one octave faded by 1 - (f - limit) / (0.5225351707258652 f)
// (negative far above the limit, never below about -0.914). Writes out[0]
// and out[1].
using F22vectorBasis = void (*)(const KVtables*, double, double, double*, double*, double);
void turbulence2DVectorMAX(const KVtables* t, F22vectorBasis basis, double x, double y, double f,
                           double limit, double amp, double phi, double gain, double feedback,
                           double out[2], int octaves);

namespace f22detail {
inline constexpr double kFractalPi = std::numbers::pi;
}

// The Chaos members share B and C.
inline constexpr KVparamDesc kF22chaosFeedback{.label = "Feedback ", .k = 2, .c = -1};
inline constexpr KVparamDesc kF22chaosFrequency{.label = "Frequency ", .k = 4, .c = 0};

inline constexpr KVmemberDesc kF22_fract{
    .id = 17,
    .computeName = "f22_fract",
    .name = " 2D turbulence",
    .compute = f22_fract,
    .handler = f22_fract_handler,
    .params = {{.label = "Amplitude ", .k = 6, .c = -2},
               {.label = "Scale ", .k = 10, .c = -2},
               {.label = "Phase ", .k = 32, .c = -16}},
    .defaults = {1.0, 1.0, 0},
    .on8 = f22_fract_precompute,
};

inline constexpr KVmemberDesc kF22_cristalnoise{
    .id = 31,
    .computeName = "f22_cristalnoise",
    .name = " Crystal displace ",
    .compute = f22_cristalnoise,
    .handler = f22_cristalnoise_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 32, .c = -16},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {4.0, 0, 1.0},
    .freqFlag = 1,
    .on8 = f22_cristalnoise_precompute,
};

inline constexpr KVmemberDesc kF22_fractSpace{
    .id = 38,
    .computeName = "f22_fractSpace",
    .name = " Random Fractal Space",
    .compute = f22_fractSpace,
    .handler = f22_fractSpace_handler,
    .params = {{.label = "Amplitude ", .k = 32, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 2, .c = 0}},
    .defaults = {1.0, 0, 0.5},
    .freqFlag = 1,
    .on8 = f22_fractSpace_precompute,
};

inline constexpr KVmemberDesc kF22_PerlinNoise{
    .id = 47,
    .computeName = "f22_PerlinNoise",
    .name = " Perlin random",
    .compute = f22_PerlinNoise,
    .handler = f22_PerlinNoise_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = 0},
               {.label = "Phase ", .k = 32, .c = -16},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {1.0, 0, 2.0},
    .on8 = f22_PerlinNoise_precompute,
};

inline constexpr KVmemberDesc kF22_multiperlin{
    .id = 48,
    .computeName = "f22_multiperlin",
    .name = " Multi Perlin random",
    .compute = f22_multiperlin,
    .handler = f22_multiperlin_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = 0},
               {.label = "Octaves ", .k = 127, .c = 1},
               {.label = "Frequency ", .k = 16, .c = 0}},
    .defaults = {1.0, 4.0, 2.0},
    .freqFlag = 1,
    .on8 = f22_multiperlin_precompute,
};

inline constexpr KVmemberDesc kF22_ridgedfractal{
    .id = 49,
    .computeName = "f22_ridgedfractal",
    .name = " Ridged Fractal displace",
    .compute = f22_ridgedfractal,
    .handler = f22_ridgedfractal_handler,
    .params = {{.label = "Amplitude ", .k = 2, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {1.0, 4.0, 1.0},
    .freqFlag = 1,
    .on8 = f22_ridgedfractal_precompute,
};

inline constexpr KVmemberDesc kF22_timeturbulences{
    .id = 50,
    .computeName = "f22_timeturbulences",
    .name = " Time turbulence",
    .compute = f22_timeturbulences,
    .handler = f22_timeturbulences_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0},
               {.label = "feedback ", .k = 16, .c = -8},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {1.0, 2.0, 2.0},
    .freqFlag = 1,
    .on8 = f22_timeturbulences_precompute,
};

inline constexpr KVmemberDesc kF22_multifract{
    .id = 51,
    .computeName = "f22_multifract",
    .name = " Multi Fractal displace",
    .compute = f22_multifract,
    .handler = f22_multifract_handler,
    .params = {{.label = "Amplitude ", .k = 2, .c = 0},
               {.label = "Smoothness ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {0.5, 0.5, 0.25},
    .freqFlag = 1,
    .on8 = f22_multifract_precompute,
};

inline constexpr KVmemberDesc kF22_ChaosDisA{
    .id = 52,
    .computeName = "f22_ChaosDisA",
    .name = " Chaos displace A",
    .compute = f22_ChaosDisA,
    .handler = f22_ChaosDisA_handler,
    .params = {{.label = "Amplitude ", .k = 1, .c = 0}, kF22chaosFeedback, kF22chaosFrequency},
    .defaults = {0.25, 0, 0.5},
    .freqFlag = 1,
    .on8 = f22_ChaosDisA_precompute,
};

inline constexpr KVmemberDesc kF22_ChaosDisB{
    .id = 53,
    .computeName = "f22_ChaosDisB",
    .name = " Chaos displace B",
    .compute = f22_ChaosDisB,
    .handler = f22_ChaosDisB_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = 0}, kF22chaosFeedback, kF22chaosFrequency},
    .defaults = {1.0, 0, 1.0},
    .freqFlag = 1,
    .on8 = f22_ChaosDisB_precompute,
};
