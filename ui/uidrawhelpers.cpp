#include "ui/uidrawhelpers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "foundation/colormath.h"
#include "imaging/cursorkeys.h"
#include "imaging/ports.h"
#include "ui/qzdraw.h"
#include "ui/uiframes.h"
#include "ui/uilib.h"
#include "ui/uiset.h"

namespace {

constexpr int16_t kLabelMinWidth = 18;
constexpr int kIntBufferLimit = 15;   // a 16th character restarts the number
constexpr int kRealBufferLimit = 15;  // the 15th character is overwritten
constexpr int8_t kBackspace = 8;

int16_t clamp16(int32_t v)
{
  return int16_t(std::clamp<int32_t>(v, std::numeric_limits<int16_t>::min(),
                                     std::numeric_limits<int16_t>::max()));
}

int32_t saturate32(int64_t v)
{
  return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()));
}

void setFill(CGContextRef ctx, normalcolor c, double alpha)
{
  QZ_ContextSetRGBFillColor(ctx, c.red / 255.0, c.green / 255.0, c.blue / 255.0, alpha);
}

// Rows and columns for layout 0 over a rectangle whose long side is `along`
// and short side `across`: `lines` along the long side, `perLine` across.
void aspectGrid(int32_t count, int32_t along, int32_t across, int32_t* lines, int32_t* perLine)
{
  const int32_t a = along * 10 / across;
  if (count < 4 || a >= 46) {
    *lines = count;
    *perLine = 1;
    return;
  }
  for (int32_t k = 1; k <= count; ++k) {
    const int32_t q = count / k;
    if (count / q == k && std::abs(a - q * 10 / k) < 20) {
      *lines = q;
      *perLine = k;
      return;
    }
  }
  *lines = 1;
  *perLine = count;
}

void setCells(matrix* m, const Rect& r, int32_t columns, int32_t rows)
{
  m->columns = int16_t(columns);
  const int32_t w = RectWidth(r), h = RectHeight(r);
  const int32_t cw = columns > 0 ? w / columns : w;
  const int32_t ch = columns > 0 && rows > 0 ? h / rows : h;
  m->cellWidth = clamp16(std::max<int32_t>(cw, kMatrixMinCell));
  m->cellHeight = clamp16(std::max<int32_t>(ch, kMatrixMinCell));
}

int32_t ceilDiv(int32_t a, int32_t b)
{
  return (a + b - 1) / b;
}

Rect cellAt(const matrix* m, int32_t column, int32_t row)
{
  const int32_t left = m->left + column * m->cellWidth;
  const int32_t top = m->top + row * m->cellHeight;
  return Rect{clamp16(top), clamp16(left), clamp16(top + m->cellHeight),
              clamp16(left + m->cellWidth)};
}

bool contains(const Rect& r, Point p)
{
  return r.left <= p.h && p.h < r.right && r.top <= p.v && p.v < r.bottom;
}

// Puts the buffer's text (count characters) into its length byte and
// returns it as a C string in `text`.
void bufferText(const uiset* set, char* text)
{
  const int n = std::clamp<int>(set->typedCount, 0, 31);
  std::copy(set->typing + 1, set->typing + 1 + n, text);
  text[n] = 0;
}

void appendTyped(uiset* set, char c)
{
  set->typedCount = int16_t(std::clamp<int>(set->typedCount, 0, 30) + 1);
  set->typing[set->typedCount] = uint8_t(c);
  set->typing[0] = uint8_t(set->typedCount);
}

void clearTyped(uiset* set)
{
  set->typedCount = 0;
  set->typing[0] = 0;
}

int32_t parseInt(const uiset* set)
{
  char text[32];
  bufferText(set, text);
  int64_t v = 0;
  bool negative = false;
  for (const char* p = text; *p; ++p) {
    if (*p == '-')
      negative = !negative;
    else if (*p >= '0' && *p <= '9')
      v = std::min<int64_t>(v * 10 + (*p - '0'), int64_t(1) << 40);
  }
  return saturate32(negative ? -v : v);
}

double parseReal(const uiset* set)
{
  char text[32];
  bufferText(set, text);
  return std::strtod(text, nullptr);
}

