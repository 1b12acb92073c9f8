#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "foundation/appshell.h"
#include "foundation/modifierkeys.h"
#include "imaging/qzbitmaps.h"
#include "platform/ui.h"
#include "ui/registry.h"
#include "ui/twindow.h"
#include "ui/uilib.h"

namespace {

std::vector<std::pair<int32_t, bool>> gCommands;  // command, data was null
std::vector<int16_t> gAnswers;                    // answers of the callback, in turn

int16_t recordCommand(Edoc*, int32_t command, void* data)
{
  gCommands.emplace_back(command, data == nullptr);
  if (gAnswers.empty())
    return 0;
  int16_t a = gAnswers.front();
  gAnswers.erase(gAnswers.begin());
  return a;
}

struct TestWindow : TWindow
{
  explicit TestWindow(Rect r, int32_t windowClass = kDocumentWindowClass)
      : TWindow(windowClass, 0, &r, 0, false)
  {
    callback = recordCommand;
    OpenContext();
    Show();
  }
  void CallbackDraw() override { ++draws; }
  int32_t Act(Point where) override
  {
    acts.push_back(where);
    dblAtAct.push_back(gdbl);
    if (trackInAct) {
      Point p;
      while (true) {
        bool held = PortButtonCallBack(&p);
        tracked.emplace_back(held, p);
        if (!held)
          break;
      }
    }
    return 0;
  }
  void ResizeUI(Rect r) override { resized.push_back(r); }

  int draws = 0;
  bool trackInAct = false;
  std::vector<Point> acts;
  std::vector<uint8_t> dblAtAct;
  std::vector<std::pair<bool, Point>> tracked;
  std::vector<Rect> resized;
};

// The pixel (x, y) of the window's surface as red, green, blue.
std::vector<int> pixel(kvui::WindowRef w, int x, int y)
{
  kvui::Surface s = kvui::windowSurface(w);
  const uint8_t* p = s.pixels + y * s.rowBytes + x * 4;
  return {p[2], p[1], p[0]};
}

void fillBlack(TestWindow& w)
{
  QZ_ContextSetRGBFillColor(w.context, 0, 0, 0, 1);
  QZ_ContextFillRect(w.context, QZ_RectFromRect(w.portRect));
}

struct WindowTest : testing::Test
{
  void SetUp() override
  {
    kvui::startScripted();
    initAppGlobals(nullptr, 0, fourcc("Qjpr"));
    gCommands.clear();
    gAnswers.clear();
  }
  void TearDown() override
  {
    SetGWorld(nullptr, nullptr);
    kvui::stop();
  }
};

TEST_F(WindowTest, TitlesRegistryAndCurrentDocument)
{
  TestWindow a(Rect{100, 100, 300, 400});
  TestWindow b(Rect{100, 500, 300, 800});
  EXPECT_EQ(kvui::windowTitle(a.window), "Untitled 1");
  EXPECT_EQ(kvui::windowTitle(b.window), "Untitled 2");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.title + 1), b.title[0]), "Untitled 2");
  EXPECT_EQ(gDocRegistry[0], &a);
  EXPECT_EQ(gDocRegistry[1], &b);
  EXPECT_EQ(gCurDoc, &b);
  EXPECT_EQ(a.portRect, (Rect{0, 0, 200, 300}));
  EXPECT_EQ(a.minWidth, 300);

  kvui::script::mouse({150, 150}, true);
  kvui::script::mouse({150, 150}, false);
  kvui::pump();
  EXPECT_EQ(gCurDoc, &a);  // a click makes it current

  TestWindow floating(Rect{50, 50, 90, 90}, kFloatingWindowClass);
  EXPECT_EQ(kvui::windowKind(floating.window), kvui::WindowKind::floating);
  EXPECT_EQ(gDocRegistry[2], nullptr);  // not a document
  EXPECT_EQ(gCurDoc, &a);
  EXPECT_EQ(kvui::windowTitle(floating.window), "");
}

