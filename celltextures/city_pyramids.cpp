#include "celltextures/city_pyramids.h"

#include <algorithm>

using kvcell::hash;
using kvcell::within;

namespace {

// Base code, height multiplier and alleys of a LABTXT_City block type.
struct CityBlock
{
  int16_t code;
  int32_t multiplier;
  bool alley;
};

CityBlock cityBlock(int32_t h, int32_t px, int32_t py)
{
  const bool vx = within(px, 15, 17), vy = within(py, 15, 17);
  switch (h & 15) {
    case 0:
      return {6, 32, false};
    case 2:
    case 3:
      return {6, 18, false};
    case 4:
      return {int16_t((h >> 4) & 3), 16, false};
    case 5:
      return {5, 12, vx};
    case 6:
    case 7:
      return {5, 32, vx};
    case 8:
      return {5, 5, vy};
    case 9:
    case 10:
      return {5, 32, vy};
    case 11:
      return {5, 8, vx || within(px, 23, 25)};
    case 12:
      return {5, 11, vy || within(py, 23, 25)};
    case 13:
      return {5, 13, vx || vy};
    default:  // 1, 14, 15
      return {5, 32, false};
  }
}

// Half-unit position of a point in its 16-unit parcel.
struct ParcelPoint
{
  int32_t hx, hy;
  bool in1, in2, mid, ring;
  bool oddColumn, oddRow;  // (x >> 1) and (y >> 1) odd
};

ParcelPoint parcelPoint(int32_t x, int32_t y)
{
  ParcelPoint p;
  p.hx = (x >> 1) & 7;
  p.hy = (y >> 1) & 7;
  p.in1 = within(p.hx, 1, 6) && within(p.hy, 1, 6);
  p.in2 = within(p.hx, 2, 5) && within(p.hy, 2, 5);
  p.mid = within(p.hx, 3, 4) && within(p.hy, 3, 4);
  p.ring = p.in1 && !p.mid;
  p.oddColumn = ((x >> 1) & 1) != 0;
  p.oddRow = ((y >> 1) & 1) != 0;
  return p;
}

// Storey count by g & 15; may change the code.
int32_t parcelStoreys(int32_t g, const ParcelPoint& p, int16_t* code)
{
  const int32_t q = g >> 7;
  auto set = [&](int32_t storeys, int32_t c) {
    *code = int16_t(c);
    return storeys;
  };
  switch (g & 15) {
    case 0:
      return 8;
    case 1:
      return 1;
    case 2:
      return p.hx > 3 ? set(0, 6) : set(9, 0);
    case 3:
      return p.hy > 3 ? set(0, 6) : 8;
    case 4:
      return p.in2 ? set(9 - (q >> 1), 1) : set(3, 6);
    case 5:
      return p.in2 ? set(5, 2) : set(0, 5);
    case 6:
      return p.hx < 5 ? set(0, 4) : set((q >> 1) + 5, 7);
    case 7:
      return p.hy < 5 ? set(0, 4) : set((q >> 1) + 5, 3);
    case 8:
      return p.hx == 4 ? 0 : p.hx > 4 ? 4 : 8;
    case 9:
      return p.hy == 4 ? 0 : p.hy > 4 ? 4 : 8;
    case 10:
      return p.hx < 4 ? set((q >> 1) + 4, g & 3) : 0;
    case 11:
      return p.hy < 4 ? set((q >> 1) + 4, g & 3) : 0;
    case 12:
      return 4;
    case 13:
      return p.hx > 3 ? set(0, 6) : 3;
    case 14:
      return p.hy > 3 ? set(0, 6) : 3;
    default:
      return p.in2 ? set((q >> 1) + 13, (g >> 4) & 3) : set(-4, ((g >> 4) & 3) + 4);
  }
}

// Details on top of the storeys by w = (g >> 4) & 15.
int32_t parcelDetails(int32_t g, const ParcelPoint& p, int32_t storeys, int16_t* code)
{
  const int32_t q = g >> 7;
  switch ((g >> 4) & 15) {
    case 0:
      if (p.in2 && p.hy < 5 && p.oddColumn) {
        *code = 6;
        return q + 4;
      }
      return storeys;
    case 1:
      if (p.in2 && p.hx < 5 && p.oddRow) {
        *code = 6;
        return q + 5;
      }
      return storeys;
    case 2:
      return p.ring && (p.hx > 4 || p.hy > 4) ? storeys + 3 : storeys;
    case 3:
      return p.ring && (p.hx > 4 || p.hy < 5) ? storeys + 4 : storeys;
    case 4:
      if (p.ring && !within(p.hx, 3, 4)) {
        *code = 1;
        return 10;
      }
      return storeys;
    case 5:
      if (p.ring && !within(p.hy, 3, 4)) {
        *code = 2;
        return 9;
      }
      return storeys;
    case 6:
      if (p.in2)
        storeys += 1;
      if (p.mid) {
        *code = 7;
        return q + 8;
      }
      return storeys;
    case 7:
      return storeys / 2;
    default:
      return storeys;
  }
}

}  // namespace

