#include "app/maindoc.h"
#include "sound/rtaudio.h"
#include "tests/app/app_fixture.h"

namespace {

std::vector<int32_t> gSeen;  // commands that reached a spy callback

int16_t spyCommand(Edoc*, int32_t command, void*)
{
  gSeen.push_back(command);
  return 0;
}

// A document that refuses to close.
int16_t refuseClose(Edoc*, int32_t command, void*)
{
  gSeen.push_back(command);
  return command == int32_t(fourcc("clos")) ? 1 : 0;
}

// The four-character code of a text of four characters; 0 for "".
uint32_t code4(const char* code)
{
  uint32_t v = 0;
  for (int i = 0; i < 4 && code[i]; ++i)
    v = (v << 8) | uint8_t(code[i]);
  return v;
}

int32_t command(const char* code)
{
  return int32_t(code4(code));
}

int32_t menuEvent(uint32_t kind, const char* code, int16_t menu = 0)
{
  return AppEventHandler(AppEvent{fourcc("cmds"), kind, code4(code), kCommandFromMenu, menu});
}

IB_MainDoc* browser()
{
  return static_cast<IB_MainDoc*>(gCurDoc);
}

int registered()
{
  int n = 0;
  for (Edoc* d : gDocRegistry)
    n += d != nullptr;
  return n;
}

using DispatchTest = AppFixture;

TEST_F(DispatchTest, SwinBeepsAndNeverReachesTheDispatcher)
{
  DoGeneralCommand(command("new "), nullptr);
  ASSERT_NE(browser(), nullptr);
  browser()->callback = spyCommand;
  gSeen.clear();
  int32_t before = kvui::script::beeps();
  EXPECT_EQ(menuEvent(1, "swin"), kvui::kEventNotHandled);
  EXPECT_EQ(kvui::script::beeps(), before + 1);
  EXPECT_TRUE(gSeen.empty());
  // A handled command answers "not handled" too, so the standard handlers see it.
  EXPECT_EQ(menuEvent(1, "undo"), kvui::kEventNotHandled);
  EXPECT_EQ(gSeen, std::vector<int32_t>{command("undo")});
}

TEST_F(DispatchTest, NewBrowsersAnd501)
{
  EXPECT_EQ(DoGeneralCommand(501, nullptr), 0);
  ASSERT_NE(browser(), nullptr);
  EXPECT_TRUE(browser()->IsVisible());
  EXPECT_EQ(kvui::windowTitle(browser()->window), kBrowserTitle);
  EXPECT_TRUE(kvmenu::hasMenuBar(browser()->window));
  IB_MainDoc* first = browser();
  EXPECT_EQ(DoGeneralCommand(501, nullptr), 0);
  EXPECT_EQ(browser(), first);
  EXPECT_EQ(registered(), 1);
  // 'new ' with data builds a second browser without showing it.
  int data = 0;
  EXPECT_EQ(DoGeneralCommand(command("new "), &data), 0);
  EXPECT_NE(browser(), first);
  EXPECT_FALSE(browser()->IsVisible());
  EXPECT_EQ(registered(), 2);
}

TEST_F(DispatchTest, BeforeAnyBrowserOnlyTheApplicationsCommandsAct)
{
  for (const char* code : {"open", "clos", "wsiz", "broi", "rndS", "past", "ofsr"}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(DoGeneralCommand(command(code), nullptr), 0);
  }
  EXPECT_EQ(DoGeneralCommand(504, nullptr), 0);
  EXPECT_EQ(DoGeneralCommand(91, nullptr), 0);
  EXPECT_EQ(gCurDoc, nullptr);
  EXPECT_EQ(registered(), 0);
  EXPECT_TRUE(gAlertTexts.empty());
}

TEST_F(DispatchTest, StopEndsThePlayAndClearsTheStopRequest)
{
  gRTEffect.running = 1;
  gRTEffect.stop = 1;
  EXPECT_EQ(DoGeneralCommand(command("StoP"), nullptr), 0);  // acts before any browser too
  EXPECT_EQ(gRTEffect.running.load(), 0);
  EXPECT_EQ(gRTEffect.stop.load(), 0);
}

TEST_F(DispatchTest, TheBrowserAnswersItsCommands)
{
  DoGeneralCommand(command("new "), nullptr);
  for (const char* code : {"undo", "cut ", "copy", "past", "clea", "pref", "rndr", "rndM", "dall",
                           "dupl", "redo", "sall", "swin"}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(DoGeneralCommand(command(code), nullptr), 0);
  }
  EXPECT_EQ(DoGeneralCommand(command("ofsr"), nullptr), kvui::kEventNotHandled);
  EXPECT_EQ(DoGeneralCommand(502, nullptr), kvui::kEventNotHandled);
  kvui::setWindowTitle(browser()->window, "elsewhere");
  EXPECT_EQ(DoGeneralCommand(command("wsiz"), nullptr), 0);
  EXPECT_EQ(kvui::windowTitle(browser()->window), "Kovrelin Browser");
}

TEST_F(DispatchTest, ClosingKeepsThePlaceAndTheFolderInThePreferences)
{
  TempFolder shown;
  DoGeneralCommand(command("new "), nullptr);
  browser()->ShowFolder(shown.root());
  kvui::moveWindow(browser()->window, 70, 90);
  EXPECT_EQ(DoGeneralCommand(command("clos"), nullptr), 0);
  EXPECT_EQ(gCurDoc, nullptr);
  EXPECT_EQ(registered(), 0);
  EXPECT_EQ(gPrefs.lastFolder, shown.root());
  EXPECT_EQ(gPrefs.windowBounds.top, 90);
  EXPECT_EQ(gPrefs.windowBounds.left, 70);
  EXPECT_EQ(gPrefs.windowBounds.right - gPrefs.windowBounds.left, 640);
}

TEST_F(DispatchTest, ARefusedCloseStopsQuit)
{
  DoGeneralCommand(command("new "), nullptr);
  kvui::WindowRef window = browser()->window;
  Rect r{300, 300, 400, 400};
  auto* stubborn = new TWindow(kDocumentWindowClass, 0, &r, 0, false);
  stubborn->callback = refuseClose;
  // Registered after the browser: move it first so that it is asked first.
  std::swap(gDocRegistry[0], gDocRegistry[1]);
  gSeen.clear();
  kvui::script::windowEvent(window, kvui::commandEvt, fourcc("quit"));
  EXPECT_FALSE(kvui::runApplicationLoop());  // the script ran out: no quit
  EXPECT_EQ(gSeen, std::vector<int32_t>{command("clos")});
  EXPECT_EQ(registered(), 2);  // the browser was not asked

  stubborn->callback = spyCommand;
  kvui::script::windowEvent(window, kvui::commandEvt, fourcc("quit"));
  EXPECT_TRUE(kvui::runApplicationLoop());
  EXPECT_EQ(registered(), 0);
  delete stubborn;
}

TEST_F(DispatchTest, TheBrowserShowsTheParameterStringAtItsBottom)
{
  DoGeneralCommand(command("new "), nullptr);
  kvui::WindowRef w = browser()->window;
  kvui::pump();  // the window draws its items
  kvui::script::clearRecords();
  Str255 name;
  SetPString(name, "a");
  ShowParamString_percent(name, 12.5, true);
  EXPECT_EQ(pascalText(gAppInfos.paramString), "a 12.50%");
  ASSERT_FALSE(kvui::script::flushes().empty());
  kvui::Surface s = kvui::windowSurface(w);
  // The band is the background darkened by half; the text is white.
  const uint8_t* above = s.pixels + (s.height - 40) * s.rowBytes + 4 * 600;
  const uint8_t* band = s.pixels + (s.height - 4) * s.rowBytes + 4 * 600;
  EXPECT_GT(above[2], 30);
  EXPECT_NEAR(band[2], above[2] / 2, 2);
  int white = 0;
  for (int y = s.height - 32; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x)
      white += s.pixels[y * s.rowBytes + 4 * x + 2] > 200;
  EXPECT_GT(white, 20);
}

TEST_F(DispatchTest, ClosingTheLastBrowserEndsTheProgram)
{
  DoGeneralCommand(command("new "), nullptr);
  DoGeneralCommand(command("new "), nullptr);
  kvui::WindowRef first = static_cast<TWindow*>(gDocRegistry[0])->window;
  kvui::WindowRef second = static_cast<TWindow*>(gDocRegistry[1])->window;
  kvui::script::windowEvent(first, kvui::windowClose);
  EXPECT_FALSE(kvui::runApplicationLoop());  // one browser left: still running
  EXPECT_EQ(registered(), 1);
  kvui::script::windowEvent(second, kvui::windowClose);
  EXPECT_TRUE(kvui::runApplicationLoop());
  EXPECT_EQ(registered(), 0);
}

TEST_F(DispatchTest, AdjustMenuFollowsTheBrowser)
{
  int16_t open = 0, send = 0, menu = 0;
  ASSERT_TRUE(kvmenu::findCommand(fourcc("open"), &menu, &open));
  ASSERT_TRUE(kvmenu::findCommand(91, &menu, &send));
  EXPECT_EQ(menu, kFileMenuID);
  menuEvent(2, "", kFileMenuID);
  EXPECT_FALSE(kvmenu::isItemEnabled(kFileMenuID, open));
  EXPECT_FALSE(kvmenu::isItemEnabled(kFileMenuID, send));
  DoGeneralCommand(command("new "), nullptr);
  menuEvent(2, "", kFileMenuID);
  EXPECT_TRUE(kvmenu::isItemEnabled(kFileMenuID, open));
  EXPECT_TRUE(kvmenu::isItemEnabled(kFileMenuID, send));
  // Not from a menu: no adjustment.
  DoGeneralCommand(command("clos"), nullptr);
  AppEventHandler(AppEvent{fourcc("cmds"), 2, 0, 0, kFileMenuID});
  EXPECT_TRUE(kvmenu::isItemEnabled(kFileMenuID, open));

  menuEvent(2, "", kEditMenuID);
  for (int16_t item = 1; item <= kvmenu::itemCount(kEditMenuID); ++item) {
    SCOPED_TRACE(item);
    bool paste = kvmenu::itemCommand(kEditMenuID, item) == fourcc("past");
    EXPECT_EQ(kvmenu::isItemEnabled(kEditMenuID, item), paste);
  }
}

TEST_F(DispatchTest, ActivationFollowsTheFocusOfOurWindows)
{
  DoGeneralCommand(command("new "), nullptr);
  kvui::WindowRef first = browser()->window;
  int data = 0;
  DoGeneralCommand(command("new "), &data);  // now in front
  kvui::selectWindow(first);                 // the focus moves between our windows: active
  kvui::pump();
  EXPECT_TRUE(kvui::isApplicationActive());
  EXPECT_EQ(gAppInfos.applicationActive, 1);
  AppEventHandler(AppEvent{fourcc("appl"), 2, 0, 0, 0});
  EXPECT_EQ(gAppInfos.applicationActive, 0);
  AppEventHandler(AppEvent{fourcc("appl"), 1, 0, 0, 0});
  EXPECT_EQ(gAppInfos.applicationActive, 1);
}

}  // namespace
