#include "components/f31/f31_perlin.h"

#include <algorithm>
#include <numbers>

#include "noise/drivers.h"
#include "noise/noises.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Three gradient noises, each at the previous point turned a little, shifted
// and (for the third) shrunk, so that their lattices do not line up.
double random3d(const KVtables* t, double X, double Y, double Z)
{
  const double g1 = fPerlinNoise3D(t, X, Y, Z);
  const double X2 = 0.95 * X + 0.1 * Y - 72.64;
  const double Y2 = 0.95 * Y - 0.1 * X + 337.35;
  const double Z2 = 0.95 * Z + 0.07 * X + 0.5;
  const double g2 = fPerlinNoise3D(t, X2, Y2, Z2);
  const double X3 = 0.47 * X2 + 0.05 * Y2;
  const double Y3 = 0.47 * Y2 - 0.05 * X2;
  const double Z3 = 0.47 * Z2 + 0.07 * X2;
  const double g3 = fPerlinNoise3D(t, X3, Y3, Z3);
  return (g1 + 370) + (g2 + 370) + 2 * (g3 + 370);
}

}  // namespace

double fPerlinNoise3DStucco(const KVtables* t, double x, double y, double z)
{
  const double v = fPerlinNoise3D(t, x, y, z) + 80;
  return v < 0 ? 0.0 : (0.0025 * v) * (0.0025 * v);
}

// ---- Message 8 ----------------------------------------------------------------

void f31_random3d_precompute(gfunc* g)
{
  f31_k(g).K[0] = g->A / 400;
}

void f31_PerlinNoise_precompute(gfunc* g)
{
  f31_k(g).K[0] = g->A / 32;
}

void f31_fractalstucco_precompute(gfunc* g)
{
  f31_k(g).K[0] = 4 * g->A;
}

void f31_fractalnoise_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A / 48;
  K[1] = g->B;
  K[2] = g->C / 8;
}

void f31_multiperlin_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A / 128;
  K[2] = g->C / 4;
  K[1] = K[2] * g->B;
}

void f31_fractalLines_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A / 256;
  K[1] = g->B;
  K[2] = 4 * g->C;
  K[3] = 0.33 * K[2];
}

// ---- Computes ------------------------------------------------------------------

void f31_random3d(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double b = g->B, c = g->C, k0 = f31_k(g).K[0];
  f31_eachSample(g, [=](double x, double y, double z) {
    return random3d(t, c * x + b / 2, c * y, c * z + b) * k0;
  });
}

void f31_PerlinNoise(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double b = g->B, c = g->C, k0 = f31_k(g).K[0];
  f31_eachSample(g, [=](double x, double y, double z) {
    return k0 * fPerlinNoise3D(t, c * x + b, c * y, c * z + b);
  });
}

void f31_fractalstucco(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const double b = g->B, c = g->C, k0 = f31_k(g).K[0], P = f31_density(g);
  f31_eachSample(g, [&](double x, double y, double z) {
    return fractal3D_procptr(&fi, fPerlinNoise3DStucco, x, y, z, c, P, k0, b, 0.45);
  });
  f31_keepBodyFields(g, fi);
}

void f31_fractalnoise(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const F31constants k = f31_k(g);
  const double P = f31_density(g);
  f31_eachSample(g, [&](double x, double y, double z) {
    return fractal3D_procptr(&fi, fPerlinNoise3D, x, y, z, k.K[2], P, k.K[0], k.K[1], 0.5);
  });
  f31_keepBodyFields(g, fi);
}

// The octaves stop at B times the base frequency or at the pixel density,
// whichever is lower, but never below the base frequency.
void f31_multiperlin(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const F31constants k = f31_k(g);
  const double fmax = std::max(std::min(k.K[1], f31_density(g)), k.K[2]);
  f31_eachSample(g, [&](double x, double y, double z) {
    return fractal3D_procptr(&fi, fPerlinNoise3D, x, y, z, k.K[2], fmax, k.K[0], 0, 0.5);
  });
  f31_keepBodyFields(g, fi);
}

// A 2D line pattern of x and y, lowered by the altitude z.
void f31_fractalLines(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const KVtables* t = fi.tables;
  const F31constants k = f31_k(g);
  const double k0 = k.K[0], k1 = k.K[1], k2 = k.K[2], k3 = k.K[3];
  const double P = f31_density(g);
  f31_eachSample(g, [&](double x, double y, double z) {
    const double f = fractal2D_procptr(&fi, frandom2D, x, y, 4 * k2, P / 2, 0.4, -k1, 0.5);
    const double X = k2 * x, Y = k2 * y;
    const double r1 = frandom2D(t, 2 * X - k3, 2 * Y);
    const double p1 = fPerlinNoise2D(t, X - 2 * k3, Y);
    const double r2 = frandom2D(t, (X - k1) * 0.5 + 0.33, 0.501 * Y + 0.73);
    const double p2 = fPerlinNoise2D(t, 0.252 * X + 0.15, (k3 + Y) * 0.247 - 0.25);
    const double s = 0.6 * r1 + p1 + 2 * r2 + 4 * p2 - 1335 + f;
    const double v = kPi - z - std::fabs(s) * k0;
    return v < 0 ? 0.0 : 2 * v;
  });
  f31_keepBodyFields(g, fi);
}

// ---- Handlers ------------------------------------------------------------------

int16_t f31_random3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_random3d, g, msg, a, b, c);
}
int16_t f31_PerlinNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_PerlinNoise, g, msg, a, b, c);
}
int16_t f31_fractalstucco_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_fractalstucco, g, msg, a, b, c);
}
int16_t f31_fractalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_fractalnoise, g, msg, a, b, c);
}
int16_t f31_multiperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_multiperlin, g, msg, a, b, c);
}
int16_t f31_fractalLines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_fractalLines, g, msg, a, b, c);
}
