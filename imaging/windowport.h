// Window ports: drawing ports over a window's backing surface (32-bit
// premultiplied pixels in cairo's order, 'BGRA', so QZ_OpenContext draws in
// place). The port's rectangle is the window's content from (0, 0), its
// global origin the content's top-left on the screen, and flushing the port
// shows the rectangle on the screen. When the window is moved or resized,
// SyncWindowPort brings the port up to date.
//
// Main thread only.
#pragma once

#include "imaging/ports.h"
#include "platform/ui.h"

// A port for the window; null for a null window or one without pixels.
CGrafPtr NewWindowPort(kvui::WindowRef window);
// Disposes the port (not the window); the current port is cleared when it
// was this one.
void DisposeWindowPort(CGrafPtr port);
// Re-reads the window's surface and place. True when the pixels moved
// (resized window): contexts opened on the port must be opened again.
bool SyncWindowPort(CGrafPtr port);
// The window of a window port, and the window port of a window (null when
// none).
kvui::WindowRef GetWindowFromPort(CGrafPtr port);
CGrafPtr GetWindowPort(kvui::WindowRef window);

// Conversions between the window layer's rectangles and points and the
// program's 16-bit ones (values held to the 16-bit range).
Rect RectFromUI(const kvui::Rect& r);
kvui::Rect RectToUI(const Rect& r);
Point PointFromUI(const kvui::Point& p);
kvui::Point PointToUI(Point p);
