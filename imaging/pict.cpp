#include "imaging/pict.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "foundation/bigendian.h"

namespace kvpict {

namespace {

constexpr size_t kFileHeaderBytes = 512;
constexpr uint16_t kOpVersion = 0x0011;
constexpr uint16_t kVersion2 = 0x02FF;
constexpr uint16_t kOpHeader = 0x0C00;
constexpr uint16_t kOpDefHilite = 0x001E;
constexpr uint16_t kOpClip = 0x0001;
constexpr uint16_t kOpPackBitsRect = 0x0098;
constexpr uint16_t kOpPackBitsRgn = 0x0099;
constexpr uint16_t kOpDirectBitsRect = 0x009A;
constexpr uint16_t kOpDirectBitsRgn = 0x009B;
constexpr uint16_t kOpEnd = 0x00FF;
constexpr uint32_t kFixed72 = 0x00480000;  // 72 dpi as a 16.16 number
constexpr uint16_t kPixMapFlag = 0x8000;
constexpr uint16_t kRowBytesMask = 0x3FFF;
constexpr uint16_t kRGBDirect = 16;

struct PictRect
{
  int32_t top = 0, left = 0, bottom = 0, right = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
};

PictRect readRect(be::Reader& r)
{
  PictRect rect;
  rect.top = r.i16();
  rect.left = r.i16();
  rect.bottom = r.i16();
  rect.right = r.i16();
  return rect;
}

void putU16(std::vector<uint8_t>& out, uint16_t v)
{
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}

void putU32(std::vector<uint8_t>& out, uint32_t v)
{
  putU16(out, uint16_t(v >> 16));
  putU16(out, uint16_t(v));
}

void writeRect(std::vector<uint8_t>& out, int32_t height, int32_t width)
{
  putU16(out, 0);
  putU16(out, 0);
  putU16(out, uint16_t(height));
  putU16(out, uint16_t(width));
}

// --- Reading

struct Failure
{
  std::string* why;
  bool operator()(const char* text, size_t offset) const
  {
    if (why)
      *why = std::string(text) + " at byte " + std::to_string(offset);
    return false;
  }
};

// The picture as it is drawn: the frame's pixels, white until drawn.
struct Canvas
{
  PictRect frame;
  kvimg::Pixels* pixels;
};

// The fixed part of a pixel map after its row-bytes word.
struct PixMapInfo
{
  PictRect bounds;
  int32_t rowBytes = 0;
  int16_t packType = 0;
  int16_t pixelSize = 0;
  int16_t cmpCount = 0;
};

PixMapInfo readPixMap(be::Reader& r, uint16_t rowBytesWord)
{
  PixMapInfo pm;
  pm.rowBytes = rowBytesWord & kRowBytesMask;
  pm.bounds = readRect(r);
  r.u16();  // version
  pm.packType = r.i16();
  r.u32();  // packed size
  r.u32();  // horizontal resolution
  r.u32();  // vertical resolution
  r.u16();  // pixel type
  pm.pixelSize = r.i16();
  pm.cmpCount = r.i16();
  r.u16();  // component size
  r.u32();  // plane bytes
  r.u32();  // colour table handle
  r.u32();  // reserved
  return pm;
}

bool skipRegion(be::Reader& r)
{
  const uint16_t size = r.u16();
  if (size < 10)
    return false;
  r.skip(size - 2u);
  return !r.failed();
}

// One row's bytes (`want` of them: a whole row of the pixel map, or the
// planes of a plane-packed one): raw when the row bytes are under 8 or the pack type says
// so, else a byte count (a word when the row bytes pass 250) and packed data.
bool readRow(be::Reader& r, const PixMapInfo& pm, bool raw, size_t rawBytes, size_t want, int unit,
             std::vector<uint8_t>& row, std::vector<uint8_t>& packed)
{
  row.assign(want, 0);
  if (raw) {
    if (rawBytes < want)
      return false;
    packed.resize(rawBytes);
    if (rawBytes > 0 && !r.bytes(packed.data(), rawBytes))
      return false;
    std::memcpy(row.data(), packed.data(), want);
    return true;
  }
  const size_t count = pm.rowBytes > 250 ? r.u16() : r.u8();
  packed.resize(count);
  if (r.failed() || (count > 0 && !r.bytes(packed.data(), count)))
    return false;
  return unpackBits(packed.data(), count, row.data(), want, unit);
}

// Draws the decoded pixel map `src` (bounds size) from srcRect into dstRect
// of the canvas, stretching with the nearest pixel.
void place(Canvas& canvas, const kvimg::Pixels& src, const PixMapInfo& pm, const PictRect& srcRect,
           const PictRect& dstRect)
{
  if (srcRect.width() <= 0 || srcRect.height() <= 0 || dstRect.width() <= 0 ||
      dstRect.height() <= 0)
    return;
  kvimg::Pixels& dst = *canvas.pixels;
  const int32_t y0 = std::max(dstRect.top, canvas.frame.top);
  const int32_t y1 = std::min(dstRect.bottom, canvas.frame.bottom);
  const int32_t x0 = std::max(dstRect.left, canvas.frame.left);
  const int32_t x1 = std::min(dstRect.right, canvas.frame.right);
  for (int32_t y = y0; y < y1; ++y) {
    const int64_t sy = srcRect.top +
                       int64_t(y - dstRect.top) * srcRect.height() / dstRect.height() -
                       pm.bounds.top;
    if (sy < 0 || sy >= src.height)
      continue;
    for (int32_t x = x0; x < x1; ++x) {
      const int64_t sx = srcRect.left +
                         int64_t(x - dstRect.left) * srcRect.width() / dstRect.width() -
                         pm.bounds.left;
      if (sx < 0 || sx >= src.width)
        continue;
      std::memcpy(
          &dst.argb[(size_t(y - canvas.frame.top) * dst.width + (x - canvas.frame.left)) * 4],
          &src.argb[(size_t(sy) * src.width + size_t(sx)) * 4], 4);
    }
  }
}

using Palette = std::array<std::array<uint8_t, 3>, 256>;

bool readColorTable(be::Reader& r, Palette& palette)
{
  r.u32();  // seed
  const uint16_t flags = r.u16();
  const uint16_t last = r.u16();
  if (r.failed() || last > 255)
    return false;
  for (auto& c : palette)
    c = {0, 0, 0};
  for (uint32_t i = 0; i <= last; ++i) {
    const uint16_t value = r.u16();
    const uint8_t red = uint8_t(r.u16() >> 8), green = uint8_t(r.u16() >> 8),
                  blue = uint8_t(r.u16() >> 8);
    // A device table lists its entries in order; otherwise each names its index.
    const uint32_t index = (flags & 0x8000) ? i : value;
    if (index < 256)
      palette[index] = {red, green, blue};
  }
  return !r.failed();
}

// Decodes a pixel map's rows into straight-alpha pixels.
bool decodeRows(be::Reader& r, const PixMapInfo& pm, bool direct, const Palette& palette,
                kvimg::Pixels& out)
{
  const int32_t width = pm.bounds.width(), height = pm.bounds.height();
  out.width = width;
  out.height = height;
  out.argb.assign(size_t(width) * height * 4, 255);
  std::vector<uint8_t> row, packed;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* d = out.argb.data() + size_t(y) * width * 4;
    if (!direct) {
      if (!readRow(r, pm, pm.rowBytes < 8, size_t(pm.rowBytes), size_t(pm.rowBytes), 1, row,
                   packed))
        return false;
      for (int32_t x = 0; x < width; ++x)
        std::memcpy(d + 4 * x + 1, palette[row[x]].data(), 3);
    } else if (pm.pixelSize == 16) {
      const bool raw = pm.rowBytes < 8 || pm.packType == 1;
      if (!readRow(r, pm, raw, size_t(pm.rowBytes), size_t(pm.rowBytes), 2, row, packed))
        return false;
      for (int32_t x = 0; x < width; ++x) {
        const uint16_t v = be::get_u16(&row[2 * size_t(x)]);
        for (int c = 0; c < 3; ++c) {
          const uint32_t five = (v >> (10 - 5 * c)) & 31;
          d[4 * x + 1 + c] = uint8_t((five << 3) | (five >> 2));
        }
      }
    } else if (pm.packType == 2) {
      if (!readRow(r, pm, true, size_t(width) * 3, size_t(width) * 3, 1, row, packed))
        return false;
      for (int32_t x = 0; x < width; ++x)
        std::memcpy(d + 4 * x + 1, &row[3 * size_t(x)], 3);
    } else if (pm.packType == 1 || (pm.rowBytes < 8 && pm.packType == 0)) {
      // Unpacked rows. Some writers pack planes with pack type 4 even for
      // rows under 8 bytes: those are read as packed.
      if (!readRow(r, pm, true, size_t(pm.rowBytes), size_t(width) * 4, 1, row, packed))
        return false;
      for (int32_t x = 0; x < width; ++x) {
        std::memcpy(d + 4 * x + 1, &row[4 * size_t(x) + 1], 3);
        if (pm.cmpCount == 4)
          d[4 * x] = row[4 * size_t(x)];
      }
    } else {
      // Component planes: alpha (with four components), red, green, blue.
      const int32_t planes = pm.cmpCount;
      if (!readRow(r, pm, false, 0, size_t(width) * planes, 1, row, packed))
        return false;
      const int32_t first = planes == 4 ? 0 : 1;
      for (int32_t p = 0; p < planes; ++p)
        for (int32_t x = 0; x < width; ++x)
          d[4 * x + first + p] = row[size_t(p) * width + x];
    }
  }
  return true;
}

bool validPixMap(const PixMapInfo& pm, bool direct, int64_t maxBytes)
{
  const int32_t width = pm.bounds.width(), height = pm.bounds.height();
  if (!kvimg::sizeAllowed(width, height) || int64_t(width) * height * 4 > maxBytes)
    return false;
  if (!direct)
    return pm.pixelSize == 8 && pm.rowBytes >= width;
  if (pm.pixelSize == 16)
    return (pm.packType == 0 || pm.packType == 1 || pm.packType == 3) && pm.rowBytes >= width * 2;
  if (pm.pixelSize != 32 || pm.rowBytes < width * 4)
    return false;
  if (pm.packType == 0 || pm.packType == 4)
    return pm.cmpCount == 3 || pm.cmpCount == 4;
  return pm.packType == 1 || pm.packType == 2;
}

bool readPixelOpcode(be::Reader& r, uint16_t op, Canvas& canvas, int64_t maxBytes,
                     const Failure& fail)
{
  const size_t at = r.offset();
  const bool direct = op == kOpDirectBitsRect || op == kOpDirectBitsRgn;
  if (direct)
    r.u32();  // base address
  const uint16_t rowBytesWord = r.u16();
  if (!(rowBytesWord & kPixMapFlag))
    return fail("bitmap of 1 bit not supported", at);
  const PixMapInfo pm = readPixMap(r, rowBytesWord);
  Palette palette{};
  if (!direct && !readColorTable(r, palette))
    return fail("bad colour table", at);
  const PictRect srcRect = readRect(r), dstRect = readRect(r);
  r.u16();  // transfer mode
  if (r.failed())
    return fail("pixel map cut short", at);
  if ((op == kOpPackBitsRgn || op == kOpDirectBitsRgn) && !skipRegion(r))
    return fail("bad mask region", at);
  if (!validPixMap(pm, direct, maxBytes))
    return fail("unsupported or oversized pixel map", at);
  kvimg::Pixels decoded;
  if (!decodeRows(r, pm, direct, palette, decoded))
    return fail("damaged pixel data", at);
  place(canvas, decoded, pm, srcRect, dstRect);
  return true;
}

// Skips the data of an opcode by its known size; false for an opcode this
// reader does not know how to skip.
bool skipOpcode(be::Reader& r, uint16_t op)
{
  // Fixed data sizes of the opcodes 0x00-0x8F that have one.
  static constexpr int8_t kFixed[0x30] = {
      0, -1, 8,  2,  1,  2,  4,  4,  2,  8,  8,  4,  4,  2,  4,  4,   // 0x00-0x0F
      8, 2,  -2, -2, -2, 2,  2,  0,  0,  0,  6,  6,  0,  6,  0,  6,   // 0x10-0x1F
      8, 4,  6,  2,  -3, -3, -3, -3, -4, -5, -5, -6, -3, -3, -3, -3,  // 0x20-0x2F
  };
  auto skipWordLength = [&] {
    const uint16_t n = r.u16();
    r.skip(n);
    return !r.failed();
  };
  auto skipText = [&](size_t before) {
    r.skip(before);
    const uint8_t n = r.u8();
    r.skip(n);
    return !r.failed();
  };
  if (op < 0x30) {
    const int8_t kind = kFixed[op];
    switch (kind) {
      case -1:
        return skipRegion(r);
      case -2:
        return false;  // pixel patterns
      case -3:
        return skipWordLength();
      case -4:
        return skipText(4);
      case -5:
        return skipText(1);
      case -6:
        return skipText(2);
      default:
        r.skip(size_t(kind));
        return !r.failed();
    }
  }
  if (op < 0x90) {
    // Shapes: rectangles, rounded rectangles, ovals, arcs, polygons and
    // regions; the "same shape" half of each group repeats the last one
    // (arcs still carry their two angles).
    const uint16_t group = op & 0xF0;
    const bool sameShape = (op & 0x08) != 0;
    if (group == 0x70 || group == 0x80)
      return sameShape ? true : skipRegion(r);
    if (group == 0x60)
      r.skip(sameShape ? 4 : 12);
    else if (!sameShape)
      r.skip(8);
    return !r.failed();
  }
  if ((op >= 0x92 && op <= 0x97) || (op >= 0x9C && op <= 0x9F) || (op >= 0xA2 && op <= 0xAF))
    return skipWordLength();
  if (op == 0xA0) {
    r.skip(2);
    return !r.failed();
  }
  if (op == 0xA1) {
    r.skip(2);
    return skipWordLength();
  }
  if (op >= 0xB0 && op <= 0xCF)
    return true;
  if ((op >= 0xD0 && op <= 0xFE) || op >= 0x8100) {
    const uint32_t n = r.u32();
    r.skip(n);
    return !r.failed();
  }
  if (op == kOpHeader) {
    r.skip(24);
    return !r.failed();
  }
  if (op >= 0x100 && op <= 0x7FFF) {
    r.skip(size_t(op >> 8) * 2);
    return !r.failed();
  }
  return op >= 0x8000 && op <= 0x80FF;
}

bool startsAt(const uint8_t* data, size_t size, size_t at)
{
  return size >= at + 14 && be::get_u16(data + at + 10) == kOpVersion &&
         be::get_u16(data + at + 12) == kVersion2;
}

}  // namespace

