#include "noise/bodies.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/colormath.h"
#include "noise/lattice.h"
#include "noise/noises.h"

namespace {

using kvnoise::smooth;

// Smoothstep held to 0 below 0 and to 1 above 1.
inline double clampSmooth(double t)
{
  if (t < 0.0)
    return 0.0;
  if (t > 1.0)
    return 1.0;
  return smooth(t);
}

// Smooth absolute value: |u| - 0.25 from 0.5 on, u^2 below (continuous, with
// slope 1 at 0.5).
inline double softAbs(double u)
{
  double a = std::fabs(u);
  return a >= 0.5 ? a - 0.25 : u * u;
}

// Three doubles of the calling component's parameters, from index `first`;
// zeros when the component gave none.
inline dvector3d nodeColour(const fractalsinfos* fi, int first)
{
  if (!fi->nodeParams)
    return {};
  const double* p = fi->nodeParams + first;
  return {p[0], p[1], p[2]};
}

inline void setColour(dvector4d* out, const dvector3d& c)
{
  out->x = c.x;
  out->y = c.y;
  out->z = c.z;
}

// The document gradient at t, on the 0..255 scale.
inline dvector3d gradientColour(const KVtables* t, double pos)
{
  int32_t n = std::clamp<int32_t>(t->gradientKeys.count, 0, 64);
  dvector3d c;
  fcolorgradient(t->gradientKeys.colors, n, pos, &c.x, &c.y, &c.z);
  return c;
}

// out.rgb moves toward c by f (taken whole from 1 on).
inline void blendColour(dvector4d* out, const dvector3d& c, double f)
{
  if (f < 1.0) {
    out->x += (c.x - out->x) * f;
    out->y += (c.y - out->y) * f;
    out->z += (c.z - out->z) * f;
  } else {
    setColour(out, c);
  }
}

// One of the eight corners of a 3D cell: its offsets (0 or 1) and its table
// index, the 3D lattice index with mask 1023.
struct Corner3
{
  int cx, cy, cz;
  uint32_t index;
};

// Visits the corners x fastest: (0,0,0), (1,0,0), (0,1,0), (1,1,0), then the
// same four at z + 1.
template <class Visit>
inline void forEachCorner(const KVtables* t, int32_t i, int32_t j, int32_t k, Visit visit)
{
  for (int cz = 0; cz < 2; cz++)
    for (int cy = 0; cy < 2; cy++)
      for (int cx = 0; cx < 2; cx++) {
        int32_t ci = cx ? kvnoise::nextCell(i) : i;
        int32_t cj = cy ? kvnoise::nextCell(j) : j;
        int32_t ck = cz ? kvnoise::nextCell(k) : k;
        visit(Corner3{cx, cy, cz, kvnoise::hash3D(t, ci, cj, ck, 1023u)});
      }
}

// Visits the eight corners of the sample's 3D cell with the offset of the
// sample from each corner's point, the point jittered by `jitter` times the
// corner's random vector: visit(corner, offset). False (nothing visited)
// when the sample has no cell.
template <class Visit>
inline bool forEachJitteredCorner(const KVtables* t, double x, double y, double z, double jitter,
                                  Visit visit)
{
  int32_t cell[3];
  double frac[3];
  if (!kvnoise::cellSplit(x, cell[0], frac[0]) || !kvnoise::cellSplit(y, cell[1], frac[1]) ||
      !kvnoise::cellSplit(z, cell[2], frac[2]))
    return false;
  forEachCorner(t, cell[0], cell[1], cell[2], [&](const Corner3& c) {
    const double* r = t->rndVec3D[c.index];
    visit(c, dvector3d{frac[0] - c.cx + jitter * r[0], frac[1] - c.cy + jitter * r[1],
                       frac[2] - c.cz + jitter * r[2]});
  });
  return true;
}

}  // namespace

// ---- Record bodies ----

bool fp1fracturedrocks(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                       double weight, short octave, double* out)
{
  if (octave < 0) {
    *out = 0.25;
    return false;
  }
  double n = fUnitPerlinCracks3D(fi->tables, x, y, z);
  double a = std::fabs(n * fi->paramA * 10.0);
  double q = 0.1 * (a < 0.5 ? a * a : a - 0.25);
  bool flat = q >= 1.0;
  double h = flat ? 1.0 : (2.0 - q) * q;
  if (octave == 0) {
    *state = flat ? 0.0 : (1.0 - h) * 4.0 * h;
    *out = h;
  } else {
    double e = flat ? 0.0 : 1.0 - h;
    double g = w * *state;
    double g1 = g >= 1.0 ? 1.0 : (2.0 - g) * g;
    double b = h * g1;
    *state = 4.0 * b * e;
    if (octave > 2)
      *out += b * weight;
    else
      *out = 0.5 * *out + b * weight;
  }
  return n < 0.0;
}

