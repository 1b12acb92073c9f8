#include "components/f42/f42_complex.h"

#include <algorithm>
#include <cmath>

#include "components/common/mirrors3.h"
#include "components/common/octaves.h"
#include "components/f42/f42_pvt.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// |Z|^2 beyond which the escape-time maps of Z^2 + C and Z^3 + C stop.
constexpr double kEscapeNorm = 64;

struct Cx
{
  double re;
  double im;
};

Cx add(Cx a, Cx b)
{
  return {a.re + b.re, a.im + b.im};
}

Cx mul(Cx a, Cx b)
{
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

double norm(Cx z)
{
  return z.re * z.re + z.im * z.im;
}

// 1/z, taken as 0 where |z|^2 is exactly 0.
Cx reciprocal(Cx z)
{
  const double m = norm(z);
  if (m == 0)
    return {0, 0};
  return {z.re / m, -z.im / m};
}

Cx square(Cx z)
{
  return {z.re * z.re - z.im * z.im, 2 * z.re * z.im};
}

Cx cube(Cx z)
{
  const double x = z.re, y = z.im;
  return {x * x * x - 3 * x * y * y, 3 * x * x * y - y * y * y};
}

// A Recursion parameter as a step count held to 0..max (NaN as 0).
int recursionOf(double a, int max)
{
  return std::clamp(kvnum::sat_i32(a), 0, max);
}

bool finitePoint(Cx z)
{
  return std::isfinite(z.re) && std::isfinite(z.im);
}

// The orbit of Z under Z <- Z^p + C as the escape-time members run it: Z1
// when n <= 0; otherwise the first Z_k (k from 2) with k > n while the
// orbit stays within |Z|^2 <= 64. An orbit that leaves first gives the
// outer value v = (ln |Z_k|^2 / d)^slope, d being `divisor` at Z2 and
// multiplied by `growth` with each further step; a negative slope flattens
// v to 32 ln(1 + v/32).
struct Orbit
{
  bool escaped;
  Cx z;
  double v;
};

template <class Step>
Orbit escapeOrbit(Cx z, Cx c, int n, double slope, double divisor, double growth, Step step)
{
  const Cx z1 = add(step(z), c);
  if (n <= 0)
    return {false, z1, 0};
  Cx zk = add(step(z1), c);
  double d = divisor;
  for (int k = 2; norm(zk) <= kEscapeNorm; ++k) {
    if (k > n)
      return {false, zk, 0};
    zk = add(step(zk), c);
    d *= growth;
  }
  double v = std::pow(std::log(norm(zk)) / d, slope);
  if (slope < 0)
    v = 32 * std::log(1 + v / 32);
  return {true, zk, v};
}

// Z^|n| by complex products for |n| = 1..5, as the power member forms it.
Cx smallPower(Cx z, int n)
{
  const Cx z2 = square(z);
  switch (n) {
    case 1:
      return z;
    case 2:
      return z2;
    case 3:
      return mul(z2, z);
    case 4:
      return square(z2);
    default:
      return mul(square(z2), z);
  }
}

Cx power(Cx z, double n)
{
  const double magnitude = std::fabs(n);
  if (magnitude >= 1 && magnitude <= 5 && magnitude == std::trunc(magnitude)) {
    const Cx p = smallPower(z, int(magnitude));
    if (n > 0)
      return p;
    const double m = norm(p);
    return {p.re / m, -p.im / m};
  }
  const double r = std::sqrt(norm(z));
  const double theta = std::atan2(z.im, z.re);
  const double rn = std::pow(r, n);
  return {rn * std::cos(n * theta), rn * std::sin(n * theta)};
}

void lockA(gfunc* g, int16_t msg)
{
  if (msg == kMsgDefaults)
    g->lockFlags = kLockA;
}

}  // namespace

// ---- Sums and products ---------------------------------------------------------

void f42_add(gfunc* g)
{
  const double A = g->A;
  f42_eachSample(g, [&](const F42sample& s) { return F42point{A * (s.x + s.z), A * (s.y + s.w)}; });
}

void f42_Cadd(gfunc* g)
{
  const double A = g->A, B = g->B;
  f42_eachSample(g, [&](const F42sample& s) {
    return F42point{A * s.x - B * s.y + s.z, A * s.y + B * s.x + s.w};
  });
}

void f42_addNormalised_precompute(gfunc* g)
{
  g->B = std::min(g->B, 1.0);
}

