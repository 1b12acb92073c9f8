// The f34 3D colour textures and their octave bodies: the far value of every
// body, the altitude-only pass, granite's table colour, the batch frame
// (markers, the document's fractal record left as it was), the z members'
// fade by height and the fixed message-8 constants.
#include "components/f34/f34_textures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "components/f34/f34_texturebodies.h"
#include "engine/catalog.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

struct BodyRow
{
  const char* name;
  FractalOctaveProcRecord4 body;
  dvector4d far;
  bool rgbv;  // (R, G, B, value); else (value, R, G, B)
  bool colourInReliefPass = false;
};

const BodyRow kBodies[] = {
    {"granit", fp4granitrocks, {0.5, 0.5, 0.5, 0}, true},
    {"silex", fp4silexrocks, {0.5, 0.54, 0.58, 0}, true},
    {"MF3d", fp4MF3dnoise, {0, 0.5, 0.5, 0.5}, false},
    {"patchwork", fp4colorpatchwork, {0, 0.5, 0.5, 0.5}, false},
    {"lunar", fp4lunarrock, {0, 0.5, 0.5, 0.5}, false},
    {"zMF", fp4zMFnoise, {0.5, 0.5, 0.5, 0}, true},
    {"fibrous", fpfibrousrock, {0, 0.25, 0.25, 0.25}, false},
    {"grain", fpZgrainrock, {0, 0.25, 0.25, 0.25}, false},
    {"ridged", fp4ridged, {0, 0.6, 0.45, 0.35}, false},
    {"ice", fp4icecracks, {0.95, 1, 1, 0.4}, true},
    {"fractured", fp4fracturedrocks, {0.7, 0.6, 0.5, 0.25}, true},
    {"marble", fp4greenmarble, {0, 0.2, 0.4, 0.3}, false},
    {"multi bubbles", fp4fractBubbles, {0.2, 0.2, 0.2, 0.125}, true},
    {"bushes", fp4zBushes, {0, 0.6, 0.6, 0.4}, false},
    {"lava", fp3dFBubbles, {0.2, 0.06, 0, 0.1}, true, true},
};

// A record over the harness's tables with a colour table of five rows.
struct BodyBench
{
  KVmemberHarness h;
  double table[15] = {0.9, 0.1, 0.1, 0.1, 0.9, 0.1, 0.1, 0.1, 0.9, 0.9, 0.9, 0.1, 0.2, 0.2, 0.2};
  fractalsinfos record(int16_t relief)
  {
    fractalsinfos F;
    F.tables = &h.doc()->tables;
    F.paramA = 0.7;
    F.paramB = 0.3;
    F.nodeParams = table;
    F.reliefPass = relief;
    return F;
  }
  // Octaves 0..count-1 at a point scaled by 2 per octave; the accumulator
  // after each.
  std::vector<dvector4d> run(const BodyRow& r, int16_t relief, double x, int count = 8)
  {
    fractalsinfos F = record(relief);
    dvector4d acc;
    double s = 0;
    r.body(&F, 0, 0, 0, 0.6, &s, 1, -1, &acc);  // the far value, as the drivers start
    s = 0;
    std::vector<dvector4d> out;
    for (short i = 0; i < count; ++i) {
      const double f = std::ldexp(1.0, i);
      r.body(&F, x * f, 0.37 * f, -1.3 * f, 0.6, &s, std::ldexp(1.0, -i), i, &acc);
      out.push_back(acc);
    }
    return out;
  }
};

TEST(F34TextureBodies, FarValueOfEveryBody)
{
  BodyBench b;
  for (const BodyRow& r : kBodies) {
    SCOPED_TRACE(r.name);
    fractalsinfos F = b.record(0);
    dvector4d acc{9, 9, 9, 9};
    double s = 0;
    r.body(&F, 0, 0, 0, 0.6, &s, 1, -1, &acc);
    EXPECT_EQ(acc.x, r.far.x);
    EXPECT_EQ(acc.y, r.far.y);
    EXPECT_EQ(acc.z, r.far.z);
    EXPECT_EQ(acc.w, r.far.w);
  }
}

