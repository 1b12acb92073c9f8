// The sound dialogs on the scripted backend: the save dialog's hook changes
// the format through pop-up 1137 and renames the file; the open dialog's
// preview draws its grey panel and reads the chosen file; audio names get
// their types.
#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "foundation/appshell.h"
#include "foundation/iodata.h"
#include "foundation/pstrings.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "sound/audiofiles.h"

namespace {

std::string resourcesFolder()
{
  const char* binary = std::getenv("KV_BINARY_DIR");
  return std::string(binary ? binary : KV_BINARY_DIR) + "/Resources";
}

class SoundDialogs : public ::testing::Test
{
protected:
  void SetUp() override
  {
    if (!std::filesystem::exists(resourcesFolder() + "/Kovrelin.rsrc"))
      GTEST_SKIP() << "the resources are not built";
    folder_ =
        std::filesystem::temp_directory_path() / ("kv_sounddialogs_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    kvui::startScripted();
    saved_ = gAppInfos.resourcesFolder;
    gAppInfos.resourcesFolder = FileRef::fromPath(resourcesFolder());
    ASSERT_TRUE(kvres::openApplicationStore(resourcesFolder() + "/Kovrelin.rsrc"));
    SetUpNavUserDatas(&gIOdata, 0, kSoundCreator, fourcc("AIFF"));
  }
  void TearDown() override
  {
    if (folder_.empty())
      return;
    kvui::stop();
    gAppInfos.resourcesFolder = saved_;
    std::filesystem::remove_all(folder_);
  }

  // The custom area's pixel (blue, green, red, alpha) at (dx, dy) from its
  // top-left corner.
  static std::array<uint8_t, 4> customPixel(int dx, int dy)
  {
    const kvui::script::ChooserRecord& r = kvui::script::lastChooser();
    const size_t width = size_t(r.customRect.right - r.customRect.left);
    const size_t at = (size_t(dy) * width + size_t(dx)) * 4;
    if (at + 4 > r.customPixels.size())
      return {};
    return {r.customPixels[at], r.customPixels[at + 1], r.customPixels[at + 2],
            r.customPixels[at + 3]};
  }

  std::filesystem::path folder_;
  FileRef saved_;
};

TEST_F(SoundDialogs, SaveHookChangesTheFormatAndTheName)
{
  soundDocInfos r;
  soundDocInfos_init(&r, 100, 2);
  r.bytesPerSample = 4;
  r.file = FileRef::fromPath(folder_.string());
  SetPString(r.name, "take");
  kvui::script::ChooserAnswer a;
  a.folder = folder_.string();
  a.name = "typed.aif";
  a.click = {10, 10};  // the format field, on the left
  kvui::script::chooserAnswer(a);
  kvui::script::menuChoice(2);  // WAVE
  ASSERT_TRUE(AUfile_Put(&r, 1));
  EXPECT_EQ(r.type, fourcc("WAVE"));
  EXPECT_EQ(r.bytesPerSample, 3);  // WAVE holds at most 3 bytes
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.name + 1), r.name[0]), "typed.wav");
  const auto& menu = kvui::script::lastMenu();
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(menu[2].text, "CAF");
  // The size field of a CAF record offers 32-bit float as item 5.
  r.type = fourcc("caff");
  a.click = {10, int16_t(kvui::script::lastChooser().customRect.right -
                         kvui::script::lastChooser().customRect.left - 20)};
  kvui::script::chooserAnswer(a);
  kvui::script::menuChoice(5);
  ASSERT_TRUE(AUfile_Put(&r, 1));
  EXPECT_EQ(r.bytesPerSample, -4);
}

TEST_F(SoundDialogs, OpenPreviewDrawsItsPanelAndTheRecordTakesTheFile)
{
  soundDocInfos w;
  soundDocInfos_init(&w, 500, 1);
  w.type = fourcc("WAVE");
  w.file = FileRef::fromPath(folder_.string());
  SetPString(w.name, "voice");
  ExtAudioFileRef file = xCreateAccess_SoundFile(&w, nullptr, 0, 0);
  ASSERT_NE(file, nullptr);
  std::vector<float> silence(500);
  ASSERT_EQ(xWriteAccess_SoundFile(file, silence.data(), 500, nullptr), 0);
  xCloseAccess_SoundFile(&w, &file);

  kvui::script::ChooserAnswer a;
  a.paths = {(folder_ / "voice.wav").string()};
  kvui::script::chooserAnswer(a);
  soundDocInfos r;
  soundDocInfos_init(&r, 0, 2);
  ASSERT_TRUE(AUfile_Get(&r, 0));
  EXPECT_EQ(r.type, fourcc("WAVE"));
  EXPECT_EQ(r.channels, 1);
  EXPECT_EQ(r.frames, 500u);
  EXPECT_EQ(kvui::script::lastChooser().request.title, "Open Sound file...");
  // The panel's grey, 221 in every channel, at a corner free of text.
  const auto px = customPixel(kvui::script::lastChooser().customRect.right -
                                  kvui::script::lastChooser().customRect.left - 2,
                              2);
  EXPECT_EQ(px[0], 221);
  EXPECT_EQ(px[1], 221);
  EXPECT_EQ(px[2], 221);
}

TEST(SoundNames, AudioExtensionsGiveTheirTypes)
{
  const struct
  {
    const char* name;
    const char* type;
  } cases[] = {{"a.aif", "AIFF"}, {"a.aiff", "AIFF"},  {"a.aifc", "AIFC"}, {"a.wav", "WAVE"},
               {"a.caf", "caff"}, {"song.au", "NeXT"}, {"a.snd", "NeXT"},  {"a.m4a", "m4af"},
               {"a.mp3", "MPG3"}, {"a.mov", "MooV"}};
  for (const auto& c : cases) {
    const char* t = c.type;
    EXPECT_EQ(kvfs::typeFromName(c.name), fourcc({t[0], t[1], t[2], t[3], 0})) << c.name;
  }
}

}  // namespace
