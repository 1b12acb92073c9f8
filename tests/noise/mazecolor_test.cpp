// Material colours, maze and colour-cell samplers, colour blocks and cycles.
#include "noise/mazecolor.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "foundation/colormath.h"
#include "noise/tables.h"
#include "noise_test_support.h"

namespace {

class MazeColor : public SeededTablesTest<5>
{};

void expectColor(const floatcolor& c, double r, double g, double b)
{
  EXPECT_FLOAT_EQ(c.red, float(r));
  EXPECT_FLOAT_EQ(c.green, float(g));
  EXPECT_FLOAT_EQ(c.blue, float(b));
}

// ---- Cell functions written for these tests ----

// Level 0.75 everywhere; the code names a cycle entry from x.
double flatCell(const KVtables*, int32_t x, int32_t, double, int16_t* code)
{
  *code = int16_t(x & 3);
  return 0.75;
}

// The corners a cell function was asked for, in call order.
std::vector<std::pair<int32_t, int32_t>> gVisited;

double visitingCell(const KVtables*, int32_t x, int32_t y, double)
{
  gVisited.push_back({x, y});
  return 0.0;
}

// Levels and codes of the four corners of cell (0, 0), set by each test.
struct CornerTable
{
  double level[2][2];
  int16_t code[2][2];
};
CornerTable gCorners;

double tableCell(const KVtables*, int32_t x, int32_t y, double, int16_t* code)
{
  *code = gCorners.code[y & 1][x & 1];
  return gCorners.level[y & 1][x & 1];
}

// Colour (100 x, 100 y, 7); the value read on entry plus x; level from the
// corner table.
double colorCell(const KVtables*, int32_t x, int32_t y, mazecolorrecord* rec)
{
  rec->red = 100.0 * x;
  rec->green = 100.0 * y;
  rec->blue = 7.0;
  rec->value += x;
  return gCorners.level[y & 1][x & 1];
}

// ---- Material colours ----

TEST(MaterialColor, CodesAcrossTheRanges)
{
  floatcolor cycle[16];
  for (int i = 0; i < 16; i++)
    cycle[i] = {float(i), float(2 * i), float(3 * i)};
  struct Case
  {
    int16_t code;
    double value;
    double r, g, b;
  };
  const Case cases[] = {
      {-1, 0, 0, 0, 0},        {-256, 0, 255, 255, 255}, {-1000, 0, 999, 999, 999},
      {5, 0, 5, 10, 15},       {15, 0, 15, 30, 45},      {20, 0, 0, 32, 68},
      {31, 0, 20, 166, 132},   {32, 1, 180, 240, 190},   {47, 0.5, 156, 109, 63},
      {48, 2, 310, 380, 270},  {63, 0, 62, 110, 156},    {64, 0, 72, 64, 40},
      {79, -1, 14, 51, 118},   {87, 0, 14, 34, 48},      {88, 0, 255, 0, 0},
      {100, 0, 255, 245, 0},   {111, 0, 185, 200, 200},  {112, 0, 255, 255, 255},
      {200, 0, 255, 255, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    floatcolor out;
    EXPECT_EQ(FPROCCOLOR(&out, cycle, c.code, &c.value), &out);
    expectColor(out, c.r, c.g, c.b);
  }
  floatcolor out{1, 1, 1};
  FPROCCOLOR(&out, nullptr, 3, nullptr);  // no cycle: black
  expectColor(out, 0, 0, 0);
  FPROCCOLOR(&out, nullptr, 32, nullptr);  // no value: shading 0
  expectColor(out, 80, 150, 128);
}

// ---- Samplers ----

TEST_F(MazeColor, CubicBlendKeepsEqualLevelsWhateverTheWeights)
{
  floatcolor cycle[16];
  for (int i = 0; i < 16; i++)
    cycle[i] = {float(10 * i), 0, 0};
  for (double sharpness : {0.0, 1.0, 6.0, 8.0, 1e9}) {
    for (double x = -3.9; x < 3.0; x += 0.37) {
      mazecolorrecord rec{9, 9, 9, 0.2};
      fmazeColorCubic(t(), x, 0.61, 0.0, flatCell, nullptr, &rec, sharpness);
      EXPECT_EQ(rec.value, 0.75);
      EXPECT_EQ(rec.red, 0.0);
      EXPECT_EQ(rec.green, 0.0);
      EXPECT_EQ(rec.blue, 0.0);
      fmazeColorCubic(t(), x, 0.61, 0.0, flatCell, cycle, &rec, sharpness);
      EXPECT_EQ(rec.value, 0.75);
      EXPECT_GE(rec.red, 0.0);
      EXPECT_LE(rec.red, 30.0);
    }
  }
}

TEST_F(MazeColor, CubicBlendShadesWithTheIncomingValueAndWeighsCorners)
{
  gCorners = {{{0.0, 1.0}, {2.0, 3.0}}, {{32, 20}, {88, 112}}};
  floatcolor cycle[16] = {};
  struct Case
  {
    double x, y, sharpness, shading;
    double r, g, b, value;
  };
  const Case cases[] = {
      {0.0, 0.0, 1.0, 1.0, 180, 240, 190, 0.0},  // corner 00, shaded by 1
      {0.0, 0.0, 1.0, 0.0, 80, 150, 128, 0.0},   // the same unshaded
      {1.0, 0.0, 1.0, 0.0, 0, 32, 68, 1.0},      // x = 1 lies in cell 1 at f = 0: 10
      {0.5, 0.5, 1.0, 0.0, (80 + 0 + 255 + 255) / 4.0, (150 + 32 + 0 + 255) / 4.0,
       (128 + 68 + 0 + 255) / 4.0, 1.5},
      {0.25, 0.0, 4.0, 0.0, 0, 32, 68, 1.0},  // sharpened to the far side
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    mazecolorrecord rec{0, 0, 0, c.shading};
    fmazeColorCubic(t(), c.x, c.y, 0.0, tableCell, cycle, &rec, c.sharpness);
    EXPECT_NEAR(rec.red, c.r, 1e-4);
    EXPECT_NEAR(rec.green, c.g, 1e-4);
    EXPECT_NEAR(rec.blue, c.b, 1e-4);
    EXPECT_DOUBLE_EQ(rec.value, c.value);
  }
}

TEST_F(MazeColor, NegativeWholeNumbersLieInTheCellBelow)
{
  gVisited.clear();
  fmazelerp21(t(), -2.0, 3.0, 0.0, visitingCell, 1.0);
  const std::vector<std::pair<int32_t, int32_t>> corners = {{-3, 3}, {-2, 3}, {-3, 4}, {-2, 4}};
  EXPECT_EQ(gVisited, corners);
  gVisited.clear();
  fmazelerp21(t(), 0.5, -1.0, 0.0, visitingCell, 1.0);
  const std::vector<std::pair<int32_t, int32_t>> below = {{0, -2}, {1, -2}, {0, -1}, {1, -1}};
  EXPECT_EQ(gVisited, below);
}

TEST_F(MazeColor, LevelBlendAppliesTheSharpnessAlways)
{
  gCorners = {{{0.0, 1.0}, {0.0, 1.0}}, {}};
  struct Case
  {
    double x, sharpness, level;
  };
  const Case cases[] = {{0.5, 1.0, 0.5},
                        {0.25, 1.0, 0.15625},
                        {0.25, 2.0, 0.5},
                        {0.25, 0.5, 0.04296875},
                        {0.75, 2.0, 1.0}};
  auto cell = [](const KVtables*, int32_t x, int32_t y, double) {
    return gCorners.level[y & 1][x & 1];
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(fmazelerp21(t(), c.x, 0.3, 0.0, cell, c.sharpness), c.level) << c.x;
}

TEST_F(MazeColor, OrthogonalBlendPicksTheTableEntry)
{
  const double table[3][3] = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}};
  struct Case
  {
    double l00, l10, l01, l11;
    int16_t code00;
    double param;
    int entry;
    double value;
  };
  const Case cases[] = {
      {1, 1, 1, 1, 0, 0.0, 2, 1.0},         // open: a == b, the flag is set
      {1, 1, 1, 1, 0, -2.0, 0, -1.0},       // lowered below 0
      {1, 1, -0.5, -0.5, 0, 0.0, 1, 0.25},  // a wall along the top row: b wins
      {-1, -1, -1, -1, 0, 3.0, 2, 2.0},     // deep wall, no corner stands out: set
      {0.5, -1, -1, -1, 0, 3.0, 1, 2.75},   // deep wall, corner 00 with code 0: clear
      {0.5, -1, -1, -1, 5, 3.0, 2, 2.75},   // the same with a code: set
      {0, 0, 0, 0, 0, 0.5, 2, 0.5},         // s = 0: min of the row and column maxima
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.l00 + 10 * c.l10 + c.param);
    gCorners = {{{c.l00, c.l10}, {c.l01, c.l11}}, {{c.code00, 0}, {0, 0}}};
    mazecolorrecord rec;
    fmazeColorOrtho(t(), 0.5, 0.5, c.param, tableCell, table, &rec);
    EXPECT_EQ(rec.red, table[c.entry][0]);
    EXPECT_DOUBLE_EQ(rec.value, c.value);
  }
}

