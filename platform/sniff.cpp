#include "platform/sniff.h"

#include <cstdio>
#include <cstring>

namespace kvsniff {

namespace {

constexpr uint32_t code(const char (&s)[5])
{
  return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 |
         uint32_t(uint8_t(s[2])) << 8 | uint32_t(uint8_t(s[3]));
}

class Head
{
public:
  Head(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

  // The bytes of `magic` (its length given, so that it may hold zeros) at
  // `at`.
  template <size_t N>
  bool has(const char (&magic)[N], size_t at = 0) const
  {
    const size_t n = N - 1;
    return size_ >= at + n && std::memcmp(bytes_ + at, magic, n) == 0;
  }
  uint8_t at(size_t i) const { return i < size_ ? bytes_[i] : 0; }

private:
  const uint8_t* bytes_;
  size_t size_;
};

// QuickTime and MPEG-4 files are a chain of boxes: size, then the type.
uint32_t movieBoxType(const Head& h)
{
  if (h.has("ftyp", 4))
    return h.has("qt  ", 8) ? code("MooV") : code("mpg4");
  for (const char* type : {"moov", "mdat", "wide", "free", "skip", "pnot"})
    if (h.at(4) == uint8_t(type[0]) && h.at(5) == uint8_t(type[1]) && h.at(6) == uint8_t(type[2]) &&
        h.at(7) == uint8_t(type[3]))
      return code("MooV");
  return 0;
}

// A PICT file: 512 bytes of application header, the picture's size and
// frame, then the version opcode (version 2: 0x0011 0x02FF; version 1:
// 0x11 0x01).
bool isPict(const Head& h)
{
  return h.has("\x00\x11\x02\xFF", 522) || h.has("\x11\x01", 522);
}

// A DV stream starts with the header block of a DIF sequence: section 0,
// sequence 0, block 0, then the system byte of 525 or 625 lines.
bool isDv(const Head& h)
{
  return h.has("\x1F\x07\x00") && (h.at(3) & 0x7F) == 0x3F;
}

}  // namespace

uint32_t typeOfBytes(const uint8_t* bytes, size_t size)
{
  const Head h(bytes, size);
  if (h.has("\x89PNG\r\n\x1A\n"))
    return code("PNGf");
  if (h.has("\xFF\xD8\xFF"))
    return code("JPEG");
  if (h.has("GIF87a") || h.has("GIF89a"))
    return code("GIFf");
  if (h.has("II*\x00") || h.has("MM\x00*"))
    return code("TIFF");
  if (h.has("BM"))
    return code("BMPf");
  if (h.has("8BPS"))
    return code("8BPS");
  if (h.has("%PDF-"))
    return code("PDF ");
  if (h.has("RIFF") && h.has("AVI ", 8))
    return code("VfW ");
  if (h.has("\x00\x00\x01\xBA") || h.has("\x00\x00\x01\xB3"))
    return code("MPEG");
  if (isDv(h))
    return code("dvc!");
  if (const uint32_t movie = movieBoxType(h))
    return movie;
  if (isPict(h))
    return code("PICT");
  return 0;
}

uint32_t typeOfFile(const std::string& path)
{
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr)
    return 0;
  uint8_t head[kSniffBytes];
  const size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  return typeOfBytes(head, n);
}

}  // namespace kvsniff
