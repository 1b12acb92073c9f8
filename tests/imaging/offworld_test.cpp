#include "imaging/offworld.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "foundation/appshell.h"
#include "foundation/mempool.h"
#include "imaging/drawing.h"
#include "imaging/scrap.h"
#include "tests/imaging/test_buffers.h"

namespace {

uint8_t* At(Offworld w, int32_t col, int32_t row)
{
  return w->pixels.baseAddr + int64_t(row) * w->pixels.rowBytes +
         int64_t(col) * (w->pixels.pixelSize / 8);
}

normalcolor Pixel(Offworld w, int32_t col, int32_t row)
{
  const uint8_t* p = At(w, col, row);
  return normalcolor{p[0], p[1], p[2], p[3]};
}

void SetPixel(Offworld w, int32_t col, int32_t row, normalcolor c)
{
  std::memcpy(At(w, col, row), &c, 4);
}

// Fills every pixel with a colour made from its place.
void FillPattern(Offworld w, uint8_t pad = 255)
{
  const Rect b = w->pixels.bounds;
  for (int32_t row = 0; row < RectHeight(b); ++row)
    for (int32_t col = 0; col < RectWidth(b); ++col)
      SetPixel(w, col, row,
               normalcolor{pad, uint8_t(col * 7), uint8_t(row * 11), uint8_t(col + row)});
}

}  // namespace

TEST(OffworldCreation, GreyTablesRunUpOrDown)
{
  const Rect r{0, 0, 4, 4};
  OffworldGuard up{Make(r, 8)}, down{Make(r, -8)};
  ASSERT_TRUE(up.w && down.w);
  EXPECT_EQ(up.w->pixels.pixelSize, 8);
  EXPECT_EQ(down.w->pixels.pixelSize, 8);
  const ColorTable& u = *up.w->pixels.colorTable;
  const ColorTable& d = *down.w->pixels.colorTable;
  EXPECT_EQ(u.count, 256);
  EXPECT_EQ(u.entries[0].red, 0);
  EXPECT_EQ(u.entries[255].blue, 65535);
  EXPECT_EQ(u.entries[100].green, 100 * 257);
  EXPECT_EQ(d.entries[0].red, 65535);
  EXPECT_EQ(d.entries[255].red, 0);
  EXPECT_EQ(d.entries[7].value, 7);
}

TEST(OffworldCreation, LayoutOfEachDepth)
{
  struct Case
  {
    int16_t depth;
    int16_t pixelSize;
    int32_t rowBytes;
  } cases[] = {{32, 32, 20}, {16, 16, 12}, {8, 8, 8}, {-8, 8, 8}, {1, 1, 4}, {0, 32, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.depth);
    OffworldGuard g{Make(Rect{10, 20, 13, 25}, c.depth)};
    ASSERT_TRUE(g.w);
    EXPECT_EQ(g.w->pixels.pixelSize, c.pixelSize);
    EXPECT_EQ(g.w->pixels.rowBytes, c.rowBytes);
    EXPECT_EQ(MinGworld1Rect(g.w), (Rect{10, 20, 13, 25}));
    EXPECT_FALSE(g.w->purgeable);
  }
  OffworldGuard argb{Make(Rect{0, 0, 1, 1}, 32)};
  EXPECT_EQ(argb.w->pixels.pixelFormat, kPixelFormatARGB);
}

TEST(OffworldCreation, LargeBuffersAreRecognisedByTheirEstimate)
{
  struct Case
  {
    Rect r;
    int16_t depth;
    int64_t estimate;
    bool large;
  } cases[] = {
      {{0, 0, 600, 600}, 32, 1442400, true},
      {{0, 0, 600, 590}, 32, 1418400, false},
      {{0, 0, 600, 600}, 0, 1442400, true},
      {{0, 0, 600, 600}, 16, 721200, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EstimateOffworldBytes(c.r, c.depth), c.estimate);
    EXPECT_EQ(EstimateOffworldBytes(c.r, c.depth) > kLargeOffworldBytes, c.large);
  }
  // The two-step path ends with the full buffer.
  OffworldGuard g{Make(Rect{0, 0, 600, 600}, 32)};
  ASSERT_TRUE(g.w);
  EXPECT_EQ(RectHeight(g.w->pixels.bounds), 600);
  g.w->pixels.baseAddr[600 * 2400 - 1] = 7;  // last byte is ours (ASan checks)
}

