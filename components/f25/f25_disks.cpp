#include "components/f25/f25_disks.h"

#include <algorithm>
#include <cmath>

#include "components/f25/f25_pvt.h"
#include "foundation/checked.h"

namespace {

using f25disk::kPi;

double fourth(double u)
{
  const double u2 = u * u;
  return u2 * u2;
}

double eighth(double u)
{
  return fourth(u * u);
}

// The disk of one inversion member in its scaled plane: the point, its
// squared distance from the centre, and whether it was inverted.
struct DiskSample
{
  double x;
  double y;
  double d;
  double rimWeight;  // (1 - sqrt|d - 1|)^4 on the rim band 0 < d < 2, else -1
};

// Inverts the inside (d < 1) or the outside (d > 1) of the unit disk of the
// plane scaled by 1/A about (-B, -C).
template <bool kOutside>
DiskSample diskSample(const gfunc* g, double x, double y)
{
  const double k0 = f25_k(g).k[0];
  const double a = g->A, b = g->B, c = g->C;
  double px = k0 * (x + b), py = k0 * (y + c);
  const double d = px * px + py * py;
  if (kOutside ? d > 1 : d < 1) {
    px = px * a / d;
    py = py * a / d;
  }
  const double e = d - 1;
  const double w = (-1 < e && e < 1) ? fourth(1 - std::sqrt(std::fabs(e))) : -1;
  return {px - b, py - c, d, w};
}

// The spiral map T(z) = (k0 + i k1) z + (k2 + i k3), times (k4 - i k5), and its
// inverse.
struct Spiral
{
  Complex mul;
  Complex add;
  Complex turn;

  Complex forward(Complex z) const { return (mul * z + add) * f25_conj(turn); }
  Complex inverse(Complex z) const { return (z * turn - add) / mul; }
};

Spiral spiralOf(const F25constants& k)
{
  return {{k.k[0], k.k[1]}, {k.k[2], k.k[3]}, {k.k[4], k.k[5]}};
}

}  // namespace

void f25_diskInversion_prepare(gfunc* g)
{
  F25constants& k = f25_k(g);
  k.k[0] = 1 / g->A;
  k.background = f25_background(g).scaled(kF25byteScale);
}

void f25_diskInversion(gfunc* g)
{
  const F25rgb bg = f25_k(g).background;
  f25_eachSample(g, [&](double x, double y) {
    const DiskSample s = diskSample<false>(g, x, y);
    const double lit = s.d < 1 ? 8 : 0;
    if (s.rimWeight < 0)
      return F25out{s.x, s.y, lit, 0, 0};
    const double w = s.rimWeight;
    return F25out{s.x, s.y, lit + (bg.r - lit) * w, w * bg.g, w * bg.b};
  });
}

void f25_OdiskInversion(gfunc* g)
{
  const F25rgb bg = f25_k(g).background;
  f25_eachSample(g, [&](double x, double y) {
    const DiskSample s = diskSample<true>(g, x, y);
    const double lit = s.d > 1 ? 8 : 0;
    if (s.rimWeight < 0)
      return F25out{s.x, s.y, 0, lit, 0};
    const double w = s.rimWeight;
    return F25out{s.x, s.y, w * bg.r, lit + (bg.g - lit) * w, w * bg.b};
  });
}

void f25_DinvSpiral_prepare(gfunc* g)
{
  F25constants& k = f25_k(g);
  k.k[0] = g->B * std::cos(g->A);
  k.k[1] = -g->B * std::sin(g->A);
  k.k[2] = 1 + g->B;
  k.k[3] = 0;
  k.k[4] = 1;
  k.k[5] = 0;
  k.background = f25_background(g);
}

void f25_DinvSpiral(gfunc* g)
{
  const F25constants& k = f25_k(g);
  const Spiral spiral = spiralOf(k);
  const F25rgb bg = k.background;
  const cpalette& palette = f25_palette(g);
  const int n = std::min(kvnum::sat_i32(g->C), kF25spiralMaxRecursion);
  f25_eachSampleUntested(g, [&](double x, double y) {
    Complex z{x, y};
    const int h = n / 2;
    for (int s = 0; s <= h; ++s)
      z = spiral.inverse(z);
    F25rgb c{0, 0, 0};
    Complex last{0, 0};
    for (int step = 0; step <= n; ++step) {
      const double d = f25_norm2(z);
      if (d < 1) {
        last = z;
        z = f25_scale(z, 1 / d);
        c = f25_tableColour(palette, double(step) / n).toward(bg, eighth(d));
      } else if (2 - d > 0) {
        c = c.toward(bg, eighth(2 - d));
      }
      z = spiral.forward(z);
    }
    const F25rgb out = c.scaled(kF25byteScale);
    return F25out{last.re, last.im, out.r, out.g, out.b};
  });
}

void f25_fD_prepare(gfunc* g)
{
  if (g->A < 2) {
    g->A = 2;
    f25_k(g).k[0] = 2 / kPi;
  } else {
    f25_k(g).k[0] = g->A / kPi;
  }
}

void f25_fD(gfunc* g)
{
  const double k0 = f25_k(g).k[0];
  const double b = g->B, c = g->C;
  const F25rgb bg = f25_background(g);
  f25_eachSample(g, [&](double x, double y) {
    const double phi = std::atan(y / x) + (x >= 0 ? kPi / 2 : 3 * kPi / 2);
    const double l = std::log(std::sqrt(x * x + y * y));
    const double u = (k0 * l - phi / kPi) / 2;
    const double i = f25_floor(u);
    const double v = 2 * (u - i) - 1;
    const double w = (2 * kPi * i + phi - kPi) * k0;
    F25rgb colour = f25_paletteColour(f25_palette(g), w / 16 - f25_floor(w / 16));
    const double e = 4 * std::fabs(v) - 3;
    if (e > 0)
      colour = colour.toward(bg, fourth(e));
    const F25rgb out = colour.scaled(kF25byteScale);
    return F25out{w + b, v + c, out.r, out.g, out.b};
  });
}

void f25_fA(gfunc* g)
{
  const double a = g->A;
  const F25rgb colour = f25_paletteColour(f25_palette(g), 0).scaled(kF25byteScale);
  f25_eachSample(g, [&](double x, double y) {
    return F25out{x * a / 8, y * a / 8, colour.r, colour.g, colour.b};
  });
}

int16_t f25_diskInversion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_diskInversion, g, msg, a, b, c);
}

int16_t f25_OdiskInversion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_OdiskInversion, g, msg, a, b, c);
}

int16_t f25_DinvSpiral_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_DinvSpiral, g, msg, a, b, c);
}

int16_t f25_fD_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_fD, g, msg, a, b, c);
}

int16_t f25_fA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_fA, g, msg, a, b, c);
}
