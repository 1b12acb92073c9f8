#include "components/f24/f24_octavebodies.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "noise/lattice.h"
#include "noise/noises.h"

namespace {

using kvnoise::columnKey;

const KVtables* tablesOf(const fractalsinfos* F)
{
  return F->tables;
}

bool colourWanted(const fractalsinfos* F)
{
  return F->reliefPass == 0;
}

// Smoothstep on u clamped to [0, 1].
double S(double u)
{
  if (u <= 0)
    return 0;
  return u >= 1 ? 1 : u * u * (3 - 2 * u);
}

// Rounded absolute value: t^2 near 0, |t| - 0.25 from 0.5 on.
double V(double t)
{
  const double a = std::fabs(t);
  return a < 0.5 ? a * a : a - 0.25;
}

// Soft sign: -1 and 1 beyond the unit interval, rounded between.
double softSign(double v)
{
  if (v <= -1)
    return -1;
  if (v >= 1)
    return 1;
  return v >= 0 ? (2 - v) * v : (v + 2) * v;
}

// c sharpened toward 1: (2 - c) c up to 1, then 1.
double easeOut(double c)
{
  return c <= 1 ? (2 - c) * c : 1.0;
}

void set(dvector4d* acc, double a, double b, double c, double d)
{
  *acc = dvector4d{a, b, c, d};
}

// Moves the colour elements (from `first`, three of them) toward target by t.
void blendColour(double* e, const double target[3], double t)
{
  for (int i = 0; i < 3; ++i)
    e[i] += (target[i] - e[i]) * t;
}

double* rgbL0(dvector4d* acc)
{
  return &acc->y;
}
double* rgbL3(dvector4d* acc)
{
  return &acc->x;
}

// The lattice cell of (x, y) by the checked split; false where the point has
// none (NaN, beyond 32 bits): the bodies then leave the octave unchanged.
struct Cell
{
  int32_t ix, iy;
  double fx, fy;
};

bool cellOf(double x, double y, Cell& c)
{
  return kvnoise::cellSplit(x, c.ix, c.fx) && kvnoise::cellSplit(y, c.iy, c.fy);
}

int32_t plus(int32_t i, int d)
{
  return int32_t(uint32_t(i) + uint32_t(d));
}

// The feature points of the 3 x 3 cells around c, column by column (rows
// ascending): the vector of cell (cx, cy) is the rndVec3D entry of its column
// key, the three rows of a column being consecutive entries; the point lies
// at (cx + 0.5 + jitter vx, cy + 0.5 + jitter vy). visit(D, v) gets the
// squared distance to (x, y) and the vector.
template <class Visit>
void forEachFeature(const KVtables* t, const Cell& c, double x, double y, double jitter,
                    Visit visit)
{
  for (int dc = -1; dc <= 1; ++dc) {
    const uint32_t row0 = columnKey(t->perm, plus(c.ix, dc), plus(c.iy, -1)) & 1023u;
    for (int dr = -1; dr <= 1; ++dr) {
      const double* v = t->rndVec3D[row0 + uint32_t(dr + 1)];
      const double dx = double(c.ix) + dc + 0.5 - x + jitter * v[0];
      const double dy = double(c.iy) + dr + 0.5 - y + jitter * v[1];
      visit(dx * dx + dy * dy, v);
    }
  }
}

constexpr double kRockJitter = 0.375;

// The sum over the features nearer than sqrt(R2) of shape(D, vz).
template <class Shape>
double featureSum(const KVtables* t, const Cell& c, double x, double y, double R2, Shape shape)
{
  double r = 0;
  forEachFeature(t, c, x, y, kRockJitter, [&](double D, const double* v) {
    if (D < R2)
      r += shape(D, v[2]);
  });
  return r;
}

}  // namespace

double f24_softMax(double a, double b, double span)
{
  const double margin = 0.25 * span;
  if (b + margin < a)
    return a;
  const double u = (b + margin - a) / span;
  return u < 0.5 ? a + span * u * u : b;
}

