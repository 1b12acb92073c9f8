// Tech panel cells: the lattice patterns of the four-output tech-noise
// component (panels, signs, grids, stepped pyramids, computer rooms). Each
// is of the cell form and always writes its code: mostly 4..7 for the
// component's fixed materials and 0..3 for entries of its colour cycle.
// Levels are 0..1 unless stated.
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"

// 8-unit parcels with borders at level 0 (code 4).
double LABTXT2D_A(const KVtables* t, int32_t x, int32_t y, int16_t* code);
// Building fronts: floors every 32 units, columns every 16, 8-unit windows.
double LABTXT2D_BuildA(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT2D_BuildB(const KVtables* t, int32_t x, int32_t y, int16_t* code);
// Stepped pyramids on 16-unit cells: rings of h/2048 (or 0.75 or 0.66 of it)
// over a base of 0 or 0.125; codes 1..7.
double LABTXT2D_Mayan(const KVtables* t, int32_t x, int32_t y, int16_t* code);
// Network hubs and crossings on 16-unit cells.
double LABTXT2D_Network(const KVtables* t, int32_t x, int32_t y, int16_t* code);
// 8-unit cubes at h/2048 inside a two-unit frame at level 1 (code 7).
double LABTXT2D_CubeGrid(const KVtables* t, int32_t x, int32_t y, int16_t* code);
// Rows of signs: 16-unit rows (4-unit glyphs), 32-unit rows (8-unit glyphs).
double LABTXT2D_ASigns(const KVtables* t, int32_t x, int32_t y, int16_t* code);
double LABTXT2D_BSigns(const KVtables* t, int32_t x, int32_t y, int16_t* code);
// 8-unit tiles: raised pads or half-tile strips.
double LABTXT2D_TA(const KVtables* t, int32_t x, int32_t y, int16_t* code);
// Grids of 16-unit cells subdivided at 4 or 8 units.
double LABTXT2D_Hgrid(const KVtables* t, int32_t x, int32_t y, int16_t* code);
// Computer rooms: walls at level 0 (code 4), floors 0..0.25 (code 5), racks
// up to 1 with codes 0..7.
double LABTXT2D_Comput(const KVtables* t, int32_t x, int32_t y, int16_t* code);
