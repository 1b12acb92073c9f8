// The f32 city light member: one of 24 building and city textures sampled
// on a 3D lattice at (x, y, z), its light and reflection levels blended
// between the eight corners of the lattice cell.
#pragma once

#include <string_view>

#include "celltextures/celltexture3d.h"
#include "components/common/member.h"
#include "components/f32/f32_pvt.h"

void f32_CityNoises(gfunc* g);
int16_t f32_CityNoises_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// What message 8 leaves for the compute: the sharpness of the corner blend,
// the lattice scale and the chosen cell function (null until message 8 has
// run).
struct F32cityConstants
{
  double sharpness;
  double scale;
  CellTexture3DVecProc cell;
};

inline F32cityConstants& f32_city(gfunc* g)
{
  return privateArea<F32cityConstants>(g);
}

inline constexpr int kF32cityChoices = 24;
inline constexpr int kF32cityDefaultChoice = 12;

// The choice that trunc(A) names, held to 0..23 (NaN as the default 12).
int f32_cityChoice(double a);
// Message 8: holds A to a valid choice and sets sharpness, scale and cell.
void f32_CityNoises_precompute(gfunc* g);
// Labels: A the chosen texture's name (none outside 0..23).
std::string_view f32_CityNoises_label(const gfunc* g, int param);

inline constexpr KVmemberDesc kF32_CityNoises{
    .id = 42,
    .computeName = "f32_CityNoises",
    .name = " City Light and Reflection #",
    .compute = f32_CityNoises,
    .handler = f32_CityNoises_handler,
    .params = {{.label = "", .k = 23, .c = 0, .truncate = true},
               {.label = "Amount ", .k = 2, .c = 0},
               {.label = "Frequency ", .k = 64, .c = 0}},
    .defaults = {double(kF32cityDefaultChoice), 1.0, 2.0},
    .outputCode = 5,
    .inputCode = kConnThreeOut,
    .on8 = f32_CityNoises_precompute,
    .labelFor = f32_CityNoises_label,
};
