// Scrollers: the arrow scroll bar, the red rail and the picture rail, with
// their tracking and the arrow steps.
#include <algorithm>

#include "foundation/checked.h"
#include "ui/uidrawhelpers.h"
#include "ui/uidrawshapes.h"
#include "ui/uiframes.h"
#include "ui/uinumbers.h"
#include "ui/uinumbers_pvt.h"
#include "ui/uipictures.h"
#include "ui/uiset.h"

using namespace uinumbers_pvt;

namespace {

constexpr int16_t kArrowBoxBig = 24;  // the arrow boxes of a bar 25 or more pixels high
constexpr int16_t kArrowBoxMin = 8;
constexpr int16_t kBarInset = 3;       // the rail between the arrow boxes
constexpr int16_t kBarKnobMargin = 7;  // the knob's travel inside the rail
constexpr int16_t kBarKnobHalf = 4;    // the arrow bar's knob is 8 wide
constexpr int16_t kRedRailInset = 2;
constexpr int16_t kCapWidth = 22;  // the picture rail's end caps
constexpr int16_t kPictKnobHalf = 3;
constexpr normalcolor kWhite{255, 255, 255, 255};

void drawPicture(uiset* set, const Rect& r, int16_t code, uint8_t visibility)
{
  if (RectWidth(r) <= 0 || RectHeight(r) <= 0)
    return;
  QZDrawFlags flags = set->pictureDraw;
  flags.shadow = 0;
  flags.hilitMode = visibility == kUIDisabled ? 1 : 0;
  EDraw_PictItem(set->owner, r, code, &flags, 2);
}

// Tracks a press relative to the knob, as the red and picture rails do:
// the press itself places the knob, then every horizontal move does.
template <class Draw>
int32_t trackRelative(uiset* set, uitem_scroller* item, void* data, const uiRail& knob,
                      int32_t start, Point where, Draw draw)
{
  const int32_t knobAtPress = UI_KnobX(knob, start);
  int32_t p = start;
  Point at = where;
  bool first = true;
  int16_t lastH = 0;
  do {
    if (!first && at.h == lastH)
      continue;
    first = false;
    lastH = at.h;
    p = UI_RelativeRailPosition(knob, start, knobAtPress, at.h, optionDown());
    item->Setpvalue(data, p);
    item->changed = 1;
    draw(p);
  } while (trackStep(set, &at));
  return p;
}

}  // namespace

// ---- Geometry -----------------------------------------------------------------------

uiRail UI_RedRail(const Rect& r)
{
  return uiRail{r.left + 4, (r.right - kRedRailInset) - (r.left + kRedRailInset) - 4};
}

uiRail UI_PictRail(const Rect& r)
{
  return uiRail{r.left + kCapWidth + kPictKnobHalf,
                (r.right - kCapWidth) - (r.left + kCapWidth) - 2 * kPictKnobHalf};
}

uiArrowBar UI_ArrowBar(const Rect& r)
{
  const int32_t height = r.bottom - r.top;
  const int32_t a =
      height >= kArrowBoxBig + 1 ? kArrowBoxBig : std::max<int32_t>(height, kArrowBoxMin);
  const int32_t top = (r.top + r.bottom) / 2 - a / 2;
  uiArrowBar bar;
  bar.leftBox = makeRect(top, r.left, top + a, r.left + a);
  bar.rightBox = makeRect(top, r.right - a, top + a, r.right);
  bar.rail =
      makeRect(r.top + kBarInset, bar.leftBox.right, r.bottom - kBarInset, bar.rightBox.left);
  bar.knob = uiRail{bar.leftBox.right + kBarKnobMargin,
                    (bar.rightBox.left - bar.leftBox.right) - 2 * kBarKnobMargin};
  return bar;
}

// ---- Drawing ------------------------------------------------------------------------