TEST(OffworldCreation, FailuresReturnTheErrorAndNoBuffer)
{
  struct Case
  {
    Rect r;
    int16_t depth;
    OSErr err;
  } cases[] = {
      {{0, 0, 0, 10}, 32, paramErr},   // empty
      {{5, 5, 2, 10}, 32, paramErr},   // upside down
      {{0, 0, 10, 10}, 24, paramErr},  // depth we do not keep
      {{0, 0, 32000, 32000}, 32, -1},  // 32 rows fit, the full size cannot be grown
      {{-32768, -32768, 32767, 32767}, -8, memFullErr},  // one step, too large
  };
  for (const Case& c : cases) {
    Offworld w = reinterpret_cast<Offworld>(1);
    EXPECT_EQ(CreateOffworld(PackRectTopLeft(c.r), PackRectBottomRight(c.r), c.depth, &w), c.err);
    EXPECT_EQ(w, nullptr);
  }
}

TEST(OffworldCreation, KillClearsThePointerAndIgnoresNull)
{
  Offworld w = Make(Rect{0, 0, 2, 2}, 32);
  KillOffworld(&w);
  EXPECT_EQ(w, nullptr);
  KillOffworld(&w);
  KillOffworld(nullptr);
}

TEST(OffworldCreation, SystemTableOfCreateOffworld8)
{
  Offworld w = nullptr;
  const Rect r{0, 0, 2, 2};
  ASSERT_EQ(CreateOffworld8(PackRectTopLeft(r), PackRectBottomRight(r), &w), noErr);
  const ColorTable& t = *w->pixels.colorTable;
  EXPECT_EQ(t.entries[0].red, 65535);     // white first
  EXPECT_EQ(t.entries[255].green, 0);     // black last
  EXPECT_EQ(t.entries[5].blue, 0);        // cube: blue changes fastest
  EXPECT_EQ(t.entries[215].red, 0xEEEE);  // then the red ramp
  EXPECT_EQ(t.entries[215].green, 0);
  KillOffworld(&w);
}

TEST(OffworldPad, CleanSetsColoursOrPadsOnly)
{
  OffworldGuard g{Make(Rect{0, 0, 3, 5}, 32)};
  FillPattern(g.w, 200);
  CleanOffworld(g.w);
  EXPECT_EQ(Pixel(g.w, 4, 2), (normalcolor{200, 255, 255, 255}));
  CleanOffWorldPad(g.w);
  EXPECT_EQ(Pixel(g.w, 4, 2), (normalcolor{0, 255, 255, 255}));
  EXPECT_EQ(Pixel(g.w, 0, 0).flag, 0);
}

TEST(OffworldPad, HasmaskSamplesEverySecondPixel)
{
  struct Case
  {
    int32_t col, row;
    uint8_t pad;
    bool hasMask;
  } cases[] = {
      {2, 2, 128, true},   // sampled
      {3, 2, 128, false},  // odd column
      {2, 3, 128, false},  // odd row
      {8, 0, 128, false},  // column width - 2 is not sampled
      {0, 0, 255, false},  // opaque
      {0, 4, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.col << "," << c.row << " pad " << int(c.pad));
    OffworldGuard g{Make(Rect{0, 0, 8, 10}, 32)};
    FillPattern(g.w, 0);
    At(g.w, c.col, c.row)[0] = c.pad;
    EXPECT_EQ(Gworld_Hasmask(g.w), c.hasMask);
  }
  OffworldGuard grey{Make(Rect{0, 0, 8, 10}, 8)};
  std::memset(grey.w->pixels.baseAddr, 128, 80);
  EXPECT_FALSE(Gworld_Hasmask(grey.w));
}

TEST(OffworldPad, WritePadByteIsClippedToTheBuffer)
{
  struct Case
  {
    Rect r;
    int32_t written;
  } cases[] = {
      {{1, 1, 3, 3}, 4},
      {{-5, -5, 2, 1}, 2},
      {{10, 10, 20, 20}, 0},
      {{-9, 0, -1, 4}, 0},
  };
  for (const Case& c : cases) {
    OffworldGuard g{Make(Rect{0, 0, 4, 4}, 32)};
    WriteGworldPadByte(g.w, PackRectTopLeft(c.r), PackRectBottomRight(c.r), 9);
    int32_t count = 0;
    for (int32_t i = 0; i < 16; ++i)
      count += g.w->pixels.baseAddr[i * 4] == 9;
    EXPECT_EQ(count, c.written);
    EXPECT_EQ(g.w->pixels.baseAddr[1], 0);  // colours untouched
  }
}

