#include "celltextures/techmotifs.h"

#include <algorithm>

#include "foundation/checked.h"

using kvcell::hash;
using kvcell::unitLevel;
using kvcell::within;

namespace {

void setCode(int16_t* code, int32_t v)
{
  if (code)
    *code = kvcell::wrap16(v);
}

bool odd(int32_t v)
{
  return (v & 1) != 0;
}

}  // namespace

double LABTXT_TEK_computerdots(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  if ((x & 31) < 2 || (y & 15) == 0)
    return 0.0;
  bool trace = false;
  switch (hash(t, 2, x, y) & 3) {
    case 0:
      trace = odd(x);
      break;
    case 1:
      trace = odd(y);
      break;
    case 2:
      trace = (x & 3) == 1;
      break;
    default:
      trace = (y & 3) == 1;
      break;
  }
  bool dot = false;
  switch (hash(t, 2, y, x) & 7) {
    case 0:
      dot = odd(x);
      break;
    case 1:
      dot = odd(y);
      break;
    case 2:
    case 4:
      dot = (x & 3) == 1;
      break;
    case 3:
    case 5:
      dot = (y & 3) == 1;
      break;
    default:
      break;
  }
  // A trace has level 0.5; the point lights (1) where it crosses a dot line.
  return trace && dot ? 1.0 : 0.0;
}

double LABTXT_TEK_AlienSigns(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  if ((y & 15) < 4)
    return 0.0;
  switch (hash(t, 2, x, y) & 3) {
    case 0:
      return (x & 3) <= 1 ? 0.5 : 0.0;
    case 1:
      return (y & 3) <= 1 ? 0.5 : 0.0;
    default:
      return 0.0;
  }
}

double LABTXT_TEK_Acity(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  if ((x & 31) < 3)
    return 0.0;
  const bool inside = (x & 7) > 0 && (y & 7) > 0;
  const double base = inside ? unitLevel(hash(t, 3, x, y)) : 0.0;
  const int32_t h = hash(t, 3, y, x);
  const double r = unitLevel(h);
  const int32_t sx = x & 7, sy = y & 7;
  auto raised = [&](double v) { return inside ? base + v : base; };
  const bool pad = within(sx, 2, 5) && within(sy, 2, 5);
  switch (h & 15) {
    case 0:
      return raised(r);
    case 1:
      return base;
    case 2:
      return sx < 4 ? raised(r) : base;
    case 3:
      return sy > 3 ? base : raised(r);
    case 4:
      return pad ? base + 1.0 : base;
    case 5:
      return pad ? base + 0.5 : base;
    case 6:
      return sx < 2 ? base : raised(0.5);
    case 7:
      return sy < 2 ? base : raised(0.5);
    case 8:
      return sx == 4 ? base : sx < 4 ? base + r : base + 0.5;
    case 9:
      return sy == 4 ? base : sy < 4 ? base + r : base + 0.5;
    case 10:
      return sx > 3 ? base : raised(0.5);
    case 11:
      return sy > 3 ? base : raised(0.5);
    case 12:
      return base + 0.5;
    case 13:
      return sx > 3 ? base + r : raised(0.25);
    case 14:
      return sy > 3 ? base + r : raised(0.25);
    default:
      return inside ? (sy < 5 ? base + 0.75 : base + 0.25) : base;
  }
}

double LABTXT_TEK_grid(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  bool on = false;
  switch (hash(t, 2, x, y) & 3) {
    case 0:
      on = (x & 3) == 1;
      break;
    case 1:
      on = (y & 3) == 1;
      break;
    default:
      on = (x & 3) == 1 || (y & 3) == 1;
      break;
  }
  return on ? 0.5 : 0.0;
}

double LABTXT_TEK_Maze(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  const int32_t h = hash(t, 2, x, y);
  switch (h & 3) {
    case 0:
      return within(x & 3, 1, 2) && within(y & 3, 1, 2) ? unitLevel(h) : 0.25;
    case 1:
      return (x & 3) == 1 ? 0.25 : 0.0;
    case 2:
      return (y & 3) == 1 ? 0.25 : 0.0;
    default:
      return 0.0;
  }
}

