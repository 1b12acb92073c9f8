// The compiled sub-tree member of f32: passes, blending from the inputs at
// every batch, A and B held in range at every batch, and no sub-tree.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <utility>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class F32Recurtree : public ::testing::Test
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily32, kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
    h_.setInput(2, KVtestInput::samples({5, 6, 7}));
  }
  void TearDown() override { arb_DisposeSubTree(sub_); }

  // A sub-tree of one f22 Scale & Offset reading the owner's first two
  // inlets: each pass moves the point by (0.5, -1).
  void attachStepper()
  {
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, kFamily22, 2, kBindDefaults);
    c->A = 1, c->B = 0.5, c->C = -1;
    c->inlets[0].source = kSourceSubtreeInlet1;
    c->inlets[1].source = kSourceSubtreeInlet1 + 1;
    sub_->count = 1;
    h_.doc()->embedded[0] = sub_;
    g_->auxIndex = 0;
    g_->link = sub_;
  }

  std::pair<KVbatch, KVbatch> runBoth()
  {
    const KVtestInput x = KVtestInput::samples({1, -2, gINFINITY});
    const KVtestInput y = KVtestInput::samples({3, 0, 7});
    const KVbatch out1 = h_.run(x, y, 3, 0);
    return {out1, h_.run(x, y, 3, 1)};
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;
};

TEST_F(F32Recurtree, NameAndMaps)
{
  EXPECT_EQ(h_.displayName(), "");
  EXPECT_EQ(g_->A, 1.0);
  EXPECT_EQ(g_->B, 0.0);
  EXPECT_EQ(h_.send(kMsgParamA), "Blend ");
  EXPECT_EQ(h_.send(kMsgParamB), "Recursion ");
  double a = 0.5, b = 0.999, c = 0;
  h_.send(kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(g_->A, 0.5);
  EXPECT_EQ(g_->B, 31.0);
}

// B = 3 runs four passes, counters 0..3; every batch starts from the inputs,
// so the second batch gives what the first gave.
TEST_F(F32Recurtree, PassesAndBatchesStartFromTheInputs)
{
  const struct
  {
    double blend, recursion;
    bool afterPrepare;  // set after message 7, as a keyframe would
    int passes;
  } cases[] = {{1, 3, false, 4}, {1, 1e9, true, 33}, {1, kNaN, true, 1}, {1, -5, true, 1}};
  attachStepper();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.recursion);
    h_.setParams(c.blend, c.recursion, 0);
    h_.prepare();
    if (c.afterPrepare)
      h_.setParams(c.blend, c.recursion, 0);
    for (int batch = 0; batch < 2; ++batch) {
      const auto [x, y] = runBoth();
      EXPECT_EQ(x[0], 1 + 0.5 * c.passes);
      EXPECT_EQ(y[0], 3 - 1.0 * c.passes);
      EXPECT_EQ(x[2], gINFINITY);
      EXPECT_EQ(sub_->iteration, c.passes - 1);
    }
  }
}

TEST_F(F32Recurtree, BlendHeldAndPartial)
{
  attachStepper();
  h_.setParams(0.5, 0, 0);
  h_.prepare();
  EXPECT_EQ(runBoth().first[0], 1.25);
  h_.setParams(kNaN, 0, 0);  // NaN blend as 0: the inputs
  EXPECT_EQ(runBoth().first[0], 1);
  h_.setParams(40, 0, 0);
  h_.prepare();
  EXPECT_EQ(g_->A, 32.0);
}

TEST_F(F32Recurtree, WithoutASubtreeInputsPassThrough)
{
  h_.prepare();
  const auto [x, y] = runBoth();
  EXPECT_EQ(x[0], 1);
  EXPECT_EQ(x[2], gINFINITY);
  EXPECT_EQ(y[0], 3);
  EXPECT_EQ(y[2], 7);
}

}  // namespace
