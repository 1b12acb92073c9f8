// Brush marks on jittered lattice points of the plane of inputs 1 and 2,
// turned by input 3 (the mark direction is z / 4 radians), which also picks
// the colour: outlined strokes, rippled paint strokes and bundles of
// parallel lines. Output 4 is the accumulated paint height.
#pragma once

#include "components/common/member.h"

void f34_zstrokes(gfunc* g);
void f34_paintstrokes(gfunc* g);
void f34_linesNetwork(gfunc* g);

int16_t f34_zstrokes_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_paintstrokes_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_linesNetwork_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f34_zstrokes_prepare(gfunc* g);
void f34_paintstrokes_prepare(gfunc* g);
void f34_linesNetwork_prepare(gfunc* g);

// A mark near the sample: the offset from the mark's centre to the sample,
// its squared length and the mark's hash (not wrapped).
struct F34mark
{
  double dx;
  double dy;
  double d2;
  uint32_t k;
};

// The marks within 0.75 of (X, Y) on the first `layers` of the four shifted
// lattices (at most 4 a layer); returns their count. A layer whose cell is
// not defined adds none.
int f34_gatherMarks(const KVtables* t, double X, double Y, int layers, F34mark out[16]);

namespace f34strokes {
inline constexpr KVparamDesc kAmplitude{.label = "Amplitude ", .k = 2};
inline constexpr KVparamDesc kCycle{.label = "Color Cycle ", .k = 1};
}  // namespace f34strokes

inline constexpr KVmemberDesc kF34_zstrokes{
    .id = 25,
    .computeName = "f34_zstrokes",
    .name = " z Strokes",
    .compute = f34_zstrokes,
    .handler = f34_zstrokes_handler,
    .params = {f34strokes::kAmplitude, f34strokes::kCycle, {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0.5, 2},
    .on8 = f34_zstrokes_prepare,
};

inline constexpr KVmemberDesc kF34_paintstrokes{
    .id = 20,
    .computeName = "f34_paintstrokes",
    .name = " z Paint strokes",
    .compute = f34_paintstrokes,
    .handler = f34_paintstrokes_handler,
    .params = {f34strokes::kAmplitude, f34strokes::kCycle, {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0.5, 2},
    .on8 = f34_paintstrokes_prepare,
};

inline constexpr KVmemberDesc kF34_linesNetwork{
    .id = 23,
    .computeName = "f34_linesNetwork",
    .name = " z Line network",
    .compute = f34_linesNetwork,
    .handler = f34_linesNetwork_handler,
    .params = {f34strokes::kAmplitude, f34strokes::kCycle, {.label = "Frequency ", .k = 8}},
    .defaults = {1, 0.5, 1},
    .on8 = f34_linesNetwork_prepare,
};
