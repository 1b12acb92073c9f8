// The compiled sub-tree member of f44 (id 127): a whole tree with four inputs
// and four outlets, owned by the component through its link. At message 7 B
// is held to 0..32 and the sub-tree is linked to the component's inputs and
// listed into the private area. Each batch first looks at the components
// feeding inputs 1 and 4: when either produced no value in its last batch,
// all four outputs are the marker and the member reports a batch without
// value too. Otherwise it runs the list B + 1 times (the iteration counter
// set to the pass number) and returns A times the four outlets, the marker
// where outlet 1 has none. Without a sub-tree the inputs pass through.
#pragma once

#include "components/common/member.h"

void f44_recurtree(gfunc* g);
int16_t f44_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: clamps B to 0..32 (NaN as 0) and links and lists the sub-tree.
void f44_recurtree_prepare(gfunc* g);

inline constexpr int kF44MaxIterations = 32;

inline constexpr KVmemberDesc kF44_recurtree{
    .id = 127,
    .computeName = "f44_recurtree",
    .name = "Compiled tree",
    .compute = f44_recurtree,
    .handler = f44_recurtree_handler,
    .params = {{.label = "Scale ", .k = 1, .c = 0},
               {.label = "Iterations ", .k = kF44MaxIterations, .c = 0, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f44_recurtree_prepare,
};
