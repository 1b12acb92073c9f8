// What the f24 group files share: the batch's two inputs, one output
// quadruple, the per-sample loop that gives a fixed row where input 1 holds
// the no-value marker, the lattice split and cell hash, and the document
// values the members read.
#pragma once

#include <array>
#include <cmath>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"
#include "foundation/checked.h"
#include "noise/lattice.h"

// Outputs 1 to 4 of one sample: R, G, B, alpha or x, y, z, a.
struct F24quad
{
  double a;
  double b;
  double c;
  double d;
};

inline constexpr F24quad kF24noValue{gINFINITY, gINFINITY, gINFINITY, gINFINITY};
inline constexpr F24quad kF24zero{0, 0, 0, 0};

inline void f24_store(gfunc* g, int i, const F24quad& q)
{
  g->outputs[0][i] = q.a;
  g->outputs[1][i] = q.b;
  g->outputs[2][i] = q.c;
  g->outputs[3][i] = q.d;
}

// x and y of the current batch, copied so that the outputs may be written
// while they are read.
struct F24batch
{
  int n;
  std::array<double, kBatchCapacity> x;
  std::array<double, kBatchCapacity> y;
};

inline F24batch f24_batch(const gfunc* g)
{
  F24batch b;
  b.n = KV_batchLength();
  KV_readInput(g, 0, b.n, b.x.data());
  KV_readInput(g, 1, b.n, b.y.data());
  return b;
}

// outputs = f(x, y) for every sample of the batch, `masked` where input 1
// holds the no-value marker (input 2 is not tested).
template <class F>
inline void f24_eachSample(gfunc* g, const F24quad& masked, F f)
{
  const F24batch b = f24_batch(g);
  for (int i = 0; i < b.n; ++i)
    f24_store(g, i, b.x[i] >= gINFINITY ? masked : f(b.x[i], b.y[i]));
}

// The lattice cell of u and its fraction: a negative u lies in trunc(u) - 1,
// so -2.0 gives cell -3 with fraction 1. False for NaN, infinities and
// values beyond the 32-bit lattice.
struct F24cell
{
  int32_t i;
  double f;
};

inline bool f24_split(double u, F24cell& out)
{
  kvnum::LatticeSplit s;
  const bool ok = kvnum::lattice_trunc_split(u, s);
  out = {s.cell, s.frac};
  return ok;
}

// u minus its lattice floor (the same split), 0 where the split fails.
inline double f24_frac(double u)
{
  F24cell c;
  return f24_split(u, c) ? c.f : 0.0;
}

// The cell hash H(i, j), 0..1023.
inline int32_t f24_hash(const gfunc* g, int32_t i, int32_t j)
{
  return kvnoise::cellHash2(&g->doc->tables, i, j);
}

inline const KVtables* f24_tables(const gfunc* g)
{
  return &g->doc->tables;
}

// The document's octave count, never negative.
inline int f24_octaves(const gfunc* g)
{
  return g->doc->fractal.octaves > 0 ? g->doc->fractal.octaves : 0;
}

// The altitude-only flag: the engine reads output 4 only.
inline bool f24_altitudeOnly(const gfunc* g)
{
  return g->doc != nullptr && g->doc->fractal.reliefPass != 0;
}

// The iteration index of the loop that evaluates the component.
inline double f24_iteration(const gfunc* g)
{
  return g->owner != nullptr ? g->owner->iteration : 0;
}

// The doubles a member's handler precomputes at message 8.
struct F24constants
{
  double K[8];
};

inline F24constants& f24_k(gfunc* g)
{
  return privateArea<F24constants>(g);
}
