#include "components/f24/f24_regions.h"

#include <algorithm>
#include <cmath>

#include "components/f24/f24_pvt.h"
#include "engine/palettelookups.h"
#include "foundation/colormath.h"

namespace {

// What message 8 leaves: the colour and height factors, the polygons' scale,
// their three colours (0..255) and the record handed to the region bodies.
struct RegionState
{
  double k0;  // colour factor
  double k1;  // height factor
  double k2;  // polygon scale
  double colours[9];
  regionrecord record;
};

RegionState& state(gfunc* g)
{
  return privateArea<RegionState>(g);
}

// The sticks' record: d0..d4.
enum StickSlot
{
  kStickRed,
  kStickGreen,
  kStickBlue,
  kStickVariation,
  kStickOrientation
};

// The accumulator's height merged with a shape's height v (offset o, gain
// g); the weight by which its colour moves toward the shape's colour.
double mergeHeight(dvector4d& acc, double v, double o, double g)
{
  const double e = (v + o - acc.w) * g;
  if (e <= 0)
    return 0;
  if (e < 0.5) {
    acc.w += e * e / g;
    return 2 * e;
  }
  acc.w = v;
  return 1;
}

void blendColour(dvector4d& acc, double r, double g, double b, double w)
{
  acc.x += (r - acc.x) * w;
  acc.y += (g - acc.y) * w;
  acc.z += (b - acc.z) * w;
}

// Colour c of the colour cycle; colour 3 is grey 128.
void cycleColour(const double* colours, int c, double rgb[3])
{
  for (int k = 0; k < 3; ++k)
    rgb[k] = c == 3 ? 128.0 : colours[3 * c + k];
}

int32_t permAt(const KVtables* t, int64_t v)
{
  return t->perm[v & 1023];
}

double smoothstep01(double t)
{
  return (3 - 2 * t) * t * t;
}

// 1 at a stick line, falling smoothly to 0 at 1/16 from it.
double stickProfile(double s)
{
  const double a = 16 * std::fabs(s);
  return a < 1 ? 1 - smoothstep01(a) : 0;
}

bool altitudeOnly(const fractalsinfos* fi)
{
  return fi->reliefPass != 0;
}

fractalsinfos fractalCopy(gfunc* g)
{
  fractalsinfos fi = g->doc->fractal;
  fi.tables = &g->doc->tables;
  return fi;
}

// Every sample: the accumulator cleared, `layers` run at the scaled
// position, the colour times k0 and output 4 from the height.
template <class Layers, class Height>
void eachRegionSample(gfunc* g, double scale, Layers layers, Height height)
{
  const double k0 = state(g).k0;
  f24_eachSample(g, kF24noValue, [&](double x, double y) {
    dvector4d acc{};
    layers(scale * x, scale * y, acc);
    return F24quad{k0 * acc.x, k0 * acc.y, k0 * acc.z, height(acc.w)};
  });
}

// One coordinate of the polygon walk: the cell, the local coordinate of the
// even layer, and the index and local coordinate of the odd layer.
struct PolyAxis
{
  int64_t even;
  double evenLocal;
  int64_t odd;
  double oddLocal;
};

PolyAxis polyAxis(const F24cell& c)
{
  const int64_t cell = c.i;
  if (c.f > 0.5)
    return {2 * cell, 2 * c.f - 1, 2 * (cell + 1), 2 * (c.f - 1)};
  return {2 * cell, 2 * c.f - 1, 2 * cell, 2 * c.f};
}

using PolyBody = int32_t (*)(const KVtables*, double, double, int64_t, int64_t, const double*,
                             dvector4d*);

// Four offset lattices of regions cover every sample: the even regions
// centred at half-integers and the odd ones shifted by half a region.
void polygonLayers(const gfunc* g, PolyBody body, const double* colours, double X, double Y,
                   dvector4d& acc)
{
  F24cell cx, cy;
  if (!f24_split(X, cx) || !f24_split(Y, cy))
    return;
  const KVtables* t = f24_tables(g);
  const PolyAxis ax = polyAxis(cx), ay = polyAxis(cy);
  body(t, ax.evenLocal, ay.evenLocal, ax.even, ay.even, colours, &acc);
  body(t, ax.oddLocal, ay.evenLocal, ax.odd + 1, ay.even, colours, &acc);
  body(t, ax.oddLocal, ay.oddLocal, ax.odd + 1, ay.odd + 1, colours, &acc);
  body(t, ax.evenLocal, ay.oddLocal, ax.even, ay.odd + 1, colours, &acc);
}

void polygonCompute(gfunc* g, PolyBody body)
{
  const RegionState& s = state(g);
  eachRegionSample(
      g, s.k2,
      [&](double X, double Y, dvector4d& acc) { polygonLayers(g, body, s.colours, X, Y, acc); },
      [&](double h) { return s.k1 * h; });
}

// One star of the star field: its profile at (x, y), or 0 outside it.
double starProfile(double x, double y, double sc, const double* p)
{
  const double r = 1 - sc;
  const double dx = sc * p[0] + x, dy = sc * p[1] + y;
  const double d2 = dx * dx + dy * dy;
  if (!(r * r > d2))
    return 0;
  const double f = (r - std::sqrt(d2)) / r;
  const double f4 = f * f * f * f;
  return (f4 * f4 - f4) * f + f4;
}

}  // namespace

