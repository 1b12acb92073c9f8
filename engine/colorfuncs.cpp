#include "engine/colorfuncs.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/gfunc.h"
#include "engine/palettes.h"
#include "engine/world.h"
#include "foundation/checked.h"
#include "foundation/colormath.h"
#include "noise/tables.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Red, green and blue while light is added, before they are brought back to bytes.
struct Rgb
{
  int32_t r, g, b;
};

Rgb channels(const normalcolor& c)
{
  return {c.red, c.green, c.blue};
}

uint8_t toByte(int32_t v)
{
  return uint8_t(std::clamp(v, 0, 255));
}
uint8_t toByte(double v)
{
  return kvnum::sat_u8(v);
}

normalcolor opaque(const Rgb& c)
{
  return normalcolor{255, toByte(c.r), toByte(c.g), toByte(c.b)};
}

// ---- The maps from a value to a gradient position ----

double logMap(double v)
{
  return 0.2490234375 * std::log(2 * (std::fabs(v) + 0.367879));
}
double linearMap(double v)
{
  return 0.125 * v + 0.1240234375;
}
double sineMap(double v)
{
  return (TableSin(v) + 1) * 0.49;
}
double linzMap(double v)
{
  return 0.125 * v;
}
double tableCos(double r)
{
  return -TableSin(r - kPi / 2);
}

// A wave over 0..2 with period 4, its upper half bent upwards.
double wave(double u)
{
  double m = std::fmod(u, 4.0);
  if (m < 0)
    m += 4;
  if (!(m >= 0))
    m = 0;  // NaN and infinities
  double f = (m <= 2) ? m : 4 - m;
  if (f > 1)
    f = (f - 1) * (f - 1) + 1;
  return f;
}

bool twoOutputs(const gfunc* g)
{
  return g && KV_familyOutputs(g->family) == 2;
}

const double* renderInput(const sfuncSystem* doc, int slot)
{
  return doc->renderInputs[slot];
}

// The document palette at t, opaque.
normalcolor paletteAt(const sfuncSystem* doc, double t)
{
  const cpalette& p = doc->tables.gradientKeys;
  return colorgradient(p.colors, std::clamp(p.count, 0, kPaletteSlots), t);
}

normalcolor average(const normalcolor& a, const normalcolor& b)
{
  return normalcolor{255, uint8_t((a.red + b.red) >> 1), uint8_t((a.green + b.green) >> 1),
                     uint8_t((a.blue + b.blue) >> 1)};
}

using ValueMap = double (*)(double);

// The palette colour of `first`, averaged with that of `second` when there is one.
normalcolor mapped(const sfuncSystem* doc, ValueMap map, double first, const double* second, int i)
{
  normalcolor c = paletteAt(doc, map(first));
  return second ? average(c, paletteAt(doc, map(second[i]))) : c;
}

// O1 of a two-output family, else null.
const double* secondOfFamily(const gfunc* g)
{
  return twoOutputs(g) ? g->outputs[1] : nullptr;
}

// Adds C * w to each channel when the weight is positive.
void lightAdd(Rgb& c, const normalcolor& light, double w)
{
  if (!(w > 0))
    return;
  c.r = kvnum::sat_i32(c.r + light.red * w);
  c.g = kvnum::sat_i32(c.g + light.green * w);
  c.b = kvnum::sat_i32(c.b + light.blue * w);
}

const normalcolor& C1(const sfuncSystem* doc)
{
  return doc->defaultColors[0];
}
const normalcolor& C2(const sfuncSystem* doc)
{
  return doc->defaultColors[1];
}
const normalcolor& C3(const sfuncSystem* doc)
{
  return doc->defaultColors[2];
}

template <class PerSample>
void eachSample(normalcolor* colors, PerSample f)
{
  const int32_t n = KV_batchLength();
  for (int32_t i = 0; i < n; ++i)
    colors[i] = f(i);
}

// The plain palette functions: map O0 (and a second array when given).
void paletteFunction(gfunc* out, sfuncSystem* doc, normalcolor* colors, ValueMap map,
                     const double* second)
{
  const double* o0 = out->outputs[0];
  eachSample(colors, [&](int i) { return mapped(doc, map, o0[i], second, i); });
}

// Two arrays of values read as a pair (the second may be absent).
struct Pair
{
  const double* a = nullptr;
  const double* b = nullptr;
  // sqrt(a^2 + b^2) with both arrays, else |a| * 0.5.
  double radiusOrHalf(int i) const
  {
    return b ? std::sqrt(a[i] * a[i] + b[i] * b[i]) : std::fabs(a[i]) * 0.5;
  }
};

