// The compiled sub-tree member of f41 (id 127): a whole tree with four
// inputs and one scalar output, owned by the component through its link
// (engine/treemanage.h, arb_subtreeOf). At message 7 the sub-tree's four
// inlets are linked to the component's inputs and its evaluation list is
// built into the private area; each batch then runs the list B + 1 times
// (B whole, 0..32), setting the sub-tree's iteration counter to the pass
// number, and returns the sub-tree's first output times A. Without a
// sub-tree (or with one that cannot be run) the output is 0.
#pragma once

#include "components/common/member.h"

void f41_recurtree(gfunc* g);
int16_t f41_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: clamps B to 0..32 and links and lists the sub-tree.
void f41_recurtree_prepare(gfunc* g);

inline constexpr int kF41MaxIterations = 32;

inline constexpr KVmemberDesc kF41_recurtree{
    .id = 127,
    .computeName = "f41_recurtree",
    .name = "Compiled tree",
    .compute = f41_recurtree,
    .handler = f41_recurtree_handler,
    .params = {{.label = "Scale ", .k = 1, .c = 0},
               {.label = "Iterations ", .k = kF41MaxIterations, .c = 0, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f41_recurtree_prepare,
};
