#include "components/f22/f22_complex.h"

#include <algorithm>
#include <cmath>

#include "components/f22/f22_pvt.h"
#include "foundation/checked.h"
#include "foundation/numbers.h"
#include "noise/complexsteps.h"
#include "noise/tables.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The complex arithmetic the maps need, written out so that every member
// computes exactly the products and quotients its formula names.
struct Cx
{
  double re;
  double im;
};

Cx mul(Cx a, Cx b)
{
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

// 1/z, taken as 0 at z = 0.
Cx reciprocal(Cx z)
{
  const double m = z.re * z.re + z.im * z.im;
  if (m == 0)
    return {0, 0};
  return {z.re / m, -z.im / m};
}

// z/(|z| - 127) when |z| > 128: pulls far points back before the map
// squares them again.
Cx tame(Cx z)
{
  const double r = std::sqrt(z.re * z.re + z.im * z.im);
  if (!(r > 128))
    return z;
  return {z.re / (r - 127), z.im / (r - 127)};
}

Cx ferroMagnet(Cx z, Cx c)
{
  CFerroMagnetModel(&z.re, &z.im, c.re, c.im);
  return z;
}

// Disk Inverse Ring's private record: K0..K3, then the disc count and the
// centres of its discs.
struct F22ring
{
  double K[4];
  int32_t discs;
  double centreX[kF22MaxRingDiscs];
  double centreY[kF22MaxRingDiscs];
};

// Sets parameter i (1 = B, 2 = C) and its value in every keyframe to 0.
void clearWithKeyframes(gfunc* g, int i)
{
  KV_param(g, i) = 0;
  for (KVparamTriple& key : g->keyframes)
    (i == 1 ? key.B : key.C) = 0;
}

bool treeAtMost(const gfunc* g, int version)
{
  return g->owner != nullptr && g->owner->version <= version;
}

}  // namespace

void f22_ComplexMap(gfunc* g)
{
  const Cx c{g->A, g->B};
  f22_eachSample(g, [&](double x, double y) {
    Cx z{x / 2, y / 2};
    for (int step = 0; step < 4; ++step) {
      const Cx inv = reciprocal(z);
      z = mul(Cx{z.re + inv.re, z.im + inv.im}, c);
    }
    return F22point{z.re, z.im};
  });
}

void f22_ComplexMapB(gfunc* g)
{
  const Cx c{g->A, g->B};
  f22_eachSample(g, [&](double x, double y) {
    Cx z{x, y};
    z = tame(ferroMagnet(ferroMagnet(z, c), c));
    z = tame(ferroMagnet(ferroMagnet(z, c), c));
    return F22point{z.re, -z.im};
  });
}

void f22_complexModInvert_precompute(gfunc* g)
{
  f22_k(g).K[0] = g->A < 0 ? 0.003125 : (g->A + 0.0125) * 0.25;
}

void f22_complexModInvert(gfunc* g)
{
  const double k0 = f22_k(g).K[0], offset = g->B;
  f22_eachSample(g, [&](double x, double y) {
    const double u = x + offset, v = y;
    const double rsq = u * u + v * v;
    const double s = TableSin(std::sqrt(rsq) * k0 * 0.125);
    const double t = rsq * k0;
    const double tInv = t == 0 ? -1.0 : 1 / t - 1;
    const double m = ((s + 1) * 0.25 + 0.25) * tInv + 1;
    return F22point{u * m, -v * m};
  });
}

void f22_orbiters_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = (g->A + 2.5) * 2 * kPi;
  K[1] = (g->B + 2.5) * 2 * kPi;
  K[2] = std::cos(kPi * g->A);
  K[3] = std::sin(kPi * g->A);
}

