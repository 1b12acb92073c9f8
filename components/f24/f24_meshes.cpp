#include "components/f24/f24_meshes.h"

#include <algorithm>
#include <cmath>

#include "components/f24/f24_pvt.h"
#include "foundation/colormath.h"

namespace {

constexpr double kSkewY = 1.154701076758754;
constexpr double kSkewX = 0.577350538379377;
constexpr double kRowHeight = 0.866025;
constexpr double kTrimeshJitter = 0.375;
constexpr double kCirclemeshJitter = 0.37;

struct MeshPoint
{
  double x;
  double y;
};

// A directed edge A -> B as the line a x + b y + c (positive on its left).
struct Edge
{
  double a;
  double b;
  double c;

  double at(const MeshPoint& p) const { return a * p.x + b * p.y + c; }
};

Edge edge(const MeshPoint& p, const MeshPoint& q)
{
  return {p.y - q.y, q.x - p.x, p.x * q.y - p.y * q.x};
}

// The triangle of the mesh that holds the sample, and the sample in the
// unskewed plane.
struct MeshHit
{
  Edge e[3];
  MeshPoint s;
};

// Which points of the 3 x 3 neighbourhood (column, row) make each triangle,
// in the order they are tried; the last one also takes a sample that none
// holds.
constexpr int kTriangles[8][3][2] = {
    {{1, 0}, {1, 1}, {0, 1}}, {{1, 2}, {1, 1}, {2, 1}}, {{2, 1}, {1, 1}, {2, 0}},
    {{2, 0}, {1, 1}, {1, 0}}, {{0, 1}, {1, 1}, {0, 2}}, {{0, 2}, {1, 1}, {1, 2}},
    {{1, 0}, {0, 1}, {0, 0}}, {{1, 2}, {2, 1}, {2, 2}},
};

bool meshHit(const KVtables* t, double x, double y, double jitter, MeshHit& hit)
{
  const double v = kSkewY * y, u = x - kSkewX * y;
  F24cell cu, cv;
  if (!f24_split(u, cu) || !f24_split(v, cv))
    return false;
  const int64_t i0 = cu.i, j0 = cv.i;
  MeshPoint p[3][3];
  for (int c = 0; c < 3; ++c) {
    const int64_t i = i0 - 1 + c;
    const int64_t h = (j0 - 1 + t->perm[i & 1023] + (i >> 9)) & 1023;
    for (int r = 0; r < 3; ++r) {
      const double* g = t->rndVec3D[h + r];  // h + r <= 1025
      const double px = double(i) + jitter * g[0], py = double(j0 - 1 + r) + jitter * g[1];
      p[c][r] = {px + 0.5 * py, kRowHeight * py};
    }
  }
  hit.s = {(u - 0.5) + 0.5 * (v - 0.5), kRowHeight * (v - 0.5)};
  for (const auto& tri : kTriangles) {
    for (int k = 0; k < 3; ++k) {
      const auto& from = tri[k];
      const auto& to = tri[(k + 1) % 3];
      hit.e[k] = edge(p[from[0]][from[1]], p[to[0]][to[1]]);
    }
    if (hit.e[0].at(hit.s) >= 0 && hit.e[1].at(hit.s) >= 0 && hit.e[2].at(hit.s) >= 0)
      return true;
  }
  return true;  // the last triangle, as its edges stand
}

double twiceArea(const MeshHit& hit)
{
  return hit.e[0].c + hit.e[1].c + hit.e[2].c;
}

struct MeshConstants
{
  double k0;  // colour factor
  double k1;  // output 4 factor
};

MeshConstants& constants(gfunc* g)
{
  return privateArea<MeshConstants>(g);
}

// k0 times the document gradient at t.
F24quad gradientColour(const gfunc* g, double k0, double t, double out4)
{
  const cpalette& keys = g->doc->tables.gradientKeys;
  const int32_t count = std::clamp<int32_t>(keys.count, 0, 64);
  double r = 0, gr = 0, b = 0;
  fcolorgradient(keys.colors, count, t, &r, &gr, &b);
  return {k0 * r, k0 * gr, k0 * b, out4};
}

}  // namespace

double RandomTrimesh(const KVtables* tables, double x, double y, double scale, double* t)
{
  MeshHit hit;
  *t = 0;
  if (!meshHit(tables, x, y, kTrimeshJitter, hit))
    return 0;
  *t = twiceArea(hit) * scale;
  double d = 0;
  for (int k = 0; k < 3; ++k) {
    const double dk = hit.e[k].at(hit.s) / std::hypot(hit.e[k].a, hit.e[k].b);
    d = k == 0 ? dk : std::min(d, dk);
  }
  return d;
}

double RandomCirclemesh(const KVtables* tables, double x, double y, double scale, double amplitude,
                        double* t)
{
  MeshHit hit;
  *t = 0;
  if (!meshHit(tables, x, y, kCirclemeshJitter, hit))
    return 0;
  const double area2 = twiceArea(hit);
  Edge e[3];
  for (int k = 0; k < 3; ++k) {
    const double n = 1 / std::hypot(hit.e[k].a, hit.e[k].b);
    e[k] = {hit.e[k].a * n, hit.e[k].b * n, hit.e[k].c * n};
  }
  // The centre is as far from all three edges.
  const double a11 = e[0].a - e[1].a, a12 = e[0].b - e[1].b, r1 = e[1].c - e[0].c;
  const double a21 = e[1].a - e[2].a, a22 = e[1].b - e[2].b, r2 = e[2].c - e[1].c;
  const double det = a11 * a22 - a12 * a21;
  if (det == 0 || !std::isfinite(det))
    return 0;  // collinear corners: no inscribed circle
  const MeshPoint centre{(r1 * a22 - a12 * r2) / det, (a11 * r2 - r1 * a21) / det};
  const double radius = e[0].at(centre);
  if (!(radius >= 0.125))
    return 0;
  const double dx = hit.s.x - centre.x, dy = hit.s.y - centre.y;
  const double q = 1 - (dx * dx + dy * dy) / (radius * radius);
  if (!(q > 0))
    return 0;
  *t = area2 * scale;
  return q * amplitude;
}

// ---- Message 8 ----------------------------------------------------------------

void f24_Randomcircles_prepare(gfunc* g)
{
  constants(g) = {(0.25 * g->A + 0.5) / 32, 4 * g->A};
}

void f24_Randomtriangles_prepare(gfunc* g)
{
  constants(g) = {(0.5 * g->A + 0.5) / 32, 8 * g->A};
}

// ---- Computes -------------------------------------------------------------------

void f24_Randomtriangles(gfunc* g)
{
  const MeshConstants k = constants(g);
  const double f = g->C, scale = g->B;
  const KVtables* tables = f24_tables(g);
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    double t = 0;
    const double d = RandomTrimesh(tables, x * f, y * f, scale, &t);
    return gradientColour(g, k.k0, t, k.k1 * d);
  });
}

void f24_Randomcircles(gfunc* g)
{
  const MeshConstants k = constants(g);
  const double f = g->C, scale = g->B;
  const KVtables* tables = f24_tables(g);
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    double t = 0;
    const double dome = RandomCirclemesh(tables, x * f, y * f, scale, k.k1, &t);
    return gradientColour(g, k.k0, t, dome);
  });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f24_Randomcircles_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_Randomcircles, g, m, a, b, c);
}
int16_t f24_Randomtriangles_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_Randomtriangles, g, m, a, b, c);
}
