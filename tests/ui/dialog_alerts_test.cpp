// The alert, warning, splash, save-ask and progress dialogs answered with
// scripted presses, keys and ticks.
#include "tests/ui/dialog_fixture.h"
#include "ui/dialogalerts.h"
#include "ui/dialogprogress.h"

namespace {

Str255* Text(const char* s)
{
  static Str255 text;
  SetPString(text, s);
  return &text;
}

using AlertTest = DialogTest;

TEST_F(AlertTest, InstalledAlertOpensForEveryCallerAndReturnDoesNotCloseIt)
{
  InstallAlertDialogs();
  Key(13);                     // Return: the alert takes commands only from its items
  kvui::script::pressItem(3);  // OK
  EXPECT_EQ(do_AlertUser_dlog(kAlertDialogID, 0, *Text("Hello")), 1);
  EXPECT_EQ(kvui::script::pending(), 0u);  // the press was still needed
  EXPECT_TRUE(kvui::windows().empty());

  // reportText goes through the same alert.
  kvui::script::pressItem(3);
  reportText(*Text("Static Mem block too small"), -43);
  EXPECT_EQ(kvui::script::pending(), 0u);
}

TEST_F(AlertTest, MessageItemByIndex)
{
  AlertUser_dlog alert(kAlertDialogID);
  ASSERT_TRUE(alert.HasSet());
  const uitem* message = alert.set->Getuitem(2);
  EXPECT_EQ(message->kind, kUIText);

  alert.SetMessage(*Text("Exactly this text"));
  EXPECT_EQ(message->variant, 0);
  EXPECT_EQ(PString(message->name), "Exactly this text");

  alert.SetupUI(4);
  EXPECT_EQ(message->variant, 1);
  EXPECT_EQ(message->resID, 128);
  EXPECT_EQ(message->index, 4);
  Str255 expected;
  GetIndString(expected, 128, 4);
  EXPECT_GT(expected[0], 0);

  // A text longer than a name holds is shown whole from the parameter
  // string, filled again at each drawing.
  const std::string longText(200, 'x');
  Str255 text;
  SetPString(text, longText.c_str());
  alert.SetMessage(text);
  EXPECT_EQ(message->variant, 2);
  gAppInfos.paramString[0] = 0;
  alert.Draw();
  EXPECT_EQ(PString(gAppInfos.paramString), longText);
}

TEST_F(AlertTest, NegativeIndexLeavesTheLayoutsItem)
{
  InstallAlertDialogs();
  kvui::script::pressItem(3);
  EXPECT_EQ(do_AlertUser_dlog(kAlertDialogID, -1, *Text("ignored")), 1);

  AlertUser_dlog alert(kAlertDialogID);
  EXPECT_EQ(alert.set->Getuitem(2)->variant, 0);
  EXPECT_EQ(PString(alert.set->Getuitem(2)->name), "");
}

TEST_F(AlertTest, AlertThatCannotBeMadeAnswersZeroWithoutRecursion)
{
  EXPECT_EQ(RunAlertUser_dlog(9999, 0, *Text("x")), 0);
  ASSERT_EQ(alerts.size(), 1u);  // the recording alert got "Dialog can't be open"
  EXPECT_EQ(alerts[0].text, "Dialog can't be open");
  gAppInfos.resourcesFolder = FileRef::fromPath("/nonexistent-kv-resources");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunAlertUser_dlog(kAlertDialogID, 0, *Text("lost message")), 0);
  EXPECT_EQ(RunAlertUser_dlog(kAlertDialogID, 5, nullptr), 0);
  // Without its dialog the message still reaches standard error.
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "lost message\nalert 1059 5\n");
  EXPECT_EQ(alerts.size(), 1u);
}

