// The tree sound on a one-component tree: f21's Ax+By+C (family 2, a mono
// family) with A = B = 1, C = 0, so the circle path of radius pi/2 gives
// 0.0975 x pi/2 x (cos t + sin t), a sine of the base frequency.
#include "sound/treesound.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <vector>

#include "document/animation.h"
#include "document/engineapi.h"
#include "document/soundfunc.h"
#include "engine/catalog.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"

namespace {

constexpr double kStep220 = 2 * std::numbers::pi * 220 / 44100;  // view width 2 pi

class TreeSound : public ::testing::Test
{
protected:
  void SetUp() override
  {
    world_ = std::make_unique<KovrelinWorld>();
    gKovrelinWorld = world_.get();
    KV_initWorldRecord(world_.get());
    doc_ = &world_->doc;
    arb_Init(doc_);
    SetRndTempTables(doc_, 1);
    arb_presetinit(doc_, 2, 0);
    gfunc& g = doc_->tree.funcs[0];
    g.A = 1;
    g.B = 1;
    g.C = 0;
    Anim_Init(&doc_->animation);
    Kovrelin_SoundinfosInit(&settings_);
    copy_ = std::make_unique<sfuncSystem>();
    runtime_.system = copy_.get();
    crossfade_.assign(4096, 0.0f);
    rt_.crossfadeArea = crossfade_.data();
    rt_.channels = 1;
    rt_.fillContext = &runtime_;
    gSAMPLERATE = 44100.0;
  }
  void TearDown() override
  {
    arb_Clear(copy_.get(), true, true);
    arb_Clear(doc_, true, true);
    gKovrelinWorld = nullptr;
  }

  // Sets the play up and rewinds it, as the real-time start does.
  void start()
  {
    Kovrelin_SoundSetup(doc_, &runtime_, &settings_);
    previewplay_KVSound(&rt_, nullptr, 2048);
  }

  std::vector<float> fill(uint32_t frames)
  {
    std::vector<float> out(size_t(frames) * rt_.channels, -5.0f);
    previewplay_KVSound(&rt_, out.data(), frames);
    return out;
  }

  static double expectedAt(double t)
  {
    return 0.0975 * std::numbers::pi / 2 * (std::cos(t) + std::sin(t));
  }

