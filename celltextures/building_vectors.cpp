#include "celltextures/building_vectors.h"

#include <algorithm>

#include "celltextures/buildings_pvt.h"
#include "celltextures/streets.h"

using kvcell::aboveThreshold;
using kvcell::bit;
using kvcell::flagSet;
using kvcell::hash3;
using kvcell::hash8;
using kvcell::Lattice3;
using kvcell::lattice3;
using kvcell::litStorey;
using kvcell::offset;
using kvcell::outside;
using kvcell::permChain2;
using kvcell::permChain3;
using kvcell::pillarsAt;
using kvcell::setPair;
using kvcell::within;

namespace {

// ---- BuildA and BuildA4 ----

// Steps 1 to 3 of the storey twins: floor band, street gap and frame. True
// when the point is done.
bool storeyLines(int32_t v, const Lattice3& l, int32_t y, dvector3d* out)
{
  const int32_t y31 = y & 31;
  const bool odd = (v & 1) != 0;
  if (y31 < 2 || y31 > 30) {
    setPair(out, 0.0, 1.0);
    if (odd)
      return true;
  }
  if (l.x15 == 0 || l.z15 == 0)
    setPair(out, 0.0, odd ? 3.0 : 0.5);
  if (!l.inner) {
    setPair(out, 0.0, v == 1 ? 2.0 : 0.0);
    return true;
  }
  return false;
}

// The window kinds the two storey twins share: 0 lit windows, 1 lit
// storeys, 3 lit windows with 8-unit light squares.
void storeyWindow(int32_t kind, int32_t h, int32_t x, int32_t y, int32_t z, dvector3d* out)
{
  const bool lit = litStorey(y);
  switch (kind) {
    case 0:
      setPair(out, lit ? aboveThreshold(h, 2.0) : 0.0, 4.0);
      break;
    case 1:
      if (lit)
        setPair(out, aboveThreshold(h, 2.1), 2.0);
      else
        setPair(out, 0.0, 1.0);
      break;
    default:
      setPair(out, lit ? aboveThreshold(h, 2.0) : 0.0, ((x & 8) && (z & 8)) ? 3.25 : 1.0);
      break;
  }
}

// ---- BuildD ----

void buildDPlain(const KVtables* t, int32_t w, int32_t x, int32_t z, dvector3d* out)
{
  const int32_t x2 = offset(x, 2), z2 = offset(z, 2);
  const int32_t x7 = x & 7, z7 = z & 7;
  out->x = 0.0;
  switch (w) {
    case 0:
      out->y = (z2 & x2 & 4) ? 2.0 : 0.0;
      break;
    case 1:
      if (x7 != 0 && z7 != 0) {
        out->y = permChain2(t, x >> 3, z >> 3, x >> 12) / 512.0;
        out->x = (x7 < 4 && ((x >> 3) & (z >> 3) & 1)) ? 4.0 : 0.0;
      } else {
        out->y = 0.0;
      }
      break;
    case 2:
      if ((z2 >> 2) & (x2 >> 2) & 1)
        setPair(out, (x2 & 8) ? 4.0 : 0.0, 2.0);
      else
        setPair(out, 0.0, 0.0);
      break;
    default: {
      const int32_t g = permChain2(t, x >> 4, z >> 2, x >> 13) - 512;
      out->y = g > 0 ? std::min(g / 128.0, 3.0) : 0.0;
      break;
    }
  }
}

// ---- BuildI ----

void buildIPlain(int32_t w, const Lattice3& l, bool fr, dvector3d* out)
{
  setPair(out, 0.0, 0.0);
  if (w == 1) {
    if (outside(l.x15, 2, 14))
      out->x = l.x15 != 0 ? 1.0 : 4.0;
    else
      out->y = fr ? 0.0 : 2.0;
  } else if (w == 3) {
    if (outside(l.z15, 2, 14))
      out->x = l.z15 != 0 ? 1.0 : 4.0;
    else
      out->y = fr ? 0.0 : 1.0;
  }
}

void buildIInner(const KVtables* t, int32_t w, int32_t x, int32_t y, int32_t z, dvector3d* out)
{
  const int32_t y8 = offset(y, 8), Y = y8 >> 4;
  switch (w) {
    case 1: {
      const bool same = bit(x, 4) == bit(z, 4);
      if (y8 & 16)
        setPair(out, aboveThreshold(hash3(t, 4, x, y8, z), 2.0), same ? 0.25 : 3.4);
      else
        setPair(out, 0.0, same ? 0.0 : 2.8);
      break;
    }
    case 2: {
      const int32_t Y8 = Y + 8;
      if (!(Y8 & 16)) {
        setPair(out, 0.0, 1.5);
        break;
      }
      const double g = permChain2(t, Y8 >> 4, x >> 8, Y8 >> 13) / 204.8;
      setPair(out, g > 2.5 ? g : 0.0, 0.0);
      break;
    }
    case 3:
      setPair(out, (Y & 3) == 3 ? 3.0 : 0.0, 2.0);
      break;
    default:
      if (!(y8 & 16))
        setPair(out, permChain2(t, Y, y8 >> 12, 0) / 1024.0, 0.0);
      else
        setPair(out, aboveThreshold(hash3(t, 4, x, y8, z), 2.0), 1.0);
      break;
  }
}

// ---- BuildV1 ----

void buildV1Core(const KVtables* t, int32_t w, const Lattice3& l, int32_t x, int32_t y, int32_t z,
                 dvector3d* out)
{
  const bool dark = (y & 16) != 0;
  const int32_t y16 = offset(y, 16);
  if (w >= 2) {
    if ((dark || outside(l.x15, 5, 11)) && outside(l.z15, 5, 11)) {
      setPair(out, 0.0, 0.0);
      return;
    }
  } else if (dark) {
    setPair(out, 0.0, (y16 & 8) ? 0.02 : 0.22);
    return;
  }
  const int32_t h = hash8(t, x, y16, z);
  const double r = h / 256.0;
  setPair(out, h < 801 ? 1.0 : r >= 1.5 ? r : 0.0, 2.0);
}

// ---- BuildF ----

void buildFWindow(const KVtables* t, int32_t w, int32_t x, int32_t y6, int32_t z, dvector3d* out)
{
  const int32_t h = hash8(t, x, y6, z);
  switch (w) {
    case 1:
      setPair(out, aboveThreshold(h, 3.0), 2.5);
      return;
    case 2:
      setPair(out, 0.0, 3.0);
      return;
    case 3:
      if ((y6 & 15) == 15)
        setPair(out, 4.0, 4.0);
      else
        setPair(out, 0.0, 1.0);
      return;
    default:
      break;
  }
  if (y6 < 32) {
    setPair(out, 2.0, 1.0);
  } else if (y6 & 16) {
    setPair(out, aboveThreshold(h, 3.0), 1.5);
  } else {
    const int32_t sel = (h >> 2) & 3;
    setPair(out, sel == 1 ? 0.0 : sel == 2 ? 4.0 : aboveThreshold(h, 1.0), 2.5);
  }
}

// Light 3.5 where bit 3 of x differs from bit 3 of z.
double crossLight(int32_t x, int32_t z)
{
  return bit(x, 3) == bit(z, 3) ? 0.0 : 3.5;
}

}  // namespace

