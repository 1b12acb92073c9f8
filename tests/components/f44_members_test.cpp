// f44 members at work: contrast, smooth floor, colour shift, the alpha
// members in the altitude pass and without w, the memories across loop
// passes, the city textures and the compiled tree.
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "components/f44/f44_city.h"
#include "engine/gfunc.h"
#include "engine/treemanage.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double M = gINFINITY;

using Out = std::array<double, 4>;

// A cell that records its calls and leaves material 99.
struct CellCall
{
  int32_t x, y, z;
  int16_t code;
};
std::vector<CellCall> gCellCalls;

double recordingCell(const KVtables*, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  gCellCalls.push_back({x, y, z, *code});
  *code = 99;
  return 1;
}

class F44 : public ::testing::Test
{
protected:
  void SetUp() override { h_.doc()->defaultColors[0] = normalcolor{0, 64, 128, 32}; }

  gfunc* bind(int16_t id, double a, double b, double c)
  {
    g_ = h_.bind(kFamily44, id);
    h_.setParams(a, b, c);
    h_.prepare();
    return g_;
  }
  // Feeds the samples (x, y, z, w) and returns every sample's four outputs.
  std::vector<Out> run(std::initializer_list<Out> samples)
  {
    std::array<std::array<double, kBatchCapacity>, 4> in{};
    int n = 0;
    for (const Out& s : samples) {
      for (int k = 0; k < 4; ++k)
        in[size_t(k)][size_t(n)] = s[size_t(k)];
      ++n;
    }
    for (int k = 0; k < 4; ++k)
      h_.setInput(k, KVtestInput::samples(in[size_t(k)]));
    h_.run(n, 0);
    std::vector<Out> r(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
      for (int k = 0; k < 4; ++k)
        r[size_t(i)][size_t(k)] = g_->outputs[k][i];
    return r;
  }
  void expectOut(const Out& got, const Out& want, double tol = 1e-12)
  {
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(got[size_t(k)], want[size_t(k)], tol) << "output " << k;
  }
  void pass(int iteration) { g_->owner->iteration = int16_t(iteration); }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
};

TEST_F(F44, ContrastPivotsOnFourThenOnEight)
{
  bind(15, 1, 2, 1);
  auto r = run({{0, 4, 8, 3}, {M, 0, 0, M}});
  expectOut(r[0], {0, 4, 8, 7});
  expectOut(r[1], {2, 4, 1, -15});  // F, and w' = -8
  bind(15, 2, 1, 0);
  expectOut(run({{8, 4, 6, 1}})[0], {8, 0, 4, 1});
}

TEST_F(F44, SmoothFloorWithoutSmoothnessIsHard)
{
  bind(6, 1, 5, 0);
  const auto r = run({{9, -1, 3, 0}, {1, 1, 1, 3}, {1, 1, 1, 7}, {1, 1, 1, M}});
  EXPECT_EQ(r[0][0], 8);
  EXPECT_EQ(r[0][1], 0);
  EXPECT_EQ(r[0][3], 1);
  EXPECT_EQ(r[1][3], 3);
  EXPECT_EQ(r[2][3], 5);
  EXPECT_EQ(r[3][3], 1);
}

TEST_F(F44, ColorShiftInvertsLightnessAtBMinusOne)
{
  bind(10, 0, -1, 1);
  // Grey 2 (lightness 64) becomes grey (255 - 64) / 32.
  expectOut(run({{2, 2, 2, 5}})[0], {191 / 32.0, 191 / 32.0, 191 / 32.0, 5}, 1e-9);
  expectOut(run({{1, 1, 1, M}})[0], {2, 4, 1, -8});
}

TEST_F(F44, AlphaMembersInTheAltitudePassAndWithoutW)
{
  h_.doc()->fractal.reliefPass = 1;
  bind(3, 1, 1, 0);
  expectOut(run({{1, 2, 3, 4}})[0], {1, 2, 3, 4});
  bind(4, 0.5, 1, 0);
  expectOut(run({{1, 2, 3, 4}})[0], {1, 2, 3, 4});
  h_.doc()->fractal.reliefPass = 0;
  // RGB * alpha: a = clamp(w/4, 0, 1), highlights B (0.35 w)^4.
  bind(3, 1, 1, 0);
  const auto r = run({{1, 2, 3, 2}, {1, 2, 3, M}});
  const double h = std::pow(0.7, 4);
  expectOut(r[0], {0.5 + h, 1 + h, 1.5 + h, 2});
  expectOut(r[1], {M, M, M, M});
  // Alpha Fade without w: F faded by c = 0 is F, w' = -8.
  bind(4, 0.5, 1, 0);
  expectOut(run({{1, 2, 3, M}})[0], {2, 4, 1, -8});
}

TEST_F(F44, MemoriesAccumulateOverPasses)
{
  // w Max with a feather: d = B/4 + w - h, e = d/B.
  bind(8, 0, 1, 0);
  pass(0);
  auto r = run({{8, 8, 8, -4.5}});  // h = -4, d = -0.25: kept
  expectOut(r[0], {2, 4, 1, -4});
  r = run({{8, 8, 8, -4}});  // d = 0.25, e = 0.25: t = 0.5
  expectOut(r[0], {5, 6, 4.5, 0.0625 - 4});
  bind(8, 0, 0, 0);  // B = 0: a higher w takes over whole
  pass(0);
  expectOut(run({{8, 8, 8, 3}})[0], {8, 8, 8, 3});

  // Fractal Add, A = 2: gain B/16 at pass 0, doubled per pass.
  bind(12, 2, 1, 0);
  pass(0);
  expectOut(run({{4, 4, 4, 4}})[0], {0.25, 0.25, 0.25, 0.25});
  pass(1);
  expectOut(run({{4, 4, 4, 4}})[0], {0.75, 0.75, 0.75, 0.75});

  bind(13, 0, 0, 0);  // Diff, A = 0: |0 - max(w, 0)|
  pass(0);
  expectOut(run({{1, 2, 3, 5}})[0], {1, 2, 3, 5});
}

TEST_F(F44, CityChoicesAndLattice)
{
  // C = 0: every sample in cell (-1, -1, -1); one colour and one altitude.
  bind(16, 2, 0.25, 0);
  auto r = run({{0, 0, 8, 0}, {5, -3, 8, 2}});
  expectOut(r[0], r[1]);

  // Sharp and soft sets agree where every fraction is 0.
  const double x = (3 + 0.4375) / 128, w = (2 + 0.4375) / 128, y = (5 + 0.4375) / 128;
  bind(16, 0, 0.25, 2);
  const Out sharp = run({{x, y, 40, w}})[0];
  bind(16, 1, 0.25, 2);
  expectOut(run({{x, y, 40, w}})[0], sharp);

  // A marked or NaN x raises no sanitizer report.
  run({{M, 0, 8, 0}, {std::nan(""), 0, 8, 0}, {-M, 1, 1, 1}});

  for (double choice : {8.0, -1.0, std::nan("")}) {
    bind(16, choice, 0.25, 2);
    expectOut(run({{0.3, 0.2, 8, 0.1}})[0], {0, 0, 0, 0});
  }
}

// Eight calls per sample, each with a fresh code word trunc(z) held to 16
// bits; frequency 0 puts every sample in cell (-1, -1, -1); a NaN x samples
// cell 0.
TEST_F(F44, CityCallsTheCellAtEightCornersWithFreshCodeWords)
{
  F44cityState s{};
  s.sharpness = 3;
  struct Case
  {
    double x, z, frequency;
    int32_t x0;
    int16_t code;
  };
  for (const Case& c : {Case{5, 40.7, 0, -1, 40}, Case{5, -5.5, 0, -1, -5},
                        Case{5, 1e9, 0, -1, 32767}, Case{std::nan(""), 3, 2, 0, 3}}) {
    SCOPED_TRACE(c.z);
    s.frequency = c.frequency;
    gCellCalls.clear();
    double out[4];
    f44_citySample(&h_.doc()->tables, s, recordingCell, c.x, 0, c.z, 0, true, out);
    ASSERT_EQ(gCellCalls.size(), 8u);
    for (const CellCall& call : gCellCalls) {
      EXPECT_EQ(call.code, c.code);
      EXPECT_TRUE(call.x == c.x0 || call.x == c.x0 + 1);
    }
    EXPECT_EQ(out[3], 4);
  }
}

TEST_F(F44, CompiledTreeWithoutSubtreeAndWithAnEmptySource)
{
  bind(127, 1, 0, 0);
  expectOut(run({{1, 2, 3, 4}})[0], {1, 2, 3, 4});
  bind(127, 1, 99, 0);
  EXPECT_EQ(g_->B, 32);
}

}  // namespace
