#include "components/f25/f25_mirrors.h"

#include <algorithm>
#include <cmath>

#include "components/f25/f25_cellkit.h"
#include "engine/treemanage.h"

namespace {

using f25mirror::kPi;

// A count parameter truncated and held to lo..hi (NaN gives lo).
int heldCount(double v, int lo, int hi)
{
  return std::clamp(kvnum::sat_i32(v), lo, hi);
}

// Outer Mirror N's mirror directions.
struct OuterMirrors
{
  int count;
  double c[kF25outerMirrorsMax];
  double s[kF25outerMirrorsMax];
};

OuterMirrors& outerMirrors(gfunc* g)
{
  return privateArea<OuterMirrors>(g);
}

// (c p + s q, c q - s p): the point back from mirror coordinates.
F25out fromMirror(double c, double s, double p, double q, double r, double b)
{
  return {c * p + s * q, c * q - s * p, r, 0, b};
}

F25out outerOneMirror(const OuterMirrors& m, double bw, double x, double y)
{
  const double c = m.c[0], s = m.s[0];
  const double p = x * c - y * s + bw, q = y * c + x * s;
  if (p < 0)
    return fromMirror(c, s, -p - bw, q, 0, 0.5);
  return {x, y, 0, 0, 0};
}

F25out outerManyMirrors(const OuterMirrors& m, double bw, double x, double y)
{
  double r = 0, b = 0;
  for (int i = 0; i < m.count; ++i) {
    const double c = m.c[i], s = m.s[i];
    const double p = x * c - y * s, q = y * c + x * s;
    double pr;
    if (p < -bw) {
      pr = -(p + 2 * bw);
      b += 16;
    } else if (p > bw) {
      pr = 2 * bw - p;
      r += 16;
    } else {
      continue;
    }
    x = c * pr + s * q;
    y = c * q - s * pr;
  }
  return {x, y, r / 32, 0, b / 32};
}

}  // namespace

// ---- Mirror ---------------------------------------------------------------

void f25_mirror_prepare(gfunc* g)
{
  F25constants& K = f25_k(g);
  K.k[0] = std::cos(g->A);
  K.k[1] = std::sin(g->A);
  K.background = f25_background(g);
}

void f25_mirror(gfunc* g)
{
  const F25constants& K = f25_k(g);
  const double k0 = K.k[0], k1 = K.k[1], b = g->B, c = g->C;
  const cpalette palette = f25kit::cyclicPalette(f25_palette(g));
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    const double u = f25kit::softFold(k0 * x - k1 * y);
    const double v = k1 * x + k0 * y;
    const double t = (std::atan(v / u) + kPi / 2) * 0.3183098861837907;
    const F25rgb colour =
        f25kit::edgeBlend(f25_paletteColour(palette, t), K.background, 1.015625 - u);
    return f25kit::out(k0 * u + k1 * v + b, k0 * v - k1 * u + c, colour);
  });
}

// ---- Mirror N ---------------------------------------------------------------

void f25_mirrorN_prepare(gfunc* g)
{
  F25constants& K = f25_k(g);
  const int n = heldCount(g->A, 1, kF25mirrorNmax);
  K.k[0] = std::cos(kPi / n);
  K.k[1] = std::sin(kPi / n);
  K.k[2] = n;
  K.background = f25_background(g);
}

void f25_mirrorN(gfunc* g)
{
  const F25constants& K = f25_k(g);
  const double k0 = K.k[0], k1 = K.k[1], b = g->B, c = g->C;
  const int n = heldCount(K.k[2], 1, kF25mirrorNmax);
  const cpalette palette = f25kit::cyclicPalette(f25_palette(g));
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    double u = 0;
    for (int s = 0; s < n; ++s) {
      u = f25kit::softFold(k0 * x - k1 * y);
      y = k0 * y + k1 * x;
      x = u;
    }
    const double xp = x + b, yp = y + c;
    const F25rgb colour = f25kit::edgeBlend(f25_paletteColour(palette, f25_frac(yp * 0.125)),
                                            K.background, 1.015625 - 2 * u);
    return f25kit::out(xp, yp, colour);
  });
}

// ---- Outer Mirror N -----------------------------------------------------

void f25_outermirrorN_prepare(gfunc* g)
{
  OuterMirrors& m = outerMirrors(g);
  m.count = heldCount(g->C, 0, kF25outerMirrorsMax);
  for (int i = 0; i < m.count; ++i) {
    const double phi = i * 2 * kPi / g->C + g->A;
    m.c[i] = std::cos(phi);
    m.s[i] = std::sin(phi);
  }
}

