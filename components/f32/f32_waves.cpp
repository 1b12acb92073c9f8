#include "components/f32/f32_waves.h"

#include <cmath>

#include "noise/noises.h"
#include "noise/tables.h"

using f32detail::kHalfPi;
using f32detail::kPi;

namespace {

double sn(double a)
{
  return TableSin(a);
}

double cs(double a)
{
  return TableSin(a + kHalfPi);
}

// (x, y) turned by the angle of cosine c and sine s, then scaled by e.
F32point turned(double x, double y, double c, double s, double e = 1.0)
{
  return F32point{e * (x * c - y * s), e * (y * c + x * s)};
}

// The four rotated lattice reads of z Random waves, summed into [-2, 2).
double randomWave(const KVtables* t, const double* K, double x, double y)
{
  constexpr double ca = 0.9925, sa = 0.1218;
  const double c = 0.309 * K[0], s = K[3], k2 = K[2];
  const double u = c * x - s * y, v = c * y + s * x;
  const double a1 = u * ca - v * sa, a2 = v * ca + u * sa;
  const double q1 = frandom1D(t, a1 + 0.333 * k2);
  const double b1 = a1 * ca - a2 * sa, b2 = a2 * ca + a1 * sa;
  const double q2 = frandom1D(t, b1 + 555 + 0.5 * k2);
  const double c1 = b1 * ca - b2 * sa, c2 = b2 * ca + b1 * sa;
  const double q3 = frandom1D(t, c1 + 957 + 0.66 * k2);
  const double d1 = c1 * ca - c2 * sa;
  const double q4 = frandom1D(t, d1 + 1329 + k2);
  return (q1 + q2 + q3 + q4) / 1024 - 2;
}

}  // namespace

void f32_sinzx(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f32_eachSample(g, [=](double x, double y, double z) {
    return F32point{x * (1 + c * cs(a * z)), y * (1 - c * sn(b * z))};
  });
}

void f32_zrotate_convert(gfunc* g)
{
  if (!f32_treeAtMost(g, 10))
    return;
  g->C = 0;
  for (KVparamTriple& key : g->keyframes)
    key.C = 0;
}

void f32_zrotate(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  if (!f32_uniformZ(g)) {
    f32_eachSample(g, [=](double x, double y, double z) {
      const double theta = a * z;
      const F32point p = turned(x, y, cs(theta), sn(theta));
      return F32point{p.x + b, p.y + c};
    });
    return;
  }
  const double theta = a * f32_firstZ(g);
  const double co = std::cos(theta), si = std::sin(theta);
  f32_eachSample(g, [=](double x, double y, double) {
    const F32point p = turned(x, y, co, si);
    return F32point{p.x + b, p.y + c};
  });
}

void f32_zwaves(gfunc* g)
{
  const double a = g->A, b = g->B;
  f32_eachSample(g, [=](double x, double y, double z) {
    return F32point{x + a * (cs(y * (b + z)) + cs(x * z / 2)),
                    y + a * (sn(x * (b + z)) + cs(y * z / 2))};
  });
}

void f32_rwaves_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = 2 * kPi * g->A;
  K[2] = K[0] * g->C;
  K[3] = 0.951 * K[0];
}

void f32_rwaves(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double* K = f32_k(g).K;
  const double b = g->B;
  f32_eachSample(g, [=](double x, double y, double z) {
    if (!(z > 0))
      return F32point{x, y};
    const double shift = randomWave(t, K, x, y) * b * z;
    return F32point{x + shift, y + shift};
  });
}

void f32_ripples(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f32_eachSample(g, [=](double x, double y, double z) {
    if (!(z > 0))
      return F32point{x, y};
    const double theta = kPi * a * std::sqrt(x * x + y * y) + c;
    return F32point{x + z * b * sn(theta), y + z * b * cs(theta)};
  });
}

void f32_zwipe_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = 0.75 * (g->A - 2);
  K[1] = std::fabs(g->B);
  K[2] = g->B > 0 ? 0.25 : 3.0;
}

void f32_zwipe(gfunc* g)
{
  const double* K = f32_k(g).K;
  const double edge = K[0], width = K[1], strength = K[2], c = g->C;
  f32_eachSample(g, [=](double x, double y, double z) {
    const double xs = x / c, ys = y / c, u = edge + z;
    if (u < 0)
      return kF32noValue;  // the wiped-out region
    if (u >= width)
      return F32point{xs, ys};
    const double f = u / width;
    const double m = (strength - 1) * width + 1;
    const double w = (1 - m) * f + m;
    return F32point{xs * w + (xs - xs * w) * f, ys * w + (ys - ys * w) * f};
  });
}

void f32_zrotate_scale_precompute(gfunc* g)
{
  f32_k(g).K[0] = 0.6931471805599453 * g->B;
}

void f32_zrotate_scale(gfunc* g)
{
  const double k0 = f32_k(g).K[0], a = g->A, c = g->C;
  if (!f32_uniformZ(g)) {
    f32_eachSample(g, [=](double x, double y, double z) {
      const F32point p = turned(x, y, std::cos(a * z), std::sin(a * z), std::exp(k0 * z));
      return F32point{p.x + c, p.y};
    });
    return;
  }
  const double z0 = f32_firstZ(g);
  const double e = std::exp(k0 * z0), co = std::cos(a * z0), si = std::sin(a * z0);
  f32_eachSample(g, [=](double x, double y, double) {
    const F32point p = turned(x, y, co, si, e);
    return F32point{p.x + c, p.y};
  });
}

void f32_sinwarp_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = 0.25 * g->A;
  K[1] = 0.25 * g->B;
}

void f32_sinwarp(gfunc* g)
{
  const double* K = f32_k(g).K;
  const double k0 = K[0], k1 = K[1], c = g->C, p = 2 * kPi * g->doc->time;
  f32_eachSample(g, [=](double x, double y, double z) {
    return F32point{x + k0 * z * std::cos(c * y - p), y + k1 * z * std::sin(c * x - p)};
  });
}

void f32_ztwirl_precompute(gfunc* g)
{
  f32_k(g).K[0] = 2 * kPi * g->A;
}

void f32_ztwirl(gfunc* g)
{
  const double k0 = f32_k(g).K[0], b = g->B, c = g->C;
  f32_eachSample(g, [=](double x, double y, double z) {
    const double u = x + b, v = y + c, r = std::sqrt(u * u + v * v);
    if (r == 0)
      return F32point{x, y};  // the centre stays where it is
    const double theta = k0 * z / r;
    const F32point p = turned(u, v, cs(theta), sn(theta));
    return F32point{p.x - b, p.y - c};
  });
}

int16_t f32_sinzx_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_sinzx, g, msg, a, b, c);
}

int16_t f32_zrotate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zrotate, g, msg, a, b, c);
}

int16_t f32_zwaves_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zwaves, g, msg, a, b, c);
}

int16_t f32_rwaves_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_rwaves, g, msg, a, b, c);
}

int16_t f32_ripples_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_ripples, g, msg, a, b, c);
}

int16_t f32_zwipe_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zwipe, g, msg, a, b, c);
}

int16_t f32_zrotate_scale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zrotate_scale, g, msg, a, b, c);
}

int16_t f32_sinwarp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_sinwarp, g, msg, a, b, c);
}

int16_t f32_ztwirl_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_ztwirl, g, msg, a, b, c);
}
