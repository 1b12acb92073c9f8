// The f43 Looper members (ids 26 to 28): a Looper iterates the two
// components that feed its inputs 1 (F) and 3 (G), each delivering a point on
// its outputs 1 and 2, on their own results. After each step it publishes the
// current point on its outputs 1 and 2 and a step value (iteration counter
// times B) on output 3, and re-runs the components inside its loop, so that
// the memory components at the loop's ends accumulate over all steps.
//
//   Looper F(G)    G outside, F inside: (n + 1)^2 steps
//   Looper G(F)    the same with F and G exchanged
//   Cross Looper   every sequence of F and G up to length n + 1:
//                  2^(n + 2) - 2 steps
//
// n is A truncated toward zero and limited to 0..16 (a count read from a file
// may be anything). The steps are counted in the owner tree's iteration
// counter, which a Looper inside no other loop resets first. The redirection
// of F's and G's inputs lasts only while the compute function runs.
#pragma once

#include "components/common/member.h"

inline constexpr int kLooperMaxIterations = 16;

void f43_iterator(gfunc* g);
void f43_iteratorB(gfunc* g);
void f43_crossiterator(gfunc* g);
int16_t f43_iterator_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_iteratorB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_crossiterator_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// The three iteration schemes, called by the compute functions with the
// owner tree, the Looper, its evaluation list and the iteration count.
void f43EvaluateFG(smalltree* owner, gfunc* looper, sfuncEvalLists* list, int16_t count);
void f43EvaluateGF(smalltree* owner, gfunc* looper, sfuncEvalLists* list, int16_t count);
void f43crossEvaluate(smalltree* owner, gfunc* looper, sfuncEvalLists* list, int16_t count);

void f43_looperPrepare(gfunc* g);

inline constexpr KVparamDesc kLooperIterations{.label = "Iterations ", .k = 16, .truncate = true};
inline constexpr KVparamDesc kLooperMultiplier{.label = "Count Multiplier ", .k = 4};

inline constexpr KVmemberDesc kF43_iterator{
    .id = 26,
    .computeName = "f43_iterator",
    .name = " Looper F(G)",
    .compute = f43_iterator,
    .handler = f43_iterator_handler,
    .params = {kLooperIterations, kLooperMultiplier},
    .defaults = {4.0, 1.0, kAbsentParam},
    .outputCode = kConnThreeUniformThird,
    .on7 = f43_looperPrepare,
};

inline constexpr KVmemberDesc kF43_iteratorB{
    .id = 27,
    .computeName = "f43_iteratorB",
    .name = " Looper G(F)",
    .compute = f43_iteratorB,
    .handler = f43_iteratorB_handler,
    .params = {kLooperIterations, kLooperMultiplier},
    .defaults = {4.0, 1.0, kAbsentParam},
    .outputCode = kConnThreeUniformThird,
    .on7 = f43_looperPrepare,
};

inline constexpr KVmemberDesc kF43_crossiterator{
    .id = 28,
    .computeName = "f43_crossiterator",
    .name = " Cross Looper ",
    .compute = f43_crossiterator,
    .handler = f43_crossiterator_handler,
    .params = {kLooperIterations, kLooperMultiplier},
    .defaults = {0.0, 1.0, kAbsentParam},
    .outputCode = kConnThreeUniformThird,
    .on7 = f43_looperPrepare,
};
