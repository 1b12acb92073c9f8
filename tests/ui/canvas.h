// A transparent canvas in cairo's pixel order with a port over it, made the
// current port, and a flipped context as windows draw with.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

#include "imaging/qzbitmaps.h"

struct Canvas
{
  int32_t width, height;
  std::vector<uint32_t> pixels;
  CGrafPtr port = nullptr;
  CGContextRef ctx = nullptr;

  Canvas(int32_t w, int32_t h) : width(w), height(h), pixels(size_t(w) * size_t(h), 0)
  {
    const OSType native =
        std::endian::native == std::endian::little ? kPixelFormatBGRA : kPixelFormatARGB;
    port = NewPixelPort(reinterpret_cast<uint8_t*>(pixels.data()), w * 4,
                        Rect{0, 0, int16_t(h), int16_t(w)}, 32, native);
    SetGWorld(port, nullptr);
    ctx = QZ_OpenContext(port);
  }
  ~Canvas()
  {
    QZ_CloseContext(ctx, port);
    SetGWorld(nullptr, nullptr);
    DisposePixelPort(port);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Premultiplied channels of pixel (x, y), y down.
  uint32_t At(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  int Alpha(int32_t x, int32_t y) const { return int(At(x, y) >> 24); }
  int Red(int32_t x, int32_t y) const { return int((At(x, y) >> 16) & 255); }
  int Green(int32_t x, int32_t y) const { return int((At(x, y) >> 8) & 255); }
  int Blue(int32_t x, int32_t y) const { return int(At(x, y) & 255); }

  // The bounding box of pixels whose alpha passes `min` (x0 > x1 when none).
  struct Ink
  {
    int32_t x0, y0, x1, y1;
  };
  template <class Pred>
  Ink InkWhere(Pred pred) const
  {
    Ink ink{width, height, -1, -1};
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        if (pred(x, y)) {
          ink.x0 = std::min(ink.x0, x), ink.x1 = std::max(ink.x1, x);
          ink.y0 = std::min(ink.y0, y), ink.y1 = std::max(ink.y1, y);
        }
    return ink;
  }
  Ink InkBox(int min = 96) const
  {
    return InkWhere([&](int32_t x, int32_t y) { return Alpha(x, y) >= min; });
  }
};
