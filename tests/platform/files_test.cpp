#include "platform/files.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "tests/platform/tempfolder.h"

namespace {

constexpr uint32_t code(const char (&s)[5])
{
  return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
         (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

class FilesTest : public ::testing::Test
{
protected:
  FileRef makeFile(const std::string& name, const std::string& bytes = "")
  {
    return tmp.write(name, bytes);
  }

  TempFolder tmp;
  const FileRef& root = tmp.root();
};

TEST(FileRefTest, PathsSplitIntoFolderAndName)
{
  struct Case
  {
    const char* path;
    const char* parent;
    const char* name;
  };
  const Case cases[] = {
      {"/a/b", "/a", "b"},  {"/a/b/", "/a", "b"}, {"/a/./c/../b", "/a", "b"},
      {"/top", "/", "top"}, {"/", "/", ""},       {"/x/y z.kovr", "/x", "y z.kovr"},
  };
  for (const Case& c : cases) {
    FileRef ref = FileRef::fromPath(c.path);
    EXPECT_EQ(ref.parent, c.parent) << c.path;
    EXPECT_EQ(ref.name, c.name) << c.path;
    EXPECT_EQ(FileRef::fromPath(ref.serialise()), ref) << c.path;
  }
  EXPECT_TRUE(FileRef::fromPath("").empty());
  EXPECT_EQ(FileRef::fromPath("/a").child("b").path(), "/a/b");
  EXPECT_EQ(FileRef::fromPath("/").child("b").path(), "/b");
  EXPECT_EQ(FileRef::fromPath("/a/b/c").parentRef().path(), "/a/b");
}

TEST(FileTypeTest, ExtensionTableIsCaseSensitiveOnLastFourCharacters)
{
  struct Case
  {
    const char* name;
    uint32_t type;
  };
  const Case cases[] = {
      {"picture.JPG", code("JPEG")},
      {"picture.jpg", code("JPEG")},
      {"picture.jpeg", 0},
      {"picture.Jpg", 0},
      {"shot.pct", code("PICT")},
      {"shotPICT", code("PICT")},
      {".pct", 0},
      {"a.tif", code("TIFF")},
      {"a.TIFF", code("TIFF")},
      {"a.tiff", 0},
      {"a.png", 0},
      {"song.AIF", code("AIFF")},
      {"songaiff", code("AIFF")},
      {"clip.mov", code("MooV")},
      {"clip.AVI", code("VfW ")},
      {"tree.kovr", code("qjKv")},
      {"treekovr", code("qjKv")},
      {"tree.elev", code("qjKv")},
      {"kovr", 0},
      {"tree.KOVR", 0},
      {"notes.scl", code("TEXT")},
      {"noextension", 0},
      {"", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(kvfs::typeFromName(c.name), c.type) << c.name;
}

TEST_F(FilesTest, TypeAndCreatorAreKeptInExtendedAttributes)
{
  FileRef file = makeFile("data.bin", "x");
  FileInfo info;
  ASSERT_EQ(kvfs::getInfo(file, info), 0);
  EXPECT_EQ(info.fileType, 0u);
  // Also succeeds where the file system keeps no attributes.
  ASSERT_EQ(kvfs::setTypeAndCreator(file, code("ecpl"), code("Qjpr")), 0);
  if (!tmp.xattrSupported())
    GTEST_SKIP() << "no user extended attributes here";
  ASSERT_EQ(kvfs::getInfo(file, info), 0);
  EXPECT_EQ(info.fileType, code("ecpl"));
  EXPECT_EQ(info.creator, code("Qjpr"));
  EXPECT_EQ(kvfs::setTypeAndCreator(root.child("missing"), 1, 2), fnfErr);
}

TEST_F(FilesTest, ListingIsSortedByteWiseAndReportsKinds)
{
  for (const char* name : {"b", "B", "a", "\xC3\xA9t\xC3\xA9", "Z", "_"})
    makeFile(name);
  ASSERT_EQ(kvfs::createFolder(root.child("m")), 0);
  EXPECT_EQ(kvfs::createFolder(root.child("m")), dupFNErr);
  std::filesystem::create_directory_symlink(root.child("m").path(), root.child("link").path());

  OSErr err = 1;
  std::vector<FolderEntry> entries = kvfs::listFolder(root, &err);
  EXPECT_EQ(err, 0);
  std::vector<std::string> names;
  for (const FolderEntry& e : entries)
    names.push_back(e.name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"B", "Z", "_", "a", "b", "link", "m", "\xC3\xA9t\xC3\xA9"}));
  const FolderEntry& link = entries[5];
  EXPECT_TRUE(link.info.isLink);
  EXPECT_FALSE(link.info.isFolder);
  EXPECT_TRUE(link.info.targetIsFolder);
  EXPECT_TRUE(entries[6].info.isFolder);

  kvfs::listFolder(root.child("nothere"), &err);
  EXPECT_EQ(err, fnfErr);
}

TEST_F(FilesTest, ForksReadWriteAndRespectPermissions)
{
  FileRef file = makeFile("f", "hello");
  int16_t reader = kvfs::openFork(file, fsRdPerm);
  ASSERT_GT(reader, 0);
  char buf[8] = {};
  size_t actual = 0;
  EXPECT_EQ(kvfs::readFork(reader, 1, 8, buf, actual), eofErr);
  EXPECT_EQ(actual, 4u);
  EXPECT_EQ(std::string(buf, 4), "ello");
  EXPECT_EQ(kvfs::writeFork(reader, 0, 1, "x"), wrPermErr);
  EXPECT_EQ(kvfs::setForkSize(reader, 0), wrPermErr);
  EXPECT_EQ(kvfs::closeFork(reader), 0);
  EXPECT_EQ(kvfs::closeFork(reader), rfNumErr);
  EXPECT_EQ(kvfs::readFork(reader, 0, 1, buf, actual), rfNumErr);

  int16_t writer = kvfs::openFork(file, fsRdWrPerm);
  ASSERT_GT(writer, 0);
  EXPECT_EQ(kvfs::writeFork(writer, 7, 2, "ab"), 0);
  int64_t size = 0;
  EXPECT_EQ(kvfs::forkSize(writer, size), 0);
  EXPECT_EQ(size, 9);
  EXPECT_EQ(kvfs::setForkSize(writer, 3), 0);
  EXPECT_EQ(kvfs::forkSize(writer, size), 0);
  EXPECT_EQ(size, 3);
  EXPECT_EQ(kvfs::closeFork(writer), 0);
}

TEST_F(FilesTest, OnlyRegularFilesOpen)
{
  OSErr err = 0;
  EXPECT_EQ(kvfs::openFork(root, fsRdPerm, &err), 0);
  EXPECT_EQ(err, notAFileErr);
  EXPECT_EQ(kvfs::openFork(root.child("missing"), fsRdPerm, &err), 0);
  EXPECT_EQ(err, fnfErr);
  // A pipe with no writer would block a plain open for ever.
  FileRef pipe = root.child("pipe");
  ASSERT_EQ(mkfifo(pipe.path().c_str(), 0600), 0);
  EXPECT_EQ(kvfs::openFork(pipe, fsRdPerm, &err), 0);
  EXPECT_EQ(kvfs::openFork(FileRef{}, fsRdPerm, &err), 0);
}

TEST_F(FilesTest, CreateFileNeverTouchesAnExistingOne)
{
  bool created = false;
  FileRef file = root.child("new");
  EXPECT_EQ(kvfs::createFile(file, created), 0);
  EXPECT_TRUE(created);
  makeFile("old", "keep");
  EXPECT_EQ(kvfs::createFile(root.child("old"), created), 0);
  EXPECT_FALSE(created);
  EXPECT_EQ(std::filesystem::file_size(root.child("old").path()), 4u);
  EXPECT_EQ(kvfs::createFile(root.child("no/such"), created), fnfErr);
}

TEST_F(FilesTest, PreferencesFolderFollowsXdgConfigHome)
{
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  std::string savedValue = saved ? saved : "";
  setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
  EXPECT_EQ(kvfs::preferencesFolder().path(), "/somewhere/config/kovrelin");
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') {
    EXPECT_EQ(kvfs::preferencesFolder(),
              FileRef::fromPath(std::string(home) + "/.config/kovrelin"));
  }
  if (saved)
    setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

TEST(AppFoldersTest, ExecutableFolderHoldsThisTest)
{
  FileRef folder = kvfs::executableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(kvfs::isRegularFile(folder.child("test_platform")));
}

}  // namespace
