#include "noise/cellular.h"

#include <cmath>
#include <numbers>

#include "noise/lattice.h"
#include "noise/tables.h"

namespace {

using kvnoise::cellHash2;
using kvnoise::cellHash3;

// Cell index plus a small offset, wrapping like 32-bit hardware arithmetic
// (only the hashes see the wrapped value; positions use double(i) + offset).
inline int32_t cellPlus(int32_t i, int offset)
{
  return int32_t(uint32_t(i) + uint32_t(offset));
}

inline int32_t permAt(const KVtables* t, uint32_t index)
{
  return t->perm[index & 1023u];
}

inline bool cellsOf(double x, double y, int32_t& i, int32_t& j)
{
  double fx, fy;
  return kvnoise::cellSplit(x, i, fx) && kvnoise::cellSplit(y, j, fy);
}

// One cell of a 3x3 neighbourhood: its offsets from the centre cell, its
// unmasked row key, and its row in rndVec3D (the column's first row masked,
// the next two read as the following rows).
struct Neighbour
{
  int dc, dr;
  uint32_t key;
  uint32_t row;
};

// Visits the nine cells column by column, rows ascending.
template <class Visit>
inline void forEachNeighbour(const KVtables* t, int32_t i, int32_t j, Visit visit)
{
  for (int dc = -1; dc <= 1; dc++) {
    uint32_t key0 = kvnoise::columnKey(t->perm, cellPlus(i, dc), cellPlus(j, -1));
    for (int n = 0; n < 3; n++)
      visit(Neighbour{dc, n - 1, key0 + n, (key0 & 1023u) + n});
  }
}

constexpr double kVoronJitter = 0.3825;

// Squared distances from (x, y) to the nine random-vector points
// (c + 0.5 + J v.x, r + 0.5 + J v.y) around it, in neighbourhood order.
// False when (x, y) has no cell.
inline bool voronDistances(const KVtables* t, double x, double y, double q[9])
{
  int32_t i, j;
  if (!cellsOf(x, y, i, j))
    return false;
  int n = 0;
  forEachNeighbour(t, i, j, [&](const Neighbour& c) {
    const double* v = t->rndVec3D[c.row];
    double dx = x - (double(i) + c.dc + 0.5 + kVoronJitter * v[0]);
    double dy = y - (double(j) + c.dr + 0.5 + kVoronJitter * v[1]);
    q[n++] = dx * dx + dy * dy;
  });
  return true;
}

// The smallest of the nine distances, or `bound` when none lies below it.
inline double smallestBelow(const double q[9], double bound)
{
  for (int n = 0; n < 9; n++)
    if (q[n] < bound)
      bound = q[n];
  return bound;
}

// Direction-scheme offset of the sample from the point of a cell:
// (x - 0.5 - c + u.x, y - 0.5 - r + u.y), u = unitDir2D[key & 255].
struct FacetCandidate
{
  double dx, dy;
  int32_t p;  // perm[key & 1023], the cell's weight
};

inline FacetCandidate facetCandidate(const KVtables* t, int32_t i, int32_t j, double x, double y,
                                     const Neighbour& c)
{
  const float* u = t->unitDir2D[c.key & 255u];
  return {x - 0.5 - (double(i) + c.dc) + u[0], y - 0.5 - (double(j) + c.dr) + u[1],
          permAt(t, c.key)};
}

// Hash-bit point of cell (c, r) with step s: (c + 0.5 + s (p & 255),
// r + 0.5 + s (p >> 2)), p = H2(c, r).
struct HashPoint
{
  double dx, dy;  // sample minus point
  int32_t p;
};

inline HashPoint hashPoint(const KVtables* t, int32_t i, int32_t j, int dc, int dr, double x,
                           double y, double step)
{
  int32_t p = cellHash2(t, cellPlus(i, dc), cellPlus(j, dr));
  return {x - (double(i) + dc + 0.5 + step * (p & 255)),
          y - (double(j) + dr + 0.5 + step * (p >> 2)), p};
}

// Fold of a facet offset: |u| from 0.5 on, u^2 + 0.25 below (a smooth
// absolute value, continuous with slope 1 at 0.5).
inline double fold(double u)
{
  double a = std::fabs(u);
  return a >= 0.5 ? a : u * u + 0.25;
}

}  // namespace

