#include "components/f31/f31_multifractal.h"

#include <algorithm>
#include <numbers>

#include "foundation/checked.h"
#include "noise/drivers.h"
#include "noise/lattice.h"
#include "noise/multifractal.h"
#include "noise/noises.h"

namespace {

constexpr double kPi = std::numbers::pi;

const KVtables* tablesOf(const fractalsinfos* fi)
{
  return fi->tables;
}

// r, stored as the next octave's state r / 128.
double carry(double r, double* state)
{
  *state = r / 128;
  return r;
}

// A unit noise at the swapped point (z, y, x), the weight of the 3D members.
double swappedUnit(const KVtables* t, double s, double x, double y, double z)
{
  return fUnitPerlinNoise3D(t, s * z, s * y, s * x);
}

// Shared frame of the 3D rock members: weight w from the point, body and
// band limit fixed per member.
template <class Weight>
void rockField(gfunc* g, FractalOctaveProc3D body, double fmaxScale, Weight weight)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const KVtables* t = fi.tables;
  const double B = g->B, k0 = f31_k(g).K[0], k2 = f31_k(g).K[2];
  const double fmax = f31_density(g) * fmaxScale;
  f31_eachSample(g, [&](double x, double y, double z) {
    const double w = weight(t, k2, x, y, z);
    return Multifractal3Dparam_procptr(&fi, body, x, y, z, B, w, k2, fmax, k0, 0.5);
  });
  f31_keepBodyFields(g, fi);
}

}  // namespace

// ---- Bodies ----------------------------------------------------------------------

double mf(fractalsinfos* fi, double x, double y, double z, double w, double* state, short j)
{
  const double g = fPerlinNoise3D(tablesOf(fi), x, y, z);
  if (j == 0)
    return g + w + 1;
  double s = *state;
  if (j == 1)
    s = 0.5 * s + 0.5;
  if (w > 0)
    s = s + w * (0.4 * s + 0.6 - s);
  return carry(s * g, state);
}

double mfboulders(fractalsinfos* fi, double x, double y, double z, double w, double* state, short j)
{
  const double g = fPerlinNoise3D(tablesOf(fi), x, y, z);
  if (j == 0)
    return g + w + 1;
  double a = std::fabs(g / 64);
  if (a < 0.5)
    a = a * a + 0.25;
  const double rock = (a - 0.25) * 75;
  double q = f31_S(*state);
  const double e = 0.4 * j + 0.25;
  if (e < 1)
    q = (q - 1) * e + 1;
  return carry((0.9 * q + 0.1) * rock, state);
}

double lunarrock(fractalsinfos* fi, double x, double y, double z, double w, double* state, short j)
{
  if (j == 0)
    return fPerlinNoise3D(tablesOf(fi), x, y, z) + w + 1;
  const double u = fUnitPerlinNoise3D(tablesOf(fi), x, y, z);
  double t;
  if (u > 0.125) {
    t = 1 - u;
  } else {
    const double d = 2 * (0.125 - u);
    t = d < 0.5 ? 1 - (0.5 * d * d + u) : 1.0;
  }
  const double crater = (1 - t * t) * 512;
  double q = f31_S(*state);
  if (j == 1)
    q = (q - 1) * 0.5 + 1;
  if (w > 0)
    q = q + (0.5 * q + 0.4 - q) * w;
  return carry(q * crater, state);
}

double mfrivers(fractalsinfos* fi, double x, double y, double z, double w, double* state, short j)
{
  const double g = fPerlinNoise3D(tablesOf(fi), x, y, z);
  const double v = (std::fabs(g) / 32 - 0.25) * 32;
  double r;
  if (v < 80) {
    r = kPi * v;
  } else {
    const double e = (80 - v) / 80;
    r = e > -0.5 ? kPi * (v - 80 * e * e) : 314.1592653589793;
  }
  if (w > 0)
    r = r + w * (v - r);
  if (j < 1)
    return r;
  return carry(r * f31_S(*state), state);
}

double bubblerock(fractalsinfos* fi, double x, double y, double z, double, double* state, short j)
{
  const double u = std::fabs(fUnitPerlinNoise3D(tablesOf(fi), x, y, z)) * 2.7 - 0.4;
  const double q = f31_S(u);
  if (j == 0) {
    *state = 1 - q;
    return 512 * q;
  }
  const double s = *state;
  *state = (1.06 - q) * s;
  return 512 * q * s;
}

double ridgedmountains(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                       short j)
{
  const double h = 0.13 * w + 0.85;
  const double r = h - std::fabs(fUnitPerlinNoise3D(tablesOf(fi), x, y, z));
  double v;
  if (h - 0.015 > r) {
    v = r;
  } else {
    const double e = (h - 0.015 - r) / 0.03;
    v = e > -0.5 ? r - 0.03 * e * e : h - 0.0075;
  }
  if (v < 0)
    return 0;
  const double q = (v / h) * (v / h);
  if (j == 0) {
    *state = q;
    return 512 * q;
  }
  const double t = ((1 - *state) * w + *state) * q;
  *state = t;
  return 512 * t;
}

double fsparceMF(fractalsinfos* fi, double x, double y, double w, double* state, short j)
{
  double v = std::fabs(fUnitPerlinNoise2D(tablesOf(fi), x, y));
  if (v < 0.5)
    v = v * v + 0.25;
  if (j == 0) {
    const double t = v + w;
    double r;
    if (t > -0.425) {
      r = 0.7 * t;
    } else {
      const double d = (-0.425 - t) / 0.3;
      r = d < 0.5 ? 0.7 * (0.3 * d * d + t) : -0.35;
    }
    r = r + 0.3 * t;
    *state = r;
    return 64 * r;
  }
  if (j <= 15)
    v = v + (16 - j) * 0.0625 * w;
  if (v <= -0.425) {
    const double d = (-0.425 - v) / 0.3;
    v = d < 0.5 ? v + 0.3 * d * d : -0.5;
  }
  const double p = *state;
  *state = v;
  const double m = p - 0.005;
  if (m > v)
    return 64 * v;
  const double e = (m - v) / 0.02;
  return e > -0.5 ? 64 * (v - 0.02 * e * e) : 64 * p;
}

