#include "celltextures/building_shapes.h"

#include "celltextures/buildings.h"
#include "celltextures/buildings_pvt.h"

using kvcell::bit;
using kvcell::CompositeBlock;
using kvcell::compositeBlock;
using kvcell::hash8;
using kvcell::Lattice3;
using kvcell::lattice3;
using kvcell::offset;
using kvcell::permAt;
using kvcell::permChain2;
using kvcell::permChain3;
using kvcell::putCode;
using kvcell::ShapeOutcome;
using kvcell::within;

namespace {

// Hands the point to another generator with a new code.
double handTo(CellTexture3DProc cell, const KVtables* t, int32_t x, int32_t y, int32_t z,
              int16_t* code, int16_t newCode)
{
  *code = newCode;
  return cell(t, x, y, z, code);
}

// ---- BuildD ----

// The 8-unit hash of 16-unit storeys (Hy4).
int32_t storeyHash16(const KVtables* t, int32_t x, int32_t y, int32_t z)
{
  return permChain3(t, y >> 4, x >> 3, z >> 3, y >> 13, x >> 12);
}

// The 8-unit hash of 32-unit storeys.
int32_t storeyHash32(const KVtables* t, int32_t x, int32_t y, int32_t z)
{
  return permChain3(t, y >> 5, x >> 3, z >> 3, y >> 14, x >> 12);
}

double buildDWindows(const KVtables* t, int32_t w, bool band, int32_t x, int32_t y, int32_t z,
                     int16_t* code)
{
  switch (w) {
    case 3: {
      if (!(x & 8))
        return putCode(code, band ? 72 : 8, 0.1);
      const int32_t h = storeyHash16(t, x, y, z);
      if (band)
        return putCode(code, (h & 7) + 72, 0.0);
      return putCode(code, h < 384 ? -40 - (h & 31) : (h & 3) + 8, 0.0);
    }
    case 1: {
      if (bit(z, 3) == bit(x, 3))
        return putCode(code, -128, 0.1);
      const int32_t h = storeyHash16(t, x, y, z);
      return putCode(code, h > 511 ? (h & 3) + 35 : 32, 0.0);
    }
    case 0: {
      if (band)
        return putCode(code, 7, 0.2);
      if (!(y & 8))
        return putCode(code, 17, 0.1);
      const int32_t h = hash8(t, x, y, z);
      return putCode(code, h >= 384 ? (h & 3) + 8 : 16, 0.0);
    }
    default: {
      if (band)
        return putCode(code, 58, 0.2);
      const int32_t p = permAt(t, y >> 5);
      if (p & 1)
        return putCode(code, (y & 32) ? -4 : 8, 0.1);
      const int32_t h = storeyHash32(t, x, y, z);
      return putCode(code, h < 512 ? -31 - (h & 31) : -100 - (h & 63), 0.1);
    }
  }
}

// ---- BuildWA ----

// The wall rectangles of kinds 2 and 3: q is (w = 2) differing from bit 6
// of x.
double buildWAStripes(const KVtables* t, int32_t w, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const bool q = (w == 2) != (bit(x, 6) != 0);
  if (bit(x, 4) != bit(z, 4))
    return putCode(code, q ? 105 : 104, 1.0);
  const int32_t x2 = kvnum::wrap_mul_i32(x, 2), y2 = kvnum::wrap_mul_i32(y, 2),
                z2 = kvnum::wrap_mul_i32(z, 2);
  const int32_t h = hash8(t, x2, y2, z2);
  const int32_t v = kvcell::rectSelector(h, x2, y2, z2) + 8 * (h & 15);
  const int32_t c = (v & 7) == 2 ? (v >> 3) & 3 : (v & 7) + 72;
  return putCode(code, q ? c : c - 16, (v & 63) / 64.0);
}

double buildWAWindows(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if (!((y & 3) && (x & 3) && (z & 3)))
    return putCode(code, 56, 0.0);
  const int32_t h = hash8(t, x, y, z);
  const int32_t v = kvcell::rectSelector(h, x, y, z) + 8 * (h & 15);
  return putCode(code, (v & 7) + 40 - ((y & 64) ? 0 : 8), (v & 63) / 64.0);
}

// ---- BuildAalt ----

double buildAaltWindow(const KVtables* t, int32_t c, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t h = hash8(t, x, y, z);
  const bool upper = (((y >> 3) + 3) & 2) != 0;
  const bool b2 = (c & 4) != 0;
  switch (c & 3) {
    case 2:
      return putCode(code, (h & 7) + 16, 0.25);
    case 3:
      return upper ? putCode(code, -120 - 4 * (h & 1), 0.33) : putCode(code, (h & 7) + 40, 0.25);
    case 0:
      if (upper)
        return putCode(code, b2 ? -16 - (h & 31) : (h & 1) + 5, 0.33);
      return putCode(code, b2 ? (h & 3) + 8 : (h & 15) + 24, 0.25);
    default:
      return upper ? putCode(code, -140, 0.33) : putCode(code, b2 ? 89 : h & 3, 0.25);
  }
}

// ---- BuildB ----

// d(a, b) of the roof codes: 0 on storey line 25, a on line 7, else b.
int32_t roofStep(int32_t y31, int32_t a, int32_t b)
{
  return y31 == 25 ? 0 : y31 == 7 ? a : b;
}

double buildBRoof(const KVtables* t, int32_t w, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t y31 = y & 31;
  const int32_t zb = (z >> 1) & 7, xb = (x >> 1) & 7;
  switch (w) {
    case 2:
    case 6: {
      const int32_t h = permChain3(t, y >> 2, xb, zb, y >> 11, 0);
      return putCode(code, -70 - roofStep(y31, 40, 20) - (h & 63), 0.0);
    }
    case 3:
      return putCode(code, (permChain2(t, xb, zb, 0) & 7) + 16, 0.75);
    case 5:
      return putCode(code, -64 - (permChain2(t, y & x & 15, zb, 0) & 31), 0.75);
    case 7: {
      const int32_t d = roofStep(y31, 30, 15);
      return putCode(code, bit(x, 4) == bit(z, 4) ? -150 - d : d + 4, 0.75);
    }
    default:
      return putCode(code, y31 == 25 ? 4 : y31 == 7 ? 6 : 5, 0.75);
  }
}

double buildBWindow(const KVtables* t, int32_t w, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t h = hash8(t, x, y, z);
  const double hLevel = 0.4 * h / 1024.0;
  const int32_t X = x >> 3, Z = z >> 3;
  auto g = [&] { return storeyHash32(t, x, y, z); };
  switch (w) {
    case 0:
      return putCode(code, (h & 7) == 0 ? 1 : h & 3, hLevel);
    case 1:
    case 5:
      return putCode(code, (h & 3) + 8, hLevel);
    case 2:
      return putCode(code, h > 319 ? (h & 3) + 100 : 89, hLevel);
    case 6:
      return putCode(code, (h & 7) + 40, hLevel);
    case 4:
      if (!((X & 4) || (Z & 4)))
        return putCode(code, g() & 3, 0.25);
      return putCode(code, (permChain2(t, X >> 1, Z >> 1, X >> 10) & 3) + 80, 0.25);
    case 3: {
      const int32_t gv = g();
      return putCode(code, (gv & 7) == 0 ? 1 : gv & 3, gv / 5120.0 + 0.8);
    }
    default: {
      if (bit(X, 1) == bit(Z, 1))
        return putCode(code, -150, 0.125);
      const int32_t gv = g();
      return putCode(code, gv < 512 ? (gv & 7) + 24 : (gv & 7) + 32, 0.125);
    }
  }
}

// ---- BuildComposites ----

double composite0(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if ((y & 127) < 2 || (y & 127) > 126)
    return putCode(code, -50, 0.0);
  if (y & 128)
    return handTo(LABTXT3D_BuildWA, t, x, y, z, code, 3);
  const int32_t x2 = kvnum::wrap_mul_i32(x, 2), z2 = kvnum::wrap_mul_i32(z, 2);
  return putCode(code, -110 - (permChain3(t, y, x2, z2, y >> 9, x2 >> 9) & 63), 0.25);
}

double composite1(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if (bit(offset(x, 32), 5) != bit(offset(z, 24), 6))
    return handTo(LABTXT3D_BuildV1, t, x, y, z, code, 0);
  const int32_t y63 = y & 63;
  if (y63 < 2)
    return putCode(code, y63 == 1 ? -80 : -130, 0.0);
  return putCode(code, -120 - (permAt(t, offset(x, z) >> 1) & 31), 0.0);
}

double composite2(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t y63 = y & 63;
  if (y63 < 2 || y63 > 62)
    return putCode(code, -50, 0.0);
  if ((y & 192) == 0)
    return putCode(code, (permChain3(t, y >> 1, x, z, y >> 10, x >> 9) & 7) + 64, 0.25);
  const int32_t x15 = offset(x, 15), z15 = offset(z, 15);
  if (bit(x15, 5) == ((z15 >> 5) & 3))
    return putCode(code, (x15 & 15) == 0 ? 64 : 69, 0.0);
  return handTo(LABTXT3D_BuildAalt, t, x, y, z, code, 2);
}

double composite4(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if (compositeBlock(x, z).corner)
    return handTo(LABTXT3D_BuildB, t, x, y, z, code, 5);
  return handTo(LABTXT3D_BuildB, t, offset(x, -8), y, z, code, 7);
}

double composite5(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const CompositeBlock b = compositeBlock(x, z);
  if (b.edge48)
    return putCode(code, 7, 0.0);
  if (b.same64)
    return handTo(LABTXT3D_BuildA, t, offset(x, -8), y, z, code, 6);
  return handTo(LABTXT3D_BuildAalt, t, x, y, z, code, 2);
}

double composite6(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t y63 = y & 63;
  if (y63 < 2 || y63 > 62)
    return putCode(code, -100, 0.0);
  if ((y & 192) == 0)
    return putCode(code, -90 - (permChain3(t, y >> 2, x, z, y >> 11, x >> 9) & 31), 0.25);
  const CompositeBlock b = compositeBlock(x, z);
  if (b.edge48)
    return putCode(code, -125, 0.0);
  if (b.same64)
    return handTo(LABTXT3D_BuildB, t, x, y, z, code, 6);
  return handTo(LABTXT3D_BuildA, t, x, y, z, code, 1);
}

double composite3(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  if ((offset(x, 32) & 96) && (offset(z, 32) & 96))
    return handTo(LABTXT3D_BuildV1, t, x, y, z, code, 3);
  if ((y & 31) < 2)
    return putCode(code, -60, 0.0);
  return putCode(code, -70 - (permAt(t, ((x ^ z) >> 1) + (y >> 5)) & 31), 0.0);
}

using CompositeRule = double (*)(const KVtables*, int32_t, int32_t, int32_t, int16_t*);
constexpr CompositeRule kComposites[8] = {composite0, composite1, composite2, composite3,
                                          composite4, composite5, composite6, composite3};

// ---- ClassicGen and BuildBGen ----

double shapeMaterial(const kvcell::OutcomeMaterial& m, int32_t w, int16_t* code)
{
  return putCode(code, m.code[w], m.level);
}

// The solid, ledge, frame and panel outcomes; false for a window.
bool shapeOutcome(const KVtables* t, ShapeOutcome o, int32_t w, int32_t x, int32_t y, int32_t z,
                  int16_t* code, double* level)
{
  switch (o) {
    case ShapeOutcome::Solid:
      *level = shapeMaterial(kvcell::kShapeSolid, w, code);
      return true;
    case ShapeOutcome::Ledge:
      *level = shapeMaterial(kvcell::kShapeLedge, w, code);
      return true;
    case ShapeOutcome::Frame:
      *level = shapeMaterial(kvcell::kShapeFrame, w, code);
      return true;
    case ShapeOutcome::Panel:
      *code = kvcell::shapePanelCode(t, w, x, y, z);
      *level = kvcell::kShapePanelLevel;
      return true;
    case ShapeOutcome::Window:
      break;
  }
  return false;
}

int32_t classicWindowCode(int32_t w, int32_t g, int32_t X, int32_t Z)
{
  switch (w) {
    case 0:
    case 3:
      return (g & 7) + 80;
    case 1:
    case 4:
      return (g & 7) + 72;
    case 2:
      return (g & 7) + 48;
    case 5:
      return (g & 3) + 8;
    case 6:
      return (g & 7) + 40;
    default:
      return bit(X, 1) == bit(Z, 1) ? -150 : (g & 7) + 80;
  }
}

int32_t blockWindowCode(int32_t w, int32_t g, int32_t x, int32_t z)
{
  static constexpr int16_t kBase[7] = {0, 32, 48, 72, 24, 8, 40};
  switch (w) {
    case 0:
      return g & 3;
    case 5:
      return (g & 3) + 8;
    case 7:
      return bit(x, 4) != bit(z, 4) ? (g & 7) + 80 : -150;
    default:
      return (g & 7) + kBase[w];
  }
}

}  // namespace

