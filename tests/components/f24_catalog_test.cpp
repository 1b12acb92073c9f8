// Family f24 as a whole: binding of every id (and of ids without a member),
// connector codes after message 6, names and labels byte for byte, the
// parameter maps of messages 4 and 5, the no-value row of each member, and
// properties every built member must have.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

#include "engine/catalog.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double M = gINFINITY;

const std::vector<int16_t> kBuiltIds = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
    20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39,
    40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 127};
const std::vector<int16_t> kXyzaIds = {0, 1, 2, 3, 9, 32, 40, 41, 57};

bool contains(const std::vector<int16_t>& ids, int16_t id)
{
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

TEST(F24Catalog, EveryIdBindsItsEntryWithItsConnectorCodes)
{
  KVmemberHarness h;
  for (int16_t id = 0; id <= 58; ++id) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily24, id);
    const KVcatalogMember m = KV_catalogMember(kFamily24, id);
    EXPECT_EQ(m.id, id);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(m.real, contains(kBuiltIds, id));
    // Vein network takes three inputs; the packed members but Alpha Min set one.
    const bool packed = id == 14 || id == 15 || id == 16 || id == 35 || id == 44 || id == 45;
    EXPECT_EQ(g->inputCode, id == 53 ? kConnThreeOut : packed ? kConnOne : kConnTwo);
    const int16_t out = contains(kXyzaIds, id) ? kConnFourValueFourth
                        : id == 58             ? kConnFourValueFirst
                                               : kConnFour;
    EXPECT_EQ(g->outputCode, out);
    EXPECT_FALSE(g->lockFlags & kLockB);
  }
  // Ids without a member draw the Mondrian.
  for (int16_t id : {int16_t(59), int16_t(70), int16_t(126), int16_t(200), int16_t(-5)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily24, id);
    EXPECT_EQ(g->compute, KV_catalogMember(kFamily24, 4).compute);
    EXPECT_EQ(g->handler, KV_catalogMember(kFamily24, 4).handler);
    EXPECT_EQ(h.displayName(), " Mondrian ");
  }
  gfunc* sub = h.bind(kFamily24, kCompiledTreeId);
  EXPECT_TRUE(KV_catalogMember(kFamily24, kCompiledTreeId).real);
  EXPECT_TRUE(sub->lockFlags & kLockB);
  EXPECT_EQ(sub->outputCode, kConnFour);
  EXPECT_EQ(KV_familyMemberCount(kFamily24), 60);
}

TEST(F24Catalog, NamesAndLabels)
{
  struct Row
  {
    int16_t id;
    double a;  // A before the labels are asked (the variant of 56 and 58)
    const char* name;
    const char* labels[3];
  };
  const Row rows[] = {
      {0, 1, " XYza Tiles", {"Scale ", "Frequency ", "Scale Y "}},
      {1, 1, " XYza Facet Space ", {"Scale ", "Phase ", "Frequency "}},
      {2, 1, " XYza Sparse Spot ", {"Scale ", "Sparseness ", "Frequency "}},
      {3, 1, " XYza Quantizer Spot ", {"Z Amp % ", "Mask shape ", "Frequency "}},
      {4, 1, " Mondrian ", {"Amplitude ", "Color Cycle ", "Frequency "}},
      {5, 1, " Orthogonal Maze", {"Amplitude ", "Color Cycle ", "Frequency "}},
      {6, 1, " City Blocks ", {"Amplitude ", "Color Cycle ", "Frequency "}},
      {7, 1, " Hexagonal Maze", {"Amplitude ", "Color Cycle ", "Frequency "}},
      {8, 1, " Light LED Array", {"Amplitude ", "Style ", "Frequency "}},
      {9, 1, " XYza Tiled Spot ", {"Scale ", "Mask shape ", "Frequency "}},
      {21, 5, " Color Polygon N ", {"Sides ", "Radius ", "Color Cycle "}},
      {22, 1, " Color Circle ", {"Amplitude ", "Radius ", "Color Cycle "}},
      {23, 1, " Color Line ", {"Rotation ", "Size ", "Color Cycle "}},
      {24, 1, " Color Neon Line ", {"Rotation ", "Size ", "Color Cycle "}},
      {28, 1, " Interlaced Grid ", {"Rotation ", "Color Cycle ", "Frequency "}},
      {32, 1, " XYza Polar Tile", {"Size ", "Tile # ", "Phase "}},
      {33, 3, " XYza Escher Disk ", {"Disk number ", "Curvature % ", "Rotation "}},
      {34, 1, " Appolonian Gasket", {"Size ", "Offset x ", "Offset y "}},
      {40, 1, " XYza tiled disks", {"Amplitude ", "Frequency ", "Scale Y "}},
      {41, 1, " XYza jitter disks", {"Scale ", "Jitter Amount ", "Frequency "}},
      {43, 1, " RGBa half plane ", {"Rotation ", "Offset ", "Color Cycle "}},
      {51, 1, " Gaussian Dot ", {"Amplitude ", "Radius ", "Color Cycle "}},
      {56, 0, " Tech Noise #", {" Square Grid Sharp # ", "Color Cycle ", "Frequency "}},
      {56, 27, " Tech Noise #", {" Ground marks soft # ", "Color Cycle ", "Frequency "}},
      {56, 28, " Tech Noise #", {"", "Color Cycle ", "Frequency "}},
      {56, -1, " Tech Noise #", {"", "Color Cycle ", "Frequency "}},
      {57, 1, " XYza Tek Pyramid ", {"Scale ", "Sparseness ", "Frequency "}},
      {58, 7, " City Maps # (xziy)", {" Alien City Soft#", "Amplitude ", "Frequency "}},
      {58, 0, " City Maps # (xziy)", {" City A Sharp #", "Amplitude ", "Frequency "}},
      {58, 10, " City Maps # (xziy)", {"", "Amplitude ", "Frequency "}},
      {127, 1, " Compiled tree", {"Blend ", "Recursion ", ""}},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.id) + " A " + std::to_string(row.a));
    gfunc* g = h.bind(kFamily24, row.id);
    g->A = row.a;
    EXPECT_EQ(h.displayName(), row.name);
    for (int p = 0; p < 3; ++p)
      EXPECT_EQ(h.send(int16_t(kMsgParamA + p)), row.labels[p]) << "label " << p;
  }
}

