#include "components/f24/f24_xyza.h"

#include <algorithm>
#include <cmath>

#include "celltextures/city_pyramids.h"
#include "components/f24/f24_pvt.h"
#include "noise/cellular.h"
#include "noise/spots.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The Escher disk's circle table, rebuilt at every message 8.
struct EscherDisk
{
  int n;           // circles, 3..32
  double halfCos;  // cos and sin of half the angle between circles
  double halfSin;
  double radius2;  // the circles' squared radius
  double limit2;   // k0: the squared radius of the drawn disk
  double scale;    // k1: input units to disk units
  double rotCos;   // the rotation C
  double rotSin;
  double cx[kF24maxEscherCircles];
  double cy[kF24maxEscherCircles];
};

// Half the distance to the nearer edge of a unit cell from fraction f.
double edgeDistance(double f)
{
  return f > 0.5 ? 1 - f : f;
}

// The round (or, for id 9 with B > 1, square) spot mask of shape s at
// offset (dx, dy) from the cell centre.
double roundMask(double s, double dx, double dy)
{
  const double R = dx * dx + dy * dy;
  const double S = 1 - 2 * std::sqrt(R);
  const double Q = (0.25 - R) * 4;
  double m;
  if (s <= 0)
    m = Q;
  else if (s < 0.5)
    m = 2 * s * (S - Q) + Q;
  else {
    const double P = S > 0 ? S * S : 0;
    m = (2 * s - 1) * (P - S) + S;
  }
  return 4 * m;
}

double squareMask(double s, double dx, double dy)
{
  const double e = std::min((0.5 - std::fabs(dx)) * 8 * s - s, (0.5 - std::fabs(dy)) * 8 * s - s);
  if (e < 0)
    return 0;
  return e >= 1 ? 4 : 4 * e;
}

// The square spot cell of (f x, f y): its corner, the offset from its
// centre, or false where the point has no cell.
struct SpotCell
{
  F24cell u, v;
  double dx, dy;
};

bool spotCell(double f, double x, double y, SpotCell& c)
{
  if (!f24_split(f * x, c.u) || !f24_split(f * y, c.v))
    return false;
  c.dx = c.u.f - 0.5;
  c.dy = c.v.f - 0.5;
  return true;
}

// One disk of the hexagonal packing at (u, w): false when the point lies
// outside it (or has no cell).
bool hexDisk(double u, double w, F24cell& ci, F24cell& cj, double& tx, double& ty, double& d)
{
  if (!f24_split(u, ci) || !f24_split(w, cj))
    return false;
  tx = 2 * ci.f - 1;
  ty = (4 * cj.f - 2) * 0.866025;
  d = tx * tx + ty * ty;
  return d < 1;
}

// Both coordinates have a lattice cell.
bool onLattice(double u, double v)
{
  F24cell c;
  return f24_split(u, c) && f24_split(v, c);
}

// 2 frac(0.5 x + 0.5) - 1: x folded into [-1, 1); false where x has no cell.
bool foldBand(double x, double& X)
{
  F24cell c;
  if (!f24_split(0.5 * x + 0.5, c))
    return false;
  X = 2 * c.f - 1;
  return true;
}

constexpr double kGasketCx[4] = {1, 1, -1, -1};
constexpr double kGasketCy[4] = {-1, 1, 1, -1};

}  // namespace

// ---- Message 8 ----------------------------------------------------------------

void f24_xyza_Tiles_prepare(gfunc* g)
{
  double* K = f24_k(g).K;
  const double c = g->C >= 0.125 ? g->C : 0.125;
  K[0] = 0.5 * g->B;
  K[1] = kF24twoPi * g->A;
  K[2] = c * K[0];
  K[3] = K[1] / c;
  K[4] = 2 / c;
  K[5] = 2.0;
  K[6] = 1.0 / 128;
}

void f24_xyza_Facets_prepare(gfunc* g)
{
  double* K = f24_k(g).K;
  K[0] = kPi * g->A;
  K[2] = 0.5 * g->C;
  K[3] = 4.0;
}

void f24_xyza_Spots_prepare(gfunc* g)
{
  double* K = f24_k(g).K;
  K[0] = kF24twoPi * g->A;
  K[1] = (1 - g->B) * 1024;
  K[2] = 0.5 * g->C;
}

void f24_xyza_QuantizeSpots_prepare(gfunc* g)
{
  double* K = f24_k(g).K;
  // C = 0 puts every point in cell (0, 0): its corner is 0, not 0 times 1/0.
  K[2] = g->C != 0 ? 1 / g->C : 0.0;
  K[3] = g->A < 1 ? g->A / 128 : 1.0 / 128;
}

