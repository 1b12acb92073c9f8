// The band limit of the fractal members that look at their source: detail
// finer than a pixel fades out above it.
#pragma once

#include <cmath>

#include "engine/gfunc.h"
#include "engine/world.h"

// The document's pixel density (pixels per unit of the plane), or |density /
// A| of the component feeding input 1 when that component has function id 2,
// whatever its family: a scaling member in front moves the fade with it.
inline double KV_adjustedDensity(const gfunc* g)
{
  const double density = g->doc->yPixelScale;
  const gfunc* src = g->sources[0];
  if (src != nullptr && src->funcID == 2)
    return std::fabs(density / src->A);
  return density;
}
