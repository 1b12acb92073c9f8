#include "components/f22/f22_fractal.h"

#include <algorithm>
#include <cmath>

#include "components/common/banddensity.h"
#include "components/f22/f22_pvt.h"
#include "noise/drivers.h"
#include "noise/noises.h"

namespace {

constexpr double kPi = std::numbers::pi;
// The octave drivers' frequency step.
constexpr double kLacunarity = 2.0943951024;
// 1 - 1 / kLacunarity: the fade of the octave beyond the band limit.
constexpr double kFadeSpan = 0.5225351707258652;
// The floor of frequencies the handlers divide by.
constexpr double kMinFrequency = 1e-5;

// The document's fractal settings with its tables, as the drivers read them.
fractalsinfos fractalSettings(const gfunc* g)
{
  fractalsinfos fi = g->doc->fractal;
  fi.tables = &g->doc->tables;
  return fi;
}

// x' = x + a, y' = y + b for the vector (a, b) that `vec` computes at (x, y).
template <class F>
void displaceBy(gfunc* g, F vec)
{
  f22_eachSample(g, [&](double x, double y) {
    double a = 0, b = 0;
    vec(x, y, a, b);
    return F22point{x + a, y + b};
  });
}

// Samples the Perlin vector noise with `noiseAmp` and shapes both components.
template <double (*Shape)(double)>
void shapedPerlin(const KVtables* t, double X, double Y, double* out1, double* out2, double amp,
                  double noiseAmp)
{
  double e0 = 0, e1 = 0;
  fPerlinNoise2DVector2D(t, X, Y, &e0, &e1, noiseAmp);
  *out1 = Shape(e0) * amp;
  *out2 = Shape(e1) * amp;
}

}  // namespace

// ---- Basis shapers ----------------------------------------------------------------

double f22_ridgedShape(double e)
{
  double m = std::fabs(e);
  if (m < 0.5)
    m = m * m + 0.25;
  const double t = 0.1 * m - 0.5;
  return t >= 0 ? 0.0 : t * t;
}

double f22_cubicCeilShape(double e)
{
  const double v = std::clamp(e + 0.5, 0.0, 1.0);
  return v * v * (3 - 2 * v) - 0.5;
}

double f22_tnoiseShape(double e)
{
  double v = std::fabs(e) - 1.75;
  if (v <= 0.0625) {
    const double g = 4 * (0.0625 - v);
    v = g < 0.5 ? v + 0.25 * g * g : 0.0;
  }
  return v;
}

void fPerlinNoise2DVector2D_ridged(const KVtables* t, double X, double Y, double* out1,
                                   double* out2, double amp)
{
  shapedPerlin<f22_ridgedShape>(t, X, Y, out1, out2, amp, 10.0);
}

void fcubicCeil(const KVtables* t, double X, double Y, double* out1, double* out2, double amp)
{
  shapedPerlin<f22_cubicCeilShape>(t, X, Y, out1, out2, amp, 4.0);
}

void ftnoise(const KVtables* t, double X, double Y, double* out1, double* out2, double amp)
{
  shapedPerlin<f22_tnoiseShape>(t, X, Y, out1, out2, amp, 10.0);
}

// ---- The smooth-maximum turbulence -------------------------------------------------

double f22_smax(double p, double q, double w)
{
  const double d = q - p;
  if (d < -0.25 * w)
    return p;
  if (d < 0.25 * w)
    return p + (d + 0.25 * w) * (d + 0.25 * w) / w;
  return q;
}

void turbulence2DVectorMAX(const KVtables* t, F22vectorBasis basis, double x, double y, double f,
                           double limit, double amp, double phi, double gain, double feedback,
                           double out[2], int octaves)
{
  out[0] = out[1] = 0;
  if (octaves < 1)
    return;
  double u = x, v = y, m0 = 0, m1 = 0, w = kPi;
  double e0 = 0, e1 = 0;
  // Bounded by the octave count; the frequency grows by 2.09 each octave.
  for (int o = 0; f <= limit;) {
    basis(t, u * f + feedback * m0, (v - phi) * f + feedback * m1, &e0, &e1, amp);
    m0 = f22_smax(m0 + 0.25 * e0, e0, w);
    m1 = f22_smax(m1 + 0.25 * e1, e1, w);
    amp = -gain * amp;
    phi = 1.33 * phi + kPi;
    const double du = u, dv = v - phi;
    u = 0.866025 * du - 0.5 * dv;
    v = 0.5 * du + 0.866025 * dv + phi;
    f *= kLacunarity;
    w *= gain;
    if (++o == octaves) {
      out[0] = m0;
      out[1] = m1;
      return;
    }
  }
  const double fade = 1 - (f - limit) / (kFadeSpan * f);
  basis(t, u * f + feedback * m0, (v - phi) * f + feedback * m1, &e0, &e1, fade * amp);
  out[0] = f22_smax(m0 + 0.25 * e0, e0, w);
  out[1] = f22_smax(m1 + 0.25 * e1, e1, w);
}

