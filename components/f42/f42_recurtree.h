// The compiled sub-tree member of f42 (id 127): a whole tree owned by the
// component through its link, whose inlets read the component's own outputs
// (feedback mode 1) besides its inputs. At message 7 B is held to 0..128 and
// the sub-tree is linked and listed into the private area. Each batch starts
// from (x, y), runs the list B + 1 times (the iteration counter set to the
// pass number) and after each pass moves the outputs toward the sub-tree's
// two outlets by the fraction A. When the component feeding input 1 or 4
// produced no value in its last batch, both outputs are the marker and the
// member reports a batch without value too. Without a sub-tree (x, y) passes.
#pragma once

#include "components/common/member.h"
#include "components/f42/f42_complex.h"

void f42_recurtree(gfunc* g);
int16_t f42_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 7: holds B to 0..128 (NaN as 0) and links and lists the sub-tree.
void f42_recurtree_prepare(gfunc* g);

inline constexpr KVmemberDesc kF42_recurtree{
    .id = 127,
    .computeName = "f42_recurtree",
    .name = " Compiled tree",
    .compute = f42_recurtree,
    .handler = f42_recurtree_handler,
    .params = {{.label = "Amplitude ", .k = 1, .c = 0}, f42detail::kRecursion},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f42_recurtree_prepare,
};
