#include "foundation/colormath.h"

#include <algorithm>
#include <cmath>

#include "foundation/checked.h"

namespace {

constexpr normalcolor kOpaqueBlack{255, 0, 0, 0};
constexpr normalcolor kOpaqueWhite{255, 255, 255, 255};

// x + trunc((y - x) * t), keeping the low 8 bits; NaN weights count as 0.
uint8_t lerp_byte(uint8_t x, uint8_t y, double t)
{
  return uint8_t(x + kvnum::sat_i32((int32_t(y) - int32_t(x)) * t));
}

// x + (y - x) * w / 256 with truncating division, keeping the low 8 bits.
uint8_t lerp_byte256(uint8_t x, uint8_t y, int32_t w)
{
  return uint8_t(x + (int32_t(y) - int32_t(x)) * w / 256);
}

void lerp_rgb(const normalcolor& a, const normalcolor& b, double t, normalcolor* out)
{
  out->red = lerp_byte(a.red, b.red, t);
  out->green = lerp_byte(a.green, b.green, t);
  out->blue = lerp_byte(a.blue, b.blue, t);
}

normalcolor lerp_all(const normalcolor& a, const normalcolor& b, double t)
{
  normalcolor out;
  out.flag = lerp_byte(a.flag, b.flag, t);
  lerp_rgb(a, b, t, &out);
  return out;
}

normalcolor opaque(normalcolor c)
{
  c.flag = 255;
  return c;
}

uint8_t clamp_byte(int32_t v)
{
  return uint8_t(std::clamp(v, 0, 255));
}

}  // namespace

// ---- Interpolation ----

normalcolor PColorLERP(const normalcolor* a, const normalcolor* b, double t)
{
  if (t > 1)
    return *b;
  if (t <= 0)
    return *a;
  return lerp_all(*a, *b, t);
}

normalcolor ColorLERP(const normalcolor* a, const normalcolor* b, double t)
{
  if (t > 1)
    return opaque(*b);
  if (t <= 0)
    return opaque(*a);
  normalcolor out = kOpaqueBlack;
  lerp_rgb(*a, *b, t, &out);
  return out;
}

normalcolor DColorLERP(normalcolor a, normalcolor b, double t)
{
  if (t > 1)
    return b;
  if (t < 0)
    return a;
  return lerp_all(a, b, t);
}

normalcolor normalcolorLERP(normalcolor a, normalcolor b, double t)
{
  if (t > 1)
    return b;
  if (t <= 0)
    return a;
  normalcolor out = kOpaqueBlack;
  lerp_rgb(a, b, t, &out);
  return out;
}

normalcolor PColorLERP256(const normalcolor* a, const normalcolor* b, int16_t w)
{
  if (w >= 256)
    return *b;
  if (w <= 0)
    return *a;
  normalcolor out;
  for (int i = 0; i < 4; ++i)
    out[i] = lerp_byte256((*a)[i], (*b)[i], w);
  return out;
}

normalcolor ColorLERP256(const normalcolor* a, const normalcolor* b, int16_t w)
{
  if (w >= 256)
    return *b;
  if (w <= 0)
    return *a;
  normalcolor out;
  out.flag = uint8_t(w);
  for (int i = 1; i < 4; ++i)
    out[i] = lerp_byte256((*a)[i], (*b)[i], w);
  return out;
}

// ---- Three-point ramps ----

namespace {

void ramp3(const normalcolor* a, const normalcolor* b, const normalcolor* c, normalcolor* out,
           double t, bool eased)
{
  if (t > 1) {
    *out = *c;
    return;
  }
  if (t < 0) {
    *out = *a;
    return;
  }
  double u = 2 * t;
  bool firstHalf = u <= 1;
  double w = firstHalf ? u : u - 1;
  if (eased)
    w = w * w * (3 - 2 * w);
  if (firstHalf)
    lerp_rgb(*a, *b, w, out);
  else
    lerp_rgb(*b, *c, w, out);
}

}  // namespace

void ColorInterpol(const normalcolor* a, const normalcolor* b, const normalcolor* c,
                   normalcolor* out, double t)
{
  ramp3(a, b, c, out, t, false);
}

void ColorSpline(const normalcolor* a, const normalcolor* b, const normalcolor* c, normalcolor* out,
                 double t)
{
  ramp3(a, b, c, out, t, true);
}

// ---- Gradient lookup ----

