// Math utils: 25 small operations on x and y behind one f21 member. A (a
// whole number 0..24) chooses the operation, and the label of A is the
// chosen operation's name. A mode outside 0..24 computes nothing and leaves
// the output block as it was.
#pragma once

#include <string_view>

#include "components/common/member.h"

void f21_Mathutils(gfunc* g);
int16_t f21_Mathutils_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

inline constexpr int kF21MathutilsModes = 25;

// The name of mode `mode` (0..24), empty for any other number.
std::string_view f21_Mathutils_modeName(int mode);

// Label hook: the name of mode trunc(A) for parameter A.
std::string_view f21_Mathutils_label(const gfunc* g, int param);

inline constexpr KVmemberDesc kF21_Mathutils{
    .id = 61,
    .computeName = "f21_Mathutils",
    .name = " Math utils #",
    .compute = f21_Mathutils,
    .handler = f21_Mathutils_handler,
    .params = {{.label = {}, .k = 24, .c = 0, .truncate = true}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
    .choiceA = true,
    .labelFor = f21_Mathutils_label,
};