TEST_F(WindowTest, KeysModifiersAndClicks)
{
  TestWindow w(Rect{100, 100, 300, 400});
  kvui::pump();
  auto key = [&](int16_t what, int16_t code, uint32_t ch) {
    kvui::Event e;
    e.what = what;
    e.keyCode = code;
    e.character = ch;
    e.window = w.window;
    return w.HandleEvent(e);
  };
  for (int16_t code : {kvui::kKeyF12, kvui::kKeyF13, kvui::kKeyF14, kvui::kKeyF15})
    EXPECT_EQ(key(kvui::keyDown, code, 0x10), 0);
  EXPECT_EQ(key(kvui::autoKey, kvui::kKeySpace, ' '), kvui::kEventNotHandled);
  EXPECT_EQ(key(kvui::keyDown, kvui::kKeySpace, ' '), 0);
  EXPECT_EQ(key(kvui::autoKey, 0, 'a'), 0);  // other repeats go on
  EXPECT_EQ(key(kvui::keyUp, 0, 'a'), kvui::kEventNotHandled);
  std::vector<std::pair<int32_t, bool>> expected = {{111, true}, {105, true}, {107, true},
                                                    {113, true}, {' ', true}, {'a', true}};
  EXPECT_EQ(gCommands, expected);

  // Modifiers through the layer, then a double click sets gdbl before Act.
  kvui::script::modifiers(kvui::cmdKey | kvui::optionKey);
  kvui::pump();
  EXPECT_EQ(gcmd, 1);
  EXPECT_EQ(gopt, 1);
  EXPECT_EQ(gshift, 0);
  EXPECT_EQ(gctrl, 0);
  kvui::script::modifiers(kvui::shiftKey | kvui::controlKey);
  kvui::pump();
  EXPECT_EQ(gcmd, 0);
  EXPECT_EQ(gshift, 1);
  EXPECT_EQ(gctrl, 1);
  for (int i = 0; i < 2; ++i) {
    kvui::script::mouse({120, 130}, true);
    kvui::script::mouse({120, 130}, false);
  }
  kvui::pump();
  ASSERT_EQ(w.acts.size(), 2u);
  EXPECT_EQ(w.acts[0], (Point{20, 30}));
  EXPECT_EQ(w.dblAtAct, (std::vector<uint8_t>{0, 1}));
}

TEST_F(WindowTest, PortButtonCallBackTracksDrawsAndFlushes)
{
  TestWindow w(Rect{100, 100, 300, 400});
  w.trackInAct = true;
  kvui::pump();
  kvui::script::clearRecords();
  w.draws = 0;
  kvui::script::mouse({105, 110}, true);  // (10, 5) in the window
  kvui::script::mouse({106, 112}, true);
  kvui::script::mouse({109, 120}, true);
  kvui::script::mouse({109, 121}, false);
  kvui::pump();
  std::vector<std::pair<bool, Point>> expected = {
      {true, {6, 12}}, {true, {9, 20}}, {false, {9, 21}}};
  EXPECT_EQ(w.tracked, expected);
  EXPECT_EQ(w.draws, 3);
  EXPECT_EQ(kvui::script::flushes().size(), 3u);
}

