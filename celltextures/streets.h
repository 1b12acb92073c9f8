// Street masks: cells that lay a network of streets over a grid of
// 32-unit blocks (positions 0, 1 and 31 street, 2 and 30 kerb, 3..29 inside;
// block type t = H_5(y, x) & 15 adds the alleys of kvcell::alleyAt), and the
// avenue plan of 256-unit blocks with its road marks.
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"

// Levels: streets -0.1 (code 0), kerbs -0.01, alley centres -0.1, alley bands
// -0.01, inside up to 2 by block type. Writes the code: 0 on streets, else the
// block type (negative kerb and alley levels keep it).
double LABTXT_StreetsNetwork(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// Streets level 2.0 with code -2 on the origin lines (position 0), else -1;
// inside 0 (kerb 1.0) with code = block type; alley bands 1.0, alley centre
// lines 2.0 with code -2. Writes the code.
double LABTXT_StreetsMask(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// -2 on the origin lines and on the alley centre lines (position 16 only, not
// 24), else the block type 0..15.
int32_t LABTXT_StreetsFlags(const KVtables* t, int32_t x, int32_t y);

// Maze-cell form, seed ignored. Streets and alley centre lines: level -1.0,
// code -2; every other point level 1.0 with a block code 0..31 chosen by the
// block type and the position.
double StreetsNetworkMask(const KVtables* t, int32_t x, int32_t y, double seed, int16_t* code);

// 256-unit blocks: avenues (positions < 11 or > 245) level 1.0 code -50,
// avenue kerbs 1.01 code -60, inside 0 code -1; block types 5..13
// (H_8(y, x) & 15) add secondary avenues at 116..140 (and 178..204). Avenue
// points get road marks from H_7(y - 48, x - 48): codes 90, 100, 102, 89,
// -250, -255 and 0..3 at level 1.0. Writes the code.
double LABTXT_StreetsMarks(const KVtables* t, int32_t x, int32_t y, int16_t* code);
