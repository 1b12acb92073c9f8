#include "components/f33/f33_colorops.h"

#include <algorithm>
#include <cmath>

#include "components/common/packed.h"
#include "components/f33/f33_pvt.h"
#include "foundation/colormath.h"
#include "noise/techno.h"

using f33detail::kPi;

namespace {

// v held to [lo, hi]; NaN gives lo, so that no NaN reaches the byte-scale
// colour conversions.
double clampTo(double v, double lo, double hi)
{
  return v >= lo ? (v <= hi ? v : hi) : lo;
}

double clampByte(double v)
{
  return clampTo(v, 0.0, 255.0);
}

// 8 (c / 8)^e for a positive channel, 0 otherwise.
double gammaOf(double c, double e)
{
  return c > 0 ? 8 * std::exp(e * std::log(c / 8)) : 0.0;
}

// 8 e^p, the channel of a grey whose exponent product p is given; products
// below -9 give 0.
double greyGamma(double p)
{
  return p < -9 ? 0.0 : 8 * std::exp(p);
}

// Hue in degrees brought into [0, 360] as the conversion expects it: a
// negative whole multiple of 360 gives 360.
double wrapHue(double h)
{
  if (h >= 0)
    return h - 360 * std::trunc(h / 360);
  return 360 + h + 360 * std::trunc(-h / 360);
}

// The contrast of a lightness or saturation around the middle level 127.
double contrastAroundMiddle(double v, double contrast)
{
  return clampByte((kF33byteScale * v - 127) * contrast + 127);
}

double smoothstepOf(double u)
{
  return (3 - 2 * u) * u * u;
}

F33triple rgbOf(const normalcolor& c)
{
  return {double(c.red), double(c.green), double(c.blue)};
}

F33triple lerp(const F33triple& a, const F33triple& b, double w)
{
  return {a.a + (b.a - a.a) * w, a.b + (b.b - a.b) * w, a.c + (b.c - a.c) * w};
}

// One contrast step of a channel: with A = 1 the sign of c + o picks -8, 0
// or 8; otherwise the channel is stretched by g and held to [-8, 8].
double contrastOf(double c, double o, double a, double gain)
{
  const double v = c + o;
  if (a == 1)
    return (v < 0 ? -8.0 : (v == 0 ? 0.0 : 8.0)) - o;
  return clampTo(8 * (v * gain), -8.0, 8.0) - o;
}

// The level below A (c + B), as a multiple of 1/A, blended in by C. A whole
// negative product steps one further down.
double quantizeOf(double c, double a, double b, double amount)
{
  const double v = a * (c + b);
  const double level = v >= 0 ? std::trunc(v) : std::trunc(v - 1);
  return c + (level / a - c) * amount;
}

}  // namespace

bool f33_singleGreySource(const gfunc* g)
{
  const gfunc* s = g->sources[0];
  if (s == nullptr || s != g->sources[1] || s != g->sources[2])
    return false;
  return s->family == kFamily11 || s->family == kFamily21 || s->family == kFamily31 ||
         s->family == kFamily41;
}

// ---- Message 8 ------------------------------------------------------------------

void f33_HLStransform_precompute(gfunc* g)
{
  f33_k(g).K[0] = 32 * g->A;
}

void f33_RGBtransform_precompute(gfunc* g)
{
  f33_k(g).K[0] = 45 * g->A;
}

void f33_colorize_precompute(gfunc* g)
{
  constexpr double kBalance = 0.875;
  constexpr double kRoot3 = 1.7320508075688772;
  double w[3] = {1, 1, 1};
  const double red = g->B, blue = g->C;
  if (red >= 0)
    w[1] = w[2] = 1 - kBalance * red;
  else if (red < 0)
    w[0] = 1 + kBalance * red;
  if (blue < 0) {
    w[2] *= 1 + kBalance * blue;
  } else if (blue >= 0) {
    w[0] *= 1 - kBalance * blue;
    w[1] *= 1 - kBalance * blue;
  }
  // Balances beyond the map's range can cancel every channel: the weights
  // then stay 0 rather than becoming 0/0.
  const double length = std::sqrt(w[0] * w[0] + w[1] * w[1] + w[2] * w[2]);
  const double scale = length > 0 ? kRoot3 / length : 0.0;
  double* K = f33_k(g).K;
  for (int i = 0; i < 3; ++i)
    K[i] = w[i] * scale;
}

void f33_RGBdither_precompute(gfunc* g)
{
  f33_k(g).K[0] = 1.0 / 32;
}