TEST(OffworldPad, PadBytesToMaskAndBack)
{
  OffworldGuard src{Make(Rect{0, 0, 3, 4}, 32)};
  FillPattern(src.w, 0);
  At(src.w, 1, 1)[0] = 255;
  At(src.w, 2, 1)[0] = 77;
  Offworld mask = nullptr;
  BuildGworldfromPadByte(src.w, &mask);
  ASSERT_TRUE(mask);
  EXPECT_EQ(mask->pixels.pixelSize, 8);
  EXPECT_EQ(*At(mask, 1, 1), 255);
  EXPECT_EQ(*At(mask, 2, 1), 77);
  EXPECT_EQ(*At(mask, 0, 0), 0);

  OffworldGuard other{Make(Rect{0, 0, 2, 2}, 32)};  // smaller: only its area is set
  SetGworldPadByte(mask, other.w);
  EXPECT_EQ(Pixel(other.w, 1, 1).flag, 255);
  KillOffworld(&mask);

  Offworld none = reinterpret_cast<Offworld>(1);
  OffworldGuard grey{Make(Rect{0, 0, 2, 2}, 8)};
  BuildGworldfromPadByte(grey.w, &none);
  EXPECT_EQ(none, nullptr);
}

TEST(OffworldPad, CopyThroughPadMaskTakesInsidePixelsOnly)
{
  const Rect r{0, 0, 1, 3};
  OffworldGuard src{Make(r, 32)}, dst{Make(r, 32)};
  SetPixel(src.w, 0, 0, normalcolor{255, 200, 100, 50});  // inside
  SetPixel(src.w, 1, 0, normalcolor{0, 200, 100, 50});    // outside
  SetPixel(src.w, 2, 0, normalcolor{128, 200, 100, 50});  // half
  for (int i = 0; i < 3; ++i)
    SetPixel(dst.w, i, 0, normalcolor{9, 0, 0, 0});
  CopyPadGworldBits(src.w, dst.w, &r, &r, srcCopy);
  EXPECT_EQ(Pixel(dst.w, 0, 0), (normalcolor{255, 200, 100, 50}));
  EXPECT_EQ(Pixel(dst.w, 1, 0), (normalcolor{9, 0, 0, 0}));
  normalcolor half = Pixel(dst.w, 2, 0);
  EXPECT_NEAR(half.red, 100, 1);
  EXPECT_NEAR(half.blue, 25, 1);
}

TEST(OffworldPad, BitsToPadBytesAndBack)
{
  // A 1-bit map of 10 x 2 pixels: bits numbered from the top bit.
  std::vector<uint8_t> bits = {0b10100000, 0b01000000, 0, 0, 0b00000001, 0, 0, 0};
  PixMap map1;
  map1.baseAddr = bits.data();
  map1.rowBytes = 4;
  map1.bounds = Rect{0, 0, 2, 10};
  map1.pixelSize = 1;
  OffworldGuard w{Make(Rect{0, 0, 2, 10}, 32)};
  FillPattern(w.w, 0);
  const Rect whole{0, 0, 2, 10};
  Bitmap2PadByte(&map1, &w.w->pixels, &whole, &whole);
  EXPECT_EQ(Pixel(w.w, 0, 0), (normalcolor{255, 255, 255, 255}));
  EXPECT_EQ(Pixel(w.w, 1, 0), (normalcolor{0, 0, 0, 0}));
  EXPECT_EQ(Pixel(w.w, 2, 0).flag, 255);
  EXPECT_EQ(Pixel(w.w, 9, 0).flag, 255);
  EXPECT_EQ(Pixel(w.w, 7, 1).flag, 255);

  std::vector<uint8_t> back(8, 0xFF);
  map1.baseAddr = back.data();
  At(w.w, 3, 1)[0] = 16;  // above 15: set
  At(w.w, 4, 1)[0] = 15;  // not above: clear
  PadByte2Bitmap(&w.w->pixels, &map1, &whole, &whole);
  EXPECT_EQ(back[0], 0b10100000);
  EXPECT_EQ(back[1] & 0xC0, 0b01000000);
  EXPECT_EQ(back[4], 0b00010001);
  EXPECT_EQ(back[2], 0xFF);  // beyond the 10 columns: untouched
}

