// The compiled sub-tree member of f23 (id 127): a whole tree with inputs x
// and y and three outputs, owned by the component through its link
// (engine/treemanage.h, arb_subtreeOf). At message 7 B is held to 0..32 and
// the sub-tree is linked to the component's inputs and listed; each batch
// then runs the list B + 1 times (B whole, 0..32, held again at every batch
// since keyframes move it), setting the sub-tree's iteration counter to the
// pass number, and outputs the sub-tree's three outputs times A where its
// first output has a value, else the marker on all three. Without a
// sub-tree (or with one that owns itself) the outputs are x, y and 0.
#pragma once

#include "components/common/member.h"

void f23_recurtree(gfunc* g);
int16_t f23_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: holds B to 0..32 (NaN as 0) and links and lists the sub-tree.
void f23_recurtree_prepare(gfunc* g);

inline constexpr int kF23MaxPasses = 32;

// The display name is empty.
inline constexpr KVmemberDesc kF23_recurtree{
    .id = 127,
    .computeName = "f23_recurtree",
    .name = "",
    .compute = f23_recurtree,
    .handler = f23_recurtree_handler,
    .params = {{.label = "Scale ", .k = 1},
               {.label = "Iterations ", .k = kF23MaxPasses, .truncate = true}},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f23_recurtree_prepare,
};
