// Draws the default picture input: a 320 x 240 colour field with soft
// diagonal bands, rings and a checker corner, so that a tree reading it shows
// structure in every direction. Written as PNG to the path given.
#include <cairo.h>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

void background(cairo_t* cr)
{
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, kWidth, kHeight);
  cairo_pattern_add_color_stop_rgb(g, 0.0, 0.10, 0.20, 0.55);
  cairo_pattern_add_color_stop_rgb(g, 0.5, 0.85, 0.45, 0.20);
  cairo_pattern_add_color_stop_rgb(g, 1.0, 0.95, 0.90, 0.35);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);
}

void bands(cairo_t* cr)
{
  cairo_set_line_width(cr, 9);
  for (int i = -kHeight; i < kWidth; i += 28) {
    cairo_set_source_rgba(cr, 1, 1, 1, 0.18);
    cairo_move_to(cr, i, kHeight);
    cairo_line_to(cr, i + kHeight, 0);
    cairo_stroke(cr);
  }
}

void rings(cairo_t* cr)
{
  const double cx = kWidth * 0.62, cy = kHeight * 0.45;
  for (int r = 12; r < 110; r += 14) {
    const double hue = r / 110.0;
    cairo_set_source_rgba(cr, 0.2 + 0.8 * hue, 0.9 - 0.6 * hue, 0.4 + 0.5 * std::sin(6 * hue), 0.8);
    cairo_set_line_width(cr, 5);
    cairo_arc(cr, cx, cy, r, 0, 2 * std::numbers::pi);
    cairo_stroke(cr);
  }
  cairo_set_source_rgb(cr, 0.05, 0.05, 0.1);
  cairo_arc(cr, cx, cy, 7, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
}

void checker(cairo_t* cr)
{
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const bool dark = (x + y) % 2 == 0;
      cairo_set_source_rgb(cr, dark ? 0.1 : 0.95, dark ? 0.1 : 0.95, dark ? 0.15 : 0.9);
      cairo_rectangle(cr, 12 + 14 * x, 12 + 14 * y, 14, 14);
      cairo_fill(cr);
    }
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: draw_default_picture OUT\n");
    return 2;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  background(cr);
  bands(cr);
  rings(cr);
  checker(cr);
  cairo_destroy(cr);
  const cairo_status_t status = cairo_surface_write_to_png(surface, argv[1]);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "draw_default_picture: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
