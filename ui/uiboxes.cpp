// Decorative boxes, custom items and embedded editors.
#include "ui/uiboxes.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "foundation/colormath.h"
#include "imaging/cursorkeys.h"
#include "imaging/filters.h"
#include "imaging/offworld.h"
#include "imaging/ports.h"
#include "imaging/qzbitmaps.h"
#include "ui/edoc.h"
#include "ui/qzdraw.h"
#include "ui/uidrawhelpers.h"
#include "ui/uipictures.h"
#include "ui/uiset.h"
#include "ui/uitem.h"
#include "ui/xeditor.h"

namespace {

enum : int8_t
{
  kBoxFrame = 0,
  kBoxPicture = 1,
  kBoxFittedPicture = 2,
  kBoxFill = 3,
  kBoxGradientH = 4,
  kBoxGradientV = 5,
  kBoxHalo = 6,
  kBoxGlow = 7,
  kBoxTexture = 8,
  kBoxImage = 9,
};

constexpr int32_t kHaloBlur = 64;
constexpr double kHaloInset = 0.3;
constexpr CGBlendMode kBlendScreen = 2;
constexpr int32_t kGlowLastIndex = 256;
constexpr int16_t kTextureCopies = 60;
constexpr uint32_t kTextureSeed = 128;
constexpr int8_t kEnter = 3;

enum : int16_t
{
  kCustomClick = 0,
  kCustomDraw = 1,
  kCustomIdle = 10,
};

normalcolor withAlpha(normalcolor c, uint8_t alpha)
{
  c.flag = alpha;
  return c;
}

// A gradient from `from` to `to` with one entry a column (horizontal) or
// a row.
void fillGradient(CGContextRef ctx, const Rect& r, normalcolor from, normalcolor to,
                  bool horizontal)
{
  const int32_t steps = horizontal ? RectWidth(r) : RectHeight(r);
  if (steps <= 0)
    return;
  const normalcolor ends[2] = {from, to};
  std::vector<normalcolor> table(size_t(steps) + 1);
  Buildgradation_CMAP(table.data(), ends, 2, steps - 1, true);
  if (horizontal)
    QZ_fillboxGradientH(ctx, table.data(), r);
  else
    QZ_fillboxGradientV(ctx, table.data(), r);
}

// The rectangle redrawn through the Gaussian mask of a 257-entry ramp
// through colour 2, colour 1 and work colour 1.
void drawGlow(uiset* set, const uiItemRecord* item, CGContextRef ctx)
{
  if (!gTempbuffer)
    return;
  const normalcolor stops[3] = {item->color2, item->color1, set->work.frame};
  Buildgradation_CMAP(static_cast<normalcolor*>(gTempbuffer), stops, 3, kGlowLastIndex, false);
  QZ_BlitPixCommandes(ctx, item->rect, kGlowLastIndex, gw_GaussMask, kQZBlendNormal, false);
}

void drawPicture(uiset* set, uiItemRecord* item, int16_t mode)
{
  if (item->resID < 1)
    EDraw_PictItem(set->owner, item->rect, item->resID, &set->pictureDraw, mode);
  else
    item->cachedImage = EDraw_MemPictItem(set->owner, item->cachedImage, item->rect, item->resID,
                                          &set->pictureDraw, mode);
}

void drawHalo(CGContextRef ctx, uiItemRecord* item)
{
  if (!item->cachedImage)
    item->cachedImage = MakeimageHalo(item->rect, item->color2);
  if (!item->cachedImage)
    return;
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetBlendMode(ctx, kBlendScreen);
  QZdrawfit_image(ctx, item->rect, item->cachedImage, nullptr);
  QZ_ContextRestoreGState(ctx);
}

void drawTexture(CGContextRef ctx, const uiItemRecord* item)
{
  CGImageRef image = QZ_LoadUIImage(item->resID);
  if (!image)
    return;
  QZdraw_imagetexture(ctx, image, item->rect, kTextureCopies);
  QZ_ImageRelease(image);
}

// The frame of a custom or editor item, filled with colour 1 for alternative
// styles 1 and 3; clipped to it for 1 and 2 (the caller ends the clip).
Rect frameAndClip(uiset* set, uiItemRecord* item, CGContextRef ctx, bool* clipped)
{
  const Rect r = set->drauibounds(item, item->rect, item->style);
  if (item->altStyle == 1 || item->altStyle == 3)
    UI_FillRect(ctx, r, item->color1);
  *clipped = item->altStyle == 1 || item->altStyle == 2;
  if (*clipped)
    BeginClip(ctx, r);
  return r;
}

}  // namespace

CGImageRef MakeimageHalo(Rect r, normalcolor color)
{
  const int32_t w = RectWidth(r), h = RectHeight(r);
  if (w <= 0 || h <= 0 || w > INT16_MAX || h > INT16_MAX)
    return nullptr;
  AccessPix pixels;
  CGContextRef ctx = QZ_CreateBitmapContext(int16_t(w), int16_t(h), &pixels, true);
  if (!ctx)
    return nullptr;
  const int32_t dx = int32_t(kHaloInset * (w / 2.0 - 2));
  const int32_t dy = int32_t(kHaloInset * (h / 2.0 - 2));
  QZ_paintOval(ctx, float(dx), float(dy), float(w - 2 * dx), float(h - 2 * dy), 1,
               color.red / 255.0f, color.green / 255.0f, color.blue / 255.0f);
  gw_FastBlurr32(w, h, pixels.base, pixels.rowBytes, kHaloBlur);
  CGImageRef image = QZ_BitmapContextCreateImage(ctx);
  QZ_KillBitmapContext(&ctx, nullptr);
  return image;
}

