#include "components/f21/f21_lattices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/f21/f21_pvt.h"
#include "foundation/checked.h"
#include "noise/lattice.h"
#include "noise/mazecolor.h"
#include "noise/noises.h"
#include "noise/spots.h"
#include "noise/techno.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * kPi;
constexpr double kFourPi = 4 * kPi;

// The smooth lattice of Low freq noise at (U, V): the permutation values at
// the four corners of the cell, blended by S of the fractions. 0 where the
// cell is not defined.
double lowFreqLattice(const KVtables* t, double U, double V)
{
  kvnum::LatticeSplit col, row;
  if (!kvnum::lattice_trunc_split(U, col) || !kvnum::lattice_trunc_split(V, row))
    return 0;
  const int32_t i = col.cell, j = row.cell, i1 = kvnoise::nextCell(i);
  const uint32_t r0 = kvnoise::usum(j, i >> 8, t->perm[i & 1023]);
  const uint32_t r1 = kvnoise::usum(j, i1 >> 8, t->perm[i1 & 1023]);
  const double c00 = t->perm[r0 & 1023u], c01 = t->perm[(r0 + 1) & 1023u];
  const double c10 = t->perm[r1 & 1023u], c11 = t->perm[(r1 + 1) & 1023u];
  const double su = f21_smooth(col.frac);
  const double a = c00 + (c10 - c00) * su, b = c01 + (c11 - c01) * su;
  return a + f21_smooth(row.frac) * (b - a);
}

// s brought into the stripe period [0, 4 pi).
double stripePhase(double s)
{
  return s > 0 ? std::fmod(s, kFourPi) : kFourPi - std::fmod(-s, kFourPi);
}

}  // namespace

// ---- Compute functions ----------------------------------------------------

// A smooth lattice noise whose sampling point is warped by a slower noise.
void f21_LowFreqRandom(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double f = (2 + g->B) / 16, amp = (2.125 + g->A) / 500, phase = g->C;
  f21_eachSample(g, [=](double x, double y) {
    const double u = f * x + phase, v = f * y;
    double d1 = 0, d2 = 0;
    frandom2DVector2D(t, 0.25 * v, 0.25 * u, &d1, &d2, 0.002);
    return lowFreqLattice(t, u + d1, v + d2) * amp;
  });
}

// The smaller distance to an axis, negative in the quadrants where x and y
// differ in sign.
void f21_MinMaxAdd(gfunc* g)
{
  f21_eachSample(g, [](double x, double y) {
    const double m = std::min(std::fabs(x), std::fabs(y));
    return std::max(x, y) >= 0 && std::min(x, y) < 0 ? -m : m;
  });
}

// Cells taken by truncation toward zero, so the cells at the axes are twice
// as wide; 0 where a cell index is not defined.
void f21_discretRandom(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, b = g->B, amp = g->C / 256;
  f21_eachSample(g, [=](double x, double y) {
    int32_t i = 0, j = 0;
    if (!kvnum::trunc_i32(x * a, i) || !kvnum::trunc_i32(y * b, j))
      return 0.0;
    return kvnoise::cellHash2(t, i, j) * amp;
  });
}

// A stretches the cells: below 1 into tall strips, above 1 into wide ones.
void f21_recursivepyramid(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = g->A, b = g->B, power = g->C;
  const double sx = a < 1 ? 1 - 0.5 * a : 0.5 + 3.5 * (a - 1);
  const double sy = a < 1 ? 4 - 3.5 * a : 0.5 + 0.5 * (a - 1);
  f21_eachSample(g,
                 [=](double x, double y) { return TechnoNoise(t, x * sx + b, y * sy, 1) * power; });
}

// Stripes of period 4 pi / C bent by a noise, output in 0..2 pi.
void f21_LinesNoise(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double bend = g->A / 64, offset = g->B + kPi, c = g->C;
  f21_eachSample(g, [=](double x, double y) {
    const double s = (fPerlinNoise2D(t, x / 8, y / 2) * bend + x) * c;
    const double p = stripePhase(s);
    const double e = p > kTwoPi ? kFourPi - p - offset : p - offset;
    if (e < 0)
      return 0.0;
    return e > 1 ? kTwoPi : kTwoPi * f21_smooth(e);
  });
}

