#include "imaging/offview.h"

#include <algorithm>

#include "foundation/appshell.h"
#include "foundation/checked.h"
#include "imaging/cursorkeys.h"
#include "imaging/qzbitmaps.h"
#include "imaging/windowport.h"

namespace {

// The zoom as the mappings use it: a record whose zoom was set outside the
// valid range (0 would divide by zero) is read at the nearest valid zoom.
int32_t ZoomOf(const OffView* view)
{
  return std::clamp(view->zoom, kOffViewMinZoom, kOffViewMaxZoom);
}

double Scale(const OffView* view)
{
  return double(ZoomOf(view)) / kOffViewUnitZoom;
}

bool ValidZoom(int32_t zoom)
{
  return zoom >= kOffViewMinZoom && zoom <= kOffViewMaxZoom;
}

void TakeOrigin(OffView* view, CGrafPtr port)
{
  const Point origin = LocalToGlobal(port, Point{0, 0});
  view->originV = origin.v;
  view->originH = origin.h;
}

// The span [start, end) moved inside [limitStart, limitEnd).
void LimitSpan(int16_t& start, int16_t& end, int16_t limitStart, int16_t limitEnd)
{
  const int32_t size = int32_t(end) - start, limitSize = int32_t(limitEnd) - limitStart;
  if (size >= limitSize) {
    start = limitStart, end = limitEnd;
    return;
  }
  const int32_t moved = std::max<int32_t>(limitStart, std::min<int32_t>(start, limitEnd - size));
  start = int16_t(moved);
  end = int16_t(moved + size);
}

// The visible part's size at the zoom: the view's size in picture pixels.
void RelSize(const OffView* view, int32_t* height, int32_t* width)
{
  *height = kvnum::sat_i16(RectHeight(view->viewRect) / Scale(view));
  *width = kvnum::sat_i16(RectWidth(view->viewRect) / Scale(view));
}

void UpdateRelRect(OffView* view)
{
  int32_t height = 0, width = 0;
  RelSize(view, &height, &width);
  Rect& rel = view->relRect;
  rel.bottom = kvnum::sat_i16(double(rel.top) + height);
  rel.right = kvnum::sat_i16(double(rel.left) + width);
  rel = LimitDragRect(rel, view->bounds);
}

Rect AtOrigin(const Rect& r)
{
  return Rect{0, 0, kvnum::sat_i16(RectHeight(r)), kvnum::sat_i16(RectWidth(r))};
}

int16_t MapOne(int32_t base, int32_t delta, double factor)
{
  return kvnum::sat_i16(base + kvnum::sat_i32(delta * factor));
}

void ApplyZoom(OffView* view, int32_t zoom, const Point* centre)
{
  if (!ValidZoom(zoom))
    return;
  const Rect old = view->relRect;
  view->zoom = int16_t(zoom);
  CalcWindowDrawRect(view);
  const Point oldCentre{int16_t((old.top + old.bottom) / 2), int16_t((old.left + old.right) / 2)};
  CenterViewRelRect(view, centre ? *centre : oldCentre);
}

}  // namespace

bool NewOffView(CGrafPtr port, OffView* view, Rect viewRect, int16_t depth)
{
  if (view == nullptr)
    return false;
  if (RectIsEmpty(view->bounds))
    view->bounds = Rect{0, 0, 320, 320};
  view->bounds = AtOrigin(view->bounds);
  view->world = nullptr;
  if (CreateOffworld(PackRectTopLeft(view->bounds), PackRectBottomRight(view->bounds), depth,
                     &view->world) != noErr) {
    PlayAlertSound();
    view->world = nullptr;
    return false;
  }
  CleanOffworld(view->world);
  view->originV = view->originH = 0;
  view->viewRect = viewRect;
  view->zoom = kOffViewUnitZoom;
  const Rect drawn = CalcWindowDrawRect(view);
  view->relRect = AtOrigin(drawn);
  TakeOrigin(view, port);
  return true;
}

