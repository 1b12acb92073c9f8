#include "components/f42/f42_blends.h"

#include <algorithm>
#include <cmath>

#include "components/f42/f42_pvt.h"
#include "noise/cellular.h"

namespace {

constexpr double kPi = std::numbers::pi;

// b + (a - b) S((a - b + pi) / 2pi): the larger of a and b, softened over a
// difference from -pi to pi.
double blendedMax(double a, double b)
{
  return b + (a - b) * f42_smoothstep((a - b + kPi) / (2 * kPi));
}

// (lo + (hi - lo) t) amp, lo and hi the smaller and larger of p and q.
double minToMax(double p, double q, double t, double amp)
{
  const double lo = q > p ? p : q;
  const double hi = q > p ? q : p;
  return (lo + (hi - lo) * t) * amp;
}

}  // namespace

void f42_maximum(gfunc* g)
{
  const double A = g->A;
  f42_eachSample(g, [&](const F42sample& s) {
    return F42point{blendedMax(A * s.x, (1 - A) * s.z), blendedMax(A * s.y, (1 - A) * s.w)};
  });
}

void f42_MinMax(gfunc* g)
{
  const double A = g->A, B = g->B;
  f42_eachSample(g, [&](const F42sample& s) {
    return F42point{minToMax(s.x, s.z, B, A), minToMax(s.y, s.w, B, A)};
  });
}

void f42_distdiv(gfunc* g)
{
  const double A = g->A, B = g->B;
  f42_eachSample(g, [&](const F42sample& s) {
    const double d = (s.z * s.z + s.w * s.w + B) * A + (1 - A);
    // A zero divisor has no value rather than an infinite point.
    if (d == 0)
      return kF42noValue;
    return F42point{s.x / d, s.y / d};
  });
}

void f42_lerp(gfunc* g)
{
  const double a = std::clamp(g->A, 0.0, 1.0);
  f42_eachSample(g, [&](const F42sample& s) {
    return F42point{s.x + (s.z - s.x) * a, s.y + (s.w - s.y) * a};
  });
}

void f42_expfield(gfunc* g)
{
  const double k = g->A / 2, B = g->B;
  f42_eachSample(g, [&](const F42sample& s) {
    const double e1 = std::exp(-(s.x * s.x + s.y * s.y) * k);
    const double e2 = std::exp(-(s.z * s.z + s.w * s.w) * k);
    return F42point{(s.x * e1 + s.z * e2) * B, (s.y * e1 + s.w * e2) * B};
  });
}

void f42_absmin(gfunc* g)
{
  const double A = g->A, c = std::cos(g->B), sn = std::sin(g->B);
  f42_eachSample(g, [&](const F42sample& s) {
    const double q1 = c * s.z + sn * s.w, q2 = c * s.w - sn * s.z;
    return F42point{std::min(std::fabs(s.x), std::fabs(q1)) * A,
                    std::min(std::fabs(s.y), std::fabs(q2)) * A};
  });
}

void f42_rmul(gfunc* g)
{
  const double A = g->A;
  f42_eachSample(g, [&](const F42sample& s) { return F42point{s.x * A * s.z, s.y * A * s.w}; });
}

void f42_facetmix(gfunc* g)
{
  const double scale = 2 * kPi * g->A, phase = g->B, freq = g->C;
  const KVtables* t = &g->doc->tables;
  f42_eachSample(g, [&](const F42sample& s) {
    double o1x = 0, o1y = 0, o2x = 0, o2y = 0;
    const double d1 = CristalMap(t, s.x * freq, s.y * freq, &o1x, &o1y, phase);
    const double d2 = CristalMap(t, s.z * freq, s.w * freq, &o2x, &o2y, 0.75 * phase + 97.5);
    // The nearer crystal wins; a tie gives P's.
    if (d2 >= d1)
      return F42point{scale * o1x, scale * o1y};
    return F42point{scale * o2x, scale * o2y};
  });
}

void f42_radiallerp(gfunc* g)
{
  const double k = g->A / 8;
  const double* masterX = g->doc->master[0];
  const double* masterY = g->doc->master[1];
  f42_eachSample(g, [&](const F42sample& s) {
    const double X = masterX[s.i], Y = masterY[s.i];
    const double r = std::sqrt(X * X + Y * Y) * k;
    const double t = r >= 1 ? 1 : f42_smoothstep(r);
    return F42point{s.z + (s.x - s.z) * t, s.w + (s.y - s.w) * t};
  });
}

int16_t f42_maximum_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_maximum, g, msg, a, b, c);
}

int16_t f42_MinMax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_MinMax, g, msg, a, b, c);
}

int16_t f42_distdiv_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_distdiv, g, msg, a, b, c);
}

int16_t f42_lerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_lerp, g, msg, a, b, c);
}

int16_t f42_expfield_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_expfield, g, msg, a, b, c);
}

int16_t f42_absmin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_absmin, g, msg, a, b, c);
}

int16_t f42_rmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_rmul, g, msg, a, b, c);
}

int16_t f42_facetmix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_facetmix, g, msg, a, b, c);
}

int16_t f42_radiallerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_radiallerp, g, msg, a, b, c);
}
