// Browser playback on the manual audio backend: the channel choice by output
// kind, a sound tree played with the browser's fill size, ring and limit and
// without recording, a file that cannot be read playing nothing, and the
// animation of a tree that is not a sound tree playing without sound.
#include "app/playback.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

#include "document/animation.h"
#include "document/engineapi.h"
#include "engine/render.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "platform/audio.h"
#include "sound/rtaudio.h"
#include "sound/treesound.h"
#include "tests/app/app_fixture.h"
#include "tests/document/sample_tree.h"
#include "tests/platform/tempfolder.h"

namespace {

// What the real-time output held while the preview ran.
struct PlayState
{
  bool seen = false;
  bool running = false;
  uint32_t channels = 0;
  uint32_t limit = 0;
  uint32_t framesPerFill = 0;
  int32_t slotCount = 0;
  uint8_t endless = 0;
  uint8_t recordToFile = 1;
  float loudest = 0;
};

PlayState gPlay;
double gNow = 0;

void awaitSlot()
{
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (gRTEffect.writeIndex - gRTEffect.readIndex < 1 &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::yield();
}

// The preview's clock: at its first reading notes the play and hears one
// fill; then ends the play as the device would, so the stop does not wait.
// Each reading moves on by a second, so the preview ends after a few frames.
double playClock()
{
  if (!gPlay.seen && gRTEffect.running.load()) {
    gPlay.seen = true;
    gPlay.running = true;
    gPlay.channels = gRTEffect.channels;
    gPlay.limit = gRTEffect.limit;
    gPlay.framesPerFill = gRTEffect.framesPerFill;
    gPlay.slotCount = gRTEffect.slotCount;
    gPlay.endless = gRTEffect.endless;
    gPlay.recordToFile = gRTEffect.recordToFile;
    awaitSlot();
    std::vector<float> out(size_t(gRTEffect.framesPerFill) * gRTEffect.channels, 0.0f);
    if (kvaudio::manualRender(out.data(), int32_t(gRTEffect.framesPerFill)))
      for (float v : out)
        gPlay.loudest = std::max(gPlay.loudest, std::abs(v));
    gRTEffect.stop = 1;
    awaitSlot();
    kvaudio::manualRender(out.data(), int32_t(gRTEffect.framesPerFill));
  }
  gNow += 1000.0;
  return gNow;
}

class Playback : public ::testing::Test
{
protected:
  void SetUp() override
  {
    kvaudio::useManualBackend(true);
    world_ = kvsample::makeWorld();
    gKovrelinWorld = world_.get();
    copy_ = std::make_unique<sfuncSystem>();
    world_->soundRuntime.system = copy_.get();
    block_.assign(kRTworkBlockSize / sizeof(float), 0.0f);
    RT_init(&gRTEffect, block_.data(), nullptr);
    gSAMPLERATE = 44100.0;
    Kovrelin_SoundinfosInit(&settings_);
    Kovrelin_setPreviewClock(playClock);
    gPlay = PlayState{};
    gNow = 0;

    doc_ = &world_->doc;
    arb_presetinit(doc_, 2, 0);  // Ax+By+C, a mono family
    doc_->tree.funcs[0].A = 1;
    doc_->tree.funcs[0].B = 1;
    doc_->animation.mode = kAnimTimeRandom;
    doc_->animation.length = 10;
    doc_->animation.frameRate = 25;
    doc_->movie.soundTree = 1;
  }
  void TearDown() override
  {
    RT_idleplay_Stop();
    RT_kill(&gRTEffect);
    Kovrelin_setPreviewClock(nullptr);
    arb_Clear(copy_.get(), true, true);
    arb_Clear(doc_, true, true);
    gKovrelinWorld = nullptr;
    kvaudio::useManualBackend(false);
  }

  std::unique_ptr<KovrelinWorld> world_;
  std::unique_ptr<sfuncSystem> copy_;
  std::vector<float> block_;
  sSoundfunc settings_{};
  sfuncSystem* doc_ = nullptr;
  Rect box_{0, 0, 60, 80};
};

TEST(PlaybackChannels, MonoForKinds1_2_4And15StereoForOthers)
{
  for (uint16_t kind = 0; kind <= 20; ++kind) {
    const bool mono = kind == 1 || kind == 2 || kind == 4 || kind == 15;
    EXPECT_EQ(Playback_channelsForKind(kind), mono ? 0 : 2) << kind;
  }
}

TEST_F(Playback, SoundTreePlaysWithTheBrowsersFillRingAndLimit)
{
  gRTEffect.recordToFile = 1;
  play_kv_anim(nullptr, &settings_, FileRef{}, true, box_);
  ASSERT_TRUE(gPlay.seen) << "no play ran while the animation showed";
  EXPECT_EQ(gPlay.channels, 1u);  // family 2 plays mono
  EXPECT_EQ(gPlay.limit, world_->soundRuntime.length);
  EXPECT_GT(gPlay.limit, 0u);
  EXPECT_EQ(gPlay.framesPerFill, kPlaybackFillFrames);
  EXPECT_EQ(gPlay.slotCount, int32_t(kPlaybackRingSlots));
  EXPECT_EQ(gPlay.endless, 0);
  EXPECT_EQ(gPlay.recordToFile, 0);
  EXPECT_GT(gPlay.loudest, 0.01f);         // the tree is heard
  EXPECT_FALSE(gRTEffect.running.load());  // stopped when the animation ended
}

TEST_F(Playback, StereoFamilyPlaysTwoChannels)
{
  doc_->tree.funcs[0].family = 3;
  Play_Sound(nullptr, &settings_, doc_, box_);
  ASSERT_TRUE(gPlay.seen);
  EXPECT_EQ(gPlay.channels, 2u);
}

TEST_F(Playback, UnreadableFilesAndSilentTreesPlayNoSound)
{
  TempFolder folder;
  const FileRef damaged = folder.write("damaged.kv", "not a tree");
  play_kv_anim(nullptr, &settings_, damaged, false, box_);
  EXPECT_FALSE(gPlay.seen);
  EXPECT_EQ(gNow, 0);  // nothing was animated either

  doc_->movie.soundTree = 0;
  play_kv_anim(nullptr, &settings_, FileRef{}, true, box_);
  EXPECT_FALSE(gPlay.seen);
  EXPECT_GT(gNow, 0);  // the animation ran
}

// ---- Full-screen render ---------------------------------------------------------

struct ScreenRenderTest : AppFixture
{
  void SetUp() override
  {
    AppFixture::SetUp();
    kvui::script::setScreens({kvui::Screen{kvui::Rect{0, 0, 96, 128}}});
    world_ = kvsample::makeWorld();
    arb_presetinit(&world_->doc, 2, 0);
  }
  void TearDown() override
  {
    KV_clearKeys();
    arb_Clear(&world_->doc, true, true);
    gKovrelinWorld = nullptr;
    AppFixture::TearDown();
  }
  // Windows of the screen's size that were shown.
  size_t screenSizedFlushes()
  {
    size_t n = 0;
    for (const kvui::script::Flush& f : kvui::script::flushes())
      if (f.rect.right - f.rect.left == 128 && f.rect.bottom - f.rect.top == 96)
        ++n;
    return n;
  }
  std::unique_ptr<KovrelinWorld> world_;
};

// The render pumps events as it goes, so a click queued before it is taken
// during the render and answers the wait that follows.
TEST_F(ScreenRenderTest, RenderWaitsForAClickUnlessAborted)
{
  kvui::script::mouse(kvui::Point{40, 40}, true);
  kvui::script::mouse(kvui::Point{40, 40}, false);
  ScreenRender();
  EXPECT_EQ(gAppInfos.aborted, 0);
  EXPECT_EQ(world_->screenRender, 1);
  const size_t finishedFlushes = screenSizedFlushes();
  EXPECT_GT(finishedFlushes, 0u);
  EXPECT_EQ(kvui::script::pending(), 0u);
  EXPECT_TRUE(kvui::windows().empty());

  // Escape held: the render stops and the pop-up goes without showing the
  // finished screen or flushing for the wait.
  kvui::script::clearRecords();
  KV_setKeyDown(kKeyCodeEscape, true);
  ScreenRender();
  EXPECT_EQ(gAppInfos.aborted, 1);
  // Two flushes fewer: the finished image and the one before the wait.
  EXPECT_EQ(screenSizedFlushes() + 2, finishedFlushes);
  EXPECT_TRUE(kvui::windows().empty());
}

}  // namespace
