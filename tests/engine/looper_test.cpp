// The Looper members (f43 26 to 28, f23 44) on hand-wired trees: F and G are
// two-output members written here that count their runs, and a recorder
// inside the loop logs what the Looper publishes at each step.
#include "components/f23/looper.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "components/f43/looper.h"
#include "engine/catalog.h"
#include "engine/evaluate.h"
#include "engine/treemanage.h"
#include "engine/world.h"

namespace {

struct Step
{
  double x;
  double y;
  double value;  // output 3
};

struct RunCounts
{
  int f = 0;
  int g = 0;
  int list = 0;
};

// Members of these tests; they keep their run count in the private area.
int& runs(gfunc* g)
{
  return privateArea<int>(g);
}

double in(const gfunc* g, int k, int i)
{
  return g->inlets[k].data[i];
}

// F: (x + 1, 2y).
void memberF(gfunc* g)
{
  ++runs(g);
  for (int i = 0; i < KV_batchLength(); ++i) {
    const double x = in(g, 0, i);
    const double y = in(g, 1, i);
    g->outputs[0][i] = x + 1;
    g->outputs[1][i] = 2 * y;
  }
}

// G: (x / 2, y - 1).
void memberG(gfunc* g)
{
  ++runs(g);
  for (int i = 0; i < KV_batchLength(); ++i) {
    const double x = in(g, 0, i);
    const double y = in(g, 1, i);
    g->outputs[0][i] = x / 2;
    g->outputs[1][i] = y - 1;
  }
}

std::vector<Step> gSteps;

// Inside the loop: logs the Looper's three outputs at sample 0.
void recorder(gfunc* g)
{
  ++runs(g);
  const gfunc* looper = g->sources[0];
  gSteps.push_back({looper->outputs[0][0], looper->outputs[1][0], looper->outputs[2][0]});
}

class LooperTest : public ::testing::Test
{
protected:
  // Slots: 0 F, 1 G, 2 the Looper (family, id), 3 the recorder in its loop.
  void build(uint16_t family, int16_t id, double a, double b = 1.0, bool withG = true)
  {
    gSteps.clear();
    smalltree& tree = doc_->tree;
    tree.count = 4;
    f_ = member(0, kFamily22, memberF);
    g_ = member(1, kFamily22, memberG);
    looper_ = &tree.funcs[2];
    setFunc(looper_, int16_t(family), id, kBindDefaults);
    place(looper_, 2);
    looper_->A = a;
    looper_->B = b;
    looper_->sources[0] = f_;
    looper_->sources[1] = f_;
    looper_->sources[2] = withG ? g_ : nullptr;
    looper_->inlets[0].data = inputX_;
    looper_->inlets[1].data = inputY_;
    looper_->inlets[0].channels = looper_->inlets[1].channels = 1;
    looper_->loopIndex = 1;
    looper_->loopMask = 1;
    recorder_ = member(3, kFamily21, recorder);
    recorder_->sources[0] = looper_;
    recorder_->loopMask = 0x3;
    looper_->handler(looper_, kMsgPrepare, nullptr, nullptr, nullptr);
  }

  gfunc* member(int slot, uint16_t family, KVComputeProc compute)
  {
    gfunc* g = &doc_->tree.funcs[slot];
    g->family = family;
    g->compute = compute;
    place(g, slot);
    for (int k = 0; k < 2; ++k) {
      g->inlets[k].data = doc_->master[k];
      g->inlets[k].channels = 1;
    }
    runs(g) = 0;
    g->outputs[0][0] = 1.0;  // the point before the Looper runs
    g->outputs[1][0] = 1.0;
    return g;
  }

  void place(gfunc* g, int slot)
  {
    g->index = int16_t(slot);
    g->doc = doc_.get();
    g->owner = &doc_->tree;
  }

  RunCounts counts() { return {runs(f_), runs(g_), runs(recorder_)}; }

