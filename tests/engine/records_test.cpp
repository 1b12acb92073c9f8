// Paraminit, the world record's defaults, the label buffer and the batch
// length of each evaluating thread, and the table builders of a document.
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

#include "engine/protocol.h"
#include "engine/tables.h"
#include "engine/world.h"

namespace {

TEST(Paraminit, CountsLeadingPresentParameters)
{
  struct Case
  {
    double a, b, c;
    uint8_t count;
  };
  const Case cases[] = {
      {1, -1, -1, 1}, {-1, -1, -1, 0},        {1, 2, -1, 2},
      {1, 2, 3, 3},   {-1, -1, 3, 3},  // C present counts three, whatever A and B hold
      {-1, 2, -1, 2}, {0, -1.0000001, -1, 2},
  };
  for (const Case& c : cases) {
    auto g = std::make_unique<gfunc>();
    g->freqFlag = 1;
    g->paramCount = 9;
    EXPECT_EQ(Paraminit(g.get(), c.a, c.b, c.c), c.count) << c.a << " " << c.b << " " << c.c;
    EXPECT_EQ(g->paramCount, c.count);
    EXPECT_EQ(g->freqFlag, 0);
    EXPECT_EQ(g->A, c.a);
    EXPECT_EQ(g->B, c.b);
    EXPECT_EQ(g->C, c.c);
  }
}

TEST(WorldRecord, DefaultColoursAreTheTerrainTable)
{
  auto world = std::make_unique<KovrelinWorld>();
  KV_initWorldRecord(world.get());
  EXPECT_EQ(world->batchLength, 16);
  EXPECT_EQ(world->defaultColorCount, 48);
  for (const normalcolor& c : world->defaultColors)
    EXPECT_EQ(c.flag, 255);
  EXPECT_EQ(world->defaultColors[0], (normalcolor{255, 0, 0, 60}));
  EXPECT_EQ(world->defaultColors[5], (normalcolor{255, 250, 250, 140}));
  EXPECT_EQ(world->defaultColors[34], (normalcolor{255, 255, 255, 255}));
  EXPECT_EQ(world->defaultColors[47], (normalcolor{255, 200, 20, 255}));
}

TEST(WorldRecord, LabelIsCopiedWholeAndOnlyWhenAWorldExists)
{
  const unsigned char name[] = {6, ' ', 'A', 'x', '+', 'B', ' '};
  gKovrelinWorld = nullptr;
  KV_setLabel(name);  // no world yet: nothing to write into

  auto world = std::make_unique<KovrelinWorld>();
  gKovrelinWorld = world.get();
  KV_setLabel(name);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(world->label), 7),
            std::string(reinterpret_cast<const char*>(name), 7));
  gKovrelinWorld = nullptr;
}

TEST(BatchLength, IsPerThreadAndClamped)
{
  EXPECT_EQ(KV_batchLength(), 16);
  KV_setBatchLength(5);
  int other = -1;
  std::thread t([&] {
    other = KV_batchLength();
    KV_setBatchLength(40);
    other = other * 100 + KV_batchLength();
  });
  t.join();
  EXPECT_EQ(other, 1616);
  EXPECT_EQ(KV_batchLength(), 5);
  KV_setBatchLength(-3);
  EXPECT_EQ(KV_batchLength(), 0);
  KV_setBatchLength(16);
}

TEST(MemberKey, IdInHighHalfFamilyInLowHalf)
{
  EXPECT_EQ(KV_memberKey(9, 26), 0x001A0009u);
  EXPECT_EQ(KV_memberKey(1, 127), 0x007F0001u);
}

}  // namespace

namespace {

TEST(DocumentTables, BuildersWorkOnTheDocumentsOwnTables)
{
  auto a = std::make_unique<sfuncSystem>();
  auto b = std::make_unique<sfuncSystem>();
  SetRndTempTables(a.get(), 0);  // below 1: the standard seed
  SetRndTempTables(b.get(), 7778);
  EXPECT_EQ(a->fractal.tables, &a->tables);
  EXPECT_EQ(b->fractal.tables, &b->tables);
  EXPECT_EQ(std::memcmp(a->tables.perm, b->tables.perm, sizeof a->tables.perm), 0);

  // A changed permutation gives different derived tables once rebuilt.
  std::swap(b->tables.perm[0], b->tables.perm[1]);
  arb_compRndVecTable(b.get());
  EXPECT_NE(std::memcmp(a->tables.rndVec3D, b->tables.rndVec3D, sizeof a->tables.rndVec3D), 0);
}

}  // namespace