double LABTXT_City(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 4;
  const int32_t px = x & 31, py = y & 31;
  if (!(kvcell::inside32(px) && kvcell::inside32(py)))
    return -1.0;
  const CityBlock block = cityBlock(hash(t, 5, y, x), px, py);
  if (block.alley)
    return -1.0;
  *code = block.code;
  const int32_t g = hash(t, 4, x, y);
  const ParcelPoint p = parcelPoint(x, y);
  int32_t storeys = parcelStoreys(g, p, code);
  storeys = parcelDetails(g, p, storeys, code);
  // The shift is arithmetic, also for the negative storeys of kind 15.
  return (((block.multiplier * storeys) >> 4) & ~1) * 0.0625 + 0.00390625;
}

namespace {

// A distance folded to the nearer of 0 and 8 and doubled (0..8).
double foldDouble(double d)
{
  return 2.0 * (d > 4.0 ? 8.0 - d : d);
}

}  // namespace

void PyraStreetsNetwork(const KVtables* t, int32_t x, int32_t y, int32_t count, dvector4d* point)
{
  // Distances from the nearer block edge, 0..8.
  double fx = point->x - double(x & ~15), fy = point->y - double(y & ~15);
  if (fx > 8.0)
    fx = 16.0 - fx;
  if (fy > 8.0)
    fy = 16.0 - fy;

  const int32_t sx = x & 15, sy = y & 15;
  const bool inside = sx != 0 && sy != 0;
  int32_t h = hash(t, 4, y, x);
  const int32_t kind = h % std::max(count, int32_t(1));

  double f = 0.0, cap = 8.0, slope = 0.125;
  switch (kind) {
    case 0:
      f = 1.0;
      cap = 0.125;
      break;
    case 1:
      f = 0.125;
      cap = 0.0625;
      break;
    case 2:
      f = inside ? 0.25 : 0.0;
      slope = 0.5;
      break;
    case 3:
      f = inside ? 0.5 : 0.0;
      slope = 0.25;
      break;
    case 4:
      f = inside ? 0.75 : 0.0;
      slope = 1.0 / 6.0;
      break;
    case 5:
      f = inside && sx != 8 ? 0.5 : 0.0;
      slope = 0.25;
      fx = foldDouble(fx);
      fy = foldDouble(fy);
      if (sx <= 7)
        h = kvcell::permAt(t, h);
      break;
    case 6:
    case 7:
      f = inside && sx != 8 ? 0.75 : 0.0;
      slope = 1.0 / 6.0;
      fx = foldDouble(fx);
      fy = 2.0 * fy - 8.0;
      break;
    case 8:
    case 9:
    case 10:
      f = inside && sy != 8 ? 0.75 : 0.0;
      slope = 1.0 / 6.0;
      fy = foldDouble(fy);
      fx = 2.0 * fx - 8.0;
      break;
    case 11:
      f = inside && sx > 8 && sy > 8 ? 0.25 : 0.0;
      slope = 0.5;
      fx = foldDouble(fx);
      fy = foldDouble(fy);
      break;
    case 12:
      f = inside && sx < 8 && sy > 8 ? 0.25 : 0.0;
      slope = 0.5;
      fx = foldDouble(fx);
      fy = foldDouble(fy);
      break;
    case 13:
      f = inside && sx != 8 && sy != 8 ? 0.5 : 0.0;
      slope = 0.25;
      if (sy < 8)
        h = kvcell::permAt(t, h);
      fx = foldDouble(fx);
      fy = foldDouble(fy);
      break;
    case 14:
      f = inside ? 1.0 : 0.0;
      break;
    default:  // 15 and above: flat streets
      cap = 0.0;
      break;
  }
  point->w = std::clamp((std::min(fx, fy) - 1.0) * f, 0.0, cap);
  point->x = (8.0 - fx) * slope;
  point->y = (8.0 - fy) * slope;
  point->z = h / 128.0;
}