// ---- Nearest-distance measures ----

double Jitter_Voron(const KVtables* t, double x, double y)
{
  double q[9];
  if (!voronDistances(t, x, y, q))
    return 0.0;
  double f1 = smallestBelow(q, 1.5);
  // A second point at exactly F1 is not the second nearest.
  double f2 = 1.5;
  for (double d : q)
    if (d > f1 && d < f2)
      f2 = d;
  return f2 - f1;
}

double Jitter_Circle(const KVtables* t, double x, double y)
{
  double q[9];
  if (!voronDistances(t, x, y, q))
    return 1.0;
  return std::sqrt(smallestBelow(q, 1.0));
}

double Jitter_SmoothVoronXYA(const KVtables* t, double x, double y, double out[3])
{
  constexpr double kJitter = 0.39;
  constexpr double kBound = 1.5;
  constexpr double kShift = 0.01, kWidth = 0.04;
  out[0] = out[1] = out[2] = 0.0;
  int32_t i, j;
  if (!cellsOf(x, y, i, j))
    return 0.0;

  // Smoothed minimum over the nine points; the offset and random value of
  // the point that last came below it are kept.
  double q[9];
  double m = kBound;
  int n = 0;
  forEachNeighbour(t, i, j, [&](const Neighbour& c) {
    const double* v = t->rndVec3D[c.row];
    double dx = x - 0.5 - (double(i) + c.dc + kJitter * v[0]);
    double dy = y - 0.5 - (double(j) + c.dr + kJitter * v[1]);
    double d = dx * dx + dy * dy;
    q[n++] = d;
    if (d < m) {
      out[0] = dx;
      out[1] = dy;
      out[2] = v[2];
    }
    if (d - kShift <= m) {
      double s = (d - kShift - m) / kWidth;
      m = s > -0.5 ? m - kWidth * s * s : d;
    }
  });

  // Smoothed second minimum over the distances above the first.
  double m2 = kBound;
  for (double d : q) {
    if (!(d > m))
      continue;
    if (m2 - kShift > d) {
      m2 = d;
    } else {
      double s = (m2 - kShift - d) / kWidth;
      if (s > -0.5)
        m2 = d - kWidth * s * s;
    }
  }

  // Rounded edge mask of the gap between the two minima.
  double e = m2 - m - 0.02;
  if (e > kShift)
    return 4.0 * e;
  double s = (kShift - e) / kWidth;
  if (s >= 0.5)
    return 0.0;
  return 4.0 * (kWidth * s * s + e);
}

// ---- Crystals ----

namespace {

// Cell offsets in visiting order; on a tie the earlier cell wins.
constexpr int kCristalOrder[4][2] = {{0, 0}, {0, -1}, {-1, 0}, {-1, -1}};
constexpr int kCristalMapOrder[4][2] = {{0, 0}, {-1, 0}, {-1, -1}, {0, -1}};

}  // namespace

double Jitter_Cristal(const KVtables* t, double x, double y, double scale, double sharpen)
{
  constexpr double kStep = 0.0035;
  int32_t i, j;
  if (!cellsOf(x, y, i, j))
    return 0.0;
  double qmin = 0.0;
  int32_t value = 0;
  for (int n = 0; n < 4; n++) {
    HashPoint h = hashPoint(t, i, j, kCristalOrder[n][0], kCristalOrder[n][1], x, y, kStep);
    double q = h.dx * h.dx + h.dy * h.dy;
    if (n == 0 || q < qmin) {
      qmin = q;
      value = permAt(t, uint32_t(h.p));
    }
  }
  double r = value * scale;
  if (sharpen == 0.0)
    return r;
  double edge = 0.5 - qmin > 0.0 ? 0.5 - qmin : 0.0;
  return r + (edge * r - r) * sharpen;
}

