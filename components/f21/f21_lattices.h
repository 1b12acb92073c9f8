// f21 members that sample lattice patterns over the plane: a low-frequency
// warped value noise, random squares, recursive techno cells and pyramids,
// noisy stripes, fractal lines, star spots, a maze, and the plain shapes
// Min+Max, Line and Gaussian Dot. Every one gives the no-value marker where x
// or y holds it.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f21_LowFreqRandom(gfunc* g);
void f21_MinMaxAdd(gfunc* g);
void f21_discretRandom(gfunc* g);
void f21_recursivepyramid(gfunc* g);
void f21_LinesNoise(gfunc* g);
void f21_fractalLines(gfunc* g);
void f21_StarField(gfunc* g);
void f21_pyranoise(gfunc* g);
void f21_line(gfunc* g);
void f21_gaussianDot(gfunc* g);
void f21_mazeA(gfunc* g);

int16_t f21_LowFreqRandom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_MinMaxAdd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_discretRandom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_recursivepyramid_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_LinesNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_fractalLines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_StarField_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_pyranoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_line_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_gaussianDot_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_mazeA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 precomputations (private area P1..P3).
void f21_StarField_precompute(gfunc* g);
void f21_line_precompute(gfunc* g);
void f21_gaussianDot_precompute(gfunc* g);
void f21_mazeA_precompute(gfunc* g);

// Message 9 of Line: a tree of version 15 or older stored its rotation in
// half turns; A and the A of every keyframe are multiplied by pi.
void f21_line_convert(gfunc* g);

inline constexpr KVmemberDesc kF21_LowFreqRandom{
    .id = 21,
    .computeName = "f21_LowFreqRandom",
    .name = " Low freq noise",
    .compute = f21_LowFreqRandom,
    .handler = f21_LowFreqRandom_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = -2},
               {.label = "Frequency ", .k = 4, .c = -2},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {1, 1, 0},
};

inline constexpr KVmemberDesc kF21_MinMaxAdd{
    .id = 22,
    .computeName = "f21_MinMaxAdd",
    .name = " Min+Max",
    .compute = f21_MinMaxAdd,
    .handler = f21_MinMaxAdd_handler,
};

inline constexpr KVmemberDesc kF21_discretRandom{
    .id = 23,
    .computeName = "f21_discretRandom",
    .name = " Random Squares",
    .compute = f21_discretRandom,
    .handler = f21_discretRandom_handler,
    .params = {{.label = "Scale X ", .k = 16, .c = -8},
               {.label = "Scale Y ", .k = 16, .c = -8},
               {.label = "Amplitude ", .k = 3.875, .c = 0.125}},
    .defaults = {1, 1, 0.5},
};

inline constexpr KVmemberDesc kF21_recursivepyramid{
    .id = 24,
    .computeName = "f21_recursivepyramid",
    .name = " Techno",
    .compute = f21_recursivepyramid,
    .handler = f21_recursivepyramid_handler,
    .params = {{.label = "Frequency ", .k = 2, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Power ", .k = 9, .c = 1}},
    .defaults = {1, 1, 4},
};

inline constexpr KVmemberDesc kF21_LinesNoise{
    .id = 27,
    .computeName = "f21_LinesNoise",
    .name = " Zebra noise",
    .compute = f21_LinesNoise,
    .handler = f21_LinesNoise_handler,
    .params = {{.label = "Amplitude ", .k = 1.75, .c = 0.25},
               {.label = "Thickness ", .k = 2, .c = 0},
               {.label = "Frequency ", .k = 7.75, .c = 0.25}},
    .defaults = {1, 0.5, 2},
};

inline constexpr KVmemberDesc kF21_fractalLines{
    .id = 28,
    .computeName = "f21_fractalLines",
    .name = " Fractal Lines",
    .compute = f21_fractalLines,
    .handler = f21_fractalLines_handler,
    .params = {{.label = "Amplitude ", .k = 1.75, .c = 0.25},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 3.875, .c = 0.125}},
    .defaults = {1, 0, 1},
    .freqFlag = 1,
};

inline constexpr KVmemberDesc kF21_StarField{
    .id = 29,
    .computeName = "f21_StarField",
    .name = " Star Field ",
    .compute = f21_StarField,
    .handler = f21_StarField_handler,
    .params = {{.label = "Amplitude ", .k = 6, .c = -2},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 31.9375, .c = 0.0625}},
    .defaults = {1, 0, 8},
    .on8 = f21_StarField_precompute,
};

inline constexpr KVmemberDesc kF21_pyranoise{
    .id = 32,
    .computeName = "f21_pyranoise",
    .name = " Pyramids",
    .compute = f21_pyranoise,
    .handler = f21_pyranoise_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 4, .c = 0}},
    .defaults = {1, 0, 1},
};

inline constexpr KVmemberDesc kF21_line{
    .id = 33,
    .computeName = "f21_line",
    .name = " Line",
    .compute = f21_line,
    .handler = f21_line_handler,
    .params = {{.label = "Rotation ", .k = 2 * std::numbers::pi, .c = -std::numbers::pi},
               {.label = "Amplitude ", .k = 4, .c = 0},
               {.label = "Width ", .k = 7.9, .c = 0.1}},
    .defaults = {0, 1, 2},
    .on8 = f21_line_precompute,
    .on9 = f21_line_convert,
};

inline constexpr KVmemberDesc kF21_gaussianDot{
    .id = 41,
    .computeName = "f21_gaussianDot",
    .name = " Gaussian Dot",
    .compute = f21_gaussianDot,
    .handler = f21_gaussianDot_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = 0},
               {.label = "Size ", .k = 6.033185307179586, .c = 0.25}},
    .defaults = {4, std::numbers::pi, kAbsentParam},
    .on8 = f21_gaussianDot_precompute,
};

inline constexpr KVmemberDesc kF21_mazeA{
    .id = 48,
    .computeName = "f21_mazeA",
    .name = " Maze ",
    .compute = f21_mazeA,
    .handler = f21_mazeA_handler,
    .params = {{.label = "Amplitude ", .k = 2, .c = 0},
               {.label = "Style ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {1, 0, 2},
    .on8 = f21_mazeA_precompute,
};
