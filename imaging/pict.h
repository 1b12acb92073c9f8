// PICT version 2 files: a writer of one picture of direct 32-bit pixels and
// a reader of the subset that picture writers commonly produce.
//
// Written: a 512-byte zero header, the picture size (low 16 bits) and frame,
// the version and extended header opcodes, a clip region, and one
// DirectBitsRect of 32-bit pixels, component planes run-length packed (pack
// type 4; unpacked for a one-pixel-wide picture), alpha as a fourth
// component when asked.
//
// Read: DirectBitsRect/Rgn at 32 bits (pack types 0-4 as they apply: 1 raw,
// 2 without the pad byte, 4 packed planes) and at 16 bits (pack types 1 and
// 3), PackBitsRect/Rgn at 8 bits through their colour tables; every other
// opcode of a version 2 picture whose size is known is skipped; anything
// else (version 1 pictures, pattern opcodes, bitmaps of 1 bit) is refused.
// The file may start with the 512-byte header or at the picture itself.
//
// Pure functions; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/stillimage.h"

namespace kvpict {

// The widest picture the writer can describe: 4 x width row bytes must fit
// the 14 bits of a pixel map's row-bytes field.
inline constexpr int32_t kMaxWriteWidth = 0x3FFF / 4;

// True when the bytes start like a version 2 picture (with or without the
// 512-byte header).
bool looksLikePict(const uint8_t* data, size_t size);

// The rows (8-bit grey, written as grey colour, or 32-bit alpha/pad, red,
// green, blue; alpha kept as a fourth component when rows.alpha is set) as a
// PICT file. False, with a reason, for bad rows or a picture wider than
// kMaxWriteWidth.
bool write(const kvimg::Rows& rows, std::vector<uint8_t>* out, std::string* why = nullptr);

// Decodes the picture into straight-alpha pixels of the frame's size, on
// opaque white where no pixels were drawn. The frame and every pixel map
// must stay within the picture limits and within maxBytes of 32-bit pixels.
// False, with the reason and the byte offset where it was found, otherwise.
bool read(const uint8_t* data, size_t size, kvimg::Pixels* out, std::string* why = nullptr,
          int64_t maxBytes = kvimg::kMaxImageBytes);

// PackBits run-length coding of 1-byte (unit 1) or 2-byte (unit 2) units.
void packBits(const uint8_t* src, size_t size, std::vector<uint8_t>* out);
// Unpacks exactly `want` bytes from `size` packed bytes; false when the data
// ends early or would write past `want`.
bool unpackBits(const uint8_t* src, size_t size, uint8_t* dst, size_t want, int unit);

}  // namespace kvpict