normalcolor colorgradient(const normalcolor* table, int32_t n, double t)
{
  if (!(t > 0) || n < 2)
    return opaque(table[0]);
  if (t >= 1)
    return opaque(table[n - 1]);
  double x = (n - 1) * t;
  int32_t i = int32_t(x);  // 0 <= x < n - 1
  normalcolor out = kOpaqueBlack;
  lerp_rgb(table[i], table[i + 1], x - i, &out);
  return out;
}

void fcolorgradient(const normalcolor* table, int32_t n, double t, double* red, double* green,
                    double* blue)
{
  auto write = [&](const normalcolor& c) {
    *red = c.red;
    *green = c.green;
    *blue = c.blue;
  };
  if (!(t > 0) || n < 2)
    return write(table[0]);
  if (t >= 1)
    return write(table[n - 1]);
  double x = (n - 1) * t;
  int32_t i = int32_t(x);
  double f = x - i;
  const normalcolor& e0 = table[i];
  const normalcolor& e1 = table[i + 1];
  *red = e0.red + (double(e1.red) - e0.red) * f;
  *green = e0.green + (double(e1.green) - e0.green) * f;
  *blue = e0.blue + (double(e1.blue) - e0.blue) * f;
}

namespace {

// The colour at 1-based table position p: position i + f blends entries i - 1
// and i by f.
normalcolor pgrad_at(const normalcolor* table, int32_t n, double p)
{
  if (n < 2)
    return kOpaqueBlack;
  int32_t i = kvnum::sat_i32(p);
  double f = p - i;
  if (i > n - 1)
    return table[n - 1];
  // Positions before the first entry (negative t, NaN) would index before
  // the table.
  if (i < 1 || std::isnan(f))
    return table[0];
  if (f > 1)
    return table[i];
  if (f > 0)
    return lerp_all(table[i - 1], table[i], f);
  return table[i - 1];
}

}  // namespace

normalcolor Linear_pgrad(int32_t, int32_t, const normalcolor* table, int32_t n, double t)
{
  return pgrad_at(table, n, (n - 1) * t + 1);
}

void Buildgradation_CMAP(normalcolor* out, const normalcolor* table, int32_t n, int32_t m,
                         bool premultiply)
{
  if (m < 0)
    return;
  float step = m > 0 ? float(n - 1) / float(m) : 0.0f;
  float position = 1.0f;
  for (int32_t k = 0; k <= m; ++k, position += step) {
    normalcolor c = pgrad_at(table, n, position);
    if (premultiply) {
      float alpha = float(c.flag) / 255.0f;
      for (int i = 1; i < 4; ++i)
        c[i] = uint8_t(float(c[i]) * alpha);
    }
    out[k] = c;
  }
}

// ---- Per-channel arithmetic ----

namespace {

template <typename Op>
void per_channel(const normalcolor* a, const normalcolor* b, normalcolor* out, Op op)
{
  for (int i = 1; i < 4; ++i)
    (*out)[i] = uint8_t(op(int32_t((*a)[i]), int32_t((*b)[i])));
}

void add_constant(const normalcolor* c, int16_t k, normalcolor* out)
{
  for (int i = 1; i < 4; ++i)
    (*out)[i] = clamp_byte((*c)[i] + k);
}

}  // namespace

void CScale(normalcolor* c, double f)
{
  for (int i = 1; i < 4; ++i)
    (*c)[i] = kvnum::sat_u8((*c)[i] * f);
}

void CconstAdd(const normalcolor* c, int16_t k, normalcolor* out)
{
  add_constant(c, k, out);
}
void CAddValue(const normalcolor* c, int16_t k, normalcolor* out)
{
  add_constant(c, k, out);
}
void CSub(const normalcolor* c, int16_t k, normalcolor* out)
{
  add_constant(c, k, out);
}

void CAdd(const normalcolor* a, const normalcolor* b, normalcolor* out)
{
  per_channel(a, b, out, [](int32_t x, int32_t y) { return std::min(x + y, 255); });
}

void CMax(const normalcolor* a, const normalcolor* b, normalcolor* out)
{
  per_channel(a, b, out, [](int32_t x, int32_t y) { return std::max(x, y); });
}

void Cmul(const normalcolor* a, const normalcolor* b, normalcolor* out)
{
  per_channel(a, b, out, [](int32_t x, int32_t y) { return x * y / 255; });
}