// ---- Members ---------------------------------------------------------------------------

void f22_fract_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = (g->A + 2) / 300;
  K[1] = 1 / ((g->B + 2.125) * kLacunarity);
  K[2] = 0.25 * g->C;
}

void f22_fract(gfunc* g)
{
  fractalsinfos fi = fractalSettings(g);
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], limit = 1.8 * g->doc->yPixelScale;
  displaceBy(g, [&](double x, double y, double& a, double& b) {
    fractal2DVector_procptr(&fi, frandom2DVector2D, x, y, k1, limit, k0, -k2, 0.5, &a, &b);
  });
}

void f22_fractSpace_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = g->A / 250;
  K[2] = 0.5 * g->C;
  K[3] = g->A * 0.03125 * 0.10999999999999999 + 0.4;
}

// The fractal vector replaces the point: (0, 0) where the driver adds nothing.
void f22_fractSpace(gfunc* g)
{
  fractalsinfos fi = fractalSettings(g);
  const double* K = f22_k(g).K;
  const double k0 = K[0], k2 = K[2], k3 = K[3], b = g->B, limit = g->doc->yPixelScale;
  f22_eachSample(g, [&](double x, double y) {
    double a = 0, c = 0;
    fractal2DVector_procptr(&fi, frandom2DVector2D, x, y, k2, limit, k0, b, k3, &a, &c);
    return F22point{a, c};
  });
}

void f22_cristalnoise_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = std::sin(kPi / 6);
  K[1] = 1 / std::cos(kPi / 6);
}

// The point in skewed hexagonal coordinates.
void f22_cristalnoise(gfunc* g)
{
  fractalsinfos fi = fractalSettings(g);
  const double k0 = f22_k(g).K[0], k1 = f22_k(g).K[1];
  const double amp = g->A, phase = g->B, f = g->C, limit = g->doc->yPixelScale;
  displaceBy(g, [&](double x, double y, double& a, double& b) {
    fractal2DVector_procptr(&fi, flinrandomVector, x + k0 * y, k1 * y, f, limit, amp, phase, 0.5,
                            &a, &b);
  });
}

void f22_PerlinNoise_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = g->A / 128;
  K[2] = 0.25 * g->C;
}

void f22_PerlinNoise(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double k0 = f22_k(g).K[0], k2 = f22_k(g).K[2], phase = g->B;
  f22_eachSample(g, [=](double x, double y) {
    double a = 0, b = 0;
    fPerlinNoise2DVector3D(t, k2 * x + phase, k2 * y, &a, &b, nullptr);
    return F22point{x + k0 * a, y + k0 * b};
  });
}

void f22_multiperlin_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[2] = std::max(0.125 * g->C, kMinFrequency);
  K[0] = g->A / K[2];
  K[1] = K[2] * g->B;
}

// B sets the band limit to B times the base frequency (lower where the pixel
// density is lower).
void f22_multiperlin(gfunc* g)
{
  fractalsinfos fi = fractalSettings(g);
  const double* K = f22_k(g).K;
  const double k0 = K[0], k2 = K[2];
  const double limit = std::max(std::min(g->doc->yPixelScale, K[1]), k2);
  displaceBy(g, [&](double x, double y, double& a, double& b) {
    fractal2DVector_procptr(&fi, fPerlinNoise2DVector2D, x, y, k2, limit, k0, 0.0, 0.5, &a, &b);
  });
}

void f22_timeturbulences_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = g->A;
  K[1] = 0.125 * g->B;
  K[2] = 0.25 * g->C;
  K[3] = std::clamp(0.5 * g->A, 0.0, 1.0);
}