void f25_outermirrorN(gfunc* g)
{
  const OuterMirrors& m = outerMirrors(g);
  const double bw = g->B;
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    if (m.count == 1)
      return outerOneMirror(m, bw, x, y);
    if (m.count >= 2)
      return outerManyMirrors(m, bw, x, y);
    return F25out{x, y, 0, 0, 0};
  });
}

void f25_outermirrorNreal(gfunc* g)
{
  const OuterMirrors& m = outerMirrors(g);
  const double bw = g->B;
  const cpalette& palette = f25_palette(g);
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    double xp = x, yp = y;
    int line = -1;
    double lowest = 0;
    for (int i = 0; i < m.count; ++i) {
      const double c = m.c[i], s = m.s[i];
      const double p = x * c - y * s + bw, q = y * c + x * s;
      if (i > 0 && p > lowest)
        continue;
      lowest = p;
      if (p < 0) {
        const double pr = -p - bw;
        xp = s * q + c * pr;
        yp = c * q - s * pr;
        line = i;
      }
    }
    const F25rgb colour =
        line < 0 ? F25rgb{0, 0, 0} : f25_tableColour(palette, double(line) / m.count);
    return f25kit::out(xp, yp, colour);
  });
}

// ---- Rotate N -------------------------------------------------------------

void f25_rotateN_prepare(gfunc* g)
{
  F25constants& K = f25_k(g);
  const int n = heldCount(g->A, 1, kF25rotateSectorsMax);
  K.k[0] = 2 * kPi / n;
  K.k[1] = n / (2 * kPi);
  K.k[2] = n;
  auto* table = static_cast<F25sectorTable*>(arb_AllocAuxMemory(g, sizeof(F25sectorTable)));
  if (table == nullptr)
    return;
  for (int i = 0; i < n; ++i) {
    const double angle = (i + 0.5) * K.k[0] + kPi;
    table->direction[i][0] = std::cos(angle);
    table->direction[i][1] = std::sin(angle);
    const F25rgb c =
        f25_paletteColour(f25_palette(g), n > 1 ? double(i) / (n - 1) : 0.0).scaled(kF25byteScale);
    table->colour[i][0] = c.r;
    table->colour[i][1] = c.g;
    table->colour[i][2] = c.b;
  }
}

void f25_rotateN(gfunc* g)
{
  const auto* table = static_cast<const F25sectorTable*>(g->auxMemory);
  if (table == nullptr)
    return;
  const F25constants& K = f25_k(g);
  const double k1 = K.k[1], b = g->B, scale = g->C;
  const int n = heldCount(K.k[2], 1, kF25rotateSectorsMax);
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    const double s = f25kit::polarAngle(x, y) * k1;
    // The origin's angle is NaN and an angle may round to 2 pi: both are held
    // to the table's sectors.
    const int j = std::clamp(kvnum::sat_i32(s), 0, n - 1);
    double t = 2 * (s - j);
    if (t > 1)
      t = 2 - t;
    const double c = table->direction[j][0], sn = table->direction[j][1];
    F25rgb colour{table->colour[j][0], table->colour[j][1], table->colour[j][2]};
    const double line = 1 - 8 * t;
    if (line > 0)
      colour = colour.scaled(1 - line * line);
    return F25out{(x * c + y * sn) * scale, (y * c - x * sn) * scale - b, colour.r, colour.g,
                  colour.b};
  });
}

// ---- Polar Space ----------------------------------------------------------

void f25_Polar_prepare(gfunc* g)
{
  if (g->A < 2) {
    g->A = 2;
    f25_k(g).k[0] = 0.6366197723675814;
  } else {
    f25_k(g).k[0] = g->A / kPi;
  }
}

void f25_Polar(gfunc* g)
{
  const double k0 = f25_k(g).k[0], b = g->B, c = g->C;
  const cpalette& palette = f25_palette(g);
  f25kit::eachSample(g, [&](double x, double y) -> std::optional<F25out> {
    const double theta = f25kit::polarAngle(x, y);
    const F25rgb colour = f25_tableColour(palette, theta * 0.15915494309137826);
    return f25kit::out((theta - kPi) * k0 + b, std::log(std::sqrt(x * x + y * y)) * k0 + c, colour);
  });
}

int16_t f25_mirror_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_mirror, g, msg, a, b, c);
}

int16_t f25_mirrorN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_mirrorN, g, msg, a, b, c);
}

int16_t f25_outermirrorN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_outermirrorN, g, msg, a, b, c);
}

int16_t f25_rotateN_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_rotateN, g, msg, a, b, c);
}

int16_t f25_Polar_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF25_Polar, g, msg, a, b, c);
}
