// Tiles, stone courses and the two 2D wall cells.
#include "celltextures/city_walls.h"

#include <algorithm>
#include <cstdlib>

#include "celltextures/city_walls_pvt.h"

using kvcell::courseShift;
using kvcell::grain;
using kvcell::hash3;
using kvcell::offset;
using kvcell::outside;
using kvcell::permChain2;
using kvcell::permChain3;
using kvcell::plateGrain;
using kvcell::putCode;
using kvcell::truncSmall;
using kvcell::within;

namespace {

// A ceramic joint: sunk by the grain, dark grey.
double ceramicJoint(int16_t* code, double n)
{
  return putCode(code, truncSmall(-8 * n - 90), -0.1 * n);
}

double ceramicWall(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const bool shifted = (y & 16) != 0;
  const int32_t xs = courseShift(x, 16, shifted), zs = courseShift(z, 16, shifted);
  const double n = grain(t, xs, y, zs);
  const int32_t g = permChain3(t, y >> 4, xs >> 5, zs >> 5, y >> 13, xs >> 14);
  int32_t m = g >> 3;
  const int32_t y15 = y & 15;
  bool tile = false;
  switch (g & 3) {
    case 1:
      tile = y15 != 0 && (xs & 31) != 0 && (z & 15) != 0;
      m += (zs >> 3) & 7;
      break;
    case 3:
      tile = y15 != 0 && (xs & 31) != 0 && (zs & 31) != 0 && y15 != 8;
      break;
    default:  // 0, 2
      tile = y15 != 0 && (x & 15) != 0 && (zs & 31) != 0;
      m += (xs >> 3) & 7;
      break;
  }
  if (!tile)
    return ceramicJoint(code, n);
  if (m & 1)
    return putCode(code, (m % 12) + truncSmall(3 * n), (m & 7) / 40.0 + 0.6);
  return putCode(code, (m & 7) + truncSmall(8 * n), (m & 7) / 20.0 + 0.4);
}

double ceramicFloor(const KVtables* t, int32_t x, int32_t z, int16_t* code)
{
  const double n = permChain2(t, x, z, x >> 9) / 1024.0;
  if ((x & 15) == 0 || (z & 15) == 0)
    return ceramicJoint(code, n);
  const int32_t m = permChain2(t, x >> 4, z >> 4, x >> 13) >> 3;
  return putCode(code, -90 - (m % 12) - truncSmall(3 * n), (m & 7) / 40.0 + 0.4);
}

// The stone courses of 16 units: the course offset o (0 .. range - 1) by y.
int32_t courseOffset(const KVtables* t, int32_t y, int32_t range)
{
  return permChain2(t, y >> 4, y >> 12, 0) % range;
}

// Whether a StonesA stone covers the point, by stone kind g & 7.
bool stoneAHere(int32_t kind, bool xIn, bool yEdge, bool zIn)
{
  switch (kind) {
    case 0:
      return xIn;
    case 1:
      return !yEdge;
    case 2:
      return zIn;
    case 3:
      return xIn && zIn;
    case 4:
      return !yEdge && zIn;
    case 5:
      return xIn && !yEdge;
    case 6:
      return true;
    default:
      return xIn && !yEdge && zIn;
  }
}

bool stoneCHere(int32_t kind, int32_t X, int32_t y15, int32_t Z)
{
  switch (kind) {
    case 0:
      return X != 8;
    case 1:
      return y15 != 8;
    case 2:
      return Z != 8;
    default:
      return y15 < 8 || (y15 > 8 && X != 8 && Z != 8);
  }
}

// A 32-unit stone split at `split` along position p (0..31): a joint (v 0)
// at the split, the hash level below it and full height above.
double splitStone(int32_t p, int32_t split, int32_t g)
{
  return p == split ? 0.0 : p < split ? g / 2048.0 + 0.5 : 1.0;
}

// The bevel of a big mixed stone and of a small one.
int32_t bigBevel(int32_t A, int32_t y15, int32_t B)
{
  return std::min(5, 16 - std::max({std::abs(A - 16), 2 * std::abs(y15 - 8), std::abs(B - 16)}));
}

int32_t smallBevel(int32_t X, int32_t y15, int32_t Z)
{
  return std::min(4, 8 - std::max({std::abs(X - 8), std::abs(y15 - 8), std::abs(Z - 8)}));
}

constexpr int16_t kStoneBJoint = -60;

double bigMixedStone(int32_t g, int32_t A, int32_t B, int32_t y15, double nb, int16_t* code)
{
  const int32_t e = bigBevel(A, y15, B);
  if ((g & 3) == 0)
    return putCode(code, truncSmall(-(16 * e + ((g >> 3) & 31) + 45 + 32 * nb)),
                   (e + nb) * 0.08 + 0.4);
  const bool inside = within(A, 2, 30) && within(B, 2, 30) && within(y15, 2, 14);
  if (!inside && nb >= 0.85)
    return putCode(code, kStoneBJoint, 0.0);
  return putCode(code, ((truncSmall(8 * nb) + (g >> 3)) % 11) + e, (e + nb) * 0.09 + 0.3);
}

double smallMixedStone(const KVtables* t, int32_t X, int32_t y, int32_t Z, double nb, int16_t* code)
{
  const int32_t X15 = X & 15, Z15 = Z & 15, y15 = y & 15;
  if (X15 == 0 || Z15 == 0)
    return putCode(code, kStoneBJoint, 0.0);
  const int32_t h = hash3(t, 4, X, y, Z);
  const int32_t e2 = smallBevel(X15, y15, Z15);
  const bool xIn = within(X15, 2, 14), zOut = outside(Z15, 2, 14), yOut = outside(y15, 2, 14);
  bool joint;
  double level;
  switch (h & 3) {
    case 0:
      joint = !xIn && (yOut || zOut);
      level = (e2 + nb) * 0.1 + 0.25;
      break;
    case 1:
      joint = zOut && (yOut || !xIn);
      level = (e2 + nb) * 0.125 + 0.2;
      break;
    default:
      joint = (!xIn && yOut) || (!(xIn && !zOut) && nb >= 0.85);
      level = (e2 + nb) * 0.125 + 0.3;
      break;
  }
  if (joint)
    return putCode(code, kStoneBJoint, 0.0);
  return putCode(code, truncSmall(-(16 * e2 + ((h >> 3) & 31) + 40 + 32 * nb)), level);
}

// One 16-unit slab of the pavement: whether (X, Y) is on its joint.
bool paveJoint(int32_t kind, int32_t X, int32_t Y)
{
  switch (kind) {
    case 0:
      return X == 0 || Y == 0;
    case 1:
      return outside(X, 2, 14) || outside(Y, 2, 14);
    case 2:
      return outside(X, 2, 14) || Y == 0 || Y == 7;
    default:
      return X == 0 || X == 9 || outside(Y, 2, 14);
  }
}

}  // namespace

