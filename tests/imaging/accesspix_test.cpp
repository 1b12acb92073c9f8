#include "imaging/accesspix.h"

#include <cstring>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "tests/imaging/test_buffers.h"

namespace {

// A port over pixels kept in a vector.
struct TestPort
{
  std::vector<uint8_t> pixels;
  CGrafPtr port;
  TestPort(int16_t width, int16_t height, int16_t depth, OSType format, uint8_t fill)
      : pixels(size_t(width) * height * (depth / 8), fill),
        port(NewPixelPort(pixels.data(), width * (depth / 8), Rect{0, 0, height, width}, depth,
                          format))
  {}
  ~TestPort() { DisposePixelPort(port); }
  uint8_t* at(int32_t col, int32_t row)
  {
    return pixels.data() +
           (size_t(row) * RectWidth(port->portRect) + col) * (port->portPixMap->pixelSize / 8);
  }
};

}  // namespace

TEST(AccessPixels, RectanglesAreMovedInsideTheBuffer)
{
  struct Case
  {
    Rect in, out;
  } cases[] = {
      {{-10, -5, 20, 30}, {0, 0, 30, 35}},
      {{70, 90, 100, 120}, {50, 70, 80, 100}},
      {{10, 10, 20, 20}, {10, 10, 20, 20}},
      {{-20, -20, 200, 300}, {0, 0, 80, 100}},  // larger than the buffer: cut to it
  };
  OffworldGuard g{Make(Rect{0, 0, 80, 100}, 32)};
  for (const Case& c : cases) {
    AccessPix a;
    a.bottomUp = 1;
    Rect r = c.in;
    ASSERT_TRUE(AccessPixels(g.w, &a, &r));
    EXPECT_EQ(r, c.out);
    EXPECT_EQ(a.base, g.w->pixels.baseAddr);
    EXPECT_EQ(a.width, 100);
    EXPECT_EQ(a.height, 80);
    EXPECT_EQ(a.bottomUp, 0);
    EXPECT_EQ(a.isPort, 0);
    EXPECT_EQ(a.pixelFormat, kPixelFormatARGB);
  }
  AccessPix a;
  EXPECT_FALSE(AccessPixels(nullptr, &a, nullptr));
}

TEST(AccessPixels, Fix2RectsMatchesPixelForPixel)
{
  struct Case
  {
    Rect src, dst, srcBounds, dstBounds;
    bool ok;
    Rect srcOut, dstOut;
  } cases[] = {
      // destination sticks out left and top: the source loses the same on the same sides
      {{0, 0, 10, 10},
       {-3, -2, 7, 8},
       {0, 0, 50, 50},
       {0, 0, 50, 50},
       true,
       {3, 2, 10, 10},
       {0, 0, 7, 8}},
      // source sticks out right: the destination is cut on its right
      {{0, 45, 5, 55},
       {0, 0, 5, 10},
       {0, 0, 50, 50},
       {0, 0, 50, 50},
       true,
       {0, 45, 5, 50},
       {0, 0, 5, 5}},
      {{0, 0, 5, 5}, {60, 60, 65, 65}, {0, 0, 50, 50}, {0, 0, 50, 50}, false, {}, {}},
      {{60, 0, 65, 5}, {0, 0, 5, 5}, {0, 0, 50, 50}, {0, 0, 50, 50}, false, {}, {}},
      // what is left of each does not overlap once matched
      {{0, 0, 10, 10}, {0, 0, 10, 10}, {0, 0, 10, 3}, {0, 5, 10, 10}, false, {}, {}},
  };
  for (const Case& c : cases) {
    Rect s = c.src, d = c.dst;
    ASSERT_EQ(Fix2Rects(&s, &d, c.srcBounds, c.dstBounds), c.ok);
    if (!c.ok)
      continue;
    EXPECT_EQ(s, c.srcOut);
    EXPECT_EQ(d, c.dstOut);
  }
}