bool looksLikePict(const uint8_t* data, size_t size)
{
  return data != nullptr && (startsAt(data, size, kFileHeaderBytes) || startsAt(data, size, 0));
}

bool read(const uint8_t* data, size_t size, kvimg::Pixels* out, std::string* why, int64_t maxBytes)
{
  const Failure fail{why};
  if (out == nullptr || !looksLikePict(data, size))
    return fail("not a version 2 picture", 0);
  const size_t start = startsAt(data, size, kFileHeaderBytes) ? kFileHeaderBytes : 0;
  be::Reader r(data, size);
  r.seek(start + 2);  // the picture size's low 16 bits say nothing useful
  Canvas canvas{readRect(r), out};
  const int32_t width = canvas.frame.width(), height = canvas.frame.height();
  if (!kvimg::sizeAllowed(width, height) || int64_t(width) * height * 4 > maxBytes)
    return fail("frame empty or too large", start + 2);
  r.skip(4);  // the version opcode and its word
  out->width = width;
  out->height = height;
  out->argb.assign(size_t(width) * height * 4, 255);
  for (;;) {
    if ((r.offset() - start) & 1)
      r.skip(1);  // opcodes start on even offsets
    const size_t at = r.offset();
    const uint16_t op = r.u16();
    if (r.failed())
      return fail("picture ends without its end opcode", at);
    if (op == kOpEnd)
      return true;
    if (op >= kOpPackBitsRect && op <= kOpDirectBitsRgn) {
      if (!readPixelOpcode(r, op, canvas, maxBytes, fail))
        return false;
    } else if (op == 0x0090 || op == 0x0091 || !skipOpcode(r, op)) {
      return fail("unsupported or damaged opcode", at);
    }
  }
}

