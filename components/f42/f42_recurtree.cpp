#include "components/f42/f42_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/inputs.h"
#include "components/common/subtree_passes.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/checked.h"

namespace {

// The sub-tree's inlets read the component's outputs (its input mode).
constexpr uint8_t kFeedbackMode = 1;

// The last pass of a batch: trunc(B) held to 0..128 at every batch too, since
// a band copy keeps whatever B a file gave.
int lastPass(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF42MaxRecursion);
}

bool sourceEmpty(const gfunc* g, int k)
{
  return g->sources[k] != nullptr && g->sources[k]->maskedBatch != 0;
}

void fillMarker(double* values, int n)
{
  if (values != nullptr)
    std::fill_n(values, n, gINFINITY);
}

}  // namespace

void f42_recurtree(gfunc* g)
{
  const int n = KV_batchLength();
  double x[kBatchCapacity], y[kBatchCapacity];
  KV_readInput(g, 0, n, x);
  KV_readInput(g, 1, n, y);
  double* out1 = g->outputs[0];
  double* out2 = g->outputs[1];
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr) {
    std::copy_n(x, n, out1);
    std::copy_n(y, n, out2);
    return;
  }
  if (sourceEmpty(g, 0) || sourceEmpty(g, 3)) {
    fillMarker(out1, n);
    fillMarker(out2, n);
    fillMarker(sub->outletData[0], n);
    fillMarker(sub->outletData[1], n);
    g->maskedBatch = 1;
    return;
  }
  g->maskedBatch = 0;
  // Other modes carry the outputs over from the previous batch.
  if (sub->inletFeedback == kFeedbackMode) {
    std::copy_n(x, n, out1);
    std::copy_n(y, n, out2);
  }

  const double a = g->A;
  const int last = lastPass(g->B);
  for (int pass = 0; pass <= last; ++pass) {
    KV_runSubtreePass(sub, list, pass);
    const KVsubtreeOutlet t1 = KV_subtreeOutlet(sub, 0), t2 = KV_subtreeOutlet(sub, 1);
    for (int i = 0; i < n; ++i) {
      const double v1 = t1.at(i), v2 = t2.at(i);
      if (v1 < gINFINITY) {
        out1[i] += (v1 - out1[i]) * a;
        out2[i] += (v2 - out2[i]) * a;
      } else {
        out1[i] = gINFINITY;
        out2[i] = v2;
      }
    }
  }
}

void f42_recurtree_prepare(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF42MaxRecursion));

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin4(g->doc, sub, g, kFeedbackMode);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f42_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF42_recurtree, g, msg, a, b, c);
}
