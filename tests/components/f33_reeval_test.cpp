// The f33 members that re-run their sources, and the conditional z set:
// 3D Normal on small document trees (its default normal, the inputs and
// master arrays left as they were, a chain of 31 Normals within a counted
// bound), the elevation and density slices over a probe field (slices and
// their count, hits and misses, links restored byte for byte, compiled
// fields with their entry components), and the ring of Conditional z set.
#include "components/f33/f33_reeval.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/f11_tree_fixture.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;
constexpr double kPi = std::numbers::pi;

TEST(F33Reeval, NamesAndMaps)
{
  KVmemberHarness h;
  const KVnameRow names[] = {
      {23, " 3D Normal", 2, {"Magnitude ", "Distribution ", ""}},
      {25, " 3D elevation slices", 3, {" Scale ", " Slope ", "Offset z "}},
      {26, " 3D density slices", 3, {"Scale ", "Surface level ", "Offset z "}},
      {32, " Conditional z set", 2, {" Threshold ", " Minimum ", ""}},
  };
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily33, row);
  const KVrangeRow ranges[] = {
      {23, {1, 0.25, -1}, {0, 0, 0}, {4, 2, 0}},
      {25, {1, 0.5, 0}, {0.25, 0, -32}, {8, 4, 32}},
      {26, {1, 1, 0}, {0.25, 0.125, -16}, {4, 4, 16}},
      {32, {1, 0, -1}, {0, 0, 0}, {32, 1, 0}},
  };
  for (const KVrangeRow& row : ranges)
    KV_expectDefaultsAndRangeEnds(h, kFamily33, row);
}

// ---- 3D Normal on document trees ---------------------------------------------------

class F33NormalTree : public KVsmallTreeTest
{
protected:
  KVbatch x_{}, y_{};

  void SetUp() override
  {
    KVsmallTreeTest::SetUp();
    for (int i = 0; i < kBatchCapacity; ++i) {
      x_[i] = -2.3 + 0.37 * i;
      y_[i] = 0.1 * i - 0.7;
    }
  }

  void expectMastersUntouched(int n)
  {
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(std::memcmp(&doc_->master[0][i], &x_[i], sizeof(double)), 0) << i;
      EXPECT_EQ(std::memcmp(&doc_->master[1][i], &y_[i], sizeof(double)), 0) << i;
    }
    EXPECT_EQ(doc_->tree.iterationStep, 0);
  }
};

// Input 1 passes the master x, input 3 is flat: the normal points along z
// with length (2 + A) e / sqrt(e^2 + 2.5e-7 B), about 2.683 at the defaults.
TEST_F(F33NormalTree, DefaultNormalOfAFlatField)
{
  add(kFamily21, 0, 0, {}, 1, 0, 0);  // x
  add(kFamily21, 0, 0, {}, 0, 0, 5);  // 5
  gfunc* g = add(kFamily33, 23, 1, {0, 0, 1});
  prepareTree();
  const inletinfos before[4] = {g->inlets[0], g->inlets[1], g->inlets[2], g->inlets[3]};
  runBatch(x_, y_, 9);
  const double e = kF33normalStep;
  const double expected = 3 * e / std::sqrt(e * e + 2.5e-7 * 0.25);
  EXPECT_NEAR(expected, 2.683, 5e-4);
  for (int i = 0; i < 9; ++i) {
    EXPECT_NEAR(g->outputs[0][i], 0, 1e-9) << i;
    EXPECT_NEAR(g->outputs[1][i], 0, 1e-9) << i;
    EXPECT_NEAR(g->outputs[2][i], expected, 1e-6) << i;
  }
  EXPECT_EQ(std::memcmp(before, g->inlets, sizeof before), 0);
  expectMastersUntouched(9);
}

// A height field z = 3x + 4y: the normal (3e, 4e, e) scaled to 2 + A, with a
// marked x giving three markers.
TEST_F(F33NormalTree, NormalOfAPlane)
{
  add(kFamily21, 0, 0, {}, 1, 0, 0);  // x
  add(kFamily21, 0, 0, {}, 3, 4, 0);  // 3x + 4y
  gfunc* g = add(kFamily33, 23, 1, {0, 0, 1}, 2, 0, -1);
  prepareTree();
  runBatch(x_, y_, 4);
  const double len = std::sqrt(26.0);
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(g->outputs[0][i], 4 * 3 / len, 1e-6) << i;
    EXPECT_NEAR(g->outputs[1][i], 4 * 4 / len, 1e-6) << i;
    EXPECT_NEAR(g->outputs[2][i], 4 * 1 / len, 1e-6) << i;
  }
  expectMastersUntouched(4);
}

