// The compiled sub-tree member of f23: passes (B held to 0..32 at message 7
// and at every batch), scaling of the three outlets, the marker of the first
// outlet, and what it does without a sub-tree it can run.
#include <gtest/gtest.h>
#include <limits>
#include <utility>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

// A sub-tree member that counts passes on output 1 (sample 0 gets the
// tree's iteration counter, sample 1 adds one per pass) and writes its
// inputs on outputs 2 and 3.
void countPasses(gfunc* c)
{
  c->outputs[0][0] = c->owner->iteration;
  c->outputs[0][1] += 1;
  for (int i = 0; i < KV_batchLength(); ++i) {
    c->outputs[1][i] = c->inlets[0].data[i];
    c->outputs[2][i] = c->inlets[1].data[i];
  }
}

class F23Recurtree : public ::testing::Test
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily23, kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
  }
  void TearDown() override { arb_DisposeSubTree(sub_); }

  // A sub-tree of one f23 member (z set: x, y and A) reading the owner's
  // two inputs.
  gfunc* attachZset()
  {
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, kFamily23, 10, kBindDefaults);
    c->A = 0.5;
    c->inlets[0].source = kSourceSubtreeInlet1;
    c->inlets[1].source = kSourceSubtreeInlet1 + 1;
    sub_->count = 1;
    h_.doc()->embedded[0] = sub_;
    g_->auxIndex = 0;
    g_->link = sub_;
    return c;
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;
};

TEST_F(F23Recurtree, ScalesTheOutletsAndMarksWhereTheFirstHasNoValue)
{
  attachZset();
  h_.setParams(2, 0, -1);
  h_.prepare();
  const KVtestInput x = KVtestInput::samples({1, M, -3});
  const KVtestInput y = KVtestInput::samples({4, 5, M});
  const double want[3][3] = {{2, M, -6}, {8, M, 2 * M}, {1, M, 1}};
  for (int out = 0; out < 3; ++out) {
    const KVbatch v = h_.run(x, y, 3, out);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(v[i], want[out][i]) << "output " << out << " sample " << i;
  }
}

// B = 40 becomes 32 at message 7 (33 passes); a B set after message 7, as a
// keyframe would, is held at every batch.
TEST_F(F23Recurtree, PassCountHeldToThirtyTwo)
{
  struct Case
  {
    double b;
    bool afterPrepare;
    double heldB;
    int passes;
  };
  const Case cases[] = {
      {40, false, 32, 33},  {3, false, 3, 4},
      {-2, false, 0, 1},    {std::numeric_limits<double>::quiet_NaN(), false, 0, 1},
      {1e9, true, 1e9, 33}, {-5, true, -5, 1},
  };
  gfunc* c = attachZset();
  c->compute = countPasses;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.b);
    h_.setParams(1, k.b, -1);
    h_.prepare();
    if (k.afterPrepare)
      h_.setParams(1, k.b, -1);
    else
      EXPECT_EQ(g_->B, k.heldB);
    c->outputs[0][1] = 0;
    const KVbatch v = h_.run(KVtestInput::fill(1), KVtestInput::fill(2), 2, 0);
    EXPECT_EQ(v[0], k.passes - 1);
    EXPECT_EQ(v[1], k.passes);
    EXPECT_EQ(sub_->iteration, k.passes - 1);
  }
}

TEST_F(F23Recurtree, WithoutASubtreeGivesXY0)
{
  h_.prepare();
  const KVtestInput x = KVtestInput::samples({1, M});
  const KVtestInput y = KVtestInput::samples({3, 7});
  EXPECT_EQ(h_.run(x, y, 2, 0)[1], M);
  EXPECT_EQ(h_.run(x, y, 2, 1)[0], 3);
  EXPECT_EQ(h_.run(x, y, 2, 2)[1], 0);
}

TEST_F(F23Recurtree, ASubtreeThatOwnsItselfIsNotRun)
{
  gfunc* inner = &sub_->funcs[0];
  inner->doc = h_.doc();
  inner->owner = sub_;
  setFunc(inner, kFamily23, kCompiledTreeId, kBindDefaults);
  inner->link = sub_;
  sub_->count = 1;
  h_.doc()->embedded[0] = sub_;
  g_->link = sub_;
  h_.prepare();
  const KVtestInput x = KVtestInput::samples({1});
  EXPECT_EQ(h_.run(x, KVtestInput::fill(2), 1, 0)[0], 1);
  EXPECT_EQ(h_.run(x, KVtestInput::fill(2), 1, 2)[0], 0);
}

}  // namespace
