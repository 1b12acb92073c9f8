#include "celltextures/buildings.h"

#include <algorithm>

#include "celltextures/buildings_pvt.h"

using kvcell::bit;
using kvcell::hash3;
using kvcell::hash8;
using kvcell::Lattice3;
using kvcell::lattice3;
using kvcell::offset;
using kvcell::outside;
using kvcell::permChain2;
using kvcell::permChain3;
using kvcell::putCode;
using kvcell::within;

namespace {

// ---- BuildA ----

// The floor band of the variants that draw one.
double buildAFloor(int32_t v, int32_t y31, int16_t* code)
{
  switch (v) {
    case 0:
      *code = -180;
      break;
    case 2:
      *code = y31 == 1 ? -120 : -100;
      break;
    case 3:
      *code = y31 == 0 ? 6 : 5;
      break;
    case 4:
    case 6:
      *code = y31 == 1 ? -200 : -140;
      break;
    default:
      break;
  }
  return 0.1;
}

double buildAFrame(int32_t v, int16_t* code)
{
  switch (v) {
    case 0:
      return putCode(code, 5, 0.5);
    case 1:
      return putCode(code, 4, 0.5);
    case 2:
      return putCode(code, -64, 0.5);
    case 3:
      return putCode(code, 6, 0.5);
    case 4:
    case 5:
      return putCode(code, -120, 0.2);
    case 6:
      return putCode(code, -120, 0.5);
    default:
      return 0.5;
  }
}

double buildAWindow(int32_t v, int32_t h, int32_t y, int16_t* code)
{
  switch (v) {
    case 0:
      return putCode(code, h & 3, 0.25);
    case 1:
      return putCode(code, (h & 3) + 8, 0.25);
    case 2:
      return putCode(code, (h & 7) + 32, 0.25);
    case 3:
      return putCode(code, (y & 8) ? (h & 3) + 40 : 4, 0.25);
    case 4:
    case 5:
    case 6: {
      if (y & 8)
        return putCode(code, (h & 3) + 24, 0.4);
      const double level = h < 701 ? 0.75 : 1.0;
      const int32_t c = v == 4 ? h & 3 : v == 5 ? (h & 3) + 8 : -128 - (h & 31);
      return putCode(code, c, level);
    }
    default:
      return 0.25;
  }
}

// ---- BuildI ----

double buildIInner(const KVtables* t, int32_t w, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t y8 = offset(y, 8);
  switch (w) {
    case 1:
      return putCode(code, bit(x, 4) != bit(z, 4) ? ((y & 16) ? 11 : 10) : -120, 0.0);
    case 2:
      if (!((x & 16) && (z & 16)))
        return putCode(code, (hash3(t, 4, x, y, z) & 7) + 32, 0.0);
      return putCode(code, (y & 16) ? 16 : -75, 0.0);
    case 3: {
      const int32_t sum = ((x >> 3) & 3) + ((z >> 3) & 1) + 56;
      return putCode(code, (y8 & 16) ? sum + 8 : sum, 0.0);
    }
    default:
      if (!(y8 & 16))
        return putCode(code, -130 - 16 * (bit(x, 4) + bit(z, 4)), 0.0);
      return putCode(code, (hash3(t, 4, x, y8, z) & 7) + 40, 0.0);
  }
}

// ---- BuildV1 ----

double buildV1Inner(const KVtables* t, int32_t w, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t y8 = offset(y, 8);
  const Lattice3 l = lattice3(x, y, z);
  if (w == 0) {
    if (y & 16)
      return putCode(code, (y8 & 8) ? -140 : -100, 0.25);
    if (y8 < 32)
      return putCode(code, bit(x, 4) == bit(z, 5) ? 72 : 16, 0.0);
    const int32_t h = hash8(t, x, y8, z);
    return putCode(code, h < 801 ? (h & 3) + 16 : h & 1, 0.0);
  }
  if (w == 1) {
    if (y & 16)
      return putCode(code, -64, 0.25);
    const int32_t h = permChain3(t, y8 >> 5, x >> 3, z >> 3, y8 >> 14, x >> 12);
    return putCode(code, h < 801 ? (h & 3) + 24 : (h & 7) + 32, 0.0);
  }
  if (((y & 16) || outside(l.x15, 5, 11)) && outside(l.z15, 5, 11))
    return putCode(code, ((y & 16) && w == 2) ? 5 : 56, 0.25);
  return putCode(code, (hash8(t, offset(x, 3), y8, offset(z, 3)) & 7) + 40, 0.0);
}

// ---- BuildF ----

double buildFWindow(const KVtables* t, int32_t w, int32_t x, int32_t y6, int32_t z, int16_t* code)
{
  const int32_t h = hash8(t, x, y6, z), sel = (h >> 2) & 3;
  const double hLevel = h / 1024.0;
  switch (w) {
    case 1: {
      const bool detail = (sel == 1 && (y6 & 7) < 4) || (sel == 2 && (x & 7) < 4);
      const int32_t c = detail ? (h & 7) + 56 : (sel == 1 || sel == 2) ? 56 : (h & 3) + 56;
      return putCode(code, c, hLevel);
    }
    case 2:
      return putCode(code, 32, 0.0);
    case 3:
      if ((y6 & 15) == 15)
        return putCode(code, 102, 0.0);
      return bit(x, 3) == bit(z, 3) ? putCode(code, 16, 0.5) : putCode(code, -2, 0.0);
    default:
      break;
  }
  if (y6 <= 31) {
    const int32_t g = permChain2(t, x >> 3, z >> 3, x >> 12);
    return putCode(code, (g & 1) ? -8 : (g & 7) + 16, 1.0);
  }
  switch (sel) {
    case 1:
      return putCode(code, ((y6 >> 3) & 7) > 3 ? (h & 7) + 16 : h & 3, hLevel);
    case 2:
      if (((x >> 3) & 7) > 3)
        return putCode(code, (h & 7) + 16, hLevel);
      return putCode(code, h & 3, 1.0);
    default:
      return putCode(code, -8, hLevel);
  }
}

// ---- BuildOthers ----

struct OthersPoint
{
  int32_t x, y, z, k;
  Lattice3 l;
  bool edge;  // x7 < 3 or z7 < 3
  bool y8;    // y & 8 clear
};

// (((x >> 2) + (z >> 2)) >> 1): the 4-unit diagonal index.
int32_t diagonal4(int32_t x, int32_t z)
{
  return ((x >> 2) + (z >> 2)) >> 1;
}

// The 4-unit hash of the storey kinds 4 and 6.
int32_t storeyHash4(const KVtables* t, const OthersPoint& p)
{
  return permChain3(t, p.y >> 3, p.x >> 2, p.z >> 2, p.y >> 12, p.x >> 11);
}

double others0(const KVtables* t, const OthersPoint& p, int16_t* code)
{
  if (!p.edge)
    return p.y8 ? putCode(code, -10, 0.8) : putCode(code, -40, 0.0);
  if (p.y8)
    return putCode(code, -190, 0.3);
  const int32_t h = permChain2(t, p.x >> 2, p.z >> 2, p.x >> 11);
  return putCode(code, h > 700 ? (h & 3) + 8 : -190, (h & 3) * 0.125);
}

double others1(const KVtables* t, const OthersPoint& p, int16_t* code)
{
  if (!(p.k & 1)) {
    if (p.l.y7 >= 3)
      return putCode(code, 12, 0.125);
    return p.edge ? putCode(code, (p.k & 7) + 24, 0.5) : putCode(code, (p.k & 7) + 32, 1.0);
  }
  if (p.y8) {
    const int32_t h = hash8(t, p.x, p.y, p.z);
    return putCode(code, (diagonal4(p.x, p.z) & 3) + 8, (h & 7) * 0.125);
  }
  return putCode(code, 6, p.edge ? 0.5 : 0.0);
}

double others2(const KVtables* t, const OthersPoint& p, int16_t* code)
{
  const bool kOdd = (p.k & 1) != 0;
  if (!(p.l.inner && p.l.y7 >= 3))
    return putCode(code, kOdd ? 12 : -190, 0.1);
  if (kOdd) {
    const int32_t g = permChain3(t, p.y >> 2, p.x >> 3, p.z >> 3, p.y >> 11, p.x >> 12);
    return putCode(code, -220, std::max(0, (g & 7) - 2) / 7.0);
  }
  const int32_t h = hash8(t, p.x, p.y, p.z);
  if (p.y & 8)
    return putCode(code, ((((p.x >> 5) + (p.z >> 5)) >> 1) & 3) + 24, (h & 3) * 0.125 + 0.4);
  return putCode(code, (h & 3) + 8, (h & 7) * 0.125);
}

double others3(const KVtables* t, const OthersPoint& p, int16_t* code)
{
  if (p.l.x7 < 2 || p.l.z7 < 2)
    return putCode(code, -180, 0.15);
  if (p.l.y7 < 4)
    return putCode(code, (p.k & 1) + 12, 0.5);
  return putCode(code, (hash8(t, p.x, p.y, p.z) & 3) + 8, 0.0);
}

double others4(const KVtables* t, const OthersPoint& p, int16_t* code)
{
  const Lattice3& l = p.l;
  if (p.k & 1) {
    if (within(l.x7, 3, 5) && within(l.z7, 3, 5) && l.y7 >= 4)
      return putCode(code, -32, 1.0);
    return l.inner ? putCode(code, 7, 0.0) : putCode(code, 6, 0.25);
  }
  if (within(l.x7, 2, 5) && within(l.z7, 2, 5) && within(l.y7, 2, 5)) {
    const int32_t g = storeyHash4(t, p) & 7;
    return putCode(code, g + 16, g * 0.125 + 0.5);
  }
  return putCode(code, -210, (l.z7 >= 1 && l.x7 != 0) ? 0.0 : 0.5);
}

double others5(const KVtables* t, const OthersPoint& p, int16_t* code)
{
  if (!(p.k & 1)) {
    if (p.l.y7 < 3)
      return putCode(code, -128, 0.25);
    if (p.edge)
      return putCode(code, -50, 0.3);
    const int32_t h = hash8(t, p.x, p.y, p.z);
    return putCode(code, (h & 7) + 32, (h & 7) * 0.0625 + 0.5);
  }
  if (p.l.y7 < 3)
    return putCode(code, -128, 0.5);
  if (p.l.z7 == 0 || p.l.x7 == 0)
    return putCode(code, -100, 0.3);
  return putCode(code, (hash8(t, p.x, p.y, p.z) & 3) + 8, 0.0);
}

double others6(const KVtables* t, const OthersPoint& p, int16_t* code)
{
  const int32_t k = p.k;
  if (!(k & 1)) {
    if (p.y8)
      return putCode(code, ((k >> 1) & 3) + 4, 0.0);
    const int32_t g = storeyHash4(t, p);
    return putCode(code, (k & 2) ? (g & 3) + 32 : g & 3, (g & 7) * 0.125);
  }
  if (p.y8)
    return putCode(code, -180, 0.0);
  if (!p.l.inner)
    return putCode(code, -100, 0.5);
  if (k & 2)
    return putCode(code, ((k >> 1) & 3) + 24, 0.5);
  return putCode(code, ((diagonal4(p.x, p.z) + (k >> 1)) & 3) + 8, 1.0);
}

double others7(const KVtables* t, const OthersPoint& p, int16_t* code)
{
  const bool kOdd = (p.k & 1) != 0;
  if (p.l.y7 <= 3)
    return putCode(code, kOdd ? -100 : 16, 0.8);
  if (p.l.x7 < 2 || p.l.z7 < 2)
    return putCode(code, kOdd ? -140 : 32, 0.3);
  const int32_t h = hash8(t, p.x, p.y, p.z);
  return putCode(code, (h & 3) + 8, h >= 941 ? 1.0 : h > 800 ? 0.75 : 0.0);
}

using OthersRule = double (*)(const KVtables*, const OthersPoint&, int16_t*);
constexpr OthersRule kOthers[8] = {others0, others1, others2, others3,
                                   others4, others5, others6, others7};

}  // namespace

