#include "components/f25/f25_packings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/common/octaves.h"
#include "components/f25/f25_circles.h"
#include "components/f25/f25_pvt.h"
#include "foundation/checked.h"

namespace {

constexpr double kPi = std::numbers::pi;

// What the ring members keep: 1/A, the squared radii of a ring circle
// (k1), the inner (k2) and outer (k3) bounds, the background colour, the
// ring's circle count and the circles of the block they made.
struct RingPrivate
{
  double k0;
  double k1;
  double k2;
  double k3;
  F25rgb background;
  int32_t n;
  int32_t blockCircles;
};

// ---- Soddy ------------------------------------------------------------------

struct Soddy
{
  double x;
  double y;
  F25rgb colour;
};

// The one step of Soddy Inversions on the scaled point.
Soddy soddyStep(double X, double Y, const F25constants& k)
{
  if (Y > 1)
    return {X, 2 - Y, k.second};
  if (Y < -1)
    return {X, -2 - Y, k.background};
  const double e = (X - 1) * (X - 1) + Y * Y;
  if (e < 1)
    return {(X - 1) / e + 1, Y / e, {8, 0, 0}};
  double x1 = X + 1;
  const double e1 = x1 * x1 + Y * Y;
  double g = 0;
  if (e1 < 1) {
    x1 /= e1;
    Y /= e1;
    g = 8;
  }
  return {x1 - 1, Y, {0, g, 0}};
}

// The one step of O Soddy Inversions on the scaled point (Y already wrapped).
Soddy soddyOrtStep(double X, double Y, const F25constants& k)
{
  constexpr F25rgb kBlack{0, 0, 0};
  if (X > 1)
    return {X, Y, k.second};
  if (X < -1)
    return {X, Y, k.background};
  if ((Y - 1) * (Y - 1) + X * X < 1)
    return {X, Y, {8, 0, 0}};
  if ((Y + 1) * (Y + 1) + X * X < 1)
    return {X, Y, {0, 8, 0}};
  if (Y > 1)
    return {X, 2 - Y, kBlack};
  if (Y < -1)
    return {X, -2 - Y, kBlack};
  const double e = (X - 1) * (X - 1) + Y * Y;
  if (e < 1)
    return {(X - 1) / e + 1, Y / e, kBlack};
  double x1 = X + 1;
  const double e1 = x1 * x1 + Y * Y;
  if (e1 < 1) {
    x1 /= e1;
    Y /= e1;
  }
  return {x1 - 1, Y, kBlack};
}

template <class Step>
void soddyMember(gfunc* g, Step step)
{
  const F25constants& k = f25_k(g);
  const double a = g->A, b = g->B, c = g->C;
  f25_eachSample(g, [&](double x, double y) {
    const Soddy s = step((x + b) * k.k[0], (y + c) * k.k[0], k);
    return F25out{s.x * a - b, s.y * a - c, s.colour.r, s.colour.g, s.colour.b};
  });
}

// ---- Rings ------------------------------------------------------------------

// The circle count of a ring from B (stored back as min(trunc B, 16)) and
// 1/A.
int ringCount(gfunc* g, RingPrivate& pv)
{
  const int n = std::min(kvnum::sat_i32(g->B), kF25maxRing);
  g->B = n;
  pv.k0 = 1 / g->A;
  pv.n = n;
  return n;
}

// Inverts p in the first of the n ring circles that holds it (squared
// radius k1); the circle's index, or -1.
int invertInRing(const dvector3d* ring, int n, double k1, double& px, double& py)
{
  for (int j = 0; j < n; ++j) {
    const double dx = px - ring[j].x, dy = py - ring[j].y;
    const double d2 = dx * dx + dy * dy;
    if (d2 < k1) {
      px = ring[j].x + dx * k1 / d2;
      py = ring[j].y + dy * k1 / d2;
      return j;
    }
  }
  return -1;
}

// The colour period of the Inversion Ring: 5 for N of 5 or 10, 3 for
// multiples of 3 up to 12, else 4.
int ringColourPeriod(int n)
{
  if (n == 5 || n == 10)
    return 5;
  if (n == 3 || n == 6 || n == 9 || n == 12)
    return 3;
  return 4;
}

F25rgb ringColour(int index)
{
  constexpr F25rgb kColours[5] = {{8, 0, 0}, {0, 8, 0}, {0, 0, 8}, {4, 4, 4}, {8, 0, 8}};
  return kColours[index];
}

// A ring of n circles around the orthogonal circle `o` of the ring, each at
// angle (k + offset) 2 pi / n.
void orthogonalRing(dvector3d* slots, int n, const dvector3d& o, double offset)
{
  const double dist = std::sqrt(o.x * o.x + o.y * o.y);
  for (int k = 0; k < n; ++k) {
    const double a = (k + offset) * 2 * kPi / n;
    slots[k] = {dist * std::cos(a), dist * std::sin(a), o.z};
  }
}

// The Fractal Ring's journey of (px, py): inversions in the bounding
// circles or the ring until an orthogonal circle holds the point (its colour:
// the table colour for the inner ring, the background for the outer) or the
// passes run out (black).
F25rgb fractalRingJourney(const RingPrivate& pv, const dvector3d* slots, int n, int passes,
                          const cpalette& palette, double& px, double& py)
{
  for (int pass = 0;; ++pass) {
    for (int j = 0; j < 2 * n; ++j) {
      const dvector3d& s = slots[n + j];
      const double dx = px - s.x, dy = py - s.y;
      if (s.z > dx * dx + dy * dy)
        return j < n ? f25_paletteColour(palette, double(j) / n) : pv.background;
    }
    const double d = px * px + py * py;
    if (d < pv.k2) {
      px = px * pv.k2 / d;
      py = py * pv.k2 / d;
    } else if (d > pv.k3) {
      px = px * pv.k3 / d;
      py = py * pv.k3 / d;
    } else {
      invertInRing(slots, n, pv.k1, px, py);
    }
    if (pass >= passes)
      return {0, 0, 0};
  }
}

// ---- Random packing ---------------------------------------------------------

// Double `index` of the random vector table read as one flat run.
double flatRandom(const KVtables& t, int index)
{
  return t.rndVec3D[index / 3][index % 3];
}

}  // namespace

