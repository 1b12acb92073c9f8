// The compiled sub-tree member of f25 (id 127): a whole tree with inputs x
// and y and five outputs, owned by the component through its link. Every
// batch starts outputs 1 and 2 from the inputs (the sub-tree may read them
// back), then runs the list B + 1 times (B whole, held to 0..64 at every
// batch, NaN as 0), setting the sub-tree's iteration counter to the pass
// number; after each pass, where the sub-tree's first output has a value,
// outputs 1 and 2 move toward its first two outputs by the fraction A and
// outputs 3 to 5 take A times its last three, else all five take the marker.
// Without a sub-tree the outputs are x, y and black.
#pragma once

#include "components/common/member.h"

void f25_recurtree(gfunc* g);
int16_t f25_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: holds B to 0..64 (NaN as 0) and links and lists the sub-tree.
void f25_recurtree_prepare(gfunc* g);

inline constexpr int kF25MaxIterations = 64;

inline constexpr KVmemberDesc kF25_recurtree{
    .id = 127,
    .computeName = "f25_recurtree",
    .name = "",
    .compute = f25_recurtree,
    .handler = f25_recurtree_handler,
    .params = {{.label = "Scale ", .k = 1},
               {.label = "Iterations ", .k = kF25MaxIterations, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f25_recurtree_prepare,
};