// Defaults, message 4 at 0 and 1, and message 5 of a value set at 0.3 (the
// truncated maps give the whole part back).
TEST(F24Catalog, DefaultsAndParameterMaps)
{
  struct Row
  {
    int16_t id;
    double defaults[3];
    double atZero[3];
    double atOne[3];
    double back[3];  // message 5 after message 4 at 0.3
  };
  const double t = 0.3;
  const Row rows[] = {
      {0, {1, 1, 1}, {0, 0, 0}, {4, 16, 2}, {t, t, t}},
      {1, {2, 0, 1}, {0, -32, 0}, {8, 32, 16}, {t, t, t}},
      {3, {1, 0.5, 0.5}, {0, 0, 0}, {1, 1, 32}, {t, t, t}},
      {4, {1, 0.5, 4}, {0, 0, 0}, {2, 1, 16}, {t, t, t}},
      {5, {1, 0.444, 2}, {0, 0, 0}, {2, 1, 16}, {t, t, t}},
      {8, {1, 0, 2}, {0, 0, 0}, {2, 1, 16}, {t, t, t}},
      {21, {5, 2, 0.5}, {2, 0, 0}, {22, 16, 1}, {t, t, t}},
      {22, {4, 2, 0.5}, {-8, 0, 0}, {8, 24, 1}, {t, t, t}},
      {23, {kPi / 2, 1, 0.5}, {-kPi, 0, 0}, {kPi, 32, 1}, {t, t, t}},
      {28, {0, 0.5, 1}, {-kPi, 0, 0}, {kPi, 1, 16}, {t, t, t}},
      {32, {1, 8, 4}, {0, 1, -32}, {4, 32, 32}, {t, 9.0 / 31, t}},          // B = trunc(10.3)
      {33, {3, 0.532, 0}, {3, 0, -2 * kPi}, {8, 1, 2 * kPi}, {0.2, t, t}},  // A = trunc(4.5)
      {34, {kPi, 0, 0}, {1, -16, -2}, {6.283185307179586, 16, 2}, {t, t, t}},
      {40, {1, 1, -1}, {0, 0, 0}, {4, 16, 2}, {t, t, t}},
      {43, {0, 0, 0.5}, {-kPi, -16, 0}, {kPi, 16, 1}, {t, t, t}},
      {51, {2, 4, 0.5}, {0, 0, 0}, {8, 24, 1}, {t, t, t}},
      {56, {2, 0.25, 4}, {0, 0, 0}, {27, 1, 64}, {8.0 / 27, t, t}},  // trunc(8.1)
      {58, {4, 1, 2}, {0, 0, 0}, {9, 4, 8}, {2.0 / 9, t, t}},        // trunc(2.7)
      {127, {1, 0, -1}, {0, 0, -7}, {1, 32, -7}, {t, 9.0 / 32, -7}},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    gfunc* g = h.bind(kFamily24, row.id);
    const double defaults[3] = {g->A, g->B, g->C};
    for (int p = 0; p < 3; ++p)
      EXPECT_NEAR(defaults[p], row.defaults[p], 1e-12) << "default " << p;
    const int count = g->paramCount;
    for (int end = 0; end < 2; ++end) {
      double a = end, b = end, c = end;
      h.send(kMsgFromNormalized, &a, &b, &c);
      const double values[3] = {g->A, g->B, g->C};
      const double* want = end == 0 ? row.atZero : row.atOne;
      for (int p = 0; p < count; ++p)
        EXPECT_NEAR(values[p], want[p], 1e-12) << "parameter " << p << " n " << end;
    }
    double a = t, b = t, c = t;
    h.send(kMsgFromNormalized, &a, &b, &c);
    a = b = c = -7;
    h.send(kMsgToNormalized, &a, &b, &c);
    const double back[3] = {a, b, c};
    for (int p = 0; p < 3; ++p)
      EXPECT_NEAR(back[p], row.back[p], 1e-12) << "parameter " << p;
  }
}

