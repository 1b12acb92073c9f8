// Boxes, custom items and embedded editors drawn on a canvas.
#include "ui/uiboxes.h"

#include <gtest/gtest.h>
#include <vector>

#include "tests/ui/canvas.h"
#include "tests/ui/uiset_fixture.h"
#include "ui/xeditor.h"

namespace {

struct CanvasDoc : Edoc
{
  explicit CanvasDoc(Canvas& c) { context = c.ctx; }
  ~CanvasDoc() override { context = nullptr; }
  void Refresh() override { ++refreshes; }
  int refreshes = 0;
};

struct BoxTest : ScriptedSetTest
{
  void SetUp() override
  {
    ScriptedSetTest::SetUp();
    canvas = new Canvas(120, 80);
    doc = new CanvasDoc(*canvas);
    set.CreateEmpty(8, 700, doc);
  }
  void TearDown() override
  {
    set.Killuiset();
    delete doc;
    delete canvas;
    ScriptedSetTest::TearDown();
  }
  uitem* Box(int8_t variant, Rect r = Rect{10, 10, 50, 110})
  {
    uitem* item = AddItem(set, kUIBox, r);
    item->variant = variant;
    item->style = 0;
    item->color1 = normalcolor{255, 200, 60, 20};
    item->color2 = normalcolor{255, 20, 40, 220};
    return item;
  }
  Canvas* canvas = nullptr;
  CanvasDoc* doc = nullptr;
  uiset set;
};

TEST_F(BoxTest, FillAndGradientEnds)
{
  Box(3)->Draw(&set);
  for (auto [x, y] : {std::pair{10, 10}, std::pair{109, 49}, std::pair{60, 30}}) {
    EXPECT_EQ(canvas->Red(x, y), 200);
    EXPECT_EQ(canvas->Green(x, y), 60);
    EXPECT_EQ(canvas->Blue(x, y), 20);
  }
  // Vertical: the ramp starts from colour 2 at the bottom row (the band
  // image is drawn upright in the flipped context) to colour 1 at the top.
  Box(5)->Draw(&set);
  EXPECT_NEAR(canvas->Blue(60, 49), 220, 2);
  EXPECT_NEAR(canvas->Red(60, 10), 200, 2);
  // Horizontal: colour 2 at the left, colour 1 at half alpha at the right.
  Box(4)->Draw(&set);
  EXPECT_NEAR(canvas->Blue(10, 30), 220, 2);
  const int right = canvas->Red(109, 30);
  EXPECT_GT(right, 60);
  EXPECT_LT(right, 200);
}

TEST_F(BoxTest, HaloIsBuiltOnceAndAgainAfterSetResID)
{
  uitem* halo = Box(6);
  halo->Draw(&set);
  CGImageRef first = halo->cachedImage;
  ASSERT_NE(first, nullptr);
  halo->Draw(&set);
  EXPECT_EQ(halo->cachedImage, first);
  halo->SetResID(12);
  EXPECT_EQ(halo->cachedImage, nullptr);
  halo->Draw(&set);
  EXPECT_NE(halo->cachedImage, nullptr);
  // The centre is lit, the corners are not.
  EXPECT_GT(canvas->Blue(60, 30), canvas->Blue(11, 11));
}

TEST_F(BoxTest, TextureRepeatsItsPattern)
{
  CGImageRef image = MakeimageHalo(Rect{0, 0, 8, 12}, normalcolor{255, 250, 250, 250});
  ASSERT_NE(image, nullptr);
  auto draw = [&] {
    std::fill(canvas->pixels.begin(), canvas->pixels.end(), 0);
    QZdraw_imagetexture(canvas->ctx, image, Rect{10, 10, 50, 110}, 60);
    return canvas->pixels;
  };
  const std::vector<uint32_t> once = draw();
  std::srand(7);  // the engine's generator does not steer the pattern
  EXPECT_EQ(draw(), once);
  const Canvas::Ink ink = canvas->InkBox(1);
  EXPECT_GE(ink.x0, 10);
  EXPECT_LE(ink.x1, 109);
  QZ_ImageRelease(image);
}

int32_t Recorder(uitem*, void* data, int16_t message, void*)
{
  static_cast<std::vector<int16_t>*>(data)->push_back(message);
  return 0;
}

TEST_F(BoxTest, CustomItemWithoutUserDataDrawsOnlyItsBackground)
{
  uitem* item = AddItem(set, kUICustom, Rect{10, 10, 50, 110});
  item->style = 0;
  item->altStyle = 1;
  item->color1 = normalcolor{255, 10, 200, 10};
  static_cast<uitem_custom*>(item)->userProc = &Recorder;  // no user data
  item->Draw(&set);
  item->Act(&set, Point{20, 20});
  EXPECT_EQ(canvas->Green(60, 30), 200);
  std::vector<int16_t> messages;
  set.SetCustomProcNPtr(0, &Recorder, &messages);
  item->Draw(&set);
  item->Act(&set, Point{20, 20});
  item->Idle(&set, Point{20, 20});  // idle only from alternative style 4
  item->altStyle = 4;
  item->Idle(&set, Point{20, 20});
  EXPECT_EQ(messages, (std::vector<int16_t>{-1, 1, 0, 10}));
}

int16_t gKeyCode = 0;
int16_t EditorKey(Edoc*, int8_t, Xeditor*)
{
  return gKeyCode;
}

TEST_F(BoxTest, EditorEnterResetsTypingAndRefreshes)
{
  uiset inner;
  inner.CreateEmpty(4, 701, doc);
  AddItem(inner, kUINumber, Rect{10, 10, 30, 60});
  Xeditor editor;
  editor.items = &inner;
  editor.key = &EditorKey;
  uitem* item = AddItem(set, kUIXEditor, Rect{0, 0, 80, 120});
  static_cast<uitem_xeditor*>(item)->SetXEditor(&set, &editor, 0);

  EXPECT_EQ(item->Key(&set, 'a'), 0);  // not being edited
  item->select(&set);
  EXPECT_TRUE(editor.active);
  EXPECT_EQ(inner.focused, 0);
  inner.typedCount = 3;
  set.typedCount = 2;
  EXPECT_EQ(item->Key(&set, 3), 0);
  EXPECT_EQ(inner.typedCount, 0);
  EXPECT_EQ(set.typedCount, 0);
  EXPECT_EQ(doc->refreshes, 1);
  for (int16_t code : {0, 2, 3}) {
    gKeyCode = code;
    set.keyResult = 0;
    EXPECT_EQ(item->Key(&set, 'x'), code <= 2 ? 1 : 0) << code;
    EXPECT_EQ(set.keyResult, code <= 2 ? 1 : 0) << code;
  }
  item->deselect(&set);
  EXPECT_FALSE(editor.active);
  EXPECT_EQ(inner.focused, -1);
  inner.Killuiset();
}

}  // namespace