void f33_MAXtogradient_precompute(gfunc* g)
{
  constexpr double kPositions[6] = {0.0, 0.2, 0.4, 0.6, 0.8, 1.0};
  const cpalette& keys = g->doc->tables.gradientKeys;
  const int32_t n = std::clamp<int32_t>(keys.count, 0, int32_t(std::size(keys.colors)));
  F33gradientColours& out = privateArea<F33gradientColours>(g);
  for (int k = 0; k < 6; ++k)
    out.c[k] = colorgradient(keys.colors, n, kPositions[k]);
}

// ---- Compute functions ----------------------------------------------------------

void f33_gamma(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  if (f33_singleGreySource(g)) {
    f33_eachSample(g, [=](double x, double, double) {
      if (!(x > 0))
        return F33triple{0, 0, 0};
      const double L = std::log(x / 8);
      return F33triple{greyGamma(a * L), greyGamma(b * L), greyGamma(c * L)};
    });
    return;
  }
  f33_eachSample(g, [=](double x, double y, double z) {
    return F33triple{gammaOf(x, a), gammaOf(y, b), gammaOf(z, c)};
  });
}

void f33_gaussian(gfunc* g)
{
  constexpr double kWidth = 0.3333;  // as stored, not 1/3
  const double a = g->A, b = g->B, c = g->C;
  f33_eachSample(g, [=](double x, double y, double z) {
    return F33triple{8 * std::exp(-(x + a) * (x + a) * kWidth),
                     8 * std::exp(-(y + b) * (y + b) * kWidth),
                     8 * std::exp(-(z + c) * (z + c) * kWidth)};
  });
}

void f33_RGBContrast(gfunc* g)
{
  const double a = g->A, o = g->B - 4;
  const double gain = 1 / (8 * (1 - a));
  f33_eachSample(g, [=](double x, double y, double z) {
    return F33triple{contrastOf(x, o, a, gain), contrastOf(y, o, a, gain),
                     contrastOf(z, o, a, gain)};
  });
}

void f33_quantize(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  // A frequency of 0 (possible only from a file) has no levels: the colour
  // passes unchanged instead of becoming 0/0.
  if (a == 0) {
    f33_eachSample(g, [](double x, double y, double z) { return F33triple{x, y, z}; });
    return;
  }
  f33_eachSample(g, [=](double x, double y, double z) {
    return F33triple{quantizeOf(x, a, b, c), quantizeOf(y, a, b, c), quantizeOf(z, a, b, c)};
  });
}

void f33_HLStransform(gfunc* g)
{
  constexpr double kHueToScale = 0.71111111111;  // 256 / 360, as stored
  const double k0 = f33_k(g).K[0];
  f33_eachSample(g, [=](double x, double y, double z) {
    double hsl[3];
    doubleRGBtoHSL(clampByte(k0 * x), clampByte(k0 * y), clampByte(k0 * z), hsl);
    return F33triple{hsl[0] * kHueToScale / kF33byteScale, f33_fromByteScale(hsl[2]),
                     f33_fromByteScale(hsl[1])};
  });
}

void f33_RGBtransform(gfunc* g)
{
  const double k0 = f33_k(g).K[0], b = g->B, c = g->C;
  f33_eachSample(g, [=](double x, double y, double z) {
    double rgb[3];
    doubleHSLtoRGB(wrapHue(k0 * x), contrastAroundMiddle(z, c), contrastAroundMiddle(y, b), rgb);
    return f33_fromByteScale(F33triple{rgb[0], rgb[1], rgb[2]});
  });
}

void f33_colorize(gfunc* g)
{
  constexpr double kGreyWeight = 0.2222222222222222;  // 1 / 4.5
  const double* K = f33_k(g).K;
  const double k0 = K[0], k1 = K[1], k2 = K[2], a = g->A;
  f33_eachSample(g, [=](double x, double y, double z) {
    const double l = (1.5 * x + 2 * y + z) * kGreyWeight;
    return F33triple{x + (k0 * l - x) * a, y + (k1 * l - y) * a, z + (k2 * l - z) * a};
  });
}

void f33_RGBdither(gfunc* g)
{
  const KVtables* t = f33_tables(g);
  const double k0 = f33_k(g).K[0], amount = g->A;
  // The phases advance by 2 pi per pixel along the master positions.
  const double perUnit = 2 * kPi * g->doc->yPixelScale;
  const double* mx = g->doc->master[0];
  const double* my = g->doc->master[1];
  f33_eachSampleAt(g, [=](double x, double y, double z, int i) {
    double rgb[3] = {f33_toByteScale(x), f33_toByteScale(y), f33_toByteScale(z)};
    const double phases[2] = {perUnit * mx[i], perUnit * my[i]};
    RGBdither(t, rgb, phases, amount);
    return F33triple{rgb[0] * k0, rgb[1] * k0, rgb[2] * k0};
  });
}

