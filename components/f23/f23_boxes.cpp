#include "components/f23/f23_boxes.h"

#include <cmath>

#include "components/f23/f23_pvt.h"
#include "components/f23/f23_rays.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRoomBase =
    19.141592653589793;  // 16 + pi: the parametric room's half size at C = 0

// The axes of the parametric members and the cube, from cos and sin of
// the two angles: n the face normal, a and b the face's own axes.
struct Axes
{
  F23vec n, a, b;
};

Axes faceAxes(double c1, double s1, double c2, double s2)
{
  return {{s1, c1 * s2, c1 * c2}, {c1, -s1 * s2, -s1 * c2}, {0, c2, -s2}};
}

Axes faceAxes(const F23constants& k)
{
  return faceAxes(k.K[0], k.K[1], k.K[2], k.K[3]);
}

// The eye above the view origin's ground point, at height z.
F23vec eyeAt(const F23view& v, double z)
{
  return {v.ox, v.oy, z};
}

F23vec along(const F23vec& e, const F23vec& d, double t)
{
  return {e.x + t * d.x, e.y + t * d.y, e.z + t * d.z};
}

// The ray of every sample: `hit` gives the outputs of a ray, or the marker.
template <class Hit>
void castEach(gfunc* g, Hit hit)
{
  const F23view view = f23_view(g);
  f23_eachSample(g, F23mask::none,
                 [&](double x, double y) { return f23_numbersOrMiss(hit(view, view.ray(x, y))); });
}

F23triple slabPoint(const F23view& view, const F23vec& d, double t)
{
  return f23_isHit(t) ? view.point(d, t) : kF23noValue;
}

// Step by step exit choice of the parametric room (see f23_Proom).
double roomExit(const F23pair& alongA, const F23pair& alongB, const F23pair& alongN)
{
  const double nMin = alongN.lo(), nMax = alongN.hi();
  double t = (nMin > 0 && nMin < nMax) ? nMin : nMax;
  const double bMin = alongB.lo(), bMax = alongB.hi();
  if (bMin > 0 && t > bMin)
    t = bMin;
  else if (bMax > 0)
    t = std::min(t, bMax);
  const double aMin = alongA.lo(), aMax = alongA.hi();
  if (aMin > 0 && t > aMin)
    return aMin;
  if (aMax > 0 && aMax < t)
    return aMax;
  return t > 0 ? t : kF23miss;
}

bool isEither(double t, const F23pair& p)
{
  return t == p.first || t == p.second;
}

}  // namespace

void f23_turnAB_precompute(gfunc* g)
{
  F23constants& k = f23_k(g);
  k.K[0] = std::cos(g->A);
  k.K[1] = std::sin(g->A);
  k.K[2] = std::cos(g->B);
  k.K[3] = std::sin(g->B);
}

void f23_turnBA_precompute(gfunc* g)
{
  F23constants& k = f23_k(g);
  k.K[0] = std::cos(g->B);
  k.K[1] = std::sin(g->B);
  k.K[2] = std::cos(g->A);
  k.K[3] = std::sin(g->A);
}

void f23_cubeskew(gfunc* g)
{
  const double sizeY = g->A, sizeZX = g->B, lift = g->C;
  castEach(g, [&](const F23view& v, const F23vec& d) {
    const double ez = v.oz - 16 + lift;
    const double t = f23_chooseSlab({
        {(sizeZX - v.ox) / d.x, (-sizeZX - v.ox) / d.x},
        {(sizeY - v.oy) / d.y, (-sizeY - v.oy) / d.y},
        {(-ez - sizeZX) / kF23rayZ, (-ez + sizeZX) / kF23rayZ},
    });
    return slabPoint(v, d, t);
  });
}

void f23_cube(gfunc* g)
{
  const F23constants& k = f23_k(g);
  const double cA = k.K[0], sA = k.K[1], cB = k.K[2], sB = k.K[3];
  const F23vec alpha{-sA * sB, cA, sA * cB};
  const F23vec beta{-cA * sB, -sA, cA * cB};
  const F23vec gamma{cB, 0, sB};
  const double lift = g->C;
  castEach(g, [&](const F23view& v, const F23vec& d) {
    const F23vec e = eyeAt(v, v.oz - 16 + lift);
    const double t = f23_chooseSlab({f23_facePair(alpha, kPi, e, d), f23_facePair(beta, kPi, e, d),
                                     f23_facePair(gamma, kPi, e, d)});
    return slabPoint(v, d, t);
  });
}