// ---- Soddy ------------------------------------------------------------------

void f25_soddy_prepare(gfunc* g)
{
  F25constants& k = f25_k(g);
  k.k[0] = 1 / g->A;
  k.background = f25_background(g).scaled(kF25byteScale);
  k.second = f25_second(g).scaled(kF25byteScale);
}

void f25_soddyInversion(gfunc* g)
{
  soddyMember(g, soddyStep);
}

void f25_soddyOrt(gfunc* g)
{
  soddyMember(g, [](double X, double Y, const F25constants& k) {
    return soddyOrtStep(X, 4 * f25_frac((Y + 2) / 4) - 2, k);
  });
}

// ---- Inversion Ring ---------------------------------------------------------

void f25_InversionRing_prepare(gfunc* g)
{
  RingPrivate& pv = privateArea<RingPrivate>(g);
  pv = {};
  const int n = ringCount(g, pv);
  dvector3d* ring = F25_newCircleBlock(g, kF25ringCircles);
  if (ring == nullptr)
    return;
  pv.blockCircles = kF25ringCircles;
  const double phase = n == 2 ? 0 : (n == 3 ? -0.25 : -0.5);
  double inner = 0, outer = 0;
  CreateCircleRing(n, ring, phase, 1, &inner, nullptr, &outer);
  pv.k2 = inner * inner;
  pv.k3 = outer * outer;
  pv.k1 = ring[0].z * ring[0].z;
}

void f25_InversionRing(gfunc* g)
{
  const RingPrivate& pv = privateArea<RingPrivate>(g);
  const dvector3d* ring = F25_circleBlock(g, pv.blockCircles);
  if (ring == nullptr)
    return;
  const int n = std::min(pv.n, pv.blockCircles);
  const int period = ringColourPeriod(n);
  const double a = g->A, c = g->C;
  f25_eachSample(g, [&](double x, double y) {
    double px = x * pv.k0, py = (y + c) * pv.k0;
    const double d = px * px + py * py;
    F25rgb colour{0, 0, 0};
    if (pv.k2 <= d && d <= pv.k3 && n > 0) {
      const int j = invertInRing(ring, n, pv.k1, px, py);
      if (j >= 0)
        colour = ringColour(j % period);
    }
    return F25out{px * a, py * a - c, colour.r, colour.g, colour.b};
  });
}

// ---- Fractal Ring -----------------------------------------------------------

void f25_InversionRingIO_prepare(gfunc* g)
{
  RingPrivate& pv = privateArea<RingPrivate>(g);
  pv = {};
  pv.background = f25_background(g);
  const int n = ringCount(g, pv);
  dvector3d* slots = F25_newCircleBlock(g, kF25fractalRingCircles);
  if (slots == nullptr)
    return;
  pv.blockCircles = kF25fractalRingCircles;
  const double phase = n == 2 ? 0 : (n == 3 ? -0.25 : -0.5);
  const double offset = n == 2 ? 0.5 : (n == 3 ? 0.25 : 0);
  double inner = 0, outer = 0;
  CreateCircleRing(n, slots, phase, 1, &inner, nullptr, &outer);
  dvector3d o1{}, o2{};
  OrthoCircle(slots[0], slots[1], dvector3d{0, 0, inner}, o1);
  OrthoCircle(slots[0], slots[1], dvector3d{0, 0, outer}, o2);
  if (n > 0) {
    orthogonalRing(slots + n, n, o1, offset);
    orthogonalRing(slots + 2 * n, n, o2, offset);
  }
  SquareCircleRadius(3 * n, slots);
  pv.k2 = inner * inner;
  pv.k3 = outer * outer;
  pv.k1 = slots[0].z;
}

