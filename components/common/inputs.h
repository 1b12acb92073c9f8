// Reading a component's inputs for the current batch, as every family does:
// a uniform source (channel kind 0) gives its element 0 for every sample, an
// input that is not linked reads as zeros.
#pragma once

#include <algorithm>

#include "engine/gfunc.h"

// Sample i of an input.
inline double KV_inletSample(const inletinfos& in, int i)
{
  if (in.data == nullptr)
    return 0.0;
  return in.channels == 0 ? in.data[0] : in.data[i];
}

// The n samples of input k of g, copied into dst (so that the outputs may be
// written while they are read).
inline void KV_readInput(const gfunc* g, int k, int n, double* dst)
{
  const inletinfos& in = g->inlets[k];
  if (in.data == nullptr)
    std::fill_n(dst, n, 0.0);
  else if (in.channels == 0)
    std::fill_n(dst, n, in.data[0]);
  else
    std::copy_n(in.data, n, dst);
}
