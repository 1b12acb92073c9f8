// Resizing and moving an item set's items, its setters and what they
// invalidate, and building a set in code.
#include <filesystem>
#include <unistd.h>

#include "foundation/mempool.h"
#include "platform/resources.h"
#include "tests/ui/uiset_fixture.h"

namespace {

struct SetGeometryTest : ScriptedSetTest
{
  void SetUp() override
  {
    ScriptedSetTest::SetUp();
    owner = new SetOwner;
    set.CreateEmpty(16, 501, owner);
  }
  void TearDown() override
  {
    set.Killuiset();
    delete owner;
    ScriptedSetTest::TearDown();
  }
  // The update area since the last call (empty when nothing is invalid).
  Rect invalidated()
  {
    kvui::Rect r;
    Rect out{};
    if (kvui::updateRect(owner->window, &r))
      out = Rect{int16_t(r.top), int16_t(r.left), int16_t(r.bottom), int16_t(r.right)};
    kvui::validate(owner->window, nullptr);
    return out;
  }
  SetOwner* owner = nullptr;
  uiset set;
};

int gProcCalls = 0;
void stopWideningFromFive(uiset*, int16_t index, int16_t* dh, int16_t*)
{
  ++gProcCalls;
  if (index == 5)
    *dh = 0;
}

TEST_F(SetGeometryTest, AnchorsMoveItemsByTheGrowth)
{
  // Item i has anchor i; item 0 (anchor 0) stays where it is.
  for (int i = 0; i <= 9; ++i) {
    uitem* item = AddItem(set, kUITextButton, Rect{int16_t(20 * i), 10, int16_t(20 * i + 10), 30});
    item->anchor = uint8_t(i);
  }
  set.layoutRect = Rect{0, 0, 300, 200};
  gProcCalls = 0;
  set.ResizeUI(Rect{0, 0, 330, 250}, 1, nullptr);  // dh 50, dv 30
  const Rect expected[10] = {
      {0, 10, 10, 30},     // 0 unchanged
      {20, 60, 30, 80},    // 1 across
      {70, 10, 80, 30},    // 2 down
      {90, 60, 100, 80},   // 3 both
      {80, 10, 90, 80},    // 4 right edge
      {100, 10, 140, 30},  // 5 bottom edge
      {120, 10, 160, 80},  // 6 both edges
      {120, 10, 160, 80},  // 7 previous top and bottom, right edge
      {162, 10, 200, 80},  // 8 below the previous, bottom edge
      {210, 10, 220, 80},  // 9 down, right edge
  };
  for (int i = 0; i <= 9; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(set.Getuitem(int16_t(i))->rect, expected[i]);
    EXPECT_EQ(set.Getuitem(int16_t(i))->needsRedraw, 1);
  }
  EXPECT_EQ(set.layoutRect, (Rect{0, 0, 330, 250}));
  EXPECT_EQ(set.totalBox, (Rect{0, 10, 220, 80}));

  // The procedure runs before each item from index 1 and changes the growth
  // for the rest.
  set.layoutRect = Rect{0, 0, 300, 200};
  for (int i = 0; i <= 9; ++i)
    set.Getuitem(int16_t(i))->rect = Rect{int16_t(20 * i), 10, int16_t(20 * i + 10), 30};
  set.ResizeUI(Rect{0, 0, 330, 250}, 1, stopWideningFromFive);
  EXPECT_EQ(gProcCalls, 9);
  EXPECT_EQ(set.Getuitem(4)->rect, (Rect{80, 10, 90, 80}));
  EXPECT_EQ(set.Getuitem(9)->rect, (Rect{210, 10, 220, 30}));
}

TEST_F(SetGeometryTest, AnchoringStartsFromTheLayoutTopLeft)
{
  AddItem(set, kUITextButton, Rect{110, 60, 120, 80})->anchor = 0;
  set.layoutRect = Rect{100, 50, 200, 150};
  set.ResizeUI(Rect{0, 0, 100, 100}, 1, nullptr);
  EXPECT_EQ(set.Getuitem(0)->rect, (Rect{10, 10, 20, 30}));
}

TEST_F(SetGeometryTest, CentringModesAndTheMinusFourClamp)
{
  AddItem(set, kUITextButton, Rect{10, 10, 30, 50});
  AddItem(set, kUITextButton, Rect{40, 60, 70, 110});
  set.layoutRect = Rect{0, 0, 80, 120};
  invalidated();
  set.ResizeUI(Rect{0, 0, 280, 420}, 0, nullptr);  // box 10..70 x 10..110 centred in 280 x 420
  EXPECT_EQ(set.totalBox, (Rect{110, 160, 170, 260}));
  EXPECT_EQ(set.Getuitem(0)->rect, (Rect{110, 160, 130, 200}));
  EXPECT_EQ(invalidated(), (Rect{110, 160, 170, 260}));

  // A window much smaller than the layout: the content's top-left stops at -4.
  set.layoutRect = Rect{0, 0, 280, 420};
  set.ResizeUI(Rect{0, 0, 20, 20}, 2, nullptr);
  EXPECT_EQ(set.totalBox.top, -4);
  EXPECT_EQ(set.totalBox.left, -4);

  // Other modes only recompute the box and keep the rectangle.
  set.ResizeUI(Rect{0, 0, 500, 500}, 3, nullptr);
  EXPECT_EQ(set.totalBox.top, -4);
  EXPECT_EQ(set.layoutRect, (Rect{0, 0, 500, 500}));
}

TEST_F(SetGeometryTest, TheBoxOfNoItemsIsEmpty)
{
  AddItem(set, kUIBox, Rect{0, 0, 10, 10})->visibility = kUIHidden;
  set.CompTotalBox();
  EXPECT_EQ(set.totalBox, (Rect{32767, 32767, -32767, -32767}));
  set.Getuitem(0)->visibility = kUIShown;
  set.Offsetuitems(5, 7);
  EXPECT_EQ(set.Getuitem(0)->rect, (Rect{7, 5, 17, 15}));
}

TEST_F(SetGeometryTest, SettersInvalidateWhatTheyChange)
{
  AddItem(set, kUINumber, Rect{10, 10, 30, 50});
  AddItem(set, kUIPopMenu, Rect{40, 10, 60, 50});
  AddItem(set, kUIPictButton, Rect{70, 10, 90, 50});
  const Rect item0{10, 10, 30, 50}, none{};
  struct Case
  {
    const char* what;
    void (*change)(uiset&);
    Rect area;
  };
  const Case cases[] = {
      {"style", [](uiset& s) { s.SetuitemStyle(0, 5); }, none},
      {"editing on", [](uiset& s) { s.SetuitemStyle(0, -1); }, item0},
      {"editing on again", [](uiset& s) { s.SetuitemStyle(0, -1); }, none},
      {"editing off", [](uiset& s) { s.SetuitemStyle(0, -2); }, item0},
      {"alternative style", [](uiset& s) { s.SetuitemAltStyle(0, 4); }, none},
      {"alpha flag", [](uiset& s) { s.SetuitemAlphaflag(0, 1); }, none},
      {"anchor", [](uiset& s) { s.SetuitemAnchor(0, 3); }, none},
      {"variant", [](uiset& s) { s.SetuitemKind(0, 2); }, item0},
      {"number style", [](uiset& s) { s.SetuitemNumberStyle(0, 1, 2, 1, 3); }, none},
      {"entries", [](uiset& s) { s.SetuitemEntries(0, 5); }, item0},
      {"same resource", [](uiset& s) { s.SetuitemResID(0, 128); }, none},
      {"resource", [](uiset& s) { s.SetuitemResID(0, 129); }, item0},
      {"enable as it is", [](uiset& s) { s.Enableuitem(0, true); }, none},
      {"disable", [](uiset& s) { s.Enableuitem(0, false); }, item0},
      {"enable all", [](uiset& s) { s.Enableuitem(-1, true); }, item0},
      {"hide", [](uiset& s) { s.Hideuitem(0, false); }, item0},
      {"hide again", [](uiset& s) { s.Hideuitem(0, false); }, none},
      {"show", [](uiset& s) { s.Hideuitem(0, true); }, item0},
      {"box",
       [](uiset& s) {
         s.SetuitemBox(0, Rect{100, 100, 120, 120});
       },
       Rect{100, 100, 120, 120}},
      {"colours", [](uiset& s) { s.SetuitemColors(1, nullptr, nullptr); }, Rect{40, 10, 60, 50}},
      {"every editable item", [](uiset& s) { s.Invaluitem(-1); }, Rect{40, 10, 120, 120}},
      {"bad index", [](uiset& s) { s.Invaluitem(7); }, none},
  };
  invalidated();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    set.Getuitem(0)->needsRedraw = 0;
    c.change(set);
    EXPECT_EQ(invalidated(), c.area);
  }
  EXPECT_EQ(set.Getuitem(0)->style, 5);
  EXPECT_EQ(set.Getuitem(0)->altStyle, 2);
  EXPECT_EQ(set.Getuitem(0)->variant, 1);
  EXPECT_EQ(set.Getuitem(0)->anchor, 3);
  EXPECT_EQ(set.Getuitem(0)->transparency, 1);
  EXPECT_EQ(set.GetuitemNinf(0)->mode, 3);
  EXPECT_EQ(set.GetuitemNinf(0)->arrows, 1);
  EXPECT_EQ(set.GetuitemNinf(0)->entries, 5);
  EXPECT_EQ(set.Getuitem(0)->resID, 129);