// The keys both number kinds share; true when the key was one of them.
template <class T, class Negate, class Double, class Halve>
bool commonKey(uiset* set, int8_t key, T* value, Negate negate, Double twice, Halve half)
{
  switch (key) {
    case kBackspace:
      clearTyped(set);
      *value = 0;
      return true;
    case '-':
      if (set->typedCount == 0)
        appendTyped(set, '-');
      *value = negate(*value);
      return true;
    case '*':
      *value = twice(*value);
      return true;
    case '/':
      *value = half(*value);
      return true;
    default:
      return false;
  }
}

}  // namespace

// ---- Grids ------------------------------------------------------------------

void Get_matrixParams(matrix* out, int16_t layout, int16_t count, Rect r)
{
  const int32_t n = std::clamp<int32_t>(count, 1, kMatrixMaxCells);
  *out = matrix{int16_t(n), r.left, r.top, 0, 0, 0};
  const int32_t w = RectWidth(r), h = RectHeight(r);
  int32_t columns = 1, rows = n;
  if (layout < 0) {
    setCells(out, r, 0, 0);
    return;
  }
  if (layout == 1) {
    columns = 1;
  } else if (layout == 2) {
    columns = n;
  } else if (layout >= 3) {
    columns = layout - 1;
  } else if (w <= 0 || h <= 0) {
    columns = n;  // nothing to measure the aspect by: one row
  } else if (w > h) {
    int32_t lines, perLine;
    aspectGrid(n, w, h, &lines, &perLine);
    columns = lines;
  } else {
    int32_t lines, perLine;
    aspectGrid(n, h, w, &lines, &perLine);
    columns = perLine;
  }
  rows = ceilDiv(n, columns);
  setCells(out, r, columns, rows);
}

Point Get_AutoBoxmatrix(matrix* out, int16_t layout, int16_t count, int16_t cellWidth,
                        int16_t cellHeight)
{
  const int32_t n = std::max<int32_t>(count, 0);
  int32_t columns = 1;
  if (layout == 2) {
    columns = std::max<int32_t>(n, 1);
  } else if (layout >= 3) {
    columns = layout - 1;
  } else if (layout <= 0 && n >= 1) {
    int32_t c = int32_t(std::sqrt(double(n)));
    while (c > 1 && c * c > n)
      --c;
    c = std::max<int32_t>(c, 1);
    while (n % c != 0)
      ++c;
    columns = std::max(c, n / c);
  }
  const int32_t rows = n >= 1 ? ceilDiv(n, columns) : 0;
  *out = matrix{clamp16(n),
                2,
                2,
                std::max<int16_t>(cellWidth, kMatrixMinCell),
                std::max<int16_t>(cellHeight, kMatrixMinCell),
                int16_t(columns)};
  return Point{clamp16(rows * out->cellHeight), clamp16(columns * out->cellWidth)};
}

Rect Get_matrixBox(const matrix* m, int16_t i)
{
  if (m->columns <= 0)
    return cellAt(m, 0, 0);
  return cellAt(m, i % m->columns, i / m->columns);
}

Rect Get_matrixVBox(const matrix* m, int16_t i)
{
  if (m->columns <= 0)
    return cellAt(m, 0, 0);
  const int32_t rows = std::max<int32_t>(ceilDiv(std::max<int16_t>(m->count, 1), m->columns), 1);
  return cellAt(m, i / rows, i % rows);
}

int16_t Hit_matrixBox(const matrix* m, Point where)
{
  for (int16_t i = 0; i < std::min(m->count, kMatrixMaxCells); ++i)
    if (contains(Get_matrixBox(m, i), where))
      return i;
  return -1;
}

int16_t Hit_VmatrixBox(const matrix* m, Point where)
{
  for (int16_t i = 0; i < std::min(m->count, kMatrixMaxCells); ++i)
    if (contains(Get_matrixVBox(m, i), where))
      return i;
  return -1;
}

void Get_LabelLeft_Boxes(Rect* r, Rect* label)
{
  const int32_t width = std::max<int32_t>(RectHeight(*r), kLabelMinWidth);
  *label = *r;
  label->right = clamp16(r->left + width);
  r->left = label->right;
}

// ---- Item colours and cells ---------------------------------------------------

int16_t GetAltHilit(uiset* set, int16_t a, int16_t b, int16_t c)
{
  if (c == 0)
    return 1;
  if (a == 0 || b == 1)
    return 0;
  switch (b) {
    case 3:
    case 4:
      set->altHilit = 1;
      break;
    case 5:
      set->altHilit = 3;
      break;
    case 6:
      set->altHilit = 4;
      break;
    case 7:
      set->altHilit = 2;
      break;
    default:
      set->altHilit = 0;
  }
  return a == 2 ? 2 : 3;
}

