// Packed RGBA compositing: members that layer whole colours arriving as
// packed links (a scalar, an RGB or an RGBA colour per sample) by depth,
// alpha or level. Outputs R, G, B on the colour scale of 8 and w, read as
// alpha or as a height level. Inside a loop most of them composite onto the
// previous pass instead of restarting from input 1.
#pragma once

#include "components/common/member.h"

void f34_packedzBlend(gfunc* g);
void f34_packedzMax(gfunc* g);
void f34_packedlerp(gfunc* g);
void f34_packedmax(gfunc* g);
void f34_packedacomp(gfunc* g);
void f34_packedmuladd(gfunc* g);
void f34_packedaddmul(gfunc* g);
void f34_memPackzBlend(gfunc* g);

int16_t f34_packedzBlend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_packedzMax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_packedlerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_packedmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_packedacomp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_packedmuladd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_packedaddmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_memPackzBlend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f34_zBlend_prepare(gfunc* g);
void f34_packedzMax_prepare(gfunc* g);
void f34_packedmax_prepare(gfunc* g);
void f34_packedacomp_prepare(gfunc* g);

// The constants of message 8 (k0..k3) and, for Alpha Compose, the colour
// table entry of C and the background colour it gives.
struct F34packedConsts
{
  double k[4];
  normalcolor table[1];
  double background[3];
};

namespace f34packed {
inline constexpr KVparamDesc kFeather{.label = "Feather ", .k = 4};
inline constexpr KVparamDesc kOffset{.label = "Offset ", .k = 4, .c = -2};
}  // namespace f34packed

inline constexpr KVmemberDesc kF34_packedzBlend{
    .id = 13,
    .computeName = "f34_packedzBlend",
    .name = " Packed z Blend ",
    .compute = f34_packedzBlend,
    .handler = f34_packedzBlend_handler,
    .params = {f34packed::kFeather, f34packed::kOffset},
    .defaults = {0.1, 0, kAbsentParam},
    .inputCode = kConnOne,
    .on8 = f34_zBlend_prepare,
};

inline constexpr KVmemberDesc kF34_packedzMax{
    .id = 14,
    .computeName = "f34_packedzMax",
    .name = " Packed z Max",
    .compute = f34_packedzMax,
    .handler = f34_packedzMax_handler,
    .params = {{.label = "z level ", .k = 4, .c = -2}, {.label = "Feather % ", .k = 1}},
    .defaults = {0, 0, kAbsentParam},
    .inputCode = kConnOne,
    .on8 = f34_packedzMax_prepare,
};

inline constexpr KVmemberDesc kF34_packedlerp{
    .id = 15,
    .computeName = "f34_packedlerp",
    .name = " Packed Crossfade",
    .compute = f34_packedlerp,
    .handler = f34_packedlerp_handler,
    .params = {{.label = "Interpolate AB ", .k = 1}, {.label = "Interpolate C ", .k = 1}},
    .defaults = {0.5, 0.5, kAbsentParam},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF34_packedmax{
    .id = 16,
    .computeName = "f34_packedmax",
    .name = " Packed Max",
    .compute = f34_packedmax,
    .handler = f34_packedmax_handler,
    .params = {{.label = "Level in1:in2 balance ", .k = 2, .c = -1},
               {.label = "Level in3 ", .k = 4, .c = -2},
               {.label = "Feather % ", .k = 1}},
    .defaults = {0, 0, 0.5},
    .inputCode = kConnOne,
    .on8 = f34_packedmax_prepare,
};

inline constexpr KVmemberDesc kF34_packedacomp{
    .id = 17,
    .computeName = "f34_packedacomp",
    .name = " Packed Alpha Compose",
    .compute = f34_packedacomp,
    .handler = f34_packedacomp_handler,
    .params = {{.label = "Feather A & B ", .k = 2},
               {.label = "Feather C  ", .k = 2},
               {.label = "Background Color ", .k = 1}},
    .defaults = {1, 1, 0.28},
    .inputCode = kConnOne,
    .on8 = f34_packedacomp_prepare,
};

inline constexpr KVmemberDesc kF34_packedmuladd{
    .id = 29,
    .computeName = "f34_packedmuladd",
    .name = " Packed mul & add",
    .compute = f34_packedmuladd,
    .handler = f34_packedmuladd_handler,
    .params = {{.label = "A * B level ", .k = 1}, {.label = "Add C level ", .k = 1}},
    .defaults = {1, 1, kAbsentParam},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF34_packedaddmul{
    .id = 42,
    .computeName = "f34_packedaddmul",
    .name = " Packed add & mul",
    .compute = f34_packedaddmul,
    .handler = f34_packedaddmul_handler,
    .params = {{.label = "Add B level ", .k = 1}, {.label = "Mul C level ", .k = 1}},
    .defaults = {1, 1, kAbsentParam},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF34_memPackzBlend{
    .id = 46,
    .computeName = "f34_memPackzBlend",
    .name = " Memory Packed z Blend ",
    .compute = f34_memPackzBlend,
    .handler = f34_memPackzBlend_handler,
    .params = {f34packed::kFeather, f34packed::kOffset},
    .defaults = {0.1, 0, kAbsentParam},
    .inputCode = kConnOne,
    .on8 = f34_zBlend_prepare,
};
