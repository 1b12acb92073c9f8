#include "components/f22/f22_folds.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "components/common/mirrors3.h"
#include "components/f22/f22_pvt.h"
#include "foundation/checked.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double k = kF22sin60;
constexpr double kInvSqrt3 = 0.577350538379377;

// The hexagonal lattice's cell type, row mod3(j), column mod3(i).
constexpr int kHexCellType[3][3] = {{0, 1, 2}, {2, 0, 1}, {1, 2, 0}};

// The rounded fold of Branch N: |t|, with t^2 + 0.25 inside |t| < 0.5.
double roundedFold(double t)
{
  return std::fabs(t) >= 0.5 ? std::fabs(t) : t * t + 0.25;
}

// One ring of Disc Tiling's packing: the angle between neighbouring discs at
// one level, with its sine and cosine.
struct RingStep
{
  double angle;
  double sine;
  double cosine;
};

using RingTable = std::array<RingStep, 8>;

// Entry k holds 2 pi / (3 2^(k+1)). Built once, on first use, and never
// written again: renders of other bands may read it at any time.
const RingTable& ringTable()
{
  static const RingTable table = [] {
    RingTable t{};
    for (int i = 0; i < int(t.size()); ++i) {
      const double angle = 2 * kPi / (3 * std::ldexp(1.0, i + 1));
      t[size_t(i)] = {angle, std::sin(angle), std::cos(angle)};
    }
    return t;
  }();
  return table;
}

// A point inside its hexagon: (fu, fv) relative to the hexagon's centre, in
// lattice units. False when the lattice cell does not fit an int32.
struct HexLocal
{
  double fu;
  double fv;
  int type;
};

bool hexLocal(double x, double y, double cellSize, double k0, double k1, HexLocal& out)
{
  const double s = std::max(cellSize, 0.0625);
  const double v = (y / s) * k1;
  const double u = x / s - v * k0;
  int32_t i = 0, j = 0;
  if (!f22_cellfloor(u, i) || !f22_cellfloor(v, j))
    return false;
  out = {u - double(i), v - double(j), kHexCellType[f22_mod3(j)][f22_mod3(i)]};
  return true;
}

// The triangle of a hexagon's cell where Serpiensky tiles starts: (p, q, m,
// sigma) by cell type.
struct TriangleStart
{
  double p;
  double q;
  int m;
  int sigma;
};

TriangleStart triangleStart(const HexLocal& c)
{
  const double fu = c.fu, fv = c.fv;
  switch (c.type) {
    case 1:
      return 1 - fu <= fv ? TriangleStart{1 - fu, 1 - fv, 0, -1} : TriangleStart{fu, fv, 0, 1};
    case 2:
      return 1 - fu <= fv ? TriangleStart{fu, 1 - fv, 1, -1} : TriangleStart{1 - fv, fu, 1, 1};
    default: {
      const double h = 1 - fu;
      return fv < h ? TriangleStart{h, fv, 1, 1} : TriangleStart{fv, h, 1, -1};
    }
  }
}

// One disc of a ring at (u, w): replaces (ox, oy) with the disc's local
// coordinates, blended with what was found before across the smooth edge.
void coverByDisc(double u, double h, double r1sq, double r2sq, double& ox, double& oy)
{
  const double e = u * u + h * h;
  if (e >= r1sq)
    return;
  if (e > r2sq) {
    const double t = (e - r2sq) / (r1sq - r2sq);
    const double s = (3 - 2 * t) * t * t;
    ox = std::fabs(u) + (ox - std::fabs(u)) * s;
    oy = h + (oy - h) * s;
  } else {
    ox = std::fabs(u);
    oy = h;
  }
}

}  // namespace

bool f22_cellfloor(double t, int32_t& cell)
{
  return kvnum::trunc_i32(t >= 0 ? t : t - 1, cell);
}

double f22_fold(double t)
{
  const double f = t >= 0 ? t - 2 * std::trunc(t / 2) : 2 - (-t - 2 * std::trunc(-t / 2));
  return f > 1 ? 2 - f : f;
}

int f22_mod3(int32_t i)
{
  return i >= 0 ? int(i % 3) : int(2 - (-(int64_t(i) + 1)) % 3);
}

F22pair triangle2D(double p, double q, int m, int sigma, int level, int octaves)
{
  const int deepest = octaves >> 1;
  for (int l = level;; ++l) {
    if (!std::isfinite(p) || !std::isfinite(q))
      return {0, 0};
    if (l == 1) {
      const double p1 = m == 1 ? p - q : p;
      const double oldQ = q;
      q = oldQ + p1;
      p = std::fabs(p1 - oldQ);
    }
    if (sigma >= 0)
      return {p / q, q};
    if (1 - p > q && q >= 0.5) {
      p = 2 * p;
      q = 2 * (1 - q);
      sigma = -sigma;
      continue;
    }
    if (l > deepest)
      return {0, 0};
    if (q > 0.5) {
      p = std::fabs(2 * p - 1);
      q = 2 * q - 1;
    } else {
      p = 2 * p;
      q = 2 * q;
    }
  }
}

