#include "components/f34/f34_texturebodies.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/palettelookups.h"
#include "noise/lattice.h"
#include "noise/noises.h"

namespace f34body {

double S(double t)
{
  if (t < 0)
    return 0;
  if (t > 1)
    return 1;
  return (3 - 2 * t) * t * t;
}

double softClamp(double u)
{
  if (u <= -1)
    return -1;
  if (u >= 1)
    return 1;
  return u * (2 - std::fabs(u));
}

double bend(double a)
{
  return a < 0.5 ? a * a : a - 0.25;
}

}  // namespace f34body

namespace {

using f34body::bend;
using f34body::S;
using f34body::softClamp;

bool colourWanted(const fractalsinfos* F)
{
  return F->reliefPass == 0;
}

// The colour places of the two orders.
struct Rgbv
{
  dvector4d* acc;
  double& r() { return acc->x; }
  double& g() { return acc->y; }
  double& b() { return acc->z; }
  double& value() { return acc->w; }
};
struct Vrgb
{
  dvector4d* acc;
  double& value() { return acc->x; }
  double& r() { return acc->y; }
  double& g() { return acc->z; }
  double& b() { return acc->w; }
};

template <class Order>
void setColour(Order o, double r, double g, double b)
{
  o.r() = r;
  o.g() = g;
  o.b() = b;
}

template <class Order>
void addColour(Order o, double r, double g, double b)
{
  o.r() += r;
  o.g() += g;
  o.b() += b;
}

// Starts the accumulator for octaves below 1; true when the body stops
// there (octave -1, the far value).
template <class Order>
bool start(Order o, short i, double value, double r, double g, double b)
{
  if (i < 1) {
    o.value() = value;
    setColour(o, r, g, b);
  }
  return i == -1;
}

// The smooth minimum of v and m whose corner spans width e, m offset by
// `offset` (the two forms the rocks use).
double smoothMinBelow(double v, double m, double e, double offset)
{
  const double mm = m - offset;
  if (mm > v)
    return v;
  const double u = (mm - v) / e;
  return u > -0.5 ? v - e * u * u : m;
}

}  // namespace

bool fp4granitrocks(fractalsinfos* F, double X, double Y, double Z, double P, double* s, double a,
                    short i, dvector4d* acc)
{
  Rgbv o{acc};
  if (start(o, i, 0, 0.5, 0.5, 0.5))
    return false;
  const double n = fPerlinNoise3D(F->tables, X, Y, Z) * 0.003125;
  const double h = n + 0.45;
  if (i == 0) {
    o.value() = h;
    *s = n;
    return false;
  }
  const double v = o.value();
  const double r = (i - 3) / 6.0;
  double d = 0;
  if (r >= 1) {
    o.value() = (a * n + 1) * v;
  } else {
    const double e = 0.015 / i;
    const double m = a * h - e / 4;
    double g = v;
    if (m <= v) {
      const double u = (m - v) / e;
      g = u > -0.5 ? v - e * u * u : a * h;
    }
    d = g - v;
    double next = P * a * n + g;
    if (r > 0)
      next += ((a * n + 1) * v - next) * r;
    o.value() = next;
  }
  if (colourWanted(F)) {
    if (i < 5 && d < 0 && F->nodeParams != nullptr) {
      const double k = std::min(-0.5 * d / a, 1.0);
      const double* row = F->nodeParams + 3 * i;
      o.r() += (row[0] - o.r()) * k;
      o.g() += (row[1] - o.g()) * k;
      o.b() += (row[2] - o.b()) * k;
    }
    if (i > 2) {
      const double k = (0.28 - std::fabs(*s - h)) * F->paramA;
      addColour(o, k, 0.9 * k, 0.8 * k);
    }
  }
  *s = h;
  return false;
}

