// One-line labels on drawing contexts: the program's table of 32 fonts and
// the text look that picks a font, a size, an effect and a placement.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/quartz.h"

// A text look (4 bytes): size in user-space units (signed); font family,
// taken modulo 8; face: the low 2 bits select the face column, bits 2-3 the
// effect (0 fill, 1 drop shadow, 2 fill and stroke, 3 the context's own
// colour); justification: modulo 3 the horizontal placement (0 left,
// 1 centred, 2 right), and above 2 the baseline near the top instead of
// centred vertically.
struct textLook
{
  int8_t size = 12;
  uint8_t font = 0;
  uint8_t face = 0;
  uint8_t just = 0;
};
static_assert(sizeof(textLook) == 4);

// PostScript font names by family f (0..7) and face s (0..3) at 4 f + s,
// each NUL-terminated in 64 bytes.
extern const char gfontnames[32][64];

// The text look decoded.
struct QZTextStyle
{
  const char* fontName = nullptr;  // an entry of gfontnames
  int32_t effect = 0;              // 0 fill, 1 drop shadow, 2 fill and stroke, 3 context colour
  int32_t placement = 0;           // 0 left, 1 centred, 2 right
  bool topBaseline = false;
};
QZTextStyle QZ_TextStyleOfLook(const textLook& look);

// Draws the Pascal string on one line in r (the context is flipped: y
// down). Baseline: top + 1.25 size for a top baseline, else
// (top + bottom) / 2 + 0.36 size. With W = (right - left) - 4 the text starts
// at left + 4 (left), left + 2 + max(1, (W - width) / 2) (centred) or
// left + 2 + W - width (right), width being the text's advance. Effects:
// drop shadow in black at alpha 0.5 at that point, then the text in the
// colour 3 left and 2 up; fill and stroke in the colour at the context's
// line width; the context's fill colour for effect 3. Nothing for an empty
// string or a size of 0 or less.
void QZ_drawString(CGContextRef ctx, const textLook* look, ConstStringPtr text, Rect r, float alpha,
                   float red, float green, float blue);
