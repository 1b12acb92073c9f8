#include "components/f21/f21_waves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/f21/f21_pvt.h"
#include "foundation/checked.h"
#include "foundation/numbers.h"
#include "noise/tables.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kFourPi = 4 * std::numbers::pi;

// cos(pi/6) to six digits: the hexagonal members are tuned to this value,
// not to sqrt(3)/2 at full precision.
constexpr double kHex = 0.866025;

// Grid: u folded into [0, 2 pi] with period 4 pi (a triangle wave).
double gridFold(double u, double inv4pi)
{
  const double u1 = u > 0 ? u - kFourPi * std::trunc(u * inv4pi)
                          : kFourPi - (-u - kFourPi * std::trunc(-u * inv4pi));
  return u1 > kTwoPi ? kFourPi - u1 : u1;
}

// Hexa grid: triangle wave of period 2, between 0 and 1.
double triangle2(double d)
{
  const double t = d > 0 ? d - 2 * std::trunc(d / 2) : 2 - (-d - 2 * std::trunc(-d / 2));
  return t > 1 ? 2 - t : t;
}

// Circles: offset from the centre of the unit cell along one axis.
double cellCentreOffset(double u)
{
  return u > 0 ? (u - std::trunc(u)) - 0.5 : 0.5 - (-u - std::trunc(-u));
}

// Ripples: triangle wave of period 1, between 0 and 1.
double triangle1(double z)
{
  const double f = f21_cellFraction(z);
  return f <= 0.5 ? 2 * f : 2 - 2 * f;
}

double length(double a, double b)
{
  return std::sqrt(a * a + b * b);
}

// Ripples: the height of one ripple at distance r from its centre; only the
// positive half-waves are kept, growing toward the centre.
double rippleHeight(double r, const F21precomputed& p)
{
  const double depth = p.P3 - r;
  if (!(depth > 0))
    return 0;
  const double w = TableSin(p.P1 * depth + p.P2);
  return depth * (w >= 0 ? w * w : 0.0);
}

// Ripples: the maximum of h1 and h2, rounded over 1/16.
double roundedMax(double h1, double h2)
{
  const double m = h2 + 0.0625;
  if (h1 > m)
    return h1;
  const double e = 4 * (m - h1);
  return e >= 0.5 || std::isnan(e) ? h2 : h1 + e * e / 4;
}

// Dynamo: one round of the folded rotation.
struct Fold
{
  double p;
  double q;
};

Fold dynamoRound(double x, double y, const F21precomputed& pre)
{
  constexpr double k = 0.707;
  const double c = pre.P1, s = pre.P4;
  const double a = 2 * x + pre.P2, b = 2 * y + pre.P3;
  return Fold{(c * a - s * b) * x, -k * (c * b + s * a) * y};
}

double dynamo(double x, double y, const F21precomputed& pre)
{
  constexpr double k = 0.707;
  const Fold f1 = dynamoRound(std::fabs(x), std::fabs(y), pre);
  const Fold f2 = dynamoRound(std::fabs(-k * f1.p + f1.q), std::fabs(k * f1.p + f1.q), pre);
  const double m = std::min(std::fabs(-k * f2.p + f2.q), std::fabs(k * f2.p + f2.q));
  return m > 1 ? std::sqrt(m) : m;
}

// Hexagons: which of the three facets of a tile a cell shows, by the cell's
// column and row modulo 3.
constexpr int kTileFacet[3][3] = {{0, 1, 2}, {2, 0, 1}, {1, 2, 0}};

int mod3(int32_t v)
{
  return ((v % 3) + 3) % 3;
}

double hexTile(double u, double w)
{
  kvnum::LatticeSplit col, row;
  if (!kvnum::lattice_trunc_split(u, col) || !kvnum::lattice_trunc_split(w, row))
    return 0;
  const double fu = col.frac, fw = row.frac;
  switch (kTileFacet[mod3(row.cell)][mod3(col.cell)]) {
    case 0:
      return std::max(fw, 1 - fu);
    case 1: {
      const double t = 2 - fu - fw;
      return t > 1 ? 2 - t : t;
    }
    default:
      return std::max(1 - fw, fu);
  }
}

}  // namespace

// ---- Compute functions ----------------------------------------------------

// Lines of height up to C/2 where either folded coordinate passes pi.
void f21_Grid(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  const double a = g->A, b = g->B;
  f21_eachSample(g, [=](double x, double y) {
    const double m = std::max(gridFold(a * x, p.P2), gridFold(b * y, p.P2)) - kPi;
    return m <= 0 ? 0.0 : p.P3 * m;
  });
}

void f21_Sines(gfunc* g)
{
  const double b = g->B, c = g->C;
  const double amp = (2 + g->A) / 4 + 1;
  f21_eachSample(g, [=](double x, double y) { return std::sin(x + b) * std::sin(y + c) * amp; });
}

// x + A TableSin(B y); a uniform y gives one sine for the whole batch.
void f21_xplusASine(gfunc* g)
{
  const double a = g->A, b = g->B;
  if (g->inlets[1].channels != 0 || g->inlets[1].data == nullptr) {
    f21_eachSample(g, [=](double x, double y) { return x + a * TableSin(b * y); });
    return;
  }
  const double y0 = g->inlets[1].data[0];
  const double wave = a * TableSin(b * y0);
  f21_eachSample(g, [=](double x, double) { return x + wave; });
}

