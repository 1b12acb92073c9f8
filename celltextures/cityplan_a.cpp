#include "celltextures/cityplan_a.h"

#include <algorithm>
#include <cstdlib>

using kvcell::hash;
using kvcell::within;

namespace {

// Building level of a parcel of LABTXT_CityA by u = g & 15 at parcel
// position (lx, ly), 0..15.
double cityAParcelLevel(int32_t u, int32_t lx, int32_t ly)
{
  const bool core = within(lx, 3, 11) && within(ly, 3, 11);
  switch (u) {
    case 0:
      return lx == 0 || ly == 0 ? 0.25 : 1.5;
    case 1:
    case 12:
      return 1.0;
    case 2:
      return within(ly, 2, 14) && within(lx, 1, 7) ? 1.5 : 0.0;
    case 3:
      return within(lx, 2, 14) && within(ly, 1, 7) ? 1.5 : 0.0;
    case 4:
      return core ? 1.5 : 0.75;
    case 5:
      return core ? 1.0 : 0.0;
    case 6:
      return lx >= 3 ? 1.0 : 0.0;
    case 7:
      return ly >= 3 ? 1.0 : 0.0;
    case 8:
      return lx == 8 ? 0.0 : within(lx, 1, 7) ? 1.5 : 1.0;
    case 9:
      return ly == 8 ? 0.0 : within(ly, 1, 7) ? 1.5 : 1.0;
    case 10:
      return ly != 0 && within(lx, 1, 7) ? 1.0 : 0.0;
    case 11:
      return lx != 0 && within(ly, 1, 7) ? 1.0 : 0.0;
    case 13:
      return within(lx, 1, 7) ? 0.75 : 0.0;
    case 14:
      return within(ly, 1, 7) ? 0.75 : 0.0;
    default:
      return core ? 2.5 : 0.0;
  }
}

}  // namespace

double LABTXT_CityA(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t X = kvnum::wrap_add_i32(x, 1), Y = kvnum::wrap_add_i32(y, 1);
  const int32_t hx = (X >> 1) & 31, hy = (Y >> 1) & 31;
  constexpr double kGround = -0.25;
  if (kvcell::onStreet32(hx) || kvcell::onStreet32(hy)) {
    *code = hx == 0 || hy == 0 ? -2 : -1;
    return kGround;
  }
  bool flat = kvcell::inside32(hx) && kvcell::inside32(hy);
  const int32_t type = hash(t, 6, Y, X) & 15;
  *code = int16_t(type);
  switch (kvcell::alleyAt(type, hx, hy)) {
    case kvcell::Alley::Centre:
      *code = -2;
      return kGround;
    case kvcell::Alley::Band:
      flat = false;
      break;
    case kvcell::Alley::None:
      break;
  }
  // Kerbs and alleys keep the parcel code of the block they border.
  const int32_t g = hash(t, 4, Y >> 1, X >> 1);
  kvcell::addCode(code, (g & 31) * 8);
  if (!flat)
    return kGround;
  return cityAParcelLevel(g & 15, (X >> 1) & 15, (Y >> 1) & 15);
}

