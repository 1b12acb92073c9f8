// Family f41: binding and handler messages of every id, the formula members
// at chosen points and their no-value rules, the packer's four blocks, the
// random mixer's noise fields, the Bezier curve, the gradient-noise basis
// and the compiled sub-tree's passes.
#include <cmath>
#include <gtest/gtest.h>

#include "components/common/packed.h"
#include "components/f41/f41_mixes.h"
#include "components/f41/f41_noise.h"
#include "components/f41/f41_pvt.h"
#include "components/f41/f41_recurtree.h"
#include "engine/catalog.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "noise/noises.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kInf = gINFINITY;

TEST(F41Catalog, EveryIdBindsItsEntryAndUnknownIdsBindRandomMix)
{
  KVmemberHarness h;
  for (int16_t id : {0, 1, 2, 3, 4, 5, 6, 7, 8, 127}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily41, id);
    const KVcatalogMember m = KV_catalogMember(kFamily41, id);
    EXPECT_TRUE(m.real);
    EXPECT_EQ(g->compute, m.compute);
    // Message 6 leaves the family's codes, except Pack's (a packed RGBA
    // output that consumers read as three channel blocks) and Random Mix's.
    const int16_t in = id == 0 ? kConnFourF44 : (id == 4 ? kConnOne : kConnFour);
    EXPECT_EQ(g->inputCode, in);
    EXPECT_EQ(g->outputCode, id == 0 ? kConnPacked3 : kConnOne);
  }
  for (int16_t id : {int16_t(9), int16_t(100), int16_t(126), int16_t(-1)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily41, id);
    EXPECT_EQ(g->compute, f41_RndMix);
    EXPECT_EQ(g->handler, f41_RndMix_handler);
    EXPECT_EQ(h.displayName(), " Random Mix");
  }
  EXPECT_EQ(KV_familyMemberCount(kFamily41), 10);
}

TEST(F41Catalog, NamesLabelsDefaultsAndRangeEnds)
{
  const KVnameRow names[] = {
      {0, " Pack", 0, {"", "", ""}},
      {1, " Ax+By+Cz+w", 3, {"Scale X ", "Scale Y ", "Scale Z "}},
      {2, " Min(x,y,z,w)", 1, {"Amplitude ", "", ""}},
      {3, " Max(x,y,z,w)", 1, {"Amplitude ", "", ""}},
      {4, " Random Mix", 3, {"Amount ", "Phase ", "Frequency "}},
      {5, " Multiply", 2, {"Amplitude ", "Offset ", ""}},
      {6, " 4D Perlin noise ", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {7, " Bezier Curve ", 2, {"Amplitude ", "B Tangency ", ""}},
      {8, " Determinant", 2, {"Amplitude ", "Offset ", ""}},
      {127, "Compiled tree", 2, {"Scale ", "Iterations ", ""}},
  };
  const KVrangeRow ranges[] = {
      {0, {-1, -1, -1}, {0, 0, 0}, {0, 0, 0}},    {1, {1, 1, 1}, {-8, -8, -8}, {8, 8, 8}},
      {2, {1, -1, -1}, {0.5, 0, 0}, {1.5, 0, 0}}, {3, {1, -1, -1}, {0.5, 0, 0}, {1.5, 0, 0}},
      {4, {1, 0, 2}, {0, -32, 0}, {2, 32, 16}},   {5, {1, 0, -1}, {0, -4, 0}, {2, 4, 0}},
      {6, {1, 0, 1}, {-4, -32, 0}, {4, 32, 8}},   {7, {1, 1, -1}, {0, 0, 0}, {2, 1, 0}},
      {8, {1, 0, -1}, {0, -4, 0}, {2, 4, 0}},     {127, {1, 0, -1}, {0, 0, 0}, {1, 32, 0}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily41, row);
  for (const KVrangeRow& row : ranges)
    KV_expectDefaultsAndRangeEnds(h, kFamily41, row);

  // Iterations are whole numbers; message 5 gives n/32 back.
  gfunc* g = h.bind(kFamily41, 127);
  double a = 0.5, b = 0.3;
  h.send(kMsgFromNormalized, &a, &b);
  EXPECT_EQ(g->B, 9);
  h.send(kMsgToNormalized, &a, &b);
  EXPECT_EQ(b, 9.0 / 32);
}

// The formula of each arithmetic member at one point, and where it gives
// the no-value marker: ids 1, 5 and 8 test x and w, the others none.
TEST(F41Members, FormulasAndNoValueRules)
{
  struct Case
  {
    int16_t id;
    double A, B, C;
    double x, y, z, w;
    double expected;
  };
  const Case cases[] = {
      {1, 2, -3, 0.5, 1.5, 2, 4, 0.25, 0.25 + (3 - 6 + 2)},
      {1, 1, 1, 1, kInf, 0, 0, 0, kInf},
      {1, 1, 1, 1, 0, 0, 0, kInf, kInf},
      {1, 1, 1, 1, 0, kInf, -kInf, 0, 0 + (kInf - kInf)},
      {2, 1.5, 0, 0, 3, -2, 5, 1, -3},
      {2, 1, 0, 0, kInf, 2, 3, 4, 2},
      {3, 0.5, 0, 0, 3, -2, 5, 1, 2.5},
      {3, 1, 0, 0, kInf, 2, 3, 4, kInf},
      {5, 2, 0.5, 0, 1.5, 2, -1, 3, 3 * (1.5 * 2 * -1) * 2 + 0.5},
      {5, 1, 0, 0, kInf, 1, 1, 1, kInf},
      {5, 1, 0, 0, 1, 1, 1, kInf, kInf},
      {8, 2, -1, 0, 3, 4, 5, 6, (12 - 30) * 2 - 1},
      {8, 1, 0, 0, 0, 0, 0, kInf, kInf},
      {8, 1, 0, 0, 1, kInf, 2, 3, kInf},
  };
  KVmemberHarness h;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "id " << c.id << " x " << c.x << " w " << c.w);
    h.bind(kFamily41, c.id);
    h.setParams(c.A, c.B, c.C);
    h.prepare();
    for (int k = 0; k < 4; ++k)
      h.setInput(k, KVtestInput::fill((&c.x)[k]));
    const KVbatch out = h.run(1);
    if (std::isnan(c.expected))
      EXPECT_TRUE(std::isnan(out[0]));
    else
      EXPECT_EQ(out[0], c.expected);
  }
}

