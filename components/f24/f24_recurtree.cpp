#include "components/f24/f24_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f24/f24_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"

namespace {

// The number of the last pass: B as a whole number within 0..32.
int lastPass(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF24MaxPasses);
}

bool sourceMasked(const gfunc* g)
{
  return g->sources[0] != nullptr && g->sources[0]->maskedBatch != 0;
}

}  // namespace

void f24_recurtree(gfunc* g)
{
  const int n = KV_batchLength();
  if (sourceMasked(g)) {
    for (int i = 0; i < n; ++i)
      f24_store(g, i, kF24noValue);
    g->maskedBatch = 1;
    return;
  }
  g->maskedBatch = 0;

  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr) {
    const F24batch b = f24_batch(g);
    for (int i = 0; i < b.n; ++i)
      f24_store(g, i, {b.x[i], b.y[i], b.x[i], b.y[i]});
    return;
  }

  const int last = lastPass(g->B);
  for (int pass = 0; pass <= last; ++pass)
    KV_runSubtreePass(sub, list, pass);

  const KVsubtreeOutlet o[4] = {KV_subtreeOutlet(sub, 0), KV_subtreeOutlet(sub, 1),
                                KV_subtreeOutlet(sub, 2), KV_subtreeOutlet(sub, 3)};
  const double scale = g->A;
  for (int i = 0; i < n; ++i) {
    const double v = o[0].at(i);
    f24_store(g, i,
              v < gINFINITY
                  ? F24quad{scale * v, scale * o[1].at(i), scale * o[2].at(i), scale * o[3].at(i)}
                  : kF24noValue);
  }
}

void f24_recurtree_prepare(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF24MaxPasses));

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin2(g->doc, sub, g, 0);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f24_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  // The compiled tree answers messages -1 to 7 only.
  if (msg > kMsgPrepare)
    return 0;
  return KV_memberHandler(kF24_recurtree, g, msg, a, b, c);
}
