#include "ui/uiframes.h"

#include <algorithm>

#include "foundation/colormath.h"
#include "imaging/ports.h"
#include "ui/qzdraw.h"
#include "ui/uiset.h"

namespace {

constexpr normalcolor kEditingWork{255, 0, 0, 127};
constexpr normalcolor kWhite{255, 255, 255, 255};
constexpr normalcolor kBlack{255, 0, 0, 0};
constexpr int8_t kLastFrameStyle = 13;
constexpr float kFrameRadius = 6;

Rect inset(const Rect& r, int16_t top, int16_t left, int16_t bottom, int16_t right)
{
  return Rect{int16_t(r.top + top), int16_t(r.left + left), int16_t(r.bottom - bottom),
              int16_t(r.right - right)};
}

Rect insetBy(const Rect& r, int16_t n)
{
  return inset(r, n, n, n, n);
}

void setFill(CGContextRef ctx, normalcolor c, double alpha)
{
  QZ_ContextSetRGBFillColor(ctx, c.red / 255.0, c.green / 255.0, c.blue / 255.0, alpha);
}

void fillRect(CGContextRef ctx, const Rect& r, normalcolor c, double alpha = 1)
{
  setFill(ctx, c, alpha);
  QZ_ContextFillRect(ctx, QZ_RectFromRect(r));
}

void fillBox(CGContextRef ctx, double x, double y, double w, double h)
{
  QZ_ContextFillRect(ctx, QZRect{x, y, w, h});
}

// emboss(n, A, B, alpha) of the frame table: cEmbossRect on r inset by n.
void emboss(CGContextRef ctx, const Rect& r, int16_t n, normalcolor a, normalcolor b, float alpha)
{
  Rect e = insetBy(r, n);
  cEmbossRect(ctx, Point{e.top, e.left}, Point{e.bottom, e.right}, a, b, alpha);
}

// A 1-pixel outline inside r, antialiasing off.
void outline(CGContextRef ctx, const Rect& r, normalcolor c)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetShouldAntialias(ctx, false);
  QZ_ContextSetRGBStrokeColor(ctx, c.red / 255.0, c.green / 255.0, c.blue / 255.0, 1);
  QZ_ContextSetLineWidth(ctx, 1);
  QZ_ContextStrokeRect(ctx,
                       QZRect{r.left + 0.5, r.top + 0.5, RectWidth(r) - 1.0, RectHeight(r) - 1.0});
  QZ_ContextRestoreGState(ctx);
}

void roundFill(CGContextRef ctx, const Rect& r, normalcolor c)
{
  QZ_paintRoundBox(ctx, r.left, r.top, RectWidth(r), RectHeight(r), kFrameRadius, 1, c.red / 255.0f,
                   c.green / 255.0f, c.blue / 255.0f);
}

void roundOutline(CGContextRef ctx, const Rect& r, normalcolor c, float offset)
{
  QZ_frameRoundBox(ctx, r.left + offset, r.top + offset, RectWidth(r) - 2 * offset,
                   RectHeight(r) - 2 * offset, kFrameRadius, 1, 1, c.red / 255.0f, c.green / 255.0f,
                   c.blue / 255.0f);
}

// Rows from c1 at the top to c2 at the bottom, one colour a row.
void verticalGradient(CGContextRef ctx, const Rect& r, normalcolor c1, normalcolor c2)
{
  const int32_t height = RectHeight(r);
  for (int32_t row = 0; row < height; ++row) {
    normalcolor c = PColorLERP(&c1, &c2, height > 1 ? double(row) / (height - 1) : 0.0);
    setFill(ctx, c, 1);
    fillBox(ctx, r.left, r.top + row, RectWidth(r), 1);
  }
}

normalcolor opaque(normalcolor c)
{
  c.flag = 255;
  return c;
}

normalcolor darker32(normalcolor c)
{
  c.red = uint8_t(std::max(0, c.red - 32));
  c.green = uint8_t(std::max(0, c.green - 32));
  c.blue = uint8_t(std::max(0, c.blue - 32));
  return c;
}

}  // namespace

normalcolor UI_MeanColor(normalcolor a, normalcolor b)
{
  return normalcolor{255, uint8_t((a.red + b.red) / 2), uint8_t((a.green + b.green) / 2),
                     uint8_t((a.blue + b.blue) / 2)};
}

void cEmbossRect(CGContextRef ctx, Point topLeft, Point bottomRight, normalcolor a, normalcolor b,
                 float alpha)
{
  if (!ctx)
    return;
  const double top = topLeft.v, left = topLeft.h, bottom = bottomRight.v, right = bottomRight.h;
  setFill(ctx, b, alpha);
  fillBox(ctx, left, top, 1, bottom - top);
  fillBox(ctx, left + 1, top, right - left - 1, 1);
  setFill(ctx, a, alpha);
  fillBox(ctx, right, top, 1, bottom - top + 1);
  fillBox(ctx, left, bottom, right - left, 1);
}

