// Family f25 as a whole: binding of every id (ids without a member take the
// Mirror's entry), connector codes, names and labels byte for byte, defaults
// and the parameter maps of messages 4 and 5, and the compiled tree's empty
// name.
#include <algorithm>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "engine/catalog.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;

const std::vector<int16_t> kBuiltIds = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                        11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                        22, 23, 24, 25, 26, 27, 28, 29, 127};

TEST(F25Catalog, EveryIdBindsItsEntryWithTheFamilyConnectors)
{
  KVmemberHarness h;
  std::vector<int16_t> ids;
  for (int16_t id = 0; id <= 29; ++id)
    ids.push_back(id);
  ids.push_back(kCompiledTreeId);
  for (int16_t id : ids) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily25, id);
    const KVcatalogMember m = KV_catalogMember(kFamily25, id);
    EXPECT_EQ(m.id, id);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(m.real, std::count(kBuiltIds.begin(), kBuiltIds.end(), id) == 1);
    EXPECT_EQ(g->inputCode, kConnTwo);
    EXPECT_EQ(g->outputCode, kConnFive);
  }
  // Ids without a member take the Mirror's entry and the family's connectors.
  const KVcatalogMember mirror = KV_catalogMember(kFamily25, 8);
  for (int16_t id : {int16_t(30), int16_t(126), int16_t(-1)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily25, id);
    EXPECT_EQ(g->compute, mirror.compute);
    EXPECT_EQ(g->handler, mirror.handler);
    EXPECT_EQ(h.displayName(), " Mirror");
    EXPECT_EQ(g->inputCode, kConnTwo);
    EXPECT_EQ(g->outputCode, kConnFive);
  }
  EXPECT_EQ(KV_familyMemberCount(kFamily25), 31);
}

