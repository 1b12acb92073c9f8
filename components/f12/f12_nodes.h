// The f12 members that evaluate other components: " 2D derivative dx,dy",
// which re-runs the components upstream of its input with x and then y
// shifted by 1e-6 (as the f11 derivatives do, components/f11/f11_nodes.h) and
// gives the gradient, and the compiled sub-tree member (id 127).
//
// The compiled-tree frame here serves the one-input families f12, f13 and
// f14: at message 7 B is held to 0..32 (NaN as 0) and the sub-tree is linked
// to the component's input without feedback and listed; each batch runs the
// list B + 1 times (B held again, as keyframes may move it) and gives A times
// the sub-tree's outlets, every output the marker where the first outlet is.
// Without a sub-tree it can run, outputs 1 and 2 copy the component's input
// links 1 and 2 (input 2 reads the master array that preparation gives it,
// by default y) and output 3 is 0.
#pragma once

#include "components/common/member.h"

void f12_derivative(gfunc* g);
void f12_recurtree(gfunc* g);

int16_t f12_derivative_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f12_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f12_derivative_prepare(gfunc* g);     // message 7: the upstream list
void f12_derivative_precompute(gfunc* g);  // message 8: B held to 0..1

inline constexpr int kF1xMaxIterations = 32;

// The compiled-tree frame of f12, f13 and f14 for a family of `outputs`
// outputs (2 to 4). Output 4 is left alone without a sub-tree.
void f12_compiledTree(gfunc* g, int outputs);
// Message 7 of the three compiled-tree members.
void f12_compiledTreePrepare(gfunc* g);

inline constexpr KVmemberDesc kF12_derivative{
    .id = 8,
    .computeName = "f12_derivative",
    .name = " 2D derivative dx,dy",
    .compute = f12_derivative,
    .handler = f12_derivative_handler,
    .params = {{.label = "Amplitude ", .k = 12.566370614359172, .c = -6.283185307179586},
               {.label = "Normalize % ", .k = 1, .c = 0}},
    .defaults = {1, 1, kAbsentParam},
    .on7 = f12_derivative_prepare,
    .on8 = f12_derivative_precompute,
};

// The parameters of the compiled-tree members of f12, f13 and f14; the
// display name is empty.
inline constexpr KVparamDesc kF1xTreeScale{.label = "Scale ", .k = 1, .c = 0};
inline constexpr KVparamDesc kF1xTreeIterations{
    .label = "Iterations ", .k = kF1xMaxIterations, .c = 0, .truncate = true};

inline constexpr KVmemberDesc kF12_recurtree{
    .id = 127,
    .computeName = "f12_recurtree",
    .name = "",
    .compute = f12_recurtree,
    .handler = f12_recurtree_handler,
    .params = {kF1xTreeScale, kF1xTreeIterations},
    .defaults = {1, 0, kAbsentParam},
    .on7 = f12_compiledTreePrepare,
};
