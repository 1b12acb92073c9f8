// The picture, movie and compression settings dialogs on the scripted
// backend: the preset table, typing a size, the movie dialog's times and
// ranges, OK through the compression dialog, and Cancel.
#include "ui/dialogsettings.h"

#include <cstring>
#include <memory>

#include "document/qtsetup.h"
#include "document/videoformats.h"
#include "imaging/windowplacement.h"
#include "tests/ui/dialog_fixture.h"

namespace {

int gBeeps = 0;

struct SettingsTest : DialogTest
{
  void SetUp() override
  {
    DialogTest::SetUp();
    InitMovieToolbox();
    gBeeps = 0;
    previousSound = SetAlertSoundProc(+[](bool) { ++gBeeps; });
    document = std::make_unique<sfuncSystem>();
    document->animation.length = 100;
    document->animation.frameRate = 25.0;
  }
  void TearDown() override
  {
    SetAlertSoundProc(previousSound);
    ExitMovieToolbox();
    DialogTest::TearDown();
  }
  static void Escape() { Key(27); }
  static void Return() { Key(13); }

  AlertSoundProc previousSound = nullptr;
  std::unique_ptr<sfuncSystem> document;
};

TEST_F(SettingsTest, PresetTable)
{
  KVpictureSettings settings;
  settings.customWidth = 333;
  settings.customHeight = 20;  // held to 64
  struct Case
  {
    uint16_t preset, width, height;
  };
  const Case cases[] = {{0, 512, 512}, {1, 1024, 1024}, {2, 2048, 2048}, {4, 128, 128},
                        {5, 256, 256}, {6, 1280, 960},  {7, 2560, 1920}, {8, 640, 480},
                        {9, 720, 480}, {10, 768, 576},  {11, 1024, 576}, {12, 1920, 1080},
                        {13, 333, 64}};
  for (const Case& c : cases) {
    uint16_t w = 0, h = 0;
    ASSERT_TRUE(PictureSizePreset(c.preset, settings, &w, &h)) << c.preset;
    EXPECT_EQ(w, c.width) << c.preset;
    EXPECT_EQ(h, c.height) << c.preset;
  }
  uint16_t w = 0, h = 0;
  ASSERT_TRUE(PictureSizePreset(kScreenSizePreset, settings, &w, &h));
  const Rect screen = GetMainDevice()->gdRect;
  EXPECT_EQ(w, screen.right - screen.left);
  EXPECT_EQ(h, screen.bottom - screen.top);
  EXPECT_FALSE(PictureSizePreset(14, settings, &w, &h));
}

TEST_F(SettingsTest, PictureOkStoresThePresetAndCancelNothing)
{
  KVpictureSettings settings;
  {
    savepict_dlog dialog(nullptr, &settings);
    ASSERT_TRUE(dialog.HasSet());
    kvui::script::menuChoice(13);  // 1920 x 1080
    kvui::script::pressItem(5);
    Click(dialog, dialog.set->okRect);
    EXPECT_TRUE(dialog.Run());
  }
  EXPECT_EQ(settings.preset, 12);
  EXPECT_EQ(settings.width, 1920);
  EXPECT_EQ(settings.height, 1080);

  const KVpictureSettings before = settings;
  savepict_dlog dialog(nullptr, &settings);
  kvui::script::menuChoice(1);
  kvui::script::pressItem(5);
  Click(dialog, dialog.set->cancelRect);
  EXPECT_FALSE(dialog.Run());
  EXPECT_EQ(std::memcmp(&settings, &before, sizeof before), 0);
}

TEST_F(SettingsTest, TypingAWidthMakesThePresetCustom)
{
  KVpictureSettings settings;
  savepict_dlog dialog(nullptr, &settings);
  ASSERT_TRUE(dialog.HasSet());
  kvui::script::pressItem(1);  // the width takes the focus
  for (char c : {'9', '0', '0'})
    Key(uint32_t(c));
  Click(dialog, dialog.set->okRect);
  EXPECT_TRUE(dialog.Run());
  EXPECT_EQ(settings.preset, kCustomSizePreset);
  EXPECT_EQ(settings.customWidth, settings.width);
  EXPECT_EQ(settings.customHeight, settings.height);
  EXPECT_NE(settings.width, 512);
}

TEST_F(SettingsTest, MovieTimesFromFramesAndRate)
{
  KVmovieInputSettings input;
  KVmovieExportSettings movie;
  QTsetup_dlog dialog(document.get(), &input, &movie);
  ASSERT_TRUE(dialog.HasSet());
  dialog.UpdateValues();
  EXPECT_EQ(dialog.durationMs, 4020);  // (100 + 0.5) x 1000 / 25
  EXPECT_EQ(dialog.rate, 2500);
  EXPECT_EQ(dialog.DurationFrames(), 100);

  dialog.start.minutes = 1;
  dialog.start.seconds = 2;
  dialog.start.frames = 3;
  dialog.updatesfps();
  EXPECT_EQ(dialog.start.frame, (1 * 60 + 2) * 25 + 3);

  // An end beyond the duration is clamped to it.
  dialog.fullRange = 1;
  dialog.end.minutes = 5;
  dialog.updateFramesSE(2);
  EXPECT_EQ(dialog.end.minutes, 0);
  EXPECT_EQ(dialog.end.seconds, 4);
  EXPECT_LE(dialog.end.frame, dialog.DurationFrames());
  EXPECT_GE(dialog.end.frame, 100);
  EXPECT_EQ(gBeeps, 0);

  // A start edited while full range is off is cleared with a beep.
  dialog.resetfulrange();
  EXPECT_EQ(dialog.fullRange, 0);
  EXPECT_EQ(dialog.end.frame, 100);
  dialog.start.seconds = 2;
  dialog.updateFramesSE(1);
  EXPECT_EQ(dialog.start.seconds, 0);
  EXPECT_EQ(dialog.start.frame, 0);
  EXPECT_EQ(gBeeps, 1);
}

TEST_F(SettingsTest, MovieOkSendsTheValues)
{
  KVmovieInputSettings input;
  KVmovieExportSettings movie;
  movie.mode = 1;  // a still sequence needs no compression
  movie.frameWidth = 640;
  movie.frameHeight = 480;
  movie.soundMode = 2;
  {
    QTsetup_dlog dialog(document.get(), &input, &movie);
    dialog.previewPending = 0;
    Return();
    EXPECT_TRUE(dialog.Run());
  }
  EXPECT_EQ(input.width, 640);
  EXPECT_EQ(input.height, 480);
  EXPECT_EQ(input.mode, 1);
  EXPECT_DOUBLE_EQ(input.framesPerSecond, 25.0);
  EXPECT_EQ(movie.frameWidth, 640);
  EXPECT_EQ(movie.mode, 1);
  EXPECT_EQ(document->animation.length, 100);
}

TEST_F(SettingsTest, CancelledCompressionKeepsTheMovieDialogOpen)
{
  KVmovieInputSettings input;
  KVmovieExportSettings movie;
  movie.endFrame = 50;
  const KVmovieInputSettings inputBefore = input;
  const KVmovieExportSettings movieBefore = movie;
  {
    QTsetup_dlog dialog(nullptr, &input, &movie);
    Return();  // OK: the compression dialog opens
    Escape();  // and is cancelled
    Escape();  // then the movie dialog
    EXPECT_FALSE(dialog.Run());
  }
  EXPECT_EQ(gci, nullptr);
  EXPECT_EQ(std::memcmp(&input, &inputBefore, sizeof input), 0);
  EXPECT_EQ(std::memcmp(&movie, &movieBefore, sizeof movie), 0);

  {
    QTsetup_dlog dialog(nullptr, &input, &movie);
    Return();
    Return();  // the compression dialog accepts
    EXPECT_TRUE(dialog.Run());
  }
  ASSERT_NE(gci, nullptr);
  EXPECT_EQ(gci->codecType, fourcc("rle "));
  EXPECT_EQ(movie.endFrame, 50);
}

TEST_F(SettingsTest, CompressionDialogStoresTheCodecAndQuality)
{
  kvui::script::menuChoice(3);  // PNG
  kvui::script::pressItem(1);
  Return();
  EXPECT_TRUE(KV_CompressionSettingsDialog());
  EXPECT_EQ(gSCSpatialSettings.codecType, fourcc("png "));
  ASSERT_NE(gci, nullptr);
  EXPECT_EQ(gci->codecType, fourcc("png "));

  const KVspatialSettings before = gSCSpatialSettings;
  kvui::script::menuChoice(2);
  kvui::script::pressItem(1);
  Escape();
  EXPECT_FALSE(KV_CompressionSettingsDialog());
  EXPECT_EQ(gSCSpatialSettings.codecType, before.codecType);
  EXPECT_EQ(gci, nullptr);
}

TEST_F(SettingsTest, SoundFileCommandUsesTheInstalledDialog)
{
  KVmovieInputSettings input;
  KVmovieExportSettings movie;
  QTsetup_dlog dialog(nullptr, &input, &movie);
  ASSERT_TRUE(dialog.HasSet());
  const KVsoundFileGetProc previous = SetSoundFileGetProc(nullptr);
  dialog.Command(32);  // no dialog installed: a beep
  EXPECT_EQ(gBeeps, 1);
  EXPECT_EQ(dialog.soundFile, 0);
  SetSoundFileGetProc(+[](FileRef* location, uint8_t) {
    location->name = "tone.aiff";
    return true;
  });
  dialog.Command(32);
  EXPECT_EQ(dialog.soundFile, 1);
  EXPECT_EQ(PString(dialog.soundName), "tone.aiff");
  SetSoundFileGetProc(previous);
}

}  // namespace
