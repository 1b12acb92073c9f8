// Evaluation preparation: loop marking, evaluation lists, master inputs,
// channel counts, sub-tree outlets and owner codes, the change flags, the
// rendering inputs, dependency lists and input redirection; and a copy
// evaluated on a second thread while the original is evaluated on the first.
#include "engine/prepare.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/treemanage.h"
#include "testfamily.h"

namespace {

struct PrepareTest : ::testing::Test
{
  TestWorld world;
  std::unique_ptr<sfuncSystem> doc = makeTestDocument();
  smalltree& tree = doc->tree;

  void TearDown() override { arb_Clear(doc.get(), true, true); }

  std::vector<uint16_t> masks() const
  {
    std::vector<uint16_t> m;
    for (int i = 0; i < tree.count; ++i)
      m.push_back(tree.funcs[i].loopMask);
    return m;
  }
};

// 0 add; 1 iterate(0) starts loop 1; 2 scale(1); 3 memory(2) ends it;
// 4 add(3, 0) after the loop; 5 scale(1) leads to no loop end.
void buildLoopTree(smalltree* t)
{
  addTestComponent(t, TestMember::kAdd, 0);
  addTestComponent(t, TestMember::kIterate, 1, {0});
  addTestComponent(t, TestMember::kScale, 2, {1});
  addTestComponent(t, TestMember::kMemory, 3, {2});
  addTestComponent(t, TestMember::kAdd, 4, {3, 0});
  addTestComponent(t, TestMember::kScale, 2, {1});
}

TEST_F(PrepareTest, LoopMasksFollowThePathsFromStarterToLoopEnd)
{
  buildLoopTree(&tree);
  prepareloops(&tree, true);
  EXPECT_EQ(masks(), (std::vector<uint16_t>{0, 1, 3, 3, 1, 1}));
  EXPECT_EQ(tree.loopFlag, 1);
  EXPECT_EQ(tree.funcs[1].loopIndex, 1);

  sfuncEvalLists list{};
  prepare_evallist(&tree, &list);
  ASSERT_EQ(list.count, 4);
  EXPECT_EQ(list.funcs[0], &tree.funcs[0]);
  EXPECT_EQ(list.funcs[1], &tree.funcs[1]);
  EXPECT_EQ(list.funcs[2], &tree.funcs[4]);
  EXPECT_EQ(list.funcs[3], &tree.funcs[5]);
  EXPECT_EQ(tree.iterationPtr, &tree.iteration);

  prepareloops(&tree, false);  // in a sub-tree f11 28 starts no loop
  EXPECT_EQ(masks(), (std::vector<uint16_t>(6, 0)));
  EXPECT_EQ(tree.loopFlag, 0);
}

TEST_F(PrepareTest, TreeWithoutStartersHasNoLoop)
{
  addTestComponent(&tree, TestMember::kAdd, 0);
  addTestComponent(&tree, TestMember::kMemory, 1, {0});
  tree.loopFlag = 1;
  tree.funcs[1].loopMask = 6;
  prepareloops(&tree, true);
  EXPECT_EQ(masks(), (std::vector<uint16_t>{0, 0}));
  EXPECT_EQ(tree.loopFlag, 0);
  sfuncEvalLists list{};
  prepare_evallist(&tree, &list);
  EXPECT_EQ(list.count, 2);
}

TEST_F(PrepareTest, MasterInputsByCode)
{
  struct Case
  {
    int16_t code;
    int array;
    int16_t channels;
  };
  const Case cases[] = {{6, 0, 1},  {7, 1, 1},  {8, 2, 1}, {9, 3, 0}, {10, 4, 0},
                        {11, 5, 0}, {13, 7, 0}, {3, 0, 1}, {16, 0, 1}};
  for (const Case& c : cases) {
    int16_t ch = -1;
    EXPECT_EQ(setMasterinputptr(doc.get(), c.code, &ch), doc->master[c.array]) << c.code;
    EXPECT_EQ(ch, c.channels) << c.code;
  }
  doc->inputMode = 3;
  gKovrelinWorld->alternateInput = 1;
  int16_t ch = 0;
  EXPECT_EQ(setMasterinputptr(doc.get(), 11, &ch), doc->master[1]);
  EXPECT_EQ(ch, 1);
  gKovrelinWorld->alternateInput = 0;
  EXPECT_EQ(setMasterinputptr(doc.get(), 11, &ch), doc->master[5]);
}

TEST_F(PrepareTest, UnsetInletsTakeTheirDefaultSources)
{
  gfunc plain{}, fourInputs{};
  bindTestMember(&plain, TestMember::kPacker);
  setFunc(&fourInputs, kFamily42, 0, kBindDefaults);
  EXPECT_EQ(fourInputs.inputCode, 12);
  preparemasterinputs(doc.get(), &plain);
  preparemasterinputs(doc.get(), &fourInputs);
  const int16_t plainCodes[4] = {6, 7, 8, 9};
  const int16_t fourCodes[4] = {6, 7, 6, 7};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(plain.inlets[k].source, plainCodes[k]);
    EXPECT_EQ(fourInputs.inlets[k].source, fourCodes[k]);
  }
  EXPECT_EQ(fourInputs.inlets[2].data, doc->master[0]);
  EXPECT_EQ(plain.inlets[3].channels, 0);
}

