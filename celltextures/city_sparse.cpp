#include "celltextures/city_sparse.h"

#include <algorithm>
#include <cstdlib>

#include "celltextures/cityplan_a.h"

using kvcell::Alley;
using kvcell::alleyAt;
using kvcell::hash;
using kvcell::within;

namespace {

constexpr double kStreet = -0.03125;

// A point of a parcel of 16 half positions and the parcel's hash-derived
// values.
struct SparsePoint
{
  int32_t x, y;
  int32_t lx, ly;  // half position in the parcel, 2..15 here
  int32_t dx, dy;  // distance from the parcel centre (8, 8)
  bool inner;      // whole-unit position x & 31 and y & 31 in 4..27
  bool far, off;   // both distances above 3; off both centre lines
  int32_t a, c, e, n;
  int32_t qx, qy;  // quarter coordinates (x + 2) >> 2, (y + 2) >> 2
  int32_t d;       // the detail layer, 0 or 1
};

bool odd(int32_t v)
{
  return (v & 1) != 0;
}

// The fine detail layer by u = g & 15, only on inner points.
bool detailAt(int32_t u, const SparsePoint& s)
{
  if (!s.inner)
    return false;
  switch (u) {
    case 0:
      return s.off;
    case 1:
      return s.off && !s.far;
    case 2:
      return s.dy < 5 && (s.lx <= 8 || (s.lx == 9 && odd(s.qy)));
    case 3:
      return s.dx < 5 && (s.ly <= 8 || (s.ly < 12 && odd(s.qx)));
    case 4:
      return s.dx < 5 && s.off && odd(s.qx);
    case 5:
      return s.dy < 5 && s.off && odd(s.qy);
    case 6:
      return s.lx != 8;
    case 7:
      return s.ly != 8;
    default:
      return false;
  }
}

// One motif row: where its area holds, its height in quarters.
struct MotifHeight
{
  bool area;
  int32_t height;
};

// Motifs 0..15: blocks and towers around the parcel centre.
MotifHeight towerMotif(int32_t k, const SparsePoint& s)
{
  const int32_t dx = s.dx, dy = s.dy, c = s.c, e = s.e, n = s.n;
  const bool centre = !s.off;
  switch (k) {
    case 0:
      return {dy < 3 && dx<5, s.lx> 9 ? c + 4 : c + 1};
    case 1:
      return {dx < 3 && dy<5, s.ly> 9 ? c + 3 : c + 1};
    case 2:
      return {dy < 5 && dx < 5, dy < 3 && dx < 2 ? e : 4};
    case 3:
      return {dy < 4 && dx < 4, dy < 2 || dx < 2 ? e : e - 4};
    case 4:
      return {s.inner && s.lx <= 8 && dy <= 4, odd(s.qy) ? (s.lx < 4 ? c + 1 : c + 3) : 2};
    case 5:
      return {s.inner && s.ly <= 8 && dx <= 4, odd(s.qx) ? (s.ly < 4 ? c + 1 : c + 3) : 0};
    case 6:
      return {s.inner && s.off, s.far ? 2 : 5};
    case 7:
      if (dy < 2 && dx < 2)
        return {true, dy == 0 || dx == 0 ? s.a + 8 : e - 2};
      return {dy < 6 && dx < 6 && s.ly > 7, s.far ? 2 : 4};
    case 8:
      return {dy < 4 && dx < 6, odd(s.qx) ? 3 : dy == 0 ? 1 : 0};
    case 9:
      return {dy < 6 && dx < 4, odd(s.qy) ? 3 : dx == 0 ? 2 : 0};
    case 10:
      return {dy < 5 && dx < 7, (s.lx < 8 ? 2 : 4) + (dy < 2 ? n : 0)};
    case 11:
      return {dy < 7 && dx < 5, (s.ly < 8 ? 2 : 4) + (dx < 2 ? n : 0)};
    case 12:
      return {dy < 6 && dx < 4, (s.qy & 3) + (dx < 2 ? n : 1)};
    case 13:
      return {dy < 4 && dx < 6, (s.qx & 3) + (dy < 2 ? n : 1)};
    case 14:
      return {dy < 4 && dx < 4 && (s.lx < 9 || s.ly >= 9), centre ? (n < 5 ? 6 : 8) : 2};
    default:  // 15
      return {dy < 6 && dx < 6 && (s.lx >= 9 || s.ly < 9),
              centre ? (n < 5 ? 6 : 8) : (n < 5 ? 3 : 4)};
  }
}

// Motifs 16..31: wings, rows and stripes.
MotifHeight wingMotif(int32_t k, const SparsePoint& s)
{
  const int32_t dx = s.dx, dy = s.dy, e = s.e;
  const bool centre = !s.off;
  switch (k) {
    case 16:
      return {s.inner && dy < 4 && s.lx > 8 && s.off, s.n > 4 ? 4 : 2};
    case 17:
      return {s.inner && dx < 4 && s.ly < 8 && s.off, s.n > 4 ? 4 : 2};
    case 18:
    case 19:
      return {dx <= 3 && dy <= 4 && s.off, s.d + 2 * (s.qy & 1) + 1};
    case 20:
    case 21:
      return {dy <= 3 && dx <= 4 && s.off && !(s.lx < 8 && s.ly < 8), s.d + 2 * (s.qx & 1) + 1};
    case 22:
    case 23:
      return {s.inner && dy < 6 && s.off && odd(s.qx), 2};
    case 24:
    case 25:
      return {dy < 6 && s.off, 2};
    case 26:
      return {s.lx <= 7 && dy <= 3 && dx < 5, odd(s.qy) ? e : 2};
    case 27:
      return {s.ly <= 7 && dx <= 3 && dy < 5, odd(s.qx) ? e : 0};
    case 28:
      return {dy < 5 && dx < 6, centre && dy < 4 && dx < 4 ? 4 : s.qy & 1};
    case 29:
      return {dy < 6 && dx < 5, centre && dy < 4 && dx < 4 ? 4 : s.qx & 1};
    case 30:
      return {dy < 5 && dx < 5, (s.qx & 1) + (centre ? s.qy & 1 : 0) + s.d};
    default:  // 31
      return {s.inner && dx < 5, odd(s.qx) && dy < 3 ? e : 2};
  }
}

// Motifs 32..43: pyramids, stripes, the footprint layer and pads.
MotifHeight padMotif(const KVtables* t, int32_t k, const SparsePoint& s)
{
  const int32_t dx = s.dx, dy = s.dy, c = s.c, n = s.n;
  const bool qodd = odd(s.qx) && odd(s.qy);
  const int32_t twice = n >= 5 ? 2 : 1;
  switch (k) {
    case 32:
      if (n < 5)
        return {s.ly > 7 && dy < 3, dx < 4 ? s.e : 0};
      return {s.ly > 7 && dy <= 3 && dx <= 3, qodd ? s.e : 0};
    case 33:
      return {dy < 5 && dx < 5, std::min(5 - dx, 5 - dy)};
    case 34:
      return {dy < 4 && dx < 5, dx < 3 ? std::max(5 - dx, (s.qy & 1) + 4) : 5 - dx};
    case 35:
      return {dy < 4 && dx < 4, dy < 3 ? std::max(5 - dy, 2 * (s.qx & 1) + 4) : 5 - dy};
    case 36:
    case 37:
      return {dy <= 5 && dx <= 5 && s.ly != 8, (~s.qx & 1) * twice};
    case 38:
    case 39:
      return {dy <= 5 && dx <= 5 && s.lx != 8, (~s.qy & 1) * twice};
    case 40: {
      if (!(dy < 6 && dx < 6))
        return {false, 0};
      // The footprint layer at the lattice point itself, without a code.
      const double level = LABTXT_TEK_randomsymbuild(t, s.x, s.y, nullptr);
      return {true, kvnum::sat_i32(14.0 * level + 2.0)};
    }
    case 41:
      return {dy < 5 && dx < 7 && s.off && !s.far, 2};
    case 42:
      return {dy < 7 && dx < 5 && s.off && !s.far, 2};
    case 43:
      if (n > 4)
        return {dy < 5 && dx < 5, qodd ? c + 4 : dy > 1 || dx > 1 ? 1 : c + 10};
      return {dy < 5 && dx < 5, qodd ? n : 1};
    default:
      return {false, 0};
  }
}

// Height in quarters of motif k = g & 63; the detail layer where the motif's
// area does not hold and for k >= 44.
int32_t motifHeight(const KVtables* t, int32_t k, const SparsePoint& s)
{
  const MotifHeight m = k < 16 ? towerMotif(k, s) : k < 32 ? wingMotif(k, s) : padMotif(t, k, s);
  return m.area ? m.height : s.d;
}

}  // namespace

