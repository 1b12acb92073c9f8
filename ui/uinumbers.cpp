// Number items: values and positions, the value text with its arrows, the
// rail beside it, dragging and typing.
#include "ui/uinumbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "foundation/checked.h"
#include "foundation/numbers.h"
#include "foundation/pstrings.h"
#include "imaging/cursorkeys.h"
#include "ui/qzdraw.h"
#include "ui/uidrawhelpers.h"
#include "ui/uidrawshapes.h"
#include "ui/uiframes.h"
#include "ui/uinumbers_pvt.h"
#include "ui/uiset.h"

using namespace uinumbers_pvt;

namespace {

constexpr int16_t kValueWidth = 52;  // justification 0: the value's width
constexpr int16_t kRailGap = 54;     // justification 0: where the rail starts
constexpr int16_t kValueRight = 50;  // other justifications: the value's width
constexpr int16_t kArrowSide = 5;    // the step arrows' triangles
constexpr int16_t kMinArrowZone = 10;

uint16_t typeCode(uiValueType type)
{
  switch (type) {
    case uiValueType::Short:
      return 0;
    case uiValueType::Long:
      return 1;
    default:
      return 2;
  }
}

// Appends ".." while digits are being typed into the item.
void appendTyping(const uiset* set, const uitem_number* item, StringPtr text)
{
  if (set->typedCount > 0 && item->editing)
    ConcatPString(text, reinterpret_cast<const unsigned char*>("\2.."), 255);
}

void drawValueText(uiset* set, uitem_number* item, const Rect& r, ConstStringPtr text)
{
  EDrawText(set->drawingContext(), text, r, &item->look, &set->work.frame, GetTextColor(set, item));
}

// The inner rectangle of the item's value box, where its text and arrows go.
Rect valueInner(uiset* set, uitem_number* item)
{
  Rect value, rail;
  UI_NumberBoxes(item->rect, item->look.just, item->variant, &value, &rail);
  return set->getuibounds(item, value, item->style);
}

}  // namespace

// ---- Values and positions --------------------------------------------------------

uiValueType UI_ValueType(int8_t variant)
{
  switch (variant % 3) {
    case 0:
      return uiValueType::Short;
    case 1:
    case -1:
      return uiValueType::Long;
    default:
      return uiValueType::Double;
  }
}

double UI_ReadValue(const void* data, uiValueType type)
{
  if (!data)
    return 0;
  switch (type) {
    case uiValueType::Short:
      return *static_cast<const int16_t*>(data);
    case uiValueType::Long:
      return *static_cast<const int32_t*>(data);
    default:
      return *static_cast<const double*>(data);
  }
}

void UI_WriteValue(void* data, uiValueType type, double value)
{
  if (!data)
    return;
  switch (type) {
    case uiValueType::Short:
      *static_cast<int16_t*>(data) = kvnum::sat_i16(value);
      return;
    case uiValueType::Long:
      *static_cast<int32_t*>(data) = kvnum::sat_i32(value);
      return;
    default:
      *static_cast<double*>(data) = value;
      return;
  }
}

int32_t UI_PositionOfValue(const uiNumberInfo& n, uiValueType type, double value)
{
  if (type != uiValueType::Double) {
    // Single precision, as the integer items always computed it.
    const float span = n.max - n.min;
    const int32_t divisor = std::max(kvnum::sat_i32(span), 2);
    const float p = (float(value) - n.min) * float(kUIFullScale) / float(divisor);
    return kvnum::sat_i32(p);
  }
  const double span = double(n.max) - double(n.min);
  const int32_t whole = kvnum::sat_i32(span);
  // A range narrower than 1 has no whole part: its real width serves.
  const double divisor = whole != 0 ? double(whole) : span;
  if (divisor == 0)
    return 0;
  return kvnum::sat_i32((value - n.min) * (kUIFullScale / divisor));
}

double UI_ValueOfPosition(const uiNumberInfo& n, uiValueType type, int32_t p)
{
  if (type != uiValueType::Double) {
    const int64_t span =
        std::max<int64_t>(int64_t(kvnum::sat_i32(n.max)) - kvnum::sat_i32(n.min), 2);
    return std::trunc(double(n.min) + double((int64_t(p) * span) >> 12));
  }
  return n.min + (double(n.max) - double(n.min)) * p * kUIPositionUnit;
}

