// Family f22 as a whole: binding of every id, the handler messages that come
// from the member tables, and properties every built member must have
// (marker handling, uniform inputs, batch lengths, statelessness).
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "components/common/member.h"
#include "components/f22/f22_affine.h"
#include "components/f22/f22_complex.h"
#include "components/f22/f22_recurtree.h"
#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Every f22 member: ids 0 to 58 and the compiled tree.
std::vector<int16_t> allIds()
{
  std::vector<int16_t> ids;
  for (int16_t id = 0; id <= 58; ++id)
    ids.push_back(id);
  ids.push_back(kCompiledTreeId);
  return ids;
}

const std::vector<int16_t> kBuiltIds = allIds();

// Members that copy a masked x and its y through instead of masking.
bool copiesMasked(int16_t id)
{
  return id == 22 || id == 30 || id == 32 || id == 34;
}

TEST(F22Catalog, EveryIdBindsItsEntryAndUnknownIdsBindSkew)
{
  KVmemberHarness h;
  for (int16_t id = 0; id <= 58; ++id) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily22, id);
    const KVcatalogMember m = KV_catalogMember(kFamily22, id);
    EXPECT_EQ(m.id, id);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(g->inputCode, kConnTwo);
    EXPECT_EQ(g->outputCode, kConnTwo);
    EXPECT_TRUE(m.real);
  }
  for (int16_t id : {int16_t(59), int16_t(100), int16_t(126), int16_t(-1), int16_t(128)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily22, id);
    EXPECT_EQ(g->compute, f22_skew);
    EXPECT_EQ(g->handler, f22_skew_handler);
    EXPECT_EQ(h.displayName(), " Skew");
  }
  gfunc* sub = h.bind(kFamily22, kCompiledTreeId);
  EXPECT_EQ(sub->compute, f22_recurtree);
  EXPECT_EQ(sub->handler, f22_recurtree_handler);
  EXPECT_TRUE(sub->lockFlags & 2);
  EXPECT_EQ(KV_familyMemberCount(kFamily22), 60);
}

