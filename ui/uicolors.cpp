// The colour pop-up item, the colour chart it opens, colour squares and the
// gradation item.
#include <algorithm>

#include "foundation/colormath.h"
#include "imaging/cursorkeys.h"
#include "imaging/ports.h"
#include "platform/ui.h"
#include "ui/edoc.h"
#include "ui/uidrawhelpers.h"
#include "ui/uiframes.h"
#include "ui/uipictures.h"
#include "ui/uipopupwindow.h"
#include "ui/uiset.h"
#include "ui/uitem.h"

namespace {

constexpr int16_t kCursorArrow = 0;
constexpr int16_t kCursorColorPick = 136;

// Chart ids: the colour pop-up opens kChartBase + altStyle; the squares of
// a gradation one of these by look.
constexpr int16_t kChartBase = 1100;
constexpr int16_t kChartAlternate = 1101;
constexpr int16_t kChartPlain = 31100;  // no margins, no channel columns
constexpr int16_t kChartPlainAlternate = 31101;

// The margins right of and below a chart picture, the ramp strip and the
// channel columns drawn in them.
constexpr int16_t kChartMarginRight = 34;
constexpr int16_t kChartMarginBottom = 23;
constexpr int16_t kRampHeight = 10;
constexpr int16_t kRampTop = 6;  // below the picture
constexpr int16_t kRampGap = 2;
constexpr int16_t kChannelWidth = 10;
constexpr int16_t kChannelLeft = 2;  // right of the picture
constexpr int16_t kLightnessStep = 32;

constexpr normalcolor kBlack{255, 0, 0, 0};
constexpr normalcolor kWhite{255, 255, 255, 255};

bool inside(const Rect& r, Point p)
{
  return r.left <= p.h && p.h < r.right && r.top <= p.v && p.v < r.bottom;
}

normalcolor opaque(normalcolor c)
{
  c.flag = 255;
  return c;
}

// The colour shown at a global point by one of the program's own windows,
// the front one first; false where none of them lies.
bool colorOfOurWindows(kvui::Point p, normalcolor* out)
{
  for (kvui::WindowRef w : kvui::windows()) {
    if (!kvui::isWindowVisible(w))
      continue;
    const kvui::Rect c = kvui::windowContent(w);
    if (p.h < c.left || p.h >= c.right || p.v < c.top || p.v >= c.bottom)
      continue;
    const kvui::Surface s = kvui::windowSurface(w);
    const int32_t x = p.h - c.left, y = p.v - c.top;
    if (!s.pixels || x >= s.width || y >= s.height)
      return false;
    // Premultiplied blue, green, red, alpha.
    const uint8_t* px = s.pixels + int64_t(y) * s.rowBytes + int64_t(x) * 4;
    const int32_t alpha = px[3];
    auto straight = [alpha](uint8_t v) {
      return uint8_t(alpha == 0 ? 0 : std::min<int32_t>(255, (v * 255 + alpha / 2) / alpha));
    };
    *out = normalcolor{255, straight(px[2]), straight(px[1]), straight(px[0])};
    return true;
  }
  return false;
}

// The ramps under the chart and, for the charts below kChartPlain, the
// channel columns at its right, over a picture of w x h.
void drawChartStrips(CGContextRef ctx, int16_t chartID, int32_t w, int32_t h, normalcolor color)
{
  if (chartID == kChartPlain) {
    const normalcolor ends[2] = {kBlack, kWhite};
    PAINTGRADLINE(ctx, 0, int16_t(w), int16_t(h - kRampHeight), kRampHeight, 2, ends);
    return;
  }
  const int32_t third = (w - 2 * kRampGap) / 3;
  const auto top = int16_t(h + kRampTop);
  const uint8_t grey = uint8_t((color.red + color.green + color.blue) / 3);
  normalcolor dark = color, light = color;
  RGB2HLS_Ncolor(&dark);
  RGB2HLS_Ncolor(&light);
  dark.green = uint8_t(std::max(dark.green - kLightnessStep, 0));  // green holds the lightness
  light.green = uint8_t(std::min(light.green + kLightnessStep, 255));
  HLS2RGB_Ncolor(&dark);
  HLS2RGB_Ncolor(&light);
  const normalcolor ramps[3][2] = {{kBlack, kWhite},
                                   {kBlack, normalcolor{255, grey, grey, grey}},
                                   {opaque(dark), opaque(light)}};
  for (int32_t i = 0; i < 3; ++i) {
    const int32_t from = kRampGap + i * (third + kRampGap);
    PAINTGRADLINE(ctx, int16_t(from), int16_t(from + third), top, kRampHeight, 2, ramps[i]);
  }
  if (chartID >= kChartPlain)
    return;
  for (int32_t channel = 0; channel < 3; ++channel) {
    normalcolor low = opaque(color), high = opaque(color);
    uint8_t* lowByte = channel == 0 ? &low.red : channel == 1 ? &low.green : &low.blue;
    uint8_t* highByte = channel == 0 ? &high.red : channel == 1 ? &high.green : &high.blue;
    *lowByte = 0;
    *highByte = 255;
    const normalcolor sweep[2] = {low, high};
    const auto left = int16_t(w + kChannelLeft + channel * kChannelWidth);
    PAINTGRADCOL(ctx, Rect{0, left, int16_t(h), int16_t(left + kChannelWidth)}, 2, sweep);
  }
}

// Follows the mouse until the release, showing the colour under it in the
// owner's rectangle; true with *picked set when a colour was read.
bool trackChartPick(IBPopUpdlog* chart, Edoc* owner, const Rect* itemRect, normalcolor* picked)
{
  bool read = false;
  kvui::Point p;
  while (kvui::trackMouse(&p) == kvui::TrackResult::moved) {
    normalcolor under;
    if (!colorOfOurWindows(p, &under))
      continue;  // nothing of ours there: the last colour read stays
    *picked = under;
    read = true;
    if (owner && itemRect) {
      chart->CallbackColorPaint(owner, itemRect, under);
      owner->FlushContext();
    }
  }
  return read;
}

// The chart of a colour square by look.
int16_t squareChart(int16_t look)
{
  switch (look) {
    case 2:
      return kChartPlain;
    case 3:
      return kChartPlainAlternate;
    case 1:
      return kChartAlternate;
    default:
      return kChartBase;
  }
}

Rect squareRect(Rect r, int32_t i, int32_t count)
{
  const int32_t width = RectWidth(r);
  return Rect{r.top, int16_t(r.left + int64_t(i) * width / count), r.bottom,
              int16_t(r.left + int64_t(i + 1) * width / count)};
}

Point globalOf(Edoc* doc, Point local)
{
  return doc && doc->port ? LocalToGlobal(doc->port, local) : local;
}

}  // namespace

