// The compiled sub-tree member of f34: passes and their iteration indices,
// B held at every batch, the scale A on the four outlets, the marker of the
// first outlet, and the member without a sub-tree.
#include <cmath>
#include <gtest/gtest.h>

#include "engine/catalog.h"
#include "tests/components/compiled_tree_fixture.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

// The probe member of the sub-tree, input 3 shown on output 3.
constexpr auto passProbe = KV_passProbe<2>;

class F34Recurtree : public KVcompiledTreeTest
{
protected:
  F34Recurtree() : KVcompiledTreeTest(kFamily34) {}

  // A sub-tree of one f34 member reading the owner's three inputs, its
  // compute replaced by the probe.
  gfunc* attachProbe()
  {
    gfunc* c = attach(kFamily34, 0, 3);
    c->compute = passProbe;
    return c;
  }

  // Runs n samples and returns output `out`, the pass counter cleared first.
  KVbatch run(gfunc* c, int n, int out)
  {
    std::fill(std::begin(c->outputs[3]), std::end(c->outputs[3]), 0.0);
    return h_.run(KVtestInput::samples({1, M, -3}), KVtestInput::samples({4, 5, 6}), n, out);
  }
};

TEST_F(F34Recurtree, RunsBPlusOnePassesAndScalesTheFourOutlets)
{
  gfunc* c = attachProbe();
  h_.setParams(0.5, 3, -1);
  h_.prepare();
  h_.setInput(2, KVtestInput::samples({8, 9, 10}));
  // Output 1 shows the last pass's index (3), output 4 the four passes; a
  // marked first outlet gives four markers.
  const double want[4][3] = {{1.5, M, 1.5}, {0.5, M, -1.5}, {4, M, 5}, {2, M, 2}};
  for (int out = 0; out < 4; ++out) {
    const KVbatch v = run(c, 3, out);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(v[i], want[out][i]) << "output " << out << " sample " << i;
  }
}

// Recursion 0 runs once, 32 thirty-three times; a keyframed B of 40 or NaN
// between two messages 7 is held at the batch; Blend 0 gives zeros.
TEST_F(F34Recurtree, PassCountsAndBlendZero)
{
  gfunc* c = attachProbe();
  struct Row
  {
    double b;
    double passes;
  };
  for (const Row& r : {Row{0, 1}, Row{32, 33}, Row{40, 33}, Row{NAN, 1}, Row{-5, 1}}) {
    SCOPED_TRACE(r.b);
    h_.setParams(1, 0, -1);
    h_.prepare();
    g_->B = r.b;
    EXPECT_EQ(run(c, 1, 3)[0], r.passes);
  }
  h_.setParams(0, 2, -1);
  h_.prepare();
  for (int out = 0; out < 4; ++out)
    EXPECT_EQ(run(c, 1, out)[0], 0) << out;
}

TEST_F(F34Recurtree, WithoutASubtreeGivesXYZ0)
{
  h_.prepare();
  h_.setInput(2, KVtestInput::samples({7, -2}));
  const double want[4][2] = {{1, M}, {4, 5}, {7, -2}, {0, 0}};
  for (int out = 0; out < 4; ++out) {
    const KVbatch v = h_.run(KVtestInput::samples({1, M}), KVtestInput::samples({4, 5}), 2, out);
    EXPECT_EQ(v[0], want[out][0]) << out;
    EXPECT_EQ(v[1], want[out][1]) << out;
  }
}

TEST_F(F34Recurtree, MessageSevenHoldsRecursionAndIgnoresEight)
{
  h_.setParams(1, 40, -1);
  EXPECT_EQ(h_.send(kMsgPrecompute), "");
  EXPECT_EQ(g_->B, 40);
  h_.send(kMsgPrepare);
  EXPECT_EQ(g_->B, 32);
  g_->B = NAN;
  h_.send(kMsgPrepare);
  EXPECT_EQ(g_->B, 0);
}

// A sub-tree holding a compiled tree that owns the sub-tree itself is not
// linked: the member passes its inputs through instead of never ending.
TEST_F(F34Recurtree, SelfOwningSubtreeIsNotRun)
{
  gfunc* c = firstComponent(kFamily34, kCompiledTreeId);
  c->auxIndex = 0;
  c->link = sub_;
  linkSubtree();
  h_.prepare();
  EXPECT_EQ(h_.run(KVtestInput::fill(2), KVtestInput::fill(3), 1, 1)[0], 3);
}

}  // namespace
