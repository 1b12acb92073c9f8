#include "components/f44/f44_rgba.h"

#include <algorithm>
#include <cmath>

#include "components/f44/f44_pvt.h"
#include "engine/palettelookups.h"
#include "foundation/colormath.h"

namespace {

// One sample: the colour in, the fourth value, and whether each has a value.
struct Sample
{
  double in[3];
  double w;
  bool xMissing;
  bool wMissing;
};

template <class F>
void eachSample(gfunc* g, F f)
{
  const F44batch b = f44_readBatch(g);
  for (int i = 0; i < b.n; ++i) {
    const Sample s{{b.x(i), b.y(i), b.z(i)}, b.w(i), f44_missing(b.x(i)), f44_missing(b.w(i))};
    f44_write(g, i, f(s));
  }
}

F44out fillColour(const gfunc* g, double w)
{
  const F44constants& k = f44_k(g);
  return {{k.F[0], k.F[1], k.F[2]}, w};
}

// w as it is, the marker when it has no value.
double passW(const Sample& s)
{
  return s.wMissing ? gINFINITY : s.w;
}

// w, or -8 when it has no value.
double wOrFloor(const Sample& s)
{
  return s.wMissing ? kF44missingW : s.w;
}

// f = 1 - B (1 - c) for B >= 0, 1 + B c below: the fade factor of Amount B.
double fadeFactor(double amount, double c)
{
  return amount >= 0 ? 1 - amount * (1 - c) : 1 + amount * c;
}

// Hue sum reduced into [0, 360); NaN as 0.
double reducedHue(double h)
{
  if (!std::isfinite(h))
    return 0;
  const double r = std::fmod(h, 360.0);
  return r < 0 ? r + 360 : r;
}

}  // namespace

void f44_scale(gfunc* g)
{
  eachSample(g, [g](const Sample& s) {
    if (s.xMissing)
      return fillColour(g, passW(s));
    return F44out{{g->A * s.in[0], g->B * s.in[1], g->C * s.in[2]}, passW(s)};
  });
}

void f44_alphascale(gfunc* g)
{
  eachSample(g, [g](const Sample& s) {
    const double w = s.wMissing ? gINFINITY : g->B * s.w + g->C;
    if (s.xMissing)
      return fillColour(g, w);
    return F44out{{g->A * s.in[0], g->A * s.in[1], g->A * s.in[2]}, w};
  });
}

void f44_contrast(gfunc* g)
{
  const double pivot = f44_k(g).K[0];
  eachSample(g, [g, pivot](const Sample& s) {
    const double w = wOrFloor(s) * g->B + g->C;
    if (s.xMissing)
      return fillColour(g, w);
    F44out o{{}, w};
    for (int k = 0; k < 3; ++k)
      o.c[k] = f44_clamp(g->A * s.in[k] + pivot, 0, 8);
    return o;
  });
}

void f44_offset(gfunc* g)
{
  eachSample(g, [g](const Sample& s) {
    if (s.xMissing)
      return fillColour(g, passW(s));
    return F44out{{s.in[0] + g->A, s.in[1] + g->B, s.in[2] + g->C}, passW(s)};
  });
}

void f44_wmul(gfunc* g)
{
  const double contrast = f44_k(g).K[0];
  const bool altitudeOnly = f44_altitudeOnly(g);
  eachSample(g, [=](const Sample& s) {
    if (s.xMissing || s.wMissing)
      return kF44noValue;
    F44out o{{s.in[0], s.in[1], s.in[2]}, s.w};
    if (altitudeOnly)
      return o;
    const double a = f44_clamp(contrast * s.w + g->C, 0, 1);
    const double highlight = g->B > 0 && s.w > 0 ? g->B * std::pow(0.35 * s.w, 4) : 0.0;
    for (int k = 0; k < 3; ++k)
      o.c[k] = s.in[k] * a + highlight;
    return o;
  });
}

void f44_wcolorfade(gfunc* g)
{
  const F44constants& k = f44_k(g);
  const bool altitudeOnly = f44_altitudeOnly(g);
  eachSample(g, [&](const Sample& s) {
    const bool missing = s.xMissing || s.wMissing;
    const double w = missing ? kF44missingW : s.w;
    F44out o{{}, w};
    for (int ch = 0; ch < 3; ++ch)
      o.c[ch] = missing ? k.F[ch] : s.in[ch];
    if (altitudeOnly)
      return o;
    const double f = fadeFactor(g->B, f44_clamp(k.K[0] * w, 0, 1));
    for (int ch = 0; ch < 3; ++ch)
      o.c[ch] = k.F[ch] + (o.c[ch] - k.F[ch]) * f;
    return o;
  });
}

void f44_wblend(gfunc* g)
{
  const double contrast = f44_k(g).K[0];
  eachSample(g, [=](const Sample& s) {
    if (s.xMissing || s.wMissing)
      return kF44noValue;
    const double m = std::min(contrast * s.w, 8.0);
    F44out o{{}, s.w};
    for (int k = 0; k < 3; ++k)
      o.c[k] = s.in[k] + (m - s.in[k]) * g->A;
    return o;
  });
}

