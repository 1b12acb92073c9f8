#include "components/f23/f23_terrain.h"

#include <algorithm>
#include <cmath>

#include "components/common/banddensity.h"
#include "components/common/fractalsettings.h"
#include "components/f23/f23_pvt.h"
#include "foundation/colormath.h"
#include "noise/drivers.h"
#include "noise/multifractal.h"
#include "noise/noises.h"
#include "noise/rgblunarrock.h"
#include "noise/tables.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The colour of bare rock on steep ground.
constexpr F23triple kRock{78, 70, 67};

// Smoothstep held to [0, 1] (NaN gives NaN through the last branch).
double clampedSmooth(double v)
{
  if (v < 0)
    return 0;
  if (v > 1)
    return 1;
  return (3 - 2 * v) * v * v;
}

// ---- Max to gradient ----

struct GradientKeys
{
  normalcolor key[4];  // the document palette at 0, 0.3, 0.7 and 1
};

F23triple twoBands(const GradientKeys& k, double a, double b, double x, double y)
{
  const double u = std::clamp(a * x, 0.0, 1.0);
  const F23triple base = f23_mix(f23_rgb(k.key[0]), f23_rgb(k.key[1]), u);
  const double edge = x - 0.125;
  if (!(y > edge))
    return f23_toValue(base);
  // Above the other height the upper band takes over within a quarter unit.
  const double d = y - edge;
  const F23triple top = f23_mix(f23_rgb(k.key[2]), f23_rgb(k.key[3]), std::min(1.0, b * d));
  const double w = 4 * d;
  if (w >= 1)
    return f23_toValue(top);
  return f23_toValue(f23_mix(base, top, (3 - 2 * w) * w * w));
}

// ---- Grass ----

struct GrassConstants
{
  double m0, m1, m2;  // the skew matrix of the grain
  double topFrequency;
};

F23triple grass(fractalsinfos* fi, const GrassConstants& k, double amp, double c, double density,
                double slope, double x, double y)
{
  const double steep = 4 * slope;
  if (steep >= 1)
    return f23_toValue(kRock);
  const double v = fractal2D_procptr(fi, fPerlinNoise2D, x, y, 0.01 * c, 0.03 * c, 0.18, 0, 0.5);
  const F23triple g0{80 - 1.5 * v, 170 - 0.7 * v, 10 - v};
  const double q = (k.topFrequency - density) / (0.75 * k.topFrequency);
  F23triple colour = g0;
  if (!(q >= 1)) {
    // The grain, faded out as it nears the pixel size.
    double t1, t2, t3;
    frandom2DVector3D(fi->tables, k.m0 * x + k.m2 * y, k.m1 * y + k.m2 * x, &t1, &t2, &t3, amp);
    colour = {t1 / 16 + g0.a, t2 / 8 + g0.b, t3 * 0.05263157894736842 + g0.c};
    if (q > 0)
      colour = f23_mix(colour, g0, q);
  }
  return f23_toValue(f23_mix(colour, kRock, std::max(steep, 0.0)));
}

// ---- Foliage ----

// Nine leaf layers, each turned by 27 degrees and shifted, painted over the
// ones before where its noise is strong; their hue moves with the layer.
F23triple foliage(const KVtables* t, double contrast, double f, double hues, double x, double y)
{
  constexpr int kLayers = 9;
  constexpr double kFlatWeight = 0.085536;  // the smoothstep of 0.18
  constexpr double kCos = 0.891007, kSin = 0.45399;
  const double r0 = 20 + 100 * hues, r1 = 90 + 120 * hues;
  const double g0 = 80 + 40 * hues, g1 = 210 - 170 * hues;
  const double bSpan = 10 - 25 * hues;
  double X = x, Y = y, R = 0, G = 30, B = 10, u = 0, threshold = -140;
  for (int layer = 0; layer < kLayers; ++layer) {
    double s = kFlatWeight;
    if (!(contrast <= 0))
      s = clampedSmooth((threshold + std::fabs(fPerlinNoise2D(t, f * X, f * Y))) * contrast + 0.18);
    Y -= 77.333;
    R += (r0 + (r1 - r0) * u - R) * s;
    G += (g0 + (g1 - g0) * u - G) * s;
    B += (15 + bSpan * u - B) * s;
    u += 1.0 / 9;
    const double turnedX = kCos * X - kSin * Y + 128.5;
    Y = kCos * Y + kSin * X;
    X = turnedX;
    threshold -= 3;
  }
  return f23_toValue({R, G, B});
}

