// f11 members that evaluate other components of their tree: the derivatives
// " Derivative", " 2D Derivative" and " 2D Slope", and the compiled sub-tree
// member " Line" (id 127).
//
// A derivative lists, at message 7, every component upstream of its input
// (AddDependancyList, sources first). Each batch it keeps a copy of its input,
// shifts the array that input 1 of the first listed component reads (for the
// usual tree the master x array) by 1e-6, runs the list again and reads its
// input anew; the two-dimensional ones do the same with input 2 (master y).
// The shifted arrays are put back exactly as they were after the passes, so
// the next batch and the components after this one read the true inputs.
// While the list re-runs, the tree's re-evaluation flag is set when the
// member is inside a loop, so that a loop driver in the list stands still.
// With no component behind the input, or no array behind the first listed
// component's input, nothing is shifted and the output is the input.
//
// The listed components' outputs keep the values of the last shifted pass.
//
// " Line" runs its sub-tree B + 1 times per batch (B whole, 0..128) and moves
// its output towards the sub-tree's output by A after each pass. The
// sub-tree reads this component's output where it would read its input, and
// the output starts every batch as the input, so no pixel depends on the
// batch before it.
#pragma once

#include <array>

#include "components/common/member.h"
#include "components/f11/f11_memory.h"

void f11_Bump(gfunc* g);
void f11_gradient(gfunc* g);
void f11_slope(gfunc* g);
void f11_recurtree(gfunc* g);

int16_t f11_Bump_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_gradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_slope_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// The step by which the derivatives shift the upstream input arrays.
inline constexpr double kF11DerivativeStep = 1e-6;
inline constexpr int kF11MaxRecursion = 128;

// What the derivatives measure in one batch: the input as it came (f) and as
// it reads after the passes with the x array shifted (p) and with the y array
// shifted (q). `dimensions` is 0 when nothing could be shifted (the output is
// then the input), 1 or 2 otherwise; q equals f for one dimension or for a
// first listed component without an input-2 array.
struct F11shiftedInputs
{
  std::array<double, kBatchCapacity> f;
  std::array<double, kBatchCapacity> p;
  std::array<double, kBatchCapacity> q;
  int dimensions;
};

// Runs the list of the node-evaluating member g (count and pointers in
// `list`) with shifted inputs, in one or two dimensions, and returns what g's
// input 1 read. g's output 1 is set to a copy of its input first. The
// re-evaluation flag of g's tree is set for the passes when g is inside a
// loop and cleared afterwards. Shared with the f12 derivative.
F11shiftedInputs f11_shiftedPasses(gfunc* g, const sfuncEvalLists& list, int dimensions);

// Message 7 of every node-evaluating member: the components upstream of
// input 1 into `list` (empty without a source).
void f11_listUpstream(gfunc* g, sfuncEvalLists& list);

// True when the family takes one input (f11, f12, f13, f14).
bool f11_isOneInputFamily(uint16_t family);

void f11_Bump_prepare(gfunc* g);
void f11_Bump_precompute(gfunc* g);      // C = 500000 A
void f11_gradient_precompute(gfunc* g);  // K1 = pi A, K2 = pi B
void f11_slope_precompute(gfunc* g);     // K1 = pi A
// Message 7 of " Line": the sub-tree linked with feedback and listed.
void f11_recurtree_prepare(gfunc* g);
// Message 8 of " Line": B held to 0..128, NaN as 0.
void f11_recurtree_precompute(gfunc* g);

inline constexpr KVmemberDesc kF11_Bump{
    .id = 15,
    .computeName = "f11_Bump",
    .name = " Derivative",
    .compute = f11_Bump,
    .handler = f11_Bump_handler,
    .params = {{.label = "Amplitude ", .k = 2, .c = 0}, {.label = "Offset ", .k = 6, .c = -2}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f11_Bump_prepare,
    .on8 = f11_Bump_precompute,
};

inline constexpr KVmemberDesc kF11_gradient{
    .id = 26,
    .computeName = "f11_gradient",
    .name = " 2D Derivative",
    .compute = f11_gradient,
    .handler = f11_gradient_handler,
    .params = {{.label = "Light Direction dx ", .k = 4, .c = -2},
               {.label = "Light Direction dy ", .k = 4, .c = -2},
               {.label = "Offset ", .k = 6, .c = -2}},
    .defaults = {1, 1, 0},
    .on7 = f11_Bump_prepare,
    .on8 = f11_gradient_precompute,
};

inline constexpr KVmemberDesc kF11_slope{
    .id = 51,
    .computeName = "f11_slope",
    .name = " 2D Slope",
    .compute = f11_slope,
    .handler = f11_slope_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0}, {.label = "Offset ", .k = 2, .c = -1}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f11_Bump_prepare,
    .on8 = f11_slope_precompute,
};

inline constexpr KVmemberDesc kF11_recurtree{
    .id = 127,
    .computeName = "f11_recurtree",
    .name = " Line",
    .compute = f11_recurtree,
    .handler = f11_recurtree_handler,
    .params = {{.label = "Blend ", .k = 1, .c = 0},
               {.label = "Recursion ", .k = kF11MaxRecursion, .c = 0, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f11_recurtree_prepare,
    .on8 = f11_recurtree_precompute,
};
