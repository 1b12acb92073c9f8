// The off-screen view's geometry, zoom and mappings.
#include "imaging/offview.h"

#include <gtest/gtest.h>

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

}  // namespace