bool fp4silexrocks(fractalsinfos* F, double X, double Y, double Z, double P, double* s, double a,
                   short i, dvector4d* acc)
{
  Rgbv o{acc};
  if (start(o, i, 0, 0.5, 0.54, 0.58))
    return false;
  const double n = fPerlinNoise3D(F->tables, X, Y, Z) * 0.003125;
  if (i == 0) {
    o.value() = n;
    const double q = n / 8;
    if (colourWanted(F))
      setColour(o, q + 0.5, 0.8 * q + 0.5, 0.5 * q + 0.5);
    *s = n;
    return false;
  }
  const double m = n - 0.28 * P * i;
  const double g = smoothMinBelow(*s, m, 0.05, 0.0125);
  o.value() += a * g;
  if (colourWanted(F)) {
    double k = (0.38 - std::fabs(*s - m)) * F->paramA;
    if (i < 4)
      k -= 0.17 * o.value();
    if (k > 0)
      addColour(o, k, k, k);
    else
      addColour(o, k, 0.9 * k, 0.8 * k);
  }
  *s = g;
  return false;
}

bool fp4MF3dnoise(fractalsinfos* F, double X, double Y, double Z, double P, double* s, double a,
                  short i, dvector4d* acc)
{
  Vrgb o{acc};
  if (start(o, i, 0, 0.5, 0.5, 0.5))
    return false;
  const double n = fPerlinNoise3D(F->tables, X, Y, Z) / 300;
  const double t = softClamp(n * P);
  double w;
  if (i == 0) {
    o.value() = n;
    w = t;
    *s = t;
  } else {
    w = *s;
    o.value() += n * w * a;
    *s = (0.1 * P + w) * t;
  }
  if (colourWanted(F)) {
    double c0, c1, c2;
    frandom3DVector3D(F->tables, X, Y, Z, &c0, &c1, &c2, 1.0 / 512);
    const double k = w * F->paramA;
    addColour(o, k * c0, k * c1, k * c2);
  }
  return false;
}

bool fp4colorpatchwork(fractalsinfos* F, double X, double Y, double Z, double P, double* s,
                       double a, short i, dvector4d* acc)
{
  Vrgb o{acc};
  if (start(o, i, 0, 0.5, 0.5, 0.5))
    return false;
  const double t = softClamp(16 * fUnitPerlinNoise3D(F->tables, X, Y, Z));
  double q = (P + 0.5) * t;
  if (i == 0) {
    *s = q;
  } else {
    const double w = *s;
    if (i < 6)
      o.value() += t * w * a;
    q = q * (0.12 * P + w);
    *s = (w + q) / 2;
  }
  if (colourWanted(F)) {
    double c0, c1, c2;
    frandom2DVector3D(F->tables, 0.23 * X, 0.23 * Y, &c0, &c1, &c2, 1.0 / 512);
    const double k = (q + (t - q) * 0.25) * F->paramA;
    addColour(o, k * c0, k * c1, k * c2);
  }
  return false;
}

bool fp4lunarrock(fractalsinfos* F, double X, double Y, double Z, double P, double* s, double a,
                  short i, dvector4d* acc)
{
  Vrgb o{acc};
  if (start(o, i, 0, 0.5, 0.5, 0.5))
    return false;
  const double n = fUnitPerlinNoise3D(F->tables, X, Y, Z);
  double f = n;
  if (i >= 1) {
    // The crater profile.
    double e = 1 - n;
    if (n <= 0.125) {
      const double d = 2 * (0.125 - n);
      e = d < 0.5 ? 1 - (d * d / 2 + n) : 1;
    }
    f = 1 - e * e;
  }
  double t = S(2 * f);
  if (i == 0) {
    o.value() = 0.1 * f;
    *s = t;
    return false;
  }
  const double w = *s;
  if (i > 1 && w > 0.25) {
    const double k = S(2 * (w - 0.25));
    const double target = 0.6 * (n + 1);
    t += (target - t) * k;
    f += (target - f) * k;
  }
  o.value() += f * w * a;
  const double tp = t * (0.5 * P + w);
  *s = tp + (0.25 * P + 0.2) * (w - tp);
  if (colourWanted(F)) {
    const double g = 0.4 * frandom2DUnit(F->tables, 0.15 * X, 0.15 * Y) + 0.4;
    const double h = 2 * g;
    const double k = (tp + 0.04) * F->paramA;
    if (g < 0.5)
      addColour(o, -(0.9 * h - 0.6) * k, -(0.85 * h - 0.65) * k, -(0.8 * h - 0.7) * k);
    else
      addColour(o, -(0.4 * (h - 1) + 0.3) * k, -(0.45 * (h - 1) + 0.2) * k,
                -(0.5 * (h - 1) + 0.1) * k);
  }
  return false;
}

