#include "components/f34/f34_shapes.h"

#include <algorithm>
#include <cmath>

#include "components/f34/f34_pvt.h"
#include "engine/palettelookups.h"
#include "noise/techno.h"

namespace {

using f34shape::kPi;

// What message 8 leaves for a shape: the closed colour cycle, the shape's
// constants and, for the random polygons, three colours (0..255).
struct Shape
{
  normalcolor cycle[16];
  double k[4];
  int sides;
  double colours[9];
};

Shape& shape(gfunc* g)
{
  return privateArea<Shape>(g);
}

// Ids 0, 1 and 2 outside the shape, and for a marker.
constexpr F34out kBelow{0, 0, 0, -2};

// The shape's colour at full intensity up to field d = 1/32.
F34out lit(const F34rgb& c, double d)
{
  const double k = std::min(d, 1.0 / 32);
  return {c.r * k, c.g * k, c.b * k, d};
}

// The smooth step 1 - s^2 (3 - 2s) of a line profile, 0 from s = 1 on.
double smoothDot(double r2, double radius2, double radius)
{
  if (!(r2 < radius2))
    return 0;
  const double s = 1 - std::sqrt(r2) / radius;
  return s * s * (3 - 2 * s);
}

// The cycle colours of the batch, skipped in the altitude pass.
struct BatchColours
{
  std::array<F34rgb, kBatchCapacity> c{};
};

BatchColours batchColours(gfunc* g, const F34batch& b, bool altitude)
{
  BatchColours out;
  if (!altitude)
    f34_batchColours(shape(g).cycle, b, 16, out.c);
  return out;
}

}  // namespace

int f34_polygonSides(double a)
{
  return std::clamp(kvnum::sat_i32(a), kF34minSides, kF34maxSides);
}

int32_t f2dregionZPolyB(const KVtables* t, double u, double v, double z, int32_t ix, int32_t iy,
                        const double colours[9], double acc[4])
{
  const uint32_t h1 = uint32_t(f34_hash(t, ix, iy));
  const uint32_t h2 =
      uint32_t(t->perm[(kvnoise::columnKey(t->perm, iy, ix) + 333u) & 1023u]) & 1023u;
  double e = 1 - std::max(std::fabs(u), std::fabs(v));
  const double r = h2 * 0.000390625 + 0.5;
  const double d1 = (v - u) * 0.707, d2 = (v + u) * 0.707;
  switch (h2 % 6) {
    case 0:
      e = std::min(e, r + d1);
      break;
    case 1:
      e = std::min(e, r + d2);
      break;
    case 2:
      e = std::min(e, r - d2);
      break;
    case 3:
      e = std::min(e, r - d1);
      break;
    case 4:
      e = std::min({e, r + d1, r - d1});
      break;
    default:
      e = std::min({e, r + d2, r - d2});
      break;
  }
  const double a = e + std::clamp(z, -1.0, 0.5);
  if (!(a > 0))
    return 0;
  const double height = std::min(a, ((h1 % 4) + 3) * 0.125);
  if (height > acc[3]) {
    acc[3] = height;
    static constexpr double kGrey[3] = {128, 128, 128};
    const uint32_t pick = (h2 >> 3) % 4;
    const double* c = pick < 3 ? colours + 3 * pick : kGrey;
    std::copy_n(c, 3, acc);
  }
  return 1;
}

// ---- Message 8 ----------------------------------------------------------------

void f34_PolyN_prepare(gfunc* g)
{
  Shape& s = shape(g);
  s.sides = f34_polygonSides(g->A);
  const double turn = 2 * kPi / s.sides;
  s.k[0] = std::cos(turn);
  s.k[1] = std::sin(turn);
  s.k[2] = g->B < 0.0625 ? 64.0 : 4 / g->B;
  f34_fillCycle(s.cycle, g->C);
}

void f34_Circle_prepare(gfunc* g)
{
  Shape& s = shape(g);
  const double b2 = g->B * g->B;
  s.k[0] = b2;
  s.k[1] = g->A / std::max(1.0 / 16, b2);
  s.k[2] = s.k[1] * b2;
  f34_fillCycle(s.cycle, g->C);
}

