// Lattice pictures: Mondrian rectangles, an orthogonal maze, city blocks, a
// maze on a triangular lattice and a panel of LED lights. Each samples an
// integer cell function at the corners of the point's lattice cell and
// blends the corner colours; output 4 is a height-like value.
#pragma once

#include "components/common/member.h"

void f24_mondrian(gfunc* g);
void f24_OMaze(gfunc* g);
void f24_cityblock(gfunc* g);
void f24_hexaMaze(gfunc* g);
void f24_litLedround(gfunc* g);

int16_t f24_mondrian_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_OMaze_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_cityblock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_hexaMaze_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_litLedround_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f24_mondrian_prepare(gfunc* g);
void f24_OMaze_prepare(gfunc* g);
void f24_cityblock_prepare(gfunc* g);
void f24_hexaMaze_prepare(gfunc* g);
void f24_litLedround_prepare(gfunc* g);

namespace f24lattice {
inline constexpr KVparamDesc kAmplitude{.label = "Amplitude ", .k = 2};
inline constexpr KVparamDesc kCycle{.label = "Color Cycle ", .k = 1};
inline constexpr KVparamDesc kFrequency{.label = "Frequency ", .k = 16};
}  // namespace f24lattice

inline constexpr KVmemberDesc kF24_mondrian{
    .id = 4,
    .computeName = "f24_mondrian",
    .name = " Mondrian ",
    .compute = f24_mondrian,
    .handler = f24_mondrian_handler,
    .params = {f24lattice::kAmplitude, f24lattice::kCycle, f24lattice::kFrequency},
    .defaults = {1, 0.5, 4},
    .on8 = f24_mondrian_prepare,
};

inline constexpr KVmemberDesc kF24_OMaze{
    .id = 5,
    .computeName = "f24_OMaze",
    .name = " Orthogonal Maze",
    .compute = f24_OMaze,
    .handler = f24_OMaze_handler,
    .params = {f24lattice::kAmplitude, f24lattice::kCycle, f24lattice::kFrequency},
    .defaults = {1, 0.444, 2},
    .on8 = f24_OMaze_prepare,
};

inline constexpr KVmemberDesc kF24_cityblock{
    .id = 6,
    .computeName = "f24_cityblock",
    .name = " City Blocks ",
    .compute = f24_cityblock,
    .handler = f24_cityblock_handler,
    .params = {f24lattice::kAmplitude, f24lattice::kCycle, f24lattice::kFrequency},
    .defaults = {1, 0.5, 4},
    .on8 = f24_cityblock_prepare,
};

inline constexpr KVmemberDesc kF24_hexaMaze{
    .id = 7,
    .computeName = "f24_hexaMaze",
    .name = " Hexagonal Maze",
    .compute = f24_hexaMaze,
    .handler = f24_hexaMaze_handler,
    .params = {f24lattice::kAmplitude, f24lattice::kCycle, f24lattice::kFrequency},
    .defaults = {1, 0.5, 2},
    .on8 = f24_hexaMaze_prepare,
};

inline constexpr KVmemberDesc kF24_litLedround{
    .id = 8,
    .computeName = "f24_litLedround",
    .name = " Light LED Array",
    .compute = f24_litLedround,
    .handler = f24_litLedround_handler,
    .params = {f24lattice::kAmplitude, {.label = "Style ", .k = 1}, f24lattice::kFrequency},
    .defaults = {1, 0, 2},
    .on8 = f24_litLedround_prepare,
};