TEST_F(MazeColor, TriangleModes)
{
  struct Case
  {
    int16_t mode;
    double x, y;
    double l00, l10, l01, l11;
    double level, red, green, value;
  };
  const Case cases[] = {
      // Round lights: only the corner under the point, weight 1.
      {-3, 0.0, 0.0, 1, 1, 1, 1, 1.0, 0, 0, 0.5},
      // Round lights at the centre: four weights (1 - sqrt 0.5)^2.
      {-3, 0.5, 0.5, 1, 1, 1, 1, 4 * std::pow(1 - std::sqrt(0.5), 2),
       std::pow(1 - std::sqrt(0.5), 2) * 200, std::pow(1 - std::sqrt(0.5), 2) * 200, 0.5},
      // Round lights skip corners whose level is not positive.
      {-3, 0.0, 0.0, -1, 1, 1, 1, 0.0, 0, 0, 0.5},
      // Triangular fall-off at (0.25, 0.25): weights 0.5, 0, 0, 0.
      {-4, 0.25, 0.25, 2, 1, 1, 1, 1.0, 0, 0, 0.5},
      // Pyramids at the centre, equal levels: the first corner wins, weight 0.5.
      {-5, 0.5, 0.5, 1, 1, 1, 1, 0.5, 0, 0, 0.5},
      // Pyramids: the higher corner 11 wins and hands on its value.
      {-5, 0.5, 0.5, 1, 1, 1, 3, 1.5, 150, 150, 1.5},
      // Split from 00 to 11 (mode 1) and the lower of both splits (mode 0).
      {1, 0.25, 0.5, 1, 0, 0, 1, 0.75, 25, 50, 0.5},
      {0, 0.25, 0.5, 1, 0, 0, 1, 0.25, 25, 50, 1.5},
      {0, 0.25, 0.5, 0, 1, 1, 0, 0.25, 25, 50, 0.5},
      // Nearest corner; a level below 4 marks the colour (0, 0, 1).
      {-1, 0.75, 0.25, 1, 1, 1, 1, 1.0, 0, 0, 1.5},
      {-1, 0.75, 0.25, 5, 5, 5, 5, 5.0, 100, 0, 1.5},
      {-7, 0.25, 0.75, 5, 5, 5, 5, 5.0, 0, 100, 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " at " << c.x << ", " << c.y);
    gCorners = {{{c.l00, c.l10}, {c.l01, c.l11}}, {}};
    mazecolorrecord rec{0, 0, 0, 0.5};
    EXPECT_NEAR(fmazeColorTriangle(t(), c.x, c.y, colorCell, &rec, c.mode), c.level, 1e-12);
    EXPECT_NEAR(rec.red, c.red, 1e-9);
    EXPECT_NEAR(rec.green, c.green, 1e-9);
    EXPECT_DOUBLE_EQ(rec.value, c.value);
  }
}

