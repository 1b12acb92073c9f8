// Draws the UI images into the folder given: the 16 list images
// "rlist000.png" ... "rlist960.png" (256 x 256, 8 x 8 cells of 32 pixels;
// picture code -n is cell n % 64 of image n / 64) and the highlight image
// "rimhilit.png", and the file dialogs' custom-area buttons "rim12302.png"
// ... "rim12305.png" (32 x 24: favourite folders up and pressed, recent
// files up and pressed), and the colour charts "rim1100.png", "rim1101.png",
// "rim31100.png" and "rim31101.png". Cells 1 to 7 of rlist000 are the
// standard controls: check box, radio button off and on, OK up and down,
// Cancel up and down.
// The other cells are numbered tiles, so that a wrong code shows at once.
#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>

namespace {

constexpr int kCell = 32;
constexpr int kSide = 256;
constexpr int kImages = 16;

void roundBox(cairo_t* cr, double x, double y, double w, double h, double r)
{
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -std::numbers::pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, std::numbers::pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, std::numbers::pi / 2, std::numbers::pi);
  cairo_arc(cr, x + r, y + r, r, std::numbers::pi, 1.5 * std::numbers::pi);
  cairo_close_path(cr);
}

struct RGB
{
  double r, g, b;  // 0..1
};

// Outlines the current path in `line`, `width` wide.
void outline(cairo_t* cr, RGB line, double width)
{
  cairo_set_source_rgb(cr, line.r, line.g, line.b);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

// Fills the current path with `fill`, then outlines it.
void fillAndOutline(cairo_t* cr, RGB fill, RGB line, double width)
{
  cairo_set_source_rgb(cr, fill.r, fill.g, fill.b);
  cairo_fill_preserve(cr);
  outline(cr, line, width);
}

// The raised face of buttons and caps: fills the current path with a
// vertical gradient from `top` at y0 to `bottom` at y1, then outlines it in
// the grey `edge`, 1 pixel wide.
void shadedFace(cairo_t* cr, double y0, double y1, RGB top, RGB bottom, double edge)
{
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  outline(cr, RGB{edge, edge, edge}, 1);
}

// Shows `text` centred on the cell's middle (16, 16) in the current font and
// colour.
void showCentred(cairo_t* cr, const char* text)
{
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  cairo_move_to(cr, 16 - e.width / 2 - e.x_bearing, 16 - e.height / 2 - e.y_bearing);
  cairo_show_text(cr, text);
}

// Writes the surface as PNG at `path` and frees it; false when it cannot be
// written.
bool writeAndFree(cairo_surface_t* s, const std::string& path)
{
  const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}

// Draws a width x height picture with `draw` and writes it as PNG at `path`.
template <class Draw>
bool drawPicture(const std::string& path, int width, int height, Draw draw)
{
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(s);
  draw(cr);
  cairo_destroy(cr);
  return writeAndFree(s, path);
}

// The path of picture `number`: FOLDER/rimNUMBER.png.
std::string picturePath(const std::string& folder, int number)
{
  return folder + "/rim" + std::to_string(number) + ".png";
}

void checkBox(cairo_t* cr)
{
  roundBox(cr, 7, 7, 18, 18, 3);
  fillAndOutline(cr, RGB{0.95, 0.95, 0.95}, RGB{0.25, 0.25, 0.25}, 1.5);
  cairo_move_to(cr, 10, 16);
  cairo_line_to(cr, 14.5, 21);
  cairo_line_to(cr, 22, 10);
  outline(cr, RGB{0.05, 0.45, 0.15}, 2.5);
}

void radio(cairo_t* cr, bool on)
{
  cairo_arc(cr, 16, 16, 9, 0, 2 * std::numbers::pi);
  fillAndOutline(cr, RGB{0.95, 0.95, 0.95}, RGB{0.25, 0.25, 0.25}, 1.5);
  if (on) {
    cairo_arc(cr, 16, 16, 4.5, 0, 2 * std::numbers::pi);
    cairo_set_source_rgb(cr, 0.1, 0.3, 0.75);
    cairo_fill(cr);
  }
}

void button(cairo_t* cr, const char* label, bool down)
{
  roundBox(cr, 1.5, 6.5, 29, 19, 5);
  const double top = down ? 0.45 : 0.85;
  shadedFace(cr, 6, 26, RGB{top, top, top + 0.05}, RGB{top - 0.3, top - 0.3, top - 0.25}, 0.15);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, std::string(label).size() > 2 ? 7 : 11);
  if (down)
    cairo_set_source_rgb(cr, 1, 1, 1);
  showCentred(cr, label);
}

