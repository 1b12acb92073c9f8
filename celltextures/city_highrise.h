// The high-rise city plan: 64-unit blocks in half units whose block type
// either hands the block to one of the building layers of plan A or fills it
// with a grid of 32-unit parcels whose four quarters get stepped heights.
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"

// Streets and alley centres return -0.0625 (code -1 street, -2 street origin
// line or alley centre). Block types 1 and 3 take the symmetric footprints in
// quarters on the block type's code, types 4, 7, 8 and 10 the small buildings
// one lattice unit to the left, type 15 the symmetric towers; the other types
// return -0.03125 on their kerbs and 0..0.75 on their parcels, with a code
// from the block row. Writes the code.
double LABTXT_HighRiseCity(const KVtables* t, int32_t x, int32_t y, int16_t* code);
