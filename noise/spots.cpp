// Spots, cones, jittered displacements and circle maps.
#include "noise/spots.h"

#include <cmath>

#include "noise/lattice.h"
#include "noise/tables.h"

namespace {

using kvnoise::cellHash2;
using kvnoise::cellHash3;
using kvnoise::cellSplit;

int32_t prevCell(int32_t i)
{
  return int32_t(uint32_t(i) - 1u);
}

// A jittered feature point seen from the sample: d = sample - point, and the
// point's random vector (its z is a per-point random value).
struct NearPoint
{
  double dx, dy;
  const double* v;
};

// Visits the points of the 3x3 cells around (x, y), column by column, with
// the point of cell (c, r) at (c + 0.5 + jitter v.x, r + 0.5 + jitter v.y),
// v being the rndVec3D row of the cell's key. False when (x, y) has no cell.
template <class Visit>
bool forNinePoints(const KVtables* t, double x, double y, double jitter, Visit visit)
{
  int32_t i, j;
  double fx, fy;
  if (!cellSplit(x, i, fx) || !cellSplit(y, j, fy))
    return false;
  for (int32_t dc = -1; dc <= 1; dc++) {
    int32_t c = int32_t(uint32_t(i) + uint32_t(dc));
    // Rows j - 1, j, j + 1 of a column are consecutive table rows.
    uint32_t row = kvnoise::columnKey(t->perm, c, prevCell(j)) & 1023u;
    for (int32_t dr = -1; dr <= 1; dr++, row++) {
      int32_t r = int32_t(uint32_t(j) + uint32_t(dr));
      const double* v = t->rndVec3D[row];
      visit(NearPoint{x - 0.5 - (c + jitter * v[0]), y - 0.5 - (r + jitter * v[1]), v});
    }
  }
  return true;
}

// A point of the hash-bit scheme: d = sample - point and the cell's hash.
struct HashPoint
{
  double dx, dy;
  int32_t p;
};

// Visits the points of the cells (i, j), (i - 1, j), (i - 1, j - 1), (i, j - 1),
// the point of cell (c, r) lying at (c + 0.5 + step (p & 255),
// r + 0.5 + step (p >> 2)) with p = H2(c, r), so 0.5 to 1.5 cells up and right
// of the cell's corner. False when (x, y) has no cell.
template <class Visit>
bool forFourPoints(const KVtables* t, double x, double y, double step, Visit visit)
{
  int32_t i, j;
  double fx, fy;
  if (!cellSplit(x, i, fx) || !cellSplit(y, j, fy))
    return false;
  const int32_t cols[4] = {i, prevCell(i), prevCell(i), i};
  const int32_t rows[4] = {j, j, prevCell(j), prevCell(j)};
  for (int k = 0; k < 4; k++) {
    int32_t p = cellHash2(t, cols[k], rows[k]);
    double px = cols[k] + 0.5 + step * (p & 255);
    double py = rows[k] + 0.5 + step * (p >> 2);
    visit(HashPoint{x - px, y - py, p});
  }
  return true;
}

// d of the sample from the spot centre of its own cell, the centre lying at
// the cell's middle moved by the unitDir2D pair of the cell hash p.
struct OwnSpot
{
  int32_t p;
  double dx, dy;
};

bool ownSpot(const KVtables* t, double x, double y, OwnSpot& s)
{
  int32_t i, j;
  double fx, fy;
  if (!cellSplit(x, i, fx) || !cellSplit(y, j, fy))
    return false;
  s.p = cellHash2(t, i, j);
  const float* u = t->unitDir2D[s.p & 255];
  s.dx = x - 0.5 - i + u[0];
  s.dy = y - 0.5 - j + u[1];
  return true;
}

// The weight of the 3D spot of the sample's own cell and the cell (0 when the
// sample is outside the spot).
struct Spot3D
{
  int32_t i, j, k;
  double weight;
};

bool spot3D(const KVtables* t, double x, double y, double z, Spot3D& s)
{
  double fx, fy, fz;
  if (!cellSplit(x, s.i, fx) || !cellSplit(y, s.j, fy) || !cellSplit(z, s.k, fz))
    return false;
  int32_t p = cellHash3(t, s.i, s.j, s.k);
  const double* v = t->planeVec3D[p & 255];
  double dx = x - 0.5 - s.i + jitterradius * v[0];
  double dy = y - 0.5 - s.j + jitterradius * v[1];
  double dz = z - 0.5 - s.k + jitterradius4 * v[2];
  s.weight = 0.0;
  // A one-sided quick test on x first: most samples are rejected by it.
  if (!(dx < spotradius))
    return true;
  double q = dx * dx + dy * dy + dz * dz;
  if (q < spotradiusSQ)
    s.weight = (spotradius - std::sqrt(q)) * t->perm[p] / 200.0;
  return true;
}

// q < 1 / k without dividing by zero: every point for k = 0, none for k < 0.
bool withinInverse(double q, double k)
{
  if (k > 0.0)
    return q < 1.0 / k;
  return k == 0.0;
}

}  // namespace

