// The catalog side of the one-input members built with the memory group of
// f11: the f11 gate, loop, memory, derivative and compiled-tree members and
// the whole of f12, f13 and f14. Names and labels byte for byte, parameter
// counts, defaults, the values of message 4 at both ends of the normalised
// range, message 5 after message 4, and the binding of every id.
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "components/f12/f12_pairs.h"
#include "components/f13/f13_colors.h"
#include "components/f14/f14_colors.h"
#include "components/f34/f34_rndvlines.h"
#include "engine/catalog.h"
#include "foundation/colormath.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double M = kAbsentParam;

struct MemberRow
{
  uint16_t family;
  int16_t id;
  const char* name;
  int count;
  const char* labels[3];
  double defaults[3];
  double atZero[3];
  double atOne[3];
};

const MemberRow kRows[] = {
    {kFamily11, 15, " Derivative", 2, {"Amplitude ", "Offset ", ""}, {1, 0, M}, {0, -2}, {2, 4}},
    {kFamily11,
     26,
     " 2D Derivative",
     3,
     {"Light Direction dx ", "Light Direction dy ", "Offset "},
     {1, 1, 0},
     {-2, -2, -2},
     {2, 2, 4}},
    {kFamily11,
     27,
     " infinity gate/mask",
     3,
     {"Maximum ", "Minimum ", "Invert mask "},
     {16, 0, 0},
     {0, -100, -1},
     {100, 2, 1}},
    {kFamily11,
     28,
     " Iterations",
     2,
     {"Multiplier/Value ", "Iterations ", ""},
     {1, 0, M},
     {0, 0},
     {8, 64}},
    {kFamily11, 29, " Memory Max", 0, {"", "", ""}, {M, M, M}, {}, {}},
    {kFamily11,
     30,
     " Memory Add",
     2,
     {"Start Value ", "Sum Gain ", ""},
     {0, 1, M},
     {-4, 0},
     {2, 2}},
    {kFamily11, 40, " Memory Min", 0, {"", "", ""}, {M, M, M}, {}, {}},
    {kFamily11, 50, " Memory Diff", 1, {"Smoothness ", "", ""}, {0, M, M}, {1e-7}, {2}},
    {kFamily11, 51, " 2D Slope", 2, {"Amplitude ", "Offset ", ""}, {1, 0, M}, {0, -1}, {8, 1}},
    {kFamily11,
     54,
     " Memory Fractal Add",
     2,
     {" Power slope ", " Sum gain ", ""},
     {1, 1, M},
     {0.5, 0},
     {2, 2}},
    {kFamily11, 127, " Line", 2, {"Blend ", "Recursion ", ""}, {1, 0, M}, {0, 0}, {1, 128}},

    {kFamily12,
     0,
     " Set Constant",
     2,
     {"Set constant x ", "Set constant y ", ""},
     {0, 0, M},
     {-16, -16},
     {16, 16}},
    {kFamily12,
     1,
     " Modulo & int ",
     3,
     {"Real Modulo (x) ", "Phase ", "Int Modulo (y) "},
     {2, 0, 2},
     {0.125, -2, 2},
     {16, 2, 32}},
    {kFamily12,
     2,
     " Linear motion",
     2,
     {"Direction ", "Speed ", ""},
     {kPi, 1, M},
     {-2 * kPi, 0},
     {2 * kPi, 8}},
    {kFamily12,
     3,
     " Circular motion",
     3,
     {"Radius ", "Speed X ", "Speed Y "},
     {kPi, 1, 1},
     {0, 0, 0},
     {4 * kPi, 8, 8}},
    {kFamily12, 4, " Random motion", 2, {"Amplitude ", "Speed ", ""}, {kPi, 1, M}, {-8, 0}, {8, 8}},
    {kFamily12,
     5,
     " Math : atan & tgt  ",
     1,
     {"Amplitude ", "", ""},
     {1, M, M},
     {-2 * kPi},
     {2 * kPi}},
    {kFamily12,
     6,
     " Math : log & exp  ",
     1,
     {"Amplitude ", "", ""},
     {1, M, M},
     {-2 * kPi},
     {2 * kPi}},
    {kFamily12,
     7,
     " Cubic Clip ",
     3,
     {"Input Scale ", "Offset ", "Amplitude "},
     {1, 0, 4},
     {0, -4, 0},
     {2, 4, 32}},
    {kFamily12,
     8,
     " 2D derivative dx,dy",
     2,
     {"Amplitude ", "Normalize % ", ""},
     {1, 1, M},
     {-2 * kPi, 0},
     {2 * kPi, 1}},
    {kFamily12,
     9,
     " Integer Modulo",
     3,
     {"Modulo ", "Freq x ", "Freq y "},
     {8, 0.5, 0.25},
     {2, 0, 0},
     {32, 1, 1}},
    {kFamily12, 127, "", 2, {"Scale ", "Iterations ", ""}, {1, 0, M}, {0, 0}, {1, 32}},

    {kFamily13, 0, " Unpack", 0, {"", "", ""}, {M, M, M}, {}, {}},
    {kFamily13,
     1,
     " Set Constant",
     3,
     {"X/Red Value ", "Y/Green Value ", "Z/Blue Value "},
     {1, 1, 1},
     {-4, -4, -4},
     {16, 16, 16}},
    {kFamily13,
     2,
     " Random color",
     3,
     {"Color Variance ", "Saturation ", "Luminance "},
     {1, 1, 0.5},
     {-2, 0, 0},
     {2, 1, 1}},
    {kFamily13,
     3,
     " Shaded plain color",
     3,
     {"Red ", "Green ", "Blue "},
     {0, 2, 6},
     {0, 0, 0},
     {8, 8, 8}},
    {kFamily13,
     4,
     " Hue color",
     3,
     {"Hue Variance ", "Saturation ", "Luminance "},
     {1, 1, 0.5},
     {0, 0, 0},
     {2, 1, 1}},
    {kFamily13,
     5,
     " RGB gamma",
     3,
     {"Gamma red ", "Gamma green ", "Gamma blue "},
     {1, 1, 1},
     {0.125, 0.125, 0.125},
     {8, 8, 8}},
    {kFamily13,
     6,
     " Main gradient",
     2,
     {"Gradient Scale X ", "Gradient Offset ", ""},
     {1, 0, M},
     {0, -2},
     {2, 2}},
    {kFamily13,
     7,
     " Indexed gradient",
     3,
     {"Gradient Scale X ", "Gradient Offset ", "Gradient Index "},
     {1, 0, 0},
     {0, -2, 0},
     {2, 2, 39}},
    {kFamily13,
     8,
     " Color Sines ",
     3,
     {"Red freq ", "Green freq ", "Blue freq "},
     {1, 2, 4},
     {-4 * kPi, -4 * kPi, -4 * kPi},
     {4 * kPi, 4 * kPi, 4 * kPi}},
    {kFamily13,
     9,
     " RGB Neon line",
     3,
     {"Red ", "Green ", "Blue "},
     {6, 0, 2},
     {0, 0, 0},
     {8, 8, 8}},
    {kFamily13,
     10,
     " RGB half plane ",
     3,
     {"Amplitude ", "Offset ", "Color Cycle "},
     {4, 0, 0.5},
     {-8, -16, 0},
     {8, 16, 1}},
    {kFamily13, 127, "", 2, {"Scale ", "Iterations ", ""}, {1, 0, M}, {0, 0}, {1, 32}},

    {kFamily14, 0, " Unpack", 0, {"", "", ""}, {M, M, M}, {}, {}},
    {kFamily14,
     1,
     " Set Constant",
     3,
     {"X/Red Value ", "Y/Green Value ", "Z/Blue Value "},
     {1, 1, 1},
     {-4, -4, -4},
     {16, 16, 16}},
    {kFamily14,
     2,
     " Random color+alpha",
     3,
     {"Color Variance ", "Saturation ", "Luminance "},
     {1, 1, 0.5},
     {-2, 0, 0},
     {2, 1, 1}},
    {kFamily14,
     3,
     " RGBa half plane ",
     3,
     {"Amplitude ", "Offset ", "Color Cycle "},
     {4, 2, 0.5},
     {-8, -16, 0},
     {8, 16, 1}},
    {kFamily14,
     4,
     " RGBa Neon line",
     3,
     {"Red ", "Green ", "Blue "},
     {6, 0, 2},
     {0, 0, 0},
     {8, 8, 8}},
    {kFamily14,
     5,
     " RGBa Sin x ",
     3,
     {"Frequency ", "Amplitude ", "Color Cycle "},
     {1, 1, 0.5},
     {-4, -8, 0},
     {4, 8, 1}},
    {kFamily14,
     6,
     " Shifted Harmonics",
     3,
     {"Frequency ", "Amplitude ", "Harmonic Offset "},
     {1, 8, 0},
     {0, -8, 0},
     {4 * kPi, 8, 32}},
    {kFamily14,
     7,
     " Main gradient",
     2,
     {"Gradient Scale X ", "Gradient Offset ", ""},
     {1, 0, M},
     {0, -2},
     {2, 2}},
    {kFamily14,
     8,
     " Shaded plain color",
     3,
     {"Red ", "Green ", "Blue "},
     {0, 2, 6},
     {0, 0, 0},
     {8, 8, 8}},
    {kFamily14,
     9,
     " Hue color",
     3,
     {"Hue Variance ", "Saturation ", "Luminance "},
     {1, 1, 0.5},
     {0, 0, 0},
     {2, 1, 1}},
    {kFamily14,
     10,
     " Scaled Harmonics",
     3,
     {"Frequency ", "Harmonic Spacing ", "Harmonic Offset "},
     {1, 2, 0},
     {0, 1, -1},
     {4 * kPi, 6, 24}},
    {kFamily14,
     11,
     " Random Verticals",
     3,
     {"Amount ", "Color Cycle ", "Frequency "},
     {0.5, 0.5, 1},
     {0, 0, 0},
     {1, 1, 8}},
    {kFamily14, 127, "", 2, {"Scale ", "Iterations ", ""}, {1, 0, M}, {0, 0}, {1, 32}},
};

