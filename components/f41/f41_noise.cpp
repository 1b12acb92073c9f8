#include "components/f41/f41_noise.h"

#include <algorithm>

#include "components/f41/f41_pvt.h"
#include "foundation/checked.h"
#include "noise/lattice.h"

namespace {

constexpr double kGain = 0.5;

double smoothWeight(double f)
{
  return f * f * (3 - 2 * f);
}

// Dot product of the corner's gradient with the offset of the point from it.
double cornerDot(const double* gradient, double dx, double dy, double dz)
{
  return gradient[0] * dx + gradient[1] * dy + gradient[2] * dz;
}

}  // namespace

double f41_gradientNoise3D(const KVtables* t, double x, double y, double z)
{
  kvnum::LatticeSplit sx, sy, sz;
  if (!kvnum::lattice_floor(x, sx) || !kvnum::lattice_floor(y, sy) || !kvnum::lattice_floor(z, sz))
    return 0;
  const double fx = sx.frac, fy = sy.frac, fz = sz.frac;
  // Corner (a, b, c) reads rndVec3D at the hash of (ix + a, iy, iz + c), the
  // corner one higher in y at the entry after it (the table has rows past
  // 1023 for that).
  double corner[2][2][2];
  for (int a = 0; a < 2; ++a)
    for (int c = 0; c < 2; ++c) {
      const int32_t ix = a ? kvnoise::nextCell(sx.cell) : sx.cell;
      const int32_t iz = c ? kvnoise::nextCell(sz.cell) : sz.cell;
      const uint32_t k0 = kvnoise::hash3D(t, ix, sy.cell, iz, 1023u);
      for (int b = 0; b < 2; ++b)
        corner[a][b][c] = cornerDot(t->rndVec3D[k0 + uint32_t(b)], fx - a, fy - b, fz - c);
    }
  const double wx = smoothWeight(fx), wy = smoothWeight(fy), wz = smoothWeight(fz);
  double alongY[2];
  for (int c = 0; c < 2; ++c) {
    const double lo = kvnoise::lerp(corner[0][0][c], corner[1][0][c], wx);
    const double hi = kvnoise::lerp(corner[0][1][c], corner[1][1][c], wx);
    alongY[c] = kvnoise::lerp(lo, hi, wy);
  }
  return kvnoise::lerp(alongY[0], alongY[1], wz);
}

bool fp4dperlin(fractalsinfos* fi, double x, double y, double z, double, double* state,
                double weight, short octave, dvector2d* out)
{
  if (octave < 0) {
    *out = dvector2d{0, 0};
    return false;
  }
  const double value = f41_gradientNoise3D(fi->tables, x, y, z);
  if (octave == 0) {
    *state = 0;
    *out = dvector2d{value, 0};
  } else {
    out->x += value * weight;
  }
  return false;
}

void f41_FB_precompute(gfunc* g)
{
  f41_k(g).K[0] = 4 * g->A;
}

void f41_FB(gfunc* g)
{
  const double amplitude = f41_k(g).K[0];
  const double phase = g->B, frequency = g->C;
  const double bandLimit = std::min(frequency, g->doc->yPixelScale);
  fractalsinfos fi = g->doc->fractal;
  fi.tables = &g->doc->tables;
  f41_eachSampleMaskXW(g, [&](double x, double y, double z, double w) {
    dvector2d r{0, 0};
    MFPV2d_procptr(&fi, fp4dperlin, x, y, z, w + phase, w, frequency, bandLimit, kGain, &r);
    return amplitude * r.x;
  });
}

int16_t f41_FB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF41_FB, g, msg, a, b, c);
}
