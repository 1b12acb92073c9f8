// What the f44 group files share: the record a member's handler precomputes
// at message 8 (the fill colour F and up to five doubles), the batch's four
// inputs, the no-value rule and the altitude-only flag.
#pragma once

#include <array>
#include <cmath>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"

struct F44constants
{
  double F[3];  // the fill colour: the document's fade colour / 32
  double K[5];
};

inline F44constants& f44_k(gfunc* g)
{
  return privateArea<F44constants>(g);
}
inline const F44constants& f44_k(const gfunc* g)
{
  return privateArea<F44constants>(g);
}

// One output sample: a colour and the fourth value.
struct F44out
{
  double c[3];
  double w;
};

inline constexpr double kF44missingW = -8;

struct F44batch
{
  int n;
  std::array<std::array<double, kBatchCapacity>, 4> in;

  double x(int i) const { return in[0][size_t(i)]; }
  double y(int i) const { return in[1][size_t(i)]; }
  double z(int i) const { return in[2][size_t(i)]; }
  double w(int i) const { return in[3][size_t(i)]; }
};

inline F44batch f44_readBatch(const gfunc* g)
{
  F44batch b;
  b.n = KV_batchLength();
  for (int k = 0; k < 4; ++k)
    KV_readInput(g, k, b.n, b.in[size_t(k)].data());
  return b;
}

// A value is missing when it is at or above the marker (or NaN).
inline bool f44_missing(double v)
{
  return !(v < gINFINITY);
}

inline void f44_write(gfunc* g, int i, const F44out& o)
{
  for (int k = 0; k < 3; ++k)
    g->outputs[k][i] = o.c[k];
  g->outputs[3][i] = o.w;
}

inline constexpr F44out kF44noValue{{gINFINITY, gINFINITY, gINFINITY}, gINFINITY};

// v held to [lo, hi]; NaN gives lo.
inline double f44_clamp(double v, double lo, double hi)
{
  return std::fmin(std::fmax(v, lo), hi);
}

// S(u) = (3 - 2u) u^2 on 0..1, 0 below (and for NaN) and 1 above.
inline double f44_smoothstep(double u)
{
  if (!(u > 0))
    return 0;
  if (u >= 1)
    return 1;
  return (3 - 2 * u) * u * u;
}

// The document's fade colour bytes (0..255); black without a document.
inline std::array<double, 3> f44_fadeBytes(const gfunc* g)
{
  if (g->doc == nullptr)
    return {0, 0, 0};
  const normalcolor& c = g->doc->defaultColors[0];
  return {double(c.red), double(c.green), double(c.blue)};
}

// Message 8 of most members: F = the fade colour / 32.
inline void f44_storeFade(gfunc* g)
{
  const std::array<double, 3> b = f44_fadeBytes(g);
  for (int k = 0; k < 3; ++k)
    f44_k(g).F[k] = b[size_t(k)] / 32;
}

inline int f44_passNumber(const gfunc* g)
{
  return g->owner != nullptr ? g->owner->iteration : 0;
}

// Set while the engine needs only the fourth output of the tree.
inline bool f44_altitudeOnly(const gfunc* g)
{
  return g->doc != nullptr && g->doc->fractal.reliefPass != 0;
}
