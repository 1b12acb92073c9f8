// Gradient noises: blended dot products of hashed gradients (grad2D,
// planeVec3D or rndVec3D) with the offsets from the cell corners.
#include <algorithm>
#include <cmath>

#include "noise/noise_pvt.h"
#include "noise/noises.h"

using namespace kvnoise;

namespace {

// Corner readers: the dot product of the corner's table entry with the
// offset (f - corner).
auto gradDot(const KVtables* t, const Cell2& c)
{
  return [t, fx = c.fx, fy = c.fy](uint32_t e, int cx, int cy) {
    return t->grad2D[e][0] * (fx - cx) + t->grad2D[e][1] * (fy - cy);
  };
}

// planeVec3D (cosine, sine, offset): the offset is added to the dot product.
auto planeDot(const KVtables* t, const Cell2& c)
{
  return [t, fx = c.fx, fy = c.fy](uint32_t e, int cx, int cy) {
    const double* v = t->planeVec3D[e];
    return v[0] * (fx - cx) + v[1] * (fy - cy) + v[2];
  };
}

// In 3D the offset scales with 4 (fz - cz).
auto planeDot3(const KVtables* t, const Cell3& c)
{
  return [t, fx = c.fx, fy = c.fy, fz = c.fz](uint32_t e, int cx, int cy, int cz) {
    const double* v = t->planeVec3D[e];
    return v[0] * (fx - cx) + v[1] * (fy - cy) + 4.0 * (fz - cz) * v[2];
  };
}

auto rndDot2(const KVtables* t, const Cell2& c)
{
  return [t, fx = c.fx, fy = c.fy](uint32_t e, int cx, int cy) {
    const double* r = t->rndVec3D[e];
    return r[0] * (fx - cx) + r[1] * (fy - cy);
  };
}

auto rndDot3(const KVtables* t, const Cell3& c)
{
  return [t, fx = c.fx, fy = c.fy, fz = c.fz](uint32_t e, int cx, int cy, int cz) {
    const double* r = t->rndVec3D[e];
    return r[0] * (fx - cx) + r[1] * (fy - cy) + r[2] * (fz - cz);
  };
}

// The plane-gradient noise with smoothstep weights, shared by the ridged
// variants.
bool planeNoiseSmooth(const KVtables* t, double x, double y, double& n)
{
  Cell2 c;
  if (!split2(x, y, c))
    return false;
  n = blend2D(pairPlane2D(t, c), planeDot(t, c), smooth(c.fx), smooth(c.fy));
  return true;
}

double ridge(double r)
{
  return r < 0.0 ? 0.0 : r * r * 256.0;
}

// The saw profile across a cell: 0.5 at the cell border, falling to -0.5 in
// the middle.
double sawProfile(double f)
{
  return 0.5 - softRamp<5>(2.0 * std::min(f, 1.0 - f));
}

}  // namespace

double fPerlinNoise1D(const KVtables* t, double x)
{
  int32_t i;
  double f;
  if (!cellSplit(x, i, f))
    return 0.0;
  // Gradients centred on 512 rather than 511.5.
  double g0 = hash1D(t, i) - 512.0, g1 = hash1D(t, nextCell(i)) - 512.0;
  return lerp(g0 * f, g1 * (f - 1.0), smooth2(f));
}

double fPerlinNoise2D(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  return blend2D(pair2D(t, c), gradDot(t, c), smooth2(c.fx), smooth2(c.fy));
}

double fPerlinNoise2D_cubed(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  double signX = (c.ix & 1) ? -1.0 : 1.0, signY = (c.iy & 1) ? -1.0 : 1.0;
  double fx = c.fx, fy = c.fy;
  auto q = [t, fx, fy, signX, signY](uint32_t e, int cx, int cy) {
    double xTerm = t->grad2D[e][0] * (cx ? 1.0 - fx : fx);
    double yTerm = t->grad2D[e][1] * (cy ? 1.0 - fy : fy);
    return signX * xTerm + signY * yTerm;
  };
  return blend2D(pair2D(t, c), q, smooth2(fx), smooth2(fy));
}

double fPerlinLFO(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  return blend2D(pair2D(t, c), gradDot(t, c), smooth(c.fx), smooth(c.fy));
}

void fPerlinNoise2D_DBL(const KVtables* t, double x, double y, double* out1, double* out2,
                        double amp)
{
  Cell2 c;
  if (!split2OrZero(x, y, c, out1, out2))
    return;
  Pair p = pair2D(t, c);
  double wx = smooth(c.fx), wy = smooth(c.fy);
  *out1 = blend2D(p, gradDot(t, c), wx, wy) * amp;
  *out2 = blend2D(offsetPair(p, 333, 1023), gradDot(t, c), wx, wy) * amp;
}

void fPerlinNoise2DVector3D(const KVtables* t, double x, double y, double* out1, double* out2,
                            double* out3OrNull)
{
  Cell2 c;
  if (!split2OrZero(x, y, c, out1, out2, out3OrNull))
    return;
  Pair p = pair2D(t, c);
  double wx = smooth(c.fx), wy = smooth(c.fy);
  *out1 = blend2D(p, gradDot(t, c), wx, wy);
  *out2 = blend2D(offsetPair(p, 320, 1023), gradDot(t, c), wx, wy);
  if (out3OrNull)
    *out3OrNull = blend2D(offsetPair(p, 640, 1023), gradDot(t, c), wx, wy);
}

