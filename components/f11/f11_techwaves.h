// Tech Waves and Variable Steps: two mode-list f11 members that sample a
// step-sequence generator at the two lattice indices around the scaled
// input and blend them with a smoothstep whose sharpness is part of the
// mode. Tech Waves makes pulse trains (square, T-shaped, saw, sparse,
// alternating, cyclic random, random); Variable Steps makes staircases that
// follow the input with randomly varied step lengths.
#pragma once

#include <cstdint>
#include <string_view>

#include "components/common/member.h"
#include "noise/kvtables.h"

void f11_techWave(gfunc* g);
void f11_Vsteps(gfunc* g);
int16_t f11_techWave_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f11_Vsteps_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// A step-sequence generator: the value of the sequence at index n (d is the
// scaled input, which only TW_pulsRStepB reads).
using TWgenerator = double (*)(const KVtables* t, int32_t n, double d);

double TW_pulsA(const KVtables* t, int32_t n, double d);
double TW_pulsB(const KVtables* t, int32_t n, double d);
double TW_pulsSaw(const KVtables* t, int32_t n, double d);
double TW_pulsC(const KVtables* t, int32_t n, double d);
double TW_pulsSP(const KVtables* t, int32_t n, double d);
double TW_pulsAlt(const KVtables* t, int32_t n, double d);
double TW_pulsRPeriodic8(const KVtables* t, int32_t n, double d);
double TW_pulsRPeriodic16(const KVtables* t, int32_t n, double d);
double TW_pulsRnd(const KVtables* t, int32_t n, double d);
double TW_pulsRStep(const KVtables* t, int32_t n, double d);
double TW_pulsRStepB(const KVtables* t, int32_t n, double d);
double TW_pulsRStepC(const KVtables* t, int32_t n, double d);

// What message 8 keeps in the private area: the output scale K1, the
// sharpness K2 and the chosen generator (a plain function pointer, valid in
// every document copy).
struct F11techWaveState
{
  double K1;
  double K2;
  TWgenerator generator;
};

inline constexpr int kF11TechWaveModes = 27;
inline constexpr int kF11VstepsModes = 8;

// Mode names, shown as the label of A; empty for a number outside the list.
std::string_view f11_techWave_modeName(int mode);
std::string_view f11_Vsteps_modeName(int mode);

std::string_view f11_techWave_label(const gfunc* g, int param);
std::string_view f11_Vsteps_label(const gfunc* g, int param);

// Message 8: K1, K2 and the generator of the mode trunc(A).
void f11_techWave_precompute(gfunc* g);
void f11_Vsteps_precompute(gfunc* g);

inline constexpr KVmemberDesc kF11_techWave{
    .id = 56,
    .computeName = "f11_techWave",
    .name = " Tech Waves #",
    .compute = f11_techWave,
    .handler = f11_techWave_handler,
    .params = {{.label = {}, .k = 26, .c = 0, .truncate = true},
               {.label = "Amplitude ", .k = 16, .c = 0},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {1, 1, 1},
    .on8 = f11_techWave_precompute,
    .labelFor = f11_techWave_label,
};

inline constexpr KVmemberDesc kF11_Vsteps{
    .id = 57,
    .computeName = "f11_Vsteps",
    .name = " Variable Steps #",
    .compute = f11_Vsteps,
    .handler = f11_Vsteps_handler,
    .params = {{.label = {}, .k = 7, .c = 0, .truncate = true},
               {.label = "Amplitude ", .k = 16, .c = 0},
               {.label = "Frequency ", .k = 32, .c = 0}},
    .defaults = {2, 1, 1},
    .on8 = f11_Vsteps_precompute,
    .labelFor = f11_Vsteps_label,
};
