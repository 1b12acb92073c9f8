#include "components/f23/f23_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f23/f23_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "foundation/checked.h"

namespace {

// The number of the last pass: B as a whole number within 0..32.
int lastPass(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF23MaxPasses);
}

}  // namespace

void f23_recurtree(gfunc* g)
{
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr) {
    f23_eachSample(g, F23mask::none, [](double x, double y) { return F23triple{x, y, 0}; });
    return;
  }

  const int last = lastPass(g->B);
  for (int pass = 0; pass <= last; ++pass)
    KV_runSubtreePass(sub, list, pass);

  const KVsubtreeOutlet o1 = KV_subtreeOutlet(sub, 0), o2 = KV_subtreeOutlet(sub, 1),
                        o3 = KV_subtreeOutlet(sub, 2);
  const double scale = g->A;
  const int n = KV_batchLength();
  for (int i = 0; i < n; ++i) {
    const double v = o1.at(i);
    f23_store(
        g, i,
        v < gINFINITY ? F23triple{scale * v, scale * o2.at(i), scale * o3.at(i)} : kF23noValue);
  }
}

void f23_recurtree_prepare(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF23MaxPasses));

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin2(g->doc, sub, g, 0);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f23_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_recurtree, g, msg, a, b, c);
}
