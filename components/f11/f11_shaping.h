// f11 members that shape a value by arithmetic.
#pragma once

#include "components/common/member.h"

void f11_offset(gfunc* g);
int16_t f11_offset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

inline constexpr KVmemberDesc kF11_offset{
    .id = 20,
    .computeName = "f11_offset",
    .name = " x+A",
    .compute = f11_offset,
    .handler = f11_offset_handler,
    .params = {{.label = "Offset ", .k = 64, .c = -32}},
    .defaults = {0, kAbsentParam, kAbsentParam},
};