TEST_F(MazeColor, CheckeredDiagonalsAlternateWithTheColumnSign)
{
  gCorners = {{{1, 1}, {1, 1}}, {}};
  struct Case
  {
    double x, y;
    double red, green;  // the corner whose record is taken
  };
  const Case cases[] = {
      {1.25, 1.25, 100, 100},    // ix 1, iy 1: split 10-01, corner 00
      {1.75, 1.75, 200, 200},    // the same split, corner 11
      {2.25, 1.75, 200, 200},    // ix 2: split 00-11, fx < fy: corner 01
      {2.75, 1.25, 300, 100},    // fx > fy: corner 10
      {-0.75, 1.25, -100, 200},  // ix -1: remainder -1 never matches: corner 01
      {-0.25, 0.25, 0, 0},       // fx > fy: corner 10
  };
  for (const Case& c : cases) {
    mazecolorrecord rec{0, 0, 0, 0.0};
    fmazeColorTriangle(t(), c.x, c.y, colorCell, &rec, -2);
    EXPECT_EQ(rec.red, c.red) << c.x << ", " << c.y;
    EXPECT_EQ(rec.green, c.green) << c.x << ", " << c.y;
  }
}

// ---- Self-contained patterns ----

TEST_F(MazeColor, MazeLevels)
{
  // Cell (1, 1): no corner lies on a row or column of a multiple of 4, so
  // the maze has no wall there.
  for (double f : {0.1, 0.5, 0.9})
    EXPECT_EQ(fmaze(t(), 1.0 + f, 1.0 + f * 0.7, 0.0), -512.0) << f;
  // Next to lattice point (0, 0), always a wall, the level is high.
  EXPECT_GT(fmaze(t(), 0.01, 0.02, 0.0), 400.0);
  for (double x = -5.1; x < 5.0; x += 0.23)
    for (double blend : {0.0, 0.4, 1.0, 2.0}) {
      double v = fmaze(t(), x, 0.37 * x + 0.11, blend);
      EXPECT_GE(v, -512.0);
      EXPECT_LE(v, 512.0);
    }
}

