#include "components/f33/f33_memory.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "components/f33/f33_pvt.h"

namespace {

using Batch = std::array<double, kBatchCapacity>;

// The three inputs of the batch, copied before any output is written.
struct Triples
{
  int n;
  Batch in[3];
};

Triples readTriples(const gfunc* g)
{
  const F33batch b = f33_batch(g);
  return {b.n, {b.x, b.y, b.z}};
}

bool firstPass(const gfunc* g)
{
  return g->owner == nullptr || g->owner->iteration == 0;
}

void fillOutputs(gfunc* g, int n, double v)
{
  for (int k = 0; k < 3; ++k)
    std::fill_n(g->outputs[k], n, v);
}

// Restarts at `start` on the first pass, then folds every sample whose x has
// a value: fold(output, input) per channel.
template <class Fold>
void accumulate(gfunc* g, double start, Fold fold)
{
  const Triples t = readTriples(g);
  if (firstPass(g))
    fillOutputs(g, t.n, start);
  for (int i = 0; i < t.n; ++i) {
    if (t.in[0][i] >= gINFINITY)
      continue;
    for (int k = 0; k < 3; ++k)
      g->outputs[k][i] = fold(g->outputs[k][i], t.in[k][i]);
  }
}

// Only messages -1, 6 and, where the member has one, 8 are answered.
int16_t answerFew(const KVmemberDesc& d, gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  const bool answered =
      msg == kMsgDisplayName || msg == kMsgDefaults || (msg == kMsgPrecompute && d.on8 != nullptr);
  return answered ? KV_memberHandler(d, g, msg, a, b, c) : 0;
}

}  // namespace

void f33_memmax(gfunc* g)
{
  accumulate(g, kF33memMaxStart, [](double o, double v) { return std::max(o, v); });
}

void f33_memmin(gfunc* g)
{
  accumulate(g, kF33memMinStart, [](double o, double v) { return std::min(o, v); });
}

void f33_memadd(gfunc* g)
{
  const double gain = g->B;
  accumulate(g, g->A, [gain](double o, double v) { return o + gain * v; });
}

void f33_memdif(gfunc* g)
{
  accumulate(g, kF33memDifStart, [](double o, double v) { return std::fabs(o - v); });
}

void f33_memzmin(gfunc* g)
{
  const Triples t = readTriples(g);
  if (firstPass(g))
    fillOutputs(g, t.n, kF33memDepthStart);
  for (int i = 0; i < t.n; ++i) {
    if (t.in[0][i] >= gINFINITY || !(g->outputs[2][i] >= t.in[2][i]))
      continue;
    for (int k = 0; k < 3; ++k)
      g->outputs[k][i] = t.in[k][i];
  }
}

void f33_memmax_precompute(gfunc* g)
{
  fillOutputs(g, kBatchCapacity, kF33memMaxStart);
}

void f33_memmin_precompute(gfunc* g)
{
  fillOutputs(g, kBatchCapacity, kF33memMinStart);
}

void f33_memzmin_precompute(gfunc* g)
{
  fillOutputs(g, kBatchCapacity, kF33memDepthStart);
}

int16_t f33_memmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return answerFew(kF33_memmax, g, msg, a, b, c);
}

int16_t f33_memmin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return answerFew(kF33_memmin, g, msg, a, b, c);
}

int16_t f33_memdif_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return answerFew(kF33_memdif, g, msg, a, b, c);
}

int16_t f33_memzmin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return answerFew(kF33_memzmin, g, msg, a, b, c);
}
