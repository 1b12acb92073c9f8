#include "components/f23/f23_techno.h"

#include <algorithm>
#include <cmath>

#include "components/f23/f23_pvt.h"
#include "foundation/checked.h"
#include "noise/noises.h"

namespace {

// Entry k & 1023 of the permutation, as an unsigned value for the sums that
// index with it.
uint32_t perm(const KVtables* t, uint32_t k)
{
  return uint32_t(t->perm[k & 1023u]);
}

// The hash of the 8 x 8 cell that holds (i, j).
uint32_t cellHash(const KVtables* t, int32_t i, int32_t j)
{
  return perm(t, uint32_t(i >> 3) + perm(t, uint32_t(j >> 3)) + uint32_t(j >> 12));
}

// The shape numbers of a cell's motif, from its hash.
struct Motif
{
  uint32_t kind;  // 0..21; above 13 the cell is blank
  uint32_t a;     // 0..4
  uint32_t b;     // 4..8
  uint32_t c;     // 1..6
};

Motif motifOf(uint32_t h)
{
  return {h % 22, (h >> 3) % 5, (h >> 5) % 5 + 4, (h >> 4) % 6 + 1};
}

// Whether sub-lattice point (fx, fy), both 1..7, is off the panel of a
// motif other than the subdividing 9 and 10.
bool offPanel(const Motif& m, uint32_t fx, uint32_t fy)
{
  const uint32_t a = m.a, b = m.b, c = m.c;
  switch (m.kind) {
    case 0:
      return (b < fy && fx == 2) || (a > fy && fx == 6) || fx > 6 || fx == 1;
    case 1:
      return (fx > b && fy == 2) || (fx < a && fy == 6) || fy == 7 || fy == 1;
    case 2:
      return fx > 4;
    case 3:
      return fy > 4;
    case 4:
      return fx < 3 || fy == a + 1;
    case 5:
      return fy < 3 || fx == a + 1;
    case 6:
      return fy < 3 || fy > 5 || fx < 3 || fx > 5;
    case 7:
      return fy < 4;
    case 8:
      return !(fy == 4 && (fx == 2 || fx == 4 || fx == 6));
    case 11:
      return (b < fy && fx == 4) || (a > fy && fx == 3) || fx < 3 || fx > 4;
    case 12:
      return (fx > b && fy == 4) || (fx < a && fy == 3) || fy < 3 || fy > 4;
    case 13:
      return fx == c || fy == c;
    default:
      return true;  // blank cells
  }
}

// Smoothly interpolated lattice layer: the sample's integer parts (for a
// negative value the whole part of value - 1), then the nine cells of
// columns (2 ix + k) sB and rows (2 iy - r) w, in the order (k, r) =
// (0, 0), (1, 0), (2, 0), (0, 1), ... that fPerlinLerp takes row by row.
// A point whose integer parts do not fit the lattice gives 0.
template <class Cell>
double lattice(double X, double Y, double sB, double w, Cell cell)
{
  int32_t ix, iy;
  if (!kvnum::trunc_i32(X < 0 ? X - 1 : X, ix) || !kvnum::trunc_i32(Y < 0 ? Y - 1 : Y, iy))
    return 0;
  short v[9];
  for (int r = 0; r < 3; ++r)
    for (int k = 0; k < 3; ++k) {
      const int32_t column = kvnum::sat_i32((2.0 * ix + k) * sB);
      const int32_t row = kvnum::sat_i32((2.0 * iy - r) * w);
      v[3 * r + k] = short(cell(column, row));
    }
  return fPerlinLerp(X - ix, Y - iy, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
}

// The half-width of a skew or frequency: v / 2, or 0.03125 for v at or
// below 0.0625 (and NaN).
double halfWidth(double v)
{
  return v > 0.0625 ? v / 2 : 0.03125;
}

double clamp01(double v)
{
  return std::clamp(v, 0.0, 1.0);
}

}  // namespace

// ---- Cell functions ---------------------------------------------------------------

int32_t Techpattern_Box(const KVtables* tables, int32_t i, int32_t j, int32_t mode)
{
  for (;;) {
    const uint32_t fx = uint32_t(i) & 7u, fy = uint32_t(j) & 7u;
    if (fx == 0 || fy == 0)
      return 0;
    const Motif m = motifOf(cellHash(tables, i, j));
    if (m.kind != 9 && m.kind != 10)
      return offPanel(m, fx, fy) ? 0 : 1;
    if (mode != 1)
      return 1;
    // Subdivide once: the same motif set at twice the resolution.
    i = kvnum::wrap_add_i32(i, i);
    j = kvnum::wrap_add_i32(j, j);
    mode = 2;
  }
}

int32_t Techpattern(const KVtables* tables, int32_t i, int32_t j)
{
  const uint32_t fx = uint32_t(i) & 7u, fy = uint32_t(j) & 7u;
  const bool ex = fx == 0 || fx > 6, ey = fy == 0 || fy > 6;
  switch (cellHash(tables, i, j) % 10) {
    case 0:
      return ex || ey || fx == 4 || fy == 4;
    case 1:
      return fx == 2;
    case 2:
      return fy == 2;
    case 3:
      return fy == 4 && (fx == 2 || fx == 4);
    case 8:
    case 9:
      return ex || ey;
    default:
      return 0;
  }
}

int32_t Techrandom(const KVtables* tables, int32_t i, int32_t j)
{
  const uint32_t ui = uint32_t(i), uj = uint32_t(j);
  // Two coarse hashes decide most cells outright.
  const uint32_t v = perm(tables, uint32_t(j >> 7) + perm(tables, ui) + uint32_t(i >> 9)) >> 6;
  if (v < 2 || v == 5)
    return 0;
  if (v == 4)
    return 1;
  const uint32_t w = perm(tables, uint32_t(i >> 7) + perm(tables, uj) + uint32_t(j >> 9)) >> 6;
  if (w < 2 || w == 5)
    return 0;
  if (w == 4)
    return 1;
  // Otherwise the smallest of nine neighbouring hashes.
  uint32_t m = 1023;
  for (int32_t d = 0; d < 3; ++d) {
    const int32_t id = kvnum::wrap_add_i32(i, d);
    const uint32_t s = uj + perm(tables, uint32_t(id)) + uint32_t(id >> 9);
    for (uint32_t e = 0; e < 3; ++e)
      m = std::min(m, perm(tables, s + e));
  }
  return (m >> 6) >= 2 ? 1 : 0;
}

// ---- Compute ------------------------------------------------------------------------

void f23_techno(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double amp = g->A, sB = halfWidth(g->B), sC = halfWidth(g->C), w = 1 - sB;
  f23_eachSample(g, F23mask::x, [&](double x, double y) {
    const double X = x / sC, Y = y / sC;
    const double l1 =
        lattice(X, Y, sB, w, [t](int32_t i, int32_t j) { return Techrandom(t, i, j); });
    const double t1 = 1 - 2 * std::fabs(l1 - 0.5);
    const double c1 = clamp01((l1 - 0.375) * 8);
    const double l2 = lattice(X / 2 + 4 * sC, Y / 2 + 4 * sC, sB, w,
                              [t](int32_t i, int32_t j) { return Techpattern_Box(t, i, j, 1); });
    const double e2 = 1 - 2 * std::fabs(l2 - 0.5);
    const double u = clamp01((l2 - 0.375) * 8);
    return F23triple{c1 * amp, 8 * std::max(e2 * e2, t1 * t1 * (1 - u)), u * amp};
  });
}

int16_t f23_techno_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_techno, g, msg, a, b, c);
}