// Display names, labels and parameter counts, byte for byte.
TEST(F22Catalog, NamesLabelsAndParameterCounts)
{
  const KVnameRow rows[] = {
      {0, " Skew", 3, {"Skew Angle ", "Skew Amount ", "Scale "}},
      {1, " Sin x, sin y", 2, {"Amplitude ", "Frequency ", ""}},
      {2, " Scale & Offset ", 3, {"Scale ", "Offset x ", "Offset y "}},
      {3, " Rotate A", 3, {"Angle ", "Center x ", "Center y "}},
      {4, " x+Asin y, y+Asin x", 2, {"Amplitude ", "Frequency ", ""}},
      {5, " Waves", 3, {"Frequency ", "Amplitude x ", "Amplitude y "}},
      {6, " Twirl", 2, {"Scale ", "Angle ", ""}},
      {7, " Sin warp", 2, {"Amplitude ", "Frequency ", ""}},
      {8, " Hexagonal Mirrors", 2, {"Scale ", "Phase ", ""}},
      {9, " Hexagonal Sin", 1, {"Scale ", "", ""}},
      {10, " Complex Map", 2, {"Real ", "Imaginary ", ""}},
      {11, " Radialstar", 3, {" Outer phase ", " Narrowness ", "Amplitude "}},
      {13, " Complex waves", 2, {"Scale ", "Offset ", ""}},
      {14, " Orbiters", 3, {"Rotation ", "Offset ", "Level "}},
      {15, " Complex inverse", 3, {"Scale ", "Offset x ", "Offset y "}},
      {19, " Complex Map 2", 2, {"Real ", "Imaginary ", ""}},
      {20, " Ripples", 3, {"Frequency ", "Amplitude ", "Phase "}},
      {21, " Mirrors 4", 3, {"Scale ", "Offset x ", "Offset y "}},
      {22, " Mirrors 6", 3, {"Scale ", "Offset x ", "Offset y "}},
      {23, " Ring Space", 3, {"Offset x ", "Offset y ", "Warp "}},
      {24, " Polar Space", 3, {"Polar scale ", "Distance scale ", "Phase x "}},
      {28, " Distance Mirror", 2, {"Amplitude ", "Mirror distance ", ""}},
      {30, " Mirrors 3", 3, {"Scale ", "Offset x ", "Offset y "}},
      {32, " Branch N", 3, {" Branch number ", "Offset x ", "Offset y "}},
      {33, " Hexagonal tiles", 3, {"Amplitude ", "Offset ", "Frequency "}},
      {34, " Disc Tiling", 3, {" Smooth Edges ", "Offset x ", "Offset y "}},
      {35, " Serpiensky tiles", 3, {"Amplitude ", "Offset ", "Frequency "}},
      {36, " Disk Mirror", 3, {" Disk Size ", " Mirror concavity ", "Offset y "}},
      {37, " Scale Ax, By", 2, {"Scale x ", "Scale y ", ""}},
      {44, " Split & Move", 3, {"Angle ", "Offset x ", "Offset y "}},
      {54, " Mirror", 3, {"Rotation ", "Offset x ", "Offset y "}},
      {55, " Orthogonal Mirror tiles", 2, {"Scale ", "Scale Y ", ""}},
      {56, " Disk Inverse Ring", 3, {" Disk number ", "Scale ", "Offset y "}},
      {57, " infinity disk gate", 1, {"Limit ", "", ""}},
      {58, " Complex Moebius", 3, {"Angle ", "Scale ", "Imaginary "}},
      {12, " Random noise", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {16, " Multi twirls", 3, {"Frequency ", "Phase ", "Twirl "}},
      {17, " 2D turbulence", 3, {"Amplitude ", "Scale ", "Phase "}},
      {18, " Pixel prism", 3, {"Displacement ", "Scale ", "Frequency "}},
      {25, " Low Freq Random ", 3, {"Amplitude ", "Frequency ", "Phase "}},
      {26, " Directional Random ", 3, {"Amplitude ", "Direction ", "Phase "}},
      {27, " Bubble Space", 3, {"Amplitude ", "Bubble size ", "Frequency "}},
      {29, " Tile & displace", 3, {"Displacement ", "Scale ", "Frequency "}},
      {31, " Crystal displace ", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {38, " Random Fractal Space", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {39, " Facet space mirrors", 3, {"Scale ", "Delta size ", "Frequency "}},
      {40, " Facet space", 3, {"Scale ", "Delta size ", "Frequency "}},
      {41, " Crystallize", 3, {"Amplitude ", "Frequency ", "Phase "}},
      {42, " Tech displace", 3, {"Displacement ", "Phase ", "Frequency "}},
      {43, " Spots displace", 3, {"Displacement ", "Phase ", "Frequency "}},
      {45, " Tech quantize", 3, {"Displacement ", "Phase ", "Frequency "}},
      {46, " Facet space rotate", 3, {"Delta angle ", "Delta size ", "Frequency "}},
      {47, " Perlin random", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {48, " Multi Perlin random", 3, {"Amplitude ", "Octaves ", "Frequency "}},
      {49, " Ridged Fractal displace", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {50, " Time turbulence", 3, {"Amplitude ", "feedback ", "Frequency "}},
      {51, " Multi Fractal displace", 3, {"Amplitude ", "Smoothness ", "Frequency "}},
      {52, " Chaos displace A", 3, {"Amplitude ", "Feedback ", "Frequency "}},
      {53, " Chaos displace B", 3, {"Amplitude ", "Feedback ", "Frequency "}},
      {127, " Compiled tree", 2, {"Blend ", "Recursion ", ""}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : rows)
    KV_expectNameAndLabels(h, kFamily22, row);
}

// The defaults of message 6 (-1 where a parameter is absent) and the values
// message 4 gives at the two ends of the normalised range.
TEST(F22Catalog, DefaultsAndNormalisedRangeEnds)
{
  const KVrangeRow rows[] = {
      {0, {kPi / 4, -1.5, 1}, {-kPi, -2, -2}, {kPi, 2, 4}},
      {1, {4, 0.5, -1}, {-8, 0}, {8, 16}},
      {2, {1, 0, 0}, {-8, -32, -32}, {8, 32, 32}},
      {3, {0, 0, 0}, {-2 * kPi, -8, -8}, {2 * kPi, 8, 8}},
      {4, {0.5, kPi, -1}, {-4, -4}, {4, 4}},
      {5, {1, 1, 0}, {-2, -2, -2}, {2, 2, 2}},
      {6, {0.25, 1.5, -1}, {0, -4}, {1, 4}},
      {7, {0.5, 2, -1}, {-6, -2 * kPi}, {6, 2 * kPi}},
      {8, {4, 1, -1}, {0, 0}, {32, 2}},
      {9, {1, -1, -1}, {0.5}, {8}},
      {10, {0.5, 0.75, -1}, {-2, -2}, {2, 2}},
      {11, {8, 0.05, 1}, {0, 0, 0.125}, {4 * kPi, 1, 3.141592653589793}},
      {13, {0.5, 0, -1}, {0, -2}, {4, 2}},
      {14, {0, -0.5, -0.5}, {-2, -2, -2}, {2, 2, 2}},
      {15, {1, 0, 0}, {0.03125, -32, -32}, {2, 32, 32}},
      {19, {1, 1, -1}, {-2, -2}, {2, 2}},
      {20, {1, 1, 0}, {-2 * kPi, -2, -16}, {2 * kPi, 2, 16}},
      {21, {1, 0, 0}, {-4, -8, -8}, {4, 8, 8}},
      {22, {1, 0, 0}, {-4, -8, -8}, {4, 8, 8}},
      {23, {1, 0, 0.5}, {-4, -4, 0}, {4, 4, 1}},
      {24, {1, 1, -kPi}, {0.5, 0.5, -kPi}, {8, 6.283185307179586, kPi}},
      {28, {1, 1, -1}, {0, 0}, {2, 24}},
      {30, {1, 0, 0}, {-4, -8, -8}, {4, 8, 8}},
      {32, {5, 0, 0}, {1, -8, -8}, {18, 8, 8}},
      {33, {2, 0, 2}, {0, -4, 0}, {8, 4, 8}},
      {34, {0.125, 0, 0}, {0, -4, -4}, {1, 4, 4}},
      {35, {2, 0, 2}, {0, -4, 0}, {8, 4, 8}},
      {36, {kPi, 0, 0}, {0.25, 0, -8}, {24, 1, 8}},
      {37, {1, 1, -1}, {-8, -8}, {8, 8}},
      {44, {0, 0, 0}, {-kPi, 0, 0}, {kPi, 2 * kPi, 2 * kPi}},
      {54, {0, 0, 0}, {-2 * kPi, -32, -32}, {2 * kPi, 32, 32}},
      {55, {4, 1, -1}, {0, 0}, {32, 2}},
      {56, {3, 1, 0}, {2, -8, -1}, {12, 8, 1}},
      {57, {4, -1, -1}, {0.25}, {64}},
      {58, {-kPi, 1.8, 0}, {-2 * kPi, -4, -4}, {2 * kPi, 4, 4}},
      {12, {0.5, 0, 2}, {-2, -8, 0.0625}, {2, 8, 16}},
      {16, {1, 0, 4}, {0.0625, -4, 0}, {4, 4, 8}},
      {17, {1, 1, 0}, {-2, -2, -16}, {4, 8, 16}},
      {18, {0, 1, 1}, {-2, -2, -2}, {2, 2, 2}},
      {25, {1, 1, 0}, {-2, 0, -8}, {8, 4, 8}},
      {26, {1, 1, 1}, {0, -2, -16}, {2, 2, 16}},
      {27, {1, 3, 0.5}, {0.125, 1, 0.0625}, {2, 6, 1}},
      {29, {0, 4, 2}, {-2, 0, 0}, {2, 16, 4}},
      {31, {4, 0, 1}, {0, -16, 0}, {8, 16, 8}},
      {38, {1, 0, 0.5}, {0, -32, 0}, {32, 32, 2}},
      {39, {1, 3, 0.5}, {0.125, 0, 0}, {2, 6, 8}},
      {40, {0.5, 1, 2}, {0.001, 0, 0}, {2, 6, 8}},
      {41, {1, 4, 0}, {0, 0, -16}, {1, 16, 16}},
      {42, {1, 0, 1}, {0, -16, 0}, {4, 16, 4}},
      {43, {1, 0, 1}, {0, -16, 0}, {8, 16, 4}},
      {45, {1, 0, 1}, {0, -16, 0}, {1, 16, 4}},
      {46, {kPi, 1, 2}, {0, 0, 0}, {2 * kPi, 6, 8}},
      {47, {1, 0, 2}, {0, -16, 0}, {4, 16, 8}},
      {48, {1, 4, 2}, {0, 1, 0}, {4, 128, 16}},
      {49, {1, 4, 1}, {0, -32, 0}, {2, 32, 8}},
      {50, {1, 2, 2}, {0, -8, 0}, {8, 8, 8}},
      {51, {0.5, 0.5, 0.25}, {0, 0, 0}, {2, 1, 8}},
      {52, {0.25, 0, 0.5}, {0, -1, 0}, {1, 1, 4}},
      {53, {1, 0, 1}, {0, -1, 0}, {4, 1, 4}},
      {127, {1, 0, -1}, {0, 0}, {1, 128}},
  };
  KVmemberHarness h;
  for (const KVrangeRow& row : rows)
    KV_expectDefaultsAndRangeEnds(h, kFamily22, row);
}

// Message 5 inverts message 4; the whole-number parameters come back at the
// start of their step ((A - 1)/17 for Branch N, (A - 2)/10 for Disk Inverse
// Ring, B/128 for Recursion).
TEST(F22Catalog, MessageFiveInvertsMessageFour)
{
  struct Row
  {
    int16_t id;
    double n;
    double expected[3];
  };
  const Row rows[] = {
      {32, 0.5, {(9.0 - 1) / 17, 0.5, 0.5}}, {56, 0.55, {(7.0 - 2) / 10, 0.55, 0.55}},
      {127, 0.3, {0.3, 38.0 / 128, -7}},     {0, 0.25, {0.25, 0.25, 0.25}},
      {36, 0.75, {0.75, 0.75, 0.75}},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    h.bind(kFamily22, row.id);
    double a = row.n, b = row.n, c = row.n;
    h.send(kMsgFromNormalized, &a, &b, &c);
    a = b = c = -7;
    h.send(kMsgToNormalized, &a, &b, &c);
    EXPECT_NEAR(a, row.expected[0], 1e-12);
    EXPECT_NEAR(b, row.expected[1], 1e-12);
    EXPECT_NEAR(c, row.expected[2], 1e-12);
  }
}

// Scale & Offset's output code: kConnTwo at message 6; at message 7 from the
// uniformity of the second input record of its y source, or its own.
TEST(F22Catalog, ScaleOffsetChoosesItsOutputCode)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily22, 2);
  EXPECT_EQ(g->outputCode, kConnTwo);

  g->sources[1] = nullptr;
  g->inlets[1].channels = 0;
  h.send(kMsgPrepare);
  EXPECT_EQ(g->outputCode, kConnTwoUniformSecond);
  g->inlets[1].channels = 1;
  h.send(kMsgPrepare);
  EXPECT_EQ(g->outputCode, kConnTwo);

  gfunc source{};
  source.inlets[1].channels = 0;
  g->sources[1] = &source;
  h.send(kMsgPrepare);
  EXPECT_EQ(g->outputCode, kConnTwoUniformSecond);
  source.inlets[1].channels = 1;
  g->inlets[1].channels = 0;
  h.send(kMsgPrepare);
  EXPECT_EQ(g->outputCode, kConnTwo);
  g->sources[1] = nullptr;
}

// Message 8 writes back the parameters it holds in range.
TEST(F22Catalog, MessageEightHoldsParameters)
{
  struct Row
  {
    int16_t id;
    double B;
    double heldB;
  };
  const Row rows[] = {
      {8, -0.5, 0}, {8, 1.5, 1.5}, {36, -0.3, 0}, {36, 0.4, 0.4}, {36, 3, 1},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.id << " B " << row.B);
    gfunc* g = h.bind(kFamily22, row.id);
    g->B = row.B;
    h.precompute();
    EXPECT_EQ(g->B, row.heldB);
  }
}

// Message 9 clears offsets of old trees: Complex inverse up to version 12
// (B and C), Disk Mirror up to version 13 (C), keyframes included.
TEST(F22Catalog, MessageNineConvertsOldTrees)
{
  struct Row
  {
    int16_t id;
    int16_t version;
    bool clearsB;
    bool clearsC;
  };
  const Row rows[] = {
      {15, 12, true, true},   {15, 13, false, false}, {36, 13, false, true},
      {36, 14, false, false}, {21, 1, false, false},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.id << " version " << row.version);
    gfunc* g = h.bind(kFamily22, row.id);
    h.setParams(g->A, 3, 4);
    for (KVparamTriple& key : g->keyframes)
      key = {g->A, 3, 4};
    const int16_t kept = g->owner->version;
    g->owner->version = row.version;
    h.send(kMsgConvertOld);
    g->owner->version = kept;
    EXPECT_EQ(g->B, row.clearsB ? 0 : 3);
    EXPECT_EQ(g->C, row.clearsC ? 0 : 4);
    for (const KVparamTriple& key : g->keyframes) {
      EXPECT_EQ(key.B, row.clearsB ? 0 : 3);
      EXPECT_EQ(key.C, row.clearsC ? 0 : 4);
    }
  }
}

// Message 9 of Low Freq Random adds 2.125 to B and the keyframes' B of trees
// up to version 15.
TEST(F22Catalog, LowFreqRandomMessageNineShiftsOldFrequencies)
{
  KVmemberHarness h;
  for (const auto& [version, shifted] : {std::pair{int16_t(15), true}, {int16_t(16), false}}) {
    SCOPED_TRACE(version);
    gfunc* g = h.bind(kFamily22, 25);
    h.setParams(1, 0.5, 2);
    for (KVparamTriple& key : g->keyframes)
      key = {1, 0.25, 2};
    const int16_t kept = g->owner->version;
    g->owner->version = version;
    h.send(kMsgConvertOld);
    g->owner->version = kept;
    EXPECT_EQ(g->B, shifted ? 2.625 : 0.5);
    EXPECT_EQ(g->C, 2);
    for (const KVparamTriple& key : g->keyframes)
      EXPECT_EQ(key.B, shifted ? 2.375 : 0.25);
  }
}

// Message 6 sets the fractal (frequency) flag on the fractal displacements
// but Perlin random and 2D turbulence, and on no other f22 member.
TEST(F22Catalog, FractalFlagAtMessageSix)
{
  const std::vector<int16_t> fractal = {31, 38, 48, 49, 50, 51, 52, 53};
  KVmemberHarness h;
  for (int16_t id : kBuiltIds) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily22, id);
    const bool expected = std::find(fractal.begin(), fractal.end(), id) != fractal.end();
    EXPECT_EQ(g->freqFlag, expected ? 1 : 0);
  }
}