double LABTXT_TEK_D(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  const int32_t h = hash(t, 2, x, y);
  const int32_t sx = x & 3, sy = y & 3;
  bool pad = false;
  switch (h & 7) {
    case 2:
      pad = sx == 0 && sy == 0;
      break;
    case 3:
      pad = sx == 2 && sy == 2;
      break;
    case 4:
      pad = sx == 2 && within(sy, 1, 2);
      break;
    case 5:
      pad = sy == 2 && within(sx, 1, 2);
      break;
    default:
      break;
  }
  if (pad)
    return unitLevel(h) + 0.25;
  bool gap = false;
  switch (h & 3) {
    case 0:
      gap = !odd(x);
      break;
    case 1:
      gap = !odd(y);
      break;
    case 2:
      gap = sx != 1;
      break;
    default:
      gap = sy != 1;
      break;
  }
  return gap ? 0.0 : 0.5;
}

double LABTXT_TEK_sparce(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  const int32_t h = hash(t, 3, x, y);
  const int32_t sx = x & 7, sy = y & 7;
  const bool edge = sx < 2 || sx > 6, narrow = sx < 2 || sx > 3;
  switch (h & 15) {
    case 0:
      if (sy < 2 || edge)
        return 0.0;
      return sy < 7 ? unitLevel(h) : 0.0;
    case 1:
      return !edge && within(sy, 2, 3) ? 1.0 : 0.0;
    case 2:
      return !narrow && within(sy, 1, 6) ? 1.0 : 0.0;
    case 3:
      return !narrow && within(sy, 2, 3) ? 1.0 : 0.0;
    default:
      return 0.0;
  }
}

double LABTXT_TEK_corail(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  const int32_t h = hash(t, 2, x, y);
  const int32_t sx = x & 3, sy = y & 3;
  if ((h & 7) == 4) {
    const bool rim = !(within(sx, 1, 2) && within(sy, 1, 2));
    return rim ? 1.0 : 0.0;
  }
  if (!odd(h))
    return sx > 1 ? 0.5 : 1.0;
  return sy >= 2 ? 0.5 : 1.0;
}

double LABTXT_TEK_BuildA(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  const int32_t h = hash(t, 3, x, y);
  const bool wall = (x & 7) == 0 || (y & 7) == 0;
  const double level = wall ? 0.0 : ((h & 3) != 0 ? unitLevel(h) : 0.25);
  switch (h & 7) {
    case 4:
      return !wall && within(x & 7, 3, 5) ? level + 0.5 : level;
    case 5:
      return !wall && within(y & 7, 3, 5) ? level + 0.5 : level;
    case 3:
      return !wall ? level + unitLevel(h) : level;
    default:
      return level;
  }
}

double LABTXT_TEK_BuildB(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  if ((x & 31) == 0)
    return 1.0;
  if ((y & 15) == 0)
    return 0.5;
  const int32_t type = hash(t, 2, x, y) & 3;
  const bool line = (x & 3) == 0 || (y & 3) == 0;
  if (type == 3 || line)
    return 0.0;
  static constexpr double kFloor[3] = {0.25, 0.33, 0.125};
  return kFloor[type];
}

double LABTXT_TEK_randomEdges(const KVtables* t, int32_t x, int32_t y)
{
  const int32_t X = kvnum::wrap_add_i32(x, 1), Y = kvnum::wrap_add_i32(y, 1);
  const bool vband = (X & 31) < 3, hband = (Y & 31) <= 2;
  switch (hash(t, 5, X, Y) & 3) {
    case 0:
      return vband ? 0.0 : 1.0;
    case 1:
      return hband ? 0.0 : 1.0;
    case 2:
      return vband || hband ? 0.0 : 1.0;
    default:
      return vband && hband ? 0.0 : 1.0;
  }
}

double LABTXT_TEK_lines(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 0;
  const double e = LABTXT_TEK_randomEdges(t, kvnum::wrap_add_i32(x, 8), kvnum::wrap_add_i32(y, 8));
  if ((x & 63) == 0)
    return 0.0;
  const bool lineX = (x & 15) == 0, lineY = (y & 15) == 0;
  bool low = false;
  switch (hash(t, 4, x, y) & 7) {
    case 0:
      low = lineX;
      break;
    case 1:
      low = lineY;
      break;
    case 2:
      low = lineX || lineY;
      break;
    case 3:
      low = false;
      break;
    default:
      low = lineX && lineY;
      break;
  }
  return low ? 0.0 * e : 0.5 * e;
}

