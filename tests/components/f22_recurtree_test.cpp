// The compiled sub-tree member of f22: feedback from its own outputs, passes,
// blending, and the pass count held in range at every batch.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <utility>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/member_harness.h"

namespace {

class F22Recurtree : public ::testing::Test
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily22, kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
  }
  void TearDown() override { arb_DisposeSubTree(sub_); }

  // A sub-tree of one f22 member reading the owner's two inlets; by default
  // Scale & Offset, each pass moving the point by (0.5, -1).
  void attachStepper(int16_t id = 2, double a = 1, double b = 0.5, double c3 = -1)
  {
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, kFamily22, id, kBindDefaults);
    c->A = a, c->B = b, c->C = c3;
    c->inlets[0].source = kSourceSubtreeInlet1;
    c->inlets[1].source = kSourceSubtreeInlet1 + 1;
    sub_->count = 1;
    h_.doc()->embedded[0] = sub_;
    g_->auxIndex = 0;
    g_->link = sub_;
  }

  KVbatch runOutput(int output)
  {
    return h_.run(KVtestInput::samples({1, -2, gINFINITY}), KVtestInput::samples({3, 0, 7}), 3,
                  output);
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;
};

// Every pass reads the outputs the previous pass left (feedback), and every
// batch starts again from the inputs; the blend moves the outputs part way.
TEST_F(F22Recurtree, PassesFeedBackAndBatchesStartFromTheInputs)
{
  struct Case
  {
    double blend;
    double recursion;
    bool afterPrepare;  // set after message 7, as a keyframe would
    int passes;
  };
  const Case cases[] = {
      {1, 0, false, 1},    {1, 3, false, 4},
      {1, 1e9, true, 129}, {1, std::numeric_limits<double>::quiet_NaN(), true, 1},
      {1, -5, true, 1},
  };
  attachStepper();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.recursion);
    h_.setParams(c.blend, c.recursion, -1);
    h_.prepare();
    if (c.afterPrepare)
      h_.setParams(c.blend, c.recursion, -1);
    for (int batch = 0; batch < 2; ++batch) {
      const KVbatch x = runOutput(0);
      const KVbatch y = runOutput(1);
      EXPECT_EQ(x[0], 1 + 0.5 * c.passes);
      EXPECT_EQ(y[0], 3 - 1.0 * c.passes);
      EXPECT_EQ(x[1], -2 + 0.5 * c.passes);
      // The marker stays, and the sub-tree's member masks both outputs.
      EXPECT_EQ(x[2], gINFINITY);
      EXPECT_EQ(y[2], gINFINITY);
    }
  }
}

TEST_F(F22Recurtree, BlendZeroKeepsTheInputsAndHalfBlendsHalfway)
{
  attachStepper();
  h_.setParams(0, 2, -1);
  h_.prepare();
  EXPECT_EQ(runOutput(0)[0], 1);
  EXPECT_EQ(runOutput(1)[1], 0);

  h_.setParams(0.5, 0, -1);
  EXPECT_EQ(runOutput(0)[0], 1.25);
  EXPECT_EQ(runOutput(1)[0], 2.5);
}

// Where the sub-tree's x' has no value, x' takes the marker and y' the
// sub-tree's y' unblended (Split & Move leaves its gap without value).
TEST_F(F22Recurtree, AMarkedSubtreePointKeepsItsY)
{
  attachStepper(44, 0, 0.5, 0);
  h_.setParams(0.25, 0, -1);
  h_.prepare();
  const KVtestInput x = KVtestInput::samples({0.3, 2});
  const KVtestInput y = KVtestInput::samples({1, 1});
  const KVbatch x1 = h_.run(x, y, 2, 0), y1 = h_.run(x, y, 2, 1);
  EXPECT_EQ(x1[0], gINFINITY);
  EXPECT_EQ(y1[0], 1);
  EXPECT_EQ(x1[1], 2 + (1.5 - 2) * 0.25);
  EXPECT_EQ(y1[1], 1);
}

TEST_F(F22Recurtree, MessageSevenHoldsRecursion)
{
  for (const auto& [stored, held] : {std::pair{-3.0, 0.0}, std::pair{1e9, 128.0},
                                     std::pair{std::nan(""), 0.0}, std::pair{7.0, 7.0}}) {
    h_.setParams(1, stored, -1);
    h_.prepare();
    EXPECT_EQ(g_->B, held) << stored;
  }
}

TEST_F(F22Recurtree, WithoutASubtreeBothInputsPassThrough)
{
  h_.prepare();
  const KVbatch x = runOutput(0), y = runOutput(1);
  EXPECT_EQ(x[0], 1);
  EXPECT_EQ(x[1], -2);
  EXPECT_EQ(x[2], gINFINITY);
  EXPECT_EQ(y[0], 3);
  EXPECT_EQ(y[2], 7);
}

TEST_F(F22Recurtree, ASubtreeThatOwnsItselfIsNotRun)
{
  gfunc* inner = &sub_->funcs[0];
  inner->doc = h_.doc();
  inner->owner = sub_;
  setFunc(inner, kFamily22, kCompiledTreeId, kBindDefaults);
  inner->link = sub_;
  sub_->count = 1;
  h_.doc()->embedded[0] = sub_;
  g_->link = sub_;
  h_.prepare();
  EXPECT_EQ(runOutput(0)[0], 1);
}

}  // namespace
