#include "components/f31/f31_materials.h"

#include <algorithm>
#include <numbers>

#include "components/f31/f31_cells.h"
#include "noise/drivers.h"
#include "noise/lattice.h"
#include "noise/multifractal.h"
#include "noise/noises.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The settings the puffy clouds drive their octaves with: phase factor 1.24
// and no rotation between octaves.
fractalsinfos puffySettings(const gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  fi.phaseFactor = 1.24;
  fi.rotSin = 0;
  fi.rotCos = 0;
  return fi;
}

double altocumulus(fractalsinfos& fi, double A, double B, double C, double x, double y, double z,
                   double P)
{
  const KVtables* t = fi.tables;
  const double s = 0.045 * C;
  const double X = s * x;
  const double Q = 0.7 * s * (y + z);
  const double r1 = frandom2D(t, 1.5 * X, Q);
  const double r2 = frandom2D(t, 3 * X, 2 * Q);
  const double c = 2.5 - (r1 + 0.5 * r2) / 420;
  const double band = c < 0 ? 0.0 : (c > 1 ? 0.5 : 0.5 * (3 - 2 * c) * c * c);

  double u1 = 0, u2 = 0;
  frandom3DVector3D(t, X, s * y, s * z, &u1, &u2, nullptr, 0.002);
  double x1 = x + u1;
  double m = 0.5 * (y + z) + u2;
  frandom3DVector3D(t, 2.1 * X, 2.1 * s * y, 2.1 * s * z, &u1, &u2, nullptr, 0.001);
  x1 += u1;
  m += u2;

  double v = std::fabs(1.68 * fPerlinDunes(t, C * x1, C * m, B));
  if (v < 0.5)
    v = v * v + 0.25;
  fi.paramA = c;
  const double g = Multifractal3Dparam_procptr(&fi, fpnoise3d_altocumulus, x, y, z, 0.33, 1,
                                               1.5 * C, P, 2.4, 0.51);
  return (c + 0.25 + (v + g) * (0.5 + band)) * A;
}

}  // namespace

// ---- Bodies ----------------------------------------------------------------------

double fpnoise3d_stratopuffycumulus(fractalsinfos* fi, double x, double y, double z, double,
                                    double* state, short j)
{
  const double s = *state;
  const double a = 2 * std::fabs(fUnitPerlinNoise3D(fi->tables, x + 0.12 * s, y, z));
  double v = a > 1 ? 2.84 : 3 * (3 - 2 * a) * a * a - 0.16;
  if (j != 0)
    v = v * ((s - 1) * 0.3 + 1);
  *state = v;
  return v;
}

double fpnoise3d_altocumulus(fractalsinfos* fi, double x, double y, double z, double, double* state,
                             short j)
{
  if (j == 0) {
    const double v = (frandom3D(fi->tables, x + 0.25 * fi->paramA, y, z) - 512) / 900;
    *state = v;
    return v;
  }
  const double s = *state;
  const double v = (frandom3D(fi->tables, x + 0.5 * s, y, z) - 512) / 900;
  *state = ((s - 1) * 0.3 + 1) * v;
  return v;
}

double f31_waveletNoise(const KVtables* t, double x, double y, double z)
{
  F31cell c;
  if (!f31_cellOf(x, y, z, c))
    return 0;
  double q[2][2][2];  // [oz][oy][ox]
  for (int oz = 0; oz < 2; ++oz)
    for (int ox = 0; ox < 2; ++ox) {
      const uint32_t h = f31_cellHash(t, ox ? kvnoise::nextCell(c.ix) : c.ix, c.iy,
                                      oz ? kvnoise::nextCell(c.iz) : c.iz);
      for (int oy = 0; oy < 2; ++oy) {
        const double* r = t->rndVec3D[h + uint32_t(oy)];
        q[oz][oy][ox] = r[0] * (c.fx - ox) + r[1] * (c.fy - oy) + r[2] * (c.fz - oz);
      }
    }
  const double wx = kvnoise::smooth(c.fx), wy = kvnoise::smooth(c.fy), wz = kvnoise::smooth(c.fz);
  const double low = kvnoise::bilinear(q[0][0][0], q[0][0][1], q[0][1][0], q[0][1][1], wx, wy);
  const double high = kvnoise::bilinear(q[1][0][0], q[1][0][1], q[1][1][0], q[1][1][1], wx, wy);
  return kvnoise::lerp(low, high, wz);
}

