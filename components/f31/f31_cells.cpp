#include "components/f31/f31_cells.h"

#include <algorithm>

#include "foundation/checked.h"
#include "noise/lattice.h"
#include "noise/multifractal.h"

namespace {

// The fade of a lattice finer than the pixels: t = (k2 - L) / (k2 / 2) with
// L = P / 4 once k2 passes L; at t >= 1 the field is flat.
struct BandFade
{
  bool on;
  double t;
};

BandFade bandFade(double k2, double P)
{
  const double L = P / 4;
  if (!(k2 > L))
    return {false, 0};
  return {true, (k2 - L) / (k2 / 2)};
}

// k0 v, or -k0 (1 - v) for a negative k0 (the field inverted).
double scaled(double k0, double v)
{
  return k0 >= 0 ? k0 * v : -k0 * (1 - v);
}

// The gap between the nearest and the second-nearest feature point over two
// lattices, both capped at 0.6; points at the nearest distance do not count
// as second. At most 16 candidates (d^2 < 1.5) are kept.
double cellularGap(const KVtables* t, double X, double Y, double Z)
{
  std::array<double, 16> kept{};
  int count = 0;
  std::array<double, 8> d2{};
  const auto layer = [&](double x, double y, double z) {
    if (!f31_candidates(t, x, y, z, 0.28, d2))
      return;
    for (double d : d2)
      if (d < 1.5)
        kept[size_t(count++)] = d;
  };
  layer(X, Y, Z);
  layer(X + 333.5, Y + 111.5, Z + 71.5);
  if (count == 0)
    return 0.5;
  double f1 = 0.6;
  for (int i = 0; i < count; ++i)
    f1 = std::min(f1, kept[size_t(i)]);
  double f2 = 0.6;
  for (int i = 0; i < count; ++i)
    if (kept[size_t(i)] > f1)
      f2 = std::min(f2, kept[size_t(i)]);
  return f2 - f1;
}

// The flat value 0.5 at t >= 1, else v faded towards it by t.
template <class F>
double faded(const BandFade& fade, F value)
{
  if (fade.on && fade.t >= 1)
    return 0.5;
  const double v = value();
  return fade.on ? v + (0.5 - v) * fade.t : v;
}

}  // namespace

bool f31_cellOf(double x, double y, double z, F31cell& cell)
{
  kvnum::LatticeSplit sx, sy, sz;
  if (!kvnum::lattice_trunc_split(x, sx) || !kvnum::lattice_trunc_split(y, sy) ||
      !kvnum::lattice_trunc_split(z, sz))
    return false;
  cell = {sx.cell, sy.cell, sz.cell, sx.frac, sy.frac, sz.frac};
  return true;
}

uint32_t f31_cellHash(const KVtables* t, int32_t a, int32_t b, int32_t c)
{
  return kvnoise::hash3D(t, a, b, c, 1023u);
}

bool f31_candidates(const KVtables* t, double x, double y, double z, double J,
                    std::array<double, 8>& d2)
{
  F31cell c;
  if (!f31_cellOf(x, y, z, c))
    return false;
  int k = 0;
  for (int oz = 0; oz < 2; ++oz)
    for (int ox = 0; ox < 2; ++ox) {
      const uint32_t h = f31_cellHash(t, ox ? kvnoise::nextCell(c.ix) : c.ix, c.iy,
                                      oz ? kvnoise::nextCell(c.iz) : c.iz);
      for (int oy = 0; oy < 2; ++oy) {
        const double* r = t->rndVec3D[h + uint32_t(oy)];
        const double dx = c.fx - ox + J * r[0];
        const double dy = c.fy - oy + J * r[1];
        const double dz = c.fz - oz + J * r[2];
        d2[size_t(k++)] = dx * dx + dy * dy + dz * dz;
      }
    }
  return true;
}

double f31_nearest(const KVtables* t, double x, double y, double z, double J)
{
  std::array<double, 8> d2{};
  if (!f31_candidates(t, x, y, z, J, d2))
    return 0;
  return std::min(1.0, *std::min_element(d2.begin(), d2.end()));
}

bool fp3dfractBubbles(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                      double a, short j, dvector2d* out)
{
  double& acc = out->x;
  if (j < 0) {
    acc = 0.08;
    *state = 0;
    return false;
  }
  if (j >= 1 && (w - a) * (w - a) > acc)
    return false;
  const KVtables* t = fi->tables;
  const double m = std::min(f31_nearest(t, x, y, z, 0.33),
                            f31_nearest(t, x + 777.5, y + 1111.5, z + 333.5, 0.33));
  const double v = m > 0.75 ? 0.5625 : 0.5625 - (m - 0.75) * (m - 0.75);
  if (j == 0) {
    acc = v;
    *state = 0;
  } else {
    acc = std::min(acc, v * a + (w - a) * (w - a));
  }
  return false;
}

// ---- Message 8 ----------------------------------------------------------------

void f31_voronoi3d_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = 4 * g->A;
  K[2] = g->C / 2;
}

void f31_Bubble3d_precompute(gfunc* g)
{
  f31_voronoi3d_precompute(g);
}

void f31_fractBubble3d_precompute(gfunc* g)
{
  double* K = f31_k(g).K;
  K[0] = (0.55 * g->B + 0.75) * g->A * 15;
  K[1] = g->B;
  K[2] = g->C / 4;
  K[3] = (7 * g->B + 1) * g->C;
}

// ---- Computes ------------------------------------------------------------------

void f31_voronoi3d(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double B = g->B, k0 = f31_k(g).K[0], k2 = f31_k(g).K[2];
  const BandFade fade = bandFade(k2, f31_density(g));
  f31_eachSample(g, [&](double x, double y, double z) {
    const double v = faded(fade, [&] { return cellularGap(t, k2 * x - B, k2 * y, k2 * z - B); });
    return scaled(k0, v);
  });
}

void f31_Bubble3d(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double B = g->B, k0 = f31_k(g).K[0], k2 = f31_k(g).K[2];
  const BandFade fade = bandFade(k2, f31_density(g));
  f31_eachSample(g, [&](double x, double y, double z) {
    const double v =
        faded(fade, [&] { return f31_nearest(t, k2 * x - B, k2 * y, k2 * z - B, 0.35); });
    return scaled(k0, v);
  });
}

void f31_fractBubble3d(gfunc* g)
{
  fractalsinfos fi = KV_fractalSettings(g);
  const F31constants k = f31_k(g);
  const double fmax = std::min(k.K[3], f31_density(g) / 4);
  const double w = 1.25 - 0.5 * g->B;
  f31_eachSample(g, [&](double x, double y, double z) {
    dvector2d acc{0, 0};
    MFPV2d_procptr(&fi, fp3dfractBubbles, x, y, z, 0, w, k.K[2], fmax, 0.7, &acc);
    double r = acc.x;
    if (k.K[0] < 0)
      r -= 0.33;
    return r * k.K[0];
  });
  f31_keepBodyFields(g, fi);
}

// ---- Handlers ------------------------------------------------------------------

int16_t f31_voronoi3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_voronoi3d, g, msg, a, b, c);
}
int16_t f31_Bubble3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_Bubble3d, g, msg, a, b, c);
}
int16_t f31_fractBubble3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_fractBubble3d, g, msg, a, b, c);
}
