// Colour pop-ups and charts, colour squares, gradations and vector items on
// a scripted window.
#include <cmath>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "foundation/modifierkeys.h"
#include "platform/stillimage.h"
#include "tests/ui/uiset_fixture.h"
#include "ui/uidrawhelpers.h"
#include "ui/uidrawshapes.h"

namespace {

constexpr normalcolor kBlack{255, 0, 0, 0};
constexpr normalcolor kWhite{255, 255, 255, 255};

struct ColorItemTest : ScriptedSetTest
{
  void SetUp() override
  {
    ScriptedSetTest::SetUp();
    owner = new SetOwner;
    set.CreateEmpty(16, 500, owner);
    SetGWorld(owner->port, nullptr);
    content = kvui::windowContent(owner->window);
    gshift = 0;
  }
  void TearDown() override
  {
    gshift = 0;
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
  void moveGlobal(kvui::Point p, bool down = true) { kvui::script::mouse(p, down); }
  // The owner's pixel at (h, v), straight colour.
  normalcolor pixel(int h, int v) const
  {
    owner->FlushContext();
    const kvui::Surface s = kvui::windowSurface(owner->window);
    const uint8_t* p = s.pixels + v * s.rowBytes + h * 4;
    return normalcolor{p[3], p[2], p[1], p[0]};
  }
  static bool same(normalcolor a, normalcolor b, int tolerance = 1)
  {
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
  }

  SetOwner* owner = nullptr;
  uiset set;
  kvui::Rect content;
};

// ---- Vector items -------------------------------------------------------------------

uitem_multivector* AddVector(uiset& set, int8_t variant, Rect r, int16_t entries, void* data)
{
  auto* item = static_cast<uitem_multivector*>(AddItem(set, kUIMultiVector, r));
  item->style = 0;
  item->variant = variant;
  item->SetEntries(entries);
  item->SetDataPointer(data);
  return item;
}

TEST(MultiVectorTypes, ElementTypeFollowsTheVariant)
{
  struct Case
  {
    int8_t variant;
    int16_t code, size;
  };
  const Case cases[] = {{0, 2, 2}, {1, 5, 8}, {2, 2, 2}, {3, 5, 8},
                        {4, 2, 2}, {5, 5, 8}, {6, 1, 1}, {7, 2, 2}};
  for (const Case& c : cases) {
    e_uiallinfos info;
    defaultuitem(&info, kUIMultiVector, 0, 0, 10, 10);
    info.variant = c.variant;
    uitem_multivector item(&info);
    int16_t code = 0;
    EXPECT_EQ(item.GetAuxTypeSize(&code), c.size) << int(c.variant);
    EXPECT_EQ(code, c.code) << int(c.variant);
  }
}

TEST_F(ColorItemTest, RGBVectorNamesItsChannelsAndKeepsBytes)
{
  normalcolor color{77, 10, 20, 30};
  // The bars' maximum is the resource id: 2000 would let a bar reach 500.
  uitem_multivector* item = AddVector(set, 6, Rect{0, 0, 116, 92}, 7, &color);
  item->resID = 2000;
  // Vector area {1, 1, 99, 91}: 3 bars of 30 pixels, 98 high.
  press(75, 2);  // blue bar near the top
  moveTo(75, 2, false);
  item->Act(&set, Point{2, 75});
  EXPECT_EQ(item->GetNinf()->entries, 3);
  EXPECT_EQ(color.blue, 255);
  EXPECT_EQ(color.flag, 77);
  EXPECT_EQ(PText(item->name), "b");
  EXPECT_EQ(set.lastChosen, 2);
  EXPECT_EQ(item->changed, 1);

  item->resID = 1020;  // 255 x 4: the bar height maps onto the byte
  press(15, 50);
  moveTo(15, 50, false);
  item->Act(&set, Point{50, 15});
  EXPECT_EQ(PText(item->name), "r");
  EXPECT_NEAR(color.red, (99 - 50) * 1020 / 98 / 4, 1);
  EXPECT_EQ(color.green, 20);
}

TEST_F(ColorItemTest, CurveVectorsWithoutARangeDrawAndEditNothing)
{
  for (int8_t variant : {2, 3}) {
    SCOPED_TRACE(int(variant));
    std::vector<int16_t> shorts{3, 4, 5};
    std::vector<double> doubles{3, 4, 5};
    void* data = variant == 2 ? static_cast<void*>(shorts.data()) : doubles.data();
    uitem_multivector* item = AddVector(set, variant, Rect{0, 200, 60, 300}, 3, data);
    item->Setminmax(4, 4);
    UI_FillRect(owner->context, Rect{0, 200, 60, 300}, kWhite);
    item->Draw(&set);
    EXPECT_TRUE(same(pixel(250, 30), kWhite));
    press(250, 30);
    moveTo(250, 10, false);
    item->Act(&set, Point{30, 250});
    EXPECT_EQ(shorts, (std::vector<int16_t>{3, 4, 5}));
    EXPECT_EQ(doubles, (std::vector<double>{3, 4, 5}));
    EXPECT_EQ(item->changed, 0);
    while (kvui::script::pending() > 0)
      kvui::pump();
  }
}

TEST_F(ColorItemTest, IntegerCurveEditsOneSampleAndKeepsTheOthers)
{
  std::vector<int16_t> values{-7, 3, 11, 0, 25};
  uitem_multivector* item = AddVector(set, 2, Rect{0, 0, 108, 104}, 5, values.data());
  item->Setminmax(-10, 30);
  // Area {1, 1, 107, 103}: x0 = 2.5, dx = 24.5, scale = 106 / 1.055.
  press(2, 5);
  moveTo(2, 5, false);
  item->Act(&set, Point{5, 2});
  EXPECT_EQ(values[0], 30);  // near the top: 1 after the shift, the range's top
  EXPECT_EQ(std::vector<int16_t>(values.begin() + 1, values.end()),
            (std::vector<int16_t>{3, 11, 0, 25}));
  EXPECT_EQ(set.lastChosen, 0);
}

TEST_F(ColorItemTest, OneEntryBarsNeverReachPastTheVariable)
{
  // The bar editor shows two bars: the second is not the variable's.
  for (int8_t variant : {0, 1}) {
    SCOPED_TRACE(int(variant));
    int16_t shortValue = 7;
    double doubleValue = 0.25;
    void* data = variant == 0 ? static_cast<void*>(&shortValue) : &doubleValue;
    uitem_multivector* item = AddVector(set, variant, Rect{0, 0, 52, 82}, 1, data);
    item->Setminmax(0, 100);
    press(60, 10);  // the second bar
    moveTo(60, 10, false);
    item->Act(&set, Point{10, 60});
    EXPECT_EQ(item->changed, 0);
    EXPECT_EQ(shortValue, 7);
    EXPECT_EQ(doubleValue, 0.25);
    press(10, 1);  // the first bar, at its top
    moveTo(10, 1, false);
    item->Act(&set, Point{1, 10});
    EXPECT_EQ(item->changed, 1);
    EXPECT_EQ(variant == 0 ? double(shortValue) : doubleValue, variant == 0 ? 100.0 : 1.0);
  }
}

TEST_F(ColorItemTest, ValueLineShowsTheElementTouched)
{
  std::vector<double> values{0.25, 0.5};
  uitem_multivector* item = AddVector(set, 5, Rect{0, 0, 60, 80}, 2, values.data());
  press(60, 10);
  moveTo(60, 10, false);
  EXPECT_EQ(item->Common(&set, item->rect, false, nullptr), 0);  // drawing only
  item->Act(&set, Point{10, 60});
  EXPECT_EQ(item->shownElement, 1);
  EXPECT_GT(values[1], 0.5);
  const Point outside{200, 200};
  EXPECT_EQ(item->Common(&set, item->rect, false, &outside), -1);
}

// ---- Squares and gradations ---------------------------------------------------------

TEST_F(ColorItemTest, ColorSquaresSpanTruncatedShares)
{
  normalcolor colors[3] = {{255, 255, 0, 0}, {255, 0, 255, 0}, {255, 0, 0, 255}};
  EXPECT_EQ(docolorsquares(&set, Rect{0, 0, 10, 10}, 3, colors, true, nullptr, 0), -1);
  // Squares [0, 3), [3, 6), [6, 10).
  const int reds[10] = {255, 255, 255, 0, 0, 0, 0, 0, 0, 0};
  const int blues[10] = {0, 0, 0, 0, 0, 0, 255, 255, 255, 255};
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(pixel(x, 5).red, reds[x]) << x;
    EXPECT_EQ(pixel(x, 5).blue, blues[x]) << x;
  }
}

TEST_F(ColorItemTest, GradationGridClickOnTheSelectedCellEndsAtOnce)
{
  normalcolor colors[4] = {kBlack, kWhite, kBlack, kWhite};
  auto* item = static_cast<uitem_cgradation*>(AddItem(set, kUICGradation, Rect{0, 0, 20, 80}));
  item->style = 0;
  item->variant = 2;
  item->columns = 2;  // one row of cells 20 wide
  item->SetEntries(4);
  item->SetDataPointer(colors);
  item->index = 1;
  press(30, 10);  // cell 1, the selected one
  moveTo(50, 10);
  moveTo(50, 10, false);
  item->Act(&set, Point{10, 30});
  EXPECT_EQ(item->index, 1);
  EXPECT_EQ(kvui::script::pending(), 2u);  // the drag was never read

  while (kvui::script::pending() > 0)
    kvui::pump();
  press(10, 10);  // cell 0, dragged to cell 3
  moveTo(70, 10);
  moveTo(70, 10, false);
  item->Act(&set, Point{10, 10});
  EXPECT_EQ(item->index, 3);
  EXPECT_EQ(set.lastChosen, 3);
  EXPECT_EQ(item->GetHitBox(9).left, 60);  // held to the last cell
  EXPECT_EQ(item->GetHitBox(-4).left, 0);
}

// ---- The colour chart ---------------------------------------------------------------

struct ChartTest : ColorItemTest
{
  // A chart picture of one colour, 20 pixels wide.
  void WriteSolidChart(int16_t id, normalcolor c, int height)
  {
    std::vector<uint8_t> argb;
    for (int i = 0; i < 20 * height; ++i)
      argb.insert(argb.end(), {255, c.red, c.green, c.blue});
    ASSERT_TRUE(kvimg::encodeFile((folder / ("rim" + std::to_string(id) + ".png")).string(),
                                  kvimg::Format::Png, argb.data(), 80, 20, height, false));
  }