normalcolor GetTextColor(const uiset* set, const uiItemRecord* item)
{
  const bool typed =
      item->kind == kUITextButton || item->kind == kUIEditText || item->kind == kUINumber;
  if (typed && item->editing && item->visibility == kUIShown)
    return normalcolor{255, 255, 255, 255};
  if (set && item->visibility == kUIDisabled)
    return UI_MeanColor(item->color1, set->colors[kUIBackground]);
  return item->color1;
}

Rect Draw_ArrayBounds(uiset* set, const uiItemRecord* item, Rect r, int8_t frameStyle,
                      bool selected)
{
  CGContextRef ctx = set->drawingContext();
  auto inset = [&](int16_t t, int16_t l, int16_t b, int16_t rt) {
    return Rect{int16_t(r.top + t), int16_t(r.left + l), int16_t(r.bottom - b),
                int16_t(r.right - rt)};
  };
  if (item->style == 0)
    return inset(1, 1, 1, 1);
  if (frameStyle >= 2 && frameStyle <= 4) {
    if (ctx)
      cEmbossRect(ctx, Point{int16_t(r.top + 2), int16_t(r.left + 2)},
                  Point{int16_t(r.bottom - 1), int16_t(r.right - 1)}, set->colors[kUILightColor],
                  set->colors[kUIShadowColor], 1);
    return inset(3, 3, 2, 2);
  }
  const normalcolor c = selected          ? set->hiliteColor
                        : frameStyle == 5 ? set->work.light
                                          : item->color2;
  if (ctx) {
    if (frameStyle == 5)
      QZ_frameRoundBox(ctx, r.left + 0.5f, r.top + 0.5f, RectWidth(r) - 1.0f, RectHeight(r) - 1.0f,
                       6, 1, 1, c.red / 255.0f, c.green / 255.0f, c.blue / 255.0f);
    else
      UI_FrameRect(ctx, inset(1, 1, 1, 1), c);
  }
  return inset(2, 2, 2, 2);
}

// ---- Text and shapes -------------------------------------------------------------

void UI_FillRect(CGContextRef ctx, Rect r, normalcolor color)
{
  setFill(ctx, color, 1);
  QZ_ContextFillRect(ctx, QZ_RectFromRect(r));
}

void UI_FrameRect(CGContextRef ctx, Rect r, normalcolor c)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetShouldAntialias(ctx, false);
  QZ_ContextSetRGBStrokeColor(ctx, c.red / 255.0, c.green / 255.0, c.blue / 255.0, 1);
  QZ_ContextSetLineWidth(ctx, 1);
  QZ_ContextStrokeRect(ctx,
                       QZRect{r.left + 0.5, r.top + 0.5, RectWidth(r) - 1.0, RectHeight(r) - 1.0});
  QZ_ContextRestoreGState(ctx);
}

void EDrawText(CGContextRef ctx, ConstStringPtr text, Rect r, const textLook* look,
               const normalcolor* background, normalcolor color)
{
  if (!ctx)
    return;
  if (background)
    UI_FillRect(ctx, r, *background);
  if (text && text[0] > 0)
    QZ_drawString(ctx, look, text, r, 1, color.red / 255.0f, color.green / 255.0f,
                  color.blue / 255.0f);
}

void CrossBox(CGContextRef ctx, Rect r)
{
  const normalcolor c = gUILib.hiliteColor;
  const float x0 = r.left + 1, y0 = r.top + 1, x1 = r.right - 1, y1 = r.bottom - 1;
  QZ_drawLine(ctx, x0, y0, x1, y1, 1, 1, c.red / 255.0f, c.green / 255.0f, c.blue / 255.0f);
  QZ_drawLine(ctx, x0, y1, x1, y0, 1, 1, c.red / 255.0f, c.green / 255.0f, c.blue / 255.0f);
}

