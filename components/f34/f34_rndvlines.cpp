#include "components/f34/f34_rndvlines.h"

#include <algorithm>
#include <cmath>

#include "components/f34/f34_pvt.h"
#include "foundation/colormath.h"

void f34_RndVLines_precompute(gfunc* g)
{
  normalcolor* table = f34_rndVLinesState(g).table;
  GetParam1DColorTable(table, g->B, 15);
  table[15] = table[0];
}

int16_t f34_RndVLines_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF34_RndVLines, g, msg, a, b, c);
}

void f34_RndVLines(gfunc* g)
{
  const normalcolor* table = f34_rndVLinesState(g).table;
  const KVtables* t = f34_tables(g);
  const F34batch b = f34_batch(g);
  const bool alt = f34_altitudeOnly(g);
  // A stored A or C of any size converts with saturation; the column index
  // wraps into the permutation, so no table read leaves it.
  const int64_t threshold = kvnum::sat_i32(1024 * g->A);
  const int64_t span = threshold + 64;
  const double freq = g->C;
  for (int i = 0; i < b.n; ++i) {
    const double X = freq * b.x[i];
    const int32_t n = kvnum::sat_i32(std::floor(X));
    const int64_t p = t->perm[uint32_t(kvnum::wrap_add_i32(n, 517)) & 1023u] & 1023;
    double intensity = 0, pf = 0;
    if (p < span) {
      pf = double(p) / double(span);
      const double fade = p >= threshold ? double(span - p) / 64 : 1.0;
      const double s = std::fabs(pf / 2 - 0.75 + (X - n)) * 4;
      const double profile = s < 1 ? 1 - s * s * (3 - 2 * s) : 0.0;
      intensity = fade * profile;
    }
    F34out out{0, 0, 0, 4 * intensity};
    if (alt) {
      out.r = b.x[i];
      out.g = b.y[i];
      out.b = b.z[i];
    } else if (intensity > 0) {
      const F34rgb c = f34_cycleAt(table, f34_fracPart(b.z[i] / 16 + pf));
      const double k = std::min(2 * intensity, 1.0) / 32;
      out.r = c.r * k;
      out.g = c.g * k;
      out.b = c.b * k;
    }
    f34_store(g, i, out);
  }
}
