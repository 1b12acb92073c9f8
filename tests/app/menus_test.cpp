#include <algorithm>

#include "tests/app/app_fixture.h"

namespace {

using MenusTest = AppFixture;

TEST_F(MenusTest, TheBarHoldsTheApplicationFileEditAndWindowMenus)
{
  EXPECT_EQ(kvmenu::barMenus(), (std::vector<int16_t>{kAppMenuResourceID, kFileMenuID, kEditMenuID,
                                                      kvmenu::kWindowMenuID}));
  EXPECT_FALSE(kvmenu::menuExists(kRenderMenuID));
  EXPECT_EQ(kvmenu::menuTitle(kAppMenuResourceID), "Kovrelin Browser");
  EXPECT_EQ(kvmenu::itemText(kAppMenuResourceID, 1), "About Kovrelin Browser\xE2\x80\xA6");
  EXPECT_EQ(kvmenu::itemCommand(kAppMenuResourceID, 1), fourcc("abou"));
  int16_t quit = kvmenu::itemCount(kAppMenuResourceID);
  EXPECT_EQ(kvmenu::itemText(kAppMenuResourceID, quit), "Quit");
  EXPECT_EQ(kvmenu::itemKey(kAppMenuResourceID, quit), 'Q');
  EXPECT_EQ(kvmenu::itemCommand(kAppMenuResourceID, quit), fourcc("quit"));

  struct Item
  {
    int16_t menu, item;
    const char* text;
    uint32_t command;
    char key;
  };
  const Item items[] = {
      {2, 1, "New Browser", fourcc("new "), 0},
      {2, 2, "-", 0, 0},
      {2, 3, "Open in Kovrelin\xE2\x80\xA6", fourcc("open"), 'O'},
      {2, 4, "Send to Plodex", 91, 'L'},
      {2, 6, "Browse directory", fourcc("broi"), 0},
      {3, 1, "Undo", fourcc("undo"), 'Z'},
      {3, 5, "Paste", fourcc("past"), 'V'},
      {3, 6, "Clear", fourcc("clea"), 0},
  };
  for (const Item& it : items) {
    SCOPED_TRACE(it.text);
    EXPECT_EQ(kvmenu::itemText(it.menu, it.item), it.text);
    EXPECT_EQ(kvmenu::itemCommand(it.menu, it.item), it.command);
    EXPECT_EQ(kvmenu::itemKey(it.menu, it.item), it.key);
    if (it.command == 0) {
      EXPECT_TRUE(kvmenu::isSeparator(it.menu, it.item));
      EXPECT_FALSE(kvmenu::isItemEnabled(it.menu, it.item));
    }
  }
  // The Render definitions are there though their menu is not.
  gMenu.GetMenusOpInfos(kRenderMenuID, 3);
  EXPECT_EQ(gMenu.currentCommand, int32_t(fourcc("rndr")));
  EXPECT_EQ(pascalText(gMenu.currentText), "Render Pict\xE2\x80\xA6");
  gMenu.GetMenusOpInfos(9, 1);
  EXPECT_EQ(gMenu.currentCommand, 0);
  EXPECT_EQ(gMenu.currentText[0], 0);
}

TEST_F(MenusTest, ACommandDefinedTwiceKeepsOneEntryAtItsLastPlace)
{
  int16_t before = gMenu.commandCount;
  Str255 text;
  SetPString(text, "Again");
  gMenu.AddToCmdTable(int32_t(fourcc("new ")), 4, kEditMenuID, text);
  EXPECT_EQ(gMenu.commandCount, before);
  const AppMenuCmd* entry = gMenu.GetOpcodeEntry(int32_t(fourcc("new ")));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->menu, kEditMenuID);
  EXPECT_EQ(entry->item, 4);
  EXPECT_EQ(pascalText(entry->name), "Again");
  EXPECT_EQ(gMenu.GetMenusOpcode(kEditMenuID, 4), int32_t(fourcc("new ")));
  Str255 name;
  gMenu.GetOpcodeName(int32_t(fourcc("zzzz")), name);
  EXPECT_EQ(pascalText(name), "Unfound");
}

TEST_F(MenusTest, The128thEntryBeepsThrice)
{
  Str255 text;
  SetPString(text, "x");
  while (gMenu.commandCount < kCmdTableLimit)
    gMenu.AddToCmdTable(1000 + gMenu.commandCount, 1, kFileMenuID, text);
  int32_t beeps = kvui::script::beeps();
  gMenu.AddToCmdTable(5000, 1, kFileMenuID, text);
  EXPECT_EQ(kvui::script::beeps(), beeps + 3);
  EXPECT_EQ(gMenu.commandCount, kCmdTableLimit);
  EXPECT_EQ(gMenu.GetOpcodeEntry(5000), nullptr);
}

TEST_F(MenusTest, ChecksNamesAndFlagsReachTheMenus)
{
  gMenu.UpdateMenuCheck(int32_t(fourcc("broi")), true);
  EXPECT_EQ(kvmenu::itemMark(kFileMenuID, 6), kvmenu::kCheckMark);
  gMenu.UpdateMenuCheck(int32_t(fourcc("broi")), false);
  EXPECT_EQ(kvmenu::itemMark(kFileMenuID, 6), 0);
  Str255 text;
  SetPString(text, "Browse folder");
  gMenu.UpdateMenuName(int32_t(fourcc("broi")), text);
  EXPECT_EQ(kvmenu::itemText(kFileMenuID, 6), "Browse folder");
  gMenu.UpdateMenuFlag(int32_t(fourcc("broi")), false);
  EXPECT_FALSE(kvmenu::isItemEnabled(kFileMenuID, 6));
  gMenu.RebuildMenu(kFileMenuID);
  EXPECT_EQ(kvmenu::barMenus()[1], kFileMenuID);
  EXPECT_EQ(kvmenu::itemText(kFileMenuID, 6), "Browse directory");
}

TEST_F(MenusTest, ChoicesAndCommandKeysBecomeCommands)
{
  EXPECT_TRUE(kvmenu::chooseItem(kFileMenuID, 1));  // New Browser
  ASSERT_NE(gCurDoc, nullptr);
  kvui::WindowRef window = static_cast<TWindow*>(gCurDoc)->window;
  EXPECT_EQ(kvmenu::itemCount(kvmenu::kWindowMenuID), 1);
  EXPECT_EQ(kvmenu::itemText(kvmenu::kWindowMenuID, 1), "Kovrelin Browser");
  EXPECT_FALSE(kvmenu::chooseItem(kFileMenuID, 2));  // a separator
  EXPECT_FALSE(kvmenu::pressCommandKey('Z'));        // Undo is disabled
  EXPECT_TRUE(kvmenu::pressCommandKey('q'));
  EXPECT_EQ(gCurDoc, nullptr);
  EXPECT_EQ(gDocRegistry[0], nullptr);
  EXPECT_TRUE(std::find(kvui::windows().begin(), kvui::windows().end(), window) ==
              kvui::windows().end());
}

}  // namespace
