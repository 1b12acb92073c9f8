// f23 members that colour the plane with the colour noises of the noise
// library: bubbles, pyramids of technical cells, a random fractal of
// vector noise, and Perlin and multifractal vector sums. Outputs are red,
// green and blue (8 full). Bubbles, pyramids and the random fractal test
// input 1 for the marker; the two vector sums test nothing.
#pragma once

#include "components/common/member.h"

void f23_bubbles(gfunc* g);
void f23_ColorT6(gfunc* g);
void f23_fract(gfunc* g);
void f23_multiperlin(gfunc* g);
void f23_multifractal(gfunc* g);

int16_t f23_bubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_ColorT6_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_fract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: Color Bubbles holds B to [0, 1]; the vector sums store their
// start frequency, amplitude and top frequency or offset.
void f23_bubbles_precompute(gfunc* g);
void f23_multiperlin_precompute(gfunc* g);
void f23_multifractal_precompute(gfunc* g);

// The random fractal's extra octaves: a quarter of the document's octave
// count, at most this many (past it no octave changes a double any more).
inline constexpr int kF23fractMaxExtraOctaves = 64;
int f23_fractExtraOctaves(int octaveCount);

inline constexpr KVparamDesc kF23phase32{.label = "Phase ", .k = 32, .c = -16};

inline constexpr KVmemberDesc kF23_fract{
    .id = 8,
    .computeName = "f23_fract",
    .name = " RGB Random Fractal",
    .compute = f23_fract,
    .handler = f23_fract_handler,
    .params = {{.label = "Amplitude ", .k = 2}, kF23phase32, {.label = "Frequency ", .k = 2}},
    .defaults = {1, 0, 0.5},
};

inline constexpr KVmemberDesc kF23_bubbles{
    .id = 27,
    .computeName = "f23_bubbles",
    .name = " Color Bubbles",
    .compute = f23_bubbles,
    .handler = f23_bubbles_handler,
    .params = {{.label = "Saturation ", .k = 1},
               {.label = "Shade ", .k = 1},
               {.label = "Frequency ", .k = 8}},
    .defaults = {0.5, 0, 2},
    .on8 = f23_bubbles_precompute,
};

inline constexpr KVmemberDesc kF23_ColorT6{
    .id = 28,
    .computeName = "f23_ColorT6",
    .name = " Color Pyramids",
    .compute = f23_ColorT6,
    .handler = f23_ColorT6_handler,
    .params = {{.label = "Amplitude ", .k = 8}, kF23phase32, {.label = "Frequency ", .k = 8}},
    .defaults = {4, 0, 1},
};

inline constexpr KVmemberDesc kF23_multiperlin{
    .id = 36,
    .computeName = "f23_multiperlin",
    .name = " RGB Multi Perlin random",
    .compute = f23_multiperlin,
    .handler = f23_multiperlin_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Octaves ", .k = 31, .c = 1},
               {.label = "Frequency ", .k = 16}},
    .defaults = {4, 4, 2},
    .on8 = f23_multiperlin_precompute,
};

inline constexpr KVmemberDesc kF23_multifractal{
    .id = 37,
    .computeName = "f23_multifractal",
    .name = " RGB MultiFractal",
    .compute = f23_multifractal,
    .handler = f23_multifractal_handler,
    .params = {{.label = "Amplitude ", .k = 2}, kF23phase32, {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0, 2},
    .on8 = f23_multifractal_precompute,
};
