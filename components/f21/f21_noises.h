// f21 members that sample the noise library over the plane: a value noise, a
// fractal value noise, and three patterns of jittered feature points (cones,
// bubbles, facets). Random noise, Fractal noise and Bubbles fade detail finer
// than the render's pixels, using the document's pixel density
// (sfuncSystem::yPixelScale). Every one reads the tables of its own document
// and gives the no-value marker where x or y holds it.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f21_random(gfunc* g);
void f21_fractalnoise(gfunc* g);
void f21_Cones(gfunc* g);
void f21_Bubbles(gfunc* g);
void f21_mosaic(gfunc* g);

int16_t f21_random_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_fractalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_Cones_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_Bubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_mosaic_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 precomputations (private area P1..P3).
void f21_random_precompute(gfunc* g);
void f21_fractalnoise_precompute(gfunc* g);
void f21_Cones_precompute(gfunc* g);
void f21_Bubbles_precompute(gfunc* g);
void f21_mosaic_precompute(gfunc* g);

inline constexpr KVmemberDesc kF21_random{
    .id = 11,
    .computeName = "f21_random",
    .name = " Random noise",
    .compute = f21_random,
    .handler = f21_random_handler,
    .params = {{.label = "Amplitude ", .k = 1.5, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {1, 0, 2},
    .on8 = f21_random_precompute,
};

// A fractal member: message 6 sets the frequency flag, with which parameter
// randomisation keeps C low and chooses this member less often.
inline constexpr KVmemberDesc kF21_fractalnoise{
    .id = 12,
    .computeName = "f21_fractalnoise",
    .name = " Fractal noise",
    .compute = f21_fractalnoise,
    .handler = f21_fractalnoise_handler,
    .params = {{.label = "Amplitude ", .k = 6, .c = -2},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 16, .c = 0}},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f21_fractalnoise_precompute,
};

inline constexpr KVmemberDesc kF21_Cones{
    .id = 18,
    .computeName = "f21_Cones",
    .name = " Random Cones ",
    .compute = f21_Cones,
    .handler = f21_Cones_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = -4},
               {.label = "Cone size ", .k = 5, .c = 1},
               {.label = "Frequency ", .k = 6, .c = 0}},
    .defaults = {2, 3, 1},
    .on8 = f21_Cones_precompute,
};

inline constexpr KVmemberDesc kF21_Bubbles{
    .id = 19,
    .computeName = "f21_Bubbles",
    .name = " Bubbles",
    .compute = f21_Bubbles,
    .handler = f21_Bubbles_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Bubble Size ", .k = 0.875, .c = 0.125},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {2, 1, 2},
    .on8 = f21_Bubbles_precompute,
};

inline constexpr KVmemberDesc kF21_mosaic{
    .id = 20,
    .computeName = "f21_mosaic",
    .name = " Facet",
    .compute = f21_mosaic,
    .handler = f21_mosaic_handler,
    .params = {{.label = "Frequency ", .k = 7.875, .c = 0.125},
               {.label = "Amplitude ", .k = 4, .c = -2},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {std::numbers::pi / 2, 1, 0},
    .on8 = f21_mosaic_precompute,
};
