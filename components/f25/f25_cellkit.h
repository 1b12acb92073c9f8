// Pieces the f25 tilings, mirrors, polar tilings and twirls share: the
// per-sample loop for members whose cell may not be formable (the sample then
// gives the no-value marker on outputs 1 to 3), the lattice split and cell
// hash, the polar angle, the soft mirror fold, the blend toward the
// background at cell edges and a cyclic copy of the document's colour table.
#pragma once

#include <cmath>
#include <numbers>
#include <optional>

#include "components/f25/f25_pvt.h"
#include "foundation/checked.h"
#include "noise/lattice.h"

namespace f25kit {

inline constexpr double kPi = std::numbers::pi;

// outputs = f(x, y) for every sample; the marker on outputs 1 to 3 where
// input 1 holds it or where f gives no value (outputs 4 and 5 are left).
template <class F>
inline void eachSample(gfunc* g, F f)
{
  const F25batch b = f25_batch(g);
  for (int i = 0; i < b.n; ++i) {
    const std::optional<F25out> o = b.x[i] >= gINFINITY ? std::nullopt : f(b.x[i], b.y[i]);
    if (o)
      f25_store(g, i, *o);
    else
      f25_storeMarker(g, i);
  }
}

// The lattice cell of u (a negative u lies in trunc(u) - 1, so -2.0 has
// fraction 1); false for NaN and cells beyond 32 bits.
struct Cell
{
  int32_t i;
  double f;
};
inline bool split(double u, Cell& c)
{
  kvnum::LatticeSplit s;
  const bool ok = kvnum::lattice_trunc_split(u, s);
  c = {s.cell, s.frac};
  return ok;
}

inline int32_t hash(const gfunc* g, int32_t i, int32_t j)
{
  return kvnoise::cellHash2(&g->doc->tables, i, j);
}

// The polar angle in 0..2pi, 0 pointing down the negative y axis; NaN at the
// origin.
inline double polarAngle(double x, double y)
{
  return std::atan(y / x) + (x >= 0 ? kPi / 2 : 3 * kPi / 2);
}

// |p| with a smooth bottom: 16|p| below 0.5 becomes its square plus 0.25.
inline double softFold(double p)
{
  double a = 16 * std::fabs(p);
  if (a < 0.5)
    a = a * a + 0.25;
  return a / 16;
}

// Each channel moved toward the background by w^4 when w > 0.
inline F25rgb edgeBlend(const F25rgb& c, const F25rgb& background, double w)
{
  if (!(w > 0))
    return c;
  const double w2 = w * w;
  return c.toward(background, w2 * w2);
}

inline F25out out(double x, double y, const F25rgb& c255)
{
  const F25rgb c = c255.scaled(kF25byteScale);
  return {x, y, c.r, c.g, c.b};
}

// A copy of the colour table whose last key is replaced by the first, so
// that the gradient closes on itself; a count of 0 (or beyond the 64 keys)
// replaces nothing.
inline cpalette cyclicPalette(const cpalette& p)
{
  cpalette c = p;
  const int16_t count = int16_t(p.count);
  if (count >= 1 && count <= 64)
    c.colors[count - 1] = c.colors[0];
  return c;
}

}  // namespace f25kit
