// Sample operations and labels: conversions at their scales, interpolated
// reading at the buffer's edges, fades, normalising, integration and the
// bounded resamplers, and note names.
#include "sound/samples.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "foundation/appshell.h"
#include "sound/notenames.h"

namespace {

std::string text(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

TEST(SampleConversions, IntegerScalesAndByteOrders)
{
  const float in[] = {1.0f, -1.0f, 0.5f, 2.0f};
  int16_t s16[4];
  ConvertFLoatTo16(in, s16, 4, 0);
  EXPECT_EQ(s16[0], 32767);
  EXPECT_EQ(s16[1], -32767);
  EXPECT_EQ(s16[2], 16383);
  EXPECT_EQ(s16[3], 32767);  // clipped first
  int16_t swapped[1];
  ConvertFLoatTo16(in, swapped, 1, 1);
  EXPECT_EQ(uint16_t(swapped[0]), 0xFF7F);
  float back[4];
  Convert16(s16, back, 4, 0);
  EXPECT_FLOAT_EQ(back[0], 1.0f);
  EXPECT_FLOAT_EQ(back[1], -1.0f);

  for (uint8_t swap : {0, 1}) {
    uint8_t b24[12];
    ConvertFLoatTo24(in, b24, 4, swap);
    const uint8_t* first = b24;
    EXPECT_EQ(swap ? first[2] : first[0], 0xFF);  // 8388607, least significant byte
    EXPECT_EQ(swap ? first[0] : first[2], 0x7F);
    float f24[4];
    Convert24(b24, f24, 4, swap);
    EXPECT_FLOAT_EQ(f24[0], 1.0f) << int(swap);
    EXPECT_FLOAT_EQ(f24[1], -1.0f) << int(swap);  // sign-extended
    EXPECT_NEAR(f24[2], 0.5f, 1e-6) << int(swap);
  }

  int32_t s32[2];
  ConvertFLoatTo32(in, s32, 2, 0);
  EXPECT_EQ(s32[0], 2147483392);
  EXPECT_EQ(s32[1], -2147483392);
  float f32[2];
  Convert32(s32, f32, 2, 0);
  EXPECT_NEAR(f32[0], 1.0f, 1e-6);
}

TEST(SampleReading, InterpolationAtTheEdges)
{
  const std::vector<float> buf = {0, 1, 2, 3};
  EXPECT_DOUBLE_EQ(GetRealSample(buf.data(), 4, 1.5), 1.5);
  EXPECT_DOUBLE_EQ(GetRealSample(buf.data(), 4, 3.5), 1.5);  // toward the missing 0
  EXPECT_DOUBLE_EQ(GetRealSample(buf.data(), 4, -0.5), 0.0);
  EXPECT_DOUBLE_EQ(GetRealSample(buf.data(), 4, 1e300), 0.0);
  EXPECT_DOUBLE_EQ(GetmodRealSample(buf.data(), 4, 3.5), 1.5);  // 3 then 0
  EXPECT_DOUBLE_EQ(GetmodRealSample(buf.data(), 4, 5.0), 1.0);
  // (L(0) + 2 L(1) + L(2)) / 4 with indices beyond the end read as 0.
  EXPECT_EQ(GetncRealSample(buf.data(), 4, 1.0), 2);  // (1 + 4 + 3) / 4
  EXPECT_EQ(GetncRealSample(buf.data(), 4, 3.0), 0);  // (3 + 0 + 0) / 4 truncated
  EXPECT_EQ(GetncRealSample(buf.data(), 4, -10.0), 0);

  const float stereo[] = {1, 2, 3, 4, 5};
  float left[3] = {}, right[3] = {9, 9, 9};
  Stereo_DeInterleave(stereo, left, right, 5);
  EXPECT_EQ(left[2], 5);
  EXPECT_EQ(right[2], 0);  // the partial frame reads nothing past the end
}

TEST(SampleResampling, BoundedByCapacityAndStep)
{
  std::vector<float> src(2048, 100.0f);
  std::vector<float> dst(10, -1.0f);
  EXPECT_EQ(ResampleMono(src.data(), 2048, dst.data(), 8, 1.0), 8);
  EXPECT_EQ(dst[8], -1.0f);
  EXPECT_EQ(ResampleMono(src.data(), 2048, dst.data(), 10, 0.0), 0);
  EXPECT_EQ(ResampleMono(src.data(), 2048, dst.data(), 10, NAN), 0);
  EXPECT_EQ(ResampleMono(src.data(), 2048, dst.data(), 10, 512.0), 4);
  std::vector<float> out(2048, 0.0f);
  EXPECT_EQ(Transpose_ESound(src.data(), out.data(), 10, 20, 2048, 15, 1.0), 5);
}

TEST(SampleFades, FadesNormaliseAndIntegrate)
{
  std::vector<float> buf(1024, 1.0f);
  FadeOut_ESound(buf.data(), 1024);
  EXPECT_FLOAT_EQ(buf[0], 1.0f);
  EXPECT_FLOAT_EQ(buf[1023], 1.0f / 1024);

  std::vector<float> half = {0.5f, -0.25f};
  Normalize_ESound(half.data(), 2);
  EXPECT_FLOAT_EQ(half[0], 0.997f);
  std::vector<float> loud = {0.997f, -0.5f};
  Normalize_ESound(loud.data(), 2);
  EXPECT_FLOAT_EQ(loud[0], 0.997f);
  std::vector<float> silent(8, 0.0f);
  Normalize_ESound(silent.data(), 8);
  EXPECT_EQ(silent[3], 0.0f);  // no NaN from a silent buffer

  // Running sums 1, 2, 3, 4 spread over -32500..32500.
  std::vector<float> ones = {1, 1, 1, 1};
  Integrate_ESound(ones.data(), 4);
  EXPECT_FLOAT_EQ(ones[0], -32500.0f);
  EXPECT_FLOAT_EQ(ones[3], 32500.0f);
  std::vector<float> zero(4, 0.0f);
  Integrate_ESound(zero.data(), 4);  // a constant sum has no range: silence
  EXPECT_EQ(zero[2], 0.0f);

  std::vector<float> loop = {0, 0, 0, 8, 8, 8};
  AutoCrossFade(loop.data(), 6, 100);  // held to half the buffer
  EXPECT_EQ(loop[0], 8.0f);

  std::vector<float> src(300, 1.0f), dst(301, 7.0f);
  EXPECT_EQ(BuildFadedSound(src.data(), 300, 301, dst.data(), 1.0), 300);
  EXPECT_EQ(dst[300], 0.0f);
  EXPECT_EQ(dst[0], 0.0f);
  EXPECT_EQ(BuildFadedSound(src.data(), 300, 301, dst.data(), 0.0), 0);
  std::vector<float> small(10, 1.0f), out(11, 0.0f);
  EXPECT_EQ(BuildFadedSound(small.data(), 10, 11, out.data(), 1.0), 10);  // fades kept inside
}

TEST(SampleLabels, NotesAndFrequencies)
{
  Str255 name;
  buildnotename(0, -2, name);
  EXPECT_EQ(text(name), "C-2");
  buildnotename(9, 3, name);
  EXPECT_EQ(text(name), "A3");

  struct Case
  {
    double hz;
    const char* label;
  };
  for (const Case& c : {Case{55.0, "Freq 55.00 Hz A0"}, Case{440.0, "Freq 440.00 Hz A3"}}) {
    gAppInfos.paramString[0] = 0;
    ConcatFreqHz(c.hz, 1);
    EXPECT_EQ(text(gAppInfos.paramString), c.label);
  }
  gAppInfos.paramString[0] = 0;
  ConcatNote(69, 1);
  EXPECT_EQ(text(gAppInfos.paramString), "A3 440.00 Hz");
  gAppInfos.paramString[0] = 0;
  ConcatTimeMS(61000);
  EXPECT_EQ(text(gAppInfos.paramString), "1:01:00  ");
}

}  // namespace