void DrawHRailBox(CGContextRef ctx, Rect r, const uiWorkColor* work, normalcolor fill,
                  int16_t knobX, int16_t style)
{
  if (!ctx)
    return;
  if (style < 2)
    fillRect(ctx, r, work->frame);
  else
    EPaintEmbossRect(ctx, Point{r.top, r.left}, Point{r.bottom, r.right}, work->frame, false);
  const int16_t leftEnd = std::clamp<int16_t>(knobX, r.left, r.right);
  fillRect(ctx, makeRect(r.top + 2, r.left + 1, r.bottom - 2, leftEnd), fill);
  EPaintEmbossRect(ctx, Point{r.top, clamp16(knobX - kBarKnobHalf)},
                   Point{r.bottom, clamp16(knobX + kBarKnobHalf)}, work->light, false);
}

void DrawPictRailBox(uiset* set, Rect rail, int16_t knobX, uint8_t visibility)
{
  drawPicture(set, makeRect(rail.top, rail.left, rail.bottom, knobX), kRailPictLeft, visibility);
  drawPicture(set, makeRect(rail.top, knobX, rail.bottom, rail.right), kRailPictRight, visibility);
  drawPicture(set, makeRect(rail.top, knobX - kPictKnobHalf, rail.bottom, knobX + kPictKnobHalf),
              kRailPictKnob, visibility);
}

// ---- The three looks ------------------------------------------------------------------

int32_t Do_ScrollItem(uiset* set, uitem_scroller* item, Rect r, void* data, int32_t start,
                      Point where, bool drawOnly, int16_t* part)
{
  *part = 0;
  const uiArrowBar bar = UI_ArrowBar(r);
  CGContextRef ctx = set->drawingContext();
  auto drawArrow = [&](const Rect& box, int16_t direction, bool pressed) {
    if (!ctx)
      return;
    fillRect(ctx, box, set->work.frame);
    DrawArrow(ctx, box, pressed ? set->hiliteColor : UI_MeanColor(set->work.frame, kWhite),
              direction);
  };
  auto draw = [&](int32_t p) {
    drawArrow(bar.leftBox, 1, false);
    drawArrow(bar.rightBox, 2, false);
    DrawHRailBox(ctx, bar.rail, &set->work, item->color2, clamp16(UI_KnobX(bar.knob, p)),
                 item->style);
  };
  draw(start);
  if (drawOnly || !data)
    return start;
  if (inRect(bar.leftBox, where) || inRect(bar.rightBox, where)) {
    *part = inRect(bar.leftBox, where) ? 1 : 2;
    drawArrow(*part == 1 ? bar.leftBox : bar.rightBox, *part, true);
    return start;
  }
  if (!inRect(bar.rail, where))
    return start;
  int32_t p = start;
  Point at = where;
  do {
    p = UI_RailPosition(bar.knob, at.h);
    item->Setpvalue(data, p);
    item->changed = 1;
    draw(p);
  } while (trackStep(set, &at));
  return p;
}

int32_t Do_RedScrollItem(uiset* set, uitem_scroller* item, Rect r, void* data, int32_t start,
                         Point where, bool drawOnly, int16_t* part)
{
  *part = 0;
  const Rect rail = makeRect(r.top, r.left + kRedRailInset, r.bottom, r.right - kRedRailInset);
  const uiRail knob = UI_RedRail(r);
  auto draw = [&](int32_t p) {
    CGContextRef ctx = set->drawingContext();
    if (!ctx)
      return;
    fillRect(ctx, rail, set->colors[kUIBackground]);
    DrawRedRailBox(set, ctx, rail, &set->work, clamp16(UI_KnobX(knob, p)), item->look.size,
                   item->altStyle, item->visibility);
  };
  draw(start);
  if (drawOnly || !data || !inRect(rail, where))
    return start;
  return trackRelative(set, item, data, knob, start, where, draw);
}

