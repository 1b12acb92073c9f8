// The f23 Looper (id 44): iterates the component S that feeds its input 1,
// feeding S's outputs 1 and 2 back into S's inputs 1 and 2. Pass 0 publishes
// S's outputs as the ordinary evaluation left them; passes 1 to N run S again
// on its own previous outputs. Every pass publishes S's point on outputs 1
// and 2 and the iteration counter times B on output 3, then runs the
// components inside the Looper's loop and advances the owner tree's counter.
//
// N is A truncated toward zero and limited to 0..128, the range that message 4
// gives (a count read from a file may be anything).
#pragma once

#include "components/common/member.h"

inline constexpr int kF23LooperMaxIterations = 128;

void f23_iterator(gfunc* g);
int16_t f23_iterator_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f23_looperPrepare(gfunc* g);

inline constexpr KVmemberDesc kF23_iterator{
    .id = 44,
    .computeName = "f23_iterator",
    .name = " Looper",
    .compute = f23_iterator,
    .handler = f23_iterator_handler,
    .params = {{.label = "Iterations ", .k = 128, .truncate = true},
               {.label = "Count Multiplier ", .k = 4}},
    .defaults = {0.0, 1.0, kAbsentParam},
    .outputCode = kConnThreeUniformThird,
    .on7 = f23_looperPrepare,
};
