// Pop-up menus: the label, the native menu's masks, the picture grid with
// its cancel rule and the user grid's messages, on a scripted window; the
// borderless pop-up window's placement.
#include <algorithm>
#include <bit>
#include <utility>
#include <vector>

#include "../platform/tempfolder.h"
#include "imaging/windowport.h"
#include "platform/resources.h"
#include "tests/ui/uiset_fixture.h"
#include "ui/uinumbers.h"
#include "ui/uipopupwindow.h"

namespace {

constexpr int16_t kChoices = 300;

TEST(PopUpRules, CancelRule)
{
  struct Case
  {
    Point release;
    bool cancelled;
  };
  // A window of 45 x 45.
  const std::vector<Case> cases = {
      {{10, 10}, false}, {{-1, 10}, true},  {{10, -1}, true}, {{45, 10}, true},
      {{10, 45}, false}, {{60, 60}, false}, {{-5, 60}, true}, {{44, 44}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UI_PopUpCancelled(c.release, 45, 45), c.cancelled)
        << "v " << c.release.v << " h " << c.release.h;
}

TEST(PopUpRules, LabelJoinsNameAndEntry)
{
  Str255 name, entry;
  Str63 label;
  SetPText(entry, "one");
  SetPText(name, "Size");
  UI_PopUpLabel(name, entry, label);
  EXPECT_EQ(PText(label), "Size : one");
  SetPText(name, "A");
  UI_PopUpLabel(name, entry, label);
  EXPECT_EQ(PText(label), "Aone");
  SetPText(name, std::string(40, 'n'));
  SetPText(entry, std::string(40, 'e'));
  UI_PopUpLabel(name, entry, label);
  EXPECT_EQ(PText(label), std::string(40, 'n') + " : " + std::string(20, 'e'));
}

struct PopUpTest : ScriptedSetTest
{
  void SetUp() override
  {
    kvres::Store s;
    s.put({kResStringList, kChoices, "", kvres::makeStringList({"3", "one", "two", "three"})});
    ASSERT_TRUE(kvres::writeStoreFile(tmp.ref("app.rsrc").path(), s, nullptr));
    ASSERT_TRUE(kvres::openApplicationStore(tmp.ref("app.rsrc").path()));
    ScriptedSetTest::SetUp();
    owner = new SetOwner;
    set.CreateEmpty(16, 500, owner);
    SetGWorld(owner->port, nullptr);
    content = kvui::windowContent(owner->window);
    messages.clear();
  }
  void TearDown() override
  {
    set.Killuiset();
    delete owner;
    ScriptedSetTest::TearDown();
    kvres::closeAllStores();
  }
  kvui::Point global(int h, int v) const { return kvui::Point{content.top + v, content.left + h}; }
  void press(int h, int v)
  {
    kvui::script::mouse(global(h, v), true);
    kvui::pump();
  }
  void moveTo(int h, int v, bool down = true) { kvui::script::mouse(global(h, v), down); }
  uitem_popmenu* AddPopUp(int8_t variant, int16_t entries, int8_t columns)
  {
    auto* item = static_cast<uitem_popmenu*>(AddItem(set, kUIPopMenu, Rect{20, 20, 40, 40}));
    item->variant = variant;
    item->columns = columns;
    item->resID = kChoices;
    item->number.entries = entries;
    item->SetDataPointer(&selection);
    return item;
  }
  // Clicks the item at (30, 30) and plays the moves, the last one the
  // release.
  void ClickThrough(uitem* item, std::vector<std::pair<int, int>> moves)
  {
    press(30, 30);
    for (size_t i = 0; i < moves.size(); ++i)
      moveTo(moves[i].first, moves[i].second, i + 1 < moves.size());
    set.hit = 0;
    item->Act(&set, Point{30, 30});
  }

  static int32_t Record(Edoc*, uitem_popmenu*, Rect*, int16_t index, int16_t message, void* param)
  {
    messages.push_back({message, index});
    if (message == kPopUpGridSize)
      static_cast<uiPopUpSize*>(param)->grid.v += 20;
    return 0;
  }
  static inline std::vector<std::pair<int16_t, int16_t>> messages;

  TempFolder tmp;
  SetOwner* owner = nullptr;
  uiset set;
  kvui::Rect content;
  int16_t selection = 0;
};

TEST_F(PopUpTest, NativeMenuChecksTheSelectionAndDisablesByTheBitsOfMax)
{
  uitem_popmenu* item = AddPopUp(0, 3, 0);
  item->number.max = std::bit_cast<float>(uint32_t(4));  // entry 2 disabled
  selection = 1;
  kvui::script::menuChoice(3);
  item->Act(&set, Point{30, 30});
  EXPECT_EQ(selection, 2);
  EXPECT_EQ(set.lastChosen, 2);
  const std::vector<kvui::MenuEntry>& menu = kvui::script::lastMenu();
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(menu[0].text, "one");
  EXPECT_TRUE(menu[1].checked);
  EXPECT_FALSE(menu[0].checked);
  EXPECT_FALSE(menu[2].enabled);
  EXPECT_TRUE(menu[1].enabled);
  // No choice: cancelled, nothing to report.
  kvui::script::menuChoice(0);
  set.hit = 0;
  item->Act(&set, Point{30, 30});
  EXPECT_EQ(selection, 2);
  EXPECT_EQ(set.hit, -1);
  EXPECT_EQ(item->editing, 0);
}

TEST_F(PopUpTest, PictureGridChoosesTheHoveredCellOrCancels)
{
  // Cells of 21 x 21 in 2 columns; the window opens at (38, 20), 2 lower:
  // its content starts at (38, 22) of the owner and is 45 x 45.
  uitem_popmenu* item = AddPopUp(2, 4, 3);
  ClickThrough(item, {{71, 55}, {71, 55}});  // cell 3's centre
  EXPECT_EQ(selection, 3);
  EXPECT_EQ(set.lastChosen, 3);
  EXPECT_EQ(kvui::windows().size(), 1u);  // the pop-up is gone

  struct Case
  {
    std::pair<int, int> release;
    int16_t expected;
  };
  const std::vector<Case> cases = {
      {{48, 17}, -1},  // above the window
      {{48, 72}, -1},  // below it, within its span
      {{33, 30}, -1},  // left of it
      {{98, 80}, 1},   // right of it and below: the hovered cell stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.release.first << "," << c.release.second);
    selection = 3;
    ClickThrough(item, {{71, 34}, c.release});  // hovers cell 1 first
    EXPECT_EQ(selection, c.expected < 0 ? 3 : c.expected);
    EXPECT_EQ(set.hit, c.expected < 0 ? -1 : 0);
  }
}

TEST_F(PopUpTest, UserGridSendsItsMessagesInOrderAndFillsByColumnsOnce)
{
  uitem_popmenu* item = AddPopUp(4, 4, -3);
  item->number.word2 = reinterpret_cast<uiWord>(&Record);
  // Cells 20 x 20 in 2 columns, filled down the columns: cell 2 is the
  // top of the second column. The window's content starts at (38, 40).
  ClickThrough(item, {{70, 52}, {70, 52}});
  EXPECT_EQ(selection, 2);
  EXPECT_EQ(item->columns, 3);
  const std::vector<std::pair<int16_t, int16_t>> expected = {
      {kPopUpDrawItem, 0},     {kPopUpOpen, 0},     {kPopUpCellRect, 0},     {kPopUpGridSize, 0},
      {kPopUpDrawSelected, 0}, {kPopUpDrawCell, 1}, {kPopUpDrawCell, 2},     {kPopUpDrawCell, 3},
      {kPopUpDrawExtra, -1},   {kPopUpDrawCell, 0}, {kPopUpDrawSelected, 2}, {kPopUpDrawExtra, 2},
      {kPopUpRelease, 2},
  };
  EXPECT_EQ(messages, expected);

  // The extra area (20 rows below the grid) answers 4095.
  messages.clear();
  ClickThrough(item, {{48, 92}, {48, 92}});
  EXPECT_EQ(selection, kPopUpExtraChoice);
  EXPECT_NE(std::find(messages.begin(), messages.end(),
                      std::pair<int16_t, int16_t>{kPopUpMouseInExtra, -1}),
            messages.end());
}

TEST_F(PopUpTest, UserGridScrollsOverTheFullCountWhenTheProcedureShowsFewer)
{
  uitem_popmenu* item = AddPopUp(4, 6, 3);
  item->number.word2 = reinterpret_cast<uiWord>(
      +[](Edoc*, uitem_popmenu* popUp, Rect*, int16_t index, int16_t message, void*) -> int32_t {
        messages.push_back({message, index});
        if (message == kPopUpOpen)
          popUp->number.entries = 2;  // two cells shown of six
        return 0;
      });
  // One row of two 20 x 20 cells from (2, 16) of a window at (38, 40): a
  // move below the grid scrolls forward one row, then cell 1 is item 3.
  ClickThrough(item, {{48, 80}, {70, 66}, {70, 66}});
  EXPECT_EQ(selection, 3);
  EXPECT_EQ(item->number.entries, 6);
  EXPECT_NE(std::find(messages.begin(), messages.end(),
                      std::pair<int16_t, int16_t>{kPopUpScrollFrame, 0}),
            messages.end());
  // Cells drawn again with their shifted indices after the scroll.
  EXPECT_NE(
      std::find(messages.begin(), messages.end(), std::pair<int16_t, int16_t>{kPopUpDrawCell, 2}),
      messages.end());
}

TEST_F(PopUpTest, DirectPopUpStoresThroughTheRecord)
{
  e_uiallinfos record;
  defaultuitem(&record, kUIPopMenu, 0, 0, 20, 20);
  record.resID = kChoices;
  record.word1 = reinterpret_cast<uiWord>(&selection);
  selection = 0;
  kvui::script::menuChoice(2);
  EXPECT_EQ(DirectPopUp(&set, &record, 0, 0, Rect{20, 20, 40, 40}, Point{30, 30}), 1);
  EXPECT_EQ(selection, 1);
  kvui::script::menuChoice(0);
  EXPECT_EQ(DirectPopUp(&set, &record, 0, 0, Rect{20, 20, 40, 40}, Point{30, 30}), 0);
  EXPECT_EQ(selection, 1);
}

TEST_F(PopUpTest, PopUpWindowStaysOnTheScreenThatHoldsThePoint)
{
  IBPopUpdlog popUp(kPopUpWindowClass, normalcolor{255, 0, 0, 0});
  ASSERT_NE(popUp.window, nullptr);
  Point where{100, 200};
  popUp.SetWindowShow(&where, 50, 40, true);
  EXPECT_EQ(kvui::windowContent(popUp.window), (kvui::Rect{102, 200, 142, 250}));
  // Near the bottom-right corner of the 1280 x 1024 screen: moved back in.
  where = Point{1010, 1270};
  popUp.SetWindowShow(&where, 50, 40, true);
  EXPECT_EQ(kvui::windowContent(popUp.window), (kvui::Rect{984, 1230, 1024, 1280}));
  // The outline is grey 17 on the black background.
  const kvui::Surface s = kvui::script::shownPixels(popUp.window);
  ASSERT_NE(s.pixels, nullptr);
  EXPECT_EQ(s.pixels[2], 17);                            // the corner: red byte
  EXPECT_EQ(s.pixels[10 * s.rowBytes + 10 * 4 + 2], 0);  // inside
  // A click in the content only beeps.
  popUp.InstallTDHandler();
  static int alerts = 0;
  alerts = 0;
  AlertSoundProc previous = SetAlertSoundProc([](bool) { ++alerts; });
  kvui::script::mouse(kvui::Point{1000, 1250}, true);
  kvui::script::mouse(kvui::Point{1000, 1250}, false);
  kvui::pump();
  kvui::pump();
  SetAlertSoundProc(previous);
  EXPECT_EQ(alerts, 1);
}

TEST_F(PopUpTest, TempWindowPlacements)
{
  Rect r{0, 0, 100, 300};
  IBPopUpdlog* centred = OpenTempWindow(6, &r, 0, false);
  ASSERT_NE(centred, nullptr);
  EXPECT_EQ(kvui::windowContent(centred->window), (kvui::Rect{462, 490, 562, 790}));
  EXPECT_EQ(r, (Rect{0, 0, 100, 300}));
  delete centred;
  IBPopUpdlog* lower = OpenTempWindow(6, &r, 2, false);
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(kvui::windowContent(lower->window), (kvui::Rect{36, 0, 1024, 1280}));
  EXPECT_EQ(r, (Rect{0, 0, 988, 1280}));
  delete lower;
}

}  // namespace
