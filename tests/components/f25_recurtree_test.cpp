// The compiled sub-tree member of f25: B + 1 passes held to 65 (NaN one), the
// blend of outputs 1 and 2 from the inputs at every batch, A times the last
// three outlets, the marker of the first outlet, and the member without a
// sub-tree.
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

// A sub-tree member that gives its inputs plus one on outputs 1 and 2, the
// pass number on output 3, a pass count on output 4 and 1 on output 5;
// input 1 at 100 gives the marker.
void passProbe(gfunc* c)
{
  for (int i = 0; i < KV_batchLength(); ++i) {
    const double x = c->inlets[0].data[i];
    c->outputs[0][i] = x == 100 ? M : x + 1;
    c->outputs[1][i] = c->inlets[1].data[i] + 1;
    c->outputs[2][i] = c->owner->iteration;
    c->outputs[3][i] += 1;
    c->outputs[4][i] = 1;
  }
}

class F25Recurtree : public ::testing::Test
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily25, kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
  }
  void TearDown() override { arb_DisposeSubTree(sub_); }

  // A sub-tree of one f25 member reading the owner's two inputs, its compute
  // replaced by the probe.
  gfunc* attachProbe()
  {
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, kFamily25, 18, kBindDefaults);
    c->inlets[0].source = kSourceSubtreeInlet1;
    c->inlets[1].source = kSourceSubtreeInlet1 + 1;
    sub_->count = 1;
    h_.doc()->embedded[0] = sub_;
    g_->auxIndex = 0;
    g_->link = sub_;
    c->compute = passProbe;
    return c;
  }

  // Runs one batch of two samples and returns output `out`.
  KVbatch runTwo(int out)
  {
    return h_.run(KVtestInput::samples({1, 100}), KVtestInput::samples({3, 4}), 2, out);
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;
};

TEST_F(F25Recurtree, PassesAreHeldToSixtyFiveAndNaNRunsOne)
{
  gfunc* c = attachProbe();
  h_.setParams(1, 3, -1);
  h_.prepare();
  struct Case
  {
    double b;
    double passes;
  };
  // Keyframes may set B after message 7: the compute holds it itself.
  for (const Case k : {Case{3, 4}, Case{1000, 65},
                       Case{std::numeric_limits<double>::quiet_NaN(), 1}, Case{-8, 1}}) {
    SCOPED_TRACE(k.b);
    g_->B = k.b;
    std::fill(std::begin(c->outputs[3]), std::end(c->outputs[3]), 0.0);
    EXPECT_EQ(runTwo(3)[0], k.passes);
    EXPECT_EQ(g_->outputs[2][0], k.passes - 1);  // the last pass's number
  }
}

// The sub-tree reads the owner's outputs; every batch starts them from the
// inputs, so running the same batch twice gives the same values.
TEST_F(F25Recurtree, EveryBatchStartsFromTheInputs)
{
  attachProbe();
  h_.setParams(0.5, 0, -1);
  h_.prepare();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    const KVbatch x = runTwo(0);
    EXPECT_EQ(x[0], 1 + (2 - 1) * 0.5);
    EXPECT_EQ(g_->outputs[1][0], 3 + (4 - 3) * 0.5);
    EXPECT_EQ(g_->outputs[4][0], 0.5);  // A times the fifth outlet
    for (int out = 0; out < 5; ++out)
      EXPECT_EQ(g_->outputs[out][1], M) << "marked sample, output " << out;
  }
}

TEST_F(F25Recurtree, WithoutASubtreeGivesThePointAndBlack)
{
  h_.prepare();
  const KVbatch x = runTwo(0);
  EXPECT_EQ(x[0], 1);
  EXPECT_EQ(x[1], 100);
  EXPECT_EQ(g_->outputs[1][1], 4);
  for (int out = 2; out < 5; ++out)
    EXPECT_EQ(g_->outputs[out][0], 0) << out;
}

}  // namespace
