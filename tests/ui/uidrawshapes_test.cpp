// The bar and curve editors of value vectors on a scripted window; curves,
// palette cells, numbers in ports and the halo buffer.
#include "ui/uidrawshapes.h"

#include <cmath>
#include <vector>

#include "engine/palettes.h"
#include "foundation/modifierkeys.h"
#include "imaging/cursorkeys.h"
#include "tests/ui/canvas.h"
#include "tests/ui/uiset_fixture.h"
#include "ui/porttext.h"
#include "ui/uidrawhelpers.h"

namespace {

constexpr normalcolor kBlack{255, 0, 0, 0};
constexpr normalcolor kWhite{255, 255, 255, 255};

struct VectorTest : ScriptedSetTest
{
  void SetUp() override
  {
    ScriptedSetTest::SetUp();
    owner = new SetOwner;
    SetGWorld(owner->port, nullptr);
    content = kvui::windowContent(owner->window);
    gshift = 0;
  }
  void TearDown() override
  {
    gshift = 0;
    delete owner;
    ScriptedSetTest::TearDown();
  }
  void mouse(int h, int v, bool down)
  {
    kvui::script::mouse(kvui::Point{content.top + v, content.left + h}, down);
  }
  SetOwner* owner = nullptr;
  kvui::Rect content;
  const normalcolor colors[4] = {{255, 0, 0, 0}, {255, 0, 0, 0}, {255, 0, 0, 0}, {255, 0, 200, 0}};
};

TEST_F(VectorTest, OutsideChangesNothingAndSkippedBarsAreInterpolated)
{
  const Rect r{0, 0, 100, 80};  // 8 bars of 10 pixels, 100 pixels high
  std::vector<int32_t> values(8, 5);
  const Point outside{150, 20};
  EXPECT_EQ(Do_intvec(owner, colors, r, 8, values.data(), nullptr, 100, &outside), -1);
  EXPECT_EQ(values, std::vector<int32_t>(8, 5));

  // Press on bar 1 at value 80, drag to bar 5 at value 40: bars 2 to 4 are
  // set on the line between.
  mouse(15, 20, true);
  kvui::pump();
  mouse(55, 60, true);
  mouse(55, 60, false);
  const Point press{20, 15};
  EXPECT_EQ(Do_intvec(owner, colors, r, 8, values.data(), nullptr, 100, &press), 5);
  EXPECT_EQ(values, (std::vector<int32_t>{5, 80, 70, 60, 50, 40, 5, 5}));
}

TEST_F(VectorTest, RealVectorsHoldZeroToOne)
{
  const Rect r{0, 0, 100, 40};
  std::vector<double> values{0.5, 2.0, -1.0, 0.25};
  Do_realvec(owner, colors, r, 4, values.data(), nullptr, nullptr);  // drawing only
  EXPECT_EQ(values[1], 2.0);
  mouse(5, 0, true);
  kvui::pump();
  mouse(5, 0, false);
  const Point top{0, 5};
  EXPECT_EQ(Do_realvec(owner, colors, r, 4, values.data(), nullptr, &top), 0);
  EXPECT_DOUBLE_EQ(values[0], 1.0);
}

TEST_F(VectorTest, CurveEditorInterpolatesOrHoldsTheFirstSample)
{
  const Rect r{0, 0, 106, 103};  // x0 = 1.5, dx = 25 for 5 samples
  std::vector<double> values(5, 0.0);
  const Point outside{150, 10};
  EXPECT_EQ(dvector_normdrawEdit(owner, values.data(), 5, r, kWhite, kBlack, &outside), -1);

  mouse(2, 0, true);  // sample 0, at the top
  kvui::pump();
  mouse(101, 106 - 6, true);  // sample 4, near the bottom
  mouse(101, 106 - 6, false);
  const Point start{0, 2};
  EXPECT_EQ(dvector_normdrawEdit(owner, values.data(), 5, r, kWhite, kBlack, &start), 4);
  EXPECT_DOUBLE_EQ(values[0], 1.0);
  EXPECT_NEAR(values[4], 0.0, 0.06);
  for (int i = 1; i < 4; ++i)
    EXPECT_NEAR(values[size_t(i)], values[0] + (values[4] - values[0]) * i / 4.0, 1e-12);

  // With shift held the sample pressed follows the mouse wherever it goes.
  std::fill(values.begin(), values.end(), 0.0);
  auto shifted = [&](int h, int v, bool down) {
    kvui::script::mouse(kvui::Point{content.top + v, content.left + h}, down, kvui::shiftKey);
  };
  shifted(2, 0, true);
  kvui::pump();
  shifted(101, 50, true);
  shifted(101, 50, false);
  EXPECT_EQ(dvector_normdrawEdit(owner, values.data(), 5, r, kWhite, kBlack, &start), 0);
  EXPECT_NEAR(values[0], 56 * 1.055 / 106 - 0.015, 1e-9);  // the release height
  EXPECT_EQ(values[4], 0.0);
}

TEST(CurveDrawing, FillsTheBackgroundAndSurvivesValuesOutOfRange)
{
  Canvas canvas(60, 40);
  const std::vector<double> values{0.5, NAN, INFINITY, -1e300, 1};
  dvector_normdrawFC(canvas.ctx, values.data(), int32_t(values.size()), Rect{0, 0, 40, 60}, kBlack,
                     normalcolor{255, 0, 200, 0});
  EXPECT_EQ(canvas.Green(0, 0), 200);  // background where the curve is not
  EXPECT_EQ(canvas.Alpha(59, 0), 255);
  // Under the curve the dark blue fill shows over the background.
  EXPECT_GT(canvas.Blue(2, 38), 0);
}

TEST(PaletteCells, OutlineAndGradientOfOneEntry)
{
  static cpalettelib library;
  library.palettes[5].count = 2;
  library.palettes[5].colors[0] = normalcolor{255, 255, 0, 0};
  library.palettes[5].colors[1] = normalcolor{255, 0, 0, 255};
  Canvas canvas(40, 10);
  draw_cpaletteitem(canvas.ctx, &library, 5, Rect{0, 0, 10, 40}, true);
  EXPECT_EQ(canvas.At(0, 0), 0xFFFFFF00u);  // yellow outline
  EXPECT_EQ(canvas.Red(1, 5), 255);         // the gradient from red...
  EXPECT_GT(canvas.Blue(38, 5), 240);       // ...to blue
  draw_cpaletteitem(canvas.ctx, &library, 5, Rect{0, 0, 10, 40}, false);
  EXPECT_EQ(canvas.At(0, 0), 0xFF000000u);
  Canvas untouched(8, 8);
  draw_cpaletteitem(untouched.ctx, &library, 64, Rect{0, 0, 8, 8}, true);
  draw_cpaletteitem(untouched.ctx, &library, -1, Rect{0, 0, 8, 8}, true);
  EXPECT_EQ(untouched.InkBox(1).x1, -1);
}

TEST(PortNumbers, StringIntDrawsOnTheBaselineInTheColour)
{
  Canvas canvas(80, 30);
  TextSize(12);
  Draw_StringInt(10, 20, -42, normalcolor{255, 0, 0, 255});
  QZ_CloseContext(canvas.ctx, canvas.port);
  canvas.ctx = QZ_OpenContext(canvas.port);
  const Canvas::Ink ink = canvas.InkBox(128);
  ASSERT_GE(ink.x1, 0);
  EXPECT_GE(ink.x0, 9);
  EXPECT_LE(ink.y1, 21);  // nothing of "-42" hangs below its baseline
  EXPECT_GE(ink.y0, 20 - 13);
  EXPECT_EQ(canvas.Red((ink.x0 + ink.x1) / 2, (ink.y0 + ink.y1) / 2), 0);
  ForgetPortTextStyle(canvas.port);
}

TEST(HaloBuffer, SoftOvalOfTheRectanglesSize)
{
  Offworld halo = MakeGWHalo(Rect{10, 20, 50, 100}, normalcolor{0, 200, 100, 50});
  ASSERT_NE(halo, nullptr);
  EXPECT_EQ(RectWidth(halo->pixels.bounds), 80);
  EXPECT_EQ(RectHeight(halo->pixels.bounds), 40);
  const normalcolor centre = FindgwColor(halo, PackPoint(Point{20, 40}));
  const normalcolor corner = FindgwColor(halo, PackPoint(Point{0, 0}));
  // Blurred over a window wider than the buffer: soft, but brightest in the
  // middle and in the colour's proportions.
  EXPECT_GT(centre.red, corner.red + 10);
  EXPECT_GT(centre.red, centre.green);
  EXPECT_GT(centre.green, centre.blue);
  KillOffworld(&halo);
  EXPECT_EQ(MakeGWHalo(Rect{0, 0, 0, 10}, kWhite), nullptr);
}

}  // namespace