// In the altitude-only pass the colour stays at its start while the value
// runs as without the flag.
TEST(F34TextureBodies, AltitudeOnlyKeepsTheStartColour)
{
  BodyBench b;
  for (const BodyRow& r : kBodies) {
    SCOPED_TRACE(r.name);
    if (r.colourInReliefPass)
      continue;
    for (double x : {0.31, 2.7, -5.55}) {
      const std::vector<dvector4d> full = b.run(r, 0, x), relief = b.run(r, 1, x);
      bool colourMoved = false;
      for (size_t i = 0; i < full.size(); ++i) {
        const bool rgbv = r.rgbv;
        const double fullValue = rgbv ? full[i].w : full[i].x;
        EXPECT_EQ(rgbv ? relief[i].w : relief[i].x, fullValue) << i;
        const double c[3] = {rgbv ? relief[i].x : relief[i].y, rgbv ? relief[i].y : relief[i].z,
                             rgbv ? relief[i].z : relief[i].w};
        const double start[3] = {rgbv ? r.far.x : r.far.y, rgbv ? r.far.y : r.far.z,
                                 rgbv ? r.far.z : r.far.w};
        for (int k = 0; k < 3; ++k)
          EXPECT_EQ(c[k], start[k]) << i << " " << k;
        colourMoved |= (rgbv ? full[i].x : full[i].y) != start[0];
      }
      EXPECT_TRUE(colourMoved);
    }
  }
}

// Granite takes colour from its table only in octaves 1 to 4 (with p1 = 0
// the later grain term adds nothing).
TEST(F34TextureBodies, GraniteTableColourInOctavesOneToFour)
{
  BodyBench b;
  bool anyTableColour = false;
  for (int p = 0; p < 40; ++p) {
    fractalsinfos F = b.record(0);
    F.paramA = 0;
    dvector4d acc;
    double s = 0;
    const double x = 0.173 * p - 3.1;
    for (short i = 0; i < 9; ++i) {
      const dvector4d before = acc;
      const double f = std::ldexp(1.0, i);
      fp4granitrocks(&F, x * f, 0.37 * f, 0.91 * f, 0.6, &s, std::ldexp(0.5, -i), i, &acc);
      const bool moved = acc.x != before.x || acc.y != before.y || acc.z != before.z;
      if (i >= 1) {
        EXPECT_EQ(moved && (i > 4), false) << "octave " << i;
        anyTableColour |= moved;
      }
    }
  }
  EXPECT_TRUE(anyTableColour);
}

struct MemberRow
{
  int16_t id;
  bool zMember;
};
const MemberRow kMembers[] = {{30, false}, {43, false}, {19, false}, {12, false},
                              {33, false}, {36, false}, {31, false}, {41, false},
                              {28, false}, {45, false}, {35, false}, {37, false},
                              {40, false}, {8, true},   {10, true},  {11, true}};

// A non-default fractal record of the document is the same after a batch of
// every member; the members over the point give markers for a marked x and
// for an empty source batch.
TEST(F34Textures, FrameLeavesTheDocumentRecordAndMarks)
{
  for (const MemberRow& m : kMembers) {
    SCOPED_TRACE(m.id);
    KVmemberHarness h;
    h.bind(kFamily34, m.id);
    h.prepare();
    fractalsinfos& F = h.doc()->fractal;
    const double table[3] = {1, 2, 3};
    F.octaves = 9;
    F.phaseFactor = 1.1;
    F.rotSin = 0.3;
    F.rotCos = 0.95;
    F.paramA = 0.123;
    F.paramB = 0.456;
    F.paramC = 0.789;
    F.accumulator = 5;
    F.secondOutput = 6;
    F.lacunarity = 2.5;
    F.fade = 0.7;
    F.nodeParams = table;
    const fractalsinfos before = F;
    h.setInput(2, KVtestInput::fill(1.5));
    h.run(KVtestInput::fill(0.4), KVtestInput::fill(-0.2));
    EXPECT_EQ(F.octaves, before.octaves);
    EXPECT_EQ(F.phaseFactor, before.phaseFactor);
    EXPECT_EQ(F.rotSin, before.rotSin);
    EXPECT_EQ(F.rotCos, before.rotCos);
    EXPECT_EQ(F.paramA, before.paramA);
    EXPECT_EQ(F.paramB, before.paramB);
    EXPECT_EQ(F.paramC, before.paramC);
    EXPECT_EQ(F.accumulator, before.accumulator);
    EXPECT_EQ(F.secondOutput, before.secondOutput);
    EXPECT_EQ(F.lacunarity, before.lacunarity);
    EXPECT_EQ(F.fade, before.fade);
    EXPECT_EQ(F.nodeParams, before.nodeParams);
    EXPECT_EQ(F.tables, before.tables);
    if (m.zMember)
      continue;
    for (int out = 0; out < 4; ++out)
      EXPECT_EQ(h.at(M, 0.2, out), M) << out;
    gfunc source{};
    source.maskedBatch = 1;
    h.component()->sources[0] = &source;
    for (int out = 0; out < 4; ++out)
      EXPECT_EQ(h.run(KVtestInput::fill(0.3), KVtestInput::fill(0.2), 16, out)[7], M) << out;
    h.component()->sources[0] = nullptr;
  }
}

