// Randomisation: the draw order of ParamRandomize under a fixed seed,
// reproducible tree randomisation, the member rules, the colour function and
// palette choice, and the repair of connections after a change of family.
#include "engine/randomize.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/palettes.h"
#include "engine/treemanage.h"
#include "engine/treesection.h"
#include "testfamily.h"

namespace {

double nextUnit()
{
  return double(random()) / 2147483647.0;
}

// A world with the built-in palette library.
struct RandomWorld
{
  TestWorld world;
  std::unique_ptr<cpalettelib> lib = std::make_unique<cpalettelib>();
  RandomWorld()
  {
    init_cpalettelib(lib.get());
    world.get()->paletteLib = lib.get();
  }
};

TEST(ParamRandomize, DrawsOnlyForMovingParametersInTheOrderABC)
{
  struct Case
  {
    const char* what;
    TestMember member;
    uint16_t locks;
    bool frequency;  // the member keeps its frequency flag
    double amount;
    bool moves[3];
  };
  const Case cases[] = {
      {"all move, C a frequency", TestMember::kScale, 0, true, 0.5, {true, true, true}},
      {"C plain", TestMember::kScale, 0, false, 0.5, {true, true, true}},
      {"B locked", TestMember::kScale, kLockB, true, 1.0, {true, false, true}},
      {"A and C locked", TestMember::kScale, kLockA | kLockC, true, 0.25, {false, true, false}},
      {"all locked", TestMember::kScale, kLockAll, true, 1.0, {false, false, false}},
      {"amount 0", TestMember::kScale, 0, true, 0.0, {true, true, true}},
      {"two parameters", TestMember::kMul, 0, false, 0.75, {true, true, false}},
  };
  TestWorld world;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gfunc g{};
    bindTestMember(&g, c.member);
    if (!c.frequency)
      g.freqFlag = 0;
    g.lockFlags = c.locks;
    const double start[3] = {g.A, g.B, g.C};

    srandom(4242);
    double expected[3] = {start[0], start[1], start[2]};
    for (int i = 0; i < 3; ++i) {
      if (!c.moves[i] || i >= g.paramCount)
        continue;
      const double r = nextUnit();
      const double target = i == 2 && c.frequency ? r * 0.24 + 0.01 : r * 0.8 + 0.1;
      expected[i] = start[i] + (target - start[i]) * c.amount;
    }
    const long after = random();

    srandom(4242);
    ParamRandomize(&g, c.amount);
    EXPECT_EQ(g.A, expected[0]);
    EXPECT_EQ(g.B, expected[1]);
    EXPECT_EQ(g.C, expected[2]);
    EXPECT_EQ(random(), after);  // no further draw
  }
}

// 0 add, 1 mul(0, 0), 2 split(1, 0), 3 scale(2)
std::unique_ptr<sfuncSystem> makeRandomTree()
{
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  addTestComponent(&t, TestMember::kAdd, 0);
  addTestComponent(&t, TestMember::kMul, 1, {0, 0});
  addTestComponent(&t, TestMember::kSplit, 2, {1, 0});
  addTestComponent(&t, TestMember::kScale, 3, {2});
  arb_ServiceChanges(doc.get(), false);
  return doc;
}

TEST(ArbRandomize, IsReproducibleUnderAFixedSeed)
{
  RandomWorld rw;
  auto first = makeRandomTree();
  auto second = makeRandomTree();
  std::vector<unsigned char> a(kComponentSectionSize), b(kComponentSectionSize);
  for (unsigned seed : {1u, 77u, 31337u}) {
    srandom(seed);
    arb_Randomize(first.get(), true);
    srandom(seed);
    arb_Randomize(second.get(), true);
    arb_2_farb(&first->tree, a.data(), 0);
    arb_2_farb(&second->tree, b.data(), 0);
    EXPECT_EQ(a, b) << seed;
    EXPECT_EQ(first->colorFuncIndex, second->colorFuncIndex);
    EXPECT_EQ(first->paletteNumber, second->paletteNumber);
    EXPECT_TRUE(EqualPalette(&first->tables.gradientKeys, &second->tables.gradientKeys));
    EXPECT_EQ(first->treeChanged, 1);
    EXPECT_EQ(first->paramsChanged, 1);
  }
}