namespace {

// The position of a point in a 32-unit block of LABTXT_TEK_randomsymbuild.
struct SymPoint
{
  int32_t hx, hy;  // half-unit position in the block, 0..15
  int32_t dx, dy;  // distance of its pair from the block centre, 0..4
  int32_t dm;      // max(dx, dy)
  bool core, axis, mid, outer;
};

SymPoint symPoint(int32_t hx, int32_t hy)
{
  SymPoint p;
  p.hx = hx;
  p.hy = hy;
  p.dx = std::abs((hx >> 1) - 4);
  p.dy = std::abs((hy >> 1) - 4);
  p.dm = std::max(p.dx, p.dy);
  p.core = within(hx, 7, 10) && within(hy, 7, 10);
  p.axis = hx == 8 || hy == 8;
  p.mid = within(hx, 5, 12) && within(hy, 5, 12);
  p.outer = !p.mid;
  return p;
}

// Footprint level by block type before the final max(L, 0); r is the
// footprint hash. Each type either returns its cap at outer points or falls
// through with its level.
double symbuildLevel(int32_t type, int32_t r, const SymPoint& p)
{
  auto cap = [&](double level, double c) { return p.outer && level >= c ? c : level; };
  const double dm = p.dm;
  switch (type) {
    case 0:
    case 1: {
      double level = r / 512.0;
      if (p.dx > 1 || p.dy > 1) {
        level *= p.dx < 3 && p.dy < 3 ? 0.25 : 0.125;
        return cap(level, 0.125);
      }
      return p.core ? std::max(level, 1.5) : level;
    }
    case 2:
    case 3: {
      double s = r / 512.0;
      if (p.dx >= 2 || p.dy >= 2) {
        s = std::min(s, 1.0);
        if (p.dx == 3 || p.dy == 3)
          s *= 0.25;
      } else if (p.dx != 0 || p.dy != 0) {
        s = std::max(s, 1.5);
      } else {
        s = std::max(s, 2.0);
      }
      double level = p.core ? s + 0.5 : cap(s - 0.25, 0.125);
      if (type == 3 && within(p.hx, 6, 11) && within(p.hy, 6, 11) && p.axis)
        level = std::max(level, 2.25);
      return level;
    }
    case 4:
    case 5: {
      const int32_t d = type == 4 ? p.dx : p.dy;
      double level = r / 1024.0 + 0.5 - 0.5 * d;
      if (p.dx == 3 || p.dy == 3)
        level = std::min(level, 0.25);
      return cap(level, 0.125);
    }
    case 6: {
      double s = r * 1.5 / 1024.0;
      if (p.dx < 2 && p.dy < 2)
        s = s / 2.0 + 1.0;
      const double level = (0.5 + s) * (3.25 - dm) / 4.0 - 0.25;
      if (p.outer)
        return cap(level, 0.125);
      return p.axis ? 1.5 : level;
    }
    case 7: {
      double s = r / 1024.0;
      if ((within(p.hy, 6, 11) && within(p.hx, 3, 7)) || within(p.hx, 10, 14))
        s += 1.25;
      else
        s = (s / 2.0 + 0.5) * (3.25 - dm) / 4.0 - 0.25;
      return p.outer && s >= 0.125 ? 0.1875 : 1.5 * s;
    }
    case 8: {
      double s = r / 1024.0;
      if (p.core)
        s = s / 2.0 + 1.0;
      const double level = (0.5 + s) * (3.25 - dm) / 4.0 - 0.25;
      return within(p.hx, 5, 12) && within(p.hy, 4, 13) && p.axis ? 2.0 : level;
    }
    case 9:
    case 10: {
      const double s = r * 1.5 / 1024.0 + 1.5 - dm;
      if (within(p.hx, 6, 11) && within(p.hy, 7, 10))
        return s > 2.25 ? 1.5 * s : 3.375;
      return p.axis ? 1.5 * (s - 2.0) : 1.5 * s;
    }
    case 11:
    case 12: {
      const double s = r * 1.5 / 1024.0 + 1.5 - dm;
      if (within(p.hx, 7, 10) && within(p.hy, 6, 11) && s <= 1.875)
        return 1.875;
      return std::min(s, 2.0);
    }
    case 13: {
      const double s = r / 1024.0 + 1.5 - dm;
      double level;
      if ((within(p.hx, 5, 12) && within(p.hy, 3, 7)) || within(p.hy, 10, 14))
        level = std::min(s + 2.5, 2.75);
      else
        level = s - 1.5;
      return cap(level, 0.25);
    }
    default: {  // 14, 15
      const double s = r / 1024.0 + 1.5 - dm;
      double level = s;
      if (p.mid) {
        if (p.core)
          level = std::max(s, 1.25);
        if (p.axis)
          level = level > 1.0 ? level + 1.0 : 2.0;
      }
      return cap(level, 0.125);
    }
  }
}

}  // namespace

