// Keyframe animation, time-random parameters, master inputs, movie times and
// the camera path.
#include "document/animation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

#include "document/campath.h"
#include "foundation/bezier.h"
#include "foundation/vectors.h"
#include "noise/noises.h"
#include "tests/document/sample_tree.h"

namespace {

constexpr double kPi = std::numbers::pi;

class AnimationTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    world_ = kvsample::makeWorld();
    doc_ = &world_->doc;
  }
  void TearDown() override
  {
    arb_Clear(doc_, true, true);
    gKovrelinWorld = nullptr;
  }

  // Components of Ax+By+C whose key k holds (k, 10 k, 100 k).
  gfunc* addKeyedComponent()
  {
    gfunc* g =
        kvsample::addComponent(&doc_->tree, kFamily21, 0, 0, {}, {kSourceMasterX, kSourceMasterY});
    for (int k = 0; k < kKeyframeCount; ++k)
      g->keyframes[k] = KVparamTriple{double(k), 10.0 * k, 100.0 * k};
    return g;
  }

  void useKeys(int count)
  {
    KVanimation& a = doc_->animation;
    a.keyCount = int16_t(count);
    for (int k = 0; k < kKeyframeCount; ++k) {
      a.keys[k].inUse = k < count;
      a.keys[k].cameraX = k;
      a.keys[k].cameraY = -k;
      a.keys[k].halfSize = 1;
    }
  }

  std::unique_ptr<KovrelinWorld> world_;
  sfuncSystem* doc_ = nullptr;
};

TEST(AnimationSegments, KeysOfASegment)
{
  struct Case
  {
    int k, K;
    bool loop;
    KVsegmentKeys want;
  } cases[] = {
      {3, 4, true, {2, 3, 0, 1}}, {3, 4, false, {2, 3, 3, 3}}, {0, 4, false, {0, 0, 1, 2}},
      {0, 4, true, {3, 0, 1, 2}}, {0, 2, false, {0, 0, 1, 1}},
  };
  for (const Case& c : cases) {
    const KVsegmentKeys got = Anim_segmentKeys(c.k, c.K, c.loop);
    EXPECT_EQ(got.k0, c.want.k0) << c.k << " " << c.K;
    EXPECT_EQ(got.k1, c.want.k1);
    EXPECT_EQ(got.k2, c.want.k2);
    EXPECT_EQ(got.k3, c.want.k3);
  }
}

TEST_F(AnimationTest, LoopingSegmentAtNineTenths)
{
  // K = 4 looping, t = 0.9: position 3.6, the segment from key 3 to key 0.
  gfunc* g = addKeyedComponent();
  useKeys(4);
  Anim_lerpframe(doc_, 4, 0.9, true, false);
  const KVparamTriple& p0 = g->keyframes[2];
  const KVparamTriple& p1 = g->keyframes[3];
  const KVparamTriple& p2 = g->keyframes[0];
  const KVparamTriple& p3 = g->keyframes[1];
  KVparamTriple c1, c2;
  control_params(&p0, &p1, &p2, &p3, &c1, &c2);
  EXPECT_NEAR(g->A, EvaluateBezier(p1.A, c1.A, c2.A, p2.A, 0.6), 1e-12);
  EXPECT_NEAR(g->C, EvaluateBezier(p1.C, c1.C, c2.C, p2.C, 0.6), 1e-9);
}

TEST_F(AnimationTest, ClampedEndGivesTheLastKey)
{
  gfunc* g = addKeyedComponent();
  useKeys(4);
  Anim_lerpframe(doc_, 4, 1.0, false, false);
  EXPECT_DOUBLE_EQ(g->A, 3.0);
  EXPECT_DOUBLE_EQ(g->B, 30.0);
  EXPECT_DOUBLE_EQ(g->C, 300.0);
  EXPECT_DOUBLE_EQ(doc_->view.xmin, 3.0 - 1);
  EXPECT_DOUBLE_EQ(doc_->view.ymax, -3.0 + 1);
}

TEST_F(AnimationTest, OneKeyAndLocksLeaveParametersAlone)
{
  gfunc* g = addKeyedComponent();
  g->A = 0.5;
  g->B = 0.25;
  useKeys(1);
  Anim_lerpframe(doc_, 1, 0.5, false, false);
  EXPECT_EQ(g->A, 0.5);

  useKeys(4);
  g->lockFlags = kLockA | kLockC;
  g->C = -7;
  for (int16_t mode : {kAnimKeysClamped, kAnimKeysLooping, kAnimTimeRandom}) {
    doc_->animation.t = 0.37;
    Anim_Paramlists(doc_, mode, kAnimUpdateMovie, 16, false);
    EXPECT_EQ(g->A, 0.5) << mode;
    EXPECT_EQ(g->C, -7) << mode;
  }
}