bool fp4zMFnoise(fractalsinfos* F, double X, double Y, double, double P, double* s, double a,
                 short i, dvector4d* acc)
{
  Rgbv o{acc};
  if (start(o, i, 0, 0.5, 0.5, 0.5))
    return false;
  const double p1 = F->paramA;
  const double n = 1.7 * fUnitPerlinNoise2D(F->tables, X, Y);
  const double b = p1 * n * (P + 0.5);
  double t;
  if (i == 0) {
    o.value() = (p1 + b) / 4;
    t = softClamp(p1 / 4 + b);
  } else {
    o.value() += n * *s * a;
    t = softClamp(((i < 3 ? 0.5 : 0.2) * P + *s) * b);
  }
  *s = t;
  if (colourWanted(F)) {
    double c0, c1, c2;
    frandom2DVector3D(F->tables, 0.23 * X, 0.23 * Y, &c0, &c1, &c2, t * F->paramB);
    addColour(o, c0, c1, c2);
  }
  return false;
}

bool fpfibrousrock(fractalsinfos* F, double X, double Y, double, double P, double* s, double a,
                   short i, dvector4d* acc)
{
  Vrgb o{acc};
  if (i == -1) {
    start(o, i, 0, 0.25, 0.25, 0.25);
    return false;
  }
  const double p1 = F->paramA;
  double u, v;
  fPerlinNoise2DVector2D(F->tables, X, Y, &u, &v, 2.0);
  const double d = std::fabs(u - v);
  const double r = bend(d);
  const double q = 1 - 1.5 * d > 0 ? (1 - 1.5 * d) * (1 - 1.5 * d) : 0.0;
  if (i == 0) {
    o.value() = r;
    const double k = r * p1;
    setColour(o, 0.25, 0.25, 0.25);
    if (colourWanted(F))
      setColour(o, 0.1 * k + 0.25, 0.11 * k + 0.25, 0.12 * k + 0.25);
    *s = P * r + (1 - r);
  } else {
    o.value() += a * *s * r;
    *s = 0.1 * P + S((1.05 - r) * *s);
  }
  if (colourWanted(F)) {
    const double k = q * p1;
    addColour(o, 0.18 * k, (0.12 - 0.04 * *s) * k, (0.04 * *s - 0.05) * k);
  }
  return false;
}

bool fpZgrainrock(fractalsinfos* F, double X, double Y, double, double P, double* s, double a,
                  short i, dvector4d* acc)
{
  Vrgb o{acc};
  if (i == -1) {
    start(o, i, 0, 0.25, 0.25, 0.25);
    return false;
  }
  const double p1 = F->paramA;
  double u, v;
  fPerlinNoise2DVector2D(F->tables, X, Y, &u, &v, 2.0);
  const double c = u * v - (1 - p1);
  const double g = c < 0 ? 0.0 : (c > 1 ? 1.0 : (2 - c) * c);
  if (i == 0) {
    o.value() = g;
    setColour(o, 0.25, 0.25, 0.25);
    *s = g;
  } else {
    const double h = a * g;
    const double d = h + 0.03125 - o.value();
    double k = 0;
    if (d > 0) {
      const double t = 8 * d;
      if (t < 0.5) {
        k = 2 * t;
        o.value() += t * t / 8;
      } else {
        k = 1;
        o.value() = h;
      }
    }
    const double m = *s + (3 - 2 * k) * k * k * (g - *s);
    o.value() += a * (0.2 + v) * m * P;
    *s = m;
  }
  if (colourWanted(F)) {
    const double e = g + 0.25 + 0.5 * P;
    const double ra = std::max(e * u, 0.0), rb = std::max(e * v, 0.0);
    addColour(o, (0.18 * ra + 0.1 * rb) * p1, (0.12 * ra + 0.15 * rb) * p1,
              (0.1 * ra + 0.2 * rb) * p1);
  }
  return false;
}

