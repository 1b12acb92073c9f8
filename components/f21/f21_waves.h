// f21 members that turn the plane into periodic height fields: square and
// hexagonal grids, products and sums of sines, a radial angle, packed
// circles, a folded rotation pattern, circular ripples and hexagonal tiles.
// Every one gives the no-value marker where x or y holds it.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f21_Grid(gfunc* g);
void f21_Sines(gfunc* g);
void f21_xplusASine(gfunc* g);
void f21_radial(gfunc* g);
void f21_hexaSines(gfunc* g);
void f21_hexagrid(gfunc* g);
void f21_circles(gfunc* g);
void f21_Dynamo(gfunc* g);
void f21_ripples(gfunc* g);
void f21_sinxy(gfunc* g);
void f21_hexatile(gfunc* g);

int16_t f21_grid_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_Sines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_xplusASine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_radial_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_hexaSines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_hexagrid_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_circles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_Dynamo_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_ripples_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_sinxy_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_hexatile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Precomputations into the private area (P1..P4), at message 8 (Dynamo and
// Ripples also at message 7).
void f21_Grid_precompute(gfunc* g);
void f21_circles_precompute(gfunc* g);
void f21_Dynamo_precompute(gfunc* g);
void f21_ripples_precompute(gfunc* g);
void f21_sinxy_precompute(gfunc* g);
void f21_hexatile_precompute(gfunc* g);

// Message 9 of Ripples: a tree of version 15 or older gets 2 added to A and
// pi + 2 to C, in the parameters and in every keyframe; newer trees are left
// alone.
void f21_ripples_convert(gfunc* g);

inline constexpr KVmemberDesc kF21_Grid{
    .id = 4,
    .computeName = "f21_Grid",
    .name = " Grid",
    .compute = f21_Grid,
    .handler = f21_grid_handler,
    .params = {{.label = "Scale X ", .k = 16, .c = 0},
               {.label = "Scale Y ", .k = 16, .c = 0},
               {.label = "Amplitude ", .k = 7.5, .c = 0.5}},
    .defaults = {4, 4, 4},
    .on8 = f21_Grid_precompute,
};

inline constexpr KVmemberDesc kF21_Sines{
    .id = 5,
    .computeName = "f21_Sines",
    .name = " Sin x * Sin y",
    .compute = f21_Sines,
    .handler = f21_Sines_handler,
    .params = {{.label = "Amplitude ", .k = 20, .c = -4},
               {.label = "Phase X ", .k = 32, .c = -16},
               {.label = "Phase Y ", .k = 32, .c = -16}},
    .defaults = {0, 0, 0},
};

inline constexpr KVmemberDesc kF21_xplusASine{
    .id = 6,
    .computeName = "f21_xplusASine",
    .name = " x + A Sin y ",
    .compute = f21_xplusASine,
    .handler = f21_xplusASine_handler,
    .params = {{.label = "Amplitude ", .k = 2, .c = 0}, {.label = "Frequency ", .k = 8, .c = -4}},
    .defaults = {0.25, std::numbers::pi, kAbsentParam},
};

inline constexpr KVmemberDesc kF21_radial{
    .id = 7,
    .computeName = "f21_radial",
    .name = " Radial",
    .compute = f21_radial,
    .handler = f21_radial_handler,
    .params = {{.label = "Frequency ", .k = 11.5, .c = 0.5}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF21_hexaSines{
    .id = 8,
    .computeName = "f21_hexaSines",
    .name = " Hexa sines",
    .compute = f21_hexaSines,
    .handler = f21_hexaSines_handler,
    .params = {{.label = "Amplitude ", .k = 3.875, .c = 0.125}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF21_hexagrid{
    .id = 9,
    .computeName = "f21_hexagrid",
    .name = " Hexa grid",
    .compute = f21_hexagrid,
    .handler = f21_hexagrid_handler,
    .params = {{.label = "Frequency ", .k = 2.99, .c = 0.01},
               {.label = "Amplitude ", .k = 5.5, .c = 0.5},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {1, 3, 0},
};

inline constexpr KVmemberDesc kF21_circles{
    .id = 13,
    .computeName = "f21_circles",
    .name = " Circles",
    .compute = f21_circles,
    .handler = f21_circles_handler,
    .params = {{.label = "Frequency ", .k = 2 * std::numbers::pi - 0.0625, .c = 0.0625},
               {.label = "Size ", .k = 1.5, .c = 0},
               {.label = "Power ", .k = 7.75, .c = 0.25}},
    .defaults = {std::numbers::pi / 2, 1, 2},
    .on8 = f21_circles_precompute,
};

inline constexpr KVmemberDesc kF21_Dynamo{
    .id = 14,
    .computeName = "f21_Dynamo",
    .name = " Dynamo",
    .compute = f21_Dynamo,
    .handler = f21_Dynamo_handler,
    .params = {{.label = "Rotation ", .k = 4, .c = -2},
               {.label = "Phase X ", .k = 4, .c = -2},
               {.label = "Phase Y ", .k = 4, .c = -2}},
    .defaults = {1, 0, 0},
    .on7 = f21_Dynamo_precompute,
    .on8 = f21_Dynamo_precompute,
};

inline constexpr KVmemberDesc kF21_ripples{
    .id = 15,
    .computeName = "f21_ripples",
    .name = " Ripples",
    .compute = f21_ripples,
    .handler = f21_ripples_handler,
    .params = {{.label = "Ripples ", .k = 6, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Scale ", .k = 15, .c = 1}},
    .defaults = {1, 1, std::numbers::pi},
    .on7 = f21_ripples_precompute,
    .on8 = f21_ripples_precompute,
    .on9 = f21_ripples_convert,
};

inline constexpr KVmemberDesc kF21_sinxy{
    .id = 16,
    .computeName = "f21_sinxy",
    .name = " Sin x + Sin y",
    .compute = f21_sinxy,
    .handler = f21_sinxy_handler,
    .params = {{.label = "Frequency ", .k = 8, .c = 0},
               {.label = "Phase X ", .k = 16, .c = -8},
               {.label = "Phase Y ", .k = 16, .c = -8}},
    .defaults = {1, 1, 1},
    .on8 = f21_sinxy_precompute,
};

inline constexpr KVmemberDesc kF21_hexatile{
    .id = 35,
    .computeName = "f21_hexatile",
    .name = " Hexagons",
    .compute = f21_hexatile,
    .handler = f21_hexatile_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {2, 0, 2},
    .on8 = f21_hexatile_precompute,
};
