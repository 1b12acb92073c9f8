#include "components/f23/f23_noisecolors.h"

#include <algorithm>
#include <cmath>

#include "components/common/fractalsettings.h"
#include "components/f23/f23_pvt.h"
#include "noise/cellular.h"
#include "noise/drivers.h"
#include "noise/noises.h"
#include "noise/techno.h"

namespace {

// Color Bubbles: the bubble's colour pulled toward its grey by the
// saturation A, darkened toward 4/255 by the shade B far from the centre.
F23triple bubble(const KVtables* t, double a, double b, double f, double x, double y)
{
  constexpr double kDim = 0.01568627451;  // 4 / 255
  double d = 1.0;
  double rgb[3] = {0, 0, 0};
  ColorBubble(t, f * x, f * y, &d, rgb);
  const double m = (rgb[0] + rgb[1] + rgb[2]) * 0.33;
  const double light = ((1 - d) * 0.018 - kDim) * b + kDim;
  return {((rgb[0] - m) * a + m) * light, ((rgb[1] - m) * a + m) * light,
          ((rgb[2] - m) * a + m) * light};
}

// Color Pyramids: three levels of technical cells, each at half the
// frequency of the one before and shifted; the accumulator's channels come
// out in reverse order.
F23triple pyramids(const KVtables* t, double k, double b, double x, double y)
{
  constexpr double kShiftY = 517.5;
  double acc[3] = {0, 0, 0};
  TechnoNoise1FColor(t, x, y, acc, 1);
  for (int level = 1; level < 3; ++level) {
    x = x / 2 + b;
    y = y / 2 + kShiftY;
    TechnoNoise1FColor(t, x, y, acc, 1);
  }
  return {k * acc[2], k * acc[1], k * acc[0]};
}

// The random fractal: a vector noise at (X, Y), then `extra` octaves, each
// at half the coordinates (shifted) added to half the sum so far; the
// channels are then spread from their mean by the amplitude A.
F23triple randomFractal(const KVtables* t, double a, double b, double f, int extra, double x,
                        double y)
{
  constexpr double kFactor = 1.0 / 256;
  constexpr double kShiftX = 239.75, kShiftY = 183.75;
  constexpr double kLift = 3.6328125;  // centres the sum on the colour scale
  double X = f * x + b, Y = f * y;
  double s[3];
  frandom2DVector3D(t, X, Y, &s[0], &s[1], &s[2], kFactor);
  for (int k = 0; k < extra; ++k) {
    X = X / 2 + b + kShiftX;
    Y = Y / 2 + kShiftY;
    double o[3];
    frandom2DVector3D(t, X, Y, &o[0], &o[1], &o[2], kFactor);
    for (int c = 0; c < 3; ++c)
      s[c] = s[c] / 2 + o[c];
  }
  for (double& v : s)
    v += kLift;
  const double m = (s[0] + s[1] + s[2]) * 0.33333;
  return {(s[0] - m) * a + m, (s[1] - m) * a + m, (s[2] - m) * a + m};
}

}  // namespace

int f23_fractExtraOctaves(int octaveCount)
{
  return std::clamp(octaveCount / 4, 0, kF23fractMaxExtraOctaves);
}

// ---- Message 8 ------------------------------------------------------------------

void f23_bubbles_precompute(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, 1.0);
}

// K = start frequency, amplitude, top frequency.
void f23_multiperlin_precompute(gfunc* g)
{
  constexpr double kMinFrequency = 1e-5;
  F23constants& k = f23_k(g);
  const double f0 = std::max(g->C / 4, kMinFrequency);
  k.K[0] = f0;
  k.K[1] = 0.5 * g->A / f0;
  k.K[2] = f0 * g->B;
}

// K = start frequency, amplitude, offset q; q stays finite for a vanishing
// amplitude.
void f23_multifractal_precompute(gfunc* g)
{
  constexpr double kFlatOffset = 119999.99999999999;
  F23constants& k = f23_k(g);
  const double a = 0.005 * g->A;
  k.K[0] = g->C / 4;
  k.K[1] = a;
  k.K[2] = 512 * a < 1e-5 ? kFlatOffset : 1.2 / (512 * a);
}

// ---- Compute functions ----------------------------------------------------------

void f23_bubbles(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, b = g->B, f = g->C / 4;
  f23_eachSample(g, F23mask::x, [&](double x, double y) { return bubble(t, a, b, f, x, y); });
}

void f23_ColorT6(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double k = g->A / 128, b = g->B, c = g->C;
  f23_eachSample(g, F23mask::x,
                 [&](double x, double y) { return pyramids(t, k, b, c * x + b, c * y); });
}

void f23_fract(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const int extra = f23_fractExtraOctaves(g->doc->fractal.octaves);
  const double a = g->A, b = g->B, f = std::ldexp(g->C / 2, extra);
  f23_eachSample(g, F23mask::x,
                 [&](double x, double y) { return randomFractal(t, a, b, f, extra, x, y); });
}

void f23_multiperlin(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const F23constants k = f23_k(g);
  const double f0 = k.K[0], amp = k.K[1], fmax = std::min(k.K[2], g->doc->yPixelScale);
  f23_eachSample(g, F23mask::none, [&](double x, double y) {
    double s[3] = {0, 0, 0};
    fractal3DVector_procptr(&fi, fPerlinNoise3DVector3D, x, y, 0, f0, fmax, amp, 0, 0.5, &s[0],
                            &s[1], &s[2]);
    return F23triple{s[0] + 4, s[1] + 4, s[2] + 4};
  });
}

void f23_multifractal(gfunc* g)
{
  constexpr double kGain = 0.75, kMix = 0.75;
  fractalsinfos fi = KV_fractalSettings(g);
  const F23constants k = f23_k(g);
  const double f0 = k.K[0], amp = k.K[1], q = k.K[2], phase = g->B;
  const double fmax = g->doc->yPixelScale;
  f23_eachSample(g, F23mask::none, [&](double x, double y) {
    double s[3] = {0, 0, 0};
    Multifractal3DVector_procptr(&fi, frandom3DVector3D, x, y, 0, f0, fmax, amp, phase, kGain, kMix,
                                 q, s);
    return F23triple{s[0] + 4, s[1] + 4, s[2] + 4};
  });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f23_bubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_bubbles, g, msg, a, b, c);
}

int16_t f23_ColorT6_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_ColorT6, g, msg, a, b, c);
}

int16_t f23_fract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_fract, g, msg, a, b, c);
}

int16_t f23_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_multiperlin, g, msg, a, b, c);
}

int16_t f23_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_multifractal, g, msg, a, b, c);
}
