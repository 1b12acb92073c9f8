// The lattice pictures and their cells: the hexagonal maze cell and the LED
// cells over crafted permutations, the triangle sampler's flat colours, the
// LED styles, and the clamps of output 4.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include "celltextures/mazes.h"
#include "tests/components/member_harness.h"

namespace {

// Tables whose permutation holds `value` everywhere: every block hash is
// `value`.
std::unique_ptr<KVtables> constantTables(int32_t value)
{
  auto t = std::make_unique<KVtables>();
  std::fill(std::begin(t->perm), std::end(t->perm), value);
  return t;
}

TEST(F24Cells, HexMazeCellByHash)
{
  struct Case
  {
    int32_t hash;
    int32_t x, y;
    int16_t code;
    double value;
  };
  const Case cases[] = {
      {1, 2, 5, 2, 1}, {1, 3, 5, 0, 0},   // mod 3 = 1: x even
      {2, 3, 4, 3, 1}, {2, 3, 5, 0, 0},   // mod 3 = 2: y even
      {3, 3, 5, 1, 1}, {3, 2, -4, 1, 1},  // mod 3 = 0: same parity
      {0, 2, 5, 0, 0}, {1022, -1, 7, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.hash) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
    const auto t = constantTables(c.hash);
    for (double param : {0.0, 17.5}) {
      int16_t code = 99;
      EXPECT_EQ(LABTXT_Hmaze(t.get(), c.x, c.y, param, &code), c.value);
      EXPECT_EQ(code, c.code);
    }
  }
  // One hash per 2 by 2 block: with perm[k] = k, h = (y >> 1) + (x >> 1).
  KVtables ident{};
  for (int k = 0; k < 1025; ++k)
    ident.perm[k] = k & 1023;
  int16_t code = 0;
  // Block (2, 3): h = 5, mod 3 = 2: walls where y is even.
  EXPECT_EQ(LABTXT_Hmaze(&ident, 4, 6, 0, &code), 1);
  EXPECT_EQ(code, 3);
  EXPECT_EQ(LABTXT_Hmaze(&ident, 5, 6, 0, &code), 1);
  EXPECT_EQ(LABTXT_Hmaze(&ident, 5, 7, 0, &code), 0);
}

struct LedCase
{
  int32_t hash;
  int32_t x, y;
  double on;
  double r, g, b;
};

void expectLed(ColorCellProc cell, const LedCase& c)
{
  SCOPED_TRACE(std::to_string(c.hash) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
  const auto t = constantTables(c.hash);
  mazecolorrecord rec{0.25, 0.25, 0.25, 0};
  EXPECT_EQ(cell(t.get(), c.x, c.y, &rec), c.on);
  EXPECT_EQ(rec.red, c.r);
  EXPECT_EQ(rec.green, c.g);
  EXPECT_EQ(rec.blue, c.b);
}

// Points of a 4 by 4 block: (1, 1) inner and both odd, (2, 1) inner with
// a = 1, (1, 2) inner with b = 1, (0, 3) on the edge, (3, 3) both odd and
// not inner.
TEST(F24Cells, LightMaze)
{
  const LedCase cases[] = {
      {0, 2, 1, 1, 0, 0, 1},     {0, 1, 2, 0, 0, 0.1, 0.2},    {1, 1, 2, 1, 0, 0, 1},
      {1, 2, 1, 0, 0, 0.1, 0.2}, {2, 3, 3, 1, 0, 1, 0},        {2, 2, 3, 0, 0, 0.1, 0.2},
      {3, 3, 3, 1, 1, 0, 0},     {4, 1, 1, 1, 1, 1, 1},        {4, 3, 3, 0, 0, 0.1, 0.2},
      {5, 1, 3, 1, 1, 1, 0},     {5, 1, 2, 0, 0, 0.1, 0.2},    {6, 3, 1, 1, 1, 1, 0},
      {7, 1, 1, 0, 0, 0.1, 0.2}, {1023, 1, 1, 0, 0, 0.1, 0.2},
  };
  for (const LedCase& c : cases)
    expectLed(LABTXT_lightmaze, c);
}

TEST(F24Cells, LedMazeOne)
{
  const LedCase cases[] = {
      {0, 2, 1, 1, 1, 0, 0}, {0, 1, 2, 0, 0, 0, 0},       {1, 1, 2, 1, 1, 0, 0},
      {2, 0, 1, 1, 0, 1, 0}, {3, 1, 0, 1, 0, 1, 0},       {4, 1, 3, 1, 1, 0, 0},
      {4, 2, 2, 0, 0, 0, 0}, {5, 3, 1, 1, 0, 1, 0},       {6, 0, 3, 1, 0, 0, 1},
      {6, 1, 1, 0, 0, 0, 0}, {7, 2, 2, 1, 0.5, 0.5, 0.5}, {15, 3, 3, 0, 0, 0, 0},
  };
  for (const LedCase& c : cases)
    expectLed(LABTXT_lmaze1, c);
}

// The record starts at (0.25, 0.25, 0.25): a lit both-odd point of rows 3
// and 4 with h >= 600 keeps it.
TEST(F24Cells, LedMazeTwo)
{
  const LedCase cases[] = {
      {0, 2, 4, 1, 1, 1, 0},     {0, 2, 3, 0, 0, 0, 0},     {1, 1, 2, 1, 1, 0, 0},
      {1, 3, 3, 1, 1, 0, 0},     {1, 2, 2, 0, 0, 0, 0},     {2, 2, 1, 1, 0, 1, 0},
      {3, 1, 1, 1, 1, 0.5, 0},   {403, 1, 3, 1, 1, 0, 0},   {603, 1, 1, 1, 0.25, 0.25, 0.25},
      {604, 2, 1, 0, 0, 0, 0},   {5, 2, 2, 1, 1, 1, 0},     {205, 2, 2, 1, 1, 0, 0},
      {405, 0, 0, 1, 0, 0.9, 1}, {605, 0, 0, 1, 1, 0.3, 0}, {655, 0, 0, 1, 0, 0, 0.8},
  };
  for (const LedCase& c : cases)
    expectLed(LABTXT_lmaze2, c);
}

// Stub cells: the code (x & 1) + 2 (y & 1), its value the code.
double parityCell(const KVtables*, int32_t x, int32_t y, double, int16_t* code)
{
  *code = int16_t((x & 1) + 2 * (y & 1));
  return *code;
}

TEST(F24Cells, HexaSamplerFlatColoursAndGrey)
{
  MazeColorList colours = {};
  for (int k = 0; k < 4; ++k)
    colours[k][0] = colours[k][1] = colours[k][2] = 10.0 * (k + 1);
  KVtables t{};
  struct Case
  {
    double x, y;
    int mode;
    double colour;
    double value;
  };
  const Case cases[] = {
      // Corners 00, 10, 11 with codes 0, 1, 3 and weights 0.5, 0.25, 0.25:
      // none above 0.5, three codes: grey.
      {0.5, 0.25, 1, 32, 2 * 1.0 - 1},
      {0.9, 0.1, 1, 20, 2 * (0.1 * 0 + 0.8 * 1 + 0.1 * 3) - 1},  // corner 10
      {0.1, 0.05, 1, 10, 2 * (0.9 * 0 + 0.05 * 1 + 0.05 * 3) - 1},
      {0.1, 0.9, 1, 30, 2 * (0.1 * 0 + 0.8 * 2 + 0.1 * 3) - 1},  // corner 01
      {0.5, 0.25, 0, 0.5 * 10 + 0.25 * 20 + 0.25 * 40, 1},
      // Cell -1: corners at -1 (odd) and 0; -2.0 lies in cell -3.
      {-0.5, -0.75, 1, 32, 2 * (0.5 * 3 + 0.25 * 2 + 0.25 * 0) - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    mazecolorrecord rec{};
    ASSERT_TRUE(fmazeColorHexa(&t, c.x, c.y, 0, parityCell, colours, &rec, c.mode));
    EXPECT_NEAR(rec.red, c.colour, 1e-12);
    EXPECT_NEAR(rec.blue, c.colour, 1e-12);
    EXPECT_NEAR(rec.value, c.value, 1e-12);
  }
  mazecolorrecord rec{1, 2, 3, 4};
  EXPECT_FALSE(fmazeColorHexa(&t, std::nan(""), 0, 0, parityCell, colours, &rec, 1));
  EXPECT_EQ(rec.value, 4);
}

TEST(F24Lattice, LedStylesBlendThePatterns)
{
  KVmemberHarness h;
  h.bind(kFamily24, 8);
  const KVtables* t = &h.doc()->tables;
  auto pattern = [t](ColorCellProc cell, double X, double Y) {
    mazecolorrecord rec{};
    const double v = fmazeColorTriangle(t, X, Y, cell, &rec, -3);
    return std::array<double, 4>{rec.red, rec.green, rec.blue, v};
  };
  for (double style : {0.0, 0.5, 1.0, 1.5}) {
    SCOPED_TRACE(style);
    h.setParams(1, style, 2);
    h.prepare();
    for (double x : {-1.3, 0.2, 0.77, 2.9}) {
      const double y = 0.61 - x / 3;
      const auto p1 = pattern(LABTXT_lightmaze, 2 * x, 2 * y);
      const auto p2 = pattern(LABTXT_lmaze1, 2 * x, 2 * y);
      const auto p3 = pattern(LABTXT_lmaze2, 2 * x, 2 * y);
      const double k = 2 * style;
      for (int out = 0; out < 4; ++out) {
        const double want = k == 0   ? p1[out]
                            : k <= 1 ? p1[out] + (p2[out] - p1[out]) * k
                                     : p2[out] + (p3[out] - p2[out]) * (k - 1);
        EXPECT_NEAR(h.at(x, y, out), (out < 3 ? 8 : 4) * want, 1e-12) << out;
      }
    }
  }
}

TEST(F24Lattice, MondrianMazesClampOutputFourCityBlocksDoNot)
{
  KVmemberHarness h;
  KVgridView view;
  view.width = view.height = 48;
  for (int16_t id : {4, 5, 6, 7}) {
    SCOPED_TRACE(id);
    h.bind(kFamily24, id);
    h.setParams(2, 0.5, 4);  // k1 = 8
    h.prepare();
    const std::vector<double> a = h.grid(view, 3);
    const double lowest = *std::min_element(a.begin(), a.end());
    if (id == 6)
      EXPECT_LT(lowest, -2);
    else
      EXPECT_EQ(lowest, -2);
  }
}

}  // namespace
