// What the f11 group files share: the precomputed doubles K1..K4 of the
// private area, the batch's input, the per-sample loop that passes the
// no-value marker through, the uniform-input shortcut, and the lattice cell
// and hash of the one-dimensional noises.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"
#include "foundation/checked.h"
#include "noise/kvtables.h"

// The doubles a member's handler precomputes at messages 7 and 8, first in
// the private area.
struct F11constants
{
  double K1;
  double K2;
  double K3;
  double K4;
};

inline F11constants& f11_k(gfunc* g)
{
  return privateArea<F11constants>(g);
}

// out[i] = f(x[i]) for every sample of the batch; a sample at or above the
// no-value marker gives the marker. A uniform source gives its element 0 to
// every sample, each tested for the marker.
template <class F>
inline void f11_eachSample(gfunc* g, F f)
{
  const int n = KV_batchLength();
  std::array<double, kBatchCapacity> x;
  KV_readInput(g, 0, n, x.data());
  double* out = g->outputs[0];
  for (int i = 0; i < n; ++i)
    out[i] = x[i] >= gINFINITY ? gINFINITY : f(x[i]);
}

// As f11_eachSample, except that a uniform source is computed once from its
// element 0, without the marker test, and written to the whole batch.
template <class F>
inline void f11_eachSampleOrUniform(gfunc* g, F f)
{
  const inletinfos& in = g->inlets[0];
  if (in.channels != 0 || in.data == nullptr) {
    f11_eachSample(g, f);
    return;
  }
  std::fill_n(g->outputs[0], KV_batchLength(), f(in.data[0]));
}

// t^2 (3 - 2t), the smooth rise from 0 to 1 over [0, 1].
inline double f11_smooth(double t)
{
  return t * t * (3 - 2 * t);
}

// The smooth rise with its ends held: 0 for t < 0, 1 for t > 1.
inline double f11_smoothClamped(double t)
{
  if (t < 0)
    return 0;
  if (t > 1)
    return 1;
  return f11_smooth(t);
}

// The lattice cell of v as a double, trunc(v) for v >= 0 and trunc(v) - 1
// below 0, so that a negative whole number lies in the cell below it; for
// members that only need the part of v above its cell.
inline double f11_cellOf(double v)
{
  return v >= 0 ? std::trunc(v) : std::trunc(v) - 1.0;
}

// The lattice cell of v as a 32-bit index and the fraction above it; false
// for NaN and cells beyond the 32-bit range (the sample then gives 0).
inline bool f11_lattice(double v, int32_t& cell, double& frac)
{
  kvnum::LatticeSplit s;
  const bool ok = kvnum::lattice_trunc_split(v, s);
  cell = s.cell;
  frac = s.frac;
  return ok;
}

// The lattice hash h(n) = perm[((n >> 8) + perm[n & 1023]) & 1023] with an
// arithmetic shift; the sum wraps in 32 bits and is masked, so any n and any
// stored permutation value stay inside the table.
inline int32_t f11_hash(const KVtables* t, int32_t n)
{
  const int32_t inner = kvnum::wrap_add_i32(n >> 8, t->perm[n & 1023]);
  return t->perm[inner & 1023];
}

// n + k wrapped in 32 bits, for the neighbour and offset cells.
inline int32_t f11_cellPlus(int32_t n, int32_t k)
{
  return kvnum::wrap_add_i32(n, k);
}

// Message 9 of the members whose old trees stored A in other units: a tree
// of file version `lastOld` or lower gets A and the A of its 16 keyframes
// multiplied by `factor`.
inline void f11_scaleOldA(gfunc* g, int16_t lastOld, double factor)
{
  if (g->owner == nullptr || g->owner->version > lastOld)
    return;
  g->A *= factor;
  for (KVparamTriple& key : g->keyframes)
    key.A *= factor;
}