TEST(AccessPixels, WritersConvertByDepthAndFormat)
{
  struct Case
  {
    int16_t srcDepth, dstDepth;
    OSType dstFormat;
    std::vector<uint8_t> expected;  // the destination pixel after the write
  } cases[] = {
      {32, 32, kPixelFormatBGRA, {40, 30, 20, 0xEE}},
      {8, 32, kPixelFormatBGRA, {90, 90, 90, 0xEE}},
      {32, 32, kPixelFormatARGB, {10, 20, 30, 40}},
      {8, 32, kPixelFormatARGB, {0xEE, 90, 90, 90}},
      {32, 8, 0, {30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.srcDepth << " -> " << c.dstDepth);
    OffworldGuard src{Make(Rect{0, 0, 2, 2}, c.srcDepth)};
    const uint8_t pixel32[4] = {10, 20, 30, 40};
    for (int i = 0; i < 4; ++i) {
      uint8_t* p =
          src.w->pixels.baseAddr + (i / 2) * src.w->pixels.rowBytes + (i % 2) * (c.srcDepth / 8);
      if (c.srcDepth == 32)
        std::memcpy(p, pixel32, 4);
      else
        *p = 90;
    }
    TestPort port(3, 3, c.dstDepth, c.dstFormat, 0xEE);
    BlitGWorldBits(src.w, port.port, Rect{0, 0, 2, 2}, Rect{1, 1, 3, 3}, false);
    EXPECT_EQ(std::vector<uint8_t>(port.at(2, 2), port.at(2, 2) + c.expected.size()), c.expected);
    EXPECT_EQ(*port.at(0, 0), 0xEE);
  }
}

TEST(AccessPixels, WriteKeepsPixelsInPlaceWhenThePortCutsTheDestination)
{
  AccessPix block;
  ASSERT_TRUE(BeginAccessBuffer32(4, 4, &block));
  for (int i = 0; i < 16; ++i)
    block.base[i * 4 + 1] = uint8_t(i);  // red = index
  TestPort port(4, 4, 32, kPixelFormatARGB, 0);
  // Destination starts one pixel above and left of the port: source pixel
  // (1, 1) must land on port pixel (0, 0).
  WriteScreenBits(&block, port.port, Rect{0, 0, 4, 4}, Rect{-1, -1, 3, 3});
  EXPECT_EQ(port.at(0, 0)[1], 5);
  EXPECT_EQ(port.at(2, 2)[1], 15);
  EXPECT_EQ(port.at(3, 3)[1], 0);  // the source has nothing for it
  // A destination larger than the source writes only what the source holds.
  TestPort wide(8, 8, 32, kPixelFormatARGB, 0);
  Rect whole{0, 0, 8, 8};
  EndAccessBuffer(wide.port, &block, &whole, false);
  EXPECT_EQ(wide.at(3, 3)[1], 15);
  EXPECT_EQ(wide.at(4, 0)[1], 0);
  DisposePtr(block.base);
}

TEST(AccessPixels, WritePixels32ClipsToBothRecords)
{
  AccessPix src, dst;
  ASSERT_TRUE(BeginAccessBuffer32(2, 2, &src));
  ASSERT_TRUE(BeginAccessBuffer32(3, 3, &dst));
  dst.pixelFormat = kPixelFormatBGRA;
  src.base[0] = 1, src.base[1] = 2, src.base[2] = 3, src.base[3] = 4;
  WritePixels32(&src, &dst, Rect{0, 0, 9, 9}, Rect{2, 2, 11, 11});
  EXPECT_EQ(dst.base[(2 * 3 + 2) * 4 + 0], 4);
  EXPECT_EQ(dst.base[(2 * 3 + 2) * 4 + 2], 2);
  DisposePtr(src.base);
  DisposePtr(dst.base);
}

TEST(AccessPixels, PortAccessCutsAndRebasesTheRectangle)
{
  TestPort port(10, 8, 32, kPixelFormatBGRA, 0);
  port.port->portPixMap->bounds = Rect{100, 200, 108, 210};
  AccessPix a;
  Rect r{104, 195, 120, 203};
  ASSERT_TRUE(BeginAccessPixels(port.port, nullptr, &a, &r));
  EXPECT_EQ(r, (Rect{4, 0, 8, 3}));
  EXPECT_EQ(a.base, port.pixels.data() + 4 * 40);
  EXPECT_EQ(a.isPort, 1);
  EXPECT_EQ(a.pixelFormat, kPixelFormatBGRA);
  EXPECT_EQ(port.port->bitsLockCount, 1);
  EndAccessPixelsNR(port.port, &a);
  EXPECT_EQ(port.port->bitsLockCount, 0);
  EXPECT_EQ(a.pixMap, nullptr);

  uint16_t depth = 0;
  EXPECT_TRUE(isPort32buffered(port.port, &depth));
  EXPECT_EQ(depth, 32);
  EXPECT_FALSE(isPort32buffered(nullptr, &depth));
}

TEST(AccessPixels, Buffer32AccessRebasesTheRectangle)
{
  OffworldGuard g{Make(Rect{5, 5, 25, 15}, 32)};
  AccessPix a;
  Rect r{7, 8, 40, 12};
  ASSERT_TRUE(BeginAccessPixels32(nullptr, g.w, &a, &r));
  EXPECT_EQ(r, (Rect{0, 0, 20, 4}));
  EXPECT_EQ(a.base, g.w->pixels.baseAddr);
}

TEST(AccessPixels, CreateAccessMakesOrChecksABuffer)
{
  AccessPix a;
  Rect r{10, 10, 20, 30};
  ASSERT_TRUE(CreateAccessPixels(nullptr, nullptr, &a, &r, 32, false));
  EXPECT_EQ(a.ownsBuffer, 1);
  ASSERT_NE(a.owned, nullptr);
  EXPECT_EQ(r, (Rect{0, 0, 10, 20}));
  Offworld made = static_cast<Offworld>(a.owned);
  EXPECT_EQ(a.base, made->pixels.baseAddr);
  KillOffworld(&made);

  OffworldGuard grey{Make(Rect{0, 0, 10, 10}, 8)};
  Rect inside{2, 3, 5, 6};
  EXPECT_FALSE(CreateAccessPixels(nullptr, grey.w, &a, &inside, 32, false));
  ASSERT_TRUE(CreateAccessPixels(nullptr, grey.w, &a, &inside, -8, false));
  EXPECT_EQ(a.base, grey.w->pixels.baseAddr + 2 * grey.w->pixels.rowBytes + 3);
  EXPECT_EQ(a.ownsBuffer, 0);
  Rect outside{20, 20, 30, 30};
  EXPECT_FALSE(CreateAccessPixels(nullptr, grey.w, &a, &outside, 8, false));

  TestPort port(4, 4, 32, kPixelFormatBGRA, 0);
  Rect onPort{1, 1, 3, 3};
  ASSERT_TRUE(CreateAccessPixels(port.port, nullptr, &a, &onPort, 32, true));
  EXPECT_EQ(a.isPort, 1);
  EXPECT_EQ(a.base, port.at(1, 1));
  EndAccessPixelsNR(port.port, &a);
}

TEST(AccessPixels, EveryOpeningClearsOwnershipFirst)
{
  OffworldGuard g{Make(Rect{0, 0, 4, 4}, 32)};
  TestPort port(4, 4, 32, kPixelFormatBGRA, 0);
  Offworld stale = reinterpret_cast<Offworld>(0x10);
  struct Case
  {
    const char* name;
    bool (*open)(Offworld world, CGrafPtr port, AccessPix* a, Rect* r);
  } cases[] = {
      {"AccessPixels",
       [](Offworld w, CGrafPtr, AccessPix* a, Rect* r) { return AccessPixels(w, a, r); }},
      {"AccessScreenBits",
       [](Offworld, CGrafPtr p, AccessPix* a, Rect* r) { return AccessScreenBits(p, a, r); }},
      {"BeginAccessPixels32", [](Offworld w, CGrafPtr, AccessPix* a,
                                 Rect* r) { return BeginAccessPixels32(nullptr, w, a, r); }},
      {"CreateAccessPixels",
       [](Offworld w, CGrafPtr, AccessPix* a, Rect* r) {
         return CreateAccessPixels(nullptr, w, a, r, 32, false);
       }},
      {"BeginAccessBuffer32",
       [](Offworld, CGrafPtr, AccessPix* a, Rect*) { return BeginAccessBuffer32(2, 2, a); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AccessPix a;
    a.ownsBuffer = 1;
    a.owned = stale;
    Rect r{0, 0, 2, 2};
    ASSERT_TRUE(c.open(g.w, port.port, &a, &r));
    EXPECT_EQ(a.ownsBuffer, 0);
    EXPECT_EQ(a.owned, nullptr);
    if (a.isPort)
      EndAccessPixelsNR(port.port, &a);
    if (!a.pixMap && !a.isPort)
      DisposePtr(a.base);
  }
}

TEST(AccessPixels, EndingABufferAccessCopiesOntoThePort)
{
  OffworldGuard g{Make(Rect{0, 0, 2, 2}, 32)};
  std::memset(g.w->pixels.baseAddr, 0x55, 16);
  TestPort port(4, 4, 32, kPixelFormatARGB, 0);
  AccessPix a;
  ASSERT_TRUE(AccessPixels(g.w, &a, nullptr));
  const Rect s{0, 0, 2, 2}, d{2, 2, 4, 4};
  EndAccessPixels(port.port, &a, &s, &d);
  EXPECT_EQ(port.at(3, 3)[2], 0x55);
  EXPECT_EQ(port.at(1, 1)[2], 0);
  CGrafPtr current;
  GetGWorld(&current, nullptr);
  EXPECT_EQ(current, port.port);
  SetGWorld(nullptr, nullptr);
}

TEST(AccessPixels, ThreadsWriteDisjointColumnsThroughTheirOwnAccess)
{
  OffworldGuard g{Make(Rect{0, 0, 64, 64}, 32)};
  auto fill = [&](int16_t firstCol, int16_t endCol, uint8_t value) {
    AccessPix a;
    if (!AccessPixels(g.w, &a, nullptr))
      return;
    for (int32_t row = 0; row < a.height; ++row)
      for (int32_t col = firstCol; col < endCol; ++col)
        a.base[row * a.rowBytes + col * 4 + 1] = value;
  };
  std::thread left(fill, 0, 32, 1), right(fill, 32, 64, 2);
  left.join();
  right.join();
  for (int32_t row = 0; row < 64; ++row) {
    ASSERT_EQ(g.w->pixels.baseAddr[row * 256 + 31 * 4 + 1], 1);
    ASSERT_EQ(g.w->pixels.baseAddr[row * 256 + 32 * 4 + 1], 2);
  }
}