double LABTXT3D_BuildD(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t w = *code & 3;
  const int32_t x1 = offset(x, 1), z1 = offset(z, 1), y31 = y & 31;
  const Lattice3 l = lattice3(x, y, z);
  const int32_t gapMask = w == 3 ? 31 : 15;
  if ((x1 & gapMask) < 3 || (z1 & gapMask) < 3)
    return putCode(code, (w == 2 ? 57 : 5) - ((l.x7 == 0 || l.z7 == 0) ? 1 : 0), 0.75);
  const bool band = w == 2 ? y31 > 24 : (y31 < 8 || y31 > 24);
  if (!band && !l.inner)
    return putCode(code, 106 - (w & 1), 0.5);
  return buildDWindows(t, w, band, x, y, z, code);
}

double LABTXT3D_BuildWA(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t w = *code & 3;
  const bool core = within(x & 15, 2, 14) && within(z & 15, 2, 14);
  if (!core)
    return putCode(code, w == 0 ? -120 : w == 1 ? 57 : -50, -0.75);
  if (w >= 2)
    return buildWAStripes(t, w, x, y, z, code);
  if ((y & 15) == 0)
    return putCode(code, w == 0 ? -100 : 57, -0.75);
  const int32_t y2 = kvnum::wrap_mul_i32(y, 2);
  const int32_t G = permChain3(t, y >> 2, x >> 3, z >> 3, y >> 11, x >> 12);
  if (w == 0)
    return putCode(code, 56 + kvcell::rectSelector(G, x, y2, z), 0.0);
  if (offset(y, -1) & 16)
    return putCode(code, 58 + (kvcell::rectSelector(G, x, y2, z) & 3), 0.0);
  return buildWAWindows(t, x, y, z, code);
}

