#include "engine/palettefiles.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "foundation/bigendian.h"
#include "tests/engine/patterned_palettes.h"
#include "tests/platform/tempfolder.h"

namespace {

// The patterned library with its header fields set too.
cpalettelib patternedLibrary()
{
  cpalettelib lib = patternedPalettes();
  lib.highestUsed = 17;
  lib.reserved = 5;
  return lib;
}

bool samePalette(const cpalette& a, const cpalette& b)
{
  if (a.count != b.count)
    return false;
  for (int i = 0; i < kPaletteSlots; ++i)
    if (!(a.colors[i] == b.colors[i]))
      return false;
  return true;
}

// File bytes of a library whose slot counts are given; colours from the pattern.
std::string libraryFileWithCounts(const std::vector<uint32_t>& counts)
{
  cpalettelib lib = patternedLibrary();
  std::string bytes(kPaletteLibFileBytes, '\0');
  auto* p = reinterpret_cast<unsigned char*>(bytes.data());
  for (int k = 0; k < kPaletteLibSize; ++k) {
    be::put_u32(p + k * 260, k < int(counts.size()) ? counts[k] : 0);
    for (int i = 0; i < kPaletteSlots; ++i)
      std::memcpy(p + k * 260 + 4 + i * 4, &lib.palettes[k].colors[i], 4);
  }
  return bytes;
}

TEST(PaletteLibraryFileTest, WriteThenReadRestoresEverySlot)
{
  TempFolder tmp;
  FileRef file = tmp.ref("Palettes");
  cpalettelib lib = patternedLibrary();
  ASSERT_TRUE(write_cpalettelib(&lib, file));
  EXPECT_EQ(lib.highestUsed, 0);
  EXPECT_EQ(lib.reserved, 0);

  std::string bytes = TempFolder::read(file);
  ASSERT_EQ(bytes.size(), size_t(kPaletteLibFileBytes));
  auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  EXPECT_EQ(be::get_u32(p + 260), 7u);  // slot 1's count, big-endian
  EXPECT_EQ(p[4], 255);                 // slot 0 colour 0: flag first
  EXPECT_EQ(be::get_u32(p + 16640), 0u);
  EXPECT_EQ(be::get_u32(p + 16644), 0u);

  cpalettelib back{};
  ASSERT_TRUE(read_cpalettelib(&back, file));
  cpalettelib expected = patternedLibrary();
  for (int k = 0; k < kPaletteLibSize; ++k)
    EXPECT_TRUE(samePalette(back.palettes[k], expected.palettes[k])) << "slot " << k;
  EXPECT_EQ(back.highestUsed, 1);
  EXPECT_EQ(back.reserved, 0);

  // Writing over a longer file leaves exactly the library.
  tmp.write("Long", std::string(20000, 'x'));
  ASSERT_TRUE(write_cpalettelib(&lib, tmp.ref("Long")));
  EXPECT_EQ(TempFolder::read(tmp.ref("Long")), bytes);
}

TEST(PaletteLibraryFileTest, StoredCountsAreUnsignedAndHeldTo63)
{
  TempFolder tmp;
  const std::vector<uint32_t> stored = {200, 0x80000000u, 0xFFFFFFFFu, 64, 63, 0, 1};
  const int32_t expected[] = {63, 63, 63, 63, 63, 0, 1};
  FileRef file = tmp.write("lib", libraryFileWithCounts(stored));
  cpalettelib lib{};
  ASSERT_TRUE(read_cpalettelib(&lib, file));
  for (size_t k = 0; k < stored.size(); ++k)
    EXPECT_EQ(lib.palettes[k].count, expected[k]) << k;

  for (size_t k = 0; k < stored.size(); ++k) {
    std::string single = libraryFileWithCounts({stored[k]}).substr(0, kPaletteFileBytes);
    cpalette palette;
    ASSERT_TRUE(read_cpalette(&palette, tmp.write("single", single)));
    EXPECT_EQ(palette.count, expected[k]) << k;
  }
}

TEST(PaletteLibraryFileTest, DamagedFilesLeaveTheLibraryAsItWas)
{
  TempFolder tmp;
  const std::string whole = libraryFileWithCounts({5, 6, 7});
  struct Case
  {
    const char* name;
    size_t bytes;
    bool readable;
  };
  const Case cases[] = {
      {"empty", 0, false},
      {"hundred", 100, false},
      {"one slot short", 16640 - 1, false},
      {"slots without trailer", 16640, true},
      {"whole", 16648, true},
  };
  for (const Case& c : cases) {
    cpalettelib lib = patternedLibrary();
    FileRef file = tmp.write("lib", whole.substr(0, c.bytes));
    EXPECT_EQ(read_cpalettelib(&lib, file), c.readable) << c.name;
    if (c.readable) {
      EXPECT_EQ(lib.palettes[2].count, 7) << c.name;
    } else {
      cpalettelib untouched = patternedLibrary();
      EXPECT_EQ(std::memcmp(&lib, &untouched, sizeof lib), 0) << c.name;
    }
  }
  cpalettelib lib = patternedLibrary();
  EXPECT_FALSE(read_cpalettelib(&lib, tmp.ref("missing")));
  EXPECT_FALSE(read_cpalettelib(&lib, tmp.root()));
  EXPECT_FALSE(write_cpalettelib(&lib, tmp.ref("missing/Palettes")));
}

TEST(PaletteFileTest, SinglePaletteRoundTripAndShortFiles)
{
  TempFolder tmp;
  cpalette palette = patternedLibrary().palettes[9];
  FileRef file = tmp.ref("gradient");
  ASSERT_TRUE(write_cpalette(&palette, file));
  EXPECT_EQ(TempFolder::read(file).size(), size_t(kPaletteFileBytes));
  cpalette back;
  ASSERT_TRUE(read_cpalette(&back, file));
  EXPECT_TRUE(samePalette(back, palette));

  cpalette kept = palette;
  EXPECT_FALSE(read_cpalette(&kept, tmp.write("short", std::string(259, '\0'))));
  EXPECT_TRUE(samePalette(kept, palette));
  EXPECT_FALSE(read_cpalette(&kept, tmp.ref("missing")));
  EXPECT_TRUE(samePalette(kept, palette));
}

TEST(PaletteLibraryDeathTest, FailedWriteIsReportedAsFailure)
{
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TempFolder tmp;
  EXPECT_EXIT(
      {
        LimitFileSizeForThisProcess(1000);
        cpalettelib lib = patternedLibrary();
        std::exit(write_cpalettelib(&lib, tmp.ref("Palettes")) ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(DefaultPaletteLibraryTest, ReadFromResourcesWhenPresent)
{
  TempFolder tmp;
  cpalettelib lib;
  init_cpalettelib(&lib);
  cpalettelib builtIn = lib;
  FileRef ref;
  EXPECT_FALSE(load_default_cpalettelib(&lib, tmp.root(), &ref));
  EXPECT_EQ(ref, tmp.ref("Palettes"));
  EXPECT_EQ(std::memcmp(&lib, &builtIn, sizeof lib), 0);
  EXPECT_FALSE(load_default_cpalettelib(&lib, FileRef{}, &ref));

  tmp.write("Palettes", libraryFileWithCounts({3}));
  ASSERT_TRUE(load_default_cpalettelib(&lib, tmp.root(), &ref));
  EXPECT_EQ(lib.palettes[0].count, 3);
  EXPECT_EQ(lib.palettes[1].count, 0);
}

}  // namespace
