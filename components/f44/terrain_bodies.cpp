// The per-octave terrain bodies: crack and saw-ridge rocks, erosion, grass,
// bushes, tree crowns, pebbles and foliage. See terrain.h for the body form.
#include <algorithm>
#include <cmath>

#include "components/f44/terrain.h"
#include "foundation/checked.h"
#include "noise/noises.h"

namespace {

using kvnum::LatticeSplit;

constexpr double kOver1024 = 0.0009765625;

// The crack shaping of a scaled noise magnitude t with the body's constant c.
double crackShape(double t, double c)
{
  return t < 0.5 ? t * t * c : (t - 0.25) * c;
}

// A saw-rock octave's shaped value: |saw * k| through the crack shaping.
double sawShape(const fractalsinfos* fi, double x, double y, double z, double k, double c,
                double* saw)
{
  *saw = frandom3Dsaw(fi->tables, x, y, z);
  return crackShape(std::fabs(*saw * k), c);
}

// Octave -1 of the scalar bodies: both the result and the carried value.
bool farValue(double* result, double* carried, double r, double c)
{
  *result = r;
  *carried = c;
  return false;
}

// The octave steps shared by the crack-rock bodies (white and red rocks),
// e being the eased crack value of this octave.
void crackRockOctave(const fractalsinfos* fi, double e, double w, double* carried, double amplitude,
                     short octave, double* result)
{
  if (octave == 0) {
    *result = e;
    *carried = 4.0 * e * (1.05 - e);
    return;
  }
  const double f = terrainEase(w * *carried) * e;
  if (octave < 4) {
    const double r = (octave < 2 ? 0.5 * *result : *result) + amplitude * f;
    *result = r + (std::min(*result, f) + amplitude * f - r) * fi->paramB;
  } else {
    *result += amplitude * f;
  }
  *carried = 4.0 * f * (1.05 - e);
}

// A lattice hash of 32-bit cell indices.
using LatticeValue = double (*)(const KVtables* t, int32_t i, int32_t j, int32_t k);

// The trilinear blend of a lattice hash over the cell of (x, y, z), each
// axis weighted by smoothstep(2 f); 0 where the point has no cell.
double blockBlend(const KVtables* t, LatticeValue value, double x, double y, double z)
{
  LatticeSplit s[3];
  if (!kvnum::lattice_floor(x, s[0]) || !kvnum::lattice_floor(y, s[1]) ||
      !kvnum::lattice_floor(z, s[2]))
    return 0.0;
  double w[3];
  for (int a = 0; a < 3; ++a)
    w[a] = terrainSmoothstep(2.0 * s[a].frac);
  double sum = 0;
  for (int corner = 0; corner < 8; ++corner) {
    double weight = 1;
    int32_t c[3];
    for (int a = 0; a < 3; ++a) {
      const int bit = (corner >> a) & 1;
      c[a] = kvnum::wrap_add_i32(s[a].cell, bit);
      weight *= bit != 0 ? w[a] : 1.0 - w[a];
    }
    sum += weight * value(t, c[0], c[1], c[2]);
  }
  return sum;
}

// One tree crown per unit cell of (x, y): the cell's hash and the distance
// of the point from the cell's centre, the cell scaled to [-1, 1].
struct CrownCell
{
  bool ok;
  int32_t hash;
  double d;
};

CrownCell crownCell(const KVtables* t, double x, double y)
{
  LatticeSplit sx, sy;
  if (!kvnum::lattice_floor(x, sx) || !kvnum::lattice_floor(y, sy))
    return {false, 0, 0};
  const int32_t hash = t->perm[kvnum::wrap_add_i32(sx.cell, t->perm[sy.cell & 1023]) & 1023];
  const double u = 2 * sx.frac - 1, v = 2 * sy.frac - 1;
  return {true, hash, std::sqrt(u * u + v * v)};
}

// A rounded crown of radius 1 / k, scaled: s sqrt(1 - (k d)^2) inside it.
double dome(double d, double k, double s)
{
  const double r = 1.0 - (k * d) * (k * d);
  return r > 0 ? s * std::sqrt(r) : 0.0;
}

// Crowns of the forest body (eight kinds).
double forestCrown(const KVtables* t, double x, double y)
{
  const CrownCell c = crownCell(t, x, y);
  if (!c.ok)
    return 0.0;
  switch (c.hash & 7) {
    case 0:
    case 1:
      return dome(c.d, 1.0, 1.0);
    case 2:
      return c.d < 1 ? terrainEase(1.0 - c.d) : 0.0;
    case 3:
    case 4:
      return 2 * c.d < 1 ? 0.5 * terrainEase(1.0 - 2.0 * c.d) : 0.0;
    case 6:
    case 7:
      return dome(c.d, 1.5, 2.0 / 3.0);
    default:
      return 0.0;
  }
}

// Crowns of the foliage bodies (kinds 4 to 7 empty).
double foliageCrown(const KVtables* t, double x, double y)
{
  const CrownCell c = crownCell(t, x, y);
  if (!c.ok)
    return 0.0;
  switch (c.hash & 7) {
    case 0:
      return dome(c.d, 1.0, 1.25);
    case 1:
      return dome(c.d, 1.0, 1.0);
    case 2:
    case 3:
      return dome(c.d, 1.5, 0.8);
    default:
      return 0.0;
  }
}

// Conifer crowns (four kinds, kind 3 empty).
double coniferCrown(const KVtables* t, double x, double y)
{
  const CrownCell c = crownCell(t, x, y);
  if (!c.ok)
    return 0.0;
  double crown = 0;
  switch (c.hash & 3) {
    case 0:
      crown = (1.0 - c.d) * 1.25;
      break;
    case 1:
      crown = 1.0 - c.d;
      break;
    case 2:
      crown = (1.0 - 1.5 * c.d) * 0.8;
      break;
    default:
      break;
  }
  return std::max(crown, 0.0);
}

// The grain pair of the foliage bodies: a from the point, b from the point
// turned by fi's per-octave rotation and scaled by 1.25.
double foliageGrain(const fractalsinfos* fi, double x, double y)
{
  const double s = fi->rotSin, c = fi->rotCos;
  const double e = terrainEase(frandom2DUnitgrain(fi->tables, x, y));
  const double a = e * (2.0 - e);
  const double b =
      terrainEase(frandom2DUnitgrain(fi->tables, 1.25 * (x * c - y * s), 1.25 * (y * c + x * s)));
  return std::max(a, b);
}

}  // namespace

