// The real-time output on the manual audio backend: the test calls the
// device callback with the frame counts it chooses. The fill procedure
// writes a ramp (sample value = frame number), so order, gaps and fades show
// in the output.
#include "sound/rtaudio.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "foundation/appshell.h"
#include "platform/audio.h"

namespace {

std::vector<int32_t> gCommands;

int16_t recordCommand(int32_t command, void*)
{
  gCommands.push_back(command);
  return 0;
}

void rampFill(RTinfos* rt, float* buffer, uint32_t frames)
{
  if (!buffer) {
    rt->position = 0;
    return;
  }
  const uint32_t p = rt->position.load();
  for (uint32_t i = 0; i < frames; ++i)
    for (uint32_t c = 0; c < rt->channels; ++c)
      buffer[i * rt->channels + c] = float(p + i);
  rt->position = p + frames;
}

class RealTimeOutput : public ::testing::Test
{
protected:
  void SetUp() override
  {
    kvaudio::useManualBackend(true);
    block_.assign(kRTworkBlockSize / sizeof(float), 0.0f);
    RT_init(&gRTEffect, block_.data(), nullptr);
    gCommands.clear();
    gAppInfos.commandHandler = recordCommand;
  }
  void TearDown() override
  {
    endPlay();
    RT_kill(&gRTEffect);
    gAppInfos.commandHandler = nullptr;
    kvaudio::useManualBackend(false);
  }

  // Waits (bounded) until the ring task is where a device would find it: the
  // ring full, or, once it drains past the limit, a slot left or the stop
  // the task sets when none is.
  static void awaitFullRing()
  {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const auto ready = [] {
      const int32_t filled = gRTEffect.writeIndex - gRTEffect.readIndex;
      const bool draining =
          !gRTEffect.endless && gRTEffect.position.load() > gRTEffect.limit + 44100;
      return gRTEffect.stop.load() || filled == gRTEffect.slotCount || (draining && filled > 0);
    };
    while (!ready() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::yield();
  }

  // One callback of `frames` frames, the ring full before it.
  std::vector<float> callback(uint32_t frames)
  {
    if (gRTEffect.ringMode)
      awaitFullRing();
    std::vector<float> out(size_t(frames) * gRTEffect.channels, -99.0f);
    EXPECT_TRUE(kvaudio::manualRender(out.data(), int32_t(frames)));
    return out;
  }

  // Ends the play as the device would: the stop request, one more callback
  // that fades and reports done, then the stop. Whether one was running.
  bool endPlay()
  {
    if (!gRTEffect.running.load())
      return RT_idleplay_Stop();
    gRTEffect.stop = 1;
    callback(gRTEffect.framesPerFill);
    EXPECT_EQ(gRTEffect.done.load(), 1);
    return RT_idleplay_Stop();
  }

  std::vector<float> block_;
};

TEST_F(RealTimeOutput, RingSlotsByRequest)
{
  struct Case
  {
    uint8_t slots;
    bool ring;
    int32_t count;
  };
  for (const Case& c : {Case{0, false, 2}, Case{1, true, 2}, Case{2, true, 2}, Case{3, true, 3},
                        Case{4, true, 4}, Case{5, true, 4}}) {
    RT_idleplay_Start(rampFill, nullptr, 1, 0, 512, c.slots, 1);
    EXPECT_EQ(gRTEffect.ringMode != 0, c.ring) << int(c.slots);
    if (c.ring) {
      EXPECT_EQ(gRTEffect.slotCount, c.count) << int(c.slots);
    }
    EXPECT_GE(gRTEffect.writeIndex.load(), c.ring ? 2 : 0);  // prefilled
    EXPECT_TRUE(endPlay());
  }
  EXPECT_FALSE(RT_idleplay_Stop());  // nothing plays
}

TEST_F(RealTimeOutput, RampComesOutWholeThroughAnyCallbackSize)
{
  for (uint32_t callbackFrames : {512u, 700u}) {
    for (uint8_t slots : {0, 3}) {
      SCOPED_TRACE(testing::Message() << callbackFrames << " frames, slots " << int(slots));
      RT_idleplay_Start(rampFill, nullptr, 0, 0, 2048, slots, 1);
      uint32_t expected = 0;
      for (int round = 0; round < 12; ++round) {
        // The vector is exactly one callback long: ASan sees any write past it.
        const std::vector<float> out = callback(callbackFrames);
        for (uint32_t i = 0; i < callbackFrames; ++i)
          ASSERT_EQ(out[i], float(expected++)) << i;
      }
      EXPECT_EQ(gRTEffect.done.load(), 0);  // endless
      EXPECT_TRUE(endPlay());
    }
  }
}

TEST_F(RealTimeOutput, StereoRingInterleavesBothChannels)
{
  RT_idleplay_Start(rampFill, nullptr, 1, 0, 256, 2, 1);
  const std::vector<float> out = callback(256);
  EXPECT_EQ(out[0], 0.0f);
  EXPECT_EQ(out[2 * 255 + 1], 255.0f);
}

TEST_F(RealTimeOutput, RingPlayDrainsOneSecondPastItsLimitAndFades)
{
  const uint32_t limit = 4096;
  RT_idleplay_Start(rampFill, nullptr, 0, limit, 2048, 3, 0);
  std::vector<float> last;
  int callbacks = 0;
  while (!gRTEffect.done.load() && callbacks < 200) {
    last = callback(2048);
    ++callbacks;
  }
  ASSERT_EQ(gRTEffect.done.load(), 1);
  EXPECT_GT(gRTEffect.position.load(), limit + 44100);
  EXPECT_EQ(gRTEffect.readIndex.load(), gRTEffect.writeIndex.load());  // drained
  // The last buffer is faded (sample i x (1 - i/n)), or silence when the
  // ring had drained before the callback saw the stop.
  const bool silent = std::all_of(last.begin(), last.end(), [](float v) { return v == 0; });
  const bool faded =
      last[0] > float(limit + 44100 - 2048 * 4) && last[1024] == (last[0] + 1024) * 0.5f;
  EXPECT_TRUE(silent || faded);
  EXPECT_TRUE(RT_idleplay_Stop());
  EXPECT_EQ(gRTEffect.running.load(), 0);
  ASSERT_FALSE(gCommands.empty());
  EXPECT_EQ(gCommands.back(), int32_t(fourcc("stop")));
}

TEST_F(RealTimeOutput, DirectPlayStopsAtItsLimit)
{
  RT_idleplay_Start(rampFill, nullptr, 0, 1024, 512, 0, 0);
  callback(512);
  EXPECT_EQ(gRTEffect.done.load(), 0);
  const std::vector<float> out = callback(512);  // position reaches 1024
  EXPECT_EQ(gRTEffect.done.load(), 1);
  EXPECT_FLOAT_EQ(out[0], 512.0f);
  EXPECT_FLOAT_EQ(out[256], 768.0f * 0.5f);
}

TEST_F(RealTimeOutput, SimplePlayLoopsWhenEndless)
{
  std::vector<float> left = {1, 2, 3};
  gRTEffect.leftSamples = left.data();
  RT_idleplay_Start(simple_play, nullptr, 0, 3, 4, 0, 1);
  const std::vector<float> out = callback(4);
  EXPECT_EQ(out, (std::vector<float>{1, 2, 3, 1}));
  EXPECT_TRUE(endPlay());  // while the samples exist
}

}  // namespace