namespace {

// r capped smoothly below `top` over `width`: past the top it bends over and
// settles at top + width / 4.
double capRidge(double r, double top, double width)
{
  if (r < top)
    return r;
  const double u = (top - r) / width;
  return u > -0.5 ? r - width * u * u : top + width / 4;
}

// The table colour of the five rows at t.
void tableColour(const fractalsinfos* F, double t, double out[3])
{
  out[0] = out[1] = out[2] = 0;
  if (F->nodeParams != nullptr)
    fcolorvectorgradient(F->nodeParams, 5, t, &out[0], &out[1], &out[2]);
}

}  // namespace

bool fp4ridged(fractalsinfos* F, double X, double Y, double Z, double P, double* s, double a,
               short i, dvector4d* acc)
{
  Vrgb o{acc};
  if (i == -1) {
    start(o, i, 0, 0.6, 0.45, 0.35);
    return false;
  }
  const double n = std::fabs(fUnitPerlinNoise3D(F->tables, X, Y, Z));
  double f;
  if (i > 5) {
    const double r = 1 - n;
    const double u = (0.98 - r) / 0.04;
    if (r >= 0.98 && u <= -0.5) {
      f = 0.9801;
    } else {
      const double capped = r >= 0.98 ? r - 0.04 * u * u : r;
      f = capped >= 0 ? capped * capped : 0.0;
    }
  } else {
    const bool low = i < 3;
    const double T = low ? 0.4 * P + 0.4 : 0.15 * P + 0.85;
    const double r = low ? capRidge(T - n, T - 0.0075, 0.015) : capRidge(T - n, T - 0.0125, 0.025);
    f = r >= 0 ? (r / T) * (r / T) : 0.0;
  }
  const double g = 0.1 * P + f;
  if (i == 0) {
    o.value() = f;
    setColour(o, 0.6, 0.45, 0.35);
    *s = g;
  } else {
    const double w = *s;
    o.value() += f * w * a;
    *s = g * w + (0.25 * P + 0.25) * (w - g * w);
  }
  if (colourWanted(F)) {
    double c0, c1, c2;
    frandom3DVector3D(F->tables, X, Y, f, &c0, &c1, &c2, 0.001);
    const double m = 0.5 + F->paramB;
    const double k = *s * F->paramA;
    addColour(o, k * ((m - o.r()) * f + c0), k * ((m - o.g()) * f + c1),
              k * ((m - o.b()) * f + c2));
  }
  return false;
}

bool fp4icecracks(fractalsinfos* F, double X, double Y, double, double P, double* s, double a,
                  short i, dvector4d* acc)
{
  Rgbv o{acc};
  if (i == -1) {
    start(o, i, 0.4, 0.95, 1.0, 1.0);
    return false;
  }
  const double n = frandom2D_Unitlinear(F->tables, X, Y);
  if (i == 0) {
    const double n0 = 0.2 * n + frandom2D_Unitlinear(F->tables, 0.45 * X, 0.45 * Y);
    const double g = S(std::fabs(n0) * F->paramB);
    o.value() = g;
    *s = 4 * g * (1 - g);
    if (colourWanted(F))
      setColour(o, 0.8 * g, 0.9 * g + 0.4, g + 0.4);
    return n0 < 0;
  }
  const double e = std::fabs(n) * F->paramB;
  const double g = e > 1 ? 1.0 : S(e) * (2 - S(e));
  const double m = P * *s;
  const double h = m >= 1 ? 1.0 : (2 - m) * m;
  const double w = h * g;
  *s = 4 * w * (1 - g);
  o.value() = i > 3 ? o.value() + a * w : o.value() / 2 + a * w;
  if (colourWanted(F))
    addColour(o, 0.68 * w - 0.035, 0.75 * w - 0.03, 0.95 * w - 0.02);
  return n < 0;
}