double LABTXT3D_CeramicsA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  return y > 0 ? ceramicWall(t, x, y, z, code) : ceramicFloor(t, x, z, code);
}

double LABTXT3D_StonesA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  putCode(code, -70, 0.0);
  const int32_t y15 = y & 15;
  if (y15 == 0)
    return 0.0;
  const bool shifted = (y & 16) != 0;
  const int32_t o = courseOffset(t, y, 6);
  const int32_t xs = offset(courseShift(x, 8, shifted), o),
                zs = offset(courseShift(z, 8, shifted), o);
  const int32_t X = xs & 15, Z = zs & 15;
  if (X == 0 || Z == 0)
    return 0.0;
  const double n = grain(t, xs, y, zs);
  const int32_t g = hash3(t, 4, xs, y, zs);
  if (!stoneAHere(g & 7, within(X, 2, 14), outside(y15, 2, 14), within(Z, 2, 14)))
    return putCode(code, -80, 0.0);
  return putCode(code, truncSmall(-(((g >> 3) & 31) + 160 + 8 * n)), 1 + n / 16);
}

double LABTXT3D_StonesC(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  putCode(code, -90, 0.0);
  const int32_t y15 = y & 15;
  if (y15 == 0)
    return 0.0;
  const bool shifted = (y & 16) != 0;
  const int32_t o = courseOffset(t, y, 4);
  const int32_t xs = offset(courseShift(x, 6, shifted), o),
                zs = offset(courseShift(z, 6, shifted), o);
  const int32_t X = xs & 15, Z = zs & 15;
  if (X == 0 || Z == 0)
    return 0.0;
  const double n = grain(t, xs, y, zs);
  const int32_t g = hash3(t, 4, xs, y, zs);
  if (!stoneCHere(g & 3, X, y15, Z))
    return putCode(code, -80, 0.0);
  return putCode(code, (g >> 3) & 15, 1 + n / 16);
}