void circletile(double x, double y, double& ox, double& oy, double R, double r1sq, double r2sq,
                double r1, int level)
{
  const RingTable& rings = ringTable();
  for (; level >= 1 && level <= 6; ++level) {
    const double dsq = x * x + y * y;
    if (level == 1) {
      if (dsq >= 1)
        return;
      const double h = 0.5 * y + 0.5 * R;
      if ((0.5 * x) * (0.5 * x) + h * h < r1sq) {
        ox = std::fabs(0.5 * x);
        oy = h;
      }
    }
    if (dsq > (R - r1) * (R - r1)) {
      const RingStep& step = rings[size_t(level)];
      double u = x, w = y, acc = 0;
      do {
        coverByDisc(u, R + w, r1sq, r2sq, ox, oy);
        acc += step.angle;
        const double nu = step.cosine * u + step.sine * w;
        w = step.cosine * w - step.sine * u;
        u = nu;
      } while (acc <= kPi / 2);
    }
    R *= 2;
    x *= 2;
    y *= 2;
  }
}

void f22_Mirror_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = std::cos(g->A);
  K[1] = std::sin(g->A);
}

void f22_Mirror(gfunc* g)
{
  const double* K = f22_k(g).K;
  const double c = K[0], s = K[1], bx = g->B, by = g->C;
  f22_eachSample(g, [&](double x, double y) {
    const double u = std::fabs(c * x - s * y);
    const double w = c * y + s * x;
    return F22point{c * u + s * w + bx, c * w - s * u + by};
  });
}

void f22_hexagonalMirrors_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = std::max(g->A, 0.25);
  K[1] = g->A < 0.25 ? 4.0 : 1 / g->A;
  g->B = std::max(g->B, 0.0);
  K[2] = 0.33333333 * g->B;
  K[3] = 0.57735026 * g->B;
}

void f22_hexagonalMirrors(gfunc* g)
{
  const double* K = f22_k(g).K;
  const double scale = K[0], inv = K[1], phaseX = K[2], phaseY = K[3];
  f22_eachSample(g, [&](double x, double y) {
    const double s = inv * y + 2771280.0;
    double q = s - 3.4641 * std::trunc(s / 3.4641);
    double f = f22_fold(inv * x);
    // Three turns by 60 degrees, each followed by a fold.
    for (int turn = 0; turn < 3; ++turn) {
      const double p = k * q + 0.5 * f;
      q = 0.5 * q - k * f;
      f = f22_fold(p);
    }
    return F22point{(0.5 * f + k * q + phaseX) * scale, (-k * f + 0.5 * q + phaseY) * scale};
  });
}

void f22_orthoMirrors_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = std::max(2 * g->A, 0.25);
  K[1] = 2 * g->A < 0.25 ? 4.0 : 1 / K[0];
  K[2] = K[0] * g->B;
  K[3] = K[2] < 0.25 ? 4.0 : 1 / K[2];
}

void f22_orthoMirrors(gfunc* g)
{
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], k3 = K[3];
  f22_eachSample(g, [&](double x, double y) {
    return F22point{(f22_fold(k1 * x + 0.5) - 0.5) * k0, (f22_fold(k3 * y + 0.5) - 0.5) * k2};
  });
}

void f22_mirrors(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f22_eachSample(g, [&](double x, double y) {
    return F22point{std::fabs(a * x) + b, std::fabs(a * y) + c};
  });
}

void f22_mirrors3(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f22_eachSampleCopyMasked(g, [&](double x, double y) {
    const double u = a * x, v = a * y;
    if (v < kInvSqrt3 * u && v < -kInvSqrt3 * u)
      return F22point{std::fabs(u) + b, std::fabs(v) + c};
    const double au = std::fabs(u);
    return F22point{std::fabs(0.5 * au - k * v) + b, std::fabs(-0.5 * v - k * au) + c};
  });
}

void f22_mirrors6(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f22_eachSampleCopyMasked(g, [&](double x, double y) {
    const double u = a * x, v = a * y;
    const double mx =
        std::min({std::fabs(-0.5 * u + k * v), std::fabs(u), std::fabs(0.5 * u + k * v)});
    const double my =
        std::min({std::fabs(-0.5 * v - k * u), std::fabs(v), std::fabs(0.5 * v - k * u)});
    return F22point{mx + b, my + c};
  });
}

void f22_NBranch_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  const double alpha = 2 * kPi / g->A;
  K[0] = std::cos(alpha / 2);
  K[1] = std::sin(alpha / 2);
  K[2] = std::cos(alpha);
  K[3] = std::sin(alpha);
}

