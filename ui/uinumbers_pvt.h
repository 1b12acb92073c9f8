// What the number, scroller and pop-up modules share: the option key, one
// tracking step on the owner's port, the wait for the release and small
// rectangle and colour helpers.
#pragma once

#include <cstdint>

#include "foundation/modifierkeys.h"
#include "foundation/types.h"
#include "imaging/quartz.h"
#include "platform/ui.h"
#include "ui/edoc.h"
#include "ui/uiset.h"

namespace uinumbers_pvt {

// The option key: as the click's event left it, or held now.
inline bool optionDown()
{
  return gopt != 0 || (kvui::currentModifiers() & kvui::optionKey) != 0;
}

inline bool inRect(const Rect& r, Point p)
{
  return r.left <= p.h && p.h < r.right && r.top <= p.v && p.v < r.bottom;
}

// v held to [low, high], the low bound tested first.
inline double clampOrdered(double v, double low, double high)
{
  if (v < low)
    return low;
  if (v > high)
    return high;
  return v;
}

inline int16_t clamp16(int32_t v)
{
  return int16_t(v < INT16_MIN ? INT16_MIN : v > INT16_MAX ? INT16_MAX : v);
}

inline Rect makeRect(int32_t top, int32_t left, int32_t bottom, int32_t right)
{
  return Rect{clamp16(top), clamp16(left), clamp16(bottom), clamp16(right)};
}

// One tracking step on the owner's port (drawn and flushed first): true
// while the button is held; *p gets the mouse in the owner's coordinates.
// A set without an owner has no mouse to follow: false at once.
inline bool trackStep(uiset* set, Point* p)
{
  return set->owner && set->owner->PortButtonCallBack(p);
}

// Follows the mouse until the button is released.
inline void waitRelease(uiset* set)
{
  Point p;
  while (trackStep(set, &p)) {
  }
}

inline void fillRect(CGContextRef ctx, const Rect& r, normalcolor c)
{
  if (!ctx)
    return;
  QZ_ContextSetRGBFillColor(ctx, c.red / 255.0, c.green / 255.0, c.blue / 255.0, 1);
  QZ_ContextFillRect(ctx, QZ_RectFromRect(r));
}

}  // namespace uinumbers_pvt
