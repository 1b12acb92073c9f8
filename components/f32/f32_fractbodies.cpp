#include "components/f32/f32_fractbodies.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/checked.h"
#include "noise/noises.h"

namespace f32shape {

double softSign(double n)
{
  if (n <= -1)
    return -1;
  if (n >= 1)
    return 1;
  return n < 0 ? (n + 2) * n : (2 - n) * n;
}

double ridge(double n)
{
  return n < 0 ? n + 1 : 1 - n;
}

double softCap(double a, double T, double s, bool* capped)
{
  if (capped != nullptr)
    *capped = false;
  if (a < T)
    return a;
  const double u = (T - a) / s;
  if (u > -0.5)
    return a - s * u * u;
  if (capped != nullptr)
    *capped = true;
  return T + s / 4;
}

double smooth(double u)
{
  u = std::clamp(u, 0.0, 1.0);
  return u * u * (3 - 2 * u);
}

namespace {

// A lattice cell and the fractions in it.
struct Cell
{
  int32_t ix, iy, iz;
  double fx, fy, fz;
};

bool cellOf(double x, double y, double z, Cell& c)
{
  kvnum::LatticeSplit sx, sy, sz;
  if (!kvnum::lattice_floor(x, sx) || !kvnum::lattice_floor(y, sy) || !kvnum::lattice_floor(z, sz))
    return false;
  c = Cell{sx.cell, sy.cell, sz.cell, sx.frac, sy.frac, sz.frac};
  return true;
}

// The corner vector of (ix, iy, iz); the corner iy + 1 is the next entry.
const double* cornerVector(const KVtables* t, int32_t ix, int32_t iy, int32_t iz)
{
  const uint32_t ux = uint32_t(ix);
  const int32_t shifted = ix >> 9;
  const uint32_t h =
      uint32_t(t->perm[(uint32_t(shifted) + uint32_t(iz) + uint32_t(t->perm[ux & 1023])) & 1023]);
  return t->rndVec3D[(h + uint32_t(iy)) & 1023];
}

}  // namespace

double cellDistance(const KVtables* t, double x, double y, double z)
{
  Cell c;
  if (!cellOf(x, y, z, c))
    return 0;
  double m = 1;
  // Corners (cx, cy, cz) in the order (0,0,0), (0,1,0), (1,0,0), (1,1,0),
  // then the same with cz = 1.
  for (int cz = 0; cz < 2; ++cz)
    for (int cx = 0; cx < 2; ++cx)
      for (int cy = 0; cy < 2; ++cy) {
        const double* v =
            cornerVector(t, kvnum::wrap_add_i32(c.ix, cx), c.iy, kvnum::wrap_add_i32(c.iz, cz)) +
            3 * cy;
        const double dx = c.fx - cx + 0.4 * v[0];
        const double dy = c.fy - cy + 0.4 * v[1];
        const double dz = c.fz - cz + 0.4 * v[2];
        m = std::min(m, dx * dx + dy * dy + dz * dz);
      }
  return m;
}

bool gradientNoise(const KVtables* t, double x, double y, double z, double* g)
{
  Cell c;
  if (!cellOf(x, y, z, c))
    return false;
  auto dot = [&](int cx, int cy, int cz) {
    const double* v =
        cornerVector(t, kvnum::wrap_add_i32(c.ix, cx), c.iy, kvnum::wrap_add_i32(c.iz, cz)) +
        3 * cy;
    return v[0] * (c.fx - cx) + v[1] * (c.fy - cy) + v[2] * (c.fz - cz);
  };
  const double sx = smooth(c.fx), sy = smooth(c.fy), sz = smooth(c.fz);
  double layer[2];
  for (int cz = 0; cz < 2; ++cz) {
    const double a = dot(0, 0, cz) + (dot(1, 0, cz) - dot(0, 0, cz)) * sx;
    const double b = dot(0, 1, cz) + (dot(1, 1, cz) - dot(0, 1, cz)) * sx;
    layer[cz] = a + (b - a) * sy;
  }
  *g = layer[0] + (layer[1] - layer[0]) * sz;
  return true;
}

}  // namespace f32shape

using namespace f32shape;

namespace {

// Octave -1: the far record and a zero state.
bool farValue(dvector2d* d, double* state, double v)
{
  *d = dvector2d{v, v};
  *state = 0;
  return true;
}

// The soft minimum of Silex: a stays when b + n lies above it, else bends
// down to b + n.
double softMin(double a, double bn)
{
  const double v = bn - 0.025;
  if (v > a)
    return a;
  const double u = (v - a) / 0.1;
  return u > -0.5 ? a - 0.1 * u * u : bn;
}

// The rounded V of Rocky: |8n| with its tip rounded, less the rounding.
double roundedV(double n)
{
  double b = std::fabs(8 * n);
  if (b < 0.5)
    b = b * b + 0.25;
  return b - 0.25;
}

double roundedAbs(double s)
{
  double e = std::fabs(s);
  if (e < 0.5)
    e = e * e + 0.25;
  return e;
}

}  // namespace

