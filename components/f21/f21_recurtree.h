// The compiled sub-tree member of f21 (id 127): a whole tree with inputs x
// and y and one scalar output, owned by the component through its link
// (engine/treemanage.h, arb_subtreeOf). At message 7 the sub-tree is linked
// to the component's inputs and its evaluation list is built into the
// component's private area; each batch then runs the list B + 1 times (B
// whole, 0..32), setting the sub-tree's iteration counter to the pass number,
// and returns the sub-tree's output times A. Without a sub-tree (or with one
// that cannot be run) the output is a copy of x.
#pragma once

#include "components/common/member.h"

void f21_recurtree(gfunc* g);
int16_t f21_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: clamps B to 0..32 and links and lists the sub-tree.
void f21_recurtree_prepare(gfunc* g);

inline constexpr int kF21MaxIterations = 32;

// The display name is empty.
inline constexpr KVmemberDesc kF21_recurtree{
    .id = 127,
    .computeName = "f21_recurtree",
    .name = "",
    .compute = f21_recurtree,
    .handler = f21_recurtree_handler,
    .params = {{.label = "Scale ", .k = 1, .c = 0},
               {.label = "Iterations ", .k = kF21MaxIterations, .c = 0, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f21_recurtree_prepare,
};