void Spots2D(const KVtables* t, double x, double y, double* acc)
{
  OwnSpot s;
  if (!ownSpot(t, x, y, s))
    return;
  // The hash term shrinks the spot of cells with a high hash; from 563 on the
  // spot vanishes.
  double m = s.p / 9000.0 + (s.dx * s.dx + s.dy * s.dy);
  if (m < 0.0625) {
    double r = 4.0 * (0.25 - std::sqrt(m));
    *acc += r * r;
  }
}

double Jitter_SparceSpotXYA(const KVtables* t, double x, double y, int32_t threshold, double out[3])
{
  out[0] = out[1] = -0.5;
  out[2] = 0.0;
  OwnSpot s;
  if (!ownSpot(t, x, y, s))
    return 0.0;
  out[2] = ((s.p >> 2) & 63) * 0.015625;
  if (s.p >= threshold)
    return 0.0;
  out[0] = s.dx;
  out[1] = s.dy;
  double q = s.dx * s.dx + s.dy * s.dy;
  if (q >= 0.0625)
    return 0.0;
  double v = (0.0625 - q) * 64.0;
  // Quadratic near the rim, linear inside, continuous at 0.5.
  return v < 0.5 ? v * v : v - 0.25;
}

void Spots3D(const KVtables* t, double x, double y, double z, double* acc)
{
  Spot3D s;
  if (spot3D(t, x, y, z, s))
    *acc += s.weight;
}

void Spots3Dcolor(const KVtables* t, double x, double y, double z, double rgb[3], double* acc)
{
  Spot3D s;
  if (!spot3D(t, x, y, z, s) || s.weight == 0.0)
    return;
  *acc += s.weight;
  rgb[0] += s.weight * cellHash3(t, s.j, s.k, s.i);
  rgb[1] += s.weight * cellHash3(t, s.i, s.k, s.j);
  rgb[2] += s.weight * cellHash3(t, s.k, s.i, s.j);
}

void Jitter_Cones(const KVtables* t, double x, double y, double* h, double size)
{
  double size2 = size * size;
  forNinePoints(t, x, y, 0.37, [&](const NearPoint& n) {
    double q = n.dx * n.dx + n.dy * n.dy;
    if (!withinInverse(q, size2))
      return;
    double height = 1.0 - std::sqrt(q) * size - 0.6666 * std::fabs(n.v[2]);
    if (height > *h)
      *h = height;
  });
}

void Jitter_Twirl(const KVtables* t, double x, double y, double* dx, double* dy, double angle)
{
  constexpr double kQuarterTurn = 1.5707963267948966;
  forNinePoints(t, x, y, 0.37, [&](const NearPoint& n) {
    // Points with a large |v.z| turn a smaller disc; from k = 3 on, none.
    double k = 1.0 + 4.0 * std::fabs(n.v[2]);
    if (k >= 3.0)
      return;
    double q = n.dx * n.dx + n.dy * n.dy;
    if (!(q < 1.0))
      return;
    double fall = 1.0 - k * std::sqrt(q);
    if (!(fall > 0.0))
      return;
    double a = fall * fall * fall * fall * angle;
    double c = TableSin(a + kQuarterTurn), s = TableSin(a);
    *dx += c * n.dx - s * n.dy - n.dx;
    *dy += c * n.dy + s * n.dx - n.dy;
  });
}

