#include <gdk/gdk.h>
#include <gtest/gtest.h>
#include <thread>

#include "platform/clock.h"
#include "platform/ui.h"

namespace {

using namespace kvui;

struct Recorder
{
  std::vector<Event> events;
  int32_t answer = kEventNotHandled;
};

int32_t record(WindowRef, const Event& e, void* user)
{
  auto* r = static_cast<Recorder*>(user);
  r->events.push_back(e);
  return r->answer;
}

struct ScriptedUI : testing::Test
{
  void SetUp() override { startScripted(); }
  void TearDown() override { stop(); }

  WindowRef window(Rect content, Recorder* rec = nullptr)
  {
    WindowRef w = newWindow(WindowKind::document, content, "test");
    if (rec)
      setEventHandler(w, record, rec);
    showWindow(w);
    return w;
  }
};

TEST_F(ScriptedUI, EventsGoToHandlersOrQueueWithLocalPointsAndClicks)
{
  Recorder rec;
  WindowRef a = window(Rect{100, 100, 300, 400}, &rec);
  WindowRef b = window(Rect{500, 600, 600, 700});
  pump();
  ASSERT_EQ(rec.events.size(), 1u);  // the first update
  EXPECT_EQ(rec.events[0].what, updateEvt);
  rec.events.clear();

  script::mouse(Point{110, 120}, true, cmdKey);
  script::mouse(Point{110, 120}, false);
  script::mouse(Point{111, 121}, true);  // close in time and place: a double click
  script::mouse(Point{111, 121}, false);
  script::mouse(Point{550, 650}, true);  // window b has no handler: it queues
  script::mouse(Point{550, 650}, false);
  pump();
  ASSERT_EQ(rec.events.size(), 4u);
  EXPECT_EQ(rec.events[0].what, mouseDown);
  EXPECT_EQ(rec.events[0].window, a);
  EXPECT_EQ(rec.events[0].local, (Point{10, 20}));
  EXPECT_EQ(rec.events[0].modifiers, cmdKey);
  EXPECT_EQ(rec.events[0].clicks, 1);
  EXPECT_EQ(rec.events[1].what, mouseUp);
  EXPECT_EQ(rec.events[2].clicks, 2);

  Event e;
  ASSERT_TRUE(nextEvent(eventMask(mouseUp), &e));  // the mask picks the up past the down
  EXPECT_EQ(e.window, b);
  EXPECT_EQ(e.local, (Point{50, 50}));
  ASSERT_TRUE(nextEvent(everyEvent, &e));
  EXPECT_EQ(e.what, updateEvt);
  ASSERT_TRUE(nextEvent(everyEvent, &e));
  EXPECT_EQ(e.what, mouseDown);
  ASSERT_TRUE(nextEvent(everyEvent, &e));  // still invalid: asks again
  EXPECT_EQ(e.what, updateEvt);
  beginUpdate(b);
  endUpdate(b);
  EXPECT_FALSE(nextEvent(everyEvent, &e));
  EXPECT_EQ(e.what, nullEvent);
}

TEST(ClickCounter, CountsByTimeAndDistance)
{
  struct Case
  {
    uint32_t ticks;
    Point where;
    int16_t count;
  } cases[] = {
      {100, {10, 10}, 1}, {110, {12, 13}, 2}, {139, {14, 14}, 3},  // within 30 ticks, 4 pixels
      {170, {14, 14}, 1},                                          // too late
      {171, {14, 19}, 1},                                          // too far
      {172, {14, 19}, 2},
  };
  ClickCounter counter;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ticks);
    EXPECT_EQ(counter.press(c.ticks, c.where, 30, 4), c.count);
  }
}

