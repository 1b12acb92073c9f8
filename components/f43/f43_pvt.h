// What the f43 group files share: the doubles a member's handler precomputes
// at message 8, the batch's four inputs, the family's no-value rule (x at or
// above the marker) and the document's fade colour.
#pragma once

#include <array>
#include <cmath>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"

// The doubles a member's handler precomputes at message 8.
struct F43constants
{
  double K[4];
};

inline F43constants& f43_k(gfunc* g)
{
  return privateArea<F43constants>(g);
}
inline const F43constants& f43_k(const gfunc* g)
{
  return privateArea<F43constants>(g);
}

// One colour or point of three channels.
struct F43color
{
  double c[3];
};

inline constexpr F43color kF43noValue{{gINFINITY, gINFINITY, gINFINITY}};

// The four inputs of the batch, copied so that outputs may be written while
// they are read.
struct F43batch
{
  int n;
  std::array<std::array<double, kBatchCapacity>, 4> in;

  double x(int i) const { return in[0][size_t(i)]; }
  double y(int i) const { return in[1][size_t(i)]; }
  double z(int i) const { return in[2][size_t(i)]; }
  double w(int i) const { return in[3][size_t(i)]; }
};

inline F43batch f43_readBatch(const gfunc* g)
{
  F43batch b;
  b.n = KV_batchLength();
  for (int k = 0; k < 4; ++k)
    KV_readInput(g, k, b.n, b.in[size_t(k)].data());
  return b;
}

// A value is missing when it is at or above the marker (or NaN).
inline bool f43_missing(double v)
{
  return !(v < gINFINITY);
}

inline void f43_write(gfunc* g, int i, const F43color& c)
{
  for (int k = 0; k < 3; ++k)
    g->outputs[k][i] = c.c[k];
}

// The document's fade colour (the colour the depth cue fades toward), each
// channel divided by 32; black without a document.
inline F43color f43_fadeColour(const gfunc* g)
{
  if (g->doc == nullptr)
    return {{0, 0, 0}};
  const normalcolor& c = g->doc->defaultColors[0];
  return {{c.red / 32.0, c.green / 32.0, c.blue / 32.0}};
}

// v held to [lo, hi]; NaN gives lo.
inline double f43_clamp(double v, double lo, double hi)
{
  return std::fmin(std::fmax(v, lo), hi);
}

// The owning tree's iteration counter; 0 for a component without a tree.
inline int f43_passNumber(const gfunc* g)
{
  return g->owner != nullptr ? g->owner->iteration : 0;
}

inline bool f43_altitudeOnly(const gfunc* g)
{
  return g->doc != nullptr && g->doc->fractal.reliefPass != 0;
}