TEST(F25Catalog, NamesAndLabels)
{
  const KVnameRow rows[] = {
      {0, " Outer Disk Mirror ", 3, {"Inversion Radius ", "Offset x ", "Offset y "}},
      {1, " Disk Fractal Lab", 3, {"Algorithm # ", "Tile # ", "Parameter % "}},
      {2, " Moebius Inversions", 3, {"Real part ", "Imaginary part ", "Recursion "}},
      {4, " Disk Inversion Spiral", 3, {"Rotation ", "Scale ", "Recursion "}},
      {5, " Moebius Disk ", 3, {"Circle Size % ", "k rotate ", "k tiles # "}},
      {7, " Appolonian Tile", 3, {"Radius ", "Offset x ", "Offset y "}},
      {9, " Disk Inversion", 3, {"Inversion Radius ", "Offset x ", "Offset y "}},
      {13, " Inversion Ring", 3, {"Radius ", "Tile # ", "Offset y "}},
      {14, " Fractal Ring", 3, {"Radius ", "Tile # ", "Recursion "}},
      {15, " Soddy Inversions", 3, {"Radius ", "Offset x ", "Offset y "}},
      {16, " O Soddy Inversions", 3, {"Radius ", "Offset x ", "Offset y "}},
      {18, " Test Lab", 3, {"Radius ", "Offset x ", "Offset y "}},
      {21, " Random disk packing ", 3, {"Radius ", "Offset x ", "Offset y "}},
      {22, " Polar Spiral Band ", 3, {"Radial steps # ", "Radial phase ", "Phase "}},
      {23, " Kleinian Group Fractal ", 3, {"Scale ", "Tile rotation ", "Recursion "}},
      {24, " Moebius Balls ", 3, {"Ball Size % ", "k rotate ", "k scale "}},
      {127, "", 2, {"Scale ", "Iterations ", ""}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : rows)
    KV_expectNameAndLabels(h, kFamily25, row);
}

TEST(F25Catalog, DefaultsAndNormalisedRangeEnds)
{
  const KVrangeRow rows[] = {
      {0, {2, 0, 0}, {0, -8, -8}, {8, 8, 8}},
      {1, {0, 4, 0}, {0, 3, 0}, {25, 8, 1}},
      {2, {-0.021, -0.0285, 32}, {-0.5, -0.5, 0}, {0.5, 0.5, 128}},
      {4, {1.0471, 1.206, 16}, {-kPi, 0.25, 1}, {kPi, 2, 256}},
      {5, {0.98, 3.912, 12}, {0, 0, 3}, {1, 12, 48}},
      {7, {1, 0, 0}, {0, -4, -4}, {4, 4, 4}},
      {9, {1, 0, 0}, {0, -8, -8}, {8, 8, 8}},
      {13, {2, 4, 0}, {0.0625, 2, -8}, {12, 16, 8}},
      {14, {1, 4, 8}, {0.0625, 2, 0}, {12, 16, 64}},
      {15, {1, 0, 0}, {0, -4, -4}, {8, 4, 4}},
      {16, {1, 0, 0}, {0, -4, -4}, {8, 4, 4}},
      {18, {1, 0, 0}, {0, -2, -2}, {8, 2, 2}},
      {21, {1, 0, -0.5}, {0, -4, -4}, {8, 4, 4}},
      {22, {4, 1, 0}, {2, -8, -8}, {32, 8, 8}},
      {23, {1, 0, 2}, {0, -4, 0}, {1, 4, 64}},
      {24, {0.33, kPi / 9, 0.954}, {0, -kPi, 0.5}, {1, kPi, 2}},
      {127, {1, 0, -1}, {0, 0, 0}, {1, 64, 0}},
  };
  KVmemberHarness h;
  for (const KVrangeRow& row : rows)
    KV_expectDefaultsAndRangeEnds(h, kFamily25, row);
}

// Message 4 at n = 0.5, then message 5: whole-number maps come back at the
// start of their step, the others at 0.5.
TEST(F25Catalog, MessageFiveInvertsMessageFour)
{
  struct Row
  {
    int16_t id;
    double value[3];  // after message 4
    double back[3];   // message 5
  };
  const Row rows[] = {
      {1, {12, 5, 0.5}, {0.48, 0.4, 0.5}},     {4, {0, 1.125, 128}, {0.5, 0.5, 127.0 / 255}},
      {5, {0.5, 6, 25.5}, {0.5, 0.5, 0.5}},    {13, {6.03125, 9, 0}, {0.5, 0.5, 0.5}},
      {14, {6.03125, 9, 32}, {0.5, 0.5, 0.5}}, {23, {0.5, 0, 32}, {0.5, 0.5, 0.5}},
      {24, {0.5, 0, 1.25}, {0.5, 0.5, 0.5}},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    gfunc* g = h.bind(kFamily25, row.id);
    double a = 0.5, b = 0.5, c = 0.5;
    h.send(kMsgFromNormalized, &a, &b, &c);
    const double values[3] = {g->A, g->B, g->C};
    a = b = c = -7;
    h.send(kMsgToNormalized, &a, &b, &c);
    const double back[3] = {a, b, c};
    for (int p = 0; p < 3; ++p) {
      EXPECT_NEAR(values[p], row.value[p], 1e-12) << "parameter " << p;
      EXPECT_NEAR(back[p], row.back[p], 1e-12) << "parameter " << p;
    }
  }
}

TEST(F25Catalog, LabAlgorithmIsAChoiceAndTheCompiledTreeStopsAtMessageSeven)
{
  KVmemberHarness h;
  gfunc* lab = h.bind(kFamily25, 1);
  EXPECT_EQ(lab->rangeClass[0], kRangeChoice);

  gfunc* tree = h.bind(kFamily25, kCompiledTreeId);
  tree->B = 500;
  h.send(kMsgPrecompute);
  EXPECT_EQ(tree->B, 500);
  h.send(kMsgPrepare);
  EXPECT_EQ(tree->B, 64);
}

}  // namespace
