// " Tech Noise #" and " City Maps # (xziy)": the cell functions of the city
// textures turned into smooth images. Both sample the chosen cell function
// at the four corners of the point's lattice cell and blend the corner
// levels with sharpened smoothstep weights. The tech noise colours each
// corner from its material code; the city maps give the point back with
// the smallest corner code and the level.
#pragma once

#include <string_view>

#include "celltextures/celltexture2d.h"
#include "components/common/member.h"
#include "noise/mazecolor.h"

void f24_procTechNoises(gfunc* g);
void f24_CityNoises(gfunc* g);
int16_t f24_procTechNoises_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_CityNoises_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f24_procTechNoises_prepare(gfunc* g);
void f24_CityNoises_prepare(gfunc* g);
std::string_view f24_procTechNoises_label(const gfunc* g, int param);
std::string_view f24_CityNoises_label(const gfunc* g, int param);

inline constexpr int kF24techVariants = 28;
inline constexpr int kF24cityVariants = 10;

// What message 8 leaves for both members. A null cell gives (0, 0, 0, 0).
struct F24cornerNoise
{
  CellTexture2DProc cell;
  double amplitude;  // k0 (city maps)
  double sharpness;  // k1
  double frequency;  // k2
  double shift;      // added to the scaled point before sampling
  floatcolor cycle[16];
};

// The corner blend of `cell` at (X, Y): the level, the smoothstep weights
// and the four corners' codes (00, 10, 01, 11, each starting at 0). The
// fractions are multiplied by `sharpness` when `sharpen` is set. False
// where the point has no lattice cell.
struct F24cornerBlend
{
  double level;
  double sx, sy;
  int16_t code[4];
};
bool f24_cornerBlend(const KVtables* t, CellTexture2DProc cell, double X, double Y,
                     double sharpness, bool sharpen, F24cornerBlend& out);

inline constexpr KVmemberDesc kF24_procTechNoises{
    .id = 56,
    .computeName = "f24_procTechNoises",
    .name = " Tech Noise #",
    .compute = f24_procTechNoises,
    .handler = f24_procTechNoises_handler,
    .params = {{.label = "", .k = kF24techVariants - 1, .truncate = true},
               {.label = "Color Cycle ", .k = 1},
               {.label = "Frequency ", .k = 64}},
    .defaults = {2, 0.25, 4},
    .on8 = f24_procTechNoises_prepare,
    .labelFor = f24_procTechNoises_label,
};

inline constexpr KVmemberDesc kF24_CityNoises{
    .id = 58,
    .computeName = "f24_CityNoises",
    .name = " City Maps # (xziy)",
    .compute = f24_CityNoises,
    .handler = f24_CityNoises_handler,
    .params = {{.label = "", .k = kF24cityVariants - 1, .truncate = true},
               {.label = "Amplitude ", .k = 4},
               {.label = "Frequency ", .k = 8}},
    .defaults = {4, 1, 2},
    .outputCode = 12,
    .inputCode = 8,
    .on8 = f24_CityNoises_prepare,
    .labelFor = f24_CityNoises_label,
};