TEST_F(PrepareTest, ChannelCountsFollowTheSources)
{
  addTestComponent(&tree, TestMember::kAdd, 0);                           // 0
  addTestComponent(&tree, TestMember::kPacker, 1, {0, 0, 0});             // 1 packed, 3 channels
  addTestComponent(&tree, TestMember::kUnpack, 2, {1});                   // 2 reads the pack
  gfunc* uniform = addTestComponent(&tree, TestMember::kAdd, 1, {0, 0});  // 3
  gfunc* reader = addTestComponent(&tree, TestMember::kMul, 2, {3, 2});   // 4
  reader->inlets[1].source = 3;
  arb_ServiceChanges(doc.get(), false);
  KV_prepare_evaluation(doc.get(), true);
  uniform->outputCode = kConnUniform;
  preparerfunc(reader);

  EXPECT_EQ(tree.funcs[2].inlets[0].channels, 3);
  EXPECT_EQ(tree.funcs[2].inlets[0].data, tree.funcs[1].outputs[0]);
  EXPECT_EQ(reader->inlets[0].channels, 0);  // uniform one-output source
  EXPECT_EQ(reader->inlets[1].channels, 1);
  EXPECT_EQ(reader->inlets[1].data, tree.funcs[2].outputs[2]);
  // Level 0: inlet 2 reads y, constant along a row in row mode.
  EXPECT_EQ(tree.funcs[0].inlets[1].channels, 0);
  doc->treeChanged = 1;
  KV_prepare_evaluation(doc.get(), false);
  EXPECT_EQ(tree.funcs[0].inlets[1].channels, 1);
}

TEST_F(PrepareTest, UniformOutputRules)
{
  gfunc f11{}, two{}, three{};
  setFunc(&f11, kFamily11, 3, kBindOnly);
  setFunc(&two, kFamily22, 5, kBindOnly);
  setFunc(&three, kFamily23, 7, kBindOnly);
  f11.inlets[0].channels = 0;
  EXPECT_TRUE(isfatheroutCte(&f11, 1));
  f11.inlets[0].channels = 1;
  EXPECT_FALSE(isfatheroutCte(&f11, 1));
  two.outputCode = kConnTwoUniformSecond;
  two.inlets[1].channels = 0;
  EXPECT_TRUE(isfatheroutCte(&two, 2));
  EXPECT_FALSE(isfatheroutCte(&two, 1));
  three.outputCode = kConnThreeUniformThird;
  EXPECT_TRUE(isfatheroutCte(&three, 3));
  EXPECT_FALSE(isfatheroutCte(&three, 2));
}

