// Region overlap drivers, observed through a recording callback.
#include "noise/regions.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <vector>

#include "noise/tables.h"
#include "noise_test_support.h"

namespace {

struct RegionCall
{
  double u, v;
  int32_t code;
  regionrecord* a;
  double sizeSlotAtCall;  // what the callback finds in slot 12
};

// The accumulator handed to the drivers; the callback records into it.
struct Recorder : dvector4d
{
  std::vector<RegionCall> calls;
};

int32_t record(fractalsinfos*, double u, double v, double, int32_t code, regionrecord* a,
               dvector4d* b)
{
  double slot = a ? a->values[kRegionSizeSlot] : std::nan("");
  static_cast<Recorder*>(b)->calls.push_back({u, v, code, a, slot});
  return 1;
}

class Regions : public SeededTablesTest<77>
{
protected:
  void SetUp() override { fi.tables = tables.get(); }

  fractalsinfos fi;
};

// Sample points over several cells, negative ones included.
std::vector<std::pair<double, double>> samplePoints()
{
  std::vector<std::pair<double, double>> points;
  for (int a = 0; a < 40; a++)
    for (int b = 0; b < 40; b++)
      points.push_back({-20.3 + a * 1.037, -13.9 + b * 0.913});
  return points;
}

TEST_F(Regions, OverlapCallsTwoLayersForModesTwoAndFourElseFour)
{
  struct Case
  {
    int16_t mode;
    size_t calls;
  };
  for (Case c : {Case{2, 2}, Case{4, 2}, Case{0, 4}, Case{1, 4}, Case{3, 4}, Case{-1, 4}}) {
    SCOPED_TRACE(c.mode);
    for (auto [x, y] : samplePoints()) {
      Recorder rec;
      regionrecord a;
      fregionOverlap(&fi, x, y, 0.0, record, &a, &rec, c.mode);
      ASSERT_EQ(rec.calls.size(), c.calls) << x << ", " << y;
      for (const RegionCall& call : rec.calls) {
        EXPECT_GE(call.u, -1.0);
        EXPECT_LT(call.u, 1.0);
        EXPECT_GE(call.v, -1.0);
        EXPECT_LT(call.v, 1.0);
        EXPECT_EQ(call.a, &a);
      }
    }
  }
}

TEST_F(Regions, OverlapHalfFractionStaysInTheLowerShiftedCell)
{
  // fx = 0.5 exactly: the shifted layer takes cell i + 333 and u = 1.0.
  Recorder rec;
  fregionOverlap(&fi, 3.5, 7.25, 0.0, record, nullptr, &rec, 2);
  ASSERT_EQ(rec.calls.size(), 2u);
  EXPECT_EQ(rec.calls[0].u, 0.0);
  EXPECT_EQ(rec.calls[0].code, cellHash(3, 7));
  EXPECT_EQ(rec.calls[1].u, 1.0);
  EXPECT_DOUBLE_EQ(rec.calls[1].v, 2.0 * (7.25 + 333.5 - 340.0) - 1.0);
  EXPECT_EQ(rec.calls[1].code, tables->perm[cellHash(336, 340) & 1023]);
}

TEST_F(Regions, UndefinedSampleMakesNoCall)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (auto [x, y] : {std::pair{nan, 0.5}, std::pair{0.5, 1e250}, std::pair{-3e9, 0.5}}) {
    Recorder rec;
    regionrecord a;
    a.values[kRegionJitterSlot] = 0.0;
    fregionOverlap(&fi, x, y, 0.0, record, &a, &rec, 1);
    fregionJitterOverlap1(&fi, x, y, 0.0, record, &a, &rec);
    fregionJitterOverlap4(&fi, x, y, 0.0, record, &a, &rec);
    fregionJitterOverlap8(&fi, x, y, 0.0, record, &a, &rec);
    EXPECT_TRUE(rec.calls.empty()) << x << ", " << y;
  }
}