void EPaintEmbossRect(CGContextRef ctx, Point topLeft, Point bottomRight, normalcolor color,
                      bool pressed)
{
  if (!ctx)
    return;
  const Rect r{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
  fillRect(ctx, r, color);
  const normalcolor lit = pressed ? kBlack : kWhite;
  const normalcolor shade = pressed ? kWhite : kBlack;
  const Rect e = inset(r, 0, 0, 1, 1);
  emboss(ctx, e, 0, shade, lit, 0.5f);
  emboss(ctx, e, 1, shade, lit, 0.2f);
}

void cHollowEmbossRect(CGContextRef ctx, int16_t left, int16_t top, int16_t right, int16_t bottom,
                       normalcolor a, normalcolor b)
{
  cEmbossRect(ctx, Point{top, left}, Point{bottom, right}, b, a, 1);
}

Rect cShadowRect(CGContextRef ctx, Point topLeft, Point bottomRight, normalcolor color)
{
  const Rect r{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
  if (ctx)
    QZ_paintShadowedRect(ctx, r.left, r.top, RectWidth(r), RectHeight(r), 1, color.red / 255.0f,
                         color.green / 255.0f, color.blue / 255.0f);
  return r;
}

// ---- Work colours and frames of the item set ----------------------------------------------

void uiset::getmaincolors(const uiItemRecord* item, int8_t)
{
  const normalcolor bg = colors[kUIBackground];
  const normalcolor frame = colors[kUIFrameColor];
  const normalcolor c1 = item->color1, c2 = item->color2;
  work = uiWorkColor{frame, colors[kUILightColor], colors[kUIShadowColor]};
  const bool typed = item->kind == kUIEditText || item->kind == kUINumber;
  const int8_t s = item->altStyle;

  if (item->kind == kUIXEditor) {
    work.light = item->editing ? c2 : frame;
    return;
  }
  if (typed) {
    work.frame = UI_MeanColor(bg, c1);
  } else if (s == 1 || s == 4 || s == 8) {
    work.frame = UI_MeanColor(bg, c1);
    work.light = UI_MeanColor(bg, c2);
  } else if (s == 2 || s == 5 || s == 9) {
    work.frame = c1;
    work.light = c2;
  } else if (s == 6) {
    work.light = UI_MeanColor(bg, work.light);
  }

  if (item->visibility == kUIDisabled) {
    work.shadow = UI_MeanColor(work.shadow, frame);
    work.frame = UI_MeanColor(frame, UI_MeanColor(frame, work.frame));
    work.light = UI_MeanColor(frame, UI_MeanColor(frame, work.light));
  } else if (item->editing == 1) {
    if (typed)
      work.frame = kEditingWork;
    else if (s >= 3 && s <= 5)
      work.frame = darker32(work.frame);
    else if (s >= 7)
      work.frame = PColorLERP(&work.frame, &hiliteColor, 0.25);
  }
}

Rect uiset::getuibounds(const uiItemRecord*, Rect r, int8_t frameStyle) const
{
  switch (frameStyle) {
    case 1:
      return inset(r, 0, 0, 1, 1);
    case 3:
      return inset(r, 2, 2, 1, 1);
    case 6:
      return inset(r, 1, 1, 2, 2);
    case 7:
    case 10:
    case 11:
      return insetBy(r, 1);
    default:
      return insetBy(r, 2);
  }
}

Rect uiset::drauibounds(const uiItemRecord* item, Rect r, int8_t frameStyle)
{
  getmaincolors(item, frameStyle);
  CGContextRef ctx = drawingContext();
  if (frameStyle < 0 || frameStyle > kLastFrameStyle)
    return insetBy(r, 2);
  const normalcolor light = colors[kUILightColor];
  const normalcolor w1 = work.frame, w2 = work.light, w3 = work.shadow;
  switch (frameStyle) {
    case 0:
      return r;
    case 1:
      if (ctx)
        outline(ctx, r, w1);
      return inset(r, 0, 0, 1, 1);
    case 2:
      if (ctx) {
        const double grey = colors[kUIShadowColor].green / 255.0;
        QZ_ContextSaveGState(ctx);
        QZ_ContextSetRGBStrokeColor(ctx, grey, grey, grey, 0.4);
        QZ_ContextSetLineWidth(ctx, 1);
        QZ_ContextStrokeRect(
            ctx, QZRect{r.left + 0.75, r.top + 0.75, RectWidth(r) - 1.5, RectHeight(r) - 1.5});
        QZ_ContextRestoreGState(ctx);
        emboss(ctx, r, 1, w3, light, 0.75f);
        emboss(ctx, r, 2, w3, light, 0.4f);
      }
      return inset(r, 3, 3, 2, 2);
    case 3:
      if (ctx)
        emboss(ctx, r, 1, w3, light, 0.75f);
      return inset(r, 2, 2, 1, 1);
    case 4:
      if (ctx) {
        emboss(ctx, r, 1, w3, w2, 1);
        emboss(ctx, r, 2, w3, light, 0.75f);
      }
      return insetBy(r, 2);
    case 5:
      if (ctx)
        roundOutline(ctx, r, w2, 0.5f);
      return insetBy(r, 2);
    case 6:
      return cShadowRect(ctx, Point{int16_t(r.top + 1), int16_t(r.left + 1)},
                         Point{int16_t(r.bottom - 2), int16_t(r.right - 2)}, w1);
    case 7:
      if (ctx)
        fillRect(ctx, r, w1);
      return insetBy(r, 1);
    case 8:
      if (ctx)
        roundFill(ctx, r, w1);
      return insetBy(r, 2);
    case 9:
      if (ctx)
        verticalGradient(ctx, r, opaque(item->color1), opaque(w1));
      return r;
    case 10:
      if (ctx) {
        outline(ctx, r, w2);
        fillRect(ctx, insetBy(r, 1), w1);
      }
      return insetBy(r, 1);
    case 11:
      if (ctx) {
        roundFill(ctx, r, w1);
        roundOutline(ctx, r, w2, 0.5f);
      }
      return insetBy(r, 2);
    case 12:
      if (ctx)
        EPaintEmbossRect(ctx, Point{r.top, r.left}, Point{r.bottom, r.right}, w1, false);
      return insetBy(r, 2);
    default:  // 13
      if (ctx) {
        emboss(ctx, r, 1, w2, w3, 0.75f);
        fillRect(ctx, inset(r, 2, 2, 1, 1), w1);
      }
      return inset(r, 2, 2, 1, 1);
  }
}