TEST_F(PrepareTest, SubtreeOutletsSetTheOwnerCode)
{
  struct Case
  {
    TestMember first, last;
    int16_t outlets;
    int16_t ownerCode;  // -1: the owner keeps its code
  };
  const Case cases[] = {
      {TestMember::kAdd, TestMember::kSplit, 3, 10},
      {TestMember::kSplit, TestMember::kSplit, 4, 12},
      {TestMember::kColor3, TestMember::kSplit, 5, 13},
      {TestMember::kAdd, TestMember::kColor3, 4, 16},
      {TestMember::kAdd, TestMember::kFour, 5, -1},
  };
  for (const Case& c : cases) {
    smalltree* sub = arb_NewSubTree();
    addTestComponent(sub, c.first, 0);
    addTestComponent(sub, c.last, 0);
    gfunc owner{};
    bindTestMember(&owner, TestMember::kSubtree22);
    const int16_t before = owner.outputCode;
    EXPECT_EQ(prepareCTout(sub, &owner), c.outlets);
    EXPECT_EQ(sub->outletCount, c.outlets);
    EXPECT_EQ(owner.outputCode, c.ownerCode >= 0 ? c.ownerCode : before) << c.outlets;
    EXPECT_EQ(sub->outletData[0], sub->funcs[0].outputs[0]);
    arb_DisposeSubTree(sub);
  }
}

TEST_F(PrepareTest, FixCTholdertypeGivesTheOwnerTheOutletsFamily)
{
  smalltree* sub = arb_NewSubTree();
  addTestComponent(sub, TestMember::kAdd, 0);
  addTestComponent(sub, TestMember::kSplit, 0);
  gfunc owner{};
  bindTestMember(&owner, TestMember::kSubtree22);
  EXPECT_EQ(arb_FixCTholdertype(&tree, &owner, sub, KV_memberKey(kFamily22, 127)), 1);
  EXPECT_EQ(owner.family, kFamily23);
  EXPECT_EQ(arb_FixCTholdertype(&tree, &owner, sub, KV_memberKey(kFamily23, 127)), 0);
  arb_DisposeSubTree(sub);
}

TEST_F(PrepareTest, SubtreeInletsReadTheOwnersInputs)
{
  addTestComponent(&tree, TestMember::kAdd, 0);
  addTestComponent(&tree, TestMember::kSplit, 0);
  gfunc* owner = addTestComponent(&tree, TestMember::kSubtree21, 1, {0, 1});
  owner->inlets[1].source = 2;
  smalltree* sub = arb_NewSubTree();
  gfunc* inner = addTestComponent(sub, TestMember::kAdd, 0);
  inner->inlets[0].source = kSourceSubtreeInlet1;
  inner->inlets[1].source = kSourceSubtreeInlet1 + 1;
  owner->link = sub;
  doc->embedded[0] = sub;
  arb_ServiceChanges(doc.get(), false);
  KV_prepare_evaluation(doc.get(), false);
  EXPECT_EQ(inner->inlets[0].data, tree.funcs[0].outputs[0]);
  EXPECT_EQ(inner->inlets[1].data, tree.funcs[1].outputs[1]);
  EXPECT_EQ(inner->owner, sub);
  EXPECT_EQ(inner->mainTree, 0);
  EXPECT_EQ(privateArea<TestPrivate>(inner).prepared, 1);

  prepareCTin2(doc.get(), sub, owner, 1);  // feedback: read the owner's outputs
  EXPECT_EQ(inner->inlets[0].data, owner->outputs[0]);
  EXPECT_EQ(inner->inlets[1].data, owner->outputs[1]);
  EXPECT_EQ(sub->inletFeedback, 1);
}

TEST_F(PrepareTest, FlagsChooseHowMuchIsPrepared)
{
  addTestComponent(&tree, TestMember::kAdd, 0);
  addTestComponent(&tree, TestMember::kFour, 1, {0});
  arb_ServiceChanges(doc.get(), false);
  arb_setColorfunc(doc.get(), 3, false);
  const TestPrivate& p = privateArea<TestPrivate>(&tree.funcs[1]);

  EXPECT_EQ(KV_prepare_evaluation(doc.get(), false), 1);
  EXPECT_EQ(doc->treeChanged, 0);
  EXPECT_EQ(p.prepared, 1);
  EXPECT_EQ(p.precomputed, 1);
  EXPECT_EQ(doc->tree.version, 20);

  doc->paramsChanged = 1;
  KV_prepare_evaluation(doc.get(), false);
  EXPECT_EQ(p.prepared, 1);
  EXPECT_EQ(p.precomputed, 2);
  EXPECT_EQ(doc->paramsChanged, 0);

  KV_prepare_evaluation(doc.get(), false);
  EXPECT_EQ(p.precomputed, 2);
  arb_setColorfunc(doc.get(), kColorFuncGeographic, false);
  EXPECT_EQ(KV_prepare_evaluation(doc.get(), false), 0);

  // The shade values come from output 4 of a code-16 output component.
  EXPECT_EQ(doc->renderInputs[0], tree.funcs[1].outputs[3]);
  EXPECT_EQ(doc->renderInputs[2], tree.funcs[1].inlets[0].data);
}

