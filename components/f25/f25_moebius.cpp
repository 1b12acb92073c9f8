#include "components/f25/f25_moebius.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/common/octaves.h"
#include "foundation/checked.h"

namespace {

constexpr double kPi = std::numbers::pi;

F25moebiusPrivate& moebiusOf(gfunc* g)
{
  return privateArea<F25moebiusPrivate>(g);
}

double modulus(Complex z)
{
  return std::sqrt(f25_norm2(z));
}

Complex polar(double r, double angle)
{
  return {r * std::cos(angle), r * std::sin(angle)};
}

// A sample of Moebius Disk or Moebius Balls that reached no base disk.
F25out missed(double x, double y)
{
  return {x, y, 0, 0, 0};
}

// ---- Kleinian ---------------------------------------------------------------

struct LatticeCircle
{
  Complex centre;
  double radius;
};

LatticeCircle latticeCircle(const F25kleinianPrivate& k, double p, double q)
{
  const double e = std::exp(k.b2 * p + k.b1 * q + 0.00846);
  const double psi = k.b1 * p - k.b2 * q - kPi / 2;
  return {polar(e, psi), k.radius * e};
}

// The Kleinian's journey from z: the output point and colour 0..255.
struct KleinianEnd
{
  Complex point;
  F25rgb colour;
};

KleinianEnd kleinianJourney(const F25kleinianPrivate& k, const cpalette& palette, Complex z, int n)
{
  for (int inversions = 0;;) {
    const double arg = std::atan(z.im / z.re) + (z.re < 0 ? kPi : 0);
    const double phi = arg + kPi / 2;
    const double l = std::log(modulus(z));
    const double u = k.a1 * phi - k.a2 * l, v = k.a1 * l + k.a2 * phi;
    const double i = f25_floor(u), j = f25_floor(v);
    const double fu = 4 * (u - i) - 2, fv = 4 * (v - j) - 2;
    const auto inDisk = [&](double cx, double cy) {
      return (fu - cx) * (fu - cx) + (fv - cy) * (fv - cy) < 1;
    };
    const double tau = std::clamp(l / 4 + 0.5, 0.0, 1.0);
    for (const double cx : {1.0, -1.0})
      if (inDisk(cx, 1))
        return {{fu - cx, fv - 1}, k.background.toward(k.second, tau)};
    for (const double cx : {1.0, -1.0})
      if (inDisk(cx, -1))
        return {{fu - cx, fv + 1}, f25_paletteColour(palette, f25_frac((j - i * k.k0) * k.k1))};
    if (inversions >= n)
      return {z, {0, 0, 0}};
    const double i2 = f25_floor(u + 0.5), j2 = f25_floor(v + 0.5);
    const double candidates[4][2] = {{i + 0.5, j2}, {i2, j2}, {i + 0.5, j + 0.5}, {i2, j + 0.5}};
    bool inverted = false;
    for (const auto& pq : candidates) {
      const LatticeCircle c = latticeCircle(k, pq[0], pq[1]);
      const Complex dz = z - c.centre;
      const double d2 = f25_norm2(dz);
      const double r2 = c.radius * c.radius;
      if (d2 < r2) {
        z = c.centre + f25_scale(dz, r2 / d2);
        ++inversions;
        inverted = true;
        break;
      }
    }
    if (!inverted)
      return {z, {0, 0, 0}};
  }
}

}  // namespace

// ---- Moebius Inversions -----------------------------------------------------

void f25_DinvMoebius_prepare(gfunc* g)
{
  const Complex e{std::cos(kPi / 8), -std::sin(kPi / 8)};
  const Complex w{g->A, g->B};
  const Complex z0 = f25_scale(e, 2);
  const Complex q = (Complex{1, 0} + z0 * w) * f25_conj(e);
  moebiusOf(g).map = {q, z0, w, e};
}