double CristalMap(const KVtables* t, double x, double y, double* ox, double* oy, double offset)
{
  constexpr double kStep = 0.003;
  x += offset;
  y += offset;
  double best = 1.0, bx = 0.0, by = 0.0;
  int32_t i, j;
  if (cellsOf(x, y, i, j)) {
    for (const auto& o : kCristalMapOrder) {
      HashPoint h = hashPoint(t, i, j, o[0], o[1], x, y, kStep);
      double q = h.dx * h.dx + h.dy * h.dy;
      if (q < best) {
        best = q;
        bx = h.dx;
        by = h.dy;
      }
    }
  }
  *ox = bx;
  *oy = by;
  return std::sqrt(best);
}

// ---- Facet spaces ----

namespace {

// Nearest direction-scheme point under the measure |d|^2 + p * pWeight,
// starting from `bound`; the winner's offset and weight, or (0, 0, 0).
inline FacetCandidate nearestFacet(const KVtables* t, double x, double y, double pWeight,
                                   double bound)
{
  FacetCandidate best{0.0, 0.0, 0};
  int32_t i, j;
  if (!cellsOf(x, y, i, j))
    return best;
  forEachNeighbour(t, i, j, [&](const Neighbour& c) {
    FacetCandidate f = facetCandidate(t, i, j, x, y, c);
    double m = f.dx * f.dx + f.dy * f.dy + f.p * pWeight;
    if (m < bound) {
      bound = m;
      best = f;
    }
  });
  return best;
}

constexpr double kFacetWeight = 0.00024414062;  // about 1/4096 per unit of p

}  // namespace

void Jitter_FacetSpace(const KVtables* t, double x, double y, double* ox, double* oy, double amount)
{
  // The sample's own cell always lies below the bound 2.
  FacetCandidate f = nearestFacet(t, x, y, kFacetWeight, 2.0);
  double scale = 1.0 + f.p * amount * 0.0009765625;  // p / 1024
  *ox = f.dx * scale;
  *oy = f.dy * scale;
}

void Jitter_FacetSpaceRotate(const KVtables* t, double x, double y, double* ox, double* oy,
                             double scaleAmount, double turnAmount)
{
  FacetCandidate f = nearestFacet(t, x, y, kFacetWeight, 1.0);
  double angle = (f.p - 512) * 0.001953125 * turnAmount;  // (p - 512) / 512 radians
  double scale = permAt(t, uint32_t(f.p)) * 0.0009765625 * scaleAmount + 1.0;
  double s = TableSin(angle);
  double c = TableSin(angle + std::numbers::pi / 2.0);
  *ox = scale * (f.dx * c - f.dy * s);
  *oy = scale * (f.dx * s + f.dy * c);
}

void Jitter_FacetSpaceMirror(const KVtables* t, double x, double y, double* ox, double* oy,
                             double amount)
{
  constexpr double kMirrorWeight = 0.00034179687;  // about 1.4/4096 per unit of p
  int32_t i, j;
  if (!cellsOf(x, y, i, j))
    return;
  double b = 1.0, ax = *ox, ay = *oy;
  forEachNeighbour(t, i, j, [&](const Neighbour& c) {
    FacetCandidate f = facetCandidate(t, i, j, x, y, c);
    double m = f.dx * f.dx + f.dy * f.dy + f.p * kMirrorWeight;
    if (!(m < b))
      return;
    double scale = 1.0 + f.p * amount * 0.0009765625;
    double A = fold(f.dx * scale), B = fold(f.dy * scale);
    double s = 2.0 * (b - m);
    if (s < 1.0) {
      double w = (3.0 - 2.0 * s) * s * s;
      ax += (A - ax) * w;
      ay += (B - ay) * w;
      b += (m - b) * w;
    } else {
      ax = A;
      ay = B;
      b = m;
    }
  });
  *ox = ax;
  *oy = ay;
}

void Jitter_CTFacetSpace(const KVtables* t, double x, double y, int32_t* ci, int32_t* cj)
{
  int32_t i, j, bi = 0, bj = 0;
  if (cellsOf(x, y, i, j)) {
    double bound = 8.0;
    forEachNeighbour(t, i, j, [&](const Neighbour& c) {
      FacetCandidate f = facetCandidate(t, i, j, x, y, c);
      double m = f.dx * f.dx + f.dy * f.dy;
      if (m < bound) {
        bound = m;
        bi = cellPlus(i, c.dc);
        bj = cellPlus(j, c.dr);
      }
    });
  }
  *ci = bi;
  *cj = bj;
}