TEST(OffworldCopies, SrcCopyBetween32BitBuffersIsExact)
{
  OffworldGuard a{Make(Rect{0, 0, 6, 8}, 32)}, b{Make(Rect{0, 0, 6, 8}, 32)};
  FillPattern(a.w, 77);
  const Rect r = a.w->pixels.bounds;
  CopyGworldBits(a.w, b.w, &r, &r, srcCopy);
  EXPECT_EQ(std::memcmp(a.w->pixels.baseAddr, b.w->pixels.baseAddr, 6 * 32), 0);
}

TEST(OffworldCopies, ScalingCopyTakesNearestPixels)
{
  OffworldGuard a{Make(Rect{0, 0, 2, 2}, 32)}, b{Make(Rect{0, 0, 4, 4}, 32)};
  FillPattern(a.w);
  const Rect s{0, 0, 2, 2}, d{0, 0, 4, 4};
  CopyGworldBits(a.w, b.w, &s, &d, srcCopy);
  EXPECT_EQ(Pixel(b.w, 3, 3), Pixel(a.w, 1, 1));
  EXPECT_EQ(Pixel(b.w, 1, 2), Pixel(a.w, 0, 1));
}

TEST(OffworldCopies, ModesOnTheSameBuffer)
{
  struct Case
  {
    void (*op)(Offworld);
    normalcolor expected;
  } cases[] = {
      {XOROffworld, {0, 0, 0, 0}},
      {NOTXOROffworld, {255, 255, 255, 255}},
      {InvertGworldBits, {255 - 40, 255 - 10, 255 - 20, 255 - 30}},
  };
  for (const Case& c : cases) {
    OffworldGuard g{Make(Rect{0, 0, 2, 2}, 32)};
    for (int i = 0; i < 4; ++i)
      SetPixel(g.w, i % 2, i / 2, normalcolor{40, 10, 20, 30});
    c.op(g.w);
    EXPECT_EQ(Pixel(g.w, 1, 1), c.expected);
  }
}

TEST(OffworldCopies, SwitchExchangesAndLeavesOneBufferAlone)
{
  OffworldGuard a{Make(Rect{0, 0, 3, 3}, 32)}, b{Make(Rect{5, 5, 8, 8}, 32)};
  FillPattern(a.w, 10);
  std::vector<uint8_t> before(a.w->pixels.baseAddr, a.w->pixels.baseAddr + 36);
  SwitchGworldBits(a.w, a.w);
  EXPECT_EQ(std::memcmp(a.w->pixels.baseAddr, before.data(), 36), 0);
  SwitchGworldBits(a.w, b.w);
  EXPECT_EQ(std::memcmp(b.w->pixels.baseAddr, before.data(), 36), 0);
  EXPECT_EQ(Pixel(a.w, 2, 2), (normalcolor{0, 0, 0, 0}));
}

TEST(OffworldCopies, ChannelCopies)
{
  struct Case
  {
    int16_t channel;
    normalcolor into32;
    uint8_t into8;
  } cases[] = {
      {0, {1, 0, 0, 0}, 1}, {1, {0, 2, 0, 0}, 2}, {2, {0, 0, 3, 0}, 3},
      {3, {0, 0, 0, 4}, 4}, {4, {0, 2, 3, 0}, 1}, {9, {1, 0, 0, 0}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channel);
    OffworldGuard src{Make(Rect{0, 0, 2, 3}, 32)}, d32{Make(Rect{0, 0, 2, 3}, 32)},
        d8{Make(Rect{0, 0, 4, 4}, 8)};
    for (int i = 0; i < 6; ++i)
      SetPixel(src.w, i % 3, i / 3, normalcolor{1, 2, 3, 4});
    CopyChannelBits(src.w, d32.w, c.channel);
    CopyChannelBits(src.w, d8.w, c.channel);  // larger: only the source's area
    EXPECT_EQ(Pixel(d32.w, 2, 1), c.into32);
    EXPECT_EQ(*At(d8.w, 2, 1), c.into8);
    EXPECT_EQ(*At(d8.w, 3, 3), 0);
  }
}

