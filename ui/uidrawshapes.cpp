#include "ui/uidrawshapes.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/palettes.h"
#include "foundation/appshell.h"
#include "foundation/checked.h"
#include "foundation/modifierkeys.h"
#include "imaging/bufcommands.h"
#include "imaging/cursorkeys.h"
#include "imaging/drawing.h"
#include "imaging/filters.h"
#include "imaging/ports.h"
#include "imaging/qzbitmaps.h"
#include "platform/resources.h"
#include "ui/edoc.h"
#include "ui/porttext.h"
#include "ui/qztext.h"
#include "ui/uidrawhelpers.h"
#include "ui/uiframes.h"
#include "ui/uipictures.h"
#include "ui/uiset.h"

namespace {

constexpr int32_t kVectorScale = 1024;
constexpr int16_t kBarColorCycle = 4;

normalcolor grey(uint8_t level)
{
  return normalcolor{255, level, level, level};
}

void setFill(CGContextRef ctx, normalcolor c)
{
  QZ_ContextSetRGBFillColor(ctx, c.red / 255.0, c.green / 255.0, c.blue / 255.0, 1);
}

void drawDocText(Edoc* doc, ConstStringPtr text, Rect r)
{
  const float* c = doc->textColor;
  QZ_drawString(doc->context, &doc->look, text, r, 1, c[1], c[2], c[3]);
}

void appendPString(StringPtr out, ConstStringPtr more)
{
  const int n = std::min<int>(more ? more[0] : 0, 255 - out[0]);
  if (n > 0)
    std::memcpy(out + 1 + out[0], more + 1, size_t(n));
  out[0] = uint8_t(out[0] + std::max(n, 0));
}

void fillColumns(CGContextRef ctx, Rect r, int32_t from, int32_t to, normalcolor c)
{
  if (to <= from)
    return;
  setFill(ctx, c);
  QZ_ContextFillRect(ctx,
                     QZRect{double(from), double(r.top), double(to - from), double(RectHeight(r))});
}

// The rail's left-of-position part and right part in the given colours.
void railSplit(CGContextRef ctx, Rect rail, int16_t position, normalcolor left, normalcolor right)
{
  const int32_t x = std::clamp<int32_t>(position, rail.left, rail.right);
  fillColumns(ctx, rail, rail.left, x, left);
  fillColumns(ctx, rail, x, rail.right, right);
}

void railGradient(CGContextRef ctx, Rect rail, std::initializer_list<normalcolor> colors)
{
  const std::vector<normalcolor> list(colors);
  PAINTGRADLINE(ctx, rail.left, rail.right, rail.top, int16_t(RectHeight(rail)),
                int32_t(list.size()), list.data());
}

// One bar editor over doubles or integers: `toScale` turns a stored value
// into 0..1024 for drawing, `valueAt` gives the value at a distance above
// the bottom of a rectangle of the height, `mix` interpolates two values.
template <class T, class ToScale, class ValueAt, class Mix>
int16_t trackVector(Edoc* doc, const normalcolor* colors, Rect r, int16_t count, T* values,
                    const normalcolor* barColors, const Point* where, ToScale toScale,
                    ValueAt valueAt, Mix mix)
{
  count = std::max<int16_t>(count, 2);
  const int32_t width = std::max(RectWidth(r), 1), height = std::max(RectHeight(r), 1);
  if (!where) {
    for (int16_t i = 0; i < count; ++i)
      Draw_VecGge_int(doc, colors, r, toScale(values[i]), i, count, barColors);
    return 0;
  }
  auto inside = [&](Point p) {
    return r.left <= p.h && p.h < r.right && r.top <= p.v && p.v < r.bottom;
  };
  if (!inside(*where))
    return -1;
  int16_t last = -1;
  auto set = [&](int16_t i, T v) {
    values[i] = v;
    Draw_VecGge_int(doc, colors, r, toScale(v), i, count, barColors);
  };
  auto step = [&](Point p) {
    const auto index = int16_t(std::clamp<int32_t>((p.h - r.left) * count / width, 0, count - 1));
    set(index, valueAt(std::clamp<int32_t>(r.bottom - p.v, 0, height), height));
    if (last >= 0 && std::abs(index - last) > 1) {
      const int16_t lo = std::min(index, last), hi = std::max(index, last);
      for (int16_t i = int16_t(lo + 1); i < hi; ++i)
        set(i, mix(values[lo], values[hi], double(i - lo) / double(hi - lo)));
    }
    last = index;
  };
  step(*where);
  Point p = *where;
  while (buttontrue(&p))
    if (inside(p))
      step(p);
  return last;
}

}  // namespace