void f25_DinvMoebius(gfunc* g)
{
  const F25moebius& m = moebiusOf(g).map;
  const int n = std::min(kvnum::sat_i32(g->C), kF25moebiusMaxRecursion);
  f25_eachSampleUntested(g, [&](double x, double y) {
    if (n < 0)
      return F25out{x, y, 0, 0, 0};
    Complex z{x, y};
    double shade = 0, depth = 0, weighted = 0;
    for (int k = 0; k <= n; ++k) {
      z = m.forward(z);
      const double d = f25_norm2(z);
      const double weight = 1 - (n == 0 ? 0.0 : double(k) / n);
      if (d < 1) {
        z = f25_scale(z, 1 / d);
        shade = std::max(shade, d * d * weight);
        depth += 1 - d;
        weighted += 0.045 * k * (1 - d);
      } else if (2 - d > 0) {
        shade = std::max(shade, (2 - d) * (2 - d) * weight);
      }
    }
    return F25out{z.re, z.im, weighted, 4 * shade, depth};
  });
}

// ---- Moebius Disk -----------------------------------------------------------

void f25_moebiusDisk_prepare(gfunc* g)
{
  const double b = g->B, c = g->C;
  const double rho = std::pow(0.125, 1 / (b * c));
  const Complex v = polar(rho, 2 * kPi / c);
  const Complex one{1, 0};
  const Complex sum = one + v, diff = v - one;
  const double norm = modulus(sum * sum - diff * diff);
  const Complex a = f25_scale(sum, -1 / norm);
  const Complex bb = f25_scale(diff, 1 / norm);
  F25moebiusPrivate& pv = moebiusOf(g);
  pv.map = {a, bb, bb, a};
  const Complex ratio = bb / a;
  const double size = modulus(ratio);
  pv.k0 = 0.5 * g->A * size;
  pv.k1 = 4 / size;
  pv.u = {ratio.im / size, -ratio.re / size};
}

void f25_moebiusDisk(gfunc* g)
{
  const F25moebiusPrivate& pv = moebiusOf(g);
  const int n = KV_octavePasses(g);
  const double base = pv.k0 * pv.k0;
  const cpalette& palette = f25_palette(g);
  f25_eachSampleUntested(g, [&](double x, double y) {
    const Complex z{x, y};
    const Complex z0 = f25_scale(z, 2 * pv.k0 / f25_norm2(z)) * pv.u;
    Complex result = z0;
    int k = 0;
    if (f25_norm2(z0) > base) {
      Complex forward = z0, backward = z0;
      for (k = 1;; ++k) {
        forward = pv.map.forward(forward);
        backward = pv.map.inverse(backward);
        if (k > n)
          return missed(-kPi, kPi);
        if (f25_norm2(forward) <= base) {
          result = forward;
          break;
        }
        if (f25_norm2(backward) <= base) {
          result = backward;
          break;
        }
      }
    }
    const F25rgb c = f25_tableColour(palette, double(k) / n).scaled(kF25byteScale);
    return F25out{pv.k1 * result.re, pv.k1 * result.im, c.r, c.g, c.b};
  });
}

// ---- Moebius Balls ----------------------------------------------------------

void FixSymMoebiusGeom(const Complex& a, const Complex& b, const Complex& c, const Complex& d,
                       dvector3d& out)
{
  const F25moebius m{a, b, c, d};
  const double r = modulus(b / d) / 2;
  Complex points[4] = {{r, 0}, polar(r, kPi / 3), polar(r, 2 * kPi / 3), {0, 0}};
  double best = 0;
  for (int pass = 0; pass < 18; ++pass) {
    for (Complex& p : points)
      p = m.forward(p);
    best = std::max(best, points[3].re);
  }
  out = {best / 2, 0, r * r};
}