void f22_orbiters(gfunc* g)
{
  constexpr double k = kF22sin60;
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], c = K[2], s = K[3];
  const double lambda = (g->C + 2.125) * 0.15;
  f22_eachSample(g, [&](double x, double y) {
    const double g1 = std::exp(-(x * x + y * y) * lambda);
    const double p = 1.5 * std::fabs(c * x - s * y) - k0;
    const double q = 1.5 * std::fabs(c * y + s * x) - k1;
    const double a = k * p - 0.5 * q;
    const double b = 0.5 * p + k * q;
    const double g2 = std::exp(-(p * p + q * q) * lambda);
    const double p2 = 1.5 * std::fabs(c * p - s * q) - 0.5 * k0;
    const double q2 = 1.5 * std::fabs(c * q + s * p) - 0.5 * k1;
    const double g3 = std::exp(-(p2 * p2 + q2 * q2) * lambda);
    return F22point{2 * (x * g1 + a * g2 + (k * p2 - 0.5 * q2) * g3),
                    2 * (y * g1 + b * g2 + (k * q2 + 0.5 * p2) * g3)};
  });
}

void f22_complexinversion_precompute(gfunc* g)
{
  f22_k(g).K[0] = 1 / g->A;
}

void f22_complexinversion(gfunc* g)
{
  const double k0 = f22_k(g).K[0], bx = g->B, by = g->C;
  f22_eachSample(g, [&](double x, double y) {
    const double rsq = x * x + y * y;
    if (rsq == 0)
      return F22point{gINFINITY + bx, gINFINITY + by};
    const double m = k0 / rsq;
    return F22point{x * m + bx, -y * m + by};
  });
}

void f22_complexinversion_convert(gfunc* g)
{
  if (!treeAtMost(g, 12))
    return;
  clearWithKeyframes(g, 1);
  clearWithKeyframes(g, 2);
}

void f22_unitinversion_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = 1 / g->A;
  if (g->B < 0) {
    g->B = 0;
    K[2] = 0;
  } else {
    g->B = std::min(g->B, 1.0);
    K[2] = 2 * g->B;
  }
}

void f22_unitinversion(gfunc* g)
{
  const double* K = f22_k(g).K;
  const double k0 = K[0], concavity = K[2], a = g->A, offset = g->C;
  f22_eachSample(g, [&](double x, double y) {
    const double u = k0 * x, w = k0 * (y + offset);
    const double dsq = u * u + w * w;
    double f = 0;
    if (dsq > 1 && concavity < 1)
      f = (a - a / dsq) * concavity + a / dsq;
    else if (dsq <= 1 && concavity > 1)
      f = (concavity - 1) * (a / dsq - a) + a;
    else
      return F22point{x, (y + offset) - offset};
    return F22point{u * f, w * f - offset};
  });
}

void f22_unitinversion_convert(gfunc* g)
{
  if (treeAtMost(g, 13))
    clearWithKeyframes(g, 2);
}

void f22_diskInversering_precompute(gfunc* g)
{
  F22ring& ring = privateArea<F22ring>(g);
  // The message-4 range: more discs than 12 have no room, fewer than 2 no
  // ring.
  const int n = std::clamp(kvnum::sat_i32(g->A), kF22MinRingDiscs, kF22MaxRingDiscs);
  const double alpha = 2 * kPi / n;
  const double e = 2 - 2 * std::cos(alpha);
  const double rho = e > 0 ? 2 / std::sqrt(e) : 1.0;
  ring.discs = n;
  for (int i = 0; i < n; ++i) {
    ring.centreX[i] = rho * std::cos(i * alpha + kPi / 2);
    ring.centreY[i] = -rho * std::sin(i * alpha + kPi / 2);
  }
  ring.K[0] = rho * rho;
  ring.K[2] = rho * (1 + rho);
  ring.K[3] = rho * g->B;
}