TEST(F41Members, PackCopiesTheBatchIntoFourBlocks)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily41, 0);
  for (int k = 0; k < 4; ++k)
    for (int i = 0; i < kBatchCapacity; ++i)
      g->outputs[k][i] = -7;
  for (int k = 0; k < 4; ++k)
    h.setInput(k, KVtestInput::samples({10.0 * k + 1, 10.0 * k + 2, 10.0 * k + 3, 10.0 * k + 4,
                                        10.0 * k + 5, 10.0 * k + 6}));
  h.run(5);
  for (int k = 0; k < 4; ++k)
    for (int i = 0; i < kBatchCapacity; ++i)
      EXPECT_EQ(g->outputs[k][i], i < 5 ? 10.0 * k + i + 1 : -7) << "block " << k << " i " << i;
}

// A consumer linked to the packer reads it as a packed link of width 3: the
// three channel blocks are x, y and z of the batch.
TEST(F41Members, PackFeedsAConsumerAsAPackedLink)
{
  KVmemberHarness h;
  gfunc* pack = h.bind(kFamily41, 0);
  for (int k = 0; k < 4; ++k)
    h.setInput(k, KVtestInput::fill(k + 0.5));
  h.run(3);
  gfunc consumer{};
  consumer.family = kFamily21;
  consumer.sources[0] = pack;
  consumer.inlets[0].source = kSourceOutput1;
  SetPackinsflag(&consumer);
  EXPECT_EQ(consumer.inlets[0].channels, 3);
  consumer.inlets[0].data = pack->outputs[0];
  const KVpackedInput in = KV_packedInput(&consumer, 0);
  EXPECT_TRUE(in.packed);
  for (int c = 0; c < 3; ++c)
    EXPECT_EQ(in.at(c, 2), c + 0.5);
  EXPECT_EQ(pack->outputs[3][2], 3.5);
}

