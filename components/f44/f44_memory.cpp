#include "components/f44/f44_memory.h"

#include <algorithm>
#include <cmath>

#include "components/f11/f11_memory.h"
#include "components/f44/f44_pvt.h"
#include "foundation/colormath.h"

namespace {

void resetMemory(gfunc* g, int n, const F44out& start)
{
  for (int k = 0; k < 3; ++k)
    std::fill_n(g->outputs[k], n, start.c[k]);
  std::fill_n(g->outputs[3], n, start.w);
}

constexpr F44out kZero{{0, 0, 0}, 0};

// The memory frame: reset at pass 0, then add(i, colour in, w) for every
// sample that passes `takes(x, w)`.
template <class Takes, class Add>
void accumulate(gfunc* g, const F44out& start, Takes takes, Add add)
{
  const F44batch b = f44_readBatch(g);
  if (f44_passNumber(g) == 0)
    resetMemory(g, b.n, start);
  for (int i = 0; i < b.n; ++i)
    if (takes(b.x(i), b.w(i)))
      add(i, F44out{{b.x(i), b.y(i), b.z(i)}, b.w(i)});
}

bool bothPresent(double x, double w)
{
  return !f44_missing(x) && !f44_missing(w);
}

// out_k += (in_k - out_k) t on the colour outputs.
void blendColour(gfunc* g, int i, const F44out& in, double t)
{
  for (int k = 0; k < 3; ++k)
    g->outputs[k][i] += (in.c[k] - g->outputs[k][i]) * t;
}

}  // namespace

void f44_memalpha(gfunc* g)
{
  const F44constants& k = f44_k(g);
  const double level = g->A, feather = k.K[0];
  accumulate(g, {{k.F[0], k.F[1], k.F[2]}, -1}, bothPresent, [&](int i, const F44out& in) {
    const double s = f44_smoothstep((in.w + level) * feather);
    const double target = in.w > 0 ? in.w + 4 : 4;
    g->outputs[3][i] += (target - g->outputs[3][i]) * s;
    if (s > 0)
      blendColour(g, i, in, s);
  });
}

void f44_memWadd(gfunc* g)
{
  const double contrast = g->A, offset = g->B;
  accumulate(g, kZero, bothPresent, [&](int i, const F44out& in) {
    double a = (in.w + offset) * contrast;
    if (!(a > 0))
      return;
    a = std::min(a, 1.0);
    for (int k = 0; k < 3; ++k)
      g->outputs[k][i] += in.c[k] * a;
    g->outputs[3][i] += in.w * a;
  });
}

void f44_memadd(gfunc* g)
{
  const double gain = g->A;
  accumulate(g, kZero, bothPresent, [&](int i, const F44out& in) {
    for (int k = 0; k < 3; ++k)
      g->outputs[k][i] += in.c[k] * gain;
    if (in.w > 0)
      g->outputs[3][i] += in.w * gain;
  });
}

void f44_memfractadd(gfunc* g)
{
  // K1 = the gain's growth per pass and K2 = its start, from f11's handler;
  // K3 = the running gain, advanced once per batch.
  F11constants& k = f11_k(g);
  if (f44_passNumber(g) == 0)
    k.K3 = k.K2;
  else
    k.K3 *= k.K1;
  const double gain = k.K3;
  accumulate(g, kZero, bothPresent, [&](int i, const F44out& in) {
    const double weight = std::min(std::min(in.w / 4, 1.0) * gain, 1.0);
    for (int c = 0; c < 3; ++c)
      g->outputs[c][i] += in.c[c] * weight;
    if (in.w > 0)
      g->outputs[3][i] += in.w * gain;
  });
}

void f44_memdif(gfunc* g)
{
  const F11constants& k = f11_k(g);
  const bool smooth = g->A > 0;
  const bool colour = !f44_altitudeOnly(g);
  accumulate(
      g, kZero, [](double, double) { return true; },
      [&](int i, const F44out& in) {
        if (!f44_missing(in.w)) {
          double d = g->outputs[3][i] - std::max(in.w, 0.0);
          if (smooth) {
            double e = std::fabs(d * k.K1);
            if (e < 0.5)
              e = e * e + 0.25;
            d = e * k.K2;
          } else {
            d = std::fabs(d);
          }
          g->outputs[3][i] = d;
        }
        if (colour && !f44_missing(in.c[0]))
          for (int c = 0; c < 3; ++c)
            g->outputs[c][i] = std::fabs(g->outputs[c][i] - in.c[c]);
      });
}

void f44_memmax(gfunc* g)
{
  const F44constants& k = f44_k(g);
  const double level = g->A, feather = g->B, gain = k.K[0];
  const bool colour = !f44_altitudeOnly(g);
  accumulate(
      g, {{k.F[0], k.F[1], k.F[2]}, -4}, [](double x, double) { return !f44_missing(x); },
      [&](int i, const F44out& in) {
        const double h = g->outputs[3][i] + level;
        double t = 0;
        double w4 = h;
        if (feather > 0) {
          const double d = feather / 4 + in.w - h;
          if (d > 0) {
            const double e = d * gain;
            if (e < 0.5) {
              t = 2 * e;
              w4 = e * e * feather + h;
            } else {
              t = 1;
              w4 = in.w;
            }
          }
        } else if (in.w > h) {
          w4 = in.w;
          t = 1;
        }
        g->outputs[3][i] = w4;
        if (colour && t > 0)
          blendColour(g, i, in, t);
      });
}

// ---- Preparation ------------------------------------------------------------

void f44_memalpha_precompute(gfunc* g)
{
  F44constants& k = f44_k(g);
  k.K[0] = g->B < 0.0001 ? 2500.0 : 1 / (4 * g->B);
  normalcolor start{};
  GetParam1DColorTable(&start, g->C, 1);
  k.F[0] = start.red / 32.0;
  k.F[1] = start.green / 32.0;
  k.F[2] = start.blue / 32.0;
}

void f44_memmax_precompute(gfunc* g)
{
  f44_storeFade(g);
  if (g->B > 0)
    f44_k(g).K[0] = 1 / g->B;
}

int16_t f44_memalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_memalpha, g, msg, a, b, c);
}

int16_t f44_memWadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_memWadd, g, msg, a, b, c);
}

int16_t f44_memadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_memadd, g, msg, a, b, c);
}

int16_t f44_memfractadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return f11_memfractadd_handler(g, msg, a, b, c);
}

int16_t f44_memdif_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return f11_memdif_handler(g, msg, a, b, c);
}

int16_t f44_memmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_memmax, g, msg, a, b, c);
}
