// What the f25 group files share: the batch's two inputs, the five outputs
// of one sample (x', y' and a colour on the 0..8 scale), the per-sample loop
// that gives the no-value marker on outputs 1 to 3 where input 1 holds it
// (outputs 4 and 5 keep what they held), the document's two colours and
// colour table, the lattice floor kept in doubles, and complex arithmetic.
#pragma once

#include <array>
#include <cmath>

#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/palettelookups.h"
#include "engine/world.h"
#include "foundation/colormath.h"
#include "foundation/types.h"

// 0..255 colour values times this give the 0..8 output scale.
inline constexpr double kF25byteScale = 0.03125;

// Outputs 1 to 5 of one sample.
struct F25out
{
  double x;
  double y;
  double r;
  double g;
  double b;
};

inline void f25_store(gfunc* g, int i, const F25out& o)
{
  g->outputs[0][i] = o.x;
  g->outputs[1][i] = o.y;
  g->outputs[2][i] = o.r;
  g->outputs[3][i] = o.g;
  g->outputs[4][i] = o.b;
}

inline void f25_storeMarker(gfunc* g, int i)
{
  g->outputs[0][i] = gINFINITY;
  g->outputs[1][i] = gINFINITY;
  g->outputs[2][i] = gINFINITY;
}

// x and y of the current batch, copied so that the outputs may be written
// while they are read.
struct F25batch
{
  int n;
  std::array<double, kBatchCapacity> x;
  std::array<double, kBatchCapacity> y;
};

inline F25batch f25_batch(const gfunc* g)
{
  F25batch b;
  b.n = KV_batchLength();
  KV_readInput(g, 0, b.n, b.x.data());
  KV_readInput(g, 1, b.n, b.y.data());
  return b;
}

// outputs = f(x, y) for every sample; where input 1 holds the marker,
// outputs 1 to 3 take it and 4 and 5 are left (input 2 is not tested).
template <class F>
inline void f25_eachSample(gfunc* g, F f)
{
  const F25batch b = f25_batch(g);
  for (int i = 0; i < b.n; ++i) {
    if (b.x[i] >= gINFINITY)
      f25_storeMarker(g, i);
    else
      f25_store(g, i, f(b.x[i], b.y[i]));
  }
}

// The same for members that do not test their inputs.
template <class F>
inline void f25_eachSampleUntested(gfunc* g, F f)
{
  const F25batch b = f25_batch(g);
  for (int i = 0; i < b.n; ++i)
    f25_store(g, i, f(b.x[i], b.y[i]));
}

// A colour as three doubles (0..255 or 0..8, as the member says).
struct F25rgb
{
  double r;
  double g;
  double b;

  F25rgb scaled(double k) const { return {r * k, g * k, b * k}; }
  // Each channel moved toward `to` by w.
  F25rgb toward(const F25rgb& to, double w) const
  {
    return {r + (to.r - r) * w, g + (to.g - g) * w, b + (to.b - b) * w};
  }
};

// The document's background colour (defaultColors[0]) and the colour after
// it (the second colour), R, G, B bytes as 0..255.
inline F25rgb f25_docColour(const gfunc* g, int which)
{
  const normalcolor c = g->doc->defaultColors[which];
  return {double(c.red), double(c.green), double(c.blue)};
}
inline F25rgb f25_background(const gfunc* g)
{
  return f25_docColour(g, 0);
}
inline F25rgb f25_second(const gfunc* g)
{
  return f25_docColour(g, 1);
}

inline const cpalette& f25_palette(const gfunc* g)
{
  return g->doc->tables.gradientKeys;
}

// The palette's keys spread evenly over 0..1, linear between neighbours
// (count held to the 64 keys the record has), 0..255.
inline F25rgb f25_tableColour(const cpalette& p, double t)
{
  const int32_t count = p.count < 0 ? 0 : (p.count > 64 ? 64 : p.count);
  F25rgb c;
  fcolorgradient(p.colors, count, t, &c.r, &c.g, &c.b);
  return c;
}

// The palette's linear gradient as the engine's colour lookups give it
// (colour 0 for t <= 0 or NaN, the last used colour for t >= 1), 0..255.
inline F25rgb f25_paletteColour(const cpalette& p, double t)
{
  double out[3];
  fvcolorgradient(&p, t, out);
  return {out[0], out[1], out[2]};
}

// The lattice floor in doubles: trunc(u) for u >= 0, trunc(u - 1) below, so
// that an exact negative integer floors one lower. NaN stays NaN.
inline double f25_floor(double u)
{
  return u >= 0 ? std::trunc(u) : std::trunc(u - 1);
}
inline double f25_frac(double u)
{
  return u - f25_floor(u);
}

// ---- Complex arithmetic --------------------------------------------------

struct Complex
{
  double re;
  double im;
};

inline Complex operator+(Complex a, Complex b)
{
  return {a.re + b.re, a.im + b.im};
}
inline Complex operator-(Complex a, Complex b)
{
  return {a.re - b.re, a.im - b.im};
}
inline Complex operator*(Complex a, Complex b)
{
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
inline Complex f25_scale(Complex a, double k)
{
  return {a.re * k, a.im * k};
}
inline double f25_norm2(Complex a)
{
  return a.re * a.re + a.im * a.im;
}
inline Complex f25_conj(Complex a)
{
  return {a.re, -a.im};
}
// a / b; a denominator of exactly 0 + 0i gives 0.
inline Complex operator/(Complex a, Complex b)
{
  const double d = f25_norm2(b);
  if (b.re == 0 && b.im == 0)
    return {0, 0};
  return {(a.re * b.re + a.im * b.im) / d, (a.im * b.re - a.re * b.im) / d};
}

// The doubles a member's handler precomputes at message 8.
struct F25constants
{
  double k[12];
  F25rgb background;
  F25rgb second;
};

inline F25constants& f25_k(gfunc* g)
{
  return privateArea<F25constants>(g);
}
inline const F25constants& f25_k(const gfunc* g)
{
  return privateArea<F25constants>(g);
}
