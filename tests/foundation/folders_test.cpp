#include "foundation/folders.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "foundation/iodata.h"
#include "tests/platform/tempfolder.h"

namespace {

bool acceptAll(const FileRef&, const FileInfo&)
{
  return true;
}

// Paths relative to the temporary folder, in the order they were stored.
std::vector<std::string> relative(const TempFolder& tmp, const FileRef* refs, int32_t count)
{
  std::vector<std::string> names;
  size_t prefix = tmp.root().path().size() + 1;
  for (int32_t i = 0; i < count; ++i)
    names.push_back(refs[i].path().substr(prefix));
  return names;
}

// root: a.txt, B.txt, c.jpg, sub/(d.txt, deep/(e.txt)), z.txt
class FolderWalkTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    for (const char* f : {"a.txt", "B.txt", "c.jpg", "sub/d.txt", "sub/deep/e.txt", "z.txt"})
      tmp.write(f);
  }
  std::vector<std::string> files(int32_t skip, int32_t maximum, int32_t depth,
                                 MatchProcPtr match = acceptAll)
  {
    std::vector<FileRef> out(16);
    int32_t n = IterateFiles_searchproc(tmp.root(), match, out.data(), skip,
                                        std::min<int32_t>(maximum, 16), depth);
    return relative(tmp, out.data(), n);
  }
  TempFolder tmp;
};

using Names = std::vector<std::string>;

TEST_F(FolderWalkTest, FilesInNameOrderWithMaximumSkipAndDepth)
{
  struct Case
  {
    int32_t skip, maximum, depth;
    Names expected;
  };
  const Case cases[] = {
      {0, 16, 0, {"B.txt", "a.txt", "c.jpg", "sub", "z.txt"}},  // depth 0 offers the folder
      {0, 16, 1, {"B.txt", "a.txt", "c.jpg", "sub/d.txt", "sub/deep", "z.txt"}},
      {0, 16, 2, {"B.txt", "a.txt", "c.jpg", "sub/d.txt", "sub/deep/e.txt", "z.txt"}},
      {0, 16, -1, {"B.txt", "a.txt", "c.jpg", "sub/d.txt", "sub/deep/e.txt", "z.txt"}},
      {0, 1, 2, {"B.txt"}},
      {0, 4, 2, {"B.txt", "a.txt", "c.jpg", "sub/d.txt"}},
      // skip counts places in each folder's own listing
      {2, 16, 2, {"c.jpg", "z.txt"}},
      {1, 16, 2, {"a.txt", "c.jpg", "z.txt"}},
      {0, 0, 2, {}},
      {0, -3, 2, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(files(c.skip, c.maximum, c.depth), c.expected)
        << "skip " << c.skip << " max " << c.maximum << " depth " << c.depth;
}

TEST_F(FolderWalkTest, TypeListChoosesFiles)
{
  std::vector<FileRef> out(8);
  int32_t n = xBuildFileList(tmp.root(), fourcc("TEXT"), out.data(), 8, 2);
  EXPECT_EQ(relative(tmp, out.data(), n),
            (Names{"B.txt", "a.txt", "sub/d.txt", "sub/deep/e.txt", "z.txt"}));
  EXPECT_EQ(gIOdata.typeList[0], fourcc("TEXT"));
  EXPECT_EQ(gIOdata.typeCount, 1);
  // Several matches in one batch, maximum 1.
  EXPECT_EQ(xBuildFileList(tmp.root(), fourcc("TEXT"), out.data(), 1, 2), 1);

  gIOdata.typeList[0] = fourcc("JPEG");
  gIOdata.typeCount = 1;
  EXPECT_TRUE(folderhastypeprocptr(tmp.root()));
  gIOdata.typeList[0] = fourcc("TEXT");
  EXPECT_TRUE(folderhastypeprocptr(tmp.ref("sub")));  // in a direct sub-folder
  tmp.folder("empty/level1/level2");
  tmp.write("empty/level1/level2/far.txt");
  EXPECT_FALSE(folderhastypeprocptr(tmp.ref("empty")));  // two levels down is too far
}

TEST_F(FolderWalkTest, SubFoldersWithDepth)
{
  tmp.folder("sub/other");
  std::vector<FileRef> out(8);
  int32_t n = IterateFolder_searchproc(tmp.root(), acceptAll, out.data(), 8, 0);
  EXPECT_EQ(relative(tmp, out.data(), n), (Names{"sub"}));
  n = IterateFolder_searchproc(tmp.root(), acceptAll, out.data(), 8, 1);
  EXPECT_EQ(relative(tmp, out.data(), n), (Names{"sub", "sub/deep", "sub/other"}));
  n = IterateFolder_searchproc(tmp.root(), acceptAll, out.data(), 2, 1);
  EXPECT_EQ(relative(tmp, out.data(), n), (Names{"sub", "sub/deep"}));

  UTF8_2_HFS("other", gIOdata.searchName);
  n = IterateFolder_searchproc(tmp.root(), matchnameprocptr, out.data(), 1, 5);
  EXPECT_EQ(relative(tmp, out.data(), n), (Names{"sub/other"}));
  EXPECT_EQ(IterateFolder_searchproc(tmp.ref("missing"), acceptAll, out.data(), 8, 1), 0);
}

TEST_F(FolderWalkTest, LinksAreFollowedButNeverInCircles)
{
  std::filesystem::create_directory_symlink(tmp.root().path(), tmp.ref("sub/deep/up").path());
  std::vector<FileRef> out(16);
  int32_t n = IterateFiles_searchproc(tmp.root(), acceptAll, out.data(), 0, 16, -1);
  EXPECT_EQ(relative(tmp, out.data(), n),
            (Names{"B.txt", "a.txt", "c.jpg", "sub/d.txt", "sub/deep/e.txt", "z.txt"}));

  std::filesystem::create_directory_symlink(tmp.ref("sub/deep").path(), tmp.ref("alias").path());
  n = IterateFiles_searchproc(tmp.root(), acceptAll, out.data(), 0, 16, 1);
  EXPECT_EQ(relative(tmp, out.data(), n), (Names{"B.txt", "a.txt", "alias/e.txt", "alias/up",
                                                 "c.jpg", "sub/d.txt", "sub/deep", "z.txt"}));
  // Folder walks do not take a link for a folder.
  n = IterateFolder_searchproc(tmp.root(), acceptAll, out.data(), 16, 0);
  EXPECT_EQ(relative(tmp, out.data(), n), (Names{"sub"}));
}

TEST(FolderCreateTest, CreatesOrTakesTheExistingFolder)
{
  TempFolder tmp;
  HFSUniStr255 name;
  UTF8_2_HFS("made", name);
  FileRef out;
  EXPECT_TRUE(xFolder_Create(tmp.root(), name, &out));
  EXPECT_TRUE(kvfs::isFolder(out));
  EXPECT_TRUE(xFolder_Create(tmp.root(), name, &out));
  tmp.write("file");
  UTF8_2_HFS("file", name);
  EXPECT_FALSE(xFolder_Create(tmp.root(), name, &out));
  UTF8_2_HFS("x", name);
  EXPECT_FALSE(xFolder_Create(tmp.ref("missing"), name, &out));
}

}  // namespace