// ---- Saw-ridge rocks ----

bool fp1fracturedrocksB(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                        double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.25, 0.25);
  double saw;
  const double e = terrainEase(sawShape(fi, x, y, z, 0.00390625 * 30, 1.0 / 30, &saw));
  if (octave == 0) {
    *carried = w * e * (1.25 - e);
    *result = e;
  } else {
    *carried = w * *carried * e;
    *result += *carried * amplitude;
  }
  return saw < 0;
}

bool fp1fracturedrocksC(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                        double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.25, 0.25);
  double saw;
  const double e = terrainEase(sawShape(fi, x, y, z, 0.0029296875 * 30, 1.0 / 30, &saw));
  if (octave == 0) {
    *carried = w * e;
    *result = e;
  } else {
    *carried = e * terrainEase(w * *carried);
    *result = (octave < 3 ? 0.5 * *result : *result) + *carried * amplitude;
  }
  return saw < 0;
}

bool fp1fracturedrocksD(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                        double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.25, 0.25);
  double saw;
  const double e = terrainEase(sawShape(fi, x, y, z, 0.0029296875 * 20, 0.05, &saw));
  if (octave == 0) {
    *carried = w * e * (1.25 - e);
    *result = e;
  } else {
    const double uncapped = w * *carried * e;
    *result += uncapped * amplitude;
    *carried = std::min(uncapped, 1.5);
  }
  return saw < 0;
}

bool fp1Erosion(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.25, 0.25);
  double saw;
  const double s = sawShape(fi, x, y, z, kOver1024 * 16, 0.0625, &saw);
  if (octave == 0) {
    *carried = w * s * (1.02 - s);
    *result = s;
  } else {
    const double f = terrainEase(w * *carried) * s;
    *carried = w * f * (1.02 - s);
    *result += f * amplitude;
  }
  return saw < 0;
}

bool fp1fractrocks(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                   double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.25, 0.25);
  double saw;
  const double s = sawShape(fi, x, z, y, 0.0029296875 * 10, 0.1, &saw);  // y and z exchanged
  if (octave == 0) {
    *carried = w * s;
    fi->accumulator = *carried;
    *result = s;
  } else {
    const double f = terrainEase(w * *carried + 0.1) * s;
    fi->accumulator += (f - fi->accumulator) * 0.28;
    *carried = f;
    *result += f * amplitude;
  }
  return true;
}

// ---- Crack rocks ----

bool fp1fracturedWrock(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                       double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.25, 0.125);
  const double n = fUnitPerlinCracks3D(fi->tables, x, y, z);
  const double e = terrainEase(crackShape(std::fabs(n * fi->paramA * 10), 0.1));
  crackRockOctave(fi, e, w, carried, amplitude, octave, result);
  return n < 0;
}

