#include "components/f21/f21_terrainparts.h"

#include <cmath>

#include "foundation/checked.h"
#include "noise/lattice.h"
#include "noise/noises.h"

namespace {

constexpr int32_t kDeepestCraterLevel = 3;
constexpr int32_t kSplitHash = 200;

double smooth(double t)
{
  return (3 - 2 * t) * t * t;
}

bool split(double x, double y, int32_t& i, int32_t& j)
{
  kvnum::LatticeSplit col, row;
  const bool ok = kvnum::lattice_trunc_split(x, col) && kvnum::lattice_trunc_split(y, row);
  i = col.cell;
  j = row.cell;
  return ok;
}

// The crater profile at distance r (0..1) from its centre.
double craterDepth(double r)
{
  const double w = 1.1 * r;
  const double c = w < 1 ? std::pow(smooth(w), 3) : 1.0;
  if (r <= 0.4)
    return c - 1;
  const double e = r - 0.75;
  return c + 0.3 * std::exp(-100 * e * e) - 1;
}

// Smooth minimum of the branch b and the stroke distance m.
double smoothMin(double b, double m)
{
  if (m - 0.5 > b)
    return b;
  const double h = (m - 0.5 - b) / 2;
  return h > -0.5 ? b - 2 * h * h : m;
}

// The cone height e2 cut by a crater that rises toward the rim height hr:
// e2 while it stays `lip` below the rim, then rounded over (u = (hr - lip -
// e2) scale, e2 - curve u^2) until it meets the rim.
double cutCone(double e2, double hr, double lip, double scale, double curve)
{
  if (hr - lip > e2)
    return e2;
  const double u = (hr - lip - e2) * scale;
  return u > -0.5 ? e2 - curve * u * u : hr;
}

}  // namespace

void RecurSpots2D(const KVtables* t, double x, double y, double* acc, int32_t level)
{
  int32_t i = 0, j = 0;
  if (!split(x, y, i, j))
    return;
  while (level < kDeepestCraterLevel && kvnoise::cellHash2(t, i, j) > kSplitHash) {
    ++level;
    x *= 2;
    y *= 2;
    if (!split(x, y, i, j))
      return;
  }
  const int32_t h = kvnoise::cellHash2(t, j, i);
  if (h <= 250 * level - 250)
    return;
  const double z = t->perm[h & 1023] / 256.0;
  const float* dir = t->unitDir2D[h & 255];
  const double dx = x - 0.5 - i + dir[0], dy = y - 0.5 - j + dir[1];
  const double d2 = dx * dx + dy * dy;
  if (d2 >= 0.0625)
    return;
  const double r = (z + 4) * std::sqrt(d2);
  if (r >= 1)
    return;
  *acc += craterDepth(r) / level;
}

double fpnoise_erodedfract(fractalsinfos* fi, double x, double y, double erosion, double* state,
                           short octave)
{
  const double n = std::fabs(fUnitPerlinNoise2D(fi->tables, x, y));
  if (octave == 0) {
    const double g = n * 1.7066666666666668;
    const double v = g >= 0.5 ? g - 0.25 : g * g;
    fi->accumulator = (2 - v) * v;
    *state = v;
    return 512 * v;
  }
  double g = n * 1.4222222222222223;
  const double e = (1.5 - 0.5 * erosion) * g;
  const double s = *state;
  if (!(s > e + 0.2)) {
    const double u = (e + 0.2 - s) / 0.8;
    *state = u < 0.5 ? s + 0.8 * u * u : e;
  }
  if (s > 1)
    return 0;
  const double f = 4 - 0.2 * octave;
  if (f > 1)
    g *= f;
  const double sg = smooth(g);
  const double rise = g <= 1 ? sg : 1.0, keep = g <= 1 ? 2 - sg : 1.0, z = g <= 1 ? sg - 1 : 0.0;
  const double acc = fi->accumulator;
  fi->accumulator = rise * keep * acc;
  return 512 * (1 - smooth(s)) * z * (acc + erosion * (1 - acc));
}

int32_t frgnVolcano(fractalsinfos* fi, double x, double y, double, int32_t index,
                    regionrecord* region, dvector4d* out)
{
  const bool volcano = index<80, caldera = index> 980;
  const double r2 = x * x + y * y;
  if ((!volcano && !caldera) || !(r2 < 1))
    return 0;
  const double q = 1 - std::sqrt(r2);
  // At the region's centre the angle is not defined; the lobe term is 0 there.
  const double theta = r2 > 0 ? std::atan(y / x) : 0.0;
  const double* v = fi->tables->rndVec3D[uint32_t(index) & 1023u];
  const double size = region->values[kRegionSizeSlot];
  const int lobes = (index & 3) * 2;
  if (volcano) {
    const double e = (std::cos((lobes + 6) * theta) - 1) * r2 * ((index >> 2) * 0.01 + 0.02) + q;
    if (e > 0) {
      const double hr = 0.6 * std::fabs(v[2]) + 0.2 + r2;
      out->w += cutCone(e * e, hr, 0.075, 1 / 0.3, 0.3) * size;
    }
    return 1;
  }
  const double e = (std::cos((lobes + 10) * theta) - 1) * r2 * 0.065 + q;
  const double k = std::fabs(v[1]) / 2;
  const double g = e - k;
  if (g > 0) {
    const double hr = r2 - std::fabs(k * v[2]);
    out->w += cutCone(g * g, hr, 0.125, 2, 0.5) * size;
  }
  return 1;
}

double faddbranches(double x, double y, double w, double c, double s, int level)
{
  if (level >= 2)
    return std::fabs(x);
  const double k = (level + 1) * 0.25;
  const double yb = x > 0 ? y : y - w;
  const double xr = x > 0 ? x * c + yb * s : x * c - yb * s;
  const double yr = x > 0 ? yb * c - x * s : yb * c + x * s;
  const double child =
      faddbranches(xr + k * (x - xr), yr + k * (yb - yr) - w, 0.66 * w, c, s, level + 1);
  const double b = smoothMin(child, x > 0 ? x : -x);
  return b < 0 ? 0.0 : b;
}
