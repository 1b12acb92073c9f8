#include "components/f21/f21_fractals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/f21/f21_pvt.h"
#include "noise/cellular.h"
#include "noise/drivers.h"
#include "noise/noises.h"

namespace {

// v faded toward `flat` as w goes from 0 to 1; flat from w = 1 on.
double fadeToward(double v, double flat, double w)
{
  return w >= 1 ? flat : v + (flat - v) * w;
}

}  // namespace

// ---- Compute functions ----------------------------------------------------

// Two gradient noises summed, the second on the plane turned by 60 degrees
// and scaled by 0.9.
void f21_PerlinNoise(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const F21precomputed p = f21_pre(g);
  const double c = g->C;
  f21_eachSample(g, [=](double x, double y) {
    const double u = c * x, v = c * y;
    const double na = fPerlinNoise2D(t, u, v);
    const double nb = fPerlinNoise2D(t, 0.45 * u + 0.7794225 * v, 0.45 * v - 0.7794225 * u);
    return (na + p.P2 + nb) * p.P1;
  });
}

// The difference of a cubed gradient noise and itself shifted, flat at 2a
// once the frequency passes the pixel density by a third.
void f21_DiffNoise(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = f21_pre(g).P1, b = g->B, c = g->C;
  const double density = KV_adjustedDensity(g);
  const bool fading = c > density;
  const double w = fading ? (c - density) / (0.75 * c) : 0.0;
  f21_eachSample(g, [=](double x, double y) {
    const double u = c * x + b, v = c * y;
    const double d = fPerlinNoise2D_cubed(t, u, v) - fPerlinNoise2D_cubed(t, u + 0.01, v + 0.01);
    return (fading ? fadeToward(d, 2, w) : d) * a;
  });
}

// A multifractal whose gain and amplitude follow two slow gradient noises.
void f21_multifract(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  fractalsinfos fi = f21_fractalCopy(g);
  const F21precomputed p = f21_pre(g);
  const double fmax = KV_adjustedDensity(g);
  f21_eachSample(g, [&fi, t, p, fmax](double x, double y) {
    const double u = 0.46 * p.P3 * x, v = 0.46 * p.P3 * y;
    const double na = fPerlinNoise2D(t, u + 333, v);
    const double nb = fPerlinNoise2D(t, 1.73205 * u - v, 1.73205 * v + u);
    const double b = (nb + 300) * p.P4;
    const double s = 0.5 * b + (na + 300) * p.P4;
    const double amp = s >= 1 ? p.P1 / 2 : (0.8 * s + 0.2) * p.P1 / 2;
    const double gain = s >= 1 ? 0.5 : 0.25 * s + 0.25;
    return Multifractal2D_unbal_procptr(&fi, frandom2D, x, y, p.P2, p.P3, fmax, amp, 0.001953125,
                                        gain, 0.9 - 0.4 * b) -
           512 * amp;
  });
}

// Cellular distances, flat at a quarter once the frequency passes an eighth
// of the pixel density by a third.
void f21_voronoi(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = f21_pre(g).P1, b = g->B, c = g->C;
  const double q = KV_adjustedDensity(g) / 8;
  const bool fading = c > q;
  const double w = fading ? (c - q) / (0.75 * c) : 0.0;
  f21_eachSample(g, [=](double x, double y) {
    const double j = Jitter_Voron(t, c * x + b, c * y);
    return (fading ? fadeToward(j, 0.25, w) : j) * a;
  });
}

void f21_ridgedfractal(gfunc* g)
{
  fractalsinfos fi = f21_fractalCopy(g);
  const F21precomputed p = f21_pre(g);
  const double mix = g->B, fmax = KV_adjustedDensity(g);
  f21_eachSample(g, [&fi, p, mix, fmax](double x, double y) {
    return Multifractal2D_procptr(&fi, fSRidgednoise, x, y, p.P2, fmax, p.P1, p.P3, mix);
  });
}

// The octave count B sets the band limit F B, held to half the pixel density.
void f21_multiRidged(gfunc* g)
{
  fractalsinfos fi = f21_fractalCopy(g);
  const F21precomputed p = f21_pre(g);
  const double limit = std::min(p.P3, KV_adjustedDensity(g) / 2);
  f21_eachSample(g, [&fi, p, limit](double x, double y) {
    return fractal2D_procptr(&fi, fRidgedPerlinNoise2D, x, y, p.P2, limit, p.P1, p.P4, 0.5);
  });
}

// The band limit F B, held to the pixel density but never below F.
void f21_multiperlin(gfunc* g)
{
  fractalsinfos fi = f21_fractalCopy(g);
  const F21precomputed p = f21_pre(g);
  const double limit = std::max(std::min(p.P3, KV_adjustedDensity(g)), p.P2);
  f21_eachSample(g, [&fi, p, limit](double x, double y) {
    return fractal2D_procptr(&fi, fPerlinNoise2D, x, y, p.P2, limit, p.P1, 0, 0.5);
  });
}

// ---- Precomputations ------------------------------------------------------

void f21_PerlinNoise_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 128;
  p.P2 = 256 * g->B;
}

void f21_DiffNoise_precompute(gfunc* g)
{
  f21_pre(g).P1 = g->A / 8;
}

void f21_multifract_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 100;
  p.P2 = g->B / 4;
  p.P3 = g->C / 4;
  p.P4 = 1.0 / 900;
}

void f21_voronoi_precompute(gfunc* g)
{
  f21_pre(g).P1 = 2 * g->A;
}

void f21_ridgedfractal_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 128;
  p.P2 = g->C / 4;
  p.P3 = 0.53 - 0.1 * (1 - g->B);
}

void f21_multiRidged_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 80;
  p.P2 = g->C / 4;
  p.P3 = p.P2 * g->B;
  p.P4 = 2 * std::numbers::pi * g->doc->time;
}

void f21_multiperlin_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 128;
  p.P2 = g->C / 4;
  p.P3 = p.P2 * g->B;
}

// ---- Handlers -------------------------------------------------------------

int16_t f21_PerlinNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_PerlinNoise, g, msg, a, b, c);
}

int16_t f21_DiffNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_DiffNoise, g, msg, a, b, c);
}

int16_t f21_multifract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_multifract, g, msg, a, b, c);
}

int16_t f21_voronoi_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_voronoi, g, msg, a, b, c);
}

int16_t f21_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_ridgedfractal, g, msg, a, b, c);
}

int16_t f21_multiRidged_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_multiRidged, g, msg, a, b, c);
}

int16_t f21_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_multiperlin, g, msg, a, b, c);
}
