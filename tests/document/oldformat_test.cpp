// The old tree format's converter on records made here: a record with more
// than 32 components keeps the part converted before the limit, and the
// input references are written back only on request, over their own bytes.
#include "document/oldformat.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

#include "foundation/bigendian.h"
#include "tests/document/sample_tree.h"
#include "tests/platform/tempfolder.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A record of `levels` levels of `perLevel` components of f21 member 0.
Bytes recordOf(int levels, int perLevel)
{
  Bytes record(kOldTreeRecordSize, 0);
  be::put_i16(&record[0], 14);
  be::put_i16(&record[2], int16_t(levels - 1));
  for (int level = 0; level < levels; ++level) {
    const size_t at = 228 * size_t(level);
    be::put_u32(&record[at + 4], uint32_t(perLevel));
    for (int i = 0; i < perLevel; ++i) {
      unsigned char* c = &record[at + 8 + 56 * size_t(i)];
      be::put_u16(c, kFamily21);
      be::put_u16(c + 4, uint16_t(level * 4 + i));
      for (int k = 0; k < 3; ++k)
        be::put_i32(c + 36 + 4 * k, -1);
      be::put_i16(c + 10, -1);
    }
  }
  return record;
}

Bytes contentsOf(const FileRef& file)
{
  std::ifstream in(file.path(), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST(OldFormat, RefusedRecordsKeepWhatWasConverted)
{
  auto world = kvsample::makeWorld();
  Bytes many = recordOf(9, 4);  // 36 components
  Bytes unknown = recordOf(2, 2);
  be::put_u16(&unknown[228 + 8 + 56], 99);  // the fourth component's family
  struct Case
  {
    const char* what;
    const Bytes& record;
    int kept;
  } cases[] = {{"36 components", many, 32}, {"family 99", unknown, 3}};
  for (const Case& c : cases) {
    EXPECT_EQ(
        arb_oldformatREAD(&world->doc, FileRef{}, true, false, c.record.data(), c.record.size()),
        kOldTreeRefused)
        << c.what;
    EXPECT_EQ(world->doc.tree.count, c.kept) << c.what;
  }
  arb_Clear(&world->doc, true, true);
  gKovrelinWorld = nullptr;
}

TEST(OldFormat, InputReferencesAreReplacedOnlyWhenAsked)
{
  TempFolder folder;
  const FileRef file = folder.root().child("old.tree");
  Bytes stored = recordOf(1, 1);
  stored.resize(stored.size() + 100, 0x5A);  // a sub-tree section's beginning
  std::ofstream(file.path(), std::ios::binary)
      .write(reinterpret_cast<const char*>(stored.data()), std::streamsize(stored.size()));

  Bytes changed = stored;
  for (size_t i = 33600; i < kOldTreeRecordSize; ++i)
    changed[i] = uint8_t(i);
  ASSERT_EQ(arb_oldreplaceInputRefs(file, changed.data()), 0);
  const Bytes now = contentsOf(file);
  ASSERT_EQ(now.size(), stored.size());
  for (size_t i = 0; i < now.size(); ++i) {
    const bool reference = i >= 33796 && i < kOldTreeRecordSize;
    ASSERT_EQ(now[i], reference ? changed[i] : stored[i]) << "byte " << i;
  }

  // A file shorter than a record is left alone.
  const FileRef shortFile = folder.root().child("short.tree");
  std::ofstream(shortFile.path(), std::ios::binary) << "short";
  EXPECT_NE(arb_oldreplaceInputRefs(shortFile, changed.data()), 0);
  EXPECT_EQ(contentsOf(shortFile).size(), 5u);
}

}  // namespace
