#include "components/f43/f43_colours.h"

#include <algorithm>

#include "components/common/packed.h"
#include "components/f43/f43_pvt.h"
#include "foundation/colormath.h"
#include "noise/tables.h"

namespace {

// The form input 4 of a colour member takes in this batch.
enum class WForm
{
  scalar,  // one w per sample
  packed,  // red, green and blue blocks
  row,     // the shader's pixel row (bytes 0..255)
};

// One sample of a colour member: the colour in, whether x has a value, and
// w as three channels (the scalar repeated, the packed channels, or the
// pixel's bytes).
struct ColourSample
{
  double in[3];
  bool noValue;
  double scalarW;
  double w[3];
};

template <class F>
void eachColourSample(gfunc* g, bool packedAllowed, F f)
{
  const F43batch b = f43_readBatch(g);
  const KVpackedInput w4 = KV_packedInput(g, 3);
  const auto* row = static_cast<const normalcolor*>(g->link);
  const WForm form = row != nullptr                 ? WForm::row
                     : (w4.packed && packedAllowed) ? WForm::packed
                                                    : WForm::scalar;
  for (int i = 0; i < b.n; ++i) {
    ColourSample s{{b.x(i), b.y(i), b.z(i)}, f43_missing(b.x(i)), b.w(i), {}};
    for (int k = 0; k < 3; ++k)
      s.w[k] = form == WForm::packed ? w4.at(k, i) : s.scalarW;
    if (form == WForm::row) {
      s.w[0] = row[i].red;
      s.w[1] = row[i].green;
      s.w[2] = row[i].blue;
    }
    f43_write(g, i, f(s, form));
  }
}

F43color mix(const gfunc* g, const ColourSample& s, WForm form)
{
  const double bw = form == WForm::row ? g->B / 32 : g->B;
  F43color r;
  for (int k = 0; k < 3; ++k) {
    const double add = bw * (form == WForm::row ? s.w[k] : (s.noValue ? s.w[0] : s.w[k]));
    r.c[k] = s.noValue ? add : g->A * s.in[k] + add;
  }
  return r;
}

F43color multiply(const gfunc* g, const ColourSample& s, WForm form)
{
  const double a = g->A;
  const double b = g->B;
  F43color r;
  for (int k = 0; k < 3; ++k) {
    double m = 0;
    switch (form) {
      case WForm::scalar:
        if (s.noValue)
          return {{s.scalarW, s.scalarW, s.scalarW}};
        m = (s.scalarW + 4 * b) * a / 4 + (1 - a);
        break;
      case WForm::packed:
        // The weight map is applied twice, as stored trees were made with.
        if (s.noValue)
          return {{s.w[0], s.w[0], s.w[0]}};
        m = ((4 * b + s.w[k]) * a / 4 + (1 - a) + 4 * b) * a / 4 + (1 - a);
        break;
      case WForm::row:
        if (s.noValue)
          return {{s.w[0], s.w[1], s.w[2]}};
        m = (s.w[k] + 127 * b) * a / 255 + (1 - a);
        break;
    }
    r.c[k] = s.in[k] * m;
  }
  return r;
}

F43color alpha(const gfunc* g, const ColourSample& s, WForm form)
{
  const double t = 8 * g->A;
  const double f = std::max(1.0, 8 * g->B);
  double level = s.scalarW;
  double target[3] = {s.scalarW, s.scalarW, s.scalarW};
  if (form == WForm::row) {
    if (s.noValue)
      level = t + f;
    for (int k = 0; k < 3; ++k)
      target[k] = s.w[k] / 32;
  }
  if (level >= t + f)
    return {{target[0], target[1], target[2]}};
  if (!(level > t))
    return {{s.in[0], s.in[1], s.in[2]}};
  const double a = (level - t) / f;
  F43color r;
  for (int k = 0; k < 3; ++k)
    r.c[k] = s.in[k] + (target[k] - s.in[k]) * a;
  return r;
}

F43color interpolate(const gfunc* g, const ColourSample& s, WForm form)
{
  const double a = g->A;
  const double q = 1 - a;
  F43color r;
  for (int k = 0; k < 3; ++k) {
    switch (form) {
      case WForm::scalar:
        r.c[k] = q * s.in[k] + s.scalarW;
        break;
      case WForm::packed:
        r.c[k] = q * s.in[k] + a * s.w[k];
        break;
      case WForm::row:
        r.c[k] = (s.noValue ? 0.0 : q * s.in[k]) + a / 32 * s.w[k];
        break;
    }
  }
  return r;
}

// The point members' frame: the marker when x has no value, the point as it
// is when w has none, otherwise f(point, w).
template <class F>
void eachPointSample(gfunc* g, F f)
{
  const F43batch b = f43_readBatch(g);
  for (int i = 0; i < b.n; ++i) {
    const F43color p{{b.x(i), b.y(i), b.z(i)}};
    if (f43_missing(b.x(i)))
      f43_write(g, i, kF43noValue);
    else if (f43_missing(b.w(i)))
      f43_write(g, i, p);
    else
      f43_write(g, i, f(p, b.w(i)));
  }
}

// Packed depth sort on scalar links: the nearest depth of the connected
// inputs on output 2, that plus A on output 3; output 1 keeps its value.
void depthSortScalars(gfunc* g, const F43batch& b)
{
  for (int i = 0; i < b.n; ++i) {
    double d = std::min(b.x(i), b.y(i));
    for (int k = 2; k < 4; ++k)
      if (g->inlets[k].data != nullptr)
        d = std::min(d, b.in[size_t(k)][size_t(i)]);
    g->outputs[1][i] = d;
    g->outputs[2][i] = d + g->A;
  }
}

void depthSortPacked(gfunc* g, int n)
{
  KVpackedInput in[4];
  for (int k = 0; k < 4; ++k)
    in[k] = KV_packedInput(g, k);
  F43color out[kBatchCapacity];
  for (int i = 0; i < n; ++i) {
    int choice = in[0].at(2, i) > in[1].at(2, i) ? 1 : 0;
    for (int k = 2; k < 4; ++k)
      if (g->inlets[k].data != nullptr && in[k].packed && in[choice].at(2, i) > in[k].at(2, i))
        choice = k;
    for (int c = 0; c < 3; ++c)
      out[i].c[c] = in[choice].at(c, i);
    if (out[i].c[2] < gINFINITY)
      out[i].c[2] += g->A;
  }
  for (int i = 0; i < n; ++i)
    f43_write(g, i, out[i]);
}

// Hue reduced into [0, 360) as stored trees expect: a negative sum s maps to
// 360 - (trunc(s / -360) * -360 - s), which gives 360 for a whole negative
// turn (the HSL conversion reduces that to 0).
double reducedHue(double s)
{
  if (s < 0)
    return 360 - (std::trunc(s / -360) * -360 - s);
  return std::fmod(s, 360.0);
}

}  // namespace