TEST_F(AlertTest, WarningWithAndWithoutCancel)
{
  kvui::script::pressItem(3);
  EXPECT_FALSE(do_warning_dlog(kWarningDialogID, 1, true));
  kvui::script::pressItem(4);
  EXPECT_TRUE(do_warning_dlog(kWarningDialogID, 1, true));

  // Without cancel item 3 is hidden: its press does nothing, OK answers.
  kvui::script::pressItem(3);
  kvui::script::pressItem(4);
  EXPECT_TRUE(do_warning_dlog(kWarningDialogID, 8, false));
  EXPECT_EQ(kvui::script::pending(), 0u);

  IB_warning_dlog warning(kWarningDialogID);
  warning.withCancel = 0;
  kvui::script::pressItem(4);
  EXPECT_TRUE(warning.Run(8));
  EXPECT_EQ(warning.set->Getuitem(3)->visibility, kUIHidden);
  EXPECT_EQ(warning.set->Getuitem(2)->resID, 129);
  EXPECT_EQ(warning.set->Getuitem(2)->index, 8);
}

TEST_F(AlertTest, SplashEndsOnItemTwoOrAfterItsTicks)
{
  Str255 empty = {0};
  kvui::script::pressItem(2);
  EXPECT_FALSE(do_SplatchScreen_dlog(kAboutDialogID, empty, kAboutTicks));

  kvui::script::ticks(kAboutTicks + 1);  // ten seconds without input
  EXPECT_FALSE(do_SplatchScreen_dlog(kAboutDialogID, empty, kAboutTicks));

  // Return does not end it (the key result it leaves is the answer).
  Key(13);
  kvui::script::ticks(kAboutTicks + 1);
  EXPECT_TRUE(do_SplatchScreen_dlog(kAboutDialogID, *Text("About"), kAboutTicks));
  EXPECT_EQ(kvui::script::pending(), 0u);
}

TEST_F(AlertTest, SplashStillOpenBeforeItsTicksFailsTheLoop)
{
  Str255 empty = {0};
  kvui::script::ticks(kAboutTicks - 10);
  EXPECT_FALSE(do_SplatchScreen_dlog(kAboutDialogID, empty, kAboutTicks));
  expectedSpentLoops = 1;
}

TEST_F(AlertTest, SaveAskAnswers)
{
  const std::pair<int32_t, int16_t> cases[] = {{3, 2}, {4, 0}, {5, 1}};
  for (auto [item, answer] : cases) {
    kvui::script::pressItem(item);
    EXPECT_EQ(do_saveask_dlog(kSaveAskDialogID, *Text("Save \"Tree\"?")), answer) << item;
  }
  IB_saveask_dlog dialog(kSaveAskDialogID);
  for (int32_t command : {int32_t(fourcc("ok  ")), 17, int32_t(fourcc("abcd"))}) {
    do_saveask_Command(&dialog, command, nullptr);
    EXPECT_EQ(dialog.answer, 1);
  }
  do_saveask_Command(&dialog, int32_t(fourcc("clos")), nullptr);
  EXPECT_EQ(dialog.answer, 2);  // closing the window cancels
  EXPECT_EQ(do_saveask_dlog(9999, nullptr), 0);
}

std::vector<int16_t> gMessages;

int32_t progressProc(uitem*, void* data, int16_t message, void*)
{
  EXPECT_NE(data, nullptr);
  gMessages.push_back(message);
  return 0;
}

TEST_F(AlertTest, ProgressCallsItsProcedureAndEndsOnTheBoxes)
{
  gMessages.clear();
  IB_cproc_dlog dialog(progressProc, uintptr_t(0x123456789), 7, true);
  ASSERT_TRUE(dialog.HasSet());
  EXPECT_EQ(dialog.data, uintptr_t(0x123456789));
  kvui::script::pressItem(3);  // message 22
  Click(dialog, dialog.set->okRect);
  EXPECT_TRUE(dialog.Run(nullptr));
  EXPECT_EQ(std::count(gMessages.begin(), gMessages.end(), kProgressMessage3), 1);
  EXPECT_GT(std::count(gMessages.begin(), gMessages.end(), int16_t(1)), 0);  // it drew

  IB_cproc_dlog cancelled(progressProc, 0, 0, false);
  Click(cancelled, cancelled.set->cancelRect);
  EXPECT_FALSE(cancelled.Run(nullptr));
  EXPECT_EQ(cancelled.keyResult, 2);
  for (int16_t n = 1; n <= 3; ++n)  // without buttons
    EXPECT_EQ(cancelled.set->Getuitem(n)->visibility, kUIHidden);
}

}  // namespace
