// Texts, edit texts, text and picture buttons, check boxes and radio lists
// on a scripted window: typing, pressing, releasing and dragging.
#include <vector>

#include "tests/ui/uiset_fixture.h"
#include "ui/uidrawhelpers.h"

namespace {

struct ItemTest : ScriptedSetTest
{
  void SetUp() override
  {
    ScriptedSetTest::SetUp();
    owner = new SetOwner;
    set.CreateEmpty(16, 500, owner);
    SetGWorld(owner->port, nullptr);
    content = kvui::windowContent(owner->window);
    commands.clear();
    set.SetCallBackCmdptr(&RecordCommand, nullptr);
  }
  void TearDown() override
  {
    set.Killuiset();
    delete owner;
    ScriptedSetTest::TearDown();
  }
  kvui::Point global(int h, int v) const { return kvui::Point{content.top + v, content.left + h}; }
  // The press is played first: the button is down when tracking starts.
  void press(int h, int v)
  {
    kvui::script::mouse(global(h, v), true);
    kvui::pump();
  }
  void moveTo(int h, int v, bool down = true) { kvui::script::mouse(global(h, v), down); }

  // Each command with whether the button was still down when it came.
  struct Command
  {
    int32_t opcode;
    bool buttonDown;
  };
  static int16_t RecordCommand(Edoc*, int32_t opcode, void*)
  {
    commands.push_back(Command{opcode, kvui::isButtonDown()});
    return 0;
  }
  static inline std::vector<Command> commands;

  SetOwner* owner = nullptr;
  uiset set;
  kvui::Rect content;
};

TEST_F(ItemTest, EditTextKeepsThirtyCharactersAndOverwritesTheLast)
{
  uitem* item = AddItem(set, kUIEditText, Rect{10, 10, 30, 200});
  SetPText(item->name, "old");
  const std::string typed = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";  // 40
  for (char c : typed)
    EXPECT_EQ(item->Key(&set, int8_t(c)), 1);
  EXPECT_EQ(PText(item->name), typed.substr(0, 30) + "D");
  EXPECT_EQ(item->Key(&set, int8_t('!')), 0);  // not an accepted character
  EXPECT_EQ(item->Key(&set, int8_t('%')), 1);
}

TEST_F(ItemTest, EditTextFirstBackspaceRemovesTheLastExistingCharacter)
{
  uitem* item = AddItem(set, kUIEditText, Rect{10, 10, 30, 200});
  SetPText(item->name, "name");
  item->Act(&set, Point{20, 20});  // a click restarts the typing
  EXPECT_EQ(set.typedCount, 0);
  item->Key(&set, 8);
  EXPECT_EQ(PText(item->name), "nam");
  item->Key(&set, 'e');
  EXPECT_EQ(PText(item->name), "name");
  SetPText(item->name, "");
  set.typedCount = 0;
  item->Key(&set, 8);
  EXPECT_EQ(PText(item->name), "");
}

TEST_F(ItemTest, TextButtonCallsBackOnThePress)
{
  uitem* item = AddItem(set, kUITextButton, Rect{10, 10, 30, 90});
  item->SetOpcode(77, nullptr);
  press(20, 20);
  moveTo(20, 20, false);
  item->Act(&set, Point{20, 20});
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].opcode, 77);
  EXPECT_TRUE(commands[0].buttonDown);
  EXPECT_FALSE(kvui::isButtonDown());  // it waited for the release
  EXPECT_EQ(item->editing, 0);
  EXPECT_EQ(item->needsRedraw, 1);

  set.SetCallBackCmdptr(nullptr, nullptr);  // without a callback it still waits
  press(20, 20);
  moveTo(20, 20, false);
  item->Act(&set, Point{20, 20});
  EXPECT_FALSE(kvui::isButtonDown());
}

TEST_F(ItemTest, PictureButtonReleasedInsideStaysHovered)
{
  uitem* item = AddItem(set, kUIPictButton, Rect{10, 10, 42, 42});
  item->SetOpcode(-1, nullptr);
  press(20, 20);
  moveTo(20, 20, false);
  item->Act(&set, Point{20, 20});
  EXPECT_TRUE(commands.empty());  // inert
  kvui::pump();

  item->SetOpcode(51, nullptr);
  struct Case
  {
    int h, v;
    uint8_t editing;
  };
  for (Case c : {Case{30, 30, 2}, Case{200, 200, 0}}) {
    press(20, 20);
    moveTo(c.h, c.v);
    moveTo(c.h, c.v, false);
    item->Act(&set, Point{20, 20});
    EXPECT_EQ(item->editing, c.editing) << c.h;
  }
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].opcode, 51);
}

TEST_F(ItemTest, CheckBoxVariants)
{
  uitem* item = AddItem(set, kUICheckbox, Rect{10, 10, 26, 110});
  int16_t value = 0;
  item->SetDataPointer(&value);
  item->variant = 1;
  item->SetEntries(0);
  std::vector<int16_t> seen;
  for (int i = 0; i < 3; ++i) {
    item->Act(&set, Point{15, 15});
    seen.push_back(value);
  }
  EXPECT_EQ(seen, (std::vector<int16_t>{1, 0, 1}));

  item->variant = 0;
  item->Act(&set, Point{15, 15});
  EXPECT_EQ(value, 0);

  item->variant = 4;  // a horizontal pick of 4 entries over 100 pixels
  item->SetEntries(4);
  struct Pick
  {
    int16_t h, value;
  };
  for (Pick p : {Pick{10, 0}, Pick{59, 1}, Pick{60, 2}, Pick{109, 3}, Pick{300, 3}, Pick{0, 0}}) {
    item->Act(&set, Point{15, p.h});
    EXPECT_EQ(value, p.value) << p.h;
  }
  item->SetDataPointer(nullptr);  // nothing to change
  item->Act(&set, Point{15, 15});
}

TEST_F(ItemTest, RadioDragStoresTheLastCellOnly)
{
  uitem* item = AddItem(set, kUIRadioButtons, Rect{10, 10, 90, 110});
  int16_t value = 0;
  item->SetDataPointer(&value);
  item->SetEntries(4);  // one column of four 20-pixel cells inside a 1-pixel inset
  press(50, 15);
  moveTo(50, 35);
  moveTo(50, 75);
  moveTo(50, 55);
  moveTo(50, 55, false);
  item->Act(&set, Point{15, 50});
  EXPECT_EQ(value, 2);
  EXPECT_EQ(set.lastChosen, 2);

  item->SetEntries(1);  // behaves as two entries
  EXPECT_EQ(item->GetNinf()->entries, 2);
  press(50, 70);
  moveTo(50, 70, false);
  item->Act(&set, Point{70, 50});
  EXPECT_EQ(value, 1);
}

TEST_F(ItemTest, TextColours)
{
  uitem* item = AddItem(set, kUITextButton, Rect{0, 0, 10, 10});
  item->color1 = normalcolor{255, 10, 20, 30};
  set.colors[kUIBackground] = normalcolor{255, 110, 120, 130};
  EXPECT_EQ(GetTextColor(&set, item).red, 10);
  item->editing = 1;
  EXPECT_EQ(GetTextColor(&set, item).red, 255);
  item->editing = 0;
  item->visibility = kUIDisabled;
  EXPECT_EQ(GetTextColor(&set, item).green, 70);
  EXPECT_EQ(GetTextColor(nullptr, item).green, 20);
}

}  // namespace
