// The theme functions: one step per theme over a shared batch frame.
#include "components/f44/themes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "components/common/inputs.h"
#include "components/f44/terrain.h"
#include "engine/world.h"
#include "foundation/checked.h"
#include "noise/bodies.h"
#include "noise/multifractal.h"
#include "noise/noises.h"

namespace {

// The rotation the drivers are left with after a theme's own turn.
constexpr double kDefaultSin = 0.5;
constexpr double kDefaultCos = 0.866025;

// What every step of a batch reads.
struct ThemeRun
{
  const ThemeFilterPrivate& p;
  double B;           // the component's level parameter
  double C;           // the component's frequency parameter
  double pixelScale;  // the document's pixels per unit of y
  double limit;       // the theme's band limit
  const KVtables* t;
};

// One sample: the master x and y, the colour and the altitude.
struct Sample
{
  double x, y;
  double r, g, b;
  double alt;
};

using ThemeStep = void (*)(const ThemeRun& run, fractalsinfos& fi, Sample& s);

struct ThemeDesc
{
  ThemeStep step;
  double limitFactor;  // band limit as a multiple of the pixel scale
  double param1;       // body parameter 1 before the batch; NaN keeps the document's
};

void runTheme(gfunc* g, const ThemeDesc& d)
{
  const int n = KV_batchLength();
  double in[4][kBatchCapacity];
  for (int k = 0; k < 4; ++k)
    KV_readInput(g, k, n, in[k]);
  sfuncSystem* doc = g->doc;
  fractalsinfos base = doc->fractal;
  base.tables = &doc->tables;
  if (!std::isnan(d.param1))
    base.paramA = d.param1;
  const bool reliefPass = base.reliefPass != 0;
  const ThemeRun run{privateArea<ThemeFilterPrivate>(g), g->B,        g->C, doc->yPixelScale,
                     d.limitFactor * doc->yPixelScale,   &doc->tables};
  for (int i = 0; i < n; ++i) {
    fractalsinfos fi = base;
    Sample s{doc->master[0][i], doc->master[1][i], in[0][i], in[1][i], in[2][i], in[3][i]};
    d.step(run, fi, s);
    const bool passColour = reliefPass;
    g->outputs[0][i] = passColour ? in[0][i] : s.r;
    g->outputs[1][i] = passColour ? in[1][i] : s.g;
    g->outputs[2][i] = passColour ? in[2][i] : s.b;
    g->outputs[3][i] = s.alt;
  }
}

// ---- Shared pieces ----

double lerp(double a, double b, double w)
{
  return a + (b - a) * w;
}

void blendColour(Sample& s, double r, double g, double b, double w)
{
  if (w == 0)
    return;  // keeps the colour exactly, whatever the target holds
  s.r = lerp(s.r, r, w);
  s.g = lerp(s.g, g, w);
  s.b = lerp(s.b, b, w);
}

void setRotation(fractalsinfos& fi, double sine, double cosine)
{
  fi.rotSin = sine;
  fi.rotCos = cosine;
}

void restoreRotation(fractalsinfos& fi)
{
  setRotation(fi, kDefaultSin, kDefaultCos);
}

// The swap-and-turn driver over a scalar body; the output slot starts at
// `start`.
double swapTurn(fractalsinfos& fi, TerrainScalarBody body, double x, double y, double z,
                double weight, double freq, double limit, double gain, double start = 0.0)
{
  double v = start;
  MFPswscalarA2_procptr(&fi, body, x, y, z, weight, freq, limit, gain, &v);
  return v;
}

double scaledDriver(fractalsinfos& fi, TerrainScalarBody body, double x, double y, double z,
                    double weight, double freq, double limit, double gain)
{
  double v = 0.0;
  MFPuscalar_procptr(&fi, body, x, y, z, weight, freq, limit, gain, &v);
  return v;
}

dvector4d recordDriver(fractalsinfos& fi, FractalOctaveProcRecord4 body, double x, double y,
                       double z, double weight, double freq, double limit, double gain)
{
  dvector4d rec;
  MFPV4d_procptr(&fi, body, x, y, z, 0.0, weight, freq, limit, gain, &rec);
  return rec;
}

// Dune height at scale k: two dune fields, the second cutting into the
// first where it rises close to it.
double duneHeight(const KVtables* t, double k, double x, double y)
{
  const double d1 = fPerlinDunes(t, k * x, k * y, 0.25);
  const double d2 = fPerlinDunes(t, k * x + 333.15, k * y + 123.85, 0.25);
  if (d2 - 0.0625 > d1)
    return d1;
  const double u = (d2 - 0.0625 - d1) * 4;
  return u > -0.5 ? d1 - u * u * 0.25 : d2;
}

// The strata value at u: neighbouring layers blended by smoothstep(1.5 f);
// 0 where u has no layer.
double strata(const KVtables* t, double u)
{
  kvnum::LatticeSplit s;
  if (!kvnum::lattice_floor(u, s))
    return 0.0;
  return lerp(LABTXT_density(t, s.cell), LABTXT_density(t, kvnum::wrap_add_i32(s.cell, 1)),
              terrainSmoothstep(1.5 * s.frac));
}

// The strata colours of Strata Rocks A and B: a negative weight darkens
// toward brown, a positive one lightens toward sand, both by m.
void strataColour(Sample& s, double weight, double m)
{
  if (weight < 0) {
    const double t = 6 * m + 1;
    blendColour(s, t, 0.6 * t, 0.4 * t, -weight);
  } else if (weight > 0) {
    const double t = 5 * m + 2;
    blendColour(s, t, 0.9 * t, 0.7 * t, weight);
  }
}

// The soft rise shared by the themes: where the new surface e stands above
// `floor` by p > 0, q = k p; below one half the weight is 2q and the altitude
// rises by q^2 r, above it the weight is 1 and the altitude is e. Returns the
// weight (0 where p <= 0, the altitude unchanged).
double softRise(double e, double p, double k, double r, double floor, double& alt)
{
  if (!(p > 0))
    return 0.0;
  const double q = k * p;
  if (q < 0.5) {
    alt = floor + q * q * r;
    return 2 * q;
  }
  alt = e;
  return 1.0;
}

// ---- The themes ----

void grayRocks(const ThemeRun& run, fractalsinfos& fi, Sample& s)
{
  const double n = frandom1D_balanced(run.t, s.alt * 0.13);
  double e = s.alt * 0.01 + run.p.level + std::fabs(n) * 0.001171875;
  if (e < -1.0)
    return;
  e = std::min(e, 0.125);
  const double v = swapTurn(fi, fp1fracturedrocks, s.x, s.y, s.alt, 0.9, run.p.frequency, run.limit,
                            0.45, s.alt);
  e += terrainEase(v);
  if (e > 0) {
    s.alt += e * run.p.scale;
    const double grey = 4 * e > 1 ? 4.5 : 4 * e * 2.5 + 2.0;
    s.r = s.g = s.b = grey;
  }
}

void whiteRocksBeach(const ThemeRun& run, fractalsinfos& fi, Sample& s)
{
  constexpr double kSlope = 0.1;
  if (s.alt <= 0.5) {
    const double d = duneHeight(run.t, 8 * run.p.frequency, s.x, s.y);
    double a = 0.04 * run.p.scale * d + s.alt * 0.25;
    const double w = softRise(a, a + 0.025 - s.alt, 10, 0.1, s.alt, a);
    if (w > 0) {
      blendColour(s, 7.6, 7.2, 6.0, w);
      s.alt = a;
    }
  }
  const double h = s.alt - run.p.level;
  const double n = frandom1D_balanced(run.t, kSlope * h + 0.95);
  const double t = h * 0.02 + std::fabs(n) * 0.001953125 * 0.55 - 0.8;
  if (t < -2.0)
    return;
  setRotation(fi, 0.707, 0.707);
  fi.paramA = 0.88;
  fi.paramB = frandom1D(run.t, h * 0.06 + 33.713) * 0.0009765625;
  const double v = swapTurn(fi, fp1fracturedWrock, s.x, (s.x * 0.2 + h) * 0.7, kSlope * h + s.y,
                            std::fabs(n) * 0.001953125 + 0.85, run.p.frequency, run.limit, 0.49);
  restoreRotation(fi);
  const double k = h > 10 ? 1.5 + (h - 10) * 0.01 : 1.5;
  const double e = s.alt + k * v + t;
  double alt = s.alt;
  const double w = softRise(e, e + 0.05 - s.alt, 5, 0.2, s.alt, alt);
  if (w == 0)
    return;
  s.alt = alt;
  const double m = (fi.secondOutput + v) * 0.5;
  double c = m > 1 ? 6.5 : m * 3.5 + 3.0;
  if (h > 15)
    c -= std::min((h - 15) * 0.01, 3.0);
  blendColour(s, c, c, c, w);
}

void redBeachRocks(const ThemeRun& run, fractalsinfos& fi, Sample& s)
{
  const double alt = s.alt, h = alt - run.p.level;
  const double n = frandom1D_balanced(run.t, h * 0.1) * 0.001953125;
  fi.paramB = n;
  const double a = std::fabs(n);
  double c = a - (2.0 - 0.75 * run.B);
  if (h > 32)
    c += std::min((h - 32) * 0.06, 1.0);
  else if (h < 10)
    c += std::min((10 - h) * 0.1, 1.0);
  const double sm = terrainSmoothstep((h - 24) * 0.037 + 2.0);
  fi.paramA = 2 * sm;

  // Beach below altitude 1.
  double alt3 = alt;
  const double wb = terrainSmoothstep((1 - alt) * 0.5);
  c -= wb;
  const double deep = alt < -3 ? (alt + 3) * (alt + 3) * 0.5 : 0.0;
  c -= deep;
  if (wb > 0) {
    blendColour(s, 8.0, 7.3, 6.0, wb);
    alt3 = lerp(alt, alt * 0.2 - deep, wb);
  }
  s.alt = alt3;

  setRotation(fi, 0.9925, 0.1219);
  const double v =
      swapTurn(fi, fp1fracturedRedRock, s.x, s.y, h, 1 + 0.6 * sm, run.p.frequency, run.limit, 0.5);
  restoreRotation(fi);
  const double e = (c + v) * run.p.scale + alt;
  const double W = softRise(e, e + 0.125 - alt3, 2, 0.5, alt3, s.alt);
  if (W == 0)
    return;
  const double m = std::min({v, fi.secondOutput, 1.0});
  const double snow = alt > 35 ? std::min((alt - 35) * 0.006, 0.5) : 0.0;
  const double ak = a * snow + snow;
  const double R = ((4 - sm) * m + 3) * (1 - 0.8 * ak);
  const double X = std::max(0.0, 1 - 0.7 * (ak + sm));
  blendColour(s, R, R * (1 - X * (0.42 + 0.18 * a)), R * (1 - 0.81 * X), W);
}

void densityA(const ThemeRun& run, fractalsinfos& fi, Sample& s)
{
  const double h = s.alt - run.p.level;
  const double u = ((0.09 * s.x + h) * 0.25 + 0.02 * s.y) * run.C * 0.5;
  const double d = strata(run.t, u);
  setRotation(fi, 1.0, 0.0);
  double a, weight, m;
  if (d < 0) {
    const double v =
        swapTurn(fi, fp1fracturedrocksB, s.x, s.y, u, 1.8, run.p.frequency, run.limit, 0.5);
    const double z = v * 0.5;
    const double k = z < 1 ? (terrainEase(z) - 1) * run.p.scale : 0.0;
    a = d - k * d;
    weight = std::min(d, 1.0);
    m = std::min(0.25 * v, 1.0);
  } else {
    const double v =
        swapTurn(fi, fp1fracturedrocksC, s.x, s.y, u, 1.3, run.p.frequency, run.limit, 0.5);
    a = d * v * run.p.scale + d;
    weight = std::min(a, 1.0);
    m = std::min(0.5 * v, 1.0);
  }
  restoreRotation(fi);
  s.alt += 2 * a;
  strataColour(s, weight, m);
}

void densityB(const ThemeRun& run, fractalsinfos& fi, Sample& s)
{
  const double v =
      swapTurn(fi, fp1fracturedrocksD, s.x, s.y, s.alt, 1.6, run.p.frequency, run.limit, 0.5);
  const double u =
      (((s.alt - run.p.level) + 0.05 * s.x) * 0.25 + v * 0.66 + 0.01 * s.y) * run.C * 0.5;
  const double d = strata(run.t, u);
  double weight, delta, m;
  if (d < 0) {
    weight = std::max(d, -1.0);
    const double z = v * 0.5;
    m = (z + fi.secondOutput) * 0.75;
    delta = d - (z < 1 ? terrainEase(z) - 1 : 0.0) * run.p.scale * d;
  } else {
    weight = std::min(d, 1.0);
    delta = v * d * run.p.scale + d;
    m = (v + fi.secondOutput) * 0.6;
  }
  s.alt += delta;
  strataColour(s, weight, std::min(m, 1.0));
}

void densityC(const ThemeRun& run, fractalsinfos& fi, Sample& s)
{
  setRotation(fi, 0.0, 1.0);
  const double v =
      swapTurn(fi, fp1fractrocks, s.x, s.y, s.alt, 1.4, run.p.frequency, run.limit, 0.5);
  double h = s.alt - run.p.level;
  if (h >= 64)
    h = h * 0.5 + 32;
  const bool upper = h >= 32;  // the upper band of strata
  if (upper)
    h = h * 0.5 + 16;
  const double u = ((0.05 * s.x + h) * 0.25 + v * 0.4 + 0.01 * s.y) * run.C * 0.5;
  const double d = 2 * strata(run.t, u);
  double delta, w;
  if (d < 0) {
    delta = d - (v - 1) * run.p.scale * d;
    w = std::max(d, -1.0);
  } else {
    delta = v * run.p.scale * d;
    w = std::min(2 * delta, 1.0);
  }
  s.alt += delta;
  const double m = std::min(fi.accumulator, 1.0);
  if (w < 0) {
    const double t = 5 - 3 * m;
    blendColour(s, t, (upper ? 0.95 : 0.85) * t, (upper ? 0.95 : 0.62) * t, -w);
    if (fi.secondOutput > 0.5)
      s.r -= w;
  } else if (w > 0) {
    const double t = upper ? 4 * m + 1 : 5 * m + 2;
    blendColour(s, t, (upper ? 0.9 : 1.0) * t, (upper ? 0.85 : 1.0) * t, w);
  }
}

void veggy(const ThemeRun& run, fractalsinfos& fi, Sample& s)
{
  const double scale = run.p.scale, P = run.pixelScale;
  const double g1 = 6 * scale, g2 = 40 * scale + 2;
  const double alt = s.alt, h = alt - run.p.level;
  double pa, pb;
  fPerlinNoise2D_DBL(run.t, 0.015625 * s.x, 0.0166667 * s.y, &pa, &pb, 0.001953125);
  double c = pa + 0.333;
  if (h < g1)
    c += (h - g1) * 0.2;
  if (h > 40 * scale)
    c += (h - 40 * scale) * -0.02;
  const double n = std::fabs(frandom1D_balanced(run.t, h * 0.1)) * 0.00146484375;
  double k = h < g1 ? (h - g1) * 0.3 + 1 : 1.0;
  if (h + pb > g2)
    k += (h + pb - g2) * -0.02;

  if (k > 0) {
    setRotation(fi, 0.1219, 0.9925);
    const double v =
        scaledDriver(fi, fp1fractgrass, s.x, s.y, h, 1.25, 0.03125, std::min(0.25, P), 0.5);
    restoreRotation(fi);
    const double w = terrainSmoothstep(1.5 * k);
    const double D = LimitGrassNoise(&fi, s.x, s.y, 64, P);
    s.alt = alt + ((v + 0.03 * D) * scale + 1) * w;
    if (w > 0) {
      const double G = (D + 1) * (0.5 * v + 0.4 * fi.secondOutput) + D;
      const double base = G < 1 ? 4 * G + 3 : 7.0;
      const double Gc = 2.5 * std::min(G, 1.0) + 1;
      Sample grass{0, 0, base * (0.5 + 0.7 * std::fabs(pb)) + 2 * n, base, (0.5 * n + 0.2) * base,
                   0};
      if (c + 0.1 > 0)
        blendColour(grass, (0.4 + std::fabs(pb)) * Gc, Gc, 0.2 * Gc, std::min(2 * (c + 0.1), 1.0));
      blendColour(s, grass.r, grass.g, grass.b, w);
    }
  }
  if (c > 0) {
    fi.paramA = pb;
    const dvector4d rec =
        recordDriver(fi, fp4fractfoliage, s.x, s.y, h, 1.25, 8 * run.p.frequency, P, 0.45);
    const double e = c + alt + (std::min(8 * c, 2.5) * rec.x - 0.4) * scale;
    const double floor = s.alt;
    const double w = softRise(e, e + 0.05 - floor, 5, 0.2, floor, s.alt);
    blendColour(s, rec.y, rec.z, rec.w, w);
  }
}

void pineForest(const ThemeRun& run, fractalsinfos& fi, Sample& s)
{
  const double scale = run.p.scale, P = run.pixelScale, freq = run.p.frequency;
  const double alt = s.alt, h = alt - run.p.level;
  double pa, pb;
  fPerlinNoise2D_DBL(run.t, 0.01 * s.x, 0.01 * s.y, &pa, &pb, 0.001953125);
  double c = 0.6 * pa + 0.5;
  if (h < 10)
    c += (h - 10) * 0.15;
  if (h > 20)
    c += (h - 20) * -0.008;
  const double n = std::fabs(frandom1D_balanced(run.t, h * 0.1)) * 0.001953125;
  double k = h < 3 ? (h - 3) * 0.15 + 1 : 1.0;
  if (h > 24)
    k += (h - 24) * -0.01;

  if (k > 0) {
    setRotation(fi, 0.1219, 0.9925);
    const double v = scaledDriver(fi, fp1fractBushes, s.x, s.y, h, 1.4, 1.0 / 12, P, 0.6);
    restoreRotation(fi);
    const double w = terrainSmoothstep(2 * k);
    s.alt = alt + (0.5 * v * scale + 0.5) * w;
    if (w > 0) {
      const double m = std::min((fi.secondOutput + v) * 0.5, 1.0);
      const double base = 3.5 * m + 2.5, j = std::fabs(pb) + n;
      Sample bush{0, 0, 0.4 * base + j, base, 0.1 * base + j, 0};
      if (h < 1)
        blendColour(bush, 7.8, 7.0, 4.7, std::min(2 * (1 - h), 1.0));
      if (c + 0.1 > 0)
        blendColour(bush, 2.5 * m, 2.5 * m, 0.0, std::min(2 * (c + 0.1), 1.0));
      bush.r += (3.0 - j - bush.r) * m;
      bush.g += (2.8 - j - bush.g) * m;
      bush.b += (2.7 - j - bush.b) * m;
      blendColour(s, bush.r, bush.g, bush.b, w);
    }
  }
  if (c > 0) {
    fi.paramB = pb;
    const dvector4d rec = recordDriver(fi, fp4fractCforest, s.x, s.y, h, 1.25, 8 * freq,
                                       std::min(320 * freq, P), 0.45);
    const double e = c + alt - 0.6 + std::min(8 * c, 3.0) * scale * rec.x;
    const double floor = s.alt;
    const double w = softRise(e, e + 0.1 - floor, 2.5, 0.4, floor, s.alt);
    blendColour(s, rec.y, rec.z, rec.w, w);
  }
}

void wideBeach(const ThemeRun& run, fractalsinfos& fi, Sample& s)
{
  const double scale = run.p.scale, P = run.pixelScale, level = run.p.level;
  double h = s.alt - level;
  double pa, pb;
  fPerlinNoise2D_DBL(run.t, 0.0032 * s.x, 0.0032 * s.y, &pa, &pb, 0.00390625);
  const double pebbles = std::min(h > 0 ? pa - 0.05 * h : pa, 0.7);
  const double dunes = (h > 0 ? pb - 0.1 * h : pb) + 0.25;

  // Wet sand below h = 1.
  const double wet = terrainSmoothstep((1 - h) * 0.5);
  if (wet > 0) {
    blendColour(s, 7.9, 7.6, 6.8, wet);
    const double deep = h < -4 ? (h + 4) * (h + 4) * 0.5 : 0.0;
    h = lerp(h, 0.2 * h - deep, wet);
  }
  double delta = 0;
  if (dunes > 0) {
    const double w = terrainSmoothstep(dunes);
    const double d = duneHeight(run.t, 16 * run.p.frequency, s.x, s.y);
    const double ripple = 0.05 * SmallDuneNoise(&fi, s.x + d, s.y - d, 1.0, P);
    delta = (d + ripple) * w * scale;
    h += delta;
    if (w > 0)
      blendColour(s, 8.0, 7.0, 4.5, w);
  }
  if (pebbles > 0) {
    const dvector4d rec =
        recordDriver(fi, fp4fractStonesNoise, s.x, s.y, s.alt - level, 1.0, 6 * run.C, P, 0.5);
    const double e = (rec.w + pebbles - 1.2 - delta) * 0.3 * scale + h;
    const double floor = h;
    const double w = softRise(e, e + 0.0125 - floor, 20, 0.05, floor, h);
    blendColour(s, rec.x, rec.y, rec.z, w);
  }
  s.alt = h + level;
}

void erosion(const ThemeRun& run, fractalsinfos& fi, Sample& s)
{
  const double L = 100 + run.p.level;
  const double t = s.alt / L;
  if (!(t > 0 && t < 1))  // an infinite or NaN t (L = 0) passes too
    return;
  const double w = terrainSmoothstep(4 * std::min(t, 1 - t));
  const double v = swapTurn(fi, fp1Erosion, s.y, s.x - 0.3 * s.alt, s.alt, 2.6, run.p.frequency,
                            run.limit, 0.47);
  const double e = terrainEase(v);
  s.alt = (t + 0.09 * (e - 1) * w) * L;
  const double f = ((fi.secondOutput - e) * 0.3 + e - 0.67) * w + 1;
  s.r *= f;
  s.g *= f;
  s.b *= f;
}

constexpr double kKeep = std::numeric_limits<double>::quiet_NaN();
constexpr double kBand = 0.333;  // the usual band limit, in pixel scales

}  // namespace

void ThemeFilterRocks(gfunc* g)
{
  runTheme(g, {grayRocks, kBand, 0.9});
}

void ThemeFilterWhiteRocksBeach(gfunc* g)
{
  runTheme(g, {whiteRocksBeach, kBand, kKeep});
}

void ThemeFilterRedBeachRocks(gfunc* g)
{
  runTheme(g, {redBeachRocks, kBand, kKeep});
}

void ThemeFilterDensityA(gfunc* g)
{
  runTheme(g, {densityA, kBand, 0.9});
}

void ThemeFilterDensityB(gfunc* g)
{
  runTheme(g, {densityB, kBand, kKeep});
}

void ThemeFilterDensityC(gfunc* g)
{
  runTheme(g, {densityC, 0.5, kKeep});
}

void ThemeFilterVeggy(gfunc* g)
{
  runTheme(g, {veggy, 1.0, kKeep});
}

void ThemeFilterPineForest(gfunc* g)
{
  runTheme(g, {pineForest, 1.0, kKeep});
}

void ThemeFilterWideBeach(gfunc* g)
{
  runTheme(g, {wideBeach, 1.0, kKeep});
}

void ThemeFilterErosion(gfunc* g)
{
  runTheme(g, {erosion, kBand, kKeep});
}
