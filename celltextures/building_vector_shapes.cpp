// The vector twins of the shape and composite generators.
#include "celltextures/building_vectors.h"
#include "celltextures/buildings.h"
#include "celltextures/buildings_pvt.h"

using kvcell::aboveThreshold;
using kvcell::bit;
using kvcell::CompositeBlock;
using kvcell::compositeBlock;
using kvcell::flagSet;
using kvcell::hash3;
using kvcell::hash8;
using kvcell::Lattice3;
using kvcell::lattice3;
using kvcell::offset;
using kvcell::permAt;
using kvcell::permChain3;
using kvcell::setPair;
using kvcell::ShapeOutcome;
using kvcell::within;

namespace {

// Hands the point to another vector generator with code[0] rewritten.
void handTo(CellTexture3DVecProc cell, const KVtables* t, int32_t x, int32_t y, int32_t z,
            dvector3d* out, int16_t* code, int16_t newCode)
{
  code[0] = newCode;
  cell(t, x, y, z, out, code);
}

// ---- BuildAalt ----

void aaltWindow(const KVtables* t, int32_t c, bool frame, int32_t x, int32_t y, int32_t z,
                dvector3d* out)
{
  const bool upper = (((y >> 3) + 3) & 2) != 0;
  const bool b2 = (c & 4) != 0;
  switch (c & 3) {
    case 2: {
      if (frame) {
        setPair(out, 0.7, 0.0);
        return;
      }
      double height = 0.0;
      if ((y & 8) && (permAt(t, y >> 3) & 3)) {
        const int32_t h = hash8(t, x, y, z);
        height = h > 720 ? (h - 512) * 9 / 1024.0 : 0.0;
      }
      setPair(out, height, 3.5);
      return;
    }
    case 1:
      if (upper)
        setPair(out, 0.0, (b2 || (y & 7) == 0) ? 0.0 : 3.0);
      else if (frame)
        setPair(out, 0.0, 0.0);
      else
        setPair(out, aboveThreshold(hash8(t, x, y, z), 3.0), b2 ? 4.0 : 2.0);
      return;
    case 0:
      if (frame)
        setPair(out, 0.0, 0.0);
      else if (upper)
        setPair(out, 1.0, 0.0);
      else
        setPair(out, (permAt(t, y >> 5) & 3) ? aboveThreshold(hash8(t, x, y, z), 2.0) : 4.5, 1.5);
      return;
    default: {
      if (frame) {
        setPair(out, 0.0, 0.0);
        return;
      }
      const int32_t Y = b2 ? y >> 2 : y >> 3;
      if ((Y + 3) & 2) {
        setPair(out, 0.5, 0.0);
        return;
      }
      const int32_t g = permChain3(t, Y, x >> 3, z >> 3, Y >> 9, x >> 12);
      setPair(out, aboveThreshold(g, 2.0), bit(x, 3) != bit(z, 3) ? 3.5 : 0.0);
      return;
    }
  }
}

// ---- BuildB ----

void buildBWindow(const KVtables* t, int32_t w, int32_t x, int32_t y, int32_t z, dvector3d* out)
{
  const int32_t h = hash8(t, x, y, z);
  const bool cross5 = bit(x, 5) != bit(z, 5);
  switch (w) {
    case 0:
    case 3:
      setPair(out, aboveThreshold(h, 3.0), 2.0);
      break;
    case 1:
    case 5:
      setPair(out, aboveThreshold(h, 3.5), 4.0);
      break;
    case 2:
    case 6:
      setPair(out, aboveThreshold(hash3(t, 4, x, y, z), 2.5), 3.5);
      break;
    case 4:
      setPair(out, aboveThreshold(h, 3.0), (((x >> 3) & 4) || ((z >> 3) & 4)) ? 2.0 : 0.0);
      break;
    default:
      setPair(out, aboveThreshold(h, 3.0), cross5 ? 3.0 : 0.0);
      break;
  }
}

// ---- ClassicGen and BuildBGen ----

// The window vector of the shape twins at working point (x, y, z); low: the
// input y is below 32.
void shapeWindow(const KVtables* t, bool low, int32_t x, int32_t y, int32_t z, dvector3d* out)
{
  const int32_t Y = low ? y >> 4 : y >> 3;
  const double r = permChain3(t, Y, x >> 3, z >> 3, Y >> 9, x >> 12) / 256.0;
  setPair(out, r > 3.0 ? r : low ? 1.0 : 0.0, 2.8);
}

// Solid and panel give nothing, a ledge a light line on variant 0.
bool shapeVector(ShapeOutcome o, int32_t w, dvector3d* out)
{
  switch (o) {
    case ShapeOutcome::Solid:
    case ShapeOutcome::Panel:
      setPair(out, 0.0, 0.0);
      return true;
    case ShapeOutcome::Ledge:
      setPair(out, 0.0, w == 0 ? 1.0 : 0.0);
      return true;
    default:
      return false;
  }
}

}  // namespace