void Draw_TextBox(Edoc* doc, ConstStringPtr text, Rect r)
{
  CGContextRef ctx = doc ? doc->context : nullptr;
  if (!ctx)
    return;
  const float* b = doc->backgroundColor;
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetRGBFillColor(ctx, b[1], b[2], b[3], 1);
  QZ_ContextFillRect(ctx, QZ_RectFromRect(r));
  QZ_ContextClipToRect(ctx, QZ_RectFromRect(r));
  drawDocText(doc, text, r);
  QZ_ContextRestoreGState(ctx);
}

void Draw_Text(Edoc* doc, int16_t h, int16_t v, ConstStringPtr text)
{
  if (!doc || !doc->context)
    return;
  drawDocText(doc, text, Rect{int16_t(v - 14), h, int16_t(v + 2), int16_t(h + 64)});
}

void Draw_Value(Edoc* doc, int32_t value, int16_t h, int16_t v, ConstStringPtr suffix)
{
  Str255 text;
  text[0] = uint8_t(std::snprintf(reinterpret_cast<char*>(text + 1), 254, "%d", int(value)));
  appendPString(text, suffix);
  Draw_Text(doc, h, v, text);
}

void DrawArrow(CGContextRef ctx, Rect r, normalcolor color, int16_t direction)
{
  const float angle = direction == 1 || direction == 3 ? float(-M_PI / 2) : float(M_PI / 2);
  QZ_ContextBeginPath(ctx);
  QZpath_Arrow(ctx, r.left + 3, r.top + 1, RectWidth(r) - 6, RectHeight(r) - 2, angle);
  setFill(ctx, color);
  QZ_ContextFillPath(ctx);
}

void Draw_DownArrow(CGContextRef ctx, int16_t top, Rect r, normalcolor color)
{
  const float y = (top + r.bottom) / 2.0f - 2.5f;
  QZ_ContextBeginPath(ctx);
  QZpath_Arrow(ctx, r.right - 11.0f, y, 5, 5, float(M_PI));
  setFill(ctx, color);
  QZ_ContextFillPath(ctx);
}

void EClines(CGContextRef ctx, int32_t count, const QZPoint* points, normalcolor color)
{
  if (count < 2 || !points)
    return;
  QZ_ContextBeginPath(ctx);
  QZpath_lines(ctx, points, count);
  QZ_ContextSetRGBStrokeColor(ctx, color.red / 255.0, color.green / 255.0, color.blue / 255.0, 1);
  QZ_ContextSetLineWidth(ctx, 1);
  QZ_ContextStrokePath(ctx);
}

void DrawTinyThumb(CGContextRef ctx, float x, float y, float size)
{
  QZ_ContextSetRGBFillColor(ctx, 0.133, 0.133, 0.133, 1);
  QZ_ContextFillRect(ctx, QZRect{x - 2.5, double(y), 5, double(size)});
  QZ_drawLine(ctx, x, y, x, y + size, 1, 1, 1, 0, 0);
  QZ_paintOval(ctx, x - 1, y + size / 2 - 1, 2, 2, 1, 0.6f, 1, 0.2f);
}

