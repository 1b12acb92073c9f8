// Draws a picture with known pixels into a cairo image surface through the
// program's context on a port and writes it as PNG, for an independent check
// of orientation and colours.
//
// Picture: a 64 x 48 surface filled with (16, 16, 16). A 40 x 30 render
// buffer drawn 1:1 at (12, 9): pixel (x, y) = (6x, 8y, (x + y) * 5), with
// 4 x 4 corner markers red (top-left), green (top-right) and blue
// (bottom-left). A 10 x 8 off-screen buffer drawn at (2, 40): yellow top
// row, below it (20x, 30y, 200).
//
// Usage: qz_render_png OUT.png
#include <bit>
#include <cairo.h>
#include <cstdio>

#include "imaging/qzbitmaps.h"

namespace {

void SetPixel(uint8_t* base, int32_t rowBytes, int32_t x, int32_t y, uint8_t r, uint8_t g,
              uint8_t b)
{
  uint8_t* p = base + y * rowBytes + x * 4;
  p[0] = 255, p[1] = r, p[2] = g, p[3] = b;
}

void PaintRenderBuffer(AccessPix& a)
{
  for (int32_t y = 0; y < a.height; ++y)
    for (int32_t x = 0; x < a.width; ++x) {
      uint8_t r = uint8_t(6 * x), g = uint8_t(8 * y), b = uint8_t((x + y) * 5);
      const bool left = x < 4, right = x >= a.width - 4, top = y < 4, bottom = y >= a.height - 4;
      if (left && top)
        r = 255, g = 0, b = 0;
      if (right && top)
        r = 0, g = 255, b = 0;
      if (left && bottom)
        r = 0, g = 0, b = 255;
      SetPixel(a.base, a.rowBytes, x, y, r, g, b);
    }
}

void PaintOffworld(Offworld w)
{
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 10; ++x) {
      if (y == 0)
        SetPixel(w->pixels.baseAddr, w->pixels.rowBytes, x, y, 255, 255, 0);
      else
        SetPixel(w->pixels.baseAddr, w->pixels.rowBytes, x, y, uint8_t(20 * x), uint8_t(30 * y),
                 200);
    }
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: qz_render_png OUT.png\n");
    return 2;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 48);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 16 / 255.0, 16 / 255.0, 16 / 255.0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);

  const OSType native =
      std::endian::native == std::endian::little ? kPixelFormatBGRA : kPixelFormatARGB;
  CGrafPtr port =
      NewPixelPort(cairo_image_surface_get_data(surface), cairo_image_surface_get_stride(surface),
                   Rect{0, 0, 48, 64}, 32, native);
  CGContextRef ctx = QZ_OpenContext(port);
  if (!ctx)
    return 1;

  // The render driver marks the buffers it fills bottom-up.
  AccessPix render;
  uint8_t* pixels = QZ_AllocateRenderBuffer32(&render, 40, 30);
  if (!pixels)
    return 1;
  PaintRenderBuffer(render);
  render.bottomUp = 1;
  QZ_CopyBitsToContext(ctx, &render, nullptr, Rect{9, 12, 39, 52});
  DisposePtr(pixels);

  Offworld world = nullptr;
  const Rect bounds{0, 0, 8, 10};
  if (CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 32, &world) != 0)
    return 1;
  PaintOffworld(world);
  QZ_BlitGworld(ctx, Rect{40, 2, 48, 12}, world, kQZBlendNormal);
  KillOffworld(&world);

  QZ_CloseContext(ctx, port);
  DisposePixelPort(port);
  cairo_surface_mark_dirty(surface);
  const cairo_status_t status = cairo_surface_write_to_png(surface, argv[1]);
  cairo_surface_destroy(surface);
  return status == CAIRO_STATUS_SUCCESS ? 0 : 1;
}
