// Family f11 as a whole: binding of every id, the handler messages that come
// from the member tables (names, labels, counts, defaults, range ends, the
// parameters message 8 holds and the conversions of message 9), and what
// every built member must do with batches, markers and uniform inputs.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "components/common/member.h"
#include "components/f11/f11_shaping.h"
#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kE = 2.718281828459045;

// The gate, loop, memory, derivative and compiled-tree members depend on
// more than the sample in hand; f11_memory_test, f11_nodes_test and
// f12_catalog_test cover them, the sweeps here cover the others.
const std::vector<int16_t> kNodeIds = {15, 26, 27, 28, 29, 30, 40, 50, 51, 54, 127};

bool isNodeMember(int16_t id)
{
  return std::find(kNodeIds.begin(), kNodeIds.end(), id) != kNodeIds.end();
}

std::vector<int16_t> builtIds()
{
  std::vector<int16_t> ids;
  for (int16_t id = 0; id <= 57; ++id)
    if (!isNodeMember(id))
      ids.push_back(id);
  return ids;
}

TEST(F11Catalog, EveryIdBindsItsEntryAndUnknownIdsBindAffine)
{
  KVmemberHarness h;
  for (int16_t id = 0; id <= 57; ++id) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily11, id);
    const KVcatalogMember m = KV_catalogMember(kFamily11, id);
    EXPECT_EQ(m.id, id);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(g->inputCode, kConnOne);
    // " Iterations" gives one value per batch.
    EXPECT_EQ(g->outputCode, id == 28 ? kConnUniform : kConnOne);
    EXPECT_TRUE(m.real);
    for (int k = 1; k < 4; ++k)
      EXPECT_EQ(g->inlets[k].source, kSourceUnset) << "inlet " << k;
  }
  for (int16_t id : {int16_t(58), int16_t(100), int16_t(126), int16_t(-1), int16_t(128)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily11, id);
    EXPECT_EQ(g->compute, f11_affine);
    EXPECT_EQ(g->handler, f11_affine_handler);
    EXPECT_EQ(h.displayName(), " Ax+B");
  }
  gfunc* sub = h.bind(kFamily11, kCompiledTreeId);
  EXPECT_EQ(sub->lockFlags & 2, 2);
  EXPECT_TRUE(KV_catalogMember(kFamily11, kCompiledTreeId).real);
  EXPECT_EQ(KV_familyMemberCount(kFamily11), 59);
}

