#include "components/f13/f13_colors.h"

#include "components/f13/f13_pvt.h"
#include "engine/palettelookups.h"
#include "engine/palettes.h"
#include "foundation/checked.h"
#include "noise/noises.h"

namespace {

F13rgb onValueScale(const double rgb[3])
{
  return {rgb[0] * kF1xByteToValue, rgb[1] * kF1xByteToValue, rgb[2] * kF1xByteToValue};
}

// RGB gamma's channel: 8 (x/8)^g from l = ln(x/8), exactly 0 once g l is
// below -9.
double gammaChannel(double l, double gamma)
{
  const double e = gamma * l;
  return e < -9 ? 0.0 : 8 * std::exp(e);
}

}  // namespace

// ---- Colour formulas ----------------------------------------------------------

F13rgb f13_randomColour(const KVtables* t, double position, double saturation, double scale)
{
  constexpr double kGreenPath = 777.3, kBluePath = 333.5;
  const double r0 = frandom1D(t, position);
  const double r1 = frandom1D(t, position + kGreenPath);
  const double r2 = frandom1D(t, position + kBluePath);
  const double mean = (r0 + r1 + r2) / 3;
  return {((r2 - mean) * saturation + mean) * scale, ((r1 - mean) * saturation + mean) * scale,
          ((r0 - mean) * saturation + mean) * scale};
}

F13rgb f13_shadeColour(double x, double a, double b, double c)
{
  if (x < 0) {
    const double s = -x / 6;
    return {(8 - a) * s, (8 - b) * s, (8 - c) * s};
  }
  const double s = x / 6;
  return {a * s, b * s, c * s};
}

double f13_wrapHue(double h)
{
  if (h >= 0)
    return h - 360 * std::trunc(h / 360);
  if (h < 0)
    return 360 + h + 360 * std::trunc(-h / 360);
  return h;
}

F13rgb f13_hueColour(double x, double p1, double p2, double p3)
{
  double rgb[3];
  doubleHSLtoRGB(f13_wrapHue(p1 * x), p2, p3, rgb);
  return onValueScale(rgb);
}

F13rgb f13_gradientColour(const cpalette* p, double t)
{
  double rgb[3];
  fbeziercolorgradient(p, t, rgb);
  return onValueScale(rgb);
}

double f13_neonBell(double x)
{
  return std::exp(-4 * x * x);
}

F13rgb f13_neonColour(double bell, double a, double b, double c)
{
  const double core = 1.5 * bell * bell;
  const double white = core * core;
  return {a * bell + white, b * bell + white, c * bell + white};
}

const cpalette* f13_mainGradient(const gfunc* g)
{
  return &g->doc->tables.gradientKeys;
}

const cpalette* f13_libraryPalette(const gfunc* g, double c)
{
  const cpalettelib* lib = gKovrelinWorld != nullptr ? gKovrelinWorld->paletteLib : nullptr;
  if (lib == nullptr)
    return f13_mainGradient(g);
  return &lib->palettes[std::clamp(kvnum::sat_i32(c), 0, kPaletteLibSize - 1)];
}

// ---- Compute functions ----------------------------------------------------------

void f13_unpack(gfunc* g)
{
  const int n = KV_batchLength();
  const inletinfos& in = g->inlets[0];
  if (in.channels < 2 || in.data == nullptr) {
    // A scalar input, the marker included, goes to all three outputs.
    std::array<double, kBatchCapacity> x;
    KV_readInput(g, 0, n, x.data());
    for (int k = 0; k < 3; ++k)
      std::copy_n(x.data(), n, g->outputs[k]);
    return;
  }
  for (int i = 0; i < n; ++i) {
    const bool hasValue = in.data[i] < gINFINITY;
    for (int k = 0; k < 3; ++k)
      g->outputs[k][i] = hasValue ? in.data[k * kBatchCapacity + i] : gINFINITY;
  }
}

void f13_Constant(gfunc* g)
{
  const int n = KV_batchLength();
  for (int i = 0; i < n; ++i)
    f1x_write<3>(g, i, {g->A, g->B, g->C});
}

void f13_randomcolor(gfunc* g)
{
  const F1xPrivate& p = f1x_p(g);
  const KVtables* t = &g->doc->tables;
  const double frequency = g->A + p.P2, saturation = g->B;
  f1x_colourEachOrUniform<3>(
      g, [&](double x) { return f13_randomColour(t, x * frequency, saturation, p.P3); });
}

void f13_shadecolor(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f1x_colourEachOrUniform<3>(g, [&](double x) { return f13_shadeColour(x, a, b, c); });
}