void f33_MAXtogradient(gfunc* g)
{
  const normalcolor* c = privateArea<F33gradientColours>(g).c;
  const F33triple c0 = rgbOf(c[0]), c1 = rgbOf(c[1]), c2 = rgbOf(c[2]), c3 = rgbOf(c[3]),
                  c4 = rgbOf(c[4]), c5 = rgbOf(c[5]);
  const double a = g->A, b = g->B, cz = g->C;
  f33_eachSample(g, [=](double x, double y, double z) {
    F33triple colour = lerp(c0, c1, clampTo(a * x, 0.0, 1.0));
    double m = x - 0.125;
    // y above the running level pulls the colour toward the second pair,
    // smoothly while it is within a quarter unit.
    if (y > m) {
      const double d = y - m;
      const F33triple target = lerp(c2, c3, std::min(1.0, b * d));
      if (4 * d >= 1) {
        colour = target;
        m = y;
      } else {
        const double s = smoothstepOf(4 * d);
        colour = lerp(colour, target, s);
        m += s * d;
      }
    }
    if (z > m) {
      const double e = z - m;
      const F33triple target = lerp(c4, c5, std::min(1.0, cz * e));
      colour = 4 * e >= 1 ? target : lerp(colour, target, smoothstepOf(4 * e));
    }
    return f33_fromByteScale(colour);
  });
}

void f33_saturation(gfunc* g)
{
  const double a = g->A, b = g->B;
  if (f33_singleGreySource(g)) {
    f33_eachSample(g, [=](double x, double, double) {
      const double v = clampTo(x * b, 0.0, 8.0);
      return F33triple{v, v, v};
    });
    return;
  }
  f33_eachSample(g, [=](double x, double y, double z) {
    const double l = (6 * x + 7 * y + 3 * z) / 16;
    auto channel = [=](double c) { return clampTo(((c - l) * a + l) * b, 0.0, 8.0); };
    return F33triple{channel(x), channel(y), channel(z)};
  });
}

// Nearest of two or three packed colours, the third block of each holding
// its depth. Scalar links compare as plain depths: output 2 is the smallest,
// output 3 that depth plus A, and output 1 is 0.
void f33_zcompare(gfunc* g)
{
  const int n = KV_batchLength();
  const double a = g->A;
  const KVpackedInput in1 = KV_packedInput(g, 0), in2 = KV_packedInput(g, 1),
                      in3 = KV_packedInput(g, 2);
  if (!in1.packed || !in2.packed) {
    const bool third = g->inlets[2].data != nullptr;
    for (int i = 0; i < n; ++i) {
      double m = std::min(in1.at(0, i), in2.at(0, i));
      if (third)
        m = std::min(m, in3.at(0, i));
      f33_store(g, i, F33triple{0, m, m + a});
    }
    return;
  }
  for (int i = 0; i < n; ++i) {
    const KVpackedInput* take = in1.at(2, i) > in2.at(2, i) ? &in2 : &in1;
    if (in3.packed && take->at(2, i) > in3.at(2, i))
      take = &in3;
    const double d = take->at(2, i);
    f33_store(g, i, F33triple{take->at(0, i), take->at(1, i), d < gINFINITY ? d + a : d});
  }
}

// ---- Handlers -------------------------------------------------------------------

int16_t f33_gamma_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_gamma, g, msg, a, b, c);
}

int16_t f33_HLStransform_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_HLStransform, g, msg, a, b, c);
}

int16_t f33_RGBtransform_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_RGBtransform, g, msg, a, b, c);
}

int16_t f33_zcompare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_zcompare, g, msg, a, b, c);
}

int16_t f33_colorize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_colorize, g, msg, a, b, c);
}

int16_t f33_gaussian_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_gaussian, g, msg, a, b, c);
}

int16_t f33_RGBContrast_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_RGBContrast, g, msg, a, b, c);
}

int16_t f33_quantize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_quantize, g, msg, a, b, c);
}

int16_t f33_RGBdither_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_RGBdither, g, msg, a, b, c);
}

int16_t f33_MAXtogradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_MAXtogradient, g, msg, a, b, c);
}

int16_t f33_saturation_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_saturation, g, msg, a, b, c);
}
