// PICT and Photoshop readers and the PICT writer: round trips, files built
// field by field here, and damaged files.
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "foundation/bigendian.h"
#include "imaging/pict.h"
#include "imaging/psd.h"
#include "imaging/qzimages.h"

namespace {

kvimg::Pixels Pattern(int32_t w, int32_t h, bool varyAlpha)
{
  kvimg::Pixels p{w, h, std::vector<uint8_t>(size_t(w) * h * 4)};
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* q = &p.argb[(size_t(y) * w + x) * 4];
      q[0] = varyAlpha ? uint8_t(x * 37 + y) : 255;
      q[1] = uint8_t(x * 7);
      q[2] = uint8_t(y * 3);
      q[3] = (x / 4 + y / 4) % 2 ? 200 : 10;  // runs for the packer
    }
  return p;
}

std::vector<uint8_t> WritePict(const kvimg::Pixels& p, bool alpha)
{
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(
      kvpict::write(kvimg::Rows{p.argb.data(), p.width * 4, p.width, p.height, 32, alpha}, &bytes));
  return bytes;
}

// A picture's offset of the DefHilite opcode that follows the header opcode.
constexpr size_t kAfterHeaderOps = 512 + 10 + 4 + 26;

TEST(PictTest, RoundTripsAtEveryPackingWidth)
{
  struct Case
  {
    int32_t width, height;
    bool alpha;
  } cases[] = {{1, 5, false}, {2, 3, false}, {60, 7, false}, {63, 4, true}, {300, 3, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const kvimg::Pixels in = Pattern(c.width, c.height, c.alpha);
    const std::vector<uint8_t> bytes = WritePict(in, c.alpha);
    ASSERT_EQ(bytes.size() % 2, 0u);
    EXPECT_EQ(be::get_u16(bytes.data() + 512), uint16_t(bytes.size() - 512));
    kvimg::Pixels out;
    std::string why;
    ASSERT_TRUE(kvpict::read(bytes.data(), bytes.size(), &out, &why)) << why;
    EXPECT_EQ(out.width, c.width);
    EXPECT_EQ(out.height, c.height);
    EXPECT_EQ(out.argb, in.argb);
  }
}

TEST(PictTest, GreyRowsAreWrittenAsGreyColour)
{
  const uint8_t grey[6] = {0, 50, 100, 150, 200, 250};
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(kvpict::write(kvimg::Rows{grey, 3, 3, 2, 8, true}, &bytes));
  kvimg::Pixels out;
  ASSERT_TRUE(kvpict::read(bytes.data(), bytes.size(), &out));
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(std::vector<uint8_t>(&out.argb[4 * i], &out.argb[4 * i] + 4),
              (std::vector<uint8_t>{255, grey[i], grey[i], grey[i]}));
}

TEST(PictTest, WriterRefusesWhatRowBytesCannotDescribe)
{
  std::vector<uint8_t> row(size_t(kvpict::kMaxWriteWidth + 1) * 4);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(kvpict::write(
      kvimg::Rows{row.data(), int32_t(row.size()), kvpict::kMaxWriteWidth + 1, 1, 32, false},
      &bytes));
}

TEST(PictTest, SkipsKnownOpcodesAndRefusesOthers)
{
  const kvimg::Pixels in = Pattern(12, 3, false);
  const std::vector<uint8_t> base = WritePict(in, false);
  ASSERT_EQ(be::get_u16(base.data() + kAfterHeaderOps), 0x001E);
  struct Case
  {
    std::vector<uint8_t> inserted;
    bool accepted;
  } cases[] = {
      {{0x00, 0xA1, 0x00, 0x64, 0x00, 0x03, 1, 2, 3, 0}, true},  // long comment, padded
      {{0x00, 0xA0, 0x00, 0x82}, true},                          // short comment
      {{0x00, 0x1A, 0, 0, 0, 0, 0, 0}, true},                    // foreground colour
      {{0x00, 0x31, 0, 0, 0, 0, 0, 9, 0, 9}, true},              // paint rect
      {{0x00, 0x68, 0, 0, 0, 90}, true},                         // same arc: two angles
      {{0x80, 0x01}, true},                                      // reserved, no data
      {{0x82, 0x00, 0, 0, 0, 2, 7, 7}, true},                    // reserved with a length
      {{0x00, 0x12, 0, 0}, false},                               // pixel pattern
      {{0x00, 0x90}, false},                                     // unpacked bitmap
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(be::get_u16(c.inserted.data()));
    std::vector<uint8_t> bytes = base;
    bytes.insert(bytes.begin() + kAfterHeaderOps, c.inserted.begin(), c.inserted.end());
    kvimg::Pixels out;
    std::string why;
    EXPECT_EQ(kvpict::read(bytes.data(), bytes.size(), &out, &why), c.accepted) << why;
    if (c.accepted)
      EXPECT_EQ(out.argb, in.argb);
    else
      EXPECT_NE(why.find("at byte"), std::string::npos);
  }
}

// An 8-bit PackBitsRect picture without the 512-byte header: two colours
// through a device colour table.
std::vector<uint8_t> IndexedPict(uint16_t rowBytes, bool packed)
{
  std::vector<uint8_t> b;
  auto u16 = [&](uint16_t v) { b.push_back(uint8_t(v >> 8)), b.push_back(uint8_t(v)); };
  auto u32 = [&](uint32_t v) { u16(uint16_t(v >> 16)), u16(uint16_t(v)); };
  auto rect = [&](int h, int w) { u16(0), u16(0), u16(uint16_t(h)), u16(uint16_t(w)); };
  u16(0);
  rect(2, 4);
  u16(0x0011), u16(0x02FF), u16(0x0098);
  u16(uint16_t(0x8000 | rowBytes));
  rect(2, 4);
  u16(0), u16(0), u32(0), u32(0x480000), u32(0x480000);
  u16(0), u16(8), u16(1), u16(8), u32(0), u32(0), u32(0);
  u32(0), u16(0x8000), u16(1);  // device table of two entries
  u16(0), u16(0xFFFF), u16(0), u16(0);
  u16(1), u16(0), u16(0), u16(0xFFFF);
  rect(2, 4), rect(2, 4), u16(0);
  for (int y = 0; y < 2; ++y) {
    if (!packed) {
      for (int x = 0; x < rowBytes; ++x)
        b.push_back(uint8_t(x < 4 ? (x + y) % 2 : 0));
      continue;
    }
    // Eight row bytes: four of index y, then index 1 - y and padding.
    const uint8_t row[] = {7, 0xFD, uint8_t(y), 3, uint8_t(1 - y), 0, 0, 0};
    b.insert(b.end(), row, row + sizeof row);
  }
  if (b.size() % 2)
    b.push_back(0);
  u16(0x00FF);
  return b;
}

TEST(PictTest, ReadsIndexedPixelsRawAndPacked)
{
  kvimg::Pixels out;
  std::string why;
  std::vector<uint8_t> raw = IndexedPict(4, false);
  ASSERT_TRUE(kvpict::read(raw.data(), raw.size(), &out, &why)) << why;
  EXPECT_EQ(out.argb[1], 255);      // index 0: red
  EXPECT_EQ(out.argb[4 + 3], 255);  // index 1: blue
  std::vector<uint8_t> packed = IndexedPict(8, true);
  ASSERT_TRUE(kvpict::read(packed.data(), packed.size(), &out, &why)) << why;
  EXPECT_EQ(out.argb[1], 255);                // row 0: index 0
  EXPECT_EQ(out.argb[(4 + 3) * 4 + 3], 255);  // row 1: index 1
  const uint8_t secondRow[] = {7, 0xFD, 1};
  auto at = std::search(packed.begin(), packed.end(), secondRow, secondRow + 3);
  ASSERT_NE(at, packed.end());
  *at = 9;  // a byte count past the data
  EXPECT_FALSE(kvpict::read(packed.data(), packed.size(), &out, &why));
}

TEST(PictTest, RefusesDamagedAndOversizedPictures)
{
  const std::vector<uint8_t> good = WritePict(Pattern(40, 6, false), false);
  kvimg::Pixels out;
  for (size_t cut : {size_t(0), size_t(100), size_t(530), size_t(600), good.size() - 2}) {
    SCOPED_TRACE(cut);
    EXPECT_FALSE(kvpict::read(good.data(), cut, &out));
  }
  std::vector<uint8_t> huge = good;
  be::put_i16(huge.data() + 512 + 6, 32767);
  be::put_i16(huge.data() + 512 + 8, 32767);
  EXPECT_FALSE(kvpict::read(huge.data(), huge.size(), &out));
  std::vector<uint8_t> badCount = good;
  badCount[good.size() - 40] ^= 0x7F;  // a run inside the last row
  EXPECT_FALSE(kvpict::read(badCount.data(), badCount.size(), &out) &&
               out.argb == Pattern(40, 6, false).argb);
  // The fuzz limit: a small frame passes, a larger pixel map does not.
  EXPECT_FALSE(kvpict::read(good.data(), good.size(), &out, nullptr, 40 * 6 * 4 - 1));
}

// A Photoshop document of 2 x 2 pixels.
std::vector<uint8_t> Psd(uint16_t channels, uint16_t depth, uint16_t mode, bool rle, int16_t layers)
{
  std::vector<uint8_t> b;
  auto u16 = [&](uint16_t v) { b.push_back(uint8_t(v >> 8)), b.push_back(uint8_t(v)); };
  auto u32 = [&](uint32_t v) { u16(uint16_t(v >> 16)), u16(uint16_t(v)); };
  u32(0x38425053), u16(1), u32(0), u16(0);
  u16(channels), u32(2), u32(2), u16(depth), u16(mode);
  u32(0), u32(4), u32(0xAAAAAAAA);  // colour data, then a resource block skipped
  if (layers != 0)
    u32(6), u32(2), u16(uint16_t(layers));
  else
    u32(0);
  u16(rle ? 1 : 0);
  const int bytes = depth / 8;
  if (rle)
    for (int i = 0; i < channels * 2; ++i)
      u16(uint16_t(2 + bytes * 2 - 1));
  for (int c = 0; c < channels; ++c)
    for (int y = 0; y < 2; ++y) {
      if (rle) {
        b.push_back(uint8_t(2 * bytes - 1));  // one literal stretch per row
      }
      for (int x = 0; x < 2; ++x) {
        b.push_back(uint8_t(40 * c + 10 * y + x + 1));
        if (bytes == 2)
          b.push_back(0x99);
      }
    }
  return b;
}

TEST(PsdTest, ReadsCompositeImages)
{
  struct Case
  {
    uint16_t channels, depth, mode;
    bool rle;
    int16_t layers;
    std::vector<uint8_t> firstPixel;
  } cases[] = {
      {3, 8, 3, false, 0, {255, 1, 41, 81}},  {3, 8, 3, true, 0, {255, 1, 41, 81}},
      {3, 16, 3, true, 0, {255, 1, 41, 81}},  {1, 8, 1, false, 0, {255, 1, 1, 1}},
      {4, 8, 3, false, -1, {121, 1, 41, 81}},  // transparency of the composite
      {4, 8, 3, true, 1, {255, 1, 41, 81}},    // a saved selection: ignored
      {2, 16, 1, false, -1, {41, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.channels << " " << c.depth << " " << c.rle);
    const std::vector<uint8_t> bytes = Psd(c.channels, c.depth, c.mode, c.rle, c.layers);
    kvimg::Pixels out;
    std::string why;
    ASSERT_TRUE(kvpsd::read(bytes.data(), bytes.size(), &out, &why)) << why;
    ASSERT_EQ(out.width, 2);
    EXPECT_EQ(std::vector<uint8_t>(out.argb.begin(), out.argb.begin() + 4), c.firstPixel);
    EXPECT_EQ(out.argb[3 * 4 + 1], 12);  // bottom-right red sample
  }
}

TEST(PsdTest, RefusesUnsupportedAndDamagedDocuments)
{
  kvimg::Pixels out;
  const std::vector<uint8_t> cmyk = Psd(4, 8, 4, false, 0);
  EXPECT_FALSE(kvpsd::read(cmyk.data(), cmyk.size(), &out));
  const std::vector<uint8_t> depth32 = Psd(3, 32, 3, false, 0);
  EXPECT_FALSE(kvpsd::read(depth32.data(), depth32.size(), &out));
  const std::vector<uint8_t> good = Psd(3, 8, 3, true, 0);
  for (size_t cut : {size_t(10), size_t(30), good.size() - 1}) {
    SCOPED_TRACE(cut);
    EXPECT_FALSE(kvpsd::read(good.data(), cut, &out));
  }
  std::vector<uint8_t> huge = good;
  be::put_u32(huge.data() + 14, 100000);
  EXPECT_FALSE(kvpsd::read(huge.data(), huge.size(), &out));
  std::vector<uint8_t> longSection = good;
  be::put_u32(longSection.data() + 26, 0x7FFFFFF0);  // colour data past the end
  EXPECT_FALSE(kvpsd::read(longSection.data(), longSection.size(), &out));
}

TEST(ImageBytesTest, DispatchesOnTheSignature)
{
  const std::vector<uint8_t> psd = Psd(3, 8, 3, false, 0);
  const std::vector<uint8_t> pict = WritePict(Pattern(3, 3, false), false);
  kvimg::Pixels out;
  EXPECT_TRUE(QZ_DecodeImageBytes(psd.data(), psd.size(), &out, nullptr));
  EXPECT_TRUE(QZ_DecodeImageBytes(pict.data(), pict.size(), &out, nullptr));
  const uint8_t png[] = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
  std::string why;
  EXPECT_FALSE(QZ_DecodeImageBytes(png, sizeof png, &out, &why));
  EXPECT_FALSE(why.empty());
}

}  // namespace