void packBits(const uint8_t* src, size_t size, std::vector<uint8_t>* out)
{
  size_t i = 0;
  while (i < size) {
    size_t run = 1;
    while (i + run < size && run < 128 && src[i + run] == src[i])
      ++run;
    if (run >= 3) {
      out->push_back(uint8_t(1 - int(run)));
      out->push_back(src[i]);
      i += run;
      continue;
    }
    // A literal stretch up to the next run of three.
    size_t n = 0;
    while (i + n < size && n < 128) {
      if (i + n + 2 < size && src[i + n] == src[i + n + 1] && src[i + n] == src[i + n + 2])
        break;
      ++n;
    }
    out->push_back(uint8_t(n - 1));
    out->insert(out->end(), src + i, src + i + n);
    i += n;
  }
}

bool unpackBits(const uint8_t* src, size_t size, uint8_t* dst, size_t want, int unit)
{
  size_t i = 0, o = 0;
  const size_t u = size_t(unit);
  while (o < want) {
    if (i >= size)
      return false;
    const int8_t c = int8_t(src[i++]);
    if (c >= 0) {
      const size_t n = (size_t(c) + 1) * u;
      if (n > size - i || n > want - o)
        return false;
      std::memcpy(dst + o, src + i, n);
      i += n, o += n;
    } else if (c != -128) {
      const size_t count = size_t(1 - c);
      if (u > size - i || count * u > want - o)
        return false;
      for (size_t k = 0; k < count; ++k, o += u)
        std::memcpy(dst + o, src + i, u);
      i += u;
    }
  }
  return true;
}

