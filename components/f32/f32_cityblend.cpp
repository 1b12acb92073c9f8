#include "components/f32/f32_cityblend.h"

#include "foundation/checked.h"

namespace {

// a + (b - a) w, skipped when both corners agree.
double blend(double a, double b, double w)
{
  return a == b ? a : a + (b - a) * w;
}

// One layer of four corners: components 0 and 1 blended along x, then y.
KVcityLevels layer(CellTexture3DVecProc cell, const KVtables* t, int32_t i, int32_t j, int32_t k,
                   double wx, double wy, int16_t* code)
{
  const int32_t i1 = kvnum::wrap_add_i32(i, 1), j1 = kvnum::wrap_add_i32(j, 1);
  dvector3d c00{}, c10{}, c01{}, c11{};
  cell(t, i, j, k, &c00, code);
  cell(t, i1, j, k, &c10, code);
  cell(t, i, j1, k, &c01, code);
  cell(t, i1, j1, k, &c11, code);
  const double lx0 = blend(c00.x, c10.x, wx), lx1 = blend(c01.x, c11.x, wx);
  const double ry0 = blend(c00.y, c10.y, wx), ry1 = blend(c01.y, c11.y, wx);
  return KVcityLevels{blend(lx0, lx1, wy), blend(ry0, ry1, wy)};
}

}  // namespace

double KV_citySmoothstep(double u)
{
  if (!(u >= 0))
    return 0;
  if (u > 1)
    return 1;
  return (3 - 2 * u) * u * u;
}

bool KV_cityBlend(CellTexture3DVecProc cell, const KVtables* t, double X, double Y, double Z,
                  double sharpness, int16_t* code, KVcityLevels& out)
{
  kvnum::LatticeSplit sx, sy, sz;
  if (!kvnum::lattice_trunc_split(X, sx) || !kvnum::lattice_trunc_split(Y, sy) ||
      !kvnum::lattice_trunc_split(Z, sz))
    return false;
  const double wx = KV_citySmoothstep(sharpness * sx.frac);
  const double wy = KV_citySmoothstep(sharpness * sy.frac);
  const double wz = KV_citySmoothstep(sharpness * sz.frac);
  const KVcityLevels lower = layer(cell, t, sx.cell, sy.cell, sz.cell, wx, wy, code);
  const KVcityLevels upper =
      layer(cell, t, sx.cell, sy.cell, kvnum::wrap_add_i32(sz.cell, 1), wx, wy, code);
  out = KVcityLevels{blend(lower.light, upper.light, wz),
                     blend(lower.reflection, upper.reflection, wz)};
  return true;
}
