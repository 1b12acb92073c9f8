// The compiled sub-tree member of f31 (id 127): a whole tree with inputs x,
// y and z and one output, owned by the component through its link. At
// message 7 B is held to 0..32 (NaN left as it is) and the sub-tree is linked
// and listed; each batch runs the list B + 1 times (B whole, held to 0..32
// again, NaN as 0), setting the sub-tree's iteration counter to the pass
// number, and gives A times the sub-tree's first output, or the marker where
// that output has none. Without a sub-tree the output is input 1.
#pragma once

#include "components/common/member.h"

void f31_recurtree(gfunc* g);
int16_t f31_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f31_recurtree_prepare(gfunc* g);

inline constexpr int kF31MaxPasses = 32;

inline constexpr KVmemberDesc kF31_recurtree{
    .id = 127,
    .computeName = "f31_recurtree",
    .name = "",
    .compute = f31_recurtree,
    .handler = f31_recurtree_handler,
    .params = {{.label = "Scale ", .k = 1},
               {.label = "Iterations ", .k = kF31MaxPasses, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f31_recurtree_prepare,
};
