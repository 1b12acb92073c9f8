#include "components/f23/looper.h"

#include <algorithm>

#include "components/common/inputs.h"
#include "engine/evaluate.h"
#include "engine/prepare.h"
#include "engine/world.h"

namespace {

sfuncEvalLists& loopList(gfunc* looper)
{
  return privateArea<sfuncEvalLists>(looper);
}

}  // namespace

void f23_iterator(gfunc* g)
{
  const int n = KV_batchLength();
  smalltree* owner = g->owner;
  gfunc* source = g->sources[0];
  if (owner == nullptr || source == nullptr) {
    for (int i = 0; i < n; ++i) {
      g->outputs[0][i] = KV_inletSample(g->inlets[0], i);
      g->outputs[1][i] = KV_inletSample(g->inlets[1], i);
      g->outputs[2][i] = 0.0;
    }
    return;
  }

  const int16_t count = KV_looperCount(g->A, kF23LooperMaxIterations);
  if (g->loopMask == 1)
    owner->iteration = 0;
  KVsavedInputs saved{};
  Set2inNewInputsTo(source, source->outputs[0], source->outputs[1], &saved, 2);
  const sfuncEvalLists* list = &loopList(g);
  for (int pass = 0; pass <= count; ++pass) {
    if (pass > 0 && source->compute != nullptr)
      source->compute(source);
    std::copy_n(source->outputs[0], n, g->outputs[0]);
    std::copy_n(source->outputs[1], n, g->outputs[1]);
    std::fill_n(g->outputs[2], n, owner->iteration * g->B);
    KV_runEvalList(list);
    ++owner->iteration;
  }
  Restore2inInputs(source, &saved);
}

void f23_looperPrepare(gfunc* g)
{
  KV_buildLoopList(g, &loopList(g));
}

int16_t f23_iterator_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_iterator, g, msg, a, b, c);
}