TEST_F(PrepareTest, OneOutputTreeIsNotRgba)
{
  addTestComponent(&tree, TestMember::kAdd, 0);
  arb_ServiceChanges(doc.get(), false);
  EXPECT_EQ(KV_prepare_evaluation(doc.get(), true), 0);
  EXPECT_EQ(doc->rgbaOutput, 0);
  EXPECT_EQ(doc->renderInputs[0], tree.funcs[0].outputs[0]);
  EXPECT_EQ(doc->renderInputs[3], tree.funcs[0].outputs[0]);
}

TEST_F(PrepareTest, SelectionsNamingNoComponentBecome255)
{
  addTestComponent(&tree, TestMember::kAdd, 0);
  addTestComponent(&tree, TestMember::kSplit, 1, {0, 0});
  addTestComponent(&tree, TestMember::kAdd, 2, {1, 1});
  arb_ServiceChanges(doc.get(), false);
  tree.selection1 = 1;
  tree.selection2 = 20;
  KV_prepare_evaluation(doc.get(), false);
  EXPECT_EQ(doc->renderInputs[3], tree.funcs[1].outputs[0]);
  EXPECT_EQ(doc->renderInputs[4], tree.funcs[1].outputs[1]);
  EXPECT_EQ(uint8_t(tree.selection2), 255);
}

TEST_F(PrepareTest, PositionOffsetsAndViewDepth)
{
  addTestComponent(&tree, TestMember::kAdd, 0);
  gfunc* offset = &tree.funcs[1];
  *offset = gfunc{};
  offset->level = 1;
  offset->sources[0] = &tree.funcs[0];
  offset->inlets[0].source = 1;
  setFunc(offset, kFamily33, 1, kBindDefaults);  // "3D Offset"
  offset->A = 1;
  offset->B = 2;
  offset->C = 3;
  tree.count = 2;
  addTestComponent(&tree, TestMember::kAdd, 2, {1, 1});
  prepareParams4render(&tree, doc.get(), 0.5, 0, 0);
  EXPECT_EQ(offset->posOffset.x, 1.5);
  EXPECT_EQ(tree.funcs[2].posOffset.y, 2);
  EXPECT_EQ(tree.funcs[2].posOffset.z, 3);
  EXPECT_EQ(doc->viewDepthFunc, offset);
  EXPECT_EQ(doc->viewDepth, 3);
}

TEST_F(PrepareTest, EvaluationFlagClearsOutputsAtPrecompute)
{
  KV_setBatchLength(16);
  gfunc* g = addTestComponent(&tree, TestMember::kAdd, 0);
  g->outputs[0][3] = 9;
  g->outputs[4][0] = 9;
  g->evalFlag = 1;
  prepareParams4render(&tree, doc.get(), 0, 0, 0);
  EXPECT_EQ(g->outputs[0][3], 0);
  EXPECT_EQ(g->outputs[4][0], 0);
}

TEST_F(PrepareTest, DependencyListIsDepthFirstAndStopsAtStarters)
{
  buildLoopTree(&tree);
  gfunc* list[kMaxComponents];
  int16_t count = 0;
  AddDependancyList(&tree.funcs[4], list, &count);
  // 4 depends on 3 -> 2 -> 1 (a starter: the walk ends there) and on 0.
  ASSERT_EQ(count, 4);
  EXPECT_EQ(list[0], &tree.funcs[2]);
  EXPECT_EQ(list[1], &tree.funcs[3]);
  EXPECT_EQ(list[2], &tree.funcs[0]);
  EXPECT_EQ(list[3], &tree.funcs[4]);
  AddDependancyList(&tree.funcs[5], list, &count);
  EXPECT_EQ(count, 5);
  AddDependancyList(&tree.funcs[4], list, &count);
  EXPECT_EQ(count, 5);
}