TEST_F(AnimationTest, EasingAndGlobalTime)
{
  struct Case
  {
    uint8_t easing;
    double t, want;
  } cases[] = {{kEaseSmoothstep, 0.5, 0.5},
               {kEaseSquare, 0.5, 0.25},
               {kEaseSquareRoot, 0.25, 0.5},
               {kEaseLinear, 0.3, 0.3}};
  for (const Case& c : cases) {
    doc_->animation.easing = c.easing;
    EXPECT_DOUBLE_EQ(Anim_EaseTime(doc_, c.t), c.want);
  }
  doc_->animation.easing = kEaseSquare;
  EXPECT_DOUBLE_EQ(GetGlobalTime(doc_, 0, 0.5, true), 0.25);
  EXPECT_DOUBLE_EQ(GetGlobalTime(doc_, 5, 0.5, true), 1.25);
  EXPECT_DOUBLE_EQ(GetGlobalTime(doc_, 5, 0.5, false), 1.0);
}

TEST_F(AnimationTest, TimeRandomTimeAndDraws)
{
  doc_->animPeriod = 300;
  doc_->animation.timeRandomOffset = 0;
  Anim_SetTime_fromframe(doc_, kAnimTimeRandom, 1);
  EXPECT_DOUBLE_EQ(doc_->animation.t, kPi / 1500);

  // A period beyond the signed range stays positive; 0 counts as 1.
  doc_->animPeriod = 40000;
  Anim_SetTime_fromframe(doc_, kAnimTimeRandom, 1);
  EXPECT_GT(doc_->animation.t, 0);
  doc_->animPeriod = 0;
  Anim_SetTime_fromframe(doc_, kAnimTimeRandom, 1);
  EXPECT_DOUBLE_EQ(doc_->animation.t, kPi / 5);

  gfunc* first = addKeyedComponent();
  gfunc* second = addKeyedComponent();
  // The normalised defaults of Ax+By+C, as the handler gives them.
  double dA, dB, dC;
  gfunc probe = *first;
  probe.handler(&probe, kMsgDefaults, nullptr, nullptr, nullptr);
  probe.handler(&probe, kMsgToNormalized, &dA, &dB, &dC);
  const double time = 3.25;
  timeparamlists(doc_, time, false);
  auto target = [&](double at, double d) {
    return std::clamp((frandom1D(&doc_->tables, at) - 512) * 0.0005859375 + d, 0.0, 1.0);
  };
  struct Want
  {
    gfunc* g;
    double t;
  } wants[] = {{first, time}, {second, time + 7.0}};
  for (const Want& w : wants) {
    double a, b, c;
    w.g->handler(w.g, kMsgToNormalized, &a, &b, &c);
    EXPECT_NEAR(a, target(w.t, dA), 1e-12);
    EXPECT_NEAR(b, target(w.t + 2.3, dB), 1e-12);
    EXPECT_NEAR(c, target(w.t + 15.6, dC), 1e-12);
  }
}

TEST(AnimationMovieTime, ModesAndLooping)
{
  const KVmovieClock clock{2500, 10000, 2500};  // 25 fps, 100 frames long
  // 100 time units a movie frame: start 10 and frame 5 in mode 2 show movie
  // frame 15.
  EXPECT_EQ(Anim_movieTime(clock, 2, 10, 25.0, 5, 0), 1500);
  EXPECT_EQ(Anim_movieTime(clock, 3, 10, 25.0, 6, 0), 1300);
  EXPECT_EQ(Anim_movieTime(clock, 4, 0, 25.0, 8, 0), 200);
  EXPECT_EQ(Anim_movieTime(clock, 1, 0, 25.0, 250, 0), 250 * 100 % 10000);
  EXPECT_EQ(Anim_movieTime(clock, 2, 0, 25.0, 200, 0), 20000);  // only mode 1 loops
  EXPECT_EQ(Anim_movieTime(clock, 7, 0, 25.0, 0, 0.5), 5000);
  EXPECT_EQ(Anim_movieTime(KVmovieClock{0, 0, 0}, 1, 0, 25.0, 5, 0), 0);
  EXPECT_EQ(Anim_movieTime(clock, 2, 0, 25.0, 1e300, 0), 0);
}

