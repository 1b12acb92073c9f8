// Palettes (`cpalette`, foundation/types.h): the colour gradients through which
// colour functions and components turn a value into a colour, and the
// library of 64 palettes the application keeps (`cpalettelib`).
//
// A palette's `count` colours are spread evenly along the gradient: colour i
// stands at i / (count - 1). Every operation here reads at most the 64 slots a
// palette has, whatever its count says. Random colours are opaque, with blue,
// green and red taken in that order from the low byte of three calls of the
// system's random(); random values in [0, 1] are random() / 2147483647.
//
// Main thread only (they draw from the process-wide random generator); no
// operation allocates.
#pragma once

#include <cstdint>

#include "foundation/types.h"

inline constexpr int32_t kPaletteSlots = 64;     // colour slots of a palette
inline constexpr int32_t kPaletteMaxCount = 63;  // largest count after any file read
inline constexpr int32_t kPaletteLibSize = 64;   // palettes in a library
inline constexpr int32_t kPaletteBuiltinCount = 12;

// The library: 64 palettes (count 0 marks an empty slot), the highest slot
// index used by the last store and a word that is always 0. 16,648 bytes.
struct cpalettelib
{
  cpalette palettes[kPaletteLibSize];
  int32_t highestUsed;
  int32_t reserved;
};
static_assert(sizeof(cpalettelib) == 16648);

// Transform modes of transform_cpalette.
enum : int16_t
{
  kPalNone = 0,
  kPalHue = 1,         // hue turned by amount (mod 256)
  kPalContrast = 2,    // (c - 128) * amount / 128 + 128
  kPalSaturation = 3,  // saturation + 2 * amount - 255
  kPalBrightness = 4,  // c + amount - 128
  kPalSmooth = 5,      // 1-2-1 smoothing twice, mixed by amount / 256
  kPalRotate = 6,      // colours rotated by (amount - 128) / 128 of the count
  kPalRamp = 7,        // straight ramp between the first and last colours
  kPalShift = 8,       // all 64 slots turned by (amount mod count) + 1
  kPalReverse = 9,
  kPalInvert = 10,
  kPalVariation = 11,  // 18% towards random colours
  kPalRed = 12,        // red + amount - 128
  kPalGreen = 13,
  kPalBlue = 14,
  kPalNone15 = 15,
  kPalCrossfade = 16,  // towards the destination's present colours by amount / 255
  kPalDouble = 17,     // the colours repeated once, up to 63
};

// All 64 slots opaque black, then a black-to-red gradient of 2 colours.
void init_cpalette(cpalette* p);
// Built-in palette `index` (0 to 9 fixed, others random colours); a negative
// index leaves an empty palette with colour 0 black.
void define_cpalette(cpalette* p, int32_t index);
// 1 to 63 random colours.
void rnd_cpalette(cpalette* p);
// Stretches red, green and blue of the used colours to the full 0..255 range.
void Normalize_cpalette(cpalette* p);
// destination = n colours sampled evenly along the source gradient (n held to
// 0..64). Source and destination may be the same palette.
void resample_cpalette(const cpalette* source, cpalette* destination, int32_t n);
// count n (held to 0..64); colour i = (255, red[i], green[i], blue[i]) * scale,
// each truncated, keeping its low byte.
void buildvec_cpalette(cpalette* p, const int16_t* red, const int16_t* green, const int16_t* blue,
                       int32_t n, double scale);
// For each used colour: red[i] = trunc(byte * scale), likewise green and blue.
void getvec_cpalette(const cpalette* p, int16_t* red, int16_t* green, int16_t* blue, double scale);
// Equal counts and equal used colours (all four bytes); empty palettes of
// equal counts are equal.
bool EqualPalette(const cpalette* a, const cpalette* b);
// The blend of a and b at t; the shorter palette is first resampled to the
// longer one's count. result may be a or b.
void lerp_cpalette(const cpalette* a, const cpalette* b, cpalette* result, double t);
// destination = source transformed by `mode` (see the enum) with `amount`
// (0..255, 128 neutral, from the gradient editor). The destination count
// becomes the source count for every mode. Source and destination may be the
// same palette; mode 16 blends towards the destination's present colours.
void transform_cpalette(const cpalette* source, cpalette* destination, int16_t mode,
                        int16_t amount);
// Random mutation of strength p in [0, 1]; an empty palette first gets 2 to 8
// random colours.
void rndmize_cpalette(cpalette* p, double strength);

// Copies slot `from` into slot `to` (nothing when equal or out of 0..63).
void copy_cpalettelib_index(cpalettelib* lib, int32_t from, int32_t to);
// Stores into the first empty slot among 0..n-1 and returns its index; with
// none empty, overwrites slot n-1 and returns -1. n is held to 1..64.
int32_t store_cpalette(cpalettelib* lib, const cpalette* p, int32_t n);
// Marks slot i empty (nothing when i is out of 0..63).
void delete_cpalette(cpalettelib* lib, int32_t i);
// Every count above 63 becomes 63.
void cleanup_cpalettelib(cpalettelib* lib);
// Empty slots, then built-in palettes 0 to 11 in slots 0 to 11.
void init_cpalettelib(cpalettelib* lib);
