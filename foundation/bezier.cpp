#include "foundation/bezier.h"

#include <algorithm>
#include <cmath>

namespace {

// The control arm weight of the 3D keys, as the animation paths have always used it.
constexpr double kArmWeight = 0.16666666667;

dvector3d sub(const dvector3d& a, const dvector3d& b)
{
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
dvector3d add(const dvector3d& a, const dvector3d& b)
{
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
dvector3d scaled(const dvector3d& a, double k)
{
  return {a.x * k, a.y * k, a.z * k};
}
double length(const dvector3d& a)
{
  return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}

// Shortens v to `limit` when it is longer.
dvector3d limitLength(const dvector3d& v, double limit)
{
  double len = length(v);
  if (len != 0 && len > limit)
    return scaled(v, limit / len);
  return v;
}

}  // namespace

double Bezier_Evaluate(double p0, double p1, double p2, double p3, double t, double* derivative)
{
  double c = 3 * (p1 - p0);
  double b = 3 * (p2 - p1) - c;
  double a = p3 - p0 - c - b;
  if (derivative)
    *derivative = (3 * a * t + 2 * b) * t + c;
  return p0 + t * (c + t * (b + a * t));
}

double Bezier_TGT(double d0, double d1, double scale)
{
  if (d0 == 0 && d1 == 0)
    return 0;
  double m = (d0 + d1) / 2;
  double a = std::fabs(d0), b = std::fabs(d1);
  double r = std::fabs(a - b) / std::max(a, b);
  // The difference of smaller magnitude, turned to the side of the mean.
  double c = (b <= a) ? d1 : d0;
  if ((m < 0 && c > 0) || (m > 0 && c < 0))
    c = -c;
  return ((c - m) * r + m) * scale;
}

double Bezier_lerp(double p0, double p1, double p2, double p3, double t)
{
  double d = p2 - p1;
  double c1 = (p0 == p1) ? p1 + d / 3 : p1 + Bezier_TGT(p1 - p0, d, 1) / 3;
  double c2 = (p3 == p2) ? p2 - d / 3 : p2 - Bezier_TGT(d, p3 - p2, 1) / 3;
  return Bezier_Evaluate(p1, c1, c2, p2, t);
}

void Bezier3D_controlpoint(const dvector3d* previous, const dvector3d* k1, const dvector3d* k2,
                           const dvector3d* next, dvector3d* c1, dvector3d* c2)
{
  dvector3d d = sub(*k2, *k1);
  double span = length(d);

  if (previous == k1) {
    *c1 = add(*k1, scaled(d, 1.0 / 3));
  } else {
    dvector3d back = sub(*k1, *previous);
    dvector3d v = scaled(add(d, back), kArmWeight);
    *c1 = add(*k1, limitLength(v, std::min(span, length(back)) / 2));
  }

  if (next == k2) {
    *c2 = sub(*k2, scaled(d, 1.0 / 3));
  } else {
    dvector3d ahead = sub(*next, *k2);
    dvector3d w = scaled(add(d, ahead), -kArmWeight);
    *c2 = add(*k2, limitLength(w, std::min(span, length(ahead)) / 2));
  }
}

void Bezier3D_lerp(const dvector3d* previous, const dvector3d* k1, const dvector3d* k2,
                   const dvector3d* next, dvector3d* point, dvector3d* tangent, double t)
{
  dvector3d c1, c2;
  Bezier3D_controlpoint(previous, k1, k2, next, &c1, &c2);
  dvector3d p, dp;
  p.x = Bezier_Evaluate(k1->x, c1.x, c2.x, k2->x, t, &dp.x);
  p.y = Bezier_Evaluate(k1->y, c1.y, c2.y, k2->y, t, &dp.y);
  p.z = Bezier_Evaluate(k1->z, c1.z, c2.z, k2->z, t, &dp.z);
  *point = p;
  if (tangent)
    *tangent = dp;
}