double near(double expected)
{
  return 1e-12 * (1 + std::fabs(expected));
}

TEST(OneInputCatalog, NamesLabelsDefaultsAndRangeEnds)
{
  KVmemberHarness h;
  for (const MemberRow& row : kRows) {
    SCOPED_TRACE(testing::Message() << "family " << row.family << " id " << row.id);
    gfunc* g = h.bind(int16_t(row.family), row.id);
    EXPECT_TRUE(KV_catalogMember(row.family, row.id).real);
    EXPECT_EQ(h.displayName(), row.name);
    EXPECT_EQ(g->paramCount, row.count);
    const double defaults[3] = {g->A, g->B, g->C};
    for (int p = 0; p < 3; ++p) {
      EXPECT_NEAR(defaults[p], row.defaults[p], near(row.defaults[p])) << "default " << p;
      double value = 4321;
      EXPECT_EQ(h.send(int16_t(kMsgParamA + p), &value), row.labels[p]) << "label " << p;
      EXPECT_EQ(value, p < row.count ? KV_param(g, p) : 4321) << "parameter " << p;
    }
    for (const auto& [n, expected] : {std::pair{0.0, row.atZero}, std::pair{1.0, row.atOne}}) {
      double a = n, b = n, c = n;
      h.send(kMsgFromNormalized, &a, &b, &c);
      for (int p = 0; p < row.count; ++p)
        EXPECT_NEAR(KV_param(g, p), expected[p], near(expected[p]))
            << "parameter " << p << " n " << n;
    }
  }
}