TEST_F(ScriptedUI, KeysAutoKeyKeyMapAndObservers)
{
  static std::vector<std::pair<int32_t, bool>> seen;
  seen.clear();
  setKeyObserver([](int32_t code, bool down) { seen.emplace_back(code, down); });
  Recorder rec;
  WindowRef w = window(Rect{0, 0, 100, 100}, &rec);
  pump();
  rec.events.clear();
  script::key(kKeySpace, ' ', true);
  script::key(kKeySpace, ' ', true);  // a press of a held key repeats it
  script::key(kKeySpace, ' ', false);
  script::modifiers(shiftKey | optionKey);
  pump();
  ASSERT_EQ(rec.events.size(), 4u);
  EXPECT_EQ(rec.events[0].what, keyDown);
  EXPECT_EQ(rec.events[0].window, w);
  EXPECT_EQ(rec.events[0].keyCode, kKeySpace);
  EXPECT_EQ(rec.events[1].what, autoKey);
  EXPECT_EQ(rec.events[2].what, keyUp);
  EXPECT_EQ(rec.events[3].what, modifiersChanged);
  EXPECT_EQ(rec.events[3].modifiers, shiftKey | optionKey);
  EXPECT_TRUE(isKeyDown(kKeyShift));
  EXPECT_TRUE(isKeyDown(kKeyOption));
  EXPECT_FALSE(isKeyDown(kKeySpace));
  uint8_t map[16];
  keyMap(map);
  EXPECT_EQ(map[kKeyShift / 8], (1 << (kKeyShift % 8)) | (1 << (kKeyOption % 8)));
  // Observers see changes only, not repeats.
  std::vector<std::pair<int32_t, bool>> expected = {
      {kKeySpace, true}, {kKeySpace, false}, {kKeyShift, true}, {kKeyOption, true}};
  EXPECT_EQ(seen, expected);
}

TEST_F(ScriptedUI, TrackingMovesReleasesTimesOutAndASpentScriptLetsGo)
{
  static std::vector<bool> buttons;
  buttons.clear();
  setButtonObserver([](bool down) { buttons.push_back(down); });
  Recorder rec;
  window(Rect{0, 0, 100, 100}, &rec);
  script::mouse(Point{5, 10}, true);
  pump();
  Point p;
  script::mouse(Point{6, 12}, true);
  EXPECT_EQ(trackMouse(&p), TrackResult::moved);
  EXPECT_EQ(p, (Point{6, 12}));
  script::ticks(30);
  script::ticks(30);
  EXPECT_EQ(trackMouse(&p, 45), TrackResult::timedOut);
  script::mouse(Point{6, 12}, false);
  EXPECT_EQ(trackMouse(&p, 0, true), TrackResult::released);
  size_t before = rec.events.size();
  pump();  // the kept release arrives as an event
  ASSERT_EQ(rec.events.size(), before + 1);
  EXPECT_EQ(rec.events.back().what, mouseUp);

  script::mouse(Point{5, 10}, true);
  pump();
  EXPECT_TRUE(isButtonDown());
  EXPECT_EQ(trackMouse(&p), TrackResult::released);  // nothing queued
  EXPECT_FALSE(isButtonDown());
  EXPECT_EQ(buttons, (std::vector<bool>{true, false, true, false}));
}

TEST_F(ScriptedUI, ModalLoopBeepsElsewhereIdlesAndFailsWhenTheScriptIsSpent)
{
  WindowRef doc = window(Rect{0, 0, 100, 100});
  WindowRef dialog = newWindow(WindowKind::modal, Rect{200, 200, 300, 300}, "dialog");
  showWindow(dialog);
  struct Seen
  {
    int idles = 0;
    std::vector<int16_t> kinds;
  } seen;
  auto step = [](const Event& e, void* user) -> int32_t {
    auto* s = static_cast<Seen*>(user);
    if (e.what == nullEvent) {
      ++s->idles;
      return kEventNotHandled;
    }
    s->kinds.push_back(e.what);
    return e.what == keyDown && e.character == '\r' ? 1 : kEventNotHandled;
  };
  script::mouse(Point{50, 50}, true);  // on the document: refused
  script::mouse(Point{50, 50}, false);
  for (int i = 0; i < 4; ++i)
    script::ticks(3);
  script::mouse(Point{250, 250}, true);
  script::mouse(Point{250, 250}, false);
  script::key(36, '\r', true);
  EXPECT_EQ(runModalLoop(dialog, step, &seen), 1);
  EXPECT_EQ(script::beeps(), 1);
  EXPECT_GE(seen.idles, 2);  // 12 ticks passed
  EXPECT_EQ(seen.kinds, (std::vector<int16_t>{mouseDown, mouseUp, keyDown}));
  validate(doc, nullptr);
  validate(dialog, nullptr);
  Event e;
  while (nextEvent(everyEvent, &e))
    EXPECT_NE(e.what, mouseDown) << "the refused click must not reach the document";

  EXPECT_EQ(runModalLoop(dialog, step, &seen), kModalScriptSpent);
}