void f34_Line_prepare(gfunc* g)
{
  Shape& s = shape(g);
  const double size = g->B < 1e-7 ? 1e-7 : g->B;
  s.k[0] = std::cos(g->A);
  s.k[1] = std::sin(g->A);
  s.k[2] = size;
  s.k[3] = 8 * size;
  f34_fillCycle(s.cycle, g->C);
}

void f34_NeonLine_prepare(gfunc* g)
{
  Shape& s = shape(g);
  s.k[0] = std::cos(g->A);
  s.k[1] = std::sin(g->A);
  f34_fillCycle(s.cycle, g->C);
}

void f34_PolyB_prepare(gfunc* g)
{
  Shape& s = shape(g);
  s.k[0] = g->C / 2;
  s.k[1] = (g->A / 2 + 0.5) / 32;
  s.k[2] = 4 * g->A * 1.3333333333333333;
  GetTripleColorCycle(s.colours, g->B, true);
}

void f34_gaussian_prepare(gfunc* g)
{
  Shape& s = shape(g);
  s.k[0] = g->B * g->B;
  f34_fillCycle(s.cycle, g->C);
}

void f34_Technoid_prepare(gfunc* g)
{
  Shape& s = shape(g);
  s.k[0] = 64 * g->A + 2;
  s.k[1] = 1.9375 * g->A + 0.0625;
  s.k[2] = 1.5 - 1.5 * g->B;
  s.k[3] = std::max(1e-7, g->C / 8);
}

// ---- Computes -------------------------------------------------------------------

void f34_PolyN(gfunc* g)
{
  const Shape& s = shape(g);
  const F34batch b = f34_batch(g);
  const BatchColours colours = batchColours(g, b, false);
  const double apothem = g->B;
  const int sides = std::clamp(s.sides, kF34minSides, kF34maxSides);
  f34_eachSample(g, b, kBelow, [&](double x, double y, double, int i) {
    double m = 0;
    for (int k = 0; k < sides; ++k) {
      const double nx = x * s.k[0] - y * s.k[1];
      y = y * s.k[0] + x * s.k[1];
      x = nx;
      m = std::max(m, y);
    }
    const double d = (apothem - m) * s.k[2];
    if (d >= 0)
      return lit(colours.c[i], d);
    return F34out{0, 0, 0, d < -2 ? -2 : d};
  });
}

void f34_Circle(gfunc* g)
{
  const Shape& s = shape(g);
  const F34batch b = f34_batch(g);
  const bool alt = f34_altitudeOnly(g);
  const BatchColours colours = batchColours(g, b, alt);
  f34_eachSample(g, b, kBelow, [&](double x, double y, double z, int i) {
    const double d = s.k[1] * (s.k[0] - x * x - y * y);
    if (!(d >= 0))
      return F34out{0, 0, 0, std::max(d, -2.0)};
    return alt ? F34out{x, y, z, d} : lit(colours.c[i], d);
  });
}

void f34_Line(gfunc* g)
{
  const Shape& s = shape(g);
  const F34batch b = f34_batch(g);
  const bool alt = f34_altitudeOnly(g);
  const BatchColours colours = batchColours(g, b, alt);
  const double cosA = s.k[0], sinA = s.k[1], size = s.k[2], length = s.k[3];
  f34_eachSample(g, b, kBelow, [&](double x, double y, double z, int i) {
    const double xr = x * cosA - y * sinA, yr = x * sinA + y * cosA;
    const double v = -xr / size, u = -yr / size;
    const double w = 4 - length * std::max(std::fabs(v) - 2, std::fabs(u));
    if (!(w >= 0))
      return F34out{0, 0, 0, std::max(w, -2.0)};
    return alt ? F34out{v, u, z, w} : lit(colours.c[i], w);
  });
}