void f24_xyza_TSpots_prepare(gfunc* g)
{
  double* K = f24_k(g).K;
  K[0] = kF24twoPi * g->A;
  K[2] = 0.5 * g->C;
  K[3] = 1.0 / 128;
}

void f24_xyza_Radial_prepare(gfunc* g)
{
  double* K = f24_k(g).K;
  g->B = std::isfinite(g->B) ? std::trunc(g->B) + 0.0 : g->B;
  K[0] = g->A;
  K[1] = g->B / kF24twoPi;
}

void f24_xyza_Escher_prepare(gfunc* g)
{
  EscherDisk& e = privateArea<EscherDisk>(g);
  if (!(g->A >= 3))
    g->A = 3;
  e.n = int(std::min(std::trunc(g->A), double(kF24maxEscherCircles)));
  const double theta = kF24twoPi / e.n;
  e.halfCos = std::cos(theta / 2);
  e.halfSin = std::sin(theta / 2);
  const double d = e.halfSin * e.halfSin / e.halfCos + e.halfCos;
  const double q = std::sqrt(d * d - 1);
  const double rho = (d - q) * g->B + q;
  e.radius2 = rho * rho;
  for (int t = 0; t < e.n; ++t) {
    e.cx[t] = std::cos(t * theta + kPi / 2) * d;
    e.cy[t] = -std::sin(t * theta + kPi / 2) * d;
  }
  double t = -e.radius2 / d;
  for (int step = 0; step < 10; ++step)
    t = e.radius2 / (-t - 2 * d);
  const double L = t + d;
  e.limit2 = L * L;
  e.scale = L / kPi;
  e.rotCos = std::cos(g->C);
  e.rotSin = std::sin(g->C);
}

void f24_xyza_Appolon_prepare(gfunc* g)
{
  f24_k(g).K[0] = 1 / g->A;
}

void f24_xyza_HexaDTiles_prepare(gfunc* g)
{
  double* K = f24_k(g).K;
  K[0] = 0.5 * g->B;
  K[1] = K[0] / 1.73205;
  K[2] = kPi * g->A;
  K[3] = 1.0 / 128;
}

void f24_xyza_jitterdisk_prepare(gfunc* g)
{
  double* K = f24_k(g).K;
  K[0] = kF24twoPi * g->A;
  K[1] = 0.5 * g->B;
  K[2] = 0.5 * g->C;
  K[3] = 1.0 / 128;
}

void f24_xyza_pyranet_prepare(gfunc* g)
{
  double* K = f24_k(g).K;
  K[0] = kF24twoPi * g->A;
  K[1] = 256 * g->B > 16 ? 256 * g->B : 16.0;
  K[2] = 8 * g->C;
}

// ---- Computes -------------------------------------------------------------------

void f24_xyza_Tiles(gfunc* g)
{
  const double* K = f24_k(g).K;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    F24cell u, v;
    if (!f24_split(K[0] * x + 0.5, u) || !f24_split(K[2] * y + 0.5, v))
      return kF24noValue;
    const double ex = K[5] * edgeDistance(u.f), ey = K[4] * edgeDistance(v.f);
    return F24quad{(u.f - 0.5) * K[1], (v.f - 0.5) * K[3], f24_hash(g, u.i, v.i) * K[6],
                   std::max(0.0, 4 * std::min(ex, ey))};
  });
}

void f24_xyza_Facets(gfunc* g)
{
  const double* K = f24_k(g).K;
  const KVtables* t = f24_tables(g);
  const double phase = g->B;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    const double u = K[2] * x + phase, v = K[2] * y;
    if (!onLattice(u, v))
      return kF24noValue;
    double r[3];
    const double edge = Jitter_SmoothVoronXYA(t, u, v, r);
    return F24quad{K[0] * r[0], K[0] * r[1], (r[2] + 1) * K[3], edge};
  });
}

void f24_xyza_Spots(gfunc* g)
{
  const double* K = f24_k(g).K;
  const KVtables* t = f24_tables(g);
  const int32_t threshold = kvnum::sat_i32(K[1]);
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    const double u = K[2] * x, v = K[2] * y;
    if (!onLattice(u, v))
      return kF24noValue;
    double r[3];
    const double spot = Jitter_SparceSpotXYA(t, u, v, threshold, r);
    return F24quad{K[0] * r[0], K[0] * r[1], 8 * r[2], spot};
  });
}

