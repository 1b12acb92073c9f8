// Shared base types of the whole program: rectangles and points as the old
// 16-bit records, four-character codes, Pascal string buffers, colours and
// vectors of doubles.
#pragma once

#include <cstddef>
#include <cstdint>

// The no-value marker: a sample at or above it means "no value here".
inline constexpr double gINFINITY = 1e250;

// Four-character code (file types, creators, commands, pixel formats).
using OSType = uint32_t;

// Builds the big-endian four-character code of a four-letter literal:
// fourcc("quit") == 0x71756974.
constexpr OSType fourcc(const char (&s)[5])
{
  return (OSType(uint8_t(s[0])) << 24) | (OSType(uint8_t(s[1])) << 16) |
         (OSType(uint8_t(s[2])) << 8) | OSType(uint8_t(s[3]));
}

// Pascal strings: a length byte followed by at most N characters (UTF-8 bytes).
using Str255 = unsigned char[256];
using Str63 = unsigned char[64];
using Str31 = unsigned char[32];
using StringPtr = unsigned char*;
using ConstStringPtr = const unsigned char*;

// A rectangle {top, left, bottom, right} and a point {v, h} of 16-bit values.
struct Rect
{
  int16_t top = 0;
  int16_t left = 0;
  int16_t bottom = 0;
  int16_t right = 0;
};

struct Point
{
  int16_t v = 0;
  int16_t h = 0;
};

inline constexpr bool operator==(const Rect& a, const Rect& b)
{
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}
inline constexpr bool operator==(const Point& a, const Point& b)
{
  return a.v == b.v && a.h == b.h;
}

// Old signatures pass a point as one 32-bit word, v in the low half and h in
// the high half (v | h << 16), and a rectangle as two such words: top | left
// << 16, then bottom | right << 16.
constexpr int32_t PackPoint(Point p)
{
  return int32_t(uint32_t(uint16_t(p.v)) | (uint32_t(uint16_t(p.h)) << 16));
}
constexpr Point UnpackPoint(int32_t w)
{
  return Point{int16_t(uint32_t(w) & 0xFFFF), int16_t(uint32_t(w) >> 16)};
}
constexpr int32_t PackRectTopLeft(const Rect& r)
{
  return PackPoint(Point{r.top, r.left});
}
constexpr int32_t PackRectBottomRight(const Rect& r)
{
  return PackPoint(Point{r.bottom, r.right});
}
constexpr Rect UnpackRect(int32_t topLeft, int32_t bottomRight)
{
  Point a = UnpackPoint(topLeft), b = UnpackPoint(bottomRight);
  return Rect{a.v, a.h, b.v, b.h};
}

// A colour of four bytes in memory order: flag or alpha (255 opaque), red,
// green, blue. Pixels of 32 bits use the same order.
struct normalcolor
{
  uint8_t flag = 0;
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;

  uint8_t& operator[](int i) { return (&flag)[i]; }
  uint8_t operator[](int i) const { return (&flag)[i]; }
};
static_assert(sizeof(normalcolor) == 4);

inline constexpr bool operator==(const normalcolor& a, const normalcolor& b)
{
  return a.flag == b.flag && a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The colour as one 32-bit word read little-endian from memory: red in bits
// 8..15, green 16..23, blue 24..31.
constexpr uint32_t normalcolorWord(normalcolor c)
{
  return uint32_t(c.flag) | (uint32_t(c.red) << 8) | (uint32_t(c.green) << 16) |
         (uint32_t(c.blue) << 24);
}
constexpr normalcolor normalcolorFromWord(uint32_t w)
{
  return normalcolor{uint8_t(w), uint8_t(w >> 8), uint8_t(w >> 16), uint8_t(w >> 24)};
}

// A palette: a count of colour keys (at most 63 after any file read) and 64
// colour slots; 260 bytes as stored.
struct cpalette
{
  int32_t count = 0;
  normalcolor colors[64];
};
static_assert(sizeof(cpalette) == 260);

// Points, circles (centre and radius) and colours with altitude.
struct dvector2d
{
  double x = 0, y = 0;
};
struct dvector3d
{
  double x = 0, y = 0, z = 0;
};
struct dvector4d
{
  double x = 0, y = 0, z = 0, w = 0;
};
