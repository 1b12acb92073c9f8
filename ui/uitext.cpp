// Labels, one-line editable names and push buttons with a text label.
#include <algorithm>
#include <cstring>

#include "foundation/appshell.h"
#include "imaging/cursorkeys.h"
#include "imaging/ports.h"
#include "platform/resources.h"
#include "ui/edoc.h"
#include "ui/uidrawhelpers.h"
#include "ui/uipictures.h"
#include "ui/uiset.h"
#include "ui/uitem.h"

namespace {

constexpr int8_t kBackspace = 8;
constexpr int16_t kTypingCapacity = 31;
constexpr int16_t kMaxIconSide = 32;
constexpr int16_t kShadowGrowth = 5;

enum : int8_t
{
  kTextName = 0,
  kTextListString = 1,
  kTextParamString = 2,
  kTextPictAndName = 3,
};

// The colour of an item's text: the highlight colour while hovered.
normalcolor textColorOf(const uiset* set, const uiItemRecord* item)
{
  return item->editing == 2 ? set->hiliteColor : GetTextColor(set, item);
}

bool isAcceptedCharacter(int8_t c)
{
  const auto u = uint8_t(c);
  return (u >= 0x2F && u <= 0x7A) || u == ' ' || u == '*' || u == '_' || u == '#' || u == '&' ||
         u == '%';
}

void copyPString(StringPtr out, ConstStringPtr in, int16_t limit)
{
  const int16_t n = std::min<int16_t>(in[0], limit);
  std::memmove(out + 1, in + 1, size_t(n));
  out[0] = uint8_t(n);
}

// A square picture of side min(height + 1, 32) at (top, left + 2); returns
// the rectangle left for the text.
Rect drawLeadingPicture(uiset* set, uiItemRecord* item, Rect r)
{
  const int16_t side = std::min<int16_t>(int16_t(RectHeight(r) + 1), kMaxIconSide);
  const Rect pict{r.top, int16_t(r.left + 2), int16_t(r.top + side), int16_t(r.left + 2 + side)};
  if (item->resID > 0)
    item->cachedImage =
        EDraw_MemPictItem(set->owner, item->cachedImage, pict, item->resID, &set->pictureDraw, 0);
  else
    EDraw_PictItem(set->owner, pict, item->resID, &set->pictureDraw, 0);
  r.left = pict.right;
  return r;
}

// Redraws the item and lets the owner react to its new text.
void afterTextChange(uiset* set, uitem* item)
{
  set->Drawuitemptr(item);
  if (!set->owner)
    return;
  set->owner->FlushContext();
  set->owner->CallbackDraw();
}

}  // namespace

void uitem_text::Draw(uiset* set)
{
  Rect r = set->drauibounds(this, rect, style);
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  const normalcolor color = textColorOf(set, this);
  switch (variant) {
    case kTextListString:
      GetIndString(gAppInfos.paramString, resID, index);
      EDrawText(ctx, gAppInfos.paramString, r, &look, nullptr, color);
      return;
    case kTextParamString:
      EDrawText(ctx, gAppInfos.paramString, r, &look, nullptr, color);
      return;
    case kTextPictAndName:
      r = drawLeadingPicture(set, this, r);
      break;
    default:
      break;
  }
  EDrawText(ctx, name, r, &look, nullptr, color);
}

void uitem_text::Act(uiset* set, Point)
{
  set->typedCount = 0;
  changed = 0;
}

void uitem_editText::Draw(uiset* set)
{
  const Rect r = set->drauibounds(this, rect, style);
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  const bool filled = style < 6 && altStyle != 6;
  const normalcolor background = set->work.frame;
  EDrawText(ctx, text ? text : name, r, &look, filled ? &background : nullptr,
            textColorOf(set, this));
}

int16_t uitem_editText::Key(uiset* set, int8_t character)
{
  changed = 0;
  StringPtr edited = text ? text : name;
  if (isAcceptedCharacter(character)) {
    // Past the buffer's end each new character overwrites the last place.
    set->typedCount = std::clamp<int16_t>(int16_t(set->typedCount + 1), 1, kTypingCapacity);
    set->typing[set->typedCount] = uint8_t(character);
    set->typing[0] = uint8_t(set->typedCount);
    copyPString(edited, set->typing, kTypingCapacity);
  } else if (character == kBackspace) {
    if (set->typedCount <= 0) {
      copyPString(set->typing, edited, kTypingCapacity);
      set->typedCount = set->typing[0];
    }
    set->typedCount = std::clamp<int16_t>(int16_t(set->typedCount - 1), 0, kTypingCapacity);
    set->typing[0] = uint8_t(set->typedCount);
    copyPString(edited, set->typing, kTypingCapacity);
  } else {
    return 0;
  }
  afterTextChange(set, this);
  return 1;
}

void uitem_textButton::Act(uiset* set, Point)
{
  editing = 1;
  Draw(set);
  if (set->callback)
    set->callback(set->owner, opcode, data);
  editing = 0;
  if (set->owner)
    set->owner->FlushContext();
  while (buttontrue(nullptr)) {
  }
  Rect dirty = rect;
  if (style > 5) {
    dirty.right = int16_t(dirty.right + kShadowGrowth);
    dirty.bottom = int16_t(dirty.bottom + kShadowGrowth);
  }
  set->InvalRect(dirty);
  needsRedraw = 1;
}

void uitem_textButton::PreHilite(uiset* set)
{
  editing = 2;
  if (!isopaque()) {
    const Rect around{int16_t(rect.top - 2), int16_t(rect.left - 2), int16_t(rect.bottom + 4),
                      int16_t(rect.right + 4)};
    set->Draw(&around);
  } else {
    Draw(set);
  }
  editing = 0;
}
