// The borderless pop-up window: a plain window with a background colour and
// no frame, shown at a point for pop-up grids and colour charts, or over a
// screen for full-screen pictures. It is an Edoc, so item sets and drawing
// helpers draw into it as into any window while it is up.
//
// Points and rectangles given for placement are global (screen)
// coordinates; drawing uses the window's own (0, 0 at its content's
// top-left).
//
// Tracking in a pop-up goes on from the click that opened it: the press
// belongs to the window that was clicked, so the pointer is read in global
// coordinates and converted to the pop-up's with its port current
// (buttontrue, GetMouse).
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "ui/edoc.h"

// The window class pop-up grids and charts are made with.
inline constexpr int16_t kPopUpWindowClass = 10;
// The grey of a pop-up's outline (17/255).
inline constexpr uint8_t kPopUpOutlineGrey = 17;

class IBPopUpdlog : public Edoc
{
public:
  // A hidden borderless window of the class at (50, 50, 150, 150) with the
  // background as its content colour. `window` stays null when it cannot be
  // made.
  IBPopUpdlog(int16_t windowClass, normalcolor background);
  ~IBPopUpdlog() override;

  // Sizes the content to width x height and shows it. With a point the
  // window's top-left goes 2 pixels below it, kept on the screen that holds
  // the point (moved left or up when it would cross the right or bottom
  // edge, never above or left of the screen's origin); without one it is
  // centred on the main screen. The context is opened; with `frame` the
  // window's outline is stroked in grey 17/255 and flushed.
  void SetWindowShow(const Point* where, int16_t width, int16_t height, bool frame);
  // Sizes the window to UI image `id` ("rim" + id, else the picture
  // resource) plus dh to the right and dv + extra below, shown at the point
  // as SetWindowShow places it; with `image` the picture is drawn at the
  // top-left. False (nothing shown) when there is no such picture.
  bool SetWindowPictSize(int16_t id, Point where, int16_t dh, int16_t dv, int16_t extra,
                         bool image);
  // Fills r with the colour in the target's context (null: this window's);
  // nothing where there is no context.
  void CallbackColorPaint(Edoc* target, const Rect* r, normalcolor color);
  // Takes the window's events: a click in the content only beeps, an
  // activation is taken and ignored.
  void InstallTDHandler();
  // Shows the window over the global rectangle (no 2-pixel drop, not
  // moved onto a screen); with `frame` outlined as SetWindowShow does.
  void ShowOver(const Rect& global, bool frame);

  int16_t windowClass = kPopUpWindowClass;
  normalcolor background;

private:
  void FinishShow(bool frame);
};

// A pop-up with a black background, shown: placement 1 covers the main
// screen, 2 the main screen from 36 pixels below its top, any other the
// size of *inOut centred on the main screen. *inOut receives the port
// rectangle. The caller deletes the window; null when it cannot be made.
IBPopUpdlog* OpenTempWindow(int16_t windowClass, Rect* inOut, int16_t placement, bool frame);