TEST_F(WindowTest, StatusTextSelectionAndFade)
{
  TestWindow w(Rect{100, 100, 200, 300});
  fillBlack(w);
  Str255 text = {2, 'O', 'K'};
  kvui::script::clearRecords();
  w.TextDisplay(text, normalcolor{255, 0, 0, 200}, normalcolor{255, 255, 255, 255});
  EXPECT_EQ(kvui::script::flushes().size(), 1u);
  EXPECT_EQ(pixel(w.window, 2, 74), (std::vector<int>{0, 0, 200}));
  EXPECT_EQ(pixel(w.window, 197, 99), (std::vector<int>{0, 0, 200}));
  EXPECT_EQ(pixel(w.window, 1, 80), (std::vector<int>{0, 0, 0}));    // left of the band
  EXPECT_EQ(pixel(w.window, 198, 80), (std::vector<int>{0, 0, 0}));  // right of it
  EXPECT_EQ(pixel(w.window, 100, 73), (std::vector<int>{0, 0, 0}));  // above it
  int textPixels = 0;
  for (int x = 2; x < 198; ++x)
    for (int y = 74; y < 100; ++y)
      textPixels += pixel(w.window, x, y)[0] > 128;
  EXPECT_GT(textPixels, 20);

  fillBlack(w);
  w.DrawSelectionRect(Rect{10, 10, 50, 90});
  QZ_ContextFlush(w.context);
  EXPECT_EQ(pixel(w.window, 11, 10), (std::vector<int>{0, 255, 191}));
  EXPECT_EQ(pixel(w.window, 15, 10), (std::vector<int>{0, 0, 0}));  // the dash's gap
  EXPECT_EQ(pixel(w.window, 19, 10), (std::vector<int>{0, 255, 191}));

  fillBlack(w);
  kvui::script::clearRecords();
  w.FadeUI(255);
  EXPECT_EQ(kvui::script::flushes().size(), 6u);
  EXPECT_NEAR(pixel(w.window, 50, 50)[1], 191, 2);
}

TEST_F(WindowTest, RubberBands)
{
  TestWindow w(Rect{100, 100, 200, 300});
  fillBlack(w);
  QZ_ContextFlush(w.context);
  kvui::Surface s = kvui::windowSurface(w.window);
  std::vector<uint8_t> before(s.pixels, s.pixels + s.rowBytes * s.height);

  Rect r;
  kvui::script::mouse({110, 110}, true);
  kvui::pump();
  kvui::script::mouse({120, 125}, true);
  kvui::script::mouse({130, 140}, true);
  kvui::script::mouse({130, 140}, false);
  EXPECT_TRUE(w.CreateWindowRect(&r, Point{10, 10}, nullptr));
  EXPECT_EQ(r, (Rect{10, 10, 30, 40}));
  EXPECT_EQ(std::vector<uint8_t>(s.pixels, s.pixels + s.rowBytes * s.height), before);

  kvui::script::mouse({110, 110}, true);
  kvui::script::mouse({111, 112}, true);
  kvui::script::mouse({111, 112}, false);
  kvui::pump();
  EXPECT_FALSE(w.CreateWindowRect(&r, Point{10, 10}, nullptr));

  kvui::script::mouse({130, 140}, true);
  kvui::script::mouse({110, 110}, true);
  kvui::script::mouse({110, 110}, false);
  kvui::pump();
  Rect clip{0, 0, 50, 50};
  EXPECT_TRUE(w.CreateWindowLine(&r, Point{30, 40}, &clip));
  EXPECT_EQ(r, (Rect{10, 10, 30, 40}));  // the end with the smaller h first
  EXPECT_EQ(std::vector<uint8_t>(s.pixels, s.pixels + s.rowBytes * s.height), before);
}

TEST_F(WindowTest, ResizeSnapsToTheMinimumAndReopensTheContext)
{
  TestWindow w(Rect{100, 100, 300, 400});
  kvui::pump();
  CGContextRef before = w.context;
  kvui::script::resize(w.window, 500, 100);
  kvui::pump();
  EXPECT_EQ(w.portRect, (Rect{0, 0, 200, 500}));  // height raised to 200
  ASSERT_FALSE(w.resized.empty());
  EXPECT_EQ(w.resized.back(), (Rect{0, 0, 200, 500}));
  EXPECT_NE(w.context, nullptr);
  (void)before;
  // The context draws on the new pixels.
  QZ_ContextSetRGBFillColor(w.context, 1, 1, 1, 1);
  QZ_ContextFillRect(w.context, QZRect{450, 150, 10, 10});
  QZ_ContextFlush(w.context);
  EXPECT_EQ(pixel(w.window, 455, 155), (std::vector<int>{255, 255, 255}));
}

