// Family f34 as a whole: binding of every id and of ids without a member,
// connector codes after message 6, names and labels byte for byte, the
// parameter maps of messages 4 and 5, the no-value rows of the members, and
// what every built member must survive.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "components/common/member.h"
#include "engine/catalog.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double M = gINFINITY;

const std::vector<int16_t> kBuiltIds = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                        13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25,
                                        26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38,
                                        39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50};
// The packed compositing members ask at message 6 for packed inputs.
const std::vector<int16_t> kPackedInputIds = {13, 14, 15, 16, 17, 29, 42, 46};

bool built(int16_t id)
{
  return std::find(kBuiltIds.begin(), kBuiltIds.end(), id) != kBuiltIds.end();
}

bool packedInputs(int16_t id)
{
  return std::find(kPackedInputIds.begin(), kPackedInputIds.end(), id) != kPackedInputIds.end();
}

TEST(F34Catalog, EveryIdBindsItsEntryAndUnlistedIdsDrawTheMondrian)
{
  KVmemberHarness h;
  for (int16_t id = 0; id <= 50; ++id) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily34, id);
    const KVcatalogMember m = KV_catalogMember(kFamily34, id);
    EXPECT_EQ(m.id, id);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(m.real, built(id));
    const bool threeOut = id == 27 || id == 32 || id == 34 || id == 49 || id == 50 || id == 19 ||
                          id == 30 || id == 33 || id == 43 || id == 28 || id == 31 || id == 36 ||
                          id == 41 || id == 45 || id == 35 || id == 37 || id == 40;
    EXPECT_EQ(g->inputCode, packedInputs(id) ? kConnOne : (threeOut ? kConnThreeOut : kConnThree));
    EXPECT_EQ(g->outputCode, kConnFour);
    EXPECT_EQ(g->inlets[3].source, kSourceUnset);
    EXPECT_FALSE(g->lockFlags & kLockB);
  }
  const KVcatalogMember mondrian = KV_catalogMember(kFamily34, 7);
  for (int16_t id : {int16_t(51), int16_t(99), int16_t(126), int16_t(128), int16_t(-1)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily34, id);
    EXPECT_EQ(g->compute, mondrian.compute);
    EXPECT_EQ(g->handler, mondrian.handler);
    EXPECT_EQ(h.displayName(), " Mondrian ");
  }
  gfunc* sub = h.bind(kFamily34, kCompiledTreeId);
  EXPECT_TRUE(sub->lockFlags & kLockB);
  EXPECT_TRUE(KV_catalogMember(kFamily34, kCompiledTreeId).real);
  EXPECT_EQ(KV_familyMemberCount(kFamily34), 52);
}