// A tile showing its picture number n (code -n), tinted by its image.
void numberedTile(cairo_t* cr, int image, int n)
{
  double hue = image / double(kImages);
  double r = 0.5 + 0.4 * std::cos(2 * std::numbers::pi * hue);
  double g = 0.5 + 0.4 * std::cos(2 * std::numbers::pi * (hue - 1.0 / 3));
  double b = 0.5 + 0.4 * std::cos(2 * std::numbers::pi * (hue - 2.0 / 3));
  roundBox(cr, 2, 2, 28, 28, 4);
  cairo_set_source_rgba(cr, r, g, b, 0.85);
  cairo_fill(cr);
  char text[8];
  std::snprintf(text, sizeof text, "%d", n);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 9);
  cairo_set_source_rgb(cr, 0.05, 0.05, 0.05);
  showCentred(cr, text);
}

void drawCell(cairo_t* cr, int image, int cell)
{
  if (image == 0) {
    switch (cell) {
      case 0:
        return;  // left empty
      case 1:
        checkBox(cr);
        return;
      case 2:
        radio(cr, false);
        return;
      case 3:
        radio(cr, true);
        return;
      case 4:
        button(cr, "OK", false);
        return;
      case 5:
        button(cr, "OK", true);
        return;
      case 6:
        button(cr, "Cancel", false);
        return;
      case 7:
        button(cr, "Cancel", true);
        return;
      default:
        break;
    }
  }
  numberedTile(cr, image, image * 64 + cell);
}

bool writeListImage(const std::string& folder, int image)
{
  char name[32];
  std::snprintf(name, sizeof name, "/rlist%03d.png", image * 64);
  return drawPicture(folder + name, kSide, kSide, [image](cairo_t* cr) {
    for (int cell = 0; cell < 64; ++cell) {
      cairo_save(cr);
      cairo_translate(cr, (cell % 8) * kCell, (cell / 8) * kCell);
      cairo_rectangle(cr, 0, 0, kCell, kCell);
      cairo_clip(cr);
      drawCell(cr, image, cell);
      cairo_restore(cr);
    }
  });
}

// A soft white glow: pictures drawn over it in screen mode light up.
bool writeHighlight(const std::string& folder)
{
  constexpr int kHilite = 64;
  return drawPicture(folder + "/rimhilit.png", kHilite, kHilite, [](cairo_t* cr) {
    cairo_pattern_t* g = cairo_pattern_create_radial(32, 32, 4, 32, 32, 32);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 0.85, 1);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.3, 0.5, 1, 0.6);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
  });
}

// ---- The picture rail: pictures 753 to 759, 16 pixels high ---------------------------
// 753 and 754 the left and right end caps (22 wide), 758 and 759 the same
// pressed, 755 the rail right of the knob, 756 the rail left of it (filled),
// 757 the knob (6 wide).

void railGroove(cairo_t* cr, int width, RGB fill)
{
  cairo_rectangle(cr, 0, 5.5, width, 5);
  fillAndOutline(cr, fill, RGB{0.12, 0.12, 0.12}, 1);
}

void railCap(cairo_t* cr, bool right, bool down)
{
  if (right) {
    cairo_translate(cr, 22, 0);
    cairo_scale(cr, -1, 1);
  }
  roundBox(cr, 0.5, 0.5, 25, 15, 5);
  const double top = down ? 0.4 : 0.85;
  shadedFace(cr, 0, 16, RGB{top, top, top + 0.05}, RGB{top - 0.3, top - 0.3, top - 0.25}, 0.15);
  cairo_move_to(cr, 7, 8);
  cairo_line_to(cr, 14, 4);
  cairo_line_to(cr, 14, 12);
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, down ? 1 : 0.1, down ? 1 : 0.1, down ? 1 : 0.2);
  cairo_fill(cr);
}

void railKnob(cairo_t* cr)
{
  cairo_rectangle(cr, 0.5, 0.5, 5, 15);
  fillAndOutline(cr, RGB{0.95, 0.85, 0.3}, RGB{0.2, 0.15, 0.05}, 1);
}

bool writeRailPictures(const std::string& folder)
{
  constexpr int kHeight = 16;
  struct Picture
  {
    int number, width;
    int look;  // 0 left cap, 1 right cap, 2 and 3 pressed caps, 4 empty, 5 filled, 6 knob
  };
  const Picture pictures[] = {{753, 22, 0}, {754, 22, 1}, {755, 16, 4}, {756, 16, 5},
                              {757, 6, 6},  {758, 22, 2}, {759, 22, 3}};
  for (const Picture& p : pictures) {
    const bool ok = drawPicture(picturePath(folder, p.number), p.width, kHeight, [&p](cairo_t* cr) {
      switch (p.look) {
        case 4:
          railGroove(cr, p.width, RGB{0.3, 0.3, 0.32});
          break;
        case 5:
          railGroove(cr, p.width, RGB{0.2, 0.45, 0.9});
          break;
        case 6:
          railKnob(cr);
          break;
        default:
          railCap(cr, p.look % 2 == 1, p.look >= 2);
          break;
      }
    });
    if (!ok)
      return false;
  }
  return true;
}

constexpr int kButtonWidth = 32, kButtonHeight = 24;

