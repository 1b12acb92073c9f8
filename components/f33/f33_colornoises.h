// 3D colour noises: solid textures that give a colour (R, G, B on the colour
// scale, 8 full) for every point (x, y, z) of inputs 1 to 3. Each member
// scales and offsets the point, calls a basis, pattern or driver of the noise
// library and turns what it returns into a colour.
//
// A sample whose input 1 holds the no-value marker gives the marker on all
// three outputs; inputs 2 and 3 are not tested. The members that count octaves
// take o = the document's octave count / 4, at most 20. Nothing is kept
// between batches; the fractal drivers run on a copy of the document's
// fractal record.
//
// "3D Color random Polygons" (f33_solidcolor3) has no id in the family table,
// so no tree selects it; it is kept with its handler and descriptor.
#pragma once

#include <cstdint>

#include "components/common/member.h"

void f33_colorfractal(gfunc* g);
void f33_solidcolor2(gfunc* g);
void f33_spots3d(gfunc* g);
void f33_solidcolor4(gfunc* g);
void f33_Bubbles(gfunc* g);
void f33_solidcolor5(gfunc* g);
void f33_colorperlin(gfunc* g);
void f33_multifractal(gfunc* g);
void f33_caustics(gfunc* g);
void f33_mondriancolor(gfunc* g);
void f33_solidcolor3(gfunc* g);

int16_t f33_colorfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_solidcolor2_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_spots3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_solidcolor4_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_Bubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_solidcolor5_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_colorperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_caustics_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_mondriancolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_solidcolor3_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8. Strata stone: k0 = A/256, k1 = B/512, k2 = C/4,
// k3 = (1.25 - A)/256. Marble: its three HSL colours. Perlin noise: its
// eight-colour table. MultiFractal: k2 = C/4, k0 = 0.005 A,
// k1 = 1.2/(512 k0) (119999.99999999999 when 512 k0 < 0.00001). Caustics:
// k2 = C/8, k0 = pi A, k1 = 1/(1.4 k0) (99999.99999999999 when
// 1.4 k0 < 0.00001).
void f33_solidcolor4_precompute(gfunc* g);
void f33_solidcolor5_precompute(gfunc* g);
void f33_colorperlin_precompute(gfunc* g);
void f33_multifractal_precompute(gfunc* g);
void f33_caustics_precompute(gfunc* g);

// The colours message 8 keeps in the private area: Marble's c0, c1, c2, the
// Perlin noise's table of eight.
struct F33colourTable
{
  normalcolor c[8];
};

// The octave count o of these members for a document octave count.
int f33_colourOctaves(int documentOctaves);

// The caustics basis: each component of a Perlin vector noise of amplitude 2
// at the point gives a (1 - |q|)^2 where |q| < 1, else 0. The third output may
// be null.
void fcaustics(const KVtables* t, double x, double y, double z, double* out1, double* out2,
               double* out3OrNull, double amp);

// The occupied-cell lookup of the random polygons: the unit lattice cell of
// (x, y, z) is occupied when threshold is greater than its permutation hash
// (0..1023). An occupied cell writes its colour from the gradient-pair table,
// (entry + 512)/128 per channel (0..8), and its key, the hash itself, and
// returns true; an empty cell, or a point outside the 32-bit lattice, writes
// nothing and returns false.
bool discretrandom3DVector3D(const KVtables* t, double x, double y, double z, int32_t threshold,
                             double rgb[3], int32_t* key);

inline constexpr KVparamDesc kF33colourPhase{.label = "Phase ", .k = 32, .c = -16};
inline constexpr KVparamDesc kF33colourFrequency8{.label = "Frequency ", .k = 8};

inline constexpr KVmemberDesc kF33_colorfractal{
    .id = 18,
    .computeName = "f33_colorfractal",
    .name = " 3D Color Fractal noise",
    .compute = f33_colorfractal,
    .handler = f33_colorfractal_handler,
    .params = {{.label = "Amplitude ", .k = 8}, kF33colourPhase, kF33colourFrequency8},
    .defaults = {4, 0, 2},
};

inline constexpr KVmemberDesc kF33_solidcolor2{
    .id = 19,
    .computeName = "f33_solidcolor2",
    .name = " 3D Color techno noise",
    .compute = f33_solidcolor2,
    .handler = f33_solidcolor2_handler,
    .params = {{.label = "Amplitude ", .k = 8}, kF33colourPhase, kF33colourFrequency8},
    .defaults = {4, 0, 1},
};

