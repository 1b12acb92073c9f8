#include "components/f11/f11_shaping.h"

#include <algorithm>

#include "engine/world.h"

// y = x + A. A uniform input is computed once, from its first element, and
// written to every sample; otherwise the no-value marker passes through.
void f11_offset(gfunc* g)
{
  const int n = KV_batchLength();
  const inletinfos& in = g->inlets[0];
  double* out = g->outputs[0];
  const double a = g->A;
  if (in.channels == 0) {
    std::fill_n(out, n, in.data[0] + a);
    return;
  }
  for (int i = 0; i < n; ++i) {
    const double x = in.data[i];
    out[i] = x >= gINFINITY ? gINFINITY : x + a;
  }
}

int16_t f11_offset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_offset, g, msg, a, b, c);
}