TEST_F(ScriptedUI, SurfacesFlushAndResize)
{
  Recorder rec;
  WindowRef w = window(Rect{10, 20, 40, 60}, &rec);
  setContentColor(w, 0, 0, 255);
  Surface s = windowSurface(w);
  ASSERT_EQ(s.width, 40);
  ASSERT_EQ(s.height, 30);
  ASSERT_EQ(s.rowBytes, 160);
  s.pixels[0] = 7;
  s.pixels[5 * s.rowBytes + 4] = 9;
  EXPECT_EQ(script::shownPixels(w).pixels[0], 255);  // drawn, not shown
  flush(w, Rect{0, 0, 1, 1});
  Surface shown = script::shownPixels(w);
  EXPECT_EQ(shown.pixels[0], 7);
  EXPECT_EQ(shown.pixels[5 * shown.rowBytes + 4], 255);
  ASSERT_EQ(script::flushes().size(), 1u);
  EXPECT_EQ(script::flushes()[0].rect, (Rect{0, 0, 1, 1}));
  flush(w, Rect{-5, -5, 500, 500});  // cut to the window
  EXPECT_EQ(script::flushes()[1].rect, (Rect{0, 0, 30, 40}));

  pump();
  rec.events.clear();
  script::resize(w, 80, 50);
  pump();
  Surface bigger = windowSurface(w);
  EXPECT_EQ(bigger.width, 80);
  EXPECT_NE(bigger.generation, s.generation);
  EXPECT_EQ(bigger.pixels[5 * bigger.rowBytes + 4], 9);  // what fits is kept
  EXPECT_EQ(windowContent(w), (Rect{10, 20, 60, 100}));
  std::vector<int16_t> kinds;
  for (const Event& e : rec.events)
    kinds.push_back(e.what);
  EXPECT_EQ(kinds, (std::vector<int16_t>{windowBoundsChanged, windowResizeDone, updateEvt}));
}

TEST_F(ScriptedUI, UpdateRegionGrowsAndValidates)
{
  WindowRef w = window(Rect{0, 0, 100, 200});
  validate(w, nullptr);
  Rect u;
  EXPECT_FALSE(updateRect(w, &u));
  Rect a{10, 10, 20, 20}, b{50, 5, 60, 15};
  invalidate(w, &a);
  invalidate(w, &b);
  ASSERT_TRUE(updateRect(w, &u));
  EXPECT_EQ(u, (Rect{10, 5, 60, 20}));
  validate(w, &a);  // covers part only
  EXPECT_TRUE(updateRect(w, nullptr));
  beginUpdate(w);
  endUpdate(w);
  EXPECT_FALSE(updateRect(w, nullptr));
}

