#include "components/f31/f31_lattice.h"

#include <algorithm>
#include <numbers>

#include "foundation/checked.h"
#include "noise/drivers.h"
#include "noise/noises.h"
#include "noise/spots.h"
#include "noise/techno.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kFourPi = 4 * kPi;
constexpr double kSin60 = 0.866025;

// v reduced modulo 4 pi into 0..4 pi, then folded at 2 pi.
double fold(double v)
{
  double w;
  if (v > 0)
    w = v - std::trunc(v / kFourPi) * kFourPi;
  else
    w = kFourPi - (-v - std::trunc(-v / kFourPi) * kFourPi);
  return w > 2 * kPi ? kFourPi - w : w;
}

double spots3d(const KVtables* t, double X, double Y, double Z)
{
  double acc = 0;
  Spots3D(t, X, Y, Z, &acc);
  Spots3D(t, Z + 127.5, Y + 573.5, X + 973.5, &acc);
  const double Q = 0.5 * Y + kSin60 * X;
  const double U = 0.75 * (0.5 * X - kSin60 * Y);
  const double V = 0.75 * (kSin60 * Q - 0.5 * Z);
  const double W = 0.75 * (kSin60 * Z + 0.5 * Q);
  Spots3D(t, U, V, W, &acc);
  Spots3D(t, W + 327.5, V + 553.5, U + 773.5, &acc);
  return acc;
}

// The settings the crystal noise drives its octaves with.
fractalsinfos crystalSettings(const gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  fi.phaseFactor = 0;
  fi.lacunarity = 2.0;
  fi.fade = 0.5;
  return fi;
}

}  // namespace

void cubelines3D(const KVtables* t, double x, double y, double z, double* acc, int16_t level)
{
  kvnum::LatticeSplit sx, sy, sz;
  if (!kvnum::lattice_trunc_split(x, sx) || !kvnum::lattice_trunc_split(y, sy) ||
      !kvnum::lattice_trunc_split(z, sz))
    return;
  if (level < 2 && t->perm[(uint32_t(sx.cell) + 517u) & 1023u] > 512)
    cubelines3D(t, 2 * x, 2 * y, 2 * z, acc, int16_t(level + 1));
  double m = std::max(
      {std::fabs(x - 0.5 - sx.cell), std::fabs(y - 0.5 - sy.cell), std::fabs(z - 0.5 - sz.cell)});
  if (level > 1)
    m = 0.5 - (0.5 - m) / level;
  *acc = std::max(*acc, m);
}

int f31_randomLinesLayers(int octaves)
{
  const int n = octaves / 4;
  return n > 0 ? std::min(n, 20) : 1;
}

// ---- Message 8 ----------------------------------------------------------------

void f31_spots3d_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = 2 * g->A;
  K[2] = g->C / 2;
}

void f31_cristalnoise_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = std::sin(kPi / 6);
  K[1] = 1 / std::cos(kPi / 6);
  K[2] = g->C / 4;
  K[3] = g->A / 512;
}

void f31_rndlines_precompute(gfunc* g)
{
  f31_k(g).K[2] = 10 * g->B;
}

// The layers turn by a quarter turn split into as many steps as layers.
void f31_rlines_precompute(gfunc* g)
{
  const int m = std::clamp(g->doc->fractal.octaves / 4 + 2, 1, 20);
  const double theta = (kPi / 2) / m;
  double* K = f31_k(g).K;
  K[0] = std::cos(theta);
  K[1] = std::sin(theta);
  K[2] = std::sin(kPi / 2 - theta);
  K[3] = std::cos(kPi / 2 - theta);
}

// ---- Computes ------------------------------------------------------------------

void f31_grid3d(gfunc* g)
{
  const double A = g->A, B = g->B, C = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    const double m = std::max({fold(C * x + B), fold(C * y), fold(C * z)}) - kPi;
    return m <= 0 ? 0.0 : m * A / kPi;
  });
}

void f31_spots3d(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double B = g->B, k0 = f31_k(g).K[0], k2 = f31_k(g).K[2];
  f31_eachSample(
      g, [=](double x, double y, double z) { return k0 * spots3d(t, k2 * x - B, k2 * y, k2 * z); });
}

// Drives its octaves with a local copy of the settings (phase factor 0,
// lacunarity 2, fade 0.5): the document's own settings stay as they are for
// the components after it.
void f31_cristalnoise(gfunc* g)
{
  fractalsinfos fi = crystalSettings(g);
  const F31constants k = f31_k(g);
  const double B = g->B, P = f31_density(g);
  f31_eachSample(g, [&](double x, double y, double z) {
    const double Y = k.K[1] * y;
    const double X = x + k.K[0] * Y;
    return fractal3D_procptr(&fi, ftrirandom3D, X, Y, z, k.K[2], P / 2, k.K[3], B, 0.35);
  });
  f31_keepBodyFields(g, fi);
}

void f31_techno3d(gfunc* g)
{
  const int32_t* perm = g->doc->tables.perm;
  const double A = g->A, B = g->B, C = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    return (A / 128) * TechnoNoise1F3D(perm, C * x + B, C * y, C * z, 1);
  });
}

void f31_rndlines(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const double A = g->A, C = g->C, k2 = f31_k(g).K[2], P = f31_density(g);
  f31_eachSample(g, [&](double x, double y, double z) {
    const double r = fractal3D_procptr(&fi, fPerlinNoise3D, x, y, z, C, P, 2.4, k2, 0.4);
    const double v = std::min(std::fabs(r) / 200, 1.0);
    return A * v * v * (3 - 2 * v);
  });
  f31_keepBodyFields(g, fi);
}

void f31_rlines(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const F31constants k = f31_k(g);
  const double A = g->A, B = g->B, s = g->C / 4;
  const int layers = f31_randomLinesLayers(g->doc->fractal.octaves);
  f31_eachSample(g, [&](double x, double y, double z) {
    double X = s * x, Y = s * y, Z = s * z, acc = 0;
    for (int layer = 0; layer <= layers; ++layer) {
      const double X1 = X + B + 77.333333, Y1 = Y + 123.333333, Z1 = Z + 519.333333;
      const double R = k.K[3] * X1 - k.K[2] * Z1;
      Z = k.K[2] * X1 + k.K[3] * Z1;
      X = k.K[0] * R - k.K[1] * Y1;
      Y = k.K[1] * R + k.K[0] * Y1;
      cubelines3D(t, X, Y, Z, &acc, 1);
    }
    const double u = 4 * (1 - 2 * acc);
    const double q = u < 1 ? 1 - u : 0.0;
    return 2 * A * (1 - q * q);
  });
}

// ---- Handlers ------------------------------------------------------------------

int16_t f31_grid3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_grid3d, g, msg, a, b, c);
}
int16_t f31_spots3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_spots3d, g, msg, a, b, c);
}
int16_t f31_cristalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_cristalnoise, g, msg, a, b, c);
}
int16_t f31_techno3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_techno3d, g, msg, a, b, c);
}
int16_t f31_rndlines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_rndlines, g, msg, a, b, c);
}
int16_t f31_rlines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_rlines, g, msg, a, b, c);
}
