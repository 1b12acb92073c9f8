// The compiled sub-tree member of f24: passes and their iteration indices,
// the scale A on the four outlets, the marker of the first outlet, a source
// whose whole batch was masked, fewer than four outlets, and the member
// without a sub-tree.
#include <gtest/gtest.h>

#include "engine/catalog.h"
#include "tests/components/compiled_tree_fixture.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

// The probe member of the sub-tree, input 2 shown on output 3.
constexpr auto passProbe = KV_passProbe<1>;

class F24Recurtree : public KVcompiledTreeTest
{
protected:
  F24Recurtree() : KVcompiledTreeTest(kFamily24) {}

  // A sub-tree of one member of `family` reading the owner's two inputs.
  gfunc* attach(int16_t family, int16_t id) { return KVcompiledTreeTest::attach(family, id, 2); }
};

TEST_F(F24Recurtree, RunsBPlusOnePassesAndScalesTheFourOutlets)
{
  gfunc* c = attach(kFamily24, 0);
  c->compute = passProbe;
  h_.setParams(0.5, 3, -1);
  h_.prepare();
  std::fill(std::begin(c->outputs[3]), std::end(c->outputs[3]), 0.0);
  const KVtestInput x = KVtestInput::samples({1, M, -3});
  const KVtestInput y = KVtestInput::samples({4, 5, 6});
  // Output 1 shows the last pass's index (3), output 4 the four passes.
  const double want[4][3] = {{1.5, M, 1.5}, {0.5, M, -1.5}, {2, M, 3}, {2, M, 2}};
  for (int out = 0; out < 4; ++out) {
    const KVbatch v = h_.run(x, y, 3, out);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(v[i], want[out][i]) << "output " << out << " sample " << i;
    std::fill(std::begin(c->outputs[3]), std::end(c->outputs[3]), 0.0);
  }
}

// A sub-tree whose output component gives fewer than four outlets: the
// missing ones repeat the last (an f22 tree has two).
TEST_F(F24Recurtree, FewerOutletsRepeatTheLast)
{
  attach(kFamily22, 0);
  h_.setParams(1, 0, -1);
  h_.prepare();
  const KVtestInput x = KVtestInput::samples({0.5, -1.25});
  const KVtestInput y = KVtestInput::samples({2, 3});
  const KVbatch second = h_.run(x, y, 2, 1);
  for (int out = 2; out < 4; ++out) {
    const KVbatch v = h_.run(x, y, 2, out);
    EXPECT_EQ(v[0], second[0]) << out;
    EXPECT_EQ(v[1], second[1]) << out;
  }
}

TEST_F(F24Recurtree, MaskedSourceGivesMarkersWithoutRunningTheSubtree)
{
  gfunc* c = attach(kFamily24, 0);
  c->compute = passProbe;
  h_.prepare();
  gfunc source{};
  source.maskedBatch = 1;
  g_->sources[0] = &source;
  std::fill(std::begin(c->outputs[3]), std::end(c->outputs[3]), 0.0);
  for (int out = 0; out < 4; ++out)
    EXPECT_EQ(h_.run(KVtestInput::fill(1), KVtestInput::fill(2), 2, out)[1], M);
  EXPECT_EQ(g_->maskedBatch, 1);
  EXPECT_EQ(c->outputs[3][0], 0);  // never ran

  source.maskedBatch = 0;
  EXPECT_EQ(h_.run(KVtestInput::fill(1), KVtestInput::fill(2), 2, 1)[0], 1);
  EXPECT_EQ(g_->maskedBatch, 0);
  g_->sources[0] = nullptr;
}

TEST_F(F24Recurtree, WithoutASubtreeGivesXYXY)
{
  h_.prepare();
  const KVtestInput x = KVtestInput::samples({1, M});
  const KVtestInput y = KVtestInput::samples({3, 7});
  const double want[4][2] = {{1, M}, {3, 7}, {1, M}, {3, 7}};
  for (int out = 0; out < 4; ++out) {
    const KVbatch v = h_.run(x, y, 2, out);
    EXPECT_EQ(v[0], want[out][0]) << out;
    EXPECT_EQ(v[1], want[out][1]) << out;
  }
}

TEST_F(F24Recurtree, HandlerAnswersUpToMessageSeven)
{
  h_.setParams(1, 40, -1);
  EXPECT_EQ(h_.send(kMsgPrecompute), "");
  EXPECT_EQ(g_->B, 40);
  h_.send(kMsgPrepare);
  EXPECT_EQ(g_->B, 32);
}

}  // namespace
