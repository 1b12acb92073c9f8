#include "components/f34/f34_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f34/f34_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"

namespace {

// B as a pass count within 0..32, NaN as 0.
double heldPasses(double b)
{
  return std::isnan(b) ? 0.0 : std::clamp(b, 0.0, double(kF34MaxPasses));
}

}  // namespace

void f34_recurtree(gfunc* g)
{
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr) {
    const F34batch b = f34_batch(g);
    for (int i = 0; i < b.n; ++i)
      f34_store(g, i, {b.x[i], b.y[i], b.z[i], 0.0});
    return;
  }

  const int last = int(heldPasses(g->B));
  for (int pass = 0; pass <= last; ++pass)
    KV_runSubtreePass(sub, list, pass);

  const KVsubtreeOutlet o[4] = {KV_subtreeOutlet(sub, 0), KV_subtreeOutlet(sub, 1),
                                KV_subtreeOutlet(sub, 2), KV_subtreeOutlet(sub, 3)};
  const double scale = g->A;
  const int n = KV_batchLength();
  for (int i = 0; i < n; ++i) {
    const double v = o[0].at(i);
    f34_store(g, i,
              v < gINFINITY
                  ? F34out{scale * v, scale * o[1].at(i), scale * o[2].at(i), scale * o[3].at(i)}
                  : kF34noValue);
  }
}

void f34_recurtree_prepare(gfunc* g)
{
  g->B = heldPasses(g->B);

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  // A sub-tree that owns itself or the tree holding this component would
  // never finish a pass.
  if (sub == nullptr || KV_subtreeReaches(sub, sub) ||
      (g->owner != nullptr && KV_subtreeReaches(sub, g->owner)))
    return;
  prepareCTin3(g->doc, sub, g, 0);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f34_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  // The compiled tree answers messages -1 to 7 only.
  if (msg > kMsgPrepare)
    return 0;
  return KV_memberHandler(kF34_recurtree, g, msg, a, b, c);
}
