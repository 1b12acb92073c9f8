// Number items, sliders and scrollers: the value and position formulas,
// clamping and drag steps, and scripted presses and drags on a window.
#include "ui/uinumbers.h"

#include <cmath>
#include <vector>

#include "tests/ui/uiset_fixture.h"

namespace {

uiNumberInfo range(float low, float high, uint8_t mode = 0)
{
  uiNumberInfo n;
  n.min = low;
  n.max = high;
  n.mode = mode;
  return n;
}

constexpr auto kShort = uiValueType::Short;
constexpr auto kLong = uiValueType::Long;
constexpr auto kDouble = uiValueType::Double;

TEST(NumberFormulas, ValueTypeIsTheVariantModuloThree)
{
  const std::vector<std::pair<int8_t, uiValueType>> cases = {
      {0, kShort},  {1, kLong},  {2, kDouble}, {5, kDouble},
      {12, kShort}, {13, kLong}, {-1, kLong},  {-2, kDouble}};
  for (const auto& [variant, type] : cases)
    EXPECT_EQ(UI_ValueType(variant), type) << int(variant);
}

TEST(NumberFormulas, PositionsAndValuesOfEachType)
{
  struct Case
  {
    float low, high;
    uiValueType type;
    double value;
    int32_t position;
  };
  const std::vector<Case> cases = {
      {0, 100, kShort, 50, 2048},
      {0, 100, kShort, 100, 4096},
      {-1000, 1000, kLong, 0, 2048},
      {-1000, 1000, kLong, 1000, 4096},
      {0, 10, kDouble, 5, 2048},
      {-2, 2, kDouble, 1, 3072},
      // A double range narrower than 1 takes its real width; a zero one
      // stands at 0.
      {0, 0.5f, kDouble, 0.25, 2048},
      {0, 0.5f, kDouble, 0.5, 4096},
      {2, 2, kDouble, 2, 0},
      // An integer range below 2 divides by 2.
      {5, 5, kShort, 6, 2048},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.low << ".." << c.high << " value " << c.value);
    const uiNumberInfo n = range(c.low, c.high);
    EXPECT_EQ(UI_PositionOfValue(n, c.type, c.value), c.position);
    EXPECT_DOUBLE_EQ(UI_ValueOfPosition(n, c.type, c.position), c.value);
  }
}

TEST(NumberFormulas, EqualIntegerBoundsGiveThreeValuesAndNoClamping)
{
  const uiNumberInfo n = range(5, 5);
  EXPECT_EQ(UI_ValueOfPosition(n, kShort, 0), 5);
  EXPECT_EQ(UI_ValueOfPosition(n, kShort, 2048), 6);
  EXPECT_EQ(UI_ValueOfPosition(n, kShort, 4096), 7);
  EXPECT_EQ(UI_ClampValue(n, kShort, 7), 7);
  EXPECT_EQ(UI_ClampValue(n, kLong, -40), -40);
}

TEST(NumberFormulas, IntegersSaturateToTheirType)
{
  int16_t small = 0;
  UI_WriteValue(&small, kShort, UI_ValueOfPosition(range(0, 100000), kShort, 4096));
  EXPECT_EQ(small, 32767);
  int32_t big = 0;
  UI_WriteValue(&big, kLong, 1e250);
  EXPECT_EQ(big, INT32_MAX);
  UI_WriteValue(&big, kLong, std::nan(""));
  EXPECT_EQ(big, 0);
  // Positions of values far out of range stay integers.
  EXPECT_EQ(UI_PositionOfValue(range(0, 10), kDouble, 1e250), INT32_MAX);
}