void f44_wgrad(gfunc* g)
{
  const F44constants& k = f44_k(g);
  const cpalette* palette = g->doc != nullptr ? &g->doc->tables.gradientKeys : nullptr;
  eachSample(g, [&](const Sample& s) {
    double target[3] = {k.F[0], k.F[1], k.F[2]};
    if (!s.wMissing && palette != nullptr)
      fbeziercolorgradient(palette, k.K[0] * s.w + g->C, target);
    F44out o{{}, s.w};
    for (int ch = 0; ch < 3; ++ch)
      o.c[ch] = s.in[ch] + (target[ch] / 32 - s.in[ch]) * g->A;
    return o;
  });
}

void f44_floor(gfunc* g)
{
  const F44constants& k = f44_k(g);
  const double floor = g->A, smooth = g->C;
  const double roof = k.K[0], gain = k.K[1];
  eachSample(g, [&](const Sample& s) {
    const double w = wOrFloor(s);
    double lifted = w;
    if (floor + smooth > w) {
      const double d = (w - floor) * gain;
      lifted = d < -1 ? floor : (d / 2 + 0.5) * (d / 2 + 0.5) * smooth + floor;
    }
    const double e = roof - lifted;
    double r = 0;
    if (e >= smooth)
      r = e;
    else if (e >= -smooth)
      r = (e * gain / 2 + 0.5) * (e * gain / 2 + 0.5) * smooth;
    if (s.xMissing)
      return fillColour(g, roof - r);
    F44out o{{}, roof - r};
    for (int ch = 0; ch < 3; ++ch)
      o.c[ch] = f44_clamp(s.in[ch], 0, 8);
    return o;
  });
}

void f44_colorshift(gfunc* g)
{
  const F44constants& k = f44_k(g);
  eachSample(g, [&](const Sample& s) {
    if (s.xMissing || s.wMissing)
      return fillColour(g, kF44missingW);
    double hsl[3];
    doubleRGBtoHSL(f44_clamp(32 * s.in[0], 0, 256), f44_clamp(32 * s.in[1], 0, 256),
                   f44_clamp(32 * s.in[2], 0, 256), hsl);
    const double h = reducedHue(hsl[0] + k.K[0]);
    const double sat = f44_clamp(g->C * hsl[1], 0, 255);
    const double l =
        g->B >= 0 ? f44_clamp(g->B * hsl[2], 0, 255) : f44_clamp(-g->B * (255 - hsl[2]), 0, 255);
    double rgb[3];
    doubleHSLtoRGB(h, sat, l, rgb);
    return F44out{{rgb[0] / 32, rgb[1] / 32, rgb[2] / 32}, s.w};
  });
}

// ---- Preparation ------------------------------------------------------------

void f44_fade_precompute(gfunc* g)
{
  f44_storeFade(g);
}

// K1: the contrast's offset, pivoting on 4 for A <= 1 and on 8 above.
void f44_contrast_precompute(gfunc* g)
{
  f44_storeFade(g);
  f44_k(g).K[0] = g->A <= 1 ? -4 * (g->A - 1) : -8 * (g->A - 1);
}

void f44_wmul_precompute(gfunc* g)
{
  f44_k(g).K[0] = g->A / 4;
}

void f44_wcolorfade_precompute(gfunc* g)
{
  f44_storeFade(g);
  f44_k(g).K[0] = 4 - 4 * g->A;
}

void f44_wblend_precompute(gfunc* g)
{
  f44_k(g).K[0] = 2 * g->B;
}

// F stays on the byte scale here: it stands in for a palette colour.
void f44_wgrad_precompute(gfunc* g)
{
  const std::array<double, 3> b = f44_fadeBytes(g);
  F44constants& k = f44_k(g);
  for (int c = 0; c < 3; ++c)
    k.F[c] = b[size_t(c)];
  k.K[0] = g->B / 4;
}

// K1 = R = max(A + 0.1, B), the roof; K2 = G = 1/C, or 1 for C = 0.
void f44_floor_precompute(gfunc* g)
{
  f44_storeFade(g);
  F44constants& k = f44_k(g);
  k.K[0] = std::max(g->A + 0.1, g->B);
  k.K[1] = g->C != 0 ? 1 / g->C : 1.0;
}

void f44_colorshift_precompute(gfunc* g)
{
  f44_storeFade(g);
  f44_k(g).K[0] = 60 * g->A + 360;
}

int16_t f44_scale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_scale, g, msg, a, b, c);
}

int16_t f44_alphascale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_alphascale, g, msg, a, b, c);
}

int16_t f44_contrast_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_contrast, g, msg, a, b, c);
}

int16_t f44_offset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_offset, g, msg, a, b, c);
}

int16_t f44_wmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_wmul, g, msg, a, b, c);
}

int16_t f44_wcolorfade_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_wcolorfade, g, msg, a, b, c);
}

int16_t f44_wblend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_wblend, g, msg, a, b, c);
}

int16_t f44_wgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_wgrad, g, msg, a, b, c);
}

int16_t f44_floor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_floor, g, msg, a, b, c);
}

int16_t f44_colorshift_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_colorshift, g, msg, a, b, c);
}
