#include "celltextures/city_techset.h"

#include "celltextures/buildings_pvt.h"

using kvcell::hash3;
using kvcell::hash8;
using kvcell::Lattice3;
using kvcell::lattice3;
using kvcell::permChain2;
using kvcell::putCode;
using kvcell::within;

namespace {

bool odd(int32_t v)
{
  return (v & 1) != 0;
}

// Inside the box strictly between lo and hi on all three 16-unit positions.
bool insideBox(int32_t lo, int32_t hi, int32_t x15, int32_t y15, int32_t z15)
{
  auto in = [&](int32_t p) { return p > lo && p < hi; };
  return in(x15) && in(y15) && in(z15);
}

// The base solid of the stepped blocks by kind (0..7): which of the three
// 16-unit positions must lie in 1..14.
bool mayanBaseSolid(int32_t kind, bool xi, bool yi, bool zi)
{
  switch (kind) {
    case 0:
      return xi && yi;
    case 1:
      return xi && zi;
    case 2:
      return yi && zi;
    case 3:
      return xi && yi && zi;
    case 4:
      return xi;
    case 5:
      return yi;
    case 6:
      return zi;
    default:
      return false;
  }
}

// The level and code that one storey rule of the city blocks gives; code
// kUnchanged keeps the code set from the hash.
constexpr int32_t kUnchanged = 0x10000;
struct LevelCode
{
  double level;
  int32_t code = kUnchanged;
};

LevelCode cityStorey(int32_t t, int32_t h, const Lattice3& l)
{
  const bool xh = l.x7 >= 4;
  const bool mid = within(l.x7, 2, 5) && within(l.y7, 2, 5);
  switch (t) {
    case 0:
      return {1.0};
    case 1:
      return {-0.5};
    case 2:
      return xh ? LevelCode{-0.5, -150} : LevelCode{1.0, 0};
    case 3:
      return l.y7 < 4 ? LevelCode{1.0} : LevelCode{-0.5, -150};
    case 4:
      return mid ? LevelCode{1.0, 1} : LevelCode{0.25, -150};
    case 5:
      return mid ? LevelCode{0.5, 2} : LevelCode{-0.5, -120};
    case 6:
      return l.x7 < 5 ? LevelCode{-0.5, -64} : LevelCode{0.5, -220};
    case 7:
      return l.y7 < 5 ? LevelCode{-0.5, -64} : LevelCode{0.5, 3};
    case 8:
      return {l.x7 == 4 ? -0.5 : l.x7 < 4 ? 1.0 : 0.5};
    case 9:
      return {l.y7 == 4 ? -0.5 : l.y7 < 4 ? 1.0 : 0.5};
    case 10:
      return {xh ? -0.5 : 0.5};
    case 11:
      return l.y7 > 3 ? LevelCode{-0.5} : LevelCode{0.5, -80};
    case 12:
      return {0.5};
    case 13:
      return xh ? LevelCode{-0.5, -150} : LevelCode{0.25};
    case 14:
      return l.y7 > 3 ? LevelCode{-0.5, -150} : LevelCode{0.25};
    default:  // 15
      return mid ? LevelCode{2.0, h & 3} : LevelCode{-0.5, -64 - (h & 127)};
  }
}

int32_t cityHashCode(int32_t t, int32_t h)
{
  switch (t) {
    case 0:
      return -150;
    case 1:
      return 5;
    case 4:
      return (h >> 4) & 15;
    case 8:
      return (h >> 4) & 3;
    case 11:
      return (h >> 4) & 8;
    default:
      return -100;
  }
}

// The storey hash of the sign cells: one value per 16 units of y.
int32_t storeyHash(const KVtables* t, int32_t y)
{
  return permChain2(t, y >> 4, y >> 12, 0);
}

// The bar test of the small tiles: whether the point lies in the lower 3
// units of axis a (0 x, 1 y, 2 z).
bool lowBar(int32_t axis, const Lattice3& l)
{
  return (axis == 0 ? l.x7 : axis == 1 ? l.y7 : l.z7) < 3;
}

}  // namespace

double LABTXT3D_A(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if (!lattice3(x, y, z).inner)
    return putCode(code, -12, 0.0);
  const int32_t h = hash8(t, x, y, z), low = h & 3, s = (h >> 3) & 7;
  const bool yb = (y & 8) != 0;
  static constexpr int16_t kCodes[5][2] = {
      {-110, -110}, {-175, -175}, {-200, -240}, {-120, -24}, {-150, -50}};
  const int32_t c = s < 5 ? kCodes[s][yb] : low + (yb ? 0 : 4);
  return putCode(code, c, low != 0 ? h / 1024.0 : 0.25);
}

double LABTXT3D_Mayan(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t h = hash3(t, 4, y, x, z);
  const double d = h / 2048.0;
  const int32_t x15 = x & 15, y15 = y & 15, z15 = z & 15;
  const bool solid =
      mayanBaseSolid((h >> 4) & 7, within(x15, 1, 14), within(y15, 1, 14), within(z15, 1, 14));
  double level = putCode(code, solid ? -100 : -60, solid ? 0.25 : 0.0);
  auto step = [&](int32_t lo, int32_t hi, int32_t c) {
    if (insideBox(lo, hi, x15, y15, z15)) {
      level += d;
      putCode(code, c, 0.0);
    }
  };
  switch (h & 7) {
    case 4:
      for (int32_t i = 1; i <= 7; i++)
        step(i, 15 - i, ((i - 1) & 3) + 8);
      break;
    case 1:
    case 2:
      for (int32_t i = 2; i <= 5; i++)
        step(i, 15 - 2 * i, (i + 2) & 3);
      break;
    case 6:
      for (int32_t i = 3; i <= 11; i += 2)
        step(i, 15 - i, ((i - 1) & 3) + 12);
      break;
    default:
      break;
  }
  return level;
}