// The foliage's contrast fades out as its frequency f outgrows the pixels:
// 1 while f is at most half the density r, 0 from f = 2 r on (and for NaN).
double foliageFade(double f, double density)
{
  const double q = (f - density / 2) / (0.75 * f);
  if (q < 0)
    return 1;
  return q <= 1 ? 1 - q : 0;
}

}  // namespace

// ---- Message 8 ----------------------------------------------------------------------

void f23_lunarrock_precompute(gfunc* g)
{
  f23_k(g).K[0] = g->A;
  f23_k(g).K[1] = g->C / 8;
}

void f23_MAXtogradient_precompute(gfunc* g)
{
  const cpalette& p = g->doc->tables.gradientKeys;
  const int32_t n = std::clamp<int32_t>(p.count, 0, 64);
  GradientKeys& k = privateArea<GradientKeys>(g);
  const double at[4] = {0, 0.3, 0.7, 1};
  for (int i = 0; i < 4; ++i)
    k.key[i] = colorgradient(p.colors, n, at[i]);
}

void f23_slopegrass_precompute(gfunc* g)
{
  const double c = TableSin(g->B + kPi / 2), s = TableSin(g->B), f = 8 * g->C;
  GrassConstants& k = privateArea<GrassConstants>(g);
  k.m0 = (2.5 * c * c + 0.4 * s * s) * f;
  k.m1 = (2.5 * s * s + 0.4 * c * c) * f;
  k.m2 = 2.1 * c * s * f;
  k.topFrequency = f;
}

void f23_foliage_precompute(gfunc* g)
{
  f23_k(g).K[0] = g->A / 128;
  f23_k(g).K[1] = 4 * g->C;
}

// ---- Compute functions ----------------------------------------------------------------

void f23_lunarrock(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const double scale = f23_k(g).K[0] / 32, f = f23_k(g).K[1], half = f / 2;
  const double phase = g->B, density = g->doc->yPixelScale;
  f23_eachSample(g, F23mask::none, [&](double x, double y) {
    const double z = fUnitPerlinNoise3D(fi.tables, 0, half * y, half * x);
    double rgb[3] = {0, 0, 0};
    RGBMultifractal2Dparam_procptr(&fi, rgblunarrock, x, y, phase, (z + 1) / 2, f, density, 1.0,
                                   0.5, rgb);
    return F23triple{scale * rgb[0], scale * rgb[1], scale * rgb[2]};
  });
}

void f23_MAXtogradient(gfunc* g)
{
  const GradientKeys keys = privateArea<GradientKeys>(g);
  const double a = g->A, b = g->B;
  f23_eachSample(g, F23mask::none, [&](double x, double y) { return twoBands(keys, a, b, x, y); });
}

// The slope of each sample is the document's master x there.
void f23_slopegrass(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const GrassConstants k = privateArea<GrassConstants>(g);
  const double amp = g->A, c = g->C, density = KV_adjustedDensity(g);
  const double* slope = g->doc->master[0];
  const F23batch b = f23_batch(g);
  for (int i = 0; i < b.n; ++i)
    f23_store(g, i, grass(&fi, k, amp, c, density, slope[i], b.x[i], b.y[i]));
}

void f23_foliage(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double f = f23_k(g).K[1];
  const double contrast = foliageFade(f, KV_adjustedDensity(g)) * f23_k(g).K[0];
  const double hues = g->B;
  f23_eachSample(g, F23mask::none,
                 [&](double x, double y) { return foliage(t, contrast, f, hues, x, y); });
}

// ---- Handlers -----------------------------------------------------------------------

int16_t f23_lunarrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_lunarrock, g, msg, a, b, c);
}

int16_t f23_MAXtogradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_MAXtogradient, g, msg, a, b, c);
}

int16_t f23_slopegrass_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_slopegrass, g, msg, a, b, c);
}

int16_t f23_foliage_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_foliage, g, msg, a, b, c);
}
