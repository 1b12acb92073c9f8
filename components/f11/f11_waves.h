// f11 members that turn the input into a wave, a bell, a periodic ramp, a
// folded, split or quantized copy of itself, or a sequence of musical pitch
// ratios. Every one gives the no-value marker where the input holds it,
// except the uniform-input paths of Sin x, Gaussian and Plateau, which
// compute once from the first element.
#pragma once

#include <cstdint>
#include <numbers>

#include "components/common/member.h"

void f11_Sine(gfunc* g);
void f11_xplusASine(gfunc* g);
void f11_powerSin(gfunc* g);
void f11_gauss(gfunc* g);
void f11_sawWave(gfunc* g);
void f11_EnvSine(gfunc* g);
void f11_powerStep(gfunc* g);
void f11_ArchWave(gfunc* g);
void f11_quantize(gfunc* g);
void f11_sinc(gfunc* g);
void f11_plateau(gfunc* g);
void f11_tile(gfunc* g);
void f11_split_stretch(gfunc* g);
void f11_slidemirror(gfunc* g);
void f11_saw(gfunc* g);
void f11_modulo(gfunc* g);
void f11_semitonesSeq(gfunc* g);

int16_t f11_Sine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_xplusASine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_powerSin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_gauss_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_sawWave_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_EnvSine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_powerStep_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_ArchWave_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_quantize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_sinc_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_plateau_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_tile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_split_stretch_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_slidemirror_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_saw_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_modulo_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_semitonesSeq_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Precomputations into K1..K3 at message 8; Quantize, Mirror and Modulo also
// hold parameters in range there.
void f11_powerSin_precompute(gfunc* g);
void f11_sawWave_precompute(gfunc* g);
void f11_powerStep_precompute(gfunc* g);
void f11_quantize_precompute(gfunc* g);
void f11_sinc_precompute(gfunc* g);
void f11_tile_precompute(gfunc* g);
void f11_split_stretch_precompute(gfunc* g);
void f11_slidemirror_precompute(gfunc* g);
void f11_saw_precompute(gfunc* g);
void f11_modulo_precompute(gfunc* g);
void f11_semitonesSeq_precompute(gfunc* g);

// Message 9: trees of version 15 or older (Saw wave: 16 or older) stored A
// in other units; A and the keyframe A values are multiplied by pi (Tile
// wave: pi/2).
void f11_Sine_convert(gfunc* g);
void f11_sawWave_convert(gfunc* g);
void f11_EnvSine_convert(gfunc* g);
void f11_ArchWave_convert(gfunc* g);
void f11_sinc_convert(gfunc* g);
void f11_tile_convert(gfunc* g);

// Semitones Seq: the private record, K1..K4 followed by the semitone table
// that message 8 fills.
inline constexpr int kF11SemitoneEntries = 64;

// The table entry that sample value x reads with `loops` loops; loops is
// held to 1..64 and the remainder of trunc(x) taken into 0..loops-1.
int f11_semitonesSeq_index(double x, double loops);

namespace f11detail {
inline constexpr double kPi = std::numbers::pi;
}

inline constexpr KVmemberDesc kF11_Sine{
    .id = 1,
    .computeName = "f11_Sine",
    .name = " Sin x",
    .compute = f11_Sine,
    .handler = f11_Sine_handler,
    .params = {{.label = "Frequency ", .k = 16, .c = -8},
               {.label = "Phase ", .k = 8 * f11detail::kPi, .c = -4 * f11detail::kPi},
               {.label = "Amplitude ", .k = 16, .c = 0}},
    .defaults = {1, 0, f11detail::kPi / 2},
    .on9 = f11_Sine_convert,
};

inline constexpr KVmemberDesc kF11_xplusASine{
    .id = 4,
    .computeName = "f11_xplusASine",
    .name = " x + A sin Bx",
    .compute = f11_xplusASine,
    .handler = f11_xplusASine_handler,
    .params = {{.label = "Amplitude ", .k = 2, .c = 0}, {.label = "Frequency ", .k = 6, .c = -2}},
    .defaults = {1.5, f11detail::kPi, kAbsentParam},
};

