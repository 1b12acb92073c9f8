// Value noises: hashed lattice values and vectors, blended without dot
// products.
#include <cmath>

#include "noise/noise_pvt.h"
#include "noise/noises.h"

using namespace kvnoise;

namespace {

// Hashed 1D values at a cell and its right neighbour.
struct Values1D
{
  double q0, q1, f;
};

bool values1D(const KVtables* t, double x, Values1D& v)
{
  int32_t i;
  if (!cellSplit(x, i, v.f))
    return false;
  v.q0 = hash1D(t, i);
  v.q1 = hash1D(t, nextCell(i));
  return true;
}

// Component `k` of grad2D, as a corner-value reader.
auto gradComponent(const KVtables* t, int k)
{
  return [t, k](uint32_t e, int, int) { return double(t->grad2D[e][k]); };
}

// The three outputs of the 2D gradient-vector value noises; out 3 reads the
// x component 517 entries further on.
void gradVector3(const KVtables* t, Pair p, double wx, double wy, double* out1, double* out2,
                 double* out3, double amp)
{
  *out1 = blend2D(p, gradComponent(t, 0), wx, wy) * amp;
  *out2 = blend2D(p, gradComponent(t, 1), wx, wy) * amp;
  if (out3)
    *out3 = blend2D(offsetPair(p, 517, 1023), gradComponent(t, 0), wx, wy) * amp;
}

}  // namespace

double frandom1D_linear(const KVtables* t, double x)
{
  Values1D v;
  if (!values1D(t, x, v))
    return 0.0;
  return lerp(v.q0, v.q1, v.f) - 511.5;
}

double frandom1D(const KVtables* t, double x)
{
  Values1D v;
  if (!values1D(t, x, v))
    return 0.0;
  return lerp(v.q0, v.q1, smooth(v.f));
}

double frandom1D_balanced(const KVtables* t, double x)
{
  Values1D v;
  if (!values1D(t, x, v))
    return 0.0;
  return lerp(v.q0, v.q1, smooth(v.f)) - 511.5;
}

double frandom2D(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  auto q = [t](uint32_t e, int, int) { return double(t->perm[e]); };
  return blend2D(pair2D(t, c), q, smooth(c.fx), smooth(c.fy));
}

double frandom3D(const KVtables* t, double x, double y, double z)
{
  Cell3 c;
  if (!split3(x, y, z, c))
    return 0.0;
  auto q = [t](uint32_t e, int, int, int) { return double(t->perm[e]); };
  return blend3D(layers3D(t, c, 1023), q, smooth(c.fx), smooth(c.fy), smooth(c.fz));
}

double ftrirandom2D(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  Pair p{hash2DCoarse(t, c.ix, c.iy, 1023), hash2DCoarse(t, nextCell(c.ix), c.iy, 1023)};
  auto q = [t](uint32_t e, int, int) { return double(t->perm[e]); };
  return triangle2D(p, q, c.fx, c.fy);
}

double ftrirandom3D(const KVtables* t, double x, double y, double z)
{
  Cell3 c;
  if (!split3(x, y, z, c))
    return 0.0;
  Layers l = layers3D(t, c, 1023);
  auto q = [t](uint32_t e, int, int) { return double(t->perm[e]); };
  return lerp(triangle2D(l.lo, q, c.fx, c.fy), triangle2D(l.hi, q, c.fx, c.fy), c.fz);
}

double frandom2DUnit(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  auto q = [t](uint32_t e, int, int) { return t->rndVec3D[e][0]; };
  return blend2D(pair2D(t, c), q, smooth(c.fx), smooth(c.fy));
}

double frandom2DUnitgrain(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  Pair p = pair2D(t, c);
  double wx = smooth(c.fx), wy = smooth(c.fy);
  auto qx = [t](uint32_t e, int, int) { return std::fabs(t->rndVec3D[e][0]); };
  auto qy = [t](uint32_t e, int, int) { return std::fabs(t->rndVec3D[e][1]); };
  return blend2D(p, qx, wx, wy) * blend2D(p, qy, wx, wy);
}

