// The sparse city plan: 64-unit blocks in half units whose 32-unit parcels
// hold one of 44 building motifs in quarters over a fine detail layer; one
// motif takes plan A's symmetric footprint layer.
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"

// Streets and alley centres return -0.03125 (code -1 street, -2 street
// origin line or alley centre); elsewhere the code is block type t +
// 8 x (g & 31), g the parcel hash plus t, and the level 0 on the parcel's
// two edge rows, else the motif height in quarters. Writes the code.
double LABTXT_SparceCity(const KVtables* t, int32_t x, int32_t y, int16_t* code);