void f24_xyza_QuantizeSpots(gfunc* g)
{
  const double* K = f24_k(g).K;
  const double f = g->C, shape = g->B;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    SpotCell c;
    if (!spotCell(f, x, y, c))
      return kF24noValue;
    return F24quad{c.u.i * K[2], c.v.i * K[2], f24_hash(g, c.u.i, c.v.i) * K[3],
                   roundMask(shape, c.dx, c.dy)};
  });
}

void f24_xyza_TSpots(gfunc* g)
{
  const double* K = f24_k(g).K;
  const double shape = g->B;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    SpotCell c;
    if (!spotCell(K[2], x, y, c))
      return kF24noValue;
    const double mask = shape > 1 ? squareMask(shape, c.dx, c.dy) : roundMask(shape, c.dx, c.dy);
    return F24quad{c.dx * K[0], c.dy * K[0], f24_hash(g, c.u.i, c.v.i) * K[3], mask};
  });
}

void f24_xyza_Radial(gfunc* g)
{
  const double* K = f24_k(g).K;
  const double phase = g->C;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    const double X = K[0] * x, Y = K[0] * y;
    // The origin has neither an angle nor a log-radius.
    if (X == 0 && Y == 0)
      return kF24noValue;
    const double theta = std::atan(Y / X) + (X < 0 ? 4.71238898038469 : 1.5707963267948966);
    F24cell u, v;
    if (!f24_split(K[1] * theta, u) ||
        !f24_split(std::log(std::sqrt(X * X + Y * Y)) * K[1] + phase, v))
      return kF24noValue;
    return F24quad{(u.f - 0.5) * kF24twoPi, (v.f - 0.5) * kF24twoPi, double(u.i & 1) + 2.0 * v.i,
                   8 * std::min(edgeDistance(u.f), edgeDistance(v.f))};
  });
}

void f24_xyza_Escher(gfunc* g)
{
  const EscherDisk& e = privateArea<EscherDisk>(g);
  const int passes = f24_octaves(g);
  const int n = std::clamp(e.n, 0, kF24maxEscherCircles);
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    double X = e.scale * x, Y = e.scale * y;
    const double R = X * X + Y * Y;
    const double mask = std::max(-2.0, (e.limit2 - R) * 4 / e.limit2);
    if (!(R < e.limit2))
      return F24quad{0, 0, 0, mask};
    // Fold the point into the central cell by inversions; a pass that finds
    // no circle would find none at any later pass either.
    for (int pass = 0; pass < passes; ++pass) {
      int t = 0;
      double D = 0;
      for (; t < n; ++t) {
        const double dx = X - e.cx[t], dy = Y - e.cy[t];
        D = dx * dx + dy * dy;
        if (D > 0 && D < e.radius2)
          break;
      }
      if (t == n)
        break;
      X = e.cx[t] + (X - e.cx[t]) * e.radius2 / D;
      Y = e.cy[t] + (Y - e.cy[t]) * e.radius2 / D;
    }
    X = -X, Y = -Y;
    double Xr = X * e.rotCos - Y * e.rotSin, Yr = Y * e.rotCos + X * e.rotSin;
    for (int t = 0; t < n; ++t) {
      Xr = std::fabs(Xr);
      const double nx = e.halfCos * Xr - e.halfSin * Yr;
      Yr = e.halfCos * Yr + e.halfSin * Xr;
      Xr = nx;
    }
    return F24quad{8 * Xr, 8 * Yr - 2, 4 * std::fabs(8 * Xr), mask};
  });
}

void Appolinversion(double x, double y, dvector4d* record, int level, int maxlevel)
{
  for (;;) {
    int c = 0;
    double D = 0;
    for (; c < 4; ++c) {
      const double dx = x - kGasketCx[c], dy = y - kGasketCy[c];
      D = dx * dx + dy * dy;
      if (D < 1)
        break;
    }
    if (c == 4)
      return;
    const double xi = kGasketCx[c] + (x - kGasketCx[c]) / D;
    const double yi = kGasketCy[c] + (y - kGasketCy[c]) / D;
    if (yi < -1) {
      *record = {0, 0, 8, 1 + 1 / yi};
      return;
    }
    if (yi > 1) {
      *record = {gINFINITY, gINFINITY, gINFINITY, gINFINITY};
      return;
    }
    double X;
    if (!foldBand(xi, X)) {
      *record = {gINFINITY, gINFINITY, gINFINITY, gINFINITY};
      return;
    }
    record->z = xi;
    record->y = yi;
    record->x = X;
    const double R = X * X + yi * yi;
    if (level >= maxlevel || R < 1) {
      record->w = 4 * (1 - R);
      return;
    }
    x = X, y = yi;
    ++level;
  }
}

