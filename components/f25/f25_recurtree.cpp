#include "components/f25/f25_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f25/f25_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "foundation/checked.h"

namespace {

// The number of the last pass: B as a whole number within 0..64 (NaN as 0).
// Keyframes may move B after message 7, so it is held at every batch.
int lastPass(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF25MaxIterations);
}

// Blends the sub-tree's five outlets into the outputs by `scale`.
void blendOutlets(gfunc* g, const smalltree* sub, int n, double scale)
{
  KVsubtreeOutlet o[5];
  for (int k = 0; k < 5; ++k)
    o[k] = KV_subtreeOutlet(sub, k);
  for (int i = 0; i < n; ++i) {
    if (!(o[0].at(i) < gINFINITY)) {
      f25_store(g, i, {gINFINITY, gINFINITY, gINFINITY, gINFINITY, gINFINITY});
      continue;
    }
    g->outputs[0][i] += (o[0].at(i) - g->outputs[0][i]) * scale;
    g->outputs[1][i] += (o[1].at(i) - g->outputs[1][i]) * scale;
    for (int k = 2; k < 5; ++k)
      g->outputs[k][i] = scale * o[k].at(i);
  }
}

}  // namespace

void f25_recurtree(gfunc* g)
{
  const F25batch b = f25_batch(g);
  // Every batch starts from the inputs: the sub-tree may read the outputs,
  // which must not carry the previous batch's points.
  for (int i = 0; i < b.n; ++i)
    f25_store(g, i, {b.x[i], b.y[i], 0, 0, 0});
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr)
    return;
  const int last = lastPass(g->B);
  for (int pass = 0; pass <= last; ++pass) {
    KV_runSubtreePass(sub, list, pass);
    blendOutlets(g, sub, b.n, g->A);
  }
}

void f25_recurtree_prepare(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF25MaxIterations));

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin2(g->doc, sub, g, 1);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f25_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  // The compiled tree answers messages -1 to 7 only.
  if (msg > kMsgPrepare)
    return 0;
  return KV_memberHandler(kF25_recurtree, g, msg, a, b, c);
}