void LABTXT3D_AR_BuildA(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code)
{
  const int32_t v = code[0] & 7;
  if (!flagSet(code)) {
    if ((v & 3) > 1)
      pillarsAt(x, z, out);
    else
      setPair(out, 0.0, 0.0);
    return;
  }
  const Lattice3 l = lattice3(x, y, z);
  if (storeyLines(v, l, y, out))
    return;
  const int32_t h = hash8(t, x, y, z);
  switch (v) {
    case 0:
    case 4:
      storeyWindow(0, h, x, y, z, out);
      break;
    case 1:
      storeyWindow(1, h, x, y, z, out);
      break;
    case 2:
    case 6:
      setPair(out, aboveThreshold(h, 3.25), v == 6 ? 1.0 : 3.5);
      break;
    case 5: {
      double height = 0.0;
      if (!litStorey(y))
        height = ((y >> 3) & 3) == 3 ? 3.0 : 0.0;
      else if (y & 8)
        height = aboveThreshold(h, 2.1);
      setPair(out, height, 1.5);
      break;
    }
    default:
      storeyWindow(3, h, x, y, z, out);
      break;
  }
}

void LABTXT3D_AR_BuildA4(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                         int16_t* code)
{
  const int32_t w = code[0] & 3;
  if (!flagSet(code)) {
    if (w > 1)
      pillarsAt(x, z, out);
    else
      setPair(out, 0.0, 0.0);
    return;
  }
  const Lattice3 l = lattice3(x, y, z);
  if (storeyLines(w, l, y, out))
    return;
  const int32_t h = hash8(t, x, y, z);
  if (w == 2)
    setPair(out, aboveThreshold(h, 3.25), 4.0);
  else
    storeyWindow(w, h, x, y, z, out);
}

