// f32 members that combine the plane point with z by plain arithmetic:
// scaling and offsetting by z, weighted multiplication, products, quotients,
// maxima and minima, a gated distance and a z-driven displacement.
#pragma once

#include "components/common/member.h"

void f32_zscaleoffset(gfunc* g);
int16_t f32_zscaleoffset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_zmul(gfunc* g);
int16_t f32_zmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_minmax(gfunc* g);
int16_t f32_minmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_xzdisplace(gfunc* g);
int16_t f32_xzdisplace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_max(gfunc* g);
int16_t f32_max_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_zmultiply(gfunc* g);
int16_t f32_zmultiply_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_minimum(gfunc* g);
int16_t f32_minimum_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_distgate(gfunc* g);
int16_t f32_distgate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_zdiv(gfunc* g);
int16_t f32_zdiv_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Messages 7 and 8: a scale base below 0.0625 becomes 1 (no scaling), and
// the base is at most 4.
void f32_zscaleoffset_holdC(gfunc* g);
// Message 8: K0 = C / 4.
void f32_zmul_precompute(gfunc* g);

inline constexpr KVmemberDesc kF32_zscaleoffset{
    .id = 0,
    .computeName = "f32_zscaleoffset",
    .name = " z Scale & Offset",
    .compute = f32_zscaleoffset,
    .handler = f32_zscaleoffset_handler,
    .params = {{.label = "Displace x ", .k = 64, .c = -32},
               {.label = "Displace y ", .k = 64, .c = -32},
               {.label = "z Scale ", .k = 3.9375, .c = 0.0625}},
    .defaults = {0, 0, 1.0},
    .on7 = f32_zscaleoffset_holdC,
    .on8 = f32_zscaleoffset_holdC,
};

inline constexpr KVmemberDesc kF32_zmul{
    .id = 1,
    .computeName = "f32_zmul",
    .name = " z Weighted Multiply",
    .compute = f32_zmul,
    .handler = f32_zmul_handler,
    .params = {{.label = "z Scale x ", .k = 8, .c = -4},
               {.label = "z Scale y ", .k = 8, .c = -4},
               {.label = "Amplitude ", .k = 4, .c = -2}},
    .defaults = {0, 0, 0.25},
    .on8 = f32_zmul_precompute,
};

inline constexpr KVmemberDesc kF32_minmax{
    .id = 2,
    .computeName = "f32_minmax",
    .name = " Max(x y z), Min(x y z)",
    .compute = f32_minmax,
    .handler = f32_minmax_handler,
};

inline constexpr KVmemberDesc kF32_xzdisplace{
    .id = 11,
    .computeName = "f32_xzdisplace",
    .name = " z Displace",
    .compute = f32_xzdisplace,
    .handler = f32_xzdisplace_handler,
    .params = {{.label = "Displace x ", .k = 8, .c = -4},
               {.label = "Displace y ", .k = 8, .c = -4},
               {.label = "Amplitude ", .k = 4, .c = -2}},
    .defaults = {1.0, 1.0, 1.0},
};

inline constexpr KVmemberDesc kF32_max{
    .id = 21,
    .computeName = "f32_max",
    .name = " Max(x z), Max(y z)",
    .compute = f32_max,
    .handler = f32_max_handler,
    .params = {{.label = "Phase x ", .k = 32, .c = -16},
               {.label = "Phase y ", .k = 32, .c = -16},
               {.label = "Phase z ", .k = 32, .c = -16}},
    .defaults = {0, 0, 0},
};

inline constexpr KVmemberDesc kF32_zmultiply{
    .id = 22,
    .computeName = "f32_zmultiply",
    .name = " z Multiply x*z, y*z",
    .compute = f32_zmultiply,
    .handler = f32_zmultiply_handler,
};

inline constexpr KVmemberDesc kF32_minimum{
    .id = 24,
    .computeName = "f32_minimum",
    .name = " Min(x z), Min(y z)",
    .compute = f32_minimum,
    .handler = f32_minimum_handler,
};

inline constexpr KVmemberDesc kF32_distgate{
    .id = 25,
    .computeName = "f32_distgate",
    .name = " Gated Distance",
    .compute = f32_distgate,
    .handler = f32_distgate_handler,
    .params = {{.label = "Threshold ", .k = 34, .c = -2},
               {.label = "Amplitude x ", .k = 3.75, .c = 0.25},
               {.label = "Amplitude y ", .k = 3.75, .c = 0.25}},
    .defaults = {8.0, 1.0, 1.0},
};

inline constexpr KVmemberDesc kF32_zdiv{
    .id = 35,
    .computeName = "f32_zdiv",
    .name = " z Divide x/z, y/z",
    .compute = f32_zdiv,
    .handler = f32_zdiv_handler,
};