double LABTXT3D_BuildA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t v = *code % 7;
  const int32_t y31 = y & 31;
  if ((y31 < 2 || y31 > 30) && v != 1 && v != 5)
    return buildAFloor(v, y31, code);
  const Lattice3 l = lattice3(x, y, z);
  if (l.x15 == 0 || l.z15 == 0)
    return putCode(code, v < 6 ? 6 : -180, 0.75);
  if (!l.inner)
    return buildAFrame(v, code);
  return buildAWindow(v, hash8(t, x, y, z), y, code);
}

double LABTXT3D_BuildA4(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t w = *code & 3;
  const int32_t y31 = y & 31;
  if ((y31 <= 1 && w != 1) || y31 > 30) {
    if (w == 2)
      return putCode(code, y31 != 0 ? -100 : -50, 0.5);
    if (w != 0)
      return putCode(code, 7, 1.0);
    *code = 7;
  }
  const Lattice3 l = lattice3(x, y, z);
  if (l.x15 == 0 || l.z15 == 0)
    return putCode(code, w == 1 ? -60 : 6, 0.75);
  if (!l.inner)
    return putCode(code, w == 0 ? 5 : w == 1 ? -70 : -120, 0.5);
  const int32_t h = hash8(t, x, y, z);
  switch (w) {
    case 1:
      return putCode(code, -(h % 48) - 110, 0.25);
    case 2:
    case 3:
      return putCode(code, (y & 16) ? 17 : (h & 3) + 8, 0.25);
    default:
      if (y & 16)
        return putCode(code, (((z >> 3) ^ (x >> 3)) & 1) + 6, 1.0);
      return putCode(code, (h & 3) + 8, 0.25);
  }
}

