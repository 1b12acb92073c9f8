#include "components/f34/f34_scatter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/f34/f34_pvt.h"
#include "engine/palettelookups.h"

namespace {

// What message 8 leaves: the scales and colours of the four members.
struct Scatter
{
  double colourScale;
  double heightScale;
  double tintAmplitude;
  double frequency;
  double canvasGrey;     // dots: 8 - 8B
  double invLog17;       // cellular: 1 / ln 17
  double colours[4][3];  // dots: the base colour; cellular: c0..c3 (colour scale)
  normalcolor cycle[16];
};

Scatter& scatter(gfunc* g)
{
  return privateArea<Scatter>(g);
}

// The lattice cells of a 3D point, false when one is not defined.
struct Cell3
{
  F34cell x, y, z;
};

bool split3(double X, double Y, double Z, Cell3& c)
{
  return f34_floor(X, c.x) && f34_floor(Y, c.y) && f34_floor(Z, c.z);
}

// The eight corners of the cell: fn(a, b, c, row), row the corner's row of
// rndVec3D (0..1024; the corner's parameters are on the next row).
template <class Fn>
void eachCorner(const KVtables* t, const Cell3& c, Fn fn)
{
  for (int32_t a = 0; a < 2; ++a) {
    const int32_t ix = kvnum::wrap_add_i32(c.x.i, a);
    for (int32_t k = 0; k < 2; ++k) {
      const uint32_t row = f34_cornerRow(t, ix, c.y.i, kvnum::wrap_add_i32(c.z.i, k));
      for (uint32_t b = 0; b < 2; ++b)
        fn(a, int32_t(b), k, row + b);
    }
  }
}

// Squared distance from the point to the corner (a, b, c) moved by
// -jitter times V.
double jitteredDistance2(const Cell3& c, int32_t a, int32_t b, int32_t k, const double* V,
                         double jitter)
{
  const double dx = c.x.f - a + jitter * V[0];
  const double dy = c.y.f - b + jitter * V[1];
  const double dz = c.z.f - k + jitter * V[2];
  return dx * dx + dy * dy + dz * dz;
}

double scaledByte(uint8_t v)
{
  return v * 0.03125;
}

// Cellular: the distances of one sample's feature points.
struct Features
{
  double d2[16];
  double q[16];
  int count = 0;
};

void gatherFeatures(const KVtables* t, double X, double Y, double Z, Features& f)
{
  Cell3 c;
  if (!split3(X, Y, Z, c))
    return;
  eachCorner(t, c, [&](int32_t a, int32_t b, int32_t k, uint32_t row) {
    const double d2 = jitteredDistance2(c, a, b, k, t->rndVec3D[row], 0.28);
    if (d2 < 1.5 && f.count < 16) {
      f.d2[f.count] = d2;
      f.q[f.count] = t->rndVec3D[row + 1][0];
      ++f.count;
    }
  });
}

F34out cellularSample(const Scatter& s, const KVtables* t, double X, double Y, double Z, double A,
                      bool alt)
{
  const double* c3 = s.colours[3];
  Features f;
  gatherFeatures(t, X, Y, Z, f);
  gatherFeatures(t, X + 333.5, Y + 111.5, Z + 71.5, f);
  if (f.count == 0)
    return {c3[0], c3[1], c3[2], 0.12};
  // F1 below 0.6, F2 the next distance strictly above it, both capped.
  double f1 = 0.6, q1 = 0;
  for (int i = 0; i < f.count; ++i)
    if (f.d2[i] < f1) {
      f1 = f.d2[i];
      q1 = f.q[i];
    }
  double f2 = 0.6;
  for (int i = 0; i < f.count; ++i)
    if (f.d2[i] > f1 && f.d2[i] < f2)
      f2 = f.d2[i];
  const double e = f2 - f1;
  if (alt)
    return {c3[0], c3[1], c3[2], e};
  const uint32_t j = uint32_t(kvnum::wrap_add_i32(kvnum::sat_i32(777 * q1), 773)) & 1023u;
  const double tt = std::min(j * 0.0001953125 * A, 1.0);
  const double* V = t->rndVec3D[j];
  const double edge = std::log(16 * e + 1) * s.invLog17;
  F34out out{0, 0, 0, e};
  double* rgb[3] = {&out.r, &out.g, &out.b};
  for (int k = 0; k < 3; ++k) {
    const double cell =
        s.colours[0][k] + (s.colours[1][k] - s.colours[0][k]) * tt + s.tintAmplitude * V[k];
    *rgb[k] = s.colours[2][k] + (cell - s.colours[2][k]) * edge;
  }
  return out;
}

}  // namespace

