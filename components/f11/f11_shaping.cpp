#include "components/f11/f11_shaping.h"

#include <algorithm>
#include <cmath>

#include "components/f11/f11_pvt.h"

namespace {

// |x|^p as exp(p log |x|), with the sign of x; 0 at x = 0.
double signedPower(double x, double p)
{
  if (x == 0)
    return 0;
  const double m = std::exp(p * std::log(std::fabs(x)));
  return x > 0 ? m : -m;
}

// Below this the logarithm is held at log(kLogFloor).
constexpr double kLogFloor = 1.25e-6;

// The quadratic bend of half-width w around 0 that joins 0 (below -w) to the
// line v (above w), with matching value and slope; invW = 1/w.
double bend(double v, double w, double invW)
{
  const double t = v * invW * 0.5 + 0.5;
  return w * t * t;
}

// Smooth floor: the lower bend joins the floor f to the line x.
double lowerBend(double x, double f, double w, double invW)
{
  if (x >= f + w)
    return x;
  return x < f - w ? f : f + bend(x - f, w, invW);
}

// Smooth floor: the upper bend, on the distance r below the roof.
double upperBend(double r, double w, double invW)
{
  if (r >= w)
    return r;
  return r < -w ? 0.0 : bend(r, w, invW);
}

}  // namespace

// ---- Compute functions ----------------------------------------------------

// A packed source (two or three channels) has its three colour blocks mapped
// into outputs 1 to 3, without the marker test.
void f11_affine(gfunc* g)
{
  const double a = g->A, b = g->B;
  const inletinfos& in = g->inlets[0];
  if (in.data != nullptr && in.channels >= 2) {
    const int n = KV_batchLength();
    for (int block = 0; block < 3; ++block)
      for (int i = 0; i < n; ++i)
        g->outputs[block][i] = a * in.data[block * kBatchCapacity + i] + b;
    return;
  }
  f11_eachSampleOrUniform(g, [=](double x) { return a * x + b; });
}

// sign(x) (|x| / B)^A.
void f11_power(gfunc* g)
{
  const double a = g->A, k2 = f11_k(g).K2;
  f11_eachSample(g, [=](double x) { return signedPower(x, a) * k2; });
}

void f11_inverse(gfunc* g)
{
  const double a = g->A;
  f11_eachSample(g, [=](double x) { return a - x; });
}

void f11_abs(gfunc* g)
{
  f11_eachSample(g, [](double x) { return std::fabs(x); });
}

// (x + B) A held to [0, C]; a negative C (from a stored file) gives C.
void f11_clip(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f11_eachSample(g, [=](double x) {
    const double v = (x + b) * a;
    if (c < 0)
      return v < 0 || v > c ? c : v;
    if (v < 0)
      return 0.0;
    return v > c ? c : v;
  });
}

// A / x; within 1e-250 of 0 the result is 1e-250, never an infinity.
void f11_div(gfunc* g)
{
  constexpr double kTiny = 1e-250;
  const double a = g->A;
  f11_eachSample(g, [=](double x) { return std::fabs(x) < kTiny ? kTiny : a / x; });
}

void f11_inversegauss(gfunc* g)
{
  const double a = g->A;
  f11_eachSample(g, [=](double x) { return a * (1 - std::exp(-x * x)); });
}

// C (x + A (log(C x + B) - x)): A blends from the line C x to the logarithm.
void f11_log(gfunc* g)
{
  const F11constants k = f11_k(g);
  const double b = g->B, c = g->C;
  f11_eachSample(g, [=](double x) {
    const double u = c * x + b;
    const double l = u > kLogFloor ? std::log(u) : k.K2;
    return c * (x + k.K1 * (l - x));
  });
}

void f11_div2(gfunc* g)
{
  const double a = g->A;
  f11_eachSample(g, [=](double x) { return a / (x * x + (a - 1)); });
}

// A smooth step from 0 to A over x in [-B A, (1 - B) A].
void f11_cubicClip(gfunc* g)
{
  const double a = g->A, b = g->B, k1 = f11_k(g).K1;
  f11_eachSample(g, [=](double x) {
    const double v = x * k1 + b;
    if (v < 0)
      return 0.0;
    return v > 1 ? a : a * f11_smooth(v);
  });
}

void f11_sphere(gfunc* g)
{
  const double a2 = g->A * g->A;
  f11_eachSample(g, [=](double x) { return std::sqrt(std::max(0.0, a2 - x * x)); });
}

void f11_Apwrx(gfunc* g)
{
  const double a = g->A, b = g->B;
  f11_eachSampleOrUniform(g, [=](double x) { return b * std::pow(a, x); });
}

void f11_offset(gfunc* g)
{
  const double a = g->A;
  f11_eachSampleOrUniform(g, [=](double x) { return x + a; });
}

void f11_iabs(gfunc* g)
{
  const double b = g->B, k1 = f11_k(g).K1;
  f11_eachSample(g, [=](double x) { return std::max(0.0, k1 - std::fabs(x + b)); });
}

// The test against A comes first, so A wins where A > B.
void f11_floor(gfunc* g)
{
  const double a = g->A, b = g->B;
  f11_eachSample(g, [=](double x) {
    if (x < a)
      return a;
    return x > b ? b : x;
  });
}

