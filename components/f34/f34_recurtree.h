// The compiled sub-tree member of f34 (id 127): a whole tree fed by the
// component's three inputs, owned through its link. At message 7 B is held
// to 0..32 and the sub-tree is linked and listed; each batch then runs the
// list trunc(B) + 1 times (B held to 0..32 again, since keyframes move it),
// setting the sub-tree's iteration counter to the pass number, and gives the
// sub-tree's four outlets times A where its first outlet has a value, else
// the marker on all four. Without a sub-tree the outputs are (x, y, z, 0).
#pragma once

#include "components/common/member.h"

void f34_recurtree(gfunc* g);
int16_t f34_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: holds B to 0..32 (NaN as 0) and links and lists the sub-tree.
void f34_recurtree_prepare(gfunc* g);

inline constexpr int kF34MaxPasses = 32;

inline constexpr KVmemberDesc kF34_recurtree{
    .id = 127,
    .computeName = "f34_recurtree",
    .name = " Compiled tree",
    .compute = f34_recurtree,
    .handler = f34_recurtree_handler,
    .params = {{.label = "Blend ", .k = 1},
               {.label = "Recursion ", .k = kF34MaxPasses, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f34_recurtree_prepare,
};
