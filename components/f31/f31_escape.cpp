#include "components/f31/f31_escape.h"

#include <cmath>
#include <numbers>

#include "components/common/octaves.h"
#include "foundation/numbers.h"
#include "noise/complexsteps.h"
#include "noise/tables.h"

namespace {

constexpr double kPi = std::numbers::pi;

struct W
{
  double re;
  double im;

  double norm2() const { return re * re + im * im; }
  W squarePlus(const W& c) const { return {re * re - im * im + c.re, 2 * re * im + c.im}; }
};

// The shading inside the set from the final iterate: its angle folded to
// 0..2pi twice over and a table sine of twice its squared magnitude.
double insideShading(const W& w, double k3)
{
  const double a = SinToAngle(w.re, w.im);
  const double a2 = (a > kPi || std::isnan(a)) ? 2 * (2 * kPi - a) : 2 * a;
  const double s = TableSin(2 * w.norm2());
  return ((s + 1) * 2 - a2) * k3 + a2;
}

// Iterates w <- w^2 + c from the latest iterate while |w|^2 <= 4, counting;
// stops bounded when the count reaches `limit` (or more).
struct Escape
{
  int count;
  bool bounded;
  W last;
};

Escape quadraticEscape(W w, const W& c, int limit)
{
  int count = 0;
  while (w.norm2() <= 4) {
    ++count;
    if (count >= limit)
      return {count, true, w};
    w = w.squarePlus(c);
  }
  return {count, false, w};
}

// One step of `step`, then up to `passes` more, counting those that stay
// within |w|^2 <= 200; the count, or the inside shading when none escaped.
template <class Step>
double stepEscape(W w, int passes, double k3, Step step)
{
  step(w);
  int count = 0;
  for (int pass = 0; pass < passes; ++pass) {
    step(w);
    if (w.norm2() > 200)
      return count / 32.0;
    ++count;
  }
  return insideShading(w, k3);
}

}  // namespace

void f31_escape_prepare(gfunc* g)
{
  double* k = f31_k(g).K;
  k[0] = g->A / kPi;
  k[1] = g->B / kPi;
  k[2] = g->C / 32;
  k[3] = (g->C + 2) / 4;
}

void f31_JuliaSets_prepare(gfunc* g)
{
  double* k = f31_k(g).K;
  double a = g->A / (kPi / 2), b = g->B / (kPi / 2);
  const double r = std::sqrt(a * a + b * b);
  const double length = (r > 0 && r < 0.5) ? 0.5 : (r > 1.125 ? 1.25 : r);
  if (length != r) {
    a *= length / r;
    b *= length / r;
  }
  k[0] = a;
  k[1] = b;
  k[2] = g->C / 32;
  k[3] = (g->C + 2) / 4;
}

void f31_mandel_prepare(gfunc* g)
{
  double* k = f31_k(g).K;
  k[0] = (3 + g->A) / 8;
  k[1] = g->B / 10;
  k[2] = g->C / 64;
}

void f31_JuliaSets(gfunc* g)
{
  const double* k = f31_k(g).K;
  const double k0 = k[0], k1 = k[1], k2 = k[2], k3 = k[3];
  const int limit = 2 * KV_octavePasses(g);
  f31_eachSample(g, [=](double x, double y, double z) {
    const W c{k2 * z + k0, k1};
    const W w2 = W{x / 4, y / 4}.squarePlus(c).squarePlus(c);
    const Escape e = quadraticEscape(w2, c, limit);
    return e.bounded ? insideShading(e.last, k3) : e.count / 32.0;
  });
}

void f31_mandel(gfunc* g)
{
  const double* k = f31_k(g).K;
  const double k0 = k[0], k1 = k[1], k2 = k[2];
  const int limit = 2 * KV_octavePasses(g);
  f31_eachSample(g, [=](double x, double y, double z) {
    const double d = k1 * z;
    const W c{(x - 0.5) * k0 + d, k0 * y - d};
    const Escape e = quadraticEscape(c.squarePlus(c), c, limit);
    return e.bounded ? 0.0 : e.count * k2 + 0.5;
  });
}

void f31_fractalA(gfunc* g)
{
  const double* k = f31_k(g).K;
  const double k0 = k[0], k1 = k[1], k2 = k[2], k3 = k[3];
  const int passes = KV_octavePasses(g);
  f31_eachSample(g, [=](double x, double y, double z) {
    const double cr = k0 + k2 * z;
    return stepEscape(W{x / 2, y / 2}, passes, k3,
                      [=](W& w) { CStrangeWeb(&w.re, &w.im, cr, k1); });
  });
}

// The constants are formed at the start of every batch.
void f31_FerroMagnet(gfunc* g)
{
  f31_escape_prepare(g);
  const double* k = f31_k(g).K;
  const double k0 = k[0], k1 = k[1], k2 = k[2], k3 = k[3];
  const int passes = KV_octavePasses(g);
  f31_eachSample(g, [=](double x, double y, double z) {
    return stepEscape(W{k0 + k2 * z, k1}, passes, k3,
                      [=](W& w) { CFerroMagnetModel(&w.re, &w.im, x, y); });
  });
}

int16_t f31_fractalA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_fractalA, g, msg, a, b, c);
}
int16_t f31_JuliaSets_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_JuliaSets, g, msg, a, b, c);
}
int16_t f31_mandel_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_mandel, g, msg, a, b, c);
}
int16_t f31_FerroMagnet_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_FerroMagnet, g, msg, a, b, c);
}
