// Pictures for the tests of the picture and movie members: small off-screen
// buffers filled from a function of the pixel, handed to an input slot of a
// document as an outside buffer, and the point of the plane that a member
// whose record has sx = sy = 1 (one unit a pixel; tests set it after
// preparation, so that pixel positions are exact) maps onto a pixel position.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>

#include "engine/gfunc.h"
#include "imaging/offworld.h"

// A buffer the test owns, freed at the end of its scope.
class KVtestPicture
{
public:
  // A 32-bit W x H picture, pixel (column, row) = rgb(column, row) as
  // {red, green, blue}.
  template <class Rgb>
  static KVtestPicture rgb(int16_t width, int16_t height, Rgb rgbOf)
  {
    KVtestPicture p(width, height, 32);
    for (int row = 0; row < height; ++row)
      for (int column = 0; column < width; ++column) {
        const normalcolor c = rgbOf(column, row);
        uint8_t* px = p.pixel(column, row);
        px[0] = 255;
        px[1] = c.red;
        px[2] = c.green;
        px[3] = c.blue;
      }
    return p;
  }
  // An 8-bit grey W x H picture, pixel (column, row) = grey(column, row).
  template <class Grey>
  static KVtestPicture grey(int16_t width, int16_t height, Grey greyOf)
  {
    KVtestPicture p(width, height, 8);
    for (int row = 0; row < height; ++row)
      for (int column = 0; column < width; ++column)
        *p.pixel(column, row) = uint8_t(greyOf(column, row));
    return p;
  }

  KVtestPicture(KVtestPicture&& other) noexcept : world_(other.world_) { other.world_ = nullptr; }
  KVtestPicture(const KVtestPicture&) = delete;
  KVtestPicture& operator=(const KVtestPicture&) = delete;
  ~KVtestPicture() { KillOffworld(&world_); }

  Offworld world() const { return world_; }
  uint8_t* pixel(int column, int row)
  {
    const PixMap& m = world_->pixels;
    return m.baseAddr + row * m.rowBytes + column * (m.pixelSize / 8);
  }

  // Hands the picture to slot `slot` of the document as an outside buffer
  // (live: its pixels may change between renders).
  void handTo(sfuncSystem* doc, int slot, bool live = false) const
  {
    doc->inputs[slot].picture = world_;
    doc->inputs[slot].sourceKind = live ? kInputLiveBuffer : kInputFixedBuffer;
    doc->inputs[slot].file.name[0] = 0;
  }

private:
  KVtestPicture(int16_t width, int16_t height, int16_t depth)
  {
    const Rect bounds{0, 0, height, width};
    EXPECT_EQ(CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), depth, &world_),
              noErr);
  }

  Offworld world_ = nullptr;
};

// The plane point (x, y) that maps onto pixel position (px, py) of a W x H
// picture at one unit a pixel: px = W / 2 + x, py = H / 2 - y.
struct KVplanePoint
{
  double x;
  double y;
};

inline KVplanePoint KV_pointAt(int width, int height, double px, double py)
{
  return {px - width / 2.0, height / 2.0 - py};
}