double LABTXT_TEK_randomsymbuild(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t px = x & 31, py = y & 31;
  const int32_t X = kvnum::wrap_add_i32(x, 1), Y = kvnum::wrap_add_i32(y, 1);
  const SymPoint p = symPoint((X >> 1) & 15, (Y >> 1) & 15);
  const int32_t bx = X >> 5, by = Y >> 5;

  const int32_t type = hash(t, 5, Y, X) & 15;
  if (code)
    kvcell::addCode(code, type * 8);
  if (!(kvcell::inside32(px) && kvcell::inside32(py)))
    return 0.0;

  // The footprint hash is mirror-symmetric about the block centre (along
  // one axis only for types 4 and 5).
  const int32_t u = (type == 4 ? p.hx : p.dx) + 8 * bx;
  const int32_t v = (type == 5 ? p.hy : p.dy) + 8 * by;
  const int32_t r = kvnoise::cellHash2(t->perm, u, v);
  return std::max(symbuildLevel(type, r, p), 0.0);
}

namespace {

struct TowerPoint
{
  int32_t hx, hy;
  int64_t n;  // footprint key, may be large far from the origin
  int32_t f;  // footprint height 12..35
  bool midX, midY, cx, cy, wide, pin;
};

// Storey count of a tower point by h & 3.
int64_t towerStoreys(int32_t h, const TowerPoint& p)
{
  const int32_t f = p.f;
  switch (h & 3) {
    case 0: {
      int64_t b = p.midX ? (p.midY ? 28 : 8) : (p.midY ? 8 : 1);
      if (p.wide)
        b += 12;
      return p.cx && p.cy ? b + 16 : b + ((f - 16) >> 1);
    }
    case 1:
      if (p.wide) {
        if (p.midX && p.midY) {
          const bool centre = within(p.hx, 15, 18) && within(p.hy, 15, 18);
          return centre ? std::max(f + 40, 60) : f + 40;
        }
        return f <= 22 ? 12 : f < 26 ? 30 : 50;
      }
      if (within(p.hx, 9, 24) && within(p.hy, 9, 24) && p.pin)
        return p.n + 8;
      return f <= 24 ? 2 : 8;
    default: {
      if (!p.wide)
        return f < 15 ? 2 : 8;
      int64_t v;
      if (p.midX && p.midY)
        v = p.cx && p.cy ? 64 : (f < 31 ? 42 : 60);
      else
        v = f < 21 ? 10 : f <= 27 ? 30 : 42;
      return p.pin ? 64 : v;
    }
  }
}

}  // namespace

double LABTXT_TEK_symbuild32(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t X = kvnum::wrap_add_i32(x, 1), Y = kvnum::wrap_add_i32(y, 1);
  TowerPoint p;
  p.hx = (X >> 1) & 31;
  p.hy = (Y >> 1) & 31;
  const int32_t h = hash(t, 6, Y, X);
  kvcell::addCode(code, h & 31);
  if (!(within(p.hx, 7, 26) && within(p.hy, 7, 26)))
    return 0.0;

  const int32_t dx = std::abs((p.hx >> 1) - 8), dy = std::abs((p.hy >> 1) - 8);
  // 16 * (X >> 6) stays within 2^29, so the sum cannot overflow.
  const int32_t n = 16 * (X >> 6) + dx + 16 * (Y >> 6) + dy;
  const int32_t r = t->perm[kvnoise::usum(n >> 8, t->perm[n & 1023]) & 1023u] & 31;
  const int32_t q = (8 - std::max(dx, dy)) * 32 + r;
  p.n = n;
  p.f = q / 8;
  p.midX = within(p.hx, 13, 20);
  p.midY = within(p.hy, 13, 20);
  p.cx = within(p.hx, 15, 18);
  p.cy = within(p.hy, 15, 18);
  p.wide = within(p.hx, 11, 22) && within(p.hy, 11, 22);
  p.pin = within(p.hx, 16, 17) || within(p.hy, 16, 17);

  const int64_t v = towerStoreys(h, p);
  int64_t w = (h & 4) ? v >> 1 : (2 * v) / 3;
  w += w & 1;  // up to the next even count
  return double(w) * 0.125;
}