  void SetUp() override
  {
    ColorItemTest::SetUp();
    folder = std::filesystem::temp_directory_path() / ("uichart_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    // Chart 1100: 20 x 10 pixels, the left half green, the right half blue.
    std::vector<uint8_t> argb;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) {
        const std::vector<uint8_t> c =
            x < 10 ? std::vector<uint8_t>{255, 0, 160, 0} : std::vector<uint8_t>{255, 0, 0, 160};
        argb.insert(argb.end(), c.begin(), c.end());
      }
    ASSERT_TRUE(kvimg::encodeFile((folder / "rim1100.png").string(), kvimg::Format::Png,
                                  argb.data(), 80, 20, 10, false));
    gAppInfos.resourcesFolder = FileRef::fromPath(folder.string());
    item = static_cast<uitem_colorpop*>(AddItem(set, kUIColorPop, Rect{10, 10, 30, 50}));
    item->style = 0;
    item->SetDataPointer(&color);
  }
  void TearDown() override
  {
    gAppInfos.resourcesFolder = FileRef{};
    std::filesystem::remove_all(folder);
    ColorItemTest::TearDown();
  }
  // The chart's top-left: 2 pixels below the item's bottom-left corner.
  kvui::Point chartAt(int h, int v) const { return global(10 + h, 32 + v); }