double LABTXT_SparceCity(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t X = kvnum::wrap_add_i32(x, 1), Y = kvnum::wrap_add_i32(y, 1);
  const int32_t hx = (X >> 1) & 31, hy = (Y >> 1) & 31;
  if (const int16_t mark = kvcell::streetMark(hx, hy)) {
    *code = mark;
    return kStreet;
  }
  const int32_t type = hash(t, 6, Y, X) & 15;
  if (alleyAt(type, hx, hy) == Alley::Centre) {
    *code = -2;
    return kStreet;
  }
  const int32_t g = type + hash(t, 4, Y >> 1, X >> 1);
  *code = kvcell::wrap16(type + (g & 31) * 8);

  SparsePoint s;
  s.lx = (X >> 1) & 15;
  s.ly = (Y >> 1) & 15;
  if (s.lx <= 1 || s.ly <= 1)
    return 0.0;
  s.x = x;
  s.y = y;
  s.inner = within(x & 31, 4, 27) && within(y & 31, 4, 27);
  s.dx = std::abs(s.lx - 8);
  s.dy = std::abs(s.ly - 8);
  s.far = s.dx > 3 && s.dy > 3;
  s.off = s.lx != 8 && s.ly != 8;
  s.a = (g >> 4) & 15;
  s.c = (g >> 5) & 7;
  s.e = s.a + 4;
  s.n = s.c + 2;
  s.qx = kvnum::wrap_add_i32(x, 2) >> 2;
  s.qy = kvnum::wrap_add_i32(y, 2) >> 2;
  s.d = detailAt(g & 15, s) ? 1 : 0;
  return motifHeight(t, g & 63, s) * 0.25;
}
