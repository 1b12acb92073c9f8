// The filter and delay primitives of the sound effects: the biquad step and
// its designers at known frequencies, the soft clips at their joints, the
// rings' slots and wrapped fractional reads, and the kernels.
#include "sound/effects_primitives.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "sound/rtaudio.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(EffectPrimitives, DelayRingReturnsTheValueWrittenThreeSamplesBefore)
{
  double ring[4] = {};
  for (int64_t n = 0; n < 20; ++n) {
    double r = ROT_DELAY(n, ring, 4, double(n + 1));
    EXPECT_EQ(r, n >= 3 ? double(n - 3 + 1) : 0.0) << n;
  }
}

TEST(EffectPrimitives, SoftClipsJoinAndSaturate)
{
  for (double s : {1.0, -1.0}) {
    EXPECT_DOUBLE_EQ(compressorB(0.5 * s), 0.5 * s);
    EXPECT_NEAR(compressorB(0.5000001 * s), 0.5 * s, 1e-6);
    EXPECT_DOUBLE_EQ(compressorB(1.5 * s), 1.0 * s);
    EXPECT_NEAR(compressorB(1.4999999 * s), s, 1e-6);
    EXPECT_DOUBLE_EQ(compressorB(7 * s), s);
  }
  EXPECT_DOUBLE_EQ(compressorB(1.0), 1.0 - 0.125);  // x - (x - 0.5)^2 / 2
  // compressorA: y = 2x/3 bent by a parabola, 1 from y = 1 on.
  EXPECT_DOUBLE_EQ(compressorA(0.0), 0.0);
  EXPECT_DOUBLE_EQ(compressorA(0.75), 1 - 0.25);
  EXPECT_DOUBLE_EQ(compressorA(-0.75), -(1 - 0.25));
  EXPECT_DOUBLE_EQ(compressorA(3.0), 1.0);
  EXPECT_DOUBLE_EQ(compressorA(-3.0), -1.0);
}

TEST(EffectPrimitives, DesignersPlaceTheLowestFrequencyAndTheResonator)
{
  gSAMPLERATE = 44100;
  // Below 21.5332 Hz the design is made at 21.533203125 Hz: omega =
  // 135.29708585655948 / rate; the notch's b1 / b0 is -2 cos omega.
  filtersecondorder low, floor;
  SetupGSOfilter(&low, 1, 1.0, 0.0, 0.3);
  SetupGSOfilter(&floor, 1, 1.0, 21.5331, 0.3);
  EXPECT_EQ(low.b1, floor.b1);
  EXPECT_EQ(low.a2, floor.a2);
  EXPECT_NEAR(low.b1 / low.b0, -2 * std::cos(135.29708585655948 / 44100), 1e-15);
  filtersecondorder above;
  SetupGSOfilter(&above, 1, 1.0, 21.5332, 0.3);
  EXPECT_NEAR(above.b1, low.b1, 1e-15);

  // The resonator: r = 0.9999 - 0.2499 q, zeros at +-1, its gain.
  filtersecondorder res;
  Setupresonnantfilter(&res, 1000, 0.4);
  double r = 0.9999 - 0.2499 * 0.4;
  double theta = (1000 - 21.533203125) / 22050 * kPi;
  EXPECT_DOUBLE_EQ(res.b2, -r);
  EXPECT_DOUBLE_EQ(res.a2, -r * r);
  EXPECT_DOUBLE_EQ(res.a1, 2 * r * std::cos(theta));
  EXPECT_DOUBLE_EQ(res.gain, ((1 - r * r) * 0.5 - 1) * 0.75 + 1);
  // The same resonator through the general designer, with a gain factor.
  SetupGSOfilter(&res, 0, 2.0, 1000, 0.4);
  EXPECT_DOUBLE_EQ(res.gain, 2 * (((1 - r * r) * 0.5 - 1) * 0.75 + 1));

  // The hp and lp designers put 21.533203125 Hz at theta 0.
  filtersecondorder hp;
  Setuphpfilter(&hp, 21.533203125, 0.0);
  EXPECT_DOUBLE_EQ(hp.a1, -2 * 0.5);
  EXPECT_DOUBLE_EQ(hp.a2, 0.25);
}

