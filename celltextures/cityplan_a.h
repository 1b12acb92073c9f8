// City plan A and the building layers that plans and the tech-noise
// components use on their own.
//
// Half-unit scale: X = x + 1 (wrapping), position (X >> 1) & 31 (or & 15) in
// the block, block index X >> 6 (or >> 5), so a block spans twice its
// positions in lattice units and its borders fall on odd lattice lines.
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"

// Streets, kerbs and alleys over 64-unit blocks, parcels of 16 positions with
// building heights 0..2.5. Every street, kerb and alley point returns -0.25;
// the code tells them apart: -1 street, -2 street origin line or alley
// centre, else block type + 8 x parcel hash (0..263). Writes the code.
double LABTXT_CityA(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// Symmetric footprints on 32-unit blocks, levels 0..~3.4 in steps of the
// footprint hash. Adds 8 x block type to *code (skipped when code is null).
double LABTXT_TEK_randomsymbuild(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// Symmetric towers on 64-unit blocks; levels are multiples of 0.25. Adds the
// block hash & 31 to *code.
double LABTXT_TEK_symbuild32(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// Small buildings on 32-unit blocks, levels multiples of 0.25. Sets *code to
// 9 x block hash kept to 16 bits, also where it returns 0.
double LABTXT_subcityA(const KVtables* t, int32_t x, int32_t y, int16_t* code);