double f24_softMin(double a, double b, double span)
{
  const double v = b - 0.25 * span;
  if (v > a)
    return a;
  const double u = (v - a) / span;
  return u > -0.5 ? a - span * u * u : b;
}

double f24_softFloor(double c)
{
  return f24_softMax(c, 0.0, 0.04);
}

// ---- Ridged, facet, granite and multifractal bodies ---------------------------------

bool fp4ridgednoise(fractalsinfos* F, double x, double y, double, double w, double* state,
                    double weight, short octave, dvector4d* acc)
{
  if (octave <= 0)
    set(acc, 0.5, 0.46, 0.42, 0.39);
  if (octave < 0)
    return false;
  const KVtables* t = tablesOf(F);
  double a, b;
  fPerlinNoise2D_DBL(t, x + 0.5 * acc->x, y, &a, &b, 0.004);
  auto ridge = [](double n) {
    const double s = 4 * std::fabs(n);
    return s < 0.5 ? 1 - 0.25 * s * s : 1 - 0.25 * (s - 0.25);
  };
  const double r1 = ridge(a), r2 = ridge(b);
  double h = r1 + (f24_softMin(r1, r2, 0.1) - r1) * (1.8 - w);
  if (octave == 0) {
    h = (h + 0.25) * frandom2D(t, 0.49 * x, 0.49 * y) / 1024;
    F->paramB = 0.8;
    acc->x = h;
    *state = h;
  } else {
    const double s = *state;
    acc->x += S(s) * h * weight;
    *state = h * (s + 0.1 * w);
  }
  if (colourWanted(F)) {
    const double c =
        F->paramB + (frandom3D(t, x, y, 2 * acc->x) - 512) * ((weight - 1) * 0.6 + 1) / 1024;
    F->paramB = c;
    const double k = std::min(*state, 1.0);
    const double target[3] = {0.3 * c, 0.35 * c, 0.4 * c};
    blendColour(rgbL0(acc), target, k);
  }
  return false;
}

namespace {

constexpr double kFacetJitter = 0.33;

// The smallest squared distance to the feature points around c, at most 1.
double facetDistance(const KVtables* t, const Cell& c, double x, double y)
{
  double m = 1.0;
  forEachFeature(t, c, x, y, kFacetJitter, [&](double D, const double*) { m = std::min(m, D); });
  return m;
}

// Smooth value noise of the x components of the cell corners' random
// vectors, blended by the smoothstep of the fractions.
double facetShade(const KVtables* t, const Cell& c)
{
  const uint32_t a = kvnoise::hash2D(t, c.ix, c.iy), b = kvnoise::hash2D(t, plus(c.ix, 1), c.iy);
  auto vx = [&](uint32_t row) { return t->rndVec3D[row][0]; };
  return kvnoise::bilinear(vx(a), vx(b), vx(a + 1), vx(b + 1), S(c.fx), S(c.fy));
}

}  // namespace

bool fp4dFacets(fractalsinfos* F, double x, double y, double, double w, double* state,
                double weight, short octave, dvector4d* acc)
{
  if (octave <= 0)
    set(acc, 0.25, 0.5, 0.5, 0.5);
  Cell cell;
  if (octave < 0 || !cellOf(x, y, cell))
    return false;
  const KVtables* t = tablesOf(F);
  const double m = facetDistance(t, cell, x, y);
  const double q = 1.5 * S(w * m);
  if (octave == 0) {
    acc->x = m;
    *state = q;
  } else {
    const double s = *state;
    acc->x += m * s * weight;
    *state = q * s;
  }
  if (colourWanted(F)) {
    const double c = q < 0.1 ? 0.05 : (q <= 1 ? 0.5 * q : 0.5);
    const double n = facetShade(t, cell);
    acc->y += 0.3 * c * n;
    acc->z += 0.35 * c * n;
    acc->w += 0.4 * c * n;
  }
  return false;
}