TEST_F(F33NormalTree, WithoutASourceTheInputsPass)
{
  gfunc* g = add(kFamily33, 23, 0, {});
  prepareTree();
  runBatch(x_, y_, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(g->outputs[0][i], x_[i]);
    EXPECT_EQ(g->outputs[1][i], y_[i]);
  }
}

int gFieldComputes = 0;
KVComputeProc gFieldCompute = nullptr;

void countedField(gfunc* g)
{
  ++gFieldComputes;
  gFieldCompute(g);
}

// 31 Normals, each fed by the one before: at most two re-runs are under way
// at once, so a batch costs a few thousand computes of the field, not 3^30.
TEST_F(F33NormalTree, ChainOfNormalsStaysBounded)
{
  gfunc* field = add(kFamily21, 0, 0, {}, 1, 1, 0);
  for (int k = 1; k < kMaxComponents; ++k)
    add(kFamily33, 23, uint8_t(k), {k - 1, k - 1, k - 1});
  prepareTree();
  gFieldCompute = field->compute;
  field->compute = countedField;
  gFieldComputes = 0;
  runBatch(x_, y_, 2);
  EXPECT_GT(gFieldComputes, 31);
  EXPECT_LT(gFieldComputes, 5000);
  for (int k = 1; k < kMaxComponents; ++k)
    EXPECT_EQ(f33_rerunState(slot(k)).running, 0) << k;
  expectMastersUntouched(2);
}

// Rendered 256 pixels wide over f21 " Ripples" (an f31 field for the
// density slices): the same bytes on one thread and on four, and not flat.
TEST_F(F33NormalTree, RerunningMembersRenderTheSameOnFourThreads)
{
  struct Case
  {
    int16_t id;
    uint16_t fieldFamily;
    int16_t fieldId;
  };
  for (const Case& c : {Case{23, kFamily21, 15}, Case{25, kFamily21, 15}, Case{26, kFamily31, 0}}) {
    SCOPED_TRACE(c.id);
    add(c.fieldFamily, c.fieldId, 0);
    gfunc* g = add(kFamily33, c.id, 1, {0, 0, 0});
    if (c.id != 23) {
      // The slices read only their field through input 3.
      for (int k = 0; k < 2; ++k) {
        g->sources[k] = nullptr;
        g->inlets[k].source = int16_t(kSourceMasterX + k);
      }
    }
    arb_ServiceChanges(doc_, false);
    const std::vector<uint8_t> one = render(1);
    const std::vector<uint8_t> four = render(4);
    EXPECT_TRUE(one == four);
    bool varies = false;
    for (size_t i = 4; i < one.size() && !varies; i += 4)
      varies = one[i + 1] != one[1] || one[i + 2] != one[2] || one[i + 3] != one[3];
    EXPECT_TRUE(varies);
    arb_Clear(doc_, true, true);
  }
}

// ---- Slices over a probe field -------------------------------------------------------

// The field behind input 3: it gives `value` everywhere and records what it
// reads at every call.
struct Probe
{
  double value = 0;
  int calls = 0;
  bool perSample = true;    // every link into the member's arrays read per sample
  std::vector<double> zs;   // input 3 (density) or input 2 (elevation), sample 0
  double entryReads[3][3];  // compiled field: entry j's inputs at the first call
};
Probe gProbe;

void probeField(gfunc* s)
{
  if (gProbe.calls++ == 0)
    std::memset(gProbe.entryReads, 0, sizeof gProbe.entryReads);
  if (const smalltree* sub = arb_subtreeOf(s)) {
    for (int j = 0; j < std::min<int>(sub->count, 3); ++j)
      for (int k = 0; k < 3; ++k) {
        const inletinfos& in = sub->funcs[j].inlets[k];
        if (gProbe.calls == 1 && in.data != nullptr)
          gProbe.entryReads[j][k] = in.data[0];
      }
  } else {
    const int last = s->family == kFamily31 ? 2 : 1;
    for (int k = 0; k <= last; ++k)
      gProbe.perSample = gProbe.perSample && s->inlets[k].channels == kConnOne;
    gProbe.zs.push_back(s->inlets[last].data[0]);
  }
  std::fill_n(s->outputs[0], KV_batchLength(), gProbe.value);
}