// O0 of g, and O1 when g has two outputs.
Pair pairOf(const gfunc* g)
{
  if (!g)
    return {};
  return {g->outputs[0], twoOutputs(g) ? g->outputs[1] : nullptr};
}

// Pair B of proclogB and proclogC: S1's O0, else the pair of S0's first source.
Pair secondPair(const gfunc* out)
{
  if (out->sources[1])
    return {out->sources[1]->outputs[0], nullptr};
  return pairOf(out->sources[0] ? out->sources[0]->sources[0] : nullptr);
}

// Light weights of the multi-light functions.
double lightWeight(double l)
{
  return (l + 1) * 0.125;
}

}  // namespace

void cfunc_Color_Clut1(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  paletteFunction(out, doc, colors, sineMap, secondOfFamily(out));
}

void cfunc_Color_Clut2(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  paletteFunction(out, doc, colors, linearMap, renderInput(doc, kRenderInputSecondOutput));
}

void cfunc_Color_ClutlogA(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  paletteFunction(out, doc, colors, logMap, renderInput(doc, kRenderInputSecondOutput));
}

void cfunc_Color_linz(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  paletteFunction(out, doc, colors, linzMap, secondOfFamily(out));
}

void cfunc_Color_ClutlogB(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  // A negative value takes the opposite hue of its palette colour.
  auto signedColor = [doc](double v) {
    normalcolor c = paletteAt(doc, logMap(v));
    return (v < 0) ? HueRotate180(c.red, c.green, c.blue) : c;
  };
  const double* o0 = out->outputs[0];
  const double* second = renderInput(doc, kRenderInputSecondOutput);
  eachSample(colors, [&](int i) {
    normalcolor c = signedColor(o0[i]);
    return second ? average(c, signedColor(second[i])) : c;
  });
}

void cfunc_Color_proclog(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  const double* firstInput = renderInput(doc, kRenderInputFirstInput);
  const double* shading = renderInput(doc, kRenderInputLight1);
  const gfunc* s0 = out->sources[0];
  if (KV_familyOutputs(out->family) == 1 && s0 && s0->sources[0])
    shading = s0->sources[0]->outputs[0];
  const double* o0 = out->outputs[0];
  eachSample(colors, [&](int i) {
    normalcolor c = mapped(doc, logMap, o0[i], firstInput, i);
    if (shading)
      CScale(&c, wave(0.6 * shading[i]));
    return c;
  });
}

void cfunc_Color_proclogB(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  const Pair a = pairOf(out->sources[0]);
  const Pair b = secondPair(out);
  if (!a.a || !b.a)
    return;
  const double* o0 = out->outputs[0];
  const double* o1 = secondOfFamily(out);
  const normalcolor c2 = C2(doc);
  eachSample(colors, [&](int i) {
    const Rgb base = channels(mapped(doc, logMap, o0[i], o1, i));
    double t = b.b ? (1 - tableCos(b.radiusOrHalf(i))) / 2 : b.radiusOrHalf(i);
    double k = 0.5 * std::min(t, 1.0);
    double m = a.b ? 1 - tableCos(a.radiusOrHalf(i)) : a.radiusOrHalf(i);
    auto channel = [&](int32_t v, uint8_t light) {
      int32_t add = kvnum::sat_i32(light * k);
      return toByte(double(kvnum::sat_i32((double(v) + add) * m)));
    };
    return normalcolor{255, channel(base.r, c2.red), channel(base.g, c2.green),
                       channel(base.b, c2.blue)};
  });
}

void cfunc_Color_proclogC(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  const gfunc* s0 = out->sources[0];
  if (!s0)
    return;
  const double* u =
      twoOutputs(out) ? out->outputs[1] : (twoOutputs(s0) ? s0->outputs[1] : s0->outputs[0]);
  const Pair a = pairOf(s0);
  const Pair b = secondPair(out);
  const cpalette& pal = doc->tables.gradientKeys;
  const normalcolor black{255, 0, 0, 0}, white{255, 255, 255, 255};
  const normalcolor last = pal.colors[std::clamp(pal.count - 1, 0, kPaletteSlots - 1)];
  const double* o0 = out->outputs[0];
  eachSample(colors, [&](int i) {
    normalcolor base = average(paletteAt(doc, logMap(o0[i])),
                               paletteAt(doc, (TableSin(u[i] - kPi / 2) + 1) * 0.49));
    if (!b.a)
      return base;
    double w = a.b ? std::sqrt(a.a[i] * a.a[i] + a.b[i] * a.b[i]) * 0.5 : std::fabs(a.a[i]) * 0.5;
    double along = b.b ? (b.a[i] + b.b[i]) * 0.5 : b.a[i];
    double t = wave(along * 0.5) * 0.5;
    normalcolor ramp = black;
    ColorInterpol(&black, &last, &white, &ramp, t);
    return ColorLERP(&ramp, &base, w);
  });
}

