// f23 members that take a colour from a colour gradient: the document's own
// palette (its keys at the start of the tables) or a slot of the palette
// library, at a position made from x (and y), shaded or blended by y.
// Outputs are red, green and blue on the component colour scale (8 full).
//
// Without a palette library in the world (a tool or test that loads none),
// the library slots read as the document palette.
#pragma once

#include "components/common/member.h"

void f23_ColorKVgrad(gfunc* g);
void f23_ColorKVgradB(gfunc* g);
void f23_indexGradient(gfunc* g);
void f23_BezierGradient(gfunc* g);
void f23_ColorKVYgrad(gfunc* g);

int16_t f23_ColorKVgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_ColorKVgradB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_indexGradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_BezierGradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_ColorKVYgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: the scales the computes use (A/8 and B/8; 1/A and C/255; A/8).
void f23_ColorKVgrad_precompute(gfunc* g);
void f23_BezierGradient_precompute(gfunc* g);
void f23_ColorKVYgrad_precompute(gfunc* g);

// Palettes the Y indexed gradient moves through: 0 the document palette,
// 1 to 39 the library slots of the same numbers.
inline constexpr int kF23YgradPalettes = 40;

inline constexpr KVmemberDesc kF23_ColorKVgrad{
    .id = 5,
    .computeName = "f23_ColorKVgrad",
    .name = " RGB main gradient",
    .compute = f23_ColorKVgrad,
    .handler = f23_ColorKVgrad_handler,
    .params = {{.label = "Scale x ", .k = 2}, {.label = "Scale y ", .k = 2}},
    .defaults = {1, 0, kAbsentParam},
    .on8 = f23_ColorKVgrad_precompute,
};

inline constexpr KVmemberDesc kF23_ColorKVgradB{
    .id = 26,
    .computeName = "f23_ColorKVgradB",
    .name = " Shaded main gradient",
    .compute = f23_ColorKVgradB,
    .handler = f23_ColorKVgradB_handler,
    .params = {{.label = "Gradient Scale X ", .k = 2},
               {.label = "Luminance Scale Y ", .k = 1},
               {.label = "Gradient Offset ", .k = 4, .c = -2}},
    .defaults = {1, 0.5, 0},
};

// C is a library slot: message 4 stores the whole part of 37 n.
inline constexpr KVmemberDesc kF23_indexGradient{
    .id = 42,
    .computeName = "f23_indexGradient",
    .name = " Indexed gradient",
    .compute = f23_indexGradient,
    .handler = f23_indexGradient_handler,
    .params = {{.label = "Gradient Scale X ", .k = 2},
               {.label = "Luminance Scale Y ", .k = 1},
               {.label = "Gradient Index ", .k = 37, .truncate = true}},
    .defaults = {1, 0, 0},
};

inline constexpr KVmemberDesc kF23_BezierGradient{
    .id = 43,
    .computeName = "f23_BezierGradient",
    .name = " Bezier main gradient",
    .compute = f23_BezierGradient,
    .handler = f23_BezierGradient_handler,
    .params = {{.label = "Input range ", .k = 63, .c = 1},
               {.label = "Offset ", .k = 32, .c = -16},
               {.label = "Output range ", .k = 63, .c = 1}},
    .defaults = {8, 0, 8},
    .on8 = f23_BezierGradient_precompute,
};

inline constexpr KVmemberDesc kF23_ColorKVYgrad{
    .id = 45,
    .computeName = "f23_ColorKVYgrad",
    .name = " Y indexed gradient",
    .compute = f23_ColorKVYgrad,
    .handler = f23_ColorKVYgrad_handler,
    .params = {{.label = "Scale ", .k = 2}, {.label = "Gradient Index mod % ", .k = 1}},
    .defaults = {1, 0, kAbsentParam},
    .on8 = f23_ColorKVYgrad_precompute,
};