// Display names, labels (at the defaults) and parameter counts, byte for byte.
const KVnameRow kNames[] = {
    {0, " Ax+B", 2, {"Scaling ", "Offset ", ""}},
    {1, " Sin x", 3, {"Frequency ", "Phase ", "Amplitude "}},
    {2, " x power A", 2, {"Power ", "Scale ", ""}},
    {3, " A - x", 1, {"Level ", "", ""}},
    {4, " x + A sin Bx", 2, {"Amplitude ", "Frequency ", ""}},
    {5, " Random", 3, {"Amplitude ", "Frequency ", "Phase "}},
    {6, " Abs x", 0, {"", "", ""}},
    {7, " Power sin", 3, {"Frequency ", "Phase ", "Power "}},
    {8, " Gaussian ", 3, {"Power ", "Phase ", "Amplitude "}},
    {9, " Saw wave", 3, {"Frequency ", "Phase ", "Amplitude "}},
    {10, " Clip", 3, {"Contrast ", "Offset ", "Cutoff "}},
    {11, " A/x", 1, {"Amplitude ", "", ""}},
    {12, " A(1-exp(-x))", 1, {"Amplitude ", "", ""}},
    {13, " C Log (Cx+B)", 3, {"Amount ", "Offset B ", "Scale C "}},
    {14, " A/(xx+A-1)", 1, {"Amplitude ", "", ""}},
    {16, " x(Sin x)", 3, {"Frequency ", "Phase ", "Amplitude "}},
    {17, " Cubic Clip", 2, {"Amplitude ", "Offset ", ""}},
    {18, " Sphere", 1, {"Radius ", "", ""}},
    {19, " Exp : B(A power X)", 2, {" A ", "Amplitude ", ""}},
    {20, " x+A", 1, {"Offset ", "", ""}},
    {21, " Power slope", 3, {"Size ", "Phase ", "Power "}},
    {22, " A - ABS(x)", 2, {"Size ", "Offset ", ""}},
    {23, " Floor", 2, {"Floor level ", "Roof level ", ""}},
    {24, " Smooth Abs x", 1, {"Amount ", "", ""}},
    {25, " Randomize", 3, {"Amount ", "Frequency ", "Phase "}},
    {31, " U wave", 3, {"Frequency ", "Phase ", "Amplitude "}},
    {32, " Quantize", 3, {"Frequency ", "Amount ", "Smoothing "}},
    {33, " Sin(Bx)/sin(x)", 3, {"Frequency ", "Harmonics ", "Amplitude "}},
    {34, " Plateau ", 3, {"Slope ", "Size ", "Amplitude "}},
    {35, " Fractal noise", 3, {"Amplitude ", "Frequency ", "Phase "}},
    {36, " Grains", 3, {"Frequency ", "Size ", "Amplitude "}},
    {37, " Periodic Random", 3, {"Frequency ", "Phase ", "Amplitude "}},
    {38, " Tile wave", 3, {"Frequency ", "Phase ", "Amplitude "}},
    {39, " Split & stretch", 3, {"Amount ", "Offset ", "Smooth "}},
    {41, " Discrete Random", 3, {"Amplitude ", "Frequency ", "Phase "}},
    {42, " Contrast", 2, {"Contrast amount ", "Offset ", ""}},
    {43, " Mirror", 3, {"Scaling ", "Offset ", "Smoothing "}},
    {44, " Multi Perlin noise", 3, {"Amplitude ", "Octaves ", "Frequency "}},
    {45, " Smooth Steps", 3, {"Amplitude ", "Randomness ", "Frequency "}},
    {46, " Saw", 3, {"Right Slope ", "Offset ", "Amplitude "}},
    {47, " Linear Random", 3, {"Amplitude ", "Frequency ", "Phase "}},
    {48, " x squared", 2, {"Amount ", "Scale ", ""}},
    {49, " Smooth floor", 3, {"Floor level ", "Roof level ", "Smoothness "}},
    {52, " Modulo ", 3, {"Frequency ", "Phase ", "Amplitude "}},
    {53, " Semitones Seq ", 3, {"Loops ", "Phase ", "Amplitude "}},
    {55, " Math utils #", 1, {" x*x #", "", ""}},
    {56, " Tech Waves #", 3, {" Square Pulse med #", "Amplitude ", "Frequency "}},
    {57, " Variable Steps #", 3, {" Random Steps soft #", "Amplitude ", "Frequency "}},
};

TEST(F11Catalog, NamesLabelsAndParameterCounts)
{
  KVmemberHarness h;
  for (const KVnameRow& row : kNames)
    KV_expectNameAndLabels(h, kFamily11, row);
  // Power slope counts three parameters: its B default of -1 is a value.
  EXPECT_EQ(h.bind(kFamily11, 21)->B, -1);
}

// The label of A of the mode-list members follows trunc(A); outside the
// list message 0 stores A and copies no label.
TEST(F11Catalog, ModeLabels)
{
  struct Row
  {
    int16_t id;
    double A;
    const char* label;
  };
  const Row rows[] = {
      {55, 9, " unity  #"},
      {55, 13.9, " roofed 4-abs(x) #"},
      {55, 14, ""},
      {55, -0.5, " x*x #"},
      {55, -1, ""},
      {56, 9, " Sparce Pulse hard #"},
      {56, 12, " Sparce Pulse hard #"},
      {56, 26, " Random soft #"},
      {56, 27, ""},
      {56, 1e300, ""},
      {57, 3, " Random Steps B hard #"},
      {57, 7, " Randomized Steps C soft #"},
      {57, 8, ""},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.id << " A " << row.A);
    gfunc* g = h.bind(kFamily11, row.id);
    g->A = row.A;
    double value = 0;
    EXPECT_EQ(h.send(kMsgParamA, &value), row.label);
    EXPECT_EQ(value, row.A);
  }
  EXPECT_EQ(h.bind(kFamily11, 55)->rangeClass[0], kRangeChoice);
  EXPECT_NE(h.bind(kFamily11, 56)->rangeClass[0], kRangeChoice);
}

