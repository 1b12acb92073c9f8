// The plain point transforms of f33 and "3D sphere A"; the perspective
// surfaces are in f33_transforms_rays.cpp.
#include "components/f33/f33_transforms.h"

#include <cmath>

#include "noise/noises.h"

namespace {

// Where the noise of "3D Random vector" reads its second and third
// components: far enough along one axis to be unrelated to the first.
constexpr double kRandomVectorShift = 735;
// The noise is 512 times a unit noise; adding 512 keeps each jitter
// non-negative before scaling by A / 256.
constexpr double kNoiseLift = 512;
constexpr double kRandomVectorScale = 0.00390625;  // 1/256

// "3D sphere A": a hemisphere of radius pi lit from above. R = pi^2 + 1/8;
// the literal constants are 4 R^2, R^2 and pi^2.
constexpr double kSphereR = 9.994604401089358;
constexpr double kSphereFourRSquared = 399.5684685370991;
constexpr double kSphereRSquared = 99.89211713427477;
constexpr double kPiSquared = 9.869604401089358;
constexpr double kSixteenPi = 50.26548245743669;  // the depth of points outside the sphere

}  // namespace

void f33_scale(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f33_eachSample(g, [&](double x, double y, double z) { return F33triple{a * x, b * y, c * z}; });
}

void f33_offset(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f33_eachSample(g, [&](double x, double y, double z) { return F33triple{x + a, y + b, z + c}; });
}

void f33_rotate(gfunc* g)
{
  const F33constants& k = f33_k(g);
  const double cosA = k.K[0], sinA = k.K[1], cosB = k.K[2], sinB = k.K[3];
  const double cosC = std::cos(g->C), sinC = std::sin(g->C);
  f33_eachSample(g, [&](double x, double y, double z) {
    // By B in the x-z plane, by A in the plane of t and y, by C in the plane
    // of w and u.
    const double t = cosB * x - sinB * z;
    const double u = sinB * x + cosB * z;
    const double w = cosA * y + sinA * t;
    return F33triple{cosA * t - sinA * y, cosC * w - sinC * u, cosC * u + sinC * w};
  });
}

void f33_random(gfunc* g)
{
  const KVtables* t = f33_tables(g);
  const double s = g->A * kRandomVectorScale, phase = g->B, f = g->C;
  f33_eachSample(g, [&](double x, double y, double z) {
    const double fx = f * x, fy = f * y, fz = f * z;
    const double q1 = fPerlinNoise3D(t, phase + fx, fy, fz);
    const double q2 = fPerlinNoise3D(t, phase + fx + kRandomVectorShift, fz, fy);
    const double q3 = fPerlinNoise3D(t, phase + fz, fx, kRandomVectorShift + fy);
    return F33triple{x + s * (q1 + kNoiseLift), y + s * (q2 + kNoiseLift),
                     z + s * (q3 + kNoiseLift)};
  });
}

void f33_sines(gfunc* g)
{
  const double a = g->A, phase = g->B, f = g->C;
  f33_eachSample(g, [&](double x, double y, double z) {
    return F33triple{a * std::cos(f * x + phase), a * std::cos(f * y + phase),
                     a * std::cos(f * z + phase)};
  });
}

void f33_normalize(gfunc* g)
{
  const double magnitude = g->A;
  f33_eachSample(g, [&](double x, double y, double z) {
    const double r = std::sqrt(x * x + y * y + z * z);
    if (r == 0)
      return F33triple{x, y, z};
    const double s = magnitude / r;
    return F33triple{x * s, y * s, z * s};
  });
}

void f33_sphere(gfunc* g)
{
  const F33constants& k = f33_k(g);
  const double cosA = k.K[0], sinA = k.K[1], scaleY = g->B, lift = g->C;
  f33_eachSample(g, [&](double x, double y, double z) {
    const double d =
        kSphereFourRSquared - 4 * (x * x + y * y + kSphereRSquared - (lift * z + kPiSquared));
    if (!(d > 0))
      return F33triple{2 * x, 2 * y, kSixteenPi};
    // The height below the eye: (2R - sqrt D) / 2 - R, which is -sqrt(D) / 2.
    const double h = (2 * kSphereR - std::sqrt(d)) / 2 - kSphereR;
    return F33triple{cosA * x + sinA * h, scaleY * y, cosA * h - sinA * x};
  });
}

void f33_cosSinAB_precompute(gfunc* g)
{
  F33constants& k = f33_k(g);
  k.K[0] = std::cos(g->A);
  k.K[1] = std::sin(g->A);
  k.K[2] = std::cos(g->B);
  k.K[3] = std::sin(g->B);
}

void f33_cosSinA_precompute(gfunc* g)
{
  F33constants& k = f33_k(g);
  k.K[0] = std::cos(g->A);
  k.K[1] = std::sin(g->A);
}

void f33_cosSinAC_precompute(gfunc* g)
{
  F33constants& k = f33_k(g);
  k.K[0] = std::cos(g->A);
  k.K[1] = std::sin(g->A);
  k.K[2] = std::cos(g->C);
  k.K[3] = std::sin(g->C);
}

int16_t f33_scale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_scale, g, msg, a, b, c);
}

int16_t f33_offset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_offset, g, msg, a, b, c);
}

int16_t f33_rotate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_rotate, g, msg, a, b, c);
}

int16_t f33_random_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_random, g, msg, a, b, c);
}

int16_t f33_sines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_sines, g, msg, a, b, c);
}

int16_t f33_normalize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_normalize, g, msg, a, b, c);
}

int16_t f33_sphere_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_sphere, g, msg, a, b, c);
}