// Every built member at its defaults: whole batches against single samples,
// only the batch's samples written, a uniform y read from element 0, and the
// marker handling of the family.
class F22BuiltMember : public ::testing::TestWithParam<int16_t>
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily22, GetParam());
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

TEST_P(F22BuiltMember, OneBatchEqualsSingleSamplesBothOutputs)
{
  const KVtestInput x = KVtestInput::samples(rampX());
  const KVtestInput y = KVtestInput::fill(0.83);
  for (int out = 0; out < 2; ++out) {
    const KVbatch whole = h_.run(x, y, kBatchCapacity, out);
    for (int i = 0; i < kBatchCapacity; ++i)
      EXPECT_EQ(h_.at(x.data[i], 0.83, out), whole[i]) << "output " << out << " sample " << i;
  }
}

TEST_P(F22BuiltMember, WritesOnlyTheSamplesOfTheBatch)
{
  for (int out = 0; out < 2; ++out)
    for (double& v : g_->outputs[out])
      v = 777;
  h_.run(KVtestInput::samples(rampX()), KVtestInput::fill(0.5), 5);
  for (int out = 0; out < 2; ++out)
    for (int i = 5; i < kBatchCapacity; ++i)
      EXPECT_EQ(g_->outputs[out][i], 777) << out << " " << i;
}

