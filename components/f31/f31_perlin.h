// f31 members that sum 3D gradient noises: one noise, three decorrelated
// noises, fractal sums on the plain octave driver (one with a squared
// "stucco" basis, one with a user-set octave limit), and a line pattern of
// 2D noises lowered by the altitude z.
#pragma once

#include "components/f31/f31_pvt.h"

void f31_random3d(gfunc* g);
void f31_PerlinNoise(gfunc* g);
void f31_fractalstucco(gfunc* g);
void f31_fractalnoise(gfunc* g);
void f31_multiperlin(gfunc* g);
void f31_fractalLines(gfunc* g);

int16_t f31_random3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_PerlinNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_fractalstucco_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_fractalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_fractalLines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f31_random3d_precompute(gfunc* g);
void f31_PerlinNoise_precompute(gfunc* g);
void f31_fractalstucco_precompute(gfunc* g);
void f31_fractalnoise_precompute(gfunc* g);
void f31_multiperlin_precompute(gfunc* g);
void f31_fractalLines_precompute(gfunc* g);

// The stucco basis: v = fPerlinNoise3D + 80; 0 below 0, else (0.0025 v)^2.
double fPerlinNoise3DStucco(const KVtables* t, double x, double y, double z);

inline constexpr KVmemberDesc kF31_random3d{
    .id = 22,
    .computeName = "f31_random3d",
    .name = " 3D Random",
    .compute = f31_random3d,
    .handler = f31_random3d_handler,
    .params = {kF31amplitude2, kF31phase64, kF31frequency16},
    .defaults = {1, 0, 2},
    .inputCode = kF31noiseInput,
    .on8 = f31_random3d_precompute,
};

inline constexpr KVmemberDesc kF31_fractalnoise{
    .id = 23,
    .computeName = "f31_fractalnoise",
    .name = " 3D Fractal noise",
    .compute = f31_fractalnoise,
    .handler = f31_fractalnoise_handler,
    .params = {kF31amplitude2, kF31phase64, kF31frequency16},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f31_fractalnoise_precompute,
};

inline constexpr KVmemberDesc kF31_fractalstucco{
    .id = 34,
    .computeName = "f31_fractalstucco",
    .name = " 3D Fractal Stucco",
    .compute = f31_fractalstucco,
    .handler = f31_fractalstucco_handler,
    .params = {kF31amplitude2, kF31phase64, kF31frequency16},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f31_fractalstucco_precompute,
};

inline constexpr KVmemberDesc kF31_PerlinNoise{
    .id = 39,
    .computeName = "f31_PerlinNoise",
    .name = " 3D Perlin Noise",
    .compute = f31_PerlinNoise,
    .handler = f31_PerlinNoise_handler,
    .params = {kF31amplitude2, kF31phase64, kF31frequency16},
    .defaults = {1, 0, 2},
    .inputCode = kF31noiseInput,
    .on8 = f31_PerlinNoise_precompute,
};

inline constexpr KVmemberDesc kF31_multiperlin{
    .id = 43,
    .computeName = "f31_multiperlin",
    .name = " 3D Multi Perlin noise",
    .compute = f31_multiperlin,
    .handler = f31_multiperlin_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Octaves ", .k = 63, .c = 1},
               kF31frequency16},
    .defaults = {4, 4, 2},
    .inputCode = kF31noiseInput,
    .on8 = f31_multiperlin_precompute,
};

inline constexpr KVmemberDesc kF31_fractalLines{
    .id = 19,
    .computeName = "f31_fractalLines",
    .name = "z Fractal lines",
    .compute = f31_fractalLines,
    .handler = f31_fractalLines_handler,
    .params = {{.label = "Amplitude ", .k = 1.75, .c = 0.25},
               kF31phase64,
               {.label = "Frequency ", .k = 4}},
    .defaults = {1, 0, 1},
    .freqFlag = 1,
    .on8 = f31_fractalLines_precompute,
};
