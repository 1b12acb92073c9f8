// Family f31's built members: the catalog rows (names, labels, maps, codes),
// properties every member keeps (the no-value marker, batch independence,
// the document's fractal settings untouched), the edge values of the
// fields, and the compiled-tree member.
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>
#include <numbers>
#include <set>

#include "components/f31/f31_cells.h"
#include "components/f31/f31_lattice.h"
#include "components/f31/f31_materials.h"
#include "components/f31/f31_multifractal.h"
#include "components/f31/f31_perlin.h"
#include "components/f31/f31_perspective.h"
#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "noise/drivers.h"
#include "noise/noises.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;
constexpr double kPi = std::numbers::pi;

const std::set<int> kReal = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                             14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27,
                             28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41,
                             42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 127};
const std::set<int> kNoiseInput = {22, 25, 26, 27, 28, 29, 31, 33, 35, 39, 43,
                                   44, 45, 46, 47, 49, 50, 51, 52, 53, 54};
// Random Mix reads the master coordinates (input code 1); Pack gives a
// packed output (code 2).
const std::set<int> kMasterInput = {42};
const std::set<int> kPackedOutput = {27};
// Min <-> Max tests each input: a missing x blends y and z.
const std::set<int> kTestsEachInput = {12};
const std::set<int> kFractalFlag = {19, 23, 28, 29, 31, 34, 35, 36, 37, 38,
                                    44, 45, 46, 47, 48, 49, 51, 52, 54};

TEST(F31Catalog, RealIdsCodesAndFlags)
{
  for (int id = 0; id <= 54; ++id) {
    SCOPED_TRACE(id);
    EXPECT_EQ(KV_catalogMember(kFamily31, int16_t(id)).real, kReal.count(id) == 1);
    if (kReal.count(id) == 0)
      continue;
    KVmemberHarness h;
    gfunc* g = h.bind(kFamily31, int16_t(id));
    EXPECT_EQ(g->inputCode, kMasterInput.count(id) ? 1 : (kNoiseInput.count(id) ? 14 : 10));
    EXPECT_EQ(g->freqFlag != 0, kFractalFlag.count(id) == 1);
    EXPECT_EQ(g->outputCode, kPackedOutput.count(id) ? 2 : 1);
    EXPECT_EQ((g->lockFlags & kLockB) != 0, id == kCompiledTreeId);
  }
  KVmemberHarness h;
  for (int id : {55, 126, 200, -3}) {
    gfunc* g = h.bind(kFamily31, int16_t(id));
    EXPECT_EQ(h.displayName(), " Ax+By+Cz") << id;
    EXPECT_EQ(g->compute, KV_catalogMember(kFamily31, 0).compute) << id;
    EXPECT_EQ(g->inputCode, 10);
  }
  gfunc* tree = h.bind(kFamily31, kCompiledTreeId);
  EXPECT_EQ(h.displayName(), "");
  EXPECT_TRUE(tree->lockFlags & kLockB);
  EXPECT_EQ(tree->inputCode, 10);
}

