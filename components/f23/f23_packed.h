// f23 members that combine whole colours (or whole 3D points) carried by
// packed links (components/common/packed.h): crossfade, multiply, add and
// max copy input 1 into their outputs and combine input 2 with it; inside a
// loop whose passes run with their loop mask at 4095 they start every pass
// after the first from their own outputs instead, so the loop accumulates.
// The depth sort keeps, per sample, the packed point with the smaller z.
#pragma once

#include "components/common/member.h"

void f23_packedlerp(gfunc* g);
void f23_zcompare(gfunc* g);
void f23_packedmul(gfunc* g);
void f23_packedadd(gfunc* g);
void f23_packedmax(gfunc* g);

int16_t f23_packedlerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_zcompare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_packedmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_packedadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_packedmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

inline constexpr KVparamDesc kF23levelIn1{.label = "Level in1 ", .k = 2};
inline constexpr KVparamDesc kF23levelIn2{.label = "Level in2 ", .k = 2};

// The compositing members ask at message 6 for their inputs linked packed.
inline constexpr KVmemberDesc kF23_packedlerp{
    .id = 6,
    .computeName = "f23_packedlerp",
    .name = " Packed RGB Crossfade",
    .compute = f23_packedlerp,
    .handler = f23_packedlerp_handler,
    .params = {{.label = " Interpolate ", .k = 1}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF23_zcompare{
    .id = 7,
    .computeName = "f23_zcompare",
    .name = " Packed Depth sort ",
    .compute = f23_zcompare,
    .handler = f23_zcompare_handler,
};

inline constexpr KVmemberDesc kF23_packedmul{
    .id = 15,
    .computeName = "f23_packedmul",
    .name = " Packed RGB Multiply ",
    .compute = f23_packedmul,
    .handler = f23_packedmul_handler,
    .params = {{.label = "A amount ", .k = 1}, {.label = "B offset ", .k = 1}},
    .defaults = {0.5, 0.5, kAbsentParam},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF23_packedadd{
    .id = 16,
    .computeName = "f23_packedadd",
    .name = " Packed RGB Add",
    .compute = f23_packedadd,
    .handler = f23_packedadd_handler,
    .params = {kF23levelIn1, kF23levelIn2},
    .defaults = {1, 1, kAbsentParam},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF23_packedmax{
    .id = 35,
    .computeName = "f23_packedmax",
    .name = " Packed RGB Max",
    .compute = f23_packedmax,
    .handler = f23_packedmax_handler,
    .params = {kF23levelIn1, kF23levelIn2},
    .defaults = {1, 1, kAbsentParam},
    .inputCode = kConnOne,
};