void QZdraw_imagetexture(CGContextRef ctx, CGImageRef image, Rect r, int16_t count)
{
  if (!ctx || !image)
    return;
  std::minstd_rand random(kTextureSeed);
  auto unit = [&random] { return double(random()) / 2147483647.0; };
  const double iw = QZ_ImageGetWidth(image), ih = QZ_ImageGetHeight(image);
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetAlpha(ctx, 0.5);
  QZ_ContextClipToRect(ctx, QZ_RectFromRect(r));
  for (int16_t i = 0; i < count; ++i) {
    const double x = r.left + unit() * RectWidth(r);
    const double y = r.top + unit() * RectHeight(r);
    const double angle = (unit() - 0.5) * M_PI;
    QZ_ContextSaveGState(ctx);
    QZ_ContextTranslateCTM(ctx, x, y);
    QZ_ContextRotateCTM(ctx, angle);
    QZdraw_image(ctx, float(-iw / 2), float(-ih / 2), image);
    QZ_ContextRestoreGState(ctx);
  }
  QZ_ContextRestoreGState(ctx);
}

// ---- Boxes -------------------------------------------------------------------------

void uitem_Box::Draw(uiset* set)
{
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  set->getmaincolors(this, style);
  switch (variant) {
    case kBoxFrame:
      set->drauibounds(this, rect, style);
      return;
    case kBoxPicture:
      drawPicture(set, this, 0);
      return;
    case kBoxFittedPicture:
      drawPicture(set, this, 2);
      return;
    case kBoxFill:
      UI_FillRect(ctx, rect, withAlpha(color1, 255));
      return;
    case kBoxGradientH:
      fillGradient(ctx, rect, withAlpha(color2, 255), withAlpha(color1, 128), true);
      return;
    case kBoxGradientV:
      fillGradient(ctx, rect, withAlpha(color2, 255), withAlpha(color1, 255), false);
      return;
    case kBoxHalo:
      drawHalo(ctx, this);
      return;
    case kBoxGlow:
      drawGlow(set, this, ctx);
      return;
    case kBoxTexture:
      drawTexture(ctx, this);
      return;
    case kBoxImage:
      if (cachedImage)
        QZdrawfit_image(ctx, rect, cachedImage, nullptr);
      return;
    default:
      return;
  }
}

// ---- Custom items ------------------------------------------------------------------

void uitem_custom::Draw(uiset* set)
{
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  bool clipped = false;
  frameAndClip(set, this, ctx, &clipped);
  if (userProc && userData)
    userProc(this, userData, kCustomDraw, nullptr);
  if (clipped)
    EndClip(ctx);
}

void uitem_custom::Act(uiset* set, Point where)
{
  if (!userProc || !userData)
    return;
  CGContextRef ctx = set->drawingContext();
  const bool clipped = ctx && (altStyle == 1 || altStyle == 2);
  if (clipped)
    BeginClip(ctx, set->getuibounds(this, rect, style));
  userProc(this, userData, kCustomClick, &where);
  if (clipped)
    EndClip(ctx);
}

void uitem_custom::Idle(uiset*, Point where)
{
  if (altStyle > 3 && userProc && userData)
    userProc(this, userData, kCustomIdle, &where);
}

// ---- Embedded editors -------------------------------------------------------------

void uitem_xeditor::Draw(uiset* set)
{
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  bool clipped = false;
  frameAndClip(set, this, ctx, &clipped);
  if (editor && editor->items)
    editor->items->Draw(&set->clipRect);
  if (clipped)
    EndClip(ctx);
}

void uitem_xeditor::Act(uiset*, Point where)
{
  if (editor && editor->act)
    editor->act(editor, where);
}

int16_t uitem_xeditor::Key(uiset* set, int8_t character)
{
  if (!editor || !editing)
    return 0;
  uiset* inner = editor->items;
  if (character == kEnter) {
    if (inner && inner->focused >= 0) {
      inner->typedCount = 0;
      set->typedCount = 0;
      inner->Drawuitem(inner->focused);
      if (set->owner)
        set->owner->Refresh();
      set->keyResult = 1;
    }
    return 0;
  }
  if (!editor->key)
    return 0;
  if (editor->key(set->owner, character, editor) > 2)
    return 0;
  set->keyResult = 1;
  return 1;
}

void uitem_xeditor::Idle(uiset*, Point where)
{
  if (editor && editor->hilite)
    editor->hilite(editor, where);
  needsRedraw = 1;
}

void uitem_xeditor::PreHilite(uiset* set)
{
  Point where{0, 0};
  if (set->owner)
    GetMouse(&where);
  Idle(set, where);
}

void uitem_xeditor::select(uiset* set)
{
  editing = 1;
  if (style > 0)
    set->drauibounds(this, rect, style);
  if (!editor)
    return;
  editor->active = true;
  if (uiset* inner = editor->items) {
    inner->focused = -1;
    uitem* next = nullptr;
    const int16_t n = inner->GetNextNumberItem(&next);
    if (n >= 0 && next)
      inner->Selectitem(next, n, 1);
  }
}

void uitem_xeditor::deselect(uiset* set)
{
  editing = 0;
  if (style > 0)
    set->drauibounds(this, rect, style);
  if (!editor)
    return;
  if (editor->items)
    editor->items->Unselectall();
  editor->active = false;
}
