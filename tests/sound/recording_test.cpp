// Recording and analysis on the manual audio backend (a two-channel capture
// device whose callback the test calls): the client format and channel map,
// callbacks cut into pieces of 1024 frames, band results read as whole sets
// while the audio thread writes, the alerts of a refused device, and a
// recording read back from its file.
#include "sound/recording.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <numbers>
#include <thread>
#include <vector>

#include "foundation/appshell.h"
#include "foundation/iodata.h"
#include "foundation/mempool.h"
#include "platform/audio.h"
#include "platform/ui.h"
#include "sound/audiofiles.h"
#include "sound/bands.h"
#include "sound/treesound.h"
#include "tests/sound/recording_start.h"

namespace {

std::vector<std::pair<int16_t, int16_t>> gAlerts;

int16_t recordAlert(int16_t id, int16_t index, ConstStringPtr)
{
  gAlerts.emplace_back(id, index);
  return 1;
}

// Interleaved stereo frames: left and right each a sine of `periods`
// periods in 1024 frames at the given amplitude (0: silent).
std::vector<float> stereoSine(int32_t frames, double periods, double left, double right)
{
  std::vector<float> s(size_t(frames) * 2);
  for (int32_t i = 0; i < frames; ++i) {
    const double v = std::sin(2 * std::numbers::pi * periods * i / kOctaveBandFrames);
    s[size_t(i) * 2] = float(left * v);
    s[size_t(i) * 2 + 1] = float(right * v);
  }
  return s;
}

double bandLevel(const double bands[16], int band)
{
  return std::hypot(bands[2 * band], bands[2 * band + 1]);
}

class Recording : public ::testing::Test
{
protected:
  void SetUp() override
  {
    kvaudio::useManualBackend(true);
    if (!gMemPool.base)
      finit(&gMemPool, kMemPoolFloorSize);
    work_.assign(kRTworkBlockSize / sizeof(float), 0.0f);
    RT_init(&gRTEffect, work_.data(), nullptr);
    gSAMPLERATE = 44100.0;
    savedSin_ = gfsintable;
    savedCos_ = gfcostable;
    kvBuild_fftsintable(tables_.data());
    initSoundRecord();
    gAlerts.clear();
    savedAlert_ = SetAlertDialogProc(recordAlert);
  }
  void TearDown() override
  {
    doSoundRecord_stop();
    RT_kill(&gRTEffect);
    gfsintable = savedSin_;
    gfcostable = savedCos_;
    SetAlertDialogProc(savedAlert_);
    kvaudio::useManualBackend(false);
  }
  std::vector<float> work_;
  std::vector<double> tables_ = std::vector<double>(2 * kFFTtableSize);
  double* savedSin_ = nullptr;
  double* savedCos_ = nullptr;
  AlertDialogProc savedAlert_ = nullptr;
};

TEST_F(Recording, AnalysisOfATwoChannelDeviceTakesItsMappedChannels)
{
  ASSERT_EQ(doSoundRecord_Start(0, 0, 7), 0);
  const RecordSettings& s = gAnalysisPeek->settings;
  EXPECT_EQ(s.startArg, 7u);
  // The device's interleaved frames: one interleaved stereo buffer.
  EXPECT_EQ(s.format.channelsPerFrame, 2u);
  EXPECT_EQ(s.format.formatFlags, 9u);
  EXPECT_EQ(s.format.bytesPerFrame, 8u);
  EXPECT_EQ(s.buffers.count, 1u);
  EXPECT_EQ(s.buffers.buffer[0].dataByteSize, 8192u);
  uint32_t channels = 0;
  DefaultAU_Record_Numchannels(gRTEffect.outputUnit, &channels);
  EXPECT_EQ(channels, 2u);

  std::vector<float> frames = stereoSine(1024, 8, 1.0, 1.0);  // band 3 in both channels
  ASSERT_TRUE(kvaudio::manualRender(frames.data(), 1024));
  double bands[16];
  uint32_t analysed = 0;
  doSoundRecord_ReadBands(bands, &analysed);
  EXPECT_EQ(analysed, 1u);
  EXPECT_NEAR(bandLevel(bands, 3), 3328.0, 0.1);
  for (int b = 0; b < kOctaveBandCount; ++b)
    if (b != 3) {
      EXPECT_LT(bandLevel(bands, b), bandLevel(bands, 3)) << b;
    }

  // First channel 1: the client's left is the device's right, its right
  // (device channel 2) silence; the mean halves the level.
  doSoundRecord_stop();
  ASSERT_EQ(doSoundRecord_Start(0, 1, 0), 0);
  frames = stereoSine(1024, 8, 0.0, 1.0);
  ASSERT_TRUE(kvaudio::manualRender(frames.data(), 1024));
  doSoundRecord_ReadBands(bands, &analysed);
  EXPECT_EQ(analysed, 1u);
  EXPECT_NEAR(bandLevel(bands, 3), 3328.0 / 2, 0.1);
}

TEST_F(Recording, LongCallbacksComeInPiecesOf1024Frames)
{
  ASSERT_EQ(doSoundRecord_Start(0, 0, 0), 0);
  std::vector<float> frames = stereoSine(3000, 1, 0.5, 0.5);
  ASSERT_TRUE(kvaudio::manualRender(frames.data(), 3000));
  uint32_t analysed = 0;
  double bands[16];
  doSoundRecord_ReadBands(bands, &analysed);
  EXPECT_EQ(analysed, 3u);
}

TEST_F(Recording, BandsAreReadAsWholeSetsWhileTheAudioThreadWrites)
{
  ASSERT_EQ(doSoundRecord_Start(0, 0, 0), 0);
  const std::vector<float> a = stereoSine(1024, 2, 0.9, 0.9);
  const std::vector<float> b = stereoSine(1024, 32, -0.3, 0.6);
  double setA[16], setB[16];
  doSoundRecord_OctavesBands(setA, a.data(), 2);
  doSoundRecord_OctavesBands(setB, b.data(), 2);

  std::atomic<bool> done{false};
  std::thread audio([&] {
    std::vector<float> buffer(2048);
    for (int i = 0; i < 400; ++i) {
      buffer = (i % 2) ? b : a;
      kvaudio::manualRender(buffer.data(), 1024);
    }
    done = true;
  });
  int mixed = 0, reads = 0;
  while (!done.load()) {
    double out[16];
    uint32_t analysed = 0;
    doSoundRecord_ReadBands(out, &analysed);
    if (analysed == 0)
      continue;
    ++reads;
    mixed += std::memcmp(out, setA, sizeof out) != 0 && std::memcmp(out, setB, sizeof out) != 0;
  }
  audio.join();
  EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
}

TEST_F(Recording, ARefusedDeviceOrNoUnitIsToldAndNothingRecords)
{
  // The manual backend lists no device: device 3 is refused.
  EXPECT_EQ(doSoundRecord_Start(3, 0, 0), -1);
  ASSERT_EQ(gAlerts.size(), 1u);
  EXPECT_EQ(gAlerts[0], (std::pair<int16_t, int16_t>{1059, 10}));
  EXPECT_EQ(gAnalysisPeek->running.load(), 0u);

  RecordSettings block;
  Record_Init(&block);
  EXPECT_EQ(block.channelMap[0], 0);
  EXPECT_EQ(block.channelMap[1], 1);
  EXPECT_EQ(block.channelMap[15], -1);
  EXPECT_EQ(DefaultAU_Record_Setup(nullptr, &block, 1024, 1), -1);
  EXPECT_EQ(gAlerts.back(), (std::pair<int16_t, int16_t>{1059, 8}));
  // No capture: nothing to render, and the channel count reads 2.
  EXPECT_EQ(DefaultAU_Record_Render(&block, 16), 0u);
  uint32_t channels = 0;
  DefaultAU_Record_Numchannels(gRTEffect.outputUnit, &channels);
  EXPECT_EQ(channels, 2u);
}

TEST_F(Recording, ARecordingIsWrittenToTheChosenFile)
{
  TempFolder tmp;
  soundDocInfos record;
  RecordSettings block;
  ASSERT_EQ(startStereoRecording(tmp, "take.aif", &record, &block), 0);
  EXPECT_EQ(gRTEffect.recording, 1);
  EXPECT_EQ(record.channels, 2);
  EXPECT_STREQ(std::string(reinterpret_cast<char*>(record.name + 1), record.name[0]).c_str(),
               "take.aif");

  doSoundRecord_stop();  // no analysis runs: the recording goes on
  std::vector<float> frames = stereoSine(2500, 3, 0.5, -0.25);
  const std::vector<float> sent = frames;
  ASSERT_TRUE(kvaudio::manualRender(frames.data(), 1500));
  ASSERT_TRUE(kvaudio::manualRender(frames.data() + 3000, 1000));
  EXPECT_EQ(gRTEffect.position.load(), 2500u);
  SoundFile_RECORD_Stop(0);
  EXPECT_EQ(gRTEffect.recording, 0);
  EXPECT_EQ(gRTEffect.audioFile, nullptr);
  kvui::stop();

  soundDocInfos back;
  soundDocInfos_init(&back, 0, 2);
  ASSERT_EQ(Get_SoundFileInfos(tmp.ref("take.aif"), &back, 0), 2500u);
  EXPECT_EQ(back.channels, 2);
  std::vector<float> read(2500 * 2);
  ASSERT_EQ(AUfile_MemoryRead(&back, read.data(), 1), 0);
  for (size_t i = 0; i < read.size(); i += 97)
    EXPECT_NEAR(read[i], sent[i], 1.0 / 16000) << i;
}

}  // namespace