const KVrangeRow kRanges[] = {
    {0, {1, 0, -1}, {-8, -16}, {8, 16}},
    {1, {1, 0, kPi / 2}, {-8, -4 * kPi, 0}, {8, 4 * kPi, 16}},
    {2, {1, 1, -1}, {0.125, 0.00390625}, {16, 4}},
    {3, {1, -1, -1}, {0}, {16}},
    {4, {1.5, kPi, -1}, {0, -2}, {2, 4}},
    {5, {1, 1, 0}, {-8, 0, -32}, {8, 16, 32}},
    {6, {-1, -1, -1}, {}, {}},
    {7, {2, 1, 1}, {0, -4 * kPi, 0}, {4, 4 * kPi, 4}},
    {8, {1, 0, kPi}, {0.0001, -4 * kPi, 0}, {128, 4 * kPi, 8}},
    {9, {1, 0, kPi / 2}, {-8, -4 * kPi, 0}, {8, 4 * kPi, 16}},
    {10, {1, 0, 4}, {0.125, -8, 0.25}, {8, 8, 16}},
    {11, {1, -1, -1}, {-4}, {4}},
    {12, {1, -1, -1}, {0.25}, {8}},
    {13, {1, 1, 1}, {0, 0, 0.5}, {1, kE, 4}},
    {14, {1.25, -1, -1}, {1.05}, {2}},
    {16, {2, 0, 1}, {0.125, -2 * kPi, 0.25}, {4, 2 * kPi, 4}},
    {17, {2, 0, -1}, {1, -0.5}, {16, 1.5}},
    {18, {1, -1, -1}, {0.125}, {2 * kPi}},
    {19, {1.2, 1, -1}, {0.0625, 0.0625}, {kE, 2}},
    {20, {0, -1, -1}, {-32}, {32}},
    {21, {4, -1, 8}, {0.25, -16, 0.125}, {8, 16, 16}},
    {22, {2, 0, -1}, {1, -8}, {4, 8}},
    {23, {0, 8, -1}, {-16, 0}, {0, 64}},
    {24, {1, -1, -1}, {0.125}, {2}},
    {25, {1, 1, 0}, {0, 0, -16}, {8, 8, 16}},
    {31, {1, 0, kPi / 2}, {0, -4 * kPi, 0}, {8, 4 * kPi, 4}},
    {32, {1, 1, 0}, {0.125, 0, 0}, {16, 1, 1}},
    {33, {1, 0, kPi / 2}, {0, 0, 0}, {8, 16, 2}},
    {34, {4, 4, 4}, {0.0625, -4, -8}, {8, 20, 8}},
    {35, {4, 1, 0}, {-8, 0, -32}, {8, 16, 32}},
    {36, {4 / kPi, 0.5, 2}, {0, 0, 0}, {8, 1, 16}},
    {37, {2, 0, 4}, {0, -32, 0}, {8, 32, 16}},
    {38, {1, 0, kPi / 2}, {0, -4 * kPi, 0}, {8, 4 * kPi, 16}},
    {39, {2, 0, 0.5}, {0, -4 * kPi, 0}, {16, 4 * kPi, 1}},
    {41, {4, 1, 0}, {0, 0, -32}, {8, 16, 32}},
    {42, {0.5, 0, -1}, {-1, -4}, {1, 4}},
    {43, {1, 1, 0}, {0, -32, 0}, {4, 32, 1}},
    {44, {4, 4, 2}, {-8, 1, 0}, {8, 128, 32}},
    {45, {0.9, 1, 1}, {0, 0, 0.0625}, {1, 1, 8}},
    {46, {2, 0, 4}, {0, -4, 0}, {32, 4, 8}},
    {47, {4, 1, 0}, {-8, 0, -32}, {8, 16, 32}},
    {48, {1, 4, -1}, {0, 1}, {1, 32}},
    {49, {0, 2, 0.125}, {-16, 0, 0}, {8, 64, 4}},
    {52, {2, -1, 1}, {0, -8, 0}, {4 * kPi, 8, 16}},
    {53, {4, 32, 1}, {2, 0, 0}, {32, 64, 8}},
    {55, {0.5, -1, -1}, {0}, {13}},
    {56, {1, 1, 1}, {0, 0, 0}, {26, 16, 32}},
    {57, {2, 1, 1}, {0, 0, 0}, {7, 16, 32}},
};