TEST_F(MazeColor, MondrianBlocksAndEdges)
{
  normalcolor c;
  double d = Mondrian3DColor(t(), 2.5, -3.5, 7.5, &c, 1.0);
  EXPECT_EQ(d, 0.5);
  EXPECT_EQ(c.flag, 255);
  const normalcolor blockColors[] = {
      {255, 255, 0, 0}, {255, 0, 0, 255}, {255, 255, 255, 0}, {255, 255, 255, 255}};
  bool known = false;
  for (const normalcolor& b : blockColors)
    known = known || c == b;
  EXPECT_TRUE(known);

  normalcolor edge;
  EXPECT_EQ(Mondrian3DColor(t(), 2.5, -3.5, 7.5, &edge, 3.0), 0.5);
  EXPECT_EQ(edge, (normalcolor{255, 0, 0, 0}));

  EXPECT_NEAR(Mondrian3DColor(t(), 2.5, -3.9, 7.25, &edge, 0.0), 0.1, 1e-12);
  normalcolor same;
  Mondrian3DColor(t(), 2.1, -3.2, 7.8, &same, 0.0);  // the same cell
  EXPECT_EQ(same, c);
}

// ---- Colour cycles ----

TEST(ColorCycles, NegativePhaseAndHueAreBroughtIntoTheCircle)
{
  struct Case
  {
    double phase, startHue, samePhase, sameHue;
  };
  const Case cases[] = {{-0.25, 0, 0.25, 0}, {0, -30, 0, 330}, {-1.1, -400, 0.9, 320}};
  for (const Case& c : cases) {
    floatcolor a[4], b[4];
    Get4ProcColorCycle(a, c.phase, c.startHue, 128, 255, 97, 10, -20);
    Get4ProcColorCycle(b, c.samePhase, c.sameHue, 128, 255, 97, 10, -20);
    for (int i = 0; i < 4; i++) {
      EXPECT_NEAR(a[i].red, b[i].red, 1e-3) << c.phase << " colour " << i;
      EXPECT_NEAR(a[i].green, b[i].green, 1e-3);
      EXPECT_NEAR(a[i].blue, b[i].blue, 1e-3);
    }
  }
  // Full saturation at hue 0 is red.
  floatcolor red[4];
  Get4ProcColorCycle(red, 0.0, 0.0, 127.5, 255, 0, 0, 0);
  EXPECT_NEAR(red[0].red, 255.0, 0.5);
  EXPECT_NEAR(red[0].green, 0.0, 0.5);
}

