#include "celltextures/cityplan_b.h"

using kvcell::Alley;
using kvcell::alleyAt;
using kvcell::hash;
using kvcell::within;

namespace {

constexpr double kStreet = -0.0125;

// A point of a parcel of 16 half positions and the parcel's hash-derived
// values.
struct ParcelB
{
  int32_t X, Y;    // x + 1, y + 1
  int32_t u, v;    // half coordinates X >> 1, Y >> 1
  int32_t lx, ly;  // position in the parcel, 0..15
  int32_t g;       // parcel hash H_4(u, v)
  int32_t s, w;    // g >> 6 and (s + 4) >> 1
  bool core;       // lx and ly in 3..13
  bool edge2;      // lx and ly in 2..14
};

bool even(int32_t v)
{
  return (v & 1) == 0;
}

// Both positions in lo..hi.
bool square(const ParcelB& p, int32_t lo, int32_t hi)
{
  return within(p.lx, lo, hi) && within(p.ly, lo, hi);
}

// A band lo..hi, widened by one on each side where `widen` holds.
bool band(int32_t pos, int32_t lo, int32_t hi, bool widen)
{
  return within(pos, lo, hi) || (widen && within(pos, lo - 1, hi + 1));
}

// Storeys of the wings, courtyards and towers of shapes 0..13.
int32_t storeysLow(int32_t k, const ParcelB& p)
{
  const int32_t lx = p.lx, ly = p.ly, w = p.w;
  switch (k) {
    case 0:
      return p.core ? (within(lx, 7, 9) ? 6 : 12) : 0;
    case 1:
      return p.core ? (within(ly, 7, 9) ? 6 : 12) : 0;
    case 2:
      return p.core && lx != 8 && ly != 8 ? 6 : 0;
    case 3:
      return p.core ? 9 - w : 0;
    case 4:
      return p.core && lx <= 7 ? w + 9 : 0;
    case 5:
      return p.core && ly <= 7 ? w + 8 : 0;
    case 6:
      return band(ly, 4, 6, even(p.u)) && band(lx, 4, 12, even(p.v)) ? w + 12 : 0;
    case 7:
      return band(ly, 4, 12, even(p.u)) && band(lx, 4, 6, even(p.v)) ? w + 13 : 0;
    case 8:
      return p.core ? (p.s + 4) / 4 + 4 : 0;
    case 9:
      return band(ly, 4, 12, (p.u & 3) == 0) && band(lx, 4, 12, (p.v & 3) == 0) ? w + 4 : 0;
    case 10:
      return p.core ? (lx < 4 || lx > 12 ? 2 : p.s + 8) : 0;
    case 11:
      // A plinth of 6 over the core with a block of 10 on its middle.
      return p.core ? (square(p, 5, 11) ? 10 : 6) : 0;
    case 12:
      return p.edge2 && lx != 8 ? (lx > 7 ? 4 : 8) : 0;
    default:  // 13
      return p.edge2 && ly != 8 ? (ly < 8 ? 8 : 4) : 0;
  }
}

// Storeys of the halves, crosses and quarters of shapes 14..27.
int32_t storeysHigh(int32_t k, const ParcelB& p)
{
  const int32_t lx = p.lx, ly = p.ly, w = p.w, edge2 = p.edge2 ? 1 : 0;
  switch (k) {
    case 14:
      return p.edge2 && lx <= 7 ? w + 4 : 0;
    case 15:
      return p.edge2 && ly <= 7 ? w + 4 : 0;
    case 16:
      return p.edge2 ? (lx < 8 ? 8 : 6) : 0;
    case 17:
      return p.edge2 ? (ly < 8 ? 12 : 8) : 0;
    case 18:
      return lx > 7 ? w + 10 : 2 * edge2;
    case 19:
      return ly > 7 ? w + 10 : 2 * edge2;
    case 20:
      if (!within(lx, 5, 11))
        return 0;
      return within(ly, 5, 11) ? 4 * ((p.X >> 2) & 1) + 8 : 4;
    case 21:
      if (!within(ly, 5, 11))
        return 0;
      return within(lx, 5, 11) ? 4 * ((p.Y >> 2) & 1) + 8 : 4;
    case 22:
      return p.core && ly < 9 && lx < 9 ? p.s + 20 : 0;
    case 23:
      return p.core && ly >= 8 && lx < 9 ? p.s + 20 : 0;
    case 24:
      return p.core && ly < 9 && lx >= 8 ? p.s + 20 : 0;
    case 25:
      return p.core && ly >= 8 && lx >= 8 ? p.s + 20 : 0;
    default:  // 26, 27
      if (!p.core)
        return 0;
      return within(lx, 4, 12) || within(ly, 4, 12) ? w + 13 : 2;
  }
}

// The storey product P = m x storeys and the material c after the modifier
// q = (g >> 4) & 15 of a tall block (m > 16); n is the parcel shape's
// storeys and b the block's material base.
struct Storeys
{
  int32_t P, c;
};

Storeys modified(const ParcelB& p, int32_t m, int32_t n, int32_t b)
{
  const int32_t lx = p.lx, ly = p.ly, s = p.s;
  int32_t c = b & 7;
  const bool mid511 = square(p, 5, 11), mid610 = square(p, 6, 10);
  const int32_t q = (p.g >> 4) & 15;
  switch (q) {
    case 0:
      if (within(lx, 4, 12) && ly <= 8 && !even(p.X >> 2))
        return {m * (s + 10), 6 - (ly & 1)};
      break;
    case 1:
      if (within(ly, 4, 12) && lx <= 8 && !even(p.Y >> 2))
        return {m * (s + 12), 6 - (lx & 1)};
      break;
    case 2:
      if (p.edge2 && !mid511 && !(lx < 9 && ly < 9))
        return {m * (n + 3), c};
      break;
    case 3:
      if (p.edge2 && !mid511 && !(lx < 9 && ly > 8))
        return {m * (n + 4), c};
      break;
    case 4:
      c = (b - (ly & 1)) & 7;
      if (ly >= 9 && p.edge2 && !mid610)
        return {m * (lx < 9 ? n + 1 : n + 6), c};
      break;
    case 5:
      c = (b - (lx & 1)) & 7;
      if (lx >= 9 && p.edge2 && !mid610)
        return {m * (ly < 9 ? n + 1 : n + 6), c};
      break;
    case 6:
      if (p.core) {
        n += 1;
        c = 7;
      }
      return {mid610 ? m * (s + 12) : m * n, c};
    case 7:
      if (!square(p, 4, 12))
        return {m * (n / 2), c};
      break;
    case 8:
      if (mid511)
        return {m * (n + 8), c};
      break;
    case 9:
      if (!within(lx, 3, 13) && !within(ly, 3, 13))
        return {0, c};
      break;
    case 11:
      if (!within(lx, 4, 12) && !within(ly, 4, 12))
        return {0, c};
      break;
    case 13:
    case 14: {
      if (q == 13 && band(lx, 6, 10, even(p.v)) && band(ly, 6, 10, even(p.u)))
        n += 8;
      const bool A = band(lx, 6, 10, (p.v & 3) == 0), B = band(ly, 6, 10, (p.u & 3) == 0);
      return {A && B ? m * (n + 12) : m * n, c};
    }
    default:  // 10, 12, 15
      break;
  }
  return {m * n, c};
}

}  // namespace

