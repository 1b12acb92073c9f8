// Family f42 as a whole: binding of every id, display names and labels byte
// for byte, defaults and message-4 maps, truncated Recursion counts, lock
// flags, and the no-value frame every built member shares.
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "components/f42/f42_complex.h"
#include "engine/catalog.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kInf = gINFINITY;

TEST(F42Catalog, EveryIdBindsItsEntryAndUnknownIdsBindComplexAdd)
{
  for (int16_t id = 0; id <= 31; ++id) {
    SCOPED_TRACE(id);
    KVmemberHarness fresh;  // lock flags stay with a slot from one binding to the next
    gfunc* g = fresh.bind(kFamily42, id);
    const KVcatalogMember m = KV_catalogMember(kFamily42, id);
    EXPECT_TRUE(m.real);
    EXPECT_EQ(g->compute, m.compute);
    EXPECT_EQ(g->inputCode, kConnFourValueFirst);
    EXPECT_EQ(g->outputCode, id == 31 ? 5 : kConnTwo);  // the city member: two levels
    // Recursion of C(Z + 1/Z), C e^Z and C sin Z stays out of randomisation.
    const bool locked = id == 19 || id == 21 || id == 22;
    EXPECT_EQ(g->lockFlags, locked ? kLockA : 0);
  }
  KVmemberHarness h;
  for (int16_t id : {int16_t(32), int16_t(126), int16_t(-1)}) {
    SCOPED_TRACE(id);
    gfunc* g = h.bind(kFamily42, id);
    EXPECT_EQ(g->compute, f42_add);
    EXPECT_EQ(g->handler, f42_add_handler);
    EXPECT_EQ(h.displayName(), " Complex add Z+C");
  }
  EXPECT_EQ(KV_familyMemberCount(kFamily42), 33);
}

