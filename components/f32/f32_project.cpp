#include "components/f32/f32_project.h"

#include <cmath>

using f32detail::kHalfPi;
using f32detail::kPi;

namespace {

// Scales (x, y) by f and keeps f in output array 3 (the perspective members'
// scale factor, read by no connector of the family).
template <class Scale>
void scaleEachSample(gfunc* g, Scale scale)
{
  f32_eachSampleAt(g, [&](double x, double y, double z, int i) {
    const double f = scale(z);
    g->outputs[2][i] = f;
    return F32point{x * f, y * f};
  });
}

// Longitude of (x, z) about the y axis, 0 on the plane x = 0.
double longitude(double x, double z)
{
  if (x > 0)
    return std::atan(z / x) + kHalfPi;
  if (x < 0)
    return kHalfPi - (std::atan(-z / x) + kPi);
  return 0.0;
}

// Rotates (p, s) by the angle of cosine c and sine s0, both from the old
// values.
void turn(double& p, double& s, double c, double sn)
{
  const double p0 = p;
  p = c * p - sn * s;
  s = c * s + sn * p0;
}

F32point diskTile(const double* K, double x, double y, double z)
{
  const double p = x * K[6] - z * K[7];
  const double w = z * K[6] + x * K[7];
  const double q = y * K[8] - w * K[9];
  const double s = w * K[8] + y * K[9];
  const double len = std::sqrt(p * p + q * q + s * s);
  const double inv = len == 0 ? 0.0 : 1 / len;
  double P = p * inv, S = s * inv;
  const double Q = q * inv;
  const double r2 = K[10], rim = K[11];
  if (P * P + S * S < r2)
    return F32point{rim * P, rim * S};

  const double a = Q * K[2], b = Q * K[3];
  for (int k = 0; k < 5; ++k) {
    turn(P, S, K[0], K[1]);
    const double u = S * K[3] + a;
    if (S * K[2] - b < 0 && P * P + u * u < r2)
      return F32point{rim * P, rim * u};
  }
  turn(P, S, K[4], K[5]);
  for (int k = 0; k < 5; ++k) {
    turn(P, S, K[0], K[1]);
    const double u = a - K[3] * S;
    if (S * K[2] + b < 0 && P * P + u * u < r2)
      return F32point{rim * P, rim * u};
  }
  return F32point{0.0, 0.0};
}

}  // namespace

void f32_perspective_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = -8 * (2 + g->A);
  K[1] = 14 * (2 + g->A) + 14;
  K[2] = 3.5;
}

void f32_perspective(gfunc* g)
{
  const double* K = f32_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2];
  scaleEachSample(g, [=](double z) {
    double d = k0 * z + k1;
    if (d < k2)
      d = 2 * k2 - d;  // the depth is mirrored at k2 and never falls below it
    return 14 / d;
  });
}

void f32_truepers(gfunc* g)
{
  const double a = g->A;
  scaleEachSample(g, [=](double z) {
    const double d = 1 - a + a * z;
    return d < 0.01 ? 200.0 : 2 / d;
  });
}

void f32_planeProj_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = std::cos(g->A);
  K[1] = std::sin(g->A);
  K[2] = std::sin(g->B);
  K[3] = std::cos(g->B);
}

void f32_planeProj(gfunc* g)
{
  const double* K = f32_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], k3 = K[3];
  f32_eachSample(g, [=](double x, double y, double z) {
    return F32point{x * k3 - z * k2, k1 * k2 * x + k0 * y - k1 * k3 * z};
  });
}

void f32_sphereProj_precompute(gfunc* g)
{
  f32_k(g).K[0] = 2 * g->A * g->B;
}

void f32_sphereProj_convert(gfunc* g)
{
  if (!f32_treeAtMost(g, 15))
    return;
  g->B = 1.0;
  for (KVparamTriple& key : g->keyframes)
    key.B = 1.0;
}

void f32_sphereProj(gfunc* g)
{
  const double a = g->A, k0 = f32_k(g).K[0];
  f32_eachSample(g, [=](double x, double y, double z) {
    const double r = std::sqrt(x * x + y * y + z * z);
    if (r == 0)
      return F32point{0.0, 0.0};  // the origin has no direction
    return F32point{a * longitude(x, z), k0 * std::asin(y / r)};
  });
}

void f32_disksphereTile_precompute(gfunc* g)
{
  double* K = f32_k(g).K;
  K[0] = std::cos(1.2566370614359172);
  K[1] = std::sin(1.2566370614359172);
  K[2] = std::cos(0.4635326674422417);
  K[3] = std::sin(0.4635326674422417);
  K[4] = std::cos(0.6283185307179586);
  K[5] = std::sin(0.6283185307179586);
  K[6] = std::cos(g->B);
  K[7] = std::sin(g->B);
  K[8] = std::cos(g->C);
  K[9] = std::sin(g->C);
  K[10] = 0.27646015351590175 * g->A;
  K[11] = kPi / std::sqrt(K[10]);
}

void f32_disksphereTile(gfunc* g)
{
  const double* K = f32_k(g).K;
  f32_eachSample(g, [=](double x, double y, double z) { return diskTile(K, x, y, z); });
}

int16_t f32_perspective_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_perspective, g, msg, a, b, c);
}

int16_t f32_truepers_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_truepers, g, msg, a, b, c);
}

int16_t f32_planeProj_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_planeProj, g, msg, a, b, c);
}

int16_t f32_sphereProj_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_sphereProj, g, msg, a, b, c);
}

int16_t f32_disksphereTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_disksphereTile, g, msg, a, b, c);
}
