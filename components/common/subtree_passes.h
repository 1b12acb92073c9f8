// What the compiled-tree members share: the guard against a sub-tree that
// owns itself (directly or through sub-trees below it) and one evaluation
// pass of a linked sub-tree.
#pragma once

#include "engine/gfunc.h"

// True when a component of `from`, or of a sub-tree below it, owns `target`:
// linking or running `target` would then never end. A chain of more distinct
// trees than a document can hold counts as such a loop.
bool KV_subtreeReaches(const smalltree* from, const smalltree* target);

// Pass number `pass`: sets the sub-tree's iteration counter and runs the
// compute function of every component of the evaluation list in order.
void KV_runSubtreePass(smalltree* sub, const sfuncEvalLists& list, int pass);

// Outlet k of a sub-tree, or the last one it has before k; a uniform outlet
// holds one value for the whole batch.
struct KVsubtreeOutlet
{
  const double* data;
  bool uniform;

  double at(int i) const { return data[uniform ? 0 : i]; }
};
KVsubtreeOutlet KV_subtreeOutlet(const smalltree* sub, int k);