bool fp4MFlunargranit(fractalsinfos* F, double x, double y, double, double w, double* state,
                      double weight, short octave, dvector4d* acc)
{
  if (octave <= 0)
    set(acc, 0, 0.5, 0.5, 0.5);
  if (octave < 0)
    return false;
  const KVtables* t = tablesOf(F);
  const double n = frandom2DUnitgrain(t, x, y);
  const double q = S(n * F->paramB) + w;
  const double s = *state;
  if (octave == 0) {
    acc->x = 0;
    *state = q;
    return false;
  }
  acc->x += n * s * weight;
  *state = q * (w + s) + 0.07 * w;
  if (!colourWanted(F))
    return false;
  const double r = frandom2DUnit(t, 0.5 * x + n, 0.5 * y - n);
  const double tone = std::min(0.8 * (r + 0.5), 1.0);
  const double u = 2 * std::max(tone, 0.0);
  double rgb[3];
  if (tone < 0.5) {
    rgb[0] = 0.5 * u - 0.5, rgb[1] = 0.8 * u - 0.6, rgb[2] = 0.75 * u - 0.7;
  } else {
    const double e = u - 1;
    rgb[0] = 0.7 * e, rgb[1] = 0.39999999999999997 * e + 0.2, rgb[2] = 0.45 * e + 0.05;
  }
  const double k = (s + 0.1) * F->paramA;
  acc->y += rgb[0] * k;
  acc->z += rgb[1] * k;
  acc->w += rgb[2] * k;
  return false;
}

bool fp4MF2dnoise(fractalsinfos* F, double x, double y, double z, double w, double* state,
                  double weight, short octave, dvector4d* acc)
{
  if (octave <= 0)
    set(acc, 0, 0.5, 0.5, 0.5);
  if (octave < 0)
    return false;
  const KVtables* t = tablesOf(F);
  const double n = fPerlinNoise2D(t, x, y) / 300;
  const double q = softSign(n * w);
  double s;
  if (octave == 0) {
    acc->x = n;
    *state = s = q;
  } else {
    s = *state;
    acc->x += n * s * weight;
    *state = (0.1 * w + s) * q;
  }
  if (colourWanted(F)) {
    double cx, cy, cz;
    frandom3DVector3D(t, x, y, z, &cx, &cy, &cz, F->paramA / 512);
    acc->y += s * cx;
    acc->z += s * cy;
    acc->w += s * cz;
  }
  return false;
}

bool fp4sparceMFnoise(fractalsinfos* F, double x, double y, double z, double w, double* state,
                      double weight, short octave, dvector4d* acc)
{
  if (octave <= 0)
    set(acc, 0, 0.5, 0.5, 0.5);
  if (octave < 0)
    return false;
  const KVtables* t = tablesOf(F);
  const double n = fPerlinNoise2D(t, x, y) / 300;
  double s;
  if (octave == 0) {
    *state = s = S((2 * w + 1) * n + w);
    acc->x = n < 0 ? 0 : (n < 0.5 ? n * n : n - 0.25);
  } else {
    const double a = octave <= 5 ? 0.1 * octave : 0.5, b = octave <= 5 ? 1 - a : 0.5;
    const double q = S(b * w + a + (2 * w + 1) * n);
    s = *state;
    acc->x += n * s * weight;
    *state = 0.025 * w + (q + 0.33 * w * (1 - q)) * s;
  }
  if (colourWanted(F)) {
    double cx, cy, cz;
    frandom3DVector3D(t, x / 4, y / 4, z / 4, &cx, &cy, &cz, s * F->paramA);
    acc->y += cx;
    acc->z += cy;
    acc->w += cz;
  }
  return false;
}

// ---- Dome and rock bodies -----------------------------------------------------------