TEST(F31Catalog, NamesLabelsAndMaps)
{
  struct Row
  {
    int id;
    const char* name;
    const char* label[3];
  };
  const Row rows[] = {
      {19, "z Fractal lines", {"Amplitude ", "Phase ", "Frequency "}},
      {48, " z Stone Clusters ", {"Amplitude ", "Phase ", "Frequency "}},
      {50, " 3D Ocean", {" Wave amp ", " Wavelet amp ", "Frequency "}},
      {54, " 3D Altocumulus Clouds", {"Amplitude ", "Banding % ", "Frequency "}},
      {43, " 3D Multi Perlin noise", {"Amplitude ", "Octaves ", "Frequency "}},
      {16, " Random pers", {"Perspective ", "Level ", "Phase "}},
      {127, "", {"Scale ", "Iterations ", ""}},
  };
  KVmemberHarness h;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    h.bind(kFamily31, int16_t(r.id));
    EXPECT_EQ(h.displayName(), r.name);
    double v = 0;
    for (int p = 0; p < 3; ++p)
      EXPECT_EQ(h.send(int16_t(kMsgParamA + p), &v), r.label[p]);
  }
  // Message 4 ends, then 5 back: Multi Perlin's octaves run 1..64.
  h.bind(kFamily31, 43);
  double a = 0, b = 0, c = 1;
  h.send(kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(h.component()->A, -8);
  EXPECT_EQ(h.component()->B, 1);
  EXPECT_EQ(h.component()->C, 16);
  a = 1, b = 1;
  h.send(kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(h.component()->B, 64);
  h.send(kMsgToNormalized, &a, &b, &c);
  EXPECT_DOUBLE_EQ(b, 1);
  EXPECT_DOUBLE_EQ(a, 1);
}

// Per member: the ends of the message-4 maps (n = 0 and n = 1) for A, B, C
// and the defaults of message 6.
struct MapRow
{
  int id;
  double lo[3];
  double hi[3];
  double def[3];
};

constexpr MapRow kMaps[] = {
    {16, {-1, 0, -32}, {1, 2, 32}, {0.5, 0.5, 1}},
    {17, {-1.5, -2, -32}, {1.5, 4, 32}, {0.5, 0.5, 1}},
    {18, {-1, -2, -32}, {1, 4, 32}, {0.5, 1, 1}},
    {19, {0.25, -32, 0}, {2, 32, 4}, {1, 0, 1}},
    {22, {0, -32, 0}, {2, 32, 16}, {1, 0, 2}},
    {23, {0, -32, 0}, {2, 32, 16}, {1, 0, 2}},
    {24, {0, -16, 0}, {8, 16, 16}, {4, 0, 2}},
    {25, {0, -16, 0}, {8, 16, 32}, {4, 0, 2}},
    {26, {-4, -32, 0}, {4, 32, 16}, {2, 0, 2}},
    {28, {0, -16, 0}, {8, 16, 32}, {2, 0, 2}},
    {29, {0, -8, 0}, {4, 8, 8}, {2, 1, 1.5}},
    {30, {0, -16, 0}, {8, 16, 32}, {2, 0, 1}},
    {31, {0, -16, 0}, {8, 16, 32}, {1, 0, 2}},
    {33, {0, -16, 0}, {8, 16, 32}, {4, 0, 2}},
    {34, {0, -32, 0}, {2, 32, 16}, {1, 0, 2}},
    {35, {0, -32, 0}, {2, 32, 16}, {1, 0, 2}},
    {36, {0, -32, 0}, {8, 32, 32}, {1, 0, 2}},
    {37, {0, -32, 0}, {4, 32, 8}, {1, 0, 2}},
    {38, {0, -32, 0}, {2, 32, 16}, {1, 0, 2}},
    {39, {0, -32, 0}, {2, 32, 16}, {1, 0, 2}},
    {43, {-8, 1, 0}, {8, 64, 16}, {4, 4, 2}},
    {44, {0, -32, 0}, {8, 32, 8}, {1, 0, 1}},
    {45, {0, -32, 0}, {2, 32, 16}, {1, 0, 2}},
    {46, {0, -32, 0}, {2, 32, 16}, {1, 0, 2}},
    {47, {0, -32, 0}, {2, 32, 16}, {1, 0, 2}},
    {48, {0, -32, 0}, {16, 32, 32}, {1, 0, 4}},
    {49, {0, -32, 0}, {8, 32, 8}, {1, 0, 1}},
    {50, {0, 0, 0}, {8, 2, 8}, {2, 0.5, 1}},
    {51, {0, 0, 0}, {8, 1, 16}, {4, 0.5, 1}},
    {52, {-4, 0, 0}, {4, 1, 16}, {1, 0.25, 2}},
    {53, {0, -32, 0}, {8, 32, 16}, {2, 0, 2}},
    {54, {0, 0, 0}, {4, 1, 8}, {2, 0.5, 4}},
};

TEST(F31Catalog, MapEndsInverseAndDefaults)
{
  static_assert(std::size(kMaps) == 32);
  KVmemberHarness h;
  for (const MapRow& r : kMaps) {
    SCOPED_TRACE(r.id);
    gfunc* g = h.bind(kFamily31, int16_t(r.id));
    EXPECT_EQ(g->A, r.def[0]);
    EXPECT_EQ(g->B, r.def[1]);
    EXPECT_EQ(g->C, r.def[2]);
    for (double n : {0.0, 1.0, 0.375}) {
      double a = n, b = n, c = n;
      h.send(kMsgFromNormalized, &a, &b, &c);
      const double got[3] = {g->A, g->B, g->C};
      for (int p = 0; p < 3; ++p)
        EXPECT_DOUBLE_EQ(got[p], r.lo[p] + (r.hi[p] - r.lo[p]) * n) << p << " n " << n;
      a = b = c = -1;
      h.send(kMsgToNormalized, &a, &b, &c);
      EXPECT_DOUBLE_EQ(a, n);
      EXPECT_DOUBLE_EQ(b, n);
      EXPECT_DOUBLE_EQ(c, n);
    }
  }
  // The compiled tree: A = n, B = trunc(32 n); defaults 1, 0, absent.
  gfunc* g = h.bind(kFamily31, kCompiledTreeId);
  EXPECT_EQ(g->A, 1);
  EXPECT_EQ(g->B, 0);
  double a = 0.25, b = 0.99, c = 0;
  h.send(kMsgFromNormalized, &a, &b, &c);
  EXPECT_EQ(g->A, 0.25);
  EXPECT_EQ(g->B, 31);
  h.send(kMsgToNormalized, &a, &b, &c);
  EXPECT_EQ(b, 31.0 / 32);
}

// The inputs every property test feeds: x with a marker at sample 3, y and
// z with markers at 5 and 6 (computed with), values crossing negative whole
// numbers.
struct Inputs
{
  KVbatch x, y, z;
};

Inputs propertyInputs()
{
  Inputs in{};
  for (int i = 0; i < kBatchCapacity; ++i) {
    in.x[size_t(i)] = -2.0 + 0.31 * i;
    in.y[size_t(i)] = 1.7 - 0.23 * i;
    in.z[size_t(i)] = 0.05 * i - 0.3;
  }
  in.x[3] = M;
  in.y[5] = M;
  in.z[6] = M;
  return in;
}

TEST(F31Properties, MarkerBatchesAndFractalSettings)
{
  const Inputs in = propertyInputs();
  for (int id : kReal) {
    if (id == kCompiledTreeId)
      continue;
    SCOPED_TRACE(id);
    KVmemberHarness h;
    h.bind(kFamily31, int16_t(id));
    h.doc()->yPixelScale = 40;
    fractalsinfos& fi = h.doc()->fractal;
    fi.phaseFactor = 1.1, fi.rotSin = 0.3, fi.rotCos = 0.95, fi.lacunarity = 2.3, fi.fade = 0.6;
    fi.octaves = 7;
    h.prepare();
    h.setInput(0, KVtestInput::samples(in.x));
    h.setInput(1, KVtestInput::samples(in.y));
    h.setInput(2, KVtestInput::samples(in.z));
    const KVbatch all = h.run();
    if (kTestsEachInput.count(id) == 0) {
      EXPECT_EQ(all[3], M);
    }
    for (int i = 0; i < kBatchCapacity; ++i) {
      h.setInput(0, KVtestInput::fill(in.x[size_t(i)]));
      h.setInput(1, KVtestInput::fill(in.y[size_t(i)]));
      h.setInput(2, KVtestInput::fill(in.z[size_t(i)]));
      const double one = h.run(1)[0];
      if (std::isnan(all[size_t(i)]))
        EXPECT_TRUE(std::isnan(one)) << i;
      else
        EXPECT_EQ(one, all[size_t(i)]) << i;
    }
    // Uniform inputs read element 0 only.
    h.setInput(0, KVtestInput::uniform(0.7));
    h.setInput(1, KVtestInput::uniform(-0.4));
    h.setInput(2, KVtestInput::uniform(0.2));
    const KVbatch u = h.run();
    for (int i = 1; i < kBatchCapacity; ++i)
      EXPECT_EQ(u[size_t(i)], u[0]);
    EXPECT_EQ(fi.phaseFactor, 1.1);
    EXPECT_EQ(fi.rotSin, 0.3);
    EXPECT_EQ(fi.rotCos, 0.95);
    EXPECT_EQ(fi.lacunarity, 2.3);
    EXPECT_EQ(fi.fade, 0.6);
    EXPECT_EQ(fi.octaves, 7);
  }
}

double at(KVmemberHarness& h, double x, double y, double z)
{
  h.setInput(0, KVtestInput::fill(x));
  h.setInput(1, KVtestInput::fill(y));
  h.setInput(2, KVtestInput::fill(z));
  return h.run(1)[0];
}

TEST(F31Edges, PerspectiveDepth)
{
  for (double z : {-3.0, 0.0, 0.4, 7.0}) {
    const F31depth d = f31_depthScale(0, z);
    EXPECT_EQ(d.s, 2);
    EXPECT_EQ(d.e, std::exp(-2.0));
  }
  EXPECT_EQ(f31_depthScale(1, 1.9).s, 8);  // d = 0.1
  KVmemberHarness h;
  h.bind(kFamily31, 16);
  h.setParams(0, 0, 0);
  const double base = at(h, 0.3, 0.2, 0.5);
  h.setParams(0, 1.5, 0);
  EXPECT_NEAR(at(h, 0.3, 0.2, 0.5) - base, 16 * 1.5 * std::exp(-2.0), 1e-12);
}

TEST(F31Edges, LatticeFields)
{
  KVmemberHarness h;
  h.bind(kFamily31, 24);
  h.setParams(3, 0, 1);
  EXPECT_EQ(at(h, 0, 0, 0), 0);
  EXPECT_NEAR(at(h, 2 * kPi, 0, 0), 3, 1e-12);
  EXPECT_NEAR(at(h, 0, -2 * kPi, 0), 3, 1e-12);
  EXPECT_EQ(f31_randomLinesLayers(3), 1);
  EXPECT_EQ(f31_randomLinesLayers(0), 1);
  EXPECT_EQ(f31_randomLinesLayers(17), 4);
  EXPECT_EQ(f31_randomLinesLayers(500), 20);
  // Stucco: a Perlin value below -80 contributes 0; z Fractal lines is 0 at z >= pi.
  h.bind(kFamily31, 19);
  h.prepare();
  for (double x : {-1.3, 0.2, 2.9})
    EXPECT_EQ(at(h, x, 0.4, kPi), 0);
}

TEST(F31Edges, CellsFlatBeyondTheBandAndAtFeaturePoints)
{
  for (int id : {53, 26}) {
    KVmemberHarness h;
    h.bind(kFamily31, int16_t(id));
    h.doc()->yPixelScale = 8;  // L = 2
    for (double A : {1.5, -1.5}) {
      h.setParams(A, 0, 8);  // k2 = 4 = P/2: t = 1
      h.prepare();
      for (double x : {-0.77, 0.1, 1.3})
        EXPECT_DOUBLE_EQ(at(h, x, 0.3, -0.2), 0.5 * std::fabs(4 * A)) << id << " " << A;
    }
  }
  KVmemberHarness h;
  h.bind(kFamily31, 26);
  const KVtables* t = &h.doc()->tables;
  // A feature point of cell (2, -3, 1): the bubble value is 0 there.
  const uint32_t e = f31_cellHash(t, 2, -3, 1);
  const double* r = t->rndVec3D[e];
  const double px = 2 - 0.35 * r[0], py = -3 - 0.35 * r[1], pz = 1 - 0.35 * r[2];
  EXPECT_NEAR(f31_nearest(t, px, py, pz, 0.35), 0, 1e-20);
  // Beyond the integer range no layer: 0.
  EXPECT_EQ(f31_nearest(t, 1e300, 0, 0, 0.35), 0);
}

TEST(F31Edges, OctaveCountZeroIsFlat)
{
  for (int id : {35, 36, 37, 38, 44, 45, 46, 47}) {
    KVmemberHarness h;
    h.bind(kFamily31, int16_t(id));
    h.doc()->fractal.octaves = 0;
    h.prepare();
    for (double x : {-1.2, 0.4, 2.2})
      EXPECT_EQ(at(h, x, 0.7, 1.5), 0) << id;
  }
  KVmemberHarness h;
  h.bind(kFamily31, 37);
  h.prepare();
  for (double z : {0.0, -2.0})
    EXPECT_EQ(at(h, 0.4, 0.3, z), 0);
}

TEST(F31Edges, OceanAndSilexBodies)
{
  KVmemberHarness h;
  h.bind(kFamily31, 50);
  fractalsinfos fi = h.doc()->fractal;
  fi.tables = &h.doc()->tables;
  double state = 1;
  EXPECT_EQ(f31_waveletNoise(fi.tables, 3, -2, 0), 0);
  EXPECT_EQ(oceanwavelets(&fi, 3, -2, 0, 0.56, &state, 0), kF31waveletCap);
  EXPECT_EQ(state, kF31waveletCap);
  // Swell gone: k2 far above the density gives the wavelets alone.
  h.doc()->yPixelScale = 4;  // L = 1
  h.setParams(8, 0.5, 8);    // t = 7 / (0.5238 * 8) >= 1
  h.prepare();
  h.setParams(0, 0.5, 8);
  h.precompute();
  const double noSwell = at(h, 0.3, 0.8, 0.5);
  h.setParams(8, 0.5, 8);
  h.precompute();
  EXPECT_EQ(at(h, 0.3, 0.8, 0.5), noSwell);
  // Silex: after octave 0 the accumulator never rises.
  dvector2d acc{};
  double s = 0;
  fpsSilex(&fi, 0.37, 0.91, -0.2, 0.5, &s, 1, 0, &acc);
  for (short j = 1; j < 8; ++j) {
    const double before = acc.x;
    fpsSilex(&fi, 0.37 * (j + 1), 0.91 * j, -0.2 * j, 0.5, &s, std::pow(0.4, j), j, &acc);
    EXPECT_LE(acc.x, before) << j;
  }
}

TEST(F31Edges, MultiPerlinBandAndStuccoFloor)
{
  KVmemberHarness h;
  h.bind(kFamily31, 43);
  fractalsinfos fi = h.doc()->fractal;
  fi.tables = &h.doc()->tables;
  // B = 1: the band ends at the base frequency k2 = C/4; a density below the
  // base frequency does not lower it further.
  for (double density : {1000.0, 0.2}) {
    h.doc()->yPixelScale = density;
    for (double B : {1.0, 64.0}) {
      if (B == 64.0 && density > 1)
        continue;
      h.setParams(4, B, 2);
      h.prepare();
      for (double x : {-1.7, 0.3}) {
        const double want =
            fractal3D_procptr(&fi, fPerlinNoise3D, x, 0.6, -0.4, 0.5, 0.5, 4.0 / 128, 0, 0.5);
        EXPECT_EQ(at(h, x, 0.6, -0.4), want) << density << " " << B;
      }
    }
  }
  // The stucco basis is 0 wherever the noise is below -80.
  int below = 0;
  for (int i = 0; i < 400; ++i) {
    const double x = -3 + 0.0371 * i, y = 0.53 * i, z = 1.1 - 0.017 * i;
    const double v = fPerlinNoise3DStucco(fi.tables, x, y, z);
    if (fPerlinNoise3D(fi.tables, x, y, z) < -80) {
      EXPECT_EQ(v, 0) << i;
      ++below;
    } else {
      EXPECT_GE(v, 0) << i;
    }
  }
  EXPECT_GT(below, 0);
}

// Crystal noise and Puffy clouds drive their octaves with their own settings,
// whatever the document holds (and leave the document's alone).
TEST(F31Edges, CrystalAndPuffyUseTheirOwnSettings)
{
  for (int id : {28, 49}) {
    KVmemberHarness h;
    h.bind(kFamily31, int16_t(id));
    h.prepare();
    const double plain = at(h, 0.4, -0.9, 0.3);
    fractalsinfos& fi = h.doc()->fractal;
    if (id == 28)
      fi.phaseFactor = 0.7, fi.lacunarity = 2.5, fi.fade = 0.3;
    else
      fi.phaseFactor = 0.7, fi.rotSin = 0.2, fi.rotCos = 0.98;
    EXPECT_EQ(at(h, 0.4, -0.9, 0.3), plain) << id;
    EXPECT_EQ(fi.phaseFactor, 0.7);
  }
}

// Altocumulus leaves its banding value in the record's first parameter;
// the stone body its two octave-0 values.
TEST(F31Edges, BodiesLeaveTheirParameterFields)
{
  KVmemberHarness h;
  h.bind(kFamily31, 48);
  h.prepare();
  fractalsinfos& fi = h.doc()->fractal;
  fi.paramA = fi.paramB = 99;
  at(h, 0.3, 0.2, 1.0);  // w = z/2 = 0.5: p1 = 0.4 sin(pi/2) - 1.35
  EXPECT_NEAR(fi.paramA, 0.4 - 1.35, 1e-15);
  EXPECT_GE(fi.paramB, 0);
  h.bind(kFamily31, 54);
  h.prepare();
  fi.paramA = 99;
  at(h, 0.3, 0.2, 1.0);
  EXPECT_LE(fi.paramA, 2.5);
}

// ---- The compiled tree ----------------------------------------------------------

void countingProbe(gfunc* c)
{
  for (int i = 0; i < KV_batchLength(); ++i)
    c->outputs[0][i] = c->inlets[0].data[i] >= M ? M : c->owner->iteration + 1;
}

class F31Recurtree : public ::testing::Test
{
protected:
  void SetUp() override
  {
    g_ = h_.bind(kFamily31, kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
  }
  void TearDown() override { arb_DisposeSubTree(sub_); }

  gfunc* attach()
  {
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, kFamily31, 0, kBindDefaults);
    c->inlets[0].source = kSourceSubtreeInlet1;
    c->inlets[1].source = kSourceSubtreeInlet1 + 1;
    c->inlets[2].source = kSourceSubtreeInlet1 + 2;
    c->compute = countingProbe;
    sub_->count = 1;
    h_.doc()->embedded[0] = sub_;
    g_->auxIndex = 0;
    g_->link = sub_;
    return c;
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;
};

TEST_F(F31Recurtree, PassesScaleAndMarker)
{
  attach();
  const KVtestInput x = KVtestInput::samples({1, M});
  struct Case
  {
    double bAtPrepare;
    double bAfter;
    double wantB;
    double lastPass;
  };
  const Case cases[] = {{40, 40, 32, 32}, {0, 0, 0, 0}, {3, 1000, 3, 32}, {NAN, NAN, NAN, 0}};
  for (const Case& k : cases) {
    h_.setParams(0.5, k.bAtPrepare, -1);
    h_.prepare();
    if (std::isnan(k.wantB))
      EXPECT_TRUE(std::isnan(g_->B));
    else
      EXPECT_EQ(g_->B, k.wantB);
    g_->B = k.bAfter;
    h_.setInput(0, x);
    const KVbatch v = h_.run(2);
    EXPECT_EQ(v[0], 0.5 * (k.lastPass + 1)) << k.bAfter;
    EXPECT_EQ(v[1], M);
  }
}

TEST_F(F31Recurtree, WithoutASubtreePassesX)
{
  h_.prepare();
  h_.setInput(0, KVtestInput::samples({1.5, M, -2}));
  const KVbatch v = h_.run(3);
  EXPECT_EQ(v[0], 1.5);
  EXPECT_EQ(v[1], M);
  EXPECT_EQ(v[2], -2);
}

}  // namespace
