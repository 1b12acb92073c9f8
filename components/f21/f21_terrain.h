// f21 members that give height fields for landscapes: craters, lightning
// strokes, volcanoes, and rocks and ranges from the parameterised
// multifractal driver with the rock bodies of the noise library. The fractal
// members compare their frequency with the adjusted pixel density
// (KV_adjustedDensity) and set the frequency flag at message 6, as Fractal
// noise does. Every one gives the no-value marker where x or y holds it.
#pragma once

#include <numbers>

#include "components/common/member.h"

void f21_Craters(gfunc* g);
void f21_sparcefractal(gfunc* g);
void f21_erodedfractal(gfunc* g);
void f21_lightnings(gfunc* g);
void f21_lunarrock(gfunc* g);
void f21_bubblerock(gfunc* g);
void f21_ridgedtomf(gfunc* g);
void f21_stonescluster(gfunc* g);
void f21_sharpfaultrock(gfunc* g);
void f21_volcanoes(gfunc* g);

int16_t f21_Craters_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_sparcefractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_erodedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_lightnings_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_lunarrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_bubblerock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_ridgedtomf_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_stonescluster_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_sharpfaultrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_volcanoes_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 precomputations (private area P1..P3).
void f21_sparcefractal_precompute(gfunc* g);
void f21_erodedfractal_precompute(gfunc* g);
void f21_lightnings_precompute(gfunc* g);
void f21_rock8_precompute(gfunc* g);  // a = A / 64, F = C / 8 (Lunar and Bubble rocks)
void f21_ridgedtomf_precompute(gfunc* g);
void f21_stonescluster_precompute(gfunc* g);
void f21_sharpfaultrock_precompute(gfunc* g);
void f21_volcanoes_precompute(gfunc* g);

inline constexpr KVparamDesc kF21_rockParams[3] = {{.label = "Amplitude ", .k = 4, .c = 0},
                                                   {.label = "Phase ", .k = 64, .c = -32},
                                                   {.label = "Frequency ", .k = 32, .c = 0}};

inline constexpr KVmemberDesc kF21_Craters{
    .id = 42,
    .computeName = "f21_Craters",
    .name = " Craters",
    .compute = f21_Craters,
    .handler = f21_Craters_handler,
    .params = {{.label = "Amplitude ", .k = 3.875, .c = 0.125},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 7.875, .c = 0.125}},
    .defaults = {1, 0, 2},
};

inline constexpr KVmemberDesc kF21_sparcefractal{
    .id = 49,
    .computeName = "f21_sparcefractal",
    .name = " Sparse fractal rocks",
    .compute = f21_sparcefractal,
    .handler = f21_sparcefractal_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0},
               {.label = "Sparseness ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {1, 0.75, 2},
    .freqFlag = 1,
    .on8 = f21_sparcefractal_precompute,
};

inline constexpr KVmemberDesc kF21_erodedfractal{
    .id = 50,
    .computeName = "f21_erodedfractal",
    .name = " Eroded Fractal",
    .compute = f21_erodedfractal,
    .handler = f21_erodedfractal_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0},
               {.label = "Erosion level ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 16, .c = 0}},
    .defaults = {1, 0.5, 1},
    .freqFlag = 1,
    .on8 = f21_erodedfractal_precompute,
};

inline constexpr KVmemberDesc kF21_lightnings{
    .id = 51,
    .computeName = "f21_lightnings",
    .name = " Lightning",
    .compute = f21_lightnings,
    .handler = f21_lightnings_handler,
    .params = {{.label = "Amplitude ", .k = 4, .c = -2},
               {.label = "Rotation ", .k = 2 * std::numbers::pi, .c = -std::numbers::pi},
               {.label = "Offset ", .k = 4 * std::numbers::pi, .c = -2 * std::numbers::pi}},
    .defaults = {0.5, -0.5, 2},
    .on8 = f21_lightnings_precompute,
};

inline constexpr KVmemberDesc kF21_lunarrock{
    .id = 54,
    .computeName = "f21_lunarrock",
    .name = " Lunar rocks",
    .compute = f21_lunarrock,
    .handler = f21_lunarrock_handler,
    .params = {kF21_rockParams[0], kF21_rockParams[1], kF21_rockParams[2]},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f21_rock8_precompute,
};

inline constexpr KVmemberDesc kF21_bubblerock{
    .id = 55,
    .computeName = "f21_bubblerock",
    .name = " Bubble rocks",
    .compute = f21_bubblerock,
    .handler = f21_bubblerock_handler,
    .params = {kF21_rockParams[0], kF21_rockParams[1], kF21_rockParams[2]},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f21_rock8_precompute,
};

inline constexpr KVmemberDesc kF21_ridgedtomf{
    .id = 56,
    .computeName = "f21_ridgedtomf",
    .name = " Mountain Ranges",
    .compute = f21_ridgedtomf,
    .handler = f21_ridgedtomf_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = 0},
               {.label = "Roughness ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {4, 0.5, 1},
    .freqFlag = 1,
    .on8 = f21_ridgedtomf_precompute,
};

inline constexpr KVmemberDesc kF21_stonescluster{
    .id = 57,
    .computeName = "f21_stonescluster",
    .name = " Stone Clusters ",
    .compute = f21_stonescluster,
    .handler = f21_stonescluster_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {1, 0, 4},
    .freqFlag = 1,
    .on8 = f21_stonescluster_precompute,
};

inline constexpr KVmemberDesc kF21_sharpfaultrock{
    .id = 59,
    .computeName = "f21_sharpfaultrock",
    .name = " Stratified rocks",
    .compute = f21_sharpfaultrock,
    .handler = f21_sharpfaultrock_handler,
    .params = {kF21_rockParams[0], kF21_rockParams[1], kF21_rockParams[2]},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f21_sharpfaultrock_precompute,
};

inline constexpr KVmemberDesc kF21_volcanoes{
    .id = 60,
    .computeName = "f21_volcanoes",
    .name = " Volcanoes ",
    .compute = f21_volcanoes,
    .handler = f21_volcanoes_handler,
    .params = {{.label = "Amplitude ", .k = 32, .c = -16},
               {.label = "Displacement ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 16, .c = 0}},
    .defaults = {4, 0.5, 2},
    .freqFlag = 1,
    .on8 = f21_volcanoes_precompute,
};
