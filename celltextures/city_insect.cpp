#include "celltextures/city_insect.h"

#include <algorithm>
#include <cstdlib>

using kvcell::Alley;
using kvcell::alleyAt;
using kvcell::hash;

namespace {

// A point of a 16-unit parcel and the parcel's hash-derived values.
struct InsectPoint
{
  int32_t sx, sy;   // position in the parcel, 2..15 here
  int32_t dx, dy;   // distance from the parcel centre (8, 8)
  bool far, off;    // both distances above 3; off both centre lines
  int32_t a, c, e;  // (g >> 4) & 31, (g >> 5) & 15, a + 4
  int32_t hx, hy;   // half coordinates x >> 1, y >> 1
  int32_t p;        // (hx XOR hy) & 3
  int32_t x, y;
};

bool odd(int32_t v)
{
  return (v & 1) != 0;
}

// Motifs 0, 1, 12 and 13 draw their lines beyond the motif area too; the
// "in" flag is the motif's area.
int32_t motif0(const InsectPoint& q)
{
  const bool in = q.dy < 3 && q.dx < 5;
  const int32_t b = in ? (q.sx > 9 && q.p == 0 ? q.c + 4 : q.c + 1) : 0;
  return q.dx < 2 ? b + 2 : b;
}

int32_t motif1(const InsectPoint& q)
{
  const bool in = q.dx < 3 && q.dy < 5;
  const int32_t b = in ? (q.sy > 9 && q.p == 0 ? q.c + 3 : q.c + 1) : 0;
  return q.dy < 2 ? b + 2 : b;
}

int32_t motif3(const InsectPoint& q)
{
  if (q.off)
    return 0;
  if (q.dy > 4 || q.dx > 4)
    return 2;
  const int32_t m = std::min(5 - q.dy, 5 - q.dx);
  return odd(m) ? 4 * m + 6 : 4 * m + 2;
}

int32_t motif7(const InsectPoint& q)
{
  if (!(q.dy < 6 && q.dx < 6))
    return 0;
  if (q.dy < 2 && q.dx < 2)
    return q.dy == 0 || q.dx == 0 ? q.a + 8 : q.e - 2;
  if (q.sy > 7)
    return q.far ? 2 : 4;
  return 0;
}

int32_t motif9(const InsectPoint& q)
{
  if (!(q.dy < 6 && q.dx < 5))
    return 0;
  if (!q.off && q.dy <= 3 && q.dx <= 3)
    return q.dy < 2 && q.dx < 2 ? 32 : 16;
  return q.sy >= 8 && q.p == 0 ? 4 : 2;
}

int32_t motif10(const InsectPoint& q)
{
  int32_t b = 0;
  if (q.dy < 5 && q.dx < 5) {
    const bool dots = odd(q.hx) && odd(q.hy);
    if (q.c + 2 > 4)
      b = dots ? q.c + 4 : q.dy < 2 && q.dx < 2 ? q.c + 10 : 1;
    else
      b = dots ? q.c + 2 : 1;
  }
  if (q.dx == 0)
    b += 2;
  return q.dy == 0 ? b + 2 : b;
}

// Motifs 14 and 15: a cross-shaped tower over part of the parcel.
int32_t motif14(const InsectPoint& q)
{
  if (!(q.dy < 4 && q.dx < 4 && (q.sx < 9 || q.sy >= 9)))
    return 0;
  if (q.off)
    return 2;
  return q.c + 2 < 5 ? 6 : 8;
}

int32_t motif15(const InsectPoint& q)
{
  if (!(q.dy < 6 && q.dx < 6 && (q.sx >= 9 || q.sy < 9)))
    return 0;
  if (q.off)
    return q.c + 2 > 4 ? 4 : 3;
  return q.c + 2 < 5 ? 6 : 8;
}

// Motifs 16 and 17: a wing off the centre lines, with the line dx = 0.
int32_t wing(const InsectPoint& q, bool area)
{
  if (area && q.off) {
    const int32_t b = q.c + 2 < 5 ? 2 : 4;
    return q.dx == 0 ? b + 1 : b;
  }
  return q.dx == 0 ? 1 : 0;
}

int32_t motif20(const InsectPoint& q)
{
  if (q.off && q.dy <= 3 && q.dx <= 4)
    return q.dx < 3 ? std::max(5 - q.dx, (q.hy & 1) + 4) : 5 - q.dx;
  return q.dx >= 7 && odd(q.dy) ? 1 : 0;
}

int32_t motif21(const InsectPoint& q)
{
  int32_t b = 0;
  if (q.off && q.dy <= 5 && q.dx <= 5) {
    b = ~q.hx & 1;
    if (q.c + 2 >= 5)
      b *= 2;
  }
  return q.dy >= 7 && odd(q.dx) ? b + 1 : b;
}

// Height in eighths of motif k.
int32_t motifHeight(int32_t k, const InsectPoint& q)
{
  const int32_t dx = q.dx, dy = q.dy, c = q.c;
  const bool centre = !q.off;
  switch (k) {
    case 0:
      return motif0(q);
    case 1:
      return motif1(q);
    case 2: {
      if (!(dy <= 4 && dx <= 4))
        return 0;
      const int32_t b = dy < 3 && dx < 2 ? q.e : 4;
      return (q.y & 3) == 0 ? b + 1 : b;
    }
    case 3:
      return motif3(q);
    case 4:
      if (!(q.sx < 9 && dy < 5))
        return 0;
      return odd(q.hy) ? (q.sx > 3 ? c + 3 : c + 1) : 2;
    case 5:
      if (!(q.sy <= 8 && dx <= 4 && odd(q.hx)))
        return 0;
      return q.sy < 4 ? c + 1 : c + 3;
    case 6: {
      if (centre)
        return 0;
      const int32_t b = q.far ? 2 : 5;
      return (q.x & 3) == 0 ? b + 1 : b;
    }
    case 7:
      return motif7(q);
    case 8: {
      if (!(dy < 5 && dx < 6))
        return 0;
      const int32_t b = q.sx >= 8 && q.p == 0 ? 4 : 2;
      return dy <= 1 ? b + c + 2 : b;
    }
    case 9:
      return motif9(q);
    case 10:
      return motif10(q);
    case 11:
      if (!(dy < 4 && dx < 4))
        return 0;
      return dy < 3 ? 2 * std::max(5 - dy, 2 * (q.hx & 1) + 4) : 5 - dy;
    case 12: {
      const int32_t b = dy < 6 && dx < 4 ? (q.hy & 3) + (dx < 2 ? c + 2 : 1) : 0;
      return (q.x & 3) == 0 ? b + 1 : b;
    }
    case 13: {
      const int32_t b = dy < 4 && dx < 6 ? (q.hx & 3) + (dy < 2 ? c + 2 : 1) : 0;
      return (q.y & 3) == 0 ? b + 1 : b;
    }
    case 14:
      return motif14(q);
    case 15:
      return motif15(q);
    case 16:
      return wing(q, dy <= 3 && q.sx >= 9);
    case 17:
      return wing(q, dx <= 3 && q.sy <= 7);
    case 18:
      if (!(dy < 6 && dx < 6))
        return 0;
      return centre && q.p == 0 ? (q.hx & 1) + (q.hy & 1) : q.hx & 1;
    case 19:
      return q.off && dy <= 4 && dx <= 4 ? 2 * std::min(5 - dy, 6 - dx) : 0;
    case 20:
      return motif20(q);
    case 21:
      return motif21(q);
    case 22:
      if (!(dy < 6 && dx < 6))
        return 0;
      if (centre && dy <= 3 && dx <= 3)
        return dy == 0 && dx == 0 ? 28 : 4;
      return 3 * (q.hy & 1);
    case 23:
      if (!(dy < 6 && dx < 6))
        return 0;
      if (centre)
        return dy <= 1 && dx <= 1 ? 32 : 8;
      return 3 * (q.hx & 1);
    default:  // 24
      return dy < 3 && dx < 2 ? q.p + q.e + 4 : 0;
  }
}

}  // namespace

