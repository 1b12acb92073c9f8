// " City Textures # (xziy)" (f44 id 16): one of four 3D city cell textures
// sampled around a lattice point made of inputs 1, 4 and 2 (input 4 is the
// height), the eight corner levels and material colours blended with
// sharpened smoothstep weights. Input 3 gives the code word every corner
// starts from (a negative code makes ground). Outputs: the colour (/ 32) and
// 4 times the level.
#pragma once

#include "celltextures/celltexture3d.h"
#include "components/common/member.h"
#include "noise/mazecolor.h"

void f44_CityTextures(gfunc* g);
int16_t f44_CityTextures_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: frequency 64 C and sharpness always; for a choice 0..7 also the
// cell function and the 16-colour cycle. Any other choice (NaN too) leaves
// no cell function and the member outputs zeros.
void f44_CityTextures_precompute(gfunc* g);
// The label of parameter A: the name of the chosen texture set, none for a
// choice outside 0..7.
std::string_view f44_CityTextures_label(const gfunc* g, int param);

// The record message 8 writes into the private area.
struct F44cityState
{
  double sharpness;
  double frequency;
  int32_t choice;  // 0..7, or -1 for none
  bool hasCell;    // false on a fresh (zeroed) record and for a choice outside 0..7
  floatcolor cycle[16];
};

// One sample of the city with the cell function `cell` at inputs (x, y, z,
// w): out[0..2] the colour / 32 (left 0 when `colour` is false), out[3] four
// times the level. Each of the eight corner calls gets its own code word,
// trunc(z) saturated to 16 bits.
void f44_citySample(const KVtables* t, const F44cityState& s, CellTexture3DProc cell, double x,
                    double y, double z, double w, bool colour, double out[4]);

inline constexpr KVmemberDesc kF44_CityTextures{
    .id = 16,
    .computeName = "f44_CityTextures",
    .name = " City Textures # (xziy)",
    .compute = f44_CityTextures,
    .handler = f44_CityTextures_handler,
    .params = {{.label = "", .k = 7, .c = 0, .truncate = true},
               {.label = "Color Cycle ", .k = 1, .c = 0},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {2, 0.25, 2},
    .outputCode = kConnFour,
    .inputCode = kConnFourValueFirst,
    .on8 = f44_CityTextures_precompute,
    .labelFor = f44_CityTextures_label,
};
