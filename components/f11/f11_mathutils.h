// Math utils: 14 small functions of x behind one f11 member. A (a whole
// number 0..13) chooses the function, and the label of A is the chosen
// function's name. A mode outside 0..13 computes nothing and leaves the
// output block as it was.
#pragma once

#include <string_view>

#include "components/common/member.h"

void f11_Mathutils(gfunc* g);
int16_t f11_Mathutils_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

inline constexpr int kF11MathutilsModes = 14;

// The name of mode `mode` (0..13), empty for any other number.
std::string_view f11_Mathutils_modeName(int mode);

// Label hook: the name of mode trunc(A) for parameter A.
std::string_view f11_Mathutils_label(const gfunc* g, int param);

inline constexpr KVmemberDesc kF11_Mathutils{
    .id = 55,
    .computeName = "f11_Mathutils",
    .name = " Math utils #",
    .compute = f11_Mathutils,
    .handler = f11_Mathutils_handler,
    .params = {{.label = {}, .k = 13, .c = 0, .truncate = true}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
    .choiceA = true,
    .labelFor = f11_Mathutils_label,
};