double LABTXT3D_BuildI(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t w = *code & 3;
  const Lattice3 l = lattice3(x, y, z);
  if (outside(l.x15, 2, 14) || outside(l.z15, 2, 14))
    return putCode(code, (l.x7 != 0 && l.z7 != 0) ? -100 : -128, 1.0);
  if (l.inner)
    return buildIInner(t, w, x, y, z, code);
  if (l.y7 > 0 && w == 2)
    return putCode(code, (x & z & 16) ? -100 : -240, 0.5);
  return putCode(code, -80, 0.5);
}

double LABTXT3D_BuildV1(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  int32_t w = *code & 3;
  if ((w & 1) == 0 && (z & 256))
    w += 1;
  const Lattice3 l = lattice3(x, y, z);
  if (within(l.x15, 3, 13) && within(l.z15, 3, 13)) {
    if (!l.inner)
      return putCode(code, w < 2 ? -120 : 4, 0.75);
    return buildV1Inner(t, w, x, y, z, code);
  }
  int32_t c = (within(l.x15, 2, 14) && within(l.z15, 2, 14)) ? 4 : 5;
  if (w == 3 && (l.x15 == 0 || l.z15 == 0) && (offset(y, 8) & 64))
    c = 2;
  return putCode(code, c, 1.0);
}

