// f21 members that draw lattice motifs by blending four lattice samples of
// a cell function with sharpened smoothstep weights: " Tech Noise #" samples
// one of 38 city and tech cell patterns, " Shapes #" one of 31 single shapes
// centred on the origin (cones, pyramids, clusters of cubes, a star, a cube
// and four building plans). A (a whole number) chooses the pattern, and the
// label of A is the chosen pattern's name. Both give the no-value marker
// where x or y holds it.
#pragma once

#include <numbers>
#include <string_view>

#include "components/common/member.h"

void f21_procTechNoises(gfunc* g);
void f21_shapes(gfunc* g);

int16_t f21_procTechNoises_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_shapes_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

inline constexpr int kF21TechPatterns = 38;
inline constexpr int kF21Shapes = 31;

// The name of pattern (shape) `index`, empty outside the table.
std::string_view f21_techPatternName(int index);
std::string_view f21_shapeName(int index);

// The pattern index of A: trunc(A), or -1 when A does not convert.
int f21_patternIndex(double a);

// Label hooks: the chosen name for A, the fixed labels for B and C.
std::string_view f21_procTechNoises_label(const gfunc* g, int param);
std::string_view f21_shapes_label(const gfunc* g, int param);

// Message 8: the pattern's cell, sharpness and frequency scale; the shapes'
// radius (at least 0.00001, written back into B) and inverse size.
void f21_procTechNoises_precompute(gfunc* g);
void f21_shapes_precompute(gfunc* g);

inline constexpr KVmemberDesc kF21_shapes{
    .id = 62,
    .computeName = "f21_shapes",
    .name = " Shapes #",
    .compute = f21_shapes,
    .handler = f21_shapes_handler,
    .params = {{.label = {}, .k = 30, .c = 0, .truncate = true},
               {.label = "Radius ", .k = 32, .c = 0},
               {.label = "Amplitude ", .k = 64, .c = 0}},
    .defaults = {1, std::numbers::pi, 8},
    .choiceA = true,
    .on8 = f21_shapes_precompute,
    .labelFor = f21_shapes_label,
};

inline constexpr KVmemberDesc kF21_procTechNoises{
    .id = 63,
    .computeName = "f21_procTechNoises",
    .name = " Tech Noise #",
    .compute = f21_procTechNoises,
    .handler = f21_procTechNoises_handler,
    .params = {{.label = {}, .k = 37, .c = 0, .truncate = true},
               {.label = "Amplitude ", .k = 16, .c = 0},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {0, 4, 2},
    .on8 = f21_procTechNoises_precompute,
    .labelFor = f21_procTechNoises_label,
};