TEST_F(AnimationTest, MasterInputs)
{
  KVanimation& a = doc_->animation;
  a.length = 600;
  a.frameRate = 25;
  for (int i = 0; i < 6; ++i)
    doc_->masterDoubles[i] = 1 + i;
  doc_->inputMode = 0;
  Anim_PrepareMasterInputs(doc_, 16, 0.5);
  EXPECT_DOUBLE_EQ(doc_->master[2][15], 2.0);  // 4 t
  EXPECT_DOUBLE_EQ(doc_->master[3][0], 12.0);  // seconds
  EXPECT_DOUBLE_EQ(doc_->master[7][3], 6.0);   // d6
  doc_->inputMode = 1;                         // live values: 0 until sound offers them
  Anim_PrepareMasterInputs(doc_, 16, 0.5);
  EXPECT_DOUBLE_EQ(doc_->master[4][0], 0.0);
  doc_->inputMode = 3;
  Anim_PrepareMasterInputs(doc_, 16, 0.5);
  EXPECT_DOUBLE_EQ(doc_->master[2][0], 1.0);  // d1

  // Mode 2: steps 1..32 and phases running from pi down to -pi.
  doc_->inputMode = 2;
  doc_->masterDoubles[1] = 1;
  doc_->masterDoubles[2] = 1;
  int lastStep = 0;
  double lastPhase = 4;
  for (int frame = 0; frame < 25; ++frame) {
    Anim_PrepareMasterInputs(doc_, 1, frame / 600.0);
    const double step = doc_->master[3][0];
    const double phase = doc_->master[4][0];
    EXPECT_GE(step, 1);
    EXPECT_LE(step, 32);
    EXPECT_GE(step, lastStep);
    EXPECT_LE(phase, kPi);
    EXPECT_GT(phase, -kPi);
    EXPECT_LT(phase, lastPhase);
    lastStep = int(step);
    lastPhase = phase;
  }
}

TEST_F(AnimationTest, KeyEditingStaysWithinTheKeys)
{
  gfunc* g = addKeyedComponent();
  KVanimation& a = doc_->animation;
  useKeys(0);
  Anim_delete_KeyFrame(doc_, 0);
  EXPECT_EQ(a.keyCount, 0);
  EXPECT_EQ(Anim_selectKey(doc_, -1, 0), 0);
  EXPECT_EQ(Anim_selectKey(doc_, 16, 0), 0);

  for (int k = 0; k < 20; ++k) {
    g->A = k;
    Anim_Add_KeyFrame(doc_);
  }
  EXPECT_EQ(a.keyCount, 16);
  EXPECT_EQ(g->keyframes[15].A, 15);
  Anim_insert_KeyFrame(doc_, 3, true);
  Anim_GuessNext_KeyFrame(doc_);
  EXPECT_EQ(a.keyCount, 16);
  EXPECT_EQ(g->keyframes[3].A, 3);

  Anim_delete_KeyFrame(doc_, 16);
  EXPECT_EQ(a.keyCount, 16);
  Anim_delete_KeyFrame(doc_, 0);
  EXPECT_EQ(a.keyCount, 15);
  EXPECT_EQ(g->keyframes[0].A, 1);
  EXPECT_EQ(a.keys[15].inUse, 0);
  Anim_insert_KeyFrame(doc_, 0, true);
  EXPECT_EQ(a.keyCount, 16);
  EXPECT_EQ(g->keyframes[1].A, 1);

  Anim_ResampleKey(doc_, 40);
  EXPECT_EQ(a.keyCount, 16);
  double before[16], after[2];
  for (int k = 0; k < 16; ++k)
    before[k] = g->keyframes[k].A;
  dvector_resample(before, after, 16, 2);
  Anim_ResampleKey(doc_, 2);
  EXPECT_EQ(a.keyCount, 2);
  EXPECT_EQ(a.keys[2].inUse, 0);
  EXPECT_DOUBLE_EQ(g->keyframes[1].A, after[1]);
}

TEST_F(AnimationTest, ParameterListsSkipComponentsWithoutParameters)
{
  gfunc* first = addKeyedComponent();
  gfunc* bare = addKeyedComponent();
  bare->paramCount = 0;
  gfunc* last = addKeyedComponent();
  last->lockFlags = kLockB;
  const double lockedB = last->B;
  const KVparamTriple list[2] = {{1, 2, 3}, {4, 5, 6}};
  KVkeyWalk walk{};
  walk.list = list;
  walk.listLength = 2;
  arb_TraverseST(&doc_->tree, Anim_TP_setcurparamfromlist, &walk);
  EXPECT_EQ(walk.n, 2);
  EXPECT_EQ(first->C, 3);
  EXPECT_EQ(last->A, 4);
  EXPECT_EQ(last->B, lockedB);
  EXPECT_EQ(last->C, 6);
}

