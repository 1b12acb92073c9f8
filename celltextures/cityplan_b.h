// City plan B: 64-unit blocks in half units; each block type sets a storey
// multiplier and a material, each 16-position parcel carries one of 28
// building shapes, and on tall blocks a modifier adds windows, steps and
// wings.
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"

// Streets and alley centres return -0.0125 (code -1 street, -2 street
// origin line or alley centre); kerbs and alley bands 0 with code
// (t & 7) + 8g; parcels whole quarters 0..8 with code material + 8g (kept
// to 16 bits), g the parcel hash. Writes the code.
double LABTXT_CityB(const KVtables* t, int32_t x, int32_t y, int16_t* code);
