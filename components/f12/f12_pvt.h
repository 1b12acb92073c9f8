// What the f12 group files share: the per-sample loop over a pair of
// outputs that passes the no-value marker to both, and the uniform-input
// shortcut. K1 and K2 are the f11 private doubles (f11_k).
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "components/common/inputs.h"
#include "components/f11/f11_pvt.h"

// The two outputs of one sample.
struct F12pair
{
  double x;
  double y;
};

// (out1[i], out2[i]) = f(x[i]) for every sample of the batch; a sample at or
// above the no-value marker gives the marker on both outputs. A uniform
// source gives its element 0 to every sample, each tested for the marker.
template <class F>
inline void f12_eachSample(gfunc* g, F f)
{
  const int n = KV_batchLength();
  std::array<double, kBatchCapacity> x;
  KV_readInput(g, 0, n, x.data());
  for (int i = 0; i < n; ++i) {
    const F12pair p = x[i] >= gINFINITY ? F12pair{gINFINITY, gINFINITY} : f(x[i]);
    g->outputs[0][i] = p.x;
    g->outputs[1][i] = p.y;
  }
}

// True when input 1 is one value for the whole batch.
inline bool f12_uniformInput(const gfunc* g)
{
  return g->inlets[0].channels == 0 && g->inlets[0].data != nullptr;
}

// Writes one pair into every sample of the batch.
inline void f12_fillPair(gfunc* g, F12pair p)
{
  const int n = KV_batchLength();
  std::fill_n(g->outputs[0], n, p.x);
  std::fill_n(g->outputs[1], n, p.y);
}

// As f12_eachSample, except that a uniform source is computed once from its
// element 0, without the marker test, and written to the whole batch.
template <class F>
inline void f12_eachSampleOrUniform(gfunc* g, F f)
{
  if (f12_uniformInput(g))
    f12_fillPair(g, f(g->inlets[0].data[0]));
  else
    f12_eachSample(g, f);
}

// v mod m in [0, m) for a whole v (of either sign) and a whole m >= 1; NaN
// stays NaN.
inline double f12_wholeModulo(double v, double m)
{
  const double r = std::fmod(v, m);
  return r < 0 ? r + m : r;
}
