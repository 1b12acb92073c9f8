// The city cell and the pyramid street network of the four-output
// components.
#pragma once

#include <cstdint>

#include "celltextures/celltexture2d.h"
#include "foundation/types.h"

// 32-unit blocks with alleys, cut into 16-unit parcels of 2-unit half
// positions. Streets and alleys: level -1 with code 4. Buildings: level
// ((m * L) >> 4 with the lowest bit cleared) / 16 + 1/256 for a storey count
// L and a block-type multiplier m; code 0..7. Writes the code.
double LABTXT_City(const KVtables* t, int32_t x, int32_t y, int16_t* code);

// The pyramid street network: for lattice cell (x, y) of the real point
// (point->x, point->y), every 16-unit block a stepped or sloped pyramid of
// one of `count` kinds (H_4(y, x) mod count; a count below 1 acts as 1).
// Writes all four doubles: x and y the slopes (8 - distance to the nearer
// block edge) x a slope scale, z = hash / 128, w the height, 0..cap.
void PyraStreetsNetwork(const KVtables* t, int32_t x, int32_t y, int32_t count, dvector4d* point);
