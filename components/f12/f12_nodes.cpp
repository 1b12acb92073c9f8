#include "components/f12/f12_nodes.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f11/f11_nodes.h"
#include "components/f12/f12_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "foundation/checked.h"

namespace {

sfuncEvalLists& listOf(gfunc* g)
{
  return privateArea<sfuncEvalLists>(g);
}

// The sample of outlet k (a uniform outlet holds one value); a missing outlet
// reads the one before it.
double outletSample(const smalltree* sub, int k, int i)
{
  while (k > 0 && sub->outletData[k] == nullptr)
    --k;
  return sub->outletData[k][sub->outletChannels[k] == kConnUniform ? 0 : i];
}

// Without a sub-tree: input links 1 and 2 on outputs 1 and 2, 0 on output 3.
void inputsThrough(gfunc* g, int outputs, int n)
{
  for (int k = 0; k < 2; ++k) {
    std::array<double, kBatchCapacity> v;
    KV_readInput(g, k, n, v.data());
    std::copy_n(v.data(), n, g->outputs[k]);
  }
  if (outputs >= 3)
    std::fill_n(g->outputs[2], n, 0.0);
}

}  // namespace

void f12_derivative(gfunc* g)
{
  const F11shiftedInputs in = f11_shiftedPasses(g, listOf(g), 2);
  if (in.dimensions == 0)
    return;
  constexpr double kPerStep = 1e6;  // one over the shift
  const int n = KV_batchLength();
  const double k = g->A / 4, normalize = g->B;
  for (int i = 0; i < n; ++i) {
    const double dx = (in.p[i] - in.f[i]) * kPerStep;
    const double dy = (in.q[i] - in.f[i]) * kPerStep;
    // B blends towards a gradient of length 4K, for steep slopes.
    const double w =
        normalize > 0 ? k * (1 + normalize * (4 / std::sqrt(dx * dx + dy * dy + 1) - 1)) : k;
    g->outputs[0][i] = dx * w;
    g->outputs[1][i] = dy * w;
  }
}

void f12_recurtree(gfunc* g)
{
  f12_compiledTree(g, 2);
}

void f12_compiledTree(gfunc* g, int outputs)
{
  const int n = KV_batchLength();
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = listOf(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr) {
    inputsThrough(g, outputs, n);
    return;
  }
  const int last = std::clamp(kvnum::sat_i32(g->B), 0, kF1xMaxIterations);
  for (int pass = 0; pass <= last; ++pass)
    KV_runSubtreePass(sub, list, pass);

  const double scale = g->A;
  for (int i = 0; i < n; ++i) {
    const bool hasValue = outletSample(sub, 0, i) < gINFINITY;
    for (int k = 0; k < outputs; ++k)
      g->outputs[k][i] = hasValue ? scale * outletSample(sub, k, i) : gINFINITY;
  }
}

void f12_compiledTreePrepare(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF1xMaxIterations));
  sfuncEvalLists& list = listOf(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin1(g->doc, sub, g, 0);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

void f12_derivative_prepare(gfunc* g)
{
  f11_listUpstream(g, listOf(g));
}

void f12_derivative_precompute(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, 1.0);
}

int16_t f12_derivative_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_derivative, g, msg, a, b, c);
}

int16_t f12_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_recurtree, g, msg, a, b, c);
}