  // The pict button's on/off value and its editing flag.
  set.Getuitem(2)->editing = 1;
  set.SetButtonOnOff(2, false);
  EXPECT_EQ(set.Getuitem(2)->index, 0);
  EXPECT_EQ(set.Getuitem(2)->editing, 0);
  EXPECT_EQ(invalidated(), (Rect{70, 10, 90, 50}));
  set.SetButtonOnOff(2, true);
  EXPECT_EQ(set.Getuitem(2)->index, 1);
  set.SetButtonOnOff(0, true);  // not a pict button
  EXPECT_EQ(set.Getuitem(0)->index, 0);
}

TEST_F(SetGeometryTest, NamesAreCutToSixtyThreeBytesOnACharacterBoundary)
{
  AddItem(set, kUIText, Rect{0, 0, 10, 10});
  Str255 text;
  SetPText(text, std::string(70, 'x'));
  set.SetuitemNameNR(0, text);
  EXPECT_EQ(PText(set.Getuitem(0)->name), std::string(63, 'x'));
  SetPText(text, std::string(62, 'y') + "\xC3\xA9");  // e acute would end at byte 64
  set.SetuitemName(0, text);
  EXPECT_EQ(PText(set.Getuitem(0)->name), std::string(62, 'y'));

  Str63 out;
  SetPText(out, "other");
  set.GetuitemName(0, out);
  EXPECT_EQ(PText(out), std::string(62, 'y'));

  // SetNameAndEnable: disabled items lose their text.
  SetPText(text, "on");
  set.SetNameAndEnable(0, text, kUIShown);
  EXPECT_EQ(PText(set.Getuitem(0)->name), "on");
  set.SetNameAndEnable(0, text, kUIDisabled);
  EXPECT_EQ(PText(set.Getuitem(0)->name), "");
  EXPECT_EQ(set.Getuitem(0)->visibility, kUIDisabled);
}