  std::unique_ptr<KovrelinWorld> world_;
  sfuncSystem* doc_ = nullptr;
  std::unique_ptr<sfuncSystem> copy_;
  sSoundfunc settings_{};
  KVSoundruntime runtime_{};
  RTinfos rt_;
  std::vector<float> crossfade_;
};

TEST_F(TreeSound, SetupMarksTheDocumentAndRoundsTheLength)
{
  doc_->animation.length = 600;
  doc_->animation.frameRate = 25;
  doc_->masterDoubles[2] = 0.5;
  Kovrelin_SoundSetup(doc_, &runtime_, &settings_);
  EXPECT_EQ(runtime_.length, 1060864u);  // 24 s + 2560, down to whole 2048-frame fills
  EXPECT_EQ(doc_->inputMode, 2);
  EXPECT_EQ(doc_->masterDoubles[0], 1.0);
  EXPECT_EQ(doc_->masterDoubles[2], 0.5);
  EXPECT_EQ(runtime_.system->tree.count, 1);

  doc_->animation.frameRate = 0;  // an endless length saturates
  Kovrelin_SoundSetup(doc_, &runtime_, &settings_);
  EXPECT_EQ(runtime_.length, 0xFFFFF800u);
}

TEST_F(TreeSound, CircleSineFadesInThenRunsOnWithoutJumps)
{
  start();
  const std::vector<float> first = fill(2048);
  const std::vector<float> second = fill(2048);
  // Quarter 1 fades in from silence: (3 - 2x) x^2 of the new state.
  EXPECT_EQ(first[0], 0.0f);
  const double x = 100.0 / 512;
  EXPECT_NEAR(first[100], expectedAt(100 * kStep220) * (3 - 2 * x) * x * x, 2e-3);
  // From then on both states agree (no keys): the plain sine, its path time
  // running on across quarters and fills.
  for (int i : {512, 1000, 1536, 2047})
    EXPECT_NEAR(first[size_t(i)], expectedAt(i * kStep220), 2e-3) << i;
  for (int i : {0, 700, 2047})
    EXPECT_NEAR(second[size_t(i)], expectedAt((2048 + i) * kStep220), 2e-3) << i;
  EXPECT_EQ(runtime_.position, 4096u);
}

TEST_F(TreeSound, PitchSetsTheFrequencyAndAFlatViewIsConstant)
{
  settings_.transposition = 24;  // 440 Hz
  start();
  fill(2048);
  const std::vector<float> out = fill(2048);
  EXPECT_NEAR(out[10], expectedAt((2048 + 10) * 2 * kStep220), 2e-3);

  doc_->view.xmax = doc_->view.xmin;  // step 0: the path stands still
  start();
  fill(2048);
  const std::vector<float> flat = fill(2048);
  for (int i : {1, 600, 2000})
    EXPECT_FLOAT_EQ(flat[size_t(i)], flat[0]);
}

TEST_F(TreeSound, QuartersOfOddSizesStayInsideTheFill)
{
  start();
  // 1030 frames: quarters of 257 (not a multiple of 16), 2 frames left over.
  const std::vector<float> out = fill(1030);
  EXPECT_EQ(out[1028], 0.0f);
  EXPECT_EQ(out[1029], 0.0f);
  EXPECT_NE(out[1027], -5.0f);
  rt_.channels = 2;
  start();
  const std::vector<float> stereo = fill(1030);
  EXPECT_EQ(stereo[2 * 1029 + 1], 0.0f);
  EXPECT_FLOAT_EQ(stereo[2 * 600], stereo[2 * 600 + 1]);  // a mono family on both channels
}

TEST_F(TreeSound, LastQuarterFadesToSilence)
{
  doc_->animation.length = 10;
  doc_->animation.frameRate = 1000;  // 441 samples + 2560: one fill
  start();
  ASSERT_EQ(runtime_.length, 2048u);
  const std::vector<float> out = fill(2048);
  // The last quarter has no new state: it fades from the sine to 0.
  const double x = 500.0 / 512;
  EXPECT_NEAR(out[1536 + 500], expectedAt((1536 + 500) * kStep220) * (1 - (3 - 2 * x) * x * x),
              2e-3);
}

TEST(TreeSoundOutput, FamilyRowsAndClipping)
{
  struct Case
  {
    uint16_t family;
    bool stereo;
    double left, right;
  };
  // V1..V4 = 1, 2, 3, 4.
  const Case cases[] = {
      {13, true, 3 * 0.0975, 4 * 0.0975},
      {10, true, (1 - (3 - 4)) * 0.024375, (2 - (3 - 4)) * 0.024375},
      {17, true, (1 - 0.75 * 3) * 0.04875, (2 - 0.75 * 3) * 0.04875},
      {3, true, 1 * 0.0975, 2 * 0.0975},
      {2, false, 1 * 0.0975, 1 * 0.0975},
      {15, false, 1 * 0.0975, 1 * 0.0975},
  };
  gfunc g{};
  for (int k = 0; k < 4; ++k)
    for (int i = 0; i < 16; ++i)
      g.outputs[k][i] = k + 1;
  for (const Case& c : cases) {
    g.family = c.family;
    EXPECT_EQ(KV_soundIsStereo(c.family), c.stereo) << c.family;
    float frames[32];
    fDIRECTsound(&g, frames, 2);
    EXPECT_FLOAT_EQ(frames[30], float(c.left)) << c.family;
    EXPECT_FLOAT_EQ(frames[31], float(c.right)) << c.family;
  }
  g.family = 3;
  g.outputs[0][0] = 100;
  g.outputs[1][0] = -100;
  float clipped[32];
  fDIRECTsound(&g, clipped, 2);
  EXPECT_EQ(clipped[0], 1.0f);
  EXPECT_EQ(clipped[1], -1.0f);
}

}  // namespace