double LABTXT3D_BuildAalt(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t c = *code;
  const int32_t y31 = y & 31;
  if ((c & 3) != 2 && (y31 < 2 || y31 > 30))
    return putCode(code, 7, 0.5);
  if (kvcell::gapAt(c, x, z))
    return putCode(code, 6, 0.45);
  if (!kvcell::windowTestAt(c, lattice3(x, y, z)))
    return putCode(code, 5 - (c & 1), 0.4);
  return buildAaltWindow(t, c, x, y, z, code);
}

double LABTXT3D_BuildB(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t w = *code & 7;
  const int32_t y31 = y & 31;
  if (w == 0 && (y31 < 2 || y31 > 30))
    return putCode(code, 7, 1.0);
  const bool band = kvcell::roofBandAt(w, y);
  if (kvcell::gapAt(w, x, z))
    return putCode(code, 6, 0.85);
  if (kvcell::storeyFrameAt(w, band, lattice3(x, y, z), y))
    return putCode(code, 5, 0.5);
  if (band)
    return buildBRoof(t, w, x, y, z, code);
  return buildBWindow(t, w, x, y, z, code);
}

double LABTXT3D_BuildComposites(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  return kComposites[*code & 7](t, x, y, z, code);
}

double LABTXT3D_ClassicGen(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t w = *code & 7;
  const kvcell::ShapePoint p =
      kvcell::classicShapeAt(kvcell::classicShapeIndex(w, x), x, y, z, kvcell::ShapeForm::Plain);
  double level = 0.0;
  if (shapeOutcome(t, p.outcome, w, p.x, p.y, p.z, code, &level))
    return level;
  // Window: storeys below 32 share one material per shape.
  const bool low = y < 32;
  const int32_t g = low ? 0 : hash8(t, p.x, p.y, p.z);
  const int32_t X = low ? p.x : p.x >> 3, Z = low ? p.z : p.z >> 3;
  return putCode(code, classicWindowCode(w, g, X, Z), 0.0);
}

double LABTXT3D_BuildBGen(const KVtables* t, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  const int32_t w = *code & 7;
  const ShapeOutcome o = kvcell::blockShapeAt(kvcell::blockShapeIndex(w, x), x, y, z);
  double level = 0.0;
  if (shapeOutcome(t, o, w, x, y, z, code, &level))
    return level;
  const int32_t g = y < 32 ? 0 : hash8(t, x, y, z);
  return putCode(code, blockWindowCode(w, g, x, z), g / 8192.0);
}