void Chilit(const normalcolor* a, const normalcolor* b, normalcolor* out)
{
  // Dark greys are not highlighted.
  constexpr int32_t kGreyLimit = 80;
  if (a->red == a->green && a->green == a->blue && a->red < kGreyLimit) {
    *out = *a;
    return;
  }
  per_channel(a, b, out, [](int32_t x, int32_t y) { return std::min((y * x) >> 7, 255); });
}

void BuildresponseMap(uint8_t map[256], double k)
{
  double a = 1 - k * 0.0078125;
  double b = a >= 0 ? a * 250 : a * 2048;
  for (int32_t i = 0; i < 256; ++i)
    map[i] = kvnum::sat_u8(i * (255 - b) / 255 + b);
}

// ---- Conversions in bytes ----

namespace {

// Hue in degrees of a colour whose largest channel M exceeds its smallest m,
// by the hexcone sextants; the later test wins on ties.
double hexcone_hue(double r, double g, double b, double M, double m)
{
  double range = M - m;
  double rc = (M - r) / range, gc = (M - g) / range, bc = (M - b) / range;
  double sextant = 0;
  if (r == M)
    sextant = bc - gc;
  if (g == M)
    sextant = 2 + rc - bc;
  if (b == M)
    sextant = 4 + gc - rc;
  return sextant * 60;
}

int32_t byte_hue(int32_t r, int32_t g, int32_t b, int32_t M, int32_t m)
{
  int32_t hue = int32_t(hexcone_hue(r, g, b, M, m));  // within -60..360
  return hue < 0 ? hue + 360 : hue;
}

void store_hue(normalcolor* out, int32_t hue)
{
  out->flag = uint8_t(hue & 0xFF);
  out->red = uint8_t(hue >> 8);
}

// Hue in degrees reduced into [0, 360); NaN and infinities give 0.
double reduce_hue(double hue)
{
  if (!std::isfinite(hue))
    return 0;
  double h = std::fmod(hue, 360.0);
  if (h < 0)
    h += 360;
  return h >= 360 ? 0 : h;
}

// The sextant 0..5 of a reduced hue and the fraction within it.
int32_t sextant_of(double hue, double* fraction)
{
  double h = hue / 60;
  int32_t i = std::min(int32_t(h), 5);
  *fraction = h - i;
  return i;
}

void set_rgb(normalcolor* out, double r, double g, double b)
{
  out->red = kvnum::sat_u8(r);
  out->green = kvnum::sat_u8(g);
  out->blue = kvnum::sat_u8(b);
}

// Channel values of the sextants, in the order of the sextant table: each
// sextant picks red, green and blue from (top, rising, bottom, falling).
struct SextantPick
{
  int red, green, blue;
};
constexpr int kTop = 0, kRising = 1, kBottom = 2, kFalling = 3;
constexpr SextantPick kSextants[6] = {
    {kTop, kRising, kBottom},  {kFalling, kTop, kBottom}, {kBottom, kTop, kRising},
    {kBottom, kFalling, kTop}, {kRising, kBottom, kTop},  {kTop, kBottom, kFalling},
};

void pick_sextant(int32_t sextant, const double values[4], double out[3])
{
  const SextantPick& pick = kSextants[sextant];
  out[0] = values[pick.red];
  out[1] = values[pick.green];
  out[2] = values[pick.blue];
}

}  // namespace

void myRGBtoHSL(uint8_t r, uint8_t g, uint8_t b, normalcolor* out)
{
  int32_t M = std::max({r, g, b}), m = std::min({r, g, b});
  int32_t hue = 0, saturation = 0;
  if (M != 0 && M > m) {
    int32_t sum = M + m;
    saturation = (M - m) * 255 / (sum <= 255 ? sum : 510 - sum);
    hue = byte_hue(r, g, b, M, m);
  }
  store_hue(out, hue);
  out->green = uint8_t((M + m) >> 1);
  out->blue = uint8_t(saturation);
}

void myRGBtoHSV(uint8_t r, uint8_t g, uint8_t b, normalcolor* out)
{
  int32_t M = std::max({r, g, b}), m = std::min({r, g, b});
  int32_t hue = 0, saturation = 0;
  if (M != 0 && M != m) {
    saturation = (M - m) * 255 / M;
    hue = byte_hue(r, g, b, M, m);
  }
  store_hue(out, hue);
  out->green = uint8_t(saturation);
  out->blue = uint8_t(M);
}