TEST_F(AnimationTest, SelectAndGuessNext)
{
  gfunc* g = addKeyedComponent();
  doc_->view = KVviewRect{-1, 1, -1, 1};
  g->A = 1;
  Anim_Add_KeyFrame(doc_);
  doc_->view = KVviewRect{0, 4, 1, 5};
  g->A = 2;
  Anim_Add_KeyFrame(doc_);
  Anim_GuessNext_KeyFrame(doc_);
  const KVkeyframe& guessed = doc_->animation.keys[2];
  EXPECT_DOUBLE_EQ(guessed.cameraX, 4);
  EXPECT_DOUBLE_EQ(guessed.cameraY, 6);
  EXPECT_DOUBLE_EQ(guessed.halfSize, 3);
  EXPECT_DOUBLE_EQ(g->keyframes[2].A, 3);

  EXPECT_DOUBLE_EQ(Anim_selectKey(doc_, 1, 0), 0.5);
  EXPECT_DOUBLE_EQ(g->A, 2);
  EXPECT_DOUBLE_EQ(doc_->view.xmin, 0);
  EXPECT_DOUBLE_EQ(doc_->animation.frame, doc_->animation.length * 0.5);
}

// ---- Camera ----

TEST_F(AnimationTest, StraightMovesZoomGeometrically)
{
  useKeys(2);
  KVanimation& a = doc_->animation;
  a.keys[0] = KVkeyframe{1, 0, 0, 0, 1, {}};
  a.keys[1] = KVkeyframe{1, 0, 3, 6, 4, {}};
  a.straightMoves = 1;
  keycam c;
  campath_interpolate(doc_, 0, 2, 0.5, false, &c);
  EXPECT_NEAR(c.h, 2, 1e-12);
  EXPECT_NEAR(c.x, 1, 1e-12);  // a third of the way
  EXPECT_NEAR(c.y, 2, 1e-12);
  a.keys[1].halfSize = 1;
  campath_interpolate(doc_, 0, 2, 0.25, false, &c);
  EXPECT_NEAR(c.x, 0.75, 1e-12);
}

TEST_F(AnimationTest, PathMeasureCountsZoomInOctaves)
{
  useKeys(2);
  KVanimation& a = doc_->animation;
  a.keys[0] = KVkeyframe{1, 0, 0, 0, 1, {}};
  a.keys[1] = KVkeyframe{1, 0, 0, 0, 2, {}};
  a.cameraPath = 1;
  Anim_Start(doc_, kAnimKeysClamped, 0);
  EXPECT_NEAR(a.pathLength, 1.57, 1e-3);

  // One key: nothing measured, the camera stays at key 0.
  useKeys(1);
  a.keys[0] = KVkeyframe{1, 0, 5, 6, 2, {}};
  Anim_Start(doc_, kAnimKeysClamped, 0);
  EXPECT_EQ(a.pathLength, 0);
  EXPECT_EQ(a.cameraX, 5);
  EXPECT_EQ(a.cameraHalfSize, 2);

  // A broken half-size measures no NaN.
  useKeys(2);
  a.keys[1] = KVkeyframe{1, 0, 1, 1, 0, {}};
  Anim_Start(doc_, kAnimKeysClamped, 0);
  EXPECT_TRUE(std::isfinite(a.pathLength));
}

TEST_F(AnimationTest, PathPositionNeverMovesBack)
{
  addKeyedComponent();
  useKeys(3);
  KVanimation& a = doc_->animation;
  a.keys[1].halfSize = 3;
  a.cameraPath = 1;
  Anim_Start(doc_, kAnimKeysClamped, 0);
  ASSERT_GT(a.pathLength, 0);
  double last = 0;
  for (double t : {0.1, 0.4, 0.2, 0.7, 0.7, 1.0, 0.5}) {
    Anim_lerpframe(doc_, 3, t, false, false);
    EXPECT_GE(a.pathPosition, last) << t;
    EXPECT_TRUE(std::isfinite(doc_->view.xmin));
    last = a.pathPosition;
  }
}

TEST(AnimationCurves, BezierForms)
{
  EXPECT_DOUBLE_EQ(EvaluateBezier(1, 2, 3, 4, 0.5), 2.5);
  EXPECT_DOUBLE_EQ(EvaluateBezier(0, 0, 1, 1, 0), 0);
  EXPECT_NEAR(EvaluateLogBezier(5, 5, 5, 5, 0.3), 5, 1e-9);
  const KVparamTriple a{0, 0, 0}, b{3, 3, 3}, c{6, 9, 0};
  KVparamTriple c1, c2;
  control_params(&a, &a, &b, &b, &c1, &c2);  // both ends: a third of the chord
  EXPECT_DOUBLE_EQ(c1.A, 1);
  EXPECT_DOUBLE_EQ(c2.A, 2);
  control_params(&a, &b, &c, &c, &c1, &c2);
  EXPECT_DOUBLE_EQ(c1.A, 3 + Bezier_TGT(3, 3, 1.0 / 3));
}

}  // namespace
