// Random Verticals, the f34 member (id 4) whose handler f14 (id 11) also
// binds: display name, Amount, Color Cycle and Frequency, at message 8 the
// 16-entry colour table both compute functions read (entries 0..14 from the
// hue cycle of Color Cycle, entry 15 a copy of entry 0), and its compute.
#pragma once

#include "components/common/member.h"
#include "foundation/types.h"

int16_t f34_RndVLines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Random vertical lines on the plane of inputs 1 and 2: column n of C x is
// drawn when its permutation value lies below trunc(1024 A) + 64, with a
// 64-wide fade above trunc(1024 A); input 3 and the column's value pick the
// colour. Output 4 is 4 times the line's intensity.
void f34_RndVLines(gfunc* g);

// The private record of Random Verticals: its colour table.
struct F34rndVLinesState
{
  normalcolor table[16];
};

inline F34rndVLinesState& f34_rndVLinesState(gfunc* g)
{
  return privateArea<F34rndVLinesState>(g);
}

// Message 8: the colour table from B.
void f34_RndVLines_precompute(gfunc* g);

// The member's parameters and defaults; the f34 table entry and f14 id 11
// both describe it with these.
inline constexpr KVparamDesc kF34RndVLinesParams[3] = {
    {.label = "Amount ", .k = 1, .c = 0},
    {.label = "Color Cycle ", .k = 1, .c = 0},
    {.label = "Frequency ", .k = 8, .c = 0},
};
inline constexpr KVparamTriple kF34RndVLinesDefaults = {0.5, 0.5, 1};

inline constexpr KVmemberDesc kF34_RndVLines{
    .id = 4,
    .computeName = "f34_RndVLines",
    .name = " Random Verticals",
    .compute = f34_RndVLines,
    .handler = f34_RndVLines_handler,
    .params = {kF34RndVLinesParams[0], kF34RndVLinesParams[1], kF34RndVLinesParams[2]},
    .defaults = kF34RndVLinesDefaults,
    .on8 = f34_RndVLines_precompute,
};
