#include "components/f22/f22_affine.h"

#include <cmath>

#include "components/f22/f22_pvt.h"
#include "foundation/numbers.h"
#include "noise/tables.h"

namespace {

using f22detail::kPi;

}  // namespace

void f22_skew_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  const double k = g->B + 3;
  const double c = std::cos(g->A), s = std::sin(g->A);
  K[0] = (k * c * c + s * s / k) * g->C;
  K[1] = (k * s * s + c * c / k) * g->C;
  K[2] = c * s * (k - 1 / k) * g->C;
}

void f22_skew(gfunc* g)
{
  const double* K = f22_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2];
  f22_eachSample(g, [&](double x, double y) { return F22point{k0 * x + k2 * y, k1 * y + k2 * x}; });
}

void f22_Sine(gfunc* g)
{
  const double a = g->A, b = g->B;
  if (!f22_uniformY(g)) {
    f22_eachSample(g, [&](double x, double y) {
      return F22point{a * TableSin(b * x), a * TableSin(b * y)};
    });
    return;
  }
  const double yTerm = a * std::sin(b * g->inlets[1].data[0]);
  f22_eachSample(g, [&](double x, double) { return F22point{a * TableSin(b * x), yTerm}; });
}

void f22_scaleOffset(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f22_eachSample(g, [&](double x, double y) { return F22point{a * x + b, a * y + c}; });
}

void f22_scaleOffset_prepare(gfunc* g)
{
  const gfunc* source = g->sources[1];
  const inletinfos& record = source != nullptr ? source->inlets[1] : g->inlets[1];
  g->outputCode = record.channels == 0 ? kConnTwoUniformSecond : kConnTwo;
}

void f22_rotateOffset_precompute(gfunc* g)
{
  double* K = f22_k(g).K;
  K[0] = std::cos(g->A);
  K[1] = std::sin(g->A);
}

void f22_rotateOffset(gfunc* g)
{
  const double* K = f22_k(g).K;
  const double c = K[0], s = K[1], cx = g->B, cy = g->C;
  f22_eachSample(g, [&](double x, double y) {
    return F22point{c * (x - cx) + cx - s * (y - cy), c * (y - cy) + cy + s * (x - cx)};
  });
}

void f22_xplusASine(gfunc* g)
{
  const double a = g->A, b = g->B;
  f22_eachSample(g, [&](double x, double y) {
    return F22point{x + a * TableSin(b * y), y + a * TableSin(b * x)};
  });
}

void f22_waves(gfunc* g)
{
  const double f = kPi * g->A, ampX = g->B, ampY = g->C;
  const bool uniform = f22_uniformY(g);
  const double yTerm = uniform ? std::fabs(ampY * TableSin(f * g->inlets[1].data[0])) : 0.0;
  f22_eachSample(g, [&](double x, double y) {
    const double dx = uniform ? yTerm : std::fabs(ampY * TableSin(f * y));
    return F22point{x + dx, y + std::fabs(ampX * TableSin(f * x))};
  });
}

void f22_twirl(gfunc* g)
{
  const double a = g->A, b = g->B;
  f22_eachSample(g, [&](double x, double y) {
    const double r = (x * x + y * y) * a;
    const double t = r > 9.5 ? 0.0 : kPi * b * std::exp(-r);
    const double c = TableSin(t + kPi / 2), s = TableSin(t);
    return F22point{x * c - y * s, y * c + x * s};
  });
}

void f22_sinwarp(gfunc* g)
{
  const double a = g->A, b = g->B;
  const bool uniform = f22_uniformY(g);
  const double yTerm = uniform ? a * std::cos(b * g->inlets[1].data[0]) : 0.0;
  f22_eachSample(g, [&](double x, double y) {
    const double dx = uniform ? yTerm : a * std::cos(b * y);
    return F22point{x + dx, y + a * TableSin(b * x)};
  });
}

void f22_hexasin(gfunc* g)
{
  constexpr double k = kF22sin60;
  const double a = g->A;
  f22_eachSample(g, [&](double x, double y) {
    const double u = x / a, v = y / a;
    const double p = -k * u + 0.5 * v;
    const double q = 0.5 * u + k * v;
    const double r = 0.5 * q + k * p;
    const double s = -k * q + 0.5 * p;
    return F22point{a * (TableSin(q) + TableSin(r) + TableSin(k * s + 0.5 * r)),
                    a * (TableSin(p) + TableSin(s) + TableSin(-k * r + 0.5 * s))};
  });
}

void f22_radialstar(gfunc* g)
{
  const double phase = g->A, narrowness = g->B, amplitude = g->C;
  f22_eachSample(g, [&](double x, double y) {
    const double theta = SinToAngle(x, y);
    const double d = std::sqrt(x * x + y * y);
    const double w = d > 1e-6 ? TableSin(12 * theta) * amplitude / d : 0.0;
    const double gauss = std::exp(-(d - phase) * (d - phase) * narrowness);
    return F22point{x + x * w * gauss, y + y * w * gauss};
  });
}

void f22_ripples(gfunc* g)
{
  const double freq = g->A, amplitude = g->B, phase = g->C;
  f22_eachSample(g, [&](double x, double y) {
    const double phi = std::sqrt(x * x + y * y) * kPi * freq + phase;
    return F22point{x + amplitude * TableSin(phi), y + amplitude * TableSin(phi + kPi / 2)};
  });
}

void f22_scale(gfunc* g)
{
  const double a = g->A, b = g->B;
  f22_eachSample(g, [&](double x, double y) {
    return F22point{a * x, y >= gINFINITY ? gINFINITY : b * y};
  });
}

void f22_splitmove(gfunc* g)
{
  const double c = std::cos(g->A), s = std::sin(g->A);
  const double gap = g->B, slide = g->C;
  f22_eachSample(g, [&](double x, double y) {
    const double u = c * x - s * y;
    double v = c * y + s * x;
    double moved = 0.0;
    if (u < 0) {
      v -= slide;
      moved = u + gap;
      if (moved > 0)
        return F22point{gINFINITY, v};
    } else if (u > 0) {
      v += slide;
      moved = u - gap;
      if (moved < 0)
        return F22point{gINFINITY, v};
    }
    return F22point{c * moved + s * v, c * v - s * moved};
  });
}

int16_t f22_skew_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_skew, g, msg, a, b, c);
}

int16_t f22_Sine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_Sine, g, msg, a, b, c);
}

int16_t f22_scaleOffset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_scaleOffset, g, msg, a, b, c);
}

int16_t f22_rotateOffset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_rotateOffset, g, msg, a, b, c);
}

int16_t f22_xplusASine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_xplusASine, g, msg, a, b, c);
}

int16_t f22_waves_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_waves, g, msg, a, b, c);
}

int16_t f22_twirl_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_twirl, g, msg, a, b, c);
}

int16_t f22_sinwarp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_sinwarp, g, msg, a, b, c);
}

int16_t f22_hexasin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_hexasin, g, msg, a, b, c);
}

int16_t f22_radialstar_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_radialstar, g, msg, a, b, c);
}

int16_t f22_ripples_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_ripples, g, msg, a, b, c);
}

int16_t f22_scale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_scale, g, msg, a, b, c);
}

int16_t f22_splitmove_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_splitmove, g, msg, a, b, c);
}
