// The compiled sub-tree member of f22 (id 127): a whole tree with inputs x
// and y and two outputs, owned by the component through its link
// (engine/treemanage.h, arb_subtreeOf). The sub-tree reads the component's
// own outputs (feedback), which every batch sets to the inputs first; the
// list then runs B + 1 times (B whole, held to 0..128), and after each pass
// the outputs move towards the sub-tree's outputs by the fraction A. Without
// a sub-tree the outputs are copies of the inputs.
#pragma once

#include "components/common/member.h"

void f22_recurtree(gfunc* g);
int16_t f22_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: raises B to 0 and links and lists the sub-tree.
void f22_recurtree_prepare(gfunc* g);

inline constexpr int kF22MaxRecursion = 128;

inline constexpr KVmemberDesc kF22_recurtree{
    .id = 127,
    .computeName = "f22_recurtree",
    .name = " Compiled tree",
    .compute = f22_recurtree,
    .handler = f22_recurtree_handler,
    .params = {{.label = "Blend ", .k = 1, .c = 0},
               {.label = "Recursion ", .k = kF22MaxRecursion, .c = 0, .truncate = true}},
    .defaults = {1.0, 0, kAbsentParam},
    .on7 = f22_recurtree_prepare,
};
