#include "components/f11/f11_memory.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/evaluate.h"
#include "foundation/checked.h"

namespace {

using Batch = std::array<double, kBatchCapacity>;

// The owning tree's iteration counter; 0 for a component without a tree.
int16_t passNumber(const gfunc* g)
{
  return g->owner != nullptr ? g->owner->iteration : 0;
}

bool masked(double x)
{
  return x >= gINFINITY;
}

Batch readInput(const gfunc* g, int n)
{
  Batch x;
  KV_readInput(g, 0, n, x.data());
  return x;
}

// " Iterations" N: B whole, within 0..64, NaN as 0. B is held at message 8,
// but keyframes may move it afterwards.
int lastIteration(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF11MaxIterations);
}

// Memory Max and Memory Min: output 2 keeps the running extreme; a masked
// sample leaves it as it was.
template <class Pick>
void runningExtreme(gfunc* g, double start, Pick pick)
{
  const int n = KV_batchLength();
  const Batch x = readInput(g, n);
  double* extreme = g->outputs[1];
  if (passNumber(g) == 0)
    std::fill_n(extreme, n, start);
  for (int i = 0; i < n; ++i) {
    const double v = masked(x[i]) ? extreme[i] : pick(extreme[i], x[i]);
    extreme[i] = v;
    g->outputs[0][i] = v;
  }
}

}  // namespace

void f11_infgate(gfunc* g)
{
  const int n = KV_batchLength();
  const Batch x = readInput(g, n);
  const F11constants& k = f11_k(g);
  const bool inverted = g->C > 0;
  bool anyPassed = false;
  double* out = g->outputs[0];
  for (int i = 0; i < n; ++i) {
    const bool inside = k.K2 <= x[i] && x[i] <= k.K1;
    out[i] = inside == inverted ? gINFINITY : x[i];
    anyPassed = anyPassed || !masked(out[i]);
  }
  g->maskedBatch = anyPassed ? 0 : 1;
}

void f11_rcounter(gfunc* g)
{
  const int n = KV_batchLength();
  double* out = g->outputs[0];
  smalltree* owner = g->owner;
  // Inside a compiled sub-tree the driver only reports the pass its owner runs.
  if (!g->mainTree || owner == nullptr) {
    std::fill_n(out, n, g->A * passNumber(g));
    return;
  }
  // A node-evaluating member is re-running the components around it.
  if (owner->iterationStep)
    return;

  const int last = lastIteration(g->B);
  if (g->loopMask == 1)
    owner->iteration = 0;
  const sfuncEvalLists& list = f11_listState(g).list;
  for (int pass = 0; pass <= last; ++pass) {
    std::fill_n(out, n, pass * g->A);
    KV_runEvalList(&list);
    ++owner->iteration;
  }
}

void f11_memadd(gfunc* g)
{
  const int n = KV_batchLength();
  const Batch x = readInput(g, n);
  double* out = g->outputs[0];
  if (passNumber(g) == 0)
    std::fill_n(out, n, g->A);
  const double gain = g->B;
  for (int i = 0; i < n; ++i)
    if (!masked(x[i]))
      out[i] += x[i] * gain;
}

void f11_memfractadd(gfunc* g)
{
  const int n = KV_batchLength();
  const Batch x = readInput(g, n);
  double* out = g->outputs[0];
  F11constants& k = f11_k(g);
  if (passNumber(g) == 0) {
    std::fill_n(out, n, 0.0);
    k.K3 = k.K2;
  } else {
    k.K3 *= k.K1;
  }
  for (int i = 0; i < n; ++i)
    if (x[i] > 0 && x[i] < gINFINITY)
      out[i] += x[i] * k.K3;
}

void f11_memmax(gfunc* g)
{
  runningExtreme(g, kF11MemoryFloor, [](double e, double x) { return std::max(e, x); });
}

void f11_memmin(gfunc* g)
{
  runningExtreme(g, kF11MemoryCeiling, [](double e, double x) { return std::min(e, x); });
}

void f11_memdif(gfunc* g)
{
  const int n = KV_batchLength();
  const Batch x = readInput(g, n);
  double* out = g->outputs[0];
  if (passNumber(g) == 0)
    std::fill_n(out, n, 0.0);
  const F11constants& k = f11_k(g);
  const bool smooth = g->A > 0;
  for (int i = 0; i < n; ++i) {
    if (masked(x[i])) {
      out[i] = gINFINITY;
      continue;
    }
    // The output still holds the previous pass's value.
    const double d = out[i] - x[i];
    if (!smooth) {
      out[i] = std::fabs(d);
      continue;
    }
    double e = std::fabs(d * k.K1);
    if (e < 0.5)
      e = e * e + 0.25;
    out[i] = e * k.K2;
  }
}

// ---- Preparation ------------------------------------------------------------

void f11_infgate_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = g->A * g->A;
  k.K2 = g->B >= 0 ? g->B * g->B : -g->B * g->B;
}

void f11_rcounter_prepare(gfunc* g)
{
  KV_buildLoopList(g, &f11_listState(g).list);
}

void f11_rcounter_precompute(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF11MaxIterations));
}

void f11_memadd_precompute(gfunc* g)
{
  if (g->B < 0)
    g->B = 1;
}

void f11_memadd_convert(gfunc* g)
{
  constexpr int16_t kLastOldVersion = 13;
  if (g->owner == nullptr || g->owner->version > kLastOldVersion)
    return;
  g->B = 1;
  for (KVparamTriple& key : g->keyframes)
    key.B = 1;
}

void f11_memfractadd_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = g->A;
  const double a2 = g->A * g->A;
  k.K2 = g->A < 1 ? g->B : g->B / (a2 * a2);
}

void f11_memdif_precompute(gfunc* g)
{
  constexpr double kSmallest = 1e-7;
  F11constants& k = f11_k(g);
  const double a = g->A < kSmallest ? kSmallest : g->A;
  k.K1 = 1 / a;
  k.K2 = a;
}

// ---- Handlers ---------------------------------------------------------------

int16_t f11_infgate_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_infgate, g, msg, a, b, c);
}

int16_t f11_rcounter_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_rcounter, g, msg, a, b, c);
}

int16_t f11_memadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_memadd, g, msg, a, b, c);
}

int16_t f11_memfractadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_memfractadd, g, msg, a, b, c);
}

int16_t f11_memmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_memmax, g, msg, a, b, c);
}

int16_t f11_memmin_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_memmin, g, msg, a, b, c);
}

int16_t f11_memdif_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_memdif, g, msg, a, b, c);
}
