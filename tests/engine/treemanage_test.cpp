// Tree management: initialisation, copies (every pointer of a copy inside the
// copy), walks, renumbering and selections, output component and colour
// function choice, input counting, parameter undo and reset.
#include "engine/treemanage.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/palettes.h"
#include "engine/prepare.h"
#include "testfamily.h"

namespace {

// main: 0 add, 1 mul(0), 2 sub-tree owner (f21 127, embedded 0), 3 add(1, 2)
// sub-tree 0: 0 add, 1 split(0)
struct TreeWithSubtree
{
  TestWorld world;
  std::unique_ptr<sfuncSystem> doc = makeTestDocument();

  TreeWithSubtree()
  {
    smalltree& t = doc->tree;
    addTestComponent(&t, TestMember::kAdd, 0);
    addTestComponent(&t, TestMember::kMul, 1, {0, 0});
    gfunc* owner = addTestComponent(&t, TestMember::kSubtree21, 1, {0});
    smalltree* sub = arb_NewSubTree();
    addTestComponent(sub, TestMember::kAdd, 0);
    addTestComponent(sub, TestMember::kSplit, 1, {0, 0});
    owner->auxIndex = 0;
    owner->link = sub;
    doc->embedded[0] = sub;
    addTestComponent(&t, TestMember::kAdd, 2, {1, 2});
    arb_ServiceChanges(doc.get(), false);
  }
  ~TreeWithSubtree() { arb_Clear(doc.get(), true, true); }
};

// Whether p is null or lies inside the copy: its record or one of its sub-trees.
bool insideCopy(const void* p, const sfuncSystem* copy)
{
  if (p == nullptr)
    return true;
  auto inside = [p](const void* base, size_t size) {
    const auto q = reinterpret_cast<uintptr_t>(p), b = reinterpret_cast<uintptr_t>(base);
    return q >= b && q - b < size;
  };
  if (inside(copy, kDocumentCopySize))
    return true;
  for (const smalltree* sub : copy->embedded)
    if (sub != nullptr && inside(sub, sizeof(smalltree)))
      return true;
  return false;
}

void expectTreeInsideCopy(const smalltree* tree, const sfuncSystem* copy)
{
  EXPECT_TRUE(insideCopy(tree->iterationPtr, copy));
  for (double* outlet : tree->outletData)
    EXPECT_TRUE(insideCopy(outlet, copy));
  for (const gfunc& g : tree->funcs) {
    SCOPED_TRACE(&g - tree->funcs);
    for (const gfunc* s : g.sources)
      EXPECT_TRUE(insideCopy(s, copy));
    for (const inletinfos& in : g.inlets)
      EXPECT_TRUE(insideCopy(in.data, copy));
    EXPECT_TRUE(insideCopy(g.doc, copy));
    EXPECT_TRUE(insideCopy(g.owner, copy));
    EXPECT_TRUE(insideCopy(g.link, copy));
    EXPECT_EQ(g.auxMemory, nullptr);
  }
}

void expectEveryPointerInsideCopy(const sfuncSystem* copy)
{
  EXPECT_TRUE(insideCopy(copy->outputFunc, copy));
  EXPECT_TRUE(insideCopy(copy->viewDepthFunc, copy));
  for (double* in : copy->renderInputs)
    EXPECT_TRUE(insideCopy(in, copy));
  EXPECT_EQ(copy->fractal.tables, &copy->tables);
  EXPECT_TRUE(insideCopy(copy->fractal.nodeParams, copy));
  expectTreeInsideCopy(&copy->tree, copy);
  for (const smalltree* sub : copy->embedded)
    if (sub != nullptr)
      expectTreeInsideCopy(sub, copy);
}

TEST(ArbInit, GivesTheDocumentItsDefaults)
{
  TestWorld world;
  auto doc = std::make_unique<sfuncSystem>();
  doc->fractal.octaves = 4;
  arb_Init(doc.get());
  constexpr double pi = std::numbers::pi;
  EXPECT_EQ(doc->view.xmin, -pi);
  EXPECT_EQ(doc->view.ymax, pi);
  EXPECT_EQ(doc->tree.version, 20);
  EXPECT_EQ(doc->animPeriod, 300);
  EXPECT_EQ(doc->zoom, 1.0);
  EXPECT_EQ(doc->paletteNumber, 0);
  EXPECT_EQ(doc->tree.selection1, -1);
  EXPECT_EQ(doc->indexPair[1], -1);
  EXPECT_EQ(doc->fractal.octaves, 16);
  EXPECT_EQ(doc->fractal.tables, &doc->tables);
  EXPECT_EQ(doc->treeChanged, 1);
  EXPECT_EQ(doc->tree.count, 0);
  EXPECT_GT(doc->tables.gradientKeys.count, 0);
  // The three colours C1, C2, C3 the colour functions read.
  EXPECT_EQ(doc->defaultColors[0], (normalcolor{255, 128, 128, 255}));
  EXPECT_EQ(doc->defaultColors[1], (normalcolor{255, 128, 64, 0}));
  EXPECT_EQ(doc->defaultColors[2], (normalcolor{255, 0, 255, 0}));
  EXPECT_EQ(doc->defaultColors[3], (normalcolor{0, 0, 0, 0}));
}

TEST(ArbPresetinit, MakesAOneComponentServicedTree)
{
  TestWorld world;
  auto doc = makeTestDocument();
  arb_presetinit(doc.get(), kFamily21, 0);
  EXPECT_EQ(doc->tree.count, 1);
  EXPECT_EQ(doc->tree.funcs[0].family, kFamily21);
  EXPECT_EQ(doc->tree.funcs[0].funcID, 0);
  EXPECT_EQ(doc->tree.funcs[0].index, 0);
  EXPECT_EQ(doc->outputFunc, &doc->tree.funcs[0]);
  EXPECT_EQ(doc->tree.selected, 0);
  EXPECT_EQ(doc->treeChanged, 1);
}

TEST(ArbCopy, EveryPointerOfThePreparedCopyPointsIntoTheCopy)
{
  TreeWithSubtree t;
  KV_prepare_evaluation(t.doc.get(), true);
  arb_AllocAuxMemory(&t.doc->tree.funcs[1], 64);

  auto copy = std::make_unique<sfuncSystem>();
  ASSERT_TRUE(arb_Copy(t.doc.get(), copy.get()));
  EXPECT_EQ(copy->treeChanged, 1);
  EXPECT_NE(copy->embedded[0], nullptr);
  EXPECT_NE(copy->embedded[0], t.doc->embedded[0]);
  EXPECT_EQ(copy->tree.funcs[2].link, copy->embedded[0]);
  EXPECT_EQ(copy->embedded[0]->count, 2);
  expectEveryPointerInsideCopy(copy.get());

  rebindTestMembers(&copy->tree);
  rebindTestMembers(copy->embedded[0]);
  KV_prepare_evaluation(copy.get(), true);
  expectEveryPointerInsideCopy(copy.get());
  EXPECT_EQ(copy->tree.funcs[3].sources[1], &copy->tree.funcs[2]);

  std::free(t.doc->tree.funcs[1].auxMemory);
  t.doc->tree.funcs[1].auxMemory = nullptr;
  arb_Clear(copy.get(), true, true);
}

TEST(ArbCopy, CopyEvaluatesLikeTheOriginal)
{
  TreeWithSubtree t;
  auto copy = std::make_unique<sfuncSystem>();
  ASSERT_TRUE(arb_Copy(t.doc.get(), copy.get()));
  rebindTestMembers(&copy->tree);
  KV_prepare_evaluation(t.doc.get(), false);
  KV_prepare_evaluation(copy.get(), false);
  const double x[4] = {1, 2, 3, 4}, y[4] = {-1, 0.5, 2, 8};
  evaluateTestTree(t.doc.get(), x, y, 4);
  evaluateTestTree(copy.get(), x, y, 4);
  for (int s = 0; s < t.doc->tree.count; ++s)
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(copy->tree.funcs[s].outputs[0][i], t.doc->tree.funcs[s].outputs[0][i]);
  arb_Clear(copy.get(), true, true);
}

struct Visit
{
  std::vector<const gfunc*> order;
  static void record(smalltree*, gfunc* g, void* arg)
  {
    static_cast<Visit*>(arg)->order.push_back(g);
  }
};

TEST(ArbTraverse, DescendsDepthFirstRightAfterEachOwner)
{
  TestWorld world;
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  // main: A, S(127), B; S's sub-tree: C, T(127), D; T's sub-tree: E
  gfunc* a = addTestComponent(&t, TestMember::kAdd, 0);
  gfunc* s = addTestComponent(&t, TestMember::kSubtree21, 1, {0});
  gfunc* b = addTestComponent(&t, TestMember::kAdd, 2, {1});
  smalltree* subS = arb_NewSubTree();
  gfunc* c = addTestComponent(subS, TestMember::kAdd, 0);
  gfunc* tt = addTestComponent(subS, TestMember::kSubtree21, 1, {0});
  gfunc* d = addTestComponent(subS, TestMember::kAdd, 2, {1});
  smalltree* subT = arb_NewSubTree();
  gfunc* e = addTestComponent(subT, TestMember::kAdd, 0);
  s->link = subS;
  tt->link = subT;
  doc->embedded[0] = subS;
  doc->embedded[1] = subT;

  Visit all, subOnly, unlocked, st;
  arb_TraverseAll(&t, Visit::record, &all);
  arb_TraverseSubTreeOnly(&t, Visit::record, &subOnly);
  arb_TraverseST(&t, Visit::record, &st);
  s->lockFlags = kLockAll;
  arb_TraverseAllUnlocked(&t, Visit::record, &unlocked);
  EXPECT_EQ(all.order, (std::vector<const gfunc*>{a, s, c, tt, e, d, b}));
  EXPECT_EQ(subOnly.order, (std::vector<const gfunc*>{c, tt, d}));
  EXPECT_EQ(st.order, (std::vector<const gfunc*>{a, s, b}));
  EXPECT_EQ(unlocked.order, (std::vector<const gfunc*>{a, s, b}));
  arb_Clear(doc.get(), true, true);
  EXPECT_EQ(doc->embedded[0], nullptr);
}

TEST(ArbServiceChanges, OutputComponentIsTheFirstOfTheLastLevelRun)
{
  struct Case
  {
    std::vector<uint8_t> levels;
    int output;
  };
  const Case cases[] = {
      {{0, 1, 2, 2, 2}, 2}, {{0, 0, 0}, 0}, {{0, 1, 0}, 2}, {{0, 1, 1, 2}, 3}, {{0}, 0},
  };
  TestWorld world;
  for (const Case& c : cases) {
    auto doc = makeTestDocument();
    for (uint8_t level : c.levels)
      addTestComponent(&doc->tree, TestMember::kAdd, level);
    arb_ServiceChanges(doc.get(), false);
    EXPECT_EQ(doc->outputFunc, &doc->tree.funcs[c.output]) << c.levels.size();
    EXPECT_EQ(doc->tree.outputIndex, c.output);
  }
}

TEST(ArbServiceChanges, ResetsTheColourFunctionTo12WhenItDoesNotSuitTheOutput)
{
  struct Case
  {
    TestMember output;
    int16_t outputCode;  // -1 keeps the member's
    int16_t index;
    int16_t expected;
  };
  const Case cases[] = {
      {TestMember::kColor3, -1, 13, 12}, {TestMember::kColor3, -1, 11, 11},
      {TestMember::kFour, -1, 15, 12},   {TestMember::kFour, -1, 5, 5},
      {TestMember::kAdd, 3, 13, 12},     {TestMember::kAdd, 2, 11, 11},
      {TestMember::kAdd, -1, 14, 14},    {TestMember::kAdd, -1, 15, 12},
      {TestMember::kSplit, -1, 15, 12},  {TestMember::kSplit, -1, 13, 13},
  };
  TestWorld world;
  for (const Case& c : cases) {
    auto doc = makeTestDocument();
    gfunc* g = addTestComponent(&doc->tree, c.output, 0);
    if (c.outputCode >= 0)
      g->outputCode = c.outputCode;
    arb_setColorfunc(doc.get(), c.index, false);
    arb_ServiceChanges(doc.get(), false);
    EXPECT_EQ(doc->colorFuncIndex, c.expected) << c.index;
  }
}

TEST(ArbSetFuncID, RenumbersAndMovesSelectionsWithTheirComponents)
{
  TestWorld world;
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  for (int i = 0; i < 3; ++i)
    addTestComponent(&t, TestMember::kAdd, 0);
  t.funcs[0].index = 7;
  t.funcs[1].index = 9;
  t.funcs[2].index = 4;
  t.selection1 = 9;
  t.selection2 = 4;
  arb_SetFuncID(&t, true);
  EXPECT_EQ(t.funcs[2].index, 2);
  EXPECT_EQ(t.selection1, 1);
  EXPECT_EQ(t.selection2, 2);

  t.selection1 = 1;
  arb_ServiceChanges(doc.get(), false);
  EXPECT_EQ(t.selection1, 1);
}

TEST(ArbSearch, FindsByIndexAndByPlace)
{
  TestWorld world;
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  for (uint8_t level : {0, 0, 1})
    addTestComponent(&t, TestMember::kAdd, level);
  t.funcs[0].index = 5;
  t.funcs[1].index = 5;
  t.funcs[2].index = 8;
  t.funcs[0].displayIndex = 0;
  t.funcs[1].displayIndex = 1;
  t.funcs[2].displayIndex = 0;

  int16_t slot = -1;
  EXPECT_EQ(arb_findID(&t, 5, &slot), &t.funcs[1]);
  EXPECT_EQ(slot, 1);
  EXPECT_EQ(arb_findID(&t, 6, nullptr), nullptr);
  arb_selectbyID(&t, 8);
  EXPECT_EQ(t.selected, 2);
  arb_selectbyID(&t, 42);
  EXPECT_EQ(t.selected, 2);
  arb_selectbyID(&t, -1);
  EXPECT_EQ(t.selected, 2);

  EXPECT_EQ(findbyxy(&t, 3, 1, 0), 1);
  EXPECT_EQ(findbyxy(&t, 3, 0, 1), 2);
  EXPECT_EQ(findbyxy(&t, 3, 0, 0), 0);  // a match in slot 0
  EXPECT_EQ(findbyxy(&t, 3, 3, 3), 0);  // no match
  EXPECT_EQ(findbyxy(&t, 0, 1, 0), 0);
}

TEST(ArbBalancedisplayIndex, CentresEachLevelOnZero)
{
  TestWorld world;
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  for (uint8_t level : {0, 0, 0, 1})
    addTestComponent(&t, TestMember::kAdd, level);
  for (int i = 0; i < 3; ++i)
    t.funcs[i].displayIndex = int8_t(i);
  t.funcs[3].displayIndex = 0;
  arb_BalancedisplayIndex(&t);
  EXPECT_EQ(t.funcs[0].displayIndex, -2);
  EXPECT_EQ(t.funcs[1].displayIndex, 0);
  EXPECT_EQ(t.funcs[2].displayIndex, 2);
  EXPECT_EQ(t.funcs[3].displayIndex, 0);

  t.rootLevel = 1;
  arb_computelocations(&t, Rect{0, 0, 400, 200});
  // h = d * 21 + 100 - 18; v = level * 42 + 16 + max(8, 200 - 42 - 21)
  EXPECT_EQ(t.funcs[0].editorH, -42 + 82);
  EXPECT_EQ(t.funcs[0].editorV, 16 + 137);
  EXPECT_EQ(t.funcs[3].editorV, 42 + 16 + 137);
}

TEST(ArbRecomputeFlags, CountsInputComponentsAndCompiledTrees)
{
  TreeWithSubtree t;
  gfunc* picture = &t.doc->tree.funcs[0];
  setFunc(picture, kFamily21, 30, kBindDefaults);
  picture->auxIndex = 6;
  gfunc* inner = &t.doc->embedded[0]->funcs[0];
  setFunc(inner, kFamily24, 42, kBindDefaults);
  inner->auxIndex = 2;
  t.doc->inputs[5].inUse = 1;  // no reader any more

  arb_RecomputeFlags(t.doc.get(), false);
  EXPECT_EQ(t.doc->inputCount, 1);
  EXPECT_EQ(t.doc->compiledCount, 1);
  EXPECT_EQ(t.doc->inputs[6].inUse, 1);
  EXPECT_EQ(t.doc->inputs[5].inUse, 0);
  EXPECT_EQ(t.doc->inputs[2].inUse, 0);
  arb_RecomputeFlags(t.doc.get(), true);
  EXPECT_EQ(t.doc->inputCount, 2);
  EXPECT_EQ(t.doc->inputs[2].inUse, 1);

  picture->auxIndex = 300;  // out of range: counted, no slot marked
  arb_RecomputeFlags(t.doc.get(), false);
  EXPECT_EQ(t.doc->inputCount, 1);
}

TEST(ArbUndo, RestoresParametersMembersPaletteAndColourFunction)
{
  TreeWithSubtree t;
  auto record = std::make_unique<KVundoRecord>();
  smalltree& tree = t.doc->tree;
  tree.funcs[0].A = 3.5;
  t.doc->embedded[0]->funcs[1].A = -2;
  arb_setColorfunc(t.doc.get(), 4, false);
  arb_SavetoUndoCTree(t.doc.get(), record.get(), true);
  EXPECT_EQ(record->count, 6);
  const cpalette saved = t.doc->tables.gradientKeys;

  tree.funcs[0].A = 0;
  tree.funcs[1].lockFlags = 5;
  setFunc(&tree.funcs[1], kFamily21, 2 + 3, kBindDefaults);
  t.doc->embedded[0]->funcs[1].A = 9;
  t.doc->tables.gradientKeys.count = 1;
  arb_setColorfunc(t.doc.get(), 7, false);

  arb_RestorefromUndoCTree(t.doc.get(), record.get(), true);
  rebindTestMembers(&tree);
  EXPECT_EQ(record->readPos, 6);
  EXPECT_EQ(tree.funcs[0].A, 3.5);
  EXPECT_EQ(tree.funcs[1].funcID, 2);
  EXPECT_EQ(tree.funcs[1].lockFlags, 0);
  EXPECT_EQ(tree.funcs[1].B, 1.0);
  EXPECT_EQ(t.doc->embedded[0]->funcs[1].A, -2);
  EXPECT_TRUE(EqualPalette(&t.doc->tables.gradientKeys, &saved));
  EXPECT_EQ(t.doc->colorFuncIndex, 4);
}

TEST(ArbUndo, IgnoresEntriesBeyondTheRecord)
{
  TestWorld world;
  auto doc = makeTestDocument();
  addTestComponent(&doc->tree, TestMember::kAdd, 0);
  auto record = std::make_unique<KVundoRecord>();
  record->count = kUndoEntries;
  arb_TP_setundo(&doc->tree, &doc->tree.funcs[0], record.get());
  EXPECT_EQ(record->count, kUndoEntries);
  record->count = 0;
  record->readPos = 0;
  doc->tree.funcs[0].A = 1.25;
  arb_TP_getundo(&doc->tree, &doc->tree.funcs[0], record.get());
  EXPECT_EQ(doc->tree.funcs[0].A, 1.25);
  EXPECT_EQ(record->readPos, 1);
}

TEST(ArbCurParams, CopiesTriplesOfComponentsWithParameters)
{
  TestWorld world;
  auto doc = makeTestDocument();
  addTestComponent(&doc->tree, TestMember::kAdd, 0);
  addTestComponent(&doc->tree, TestMember::kMemory, 0);  // no parameter: skipped
  addTestComponent(&doc->tree, TestMember::kMul, 1, {0, 0});
  KVparamTriple triples[2] = {};
  KVparamCursor get{triples, 0, 0};
  arb_TraverseST(&doc->tree, arb_TP_getcurparams, &get);
  EXPECT_EQ(get.position, 2);
  EXPECT_EQ(triples[1].B, 1.0);

  triples[0].A = 7;
  triples[1].A = 8;
  KVparamCursor set{triples, 0, 1};
  arb_TraverseST(&doc->tree, arb_TP_setcurparams, &set);
  EXPECT_EQ(doc->tree.funcs[0].A, 7);
  EXPECT_EQ(doc->tree.funcs[2].A, 0.5);  // position 1 is beyond the count
  KVparamCursor count{nullptr, 0, 0};
  arb_TraverseST(&doc->tree, arb_TP_getcurparams, &count);
  EXPECT_EQ(count.position, 2);
}

TEST(ParamReset, RestoresEveryParameterButTheChosenOne)
{
  struct Case
  {
    int16_t which;
    KVparamTriple expected;
  };
  const Case cases[] = {
      {1, {9, 0.5, 9}},
      {0, {0.5, 9, 9}},
      {-1, {0.5, 0.5, 0.5}},
      {3, {9, 9, 9}},
  };
  TestWorld world;
  for (const Case& c : cases) {
    gfunc g{};
    bindTestMember(&g, TestMember::kScale);
    g.A = g.B = g.C = 9;
    ParamReset(&g, c.which);
    EXPECT_EQ(g.A, c.expected.A) << c.which;
    EXPECT_EQ(g.B, c.expected.B) << c.which;
    EXPECT_EQ(g.C, c.expected.C) << c.which;
    EXPECT_EQ(privateArea<TestPrivate>(&g).precomputed, 1);
  }
}

TEST(ArbAuxMemory, FreedForTheMembersThatOwnIt)
{
  gfunc f25{}, blurred{}, other{};
  f25.family = kFamily25;
  blurred.family = kFamily21;
  blurred.funcID = 34;
  other.family = kFamily21;
  for (gfunc* g : {&f25, &blurred, &other})
    arb_AllocAuxMemory(g, 32);
  for (gfunc* g : {&f25, &blurred, &other})
    arb_TP_deletegfuncauxmem(nullptr, g);
  EXPECT_EQ(f25.auxMemory, nullptr);
  EXPECT_EQ(blurred.auxMemory, nullptr);
  ASSERT_NE(other.auxMemory, nullptr);
  std::free(other.auxMemory);
}

}  // namespace
