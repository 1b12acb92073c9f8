#include "components/f14/f14_colors.h"

#include <cstdint>

#include "components/f11/f11_pvt.h"
#include "components/f13/f13_pvt.h"
#include "foundation/checked.h"
#include "noise/noises.h"

namespace {

using F14rgbw = F1xColour<4>;

// The document's scalar flag: the pass uses only the first output.
bool scalarPass(const gfunc* g)
{
  return g->doc != nullptr && g->doc->fractal.reliefPass != 0;
}

F14rgbw withW(const F13rgb& c, double w)
{
  return {c[0], c[1], c[2], w};
}

// What the scalar pass takes instead of a colour: x on output 1.
F14rgbw scalarOnly(double x, double w)
{
  return {x, 0, 0, w};
}

F13rgb scaledColour(const F13rgb& c, double k)
{
  return {c[0] * k, c[1] * k, c[2] * k};
}

// The f14 members that are an f13 colour with w = x.
template <class Colour>
void colourWithX(gfunc* g, Colour colour)
{
  f1x_colourEachOrUniform<4>(g, [&](double x) { return withW(colour(x), x); });
}

// Random Verticals at x: coverage c and the place a of the line's colour.
struct Vertical
{
  double coverage;
  double colourAt;
};

Vertical verticalAt(const KVtables* t, double u, int32_t t0, int64_t t1)
{
  constexpr int32_t kPermOffset = 517;
  constexpr double kFade = 64;  // the last 64 permutation values fade out
  int32_t cell = 0;
  double frac = 0;
  if (!f11_lattice(u, cell, frac))
    return {0, 0};
  // Masked to the table, so any cell reads inside it.
  const int32_t r = t->perm[kvnum::wrap_add_i32(cell, kPermOffset) & 1023];
  if (r >= t1)
    return {0, 0};
  const double a = r / double(t1);
  const double weight = r >= t0 ? (t1 - r) / kFade : 1.0;
  const double d = 4 * std::fabs(a / 2 - 0.75 + frac);
  const double s = d < 1 ? 1 - d * d * (3 - 2 * d) : 0.0;
  return {weight * s, a};
}

}  // namespace

void f14_unpack(gfunc* g)
{
  const int n = KV_batchLength();
  const inletinfos& in = g->inlets[0];
  if (in.channels < 2 || in.data == nullptr) {
    std::array<double, kBatchCapacity> x;
    KV_readInput(g, 0, n, x.data());
    for (int k = 0; k < 4; ++k)
      std::copy_n(x.data(), n, g->outputs[k]);
    return;
  }
  // Three channels leave output 4 as it was.
  const int channels = in.channels >= 3 ? 4 : 3;
  for (int i = 0; i < n; ++i) {
    const bool hasValue = in.data[i] < gINFINITY;
    for (int k = 0; k < channels; ++k)
      g->outputs[k][i] = hasValue ? in.data[k * kBatchCapacity + i] : gINFINITY;
  }
}

void f14_Constant(gfunc* g)
{
  const F13rgb c{g->A, g->B, g->C};
  colourWithX(g, [&](double) { return c; });
}

void f14_randomcolor(gfunc* g)
{
  constexpr double kAlphaPath = 1333.3;
  const F1xPrivate& p = f1x_p(g);
  const KVtables* t = &g->doc->tables;
  const double frequency = g->A + p.P2, saturation = g->B;
  f1x_colourEachOrUniform<4>(g, [&](double x) {
    const double position = x * frequency;
    const double w = (frandom1D(t, position + kAlphaPath) - 512) * p.P3;
    return withW(f13_randomColour(t, position, saturation, p.P3), w);
  });
}

void f14_halfplane(gfunc* g)
{
  constexpr double kEdge = 1.0 / 32;  // the soft edge's width in v
  const F1xPrivate& p = f1x_p(g);
  const F13rgb colour = f1x_passColour(g, p.table);
  const bool scalar = scalarPass(g);
  f1x_colourEach<4>(g, [&](double x) {
    double v = std::min(x * p.P1 + p.P2, 4.0);  // A (B - x); NaN stays
    if (v < 0)
      return withW({0, 0, 0}, std::max(v, -2.0));
    if (scalar)
      return scalarOnly(x, v);
    return withW(scaledColour(colour, v < kEdge ? v : kEdge), v);
  });
}

void f14_neoncolor(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  const bool scalar = scalarPass(g);
  f1x_colourEachOrUniform<4>(
      g,
      [&](double x) {
        const double bell = f13_neonBell(x);
        return scalar ? scalarOnly(x, 4 * bell) : withW(f13_neonColour(bell, a, b, c), 4 * bell);
      },
      0.0);
}

void f14_colorsine(gfunc* g)
{
  const F1xPrivate& p = f1x_p(g);
  const F13rgb colour = f1x_passColour(g, p.table);
  const double amplitude = g->B;
  f1x_colourEachOrUniform<4>(
      g,
      [&](double x) {
        const double s = amplitude * std::sin(p.P1 * x);
        const double k = s < 1 ? s * kF1xByteToValue : kF1xByteToValue;
        return withW(scaledColour(colour, k), s);
      },
      0.0);
}

