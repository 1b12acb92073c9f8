// Building generators: 3D cells (CellTexture3DProc) that draw one kind of
// city block on lattices of 8 and 16 units: floors, frames, windows, roofs
// and street gaps. Each reads a variant from the code it is given, writes a
// material code and returns a level. In the rules below x7 = x & 7,
// x15 = x & 15 (likewise y, z) and "inner" means x7, y7, z7 all nonzero.
#pragma once

#include <cstdint>

#include "celltextures/celltexture3d.h"

// 32-unit storeys of 8-unit windows between 16-unit street gaps; variant
// code % 7 (C's remainder: 7 draws as 0, negative remainders match no
// variant and keep the code where a rule is chosen by variant). Variants 1
// and 5 draw no floor band.
double LABTXT3D_BuildA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// BuildA's lattice with four variants (code & 3) and 16-unit storey halves.
double LABTXT3D_BuildA4(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// 16-unit towers with 2-unit edges (variant code & 3).
double LABTXT3D_BuildI(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Towers of cores 3..13 in 16-unit blocks (variant code & 3, plus 1 for even
// variants where z & 256).
double LABTXT3D_BuildV1(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// 8-unit window boxes; below y = 32 every storey shares one window pattern
// per block. Levels 1.0 on walls and edges, 0.0 on windows (variant code & 7).
double LABTXT3D_BuildE(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Roofs every 16 units above a 6-unit offset (variant code & 3).
double LABTXT3D_BuildF(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Eight small building kinds (w = code & 7) with a material index in the
// bits above (k = code >> 4).
double LABTXT3D_BuildOthers(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Rectangles per 8-unit cell: code k + 8 (h & 15), k the rectangle selector
// of h = H(3; x, y, z); level (code & 63) / 64. The code it is given is not
// read.
double Tnoises_VHrects(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
