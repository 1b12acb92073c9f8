// The document's octave count where a member uses it as a pass, depth or
// step count. The tree-file reader holds the count to 4..256, but the field
// may be set in memory to anything a 16-bit word holds; a member that loops
// on it takes it held to floor..256 (floor 0 unless the member divides by it).
#pragma once

#include <algorithm>

#include "engine/gfunc.h"

inline constexpr int kKVmaxOctavePasses = 256;

inline int KV_octavePasses(const gfunc* g, int floor = 0)
{
  const int octaves = g->doc != nullptr ? g->doc->fractal.octaves : floor;
  return std::clamp(octaves, floor, kKVmaxOctavePasses);
}