  std::unique_ptr<sfuncSystem> doc_ = std::make_unique<sfuncSystem>();
  gfunc* f_ = nullptr;
  gfunc* g_ = nullptr;
  gfunc* looper_ = nullptr;
  gfunc* recorder_ = nullptr;
  double inputX_[kBatchCapacity] = {7, 7};
  double inputY_[kBatchCapacity] = {8, 8};
};

TEST_F(LooperTest, RunCountsFollowTheCount)
{
  struct Case
  {
    int16_t id;
    double a;
    RunCounts expected;
  };
  const Case cases[] = {
      {26, 0.0, {1, 1, 1}},
      {26, 2.9, {9, 3, 9}},   // n = 2
      {26, -0.5, {1, 1, 1}},  // n = 0
      {26, -7.0, {1, 1, 1}},  // a negative count from a file runs once
      {27, 2.0, {3, 9, 9}},
      {28, 0.0, {0, 0, 2}},
      {28, 3.0, {14, 14, 30}},  // 2^(n+1) - 2 of F and G, 2^(n+2) - 2 steps
      {28, 16.0, {131070, 131070, 262142}},
      {28, 1e9, {131070, 131070, 262142}},  // limited to 16
      {26, 40000.0, {289, 17, 289}},        // limited to 16
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "id " << c.id << " A " << c.a);
    build(kFamily43, c.id, c.a);
    looper_->compute(looper_);
    const RunCounts got = counts();
    EXPECT_EQ(got.f, c.expected.f);
    EXPECT_EQ(got.g, c.expected.g);
    EXPECT_EQ(got.list, c.expected.list);
  }
}

TEST_F(LooperTest, LooperFGPublishesEveryStepWithItsCount)
{
  build(kFamily43, 26, 4.0, 1.0);
  looper_->compute(looper_);
  ASSERT_EQ(gSteps.size(), 25u);
  for (int s = 0; s < 25; ++s)
    EXPECT_EQ(gSteps[s].value, s);
  EXPECT_EQ(doc_->tree.iteration, 25);
}

TEST_F(LooperTest, LooperFGIteratesFFromEachPointOfG)
{
  build(kFamily43, 26, 1.0, 0.5);
  looper_->compute(looper_);
  // G's point (1, 1) seeds F twice; G moves to (0.5, 0) and seeds F again.
  const std::vector<Step> expected = {{2, 2, 0}, {3, 4, 0.5}, {1.5, 0, 1}, {2.5, 0, 1.5}};
  ASSERT_EQ(gSteps.size(), expected.size());
  for (size_t s = 0; s < expected.size(); ++s) {
    EXPECT_EQ(gSteps[s].x, expected[s].x) << s;
    EXPECT_EQ(gSteps[s].y, expected[s].y) << s;
    EXPECT_EQ(gSteps[s].value, expected[s].value) << s;
  }
}

TEST_F(LooperTest, CrossLooperPublishesFThenGAndEndsOneLevelPerCount)
{
  build(kFamily43, 28, 0.0, 2.0);
  f_->outputs[0][0] = 5;
  f_->outputs[1][0] = 6;
  looper_->compute(looper_);
  ASSERT_EQ(gSteps.size(), 2u);
  EXPECT_EQ(gSteps[0].x, 5);  // F's point with the counter 0
  EXPECT_EQ(gSteps[0].value, 0);
  EXPECT_EQ(gSteps[1].x, 1);  // G's point with the counter 1 (times B 2)
  EXPECT_EQ(gSteps[1].value, 2);

  build(kFamily43, 28, 3.0);
  doc_->tree.iteration = 0;
  looper_->compute(looper_);
  EXPECT_EQ(doc_->tree.iteration, 4);
}

TEST_F(LooperTest, WithoutGTheInputsPassThrough)
{
  build(kFamily43, 26, 4.0, 1.0, /*withG=*/false);
  looper_->compute(looper_);
  EXPECT_EQ(looper_->outputs[0][1], 7);
  EXPECT_EQ(looper_->outputs[1][1], 8);
  EXPECT_EQ(looper_->outputs[2][1], 0);
  EXPECT_TRUE(gSteps.empty());
}

TEST_F(LooperTest, NestedLooperKeepsCountingAndInputsComeBack)
{
  build(kFamily43, 26, 1.0);
  looper_->loopMask = 0x5;  // inside loop 2 as well
  doc_->tree.iteration = 7;
  double* fInputs[2] = {f_->inlets[0].data, f_->inlets[1].data};
  double* gInputs[2] = {g_->inlets[0].data, g_->inlets[1].data};
  looper_->compute(looper_);
  EXPECT_EQ(gSteps.front().value, 7);
  EXPECT_EQ(doc_->tree.iteration, 11);
  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(f_->inlets[k].data, fInputs[k]);
    EXPECT_EQ(g_->inlets[k].data, gInputs[k]);
  }
}

TEST_F(LooperTest, LoopListHoldsTheLoopBitOnlyForLoops1To15)
{
  build(kFamily43, 26, 0.0);
  const sfuncEvalLists& list = privateArea<sfuncEvalLists>(looper_);
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.funcs[0], recorder_);

  // Loop 16 has no bit in a 16-bit mask; the Looper never lists itself.
  looper_->loopIndex = 16;
  looper_->loopMask = 0xffff;
  recorder_->loopMask = 0xffff;
  looper_->handler(looper_, kMsgPrepare, nullptr, nullptr, nullptr);
  EXPECT_EQ(list.count, 0);
  looper_->loopIndex = 2;
  looper_->handler(looper_, kMsgPrepare, nullptr, nullptr, nullptr);
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.funcs[0], recorder_);
}