void LABTXT3D_AR_BuildD(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code)
{
  const int32_t c = code[0], w = c & 3;
  if (!flagSet(code)) {
    buildDPlain(t, w, x, z, out);
    return;
  }
  const int32_t y31 = y & 31;
  if (kvcell::gapAt(c, x, z)) {
    setPair(out, 0.15, (c & 1) ? 3.5 : 0.0);
    return;
  }
  if (c == 2 ? y31 > 24 : (y31 < 8 || y31 > 24)) {
    setPair(out, 0.0, 0.0);
    return;
  }
  if (!lattice3(x, y, z).inner) {
    setPair(out, 0.5, 0.0);
    return;
  }
  const double r = hash8(t, x, y, z) / 256.0;
  const double R = r >= 1.5 ? r : 0.0;
  if (w == 0)
    setPair(out, (y & 8) ? R : 0.0, 2.0);
  else if ((w == 1 || w == 3) && !(y & 8))
    setPair(out, 0.0, 1.0);
  else
    setPair(out, R, 2.0);
}

void LABTXT3D_AR_BuildI(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code)
{
  const int32_t w = code[0] & 3;
  const Lattice3 l = lattice3(x, y, z);
  const bool fr = l.x7 == 0 || l.z7 == 0;
  if (!flagSet(code)) {
    buildIPlain(w, l, fr, out);
    return;
  }
  if (outside(l.x15, 2, 14) || outside(l.z15, 2, 14)) {
    if ((code[0] & 1) == 0)
      setPair(out, 0.0, fr ? 4.0 : 2.0);
    else
      setPair(out, (fr && w == 1) ? 2.0 : 0.0, 0.0);
    return;
  }
  if (l.inner) {
    buildIInner(t, w, x, y, z, out);
    return;
  }
  setPair(out, 0.0, (l.y7 != 0 && w == 2 && !(x & z & 16)) ? 3.5 : 0.0);
}

void LABTXT3D_AR_BuildV1(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                         int16_t* code)
{
  const int32_t w = code[0] & 3;
  if (!flagSet(code)) {
    setPair(out, 0.0, 0.0);
    return;
  }
  const Lattice3 l = lattice3(x, y, z);
  if (within(l.x15, 3, 13) && within(l.z15, 3, 13)) {
    if (l.inner)
      buildV1Core(t, w, l, x, y, z, out);
    else
      setPair(out, 0.5, 0.0);
    return;
  }
  const bool both = l.x15 != 0 && l.z15 != 0;
  switch (w) {
    case 3:
      setPair(out, (!both && (offset(y, 8) & 64)) ? 3.0 : 0.0, both ? 1.0 : 0.0);
      break;
    case 2:
      setPair(out, 0.0, both ? 0.0 : 1.0);
      break;
    default:
      setPair(out, 0.0, (within(l.x15, 2, 14) && within(l.z15, 2, 14)) ? 2.0 : 3.5);
      break;
  }
}