TEST(OffworldCopies, MixWeightsSourceAndColourCopyTintsBlack)
{
  const Rect r{0, 0, 1, 1};
  OffworldGuard src{Make(r, 32)}, dst{Make(r, 32)};
  SetPixel(src.w, 0, 0, normalcolor{0, 200, 200, 200});
  SetPixel(dst.w, 0, 0, normalcolor{5, 0, 100, 0});
  MixGworldBits(src.w, dst.w, &r, &r, blend, 75);  // keep 75 % of the destination
  normalcolor mixed = Pixel(dst.w, 0, 0);
  EXPECT_NEAR(mixed.red, 50, 1);
  EXPECT_NEAR(mixed.green, 125, 1);
  EXPECT_EQ(mixed.flag, 5);

  SetPixel(src.w, 0, 0, normalcolor{0, 0, 0, 0});
  CopyColorBits(src.w, dst.w, &r, &r, srcCopy, normalcolor{255, 10, 20, 30});
  EXPECT_EQ(Pixel(dst.w, 0, 0), (normalcolor{0, 10, 20, 30}));
}

TEST(OffworldCopies, GreyBuffersConvertThroughTheirTables)
{
  const Rect r{0, 0, 1, 2};
  OffworldGuard grey{Make(r, 8)}, inverted{Make(r, -8)}, deep{Make(r, 32)};
  *At(grey.w, 0, 0) = 10;
  *At(grey.w, 1, 0) = 250;
  SetPixel(deep.w, 0, 0, normalcolor{3, 0, 0, 0});
  CopyGworldBits(grey.w, deep.w, &r, &r, srcCopy);
  EXPECT_EQ(Pixel(deep.w, 0, 0), (normalcolor{3, 10, 10, 10}));  // pad kept
  CopyGworldBits(deep.w, inverted.w, &r, &r, srcCopy);
  EXPECT_EQ(*At(inverted.w, 0, 0), 245);
  EXPECT_EQ(*At(inverted.w, 1, 0), 5);
}

TEST(OffworldShapes, PaintFrameAndOval)
{
  OffworldGuard g{Make(Rect{0, 0, 8, 8}, 32)};
  CleanOffworld(g.w);
  const Rect r{1, 1, 5, 6};
  PaintOffworld_Rect(g.w, PackRectTopLeft(r), PackRectBottomRight(r), kVerbFrame,
                     normalcolor{255, 255, 0, 0});
  EXPECT_EQ(Pixel(g.w, 1, 1), (normalcolor{0, 255, 0, 0}));
  EXPECT_EQ(Pixel(g.w, 5, 4), (normalcolor{0, 255, 0, 0}));
  EXPECT_EQ(Pixel(g.w, 3, 3), (normalcolor{0, 255, 255, 255}));
  EXPECT_EQ(Pixel(g.w, 6, 5), (normalcolor{0, 255, 255, 255}));

  const Rect all{0, 0, 8, 8};
  PaintOffworld_Oval(g.w, PackRectTopLeft(all), PackRectBottomRight(all), kVerbPaint,
                     normalcolor{255, 0, 0, 255});
  EXPECT_EQ(Pixel(g.w, 4, 4), (normalcolor{0, 0, 0, 255}));
  EXPECT_EQ(Pixel(g.w, 0, 0), (normalcolor{0, 255, 255, 255}));  // corner outside the oval

  Region rgn{{Rect{0, 0, 1, 2}, Rect{0, 1, 1, 3}}};  // overlapping: inverted once
  PaintOffworld_Rgn(g.w, &rgn, kVerbInvert, normalcolor{});
  EXPECT_EQ(Pixel(g.w, 1, 0), (normalcolor{0, 0, 0, 0}));  // white, inverted once
}

TEST(OffworldShapes, FindColourReadsPixelsAndWhiteOutside)
{
  // The point counts columns and rows from the first pixel, not in the
  // bounds' coordinates.
  OffworldGuard g{Make(Rect{10, 20, 12, 23}, 32)};
  SetPixel(g.w, 2, 1, normalcolor{0, 1, 2, 3});
  const normalcolor white{255, 255, 255, 255};
  struct Case
  {
    Point p;
    normalcolor expected;
  } cases[] = {
      {{1, 2}, {255, 1, 2, 3}}, {{0, 0}, {255, 0, 0, 0}},
      {{11, 22}, white},  // the bounds' coordinates of pixel (2, 1) lie outside
      {{0, -1}, white},         {{0, 3}, white},
      {{2, 0}, white},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindgwColor(g.w, PackPoint(c.p)), c.expected) << c.p.v << "," << c.p.h;
  EXPECT_EQ(FindgwColor(nullptr, 0), (normalcolor{255, 0, 0, 0}));

  OffworldGuard grey{Make(Rect{5, 5, 7, 7}, 8)};
  *At(grey.w, 1, 1) = 40;
  EXPECT_EQ(FindgwColor(grey.w, PackPoint(Point{1, 1})), (normalcolor{255, 40, 40, 40}));
}