TEST_F(PrepareTest, RedirectedInputsAreRestored)
{
  double x[16] = {}, y[16] = {};
  gfunc* plain = addTestComponent(&tree, TestMember::kAdd, 0);
  gfunc* owner = addTestComponent(&tree, TestMember::kSubtree21, 1, {0});
  smalltree* sub = arb_NewSubTree();
  gfunc* inner = addTestComponent(sub, TestMember::kAdd, 0);
  gfunc* oneInput = addTestComponent(sub, TestMember::kScale, 0);
  owner->link = sub;
  doc->embedded[0] = sub;
  arb_ServiceChanges(doc.get(), false);
  KV_prepare_evaluation(doc.get(), false);
  oneInput->inlets[0].source = kSourceMasterY;
  oneInput->inlets[0].data = doc->master[1];
  sub->inletFeedback = 1;

  KVsavedInputs saved{};
  Set2inNewInputsTo(plain, x, y, &saved, 2);
  EXPECT_EQ(plain->inlets[0].data, x);
  Restore2inInputs(plain, &saved);
  EXPECT_EQ(plain->inlets[0].data, doc->master[0]);
  EXPECT_EQ(plain->inlets[1].data, doc->master[1]);

  KVsavedInputs savedSub{};
  Set2inNewInputsTo(owner, x, y, &savedSub, 2);
  EXPECT_EQ(inner->inlets[0].data, x);
  EXPECT_EQ(inner->inlets[1].data, y);
  EXPECT_EQ(oneInput->inlets[0].data, y);
  EXPECT_EQ(sub->inletFeedback, 2);
  Restore2inInputs(owner, &savedSub);
  EXPECT_EQ(inner->inlets[0].data, doc->master[0]);
  EXPECT_EQ(inner->inlets[1].data, doc->master[1]);
  EXPECT_EQ(oneInput->inlets[0].data, doc->master[1]);
  EXPECT_EQ(sub->inletFeedback, 1);
}

// The render driver's pattern: a copy prepared on the main thread and
// evaluated by a worker while the original is evaluated on the main thread.
// Run under the thread sanitizer build, any shared state shows as a race.
TEST(PreparedCopy, EvaluatesOnASecondThreadBesideTheOriginal)
{
  TestWorld world;
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  addTestComponent(&t, TestMember::kAdd, 0);
  addTestComponent(&t, TestMember::kSplit, 1, {0, 0});
  addTestComponent(&t, TestMember::kPacker, 2, {1, 1, 0});
  addTestComponent(&t, TestMember::kUnpack, 3, {2});
  addTestComponent(&t, TestMember::kMemory, 4, {3});
  arb_ServiceChanges(doc.get(), false);
  KV_prepare_evaluation(doc.get(), false);

  auto copy = std::make_unique<sfuncSystem>();
  ASSERT_TRUE(arb_Copy(doc.get(), copy.get()));
  rebindTestMembers(&copy->tree);
  KV_prepare_evaluation(copy.get(), false);

  auto run = [](sfuncSystem* d, std::vector<double>* trace) {
    double x[16], y[16];
    for (int batch = 0; batch < 200; ++batch) {
      for (int i = 0; i < 16; ++i) {
        x[i] = batch + i * 0.25;
        y[i] = batch * 0.5 - i;
      }
      evaluateTestTree(d, x, y, 16);
      trace->insert(trace->end(), d->tree.funcs[4].outputs[0], d->tree.funcs[4].outputs[0] + 16);
    }
  };
  std::vector<double> original, copied;
  std::thread worker(run, copy.get(), &copied);
  run(doc.get(), &original);
  worker.join();
  EXPECT_EQ(original, copied);
  arb_Clear(copy.get(), true, true);
}

}  // namespace
