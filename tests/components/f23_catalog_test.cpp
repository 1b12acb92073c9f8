// Family f23 as a whole: binding of every id, connector codes after message
// 6, the handler messages that come from the member tables, and properties
// every built member must have (marker tests, batch lengths, uniform inputs,
// no NaN on any output).
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The built members of f23 (the Looper, 44, included).
const std::vector<int16_t> kBuiltIds = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                        17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31,
                                        32, 33, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 127};

bool isBuilt(int16_t id)
{
  return std::find(kBuiltIds.begin(), kBuiltIds.end(), id) != kBuiltIds.end();
}

// The picture members, built too; they need a picture, so f23_pictures_test
// checks them instead of the generic checks below.
bool isPictureMember(int16_t id)
{
  return id == 0 || id == 1 || id == 34;
}

TEST(F23Catalog, EveryIdBindsItsEntryWithItsConnectorCodes)
{
  KVmemberHarness h;
  for (int16_t id = 0; id <= 45; ++id) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily23, id);
    const KVcatalogMember m = KV_catalogMember(kFamily23, id);
    EXPECT_EQ(m.id, id);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(m.real, isBuilt(id) || isPictureMember(id));
    const bool packed = id == 6 || id == 15 || id == 16 || id == 35 || id == 39;
    const bool thirdUniform = id == 10 || id == 44;
    EXPECT_EQ(g->inputCode, packed ? kConnOne : kConnTwo);
    EXPECT_EQ(g->outputCode, thirdUniform ? kConnThreeUniformThird : kConnThreeOut);
  }
  for (int16_t id : {int16_t(46), int16_t(100), int16_t(-1), int16_t(128)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily23, id);
    EXPECT_EQ(g->compute, KV_catalogMember(kFamily23, 0).compute);
    EXPECT_EQ(h.displayName(), " RGB Pict/Movie");
  }
  gfunc* sub = h.bind(kFamily23, kCompiledTreeId);
  EXPECT_TRUE(KV_catalogMember(kFamily23, kCompiledTreeId).real);
  EXPECT_TRUE(sub->lockFlags & kLockB);
  EXPECT_EQ(KV_familyMemberCount(kFamily23), 47);
}

