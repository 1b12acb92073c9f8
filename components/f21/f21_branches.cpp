#include "components/f21/f21_branches.h"

#include <algorithm>
#include <cstdint>
#include <numbers>

#include "components/f21/f21_pvt.h"
#include "noise/drivers.h"
#include "noise/lattice.h"
#include "noise/noises.h"

namespace {

// Block layouts: 16 tile types by position (ix & 3) + 4 ((~iy) & 3).
constexpr int8_t kSmoothLayouts[4][16] = {
    {21, 0, 0, 22, 1, 21, 22, 1, 1, 23, 24, 1, 23, 0, 0, 24},
    {4, 4, 4, 4, 1, 1, 1, 1, 1, 1, 1, 1, 5, 5, 5, 5},
    {2, 0, 0, 3, 2, 0, 0, 3, 2, 0, 0, 3, 2, 0, 0, 3},
    {20, 4, 4, 20, 2, 32, 32, 3, 2, 32, 32, 3, 20, 5, 5, 20},
};

constexpr int8_t kCircuitLayouts[6][16] = {
    {24, 4, 1, 23, 2, 32, 32, 3, 0, 32, 32, 0, 22, 5, 1, 21},
    {32, 0, 32, 32, 1, 0, 1, 1, 32, 0, 32, 32, 32, 0, 32, 32},
    {32, 0, 32, 32, 1, 15, 11, 1, 32, 11, 15, 32, 32, 0, 32, 32},
    {32, 12, 10, 32, 1, 10, 12, 1, 32, 0, 32, 32, 32, 0, 32, 32},
    {32, 0, 32, 32, 1, 1, 1, 1, 32, 0, 32, 32, 32, 0, 32, 32},
    {32, 12, 1, 10, 1, 10, 32, 12, 32, 0, 32, 32, 32, 0, 32, 32},
};

constexpr int8_t kZigZagLayouts[6][16] = {
    {0, 32, 0, 32, 2, 32, 0, 11, 0, 32, 7, 15, 0, 32, 0, 32},
    {0, 32, 0, 32, 15, 32, 22, 1, 32, 32, 32, 32, 11, 1, 23, 32},
    {0, 32, 0, 32, 2, 11, 15, 11, 7, 15, 11, 15, 0, 32, 0, 32},
    {0, 32, 0, 32, 15, 11, 15, 11, 11, 15, 11, 15, 0, 32, 0, 32},
    {0, 11, 15, 32, 4, 15, 11, 1, 32, 11, 16, 32, 11, 15, 0, 32},
    {0, 32, 0, 32, 4, 1, 4, 1, 11, 1, 23, 32, 0, 32, 0, 32},
};

// The point of a tile member: tile type and position in the tile.
struct TilePoint
{
  int type;
  double u, v;
};

// The tile at (U, V) in tile units; false where the tile index is not
// defined (NaN, or beyond the 32-bit lattice).
template <int Count>
bool tileAt(const KVtables* t, const int8_t (&layouts)[Count][16], double U, double V,
            TilePoint& out)
{
  kvnum::LatticeSplit col, row;
  if (!kvnum::lattice_trunc_split(U, col) || !kvnum::lattice_trunc_split(V, row))
    return false;
  const int32_t ix = col.cell, iy = row.cell;
  const int32_t h = kvnoise::cellHash2(t, ix >> 2, iy >> 2);
  const int layout = Count == 4 ? (h & 3) : h % Count;
  out = {layouts[layout][(ix & 3) + 4 * ((~iy) & 3)], col.frac, row.frac};
  return true;
}

// Distance to the nearer edge of the tile.
double edgeDist(double a)
{
  return a < 0.5 ? a : 1 - a;
}

// A diagonal ridge: 1 on the line s = 1, falling by 2 per unit either side.
double ridge(double s)
{
  const double folded = s <= 1 ? s : 2 - s;
  return 2 * folded - 1;
}

double cornerPiece(bool inner, double u, double v)
{
  const double a = edgeDist(u), b = edgeDist(v);
  return 2 * (inner ? std::min(a, b) : std::max(a, b));
}

// Which of the 3 x 3 grid values (g0..g8, row by row from v = 1) of the
// smooth tiles are 1, as a bit mask.
int smoothMask(int type)
{
  constexpr int g1 = 1 << 1, g3 = 1 << 3, g4 = 1 << 4, g5 = 1 << 5, g7 = 1 << 7;
  switch (type) {
    case 0:
      return g1 | g4 | g7;
    case 1:
      return g3 | g4 | g5;
    case 2:
      return g1 | g3 | g4 | g7;
    case 3:
      return g1 | g4 | g5 | g7;
    case 4:
      return g1 | g3 | g4 | g5;
    case 5:
      return g3 | g4 | g5 | g7;
    case 20:
      return g1 | g3 | g4 | g5 | g7;
    case 21:
      return g1 | g3 | g4;
    case 22:
      return g1 | g4 | g5;
    case 23:
      return g3 | g4 | g7;
    case 24:
      return g4 | g5 | g7;
    case 28:
      return g1;
    case 29:
      return g7;
    case 30:
      return g3;
    case 31:
      return g5;
    default:
      return 0;
  }
}

double smoothTile(int type, double u, double v)
{
  const int m = smoothMask(type);
  if (m == 0)
    return 0;
  const auto g = [m](int k) { return short((m >> k) & 1); };
  return fPerlinLerp(u, v, g(0), g(1), g(2), g(3), g(4), g(5), g(6), g(7), g(8));
}

double tileScale(const gfunc* g)
{
  return std::max(g->C, 0.0625);
}

constexpr double kPhaseFactor = 1.33;
constexpr double kLacunarity = 2.0943951024;
constexpr double kFade = 0.5225351707258652;

}  // namespace

