#include "celltextures/mazes.h"

#include "celltextures/celltexture2d.h"
#include "foundation/checked.h"

namespace {

struct Rgb
{
  double r, g, b;
};

// A light: on (value 1) with its colour, or off with the cell's dark colour.
double light(mazecolorrecord* rec, bool on, Rgb lit, Rgb dark)
{
  const Rgb c = on ? lit : dark;
  rec->red = c.r, rec->green = c.g, rec->blue = c.b;
  return on ? 1.0 : 0.0;
}

// Where a point lies in its 4 by 4 LED block.
struct LedSpot
{
  int32_t b;  // x & 3
  int32_t a;  // y & 3
  bool inner;
  bool bothOdd;
};

LedSpot ledSpot(int32_t x, int32_t y)
{
  const int32_t b = x & 3, a = y & 3;
  return {b, a, (b == 1 || b == 2) && (a == 1 || a == 2), (x & 1) != 0 && (y & 1) != 0};
}

constexpr Rgb kBlack{0, 0, 0};

// The colour of a corner code (black outside the list).
const double* colourOf(const MazeColorList colours, int16_t code)
{
  static constexpr double kNone[3] = {0, 0, 0};
  return code >= 0 && code < kMazeColorCount ? colours[code] : kNone;
}

struct Corner
{
  double value;
  int16_t code;
  double weight;
};

}  // namespace

bool fmazeColorHexa(const KVtables* t, double x, double y, double param, MazeCellProc cell,
                    const MazeColorList colours, mazecolorrecord* rec, int mode)
{
  kvnum::LatticeSplit sx, sy;
  if (!kvnum::lattice_trunc_split(x, sx) || !kvnum::lattice_trunc_split(y, sy))
    return false;
  const int32_t i0 = sx.cell, j0 = sy.cell;
  const int32_t i1 = kvnum::wrap_add_i32(i0, 1), j1 = kvnum::wrap_add_i32(j0, 1);
  const double fx = sx.frac, fy = sy.frac;
  auto sample = [&](int32_t i, int32_t j, double weight) {
    Corner c{0, 0, weight};
    c.value = cell(t, i, j, param, &c.code);
    return c;
  };
  // Corners 00, the third corner of the half, and 11.
  const Corner c00 = sample(i0, j0, fx > fy ? 1 - fx : 1 - fy);
  const Corner c3 = fx > fy ? sample(i1, j0, fx - fy) : sample(i0, j1, fy - fx);
  const Corner c11 = sample(i1, j1, fx > fy ? fy : fx);

  const double value = c00.weight * c00.value + c3.weight * c3.value + c11.weight * c11.value;
  rec->value = 2 * value - 1;

  if (mode != 1) {
    const double *a = colourOf(colours, c00.code), *b = colourOf(colours, c3.code),
                 *c = colourOf(colours, c11.code);
    rec->red = c00.weight * a[0] + c3.weight * b[0] + c11.weight * c[0];
    rec->green = c00.weight * a[1] + c3.weight * b[1] + c11.weight * c[1];
    rec->blue = c00.weight * a[2] + c3.weight * b[2] + c11.weight * c[2];
    return true;
  }
  const double* flat = nullptr;
  if (c3.weight > 0.5)
    flat = colourOf(colours, c3.code);
  else if (c00.weight > 0.5)
    flat = colourOf(colours, c00.code);
  else if (c11.weight > 0.5)
    flat = colourOf(colours, c11.code);
  else if (c00.code == c3.code || c00.code == c11.code)
    flat = colourOf(colours, c00.code);
  else if (c3.code == c11.code)
    flat = colourOf(colours, c3.code);
  if (flat == nullptr) {
    rec->red = rec->green = rec->blue = 32;
  } else {
    rec->red = flat[0], rec->green = flat[1], rec->blue = flat[2];
  }
  return true;
}

