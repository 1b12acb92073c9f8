// f43 members that composite whole colours arriving as packed links: the
// nearer of two colours by two depth inputs, and layer operations that add,
// multiply, interpolate and alpha-threshold a second and third colour (or an
// alpha) onto a base colour, weighted by w. A scalar link reads as a grey
// with the scalar in all three channels. Inside a loop whose passes run with
// the component's full loop mask, the compositing members start every pass
// after the first from their own outputs, and so build up their colour over
// the loop; every other evaluation starts from input 1.
#pragma once

#include "components/common/member.h"

void f43_packedRGBzsort(gfunc* g);
void f43_packedRGBzsortblend(gfunc* g);
void f43_packedmul_alpha(gfunc* g);
void f43_packedalpha_mul(gfunc* g);
void f43_packedalpha_add(gfunc* g);
void f43_packedlerp_alpha(gfunc* g);
void f43_packedlerpmul(gfunc* g);
void f43_packedaddmul_add(gfunc* g);
void f43_packedmuladd_mul(gfunc* g);
void f43_packedaddadd_mul(gfunc* g);
void f43_packedblend(gfunc* g);

int16_t f43_packedRGBzsort_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_packedRGBzsortblend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_packedmul_alpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_packedalpha_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_packedalpha_add_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_packedlerp_alpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_packedlerpmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_packedaddmul_add_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_packedmuladd_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_packedaddadd_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f43_packedblend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of Packed a*w alpha b: K1 = T = 8A, K2 = F = max(0.005, 8B),
// K3 = T + F.
void f43_packedmul_alpha_precompute(gfunc* g);

namespace f43detail {
inline constexpr KVparamDesc kUnit(std::string_view label)
{
  return {.label = label, .k = 1, .c = 0};
}
inline constexpr KVparamDesc kThreshold{.label = "Threshold ", .k = 2, .c = -1};
inline constexpr KVparamTriple kHalves{0.5, 0.5, 0.5};
inline constexpr KVparamTriple kAlphaDefaults{0, 0.5, 0.5};
}  // namespace f43detail

inline constexpr KVmemberDesc kF43_packedRGBzsort{
    .id = 10,
    .computeName = "f43_packedRGBzsort",
    .name = " Packed RGB w Min",
    .compute = f43_packedRGBzsort,
    .handler = f43_packedRGBzsort_handler,
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF43_packedalpha_mul{
    .id = 14,
    .computeName = "f43_packedalpha_mul",
    .name = " Packed Alpha *w",
    .compute = f43_packedalpha_mul,
    .handler = f43_packedalpha_mul_handler,
    .params = {f43detail::kThreshold, f43detail::kUnit("Feather "),
               f43detail::kUnit("Multiply w ")},
    .defaults = f43detail::kAlphaDefaults,
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF43_packedmul_alpha{
    .id = 15,
    .computeName = "f43_packedmul_alpha",
    .name = " Packed a*w alpha b",
    .compute = f43_packedmul_alpha,
    .handler = f43_packedmul_alpha_handler,
    .params = {f43detail::kThreshold, f43detail::kUnit("Feather "),
               f43detail::kUnit("Multiply w ")},
    .defaults = f43detail::kAlphaDefaults,
    .inputCode = kConnOne,
    .on8 = f43_packedmul_alpha_precompute,
};

inline constexpr KVmemberDesc kF43_packedalpha_add{
    .id = 16,
    .computeName = "f43_packedalpha_add",
    .name = " Packed (a+w) Alpha b",
    .compute = f43_packedalpha_add,
    .handler = f43_packedalpha_add_handler,
    .params = {f43detail::kThreshold, f43detail::kUnit("Feather "), f43detail::kUnit("Add w ")},
    .defaults = f43detail::kAlphaDefaults,
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF43_packedlerp_alpha{
    .id = 17,
    .computeName = "f43_packedlerp_alpha",
    .name = " Packed Blend & Alpha",
    .compute = f43_packedlerp_alpha,
    .handler = f43_packedlerp_alpha_handler,
    .params = {f43detail::kUnit("Blend AB "), f43detail::kUnit("Threshold "),
               f43detail::kUnit("Feather ")},
    .defaults = f43detail::kHalves,
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF43_packedaddadd_mul{
    .id = 18,
    .computeName = "f43_packedaddadd_mul",
    .name = " Packed Add & Add *w",
    .compute = f43_packedaddadd_mul,
    .handler = f43_packedaddadd_mul_handler,
    .params = {f43detail::kUnit("Add B "), f43detail::kUnit("Add C "),
               f43detail::kUnit("Multiply w ")},
    .defaults = f43detail::kHalves,
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF43_packedlerpmul{
    .id = 19,
    .computeName = "f43_packedlerpmul",
    .name = " Packed Add & Blend *w",
    .compute = f43_packedlerpmul,
    .handler = f43_packedlerpmul_handler,
    .params = {f43detail::kUnit("Add B "), f43detail::kUnit("Interpolate C "),
               f43detail::kUnit("Multiply w ")},
    .defaults = f43detail::kHalves,
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF43_packedaddmul_add{
    .id = 20,
    .computeName = "f43_packedaddmul_add",
    .name = " Packed Add & Mul +w",
    .compute = f43_packedaddmul_add,
    .handler = f43_packedaddmul_add_handler,
    .params = {f43detail::kUnit("Add B "), f43detail::kUnit("Mul C "), f43detail::kUnit("Add w ")},
    .defaults = f43detail::kHalves,
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF43_packedmuladd_mul{
    .id = 21,
    .computeName = "f43_packedmuladd_mul",
    .name = " Packed Mul & Add *w",
    .compute = f43_packedmuladd_mul,
    .handler = f43_packedmuladd_mul_handler,
    .params = {f43detail::kUnit("Mul B "), f43detail::kUnit("Add C "),
               f43detail::kUnit("Multiply w ")},
    .defaults = f43detail::kHalves,
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF43_packedRGBzsortblend{
    .id = 22,
    .computeName = "f43_packedRGBzsortblend",
    .name = " Packed RGB w Min Blend",
    .compute = f43_packedRGBzsortblend,
    .handler = f43_packedRGBzsortblend_handler,
    .params = {f43detail::kUnit("B transparency ")},
    .defaults = {0, kAbsentParam, kAbsentParam},
    .inputCode = kConnOne,
};

inline constexpr KVmemberDesc kF43_packedblend{
    .id = 23,
    .computeName = "f43_packedblend",
    .name = " Packed Blend *w & Blend",
    .compute = f43_packedblend,
    .handler = f43_packedblend_handler,
    .params = {f43detail::kUnit("Interpolate B "), f43detail::kUnit("Interpolate C "),
               f43detail::kUnit("Multiply w ")},
    .defaults = f43detail::kHalves,
    .inputCode = kConnOne,
};
