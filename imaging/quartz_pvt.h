// Contexts over pixels in any of the program's 32-bit layouts.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/quartz.h"

// A context drawing into width x height pixels at `pixels` with the given row
// bytes and memory format ('ARGB' or 'BGRA'). With kQZBitmapPremultipliedFirst
// the first byte is a premultiplied alpha; with kQZBitmapSkipFirst it is left
// as it is and the pixels are opaque. Null for a bad size or layout.
CGContextRef QZ_ContextOnPixels(uint8_t* pixels, int32_t width, int32_t height, int32_t rowBytes,
                                OSType format, uint32_t bitmapInfo);

// A context drawing into a cairo surface of any kind (a PDF surface, say),
// its user space width x height units, y up from the bottom-left as every
// context. The context takes a reference on the surface. Null on failure.
CGContextRef QZ_ContextOnCairoSurface(void* cairoSurface, double width, double height);
