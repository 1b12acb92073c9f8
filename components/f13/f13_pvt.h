// What the colour members of f13 and f14 share: their private record (the
// precomputed P1..P4 and a 16-entry colour table), the per-sample frame over
// three or four outputs with its uniform-input shortcut, and the colour of
// the tree's iteration counter on a colour table.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"
#include "foundation/colormath.h"

// Component colour scale: 8 is full intensity, a byte is value * 32.
inline constexpr double kF1xByteToValue = 1.0 / 32;

// The private record of the f13 and f14 colour members: P1..P4 written at
// messages 7 and 8, and the colour table of the members that cycle colours
// (entries 0..14 from the hue cycle, entry 15 a copy of entry 0, so that the
// table closes on itself).
struct F1xPrivate
{
  double P1;
  double P2;
  double P3;
  double P4;
  normalcolor table[16];
};

inline F1xPrivate& f1x_p(gfunc* g)
{
  return privateArea<F1xPrivate>(g);
}

// Fills the 16-entry closed colour table for the cycle parameter t.
inline void f1x_fillColourTable(normalcolor* table, double t)
{
  GetParam1DColorTable(table, t, 15);
  table[15] = table[0];
}

template <int K>
using F1xColour = std::array<double, K>;

// The colour of the table at t (0..1), on the byte scale.
inline F1xColour<3> f1x_tableColour(const normalcolor* table, double t)
{
  F1xColour<3> c;
  fcolorgradient(table, 16, t, &c[0], &c[1], &c[2]);
  return c;
}

// The table colour for the owning tree's iteration counter i, at
// i/16 - floor(i/16): a loop colours each pass differently.
inline F1xColour<3> f1x_passColour(const gfunc* g, const normalcolor* table)
{
  const double i = g->owner != nullptr ? g->owner->iteration : 0;
  const double t = i / 16 - std::floor(i / 16);
  return f1x_tableColour(table, t);
}

template <int K>
inline void f1x_write(gfunc* g, int i, const F1xColour<K>& c)
{
  for (int k = 0; k < K; ++k)
    g->outputs[k][i] = c[k];
}

template <int K>
inline F1xColour<K> f1x_all(double v)
{
  F1xColour<K> c;
  c.fill(v);
  return c;
}

// out_k[i] = f(x[i])[k] on K outputs for every sample of the batch; a
// sample at or above the no-value marker gives the marker on all K. A
// uniform source gives its element 0 to every sample.
template <int K, class F>
inline void f1x_colourEach(gfunc* g, F f)
{
  const int n = KV_batchLength();
  std::array<double, kBatchCapacity> x;
  KV_readInput(g, 0, n, x.data());
  for (int i = 0; i < n; ++i)
    f1x_write<K>(g, i, x[i] >= gINFINITY ? f1x_all<K>(gINFINITY) : f(x[i]));
}

// As f1x_colourEach, except that a uniform source is computed once from its
// element 0 and written to the whole batch; a masked element 0 then gives
// `uniformMasked` on all K outputs.
template <int K, class F>
inline void f1x_colourEachOrUniform(gfunc* g, F f, double uniformMasked = gINFINITY)
{
  const inletinfos& in = g->inlets[0];
  if (in.channels != 0 || in.data == nullptr) {
    f1x_colourEach<K>(g, f);
    return;
  }
  const double x = in.data[0];
  const F1xColour<K> c = x >= gINFINITY ? f1x_all<K>(uniformMasked) : f(x);
  for (int i = 0; i < KV_batchLength(); ++i)
    f1x_write<K>(g, i, c);
}