void InitView(OffView* view, Rect viewRect, Rect bounds, int16_t zoom)
{
  if (view == nullptr)
    return;
  view->originV = view->originH = 0;
  view->viewRect = viewRect;
  view->bounds = bounds;
  view->zoom = std::clamp(zoom, kOffViewMinZoom, kOffViewMaxZoom);
  const Rect drawn = CalcWindowDrawRect(view);
  const double k = Scale(view);
  view->relRect =
      Rect{0, 0, kvnum::sat_i16(RectHeight(drawn) / k), kvnum::sat_i16(RectWidth(drawn) / k)};
}

void CloseOffView(OffView* view)
{
  if (view != nullptr && view->world != nullptr)
    KillOffworld(&view->world);
}

Rect CalcWindowDrawRect(OffView* view)
{
  const double k = Scale(view);
  const Rect& vr = view->viewRect;
  const int32_t height = std::min(kvnum::sat_i32(RectHeight(view->bounds) * k), RectHeight(vr));
  const int32_t width = std::min(kvnum::sat_i32(RectWidth(view->bounds) * k), RectWidth(vr));
  view->drawTop = kvnum::sat_i16((int32_t(vr.top) + vr.bottom) / 2 - height / 2);
  view->drawLeft = kvnum::sat_i16((int32_t(vr.left) + vr.right) / 2 - width / 2);
  return Rect{view->drawTop, view->drawLeft, kvnum::sat_i16(double(view->drawTop) + height),
              kvnum::sat_i16(double(view->drawLeft) + width)};
}

Rect LimitDragRect(Rect r, Rect limit)
{
  LimitSpan(r.top, r.bottom, limit.top, limit.bottom);
  LimitSpan(r.left, r.right, limit.left, limit.right);
  return r;
}

void SetViewRelRect(OffView* view, Point p)
{
  view->relRect.top = p.v;
  view->relRect.left = p.h;
  UpdateRelRect(view);
}

void CenterViewRelRect(OffView* view, Point p)
{
  int32_t height = 0, width = 0;
  RelSize(view, &height, &width);
  Rect& rel = view->relRect;
  rel.top = kvnum::sat_i16(double(p.v) - height / 2);
  rel.left = kvnum::sat_i16(double(p.h) - width / 2);
  rel.bottom = kvnum::sat_i16(double(rel.top) + height);
  rel.right = kvnum::sat_i16(double(rel.left) + width);
  rel = LimitDragRect(rel, view->bounds);
}

void UpdateView(OffView* view, CGrafPtr port, Rect viewRect)
{
  TakeOrigin(view, port);
  view->viewRect = viewRect;
  UpdateRelRect(view);
}

void UpdateOffView(CGrafPtr port, OffView* view, Rect viewRect)
{
  if (view->world != nullptr)
    view->bounds = AtOrigin(view->world->pixels.bounds);
  UpdateView(view, port, viewRect);
}

void GetViewOrigin(OffView* view)
{
  CGrafPtr port = nullptr;
  GDHandle device = nullptr;
  GetGWorld(&port, &device);
  TakeOrigin(view, port);
}

Point OffWhere2ViewWhere(const OffView* view, Point p)
{
  const double k = Scale(view);
  return Point{MapOne(view->drawTop, p.v - view->relRect.top, k),
               MapOne(view->drawLeft, p.h - view->relRect.left, k)};
}

Point ViewWhere2OffWhere(const OffView* view, Point p)
{
  const double k = 1 / Scale(view);
  return Point{MapOne(view->relRect.top, p.v - view->drawTop, k),
               MapOne(view->relRect.left, p.h - view->drawLeft, k)};
}

Rect OffRect2ViewRect(const OffView* view, Rect r)
{
  const Point a = OffWhere2ViewWhere(view, Point{r.top, r.left});
  const Point b = OffWhere2ViewWhere(view, Point{r.bottom, r.right});
  return Rect{a.v, a.h, b.v, b.h};
}

Rect ViewRect2OffRect(const OffView* view, Rect r)
{
  const Point a = ViewWhere2OffWhere(view, Point{r.top, r.left});
  const Point b = ViewWhere2OffWhere(view, Point{r.bottom, r.right});
  return Rect{a.v, a.h, b.v, b.h};
}

Point GlobalWhere2OffWhere(const OffView* view, Point p)
{
  const int32_t v =
      (int32_t(p.v) - view->originV - view->drawTop) * kOffViewUnitZoom / ZoomOf(view);
  const int32_t h =
      (int32_t(p.h) - view->originH - view->drawLeft) * kOffViewUnitZoom / ZoomOf(view);
  return Point{kvnum::sat_i16(double(view->relRect.top) + v),
               kvnum::sat_i16(double(view->relRect.left) + h)};
}

