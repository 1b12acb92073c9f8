// Pixel filters: operations on a rectangle of pixels in place, in the shape
// of the row callbacks that buffer commands apply (pixcommand.h): columns,
// rows, the rectangle's top-left pixel, row bytes, then a parameter. Pixels
// are 32-bit normalcolor bytes (byte 0 alpha or mask, then red, green, blue)
// unless gwIs8bit is set.
//
// Main thread only; filters keep no state between calls.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/pixcommand.h"

// How gw_hilit colours pixels: the highlight colour, whether the image
// builder clips to the picture's mask (gw_hilit does not read it), and the
// mode: 2 highlight by brightness, 3 tint, 4 glow by colourfulness.
struct HiliteStyle
{
  normalcolor color;
  uint8_t clipToMask = 0;
  uint8_t mode = 0;
};

// Highlight colouring of 32-bit pixels; byte 0 is kept. With the style's
// colour S and a pixel's R, G, B:
//  mode 4: w = min(64, 4 max(|R - G|, |G - B|)), each channel x + (S w >> 8);
//  mode 3: w = 2 max(|R - G|, |G - B|) (255 from 256 on); when w > 0 the
//          pixel moves w/256 of the way to S l >> 8, l = (8R + 9G + 7B) >> 4;
//  other:  grey pixels at or below 64 stay; others take m = max(R, G, B),
//          f = m below 64 else 2m - 64, each channel S f >> 8.
// Results are held to 255. The style is taken by address (a pointer does not
// fit a row callback's 32-bit parameter); a null style changes nothing.
void gw_hilit(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
              const HiliteStyle* style);

// Multiplies red, green and blue of each 32-bit pixel by its byte 0:
// x a >> 8. Nothing for 8-bit pixels; the parameter is not used.
void gw_alphapremul(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                    int32_t param);