void myHSLtoRGB(double hue, int32_t saturation, int32_t lightness, normalcolor* out)
{
  double lf = lightness / 255.0;
  int32_t m2 = lf <= 0.5 ? kvnum::sat_i32(lf * (saturation + 255))
                         : kvnum::sat_i32((lightness + saturation) - lf * saturation);
  if (saturation == 0 || m2 == 0) {
    set_rgb(out, m2, m2, m2);
    return;
  }
  double fraction;
  int32_t sextant = sextant_of(reduce_hue(hue), &fraction);
  int32_t m1 = 2 * lightness - m2;
  double f = fraction * (m2 - m1);
  // top, rising, bottom, falling, each truncated as a byte
  double values[4] = {double(m2), double(kvnum::sat_i32(f + m1)), double(m1),
                      double(kvnum::sat_i32(m2 - f))};
  double rgb[3];
  pick_sextant(sextant, values, rgb);
  set_rgb(out, rgb[0], rgb[1], rgb[2]);
}

void myHSVtoRGB(double hue, int32_t saturation, int32_t value, normalcolor* out)
{
  if (saturation == 0 || value == 0) {
    set_rgb(out, value, value, value);
    return;
  }
  double f;
  int32_t sextant = sextant_of(reduce_hue(hue), &f);
  double k = value * saturation / 255.0;
  double values[4] = {double(value), double(kvnum::sat_i32(value - k * (1 - f))),
                      double(kvnum::sat_i32(value - k)), double(kvnum::sat_i32(value - f * k))};
  double rgb[3];
  pick_sextant(sextant, values, rgb);
  set_rgb(out, rgb[0], rgb[1], rgb[2]);
}

// ---- Conversions in doubles ----

void doubleRGBtoHSL(double r, double g, double b, double out[3])
{
  double M = std::max({r, g, b}), m = std::min({r, g, b});
  double lightness = (M + m) / 2;
  // A grey has no hue; its hexcone terms would divide zero by zero.
  if (M == 0 || M == m) {
    out[0] = 0;
    out[1] = 0;
    out[2] = lightness;
    return;
  }
  double sum = M + m;
  double hue = hexcone_hue(r, g, b, M, m);
  out[0] = hue < 0 ? hue + 360 : hue;
  out[1] = (M - m) * 255 / (sum <= 255 ? sum : 510 - sum);
  out[2] = lightness;
}

void doubleHSLtoRGB(double h, double s, double l, double out[3])
{
  double lf = l * 0.00392156862745098;
  double m2 = lf <= 0.5 ? lf * (s + 255) : l + s - lf * s;
  if (s <= 0 || m2 == 0) {
    out[0] = out[1] = out[2] = m2;
    return;
  }
  double hh = reduce_hue(h) * 0.016666666666666666;
  int32_t sextant = std::min(int32_t(hh), 5);
  double m1 = 2 * l - m2;
  double f = (hh - sextant) * (m2 - m1);
  double values[4] = {m2, f + m1, m1, m2 - f};
  pick_sextant(sextant, values, out);
}

normalcolor HueRotate180(uint8_t r, uint8_t g, uint8_t b)
{
  normalcolor hsv;
  myRGBtoHSV(r, g, b, &hsv);
  normalcolor out = kOpaqueBlack;
  myHSVtoRGB((normalcolorHue(hsv) + 180) % 360, hsv.green, hsv.blue, &out);
  return out;
}

// ---- Hue-cycle table ----

namespace {

// A key of the hue cycle: lightness fall-off d, saturation S, lightness L in
// bytes 1..3.
constexpr normalcolor hue_key(uint8_t d, uint8_t s, uint8_t l)
{
  return normalcolor{0, d, s, l};
}

}  // namespace

