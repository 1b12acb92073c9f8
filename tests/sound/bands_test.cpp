// Octave-band analysis: a sine at a band's own frequency peaks in that band
// with the same level in every band, the windows shrink to 8 samples in band
// 7, stereo is the mean of its channels, and the single-bin sums step the
// tables by 4096 / n.
#include "sound/bands.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "sound/treesound.h"

namespace {

class OctaveBands : public ::testing::Test
{
protected:
  void SetUp() override
  {
    savedSin_ = gfsintable;
    savedCos_ = gfcostable;
    kvBuild_fftsintable(tables_.data());
  }
  void TearDown() override
  {
    gfsintable = savedSin_;
    gfcostable = savedCos_;
  }

  // 1024 frames of a sine of `periods` periods per 1024 samples.
  static std::vector<float> sine(double periods, int channels = 1)
  {
    std::vector<float> s(size_t(kOctaveBandFrames) * size_t(channels));
    for (size_t i = 0; i < s.size(); ++i) {
      const size_t frame = i / size_t(channels);
      s[i] = float(std::sin(2 * std::numbers::pi * periods * double(frame) / kOctaveBandFrames));
    }
    return s;
  }
  static std::vector<double> levels(const double bands[16])
  {
    std::vector<double> out;
    for (int b = 0; b < kOctaveBandCount; ++b)
      out.push_back(std::hypot(bands[2 * b], bands[2 * b + 1]));
    return out;
  }

  std::vector<double> tables_ = std::vector<double>(2 * kFFTtableSize);
  double* savedSin_ = nullptr;
  double* savedCos_ = nullptr;
};

TEST_F(OctaveBands, TablesHoldOnePeriod)
{
  EXPECT_EQ(gfsintable, tables_.data());
  EXPECT_EQ(gfcostable, tables_.data() + kFFTtableSize);
  EXPECT_DOUBLE_EQ(gfsintable[1024], 1.0);
  EXPECT_DOUBLE_EQ(gfcostable[0], 1.0);
  EXPECT_NEAR(gfcostable[2048], -1.0, 1e-15);
}

TEST_F(OctaveBands, ASineAtABandsFrequencyPeaksInThatBand)
{
  for (int band = 0; band < kOctaveBandCount; ++band) {
    SCOPED_TRACE(band);
    // 44,100 x 2^b / 1024 Hz: 2^b periods in 1024 samples.
    const std::vector<float> s = sine(1 << band);
    double out[16];
    doSoundRecord_OctavesBands(out, s.data(), 1);
    const std::vector<double> level = levels(out);
    for (int other = 0; other < kOctaveBandCount; ++other) {
      if (other != band) {
        EXPECT_LT(level[size_t(other)], level[size_t(band)]) << other;
      }
    }
    // One period of a unit sine against its own sine: N/2, times 6.5 x 2^b,
    // the same 3328 in every band; the phase lies in the sine sum.
    EXPECT_NEAR(out[2 * band + 1], 3328.0, 0.05);
    EXPECT_NEAR(out[2 * band], 0.0, 0.05);
  }
}

TEST_F(OctaveBands, StereoIsTheMeanOfItsChannels)
{
  std::vector<float> s = sine(4, 2);
  for (size_t i = 1; i < s.size(); i += 2)
    s[i] = 0.0f;  // right silent: half the level
  double stereo[16], mono[16];
  doSoundRecord_OctavesBands(stereo, s.data(), 2);
  const std::vector<float> m = sine(4);
  doSoundRecord_OctavesBands(mono, m.data(), 1);
  for (int k = 0; k < 16; ++k)
    EXPECT_NEAR(stereo[k], mono[k] * 0.5, 1e-9) << k;
}

TEST_F(OctaveBands, EachBandReadsItsOwnWindow)
{
  // A spike at sample 8 lies outside band 7's 8 samples and inside every
  // longer window; one at sample 512 only inside band 0's.
  for (const auto& [at, firstUntouched] : {std::pair{8, 7}, std::pair{512, 1}}) {
    SCOPED_TRACE(at);
    std::vector<float> s(kOctaveBandFrames, 0.0f);
    s[size_t(at)] = 1.0f;
    double out[16];
    doSoundRecord_OctavesBands(out, s.data(), 1);
    for (int band = 0; band < kOctaveBandCount; ++band) {
      const double level = std::hypot(out[2 * band], out[2 * band + 1]);
      if (band >= firstUntouched) {
        EXPECT_EQ(level, 0.0) << band;
      } else {
        EXPECT_GT(level, 0.0) << band;
      }
    }
  }
}

TEST_F(OctaveBands, SingleBinSumsStepTheTablesByTheirShare)
{
  std::vector<float> s(5000);
  for (size_t i = 0; i < s.size(); ++i)
    s[i] = float(std::sin(0.37 * double(i)) + 0.25);
  struct Case
  {
    int32_t n;
    int32_t step;
  };
  for (const Case c :
       {Case{8, 512}, Case{1000, 4}, Case{2049, 1}, Case{4096, 1}, Case{4097, 0}, Case{5000, 0}}) {
    SCOPED_TRACE(c.n);
    double expectedCos = 0, expectedSin = 0;
    for (int32_t i = 0; i < c.n; ++i) {
      const double a = 2 * std::numbers::pi * double(i * c.step) / kFFTtableSize;
      expectedCos += s[size_t(i)] * std::cos(a);
      expectedSin += s[size_t(i)] * std::sin(a);
    }
    double out[2];
    unibanddft(out, c.n, s.data(), 1);
    EXPECT_NEAR(out[0], expectedCos, 1e-9);
    EXPECT_NEAR(out[1], expectedSin, 1e-9);
  }
  // Above 4096 samples: a plain sum, and no sine part at all.
  double out[2];
  unibanddft(out, 4097, s.data(), 1);
  EXPECT_EQ(out[1], 0.0);
  for (int32_t n : {0, -5}) {
    unibanddft(out, n, s.data(), 1);
    EXPECT_EQ(out[0], 0.0);
    EXPECT_EQ(out[1], 0.0);
  }
}

TEST_F(OctaveBands, FourLevelsPairOctavesWithTheUpperAtHalfWeight)
{
  double in[16];
  for (int k = 0; k < 16; ++k)
    in[k] = k % 4 < 2 ? 3.0 : 4.0;  // lower bands (3, 3), upper (4, 4)
  double out[4];
  ConvertTo4Analysis(in, out, 2.0);
  for (double v : out)
    EXPECT_DOUBLE_EQ(v, std::sqrt(9.0 + 9.0 + (16.0 + 16.0) * 0.5) * 2.0);
}

TEST_F(OctaveBands, WithoutTablesEverythingReadsZero)
{
  gfsintable = gfcostable = nullptr;
  const std::vector<float> s = sine(1);
  double out[16];
  doSoundRecord_OctavesBands(out, s.data(), 1);
  for (double v : out)
    EXPECT_EQ(v, 0.0);
  double bin[2] = {5, 5};
  unibanddft(bin, 64, s.data(), 1);
  EXPECT_EQ(bin[0], 0.0);
  EXPECT_EQ(bin[1], 0.0);
}

}  // namespace
