// 3D noise displacements: a point (x, y, z) moved by a vector noise, or the
// noise vector itself. A fractal value-noise displacement, a turbulent
// (domain-warped) displacement, a plain Perlin vector noise and a band-limited
// multi-octave Perlin displacement, each on the vector bases and octave
// drivers of the noise library.
//
// A sample whose input 1 holds the no-value marker gives the marker on all
// three outputs; inputs 2 and 3 are not tested. The drivers read a copy of the
// document's fractal record and the pixel density as their highest frequency;
// nothing is kept between batches.
#pragma once

#include "components/common/member.h"

void f33_fract(gfunc* g);
void f33_turbulence(gfunc* g);
void f33_PerlinVecNoise(gfunc* g);
void f33_multiperlin(gfunc* g);

int16_t f33_fract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_turbulence_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_PerlinVecNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8. Fractal displace: k0 = A/1000, k2 = C/2. Turbulence: k0 = A/2,
// k1 = B/8, k2 = C/2, k3 = A/4 held to [0, 1] (NaN as 0). Perlin Vector
// Noise: k0 = 4 A, k1 = B/8, k2 = C/4. Multi Perlin: k2 = max(0.00001, C/4),
// k0 = A/(2 k2), k1 = k2 B.
void f33_fract_precompute(gfunc* g);
void f33_turbulence_precompute(gfunc* g);
void f33_PerlinVecNoise_precompute(gfunc* g);
void f33_multiperlin_precompute(gfunc* g);

inline constexpr KVparamDesc kF33displaceAmplitude8{.label = "Amplitude ", .k = 8};
inline constexpr KVparamDesc kF33displaceFrequency16{.label = "Frequency ", .k = 16};

inline constexpr KVmemberDesc kF33_fract{
    .id = 4,
    .computeName = "f33_fract",
    .name = " 3D Fractal displace",
    .compute = f33_fract,
    .handler = f33_fract_handler,
    .params = {kF33displaceAmplitude8,
               {.label = "Phase ", .k = 64, .c = -32},
               kF33displaceFrequency16},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f33_fract_precompute,
};

inline constexpr KVmemberDesc kF33_turbulence{
    .id = 42,
    .computeName = "f33_turbulence",
    .name = " 3D turbulence",
    .compute = f33_turbulence,
    .handler = f33_turbulence_handler,
    .params = {kF33displaceAmplitude8,
               {.label = "feedback ", .k = 24, .c = -12},
               kF33displaceFrequency16},
    .defaults = {1, 2, 2},
    .freqFlag = 1,
    .on8 = f33_turbulence_precompute,
};

inline constexpr KVmemberDesc kF33_PerlinVecNoise{
    .id = 43,
    .computeName = "f33_PerlinVecNoise",
    .name = " 3D Perlin Vector Noise",
    .compute = f33_PerlinVecNoise,
    .handler = f33_PerlinVecNoise_handler,
    .params = {kF33displaceAmplitude8,
               {.label = "Phase ", .k = 32, .c = -16},
               kF33displaceFrequency16},
    .defaults = {2, 0, 2},
    .on8 = f33_PerlinVecNoise_precompute,
};

inline constexpr KVmemberDesc kF33_multiperlin{
    .id = 48,
    .computeName = "f33_multiperlin",
    .name = " 3D Multi Perlin displace",
    .compute = f33_multiperlin,
    .handler = f33_multiperlin_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Octaves ", .k = 127, .c = 1},
               kF33displaceFrequency16},
    .defaults = {4, 4, 2},
    .on8 = f33_multiperlin_precompute,
};
