// The interactive geometric commands on scripted mouse drags: the values the
// mouse drives, the drawing of each round and the result after release.
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "foundation/appshell.h"
#include "foundation/modifierkeys.h"
#include "imaging/bufcommands.h"
#include "imaging/cursorkeys.h"
#include "imaging/geometry.h"
#include "imaging/offview.h"
#include "platform/ui.h"
#include "tests/imaging/test_buffers.h"

namespace {

constexpr Rect kArea{0, 0, 6, 8};

std::vector<uint8_t> Bytes(Offworld w)
{
  const uint8_t* p = w->pixels.baseAddr;
  return {p, p + int64_t(w->pixels.rowBytes) * RectHeight(w->pixels.bounds)};
}

// The anti-aliased rotation keeps its destination's pads: colours only.
std::vector<uint8_t> ColourBytes(Offworld w)
{
  std::vector<uint8_t> bytes = Bytes(w);
  for (size_t i = 0; i < bytes.size(); i += 4)
    bytes[i] = 0;
  return bytes;
}

void Pattern(Offworld w)
{
  const int64_t n = int64_t(w->pixels.rowBytes) * RectHeight(w->pixels.bounds);
  for (int64_t i = 0; i < n; ++i)
    w->pixels.baseAddr[i] = uint8_t(i * 7 + 3);
}

int gAlertId = 0, gAlertIndex = 0;

struct MouseCommands : testing::Test
{
  std::vector<uint8_t> screen = std::vector<uint8_t>(40 * 40 * 4);
  CGrafPtr port = nullptr;
  int flushes = 0;
  AlertDialogProc savedAlert = nullptr;

  void SetUp() override
  {
    kvui::startScripted();
    static uint8_t scratch[kGWTempBufferSize];
    initGWutils(scratch);
    port = NewPixelPort(screen.data(), 160, Rect{0, 0, 40, 40}, 32, kPixelFormatBGRA);
    port->flushProc = [](CGrafPtr, const Rect&, void* refCon) { ++*static_cast<int*>(refCon); };
    port->flushRefCon = &flushes;
    SetGWorld(port, nullptr);
    gshift = gopt = 0;
    gAlertId = gAlertIndex = 0;
    savedAlert = SetAlertDialogProc([](int16_t id, int16_t index, ConstStringPtr) -> int16_t {
      gAlertId = id, gAlertIndex = index;
      return 1;
    });
  }
  void TearDown() override
  {
    SetAlertDialogProc(savedAlert);
    gshift = gopt = 0;
    SetGWorld(nullptr, nullptr);
    DisposePixelPort(port);
    initGWutils(nullptr);
    kvui::stop();
  }

  // The mouse pressed at `start`, moved through `moves` (h, v) and released
  // where it last was.
  static void Script(Point start, const std::vector<Point>& moves)
  {
    kvui::script::mouse(kvui::Point{start.v, start.h}, true);
    kvui::pump();
    Point last = start;
    for (Point m : moves)
      kvui::script::mouse(kvui::Point{m.v, m.h}, true), last = m;
    kvui::script::mouse(kvui::Point{last.v, last.h}, false);
  }
};

using Reference = std::function<void(Offworld, Offworld)>;

struct DragCase
{
  const char* what;
  bool view;  // MouseOffworld_Commandes over a view, else XMouseOffworld_Commandes
  int16_t op;
  uint8_t shift, option;
  std::vector<Point> moves;  // from (100, 100)
  Reference reference;
};

TEST_F(MouseCommands, DraggedValuesAndTheResultAfterRelease)
{
  const DragCase cases[] = {
      // x clamps at 0 far left and grows again from 0 counted from there.
      {"move clamp",
       false,
       0,
       0,
       0,
       {{100, -200}, {100, -210}, {100, 40}},
       [](Offworld s, Offworld d) { Move_GW32(s, d, 250, 256); }},
      {"move shift",
       false,
       0,
       1,
       0,
       {{117, 130}},
       [](Offworld s, Offworld d) { Move_GW32(s, d, 272, 256); }},
      {"move shift option",
       false,
       0,
       1,
       1,
       {{107, 103}},
       [](Offworld s, Offworld d) { Move_GW32(s, d, 256, 263); }},
      {"view move shift option",
       true,
       0,
       1,
       1,
       {{107, 103}},
       [](Offworld s, Offworld d) { Move_GW32(s, d, 256, 260); }},
      // A release after a scale other than 128 recomputes anti-aliased; the
      // view keeps the nearest-sample result.
      {"scale",
       false,
       1,
       0,
       0,
       {{90, 140}},
       [](Offworld s, Offworld d) { AARotate_GW32(s, d, 168, 118, 256, 1); }},
      {"view scale",
       true,
       1,
       0,
       0,
       {{90, 140}},
       [](Offworld s, Offworld d) { Rotate_GW32(s, d, 168, 118, 256, 1); }},
      {"scale shift",
       false,
       1,
       1,
       0,
       {{90, 140}},
       [](Offworld s, Offworld d) { AARotate_GW32(s, d, 168, 128, 256, 1); }},
      {"view scale shift",
       true,
       1,
       1,
       0,
       {{90, 140}},
       [](Offworld s, Offworld d) { Rotate_GW32(s, d, 256, 128, 256, 1); }},
      {"view scale shift small",
       true,
       1,
       1,
       0,
       {{90, 70}},
       [](Offworld s, Offworld d) { Rotate_GW32(s, d, 96, 128, 256, 1); }},
      {"scale back to 128",
       false,
       1,
       0,
       0,
       {{90, 140}, {100, 100}},
       [](Offworld s, Offworld d) { Rotate_GW32(s, d, 128, 128, 256, 1); }},
      {"rotate shift",
       false,
       2,
       1,
       0,
       {{100, 170}},
       [](Offworld s, Offworld d) { AARotate_GW32(s, d, 128, 128, 384, 1); }},
      {"rotate clamp",
       false,
       2,
       0,
       0,
       {{100, -100}, {100, -60}},
       [](Offworld s, Offworld d) { AARotate_GW32(s, d, 128, 128, 80, 1); }},
      {"contrast",
       false,
       3,
       0,
       0,
       {{95, 110}},
       [](Offworld s, Offworld d) { Contrast_GW(s, d, 148, 10, 0); }},
      {"contrast clamp",
       false,
       4,
       0,
       0,
       {{100, -200}},
       [](Offworld s, Offworld d) { Contrast_GW(s, d, 0, 0, 0); }},
      {"view contrast clamp",
       true,
       4,
       0,
       0,
       {{100, -200}},
       [](Offworld s, Offworld d) { Contrast_GW(s, d, -128, 0, 0); }},
      {"contrast shift",
       false,
       3,
       1,
       0,
       {{95, 110}},
       [](Offworld s, Offworld d) { Contrast_GW(s, d, 148, 0, 0); }},
      {"contrast shift option",
       false,
       3,
       1,
       1,
       {{95, 110}},
       [](Offworld s, Offworld d) { Contrast_GW(s, d, 128, 10, 0); }},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.what);
    OffworldGuard g{Make(kArea, 32)}, want{Make(kArea, 32)};
    Pattern(g.w);
    Pattern(want.w);
    OffworldGuard source{Make(kArea, 32)};
    Pattern(source.w);
    c.reference(source.w, want.w);

    Script(Point{100, 100}, c.moves);
    gshift = c.shift, gopt = c.option;
    flushes = 0;
    if (c.view) {
      OffView view;
      InitView(&view, Rect{0, 0, 40, 40}, kArea, 24);
      view.world = g.w;
      MouseOffworld_Commandes(&view, c.op, 0);
    } else {
      XMouseOffworld_Commandes(g.w, kArea, Rect{2, 2, 8, 10}, c.op, 0);
    }
    EXPECT_EQ(ColourBytes(g.w), ColourBytes(want.w));
    EXPECT_EQ(flushes, int(c.moves.size()) + 1);  // one a round, the first before any move
    EXPECT_EQ(kvui::script::pending(), 0u);
  }
}

