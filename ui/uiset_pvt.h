// What the item set's modules share: rectangle arithmetic that wraps as
// 16-bit two's complement, string and kind tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "foundation/types.h"
#include "imaging/quartz.h"
#include "ui/uitem.h"

namespace uiset_pvt {
inline constexpr int8_t kTab = 9, kReturn = 13, kEnter = 3;

// 16-bit coordinates wrap as two's complement, never as a signed overflow.
inline int16_t wrap16(int32_t v)
{
  return int16_t(uint16_t(uint32_t(v)));
}

inline void offsetRect(Rect& r, int32_t dh, int32_t dv)
{
  r.left = wrap16(r.left + dh);
  r.right = wrap16(r.right + dh);
  r.top = wrap16(r.top + dv);
  r.bottom = wrap16(r.bottom + dv);
}

inline bool inRect(const Rect& r, Point p)
{
  return r.left <= p.h && p.h < r.right && r.top <= p.v && p.v < r.bottom;
}

inline bool intersects(const Rect& a, const Rect& b)
{
  return std::max(a.left, b.left) < std::min(a.right, b.right) &&
         std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

inline bool samePString(ConstStringPtr a, ConstStringPtr b)
{
  return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}

inline bool isTyped(uint8_t kind)
{
  return kind == kUIEditText || kind == kUINumber;
}

inline bool isEditable(uint8_t kind)
{
  return isTyped(kind) || kind == kUIPopMenu;
}

inline void releaseCachedImage(uiItemRecord* item)
{
  if (item->cachedImage)
    QZ_ImageRelease(item->cachedImage);
  item->cachedImage = nullptr;
}

// The set's own name for a Str63 text: cut at a whole UTF-8 character.
inline void storeName(uiItemRecord* item, ConstStringPtr text)
{
  UI_SetName63(item->name, text);
}

}  // namespace uiset_pvt
