#include "components/common/subtree_passes.h"

#include <algorithm>
#include <array>

#include "engine/treemanage.h"

bool KV_subtreeReaches(const smalltree* from, const smalltree* target)
{
  constexpr int kMaxTrees = 64;
  std::array<const smalltree*, kMaxTrees> seen{from};
  std::array<const smalltree*, kMaxTrees> pending{from};
  int seenCount = 1, pendingCount = 1;
  while (pendingCount > 0) {
    const smalltree* tree = pending[--pendingCount];
    const int count = std::clamp<int>(tree->count, 0, kMaxComponents);
    for (int i = 0; i < count; ++i) {
      const smalltree* sub = arb_subtreeOf(&tree->funcs[i]);
      if (sub == nullptr)
        continue;
      if (sub == target)
        return true;
      if (std::find(seen.begin(), seen.begin() + seenCount, sub) != seen.begin() + seenCount)
        continue;
      if (seenCount == kMaxTrees)
        return true;
      seen[seenCount++] = sub;
      pending[pendingCount++] = sub;
    }
  }
  return false;
}

void KV_runSubtreePass(smalltree* sub, const sfuncEvalLists& list, int pass)
{
  sub->iteration = int16_t(pass);
  const int count = std::clamp<int>(list.count, 0, kMaxComponents);
  for (int i = 0; i < count; ++i) {
    gfunc* c = list.funcs[i];
    if (c != nullptr && c->compute != nullptr)
      c->compute(c);
  }
}

KVsubtreeOutlet KV_subtreeOutlet(const smalltree* sub, int k)
{
  while (k > 0 && sub->outletData[k] == nullptr)
    --k;
  return {sub->outletData[k], sub->outletChannels[k] == kConnUniform};
}
