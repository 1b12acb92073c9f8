#include "components/f23/f23_surfaces.h"

#include <cmath>

#include "components/f23/f23_pvt.h"
#include "components/f23/f23_rays.h"

namespace {

constexpr double kPiSquared = 9.869604401089358;
constexpr double kSixteenPiSquared = 157.91367041742973;  // (4 pi)^2, the ray's z step squared

// The sphere and the ellipsoid: a sphere about the eye-relative centre c
// (K = 4 (|c|^2 - r^2)) met by the ray of (dx, dy') normalised by its
// length L. The roots are twice the distances along the unit ray; the hit is
// reported at s = root / (2 L) along the unscaled ray (dx, dy).
struct Quadric
{
  double cx, cy, cz, K;
};

double sphereParameter(const Quadric& q, double dx, double dyScaled)
{
  const double len = std::sqrt(dx * dx + dyScaled * dyScaled + kSixteenPiSquared);
  const double b = (q.cx * dx + q.cy * dyScaled + kF23rayZ * q.cz) / len;
  const double disc = (2 * b) * (2 * b) - q.K;
  if (!(disc > 0))
    return kF23miss;
  const double r = std::sqrt(disc);
  return f23_chooseRoot(-2 * b - r, r - 2 * b) / (2 * len);
}

template <class Hit>
void castEach(gfunc* g, Hit hit)
{
  const F23view view = f23_view(g);
  f23_eachSample(g, F23mask::none, [&](double x, double y) {
    const F23vec d = view.ray(x, y);
    const double t = hit(d);
    return f23_isHit(t) ? f23_numbersOrMiss(view.point(d, t)) : kF23noValue;
  });
}

}  // namespace

void f23_axono(gfunc* g)
{
  const double a = g->A, b = g->B;
  f23_eachSample(g, F23mask::none, [&](double x, double y) {
    const double u = a * x, v = b * y;
    return F23triple{u, v, (u - v) / 2};
  });
}

void f23_zset(gfunc* g)
{
  const double z = g->A;
  f23_eachSample(g, F23mask::none, [&](double x, double y) { return F23triple{x, y, z}; });
}

void f23_sphereproj(gfunc* g)
{
  const double r = g->A, ox = g->B, oy = g->C;
  f23_eachSample(g, F23mask::none, [&](double x, double y) {
    // A sphere of radius 0 draws every point to the centre.
    if (r == 0)
      return F23triple{0, 0, 0};
    const double u = x + ox, v = y + oy;
    const double s = std::sqrt(r * r / (u * u + v * v + r * r));
    return f23_numbersOrMiss({u * s, v * s, r * s});
  });
}

void f23_sphere_precompute(gfunc* g)
{
  const dvector3d& o = g->posOffset;
  F23constants& k = f23_k(g);
  k.K[0] = o.x - g->A;
  k.K[1] = o.y - g->B;
  k.K[2] = o.z - 16 + g->C;
  k.K[3] = 4 * (k.K[0] * k.K[0] + k.K[1] * k.K[1] + k.K[2] * k.K[2] - kPiSquared);
}

void f23_sphere(gfunc* g)
{
  const F23constants& k = f23_k(g);
  const Quadric sphere{k.K[0], k.K[1], k.K[2], k.K[3]};
  castEach(g, [&](const F23vec& d) { return sphereParameter(sphere, d.x, d.y); });
}

void f23_ellipsoid(gfunc* g)
{
  const dvector3d& o = g->posOffset;
  const double skew = g->B;
  const double cy = o.y * skew, cz = o.z - 16 + g->C;
  const Quadric ellipsoid{o.x, cy, cz, 4 * (o.x * o.x + cy * cy + cz * cz - g->A * g->A)};
  castEach(g, [&](const F23vec& d) { return sphereParameter(ellipsoid, d.x, d.y * skew); });
}

void f23_plane_precompute(gfunc* g)
{
  F23constants& k = f23_k(g);
  k.K[0] = std::cos(g->A);
  k.K[1] = std::sin(g->A);
  k.K[2] = std::cos(g->C);
  k.K[3] = std::sin(g->C);
}

void f23_plane(gfunc* g)
{
  const F23constants& k = f23_k(g);
  const F23vec n{k.K[1], k.K[0] * k.K[2], k.K[0] * k.K[3]};
  const dvector3d& o = g->posOffset;
  const double level = 2 * g->B - f23_dot(n, {o.x, o.y, o.z - 16});
  castEach(g, [&](const F23vec& d) {
    // A ray parallel to the plane (n.D = 0) never meets it.
    const double t = level / f23_dot(n, d);
    return t > 0 ? t : kF23miss;
  });
}

void f23_tube(gfunc* g)
{
  const dvector3d& o = g->posOffset;
  const double u = o.x - g->A, v = o.y - g->B;
  const double K = u * u + v * v - g->C * g->C;
  castEach(g, [&](const F23vec& d) {
    const double a = d.x * d.x + d.y * d.y;
    // A vertical ray runs along the axis' direction and never meets the wall.
    if (a == 0)
      return kF23miss;
    const double b = 2 * (u * d.x + v * d.y);
    const double disc = b * b - 4 * K * a;
    if (disc < 0)
      return kF23miss;
    const double root = std::sqrt(disc);
    return f23_chooseRoot((-b - root) / (2 * a), (root - b) / (2 * a));
  });
}

int16_t f23_axono_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_axono, g, msg, a, b, c);
}

int16_t f23_zset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_zset, g, msg, a, b, c);
}

int16_t f23_sphereproj_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_sphereproj, g, msg, a, b, c);
}

int16_t f23_sphere_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_sphere, g, msg, a, b, c);
}

int16_t f23_ellipsoid_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_ellipsoid, g, msg, a, b, c);
}

int16_t f23_plane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_plane, g, msg, a, b, c);
}

int16_t f23_tube_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_tube, g, msg, a, b, c);
}
