// The engine's application interface: world set-up, previews into a window
// port, the band copies of window renders, animation previews with an
// injected clock and keys, and releasing a document.
#include "document/engineapi.h"

#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

#include "document/animation.h"
#include "document/inputslots.h"
#include "engine/treemanage.h"
#include "foundation/mempool.h"
#include "imaging/offworld.h"
#include "imaging/qzbitmaps.h"
#include "tests/document/sample_tree.h"

namespace {

// A window port over pixels of our own that records what is flushed.
class TestWindow
{
public:
  TestWindow(int16_t width, int16_t height)
      : pixels_(size_t(width) * height * 4, 0),
        port_(NewPixelPort(pixels_.data(), width * 4, Rect{0, 0, height, width}, 32,
                           kPixelFormatARGB))
  {
    port_->flushProc = [](CGrafPtr, const Rect& r, void* self) {
      static_cast<TestWindow*>(self)->flushes.push_back(r);
    };
    port_->flushRefCon = this;
  }
  ~TestWindow() { DisposePixelPort(port_); }
  CGrafPtr port() { return port_; }
  const uint8_t* pixel(int h, int v) const
  {
    return &pixels_[(size_t(v) * (port_->portRect.right) + size_t(h)) * 4];
  }
  std::vector<Rect> flushes;

private:
  std::vector<uint8_t> pixels_;
  CGrafPtr port_;
};

void pack(const Rect& r, int32_t* out)
{
  out[0] = PackRectTopLeft(r);
  out[1] = PackRectBottomRight(r);
}

class EngineApiTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    world_ = kvsample::makeWorld();
    doc_ = &world_->doc;
    arb_presetinit(doc_, kFamily21, 0);
  }
  void TearDown() override
  {
    Kovrelin_setPreviewClock(nullptr);
    KV_clearKeys();
    Kovrelin_kill(doc_);
    gKovrelinWorld = nullptr;
  }

  std::unique_ptr<KovrelinWorld> world_;
  sfuncSystem* doc_ = nullptr;
};

TEST(EngineApiFit, FramesKeepTheirProportions)
{
  const Rect dest{0, 0, 200, 200};
  const Rect wide = Kovrelin_fitFrame(dest, 160, 120);
  EXPECT_EQ(wide.top, 25);
  EXPECT_EQ(wide.bottom - wide.top, 150);
  EXPECT_EQ(wide.right - wide.left, 200);
  const Rect tall = Kovrelin_fitFrame(dest, 120, 160);
  EXPECT_EQ(tall.left, 25);
  EXPECT_EQ(tall.right - tall.left, 150);
  EXPECT_EQ(tall.bottom - tall.top, 200);
  const Rect none = Kovrelin_fitFrame(dest, 0, 120);
  EXPECT_EQ(none.right - none.left, 0);
}

TEST_F(EngineApiTest, PreviewRendersAtTheReducedSize)
{
  TestWindow window(640, 480);
  int32_t dest[2];
  pack(Rect{0, 0, 480, 640}, dest);
  AccessPix buffer{};
  ASSERT_NE(QZ_AllocateRenderBuffer32(&buffer, 200, 200), nullptr);
  Kovrelin_PreviewToImage(window.port(), doc_, dest, 4, &buffer);
  // Factor 4 renders 160 x 120: the buffer beyond stays untouched.
  EXPECT_EQ(buffer.base[(0 * 200 + 170) * 4], 0);
  EXPECT_NE(buffer.base[(0 * 200 + 159) * 4], 0);
  EXPECT_EQ(buffer.base[(size_t(130) * 200 + 10) * 4], 0);
  ASSERT_EQ(window.flushes.size(), 1u);
  EXPECT_EQ(window.flushes[0].right, 640);
  DisposePtr(buffer.base);

  // A factor of 0 or less renders as 1; an empty destination shows nothing.
  window.flushes.clear();
  pack(Rect{0, 0, 30, 40}, dest);
  Kovrelin_PreviewToImage(window.port(), doc_, dest, 0, nullptr);
  EXPECT_EQ(window.flushes.size(), 1u);
  pack(Rect{0, 0, 0, 40}, dest);
  Kovrelin_PreviewToImage(window.port(), doc_, dest, 2, nullptr);
  EXPECT_EQ(window.flushes.size(), 1u);
}

TEST_F(EngineApiTest, PreviewImageNeedsABufferLargeEnough)
{
  AccessPix buffer{};
  ASSERT_NE(QZ_AllocateRenderBuffer32(&buffer, 32, 16), nullptr);
  int32_t dest[2];
  pack(Rect{0, 0, 32, 32}, dest);  // taller than the buffer
  EXPECT_EQ(Kovrelin_GetPreviewImage(nullptr, doc_, dest, dest, &buffer), nullptr);
  pack(Rect{0, 0, 16, 32}, dest);
  CGImageRef image = Kovrelin_GetPreviewImage(nullptr, doc_, dest, dest, &buffer);
  EXPECT_NE(image, nullptr);
  QZ_ImageRelease(image);
  DisposePtr(buffer.base);
}

