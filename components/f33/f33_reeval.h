// f33 members that run the components behind their inputs again inside
// their own compute, and the conditional z set.
//
// " 3D Normal" lists, at message 7, every component behind its inputs
// (sources first). Each batch it runs that list twice, once with the master
// x array that the first listed component reads shifted by 0.0005 and once
// with the master y array shifted, and turns the differences of what its
// inputs read into a surface normal of length about 2 + A. The shifted
// arrays are put back bit for bit. While the list runs, the tree's
// re-evaluation flag (iterationStep) is set when the member is inside a
// loop, so that a loop driver in the list stands still; the flag's earlier
// value is put back on every path. The listed components keep the values of
// the last run. Without an array behind the first listed component's input
// 1 nothing is shifted and the inputs pass through; without one behind its
// input 2 (a one-input component) only x is shifted.
//
// " 3D elevation slices" and " 3D density slices" march a view ray through
// depth slices: at each slice they feed the component S behind input 3 (an
// f21 height field, or an f31 density field) with the slice's coordinates
// on arrays of their own and keep the first slice where the field is hit.
// S's links (or those of the entry components of S's sub-tree) are put back
// exactly, pointers and channel kinds, on every path; S's output 1 is left
// holding the hit value (elevation) or the last slice's value (density). The
// number of slices follows the document's octave count, held to 1..256.
//
// Bounded re-evaluation: each of these three members counts itself as
// running while it re-runs its sources (a count in its private area, so in
// the document copy being evaluated). One that is reached while two re-runs
// are under way in the same document passes its inputs through as if it
// had no source; a chain of 3D Normals therefore costs a few thousand
// computes a batch instead of growing as 3 to the power of its length.
//
// " Conditional z set" passes x and y and sets z only inside a ring around
// the origin; outside it keeps 0, or what an earlier pass of its loop left.
// Its output 3 restarts whenever the owning tree's iteration counter is 0; a
// run after a Looper but outside its loop sees the count that loop left and
// carries output 3 from batch to batch along its render band.
#pragma once

#include "components/common/member.h"

void f33_derivative(gfunc* g);
void f33_2dfield(gfunc* g);
void f33_3dfield(gfunc* g);
void f33_levelset(gfunc* g);

int16_t f33_derivative_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_2dfield_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_3dfield_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_levelset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// The step by which 3D Normal shifts the master arrays.
inline constexpr double kF33normalStep = 0.0005;
// Re-runs that may be under way in one document when a re-evaluating member
// is reached; at this many it passes its inputs through.
inline constexpr int kF33maxNestedReruns = 2;

// The private record of the re-evaluating members.
struct F33rerunState
{
  sfuncEvalLists list;  // 3D Normal: the components behind its inputs
  uint8_t running;      // re-runs of this member under way
};

inline F33rerunState& f33_rerunState(gfunc* g)
{
  return privateArea<F33rerunState>(g);
}

// Re-runs under way in g's document (every tree and sub-tree), or in g's own
// tree when it has no document.
int f33_runningReruns(gfunc* g);

// Message 7 of 3D Normal: the list from the sources of inputs 1, 2 and 3.
void f33_derivative_prepare(gfunc* g);
// Message 7 of the slices: no re-run under way.
void f33_slices_prepare(gfunc* g);
// Message 8 of Conditional z set: a negative (or NaN) B becomes 0.
void f33_levelset_precompute(gfunc* g);

inline constexpr KVmemberDesc kF33_derivative{
    .id = 23,
    .computeName = "f33_derivative",
    .name = " 3D Normal",
    .compute = f33_derivative,
    .handler = f33_derivative_handler,
    .params = {{.label = "Magnitude ", .k = 4}, {.label = "Distribution ", .k = 2}},
    .defaults = {1, 0.25, kAbsentParam},
    .on7 = f33_derivative_prepare,
};

inline constexpr KVmemberDesc kF33_2dfield{
    .id = 25,
    .computeName = "f33_2dfield",
    .name = " 3D elevation slices",
    .compute = f33_2dfield,
    .handler = f33_2dfield_handler,
    .params = {{.label = " Scale ", .k = 7.75, .c = 0.25},
               {.label = " Slope ", .k = 4},
               {.label = "Offset z ", .k = 64, .c = -32}},
    .defaults = {1, 0.5, 0},
    .on7 = f33_slices_prepare,
};

inline constexpr KVmemberDesc kF33_3dfield{
    .id = 26,
    .computeName = "f33_3dfield",
    .name = " 3D density slices",
    .compute = f33_3dfield,
    .handler = f33_3dfield_handler,
    .params = {{.label = "Scale ", .k = 3.75, .c = 0.25},
               {.label = "Surface level ", .k = 3.875, .c = 0.125},
               {.label = "Offset z ", .k = 32, .c = -16}},
    .defaults = {1, 1, 0},
    .on7 = f33_slices_prepare,
};

inline constexpr KVmemberDesc kF33_levelset{
    .id = 32,
    .computeName = "f33_levelset",
    .name = " Conditional z set",
    .compute = f33_levelset,
    .handler = f33_levelset_handler,
    .params = {{.label = " Threshold ", .k = 32}, {.label = " Minimum ", .k = 1}},
    .defaults = {1, 0, kAbsentParam},
    .on8 = f33_levelset_precompute,
};