void f43_RGBmix(gfunc* g)
{
  eachColourSample(g, true, [g](const ColourSample& s, WForm f) { return mix(g, s, f); });
}

void f43_RGBmul(gfunc* g)
{
  eachColourSample(g, true, [g](const ColourSample& s, WForm f) { return multiply(g, s, f); });
}

void f43_rgbalpha(gfunc* g)
{
  eachColourSample(g, false, [g](const ColourSample& s, WForm f) { return alpha(g, s, f); });
}

void f43_RGBlerp(gfunc* g)
{
  eachColourSample(g, true, [g](const ColourSample& s, WForm f) { return interpolate(g, s, f); });
}

void f43_zcompare(gfunc* g)
{
  const F43batch b = f43_readBatch(g);
  if (g->inlets[0].channels < 2 || g->inlets[1].channels < 2 || !KV_packedInput(g, 0).packed ||
      !KV_packedInput(g, 1).packed)
    depthSortScalars(g, b);
  else
    depthSortPacked(g, b.n);
}

void f43_wadd(gfunc* g)
{
  const double a = g->A, bb = g->B, c = g->C;
  eachPointSample(g, [=](const F43color& p, double w) {
    return F43color{{p.c[0] + a * w, p.c[1] + bb * w, p.c[2] + c * w}};
  });
}