// z members: the resting value at h <= 0 and at the marker, the full texture
// from h = 4 on.
TEST(F34Textures, ZMembersFadeInByHeight)
{
  struct Row
  {
    int16_t id;
    double rest[4];
  };
  for (const Row& r : {Row{8, {4, 4, 4, 0}}, Row{10, {2, 2, 2, 0}}, Row{11, {2, 2, 2, 0}}}) {
    SCOPED_TRACE(r.id);
    KVmemberHarness h;
    h.bind(kFamily34, r.id);
    h.prepare();
    auto sample = [&](double height, int out) {
      h.setInput(2, KVtestInput::fill(height));
      return h.at(0.77, -0.41, out);
    };
    for (double height : {0.0, -3.0, M, double(NAN)})
      for (int out = 0; out < 4; ++out)
        EXPECT_EQ(sample(height, out), r.rest[out]) << height << " " << out;
    for (int out = 0; out < 4; ++out)
      EXPECT_EQ(sample(4, out), sample(40, out)) << out;
    bool differs = false;
    for (int out = 0; out < 4; ++out)
      differs |= sample(1, out) != sample(4, out);
    EXPECT_TRUE(differs);
  }
}

// z Green Bushes rests lower as the height sinks: value -1 - bend(h / 4),
// w = k0 (value + 0.5) with k0 = 2; full from h = 4 on.
TEST(F34Textures, GreenBushesRestingValue)
{
  KVmemberHarness h;
  h.bind(kFamily34, 9);
  h.prepare();
  auto sample = [&](double height, int out) {
    h.setInput(2, KVtestInput::fill(height));
    return h.at(0.77, -0.41, out);
  };
  const double rest[4] = {8, 8, 6, -1};
  for (int out = 0; out < 4; ++out)
    EXPECT_EQ(sample(0, out), rest[out]) << out;
  EXPECT_DOUBLE_EQ(sample(-3, 3), 2 * (-1 - 0.5625 + 0.5));
  EXPECT_DOUBLE_EQ(sample(-4, 3), 2 * (-1 - 1 + 0.5));
  for (int out = 0; out < 4; ++out)
    EXPECT_EQ(sample(4, out), sample(9, out)) << out;
  EXPECT_NE(sample(2, 3), sample(4, 3));
}

TEST(F34Textures, MessageEightConstants)
{
  KVmemberHarness h;
  struct Row
  {
    int16_t id;
    double a, b, c;
    double k[3];
  };
  const Row rows[] = {
      {33, 14, 0.5, 2, {28, 1, 0.25}},   {33, -7, 0.5, 2, {-14, -0.75, 0.25}},
      {33, 100, 0.5, 2, {200, 1, 0.25}}, {19, 1, 0.5, 0, {2, 0.06, 1e-7}},
      {30, 2, 0.5, 3, {-1, -0.2, 3}},    {8, 1, 0.5, 4, {1, 0.16 / 512, 0.5}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.id << " A " << r.a);
    gfunc* g = h.bind(kFamily34, r.id);
    h.setParams(r.a, r.b, r.c);
    h.precompute();
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(privateArea<F34textureConsts>(g).k[i], r.k[i], 1e-15) << i;
  }
}

// Ridged Fractal lowers the value by 1 before a negative k0 scales it: at
// A = -1 and 1 (k0 = -3 and 3; p1 only colours) the two w add up to 3.
TEST(F34Textures, RidgedLowersTheValueForNegativeAmplitude)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily34, 36);
  h.setInput(2, KVtestInput::fill(0.6));
  double w[2];
  for (int k = 0; k < 2; ++k) {
    h.setParams(k == 0 ? -1 : 1, g->B, g->C);
    h.precompute();
    w[k] = h.at(0.35, -1.2, 3);
  }
  EXPECT_NEAR(w[0] + w[1], 3, 1e-9);
  EXPECT_NE(w[1], 0);
}