// The row a marked input 1 gives (input 2 is not tested: a marked y is a
// coordinate without a lattice cell for most members).
TEST(F24Catalog, NoValueRowsDifferByMember)
{
  struct Row
  {
    int16_t id;
    double row[4];
  };
  const double below[4] = {0, 0, 0, -2}, zero[4] = {0, 0, 0, 0}, marker[4] = {M, M, M, M};
  std::vector<Row> rows;
  for (int16_t id : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 28, 32, 33, 40, 41, 56, 57, 58})
    rows.push_back({id, {marker[0], marker[1], marker[2], marker[3]}});
  for (int16_t id : {21, 22, 23, 43})
    rows.push_back({id, {below[0], below[1], below[2], below[3]}});
  for (int16_t id : {24, 51})
    rows.push_back({id, {zero[0], zero[1], zero[2], zero[3]}});
  KVmemberHarness h;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    h.bind(kFamily24, r.id);
    h.prepare();
    for (int out = 0; out < 4; ++out) {
      EXPECT_EQ(h.at(M, 0.25, out), r.row[out]) << out;
    }
  }
}

// Every built member at its defaults: only the batch's samples written, a
// uniform y read from element 0, and no NaN for marked or huge inputs.
class F24BuiltMember : public ::testing::TestWithParam<int16_t>
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily24, GetParam());
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

TEST_P(F24BuiltMember, OneBatchEqualsSingleSamples)
{
  // Mondrian, City Blocks and the tech noise shade a sample by the one
  // before it in the batch.
  if (GetParam() == 4 || GetParam() == 6 || GetParam() == 56)
    GTEST_SKIP();
  const KVtestInput x = KVtestInput::samples(rampX());
  for (int out = 0; out < 4; ++out) {
    const KVbatch whole = h_.run(x, KVtestInput::fill(0.83), kBatchCapacity, out);
    for (int i = 0; i < kBatchCapacity; ++i)
      EXPECT_EQ(h_.at(x.data[i], 0.83, out), whole[i]) << out << " " << i;
  }
}

TEST_P(F24BuiltMember, WritesOnlyTheBatchAndReadsAUniformYFromItsFirstElement)
{
  for (int out = 0; out < 5; ++out)
    std::fill(std::begin(g_->outputs[out]), std::end(g_->outputs[out]), 777.0);
  h_.run(KVtestInput::samples(rampX()), KVtestInput::fill(0.5), 5);
  for (int out = 0; out < 5; ++out)
    for (int i = 5; i < kBatchCapacity; ++i)
      EXPECT_EQ(g_->outputs[out][i], 777) << out << " " << i;
  const KVtestInput x = KVtestInput::samples(rampX());
  for (int out = 0; out < 4; ++out) {
    const KVbatch perSample = h_.run(x, KVtestInput::fill(1.25), kBatchCapacity, out);
    const KVbatch uniform = h_.run(x, KVtestInput::uniform(1.25), kBatchCapacity, out);
    for (int i = 0; i < kBatchCapacity; ++i)
      EXPECT_EQ(perSample[i], uniform[i]) << out << " " << i;
  }
}

TEST_P(F24BuiltMember, NoNaNReachesAnOutput)
{
  const double values[] = {0, -0.0, 1e-300, -2.0, -3.5, 2.25, 1e200, -1e200, M, 3 * M};
  for (double x : values)
    for (double y : values)
      for (int out = 0; out < 4; ++out)
        EXPECT_FALSE(std::isnan(h_.at(x, y, out))) << "x " << x << " y " << y << " out " << out;
}

INSTANTIATE_TEST_SUITE_P(All, F24BuiltMember, ::testing::ValuesIn(kBuiltIds),
                         [](const ::testing::TestParamInfo<int16_t>& member) {
                           return "id" + std::to_string(member.param);
                         });

}  // namespace
