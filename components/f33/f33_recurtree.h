// The compiled sub-tree member of f33 (id 127): a whole tree fed back from the
// component's three outputs, owned through its link (engine/treemanage.h,
// arb_subtreeOf). Every batch the outputs start from x, y and z; the
// evaluation list then runs trunc(B) + 1 times (B held to 0..128, NaN as 0,
// at message 7 and again at every batch, since keyframes move it), with the
// sub-tree's iteration counter set to the pass number, and after each pass
// the outputs move towards the sub-tree's outlets by the fraction A (not
// held): output 3 always, outputs 1 and 2 where the first outlet has a
// value, else they take the marker. Without a sub-tree the outputs are x, y
// and z, markers included.
#pragma once

#include "components/common/member.h"

void f33_recurtree(gfunc* g);
int16_t f33_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: holds B to 0..128, then links and lists the sub-tree unless it
// would own itself or the tree that holds the component.
void f33_recurtree_prepare(gfunc* g);

inline constexpr int kF33MaxRecursion = 128;

inline constexpr KVmemberDesc kF33_recurtree{
    .id = 127,
    .computeName = "f33_recurtree",
    .name = " Compiled tree",
    .compute = f33_recurtree,
    .handler = f33_recurtree_handler,
    .params = {{.label = "Blend ", .k = 1, .c = 0},
               {.label = "Recursion ", .k = kF33MaxRecursion, .c = 0, .truncate = true}},
    .defaults = {1.0, 0, kAbsentParam},
    .on7 = f33_recurtree_prepare,
};