// Bright lines where a weighted sum of five value noises crosses 3891.2.
void f21_fractalLines(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double k = g->A / 256, f = 4 * g->C, h = 3 * g->B;
  f21_eachSample(g, [=](double x, double y) {
    const double u = f * x, v = f * y;
    const double s = 0.3 * frandom2D(t, 4 * u, 4 * v) + 0.6 * frandom2D(t, 2 * u, 2 * v) +
                     frandom2D(t, u, v) + 2 * frandom2D(t, 0.5 * (u - h) + 0.33, 0.501 * v + 0.73) +
                     4 * frandom2D(t, 0.252 * u + 0.15, 0.247 * (h + v) - 0.25) - 3891.2;
    const double w = std::fabs(s) * k;
    return kPi - w >= 0 ? 2 * (kPi - w) : 0.0;
  });
}

// Four layers of spots, each coarser by 0.75 and shifted.
void f21_StarField(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const F21precomputed p = f21_pre(g);
  const double b = g->B;
  f21_eachSample(g, [=](double x, double y) {
    double acc = 0;
    const double f = p.P2, f1 = 0.75 * f, f2 = 0.75 * f1, f3 = 0.75 * f2;
    Spots2D(t, f * x + b, f * y, &acc);
    Spots2D(t, f1 * x + b, f1 * y + 937.5, &acc);
    Spots2D(t, f2 * x + b + 397, f2 * y + 537.5, &acc);
    Spots2D(t, f3 * x + b, f3 * y + 776.66, &acc);
    return p.P1 * acc;
  });
}

void f21_pyranoise(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double amp = 4 * g->A, b = g->B, c = g->C;
  f21_eachSample(g,
                 [=](double x, double y) { return TechnoNoise1F(t, c * x + b, c * y, 1) * amp; });
}

// A band of half-width C through the origin, turned by A.
void f21_line(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  const double width = g->C;
  f21_eachSample(g, [=](double x, double y) {
    const double e = width - std::fabs(x * p.P2 - y * p.P3);
    return e > 0 ? e * p.P1 : 0.0;
  });
}

void f21_gaussianDot(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  const double a = g->A;
  f21_eachSample(g, [=](double x, double y) {
    const double r2 = x * x + y * y;
    return r2 < p.P2 ? f21_smooth(1 - std::sqrt(r2) * p.P1) * a : 0.0;
  });
}

void f21_mazeA(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double a = f21_pre(g).P1, blend = g->B, c = g->C;
  f21_eachSample(g, [=](double x, double y) { return fmaze(t, c * x, c * y, blend) * a; });
}

// ---- Precomputations and conversion ----------------------------------------

void f21_StarField_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = kPi * g->A;
  p.P2 = g->C / 2;
}

void f21_line_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = 4 * g->B;
  p.P2 = std::cos(g->A);
  p.P3 = std::sin(g->A);
}

void f21_gaussianDot_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = 1 / g->B;
  p.P2 = g->B * g->B;
}

void f21_mazeA_precompute(gfunc* g)
{
  f21_pre(g).P1 = g->A / 128;
}

void f21_line_convert(gfunc* g)
{
  constexpr int16_t kLastOldVersion = 15;
  if (g->owner == nullptr || g->owner->version > kLastOldVersion)
    return;
  g->A *= kPi;
  for (KVparamTriple& key : g->keyframes)
    key.A *= kPi;
}

// ---- Handlers -------------------------------------------------------------

int16_t f21_LowFreqRandom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_LowFreqRandom, g, msg, a, b, c);
}

int16_t f21_MinMaxAdd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_MinMaxAdd, g, msg, a, b, c);
}

int16_t f21_discretRandom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_discretRandom, g, msg, a, b, c);
}

int16_t f21_recursivepyramid_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_recursivepyramid, g, msg, a, b, c);
}

int16_t f21_LinesNoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_LinesNoise, g, msg, a, b, c);
}

int16_t f21_fractalLines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_fractalLines, g, msg, a, b, c);
}

int16_t f21_StarField_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_StarField, g, msg, a, b, c);
}

int16_t f21_pyranoise_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_pyranoise, g, msg, a, b, c);
}

int16_t f21_line_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_line, g, msg, a, b, c);
}

int16_t f21_gaussianDot_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_gaussianDot, g, msg, a, b, c);
}

int16_t f21_mazeA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_mazeA, g, msg, a, b, c);
}
