#include "components/f44/f44_recurtree.h"

#include <algorithm>
#include <cmath>

#include "components/common/subtree_passes.h"
#include "components/f44/f44_pvt.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "foundation/checked.h"

namespace {

int lastPass(double b)
{
  return std::clamp(kvnum::sat_i32(b), 0, kF44MaxIterations);
}

bool sourceEmpty(const gfunc* g, int k)
{
  return g->sources[k] != nullptr && g->sources[k]->maskedBatch != 0;
}

}  // namespace

void f44_recurtree(gfunc* g)
{
  smalltree* sub = arb_subtreeOf(g);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  const F44batch b = f44_readBatch(g);
  if (sub == nullptr || list.count <= 0 || sub->outletData[0] == nullptr) {
    for (int i = 0; i < b.n; ++i)
      f44_write(g, i, {{b.x(i), b.y(i), b.z(i)}, b.w(i)});
    return;
  }
  if (sourceEmpty(g, 0) || sourceEmpty(g, 3)) {
    for (int i = 0; i < b.n; ++i)
      f44_write(g, i, kF44noValue);
    g->maskedBatch = 1;
    return;
  }
  g->maskedBatch = 0;

  const int last = lastPass(g->B);
  for (int pass = 0; pass <= last; ++pass)
    KV_runSubtreePass(sub, list, pass);

  KVsubtreeOutlet t[4];
  for (int k = 0; k < 4; ++k)
    t[k] = KV_subtreeOutlet(sub, k);
  const double a = g->A;
  for (int i = 0; i < b.n; ++i) {
    if (f44_missing(t[0].at(i))) {
      f44_write(g, i, kF44noValue);
      continue;
    }
    f44_write(g, i, {{a * t[0].at(i), a * t[1].at(i), a * t[2].at(i)}, a * t[3].at(i)});
  }
}

void f44_recurtree_prepare(gfunc* g)
{
  g->B = std::isnan(g->B) ? 0.0 : std::clamp(g->B, 0.0, double(kF44MaxIterations));

  sfuncEvalLists& list = privateArea<sfuncEvalLists>(g);
  list.count = 0;
  smalltree* sub = arb_subtreeOf(g);
  if (sub == nullptr || KV_subtreeReaches(sub, sub))
    return;
  prepareCTin4(g->doc, sub, g, 0);
  prepareCTout(sub, g);
  prepare_evallist(sub, &list);
}

int16_t f44_recurtree_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_recurtree, g, msg, a, b, c);
}
