#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "../platform/tempfolder.h"
#include "foundation/appshell.h"
#include "foundation/filerefs.h"
#include "foundation/resfiles.h"

namespace {

constexpr OSType kPrefs = fourcc("Pref");

int gAlerts = 0;
void countAlert(bool)
{
  ++gAlerts;
}

class ResourceRoutines : public ::testing::Test
{
protected:
  void SetUp() override
  {
    gAlerts = 0;
    previousSound_ = SetAlertSoundProc(countAlert);
    document_ = tmp.write("doc.kovr", "tree");
    ref_ = Use_resfile(document_, &previous_);
  }
  void TearDown() override
  {
    SetAlertSoundProc(previousSound_);
    kvres::closeAllStores();
  }
  TempFolder tmp;
  FileRef document_;
  int16_t ref_ = 0, previous_ = 0;
  AlertSoundProc previousSound_ = nullptr;
};

TEST_F(ResourceRoutines, FreeIdsAndNames)
{
  ASSERT_GT(ref_, 0);
  EXPECT_EQ(FindNextFreeID(ref_, kPrefs, 128, 200), 128);  // empty: the start is free
  const unsigned char name[] =
      "\x05"
      "first";
  ASSERT_EQ(SaveNamedIDResData(ref_, kPrefs, 128, name, "a", 1), 0);
  ASSERT_EQ(SaveIDResData(ref_, kPrefs, 130, "b", 1), 0);
  EXPECT_EQ(FindNextFreeID(ref_, kPrefs, 128, 200), 129);
  ASSERT_EQ(SaveIDResData(ref_, kPrefs, 129, "c", 1), 0);
  EXPECT_EQ(FindNextFreeID(ref_, kPrefs, 128, 200), 131);
  EXPECT_EQ(FindNextFreeID(ref_, kPrefs, 128, 131), 0);  // the limit comes first
  EXPECT_EQ(NameToResID(ref_, kPrefs, name), 128);
  EXPECT_EQ(NameToResID(ref_, kPrefs,
                        reinterpret_cast<const unsigned char*>("\x03"
                                                               "abc")),
            0);
  EXPECT_EQ(FindtypedResource(kPrefs), 128);
  EXPECT_EQ(FindtypedResource(fourcc("none")), -1);
}

TEST_F(ResourceRoutines, DataIsCopiedUpToTheMaximumAndSavedWhole)
{
  ASSERT_EQ(SaveIDResData(ref_, kPrefs, 128, "abcd", 4), 0);
  char buffer[8] = "-------";
  EXPECT_EQ(LoadIDResData(ref_, kPrefs, 128, buffer, 2), 0);
  EXPECT_EQ(std::string(buffer), "ab-----");
  EXPECT_EQ(LoadIDResData(ref_, kPrefs, 127, buffer, 8), -1);

  // Longer data over an existing resource is kept whole, and its name stays.
  const unsigned char name[] =
      "\x04"
      "kept";
  ASSERT_EQ(SaveNamedIDResData(ref_, kPrefs, 140, name, "xy", 2), 0);
  ASSERT_EQ(SaveIDResData(ref_, kPrefs, 140, "0123456", 7), 0);
  unsigned char back[256] = {};
  char data[8] = {};
  EXPECT_EQ(LoadIDNamedResData(ref_, kPrefs, 140, back, data, 8), 0);
  EXPECT_EQ(std::string(data), "0123456");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(back + 1), back[0]), "kept");

  // The store on disk holds the change once written.
  kvres::Store disk;
  ASSERT_TRUE(kvres::readStoreFile(kvres::companionOf(document_).path(), &disk, nullptr));
  ASSERT_NE(disk.find(kPrefs, 140), nullptr);
  EXPECT_EQ(disk.find(kPrefs, 140)->data.size(), 7u);

  Handle h = nullptr;
  ASSERT_EQ(LoadIDResHandle(kPrefs, 140, &h), 0);
  EXPECT_EQ(GetHandleSize(h), 7);
  DisposeHandle(h);
  EXPECT_EQ(LoadIDResHandle(kPrefs, 1, &h), -1);
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(gAlerts, 0);
}

TEST_F(ResourceRoutines, ReplaceRemoveAndCloseRestoreTheCurrentStore)
{
  const unsigned char name[] =
      "\x03"
      "new";
  ASSERT_EQ(SaveIDResPtr(ref_, kPrefs, 5, name, "12", 2), 0);
  Handle h = NewHandle(3);
  memcpy(*h, "xyz", 3);
  EXPECT_EQ(SaveIDResHandle(ref_, kPrefs, 5, name, h), 0);
  EXPECT_EQ(SaveIDResHandle(ref_, kPrefs, 5, name, nullptr), -1);
  DisposeHandle(h);
  char data[4] = {};
  EXPECT_EQ(LoadResData(ref_, kPrefs, name, data, 3), 0);
  EXPECT_EQ(std::string(data), "xyz");
  EXPECT_EQ(RemovePreviousResId(ref_, kPrefs, 5), 0);
  EXPECT_EQ(LoadResData(ref_, kPrefs, name, data, 3), -1);
  EXPECT_EQ(RemovePreviousResId(ref_, kPrefs, 5), 0);  // nothing left to remove

  Close_resfile(ref_, previous_);
  EXPECT_EQ(kvres::currentStore(), previous_);
  EXPECT_EQ(kvres::storePath(ref_), "");

  // A read-only store refuses changes and the failure gives the alert sound.
  int16_t before = 0;
  int16_t ro = Use_resfile(document_, &before, fsRdPerm);
  ASSERT_GT(ro, 0);
  EXPECT_EQ(SaveIDResData(ro, kPrefs, 1, "a", 1), wrPermErr);
  EXPECT_EQ(gAlerts, 1);
  Close_resfile(ro, before);

  // A missing document: two alert sounds and no reference.
  EXPECT_LE(Use_resfile(tmp.ref("missing.kovr"), &before), 0);
  EXPECT_EQ(gAlerts, 3);
}

TEST(FileSpecs, EqualityRebuildFolderAndFreeSpace)
{
  TempFolder tmp;
  FileRef folder = tmp.folder("a/b");
  FileRef viaDots = FileRef{tmp.ref("a").path() + "/b/..", "b"};
  EXPECT_FALSE(myequalspec(viaDots, folder));
  EXPECT_EQ(rebuild_spec(&viaDots), 0);
  EXPECT_TRUE(
      myequalspec(viaDots, FileRef::fromPath(std::filesystem::canonical(folder.path()).string())));
  FileRef missing = tmp.ref("nothing");
  EXPECT_EQ(rebuild_spec(&missing), fnfErr);
  EXPECT_EQ(missing, tmp.ref("nothing"));

  FileRef inside = folder;
  EXPECT_TRUE(openfolderspec(&inside));
  EXPECT_EQ(inside.parent, folder.path());
  FileRef file = tmp.write("a/f.txt", "x");
  EXPECT_FALSE(openfolderspec(&file));

  EXPECT_GT(GetDiskFreeSpace(folder), 0);
  EXPECT_EQ(GetDiskFreeSpace(tmp.ref("nothing/there")), -1);
}

}  // namespace