double LABTXT_InsectCity(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t px = x & 31, py = y & 31;
  if (const int16_t mark = kvcell::streetMark(px, py)) {
    *code = mark;
    return mark == -2 ? -1.0 : -0.25;
  }
  const int32_t type = hash(t, 5, y, x) & 15;
  const Alley alley = alleyAt(type, px, py);
  if (alley == Alley::Centre) {
    *code = -2;
    return -1.0;
  }
  const int32_t g = type + hash(t, 4, x, y);
  *code = kvcell::wrap16(type + (g & 31) * 8);
  if (!(kvcell::inside32(px) && kvcell::inside32(py)) || alley == Alley::Band)
    return 0.0;

  InsectPoint q;
  q.x = x;
  q.y = y;
  q.sx = x & 15;
  q.sy = y & 15;
  if (q.sx < 2 || q.sy < 2)
    return 0.0;
  q.dx = std::abs(q.sx - 8);
  q.dy = std::abs(q.sy - 8);
  q.far = q.dx > 3 && q.dy > 3;
  q.off = q.sx != 8 && q.sy != 8;
  q.a = (g >> 4) & 31;
  q.c = (g >> 5) & 15;
  q.e = q.a + 4;
  q.hx = x >> 1;
  q.hy = y >> 1;
  q.p = (q.hx ^ q.hy) & 3;
  return motifHeight(g % 25, q) / 8.0;
}
