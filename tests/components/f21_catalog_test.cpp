// Family f21 as a whole: binding of every id, the handler messages that come
// from the member tables, and properties every built member must have
// (marker pass-through, uniform inputs, batch lengths, finite output).
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "components/common/member.h"
#include "components/f21/f21_arith.h"
#include "components/f21/f21_mathutils.h"
#include "components/f21/f21_recurtree.h"
#include "components/f21/f21_waves.h"
#include "engine/catalog.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

std::vector<int16_t> familyIds()
{
  std::vector<int16_t> ids;
  for (int16_t id = 0; id <= 63; ++id)
    ids.push_back(id);
  ids.push_back(kCompiledTreeId);
  return ids;
}

// The members checked here: every id but the picture members 30, 31 and 34,
// which need a picture (tests/components/f21_pictures_test.cpp).
const std::vector<int16_t> kGroupIds = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
    21, 22, 23, 24, 25, 26, 27, 28, 29, 32, 33, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44,
    45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 127};

TEST(F21Catalog, EveryIdBindsItsEntryAndUnknownIdsBindAffine)
{
  KVmemberHarness h;
  for (int16_t id : familyIds()) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily21, id);
    const KVcatalogMember m = KV_catalogMember(kFamily21, id);
    EXPECT_EQ(m.id, id);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(g->inputCode, kConnTwo);
    EXPECT_EQ(g->outputCode, kConnOne);
  }
  for (int16_t id : {int16_t(64), int16_t(100), int16_t(126), int16_t(-1), int16_t(128)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily21, id);
    EXPECT_EQ(g->compute, f21_affine);
    EXPECT_EQ(g->handler, f21_affine_handler);
    EXPECT_EQ(h.displayName(), " Ax+By+C");
  }

  gfunc* grid = h.bind(kFamily21, 4);
  EXPECT_EQ(grid->handler, f21_grid_handler);

  gfunc* sub = h.bind(kFamily21, kCompiledTreeId);
  EXPECT_EQ(sub->compute, f21_recurtree);
  EXPECT_TRUE(sub->lockFlags & 2);
}

TEST(F21Catalog, TheGroupsMembersAreBuilt)
{
  for (int16_t id : kGroupIds)
    EXPECT_TRUE(KV_catalogMember(kFamily21, id).real) << id;
}