bool fp4domerock(fractalsinfos* F, double x, double y, double, double w, double* state,
                 double weight, short octave, dvector4d* acc)
{
  if (octave < 0) {
    set(acc, 0.5, 0.6, 0.5, 0.4);
    return false;
  }
  Cell cell;
  if (!cellOf(x, y, cell))
    return false;
  double r = featureSum(tablesOf(F), cell, x, y, 1.0, [](double D, double vz) {
    if (vz <= 0.1)
      return 0.0;
    const double e = (1 - D) * (1 - D);
    return e * e * (0.4 * vz + 0.65);
  });
  // Octaves 3 to 8 square the domes off toward plateaus, less so the finer.
  const double k = 0.15 * (octave - 2);
  if (k > 0 && k < 1) {
    const double lo = r - 0.25, hi = 2 * r - 0.1;
    const double q = S(lo + (hi - lo) * w);
    r = q + (r - q) * k;
  }
  const double tr = 1 - r;
  if (octave == 0) {
    set(acc, r, 0.6, 0.5 + 0.02 * r, 0.4 + 0.05 * r);
    *state = tr;
    return false;
  }
  const double s = *state;
  acc->x += r * s * weight;
  *state = tr * s + 0.25 * w * (tr - tr * s);
  if (!colourWanted(F))
    return false;
  if (octave <= 2) {
    acc->y -= 0.02 * r;
    acc->z += 0.07 * r;
    acc->w += 0.1 * r;
  }
  const double c = ((s + 0.5) * r - 0.3) * (weight + 0.1);
  acc->y += (c < 0 ? 0.06 * octave + 0.6 : 0.03 * octave + 0.6) * c;
  acc->z += (0.07 * octave + 0.47) * c;
  acc->w += (0.1 * octave + 0.27) * c;
  return false;
}

namespace {

struct DomeHit
{
  double best = 0;
  int code = 0;
};

// The highest dome over the 3 x 3 cells (soft maximum), with the code of the
// last dome that reached the running best.
DomeHit highestDome(const KVtables* t, const Cell& c, double x, double y, double w)
{
  DomeHit hit;
  for (int dx = -1; dx <= 1; ++dx) {
    const int32_t cx = plus(c.ix, dx);
    for (int dy = -1; dy <= 1; ++dy) {
      const int32_t cy = plus(c.iy, dy);
      const int32_t P = t->perm[kvnoise::usum(t->perm[cx & 1023], cx >> 8, cy) & 1023u];
      if ((P & 1) == 0)
        continue;
      const int code = P & 255;
      const double* v = t->planeVec3D[code];
      const double ox = x - 0.5 - (double(c.ix) + dx) + 0.33 * v[0];
      const double oy = y - 0.5 - (double(c.iy) + dy) + 0.33 * v[1];
      const double D = ox * ox + oy * oy;
      if (D >= 1)
        continue;
      const double h = S((1 - D) * (1 - D) * (2 * w + 0.5)) * (0.00294117647 * code + 0.25);
      if (h >= hit.best)
        hit.code = code;
      hit.best = f24_softMax(hit.best, h, 0.05);
    }
  }
  return hit;
}

}  // namespace

bool fp4RandomDomes(fractalsinfos* F, double x, double y, double, double w, double*, double weight,
                    short octave, dvector4d* acc)
{
  if (octave < 0) {
    set(acc, 0.6, 0.6, 0.6, 0.7);
    return false;
  }
  if (octave > 0 && weight - 0.025 <= acc->w)
    return false;
  Cell cell;
  if (!cellOf(x, y, cell))
    return false;
  const KVtables* t = tablesOf(F);
  const DomeHit dome = highestDome(t, cell, x, y, w);
  double blend = 1;
  if (octave == 0) {
    set(acc, 0.6, 0.6, 0.6, dome.best);
  } else {
    const double s = weight * dome.best;
    const double g = s + 0.0125 - acc->w;
    if (g <= 0) {
      blend = 0;
    } else if (20 * g < 0.5) {
      blend = 40 * g;
      acc->w += 0.05 * (20 * g) * (20 * g);
    } else {
      acc->w = s;
    }
  }
  const double L = 0.8 - octave / 6.0;
  if (!colourWanted(F) || L <= 0)
    return false;
  constexpr double kTint = 0.00028571428571428574;
  const double u = 0.33 * dome.code;
  const double colour[3] = {(frandom1D(t, u) * kTint + L) * dome.best,
                            (frandom1D(t, u + 777.3) * kTint + L) * dome.best,
                            (frandom1D(t, u + 333.5) * kTint + L) * dome.best};
  blendColour(rgbL3(acc), colour, blend);
  return false;
}