void LABTXT3D_AR_BuildAalt(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                           int16_t* code)
{
  const int32_t c = code[0];
  const Lattice3 l = lattice3(x, y, z);
  if (!flagSet(code)) {
    setPair(out, 0.0, (l.x15 != 0 && l.z15 != 0) ? 2.0 : 0.0);
    return;
  }
  const int32_t y31 = y & 31;
  if (y31 < 2 || y31 > 30 || kvcell::gapAt(c, x, z)) {
    setPair(out, 0.0, 0.0);
    return;
  }
  aaltWindow(t, c, !kvcell::windowTestAt(c, l), x, y, z, out);
}

void LABTXT3D_AR_BuildB(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                        int16_t* code)
{
  const int32_t w = code[0] & 7;
  if (!flagSet(code)) {
    setPair(out, 0.0, 0.0);
    return;
  }
  const int32_t y31 = y & 31;
  const bool even = (w & 1) == 0;
  if (w == 0 && (y31 < 2 || y31 > 30)) {
    setPair(out, 0.0, 0.0);
    return;
  }
  if (kvcell::gapAt(w, x, z)) {
    setPair(out, 0.0, (w & 3) == 2 ? 0.0 : 1.0);
    return;
  }
  const bool band = kvcell::roofBandAt(w, y);
  if (kvcell::storeyFrameAt(w, band, lattice3(x, y, z), y)) {
    setPair(out, even ? 0.2 : 0.0, (w & 3) == 2 ? 0.5 : 0.0);
    return;
  }
  if (band) {
    const double light = w == 7   ? (bit(x, 5) != bit(z, 5) ? 2.5 : 0.0)
                         : w == 3 ? 1.75
                         : even   ? 1.0
                                  : 0.0;
    setPair(out, 0.0, light);
    return;
  }
  buildBWindow(t, w, x, y, z, out);
}

void LABTXT3D_AR_BuildWA(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                         int16_t* code)
{
  const int32_t w = code[0] & 3;
  const bool core = within(x & 15, 2, 14) && within(z & 15, 2, 14);
  setPair(out, 0.0, 0.0);
  if (!flagSet(code) || !core)
    return;
  const int32_t y15 = y & 15, yBelow = offset(y, -1);
  switch (w) {
    case 0:
      if (y15 != 0)
        setPair(out, ((yBelow & 16) && bit(x, 5) != bit(z, 6)) ? 2.0 : 0.0, 1.0);
      return;
    case 1: {
      if (y15 == 0 || (yBelow & 16))
        return;
      double height = 0.0;
      if ((y & 3) && (x & 3) && (z & 3)) {
        int16_t rect = 0;
        Tnoises_VHrects(t, x, y, z, &rect);
        height = (rect & 63) / 16.0;
      }
      setPair(out, height, 2.0);
      return;
    }
    default:
      if (bit(x, 4) != bit(z, 4)) {
        setPair(out, 0.0, 1.0);
        return;
      }
      setPair(out,
              (yBelow & 8)             ? 4.0
              : bit(x, 6) != bit(z, 7) ? 2.2
                                       : 0.0,
              (w == 2 && (x & 256)) ? 2.0 : 0.0);
      return;
  }
}