TEST_P(F22BuiltMember, UniformYReadsOnlyItsFirstElement)
{
  const KVtestInput x = KVtestInput::samples(rampX());
  for (int out = 0; out < 2; ++out) {
    const KVbatch perSample = h_.run(x, KVtestInput::fill(1.25), kBatchCapacity, out);
    const KVbatch uniform = h_.run(x, KVtestInput::uniform(1.25), kBatchCapacity, out);
    if (GetParam() == 1 && out == 1) {
      // Sin x, sin y computes a uniform y' once with the library sine.
      for (int i = 0; i < kBatchCapacity; ++i)
        EXPECT_NEAR(perSample[i], uniform[i], 1e-2) << i;
      EXPECT_EQ(uniform[3], g_->A * std::sin(g_->B * 1.25));
    } else {
      EXPECT_EQ(perSample, uniform) << "output " << out;
    }
  }
}

// A masked x gives the marker on both outputs, except in the members that
// copy it through and in the compiled tree without a sub-tree; a masked y
// is not tested (only Scale Ax, By masks y').
TEST_P(F22BuiltMember, MaskedXAndY)
{
  const int16_t id = GetParam();
  const double y = -0.75;
  const KVtestInput xs = KVtestInput::samples({gINFINITY, 1.5, 3 * gINFINITY});
  const KVbatch x1 = h_.run(xs, KVtestInput::fill(y), 3, 0);
  const KVbatch y1 = h_.run(xs, KVtestInput::fill(y), 3, 1);
  const bool copies = copiesMasked(id) || id == kCompiledTreeId;
  EXPECT_EQ(x1[0], gINFINITY);
  EXPECT_EQ(x1[2], copies ? 3 * gINFINITY : gINFINITY);
  EXPECT_EQ(y1[0], copies ? y : gINFINITY);
  EXPECT_LT(x1[1], gINFINITY);

  const KVbatch yMasked = h_.run(KVtestInput::fill(0.5), KVtestInput::fill(gINFINITY), 1, 1);
  if (id == 37) {
    EXPECT_EQ(yMasked[0], gINFINITY);
  }
}