// The defaults of message 6 (-1 where a parameter is absent) and the values
// message 4 gives at the two ends of the normalised range.
TEST(F11Catalog, DefaultsAndNormalisedRangeEnds)
{
  KVmemberHarness h;
  for (const KVrangeRow& row : kRanges)
    KV_expectDefaultsAndRangeEnds(h, kFamily11, row);
  EXPECT_EQ(std::size(kRanges), builtIds().size());
}

// Message 5 inverts message 4; the whole-number parameters come back at the
// start of their step.
TEST(F11Catalog, MessageFiveInvertsMessageFour)
{
  KVmemberHarness h;
  for (int16_t id : builtIds()) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily11, id);
    double a = 0.3, b = 0.3, c = 0.3;
    h.send(kMsgFromNormalized, &a, &b, &c);
    a = b = c = -7;
    h.send(kMsgToNormalized, &a, &b, &c);
    double expected[3] = {0.3, 0.3, 0.3};
    if (id == 55)
      expected[0] = 3.0 / 13;
    if (id == 56)
      expected[0] = 7.0 / 26;
    if (id == 57)
      expected[0] = 2.0 / 7;
    if (id == 53)
      expected[0] = (11.0 - 2) / 30;
    if (id == 33)
      expected[1] = 4.0 / 16;
    const double got[3] = {a, b, c};
    for (int p = 0; p < 3; ++p)
      EXPECT_NEAR(got[p], p < g->paramCount ? expected[p] : -7, 1e-12) << "parameter " << p;
  }
}

// Message 8 writes back the parameters it holds in range.
TEST(F11Catalog, MessageEightHoldsParameters)
{
  struct Row
  {
    int16_t id;
    int param;
    double value;
    double held;
  };
  const Row rows[] = {
      {2, 1, -1, 1},         {2, 1, -3, 1},       {2, 1, -0.5, -0.5}, {17, 1, -1, 0},
      {17, 1, -0.75, -0.75}, {5, 1, -3, 3},       {52, 0, 0, 1e-6},   {52, 0, -2, 1e-6},
      {52, 0, 3, 3},         {32, 2, -0.5, 0},    {32, 2, 0.5, 0.5},  {43, 2, -1, 0.0001},
      {43, 2, 3, 1},         {43, 2, 0.25, 0.25}, {21, 1, -1, -1},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.id << " param " << row.param << " = " << row.value);
    gfunc* g = h.bind(kFamily11, row.id);
    KV_param(g, row.param) = row.value;
    h.precompute();
    EXPECT_EQ(KV_param(g, row.param), row.held);
  }
  // Quantize also raises the A of every keyframe to at least 0.
  gfunc* g = h.bind(kFamily11, 32);
  g->keyframes[3].A = -2;
  g->keyframes[5].A = 1.5;
  h.precompute();
  EXPECT_EQ(g->keyframes[3].A, 0);
  EXPECT_EQ(g->keyframes[5].A, 1.5);
}

