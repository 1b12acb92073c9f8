// Sine, cell and altitude f31 members: products and sums of table sines, a
// sine shader whose contrast follows z, circles and bubbles on a lattice
// whose size follows z, a crystal facet pattern seen in perspective, and
// three members that compose fields by altitude (Displace by alt, Blend by
// alt) or by a noise over the master coordinates (Random Mix).
#pragma once

#include "components/f31/f31_pvt.h"

void f31_sinmul(gfunc* g);
void f31_sinadd(gfunc* g);
void f31_sinshader(gfunc* g);
void f31_circles(gfunc* g);
void f31_zbubbles(gfunc* g);
void f31_mosaic(gfunc* g);
void f31_displace_byalt(gfunc* g);
void f31_compose_byalt(gfunc* g);
void f31_RndMix(gfunc* g);

int16_t f31_sinmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_sinadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_sinshader_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_circles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_zbubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_mosaic_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_displace_byalt_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_compose_byalt_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_RndMix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f31_zbubbles_prepare(gfunc* g);
void f31_byalt_prepare(gfunc* g);
void f31_RndMix_prepare(gfunc* g);

namespace f31sine {
inline constexpr KVparamDesc kAltitudeFx{.label = "Altitude fx ", .k = 32, .c = -16};
inline constexpr KVparamDesc kRange{.label = "Range ", .k = 7.9, .c = 0.1};
inline constexpr KVparamDesc kContrast4{.label = "Contrast ", .k = 4, .c = -2};
}  // namespace f31sine

inline constexpr KVmemberDesc kF31_sinmul{
    .id = 4,
    .computeName = "f31_sinmul",
    .name = " 3D Sin x*Sin y*Sin z",
    .compute = f31_sinmul,
    .handler = f31_sinmul_handler,
    .params = {kF31amplitude8, kF31phase64, kF31frequency8},
    .defaults = {4, 0, 2},
};

inline constexpr KVmemberDesc kF31_sinadd{
    .id = 5,
    .computeName = "f31_sinadd",
    .name = " 3D Sin x+Sin y+Sin z",
    .compute = f31_sinadd,
    .handler = f31_sinadd_handler,
    .params = {kF31amplitude8, kF31phase64, kF31frequency8},
    .defaults = {4, 0, 2},
};

inline constexpr KVmemberDesc kF31_sinshader{
    .id = 6,
    .computeName = "f31_sinshader",
    .name = " z Sin shader",
    .compute = f31_sinshader,
    .handler = f31_sinshader_handler,
    .params = {{.label = "Amplitude ", .k = 2.5, .c = 0.5},
               {.label = "Z scale ", .k = 4, .c = -2},
               f31sine::kContrast4},
    .defaults = {0.5, 0.75, 1},
};

inline constexpr KVmemberDesc kF31_circles{
    .id = 7,
    .computeName = "f31_circles",
    .name = " z Circles",
    .compute = f31_circles,
    .handler = f31_circles_handler,
    .params = {{.label = "Frequency ", .k = 6.220685307179586, .c = 0.0625},
               {.label = "Contrast ", .k = 1.5, .c = 0.5},
               {.label = "Altitude ", .k = 4, .c = -2}},
    .defaults = {0.5, 0.75, 1.5},
};

inline constexpr KVmemberDesc kF31_zbubbles{
    .id = 11,
    .computeName = "f31_zbubbles",
    .name = " z Bubbles ",
    .compute = f31_zbubbles,
    .handler = f31_zbubbles_handler,
    .params = {{.label = "Scale ", .k = 4, .c = -2},
               f31sine::kContrast4,
               {.label = "Phase ", .k = 4, .c = -2}},
    .defaults = {1, 1, 0},
    .on8 = f31_zbubbles_prepare,
};

inline constexpr KVmemberDesc kF31_mosaic{
    .id = 1,
    .computeName = "f31_mosaic",
    .name = " Facet pers",
    .compute = f31_mosaic,
    .handler = f31_mosaic_handler,
    .params = {{.label = "Frequency ", .k = 2},
               {.label = "Z scale ", .k = 1, .c = -0.5},
               {.label = "Contrast ", .k = 1}},
    .defaults = {1, 0, 0},
};

inline constexpr KVmemberDesc kF31_displace_byalt{
    .id = 40,
    .computeName = "f31_displace_byalt",
    .name = " Displace by alt (z) ",
    .compute = f31_displace_byalt,
    .handler = f31_displace_byalt_handler,
    .params = {f31sine::kAltitudeFx, {.label = "Altitude fy ", .k = 36, .c = -4}, f31sine::kRange},
    .defaults = {0, 4, 2},
    .on8 = f31_byalt_prepare,
};

inline constexpr KVmemberDesc kF31_compose_byalt{
    .id = 41,
    .computeName = "f31_compose_byalt",
    .name = " Blend by alt (z) ",
    .compute = f31_compose_byalt,
    .handler = f31_compose_byalt_handler,
    .params = {f31sine::kAltitudeFx, {.label = "Altitude fy ", .k = 40, .c = -8}, f31sine::kRange},
    .defaults = {0, 4, 2},
    .on8 = f31_byalt_prepare,
};

inline constexpr KVmemberDesc kF31_RndMix{
    .id = 42,
    .computeName = "f31_RndMix",
    .name = " Random Mix",
    .compute = f31_RndMix,
    .handler = f31_RndMix_handler,
    .params = {{.label = "Amount ", .k = 2}, kF31phase64, kF31frequency16},
    .defaults = {1, 0, 2},
    .inputCode = 1,
    .on8 = f31_RndMix_prepare,
};
