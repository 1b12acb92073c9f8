// f23 members that colour landscapes: cratered lunar rock from a
// multifractal with a colour per octave (the body rgblunarrock), a two-band
// gradient chosen by comparing two heights, grass that turns to rock on
// steep ground, and layered foliage. None tests its inputs for the marker.
// Outputs are red, green and blue (8 full).
#pragma once

#include <numbers>

#include "components/common/member.h"

void f23_lunarrock(gfunc* g);
void f23_MAXtogradient(gfunc* g);
void f23_slopegrass(gfunc* g);
void f23_foliage(gfunc* g);

int16_t f23_lunarrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_MAXtogradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_slopegrass_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_foliage_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: the lunar rock's amplitude and frequency; the gradient's four
// keys; the grass's skew matrix and top frequency; the foliage's contrast
// and frequency.
void f23_lunarrock_precompute(gfunc* g);
void f23_MAXtogradient_precompute(gfunc* g);
void f23_slopegrass_precompute(gfunc* g);
void f23_foliage_precompute(gfunc* g);

inline constexpr KVmemberDesc kF23_lunarrock{
    .id = 38,
    .computeName = "f23_lunarrock",
    .name = " Lunar rocks",
    .compute = f23_lunarrock,
    .handler = f23_lunarrock_handler,
    .params = {{.label = "Amplitude ", .k = 2},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0, 2},
    .on8 = f23_lunarrock_precompute,
};

// Input 1 and input 2 are two heights, not a point: input code 1.
inline constexpr KVmemberDesc kF23_MAXtogradient{
    .id = 39,
    .computeName = "f23_MAXtogradient",
    .name = " Max to gradient",
    .compute = f23_MAXtogradient,
    .handler = f23_MAXtogradient_handler,
    .params = {{.label = "Amplitude X ", .k = 2}, {.label = "Amplitude Y ", .k = 2}},
    .defaults = {0, 0.5, kAbsentParam},
    .inputCode = kConnOne,
    .on8 = f23_MAXtogradient_precompute,
};

inline constexpr KVmemberDesc kF23_slopegrass{
    .id = 40,
    .computeName = "f23_slopegrass",
    .name = " RGB grass",
    .compute = f23_slopegrass,
    .handler = f23_slopegrass_handler,
    .params = {{.label = "Amplitude ", .k = 1},
               {.label = "Skew angle ", .k = 2 * std::numbers::pi, .c = -std::numbers::pi},
               {.label = "Frequency ", .k = 31, .c = 1}},
    .defaults = {1, 0, 16},
    .on8 = f23_slopegrass_precompute,
};

inline constexpr KVmemberDesc kF23_foliage{
    .id = 41,
    .computeName = "f23_foliage",
    .name = " RGB foliage",
    .compute = f23_foliage,
    .handler = f23_foliage_handler,
    .params = {{.label = "Contrast ", .k = 4},
               {.label = "Hues Offset ", .k = 1},
               {.label = "Frequency ", .k = 32}},
    .defaults = {1, 0, 2},
    .on8 = f23_foliage_precompute,
};