bool fp4fracturedrocks(fractalsinfos* F, double X, double Y, double Z, double P, double* s,
                       double a, short i, dvector4d* acc)
{
  Rgbv o{acc};
  if (i == -1) {
    start(o, i, 0.25, 0.7, 0.6, 0.5);
    return false;
  }
  const double c = fUnitPerlinCracks3D(F->tables, X, Y, Z);
  const double q = 0.1 * bend(std::fabs(10 * c * F->paramA));
  const double t = q >= 1 ? 1.0 : (2 - q) * q;
  const double u = q >= 1 ? 0.0 : 1 - t;
  double colour[3];
  if (i == 0) {
    *s = 4 * t * u;
    o.value() = t;
    if (colourWanted(F)) {
      tableColour(F, t, colour);
      setColour(o, colour[0], colour[1], colour[2]);
    }
    return c < 0;
  }
  const double m = P * *s;
  const double g = m >= 1 ? 1.0 : (2 - m) * m;
  const double w = t * g;
  *s = 4 * w * u;
  o.value() = i <= 2 ? o.value() / 2 + a * w : o.value() + a * w;
  if (colourWanted(F)) {
    if (i < 4) {
      tableColour(F, t, colour);
      o.r() += (colour[0] - o.r()) * w;
      o.g() += (colour[1] - o.g()) * w;
      o.b() += (colour[2] - o.b()) * w;
    } else {
      const double k = 0.2 * w - 0.04;
      addColour(o, k, k, k);
    }
  }
  return c < 0;
}

namespace {

// A fraction of the lattice split of u, false when u has no lattice cell.
bool latticeSplit(double u, int32_t& cell, double& frac)
{
  kvnum::LatticeSplit s;
  if (!kvnum::lattice_floor(u, s))
    return false;
  cell = s.cell;
  frac = s.frac;
  return frac >= 0 && frac <= 1;
}

}  // namespace

double f34body::bubbleDistance(const KVtables* t, double x, double y, double z, double jitter)
{
  int32_t ix, iy, iz;
  double fx, fy, fz;
  if (!latticeSplit(x, ix, fx) || !latticeSplit(y, iy, fy) || !latticeSplit(z, iz, fz))
    return 0;
  double d = 1.0;
  for (int corner = 0; corner < 8; ++corner) {
    const int dx = corner & 1, dy = (corner >> 1) & 1, dz = (corner >> 2) & 1;
    const int32_t cx = kvnum::wrap_add_i32(ix, dx), cy = kvnum::wrap_add_i32(iy, dy),
                  cz = kvnum::wrap_add_i32(iz, dz);
    const double* v = t->rndVec3D[kvnoise::hash3D(t, cx, cy, cz, 1023u) & 1023u];
    const double ex = dx + jitter * v[0] - fx, ey = dy + jitter * v[1] - fy,
                 ez = dz + jitter * v[2] - fz;
    d = smoothMinBelow(d, ex * ex + ey * ey + ez * ez, 0.05, 0.0125);
  }
  return d;
}

bool fp3dFBubbles(fractalsinfos* F, double X, double Y, double Z, double P, double* s, double a,
                  short i, dvector4d* acc)
{
  Rgbv o{acc};
  if (i == -1) {
    start(o, i, 0.1, 0.2, 0.06, 0);
    *s = 0;
    return false;
  }
  const double d = f34body::bubbleDistance(F->tables, X, Y, Z, 0.38);
  const double q = d <= P ? -(d - P) * (d - P) : 0.0;
  if (i == 0) {
    o.value() = q + 0.3;
    setColour(o, q + 0.45, q + 0.32, q + 0.2);
    *s = q;
    return false;
  }
  const double qa = a * q;
  o.value() = smoothMinBelow(o.value(), qa + 0.3, 0.05, 0.0125);
  setColour(o, std::min(o.r(), qa + 0.45), std::min(o.g(), qa + 0.32), std::min(o.b(), qa + 0.2));
  return false;
}

