#include "tests/app/app_fixture.h"

namespace {

std::vector<int32_t> gHandled;

int16_t recordHandler(int32_t command, void*)
{
  gHandled.push_back(command);
  return 0;
}

using ServicesTest = AppFixture;

TEST_F(ServicesTest, ReportTextShowsTheNumberQuoted)
{
  Str255 text;
  SetPString(text, "x");
  reportText(text, -43);
  ASSERT_EQ(gAlertTexts.size(), 1u);
  EXPECT_EQ(gAlertTexts[0], "x=\"-43\"");
  // A long text is cut at 255 bytes.
  std::string longText(250, 'a');
  SetPString(text, longText.c_str());
  reportText(text, 123456);
  EXPECT_EQ(gAlertTexts[1], longText + "=\"123");
}

TEST_F(ServicesTest, EscapeKeepsTheAbortUntilCleared)
{
  gAppInfos.aborted = 0;
  EXPECT_FALSE(App_ProcessAborted(false));
  kvui::script::key(kvui::kKeyEscape, 27, true);
  kvui::pump();
  EXPECT_TRUE(App_ProcessAborted(false));
  kvui::script::key(kvui::kKeyEscape, 27, false);
  kvui::pump();
  EXPECT_TRUE(App_ProcessAborted(false));
  gAppInfos.aborted = 0;
  EXPECT_FALSE(App_ProcessAborted(false));
  // The top of the screen aborts only when asked to watch it.
  kvui::script::mouse(kvui::Point{10, 300}, false);
  kvui::pump();
  EXPECT_FALSE(App_ProcessAborted(false));
  EXPECT_TRUE(App_ProcessAborted(true));
  gAppInfos.aborted = 0;
}

TEST_F(ServicesTest, ParameterStrings)
{
  gAppInfos.commandHandler = recordHandler;
  gHandled.clear();
  Str255 name;
  SetPString(name, "a");
  gAppInfos.paramStringFlag = 1;
  ShowParamString_percent(name, 12.5, true);
  EXPECT_EQ(pascalText(gAppInfos.paramString), "a 12.50%");
  EXPECT_EQ(gAppInfos.paramStringFlag, 0);
  EXPECT_EQ(gHandled, std::vector<int32_t>{504});

  SetPString(name, "f");
  const uint32_t unit = 'H' | ('z' << 8) | (' ' << 16) | (uint32_t('!') << 24);
  ShowParamString_variable(name, 2.0, false, unit);
  EXPECT_EQ(pascalText(gAppInfos.paramString), "f 2.00Hz ");
  ShowParamString_variable(name, -0.5, false, 0);
  EXPECT_EQ(pascalText(gAppInfos.paramString), "f -0.50");
  SetParamString_percent(name, 7);
  EXPECT_EQ(pascalText(gAppInfos.paramString), "f 7%");
  EXPECT_EQ(gHandled.size(), 1u);
}

TEST_F(ServicesTest, TheNameDialogAnswersOkAndCancel)
{
  // The dialog is centred across and a third down the 1280 x 1024 screen.
  const kvui::Point ok{272 + 172, 426 + 365}, cancel{272 + 172, 426 + 265};
  struct Case
  {
    const char* name;
    kvui::Point button;  // {-1, -1}: nothing clicked, the script runs out
    bool answer;
    const char* after;
  };
  const Case cases[] = {
      {"ok", ok, true, "x"},  // the name starts wholly selected: typing replaces it
      {"cancel", cancel, false, "tree"},
      {"no answer", {-1, -1}, false, "tree"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Str255 name;
    SetPString(name, "tree");
    kvui::script::key(7, 'x', true);
    kvui::script::key(7, 'x', false);
    if (c.button.v >= 0) {
      kvui::script::mouse(c.button, false);
      kvui::script::mouse(c.button, true);
      kvui::script::mouse(c.button, false);
    }
    EXPECT_EQ(App_GetObjetName(name, 2), c.answer);
    EXPECT_EQ(pascalText(name), c.after);
    EXPECT_TRUE(kvui::windows().empty());
  }
}

TEST_F(ServicesTest, RedrawLoopAndOSTaskWithNothingWaiting)
{
  App_RedrawLoop(-1);
  App_RedrawLoop(2);
  EXPECT_EQ(App_OSTask(), 0);
}

}  // namespace
