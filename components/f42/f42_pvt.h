// What the f42 group files share: the doubles a member's handler precomputes
// at message 8, the batch's four inputs read as two points (or complex
// numbers) Z = (x, y) and C = (z, w), and the family's batch frame with its
// no-value rule.
#pragma once

#include <array>
#include <cmath>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"
#include "foundation/checked.h"

// The doubles a member's handler precomputes at message 8.
struct F42constants
{
  double K[4];
};

inline F42constants& f42_k(gfunc* g)
{
  return privateArea<F42constants>(g);
}

// One output point.
struct F42point
{
  double x;
  double y;
};

inline constexpr F42point kF42noValue{gINFINITY, gINFINITY};

// One sample of the batch: its index and its four inputs.
struct F42sample
{
  int i;
  double x, y, z, w;
};

// A sample is computed only when -marker < x < marker and z < marker
// (y and w are not tested); NaN in x is no value too.
inline bool f42_computed(double x, double z)
{
  return x > -gINFINITY && x < gINFINITY && z < gINFINITY;
}

// The family's batch frame: (out1, out2) = f(sample) for every computed
// sample, both outputs the marker for the others.
template <class F>
inline void f42_eachSample(gfunc* g, F f)
{
  const int n = KV_batchLength();
  std::array<std::array<double, kBatchCapacity>, 4> in;
  for (int k = 0; k < 4; ++k)
    KV_readInput(g, k, n, in[size_t(k)].data());
  for (int i = 0; i < n; ++i) {
    const size_t s = size_t(i);
    const F42sample p{i, in[0][s], in[1][s], in[2][s], in[3][s]};
    const F42point r = f42_computed(p.x, p.z) ? f(p) : kF42noValue;
    g->outputs[0][i] = r.x;
    g->outputs[1][i] = r.y;
  }
}

// The lattice cell of a coordinate: trunc(p) for p >= 0, trunc(p - 1)
// below (a negative whole number maps one lower). False when p is NaN or
// its cell leaves the 32-bit range.
inline bool f42_cellfloor(double p, kvnum::LatticeSplit& cell)
{
  return kvnum::lattice_trunc_split(p, cell);
}

// S(s) = (3 - 2s) s^2 on 0..1, 0 below and 1 above.
inline double f42_smoothstep(double s)
{
  if (!(s > 0))
    return 0;
  if (s >= 1)
    return 1;
  return (3 - 2 * s) * s * s;
}