double oceanwavelets(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                     short j)
{
  double r = 0.99 - std::fabs(f31_waveletNoise(fi->tables, x, y, z));
  double q;
  const double e = (0.915 - r) / 0.15;
  if (r >= 0.915 && e <= -0.5) {
    q = kF31waveletCap;
  } else {
    if (r >= 0.915)
      r = r - 0.15 * e * e;
    if (r < 0)
      return 0;
    q = (r / 0.99) * (r / 0.99);
  }
  if (j == 0) {
    *state = q;
    return q;
  }
  const double t = q * (*state + (1 - *state) * w);
  *state = t;
  return t;
}

bool fpsSilex(fractalsinfos* fi, double x, double y, double z, double w, double* state, double a,
              short j, dvector2d* out)
{
  double& acc = out->x;
  if (j < 0) {
    acc = 0.25;
    out->y = 0;
    return false;
  }
  const double g = fPerlinNoise3D(fi->tables, x, y, z) / 320;
  if (j == 0) {
    acc = a * g;
    *state = a * g;
    return false;
  }
  const double s = *state;
  const double v = (acc - s) * w + s + a * g;
  if (v - 0.05 > acc)
    return false;
  const double e = (v - 0.05 - acc) / 0.2;
  acc = e > -0.5 ? acc - 0.2 * e * e : v;
  return false;
}

double fpnoise_zstonescluster(fractalsinfos* fi, double x, double y, double w, double* state,
                              short j)
{
  const KVtables* t = fi->tables;
  double ws;
  if (j == 0) {
    fi->paramA = 0.4 * std::sin(kPi * w) - 1.35;
    fi->paramB = std::max(
        0.0, 3 * (fUnitPerlinNoise2D(t, 0.2 * x, 0.2 * y) + 0.9) - std::clamp(w, -2.2, 2.2));
    ws = 1;
    *state = 1;
  } else {
    ws = *state;
  }
  const double p1 = fi->paramA, p2 = fi->paramB;
  const double d = j - p2;
  const double tent = d < 0 ? 0.4 * (d + 3) : 0.4 * (3 - d);
  const double a = f31_S(tent), b = 1 - a;
  double r = 0;
  if (a > 0) {
    double n = fsparcePerlinNoise2D(t, x, y, (a + p1 - 0.5) * ws + 0.5);
    if (a < 0.125)
      n = 8 * a * n;
    const double q = 20 * n;
    if (n >= 0.125) {
      const double e = (0.125 - n) / 0.3;
      n = e > -0.5 ? n - 0.3 * e * e : 0.2;
    }
    double st = q > 1 ? 0.0 : 1 - (3 - 2 * q) * q * q;
    if (j >= 1)
      st *= ws;
    *state = st;
    r = n;
  }
  if (b > 0) {
    const double h = fsparcePerlinNoise2D(t, 1.5 * x, 1.5 * y, 0.35) * std::min(b, 0.7);
    r = r + h + (0.08 * h - h) * ws;
  }
  return 512 * r;
}

// ---- Message 8 ----------------------------------------------------------------

void f31_stratanoise_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A / 256;
  K[1] = g->B / 512;
  K[2] = g->C / 4;
}

void f31_puffyClouds_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = 2 * g->A;
  K[2] = g->C / 8;
}

void f31_altocumulus_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A;
  K[2] = g->C;
}

void f31_ocean_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A / 256;
  K[1] = g->B;
  K[2] = g->C;
  K[3] = 0.4 * g->C;
}

void f31_fractsilex_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = 4 * g->A;
  K[2] = g->C / 4;
}

void f31_stonescluster_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = g->A / 128;
  K[2] = g->C / 4;
}