void cfunc_Color_proclogD(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  const double* firstInput = renderInput(doc, kRenderInputFirstInput);
  const double* l1 = renderInput(doc, kRenderInputLight1);
  const double* l2 = renderInput(doc, kRenderInputLight2);
  const normalcolor c2 = C2(doc), c3 = C3(doc);
  const double* o0 = out->outputs[0];
  auto weight = [](double l) {
    double a = std::fabs(l / kPi);
    return (a < 1) ? (1 - a) / 255 : 0.0;
  };
  eachSample(colors, [&](int i) {
    normalcolor c = mapped(doc, logMap, o0[i], firstInput, i);
    if (!l1 || !l2)
      return c;
    double w1 = weight(l1[i]), w2 = weight(l2[i]);
    auto channel = [&](uint8_t base, uint8_t a, uint8_t b) {
      return toByte(double(kvnum::sat_i32((a * w1 + b * w2) * base)));
    };
    return normalcolor{255, channel(c.red, c2.red, c3.red), channel(c.green, c2.green, c3.green),
                       channel(c.blue, c2.blue, c3.blue)};
  });
}

void cfunc_Color_proclogE(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  const double* second = renderInput(doc, kRenderInputSecondOutput);
  const double* l1 = renderInput(doc, kRenderInputLight1);
  const double* l2 = renderInput(doc, kRenderInputLight2);
  const normalcolor c2 = C2(doc), c3 = C3(doc);
  auto lit = [](const normalcolor& c) { return c.red || c.green || c.blue; };
  const bool lights = l1 && l2 && (lit(c2) || lit(c3));
  const double* o0 = out->outputs[0];
  eachSample(colors, [&](int i) {
    normalcolor base = mapped(doc, linearMap, o0[i], second, i);
    if (!lights)
      return base;
    Rgb c = channels(base);
    lightAdd(c, c2, lightWeight(l1[i]));
    lightAdd(c, c3, lightWeight(l2[i]));
    return opaque(c);
  });
}

void cfunc_Color_proclogF(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  const double* second = renderInput(doc, kRenderInputSecondOutput);
  const double* sx = renderInput(doc, kRenderInputSurfaceX);
  const double* sy = renderInput(doc, kRenderInputSurfaceY);
  const normalcolor c3 = C3(doc);
  const double* o0 = out->outputs[0];
  eachSample(colors, [&](int i) {
    normalcolor base = mapped(doc, linearMap, o0[i], second, i);
    if (!sx)
      return base;
    // The surface normal of a paraboloid over the point, lit from one side.
    double x = sx[i], y = sy ? sy[i] : 0.0;
    double z = 6.283185307179586 - 0.02533029591 * (x * x + y * y);
    double len = std::sqrt(x * x + y * y + z * z);
    double inv = (len < 1e-6) ? 1e6 : 1 / len;
    double nx = x * inv, ny = y * inv, nz = z * inv;
    double d1 = (0.2 * ny - nx + 0.3 * nz) / 255;
    double d2 = (0.3 * ny + nx + 0.6 * nz) / 255;
    auto diffuse = [&](uint8_t light, uint8_t b) {
      double p = double(light) * b;
      return kvnum::sat_i32(kvnum::sat_i32(d1 * p) + p * d2);
    };
    Rgb c{diffuse(c3.red, base.red), diffuse(c3.green, base.green), diffuse(c3.blue, base.blue)};
    double s = 0.4368 * nx + 0.1312 * ny + 0.70128 * nz;
    if (s > 0) {
      auto highlight = [](double v) { return std::min(kvnum::sat_i32(v * 255), 255); };
      c.r += highlight(std::pow(s, 8));
      c.g += highlight(std::pow(s, 6));
      c.b += highlight(std::pow(s, 3));
    }
    return opaque(c);
  });
}