// The member in slot 0 and its field S in slot 1 of the harness's tree; S's
// own inputs read uniform blocks until the member redirects them.
class SliceBench
{
public:
  SliceBench(int16_t id, uint16_t fieldFamily, int16_t fieldId = 0)
  {
    g = h.bind(kFamily33, id);
    smalltree& tree = h.doc()->tree;
    tree.count = 2;
    s = &tree.funcs[1];
    s->doc = h.doc();
    s->owner = &tree;
    setFunc(s, int16_t(fieldFamily), fieldId, kBindDefaults);
    for (int k = 0; k < 4; ++k) {
      s->inlets[k].data = fieldInputs[k].data();
      s->inlets[k].channels = kConnUniform;
    }
    s->compute = probeField;
    gProbe = Probe{};
  }
  ~SliceBench()
  {
    if (sub != nullptr) {
      h.doc()->embedded[0] = nullptr;
      s->funcID = 0;
      s->link = nullptr;
      arb_DisposeSubTree(sub);
    }
  }

  // Gives S a sub-tree whose first components are `entries` (family, level).
  void makeCompiled(std::initializer_list<std::pair<uint16_t, uint8_t>> entries)
  {
    sub = arb_NewSubTree();
    sub->version = kTreeVersion;
    int j = 0;
    for (const auto& [family, level] : entries) {
      gfunc* c = &sub->funcs[j];
      c->doc = h.doc();
      c->owner = sub;
      c->level = level;
      setFunc(c, int16_t(family), 0, kBindDefaults);
      for (int k = 0; k < 3; ++k) {
        c->inlets[k].source = int16_t(kSourceSubtreeInlet1 + k);
        c->inlets[k].data = fieldInputs[k].data();
        c->inlets[k].channels = kConnUniform;
      }
      ++j;
    }
    sub->count = int16_t(j);
    s->funcID = kCompiledTreeId;
    s->link = sub;
    s->auxIndex = 0;
    h.doc()->embedded[0] = sub;
  }

  // Runs n samples at (x, y, z) with input 3 linked to S.
  void run(double x, double y, double z, int n = 4)
  {
    h.setInput(0, KVtestInput::fill(x));
    h.setInput(1, KVtestInput::fill(y));
    h.setInput(2, KVtestInput::fill(z));
    g->sources[2] = s;
    g->inlets[2].data = s->outputs[0];
    g->inlets[2].channels = kConnOne;
    h.run(n);
  }

  // Every link S and its sub-tree hold, as bytes.
  std::vector<unsigned char> links() const
  {
    std::vector<unsigned char> bytes(sizeof s->inlets);
    std::memcpy(bytes.data(), s->inlets, sizeof s->inlets);
    if (sub != nullptr)
      for (int j = 0; j < sub->count; ++j) {
        const auto* p = reinterpret_cast<const unsigned char*>(sub->funcs[j].inlets);
        bytes.insert(bytes.end(), p, p + sizeof sub->funcs[j].inlets);
      }
    return bytes;
  }

  KVmemberHarness h;
  gfunc* g = nullptr;
  gfunc* s = nullptr;
  smalltree* sub = nullptr;
  std::array<std::array<double, kBatchCapacity>, 4> fieldInputs{};
};

void expectOutputs(const gfunc* g, int n, double a, double b, double c)
{
  for (int i = 0; i < n; ++i) {
    EXPECT_NEAR(g->outputs[0][i], a, 1e-12 * (1 + std::fabs(a))) << i;
    EXPECT_NEAR(g->outputs[1][i], b, 1e-12 * (1 + std::fabs(b))) << i;
    EXPECT_NEAR(g->outputs[2][i], c, 1e-12 * (1 + std::fabs(c))) << i;
  }
}

