// Capture end to end on SDL's disk driver: a mono capture device
// (SDL_AUDIO_CHANNELS=1) reads a float sine from SDL_DISKAUDIOFILEIN. The
// analysis sees a mono client format and the sine's band; a recording asked
// in stereo is written mono with the file's samples. Runs only as the
// recording_capture_check test, which sets the driver up before SDL starts.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "foundation/appshell.h"
#include "foundation/iodata.h"
#include "foundation/mempool.h"
#include "platform/audio.h"
#include "platform/ui.h"
#include "sound/audiofiles.h"
#include "sound/bands.h"
#include "sound/recording.h"
#include "sound/treesound.h"
#include "tests/sound/recording_start.h"

namespace {

constexpr int kBand = 3;  // 8 periods in 1024 samples: 344.5 Hz
constexpr double kAmplitude = 0.8;
constexpr int32_t kInputFrames = 44100 * 4;

double sineAt(int32_t i)
{
  return kAmplitude * std::sin(2 * std::numbers::pi * (1 << kBand) * i / kOctaveBandFrames);
}

class RecordingCapture : public ::testing::Test
{
protected:
  void SetUp() override
  {
    const char* input = std::getenv("SDL_DISKAUDIOFILEIN");
    if (!std::getenv("KV_CAPTURE_CHECK") || !input)
      GTEST_SKIP() << "runs as recording_capture_check, on SDL's disk driver";
    // The device's input: mono 32-bit floats in this machine's order.
    std::vector<float> samples(kInputFrames);
    for (int32_t i = 0; i < kInputFrames; ++i)
      samples[size_t(i)] = float(sineAt(i));
    FILE* f = std::fopen(input, "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(samples.data(), sizeof(float), samples.size(), f), samples.size());
    std::fclose(f);
    if (!gMemPool.base)
      finit(&gMemPool, kMemPoolFloorSize);
    work_.assign(kRTworkBlockSize / sizeof(float), 0.0f);
    RT_init(&gRTEffect, work_.data(), nullptr);
    gSAMPLERATE = 44100.0;
    kvBuild_fftsintable(tables_.data());
    initSoundRecord();
    started_ = true;
  }
  void TearDown() override
  {
    if (!started_)
      return;
    doSoundRecord_stop();
    RT_kill(&gRTEffect);
    gfsintable = gfcostable = nullptr;
  }

  std::vector<float> work_;
  std::vector<double> tables_ = std::vector<double>(2 * kFFTtableSize);
  bool started_ = false;
};

TEST_F(RecordingCapture, AMonoDeviceIsAnalysedInMono)
{
  ASSERT_EQ(doSoundRecord_Start(0, 0, 0), 0);
  ASSERT_EQ(kvaudio::streamBackend(gRTEffect.outputUnit->stream), kvaudio::Backend::sdl);
  const RecordSettings& s = gAnalysisPeek->settings;
  EXPECT_EQ(s.format.channelsPerFrame, 1u);
  EXPECT_EQ(s.format.formatFlags, 41u);
  EXPECT_EQ(s.format.bytesPerFrame, 4u);
  uint32_t channels = 0;
  DefaultAU_Record_Numchannels(gRTEffect.outputUnit, &channels);
  EXPECT_EQ(channels, 1u);

  double bands[16];
  uint32_t analysed = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (analysed < 3 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    doSoundRecord_ReadBands(bands, &analysed);
  }
  doSoundRecord_stop();
  ASSERT_GE(analysed, 3u);
  // Every 1024-frame window starts at the sine's start: its own band reads
  // 3328 x the amplitude in the sine sum.
  EXPECT_NEAR(bands[2 * kBand + 1], 3328.0 * kAmplitude, 0.5);
  for (int b = 0; b < kOctaveBandCount; ++b) {
    if (b != kBand) {
      EXPECT_LT(std::hypot(bands[2 * b], bands[2 * b + 1]), 3328.0 * kAmplitude) << b;
    }
  }
}

TEST_F(RecordingCapture, AStereoRecordingOfAMonoDeviceIsWrittenMono)
{
  TempFolder tmp;
  soundDocInfos record;
  RecordSettings block;
  ASSERT_EQ(startStereoRecording(tmp, "mono.aif", &record, &block), 0);
  EXPECT_EQ(block.format.channelsPerFrame, 1u);
  EXPECT_EQ(record.channels, 1);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (gRTEffect.position.load() < 8192 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  SoundFile_RECORD_Stop(0);
  kvui::stop();

  soundDocInfos back;
  soundDocInfos_init(&back, 0, 1);
  const uint32_t frames = Get_SoundFileInfos(tmp.ref("mono.aif"), &back, 0);
  ASSERT_GE(frames, 8192u);
  EXPECT_EQ(back.channels, 1);
  std::vector<float> read(frames);
  ASSERT_EQ(AUfile_MemoryRead(&back, read.data(), 1), 0);
  for (int32_t i = 0; i < 8192; i += 37)
    EXPECT_NEAR(read[size_t(i)], sineAt(i), 1.0 / 16000) << i;
}

}  // namespace
