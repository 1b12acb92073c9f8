#include "components/f21/f21_arith.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/f21/f21_pvt.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Soft minimum and maximum of x and y for Min <-> Max. With a smoothing
// half-width h > 0 the gap e between them never drops below h/4, so the two
// meet in a rounded curve instead of a crease where x equals y.
struct LowHigh
{
  double lo;
  double hi;
};

LowHigh softLowHigh(double x, double y, double h)
{
  if (h <= 0)
    return y <= x ? LowHigh{y, x} : LowHigh{x, y};
  const double d = std::fabs(x - y);
  const double t = d / h;
  const double e = t < 0.5 ? h * (t * t + 0.25) : h * t;
  return LowHigh{(x + y - e) / 2, (x + y + e) / 2};
}

// Maximum of x and t, rounded over a softness s (s <= 0: the plain maximum).
double softMax(double x, double t, double s)
{
  if (s <= 0)
    return x > t ? x : t;
  const double g = t + s / 4;
  if (x > g)
    return x;
  const double f = (g - x) / s;
  return f < 0.5 ? x + f * f * s : t;
}

}  // namespace

// ---- Compute functions ----------------------------------------------------

void f21_affine(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f21_eachSample(g, [=](double x, double y) { return a * x + b * y + c; });
}

// Two lobes of opposite sign: width set by A (through P1), height by B (P2).
void f21_add(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  f21_eachSample(
      g, [=](double x, double y) { return (x + y) * std::exp(-(x * x + y * y) * p.P1) * p.P2; });
}

void f21_mul(gfunc* g)
{
  const double a = g->A, b = g->B;
  f21_eachSample(g, [=](double x, double y) { return (x + a) * (y + b); });
}

// A cone around (-A pi, -B pi); a negative amplitude turns it over around
// the height 8.
void f21_distance(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  f21_eachSample(g, [=](double x, double y) {
    const double dx = x + p.P1, dy = y + p.P2;
    const double r = std::sqrt(dx * dx + dy * dy);
    return p.P3 >= 0 ? r * p.P3 : (8 - r) * -p.P3;
  });
}

void f21_difference(gfunc* g)
{
  const double a = g->A;
  f21_eachSample(g, [=](double x, double y) { return std::fabs(x - y) * a; });
}

// Blends the (soft) minimum and maximum by B. A masked input does not mask the
// output: the other input, times A, stands alone.
void f21_MinMax(gfunc* g)
{
  const F21batch in = f21_batch(g);
  const double a = g->A, b = g->B;
  const double h = f21_pre(g).P3 / 2;
  double* out = g->outputs[0];
  for (int i = 0; i < in.n; ++i) {
    const double x = in.x[i], y = in.y[i];
    if (x >= gINFINITY) {
      out[i] = y >= gINFINITY ? gINFINITY : y * a;
    } else if (y >= gINFINITY) {
      out[i] = x * a;
    } else {
      const LowHigh m = softLowHigh(x, y, h);
      out[i] = (m.lo + (m.hi - m.lo) * b) * a;
    }
  }
}

// Linear interpolation from x to y; A outside 0..1 extrapolates.
void f21_crossfade(gfunc* g)
{
  const double a = g->A;
  f21_eachSample(g, [=](double x, double y) { return x + (y - x) * a; });
}

void f21_distance2(gfunc* g)
{
  f21_eachSample(g, [](double x, double y) { return x * x + y * y; });
}

void f21_addmax(gfunc* g)
{
  const double a = g->A, b = g->B, s = std::max(g->C, 0.0);
  f21_eachSample(g, [=](double x, double y) { return softMax(x, a * x + b + y, s); });
}

// ---- Precomputations ------------------------------------------------------

void f21_add_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = (2.0625 + g->A) / 16;
  p.P2 = 3 + g->B;
}

void f21_distance_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = kPi * g->A;
  p.P2 = kPi * g->B;
  p.P3 = (2.125 + g->C) / 4.125;
}

void f21_MinMax_precompute(gfunc* g)
{
  f21_pre(g).P3 = g->C > 0 ? g->C / 2 : 0.0;
}

// ---- Handlers -------------------------------------------------------------

int16_t f21_affine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_affine, g, msg, a, b, c);
}

int16_t f21_add_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_add, g, msg, a, b, c);
}

int16_t f21_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_mul, g, msg, a, b, c);
}

int16_t f21_distance_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_distance, g, msg, a, b, c);
}

int16_t f21_difference_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_difference, g, msg, a, b, c);
}

int16_t f21_MinMax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_MinMax, g, msg, a, b, c);
}

int16_t f21_crossfade_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_crossfade, g, msg, a, b, c);
}

int16_t f21_distance2_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_distance2, g, msg, a, b, c);
}

int16_t f21_addmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_addmax, g, msg, a, b, c);
}
