#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "imaging/bufcommands.h"
#include "imaging/filters.h"
#include "imaging/geometry.h"
#include "tests/imaging/test_buffers.h"

namespace {

int gCalls = 0;
void CountCalls(int32_t, int32_t, uint8_t*, int32_t, int32_t)
{
  ++gCalls;
}

std::vector<uint8_t> Bytes(Offworld w)
{
  const uint8_t* p = w->pixels.baseAddr;
  return {p, p + int64_t(w->pixels.rowBytes) * RectHeight(w->pixels.bounds)};
}

void Pattern(Offworld w)
{
  const int64_t n = int64_t(w->pixels.rowBytes) * RectHeight(w->pixels.bounds);
  for (int64_t i = 0; i < n; ++i)
    w->pixels.baseAddr[i] = uint8_t(i * 7 + 3);
}

constexpr Rect kArea{0, 0, 6, 8};

TEST(BufferCommands, ClippingDepthsAndChannelMasks)
{
  OffworldGuard g{Make(kArea, 32)}, backup{Make(kArea, 32)};
  gCalls = 0;
  const Rect left{0, -9, 6, 0};
  Offworld_Commandes(g.w, backup.w, PackRectTopLeft(left), PackRectBottomRight(left), 0, CountCalls,
                     1);
  EXPECT_EQ(gCalls, 0);

  OffworldGuard g16{Make(kArea, 16)};
  Pattern(g16.w);
  const std::vector<uint8_t> before16 = Bytes(g16.w);
  Offworld_Commandes(g16.w, nullptr, PackRectTopLeft(kArea), PackRectBottomRight(kArea), 0,
                     gw_invert, 0);
  EXPECT_EQ(Bytes(g16.w), before16);
  Offworld_Commandes(g16.w, nullptr, PackRectTopLeft(kArea), PackRectBottomRight(kArea),
                     int32_t(0x0000FF00u), gw_colorfill, 0);
  uint16_t word;
  std::memcpy(&word, g16.w->pixels.baseAddr, 2);
  EXPECT_EQ(word, 31744);

  for (int16_t mask : {0, 1, 2, 3, 4, 5}) {
    SCOPED_TRACE(mask);
    Pattern(g.w);
    const std::vector<uint8_t> before = Bytes(g.w);
    Offworld_Commandes(g.w, backup.w, PackRectTopLeft(kArea), PackRectBottomRight(kArea), 0,
                       gw_invert, mask);
    const bool kept[6][4] = {{}, {0, 0, 0, 1}, {0, 0, 1, 1}, {0, 1, 0, 1}, {0, 1, 1, 0}, {}};
    const std::vector<uint8_t> after = Bytes(g.w);
    for (size_t i = 0; i < 4 * 8; ++i) {
      const int byte = int(i % 4);
      const uint8_t expected = byte == 0 || kept[mask][byte] ? before[i] : uint8_t(255 - before[i]);
      EXPECT_EQ(after[i], expected) << i;
    }
  }
}

TEST(BufferCommands, DirectCommandsMatchTheirOperation)
{
  OffworldGuard g{Make(kArea, 32)}, expected{Make(kArea, 32)}, source{Make(kArea, 32)};
  Pattern(g.w);
  const std::vector<uint8_t> before = Bytes(g.w);
  EXPECT_EQ(Direct_Commandes(g.w, nullptr, 1, 1, 7, 0), paramErr);
  EXPECT_EQ(Direct_Commandes(g.w, nullptr, 0, 100, 0, 0), paramErr);
  EXPECT_EQ(Bytes(g.w), before);

  struct
  {
    uint16_t a, b, op;
    void (*reference)(Offworld, Offworld);
  } cases[] = {
      {45, 0, 1, [](Offworld s, Offworld d) { AARotate_GW32(s, d, 128, 128, 128, 1); }},
      {90, 0, 1, [](Offworld s, Offworld d) { AARotate_GW32(s, d, 128, 128, 0, 1); }},
      {200, 100, 0, [](Offworld s, Offworld d) { AARotate_GW32(s, d, 64, 128, 256, 1); }},
      {3, 2, 2, [](Offworld s, Offworld d) { Move_GW32(s, d, 259, 254); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.a);
    Pattern(g.w);
    Pattern(source.w);
    std::memset(expected.w->pixels.baseAddr, 0, before.size());
    c.reference(source.w, expected.w);
    EXPECT_EQ(Direct_Commandes(g.w, nullptr, c.a, c.b, c.op, 0), noErr);
    const std::vector<uint8_t> got = Bytes(g.w), want = Bytes(expected.w);
    for (size_t i = 0; i < got.size(); ++i)
      if (i % 4 != 0) {
        EXPECT_EQ(got[i], want[i]) << i;
      }
  }
}

struct Call
{
  int32_t columns = 0, rows = 0, rowBytes = 0, param = 0;
  uint8_t* pixels = nullptr;
  uint8_t is8 = 9, is16 = 9;
} gCall;

void RecordCall(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t param)
{
  gCall = Call{columns, rows, rowBytes, param, pixels, gwIs8bit, gwIs16bit};
}

TEST(BufferCommands, ScreenCommandsRunOnTheClippedPortRectangle)
{
  std::vector<uint8_t> pixels(6 * 8 * 4);
  // A port whose pixels start at (10, 20).
  CGrafPtr port = NewPixelPort(pixels.data(), 32, Rect{10, 20, 16, 28}, 32, kPixelFormatBGRA);
  int flushes = 0;
  port->flushProc = [](CGrafPtr, const Rect&, void* refCon) { ++*static_cast<int*>(refCon); };
  port->flushRefCon = &flushes;
  gwIs8bit = 1;
  const Rect r{12, 25, 30, 40};  // reaches past the bottom right
  ScreenPix_Commandes(port, PackRectTopLeft(r), PackRectBottomRight(r), 77, RecordCall);
  EXPECT_EQ(gCall.columns, 3);
  EXPECT_EQ(gCall.rows, 4);
  EXPECT_EQ(gCall.pixels, pixels.data() + 2 * 32 + 5 * 4);
  EXPECT_EQ(gCall.rowBytes, 32);
  EXPECT_EQ(gCall.param, 77);
  EXPECT_EQ(gCall.is8, 0);
  EXPECT_EQ(gCall.is16, 0);
  EXPECT_EQ(flushes, 0);  // the caller flushes
  EXPECT_EQ(port->bitsLockCount, 0);

  gCall = Call{};
  const Rect outside{0, 0, 5, 5};
  ScreenPix_Commandes(port, PackRectTopLeft(outside), PackRectBottomRight(outside), 0, RecordCall);
  EXPECT_EQ(gCall.pixels, nullptr);
  DisposePixelPort(port);

  std::vector<uint8_t> grey(8 * 6);
  CGrafPtr port8 = NewPixelPort(grey.data(), 8, Rect{0, 0, 6, 8}, 8, 0);
  ScreenPix_Commandes(port8, PackRectTopLeft(kArea), PackRectBottomRight(kArea), 0, RecordCall);
  EXPECT_EQ(gCall.pixels, nullptr);
  DisposePixelPort(port8);
}

}  // namespace
