// What the f41 group files share: the batch's four inputs and the doubles a
// member's handler precomputes at message 8.
#pragma once

#include <array>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"

// The doubles a member's handler precomputes at message 8.
struct F41constants
{
  double K[4];
};

inline F41constants& f41_k(gfunc* g)
{
  return privateArea<F41constants>(g);
}

// x, y, z and w of the current batch, copied so that the output may be
// written while they are read.
struct F41batch
{
  int n;
  std::array<std::array<double, kBatchCapacity>, 4> in;
};

inline F41batch f41_batch(const gfunc* g)
{
  F41batch b;
  b.n = KV_batchLength();
  for (int k = 0; k < 4; ++k)
    KV_readInput(g, k, b.n, b.in[size_t(k)].data());
  return b;
}

// out[i] = f(x, y, z, w) for every sample of the batch.
template <class F>
inline void f41_eachSample(gfunc* g, F f)
{
  const F41batch b = f41_batch(g);
  double* out = g->outputs[0];
  for (int i = 0; i < b.n; ++i)
    out[i] = f(b.in[0][size_t(i)], b.in[1][size_t(i)], b.in[2][size_t(i)], b.in[3][size_t(i)]);
}

// As f41_eachSample, but a sample whose x or w is the no-value marker gives
// the marker.
template <class F>
inline void f41_eachSampleMaskXW(gfunc* g, F f)
{
  f41_eachSample(g, [&](double x, double y, double z, double w) {
    return x >= gINFINITY || w >= gINFINITY ? gINFINITY : f(x, y, z, w);
  });
}
