// f21 members that sum gradient, cellular and ridged noises, most of them
// through the octave drivers of the noise library: Perlin, bump and cellular
// noises, multifractal, ridged and multi-Perlin sums. The members marked
// "pixel fade" compare their frequency with the adjusted pixel density
// (KV_adjustedDensity) so that detail finer than a pixel fades to the
// pattern's mean or is not summed; the members with the frequency flag set
// it at message 6, as Fractal noise does. Every one gives the no-value marker
// where x or y holds it.
#pragma once

#include "components/common/member.h"

void f21_PerlinNoise(gfunc* g);
void f21_DiffNoise(gfunc* g);
void f21_multifract(gfunc* g);
void f21_voronoi(gfunc* g);
void f21_ridgedfractal(gfunc* g);
void f21_multiRidged(gfunc* g);
void f21_multiperlin(gfunc* g);

int16_t f21_PerlinNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_DiffNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_multifract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_voronoi_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_multiRidged_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 precomputations (private area P1..P4). Ridged noise takes the
// document's animation time here, so it drifts with the animation.
void f21_PerlinNoise_precompute(gfunc* g);
void f21_DiffNoise_precompute(gfunc* g);
void f21_multifract_precompute(gfunc* g);
void f21_voronoi_precompute(gfunc* g);
void f21_ridgedfractal_precompute(gfunc* g);
void f21_multiRidged_precompute(gfunc* g);
void f21_multiperlin_precompute(gfunc* g);

inline constexpr KVmemberDesc kF21_PerlinNoise{
    .id = 25,
    .computeName = "f21_PerlinNoise",
    .name = " Perlin noise",
    .compute = f21_PerlinNoise,
    .handler = f21_PerlinNoise_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = 0},
               {.label = "Level ", .k = 2, .c = 0},
               {.label = "Frequency ", .k = 16, .c = 0}},
    .defaults = {1, 0.5, 2},
    .on8 = f21_PerlinNoise_precompute,
};

// Pixel fade.
inline constexpr KVmemberDesc kF21_DiffNoise{
    .id = 26,
    .computeName = "f21_DiffNoise",
    .name = " Bump noise",
    .compute = f21_DiffNoise,
    .handler = f21_DiffNoise_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 16, .c = -8},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {2, 0.5, 2},
    .on8 = f21_DiffNoise_precompute,
};

// Pixel fade, frequency flag.
inline constexpr KVmemberDesc kF21_multifract{
    .id = 43,
    .computeName = "f21_multifract",
    .name = " Multi Fractal noise",
    .compute = f21_multifract,
    .handler = f21_multifract_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 16, .c = 0}},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f21_multifract_precompute,
};

// Pixel fade.
inline constexpr KVmemberDesc kF21_voronoi{
    .id = 46,
    .computeName = "f21_voronoi",
    .name = " Cellular",
    .compute = f21_voronoi,
    .handler = f21_voronoi_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {4, 0, 2},
    .on8 = f21_voronoi_precompute,
};

// Pixel fade, frequency flag.
inline constexpr KVmemberDesc kF21_ridgedfractal{
    .id = 47,
    .computeName = "f21_ridgedfractal",
    .name = " Ridged fractal noise",
    .compute = f21_ridgedfractal,
    .handler = f21_ridgedfractal_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = 0},
               {.label = "Smoothing ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 16, .c = 0}},
    .defaults = {1, 1, 2},
    .freqFlag = 1,
    .on8 = f21_ridgedfractal_precompute,
};

// Pixel fade, frequency flag.
inline constexpr KVmemberDesc kF21_multiRidged{
    .id = 52,
    .computeName = "f21_multiRidged",
    .name = " Ridged noise",
    .compute = f21_multiRidged,
    .handler = f21_multiRidged_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = -4},
               {.label = "Octaves ", .k = 127, .c = 1},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {2, 16, 2},
    .freqFlag = 1,
    .on8 = f21_multiRidged_precompute,
};

// Pixel fade.
inline constexpr KVmemberDesc kF21_multiperlin{
    .id = 53,
    .computeName = "f21_multiperlin",
    .name = " Multi Perlin noise",
    .compute = f21_multiperlin,
    .handler = f21_multiperlin_handler,
    .params = {{.label = "Amplitude ", .k = 24, .c = -12},
               {.label = "Octaves ", .k = 63, .c = 1},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {4, 4, 2},
    .on8 = f21_multiperlin_precompute,
};
