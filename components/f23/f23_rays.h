// What the ray-casting members of f23 share: the view (the component's
// position offset as the eye's ground point, the document's eye height),
// the ray of a sample, the hit point, and the root and slab choices.
//
// The ray of sample (x, y) runs from the eye along D = (dx, dy, 4 pi) with
// dx = x - ox, dy = y - oy; the hit at ray parameter t is reported as
// (ox + t dx, oy + t dy, e + 4 pi t) with e = eye height - 16. Any ray that
// meets nothing, or whose hit would not be a finite point, gives the marker
// on all three outputs.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>

#include "components/f23/f23_pvt.h"

// The ray parameter of a miss.
inline constexpr double kF23miss = std::numeric_limits<double>::quiet_NaN();

inline constexpr double kF23rayZ = 12.566370614359172;  // 4 pi, the ray's z step

struct F23vec
{
  double x;
  double y;
  double z;
};

inline double f23_dot(const F23vec& a, const F23vec& b)
{
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

struct F23view
{
  double ox;
  double oy;
  double oz;
  double e;  // eye height - 16: the z the hit points are reported from

  F23vec ray(double x, double y) const { return {x - ox, y - oy, kF23rayZ}; }

  // The reported point of a hit at t along the ray of (dx, dy).
  F23triple point(const F23vec& d, double t) const
  {
    return {ox + t * d.x, oy + t * d.y, e + kF23rayZ * t};
  }
};

inline F23view f23_view(const gfunc* g)
{
  const double h = g->doc != nullptr ? g->doc->viewDepth : 0.0;
  return {g->posOffset.x, g->posOffset.y, g->posOffset.z, h - 16};
}

// The marker unless every output is a number (a marked input or an
// overflow must not leave NaN behind).
inline F23triple f23_numbersOrMiss(const F23triple& p)
{
  if (std::isnan(p.a) || std::isnan(p.b) || std::isnan(p.c))
    return kF23noValue;
  return p;
}

// A hit needs a finite ray parameter; anything else is a miss.
inline bool f23_isHit(double t)
{
  return std::isfinite(t);
}

// Root choice of the quadrics: the nearer root when both lie ahead of the
// eye, else the larger one; a miss (NaN) when that is not ahead either.
inline double f23_chooseRoot(double t1, double t2)
{
  if (t1 > 0 && t2 > 0)
    return std::min(t1, t2);
  const double t = std::max(t1, t2);
  return t > 0 ? t : kF23miss;
}

// The two ray parameters at which the ray crosses a pair of parallel faces.
struct F23pair
{
  double first;
  double second;

  double lo() const { return std::min(first, second); }
  double hi() const { return std::max(first, second); }
  // 0/0: the eye lies on a face plane and the ray runs along it.
  bool undefined() const { return std::isnan(first) || std::isnan(second); }
};

// The pair of faces {P : n.P = +d} and {P : n.P = -d} for the ray from E
// along D.
inline F23pair f23_facePair(const F23vec& n, double d, const F23vec& eye, const F23vec& dir)
{
  const double ne = f23_dot(n, eye), nd = f23_dot(n, dir);
  return {(d - ne) / nd, (-d - ne) / nd};
}

// Slab choice: with tnear the largest minimum and tfar the smallest maximum
// of the pairs, a hit when tfar > tnear and tfar >= 0, at tnear when it is
// ahead of the eye, else at tfar (the exit, for an eye inside). NaN for a
// miss, and for any undefined pair.
inline double f23_chooseSlab(std::initializer_list<F23pair> pairs)
{
  double tnear = -std::numeric_limits<double>::infinity(),
         tfar = std::numeric_limits<double>::infinity();
  for (const F23pair& p : pairs) {
    if (p.undefined())
      return kF23miss;
    tnear = std::max(tnear, p.lo());
    tfar = std::min(tfar, p.hi());
  }
  if (!(tfar > tnear && tfar >= 0))
    return kF23miss;
  return tnear > 0 ? tnear : tfar;
}
