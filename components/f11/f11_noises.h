// f11 members that map the input through one-dimensional value and gradient
// noises, fractal sums, random grains and randomized staircases. They are
// pure functions of the input, the parameters and the document's lookup
// tables, so every render task gives the same values. A masked input gives
// the marker; a sample whose lattice cell is not a number or leaves the
// 32-bit range gives 0, as the noise library does.
#pragma once

#include <cstdint>
#include <numbers>

#include "components/common/member.h"
#include "noise/kvtables.h"

void f11_random(gfunc* g);
void f11_randomize(gfunc* g);
void f11_fractalnoise(gfunc* g);
void f11_grains(gfunc* g);
void f11_periodRnd(gfunc* g);
void f11_discretRandom(gfunc* g);
void f11_multiperlin(gfunc* g);
void f11_smoothsteps(gfunc* g);
void f11_linrandom(gfunc* g);

int16_t f11_random_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_randomize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_fractalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_grains_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_periodRnd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_discretRandom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_smoothsteps_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_linrandom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// The grain sum at position u (before the final shaping of Grains): grains
// sit on the lattice points n = cell(u) and n - 1 whose permutation value is
// above 512, each jittered and of half-width 0.25/sharpness. 0 to 1 where
// grains do not overlap; 0 for a u whose cell leaves the 32-bit range.
double Grain1D(const KVtables* t, double u, double sharpness);

// The staircase level of Smooth Steps at position u in lattice cell j: the
// step j + R h(j + 773), reached smoothly over the first half of the cell
// from the level of the cell before.
double stepsignal(const KVtables* t, double u, int32_t j, double randomness);

// The quantizing amount of Smooth Steps at position v in cell k: 1 when the
// randomness is not above 0, otherwise a random blend between 1 - randomness
// and 1, changing smoothly over the first half of each cell.
double amounteffect(const KVtables* t, double v, int32_t k, double randomness);

// Precomputations into K1..K4 at message 8 (Random also makes B |B|).
void f11_random_precompute(gfunc* g);
void f11_randomize_precompute(gfunc* g);
void f11_fractalnoise_precompute(gfunc* g);
void f11_grains_precompute(gfunc* g);
void f11_periodRnd_precompute(gfunc* g);
void f11_discretRandom_precompute(gfunc* g);
void f11_multiperlin_precompute(gfunc* g);
void f11_smoothsteps_precompute(gfunc* g);
void f11_linrandom_precompute(gfunc* g);

// Message 9 of Periodic Random: trees of version 15 or older get A and the
// keyframe A values multiplied by pi/2.
void f11_periodRnd_convert(gfunc* g);

inline constexpr KVmemberDesc kF11_random{
    .id = 5,
    .computeName = "f11_random",
    .name = " Random",
    .compute = f11_random,
    .handler = f11_random_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Frequency ", .k = 16, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {1, 1, 0},
    .on8 = f11_random_precompute,
};

inline constexpr KVmemberDesc kF11_randomize{
    .id = 25,
    .computeName = "f11_randomize",
    .name = " Randomize",
    .compute = f11_randomize,
    .handler = f11_randomize_handler,
    .params = {{.label = "Amount ", .k = 8, .c = 0},
               {.label = "Frequency ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 32, .c = -16}},
    .defaults = {1, 1, 0},
    .on8 = f11_randomize_precompute,
};

inline constexpr KVmemberDesc kF11_fractalnoise{
    .id = 35,
    .computeName = "f11_fractalnoise",
    .name = " Fractal noise",
    .compute = f11_fractalnoise,
    .handler = f11_fractalnoise_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Frequency ", .k = 16, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {4, 1, 0},
    .freqFlag = 1,
    .on8 = f11_fractalnoise_precompute,
};

inline constexpr KVmemberDesc kF11_grains{
    .id = 36,
    .computeName = "f11_grains",
    .name = " Grains",
    .compute = f11_grains,
    .handler = f11_grains_handler,
    .params = {{.label = "Frequency ", .k = 8, .c = 0},
               {.label = "Size ", .k = 1, .c = 0},
               {.label = "Amplitude ", .k = 16, .c = 0}},
    .defaults = {4 / std::numbers::pi, 0.5, 2},
    .on8 = f11_grains_precompute,
};

inline constexpr KVmemberDesc kF11_periodRnd{
    .id = 37,
    .computeName = "f11_periodRnd",
    .name = " Periodic Random",
    .compute = f11_periodRnd,
    .handler = f11_periodRnd_handler,
    .params = {{.label = "Frequency ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Amplitude ", .k = 16, .c = 0}},
    .defaults = {2, 0, 4},
    .on8 = f11_periodRnd_precompute,
    .on9 = f11_periodRnd_convert,
};

inline constexpr KVmemberDesc kF11_discretRandom{
    .id = 41,
    .computeName = "f11_discretRandom",
    .name = " Discrete Random",
    .compute = f11_discretRandom,
    .handler = f11_discretRandom_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = 0},
               {.label = "Frequency ", .k = 16, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {4, 1, 0},
    .on8 = f11_discretRandom_precompute,
};

inline constexpr KVmemberDesc kF11_multiperlin{
    .id = 44,
    .computeName = "f11_multiperlin",
    .name = " Multi Perlin noise",
    .compute = f11_multiperlin,
    .handler = f11_multiperlin_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Octaves ", .k = 127, .c = 1},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {4, 4, 2},
    .on8 = f11_multiperlin_precompute,
};

inline constexpr KVmemberDesc kF11_smoothsteps{
    .id = 45,
    .computeName = "f11_smoothsteps",
    .name = " Smooth Steps",
    .compute = f11_smoothsteps,
    .handler = f11_smoothsteps_handler,
    .params = {{.label = "Amplitude ", .k = 1, .c = 0},
               {.label = "Randomness ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 7.9375, .c = 0.0625}},
    .defaults = {0.9, 1, 1},
    .on8 = f11_smoothsteps_precompute,
};

inline constexpr KVmemberDesc kF11_linrandom{
    .id = 47,
    .computeName = "f11_linrandom",
    .name = " Linear Random",
    .compute = f11_linrandom,
    .handler = f11_linrandom_handler,
    .params = {{.label = "Amplitude ", .k = 16, .c = -8},
               {.label = "Frequency ", .k = 16, .c = 0},
               {.label = "Phase ", .k = 64, .c = -32}},
    .defaults = {4, 1, 0},
    .on8 = f11_linrandom_precompute,
};