void f32mfractal(const KVtables* t, double x, double y, double z, double* o0, double* o1,
                 double* o2, double amp)
{
  double nx = 0, ny = 0;
  fPerlinNoise3DVector3D(t, x, y, z, &nx, &ny, nullptr, 2.5);
  *o0 = amp * nx;
  *o1 = amp * ny;
  if (o2 != nullptr)
    *o2 = 0;
}

void fp3dRidged(const KVtables* t, double x, double y, double z, double* o0, double* o1, double* o2,
                double amp)
{
  double nx = 0, ny = 0;
  fPerlinNoise3DVector3D(t, x, y, z, &nx, &ny, nullptr, 2.5);
  *o0 = ridge(nx) > 0 ? amp * ridge(nx) : 0;
  *o1 = ridge(ny) > 0 ? amp * ridge(ny) : 0;
  if (o2 != nullptr)
    *o2 = 0;
}

bool fpSilexdisplace(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                     double weight, short octave, dvector2d* d)
{
  if (octave < 0)
    return farValue(d, state, 0.08);
  double nx = 0, ny = 0;
  fPerlinNoise3DVector3D(fi->tables, x, y, z, &nx, &ny, nullptr, 3 * weight);
  if (octave == 0) {
    *d = dvector2d{nx, ny};
    fi->paramA = nx;
    fi->paramB = ny;
    return true;
  }
  const double b = octave == 1 ? 0.0 : octave * (0.5 - 0.51 * w);
  d->x = softMin(d->x, b + nx);
  d->y = softMin(d->y, b + ny);
  return true;
}

bool fpBridgeddisplace(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                       double weight, short octave, dvector2d* d)
{
  if (octave < 0)
    return farValue(d, state, 0.08);
  double nx = 0, ny = 0, nz = 0;
  fPerlinNoise3DVector3D(fi->tables, x, y, z, &nx, &ny, &nz, w + 2);
  const double s = softSign(nz);
  auto crest = [](double n) {
    const double r = ridge(n);
    return softCap(r >= 0 ? r * r : 0.0, 0.915, 0.15);
  };
  const double a0 = crest(nx), a1 = crest(ny);
  if (octave == 0) {
    *d = dvector2d{s * a0, s * a1};
    *state = a0 + a1;
    return true;
  }
  const double v = ((0.95 * w + 0.25) * (a0 + a1) + 0.25 - 0.24 * w) * *state + 0.01 * w;
  d->x += s * a0 * weight * v;
  d->y += s * a1 * weight * v;
  *state = v;
  return true;
}

bool fpSierradisplace(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                      double weight, short octave, dvector2d* d)
{
  if (octave < 0)
    return farValue(d, state, 0.08);
  double nx = 0, ny = 0, nz = 0;
  fPerlinNoise3DVector3D(fi->tables, x, y, z, &nx, &ny, &nz, w + 3);
  const double s = softSign(nz), h = s / 8;
  const double c0 = roundedV(nx) * h, c1 = roundedV(ny) * h;
  const double e = roundedAbs(s);
  if (octave == 0) {
    *d = dvector2d{c0, c1};
    *state = e - 0.25;
    return true;
  }
  const double v = ((w + 0.5) * (e - 0.25) + 0.25 - 0.15 * w) * *state + 0.02 * w;
  d->x += c0 * weight * v;
  d->y += c1 * weight * v;
  *state = v;
  return true;
}

bool fpZMFdisplace(fractalsinfos* fi, double x, double y, double, double w, double* state,
                   double weight, short octave, dvector2d* d)
{
  if (octave < 0) {
    *d = dvector2d{0, 0};
    return true;
  }
  double nx = 0, ny = 0;
  fPerlinNoise2DVector2D(fi->tables, x, y, &nx, &ny, 2.0);
  const double q = smooth((std::fabs(nx) + std::fabs(ny)) * (w + 0.25));
  if (octave == 0) {
    *d = dvector2d{nx / 2, ny / 2};
    *state = 0.5 * (q - 1) + 1;
    return true;
  }
  const double s = *state;
  d->x += nx * weight * s;
  d->y += ny * weight * s;
  const double t = (s + 0.05) * q;
  *state = t + 0.1 * (s - t);
  return true;
}

bool fpZmultiperlin(fractalsinfos* fi, double x, double y, double z, double, double* state,
                    double weight, short octave, dvector2d* d)
{
  if (octave < 0) {
    *d = dvector2d{0, 0};
    return true;
  }
  double nx = 0, ny = 0;
  fPerlinNoise3DVector3D(fi->tables, x, y, z, &nx, &ny, nullptr, 2.0);
  if (octave == 0) {
    *d = dvector2d{nx, ny};
    *state = 0;
    return true;
  }
  d->x += weight * nx;
  d->y += weight * ny;
  return true;
}