bool fp4fractBubbles(fractalsinfos* F, double X, double Y, double Z, double P, double* s, double a,
                     short i, dvector4d* acc)
{
  Rgbv o{acc};
  const double* rows = F->nodeParams;
  auto moveToRow = [&](int row, double k) {
    if (rows == nullptr)
      return;
    o.r() += (rows[3 * row] - o.r()) * k;
    o.g() += (rows[3 * row + 1] - o.g()) * k;
    o.b() += (rows[3 * row + 2] - o.b()) * k;
  };
  if (i == -1) {
    setColour(o, 0, 0, 0);
    moveToRow(4, 1);
    o.value() = 0.125;
    *s = 0;
    return false;
  }
  const double floor = (P - a) * (P - a) - 0.025;
  if (i >= 1 && o.value() < floor)
    return false;
  const double d1 = f34body::bubbleDistance(F->tables, X, Y, Z, 0.33);
  double d = d1;
  if (i <= 1) {
    const double d2 = f34body::bubbleDistance(F->tables, X + 777.5, Y + 1111.5, Z + 333.5, 0.33);
    d = smoothMinBelow(d1, d2, 0.1, 0.025);
  }
  const double h = d - 0.75;
  const double v = h <= 0 ? 0.5625 - h * h : 0.5625;
  if (i == 0) {
    o.value() = v;
    if (colourWanted(F)) {
      setColour(o, 0, 0, 0);
      moveToRow(0, 1);
    }
    *s = 0;
    return false;
  }
  const double old = o.value();
  o.value() = smoothMinBelow(old, a * v + floor, 0.05, 0.0125);
  const double drop = old - o.value();
  if (colourWanted(F) && drop > 0) {
    moveToRow(i % 2 == 1 ? 1 : 2, std::min(3 * drop, 1.0));
    if (i == 1 && F->paramA > 0) {
      double g0, g1, g2;
      frandom3DVector3D(F->tables, X, Y, Z, &g0, &g1, &g2, F->paramA / 400);
      addColour(o, g0 * drop, g1 * drop, g2 * drop);
    }
  }
  return false;
}

bool fpMFdisplace3D(fractalsinfos* F, double X, double Y, double Z, double P, double* s, double a,
                    short i, dvector4d* acc)
{
  if (i == -1) {
    acc->x = acc->y = 0;
    return false;
  }
  double d0, d1, d2;
  fPerlinNoise3DVector3D(F->tables, X, Y, Z, &d0, &d1, &d2, 2.0);
  const double t = S((std::fabs(d0) + std::fabs(d1) + std::fabs(d2)) * (P + 0.5));
  if (i == 0) {
    acc->x = 0.5 * d0;
    acc->y = 0.5 * d1;
    acc->z = 0.5 * d2;
    *s = (t - 1) / 2 + 1;
    return false;
  }
  const double w = *s;
  acc->x += a * w * d0;
  acc->y += a * w * d1;
  acc->z += a * w * d2;
  const double tp = (w + 0.05) * t;
  *s = tp + (w - tp) * 0.1;
  return false;
}

bool fp4greenmarble(fractalsinfos* F, double X, double Y, double Z, double, double* s, double a,
                    short i, dvector4d* acc)
{
  Vrgb o{acc};
  if (i == -1) {
    start(o, i, 0, 0.2, 0.4, 0.3);
    return false;
  }
  const double n = 2.5 * fUnitPerlinNoise3D(F->tables, X, Y, Z);
  const double e = i < 2 ? 0.04 : 0.08;
  const double q = (1 + e / 2) * std::fabs(n) - e / 4;
  double r = q;
  if (q <= e / 4) {
    const double u = (e / 4 - q) / e;
    r = u < 0.5 ? q + e * u * u : 0.0;
  }
  const double h = r > 1 ? 1.0 : r * (2 - r);
  if (i == 0) {
    o.value() = h;
    setColour(o, 0.2, 0.4, 0.3);
    *s = h;
    return false;
  }
  const double w = *s;
  o.value() = i < 3 ? h * o.value() : o.value() + a * w * h;
  if (colourWanted(F)) {
    const double m = n * w;
    if (i < 6) {
      double L = (0.6 - 0.510179 * std::log(8 * h + 0.1)) * a;
      if (i < 2)
        L *= w;
      addColour(o, L - 0.02 * m, L + 0.05 * m, L + 0.06 * m);
    } else {
      addColour(o, 0.04 * m, 0.07 * m, 0.06 * m);
    }
  }
  *s = w * h;
  return false;
}

