// What the f33 group files share: the batch's three inputs, one output triple
// (a point x, y, z or a colour R, G, B on the colour scale of 8), the
// per-sample loop with the family's no-value rule (a marked x gives the marker
// on all three outputs; y and z are not tested), the conversion between the
// colour scale and 0..255 values, and the doubles a handler precomputes at
// message 8.
#pragma once

#include <array>
#include <numbers>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"

// Outputs 1 to 3 of one sample.
struct F33triple
{
  double a;
  double b;
  double c;
};

inline constexpr F33triple kF33noValue{gINFINITY, gINFINITY, gINFINITY};

inline void f33_store(gfunc* g, int i, const F33triple& t)
{
  g->outputs[0][i] = t.a;
  g->outputs[1][i] = t.b;
  g->outputs[2][i] = t.c;
}

inline void f33_fill(gfunc* g, int n, const F33triple& t)
{
  for (int i = 0; i < n; ++i)
    f33_store(g, i, t);
}

// x, y and z (or R, G, B) of the current batch, copied so that the outputs
// may be written while they are read. n is the batch length, 0 when there is
// nothing to compute.
struct F33batch
{
  int n;
  std::array<double, kBatchCapacity> x;
  std::array<double, kBatchCapacity> y;
  std::array<double, kBatchCapacity> z;
};

inline F33batch f33_batch(const gfunc* g)
{
  F33batch b;
  b.n = KV_batchLength();
  KV_readInput(g, 0, b.n, b.x.data());
  KV_readInput(g, 1, b.n, b.y.data());
  KV_readInput(g, 2, b.n, b.z.data());
  return b;
}

// outputs = f(x, y, z, i) for every sample of the batch; a sample whose x is
// at or above the no-value marker gets the marker on all three outputs.
template <class F>
inline void f33_eachSampleAt(gfunc* g, F f)
{
  const F33batch b = f33_batch(g);
  for (int i = 0; i < b.n; ++i)
    f33_store(g, i, b.x[i] >= gINFINITY ? kF33noValue : f(b.x[i], b.y[i], b.z[i], i));
}

template <class F>
inline void f33_eachSample(gfunc* g, F f)
{
  f33_eachSampleAt(g, [&](double x, double y, double z, int) { return f(x, y, z); });
}

// As f33_eachSample without the no-value test: f sees every sample (the
// perspective surfaces decide hits themselves).
template <class F>
inline void f33_eachSampleUntested(gfunc* g, F f)
{
  const F33batch b = f33_batch(g);
  for (int i = 0; i < b.n; ++i)
    f33_store(g, i, f(b.x[i], b.y[i], b.z[i]));
}

// ---- Colour scale -------------------------------------------------------------------

// Colours travel on a scale where 8.0 is full intensity; members that work on
// 0..255 values multiply by 32 on the way in and divide by 32 on the way out.
inline constexpr double kF33byteScale = 32.0;

inline double f33_toByteScale(double v)
{
  return v * kF33byteScale;
}

inline double f33_fromByteScale(double v)
{
  return v / kF33byteScale;
}

inline F33triple f33_toByteScale(const F33triple& t)
{
  return {t.a * kF33byteScale, t.b * kF33byteScale, t.c * kF33byteScale};
}

inline F33triple f33_fromByteScale(const F33triple& t)
{
  return {t.a / kF33byteScale, t.b / kF33byteScale, t.c / kF33byteScale};
}

// ---- Precomputed constants and document values -------------------------------------

// The doubles a member's handler precomputes at message 8.
struct F33constants
{
  double K[12];
};

inline F33constants& f33_k(gfunc* g)
{
  return privateArea<F33constants>(g);
}

inline const KVtables* f33_tables(const gfunc* g)
{
  return &g->doc->tables;
}

namespace f33detail {
inline constexpr double kPi = std::numbers::pi;
}  // namespace f33detail
