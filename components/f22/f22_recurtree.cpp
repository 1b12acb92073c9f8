#include "components/f22/f22_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f22/f22_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "foundation/checked.h"

namespace {

// The number of the last pass: B as a whole number within 0..128 (NaN as 0).
// Keyframes may move B after message 7, so it is held at every batch.
int lastPass(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF22MaxRecursion);
}

void copyInputs(gfunc* g, int n)
{
  const F22batch b = f22_batch(g);
  std::copy_n(b.x.data(), n, g->outputs[0]);
  std::copy_n(b.y.data(), n, g->outputs[1]);
}

double outletSample(const smalltree* sub, int k, int i)
{
  return sub->outletData[k][sub->outletChannels[k] == kConnUniform ? 0 : i];
}

// Moves the outputs towards the sub-tree's outputs by `blend`; where the
// sub-tree's first output has no value, the outputs take the marker and the
// second output as it is.
void blendOutlets(gfunc* g, const smalltree* sub, int n, double blend)
{
  const int second = sub->outletData[1] != nullptr ? 1 : 0;
  double* out1 = g->outputs[0];
  double* out2 = g->outputs[1];
  for (int i = 0; i < n; ++i) {
    const double s1 = outletSample(sub, 0, i);
    const double s2 = outletSample(sub, second, i);
    if (s1 < gINFINITY) {
      out1[i] += (s1 - out1[i]) * blend;
      out2[i] += (s2 - out2[i]) * blend;
    } else {
      out1[i] = gINFINITY;
      out2[i] = s2;
    }
  }
}

}  // namespace

void f22_recurtree(gfunc* g)
{
  const int n = KV_batchLength();
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  // Every batch starts from the inputs: with feedback the sub-tree reads the
  // outputs, which must not carry the previous batch's points.
  copyInputs(g, n);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr)
    return;

  const double blend = g->A;
  const int last = lastPass(g->B);
  for (int pass = 0; pass <= last; ++pass) {
    KV_runSubtreePass(sub, list, pass);
    blendOutlets(g, sub, n, blend);
  }
}

void f22_recurtree_prepare(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF22MaxRecursion));

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin2(g->doc, sub, g, 1);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f22_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF22_recurtree, g, msg, a, b, c);
}
