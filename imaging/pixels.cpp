#include <cstdlib>

#include "imaging/pixels_pvt.h"

namespace kvpix {
namespace {

uint8_t Expand5(uint32_t v)
{
  return uint8_t((v << 3) | (v >> 2));
}

uint8_t Grey(normalcolor c)
{
  return uint8_t((c.red + c.green + c.blue) / 3);
}

uint32_t NearestEntry(const ColorTable* table, normalcolor c)
{
  if (!table || table->count <= 0)
    return Grey(c) < 128 ? 255 : 0;
  int32_t best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int32_t i = 0; i < table->count && i < 256; ++i) {
    const ColorTableEntry& e = table->entries[i];
    int64_t dr = int64_t(e.red >> 8) - c.red;
    int64_t dg = int64_t(e.green >> 8) - c.green;
    int64_t db = int64_t(e.blue >> 8) - c.blue;
    int64_t d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return uint32_t(uint16_t(table->entries[best].value)) & 0xFF;
}

int GreyRampKind(const ColorTable* table)
{
  if (!table || table->count != 256)
    return 0;
  bool up = true, down = true;
  for (int i = 0; i < 256 && (up || down); ++i) {
    const ColorTableEntry& e = table->entries[i];
    if (e.value != i || e.red != e.green || e.green != e.blue)
      return 0;
    up = up && e.red == i * 257;
    down = down && e.red == (255 - i) * 257;
  }
  return up ? 1 : (down ? -1 : 0);
}

}  // namespace

normalcolor ValueToColor(const PixMap& pm, uint32_t value)
{
  switch (pm.pixelSize) {
    case 32:
      return UnpackColor(value);
    case 16:
      return normalcolor{255, Expand5((value >> 10) & 31), Expand5((value >> 5) & 31),
                         Expand5(value & 31)};
    case 8: {
      const ColorTable* t = pm.colorTable;
      if (t) {
        for (int32_t i = 0; i < t->count && i < 256; ++i) {
          const ColorTableEntry& e = t->entries[i];
          if ((uint32_t(uint16_t(e.value)) & 0xFF) == value)
            return normalcolor{255, uint8_t(e.red >> 8), uint8_t(e.green >> 8),
                               uint8_t(e.blue >> 8)};
        }
      }
      uint8_t g = uint8_t(255 - value);
      return normalcolor{255, g, g, g};
    }
    case 1:
      return value ? normalcolor{255, 0, 0, 0} : normalcolor{255, 255, 255, 255};
    default:
      return normalcolor{255, 0, 0, 0};
  }
}

uint32_t ColorToValue(const PixMap& pm, normalcolor c)
{
  ColorMatcher match(pm);
  return match(c);
}

uint32_t WhiteValue(const PixMap& pm)
{
  return ColorToValue(pm, normalcolor{0, 255, 255, 255});
}

ColorMatcher::ColorMatcher(const PixMap& pm) : pm_(pm)
{
  if (pm.pixelSize == 8)
    rampKind_ = GreyRampKind(pm.colorTable);
}

uint32_t ColorMatcher::operator()(normalcolor c)
{
  switch (pm_.pixelSize) {
    case 32:
      return PackColor(c);
    case 16:
      return (uint32_t(c.red >> 3) << 10) | (uint32_t(c.green >> 3) << 5) | (c.blue >> 3);
    case 1:
      return Grey(c) < 128 ? 1 : 0;
    case 8:
      break;
    default:
      return 0;
  }
  if (rampKind_ != 0) {
    uint32_t g = uint32_t(c.red + c.green + c.blue + 1) / 3;
    return rampKind_ > 0 ? g : 255 - g;
  }
  if (haveLast_ && last_.red == c.red && last_.green == c.green && last_.blue == c.blue)
    return lastValue_;
  last_ = c;
  lastValue_ = NearestEntry(pm_.colorTable, c);
  haveLast_ = true;
  return lastValue_;
}

}  // namespace kvpix