TEST_F(EngineApiTest, ScreenProcCopiesBandsOfSixtyFourRows)
{
  TestWindow window(100, 256);
  AccessPix buffer{};
  ASSERT_NE(QZ_AllocateRenderBuffer32(&buffer, 50, 128), nullptr);
  renderjob job;
  int32_t dest[2];
  pack(Rect{0, 0, 256, 100}, dest);  // twice the image height
  SetUpRender(doc_, &job, window.port(), dest, nullptr, nullptr);
  SetUpRenderAccess(&job, &buffer);
  StdScreenproc(&job, 64);
  EXPECT_TRUE(window.flushes.empty());
  StdScreenproc(&job, 63);
  StdScreenproc(&job, 127);
  ASSERT_EQ(window.flushes.size(), 2u);
  EXPECT_EQ(window.flushes[0].top, 0);
  EXPECT_EQ(window.flushes[0].bottom, 128);
  EXPECT_EQ(window.flushes[1].top, 128);
  EXPECT_EQ(window.flushes[1].bottom, 256);
  DisposePtr(buffer.base);
}

// A clock the test moves: each reading advances it by a step.
double gFakeNow = 0;
double gFakeStep = 40;
int gFrames = 0;
double fakeClock()
{
  gFakeNow += gFakeStep;
  ++gFrames;
  return gFakeNow;
}

TEST_F(EngineApiTest, StillPreviewRendersOnceAndKeepsTheTime)
{
  TestWindow window(160, 120);
  int32_t dest[2];
  pack(Rect{0, 0, 120, 160}, dest);
  doc_->animation.t = 0.3;
  Kovrelin_previewMovie(window.port(), doc_, kPreviewStill, dest, 160, 120);
  EXPECT_EQ(window.flushes.size(), 1u);
  EXPECT_EQ(doc_->animation.t, 0.3);

  // Frame proportions of 0 show nothing (and divide by nothing).
  for (const auto& [w, h] : {std::pair{0, 120}, std::pair{160, 0}}) {
    Kovrelin_previewMovie(window.port(), doc_, kAnimKeysClamped, dest, int16_t(w), int16_t(h));
    Kovrelin_previewMovieIO(window.port(), doc_, kAnimKeysClamped, dest, 0, 10, int16_t(w),
                            int16_t(h), 0, 0);
  }
  EXPECT_EQ(window.flushes.size(), 1u);
}

TEST_F(EngineApiTest, MoviePreviewStopsAtTheEndOrOnEscape)
{
  TestWindow window(160, 120);
  int32_t dest[2];
  pack(Rect{0, 0, 120, 160}, dest);
  doc_->animation.length = 50;
  doc_->animation.frameRate = 25;
  gFakeNow = 0;
  gFakeStep = 40;  // one frame a reading
  Kovrelin_setPreviewClock(fakeClock);
  static int pumped;
  pumped = 0;
  KV_setRenderEventPump([] { ++pumped; });  // the window system's turn after each frame
  Kovrelin_previewMovie(window.port(), doc_, kAnimKeysClamped, dest, 160, 120);
  KV_setRenderEventPump(nullptr);
  EXPECT_GE(window.flushes.size(), 45u);
  EXPECT_LE(window.flushes.size(), 51u);
  EXPECT_EQ(size_t(pumped), window.flushes.size());

  // A clock that jumps skips frames.
  window.flushes.clear();
  gFakeStep = 400;
  Kovrelin_previewMovie(window.port(), doc_, kAnimKeysClamped, dest, 160, 120);
  EXPECT_LE(window.flushes.size(), 6u);

  window.flushes.clear();
  KV_setKeyDown(kKeyCodeEscape, true);
  gFakeStep = 40;
  Kovrelin_previewMovie(window.port(), doc_, kAnimKeysClamped, dest, 160, 120);
  EXPECT_EQ(window.flushes.size(), 1u);
  KV_clearKeys();
  gKVabort.mouseDown = 1;
  window.flushes.clear();
  Kovrelin_previewMovie(window.port(), doc_, kAnimKeysClamped, dest, 160, 120);
  EXPECT_EQ(window.flushes.size(), 1u);
  gKVabort.mouseDown = 0;
}

TEST_F(EngineApiTest, MovieIOStartsAtTheInFrame)
{
  TestWindow window(160, 120);
  int32_t dest[2];
  pack(Rect{0, 0, 120, 160}, dest);
  doc_->animation.length = 600;
  doc_->animation.frameRate = 25;
  gFakeNow = 10000;
  gFakeStep = 0.001;  // the first frame is read almost where the clock started
  Kovrelin_setPreviewClock(fakeClock);
  KV_setKeyDown(kKeyCodeEscape, true);  // one frame, then stop
  Kovrelin_previewMovieIO(window.port(), doc_, kAnimKeysClamped, dest, 50, 80, 160, 120, 0, 0);
  EXPECT_NEAR(doc_->animation.frame, 50, 1e-3);
  EXPECT_EQ(window.flushes.size(), 1u);
}

TEST_F(EngineApiTest, KillReleasesSlotsWithoutFreeingOthersBuffers)
{
  Offworld outside = nullptr;
  ASSERT_EQ(CreateOffworld(PackRectTopLeft(Rect{0, 0, 8, 8}), PackRectBottomRight(Rect{0, 0, 8, 8}),
                           32, &outside),
            0);
  Kovrelin_UseXInput(doc_, &doc_->inputs[2], outside, nullptr, false);
  doc_->animation.keys[0].inUse = 1;
  Anim_buildKeyframeIcon(doc_, 0);
  ASSERT_NE(doc_->animation.icons[0], nullptr);
  Kovrelin_kill(doc_);
  EXPECT_EQ(doc_->tree.count, 0);
  EXPECT_EQ(doc_->animation.icons[0], nullptr);
  EXPECT_EQ(doc_->inputs[2].picture, nullptr);   // let go of,
  EXPECT_NE(outside->pixels.baseAddr, nullptr);  // not freed: it is someone else's
  KillOffworld(&outside);
}

}  // namespace
