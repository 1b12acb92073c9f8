// Reading and writing single pixels of a PixMap in every depth and format,
// shared by the imaging code. A pixel's value is what lies in memory for it:
// the index for 1- and 8-bit maps, the x-5-5-5 word for 16-bit maps and, for
// 32-bit maps, the four bytes in the order pad/alpha, red, green, blue packed
// as pad << 24 | red << 16 | green << 8 | blue whatever the memory format.
#pragma once

#include <cstdint>
#include <cstring>

#include "foundation/types.h"
#include "imaging/ports.h"

namespace kvpix {

inline uint8_t* PixelAddress(const PixMap& pm, int32_t col, int32_t row)
{
  return pm.baseAddr + int64_t(row) * pm.rowBytes + int64_t(col) * (pm.pixelSize / 8);
}

inline uint32_t PackColor(normalcolor c)
{
  return (uint32_t(c.flag) << 24) | (uint32_t(c.red) << 16) | (uint32_t(c.green) << 8) | c.blue;
}
inline normalcolor UnpackColor(uint32_t v)
{
  return normalcolor{uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

// The four bytes of a 32-bit pixel in memory, to and from pad, red, green,
// blue order.
inline normalcolor Load32(const uint8_t* p, OSType format)
{
  if (format == kPixelFormatBGRA)
    return normalcolor{p[3], p[2], p[1], p[0]};
  return normalcolor{p[0], p[1], p[2], p[3]};
}
inline void Store32(uint8_t* p, OSType format, normalcolor c)
{
  if (format == kPixelFormatBGRA) {
    p[0] = c.blue, p[1] = c.green, p[2] = c.red, p[3] = c.flag;
  } else {
    p[0] = c.flag, p[1] = c.red, p[2] = c.green, p[3] = c.blue;
  }
}

// col and row count from the map's top-left pixel.
inline uint32_t ReadValue(const PixMap& pm, int32_t col, int32_t row)
{
  switch (pm.pixelSize) {
    case 32:
      return PackColor(Load32(PixelAddress(pm, col, row), pm.pixelFormat));
    case 16: {
      const uint8_t* p = PixelAddress(pm, col, row);
      uint16_t w;
      std::memcpy(&w, p, 2);
      return w;
    }
    case 8:
      return *PixelAddress(pm, col, row);
    case 1: {
      const uint8_t* p = pm.baseAddr + int64_t(row) * pm.rowBytes + (col >> 3);
      return (*p >> (7 - (col & 7))) & 1;
    }
    default:
      return 0;
  }
}

inline void WriteValue(const PixMap& pm, int32_t col, int32_t row, uint32_t value)
{
  switch (pm.pixelSize) {
    case 32:
      Store32(PixelAddress(pm, col, row), pm.pixelFormat, UnpackColor(value));
      break;
    case 16: {
      uint16_t w = uint16_t(value);
      std::memcpy(PixelAddress(pm, col, row), &w, 2);
      break;
    }
    case 8:
      *PixelAddress(pm, col, row) = uint8_t(value);
      break;
    case 1: {
      uint8_t* p = pm.baseAddr + int64_t(row) * pm.rowBytes + (col >> 3);
      uint8_t bit = uint8_t(0x80 >> (col & 7));
      *p = (value & 1) ? uint8_t(*p | bit) : uint8_t(*p & ~bit);
      break;
    }
    default:
      break;
  }
}

// The colour of a value: pad/alpha, red, green, blue; byte 0 is the pixel's
// own pad byte for 32-bit maps and 255 otherwise.
normalcolor ValueToColor(const PixMap& pm, uint32_t value);

// The value that shows colour c best in the map: 32-bit maps take all four
// bytes, 16-bit maps the top five bits of each channel, indexed maps the
// nearest entry of their table (1-bit maps: 1 for dark colours).
uint32_t ColorToValue(const PixMap& pm, normalcolor c);

// The values that a map's pixels take when erased to white and painted black.
uint32_t WhiteValue(const PixMap& pm);

}  // namespace kvpix

namespace kvpix {

// Finds the value for many colours in one map: grey ramps are looked up
// directly, other tables by nearest entry, remembering the last answer.
class ColorMatcher
{
public:
  explicit ColorMatcher(const PixMap& pm);
  uint32_t operator()(normalcolor c);

private:
  const PixMap& pm_;
  int rampKind_ = 0;  // 1 ascending grey ramp, -1 descending, 0 other
  bool haveLast_ = false;
  normalcolor last_;
  uint32_t lastValue_ = 0;
};

}  // namespace kvpix
