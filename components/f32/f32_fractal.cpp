#include "components/f32/f32_fractal.h"

#include <algorithm>
#include <cmath>

#include "components/f32/f32_fractbodies.h"
#include "noise/drivers.h"
#include "noise/multifractal.h"
#include "noise/noises.h"

namespace {

// The document's fractal settings, which the bodies use for their
// parameters (each render task has its own document copy).
fractalsinfos* fractalRecord(gfunc* g)
{
  fractalsinfos* F = &g->doc->fractal;
  F->tables = &g->doc->tables;
  return F;
}

// The pixel density: samples per unit of the view.
double pixelDensity(const gfunc* g)
{
  return g->doc->yPixelScale;
}

// x' = x + k0 d0, y' = y + k0 d1 for the record the driver fills with
// `body` at (x, y, z), roughness B as w.
void driverDisplace(gfunc* g, fractalsinfos* F, FractalOctaveProcRecord2 body, double fmax,
                    double gain)
{
  const double* K = f32_k(g).K;
  const double k0 = K[0], k2 = K[2], w = g->B;
  f32_eachSample(g, [&](double x, double y, double z) {
    dvector2d d{};
    MFPV2d_procptr(F, body, x, y, z, 0, w, k2, fmax, gain, &d);
    return F32point{x + k0 * d.x, y + k0 * d.y};
  });
}

// The vector cascade of `basis`: x' = x + o0, y' = y + o1.
void cascadeDisplace(gfunc* g, NoiseBasisProcVector3D basis, double gain, double mix)
{
  fractalsinfos* F = fractalRecord(g);
  const double* K = f32_k(g).K;
  const double amp = K[0], k2 = K[2], m = K[3], R = pixelDensity(g);
  f32_eachSample(g, [&](double x, double y, double z) {
    double o[3] = {0, 0, 0};
    Multifractal3DVector_procptr(F, basis, x, y, z, k2, R, amp, 0, gain, mix, m, o);
    return F32point{x + o[0], y + o[1]};
  });
}

}  // namespace

void f32_multifractal_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = g->A / std::max(g->C, 1e-5);
  K[2] = g->C / 4;
  K[3] = K[0] < 1e-5 ? 119999.99999999999 : 1.2 / K[0];
}

void f32_multifractal(gfunc* g)
{
  cascadeDisplace(g, f32mfractal, 0.5, 1 - g->B);
}

void f32_doubledAmount_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = 2 * g->A / std::max(g->C, 1e-5);
  K[2] = g->C / 4;
}

void f32_silexfractdis(gfunc* g)
{
  const double k2 = f32_k(g).K[2];
  const double fmax = 2 * k2 + (0.25 * pixelDensity(g) - 2 * k2) * g->B;
  driverDisplace(g, fractalRecord(g), fpSilexdisplace, fmax, 0.5);
}

void f32_futur6(gfunc* g)
{
  driverDisplace(g, fractalRecord(g), fpBridgeddisplace, 0.5 * pixelDensity(g), 0.55);
}

void f32_futur7(gfunc* g)
{
  driverDisplace(g, fractalRecord(g), fpSierradisplace, 0.5 * pixelDensity(g), 0.55);
}

void f32_CliffChaos_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = g->A / std::max(g->C, 1e-5);
  K[2] = g->C / 4;
}

void f32_CliffChaos(gfunc* g)
{
  driverDisplace(g, fractalRecord(g), fpCliffChaos, 0.4 * pixelDensity(g), 0.5);
}

void f32_zmultifractal(gfunc* g)
{
  fractalsinfos* F = fractalRecord(g);
  const double* K = f32_k(g).K;
  const double k0 = K[0], k2 = K[2], w = g->B, fmax = 0.5 * pixelDensity(g);
  // z is the phase of the noise and, held to 0..1, the share of the move.
  f32_eachSample(g, [&](double x, double y, double z) {
    dvector2d d{};
    MFPV2d_procptr(F, fpZMFdisplace, x, y, 0, z, w, k2, fmax, 0.5, &d);
    const double a = k0 * std::clamp(z, 0.0, 1.0);
    return F32point{x + a * d.x, y + a * d.y};
  });
}

