// f31 members that draw a 2D texture of (x, y) as seen in perspective: z is
// a depth that zooms x and y by s (at most 8) and fades the result by
// exp(-s). The computes read A, B, C directly (no message 8).
#pragma once

#include "components/f31/f31_pvt.h"

void f31_persrandom(gfunc* g);
void f31_persturbulence(gfunc* g);
void f31_perstechno(gfunc* g);

int16_t f31_persrandom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_persturbulence_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_perstechno_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// The zoom s and fade e of depth z for the perspective A.
struct F31depth
{
  double s;
  double e;
};
F31depth f31_depthScale(double perspective, double z);

inline constexpr KVparamDesc kF31perspective{.label = "Perspective ", .k = 2, .c = -1};
inline constexpr KVparamDesc kF31persPhase{.label = "Phase ", .k = 64, .c = -32};

inline constexpr KVmemberDesc kF31_persrandom{
    .id = 16,
    .computeName = "f31_persrandom",
    .name = " Random pers",
    .compute = f31_persrandom,
    .handler = f31_persrandom_handler,
    .params = {kF31perspective, {.label = "Level ", .k = 2}, kF31persPhase},
    .defaults = {0.5, 0.5, 1},
};

inline constexpr KVmemberDesc kF31_persturbulence{
    .id = 17,
    .computeName = "f31_persturbulence",
    .name = " Turbulence pers",
    .compute = f31_persturbulence,
    .handler = f31_persturbulence_handler,
    .params = {{.label = "Perspective ", .k = 3, .c = -1.5},
               {.label = "Level ", .k = 6, .c = -2},
               kF31persPhase},
    .defaults = {0.5, 0.5, 1},
};

inline constexpr KVmemberDesc kF31_perstechno{
    .id = 18,
    .computeName = "f31_perstechno",
    .name = " Techno pers",
    .compute = f31_perstechno,
    .handler = f31_perstechno_handler,
    .params = {kF31perspective, {.label = "Amplitude ", .k = 6, .c = -2}, kF31persPhase},
    .defaults = {0.5, 1, 1},
};
