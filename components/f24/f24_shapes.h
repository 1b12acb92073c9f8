// The flat-coloured shapes: a regular polygon, a disk, a smooth dot, a line
// segment, a glowing neon segment, a half plane and an interlaced grid. Each
// gives R, G, B (8 full) and its mask on output 4: positive inside, 0 on the
// border, negative outside (clamped, each member its own way). The colour
// comes from a hue table of the "Color Cycle" parameter.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f24_PolyN(gfunc* g);
void f24_Circle(gfunc* g);
void f24_Line(gfunc* g);
void f24_NeonLine(gfunc* g);
void f24_EGLine(gfunc* g);
void f24_halfplane(gfunc* g);
void f24_gaussian(gfunc* g);

int16_t f24_PolyN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_Circle_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_Line_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_NeonLine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_EGLine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_halfplane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_gaussian_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f24_PolyN_prepare(gfunc* g);
void f24_Circle_prepare(gfunc* g);
void f24_Line_prepare(gfunc* g);
void f24_NeonLine_prepare(gfunc* g);
void f24_EGLine_prepare(gfunc* g);
void f24_halfplane_prepare(gfunc* g);
void f24_gaussian_prepare(gfunc* g);

// The polygon draws at most this many sides (a stored A is not bounded).
inline constexpr int kF24maxPolygonSides = 64;

// a mod 8 (or 16) towards minus infinity, as the interlaced grid takes it: a
// negative exact multiple gives the period itself.
double f24_gridMod(double a, double period);

namespace f24shape {
inline constexpr double kPi = std::numbers::pi;
inline constexpr KVparamDesc kRotation{.label = "Rotation ", .k = 2 * kPi, .c = -kPi};
inline constexpr KVparamDesc kCycle{.label = "Color Cycle ", .k = 1};
}  // namespace f24shape

inline constexpr KVmemberDesc kF24_PolyN{
    .id = 21,
    .computeName = "f24_PolyN",
    .name = " Color Polygon N ",
    .compute = f24_PolyN,
    .handler = f24_PolyN_handler,
    .params = {{.label = "Sides ", .k = 20, .c = 2},
               {.label = "Radius ", .k = 16},
               f24shape::kCycle},
    .defaults = {5, 2, 0.5},
    .on8 = f24_PolyN_prepare,
};

inline constexpr KVmemberDesc kF24_Circle{
    .id = 22,
    .computeName = "f24_Circle",
    .name = " Color Circle ",
    .compute = f24_Circle,
    .handler = f24_Circle_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Radius ", .k = 24},
               f24shape::kCycle},
    .defaults = {4, 2, 0.5},
    .on8 = f24_Circle_prepare,
};

inline constexpr KVmemberDesc kF24_Line{
    .id = 23,
    .computeName = "f24_Line",
    .name = " Color Line ",
    .compute = f24_Line,
    .handler = f24_Line_handler,
    .params = {f24shape::kRotation, {.label = "Size ", .k = 32}, f24shape::kCycle},
    .defaults = {std::numbers::pi / 2, 1, 0.5},
    .on8 = f24_Line_prepare,
};

inline constexpr KVmemberDesc kF24_NeonLine{
    .id = 24,
    .computeName = "f24_NeonLine",
    .name = " Color Neon Line ",
    .compute = f24_NeonLine,
    .handler = f24_NeonLine_handler,
    .params = {f24shape::kRotation, {.label = "Size ", .k = 32}, f24shape::kCycle},
    .defaults = {std::numbers::pi / 2, 1, 0.5},
    .on8 = f24_NeonLine_prepare,
};

inline constexpr KVmemberDesc kF24_EGLine{
    .id = 28,
    .computeName = "f24_EGLine",
    .name = " Interlaced Grid ",
    .compute = f24_EGLine,
    .handler = f24_EGLine_handler,
    .params = {f24shape::kRotation, f24shape::kCycle, {.label = "Frequency ", .k = 16}},
    .defaults = {0, 0.5, 1},
    .on8 = f24_EGLine_prepare,
};

inline constexpr KVmemberDesc kF24_halfplane{
    .id = 43,
    .computeName = "f24_halfplane",
    .name = " RGBa half plane ",
    .compute = f24_halfplane,
    .handler = f24_halfplane_handler,
    .params = {f24shape::kRotation, {.label = "Offset ", .k = 32, .c = -16}, f24shape::kCycle},
    .defaults = {0, 0, 0.5},
    .on8 = f24_halfplane_prepare,
};

inline constexpr KVmemberDesc kF24_gaussian{
    .id = 51,
    .computeName = "f24_gaussian",
    .name = " Gaussian Dot ",
    .compute = f24_gaussian,
    .handler = f24_gaussian_handler,
    .params = {{.label = "Amplitude ", .k = 8}, {.label = "Radius ", .k = 24}, f24shape::kCycle},
    .defaults = {2, 4, 0.5},
    .on8 = f24_gaussian_prepare,
};