Point OffWhere2GlobalWhere(const OffView* view, Point p)
{
  const int32_t v = (int32_t(p.v) - view->relRect.top) * ZoomOf(view) / kOffViewUnitZoom;
  const int32_t h = (int32_t(p.h) - view->relRect.left) * ZoomOf(view) / kOffViewUnitZoom;
  return Point{kvnum::sat_i16(double(view->originV) + v + view->drawTop),
               kvnum::sat_i16(double(view->originH) + h + view->drawLeft)};
}

namespace {

// The mouse in global coordinates: GetMouse answers in the current port's.
Point GlobalMouse()
{
  Point mouse;
  GetMouse(&mouse);
  CGrafPtr port = nullptr;
  GetGWorld(&port, nullptr);
  return LocalToGlobal(port, mouse);
}

Point RelCentre(const OffView* view)
{
  const Rect& r = view->relRect;
  return Point{int16_t((int32_t(r.top) + r.bottom) / 2), int16_t((int32_t(r.left) + r.right) / 2)};
}

// The visible part of the world drawn into the window at its place, flushed.
void DrawVisiblePart(CGrafPtr port, Offworld world, const OffView* view)
{
  CGContextRef ctx = QZ_OpenContext(port);
  if (!ctx)
    return;
  Rect sub = view->relRect;
  const Rect dest = OffRect2ViewRect(view, sub);
  QZ_CopyGWToContext(ctx, world, &sub, dest);
  QZ_CloseContext(ctx, port);
  QDFlushPortBuffer(port, dest);
}

}  // namespace

void GetMousefloatPosition(double out[2], const OffView* view)
{
  const Point mouse = GlobalMouse();
  const double perPixel = double(kOffViewUnitZoom) / ZoomOf(view);
  out[0] = view->relRect.left + (double(mouse.h) - view->originH - view->drawLeft) * perPixel;
  out[1] = view->relRect.top + (double(mouse.v) - view->originV - view->drawTop) * perPixel;
}

Point GetMousePosition(const OffView* view)
{
  double where[2];
  GetMousefloatPosition(where, view);
  return Point{kvnum::sat_i16(where[1]), kvnum::sat_i16(where[0])};
}

void DoHandMove(kvui::WindowRef window, Offworld world, OffView* view, bool follow)
{
  if (!view)
    return;
  CGrafPtr port = window ? GetWindowPort(window) : nullptr;
  Point start;
  GetMouse(&start);
  Point previous = start, mouse = start, centre = RelCentre(view);
  while (buttontrue(&mouse)) {
    if (mouse == previous)
      continue;
    const Rect before = view->relRect;
    if (follow) {
      const int32_t zoom = ZoomOf(view);
      const Point moved{
          kvnum::sat_i16(centre.v - (int32_t(mouse.v) - start.v) * kOffViewUnitZoom / zoom),
          kvnum::sat_i16(centre.h - (int32_t(mouse.h) - start.h) * kOffViewUnitZoom / zoom)};
      CenterViewRelRect(view, moved);
    } else {
      centre = Point{kvnum::sat_i16(int32_t(centre.v) - (mouse.v - previous.v)),
                     kvnum::sat_i16(int32_t(centre.h) - (mouse.h - previous.h))};
      CenterViewRelRect(view, centre);
    }
    previous = mouse;
    if (!(view->relRect == before) && port && world)
      DrawVisiblePart(port, world, view);
  }
}

void ZoomInView(CGrafPtr, OffView* view)
{
  ApplyZoom(view, int32_t(view->zoom) * 2, nullptr);
}

void ZoomOutView(CGrafPtr, OffView* view)
{
  ApplyZoom(view, view->zoom / 2, nullptr);
}

void SetViewZoomLevel(CGrafPtr, OffView* view, int16_t zoom, Point p)
{
  ApplyZoom(view, zoom, &p);
}

void DrawOffViewGrayRgn(OffView*) {}
void MouseOffView(OffView*) {}
void DoScrollOffView(OffView*) {}
void PasteOffView(OffView*) {}
