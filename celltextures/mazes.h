// The triangular-lattice maze sampler and the cells only the maze and LED
// panel pictures use: the hexagonal maze cell and the three LED light cells.
//
// Every function is pure: it reads the tables' permutation and its integer
// arguments (any int32_t values; shifts are arithmetic), and may run on any
// number of threads.
#pragma once

#include <cstdint>

#include "noise/kvtables.h"
#include "noise/mazecolor.h"

// Colour list of the triangle sampler: a code indexes it, 16 entries so
// that every code 0..15 reads a colour (black past the member's set); codes
// outside 0..15 read black.
inline constexpr int kMazeColorCount = 16;
using MazeColorList = double[kMazeColorCount][3];

// Samples `cell` with `param` at the four corners of the lattice cell of
// (x, y) (the truncation split: -2.0 lies in cell -3 with fraction 1) and
// blends the half of the cell that holds the point: above the diagonal
// fx = fy the corners 00, 10, 11, else 00, 01, 11, with linear weights.
// rec->value = 2 * blended value - 1. Mode 1 gives flat cells: the colour of
// the corner whose weight exceeds 0.5, else of a code two corners share,
// else grey (32, 32, 32); any other mode blends the three corner colours.
// A point without a lattice cell (NaN, beyond 32 bits) leaves rec as it is
// and returns false.
bool fmazeColorHexa(const KVtables* t, double x, double y, double param, MazeCellProc cell,
                    const MazeColorList colours, mazecolorrecord* rec, int mode);

// The hexagonal maze: one hash per 2 by 2 block decides which walls stand.
// Codes 1..3 (wall kinds) with value 1, else code 0 with value 0. The
// parameter is not used.
double LABTXT_Hmaze(const KVtables* t, int32_t x, int32_t y, double param, int16_t* code);

// LED panels of 4 by 4 blocks, one hash per block choosing the lit lights
// and their colour (channels 0..1). Each returns 1 where a light is on and 0
// elsewhere, and writes the colour into rec (lmaze2 may leave it as it is).
double LABTXT_lightmaze(const KVtables* t, int32_t x, int32_t y, mazecolorrecord* rec);
double LABTXT_lmaze1(const KVtables* t, int32_t x, int32_t y, mazecolorrecord* rec);
double LABTXT_lmaze2(const KVtables* t, int32_t x, int32_t y, mazecolorrecord* rec);
