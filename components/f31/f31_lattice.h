// f31 members that draw regular or random structures of the 3D lattice: a
// grid of folded ridges, random spots overlaid four times, a crystal noise on
// a sheared lattice, the technical subdivision pattern, fractal lines from a
// thresholded fractal sum, and random lines from rotated layers of cube
// edges.
#pragma once

#include <cstdint>

#include "components/f31/f31_pvt.h"

void f31_grid3d(gfunc* g);
void f31_spots3d(gfunc* g);
void f31_cristalnoise(gfunc* g);
void f31_techno3d(gfunc* g);
void f31_rndlines(gfunc* g);
void f31_rlines(gfunc* g);

int16_t f31_grid3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_spots3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_cristalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_techno3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_rndlines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f31_rlines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f31_spots3d_precompute(gfunc* g);
void f31_cristalnoise_precompute(gfunc* g);
void f31_rndlines_precompute(gfunc* g);
void f31_rlines_precompute(gfunc* g);

// The layer count of " 3D Random lines" for the octave count O:
// trunc(O / 4) held to 1..20.
int f31_randomLinesLayers(int octaves);

// Raises *acc to the max-norm distance of (x, y, z) from its cell's centre
// (0..0.5); a cell whose hash is high first looks at the cell twice as fine
// (one subdivision below level 1), whose distance is pulled towards 0.5. A
// coordinate beyond the integer range leaves *acc as it is.
void cubelines3D(const KVtables* t, double x, double y, double z, double* acc, int16_t level);

inline constexpr KVparamDesc kF31latticePhase{.label = "Phase ", .k = 32, .c = -16};

inline constexpr KVmemberDesc kF31_grid3d{
    .id = 24,
    .computeName = "f31_grid3d",
    .name = " 3D Grid",
    .compute = f31_grid3d,
    .handler = f31_grid3d_handler,
    .params = {kF31amplitude8, kF31latticePhase, kF31frequency16},
    .defaults = {4, 0, 2},
};

inline constexpr KVmemberDesc kF31_spots3d{
    .id = 25,
    .computeName = "f31_spots3d",
    .name = " 3D Spots",
    .compute = f31_spots3d,
    .handler = f31_spots3d_handler,
    .params = {kF31amplitude8, kF31latticePhase, kF31frequency32},
    .defaults = {4, 0, 2},
    .inputCode = kF31noiseInput,
    .on8 = f31_spots3d_precompute,
};

inline constexpr KVmemberDesc kF31_cristalnoise{
    .id = 28,
    .computeName = "f31_cristalnoise",
    .name = " 3D Crystal noise",
    .compute = f31_cristalnoise,
    .handler = f31_cristalnoise_handler,
    .params = {kF31amplitude8, kF31latticePhase, kF31frequency32},
    .defaults = {2, 0, 2},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_cristalnoise_precompute,
};

inline constexpr KVmemberDesc kF31_techno3d{
    .id = 30,
    .computeName = "f31_techno3d",
    .name = " 3D Techno noise",
    .compute = f31_techno3d,
    .handler = f31_techno3d_handler,
    .params = {kF31amplitude8, kF31latticePhase, kF31frequency32},
    .defaults = {2, 0, 1},
};

inline constexpr KVmemberDesc kF31_rndlines{
    .id = 31,
    .computeName = "f31_rndlines",
    .name = " 3D Fractal lines",
    .compute = f31_rndlines,
    .handler = f31_rndlines_handler,
    .params = {kF31amplitude8, kF31latticePhase, kF31frequency32},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .inputCode = kF31noiseInput,
    .on8 = f31_rndlines_precompute,
};

inline constexpr KVmemberDesc kF31_rlines{
    .id = 33,
    .computeName = "f31_rlines",
    .name = " 3D Random lines",
    .compute = f31_rlines,
    .handler = f31_rlines_handler,
    .params = {kF31amplitude8, kF31latticePhase, kF31frequency32},
    .defaults = {4, 0, 2},
    .inputCode = kF31noiseInput,
    .on8 = f31_rlines_precompute,
};
