// The off-screen view: a large off-screen picture (an Offworld) shown
// through a rectangle of a window at a zoom, with the mappings between
// off-screen pixels, window coordinates and global screen coordinates.
//
// The zoom counts in 24ths: k = zoom / 24 is the number of window pixels per
// off-screen pixel (24 shows pixels 1:1, 48 doubles, 12 halves). Valid zooms
// are kOffViewMinZoom to kOffViewMaxZoom. An off-screen point (v, h) is drawn
// at window point (drawTop + (v - relRect.top) x k, drawLeft +
// (h - relRect.left) x k). Every result is truncated toward zero and stored
// through the saturating 16-bit conversion.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/offworld.h"
#include "imaging/ports.h"
#include "platform/ui.h"

inline constexpr int16_t kOffViewMinZoom = 3;
inline constexpr int16_t kOffViewMaxZoom = 3071;
inline constexpr int16_t kOffViewUnitZoom = 24;

struct OffView
{
  Offworld world = nullptr;  // the picture (null when none)
  int16_t originV = 0;       // global position of the window's local origin
  int16_t originH = 0;
  Rect viewRect;  // the window's part given to the view (window coordinates)
  Rect relRect;   // the visible part of the picture (off-screen coordinates)
  Rect bounds;    // the picture's bounds, from (0, 0)
  int16_t zoom = kOffViewUnitZoom;
  int16_t drawTop = 0;  // window position of the drawn picture's top-left
  int16_t drawLeft = 0;
};

// --- Making and closing

// Creates and clears a world of the view's bounds (320 x 320 when empty) at
// the depth, and shows it 1:1 centred in viewRect; the origin is taken from
// the port. On failure the alert sounds, world is null and false returned.
bool NewOffView(CGrafPtr port, OffView* view, Rect viewRect, int16_t depth);
// Sets up the view over bounds at the zoom (taken as the nearest valid zoom
// when outside the valid range), centred in viewRect; relRect from (0, 0).
void InitView(OffView* view, Rect viewRect, Rect bounds, int16_t zoom);
void CloseOffView(OffView* view);

// --- Geometry

// The rectangle the picture takes in the window at the current zoom, cut to
// viewRect and centred in it; drawTop and drawLeft are stored.
Rect CalcWindowDrawRect(OffView* view);
// r moved (not resized) to lie inside limit on each axis; on an axis where r
// is as large as limit or larger it takes limit's span.
Rect LimitDragRect(Rect r, Rect limit);
// relRect's top-left becomes p, its size the view's at the zoom, limited to
// the bounds.
void SetViewRelRect(OffView* view, Point p);
// relRect centred on picture point p, limited to the bounds.
void CenterViewRelRect(OffView* view, Point p);
// The origin taken again from the port, viewRect replaced, relRect updated.
void UpdateView(OffView* view, CGrafPtr port, Rect viewRect);
// As UpdateView, with bounds first taken again from the world's pixels.
void UpdateOffView(CGrafPtr port, OffView* view, Rect viewRect);
// The origin taken again from the current port.
void GetViewOrigin(OffView* view);

// --- Mappings

Point OffWhere2ViewWhere(const OffView* view, Point p);
Point ViewWhere2OffWhere(const OffView* view, Point p);
Rect OffRect2ViewRect(const OffView* view, Rect r);
Rect ViewRect2OffRect(const OffView* view, Rect r);
Point GlobalWhere2OffWhere(const OffView* view, Point p);
Point OffWhere2GlobalWhere(const OffView* view, Point p);

// --- The mouse

// The picture point under the mouse: the mouse in global coordinates (from
// the current port's), less the origin and the draw position, at the zoom;
// truncated toward zero.
Point GetMousePosition(const OffView* view);
// The same without truncation: out[0] = h, out[1] = v.
void GetMousefloatPosition(double out[2], const OffView* view);
// Scrolls with the hand while the mouse button is held; returns on release.
// With follow the picture follows the mouse at every zoom (the centre moves
// by the mouse's movement from the start, at the zoom); without, the centre
// moves by each mouse step, unscaled. Each change of the visible part draws
// it from world into the window's draw rectangle and flushes it.
void DoHandMove(kvui::WindowRef window, Offworld world, OffView* view, bool follow);

// --- Zoom (a new zoom outside the valid range changes nothing)

// Doubles the zoom, keeping the centre of the visible part.
void ZoomInView(CGrafPtr port, OffView* view);
// Halves the zoom, keeping the centre of the visible part.
void ZoomOutView(CGrafPtr port, OffView* view);
// Sets the zoom and centres the visible part on picture point p.
void SetViewZoomLevel(CGrafPtr port, OffView* view, int16_t zoom, Point p);

// --- Operations the view offers that do nothing

void DrawOffViewGrayRgn(OffView* view);
void MouseOffView(OffView* view);
void DoScrollOffView(OffView* view);
void PasteOffView(OffView* view);
