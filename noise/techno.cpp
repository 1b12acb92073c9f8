// Technical subdivision patterns, patchwork and colour dither.
#include "noise/techno.h"

#include <algorithm>
#include <cmath>

#include "noise/lattice.h"

namespace {

using kvnoise::cellHash2;
using kvnoise::cellHash3;
using kvnoise::cellSplit;

// Distance of a fraction to the nearer cell side.
double edge(double f)
{
  return f <= 0.5 ? f : 1.0 - f;
}

struct Cell2
{
  int32_t i, j;
  double ex, ey;  // edge distances

  double edgeDistance() const { return std::min(ex, ey); }
};

bool split2(double x, double y, Cell2& c)
{
  double fx, fy;
  if (!cellSplit(x, c.i, fx) || !cellSplit(y, c.j, fy))
    return false;
  c.ex = edge(fx);
  c.ey = edge(fy);
  return true;
}

// Descends from `level` while level < maxLevel and the cell's hash exceeds
// 512, doubling the coordinates at each step. False when a cell is not
// defined on the way.
bool descend2(const int32_t* perm, double x, double y, int32_t& level, int32_t maxLevel, Cell2& c)
{
  for (;;) {
    if (!split2(x, y, c))
      return false;
    if (level >= maxLevel || cellHash2(perm, c.i, c.j) <= 512)
      return true;
    level++;
    x *= 2.0;
    y *= 2.0;
  }
}

struct Cell3
{
  int32_t i, j, k;
  double edgeDistance;
};

bool descend3(const int32_t* perm, double x, double y, double z, int32_t& level, Cell3& c)
{
  for (;;) {
    double fx, fy, fz;
    if (!cellSplit(x, c.i, fx) || !cellSplit(y, c.j, fy) || !cellSplit(z, c.k, fz))
      return false;
    c.edgeDistance = std::min({edge(fx), edge(fy), edge(fz)});
    if (level >= 3 || cellHash3(perm, c.i, c.j, c.k) <= 512)
      return true;
    level++;
    x *= 2.0;
    y *= 2.0;
    z *= 2.0;
  }
}

// Every caller starts at level 1; a lower start would divide by zero or flip
// the sign.
int32_t dividingLevel(int32_t level)
{
  return std::max(level, int32_t(1));
}

// The colour of a technical cell from grad2D, lifted where it is dark in red.
void cellColor(const KVtables* t, int32_t h, double rgb[3])
{
  uint32_t g = uint32_t(h) & 255u;
  double r = std::fabs(t->grad2D[g][0]);
  double gr = std::fabs(t->grad2D[g][1]);
  double b = std::fabs(t->grad2D[g + 1][1]);
  if (r < 256.0 && gr < 128.0 && b < 128.0) {
    r = 512.0 - r;
    gr = 256.0 - gr;
  }
  rgb[0] = r;
  rgb[1] = gr;
  rgb[2] = b;
}

// ---- Patchwork ----

// Cell of a strip coordinate and its triangle profile 2 min(f, 1 - f).
struct Strip
{
  int32_t cell;
  double tri;
};

bool strip(double v, Strip& s)
{
  double f;
  if (!cellSplit(v, s.cell, f))
    return false;
  s.tri = 2.0 * std::min(f, 1.0 - f);
  return true;
}

// t^2 + 0.25 below 0.5, t above: a rounded corner for the soft minima.
double softCorner(double t)
{
  return t < 0.5 ? t * t + 0.25 : t;
}

// The soft minimum of e and 1 with softness b > 0.
double softCapOne(double e, double b)
{
  return (e + 1.0 - b * (softCorner(std::fabs(e - 1.0) / b) - 0.25)) / 2.0;
}

double capOne(double e, double b)
{
  return b > 0.0 ? softCapOne(e, b) : std::min(e, 1.0);
}

// Merges the new strip value e2 into the running value e.
double mergeStrip(double e, double e2, double b)
{
  if (b <= 0.0)
    return std::max(0.0, std::min({e2, 1.0, e}));
  double m = (e2 + e - b * softCorner(std::fabs(e2 - e) / b)) / 2.0;
  if (m <= 0.0)
    return 0.0;
  double t = m / b;
  return b * (t < 0.5 ? t * t : t - 0.25) / (1.0 - 0.25 * b);
}

}  // namespace

double TechnoNoise(const KVtables* t, double x, double y, int32_t level)
{
  Cell2 c;
  if (!descend2(t->perm, x, y, level, 4, c))
    return 0.0;
  if (cellHash2(t, c.j, c.i) > 768)
    return 0.0;  // a blank cell
  return c.edgeDistance();
}

double TechnoNoise1F(const KVtables* t, double x, double y, int32_t level)
{
  level = dividingLevel(level);
  Cell2 c;
  if (!descend2(t->perm, x, y, level, 3, c))
    return 0.0;
  double weight = cellHash2(t, c.j, c.i) * 0.001953125 - 1.0;
  return c.edgeDistance() * weight / level;
}