// ---- The colour chart -----------------------------------------------------------

bool ColorPopUpDlog(Edoc* owner, const Rect* itemRect, Point where, normalcolor* color,
                    int16_t chartID)
{
  if (!color)
    return false;
  IBPopUpdlog chart(kPopUpWindowClass, kBlack);
  const bool margins = chartID != kChartPlain;
  if (!chart.window || !chart.SetWindowPictSize(chartID, where, margins ? kChartMarginRight : 0,
                                                margins ? kChartMarginBottom : 0, 0, true)) {
    // No chart to pick from: wait for the release so that it is not taken
    // as a new click.
    kvui::Point p;
    while (kvui::trackMouse(&p) == kvui::TrackResult::moved) {
    }
    return false;
  }
  CGContextRef ctx = chart.context;
  if (ctx) {
    QZ_ContextSetShouldAntialias(ctx, false);
    const int32_t w = RectWidth(chart.portRect) - (margins ? kChartMarginRight : 0);
    const int32_t h = RectHeight(chart.portRect) - (margins ? kChartMarginBottom : 0);
    drawChartStrips(ctx, chartID, w, h, *color);
    chart.FlushContext();
  }
  normalcolor picked;
  if (!trackChartPick(&chart, owner, itemRect, &picked))
    return false;
  const normalcolor before = *color;
  *color = normalcolor{before.flag, picked.red, picked.green, picked.blue};
  return before.red != color->red || before.green != color->green || before.blue != color->blue;
}

int32_t docolorsquares(uiset* set, Rect r, int32_t count, normalcolor* colors, bool drawOnly,
                       const Point* click, int16_t look)
{
  CGContextRef ctx = set ? set->drawingContext() : nullptr;
  if (!colors || count < 1)
    return -1;
  if (ctx)
    for (int32_t i = 0; i < count; ++i)
      UI_FillRect(ctx, squareRect(r, i, count), colors[i]);
  if (drawOnly || !click)
    return -1;
  for (int32_t i = 0; i < count; ++i) {
    const Rect square = squareRect(r, i, count);
    if (!inside(square, *click))
      continue;
    DChangeCursor(kCursorColorPick);
    ColorPopUpDlog(set->owner, &square, globalOf(set->owner, Point{square.bottom, square.left}),
                   &colors[i], squareChart(look));
    DChangeCursor(kCursorArrow);
    return i;
  }
  return -1;
}