// The angle around the origin, folded so that it is symmetric about the x
// axis.
void f21_radial(gfunc* g)
{
  const double a = g->A;
  f21_eachSample(g, [=](double x, double y) {
    const double angle = SinToAngle(x, y);
    return angle <= kPi ? a * angle : a * (kTwoPi - angle);
  });
}

void f21_hexaSines(gfunc* g)
{
  const double a = g->A;
  f21_eachSample(g, [=](double x, double y) {
    const double q = kHex * y + 0.5 * x;
    const double p = 0.5 * y - kHex * x;
    const double r = 0.5 * q + kHex * p;
    const double p2 = (0.5 * p - kHex * q) * kHex;
    return a * (TableSin(r) + TableSin(q) + TableSin(0.5 * r + p2));
  });
}

void f21_hexagrid(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f21_eachSample(g, [=](double x, double y) {
    const double u = a * x + c, w = kHex * a * y;
    return b * std::max({triangle2(0.5 * u + w), triangle2(-0.5 * u + w), triangle2(u)});
  });
}

// Cells of size A, each holding a cone of radius B (in cell units) and slope C.
void f21_circles(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  const double a = g->A, c = g->C;
  f21_eachSample(g, [=](double x, double y) {
    const double du = cellCentreOffset(p.P1 * x), dv = cellCentreOffset(p.P1 * y);
    const double d = a * std::sqrt(du * du + dv * dv);
    return d >= p.P2 ? 0.0 : (p.P2 - d) * c;
  });
}

void f21_Dynamo(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  f21_eachSample(g, [=](double x, double y) { return dynamo(x, y, p); });
}

// Circular ripples on two square lattices offset by half a cell, joined by a
// rounded maximum.
void f21_ripples(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  f21_eachSample(g, [=](double x, double y) {
    const double u = p.P4 * x, v = p.P4 * y;
    const double r1 = length(p.P3 * triangle1(u), p.P3 * triangle1(v));
    const double r2 = length(p.P3 * triangle1(u + 0.5), p.P3 * triangle1(v + 0.5));
    return roundedMax(rippleHeight(r1, p), rippleHeight(r2, p));
  });
}

// The amplitude falls as the frequency rises.
void f21_sinxy(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  const double phaseX = kPi * g->B;
  f21_eachSample(g, [=](double x, double y) {
    return (TableSin(p.P1 * x + phaseX) + TableSin(p.P1 * y + p.P3)) * p.P2;
  });
}

void f21_hexatile(gfunc* g)
{
  const F21precomputed p = f21_pre(g);
  const double a = g->A, b = g->B;
  const double s = std::max(g->C, 0.0625);
  f21_eachSample(g, [=](double x, double y) {
    const double w = (y / s) * p.P2;
    return a * hexTile(x / s + b - p.P1 * w, w);
  });
}

// ---- Precomputations and conversion ----------------------------------------

void f21_Grid_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P2 = 1 / kFourPi;
  p.P3 = g->C / kTwoPi;
}

void f21_circles_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = 1 / g->A;
  p.P2 = g->B * g->A;
}

void f21_Dynamo_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = std::cos(kPi * g->A);
  p.P2 = kTwoPi * g->B;
  p.P3 = kTwoPi * g->C;
  p.P4 = std::sin(kPi * g->A);
}

void f21_ripples_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = 2 * g->A + 0.5;
  p.P2 = kPi * g->B;
  p.P3 = g->C;
  p.P4 = 1 / g->C;
}

// A frequency below 0.0125 (0 included) is held there, with the matching
// amplitude 80, so the output never divides by zero.
void f21_sinxy_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  const double freq = std::fabs(g->A);
  if (freq < 0.0125) {
    p.P1 = 0.0125;
    p.P2 = 80;
  } else {
    p.P1 = freq;
    p.P2 = 1 / freq;
  }
  p.P3 = kPi * g->C;
}

void f21_hexatile_precompute(gfunc* g)
{
  F21precomputed& p = f21_pre(g);
  p.P1 = std::sin(kPi / 6);
  p.P2 = 1 / std::cos(kPi / 6);
}

void f21_ripples_convert(gfunc* g)
{
  constexpr int16_t kLastOldVersion = 15;
  if (g->owner == nullptr || g->owner->version > kLastOldVersion)
    return;
  constexpr double addA = 2, addC = kPi + 2;
  g->A += addA;
  g->C += addC;
  for (KVparamTriple& key : g->keyframes) {
    key.A += addA;
    key.C += addC;
  }
}

// ---- Handlers -------------------------------------------------------------

int16_t f21_grid_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_Grid, g, msg, a, b, c);
}

int16_t f21_Sines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_Sines, g, msg, a, b, c);
}

int16_t f21_xplusASine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_xplusASine, g, msg, a, b, c);
}

int16_t f21_radial_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_radial, g, msg, a, b, c);
}

int16_t f21_hexaSines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_hexaSines, g, msg, a, b, c);
}

int16_t f21_hexagrid_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_hexagrid, g, msg, a, b, c);
}

int16_t f21_circles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_circles, g, msg, a, b, c);
}

int16_t f21_Dynamo_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_Dynamo, g, msg, a, b, c);
}

int16_t f21_ripples_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_ripples, g, msg, a, b, c);
}

int16_t f21_sinxy_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_sinxy, g, msg, a, b, c);
}

int16_t f21_hexatile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_hexatile, g, msg, a, b, c);
}