  std::filesystem::path folder;
  uitem_colorpop* item = nullptr;
  normalcolor color{90, 250, 10, 10};
};

TEST_F(ChartTest, PickTakesTheLastColourReadAndKeepsTheAlpha)
{
  press(20, 20);
  moveGlobal(chartAt(3, 3));
  moveGlobal(chartAt(15, 5));
  moveGlobal(chartAt(15, 5), false);
  item->Act(&set, Point{20, 20});
  EXPECT_TRUE(same(color, normalcolor{90, 0, 0, 160})) << int(color.blue);
  EXPECT_EQ(color.flag, 90);
  EXPECT_EQ(item->changed, 1);
  EXPECT_TRUE(same(pixel(20, 20), normalcolor{255, 0, 0, 160}));  // shown in the item
  EXPECT_EQ(kvui::currentCursor(), kvui::kCursorArrow);
}

TEST_F(ChartTest, ReleaseWithoutAMoveOrOutsideOurWindowsKeepsTheColour)
{
  press(20, 20);
  moveTo(20, 20, false);
  item->Act(&set, Point{20, 20});
  EXPECT_TRUE(same(color, normalcolor{90, 250, 10, 10}));
  EXPECT_EQ(item->changed, 0);

  // Over the chart, then where no window of ours lies: the last colour read.
  press(20, 20);
  moveGlobal(chartAt(2, 2));
  moveGlobal(kvui::Point{5000, 5000});
  moveGlobal(kvui::Point{5000, 5000}, false);
  item->Act(&set, Point{20, 20});
  EXPECT_TRUE(same(color, normalcolor{90, 0, 160, 0}));
}

TEST_F(ChartTest, ChannelColumnsAndRampsAreDrawnBesideThePicture)
{
  struct Case
  {
    const char* what;
    int h, v;
    normalcolor expected;
  };
  // The picture is 20 x 10; columns of 10 from x = 22, ramps of 10 from y = 16.
  const Case cases[] = {
      {"red column, top", 26, 0, {255, 255, 10, 10}},
      {"green column, top", 36, 0, {255, 250, 255, 10}},
      {"blue column, bottom row", 46, 9, {255, 250, 10, 25}},
      {"black-to-white ramp, start", 2, 20, {255, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    color = normalcolor{90, 250, 10, 10};
    press(20, 20);
    moveGlobal(chartAt(c.h, c.v));
    moveGlobal(chartAt(c.h, c.v), false);
    item->Act(&set, Point{20, 20});
    EXPECT_TRUE(same(color, c.expected, 8))
        << int(color.red) << "," << int(color.green) << "," << int(color.blue);
  }
}

TEST_F(ChartTest, GradationSquareOpensTheChartForItsColour)
{
  normalcolor colors[2] = {{10, 1, 2, 3}, {20, 4, 5, 6}};
  auto* gradation =
      static_cast<uitem_cgradation*>(AddItem(set, kUICGradation, Rect{100, 0, 120, 100}));
  gradation->style = 0;
  gradation->SetEntries(2);
  gradation->SetDataPointer(colors);
  // Square 1 spans x 50..100; its chart opens 2 pixels below (50, 120).
  press(70, 110);
  moveGlobal(global(50 + 3, 122 + 3));
  moveGlobal(global(50 + 3, 122 + 3), false);
  gradation->Act(&set, Point{110, 70});
  EXPECT_TRUE(same(colors[1], normalcolor{20, 0, 160, 0}));
  EXPECT_EQ(colors[1].flag, 20);
  EXPECT_TRUE(same(colors[0], normalcolor{10, 1, 2, 3}, 0));
  EXPECT_EQ(set.lastChosen, 1);
  EXPECT_EQ(gradation->changed, 1);
}

TEST_F(ChartTest, ChartsByLookAndByAlternativeStyle)
{
  const normalcolor c1101{255, 11, 0, 0}, c31100{255, 0, 31, 0}, c31101{255, 0, 0, 101};
  WriteSolidChart(1101, c1101, 10);
  WriteSolidChart(31100, c31100, 20);  // its bottom 10 rows hold the grey ramp
  WriteSolidChart(31101, c31101, 10);
  struct Case
  {
    int16_t look;
    normalcolor expected;
  };
  const Case looks[] = {
      {0, {255, 0, 160, 0}}, {1, c1101}, {2, c31100}, {3, c31101}, {7, {255, 0, 160, 0}}};
  for (const Case& c : looks) {
    SCOPED_TRACE(c.look);
    normalcolor square = kWhite;
    press(5, 100);
    moveGlobal(global(3, 112 + 3));  // the square is {90, 0, 110, 10}
    moveGlobal(global(3, 112 + 3), false);
    const Point click{100, 5};
    EXPECT_EQ(docolorsquares(&set, Rect{90, 0, 110, 10}, 1, &square, false, &click, c.look), 0);
    EXPECT_TRUE(same(square, c.expected));
  }
  // The colour pop-up item opens 1100 + its alternative style.
  item->altStyle = 1;
  press(20, 20);
  moveGlobal(chartAt(3, 3));
  moveGlobal(chartAt(3, 3), false);
  item->Act(&set, Point{20, 20});
  EXPECT_TRUE(same(color, normalcolor{90, 11, 0, 0}));
}

TEST_F(ColorItemTest, ColorPopDrawsItsColourOrTheFrameColourWhenDisabled)
{
  normalcolor color{255, 30, 60, 90};
  auto* item = static_cast<uitem_colorpop*>(AddItem(set, kUIColorPop, Rect{0, 0, 20, 20}));
  item->style = 0;
  item->SetDataPointer(&color);
  item->Draw(&set);
  EXPECT_TRUE(same(pixel(10, 10), color));
  item->visibility = kUIDisabled;
  item->Draw(&set);
  EXPECT_FALSE(same(pixel(10, 10), color));
}

}  // namespace
