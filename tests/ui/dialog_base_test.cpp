// The dialog base: OK/Cancel placement and window heights by mode, centring
// a set, Return and Escape in Carbon and polling mode, double clicks, the
// floating dialog's farewell command, the failure alert and spent scripts.
#include <filesystem>

#include "tests/ui/dialog_fixture.h"
#include "tests/ui/uiset_fixture.h"

namespace {

std::vector<int32_t> gCommands;

int16_t recordCommand(Edoc*, int32_t command, void*)
{
  gCommands.push_back(command);
  return 0;
}

int16_t recordAppCommand(int32_t command, void*)
{
  gCommands.push_back(command);
  return 0;
}

// Records gdbl as each click reaches Act (polling) or mouse (Carbon); the
// second click ends the loop.
struct ClickDialog : IBbasedlog
{
  using IBbasedlog::IBbasedlog;
  bool mouse(Point where) override
  {
    dbl.push_back(gdbl);
    return Act(where, &keyResult);
  }
  bool Act(Point where, int16_t* result) override
  {
    if (!carbonMode)
      dbl.push_back(gdbl);
    if (++clicks == 2)
      EndModal();
    return IBbasedlog::Act(where, result);
  }
  void Draw() override
  {
    ++draws;
    IBbasedlog::Draw();
  }
  std::vector<uint8_t> dbl;
  int clicks = 0;
  int draws = 0;
};

using DialogBaseTest = DialogTest;

TEST_F(DialogBaseTest, OKCancelBoxesAndWindowHeightByMode)
{
  struct Case
  {
    int16_t mode;
    Rect ok, cancel;
    int16_t height;
  };
  // Port (0, 0, 100, 200); layout box (10, 10, 90, 180).
  const Case cases[] = {
      {0, {}, {}, 108},
      {1, {98, 148, 130, 180}, {98, 108, 130, 140}, 148},
      {2, {98, 148, 130, 180}, {}, 148},
      {3, {62, 162, 94, 194}, {62, 122, 94, 154}, 100},
      {4, {62, 162, 94, 194}, {}, 100},
  };
  for (const Case& c : cases) {
    uiset set;
    set.CreateEmpty(2, 1, nullptr);
    set.totalBox = Rect{10, 10, 90, 180};
    const Rect out = SetDlogOKCancel(&set, Rect{0, 0, 100, 200}, c.mode);
    EXPECT_EQ(set.okRect, c.ok) << "mode " << c.mode;
    EXPECT_EQ(set.cancelRect, c.cancel) << "mode " << c.mode;
    EXPECT_EQ(out, (Rect{0, 0, c.height, 200})) << "mode " << c.mode;
    EXPECT_EQ(set.okCancelShown, c.mode);
  }
  // The alert's layout is 360 x 120: the window follows the same rule.
  const int16_t heights[] = {128, 168, 168, 120, 120};
  for (int16_t mode = 0; mode <= 4; ++mode) {
    IBbasedlog d(kAlertDialogID, mode, true);
    ASSERT_TRUE(d.HasSet());
    const kvui::Rect c = kvui::windowContent(d.window);
    EXPECT_EQ(c.bottom - c.top, heights[mode]) << "mode " << mode;
    EXPECT_EQ(c.right - c.left, 360);
    EXPECT_EQ(kvui::windowTitle(d.window), "Alert");
    EXPECT_EQ(kvui::windowKind(d.window), kvui::WindowKind::modal);
  }
}

TEST_F(DialogBaseTest, CenterUiSetKeepsSixPixelsAndPlacesTheBoxes)
{
  uiset set;
  set.CreateEmpty(2, 1, nullptr);
  uitem* item = AddItem(set, kUIText, Rect{0, 0, 50, 100});
  set.CompTotalBox();
  set.okCancelShown = 1;
  CenterUiSet(&set, Rect{0, 0, 300, 400});
  EXPECT_EQ(item->rect, (Rect{125, 150, 175, 250}));
  EXPECT_EQ(set.okRect, (Rect{260, 360, 292, 392}));
  EXPECT_EQ(set.cancelRect, (Rect{260, 320, 292, 352}));

  // A layout larger than the rectangle stops 6 pixels from its top-left.
  item->rect = Rect{0, 0, 400, 500};
  set.CompTotalBox();
  set.okCancelShown = 2;
  CenterUiSet(&set, Rect{20, 30, 320, 430});
  EXPECT_EQ(item->rect.top, 26);
  EXPECT_EQ(item->rect.left, 36);
  EXPECT_EQ(set.okRect, (Rect{280, 390, 312, 422}));
  EXPECT_EQ(set.cancelRect, Rect{});  // mode 2 has no Cancel
}

TEST_F(DialogBaseTest, ReturnAndEscapeInFrontAndBehind)
{
  gCommands.clear();
  IBbasedlog carbon(kAlertDialogID, 0, true);
  carbon.callback = recordCommand;
  carbon.ShowCenterDialog(true);
  int16_t result = -1;
  EXPECT_TRUE(carbon.key(13, &result));  // the set takes Return without a focus
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(carbon.key(27, &result));
  EXPECT_EQ(result, 2);
  EXPECT_EQ(gCommands,
            (std::vector<int32_t>{int32_t(fourcc("ok  ")), int32_t(fourcc("canc")), 27}));

  IBbasedlog polling(kAlertDialogID, 0, false);
  polling.ShowCenterDialog(true);
  EXPECT_TRUE(polling.key(13, &result));
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(polling.key(27, &result));
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(polling.key('a', &result));  // the set did not use it
  EXPECT_EQ(result, 0);

  // Behind another window: a Carbon dialog ignores keys, a polling one
  // only lets its set see them.
  SetOwner other;
  kvui::selectWindow(other.window);
  gCommands.clear();
  EXPECT_FALSE(carbon.key(13, &result));
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(gCommands.empty());
  EXPECT_FALSE(polling.key(13, &result));  // the set used it
  EXPECT_EQ(result, 0);
}

TEST_F(DialogBaseTest, DoubleClickSetsGdblBeforeActAndUpdatesDraw)
{
  for (bool carbon : {true, false}) {
    ClickDialog d(kAlertDialogID, 0, carbon);
    d.ShowCenterDialog(true);
    if (carbon)
      d.InstallHandler();
    const kvui::Point p = Global(d, 300, 10);  // on no item
    kvui::script::ticks(60);                   // well after the last click
    for (int i = 0; i < 2; ++i) {
      kvui::script::mouse(p, true);
      kvui::script::mouse(p, false);
    }
    EXPECT_TRUE(d.RunModal());
    EXPECT_EQ(d.dbl, (std::vector<uint8_t>{0, 1})) << (carbon ? "carbon" : "polling");
    EXPECT_GT(d.draws, 0) << "the update of the shown window reached the dialog";
  }
}

TEST_F(DialogBaseTest, CloseBoxAndModifiersReachTheHandler)
{
  gCommands.clear();
  IBbasedlog d(kAlertDialogID, 0, true);
  d.ShowCenterDialog(true);
  d.set->SetCallBackCmdptr(recordCommand, &d);
  d.InstallHandler();
  kvui::script::windowEvent(d.window, kvui::windowClose);
  kvui::script::modifiers(kvui::optionKey | kvui::shiftKey);
  kvui::pump();
  EXPECT_EQ(gCommands, (std::vector<int32_t>{int32_t(fourcc("clos"))}));
  EXPECT_EQ(gopt, 1);
  EXPECT_EQ(gshift, 1);
  EXPECT_EQ(gcmd, 0);
  gshift = 0;
}

TEST_F(DialogBaseTest, FloatingCarbonDialogSaysGoodbye)
{
  gCommands.clear();
  gAppInfos.commandHandler = recordAppCommand;
  {
    IBbasedlog modal(kAlertDialogID, kModalWindowClass, 0, false);
  }
  {
    IBbasedlog polling(kAlertDialogID, 0, false);
  }
  EXPECT_TRUE(gCommands.empty());
  {
    IBbasedlog floating(kAlertDialogID, kFloatingWindowClass, 0, false);
    EXPECT_EQ(kvui::windowKind(floating.window), kvui::WindowKind::floating);
  }
  EXPECT_EQ(gCommands, (std::vector<int32_t>{int32_t(fourcc("fact"))}));
}

TEST_F(DialogBaseTest, MissingLayoutReportsExceptForTheAlert)
{
  {
    IBbasedlog d(9999, 0, true);
    EXPECT_FALSE(d.HasSet());
  }
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].id, kAlertDialogID);
  EXPECT_EQ(alerts[0].index, 0);
  EXPECT_EQ(alerts[0].text, "Dialog can't be open");

  const auto empty = std::filesystem::temp_directory_path() / "kv_dialog_no_layouts";
  std::filesystem::create_directories(empty);
  gAppInfos.resourcesFolder = FileRef::fromPath(empty.string());
  {
    IBbasedlog alert(kAlertDialogID, 0, true);
    EXPECT_FALSE(alert.HasSet());
  }
  EXPECT_EQ(alerts.size(), 1u);  // the alert never reports itself
  std::filesystem::remove_all(empty);
}

