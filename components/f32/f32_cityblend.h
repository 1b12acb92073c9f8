// The sampling both city light members share: a 3D lattice position, the
// eight corner calls of a vector cell function around it, and the blend of
// the first two components with sharpened smoothstep weights.
#pragma once

#include <cstdint>

#include "celltextures/celltexture3d.h"
#include "noise/kvtables.h"

// The blended light (output 1) and reflection (output 2) levels.
struct KVcityLevels
{
  double light;
  double reflection;
};

// S(u) = (3 - 2u) u^2 on 0..1, 0 below (and for NaN), 1 above.
double KV_citySmoothstep(double u);

// Samples `cell` at the lattice position (X, Y, Z): the corners of the cell
// that holds it (a negative whole number lies in the cell below, at fraction
// 1), the layer at Z's cell first, each layer in the order (i, j), (i+1, j),
// (i, j+1), (i+1, j+1), every call with `code` (a cell may rewrite it, and
// the next call sees that). Each axis blends with S(sharpness * fraction).
// False, with nothing called, when a coordinate is NaN or its cell leaves
// the 32-bit range.
bool KV_cityBlend(CellTexture3DVecProc cell, const KVtables* t, double X, double Y, double Z,
                  double sharpness, int16_t* code, KVcityLevels& out);