bool fp1fracturedrocks(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                       double weight, short octave, dvector4d* out)
{
  return fp1fracturedrocks(fi, x, y, z, w, state, weight, octave, &out->x);
}

bool fpssharpminnoise(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                      double weight, short octave, dvector4d* out)
{
  if (octave < 0) {
    setColour(out, nodeColour(fi, 0));
    out->w = 0.125;
    return false;
  }
  const KVtables* t = fi->tables;

  // Nearest jittered corner point in the chessboard metric, bounded by 0.6
  // (also where the sample has no cell).
  int32_t value = 0;
  double nearest = 0.6;
  forEachJitteredCorner(t, x, y, z, 0.4, [&](const Corner3& c, const dvector3d& d) {
    double dist = std::max({std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)});
    if (dist < nearest) {
      nearest = dist;
      value = t->perm[c.index];
    }
  });
  double depth = -2.0 * nearest;

  // Rounded floor at 0.
  double e = depth + 1.0;
  if (e <= 0.00625) {
    double s = (0.00625 - e) / 0.025;
    e = s < 0.5 ? e + 0.025 * s * s : 0.0;
  }

  double beta;
  if (octave == 0) {
    setColour(out, nodeColour(fi, 0));
    out->w = e;
    *state = 1.0;
    beta = 1.0;
  } else {
    // Smooth maximum of the previous height and this octave's.
    double a = out->w;
    double s = weight * e + w * a;
    double q = 0.00625 + s - a;
    if (q > 0.0) {
      q *= 40.0;
      if (q < 0.5) {
        beta = 2.0 * q;
        out->w = a + 0.025 * q * q;
      } else {
        beta = 1.0;
        out->w = s;
      }
    } else {
      beta = 0.0;
    }
    if (octave > 3)
      return false;
  }

  if (e > 0.0) {
    dvector3d c = gradientColour(t, value * 0.0009765625);  // value / 1024
    out->x += (c.x - out->x) * beta;
    out->y += (c.y - out->y) * beta;
    out->z += (c.z - out->z) * beta;
  }
  return false;
}

bool fp4futur(fractalsinfos* fi, double x, double y, double z, double weight, double* state,
              double amplitude, short octave, dvector4d* acc)
{
  if (octave < 0) {
    setColour(acc, nodeColour(fi, 0));
    acc->w = 0.5;
    *state = 0.2;
    return false;
  }
  const KVtables* t = fi->tables;

  // Rise mask: where the panels of this octave stand up.
  double a = 0.0, b = 0.0;
  fPerlinNoise3DVector3D(t, x, y, z, &a, &b, nullptr, 2.0);
  double h = softAbs(a) * softAbs(b) * 9.0 - 0.65 + octave * 0.15;
  double lift = 0.0;
  if (h <= 0.0) {
    h = 0.0;
  } else {
    h *= 3.0;
    h = h >= 0.5 ? h - 0.25 : h * h;
    h = std::log(h + 1.0);
    lift = 0.5 * h;
  }

  // Panel pattern: smooth minimum of the squared distances to the jittered
  // corner points of the 3D cell (0 where the sample has no cell).
  double m = 1.0;
  bool inCell = forEachJitteredCorner(t, 5.0 * x, 5.0 * y, 5.0 * z + lift, 0.38,
                                      [&](const Corner3&, const dvector3d& d) {
                                        double q2 = d.x * d.x + d.y * d.y + d.z * d.z;
                                        double u = q2 - 0.0125;
                                        if (u <= m) {
                                          double s = (u - m) / 0.05;
                                          m = s > -0.5 ? m - 0.05 * s * s : q2;
                                        }
                                      });
  if (!inCell)
    m = 0.0;
  double e = m - 0.75;

  // Panel depth and height merge.
  double w2 = e <= 0.0 ? -e * e : 0.0;
  double g = amplitude * w2;
  double hh = std::min(h, 1.0) * w2 + h;
  double f;
  if (octave == 0) {
    *state = 1.0;
    setColour(acc, nodeColour(fi, 3));
    acc->w = g * weight + hh;
    f = hh;
  } else {
    double prev = acc->w;
    double v = amplitude * hh;
    double dd = v + 0.0125 - prev;
    if (dd <= 0.0) {
      f = 0.0;
    } else {
      dd *= 20.0;
      if (dd < 0.5) {
        f = 2.0 * dd;
        acc->w = prev + 0.05 * dd * dd;
      } else {
        f = 1.0;
        acc->w = v;
      }
    }
    f = std::min(f, hh);
    acc->w += g * weight;
  }

  if (f > 0.0) {
    double c = frandom3D(t, 0.5 * x, 0.5 * y, acc->w);
    blendColour(acc, gradientColour(t, c * 0.0009765625 + 0.25 * m), f);
  }
  return false;
}

