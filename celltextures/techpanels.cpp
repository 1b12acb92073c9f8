#include "celltextures/techpanels.h"

using kvcell::hash;
using kvcell::unitLevel;
using kvcell::within;

namespace {

bool odd(int32_t v)
{
  return (v & 1) != 0;
}

double halfUnitLevel(int32_t h)
{
  return h / 2048.0;
}

}  // namespace

double LABTXT2D_A(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 4;
  if ((x & 7) == 0 || (y & 7) == 0)
    return 0.0;
  const int32_t h = hash(t, 3, x, y);
  static constexpr int16_t kCode[8] = {5, 6, 7, 4, 5, -1, -1, -1};  // -1: h & 3
  const int16_t c = kCode[(h >> 3) & 7];
  *code = c < 0 ? int16_t(h & 3) : c;
  return (h & 3) != 0 ? unitLevel(h) : 0.25;
}

double LABTXT2D_BuildA(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  if ((y & 31) < 2) {
    *code = 7;
    return 1.0;
  }
  if ((x & 15) == 0) {
    *code = 6;
    return 0.75;
  }
  const int32_t h = hash(t, 3, x, y);
  if ((x & 7) != 0 && (y & 7) != 0) {
    *code = int16_t(h & 3);
    return 0.25;
  }
  *code = 5;
  return 0.5;
}

double LABTXT2D_BuildB(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t py = y & 31;
  if (!within(py, 2, 30)) {
    *code = 7;
    return 1.0;
  }
  if ((x & 15) <= 1) {
    *code = 6;
    return 0.75;
  }
  const int32_t h = hash(t, 3, x, y);
  if ((x & 7) == 0 || (y & 7) == 0) {
    *code = 5;
    return 0.5;
  }
  if (within(py, 8, 24)) {
    *code = (h & 7) == 0 ? 1 : int16_t(h & 3);
    return 0.4 * h / 1024.0;
  }
  *code = 6;
  return 0.45;
}

namespace {

// The steps of a pyramid: ring i (0 .. count - 1) holds the points with
// k < sx < e and k < sy < e, where k = first + step * i and
// e = farBase - farStep * i.
struct Rings
{
  int32_t first, step, count;
  int32_t farBase, farStep;
  double weight;  // each ring adds weight * d
};

}  // namespace

double LABTXT2D_Mayan(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t sx = x & 15, sy = y & 15;
  const int32_t h = hash(t, 4, y, x);
  const double d = halfUnitLevel(h);
  const bool ex = sx == 0 || sx == 15;

  // Base plate.
  bool raised = false;
  switch ((h >> 4) & 3) {
    case 1:
      raised = !ex;
      break;
    case 2:
      raised = within(sy, 1, 14);
      break;
    case 0:
      raised = !ex && within(sy, 1, 14);
      break;
    default:
      break;
  }
  double level = raised ? 0.125 : 0.0;
  *code = raised ? 5 : 4;

  const int32_t kind = h & 15;
  Rings rings;
  switch (kind) {
    case 1:
    case 2:
      rings = {2, 1, 4, 11, 2, 0.75};  // e = 11, 9, 7, 5
      break;
    case 4:
    case 5:
      rings = {1, 1, 7, 14, 1, 1.0};  // e = 14 ... 8
      break;
    case 6:
    case 7:
      rings = {3, 2, 5, 12, 2, 0.66};  // e = 12, 10, 8, 6, 4
      break;
    default:
      return level;
  }
  for (int32_t i = 0; i < rings.count; i++) {
    const int32_t k = rings.first + rings.step * i, e = rings.farBase - rings.farStep * i;
    if (!(k < sx && sx < e && k < sy && sy < e))
      continue;
    level += rings.weight * d;
    switch (kind) {
      case 1:
        *code = 3;
        break;
      case 2:
        *code = 7;
        break;
      case 4:
        *code = 1;
        break;
      case 5:
        *code = int16_t((k - 1) & 3);
        break;
      default:
        *code = int16_t(((*code + 1) & 3) + 4);
        break;
    }
  }
  return level;
}

double LABTXT2D_Network(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 4;
  const int32_t sx = x & 15, sy = y & 15;
  const int32_t h = hash(t, 4, x, y);
  const bool big = within(sx, 5, 10) && within(sy, 5, 10);
  const bool hub = within(sx, 6, 9) && within(sy, 6, 9);
  const bool cross = within(sx, 7, 8) || within(sy, 7, 8);
  const bool corner = (sy < 9 && sx < 2) || (sx < 9 && sy < 2);
  bool link = false;
  switch (h & 3) {
    case 0:
      if (big) {
        *code = hub ? int16_t((h >> 4) & 3) : 6;
        return hub ? 1.0 : 0.75;
      }
      link = cross;
      break;
    case 1:
      link = corner || (cross && sx > 6 && sy > 6);
      break;
    default:
      link = cross;
      break;
  }
  if (!link)
    return 0.0;
  *code = 5;
  return 0.25;
}

double LABTXT2D_CubeGrid(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t h = hash(t, 3, y, x);
  if (within(x & 7, 1, 6) && within(y & 7, 1, 6)) {
    *code = h >= 512 ? ((h & 16) ? 5 : 4) : int16_t((h >> 4) & 3);
    return halfUnitLevel(h);
  }
  *code = 7;
  return 1.0;
}