// Every member here is stateless: the same batch twice gives the same values.
TEST_P(F22BuiltMember, SameBatchSameValues)
{
  const KVtestInput x = KVtestInput::samples(rampX());
  const KVtestInput y = KVtestInput::samples({0.3, -1.2, 2.5, -0.1, 0.9});
  for (int out = 0; out < 2; ++out) {
    const KVbatch first = h_.run(x, y, kBatchCapacity, out);
    h_.run(KVtestInput::fill(9), KVtestInput::fill(-9));
    const KVbatch again = h_.run(x, y, kBatchCapacity, out);
    for (int i = 0; i < kBatchCapacity; ++i)
      if (!std::isnan(first[i])) {
        EXPECT_EQ(first[i], again[i]) << out << " " << i;
      }
  }
}

// Message 5 gives back the normalised value message 4 was sent, for every
// parameter the member has (whole-number parameters have their own rows
// above).
TEST_P(F22BuiltMember, MessageFiveInvertsMessageFourForEveryParameter)
{
  const KVmemberDesc* d = KV_memberDesc(kFamily22, GetParam());
  ASSERT_NE(d, nullptr);
  for (double n : {0.0, 0.3, 1.0}) {
    double a = n, b = n, c = n;
    h_.send(kMsgFromNormalized, &a, &b, &c);
    double back[3] = {-7, -7, -7};
    h_.send(kMsgToNormalized, &back[0], &back[1], &back[2]);
    for (int p = 0; p < g_->paramCount; ++p)
      if (!d->params[p].truncate) {
        EXPECT_NEAR(back[p], n, 1e-12) << "parameter " << p << " n " << n;
      }
  }
}

INSTANTIATE_TEST_SUITE_P(All, F22BuiltMember, ::testing::ValuesIn(kBuiltIds),
                         [](const ::testing::TestParamInfo<int16_t>& member) {
                           return "id" + std::to_string(member.param);
                         });

}  // namespace
