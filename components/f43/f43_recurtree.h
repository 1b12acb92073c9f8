// The compiled sub-tree member of f43 (id 127): a whole tree with four inputs
// and three outlets, owned by the component through its link. At message 7 B
// is held to 0..32 and the sub-tree is linked to the component's inputs and
// listed into the private area; each batch runs the list B + 1 times (the
// iteration counter set to the pass number) and returns A times the first
// three outlets, the marker where outlet 1 has none. Without a sub-tree the
// output is (x, y, 0).
#pragma once

#include "components/common/member.h"

void f43_recurtree(gfunc* g);
int16_t f43_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: clamps B to 0..32 (NaN as 0) and links and lists the sub-tree.
void f43_recurtree_prepare(gfunc* g);

inline constexpr int kF43MaxIterations = 32;

inline constexpr KVmemberDesc kF43_recurtree{
    .id = 127,
    .computeName = "f43_recurtree",
    .name = "Compiled tree",
    .compute = f43_recurtree,
    .handler = f43_recurtree_handler,
    .params = {{.label = "Scale ", .k = 1, .c = 0},
               {.label = "Iterations ", .k = kF43MaxIterations, .c = 0, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f43_recurtree_prepare,
};
