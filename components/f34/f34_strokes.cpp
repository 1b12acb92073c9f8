#include "components/f34/f34_strokes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/f34/f34_pvt.h"

namespace {

// The offsets of the four lattice layers the marks sit on.
constexpr double kLayers[4][2] = {{0, 0}, {1777.5, 1133.5}, {3333.0, 1133.5}, {1133.5, 3333.0}};

// What message 8 leaves: scales, tint, frequency, the colour cycle and the
// colours (0..255) of the paint strokes and the line network.
struct Strokes
{
  double colourScale;
  double heightScale;
  double tintAmplitude;
  double frequency;
  double background[3];  // paint strokes: the first colour halved
  double stroke1[3];
  double stroke2[3];
  double lineEnd[3];  // line network: the cycle's first colour
  normalcolor cycle[16];
};

Strokes& strokes(gfunc* g)
{
  return privateArea<Strokes>(g);
}

double lineProfile(double g)
{
  return g < 1 ? 1 - g * g * (3 - 2 * g) : 0.0;
}

const double* planeVec(const KVtables* t, uint32_t k)
{
  return t->planeVec3D[k & 255u];
}

void copyColour(const normalcolor& c, double out[3], double k = 1)
{
  out[0] = c.red * k;
  out[1] = c.green * k;
  out[2] = c.blue * k;
}

// z Strokes: the two soft edge lines of one mark, as its paint weight m.
double strokeWeight(const F34mark& c, const double* P, double cs, double sn)
{
  double pressure = 4 * (1 - c.d2 * 16 / 9);
  const double along = sn * c.dx - cs * c.dy + 1;
  const double sharpness = 7 / (along + 0.01);
  const double q = along / 2 - 0.375;
  if (q <= pressure) {
    const double e = (q - pressure) / 1.5;
    pressure = e > -0.5 ? pressure - 1.5 * e * e : along / 2;
  }
  const double halfWidth = 0.6 * std::fabs(P[1]) + 0.1;
  const double across = cs * c.dx + sn * c.dy + P[2];
  const double l1 = pressure * lineProfile(std::fabs(across - halfWidth) * sharpness);
  const double l2 = pressure * lineProfile(std::fabs(across + halfWidth) * sharpness);
  return l1 * l1 + l2 * l2;
}

// z Line network: the tilt of one family of lines, s in 0..1.
struct Tilt
{
  double c, s;
};

Tilt lineTilt(double s)
{
  constexpr double kCosStep = 0.015192246988000035;  // 1 - cos(10 degrees)
  const double c = s < 0.5 ? 0.984807753012 + 2 * s * kCosStep : 1 - (2 * s - 1) * kCosStep;
  return {c, 0.347296355334 * s - 0.173648177667};
}

}  // namespace

int f34_gatherMarks(const KVtables* t, double X, double Y, int layers, F34mark out[16])
{
  int count = 0;
  for (int l = 0; l < std::clamp(layers, 0, 4); ++l) {
    F34cell cx, cy;
    if (!f34_floor(X + kLayers[l][0], cx) || !f34_floor(Y + kLayers[l][1], cy))
      continue;
    for (int32_t a = 0; a < 2; ++a) {
      const uint32_t column = kvnoise::columnKey(t->perm, kvnum::wrap_add_i32(cx.i, a), cy.i);
      for (uint32_t b = 0; b < 2; ++b) {
        const uint32_t k = column + b;
        const double* V = f34_rndVec(t, k);
        const double dx = cx.f - a + 0.25 * V[0], dy = cy.f - double(b) + 0.25 * V[1];
        const double d2 = dx * dx + dy * dy;
        if (d2 < 0.5625)
          out[count++] = {dx, dy, d2, k};
      }
    }
  }
  return count;
}

// ---- Message 8 ----------------------------------------------------------------

void f34_zstrokes_prepare(gfunc* g)
{
  Strokes& s = strokes(g);
  s.colourScale = (g->A / 4 + 0.75) / 32;
  s.heightScale = 4 * g->A;
  s.tintAmplitude = 100 * g->A;
  f34_fillCycle(s.cycle, g->B);
}

void f34_paintstrokes_prepare(gfunc* g)
{
  Strokes& s = strokes(g);
  s.colourScale = (g->A / 4 + 0.75) / 32;
  s.heightScale = 4 * g->A;
  s.tintAmplitude = 100 * g->A;
  normalcolor four[16] = {};
  GetParam1DColorTable(four, g->B, 4);
  copyColour(four[0], s.background, 0.5);
  copyColour(four[1], s.stroke1);
  copyColour(four[2], s.stroke2);
}

void f34_linesNetwork_prepare(gfunc* g)
{
  Strokes& s = strokes(g);
  s.colourScale = (g->A / 2 + 0.5) / 32;
  s.heightScale = 4 * g->A;
  s.frequency = g->C / 4;
  f34_fillCycle(s.cycle, g->B);
  copyColour(s.cycle[0], s.lineEnd);
}

// ---- Computes -------------------------------------------------------------------