double LABTXT3D_City(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if ((x & 15) < 2 || (z & 15) < 2)
    return putCode(code, -50, -0.75);
  const int32_t h = hash8(t, x, y, z), kind = h & 15;
  const LevelCode r = cityStorey(kind, h, lattice3(x, y, z));
  return putCode(code, r.code == kUnchanged ? cityHashCode(kind, h) : r.code, r.level);
}

double LABTXT3D_VStrat(const KVtables* t, int32_t /*x*/, int32_t y, int32_t /*z*/, int16_t* code)
{
  const int32_t a = permChain2(t, y >> 3, y >> 11, 0);
  const int32_t b = (a >> 2) + t->perm[y & 7];
  const double level = (0.75 * a + 0.25 * permChain2(t, y, y >> 8, 0)) / 1024.0;
  return putCode(code, (b & 127) < 65 ? -16 - 3 * (b & 127) : b & 15, level);
}

double LABTXT3D_CubeGrid(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t h = hash3(t, 3, y, x, z);
  const bool xin = within(x & 7, 1, 6), yin = within(y & 7, 1, 6), zin = within(z & 7, 1, 6);
  if ((!xin || !yin) && !(zin && (xin || yin)))
    return putCode(code, 7, 1.0);
  const int32_t c = h >= 512 ? ((h & 16) ? 5 : 4) : (h >> 4) & 3;
  return putCode(code, c, h / 2048.0);
}

double LABTXT3D_BSigns(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  putCode(code, 4, 0.0);
  if ((y & 15) < 6)
    return 0.0;
  const int32_t st = hash3(t, 2, y, x, z) & 3;
  if (st >= 2)
    return 0.0;
  const bool onSign = ((st == 0 ? x : y) & 3) <= 1;
  if (!onSign)
    return 0.25;
  const int32_t p = storeyHash(t, y);
  return putCode(code, (z & 16) ? p & 3 : (p % 3) + 5, 0.75);
}

double LABTXT3D_ASigns(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  putCode(code, 4, 0.0);
  if ((y & 15) < 6)
    return 0.0;
  const int32_t r = hash3(t, 2, y, x, z) % 6;
  if (r >= 3)
    return 0.125;
  const int32_t along = r == 0 ? x : r == 1 ? y : z;
  if ((along & 3) > 1)
    return 0.25;
  return putCode(code, storeyHash(t, y) & 7, 0.75);
}

double LABTXT3D_TA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  putCode(code, 4, 0.0);
  // By h mod 9: the axis of the bar, its code and its level.
  struct Bar
  {
    int32_t axis, code;
    double level;
  };
  static constexpr Bar kBars[9] = {{0, 0, 0.6}, {1, 1, 0.8}, {2, 2, 1.0}, {0, 3, 0.6}, {1, 2, 0.8},
                                   {2, 1, 1.0}, {0, 1, 0.6}, {1, 2, 0.8}, {2, 3, 1.0}};
  const Bar& bar = kBars[hash8(t, x, y, z) % 9];
  const Lattice3 l = lattice3(x, y, z);
  return lowBar(bar.axis, l) ? putCode(code, bar.code, bar.level) : 0.0;
}

double LABTXT3D_TB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t h = hash3(t, 4, x, y, z);
  putCode(code, 4, 0.0);
  if ((x & 15) == 0 || (y & 15) == 0 || (z & 15) == 0)
    return putCode(code, 3, 1.0);
  switch (h % 4) {
    case 0:
      return putCode(code, 5, 0.0);
    case 1:
      return (x & 3) == 0 || (y & 3) == 0 || (z & 3) == 0 ? putCode(code, 1, 0.5) : 0.0;
    case 2:
      return (x & 7) == 0 || (y & 7) == 0 || (z & 7) == 0 ? putCode(code, 2, 0.75) : 0.0;
    default:
      return 0.0;
  }
}

double LABTXT3D_TC(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const Lattice3 l = lattice3(x, y, z);
  if (!l.inner)
    return putCode(code, 4, 0.0);
  putCode(code, 5, 0.0);
  const int32_t r = hash8(t, x, y, z) % 9;
  const int32_t p[3] = {x, y, z}, p7[3] = {l.x7, l.y7, l.z7};
  if (r < 3)
    return odd(p[r]) ? putCode(code, r, 0.75) : 0.0;
  if (r < 6) {  // a line at 3 along one axis, on odd points of the next
    const int32_t a = r - 3;
    return p7[a] == 3 && odd(p[(a + 1) % 3]) ? putCode(code, 3, 1.0) : 0.0;
  }
  // a grid of odd points in the plane of two axes, cut to 2..5 on the second
  const int32_t a = r - 6, b = (a + 1) % 3;
  return odd(p[a]) && odd(p[b]) && within(p7[b], 2, 5) ? putCode(code, 7, 1.0) : 0.0;
}
