#include "foundation/doubletables.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

#include "foundation/bigendian.h"
#include "foundation/iodata.h"
#include "tests/platform/tempfolder.h"

namespace {

frefinfos record(const FileRef& folder, const std::string& name)
{
  frefinfos r;
  r.parent = folder;
  r.name[0] = uint8_t(name.size());
  std::memcpy(r.name + 1, name.data(), name.size());
  return r;
}

// A file of doubles 0.5, 1.5, 2.5 ... written big-endian, plus `extra` bytes.
std::string tableBytes(int count, int extra = 0)
{
  std::string bytes(size_t(count) * 8 + size_t(extra), '\x7f');
  for (int i = 0; i < count; ++i)
    be::put_f64(reinterpret_cast<unsigned char*>(bytes.data()) + i * 8, i + 0.5);
  return bytes;
}

TEST(DoubleTableTest, CountIsFileSizeOverEightHeldToTheMaximum)
{
  TempFolder tmp;
  FileRef file = tmp.write("t", tableBytes(125));  // 1000 bytes
  struct Case
  {
    int32_t maximum, expected;
  };
  for (const Case& c : {Case{512, 125}, Case{100, 100}, Case{125, 125}, Case{0, 0}, Case{-5, 0}}) {
    std::vector<double> table(512, -1.0);
    EXPECT_EQ(lowread_table(table.data(), c.maximum, file), c.expected) << c.maximum;
    for (int32_t i = 0; i < c.expected; ++i)
      ASSERT_EQ(table[i], i + 0.5);
    EXPECT_EQ(table[std::max(c.expected, 0)], -1.0) << "nothing stored past the count";
  }
}

TEST(DoubleTableTest, DamagedOrMissingFilesGiveNothing)
{
  TempFolder tmp;
  struct Case
  {
    const char* name;
    std::string bytes;
    int32_t expected;
  };
  const Case cases[] = {
      {"empty", "", 0},
      {"short", "1234567", 0},
      {"ragged", tableBytes(3, 5), 3},  // a partial last double is not read
  };
  double table[8];
  for (const Case& c : cases)
    EXPECT_EQ(lowread_table(table, 8, tmp.write(c.name, c.bytes)), c.expected) << c.name;
  EXPECT_EQ(lowread_table(table, 8, tmp.ref("missing")), 0);
  EXPECT_EQ(lowread_table(table, 8, tmp.root()), 0);
  EXPECT_EQ(directread_table(table, 8, record(tmp.root(), "missing")), 0);
}

TEST(DoubleTableTest, WriteThenReadReproducesEveryDouble)
{
  TempFolder tmp;
  const double values[] = {1.0,
                           -0.0,
                           3.141592653589793,
                           -1e250,
                           std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::max()};
  const int32_t n = int32_t(std::size(values));
  frefinfos rec = record(tmp.root(), "wave.tbl");
  ASSERT_EQ(directwrite_table(values, n, rec, fourcc("wave"), fourcc("Qjpr")), 0);
  EXPECT_EQ(rec.type, fourcc("wave"));
  EXPECT_EQ(gIOdata.resultRef, tmp.ref("wave.tbl"));

  std::string bytes = TempFolder::read(tmp.ref("wave.tbl"));
  ASSERT_EQ(bytes.size(), size_t(n) * 8);
  EXPECT_EQ(uint8_t(bytes[0]), 0x3F);  // 1.0 big-endian
  EXPECT_EQ(uint8_t(bytes[8]), 0x80);  // the sign of -0.0 comes first

  double back[16];
  ASSERT_EQ(directread_table(back, 16, rec), n);
  for (int32_t i = 0; i < n; ++i)
    EXPECT_EQ(std::memcmp(&back[i], &values[i], sizeof(double)), 0) << i;

  // A shorter table replaces a longer one whole.
  ASSERT_EQ(directwrite_table(values, 2, rec, fourcc("wave"), 0), 0);
  EXPECT_EQ(lowread_table(back, 16, tmp.ref("wave.tbl")), 2);

  frefinfos nowhere = record(tmp.ref("missing"), "x");
  EXPECT_NE(directwrite_table(values, 2, nowhere, fourcc("wave"), 0), 0);
}

TEST(DoubleTableTest, ForkLevelOffsetsAndRanges)
{
  TempFolder tmp;
  FileRef file = tmp.write("t");
  int16_t fork = PBfFile_Open(file, fsRdWrPerm);
  ASSERT_NE(fork, 0);
  const double a[2] = {2.0, -4.0};
  EXPECT_EQ(write_UNIdouble(a, 2, fork, 8), 24);
  double back[3] = {9, 9, 9};
  EXPECT_EQ(read_UNIdouble(back, 3, fork, 0), 24);
  EXPECT_EQ(back[0], 0.0);  // the gap before offset 8 reads as zero
  EXPECT_EQ(back[1], 2.0);
  EXPECT_EQ(back[2], -4.0);
  EXPECT_EQ(read_UNIdouble(back, 1, fork, 24), 32);  // past the end: 0.0
  EXPECT_EQ(back[0], 0.0);
  EXPECT_EQ(read_UNIdouble(back, -1, fork, 0), -1);
  EXPECT_EQ(read_UNIdouble(back, 1 << 28, fork, 0), -1);  // passes 32-bit offsets
  EXPECT_EQ(write_UNIdouble(a, 1, fork, std::numeric_limits<int32_t>::max() - 4), -1);
  EXPECT_EQ(write_UNIdouble(a, 1, 0, 0), -1);
  PBfFile_Close(fork);
}

TEST(DoubleTableDeathTest, FailedWriteIsReportedAsFailure)
{
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TempFolder tmp;
  std::vector<double> table(1024, 1.0);
  EXPECT_EXIT(
      {
        LimitFileSizeForThisProcess(1000);
        frefinfos rec = record(tmp.root(), "big");
        OSErr err = directwrite_table(table.data(), 1024, rec, fourcc("Qjtb"), 0);
        std::exit(err != 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
