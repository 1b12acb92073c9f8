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

// ---- Further filters: each a PixCommandProc (columns, rows, top-left pixel,
// row bytes, parameter) reading gwIs8bit (gw_colorfill also gwIs16bit).
// A packed colour parameter is a normalcolor read as one 32-bit value (byte 0
// in bits 0-7, red 8-15, green 16-23, blue 24-31). Line stores and tables
// use the imaging scratch block; lines that do not fit get a block of their
// own. The mask filters read the ramp the caller wrote into gTempbuffer
// (nothing without one).

// Point filters.
void gw_invertalpha(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_mul(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t colour);
void gw_sub(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t amount);
void gw_invert(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_SawMap(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_AbsMap(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
// Weight a (0..256) and the colour it fades towards.
struct FadeToColorRec
{
  int16_t weight = 256;
  normalcolor color;
};
void gw_FadeToColor(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                    const FadeToColorRec* rec);
void gw_FadeDirection(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
// The pixel value (32-bit), its low byte (8-bit) or its x-5-5-5 form (16-bit).
void gw_colorfill(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t value);

// Whole-rectangle filters.
void gw_Equalize(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_max_x(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_max_y(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_Lerp(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_SymH(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_SymV(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_Sym(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_MirrorH(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_MirrorV(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_Hfill(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_Vfill(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);

// Box averages along rows (X) or columns (Y). gw_FastAverage/Y: window n =
// parameter held to 2..256, all four bytes, 32-bit only. The BS forms take
// bits 8-15 shift s, 16-23 maximum flag, 24-31 window n = 2^s.
void gw_FastAverage(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t n);
void gw_FastAverageY(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t n);
void gw_FastAverageXBS(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                       int32_t window);
void gw_FastAverageYBS(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                       int32_t window);
void gw_FastAverage8XBS(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                        int32_t window);
void gw_FastAverage8YBS(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                        int32_t window);
// Radius in the low byte (window 4, 8, ... 128), maximum combination above
// 255: two rounds of a horizontal then a vertical box average.
void gw_FastBlurr32(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                    int32_t param);
// The window and shift gw_FastBlurr32 takes for a radius.
struct BlurWindow
{
  int32_t window;
  int32_t shift;
};
BlurWindow gw_BlurWindow(int32_t radius);

// Masks from the caller's ramp in gTempbuffer (8-bit: 256 bytes; 32-bit:
// 2,049 pixels, or P + 1 for gw_GaussMask, P held to what the block holds).
void gw_FadeInMaskV(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_FadeInOutMaskV(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_FadeInMaskH(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_FadeInOutMaskH(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_SquareMask(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_GaussMask(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                  int32_t lastIndex);

// Row fades: LowerLo blanks the bottom 12 rows and fades in the 100 above,
// LowerHi the top; FadeMap fades the outer quarter of each row's bytes.
void gw_LowerLo(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_LowerHi(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_FadeMap(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
// Shifts each row d pixels right (0 from outside; with gopt the maximum).
void gw_offset(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t d);
// A count n (held to 1..64) followed by n colours.
struct GradientRec
{
  int32_t count = 0;
  normalcolor colors[64];
};
void gw_gradientV(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                  const GradientRec* rec);
void gw_gradientH(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                  const GradientRec* rec);
// Smoothing and embossing along rows; bytes they do not compute keep their
// values (emboss: bytes 1 and 2 of 32-bit pixels).
void gw_smoothX(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_smoothR(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_smoothL(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_embossR(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
void gw_embossL(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t);