inline constexpr KVmemberDesc kF11_powerSin{
    .id = 7,
    .computeName = "f11_powerSin",
    .name = " Power sin",
    .compute = f11_powerSin,
    .handler = f11_powerSin_handler,
    .params = {{.label = "Frequency ", .k = 4, .c = 0},
               {.label = "Phase ", .k = 8 * f11detail::kPi, .c = -4 * f11detail::kPi},
               {.label = "Power ", .k = 4, .c = 0}},
    .defaults = {2, 1, 1},
    .on8 = f11_powerSin_precompute,
};

inline constexpr KVmemberDesc kF11_gauss{
    .id = 8,
    .computeName = "f11_gauss",
    .name = " Gaussian ",
    .compute = f11_gauss,
    .handler = f11_gauss_handler,
    .params = {{.label = "Power ", .k = 127.9999, .c = 0.0001},
               {.label = "Phase ", .k = 8 * f11detail::kPi, .c = -4 * f11detail::kPi},
               {.label = "Amplitude ", .k = 8, .c = 0}},
    .defaults = {1, 0, f11detail::kPi},
};

inline constexpr KVmemberDesc kF11_sawWave{
    .id = 9,
    .computeName = "f11_sawWave",
    .name = " Saw wave",
    .compute = f11_sawWave,
    .handler = f11_sawWave_handler,
    .params = {{.label = "Frequency ", .k = 16, .c = -8},
               {.label = "Phase ", .k = 8 * f11detail::kPi, .c = -4 * f11detail::kPi},
               {.label = "Amplitude ", .k = 16, .c = 0}},
    .defaults = {1, 0, f11detail::kPi / 2},
    .on8 = f11_sawWave_precompute,
    .on9 = f11_sawWave_convert,
};

inline constexpr KVmemberDesc kF11_EnvSine{
    .id = 16,
    .computeName = "f11_EnvSine",
    .name = " x(Sin x)",
    .compute = f11_EnvSine,
    .handler = f11_EnvSine_handler,
    .params = {{.label = "Frequency ", .k = 3.875, .c = 0.125},
               {.label = "Phase ", .k = 4 * f11detail::kPi, .c = -2 * f11detail::kPi},
               {.label = "Amplitude ", .k = 3.75, .c = 0.25}},
    .defaults = {2, 0, 1},
    .on9 = f11_EnvSine_convert,
};

inline constexpr KVmemberDesc kF11_powerStep{
    .id = 21,
    .computeName = "f11_powerStep",
    .name = " Power slope",
    .compute = f11_powerStep,
    .handler = f11_powerStep_handler,
    .params = {{.label = "Size ", .k = 7.75, .c = 0.25},
               {.label = "Phase ", .k = 32, .c = -16},
               {.label = "Power ", .k = 15.875, .c = 0.125}},
    .defaults = {4, -1, 8},
    .on8 = f11_powerStep_precompute,
};

