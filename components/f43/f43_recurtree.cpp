#include "components/f43/f43_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f43/f43_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "foundation/checked.h"

namespace {

// B as a whole number within 0..32 (NaN as 0): keyframes may move it after
// message 7 held it.
int lastPass(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF43MaxIterations);
}

void passInputsThrough(gfunc* g)
{
  const F43batch b = f43_readBatch(g);
  for (int i = 0; i < b.n; ++i)
    f43_write(g, i, {{b.x(i), b.y(i), 0.0}});
}

}  // namespace

void f43_recurtree(gfunc* g)
{
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr) {
    passInputsThrough(g);
    return;
  }
  const int last = lastPass(g->B);
  for (int pass = 0; pass <= last; ++pass)
    KV_runSubtreePass(sub, list, pass);

  const int n = KV_batchLength();
  const KVsubtreeOutlet t[3] = {KV_subtreeOutlet(sub, 0), KV_subtreeOutlet(sub, 1),
                                KV_subtreeOutlet(sub, 2)};
  const double a = g->A;
  for (int i = 0; i < n; ++i) {
    if (f43_missing(t[0].at(i))) {
      f43_write(g, i, kF43noValue);
      continue;
    }
    f43_write(g, i, {{a * t[0].at(i), a * t[1].at(i), a * t[2].at(i)}});
  }
}

void f43_recurtree_prepare(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF43MaxIterations));

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin4(g->doc, sub, g, 0);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f43_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF43_recurtree, g, msg, a, b, c);
}