void f14_HarmonicSines(gfunc* g)
{
  const F1xPrivate& p = f1x_p(g);
  const double frequency = g->A, amplitude = g->B;
  const bool scalar = scalarPass(g);
  f1x_colourEachOrUniform<4>(
      g,
      [&](double x) {
        const double w = amplitude * std::sin(p.P4 * x);
        if (scalar)
          return scalarOnly(x, w);
        return F14rgbw{amplitude * std::sin(frequency * x), amplitude * std::sin(p.P2 * x),
                       amplitude * std::sin(p.P3 * x), w};
      },
      0.0);
}

void f14_KVgrad(gfunc* g)
{
  const cpalette* palette = f13_mainGradient(g);
  const double scale = f1x_p(g).P1, offset = g->B;
  colourWithX(g, [&](double x) { return f13_gradientColour(palette, x * scale + offset); });
}

void f14_shadecolor(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  colourWithX(g, [&](double x) { return f13_shadeColour(x, a, b, c); });
}

void f14_huecolor(gfunc* g)
{
  const F1xPrivate& p = f1x_p(g);
  colourWithX(g, [&](double x) { return f13_hueColour(x, p.P1, p.P2, p.P3); });
}

void f14_HSinesB(gfunc* g)
{
  const F1xPrivate& p = f1x_p(g);
  f1x_colourEachOrUniform<4>(
      g,
      [&](double x) {
        return F14rgbw{8 * std::sin(p.P1 * x), 8 * std::sin(p.P2 * x), 8 * std::sin(p.P3 * x),
                       8 * std::sin(p.P4 * x)};
      },
      0.0);
}

void f14_RndVLines(gfunc* g)
{
  const int n = KV_batchLength();
  std::array<double, kBatchCapacity> x;
  KV_readInput(g, 0, n, x.data());
  const normalcolor* table = f34_rndVLinesState(g).table;
  const KVtables* t = &g->doc->tables;
  const int32_t t0 = kvnum::sat_i32(1024 * g->A);
  const int64_t t1 = int64_t(t0) + 64;
  const double frequency = g->C;
  const bool scalar = scalarPass(g);
  for (int i = 0; i < n; ++i) {
    const Vertical v = verticalAt(t, frequency * x[i], t0, t1);
    const double w = 4 * v.coverage;
    F14rgbw out;
    if (scalar) {
      out = scalarOnly(x[i], w);
    } else if (!(v.coverage > 0)) {
      out = {0, 0, 0, w};
    } else {
      const double k = 2 * v.coverage < 1 ? 2 * v.coverage * kF1xByteToValue : kF1xByteToValue;
      const F13rgb c = f1x_tableColour(table, v.colourAt - std::floor(v.colourAt));
      out = withW(scaledColour(c, k), w);
    }
    f1x_write<4>(g, i, out);
  }
}

void f14_recurtree(gfunc* g)
{
  f12_compiledTree(g, 4);
}

// ---- Preparation ------------------------------------------------------------------

void f14_colorsine_precompute(gfunc* g)
{
  F1xPrivate& p = f1x_p(g);
  p.P1 = kF14Pi * g->A;
  f1x_fillColourTable(p.table, g->C);
}

void f14_HarmonicSines_precompute(gfunc* g)
{
  g->C = std::trunc(g->C);
  F1xPrivate& p = f1x_p(g);
  p.P2 = (g->C + 2) * g->A;
  p.P3 = (g->C + 3) * g->A;
  p.P4 = (g->C + 4) * g->A;
}

void f14_HSinesB_precompute(gfunc* g)
{
  F1xPrivate& p = f1x_p(g);
  const double k = std::trunc(g->C) + 1;
  p.P1 = g->A;
  p.P2 = (k + g->B) * g->A;
  p.P3 = (k + 2 * g->B) * g->A;
  p.P4 = (k + 3 * g->B) * g->A;
}

// ---- Handlers -----------------------------------------------------------------------

int16_t f14_unpack_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF14_unpack, g, msg, a, b, c);
}

int16_t f14_Constant_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return f13_Constant_handler(g, msg, a, b, c);
}

int16_t f14_randomcolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF14_randomcolor, g, msg, a, b, c);
}

int16_t f14_halfplane_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF14_halfplane, g, msg, a, b, c);
}

int16_t f14_neoncolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF14_neoncolor, g, msg, a, b, c);
}

int16_t f14_colorsine_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF14_colorsine, g, msg, a, b, c);
}

int16_t f14_HarmonicSines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF14_HarmonicSines, g, msg, a, b, c);
}

int16_t f14_KVgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF14_KVgrad, g, msg, a, b, c);
}

int16_t f14_shadecolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return f13_shadecolor_handler(g, msg, a, b, c);
}

int16_t f14_huecolor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return f13_huecolor_handler(g, msg, a, b, c);
}

int16_t f14_HSinesB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF14_HSinesB, g, msg, a, b, c);
}

int16_t f14_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF14_recurtree, g, msg, a, b, c);
}
