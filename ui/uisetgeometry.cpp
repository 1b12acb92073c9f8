// The item set's geometry: anchoring and centring its items in a new
// content rectangle, moving them, and their bounding box.
#include <algorithm>

#include "imaging/ports.h"
#include "ui/uiset.h"
#include "ui/uiset_pvt.h"

using namespace uiset_pvt;

namespace {

// Moves r by its anchor; `previous` is the rectangle of the item anchored
// just before (null for the first).
void anchorRect(Rect& r, uint8_t anchor, const Rect* previous, int32_t dh, int32_t dv)
{
  switch (anchor) {
    case 1:
      offsetRect(r, dh, 0);
      break;
    case 2:
      offsetRect(r, 0, dv);
      break;
    case 3:
      offsetRect(r, dh, dv);
      break;
    case 4:
      r.right = wrap16(r.right + dh);
      break;
    case 5:
      r.bottom = wrap16(r.bottom + dv);
      break;
    case 6:
      r.right = wrap16(r.right + dh);
      r.bottom = wrap16(r.bottom + dv);
      break;
    case 7:
      if (previous) {
        r.top = previous->top;
        r.bottom = previous->bottom;
        r.right = wrap16(r.right + dh);
      }
      break;
    case 8:
      if (previous) {
        r.left = previous->left;
        r.right = previous->right;
        r.top = wrap16(previous->bottom + 2);
        r.bottom = wrap16(r.bottom + dv);
      }
      break;
    case 9:
      offsetRect(r, 0, dv);
      r.right = wrap16(r.right + dh);
      break;
    default:
      break;
  }
}

}  // namespace

void uiset::CompTotalBox()
{
  Rect box{32767, 32767, -32767, -32767};
  for (int16_t i = 0; i < count; ++i) {
    const uitem* item = Getuitem(i);
    if (!takesPart(item) || item->visibility == kUIHidden)
      continue;
    box.top = std::min(box.top, item->rect.top);
    box.left = std::min(box.left, item->rect.left);
    box.bottom = std::max(box.bottom, item->rect.bottom);
    box.right = std::max(box.right, item->rect.right);
  }
  totalBox = box;
}

void uiset::ResizeUI(Rect r, int16_t mode, uiResizeProc proc)
{
  if (mode == 1 || mode == 2) {
    const int32_t h0 = layoutRect.left, v0 = layoutRect.top;
    for (int16_t i = 0; i < count; ++i)
      offsetRect(Getuitem(i)->rect, -h0, -v0);
    offsetRect(totalBox, -h0, -v0);
    int16_t dh = wrap16(RectWidth(r) - RectWidth(layoutRect));
    int16_t dv = wrap16(RectHeight(r) - RectHeight(layoutRect));
    const Rect* previous = nullptr;
    for (int16_t i = 0; i < count; ++i) {
      if (proc && i > 0)
        proc(this, i, &dh, &dv);
      uitem* item = Getuitem(i);
      item->needsRedraw = 1;
      anchorRect(item->rect, item->anchor, previous, dh, dv);
      previous = &item->rect;
    }
  }
  CompTotalBox();
  if (mode == 0 || mode == 2) {
    int32_t dv = (r.top + r.bottom) / 2 - (totalBox.top + totalBox.bottom) / 2;
    int32_t dh = (r.left + r.right) / 2 - (totalBox.left + totalBox.right) / 2;
    if (totalBox.top + dv < -4)
      dv = -4 - totalBox.top;
    if (totalBox.left + dh < -4)
      dh = -4 - totalBox.left;
    for (int16_t i = 0; i < count; ++i) {
      uitem* item = Getuitem(i);
      offsetRect(item->rect, dh, dv);
      InvalidateItem(item);
    }
    offsetRect(totalBox, dh, dv);
  }
  layoutRect = r;
}

void uiset::Offsetuitems(int16_t dh, int16_t dv)
{
  for (int16_t i = 0; i < count; ++i) {
    uitem* item = Getuitem(i);
    offsetRect(item->rect, dh, dv);
    InvalidateItem(item);
  }
  offsetRect(totalBox, dh, dv);
}