void DrawRedRailBox(uiset* set, CGContextRef ctx, Rect r, const uiWorkColor* work, int16_t position,
                    int16_t size, int16_t style, int16_t mode)
{
  if (!ctx || mode == 2)
    return;
  const int16_t thickness = size < 9 ? 1 : 3;
  const auto bottom = int16_t(r.bottom - 2);
  const Rect rail{int16_t(bottom - thickness), int16_t(r.left + 1), bottom, r.right};
  const normalcolor bg = set->colors[kUIBackground];
  const normalcolor half{255, uint8_t(bg.red / 2), uint8_t(bg.green / 2), uint8_t(bg.blue / 2)};
  const normalcolor edgeA = mode == 0 ? half : grey(0);
  const normalcolor edgeB = mode == 0 ? UI_MeanColor(half, grey(72)) : grey(72);
  cHollowEmbossRect(ctx, int16_t(rail.left - 1), int16_t(rail.top - 1), rail.right, rail.bottom,
                    edgeA, edgeB);
  const normalcolor red{255, 255, 0, 0};
  bool thumb = mode == 1;
  switch (style) {
    case 1:
      railGradient(ctx, rail, {red, normalcolor{255, 255, 255, 0}, normalcolor{255, 0, 255, 0}});
      break;
    case 2:
      if (mode == 0) {
        fillColumns(ctx, rail, rail.left, rail.right, work->frame);
        return;
      }
      railGradient(ctx, rail, {grey(0), grey(255)});
      break;
    case 3:
      railGradient(ctx, rail, {grey(17), grey(68)});
      break;
    case 4:
      railGradient(ctx, rail, {grey(0), normalcolor{255, 0, 255, 255}, red});
      break;
    case 5: {
      railGradient(ctx, rail, {grey(0), grey(mode == 1 ? 136 : 68)});
      const Rect left{rail.top, rail.left, rail.bottom,
                      int16_t(std::clamp<int32_t>(position, rail.left, rail.right))};
      if (mode == 0) {
        fillColumns(ctx, rail, left.left, left.right, bg);
        return;
      }
      if (mode == 1)
        PAINTGRADLINE(ctx, left.left, left.right, rail.top, thickness, 2,
                      std::vector<normalcolor>{normalcolor{255, 64, 0, 0}, red}.data());
      else if (mode == 255)
        fillColumns(ctx, rail, left.left, left.right, grey(68));
      thumb = false;
      if (mode == 1)
        DrawTinyThumb(ctx, position, r.top, float(RectHeight(r)));
      return;
    }
    default: {
      const normalcolor left = mode == 0 ? bg : mode == 1 ? red : mode == 255 ? grey(68) : edgeB;
      railSplit(ctx, rail, position, left, mode == 1 ? grey(16) : bg);
      break;
    }
  }
  if (thumb)
    DrawTinyThumb(ctx, position, r.top, float(RectHeight(r)));
}

void Draw_PictnTextItem(uiset* set, Rect r, uiItemRecord* item, ConstStringPtr text, int16_t code,
                        int16_t offset, bool selected)
{
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  item->editing = selected ? 1 : 0;
  set->getmaincolors(item, item->style);
  const int16_t side = int16_t(RectWidth(item->rect));
  const Rect pict{r.top, r.left, int16_t(r.top + std::min<int32_t>(side, RectHeight(r))),
                  int16_t(r.left + std::min<int32_t>(side, RectWidth(r)))};
  const int16_t shown = int16_t(code < 0 ? code - offset : code + offset);
  EDraw_PictItem(set->owner, pict, shown, &set->pictureDraw, 0);
  UI_FrameRect(ctx, pict, selected ? set->hiliteColor : set->work.frame);
  if (text) {
    Str255 label;
    GetIndString(label, code, int16_t(offset + 1));
    const Rect labelRect{r.top, pict.right, r.bottom, r.right};
    const normalcolor fill = selected ? normalcolor{255, 16, 16, 64} : set->work.frame;
    static const textLook kLabelLook{10, 1, 0, 0};
    EDrawText(ctx, label, labelRect, set->owner ? &set->owner->look : &kLabelLook, &fill,
              selected ? set->hiliteColor : GetTextColor(set, item));
  }
  item->editing = 0;
}