// The default A = 4 lies outside the map's range (0..1).
inline constexpr KVmemberDesc kF33_spots3d{
    .id = 20,
    .computeName = "f33_spots3d",
    .name = " 3D Color spots",
    .compute = f33_spots3d,
    .handler = f33_spots3d_handler,
    .params = {{.label = "Chroma ", .k = 1}, kF33colourPhase, kF33colourFrequency8},
    .defaults = {4, 0, 2},
};

inline constexpr KVmemberDesc kF33_solidcolor4{
    .id = 21,
    .computeName = "f33_solidcolor4",
    .name = " 3D Color strata stone",
    .compute = f33_solidcolor4,
    .handler = f33_solidcolor4_handler,
    .params = {{.label = "Chroma ", .k = 1},
               {.label = "Distortion ", .k = 4, .c = -2},
               kF33colourFrequency8},
    .defaults = {0.5, 0.25, 2},
    .freqFlag = 1,
    .on8 = f33_solidcolor4_precompute,
};

inline constexpr KVmemberDesc kF33_Bubbles{
    .id = 22,
    .computeName = "f33_Bubbles",
    .name = " 3D Color Bubbles",
    .compute = f33_Bubbles,
    .handler = f33_Bubbles_handler,
    .params = {{.label = "Amplitude ", .k = 1}, kF33colourPhase, kF33colourFrequency8},
    .defaults = {0.5, 0, 2},
};

inline constexpr KVmemberDesc kF33_solidcolor5{
    .id = 27,
    .computeName = "f33_solidcolor5",
    .name = " 3D Color Marble",
    .compute = f33_solidcolor5,
    .handler = f33_solidcolor5_handler,
    .params = {{.label = "Hue Rotation ", .k = 1},
               {.label = "Saturation ", .k = 1},
               {.label = "Frequency ", .k = 7.9375, .c = 0.0625}},
    .defaults = {0.5, 0.5, 2},
    .on8 = f33_solidcolor5_precompute,
};

inline constexpr KVmemberDesc kF33_colorperlin{
    .id = 31,
    .computeName = "f33_colorperlin",
    .name = " 3D Color Perlin noise",
    .compute = f33_colorperlin,
    .handler = f33_colorperlin_handler,
    .params = {{.label = "Hue Rotation ", .k = 2, .c = -1},
               {.label = "Saturation ", .k = 1},
               kF33colourFrequency8},
    .defaults = {0, 1, 2},
    .on8 = f33_colorperlin_precompute,
};

inline constexpr KVmemberDesc kF33_multifractal{
    .id = 45,
    .computeName = "f33_multifractal",
    .name = " 3D Color MultiFractal",
    .compute = f33_multifractal,
    .handler = f33_multifractal_handler,
    .params = {{.label = "Amplitude ", .k = 2}, kF33colourPhase, {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f33_multifractal_precompute,
};

inline constexpr KVmemberDesc kF33_caustics{
    .id = 46,
    .computeName = "f33_caustics",
    .name = " 3D Caustics",
    .compute = f33_caustics,
    .handler = f33_caustics_handler,
    .params = {{.label = "Amplitude ", .k = 2}, kF33colourPhase, {.label = "Frequency ", .k = 16}},
    .defaults = {1, 0, 2},
    .freqFlag = 1,
    .on8 = f33_caustics_precompute,
};

inline constexpr KVmemberDesc kF33_mondriancolor{
    .id = 52,
    .computeName = "f33_mondriancolor",
    .name = " 3D Color Mondrian ",
    .compute = f33_mondriancolor,
    .handler = f33_mondriancolor_handler,
    .params = {{.label = " Line Width ", .k = 1}, kF33colourPhase, kF33colourFrequency8},
    .defaults = {0.25, 0, 1},
};

// No id: the family table never binds it (-1 marks that here).
inline constexpr KVmemberDesc kF33_solidcolor3{
    .id = -1,
    .computeName = "f33_solidcolor3",
    .name = " 3D Color random Polygons",
    .compute = f33_solidcolor3,
    .handler = f33_solidcolor3_handler,
    .params = {{.label = "Amplitude ", .k = 1},
               {.label = "Phase ", .k = 2},
               {.label = "Frequency ", .k = 2}},
    .defaults = {0.5, 1, 1},
};
