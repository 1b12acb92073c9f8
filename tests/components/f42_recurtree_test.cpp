// The compiled sub-tree member of f42: the outputs start from (x, y) and
// move toward the sub-tree's outlets by A after each of the B + 1 passes; a
// marked first outlet; B held at message 7; no sub-tree; and the guard on
// the sources of inputs 1 and 4.
#include <cmath>
#include <gtest/gtest.h>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

// A sub-tree member whose outlets are (10, 20), or the marker on outlet 1
// where its inlet 1 is negative. Its inlets read the owner's outputs, which
// start a batch at (x, y).
void targetProbe(gfunc* c)
{
  for (int i = 0; i < KV_batchLength(); ++i) {
    c->outputs[0][i] = c->inlets[0].data[i] < 0 ? M : 10;
    c->outputs[1][i] = 20;
  }
}

class F42Recurtree : public ::testing::Test
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily42, kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, kFamily42, 0, kBindDefaults);
    for (int k = 0; k < 4; ++k)
      c->inlets[k].source = int16_t(kSourceSubtreeInlet1 + k);
    c->compute = targetProbe;
    sub_->count = 1;
    h_.doc()->embedded[0] = sub_;
    g_->auxIndex = 0;
    g_->link = sub_;
  }
  void TearDown() override
  {
    g_->link = nullptr;
    arb_DisposeSubTree(sub_);
  }

  // Outputs 1 and 2 of one sample at (x, y).
  std::pair<double, double> at(double x, double y)
  {
    h_.setInput(2, KVtestInput::fill(0));
    h_.setInput(3, KVtestInput::fill(0));
    const double o1 = h_.run(KVtestInput::fill(x), KVtestInput::fill(y), 1, 0)[0];
    return {o1, g_->outputs[1][0]};
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;
};

TEST_F(F42Recurtree, RelaxesTowardTheOutletsOncePerPass)
{
  const struct
  {
    double a, b;
    double out1, out2;
  } rows[] = {
      {0.5, 0, 6, 12},  // one pass: 2 + (10 - 2) / 2, 4 + (20 - 4) / 2
      {0.5, 1, 8, 16},  // two passes
      {1, 5, 10, 20},   // A = 1 reaches the outlets at once
      {0, 3, 2, 4},     // A = 0 keeps (x, y)
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.b);
    h_.setParams(r.a, r.b, 0);
    h_.prepare();
    EXPECT_EQ(at(2, 4), std::make_pair(r.out1, r.out2));
  }
  // A marked first outlet marks output 1 and gives outlet 2 on output 2.
  h_.setParams(0.5, 0, 0);
  h_.prepare();
  EXPECT_EQ(at(-2, 4), std::make_pair(M, 20.0));
}

TEST_F(F42Recurtree, HoldsRecursionAtPreparation)
{
  for (const auto& [b, held] :
       {std::pair{1000.0, 128.0}, std::pair{-3.0, 0.0}, std::pair{std::nan(""), 0.0}}) {
    h_.setParams(1, b, 0);
    h_.prepare();
    EXPECT_EQ(g_->B, held);
  }
  double a = 0, nb = 0, c = 0;
  h_.setParams(1, 64, 0);
  h_.send(kMsgToNormalized, &a, &nb, &c);
  EXPECT_EQ(nb, 0.5);
  EXPECT_EQ(h_.send(kMsgParamB), "Recursion ");
  EXPECT_EQ(h_.displayName(), " Compiled tree");
}

TEST_F(F42Recurtree, EmptySourceOnInputOneOrFourGivesMarkers)
{
  h_.setParams(0.5, 0, 0);
  h_.prepare();
  gfunc empty{};
  empty.maskedBatch = 1;
  for (int k : {0, 3}) {
    g_->sources[k] = &empty;
    EXPECT_EQ(at(2, 4), std::make_pair(M, M)) << k;
    EXPECT_EQ(g_->maskedBatch, 1);
    EXPECT_EQ(sub_->outletData[1][0], M);
    g_->sources[k] = nullptr;
  }
  EXPECT_EQ(at(2, 4), std::make_pair(6.0, 12.0));
  EXPECT_EQ(g_->maskedBatch, 0);
}

TEST(F42RecurtreeAlone, WithoutASubtreePassesXAndY)
{
  KVmemberHarness h;
  h.bind(kFamily42, kCompiledTreeId);
  h.prepare();
  EXPECT_EQ(h.run(KVtestInput::fill(3), KVtestInput::fill(-7), 1, 0)[0], 3);
  EXPECT_EQ(h.run(KVtestInput::fill(3), KVtestInput::fill(-7), 1, 1)[0], -7);
}

}  // namespace