void Draw_VecGge_int(Edoc* doc, const normalcolor* colors, Rect r, int32_t value, int16_t index,
                     int16_t count, const normalcolor* barColors)
{
  CGContextRef ctx = doc ? doc->context : nullptr;
  if (!ctx || count < 1)
    return;
  const int32_t width = RectWidth(r);
  const int32_t left = r.left + width * index / count;
  const int32_t right = r.left + width * (index + 1) / count;
  const int32_t barHeight =
      RectHeight(r) * std::clamp<int32_t>(value, 0, kVectorScale) / (kVectorScale - 1);
  const int32_t top = std::max<int32_t>(r.bottom - barHeight, r.top);
  setFill(ctx, colors[0]);
  QZ_ContextFillRect(
      ctx, QZRect{double(left), double(r.top), double(right - left), double(top - r.top)});
  setFill(ctx, barColors ? barColors[index % kBarColorCycle] : colors[3]);
  QZ_ContextFillRect(
      ctx, QZRect{double(left), double(top), double(right - left), double(r.bottom - top)});
}

int16_t Do_intvec(Edoc* doc, const normalcolor* colors, Rect r, int16_t count, int32_t* values,
                  const normalcolor* barColors, int32_t maximum, const Point* where)
{
  const int32_t top = std::max(maximum, 1);
  auto toScale = [top](int32_t v) {
    return int32_t(int64_t(std::clamp(v, 0, top)) * kVectorScale / top);
  };
  auto valueAt = [top](int32_t above, int32_t height) {
    return int32_t(int64_t(above) * top / height);
  };
  auto mix = [](int32_t a, int32_t b, double t) { return int32_t(std::lround(a + (b - a) * t)); };
  return trackVector(doc, colors, r, count, values, barColors, where, toScale, valueAt, mix);
}

int16_t Do_realvec(Edoc* doc, const normalcolor* colors, Rect r, int16_t count, double* values,
                   const normalcolor* barColors, const Point* where)
{
  auto toScale = [](double v) {
    return std::isnan(v) ? 0 : int32_t(std::lround(std::clamp(v, 0.0, 1.0) * kVectorScale));
  };
  auto valueAt = [](int32_t above, int32_t height) {
    return std::min<int32_t>(above * kVectorScale / height, kVectorScale) / double(kVectorScale);
  };
  auto mix = [](double a, double b, double t) { return a + (b - a) * t; };
  return trackVector(doc, colors, r, count, values, barColors, where, toScale, valueAt, mix);
}

// ---- Numbers in ports, palettes ------------------------------------------------

void Draw_StringInt(int16_t h, int16_t v, int32_t value, normalcolor color)
{
  CGrafPtr port = nullptr;
  GetGWorld(&port, nullptr);
  CGContextRef ctx = port ? QZ_OpenContext(port) : nullptr;
  if (!ctx)
    return;
  const PortTextStyle style = GetPortTextStyle(port);
  const int8_t size = int8_t(std::clamp<int32_t>(style.size > 0 ? style.size : 12, 1, 127));
  // A top baseline lies 1.25 sizes below the rectangle's top; the text
  // starts 4 pixels right of its left.
  const textLook look{size, uint8_t(style.font), uint8_t(style.face & 3), 3};
  const int32_t rise = int32_t(std::lround(1.25 * size));
  const Rect r{int16_t(std::clamp<int32_t>(v - rise, INT16_MIN, INT16_MAX)),
               int16_t(std::clamp<int32_t>(h - 4, INT16_MIN, INT16_MAX)),
               int16_t(std::clamp<int32_t>(v + size, INT16_MIN, INT16_MAX)),
               int16_t(std::clamp<int32_t>(h + 32767, INT16_MIN, INT16_MAX))};
  Str255 text;
  text[0] = uint8_t(std::snprintf(reinterpret_cast<char*>(text + 1), 254, "%d  ", int(value)));
  QZ_drawString(ctx, &look, text, r, 1, color.red / 255.0f, color.green / 255.0f,
                color.blue / 255.0f);
  QZ_CloseContext(ctx, port);
}