void f42_addNormalised(gfunc* g)
{
  const double A = g->A, B = g->B;
  f42_eachSample(g, [&](const F42sample& s) {
    // Adding the zero vector leaves P, whatever scale a radius of 0 gives
    // (with B = 1 it divides by 0).
    if (s.z == 0 && s.w == 0)
      return F42point{s.x, s.y};
    double scale = A;
    if (B > 0) {
      const double r = std::max(1e-250, std::sqrt(s.z * s.z + s.w * s.w));
      scale = A / ((r - 1) * B + 1);
    }
    return F42point{s.x + scale * s.z, s.y + scale * s.w};
  });
}

void f42_mul(gfunc* g)
{
  f42_eachSample(g, [](const F42sample& s) {
    const Cx p = mul({s.x, s.y}, {s.z, s.w});
    return F42point{p.re, p.im};
  });
}

void f42_div(gfunc* g)
{
  f42_eachSample(g, [](const F42sample& s) {
    const Cx p = mul({s.x, s.y}, reciprocal({s.z, s.w}));
    return F42point{p.re, p.im};
  });
}

// ---- Escape-time maps ----------------------------------------------------------

void f42_mandel2(gfunc* g)
{
  const int n = recursionOf(g->A, kF42MaxRecursion);
  const double slope = g->B;
  f42_eachSample(g, [&](const F42sample& s) {
    if (s.x * s.x + s.y * s.y >= gINFINITY)
      return kF42noValue;
    const Orbit o = escapeOrbit({s.x, s.y}, {s.z, s.w}, n, slope, 4, 2, square);
    if (!o.escaped)
      return F42point{o.z.re, o.z.im};
    return F42point{s.x * o.v, s.y * o.v};
  });
}

void f42_mandel3_precompute(gfunc* g)
{
  g->C = std::max(g->C, 0.0);
}

void f42_mandel3(gfunc* g)
{
  const int n = recursionOf(g->A, kF42MaxRecursion);
  const double slope = g->B, offset = g->C;
  f42_eachSample(g, [&](const F42sample& s) {
    if (s.x * s.x + s.y * s.y >= gINFINITY)
      return kF42noValue;
    const Orbit o = escapeOrbit({s.x, s.y}, {s.z, s.w}, n, slope, 6, 3, cube);
    if (!o.escaped)
      return F42point{o.z.re, o.z.im};
    return F42point{o.v + offset * o.v * (s.x - 1), o.v + offset * o.v * (s.y - 1)};
  });
}

void f42_mandel4(gfunc* g)
{
  const int n = recursionOf(g->A, kF42MaxRecursion);
  f42_eachSample(g, [&](const F42sample& s) {
    if (s.x * s.x + s.y * s.y >= gINFINITY)
      return kF42noValue;
    const Cx c{s.z, s.w};
    Cx z{s.x, s.y};
    for (int step = 0; step <= n; ++step)
      z = mul(c, add(z, reciprocal(z)));
    return F42point{z.re, z.im};
  });
}

void f42_cexp(gfunc* g)
{
  // e^x beyond x = 100 is taken as leaving the picture.
  constexpr double kMaxReal = 100;
  const int n = recursionOf(g->A, kF42MaxExpRecursion);
  f42_eachSample(g, [&](const F42sample& s) {
    const Cx c{s.z, s.w};
    Cx z{s.x, s.y};
    for (int step = 0; step <= n; ++step) {
      const double e = std::exp(z.re);
      z = mul(c, {e * std::cos(z.im), e * std::sin(z.im)});
      if (z.re > kMaxReal)
        return kF42noValue;
    }
    return F42point{z.re, z.im};
  });
}

void f42_csin(gfunc* g)
{
  constexpr double kLostNorm = 800000;  // |Z|^2 past which the sample has no value
  constexpr double kOuterNorm = 4096;   // |Z|^2 past which the outer slope applies
  const int n = recursionOf(g->A, kF42MaxRecursion);
  const double slope = g->B;
  f42_eachSample(g, [&](const F42sample& s) {
    const Cx c{s.z, s.w};
    Cx z{s.x, s.y};
    for (int k = 0;; ++k) {
      const Cx next = mul(c, {std::sin(z.re) * std::cosh(z.im), std::cos(z.re) * std::sinh(z.im)});
      if (!(std::fabs(next.re) < gINFINITY) || !(std::fabs(next.im) < gINFINITY))
        return kF42noValue;
      const double m = norm(next);
      if (m > kLostNorm)
        return kF42noValue;
      if (k > 1 && m > kOuterNorm) {
        const double v = std::pow(m, slope);
        return F42point{s.x * v, s.y * v};
      }
      if (k + 1 > n)
        return F42point{next.re, next.im};
      z = next;
    }
  });
}

// ---- Continued map, Moebius map, power -------------------------------------------