void LABTXT3D_AR_ClassicGen(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                            int16_t* code)
{
  const int32_t w = code[0] & 7;
  if (!flagSet(code)) {
    setPair(out, 0.0, 0.0);
    return;
  }
  const kvcell::ShapePoint p =
      kvcell::classicShapeAt(kvcell::classicShapeIndex(w, x), x, y, z, kvcell::ShapeForm::Vector);
  // Frame points take the window vector here.
  if (!shapeVector(p.outcome, w, out))
    shapeWindow(t, y < 32, p.x, p.y, p.z, out);
}

void LABTXT3D_AR_BuildBGen(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                           int16_t* code)
{
  const int32_t w = code[0] & 7;
  if (!flagSet(code)) {
    setPair(out, 0.0, 0.0);
    return;
  }
  const ShapeOutcome o = kvcell::blockShapeAt(kvcell::blockShapeIndex(w, x), x, y, z);
  if (o == ShapeOutcome::Frame)
    setPair(out, 0.0, 0.0);
  else if (!shapeVector(o, w, out))
    shapeWindow(t, y < 32, x, y, z, out);
}

void LABTXT3D_AR_Composites(const KVtables* t, int32_t x, int32_t y, int32_t z, dvector3d* out,
                            int16_t* code)
{
  const int32_t w = code[0] & 7;
  setPair(out, 0.0, 0.0);
  if (!flagSet(code))
    return;
  const int32_t y63 = y & 63;
  const bool yEdge = y63 < 2 || y63 > 62 || (y & 192) == 0;
  const CompositeBlock b = compositeBlock(x, z);
  switch (w) {
    case 0:
      if ((y & 127) >= 2 && (y & 127) <= 126 && (y & 128))
        handTo(LABTXT3D_AR_BuildWA, t, x, y, z, out, code, 3);
      return;
    case 1:
      if (bit(offset(x, 32), 5) != bit(offset(z, 24), 6))
        handTo(LABTXT3D_AR_BuildV1, t, x, y, z, out, code, 0);
      return;
    case 2: {
      if (yEdge)
        return;
      const int32_t x15 = offset(x, 15), z15 = offset(z, 15);
      if (bit(x15, 5) == ((z15 >> 5) & 3)) {
        const double light = (x15 & 15) ? permChain3(t, y, x, z, y >> 9, x >> 9) / 1024.0 : 0.0;
        setPair(out, 0.0, light);
      } else {
        handTo(LABTXT3D_AR_BuildAalt, t, x, y, z, out, code, 2);
      }
      return;
    }
    case 4:
      if (b.corner)
        handTo(LABTXT3D_AR_BuildB, t, x, y, z, out, code, 5);
      else
        handTo(LABTXT3D_AR_BuildB, t, offset(x, -8), y, z, out, code, 7);
      return;
    case 5:
      if (b.edge48)
        return;
      if (b.same64)
        handTo(LABTXT3D_AR_BuildA, t, offset(x, -8), y, z, out, code, 6);
      else
        handTo(LABTXT3D_AR_BuildAalt, t, x, y, z, out, code, 2);
      return;
    case 6:
      if (yEdge || b.edge48)
        return;
      if (b.same64)
        handTo(LABTXT3D_AR_BuildB, t, x, y, z, out, code, 6);
      else
        handTo(LABTXT3D_AR_BuildA, t, x, y, z, out, code, 1);
      return;
    default:  // 3 and 7
      if ((offset(x, 32) & 96) && (offset(z, 32) & 96))
        handTo(LABTXT3D_AR_BuildV1, t, x, y, z, out, code, 3);
      return;
  }
}