void f13_huecolor(gfunc* g)
{
  const F1xPrivate& p = f1x_p(g);
  f1x_colourEachOrUniform<3>(g, [&](double x) { return f13_hueColour(x, p.P1, p.P2, p.P3); });
}

void f13_gammacolor(gfunc* g)
{
  const double gammas[3] = {g->A, g->B, g->C};
  f1x_colourEachOrUniform<3>(g, [&](double x) {
    F13rgb c{0, 0, 0};
    if (x <= 0)
      return c;
    const double l = std::log(x / 8);
    for (int k = 0; k < 3; ++k)
      c[k] = gammaChannel(l, gammas[k]);
    return c;
  });
}

void f13_KVgrad(gfunc* g)
{
  const cpalette* palette = f13_mainGradient(g);
  const double scale = f1x_p(g).P1, offset = g->B;
  f1x_colourEachOrUniform<3>(
      g, [&](double x) { return f13_gradientColour(palette, x * scale + offset); });
}

void f13_indexgrad(gfunc* g)
{
  const cpalette* palette = f13_libraryPalette(g, g->C);
  const double scale = f1x_p(g).P1, offset = g->B;
  f1x_colourEachOrUniform<3>(
      g, [&](double x) { return f13_gradientColour(palette, x * scale + offset); });
}

void f13_colorSines(gfunc* g)
{
  const F1xPrivate& p = f1x_p(g);
  f1x_colourEachOrUniform<3>(g, [&](double x) {
    return F13rgb{4 * (1 + std::sin(p.P1 * x)), 4 * (1 + std::sin(p.P2 * x + kF13Pi / 2)),
                  4 * (1 + std::sin(p.P3 * x + kF13Pi))};
  });
}

void f13_neoncolor(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  f1x_colourEachOrUniform<3>(
      g, [&](double x) { return f13_neonColour(f13_neonBell(x), a, b, c); }, 0.0);
}

void f13_halfplane(gfunc* g)
{
  const F1xPrivate& p = f1x_p(g);
  const F13rgb colour = f1x_passColour(g, p.table);
  const F13rgb lit{colour[0] * kF1xByteToValue, colour[1] * kF1xByteToValue,
                   colour[2] * kF1xByteToValue};
  f1x_colourEach<3>(g, [&](double x) {
    const double v = x * p.P1 + p.P2;  // A (B - x)
    return v < 0 ? F13rgb{0, 0, 0} : lit;
  });
}

void f13_recurtree(gfunc* g)
{
  f12_compiledTree(g, 3);
}

// ---- Preparation ------------------------------------------------------------------

void f13_randomcolor_precompute(gfunc* g)
{
  F1xPrivate& p = f1x_p(g);
  p.P2 = 4 * g->A;
  p.P3 = 8 * g->C / 1024;
}

void f13_huecolor_precompute(gfunc* g)
{
  F1xPrivate& p = f1x_p(g);
  p.P1 = 60 * g->A;
  p.P2 = 255 * g->B;
  p.P3 = 255 * g->C;
}

void f13_gradient_precompute(gfunc* g)
{
  f1x_p(g).P1 = g->A / 8;
}

void f13_colorSines_precompute(gfunc* g)
{
  F1xPrivate& p = f1x_p(g);
  p.P1 = g->A;
  p.P2 = g->B;
  p.P3 = g->C;
}

void f13_halfplane_precompute(gfunc* g)
{
  F1xPrivate& p = f1x_p(g);
  p.P1 = -g->A;
  p.P2 = g->A * g->B;
  f1x_fillColourTable(p.table, g->C);
}

// ---- Handlers -----------------------------------------------------------------------

int16_t f13_unpack_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_unpack, g, msg, a, b, c);
}

int16_t f13_Constant_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_Constant, g, msg, a, b, c);
}

int16_t f13_randomcolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_randomcolor, g, msg, a, b, c);
}

int16_t f13_shadecolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_shadecolor, g, msg, a, b, c);
}

int16_t f13_huecolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_huecolor, g, msg, a, b, c);
}

int16_t f13_gammacolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_gammacolor, g, msg, a, b, c);
}

int16_t f13_KVgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_KVgrad, g, msg, a, b, c);
}

int16_t f13_indexgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_indexgrad, g, msg, a, b, c);
}

int16_t f13_colorSines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_colorSines, g, msg, a, b, c);
}

int16_t f13_neoncolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_neoncolor, g, msg, a, b, c);
}

int16_t f13_halfplane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_halfplane, g, msg, a, b, c);
}

int16_t f13_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF13_recurtree, g, msg, a, b, c);
}