void f42_ComplexMap4(gfunc* g)
{
  const int steps = KV_octavePasses(g, 4);
  const Cx k{g->B / 4, g->A / 4};
  f42_eachSample(g, [&](const F42sample& s) {
    Cx w{s.x / 2, s.y / 2};
    const double cm = s.z * s.z + s.w * s.w;
    const Cx p = cm == 0 ? Cx{0, 0} : Cx{s.z / cm, s.w / cm};
    Cx t{0, 0};
    for (int step = 0; step < steps; ++step) {
      t = add(add(w, reciprocal(w)), p);
      w = mul(k, t);
      const double m = norm(w);
      if (m >= kEscapeNorm) {
        const double d = (m - 62) / 2;
        return F42point{w.re / d, w.im / d};
      }
    }
    return F42point{t.re, t.im};
  });
}

void f42_moebius_precompute(gfunc* g)
{
  double* K = f42_k(g).K;
  K[0] = -1.0;
  K[1] = g->C - 1;
  K[2] = g->B * std::cos(g->A);
  K[3] = g->B * std::sin(g->A);
}

void f42_moebius(gfunc* g)
{
  const double* K = f42_k(g).K;
  const double du = K[0], dv = K[1], a = K[2], b = K[3];
  f42_eachSample(g, [&](const F42sample& s) {
    const double u = s.x + du, v = s.y + dv;
    const Cx d{1 - (a * u + b * v), -(a * v - b * u)};
    const Cx m = mul({u - a, v - b}, reciprocal(d));
    return F42point{m.re + s.z, m.im + s.w};
  });
}

void f42_cpower(gfunc* g)
{
  const double n = g->A;
  f42_eachSample(g, [&](const F42sample& s) {
    const Cx p = power({s.x, s.y}, n);
    // A negative power of 0 has no value.
    if (!finitePoint(p))
      return kF42noValue;
    return F42point{p.re + s.z, p.im + s.w};
  });
}

// ---- Escher disks ----------------------------------------------------------------

void f42_Escher(gfunc* g)
{
  constexpr int kSteps = 9;
  constexpr double kStartBest = 32;
  const double offsetX = g->A, offsetY = g->B, R = g->C;
  const double R2 = R * R, R4 = R2 * R2;
  f42_eachSample(g, [&](const F42sample& s) {
    if (R2 == 0 || !std::isfinite(R2))
      return kF42noValue;
    // Cells of the plane, each mapped onto the square [-R, R]^2.
    const double u = s.x / kTwoPi / R2 + 0.5, v = s.y / kTwoPi / R2 + 0.5;
    kvnum::LatticeSplit cu, cv;
    if (!f42_cellfloor(u, cu) || !f42_cellfloor(v, cv))
      return kF42noValue;
    double X = (2 * cu.frac - 1) * R, Y = (2 * cv.frac - 1) * R;
    const double cx = s.z / 16, cy = s.w / 16;
    double best1 = kStartBest, best2 = kStartBest;
    F42point out = kF42noValue;
    for (int step = 0; step < kSteps; ++step) {
      const double p = X * X - Y * Y + cx, q = 2 * X * Y + cy;
      if (p * p + q * q > R4)
        break;
      const KVfolded f = mirrors3(p + offsetX, q + offsetY);
      const double fx = std::fabs(f.x);
      if (fx < best1)
        best1 = out.x = fx;
      if (f.y < best2)
        best2 = out.y = f.y;
      X = p / R;
      Y = q / R;
    }
    return out;
  });
}

// ---- Handlers --------------------------------------------------------------------

int16_t f42_add_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_add, g, msg, a, b, c);
}

int16_t f42_Cadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_Cadd, g, msg, a, b, c);
}

int16_t f42_addNormalised_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_addNormalised, g, msg, a, b, c);
}

int16_t f42_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_mul, g, msg, a, b, c);
}

int16_t f42_div_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_div, g, msg, a, b, c);
}

int16_t f42_mandel2_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_mandel2, g, msg, a, b, c);
}

int16_t f42_mandel3_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_mandel3, g, msg, a, b, c);
}

int16_t f42_mandel4_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  const int16_t result = KV_memberHandler(kF42_mandel4, g, msg, a, b, c);
  lockA(g, msg);
  return result;
}

int16_t f42_cexp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  const int16_t result = KV_memberHandler(kF42_cexp, g, msg, a, b, c);
  lockA(g, msg);
  return result;
}

int16_t f42_csin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  const int16_t result = KV_memberHandler(kF42_csin, g, msg, a, b, c);
  lockA(g, msg);
  return result;
}

int16_t f42_ComplexMap4_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_ComplexMap4, g, msg, a, b, c);
}

int16_t f42_moebius_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_moebius, g, msg, a, b, c);
}

int16_t f42_cpower_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_cpower, g, msg, a, b, c);
}

int16_t f42_Escher_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_Escher, g, msg, a, b, c);
}