double f21_tileProfile(int type, double u, double v, bool withDoubleDiagonals)
{
  const double tu = edgeDist(u), tv = edgeDist(v);
  switch (type) {
    case 0:
      return 2 * tu;
    case 1:
      return 2 * tv;
    case 2:
      return u < 0.5 ? 2 * std::max(tv, u) : 2 * (1 - u);
    case 3:
      return u > 0.5 ? 2 * std::max(tu, tv) : 2 * tu;
    case 4:
      return v > 0.5 ? 2 * std::max(tv, tu) : 2 * tv;
    case 5:
      return v < 0.5 ? 2 * std::max(tu, v) : 2 * (1 - v);
    case 6:
      return u >= 0.5 ? 2 * (1 - u) : std::max(2 * u, ridge(1.5 - u - v));
    case 7:
      return u > 0.5 ? std::max(2 * tu, ridge(u + 0.5 - v)) : 2 * tu;
    case 8:
      return u >= 0.5 ? 2 * (1 - u) : std::max(2 * u, ridge(u + 1 - v));
    case 9:
      return u > 0.5 ? std::max(2 * tu, ridge(u + v - 0.5)) : 2 * tu;
    case 10:
      return ridge(1.5 - u - v);
    case 11:
      return ridge(u + 0.5 - v);
    case 12:
      return ridge(u + v - 0.5);
    case 13:
      return withDoubleDiagonals ? std::max(ridge(1.5 - u - v), ridge(u + v - 0.5)) : -1;
    case 14:
      return withDoubleDiagonals ? std::max(ridge(u + 0.5 - v), ridge(u + 1.5 - v)) : -1;
    case 15:
      return ridge(u + 1.5 - v);
    case 16:
      return std::max(2 * tu, ridge(u + 1.5 - v));
    case 18:
      return std::max(ridge(1.5 - u - v), ridge(u + 0.5 - v));
    case 19:
      return std::max(ridge(u + v - 0.5), ridge(u + 1.5 - v));
    case 20:
      return 2 * std::max(tu, tv);
    case 21:
      return cornerPiece(u - v > 0, u, v);
    case 22:
      return cornerPiece(u + v < 1, u, v);
    case 23:
      return cornerPiece(u + v >= 1, u, v);
    case 24:
      return cornerPiece(u - v <= 0, u, v);
    case 26:
      return std::max(1 - u - v, u < 0.5 ? 2 * u : 2 * (1 - u));
    case 27:
      return (u < 0.5 ? 2 * u : 2 * (1 - u)) + v - 1;
    default:
      return -1;
  }
}

