// f32 members that move the plane point by a field depending on z: bubbles
// and inversions in jittered circles, a complex inversion with z as a third
// coordinate, the strange-web map, a facet space scaled by z, and four 3D
// noise displacements sampled at (x, y, z).
#pragma once

#include "components/common/member.h"
#include "components/f32/f32_pvt.h"

void f32_multibubbles(gfunc* g);
int16_t f32_multibubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_complexinversion(gfunc* g);
int16_t f32_complexinvert_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_multiinvert(gfunc* g);
int16_t f32_multiinvert_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_strangeweb(gfunc* g);
int16_t f32_strangeweb_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_random(gfunc* g);
int16_t f32_random_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_fract(gfunc* g);
int16_t f32_fract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_zfacetspace(gfunc* g);
int16_t f32_zfacetspace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_fractSpace(gfunc* g);
int16_t f32_fractSpace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
void f32_multiperlin(gfunc* g);
int16_t f32_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of each member: its constants K0..K3.
void f32_multibubbles_precompute(gfunc* g);
void f32_complexinversion_precompute(gfunc* g);
void f32_strangeweb_precompute(gfunc* g);
void f32_random_precompute(gfunc* g);
void f32_fract_precompute(gfunc* g);
void f32_zfacetspace_precompute(gfunc* g);
void f32_fractSpace_precompute(gfunc* g);
void f32_multiperlin_precompute(gfunc* g);

inline constexpr KVmemberDesc kF32_multibubbles{
    .id = 6,
    .computeName = "f32_multibubbles",
    .name = " Multi bubbles",
    .compute = f32_multibubbles,
    .handler = f32_multibubbles_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = -2},
               {.label = "Phase ", .k = 16, .c = -8},
               {.label = "Z Scale ", .k = 4, .c = -2}},
    .defaults = {1.0, 1.0, 1.0},
    .on8 = f32_multibubbles_precompute,
};

inline constexpr KVmemberDesc kF32_complexinversion{
    .id = 7,
    .computeName = "f32_complexinversion",
    .name = " Complex inversion",
    .compute = f32_complexinversion,
    .handler = f32_complexinvert_handler,
    .params = {{.label = "Scale ", .k = 4, .c = -2}, {.label = "Amplitude ", .k = 4, .c = -2}},
    .defaults = {1.0, 1.0, kAbsentParam},
    .on8 = f32_complexinversion_precompute,
};

inline constexpr KVmemberDesc kF32_multiinvert{
    .id = 9,
    .computeName = "f32_multiinvert",
    .name = " Multi inverse",
    .compute = f32_multiinvert,
    .handler = f32_multiinvert_handler,
    .params = {{.label = "Amplitude ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 0.9375, .c = 0.0625},
               {.label = "Phase ", .k = 16, .c = -8}},
    .defaults = {1.0, 1.0, 1.0},
};

inline constexpr KVmemberDesc kF32_strangeweb{
    .id = 10,
    .computeName = "f32_strangeweb",
    .name = " Strange web",
    .compute = f32_strangeweb,
    .handler = f32_strangeweb_handler,
    .params = {{.label = "Real ", .k = 4, .c = -2},
               {.label = "Imaginary ", .k = 4, .c = -2},
               {.label = "z Distort", .k = 4, .c = -2}},
    .defaults = {1.0, 1.0, 1.0},
    .on8 = f32_strangeweb_precompute,
};

inline constexpr KVmemberDesc kF32_random{
    .id = 15,
    .computeName = "f32_random",
    .name = " Random 3D noise",
    .compute = f32_random,
    .handler = f32_random_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = -2},
               {.label = "Frequency ", .k = 6, .c = -2},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {1.0, 1.0, 0},
    .on8 = f32_random_precompute,
};

inline constexpr KVmemberDesc kF32_fract{
    .id = 16,
    .computeName = "f32_fract",
    .name = " Turbulence 3D ",
    .compute = f32_fract,
    .handler = f32_fract_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = 0},
               {.label = "Frequency ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {1.0, 1.0, 0},
    .freqFlag = 1,
    .inputCode = kConnThreeOut,
    .on8 = f32_fract_precompute,
};

inline constexpr KVmemberDesc kF32_zfacetspace{
    .id = 19,
    .computeName = "f32_zfacetspace",
    .name = " z Facet space",
    .compute = f32_zfacetspace,
    .handler = f32_zfacetspace_handler,
    .params = {{.label = "Amplitude ", .k = 1.875, .c = 0.125},
               {.label = "Delta size ", .k = 6, .c = 0},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {1.0, 3.0, 0.5},
    .on8 = f32_zfacetspace_precompute,
};

inline constexpr KVmemberDesc kF32_fractSpace{
    .id = 23,
    .computeName = "f32_fractSpace",
    .name = " Random Fractal Space",
    .compute = f32_fractSpace,
    .handler = f32_fractSpace_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 4, .c = 0}},
    .defaults = {1.0, 0, 0.5},
    .freqFlag = 1,
    .inputCode = kConnThreeOut,
    .on8 = f32_fractSpace_precompute,
};

inline constexpr KVmemberDesc kF32_multiperlin{
    .id = 27,
    .computeName = "f32_multiperlin",
    .name = " Multi Perlin random",
    .compute = f32_multiperlin,
    .handler = f32_multiperlin_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = 0},
               {.label = "Octaves ", .k = 127, .c = 1},
               {.label = "Frequency ", .k = 16, .c = 0}},
    .defaults = {1.0, 4.0, 2.0},
    .freqFlag = 1,
    .inputCode = kConnThreeOut,
    .on8 = f32_multiperlin_precompute,
};