// A field of the wrong family, or none, is not run: (x, y, C + z) and
// (x, y, z).
TEST(F33Slices, WrongFamilyPassesTheInputs)
{
  for (const auto& [id, family, c, z] : {std::tuple{int16_t(25), kFamily31, 2.5, 3.5},
                                         std::tuple{int16_t(26), kFamily21, 2.5, 1.0}}) {
    SCOPED_TRACE(id);
    SliceBench b(id, family);
    b.g->C = c;
    std::fill_n(b.s->outputs[0], kBatchCapacity, 1.0);  // z, as S left it
    b.run(1, 2, 1);
    expectOutputs(b.g, 4, 1, 2, z);
    EXPECT_EQ(gProbe.calls, 0);
    b.g->sources[2] = nullptr;
    b.h.run(4);
    expectOutputs(b.g, 4, 1, 2, z);
  }
}

// Defaults (A 1, B 1, C 0), view origin 0: u = t + 16 > 0 for every slice
// t = -pi + k pi/8, so 16 are run; with C = 17 only t > 1 remains. The
// octave count is held to 1..256.
TEST(F33Slices, DensitySliceCount)
{
  struct Case
  {
    int16_t octaves;
    double c;
    int calls;
  };
  for (const Case& k :
       {Case{16, 0, 16}, Case{16, 17, 5}, Case{0, 0, 1}, Case{-5, 0, 1}, Case{1000, 0, 256}}) {
    SCOPED_TRACE(testing::Message() << k.octaves << " " << k.c);
    SliceBench b(26, kFamily31);
    b.h.doc()->fractal.octaves = k.octaves;
    b.g->C = k.c;
    gProbe.value = -1;  // never above the surface level
    b.run(0.5, 0.5, 0);
    ASSERT_EQ(gProbe.calls, k.calls);
    const double first = k.c == 0 ? -kPi : -kPi + 11 * kPi / 8;
    EXPECT_NEAR(gProbe.zs.front(), first, 1e-12);
    EXPECT_TRUE(gProbe.perSample);
    // Nothing hit: x marked, y scaled.
    expectOutputs(b.g, 4, M, 0.5 / (4 * kPi), M);
  }
}

// A field above the surface level everywhere is hit at the first slice run:
// (X, Y, (d - 16) + u) with u = 16 - pi; S's links come back byte for byte.
TEST(F33Slices, DensityHitAndRestoredLinks)
{
  SliceBench b(26, kFamily31);
  b.h.doc()->viewDepth = 3;
  gProbe.value = 2;
  const std::vector<unsigned char> before = b.links();
  b.run(4 * kPi, -2 * kPi, 9);
  const double u = 16 - kPi;
  expectOutputs(b.g, 4, u, -u / 2, (3 - 16) + u);
  EXPECT_EQ(gProbe.calls, 16);  // hit samples still see every slice
  EXPECT_TRUE(b.links() == before);
}

