// The f42 city light member: one of four city cell textures sampled on a 3D
// lattice at (x, w, y), with input 3 choosing ground or building through the
// cell code; light and reflection blended between the eight corners.
#pragma once

#include <string_view>

#include "celltextures/celltexture3d.h"
#include "components/common/member.h"

void f42_CityTextures(gfunc* g);
int16_t f42_CityTextures_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// What message 8 leaves for the compute: the sharpness of the corner blend,
// the lattice frequency and the chosen cell function (null until a valid
// choice has been made).
struct F42cityConstants
{
  double sharpness;
  double frequency;
  CellTexture3DVecProc cell;
};

inline constexpr int kF42cityChoices = 8;

// Message 8: sharpness and frequency; the cell function of choice trunc(A),
// or none for a choice outside 0..7.
void f42_CityTextures_precompute(gfunc* g);
// Labels: A the chosen texture's name (none outside 0..7).
std::string_view f42_CityTextures_label(const gfunc* g, int param);

inline constexpr KVmemberDesc kF42_CityTextures{
    .id = 31,
    .computeName = "f42_CityTextures",
    .name = " City Light & Reflection #",
    .compute = f42_CityTextures,
    .handler = f42_CityTextures_handler,
    .params = {{.label = "", .k = 7, .c = 0, .truncate = true},
               {.label = "Amount ", .k = 2, .c = 0},
               {.label = "Frequency ", .k = 8, .c = 0}},
    .defaults = {2.0, 1.0, 2.0},
    .outputCode = 5,
    .inputCode = kConnFourValueFirst,
    .on8 = f42_CityTextures_precompute,
    .labelFor = f42_CityTextures_label,
};
