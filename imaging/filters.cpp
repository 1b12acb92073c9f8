#include "imaging/filters.h"

#include <algorithm>
#include <cstdlib>

#include "foundation/colormath.h"

namespace {

uint8_t Cap255(int32_t v)
{
  return uint8_t(std::min(v, 255));
}

// The largest difference between neighbouring channels: how colourful.
int32_t Colourfulness(const normalcolor& p)
{
  return std::max(std::abs(int32_t(p.red) - p.green), std::abs(int32_t(p.green) - p.blue));
}

void GlowPixel(normalcolor& p, const normalcolor& s)
{
  const int32_t w = std::min(4 * Colourfulness(p), 64);
  p.red = Cap255(p.red + ((s.red * w) >> 8));
  p.green = Cap255(p.green + ((s.green * w) >> 8));
  p.blue = Cap255(p.blue + ((s.blue * w) >> 8));
}

void TintPixel(normalcolor& p, const normalcolor& s)
{
  int32_t w = 2 * Colourfulness(p);
  if (w >= 256)
    w = 255;
  if (w <= 0)
    return;
  const int32_t l = (8 * p.red + 9 * p.green + 7 * p.blue) >> 4;
  const normalcolor target{p.flag, Cap255((s.red * l) >> 8), Cap255((s.green * l) >> 8),
                           Cap255((s.blue * l) >> 8)};
  p = PColorLERP256(&p, &target, int16_t(w));
}

void BrightnessPixel(normalcolor& p, const normalcolor& s)
{
  if (p.red == p.green && p.green == p.blue && p.red <= 64)
    return;
  const int32_t m = std::max({p.red, p.green, p.blue});
  const int32_t f = m < 64 ? m : 2 * m - 64;
  p.red = Cap255((s.red * f) >> 8);
  p.green = Cap255((s.green * f) >> 8);
  p.blue = Cap255((s.blue * f) >> 8);
}

// Runs `change` on every 32-bit pixel of the rectangle.
template <class Change>
void EachPixel(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, Change change)
{
  if (!pixels || columns <= 0 || rows <= 0)
    return;
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* p = pixels + int64_t(y) * rowBytes;
    for (int32_t x = 0; x < columns; ++x, p += 4) {
      normalcolor c{p[0], p[1], p[2], p[3]};
      change(c);
      p[1] = c.red, p[2] = c.green, p[3] = c.blue;
    }
  }
}

}  // namespace

void gw_hilit(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
              const HiliteStyle* style)
{
  if (!style)
    return;
  const normalcolor s = style->color;
  switch (style->mode) {
    case 4:
      EachPixel(columns, rows, pixels, rowBytes, [&](normalcolor& p) { GlowPixel(p, s); });
      break;
    case 3:
      EachPixel(columns, rows, pixels, rowBytes, [&](normalcolor& p) { TintPixel(p, s); });
      break;
    default:
      EachPixel(columns, rows, pixels, rowBytes, [&](normalcolor& p) { BrightnessPixel(p, s); });
      break;
  }
}

void gw_alphapremul(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (gwIs8bit)
    return;
  EachPixel(columns, rows, pixels, rowBytes, [](normalcolor& p) {
    p.red = uint8_t((p.red * p.flag) >> 8);
    p.green = uint8_t((p.green * p.flag) >> 8);
    p.blue = uint8_t((p.blue * p.flag) >> 8);
  });
}
