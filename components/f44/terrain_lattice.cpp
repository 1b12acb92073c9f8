// Lattice helpers of the terrain bodies: permutation hashes for strata and
// red-rock blocks, the saw-ridged value noise and the two band-limited
// details. Indices wrap like 32-bit hardware arithmetic; shifts of negative
// integers are arithmetic.
#include <algorithm>
#include <cmath>

#include "components/f44/terrain.h"
#include "foundation/checked.h"
#include "noise/noises.h"

namespace {

constexpr int32_t kMask = 1023;
constexpr double kOver1024 = 0.0009765625;

int32_t permAt(const KVtables* t, int32_t i)
{
  return t->perm[i & kMask];
}

int32_t add(int32_t a, int32_t b)
{
  return kvnum::wrap_add_i32(a, b);
}

double lerp(double a, double b, double w)
{
  return a + (b - a) * w;
}

// The smoothstep weight (3 - 2f) f^2 of a fraction in [0, 1].
double smoothWeight(double f)
{
  return (3.0 - 2.0 * f) * f * f;
}

// The saw ridge of frandom3Dsaw at the fraction fy: a plateau across the
// cell with a sharp crease at its edges.
double sawRidge(double fy)
{
  const double s = std::min(fy, 1.0 - fy);
  double t = 2 * s < 0 ? 0.0 : (2 * s > 1 ? 5.0 : 10.0 * s);
  if (t < 0.5)
    t = t * t + 0.25;
  const double u = t - 4.0;
  const double shaped = u > 0.5 ? (2.0 - u) * u - 0.25 + 4.0 : t;
  return (0.5 - (shaped - 0.25) * 0.2 / 0.9) * 512.0;
}

}  // namespace

double LABTXT_density(const KVtables* t, int32_t n)
{
  const int32_t h = (n & 4) != 0 ? add(n >> 10, permAt(t, n >> 2)) : add(n >> 9, permAt(t, n >> 1));
  const int32_t a = permAt(t, h) - 512;
  const int32_t b = permAt(t, add(n >> 8, permAt(t, n))) - 512;
  return (a + b) * 0.5 * 0.0013020833333333333;
}

double LABTXT_redrocks(const KVtables* t, int32_t i, int32_t, int32_t)
{
  const int32_t s = i >> 2, u = i >> 11;
  const int32_t p1 = permAt(t, s);
  const int32_t p2 = permAt(t, add(add(s, p1), u));
  return permAt(t, add(add(u, s), p2)) * kOver1024;
}

double LABTXT_redrocks2(const KVtables* t, int32_t i, int32_t j, int32_t)
{
  if ((j & 31) == 0)
    return 0.05;  // mortar line
  const int32_t s = i >> 2;
  const int32_t p1 = permAt(t, i >> 3);
  const int32_t p2 = permAt(t, add(add(s, p1), i >> 12));
  return permAt(t, add(add(s, p2), i >> 11)) * kOver1024;
}

double frandom3Dsaw(const KVtables* t, double x, double y, double z)
{
  kvnum::LatticeSplit sx, sy, sz;
  if (!kvnum::lattice_floor(x, sx) || !kvnum::lattice_floor(y, sy) || !kvnum::lattice_floor(z, sz))
    return 0.0;
  const int32_t ix = sx.cell, iy = sy.cell, iz = sz.cell, ix1 = add(ix, 1);
  const int32_t a = permAt(t, ix), b = permAt(t, ix1);
  const double wx = smoothWeight(sx.frac), wy = smoothWeight(sy.frac), wz = smoothWeight(sz.frac);
  double plane[2];
  for (int dz = 0; dz < 2; ++dz) {
    const int32_t z0 = add(iz, dz);
    // Row starts at (ix, iy) and (ix + 1, iy); the next entry of each row is
    // the value at iy + 1 (perm has its wrap entry at 1024).
    const int32_t ra = add(iy, permAt(t, add(add(a, z0), ix >> 9))) & kMask;
    const int32_t rb = add(iy, permAt(t, add(add(b, z0), ix1 >> 9))) & kMask;
    const double v0 = lerp(t->perm[ra], t->perm[rb], wx);
    const double v1 = lerp(t->perm[ra + 1], t->perm[rb + 1], wx);
    plane[dz] = lerp(v0, v1, wy);
  }
  return sawRidge(sy.frac) + (lerp(plane[0], plane[1], wz) - 512.0);
}

double terrainLattice1D(const KVtables* t, double v)
{
  kvnum::LatticeSplit s;
  if (!kvnum::lattice_floor(v, s))
    return 0.0;
  const double a = t->rndVec3D[s.cell & kMask][0];
  const double b = t->rndVec3D[add(s.cell, 1) & kMask][0];
  return 0.5 * lerp(a, b, smoothWeight(s.frac));
}

double SmallDuneNoise(const fractalsinfos* fi, double x, double y, double k, double m)
{
  const double f = (k - m) / (0.75 * k);
  if (f >= 1.0)
    return 0.0;
  const double u = k * x;
  double r =
      std::fabs(fUnitPerlinSaw2D(fi->tables, u + terrainLattice1D(fi->tables, 0.5 * u), k * y));
  if (r < 0.5)
    r = r * r + 0.25;
  return f > 0 ? r * (1.0 - f) : r;
}

double LimitGrassNoise(const fractalsinfos* fi, double x, double y, double k, double m)
{
  const double f = (k - m) / (0.85 * k);
  if (f >= 1.0)
    return 0.0;
  const double kx = k * x, ky = k * y;
  const double q1 = std::fabs(frandom2DUnit(fi->tables, (kx + ky) * 0.5, 1.5 * ky));
  const double q2 = frandom2DUnit(fi->tables, (3 * kx + 3 * ky) * 0.75, 3.75 * ky);
  const double d = 1.25 * q1 * std::fabs(q2) - 0.35;
  return f > 0 ? d * (1.0 - f) : d;
}