bool fp4dLichenRocks(fractalsinfos* F, double x, double y, double, double w, double* state,
                     double weight, short octave, dvector4d* acc)
{
  if (octave < 0) {
    set(acc, 0.25, 0.5, 0.5, 0.5);
    return false;
  }
  Cell cell;
  if (!cellOf(x, y, cell))
    return false;
  // Smaller, steeper rocks where the octaves below are low.
  const double sigma = octave == 0 ? w / 4 : S(0.5 * w + *state);
  const double R2 = 0.9375 * sigma + 0.0625;
  const double H = (2 - 0.5 * sigma) / R2;
  const double r = featureSum(tablesOf(F), cell, x, y, R2,
                              [&](double D, double vz) { return V((R2 - D) * std::fabs(vz) * H); });
  if (octave == 0) {
    set(acc, r, 0.8 - 0.3 * r, 0.7 - 0.2 * r, 0.6 - 0.1 * r);
    *state = r;
    return false;
  }
  if (colourWanted(F)) {
    if (octave % 2 == 0) {
      acc->y += 0.1 * r;
      acc->z += 0.1 * r;
    } else {
      acc->y -= 0.1 * r;
      acc->w -= 0.1 * r;
    }
  }
  acc->x += weight * r;
  *state = 1 - (1 - r) * (1 - *state);
  return false;
}

bool fp4dirtyBubbles(fractalsinfos* F, double x, double y, double, double w, double* state,
                     double weight, short octave, dvector4d* acc)
{
  if (octave < 0) {
    set(acc, 0.25, 0.5, 0.5, 0.5);
    return false;
  }
  Cell cell;
  if (!cellOf(x, y, cell))
    return false;
  const KVtables* t = tablesOf(F);
  const double R2 = 0.4375 * w + 0.0625;
  double r = featureSum(t, cell, x, y, R2, [&](double D, double vz) {
    return V((R2 - D) * std::fabs(vz) * 1.5 / R2);
  });
  if (r > 0) {
    // Dirt in the grooves of a vector noise.
    double a, b;
    fPerlinNoise2DVector2D(t, std::numbers::pi * x, std::numbers::pi * y, &a, &b, 1.5);
    double c = 1 - std::fabs(a - b);
    if (c > 0) {
      c = c * c;
      if (colourWanted(F)) {
        acc->y -= 0.18 * c;
        acc->z -= 0.17 * c;
        acc->w -= 0.15 * c;
      }
      r = r * (1 - 0.4 * c);
    }
  }
  if (octave == 0) {
    set(acc, r, 0.8 - 0.3 * r, 0.7 - 0.2 * r, 0.6 - 0.1 * r);
    *state = 1 - r;
    return false;
  }
  if (colourWanted(F)) {
    if (octave == 1) {
      acc->y -= 0.3 * r, acc->z -= 0.2 * r, acc->w -= 0.1 * r;
    } else if (octave % 2 == 0) {
      acc->y += 0.12 * r, acc->z += 0.13 * r, acc->w += 0.15 * r;
    } else {
      acc->y -= 0.11 * r, acc->z -= 0.12 * r, acc->w -= 0.14 * r;
    }
  }
  const double s = std::max(*state, 0.0);
  acc->x += r * s * weight;
  *state = s * (1.1 - r);
  return false;
}

