// Draws every UI drawing primitive, text look and highlight kind and mode
// into one labelled cell each, on a transparent background, through a
// flipped context on a port (as windows draw), and writes the sheet as PNG.
// For each cell it prints the function's name and the rectangle it was
// given: NAME top left bottom right.
//
// Usage: ui_primitives_sheet OUT.png
#include <bit>
#include <cairo.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "imaging/qzbitmaps.h"
#include "ui/atsutext.h"
#include "ui/qzdraw.h"
#include "ui/qztext.h"

namespace {

constexpr int32_t kCellW = 220, kCellH = 124, kColumns = 6;
constexpr double kPi = std::numbers::pi;

// A 48 x 32 picture that shows any flip: a red top-left block, a blue
// bottom row, a green-to-yellow ramp, and round alpha at the corners.
struct TestPicture
{
  std::vector<uint8_t> bytes = std::vector<uint8_t>(48 * 32 * 4);
  CGImageRef image = nullptr;
  TestPicture()
  {
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 48; ++x) {
        uint8_t* p = &bytes[size_t(y * 48 + x) * 4];
        const double dx = (x - 23.5) / 24, dy = (y - 15.5) / 16;
        p[0] = dx * dx + dy * dy <= 1.2 ? 255 : 0;
        p[1] = uint8_t(5 * x), p[2] = 200, p[3] = 40;
        if (x < 16 && y < 12)
          p[1] = 255, p[2] = 0, p[3] = 0;
        if (y >= 28)
          p[1] = 0, p[2] = 0, p[3] = 255;
      }
    image = QZ_ImageCreateWithBits(bytes.data(), 48, 32, 32, 48 * 4, kQZBitmapAlphaFirst);
  }
  ~TestPicture() { QZ_ImageRelease(image); }
};

// The highlight image: a soft orange-to-white vertical ramp.
struct HilitPicture
{
  std::vector<uint8_t> bytes = std::vector<uint8_t>(16 * 16 * 4);
  CGImageRef image = nullptr;
  HilitPicture()
  {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        uint8_t* p = &bytes[size_t(y * 16 + x) * 4];
        p[0] = 255, p[1] = 255, p[2] = uint8_t(120 + 8 * y), p[3] = uint8_t(16 * y);
      }
    image = QZ_ImageCreateWithBits(bytes.data(), 16, 16, 32, 16 * 4, kQZBitmapSkipFirst);
  }
  ~HilitPicture() { QZ_ImageRelease(image); }
};

TestPicture* gPicture = nullptr;

struct Box
{
  float x, y, w, h;
};

using CellProc = void (*)(CGContextRef ctx, Box b, Rect r);

struct Cell
{
  std::string name;
  CellProc draw;
};

void Label(CGContextRef ctx, const std::string& text, Rect cell)
{
  Str255 s;
  s[0] = uint8_t(std::min<size_t>(text.size(), 255));
  std::memcpy(s + 1, text.data(), s[0]);
  const textLook look{10, 1, 0, 0};
  const Rect band{int16_t(cell.top + 2), cell.left, int16_t(cell.top + 16), cell.right};
  QZ_drawString(ctx, &look, s, band, 1, 0.1f, 0.1f, 0.1f);
}

void DrawText(CGContextRef ctx, Rect r, uint8_t face, uint8_t just)
{
  const textLook look{18, 1, face, just};
  QZ_ContextSetRGBFillColor(ctx, 0.5, 0, 0.6, 1);  // effect 3 draws in this
  QZ_ContextSetLineWidth(ctx, 1);
  QZ_drawString(ctx, &look, reinterpret_cast<const unsigned char*>("\x0aLabel text"), r, 1, 0.1f,
                0.3f, 0.8f);
}

void DrawPicture(CGContextRef ctx, Box b, uint8_t kind, uint8_t mode, uint8_t shadow = 0)
{
  QZDrawFlags f;
  f.color = normalcolor{255, 255, 60, 0};
  f.mask = 1;
  f.shadow = shadow;
  f.hilitKind = kind;
  f.hilitMode = mode;
  QZdraw_image(ctx, b.x, b.y, gPicture->image, &f);
}