void f22_diskInversering(gfunc* g)
{
  const F22ring& ring = privateArea<F22ring>(g);
  const int n = std::clamp(ring.discs, 0, kF22MaxRingDiscs);
  const double rhoSq = ring.K[0], scale = ring.K[3];
  const double lim = g->C < 0 ? ring.K[2] / std::fabs(g->C) : -1.0;
  const double cin = std::max(g->C, 0.0) * rhoSq;
  f22_eachSample(g, [&](double x, double y) {
    double u = scale * x, w = scale * y;
    for (int i = 0; i < n; ++i) {
      const double du = u - ring.centreX[i], dw = w - ring.centreY[i];
      const double e = du * du + dw * dw;
      if (e > 0 && e < 1) {
        u = du / e + ring.centreX[i];
        w = dw / e + ring.centreY[i];
        break;
      }
    }
    const double dsq = u * u + w * w;
    if (dsq <= rhoSq && dsq > 0 && dsq < cin) {
      u *= cin / dsq;
      w *= cin / dsq;
    } else if (dsq > rhoSq && lim > -1 && dsq > lim) {
      u *= lim / dsq;
      w *= lim / dsq;
    }
    return F22point{u / scale, w / scale};
  });
}

void f22_Moebius_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = -1.0;
  K[1] = g->C - 1;
  K[2] = g->B * std::cos(g->A);
  K[3] = g->B * std::sin(g->A);
}

void f22_Moebius(gfunc* g)
{
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1];
  const Cx kk{K[2], K[3]};
  const Cx kBar{K[2], -K[3]};
  f22_eachSample(g, [&](double x, double y) {
    const Cx z{x + k0, y + k1};
    const Cx kz = mul(kBar, z);
    const Cx w = mul(Cx{z.re - kk.re, z.im - kk.im}, reciprocal(Cx{1 - kz.re, -kz.im}));
    return F22point{w.re, w.im};
  });
}

void f22_ringspace(gfunc* g)
{
  const double ox = g->A, oy = g->B, warp = g->C;
  f22_eachSample(g, [&](double x, double y) {
    const double a = x * x - y * y + ox;
    const double b = 2 * x * y + oy;
    const double re = a * a - b * b;
    const double im = 2 * a * b;
    const double den = (re * re + im * im) * 0.00390625 * warp + 1;
    return F22point{re / den, im / den};
  });
}

void f22_polarspace(gfunc* g)
{
  const double a = g->A, b = g->B, phase = g->C;
  f22_eachSample(g, [&](double x, double y) {
    return F22point{(SinToAngle(x, y) - phase) * a, std::sqrt(x * x + y * y) * b};
  });
}

void f22_infgate_precompute(gfunc* g)
{
  f22_k(g).K[0] = g->A * g->A;
}

void f22_infgate(gfunc* g)
{
  const double limit = f22_k(g).K[0];
  const F22batch b = f22_batch(g);
  bool anyPassed = false;
  for (int i = 0; i < b.n; ++i) {
    const double x = b.x[i], y = b.y[i];
    const bool inside = x < gINFINITY && x * x + y * y <= limit;
    g->outputs[0][i] = inside ? x : gINFINITY;
    g->outputs[1][i] = inside ? y : gINFINITY;
    anyPassed = anyPassed || inside;
  }
  g->maskedBatch = anyPassed ? 0 : 1;
}

int16_t f22_ComplexMap_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_ComplexMap, g, msg, a, b, c);
}

int16_t f22_ComplexMapB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_ComplexMapB, g, msg, a, b, c);
}

int16_t f22_complexModInvert_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_complexModInvert, g, msg, a, b, c);
}

int16_t f22_orbiters_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_orbiters, g, msg, a, b, c);
}

int16_t f22_complexinversion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_complexinversion, g, msg, a, b, c);
}

int16_t f22_unitinversion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_unitinversion, g, msg, a, b, c);
}

int16_t f22_diskInversering_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_diskInversering, g, msg, a, b, c);
}

int16_t f22_Moebius_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_Moebius, g, msg, a, b, c);
}

int16_t f22_ringspace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_ringspace, g, msg, a, b, c);
}

int16_t f22_polarspace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_polarspace, g, msg, a, b, c);
}

int16_t f22_infgate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_infgate, g, msg, a, b, c);
}