TEST(F34Catalog, NamesAndLabels)
{
  const char* amp = "Amplitude ";
  const char* cycle = "Color Cycle ";
  const char* freq = "Frequency ";
  const char* rough = "Roughness ";
  const KVnameRow rows[] = {
      {0, " Color Polygon N ", 3, {" Sides ", "Radius ", cycle}},
      {1, " Color Circle ", 3, {amp, "Radius ", cycle}},
      {2, " Color Line ", 3, {"Rotation ", "Size ", cycle}},
      {3, " Color Neon Line ", 3, {"Rotation ", "Size ", cycle}},
      {4, " Random Verticals", 3, {"Amount ", cycle, freq}},
      {5, " L Maze", 3, {amp, cycle, freq}},
      {6, " z LED Array", 3, {amp, "Style ", freq}},
      {7, " Mondrian ", 3, {amp, cycle, freq}},
      {18, " O Maze", 3, {amp, cycle, freq}},
      {20, " z Paint strokes", 3, {amp, cycle, freq}},
      {21, " z Square LEDs", 3, {amp, cycle, freq}},
      {22, " z matrix lights ", 3, {amp, cycle, freq}},
      {23, " z Line network", 3, {amp, cycle, freq}},
      {24, " z Disk Tiles", 3, {amp, cycle, freq}},
      {25, " z Strokes", 3, {amp, cycle, freq}},
      {26, " R Maze", 3, {amp, cycle, freq}},
      {27, " 3D Color Dots ", 3, {amp, cycle, freq}},
      {32, " 3D Color Star Field", 3, {amp, "Phase ", freq}},
      {34, " 3D Cellular", 3, {amp, cycle, freq}},
      {38, " z Random Polygons", 3, {amp, cycle, freq}},
      {39, " Gaussian Dot ", 3, {amp, "Radius ", cycle}},
      {44, " z R-patchwork", 3, {amp, "Sharpness % ", freq}},
      {13, " Packed z Blend ", 2, {"Feather ", "Offset ", ""}},
      {14, " Packed z Max", 2, {"z level ", "Feather % ", ""}},
      {15, " Packed Crossfade", 2, {"Interpolate AB ", "Interpolate C ", ""}},
      {16, " Packed Max", 3, {"Level in1:in2 balance ", "Level in3 ", "Feather % "}},
      {17, " Packed Alpha Compose", 3, {"Feather A & B ", "Feather C  ", "Background Color "}},
      {29, " Packed mul & add", 2, {"A * B level ", "Add C level ", ""}},
      {42, " Packed add & mul", 2, {"Add B level ", "Mul C level ", ""}},
      {46, " Memory Packed z Blend ", 2, {"Feather ", "Offset ", ""}},
      {8, " z Multifractal", 3, {amp, rough, freq}},
      {10, " z Sulfur Fiberrock", 3, {amp, rough, freq}},
      {11, " z Granular rock", 3, {amp, rough, freq}},
      {12, " 3D Color Patchwork", 3, {amp, rough, freq}},
      {19, " 3D MultiFractal noise ", 3, {amp, rough, freq}},
      {30, " 3D granit rocks", 3, {amp, rough, freq}},
      {33, " 3D Lunar rocks", 3, {amp, rough, freq}},
      {43, " 3D Fractal Silex noise", 3, {amp, rough, freq}},
      {28, " 3D ice cracks ", 3, {amp, rough, freq}},
      {31, " 3D Random Rects", 3, {amp, rough, freq}},
      {36, " 3D Ridged Fractal", 3, {amp, rough, freq}},
      {41, " 3D Facet Rocks", 3, {amp, rough, freq}},
      {45, " 3D fractured rocks ", 3, {amp, rough, freq}},
      {9, " z Green Bushes", 3, {amp, "Amount ", freq}},
      {35, " 3D Multi Bubbles", 3, {amp, cycle, freq}},
      {37, " 3D Green Marble", 3, {amp, rough, freq}},
      {40, " 3D Lava Bubbles", 3, {amp, rough, freq}},
      {49, " 3D Tech Noise #", 3, {" Building A Sharp # ", cycle, freq}},
      {50, " 3D Walls & Concrete #", 3, {" Brick Wall A # ", cycle, freq}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : rows)
    KV_expectNameAndLabels(h, kFamily34, row);
}

TEST(F34Catalog, DefaultsAndParameterMaps)
{
  const KVrangeRow rows[] = {
      {0, {5, 2, 0.5}, {2, 0, 0}, {22, 16, 1}},
      {1, {4, 2, 0.5}, {-8, 0, 0}, {8, 24, 1}},
      {2, {kPi / 2, 1, 0.5}, {-kPi, 0, 0}, {kPi, 32, 1}},
      {3, {0, 1, 0.5}, {-kPi, 0, 0}, {kPi, 32, 1}},
      {4, {0.5, 0.5, 1}, {0, 0, 0}, {1, 1, 8}},
      {5, {1, 0.5, 2}, {0, 0, 0}, {2, 1, 16}},
      {6, {1, 0.5, 4}, {0, 0, 0}, {2, 1, 16}},
      {7, {1, 0.5, 4}, {0, 0, 0}, {2, 1, 16}},
      {18, {1, 0.5, 2}, {0, 0, 0}, {2, 1, 16}},
      {20, {1, 0.5, 2}, {0, 0, 0}, {2, 1, 16}},
      {21, {1, 0.5, 2}, {0, 0, 0}, {2, 1, 16}},
      {22, {1, 0.5, 4}, {0, 0, 0}, {2, 1, 16}},
      {23, {1, 0.5, 1}, {0, 0, 0}, {2, 1, 8}},
      {24, {1, 0.444, 2}, {0, 0, 0}, {2, 1, 16}},
      {25, {1, 0.5, 2}, {0, 0, 0}, {2, 1, 16}},
      {26, {1, 0.5, 2}, {0, 0, 0}, {2, 1, 16}},
      {27, {2, 0.5, 2}, {0, 0, 0}, {8, 1, 16}},
      {32, {2, 0, 2}, {0, -32, 0}, {4, 32, 32}},
      {34, {2, 0.5, 2}, {0, 0, 0}, {8, 1, 16}},
      {38, {1, 0.5, 2}, {0, 0, 0}, {2, 1, 16}},
      {39, {2, 4, 0.5}, {0, 0, 0}, {8, 24, 1}},
      {44, {0.25, 0.25, 1}, {0, 0, 0}, {1, 1, 8}},
      {13, {0.1, 0, -1}, {0, -2, 0}, {4, 2, 0}},
      {14, {0, 0, -1}, {-2, 0, 0}, {2, 1, 0}},
      {15, {0.5, 0.5, -1}, {0, 0, 0}, {1, 1, 0}},
      {16, {0, 0, 0.5}, {-1, -2, 0}, {1, 2, 1}},
      {17, {1, 1, 0.28}, {0, 0, 0}, {2, 2, 1}},
      {29, {1, 1, -1}, {0, 0, 0}, {1, 1, 0}},
      {42, {1, 1, -1}, {0, 0, 0}, {1, 1, 0}},
      {46, {0.1, 0, -1}, {0, -2, 0}, {4, 2, 0}},
      {8, {4, 0.5, 1}, {0, 0, 0}, {8, 1, 8}},
      {10, {1, 0.5, 2}, {0, 0, 0}, {4, 1, 8}},
      {11, {1, 0.5, 2}, {0, 0, 0}, {4, 1, 8}},
      {12, {2, 0.5, 2}, {0, 0, 0}, {8, 1, 8}},
      {19, {4, 0.5, 1}, {0, 0, 0}, {16, 1, 8}},
      {30, {3, 0.5, 2}, {0, 0, 0}, {8, 1, 8}},
      {33, {2, 0.5, 2}, {-16, 0, 0}, {16, 1, 8}},
      {43, {4, 0.25, 1}, {-16, 0, 0}, {16, 1, 8}},
      {28, {2, 0.5, 1}, {0, 0, 0}, {8, 1, 8}},
      {31, {2, 0.25, 1}, {0, 0, 0}, {8, 1, 8}},
      {36, {1, 0.5, 2}, {-16, 0, 0}, {16, 1, 8}},
      {41, {1, 0.25, 1}, {0, 0, 0}, {8, 1, 8}},
      {45, {2, 0.5, 1}, {0, 0, 0}, {8, 1, 8}},
      {9, {1, 0.5, 2}, {0, 0, 0}, {8, 1, 8}},
      {35, {4, 0.5, 2}, {-8, 0, 0}, {8, 1, 16}},
      {37, {1, 0.5, 2}, {-16, 0, 0}, {16, 1, 8}},
      {40, {4, 0.5, 2}, {0, 0, 0}, {8, 1, 8}},
      {49, {4, 0.25, 2}, {0, 0, 0}, {29, 1, 64}},
      {50, {4, 0.045, 2}, {0, 0, 0}, {15, 1, 32}},
  };
  KVmemberHarness h;
  for (const KVrangeRow& row : rows) {
    const gfunc* g = KV_expectDefaultsAndRangeEnds(h, kFamily34, row);
    // Message 5 gives back what message 4 was given (8 sides for id 0).
    double a = 0.3, b = 0.3, c = 0.3;
    h.send(kMsgFromNormalized, &a, &b, &c);
    a = b = c = -7;
    h.send(kMsgToNormalized, &a, &b, &c);
    // A whole-number parameter comes back as its truncated value.
    const double back[3] = {a, b, c};
    const KVmemberDesc* d = KV_memberDesc(kFamily34, row.id);
    for (int p = 0; p < g->paramCount; ++p) {
      const KVparamDesc& m = d->params[p];
      const double want = m.truncate ? (std::trunc(0.3 * m.k + m.c) - m.c) / m.k : 0.3;
      EXPECT_NEAR(back[p], want, 1e-12) << row.id << " parameter " << p;
    }
  }
  // The polygon's sides are whole: A back as (A - 2) / 20; the star field's
  // phase back as (B + 32) / 64.
  gfunc* poly = h.bind(kFamily34, 0);
  double a = 0.33, b = 0.5, c = 0.5;
  h.send(kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(poly->A, 8);
  h.send(kMsgToNormalized, &a, &b, &c);
  EXPECT_DOUBLE_EQ(a, (8 - 2) / 20.0);
  gfunc* stars = h.bind(kFamily34, 32);
  stars->B = 5;
  h.send(kMsgToNormalized, &a, &b, &c);
  EXPECT_DOUBLE_EQ(b, (5 + 32) / 64.0);
}

// The row a marked x gives, and, for the members that test it, the batch of
// markers when the source of input 1 reports an empty batch.
TEST(F34Catalog, NoValueRows)
{
  struct Row
  {
    int16_t id;
    double row[4];
    bool emptyBatch;  // an empty source batch gives markers
  };
  const std::vector<Row> rows = {
      {0, {0, 0, 0, -2}, false}, {1, {0, 0, 0, -2}, false}, {2, {0, 0, 0, -2}, false},
      {3, {0, 0, 0, 0}, false},  {39, {0, 0, 0, 0}, false}, {38, {M, M, M, M}, true},
      {5, {M, M, M, M}, true},   {18, {M, M, M, M}, true},  {26, {M, M, M, M}, true},
      {7, {M, M, M, M}, true},   {22, {M, M, M, M}, true},  {6, {M, M, M, M}, true},
      {21, {M, M, M, M}, true},  {24, {M, M, M, M}, true},  {32, {M, M, M, M}, true},
      {25, {M, M, M, M}, true},  {20, {M, M, M, M}, true},  {27, {M, M, M, M}, true},
      {34, {M, M, M, M}, true},
  };
  KVmemberHarness h;
  auto source = std::make_unique<gfunc>();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    gfunc* g = h.bind(kFamily34, r.id);
    h.prepare();
    for (int out = 0; out < 4; ++out)
      EXPECT_EQ(h.at(M, 0.25, out), r.row[out]) << out;
    source->maskedBatch = 1;
    g->sources[0] = source.get();
    const double probe = h.run(KVtestInput::fill(0.3), KVtestInput::fill(0.2), 16, 3)[5];
    EXPECT_EQ(probe == M, r.emptyBatch);
    g->sources[0] = nullptr;
  }
  // Ids 4, 23 and 44 test nothing: a marked x is a column or a cell like any.
  for (int16_t id : {int16_t(4), int16_t(23), int16_t(44)}) {
    SCOPED_TRACE(id);
    h.bind(kFamily34, id);
    h.prepare();
    for (int out = 0; out < 4; ++out)
      EXPECT_LT(std::fabs(h.at(M, 0.25, out)), 1e6) << out;
  }
}

// Every built member at its defaults with inputs at the ends of the lattice,
// NaN and the marker: finite or marked outputs where x is finite, no
// sanitizer report anywhere, and only the batch's samples written.
class F34BuiltMember : public ::testing::TestWithParam<int16_t>
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily34, GetParam());
    h_.prepare();
  }
  KVmemberHarness h_;
  gfunc* g_ = nullptr;
};

