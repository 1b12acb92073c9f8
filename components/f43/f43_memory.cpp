#include "components/f43/f43_memory.h"

#include <algorithm>

#include "components/f11/f11_memory.h"
#include "components/f43/f43_pvt.h"

namespace {

// Sets the memory of n samples: outputs 1 to 3 to `colour`, and the stored w
// (output block 4) to `w`.
void resetMemory(gfunc* g, int n, const F43color& colour, double w)
{
  for (int k = 0; k < 3; ++k)
    std::fill_n(g->outputs[k], n, colour.c[k]);
  std::fill_n(g->outputs[3], n, w);
}

// The memory frame: reset at pass 0, then accumulate(i, x, y, z, w) on the
// samples whose x and w both have a value.
template <class Reset, class Accumulate>
void accumulate(gfunc* g, Reset reset, Accumulate add)
{
  const F43batch b = f43_readBatch(g);
  if (f43_passNumber(g) == 0)
    reset(b.n);
  for (int i = 0; i < b.n; ++i)
    if (!f43_missing(b.x(i)) && !f43_missing(b.w(i)))
      add(i, F43color{{b.x(i), b.y(i), b.z(i)}}, b.w(i));
}

// The colour of the pass whose w wins `better(w, stored)`, kept in outputs
// 1 to 3 with its w in block 4.
template <class Better>
void selectByW(gfunc* g, double startW, Better better)
{
  accumulate(
      g, [&](int n) { resetMemory(g, n, kF43noValue, startW); },
      [&](int i, const F43color& in, double w) {
        if (!better(w, g->outputs[3][i]))
          return;
        f43_write(g, i, in);
        g->outputs[3][i] = w;
      });
}

}  // namespace

void f43_memadd(gfunc* g)
{
  const double start = g->A;
  const double gain = g->B;
  const F43batch b = f43_readBatch(g);
  if (f43_passNumber(g) == 0)
    resetMemory(g, b.n, {{start, start, start}}, 0);
  for (int i = 0; i < b.n; ++i) {
    const double weight = b.w(i) * gain;
    if (f43_missing(b.x(i)) || f43_missing(weight))
      continue;
    const double in[3] = {b.x(i), b.y(i), b.z(i)};
    for (int k = 0; k < 3; ++k)
      g->outputs[k][i] += in[k] * weight;
  }
}

void f43_memmax(gfunc* g)
{
  constexpr double kFloor = -64;
  accumulate(
      g,
      [&](int n) {
        resetMemory(g, n, {{kFloor, kFloor, kFloor}}, 0);
      },
      [&](int i, const F43color& in, double w) {
        for (int k = 0; k < 3; ++k)
          g->outputs[k][i] = std::max(in.c[k] * w, g->outputs[k][i]);
      });
}

void f43_memwmin(gfunc* g)
{
  // A tie replaces: equal w keep the later pass.
  selectByW(g, gINFINITY, [](double w, double stored) { return stored >= w; });
}

void f43_memwmax(gfunc* g)
{
  // A tie keeps the earlier pass.
  selectByW(g, -gINFINITY, [](double w, double stored) { return w > stored; });
}

void f43_memalpha(gfunc* g)
{
  accumulate(
      g,
      [&](int n) {
        resetMemory(g, n, {{g->A, g->B, g->C}}, 0);
      },
      [&](int i, const F43color& in, double w) {
        if (!(w > 0))
          return;
        const double a = std::min(w, 1.0);
        for (int k = 0; k < 3; ++k)
          g->outputs[k][i] += (in.c[k] - g->outputs[k][i]) * a;
      });
}

void f43_memwmax_reset(gfunc* g)
{
  resetMemory(g, kBatchCapacity, kF43noValue, -gINFINITY);
}

int16_t f43_memadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return f11_memadd_handler(g, msg, a, b, c);
}

int16_t f43_memmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_memmax, g, msg, a, b, c);
}

int16_t f43_memwmin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_memwmin, g, msg, a, b, c);
}

int16_t f43_memwmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_memwmax, g, msg, a, b, c);
}

int16_t f43_memalpha_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_memalpha, g, msg, a, b, c);
}