double UI_ClampValue(const uiNumberInfo& n, uiValueType type, double value)
{
  if (type == uiValueType::Double) {
    switch (n.mode) {
      case 2:
      case 3:
        return clampOrdered(value, -double(n.min), double(n.min));
      case 4:
      case 5:
        return value;
      default:
        return clampOrdered(value, n.min, n.max);
    }
  }
  if (!(n.max > n.min))
    return value;
  if (float(value) < n.min)
    return std::trunc(double(n.min));
  if (float(value) > n.max)
    return std::trunc(double(n.max));
  return value;
}

uiDragSteps UI_FloatDragSteps(const uiNumberInfo& n, bool option)
{
  uiDragSteps s;
  s.coarse = 1.0;
  switch (n.mode) {
    case 2:
    case 3:
      s.low = -double(n.min);
      s.high = n.min;
      s.fine = 0.02 * n.min;
      break;
    case 4:
    case 5:
      s.low = -kUINoBound;
      s.high = kUINoBound;
      s.fine = 0.1;
      break;
    default:
      s.low = n.min;
      s.high = n.max;
      if (n.min == 0 && n.max == 0) {
        s.high = 1;
        s.coarse = 0.1;
      } else if (n.min == 0 && n.max == kUIUnboundedMax) {
        s.high = kUINoBound;
      }
      s.fine = std::min(0.1, 0.01 * (s.high - s.low));
      break;
  }
  if (option) {
    s.fine /= 10;
    s.coarse /= 10;
  }
  return s;
}

double UI_FloatDragValue(const uiDragSteps& s, double start, int32_t rows, double step)
{
  return clampOrdered(start + rows * step, s.low, s.high);
}

int32_t UI_KnobX(const uiRail& rail, int32_t p)
{
  if (rail.travel <= 0)
    return rail.start;
  const int64_t q = std::clamp<int32_t>(p, 0, kUIFullScale);
  return int32_t(rail.start + ((q * rail.travel) >> 12));
}

int32_t UI_RailPosition(const uiRail& rail, int32_t h)
{
  if (rail.travel <= 0)
    return 0;
  const int64_t p = ((int64_t(h) - rail.start) * kUIFullScale) / rail.travel;
  return int32_t(std::clamp<int64_t>(p, 0, kUIFullScale));
}

int32_t UI_RelativeRailPosition(const uiRail& rail, int32_t startPosition, int32_t knobAtPress,
                                int32_t h, bool option)
{
  if (rail.travel <= 0)
    return 0;
  const int64_t scale = option ? kUIFullScale / 4 : kUIFullScale;
  const int64_t p = startPosition + ((int64_t(h) - knobAtPress) * scale) / rail.travel;
  return int32_t(std::clamp<int64_t>(p, 0, kUIFullScale));
}

uiRail UI_NumberRail(const Rect& rail)
{
  const int32_t x0 = rail.left + 2, x1 = rail.right - 2;
  return uiRail{x0 + 2, x1 - x0 - 4};
}

void UI_NumberBoxes(const Rect& r, uint8_t justification, int8_t variant, Rect* value, Rect* rail)
{
  if (variant > 11) {
    *value = r;
    *rail = Rect{r.top, r.left, r.bottom, r.left};
    return;
  }
  if (justification == 0) {
    *value = makeRect(r.top, r.left, r.bottom, r.left + kValueWidth);
    *rail = makeRect(r.top, r.left + kRailGap, r.bottom, r.right);
  } else {
    *rail = makeRect(r.top, r.left, r.bottom, r.right - kValueWidth);
    *value = makeRect(r.top, r.right - kValueRight, r.bottom, r.right);
  }
}

int16_t UI_ArrowZone(const Rect& r)
{
  return int16_t(std::max<int32_t>((r.bottom - r.top) / 2 + 4, kMinArrowZone));
}

void Setscrollervalue(const uiNumberInfo* info, void* data, uint32_t p, uint16_t type)
{
  if (!info || !data)
    return;
  const uiValueType t = type == 1   ? uiValueType::Long
                        : type == 0 ? uiValueType::Short
                                    : uiValueType::Double;
  const int32_t position = int32_t(std::min<uint32_t>(p, uint32_t(kUINoVariablePosition)));
  UI_WriteValue(data, t, UI_ValueOfPosition(*info, t, position));
}

// ---- Drawing the value -------------------------------------------------------------

void UI_IntValueText(const uiset* set, const uitem_number* item, int32_t value, StringPtr out)
{
  NumToString(value, out);
  appendTyping(set, item, out);
}