namespace {

// Height in eighths of a LABTXT_subcityA building by block type.
int32_t subcityHeight(int32_t h, int32_t x, int32_t y)
{
  const int32_t px = x & 31, py = y & 31, c = h & 31;
  const bool left = px<17, low = py> 16;
  auto rect = [&](int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    return within(px, x0, x1) && within(py, y0, y1);
  };
  switch (h & 15) {
    case 0: {
      const int32_t a = rect(5, 26, 5, 26) && !left ? 8 : 0;
      return rect(8, 20, 12, 19) ? (c + a) / 2 : a / 2;
    }
    case 1: {
      const int32_t a = rect(5, 26, 5, 26) && !low ? 6 : 0;
      return rect(12, 19, 8, 20) ? ((h % 48) + a) / 2 : a / 2;
    }
    case 2:
      return rect(6, 26, 5, 17) ? 5 : 0;
    case 3:
      return rect(5, 17, 6, 26) ? 5 : 0;
    case 4:
      if (!rect(6, 26, 6, 20))
        return 0;
      return (px < 8 || px > 24) && (py < 8 || py > 18) ? ((c / 2) + 2) / 2 : (c + 2) / 2;
    case 5:
      if (!rect(6, 15, 6, 22))
        return 0;
      return (px < 9 || px > 12) && (py < 9 || py > 19) ? (c + 12) / 4 : (c + 16) / 2;
    case 6:
      return rect(8, 24, 8, 17) || rect(10, 26, 13, 22) ? (c + 16) / 2 : 0;
    case 7: {
      const bool on = rect(11, 17, 9, 27) || rect(10, 18, 12, 24) || rect(9, 19, 15, 21);
      const int32_t b = on ? (h % 52) + 12 : 0;
      return left || low ? std::max(b, 4) / 2 : b / 2;
    }
    case 8: {
      const bool on = rect(9, 27, 11, 17) || rect(12, 24, 10, 18) || rect(15, 21, 9, 19);
      const int32_t b = on ? (h % 52) + 16 : 0;
      return left ? b / 2 : std::max(b, 6) / 2;
    }
    case 9:
      if (!rect(8, 24, 8, 24))
        return 0;
      return (x & 3) != 0 || (y & 3) != 0 || rect(9, 23, 9, 23) ? (c + 20) / 2 : 0;
    case 10:
      if (!rect(8, 21, 8, 25))
        return 0;
      return (x & 3) > 1 || (y & 3) > 1 || rect(9, 20, 9, 24) ? (c + 16) / 2 : 0;
    case 11:
      if (!rect(6, 24, 9, 20))
        return 0;
      if (((x & 7) == 3 || (y & 7) == 2) && !rect(7, 23, 10, 19))
        return 0;
      return (c + 12) / 2;
    case 12:
      if (!rect(6, 24, 9, 20))
        return 0;
      if ((x & 7) == 3)
        return (c + 25) / 2;
      if ((y & 7) == 2)
        return (c + 24) / 2;
      return rect(7, 23, 10, 19) ? (c + 24) / 2 : 0;
    default:  // 13, 14, 15
      return rect(5, 26, 4, 27) ? 8 : 0;
  }
}

}  // namespace

double LABTXT_subcityA(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t h = hash(t, 5, x, y);
  *code = kvcell::wrap16(int32_t(9u * uint32_t(h)));
  return (subcityHeight(h, x, y) & ~1) * 0.125;
}
