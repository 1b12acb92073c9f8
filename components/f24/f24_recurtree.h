// The compiled sub-tree member of f24 (id 127): a whole tree with inputs x
// and y and four outputs, owned by the component through its link. At
// message 7 B is held to 0..32 and the sub-tree is linked and listed; each
// batch then runs the list B + 1 times, setting the sub-tree's iteration
// counter to the pass number, and gives the sub-tree's four outputs times A
// where its first output has a value, else the marker on all four. A source
// on input 1 whose whole batch was masked gives the marker on all four
// without running the sub-tree, and the component marks its own batch
// masked. Without a sub-tree the outputs are (x, y, x, y).
#pragma once

#include "components/common/member.h"

void f24_recurtree(gfunc* g);
int16_t f24_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: holds B to 0..32 (NaN as 0) and links and lists the sub-tree.
void f24_recurtree_prepare(gfunc* g);

inline constexpr int kF24MaxPasses = 32;

inline constexpr KVmemberDesc kF24_recurtree{
    .id = 127,
    .computeName = "f24_recurtree",
    .name = " Compiled tree",
    .compute = f24_recurtree,
    .handler = f24_recurtree_handler,
    .params = {{.label = "Blend ", .k = 1},
               {.label = "Recursion ", .k = kF24MaxPasses, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f24_recurtree_prepare,
};
