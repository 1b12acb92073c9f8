#include "components/f21/f21_noises.h"

#include <algorithm>
#include <numbers>

#include "components/f21/f21_pvt.h"
#include "noise/cellular.h"
#include "noise/drivers.h"
#include "noise/noises.h"
#include "noise/spots.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Random noise: the value that the noise fades to where its detail is finer
// than the pixels (the two lattices summed, less 255, at their mean).
constexpr double kRandomFlat = 769;

// Random noise: the sum of two value-noise lattices, the second rotated and
// shifted, faded toward the flat value once the frequency passes half the
// pixel density h.
double randomNoise(const KVtables* t, double x, double y, double b, double c, double h)
{
  const double u = c * x, w = c * y;
  const double u2 = 0.95 * u - 72.64 + 0.1 * w + b;
  const double w2 = 0.95 * w + b + 0.35 - 0.1 * u;
  const double v = frandom2D(t, u, w) + frandom2D(t, u2, w2) - 255;
  if (!(c > h))
    return v;
  const double f = (c - h) / (c / 2);
  return f >= 1 ? kRandomFlat : v + (kRandomFlat - v) * f;
}

}  // namespace

// ---- Compute functions ----------------------------------------------------

void f21_random(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double b = g->B, c = g->C, p1 = f21_pre(g).P1;
  const double h = g->doc->yPixelScale / 2;
  f21_eachSample(g, [=](double x, double y) { return randomNoise(t, x, y, b, c, h) * p1; });
}

// The document's fractal settings drive the octaves; the band limit is the
// adjusted pixel density.
void f21_fractalnoise(gfunc* g)
{
  fractalsinfos fi = g->doc->fractal;
  fi.tables = &g->doc->tables;
  const F21precomputed p = f21_pre(g);
  const double fmax = KV_adjustedDensity(g);
  f21_eachSample(g, [&fi, p, fmax](double x, double y) {
    return fractal2D_procptr(&fi, frandom2D, x, y - p.P2 / 8, p.P3, fmax, p.P1, -p.P2, 0.5) -
           1000 * p.P1;
  });
}

// A negative amplitude turns the cones into pits in a plateau at the height -A pi.
void f21_Cones(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const F21precomputed p = f21_pre(g);
  const double c = g->C;
  f21_eachSample(g, [=](double x, double y) {
    double v = 0;
    Jitter_Cones(t, c * x, c * y, &v, p.P2);
    return p.P1 >= 0 ? p.P1 * v : (1 - v) * -p.P1;
  });
}

// Bubbles of size B reach the height A; past a quarter of the pixel density
// they fade toward a flat 0.25.
void f21_Bubbles(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const F21precomputed p = f21_pre(g);
  const double b = g->B;
  const double s4 = KV_adjustedDensity(g) / 4;
  const bool fading = p.P2 > s4;
  const double fade = fading ? (p.P2 - s4) / (0.75 * p.P2) : 0.0;
  f21_eachSample(g, [=](double x, double y) {
    double d = Jitter_Circle(t, p.P2 * x, p.P2 * y);
    if (fading)
      d = fade >= 1 ? 0.25 : d + fade * (0.25 - d);
    const double m = std::min(b, d);
    return p.P1 < 0 ? (1 - 2 * m) * -p.P1 : p.P1 * m;
  });
}

void f21_mosaic(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, c = g->C, p2 = f21_pre(g).P2;
  f21_eachSample(g, [=](double x, double y) {
    return Jitter_Cristal(t, x / a + c - 0.011, y / a + 0.013, p2, 0);
  });
}

// ---- Precomputations ------------------------------------------------------

void f21_random_precompute(gfunc* g)
{
  f21_pre(g).P1 = g->A / 128;
}

// A frequency of 0 or below is taken as 1.
void f21_fractalnoise_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  const double freq = g->C <= 0 ? 1.0 : g->C;
  p.P1 = g->A / 128;
  p.P2 = g->B;
  p.P3 = freq / 4;
}

void f21_Cones_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = kPi * g->A;
  p.P2 = 7 - g->B;
}

void f21_Bubbles_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / g->B;
  p.P2 = g->C + 0.01;
}

void f21_mosaic_precompute(gfunc* g)
{
  f21_pre(g).P2 = (2.125 + g->B) / 400;
}

// ---- Handlers -------------------------------------------------------------

int16_t f21_random_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_random, g, msg, a, b, c);
}

int16_t f21_fractalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_fractalnoise, g, msg, a, b, c);
}

int16_t f21_Cones_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_Cones, g, msg, a, b, c);
}

int16_t f21_Bubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_Bubbles, g, msg, a, b, c);
}

int16_t f21_mosaic_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_mosaic, g, msg, a, b, c);
}
