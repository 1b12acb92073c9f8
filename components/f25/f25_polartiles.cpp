#include "components/f25/f25_polartiles.h"

#include <algorithm>
#include <cmath>

#include "components/common/octaves.h"
#include "components/f25/f25_cellkit.h"

namespace {

using f25kit::Cell;
using f25polar::kPi;

// ---- Fractal Polar Tile's cells -------------------------------------------

struct PolarCellConstants
{
  double k1;      // 2B, the colour period
  double theta0;  // sector angle
  double rho;     // disk radius relative to its centre distance
  double L;       // ring width in log radius
  double l1;      // ln(1 + rho)
};

PolarCellConstants& polarCell(gfunc* g)
{
  return privateArea<PolarCellConstants>(g);
}

struct Disk
{
  double mx;
  double my;
  double radius;
};

Disk diskAt(double angle, double distance, double rho)
{
  return {distance * std::cos(angle - kPi / 2), distance * std::sin(angle - kPi / 2),
          rho * distance};
}

double dist2(double x, double y, const Disk& d)
{
  const double dx = x - d.mx, dy = y - d.my;
  return dx * dx + dy * dy;
}

void invertIn(double& x, double& y, double mx, double my, double r2)
{
  const double dx = x - mx, dy = y - my;
  const double f = r2 / (dx * dx + dy * dy);
  x = mx + f * dx;
  y = my + f * dy;
}

// ---- Escher Disk Tile -------------------------------------------------------

struct EscherConstants
{
  int n;
  double cx[kF25escherMaxCircles];
  double cy[kF25escherMaxCircles];
  double r2;
  double k0;  // squared radius of the main disk
  double k1;  // main disk radius / pi
  double cosB, sinB, cosC, sinC;
};

EscherConstants& escher(gfunc* g)
{
  return privateArea<EscherConstants>(g);
}

double escherFactor(int n)
{
  switch (n) {
    case 3:
      return 0.5326;
    case 4:
      return 0.3739;
    case 5:
      return 0.5909;
    case 6:
      return 0.4148;
    default:
      return 0;
  }
}

// Inverts P in the first circle of the ring that holds it (not at its
// centre); false when none does.
bool escherStep(const EscherConstants& e, double& x, double& y)
{
  for (int i = 0; i < e.n; ++i) {
    const double dx = x - e.cx[i], dy = y - e.cy[i];
    const double d2 = dx * dx + dy * dy;
    if (0 < d2 && d2 < e.r2) {
      invertIn(x, y, e.cx[i], e.cy[i], e.r2);
      return true;
    }
  }
  return false;
}

}  // namespace

// ---- Spiral Polar Tile ------------------------------------------------------

void f25_SpiralTile_prepare(gfunc* g)
{
  g->B = std::trunc(g->B);
  const double b = g->B;
  double* k = f25_k(g).k;
  const double s = std::sqrt(1 / (b * b) + 9) / kPi;
  const double alpha = std::asin(1 / (kPi * b * s));
  k[0] = 1 / (2 * b);              // ka
  k[1] = std::cos(alpha) * s * b;  // kc
  k[2] = s * b * std::sin(alpha);  // kd
}

void f25_SpiralTile(gfunc* g)
{
  const double* k = f25_k(g).k;
  const double ka = k[0], kc = k[1], kd = k[2], a = g->A, b = g->B, c = g->C;
  const cpalette& palette = f25_palette(g);
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    const double theta = f25kit::polarAngle(x, y);
    const double l = std::log(std::sqrt(x * x + y * y)) * a;
    Cell ci, cj;
    if (!f25kit::split(kc * theta - kd * l, ci) || !f25kit::split(kc * l + kd * theta + c, cj))
      return std::nullopt;
    const double X = 2 * ci.f - 1;
    const double Y = (2 * cj.f - 1) / a;
    const double d2 = X * X + Y * Y;
    F25rgb colour{0, 0, 0};
    if (d2 < 1) {
      const double t = (cj.i - ci.i / (3 * b)) * ka;
      colour = f25_paletteColour(palette, f25_frac(t)).scaled(std::min((1 - d2) / 32, 1.0 / 32));
    }
    return F25out{X, Y, colour.r, colour.g, colour.b};
  });
}

// ---- Fractal Polar Tile -----------------------------------------------------

