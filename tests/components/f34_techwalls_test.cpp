// The f34 tech noise and walls members: the choice rows message 8 stores,
// where the texture is sampled and from which code, choices outside the
// lists, the walls' cleared cycle and the altitude-only pass.
#include "components/f34/f34_techwalls.h"

#include <cmath>
#include <compare>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "engine/catalog.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;
constexpr int16_t kTech = 49, kWalls = 50;

const F34cellTexture& texture(const gfunc* g)
{
  return privateArea<F34cellTexture>(g);
}

// Binds `id` with choice a (B and C at their defaults) and prepares it.
gfunc* choose(KVmemberHarness& h, int16_t id, double a)
{
  gfunc* g = h.bind(kFamily34, id);
  h.setParams(a, g->B, g->C);
  h.prepare();
  return g;
}

TEST(F34TechWalls, ChoiceRows)
{
  struct Row
  {
    int16_t id;
    double a;
    const char* label;
    double sharpness;
    double scalePerC;
  };
  const Row rows[] = {
      {kTech, 4, " Building A Sharp # ", 6.0, 4},
      {kTech, 5, " Building A Soft # ", 1.5, 4},
      {kTech, 0, " Random Cube Grid Sharp # ", 6.0, 2},
      {kTech, 24, " City Patchwork A Sharp # ", 6.0, 64},
      {kTech, 29, " City Patchwork C Soft # ", 1.5, 64},
      {kWalls, 5, " Brick Wall B # ", 1.0, 16},
      {kWalls, 8, " Concrete Plates C  # ", 1.0, 8},
      {kWalls, 9, " Plates & Windows # ", 2.0, 8},
      {kWalls, 12.9, " Ceramics A # ", 1.5, 8},
  };
  KVmemberHarness h;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    gfunc* g = choose(h, r.id, r.a);
    EXPECT_EQ(h.send(kMsgParamA), r.label);
    EXPECT_EQ(texture(g).sharpness, r.sharpness);
    EXPECT_EQ(texture(g).scale, r.scalePerC * g->C);
    EXPECT_NE(texture(g).cell, nullptr);
  }
  // The patchwork cycles differ from each other and from a plain 8-colour one.
  std::vector<std::vector<float>> cycles;
  for (double a : {24.0, 26.0, 28.0, 20.0}) {
    const gfunc* g = choose(h, kTech, a);
    std::vector<float> c;
    for (const floatcolor& e : texture(g).cycle)
      c.insert(c.end(), {e.red, e.green, e.blue});
    cycles.push_back(c);
  }
  for (size_t i = 0; i < cycles.size(); ++i)
    for (size_t j = i + 1; j < cycles.size(); ++j)
      EXPECT_NE(cycles[i], cycles[j]) << i << " " << j;
}

// Outside the list: no label, no cell function, zeros on all four outputs.
TEST(F34TechWalls, ChoicesOutsideTheListGiveZeros)
{
  struct Row
  {
    int16_t id;
    double a;
  };
  KVmemberHarness h;
  for (const Row& r : {Row{kTech, 30}, Row{kTech, -1}, Row{kTech, NAN}, Row{kWalls, 16},
                       Row{kWalls, -0.5}, Row{kWalls, NAN}}) {
    SCOPED_TRACE(testing::Message() << r.id << " " << r.a);
    gfunc* g = choose(h, r.id, 4);
    h.setParams(r.a, g->B, g->C);
    h.precompute();
    EXPECT_EQ(h.send(kMsgParamA), "");
    EXPECT_EQ(texture(g).cell, nullptr);
    h.setInput(2, KVtestInput::fill(0.3));
    for (int out = 0; out < 4; ++out)
      EXPECT_EQ(h.at(0.2, 0.1, out), 0) << out;
  }
}

// Every corner call of one sample, as a cell function sees it.
struct Corner
{
  int32_t x, y, z;
  int16_t code;
  auto operator<=>(const Corner&) const = default;
};
std::set<Corner> gCorners;

double recordingCell(const KVtables*, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  gCorners.insert({x, y, z, *code});
  return 0.5;
}

// Tech noises sample around k2·p - 0.4375 from code 0, walls around k2·p from
// code 1: with the scaled point at 3.25 on every axis the corners are 3 and 4.
TEST(F34TechWalls, SamplingPointAndStartCode)
{
  struct Row
  {
    int16_t id;
    double a;
    double offset;
    int16_t code;
  };
  KVmemberHarness h;
  for (const Row& r : {Row{kTech, 5, -0.4375, 0}, Row{kWalls, 5, 0, 1}}) {
    SCOPED_TRACE(r.id);
    gfunc* g = choose(h, r.id, r.a);
    privateArea<F34cellTexture>(g).cell = recordingCell;
    const double p = (3.25 - r.offset) / texture(g).scale;
    gCorners.clear();
    h.setInput(2, KVtestInput::fill(p));
    const double w = h.at(p, p, 3);
    std::set<Corner> want;
    for (int32_t x : {3, 4})
      for (int32_t y : {3, 4})
        for (int32_t z : {3, 4})
          want.insert({x, y, z, r.code});
    EXPECT_EQ(gCorners, want);
    EXPECT_NEAR(w, 4 * 0.5, 1e-12);
  }
}

// Walls choice 0 clears the cycle an earlier choice built.
TEST(F34TechWalls, WallsChoiceZeroClearsTheCycle)
{
  KVmemberHarness h;
  gfunc* g = choose(h, kWalls, 1);
  double sum = 0;
  for (const floatcolor& e : texture(g).cycle)
    sum += e.red + e.green + e.blue;
  EXPECT_GT(sum, 0);
  h.setParams(0, g->B, g->C);
  h.precompute();
  for (const floatcolor& e : texture(g).cycle)
    EXPECT_EQ(e.red + e.green + e.blue, 0);
}

// The altitude-only pass gives no colour and the same w; a marked x and an
// empty source batch give markers.
TEST(F34TechWalls, AltitudeOnlyAndMarkers)
{
  KVmemberHarness h;
  for (int16_t id : {kTech, kWalls}) {
    SCOPED_TRACE(id);
    choose(h, id, 2);
    h.setInput(2, KVtestInput::fill(0.37));
    KVbatch xs;
    for (int i = 0; i < kBatchCapacity; ++i)
      xs[i] = 0.11 * i - 0.7;
    const KVbatch w = h.run(KVtestInput::samples(xs), KVtestInput::fill(0.23), 16, 3);
    double colour = 0;
    for (int c = 0; c < 3; ++c)
      for (double v : h.run(KVtestInput::samples(xs), KVtestInput::fill(0.23), 16, c))
        colour += std::fabs(v);
    EXPECT_GT(colour, 0);
    h.doc()->fractal.reliefPass = 1;
    EXPECT_EQ(h.run(KVtestInput::samples(xs), KVtestInput::fill(0.23), 16, 3), w);
    for (int c = 0; c < 3; ++c)
      for (double v : h.run(KVtestInput::samples(xs), KVtestInput::fill(0.23), 16, c))
        EXPECT_EQ(v, 0);
    h.doc()->fractal.reliefPass = 0;
    for (int out = 0; out < 4; ++out)
      EXPECT_EQ(h.at(M, 0.2, out), M);
    gfunc source{};
    source.maskedBatch = 1;
    h.component()->sources[0] = &source;
    EXPECT_EQ(h.at(0.3, 0.2, 3), M);
    h.component()->sources[0] = nullptr;
  }
}

}  // namespace