int32_t f2dregionCTiles(fractalsinfos* fi, double u, double v, double z, int32_t k,
                        regionrecord* rec, dvector4d* acc)
{
  const double q = 1 - (u * u + v * v);
  if (!(q > 0))
    return 0;
  // A dome with a rounded top.
  double a = 8 * q * q;
  if (a >= 0.75)
    a = 0.75 - a > -0.5 ? a - (0.75 - a) * (0.75 - a) : 1.0;
  const KVtables* t = fi->tables;
  const double theta = 0.1 * t->planeVec3D[uint32_t(k) & 255u][0] + z;
  const double d = (u * std::sin(theta) + v * std::cos(theta) + 1) / 2;
  if (!(d > 0))
    return 0;
  double h = a * d;
  const double delta = 0.1 + h - acc->w;
  double blend = 0;
  if (delta > 0) {
    blend = 1;
    if (2.5 * delta < 0.5) {
      blend = 5 * delta;
      h = (2.5 * delta) * (2.5 * delta) * 0.4 + acc->w;
    }
    acc->w = h;
  }
  if (fi->reliefPass != 0 || !(blend > 0))
    return 1;
  const double* tint = f34_rndVec(t, uint32_t(k));
  const double amplitude = rec->values[3];
  acc->x += ((rec->values[0] + amplitude * tint[0]) * h - acc->x) * blend;
  acc->y += ((rec->values[1] + amplitude * tint[1]) * h - acc->y) * blend;
  acc->z += ((rec->values[2] + amplitude * tint[2]) * h - acc->z) * blend;
  return 1;
}

// ---- Message 8 ----------------------------------------------------------------

void f34_zdisktiles_prepare(gfunc* g)
{
  Scatter& s = scatter(g);
  s.colourScale = 1.0 / 32;
  s.heightScale = 4 * g->A;
  s.tintAmplitude = 100 * g->A;
  f34_fillCycle(s.cycle, g->B);
}

void f34_starfield_prepare(gfunc* g)
{
  scatter(g).colourScale = g->A / 32;
}

void f34_colordots_prepare(gfunc* g)
{
  Scatter& s = scatter(g);
  s.tintAmplitude = std::numbers::pi * g->A;
  s.heightScale = g->A;
  s.canvasGrey = 8 - 8 * g->B;
  normalcolor scratch[8];
  GetParam1DColor(scratch, g->B, s.colours[0]);
}

void f34_voron3d_prepare(gfunc* g)
{
  Scatter& s = scatter(g);
  s.heightScale = 2 * g->A;
  s.tintAmplitude = 0.48 * g->A;
  s.frequency = g->C / 2;
  s.invLog17 = 1 / std::log(17.0);
  double cycle[9];
  GetTripleColorCycle(cycle, g->B, true);
  // The cell border colour is the document's light colour.
  const normalcolor light = g->doc->defaultColors[0];
  const double border[3] = {scaledByte(light.red), scaledByte(light.green), scaledByte(light.blue)};
  for (int k = 0; k < 3; ++k) {
    s.colours[0][k] = cycle[k] / 32;
    s.colours[1][k] = cycle[3 + k] / 32;
    s.colours[2][k] = border[k];
    const double m = s.colours[0][k] + (s.colours[1][k] - s.colours[0][k]) / 4;
    s.colours[3][k] = m + (s.colours[2][k] - m) / 2;
  }
}

// ---- Computes -------------------------------------------------------------------

void f34_zdisktiles(gfunc* g)
{
  const Scatter& s = scatter(g);
  fractalsinfos fi = g->doc->fractal;
  fi.tables = &g->doc->tables;
  const double freq = g->C;
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    const double X = freq * x, Y = freq * y;
    F34cell cx, cy;
    if (!f34_floor(X, cx) || !f34_floor(Y, cy))
      return kF34noValue;
    const F34rgb base = f34_cycleAt(s.cycle, f34_fracPart(z / 8));
    regionrecord rec;
    rec.values[0] = base.r;
    rec.values[1] = base.g;
    rec.values[2] = base.b;
    rec.values[3] = s.tintAmplitude;
    dvector4d acc{20, 60, 100, -0.25};
    fregionOverlap(&fi, X, Y, z, f2dregionCTiles, &rec, &acc, 4);
    return F34out{acc.x * s.colourScale, acc.y * s.colourScale, acc.z * s.colourScale,
                  s.heightScale * acc.w};
  });
}