TEST_F(LooperTest, F23LooperRunsItsSourceAgainEachPass)
{
  struct Case
  {
    double a;
    int sourceRuns;
    size_t passes;
  };
  const Case cases[] = {{0.0, 0, 1}, {3.0, 3, 4}, {500.0, 128, 129}, {-3.0, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a);
    build(kFamily23, 44, c.a, 2.0);
    doc_->tree.iteration = 0;
    looper_->compute(looper_);
    EXPECT_EQ(runs(f_), c.sourceRuns);
    ASSERT_EQ(gSteps.size(), c.passes);
    EXPECT_EQ(gSteps.back().value, 2.0 * (c.passes - 1));
    EXPECT_EQ(gSteps.front().x, 1.0);  // pass 0 publishes S as it stands
  }
  build(kFamily23, 44, 3.0, 1.0);
  looper_->sources[0] = nullptr;
  looper_->compute(looper_);
  EXPECT_EQ(looper_->outputs[0][0], 7);
  EXPECT_EQ(looper_->outputs[2][0], 0);
}

TEST_F(LooperTest, HandlersGiveDefaultsConnectorsAndParameterMaps)
{
  struct Case
  {
    uint16_t family;
    int16_t id;
    double a;
    int16_t inputCode;
    double iterationsAtOne;  // message 4 with a normalised 1
  };
  const Case cases[] = {
      {kFamily43, 26, 4.0, 12, 16.0},
      {kFamily43, 27, 4.0, 12, 16.0},
      {kFamily43, 28, 0.0, 12, 16.0},
      {kFamily23, 44, 0.0, kConnTwo, 128.0},
  };
  gfunc* g = &doc_->tree.funcs[0];
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "family " << c.family << " id " << c.id);
    setFunc(g, int16_t(c.family), c.id, kBindDefaults);
    EXPECT_EQ(g->A, c.a);
    EXPECT_EQ(g->B, 1.0);
    EXPECT_EQ(g->paramCount, 2);
    EXPECT_EQ(g->inputCode, c.inputCode);
    EXPECT_EQ(g->outputCode, kConnThreeUniformThird);
    double a = 0.99, b = 0.5, cc = 0.5;
    g->handler(g, kMsgFromNormalized, &a, &b, &cc);
    EXPECT_EQ(g->A, std::trunc(c.iterationsAtOne * 0.99));
    EXPECT_EQ(g->B, 2.0);
    EXPECT_EQ(g->C, kAbsentParam);
    a = 1.0;
    g->handler(g, kMsgFromNormalized, &a, &b, &cc);
    EXPECT_EQ(g->A, c.iterationsAtOne);
  }
}

// Messages 0, 1 and 5 of the f43 Loopers: the parameters with their labels,
// and the inverse of the message-4 map; message 4 stores a whole count with a
// positive zero.
TEST_F(LooperTest, F43HandlersAnswerLabelsAndNormalisedParameters)
{
  auto world = std::make_unique<KovrelinWorld>();
  KV_initWorldRecord(world.get());
  gKovrelinWorld = world.get();
  auto label = [&] {
    return std::string(reinterpret_cast<const char*>(world->label + 1), world->label[0]);
  };
  gfunc* g = &doc_->tree.funcs[0];
  for (int16_t id : {26, 27, 28}) {
    SCOPED_TRACE(id);
    setFunc(g, kFamily43, id, kBindDefaults);
    g->A = 12.0;
    g->B = 3.0;
    struct Case
    {
      int16_t msg;
      double expected;
      const char* label;
    };
    const Case cases[] = {{kMsgParamA, 12.0, "Iterations "},
                          {kMsgParamB, 3.0, "Count Multiplier "}};
    for (const Case& c : cases) {
      double v = 0;
      world->label[0] = 0;
      g->handler(g, c.msg, &v, nullptr, nullptr);
      EXPECT_EQ(v, c.expected);
      EXPECT_EQ(label(), c.label);
    }
    double a = 0, b = 0, cc = 0;
    g->handler(g, kMsgToNormalized, &a, &b, &cc);
    EXPECT_EQ(a, 0.75);
    EXPECT_EQ(b, 0.75);

    a = -0.01;
    g->handler(g, kMsgFromNormalized, &a, &b, &cc);
    EXPECT_EQ(g->A, 0.0);
    EXPECT_FALSE(std::signbit(g->A));
  }
  gKovrelinWorld = nullptr;
}

}  // namespace
