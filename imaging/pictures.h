// Pictures in the program's own format (imaging/pictures.cpp) made from
// decoded pixels, and the pixels of such a picture. The picture functions
// that work on off-screen buffers are declared in imaging/offworld.h.
#pragma once

#include <cstdint>

#include "imaging/offworld.h"
#include "platform/stillimage.h"

// A picture of the pixels, framed at (0, 0); the alpha bytes are kept as the
// picture's pad bytes. Null for an empty picture or one over 32767 a side
// or too large for a handle.
PicHandle KVpict_FromPixels(const kvimg::Pixels& pixels);
// The picture's recorded pixels (pad bytes as alpha, 255 where the picture
// keeps none); false for a handle that holds no valid picture.
bool KVpict_ToPixels(PicHandle pict, kvimg::Pixels* out);