// Labels and parameter counts as the handlers give them, byte for byte.
TEST(F21Catalog, LabelsAndParameterCounts)
{
  struct Row
  {
    int16_t id;
    int count;
    const char* labels[3];
  };
  const Row rows[] = {
      {0, 3, {"Scale X ", "Scale Y ", "Add    "}},
      {1, 2, {"Offset ", "Amplitude ", ""}},
      {2, 2, {"Offset x ", "Offset y ", ""}},
      {3, 3, {"Offset x ", "Offset y ", "Amplitude "}},
      {4, 3, {"Scale X ", "Scale Y ", "Amplitude "}},
      {5, 3, {"Amplitude ", "Phase X ", "Phase Y "}},
      {6, 2, {"Amplitude ", "Frequency ", ""}},
      {7, 1, {"Frequency ", "", ""}},
      {8, 1, {"Amplitude ", "", ""}},
      {9, 3, {"Frequency ", "Amplitude ", "Phase "}},
      {10, 1, {"Amplitude ", "", ""}},
      {11, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {12, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {13, 3, {"Frequency ", "Size ", "Power "}},
      {14, 3, {"Rotation ", "Phase X ", "Phase Y "}},
      {15, 3, {"Ripples ", "Phase ", "Scale "}},
      {16, 3, {"Frequency ", "Phase X ", "Phase Y "}},
      {17, 3, {"Amplitude ", "Min to Max ", "Smoothing "}},
      {18, 3, {"Amplitude ", "Cone size ", "Frequency "}},
      {19, 3, {"Amplitude ", "Bubble Size ", "Frequency "}},
      {20, 3, {"Frequency ", "Amplitude ", "Phase "}},
      {21, 3, {"Amplitude ", "Frequency ", "Phase "}},
      {22, 0, {"", "", ""}},
      {23, 3, {"Scale X ", "Scale Y ", "Amplitude "}},
      {24, 3, {"Frequency ", "Phase ", "Power "}},
      {25, 3, {"Amplitude ", "Level ", "Frequency "}},
      {26, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {27, 3, {"Amplitude ", "Thickness ", "Frequency "}},
      {28, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {29, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {32, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {33, 3, {"Rotation ", "Amplitude ", "Width "}},
      {35, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {36, 3, {"Amplitude ", "Phase ", "Scale "}},
      {37, 3, {"Amplitude ", "Phase ", "Scale "}},
      {38, 3, {"Amplitude ", " width ", " height "}},
      {39, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {40, 3, {"Amplitude ", "Phase ", "Scale "}},
      {41, 2, {"Amplitude ", "Size ", ""}},
      {42, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {43, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {44, 1, {"Interpolate ", "", ""}},
      {45, 0, {"", "", ""}},
      {46, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {47, 3, {"Amplitude ", "Smoothing ", "Frequency "}},
      {48, 3, {"Amplitude ", "Style ", "Frequency "}},
      {49, 3, {"Amplitude ", "Sparseness ", "Frequency "}},
      {50, 3, {"Amplitude ", "Erosion level ", "Frequency "}},
      {51, 3, {"Amplitude ", "Rotation ", "Offset "}},
      {52, 3, {"Amplitude ", "Octaves ", "Frequency "}},
      {53, 3, {"Amplitude ", "Octaves ", "Frequency "}},
      {54, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {55, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {56, 3, {"Amplitude ", "Roughness ", "Frequency "}},
      {57, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {58, 3, {"x weight ", "Offset y ", "Smoothing "}},
      {59, 3, {"Amplitude ", "Phase ", "Frequency "}},
      {60, 3, {"Amplitude ", "Displacement ", "Frequency "}},
      {61, 1, {" x-y #", "", ""}},
      {62, 3, {" Cone linear #", "Radius ", "Amplitude "}},
      {63, 3, {" City blocks Sharp #", "Amplitude ", "Frequency "}},
      {127, 2, {"Scale ", "Iterations ", ""}},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    gfunc* g = h.bind(kFamily21, row.id);
    EXPECT_EQ(g->paramCount, row.count);
    for (int p = 0; p < 3; ++p)
      EXPECT_EQ(h.send(int16_t(kMsgParamA + p), nullptr), row.labels[p]) << "parameter " << p;
  }
}

TEST(F21Catalog, NamesWithTrickyBytes)
{
  struct Row
  {
    int16_t id;
    std::string name;
  };
  const Row rows[] = {
      {6, " x + A Sin y "},                // trailing blank
      {18, " Random Cones "},              // trailing blank
      {58, " Max(x,x*A+y) "},              // trailing blank
      {17, " Min <-> Max"},    {127, ""},  // zero-length name
      {29, " Star Field "},                // trailing blanks
      {39, " Crystal noise "}, {48, " Maze "},   {57, " Stone Clusters "},
      {60, " Volcanoes "},     {22, " Min+Max"}, {63, " Tech Noise #"},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    h.bind(kFamily21, row.id);
    EXPECT_EQ(h.displayName(), row.name) << row.id;
  }
}

// The defaults of message 6 (-1 where a parameter is absent) and the values
// message 4 gives at the two ends of the normalised range, for every
// parameter the member has. A wrong constant in a map keeps message 5 its
// inverse, so only the values themselves catch it.
TEST(F21Catalog, DefaultsAndNormalisedRangeEnds)
{
  constexpr double kPi = std::numbers::pi;
  const KVrangeRow rows[] = {
      {0, {1, 1, 0}, {-8, -8, -8}, {8, 8, 8}},
      {1, {0, 0, -1}, {-2, -2}, {2, 2}},
      {2, {0, 0, -1}, {-kPi, -kPi}, {kPi, kPi}},
      {3, {0, 0, 1}, {-4, -4, -16}, {4, 4, 16}},
      {4, {4, 4, 4}, {0, 0, 0.5}, {16, 16, 8}},
      {5, {0, 0, 0}, {-4, -16, -16}, {16, 16, 16}},
      {6, {0.25, kPi, -1}, {0, -4}, {2, 4}},
      {7, {1, -1, -1}, {0.5}, {12}},
      {8, {1, -1, -1}, {0.125}, {4}},
      {9, {1, 3, 0}, {0.01, 0.5, -32}, {3, 6, 32}},
      {10, {1, -1, -1}, {0.5}, {2}},
      {11, {1, 0, 2}, {0, -32, 0}, {1.5, 32, 32}},
      {12, {1, 0, 2}, {-2, -32, 0}, {4, 32, 16}},
      {13, {kPi / 2, 1, 2}, {0.0625, 0, 0.25}, {2 * kPi, 1.5, 8}},
      {14, {1, 0, 0}, {-2, -2, -2}, {2, 2, 2}},
      {15, {1, 1, kPi}, {0, -32, 1}, {6, 32, 16}},
      {16, {1, 1, 1}, {0, -8, -8}, {8, 8, 8}},
      {17, {1, 1, 0}, {0.5, 0, 0}, {1.5, 1, 8}},
      {18, {2, 3, 1}, {-4, 1, 0}, {4, 6, 6}},
      {19, {2, 1, 2}, {-8, 0.125, 0}, {8, 1, 8}},
      {20, {kPi / 2, 1, 0}, {0.125, -2, -32}, {8, 2, 32}},
      {21, {1, 1, 0}, {-2, -2, -32}, {2, 2, 32}},
      {22, {-1, -1, -1}, {}, {}},
      {23, {1, 1, 0.5}, {-8, -8, 0.125}, {8, 8, 4}},
      {24, {1, 1, 4}, {0, -32, 1}, {2, 32, 10}},
      {25, {1, 0.5, 2}, {0, 0, 0}, {4, 2, 16}},
      {26, {2, 0.5, 2}, {0, -8, 0}, {8, 8, 32}},
      {27, {1, 0.5, 2}, {0.25, 0, 0.25}, {2, 2, 8}},
      {28, {1, 0, 1}, {0.25, -32, 0.125}, {2, 32, 4}},
      {29, {1, 0, 8}, {-2, -32, 0.0625}, {4, 32, 32}},
      {32, {1, 0, 1}, {0, -32, 0}, {4, 32, 4}},
      {33, {0, 1, 2}, {-kPi, 0, 0.1}, {kPi, 4, 8}},
      {35, {2, 0, 2}, {0, -32, 0}, {8, 32, 8}},
      {36, {4, 0, 1}, {0, -32, 0}, {8, 32, 4}},
      {37, {4, 0, 1}, {0, -32, 0}, {8, 32, 4}},
      {38, {4, 1, 1}, {1, 0.125, 0.125}, {8, 4, 4}},
      {39, {1, 0, 2}, {0, -32, 0}, {8, 32, 8}},
      {40, {4, 0, 1}, {0, -32, 0}, {8, 32, 4}},
      {41, {4, kPi, -1}, {0, 0.25}, {16, 2 * kPi}},
      {42, {1, 0, 2}, {0.125, -32, 0.125}, {4, 32, 8}},
      {43, {1, 0, 2}, {0, -32, 0}, {4, 32, 16}},
      {44, {0.5, -1, -1}, {0}, {1}},
      {45, {-1, -1, -1}, {}, {}},
      {46, {4, 0, 2}, {0, -32, 0}, {8, 32, 32}},
      {47, {1, 1, 2}, {0, 0, 0}, {16, 1, 16}},
      {48, {1, 0, 2}, {0, 0, 0}, {2, 1, 8}},
      {49, {1, 0.75, 2}, {0, 0, 0}, {8, 1, 32}},
      {50, {1, 0.5, 1}, {0, 0, 0}, {8, 1, 16}},
      {51, {0.5, -0.5, 2}, {-2, -kPi, -2 * kPi}, {2, kPi, 2 * kPi}},
      {52, {2, 16, 2}, {-4, 1, 0}, {4, 128, 32}},
      {53, {4, 4, 2}, {-12, 1, 0}, {12, 64, 32}},
      {54, {1, 0, 2}, {0, -32, 0}, {4, 32, 32}},
      {55, {1, 0, 2}, {0, -32, 0}, {4, 32, 32}},
      {56, {4, 0.5, 1}, {0, 0, 0}, {16, 1, 32}},
      {57, {1, 0, 4}, {0, -32, 0}, {16, 32, 32}},
      {58, {0.5, 0, 0.5}, {0, -kPi, 0}, {1, kPi, 8}},
      {59, {1, 0, 2}, {0, -32, 0}, {4, 32, 32}},
      {60, {4, 0.5, 2}, {-16, 0, 0}, {16, 1, 16}},
      {61, {0.5, -1, -1}, {0}, {24}},
      {62, {1, kPi, 8}, {0, 0, 0}, {30, 32, 64}},
      {63, {0, 4, 2}, {0, 0, 0}, {37, 16, 32}},
      {127, {1, 0, -1}, {0, 0}, {1, 32}},
  };
  KVmemberHarness h;
  for (const KVrangeRow& row : rows)
    KV_expectDefaultsAndRangeEnds(h, kFamily21, row);
}

// Message 6 sets the frequency flag of the fractal members (the random tree
// builder picks them less often and gives them a low Frequency), and the
// range class "choice" on A of the members whose A picks a variant.
TEST(F21Catalog, FrequencyFlagAndChoiceRangeClass)
{
  const std::vector<int16_t> fractal = {12, 28, 39, 43, 47, 49, 50, 52, 54, 55, 56, 57, 59, 60};
  const std::vector<int16_t> choice = {61, 62};
  KVmemberHarness h;
  for (int16_t id : kGroupIds) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily21, id);
    const bool isFractal = std::find(fractal.begin(), fractal.end(), id) != fractal.end();
    const bool isChoice = std::find(choice.begin(), choice.end(), id) != choice.end();
    EXPECT_EQ(g->freqFlag, isFractal ? 1 : 0);
    EXPECT_EQ(g->rangeClass[0] == kRangeChoice, isChoice);
  }
}

// Message 4 then message 5 gives the normalised values back (for whole-number
// parameters: values that message 4 maps to the same parameter), and every
// default of a parameter the member has lies in the normalised range.
TEST(F21Catalog, NormalisedValuesRoundTrip)
{
  KVmemberHarness h;
  for (int16_t id : familyIds()) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily21, id);
    const int count = g->paramCount;

    double na = -1, nb = -1, nc = -1;
    h.send(kMsgToNormalized, &na, &nb, &nc);
    const double atDefaults[3] = {na, nb, nc};
    for (int p = 0; p < count; ++p) {
      EXPECT_GE(atDefaults[p], -1e-12) << "default of parameter " << p;
      EXPECT_LE(atDefaults[p], 1 + 1e-12) << "default of parameter " << p;
    }

    for (double n : {0.0, 0.137, 0.5, 0.91, 1.0}) {
      double a = n, b = n, c = n;
      h.send(kMsgFromNormalized, &a, &b, &c);
      const double values[3] = {g->A, g->B, g->C};
      h.send(kMsgToNormalized, &a, &b, &c);
      const double back[3] = {a, b, c};
      for (int p = 0; p < count; ++p) {
        // A whole-number parameter comes back at the start of its step.
        const KVparamDesc& desc = KV_memberDesc(kFamily21, id)->params[p];
        const double tolerance = desc.truncate ? 1 / desc.k : 1e-12;
        EXPECT_NEAR(back[p], n, tolerance) << "parameter " << p << " n " << n;
      }
      h.send(kMsgFromNormalized, &a, &b, &c);
      const double again[3] = {g->A, g->B, g->C};
      for (int p = 0; p < count; ++p)
        EXPECT_NEAR(again[p], values[p], 1e-9 * (1 + std::fabs(values[p])))
            << "parameter " << p << " n " << n;
    }
  }
}

// Every member of these groups at its defaults, sample by sample against a whole
// batch, with markers and a uniform y.
class F21BuiltMember : public ::testing::TestWithParam<int16_t>
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily21, GetParam());
    h_.prepare();
  }
  KVmemberHarness h_;
  gfunc* g_ = nullptr;
};

KVbatch rampX()
{
  KVbatch x;
  for (int i = 0; i < kBatchCapacity; ++i)
    x[i] = -2.9 + 0.37 * i;
  return x;
}

TEST_P(F21BuiltMember, IsFiniteOverThePlaneAtItsDefaults)
{
  KVgridView view;
  view.width = 37;  // two full batches and a short one per row
  view.height = 23;
  for (double v : h_.grid(view))
    ASSERT_TRUE(std::isfinite(v)) << v;
}

TEST_P(F21BuiltMember, OneBatchEqualsSingleSamples)
{
  const KVtestInput x = KVtestInput::samples(rampX());
  const KVtestInput y = KVtestInput::fill(0.83);
  const KVbatch whole = h_.run(x, y);
  for (int i = 0; i < kBatchCapacity; ++i)
    EXPECT_EQ(h_.at(x.data[i], 0.83), whole[i]) << "sample " << i;
}

TEST_P(F21BuiltMember, WritesOnlyTheSamplesOfTheBatch)
{
  for (double& v : g_->outputs[0])
    v = 777;
  const KVbatch out = h_.run(KVtestInput::samples(rampX()), KVtestInput::fill(0.5), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_NE(out[i], 777) << i;
  for (int i = 5; i < kBatchCapacity; ++i)
    EXPECT_EQ(out[i], 777) << i;
}

TEST_P(F21BuiltMember, UniformYReadsOnlyItsFirstElement)
{
  const KVtestInput x = KVtestInput::samples(rampX());
  const KVbatch perSample = h_.run(x, KVtestInput::fill(1.25));
  const KVbatch uniform = h_.run(x, KVtestInput::uniform(1.25));
  EXPECT_EQ(perSample, uniform);
}

// Min <-> Max keeps the other input where one is masked, and the sub-tree
// member without a sub-tree passes x through; every other member masks.
TEST_P(F21BuiltMember, MarkerPassesThrough)
{
  const int16_t id = GetParam();
  const double x = 1.5, y = -0.75;
  const KVbatch xMasked =
      h_.run(KVtestInput::samples({gINFINITY, x, 2 * gINFINITY}), KVtestInput::fill(y), 3);
  const KVbatch yMasked =
      h_.run(KVtestInput::fill(x), KVtestInput::samples({gINFINITY, y, 2 * gINFINITY}), 3);
  const double a = g_->A;
  EXPECT_EQ(xMasked[0], id == 17 ? y * a : gINFINITY);
  EXPECT_EQ(xMasked[2], id == 17 ? y * a : (id == 127 ? 2 * gINFINITY : gINFINITY));
  EXPECT_LT(xMasked[1], gINFINITY);
  if (id == 17)
    EXPECT_EQ(yMasked[0], x * a);
  else if (id == 127)
    EXPECT_EQ(yMasked[0], x);
  else
    EXPECT_EQ(yMasked[0], gINFINITY);
  EXPECT_LT(yMasked[1], gINFINITY);
}

INSTANTIATE_TEST_SUITE_P(All, F21BuiltMember, ::testing::ValuesIn(kGroupIds),
                         [](const ::testing::TestParamInfo<int16_t>& member) {
                           return "id" + std::to_string(member.param);
                         });

}  // namespace
