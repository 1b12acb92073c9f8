// The compiled sub-tree member of f32 (id 127): a whole tree with inputs x,
// y and z and two outputs, owned by the component through its link
// (engine/treemanage.h, arb_subtreeOf). Every batch the outputs start from
// x and y; the evaluation list then runs B + 1 times (B whole, held to
// 0..32), and after each pass the outputs move towards the sub-tree's
// outputs by the fraction A (held to 0..32). Without a sub-tree the outputs
// are copies of x and y.
#pragma once

#include "components/common/member.h"

void f32_recurtree(gfunc* g);
int16_t f32_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: holds A and B to 0..32, then links and lists the sub-tree.
void f32_recurtree_prepare(gfunc* g);

inline constexpr int kF32MaxRecursion = 32;

inline constexpr KVmemberDesc kF32_recurtree{
    .id = 127,
    .computeName = "f32_recurtree",
    .name = "",
    .compute = f32_recurtree,
    .handler = f32_recurtree_handler,
    .params = {{.label = "Blend ", .k = 1, .c = 0},
               {.label = "Recursion ", .k = kF32MaxRecursion, .c = 0, .truncate = true}},
    .defaults = {1.0, 0, kAbsentParam},
    .on7 = f32_recurtree_prepare,
};