TEST(OffworldPorts, CurrentPortCopyFlushesOnRequest)
{
  std::vector<uint8_t> pixels(4 * 4 * 4, 0);
  CGrafPtr port = NewPixelPort(pixels.data(), 16, Rect{0, 0, 4, 4}, 32, kPixelFormatBGRA);
  struct Flush
  {
    int calls = 0;
    Rect r;
  } flush;
  port->flushProc = [](CGrafPtr, const Rect& r, void* refCon) {
    auto* f = static_cast<Flush*>(refCon);
    ++f->calls, f->r = r;
  };
  port->flushRefCon = &flush;
  OffworldGuard g{Make(Rect{0, 0, 1, 1}, 32)};
  SetPixel(g.w, 0, 0, normalcolor{9, 10, 20, 30});
  CGrafPtr saved;
  GDHandle device;
  GetGWorld(&saved, &device);
  SetGWorld(port, nullptr);
  const Rect s{0, 0, 1, 1}, d{2, 3, 3, 4};
  CopyGworldCurPort(g.w, &s, &d, srcCopy);
  EXPECT_EQ(flush.calls, 0);
  CopyGworldCurPort(g.w, &s, &d, 0x100 | srcCopy);
  EXPECT_EQ(flush.calls, 1);
  EXPECT_EQ(flush.r, d);
  const uint8_t* p = &pixels[(2 * 4 + 3) * 4];
  EXPECT_EQ(p[0], 30);  // blue first in the port's memory
  EXPECT_EQ(p[2], 10);
  EXPECT_EQ(p[3], 9);
  SetGWorld(saved, device);
  DisposePixelPort(port);
}

TEST(OffworldPorts, ScreenCopyLandsAtTheGlobalPlace)
{
  std::vector<uint8_t> screen(10 * 10 * 4, 0);
  gScreenPort = NewPixelPort(screen.data(), 40, Rect{0, 0, 10, 10}, 32, kPixelFormatARGB);
  std::vector<uint8_t> windowPixels(4 * 4 * 4, 0);
  CGrafPtr window = NewPixelPort(windowPixels.data(), 16, Rect{0, 0, 4, 4}, 32, kPixelFormatARGB);
  window->globalOrigin = Point{5, 6};
  OffworldGuard g{Make(Rect{0, 0, 1, 1}, 32)};
  SetPixel(g.w, 0, 0, normalcolor{1, 2, 3, 4});
  const Rect s{0, 0, 1, 1}, d{1, 1, 2, 2};
  CopyGworldScreen(g.w, window, &s, &d);
  EXPECT_EQ(screen[(6 * 10 + 7) * 4 + 3], 4);
  CGrafPtr current;
  GetGWorld(&current, nullptr);
  EXPECT_EQ(current, window);
  SetGWorld(nullptr, nullptr);
  DisposePixelPort(window);
  DisposePixelPort(gScreenPort);
  EXPECT_EQ(gScreenPort, nullptr);
}

TEST(OffworldPorts, QuartzPortCopyReordersForTheScreen)
{
  std::vector<uint8_t> pixels(3 * 3 * 4, 0xEE);
  CGrafPtr port = NewPixelPort(pixels.data(), 12, Rect{0, 0, 3, 3}, 32, kPixelFormatBGRA);
  OffworldGuard g{Make(Rect{0, 0, 4, 4}, 32)};
  FillPattern(g.w);
  const Rect s{1, 1, 3, 3};
  EXPECT_EQ(CopyGworldQuartzPort(g.w, port, &s, PackRectTopLeft(Rect{1, 1, 3, 3}),
                                 PackRectBottomRight(Rect{1, 1, 3, 3}), srcCopy),
            noErr);
  const normalcolor want = Pixel(g.w, 2, 2);
  const uint8_t* p = &pixels[(2 * 3 + 2) * 4];
  EXPECT_EQ(p[0], want.blue);
  EXPECT_EQ(p[1], want.green);
  EXPECT_EQ(p[2], want.red);
  EXPECT_EQ(p[3], 0xEE);
  EXPECT_EQ(pixels[0], 0xEE);
  EXPECT_EQ(CopyGworldQuartzPort(g.w, port, &s, 0, 0, srcCopy), paramErr);
  DisposePixelPort(port);
}

