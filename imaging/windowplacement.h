// Screens and window placement: which screen holds a point, the menu-bar
// strip, fitting a rectangle onto a screen, centring, full-screen bounds and
// the window's content colour. Windows are the window layer's; a window's
// port is its window port (imaging/windowport.h).
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/ports.h"
#include "platform/ui.h"

// A screen: its global rectangle and depth. Devices are re-read from the
// window layer at each lookup; a GDHandle stays valid until the next one.
struct GDevice
{
  Rect gdRect;
  int16_t pixelSize = 32;
};

// The main screen; null when the window layer shows no screen.
GDHandle GetMainDevice();
// The first screen whose rectangle holds the global point (left <= h <
// right, top <= v < bottom), else the main screen.
GDHandle FWhichDevice(Point global);
// The main screen's rectangle with its bottom at top + height.
Rect GetMBarRect(int16_t height);
// True when the rectangles overlap or touch.
bool Rect_Intersect(const Rect& a, const Rect& b);
// Top-left corner converted with the current port's origin, size kept.
void LocalRectToGlobalRect(Rect* r);
void GlobalRectToLocalRect(Rect* r);
// Moves the rectangle (corners topLeft and bottomRight) onto its screen:
// the top at least the screen's top + 35 on the main screen (room for the
// menu bar), + 12 on another, else moved up by what passes the bottom; the
// left at least the screen's left, else moved left by what passes the
// right. The size never changes. With global 0 the corners are local to the
// current port (converted there and back).
void FitRectInDevice(Point* topLeft, Point* bottomRight, int16_t global);
// The source's size, halved when wider than the destination and halved
// again when still wider, centred in the destination.
void FitCenterInWindow(const Rect& source, const Rect& dest, Rect* out);
// Makes the window's port current and centres the window on the main
// screen.
void Center32Window(kvui::WindowRef window);
// Centres and shows the window; a cursor other than the arrow is saved in
// gLastCursorID and the arrow set.
void Begin32Dialog(kvui::WindowRef window);
// The rect becomes the largest screen (below the menu bar on the main
// screen); the window is hidden, moved and sized to it, and shown.
void SetWindowFullScreen(kvui::WindowRef window, Rect* out);
// Fits the global rect onto its screen and moves and sizes the window to it.
void SetEditorSize(kvui::WindowRef window, Rect r);
// The window's content colour from bytes 1 to 3 (red, green, blue).
void SetEditorContentColor(kvui::WindowRef window, normalcolor color);
// The fixed dialog position: v 128, h 118.
void SetDTopLeft(Point* where);

// Height of the main screen's menu bar strip.
inline constexpr int16_t kMenuBarHeight = 22;