// ---- Computes ------------------------------------------------------------------

// Strata along y, bent by a 2D fractal of x and z.
void f31_stratanoise(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const F31constants k = f31_k(g);
  const double P = f31_density(g);
  f31_eachSample(g, [&](double x, double y, double z) {
    const double f = fractal2D_procptr(&fi, fPerlinNoise2D, x, z, k.K[2], P, k.K[1], 77, 0.5);
    return fractal1D_procptr(&fi, frandom1D_linear, y + f, 2 * k.K[2], P / 4, k.K[0], 35, 0.5);
  });
  f31_keepBodyFields(g, fi);
}

// Drives its octaves with a local copy of the settings (phase factor 1.24, no
// rotation): the document's own settings stay as they are.
void f31_puffyClouds(gfunc* g)
{
  fractalsinfos fi = puffySettings(g);
  const F31constants k = f31_k(g);
  const double B = g->B, P = f31_density(g);
  f31_eachSample(g, [&](double x, double y, double z) {
    return Multifractal3Dparam_procptr(&fi, fpnoise3d_stratopuffycumulus, x, y, z, B, 1, k.K[2],
                                       P / 2, k.K[0], 0.52);
  });
  f31_keepBodyFields(g, fi);
}

void f31_altocumulus(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const double A = g->A, B = g->B, C = g->C, P = f31_density(g);
  f31_eachSample(
      g, [&](double x, double y, double z) { return altocumulus(fi, A, B, C, x, y, z, P); });
  f31_keepBodyFields(g, fi);
}

// A swell that fades out once the base frequency passes a quarter of the
// pixel density, plus ridged wavelets.
void f31_ocean(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const KVtables* t = fi.tables;
  const F31constants k = f31_k(g);
  const double L = f31_density(g) / 4;
  double swellFade = 1;
  if (k.K[2] > L) {
    const double u = (k.K[2] - L) / (0.5238095238095238 * k.K[2]);
    swellFade = u < 1 ? 1 - u : 0.0;
  }
  f31_eachSample(g, [&](double x, double y, double z) {
    double swell = 0;
    if (swellFade > 0)
      swell = swellFade * k.K[0] *
              fPerlinNoise3D(t, k.K[3] * x + 3.5 * z, (0.45 * y + 0.6 * x) * k.K[3] + 3.3 * z, z);
    const double m = Multifractal3Dparam_procptr(&fi, oceanwavelets, x, y, 0.67 * z, 0, 0.56,
                                                 k.K[2], L, k.K[1], 0.4);
    return swell + m;
  });
  f31_keepBodyFields(g, fi);
}

void f31_fractsilex(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const F31constants k = f31_k(g);
  const double B = g->B, P = f31_density(g);
  f31_eachSample(g, [&](double x, double y, double z) {
    dvector2d acc{0, 0};
    MFPV2d_procptr(&fi, fpsSilex, x, y, z, 0, B, k.K[2], P / 2, 0.4, &acc);
    return k.K[0] * acc.x;
  });
  f31_keepBodyFields(g, fi);
}

void f31_stonescluster(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const F31constants k = f31_k(g);
  const double B = g->B, P = f31_density(g);
  f31_eachSample(g, [&](double x, double y, double z) {
    return Multifractal2Dparam_procptr(&fi, fpnoise_zstonescluster, x, y, B, z / 2, k.K[2], P / 2,
                                       k.K[0], 0.5);
  });
  f31_keepBodyFields(g, fi);
}

// ---- Handlers ------------------------------------------------------------------

int16_t f31_stratanoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_stratanoise, g, msg, a, b, c);
}
int16_t f31_puffyClouds_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_puffyClouds, g, msg, a, b, c);
}
int16_t f31_altocumulus_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_altocumulus, g, msg, a, b, c);
}
int16_t f31_ocean_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_ocean, g, msg, a, b, c);
}
int16_t f31_fractsilex_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_fractsilex, g, msg, a, b, c);
}
int16_t f31_stonescluster_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_stonescluster, g, msg, a, b, c);
}
