#include "components/f25/f25_tilings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "components/f25/f25_cellkit.h"

namespace {

using f25kit::Cell;

// Tiles and Mirror Tiles; kMirror mirrors the odd cells (bit 0 of the
// 32-bit cell index, so -1 is odd).
template <bool kMirror>
void squareTiles(gfunc* g)
{
  const F25constants& K = f25_k(g);
  const double* k = K.k;
  const cpalette& palette = f25_palette(g);
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    Cell cu, cv;
    if (!f25kit::split(k[0] * x + 0.5, cu) || !f25kit::split(k[2] * y + 0.5, cv))
      return std::nullopt;
    const double fx = cu.f, fy = cv.f;
    const double ex = fx > 0.5 ? k[5] * (1 - fx) : k[5] * fx;
    const double ey = fy > 0.5 ? k[4] * (1 - fy) : k[4] * fy;
    const double e = 4 * std::min(ex, ey);
    const double w = e < 0 ? 1 : 1 - e;
    const bool flipX = kMirror && (cu.i & 1) != 0;
    const bool flipY = kMirror && (cv.i & 1) != 0;
    const double xp = k[1] * (flipX ? 0.5 - fx : fx - 0.5);
    const double yp = k[3] * (flipY ? 0.5 - fy : fy - 0.5);
    const double t = f25kit::hash(g, cu.i, cv.i) / 1024.0;
    const F25rgb c = f25kit::edgeBlend(f25_tableColour(palette, t), K.background, w);
    return f25kit::out(xp, yp, c);
  });
}

// One triangle fold of the hexagonal kaleidoscope: (t, q) -> (t', q') and
// the floor of the folded coordinate; false where it cannot be formed.
bool hexaFold(double& t, double& q, int32_t& floorA)
{
  const double a = (0.5 * t + 0.866025 * q) * 0.5;
  q = 0.5 * q - 0.866025 * t;
  Cell c;
  if (!f25kit::split(a, c))
    return false;
  floorA = c.i;
  t = 2 * c.f;
  if (t > 1)
    t = 2 - t;
  return true;
}

int32_t positiveMod3(int64_t v)
{
  return int32_t(((v % 3) + 3) % 3);
}

}  // namespace

void f25_Tiles_prepare(gfunc* g)
{
  F25constants& K = f25_k(g);
  double* k = K.k;
  const double c = g->C < 0.125 ? 0.125 : g->C;  // NaN passes
  k[0] = 0.5 * g->B;
  k[1] = 2 * g->A;
  k[2] = c * k[0];
  k[3] = k[1] / c;
  k[4] = 2 / c;
  k[5] = 2.0;
  K.background = f25_background(g);
}

void f25_Tiles(gfunc* g)
{
  squareTiles<false>(g);
}

void f25_MirrorTiles(gfunc* g)
{
  squareTiles<true>(g);
}

void f25_HexaTiles_prepare(gfunc* g)
{
  F25constants& K = f25_k(g);
  K.k[1] = 0.5 * g->B;
  K.k[2] = 0.33333333 * g->C;
  K.k[3] = 0.57735026 * g->C;
  K.background = f25_background(g);
}

void f25_HexaTiles(gfunc* g)
{
  const F25constants& K = f25_k(g);
  const double k1 = K.k[1], k2 = K.k[2], k3 = K.k[3], a = g->A;
  const cpalette& palette = f25_palette(g);
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    const double u = 0.5 * k1 * x;
    const double w0 = k1 * y + 2771280.0;
    double q = w0 - std::trunc(w0 / 3.4641) * 3.4641;
    Cell cu;
    if (!f25kit::split(u, cu))
      return std::nullopt;
    const int64_t ru = int64_t(std::trunc(u + 0.5)) - (u < -0.5 ? 1 : 0);
    double t = 2 * cu.f;
    if (t > 1)
      t = 2 - t;
    int32_t f1 = 0, f2 = 0, f3 = 0;
    if (!hexaFold(t, q, f1) || !hexaFold(t, q, f2) || !hexaFold(t, q, f3))
      return std::nullopt;
    const double X = 0.5 * t + 0.866025 * q;
    const double Y = 0.5 * q - 0.866025 * t;
    const int32_t m = (f1 == 0 && f2 == 0) ? positiveMod3(ru + 1) : positiveMod3(cu.i);
    const F25rgb colour = f25_paletteColour(palette, m / 2.0);
    const F25rgb c = f25kit::edgeBlend(colour, K.background, 4 * X + 1);
    return f25kit::out(a * (X + k2), a * (Y + k3), c);
  });
}

void f25_moduloX_prepare(gfunc* g)
{
  F25constants& K = f25_k(g);
  K.k[0] = 1 / g->A;
  K.background = f25_background(g);
}

void f25_moduloX(gfunc* g)
{
  const F25constants& K = f25_k(g);
  const double k0 = K.k[0], a = g->A, b = g->B, cOff = g->C;
  const cpalette& palette = f25_palette(g);
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    const double xs = x + b, ys = y + cOff;
    const double yy = k0 * ys;
    Cell cu;
    if (!f25kit::split((k0 * xs + 1) * 0.5, cu))
      return std::nullopt;
    const double xx = 2 * cu.f - 1;
    const double d2 = xx * xx + yy * yy;
    double X = xs, Y = ys;
    F25rgb colour{0, 0, 0};
    if (d2 < 1) {
      X = xx * a / d2;
      Y = yy * a / d2;
      colour = f25_paletteColour(palette, f25_frac(cu.i / 24.0));
    }
    const double e = d2 - 1;
    if (-1 < e && e < 1)
      colour = f25kit::edgeBlend(colour, K.background, 1 - std::sqrt(std::fabs(e)));
    return f25kit::out(X - b, Y - cOff, colour);
  });
}

int16_t f25_Tiles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_Tiles, g, msg, a, b, c);
}

int16_t f25_MirrorTiles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_MirrorTiles, g, msg, a, b, c);
}

int16_t f25_HexaTiles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_HexaTiles, g, msg, a, b, c);
}

int16_t f25_moduloX_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_moduloX, g, msg, a, b, c);
}
