// Still images in files: decoding a picture (PNG, JPEG, TIFF, GIF, BMP and
// what else gdk-pixbuf reads; the first page of a PDF through poppler) into
// 32-bit pixels with straight alpha; encoding rows as PNG (libpng) or TIFF
// (libtiff) bytes; replacing a file's contents through a temporary file; and
// PDF documents held in memory whose first page is measured and rendered.
//
// No library type appears here. Any thread, one image or document at a time
// per call; a PdfDocument is used by one thread at a time.
#pragma once

#include <cstddef>
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

// Largest picture accepted: at most kMaxImageSide pixels a side and at most
// kMaxImageBytes of 32-bit pixels, so that a crafted header can make neither
// a gigantic allocation nor a size that 16-bit rectangles cannot hold.
inline constexpr int32_t kMaxImageSide = 32767;
inline constexpr int64_t kMaxImageBytes = int64_t(1) << 30;

// True when a width x height picture of 32-bit pixels is within the limits
// above (both sides at least 1).
bool sizeAllowed(int64_t width, int64_t height);

// --- Decoding

// Decodes the file at `path` (a PDF's first page at its page size, on white).
// False, with a reason in *why when given, for a file that cannot be read,
// is no picture, is damaged or too large.
bool decodeFile(const std::string& path, Pixels* out, std::string* why = nullptr);

// --- Encoding

// Rows to encode. 8 bits per pixel: one grey sample per pixel, written as a
// grey image without alpha. 32 bits per pixel: alpha (or pad), red, green,
// blue; written as RGB, or as RGB plus an unassociated alpha sample when
// `alpha` is set.
struct Rows
{
  const uint8_t* base = nullptr;  // the first (top) row
  int32_t rowBytes = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 32;  // 8 or 32
  bool alpha = false;
};

// The rows as the bytes of a PNG or a TIFF file (uncompressed strips,
// 72 dpi). False, with a reason, for bad rows or when the encoder fails.
bool encodePng(const Rows& rows, std::vector<uint8_t>* out, std::string* why = nullptr);
bool encodeTiff(const Rows& rows, std::vector<uint8_t>* out, std::string* why = nullptr);

// Writes the bytes to a new temporary file beside `path` and renames it over
// `path` only when every byte was written and the file closed. On failure
// the temporary file is removed and an older file at `path` is untouched.
bool replaceFile(const std::string& path, const uint8_t* data, size_t size,
                 std::string* why = nullptr);

enum class Format
{
  Png,
  Tiff,
  Jpeg,
};

// Writes rows of `width * 4`-byte pixels (alpha, red, green, blue) starting
// at `argb`, `rowBytes` apart, through replaceFile. With `keepAlpha` the
// alpha byte is stored (PNG, TIFF), otherwise the picture is opaque. False
// when it cannot be written.
bool encodeFile(const std::string& path, Format format, const uint8_t* argb, int32_t rowBytes,
                int32_t width, int32_t height, bool keepAlpha);

// --- PDF documents

struct PdfDocument;

// Opens a PDF held in `bytes`; the document keeps the bytes for its whole
// life. Null, with a reason, for bytes that are no PDF, a damaged PDF or one
// without pages.
PdfDocument* pdfOpen(std::vector<uint8_t> bytes, std::string* why = nullptr);
// The same for a file's contents.
PdfDocument* pdfOpenFile(const std::string& path, std::string* why = nullptr);
void pdfClose(PdfDocument* doc);
// The first page's size in points; false for a size that is not finite,
// not positive or beyond the picture limits.
bool pdfPageSize(const PdfDocument* doc, double* width, double* height);
// Renders the first page stretched to width x height pixels, upright (first
// row at the page's top), over white or over transparent pixels.
bool pdfRenderPage(const PdfDocument* doc, int32_t width, int32_t height, bool onWhite, Pixels* out,
                   std::string* why = nullptr);

}  // namespace kvimg
