// The base of everything that owns a drawing surface: document windows,
// dialogs and pop-ups. It holds the window, its port and the context on
// the port (flipped: y grows downwards from the port's top-left), the
// command callback, the UI images, the colours and text look of the
// drawing helpers, and small mouse-tracking and status-text services.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/quartz.h"
#include "platform/ui.h"
#include "ui/qztext.h"

struct GrafPort;
class Edoc;

// Receives the commands of the window's items, menus and keys; 0 handled,
// kEventNotHandled (-9874) not handled.
using EdocCommandProc = int16_t (*)(Edoc* doc, int32_t command, void* data);

inline constexpr int16_t kEdocNotHandled = -9874;

class Edoc
{
public:
  Edoc();
  virtual ~Edoc();
  Edoc(const Edoc&) = delete;
  Edoc& operator=(const Edoc&) = delete;

  virtual void CallbackDraw() {}
  virtual void Refresh() {}

  // Flushes the context first when asked; one tracking step on the current
  // port: true while the button is held; *where gets the mouse point.
  bool ButtonTrue(Point* where, bool flushFirst);
  // Draws (CallbackDraw), flushes and tracks once on this object's port:
  // true until the release.
  bool PortButtonCallBack(Point* where);
  // The content's top-left in the window's own coordinates: the window
  // layer's content is the port itself, so the offset is 0.
  void findQDtoHipointOffset();
  // Fades the port towards grey (level, level, level): fills at alpha 0.18,
  // two, then five times a flush and a fill, then a last flush.
  void FadeUI(uint8_t level);
  // The status band: fills (left + 2, bottom - 26, width - 4, 26) in the
  // background colour (its flag byte as alpha), draws the text in the
  // bottom 26 pixels with look {16, 1, 0, 1} and flushes.
  void TextDisplay(ConstStringPtr text, normalcolor background, normalcolor textColor);
  // Strokes the rectangle with a dash 4 on, 4 off in red 0, green 1,
  // blue 0.75.
  void DrawSelectionRect(Rect r);
  // Rubber bands while the button is held, drawn twice in difference mode
  // (shown, flushed, erased) at each new point. The rectangle version gives
  // the rectangle from start to the release, ordered, and false when it is
  // under 3 pixels both ways; the line version the two end points, the
  // smaller horizontal first, as a rectangle.
  bool CreateWindowRect(Rect* out, Point start, const Rect* clip);
  bool CreateWindowLine(Rect* out, Point start, const Rect* clip);

  // Opens the context on the port (again, after the port's pixels moved).
  void OpenContext();
  // Shows the port rectangle on the screen.
  void FlushContext();
  // Re-reads the port rectangle from the window; true when the pixels
  // moved, after which the context has been opened again.
  bool RefreshPortRect();

  kvui::WindowRef window = nullptr;
  GrafPort* port = nullptr;
  CGContextRef context = nullptr;
  EdocCommandProc callback = nullptr;
  CGImageRef* uiImages = nullptr;   // the application's 16 list images
  float contentOffset[2] = {0, 0};  // x, y
  Rect portRect;
  float textColor[4];        // alpha, red, green, blue
  float backgroundColor[4];  // alpha, red, green, blue
  textLook look{10, 1, 0, 0};

protected:
  // Ends the context and the port (the window stays).
  void ClosePort();

private:
  bool TrackBand(Rect* out, Point start, const Rect* clip, bool line);
};
