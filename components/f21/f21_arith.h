// f21 members that combine x and y by plain arithmetic: affine sum, lobes,
// product, distances, difference, soft minimum and maximum, interpolation.
// Every one gives the no-value marker where x or y holds it (Min <-> Max
// keeps the other input instead).
#pragma once

#include <numbers>

#include "components/common/member.h"

void f21_affine(gfunc* g);
void f21_add(gfunc* g);
void f21_mul(gfunc* g);
void f21_distance(gfunc* g);
void f21_difference(gfunc* g);
void f21_MinMax(gfunc* g);
void f21_crossfade(gfunc* g);
void f21_distance2(gfunc* g);
void f21_addmax(gfunc* g);

int16_t f21_affine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_add_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_distance_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_difference_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_MinMax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_crossfade_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_distance2_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_addmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 precomputations (private area P1..P4).
void f21_add_precompute(gfunc* g);
void f21_distance_precompute(gfunc* g);
void f21_MinMax_precompute(gfunc* g);

inline constexpr KVmemberDesc kF21_affine{
    .id = 0,
    .computeName = "f21_affine",
    .name = " Ax+By+C",
    .compute = f21_affine,
    .handler = f21_affine_handler,
    .params = {{.label = "Scale X ", .k = 16, .c = -8},
               {.label = "Scale Y ", .k = 16, .c = -8},
               {.label = "Add    ", .k = 16, .c = -8}},
    .defaults = {1, 1, 0},
};

inline constexpr KVmemberDesc kF21_add{
    .id = 1,
    .computeName = "f21_add",
    .name = " Distance*(x + y)",
    .compute = f21_add,
    .handler = f21_add_handler,
    .params = {{.label = "Offset ", .k = 4, .c = -2}, {.label = "Amplitude ", .k = 4, .c = -2}},
    .defaults = {0, 0, kAbsentParam},
    .on8 = f21_add_precompute,
};

inline constexpr KVmemberDesc kF21_mul{
    .id = 2,
    .computeName = "f21_mul",
    .name = " Multiply (x+A)*(y+B)",
    .compute = f21_mul,
    .handler = f21_mul_handler,
    .params = {{.label = "Offset x ", .k = 2 * std::numbers::pi, .c = -std::numbers::pi},
               {.label = "Offset y ", .k = 2 * std::numbers::pi, .c = -std::numbers::pi}},
    .defaults = {0, 0, kAbsentParam},
};

inline constexpr KVmemberDesc kF21_distance{
    .id = 3,
    .computeName = "f21_distance",
    .name = " Distance",
    .compute = f21_distance,
    .handler = f21_distance_handler,
    .params = {{.label = "Offset x ", .k = 8, .c = -4},
               {.label = "Offset y ", .k = 8, .c = -4},
               {.label = "Amplitude ", .k = 32, .c = -16}},
    .defaults = {0, 0, 1},
    .on8 = f21_distance_precompute,
};

inline constexpr KVmemberDesc kF21_difference{
    .id = 10,
    .computeName = "f21_difference",
    .name = " Difference",
    .compute = f21_difference,
    .handler = f21_difference_handler,
    .params = {{.label = "Amplitude ", .k = 1.5, .c = 0.5}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF21_MinMax{
    .id = 17,
    .computeName = "f21_MinMax",
    .name = " Min <-> Max",
    .compute = f21_MinMax,
    .handler = f21_MinMax_handler,
    .params = {{.label = "Amplitude ", .k = 1, .c = 0.5},
               {.label = "Min to Max ", .k = 1, .c = 0},
               {.label = "Smoothing ", .k = 8, .c = 0}},
    .defaults = {1, 1, 0},
    .on8 = f21_MinMax_precompute,
};

inline constexpr KVmemberDesc kF21_crossfade{
    .id = 44,
    .computeName = "f21_crossfade",
    .name = " Interpolate",
    .compute = f21_crossfade,
    .handler = f21_crossfade_handler,
    .params = {{.label = "Interpolate ", .k = 1, .c = 0}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
};

// No parameters: the handler answers only the display name and the defaults.
inline constexpr KVmemberDesc kF21_distance2{
    .id = 45,
    .computeName = "f21_distance2",
    .name = " Distance squared",
    .compute = f21_distance2,
    .handler = f21_distance2_handler,
};

inline constexpr KVmemberDesc kF21_addmax{
    .id = 58,
    .computeName = "f21_addmax",
    .name = " Max(x,x*A+y) ",
    .compute = f21_addmax,
    .handler = f21_addmax_handler,
    .params = {{.label = "x weight ", .k = 1, .c = 0},
               {.label = "Offset y ", .k = 2 * std::numbers::pi, .c = -std::numbers::pi},
               {.label = "Smoothing ", .k = 8, .c = 0}},
    .defaults = {0.5, 0, 0.5},
};
