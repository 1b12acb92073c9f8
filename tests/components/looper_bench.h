// A real Looper around one member, for the tests of members that accumulate
// inside loops: f23 Iterations (slot 0, A = 3: four passes) iterates an f22
// Scale & Offset identity (slot 2, fed 1 and 1), and the member (slot 1)
// sits inside the loop with the loop mask given, its inputs reading fixed
// blocks. Set the member's parameters, then run().
#pragma once

#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

#include "engine/catalog.h"
#include "tests/components/member_harness.h"

class KVlooperBench
{
public:
  KVlooperBench(uint16_t family, int16_t id, uint16_t mask, std::initializer_list<KVtestInput> in)
      : feeds_(in)
  {
    looper = h.bind(kFamily23, kIterationsId);
    smalltree& tree = h.doc()->tree;
    member = &tree.funcs[1];
    source = &tree.funcs[2];
    for (gfunc* f : {member, source}) {
      f->doc = h.doc();
      f->owner = &tree;
    }
    tree.count = 3;
    setFunc(member, int16_t(family), id, kBindDefaults);
    setFunc(source, kFamily22, kScaleOffsetId, kBindDefaults);
    for (size_t k = 0; k < feeds_.size() && k < 4; ++k) {
      member->inlets[k].data = feeds_[k].data.data();
      member->inlets[k].channels = 1;
    }
    for (int k = 0; k < 2; ++k) {
      source->inlets[k].data = one_.data.data();
      source->inlets[k].channels = 1;
    }
    member->loopMask = mask;
    looper->loopIndex = 1;
    looper->loopMask = 1;
    looper->sources[0] = source;
  }

  // Prepares the tree and runs the Looper's four passes over one batch of 4.
  void run()
  {
    h.setParams(3, 1, -1);
    h.prepare();
    source->compute(source);
    h.run(4);
    EXPECT_EQ(h.doc()->tree.iteration, 4);
  }

  KVmemberHarness h;
  gfunc* looper = nullptr;
  gfunc* member = nullptr;
  gfunc* source = nullptr;

private:
  static constexpr int16_t kIterationsId = 44;
  static constexpr int16_t kScaleOffsetId = 2;  // the identity at its defaults
  std::vector<KVtestInput> feeds_;
  KVtestInput one_ = KVtestInput::fill(1);
};
