// Packed RGB compositing: members that layer up to three colours carried by
// packed links (components/common/packed.h). Input 1 is the base colour,
// inputs 2 and 3 are mixed into it; outputs 1 to 3 are red, green and blue
// on the colour scale of 8. A scalar input stands for all three channels; a
// packed RGBA input gives its first three blocks only. The no-value marker
// of a colour is tested on its red channel.
//
// Every batch starts from input 1, except inside a loop whose passes run
// with the member's loop mask exactly 0xfff: there every pass after the
// first mixes into what the previous pass left (KV_keepsLoopOutputs).
// Memory Packed Alpha instead starts from input 1 only while the owning
// tree's iteration counter is 0, whatever its loop mask; a run after a
// Looper but outside its loop sees the count that loop left and so carries
// its colour from batch to batch along its render band.
#pragma once

#include "components/common/member.h"
#include "components/f33/f33_pvt.h"

void f33_packedlerp(gfunc* g);
void f33_packedalpha(gfunc* g);
void f33_packedadd(gfunc* g);
void f33_packedmax(gfunc* g);
void f33_packedaddmul(gfunc* g);
void f33_packedmuladd(gfunc* g);
void f33_packedRndMix(gfunc* g);
void f33_memPackedalpha(gfunc* g);

int16_t f33_packedlerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_packedalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_packedadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_packedmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_packedaddmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_packedmuladd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_packedRndMix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_memPackedalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// The constants k0..k2 that message 8 writes (f33_k(g).K[0..2]). The f34
// member " Packed random Mix" answers through f33_packedRndMix_handler and
// reads the same three.
inline const double* f33_packedK(const gfunc* g)
{
  return privateArea<F33constants>(g).K;
}

// The narrowest feather of the alpha members: the blend divides by it.
inline constexpr double kF33minFeather = 0.005;

// Message 8 of RGB Alpha and Memory Packed Alpha: k0 = 8A (threshold),
// k1 = max(0.005, 8B) (feather), k2 = k0 + k1 (full cover).
void f33_packedalpha_prepare(gfunc* g);
// Message 8 of Random Mix: k0 = 2 - A, k1 = (k0 + 3)/400, k2 = C/128.
void f33_packedRndMix_prepare(gfunc* g);

namespace f33packed {
inline constexpr KVparamDesc kThreshold{.label = "A Threshold ", .k = 2, .c = -1};
inline constexpr KVparamDesc kFeather{.label = "B Feather ", .k = 1};
inline constexpr KVparamDesc kLevelIn1{.label = "Level in1 ", .k = 2};
inline constexpr KVparamDesc kLevelIn2{.label = "Level in2 ", .k = 2};
inline constexpr KVparamDesc kLevelIn3{.label = "Level in3 ", .k = 2};
}  // namespace f33packed

inline constexpr KVmemberDesc kF33_packedlerp{
    .id = 9,
    .computeName = "f33_packedlerp",
    .name = " Packed RGB Crossfade",
    .compute = f33_packedlerp,
    .handler = f33_packedlerp_handler,
    .params = {{.label = "Interpolate AB ", .k = 1}, {.label = "Interpolate C ", .k = 1}},
    .defaults = {0.5, 0.5, kAbsentParam},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF33_packedalpha{
    .id = 10,
    .computeName = "f33_packedalpha",
    .name = " Packed RGB Alpha ",
    .compute = f33_packedalpha,
    .handler = f33_packedalpha_handler,
    .params = {f33packed::kThreshold, f33packed::kFeather},
    .defaults = {0, 0.5, kAbsentParam},
    .inputCode = kConnOne,
    .on8 = f33_packedalpha_prepare,
};

inline constexpr KVmemberDesc kF33_packedadd{
    .id = 15,
    .computeName = "f33_packedadd",
    .name = " Packed RGB Add",
    .compute = f33_packedadd,
    .handler = f33_packedadd_handler,
    .params = {f33packed::kLevelIn1, f33packed::kLevelIn2, f33packed::kLevelIn3},
    .defaults = {1, 1, 1},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF33_packedmax{
    .id = 16,
    .computeName = "f33_packedmax",
    .name = " Packed RGB Max",
    .compute = f33_packedmax,
    .handler = f33_packedmax_handler,
    .params = {f33packed::kLevelIn1, f33packed::kLevelIn2, f33packed::kLevelIn3},
    .defaults = {1, 1, 1},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF33_packedaddmul{
    .id = 33,
    .computeName = "f33_packedaddmul",
    .name = " Packed Add & Mul",
    .compute = f33_packedaddmul,
    .handler = f33_packedaddmul_handler,
    .params = {{.label = "Level A ", .k = 1},
               {.label = "Level B ", .k = 1},
               {.label = "Multiply C ", .k = 1}},
    .defaults = {0.5, 0.5, 0.5},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF33_packedmuladd{
    .id = 36,
    .computeName = "f33_packedmuladd",
    .name = " Packed Mul & Add",
    .compute = f33_packedmuladd,
    .handler = f33_packedmuladd_handler,
    .params = {{.label = "Level A ", .k = 1},
               {.label = "Multiply B ", .k = 1},
               {.label = "Level C ", .k = 1}},
    .defaults = {0.5, 0.5, 0.5},
    .inputCode = kConnOne,
};

// Sets no input kind at message 6.
inline constexpr KVmemberDesc kF33_packedRndMix{
    .id = 47,
    .computeName = "f33_packedRndMix",
    .name = " Packed random Mix",
    .compute = f33_packedRndMix,
    .handler = f33_packedRndMix_handler,
    .params = {{.label = "Amount ", .k = 2},
               {.label = "Phase ", .k = 32, .c = -16},
               {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0, 2},
    .on8 = f33_packedRndMix_prepare,
};

inline constexpr KVmemberDesc kF33_memPackedalpha{
    .id = 53,
    .computeName = "f33_memPackedalpha",
    .name = " Memory Packed Alpha",
    .compute = f33_memPackedalpha,
    .handler = f33_memPackedalpha_handler,
    .params = {f33packed::kThreshold, f33packed::kFeather},
    .defaults = {0, 0.5, kAbsentParam},
    .inputCode = kConnOne,
    .on8 = f33_packedalpha_prepare,
};