void f34_starfield(gfunc* g)
{
  const Scatter& s = scatter(g);
  const KVtables* t = f34_tables(g);
  const bool alt = f34_altitudeOnly(g);
  const double freq = g->C, phase = g->B;
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    Cell3 c;
    if (!split3(freq * x - phase, freq * y, freq * z - phase, c))
      return kF34zero;
    double sum = 0, r = 0, gr = 0, bl = 0;
    eachCorner(t, c, [&](int32_t a, int32_t b, int32_t k, uint32_t row) {
      const double* star = t->rndVec3D[row + 1];
      if (!(star[0] > 0))
        return;
      const double d2 = jitteredDistance2(c, a, b, k, t->rndVec3D[row], 0.5);
      if (!(d2 < 0.25))
        return;
      const double q = star[1];
      const double radius = 0.5 - 0.3 * std::fabs(q);
      const double fall = (radius - std::sqrt(d2)) / radius;
      if (!(fall > 0))
        return;
      const double T = fall * fall;
      const double bright = 0.4 * T + 0.8 * T * T * T * T;
      sum += bright;
      if (alt)
        return;
      const double* W = f34_rndVec(t, uint32_t(kvnum::sat_i32(777 + 775 * q)));
      r += (40 * W[0] + 150) * bright;
      gr += (35 * W[1] + 180) * bright;
      bl += (30 * W[2] + 210) * bright;
    });
    return F34out{s.colourScale * r, s.colourScale * gr, s.colourScale * bl, 4 * sum};
  });
}

void f34_colordots(gfunc* g)
{
  const Scatter& s = scatter(g);
  const KVtables* t = f34_tables(g);
  const bool alt = f34_altitudeOnly(g);
  const double freq = g->C;
  const double* base = s.colours[0];
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    const double Z = freq * z;
    double canvas[3] = {s.canvasGrey, s.canvasGrey, s.canvasGrey};
    double H = 0;
    Cell3 c;
    if (split3(freq * x, freq * y, Z, c)) {
      eachCorner(t, c, [&](int32_t a, int32_t b, int32_t k, uint32_t row) {
        const double d2 = jitteredDistance2(c, a, b, k, t->rndVec3D[row], 0.5);
        if (!(d2 < 0.5))
          return;
        // Dots stack by height with a soft edge where they meet.
        double height = 4 * (0.25 - d2);
        const double delta = height + 0.0625 - H;
        if (!(delta > 0))
          return;
        const double s4 = 4 * delta;
        double blend = 1;
        if (s4 < 0.5) {
          blend = 2 * s4;
          height = H + s4 * s4 / 4;
        }
        H = height;
        if (alt)
          return;
        const double p = Z / 2 + kvnum::sat_i32(777 * t->rndVec3D[row + 1][0] + 1777);
        const double j = std::floor(p);
        const uint32_t row0 = uint32_t(kvnum::sat_i32(j));
        const double* v0 = f34_rndVec(t, row0);
        const double* v1 = f34_rndVec(t, row0 + 1);
        for (int ch = 0; ch < 3; ++ch) {
          const double tint = v0[ch] + (v1[ch] - v0[ch]) * (p - j);
          const double dot = (s.tintAmplitude * tint + base[ch]) * height;
          canvas[ch] += (dot - canvas[ch]) * blend;
        }
      });
    }
    return F34out{canvas[0], canvas[1], canvas[2], s.heightScale * H};
  });
}

void f34_voron3d(gfunc* g)
{
  const Scatter& s = scatter(g);
  const KVtables* t = f34_tables(g);
  const bool alt = f34_altitudeOnly(g);
  const double F = s.frequency, A = g->A;
  const double* c3 = s.colours[3];
  // Past the detail limit the cells fade into their flat colour.
  const double limit = 0.33 * g->doc->yPixelScale;
  const double fade = F > limit ? (F - limit) / (F / 2) : 0.0;
  const F34out flat{c3[0], c3[1], c3[2], 0.12 * s.heightScale};
  f34_eachSampleOrEmpty(g, [&](double x, double y, double z, int) {
    if (fade >= 1)
      return flat;
    F34out out = cellularSample(s, t, F * x, F * y, F * z, A, alt);
    if (fade > 0) {
      if (!alt) {
        out.r += (c3[0] - out.r) * fade;
        out.g += (c3[1] - out.g) * fade;
        out.b += (c3[2] - out.b) * fade;
      }
      out.w += (0.12 - out.w) * fade;
    }
    out.w *= s.heightScale;
    return out;
  });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f34_zdisktiles_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_zdisktiles, g, m, a, b, c);
}
int16_t f34_starfield_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_starfield, g, m, a, b, c);
}
int16_t f34_colordots_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_colordots, g, m, a, b, c);
}
int16_t f34_voron3d_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_voron3d, g, m, a, b, c);
}