// A compiled field hands X, Y, Z to its entry components; a one-input entry
// takes Y or Z by its position. x = 0, y = 4 pi: X = 0, Y = u, Z = t.
TEST(F33Slices, DensityCompiledFieldEntries)
{
  const double t = -kPi, u = 16 - kPi;
  struct Case
  {
    const char* what;
    std::initializer_list<std::pair<uint16_t, uint8_t>> entries;
    double reads[3][3];  // entry j, inputs 1-3 (0 where not redirected)
  };
  const Case cases[] = {
      {"three of one level",
       {{kFamily31, 0}, {kFamily11, 0}, {kFamily11, 0}},
       {{0, u, t}, {u, 0, 0}, {t, 0, 0}}},
      {"two of one level", {{kFamily21, 1}, {kFamily11, 1}}, {{0, u, t}, {t, 0, 0}, {0, 0, 0}}},
      {"one entry", {{kFamily11, 0}, {kFamily31, 1}}, {{0, u, t}, {0, 0, 0}, {0, 0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SliceBench b(26, kFamily31);
    b.makeCompiled(c.entries);
    gProbe.value = -1;
    const std::vector<unsigned char> before = b.links();
    b.run(0, 4 * kPi, 0, 1);
    ASSERT_GE(gProbe.calls, 1);
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(gProbe.entryReads[j][k], c.reads[j][k], 1e-12) << j << " " << k;
    EXPECT_TRUE(b.links() == before);
  }
}

// Elevation over a flat field of height 20 at the defaults (A 1, B 0.5,
// C 0), view origin 0: the first slice t = -2 pi hits, f = (t + 16)/(4 pi):
// (f x, f (y - 2 pi) + 8, d - 16 + 4 pi f); S's output 1 keeps the height.
// A field at -100 is never hit: x and S's output 1 marked.
TEST(F33Slices, ElevationHitAndMiss)
{
  SliceBench b(25, kFamily21);
  gProbe.value = 20;
  const std::vector<unsigned char> before = b.links();
  b.run(1, 0, 0);
  const double f = (16 - 2 * kPi) / (4 * kPi);
  expectOutputs(b.g, 4, f, f * -2 * kPi + 8, -16 + 4 * kPi * f);
  EXPECT_EQ(b.s->outputs[0][0], 20);
  EXPECT_NEAR(gProbe.zs.front(), -2 * kPi, 1e-12);
  EXPECT_TRUE(gProbe.perSample);
  EXPECT_TRUE(b.links() == before);

  gProbe = Probe{};
  gProbe.value = -100;
  b.run(1, 0, 0);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(b.g->outputs[0][i], M);
    EXPECT_EQ(b.g->outputs[2][i], M);
    EXPECT_EQ(b.s->outputs[0][i], M);
  }
  // 16 slices widening by (4 - 0.5) 0.00625 each: fewer than 32.
  EXPECT_GT(gProbe.calls, 16);
  EXPECT_LT(gProbe.calls, 32);
  EXPECT_TRUE(b.links() == before);
}

// Octave counts that would loop for ever, or not at all, still end.
TEST(F33Slices, ElevationOctaveCountsEnd)
{
  for (int16_t octaves : {int16_t(0), int16_t(-5), int16_t(32767)}) {
    SCOPED_TRACE(octaves);
    SliceBench b(25, kFamily21);
    b.h.doc()->fractal.octaves = octaves;
    gProbe.value = -100;
    b.run(1, 0, 0);
    EXPECT_GE(gProbe.calls, 1);
    EXPECT_LE(gProbe.calls, 2 * 256 + 1);
  }
}

// A compiled height field: its entries read the slice arrays per sample
// while it runs, and get their links back.
TEST(F33Slices, ElevationCompiledField)
{
  SliceBench b(25, kFamily21);
  b.makeCompiled({{kFamily21, 0}});
  b.sub->funcs[0].inlets[0].source = kSourceMasterX;
  b.sub->funcs[0].inlets[1].source = kSourceMasterY;
  gProbe.value = -100;
  const std::vector<unsigned char> before = b.links();
  b.run(1, 0, 0, 1);
  // Entry 0 read U = A f x (f at t = -2 pi) and V = t.
  const double f = (16 - 2 * kPi) / (4 * kPi);
  EXPECT_NEAR(gProbe.entryReads[0][0], f, 1e-12);
  EXPECT_NEAR(gProbe.entryReads[0][1], -2 * kPi, 1e-12);
  EXPECT_TRUE(b.links() == before);
}

// ---- Conditional z set ---------------------------------------------------------------

// A 1, B 0: inside the unit circle z is taken, outside 0 (or what an earlier
// pass of the loop left); message 8 holds B at 0 or more.
TEST(F33LevelSet, RingAroundTheOrigin)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily33, 32);
  h.setParams(1, -0.5, -1);
  h.prepare();
  EXPECT_EQ(g->B, 0);
  h.setInput(0, KVtestInput::samples({0.5, 0.8, 2, M}));
  h.setInput(1, KVtestInput::samples({0.5, 0.8, 0, 0}));
  h.setInput(2, KVtestInput::fill(7));
  h.run(4);
  const double want[4] = {7, 0, 0, 0};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(g->outputs[2][i], want[i]) << i;
  EXPECT_EQ(g->outputs[0][2], 2);
  // A later pass keeps the earlier values outside the ring.
  h.doc()->tree.iteration = 1;
  h.setInput(2, KVtestInput::fill(9));
  h.setInput(0, KVtestInput::samples({3, 0.1, 2, M}));
  h.run(4);
  const double kept[4] = {7, 9, 0, 0};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(g->outputs[2][i], kept[i]) << i;
  // B 0.5: a ring from r^2 = 0.375 A^2.
  h.doc()->tree.iteration = 0;
  h.setParams(2, 0.5, -1);
  h.setInput(0, KVtestInput::samples({1.2, 1.3, 2.1}));
  h.setInput(1, KVtestInput::samples({0, 0, 0}));
  h.run(3);
  const double ring[3] = {0, 9, 0};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(g->outputs[2][i], ring[i]) << i;
}

}  // namespace