// A 32 x 24 button face with a folder (favourites) or a clock (recent
// files), darker when pressed.
void dialogButtonFace(cairo_t* cr, bool recent, bool down)
{
  roundBox(cr, 0.5, 0.5, kButtonWidth - 1, kButtonHeight - 1, 4);
  const double top = down ? 0.5 : 0.93;
  shadedFace(cr, 0, kButtonHeight, RGB{top, top, top + 0.04},
             RGB{top - 0.25, top - 0.25, top - 0.2}, 0.3);
  if (recent) {
    cairo_arc(cr, 16, 12, 7, 0, 2 * std::numbers::pi);
    fillAndOutline(cr, RGB{1, 1, 1}, RGB{0.2, 0.2, 0.4}, 1.5);
    // The hands, in the rim's colour and width.
    cairo_move_to(cr, 16, 12);
    cairo_line_to(cr, 16, 7);
    cairo_move_to(cr, 16, 12);
    cairo_line_to(cr, 19.5, 13.5);
    cairo_stroke(cr);
  } else {
    cairo_move_to(cr, 8, 8);
    cairo_line_to(cr, 13, 8);
    cairo_line_to(cr, 15, 10);
    cairo_line_to(cr, 24, 10);
    cairo_line_to(cr, 24, 18);
    cairo_line_to(cr, 8, 18);
    cairo_close_path(cr);
    fillAndOutline(cr, RGB{0.35, 0.6, 0.9}, RGB{0.1, 0.25, 0.5}, 1);
  }
}

bool writeDialogButton(const std::string& folder, int number, bool recent, bool down)
{
  return drawPicture(picturePath(folder, number), kButtonWidth, kButtonHeight,
                     [=](cairo_t* cr) { dialogButtonFace(cr, recent, down); });
}

// ---- Colour charts 1100, 1101, 31100 and 31101: pictures the colour pop-ups
// pick from, every pixel an exact opaque colour.

// Hue in turns (0..1), saturation and lightness 0..1.
RGB fromHSL(double hue, double saturation, double lightness)
{
  auto channel = [&](double shift) {
    double k = std::fmod(12 * (hue + shift) + 12, 12);
    double a = saturation * std::min(lightness, 1 - lightness);
    return lightness - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
  };
  return RGB{channel(0), channel(2.0 / 3), channel(1.0 / 3)};
}

template <class ColorAt>
bool writeChart(const std::string& folder, int number, int width, int height, ColorAt colorAt)
{
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  auto byte = [](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const RGB c = colorAt(x, y);
      auto* px = reinterpret_cast<uint32_t*>(data + y * stride) + x;
      *px = 0xFF000000u | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
    }
  cairo_surface_mark_dirty(s);
  return writeAndFree(s, picturePath(folder, number));
}

bool writeColorCharts(const std::string& folder)
{
  // 1100: hue across, from white at the top through the full colour to black.
  auto hueLightness = [](int x, int y) { return fromHSL(x / 256.0, 1, 1 - y / 127.0); };
  // 1101: hue across, from the full colour at the top to grey.
  auto hueSaturation = [](int x, int y) { return fromHSL(x / 256.0, 1 - y / 127.0, 0.5); };
  // 31100: 16 x 8 swatches of 12 pixels: a row of greys, then hues at seven
  // lightnesses.
  auto swatches = [](int x, int y) {
    const int column = x / 12, row = y / 12;
    if (row == 0)
      return RGB{column / 15.0, column / 15.0, column / 15.0};
    return fromHSL(column / 16.0, 1, 0.9 - (row - 1) * 0.12);
  };
  // 31101: the 6 x 6 x 6 cube of levels 0, 51, ... 255 in swatches of 8
  // pixels: six blocks of 6 x 6 (green across, blue down), red by block.
  auto cube = [](int x, int y) {
    const int block = (y / 48) * 3 + x / 48;
    return RGB{block / 5.0, (x % 48) / 8 / 5.0, (y % 48) / 8 / 5.0};
  };
  return writeChart(folder, 1100, 256, 128, hueLightness) &&
         writeChart(folder, 1101, 256, 128, hueSaturation) &&
         writeChart(folder, 31100, 192, 96, swatches) && writeChart(folder, 31101, 144, 96, cube);
}

// Reports a picture that could not be written; the exit status.
int cannotWrite(const std::string& what, const std::string& folder)
{
  std::fprintf(stderr, "draw_ui_images: cannot write %s into %s\n", what.c_str(), folder.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: draw_ui_images FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  for (int image = 0; image < kImages; ++image)
    if (!writeListImage(folder, image))
      return cannotWrite("list image " + std::to_string(image), folder);
  for (int i = 0; i < 4; ++i)
    if (!writeDialogButton(folder, 12302 + i, i >= 2, i % 2 == 1))
      return cannotWrite("button " + std::to_string(12302 + i), folder);
  if (!writeColorCharts(folder))
    return cannotWrite("the colour charts", folder);
  if (!writeHighlight(folder))
    return cannotWrite("the highlight image", folder);
  if (!writeRailPictures(folder))
    return cannotWrite("the rail pictures", folder);
  return 0;
}