void GetParam1DColorTable(normalcolor* out, double t, int32_t n)
{
  if (n < 1)
    return;
  const bool few = n < 3;
  const normalcolor keys[7] = {few ? hue_key(32, 128, 0) : hue_key(32, 128, 32),
                               hue_key(0, 255, 64),
                               hue_key(0, 255, 128),
                               hue_key(0, 255, 128),
                               hue_key(0, 128, 128),
                               few ? hue_key(64, 0, 128) : hue_key(64, 0, 160),
                               hue_key(128, 0, 255)};
  const normalcolor dsl = colorgradient(keys, 7, t);
  const int32_t falloff = dsl.red, saturation = dsl.green, lightness = dsl.blue;
  // Six turns over 0..1, kept as a 16-bit value (wrapping beyond it).
  const int16_t startHue = int16_t(kvnum::sat_i32(t * 2160 + 360));
  for (int32_t i = 0; i < n; ++i) {
    int32_t hue = kvnum::sat_i32(double(i) * 360 / n + startHue) % 360;
    int32_t l = lightness;
    // A lightness below 0 has no colour: it is held at black.
    if (n > 1)
      l = std::max(0, int32_t(lightness - double(falloff) * i / (n - 1)));
    myHSLtoRGB(hue, saturation, l, &out[i]);
  }
}

// ---- 16-bit colour picker conversions ----

namespace {

constexpr double kFull16 = 65535.0;

uint16_t to16(double unit)
{
  return kvnum::sat_u16(unit * kFull16 + 0.5);
}

// Hue as a fraction of a turn, wrapped into 16 bits.
uint16_t hue_to16(double turn)
{
  return uint16_t(kvnum::sat_i32(turn * 65536.0 + 0.5) & 0xFFFF);
}

struct Unit3
{
  double r, g, b;
};

Unit3 unit_rgb(const RGBColor* c)
{
  return {c->red / kFull16, c->green / kFull16, c->blue / kFull16};
}

void store_unit_rgb(double r, double g, double b, RGBColor* out)
{
  out->red = to16(r);
  out->green = to16(g);
  out->blue = to16(b);
}

// The fraction of a turn of a colour with max > min.
double hue_turn(const Unit3& c, double max, double min)
{
  double degrees = hexcone_hue(c.r, c.g, c.b, max, min);
  return (degrees < 0 ? degrees + 360 : degrees) / 360.0;
}

// RGB from a hue (fraction of a turn) and the top and bottom channel values.
void rgb_from_hue(double turn, double top, double bottom, RGBColor* out)
{
  double f;
  int32_t sextant = sextant_of(reduce_hue(turn * 360.0), &f);
  double span = top - bottom;
  double values[4] = {top, bottom + span * f, bottom, top - span * f};
  double rgb[3];
  pick_sextant(sextant, values, rgb);
  store_unit_rgb(rgb[0], rgb[1], rgb[2], out);
}

}  // namespace

void RGB2HSL(const RGBColor* rgb, HSLColor* hsl)
{
  Unit3 c = unit_rgb(rgb);
  double max = std::max({c.r, c.g, c.b}), min = std::min({c.r, c.g, c.b});
  double l = (max + min) / 2;
  *hsl = HSLColor{0, 0, to16(l)};
  if (max == min)
    return;
  double d = max - min;
  hsl->saturation = to16(l <= 0.5 ? d / (max + min) : d / (2 - max - min));
  hsl->hue = hue_to16(hue_turn(c, max, min));
}

void HSL2RGB(const HSLColor* hsl, RGBColor* rgb)
{
  double s = hsl->saturation / kFull16, l = hsl->lightness / kFull16;
  double top = l <= 0.5 ? l * (1 + s) : l + s - l * s;
  rgb_from_hue(hsl->hue / 65536.0, top, 2 * l - top, rgb);
}

void RGB2HSV(const RGBColor* rgb, HSVColor* hsv)
{
  Unit3 c = unit_rgb(rgb);
  double max = std::max({c.r, c.g, c.b}), min = std::min({c.r, c.g, c.b});
  *hsv = HSVColor{0, 0, to16(max)};
  if (max == min)
    return;
  hsv->saturation = to16((max - min) / max);
  hsv->hue = hue_to16(hue_turn(c, max, min));
}

void HSV2RGB(const HSVColor* hsv, RGBColor* rgb)
{
  double s = hsv->saturation / kFull16, v = hsv->value / kFull16;
  rgb_from_hue(hsv->hue / 65536.0, v, v * (1 - s), rgb);
}

// ---- In-place byte forms ----

void RGB2HLS_Ncolor(normalcolor* c)
{
  RGBColor rgb{uint16_t(c->red * 257), uint16_t(c->green * 257), uint16_t(c->blue * 257)};
  HSLColor hsl;
  RGB2HSL(&rgb, &hsl);
  c->red = uint8_t(hsl.hue >> 8);
  c->green = uint8_t(hsl.lightness >> 8);
  c->blue = uint8_t(hsl.saturation >> 8);
}