inline constexpr KVmemberDesc kF11_ArchWave{
    .id = 31,
    .computeName = "f11_ArchWave",
    .name = " U wave",
    .compute = f11_ArchWave,
    .handler = f11_ArchWave_handler,
    .params = {{.label = "Frequency ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 8 * f11detail::kPi, .c = -4 * f11detail::kPi},
               {.label = "Amplitude ", .k = 4, .c = 0}},
    .defaults = {1, 0, f11detail::kPi / 2},
    .on9 = f11_ArchWave_convert,
};

inline constexpr KVmemberDesc kF11_quantize{
    .id = 32,
    .computeName = "f11_quantize",
    .name = " Quantize",
    .compute = f11_quantize,
    .handler = f11_quantize_handler,
    .params = {{.label = "Frequency ", .k = 15.875, .c = 0.125},
               {.label = "Amount ", .k = 1, .c = 0},
               {.label = "Smoothing ", .k = 1, .c = 0}},
    .defaults = {1, 1, 0},
    .on8 = f11_quantize_precompute,
};

inline constexpr KVmemberDesc kF11_sinc{
    .id = 33,
    .computeName = "f11_sinc",
    .name = " Sin(Bx)/sin(x)",
    .compute = f11_sinc,
    .handler = f11_sinc_handler,
    .params = {{.label = "Frequency ", .k = 8, .c = 0},
               {.label = "Harmonics ", .k = 16, .c = 0, .truncate = true},
               {.label = "Amplitude ", .k = 2, .c = 0}},
    .defaults = {1, 0, f11detail::kPi / 2},
    .on8 = f11_sinc_precompute,
    .on9 = f11_sinc_convert,
};

inline constexpr KVmemberDesc kF11_plateau{
    .id = 34,
    .computeName = "f11_plateau",
    .name = " Plateau ",
    .compute = f11_plateau,
    .handler = f11_plateau_handler,
    .params = {{.label = "Slope ", .k = 7.9375, .c = 0.0625},
               {.label = "Size ", .k = 24, .c = -4},
               {.label = "Amplitude ", .k = 16, .c = -8}},
    .defaults = {4, 4, 4},
};

inline constexpr KVmemberDesc kF11_tile{
    .id = 38,
    .computeName = "f11_tile",
    .name = " Tile wave",
    .compute = f11_tile,
    .handler = f11_tile_handler,
    .params = {{.label = "Frequency ", .k = 8, .c = 0},
               {.label = "Phase ", .k = 8 * f11detail::kPi, .c = -4 * f11detail::kPi},
               {.label = "Amplitude ", .k = 16, .c = 0}},
    .defaults = {1, 0, f11detail::kPi / 2},
    .on8 = f11_tile_precompute,
    .on9 = f11_tile_convert,
};

inline constexpr KVmemberDesc kF11_split_stretch{
    .id = 39,
    .computeName = "f11_split_stretch",
    .name = " Split & stretch",
    .compute = f11_split_stretch,
    .handler = f11_split_stretch_handler,
    .params = {{.label = "Amount ", .k = 16, .c = 0},
               {.label = "Offset ", .k = 8 * f11detail::kPi, .c = -4 * f11detail::kPi},
               {.label = "Smooth ", .k = 1, .c = 0}},
    .defaults = {2, 0, 0.5},
    .on8 = f11_split_stretch_precompute,
};

inline constexpr KVmemberDesc kF11_slidemirror{
    .id = 43,
    .computeName = "f11_slidemirror",
    .name = " Mirror",
    .compute = f11_slidemirror,
    .handler = f11_slidemirror_handler,
    .params = {{.label = "Scaling ", .k = 4, .c = 0},
               {.label = "Offset ", .k = 64, .c = -32},
               {.label = "Smoothing ", .k = 1, .c = 0}},
    .defaults = {1, 1, 0},
    .on8 = f11_slidemirror_precompute,
};

inline constexpr KVmemberDesc kF11_saw{
    .id = 46,
    .computeName = "f11_saw",
    .name = " Saw",
    .compute = f11_saw,
    .handler = f11_saw_handler,
    .params = {{.label = "Right Slope ", .k = 32, .c = 0},
               {.label = "Offset ", .k = 8, .c = -4},
               {.label = "Amplitude ", .k = 8, .c = 0}},
    .defaults = {2, 0, 4},
    .on8 = f11_saw_precompute,
};

inline constexpr KVmemberDesc kF11_modulo{
    .id = 52,
    .computeName = "f11_modulo",
    .name = " Modulo ",
    .compute = f11_modulo,
    .handler = f11_modulo_handler,
    .params = {{.label = "Frequency ", .k = 4 * f11detail::kPi, .c = 0},
               {.label = "Phase ", .k = 16, .c = -8},
               {.label = "Amplitude ", .k = 16, .c = 0}},
    .defaults = {2, -1, 1},
    .on8 = f11_modulo_precompute,
};

inline constexpr KVmemberDesc kF11_semitonesSeq{
    .id = 53,
    .computeName = "f11_semitonesSeq",
    .name = " Semitones Seq ",
    .compute = f11_semitonesSeq,
    .handler = f11_semitonesSeq_handler,
    .params = {{.label = "Loops ", .k = 30, .c = 2, .truncate = true},
               {.label = "Phase ", .k = 64, .c = 0},
               {.label = "Amplitude ", .k = 8, .c = 0}},
    .defaults = {4, 32, 1},
    .on8 = f11_semitonesSeq_precompute,
};