void f23_room(gfunc* g)
{
  const F23constants& k = f23_k(g);
  const double cB = k.K[0], sB = k.K[1];
  const F23vec beta{-sB, 0, cB};
  const F23vec gamma{cB, 0, sB};
  const double w = 2 * kPi + g->C;
  const double drop = g->A;
  castEach(g, [&](const F23view& v, const F23vec& d) {
    const F23vec e = eyeAt(v, v.oz - drop);
    const double t = f23_chooseSlab({
        {(-kPi - v.oy) / d.y, (w - v.oy) / d.y},
        f23_facePair(beta, 2 * w, e, d),
        f23_facePair(gamma, w, e, d),
    });
    return slabPoint(v, d, t);
  });
}

void f23_Pface(gfunc* g)
{
  const Axes ax = faceAxes(f23_k(g));
  const double lift = g->C;
  castEach(g, [&](const F23view& v, const F23vec& d) {
    const F23vec e = eyeAt(v, v.oz - 16 + lift);
    const double t = -f23_dot(ax.n, e) / f23_dot(ax.n, d);
    if (!(t > 0) || !f23_isHit(t))
      return kF23noValue;
    const F23vec p = along(e, d, t);
    const double u = f23_dot(ax.a, p), w = f23_dot(ax.b, p);
    if (!(std::fabs(u) < kPi && std::fabs(w) < kPi))
      return kF23noValue;
    return F23triple{u, w, v.e + kF23rayZ * t};
  });
}

void f23_Pcube(gfunc* g)
{
  const Axes ax = faceAxes(f23_k(g));
  const double lift = g->C;
  castEach(g, [&](const F23view& v, const F23vec& d) {
    const F23vec e = eyeAt(v, v.oz - 16 + lift);
    const F23pair alongB = f23_facePair(ax.b, kPi, e, d);
    const F23pair alongA = f23_facePair(ax.a, kPi, e, d);
    const F23pair alongN = f23_facePair(ax.n, kPi, e, d);
    const double t = f23_chooseSlab({alongB, alongA, alongN});
    if (!f23_isHit(t))
      return kF23noValue;
    // The face hit shows in which pair t was found, compared exactly.
    const F23vec p = along(e, d, t);
    const double np = f23_dot(ax.n, p);
    return F23triple{t == alongA.lo() ? -np : f23_dot(ax.a, p),
                     t == alongB.lo() ? np : f23_dot(ax.b, p), v.e + kF23rayZ * t};
  });
}

void f23_Proom(gfunc* g)
{
  const Axes ax = faceAxes(f23_k(g));
  const double r = kRoomBase + g->C;
  castEach(g, [&](const F23view& v, const F23vec& d) {
    const F23vec e = eyeAt(v, v.oz - 16);
    const double be = f23_dot(ax.b, e), bd = f23_dot(ax.b, d);
    const F23pair alongA = f23_facePair(ax.a, r, e, d);
    const F23pair alongB{(r / 2 - be) / bd, (-r / 4 - be) / bd};
    const F23pair alongN = f23_facePair(ax.n, r, e, d);
    if (alongA.undefined() || alongB.undefined() || alongN.undefined())
      return kF23noValue;
    const double t = roomExit(alongA, alongB, alongN);
    if (!f23_isHit(t))
      return kF23noValue;
    const F23vec p = along(e, d, t);
    const double np = f23_dot(ax.n, p);
    return F23triple{isEither(t, alongA) ? -np : f23_dot(ax.a, p),
                     isEither(t, alongB) ? np : f23_dot(ax.b, p), v.e + kF23rayZ * t};
  });
}

int16_t f23_cubeskew_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_cubeskew, g, msg, a, b, c);
}

int16_t f23_cube_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_cube, g, msg, a, b, c);
}

int16_t f23_room_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_room, g, msg, a, b, c);
}

int16_t f23_Pface_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_Pface, g, msg, a, b, c);
}

int16_t f23_Pcube_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_Pcube, g, msg, a, b, c);
}

int16_t f23_Proom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_Proom, g, msg, a, b, c);
}
