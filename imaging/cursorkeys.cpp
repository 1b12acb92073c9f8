#include "imaging/cursorkeys.h"

#include <algorithm>

#include "foundation/checked.h"
#include "imaging/windowport.h"
#include "platform/clock.h"

int16_t gCursorID = 0;
int16_t gLastCursorID = 0;

namespace {

Point toCurrentPort(kvui::Point global)
{
  CGrafPtr port = nullptr;
  GetGWorld(&port, nullptr);
  Point p = PointFromUI(global);
  if (port)
    p = Point{int16_t(p.v - port->globalOrigin.v), int16_t(p.h - port->globalOrigin.h)};
  return p;
}

}  // namespace

void DChangeCursor(int16_t id)
{
  if (id == gCursorID)
    return;
  gLastCursorID = gCursorID;
  kvui::setCursor(id == 0 ? kvui::kCursorArrow : id);
  gCursorID = id;
}

void GetMouse(Point* where)
{
  if (where)
    *where = toCurrentPort(kvui::mouseLocation());
}

bool ButtonFalse()
{
  kvui::pump();
  return !kvui::isButtonDown();
}

void WaitForButton()
{
  while (true) {
    kvui::pump();
    if (kvui::isButtonDown() || !kvui::isStarted())
      return;
    if (kvui::isScriptedBackend() && kvui::script::pending() == 0)
      return;
    kvclock::sleepTicks(1);
  }
}

bool buttontrue(Point* where)
{
  kvui::Point p;
  kvui::TrackResult r = kvui::trackMouse(&p);
  if (where)
    *where = toCurrentPort(p);
  return r != kvui::TrackResult::released;
}

int16_t ButtonTimeTrue(Point* where, double seconds)
{
  int32_t ticks = std::max<int32_t>(1, kvnum::sat_i32(seconds * 60.0));
  kvui::TrackResult r = kvui::trackMouse(nullptr, ticks, true);
  GetMouse(where);
  switch (r) {
    case kvui::TrackResult::released:
      return 0;
    case kvui::TrackResult::timedOut:
      return 2;
    case kvui::TrackResult::moved:
      return 1;
  }
  return 0;
}

bool isPressed(uint16_t keyCode)
{
  uint8_t map[16];
  kvui::keyMap(map);
  return keyCode < 128 && ((map[keyCode / 8] >> (keyCode % 8)) & 1);
}
