// Small document trees for the members whose result depends on other
// components (loop drivers, memory members, derivatives): components placed
// slot by slot with their levels and sources, prepared as a render prepares
// them (KV_prepare_evaluation: loop marking, inputs, messages 7 and 8) and
// run through the evaluator's tree pass batch by batch, or rendered through
// the render driver on one or more threads.
#pragma once

#include <algorithm>
#include <gtest/gtest.h>
#include <initializer_list>

#include "engine/evaluate.h"
#include "engine/prepare.h"
#include "tests/components/family_render.h"
#include "tests/components/member_harness.h"

class KVsmallTreeTest : public KVfamilyRender
{
protected:
  // A member bound with its defaults in the next slot. Input k reads output
  // 1 of the component in slot sources[k]; inputs not listed read the master
  // arrays (x for input 1, y for input 2).
  gfunc* add(uint16_t family, int16_t id, uint8_t level, std::initializer_list<int> sources = {})
  {
    smalltree& tree = doc_->tree;
    const int slot = tree.count++;
    gfunc* g = &tree.funcs[slot];
    g->index = int16_t(slot);
    g->level = level;
    setFunc(g, int16_t(family), id, kBindDefaults);
    int k = 0;
    for (int s : sources) {
      g->sources[k] = &tree.funcs[s];
      g->inlets[k].source = kSourceOutput1;
      ++k;
    }
    tree.rootLevel = std::max<int16_t>(tree.rootLevel, level);
    return g;
  }

  gfunc* add(uint16_t family, int16_t id, uint8_t level, std::initializer_list<int> sources,
             double a, double b, double c)
  {
    gfunc* g = add(family, id, level, sources);
    g->A = a;
    g->B = b;
    g->C = c;
    return g;
  }

  // Links the tree and prepares it for evaluation.
  void prepareTree()
  {
    arb_ServiceChanges(doc_, false);
    doc_->paramsChanged = 1;
    KV_prepare_evaluation(doc_, false);
  }

  // One tree pass over a batch of n samples at master x and y.
  void runBatch(const KVbatch& x, const KVbatch& y, int n = kBatchCapacity)
  {
    std::copy(x.begin(), x.end(), doc_->master[0]);
    std::copy(y.begin(), y.end(), doc_->master[1]);
    KV_setBatchLength(n);
    KVTree_evaluate(doc_);
    KV_setBatchLength(kBatchCapacity);
  }

  gfunc* slot(int s) { return &doc_->tree.funcs[s]; }
};