// Message 5 gives back a normalised value in 0..1 that message 4 maps to the
// same parameters (a whole-number parameter may come back anywhere on its
// step).
TEST(OneInputCatalog, MessageFiveAfterMessageFour)
{
  KVmemberHarness h;
  for (const MemberRow& row : kRows) {
    SCOPED_TRACE(testing::Message() << "family " << row.family << " id " << row.id);
    gfunc* g = h.bind(int16_t(row.family), row.id);
    double a = 0.3, b = 0.3, c = 0.3;
    h.send(kMsgFromNormalized, &a, &b, &c);
    const double set[3] = {g->A, g->B, g->C};
    a = b = c = -7;
    h.send(kMsgToNormalized, &a, &b, &c);
    const double back[3] = {a, b, c};
    for (int p = 0; p < 3; ++p) {
      if (p >= row.count) {
        EXPECT_EQ(back[p], -7) << "parameter " << p;
        continue;
      }
      EXPECT_GE(back[p], -1e-12);
      EXPECT_LE(back[p], 1 + 1e-12);
    }
    h.send(kMsgFromNormalized, &a, &b, &c);
    for (int p = 0; p < row.count; ++p)
      EXPECT_NEAR(KV_param(g, p), set[p], near(set[p])) << "parameter " << p;
  }
}