double LABTXT3D_StonesD(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  putCode(code, -100, 0.0);
  const int32_t Y = y & 31;
  if (Y == 0)
    return 0.0;
  const bool shifted = (y & 32) != 0;
  const int32_t xs = courseShift(x, 12, shifted), zs = courseShift(z, 12, shifted);
  const int32_t X = xs & 31, Z = zs & 31;
  if (X == 0 || Z == 0)
    return 0.0;
  const double n = grain(t, xs, y, zs);
  const int32_t g = hash3(t, 5, y, xs, zs);
  double v;
  switch (g & 7) {
    case 0:
      v = splitStone(X, 15, g);
      break;
    case 1:
      v = splitStone(Y, 15, g);
      break;
    case 2:
      v = splitStone(Z, 15, g);
      break;
    case 3:
      v = X == 17 ? 0.0 : 1.0;
      break;
    case 4:
      v = 3.0 * g / 4096 + 0.25;
      break;
    case 5:
      v = Y == 17 ? 0.0 : 1.0;
      break;
    case 6:
      v = Z == 17 ? 0.0 : 1.0;
      break;
    default:
      v = g / 2048.0 + 0.5;
      break;
  }
  if (v == 0.0)
    return 0.0;
  return putCode(code, (g >> 3) & 15, v + plateGrain(g, n));
}

double LABTXT3D_StonesD2D(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  putCode(code, -100, 0.0);
  const int32_t xs = courseShift(x, 12, (y & 32) != 0);
  const int32_t X = xs & 31, Y = y & 31;
  if (X == 0 || Y == 0)
    return 0.0;
  const double n = permChain2(t, xs, y, xs >> 9) / 1024.0;
  const int32_t g = permChain2(t, xs >> 5, y >> 5, xs >> 14);
  static constexpr double kGrain[4] = {0.05, 0.0125, 0.03, 0.0};
  const double fine = kGrain[(g >> 3) & 3] * n;
  const double high = g / 2048.0 + 0.25 + fine;
  double level;
  switch (g & 3) {
    case 0:
    case 1: {
      const int32_t p = (g & 3) == 1 ? Y : X;  // the axis of the split at 16
      if (p == 16)
        return 0.0;
      level = p < 16 ? 0.5 + fine : high;
      break;
    }
    case 2:
      if (g == 0)  // g / 4096 is 0: a joint
        return 0.0;
      level = g / 4096.0 + fine;
      break;
    default:
      level = high;
      break;
  }
  return putCode(code, -((g >> 3) & 31) - 150, level);
}

double LABTXT3D_StonesB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  putCode(code, kStoneBJoint, 0.0);
  const int32_t y15 = y & 15;
  if (y15 == 0)
    return 0.0;
  const bool shifted = (y & 16) != 0;
  const int32_t xs = courseShift(x, 8, shifted), zs = courseShift(z, 8, shifted);
  const int32_t q = permChain2(t, y >> 4, y >> 12, 0);
  const int32_t x9 = offset(xs, 9);
  const int32_t r = permChain2(t, x9 >> 4, x9 >> 12, 0);
  const int32_t X = offset(xs, (r % 5) + (q & 3)), Z = offset(zs, q & 3);
  const double nb = 2 * grain(t, X, y, Z);
  const int32_t A = X & 31, B = Z & 31;
  if (A == 0 || B == 0)
    return 0.0;
  const int32_t g = permChain3(t, X >> 5, y >> 4, Z >> 5, X >> 14, y >> 13);
  if ((g & 3) < 2)
    return bigMixedStone(g, A, B, y15, nb, code);
  return smallMixedStone(t, X, y, Z, nb, code);
}

double LABTXT2D_paves(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t xs = courseShift(x, 12, (y & 16) != 0);
  const int32_t X = xs & 15, Y = y & 15;
  const double n = permChain2(t, xs, y, xs >> 9) / 1024.0;
  const int32_t g = permChain2(t, xs >> 4, y >> 4, xs >> 13);
  const double s = (((g >> 3) + 3) & 7) / 40.0;
  if (paveJoint(g & 3, X, Y))
    return putCode(code, -((g >> 3) & 15) - 80, s + 0.1 + 0.02 * n);
  return putCode(code, -((g >> 3) & 15) - 120, s + 0.6 + 0.02 * n);
}