// ---- Bodies ---------------------------------------------------------------------

int32_t f2dregionPolyA(const KVtables* t, double x, double y, int64_t i, int64_t j,
                       const double* colours, dvector4d* acc)
{
  const int32_t h = permAt(t, j + permAt(t, i) + (i >> 9));
  const double off = h * 0.0006509765625;
  double v = 0;
  switch (h % 4) {
    case 0:
      v = 1 - std::max(std::fabs(y), std::fabs(x) + off);
      break;
    case 1:
      v = 1 - std::max(std::fabs(y) + off, std::fabs(x));
      break;
    case 2:
      v = 1 - std::max(std::fabs(y) + off, std::fabs(x) + off);
      break;
    default:
      return 0;  // an empty region
  }
  if (v <= 0)
    return 0;
  const int c = permAt(t, i + permAt(t, j) + 333 + (j >> 9)) % 4;
  v = std::min(v, (c + 2) * 0.125);
  if (v > acc->w) {
    acc->w = v;
    double rgb[3];
    cycleColour(colours, c, rgb);
    acc->x = rgb[0];
    acc->y = rgb[1];
    acc->z = rgb[2];
  }
  return 1;
}

int32_t f2dregionPolyB(const KVtables* t, double x, double y, int64_t i, int64_t j,
                       const double* colours, dvector4d* acc)
{
  const int32_t h = permAt(t, i + permAt(t, j) + 333 + (j >> 9));
  double v = 1 - std::max(std::fabs(x), std::fabs(y));
  const double off = h * 0.000390625 + 0.5;
  const double down = (y - x) * 0.707, up = (x + y) * 0.707;
  switch (h % 6) {
    case 0:
      v = std::min(v, down + off);
      break;
    case 1:
      v = std::min(v, up + off);
      break;
    case 2:
      v = std::min(v, off - up);
      break;
    case 3:
      v = std::min(v, off - down);
      break;
    case 4:
      v = std::min({v, off + down, off - down});
      break;
    default:
      v = std::min({v, off + up, off - up});
      break;
  }
  if (v <= 0)
    return 0;
  v = std::min(v, (permAt(t, j + permAt(t, i) + (i >> 9)) % 4 + 3) * 0.125);
  const double w = mergeHeight(*acc, v, 0.025, 10);
  double rgb[3];
  cycleColour(colours, (h >> 3) % 4, rgb);
  blendColour(*acc, rgb[0], rgb[1], rgb[2], w);
  return 0;
}