double fSRidgedB(const KVtables* t, double x, double y)
{
  kvnum::LatticeSplit sx, sy;
  if (!kvnum::lattice_trunc_split(x, sx) || !kvnum::lattice_trunc_split(y, sy))
    return 0;
  const double fx = sx.frac, fy = sy.frac;
  const auto column = [&](int32_t ix, double dx, double& low, double& high) {
    const uint32_t h = kvnoise::hashPlane2D(t, ix, sy.cell);
    const double* e = t->planeVec3D[h];
    const double* e1 = t->planeVec3D[h + 1];
    low = dx * e[0] + fy * e[1] + e[2];
    high = dx * e1[0] + (fy - 1) * e1[1] + e1[2];
  };
  double a = 0, b = 0, c = 0, d = 0;
  column(sx.cell, fx, a, b);
  column(kvnoise::nextCell(sx.cell), fx - 1, c, d);
  const double wx = kvnoise::smooth2(fx), wy = kvnoise::smooth2(fy);
  const double ab = a + wx * (c - a);
  const double cd = b + wx * (d - b);
  const double n = 32 * (ab + wy * (cd - ab));
  double m = std::fabs(n);
  if (m < 0.5)
    m = m * m + 0.25;
  const double r = 16 - m;
  if (r > 0.25)
    return 16 * r;
  const double e = 0.25 - r;
  return e < 0.5 ? 16 * (e * e + r) : 0.0;
}

// ---- Message 8 ----------------------------------------------------------------

void f31_rock_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A / 64;
  K[2] = g->C / 8;
}

void f31_ridgedfractal_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A / 128;
  K[2] = g->C / 4;
}

void f31_z_multifractal_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A / 32;
  K[2] = g->C / 4;
}

void f31_z_ridgedfractal_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A / 64;
  K[2] = g->C / 8;
  K[3] = 1.0 / 256;
}

// ---- Computes ------------------------------------------------------------------

void f31_multifractal(gfunc* g)
{
  rockField(g, mf, 1.0, [](const KVtables* t, double k2, double x, double y, double z) {
    return f31_S(swappedUnit(t, k2 / 2, x, y, z) + 0.5);
  });
}

void f31_MultiCubicFract(gfunc* g)
{
  rockField(g, mfboulders, 1.0, [](const KVtables* t, double k2, double x, double y, double z) {
    return swappedUnit(t, 0.333 * k2, x, y, z);
  });
}

void f31_lunarrock(gfunc* g)
{
  rockField(g, lunarrock, 1.0, [](const KVtables* t, double k2, double x, double y, double z) {
    return (swappedUnit(t, k2 / 2, x, y, z) + 1) / 2;
  });
}

void f31_fractalstrings(gfunc* g)
{
  rockField(g, mfrivers, 0.5, [](const KVtables* t, double k2, double x, double y, double z) {
    return f31_S(swappedUnit(t, k2 / 2, x, y, z));
  });
}

void f31_bubblerock(gfunc* g)
{
  rockField(g, bubblerock, 1.0,
            [](const KVtables*, double, double, double, double) { return 0.0; });
}

void f31_ridgedfractal(gfunc* g)
{
  rockField(g, ridgedmountains, 0.25, [](const KVtables*, double k2, double, double, double) {
    return std::max(k2 - 1, 0.0);
  });
}

// A 2D field of (x, y); z/4 steers how much each octave may lower it. The
// band always reaches at least twice the base frequency.
void f31_z_multifractal(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const double B = g->B, k0 = f31_k(g).K[0], k2 = f31_k(g).K[2];
  const double fmax = std::max(2 * k2, f31_density(g));
  f31_eachSample(g, [&](double x, double y, double z) {
    return Multifractal2Dparam_procptr(&fi, fsparceMF, x, y, B, z / 4, k2, fmax, k0, 0.5);
  });
  f31_keepBodyFields(g, fi);
}

// Ridged noise of (x, y) whose amplitude and octave weighting grow with z;
// 0 where z <= 0.
void f31_z_ridgedfractal(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const F31constants k = f31_k(g);
  const double B = g->B, P = f31_density(g);
  f31_eachSample(g, [&](double x, double y, double z) {
    const double s = f31_S(z / 4);
    return Multifractal2D_unbal_procptr(&fi, fSRidgedB, x, y, B, k.K[2], P, s * k.K[0],
                                        (s + 0.25) * k.K[3], 0.5, 0.94);
  });
  f31_keepBodyFields(g, fi);
}

// ---- Handlers ------------------------------------------------------------------

int16_t f31_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_multifractal, g, msg, a, b, c);
}
int16_t f31_MultiCubicFract_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_MultiCubicFract, g, msg, a, b, c);
}
int16_t f31_lunarrock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_lunarrock, g, msg, a, b, c);
}
int16_t f31_fractalstrings_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_fractalstrings, g, msg, a, b, c);
}
int16_t f31_bubblerock_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_bubblerock, g, msg, a, b, c);
}
int16_t f31_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_ridgedfractal, g, msg, a, b, c);
}
int16_t f31_z_multifractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_z_multifractal, g, msg, a, b, c);
}
int16_t f31_z_ridgedfractal_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_z_ridgedfractal, g, msg, a, b, c);
}