TEST(ArbRandomizeFunction, NeverChangesLockedStartersOrCompiledTrees)
{
  RandomWorld rw;
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  gfunc* locked = addTestComponent(&t, TestMember::kAdd, 0);
  locked->lockFlags = kLockAll;
  gfunc* starter = addTestComponent(&t, TestMember::kIterate, 1, {0});
  gfunc* owner = addTestComponent(&t, TestMember::kSubtree21, 2, {1});
  gfunc* free = addTestComponent(&t, TestMember::kMul, 3, {2, 2});
  bool freeChanged = false;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    srandom(seed);
    KVrandomizeState state{1.0, 0, 0};
    arb_TraverseST(&t, arb_TP_randomizefunction, &state);
    EXPECT_EQ(locked->funcID, 1);
    EXPECT_EQ(starter->funcID, 28);
    EXPECT_EQ(owner->funcID, kCompiledTreeId);
    freeChanged |= free->funcID != 2;
  }
  EXPECT_TRUE(freeChanged);
  KVrandomizeState none{0.0, 0, 0};
  const int16_t before = free->funcID;
  arb_TP_randomizefunction(&t, free, &none);
  EXPECT_EQ(free->funcID, before);
  EXPECT_EQ(none.changed, 0);
}

TEST(CanHave, KeepsLoopsAndPackedConnectionsValid)
{
  TestWorld world;
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  gfunc* g = addTestComponent(&t, TestMember::kAdd, 0);
  gfunc* son = addTestComponent(&t, TestMember::kUnpack, 1, {0});
  struct Case
  {
    int family, id;
    bool loop, permissive, allowed;
  };
  const Case cases[] = {
      {kFamily11, 29, false, true, false},  // memory, no loop
      {kFamily11, 29, true, true, true},    // memory, loop, permissive
      {kFamily11, 29, true, false, false},  {kFamily33, 9, false, false, false},  // packed consumer
      {kFamily33, 9, false, true, true},    {kFamily33, 25, false, false, false},  // slice member
      {kFamily31, 27, false, false, true},  // packing: the first son reads packs
      {kFamily43, 26, true, true, false},   // loop starter
      {kFamily21, 127, false, true, false}, {kFamily21, 5, false, false, true},
  };
  for (const Case& c : cases) {
    t.loopFlag = c.loop;
    EXPECT_EQ(CanHave(&t, g, c.family, c.id, c.permissive), c.allowed) << c.family << " " << c.id;
  }
  setFunc(son, kFamily33, 1, kBindOnly);  // no longer a packed consumer
  EXPECT_FALSE(CanHave(&t, g, kFamily31, 27, true));
  EXPECT_EQ(CanMutate(&t, kFamily23, 44), 0);
  EXPECT_EQ(CanMutate(&t, kFamily23, 43), 1);
}

TEST(ArbRandomizeColorFunctionAndPalette, ThreeOutputsForceColourFunction12)
{
  RandomWorld rw;
  auto doc = makeTestDocument();
  addTestComponent(&doc->tree, TestMember::kAdd, 0);
  addTestComponent(&doc->tree, TestMember::kColor3, 1, {0, 0});
  arb_setColorfunc(doc.get(), 3, false);
  const cpalette before = doc->tables.gradientKeys;
  for (unsigned seed = 1; seed < 20; ++seed) {
    srandom(seed);
    arb_RandomizeColorFunctionAndPalette(doc.get(), 1.0, 1.0);
    EXPECT_EQ(doc->colorFuncIndex, 12);
  }
  EXPECT_EQ(doc->outputFunc, &doc->tree.funcs[1]);
  EXPECT_TRUE(EqualPalette(&doc->tables.gradientKeys, &before));
}