void draw_cpaletteitem(CGContextRef ctx, const cpalettelib* library, int16_t index, Rect r,
                       bool selected)
{
  if (!ctx || !library || index < 0 || index >= kPaletteLibSize)
    return;
  const cpalette& p = library->palettes[index];
  UI_FrameRect(ctx, r, selected ? normalcolor{255, 255, 255, 0} : grey(0));
  const Rect inner{int16_t(r.top + 1), int16_t(r.left + 1), int16_t(r.bottom - 1),
                   int16_t(r.right - 1)};
  PAINTGRADRECT(ctx, inner, std::clamp<int32_t>(p.count, 0, kPaletteSlots), p.colors);
}

// ---- Curves of values 0..1 ------------------------------------------------------

namespace {

constexpr double kCurveLift = 0.03;       // the curve stands this far above its value
constexpr double kCurveHeadroom = 1.055;  // height / scale: room above 1
constexpr double kCurveEditShift = 0.015;
constexpr int32_t kCurveCrossesBelow = 17;

double drawable(double v)
{
  return std::isfinite(v) ? std::clamp(v, -1e6, 1e6) : 0.0;
}

struct CurveFrame
{
  double x0, baseline, dx, scale;
};

CurveFrame curveFrame(Rect r, int32_t count)
{
  const double width = RectWidth(r);
  return CurveFrame{r.left + 1.5, double(r.bottom), count > 1 ? (width - 3) / (count - 1) : 0,
                    RectHeight(r) / kCurveHeadroom};
}

void drawCurveIn(CGContextRef ctx, const double* values, int32_t count, Rect r,
                 normalcolor background, normalcolor curve)
{
  UI_FillRect(ctx, r, background);
  const CurveFrame f = curveFrame(r, count);
  dvector_normdraw(ctx, values, count, f.x0, f.baseline, f.dx, f.scale, background, curve);
}

}  // namespace

void dvector_normdraw(CGContextRef ctx, const double* values, int32_t count, double x0,
                      double baseline, double dx, double scale, normalcolor fill,
                      normalcolor stroke)
{
  if (!ctx || !values || count < 1)
    return;
  const int32_t step = dx > 0 && dx < 1 ? std::max<int32_t>(1, kvnum::sat_i32(1.0 / dx)) : 1;
  std::vector<QZPoint> points;
  auto at = [&](int32_t i) {
    return QZPoint{float(x0 + i * dx),
                   float(baseline - (drawable(values[i]) + kCurveLift) * scale)};
  };
  for (int32_t i = 0; i < count; i += step)
    points.push_back(at(i));
  if ((count - 1) % step != 0)
    points.push_back(at(count - 1));
  QZ_ContextSaveGState(ctx);
  QZ_ContextBeginPath(ctx);
  QZ_ContextMoveToPoint(ctx, points.front().x, baseline);
  for (const QZPoint& p : points)
    QZ_ContextAddLineToPoint(ctx, p.x, p.y);
  QZ_ContextAddLineToPoint(ctx, points.back().x, baseline);
  QZ_ContextClosePath(ctx);
  QZ_ContextSetRGBFillColor(ctx, 0, 0.05, 0.35, 0.5);
  QZ_ContextFillPath(ctx);
  QZ_ContextBeginPath(ctx);
  QZpath_lines(ctx, points.data(), int32_t(points.size()));
  QZ_ContextSetRGBStrokeColor(ctx, stroke.red / 255.0, stroke.green / 255.0, stroke.blue / 255.0,
                              1);
  QZ_ContextSetLineWidth(ctx, 1);
  QZ_ContextStrokePath(ctx);
  if (count < kCurveCrossesBelow)
    for (const QZPoint& p : points) {
      QZ_drawLine(ctx, float(p.x - 2), float(p.y), float(p.x + 2), float(p.y), 1, 1, 1, 1, 1);
      QZ_drawLine(ctx, float(p.x), float(p.y - 2), float(p.x), float(p.y + 2), 1, 1, 1, 1, 1);
    }
  QZ_ContextRestoreGState(ctx);
  setFill(ctx, fill);
}

