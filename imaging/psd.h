// The composite image of a Photoshop document (PSD, version 1): 8 or 16 bits
// per sample, grey or RGB colour, raw or run-length (PackBits) image data.
// With a negative layer count the first channel after the colour channels is
// the composite's transparency and becomes alpha; further channels are
// ignored. Bitmap, indexed, CMYK, Lab and large-document (PSB) files are
// refused.
//
// Pure functions; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/stillimage.h"

namespace kvpsd {

// True when the bytes start with the document signature.
bool looksLikePsd(const uint8_t* data, size_t size);

// Decodes the composite image into straight-alpha pixels. The image must
// stay within the picture limits and within maxBytes of 32-bit pixels.
// False, with the reason and the byte offset where it was found, otherwise.
bool read(const uint8_t* data, size_t size, kvimg::Pixels* out, std::string* why = nullptr,
          int64_t maxBytes = kvimg::kMaxImageBytes);

}  // namespace kvpsd
