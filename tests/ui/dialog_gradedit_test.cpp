// The gradient editor on the scripted backend: the colour count's bounds,
// Cancel, the resample menu, the option key's single channel and an
// interactive transform following the mouse.
#include <cstring>

#include "tests/ui/dialog_fixture.h"
#include "ui/dialoggradedit.h"

namespace {

struct GradEditTest : DialogTest
{
  void SetUp() override
  {
    DialogTest::SetUp();
    define_cpalette(&palette, 0);
    init_cpalettelib(&library);
    original = palette;
  }
  cpalette palette, original;
  cpalettelib library;
};

TEST_F(GradEditTest, CountStaysBetweenTwoAndSixtyThree)
{
  palette.count = 2;
  IB_GradEdit_dlog dialog(&palette, &library);
  ASSERT_TRUE(dialog.HasSet());
  kvui::script::pressItem(2);  // one less than 2
  for (int i = 0; i < 70; ++i)
    kvui::script::pressItem(3);
  Click(dialog, dialog.set->okRect);
  EXPECT_TRUE(dialog.Run());
  EXPECT_EQ(palette.count, 63);
  EXPECT_EQ(normalcolorWord(palette.colors[62]), normalcolorWord(palette.colors[1]));

  IB_GradEdit_dlog again(&palette, &library);
  for (int i = 0; i < 70; ++i)
    kvui::script::pressItem(2);
  Click(again, again.set->okRect);
  EXPECT_TRUE(again.Run());
  EXPECT_EQ(palette.count, 2);
}

TEST_F(GradEditTest, CancelLeavesThePaletteUntouched)
{
  IB_GradEdit_dlog dialog(&palette, &library);
  kvui::script::pressItem(9);  // invert the working copy
  kvui::script::pressItem(3);
  Click(dialog, dialog.set->cancelRect);
  EXPECT_FALSE(dialog.Run());
  EXPECT_NE(std::memcmp(&dialog.working, &original, sizeof original), 0);
  EXPECT_EQ(std::memcmp(&palette, &original, sizeof original), 0);
}

TEST_F(GradEditTest, ResampleMenuCounts)
{
  for (int32_t choice = 1; choice <= 7; ++choice) {
    palette = original;
    IB_GradEdit_dlog dialog(&palette, &library);
    kvui::script::menuChoice(choice);
    kvui::script::pressItem(24);
    Click(dialog, dialog.set->okRect);
    EXPECT_TRUE(dialog.Run());
    EXPECT_EQ(palette.count, kResampleCounts[choice - 1]) << choice;
    EXPECT_EQ(kvui::script::lastMenu().size(), 7u);
    EXPECT_EQ(kvui::script::lastMenu()[0].text, "3 colours");
  }
}

TEST_F(GradEditTest, OptionKeepsOnlyTheEditedChannel)
{
  IB_GradEdit_dlog dialog(&palette, &library);
  kvui::script::modifiers(kvui::optionKey);
  kvui::script::pressItem(9);  // invert, red only
  kvui::script::modifiers(0);
  Click(dialog, dialog.set->okRect);
  EXPECT_TRUE(dialog.Run());
  ASSERT_EQ(palette.count, original.count);
  for (int32_t i = 0; i < original.count; ++i) {
    EXPECT_EQ(palette.colors[i].red, 255 - original.colors[i].red) << i;
    EXPECT_EQ(palette.colors[i].green, original.colors[i].green) << i;
    EXPECT_EQ(palette.colors[i].blue, original.colors[i].blue) << i;
  }
}

TEST_F(GradEditTest, InteractiveTransformFollowsTheMouse)
{
  IB_GradEdit_dlog dialog(&palette, &library);
  const Rect r = dialog.set->GetuitemBox(20);  // brightness
  const int16_t h = int16_t((r.left + r.right) / 2), v = int16_t((r.top + r.bottom) / 2);
  kvui::script::mouse(Global(dialog, h, v), true);
  kvui::script::mouse(Global(dialog, int16_t(h + 300), v), true);  // held at 255
  kvui::script::mouse(Global(dialog, int16_t(h + 40), v), true);
  kvui::script::mouse(Global(dialog, int16_t(h + 40), v), false);
  Click(dialog, dialog.set->okRect);
  EXPECT_TRUE(dialog.Run());
  cpalette expected = original;
  transform_cpalette(&original, &expected, kPalBrightness, 168);
  EXPECT_EQ(std::memcmp(&palette, &expected, sizeof expected), 0);
}

int gBeeps = 0;

TEST_F(GradEditTest, LibraryChoicesStoreChooseDeleteOrBeep)
{
  gBeeps = 0;
  const AlertSoundProc previous = SetAlertSoundProc(+[](bool) { ++gBeeps; });
  cpalette out = original;
  rnd_cpalette(&out);
  const cpalette mine = out;
  // Entry 0 stores into the first empty slot (after the 12 built-in ones).
  EXPECT_FALSE(ApplyGradationChoice(&library, &out, 0, false));
  EXPECT_TRUE(EqualPalette(&library.palettes[12], &mine));
  // Entry 3 is palette 2.
  EXPECT_TRUE(ApplyGradationChoice(&library, &out, 3, false));
  EXPECT_EQ(std::memcmp(&out, &library.palettes[2], sizeof out), 0);
  // Option deletes it; choosing it then only beeps.
  EXPECT_FALSE(ApplyGradationChoice(&library, &out, 3, true));
  EXPECT_EQ(library.palettes[2].count, 0);
  out = mine;
  EXPECT_FALSE(ApplyGradationChoice(&library, &out, 3, false));
  EXPECT_EQ(gBeeps, 1);
  EXPECT_EQ(std::memcmp(&out, &mine, sizeof out), 0);
  // Nothing chosen, or an entry past the library.
  EXPECT_FALSE(ApplyGradationChoice(&library, &out, -1, false));
  EXPECT_FALSE(ApplyGradationChoice(&library, &out, 66, false));
  SetAlertSoundProc(previous);
}

}  // namespace