int32_t Do_pictScrollItem(uiset* set, uitem_scroller* item, Rect r, void* data, int32_t start,
                          Point where, bool drawOnly, int16_t* part)
{
  *part = 0;
  const Rect leftCap = makeRect(r.top, r.left, r.bottom, r.left + kCapWidth);
  const Rect rightCap = makeRect(r.top, r.right - kCapWidth, r.bottom, r.right);
  const Rect rail = makeRect(r.top, r.left + kCapWidth, r.bottom, r.right - kCapWidth);
  const uiRail knob = UI_PictRail(r);
  const uint8_t shown = item->visibility;
  auto draw = [&](int32_t p) {
    drawPicture(set, leftCap, kRailPictLeftCap, shown);
    drawPicture(set, rightCap, kRailPictRightCap, shown);
    DrawPictRailBox(set, rail, clamp16(UI_KnobX(knob, p)), shown);
  };
  draw(start);
  if (drawOnly || !data)
    return start;
  if (inRect(leftCap, where) || inRect(rightCap, where)) {
    *part = inRect(leftCap, where) ? 1 : 2;
    drawPicture(set, *part == 1 ? leftCap : rightCap,
                *part == 1 ? kRailPictLeftCapDown : kRailPictRightCapDown, shown);
    return start;
  }
  if (!inRect(rail, where))
    return start;
  return trackRelative(set, item, data, knob, start, where, draw);
}

// ---- The scroller item ------------------------------------------------------------------

void uitem_scroller::Incpvalue(void* data, int32_t delta)
{
  if (!data)
    return;
  const uiValueType type = UI_ValueType(variant);
  const double value = UI_ReadValue(data, type);
  if (type == uiValueType::Double) {
    const double next = value + delta * kUIScrollerRealStep;
    UI_WriteValue(data, type,
                  number.max > number.min ? clampOrdered(next, number.min, number.max) : next);
  } else {
    UI_WriteValue(data, type, UI_ClampValue(number, type, value + delta));
  }
}

int16_t uitem_scroller::Setpvalue(void* data, int32_t p)
{
  if (!data)
    return 2;
  const uiValueType type = UI_ValueType(variant);
  const uint16_t code = type == uiValueType::Short ? 0 : type == uiValueType::Long ? 1 : 2;
  Setscrollervalue(&number, data, uint32_t(std::max<int32_t>(p, 0)), code);
  return 0;
}

int32_t uitem_scroller::Getnormvalue(const void* data) const
{
  if (!data)
    return kUINoVariablePosition;
  const uiValueType type = UI_ValueType(variant);
  return UI_PositionOfValue(number, type, UI_ReadValue(data, type));
}

Rect uitem_scroller::BarRect(uiset* set, bool drawFrame)
{
  if (variant > 2) {
    set->getmaincolors(this, style);
    return rect;
  }
  if (drawFrame)
    return set->drauibounds(this, rect, style);
  set->getmaincolors(this, style);
  return set->getuibounds(this, rect, style);
}

int32_t uitem_scroller::RunLook(uiset* set, Rect r, int32_t start, Point where, bool drawOnly,
                                int16_t* part)
{
  const int32_t p = std::clamp<int32_t>(start, 0, kUIFullScale);
  if (variant >= 0 && variant <= 2)
    return Do_ScrollItem(set, this, r, number.data, p, where, drawOnly, part);
  if (variant >= 6 && variant <= 8)
    return Do_pictScrollItem(set, this, r, number.data, p, where, drawOnly, part);
  return Do_RedScrollItem(set, this, r, number.data, p, where, drawOnly, part);
}

void uitem_scroller::Draw(uiset* set)
{
  if (!number.data || !set->drawingContext())
    return;
  int16_t part = 0;
  RunLook(set, BarRect(set, true), Getnormvalue(number.data), Point{-1, -1}, true, &part);
}

void uitem_scroller::Act(uiset* set, Point where)
{
  if (!number.data)
    return;
  changed = 0;
  int16_t part = 0;
  RunLook(set, BarRect(set, true), Getnormvalue(number.data), where, false, &part);
  if (part == 1 || part == 2) {
    const uiValueType type = UI_ValueType(variant);
    const double before = UI_ReadValue(number.data, type);
    Incpvalue(number.data, part == 1 ? -1 : 1);
    if (UI_ReadValue(number.data, type) != before)
      changed = 1;
    if (set->owner)
      set->owner->FlushContext();
    waitRelease(set);
  }
  set->InvalRect(rect);
  needsRedraw = 1;
}