TEST(OneInputCatalog, EveryIdIsBuiltAndUnknownIdsFallBack)
{
  struct Family
  {
    uint16_t family;
    int members;
    int16_t outputCode;
    KVComputeProc fallback;
  };
  const Family families[] = {
      {kFamily12, 11, kConnTwo, f12_circularmotion},
      {kFamily13, 12, kConnThreeOut, f13_randomcolor},
      {kFamily14, 13, kConnFour, f14_unpack},
  };
  KVmemberHarness h;
  for (const Family& f : families) {
    SCOPED_TRACE(f.family);
    EXPECT_EQ(KV_familyMemberCount(f.family), f.members);
    int rows = 0;
    for (const MemberRow& row : kRows)
      rows += row.family == f.family;
    EXPECT_EQ(rows, f.members);
    for (int16_t id : {int16_t(60), int16_t(126), int16_t(-3)}) {
      gfunc* g = h.bind(int16_t(f.family), id);
      EXPECT_EQ(g->compute, f.fallback) << id;
      EXPECT_EQ(g->inputCode, kConnOne);
      EXPECT_EQ(g->outputCode, f.outputCode);
    }
    EXPECT_EQ(h.bind(int16_t(f.family), kCompiledTreeId)->lockFlags & 2, 2);
  }
}

// Random Verticals (f14 id 11) binds the f34 member's handler, whose message
// 8 fills the closed colour table from Color Cycle; the f34 member itself
// describes itself the same way.
TEST(OneInputCatalog, RandomVerticalsColourTable)
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily14, 11);
  EXPECT_EQ(g->handler, f34_RndVLines_handler);
  g->B = 0.3;
  h.precompute();
  normalcolor expected[15];
  GetParam1DColorTable(expected, 0.3, 15);
  const normalcolor* table = f34_rndVLinesState(g).table;
  for (int i = 0; i < 15; ++i)
    EXPECT_EQ(table[i].red * 65536 + table[i].green * 256 + table[i].blue,
              expected[i].red * 65536 + expected[i].green * 256 + expected[i].blue)
        << i;
  EXPECT_EQ(table[15].red, table[0].red);
  EXPECT_EQ(table[15].blue, table[0].blue);

  EXPECT_TRUE(KV_catalogMember(kFamily34, 4).real);
  gfunc* f34 = h.bind(kFamily34, 4);
  EXPECT_EQ(h.displayName(), " Random Verticals");
  EXPECT_EQ(f34->C, 1);
}

}  // namespace
