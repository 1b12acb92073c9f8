#include "app/prefs.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>

#include "document/videoformats.h"
#include "tests/platform/tempfolder.h"

namespace {

std::vector<uint8_t> fileBytes(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void put16(std::vector<uint8_t>& b, size_t at, int16_t v)
{
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(uint16_t(v) >> 8);
}

// Offsets of the layout documented beside the reader.
constexpr size_t kBounds = 4, kPicture = 12, kRender = 20;
constexpr size_t kFrameRate = kRender + 16;
constexpr size_t kVideoFormat = kFrameRate + 8 + 4;
constexpr size_t kTransposition = kVideoFormat + 4 + 4;

struct PrefsTest : testing::Test
{
  void SetUp() override
  {
    setenv("XDG_CONFIG_HOME", tmp.root().path().c_str(), 1);
    KVprefs_Defaults(&defaults);
    KVprefs_Defaults(&gPrefs);
  }
  void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

  // A file of the moved window on a folder that exists.
  AppPrefs moved()
  {
    AppPrefs p = defaults;
    p.windowBounds = Rect{100, 120, 500, 900};
    p.pictureSize = Rect{0, 0, 240, 320};
    p.render.frameRate = 30.0;
    p.render.sound.transposition = -5;
    p.lastFolder = tmp.root();
    return p;
  }

  TempFolder tmp;
  AppPrefs defaults;
};

TEST_F(PrefsTest, FilesOfEveryKindGiveWhatTheyHoldWholeAndValid)
{
  const AppPrefs good = moved();
  const std::vector<uint8_t> full = KVprefs_Serialise(good);
  struct Case
  {
    const char* name;
    std::function<std::vector<uint8_t>()> bytes;  // empty function: no file
    bool read;                                    // ReadPreferences' answer
    std::function<void(const AppPrefs&)> check;
  };
  auto isDefault = [&](const AppPrefs& p) {
    EXPECT_EQ(p.windowBounds, defaults.windowBounds);
    EXPECT_EQ(p.pictureSize, defaults.pictureSize);
    EXPECT_EQ(p.render.frameRate, defaults.render.frameRate);
    EXPECT_EQ(p.lastFolder, defaults.lastFolder);
  };
  std::mt19937 random(7);
  const Case cases[] = {
      {"no file", nullptr, false, isDefault},
      {"cut after the bounds",
       [&] { return std::vector<uint8_t>(full.begin(), full.begin() + kPicture + 3); }, true,
       [&](const AppPrefs& p) {
         EXPECT_EQ(p.windowBounds, good.windowBounds);
         EXPECT_EQ(p.pictureSize, defaults.pictureSize);  // only 3 of its 8 bytes
         EXPECT_EQ(p.lastFolder, defaults.lastFolder);
       }},
      {"KVP1 then random bytes",
       [&] {
         std::vector<uint8_t> b(full.size());
         for (uint8_t& x : b)
           x = uint8_t(random());
         std::memcpy(b.data(), "KVP1", 4);
         return b;
       },
       true,
       [&](const AppPrefs& p) {
         auto inRange = [](int16_t v) { return v >= -32000 && v <= 32000; };
         EXPECT_TRUE(inRange(p.windowBounds.top) && inRange(p.windowBounds.bottom));
         EXPECT_GT(p.windowBounds.bottom, p.windowBounds.top);
         EXPECT_TRUE(std::isfinite(p.render.frameRate));
         EXPECT_GE(p.render.frameRate, 1.0);
         EXPECT_LE(p.render.frameRate, 1000.0);
         EXPECT_GE(p.render.videoFormat, 0);
         EXPECT_LT(p.render.videoFormat, kVideoFormatCount);
         EXPECT_GE(p.render.sound.transposition, -12);
         EXPECT_LE(p.render.sound.transposition, 36);
         EXPECT_EQ(p.lastFolder, defaults.lastFolder);
       }},
      {"invalid fields",
       [&] {
         std::vector<uint8_t> b = full;
         put16(b, kBounds, 32001);              // beyond +-32000
         put16(b, kPicture + 4, 20000);         // a picture 20000 high
         std::memset(&b[kFrameRate], 0xFF, 8);  // NaN
         put16(b, kVideoFormat, kVideoFormatCount);
         put16(b, kTransposition, 37);
         return b;
       },
       true,
       [&](const AppPrefs& p) {
         EXPECT_EQ(p.windowBounds, defaults.windowBounds);
         EXPECT_EQ(p.pictureSize, defaults.pictureSize);
         EXPECT_EQ(p.render.frameRate, defaults.render.frameRate);
         EXPECT_EQ(p.render.videoFormat, defaults.render.videoFormat);
         EXPECT_EQ(p.render.sound.transposition, defaults.render.sound.transposition);
         EXPECT_EQ(p.lastFolder, good.lastFolder);  // the fields after them still count
       }},
      {"whole file", [&] { return full; }, true,
       [&](const AppPrefs& p) {
         EXPECT_EQ(p.windowBounds, good.windowBounds);
         EXPECT_EQ(p.pictureSize, good.pictureSize);
         EXPECT_EQ(p.render.frameRate, 30.0);
         EXPECT_EQ(p.render.sound.transposition, -5);
         EXPECT_EQ(p.lastFolder, good.lastFolder);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(KVprefs_File().parent);
    if (c.bytes)
      writeBytes(KVprefs_File().path(), c.bytes());
    KVprefs_Defaults(&gPrefs);
    EXPECT_EQ(ReadPreferences(), c.read);
    c.check(gPrefs);
  }
}

TEST_F(PrefsTest, AnotherFormatIsKeptAsideAndReplacedAtTheNextWrite)
{
  const std::string path = KVprefs_File().path();
  writeBytes(path, std::vector<uint8_t>(5344, 0));  // a file of the old layout
  EXPECT_FALSE(ReadPreferences());
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(fileBytes(path + ".old").size(), 5344u);
  EXPECT_EQ(gPrefs.windowBounds, defaults.windowBounds);
  ASSERT_TRUE(WritePreferences());
  EXPECT_EQ(std::memcmp(fileBytes(path).data(), "KVP1", 4), 0);
}

TEST_F(PrefsTest, BoundsAndFolderComeBackAfterARestart)
{
  gPrefs = moved();
  std::filesystem::remove_all(KVprefs_File().parent);  // the folder is made when missing
  ASSERT_TRUE(WritePreferences());
  EXPECT_FALSE(std::filesystem::exists(KVprefs_File().path() + ".tmp"));
  InitPreferencesnGlobals();
  EXPECT_EQ(gPrefs.windowBounds, (Rect{100, 120, 500, 900}));
  EXPECT_EQ(gPrefs.lastFolder, tmp.root());
  // A folder that is gone by the next start gives the default.
  const FileRef gone = tmp.ref("gone");
  std::filesystem::create_directory(gone.path());
  gPrefs.lastFolder = gone;
  ASSERT_TRUE(WritePreferences());
  std::filesystem::remove(gone.path());
  InitPreferencesnGlobals();
  EXPECT_EQ(gPrefs.lastFolder, defaults.lastFolder);
}

TEST_F(PrefsTest, AWriteThatCannotBeMadeFailsSilently)
{
  // The preferences folder's place is taken by a file.
  std::filesystem::remove_all(KVprefs_File().parent);
  writeBytes(KVprefs_File().parent, {1});
  EXPECT_FALSE(WritePreferences());
}

}  // namespace
