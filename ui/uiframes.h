// Item frames: the work colours an item is drawn with, the fourteen frame
// styles that the item set draws around items, and the embossed and
// shadowed rectangles they are made of.
//
// Rectangles are {top, left, bottom, right} in the context's flipped user
// space (y down). Colours are normalcolors (alpha, red, green, blue).
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/quartz.h"

// The per-component average of red, green and blue, alpha 255.
normalcolor UI_MeanColor(normalcolor a, normalcolor b);

// 1-pixel edges of r: the left and top edges in colour B, the right edge at
// x = right and the bottom edge at y = bottom in colour A, at `alpha`.
void cEmbossRect(CGContextRef ctx, Point topLeft, Point bottomRight, normalcolor a, normalcolor b,
                 float alpha);
// Fills r in the colour, then two embosses: on r less one pixel at right and
// bottom at alpha 0.5, and inset by one more at alpha 0.2; raised: white
// top-left, black bottom-right; pressed: the reverse.
void EPaintEmbossRect(CGContextRef ctx, Point topLeft, Point bottomRight, normalcolor color,
                      bool pressed);
// Left and top edges in A, right and bottom in B.
void cHollowEmbossRect(CGContextRef ctx, int16_t left, int16_t top, int16_t right, int16_t bottom,
                       normalcolor a, normalcolor b);
// A shadowed rectangle in the colour; returns the rectangle.
Rect cShadowRect(CGContextRef ctx, Point topLeft, Point bottomRight, normalcolor color);