void Jitter_VecBubble(const KVtables* t, double x, double y, double* dx, double* dy, double k)
{
  forNinePoints(t, x, y, 0.3825, [&](const NearPoint& n) {
    double q = n.dx * n.dx + n.dy * n.dy;
    if (!withinInverse(q, k))
      return;
    double w = 1.0 - k * q;
    w *= w;
    *dx += n.dx * w;
    *dy += n.dy * w;
  });
}

void jitteredCircleMap(const KVtables* t, double x, double y, double* ox, double* oy, double offset)
{
  double sx = 0.0, sy = 0.0;
  forFourPoints(t, x + offset, y + offset, 0.0039, [&](const HashPoint& h) {
    double q = h.dx * h.dx + h.dy * h.dy;
    if (!(q <= 0.25))
      return;
    double radius = 0.5 - ((h.p >> 4) & 15) / 90.0;
    double push = radius - std::sqrt(q);
    if (push > 0.0) {
      sx += h.dx * push;
      sy += h.dy * push;
    }
  });
  *ox = sx;
  *oy = sy;
}

void jitteredCircleInverts(const KVtables* t, double x, double y, double* ox, double* oy, double k,
                           double freq, double amount)
{
  double sx = x, sy = y;
  forFourPoints(t, x * freq, y * freq, 0.0035, [&](const HashPoint& h) {
    double q = (h.dx * h.dx + h.dy * h.dy) * k;
    if (!(q < 1.0))
      return;
    double f = 1.0 - q;
    f *= f;
    double w = f * f * (((h.p >> 4) & 31) + 7) * amount;
    sx += h.dx * w;
    sy += h.dy * w;
  });
  *ox = sx;
  *oy = sy;
}

void localinversion(double x, double y, double* ox, double* oy, double k, double amount)
{
  double q = (x * x + y * y) * k;
  if (!(q < 1.0))
    return;
  double f = 1.0 - q;
  f *= f;
  double w = f * f * amount;
  *ox += x * w;
  *oy += y * w;
}

int32_t FindCircleFrom3P(const double p0[2], const double p1[2], const double p2[2], double out[3])
{
  if (p0 == p1 || p0 == p2 || p1 == p2)
    return 0;
  double x0 = p0[0], y0 = p0[1], x1 = p1[0], y1 = p1[1], x2 = p2[0], y2 = p2[1];
  double d = 2.0 * ((x0 - x1) * (y1 - y2) - (x1 - x2) * (y0 - y1));
  if (d == 0.0)
    return 0;
  double a = x0 * x0 - x1 * x1 + y0 * y0 - y1 * y1;
  double cx = ((y1 - y2) * a - (y1 * y1 + x1 * x1 - x2 * x2 - y2 * y2) * (y0 - y1)) / d;
  double cy;
  if (y0 == y1)
    cy = (2.0 * cx * (x2 - x0) + y0 * y0 + x0 * x0 - x2 * x2 - y2 * y2) / (2.0 * (y0 - y2));
  else
    cy = (2.0 * cx * (x1 - x0) + a) / (2.0 * (y0 - y1));
  out[0] = cx;
  out[1] = cy;
  out[2] = (cx - x0) * (cx - x0) + (cy - y0) * (cy - y0);
  return 1;
}

int32_t CircleIntersects(double x0, double y0, double x1, double y1, double r0, double r1,
                         double P[2], double Q[2])
{
  double ex = x1 - x0, ey = y1 - y0;
  double d = std::sqrt(ex * ex + ey * ey);
  if (d == 0.0) {
    P[0] = Q[0] = x0;
    P[1] = Q[1] = y0;
    return 0;
  }
  double a = (r0 * r0 - r1 * r1 + d * d) / (2.0 * d);
  double h2 = r0 * r0 - a * a;
  double mx = x0 + (a / d) * ex, my = y0 + (a / d) * ey;
  if (!(h2 >= 0.0)) {
    P[0] = Q[0] = mx;
    P[1] = Q[1] = my;
    return 0;
  }
  double e = std::sqrt(h2) / d;
  P[0] = mx + e * ey;
  P[1] = my - e * ex;
  Q[0] = mx - e * ey;
  Q[1] = my + e * ex;
  return 1;
}