TEST(OffworldPictures, ClipboardRoundTripKeepsPadOnlyWhenAsked)
{
  OffworldGuard g{Make(Rect{0, 0, 3, 4}, 32)};
  FillPattern(g.w, 99);
  const Rect r{1, 1, 3, 3};
  for (bool keepPad : {false, true}) {
    SCOPED_TRACE(keepPad);
    ASSERT_TRUE(GworldToScrapPict(g.w, &r, keepPad));
    EXPECT_TRUE(ScrapHasPicture());
    Offworld pasted = nullptr;
    uint16_t status = 1;
    ScrapPictToGworld(&pasted, 32, &status);
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(pasted);
    EXPECT_EQ(MinGworld1Rect(pasted), (Rect{0, 0, 2, 2}));
    normalcolor want = Pixel(g.w, 2, 2);
    if (!keepPad)
      want.flag = 0;
    EXPECT_EQ(Pixel(pasted, 1, 1), want);
    KillOffworld(&pasted);
  }
  EXPECT_EQ(g.w->pixels.packType, 0);  // put back after the recording
}

TEST(OffworldPictures, MissingOrBadPicturesLeaveTheStatus)
{
  ClearCurrentScrap();
  EXPECT_FALSE(ScrapHasPicture());
  Offworld w = nullptr;
  uint16_t status = 0;
  ScrapPictToGworld(&w, 32, &status);
  EXPECT_EQ(status, 65535);
  EXPECT_EQ(w, nullptr);

  const uint8_t junk[12] = {0, 12, 0, 0, 0, 0, 0, 9, 0, 9, 'x', 'y'};
  PutScrapFlavor(fourcc("PICT"), sizeof junk, junk);
  OffworldGuard g{Make(Rect{0, 0, 2, 2}, 32)};
  PasteScrap(g.w, PackRectTopLeft(Rect{0, 0, 2, 2}), PackRectBottomRight(Rect{0, 0, 2, 2}),
             &status);
  EXPECT_EQ(status, 65535);

  static int beeps = 0;
  AlertSoundProc old = SetAlertSoundProc([](bool) { ++beeps; });
  EXPECT_FALSE(GworldToScrapPict(nullptr, &g.w->pixels.bounds, false));
  EXPECT_EQ(beeps, 1);
  SetAlertSoundProc(old);
}

TEST(OffworldPictures, PictureDrawsStretchedIntoABox)
{
  OffworldGuard src{Make(Rect{0, 0, 1, 2}, 32)}, dst{Make(Rect{0, 0, 2, 4}, 32)};
  SetPixel(src.w, 0, 0, normalcolor{0, 255, 0, 0});
  SetPixel(src.w, 1, 0, normalcolor{0, 0, 0, 255});
  PicHandle pict = nullptr;
  Offworld2Pict(&pict, src.w, &src.w->pixels.bounds);
  ASSERT_TRUE(pict);
  EXPECT_EQ(GetHandleSize(pict), 20 + 8);
  const Rect box{0, 0, 2, 4};
  Pict2OffworldBox(pict, dst.w, &box);
  EXPECT_EQ(Pixel(dst.w, 1, 1).red, 255);
  EXPECT_EQ(Pixel(dst.w, 2, 1).blue, 255);
  DisposeHandle(pict);
}

TEST(OffworldScratch, SmallRequestsShareTheScratchBlock)
{
  MemPool pool{};
  finit(&pool, 200000);
  void* block = AddMemObject(&pool, kGWTempBufferSize);
  initGWutils(block);
  EXPECT_EQ(gTempbuffer, block);
  EXPECT_EQ(gWarpArround, 0);
  EXPECT_EQ(gCenterScale, 1);
  {
    GWScratch small(kGWTempBufferSize);
    EXPECT_EQ(small.data(), block);
    EXPECT_FALSE(small.ownsBlock());
    GWScratch large(kGWTempBufferSize + 1);
    EXPECT_NE(large.data(), block);
    EXPECT_TRUE(large.ownsBlock());
    large.data()[kGWTempBufferSize] = 1;  // all of it is ours
  }
  initGWutils(nullptr);
  fkill(&pool);
}