TEST(ColorCycles, SampleTheClosedFifteenColourHueTable)
{
  // Far outside 0..1 too: the start hue wraps as the table's 16-bit value.
  for (double t : {0.0, 0.45, 1.0, -0.7, -16.0, 40.0}) {
    normalcolor table[16] = {};
    GetParam1DColorTable(table, t, 15);
    table[15] = table[0];
    floatcolor sixteen[16], three[3];
    Get16ColorCycle(sixteen, t, 1.0 / 15, 0.2, 0.4, 0.6);
    GetTripleFColorCycle(three, t, false);
    // Whole table steps land on its entries; the end closes on entry 0.
    for (int i = 0; i < 4; i++) {
      double r, g, b;
      fcolorgradient(table, 16, i * (1.0 / 15), &r, &g, &b);
      expectColor(sixteen[i], r, g, b);
    }
    expectColor(sixteen[0], table[0].red, table[0].green, table[0].blue);
    double r, g, b;
    fcolorgradient(table, 16, 0.6666, &r, &g, &b);
    expectColor(three[2], r, g, b);
  }
}

TEST(ColorCycles, CyclesShareOneHueTable)
{
  for (double t : {0.0, 0.3, 0.77}) {
    floatcolor eight[8], sixteen[16], three[3], threeFlag[3];
    Get8ColorCycle(eight, t, 0.2, 100, 0.5);
    Get16ColorCycle(sixteen, t, 0.2, 1.3, 0.5, 0.9);
    GetTripleFColorCycle(three, t, false);
    GetTripleFColorCycle(threeFlag, t, true);
    for (int i = 0; i < 4; i++) {
      EXPECT_EQ(eight[i].red, sixteen[i].red);
      EXPECT_EQ(eight[i].blue, sixteen[i].blue);
    }
    EXPECT_EQ(three[0].green, eight[0].green);
    EXPECT_EQ(three[0].red, threeFlag[0].red);
    EXPECT_EQ(three[2].red, threeFlag[2].red);
    // Start 1.3 is taken as 0.3.
    floatcolor shifted[16];
    Get16ColorCycle(shifted, t, 0.2, 0.3, 0.5, 0.9);
    for (int i = 4; i < 8; i++)
      EXPECT_EQ(sixteen[i].green, shifted[i].green);
    // Greys from 155 * 0.5 = 77.5 up to 177.5.
    const double greys[4] = {77.5, 77.5 + 100.0 / 3, 77.5 + 200.0 / 3, 177.5};
    for (int i = 0; i < 4; i++)
      expectColor(eight[4 + i], greys[i], greys[i], greys[i]);
    for (const floatcolor& c : sixteen) {
      EXPECT_GE(c.red, 0.0f);
      EXPECT_LE(c.red, 255.0f);
    }
  }
}

}  // namespace
