// The drawing state: the foreground and background colours that drawing
// calls use, and the pixel query of the surface being drawn into. It stands
// in for the colour part of a graphics port; the windows of the program
// install their own state with SetDrawState while they draw.
//
// Main thread only, like all drawing.
#pragma once

#include <cstdint>

#include "foundation/types.h"

// A colour with 16-bit components (0..65535).
struct RGBColor
{
  uint16_t red = 0;
  uint16_t green = 0;
  uint16_t blue = 0;
};

inline constexpr bool operator==(const RGBColor& a, const RGBColor& b)
{
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Reads the colour of pixel (h, v) of the surface; false when it has none.
using PixelQueryProc = bool (*)(void* surface, int32_t h, int32_t v, RGBColor* out);

struct DrawState
{
  RGBColor foreColor{0, 0, 0};
  RGBColor backColor{0xFFFF, 0xFFFF, 0xFFFF};
  PixelQueryProc pixelQuery = nullptr;  // null: the surface cannot be read
  void* surface = nullptr;              // handed to pixelQuery
};

// The description of a block of pixels that pixel reads need.
struct PixMapView
{
  int16_t pixelSize = 32;  // bits per pixel
  int32_t rowBytes = 0;    // bytes per row; the top bit is a flag and not part of it
  Rect bounds;             // width = right - left, height = bottom - top
};

// The current state: the one given to SetDrawState, or a default state
// (black on white, no surface) when none is set.
DrawState* GetDrawState();
// Makes `state` current (null restores the default) and returns the previous one.
DrawState* SetDrawState(DrawState* state);

void RGBForeColor(const RGBColor* c);
void RGBBackColor(const RGBColor* c);
void GetForeColor(RGBColor* c);
void GetBackColor(RGBColor* c);
// The colour of pixel (h, v) of the current surface; white when the surface
// cannot be read.
void GetCPixel(int32_t h, int32_t v, RGBColor* c);