void f32_zmultiperlin_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[2] = std::max(g->C / 8, 1e-5);
  K[0] = (g->A / 4) / K[2];
  K[1] = K[2] * g->B;
}

void f32_zmultiperlin(gfunc* g)
{
  fractalsinfos* F = fractalRecord(g);
  const double* K = f32_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], R = pixelDensity(g);
  const double T = 0.5 * g->doc->time;
  f32_eachSample(g, [&](double x, double y, double z) {
    const double lift = std::max(z, 0.0);
    const double a = k0 * lift;
    if (!(a > 0))
      return F32point{x, y};  // no noise where z gives no amount
    const double fmax = std::min(k1 * std::exp2(lift), R);
    dvector2d d{};
    MFPV2d_procptr(F, fpZmultiperlin, x + T, y, T, z / 8, 0, k2, fmax, 0.5, &d);
    return F32point{x + a * d.x, y + a * d.y};
  });
}

void f32_ridgedfractal_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = g->A;
  K[1] = g->B / 4;
  K[2] = g->C / 4;
  K[3] = g->A < 1e-5 ? 99999.99999999999 : 1 / g->A;
}

void f32_ridgedfractal(gfunc* g)
{
  cascadeDisplace(g, fp3dRidged, f32_k(g).K[1] + 0.35, 1 - 0.4 * g->B);
}

void f32_fractBubbles_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = 16 * g->A;
  K[2] = g->C / 4;
}

void f32_fractBubbles(gfunc* g)
{
  // The bubbles run without the per-octave rotation, on a copy of the
  // settings: the document's record keeps its rotation for later members.
  fractalsinfos F = *fractalRecord(g);
  F.rotSin = 0;
  const double* K = f32_k(g).K;
  const double k0 = K[0], k2 = K[2];
  const double fmax = std::min(0.25 * pixelDensity(g), (15 * g->B + 1) * k2);
  f32_eachSample(g, [&](double x, double y, double z) {
    dvector2d d{};
    MFPV2d_procptr(&F, fp3dBubbles, x, y, z, 0, 0.75, k2, fmax, 0.75, &d);
    return F32point{k0 * d.x, 0.25 * k0 * d.y};
  });
}

void f32_oceanfoam_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = g->A / 256;
  K[1] = g->B;
  K[2] = g->C;
  K[3] = 0.4 * g->C;
}

void f32_oceanfoam(gfunc* g)
{
  fractalsinfos* F = fractalRecord(g);
  const KVtables* t = &g->doc->tables;
  const double* K = f32_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], k3 = K[3], R = pixelDensity(g);
  // The swell fades out as its frequency nears the band limit.
  double swellFade = 1;
  if (k2 > 0.25 * R) {
    const double e = (k2 - 0.25 * R) / (k2 * 0.5238095238095238);
    swellFade = e >= 1 ? 0.0 : 1 - e;
  }
  f32_eachSample(g, [&](double x, double y, double z) {
    double v = k0 * fPerlinNoise3D(t, k3 * x + 3.5 * z, (0.45 * y + 0.6 * x) * k3 + 3.3 * z, z);
    v = swellFade == 0 ? 0.0 : v * swellFade;
    dvector2d d{};
    MFPV2d_procptr(F, fpoceanwaveletsfoam, x, y, 0.67 * z, 0, 0.56, k2, 0.25 * R, 0.4, &d);
    const double h = k1 * d.x + v;
    return F32point{h, h - 12 * d.y};
  });
}

int16_t f32_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_multifractal, g, msg, a, b, c);
}

int16_t f32_silexfractdis_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_silexfractdis, g, msg, a, b, c);
}

int16_t f32_CliffChaos_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_CliffChaos, g, msg, a, b, c);
}

int16_t f32_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_ridgedfractal, g, msg, a, b, c);
}

int16_t f32_fractBubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_fractBubbles, g, msg, a, b, c);
}

int16_t f32_oceanfoam_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_oceanfoam, g, msg, a, b, c);
}

int16_t f32_futur6_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_futur6, g, msg, a, b, c);
}

int16_t f32_zmultifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zmultifractal, g, msg, a, b, c);
}

int16_t f32_futur7_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_futur7, g, msg, a, b, c);
}

int16_t f32_zmultiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zmultiperlin, g, msg, a, b, c);
}