TEST(F42Catalog, NamesLabelsDefaultsAndRangeEnds)
{
  const KVnameRow names[] = {
      {0, " Complex add Z+C", 1, {"Scale ", "", ""}},
      {1, " Complex multiply Z*C", 0, {"", "", ""}},
      {2, " Complex divide Z/C", 0, {"", "", ""}},
      {3, " Blended Max ", 1, {"Balance ", "", ""}},
      {4, " Distance divide", 2, {"Amount ", "Phase ", ""}},
      {5, " Interpolate ", 1, {"interpolate ", "", ""}},
      {6, " Exp field ", 2, {" warp ", "Amplitude ", ""}},
      {7, " ComplexMap 4D ", 2, {"Real ", "Imaginary ", ""}},
      {8, " Abs & minimum ", 2, {"Amplitude ", "Rotate B ", ""}},
      {9, " Real multiply ", 1, {"Amplitude ", "", ""}},
      {10, " Radial Interpolate ", 1, {"Amplitude ", "", ""}},
      {11, " Facet Mix ", 3, {"Amplitude ", "Phase ", "Frequency "}},
      {12, " Y compare ", 1, {"Offset ", "", ""}},
      {13, " Distance compare ", 0, {"", "", ""}},
      {14, " Split space ", 2, {"Offset ", " Split angle ", ""}},
      {15, " Min <-> Max", 2, {"Amplitude ", "Min to Max ", ""}},
      {16, " Add normalized", 2, {"Scale ", "Normalize ", ""}},
      {17, " Complex Z^2 + C ", 2, {"Recursion ", "Outer Slope ", ""}},
      {18, " Complex Z^3 + C ", 3, {"Recursion ", "Outer Slope ", "Outer offset "}},
      {19, " Complex C(Z+ 1/Z) ", 1, {"Recursion ", "", ""}},
      {20, " Escher disks", 3, {"Offset x ", "Offset y ", "Radius "}},
      {21, " Complex exp C e^Z ", 1, {"Recursion ", "", ""}},
      {22, " Complex C sin Z", 2, {"Recursion ", "Outer Slope ", ""}},
      {23, " x from Z, y from C", 0, {"", "", ""}},
      {24, " Mondrian displace", 3, {"Displacement ", "Phase ", "Frequency "}},
      {25, " Split 4", 2, {"Offset x ", "Offset y ", ""}},
      {26, " Complex add N*Z+C", 2, {"N real part ", "N imaginary  part ", ""}},
      {27, " Alternate Split ", 0, {"", "", ""}},
      {28, " Moebius(Z) + C ", 3, {"Angle ", "Scale ", "Imaginary "}},
      {29, " Complex power Z^n + C ", 1, {"n power exponent ", "", ""}},
      {30, " Split Disk ", 3, {"Radius ", "Offset x ", "Offset y "}},
  };
  const KVrangeRow ranges[] = {
      {0, {1, -1, -1}, {0.5, 0, 0}, {2, 0, 0}},
      {1, {-1, -1, -1}, {0, 0, 0}, {0, 0, 0}},
      {3, {0.5, -1, -1}, {0, 0, 0}, {1, 0, 0}},
      {4, {1, 0.125, -1}, {-1, -8, 0}, {1, 8, 0}},
      {5, {0.5, -1, -1}, {0, 0, 0}, {1, 0, 0}},
      {6, {0.5, 1, -1}, {0.05, 1, 0}, {0.95, 4, 0}},
      {7, {0.5, 0, -1}, {-2, -2, 0}, {2, 2, 0}},
      {8, {0.5, 0, -1}, {0.5, -kPi, 0}, {2, kPi, 0}},
      {9, {0.5, -1, -1}, {0, 0, 0}, {1, 0, 0}},
      {10, {0.5, -1, -1}, {0.125, 0, 0}, {4, 0, 0}},
      {11, {2, 0, 1}, {0.125, -8, 0.125}, {4, 8, 2}},
      {12, {0, -1, -1}, {-kPi, 0, 0}, {kPi, 0, 0}},
      {14, {0, 0, -1}, {-8, -kPi, 0}, {8, kPi, 0}},
      {15, {1, 0, -1}, {0.5, 0, 0}, {1.5, 1, 0}},
      {16, {1, 0, -1}, {-2, 0, 0}, {2, 1, 0}},
      {17, {0, 1, -1}, {0, -2, 0}, {128, 2, 0}},
      {18, {0, 1, 0}, {0, -2, 0}, {128, 2, 1}},
      {19, {0, -1, -1}, {0, 0, 0}, {128, 0, 0}},
      {20, {0.25, 0, 1}, {0, 0, 0.5}, {1, 1, 2}},
      {21, {0, -1, -1}, {0, 0, 0}, {64, 0, 0}},
      {22, {0, 1, -1}, {0, -2, 0}, {128, 2, 0}},
      {24, {1, 0, 1}, {0, -16, 0}, {8, 16, 4}},
      {25, {kPi, kPi, -1}, {0, 0, 0}, {16, 16, 0}},
      {26, {1, 0, -1}, {-4, -4, 0}, {4, 4, 0}},
      {28, {0, 1, 0}, {-2 * kPi, -4, -2 * kPi}, {2 * kPi, 4, 2 * kPi}},
      {29, {0.5, -1, -1}, {-8, 0, 0}, {8, 0, 0}},
      {30, {1, 0, 0}, {0.25, -8, -8}, {6.283185307179586, 8, 8}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily42, row);
  for (const KVrangeRow& row : ranges)
    KV_expectDefaultsAndRangeEnds(h, kFamily42, row);
}

// Recursion counts are whole numbers; message 5 gives n/128 (n/64 for the
// exponential map).
TEST(F42Catalog, RecursionIsTruncatedAndItsInverseIsTheCountOverItsRange)
{
  struct Case
  {
    int16_t id;
    double range;
  };
  KVmemberHarness h;
  for (const Case c : {Case{17, 128}, Case{18, 128}, Case{19, 128}, Case{21, 64}, Case{22, 128}}) {
    SCOPED_TRACE(c.id);
    gfunc* g = h.bind(kFamily42, c.id);
    double a = 0.3;
    h.send(kMsgFromNormalized, &a);
    EXPECT_EQ(g->A, std::trunc(0.3 * c.range));
    h.send(kMsgToNormalized, &a);
    EXPECT_EQ(a, std::trunc(0.3 * c.range) / c.range);
  }
}

// Every built member: x or z holding the marker gives the marker on both
// outputs; y or w alone does not.
TEST(F42Catalog, TheFrameMarksXAndZButNotYOrW)
{
  KVmemberHarness h;
  for (int16_t id = 0; id <= 30; ++id) {
    SCOPED_TRACE(id);
    h.bind(kFamily42, id);
    h.prepare();
    h.setInput(0, KVtestInput::samples({kInf, 0.5, 0.5, 0.5, -kInf, NAN}));
    h.setInput(1, KVtestInput::samples({0.25, 0.25, kInf, 0.25, 0.25, 0.25}));
    h.setInput(2, KVtestInput::samples({0.75, kInf, 0.75, 0.75, 0.75, 0.75}));
    h.setInput(3, KVtestInput::samples({-0.5, -0.5, -0.5, kInf, -0.5, -0.5}));
    const KVbatch out1 = h.run(6, 0);
    const KVbatch out2 = h.run(6, 1);
    for (int i : {0, 1, 4, 5}) {
      EXPECT_EQ(out1[size_t(i)], kInf) << i;
      EXPECT_EQ(out2[size_t(i)], kInf) << i;
    }
    // With y or w the marker the sample is computed: the blends and splits
    // move or pick the marker as a number (the escape-time maps, products
    // and Escher disks make it a marker by their own formulas).
    if (id == 0 || id == 3 || id == 5 || id == 12 || id == 13 || id == 14 || id == 15) {
      EXPECT_LT(out1[2], kInf);
      EXPECT_LT(out1[3], kInf);
    }
  }
}

// A batch of up to 16 samples gives what the same samples give one by one
// (Radial Interpolate reads the pixel position and is left out).
TEST(F42Catalog, BatchesEqualSingleSamples)
{
  KVmemberHarness h;
  KVgridView view;
  view.width = 21;
  view.height = 3;
  for (int16_t id = 0; id <= 30; ++id) {
    if (id == 10)
      continue;
    SCOPED_TRACE(id);
    h.bind(kFamily42, id);
    h.prepare();
    h.setInput(2, KVtestInput::fill(0.6));
    h.setInput(3, KVtestInput::fill(-0.3));
    for (int output = 0; output < 2; ++output) {
      const std::vector<double> batched = h.grid(view, output);
      for (int row = 0, k = 0; row < view.height; ++row)
        for (int col = 0; col < view.width; ++col, ++k) {
          const double single = h.at(view.x(col), view.y(row), output);
          const double b = batched[size_t(k)];
          EXPECT_TRUE(b == single || (std::isnan(b) && std::isnan(single)))
              << "output " << output << " at " << col << ", " << row;
        }
    }
  }
}

}  // namespace