// ---- Pebble, dune and crack bodies ---------------------------------------------------

bool fpbeachrockdisplace2D(fractalsinfos* F, double x, double y, double, double w, double* state,
                           double weight, short octave, dvector2d* d)
{
  if (octave < 0) {
    *d = dvector2d{0, 0};
    return false;
  }
  double a, b;
  fPerlinNoise2DVector2D(tablesOf(F), x, y, &a, &b, 2.0);
  const double M = f24_softMax(std::fabs(a), std::fabs(b), 0.25);
  if (octave == 0) {
    *d = dvector2d{a / 2, b / 2};
    *state = 0.5 * (M - 1) + 1;
    return false;
  }
  const double s = *state;
  d->x += a * weight * s;
  d->y += b * weight * s;
  *state = s * (M + w);
  return false;
}

namespace {

// The target colour of a pebble that rises at `octave` (1 to 5), r its
// random tone and h the new height.
void pebbleColour(short octave, double r, double h, double out[3])
{
  const double c = 0.05 * h;
  switch (octave) {
    case 1:
      out[0] = 0.7 * r + 0.6, out[1] = 0.75 * r + 0.57, out[2] = r + 0.5;
      break;
    case 2:
      out[0] = 0.75 * r + 0.5 - c, out[1] = 0.86 * r + 0.55 - c, out[2] = 0.87 * r + 0.6 - c;
      break;
    case 3:
      out[0] = 0.8 * r + 0.55, out[1] = 0.9 * r + 0.4, out[2] = r + 0.4;
      break;
    default:
      out[0] = 0.86 * r + 0.4 + 2 * c, out[1] = 0.87 * r + 0.4 + c, out[2] = r + 0.4 - c;
      break;
  }
}

}  // namespace

bool fp4beachrocks(fractalsinfos* F, double x, double y, double, double, double* state,
                   double weight, short octave, dvector4d* acc)
{
  if (octave < 0) {
    set(acc, 0.8, 0.75, 0.75, 0);
    *state = 0.225;
    return false;
  }
  const KVtables* t = tablesOf(F);
  const double E = std::exp(0.3 * octave);
  double a, b;
  fPerlinNoise2D_DBL(t, x + E * F->paramA, y + E * F->paramB, &a, &b, 0.004);
  // A pebble core where the product of the two rounded noises is large.
  const double p = 9 * V(a) * V(b) - 0.65 + 0.15 * octave;
  double h = 0;
  if (p > 0) {
    double q = 3 * p;
    q = q >= 0.5 ? q - 0.25 : q * q;
    h = std::log(q + 1);
  }
  if (octave == 0) {
    *state = p;
    set(acc, 0.8, 0.75, 0.75, h);
    if (colourWanted(F) && p + 0.125 > 0) {
      const double k = std::min(4 * (p + 0.125), 1.0);
      const double r = (frandom3D(t, x, y, 0.8) - 512) / 950;
      const double target[3] = {0.88 * r + 0.5, 0.85 * r + 0.5, r + 0.5};
      blendColour(rgbL3(acc), target, k);
    }
    return false;
  }
  const double s6 = weight * h;
  *state = std::max(*state, h);
  const double a3 = acc->w;
  acc->w = f24_softMax(a3, s6, 0.05);
  const double m = 12 * (s6 - a3);
  if (colourWanted(F) && m > 0) {
    // Each pebble that rises above the ones below paints its own colour.
    const double r = (frandom3D(t, x, y, acc->w) - 512) / 900;
    double target[3];
    pebbleColour(octave, r, acc->w, target);
    blendColour(rgbL3(acc), target, std::min(m, 1.0));
  }
  return false;
}

