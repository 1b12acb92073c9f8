#include "components/f31/f31_arith.h"

#include <algorithm>
#include <cmath>

namespace {

bool present(double v)
{
  return v < gINFINITY;
}

// Min <-> Max before the factor A, for each pattern of missing inputs.
double minToMax(double x, double y, double z, double blend, double smoothing)
{
  const auto between = [&](double lo, double hi) { return lo + (hi - lo) * blend; };
  if (present(x)) {
    if (!present(y))
      return x;
    if (present(z))
      return between(std::min({x, y, z}),
                     f31_smoothMax(f31_smoothMax(x, y, smoothing), z, smoothing));
    return between(std::min(x, y), f31_smoothMax(x, y, smoothing));
  }
  if (!present(y))
    return std::min(z, gINFINITY);
  if (present(z))
    return between(std::min(z, y), f31_smoothMax(z, y, smoothing));
  return y;
}

}  // namespace

double f31_smoothMax(double a, double b, double c)
{
  const double cp = c > 0 ? c : 0;
  if (a > b + cp / 4)
    return a;
  if (!(cp > 0))
    return b;
  const double t = (b + cp / 4 - a) / cp;
  return t < 0.5 ? a + cp * t * t : b;
}

void f31_affine(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f31_eachSample(g, [=](double x, double y, double z) { return a * x + b * y + c * z; });
}

void f31_Naffine(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    const double s = a * x + b * y + c * z;
    const double r = std::sqrt(x * x + y * y + z * z);
    return r < 0.0078125 ? s * 128 : s / r;
  });
}

void f31_mul(gfunc* g)
{
  const double a = g->A;
  f31_eachSample(g, [=](double x, double y, double z) { return x * a * y * z; });
}

void f31_addmul(gfunc* g)
{
  const double a = g->A, b = g->B;
  f31_eachSample(
      g, [=](double x, double y, double z) { return (x * (1 - a) + a * y) * ((z - 1) * b + 1); });
}

void f31_xmypz(gfunc* g)
{
  const double a = g->A, b = g->B;
  f31_eachSample(g, [=](double x, double y, double z) { return b * z + a * x * y; });
}

void f31_distance(gfunc* g)
{
  f31_eachSample(g, [](double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); });
}

void f31_max(gfunc* g)
{
  const double a = g->A;
  f31_eachSample(g, [=](double x, double y, double z) { return a * std::max({x, y, z}); });
}

void f31_minmax(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  const F31batch in = f31_batch(g);
  for (int i = 0; i < in.n; ++i)
    g->outputs[0][i] = a * minToMax(in.x[i], in.y[i], in.z[i], b, c);
}

void f31_blend(gfunc* g)
{
  const double a2 = 2 * g->A;
  f31_eachSample(g, [=](double x, double y, double z) {
    const double w =
        a2 < 1 ? std::clamp(a2 * z, 0.0, 1.0) : std::clamp((a2 - 1) * (1 - z) + z, 0.0, 1.0);
    return x + (y - x) * w;
  });
}

void f31_Pack(gfunc* g)
{
  const F31batch in = f31_batch(g);
  std::copy_n(in.x.begin(), in.n, g->outputs[0]);
  std::copy_n(in.y.begin(), in.n, g->outputs[1]);
  std::copy_n(in.z.begin(), in.n, g->outputs[2]);
}

int16_t f31_affine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_affine, g, msg, a, b, c);
}
int16_t f31_Naffine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_Naffine, g, msg, a, b, c);
}
int16_t f31_mul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_mul, g, msg, a, b, c);
}
int16_t f31_addmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_addmul, g, msg, a, b, c);
}
int16_t f31_xmypz_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_xmypz, g, msg, a, b, c);
}
int16_t f31_distance_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_distance, g, msg, a, b, c);
}
int16_t f31_max_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_max, g, msg, a, b, c);
}
int16_t f31_minmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_minmax, g, msg, a, b, c);
}
int16_t f31_blend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_blend, g, msg, a, b, c);
}
int16_t f31_Pack_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_Pack, g, msg, a, b, c);
}
int16_t f31_tree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return msg <= kMsgDefaults ? KV_memberHandler(kF31_tree, g, msg, a, b, c) : 0;
}