// The crack term comes from the saw noise (scaled by body parameter 2 at
// octave 0); while body parameter 1 is below 1, blocks are laid over the
// first six octaves: red-rock blocks where octave 0's saw is negative, then
// blocks with mortar lines, each weighted by the octave's amplitude.
bool fp1fracturedRedRock(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                         double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.25, 0.125);
  double saw = frandom3Dsaw(fi->tables, x, y, z);
  if (octave == 0)
    saw *= fi->paramB;
  const double e = terrainEase(crackShape(std::fabs(saw * 0.00390625 * 10), 0.1));
  crackRockOctave(fi, e, w, carried, amplitude, octave, result);
  if (fi->paramA < 1.0 && octave < 6) {
    if (octave == 0 && saw < 0)
      *result += blockBlend(fi->tables, LABTXT_redrocks, 32 * (x - z), 32 * y, 32 * z);
    else if (octave > 0)
      *result += amplitude * blockBlend(fi->tables, LABTXT_redrocks2, 32 * (x + z), 32 * y, 32 * z);
  }
  return saw < 0;
}

// ---- Vegetation ----

bool fp1fractgrass(fractalsinfos* fi, double x, double y, double z, double w, double* carried,
                   double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.25, 0.25);
  const double g = octave < 2 ? frandom3D(fi->tables, x, y, z) * kOver1024
                              : frandom2DUnit(fi->tables, z + x, y + z);
  if (octave == 0) {
    *carried = w * g;
    *result = g;
  } else {
    const double f = w * g * (*carried + 0.25);
    *carried += (f - *carried) * 0.25;
    *result += f * amplitude;
  }
  return false;
}

bool fp1fractBushes(fractalsinfos* fi, double x, double y, double, double w, double* carried,
                    double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.5, 0.5);
  const double g = frandom2DUnitgrain(fi->tables, x, y) * w;
  if (octave == 0) {
    *carried = *result = fi->accumulator = g;
  } else {
    const double f = g * g * (*carried + 0.66);
    *result += amplitude * f;
    *carried = octave <= 2 ? f : std::max(f, *carried);
  }
  return false;
}

bool fp1fractfoliage(fractalsinfos* fi, double x, double y, double, double, double* carried,
                     double amplitude, short octave, double* result)
{
  if (octave < 0) {
    fi->accumulator = 0.68;
    return farValue(result, carried, 0.5, 0.5);
  }
  const double g = foliageGrain(fi, x, y);
  if (octave == 0) {
    *result = *carried = fi->accumulator = std::max(foliageCrown(fi->tables, x, y), g);
    return false;
  }
  *carried += (g - *carried) * 0.4;
  if (octave == 1)
    fi->accumulator += (g - fi->accumulator) * 0.333;
  *result += amplitude * g;
  return false;
}

bool fp1fractRockyBush(fractalsinfos* fi, double x, double y, double, double w, double* carried,
                       double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.5, 0.5);
  const double g = frandom2DUnitgrain(fi->tables, x + y, y) * w;
  double s = g * g;
  if (octave < 2) {
    const double e = terrainEase(g) - 0.25;
    s = e > 0 ? e * e : 0.0;
  }
  if (octave == 0) {
    *result = *carried = fi->accumulator = s;
  } else {
    const double p = amplitude * (*carried + 0.66) * s;
    *result += p;
    *carried = std::max(p, *carried);
  }
  return false;
}

// Later octaves add their crowns, weighted by the amplitude, and keep the
// tallest crown as the carried value.
bool fp1fractforest(fractalsinfos* fi, double x, double y, double, double, double* carried,
                    double amplitude, short octave, double* result)
{
  if (octave < 0)
    return farValue(result, carried, 0.5, 0.5);
  const double crown = forestCrown(fi->tables, x, y);
  if (octave == 0) {
    *result = *carried = fi->accumulator = crown;
  } else {
    *result += amplitude * crown;
    *carried = std::max(*carried, crown);
  }
  return false;
}

// ---- Record bodies ----