void f24_xyza_Appolon(gfunc* g)
{
  const double scale = f24_k(g).K[0], ox = g->B, oy = g->C;
  const int depth = f24_octaves(g);
  const F24batch b = f24_batch(g);
  for (int i = 0; i < b.n; ++i) {
    const double xs = scale * b.x[i] + ox, ys = scale * b.y[i] + oy;
    dvector4d r{gINFINITY, gINFINITY, gINFINITY, gINFINITY};
    double X;
    if (ys > -1 && ys < 1 && foldBand(xs, X)) {
      // A point on no circle (where circles touch) keeps a mask of 0.
      r = {X, ys, xs, 0};
      const double R = X * X + ys * ys;
      if (R < 1)
        r.w = 4 * (1 - R);
      else
        Appolinversion(X, ys, &r, 0, depth);
    } else if (ys < -1) {
      r = {0, 0, 8, 1 + 1 / ys};
    }
    const bool none = r.x >= gINFINITY || r.y >= gINFINITY || r.z >= gINFINITY || r.w >= gINFINITY;
    f24_store(g, i, {r.x, r.y, r.z, none ? gINFINITY : 0.75 * r.w});
  }
}

void f24_xyza_HexaDTiles(gfunc* g)
{
  const double* K = f24_k(g).K;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    const double u = K[0] * x, w = K[1] * y;
    F24cell ci, cj;
    double tx, ty, d;
    if (hexDisk(u, w, ci, cj, tx, ty, d))
      return F24quad{tx * K[2], ty * K[2], f24_hash(g, ci.i, cj.i) * K[3], 4 * (1 - d)};
    if (hexDisk(u + 0.5, w + 0.5, ci, cj, tx, ty, d))
      return F24quad{tx * K[2], ty * K[2], f24_hash(g, kvnum::wrap_add_i32(ci.i, 377), cj.i) * K[3],
                     4 * (1 - d)};
    return kF24noValue;
  });
}

void f24_xyza_jitterdisk(gfunc* g)
{
  const double* K = f24_k(g).K;
  const KVtables* t = f24_tables(g);
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    F24cell u, v;
    if (!f24_split(K[2] * x, u) || !f24_split(K[2] * y, v))
      return kF24noValue;
    F24quad out = kF24noValue;
    for (int di = 0; di < 2; ++di)
      for (int dj = 0; dj < 2; ++dj) {
        const int32_t ci = kvnum::wrap_add_i32(u.i, di), cj = kvnum::wrap_add_i32(v.i, dj);
        const uint32_t h = kvnoise::columnKey(t->perm, ci, cj) & 1023u;
        const double* r = t->rndVec3D[h];
        const double dx = K[1] * r[0] + u.f - di, dy = K[1] * r[1] + v.f - dj;
        const double D = dx * dx + dy * dy;
        if (D < 0.25)
          out = {K[0] * dx, K[0] * dy, t->perm[h] * K[3], 4 * (1 - 4 * D)};
      }
    return out;
  });
}

void f24_xyza_pyranet(gfunc* g)
{
  const double* K = f24_k(g).K;
  const KVtables* t = f24_tables(g);
  const int32_t count = kvnum::sat_i32(K[1]);
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    const double u = K[2] * x, v = K[2] * y;
    F24cell cu, cv;
    if (!f24_split(u, cu) || !f24_split(v, cv))
      return kF24noValue;
    dvector4d r{u - 0.5, v - 0.5, 0, 0};
    PyraStreetsNetwork(t, cu.i, cv.i, count, &r);
    return F24quad{K[0] * r.x, K[0] * r.y, r.z, r.w};
  });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f24_xyza_Tiles_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_Tiles, g, m, a, b, c);
}
int16_t f24_xyza_Facets_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_Facets, g, m, a, b, c);
}
int16_t f24_xyza_Spots_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_Spots, g, m, a, b, c);
}
int16_t f24_xyza_QuantizeSpots_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_QuantizeSpots, g, m, a, b, c);
}
int16_t f24_xyza_TSpots_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_TSpots, g, m, a, b, c);
}
int16_t f24_xyza_Radial_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_Radial, g, m, a, b, c);
}
int16_t f24_xyza_Escher_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_Escher, g, m, a, b, c);
}
int16_t f24_xyza_Appolon_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_Appolon, g, m, a, b, c);
}
int16_t f24_xyza_HexaDTiles_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_HexaDTiles, g, m, a, b, c);
}
int16_t f24_xyza_jitterdisk_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_jitterdisk, g, m, a, b, c);
}
int16_t f24_xyza_pyranet_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_xyza_pyranet, g, m, a, b, c);
}
