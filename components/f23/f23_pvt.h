// What the f23 group files share: the batch's two inputs, one output triple,
// the per-sample loop with the input each member tests for the no-value
// marker, and the doubles a handler precomputes into the private area.
#pragma once

#include <array>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"

// The doubles a member's handler precomputes at message 8.
struct F23constants
{
  double K[4];
};

inline F23constants& f23_k(gfunc* g)
{
  return privateArea<F23constants>(g);
}

// Outputs 1 to 3 of one sample: red, green, blue or a point x, y, z.
struct F23triple
{
  double a;
  double b;
  double c;
};

inline constexpr F23triple kF23noValue{gINFINITY, gINFINITY, gINFINITY};

// Colours held as doubles on the byte scale (0..255) while a member mixes
// them; f23_toValue turns one into outputs (8 full).
inline F23triple f23_rgb(const normalcolor& c)
{
  return {double(c.red), double(c.green), double(c.blue)};
}

// a + (b - a) w per channel.
inline F23triple f23_mix(const F23triple& a, const F23triple& b, double w)
{
  return {a.a + (b.a - a.a) * w, a.b + (b.b - a.b) * w, a.c + (b.c - a.c) * w};
}

inline F23triple f23_toValue(const F23triple& c)
{
  constexpr double kByteToValue = 1.0 / 32;
  return {c.a * kByteToValue, c.b * kByteToValue, c.c * kByteToValue};
}

inline void f23_store(gfunc* g, int i, const F23triple& t)
{
  g->outputs[0][i] = t.a;
  g->outputs[1][i] = t.b;
  g->outputs[2][i] = t.c;
}

// x and y of the current batch, copied so that the outputs may be written
// while they are read.
struct F23batch
{
  int n;
  std::array<double, kBatchCapacity> x;
  std::array<double, kBatchCapacity> y;
};

inline F23batch f23_batch(const gfunc* g)
{
  F23batch b;
  b.n = KV_batchLength();
  KV_readInput(g, 0, b.n, b.x.data());
  KV_readInput(g, 1, b.n, b.y.data());
  return b;
}

// Which input a member tests for the marker; a tested input at or above the
// marker gives the marker on all three outputs.
enum class F23mask
{
  none,
  x,
  y,
  xOrY,
};

inline bool f23_masked(F23mask mask, double x, double y)
{
  switch (mask) {
    case F23mask::x:
      return x >= gINFINITY;
    case F23mask::y:
      return y >= gINFINITY;
    case F23mask::xOrY:
      return x >= gINFINITY || y >= gINFINITY;
    case F23mask::none:
      break;
  }
  return false;
}

// outputs = f(x, y) for every sample of the batch, the marker where the
// tested input holds it.
template <class F>
inline void f23_eachSample(gfunc* g, F23mask mask, F f)
{
  const F23batch b = f23_batch(g);
  for (int i = 0; i < b.n; ++i)
    f23_store(g, i, f23_masked(mask, b.x[i], b.y[i]) ? kF23noValue : f(b.x[i], b.y[i]));
}
