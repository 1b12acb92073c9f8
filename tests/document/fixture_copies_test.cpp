// Every fixture tree file reads, is written back by the program, and the copy
// reads and writes again to the very same bytes: nothing the reader keeps is
// lost or changed by the writer. The copies are kept for the render check
// that draws each fixture and its copy (treefile_roundtrip_check.py): in the
// folder that KV_FIXTURE_COPIES names, else in the build tree.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

#include "document/treefile.h"
#include "foundation/appshell.h"
#include "foundation/bigendian.h"
#include "tests/document/sample_tree.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

Bytes readAll(const fs::path& path)
{
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

fs::path copiesFolder()
{
  if (const char* chosen = std::getenv("KV_FIXTURE_COPIES"))
    return chosen;
  return fs::path(KV_BINARY_DIR) / "tests" / "document" / "fixture_copies";
}

std::vector<fs::path> fixtureTrees()
{
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(fs::path(KV_SOURCE_DIR) / "tests/fixtures/trees"))
    if (e.path().extension() == ".kovr")
      files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Reads `from` as the browser does (tables and sound included) and writes it
// as `to`. False, with the failure recorded, when either step fails.
bool readAndWrite(const fs::path& from, const fs::path& to)
{
  auto world = kvsample::makeWorld(1);
  sSoundfunc sound{};
  KVfileProblem problem;
  int16_t result =
      arb_READ(&world->doc, FileRef::fromPath(from.string()), true, true, &sound, &problem);
  EXPECT_EQ(result, kTreeReadOK) << from << (problem ? problem.what : "");
  OSErr err = paramErr;
  if (result == kTreeReadOK) {
    frefinfos ref;
    ref.parent = FileRef::fromPath(to.parent_path().string());
    kvsample::setPascal(ref.name, to.filename().c_str());
    err = arb_WRITE(&world->doc, &ref, &sound);
    EXPECT_EQ(err, 0) << to;
  }
  arb_Clear(&world->doc, true, true);
  gKovrelinWorld = nullptr;
  return result == kTreeReadOK && err == 0;
}

TEST(FixtureTrees, WrittenCopiesReadAndWriteBackToTheSameBytes)
{
  AlertSoundProc previous = SetAlertSoundProc([](bool) {});
  const fs::path folder = copiesFolder();
  fs::create_directories(folder);
  const std::vector<fs::path> fixtures = fixtureTrees();
  ASSERT_FALSE(fixtures.empty());
  for (const fs::path& fixture : fixtures) {
    SCOPED_TRACE(fixture.filename().string());
    const fs::path copy = folder / fixture.filename();
    const fs::path again = folder / (fixture.stem().string() + ".again");
    if (!readAndWrite(fixture, copy) || !readAndWrite(copy, again))
      continue;
    // The copy holds the current record and as many sub-tree sections as the
    // fixture: nothing was dropped that a picture might not show.
    const Bytes original = readAll(fixture);
    const Bytes written = readAll(copy);
    const size_t originalRecord = be::get_i16(original.data()) < kFirstWideTreeVersion
                                      ? kNarrowTreeRecordSize
                                      : kTreeRecordSize;
    ASSERT_GE(written.size(), kTreeRecordSize);
    EXPECT_EQ(written.size() - kTreeRecordSize, original.size() - originalRecord);
    EXPECT_EQ(readAll(again), written);
    fs::remove(again);
  }
  SetAlertSoundProc(previous);
}

}  // namespace