int32_t f2dregionSticks(fractalsinfos* fi, double x, double y, double, int32_t code,
                        regionrecord* record, dvector4d* acc)
{
  const double w = 1 - (x * x + y * y);
  if (w <= 0)
    return 0;
  const double* d = record->values;
  const double o = d[kStickOrientation];
  const KVtables* t = fi->tables;
  const double* p = t->planeVec3D[code & 255];
  const double* q = t->planeVec3D[(code + 1) & 255];
  const double* r = t->planeVec3D[(code + 33) & 255];
  const double s1 = ((std::fabs(p[0]) - 1) * o + 1) * x + o * p[1] * y + q[0];
  const double s2 = ((std::fabs(r[0]) - 1) * o + 1) * x + o * r[1] * y + q[1];
  const double h1 = stickProfile(s1), h2 = stickProfile(s2);
  const double m = h2 + 0.0375;
  double h = h1;
  if (h1 <= m) {
    const double u = (m - h1) / 0.15;
    h = u < 0.5 ? h1 + 0.15 * u * u : h2;
  }
  if (h <= 0)
    return 0;
  const double weight = mergeHeight(*acc, w * h, 0.1, 2.5);
  if (!altitudeOnly(fi) && weight > 0) {
    const double* g = t->rndVec3D[code & 1023];
    const double c = d[kStickVariation], a = acc->w;
    blendColour(*acc, (c * g[0] + d[kStickRed]) * a, (c * g[1] + d[kStickGreen]) * a,
                (c * g[2] + d[kStickBlue]) * a, weight);
  }
  return 1;
}

int32_t f2dregionArcNoise(fractalsinfos* fi, double x, double y, double param, int32_t code,
                          regionrecord*, dvector4d* acc)
{
  const double w = 1 - (x * x + y * y);
  if (w <= 0)
    return 0;
  const KVtables* t = fi->tables;
  const double* p = t->planeVec3D[code & 255];
  const double m = w * w - 0.0375;
  const double s = y + (x * p[0] + y * p[1] - y) * param + p[2] + 0.2;
  double h = s;
  if (s >= m) {
    const double u = (m - s) / 0.15;
    h = u > -0.5 ? s - 0.15 * u * u : w * w;
  }
  if (h < 0)
    return 0;
  const double weight = mergeHeight(*acc, h, 0.1, 2.5);
  if (!altitudeOnly(fi) && weight > 0) {
    const double* g = t->rndVec3D[code & 1023];
    const double a = acc->w;
    blendColour(*acc, (g[0] * 100 + 100) * a, (g[1] * 100 + 180) * a, (g[2] * 100 + 120) * a,
                weight);
  }
  return 1;
}

int32_t f2dregionStars(fractalsinfos* fi, double x, double y, double, int32_t code,
                       regionrecord* record, dvector4d* acc)
{
  const KVtables* t = fi->tables;
  const double* d = record->values;
  const bool colours = !altitudeOnly(fi);
  struct Star
  {
    int32_t code;
    double scale;
    double variation;
    double base[3];
  };
  const double* p1 = t->planeVec3D[code & 255];
  const double* p2 = t->planeVec3D[(code + 11) & 255];
  const Star stars[2] = {{code, 0.5 + p1[2], d[0], {150, 170, 200}},
                         {code + 11, 0.9 * p2[2] + 0.6, d[1], {90, 120, 200}}};
  int32_t touched = 0;
  for (const Star& s : stars) {
    const double profile = starProfile(x, y, s.scale, t->planeVec3D[s.code & 255]);
    if (profile == 0)
      continue;
    touched = 1;
    acc->w += profile;
    if (colours) {
      const double* g = t->rndVec3D[s.code & 1023];
      acc->x += (s.variation * g[0] + s.base[0]) * profile;
      acc->y += (s.variation * g[1] + s.base[1]) * profile;
      acc->z += (s.variation * g[2] + s.base[2]) * profile;
    }
  }
  return touched;
}