void f34_NeonLine(gfunc* g)
{
  const Shape& s = shape(g);
  const F34batch b = f34_batch(g);
  const bool alt = f34_altitudeOnly(g);
  const BatchColours colours = batchColours(g, b, alt);
  const double half = g->B;
  f34_eachSample(g, b, kF34zero, [&](double x, double y, double z, int i) {
    const double v = x * s.k[0] + y * s.k[1], u = y * s.k[0] - x * s.k[1];
    const double e = v < -half ? v + half : (v > half ? v - half : 0.0);
    const double d2 = u * u + e * e;
    if (!(d2 < 1))
      return kF34zero;
    const double r = 4 * std::sqrt(d2);
    const double q = r < 0.5 ? r * r / 4 : (r - 0.25) / 4;
    const double t = 1 - q, glow = t * t;
    if (alt)
      return F34out{e, u, z, 4 * glow};
    const double k = std::min(glow, 1.0) * 0.0234375, core = glow * glow * kPi;
    const F34rgb& c = colours.c[i];
    return F34out{k * c.r + core, k * c.g + core, k * c.b + core, 4 * glow};
  });
}

void f34_PolyB(gfunc* g)
{
  const Shape& s = shape(g);
  const KVtables* t = f34_tables(g);
  const double freq = s.k[0], colourScale = s.k[1], heightScale = s.k[2];
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    F34cell X, Y;
    if (!f34_floor(x * freq, X) || !f34_floor(y * freq, Y))
      return kF34noValue;
    const double zc = z / 2 - 1;
    double acc[4] = {0, 0, 0, 0};
    f34_doubledLattice(X, Y, [&](int32_t cx, int32_t cy, double u, double v) {
      f2dregionZPolyB(t, u, v, zc, cx, cy, s.colours, acc);
    });
    return F34out{colourScale * acc[0], colourScale * acc[1], colourScale * acc[2],
                  std::max(-2.0, (acc[3] - 0.05) * heightScale)};
  });
}

void f34_gaussian(gfunc* g)
{
  const Shape& s = shape(g);
  const F34batch b = f34_batch(g);
  const bool alt = f34_altitudeOnly(g);
  const BatchColours colours = batchColours(g, b, alt);
  const double height = g->A, radius = g->B;
  f34_eachSample(g, b, kF34zero, [&](double x, double y, double z, int i) {
    const double dot = smoothDot(x * x + y * y, s.k[0], radius);
    if (alt)
      return F34out{x, y, z, dot * height};
    const double k = std::min(dot * height / 2, 1.0) / 32;
    const F34rgb c = f34_scaled(colours.c[i], k);
    return F34out{c.r, c.g, c.b, dot * height};
  });
}

void f34_Technoid(gfunc* g)
{
  const Shape& s = shape(g);
  const KVtables* t = f34_tables(g);
  const F34batch b = f34_batch(g);
  const double freq = s.k[3];
  for (int i = 0; i < b.n; ++i) {
    double out[3];
    R_patchwork(t, b.x[i] * freq, b.y[i] * freq, s.k[0], s.k[1], s.k[2], b.z[i] / 4, 5, out);
    double rgb[3];
    fvcolorgradient(&t->gradientKeys, out[2], rgb);
    const double cover = 8 * out[1];
    const double k = cover < 1 ? cover / 32 : 1.0 / 32;
    f34_store(g, i, {rgb[0] * k, rgb[1] * k, rgb[2] * k, 4 * out[0]});
  }
}

// ---- Handlers -------------------------------------------------------------------

int16_t f34_PolyN_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_PolyN, g, m, a, b, c);
}
int16_t f34_Circle_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_Circle, g, m, a, b, c);
}
int16_t f34_Line_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_Line, g, m, a, b, c);
}
int16_t f34_NeonLine_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_NeonLine, g, m, a, b, c);
}
int16_t f34_PolyB_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_PolyB, g, m, a, b, c);
}
int16_t f34_gaussian_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_gaussian, g, m, a, b, c);
}
int16_t f34_Technoid_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_Technoid, g, m, a, b, c);
}
