#include "ui/uipopupwindow.h"

#include <algorithm>

#include "foundation/appshell.h"
#include "imaging/qzbitmaps.h"
#include "imaging/windowplacement.h"
#include "imaging/windowport.h"
#include "ui/qzdraw.h"
#include "ui/uipictures.h"

namespace {

constexpr Rect kCreationBounds{50, 50, 150, 150};
constexpr int16_t kDropBelowPoint = 2;
constexpr int16_t kBelowMenuStrip = 36;

// A click in the content only beeps; activation is taken and ignored.
int32_t beepOnClick(kvui::WindowRef, const kvui::Event& event, void*)
{
  switch (event.what) {
    case kvui::mouseDown:
      PlayAlertSound();
      return 0;
    case kvui::activateEvt:
      return 0;
    default:
      return kvui::kEventNotHandled;
  }
}

// The top-left of a width x height window placed at the point: 2 pixels
// below it, moved left or up so as not to cross the right or bottom edge of
// the screen holding the point, never above or left of that screen's
// origin.
Point placeAtPoint(Point where, int32_t width, int32_t height)
{
  int32_t left = where.h, top = where.v + kDropBelowPoint;
  if (GDHandle screen = FWhichDevice(where)) {
    const Rect& s = screen->gdRect;
    left = std::max<int32_t>(std::min<int32_t>(left, s.right - width), s.left);
    top = std::max<int32_t>(std::min<int32_t>(top, s.bottom - height), s.top);
  }
  return Point{int16_t(std::clamp<int32_t>(top, INT16_MIN, INT16_MAX)),
               int16_t(std::clamp<int32_t>(left, INT16_MIN, INT16_MAX))};
}

Point centredOnMain(int32_t width, int32_t height)
{
  GDHandle main = GetMainDevice();
  if (!main)
    return Point{0, 0};
  const Rect& s = main->gdRect;
  return Point{int16_t(s.top + (RectHeight(s) - height) / 2),
               int16_t(s.left + (RectWidth(s) - width) / 2)};
}

}  // namespace

IBPopUpdlog::IBPopUpdlog(int16_t cls, normalcolor bg) : windowClass(cls), background(bg)
{
  window = kvui::newWindow(kvui::WindowKind::borderless, RectToUI(kCreationBounds), "");
  if (!window)
    return;
  SetEditorContentColor(window, background);
  port = NewWindowPort(window);
  if (port)
    portRect = port->portRect;
}

IBPopUpdlog::~IBPopUpdlog()
{
  ClosePort();
  if (window)
    kvui::disposeWindow(window);
  window = nullptr;
}

void IBPopUpdlog::FinishShow(bool frame)
{
  kvui::showWindow(window);
  RefreshPortRect();
  if (!context)
    OpenContext();
  if (!context)
    return;
  const normalcolor& c = background;
  QZ_ContextSetRGBFillColor(context, c.red / 255.0, c.green / 255.0, c.blue / 255.0, 1);
  QZ_ContextFillRect(context, QZ_RectFromRect(portRect));
  if (frame) {
    constexpr double grey = kPopUpOutlineGrey / 255.0;
    QZ_ContextSaveGState(context);
    QZ_ContextSetShouldAntialias(context, false);
    QZ_ContextSetRGBStrokeColor(context, grey, grey, grey, 1);
    QZ_ContextSetLineWidth(context, 1);
    QZ_ContextStrokeRect(context, QZRect{portRect.left + 0.5, portRect.top + 0.5,
                                         RectWidth(portRect) - 1.0, RectHeight(portRect) - 1.0});
    QZ_ContextRestoreGState(context);
  }
  FlushContext();
}

void IBPopUpdlog::SetWindowShow(const Point* where, int16_t width, int16_t height, bool frame)
{
  if (!window)
    return;
  const int32_t w = std::max<int32_t>(width, 1), h = std::max<int32_t>(height, 1);
  const Point topLeft = where ? placeAtPoint(*where, w, h) : centredOnMain(w, h);
  kvui::sizeWindow(window, w, h);
  kvui::moveWindow(window, topLeft.h, topLeft.v);
  FinishShow(frame);
}

void IBPopUpdlog::ShowOver(const Rect& global, bool frame)
{
  if (!window)
    return;
  kvui::sizeWindow(window, std::max<int32_t>(RectWidth(global), 1),
                   std::max<int32_t>(RectHeight(global), 1));
  kvui::moveWindow(window, global.left, global.top);
  FinishShow(frame);
}

bool IBPopUpdlog::SetWindowPictSize(int16_t id, Point where, int16_t dh, int16_t dv, int16_t extra,
                                    bool image)
{
  CGImageRef picture = QZ_LoadUIImage(id);
  if (!picture)
    return false;
  const int32_t width = QZ_ImageGetWidth(picture) + dh;
  const int32_t height = QZ_ImageGetHeight(picture) + dv + extra;
  SetWindowShow(&where, int16_t(std::clamp<int32_t>(width, 1, INT16_MAX)),
                int16_t(std::clamp<int32_t>(height, 1, INT16_MAX)), false);
  if (image && context) {
    QZdraw_image(context, 0, 0, picture, nullptr);
    FlushContext();
  }
  QZ_ImageRelease(picture);
  return true;
}

void IBPopUpdlog::CallbackColorPaint(Edoc* target, const Rect* r, normalcolor color)
{
  Edoc* into = target ? target : this;
  if (!into->context || !r)
    return;
  QZ_ContextSetRGBFillColor(into->context, color.red / 255.0, color.green / 255.0,
                            color.blue / 255.0, 1);
  QZ_ContextFillRect(into->context, QZ_RectFromRect(*r));
}

void IBPopUpdlog::InstallTDHandler()
{
  if (window)
    kvui::setEventHandler(window, beepOnClick, this);
}

IBPopUpdlog* OpenTempWindow(int16_t windowClass, Rect* inOut, int16_t placement, bool frame)
{
  auto* popUp = new IBPopUpdlog(windowClass, normalcolor{255, 0, 0, 0});
  if (!popUp->window) {
    delete popUp;
    return nullptr;
  }
  GDHandle main = GetMainDevice();
  const Rect screen = main ? main->gdRect : Rect{0, 0, 480, 640};
  switch (placement) {
    case 1:
      popUp->ShowOver(screen, frame);
      break;
    case 2:
      popUp->ShowOver(
          Rect{int16_t(screen.top + kBelowMenuStrip), screen.left, screen.bottom, screen.right},
          frame);
      break;
    default: {
      const Rect size = inOut ? *inOut : Rect{0, 0, 100, 100};
      popUp->SetWindowShow(nullptr, RectWidth(size), RectHeight(size), frame);
      break;
    }
  }
  if (inOut)
    *inOut = popUp->portRect;
  return popUp;
}