void UI_FloatValueText(const uiset* set, const uitem_number* item, double value, StringPtr out)
{
  out[0] = 0;
  if (item->visibility == kUIShown) {
    const bool even = item->number.mode % 2 == 0;
    CExToStr(&value, even ? 2 : 4, out);
    if (even)
      RemoveDecZeros(out);
    appendTyping(set, item, out);
  } else if (item->visibility == 255) {
    SetPString(out, "-");
  }
}

void Draw_intItem(uiset* set, uitem_number* item, Rect* r, int32_t value)
{
  if (!set->drawingContext())
    return;
  Str255 text;
  UI_IntValueText(set, item, value, text);
  drawValueText(set, item, *r, text);
}

void Draw_FloatItem(uiset* set, uitem_number* item, Rect* r, const double* value)
{
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  if (item->visibility == kUIDisabled) {
    fillRect(ctx, *r, set->work.frame);
    return;
  }
  if (item->visibility != kUIShown && item->visibility != 255)
    return;
  Str255 text;
  UI_FloatValueText(set, item, *value, text);
  drawValueText(set, item, *r, text);
}

void Draw_intItemArrows(uiset* set, Rect r, int16_t mode)
{
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  const normalcolor c =
      mode == 0 ? UI_MeanColor(set->work.frame, set->work.light) : normalcolor{255, 0, 0, 0};
  const float y = float((r.top + r.bottom) / 2 - 2);
  QZ_ContextBeginPath(ctx);
  if (mode != 2)
    QZpath_Arrow(ctx, float(r.left + 1), y, kArrowSide, kArrowSide, float(-M_PI / 2));
  if (mode != 1)
    QZpath_Arrow(ctx, float(r.right - 6), y, kArrowSide, kArrowSide, float(M_PI / 2));
  QZ_ContextSetRGBFillColor(ctx, c.red / 255.0, c.green / 255.0, c.blue / 255.0, 1);
  QZ_ContextFillPath(ctx);
}

void drawvarpointervalue(uiset* set, uitem_number* item, const void* data)
{
  if (!data || !set->drawingContext())
    return;
  Rect value, rail;
  UI_NumberBoxes(item->rect, item->look.just, item->variant, &value, &rail);
  // The frame is drawn around the value alone.
  const Rect saved = item->rect;
  item->rect = value;
  Rect inner = set->drauibounds(item, value, item->style);
  const uiValueType type = UI_ValueType(item->variant);
  if (type == uiValueType::Double)
    Draw_FloatItem(set, item, &inner, static_cast<const double*>(data));
  else
    Draw_intItem(set, item, &inner, kvnum::sat_i32(UI_ReadValue(data, type)));
  if (item->number.arrows)
    Draw_intItemArrows(set, inner, 0);
  item->rect = saved;
}

// ---- Dragging --------------------------------------------------------------------

void Act_intItem(uiset* set, uitem_number* item, Rect* r, Point where, void* data, uiValueType type)
{
  if (!data || !inRect(*r, where))
    return;
  const uiNumberInfo& n = item->number;
  const double start = UI_ReadValue(data, type);
  if (n.arrows) {
    const int16_t zone = UI_ArrowZone(*r);
    const int32_t step = where.h < r->left + zone ? -1 : where.h >= r->right - zone + 1 ? 1 : 0;
    if (step != 0) {
      UI_WriteValue(data, type, UI_ClampValue(n, type, start + step));
      if (UI_ReadValue(data, type) != start) {
        item->changed = 1;
        drawvarpointervalue(set, item, data);
        Draw_intItemArrows(set, valueInner(set, item), step < 0 ? 1 : 2);
        waitRelease(set);
        set->InvalRect(item->rect);
        item->needsRedraw = 1;
        return;
      }
    }
  }
  DChangeCursor(kvui::kCursorDrag);
  Point p = where;
  bool moved = false;
  while (trackStep(set, &p)) {
    if (!moved && p.h == where.h && p.v == where.v)
      continue;
    moved = true;
    const double shown = UI_ReadValue(data, type);
    UI_WriteValue(data, type, UI_ClampValue(n, type, start + (p.v - where.v)));
    if (UI_ReadValue(data, type) != shown) {
      item->changed = 1;
      drawvarpointervalue(set, item, data);
    }
  }
  DChangeCursor(0);
}