// ---- Scalar 2D bodies ----

double fpnoise_sparcefractale(fractalsinfos* fi, double x, double y, double w, double* state,
                              short octave)
{
  // S weights this octave by the mask of the octaves before it; d sets how
  // much the density follows w.
  double S = 1.0, d = 1.0;
  if (octave >= 1) {
    S = *state;
    d = octave <= 5 ? S : (octave == 6 ? 0.8 * S : 0.0);
  }
  double n = fsparcePerlinNoise2D(fi->tables, x, y, d * (w - 0.5) + 0.5);
  double m = 8.0 * n;
  double u = m < 1.0 ? 1.0 - smooth(m) : 0.0;
  if (octave < 1) {
    *state = u;
    return 256.0 * n;
  }
  if (octave <= 6) {
    *state = S * u;
    return 256.0 * (n + 0.9 * (w + 0.5) * (n * S - n));
  }
  return 256.0 * (n + (0.3 * n - n) * S);
}

double fpnoise_stonescluster(fractalsinfos* fi, double x, double y, double, double* state,
                             short octave)
{
  const KVtables* t = fi->tables;
  double S = 1.0;
  if (octave < 1) {
    // Per-sample scratch for the later octaves: a density shift and the
    // octave around which the stones are strongest.
    fi->paramA = 0.64 * fUnitPerlinNoise2D(t, 0.7 * y, 0.7 * x) - 1.3;
    fi->paramB = std::max(0.0, 5.5 * (fUnitPerlinNoise2D(t, 0.2 * x, 0.2 * y) + 0.9));
    *state = 1.0;
  } else {
    S = *state;
  }

  double g = clampSmooth(0.4 * (3.0 - std::fabs(octave - fi->paramB)));
  double v = 0.0;
  if (g > 0.0) {
    double n = fsparcePerlinNoise2D(t, x, y, (g + fi->paramA - 0.5) * S + 0.5);
    double m = 20.0 * n;
    if (n < 0.125) {
      double r = (0.125 - n) / 0.3;
      n -= 0.3 * r * r;
    }
    double e = m <= 1.0 ? 1.0 - smooth(m) : 0.0;
    *state = octave < 1 ? e : e * S;
    v = n;
  }

  // Fine grain on the octaves past the strongest one (compared in doubles:
  // paramB may be any value a caller left there).
  if (octave - std::trunc(fi->paramB) - 1.0 > 0.0) {
    double x2 = 0.5 * fsparcePerlinNoise2D(t, 1.5 * x, 1.5 * y, 0.45);
    v += x2 + (0.09 * x2 - x2) * S;
  }
  return 512.0 * v;
}

double fpnoise_bubblerock2D(fractalsinfos* fi, double x, double y, double, double* state,
                            short octave)
{
  double B = clampSmooth(2.7 * std::fabs(fUnitPerlinNoise2D(fi->tables, x, y)) - 0.4);
  if (octave < 1) {
    *state = 1.0 - B;
    return 512.0 * B;
  }
  double o = *state;
  *state = (1.06 - B) * o;
  return 512.0 * B * o;
}

double fpnoise_lunarrock2D(fractalsinfos* fi, double x, double y, double w, double* state,
                           short octave)
{
  const KVtables* t = fi->tables;
  if (octave < 1) {
    *state = 1.0;
    return w + fPerlinNoise2D(t, x, y) + 1.0;
  }
  // Crater rims: 1 - c^2 with c a rounded 1 - n.
  double n = fUnitPerlinNoise2D(t, x, y);
  double c;
  if (n > 0.125) {
    c = 1.0 - n;
  } else {
    double s = 2.0 * (0.125 - n);
    c = s < 0.5 ? 1.0 - (n + 0.5 * s * s) : 1.0;
  }
  double r = 512.0 * (1.0 - c * c);

  double g = clampSmooth(*state);
  if (octave == 1)
    g = 0.5 * (g - 1.0) + 1.0;
  if (w > 0.0)
    g += (0.6 * g + 0.3 - g) * w;
  double result = (g + 0.1) * r;
  *state = result * 0.0078125;  // / 128
  return result;
}