void f25_PolarFractTile_prepare(gfunc* g)
{
  PolarCellConstants& k = polarCell(g);
  k.k1 = 2 * g->B;
  k.theta0 = 2 * kPi / k.k1;
  const double oc = 1 - std::cos(k.theta0), sn = std::sin(k.theta0);
  k.rho = 0.5 * std::sqrt(oc * oc + sn * sn);
  k.L = std::log((1 + k.rho) / (1 - k.rho));
  k.l1 = std::log(1 + k.rho);
}

void f25_PolarFractTile(gfunc* g)
{
  const PolarCellConstants& k = polarCell(g);
  const double c = g->C;
  const int passes = KV_octavePasses(g);
  const cpalette& palette = f25_palette(g);
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    for (int n = 0;; ++n) {
      const double alpha = f25kit::polarAngle(x, y);
      const double lambda = std::log(std::sqrt(x * x + y * y)) + c;
      Cell sector, ring;
      if (!f25kit::split(alpha / k.theta0, sector) || !f25kit::split((k.l1 + lambda) / k.L, ring))
        return std::nullopt;
      const double a = k.theta0 * sector.i + k.theta0 / 2;
      const double gRing = k.L * ring.i - k.l1;
      const double e = gRing + k.L - k.l1 - c;
      const Disk disk = diskAt(a, std::exp(e), k.rho);
      if (dist2(x, y, disk) < disk.radius * disk.radius) {
        const double cs = std::cos(a - kPi / 2), sn = std::sin(a - kPi / 2);
        const double dx = x - disk.mx, dy = y - disk.my;
        const double t = f25_frac(0.5 * ring.i / k.k1 + sector.i / k.k1);
        return f25kit::out((cs * dx + sn * dy) / disk.radius, (cs * dy - sn * dx) / disk.radius,
                           f25_paletteColour(palette, t));
      }
      const double an = alpha >= a ? a + k.theta0 / 2 : a - k.theta0 / 2;
      const double en = gRing + k.L / 2 > lambda ? e - k.L / 2 : e + k.L / 2;
      const Disk next = diskAt(an, std::exp(en), k.rho);
      const double r2 = next.radius * next.radius;
      if (!(dist2(x, y, next) < r2) || n >= passes)
        return F25out{x, y, 0, 0, 0};
      invertIn(x, y, next.mx, next.my, r2);
    }
  });
}

// ---- Escher Disk Tile -------------------------------------------------------

void f25_EscherTile_prepare(gfunc* g)
{
  if (g->A < 3)
    g->A = 3;
  EscherConstants& k = escher(g);
  k.n = std::clamp(kvnum::sat_i32(g->A), 3, kF25escherMaxCircles);
  const double theta = 2 * kPi / k.n;
  const double c = std::cos(theta / 2), s = std::sin(theta / 2);
  const double d = s * s / c + c;
  const double e = std::sqrt(d * d - 1);
  const double r = (d - e) * escherFactor(k.n) + e;
  k.r2 = r * r;
  for (int i = 0; i < k.n; ++i) {
    k.cx[i] = d * std::cos(i * theta + kPi / 2);
    k.cy[i] = -d * std::sin(i * theta + kPi / 2);
  }
  double x = -k.r2 / d;
  for (int i = 0; i < 10; ++i)
    x = k.r2 / (-(x + d) - d);
  const double rm = x + d;
  k.k0 = rm * rm;
  k.k1 = rm / kPi;
  k.cosB = std::cos(g->B);
  k.sinB = std::sin(g->B);
  k.cosC = std::cos(g->C);
  k.sinC = std::sin(g->C);
}

void f25_EscherTile(gfunc* g)
{
  const EscherConstants& k = escher(g);
  const int passes = KV_octavePasses(g);
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    double X = k.k1 * x, Y = k.k1 * y;
    if (!(X * X + Y * Y < k.k0))
      return F25out{gINFINITY, gINFINITY, 0, 0, 0};
    int count = 0;
    for (int pass = 0; pass < passes; ++pass)
      if (escherStep(k, X, Y))
        ++count;
    const bool odd = (count & 1) != 0;
    const double cs = odd ? k.cosC : k.cosB, sn = odd ? k.sinC : k.sinB;
    const double rg = odd ? 8 : 0;
    return F25out{8 * (X * cs - Y * sn), 8 * (X * sn + Y * cs), rg, rg, 4.0 * (count & 3)};
  });
}

int16_t f25_SpiralTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_SpiralTile, g, msg, a, b, c);
}

int16_t f25_PolarFractTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_PolarFractTile, g, msg, a, b, c);
}

int16_t f25_EscherTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_EscherTile, g, msg, a, b, c);
}