double fUnitPerlinNoise2D(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  return blend2D(pairPlane2D(t, c), planeDot(t, c), smooth2(c.fx), smooth2(c.fy));
}

double fRidgedPerlinNoise2D(const KVtables* t, double x, double y)
{
  double n;
  if (!planeNoiseSmooth(t, x, y, n))
    return 0.0;
  return ridge(1.0 - std::fabs(n));
}

double fSRidgednoise(const KVtables* t, double x, double y)
{
  double n;
  if (!planeNoiseSmooth(t, x, y, n))
    return 0.0;
  // Rounds the crease of abs() near n = 0.
  double a = std::fabs(40.0 * n);
  if (a < 0.5)
    a = a * a + 0.25;
  return ridge(1.0 - 0.025 * a);
}

double fsparcePerlinNoise2D(const KVtables* t, double x, double y, double density)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  double n = blend2D(pairPlane2D(t, c), planeDot(t, c), smooth2(c.fx), smooth2(c.fy));
  double v = n + density;
  double scale = (1.0 + density) * (1.0 + density);
  // A density of -1 leaves nothing to scale by: no dots at all.
  if (!(v > 0.0) || scale == 0.0)
    return 0.0;
  double s = v / scale;
  return s * s;
}

double fPerlinDunes(const KVtables* t, double x, double y, double shape)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  // +shape on odd columns, -shape on even ones.
  double left = (c.ix & 1) ? shape : -shape;
  double right = (nextCell(c.ix) & 1) ? shape : -shape;
  auto q = [t, fx = c.fx, fy = c.fy, left, right](uint32_t e, int cx, int cy) {
    const double* v = t->planeVec3D[e];
    return v[0] * (fx - cx) + v[1] * (fy - cy) + (cx ? right : left);
  };
  return blend2D(pairPlane2D(t, c), q, smooth(c.fx), smooth(c.fy)) * (2.0 - shape);
}

void fPerlinNoise2DVector2D(const KVtables* t, double x, double y, double* out1, double* out2,
                            double amp)
{
  Cell2 c;
  if (!split2OrZero(x, y, c, out1, out2))
    return;
  Pair p = pairPlane2D(t, c);
  double wx = smooth2(c.fx), wy = smooth2(c.fy);
  *out1 = blend2D(p, planeDot(t, c), wx, wy) * amp;
  *out2 = blend2D(offsetPair(p, 123, 255), planeDot(t, c), wx, wy) * amp;
}

double fUnitPerlinNoise3D(const KVtables* t, double x, double y, double z)
{
  Cell3 c;
  if (!split3(x, y, z, c))
    return 0.0;
  return blend3D(layers3D(t, c, 255), planeDot3(t, c), smooth2(c.fx), smooth2(c.fy), smooth2(c.fz));
}

double fPerlinNoise3D(const KVtables* t, double x, double y, double z)
{
  return 512.0 * fUnitPerlinNoise3D(t, x, y, z);
}

void fPerlinNoise3DVector3D(const KVtables* t, double x, double y, double z, double* out1,
                            double* out2, double* out3OrNull, double amp)
{
  Cell3 c;
  if (!split3OrZero(x, y, z, c, out1, out2, out3OrNull))
    return;
  Layers l = layers3D(t, c, 255);
  double wx = smooth2(c.fx), wy = smooth2(c.fy), wz = smooth2(c.fz);
  *out1 = blend3D(l, planeDot3(t, c), wx, wy, wz) * amp;
  *out2 = blend3D(offsetLayers(l, 84, 255), planeDot3(t, c), wx, wy, wz) * amp;
  if (out3OrNull)
    *out3OrNull = blend3D(offsetLayers(l, 167, 255), planeDot3(t, c), wx, wy, wz) * amp;
}

double fUnitPerlinCracks3D(const KVtables* t, double x, double y, double z)
{
  Cell3 c;
  if (!split3(x, y, z, c))
    return 0.0;
  auto w = [](double f) { return softRamp<5>(3.0 * (f - 0.5)); };
  double n = blend3D(layers3D(t, c, 1023), rndDot3(t, c), w(c.fx), w(c.fy), w(c.fz));
  return sawProfile(c.fy) + n;
}

double fUnitPerlinSaw2D(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  double n = blend2D(pair2D(t, c), rndDot2(t, c), softRamp<5>(c.fx), softRamp<5>(c.fy));
  return sawProfile(c.fx) + n;
}

double fUnitPerlinSaw3D(const KVtables* t, double x, double y, double z)
{
  Cell3 c;
  if (!split3(x, y, z, c))
    return 0.0;
  double n = blend3D(layers3D(t, c, 1023), rndDot3(t, c), softRamp<5>(c.fx), softRamp<5>(c.fy),
                     softRamp<5>(c.fz));
  return sawProfile(c.fx) + n;
}

double frandom2D_Unitlinear2(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  auto w = [](double f) { return softRamp<5>(3.5 * (f - 0.5)); };
  return blend2D(pair2D(t, c), rndDot2(t, c), w(c.fx), w(c.fy));
}