// Display names, labels and parameter counts, byte for byte.
TEST(F23Catalog, NamesLabelsAndParameterCounts)
{
  const KVnameRow rows[] = {
      {2, " RGB plain color", 3, {"Red ", "Green ", "Blue "}},
      {3, " RGB color gradient", 3, {"Angle red ", "Angle green ", "Angle blue "}},
      {4, " RGB color shade", 3, {"Hue Rotate ", "Saturation ", "Luminance Pan x<->y "}},
      {5, " RGB main gradient", 2, {"Scale x ", "Scale y ", ""}},
      {6, " Packed RGB Crossfade", 1, {" Interpolate ", "", ""}},
      {7, " Packed Depth sort ", 0, {"", "", ""}},
      {9, " 3D Axonometric", 2, {"Scale X ", "Scale Y ", ""}},
      {10, " 3D z set", 1, {"Z value ", "", ""}},
      {11, " 3D sphere", 3, {"Offset x ", "Offset y ", "Offset z "}},
      {12, " 3D plane ", 3, {"Banking X ", "Plane Offset ", "Z slope "}},
      {13, " 3D tube", 3, {"Offset x ", "Offset y ", "Radius "}},
      {14, " 3D cube", 3, {"Angle xy ", "Angle zx ", "Offset z "}},
      {15, " Packed RGB Multiply ", 2, {"A amount ", "B offset ", ""}},
      {16, " Packed RGB Add", 2, {"Level in1 ", "Level in2 ", ""}},
      {17, " 3D room", 3, {"Offset z ", "Angle zx ", "Room size "}},
      {22, " Spherical", 3, {"Radius ", "Offset x ", "Offset y "}},
      {23, " 3D parametric cube", 3, {"Angle xy ", "Angle zx ", "Offset z "}},
      {24, " 3D parametric room", 3, {"Angle zy ", "Angle zx ", "Room size "}},
      {25, " 3D parametric face", 3, {"Angle xy ", "Angle zx ", "Offset z "}},
      {26,
       " Shaded main gradient",
       3,
       {"Gradient Scale X ", "Luminance Scale Y ", "Gradient Offset "}},
      {31, " Shaded plain color", 3, {"Red ", "Green ", "Blue "}},
      {32, " 3D ellipsoid", 3, {"Radius ", "Vertical skew ", "Offset z "}},
      {33, " 3D box", 3, {"Size y ", "Size zx ", "Offset z "}},
      {35, " Packed RGB Max", 2, {"Level in1 ", "Level in2 ", ""}},
      {42, " Indexed gradient", 3, {"Gradient Scale X ", "Luminance Scale Y ", "Gradient Index "}},
      {43, " Bezier main gradient", 3, {"Input range ", "Offset ", "Output range "}},
      {45, " Y indexed gradient", 2, {"Scale ", "Gradient Index mod % ", ""}},
      {8, " RGB Random Fractal", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {18, " RGB concentric hues ", 3, {"Hue Rotation ", "Saturation ", "Frequency "}},
      {19, " RGB linear hues", 3, {"Hue Rotation ", "Saturation ", "Frequency "}},
      {20, " RGB radial hues", 2, {"Hue Rotation ", "Saturation ", ""}},
      {21, " RGB soft random hues", 3, {"Hue Rotation ", "Saturation ", "Frequency "}},
      {27, " Color Bubbles", 3, {"Saturation ", "Shade ", "Frequency "}},
      {28, " Color Pyramids", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {29, " String noise", 3, {"Thickness ", "Hues ", "Frequency "}},
      {30, " Techno boxes", 3, {"Amplitude ", "Skew ", "Frequency "}},
      {36, " RGB Multi Perlin random", 3, {"Amplitude ", "Octaves ", "Frequency "}},
      {37, " RGB MultiFractal", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {38, " Lunar rocks", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {39, " Max to gradient", 2, {"Amplitude X ", "Amplitude Y ", ""}},
      {40, " RGB grass", 3, {"Amplitude ", "Skew angle ", "Frequency "}},
      {41, " RGB foliage", 3, {"Contrast ", "Hues Offset ", "Frequency "}},
      {127, "", 2, {"Scale ", "Iterations ", ""}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : rows)
    KV_expectNameAndLabels(h, kFamily23, row);
}

// The defaults of message 6 and the values message 4 gives at the two ends
// of the normalised range; message 5 after message 4 gives n back (at the
// start of its step for the whole-number parameters).
TEST(F23Catalog, DefaultsRangeEndsAndInverse)
{
  const double t = 2 * kPi;
  const KVrangeRow rows[] = {
      {2, {0, 2, 6}, {0, 0, 0}, {8, 8, 8}},
      {3, {0, 0, 0}, {-kPi, -kPi, -kPi}, {kPi, kPi, kPi}},
      {4, {kPi, 0.5, 0.75}, {0, 0, 0}, {t, 1, 1}},
      {5, {1, 0, -1}, {0, 0}, {2, 2}},
      {6, {0.5, -1, -1}, {0}, {1}},
      {7, {-1, -1, -1}, {}, {}},
      {9, {1, 1, -1}, {0, 0}, {2, 2}},
      {10, {1, -1, -1}, {-16}, {16}},
      {11, {0, 0, 0}, {-16, -16, -32}, {16, 16, 32}},
      {12, {0, -2, 0}, {-kPi / 2, -16, -kPi}, {kPi / 2, 16, kPi}},
      {13, {0, 0, t}, {-16, -16, 0.125}, {16, 16, 24}},
      {14, {0, 0, 0}, {-t, -t, -32}, {t, t, 32}},
      {15, {0.5, 0.5, -1}, {0, 0}, {1, 1}},
      {16, {1, 1, -1}, {0, 0}, {2, 2}},
      {17, {4, 0, 4}, {-16, -t, 0}, {16, t, 16}},
      {22, {kPi, 0, 0}, {0, -kPi, -kPi}, {32 * kPi, kPi, kPi}},
      {23, {0, 0, 0}, {-t, -t, -32}, {t, t, 32}},
      {24, {0, 0, 4}, {-t, -t, 0}, {t, t, 16}},
      {25, {0, 0, 0}, {-t, -t, -32}, {t, t, 32}},
      {26, {1, 0.5, 0}, {0, 0, -2}, {2, 1, 2}},
      {31, {0, 2, 6}, {0, 0, 0}, {8, 8, 8}},
      {32, {kPi, 1, 0}, {0.125, 0, -32}, {24, 8, 32}},
      {33, {kPi, kPi, 0}, {0.25, 0.25, -32}, {2 * t, 2 * t, 32}},
      {35, {1, 1, -1}, {0, 0}, {2, 2}},
      {42, {1, 0, 0}, {0, 0, 0}, {2, 1, 37}},
      {43, {8, 0, 8}, {1, -16, 1}, {64, 16, 64}},
      {45, {1, 0, -1}, {0, 0}, {2, 1}},
      {8, {1, 0, 0.5}, {0, -16, 0}, {2, 16, 2}},
      {18, {0, 1, 1}, {-1, 0, 0}, {1, 1, 2}},
      {19, {0, 1, 1}, {-1, 0, 0}, {1, 1, 4}},
      {20, {0, 1, -1}, {-1, 0}, {1, 1}},
      {21, {0, 1, 1}, {-1, 0, 0}, {1, 1, 8}},
      {27, {0.5, 0, 2}, {0, 0, 0}, {1, 1, 8}},
      {28, {4, 0, 1}, {0, -16, 0}, {8, 16, 8}},
      {29, {1, 0.5, 2}, {0, 0, 0.0625}, {2, 1, 8}},
      {30, {4, 1, 2}, {0, 0, 0}, {8, 2, 4}},
      {36, {4, 4, 2}, {-8, 1, 0}, {8, 32, 16}},
      {37, {1, 0, 2}, {0, -16, 0}, {2, 16, 16}},
      {38, {1, 0, 2}, {0, -32, 0}, {2, 32, 16}},
      {39, {0, 0.5, -1}, {0, 0}, {2, 2}},
      {40, {1, 0, 16}, {0, -kPi, 1}, {1, kPi, 32}},
      {41, {1, 0, 2}, {0, 0, 0}, {4, 1, 32}},
      {127, {1, 0, -1}, {0, 0}, {1, 32}},
  };
  KVmemberHarness h;
  for (const KVrangeRow& row : rows) {
    SCOPED_TRACE(row.id);
    const int count = KV_expectDefaultsAndRangeEnds(h, kFamily23, row)->paramCount;
    double a = 0.3, b = 0.3, c = 0.3;
    h.send(kMsgFromNormalized, &a, &b, &c);
    a = b = c = -7;
    h.send(kMsgToNormalized, &a, &b, &c);
    const double back[3] = {a, b, c};
    for (int p = 0; p < 3; ++p) {
      double want = p < count ? 0.3 : -7;
      if (row.id == 42 && p == 2)
        want = 11.0 / 37;  // 37 * 0.3 = 11.1, whole part 11
      if (row.id == 127 && p == 1)
        want = 9.0 / 32;  // 32 * 0.3 = 9.6, whole part 9
      EXPECT_NEAR(back[p], want, 1e-12) << "parameter " << p;
    }
  }
}

// Every built member at its defaults, with a view origin and eye height of
// its own: whole batches against single samples, only the batch's samples
// written, a uniform y read from element 0, the same batch twice alike, and
// no NaN on any output even for marked or huge inputs.
class F23BuiltMember : public ::testing::TestWithParam<int16_t>
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily23, GetParam());
    g_->posOffset = dvector3d{0.3, -0.2, 17.5};
    h_.doc()->viewDepth = 2;
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

// Equal, NaN aside (none is expected: the NaN test below says so).
void expectSame(double a, double b, const char* what, int out, int i)
{
  if (!(std::isnan(a) && std::isnan(b))) {
    EXPECT_EQ(a, b) << what << " output " << out << " sample " << i;
  }
}

TEST_P(F23BuiltMember, OneBatchEqualsSingleSamples)
{
  // The depth sort of unpacked inputs gives every sample the batch's first
  // elements.
  if (GetParam() == 7)
    GTEST_SKIP();
  const KVtestInput x = KVtestInput::samples(rampX());
  for (int out = 0; out < 3; ++out) {
    const KVbatch whole = h_.run(x, KVtestInput::fill(0.83), kBatchCapacity, out);
    for (int i = 0; i < kBatchCapacity; ++i)
      expectSame(h_.at(x.data[i], 0.83, out), whole[i], "single", out, i);
  }
}

TEST_P(F23BuiltMember, WritesOnlyTheSamplesOfTheBatch)
{
  for (int out = 0; out < 5; ++out)
    for (double& v : g_->outputs[out])
      v = 777;
  h_.run(KVtestInput::samples(rampX()), KVtestInput::fill(0.5), 5);
  for (int out = 0; out < 5; ++out)
    for (int i = 5; i < kBatchCapacity; ++i)
      EXPECT_EQ(g_->outputs[out][i], 777) << out << " " << i;
  for (int i = 0; i < kBatchCapacity; ++i) {
    EXPECT_EQ(g_->outputs[3][i], 777);
    EXPECT_EQ(g_->outputs[4][i], 777);
  }
}

TEST_P(F23BuiltMember, UniformYReadsOnlyItsFirstElementAndTheSameBatchRepeats)
{
  const KVtestInput x = KVtestInput::samples(rampX());
  for (int out = 0; out < 3; ++out) {
    const KVbatch perSample = h_.run(x, KVtestInput::fill(1.25), kBatchCapacity, out);
    h_.run(KVtestInput::fill(9), KVtestInput::fill(-9));
    const KVbatch uniform = h_.run(x, KVtestInput::uniform(1.25), kBatchCapacity, out);
    for (int i = 0; i < kBatchCapacity; ++i)
      expectSame(perSample[i], uniform[i], "uniform", out, i);
  }
}

TEST_P(F23BuiltMember, NoNaNReachesAnOutput)
{
  const double values[] = {0, -0.0, 1e-300, -3.5, 2.25, 1e200, -1e200, gINFINITY, 3 * gINFINITY};
  for (double x : values)
    for (double y : values)
      for (int out = 0; out < 3; ++out)
        EXPECT_FALSE(std::isnan(h_.at(x, y, out))) << "x " << x << " y " << y << " out " << out;
}

INSTANTIATE_TEST_SUITE_P(All, F23BuiltMember, ::testing::ValuesIn(kBuiltIds),
                         [](const ::testing::TestParamInfo<int16_t>& member) {
                           return "id" + std::to_string(member.param);
                         });

// The input each member tests for the marker: a marked tested input gives
// the marker on all three outputs; the other input is used as a number.
TEST(F23Catalog, EachMemberTestsItsOwnInputForTheMarker)
{
  enum Tested
  {
    kX,
    kY,
    kXorY,
    kNone,
  };
  struct Row
  {
    int16_t id;
    Tested tested;
    double B;  // small enough that an untested marked input stays below the marker
  };
  const Row rows[] = {
      {2, kX, 0},     {31, kX, 0},    {3, kY, 0.5},   {4, kXorY, 0},  {5, kX, 0},
      {26, kX, 0},    {42, kX, 0},    {43, kX, 0},    {45, kX, 0},    {8, kX, 0},
      {18, kX, 0},    {19, kX, 0},    {20, kX, 0},    {21, kX, 0},    {27, kX, 0},
      {28, kX, 0},    {29, kX, 0},    {30, kX, 0},    {36, kNone, 0}, {37, kNone, 0},
      {38, kNone, 0}, {39, kNone, 0}, {40, kNone, 0}, {41, kNone, 0},
  };
  KVmemberHarness h;
  for (const auto& [id, tested, b] : rows) {
    SCOPED_TRACE(id);
    h.bind(kFamily23, id);
    h.setParams(1.5, b, 0.5);
    h.prepare();
    const bool testsX = tested == kX || tested == kXorY;
    const bool testsY = tested == kY || tested == kXorY;
    for (int out = 0; out < 3; ++out) {
      EXPECT_EQ(h.at(gINFINITY, 1.0, out) >= gINFINITY, testsX) << out;
      EXPECT_EQ(h.at(1.0, gINFINITY, out) >= gINFINITY, testsY) << out;
    }
  }
}

}  // namespace
