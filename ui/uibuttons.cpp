// Picture buttons, check boxes and radio buttons.
#include "ui/uibuttons.h"

#include <algorithm>

#include "imaging/cursorkeys.h"
#include "imaging/ports.h"
#include "imaging/qzbitmaps.h"
#include "platform/resources.h"
#include "ui/edoc.h"
#include "ui/qzdraw.h"
#include "ui/uidrawhelpers.h"
#include "ui/uiframes.h"
#include "ui/uilib.h"
#include "ui/uipictures.h"
#include "ui/uiset.h"
#include "ui/uitem.h"

namespace {

constexpr int16_t kMarkSide = 16;
constexpr float kTabRadius = 6;
constexpr normalcolor kOpaqueRed{255, 255, 0, 0};

bool inside(const Rect& r, Point p)
{
  return r.left <= p.h && p.h < r.right && r.top <= p.v && p.v < r.bottom;
}

int16_t offsetCode(int16_t code, int32_t by)
{
  const int32_t c = code > 0 ? code + by : code - by;
  return int16_t(std::clamp<int32_t>(c, INT16_MIN, INT16_MAX));
}

void drawPict(uiset* set, Rect r, int16_t code, int16_t mode)
{
  EDraw_PictItem(set->owner, r, code, &set->pictureDraw, mode);
}

// A whole 32 x 32 built-in picture shrunk into r (marks are drawn smaller
// than their cells).
void drawMark(uiset* set, Rect r, int16_t code)
{
  CGContextRef ctx = set->drawingContext();
  CGImageRef image =
      UI_PictCodeImage(set->owner ? set->owner->uiImages : nullptr, code, kUIListCell, kUIListCell);
  if (!ctx || !image)
    return;
  QZdrawfit_image(ctx, r, image, &set->pictureDraw);
  QZ_ImageRelease(image);
}

// A mark or icon of 16 x 16 at (top, left).
Rect markRect(int16_t top, int16_t left)
{
  return Rect{top, left, int16_t(top + kMarkSide), int16_t(left + kMarkSide)};
}

void drawLabel(uiset* set, const uiItemRecord* item, const textLook* look, Rect r,
               int16_t stringList, int16_t i, bool selected)
{
  Str255 label;
  GetIndString(label, stringList, int16_t(i + 1));
  EDrawText(set->drawingContext(), label, r, look, nullptr,
            selected ? set->hiliteColor : GetTextColor(set, item));
}

int16_t* valueOf(const uiNumberInfo& number)
{
  return static_cast<int16_t*>(number.data);
}

// Draws back what the window shows under r with the button's highlight.
void highlightScreen(uiset* set, const Rect& r)
{
  if (!set->owner || !set->owner->port)
    return;
  AccessPix pixels;
  CGContextRef captured = QZ_CaptureScreenPix(set->owner->port, &pixels, r);
  if (!captured)
    return;
  CGImageRef image = QZ_BitmapContextCreateImage(captured);
  uint8_t* base = nullptr;
  QZ_KillBitmapContext(&captured, &base);
  if (!image)
    return;
  QZdraw_image(set->drawingContext(), r.left, r.top, image, &set->pictureDraw);
  QZ_ImageRelease(image);
}

void paintTab(CGContextRef ctx, const Rect& cell, normalcolor c)
{
  QZ_paintRoundBox(ctx, cell.left + 0.5f, cell.top + 0.5f, RectWidth(cell) - 1.5f,
                   RectHeight(cell) - 0.5f, kTabRadius, 1, c.red / 255.0f, c.green / 255.0f,
                   c.blue / 255.0f);
}

}  // namespace

// ---- Picture buttons -------------------------------------------------------------

void uitem_pictButton::Draw(uiset* set)
{
  if (!set->drawingContext())
    return;
  const int16_t state = index == 1 ? 1 : editing;
  QZDrawFlags& flags = set->pictureDraw;
  flags.mask = transparency;
  flags.shadow = 0;
  switch (variant) {
    case 0: {
      flags.shadow = altStyle == 2 || altStyle == 4;
      const Rect r = set->drauibounds(this, rect, style);
      flags.hilitMode = uint8_t(GetAltHilit(set, state, altStyle, visibility));
      if (resID > 0)
        cachedImage =
            EDraw_MemPictItem(set->owner, cachedImage, r, resID, &flags, int16_t(columns));
      else
        drawPict(set, r, resID, columns);
      return;
    }
    case 1: {
      flags.shadow = altStyle == 2 || altStyle == 4;
      const Rect r = set->drauibounds(this, rect, style);
      flags.hilitMode = editing == 2 || visibility == kUIDisabled ? 1 : 0;
      drawPict(set, r, state > 0 ? offsetCode(resID, 1) : resID, 0);
      return;
    }
    case 2:
      if (state > 0) {
        flags.hilitMode = editing == 2 ? 1 : 0;
        drawPict(set, rect, resID, 0);
      }
      return;
    case 3:
      if (state > 0) {
        flags.hilitMode = uint8_t(GetAltHilit(set, state, altStyle, visibility));
        highlightScreen(set, rect);
      }
      return;
    default:
      flags.color = kOpaqueRed;
      flags.hilitKind = 1;
      flags.hilitMode = 3;
      drawPict(set, rect, resID, 0);
      flags.color = set->hiliteColor;
      flags.hilitKind = 0;
      flags.hilitMode = 0;
      return;
  }
}

