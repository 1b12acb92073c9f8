// Still images in files: decoding a picture (PNG, JPEG, TIFF, GIF, BMP and
// what else gdk-pixbuf reads; the first page of a PDF through poppler) into
// 32-bit pixels, and writing pixels as a PNG, TIFF or JPEG file. No library
// type appears here. Any thread, one image at a time per call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvimg {

// Pixels four bytes each in memory order alpha, red, green, blue, rows
// `width * 4` bytes apart, not premultiplied.
struct Pixels
{
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> argb;
};

// Largest picture accepted (either side), so a crafted header cannot make a
// gigantic allocation.
inline constexpr int32_t kMaxImageSide = 16384;

// Decodes the file at `path`. False, with a reason in *why when given, for a
// file that cannot be read, is no picture, is damaged or too large.
bool decodeFile(const std::string& path, Pixels* out, std::string* why = nullptr);

enum class Format
{
  Png,
  Tiff,
  Jpeg,
};

// Writes rows of `width * 4`-byte pixels (alpha, red, green, blue) starting
// at `argb`, `rowBytes` apart. With `keepAlpha` the alpha byte is stored
// (PNG, TIFF), otherwise the picture is opaque. False when it cannot be
// written.
bool encodeFile(const std::string& path, Format format, const uint8_t* argb, int32_t rowBytes,
                int32_t width, int32_t height, bool keepAlpha);

}  // namespace kvimg