TEST(F41Members, MaxAtTheLowestAmplitudeHalvesTheLargestInput)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily41, 3);
  double a = 0;
  h.send(kMsgFromNormalized, &a);
  EXPECT_EQ(g->A, 0.5);
  h.setInput(0, KVtestInput::samples({1, -4}));
  h.setInput(1, KVtestInput::samples({7, -3}));
  h.setInput(2, KVtestInput::samples({-2, -9}));
  h.setInput(3, KVtestInput::samples({3, -5}));
  const KVbatch out = h.run(2);
  EXPECT_EQ(out[0], 3.5);
  EXPECT_EQ(out[1], -1.5);
}

// Amount 2: threshold 0 and noise scale 0.0075; the output moves toward y
// where the first field is positive, toward z where it is negative, then
// toward w where the second field is.
TEST(F41Members, RandomMixFollowsItsTwoNoiseFields)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily41, 4);
  h.setParams(2, 0.5, 32);
  h.prepare();
  const F41constants& k = f41_k(g);
  EXPECT_EQ(k.K[0], 0);
  EXPECT_EQ(k.K[1], 0.0075);
  EXPECT_EQ(k.K[2], 0.25);

  KVbatch mx{}, my{};
  for (int i = 0; i < kBatchCapacity; ++i) {
    mx[size_t(i)] = -3 + 0.37 * i;
    my[size_t(i)] = 2 - 0.41 * i;
    h.doc()->master[0][i] = mx[size_t(i)];
    h.doc()->master[1][i] = my[size_t(i)];
  }
  const double x = 1, y = 5, z = -3, w = 11;
  h.setInput(0, KVtestInput::fill(x));
  h.setInput(1, KVtestInput::fill(y));
  h.setInput(2, KVtestInput::fill(z));
  h.setInput(3, KVtestInput::fill(w));
  const KVbatch out = h.run();
  const auto S = [](double e) { return e * e * (3 - 2 * e); };
  for (int i = 0; i < kBatchCapacity; ++i) {
    const double u = 0.25 * mx[size_t(i)] + 0.5, v = 0.25 * my[size_t(i)] + 0.5;
    const double p = fPerlinNoise2D(&h.doc()->tables, u, v) * 0.0075;
    double r = x;
    if (p > 0)
      r = p < 1 ? x + S(p) * (y - x) : y;
    else if (-p > 0)
      r = -p < 1 ? x + S(-p) * (z - x) : z;
    const double q = fPerlinNoise2D(&h.doc()->tables, v + 577.3, u + 577.3) * 0.0075;
    if (q > 0)
      r = q < 1 ? r + S(q) * (w - r) : w;
    EXPECT_EQ(out[size_t(i)], r) << i;
  }
}

// B = 0 is the plain cubic ease from x to z, whatever y; the ends are A x
// and A z.
TEST(F41Members, BezierCurveEndsAndStraightEase)
{
  KVmemberHarness h;
  h.bind(kFamily41, 7);
  h.setParams(1.5, 0, -1);
  h.setInput(0, KVtestInput::fill(2));
  h.setInput(2, KVtestInput::fill(6));
  h.setInput(3, KVtestInput::samples({0, 1, 0.5, 0.25}));
  for (double y : {-100.0, 0.0, 37.0}) {
    h.setInput(1, KVtestInput::fill(y));
    const KVbatch out = h.run(4);
    EXPECT_EQ(out[0], 1.5 * 2);
    EXPECT_EQ(out[1], 1.5 * 6);
    EXPECT_DOUBLE_EQ(out[2], 1.5 * 4);
    EXPECT_DOUBLE_EQ(out[3], 1.5 * (2 + 4 * 0.25 * 0.25 * (3 - 0.5)));
  }
  // B = 1 pulls the middle toward y.
  h.setParams(1, 1, -1);
  h.setInput(1, KVtestInput::fill(10));
  EXPECT_DOUBLE_EQ(h.run(3)[2], 0.125 * 2 + 0.75 * 10 + 0.125 * 6);
}