TEST(EffectPrimitives, UnknownTypesAndUnusableBandwidthsPassThrough)
{
  for (int type : {-1, 7, 255}) {
    filtersecondorder f;
    SetupGSOfilter(&f, type, 0.5, 1000, 0.3);
    EXPECT_EQ(f.b0, 1);
    EXPECT_EQ(f.a1, 0);
    EXPECT_EQ(f.a2, 0);
    EXPECT_EQ(f.gain, 0.5);
  }
  filtersecondorder f;
  SetupGSOfilter(&f, 4, 1.0, 1000, NAN);
  EXPECT_TRUE(std::isfinite(f.b0 + f.b1 + f.b2 + f.a1 + f.a2));
  SetupGSOfilter(&f, 4, 1.0, 1000, 1e9);  // 2^(6e9) octaves
  EXPECT_TRUE(std::isfinite(f.b0 + f.b1 + f.b2 + f.a1 + f.a2));
}

TEST(EffectPrimitives, StepAddsFeedbackAndLeavesTheRightStateWithoutARightSample)
{
  filtersecondorder f;
  f.gain = 2;
  f.b0 = 1;
  f.b1 = 0.5;
  f.a1 = 0.25;
  f.ry1 = 7;
  f.rx1 = 9;
  double x = 1;
  applySOfilter(&f, &x, nullptr);
  EXPECT_EQ(x, 2.0);
  double y = 0;
  applySOfilter(&f, &y, nullptr);
  EXPECT_EQ(y, 2 * (0.5 * 1 + 0.25 * 1));  // b1 x1 + a1 y1, feedback added
  EXPECT_EQ(f.ry1, 7);
  EXPECT_EQ(f.rx1, 9);
  clearresonnantfilter(&f);
  EXPECT_EQ(f.ly1 + f.ly2 + f.lx1 + f.lx2 + f.ry1 + f.ry2 + f.rx1 + f.rx2, 0);
  EXPECT_EQ(f.b1, 0.5);
}

TEST(EffectPrimitives, FractionalReadsWrapForAnyPosition)
{
  std::vector<double> ring(8);
  for (int i = 0; i < 8; ++i)
    ring[i] = i;
  EXPECT_DOUBLE_EQ(ringread(ring.data(), 8, 2.5), 2.5);
  EXPECT_DOUBLE_EQ(ringread(ring.data(), 8, 7.5), 3.5);   // between 7 and 0
  EXPECT_DOUBLE_EQ(ringread(ring.data(), 8, -0.5), 3.5);  // -1 is slot 7
  EXPECT_DOUBLE_EQ(ringread(ring.data(), 8, -13.0), 3.0);
  EXPECT_DOUBLE_EQ(ringread(ring.data(), 8, NAN), 0.0);
  // Long delays read before the start of the ring: 2L + d and (L + n) - d
  // go negative and still land in the ring.
  double r = ROT_VARDELAY(3, ring.data(), 8, 100, -1000.25);
  EXPECT_TRUE(std::isfinite(r));
  r = ROT_VARCOMB(0, ring.data(), 8, 1, 1e6 + 0.5, 1, 1);
  EXPECT_TRUE(std::isfinite(r));
  EXPECT_EQ(ringslot(-1, 8), 7);
  EXPECT_EQ(ringslot(-16, 8), 0);
}