void f25_moebiusBalls_prepare(gfunc* g)
{
  const double m = 16 - 14 * g->A;
  const Complex lambda = polar(g->C, g->B);
  const Complex one{1, 0};
  const double norm = modulus(f25_scale(lambda, 4 * m * m));
  const Complex ad = f25_scale(one + lambda, -m / norm);
  const Complex b = f25_scale(lambda - one, m * m / norm);
  const Complex c = f25_scale(lambda - one, 1 / norm);
  F25moebiusPrivate& pv = moebiusOf(g);
  pv.map = {ad, b, c, ad};
  dvector3d scale;
  FixSymMoebiusGeom(ad, b, c, ad, scale);
  pv.k0 = scale.x;
  pv.k1 = scale.y;
}

void f25_moebiusBalls(gfunc* g)
{
  const F25moebiusPrivate& pv = moebiusOf(g);
  const int n = KV_octavePasses(g);
  const cpalette& palette = f25_palette(g);
  const auto inBall = [](Complex z) { return f25_norm2(z) <= 1; };
  f25_eachSampleUntested(g, [&](double x, double y) {
    const Complex z0 = Complex{pv.k0, pv.k1} * Complex{x, y};
    Complex result = z0;
    int k = 0;
    bool found = inBall(z0);
    for (Complex z = z0; !found;) {
      z = pv.map.forward(z);
      if (++k > n)
        break;
      if (inBall(z)) {
        result = z;
        found = true;
      }
    }
    if (!found) {
      Complex w = z0;
      for (int j = 0;; ++j) {
        if (j == n + 1)
          return missed(-8, -8);
        w = pv.map.inverse(w);
        if (inBall(w)) {
          result = w;
          k = j;
          break;
        }
      }
    }
    const double shade = 1 - f25_norm2(result);
    const F25rgb c = f25_tableColour(palette, double(k) / n).scaled(shade * kF25byteScale);
    return F25out{result.re, result.im, c.r, c.g, c.b};
  });
}

void f25_Kleinian_prepare(gfunc* g)
{
  F25kleinianPrivate& k = privateArea<F25kleinianPrivate>(g);
  const double phi = std::asin(0.08304547985373997);
  const double c = std::cos(phi), s = std::sin(phi);
  const double oneMinusCos = 1 - std::cos(kPi / 6), sin30 = std::sin(kPi / 6);
  const double rho = 0.25 * std::sqrt(oneMinusCos * oneMinusCos + sin30 * sin30);
  k.a1 = 1.9164792999233633 * c;
  k.a2 = 1.9164792999233633 * s;
  k.b1 = 0.5217901388446973 * c;
  k.b2 = -0.5217901388446973 * s;
  k.radius = 1.00341 * rho;
  k.k0 = 0.08333333333333333;
  k.k1 = 0.125;
  k.background = f25_background(g);
  k.second = f25_second(g);
}

void f25_Kleinian(gfunc* g)
{
  const F25kleinianPrivate& k = privateArea<F25kleinianPrivate>(g);
  const int n = std::min(kvnum::sat_i32(g->C), kF25kleinianMaxRecursion);
  const double a = g->A;
  const LatticeCircle seed = latticeCircle(k, std::trunc(24 * g->B) * 0.5 - 0.25, 0.75);
  const double seed2 = seed.radius * seed.radius;
  const cpalette& palette = f25_palette(g);
  f25_eachSample(g, [&](double x, double y) {
    // Scaled into the seed circle, then inverted into its outside.
    const Complex w = f25_scale(Complex{x, y}, seed.radius / (a + 1));
    const Complex z = seed.centre + f25_scale(w, seed2 / f25_norm2(w));
    const KleinianEnd end = kleinianJourney(k, palette, z, n);
    const F25rgb c = end.colour.scaled(kF25byteScale);
    return F25out{end.point.re, end.point.im, c.r, c.g, c.b};
  });
}

// ---- Handlers ---------------------------------------------------------------

int16_t f25_DinvMoebius_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_DinvMoebius, g, msg, a, b, c);
}

int16_t f25_moebiusDisk_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_moebiusDisk, g, msg, a, b, c);
}

int16_t f25_moebiusBalls_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_moebiusBalls, g, msg, a, b, c);
}

int16_t f25_Kleinian_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_Kleinian, g, msg, a, b, c);
}
