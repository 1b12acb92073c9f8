#include "components/f21/f21_recurtree.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f21/f21_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "foundation/checked.h"

namespace {

// The number of the last pass: B as a whole number within 0..32. B is
// clamped at message 7, but keyframes may move it afterwards.
int lastPass(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF21MaxIterations);
}

void copyX(gfunc* g, int n)
{
  std::array<double, kBatchCapacity> x;
  KV_readInput(g, 0, n, x.data());
  std::copy_n(x.data(), n, g->outputs[0]);
}

}  // namespace

void f21_recurtree(gfunc* g)
{
  const int n = KV_batchLength();
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  const int count = std::clamp<int>(list.count, 0, kMaxComponents);
  if (sub == nullptr || count == 0 || sub->outletData[0] == nullptr) {
    copyX(g, n);
    return;
  }

  const int last = lastPass(g->B);
  for (int pass = 0; pass <= last; ++pass)
    KV_runSubtreePass(sub, list, pass);

  // A uniform outlet holds one value for the whole batch.
  const double* result = sub->outletData[0];
  const bool uniform = sub->outletChannels[0] == kConnUniform;
  const double a = g->A;
  double* out = g->outputs[0];
  for (int i = 0; i < n; ++i) {
    const double v = result[uniform ? 0 : i];
    out[i] = v >= gINFINITY ? gINFINITY : v * a;
  }
}

void f21_recurtree_prepare(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF21MaxIterations));

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin2(g->doc, sub, g, 0);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f21_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_recurtree, g, msg, a, b, c);
}