// ---- Compute functions ----------------------------------------------------

void f21_Sbranchpat(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, b = g->B, s = tileScale(g);
  f21_eachSample(g, [=](double x, double y) {
    TilePoint p;
    if (!tileAt(t, kSmoothLayouts, x / s + b, y / s, p))
      return 0.0;
    return a * smoothTile(p.type, p.u, p.v);
  });
}

// Linear ridges along the lines.
void f21_branchpat(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, b = g->B, s = tileScale(g);
  f21_eachSample(g, [=](double x, double y) {
    TilePoint p;
    if (!tileAt(t, kCircuitLayouts, x / s + b, y / s, p))
      return 0.0;
    const double d = f21_tileProfile(p.type, p.u, p.v, true);
    return d >= 0 ? d * a : 0.0;
  });
}

// Smoothstep ridges on a lattice sheared by 30 degrees.
void f21_branchpat2(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const F21precomputed pre = f21_pre(g);
  const double a = g->A, b = g->B, s = tileScale(g);
  f21_eachSample(g, [=](double x, double y) {
    const double V = (y / s) * pre.P2;
    TilePoint p;
    if (!tileAt(t, kZigZagLayouts, x / s + 2 * b + pre.P1 * V, V, p))
      return 0.0;
    const double d = f21_tileProfile(p.type, p.u, p.v, false);
    return d >= 0 ? f21_smooth(d) * a : 0.0;
  });
}

void f21_losange(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  const double a = g->A;
  f21_eachSample(g, [=](double x, double y) {
    const double h = a - (std::fabs(x) * p.P1 + std::fabs(y) * p.P2);
    return h > 0 ? h : 0.0;
  });
}

// A fractal sum of the triangular value noise on a lattice sheared by 30
// degrees, its octaves doubling in frequency without a phase drift. The
// document's octave settings are set for the batch and put back to their
// defaults after it.
void f21_cristalnoise(gfunc* g)
{
  fractalsinfos& settings = g->doc->fractal;
  settings.phaseFactor = 0;
  settings.lacunarity = 2.0;
  settings.fade = 0.5;
  fractalsinfos fi = f21_fractalCopy(g);
  const F21precomputed p = f21_pre(g);
  const double phase = g->B, fmax = g->doc->yPixelScale / 2;
  f21_eachSample(g, [&fi, p, phase, fmax](double x, double y) {
    const double V = y * p.P2;
    return fractal2D_procptr(&fi, ftrirandom2D, x + p.P1 * V, V, p.P3, fmax, p.P4, phase, 0.35);
  });
  settings.phaseFactor = kPhaseFactor;
  settings.lacunarity = kLacunarity;
  settings.fade = kFade;
}

// ---- Precomputations ------------------------------------------------------

void f21_branchpat2_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = std::sin(std::numbers::pi / 6);
  p.P2 = 1 / std::cos(std::numbers::pi / 6);
}

void f21_losange_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = 1 / g->B;
  p.P2 = 1 / g->C;
}

void f21_cristalnoise_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = 0.5;
  p.P2 = 1 / std::cos(std::numbers::pi / 6);
  p.P3 = g->C / 4;
  p.P4 = g->A / 256;
}

// ---- Handlers -------------------------------------------------------------

int16_t f21_Sbranchpat_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_Sbranchpat, g, msg, a, b, c);
}

int16_t f21_branchpat_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_branchpat, g, msg, a, b, c);
}

int16_t f21_branchpat2_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_branchpat2, g, msg, a, b, c);
}

int16_t f21_losange_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_losange, g, msg, a, b, c);
}

int16_t f21_cristalnoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_cristalnoise, g, msg, a, b, c);
}