void Draw_HollowBounds(CGContextRef ctx, normalcolor c1, normalcolor c2, normalcolor c3, Rect* r)
{
  UI_FillRect(ctx, *r, c1);
  cEmbossRect(ctx, Point{int16_t(r->top + 1), int16_t(r->left + 1)},
              Point{int16_t(r->bottom - 1), int16_t(r->right - 1)}, c2, c3, 0.8f);
  cEmbossRect(ctx, Point{int16_t(r->top + 2), int16_t(r->left + 2)},
              Point{int16_t(r->bottom - 2), int16_t(r->right - 2)}, c2, c3, 0.5f);
  *r = Rect{int16_t(r->top + 2), int16_t(r->left + 2), int16_t(r->bottom - 2),
            int16_t(r->right - 2)};
}

void PAINTGRADLINE(CGContextRef ctx, int16_t xFrom, int16_t xTo, int16_t y, int16_t height,
                   int32_t count, const normalcolor* colors)
{
  const double span = std::max(1, xTo - xFrom);
  for (int32_t x = xFrom; x < xTo; ++x) {
    setFill(ctx, colorgradient(colors, count, (x - xFrom) / span), 1);
    QZ_ContextFillRect(ctx, QZRect{double(x), double(y), 1, double(height)});
  }
}

void PAINTGRADCOL(CGContextRef ctx, Rect r, int32_t count, const normalcolor* colors)
{
  const double span = std::max(1, RectHeight(r));
  for (int32_t y = r.top; y < r.bottom; ++y) {
    setFill(ctx, colorgradient(colors, count, (r.bottom - y) / span), 1);
    QZ_ContextFillRect(ctx, QZRect{double(r.left), double(y), double(RectWidth(r)), 1});
  }
}

void PAINTGRADRECT(CGContextRef ctx, Rect r, int32_t count, const normalcolor* colors)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetShouldAntialias(ctx, false);
  if (count < 1) {
    QZ_ContextSetRGBFillColor(ctx, 0.2, 0.2, 0.2, 1);
    QZ_ContextFillRect(ctx, QZ_RectFromRect(r));
  } else {
    const double span = std::max(1, RectWidth(r));
    for (int32_t x = r.left; x < r.right; ++x) {
      setFill(ctx, colorgradient(colors, count, (x - r.left) / span), 1);
      QZ_ContextFillRect(ctx, QZRect{double(x), double(r.top), 1, double(RectHeight(r))});
    }
  }
  QZ_ContextRestoreGState(ctx);
}

void BeginClip(CGContextRef ctx, Rect r)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextClipToRect(ctx, QZ_RectFromRect(r));
}

void EndClip(CGContextRef ctx)
{
  QZ_ContextRestoreGState(ctx);
}

// ---- Mouse and typing ------------------------------------------------------------

Point WaitButtonTrue()
{
  Point where{0, 0};
  if (ButtonTimeTrue(&where, 0.3) == 0)
    WaitForButton();
  GetMouse(&where);
  return where;
}

void char2int32(uiset* set, int8_t key, int32_t* value)
{
  auto negate = [](int32_t v) { return saturate32(-int64_t(v)); };
  auto twice = [](int32_t v) { return saturate32(int64_t(v) * 2); };
  auto half = [](int32_t v) { return v / 2; };
  if (commonKey(set, key, value, negate, twice, half)) {
    set->keyResult = 1;
    return;
  }
  if (key < '0' || key > '9')
    return;
  set->keyResult = 1;
  if (set->typedCount >= kIntBufferLimit) {
    clearTyped(set);
    *value = 0;
    return;
  }
  appendTyped(set, char(key));
  *value = parseInt(set);
}

void char2double(uiset* set, int8_t key, double* value)
{
  auto negate = [](double v) { return -v; };
  auto twice = [](double v) { return v * 2; };
  auto half = [](double v) { return v / 2; };
  if (commonKey(set, key, value, negate, twice, half)) {
    set->keyResult = 1;
    return;
  }
  if (key == 'd') {
    *value = parseReal(set) * M_PI / 180.0;
  } else if (key == 'i') {
    if (*value != 0)
      *value = 1.0 / *value;
  } else if ((key >= '0' && key <= '9') || key == '.' || key == ',') {
    const char c = key == ',' ? '.' : char(key);
    if (set->typedCount >= kRealBufferLimit) {
      set->typedCount = kRealBufferLimit;
      set->typing[kRealBufferLimit] = uint8_t(c);
      set->typing[0] = kRealBufferLimit;
    } else {
      appendTyped(set, c);
    }
    *value = parseReal(set);
  } else {
    return;
  }
  set->keyResult = 1;
}