// |x| with its point rounded into the parabola x^2 / A below |x| = A/2.
void f11_sabs(gfunc* g)
{
  const double a = g->A;
  const F11constants k = f11_k(g);
  f11_eachSample(g, [=](double x) {
    const double m = std::fabs(x), s = m * k.K1;
    return s < 0.5 ? a * s * s : m - k.K2;
  });
}

// A ramp of slope 1/K1 between -8 and 8 (the colour scale's full range)
// around -K2, shifted back by K2; K1 = 0 is a hard step.
void f11_contrast(gfunc* g)
{
  const F11constants k = f11_k(g);
  if (k.K1 == 0) {
    f11_eachSample(g, [=](double x) {
      const double s = x + k.K2;
      const double y = s < 0 ? -8.0 : (s > 0 ? 8.0 : 0.0);
      return y - k.K2;
    });
    return;
  }
  f11_eachSample(g, [=](double x) {
    const double v = (x + k.K2) * k.K3;
    const double y = v < -1 ? -8.0 : (v > 1 ? 8.0 : 8 * v);
    return y - k.K2;
  });
}

// x blended by A toward x^2 / B (0 for x <= 0).
void f11_squarefloor(gfunc* g)
{
  const double a = g->A;
  const F11constants k = f11_k(g);
  f11_eachSample(g, [=](double x) {
    const double q = k.K2 * x;
    const double s = x > 0 ? q * q * k.K1 : 0.0;
    return x + a * (s - x);
  });
}

// x held between the floor A and the roof K2 by quadratic bends of
// half-width C; C = 0 is a hard clamp.
void f11_smoothfloor(gfunc* g)
{
  const F11constants k = f11_k(g);
  const double floorLevel = g->A, roof = k.K2, w = g->C;
  if (w == 0) {
    f11_eachSample(g, [=](double x) {
      if (x < floorLevel)
        return floorLevel;
      return x > roof ? roof : x;
    });
    return;
  }
  f11_eachSample(g, [=](double x) {
    const double low = lowerBend(x, floorLevel, w, k.K3);
    return roof - upperBend(roof - low, w, k.K3);
  });
}

// ---- Precomputations ------------------------------------------------------

void f11_power_precompute(gfunc* g)
{
  if (g->B <= -1)
    g->B = 1;
  f11_k(g).K2 = 1 / std::pow(g->B, g->A);
}

void f11_log_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = std::clamp(g->A, 0.0, 1.0);
  k.K2 = std::log(kLogFloor);
}

void f11_cubicClip_precompute(gfunc* g)
{
  if (g->B <= -1)
    g->B = 0;
  f11_k(g).K1 = 1 / g->A;
}

void f11_iabs_precompute(gfunc* g)
{
  f11_k(g).K1 = g->A * g->A;
}

void f11_sabs_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = 1 / g->A;
  k.K2 = g->A / 4;
}

void f11_contrast_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = 1 - g->A;
  k.K2 = g->B - 4;
  k.K3 = k.K1 == 0 ? 800000.0 : 1 / (8 * k.K1);
}

void f11_squarefloor_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = g->B;
  k.K2 = 1 / g->B;
}

void f11_smoothfloor_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K2 = std::max(g->A + 0.1, g->B);
  k.K3 = g->C == 0 ? 1.0 : 1 / g->C;
}

void f11_log_convert(gfunc* g)
{
  constexpr int16_t kLastOldVersion = 15;
  if (g->owner == nullptr || g->owner->version > kLastOldVersion)
    return;
  g->A /= 16;
  g->B = g->C = 1;
  for (KVparamTriple& key : g->keyframes)
    key.B = key.C = 1;
}

// ---- Handlers -------------------------------------------------------------

int16_t f11_affine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_affine, g, msg, a, b, c);
}

int16_t f11_power_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_power, g, msg, a, b, c);
}

int16_t f11_inverse_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_inverse, g, msg, a, b, c);
}

int16_t f11_abs_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_abs, g, msg, a, b, c);
}

int16_t f11_clip_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_clip, g, msg, a, b, c);
}

int16_t f11_div_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_div, g, msg, a, b, c);
}

int16_t f11_inversegauss_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_inversegauss, g, msg, a, b, c);
}

int16_t f11_log_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_log, g, msg, a, b, c);
}

int16_t f11_div2_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_div2, g, msg, a, b, c);
}

int16_t f11_cubicClip_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_cubicClip, g, msg, a, b, c);
}

int16_t f11_sphere_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_sphere, g, msg, a, b, c);
}

int16_t f11_Apwrx_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_Apwrx, g, msg, a, b, c);
}

int16_t f11_offset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_offset, g, msg, a, b, c);
}

int16_t f11_iabs_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_iabs, g, msg, a, b, c);
}

int16_t f11_floor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_floor, g, msg, a, b, c);
}

int16_t f11_sabs_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_sabs, g, msg, a, b, c);
}

int16_t f11_contrast_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_contrast, g, msg, a, b, c);
}

int16_t f11_squarefloor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_squarefloor, g, msg, a, b, c);
}

int16_t f11_smoothfloor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_smoothfloor, g, msg, a, b, c);
}
