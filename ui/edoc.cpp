#include "ui/edoc.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/cursorkeys.h"
#include "imaging/qzbitmaps.h"
#include "imaging/windowport.h"
#include "ui/uilib.h"

namespace {

QZRect fullRect(const Rect& r)
{
  return QZ_RectFromRect(r);
}

}  // namespace

Edoc::Edoc()
    : uiImages(gUILib.images),
      textColor{1, 136.0f / 255, 136.0f / 255, 136.0f / 255},
      backgroundColor{1, 0, 0, 0}
{}

Edoc::~Edoc()
{
  ClosePort();
}

void Edoc::ClosePort()
{
  if (context) {
    QZ_CloseContext(context, port);
    context = nullptr;
  }
  if (port) {
    DisposeWindowPort(port);
    port = nullptr;
  }
}

void Edoc::OpenContext()
{
  if (context)
    QZ_CloseContext(context, port);
  context = port ? QZ_OpenContext(port) : nullptr;
}

void Edoc::FlushContext()
{
  if (!context)
    return;
  QZ_ContextFlush(context);
  QDFlushPortBuffer(port, portRect);
}

bool Edoc::RefreshPortRect()
{
  if (!port)
    return false;
  bool moved = SyncWindowPort(port);
  portRect = port->portRect;
  if (moved && context)
    OpenContext();
  return moved;
}

bool Edoc::ButtonTrue(Point* where, bool flushFirst)
{
  if (context && flushFirst)
    FlushContext();
  return buttontrue(where);
}

bool Edoc::PortButtonCallBack(Point* where)
{
  CallbackDraw();
  FlushContext();
  CGrafPtr saved = nullptr;
  GDHandle device = nullptr;
  GetGWorld(&saved, &device);
  SetGWorld(port, nullptr);
  bool held = buttontrue(where);
  SetGWorld(saved, device);
  return held;
}

void Edoc::findQDtoHipointOffset()
{
  contentOffset[0] = 0;
  contentOffset[1] = 0;
}

void Edoc::FadeUI(uint8_t level)
{
  if (!context)
    return;
  double grey = level / 255.0;
  auto fill = [&] {
    QZ_ContextSetRGBFillColor(context, grey, grey, grey, 0.18);
    QZ_ContextFillRect(context, fullRect(portRect));
  };
  fill();
  fill();
  for (int i = 0; i < 5; ++i) {
    FlushContext();
    fill();
  }
  FlushContext();
}

void Edoc::TextDisplay(ConstStringPtr text, normalcolor background, normalcolor color)
{
  if (!context)
    return;
  const Rect& r = portRect;
  QZ_ContextSetRGBFillColor(context, background.red / 255.0, background.green / 255.0,
                            background.blue / 255.0, background.flag / 255.0);
  QZ_ContextFillRect(
      context, QZRect{double(r.left) + 2, double(r.bottom) - 26, double(RectWidth(r)) - 4, 26});
  textLook statusLook{16, 1, 0, 1};
  Rect band{int16_t(r.bottom - 26), r.left, r.bottom, r.right};
  QZ_drawString(context, &statusLook, text, band, 1, color.red / 255.0f, color.green / 255.0f,
                color.blue / 255.0f);
  FlushContext();
}

void Edoc::DrawSelectionRect(Rect r)
{
  if (!context)
    return;
  static constexpr double kDash[2] = {4, 4};
  QZ_ContextSaveGState(context);
  QZ_ContextSetLineDash(context, 0, kDash, 2);
  QZ_ContextSetRGBStrokeColor(context, 0, 1, 0.75, 1);
  QZ_ContextStrokeRect(
      context, QZRect{double(r.left), r.top + 0.5, RectWidth(r) - 0.5, RectHeight(r) - 0.5});
  QZ_ContextRestoreGState(context);
}

bool Edoc::TrackBand(Rect* out, Point start, const Rect* clip, bool line)
{
  if (!context)
    return false;
  QZ_ContextSaveGState(context);
  QZ_ContextSetShouldAntialias(context, false);
  QZ_ContextSetBlendMode(context, 10);  // difference: drawn twice, it is gone
  if (clip)
    QZ_ContextClipToRect(context, fullRect(*clip));
  auto bandOf = [&](Point p) {
    return Rect{std::min(start.v, p.v), std::min(start.h, p.h), std::max(start.v, p.v),
                std::max(start.h, p.h)};
  };
  auto draw = [&](Point p) {
    if (!line) {
      DrawSelectionRect(bandOf(p));
      return;
    }
    QZ_ContextSetRGBStrokeColor(context, 0, 1, 0.75, 1);
    QZ_ContextSetLineWidth(context, 1);
    QZ_ContextBeginPath(context);
    QZ_ContextMoveToPoint(context, start.h, start.v);
    QZ_ContextAddLineToPoint(context, p.h, p.v);
    QZ_ContextStrokePath(context);
  };
  CGrafPtr saved = nullptr;
  GDHandle device = nullptr;
  GetGWorld(&saved, &device);
  SetGWorld(port, nullptr);
  Point p = start, last = start;
  bool first = true;
  while (buttontrue(&p)) {
    if (!first && p == last)
      continue;
    first = false;
    last = p;
    draw(p);
    FlushContext();
    draw(p);
  }
  SetGWorld(saved, device);
  QZ_ContextRestoreGState(context);
  FlushContext();
  if (line) {
    Point a = start, b = p;
    if (b.h < a.h)
      std::swap(a, b);
    *out = Rect{a.v, a.h, b.v, b.h};
    return true;
  }
  *out = bandOf(p);
  return !(RectWidth(*out) < 3 && RectHeight(*out) < 3);
}

bool Edoc::CreateWindowRect(Rect* out, Point start, const Rect* clip)
{
  return TrackBand(out, start, clip, false);
}

bool Edoc::CreateWindowLine(Rect* out, Point start, const Rect* clip)
{
  return TrackBand(out, start, clip, true);
}