const std::vector<Cell>& Cells()
{
  static const std::vector<Cell> cells = {
      {"QZ_paintShadowedRect",
       [](CGContextRef c, Box b, Rect) {
         QZ_paintShadowedRect(c, b.x, b.y, b.w, b.h, 1, 0.9f, 0.8f, 0.2f);
       }},
      {"QZ_paintShadowedPath",
       [](CGContextRef c, Box b, Rect) {
         QZ_ContextBeginPath(c);
         QZpath_Triangle(c, b.x, b.y, b.w, b.h, 0);
         QZ_paintShadowedPath(c, 1, 0.2f, 0.7f, 0.3f);
       }},
      {"QZ_paintRoundBox",
       [](CGContextRef c, Box b, Rect) {
         QZ_paintRoundBox(c, b.x, b.y, b.w, b.h, 16, 1, 0.2f, 0.4f, 0.9f);
       }},
      {"QZ_frameRoundBox",
       [](CGContextRef c, Box b, Rect) {
         QZ_frameRoundBox(c, b.x, b.y, b.w, b.h, 12, 3, 1, 0.8f, 0.1f, 0.1f);
       }},
      {"QZ8_frameRoundBox",
       [](CGContextRef c, Box b, Rect) { QZ8_frameRoundBox(c, b.x, b.y, b.w, b.h, 20, 2, 0.3f); }},
      {"QZ_paintOval", [](CGContextRef c, Box b,
                          Rect) { QZ_paintOval(c, b.x, b.y, b.w, b.h, 0.8f, 0.9f, 0.4f, 0.1f); }},
      {"QZ8_paintOval",
       [](CGContextRef c, Box b, Rect) { QZ8_paintOval(c, b.x, b.y, b.w, b.h, 0.5f); }},
      {"QZ_frameOval", [](CGContextRef c, Box b,
                          Rect) { QZ_frameOval(c, b.x, b.y, b.w, b.h, 4, 1, 0.1f, 0.6f, 0.6f); }},
      {"QZ8_frameOval",
       [](CGContextRef c, Box b, Rect) { QZ8_frameOval(c, b.x, b.y, b.w, b.h, 1, 0.2f); }},
      {"QZ_paintTriangle",
       [](CGContextRef c, Box b, Rect) {
         QZ_paintTriangle(c, b.x, b.y, b.w, b.h, 1, 0.6f, 0.2f, 0.7f);
       }},
      {"QZ8_paintTriangle",
       [](CGContextRef c, Box b, Rect) { QZ8_paintTriangle(c, b.x, b.y, b.w, b.h, 0.6f); }},
      {"QZ_paintArcFilter",
       [](CGContextRef c, Box b, Rect) {
         QZ_paintArcFilter(c, b.x, b.y, b.w, b.h, 1, 0.1f, 0.5f, 0.2f);
       }},
      {"QZ8_paintArcFilter",
       [](CGContextRef c, Box b, Rect) { QZ8_paintArcFilter(c, b.x, b.y, b.w, b.h, 0.4f); }},
      {"QZ_StrokeUnitGrid",
       [](CGContextRef c, Box b, Rect) {
         QZ_ContextSaveGState(c);
         QZ_ContextTranslateCTM(c, b.x + b.w / 2, b.y + b.h / 2);
         QZ_ContextScaleCTM(c, b.w / 2, b.h / 2);
         QZ_StrokeUnitGrid(c, 8, 1, 0.2f, 0.2f, 0.6f);
         QZ_ContextRestoreGState(c);
       }},
      {"QZ_drawLine",
       [](CGContextRef c, Box b, Rect) {
         QZ_drawLine(c, b.x, b.y, b.x + b.w, b.y + b.h, 3, 1, 0.8f, 0.3f, 0);
       }},
      {"QZ8_drawLine", [](CGContextRef c, Box b,
                          Rect) { QZ8_drawLine(c, b.x, b.y + b.h, b.x + b.w, b.y, 1, 0.2f); }},
      {"QZ_drawBLine",
       [](CGContextRef c, Box b, Rect) {
         QZ_drawBLine(c, b.x + 4, b.y + 4, b.x + b.w - 4, b.y + b.h - 4, 4, 1, 0.1f, 0.4f, 0.8f);
       }},
      {"QZ8_drawBLine",
       [](CGContextRef c, Box b, Rect) {
         QZ8_drawBLine(c, b.x + 4, b.y + b.h - 4, b.x + b.w - 4, b.y + 4, 2, 0.3f);
       }},
      {"QZ_drawFuzzyLine",
       [](CGContextRef c, Box b, Rect) {
         QZ_drawFuzzyLine(c, b.x + 8, b.y + b.h / 2 + 0.5f, b.x + b.w - 8, b.y + b.h / 2 + 0.5f, 4,
                          0.2f, 0.9f, 0.1f, 0.1f);
       }},
      {"QZ8_drawFuzzyLine",
       [](CGContextRef c, Box b, Rect) {
         QZ8_drawFuzzyLine(c, b.x + 8, b.y + 10, b.x + b.w - 8, b.y + b.h - 10, 12, 0.1f);
       }},
      {"QZ_drawGradLine",
       [](CGContextRef c, Box b, Rect) {
         const float a[4] = {1, 1, 1, 0}, z[4] = {1, 0, 0, 1};
         QZ_drawGradLine(c, b.x + 10, b.y + b.h / 2, b.x + b.w - 10, b.y + b.h / 2, 16, a, z);
       }},
      {"QZ8_drawGradLine",
       [](CGContextRef c, Box b, Rect) {
         QZ8_drawGradLine(c, b.x + 10, b.y + 10, b.x + b.w - 10, b.y + b.h - 10, 12, 0.9f, 0.1f);
       }},
      {"QZpath_lines",
       [](CGContextRef c, Box b, Rect) {
         const QZPoint p[4] = {{b.x, b.y + b.h},
                               {b.x + b.w / 3, b.y},
                               {b.x + 2 * b.w / 3, b.y + b.h},
                               {b.x + b.w, b.y}};
         QZ_ContextBeginPath(c);
         QZpath_lines(c, p, 4);
         QZ_ContextSetLineWidth(c, 2);
         QZ_ContextStrokePath(c);
       }},
      {"QZpath_polyon",
       [](CGContextRef c, Box b, Rect) {
         const QZPoint p[5] = {{b.x, b.y + b.h / 2},
                               {b.x + b.w / 2, b.y},
                               {b.x + b.w, b.y + b.h / 2},
                               {b.x + b.w * 0.7f, b.y + b.h},
                               {b.x + b.w * 0.3f, b.y + b.h}};
         QZ_ContextBeginPath(c);
         QZpath_polyon(c, p, 5);
         QZ_ContextSetRGBFillColor(c, 0.9, 0.6, 0.1, 1);
         QZ_ContextFillPath(c);
       }},
      {"QZpath_Rect",
       [](CGContextRef c, Box b, Rect) {
         QZ_ContextBeginPath(c);
         QZpath_Rect(c, b.x, b.y, b.w - 1, b.h - 1);
         QZ_ContextSetLineWidth(c, 1);
         QZ_ContextStrokePath(c);
       }},
      {"QZpath_Triangle",
       [](CGContextRef c, Box b, Rect) {
         QZ_ContextBeginPath(c);
         QZpath_Triangle(c, b.x, b.y, b.w / 2 - 4, b.h, 0);
         QZpath_Triangle(c, b.x + b.w / 2 + 4, b.y, b.w / 2 - 4, b.h, 1);
         QZ_ContextSetRGBFillColor(c, 0.3, 0.3, 0.8, 1);
         QZ_ContextFillPath(c);
       }},
      {"QZpath_Arrow",
       [](CGContextRef c, Box b, Rect) {
         QZ_ContextBeginPath(c);
         QZpath_Arrow(c, b.x, b.y, b.w / 3, b.h, 0);
         QZpath_Arrow(c, b.x + b.w / 3, b.y, b.w / 3, b.h, float(kPi / 2));
         QZpath_Arrow(c, b.x + 2 * b.w / 3, b.y, b.w / 3, b.h, float(kPi));
         QZ_ContextSetRGBFillColor(c, 0.8, 0.2, 0.2, 1);
         QZ_ContextFillPath(c);
       }},
      {"QZpath_Arc",
       [](CGContextRef c, Box b, Rect) {
         QZ_ContextBeginPath(c);
         QZpath_Arc(c, b.x, b.y + b.h, b.w / 2, b.h, float(-kPi / 2), float(kPi / 2));
         QZ_ContextSetLineWidth(c, 3);
         QZ_ContextStrokePath(c);
       }},
      {"QZpath_HalfCircle",
       [](CGContextRef c, Box b, Rect) {
         QZ_ContextBeginPath(c);
         QZpath_HalfCircle(c, b.x, b.y, b.w / 2 - 4, b.h / 2, 0, float(kPi));
         QZ_ContextClosePath(c);
         QZpath_HalfCircle(c, b.x + b.w / 2 + 4, b.y, b.w / 4, b.h, float(-kPi / 2), float(kPi));
         QZ_ContextClosePath(c);
         QZ_ContextSetRGBFillColor(c, 0.2, 0.6, 0.6, 1);
         QZ_ContextFillPath(c);
       }},
      {"QZMpath_lines+QZMPath_stroke",
       [](CGContextRef c, Box b, Rect) {
         const QZPoint p[3] = {{b.x, b.y}, {b.x + b.w / 2, b.y + b.h}, {b.x + b.w, b.y}};
         CGMutablePathRef path = QZMpath_lines(p, 3);
         const float color[4] = {1, 0.1f, 0.6f, 0.1f};
         QZ_ContextSaveGState(c);
         QZMPath_stroke(c, path, 3, color);
         QZ_ContextRestoreGState(c);
         QZ_PathRelease(path);
       }},
      {"QZMpath_UnitBoxTarget",
       [](CGContextRef c, Box b, Rect) {
         CGMutablePathRef path = QZMpath_UnitBoxTarget(b.w / 2 - 2, b.h / 2 - 2, 0.25f);
         QZ_ContextSaveGState(c);
         QZ_ContextTranslateCTM(c, b.x + b.w / 2, b.y + b.h / 2);
         QZMPath_stroke(c, path, 2);
         QZ_ContextRestoreGState(c);
         QZ_PathRelease(path);
       }},
      {"QZMPath_fill",
       [](CGContextRef c, Box b, Rect) {
         const QZPoint p[3] = {{b.x, b.y + b.h}, {b.x + b.w / 2, b.y}, {b.x + b.w, b.y + b.h}};
         CGMutablePathRef path = QZMpath_lines(p, 3);
         QZMPath_fill(c, path, 1, 0.7f, 0.5f, 0.9f);
         QZ_PathRelease(path);
       }},
      {"QZdraw_image",
       [](CGContextRef c, Box b, Rect) { QZdraw_image(c, b.x, b.y, gPicture->image); }},
      {"QZdraw_image shadow", [](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 0, 0, 1); }},
      {"QZdraw_image mode 1", [](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 0, 1); }},
      {"QZdrawfit_image",
       [](CGContextRef c, Box, Rect r) { QZdrawfit_image(c, r, gPicture->image, nullptr); }},
      {"QZdrawfit_image mode 1",
       [](CGContextRef c, Box, Rect r) {
         QZDrawFlags f;
         f.hilitMode = 1;
         QZdrawfit_image(c, r, gPicture->image, &f);
       }},
      {"ATSU_drawString",
       [](CGContextRef, Box, Rect r) {
         const textLook look{16, 5, 1, 1};
         ATSU_drawString(&look,
                         reinterpret_cast<const unsigned char*>("\x0e"
                                                                "Bold Times \xC9!"),
                         r, normalcolor{255, 20, 90, 20});
       }},
      {"atsuTextBox",
       [](CGContextRef, Box, Rect r) {
         const std::vector<UniChar> t =
             UItext_UTF16FromPascal(reinterpret_cast<const unsigned char*>(
                 "\x2e"
                 "Wrapped words in a box, flushed to the centre."));
         styleBlock s;
         s.fontID = 4, s.size = 14, s.color = RGBColor{0, 0, 40000};
         atsuTextBox(t.data(), int32_t(t.size()), &r, 1, &s);
       }},
      {"atsuFVTextBox vertical",
       [](CGContextRef, Box, Rect r) {
         const std::vector<UniChar> t = UItext_UTF16FromPascal(
             reinterpret_cast<const unsigned char*>("\x16"
                                                    "Turned a quarter turn."));
         styleBlock s;
         s.fontID = 0, s.size = 13, s.color = RGBColor{40000, 0, 0};
         atsuFVTextBox(t.data(), int32_t(t.size()), &r, 65534, 0, 1, true, &s);
       }},
  };
  return cells;
}

