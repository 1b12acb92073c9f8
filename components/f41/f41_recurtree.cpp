#include "components/f41/f41_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/checked.h"

namespace {

// The number of the last pass: B as a whole number within 0..32 (NaN as 0).
// B is clamped at message 7, but keyframes may move it afterwards.
int lastPass(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF41MaxIterations);
}

}  // namespace

void f41_recurtree(gfunc* g)
{
  const int n = KV_batchLength();
  double* out = g->outputs[0];
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr) {
    std::fill_n(out, n, 0.0);
    return;
  }

  const int last = lastPass(g->B);
  for (int pass = 0; pass <= last; ++pass)
    KV_runSubtreePass(sub, list, pass);

  // A marker from the sub-tree stays the marker whatever the scale.
  const KVsubtreeOutlet result = KV_subtreeOutlet(sub, 0);
  const double a = g->A;
  for (int i = 0; i < n; ++i) {
    const double v = result.at(i);
    out[i] = v >= gINFINITY ? gINFINITY : v * a;
  }
}

void f41_recurtree_prepare(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF41MaxIterations));

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin4(g->doc, sub, g, 0);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f41_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF41_recurtree, g, msg, a, b, c);
}