double LABTXT3D_BuildE(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t w = *code & 7;
  const int32_t X = x >> 3, Z = z >> 3;
  const Lattice3 l = lattice3(x, y, z);
  const bool edge = outside(l.x7, 2, 6) || outside(l.z7, 2, 6);
  const int32_t wall = (l.z7 == 0 || l.x7 == 0 || l.y7 == 0) ? -90 : -110;
  if (edge || (y > 31 && outside(l.y7, 2, 6)))
    return putCode(code, wall, 1.0);
  // Every storey below 32 hashes as storey 0.
  const int32_t Y = y > 31 ? y >> 3 : 0;
  const int32_t h = permChain3(t, X, Y, Z, X >> 9, Y >> 9);
  const bool xOdd = (X & 1) != 0, zOdd = (Z & 1) != 0;
  switch (w) {
    case 1:
    case 2:
      return putCode(code, xOdd == zOdd ? -40 : 10, 0.0);
    case 3:
      return putCode(code, (xOdd || zOdd) ? 2 : 10, 0.0);
    case 5:
      return putCode(code, (xOdd && zOdd && h > 512) ? h & 3 : -20, 0.0);
    case 6:
      return putCode(code, (xOdd && zOdd) ? -2 : -40, 0.0);
    case 7:
      return putCode(code, -2, 0.0);
    default:
      return putCode(code, h > 512 ? (h & 7) + 40 : (h & 3) + 4, 0.0);
  }
}

double LABTXT3D_BuildF(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t w = *code & 3;
  const int32_t y6 = offset(y, 6), y15 = y6 & 15;
  const Lattice3 l = lattice3(x, y, z);
  const bool edge = outside(l.x15, 2, 14) || outside(l.z15, 2, 14);
  const bool roof = y6 < 31 ? edge : y15 < 8;
  if (roof) {
    static constexpr int16_t kRoof[4][2] = {{58, 60}, {4, 5}, {-92, -120}, {4, 5}};
    return putCode(code, kRoof[w][y15 != 0], 0.0);
  }
  if (edge)
    return putCode(code, -60, 0.5);
  return buildFWindow(t, w, x, y6, z, code);
}

double LABTXT3D_BuildOthers(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  OthersPoint p{x, y, z, *code >> 4, lattice3(x, y, z), false, (y & 8) == 0};
  p.edge = p.l.x7 < 3 || p.l.z7 < 3;
  return kOthers[*code & 7](t, p, code);
}

double Tnoises_VHrects(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t h = hash8(t, x, y, z);
  const int32_t c = kvcell::rectSelector(h, x, y, z) + 8 * (h & 15);
  *code = int16_t(c);
  return (c & 63) / 64.0;
}