namespace {

// The cell of (X, Y) and its fractions, false when a fraction leaves 0..1.
struct PlaneCell
{
  int32_t ix, iy;
  double fx, fy;
};

bool planeCell(double X, double Y, PlaneCell& c)
{
  return latticeSplit(X, c.ix, c.fx) && latticeSplit(Y, c.iy, c.fy);
}

// Calls feature(dx, dy, e) for the 3 x 3 cells around c: (dx, dy) from the
// point to the cell's feature (its centre plus 0.375 × the first two
// components of its random vector), e its random vector. The entries of a
// column cx are h, h + 1, h + 2 for rows iy - 1 .. iy + 1, with
// h = perm[cx & 1023] + iy - 1 + (cx >> 9).
template <class Feature>
void eachPlaneFeature(const KVtables* t, const PlaneCell& c, Feature feature)
{
  for (int col = -1; col <= 1; ++col) {
    const int32_t cx = kvnum::wrap_add_i32(c.ix, col);
    const uint32_t h = uint32_t(t->perm[cx & 1023]) + uint32_t(c.iy) - 1u + uint32_t(cx >> 9);
    for (int row = 0; row < 3; ++row) {
      const double* e = t->rndVec3D[(h + uint32_t(row)) & 1023u];
      const double dx = col + 0.5 + 0.375 * e[0] - c.fx;
      const double dy = row - 1 + 0.5 + 0.375 * e[1] - c.fy;
      feature(dx, dy, e);
    }
  }
}

}  // namespace

bool fp4zBushes(fractalsinfos* F, double X, double Y, double, double P, double* s, double a,
                short i, dvector4d* acc)
{
  Vrgb o{acc};
  if (i == -1) {
    start(o, i, 0, 0.6, 0.6, 0.4);
    return false;
  }
  const double p = F->paramA;
  const double q = i == 0 ? (0.5 * P + 0.5) * p : 0.5 * *s + 0.5 * P;
  double r2 = 0.9375 * q + 0.0625, W = (2 - 0.5 * q) / r2;
  if (q < 0) {
    r2 = 0.0625;
    W = 32;
  } else if (q > 1) {
    r2 = 1;
    W = 1.5;
  }
  PlaneCell cell;
  if (!planeCell(X, Y, cell))
    return false;
  double v = 0;
  eachPlaneFeature(F->tables, cell, [&](double dx, double dy, const double* e) {
    const double d2 = dx * dx + dy * dy;
    if (d2 < r2)
      v += bend((r2 - d2) * std::fabs(e[2]) * W);
  });
  if (i < 3) {
    o.value() = 0;
    *s = i == 0 ? v : *s + (v - *s) * 0.33;
    if (colourWanted(F))
      setColour(o, (0.07 * v - 0.4) * p + 1, (-0.07 * v - 0.5) * p + 1, (-0.1 * v - 0.4) * p + 0.7);
    return false;
  }
  const double k = std::max(S((p + 1.25) * *s) + 0.1 * std::fabs(p), 0.1) * v;
  o.value() += a * k;
  *s += (k - *s) * 0.8;
  if (colourWanted(F)) {
    if (i % 2 == 0)
      addColour(o, -0.12 * k, 0.05 * k, 0);
    else
      addColour(o, -0.14 * k, 0, -0.15 * k);
  }
  return false;
}

bool fp3dFBubblesPos(fractalsinfos* F, double X, double Y, double Z, double, double* s, double a,
                     short i, dvector4d* acc)
{
  Rgbv o{acc};
  if (i == -1) {
    start(o, i, 0.7, 0.08, 0.9, 0.8);
    *s = 0;
    return false;
  }
  int32_t ix, iy, iz;
  double fx, fy, fz;
  double u = 1;
  if (latticeSplit(X, ix, fx) && latticeSplit(Y, iy, fy) && latticeSplit(Z, iz, fz)) {
    double m = 1.0;
    for (int corner = 0; corner < 8; ++corner) {
      const int dx = corner & 1, dy = (corner >> 1) & 1, dz = (corner >> 2) & 1;
      const double* v = F->tables->rndVec3D[kvnoise::hash3D(F->tables, kvnum::wrap_add_i32(ix, dx),
                                                            kvnum::wrap_add_i32(iy, dy),
                                                            kvnum::wrap_add_i32(iz, dz), 1023u) &
                                            1023u];
      const double ex = dx + 0.4 * v[0] - fx, ey = dy + 0.4 * v[1] - fy, ez = dz + 0.4 * v[2] - fz;
      m = std::min(m, ex * ex + ey * ey + ez * ez);
    }
    u = 1 - std::numbers::pi * m;
  }
  const double q = u >= 0 ? u * u : 0.0;
  const double r = u >= 0 ? 1 - q : 1.0;
  if (i == 0) {
    o.value() = q;
    setColour(o, q, q, q);
    *s = r;
    return false;
  }
  const double w = *s;
  const double v = a * q;
  o.value() += w * v;
  *s = r * w;
  if (colourWanted(F))
    setColour(o, std::max(o.r(), v), std::max(o.g(), v - 0.2), std::max(o.b(), v - 0.3));
  return false;
}

