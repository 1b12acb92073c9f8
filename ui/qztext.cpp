#include "ui/qztext.h"

#include <algorithm>
#include <string>

#include "imaging/ports.h"
#include "ui/textencoding.h"
#include "ui/textfonts_pvt.h"

const char gfontnames[32][64] = {
    "Arial",
    "Arial-Bold",
    "Arial-Italic",
    "Arial-BoldItalic",
    "Helvetica",
    "Helvetica-Bold",
    "Helvetica-Oblique",
    "Helvetica-BoldOblique",
    "CenturyGothic",
    "CenturyGothic-Bold",
    "CenturyGothic-Italic",
    "CenturyGothic-BoldItalic",
    "Futura-Medium",
    "Futura-CondensedMedium",
    "Futura-CondensedExtraBold",
    "Futura-MediumItalic",
    "Monaco",
    "Helvetica-Bold",
    "Helvetica-Oblique",
    "Helvetica-BoldOblique",
    "Times",
    "Times-Bold",
    "Times-Italic",
    "Times-BoldItalic",
    "Courier",
    "Courier-Bold",
    "Courier-Italic",
    "Courier-BoldItalic",
    "Techno",
    "Bauhaus93",
    "intergalactic",
    "Neutronica",
};

QZTextStyle QZ_TextStyleOfLook(const textLook& look)
{
  QZTextStyle s;
  s.fontName = gfontnames[4 * (look.font % 8) + (look.face % 4)];
  s.effect = (look.face >> 2) & 3;
  s.placement = look.just % 3;
  s.topBaseline = look.just > 2;
  return s;
}

namespace {

// What the cairo callback needs to place and draw one line.
struct LineDrawing
{
  PangoFontDescription* font = nullptr;
  std::string text;
  double left = 0;       // left + 2
  double available = 0;  // W
  double baseline = 0;
  int32_t placement = 0;
  int32_t effect = 0;
  QZColor color;
};

void ShowAt(cairo_t* cr, PangoLayout* layout, double x, double baseline, bool strokeToo)
{
  const double ascent = double(pango_layout_get_baseline(layout)) / PANGO_SCALE;
  cairo_move_to(cr, x, baseline - ascent);
  if (!strokeToo) {
    pango_cairo_show_layout(cr, layout);
    return;
  }
  pango_cairo_layout_path(cr, layout);
  cairo_fill_preserve(cr);
  cairo_stroke(cr);
}

void DrawLine(void* cairo, void* info)
{
  auto* cr = static_cast<cairo_t*>(cairo);
  const auto& d = *static_cast<const LineDrawing*>(info);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_layout_set_font_description(layout, d.font);
  pango_layout_set_text(layout, d.text.data(), int(d.text.size()));
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  const double width = double(logical.width) / PANGO_SCALE;

  double x = d.left;
  if (d.placement == 1)
    x += std::max(1.0, (d.available - width) / 2);
  else if (d.placement == 2)
    x += d.available - width;
  else
    x += 2;

  auto setColor = [&](const QZColor& c) {
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
  };
  switch (d.effect) {
    case 1:
      setColor(QZColor{0, 0, 0, 0.5});
      ShowAt(cr, layout, x, d.baseline, false);
      setColor(d.color);
      ShowAt(cr, layout, x - 3, d.baseline - 2, false);
      break;
    case 2:
      setColor(d.color);
      ShowAt(cr, layout, x, d.baseline, true);
      break;
    case 3:  // the source the context set: its fill colour
      ShowAt(cr, layout, x, d.baseline, false);
      break;
    default:
      setColor(d.color);
      ShowAt(cr, layout, x, d.baseline, false);
      break;
  }
  g_object_unref(layout);
}

}  // namespace

void QZ_drawString(CGContextRef ctx, const textLook* look, ConstStringPtr text, Rect r, float alpha,
                   float red, float green, float blue)
{
  if (!ctx || !look || !text || text[0] == 0 || look->size <= 0)
    return;
  const QZTextStyle style = QZ_TextStyleOfLook(*look);
  const double size = look->size;
  LineDrawing d;
  d.text = UItext_UTF8FromPascal(text);
  d.left = r.left + 2.0;
  d.available = double(RectWidth(r)) - 4;
  d.baseline =
      style.topBaseline ? r.top + 1.25 * size : (double(r.top) + r.bottom) / 2 + 0.36 * size;
  d.placement = style.placement;
  d.effect = style.effect;
  d.color = QZColor{red, green, blue, alpha};
  d.font = UItext_FontForName(style.fontName, false, false, size);
  QZ_ContextDrawWithCairo(ctx, DrawLine, &d);
  pango_font_description_free(d.font);
}