void cfunc_Color_multiproG(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  const double* second = renderInput(doc, kRenderInputSecondOutput);
  const double* l1 = renderInput(doc, kRenderInputLight1);
  const double* l2 = renderInput(doc, kRenderInputLight2);
  const double* l3 = renderInput(doc, kRenderInputLight3);
  auto weight = [](const double* l, int i) { return l ? std::min(l[i] / (4 * kPi), 2.0) : 0.0; };
  const double* o0 = out->outputs[0];
  eachSample(colors, [&](int i) {
    Rgb c = channels(mapped(doc, linearMap, o0[i], second, i));
    lightAdd(c, C1(doc), weight(l1, i));
    lightAdd(c, C2(doc), weight(l2, i));
    lightAdd(c, C3(doc), weight(l3, i));
    return opaque(c);
  });
}

void cfunc_Color_multiprocH(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  const double* firstInput = renderInput(doc, kRenderInputFirstInput);
  const double* values = firstInput ? firstInput : out->outputs[0];
  const double* lights[3] = {renderInput(doc, kRenderInputLight1),
                             renderInput(doc, kRenderInputLight2),
                             renderInput(doc, kRenderInputLight3)};
  eachSample(colors, [&](int i) {
    Rgb c = channels(paletteAt(doc, linearMap(values[i])));
    for (int k = 0; k < 3; ++k)
      if (lights[k])
        lightAdd(c, doc->defaultColors[k], lightWeight(lights[k][i]));
    return opaque(c);
  });
}

void cfunc_Color_multiprocHDF(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  const double* firstInput = renderInput(doc, kRenderInputFirstInput);
  const double* l1 = renderInput(doc, kRenderInputLight1);
  const double* l2 = renderInput(doc, kRenderInputLight2);
  const double* o0 = out->outputs[0];
  eachSample(colors, [&](int i) {
    Rgb c = channels(mapped(doc, linearMap, o0[i], firstInput, i));
    if (l1)
      lightAdd(c, C2(doc), lightWeight(l1[i]));
    if (l2)
      lightAdd(c, C3(doc), lightWeight(l2[i]));
    return opaque(c);
  });
}

void cfunc_Color_DirectRGB(gfunc* out, sfuncSystem* doc, normalcolor* colors)
{
  const int first = (out->family == 13 || out->family == 14) ? 2 : 0;
  const double* red = out->outputs[first];
  const double* green = out->outputs[first + 1];
  const double* blue = out->outputs[first + 2];
  const bool alpha = KV_familyOutputs(out->family) == 4;
  const double* o3 = out->outputs[3];
  eachSample(colors, [&](int i) {
    if (red[i] >= gINFINITY)
      return C1(doc);
    return normalcolor{alpha ? toByte(o3[i] * 63.75) : uint8_t(255), toByte(red[i] * 32),
                       toByte(green[i] * 32), toByte(blue[i] * 32)};
  });
}

void cfunc_Color_Geographic(const double* values, normalcolor* colors)
{
  const normalcolor* table = gKovrelinWorld ? gKovrelinWorld->defaultColors : kDefaultTerrainColors;
  eachSample(colors, [&](int i) {
    double h = 28.75 * values[i] + 400;
    double t = h / 4600;
    if (h < 0) {
      t = 0;
      h = 0;
    } else if (h > 4600) {
      t = 1;
      h = 4600;
    }
    normalcolor c = colorgradient(table, kDefaultColorCount, t);
    if (h < 400)
      c.red = 0;  // water
    return c;
  });
}

namespace {

normalcolor grey(int32_t level)
{
  return normalcolor{0, 0, 0, toByte(level)};
}

int32_t sineLevel(double v)
{
  return kvnum::sat_i32((TableSin(v - kPi / 2) + 1) * 127);
}

}  // namespace

void cfunc_BW_Sine(gfunc* out, sfuncSystem*, normalcolor* colors)
{
  const double* o0 = out->outputs[0];
  const double* o1 = secondOfFamily(out);
  eachSample(colors, [&](int i) {
    int32_t level = sineLevel(o0[i]);
    if (o1)
      level = (level + sineLevel(o1[i])) >> 1;
    return grey(level);
  });
}

void cfunc_BW_logarithmic(gfunc* out, sfuncSystem*, normalcolor* colors)
{
  const double* o0 = out->outputs[0];
  eachSample(colors, [&](int i) {
    return grey(kvnum::sat_i32(std::log(2 * (std::fabs(o0[i]) + 0.367879)) * 64));
  });
}

void cfunc_BW_Clip(gfunc* out, sfuncSystem*, normalcolor* colors)
{
  const double* o0 = out->outputs[0];
  eachSample(colors, [&](int i) { return grey(kvnum::sat_i32(o0[i] * 32)); });
}