namespace {

// Rounded |4 n|: the profile of the dune ripples.
double rippleProfile(double n)
{
  const double t = 4 * std::fabs(n);
  return t >= 0.5 ? t - 0.25 : t * t;
}

}  // namespace

bool fp4dunes(fractalsinfos* F, double x, double y, double, double w, double*, double weight,
              short octave, dvector4d* acc)
{
  const double P1 = F->paramA;
  if (octave <= 0)
    set(acc, 0.2, 1.0, 0.9 - 0.04 * P1, 0.5 + 0.15 * P1);
  const KVtables* t = tablesOf(F);
  if (octave == 0) {
    const double X = x + P1, Y = y + 0.3 * (X - y);
    const double a = fPerlinDunes(t, X, Y, w);
    const double b = fPerlinDunes(t, X + 333.15, Y + 123.85, w);
    const double h = f24_softMin(a, b, 0.15) + 0.8;
    acc->x = h;
    if (colourWanted(F)) {
      acc->y += 0.05 * h;
      acc->z += 0.05 * h;
      acc->w += 0.05 * h;
    }
    // The strength of the ripples in the troughs.
    const double e = P1 + 0.3 - 1.5 * h;
    F->paramB = e < 0 ? 0.0 : (e <= 1 ? 0.25 * e : 0.25);
  } else if (octave == 6 && F->paramB > 0) {
    const double X = 2 * std::numbers::pi * acc->x + 0.5 * x + P1, Y = y + 0.4 * (X - y);
    const double r = rippleProfile(fPerlinDunes(t, X, Y, 0.4));
    acc->x += F->paramB * (1 - 0.25 * r) * weight;
  }
  return false;
}

bool fpMFdisplace2D(fractalsinfos* F, double x, double y, double, double w, double* state,
                    double weight, short octave, dvector2d* d)
{
  if (octave < 0) {
    *d = dvector2d{0, 0};
    return false;
  }
  double a, b;
  fPerlinNoise2DVector2D(tablesOf(F), x, y, &a, &b, 2.0);
  const double q = S((std::fabs(a) + std::fabs(b)) * (w + 0.5));
  if (octave == 0) {
    *d = dvector2d{a / 2, b / 2};
    *state = 0.5 * (q - 1) + 1;
    return false;
  }
  const double s = *state;
  d->x += a * weight * s;
  d->y += b * weight * s;
  const double k = (s + 0.05) * q;
  *state = k + 0.1 * (s - k);
  return false;
}

bool fp4earthcracks(fractalsinfos* F, double x, double y, double, double w, double* state,
                    double weight, short octave, dvector4d* acc)
{
  if (octave < 0) {
    set(acc, 0.25, 0.75, 0.65, 0.55);
    return false;
  }
  const double v = fPerlinDunes(tablesOf(F), x, y, F->paramB + 0.35) * (1.5 * w + 0.5);
  const bool turn = v >= 0;
  if (octave > 3)
    return turn;
  const double c = f24_softFloor(1.02 * std::fabs(v) - 0.01);
  double e = easeOut(c);
  // The crack edges sharpen at the coarse octaves.
  for (int i = octave; i < 3 && e < 1; ++i)
    e = e * (2 - e);
  if (octave == 0) {
    *state = e;
    set(acc, e, 0.55, 0.45, 0.35);
    return turn;
  }
  const double a0 = acc->x;
  acc->x = e * a0;
  if (colourWanted(F)) {
    const double k = e * a0 * weight;
    acc->y += 0.2 * k;
    acc->z += 0.25 * k;
    acc->w += 0.3 * k;
  }
  *state = v > 0 ? e : -e;
  return turn;
}

// ---- Curve, vein and cloud bodies -----------------------------------------------------

