// What the f22 group files share: the private doubles K0, K1, ... written at
// message 8, the batch's two inputs, and the per-sample loops with the two
// ways the family treats a masked x.
#pragma once

#include <array>
#include <cmath>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"

// The doubles a member's handler precomputes at message 8.
struct F22constants
{
  double K[4];
};

inline F22constants& f22_k(gfunc* g)
{
  return privateArea<F22constants>(g);
}

// One output point.
struct F22point
{
  double x;
  double y;
};

// x and y of the current batch, copied so that the outputs may be written
// while they are read.
struct F22batch
{
  int n;
  std::array<double, kBatchCapacity> x;
  std::array<double, kBatchCapacity> y;
};

inline F22batch f22_batch(const gfunc* g)
{
  F22batch b;
  b.n = KV_batchLength();
  KV_readInput(g, 0, b.n, b.x.data());
  KV_readInput(g, 1, b.n, b.y.data());
  return b;
}

// True when input 2 is one value for the whole batch.
inline bool f22_uniformY(const gfunc* g)
{
  return g->inlets[1].data != nullptr && g->inlets[1].channels == 0;
}

// (x', y') = f(x, y) for every sample; a sample whose x is the no-value
// marker gets the marker on both outputs (y is not tested).
template <class F>
inline void f22_eachSample(gfunc* g, F f)
{
  const F22batch b = f22_batch(g);
  for (int i = 0; i < b.n; ++i) {
    const F22point p = b.x[i] >= gINFINITY ? F22point{gINFINITY, gINFINITY} : f(b.x[i], b.y[i]);
    g->outputs[0][i] = p.x;
    g->outputs[1][i] = p.y;
  }
}

// As f22_eachSample, but a masked sample is copied through unchanged.
template <class F>
inline void f22_eachSampleCopyMasked(gfunc* g, F f)
{
  const F22batch b = f22_batch(g);
  for (int i = 0; i < b.n; ++i) {
    const F22point p = b.x[i] >= gINFINITY ? F22point{b.x[i], b.y[i]} : f(b.x[i], b.y[i]);
    g->outputs[0][i] = p.x;
    g->outputs[1][i] = p.y;
  }
}

inline constexpr F22point kF22noValue{gINFINITY, gINFINITY};

// sin 60 degrees as the family's folds and lattices write it.
inline constexpr double kF22sin60 = 0.866025;
