#include "components/f32/f32_noise.h"

#include <algorithm>
#include <cmath>

#include "components/common/fractalsettings.h"
#include "noise/cellular.h"
#include "noise/complexsteps.h"
#include "noise/drivers.h"
#include "noise/noises.h"
#include "noise/spots.h"

using f32detail::kPi;

void f32_multibubbles_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = 4 * kPi * g->A;
  K[2] = (2 + g->C) / 4;
}

void f32_multibubbles(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double* K = f32_k(g).K;
  const double k0 = K[0], k2 = K[2], phase = g->B;
  f32_eachSample(g, [=](double x, double y, double z) {
    const double s = k2 * z, f = s + 0.5;
    double a1 = 0, b1 = 0, a2 = 0, b2 = 0;
    jitteredCircleMap(t, f * x, f * y, &a1, &b1, phase);
    jitteredCircleMap(t, f * x, f * y, &a2, &b2, phase + 87.5);
    return F32point{x + k0 * (a1 + a2) + x * (s + 1) / 4, y + k0 * (b1 + b2) + y * (s + 1) / 4};
  });
}

void f32_complexinversion_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = (2.001 + g->A) / 4;
  K[1] = (2.125 + g->B) / 2;
}

void f32_complexinversion(gfunc* g)
{
  const double* K = f32_k(g).K;
  const double k0 = K[0], k1 = K[1];
  f32_eachSample(g, [=](double x, double y, double z) {
    const double d = (x * x + y * y + k1 * z * z) * k0;
    const double w = d == 0 ? 0.0 : 1 / d;
    return F32point{x * w, -y * w};
  });
}

void f32_multiinvert(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, freq = g->B, c = g->C;
  f32_eachSample(g, [=](double x, double y, double z) {
    double u = 0, v = 0;
    jitteredCircleInverts(t, x + c, y, &u, &v, 3.0, freq, a * z + a);
    return F32point{u - c, v};
  });
}

void f32_strangeweb_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = g->A / kPi;
  K[1] = g->B / kPi;
  K[2] = 0.25 * g->C;
}

void f32_strangeweb(gfunc* g)
{
  const double* K = f32_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2];
  f32_eachSample(g, [=](double x, double y, double z) {
    double re = x / 2, im = y / 2;
    const double cr = k2 * z + k0;
    CStrangeWeb(&re, &im, cr, k1);
    CStrangeWeb(&re, &im, cr, k1);
    return F32point{re, im};
  });
}

void f32_random_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = g->A / 256;
  K[1] = (2.0625 + g->B) / 8;
}

void f32_random(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double* K = f32_k(g).K;
  const double k0 = K[0], k1 = K[1], c = g->C;
  f32_eachSample(g, [=](double x, double y, double z) {
    double a = 0, b = 0;
    frandom3DVector3D(t, k1 * x + c, k1 * z, k1 * y, &a, &b, nullptr, k0);  // y and z exchanged
    return F32point{x + a, y + b};
  });
}

void f32_fract_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = g->A / 256;
  K[1] = g->B / 2;
}

void f32_fract(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const double* K = f32_k(g).K;
  const double k0 = K[0], k1 = K[1], c = g->C, limit = g->doc->yPixelScale;
  f32_eachSample(g, [&](double x, double y, double z) {
    double a = 0, b = 0;
    fractal3DVector_procptr(&fi, frandom3DVector3D, x, y, z, k1, limit, k0, c, 0.5, &a, &b,
                            nullptr);
    return F32point{x + a, y + b};
  });
}

void f32_zfacetspace_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[2] = std::max(0.25 * g->C, 1.25e-6);
  K[0] = 2 * kPi * g->A / K[2];
}

void f32_zfacetspace(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double* K = f32_k(g).K;
  const double k0 = K[0], k2 = K[2], delta = g->B;
  f32_eachSample(g, [=](double x, double y, double z) {
    const double s = (0.25 * z + 1) * k2;
    double a = 0, b = 0;
    Jitter_FacetSpace(t, x * s, y * s, &a, &b, delta);
    return F32point{k0 * a, k0 * b};
  });
}

void f32_fractSpace_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = g->A / 250;
  K[2] = 0.5 * g->C;
  K[3] = 0.25 * g->A * 0.10999999999999999 + 0.4;
}

void f32_fractSpace(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const double* K = f32_k(g).K;
  const double k0 = K[0], k2 = K[2], k3 = K[3], phase = g->B, limit = g->doc->yPixelScale;
  // The fractal vector itself, not a displaced point.
  f32_eachSample(g, [&](double x, double y, double z) {
    double a = 0, b = 0;
    fractal3DVector_procptr(&fi, frandom3DVector3D, x, y, z, k2, limit, k0, phase, k3, &a, &b,
                            nullptr);
    return F32point{a, b};
  });
}

void f32_multiperlin_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[2] = std::max(0.125 * g->C, 1e-5);
  K[0] = g->A / K[2];
  K[1] = K[2] * g->B;
}

void f32_multiperlin(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const double* K = f32_k(g).K;
  const double k0 = K[0], k2 = K[2], limit = std::min(K[1], g->doc->yPixelScale);
  f32_eachSample(g, [&](double x, double y, double z) {
    double a = 0, b = 0;
    fractal3DVector_procptr(&fi, fPerlinNoise3DVector3D, x, y, z, k2, limit, k0, 0, 0.5, &a, &b,
                            nullptr);
    return F32point{x + a, y + b};
  });
}

int16_t f32_multibubbles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_multibubbles, g, msg, a, b, c);
}

int16_t f32_complexinvert_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_complexinversion, g, msg, a, b, c);
}

int16_t f32_multiinvert_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_multiinvert, g, msg, a, b, c);
}

int16_t f32_strangeweb_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_strangeweb, g, msg, a, b, c);
}

int16_t f32_random_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_random, g, msg, a, b, c);
}

int16_t f32_fract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_fract, g, msg, a, b, c);
}

int16_t f32_zfacetspace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_zfacetspace, g, msg, a, b, c);
}

int16_t f32_fractSpace_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_fractSpace, g, msg, a, b, c);
}

int16_t f32_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_multiperlin, g, msg, a, b, c);
}