double LABTXT_Hmaze(const KVtables* t, int32_t x, int32_t y, double /*param*/, int16_t* code)
{
  const int32_t h = kvnoise::cellHash2(t->perm, x >> 1, y >> 1);
  const bool xEven = (x & 1) == 0, yEven = (y & 1) == 0;
  *code = 0;
  switch (uint32_t(h) % 3) {
    case 1:
      if (xEven) {
        *code = 2;
        return 1;
      }
      break;
    case 2:
      if (yEven) {
        *code = 3;
        return 1;
      }
      break;
    default:
      if (xEven == yEven) {
        *code = 1;
        return 1;
      }
      break;
  }
  return 0;
}

double LABTXT_lightmaze(const KVtables* t, int32_t x, int32_t y, mazecolorrecord* rec)
{
  const LedSpot p = ledSpot(x, y);
  const Rgb dark{0, 0.1, 0.2};
  switch (kvnoise::cellHash2(t->perm, x >> 2, y >> 2) & 7) {
    case 0:
      return light(rec, p.inner && p.a == 1, {0, 0, 1}, dark);
    case 1:
      return light(rec, p.inner && p.b == 1, {0, 0, 1}, dark);
    case 2:
      return light(rec, p.bothOdd, {0, 1, 0}, dark);
    case 3:
      return light(rec, p.bothOdd, {1, 0, 0}, dark);
    case 4:
      return light(rec, p.inner && p.bothOdd, {1, 1, 1}, dark);
    case 5:
      return light(rec, p.b == 1 && (y & 1) != 0, {1, 1, 0}, dark);
    case 6:
      return light(rec, p.a == 1 && (x & 1) != 0, {1, 1, 0}, dark);
    default:
      return light(rec, false, kBlack, dark);
  }
}

double LABTXT_lmaze1(const KVtables* t, int32_t x, int32_t y, mazecolorrecord* rec)
{
  const LedSpot p = ledSpot(x, y);
  const bool cross = p.a == 1 || p.b == 1;
  switch (kvnoise::cellHash2(t->perm, x >> 2, y >> 2) & 7) {
    case 0:
      return light(rec, p.a == 1, {1, 0, 0}, kBlack);
    case 1:
      return light(rec, p.b == 1, {1, 0, 0}, kBlack);
    case 2:
      return light(rec, p.a == 1, {0, 1, 0}, kBlack);
    case 3:
      return light(rec, p.b == 1, {0, 1, 0}, kBlack);
    case 4:
      return light(rec, cross, {1, 0, 0}, kBlack);
    case 5:
      return light(rec, cross, {0, 1, 0}, kBlack);
    case 6:
      return light(rec, !p.inner, {0, 0, 1}, kBlack);
    default:
      return light(rec, p.inner, {0.5, 0.5, 0.5}, kBlack);
  }
}

namespace {

// The colour of a fully lit lmaze2 block from the point's own hash.
Rgb lmaze2Scatter(int32_t h2)
{
  if (h2 < 200)
    return {1, 1, 0};
  if (h2 < 400)
    return {1, 0, 0};
  if (h2 < 600)
    return {0, 0.9, 1};
  if (h2 < 650)
    return {1, 0.3, 0};
  return {0, 0, 0.8};
}

}  // namespace

double LABTXT_lmaze2(const KVtables* t, int32_t x, int32_t y, mazecolorrecord* rec)
{
  const LedSpot p = ledSpot(x, y);
  const int32_t h = kvnoise::cellHash2(t->perm, y >> 2, x >> 2);
  switch (h & 7) {
    case 0:
      return light(rec, (x & 1) == (y & 1), {1, 1, 0}, kBlack);
    case 1:
      return light(rec, (x & 3) < 2 || p.bothOdd, {1, 0, 0}, kBlack);
    case 2:
      return light(rec, (y & 3) < 2 || p.bothOdd, {0, 1, 0}, kBlack);
    case 3:
    case 4:
      if (!p.bothOdd)
        return light(rec, false, kBlack, kBlack);
      if (h >= 600)
        return 1;  // lit, in whatever colour the record holds
      return light(rec, true, h < 400 ? Rgb{1, 0.5, 0} : Rgb{1, 0, 0}, kBlack);
    default:
      return light(rec, true, lmaze2Scatter(kvnoise::cellHash2(t->perm, y, x)), kBlack);
  }
}
