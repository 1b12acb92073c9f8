// Clicks, keys, hovering and the dialog buttons through an item set owned
// by a scripted window.
#include <set>

#include "imaging/qzbitmaps.h"
#include "tests/ui/uiset_fixture.h"

namespace {

struct DispatchTest : ScriptedSetTest
{
  void SetUp() override
  {
    ScriptedSetTest::SetUp();
    owner = new SetOwner;
    set.CreateEmpty(16, 500, owner);
  }
  void TearDown() override
  {
    set.Killuiset();
    delete owner;
    ScriptedSetTest::TearDown();
  }
  SetOwner* owner = nullptr;
  uiset set;
};

TEST_F(DispatchTest, ClicksSearchLastToFirstAndNeverHitBoxesOrTexts)
{
  AddItem(set, kUIBox, Rect{0, 0, 200, 200});
  AddItem(set, kUIText, Rect{0, 0, 200, 200});
  AddItem(set, kUITextButton, Rect{10, 10, 50, 50});
  AddItem(set, kUINumber, Rect{30, 30, 70, 70});

  set.Act(Point{40, 40});  // both buttons: the later one wins
  EXPECT_EQ(set.hit, 3);
  EXPECT_EQ(set.focused, 3);
  set.Act(Point{20, 20});
  EXPECT_EQ(set.hit, 2);
  EXPECT_EQ(set.focused, 3);  // a text button takes no focus
  set.Act(Point{150, 150});   // only the box and the text
  EXPECT_EQ(set.hit, -1);

  set.Getuitem(3)->visibility = kUIDisabled;
  set.Act(Point{60, 60});
  EXPECT_EQ(set.hit, -1);
  set.Getuitem(2)->visibility = kUIHidden;
  set.Act(Point{20, 20});
  EXPECT_EQ(set.hit, -1);

  // GetHit: a real item first; else the lowest box or text; else -1.
  set.Getuitem(3)->visibility = kUIShown;
  uitem* found = nullptr;
  EXPECT_EQ(set.GetHit(Point{60, 60}, &found), 3);
  EXPECT_EQ(found, set.Getuitem(3));
  found = nullptr;
  EXPECT_EQ(set.GetHit(Point{150, 150}, &found), 0);
  EXPECT_EQ(found, nullptr);
  EXPECT_EQ(set.GetHit(Point{250, 250}, &found), -1);
  // Bounds are half open.
  EXPECT_EQ(set.GetHit(Point{70, 69}, &found), 0);
}

TEST_F(DispatchTest, LayersTakePartByTheStateWords)
{
  const uint8_t layers[] = {0, 1, 2, 3, 255, 7};
  for (int i = 0; i < 6; ++i)
    AddItem(set, kUITextButton, Rect{int16_t(10 * i), 0, int16_t(10 * i + 10), 50}, layers[i]);
  set.layersOn = 1;
  const std::set<int> shown[4] = {{0, 1, 255}, {0, 2, 255}, {0, 3, 255}, {255}};
  for (uint8_t state = 0; state < 4; ++state) {
    set.state = state;
    for (int i = 0; i < 6; ++i) {
      SCOPED_TRACE(testing::Message() << "state " << int(state) << " layer " << int(layers[i]));
      const bool expected = shown[state].count(layers[i]) > 0;
      EXPECT_EQ(set.isinlayer(layers[i]), expected);
      set.Act(Point{int16_t(10 * i + 5), 5});
      EXPECT_EQ(set.hit, expected ? i : -1);
    }
  }
  set.layersOn = 0;
  EXPECT_TRUE(set.isinlayer(7));

  // Switching state recomputes the box from the items that take part.
  set.layersOn = 1;
  set.state = 0;
  set.SwitchState(9);
  EXPECT_EQ(set.state, 3);
  EXPECT_EQ(set.totalBox, (Rect{40, 0, 50, 50}));
}

TEST_F(DispatchTest, TabSkipsHiddenAndDisabledItemsAndCycles)
{
  AddItem(set, kUIEditText, Rect{0, 0, 10, 10})->visibility = kUIHidden;
  AddItem(set, kUINumber, Rect{10, 0, 20, 10})->visibility = kUIDisabled;
  AddItem(set, kUIEditText, Rect{20, 0, 30, 10});
  AddItem(set, kUIText, Rect{30, 0, 40, 10});
  AddItem(set, kUINumber, Rect{40, 0, 50, 10}, 1);
  AddItem(set, kUINumber, Rect{50, 0, 60, 10});
  set.layersOn = 1;
  set.state = 1;  // layer 1 is not shown

  set.typedCount = 3;
  EXPECT_TRUE(set.Key(9));
  EXPECT_EQ(set.focused, 2);
  EXPECT_EQ(set.typedCount, 0);
  EXPECT_EQ(set.Getuitem(2)->editing, 1);
  EXPECT_TRUE(set.Key(9));
  EXPECT_EQ(set.focused, 5);
  EXPECT_EQ(set.Getuitem(2)->editing, 0);  // deselected
  uitem* next = nullptr;
  EXPECT_EQ(set.GetNextNumberItem(&next), 2);
  EXPECT_EQ(next, set.Getuitem(2));
  EXPECT_TRUE(set.Key(9));
  EXPECT_EQ(set.focused, 2);
}

TEST_F(DispatchTest, TabWithoutFocusStartsAtTheFirstItem)
{
  AddItem(set, kUINumber, Rect{0, 0, 10, 10});
  AddItem(set, kUIEditText, Rect{10, 0, 20, 10});
  EXPECT_TRUE(set.Key(9));
  EXPECT_EQ(set.focused, 0);
}

TEST_F(DispatchTest, TabAndTheNextNumberItemInASetWithoutItems)
{
  EXPECT_FALSE(set.Key(9));
  EXPECT_EQ(set.GetNextNumberItem(nullptr), -1);
  uiset ownerless;
  EXPECT_FALSE(ownerless.Key(9));
  EXPECT_EQ(ownerless.GetNextNumberItem(nullptr), -1);
  ownerless.Act(Point{1, 1});
  EXPECT_EQ(ownerless.hit, -1);
}

TEST_F(DispatchTest, EnterKeepsTheFocusReturnClearsIt)
{
  AddItem(set, kUIEditText, Rect{0, 0, 10, 10});
  AddItem(set, kUINumber, Rect{10, 0, 20, 10});
  EXPECT_TRUE(set.Key(13));  // nothing focused: taken
  set.Act(Point{15, 5});
  ASSERT_EQ(set.focused, 1);

  set.typedCount = 2;
  EXPECT_TRUE(set.Key(3));
  EXPECT_EQ(set.focused, 1);
  EXPECT_EQ(set.Getuitem(1)->editing, 1);
  EXPECT_EQ(set.typedCount, 0);
  EXPECT_EQ(owner->refreshes, 0);

  EXPECT_TRUE(set.Key(13));
  EXPECT_EQ(set.focused, -1);
  EXPECT_EQ(set.Getuitem(1)->editing, 0);
  EXPECT_EQ(owner->refreshes, 1);

  // Other keys go to the focused item: the edit text takes them.
  set.Act(Point{5, 5});
  EXPECT_TRUE(set.Key('7'));
  EXPECT_EQ(set.Getuitem(0)->editing, 1);
}

TEST_F(DispatchTest, UnselectallLeavesItemZero)
{
  for (int i = 0; i < 3; ++i)
    AddItem(set, i == 1 ? kUINumber : kUIEditText,
            Rect{int16_t(10 * i), 0, int16_t(10 * i + 10), 10})
        ->editing = 1;
  set.focused = 2;
  set.Unselectall();
  EXPECT_EQ(set.Getuitem(0)->editing, 1);
  EXPECT_EQ(set.Getuitem(1)->editing, 0);
  EXPECT_EQ(set.Getuitem(2)->editing, 0);
  EXPECT_EQ(set.focused, -1);
}

bool gNameAsked = false;
bool renameTo(StringPtr name, int16_t prompt)
{
  gNameAsked = prompt == 0 && PText(name) == "edit text";
  SetPText(name, "renamed");
  return true;
}

TEST_F(DispatchTest, OptionClickOnAnEditTextAsksForTheName)
{
  AddItem(set, kUIEditText, Rect{0, 0, 10, 10})->SetDefaults();
  SetObjectNameProc(renameTo);
  gopt = 1;
  set.Act(Point{5, 5});
  SetObjectNameProc(nullptr);
  EXPECT_TRUE(gNameAsked);
  EXPECT_EQ(PText(set.Getuitem(0)->name), "renamed");
  EXPECT_EQ(set.focused, 0);

  // Without an installed dialog the name stays.
  gopt = 1;
  set.focused = -1;
  set.Act(Point{5, 5});
  EXPECT_EQ(PText(set.Getuitem(0)->name), "renamed");
}

TEST_F(DispatchTest, PreHiliteFollowsTheMouseOverButtons)
{
  AddItem(set, kUITextButton, Rect{0, 0, 20, 20});
  AddItem(set, kUIPictButton, Rect{0, 30, 20, 50})->altStyle = 1;  // no hover look
  AddItem(set, kUICGradation, Rect{0, 60, 20, 80});
  AddItem(set, kUINumber, Rect{0, 90, 20, 110});

  set.PreHilite(Point{5, 5});
  EXPECT_EQ(set.hovered, 0);
  EXPECT_EQ(set.found, 0);
  set.Getuitem(0)->editing = 2;  // as a button's hover look sets it
  set.PreHilite(Point{6, 6});    // the same item: nothing
  EXPECT_EQ(set.Getuitem(0)->editing, 2);

  set.PreHilite(Point{5, 65});
  EXPECT_EQ(set.hovered, 2);
  EXPECT_EQ(set.Getuitem(0)->editing, 0);

  set.Getuitem(2)->editing = 2;
  set.PreHilite(Point{5, 35});  // altStyle 1 does not qualify
  EXPECT_EQ(set.found, 1);
  EXPECT_EQ(set.hovered, -1);
  EXPECT_EQ(set.Getuitem(2)->editing, 0);

  set.PreHilite(Point{5, 95});  // a number does not qualify
  EXPECT_EQ(set.hovered, -1);
  set.PreHilite(Point{100, 200});
  EXPECT_EQ(set.found, -1);
}

TEST_F(DispatchTest, StandardButtonsTrackTheMouse)
{
  set.okRect = Rect{100, 100, 132, 132};
  set.cancelRect = Rect{100, 140, 132, 172};
  SetGWorld(owner->port, nullptr);
  const kvui::Rect content = kvui::windowContent(owner->window);
  auto global = [&](int h, int v) { return kvui::Point{content.top + v, content.left + h}; };
  int16_t which = -1;
  // The press is played first: the button is down when tracking starts.
  auto press = [&](int h, int v) {
    kvui::script::mouse(global(h, v), true);
    kvui::pump();
  };

  // Press in OK, drag out, release: not pressed.
  press(110, 110);
  kvui::script::mouse(global(300, 250), true);
  kvui::script::mouse(global(300, 250), false);
  EXPECT_FALSE(set.ActokCancel(Point{110, 110}, &which));
  EXPECT_EQ(which, 2);

  // Press in OK, drag out and back, release inside.
  press(110, 110);
  kvui::script::mouse(global(300, 250), true);
  kvui::script::mouse(global(120, 120), true);
  kvui::script::mouse(global(120, 120), false);
  EXPECT_TRUE(set.ActokCancel(Point{110, 110}, &which));
  EXPECT_EQ(which, 1);

  press(150, 110);
  kvui::script::mouse(global(150, 110), false);
  EXPECT_TRUE(set.ActokCancel(Point{110, 150}, &which));
  EXPECT_EQ(which, 2);

  EXPECT_FALSE(set.ActokCancel(Point{10, 10}, &which));
  EXPECT_EQ(which, 0);
}

}  // namespace