// Message 9 converts parameters of old trees: A (and the keyframe A values)
// times pi or pi/2; C Log divides A by 16 and sets B = C = 1.
TEST(F11Catalog, MessageNineConvertsOldTrees)
{
  struct Row
  {
    int16_t id;
    int16_t version;
    double factor;  // 0: not converted
  };
  const Row rows[] = {
      {1, 15, kPi},  {1, 16, 0},  {16, 15, kPi},     {16, 16, 0}, {31, 15, kPi},     {31, 16, 0},
      {33, 15, kPi}, {33, 16, 0}, {38, 15, kPi / 2}, {38, 16, 0}, {37, 15, kPi / 2}, {37, 16, 0},
      {9, 16, kPi},  {9, 17, 0},  {9, 3, kPi},       {5, 1, 0},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.id << " version " << row.version);
    gfunc* g = h.bind(kFamily11, row.id);
    h.setParams(0.75, 3, 4);
    for (KVparamTriple& key : g->keyframes)
      key = {0.5, 3, 4};
    g->owner->version = row.version;
    h.send(kMsgConvertOld);
    g->owner->version = kTreeVersion;
    const double f = row.factor == 0 ? 1 : row.factor;
    EXPECT_EQ(g->A, 0.75 * f);
    EXPECT_EQ(g->B, 3);
    for (const KVparamTriple& key : g->keyframes) {
      EXPECT_EQ(key.A, 0.5 * f);
      EXPECT_EQ(key.C, 4);
    }
  }
  for (int16_t version : {int16_t(15), int16_t(16)}) {
    SCOPED_TRACE(version);
    gfunc* g = h.bind(kFamily11, 13);
    h.setParams(0.8, 2, 3);
    for (KVparamTriple& key : g->keyframes)
      key = {0.5, 2, 3};
    g->owner->version = version;
    h.send(kMsgConvertOld);
    g->owner->version = kTreeVersion;
    const bool old = version == 15;
    EXPECT_EQ(g->A, old ? 0.05 : 0.8);
    EXPECT_EQ(g->B, old ? 1 : 2);
    EXPECT_EQ(g->C, old ? 1 : 3);
    EXPECT_EQ(g->keyframes[7].A, 0.5);
    EXPECT_EQ(g->keyframes[7].B, old ? 1 : 2);
    EXPECT_EQ(g->keyframes[7].C, old ? 1 : 3);
  }
}

// Members that compute a uniform input once, without the marker test.
bool hasUniformPath(int16_t id)
{
  return id == 0 || id == 1 || id == 8 || id == 19 || id == 20 || id == 34;
}

KVbatch rampX()
{
  KVbatch x;
  for (int i = 0; i < kBatchCapacity; ++i)
    x[i] = -3.1 + 0.41 * i;
  return x;
}

// Every built member at its defaults (and Math utils in every mode through
// the mode test): whole batches against single samples, only the batch's
// samples written, uniform inputs, the marker and statelessness.
class F11BuiltMember : public ::testing::TestWithParam<int16_t>
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily11, GetParam());
    h_.prepare();
  }
  KVbatch run(const KVtestInput& x, int n = kBatchCapacity)
  {
    return h_.run(x, KVtestInput::fill(0), n);
  }
  KVmemberHarness h_;
  gfunc* g_ = nullptr;
};

TEST_P(F11BuiltMember, OneBatchOf16EqualsSixteenBatchesOfOne)
{
  const KVtestInput x = KVtestInput::samples(rampX());
  const KVbatch whole = run(x);
  for (int i = 0; i < kBatchCapacity; ++i) {
    const double one = run(KVtestInput::fill(x.data[i]), 1)[0];
    if (std::isnan(whole[i]))
      EXPECT_TRUE(std::isnan(one)) << i;
    else
      EXPECT_EQ(one, whole[i]) << "sample " << i;
  }
}