TEST_F(MouseCommands, EachRoundIsDrawnAndTheMaskKeepsChannels)
{
  OffworldGuard g{Make(kArea, 32)};
  Pattern(g.w);
  const std::vector<uint8_t> before = Bytes(g.w);
  Script(Point{100, 100}, {{100, 102}});
  gCursorID = 0;
  XMouseOffworld_Commandes(g.w, kArea, Rect{2, 2, 8, 10}, 0, 1);  // mask 1 keeps blue
  EXPECT_EQ(gLastCursorID, 4);  // busy while the result is made and copied
  EXPECT_EQ(gCursorID, 0);
  const std::vector<uint8_t> after = Bytes(g.w);
  const int32_t rowBytes = g.w->pixels.rowBytes;
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 8; ++x) {
      const uint8_t* now = &after[size_t(y * rowBytes + 4 * x)];
      const uint8_t* was = &before[size_t(y * rowBytes + 4 * x)];
      EXPECT_EQ(now[3], was[3]);                  // blue kept
      EXPECT_EQ(now[1], x < 2 ? 0 : was[1 - 8]);  // red moved 2 pixels right
    }
  // The last round is on the port at (2, 2): its row 2, column 4 at row 4, column 6.
  const uint8_t* shown = &screen[size_t(4 * 160 + 6 * 4)];
  EXPECT_EQ(shown[2], before[size_t(2 * rowBytes + 4 * 2 + 1)]);  // BGRA: red at byte 2
}

TEST_F(MouseCommands, UnknownOperationsAndMissingBuffersLeaveTheBuffer)
{
  OffworldGuard g{Make(kArea, 32)};
  Pattern(g.w);
  const std::vector<uint8_t> before = Bytes(g.w);
  for (int16_t op : {5, 9, -1}) {
    Script(Point{100, 100}, {{110, 130}});
    XMouseOffworld_Commandes(g.w, kArea, kArea, op, 0);
    EXPECT_EQ(Bytes(g.w), before);
    kvui::startScripted();
  }
  // A temporary buffer beyond the memory limit cannot be made: the alert.
  const Rect real = g.w->pixels.bounds;
  g.w->pixels.bounds = Rect{0, 0, 30000, 30000};
  XMouseOffworld_Commandes(g.w, kArea, kArea, 0, 0);
  g.w->pixels.bounds = real;
  EXPECT_EQ(gAlertId, 1059);
  EXPECT_EQ(gAlertIndex, 4);
  EXPECT_EQ(Bytes(g.w), before);
}

TEST_F(MouseCommands, GreyBuffersRunTheGreyOperations)
{
  OffworldGuard g{Make(kArea, 8)}, want{Make(kArea, 8)}, source{Make(kArea, 8)};
  Pattern(g.w);
  Pattern(source.w);
  AARotate_GW(source.w, want.w, 128, 128, 0, 1);
  Script(Point{100, 100}, {{100, -28}});
  XMouseOffworld_Commandes(g.w, kArea, kArea, 2, 3);
  EXPECT_EQ(Bytes(g.w), Bytes(want.w));
}

}  // namespace
