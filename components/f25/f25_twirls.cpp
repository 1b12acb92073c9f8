#include "components/f25/f25_twirls.h"

#include <algorithm>
#include <cmath>

#include "components/f22/f22_pvt.h"
#include "components/f25/f25_cellkit.h"
#include "noise/drivers.h"
#include "noise/noises.h"

namespace {

using f25kit::Cell;

// One twirl disk of a lattice: the point (X, Y) in the cell's -1..1 frame
// turned by A w^2 times the cell's random value, w = 1 - |(X, Y)|; gives w^2
// (0 outside the disk).
double twirl(const gfunc* g, int32_t i, int32_t j, double amplitude, double& X, double& Y)
{
  const double d2 = X * X + Y * Y;
  if (!(d2 < 1))
    return 0;
  const double w = 1 - std::sqrt(d2);
  const double* v = g->doc->tables.planeVec3D[f25kit::hash(g, i, j) & 255];
  const double phi = std::max(v[1], v[0]) * amplitude * (w * w);
  const double c = std::cos(phi), s = std::sin(phi);
  const double x0 = X;
  X = X * c - Y * s;
  Y = Y * c + x0 * s;
  return w * w;
}

// The lattice cell of u and u's position in it on -1..1.
bool cellFrame(double u, Cell& c, double& local)
{
  if (!f25kit::split(u, c))
    return false;
  local = 2 * c.f - 1;
  return true;
}

}  // namespace

void f25_RandomTwirls_prepare(gfunc* g)
{
  double* k = f25_k(g).k;
  k[1] = g->C / 8;
  k[2] = k[1] < 1e-5 ? 99999.99999999999 : 1 / k[1];
}

void f25_RandomTwirls(gfunc* g)
{
  const double* k = f25_k(g).k;
  const double k1 = k[1], k2 = k[2], a = g->A, b = g->B;
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    Cell ci, cj, ci2, cj2;
    double X, Y, X2, Y2;
    if (!cellFrame(k1 * x + b, ci, X) || !cellFrame(k1 * y, cj, Y))
      return std::nullopt;
    double s = twirl(g, ci.i, cj.i, a, X, Y);
    // The second lattice is shifted by half a cell.
    if (!cellFrame((X + 1) / 2 + ci.i + 33.5, ci2, X2) ||
        !cellFrame((Y + 1) / 2 + cj.i + 33.5, cj2, Y2))
      return std::nullopt;
    s += twirl(g, ci2.i, cj2.i, a, X2, Y2);
    const double p = (X2 + 1) / 2 + ci2.i - 33.5;
    const double q = (Y2 + 1) / 2 + cj2.i - 33.5;
    const double xp = (p - b) * k2, yp = q * k2;
    const double gain = k1 * s * 64;
    return F25out{xp, yp, (x - xp) * gain, (y - yp) * gain, 8 * s};
  });
}

void f25_disperlin(gfunc* g)
{
  fractalsinfos fi = g->doc->fractal;
  fi.tables = &g->doc->tables;
  const double* K = f22_k(g).K;
  const double k0 = K[0], k2 = K[2];
  // No lower bound: far below the start frequency the octave sum is zero.
  const double limit = std::min(K[1], g->doc->yPixelScale);
  const double gain = 4 * k2;
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    double dx = 0, dy = 0;
    fractal2DVector_procptr(&fi, fPerlinNoise2DVector2D, x, y, k2, limit, k0, 0.0, 0.5, &dx, &dy);
    return F25out{x + dx, y + dy, dx * gain, dy * gain, std::sqrt(dx * dx + dy * dy) * gain};
  });
}

int16_t f25_RandomTwirls_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_RandomTwirls, g, msg, a, b, c);
}

int16_t f25_disperlin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return f22_multiperlin_handler(g, msg, a, b, c);
}
