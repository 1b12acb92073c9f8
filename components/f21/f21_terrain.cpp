#include "components/f21/f21_terrain.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/f21/f21_pvt.h"
#include "components/f21/f21_terrainparts.h"
#include "noise/bodies.h"
#include "noise/drivers.h"
#include "noise/multifractal.h"
#include "noise/noises.h"
#include "noise/regions.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The private record of Volcanoes: the precomputed values, then the region
// record through which the region driver hands the region size to
// frgnVolcano.
struct VolcanoState
{
  F21precomputed pre;
  regionrecord region;
};

// The rock members: the parameterised driver with `body` over the batch,
// amplitude P1 and frequency P2 of the private area, gain 0.5, band limit
// bandFactor times the adjusted pixel density; param(x, y) gives the body's
// parameter of each sample.
template <class Param>
void rockEachSample(gfunc* g, FractalOctaveProc2D body, double phase, double bandFactor,
                    Param param)
{
  fractalsinfos fi = f21_fractalCopy(g);
  const F21precomputed p = f21_pre(g);
  const double fmax = bandFactor * KV_adjustedDensity(g);
  f21_eachSample(g, [&](double x, double y) {
    return Multifractal2Dparam_procptr(&fi, body, x, y, phase, param(x, y), p.P2, fmax, p.P1, 0.5);
  });
}

// The fixed body parameter P3 of the private area.
auto fixedParam(const gfunc* g)
{
  const double w = privateArea<F21precomputed>(g).P3;
  return [w](double, double) { return w; };
}

// Lightning: the stroke height v from the branch distance b.
double strokeLevel(double b)
{
  if (b > 0.35)
    return b - 0.1;
  const double d = 0.35 - b;
  return d < 0.5 ? b - 0.1 + d * d : 0.0;
}

// Bright along the strokes, 0 from v = 2.25 on.
double brightStroke(double a, double v)
{
  double w = 4;
  if (v < 1.75) {
    w = 2 * v;
  } else {
    const double h = 1.75 - v;
    if (h > -0.5)
      w = 2 * (v - h * h);
  }
  return a * (4 - w) * (4 - w);
}

// -A v^2 with a soft clamp at 16.
double darkStroke(double a, double v)
{
  const double o = -a * v * v;
  if (o > 20)
    return 16;
  if (o > 12) {
    const double g = (o - 20) / 16;
    return 16 - 16 * g * g;
  }
  return o;
}

}  // namespace

// ---- Compute functions ----------------------------------------------------

// Three layers of crater spots, each turned and scaled against the last;
// pi A on flat ground, craters dig below it.
void f21_Craters(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double amp = kPi * g->A, b = g->B, c = g->C;
  f21_eachSample(g, [=](double x, double y) {
    double acc = 1;
    const double u = c * x + b, v = c * y;
    RecurSpots2D(t, u, v, &acc, 1);
    const double u1 = 0.686 * u + 0.1386 * v, v1 = 0.686 * v - 0.1386 * u;
    RecurSpots2D(t, u1, b + v1, &acc, 1);
    RecurSpots2D(t, 0.686 * u1 + 0.1386 * v1 + b, 0.686 * v1 - 0.1386 * u1, &acc, 1);
    return amp * acc;
  });
}

void f21_sparcefractal(gfunc* g)
{
  rockEachSample(g, fpnoise_sparcefractale, 0, 0.75, fixedParam(g));
}

void f21_erodedfractal(gfunc* g)
{
  rockEachSample(g, fpnoise_erodedfract, 0, 0.25, fixedParam(g));
}

void f21_lightnings(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  const double a = g->A;
  f21_eachSample(g, [=](double x, double y) {
    const double v = strokeLevel(faddbranches(x, p.P1 - y, p.P1, p.P2, p.P3, 0));
    return a > 0 ? brightStroke(a, v) : darkStroke(a, v);
  });
}

// The body parameter follows a slow gradient noise.
void f21_lunarrock(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double f = f21_pre(g).P2;
  rockEachSample(g, fpnoise_lunarrock2D, g->B, 1, [t, f](double x, double y) {
    return 0.5 * fUnitPerlinNoise2D(t, f * x / 2, f * y / 2) + 0.75;
  });
}