// ---- Bubbles ----

void ColorBubble(const KVtables* t, double x, double y, double* dmin, double rgb[3])
{
  constexpr double kJitter = 0.35;
  uint32_t winner = 0;
  int32_t i, j;
  if (cellsOf(x, y, i, j)) {
    double best = *dmin;
    forEachNeighbour(t, i, j, [&](const Neighbour& c) {
      const double* v = t->rndVec3D[c.key & 1023u];
      double dx = x - (double(i) + c.dc + 0.5 - kJitter * v[0]);
      double dy = y - (double(j) + c.dr + 0.5 - kJitter * v[1]);
      double q = dx * dx + dy * dy;
      if (q < best) {
        best = q;
        winner = c.key;
      }
    });
    *dmin = best;
  }
  uint32_t g = winner & 255u;
  rgb[0] = std::fabs(t->grad2D[g][0]);
  rgb[1] = std::fabs(t->grad2D[g][1]);
  rgb[2] = std::fabs(t->grad2D[g + 1][1]);
}

void ColorBubble3D(const KVtables* t, double x, double y, double z, double* dmin, double rgb[3])
{
  int32_t a, b, c;
  double fx, fy, fz;
  if (!kvnoise::cellSplit(x, a, fx) || !kvnoise::cellSplit(y, b, fy) ||
      !kvnoise::cellSplit(z, c, fz))
    return;
  double current = *dmin;
  for (int oz = 0; oz < 2; oz++)
    for (int oy = 0; oy < 2; oy++)
      for (int ox = 0; ox < 2; ox++) {
        uint32_t k = kvnoise::hash3D(t, cellPlus(a, ox), cellPlus(b, oy), cellPlus(c, oz), 255u);
        // Three consecutive floats from pair k; pair 256 repeats pair 0.
        double dx = x - (double(a) + ox - t->unitDir2D[k][0]);
        double dy = y - (double(b) + oy - t->unitDir2D[k][1]);
        double dz = z - (double(c) + oz - t->unitDir2D[k + 1][0]);
        double dist = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (!(dist < current))
          continue;
        double colour[3] = {std::fabs(t->grad2D[k][0]), std::fabs(t->grad2D[k][1]),
                            std::fabs(t->grad2D[k + 1][0])};
        double s = 4.0 * (current - dist);
        if (s < 1.0) {
          double w = (3.0 - 2.0 * s) * s * s;
          for (int n = 0; n < 3; n++)
            rgb[n] += (colour[n] - rgb[n]) * w;
          current += (dist - current) * w;
        } else {
          for (int n = 0; n < 3; n++)
            rgb[n] = colour[n];
          current = dist;
        }
      }
  *dmin = current;
}

void Bubble3D(const KVtables* t, double x, double y, double z, double* dmin)
{
  constexpr double kBase = 0.497, kStep = 0.003;
  int32_t i, j, k;
  double fz;
  if (!cellsOf(x, y, i, j) || !kvnoise::cellSplit(z, k, fz))
    return;
  double best = *dmin;
  for (int dl = 0; dl >= -1; dl--)
    for (int dc = -1; dc <= 1; dc++)
      for (int dr = -1; dr <= 1; dr++) {
        int32_t p = cellHash3(t, cellPlus(i, dc), cellPlus(j, dr), cellPlus(k, dl));
        double ex = x - (double(i) + dc + kBase + kStep * (p >> 2));
        double ex2 = ex * ex;
        if (!(ex2 < best))
          continue;
        double ey = y - (double(j) + dr + kBase + kStep * (permAt(t, uint32_t(p)) & 255));
        double ey2 = ey * ey;
        if (!(ey2 < best))
          continue;
        double ez = z - (double(k) + dl + kBase + kStep * ((p + 27) & 255));
        double q = ex2 + ey2 + ez * ez;
        if (q < best)
          best = q;
      }
  *dmin = best;
}
