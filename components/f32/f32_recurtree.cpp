#include "components/f32/f32_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f32/f32_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"

namespace {

// A or B held to 0..32, NaN as 0. Keyframes may move them after message 7,
// so the compute holds them again at every batch.
double held(double v)
{
  return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, double(kF32MaxRecursion));
}

// Outputs 1 and 2 start from x and y (and output array 3 from z when the
// sub-tree loops): a pixel must not depend on the previous batch.
void startFromInputs(gfunc* g, const F32batch& b, bool loops)
{
  std::copy_n(b.x.data(), b.n, g->outputs[0]);
  std::copy_n(b.y.data(), b.n, g->outputs[1]);
  if (loops)
    std::copy_n(b.z.data(), b.n, g->outputs[2]);
}

// Moves the outputs towards the sub-tree's outputs by `blend`; where the
// sub-tree's first output has no value, the outputs take the marker and the
// second output as it is.
void blendOutlets(gfunc* g, const smalltree* sub, int n, double blend)
{
  const KVsubtreeOutlet first = KV_subtreeOutlet(sub, 0);
  const KVsubtreeOutlet second = KV_subtreeOutlet(sub, 1);
  double* out1 = g->outputs[0];
  double* out2 = g->outputs[1];
  for (int i = 0; i < n; ++i) {
    const double a = first.at(i), b = second.at(i);
    if (a < gINFINITY) {
      out1[i] += (a - out1[i]) * blend;
      out2[i] += (b - out2[i]) * blend;
    } else {
      out1[i] = gINFINITY;
      out2[i] = b;
    }
  }
}

}  // namespace

void f32_recurtree(gfunc* g)
{
  const F32batch b = f32_batch(g);
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  const bool runs = sub != nullptr && list.count > 0 && sub->outletData[0] != nullptr;
  startFromInputs(g, b, runs && sub->loopFlag == 1);
  if (!runs)
    return;

  const double blend = held(g->A);
  const int last = int(held(g->B));
  for (int pass = 0; pass <= last; ++pass) {
    KV_runSubtreePass(sub, list, pass);
    blendOutlets(g, sub, b.n, blend);
  }
}

void f32_recurtree_prepare(gfunc* g)
{
  g->A = held(g->A);
  g->B = held(g->B);

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin3(g->doc, sub, g, 1);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f32_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF32_recurtree, g, msg, a, b, c);
}