void LABTXT3D_AR_BuildE(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code)
{
  const int32_t w = code[0] & 7;
  if (!flagSet(code)) {
    setPair(out, 0.0, 0.0);
    return;
  }
  const Lattice3 l = lattice3(x, y, z);
  if (outside(l.x7, 2, 6) || outside(l.z7, 2, 6) || (y > 31 && outside(l.y7, 2, 6))) {
    bool line = false;
    if (w == 0 || w == 1)
      line = l.x7 == 0 || l.y7 == 0 || l.z7 == 0;
    else if (w == 2 || w == 3 || w == 5)
      line = l.x7 == 0 || l.z7 == 0;
    setPair(out, 0.0, line ? 1.5 : 0.0);
    return;
  }
  const int32_t Y = y > 31 ? y >> 3 : 0;
  const double r = permChain3(t, x >> 3, Y, z >> 3, x >> 12, Y >> 9) / 1024.0;
  const double R = (Y & 1) ? 0.0 : 4.0 * r;
  switch (w) {
    case 0:
      setPair(out, R, 0.5);
      break;
    case 1:
    case 5:
      setPair(out, R, 0.5 * r + 1.0);
      break;
    case 4:
      setPair(out, R, 0.0);
      break;
    case 7:
      setPair(out, 0.0, 1.0);
      break;
    default:
      setPair(out, 4.0 * r > 2.0 ? 4.0 * r : 0.0, (Y & 1) ? 1.0 : 0.0);
      break;
  }
}

void LABTXT3D_AR_BuildF(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code)
{
  const int32_t w = code[0] & 3;
  if (!flagSet(code)) {
    const int32_t m = offset(z, 2) & offset(x, 2);
    if (w < 2 || !(m & 4))
      setPair(out, 0.0, 0.0);
    else
      setPair(out, (m & 8) ? 4.0 : 0.0, 2.0);
    return;
  }
  const int32_t y6 = offset(y, 6);
  const bool edge = outside(x & 15, 2, 14) || outside(z & 15, 2, 14);
  const bool roof = y6 <= 30 ? edge : (y6 & 15) < 8;
  if (roof)
    setPair(out, 0.0, w == 0 ? 0.25 : w == 2 ? 0.5 : 0.0);
  else if (edge)
    setPair(out, 0.0, 0.0);
  else
    buildFWindow(t, w, x, y6, z, out);
}

void LABTXT3D_AR_BuildVlines(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                             int16_t* code)
{
  const Lattice3 l = lattice3(x, y, z);
  if (!flagSet(code) || l.x15 == 0 || l.z15 == 0 || !l.inner) {
    setPair(out, 0.0, 0.0);
    return;
  }
  setPair(out, (y & 8) ? aboveThreshold(hash8(t, x, y, z), 2.0) : 0.0, crossLight(x, z));
}

void LABTXT3D_AR_BuildBW(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                         int16_t* code)
{
  if (flagSet(code) && lattice3(x, y, z).inner && !(y & 8))
    setPair(out, aboveThreshold(hash8(t, x, y, z), 2.0), crossLight(x, z));
  else
    setPair(out, 0.0, 0.0);
}

void LABTXT3D_AR_cityA(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                       int16_t* code)
{
  StreetsNetworkMask(t, offset(x, 15) >> 4, offset(z, 15) >> 4, 0.0, &code[0]);
  const int32_t c = code[0];
  if (c < 0) {
    setPair(out, 0.0, 0.0);
    return;
  }
  const int32_t xs = offset(x, 11), zs = offset(z, 11);
  const int32_t b = c + permChain2(t, xs >> 11, zs >> 9, xs >> 20);
  CellTexture3DVecProc cell = nullptr;
  switch (b & 15) {
    case 0:
      cell = (b & 16) ? LABTXT3D_AR_BuildV1 : LABTXT3D_AR_BuildAalt;
      break;
    case 1:
      cell = LABTXT3D_AR_BuildA4;
      break;
    case 2:
    case 5:
      code[0] = int16_t(c & 3);
      cell = LABTXT3D_AR_BuildB;
      break;
    case 6:
    case 13:
      cell = LABTXT3D_AR_BuildV1;
      break;
    case 9:
      cell = LABTXT3D_AR_BuildA;
      break;
    case 10:
      cell = LABTXT3D_AR_BuildE;
      break;
    case 11:
      cell = LABTXT3D_AR_BuildI;
      break;
    case 12:
      cell = LABTXT3D_AR_BuildD;
      break;
    case 15:
      cell = LABTXT3D_AR_BuildF;
      break;
    default:  // 3, 4, 7, 8 and 14: no building
      setPair(out, 0.0, 0.0);
      return;
  }
  cell(t, xs, y, zs, out, code);
}