// ---- Message 8 ----------------------------------------------------------------

namespace {

void polygonPrepare(gfunc* g, double heightFactor)
{
  RegionState& s = state(g);
  s.k0 = (0.5 * g->A + 0.5) / 32;
  s.k1 = heightFactor;
  s.k2 = 0.5 * g->C;
  GetTripleColorCycle(s.colours, g->B, true);
}

}  // namespace

void f24_PolyA_prepare(gfunc* g)
{
  polygonPrepare(g, 6.4 * g->A);
}

void f24_PolyB_prepare(gfunc* g)
{
  polygonPrepare(g, 4 * g->A * 1.3333333333333333);
}

void f24_RegionA_prepare(gfunc* g)
{
  RegionState& s = state(g);
  s.k0 = 0.03125;
  s.k1 = 4;
  double* d = s.record.values;
  d[kStickRed] = 150;
  d[kStickGreen] = 130 - 30 * g->B;
  d[kStickBlue] = 80 - 20 * g->B;
  d[kStickVariation] = 150 * g->B;
  d[kStickOrientation] = g->A;
}

void f24_RegionB_prepare(gfunc* g)
{
  RegionState& s = state(g);
  s.k0 = (0.5 * g->A + 0.5) / 32;
  s.k1 = 4 * g->A;
}

void f24_starfield_prepare(gfunc* g)
{
  RegionState& s = state(g);
  s.k0 = g->A / 32;
  s.k1 = 4;
  s.record.values[0] = 100 * g->B;
  s.record.values[1] = 50 * g->B;
}

// ---- Computes -------------------------------------------------------------------

void f24_PolyA(gfunc* g)
{
  polygonCompute(g, f2dregionPolyA);
}

void f24_PolyB(gfunc* g)
{
  polygonCompute(g, f2dregionPolyB);
}

// Two sets of eight jittered layers, the second far from the first.
void f24_RegionA(gfunc* g)
{
  RegionState& s = state(g);
  fractalsinfos fi = fractalCopy(g);
  const double orientation = g->A;
  eachRegionSample(
      g, g->C,
      [&](double X, double Y, dvector4d& acc) {
        fregionJitterOverlap8(&fi, X, Y, orientation, f2dregionSticks, &s.record, &acc);
        fregionJitterOverlap8(&fi, X + 1273.3, Y + 7273.3, orientation, f2dregionSticks, &s.record,
                              &acc);
      },
      [&](double h) { return (h - 0.25) * s.k1; });
}

void f24_RegionB(gfunc* g)
{
  RegionState& s = state(g);
  s.record.values[kRegionJitterSlot] = 0.5;
  fractalsinfos fi = fractalCopy(g);
  const double tilt = g->B;
  eachRegionSample(
      g, g->C,
      [&](double X, double Y, dvector4d& acc) {
        fregionJitterOverlap4(&fi, X, Y, tilt, f2dregionArcNoise, &s.record, &acc);
      },
      [&](double h) { return s.k1 * h; });
}

void f24_starfield(gfunc* g)
{
  RegionState& s = state(g);
  fractalsinfos fi = fractalCopy(g);
  eachRegionSample(
      g, g->C,
      [&](double X, double Y, dvector4d& acc) {
        fregionOverlap(&fi, X, Y, 0.0, f2dregionStars, &s.record, &acc, 1);
      },
      [](double h) { return 4 * h; });
}

// ---- Handlers -------------------------------------------------------------------

int16_t f24_PolyA_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_PolyA, g, m, a, b, c);
}
int16_t f24_PolyB_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_PolyB, g, m, a, b, c);
}
int16_t f24_RegionA_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_RegionA, g, m, a, b, c);
}
int16_t f24_RegionB_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_RegionB, g, m, a, b, c);
}
int16_t f24_starfield_handler(gfunc* g, int16_t m, double* a, double* b, double* c)
{
  return KV_memberHandler(kF24_starfield, g, m, a, b, c);
}