void uitem_pictButton::Act(uiset* set, Point where)
{
  if (opcode < 0)
    return;
  editing = 1;
  Draw(set);
  if (set->owner)
    set->owner->FlushContext();
  if (set->callback)
    set->callback(set->owner, opcode, data);
  Point last = where;
  while (buttontrue(&last)) {
  }
  set->InvalRect(rect);
  needsRedraw = 1;
  editing = inside(rect, last) ? 2 : 0;
}

void uitem_pictButton::PreHilite(uiset* set)
{
  editing = 2;
  Draw(set);
  editing = 0;
}

// ---- Check boxes -------------------------------------------------------------------

void uitem_checkbox::Act(uiset* set, Point where)
{
  int16_t* value = valueOf(number);
  if (!value)
    return;
  if (variant > 3) {
    const int32_t entries = std::max<int32_t>(number.entries, 1);
    const int32_t width = std::max<int32_t>(RectWidth(rect), 1);
    const int32_t offset = std::max<int32_t>(where.h - rect.left, 0);
    *value = int16_t(std::min<int32_t>(entries - 1, entries * offset / width));
  } else if (variant == 1) {
    *value = int16_t((int32_t(*value) + 1) % std::max<int32_t>(number.entries, 2));
  } else {
    *value = *value == 0 ? 1 : 0;
  }
  if (variant == 2 || variant == 3) {
    set->InvalRect(rect);
    needsRedraw = 1;
    return;
  }
  if (variant > 3)
    set->InvalRect(rect);
  Draw(set);
  if (set->owner)
    set->owner->FlushContext();
}

void uitem_checkbox::Draw(uiset* set)
{
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  const int16_t* data = valueOf(number);
  const int16_t value = data ? *data : 0;
  switch (variant) {
    case 0:
    case 3: {
      Rect r = set->drauibounds(this, rect, style);
      if (variant == 3 && altStyle < 6)
        UI_FillRect(ctx, r, set->work.frame);
      Rect box;
      Get_LabelLeft_Boxes(&r, &box);
      if (variant == 0) {
        Draw_HollowBounds(ctx, set->work.frame, set->work.shadow, set->work.light, &box);
        if (value != 0)
          CrossBox(ctx, box);
      } else {
        drawMark(set, box, value >= 1 ? kUIPictCheckMark : int16_t(-value));
      }
      EDrawText(ctx, name, r, &look, nullptr, GetTextColor(set, this));
      return;
    }
    case 1:
      drawPict(set, set->drauibounds(this, rect, style), offsetCode(resID, value), 0);
      return;
    case 2:
      set->getmaincolors(this, style);
      if (value != 0)
        drawPict(set, rect, resID, 0);
      return;
    default:
      drawPict(set, rect, int16_t(resID + value), 0);
      return;
  }
}

// ---- Radio buttons -----------------------------------------------------------------

void Draw_RadioItem(uiset* set, const uiItemRecord* item, const textLook* look, const Rect* cell,
                    int16_t stringList, int16_t i, bool selected)
{
  const int16_t mid = int16_t((cell->top + cell->bottom) / 2);
  const Rect mark = markRect(int16_t(mid - kMarkSide / 2), cell->left);
  drawMark(set, mark, selected ? kUIPictRadioOn : kUIPictRadioOff);
  Rect label = *cell;
  label.left = int16_t(mark.right + 2);
  drawLabel(set, item, look, label, stringList, i, selected);
}

matrix uitem_radiobuttons::Layout(uiset* set, bool drawFrame)
{
  Rect r = rect;
  if (style > 5)
    r = drawFrame ? set->drauibounds(this, rect, style) : set->getuibounds(this, rect, style);
  else
    set->getmaincolors(this, style);
  r = Rect{int16_t(r.top + 1), int16_t(r.left + 1), int16_t(r.bottom - 1), int16_t(r.right - 1)};
  matrix m;
  Get_matrixParams(&m, variant == 0 ? 1 : columns, std::max<int16_t>(number.entries, 2), r);
  return m;
}

