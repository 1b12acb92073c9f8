#include "imaging/psd.h"

#include <cstring>
#include <vector>

#include "foundation/bigendian.h"
#include "imaging/pict.h"

namespace kvpsd {

namespace {

constexpr uint32_t kSignature = 0x38425053;  // "8BPS"
constexpr uint16_t kModeGrey = 1;
constexpr uint16_t kModeRGB = 3;
constexpr uint16_t kRaw = 0;
constexpr uint16_t kRunLength = 1;
constexpr uint16_t kMaxChannels = 56;

bool failAt(std::string* why, const char* text, size_t offset)
{
  if (why)
    *why = std::string(text) + " at byte " + std::to_string(offset);
  return false;
}

// The layer count at the start of the layer and mask section; 0 when the
// section is empty or holds no layer information.
int16_t layerCount(const uint8_t* data, size_t size, size_t section, uint32_t sectionLength)
{
  if (sectionLength < 6 || section + 6 > size)
    return 0;
  const uint32_t layerInfoLength = be::get_u32(data + section);
  return layerInfoLength >= 2 ? be::get_i16(data + section + 4) : 0;
}

// Writes one channel's plane (samples of `bytesPerSample`, big-endian) into
// byte `slot` of every output pixel, keeping the high byte of 16-bit samples.
void storePlane(const uint8_t* plane, int32_t bytesPerSample, kvimg::Pixels& out, int slot)
{
  const size_t count = size_t(out.width) * out.height;
  for (size_t i = 0; i < count; ++i)
    out.argb[i * 4 + slot] = plane[i * bytesPerSample];
}

}  // namespace

bool looksLikePsd(const uint8_t* data, size_t size)
{
  return data != nullptr && size >= 26 && be::get_u32(data) == kSignature &&
         be::get_u16(data + 4) == 1;
}

bool read(const uint8_t* data, size_t size, kvimg::Pixels* out, std::string* why, int64_t maxBytes)
{
  if (out == nullptr || !looksLikePsd(data, size))
    return failAt(why, "not a version 1 Photoshop document", 0);
  be::Reader r(data, size);
  r.skip(12);  // signature, version, reserved
  const uint16_t channels = r.u16();
  const uint32_t height = r.u32(), width = r.u32();
  const uint16_t depth = r.u16(), mode = r.u16();
  if (channels < 1 || channels > kMaxChannels)
    return failAt(why, "bad channel count", 12);
  if (!kvimg::sizeAllowed(width, height) || int64_t(width) * height * 4 > maxBytes)
    return failAt(why, "image empty or too large", 14);
  if (depth != 8 && depth != 16)
    return failAt(why, "unsupported depth", 22);
  const uint16_t colourChannels = mode == kModeRGB ? 3 : (mode == kModeGrey ? 1 : 0);
  if (colourChannels == 0 || channels < colourChannels)
    return failAt(why, "unsupported colour mode", 24);
  r.skip(r.u32());  // colour mode data
  r.skip(r.u32());  // image resources
  const size_t layerSection = r.offset() + 4;
  const uint32_t layerLength = r.u32();
  const int16_t layers = r.failed() ? 0 : layerCount(data, size, layerSection, layerLength);
  r.skip(layerLength);
  const size_t imageAt = r.offset();
  const uint16_t compression = r.u16();
  if (r.failed())
    return failAt(why, "document cut short before its image data", imageAt);
  if (compression != kRaw && compression != kRunLength)
    return failAt(why, "unsupported compression", imageAt);

  const bool hasAlpha = layers < 0 && channels > colourChannels;
  const uint16_t used = colourChannels + (hasAlpha ? 1 : 0);
  const int32_t bytesPerSample = depth / 8;
  const size_t rowBytes = size_t(width) * bytesPerSample;
  const size_t planeBytes = rowBytes * height;
  // Run-length data starts with one byte count per row of every channel.
  std::vector<uint16_t> counts;
  if (compression == kRunLength) {
    const size_t rowsTotal = size_t(channels) * height;
    if (rowsTotal * 2 > r.remaining())
      return failAt(why, "row byte counts cut short", r.offset());
    counts.resize(rowsTotal);
    for (auto& c : counts)
      c = r.u16();
  }
  out->width = int32_t(width);
  out->height = int32_t(height);
  out->argb.assign(size_t(width) * height * 4, 255);
  std::vector<uint8_t> plane(planeBytes), packed;
  for (uint16_t ch = 0; ch < used; ++ch) {
    const size_t at = r.offset();
    if (compression == kRaw) {
      if (!r.bytes(plane.data(), planeBytes))
        return failAt(why, "image data cut short", at);
    } else {
      for (uint32_t y = 0; y < height; ++y) {
        const uint16_t n = counts[size_t(ch) * height + y];
        packed.resize(n);
        if ((n > 0 && !r.bytes(packed.data(), n)) ||
            !kvpict::unpackBits(packed.data(), n, plane.data() + y * rowBytes, rowBytes, 1))
          return failAt(why, "damaged run-length row", at);
      }
    }
    if (colourChannels == 1 && ch == 0)
      for (int slot = 1; slot <= 3; ++slot)
        storePlane(plane.data(), bytesPerSample, *out, slot);
    else
      storePlane(plane.data(), bytesPerSample, *out, ch < colourChannels ? ch + 1 : 0);
  }
  return true;
}

}  // namespace kvpsd
