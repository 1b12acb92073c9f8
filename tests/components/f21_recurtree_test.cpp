// The compiled sub-tree member of f21: passes, scaling, masking, and what it
// does without a sub-tree it can run.
#include <gtest/gtest.h>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/member_harness.h"

namespace {

// A sub-tree member that counts: sample 0 gets the tree's iteration counter,
// the other samples add one per pass (output blocks carry over from one pass
// to the next).
void countPasses(gfunc* c)
{
  const int n = KV_batchLength();
  for (int i = 1; i < n; ++i)
    c->outputs[0][i] += 1;
  c->outputs[0][0] = c->owner->iteration;
}

class F21Recurtree : public ::testing::Test
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily21, kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
  }
  void TearDown() override { arb_DisposeSubTree(sub_); }

  // Slot `slot` of the sub-tree bound to (family, id), reading the owner's
  // two inputs.
  gfunc* addToSubtree(int slot, int16_t id)
  {
    gfunc* c = &sub_->funcs[slot];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, kFamily21, id, kBindDefaults);
    c->inlets[0].source = kSourceSubtreeInlet1;
    c->inlets[1].source = kSourceSubtreeInlet1 + 1;
    sub_->count = int16_t(slot + 1);
    return c;
  }

  void attachSubtree()
  {
    h_.doc()->embedded[0] = sub_;
    g_->auxIndex = 0;
    g_->link = sub_;
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;
};

TEST_F(F21Recurtree, ScalesTheSubtreeOutput)
{
  gfunc* affine = addToSubtree(0, 0);
  affine->A = 2, affine->B = 1, affine->C = 0.5;
  attachSubtree();
  h_.setInput(0, KVtestInput::samples({1, -2, gINFINITY, 0.25}));
  h_.setInput(1, KVtestInput::samples({3, 0, 1, gINFINITY}));
  h_.setParams(3, 0, -1);
  h_.prepare();
  const KVbatch out = h_.run(4);
  EXPECT_EQ(out[0], 3 * (2 + 3 + 0.5));
  EXPECT_EQ(out[1], 3 * (-4 + 0 + 0.5));
  EXPECT_EQ(out[2], gINFINITY);
  EXPECT_EQ(out[3], gINFINITY);

  // Scale 0: zeros, except where the sub-tree gives the marker.
  h_.setParams(0, 0, -1);
  const KVbatch zero = h_.run(4);
  EXPECT_EQ(zero[0], 0);
  EXPECT_EQ(zero[1], 0);
  EXPECT_EQ(zero[2], gINFINITY);
}

// B + 1 passes, the iteration counter running 0..B; message 7 clamps B to
// 0..32, and a B moved out of range afterwards (by keyframes) is clamped too.
TEST_F(F21Recurtree, RunsIterationsPlusOnePasses)
{
  struct Case
  {
    double B;
    bool beforePrepare;
    int lastPass;
  };
  const Case cases[] = {{0, true, 0},  {32, true, 32},    {2.7, true, 2}, {40, true, 32},
                        {-3, true, 0}, {1000, false, 32}, {-50, false, 0}};
  gfunc* counter = addToSubtree(0, 45);
  attachSubtree();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.B);
    h_.setParams(1, c.B, -1);
    h_.prepare();
    if (!c.beforePrepare)
      h_.setParams(1, c.B, -1);
    counter->compute = countPasses;
    for (double& v : counter->outputs[0])
      v = 0;
    const KVbatch out = h_.run(3);
    EXPECT_EQ(out[0], c.lastPass);
    EXPECT_EQ(out[1], c.lastPass + 1);
    EXPECT_EQ(sub_->iteration, c.lastPass);
  }
  h_.setParams(1, 40, -1);
  h_.prepare();
  EXPECT_EQ(g_->B, 32);
}

TEST_F(F21Recurtree, WithoutASubtreeXPassesThrough)
{
  h_.setParams(3, 2, -1);
  h_.prepare();
  const KVbatch out = h_.run(KVtestInput::samples({1.5, -2, gINFINITY}), KVtestInput::fill(4), 3);
  EXPECT_EQ(out[0], 1.5);
  EXPECT_EQ(out[1], -2);
  EXPECT_EQ(out[2], gINFINITY);

  const KVbatch uniform = h_.run(KVtestInput::uniform(0.75), KVtestInput::fill(4), 3);
  EXPECT_EQ(uniform[2], 0.75);
}

// A sub-tree that holds a component owning that same sub-tree would link and
// run itself without end: it is not linked, and x passes through.
TEST_F(F21Recurtree, ASubtreeThatOwnsItselfIsNotRun)
{
  gfunc* inner = addToSubtree(0, kCompiledTreeId);
  inner->link = sub_;
  attachSubtree();
  h_.setInput(0, KVtestInput::fill(0.5));
  h_.prepare();
  const KVbatch out = h_.run(2);
  EXPECT_EQ(out[0], 0.5);
  EXPECT_EQ(out[1], 0.5);
}

TEST_F(F21Recurtree, DefaultsAndMaps)
{
  EXPECT_EQ(g_->A, 1);
  EXPECT_EQ(g_->B, 0);
  EXPECT_EQ(g_->paramCount, 2);
  double a = 0.4, b = 0.5;
  h_.send(kMsgFromNormalized, &a, &b);
  EXPECT_EQ(g_->A, 0.4);
  EXPECT_EQ(g_->B, 16);
  g_->B = 8;
  h_.send(kMsgToNormalized, &a, &b);
  EXPECT_EQ(a, 0.4);
  EXPECT_EQ(b, 0.25);
}

}  // namespace
