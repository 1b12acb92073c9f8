// f12 members that turn one value into a pair: a constant point, motions
// along a line, a circle or a random path, real and integer moduli,
// trigonometric and exponential pairs and a clipped value with its input.
// Members marked uniform compute a uniform input once from its first
// element, without the marker test; otherwise a masked sample gives the
// marker on both outputs.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f12_Constant(gfunc* g);
void f12_Modulo(gfunc* g);
void f12_linearmotion(gfunc* g);
void f12_circularmotion(gfunc* g);
void f12_randommotion(gfunc* g);
void f12_MathA(gfunc* g);
void f12_MathB(gfunc* g);
void f12_CubicFloor(gfunc* g);
void f12_QTModulo(gfunc* g);

int16_t f12_Constant_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f12_Modulo_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f12_linearmotion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f12_circularmotion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f12_randommotion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f12_MathA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f12_MathB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f12_CubicFloor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f12_QTModulo_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of Modulo: A below 1e-6 becomes 1e-6; K1 = 1/A, K2 = A.
void f12_Modulo_precompute(gfunc* g);
// Message 8 of Linear motion: K1 = cos A, K2 = sin A.
void f12_linearmotion_precompute(gfunc* g);
// Message 8 of Random motion: K1 = A/300.
void f12_randommotion_precompute(gfunc* g);

inline constexpr double kF12Pi = std::numbers::pi;
// The Amplitude of the Math members, -2 pi..2 pi.
inline constexpr KVparamDesc kF12MathAmplitude{
    .label = "Amplitude ", .k = 4 * kF12Pi, .c = -2 * kF12Pi};

inline constexpr KVmemberDesc kF12_Constant{
    .id = 0,
    .computeName = "f12_Constant",
    .name = " Set Constant",
    .compute = f12_Constant,
    .handler = f12_Constant_handler,
    .params = {{.label = "Set constant x ", .k = 32, .c = -16},
               {.label = "Set constant y ", .k = 32, .c = -16}},
    .defaults = {0, 0, kAbsentParam},
};

// Output 1 is x modulo A plus B, output 2 the cell of x / A modulo trunc(C)
// (a C below 1 read from a file counts as 1).
inline constexpr KVmemberDesc kF12_Modulo{
    .id = 1,
    .computeName = "f12_Modulo",
    .name = " Modulo & int ",
    .compute = f12_Modulo,
    .handler = f12_Modulo_handler,
    .params = {{.label = "Real Modulo (x) ", .k = 15.875, .c = 0.125},
               {.label = "Phase ", .k = 4, .c = -2},
               {.label = "Int Modulo (y) ", .k = 30, .c = 2, .truncate = true}},
    .defaults = {2, 0, 2},
    .on8 = f12_Modulo_precompute,
};

inline constexpr KVmemberDesc kF12_linearmotion{
    .id = 2,
    .computeName = "f12_linearmotion",
    .name = " Linear motion",
    .compute = f12_linearmotion,
    .handler = f12_linearmotion_handler,
    .params = {{.label = "Direction ", .k = 4 * kF12Pi, .c = -2 * kF12Pi},
               {.label = "Speed ", .k = 8, .c = 0}},
    .defaults = {kF12Pi, 1, kAbsentParam},
    .on8 = f12_linearmotion_precompute,
};

inline constexpr KVmemberDesc kF12_circularmotion{
    .id = 3,
    .computeName = "f12_circularmotion",
    .name = " Circular motion",
    .compute = f12_circularmotion,
    .handler = f12_circularmotion_handler,
    .params = {{.label = "Radius ", .k = 4 * kF12Pi, .c = 0},
               {.label = "Speed X ", .k = 8, .c = 0},
               {.label = "Speed Y ", .k = 8, .c = 0}},
    .defaults = {kF12Pi, 1, 1},
};

inline constexpr KVmemberDesc kF12_randommotion{
    .id = 4,
    .computeName = "f12_randommotion",
    .name = " Random motion",
    .compute = f12_randommotion,
    .handler = f12_randommotion_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8}, {.label = "Speed ", .k = 8, .c = 0}},
    .defaults = {kF12Pi, 1, kAbsentParam},
    .on8 = f12_randommotion_precompute,
};

// The two Math members end their names in two blanks.
inline constexpr KVmemberDesc kF12_MathA{
    .id = 5,
    .computeName = "f12_MathA",
    .name = " Math : atan & tgt  ",
    .compute = f12_MathA,
    .handler = f12_MathA_handler,
    .params = {kF12MathAmplitude},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF12_MathB{
    .id = 6,
    .computeName = "f12_MathB",
    .name = " Math : log & exp  ",
    .compute = f12_MathB,
    .handler = f12_MathB_handler,
    .params = {kF12MathAmplitude},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF12_CubicFloor{
    .id = 7,
    .computeName = "f12_CubicFloor",
    .name = " Cubic Clip ",
    .compute = f12_CubicFloor,
    .handler = f12_CubicFloor_handler,
    .params = {{.label = "Input Scale ", .k = 2, .c = 0},
               {.label = "Offset ", .k = 8, .c = -4},
               {.label = "Amplitude ", .k = 32, .c = 0}},
    .defaults = {1, 0, 4},
};

// Both outputs run from 1 to M = trunc(A) (an A below 1 read from a file
// counts as 1).
inline constexpr KVmemberDesc kF12_QTModulo{
    .id = 9,
    .computeName = "f12_QTModulo",
    .name = " Integer Modulo",
    .compute = f12_QTModulo,
    .handler = f12_QTModulo_handler,
    .params = {{.label = "Modulo ", .k = 30, .c = 2, .truncate = true},
               {.label = "Freq x ", .k = 1, .c = 0},
               {.label = "Freq y ", .k = 1, .c = 0}},
    .defaults = {8, 0.5, 0.25},
};
