// A palette library whose every byte depends on its slot and colour index,
// written and read back by the palette file tests and tools.
#pragma once

#include <cstdint>

#include "engine/palettefiles.h"

// Slot k: count (k * 7) % 64; colour i: (255 - i, k, i * 3 mod 256, k xor i).
// The header fields stay zero.
inline cpalettelib patternedPalettes()
{
  cpalettelib lib{};
  for (int k = 0; k < kPaletteLibSize; ++k) {
    lib.palettes[k].count = (k * 7) % 64;
    for (int i = 0; i < kPaletteSlots; ++i)
      lib.palettes[k].colors[i] =
          normalcolor{uint8_t(255 - i), uint8_t(k), uint8_t(i * 3), uint8_t(k ^ i)};
  }
  return lib;
}
