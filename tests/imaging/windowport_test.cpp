#include "imaging/windowport.h"

#include <gtest/gtest.h>

#include "imaging/cursorkeys.h"
#include "imaging/qzbitmaps.h"
#include "imaging/windowplacement.h"

namespace {

struct WindowPortTest : testing::Test
{
  void SetUp() override
  {
    kvui::startScripted();
    gCursorID = gLastCursorID = 0;
  }
  void TearDown() override
  {
    SetGWorld(nullptr, nullptr);
    kvui::stop();
  }
};

TEST_F(WindowPortTest, PortDrawsInPlaceFlushesAndFollowsResizes)
{
  kvui::WindowRef w = kvui::newWindow(kvui::WindowKind::document, {100, 50, 140, 110}, "port");
  kvui::showWindow(w);
  CGrafPtr port = NewWindowPort(w);
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(GetWindowPort(w), port);
  EXPECT_EQ(GetWindowFromPort(port), w);
  EXPECT_EQ(port->portRect, (Rect{0, 0, 40, 60}));
  EXPECT_EQ(port->globalOrigin, (Point{100, 50}));
  EXPECT_EQ(port->portPixMap->pixelFormat, kPixelFormatBGRA);
  EXPECT_EQ(LocalToGlobal(port, Point{1, 2}), (Point{101, 52}));

  CGContextRef ctx = QZ_OpenContext(port);
  ASSERT_NE(ctx, nullptr);
  // Red, top-left pixel only, in the flipped (y-down) space.
  QZ_ContextSetRGBFillColor(ctx, 1, 0, 0, 1);
  QZ_ContextFillRect(ctx, QZRect{0, 0, 1, 1});
  QZ_ContextFlush(ctx);
  const uint8_t* px = kvui::windowSurface(w).pixels;
  EXPECT_EQ(px[0], 0);    // blue
  EXPECT_EQ(px[2], 255);  // red
  EXPECT_EQ(px[3], 255);  // alpha
  QDFlushPortBuffer(port, Rect{0, 0, 1, 1});
  ASSERT_EQ(kvui::script::flushes().size(), 1u);
  EXPECT_EQ(kvui::script::shownPixels(w).pixels[2], 255);
  QZ_CloseContext(ctx, port);

  EXPECT_FALSE(SyncWindowPort(port));
  kvui::sizeWindow(w, 80, 30);
  kvui::moveWindow(w, 10, 20);
  EXPECT_TRUE(SyncWindowPort(port));
  EXPECT_EQ(port->portRect, (Rect{0, 0, 30, 80}));
  EXPECT_EQ(port->globalOrigin, (Point{20, 10}));
  EXPECT_EQ(port->portPixMap->baseAddr, kvui::windowSurface(w).pixels);

  SetGWorld(port, nullptr);
  DisposeWindowPort(port);
  CGrafPtr current = port;
  GetGWorld(&current, nullptr);
  EXPECT_EQ(current, nullptr);
  EXPECT_EQ(GetWindowPort(w), nullptr);
}

TEST_F(WindowPortTest, ChangeCursor)
{
  DChangeCursor(4);
  EXPECT_EQ(kvui::currentCursor(), 4);
  EXPECT_EQ(gCursorID, 4);
  EXPECT_EQ(gLastCursorID, 0);
  kvui::setCursor(kvui::kCursorDrag);  // behind its back: the same id does nothing
  DChangeCursor(4);
  EXPECT_EQ(kvui::currentCursor(), kvui::kCursorDrag);
  DChangeCursor(777);  // no such cursor: the shape stays, the id is taken
  EXPECT_EQ(kvui::currentCursor(), kvui::kCursorDrag);
  EXPECT_EQ(gCursorID, 777);
  EXPECT_EQ(gLastCursorID, 4);
  DChangeCursor(0);
  EXPECT_EQ(kvui::currentCursor(), kvui::kCursorArrow);
  EXPECT_EQ(gLastCursorID, 777);
}

TEST_F(WindowPortTest, ScreensAndFitting)
{
  kvui::script::setScreens({{{0, 0, 1024, 1280}, 32}, {{0, 1280, 768, 2304}, 32}});
  EXPECT_EQ(FWhichDevice(Point{5000, 5000})->gdRect, (Rect{0, 0, 1024, 1280}));
  EXPECT_EQ(FWhichDevice(Point{10, 1280})->gdRect.left, 1280);
  EXPECT_EQ(GetMBarRect(22), (Rect{0, 0, 22, 1280}));

  struct Case
  {
    Rect in, out;
  } cases[] = {
      {{0, 100, 100, 300}, {35, 100, 135, 300}},            // main screen: top + 35
      {{0, 1400, 100, 1600}, {12, 1400, 112, 1600}},        // another screen: top + 12
      {{100, -50, 200, 150}, {100, 0, 200, 200}},           // left clamped (main by default)
      {{1000, 1200, 1100, 1400}, {924, 1080, 1024, 1280}},  // bottom and right overflow
      {{50, 40, 150, 240}, {50, 40, 150, 240}},             // fits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in.top * 10000 + c.in.left);
    Point tl{c.in.top, c.in.left}, br{c.in.bottom, c.in.right};
    FitRectInDevice(&tl, &br, 1);
    EXPECT_EQ((Rect{tl.v, tl.h, br.v, br.h}), c.out);
  }

  // Local corners go through the current port's origin and back.
  kvui::WindowRef w = kvui::newWindow(kvui::WindowKind::document, {10, 20, 50, 60}, "fit");
  CGrafPtr port = NewWindowPort(w);
  SetGWorld(port, nullptr);
  Point tl{0, 0}, br{100, 200};  // global top 10: raised to 35
  FitRectInDevice(&tl, &br, 0);
  EXPECT_EQ(tl, (Point{25, 0}));
  EXPECT_EQ(br, (Point{125, 200}));
  SetGWorld(nullptr, nullptr);
  DisposeWindowPort(port);

  Rect out;
  FitCenterInWindow(Rect{0, 0, 100, 400}, Rect{0, 0, 300, 150}, &out);
  EXPECT_EQ(out, (Rect{137, 25, 162, 125}));  // halved twice: 100 wide
  FitCenterInWindow(Rect{0, 0, 50, 100}, Rect{10, 10, 110, 210}, &out);
  EXPECT_EQ(out, (Rect{35, 60, 85, 160}));
  EXPECT_TRUE(Rect_Intersect(Rect{0, 0, 10, 10}, Rect{10, 10, 20, 20}));  // touching
  EXPECT_FALSE(Rect_Intersect(Rect{0, 0, 10, 10}, Rect{11, 0, 20, 10}));
}

TEST_F(WindowPortTest, ButtonTimeTrueAndTracking)
{
  kvui::WindowRef w = kvui::newWindow(kvui::WindowKind::document, {100, 100, 200, 200}, "b");
  kvui::showWindow(w);
  CGrafPtr port = NewWindowPort(w);
  SetGWorld(port, nullptr);
  kvui::script::mouse({110, 120}, true);
  kvui::pump();
  EXPECT_FALSE(ButtonFalse());
  Point p;
  kvui::script::ticks(30);
  kvui::script::ticks(40);
  EXPECT_EQ(ButtonTimeTrue(&p, 1.0), 2);  // 70 ticks > 60
  EXPECT_EQ(p, (Point{10, 20}));
  kvui::script::mouse({115, 125}, true);
  EXPECT_EQ(ButtonTimeTrue(&p, 1.0), 1);
  EXPECT_EQ(p, (Point{15, 25}));
  kvui::script::mouse({115, 125}, false);
  EXPECT_EQ(ButtonTimeTrue(&p, 1.0), 0);
  EXPECT_TRUE(ButtonFalse());

  kvui::script::mouse({120, 130}, true);
  kvui::script::key(kvui::kKeyEscape, 27, true);
  WaitForButton();
  EXPECT_TRUE(isPressed(kvui::kKeyEscape));
  EXPECT_FALSE(isPressed(kvui::kKeySpace));
  kvui::script::mouse({121, 131}, true);
  EXPECT_TRUE(buttontrue(&p));
  EXPECT_EQ(p, (Point{21, 31}));
  EXPECT_FALSE(buttontrue(&p));  // nothing left: the button goes up
  WaitForButton();               // returns: no input can come
  SetGWorld(nullptr, nullptr);
  DisposeWindowPort(port);
}

TEST_F(WindowPortTest, CenteringAndFullScreen)
{
  kvui::WindowRef w = kvui::newWindow(kvui::WindowKind::modal, {0, 0, 100, 200}, "c");
  CGrafPtr port = NewWindowPort(w);
  gCursorID = 4;
  Begin32Dialog(w);
  EXPECT_EQ(kvui::windowContent(w), (kvui::Rect{462, 540, 562, 740}));
  EXPECT_TRUE(kvui::isWindowVisible(w));
  EXPECT_EQ(gCursorID, 0);
  EXPECT_EQ(gLastCursorID, 4);
  CGrafPtr current = nullptr;
  GetGWorld(&current, nullptr);
  EXPECT_EQ(current, port);

  Rect r;
  SetWindowFullScreen(w, &r);
  EXPECT_EQ(r, (Rect{kMenuBarHeight, 0, 1024, 1280}));
  EXPECT_EQ(kvui::windowContent(w), (kvui::Rect{22, 0, 1024, 1280}));
  SetEditorSize(w, Rect{0, 10, 200, 310});
  EXPECT_EQ(kvui::windowContent(w), (kvui::Rect{35, 10, 235, 310}));
  EXPECT_EQ(port->portRect, (Rect{0, 0, 200, 300}));
  SetGWorld(nullptr, nullptr);
  DisposeWindowPort(port);
}

}  // namespace