void cfunc_ColorGlobalShade(sfuncSystem* doc, normalcolor* colors)
{
  const double* shade = renderInput(doc, kRenderInputShade);
  if (!shade)
    return;
  const int32_t n = KV_batchLength();
  for (int32_t i = 0; i < n; ++i) {
    if (!(shade[i] < gINFINITY))
      continue;
    double f = (shade[i] + 1) * 0.25;
    if (f <= 0) {
      colors[i] = normalcolor{255, 0, 0, 0};
      continue;
    }
    f = std::min(f, 2.0);
    colors[i].red = toByte(colors[i].red * f);
    colors[i].green = toByte(colors[i].green * f);
    colors[i].blue = toByte(colors[i].blue * f);
  }
}

namespace {

// Start distance and fall-off rate of the depth cue for an amount d.
struct DepthCue
{
  double offset, rate;
};

DepthCue depthCueFor(double d)
{
  if (d < 1)
    return {kPi / 2, 0.125 * d};
  if (d == 1)
    return {kPi, 0.125};
  return {0, 0.25};
}

// The distance of sample i of the surface, less the start distance.
double surfaceDistance(const double* sx, const double* sy, int i, const DepthCue& cue)
{
  double r = sy ? std::sqrt(sx[i] * sx[i] + sy[i] * sy[i]) : sx[i];
  return r - cue.offset;
}

}  // namespace

void cfunc_ColordepthCue(sfuncSystem* doc, normalcolor* colors, double d)
{
  const double* sx = renderInput(doc, kRenderInputSurfaceX);
  const double* sy = renderInput(doc, kRenderInputSurfaceY);
  if (!sx)
    return;
  const DepthCue cue = depthCueFor(d);
  const normalcolor fog = C1(doc);
  const int32_t n = KV_batchLength();
  for (int32_t i = 0; i < n; ++i) {
    double r = surfaceDistance(sx, sy, i, cue);
    if (r > 0)
      colors[i] = ColorLERP(&fog, &colors[i], std::exp(-cue.rate * r));
  }
}

void ColorVec_DepthCue(sfuncSystem* doc, double color[3], double d)
{
  const double* sx = renderInput(doc, kRenderInputSurfaceX);
  const double* sy = renderInput(doc, kRenderInputSurfaceY);
  if (!sx)
    return;
  const DepthCue cue = depthCueFor(d);
  double r = surfaceDistance(sx, sy, 0, cue);
  if (!(r > 0))
    return;
  double k = std::exp(-cue.rate * r);
  const normalcolor fog = C1(doc);
  const double fogChannels[3] = {double(fog.red), double(fog.green), double(fog.blue)};
  for (int ch = 0; ch < 3; ++ch)
    color[ch] = fogChannels[ch] + (color[ch] - fogChannels[ch]) * k;
}

void clut_mutate(cpalette* palette, double p)
{
  if (p > 0)
    rndmize_cpalette(palette, p);
}

namespace {

// The function of each index, with the flags it sets (-1: unchanged).
struct ColorFuncEntry
{
  KVColorFuncProc func;
  int16_t depthCue;
  int8_t globalShade;
};

constexpr ColorFuncEntry kColorFuncs[kColorFuncCount] = {
    {cfunc_Color_Clut1, -1, -1},     {cfunc_Color_Clut2, -1, -1},
    {cfunc_Color_ClutlogA, -1, -1},  {cfunc_Color_proclog, -1, -1},
    {cfunc_Color_proclogB, -1, -1},  {cfunc_Color_proclogC, -1, -1},
    {cfunc_Color_proclogD, 1, -1},   {cfunc_Color_proclogE, 2, -1},
    {cfunc_Color_proclogF, -1, -1},  {cfunc_Color_multiproG, -1, -1},
    {cfunc_Color_multiprocH, -1, 1}, {cfunc_Color_multiprocHDF, 2, 1},
    {cfunc_Color_linz, -1, -1},      {cfunc_Color_ClutlogB, -1, -1},
    {cfunc_Color_linz, -1, -1},      {cfunc_Color_DirectRGB, -1, -1},
};

constexpr int16_t kFallbackColorFunc = 12;

}  // namespace

void arb_setColorfunc(sfuncSystem* doc, int16_t index, bool reset)
{
  if (reset) {
    doc->depthCue = 0;
    doc->globalShade = 0;
  }
  if (index < 0 || index >= kColorFuncCount)
    index = kFallbackColorFunc;
  doc->colorFuncIndex = index;
  const ColorFuncEntry& e = kColorFuncs[index];
  doc->colorFunc = e.func;
  if (e.depthCue >= 0)
    doc->depthCue = e.depthCue;
  if (e.globalShade >= 0)
    doc->globalShade = uint8_t(e.globalShade);
}
