// f41 members that reduce x, y, z and w to one value by plain arithmetic:
// the packer, the linear mix, extremes, product, determinant, the random
// mixer driven by two noise fields of the pixel position, and a cubic
// Bezier curve. Ids 1, 5 and 8 give the no-value marker where x or w holds
// it; the others compute whatever their inputs hold.
#pragma once

#include "components/common/member.h"

void f41_Pack(gfunc* g);
void f41_mix(gfunc* g);
void f41_Min(gfunc* g);
void f41_Max(gfunc* g);
void f41_RndMix(gfunc* g);
void f41_mul(gfunc* g);
void f41_FC(gfunc* g);
void f41_det(gfunc* g);

int16_t f41_Pack_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f41_mix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f41_Min_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f41_Max_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f41_RndMix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f41_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f41_FC_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f41_det_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of Random Mix: threshold t = 2 - A, noise scale k = (t + 3)/400
// and frequency f = C/128 (private K0, K1, K2).
void f41_RndMix_precompute(gfunc* g);

inline constexpr KVparamDesc kF41amplitude2{.label = "Amplitude ", .k = 2, .c = 0};

inline constexpr KVmemberDesc kF41_Pack{
    .id = 0,
    .computeName = "f41_Pack",
    .name = " Pack",
    .compute = f41_Pack,
    .handler = f41_Pack_handler,
    .outputCode = kConnPacked3,
    .inputCode = kConnFourF44,
};

inline constexpr KVmemberDesc kF41_mix{
    .id = 1,
    .computeName = "f41_mix",
    .name = " Ax+By+Cz+w",
    .compute = f41_mix,
    .handler = f41_mix_handler,
    .params = {{.label = "Scale X ", .k = 16, .c = -8},
               {.label = "Scale Y ", .k = 16, .c = -8},
               {.label = "Scale Z ", .k = 16, .c = -8}},
    .defaults = {1, 1, 1},
};

inline constexpr KVmemberDesc kF41_Min{
    .id = 2,
    .computeName = "f41_Min",
    .name = " Min(x,y,z,w)",
    .compute = f41_Min,
    .handler = f41_Min_handler,
    .params = {{.label = "Amplitude ", .k = 1, .c = 0.5}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF41_Max{
    .id = 3,
    .computeName = "f41_Max",
    .name = " Max(x,y,z,w)",
    .compute = f41_Max,
    .handler = f41_Max_handler,
    .params = {{.label = "Amplitude ", .k = 1, .c = 0.5}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF41_RndMix{
    .id = 4,
    .computeName = "f41_RndMix",
    .name = " Random Mix",
    .compute = f41_RndMix,
    .handler = f41_RndMix_handler,
    .params = {{.label = "Amount ", .k = 2, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 16, .c = 0}},
    .defaults = {1, 0, 2},
    .inputCode = kConnOne,
    .on8 = f41_RndMix_precompute,
};

inline constexpr KVmemberDesc kF41_mul{
    .id = 5,
    .computeName = "f41_mul",
    .name = " Multiply",
    .compute = f41_mul,
    .handler = f41_mul_handler,
    .params = {kF41amplitude2, {.label = "Offset ", .k = 8, .c = -4}},
    .defaults = {1, 0, kAbsentParam},
};

inline constexpr KVmemberDesc kF41_FC{
    .id = 7,
    .computeName = "f41_FC",
    .name = " Bezier Curve ",
    .compute = f41_FC,
    .handler = f41_FC_handler,
    .params = {kF41amplitude2, {.label = "B Tangency ", .k = 1, .c = 0}},
    .defaults = {1, 1, kAbsentParam},
};

inline constexpr KVmemberDesc kF41_det{
    .id = 8,
    .computeName = "f41_det",
    .name = " Determinant",
    .compute = f41_det,
    .handler = f41_det_handler,
    .params = {kF41amplitude2, {.label = "Offset ", .k = 8, .c = -4}},
    .defaults = {1, 0, kAbsentParam},
};