double LABTXT_CityB(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  ParcelB p;
  p.X = kvnum::wrap_add_i32(x, 1);
  p.Y = kvnum::wrap_add_i32(y, 1);
  p.u = p.X >> 1;
  p.v = p.Y >> 1;
  const int32_t hx = p.u & 31, hy = p.v & 31;
  if (const int16_t mark = kvcell::streetMark(hx, hy)) {
    *code = mark;
    return kStreet;
  }
  const int32_t type = hash(t, 6, p.Y, p.X) & 15;
  const Alley alley = alleyAt(type, hx, hy);
  if (alley == Alley::Centre) {
    *code = -2;
    return kStreet;
  }
  p.g = hash(t, 4, p.u, p.v);
  const int32_t g8 = p.g * 8;
  if (!(kvcell::inside32(hx) && kvcell::inside32(hy)) || alley == Alley::Band) {
    *code = kvcell::wrap16((type & 7) + g8);
    return 0.0;
  }

  // Block type: storey multiplier m and material base b.
  int32_t m = 38, b = type;
  switch (type) {
    case 3:
      m = 24;
      break;
    case 4:
      m = 17;
      b = (p.g >> 4) & 3;
      break;
    case 5:
    case 13:
      m = 13;
      break;
    case 8:
      m = 7;
      break;
    case 11:
      m = 10;
      break;
    case 12:
      m = 20;
      break;
    default:
      break;
  }

  p.lx = p.u & 15;
  p.ly = p.v & 15;
  p.s = p.g >> 6;
  p.w = (p.s + 4) >> 1;
  p.core = square(p, 3, 13);
  p.edge2 = square(p, 2, 14);
  const int32_t k = p.g % 28;
  const int32_t n = k < 14 ? storeysLow(k, p) : storeysHigh(k, p);
  if (k >= 26)
    b = (p.g >> 4) & 3;

  const Storeys r = m > 16 ? modified(p, m, n, b) : Storeys{m * n, b & 7};
  *code = kvcell::wrap16(r.c + g8);
  return ((r.P >> 5) & ~1) * 0.125;
}
