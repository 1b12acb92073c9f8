#include "components/f33/f33_displace.h"

#include <algorithm>
#include <cmath>

#include "components/common/fractalsettings.h"
#include "components/f33/f33_pvt.h"
#include "noise/drivers.h"
#include "noise/noises.h"

namespace {

F33triple displaced(double x, double y, double z, const double d[3])
{
  return {x + d[0], y + d[1], z + d[2]};
}

}  // namespace

// ---- Message 8 ------------------------------------------------------------------

void f33_fract_precompute(gfunc* g)
{
  double* K = f33_k(g).K;
  K[0] = g->A / 1000;
  K[2] = g->C / 2;
}

void f33_turbulence_precompute(gfunc* g)
{
  double* K = f33_k(g).K;
  K[0] = g->A / 2;
  K[1] = g->B / 8;
  K[2] = g->C / 2;
  const double k3 = g->A / 4;
  K[3] = k3 >= 0 ? std::min(k3, 1.0) : 0.0;
}

void f33_PerlinVecNoise_precompute(gfunc* g)
{
  double* K = f33_k(g).K;
  K[0] = 4 * g->A;
  K[1] = g->B / 8;
  K[2] = g->C / 4;
}

void f33_multiperlin_precompute(gfunc* g)
{
  constexpr double kMinFrequency = 0.00001;
  double* K = f33_k(g).K;
  K[2] = std::max(kMinFrequency, g->C / 4);
  K[0] = g->A / (2 * K[2]);
  K[1] = K[2] * g->B;
}

// ---- Compute functions ----------------------------------------------------------

void f33_fract(gfunc* g)
{
  constexpr double kGain = 0.5;
  fractalsinfos fi = KV_fractalSettings(g);
  const double* K = f33_k(g).K;
  const double k0 = K[0], k2 = K[2], phase = g->B, rho = g->doc->yPixelScale;
  f33_eachSample(g, [&](double x, double y, double z) {
    double d[3] = {0, 0, 0};
    fractal3DVector_procptr(&fi, frandom3DVector3D, x, y, z, k2, rho, k0, phase, kGain, &d[0],
                            &d[1], &d[2]);
    return displaced(x, y, z, d);
  });
}

void f33_turbulence(gfunc* g)
{
  constexpr double kBaseGain = 0.35, kGainPerK3 = 0.15000000000000002;
  fractalsinfos fi = KV_fractalSettings(g);
  const double* K = f33_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], gain = kBaseGain + kGainPerK3 * K[3];
  // The phase follows the animation time, so the turbulence moves with it.
  const double phase = 2 * g->doc->time, fmax = g->doc->yPixelScale / 2;
  f33_eachSample(g, [&](double x, double y, double z) {
    double d[3] = {0, 0, 0};
    turbulence3DVector_procptr(&fi, fPerlinNoise3DVector3D, x, y, z, k2, fmax, k0, phase, gain, k1,
                               d);
    return displaced(x, y, z, d);
  });
}

void f33_PerlinVecNoise(gfunc* g)
{
  const KVtables* t = f33_tables(g);
  const double* K = f33_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2];
  f33_eachSample(g, [=](double x, double y, double z) {
    double q[3] = {0, 0, 0};
    fPerlinNoise3DVector3D(t, k2 * x + k1, k2 * y, k2 * z, &q[0], &q[1], &q[2], k0);
    return F33triple{std::fabs(q[0]), std::fabs(q[1]), std::fabs(q[2])};
  });
}

void f33_multiperlin(gfunc* g)
{
  constexpr double kGain = 0.5;
  fractalsinfos fi = KV_fractalSettings(g);
  const double* K = f33_k(g).K;
  // B counts octaves above the start frequency, bounded by the pixel density.
  const double k0 = K[0], k2 = K[2], fmax = std::min(K[1], g->doc->yPixelScale);
  f33_eachSample(g, [&](double x, double y, double z) {
    double d[3] = {0, 0, 0};
    fractal3DVector_procptr(&fi, fPerlinNoise3DVector3D, x, y, z, k2, fmax, k0, 0.0, kGain, &d[0],
                            &d[1], &d[2]);
    return displaced(x, y, z, d);
  });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f33_fract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_fract, g, msg, a, b, c);
}

int16_t f33_turbulence_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_turbulence, g, msg, a, b, c);
}

int16_t f33_PerlinVecNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_PerlinVecNoise, g, msg, a, b, c);
}

int16_t f33_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_multiperlin, g, msg, a, b, c);
}
