#include "components/f31/f31_sines.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "noise/cellular.h"
#include "noise/noises.h"
#include "noise/tables.h"

namespace {

constexpr double kPi = std::numbers::pi;

// u above its lattice floor (trunc(u) for u >= 0, trunc(u - 1) below, so an
// exact negative integer has fraction 1), kept in doubles.
double latticeFrac(double u)
{
  return u - (u >= 0 ? std::trunc(u) : std::trunc(u - 1));
}

// 0 at the lattice lines, 1 halfway between.
double triangle(double u)
{
  const double f = latticeFrac(u);
  return f <= 0.5 ? 2 * f : 2 - 2 * f;
}

// The unclamped smoothstep v^2 (3 - 2v).
double smooth(double v)
{
  return v * ((3 - v - v) * v);
}

}  // namespace

void f31_sinmul(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    return a * TableSin(c * x + b) * TableSin(c * y) * TableSin(c * z + kPi / 2);
  });
}

void f31_sinadd(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    return a * (TableSin(c * x + b) + TableSin(c * y) + TableSin(c * z));
  });
}

void f31_sinshader(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    const double s = TableSin((x + y + a * z) * 0.25);
    const double w = std::min(1.0, std::fabs(0.5 * b * z));
    return c * (w * (2 * s - 0.25 * s) + 0.25 * s);
  });
}

void f31_circles(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    const double px = triangle(x / a) * a, py = triangle(y / a) * a;
    const double r = (TableSin(0.25 * z + c) + 1) * a * 0.5 + 0.125;
    const double d = std::sqrt(px * px + py * py);
    return d < r ? (r - d) * b : 0.0;
  });
}

void f31_zbubbles_prepare(gfunc* g)
{
  double* k = f31_k(g).K;
  k[1] = g->B + 2.125;
  k[2] = 1 / (g->A + 2.125);
}

// Jitter_Circle as the library returns it, as the 2D bubbles take it.
void f31_zbubbles(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double* k = f31_k(g).K;
  const double k1 = k[1], k2 = k[2], c = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    const double m1 = std::min(Jitter_Circle(t, x * k2 + c, y * k2), 0.5);
    const double m2 = std::min(Jitter_Circle(t, z * k2, m1 - c), 0.5);
    const double m = 2 * std::min(m1, m2);
    return (1 - m * m) * k1;
  });
}

void f31_mosaic(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = std::max(g->A, 0.001), b = g->B, c = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    const double d = b * z + a;
    if (d == 0)
      return 0.0;
    const double v = Jitter_Cristal(t, x / d, y / d, 0.001953125, c);
    return kPi * (v - v * std::exp(-d * d));
  });
}

void f31_byalt_prepare(gfunc* g)
{
  f31_k(g).K[0] = 1 / g->C;
}

void f31_displace_byalt(gfunc* g)
{
  const double k = f31_k(g).K[0], a = g->A, b = g->B;
  f31_eachSample(g, [=](double x, double y, double z) {
    const double v = std::fabs((z - a) * k) - 1;
    double o = z;
    if (v < 1) {
      const double f = v < 0 ? 1 : 1 - smooth(v);
      o = std::max(z, z + x * f);
    }
    const double up = (z - b) * k;
    if (up > 0)
      o += up < 1 ? y * smooth(up) : y;
    return o;
  });
}

void f31_compose_byalt(gfunc* g)
{
  const double k = f31_k(g).K[0], a = g->A, b = g->B;
  f31_eachSample(g, [=](double x, double y, double z) {
    const double v = 2 * std::fabs((z - a) * k) - 1;
    double o = z;
    if (v < 1)
      o = x + (z - x) * (v < 0 ? 0 : smooth(v));
    const double up = (z - b) * k;
    if (up > 0)
      o = up < 1 ? o + smooth(up) * (y - o) : y;
    return o;
  });
}

void f31_RndMix_prepare(gfunc* g)
{
  double* k = f31_k(g).K;
  k[0] = 2 - g->A;
  k[1] = (k[0] + 3) / 400;
  k[2] = g->C / 128;
}

// Each sample chooses by the noise at its own master point.
void f31_RndMix(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double* k = f31_k(g).K;
  const double k0 = k[0], k1 = k[1], k2 = k[2], phase = g->B;
  const double* mx = g->doc->master[0];
  const double* my = g->doc->master[1];
  const F31batch in = f31_batch(g);
  for (int i = 0; i < in.n; ++i) {
    const double x = in.x[i], y = in.y[i], z = in.z[i];
    if (x >= gINFINITY) {
      g->outputs[0][i] = gINFINITY;
      continue;
    }
    const double v = fPerlinNoise2D(t, k2 * mx[i] + phase, k2 * my[i] + phase) * k1;
    const double e = v - k0, e2 = -v - k0;
    double o = x;
    if (e > 0)
      o = e < 1 ? x + smooth(e) * (y - x) : y;
    else if (e2 > 0)
      o = e2 < 1 ? x + smooth(e2) * (z - x) : z;
    g->outputs[0][i] = o;
  }
}

int16_t f31_sinmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_sinmul, g, msg, a, b, c);
}
int16_t f31_sinadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_sinadd, g, msg, a, b, c);
}
int16_t f31_sinshader_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_sinshader, g, msg, a, b, c);
}
int16_t f31_circles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_circles, g, msg, a, b, c);
}
int16_t f31_zbubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_zbubbles, g, msg, a, b, c);
}
int16_t f31_mosaic_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_mosaic, g, msg, a, b, c);
}
int16_t f31_displace_byalt_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_displace_byalt, g, msg, a, b, c);
}
int16_t f31_compose_byalt_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_compose_byalt, g, msg, a, b, c);
}
int16_t f31_RndMix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_RndMix, g, msg, a, b, c);
}
