#include "imaging/windowport.h"

#include <algorithm>
#include <vector>

namespace {

struct WindowPort : GrafPort
{
  PixMap pixels;
  kvui::WindowRef window = nullptr;
  uint32_t generation = 0;
};

// The live window ports, so that a window finds its port.
std::vector<WindowPort*>& livePorts()
{
  static std::vector<WindowPort*> ports;
  return ports;
}

WindowPort* asWindowPort(CGrafPtr port)
{
  auto& live = livePorts();
  auto it = std::find(live.begin(), live.end(), static_cast<WindowPort*>(port));
  return it == live.end() ? nullptr : *it;
}

void flushWindowPort(CGrafPtr port, const Rect& rect, void*)
{
  if (WindowPort* wp = asWindowPort(port))
    kvui::flush(wp->window, RectToUI(rect));
}

int16_t clamp16(int32_t v)
{
  return int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

// Takes the window's surface and place into the port.
void readWindow(WindowPort* wp)
{
  kvui::Surface s = kvui::windowSurface(wp->window);
  kvui::Rect content = kvui::windowContent(wp->window);
  Rect bounds{0, 0, clamp16(s.height), clamp16(s.width)};
  wp->pixels.baseAddr = s.pixels;
  wp->pixels.rowBytes = s.rowBytes;
  wp->pixels.bounds = bounds;
  wp->pixels.pixelSize = 32;
  wp->pixels.pixelFormat = kPixelFormatBGRA;
  wp->portRect = bounds;
  wp->clipRect = bounds;
  wp->globalOrigin = Point{clamp16(content.top), clamp16(content.left)};
  wp->generation = s.generation;
}

}  // namespace

Rect RectFromUI(const kvui::Rect& r)
{
  return Rect{clamp16(r.top), clamp16(r.left), clamp16(r.bottom), clamp16(r.right)};
}

kvui::Rect RectToUI(const Rect& r)
{
  return kvui::Rect{r.top, r.left, r.bottom, r.right};
}

Point PointFromUI(const kvui::Point& p)
{
  return Point{clamp16(p.v), clamp16(p.h)};
}

kvui::Point PointToUI(Point p)
{
  return kvui::Point{p.v, p.h};
}

CGrafPtr NewWindowPort(kvui::WindowRef window)
{
  if (!window || !kvui::windowSurface(window).pixels)
    return nullptr;
  auto* wp = new WindowPort;
  wp->window = window;
  wp->portPixMap = &wp->pixels;
  wp->flushProc = flushWindowPort;
  readWindow(wp);
  livePorts().push_back(wp);
  return wp;
}

void DisposeWindowPort(CGrafPtr port)
{
  WindowPort* wp = asWindowPort(port);
  if (!wp)
    return;
  CGrafPtr current = nullptr;
  GetGWorld(&current, nullptr);
  if (current == port)
    SetGWorld(nullptr, nullptr);
  std::erase(livePorts(), wp);
  delete wp;
}

bool SyncWindowPort(CGrafPtr port)
{
  WindowPort* wp = asWindowPort(port);
  if (!wp)
    return false;
  uint8_t* before = wp->pixels.baseAddr;
  uint32_t generation = wp->generation;
  readWindow(wp);
  return wp->generation != generation || wp->pixels.baseAddr != before;
}

kvui::WindowRef GetWindowFromPort(CGrafPtr port)
{
  WindowPort* wp = asWindowPort(port);
  return wp ? wp->window : nullptr;
}

CGrafPtr GetWindowPort(kvui::WindowRef window)
{
  for (WindowPort* wp : livePorts())
    if (wp->window == window && window)
      return wp;
  return nullptr;
}