TEST_F(ScriptedUI, HighLevelEventsCursorsAndClipboard)
{
  EXPECT_FALSE(peekHighLevelEvent(nullptr));
  postHighLevelEvent({0x61657674 /* aevt */, 0x6F646F63 /* odoc */, {"/tmp/a.qjkv"}});
  HighLevelEvent h;
  ASSERT_TRUE(peekHighLevelEvent(&h));
  EXPECT_TRUE(peekHighLevelEvent(&h));
  ASSERT_TRUE(takeHighLevelEvent(&h));
  EXPECT_EQ(h.eventID, 0x6F646F63u);
  EXPECT_EQ(h.paths.at(0), "/tmp/a.qjkv");
  EXPECT_FALSE(takeHighLevelEvent(&h));

  EXPECT_TRUE(setCursor(kCursorBusy));
  EXPECT_FALSE(setCursor(999));
  EXPECT_EQ(currentCursor(), kCursorBusy);
  EXPECT_TRUE(setCursor(kCursorDrag));

  setClipboard({{"image/png", {1, 2, 3}}, {"application/pdf", {4}}});
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(clipboardBlock("image/png", &bytes));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_FALSE(clipboardBlock("text/plain", &bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST_F(ScriptedUI, ScreensDefaultAndScripted)
{
  auto list = screens();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].bounds, (Rect{0, 0, 1024, 1280}));
  EXPECT_EQ(list[0].depth, 32);
  script::setScreens({{Rect{0, 0, 768, 1024}, 24}, {Rect{0, 1024, 600, 1824}, 32}});
  EXPECT_EQ(screens().at(1).bounds.left, 1024);
}

TEST_F(ScriptedUI, CallsFromAnotherThreadAreRefused)
{
  WindowRef w = window(Rect{0, 0, 50, 50});
  bool refusedAll = false;
  std::thread worker([&] {
    refusedAll = !onUIThread() &&
                 newWindow(WindowKind::document, Rect{0, 0, 9, 9}, "x") == nullptr &&
                 windowSurface(w).pixels == nullptr && !setCursor(kCursorBusy) &&
                 screens().empty() && windows().empty();
    flush(w, Rect{0, 0, 50, 50});
    beep();
  });
  worker.join();
  EXPECT_TRUE(refusedAll);
  EXPECT_TRUE(script::flushes().empty());
  EXPECT_EQ(script::beeps(), 0);
  EXPECT_EQ(windows().size(), 1u);
}

TEST(GtkTables, KeyCodesAndModifiers)
{
  struct Case
  {
    uint32_t keyval;
    int32_t code;
  } cases[] = {
      {GDK_KEY_a, 0},        {GDK_KEY_A, 0},           {GDK_KEY_s, 1},
      {GDK_KEY_z, 6},        {GDK_KEY_q, 12},          {GDK_KEY_1, 18},
      {GDK_KEY_0, 29},       {GDK_KEY_Return, 36},     {GDK_KEY_Tab, 48},
      {GDK_KEY_space, 49},   {GDK_KEY_period, 47},     {GDK_KEY_BackSpace, 51},
      {GDK_KEY_Escape, 53},  {GDK_KEY_Control_L, 55},  {GDK_KEY_Control_R, 55},
      {GDK_KEY_Shift_L, 56}, {GDK_KEY_Alt_L, 58},      {GDK_KEY_Super_L, 59},
      {GDK_KEY_F1, 122},     {GDK_KEY_F12, 111},       {GDK_KEY_F13, 105},
      {GDK_KEY_F14, 107},    {GDK_KEY_F15, 113},       {GDK_KEY_Left, 123},
      {GDK_KEY_Right, 124},  {GDK_KEY_Down, 125},      {GDK_KEY_Up, 126},
      {GDK_KEY_KP_0, 82},    {GDK_KEY_KP_Enter, 76},   {GDK_KEY_Delete, 117},
      {GDK_KEY_Home, 115},   {GDK_KEY_Page_Down, 121}, {GDK_KEY_dead_acute, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keyval);
    EXPECT_EQ(keyCodeOfKeyval(c.keyval), c.code);
  }
  EXPECT_EQ(modifiersOfGdkState(GDK_CONTROL_MASK), cmdKey);
  EXPECT_EQ(modifiersOfGdkState(GDK_SHIFT_MASK | GDK_MOD1_MASK), shiftKey | optionKey);
  EXPECT_EQ(modifiersOfGdkState(GDK_SUPER_MASK), controlKey);
  EXPECT_EQ(modifiersOfGdkState(GDK_LOCK_MASK), alphaLock);
}

}  // namespace