void f43_wscale(gfunc* g)
{
  const double a = g->A, floor = g->B;
  eachPointSample(g, [=](const F43color& p, double w) {
    const double s = std::max(floor, w);
    F43color r;
    for (int k = 0; k < 3; ++k)
      r.c[k] = p.c[k] + (s * p.c[k] - p.c[k]) * a;
    return r;
  });
}

void f43_wrotate(gfunc* g)
{
  const F43batch b = f43_readBatch(g);
  constexpr double kQuarter = std::numbers::pi / 2;
  for (int i = 0; i < b.n; ++i) {
    if (f43_missing(b.x(i))) {
      f43_write(g, i, kF43noValue);
      continue;
    }
    const double w = b.w(i);
    const double a = g->A * w, bb = g->B * w, c = g->C * w;
    const double sa = TableSin(a), ca = TableSin(a + kQuarter);
    const double sb = TableSin(bb), cb = TableSin(bb + kQuarter);
    const double sc = TableSin(c), cc = TableSin(c + kQuarter);
    const double x = b.x(i), y = b.y(i), z = b.z(i);
    const double x1 = x * cb - z * sb;
    const double z1 = x * sb + z * cb;
    const double out1 = x1 * ca - y * sa;
    const double y1 = y * ca + x1 * sa;
    f43_write(g, i, {{out1, y1 * cc - z1 * sc, y1 * sc + z1 * cc}});
  }
}

void f43_wcolorfade(gfunc* g)
{
  const F43batch b = f43_readBatch(g);
  const F43constants& k = f43_k(g);
  const double amount = g->B;
  for (int i = 0; i < b.n; ++i) {
    const double c = f43_clamp((1 - g->A) * b.w(i), 0, 1);
    const double f = amount >= 0 ? 1 - amount * (1 - c) : 1 + amount * c;
    const double in[3] = {b.x(i), b.y(i), b.z(i)};
    F43color r;
    for (int ch = 0; ch < 3; ++ch)
      r.c[ch] = k.K[ch] + (in[ch] - k.K[ch]) * f;
    f43_write(g, i, r);
  }
}

void f43_wcolorshift(gfunc* g)
{
  const F43batch b = f43_readBatch(g);
  const F43constants& k = f43_k(g);
  for (int i = 0; i < b.n; ++i) {
    const double w = b.w(i);
    double hsl[3];
    doubleRGBtoHSL(32 * b.x(i), 32 * b.y(i), 32 * b.z(i), hsl);
    const double h = reducedHue(k.K[0] * w + 360 + hsl[0]);
    const double s = f43_clamp(k.K[1] * w + hsl[1], 0, 255);
    const double l = f43_clamp(hsl[2] + (w * hsl[2] - hsl[2]) * g->B, 0, 255);
    double rgb[3];
    doubleHSLtoRGB(h, s, l, rgb);
    f43_write(g, i, {{rgb[0] / 32, rgb[1] / 32, rgb[2] / 32}});
  }
}

void f43_clearPixelRow(gfunc* g)
{
  g->link = nullptr;
}

void f43_wcolorfade_precompute(gfunc* g)
{
  const F43color f = f43_fadeColour(g);
  F43constants& k = f43_k(g);
  for (int c = 0; c < 3; ++c)
    k.K[c] = f.c[c];
}

void f43_wcolorshift_precompute(gfunc* g)
{
  F43constants& k = f43_k(g);
  k.K[0] = 60 * g->A;
  k.K[1] = 32 * g->C;
}

int16_t f43_RGBmix_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_RGBmix, g, msg, a, b, c);
}

int16_t f43_RGBmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_RGBmul, g, msg, a, b, c);
}

int16_t f43_rgbalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_rgbalpha, g, msg, a, b, c);
}

int16_t f43_RGBlerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_RGBlerp, g, msg, a, b, c);
}

int16_t f43_zcompare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_zcompare, g, msg, a, b, c);
}

int16_t f43_wadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_wadd, g, msg, a, b, c);
}

int16_t f43_wscale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_wscale, g, msg, a, b, c);
}

int16_t f43_wrotate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_wrotate, g, msg, a, b, c);
}

int16_t f43_wcolorfade_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_wcolorfade, g, msg, a, b, c);
}

int16_t f43_wcolorshift_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_wcolorshift, g, msg, a, b, c);
}