double TechnoNoise1FColor(const KVtables* t, double x, double y, double rgb[3], int32_t level)
{
  level = dividingLevel(level);
  for (;;) {
    Cell2 c;
    if (!split2(x, y, c))
      return 0.0;
    int32_t h = cellHash2(t, c.i, c.j);
    double e = c.edgeDistance() * (cellHash2(t, c.j, c.i) * 0.001953125 - 0.33);
    if (e > 0.0) {
      e /= level;
      double color[3];
      cellColor(t, h, color);
      for (int k = 0; k < 3; k++)
        rgb[k] += color[k] * e;
    }
    if (level >= 4 || h <= 512)
      return e;
    level++;
    x *= 2.0;
    y *= 2.0;
  }
}

double TechnoNoise1F3D(const int32_t perm[], double x, double y, double z, int32_t level)
{
  level = dividingLevel(level);
  Cell3 c;
  if (!descend3(perm, x, y, z, level, c))
    return 0.0;
  double weight = cellHash3(perm, c.j, c.i, c.k) - 256;
  return c.edgeDistance * weight / level;
}

double TechnoNoise1F3DColor(const int32_t perm[], double x, double y, double z, uint32_t rgb[3],
                            int32_t level)
{
  level = dividingLevel(level);
  Cell3 c;
  if (!descend3(perm, x, y, z, level, c)) {
    rgb[0] = rgb[1] = rgb[2] = 0;
    return 0.0;
  }
  rgb[0] = uint32_t(cellHash3(perm, c.j, c.k, c.i)) >> 2;
  rgb[1] = uint32_t(cellHash3(perm, c.i, c.k, c.j)) >> 2;
  rgb[2] = uint32_t(cellHash3(perm, c.k, c.i, c.j)) >> 2;
  double weight = cellHash3(perm, c.j, c.i, c.k) - 256;
  return c.edgeDistance * weight / level;
}

void R_patchwork(const KVtables* t, double x, double y, double z, double a, double b, double c,
                 int32_t n, double out[3])
{
  // Each hash met adds at most 1023 / 1024 / n, so the sum over the base and n
  // levels stays near 0..1. Below one level only the base hash is met.
  const double inv = 1.0 / (std::max(n, int32_t(1)) * 1024.0);
  const double lift = 0.25 * b + a;
  out[0] = out[1] = out[2] = 0.0;
  Strip base;
  if (!strip(x, base))
    return;
  int32_t p0 = kvnoise::hash1D(t, base.cell);
  out[2] = inv * p0;
  double e = capOne(z * base.tri - lift, b);
  if (n < 1) {
    out[1] = e;
    return;
  }
  double u = x, v = y + 0.1 * p0, amp = 1.0, sum = 0.0;
  for (int32_t level = 1; level <= n; level++) {
    amp *= 0.75;
    double along = 1.732 * v;  // the strips alternate between the two axes
    u *= 1.732;
    z *= 0.8083140877598152;
    Strip s;
    if (!strip(along, s))
      break;
    int32_t p = kvnoise::hash1D(t, s.cell);
    out[2] += inv * p;
    v = u + 0.1 * p + ((p & 1) == 0 ? c : 0.0);
    u = along;
    double e2 = z * s.tri - lift;
    if (b > 0.0)
      e2 = softCapOne(e2, b);
    e = mergeStrip(e, e2, b);
    sum += (((p >> 1) & 15) + 0.5) * 0.125 * amp * e;
  }
  out[1] = e;
  out[0] = sum * 0.3333;
}

void RGBdither(const KVtables* t, double rgb[3], const double xy[2], double amount)
{
  int32_t i, j;
  double fx, fy;
  if (!cellSplit(xy[0] + 777.5, i, fx) || !cellSplit(xy[1], j, fy))
    return;
  const double s = amount * 0.001953125;
  // Corner (i, j) reads entry k0, (i, j + 1) the next one; likewise k1 for i + 1.
  uint32_t k0 = kvnoise::hash2D(t, i, j);
  uint32_t k1 = kvnoise::hash2D(t, kvnoise::nextCell(i), j);
  uint32_t b0 = (k0 + 517u) & 1023u, b1 = (k1 + 517u) & 1023u;
  auto blend = [&](uint32_t e0, uint32_t e1, int comp) {
    return kvnoise::bilinear(t->grad2D[e0][comp], t->grad2D[e1][comp], t->grad2D[e0 + 1][comp],
                             t->grad2D[e1 + 1][comp], fx, fy);
  };
  const double noise[3] = {blend(k0, k1, 0), blend(k0, k1, 1), blend(b0, b1, 0)};
  for (int k = 0; k < 3; k++)
    rgb[k] += s * noise[k] + 512.0 * s;
}