TEST_F(DialogBaseTest, FullScreenDialogCoversTheScreen)
{
  IBbasedlog d(kAlertDialogID, kDocumentWindowClass, 3, true);
  ASSERT_TRUE(d.HasSet());
  EXPECT_TRUE(kvui::isFullScreen(d.window));
  EXPECT_EQ(d.portRect, (Rect{0, 0, 1024, 1280}));
  EXPECT_EQ(d.set->okRect, (Rect{986, 1242, 1018, 1274}));
}

TEST_F(DialogBaseTest, SpentScriptEndsTheLoopAsAFailure)
{
  IBbasedlog d(kAlertDialogID, 0, true);
  d.ShowCenterDialog(true);
  d.InstallHandler();
  EXPECT_FALSE(d.RunModal());
  expectedSpentLoops = 1;
}

TEST_F(DialogBaseTest, ParamStringShowsThreeDecimals)
{
  IBbasedlog d(kAlertDialogID, 0, true);
  Str255 name;
  SetPString(name, "Zoom ");
  d.DrawParamString_double(name, 2.5, 2);
  EXPECT_EQ(PString(d.set->Getuitem(2)->name), "Zoom 2.500");
  EXPECT_EQ(PString(gAppInfos.paramString), "Zoom 2.500");
}

}  // namespace