namespace {

struct Mark
{
  bool hit;
  int16_t code;
  double level;
};

// The ground mark chosen by u = (h >> 2) & 31 at a point of a 16-unit cell.
Mark groundMark(int32_t u, int32_t x, int32_t y)
{
  const int32_t sx = x & 15, sy = y & 15;
  const bool hxOdd = odd(x >> 1), hyOdd = odd(y >> 1);
  auto box = [&](int32_t lo, int32_t hi) { return within(sx, lo, hi) && within(sy, lo, hi); };
  switch (u) {
    case 0:
      return {box(4, 12) && hyOdd, 100, 1.0};
    case 1:
      return {box(4, 12) && hxOdd, 90, 1.0};
    case 2:
      return {box(2, 14) && !within(sx, 7, 8), -16, 0.375};
    case 3:
      return {within(sy, 4, 12) && !within(sy, 7, 8) && within(sx, 2, 14), -92, 0.625};
    case 4:
      return {hxOdd && hyOdd, -32, 0.375};
    case 5:
      return {box(2, 14) && (y & 3) == 1, 89, 0.75};
    case 6:
      return {box(2, 14) && (x & 3) == 1, 89, 0.75};
    case 7:
      return {box(3, 13) && (sy == 3 || sy == 13), -128, 0.625};
    case 8:
      return {box(3, 13) && (sx == 3 || sx == 13), -128, 0.625};
    case 9:
      return {(sx == 4 || sx == 12) && (y & 3) >= 2, 89, 0.25};
    case 10:
      return {(sy == 4 || sy == 12) && (x & 3) >= 2, 96, 0.25};
    default:
      return {false, 0, 0.0};
  }
}

}  // namespace

double LABTXT_TEK_groundmarks(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t h = hash(t, 4, x, y);
  if (((h & 3) == 0 && (x & 63) == 0) || ((h & 3) == 1 && (y & 63) == 0)) {
    setCode(code, -4);
    return 0.0;
  }
  setCode(code, -64);
  const Mark mark = groundMark((h >> 2) & 31, x, y);
  if (!mark.hit)
    return 0.5;
  setCode(code, mark.code);
  return mark.level;
}

double LABTXT_TEK_RandomRects(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t h = hash(t, 5, x, y);
  const int32_t kind = h % 12;
  setCode(code, kind);
  const bool bx = (x & 31) <= 16, by = (y & 31) <= 16;
  switch (kind) {
    case 0:
      return bx && by ? 0.25 : 0.5;
    case 1:
      return by && !bx ? 0.75 : 0.5;
    case 2:
      return bx || by ? 0.25 : 0.5;
    case 3:
      return !bx || by ? 0.75 : 0.5;
    case 4:
    case 5:
      return !bx ? 0.25 : 0.5;
    case 6:
    case 7:
      return by ? 0.75 : 0.5;
    case 8:
      return 0.25;
    case 10:
      return 0.75;
    case 11:
      return 1.0;
    default:  // 9 (and the negative remainders of a table that is no permutation)
      return 0.5;
  }
}

double LABTXT_TEK_sparceRects(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t h = hash(t, 5, x, y);
  setCode(code, h & 31);
  switch (h & 7) {
    case 4:
      return (x & 31) > 16 ? 0.25 : 0.0;
    case 5:
      return (x & 31) <= 16 ? 0.5 : 0.0;
    case 6:
      return (y & 31) <= 16 ? 0.75 : 0.0;
    case 7:
      return (y & 31) > 16 ? 0.5 : 0.0;
    default:
      return 0.0;
  }
}

namespace {

// The Mondrian table shared by LABTXT_mondrian and LABTXT_mondrianRects:
// level by h & 7 and the band indices bx, by (0..3).
double mondrianLevel(int32_t h, int32_t bx, int32_t by)
{
  switch (h & 7) {
    case 0:
      return by > 1 ? -0.5 : (h > 320 ? 1.0 : 0.125);
    case 1:
      return bx > 1 ? -0.5 : (h <= 320 ? 0.75 : 0.5);
    case 2:
      return h > 511 ? 0.0 : 0.25;
    case 3:
      return -0.5;
    case 4:
      return by > 2 ? -0.5 : (h > 320 ? 1.0 : 0.125);
    case 5:
      return bx > 2 ? -0.5 : (h <= 320 ? 0.75 : 0.5);
    case 6:
      return bx > 2 ? 0.0 : (h <= 511 ? 0.5 : 0.25);
    default:
      return by > 2 ? 0.0 : (h <= 511 ? 0.5 : 0.25);
  }
}

}  // namespace

