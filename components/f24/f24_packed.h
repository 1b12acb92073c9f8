// The packed compositing members: inputs 1 and 2 each carry a whole colour
// (scalar, RGB or RGBA links), input 1 the lower layer and input 2 the
// upper; the member seeds its outputs from input 1 and mixes input 2 into
// them by its rule (crossfade, alpha maximum, alpha blend, alpha compose
// over a background, add, alpha multiply, alpha minimum). Inside a loop
// whose passes keep the outputs, the member accumulates over the passes
// instead of seeding. Outputs: R, G, B (8 full) and the alpha or altitude.
#pragma once

#include "components/common/member.h"

void f24_packedlerp(gfunc* g);
void f24_packedmax(gfunc* g);
void f24_packedalpha(gfunc* g);
void f24_packedacomp(gfunc* g);
void f24_packedadd(gfunc* g);
void f24_packedmul(gfunc* g);
void f24_packedMIN(gfunc* g);

int16_t f24_packedlerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_packedmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_packedalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_packedacomp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_packedadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_packedmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_packedMIN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f24_packedmax_prepare(gfunc* g);
void f24_packedalpha_prepare(gfunc* g);
void f24_packedacomp_prepare(gfunc* g);

// The input kind message 6 sets on the packed members (all but Alpha Min).
inline constexpr int16_t kF24packedInputCode = kConnOne;

inline constexpr KVmemberDesc kF24_packedlerp{
    .id = 14,
    .computeName = "f24_packedlerp",
    .name = " Packed Crossfade",
    .compute = f24_packedlerp,
    .handler = f24_packedlerp_handler,
    .params = {{.label = " Interpolate ", .k = 1}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
    .inputCode = kF24packedInputCode,
};

inline constexpr KVmemberDesc kF24_packedmax{
    .id = 15,
    .computeName = "f24_packedmax",
    .name = " Packed Alpha Max",
    .compute = f24_packedmax,
    .handler = f24_packedmax_handler,
    .params = {{.label = "Level balance ", .k = 2, .c = -1},
               {.label = "Follow in1 ", .k = 1},
               {.label = "Feather % ", .k = 1}},
    .defaults = {0, 0, 0.5},
    .inputCode = kF24packedInputCode,
    .on8 = f24_packedmax_prepare,
};

inline constexpr KVmemberDesc kF24_packedalpha{
    .id = 16,
    .computeName = "f24_packedalpha",
    .name = " Packed Alpha blend ",
    .compute = f24_packedalpha,
    .handler = f24_packedalpha_handler,
    .params = {{.label = "Feather % ", .k = 1},
               {.label = "Add in1 % ", .k = 1},
               {.label = "Flatten in2 % ", .k = 1}},
    .defaults = {0.25, 0, 1},
    .inputCode = kF24packedInputCode,
    .on8 = f24_packedalpha_prepare,
};

inline constexpr KVmemberDesc kF24_packedacomp{
    .id = 35,
    .computeName = "f24_packedacomp",
    .name = " Packed Alpha Compose",
    .compute = f24_packedacomp,
    .handler = f24_packedacomp_handler,
    .params = {{.label = "Feather A ", .k = 2},
               {.label = "Feather B  ", .k = 2},
               {.label = "Background Color ", .k = 1}},
    .defaults = {1, 1, 0.28},
    .inputCode = kF24packedInputCode,
    .on8 = f24_packedacomp_prepare,
};

inline constexpr KVmemberDesc kF24_packedadd{
    .id = 44,
    .computeName = "f24_packedadd",
    .name = " Packed Add",
    .compute = f24_packedadd,
    .handler = f24_packedadd_handler,
    .params = {{.label = " Level A ", .k = 2}, {.label = " Level B ", .k = 4, .c = -2}},
    .defaults = {1, 1, kAbsentParam},
    .inputCode = kF24packedInputCode,
};

inline constexpr KVmemberDesc kF24_packedmul{
    .id = 45,
    .computeName = "f24_packedmul",
    .name = " Packed Alpha Mul",
    .compute = f24_packedmul,
    .handler = f24_packedmul_handler,
    .params = {{.label = " Interpolate Color ", .k = 1},
               {.label = " Alpha A offset ", .k = 6, .c = -2},
               {.label = " Alpha B offset ", .k = 6, .c = -2}},
    .defaults = {0.5, 0, 0},
    .inputCode = kF24packedInputCode,
};

// Answers only messages -1 and 6 and sets no input kind.
inline constexpr KVmemberDesc kF24_packedMIN{
    .id = 55,
    .computeName = "f24_packedMIN",
    .name = " Packed Alpha Min",
    .compute = f24_packedMIN,
    .handler = f24_packedMIN_handler,
};