TEST(EffectPrimitives, FeedbackCombsAndAllpassFollowTheirEquations)
{
  // ROT_FEEDBACK2: writes gin x + gfb (previous r + r), keeps r after the ring.
  std::vector<double> ring(3 + 1, 0.0);
  ring[1] = 4;  // read slot of n = 0
  ring[3] = 1;  // previous read
  EXPECT_EQ(ROT_FEEDBACK2(0, ring.data(), 3, 2, 0.5, 0.25), 4);
  EXPECT_EQ(ring[0], 0.5 * 2 + 0.25 * (1 + 4));
  EXPECT_EQ(ring[3], 4);

  // ALLPASSREVFILTER: y = (xo + g yo) k - g x.
  std::vector<double> ap(2 * 5, 0.0);
  std::vector<double> out;
  for (int64_t n = 0; n < 12; ++n)
    out.push_back(ALLPASSREVFILTER(n, ap.data(), 5, n == 0 ? 1.0 : 0.0, 0.5, 0.75));
  EXPECT_EQ(out[0], -0.5);
  EXPECT_EQ(out[4], 0.75 * (1 + 0.5 * -0.5));  // the input and output of n = 0 return
  EXPECT_EQ(out[8], 0.75 * 0.5 * out[4]);      // read back 4 samples later

  // ROT_COMBFEEDBACKB with d = 2: reads what it wrote two samples before.
  std::vector<double> comb(6, 0.0);
  double first = ROT_COMBFEEDBACKB(0, comb.data(), 6, 1.0, 2, 0.5, 1.0);
  EXPECT_EQ(first, (0 - 0.8) * 0.5 + 1);
  ROT_COMBFEEDBACKB(1, comb.data(), 6, 0.0, 2, 0.5, 1.0);
  EXPECT_EQ(ROT_COMBFEEDBACKB(2, comb.data(), 6, 0.0, 2, 0.5, 1.0), first * 0.5);

  // ROT_AVERAGE: the running mean moves by (x - oldest) / L.
  std::vector<double> avg(4, 1.0);
  EXPECT_DOUBLE_EQ(ROT_AVERAGE(0, avg.data(), 4, 5.0, 1.0), 2.0);
}

TEST(EffectPrimitives, KernelsAndTheSmoothedFeedbackRing)
{
  std::vector<double> buf(2 * 9, 0.0);
  rotfilter_setup(buf.data(), 9, 0.5, 1.0);
  double sum = 0;
  for (int j = 0; j < 9; ++j)
    sum += buf[9 + j];
  EXPECT_NEAR(sum, 1.0, 1e-12);
  EXPECT_GT(buf[9 + 4], buf[9 + 3]);  // centred on L/2
  EXPECT_DOUBLE_EQ(buf[9 + 3], buf[9 + 5]);

  std::vector<double> sine(2 * 16, 0.0);
  rotfilter_sine(sine.data(), 16, 1, 1.0);
  EXPECT_DOUBLE_EQ(sine[16], 0.0);         // sin(0)
  rotfilter_sine(sine.data(), 0, 1, 1.0);  // nothing for L < 1

  // rotfilter_line convolves the ring oldest first with the taps after it.
  std::vector<double> line = {0, 0, 0, 1, 2, 3};
  rotfilter_line(0, line.data(), 3, 10);
  rotfilter_line(1, line.data(), 3, 20);
  EXPECT_EQ(rotfilter_line(2, line.data(), 3, 30), 10 * 1 + 20 * 2 + 30 * 3);

  // ROT_FLTFEEDBACK: an impulse returns after L - 1 samples through the
  // kernel's taps.
  const int32_t L = 10, K = 3;
  std::vector<double> fb(L + 2 * K, 0.0);
  fb[L + K] = 0.25, fb[L + K + 1] = 0.5, fb[L + K + 2] = 0.25;
  std::vector<double> y;
  for (int64_t n = 0; n < 14; ++n)
    y.push_back(ROT_FLTFEEDBACK(n, fb.data(), L, K, n == 0 ? 1.0 : 0.0, 1.0, 0.0));
  EXPECT_EQ(y[9], 0.25);
  EXPECT_EQ(y[10], 0.5);
  EXPECT_EQ(y[11], 0.25);
}

}  // namespace