// Green Marble lowers the value as Ridged does (k0 = -1.5 and 1.5).
TEST(F34Textures, GreenMarbleLowersTheValueForNegativeAmplitude)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily34, 37);
  h.setInput(2, KVtestInput::fill(0.6));
  double w[2];
  for (int k = 0; k < 2; ++k) {
    h.setParams(k == 0 ? -1 : 1, g->B, g->C);
    h.precompute();
    w[k] = h.at(0.35, -1.2, 3);
  }
  EXPECT_NEAR(w[0] + w[1], 1.5, 1e-9);
}

// Multi Bubbles' band limit is the smaller of 16C and 0.25D: with 16C = 8
// below both quarter scales nothing changes; with the quarter scale below
// 16C it does (later octaves sit below the skip level, so the band limit
// is put at the second octave).
TEST(F34Textures, MultiBubblesBandLimit)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily34, 35);
  h.setParams(g->A, g->B, 0.5);
  h.prepare();
  h.setInput(2, KVtestInput::fill(0.6));
  auto row = [&](double D) {
    h.doc()->yPixelScale = D;
    std::vector<double> out;
    for (int k = 0; k < 4; ++k)
      for (double v :
           h.run(KVtestInput::samples({0.3, 1.7, -2.2, 5.1}), KVtestInput::fill(0.4), 4, k))
        out.push_back(v);
    return out;
  };
  EXPECT_EQ(row(1000), row(2000));
  EXPECT_NE(row(1), row(2));
}

// The fractured rocks' altitude-only pass fills the value by the scalar body
// and gives no colour.
TEST(F34Textures, FracturedRocksAltitudeOnly)
{
  KVmemberHarness h;
  h.bind(kFamily34, 45);
  h.prepare();
  h.setInput(2, KVtestInput::fill(0.6));
  h.doc()->fractal.reliefPass = 1;
  for (int out = 0; out < 3; ++out)
    EXPECT_EQ(h.at(0.35, -1.2, out), 0) << out;
  EXPECT_TRUE(std::isfinite(h.at(0.35, -1.2, 3)));
}

}  // namespace

namespace {

// Tables whose random vectors are all (0, 0, 0.5): features sit on the cell
// corners (bubbles) or centres (rock), so values can be worked by hand.
struct FlatTables
{
  KVmemberHarness h;
  KVtables t;
  FlatTables() : t(h.doc()->tables)
  {
    for (auto& v : t.rndVec3D) {
      v[0] = v[1] = 0;
      v[2] = 0.5;
    }
  }
  fractalsinfos record()
  {
    fractalsinfos F;
    F.tables = &t;
    return F;
  }
};

// At (0.1, 0.1, 0.1) the nearest feature is the corner (0, 0, 0):
// m = 0.03, u = 1 - 0.03 pi, q = u^2, the state 1 - q.
TEST(F34TextureBodies, BubblesPosWorkedValue)
{
  FlatTables flat;
  fractalsinfos F = flat.record();
  dvector4d acc;
  double s = 0;
  fp3dFBubblesPos(&F, 0.1, 0.1, 0.1, 0.5, &s, 1, 0, &acc);
  const double u = 1 - 0.03 * std::numbers::pi, q = u * u;
  EXPECT_NEAR(acc.w, q, 1e-12);
  EXPECT_NEAR(acc.x, q, 1e-12);
  EXPECT_NEAR(s, 1 - q, 1e-12);
  fp3dFBubblesPos(&F, 0, 0, 0, 0.5, &s, 1, -1, &acc);
  EXPECT_EQ(acc.x, 0.08);
  EXPECT_EQ(acc.w, 0.7);
}

// At (0.5, 0.25) the counted centres lie at squared distances 1.0625,
// 0.5625, 0.0625 and 1.0625: d1 = 0.0625, d2 = 0.5625, e = 0.5, |jn| = 0.5;
// octave 0 gives v = 0.2, the state (0.25 + 0.125) 0.8 + 0.2 = 0.5 and the
// colour (0.5 + 0.15, 0.5 - 0.05, 0.5 - 0.1).
TEST(F34TextureBodies, VoronRockWorkedValue)
{
  FlatTables flat;
  fractalsinfos F = flat.record();
  dvector4d acc;
  double s = 0;
  fp4voronrock(&F, 0.5, 0.25, 0, 1, &s, 1, 0, &acc);
  EXPECT_NEAR(acc.x, 0.2, 1e-12);
  EXPECT_NEAR(s, 0.5, 1e-12);
  EXPECT_NEAR(acc.y, 0.65, 1e-12);
  EXPECT_NEAR(acc.z, 0.45, 1e-12);
  EXPECT_NEAR(acc.w, 0.4, 1e-12);
}

}  // namespace
