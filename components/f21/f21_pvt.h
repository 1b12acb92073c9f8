// What the f21 group files share: the precomputed doubles of the private
// area, the batch's two inputs, and the per-sample loop that passes the
// no-value marker through.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "components/common/banddensity.h"
#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"

// The doubles a member's handler precomputes at messages 7 and 8.
struct F21precomputed
{
  double P1;
  double P2;
  double P3;
  double P4;
};

inline F21precomputed& f21_pre(gfunc* g)
{
  return privateArea<F21precomputed>(g);
}

// x and y of the current batch, copied so that the output may be written
// while they are read.
struct F21batch
{
  int n;
  std::array<double, kBatchCapacity> x;
  std::array<double, kBatchCapacity> y;
};

inline F21batch f21_batch(const gfunc* g)
{
  F21batch b;
  b.n = KV_batchLength();
  KV_readInput(g, 0, b.n, b.x.data());
  KV_readInput(g, 1, b.n, b.y.data());
  return b;
}

inline bool f21_masked(double x, double y)
{
  return x >= gINFINITY || y >= gINFINITY;
}

// out[i] = f(x[i], y[i]) for every sample of the batch; a sample whose x or y
// is the no-value marker gives the marker.
template <class F>
inline void f21_eachSample(gfunc* g, F f)
{
  const F21batch b = f21_batch(g);
  double* out = g->outputs[0];
  for (int i = 0; i < b.n; ++i)
    out[i] = f21_masked(b.x[i], b.y[i]) ? gINFINITY : f(b.x[i], b.y[i]);
}

// The part of v above its lattice cell, the cell being trunc(v) for v >= 0
// and trunc(v) - 1 below 0 (so a negative whole number gives 1). Done in
// doubles: no integer conversion is needed.
inline double f21_cellFraction(double v)
{
  const double cell = v >= 0 ? std::trunc(v) : std::trunc(v) - 1.0;
  return v - cell;
}

// S(t) = (3 - 2t) t^2, the smoothstep of the lattice members.
inline double f21_smooth(double t)
{
  return (3 - 2 * t) * t * t;
}

// The document's fractal settings for one batch, reading the document's
// tables. A copy: the drivers write their extra outputs into it.
inline fractalsinfos f21_fractalCopy(const gfunc* g)
{
  fractalsinfos fi = g->doc->fractal;
  fi.tables = &g->doc->tables;
  return fi;
}