Rect uitem_radiobuttons::Cell(const matrix& m, int16_t i) const
{
  return variant == 4 && m.columns >= 4 ? Get_matrixVBox(&m, i) : Get_matrixBox(&m, i);
}

int16_t uitem_radiobuttons::HitCell(const matrix& m, Point where) const
{
  return variant == 4 && m.columns >= 4 ? Hit_VmatrixBox(&m, where) : Hit_matrixBox(&m, where);
}

void uitem_radiobuttons::DrawPictitem(uiset* set, matrix* m, int16_t i, int16_t mode, bool selected)
{
  const Rect cell = Cell(*m, i);
  if (variant == 2) {
    if (mode == 1)
      set->InvalRect(cell);
    else if (selected)
      drawPict(set, cell, resID, 0);
    return;
  }
  const Rect r = Draw_ArrayBounds(set, this, cell, style, selected && altStyle <= 2);
  set->pictureDraw.hilitMode = uint8_t(GetAltHilit(set, selected ? 1 : 0, altStyle, visibility));
  drawPict(set, r, offsetCode(resID, i), 1);
}

void uitem_radiobuttons::Draw_RadioTlistItem(uiset* set, Rect* cell, int16_t i, bool selected)
{
  CGContextRef ctx = set->drawingContext();
  const normalcolor background = set->colors[kUIBackground];
  const int16_t mid = int16_t((cell->top + cell->bottom) / 2);
  Rect label = *cell;
  switch (altStyle) {
    case 1: {
      paintTab(ctx, *cell, selected ? color1 : background);
      const Rect icon = markRect(int16_t(mid - 7), cell->left);
      drawPict(set, icon, resID, 0);
      label.left = icon.right;
      break;
    }
    case 2: {
      paintTab(ctx, *cell, selected ? color1 : UI_MeanColor(background, color2));
      Rect swatch = markRect(int16_t(mid - 7), int16_t(cell->left + 2));
      if (auto proc = reinterpret_cast<uiChooserDrawProc>(number.word2)) {
        const Rect saved = rect;
        rect = swatch;
        proc(this, set->owner, i, 0);
        rect = saved;
      } else {
        const normalcolor c = selected ? set->hiliteColor : color1;
        QZ_paintRoundBox(ctx, swatch.left, swatch.top, kMarkSide, kMarkSide, kTabRadius, 1,
                         c.red / 255.0f, c.green / 255.0f, c.blue / 255.0f);
      }
      label.left = int16_t(swatch.right + 2);
      break;
    }
    case 3:
      break;
    default:
      paintTab(ctx, *cell, selected ? color1 : background);
      break;
  }
  drawLabel(set, this, &look, label, resID, i, selected);
}

void uitem_radiobuttons::DrawCell(uiset* set, matrix* m, int16_t i, bool selected)
{
  Rect cell = Cell(*m, i);
  switch (variant) {
    case 0:
      Draw_RadioItem(set, this, &look, &cell, resID, i, selected);
      return;
    case 1:
    case 2:
      DrawPictitem(set, m, i, 0, selected);
      return;
    case 4:
      Draw_RadioTlistItem(set, &cell, i, selected);
      return;
    default:
      return;
  }
}

void uitem_radiobuttons::DrawAllitems(uiset* set, matrix* m, int16_t selected)
{
  for (int16_t i = 0; i < m->count; ++i)
    DrawCell(set, m, i, i == selected);
}

void uitem_radiobuttons::Draw(uiset* set)
{
  if (!set->drawingContext())
    return;
  matrix m = Layout(set, true);
  if (variant == 1)
    set->work.light = color2;
  const int16_t* value = valueOf(number);
  DrawAllitems(set, &m, value ? *value : 0);
}

void uitem_radiobuttons::Act(uiset* set, Point where)
{
  if (style > 5)
    Draw(set);
  matrix m = Layout(set, false);
  if (variant == 1)
    set->work.light = color2;
  const int16_t* value = valueOf(number);
  int16_t current = value ? *value : 0;
  auto follow = [&](Point p) {
    const int16_t hit = HitCell(m, p);
    if (hit < 0 || hit == current)
      return;
    if (current >= 0 && current < m.count) {
      if (variant == 2)
        DrawPictitem(set, &m, current, 1, false);
      else
        DrawCell(set, &m, current, false);
    }
    DrawCell(set, &m, hit, true);
    set->lastChosen = hit;
    current = hit;
  };
  follow(where);
  Point p = where;
  while (set->owner && set->owner->PortButtonCallBack(&p))
    follow(p);
  needsRedraw = 1;
  if (auto* out = valueOf(number))
    *out = current;
}