int16_t dvector_normdrawEdit(Edoc* doc, double* values, int32_t count, Rect r,
                             normalcolor background, normalcolor curve, const Point* where)
{
  CGContextRef ctx = doc ? doc->context : nullptr;
  if (!ctx || !values || count < 1)
    return -1;
  drawCurveIn(ctx, values, count, r, background, curve);
  if (!where)
    return 0;
  auto inside = [&](Point p) {
    return r.left <= p.h && p.h < r.right && r.top <= p.v && p.v < r.bottom;
  };
  if (!inside(*where))
    return -1;
  const CurveFrame f = curveFrame(r, count);
  auto nearest = [&](Point p) {
    const double at = f.dx > 0 ? (p.h - f.x0) / f.dx : 0;
    return int16_t(std::clamp<int32_t>(kvnum::sat_i32(std::round(at)), 0,
                                       std::min<int32_t>(count - 1, INT16_MAX)));
  };
  auto valueAt = [&](Point p) {
    return std::clamp((r.bottom - p.v) / f.scale - kCurveEditShift, 0.0, 1.0);
  };
  const int16_t first = nearest(*where);
  int16_t last = first;
  Point p = *where;
  values[first] = valueAt(p);
  const bool holdFirst = gshift != 0;
  for (;;) {
    drawCurveIn(ctx, values, count, r, background, curve);
    doc->FlushContext();
    if (!buttontrue(&p))
      break;
    if (holdFirst) {
      values[first] = valueAt(p);
      continue;
    }
    const int16_t index = nearest(p);
    values[index] = valueAt(p);
    if (std::abs(index - last) > 1) {
      const int16_t lo = std::min(index, last), hi = std::max(index, last);
      for (int16_t i = int16_t(lo + 1); i < hi; ++i)
        values[i] = values[lo] + (values[hi] - values[lo]) * double(i - lo) / double(hi - lo);
    }
    last = index;
  }
  return last;
}

void dvector_normdrawFC(CGContextRef ctx, const double* values, int32_t count, Rect r,
                        normalcolor color, normalcolor background)
{
  if (!ctx)
    return;
  drawCurveIn(ctx, values, count, r, background, color);
}

// ---- The halo as an off-screen buffer ---------------------------------------------

Offworld MakeGWHalo(Rect r, normalcolor color)
{
  const int32_t w = RectWidth(r), h = RectHeight(r);
  if (w <= 0 || h <= 0)
    return nullptr;
  const Rect bounds{0, 0, int16_t(h), int16_t(w)};
  Offworld world = nullptr;
  if (CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 32, &world) != noErr)
    return nullptr;
  const int32_t topLeft = PackRectTopLeft(bounds), bottomRight = PackRectBottomRight(bounds);
  Offworld_Commandes(world, nullptr, topLeft, bottomRight, 0, gw_colorfill, 0);
  // Inset as MakeimageHalo does: 0.3 of each half size less 2, truncated.
  const auto dx = int16_t(0.3 * (w / 2.0 - 2)), dy = int16_t(0.3 * (h / 2.0 - 2));
  const Rect oval{dy, dx, int16_t(h - dy), int16_t(w - dx)};
  color.flag = 255;
  PaintOffworld_Oval(world, PackRectTopLeft(oval), PackRectBottomRight(oval), kVerbPaint, color);
  Offworld_Commandes(world, nullptr, topLeft, bottomRight, 64, gw_FastBlurr32, 0);
  return world;
}