// ---- Colour pop-up item ----------------------------------------------------------

void uitem_colorpop::Draw(uiset* set)
{
  CGContextRef ctx = set->drawingContext();
  const Rect inner = set->drauibounds(this, rect, style);
  if (!ctx)
    return;
  UI_FillRect(ctx, inner, visibility == kUIShown && color ? *color : set->work.frame);
}

void uitem_colorpop::Act(uiset* set, Point)
{
  const Rect inner = set->drauibounds(this, rect, style);
  if (!color)
    return;
  DChangeCursor(kCursorColorPick);
  const bool picked =
      ColorPopUpDlog(set->owner, &inner, globalOf(set->owner, Point{rect.bottom, rect.left}), color,
                     int16_t(kChartBase + altStyle));
  DChangeCursor(kCursorArrow);
  if (picked)
    changed = 1;
  if (CGContextRef ctx = set->drawingContext()) {
    UI_FillRect(ctx, inner, *color);
    set->owner->FlushContext();
  }
}

// ---- Gradation item --------------------------------------------------------------

Rect uitem_cgradation::Inner(uiset* set)
{
  gridRect = set->drauibounds(this, rect, style);
  return gridRect;
}

Rect uitem_cgradation::GetHitBox(int16_t i)
{
  matrix m;
  Get_matrixParams(&m, columns, std::max<int16_t>(number.entries, 1),
                   RectIsEmpty(gridRect) ? rect : gridRect);
  return Get_matrixBox(&m, int16_t(std::clamp<int32_t>(i, 0, m.count - 1)));
}

void uitem_cgradation::DrawCell(uiset* set, const matrix& m, int16_t i, bool selected)
{
  CGContextRef ctx = set->drawingContext();
  if (!ctx || !Colors())
    return;
  const Rect cell = Get_matrixBox(&m, i);
  const Rect fill{int16_t(cell.top + 1), cell.left, cell.bottom, int16_t(cell.right - 1)};
  UI_FillRect(ctx, fill, opaque(Colors()[i]));
  if (selected)
    UI_FrameRect(ctx, fill, set->work.shadow);
}

void uitem_cgradation::Draw(uiset* set)
{
  CGContextRef ctx = set->drawingContext();
  const Rect inner = Inner(set);
  if (!ctx || !Colors())
    return;
  const int16_t count = std::max<int16_t>(number.entries, 1);
  if (variant == 0) {
    PAINTGRADRECT(ctx, inner, count, Colors());
  } else if (variant == 2) {
    matrix m;
    Get_matrixParams(&m, columns, count, inner);
    for (int16_t i = 0; i < m.count; ++i)
      DrawCell(set, m, i, i == index);
  }
}

void uitem_cgradation::Act(uiset* set, Point where)
{
  if (!Colors())
    return;
  const Rect inner = Inner(set);
  const int16_t count = std::max<int16_t>(number.entries, 1);
  if (variant == 0) {
    const int32_t square = docolorsquares(set, inner, count, Colors(), false, &where, altStyle);
    if (square >= 0) {
      changed = 1;
      set->lastChosen = square;
    }
    set->InvalRect(rect);
    return;
  }
  if (variant != 2)
    return;
  matrix m;
  Get_matrixParams(&m, columns, count, inner);
  const int16_t start = index;
  int16_t current = index;
  Point p = where;
  for (;;) {
    const int16_t hovered = Hit_matrixBox(&m, p);
    if (hovered >= 0 && hovered != current) {
      if (current >= 0 && current < m.count)
        DrawCell(set, m, current, false);
      DrawCell(set, m, hovered, true);
      current = hovered;
    }
    // Back on the cell selected when the press began: nothing to choose.
    if (hovered >= 0 && hovered == start)
      break;
    if (!set->owner || !set->owner->ButtonTrue(&p, true))
      break;
  }
  if (current != index) {
    index = current;
    changed = 1;
  }
  if (current >= 0)
    set->lastChosen = current;
  Draw(set);
  if (set->owner)
    set->owner->FlushContext();
}

void uitem_cgradation::PreHilite(uiset* set)
{
  if (variant != 0 || !Colors())
    return;
  docolorsquares(set, Inner(set), std::max<int16_t>(number.entries, 1), Colors(), true, nullptr,
                 altStyle);
}
