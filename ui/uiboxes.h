// Halos and scattered textures of the decorative boxes.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/quartz.h"

// A soft oval in the colour over r's size: a filled oval inset by 0.3 of
// each half size less 2, blurred (strength 64). Null on failure.
CGImageRef MakeimageHalo(Rect r, normalcolor color);
// Draws `count` copies of the image at alpha 0.5, each at its own size
// centred on a position inside r and turned by an angle in [-pi/2, pi/2],
// from a generator of its own seeded 128: the same pattern every time.
void QZdraw_imagetexture(CGContextRef ctx, CGImageRef image, Rect r, int16_t count);