TEST_F(WindowTest, FullScreenModeCoversTheScreenAndEnds)
{
  TestWindow w(Rect{100, 100, 300, 400});
  w.BeginFullScreen();
  EXPECT_EQ(w.fullScreenState, 2);
  EXPECT_TRUE(kvui::isFullScreen(w.window));
  EXPECT_EQ(w.portRect, (Rect{0, 0, 1024, 1280}));
  EXPECT_EQ(w.resized.back(), (Rect{0, 0, 1024, 1280}));
  ASSERT_NE(w.context, nullptr);
  QZ_ContextFillRect(w.context, QZRect{1270, 1000, 5, 5});  // the new pixels
  w.EndFullScreen();
  EXPECT_FALSE(kvui::isFullScreen(w.window));
  EXPECT_EQ(kvui::windowContent(w.window), (kvui::Rect{100, 100, 300, 400}));
  EXPECT_EQ(w.portRect, (Rect{0, 0, 200, 300}));
  auto* other = new TestWindow(Rect{100, 100, 300, 400});
  other->BeginFullScreen();
  delete other;  // ends the mode with the window
  EXPECT_EQ(kvui::windows().size(), 1u);
}

TEST_F(WindowTest, CloseAndOptionCloseAll)
{
  auto* a = new TestWindow(Rect{100, 100, 200, 200});
  auto* b = new TestWindow(Rect{100, 300, 200, 400});
  auto* c = new TestWindow(Rect{100, 500, 200, 600});
  gAnswers = {0, 9};
  kvui::script::windowEvent(a->window, kvui::windowClose, 0, kvui::optionKey);
  kvui::pump();
  EXPECT_EQ(gCommands.size(), 2u);  // c is not asked after b refused
  EXPECT_EQ(gDocRegistry[0], nullptr);
  EXPECT_EQ(gDocRegistry[1], b);
  EXPECT_EQ(gDocRegistry[2], c);

  gAnswers = {0};
  EXPECT_EQ(c->Close(), 0);
  EXPECT_EQ(gDocRegistry[2], nullptr);
  b->callback = nullptr;
  EXPECT_EQ(b->Close(), kEdocNotHandled);

  static int quits = 0;
  gAppInfos.commandHandler = [](int32_t command, void*) -> int16_t {
    quits += command == int32_t(fourcc("quit"));
    return 0;
  };
  kvui::Event e;
  e.what = kvui::commandEvt;
  e.message = fourcc("quit");
  EXPECT_EQ(a->HandleEvent(e), 0);
  EXPECT_EQ(quits, 1);
  e.message = fourcc("swin");
  EXPECT_EQ(a->HandleEvent(e), kvui::kEventNotHandled);
  delete a;
  delete b;
  delete c;
  EXPECT_EQ(gCurDoc, nullptr);  // a deleted document is not left current
  EXPECT_TRUE(kvui::windows().empty());
}

TEST_F(WindowTest, ACallbackMayDeleteTheWindowItCloses)
{
  auto* w = new TestWindow(Rect{100, 100, 200, 200});
  w->callback = [](Edoc* doc, int32_t command, void*) -> int16_t {
    if (command == int32_t(fourcc("clos")))
      delete doc;
    return 0;
  };
  kvui::script::windowEvent(w->window, kvui::windowClose);
  kvui::pump();
  EXPECT_TRUE(kvui::windows().empty());
  EXPECT_EQ(gDocRegistry[0], nullptr);
  EXPECT_EQ(gCurDoc, nullptr);
}

TEST_F(WindowTest, AWindowThatCannotBeMadeAlerts)
{
  static std::string alerted;
  AlertDialogProc old = SetAlertDialogProc([](int16_t id, int16_t, ConstStringPtr text) -> int16_t {
    alerted =
        std::to_string(id) + " " + std::string(reinterpret_cast<const char*>(text + 1), text[0]);
    return 1;
  });
  kvui::stop();
  Rect r{0, 0, 10, 10};
  TWindow w(kDocumentWindowClass, 0, &r, 0, false);
  EXPECT_EQ(w.window, nullptr);
  EXPECT_EQ(alerted, "1059 Can't create Window");
  SetAlertDialogProc(old);
}

}  // namespace
