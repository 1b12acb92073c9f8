// The perspective surfaces of f33: each sample's ray from the component's
// view origin meets a tube, a tilted plane, a sphere in space or a turned
// parametric plane; the hit point is reported with its depth along the ray.
#include <algorithm>
#include <cmath>

#include "components/f33/f33_transforms.h"

namespace {

using f33transforms::kFourPi;

constexpr double kSixteenPiSquared = 157.91367041742973;  // (4 pi)^2, the ray's z step squared
constexpr double kPiSquared = 9.869604401089358;
constexpr double kEyeDrop = 16;  // the eye sits 16 below the view origin's z

// The view of a component: its origin and the document's view depth; hit
// depths are measured from the view depth less 16.
struct RayView
{
  double ox;
  double oy;
  double oz;
  double depth;

  double dx(double x) const { return x - ox; }
  double dy(double y) const { return y - oy; }

  // The hit at ray parameter t of the ray (dx, dy, 4 pi); the marker unless
  // it is a finite point.
  F33triple hit(double t, double dx, double dy) const
  {
    return finiteOrMiss({ox + t * dx, oy + t * dy, t * kFourPi + depth - kEyeDrop});
  }

  static F33triple finiteOrMiss(const F33triple& p)
  {
    if (std::isfinite(p.a) && std::isfinite(p.b) && std::isfinite(p.c))
      return p;
    return kF33noValue;
  }
};

RayView rayView(const gfunc* g)
{
  const double depth = g->doc != nullptr ? g->doc->viewDepth : 0.0;
  return {g->posOffset.x, g->posOffset.y, g->posOffset.z, depth};
}

// A ray parameter counts as a hit when it is finite and ahead of the eye.
bool ahead(double t)
{
  return std::isfinite(t) && t > 0;
}

// The quadrics' root choice: the nearer root when both lie ahead, else the
// larger one, which must lie ahead itself. NaN for no hit.
double chooseRoot(double r1, double r2)
{
  if (!std::isfinite(r1) || !std::isfinite(r2))
    return NAN;
  if (r1 > 0 && r2 > 0)
    return std::min(r1, r2);
  const double t = std::max(r1, r2);
  return t > 0 ? t : NAN;
}

// t = numerator / denominator, NaN when the denominator is zero or not finite
// (a ray parallel to the plane never meets it).
double quotient(double numerator, double denominator)
{
  if (denominator == 0 || !std::isfinite(denominator))
    return NAN;
  return numerator / denominator;
}

// "3D parametric plane" and "3D parametric face": the plane through
// (0, 0, -z) turned by A and B, its own coordinates of the hit in outputs 1
// and 2. With `face` only the square |u|, |v| < pi counts.
void paramPlane(gfunc* g, bool face)
{
  const F33constants& k = f33_k(g);
  const double cosA = k.K[0], sinA = k.K[1], cosB = k.K[2], sinB = k.K[3];
  const RayView v = rayView(g);
  const double w = v.oz - kEyeDrop + g->C;
  const double planeAtEye = v.ox * sinA + (v.oy * sinB + w * cosB) * cosA;
  const double u0 = v.ox * cosA - v.oy * sinA * sinB - w * sinA * cosB;
  const double v0 = v.oy * cosB - sinB * w;
  f33_eachSampleUntested(g, [&](double x, double y, double z) {
    const double dx = v.dx(x), dy = v.dy(y);
    const double t = quotient(-(planeAtEye + z), dx * sinA + (dy * sinB + kFourPi * cosB) * cosA);
    if (!ahead(t))
      return kF33noValue;
    const F33triple p = RayView::finiteOrMiss(
        {(dx * cosA - sinA * sinB * dy - sinA * cosB * kFourPi) * t + u0,
         (dy * cosB - kFourPi * sinB) * t + v0, t * kFourPi + v.depth - kEyeDrop});
    if (face && !(std::fabs(p.a) < f33detail::kPi && std::fabs(p.b) < f33detail::kPi))
      return kF33noValue;
    return p;
  });
}

}  // namespace

void f33_PersPlane(gfunc* g)
{
  const F33constants& k = f33_k(g);
  const RayView v = rayView(g);
  // The plane's normal from the bank angle A and the slope angle C.
  const double na = k.K[1], nb = k.K[0] * k.K[2], nc = k.K[0] * k.K[3];
  const double e = 2 * g->B - na * v.ox - nb * v.oy - nc * (v.oz - kEyeDrop);
  f33_eachSampleUntested(g, [&](double x, double y, double z) {
    const double dx = v.dx(x), dy = v.dy(y);
    const double t = quotient(z / 4 + e, na * dx + nb * dy + nc * kFourPi);
    return ahead(t) ? v.hit(t, dx, dy) : kF33noValue;
  });
}

void f33_PersTube(gfunc* g)
{
  const RayView v = rayView(g);
  const double p = v.ox - g->A, q = v.oy - g->B;
  const double gap = p * p + q * q - g->C * g->C;
  f33_eachSampleUntested(g, [&](double x, double y, double z) {
    const double dx = v.dx(x), dy = v.dy(y);
    const double a = dx * dx + dy * dy;
    const double b = 2 * (p * dx + q * dy);
    const double d = b * b - 4 * gap * a - 4 * z;
    // A ray along the axis (a = 0) runs beside the wall and never meets it.
    if (a == 0 || !(d >= 0))
      return kF33noValue;
    const double root = std::sqrt(d);
    const double t = chooseRoot((-b - root) / (2 * a), (root - b) / (2 * a));
    return ahead(t) ? v.hit(t, dx, dy) : kF33noValue;
  });
}

void f33_PersSphere(gfunc* g)
{
  const RayView v = rayView(g);
  const double p = v.ox - g->A, q = v.oy - g->B, w = v.oz - kEyeDrop + g->C;
  const double centre = 4 * (p * p + q * q + w * w - kPiSquared);
  f33_eachSampleUntested(g, [&](double x, double y, double z) {
    const double dx = v.dx(x), dy = v.dy(y);
    const double len = std::sqrt(dx * dx + dy * dy + kSixteenPiSquared);
    const double b = 2 * (p * dx + q * dy + w * kFourPi) / len;
    const double d = b * b - centre - 4 * z;
    if (!(d > 0))
      return kF33noValue;
    const double root = std::sqrt(d);
    // The roots are twice the distance along the unit ray: the hit lies at
    // t / (2 len) along (dx, dy, 4 pi).
    const double t = chooseRoot(-b - root, root - b);
    return ahead(t) ? v.hit(t / (2 * len), dx, dy) : kF33noValue;
  });
}

void f33_paramplane(gfunc* g)
{
  paramPlane(g, false);
}

void f33_paramface(gfunc* g)
{
  paramPlane(g, true);
}

int16_t f33_PersTube_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_PersTube, g, msg, a, b, c);
}

int16_t f33_PersPlane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_PersPlane, g, msg, a, b, c);
}

int16_t f33_PersSphere_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_PersSphere, g, msg, a, b, c);
}

int16_t f33_paramface_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_paramface, g, msg, a, b, c);
}

int16_t f33_paramplane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_paramplane, g, msg, a, b, c);
}
