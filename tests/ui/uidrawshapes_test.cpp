// The bar editors of value vectors on a scripted window.
#include "ui/uidrawshapes.h"

#include <vector>

#include "imaging/cursorkeys.h"
#include "tests/ui/uiset_fixture.h"

namespace {

struct VectorTest : ScriptedSetTest
{
  void SetUp() override
  {
    ScriptedSetTest::SetUp();
    owner = new SetOwner;
    SetGWorld(owner->port, nullptr);
    content = kvui::windowContent(owner->window);
  }
  void TearDown() override
  {
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

}  // namespace
