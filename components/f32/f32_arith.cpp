#include "components/f32/f32_arith.h"

#include <cmath>

#include "components/f32/f32_pvt.h"

namespace {

// The scale factor of z Scale & Offset: the base C raised to z, through the
// reciprocal base when C is below 1.
double scaleFactor(double base, double z)
{
  if (base == 1.0)
    return 1.0;
  if (base > 1.0)
    return std::pow(base, z);
  return 1.0 / std::pow(1.0 / base, z);
}

}  // namespace

void f32_zscaleoffset_holdC(gfunc* g)
{
  if (g->C < 0.0625)
    g->C = 1.0;
  if (g->C > 4.0)
    g->C = 4.0;
}

void f32_zscaleoffset(gfunc* g)
{
  const double a = g->A, b = g->B, base = g->C;
  if (!f32_uniformZ(g)) {
    f32_eachSample(g, [&](double x, double y, double z) {
      const double f = scaleFactor(base, z);
      return F32point{x * f + a * z, y * f + b * z};
    });
    return;
  }
  const double z0 = f32_firstZ(g);
  const double f = scaleFactor(base, z0);
  f32_eachSample(g, [&](double x, double y, double) {
    return F32point{x * f + a * z0, y * f + b * z0};
  });
}

void f32_zmul_precompute(gfunc* g)
{
  f32_k(g).K[0] = 0.25 * g->C;
}

void f32_zmul(gfunc* g)
{
  const double k0 = f32_k(g).K[0], a = g->A, b = g->B;
  f32_eachSample(g, [&](double x, double y, double z) {
    return F32point{x * ((a + z) * k0 + 1), y * ((b + z) * k0 + 1)};
  });
}

void f32_minmax(gfunc* g)
{
  f32_eachSample(g, [](double x, double y, double z) {
    const double high = y > x ? y : x;
    const double low = x < y ? x : y;
    return F32point{z > high ? z : high, low < z ? low : z};
  });
}

void f32_xzdisplace(gfunc* g)
{
  const double ca = g->C * g->A, cb = g->C * g->B;
  f32_eachSample(g, [&](double x, double y, double z) {
    const double w = 2 * z - 1;
    return F32point{x + ca * w, y + cb * w};
  });
}

void f32_max(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f32_eachSample(g, [&](double x, double y, double z) {
    const double p = x + a, q = y + b, r = z + c;
    return F32point{r > p ? r : p, q > r ? q : r};
  });
}

void f32_zmultiply(gfunc* g)
{
  f32_eachSample(g, [](double x, double y, double z) { return F32point{x * z, y * z}; });
}

void f32_minimum(gfunc* g)
{
  // A marked x gives z on both outputs rather than the marker.
  f32_eachSampleUntested(g, [](double x, double y, double z) {
    if (x >= gINFINITY)
      return F32point{z, z};
    return F32point{x < z ? x : z, y < z ? y : z};
  });
}

void f32_distgate(gfunc* g)
{
  // No no-value test: a marked x gives a huge distance and so the far branch.
  const double threshold = g->A, b = g->B, c = g->C;
  f32_eachSampleUntested(g, [&](double x, double y, double z) {
    const double d = std::sqrt(x * x + y * y);
    if (d < threshold)
      return F32point{d * b, 0.0};
    return F32point{0.0, z * c};
  });
}

void f32_zdiv(gfunc* g)
{
  f32_eachSample(g, [](double x, double y, double z) {
    if (z == 0.0)
      return kF32noValue;
    return F32point{x / z, y / z};
  });
}

int16_t f32_zscaleoffset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zscaleoffset, g, msg, a, b, c);
}

int16_t f32_zmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zmul, g, msg, a, b, c);
}

int16_t f32_minmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_minmax, g, msg, a, b, c);
}

int16_t f32_xzdisplace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_xzdisplace, g, msg, a, b, c);
}

int16_t f32_max_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_max, g, msg, a, b, c);
}

int16_t f32_zmultiply_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zmultiply, g, msg, a, b, c);
}

int16_t f32_minimum_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_minimum, g, msg, a, b, c);
}

int16_t f32_distgate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_distgate, g, msg, a, b, c);
}

int16_t f32_zdiv_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zdiv, g, msg, a, b, c);
}