void AddTextAndHilitCells(std::vector<Cell>& cells)
{
  static const CellProc kEffects[4] = {
      [](CGContextRef c, Box, Rect r) { DrawText(c, r, 0, 0); },
      [](CGContextRef c, Box, Rect r) { DrawText(c, r, 4, 0); },
      [](CGContextRef c, Box, Rect r) { DrawText(c, r, 8, 0); },
      [](CGContextRef c, Box, Rect r) { DrawText(c, r, 12, 0); },
  };
  for (int e = 0; e < 4; ++e)
    cells.push_back({"QZ_drawString effect " + std::to_string(e), kEffects[e]});
  static const CellProc kJust[6] = {
      [](CGContextRef c, Box, Rect r) { DrawText(c, r, 0, 0); },
      [](CGContextRef c, Box, Rect r) { DrawText(c, r, 0, 1); },
      [](CGContextRef c, Box, Rect r) { DrawText(c, r, 0, 2); },
      [](CGContextRef c, Box, Rect r) { DrawText(c, r, 0, 3); },
      [](CGContextRef c, Box, Rect r) { DrawText(c, r, 0, 4); },
      [](CGContextRef c, Box, Rect r) { DrawText(c, r, 0, 5); },
  };
  for (int j = 0; j < 6; ++j)
    cells.push_back({"QZ_drawString just " + std::to_string(j), kJust[j]});
  // Highlight kinds 0-4, each in modes 2 and 3.
  static const CellProc kHilit[5][2] = {
      {[](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 0, 2); },
       [](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 0, 3); }},
      {[](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 1, 2); },
       [](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 1, 3); }},
      {[](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 2, 2); },
       [](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 2, 3); }},
      {[](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 3, 2); },
       [](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 3, 3); }},
      {[](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 4, 2); },
       [](CGContextRef c, Box b, Rect) { DrawPicture(c, b, 4, 3); }},
  };
  for (int k = 0; k < 5; ++k)
    for (int m = 0; m < 2; ++m)
      cells.push_back({"QZdraw_image kind " + std::to_string(k) + " mode " + std::to_string(m + 2),
                       kHilit[k][m]});
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: ui_primitives_sheet OUT.png\n");
    return 2;
  }
  TestPicture picture;
  HilitPicture hilit;
  gPicture = &picture;
  gUIHilitImage = hilit.image;

  std::vector<Cell> cells = Cells();
  AddTextAndHilitCells(cells);
  const int32_t rows = int32_t((cells.size() + kColumns - 1) / kColumns);
  const int32_t width = kColumns * kCellW, height = rows * kCellH;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  const OSType native =
      std::endian::native == std::endian::little ? kPixelFormatBGRA : kPixelFormatARGB;
  CGrafPtr port =
      NewPixelPort(cairo_image_surface_get_data(surface), cairo_image_surface_get_stride(surface),
                   Rect{0, 0, int16_t(height), int16_t(width)}, 32, native);
  SetGWorld(port, nullptr);
  CGContextRef ctx = QZ_OpenContext(port);
  if (!ctx)
    return 1;
  for (size_t i = 0; i < cells.size(); ++i) {
    const int32_t left = int32_t(i % kColumns) * kCellW, top = int32_t(i / kColumns) * kCellH;
    const Rect cell{int16_t(top), int16_t(left), int16_t(top + kCellH), int16_t(left + kCellW)};
    const Rect r{int16_t(top + 24), int16_t(left + 12), int16_t(top + kCellH - 14),
                 int16_t(left + kCellW - 16)};
    Label(ctx, cells[i].name, cell);
    const Box b{float(r.left), float(r.top), float(r.right - r.left), float(r.bottom - r.top)};
    cells[i].draw(ctx, b, r);
    std::printf("%s %d %d %d %d\n", cells[i].name.c_str(), r.top, r.left, r.bottom, r.right);
  }
  QZ_CloseContext(ctx, port);
  SetGWorld(nullptr, nullptr);
  DisposePixelPort(port);
  cairo_surface_mark_dirty(surface);
  const bool written = cairo_surface_write_to_png(surface, argv[1]) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  gUIHilitImage = nullptr;
  return written ? 0 : 1;
}