TEST(ArbRandomizeColorFunctionAndPalette, EmptyLibraryStopsAfter43Draws)
{
  RandomWorld rw;
  for (cpalette& p : rw.lib->palettes)
    p.count = 0;
  rw.lib->palettes[0].count = 5;  // never drawn: numbers start at 1
  auto doc = makeTestDocument();
  addTestComponent(&doc->tree, TestMember::kAdd, 0);
  int checked = 0;
  for (unsigned seed = 1; checked < 3 && seed < 100; ++seed) {
    srandom(seed);
    if (!(0.5 >= nextUnit()))
      continue;  // the palette chance (mean of 0 and 1) was not met
    int last = 0;
    for (int draw = 0; draw < 43; ++draw)
      last = std::min(int(63 * nextUnit() + 1), 63);
    srandom(seed);
    arb_RandomizeColorFunctionAndPalette(doc.get(), 0.0, 1.0);
    EXPECT_EQ(doc->paletteNumber, last) << seed;
    ++checked;
  }
  EXPECT_EQ(checked, 3);
}

TEST(ArbRandomizeColorFunctionAndPalette, DrawsAPaletteOfTheLibrary)
{
  RandomWorld rw;
  auto doc = makeTestDocument();
  addTestComponent(&doc->tree, TestMember::kAdd, 0);
  for (unsigned seed = 1; seed < 60; ++seed) {
    srandom(seed);
    arb_RandomizeColorFunctionAndPalette(doc.get(), 1.0, 0.0);
    EXPECT_GE(doc->paletteNumber, 0);
    EXPECT_LE(doc->paletteNumber, 63);
    EXPECT_LE(doc->tables.gradientKeys.count, 63);
    EXPECT_LE(doc->colorFuncIndex, 12);
  }
}

TEST(ArbChangeTileType, RepairsTheConnectionsOfTheComponentAndItsReaders)
{
  TestWorld world;
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  addTestComponent(&t, TestMember::kAdd, 0);                       // 0
  addTestComponent(&t, TestMember::kColor3, 1, {0, 0});            // 1: three outputs
  gfunc* g = addTestComponent(&t, TestMember::kSplit, 2, {1, 1});  // 2: f22
  g->inlets[1].source = 3;
  gfunc* reader = addTestComponent(&t, TestMember::kMul, 3, {2, 2});
  reader->inlets[1].source = 2;

  arb_ChangeTileType(&t, g, kFamily33, 4);  // two inputs to three
  EXPECT_EQ(g->family, kFamily33);
  EXPECT_EQ(g->funcID, 4);
  EXPECT_EQ(g->sources[2], &t.funcs[1]);
  EXPECT_EQ(g->inlets[2].source, 3);
  EXPECT_EQ(reader->inlets[1].source, 2);

  arb_ChangeTileType(&t, g, kFamily31, 0);  // to one output: readers of output 2 read 1
  EXPECT_EQ(reader->inlets[1].source, 1);
  EXPECT_EQ(reader->inlets[0].source, 1);

  g->inlets[0].channels = 3;
  arb_ChangeTileType(&t, g, kFamily23, 20);  // a packed first input picks member 6
  EXPECT_EQ(g->funcID, 6);
  arb_ChangeTileType(&t, g, kFamily41, 5);
  EXPECT_EQ(g->funcID, 1);
}

TEST(ArbFindSons, ListsAtMostSixReadersInSlotOrder)
{
  TestWorld world;
  auto doc = makeTestDocument();
  smalltree& t = doc->tree;
  addTestComponent(&t, TestMember::kAdd, 0);
  for (int i = 0; i < 8; ++i)
    addTestComponent(&t, TestMember::kScale, 1, {0});
  gfunc* sons[kMaxSons];
  ASSERT_EQ(arb_findSons(&t, &t.funcs[0], sons), 6);
  EXPECT_EQ(sons[0], &t.funcs[1]);
  EXPECT_EQ(sons[5], &t.funcs[6]);
  EXPECT_EQ(arb_findSons(&t, &t.funcs[8], sons), 0);
}

}  // namespace