TEST_P(F34BuiltMember, SurvivesExtremeInputs)
{
  const double values[] = {0, -2147483648.0, 2147483648.0, -2147483649.5, 1e18, NAN, M, -M};
  for (double x : values)
    for (double y : values)
      for (double z : values) {
        h_.setInput(2, KVtestInput::fill(z));
        const bool ordinary = x == 0 && y == 0 && z == 0;
        for (int out = 0; out < 4; ++out) {
          const double v = h_.at(x, y, out);
          if (ordinary) {
            EXPECT_TRUE(std::isfinite(v)) << "out " << out;
          }
        }
      }
}

TEST_P(F34BuiltMember, WritesOnlyTheBatchAndOneBatchEqualsSingleSamples)
{
  for (int out = 0; out < 5; ++out)
    std::fill(std::begin(g_->outputs[out]), std::end(g_->outputs[out]), 777.0);
  KVbatch xs;
  for (int i = 0; i < kBatchCapacity; ++i)
    xs[i] = -2.9 + 0.37 * i;
  const KVtestInput x = KVtestInput::samples(xs);
  h_.setInput(2, KVtestInput::fill(1.3));
  h_.run(x, KVtestInput::fill(0.5), 5);
  for (int out = 0; out < 5; ++out)
    for (int i = 5; i < kBatchCapacity; ++i)
      EXPECT_EQ(g_->outputs[out][i], 777) << out << " " << i;
  for (int out = 0; out < 4; ++out) {
    const KVbatch whole = h_.run(x, KVtestInput::fill(0.83), kBatchCapacity, out);
    for (int i = 0; i < kBatchCapacity; ++i)
      EXPECT_EQ(h_.at(xs[i], 0.83, out), whole[i]) << out << " " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Members, F34BuiltMember, ::testing::ValuesIn(kBuiltIds),
                         [](const ::testing::TestParamInfo<int16_t>& p) {
                           return "id" + std::to_string(p.param);
                         });

}  // namespace