TEST(NumberFormulas, ClampingByMode)
{
  struct Case
  {
    uiNumberInfo n;
    uiValueType type;
    double in, out;
  };
  const std::vector<Case> cases = {
      {range(5, 0, 3), kDouble, 7, 5},     {range(5, 0, 3), kDouble, -9, -5},
      {range(5, 0, 2), kDouble, 4.5, 4.5}, {range(0, 1, 4), kDouble, 1e6, 1e6},
      {range(0, 1, 0), kDouble, 2, 1},     {range(0, 1, 1), kDouble, -1, 0},
      {range(0, 10), kShort, 12, 10},      {range(-3.5f, 10), kLong, -8, -3},
      {range(10, 0), kLong, 50, 50},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(UI_ClampValue(c.n, c.type, c.in), c.out)
        << "mode " << int(c.n.mode) << " in " << c.in;
}

TEST(NumberFormulas, DoubleDragRangesAndSteps)
{
  struct Case
  {
    uiNumberInfo n;
    bool option;
    double low, high, fine, coarse;
  };
  const std::vector<Case> cases = {
      {range(5, 0, 3), false, -5, 5, 0.1, 1},     {range(0, 0, 4), false, -1e250, 1e250, 0.1, 1},
      {range(0, 0), false, 0, 1, 0.01, 0.1},      {range(0, 65535), false, 0, 1e250, 0.1, 1},
      {range(1, 65535), false, 1, 65535, 0.1, 1}, {range(0, 5), false, 0, 5, 0.05, 1},
      {range(0, 10), true, 0, 10, 0.01, 0.1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.n.min << ".." << c.n.max << " mode " << int(c.n.mode));
    const uiDragSteps s = UI_FloatDragSteps(c.n, c.option);
    EXPECT_DOUBLE_EQ(s.low, c.low);
    EXPECT_DOUBLE_EQ(s.high, c.high);
    EXPECT_DOUBLE_EQ(s.fine, c.fine);
    EXPECT_DOUBLE_EQ(s.coarse, c.coarse);
  }
  // Unbounded above from 0; stopping at 65535 from 1.
  EXPECT_DOUBLE_EQ(UI_FloatDragValue(UI_FloatDragSteps(range(0, 65535), false), 65530, 100, 1),
                   65630);
  EXPECT_DOUBLE_EQ(UI_FloatDragValue(UI_FloatDragSteps(range(1, 65535), false), 65530, 100, 1),
                   65535);
}

TEST(NumberFormulas, RailsKnobsAndPresses)
{
  const uiRail number = UI_NumberRail(Rect{0, 100, 20, 208});  // from 104 over 100
  EXPECT_EQ(number.start, 104);
  EXPECT_EQ(number.travel, 100);
  EXPECT_EQ(UI_KnobX(number, 2048), 154);
  EXPECT_EQ(UI_KnobX(number, 8192), 204);  // no variable: drawn at full scale
  EXPECT_EQ(UI_RailPosition(number, 129), 1024);
  EXPECT_EQ(UI_RailPosition(number, 90), 0);
  EXPECT_EQ(UI_RailPosition(number, 400), 4096);
  // Relative tracking: a quarter of the movement with option.
  EXPECT_EQ(UI_RelativeRailPosition(number, 1000, 130, 150, false), 1000 + 20 * 4096 / 100);
  EXPECT_EQ(UI_RelativeRailPosition(number, 1000, 130, 150, true), 1000 + 20 * 1024 / 100);
  EXPECT_EQ(UI_RelativeRailPosition(number, 1000, 130, 125, true), 1000 - 5 * 1024 / 100);
  // A rail too narrow for its insets keeps the knob at its start and maps
  // every press to 0.
  const uiRail narrow = UI_NumberRail(Rect{0, 10, 20, 16});
  EXPECT_LE(narrow.travel, 0);
  EXPECT_EQ(UI_KnobX(narrow, 4096), narrow.start);
  EXPECT_EQ(UI_RailPosition(narrow, 15), 0);
  EXPECT_EQ(UI_RelativeRailPosition(narrow, 300, 12, 40, false), 0);
  const uiRail pict = UI_PictRail(Rect{0, 0, 16, 150});
  EXPECT_EQ(pict.start, 25);
  EXPECT_EQ(pict.travel, 100);
}

TEST(NumberFormulas, BoxesArrowZonesAndArrowBars)
{
  Rect value, rail;
  UI_NumberBoxes(Rect{10, 100, 30, 300}, 0, 0, &value, &rail);
  EXPECT_EQ(value, (Rect{10, 100, 30, 152}));
  EXPECT_EQ(rail, (Rect{10, 154, 30, 300}));
  UI_NumberBoxes(Rect{10, 100, 30, 300}, 1, 0, &value, &rail);
  EXPECT_EQ(rail, (Rect{10, 100, 30, 248}));
  EXPECT_EQ(value, (Rect{10, 250, 30, 300}));
  UI_NumberBoxes(Rect{10, 100, 30, 300}, 0, 12, &value, &rail);
  EXPECT_EQ(value, (Rect{10, 100, 30, 300}));
  EXPECT_EQ(UI_ArrowZone(Rect{0, 0, 30, 50}), 19);
  EXPECT_EQ(UI_ArrowZone(Rect{0, 0, 8, 50}), 10);
  const uiArrowBar tall = UI_ArrowBar(Rect{0, 0, 30, 200});
  EXPECT_EQ(tall.leftBox, (Rect{3, 0, 27, 24}));
  EXPECT_EQ(tall.rightBox, (Rect{3, 176, 27, 200}));
  EXPECT_EQ(tall.rail, (Rect{3, 24, 27, 176}));
  EXPECT_EQ(tall.knob.start, 31);
  EXPECT_EQ(tall.knob.travel, 138);
  const uiArrowBar flat = UI_ArrowBar(Rect{0, 0, 6, 200});
  EXPECT_EQ(flat.leftBox, (Rect{-1, 0, 7, 8}));
}

// ---- Items on a scripted window -------------------------------------------------------

struct NumberItemTest : ScriptedSetTest
{
  void SetUp() override
  {
    ScriptedSetTest::SetUp();
    owner = new SetOwner;
    set.CreateEmpty(16, 500, owner);
    SetGWorld(owner->port, nullptr);
    content = kvui::windowContent(owner->window);
  }
  void TearDown() override
  {
    set.Killuiset();
    delete owner;
    ScriptedSetTest::TearDown();
  }
  kvui::Point global(int h, int v) const { return kvui::Point{content.top + v, content.left + h}; }
  void press(int h, int v, uint16_t modifiers = 0)
  {
    kvui::script::mouse(global(h, v), true, modifiers);
    kvui::pump();
  }
  void moveTo(int h, int v, bool down = true, uint16_t modifiers = 0)
  {
    kvui::script::mouse(global(h, v), down, modifiers);
  }
  template <class T>
  uitem_number* AddNumber(uint8_t kind, int8_t variant, Rect r, float low, float high, T* value,
                          uint8_t mode = 0)
  {
    uitem* item = AddItem(set, kind, r);
    item->variant = variant;
    set.Setminmax(int16_t(set.count - 1), low, high);
    set.SetuitemDataPointer(int16_t(set.count - 1), value);
    auto* number = static_cast<uitem_number*>(item);
    number->number.mode = mode;
    return number;
  }

  SetOwner* owner = nullptr;
  uiset set;
  kvui::Rect content;
};

TEST_F(NumberItemTest, IntegerDragDownIncreasesAndClamps)
{
  int16_t value = 10;
  uitem_number* item = AddNumber(kUINumber, 12, Rect{20, 20, 40, 100}, 0, 20, &value);
  press(50, 30);
  moveTo(50, 31);
  moveTo(50, 34);
  moveTo(50, 30, false);
  item->Act(&set, Point{30, 50});
  EXPECT_EQ(value, 14);
  EXPECT_TRUE(item->changed);
  press(50, 30);
  moveTo(50, 60);
  moveTo(50, 60, false);
  item->Act(&set, Point{30, 50});
  EXPECT_EQ(value, 20);
  EXPECT_EQ(kvui::currentCursor(), kvui::kCursorArrow);
}

TEST_F(NumberItemTest, IntegerPressWithoutMoveChangesNothing)
{
  int32_t value = 7;
  uitem_number* item = AddNumber(kUINumber, 13, Rect{20, 20, 40, 100}, 0, 20, &value);
  press(50, 30);
  moveTo(50, 30, false);
  item->Act(&set, Point{30, 50});
  EXPECT_EQ(value, 7);
  EXPECT_FALSE(item->changed);
}

TEST_F(NumberItemTest, ArrowZonesStepByOne)
{
  int16_t value = 5;
  uitem_number* item = AddNumber(kUINumber, 12, Rect{20, 20, 40, 100}, 0, 6, &value);
  item->number.arrows = 1;  // zones of 14 pixels: [20, 34) and [87, 100)
  press(25, 30);
  moveTo(25, 30, false);
  item->Act(&set, Point{30, 25});
  EXPECT_EQ(value, 4);
  press(90, 30);
  moveTo(90, 30, false);
  item->Act(&set, Point{30, 90});
  EXPECT_EQ(value, 5);
  // At the top of the range the step changes nothing: the press drags.
  value = 6;
  press(95, 30);
  moveTo(95, 33);
  moveTo(95, 33, false);
  item->Act(&set, Point{30, 95});
  EXPECT_EQ(value, 6);
}

TEST_F(NumberItemTest, DoubleDragUpIncreasesByHalfAndOption)
{
  double value = 1;
  // Range 0..10: fine step 0.1 in the right half, coarse 1 in the left.
  uitem_number* item = AddNumber(kUINumber, 14, Rect{20, 20, 40, 100}, 0, 10, &value);
  struct Case
  {
    int h;
    uint16_t modifiers;
    double expected;
  };
  for (const Case& c : {Case{80, 0, 1.3}, Case{30, 0, 4.0}, Case{80, kvui::optionKey, 1.03}}) {
    value = 1;
    gopt = c.modifiers ? 1 : 0;
    press(c.h, 30, c.modifiers);
    moveTo(c.h, 27, true, c.modifiers);
    moveTo(c.h, 27, false, c.modifiers);
    item->Act(&set, Point{30, int16_t(c.h)});
    EXPECT_NEAR(value, c.expected, 1e-12) << c.h << " " << c.modifiers;
  }
  gopt = 0;
}

TEST_F(NumberItemTest, ModeThreeClampsDragsAndTypedValues)
{
  double value = 0;
  uitem_number* item = AddNumber(kUINumber, 14, Rect{20, 20, 40, 100}, 5, 0, &value, 3);
  press(80, 30);
  moveTo(80, 28);
  moveTo(80, 28, false);
  item->Act(&set, Point{30, 80});
  EXPECT_NEAR(value, 0.2, 1e-12);
  set.focused = 0;
  item->editing = 1;
  set.typedCount = 0;
  EXPECT_EQ(item->Key(&set, '9'), 1);
  EXPECT_EQ(value, 5);
  EXPECT_EQ(item->Key(&set, '-'), 1);
  EXPECT_EQ(value, -5);
  EXPECT_EQ(set.hit, 0);
}

TEST_F(NumberItemTest, TypingShowsThePartialNumberFollowedByTwoDots)
{
  int32_t value = 0;
  uitem_number* item = AddNumber(kUINumber, 1, Rect{20, 20, 40, 200}, 0, 1000, &value);
  set.focused = 0;
  item->editing = 1;
  item->Key(&set, '4');
  item->Key(&set, '2');
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(item->changed);
  Str255 text;
  UI_IntValueText(&set, item, value, text);
  EXPECT_EQ(PText(text), "42..");
  EXPECT_EQ(item->Key(&set, 'x'), 0);
  set.typedCount = 0;
  UI_IntValueText(&set, item, value, text);
  EXPECT_EQ(PText(text), "42");
  double real = 0.5;
  uitem_number* odd = AddNumber(kUINumber, 14, Rect{50, 20, 70, 200}, 0, 1, &real, 1);
  UI_FloatValueText(&set, odd, 0.5, text);
  EXPECT_EQ(PText(text), "0.5000");
  odd->number.mode = 0;
  UI_FloatValueText(&set, odd, 0.5, text);
  EXPECT_EQ(PText(text), "0.5");
  odd->visibility = 255;
  UI_FloatValueText(&set, odd, 0.5, text);
  EXPECT_EQ(PText(text), "-");
}

TEST_F(NumberItemTest, RailPressSetsTheValueAndDragFollows)
{
  int16_t value = 0;
  // Justification 0: the rail is [74, 220), knob from 78 over 138.
  uitem_number* item = AddNumber(kUINumber, 0, Rect{20, 20, 40, 220}, 0, 100, &value);
  item->look.just = 0;
  press(147, 30);
  moveTo(216, 30);
  moveTo(216, 30, false);
  item->Act(&set, Point{30, 147});
  EXPECT_EQ(value, 100);
  press(147, 30);
  moveTo(147, 30, false);
  item->Act(&set, Point{30, 147});
  const int32_t p = ((147 - 78) << 12) / 138;
  EXPECT_EQ(value, (p * 100) >> 12);
  EXPECT_TRUE(item->changed);
}

TEST_F(NumberItemTest, ScrollerLooksTrackAndStep)
{
  // Red rail (variant 3): relative to the knob, a quarter with option.
  int16_t red = 0;
  auto* rail =
      static_cast<uitem_scroller*>(AddNumber(kUIScroller, 3, Rect{20, 20, 36, 228}, 0, 100, &red));
  // Knob from 24 over 200: position 0 stands at 24.
  gopt = 1;
  press(24, 28, kvui::optionKey);
  moveTo(124, 28, true, kvui::optionKey);
  moveTo(124, 28, false, kvui::optionKey);
  rail->Act(&set, Point{28, 24});
  gopt = 0;
  EXPECT_EQ(red, ((100 * 1024 / 200) * 100) >> 12);

  // Arrow bar (variant 0, frame style 0): the arrows step by one.
  int16_t bar = 50;
  auto* arrows =
      static_cast<uitem_scroller*>(AddNumber(kUIScroller, 0, Rect{50, 20, 70, 220}, 0, 100, &bar));
  arrows->style = 0;
  press(25, 60);
  moveTo(25, 60, false);
  arrows->Act(&set, Point{60, 25});
  EXPECT_EQ(bar, 49);
  press(215, 60);
  moveTo(215, 60, false);
  arrows->Act(&set, Point{60, 215});
  EXPECT_EQ(bar, 50);

  // Picture rail (variant 8, a double): the caps step by 0.005.
  double pict = 0.5;
  auto* caps =
      static_cast<uitem_scroller*>(AddNumber(kUIScroller, 8, Rect{80, 20, 96, 220}, 0, 1, &pict));
  press(25, 88);
  moveTo(25, 88, false);
  caps->Act(&set, Point{88, 25});
  EXPECT_DOUBLE_EQ(pict, 0.495);
  EXPECT_TRUE(caps->changed);
}

TEST_F(NumberItemTest, ItemsWithoutAVariableIgnoreClicksAndKeys)
{
  uitem* number = AddItem(set, kUINumber, Rect{20, 20, 40, 100});
  uitem* scroller = AddItem(set, kUIScroller, Rect{50, 20, 70, 100});
  press(30, 30);
  moveTo(30, 40, false);
  number->Act(&set, Point{30, 30});
  scroller->Act(&set, Point{60, 30});
  EXPECT_EQ(number->Key(&set, '5'), 0);
  EXPECT_FALSE(number->changed);
  EXPECT_EQ(static_cast<uitem_scroller*>(scroller)->Getnormvalue(nullptr), 8192);
  EXPECT_EQ(static_cast<uitem_scroller*>(scroller)->Setpvalue(nullptr, 10), 2);
}

}  // namespace
