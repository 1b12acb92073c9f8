#include "components/f33/f33_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f33/f33_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"

namespace {

// B as a pass count within 0..128, NaN as 0.
double heldRecursion(double b)
{
  return std::isnan(b) ? 0.0 : std::clamp(b, 0.0, double(kF33MaxRecursion));
}

// The outputs start from x, y and z at every batch: a pixel must not depend
// on what the previous batch (another part of the picture) left there.
void startFromInputs(gfunc* g, const F33batch& b)
{
  std::copy_n(b.x.data(), b.n, g->outputs[0]);
  std::copy_n(b.y.data(), b.n, g->outputs[1]);
  std::copy_n(b.z.data(), b.n, g->outputs[2]);
}

// Moves the outputs towards the sub-tree's outlets by `blend`; output 3
// always, outputs 1 and 2 only where the first outlet has a value.
void blendOutlets(gfunc* g, const smalltree* sub, int n, double blend)
{
  const KVsubtreeOutlet first = KV_subtreeOutlet(sub, 0);
  const KVsubtreeOutlet second = KV_subtreeOutlet(sub, 1);
  const KVsubtreeOutlet third = KV_subtreeOutlet(sub, 2);
  double* out1 = g->outputs[0];
  double* out2 = g->outputs[1];
  double* out3 = g->outputs[2];
  for (int i = 0; i < n; ++i) {
    const double a = first.at(i);
    out3[i] += (third.at(i) - out3[i]) * blend;
    if (a < gINFINITY) {
      out1[i] += (a - out1[i]) * blend;
      out2[i] += (second.at(i) - out2[i]) * blend;
    } else {
      out1[i] = gINFINITY;
      out2[i] = gINFINITY;
    }
  }
}

}  // namespace

void f33_recurtree(gfunc* g)
{
  const F33batch b = f33_batch(g);
  startFromInputs(g, b);
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr)
    return;

  const double blend = g->A;
  const int last = int(heldRecursion(g->B));
  for (int pass = 0; pass <= last; ++pass) {
    KV_runSubtreePass(sub, list, pass);
    blendOutlets(g, sub, b.n, blend);
  }
}

void f33_recurtree_prepare(gfunc* g)
{
  g->B = heldRecursion(g->B);

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  // A sub-tree that owns itself or the tree holding this component would
  // never finish a pass.
  if (sub == nullptr || KV_subtreeReaches(sub, sub) ||
      (g->owner != nullptr && KV_subtreeReaches(sub, g->owner)))
    return;
  prepareCTin3(g->doc, sub, g, 1);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f33_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF33_recurtree, g, msg, a, b, c);
}