TEST_P(F11BuiltMember, WritesOnlyTheSamplesOfTheBatch)
{
  for (double& v : g_->outputs[0])
    v = 777;
  run(KVtestInput::samples(rampX()), 5);
  for (int i = 5; i < kBatchCapacity; ++i)
    EXPECT_EQ(g_->outputs[0][i], 777) << i;
}

// A uniform source gives its element 0 to every sample.
TEST_P(F11BuiltMember, UniformInputReadsOnlyItsFirstElement)
{
  const KVbatch perSample = run(KVtestInput::fill(1.3));
  const KVbatch uniform = run(KVtestInput::uniform(1.3));
  EXPECT_EQ(perSample, uniform);
}

// The marker passes through every member, except the uniform paths, which
// compute from a uniform marker as from any value.
TEST_P(F11BuiltMember, MarkedSamplesGiveTheMarker)
{
  const KVbatch out = run(KVtestInput::samples({gINFINITY, 0.5, 3 * gINFINITY}), 3);
  EXPECT_EQ(out[0], gINFINITY);
  EXPECT_EQ(out[2], gINFINITY);
  EXPECT_LT(out[1], gINFINITY);
  if (!hasUniformPath(GetParam())) {
    EXPECT_EQ(run(KVtestInput::uniform(gINFINITY, 0.5))[7], gINFINITY);
  }
}

TEST_P(F11BuiltMember, SameBatchSameValues)
{
  const KVtestInput x = KVtestInput::samples(rampX());
  const KVbatch first = run(x);
  run(KVtestInput::fill(9));
  const KVbatch again = run(x);
  for (int i = 0; i < kBatchCapacity; ++i)
    if (!std::isnan(first[i])) {
      EXPECT_EQ(first[i], again[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(All, F11BuiltMember, ::testing::ValuesIn(builtIds()),
                         [](const ::testing::TestParamInfo<int16_t>& member) {
                           return "id" + std::to_string(member.param);
                         });

// The uniform paths compute once from element 0 and do not test it for the
// marker: Sin x, Gaussian and Plateau turn a uniform marker into a value.
TEST(F11Uniform, UniformPathsTakeElementZeroWithoutTheMarkerTest)
{
  struct Row
  {
    int16_t id;
    double A, B, C;
    double x0;
    double expected;
  };
  const Row rows[] = {
      {0, 2, 0.5, -1, 1.25, 3}, {20, 1.5, -1, -1, 1.25, 2.75},
      {19, 2, 3, -1, 3, 24},    {1, 1, 0, 2, 1e250, 2 * std::sin(1e250)},
      {8, 1, 0, 3, 1e250, 0},   {34, 4, 4, 4, 1e250, 0},
      {34, 1, 0.5, -2, 0.5, 0},
  };
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    h.bind(kFamily11, row.id);
    h.setParams(row.A, row.B, row.C);
    h.prepare();
    const KVbatch out = h.run(KVtestInput::uniform(row.x0, gINFINITY), KVtestInput::fill(0));
    for (int i = 0; i < kBatchCapacity; ++i)
      EXPECT_EQ(out[i], row.expected) << i;
  }
}

// Ax+B on a packed colour source maps its three blocks into outputs 1 to 3,
// markers included.
TEST(F11Uniform, AffineMapsPackedBlocks)
{
  for (int16_t channels : {int16_t(2), int16_t(3)}) {
    SCOPED_TRACE(channels);
    KVmemberHarness h;
    gfunc* g = h.bind(kFamily11, 0);
    h.setParams(2, 1, -1);
    KVtestInput in;
    in.channels = channels;
    for (int i = 0; i < 4 * kBatchCapacity; ++i)
      in.data[i] = 0.25 * i;
    in.data[20] = gINFINITY;
    h.setInput(0, in);
    h.run(7);
    for (int block = 0; block < 3; ++block)
      for (int i = 0; i < 7; ++i)
        EXPECT_EQ(g->outputs[block][i], 2 * in.data[block * kBatchCapacity + i] + 1)
            << block << " " << i;
  }
}

}  // namespace