void HLS2RGB_Ncolor(normalcolor* c)
{
  DefineHLS_Ncolor(c, c->red, c->green, c->blue);
}

void RGB2HSV_Ncolor(normalcolor* c)
{
  RGBColor rgb{uint16_t(c->red * 257), uint16_t(c->green * 257), uint16_t(c->blue * 257)};
  HSVColor hsv;
  RGB2HSV(&rgb, &hsv);
  c->red = uint8_t(hsv.hue / 257);
  c->green = uint8_t(hsv.saturation / 257);
  c->blue = uint8_t(hsv.value / 257);
}

void HSV2RGB_NColor(normalcolor* c)
{
  HSVColor hsv{uint16_t(c->red * 257), uint16_t(c->green * 257), uint16_t(c->blue * 257)};
  RGBColor rgb;
  HSV2RGB(&hsv, &rgb);
  c->red = uint8_t(rgb.red / 257);
  c->green = uint8_t(rgb.green / 257);
  c->blue = uint8_t(rgb.blue / 257);
}

void RGB2CMY_Ncolor(normalcolor* c)
{
  DefineCMY_Ncolor(c, c->red, c->green, c->blue);
}

void DefineHSV_Ncolor(normalcolor* c, uint8_t hue, uint8_t value, uint8_t saturation)
{
  HSVColor hsv{uint16_t(hue * 257), uint16_t(saturation * 257), uint16_t(value * 257)};
  RGBColor rgb;
  HSV2RGB(&hsv, &rgb);
  DefineRGB_Ncolor(c, uint8_t(rgb.red >> 8), uint8_t(rgb.green >> 8), uint8_t(rgb.blue >> 8));
}

void DefineHLS_Ncolor(normalcolor* c, uint8_t hue, uint8_t lightness, uint8_t saturation)
{
  HSLColor hsl{uint16_t(hue * 257), uint16_t(saturation * 257), uint16_t(lightness * 257)};
  RGBColor rgb;
  HSL2RGB(&hsl, &rgb);
  DefineRGB_Ncolor(c, uint8_t(rgb.red >> 8), uint8_t(rgb.green >> 8), uint8_t(rgb.blue >> 8));
}

void DefineRGB_Ncolor(normalcolor* c, uint8_t red, uint8_t green, uint8_t blue)
{
  c->red = red;
  c->green = green;
  c->blue = blue;
}

void DefineCMY_Ncolor(normalcolor* c, uint8_t cyan, uint8_t magenta, uint8_t yellow)
{
  DefineRGB_Ncolor(c, uint8_t(255 - cyan), uint8_t(255 - magenta), uint8_t(255 - yellow));
}

// ---- Drawing colours ----

namespace {

RGBColor rgb16(const normalcolor& c)
{
  return RGBColor{uint16_t(c.red * 257), uint16_t(c.green * 257), uint16_t(c.blue * 257)};
}

}  // namespace

void SetForNcolor(const normalcolor* c)
{
  RGBColor rgb = rgb16(*c);
  RGBForeColor(&rgb);
}

void SetBackNcolor(const normalcolor* c)
{
  RGBColor rgb = rgb16(*c);
  RGBBackColor(&rgb);
}

void SetBlackColor()
{
  SetForNcolor(&kOpaqueBlack);
}

void SetDefautColors()
{
  SetBackNcolor(&kOpaqueWhite);
  SetBlackColor();
}

normalcolor FindXYNColor(const PixMapView* map, const unsigned char* baseAddr, int32_t x, int32_t y)
{
  int32_t width = map->bounds.right - map->bounds.left;
  int32_t height = map->bounds.bottom - map->bounds.top;
  if (x < 0 || y < 0 || x >= width || y >= height)
    return kOpaqueWhite;
  if (map->pixelSize == 32) {
    const unsigned char* p = baseAddr + size_t(y) * (map->rowBytes & 0x7FFF) + size_t(x) * 4;
    return normalcolor{255, p[1], p[2], p[3]};
  }
  RGBColor rgb;
  GetCPixel(x + map->bounds.left, y + map->bounds.top, &rgb);
  return normalcolor{255, uint8_t(rgb.red >> 8), uint8_t(rgb.green >> 8), uint8_t(rgb.blue >> 8)};
}