bool fp4fractStonesNoise(fractalsinfos* fi, double x, double y, double, double, double* carried,
                         double amplitude, short octave, dvector4d* rec)
{
  if (octave < 0) {
    *rec = {4.625, 4.56, 4.56, 0.65};
    *carried = 0.5;
    return false;
  }
  if (octave >= 2) {
    const double r = (*carried + 0.05) * frandom2DUnit(fi->tables, x, y);
    rec->w += amplitude * r;
    *carried = (*carried + r) * 0.5;
    return false;
  }
  const double g1 = terrainEase(frandom2DUnitgrain(fi->tables, x, y));
  const double g2 = terrainEase(frandom2DUnitgrain(fi->tables, x - 0.1219 * y, y + 0.1219 * x));
  const bool firstLarger = g1 > g2;
  const double g = std::max(g1, g2);
  const bool colour = fi->reliefPass == 0;
  if (octave == 0) {
    rec->w = g;
    *carried = (1.1 - g) * 0.5;
    if (colour) {
      if (firstLarger)
        *rec = {2 * g + 3.0, 1.9 * g + 3.0, 1.7 * g + 3.0, rec->w};
      else
        *rec = {2.7 * g + 3.0, 2.8 * g + 3.0, 2.82 * g + 3.0, rec->w};
    }
    return false;
  }
  const double v = (g - 0.75) * amplitude + 0.75;
  if (v > rec->w) {
    rec->w = v;
    *carried = (1.0 - g) * 0.5;
    if (colour) {
      if (firstLarger)
        *rec = {2 * g + 2.5, 1.9 * g + 2.5, 1.9 * g + 2.5, rec->w};
      else
        *rec = {2.8 * g + 3.5, 2.8 * g + 3.5, 2.82 * g + 3.5, rec->w};
    }
  }
  return false;
}

bool fp4fractCforest(fractalsinfos* fi, double x, double y, double z, double, double* carried,
                     double amplitude, short octave, dvector4d* rec)
{
  if (octave < 0) {
    *rec = {0.5, 0.2, 1.1, 0.3};
    *carried = 0.5;
    return false;
  }
  if (octave == 1)
    return false;
  const bool colour = fi->reliefPass == 0;
  if (octave >= 2) {
    const double k = frandom3Dsaw(fi->tables, x, z, y) * 0.001953125 * amplitude;
    rec->x += k;
    if (octave >= 4 && octave <= 6 && colour) {
      rec->y -= k;
      rec->z -= k;
    }
    return octave >= 4;
  }
  const double s = fi->rotSin, c = fi->rotCos;
  const double tx = c * x - s * y, ty = c * y + s * x;  // the point turned
  const double value =
      std::max({coniferCrown(fi->tables, x, z + y), coniferCrown(fi->tables, tx + z, ty),
                coniferCrown(fi->tables, tx, ty)});
  rec->x = *carried = value;
  if (colour) {
    const double e = 8.0 - 8.0 * value;
    const double f = e - std::floor(e);
    const double q = frandom2DUnit(fi->tables, 72 * (c * tx - s * ty), 72 * (c * ty + s * tx));
    const double t = (std::fabs(q) + 0.15) * (f * (2 * value + 1) + 0.5);
    rec->y = 0.32 * t;
    rec->z = 0.73 * t;
    rec->w = 0.35 * t;
  }
  return false;
}

bool fp4fractfoliage(fractalsinfos* fi, double x, double y, double, double, double* carried,
                     double amplitude, short octave, dvector4d* rec)
{
  if (octave < 0) {
    *rec = {0.75, 0.1, 1.5, 0.1};
    *carried = 0.5;
    return false;
  }
  const double g = foliageGrain(fi, x, y);
  const double p1 = fi->paramA;
  const bool colour = fi->reliefPass == 0;
  if (octave == 0) {
    const double crown = foliageCrown(fi->tables, x, y);
    rec->x = *carried = std::max(crown, g);
    if (colour) {
      const double e = (rec->x - 0.25) * 5;
      const double q = std::fabs(1.2 * frandom2DUnit(fi->tables, 64 * x, 64 * y));
      const double w = (e < 0 ? 0.14 : e + 0.14) * (q * q < 1 ? q * q + 0.1 : 1.1);
      if (crown >= g)
        *rec = {rec->x, 0.6 * w, w, w * p1};
      else
        *rec = {rec->x, (0.5 - 0.3 * p1) * w, w, 0.23 * w};
    }
    return false;
  }
  *carried += (g - *carried) * 0.4;
  rec->x += amplitude * g;
  if (octave == 1 && colour) {
    const double q = std::fabs(frandom2DUnit(fi->tables, 30 * x, 30 * y));
    const double u = std::min(3 * rec->x, 1.0) * q * q;
    rec->y = std::max(rec->y, (0.5 - 0.3 * p1) * u);
    rec->z = std::max(rec->z, u);
    rec->w = std::max(rec->w, (0.2 * p1 + 0.13) * u);
  }
  return false;
}
