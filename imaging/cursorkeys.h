// The cursor, the mouse and the keys as the drawing code sees them: points
// in the current port's coordinates, the cursor by id, tracking steps and
// the key map by old virtual key code.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"

// The cursor last set through DChangeCursor and the one before it.
extern int16_t gCursorID;
extern int16_t gLastCursorID;

// Nothing when id is gCursorID. Otherwise gLastCursorID takes the old id,
// id 0 sets the arrow and another id the cursor of that id when there is
// one (a missing one keeps the shape); gCursorID becomes id either way.
void DChangeCursor(int16_t id);

// The mouse in the current port's coordinates (global when there is none).
void GetMouse(Point* where);
// True when the mouse button is up.
bool ButtonFalse();
// Waits until the button goes down (at once when no more input can come,
// as with a spent test script).
void WaitForButton();
// One tracking step: true unless the button went up; *where (when given)
// gets the tracked position in the current port.
bool buttontrue(Point* where = nullptr);
// Tracks for at most `seconds` without consuming the release: 0 when the
// button went up, 2 when the time passed, 1 when the mouse moved. *where
// gets the mouse position in the current port.
int16_t ButtonTimeTrue(Point* where, double seconds);
// Whether the key of that old virtual key code is down: bit (code % 8) of
// byte (code / 8) of the key map.
bool isPressed(uint16_t keyCode);
