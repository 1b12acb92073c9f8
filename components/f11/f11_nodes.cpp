#include "components/f11/f11_nodes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/common/subtree_passes.h"
#include "engine/evaluate.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "foundation/checked.h"

namespace {

using Batch = std::array<double, kBatchCapacity>;

constexpr double kPi = std::numbers::pi;

bool below(double v)
{
  return v < gINFINITY;
}

int listCount(const sfuncEvalLists& list)
{
  return std::clamp<int>(list.count, 0, kMaxComponents);
}

// Shifts the n samples of `array` by the derivative step, runs the list,
// puts the samples back as they were and returns what g's input 1 read.
Batch passWithShift(gfunc* g, const sfuncEvalLists& list, double* array, int n)
{
  Batch saved;
  std::copy_n(array, n, saved.data());
  for (int i = 0; i < n; ++i)
    array[i] += kF11DerivativeStep;
  KV_runEvalList(&list);
  std::copy_n(saved.data(), n, array);
  Batch read;
  KV_readInput(g, 0, n, read.data());
  return read;
}

void setReevaluation(smalltree* tree, bool on)
{
  if (tree != nullptr)
    tree->iterationStep = on ? 1 : 0;
}

// 1 when the first listed component takes one input, else 2.
int gradientDimensions(const sfuncEvalLists& list)
{
  if (listCount(list) == 0 || list.funcs[0] == nullptr)
    return 2;
  return f11_isOneInputFamily(list.funcs[0]->family) ? 1 : 2;
}

// The sub-tree's first outlet at sample i (a uniform outlet holds one value).
double outletSample(const smalltree* sub, int i)
{
  return sub->outletData[0][sub->outletChannels[0] == kConnUniform ? 0 : i];
}

}  // namespace

bool f11_isOneInputFamily(uint16_t family)
{
  return family == kFamily11 || family == kFamily12 || family == kFamily13 || family == kFamily14;
}

F11shiftedInputs f11_shiftedPasses(gfunc* g, const sfuncEvalLists& list, int dimensions)
{
  const int n = KV_batchLength();
  F11shiftedInputs r;
  KV_readInput(g, 0, n, r.f.data());
  std::copy_n(r.f.data(), n, g->outputs[0]);
  r.p = r.f;
  r.q = r.f;
  r.dimensions = 0;
  if (listCount(list) == 0 || list.funcs[0] == nullptr)
    return r;
  gfunc* first = list.funcs[0];
  double* xArray = first->inlets[0].data;
  if (xArray == nullptr)
    return r;

  setReevaluation(g->owner, g->loopMask > 1);
  r.p = passWithShift(g, list, xArray, n);
  r.dimensions = 1;
  if (dimensions == 2) {
    r.dimensions = 2;
    if (double* yArray = first->inlets[1].data)
      r.q = passWithShift(g, list, yArray, n);
  }
  setReevaluation(g->owner, false);
  return r;
}

void f11_listUpstream(gfunc* g, sfuncEvalLists& list)
{
  list.count = 0;
  if (g->sources[0] != nullptr)
    AddDependancyList(g->sources[0], list.funcs, &list.count);
}

void f11_Bump(gfunc* g)
{
  const F11shiftedInputs in = f11_shiftedPasses(g, f11_listState(g).list, 1);
  if (in.dimensions == 0)
    return;
  const int n = KV_batchLength();
  const double gain = g->C, offset = g->B;
  double* out = g->outputs[0];
  for (int i = 0; i < n; ++i)
    out[i] = below(in.p[i]) && below(in.f[i]) ? std::max(0.0, (in.p[i] - in.f[i]) * gain + offset)
                                              : gINFINITY;
}

void f11_gradient(gfunc* g)
{
  const sfuncEvalLists& list = f11_listState(g).list;
  const F11shiftedInputs in = f11_shiftedPasses(g, list, gradientDimensions(list));
  if (in.dimensions == 0)
    return;
  const int n = KV_batchLength();
  const F11constants& k = f11_k(g);
  const double offset = g->C;
  double* out = g->outputs[0];
  if (in.dimensions == 1) {
    for (int i = 0; i < n; ++i)
      out[i] = below(in.p[i]) && below(in.f[i]) ? std::max(0.0, (in.p[i] - in.f[i]) * k.K1 + offset)
                                                : gINFINITY;
    return;
  }
  // A light from direction (K1, -K2) on the surface; a flat sample is lit by
  // the offset alone, without a division by zero.
  constexpr double kFlat = 7.5e-6;
  for (int i = 0; i < n; ++i) {
    if (!(below(in.f[i]) && below(in.q[i]))) {
      out[i] = gINFINITY;
      continue;
    }
    const double dx = in.p[i] - in.f[i];
    const double dy = in.q[i] - in.f[i];
    const double s = dx * dx + dy * dy;
    const double e = kFlat - s;
    const double norm = e > 0 ? s + e * e : s;
    out[i] = std::max(0.0, (dx * k.K1 - dy * k.K2 + 2 * e * offset) / std::sqrt(norm));
  }
}

void f11_slope(gfunc* g)
{
  const F11shiftedInputs in = f11_shiftedPasses(g, f11_listState(g).list, 2);
  if (in.dimensions == 0)
    return;
  const int n = KV_batchLength();
  const double amplitude = f11_k(g).K1, offset = g->B;
  double* out = g->outputs[0];
  for (int i = 0; i < n; ++i) {
    const double dx = in.p[i] - in.f[i];
    const double dy = in.q[i] - in.f[i];
    // The cosine of the surface's slope angle.
    const double cosine = kF11DerivativeStep / std::sqrt(dx * dx + dy * dy + 1e-12);
    out[i] = amplitude * (1 - cosine) + offset;
  }
}

void f11_recurtree(gfunc* g)
{
  const int n = KV_batchLength();
  // Every batch starts from the input: the sub-tree reads this output.
  Batch x;
  KV_readInput(g, 0, n, x.data());
  double* out = g->outputs[0];
  std::copy_n(x.data(), n, out);

  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = f11_listState(g).list;
  if (sub == nullptr || listCount(list) == 0 || sub->outletData[0] == nullptr)
    return;
  const double blend = g->A;
  const int last = std::clamp(kvnum::sat_i32(g->B), 0, kF11MaxRecursion);
  for (int pass = 0; pass <= last; ++pass) {
    KV_runSubtreePass(sub, list, pass);
    for (int i = 0; i < n; ++i)
      out[i] += (outletSample(sub, i) - out[i]) * blend;
  }
}

// ---- Preparation ------------------------------------------------------------

void f11_Bump_prepare(gfunc* g)
{
  f11_listUpstream(g, f11_listState(g).list);
}

void f11_Bump_precompute(gfunc* g)
{
  g->C = 500000 * g->A;
}

void f11_gradient_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = kPi * g->A;
  k.K2 = kPi * g->B;
}

void f11_slope_precompute(gfunc* g)
{
  f11_k(g).K1 = kPi * g->A;
}

void f11_recurtree_prepare(gfunc* g)
{
  sfuncEvalLists& list = f11_listState(g).list;
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin1(g->doc, sub, g, 1);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

void f11_recurtree_precompute(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF11MaxRecursion));
}

// ---- Handlers ---------------------------------------------------------------

int16_t f11_Bump_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_Bump, g, msg, a, b, c);
}

int16_t f11_gradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_gradient, g, msg, a, b, c);
}

int16_t f11_slope_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_slope, g, msg, a, b, c);
}

int16_t f11_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_recurtree, g, msg, a, b, c);
}