TEST_F(SetGeometryTest, ResourceNamesComeFromStringLists)
{
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("uiset_strings_" + std::to_string(::getpid()) + ".rsrc"))
                               .string();
  int16_t store = kvres::openStore(path, true, true);
  ASSERT_GT(store, 0);
  ASSERT_EQ(kvres::putResource(store, kvres::Resource{kResStringList, 700, "",
                                                      kvres::makeStringList({"a", "Bee"})}),
            0);
  AddItem(set, kUIText, Rect{0, 0, 10, 10});
  set.SetuitemResName(0, 700, 2);
  EXPECT_EQ(PText(set.Getuitem(0)->name), "Bee");
  set.SetuitemResName(0, 700, 9);  // outside the list: empty
  EXPECT_EQ(PText(set.Getuitem(0)->name), "");
  kvres::closeAllStores();
  std::filesystem::remove(path);
}

int gCustomCalls = 0;
void* gCustomData = nullptr;
int32_t customProc(uitem*, void* data, int16_t message, void*)
{
  ++gCustomCalls;
  gCustomData = message == -1 ? data : nullptr;
  return 0;
}

TEST_F(SetGeometryTest, CallbacksOpcodesAndProcedures)
{
  AddItem(set, kUITextButton, Rect{0, 0, 10, 10});
  AddItem(set, kUIPictButton, Rect{0, 0, 10, 10})->SetOpcode(-3, nullptr);
  AddItem(set, kUICustom, Rect{0, 0, 10, 10});
  AddItem(set, kUINumber, Rect{0, 0, 10, 10});
  int data = 0;
  set.SetCallBackCmdptr([](Edoc*, int32_t, void*) -> int16_t { return 0; }, &data);
  EXPECT_NE(set.callback, nullptr);
  EXPECT_EQ(static_cast<uitem_textButton*>(set.Getuitem(0))->data, &data);
  EXPECT_EQ(static_cast<uitem_pictButton*>(set.Getuitem(1))->data, nullptr);  // negative opcode
  set.SetOpcode(0, 77);
  EXPECT_EQ(set.Getuitem(0)->GetOpcode(), 77);
  EXPECT_EQ(static_cast<uitem_textButton*>(set.Getuitem(0))->data, owner);
  set.SetOpcodeNptr(1, 5, &data);
  EXPECT_EQ(static_cast<uitem_pictButton*>(set.Getuitem(1))->data, &data);

  gCustomCalls = 0;
  set.SetCustomProc(2, customProc);
  EXPECT_EQ(gCustomCalls, 1);
  EXPECT_EQ(gCustomData, owner);
  set.SetCustomProcNPtr(2, customProc, &data);
  EXPECT_EQ(gCustomData, &data);
  set.SetCustomProc(3, customProc);
  EXPECT_EQ(set.GetuitemNinf(3)->word2, reinterpret_cast<uiWord>(&customProc));
  EXPECT_EQ(gCustomCalls, 2);

  set.SetuitemDataPointer(3, &data);
  EXPECT_EQ(set.GetuitemNinf(3)->data, &data);
}

int gAlerts = 0;
TEST_F(SetGeometryTest, AddingItemsUntilTheArrayIsFull)
{
  uiset small;
  small.CreateEmpty(2, 77, owner);
  EXPECT_EQ(small.setID, 77);
  EXPECT_EQ(small.colors[kUIBackground], (normalcolor{255, 64, 64, 64}));
  EXPECT_EQ(small.layoutRect, (Rect{0, 0, 580, 800}));
  gAlerts = 0;
  SetAlertSoundProc([](bool) { ++gAlerts; });
  small.Adduitem(kUITextButton, 10, 20, 100, 30);
  small.Adduitem(kUIPopMenu, 10, 60, 50, 50);
  small.Adduitem(kUIBox, 0, 0, 5, 5);
  SetAlertSoundProc(nullptr);
  EXPECT_EQ(small.count, 2);
  EXPECT_EQ(gAlerts, 1);
  EXPECT_EQ(PText(small.Getuitem(0)->name), " Button");
  EXPECT_EQ(small.Getuitem(0)->rect, (Rect{20, 10, 50, 110}));
  EXPECT_EQ(small.Getuitem(1)->rect, (Rect{60, 10, 76, 138}));  // pop-ups are 128 x 16
}

}  // namespace
