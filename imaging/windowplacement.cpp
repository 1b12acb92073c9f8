#include "imaging/windowplacement.h"

#include <algorithm>
#include <vector>

#include "imaging/cursorkeys.h"
#include "imaging/windowport.h"

namespace {

std::vector<GDevice>& devices()
{
  static std::vector<GDevice> list;
  list.clear();
  for (const kvui::Screen& s : kvui::screens())
    list.push_back(GDevice{RectFromUI(s.bounds), s.depth});
  return list;
}

Point currentOrigin()
{
  CGrafPtr port = nullptr;
  GetGWorld(&port, nullptr);
  return port ? port->globalOrigin : Point{};
}

bool holds(const Rect& r, Point p)
{
  return r.left <= p.h && p.h < r.right && r.top <= p.v && p.v < r.bottom;
}

}  // namespace

GDHandle GetMainDevice()
{
  auto& list = devices();
  return list.empty() ? nullptr : &list[0];
}

GDHandle FWhichDevice(Point global)
{
  auto& list = devices();
  for (GDevice& d : list)
    if (holds(d.gdRect, global))
      return &d;
  return list.empty() ? nullptr : &list[0];
}

Rect GetMBarRect(int16_t height)
{
  GDHandle main = GetMainDevice();
  Rect r = main ? main->gdRect : Rect{};
  r.bottom = int16_t(r.top + height);
  return r;
}

bool Rect_Intersect(const Rect& a, const Rect& b)
{
  return std::max(a.left, b.left) <= std::min(a.right, b.right) &&
         std::max(a.top, b.top) <= std::min(a.bottom, b.bottom);
}

void LocalRectToGlobalRect(Rect* r)
{
  Point o = currentOrigin();
  *r = OffsetRect(*r, o.h, o.v);
}

void GlobalRectToLocalRect(Rect* r)
{
  Point o = currentOrigin();
  *r = OffsetRect(*r, -o.h, -o.v);
}

void FitRectInDevice(Point* topLeft, Point* bottomRight, int16_t global)
{
  Rect r{topLeft->v, topLeft->h, bottomRight->v, bottomRight->h};
  if (global == 0)
    LocalRectToGlobalRect(&r);
  GDHandle main = GetMainDevice();
  GDHandle screen = FWhichDevice(Point{r.top, r.left});
  if (screen) {
    const Rect& s = screen->gdRect;
    int32_t minTop = s.top + (screen == main ? 35 : 12);
    int32_t dv = 0, dh = 0;
    if (r.top < minTop)
      dv = minTop - r.top;
    else if (r.bottom > s.bottom)
      dv = s.bottom - r.bottom;
    if (r.left < s.left)
      dh = s.left - r.left;
    else if (r.right > s.right)
      dh = s.right - r.right;
    r = OffsetRect(r, dh, dv);
  }
  if (global == 0)
    GlobalRectToLocalRect(&r);
  *topLeft = Point{r.top, r.left};
  *bottomRight = Point{r.bottom, r.right};
}

void FitCenterInWindow(const Rect& source, const Rect& dest, Rect* out)
{
  int32_t w = RectWidth(source), h = RectHeight(source);
  int32_t dw = RectWidth(dest), dh = RectHeight(dest);
  for (int i = 0; i < 2 && w > dw; ++i) {
    w /= 2;
    h /= 2;
  }
  int32_t left = dest.left + (dw - w) / 2, top = dest.top + (dh - h) / 2;
  *out = Rect{int16_t(top), int16_t(left), int16_t(top + h), int16_t(left + w)};
}

void Center32Window(kvui::WindowRef window)
{
  if (CGrafPtr port = GetWindowPort(window))
    SetGWorld(port, nullptr);
  GDHandle main = GetMainDevice();
  if (!window || !main)
    return;
  kvui::Rect c = kvui::windowContent(window);
  int32_t w = c.right - c.left, h = c.bottom - c.top;
  const Rect& s = main->gdRect;
  kvui::moveWindow(window, s.left + (RectWidth(s) - w) / 2, s.top + (RectHeight(s) - h) / 2);
}

void Begin32Dialog(kvui::WindowRef window)
{
  Center32Window(window);
  kvui::showWindow(window);
  if (gCursorID != 0) {
    gLastCursorID = gCursorID;
    kvui::setCursor(kvui::kCursorArrow);
    gCursorID = 0;
  }
}

void SetWindowFullScreen(kvui::WindowRef window, Rect* out)
{
  auto& list = devices();
  if (list.empty())
    return;
  size_t best = 0;
  int64_t bestArea = -1;
  for (size_t i = 0; i < list.size(); ++i) {
    int64_t area = int64_t(RectWidth(list[i].gdRect)) * RectHeight(list[i].gdRect);
    if (area > bestArea) {
      bestArea = area;
      best = i;
    }
  }
  Rect r = list[best].gdRect;
  if (best == 0)
    r.top = int16_t(r.top + kMenuBarHeight);
  if (out)
    *out = r;
  kvui::hideWindow(window);
  kvui::moveWindow(window, r.left, r.top);
  kvui::sizeWindow(window, RectWidth(r), RectHeight(r));
  kvui::showWindow(window);
}

void SetEditorSize(kvui::WindowRef window, Rect r)
{
  Point topLeft{r.top, r.left}, bottomRight{r.bottom, r.right};
  FitRectInDevice(&topLeft, &bottomRight, 1);
  kvui::sizeWindow(window, bottomRight.h - topLeft.h, bottomRight.v - topLeft.v);
  kvui::moveWindow(window, topLeft.h, topLeft.v);
  if (CGrafPtr port = GetWindowPort(window)) {
    SyncWindowPort(port);
    port->clipRect = port->portRect;
  }
}

void SetEditorContentColor(kvui::WindowRef window, normalcolor color)
{
  kvui::setContentColor(window, color.red, color.green, color.blue);
}

void SetDTopLeft(Point* where)
{
  *where = Point{128, 118};
}