void f25_InversionRingIO(gfunc* g)
{
  const RingPrivate& pv = privateArea<RingPrivate>(g);
  const dvector3d* slots = F25_circleBlock(g, pv.blockCircles);
  if (slots == nullptr)
    return;
  const int n = std::clamp(pv.n, 0, pv.blockCircles / 3);
  const int passes = std::min(kvnum::sat_i32(g->C), kF25fractalRingMaxRecursion);
  const cpalette& palette = f25_palette(g);
  const double a = g->A;
  f25_eachSample(g, [&](double x, double y) {
    double px = x * pv.k0, py = y * pv.k0;
    const F25rgb colour = fractalRingJourney(pv, slots, n, passes, palette, px, py);
    const F25rgb out = colour.scaled(kF25byteScale);
    return F25out{px * a, py * a, out.r, out.g, out.b};
  });
}

// ---- Random disk packing ----------------------------------------------------

F25packing randomDiskpack(double x, double y, const F25packingRecord (&records)[8], int limit)
{
  const long maxSteps = 4L * limit + 64;
  double X = x, Y = y;
  int k = 0;
  bool restart = true;
  F25packingRecord r{};
  for (long step = 0; step < maxSteps; ++step) {
    if (restart) {
      restart = false;
      r = records[k % 8];
      Y = Y / 2;
      const double u = X / 2 - 0.5;
      const double d = u * u + Y * Y;
      X = u / d + 2;
      Y = Y / d - r.shift;
      if (X > 1)
        return {0, X, Y, k};
      continue;
    }
    if (X < -1) {
      // Left region.
      if (k > 6 && r.f1 >= 0)
        return {1, X, Y, k};
      const double x1 = X + 1;
      ++k;
      const double d = x1 * x1 + Y * Y;
      X = x1 / d + 1;
      Y = Y / d - r.shift;
      if (X > 1)
        return {0, X, Y, k};
      continue;
    }
    // Middle region: the upper and lower disks stop or restart.
    const bool upper = (Y - 1) * (Y - 1) + X * X < 1;
    if (upper || (Y + 1) * (Y + 1) + X * X < 1) {
      const int code = upper ? 2 : 3;
      if (k > 4 && (upper ? r.f2 : r.f3) >= 0)
        return {code, X, Y, k};
      if (limit <= k)
        return {code, X, Y, k};
      ++k;
      restart = true;
      continue;
    }
    if (Y > 1) {
      Y = 2 - Y;
    } else if (Y < -1) {
      Y = -2 - Y;
    } else if (const double e = (X - 1) * (X - 1) + Y * Y; e < 1) {
      X = (X - 1) / e + 1;
      Y = Y / e;
    } else {
      double x1 = X + 1;
      const double e1 = x1 * x1 + Y * Y;
      if (e1 < 1) {
        x1 /= e1;
        Y /= e1;
      }
      X = x1 - 1;
    }
    if (limit <= k)
      return {-1, X, Y, k};
    ++k;
    if (X > 1)
      return {0, X, Y, k};
  }
  return {-1, X, Y, k};
}

void f25_RandomDisk_prepare(gfunc* g)
{
  F25constants& k = f25_k(g);
  k.k[0] = g->A / 64;
  k.background = f25_background(g);
  k.second = f25_second(g);
}

void f25_RandomDisk(gfunc* g)
{
  const F25constants& k = f25_k(g);
  const KVtables& tables = g->doc->tables;
  const int m = std::clamp(kvnum::sat_i32(g->C + 4), 0, kF25maxPackingOffset);
  F25packingRecord records[8];
  for (int j = 0; j < 8; ++j) {
    const int base = 4 * (m + j);
    records[j] = {flatRandom(tables, base), flatRandom(tables, base + 1),
                  flatRandom(tables, base + 2), flatRandom(tables, base + 3)};
  }
  const int limit = KV_octavePasses(g, 1);
  const cpalette& palette = f25_palette(g);
  f25_eachSample(g, [&](double x, double y) {
    const F25packing p = randomDiskpack(x * k.k[0], y * k.k[0], records, limit);
    const double f = double(p.steps) / limit;
    F25rgb colour{0, 0, 0};
    switch (p.code) {
      case 0:
        colour = k.second.scaled(1 - f);
        break;
      case 1:
        colour = k.background.scaled(1 - f);
        break;
      case 2:
        colour = f25_paletteColour(palette, f);
        break;
      case 3:
        colour = f25_paletteColour(palette, 1 - f);
        break;
      default:
        break;
    }
    const F25rgb out = colour.scaled(kF25byteScale);
    return F25out{p.x, p.y, out.r, out.g, out.b};
  });
}

// ---- Handlers ---------------------------------------------------------------

int16_t f25_soddyInversion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_soddyInversion, g, msg, a, b, c);
}

int16_t f25_soddyOrt_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_soddyOrt, g, msg, a, b, c);
}

int16_t f25_InversionRing_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_InversionRing, g, msg, a, b, c);
}

int16_t f25_InversionRingIO_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_InversionRingIO, g, msg, a, b, c);
}

int16_t f25_RandomDisk_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_RandomDisk, g, msg, a, b, c);
}
