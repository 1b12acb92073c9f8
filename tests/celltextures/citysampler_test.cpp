// The 3D corner sampler with a recording cell: which corners it calls, from
// which code, the lattice split of negative and undefined coordinates, the
// sharpened weights and the colours.
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "cell_test_support.h"
#include "celltextures/celltexture3d.h"

namespace {

struct Call
{
  int32_t x, y, z;
  int16_t codeOnEntry;
};

// The calls of the recording cell on this thread.
thread_local std::vector<Call> gCalls;

// Level = x + 10 y + 100 z; code = its entry code plus 1 + (x & 1) + 2 (y & 1)
// + 4 (z & 1), so each corner writes its own code.
double recordingCell(const KVtables*, int32_t x, int32_t y, int32_t z, int16_t* code)
{
  gCalls.push_back({x, y, z, *code});
  *code = int16_t(*code + 1 + (x & 1) + 2 * (y & 1) + 4 * (z & 1));
  return x + 10.0 * y + 100.0 * z;
}

// One code everywhere.
double codeThreeCell(const KVtables*, int32_t, int32_t, int32_t, int16_t* code)
{
  *code = 3;
  return 1.0;
}

CellColorSample sampleAt(double x, double y, double z, double k, int16_t code = 20,
                         const floatcolor* cycle = nullptr)
{
  auto t = seededCellTables();
  gCalls.clear();
  CellColorSample s;
  s.code = code;
  s.red = k;
  s.value = 0.5;
  fmazeCityTexture(t.get(), recordingCell, cycle, &s, x, y, z);
  return s;
}

TEST(CitySampler, EightCornersEachFromTheSamplesCode)
{
  const CellColorSample s = sampleAt(3.25, 5.5, -0.5, 1.0, 20);
  const Call expected[8] = {{3, 5, -1, 20}, {4, 5, -1, 20}, {3, 6, -1, 20}, {4, 6, -1, 20},
                            {3, 5, 0, 20},  {4, 5, 0, 20},  {3, 6, 0, 20},  {4, 6, 0, 20}};
  ASSERT_EQ(gCalls.size(), 8u);
  for (int k = 0; k < 8; k++) {
    EXPECT_EQ(gCalls[k].x, expected[k].x) << k;
    EXPECT_EQ(gCalls[k].y, expected[k].y) << k;
    EXPECT_EQ(gCalls[k].z, expected[k].z) << k;
    EXPECT_EQ(gCalls[k].codeOnEntry, 20) << k;
  }
  // Corner (3, 5, -1) writes 20 + 1 + 1 + 2 + 4.
  EXPECT_EQ(s.cornerCode, 28);
  EXPECT_EQ(s.code, 20);
}

TEST(CitySampler, LatticeSplitAndSharpenedWeights)
{
  struct Case
  {
    double x, k;
    int32_t x0;
    double level;  // the level is linear in x across the cell: x0 + wx
  };
  const Case cases[] = {
      {-2.0, 1.0, -3, -2.0},  // a negative whole number lies at fraction 1 of the cell below
      {0.6, 2.0, 0, 1.0},     // k f = 1.2: weight 1
      {0.5, 1.0, 0, 0.5},     // smoothstep(0.5)
      {0.25, 1.0, 0, 0.15625}, {0.3, -1.0, 0, 0.0},  // k f < 0: weight 0
      {7.0, 1.0, 7, 7.0},
  };
  for (const Case& c : cases) {
    const CellColorSample s = sampleAt(c.x, 0.0, 0.0, c.k);
    EXPECT_EQ(gCalls[0].x, c.x0) << c.x;
    EXPECT_DOUBLE_EQ(s.value, c.level) << c.x;
  }
}

TEST(CitySampler, UndefinedCoordinateSamplesCellZero)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double bad : {nan, 1e250, -3e9}) {
    const CellColorSample s = sampleAt(5.5, bad, 2.5, 1.0);
    EXPECT_EQ(gCalls[0].x, 0);
    EXPECT_EQ(gCalls[0].y, 0);
    EXPECT_EQ(gCalls[0].z, 0);
    EXPECT_EQ(s.value, 0.0);  // the level of corner (0, 0, 0) at fraction 0
  }
}

TEST(CitySampler, NullCycleGivesBlackWithLevelAndCornerCode)
{
  const CellColorSample s = sampleAt(1.5, 2.5, 3.5, 1.0, 0);
  EXPECT_EQ(s.red, 0.0);
  EXPECT_EQ(s.green, 0.0);
  EXPECT_EQ(s.blue, 0.0);
  EXPECT_DOUBLE_EQ(s.value, 1.5 + 25.0 + 350.0);
  EXPECT_EQ(s.cornerCode, 1 + 1 + 0 + 4);
}

TEST(CitySampler, CycleColoursTheCornerCodes)
{
  auto t = seededCellTables();
  floatcolor cycle[16];
  for (int i = 0; i < 16; i++)
    cycle[i] = {float(10 * i), float(i), 200.0f};
  CellColorSample s;
  s.red = 1.0;
  fmazeCityTexture(t.get(), codeThreeCell, cycle, &s, 0.3, -4.7, 9.9);
  EXPECT_FLOAT_EQ(float(s.red), 30.0f);
  EXPECT_FLOAT_EQ(float(s.green), 3.0f);
  EXPECT_FLOAT_EQ(float(s.blue), 200.0f);
  EXPECT_EQ(s.value, 1.0);
  EXPECT_EQ(s.cornerCode, 3);
}

}  // namespace
