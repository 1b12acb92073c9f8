#include "components/f43/looper.h"

#include <algorithm>

#include "components/common/inputs.h"
#include "engine/evaluate.h"
#include "engine/prepare.h"
#include "engine/world.h"

namespace {

// A point of one batch: x and y, up to 16 samples each.
struct BatchPoint
{
  double x[kBatchCapacity];
  double y[kBatchCapacity];
};

sfuncEvalLists& loopList(gfunc* looper)
{
  return privateArea<sfuncEvalLists>(looper);
}

// Without an owner tree, F or G the loop cannot run: inputs 1 and 2 pass
// through and the step value is 0.
void passThrough(gfunc* looper, int n)
{
  for (int i = 0; i < n; ++i) {
    looper->outputs[0][i] = KV_inletSample(looper->inlets[0], i);
    looper->outputs[1][i] = KV_inletSample(looper->inlets[1], i);
    looper->outputs[2][i] = 0.0;
  }
}

void computeOnce(gfunc* g)
{
  if (g->compute != nullptr)
    g->compute(g);
}

// Publishes a point and the step value on the Looper's three outputs.
void publish(gfunc* looper, const double* x, const double* y, double step, int n)
{
  std::copy_n(x, n, looper->outputs[0]);
  std::copy_n(y, n, looper->outputs[1]);
  std::fill_n(looper->outputs[2], n, step);
}

double stepValue(const smalltree* owner, const gfunc* looper)
{
  return owner->iteration * looper->B;
}

// Outer component `outer` seeds the inner component `inner`, which is
// iterated n + 1 times per outer pass; the outer one advances once per pass.
void evaluateNested(smalltree* owner, gfunc* looper, sfuncEvalLists* list, int16_t count,
                    gfunc* inner, gfunc* outer)
{
  if (count < 0)
    return;
  const int n = KV_batchLength();
  for (int pass = 0; pass <= count; ++pass) {
    std::copy_n(outer->outputs[0], n, inner->outputs[0]);
    std::copy_n(outer->outputs[1], n, inner->outputs[1]);
    for (int step = 0; step <= count; ++step) {
      computeOnce(inner);
      publish(looper, inner->outputs[0], inner->outputs[1], stepValue(owner, looper), n);
      KV_runEvalList(list);
      ++owner->iteration;
    }
    computeOnce(outer);
  }
}

// How a Looper feeds F and G back while it runs.
enum class Feedback
{
  OwnOutputs,     // F and G read their own outputs
  LooperOutputs,  // F and G read the Looper's outputs
};

using LoopScheme = void (*)(smalltree*, gfunc*, sfuncEvalLists*, int16_t);

// The frame common to the three Loopers: redirect F's and G's inputs, reset
// the counter of an outermost loop, run the scheme, restore the inputs.
void runLooper(gfunc* looper, Feedback feedback, LoopScheme scheme)
{
  const int n = KV_batchLength();
  smalltree* owner = looper->owner;
  gfunc* f = looper->sources[0];
  gfunc* g = looper->sources[2];
  if (owner == nullptr || f == nullptr || g == nullptr) {
    passThrough(looper, n);
    return;
  }

  KVsavedInputs savedF{};
  KVsavedInputs savedG{};
  gfunc* feedF = feedback == Feedback::OwnOutputs ? f : looper;
  gfunc* feedG = feedback == Feedback::OwnOutputs ? g : looper;
  Set2inNewInputsTo(f, feedF->outputs[0], feedF->outputs[1], &savedF, 2);
  Set2inNewInputsTo(g, feedG->outputs[0], feedG->outputs[1], &savedG, 2);

  if (looper->loopMask == 1)
    owner->iteration = 0;
  scheme(owner, looper, &loopList(looper), KV_looperCount(looper->A, kLooperMaxIterations));

  Restore2inInputs(f, &savedF);
  Restore2inInputs(g, &savedG);
}

}  // namespace

void f43EvaluateFG(smalltree* owner, gfunc* looper, sfuncEvalLists* list, int16_t count)
{
  evaluateNested(owner, looper, list, count, looper->sources[0], looper->sources[2]);
}

void f43EvaluateGF(smalltree* owner, gfunc* looper, sfuncEvalLists* list, int16_t count)
{
  evaluateNested(owner, looper, list, count, looper->sources[2], looper->sources[0]);
}

// Each level publishes F's point, then G's, and from each goes one level
// deeper after applying F and G to it. F and G read the Looper's outputs.
void f43crossEvaluate(smalltree* owner, gfunc* looper, sfuncEvalLists* list, int16_t count)
{
  if (count < 0)
    return;
  const int n = KV_batchLength();
  gfunc* f = looper->sources[0];
  gfunc* g = looper->sources[2];
  auto deeper = [&] {
    if (count == 0)
      return;
    computeOnce(f);
    computeOnce(g);
    f43crossEvaluate(owner, looper, list, int16_t(count - 1));
  };

  BatchPoint kept;
  std::copy_n(g->outputs[0], n, kept.x);
  std::copy_n(g->outputs[1], n, kept.y);
  publish(looper, f->outputs[0], f->outputs[1], stepValue(owner, looper), n);
  KV_runEvalList(list);
  const int16_t next = int16_t(owner->iteration + 1);
  owner->iteration = next;
  deeper();

  owner->iteration = next;
  publish(looper, kept.x, kept.y, next * looper->B, n);
  KV_runEvalList(list);
  deeper();
}

void f43_iterator(gfunc* g)
{
  runLooper(g, Feedback::OwnOutputs, f43EvaluateFG);
}

void f43_iteratorB(gfunc* g)
{
  runLooper(g, Feedback::OwnOutputs, f43EvaluateGF);
}

void f43_crossiterator(gfunc* g)
{
  runLooper(g, Feedback::LooperOutputs, f43crossEvaluate);
}

void f43_looperPrepare(gfunc* g)
{
  KV_buildLoopList(g, &loopList(g));
}

namespace {

// Input connector code of the Loopers: two pairs of inputs (F's point on 1
// and 2, G's on 3 and 4).
constexpr int16_t kTwoPairsOfInputs = 12;

int16_t looperHandler(const KVmemberDesc& d, gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  const int16_t result = KV_memberHandler(d, g, msg, a, b, c);
  if (msg == kMsgDefaults)
    g->inputCode = kTwoPairsOfInputs;
  return result;
}

}  // namespace

int16_t f43_iterator_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return looperHandler(kF43_iterator, g, msg, a, b, c);
}

int16_t f43_iteratorB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return looperHandler(kF43_iteratorB, g, msg, a, b, c);
}

int16_t f43_crossiterator_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return looperHandler(kF43_crossiterator, g, msg, a, b, c);
}
