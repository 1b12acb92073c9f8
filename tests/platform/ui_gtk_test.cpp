// The GTK backend on a real display (skipped without one): screens, a
// window's surface shown by a flush, input synthesised through GDK, the
// clipboard and the cursor.
#include <array>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "platform/clock.h"
#include "platform/ui.h"

namespace {

using namespace kvui;

struct GtkUI : testing::Test
{
  void SetUp() override
  {
    if (!startGtk())
      GTEST_SKIP() << "no display";
  }
  void TearDown() override { stop(); }
};

// Pumps for up to `ms` milliseconds of the steady clock.
void pumpFor(double ms)
{
  double end = kvclock::milliseconds() + ms;
  while (kvclock::milliseconds() < end) {
    pump();
    kvclock::sleepMilliseconds(5);
  }
}

TEST_F(GtkUI, ScreensWindowsAndFlush)
{
  auto list = screens();
  ASSERT_FALSE(list.empty());
  EXPECT_TRUE(list[0].depth == 24 || list[0].depth == 32);
  EXPECT_GT(list[0].bounds.right, list[0].bounds.left);

  WindowRef w = newWindow(WindowKind::document, Rect{60, 70, 160, 270}, "gtk test");
  ASSERT_NE(w, nullptr);
  showWindow(w);
  pumpFor(300);
  EXPECT_TRUE(isWindowVisible(w));
  Surface s = windowSurface(w);
  EXPECT_EQ(s.width, 200);
  EXPECT_EQ(s.height, 100);
  for (int i = 0; i < s.rowBytes * s.height; i += 4) {
    s.pixels[i] = 255;  // opaque blue
    s.pixels[i + 3] = 255;
  }
  flush(w, Rect{0, 0, 100, 200});

  // What the screen shows: read it back from the root window. The X server
  // may place and paint the window a little later on a loaded machine, so
  // wait (bounded) until the flushed colour shows rather than reading once.
  GdkWindow* root = gdk_get_default_root_window();
  auto screenPixel = [&] {
    Rect c = windowContent(w);
    std::array<int, 3> rgb{-1, -1, -1};
    if (GdkPixbuf* shot = gdk_pixbuf_get_from_window(root, c.left + 10, c.top + 10, 1, 1)) {
      const guchar* px = gdk_pixbuf_get_pixels(shot);
      rgb = {px[0], px[1], px[2]};
      g_object_unref(shot);
    }
    return rgb;
  };
  const std::array<int, 3> blue{0, 0, 255};
  double deadline = kvclock::milliseconds() + 10000;
  while (screenPixel() != blue && kvclock::milliseconds() < deadline)
    pumpFor(20);
  EXPECT_EQ(screenPixel(), blue);

  EXPECT_TRUE(setCursor(kCursorBusy));
  EXPECT_FALSE(setCursor(12345));
  EXPECT_EQ(currentCursor(), kCursorBusy);
  setFullScreen(w, true);
  pumpFor(300);
  EXPECT_EQ(windowContent(w), list[0].bounds);
  EXPECT_EQ(windowSurface(w).width, list[0].bounds.right - list[0].bounds.left);
  setFullScreen(w, false);
  pumpFor(300);
  EXPECT_EQ(windowSurface(w).width, 200);
  sizeWindow(w, 120, 80);
  EXPECT_EQ(windowSurface(w).width, 120);
  disposeWindow(w);
  EXPECT_TRUE(windows().empty());
}

TEST_F(GtkUI, ClipboardRoundTrip)
{
  setClipboard({{"application/pdf", {'%', 'P', 'D', 'F'}}, {"image/png", {1, 2, 3}}});
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(clipboardBlock("application/pdf", &bytes));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{'%', 'P', 'D', 'F'}));
  ASSERT_TRUE(clipboardBlock("image/png", &bytes));
  EXPECT_EQ(bytes.size(), 3u);
  EXPECT_FALSE(clipboardBlock("text/x-none", &bytes));
}

}  // namespace