// The phase follows the document's time: the field moves during an animation.
void f22_timeturbulences(gfunc* g)
{
  fractalsinfos fi = fractalSettings(g);
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], gain = 0.15 * K[3] + 0.35;
  const double limit = g->doc->yPixelScale, phase = kPi * g->doc->time;
  displaceBy(g, [&](double x, double y, double& a, double& b) {
    double out[3] = {0, 0, 0};
    turbulence2DVector_procptr(&fi, fPerlinNoise2DVector2D, x, y, k2, limit, k0, phase, gain, k1,
                               out);
    a = out[0];
    b = out[1];
  });
}

void f22_ridgedfractal_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[2] = 0.25 * g->C;
  K[0] = 2 * g->A / K[2];
  K[1] = g->B;
  K[3] = 0.1 * K[2];
}

void f22_ridgedfractal(gfunc* g)
{
  fractalsinfos fi = fractalSettings(g);
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], limit = 0.5 * g->doc->yPixelScale;
  displaceBy(g, [&](double x, double y, double& a, double& b) {
    double out[3] = {0, 0, 0};
    turbulence2DVectorNr_procptr(&fi, fPerlinNoise2DVector2D_ridged, x, y, k2, limit, k0, k1, 0.45,
                                 0.04, out);
    a = out[0];
    b = out[1];
  });
}

void f22_multifract_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[2] = std::max(0.25 * g->C, kMinFrequency);
  K[0] = g->A / K[2];
  K[1] = K[0] < 1e-5 ? 275000.0 : 2.75 / K[0];
  K[3] = 0.1 * K[2];
}

void f22_multifract(gfunc* g)
{
  fractalsinfos fi = fractalSettings(g);
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], mix = g->B, limit = KV_adjustedDensity(g);
  displaceBy(g, [&](double x, double y, double& a, double& b) {
    Multifractal2DVector_procptr(&fi, fPerlinNoise2DVector2D, x, y, k2, limit, k0, 0.0, 0.5, mix,
                                 k1, &a, &b);
  });
}

// Chaos displace A and B: K0 = A / K2 with K2 = C / 4 floored at 1e-5.
void f22_ChaosDisA_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[2] = std::max(0.25 * g->C, kMinFrequency);
  K[0] = g->A / K[2];
  K[1] = g->B;
  K[3] = g->B * g->C;
}

void f22_ChaosDisA(gfunc* g)
{
  fractalsinfos fi = fractalSettings(g);
  const double* K = f22_k(g).K;
  const double k0 = K[0], k2 = K[2], k3 = K[3], limit = 0.5 * KV_adjustedDensity(g);
  displaceBy(g, [&](double x, double y, double& a, double& b) {
    double out[3] = {0, 0, 0};
    turbulence2DVector_procptr(&fi, fcubicCeil, x, y, k2, limit, k0, 0.0, 0.43, k3, out);
    a = out[0];
    b = out[1];
  });
}

void f22_ChaosDisB_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[2] = std::max(0.25 * g->C, kMinFrequency);
  K[0] = g->A / K[2];
  K[3] = g->C * g->B;
}

void f22_ChaosDisB(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double* K = f22_k(g).K;
  const double k0 = K[0], k2 = K[2], k3 = K[3], limit = KV_adjustedDensity(g);
  const int octaves = g->doc->fractal.octaves;
  displaceBy(g, [&](double x, double y, double& a, double& b) {
    double out[2] = {0, 0};
    turbulence2DVectorMAX(t, ftnoise, x, y, k2, limit, 0.1 * k0, 0.0, 0.47, k3, out, octaves);
    a = out[0];
    b = out[1];
  });
}

// ---- Handlers -----------------------------------------------------------------------

int16_t f22_fract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_fract, g, msg, a, b, c);
}

int16_t f22_fractSpace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_fractSpace, g, msg, a, b, c);
}

int16_t f22_cristalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_cristalnoise, g, msg, a, b, c);
}

int16_t f22_PerlinNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_PerlinNoise, g, msg, a, b, c);
}

int16_t f22_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_multiperlin, g, msg, a, b, c);
}

int16_t f22_timeturbulences_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_timeturbulences, g, msg, a, b, c);
}

int16_t f22_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_ridgedfractal, g, msg, a, b, c);
}

int16_t f22_multifract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_multifract, g, msg, a, b, c);
}

int16_t f22_ChaosDisA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_ChaosDisA, g, msg, a, b, c);
}

int16_t f22_ChaosDisB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_ChaosDisB, g, msg, a, b, c);
}
