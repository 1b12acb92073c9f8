// f31 members that build terrain-like fields (rocks, boulders, craters,
// river strings, bubble rock, ridges, basalt, ridged noise) on the
// parameterised multifractal drivers: each octave is a body of this group
// that sees the octave index and a state carried from octave to octave, so
// that coarse octaves weight the finer ones. The two "z" members are 2D
// fields of (x, y) steered by z.
#pragma once

#include "components/f31/f31_pvt.h"

void f31_multifractal(gfunc* g);
void f31_MultiCubicFract(gfunc* g);
void f31_lunarrock(gfunc* g);
void f31_fractalstrings(gfunc* g);
void f31_bubblerock(gfunc* g);
void f31_ridgedfractal(gfunc* g);
void f31_z_multifractal(gfunc* g);
void f31_z_ridgedfractal(gfunc* g);

int16_t f31_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_MultiCubicFract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_lunarrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_fractalstrings_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_bubblerock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_z_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_z_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// k0 = A/64, k2 = C/8 (ids 35, 38, 45, 46, 47).
void f31_rock_precompute(gfunc* g);
void f31_ridgedfractal_precompute(gfunc* g);
void f31_z_multifractal_precompute(gfunc* g);
void f31_z_ridgedfractal_precompute(gfunc* g);

// Per-octave bodies (F, x, y, z, w, state, j).
double mf(fractalsinfos* fi, double x, double y, double z, double w, double* state, short j);
double mfboulders(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                  short j);
double lunarrock(fractalsinfos* fi, double x, double y, double z, double w, double* state, short j);
double mfrivers(fractalsinfos* fi, double x, double y, double z, double w, double* state, short j);
double bubblerock(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                  short j);
double ridgedmountains(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                       short j);
// 2D body: the lows flattened into a floor, each octave only lowering.
double fsparceMF(fractalsinfos* fi, double x, double y, double w, double* state, short j);
// Ridged 2D gradient noise on the plane gradients; 0 beyond the integer range.
double fSRidgedB(const KVtables* t, double x, double y);

inline constexpr KVmemberDesc kF31_multifractal{
    .id = 35,
    .computeName = "f31_multifractal",
    .name = " 3D Multi Fractal noise",
    .compute = f31_multifractal,
    .handler = f31_multifractal_handler,
    .params = {kF31amplitude2, kF31phase64, kF31frequency16},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_rock_precompute,
};

inline constexpr KVmemberDesc kF31_MultiCubicFract{
    .id = 38,
    .computeName = "f31_MultiCubicFract",
    .name = " 3D Cubic MultiFractal",
    .compute = f31_MultiCubicFract,
    .handler = f31_MultiCubicFract_handler,
    .params = {kF31amplitude2, kF31phase64, kF31frequency16},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f31_rock_precompute,
};

inline constexpr KVmemberDesc kF31_lunarrock{
    .id = 45,
    .computeName = "f31_lunarrock",
    .name = " 3D Lunar rocks",
    .compute = f31_lunarrock,
    .handler = f31_lunarrock_handler,
    .params = {kF31amplitude2, kF31phase64, kF31frequency16},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_rock_precompute,
};

inline constexpr KVmemberDesc kF31_fractalstrings{
    .id = 46,
    .computeName = "f31_fractalstrings",
    .name = " 3D Fractal Strings",
    .compute = f31_fractalstrings,
    .handler = f31_fractalstrings_handler,
    .params = {kF31amplitude2, kF31phase64, kF31frequency16},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_rock_precompute,
};

inline constexpr KVmemberDesc kF31_bubblerock{
    .id = 47,
    .computeName = "f31_bubblerock",
    .name = " 3D Bubble rocks",
    .compute = f31_bubblerock,
    .handler = f31_bubblerock_handler,
    .params = {kF31amplitude2, kF31phase64, kF31frequency16},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_rock_precompute,
};

inline constexpr KVmemberDesc kF31_ridgedfractal{
    .id = 44,
    .computeName = "f31_ridgedfractal",
    .name = " 3D Ridged Fractal",
    .compute = f31_ridgedfractal,
    .handler = f31_ridgedfractal_handler,
    .params = {kF31amplitude8, kF31phase64, kF31frequency8},
    .defaults = {1, 0, 1},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_ridgedfractal_precompute,
};

inline constexpr KVmemberDesc kF31_z_multifractal{
    .id = 36,
    .computeName = "f31_z_multifractal",
    .name = " z Basalt rocks",
    .compute = f31_z_multifractal,
    .handler = f31_z_multifractal_handler,
    .params = {kF31amplitude8, kF31phase64, kF31frequency32},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f31_z_multifractal_precompute,
};

inline constexpr KVmemberDesc kF31_z_ridgedfractal{
    .id = 37,
    .computeName = "f31_z_ridgedfractal",
    .name = " z ridged Fractal noise",
    .compute = f31_z_ridgedfractal,
    .handler = f31_z_ridgedfractal_handler,
    .params = {{.label = "Amplitude ", .k = 4}, kF31phase64, kF31frequency8},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f31_z_ridgedfractal_precompute,
};