void f22_NBranch(gfunc* g)
{
  // The branch count's message-4 range; a stored value beyond it would turn
  // every sample a billion times.
  const int n = std::clamp(kvnum::sat_i32(g->A), 1, 18);
  const double bx = g->B, by = g->C;
  if (n < 2) {
    f22_eachSampleCopyMasked(g, [&](double x, double y) {
      return F22point{roundedFold(x) + bx, y + by};
    });
    return;
  }
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], k3 = K[3];
  const double rho = k0 / k1;
  f22_eachSampleCopyMasked(g, [&](double x, double y) {
    double u = k0 * x - k1 * y, v = k0 * y + k1 * x;
    bool inWedge = false;
    for (int turn = 0; turn <= n && !inWedge; ++turn) {
      const double nu = k2 * u + k3 * v;
      v = k2 * v - k3 * u;
      u = nu;
      inWedge = v <= rho * u && v <= -rho * u;
    }
    // A sample that never reaches the wedge has no value.
    if (!inWedge)
      return kF22noValue;
    const double w = roundedFold(u);
    const double X = k0 * w + k1 * v;
    const double Y = k0 * v - k1 * w;
    return F22point{roundedFold(X) + bx, Y + by};
  });
}

void f22_DistMirror_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[1] = 4 * g->B;
  K[2] = K[1] * K[1];
  K[3] = 1 / K[1];
}

void f22_DistMirror(gfunc* g)
{
  const double* K = f22_k(g).K;
  const double radius = K[1], radiusSq = K[2], invRadius = K[3], a = g->A;
  f22_eachSample(g, [&](double x, double y) {
    const double dsq = x * x + y * y;
    if (dsq < radiusSq)
      return F22point{x, y};
    const double d = std::sqrt(dsq);
    const double m = radius - (d - radius) * a;
    if (m <= 0)
      return F22point{0, 0};
    const double r = invRadius * m;
    const double f = r * r * r * r;
    const double q = m / d;
    return F22point{(x - x * q) * f + x * q, (y - y * q) * f + y * q};
  });
}

void f22_hexaTile_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = std::sin(kPi / 6);
  K[1] = 1 / std::cos(kPi / 6);
}

void f22_hexaTile(gfunc* g)
{
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], a = g->A, b = g->B, size = g->C;
  f22_eachSample(g, [&](double x, double y) {
    HexLocal c{};
    if (!hexLocal(x, y, size, k0, k1, c))
      return kF22noValue;
    if (c.type == 0) {
      c.fu -= 1;
    } else if (c.type == 2) {
      c.fv -= 1;
    } else if (!(1 - c.fu > c.fv)) {
      c.fu -= 1;
      c.fv -= 1;
    }
    return F22point{(c.fu + k0 * c.fv) * a + b, (c.fv / k1) * a};
  });
}

void f22_Serpiensky(gfunc* g)
{
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], a = g->A, b = g->B, size = g->C;
  const int octaves = g->doc->fractal.octaves;
  f22_eachSample(g, [&](double x, double y) {
    HexLocal c{};
    if (!hexLocal(x, y, size, k0, k1, c))
      return kF22noValue;
    const TriangleStart s = triangleStart(c);
    const F22pair r = triangle2D(s.p, s.q, s.m, s.sigma, 1, octaves);
    return F22point{a * r.a + b, a * r.b};
  });
}

void f22_DiskTile_precompute(gfunc*)
{
  ringTable();
}

void f22_DiskTile(gfunc* g)
{
  const double r1 = 0.5218592447823577 + g->A / 4;
  const double r2 = 0.5218592447823577 - g->A / 4;
  const double r1sq = r1 * r1, r2sq = r2 * r2, bx = g->B, by = g->C;
  f22_eachSampleCopyMasked(g, [&](double x, double y) {
    const KVfolded f = mirrors3(x / kPi, y / kPi);
    double ox = 0, oy = 0;
    circletile(f.x, f.y, ox, oy, 1.0, r1sq, r2sq, r1, 1);
    return F22point{bx + ox, by + oy};
  });
}

int16_t f22_Mirror_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_Mirror, g, msg, a, b, c);
}

int16_t f22_hexagonalMirrors_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_hexagonalMirrors, g, msg, a, b, c);
}

int16_t f22_orthoMirrors_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_orthoMirrors, g, msg, a, b, c);
}

int16_t f22_mirrors_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_mirrors, g, msg, a, b, c);
}

int16_t f22_mirrors3_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_mirrors3, g, msg, a, b, c);
}

int16_t f22_mirrors6_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_mirrors6, g, msg, a, b, c);
}

int16_t f22_NBranch_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_NBranch, g, msg, a, b, c);
}

int16_t f22_DistMirror_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_DistMirror, g, msg, a, b, c);
}

int16_t f22_hexaTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_hexaTile, g, msg, a, b, c);
}

int16_t f22_Serpiensky_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_Serpiensky, g, msg, a, b, c);
}

int16_t f22_DiskTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_DiskTile, g, msg, a, b, c);
}