namespace {

// The two nearest features of the voronoi rock: d1 the smooth nearest
// distance and the third component jn of the last feature that lowered it,
// then d2 the smooth second nearest over the features beyond d1.
struct RockEdge
{
  double e;   // d2 - d1, 0 when no feature counts
  double jn;  // third component of the nearest feature
};

RockEdge rockEdge(const KVtables* t, const PlaneCell& cell)
{
  constexpr double kReach = 1.375;
  double D[9], j[9];
  int count = 0;
  eachPlaneFeature(t, cell, [&](double dx, double dy, const double* e) {
    const double d2 = dx * dx + dy * dy;
    if (d2 < kReach) {
      D[count] = d2;
      j[count] = e[2];
      ++count;
    }
  });
  if (count == 0)
    return {0, 0};
  double d1 = kReach, jn = 0;
  for (int k = 0; k < count; ++k) {
    if (D[k] < d1)
      jn = j[k];
    d1 = smoothMinBelow(d1, D[k], 0.1, 0.025);
  }
  double d2 = kReach;
  for (int k = 0; k < count; ++k) {
    if (!(D[k] > d1))
      continue;
    if (d2 - 0.025 > D[k]) {
      d2 = D[k];
    } else {
      const double u = (d2 - 0.025 - D[k]) / 0.1;
      if (u > -0.5)
        d2 = D[k] - 0.1 * u * u;
    }
  }
  return {d2 - d1, jn};
}

}  // namespace

bool fp4voronrock(fractalsinfos* F, double X, double Y, double, double P, double* s, double a,
                  short i, dvector4d* acc)
{
  Vrgb o{acc};
  if (start(o, i, 0, 0.5, 0.5, 0.5))
    return false;
  PlaneCell cell;
  if (!planeCell(X, Y, cell))
    return false;
  // Every octave searches its features: from octave 4 on the step of octave
  // 3 runs on that octave's own edge difference.
  const RockEdge edge = rockEdge(F->tables, cell);
  const double e = edge.e, jn = std::fabs(edge.jn);
  if (i == 0) {
    double v = 2 * e * jn - 0.3;
    if (v <= 0.025) {
      const double u = (0.025 - v) / 0.1;
      v = u < 0.5 ? v + 0.1 * u * u : 0.0;
    }
    o.value() += v;
    *s = (0.25 * P + 0.125) * (1 - v) + v;
  } else if (i <= 2) {
    double m = i == 1 ? 1.8 * e * jn : 1.5 * e;
    double t = 1 - m;
    if (m >= 0.975) {
      const double u = (0.975 - m) / 0.1;
      if (u > -0.5) {
        m -= 0.1 * u * u;
        t = 1 - m;
      } else {
        m = 1;
        t = 0;
      }
    }
    const double w = *s;
    o.value() += a * m * w;
    *s = (0.5 * P * t + m) * w;
  } else {
    const double k = 1 - 16 * o.value();
    if (k > 0) {
      double q = 2 * e;
      if (q >= 0.225) {
        const double u = (0.225 - q) / 0.1;
        q = u > -0.5 ? q - 0.1 * u * u : 0.25;
      }
      o.value() += q * a * k;
    }
  }
  if (colourWanted(F))
    addColour(o, 0.3 * *s, -0.1 * *s, -0.2 * *s);
  return false;
}
