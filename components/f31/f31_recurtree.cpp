#include "components/f31/f31_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f31/f31_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "foundation/checked.h"

namespace {

// The number of the last pass: B as a whole number within 0..32 (NaN as 0).
// Keyframes may move B after message 7, so it is held at every batch.
int lastPass(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF31MaxPasses);
}

}  // namespace

void f31_recurtree(gfunc* g)
{
  const F31batch b = f31_batch(g);
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr) {
    std::copy_n(b.x.data(), b.n, g->outputs[0]);
    return;
  }
  const int last = lastPass(g->B);
  for (int pass = 0; pass <= last; ++pass)
    KV_runSubtreePass(sub, list, pass);

  const double* s0 = sub->outletData[0];
  const bool uniform = sub->outletChannels[0] == kConnUniform;
  for (int i = 0; i < b.n; ++i) {
    const double v = s0[uniform ? 0 : i];
    g->outputs[0][i] = v < gINFINITY ? g->A * v : gINFINITY;
  }
}

void f31_recurtree_prepare(gfunc* g)
{
  if (!std::isnan(g->B))
    g->B = std::clamp(g->B, 0.0, double(kF31MaxPasses));

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin3(g->doc, sub, g, 0);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f31_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_recurtree, g, msg, a, b, c);
}
