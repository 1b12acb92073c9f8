// Escape-time f31 members: each iterates a complex map at (x, y), its
// constant shifted by z, and outputs the escape count outside the set and a
// smooth angle-and-magnitude shading inside it (Julia sets, Mandelbrot set,
// Fractal Map on the strange-web map, Ferro magnet model). The iteration
// count is the document's octave count, doubled for the quadratic members.
#pragma once

#include "components/f31/f31_pvt.h"

void f31_fractalA(gfunc* g);
void f31_JuliaSets(gfunc* g);
void f31_mandel(gfunc* g);
void f31_FerroMagnet(gfunc* g);

int16_t f31_fractalA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_JuliaSets_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_mandel_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_FerroMagnet_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of Fractal Map, and the per-batch constants of Ferro magnet
// model: A/pi, B/pi, C/32, (C + 2)/4.
void f31_escape_prepare(gfunc* g);
void f31_JuliaSets_prepare(gfunc* g);
void f31_mandel_prepare(gfunc* g);

namespace f31escape {
inline constexpr KVparamDesc kReal{.label = "Real ", .k = 4, .c = -2};
inline constexpr KVparamDesc kImaginary{.label = "Imaginary ", .k = 4, .c = -2};
inline constexpr KVparamDesc kZdisplace{.label = "Z displace ", .k = 4, .c = -2};
}  // namespace f31escape

inline constexpr KVmemberDesc kF31_fractalA{
    .id = 9,
    .computeName = "f31_fractalA",
    .name = " Fractal Map",
    .compute = f31_fractalA,
    .handler = f31_fractalA_handler,
    .params = {f31escape::kReal, f31escape::kImaginary, f31escape::kZdisplace},
    .defaults = {1, 1, 0},
    .on8 = f31_escape_prepare,
};

inline constexpr KVmemberDesc kF31_JuliaSets{
    .id = 10,
    .computeName = "f31_JuliaSets",
    .name = " Julia sets",
    .compute = f31_JuliaSets,
    .handler = f31_JuliaSets_handler,
    .params = {f31escape::kReal, f31escape::kImaginary, f31escape::kZdisplace},
    .defaults = {-1.25, 0, 0},
    .on8 = f31_JuliaSets_prepare,
};

inline constexpr KVmemberDesc kF31_mandel{
    .id = 15,
    .computeName = "f31_mandel",
    .name = " Mandelbrot set",
    .compute = f31_mandel,
    .handler = f31_mandel_handler,
    .params = {{.label = "Scale ", .k = 4, .c = -2},
               {.label = "Z distortion ", .k = 4, .c = -2},
               {.label = "Contrast ", .k = 15.875, .c = 0.125}},
    .defaults = {1, 0, 2},
    .on8 = f31_mandel_prepare,
};

inline constexpr KVmemberDesc kF31_FerroMagnet{
    .id = 14,
    .computeName = "f31_FerroMagnet",
    .name = " Ferro magnet model",
    .compute = f31_FerroMagnet,
    .handler = f31_FerroMagnet_handler,
    .params = {{.label = "Real seed ", .k = 4, .c = -2},
               {.label = "Imaginary seed ", .k = 4, .c = -2},
               f31escape::kZdisplace},
    .defaults = {1, 1, 0},
};
