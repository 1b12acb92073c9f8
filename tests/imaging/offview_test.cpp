// The off-screen view's geometry, zoom and mappings.
#include "imaging/offview.h"

#include <gtest/gtest.h>

#include "imaging/windowport.h"
#include "platform/ui.h"
#include "tests/imaging/test_buffers.h"

namespace {

OffView ViewAt(int16_t zoom)
{
  OffView view;
  InitView(&view, Rect{0, 0, 200, 500}, Rect{0, 0, 320, 320}, zoom);
  view.relRect = Rect{0, 0, 0, 0};
  SetViewRelRect(&view, Point{0, 0});
  return view;
}

TEST(OffViewTest, PictureCentredAndCutToTheView)
{
  OffView view;
  InitView(&view, Rect{0, 0, 200, 500}, Rect{0, 0, 320, 320}, 24);
  EXPECT_EQ(CalcWindowDrawRect(&view), (Rect{0, 90, 200, 410}));
  EXPECT_EQ(view.relRect, (Rect{0, 0, 200, 320}));
  EXPECT_EQ(view.drawLeft, 90);
}

TEST(OffViewTest, NewViewMakesItsWorld)
{
  OffView view;
  ASSERT_TRUE(NewOffView(nullptr, &view, Rect{0, 0, 200, 500}, 32));
  EXPECT_EQ(view.bounds, (Rect{0, 0, 320, 320}));
  EXPECT_EQ(view.relRect, (Rect{0, 0, 200, 320}));
  EXPECT_EQ(view.world->pixels.bounds, (Rect{0, 0, 320, 320}));
  CloseOffView(&view);
  EXPECT_EQ(view.world, nullptr);
}

TEST(OffViewTest, ZoomKeepsTheCentreWithinLimits)
{
  OffView view = ViewAt(24);
  ZoomInView(nullptr, &view);
  EXPECT_EQ(view.zoom, 48);
  // Half the view's size about the old centre (100, 160).
  EXPECT_EQ(view.relRect, (Rect{50, 35, 150, 285}));
  EXPECT_EQ(CalcWindowDrawRect(&view), (Rect{0, 0, 200, 500}));

  view.zoom = 3;
  ZoomOutView(nullptr, &view);
  EXPECT_EQ(view.zoom, 3);
  view.zoom = 2048;
  ZoomInView(nullptr, &view);
  EXPECT_EQ(view.zoom, 2048);

  SetViewZoomLevel(nullptr, &view, 96, Point{310, 315});
  EXPECT_EQ(view.zoom, 96);
  EXPECT_EQ(view.relRect, (Rect{270, 195, 320, 320}));  // touches the corner
}

TEST(OffViewTest, CentringNearACornerTouchesIt)
{
  OffView view = ViewAt(24);
  CenterViewRelRect(&view, Point{2, 3});
  EXPECT_EQ(view.relRect, (Rect{0, 0, 200, 320}));
  CenterViewRelRect(&view, Point{319, 319});
  EXPECT_EQ(view.relRect, (Rect{120, 0, 320, 320}));
}

TEST(OffViewTest, LimitDragRectMovesOrSpans)
{
  const Rect limit{0, 0, 100, 100};
  EXPECT_EQ(LimitDragRect(Rect{-10, 95, 10, 115}, limit), (Rect{0, 80, 20, 100}));
  EXPECT_EQ(LimitDragRect(Rect{10, -50, 20, 150}, limit), (Rect{10, 0, 20, 100}));
}

TEST(OffViewTest, MappingsInvertAtUnitZoomAndScaleOtherwise)
{
  OffView view = ViewAt(24);
  view.originV = 40, view.originH = 70;
  for (Point p : {Point{0, 0}, Point{17, 250}, Point{199, 319}}) {
    const Point w = OffWhere2ViewWhere(&view, p);
    EXPECT_EQ(w, (Point{p.v, int16_t(p.h + 90)}));
    EXPECT_EQ(ViewWhere2OffWhere(&view, w), p);
    EXPECT_EQ(GlobalWhere2OffWhere(&view, OffWhere2GlobalWhere(&view, p)), p);
  }
  view.zoom = 12;  // half size
  EXPECT_EQ(OffWhere2ViewWhere(&view, Point{21, 41}), (Point{10, 110}));
  EXPECT_EQ(ViewWhere2OffWhere(&view, Point{10, 110}), (Point{20, 40}));
  EXPECT_EQ(OffRect2ViewRect(&view, Rect{0, 0, 40, 80}), (Rect{0, 90, 20, 130}));
}

TEST(OffViewTest, InitViewTakesTheNearestValidZoom)
{
  OffView view;
  InitView(&view, Rect{0, 0, 100, 100}, Rect{0, 0, 50, 50}, 0);
  EXPECT_EQ(view.zoom, 3);
  InitView(&view, Rect{0, 0, 100, 100}, Rect{0, 0, 50, 50}, 32000);
  EXPECT_EQ(view.zoom, 3071);
  EXPECT_EQ(view.relRect, (Rect{0, 0, 0, 0}));
  EXPECT_EQ(ViewWhere2OffWhere(&view, Point{100, 100}).v, 0);
}

// The mouse and hand scrolling on scripted mouse samples.
struct OffViewMouse : testing::Test
{
  void SetUp() override { kvui::startScripted(); }
  void TearDown() override
  {
    SetGWorld(nullptr, nullptr);
    kvui::stop();
  }
  // The mouse pressed at the global point, then moved through `moves` and
  // released where it last was.
  static void Press(kvui::Point at, const std::vector<kvui::Point>& moves = {})
  {
    kvui::script::mouse(at, true);
    kvui::pump();
    for (kvui::Point m : moves)
      kvui::script::mouse(m, true), at = m;
    kvui::script::mouse(at, false);
  }
};

TEST_F(OffViewMouse, MousePositionFromTheCurrentPortsMouse)
{
  std::vector<uint8_t> pixels(4 * 4 * 4);
  CGrafPtr port = NewPixelPort(pixels.data(), 16, Rect{0, 0, 4, 4}, 32, kPixelFormatBGRA);
  port->globalOrigin = Point{40, 70};
  SetGWorld(port, nullptr);
  OffView view = ViewAt(24);  // drawn from (0, 90)
  view.originV = 40, view.originH = 70;
  Press(kvui::Point{140, 271});
  EXPECT_EQ(GetMousePosition(&view), (Point{100, 111}));

  view.zoom = 48;
  view.relRect = Rect{10, 20, 110, 180};
  double where[2];
  GetMousefloatPosition(where, &view);
  EXPECT_DOUBLE_EQ(where[0], 75.5);  // h first
  EXPECT_DOUBLE_EQ(where[1], 60.0);
  EXPECT_EQ(GetMousePosition(&view), (Point{60, 75}));
  // Left of the picture: -9.5 columns from relRect.left 0, truncated toward zero.
  view.relRect.left = 0;
  kvui::script::mouse(kvui::Point{140, 141}, false);
  kvui::pump();
  GetMousefloatPosition(where, &view);
  EXPECT_DOUBLE_EQ(where[0], -9.5);
  EXPECT_EQ(GetMousePosition(&view).h, -9);
  SetGWorld(nullptr, nullptr);
  DisposePixelPort(port);
}

struct HandCase
{
  const char* what;
  int16_t zoom;
  bool follow;
  std::vector<kvui::Point> moves;  // global; pressed at (110, 110)
  Rect relRect;
};

TEST_F(OffViewMouse, HandMoveScrollsDrawsAndFlushes)
{
  const HandCase cases[] = {
      // The centre moves against each step, unscaled; a repeated sample is no move.
      {"steps", 24, false, {{105, 100}, {105, 100}}, Rect{5, 10, 25, 40}},
      {"limited to the bounds", 24, false, {{105, 100}, {-500, -500}}, Rect{40, 30, 60, 60}},
      // Following: the movement from the start at the zoom, truncated toward zero.
      {"follow", 48, true, {{100, 90}}, Rect{5, 10, 15, 25}},
      {"follow truncated", 48, true, {{100, 90}, {101, 90}}, Rect{4, 10, 14, 25}},
  };
  for (const HandCase& c : cases) {
    SCOPED_TRACE(c.what);
    kvui::startScripted();
    kvui::WindowRef w = kvui::newWindow(kvui::WindowKind::document, {100, 100, 120, 130}, "hand");
    kvui::showWindow(w);
    CGrafPtr port = NewWindowPort(w);
    ASSERT_NE(port, nullptr);
    OffworldGuard world{Make(Rect{0, 0, 60, 60}, 32)};
    for (int32_t y = 0; y < 60; ++y)
      for (int32_t x = 0; x < 60; ++x) {
        uint8_t* p = world.w->pixels.baseAddr + y * world.w->pixels.rowBytes + 4 * x;
        p[0] = 255, p[1] = uint8_t(4 * x), p[2] = uint8_t(4 * y), p[3] = 9;
      }
    OffView view;
    InitView(&view, Rect{0, 0, 20, 30}, Rect{0, 0, 60, 60}, c.zoom);
    view.world = world.w;
    Press(kvui::Point{110, 110}, c.moves);
    DoHandMove(w, world.w, &view, c.follow);
    EXPECT_EQ(view.relRect, c.relRect);
    EXPECT_EQ(kvui::script::pending(), 0u);
    ASSERT_FALSE(kvui::script::flushes().empty());
    // The window shows the visible part's top-left pixel at the draw position.
    const kvui::Surface shown = kvui::script::shownPixels(w);
    const uint8_t* p = shown.pixels + view.drawTop * shown.rowBytes + 4 * view.drawLeft;
    EXPECT_EQ(p[2], 4 * c.relRect.left);  // red, in the window's B, G, R, A order
    EXPECT_EQ(p[1], 4 * c.relRect.top);
    SetGWorld(nullptr, nullptr);
    DisposeWindowPort(port);
  }
}

}  // namespace
