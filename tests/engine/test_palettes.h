// Opaque colours and small palettes written out in the tests.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "foundation/types.h"

inline constexpr normalcolor rgb(uint8_t r, uint8_t g, uint8_t b)
{
  return normalcolor{255, r, g, b};
}

// A palette holding exactly the given colours, the rest of its slots zero.
inline cpalette paletteOf(std::initializer_list<normalcolor> colors)
{
  cpalette p{};
  p.count = int32_t(colors.size());
  int i = 0;
  for (const normalcolor& c : colors)
    p.colors[i++] = c;
  return p;
}