void Act_FloatItem(uiset* set, uitem_number* item, Rect* r, Point where, double* data)
{
  if (!data || !inRect(*r, where))
    return;
  const uiDragSteps steps = UI_FloatDragSteps(item->number, optionDown());
  const double step = where.h >= (r->left + r->right) / 2 ? steps.fine : steps.coarse;
  const double start = *data;
  Point p = where;
  bool moved = false;
  while (trackStep(set, &p)) {
    if (!moved && p.h == where.h && p.v == where.v)
      continue;
    if (!moved)
      DChangeCursor(kvui::kCursorDrag);
    moved = true;
    const double value = UI_FloatDragValue(steps, start, where.v - p.v, step);
    if (value != *data) {
      *data = value;
      item->changed = 1;
      drawvarpointervalue(set, item, data);
    }
  }
  DChangeCursor(0);
}

// ---- The number item ----------------------------------------------------------------

int16_t uitem_number::Scroller(uiset* set, Rect rail, Rect valueRect, void* data, Point where,
                               bool drawOnly, int16_t railLook)
{
  (void)valueRect;
  const uiRail knob = UI_NumberRail(rail);
  const uiValueType type = UI_ValueType(variant);
  auto drawRail = [&](int32_t p) {
    CGContextRef ctx = set->drawingContext();
    if (!ctx)
      return;
    set->getmaincolors(this, style);
    fillRect(ctx, rail, set->colors[kUIBackground]);
    DrawRedRailBox(set, ctx, rail, &set->work, clamp16(UI_KnobX(knob, p)), look.size, railLook,
                   visibility);
  };
  drawRail(data ? UI_PositionOfValue(number, type, UI_ReadValue(data, type))
                : kUINoVariablePosition);
  if (drawOnly || !data || !inRect(rail, where))
    return 0;
  // The press itself places the knob; then every change of the mouse's
  // horizontal position does.
  Point at = where;
  bool first = true;
  int16_t lastH = 0;
  do {
    if (!first && at.h == lastH)
      continue;
    first = false;
    lastH = at.h;
    const int32_t p = UI_RailPosition(knob, at.h);
    Setscrollervalue(&number, data, uint32_t(p), typeCode(type));
    changed = 1;
    drawRail(p);
    drawvarpointervalue(set, this, data);
  } while (trackStep(set, &at));
  return 1;
}

void uitem_number::minmax()
{
  if (!number.data)
    return;
  const uiValueType type = UI_ValueType(variant);
  UI_WriteValue(number.data, type, UI_ClampValue(number, type, UI_ReadValue(number.data, type)));
}

void uitem_number::Draw(uiset* set)
{
  if (!number.data || !set->drawingContext())
    return;
  Rect value, rail;
  UI_NumberBoxes(rect, look.just, variant, &value, &rail);
  if (variant <= 11)
    Scroller(set, rail, value, number.data, Point{-1, -1}, true, altStyle);
  drawvarpointervalue(set, this, number.data);
}

void uitem_number::Act(uiset* set, Point where)
{
  set->typedCount = 0;
  if (!number.data)
    return;
  changed = 0;
  Rect value, rail;
  UI_NumberBoxes(rect, look.just, variant, &value, &rail);
  if (variant < 12 && Scroller(set, rail, value, number.data, where, false, altStyle)) {
    Draw(set);
    if (set->owner)
      set->owner->FlushContext();
    return;
  }
  const uiValueType type = UI_ValueType(variant);
  if (type == uiValueType::Double)
    Act_FloatItem(set, this, &value, where, static_cast<double*>(number.data));
  else
    Act_intItem(set, this, &value, where, number.data, type);
  if (variant < 12) {
    set->InvalRect(rect);
    needsRedraw = 1;
  }
  DChangeCursor(0);
}

int16_t uitem_number::Key(uiset* set, int8_t character)
{
  if (visibility != kUIShown || !number.data)
    return 0;
  set->keyResult = 0;
  const uiValueType type = UI_ValueType(variant);
  if (type == uiValueType::Double) {
    char2double(set, character, static_cast<double*>(number.data));
  } else {
    int32_t value = kvnum::sat_i32(UI_ReadValue(number.data, type));
    char2int32(set, character, &value);
    if (set->keyResult)
      UI_WriteValue(number.data, type, value);
  }
  if (!set->keyResult)
    return 0;
  minmax();
  Draw(set);
  changed = 1;
  set->hit = set->focused;
  return 1;
}