bool write(const kvimg::Rows& rows, std::vector<uint8_t>* out, std::string* why)
{
  const Failure fail{why};
  if (out == nullptr || rows.base == nullptr || (rows.bitsPerPixel != 8 && rows.bitsPerPixel != 32))
    return fail("no pixels or an unsupported depth", 0);
  if (!kvimg::sizeAllowed(rows.width, rows.height) || rows.width > kMaxWriteWidth ||
      int64_t(rows.rowBytes) < int64_t(rows.width) * (rows.bitsPerPixel / 8))
    return fail("picture too wide or rows too short", 0);
  const int32_t width = rows.width, height = rows.height;
  const bool alpha = rows.alpha && rows.bitsPerPixel == 32;
  const int32_t rowBytes = width * 4;
  const bool packed = rowBytes >= 8;
  std::vector<uint8_t>& o = *out;
  o.assign(kFileHeaderBytes, 0);
  putU16(o, 0);  // the picture size, set at the end
  writeRect(o, height, width);
  putU16(o, kOpVersion);
  putU16(o, kVersion2);
  putU16(o, kOpHeader);
  putU16(o, 0xFFFE);  // extended version 2 header
  putU16(o, 0);
  putU32(o, kFixed72);
  putU32(o, kFixed72);
  writeRect(o, height, width);
  putU32(o, 0);
  putU16(o, kOpDefHilite);
  putU16(o, kOpClip);
  putU16(o, 10);
  writeRect(o, height, width);
  putU16(o, kOpDirectBitsRect);
  putU32(o, 0x000000FF);  // base address
  putU16(o, uint16_t(rowBytes | kPixMapFlag));
  writeRect(o, height, width);
  putU16(o, 0);               // pixel map version
  putU16(o, packed ? 4 : 1);  // pack type
  putU32(o, 0);               // packed size
  putU32(o, kFixed72);
  putU32(o, kFixed72);
  putU16(o, kRGBDirect);
  putU16(o, 32);
  putU16(o, alpha ? 4 : 3);  // components
  putU16(o, 8);
  putU32(o, 0);  // plane bytes
  putU32(o, 0);  // colour table
  putU32(o, 0);
  writeRect(o, height, width);  // source
  writeRect(o, height, width);  // destination
  putU16(o, 0);                 // copy mode
  const int32_t planes = alpha ? 4 : 3;
  std::vector<uint8_t> row(size_t(width) * 4), line;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* s = rows.base + int64_t(y) * rows.rowBytes;
    for (int32_t x = 0; x < width; ++x) {
      uint8_t argb[4];
      if (rows.bitsPerPixel == 8)
        argb[0] = 255, argb[1] = argb[2] = argb[3] = s[x];
      else
        std::memcpy(argb, s + 4 * x, 4);
      if (!alpha)
        argb[0] = 0;
      if (!packed) {
        std::memcpy(&row[4 * size_t(x)], argb, 4);
        continue;
      }
      for (int32_t p = 0; p < planes; ++p)
        row[size_t(p) * width + x] = argb[p + (alpha ? 0 : 1)];
    }
    if (!packed) {
      o.insert(o.end(), row.begin(), row.end());
      continue;
    }
    line.clear();
    packBits(row.data(), size_t(width) * planes, &line);
    if (rowBytes > 250)
      putU16(o, uint16_t(line.size()));
    else
      o.push_back(uint8_t(line.size()));
    o.insert(o.end(), line.begin(), line.end());
  }
  if ((o.size() - kFileHeaderBytes) & 1)
    o.push_back(0);
  putU16(o, kOpEnd);
  be::put_u16(o.data() + kFileHeaderBytes, uint16_t(o.size() - kFileHeaderBytes));
  return true;
}

}  // namespace kvpict