void f34_zstrokes(gfunc* g)
{
  const Strokes& s = strokes(g);
  const KVtables* t = f34_tables(g);
  const bool alt = f34_altitudeOnly(g);
  const double freq = g->C;
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    const F34rgb base = f34_cycleAt(s.cycle, f34_fracPart(z / 8));
    const double cs = 4.0 / 3 * std::cos(z / 4), sn = 4.0 / 3 * std::sin(z / 4);
    F34mark marks[16];
    const int count = f34_gatherMarks(t, freq * x, freq * y, 4, marks);
    double H = -0.125, r = 0, gr = 0, bl = 0;
    for (int i = 0; i < count; ++i) {
      const double m = strokeWeight(marks[i], planeVec(t, marks[i].k), cs, sn);
      if (!(m > 0))
        continue;
      H += m;
      if (alt)
        continue;
      const double* V = f34_rndVec(t, marks[i].k);
      r += (s.tintAmplitude * V[0] + base.r) * m;
      gr += (s.tintAmplitude * V[1] + base.g) * m;
      bl += (s.tintAmplitude * V[2] + base.b) * m;
    }
    return F34out{s.colourScale * r, s.colourScale * gr, s.colourScale * bl, s.heightScale * H};
  });
}

void f34_paintstrokes(gfunc* g)
{
  const Strokes& s = strokes(g);
  const KVtables* t = f34_tables(g);
  const bool alt = f34_altitudeOnly(g);
  const double freq = g->C;
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    const double cs = 4.0 / 3 * std::cos(z / 4), sn = 4.0 / 3 * std::sin(z / 4);
    // The random tint turns with the marks.
    const double tint = cs * s.tintAmplitude;
    F34mark marks[16];
    const int count = f34_gatherMarks(t, freq * x, freq * y, 4, marks);
    double canvas[3] = {s.background[0], s.background[1], s.background[2]};
    double H = -0.125;
    for (int i = 0; i < count; ++i) {
      const F34mark& c = marks[i];
      const double* P = planeVec(t, c.k);
      const double f = (1 - c.d2 * 16 / 9) * (1 - c.d2 * 16 / 9);
      const double along = cs * c.dx + sn * c.dy;
      const double v =
          (0.25 * std::sin(4 * std::numbers::pi * (along + P[2])) + 0.4 + 0.18 * P[0]) * f;
      if (!(v > 0))
        continue;
      H += (v - H) * v;
      if (alt)
        continue;
      const double mix = along / 2 + 0.5;
      const double* V = f34_rndVec(t, c.k);
      for (int ch = 0; ch < 3; ++ch) {
        const double paint = s.stroke1[ch] + (s.stroke2[ch] - s.stroke1[ch]) * mix + tint * V[ch];
        canvas[ch] += (paint - canvas[ch]) * 0.8 * v;
      }
    }
    return F34out{s.colourScale * canvas[0], s.colourScale * canvas[1], s.colourScale * canvas[2],
                  s.heightScale * H};
  });
}

void f34_linesNetwork(gfunc* g)
{
  const Strokes& s = strokes(g);
  const KVtables* t = f34_tables(g);
  const bool alt = f34_altitudeOnly(g);
  const F34batch b = f34_batch(g);
  for (int i = 0; i < b.n; ++i) {
    const double z = b.z[i];
    const double cs16 = 16 * std::cos(z / 4), sn16 = 16 * std::sin(z / 4);
    const F34rgb c0 = f34_cycleAt(s.cycle, f34_fracPart(z / 10));
    F34mark marks[16];
    const int count = f34_gatherMarks(t, s.frequency * b.x[i], s.frequency * b.y[i], 2, marks);
    double H = 0, sum[3] = {0, 0, 0};
    for (int m = 0; m < count; ++m) {
      const F34mark& c = marks[m];
      const double fall = 1 - c.d2 * 16 / 9;
      const double u = 4.0 / 3 * c.dx, v = 4.0 / 3 * c.dy;
      for (uint32_t family = 0; family < 2; ++family) {
        const Tilt tilt = lineTilt(std::fabs(planeVec(t, c.k + family)[0]));
        const double along = (tilt.c * u - tilt.s * v) * cs16 - (tilt.c * v + tilt.s * u) * sn16;
        F34cell slot;
        if (!f34_floor(along, slot))
          continue;
        const uint32_t j = uint32_t(kvnum::wrap_add_i32(slot.i, 517)) & 1023u;
        const int32_t p = t->perm[j] & 1023;
        if (p >= 512)
          continue;
        const double pf = p / 512.0;
        const double L = lineProfile(4 * std::fabs(pf / 2 - 0.75 + slot.f));
        if (!(L > 0))
          continue;
        const double weight = fall * L;
        H += (L - H) * weight;
        if (alt || !(weight > 0))
          continue;
        const double* V = t->rndVec3D[j + 1];
        const double line[3] = {c0.r + (s.lineEnd[0] - c0.r) * pf + 80 * V[0],
                                c0.g + (s.lineEnd[1] - c0.g) * pf + 80 * V[1],
                                c0.b + (s.lineEnd[2] - c0.b) * pf + 80 * V[2]};
        for (int ch = 0; ch < 3; ++ch)
          sum[ch] += (line[ch] * L - sum[ch]) * weight;
      }
    }
    f34_store(g, i,
              {s.colourScale * sum[0], s.colourScale * sum[1], s.colourScale * sum[2],
               s.heightScale * H});
  }
}

// ---- Handlers -------------------------------------------------------------------

int16_t f34_zstrokes_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_zstrokes, g, m, a, b, c);
}
int16_t f34_paintstrokes_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_paintstrokes, g, m, a, b, c);
}
int16_t f34_linesNetwork_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_linesNetwork, g, m, a, b, c);
}
