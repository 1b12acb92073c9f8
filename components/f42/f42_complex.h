// f42 members that read their inputs as two complex numbers Z = x + iy and
// C = z + iw: sums and products, quotient, powers plus C, escape-time maps
// of Z^2 + C and Z^3 + C with an outer slope, C(Z + 1/Z), C e^Z, C sin Z,
// a continued map over the document's octave count, a Moebius map, and the
// Escher disk fold. Every one follows the family's frame (f42_pvt.h): a
// sample whose x or z holds the no-value marker gives the marker on both
// outputs.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f42_add(gfunc* g);
void f42_Cadd(gfunc* g);
void f42_addNormalised(gfunc* g);
void f42_mul(gfunc* g);
void f42_div(gfunc* g);
void f42_mandel2(gfunc* g);
void f42_mandel3(gfunc* g);
void f42_mandel4(gfunc* g);
void f42_cexp(gfunc* g);
void f42_csin(gfunc* g);
void f42_ComplexMap4(gfunc* g);
void f42_moebius(gfunc* g);
void f42_cpower(gfunc* g);
void f42_Escher(gfunc* g);

int16_t f42_add_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_Cadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_addNormalised_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_div_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_mandel2_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_mandel3_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_mandel4_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_cexp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_csin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_ComplexMap4_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_moebius_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_cpower_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f42_Escher_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: Add normalized holds B at most 1, Z^3 + C holds C at least 0,
// the Moebius map stores its offsets -1 and C - 1 and N = B (cos A, sin A).
void f42_addNormalised_precompute(gfunc* g);
void f42_mandel3_precompute(gfunc* g);
void f42_moebius_precompute(gfunc* g);

// The Recursion counts of the escape-time maps: whole numbers 0..128, 0..64
// for the exponential map. A stored count is held to that range at every
// batch (NaN as 0).
inline constexpr int kF42MaxRecursion = 128;
inline constexpr int kF42MaxExpRecursion = 64;

namespace f42detail {
inline constexpr double kPi = std::numbers::pi;
inline constexpr KVparamDesc kRecursion{
    .label = "Recursion ", .k = kF42MaxRecursion, .c = 0, .truncate = true};
inline constexpr KVparamDesc kOuterSlope{.label = "Outer Slope ", .k = 4, .c = -2};
}  // namespace f42detail

inline constexpr KVmemberDesc kF42_add{
    .id = 0,
    .computeName = "f42_add",
    .name = " Complex add Z+C",
    .compute = f42_add,
    .handler = f42_add_handler,
    .params = {{.label = "Scale ", .k = 1.5, .c = 0.5}},
    .defaults = {1, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_mul{
    .id = 1,
    .computeName = "f42_mul",
    .name = " Complex multiply Z*C",
    .compute = f42_mul,
    .handler = f42_mul_handler,
};

inline constexpr KVmemberDesc kF42_div{
    .id = 2,
    .computeName = "f42_div",
    .name = " Complex divide Z/C",
    .compute = f42_div,
    .handler = f42_div_handler,
};

inline constexpr KVmemberDesc kF42_ComplexMap4{
    .id = 7,
    .computeName = "f42_ComplexMap4",
    .name = " ComplexMap 4D ",
    .compute = f42_ComplexMap4,
    .handler = f42_ComplexMap4_handler,
    .params = {{.label = "Real ", .k = 4, .c = -2}, {.label = "Imaginary ", .k = 4, .c = -2}},
    .defaults = {0.5, 0, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_addNormalised{
    .id = 16,
    .computeName = "f42_addNormalised",
    .name = " Add normalized",
    .compute = f42_addNormalised,
    .handler = f42_addNormalised_handler,
    .params = {{.label = "Scale ", .k = 4, .c = -2}, {.label = "Normalize ", .k = 1, .c = 0}},
    .defaults = {1, 0, kAbsentParam},
    .on8 = f42_addNormalised_precompute,
};

inline constexpr KVmemberDesc kF42_mandel2{
    .id = 17,
    .computeName = "f42_mandel2",
    .name = " Complex Z^2 + C ",
    .compute = f42_mandel2,
    .handler = f42_mandel2_handler,
    .params = {f42detail::kRecursion, f42detail::kOuterSlope},
    .defaults = {0, 1, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_mandel3{
    .id = 18,
    .computeName = "f42_mandel3",
    .name = " Complex Z^3 + C ",
    .compute = f42_mandel3,
    .handler = f42_mandel3_handler,
    .params = {f42detail::kRecursion,
               f42detail::kOuterSlope,
               {.label = "Outer offset ", .k = 1, .c = 0}},
    .defaults = {0, 1, 0},
    .on8 = f42_mandel3_precompute,
};

// Ids 19, 21 and 22 keep A out of parameter randomisation (written-out
// handlers set the lock flag at message 6).
inline constexpr KVmemberDesc kF42_mandel4{
    .id = 19,
    .computeName = "f42_mandel4",
    .name = " Complex C(Z+ 1/Z) ",
    .compute = f42_mandel4,
    .handler = f42_mandel4_handler,
    .params = {f42detail::kRecursion},
    .defaults = {0, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_Escher{
    .id = 20,
    .computeName = "f42_Escher",
    .name = " Escher disks",
    .compute = f42_Escher,
    .handler = f42_Escher_handler,
    .params = {{.label = "Offset x ", .k = 1, .c = 0},
               {.label = "Offset y ", .k = 1, .c = 0},
               {.label = "Radius ", .k = 1.5, .c = 0.5}},
    .defaults = {0.25, 0, 1},
};

inline constexpr KVmemberDesc kF42_cexp{
    .id = 21,
    .computeName = "f42_cexp",
    .name = " Complex exp C e^Z ",
    .compute = f42_cexp,
    .handler = f42_cexp_handler,
    .params = {{.label = "Recursion ", .k = kF42MaxExpRecursion, .c = 0, .truncate = true}},
    .defaults = {0, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_csin{
    .id = 22,
    .computeName = "f42_csin",
    .name = " Complex C sin Z",
    .compute = f42_csin,
    .handler = f42_csin_handler,
    .params = {f42detail::kRecursion, f42detail::kOuterSlope},
    .defaults = {0, 1, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_Cadd{
    .id = 26,
    .computeName = "f42_Cadd",
    .name = " Complex add N*Z+C",
    .compute = f42_Cadd,
    .handler = f42_Cadd_handler,
    .params = {{.label = "N real part ", .k = 8, .c = -4},
               {.label = "N imaginary  part ", .k = 8, .c = -4}},
    .defaults = {1, 0, kAbsentParam},
};

inline constexpr KVmemberDesc kF42_moebius{
    .id = 28,
    .computeName = "f42_moebius",
    .name = " Moebius(Z) + C ",
    .compute = f42_moebius,
    .handler = f42_moebius_handler,
    .params = {{.label = "Angle ", .k = 4 * f42detail::kPi, .c = -2 * f42detail::kPi},
               {.label = "Scale ", .k = 8, .c = -4},
               {.label = "Imaginary ", .k = 4 * f42detail::kPi, .c = -2 * f42detail::kPi}},
    .defaults = {0, 1, 0},
    .on8 = f42_moebius_precompute,
};

inline constexpr KVmemberDesc kF42_cpower{
    .id = 29,
    .computeName = "f42_cpower",
    .name = " Complex power Z^n + C ",
    .compute = f42_cpower,
    .handler = f42_cpower_handler,
    .params = {{.label = "n power exponent ", .k = 16, .c = -8}},
    .defaults = {0.5, kAbsentParam, kAbsentParam},
};
