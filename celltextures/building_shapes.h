// Shape and composite building generators: 3D cells (CellTexture3DProc)
// that draw whole building shapes: blocks with street gaps, roof bands and
// ledges, eight shapes chosen along x every 1024 units, and 64-unit
// composite blocks that hand their parts to other generators. Each reads a
// variant from the code, writes a material code and returns a level.
#pragma once

#include <cstdint>

#include "celltextures/celltexture3d.h"

// Blocks between 3-unit gaps every 16 (variant 3: 32) units, roof bands
// outside storey positions 8..24 (variant code & 3).
double LABTXT3D_BuildD(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Walls of rectangles in 16-unit cores; levels -0.75 outside the cores
// (variant code & 3).
double LABTXT3D_BuildWA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Gap blocks chosen by the whole code: 0..7 pick the gap and window tests,
// codes of 8 or more (and negative codes) take the rules of 0..2 for the gap
// and of 0..3 for the window test; window codes by code & 3 and code & 4.
double LABTXT3D_BuildAalt(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Storey blocks with roof bands and eight window kinds (variant code & 7).
double LABTXT3D_BuildB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// 64-unit composite blocks (variant code & 7); where it hands a point to
// another generator it sets the code first and returns that generator's
// level.
double LABTXT3D_BuildComposites(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Eight shapes, m = ((x >> 10) + w) & 7, with the materials of w = code & 7:
// solid, ledge, frame, panel and window outcomes.
double LABTXT3D_ClassicGen(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);

// Eight block shapes, m = (w + ((x - 16) >> 10)) & 7, with the solid, ledge,
// frame and panel materials of ClassicGen and windows of their own.
double LABTXT3D_BuildBGen(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code);