void f21_bubblerock(gfunc* g)
{
  rockEachSample(g, fpnoise_bubblerock2D, g->B, 1, fixedParam(g));
}

void f21_ridgedtomf(gfunc* g)
{
  rockEachSample(g, fpnoise_fridgedtomfe, 0, 1, fixedParam(g));
}

void f21_stonescluster(gfunc* g)
{
  rockEachSample(g, fpnoise_stonescluster, g->B, 0.5, fixedParam(g));
}

// Strata: the octaves turn by a small angle only, and the phase grows by
// 1.25. The document's octave settings are set for the batch and put back
// to their defaults after it.
void f21_sharpfaultrock(gfunc* g)
{
  fractalsinfos& settings = g->doc->fractal;
  settings.phaseFactor = 1.25;
  settings.rotSin = 0.02;
  settings.rotCos = 0.98;
  const KVtables* t = &g->doc->tables;
  const double f = 0.15 * f21_pre(g).P2;
  rockEachSample(g, fpnoise_sharpdrock, g->B, 1,
                 [t, f](double x, double y) { return frandom2D(t, f * x, f * y) / 1500 + 0.1; });
  settings.phaseFactor = 1.33;
  settings.rotSin = 0.5;
  settings.rotCos = 0.866025;
}

// Volcanoes and calderas in jittered regions of a plane displaced by a
// fractal vector noise.
void f21_volcanoes(gfunc* g)
{
  fractalsinfos fi = f21_fractalCopy(g);
  VolcanoState& st = privateArea<VolcanoState>(g);
  const F21precomputed p = st.pre;
  const double displacement = g->B, c = g->C;
  f21_eachSample(g, [&](double x, double y) {
    const double u = (x + 4.19) * p.P2, v = (y - kPi) * p.P2;
    double dx = 0, dy = 0;
    fractal2DVector_procptr(&fi, fPerlinNoise2DVector2D, u, v, 0.433, 3 * displacement + 5,
                            0.55 * displacement + 0.2, 0, 0.5, &dx, &dy);
    dvector4d heights{dx, dy, 0, 0};
    fregionJitterOverlap1(&fi, u + dx, v + dy, c, frgnVolcano, &st.region, &heights);
    return (0.2 * (dx * dx + dy * dy) + heights.w) * p.P1;
  });
}

// ---- Precomputations ------------------------------------------------------

void f21_sparcefractal_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 32;
  p.P2 = g->C / 4;
  p.P3 = 0.5 - g->B;
}

void f21_erodedfractal_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 64;
  p.P2 = g->C / 4;
  p.P3 = g->B;
}

void f21_lightnings_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = kPi * g->C;
  p.P2 = std::cos(g->B);
  p.P3 = std::sin(g->B);
}

void f21_rock8_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 64;
  p.P2 = g->C / 8;
  p.P3 = 0;
}

void f21_ridgedtomf_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 64;
  p.P2 = g->C / 8;
  p.P3 = g->B;
}

void f21_stonescluster_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 128;
  p.P2 = g->C / 4;
  p.P3 = 0;
}

void f21_sharpfaultrock_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = g->A / 50;
  p.P2 = g->C / 8;
}

// A frequency of 0 (or below) is taken as 0.00001.
void f21_volcanoes_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = 2 * g->A;
  p.P2 = std::max(g->C / 4, 0.00001);
}

// ---- Handlers -------------------------------------------------------------

int16_t f21_Craters_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_Craters, g, msg, a, b, c);
}

int16_t f21_sparcefractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_sparcefractal, g, msg, a, b, c);
}

int16_t f21_erodedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_erodedfractal, g, msg, a, b, c);
}

int16_t f21_lightnings_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_lightnings, g, msg, a, b, c);
}

int16_t f21_lunarrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_lunarrock, g, msg, a, b, c);
}

int16_t f21_bubblerock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_bubblerock, g, msg, a, b, c);
}

int16_t f21_ridgedtomf_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_ridgedtomf, g, msg, a, b, c);
}

int16_t f21_stonescluster_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_stonescluster, g, msg, a, b, c);
}

int16_t f21_sharpfaultrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_sharpfaultrock, g, msg, a, b, c);
}

int16_t f21_volcanoes_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_volcanoes, g, msg, a, b, c);
}