double frandom2D_Unitlinear(const KVtables* t, double x, double y)
{
  Cell2 c;
  if (!split2(x, y, c))
    return 0.0;
  Pair p = pair2D(t, c);
  double q00 = t->rndVec3D[p.a][1], q01 = t->rndVec3D[p.a + 1][1];
  double q10 = t->rndVec3D[p.b][1], q11 = t->rndVec3D[p.b + 1][1];
  double wx = softRamp<20>(c.fx), wy = softRamp<20>(c.fy);
  double d = wx + wy - 1.0;
  if (d < 0.0)
    return wx * q10 + wy * q01 - d * q00;
  return (1.0 - wx) * q01 + (1.0 - wy) * q10 + d * q11;
}

void frandom2DVector2D(const KVtables* t, double x, double y, double* outX, double* outY,
                       double amp)
{
  Cell2 c;
  if (!split2OrZero(x, y, c, outX, outY))
    return;
  Pair p = pair2D(t, c);
  double wx = smooth(c.fx), wy = smooth(c.fy);
  *outX = blend2D(p, gradComponent(t, 0), wx, wy) * amp;
  *outY = blend2D(p, gradComponent(t, 1), wx, wy) * amp;
}

void frandom2DVector3D(const KVtables* t, double x, double y, double* out1, double* out2,
                       double* out3, double amp)
{
  Cell2 c;
  if (!split2OrZero(x, y, c, out1, out2, out3))
    return;
  gradVector3(t, pair2D(t, c), smooth(c.fx), smooth(c.fy), out1, out2, out3, amp);
}

void flinrandomVector3D(const KVtables* t, double x, double y, double* out1, double* out2,
                        double* out3, double amp)
{
  Cell2 c;
  if (!split2OrZero(x, y, c, out1, out2, out3))
    return;
  gradVector3(t, pair2D(t, c), c.fx, c.fy, out1, out2, out3, amp);
}

void frandom3DVector3D(const KVtables* t, double x, double y, double z, double* out1, double* out2,
                       double* out3OrNull, double amp)
{
  Cell3 c;
  if (!split3OrZero(x, y, z, c, out1, out2, out3OrNull))
    return;
  Layers l = layers3D(t, c, 1023);
  double wx = smooth(c.fx), wy = smooth(c.fy), wz = smooth(c.fz);
  auto component = [t](int k) {
    return [t, k](uint32_t e, int, int, int) { return double(t->grad2D[e][k]); };
  };
  *out1 = blend3D(l, component(0), wx, wy, wz) * amp;
  *out2 = blend3D(l, component(1), wx, wy, wz) * amp;
  if (out3OrNull)
    *out3OrNull = blend3D(offsetLayers(l, 517, 1023), component(1), wx, wy, wz) * amp;
}

void flinrandomVector(const KVtables* t, double x, double y, double* outX, double* outY, double amp)
{
  Cell2 c;
  if (!split2OrZero(x, y, c, outX, outY))
    return;
  // The y + 1 neighbour is masked again: unitDir2D has no repeated entry.
  Pair p{hash2D(t, c.ix, c.iy, 255), hash2D(t, nextCell(c.ix), c.iy, 255)};
  auto component = [t](int k) {
    return [t, k](uint32_t e, int, int) { return double(t->unitDir2D[e & 255u][k]); };
  };
  *outX = triangle2D(p, component(0), c.fx, c.fy) * amp;
  *outY = triangle2D(p, component(1), c.fx, c.fy) * amp;
}

double fPerlinLerp(double u, double v, short a, short b, short c, short d, short e, short f,
                   short g, short h, short i)
{
  const short rows[3][3] = {{a, b, c}, {d, e, f}, {g, h, i}};
  double w = 1.0 - v;
  int row = w < 0.5 ? 0 : 1;
  double t = w < 0.5 ? 2.0 * w : 2.0 * w - 1.0;
  int col = u < 0.5 ? 0 : 1;
  double r = u < 0.5 ? 2.0 * u : 2.0 * u - 1.0;
  double sr = smooth(r);
  double upper = lerp(rows[row][col], rows[row][col + 1], sr);
  double lower = lerp(rows[row + 1][col], rows[row + 1][col + 1], sr);
  return lerp(upper, lower, smooth(t));
}