bool fpCliffChaos(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                  double weight, short octave, dvector2d* d)
{
  if (octave < 0) {
    *d = dvector2d{0.15, 0.15};
    return true;
  }
  double nx = 0, ny = 0;
  fPerlinNoise3DVector3D(fi->tables, x, y, z, &nx, &ny, nullptr, 4.0);
  const double c0 = 2 * smooth(nx + 0.5) - 1, c1 = 2 * smooth(ny + 0.5) - 1;
  const double v = 1.8 * (1 - (0.5 - 0.2 * w) * (c0 * c0 + c1 * c1));
  if (octave == 0) {
    *d = dvector2d{c0 * weight, c1 * weight};
    *state = v;
    return true;
  }
  const double s = *state;
  d->x += c0 * weight * s;
  d->y += c1 * weight * s;
  *state = v * s;
  return true;
}

bool fp3dBubbles(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                 double weight, short octave, dvector2d* d)
{
  if (octave < 0)
    return farValue(d, state, 0.08);
  const double m = cellDistance(fi->tables, x, y, z);
  const double a = m <= w ? -(m - w) * (m - w) : 0.0;  // depth inside a bubble
  const double b = 1 - std::numbers::pi * m;
  const double q = b >= 0 ? b * b : 0.0, t = b >= 0 ? 1 - b * b : 1.0;
  if (octave == 0) {
    *d = dvector2d{a + 0.3, q};
    *state = t;
    return true;
  }
  const double s = *state;
  d->x = std::min(d->x, a * weight + 0.3);
  d->y += s * q * weight;
  *state = t * s;  // each bubble layer is hidden by the ones above
  return true;
}

bool fpoceanwaveletsfoam(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                         double weight, short octave, dvector2d* d)
{
  if (octave < 0) {
    *d = dvector2d{0, 0};
    return true;
  }
  double G = 0;
  double a = 0.99, f = 0;
  if (gradientNoise(fi->tables, x, y, z, &G)) {
    a = 0.99 - std::fabs(G);
    f = 2.7 * std::fabs(G);
  }
  // The crest.
  bool capped = false;
  a = softCap(a, 0.915, 0.15, &capped);
  if (!capped && a <= 0) {
    *state = 0;
    if (octave == 0)
      d->x = 0;
  } else {
    a = capped ? 0.9256772268135905 : (a / 0.99) * (a / 0.99);
    if (octave == 0) {
      *state = a;
      d->x = a * weight;
    } else {
      const double next = ((1 - *state) * w + *state) * a;
      *state = next;
      d->x += next * weight;
    }
  }
  // The foam.
  const double u = f - 0.4;
  double k = 0;
  if (u < 0) {
    f = 0, k = 1.08;
  } else if (u <= 1) {
    f = smooth(u), k = 1.08 - f;
  } else {
    f = 1, k = 0.08000000000000007;
  }
  if (octave == 0) {
    d->y = f;
    fi->paramB = k;
  } else {
    const double p = fi->paramB;
    fi->paramB = k * p;
    d->y += f * p * (0.4 * (1 - weight) + weight);
  }
  return true;
}

// A noise value folded into a triangle wave of period 1 (0 at whole
// numbers, 1 halfway), turned into a ridge that is 1 - tri away from the
// crests, both ends softly capped at 0.95 with softness 0.1.
static double foldedRidge(double n)
{
  const double frac = n - std::floor(n);
  const double tri = frac <= 0.5 ? 2 * frac : 2 - 2 * frac;
  return softCap(1 - softCap(tri, 0.95, 0.1), 0.95, 0.1);
}

bool fpfutur7displace(const KVtables* t, double x, double y, double z, double w, double* state,
                      double weight, short octave, dvector2d* d)
{
  if (octave <= 0) {
    *d = dvector2d{0.08, 0.08};
    *state = 0;
    if (octave < 0)
      return true;
  }
  double nx = 0, ny = 0, nz = 0;
  fPerlinNoise3DVector3D(t, x, y, z, &nx, &ny, &nz, w + 3);
  const double e = foldedRidge(nz);
  if (octave == 0) {
    *d = dvector2d{e * nx, e * ny};
    *state = e;
    return true;
  }
  const double v = ((0.7 * w + 0.8) * e + 0.5 * w) * *state + 0.01 * w;
  d->x += weight * v * nx;
  d->y += weight * v * ny;
  *state = v;
  return true;
}

bool fp32ridgesA(const KVtables* t, double x, double y, double z, double w, double* state,
                 double weight, short octave, dvector3d* d)
{
  if (octave <= 0) {
    d->x = 0.08;
    d->y = 0.08;
    *state = 0;
    if (octave < 0)
      return true;
  }
  double nx = 0, ny = 0, nz = 0;
  fPerlinNoise3DVector3D(t, x, y, z, &nx, &ny, &nz, w + 3);
  const double rx = foldedRidge(nx), ry = foldedRidge(ny);
  const double m = smooth(0.5 * nz + 1);
  if (octave == 0) {
    d->x = m * rx;
    d->y = m * ry;
    *state = m;
    return true;
  }
  const double v = ((0.7 * w + 0.8) * m + 0.5 * w) * *state + 0.01 * w;
  d->x += weight * v * rx;
  d->y += weight * v * ry;
  *state = v;
  return true;
}