double fpnoise_fridgedtomfe(fractalsinfos* fi, double x, double y, double w, double* state,
                            short octave)
{
  const KVtables* t = fi->tables;
  // From octave 3 on the ridges fade into a plain noise a by octave 14.
  double fadeToPlain = (14.0 - octave) / 12.0;
  double a = octave >= 2 ? 2.0 * fUnitPerlinNoise2D(t, 2.0 * x + 33.5, 2.0 * y + 1.5) : 0.0;
  double b = a;
  if (fadeToPlain > 0.0) {
    double n = fUnitPerlinNoise2D(t, x, y);
    if (octave < 1)
      n += 0.5 * fUnitPerlinNoise2D(t, 2.0 * x + 73.5, 2.0 * y - 33.5);
    double r = 0.85 - std::fabs(n);
    if (r < 0.835) {
      b = r < 0.0 ? 0.0 : (r / 0.85) * (r / 0.85);
    } else {
      // Rounded crest.
      double q = (0.835 - r) / 0.03;
      if (q > -0.5) {
        double r1 = r - 0.03 * q * q;
        b = r1 < 0.0 ? 0.0 : (r1 / 0.85) * (r1 / 0.85);
      } else {
        b = 0.9911764705882353 * 0.9911764705882353;
      }
    }
    if (fadeToPlain < 1.0)
      b = a + fadeToPlain * (b - a);
  }

  if (octave >= 1) {
    double v = (1.3 * *state + 0.01) * b;
    *state = (*state - v) * w + v;
    return 512.0 * v - 24.0;
  }
  // First octave: the ranges follow a wave across x.
  double m = 8.0 * fUnitPerlinNoise2D(t, 0.56 * x, 0.54 * y);
  double e = 3.0 * std::sin(2.0 * x) + m;
  double g = 0.25 * softAbs(e);
  if (g >= 0.75) {
    double h = 0.75 - g;
    g = h > -0.5 ? g - h * h : 1.0;
  }
  double v = g * b;
  *state = (0.7 * v + 0.3 - v) * w + v;
  return 512.0 * v - 24.0;
}

namespace {

// One rounded fold of a stratified-rock layer: |N| softened below 0.5.
inline double softFold(double n)
{
  double a = std::fabs(n);
  return a < 0.5 ? a * a + 0.25 : a;
}

}  // namespace

double fpnoise_sharpdrock(fractalsinfos* fi, double x, double y, double w, double* state,
                          short octave)
{
  const KVtables* t = fi->tables;
  if (octave > 9) {
    double s = *state;
    if (s <= 0.0)
      return 0.0;
    double v = s * fUnitPerlinNoise2D(t, x + 0.25 * y, y);
    *state = 0.5 * (v - s) + s;
    return 512.0 * v;
  }

  double g, S;
  if (octave < 1) {
    *state = w;
    fi->paramA = 3.0 * w;  // layer offset for the later octaves of this sample
    g = w;
    S = w;
  } else {
    S = *state;
    g = 5.0 * (S - 0.1);
  }

  double v = 0.0;
  if (g > 0.0) {
    double G = g <= 1.0 ? smooth(g) : 1.0;
    double c = 0.3 / (10.0 - 0.7 * octave);
    double A = fi->paramA;
    constexpr double kPi = std::numbers::pi;
    double h1 =
        1.25 - softFold(kPi * fUnitPerlinNoise2D(t, (x + A) * c + 0.3 * (y + A), 0.3 * (y + A)));
    double R = h1 > 0.0 ? 1.0 - h1 * h1 : 1.0;
    double h2 =
        1.25 - softFold(kPi * fUnitPerlinNoise2D(t, 0.3 * (x + A), (y + A) * c - 0.3 * (x + A)));
    double T = 1.0, e = 0.9;
    if (h2 > 0.0) {
      T = 1.0 - h2 * h2;
      e = T - 0.1;
    }
    // Rounded minimum of the two layers.
    if (e <= R) {
      double d = (e - R) / 0.4;
      R = d > -0.5 ? R - 0.4 * d * d : T;
    }
    v = G * R;
  }
  *state = 0.3 * (v - S) + S;
  return 512.0 * v;
}