TEST(F41Members, GradientNoiseIsZeroOnLatticePointsAndFarValueIsZero)
{
  KVmemberHarness h;
  const KVtables* t = &h.doc()->tables;
  for (double x : {0.0, 3.0, -7.0})
    for (double y : {0.0, -2.0, 11.0})
      EXPECT_EQ(f41_gradientNoise3D(t, x, y, 5.0), 0.0);
  EXPECT_NE(f41_gradientNoise3D(t, 0.3, 0.6, 0.2), 0.0);
  EXPECT_EQ(f41_gradientNoise3D(t, 1e300, 0.5, 0.5), 0.0);
  EXPECT_EQ(f41_gradientNoise3D(t, 0.5, NAN, 0.5), 0.0);

  fractalsinfos fi = h.doc()->fractal;
  fi.tables = &h.doc()->tables;
  double state = 9;
  dvector2d out{5, 5};
  fp4dperlin(&fi, 0.3, 0.6, 0.2, 0, &state, 1, -1, &out);
  EXPECT_EQ(out.x, 0);
  EXPECT_EQ(out.y, 0);
  fp4dperlin(&fi, 0.3, 0.6, 0.2, 0, &state, 1, 0, &out);
  EXPECT_EQ(state, 0);
  const double first = out.x;
  fp4dperlin(&fi, 0.3, 0.6, 0.2, 0, &state, 0.5, 1, &out);
  EXPECT_EQ(out.x, first * 1.5);
}

TEST(F41Members, PerlinNoiseMarksXAndWAndMovesAlongXWithW)
{
  KVmemberHarness h;
  h.bind(kFamily41, 6);
  h.setParams(1, 0.25, 1);
  h.prepare();
  h.setInput(0, KVtestInput::samples({kInf, 0.3, 0.3, 0.8}));
  h.setInput(1, KVtestInput::samples({0.1, 0.4, 0.4, 0.4}));
  h.setInput(2, KVtestInput::samples({0.2, 0.7, 0.7, 0.7}));
  h.setInput(3, KVtestInput::samples({0, kInf, 0.5, 0}));
  const KVbatch out = h.run(4);
  EXPECT_EQ(out[0], kInf);
  EXPECT_EQ(out[1], kInf);
  // x + w is what the noise sees along x.
  EXPECT_DOUBLE_EQ(out[2], out[3]);
  EXPECT_TRUE(std::isfinite(out[2]));
  EXPECT_NE(out[2], 0);
}

// ---- Compiled tree -------------------------------------------------------

void countPasses(gfunc* c)
{
  const int n = KV_batchLength();
  for (int i = 1; i < n; ++i)
    c->outputs[0][i] += 1;
  c->outputs[0][0] = c->owner->iteration;
}

class F41Recurtree : public ::testing::Test
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily41, kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
  }
  void TearDown() override { arb_DisposeSubTree(sub_); }

  gfunc* addToSubtree(int16_t id)
  {
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, kFamily41, id, kBindDefaults);
    for (int k = 0; k < 4; ++k)
      c->inlets[k].source = int16_t(kSourceSubtreeInlet1 + k);
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

TEST_F(F41Recurtree, WithoutASubtreeTheOutputIsZero)
{
  h_.setInput(0, KVtestInput::fill(3));
  h_.prepare();
  const KVbatch out = h_.run(4);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(out[size_t(i)], 0);
}

TEST_F(F41Recurtree, TheSubtreeReadsAllFourInputsAndIsScaled)
{
  gfunc* mix = addToSubtree(1);
  mix->A = 1, mix->B = 10, mix->C = 100;
  for (int k = 0; k < 4; ++k)
    h_.setInput(k, KVtestInput::samples({1.0 + k, kInf}));
  h_.setParams(2, 0, -1);
  h_.prepare();
  const KVbatch out = h_.run(2);
  EXPECT_EQ(out[0], 2 * (4 + (1 + 20 + 300)));
  EXPECT_EQ(out[1], kInf);
}

TEST_F(F41Recurtree, RunsIterationsPlusOnePassesHeldToThirtyThree)
{
  struct Case
  {
    double B;
    bool beforePrepare;
    int lastPass;
  };
  const Case cases[] = {{0, true, 0},     {5.9, true, 5},  {1e9, true, 32},
                        {1e9, false, 32}, {NAN, false, 0}, {-4, false, 0}};
  gfunc* counter = addToSubtree(1);
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
  }
}

}  // namespace