double LABTXT_mondrian(const KVtables* t, int32_t x, int32_t y, int16_t* /*code*/)
{
  const int32_t h = kvcell::permAt(t, hash(t, 4, y, x));
  return mondrianLevel(h, (x >> 2) & 3, (y >> 2) & 3);
}

double LABTXT_mondrianRects(const KVtables* t, int32_t x, int32_t y, double seed, int16_t* code)
{
  *code = 5;
  int32_t offset;
  kvnum::trunc_i32(seed, offset);  // 0 when the seed does not fit
  const int32_t h = t->perm[kvnoise::usum(offset, hash(t, 2, y, x)) & 1023u];
  const double level = mondrianLevel(h, x & 3, y & 3);
  if (level <= 0.0)
    return level;
  switch (h & 3) {
    case 0:
      *code = h < 321 ? 1 : 0;
      break;
    case 1:
      *code = h >= 321 ? 2 : 1;
      break;
    default:
      *code = h > 256 ? 3 : 4;
      break;
  }
  return level;
}

double LABTXT_omazeA(const KVtables* t, int32_t x, int32_t y, double /*seed*/, int16_t* code)
{
  if (hash(t, 1, y, x) & 1) {
    *code = 1;
    return odd(x) ? -1.0 : 1.0;
  }
  *code = 0;
  return odd(y) ? -1.0 : 1.0;
}

namespace {

enum class Parcel
{
  Full,
  Quarter,
  Half,
  Empty,
  Tower
};

Parcel cityBParcel(int32_t type, int32_t sx, int32_t sy)
{
  const bool core = within(sx, 2, 5) && within(sy, 2, 5);
  using P = Parcel;
  switch (type) {
    case 0:
      return P::Full;
    case 1:
      return P::Empty;
    case 2:
      return sx <= 3 ? P::Full : P::Empty;
    case 3:
      return sy < 4 ? P::Full : P::Empty;
    case 4:
      return core ? P::Full : P::Quarter;
    case 5:
      return core ? P::Half : P::Empty;
    case 6:
      return sx < 2 ? P::Empty : P::Half;
    case 7:
      return sy <= 1 ? P::Empty : P::Half;
    case 8:
      return sx == 4 ? P::Empty : sx <= 3 ? P::Full : P::Half;
    case 9:
      return sy == 4 ? P::Empty : sy <= 3 ? P::Full : P::Half;
    case 10:
      return sx >= 4 ? P::Empty : P::Half;
    case 11:
      return sy >= 4 ? P::Empty : P::Half;
    case 12:
      return P::Half;
    case 13:
      return sx < 4 ? P::Quarter : P::Empty;
    case 14:
      return sy < 4 ? P::Quarter : P::Empty;
    default:
      return core ? P::Tower : P::Empty;
  }
}

}  // namespace

double LABTXT_CityBblock(const KVtables* t, int32_t x, int32_t y, double /*seed*/, int16_t* code)
{
  *code = 6;
  if ((x & 15) < 2 || (y & 15) < 2)
    return -0.75;
  const int32_t h = hash(t, 3, y, x);
  const int32_t type = h & 15;
  const Parcel parcel = cityBParcel(type, x & 7, y & 7);
  if (parcel == Parcel::Empty)
    return -0.5;
  switch (type) {
    case 0:
      *code = 4;
      break;
    case 4:
    case 8:
    case 11:
      *code = int16_t((h >> 4) & 3);
      break;
    case 13:
      *code = 5;
      break;
    default:
      *code = 3;
      break;
  }
  switch (parcel) {
    case Parcel::Full:
      return 1.0;
    case Parcel::Quarter:
      return 0.25;
    case Parcel::Half:
      return 0.5;
    default:
      return 2.0;
  }
}

double LABTXT(const KVtables* t, int32_t x, int32_t y)
{
  const int32_t h = hash(t, 2, y, x);
  if (odd(h))
    return (y & 3) == 0 ? 1024.0 : 0.0;
  return (x & 3) == 0 ? 1024.0 : 0.0;
}
