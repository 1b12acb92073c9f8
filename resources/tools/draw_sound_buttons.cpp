// Draws the sound open dialog's play button: "rim12300.png" (up) and
// "rim12301.png" (pressed, while the file plays), 32 x 24 pixels each.
//
// Usage: draw_sound_buttons FOLDER
#include <cairo.h>
#include <cstdio>
#include <string>

namespace {

bool writeButton(const std::string& folder, int number, bool pressed)
{
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 24);
  cairo_t* cr = cairo_create(s);
  // A rounded key, darker and shifted by one pixel when pressed.
  const double shift = pressed ? 1 : 0;
  cairo_new_sub_path(cr);
  cairo_arc(cr, 26 + shift, 6 + shift, 4, -1.5708, 0);
  cairo_arc(cr, 26 + shift, 18 + shift, 4, 0, 1.5708);
  cairo_arc(cr, 6 + shift, 18 + shift, 4, 1.5708, 3.1416);
  cairo_arc(cr, 6 + shift, 6 + shift, 4, 3.1416, 4.7124);
  cairo_close_path(cr);
  const double face = pressed ? 0.62 : 0.9;
  cairo_set_source_rgb(cr, face, face, face);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // The play triangle, green while playing.
  cairo_move_to(cr, 12 + shift, 6 + shift);
  cairo_line_to(cr, 22 + shift, 12 + shift);
  cairo_line_to(cr, 12 + shift, 18 + shift);
  cairo_close_path(cr);
  if (pressed)
    cairo_set_source_rgb(cr, 0.1, 0.6, 0.15);
  else
    cairo_set_source_rgb(cr, 0.15, 0.15, 0.15);
  cairo_fill(cr);
  cairo_destroy(cr);
  const std::string path = folder + "/rim" + std::to_string(number) + ".png";
  const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: draw_sound_buttons FOLDER\n");
    return 2;
  }
  if (!writeButton(argv[1], 12300, false) || !writeButton(argv[1], 12301, true)) {
    std::fprintf(stderr, "draw_sound_buttons: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
