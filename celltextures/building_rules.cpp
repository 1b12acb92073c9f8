// The rules that the building generators share with their vector twins.
#include "celltextures/buildings_pvt.h"

namespace kvcell {
namespace {

// A value of 1 to 15.
bool in1(int32_t v)
{
  return within(v, 1, 15);
}

bool anyZero(const Lattice3& l)
{
  return l.x7 == 0 || l.y7 == 0 || l.z7 == 0;
}

// Where a shape leads to frame or window: frame on the 8-unit lines of the
// working point when the shape allows one, else panel or window.
ShapeOutcome frameOr(int32_t x, int32_t y, int32_t z, ShapeOutcome otherwise)
{
  return anyZero(lattice3(x, y, z)) ? ShapeOutcome::Frame : otherwise;
}

ShapePoint at(ShapeOutcome o, int32_t x, int32_t y, int32_t z)
{
  return {o, x, y, z};
}

// Shapes 0 and 2: a cross of 1..15 on one axis (storeys up to 17 high above
// y = 32).
bool crossBelow17(int32_t x, int32_t y, int32_t z, int32_t yw)
{
  return (y < 32 || (yw & 31) < 17) && (in1(x & 31) != in1(z & 31));
}

ShapePoint classic0(int32_t x, int32_t y, int32_t z)
{
  const int32_t yw = offset(y, -8);
  if (crossBelow17(x, y, z, yw))
    return at(frameOr(x, yw, z, ShapeOutcome::Window), x, yw, z);
  return at(ShapeOutcome::Solid, x, yw, z);
}

ShapePoint classic1(int32_t x, int32_t y, int32_t z)
{
  const bool low = y < 32;
  const int32_t yw = offset(y, -8);
  if ((low || in1(yw & 31)) && in1(x & 31) != in1(z & 31))
    return at(frameOr(x, yw, z, ShapeOutcome::Window), x, yw, z);
  if (outside(offset(x, 8) & 31, 2, 30) || outside(offset(z, 8) & 31, 2, 30))
    return at(ShapeOutcome::Ledge, x, yw, z);
  if (!low && within(offset(yw, 16) & 31, 4, 12))
    return at(ShapeOutcome::Panel, x, yw, z);
  return at(ShapeOutcome::Solid, x, yw, z);
}

ShapePoint classic2(int32_t x, int32_t y, int32_t z)
{
  const int32_t yw = offset(y, -8);
  if (crossBelow17(x, y, z, yw))
    return at(frameOr(x, yw, z, ShapeOutcome::Window), x, yw, z);
  if (outside(offset(x, 16) & 31, 4, 12) || outside(offset(z, 16) & 31, 4, 12))
    return at(ShapeOutcome::Solid, x, yw, z);
  return at(ShapeOutcome::Panel, x, yw, z);
}

ShapePoint classic3(int32_t x, int32_t y, int32_t z)
{
  const int32_t yw = offset(y, -8);
  const bool open = (y < 32 || in1(yw & 31)) && (in1(x & 31) || in1(z & 31));
  if (!open && yw >= 49 && (offset(yw, 8) & 32) && within(offset(yw, 16) & 31, 4, 12))
    return at(ShapeOutcome::Solid, x, yw, z);
  if ((offset(x, 44) & 63) < 8 || (offset(z, 44) & 63) < 8)
    return at(ShapeOutcome::Solid, x, yw, z);
  return at(frameOr(x, yw, z, open ? ShapeOutcome::Window : ShapeOutcome::Panel), x, yw, z);
}

ShapePoint classic4(int32_t x, int32_t y, int32_t z)
{
  const int32_t xw = offset(x, 4), yw = offset(y, 6), zw = offset(z, 4);
  const int32_t Y = yw & 31, X = xw & 31, Z = zw & 31;
  const bool hollow = (y < 32 || Y > 7) && (X > 15 || Z > 15) && (xw & 63) > 15;
  const bool panel =
      !hollow &&
      (within(Y, 2, 5) || ((outside(X, 3, 13) || outside(Z, 3, 13)) && outside(xw & 63, 3, 13)));
  if (((yw & 63) == 3 || (yw & 63) == 4) && (hollow || panel))
    return at(ShapeOutcome::Ledge, xw, yw, zw);
  if (panel)
    return at(frameOr(xw, yw, zw, ShapeOutcome::Panel), xw, yw, zw);
  if (hollow)
    return at(frameOr(xw, yw, zw, ShapeOutcome::Window), xw, yw, zw);
  return at(ShapeOutcome::Solid, xw, yw, zw);
}

ShapePoint classic5(int32_t x, int32_t y, int32_t z)
{
  const int32_t xw = offset(x, 4), yw = offset(y, 6), zw = offset(z, 4);
  const int32_t Y = yw & 31;
  const bool panel = (y < 32 || Y > 7) ? in1(xw & 31) != in1(zw & 31) : true;
  if (panel)
    return at(within(Y, 2, 6) ? ShapeOutcome::Solid : ShapeOutcome::Panel, xw, yw, zw);
  return at(frameOr(xw, yw, zw, ShapeOutcome::Window), xw, yw, zw);
}

ShapePoint classic6(int32_t x, int32_t y, int32_t z, ShapeForm form)
{
  const int32_t xw = offset(x, 40), zw = offset(z, 40);
  if ((offset(y, 2) & 31) < 4) {
    const bool panel = (xw & 63) > 15 && (zw & 63) > 15;
    return at(panel ? ShapeOutcome::Panel : ShapeOutcome::Solid, xw, y, zw);
  }
  if ((xw & 63) < 16 || (zw & 63) < 16)
    return at(ShapeOutcome::Solid, xw, y, zw);
  // The vector twin tests the storey line whatever y.
  const bool storeyOpen = (y < 32 && form == ShapeForm::Plain) || (offset(y, 1) & 15) > 2;
  const bool window = (offset(x, 41) & 15) > 2 && (offset(z, 41) & 15) > 2 && storeyOpen;
  return at(window ? ShapeOutcome::Window : ShapeOutcome::Ledge, xw, y, zw);
}

ShapePoint classic7(int32_t x, int32_t y, int32_t z, ShapeForm form)
{
  const int32_t xw = offset(x, 40), zw = offset(z, 40);
  if (form == ShapeForm::Plain && (offset(y, -2) & 63) == 0)
    return at(ShapeOutcome::Ledge, xw, y, zw);
  if ((xw & 63) < 24 || (zw & 63) < 24)
    return at(ShapeOutcome::Solid, xw, y, zw);
  return at(frameOr(xw, y, zw, (y & 31) < 4 ? ShapeOutcome::Panel : ShapeOutcome::Window), xw, y,
            zw);
}

// The flags of the block-B shapes before the outcome is chosen.
struct BlockFlags
{
  bool ledge, frame, solid, panel, solidTest;
};

BlockFlags blockFlags(int32_t m, int32_t x, int32_t y, int32_t z)
{
  const bool low = y < 32;
  const int32_t y31 = y & 31;
  const bool band8 = y31 < 8 || y31 > 24;
  BlockFlags f{outside(x & 15, 2, 14) || outside(z & 15, 2, 14), !low, y31 < 2 || y31 > 30, false,
               true};
  switch (m) {
    case 0:
      f.panel = !low && band8;
      break;
    case 1:
      if (!low && y31 >= 25) {
        f.ledge = false;
        f.panel = true;
      }
      break;
    case 2:
      if (!low && band8) {
        f.frame = false;
        f.panel = true;
      }
      f.solidTest = false;
      break;
    case 3:
      // Storeys outside 16..24 above y = 32 are solid outright.
      if (!low && (y31 < 16 || y31 > 24)) {
        f.solid = true;
      } else {
        f.panel = f.solid;
        f.solidTest = false;
      }
      break;
    case 4:
      f.panel = low ? f.ledge : band8;
      f.frame = !f.panel;
      break;
    case 5:
      if (bit(x, 4) == bit(z, 4) && !(!low && y31 >= 25 && (y & 64))) {
        f.panel = false;
      } else {
        f.frame = false;
        f.panel = true;
      }
      f.solidTest = false;
      break;
    case 6:
      f.panel = !low && y31 >= 25;
      f.solid = bit(x, 3) != bit(z, 3);
      break;
    default:
      f.frame = bit(x, 4) != bit(z, 4);
      f.panel = low ? !f.frame : band8;
      f.solidTest = !low && !f.panel;
      break;
  }
  return f;
}

}  // namespace

const OutcomeMaterial kShapeSolid{1.0, {-160, 58, 6, -162, 14, -92, -160, 66}};
const OutcomeMaterial kShapeLedge{0.85, {107, -108, 5, 13, 13, -76, 105, -144}};
const OutcomeMaterial kShapeFrame{0.25, {-128, 56, 4, -130, 12, -60, -128, 64}};

int32_t rectSelector(int32_t g, int32_t a, int32_t b, int32_t c)
{
  switch (g & 3) {
    case 0:
      return 6;
    case 1:
      return (a & 7) > 3 ? 1 : 0;
    case 2:
      return 2 + ((b & 7) > 3 ? 1 : 0);
    default:
      return 4 + ((c & 7) > 3 ? 1 : 0);
  }
}

bool gapAt(int32_t c, int32_t x, int32_t z)
{
  const int32_t x1 = offset(x, 1), z1 = offset(z, 1);
  switch (c) {
    case 3:
      return (x1 & 31) < 3 || (z1 & 31) < 3;
    case 4:
    case 7:
      return (x1 & 31) < 3;
    case 5:
      return (x1 & 15) < 3;
    case 6:
      return (z1 & 31) < 3;
    default:
      return (x1 & 15) < 3 || (z1 & 15) < 3;
  }
}

bool windowTestAt(int32_t c, const Lattice3& l)
{
  switch (c) {
    case 4:
      return l.x15 != 0 && l.z15 != 0;
    case 5:
      return l.y7 != 0;
    case 6:
      return l.x15 != 0 && l.y7 != 0;
    case 7:
      return l.x7 != 0 && l.z7 != 0;
    default:
      return l.inner;
  }
}

bool roofBandAt(int32_t w, int32_t y)
{
  const int32_t y31 = y & 31;
  return (y > 31 || w == 0) && (y31 < 8 || y31 > 24);
}

bool storeyFrameAt(int32_t w, bool band, const Lattice3& l, int32_t y)
{
  switch (w) {
    case 1:
      return y > 32 && anyZero(l);
    case 4:
      return !band && (l.x15 == 0 || l.z15 == 0);
    case 5:
      return l.y7 == 0;
    case 6:
      return l.x15 == 0 || l.y7 == 0;
    case 7:
      return l.z7 == 0 || l.x7 == 0;
    default:
      return anyZero(l);
  }
}

double aboveThreshold(int32_t h, double threshold)
{
  const double r = h / 256.0;
  return r > threshold ? r : 0.0;
}

bool litStorey(int32_t y)
{
  return (((y >> 3) + 3) & 2) == 0;
}

void pillarsAt(int32_t x, int32_t z, dvector3d* out)
{
  const int32_t x2 = offset(x, 2), z2 = offset(z, 2);
  if ((x2 >> 2) & (z2 >> 1) & 1)
    setPair(out, ((x2 >> 3) & (z2 >> 2) & 1) ? 4.0 : 0.0, 2.0);
  else
    setPair(out, 0.0, 0.0);
}

ShapePoint classicShapeAt(int32_t m, int32_t x, int32_t y, int32_t z, ShapeForm form)
{
  switch (m & 7) {
    case 0:
      return classic0(x, y, z);
    case 1:
      return classic1(x, y, z);
    case 2:
      return classic2(x, y, z);
    case 3:
      return classic3(x, y, z);
    case 4:
      return classic4(x, y, z);
    case 5:
      return classic5(x, y, z);
    case 6:
      return classic6(x, y, z, form);
    default:
      return classic7(x, y, z, form);
  }
}

ShapeOutcome blockShapeAt(int32_t m, int32_t x, int32_t y, int32_t z)
{
  const BlockFlags f = blockFlags(m & 7, x, y, z);
  if (f.solidTest && f.solid)
    return ShapeOutcome::Solid;
  if (f.ledge)
    return ShapeOutcome::Ledge;
  if (f.frame && anyZero(lattice3(x, y, z)))
    return ShapeOutcome::Frame;
  return f.panel ? ShapeOutcome::Panel : ShapeOutcome::Window;
}

int16_t shapePanelCode(const KVtables* t, int32_t w, int32_t x, int32_t y, int32_t z)
{
  const int32_t P = permChain3(t, y, x, z, y >> 9, x >> 9);
  int32_t c = 0;
  switch (w & 7) {
    case 0:
      c = -100 - (permAt(t, y ^ z ^ x) & 31);
      break;
    case 1:
      c = (P & 3) + 58;
      break;
    case 2:
      c = -64 - (P & 31);
      break;
    case 3:
      c = (P & 1) + 13;
      break;
    case 4:
      c = -130 - (P & 31);
      break;
    case 5:
      c = -80 - (permAt(t, offset(x, z) >> 1) & 31);
      break;
    case 6:
      c = -70 - (permAt(t, ((x ^ z) >> 1) + (y >> 5)) & 31);
      break;
    default:
      c = (P & 7) + 64;
      break;
  }
  return int16_t(c);
}

}  // namespace kvcell
