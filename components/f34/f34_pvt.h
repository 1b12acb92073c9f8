// What the f34 group files share: the batch's three inputs, one output
// quadruple (R, G, B on the colour scale of 8, then w), the per-sample loop
// with the no-value rules, the lattice split and the cell hashes, the
// 16-entry colour cycle and the document values the members read.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"
#include "foundation/checked.h"
#include "foundation/colormath.h"
#include "noise/lattice.h"

// Outputs 1 to 4 of one sample.
struct F34out
{
  double r;
  double g;
  double b;
  double w;
};

inline constexpr F34out kF34noValue{gINFINITY, gINFINITY, gINFINITY, gINFINITY};
inline constexpr F34out kF34zero{0, 0, 0, 0};

inline void f34_store(gfunc* g, int i, const F34out& q)
{
  g->outputs[0][i] = q.r;
  g->outputs[1][i] = q.g;
  g->outputs[2][i] = q.b;
  g->outputs[3][i] = q.w;
}

// x, y and z of the current batch, copied so that the outputs may be written
// while they are read; zUniform when input 3 gives one value for the batch.
struct F34batch
{
  int n;
  bool zUniform;
  std::array<double, kBatchCapacity> x;
  std::array<double, kBatchCapacity> y;
  std::array<double, kBatchCapacity> z;
};

inline F34batch f34_batch(const gfunc* g)
{
  F34batch b;
  b.n = KV_batchLength();
  b.zUniform = g->inlets[2].data != nullptr && g->inlets[2].channels == 0;
  KV_readInput(g, 0, b.n, b.x.data());
  KV_readInput(g, 1, b.n, b.y.data());
  KV_readInput(g, 2, b.n, b.z.data());
  return b;
}

// The component feeding input 1 had no value anywhere in its last batch.
inline bool f34_sourceMasked(const gfunc* g)
{
  return g->sources[0] != nullptr && g->sources[0]->maskedBatch != 0;
}

inline void f34_fill(gfunc* g, int n, const F34out& q)
{
  for (int i = 0; i < n; ++i)
    f34_store(g, i, q);
}

// outputs = f(x, y, z, i) for every sample; `masked` where x holds the
// no-value marker (y and z are not tested).
template <class F>
inline void f34_eachSample(gfunc* g, const F34batch& b, const F34out& masked, F f)
{
  for (int i = 0; i < b.n; ++i)
    f34_store(g, i, b.x[i] >= gINFINITY ? masked : f(b.x[i], b.y[i], b.z[i], i));
}

// As f34_eachSample, for the members whose whole batch is the marker when the
// source of input 1 reports an empty batch.
template <class F>
inline void f34_eachSampleOrEmpty(gfunc* g, F f)
{
  const F34batch b = f34_batch(g);
  if (f34_sourceMasked(g))
    return f34_fill(g, b.n, kF34noValue);
  f34_eachSample(g, b, kF34noValue, f);
}

// The lattice cell of u (floor) and its fraction in [0, 1). False for NaN,
// infinities, the marker and anything whose floor leaves int32.
struct F34cell
{
  int32_t i;
  double f;
};

inline bool f34_floor(double u, F34cell& out)
{
  kvnum::LatticeSplit s;
  const bool ok = kvnum::lattice_floor(u, s);
  out = {s.cell, s.frac};
  return ok;
}

// u - floor(u), as the colour positions take it (NaN stays NaN, which the
// gradients read as 0).
inline double f34_fracPart(double u)
{
  return u - std::floor(u);
}

inline const KVtables* f34_tables(const gfunc* g)
{
  return &g->doc->tables;
}

// H(i, j) = perm[(j + perm[i mod 1024] + (i >> 9)) mod 1024].
inline int32_t f34_hash(const KVtables* t, int32_t i, int32_t j)
{
  return kvnoise::cellHash2(t, i, j) & 1023;
}

// The corner hash of the 3D lattice members: for corner (i, j, k) the row
// (perm[(perm[i mod 1024] + k + (i >> 9)) mod 1024] + j) mod 1024; the
// corner (i, j + 1, k) reads the next row, not wrapped.
inline uint32_t f34_cornerRow(const KVtables* t, int32_t i, int32_t j, int32_t k)
{
  return kvnoise::hash3D(t, i, j, k, 1023u);
}

inline const double* f34_rndVec(const KVtables* t, uint32_t row)
{
  return t->rndVec3D[row & 1023u];
}

// The altitude-only flag: the engine reads output 4 only.
inline bool f34_altitudeOnly(const gfunc* g)
{
  return g->doc != nullptr && g->doc->fractal.reliefPass != 0;
}

// ---- Colour cycle -----------------------------------------------------------------

// The closed 16-entry cycle of a Color Cycle parameter: 15 hues, entry 0
// repeated in entry 15.
inline void f34_fillCycle(normalcolor table[16], double t)
{
  std::fill_n(table, 16, normalcolor{});
  GetParam1DColorTable(table, t, 15);
  table[15] = table[0];
}

struct F34rgb
{
  double r, g, b;
};

inline F34rgb f34_cycleAt(const normalcolor table[16], double t)
{
  F34rgb c;
  fcolorgradient(table, 16, t, &c.r, &c.g, &c.b);
  return c;
}

inline F34rgb f34_scaled(const F34rgb& c, double k)
{
  return {c.r * k, c.g * k, c.b * k};
}

// The cycle colour of every sample at z / period - floor(z / period), looked
// up once from the first sample when input 3 is uniform.
inline void f34_batchColours(const normalcolor table[16], const F34batch& b, double period,
                             std::array<F34rgb, kBatchCapacity>& out)
{
  if (b.zUniform) {
    const F34rgb c = f34_cycleAt(table, f34_fracPart(b.z[0] / period));
    std::fill_n(out.begin(), b.n, c);
    return;
  }
  for (int i = 0; i < b.n; ++i)
    out[i] = f34_cycleAt(table, f34_fracPart(b.z[i] / period));
}

// ---- Doubled lattice ----------------------------------------------------------------

// The four cells of a doubled lattice around (X, Y) = (ix + fx, iy + fy):
// even cells sit on the unit cells, odd cells on their corners. Calls
// cell(cx, cy, u, v) four times with the cell and the local coordinates
// (-1..1); indices wrap as 32-bit integers.
template <class Cell>
inline void f34_doubledLattice(const F34cell& X, const F34cell& Y, Cell cell)
{
  using kvnum::wrap_add_i32;
  const int32_t ex = kvnum::wrap_mul_i32(X.i, 2), ey = kvnum::wrap_mul_i32(Y.i, 2);
  const double u = 2 * X.f - 1, v = 2 * Y.f - 1;
  const bool right = X.f > 0.5, up = Y.f > 0.5;
  const int32_t cx = right ? wrap_add_i32(ex, 2) : ex;
  const double u2 = right ? 2 * X.f - 2 : 2 * X.f;
  const int32_t cy = up ? wrap_add_i32(ey, 2) : ey;
  const double v2 = up ? 2 * Y.f - 2 : 2 * Y.f;
  cell(ex, ey, u, v);
  cell(wrap_add_i32(cx, 1), ey, u2, v);
  cell(wrap_add_i32(cx, 1), wrap_add_i32(cy, 1), u2, v2);
  cell(ex, wrap_add_i32(cy, 1), u, v2);
}
