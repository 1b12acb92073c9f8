// What the f32 group files share: the private doubles K0, K1, ... written at
// message 8, the batch's three inputs, and the per-sample loop with the
// family's no-value rule (a marked x gives the marker on both outputs).
#pragma once

#include <array>
#include <cmath>
#include <numbers>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"

// The doubles a member's handler precomputes at message 8.
struct F32constants
{
  double K[12];
};

inline F32constants& f32_k(gfunc* g)
{
  return privateArea<F32constants>(g);
}

// One output point.
struct F32point
{
  double x;
  double y;
};

inline constexpr F32point kF32noValue{gINFINITY, gINFINITY};

// x, y and z of the current batch, copied so that the outputs may be written
// while they are read.
struct F32batch
{
  int n;
  std::array<double, kBatchCapacity> x;
  std::array<double, kBatchCapacity> y;
  std::array<double, kBatchCapacity> z;
};

inline F32batch f32_batch(const gfunc* g)
{
  F32batch b;
  b.n = KV_batchLength();
  KV_readInput(g, 0, b.n, b.x.data());
  KV_readInput(g, 1, b.n, b.y.data());
  KV_readInput(g, 2, b.n, b.z.data());
  return b;
}

// True when input 3 is one value for the whole batch; its value is then
// sample 0.
inline bool f32_uniformZ(const gfunc* g)
{
  return g->inlets[2].data != nullptr && g->inlets[2].channels == 0;
}

inline double f32_firstZ(const gfunc* g)
{
  return KV_inletSample(g->inlets[2], 0);
}

// (x', y') = f(x, y, z) for every sample, the sample index passed as well; a
// sample whose x is the no-value marker gets the marker on both outputs (y
// and z are not tested).
template <class F>
inline void f32_eachSampleAt(gfunc* g, F f)
{
  const F32batch b = f32_batch(g);
  for (int i = 0; i < b.n; ++i) {
    const F32point p = b.x[i] >= gINFINITY ? kF32noValue : f(b.x[i], b.y[i], b.z[i], i);
    g->outputs[0][i] = p.x;
    g->outputs[1][i] = p.y;
  }
}

template <class F>
inline void f32_eachSample(gfunc* g, F f)
{
  f32_eachSampleAt(g, [&](double x, double y, double z, int) { return f(x, y, z); });
}

// As f32_eachSample without the no-value test: f sees every sample.
template <class F>
inline void f32_eachSampleUntested(gfunc* g, F f)
{
  const F32batch b = f32_batch(g);
  for (int i = 0; i < b.n; ++i) {
    const F32point p = f(b.x[i], b.y[i], b.z[i]);
    g->outputs[0][i] = p.x;
    g->outputs[1][i] = p.y;
  }
}

// True when the tree that owns g was written by a program version at most
// `version`.
inline bool f32_treeAtMost(const gfunc* g, int version)
{
  return g->owner != nullptr && g->owner->version <= version;
}

namespace f32detail {
inline constexpr double kPi = std::numbers::pi;
inline constexpr double kHalfPi = 1.5707963267948966;
}  // namespace f32detail