TEST_F(Regions, JitterFourWithoutJitterCallsEveryLayerWithItsCellFrame)
{
  // Jitter 0: every region is its whole cell, so each layer calls with
  // u = 2 fx - 1, and the cells follow the layer offsets (333.25, 777.5).
  regionrecord a;
  a.values[kRegionJitterSlot] = 0.0;
  for (auto [x, y] : samplePoints()) {
    Recorder rec;
    fregionJitterOverlap4(&fi, x, y, 0.0, record, &a, &rec);
    ASSERT_EQ(rec.calls.size(), 4u) << x << ", " << y;
    for (int layer = 0; layer < 4; layer++) {
      double X = x + 333.25 * layer, Y = y + 777.5 * layer;
      double I = std::floor(X), J = std::floor(Y);
      const RegionCall& call = rec.calls[layer];
      EXPECT_NEAR(call.u, 2.0 * (X - I) - 1.0, 1e-9);
      EXPECT_NEAR(call.v, 2.0 * (Y - J) - 1.0, 1e-9);
      EXPECT_EQ(call.code, cellHash(int32_t(I), int32_t(J)));
      EXPECT_EQ(call.a, &a);
    }
  }
}

TEST_F(Regions, JitterFourWithoutRecordUsesHalfJitterLikeTheEightLayerDriver)
{
  regionrecord half;
  half.values[kRegionJitterSlot] = 0.5;
  int calls = 0;
  for (auto [x, y] : samplePoints()) {
    Recorder none, withRecord, eight;
    fregionJitterOverlap4(&fi, x, y, 0.0, record, nullptr, &none);
    fregionJitterOverlap4(&fi, x, y, 0.0, record, &half, &withRecord);
    fregionJitterOverlap8(&fi, x, y, 0.0, record, &half, &eight);
    ASSERT_EQ(none.calls.size(), withRecord.calls.size());
    ASSERT_LE(eight.calls.size(), 8u);
    ASSERT_GE(eight.calls.size(), none.calls.size());
    // The eight-layer driver starts with the same four layers.
    for (size_t k = 0; k < none.calls.size(); k++) {
      EXPECT_EQ(none.calls[k].code, eight.calls[k].code);
      EXPECT_EQ(none.calls[k].u, eight.calls[k].u);
      EXPECT_EQ(none.calls[k].v, withRecord.calls[k].v);
    }
    for (const RegionCall& call : eight.calls) {
      EXPECT_LE(std::fabs(call.u), 1.0);
      EXPECT_LE(std::fabs(call.v), 1.0);
    }
    calls += int(eight.calls.size());
  }
  EXPECT_GT(calls, 0);
}

TEST_F(Regions, JitterOneWritesTheRegionSizeOnlyWhenItCalls)
{
  constexpr double untouched = -7.0;
  int called = 0, skipped = 0;
  for (auto [x, y] : samplePoints()) {
    regionrecord a;
    a.values[kRegionSizeSlot] = untouched;
    Recorder rec;
    fregionJitterOverlap1(&fi, x, y, 0.0, record, &a, &rec);
    ASSERT_LE(rec.calls.size(), 1u);
    if (rec.calls.empty()) {
      EXPECT_EQ(a.values[kRegionSizeSlot], untouched);
      skipped++;
      continue;
    }
    called++;
    double s = a.values[kRegionSizeSlot];
    EXPECT_GE(s, 0.5);  // r.z = -1 gives exactly 0.5
    EXPECT_LE(s, 1.0);
    EXPECT_EQ(rec.calls[0].sizeSlotAtCall, s);  // stored before the call
    EXPECT_EQ(rec.calls[0].a, &a);
  }
  EXPECT_GT(called, 0);
  EXPECT_GT(skipped, 0);
}

TEST_F(Regions, OversizedJitterGivesEmptyRegionsWithoutDividingByZero)
{
  // Jitter 2 shrinks the region of a cell with |r.z| = 0.5 to nothing, larger
  // |r.z| to a negative size: no call may come from those.
  regionrecord a;
  a.values[kRegionJitterSlot] = 2.0;
  for (auto [x, y] : samplePoints()) {
    Recorder rec;
    fregionJitterOverlap4(&fi, x, y, 0.0, record, &a, &rec);
    for (const RegionCall& call : rec.calls) {
      EXPECT_TRUE(std::isfinite(call.u) && std::isfinite(call.v));
      EXPECT_LE(std::fabs(call.u), 1.0);
    }
  }
}

}  // namespace