double LABTXT2D_ASigns(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 4;
  if ((y & 15) < 6)
    return 0.0;
  const int32_t h = hash(t, 2, y, x);
  const int32_t row = t->perm[kvnoise::usum(t->perm[(y >> 4) & 1023], y >> 12) & 1023u] & 7;
  const double sign = halfUnitLevel(h) + 0.5;
  bool glyph;
  switch (h & 3) {
    case 0:
      glyph = (x & 3) < 2;
      break;
    case 1:
      glyph = (y & 3) < 2;
      break;
    default:
      return 0.125;
  }
  if (!glyph)
    return 0.25;
  *code = int16_t(row);
  return sign;
}

double LABTXT2D_BSigns(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t py = y & 31;
  if (py < 8) {
    *code = 4;
    return 0.0;
  }
  *code = 5;
  if (!within(py, 12, 27))
    return 0.125;
  const int32_t h = hash(t, 3, y, x);
  const int32_t row = t->perm[kvnoise::usum(t->perm[(y >> 5) & 1023], y >> 13) & 1023u];
  int32_t s;
  switch (h & 3) {
    case 0:
      s = x & 7;
      break;
    case 1:
      s = y & 7;
      break;
    default:
      return 0.125;
  }
  if (s > 3)
    return 0.25;
  *code = int16_t(row & 3);
  return 0.75;
}

double LABTXT2D_TA(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 4;
  const int32_t sx = x & 7, sy = y & 7;
  const int32_t h = hash(t, 3, x, y);
  if ((h & 7) == 4) {
    if (within(sx, 2, 5) && within(sy, 2, 5)) {
      *code = int16_t((h >> 4) & 3);
      return 1.0;
    }
    *code = (h & 16) ? 6 : 5;
    return 0.5;
  }
  const bool strip = odd(h) ? sy < 4 : sx <= 3;
  if (!strip)
    return 0.0;
  *code = 5;
  return 0.25;
}

double LABTXT2D_Hgrid(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  *code = 4;
  const int32_t h = hash(t, 4, x, y);
  if ((x & 15) == 0 || (y & 15) == 0) {
    *code = 3;
    return 1.0;
  }
  switch (h & 3) {
    case 1:
      if ((x & 3) == 0 || (y & 3) == 0) {
        *code = 1;
        return 0.5;
      }
      return 0.0;
    case 2:
      if ((x & 7) == 0 || (y & 7) == 0) {
        *code = 2;
        return 0.75;
      }
      return 0.0;
    case 0:
      *code = 5;
      return 0.0;
    default:
      return 0.0;
  }
}

namespace {

struct Rack
{
  bool hit;
  double level;
  int16_t code;
};

// The racks of a computer-room floor at level 0 (t = 2, 3); a miss on racks
// 0 and 1 leaves code 4.
Rack bareFloorRack(int32_t k, int32_t x, int32_t y, int32_t sx, int32_t sy)
{
  const bool xo = odd(x), yo = odd(y);
  switch (k) {
    case 0:
      return xo ? Rack{true, 0.75, 5} : Rack{true, 0.0, 4};
    case 1:
      return yo ? Rack{true, 0.75, 5} : Rack{true, 0.0, 4};
    case 2:
      return {xo && within(sy, 3, 5), 1.0, 1};
    case 3:
      return {yo && within(sx, 3, 5), 1.0, 2};
    case 4:
      return {sx == 3 && yo, 0.5, 2};
    case 5:
      return {sy == 3 && xo, 0.5, 3};
    case 6:
      return {xo && yo && within(sy, 3, 5), 1.0, 1};
    default:
      return {false, 0.0, 5};
  }
}

// The racks of a raised floor (t = 0, 1).
Rack raisedFloorRack(int32_t k, int32_t x, int32_t y, int32_t sx, int32_t sy)
{
  const bool xo = odd(x), yo = odd(y);
  switch (k) {
    case 0:
      return {xo && within(sy, 2, 5), 0.75, 0};
    case 1:
      return {xo && within(sy, 2, 5), 0.75, 6};
    case 2:
      return {yo && within(sx, 2, 5), 0.75, 1};
    case 3:
      return {yo && within(sx, 2, 5), 0.75, 7};
    case 4:
      return {xo && yo && within(sy, 3, 5), 1.0, 0};
    case 5:
      return {xo && yo && within(sx, 3, 5), 1.0, 1};
    case 6:
      return {sx == 3 && yo, 0.5, 2};
    case 7:
      return {sy == 3 && xo, 0.5, 3};
    case 8:
      return {(x & 15) == 6 && yo, 0.5, 0};
    default:
      return {(y & 15) == 3 && xo, 0.5, 1};
  }
}

}  // namespace

double LABTXT2D_Comput(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t sx = x & 7, sy = y & 7;
  const int32_t k = hash(t, 3, x, y);
  const int32_t type = hash(t, 4, y, x) & 3;
  const bool bare = type >= 2;
  const bool wall = bare ? (sx == 0 || sy == 0) : ((x & 15) == 0 || (y & 15) == 0);
  if (wall) {
    *code = 4;
    return 0.0;
  }
  const double floor = type == 1 ? 0.25 : type == 0 ? 0.125 : 0.0;
  // The rack index k mod 10 is taken from a hash in 0..1023; a table that is
  // no permutation may give a negative remainder, which has no rack.
  const int32_t rackIndex = k % 10;
  const Rack rack = rackIndex < 0 ? Rack{false, 0.0, 5}
                    : bare        ? bareFloorRack(rackIndex, x, y, sx, sy)
                                  : raisedFloorRack(rackIndex, x, y, sx, sy);
  if (!rack.hit) {
    *code = 5;
    return floor;
  }
  *code = rack.code;
  return rack.level;
}
