// Tile arithmetic of the picture members: where a repeated picture's period
// falls and which pixel of the period a coordinate shows.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/pictinput.h"
#include "foundation/checked.h"

// v modulo the period, in [0, period) for negative v too; a period that is
// not positive counts as no repeat.
inline int64_t KV_tileMod(int64_t v, int32_t period)
{
  if (period <= 0)
    period = kNoTiling;
  const int64_t r = v % period;
  return r < 0 ? r + period : r;
}

// A repeat length of `length` pixels at tiling t > 0, at least 1.
inline int32_t KV_tilePeriod(int32_t length, double t)
{
  return std::max(1, kvnum::sat_i32(length / t));
}