namespace {

// The colour of a curve of strength e (0 to 1): the bright half's red is
// redSlope t + redBase, the dark half's lowRed t.
void curveColour(double e, double redSlope, double redBase, double lowRed, double out[3])
{
  if (e >= 0.5) {
    const double t = 2 * e - 1;
    out[0] = redSlope * t + redBase;
    out[1] = 0.050000000000000044 * t + 0.75;
    out[2] = 0.47000000000000003 * t + 0.33;
  } else {
    const double t = 2 * e;
    out[0] = lowRed * t;
    out[1] = 0.45 * t + 0.3;
    out[2] = 0.23 * t + 0.1;
  }
}

}  // namespace

bool fp4rivernoiseCD(fractalsinfos* F, double x, double y, double, double w, double* state,
                     double weight, short octave, dvector4d* acc)
{
  if (octave < 0) {
    set(acc, 0.45, 0.45, 0.6, 0.45);
    return false;
  }
  const double n = fPerlinDunes(tablesOf(F), x, y, F->paramB + 0.15);
  const double c = f24_softFloor(1.02 * std::fabs((0.5 * w + 0.5) * n) - 0.01);
  const double e = easeOut(c);
  const double j = 4 * e * (1 - e);
  double rgb[3];
  if (octave == 0) {
    curveColour(e, 0.30000000000000004, 0.5, 0.5, rgb);
    set(acc, e, rgb[0], rgb[1], rgb[2]);
    *state = j;
    return n < 0;
  }
  const double s = *state;
  acc->x += weight * e * s;
  if (colourWanted(F)) {
    curveColour(e, 0.20000000000000007, 0.6, 0.6, rgb);
    // w moves the colour toward a tint that follows the sign of the noise.
    const double v = 0.5 * n * s;
    const double g2 = acc->z + (rgb[1] - acc->z) * s, b2 = acc->w + (rgb[2] - acc->w) * s;
    acc->y += (rgb[0] - acc->y) * s;
    acc->z = g2 + (acc->z + v - g2) * w;
    acc->w = b2 + (acc->w - v - b2) * w;
  }
  *state = s * j;
  return n < 0;
}

bool fp4rivernetworks(fractalsinfos* F, double x, double y, double, double w, double* state,
                      double weight, short octave, dvector4d* acc)
{
  if (octave < 0) {
    set(acc, 0.47, 0.47, 0.2, 0.3);
    return false;
  }
  const double v = fUnitPerlinSaw2D(tablesOf(F), x, y);
  double t = std::fabs(16 * v * F->paramA);
  t = (t >= 0.5 ? t - 0.25 : t * t) / 16;
  const double e = t < 1 ? (2 - t) * t : 1.0, j = t < 1 ? 1 - e : 0.0;
  if (octave == 0) {
    *state = 4 * e * j;
    set(acc, 0.47, 0.47, 0.2, 0.75 * e);
    return v < 0;
  }
  const double u = w * *state;
  const double ev = u < 1 ? e * (2 - u) * u : e;
  *state = 4 * ev * j;
  acc->w = (octave <= 4 ? 0.5 * acc->w : acc->w) + weight * ev;
  if (colourWanted(F)) {
    // Every vein darkens the ground and adds its own tint.
    acc->x += (v < 0 ? 0.2 : 0.27) * ev - 0.07;
    acc->y += (v < 0 ? 0.27 : 0.2) * ev - 0.07;
    acc->z += 0.15 * ev - 0.07;
  }
  return v < 0;
}

bool fp2dclouds(fractalsinfos* F, double x, double y, double z, double w, double* state,
                double weight, short octave, dvector2d* d)
{
  if (octave < 0) {
    *d = dvector2d{0.15, 0.15};
    return false;
  }
  const KVtables* t = tablesOf(F);
  const double a = F->paramA + fUnitPerlinNoise2D(t, x, y);
  const double b = F->paramA + fUnitPerlinNoise2D(t, z, y + 0.4 * w);
  if (octave == 0) {
    *d = dvector2d{a, b};
    *state = 1;
  } else {
    d->x += a * weight;
    d->y += b * weight;
  }
  return false;
}
