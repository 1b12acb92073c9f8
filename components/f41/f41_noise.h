// The f41 fractal noise member: gradient noise in (x, y, z) summed over the
// octaves of the document's multifractal settings, the fourth input moving
// the noise along x as a phase.
#pragma once

#include "components/common/member.h"
#include "noise/multifractal.h"

void f41_FB(gfunc* g);
int16_t f41_FB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: the amplitude 4A (private K0).
void f41_FB_precompute(gfunc* g);

// Octave body of the member: 3D gradient noise at (x, y, z) (`w` is not
// read). Octave 0 stores the value in out->x and clears *state; a later
// octave adds value * weight; a negative octave (the far value) gives
// (0, 0). A coordinate whose lattice cell leaves the integer range gives the
// value 0.
bool fp4dperlin(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                double weight, short octave, dvector2d* out);

// The noise value alone, as the body samples it.
double f41_gradientNoise3D(const KVtables* t, double x, double y, double z);

inline constexpr KVmemberDesc kF41_FB{
    .id = 6,
    .computeName = "f41_FB",
    .name = " 4D Perlin noise ",
    .compute = f41_FB,
    .handler = f41_FB_handler,
    .params = {{.label = "Amplitude ", .k = 8, .c = -4},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {1, 0, 1},
    .on8 = f41_FB_precompute,
};
