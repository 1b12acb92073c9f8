#include "foundation/fileio.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "foundation/iodata.h"
#include "tests/platform/tempfolder.h"

namespace {

// A Pascal string from a C string literal.
struct PName
{
  explicit PName(const std::string& text)
  {
    bytes[0] = uint8_t(text.size());
    std::memcpy(bytes + 1, text.data(), text.size());
  }
  Str255 bytes = {};
};

HFSUniStr255 hfs(const std::string& text)
{
  HFSUniStr255 name;
  UTF8_2_HFS(text, name);
  return name;
}

frefinfos record(const FileRef& folder, const std::string& name, OSType type = 0)
{
  frefinfos r;
  r.parent = folder;
  r.type = type;
  r.name[0] = uint8_t(name.size());
  std::memcpy(r.name + 1, name.data(), name.size());
  return r;
}

TEST(ForkReadTest, BytesPastTheEndReadAsZeroOddCountsIncluded)
{
  TempFolder tmp;
  std::string content(100, 'x');
  for (int i = 0; i < 100; ++i)
    content[i] = char('A' + i % 26);
  FileRef file = tmp.write("data", content);
  int16_t fork = PBfFile_Open(file, fsRdPerm);
  ASSERT_NE(fork, 0);

  struct Case
  {
    int32_t count;
    int32_t offset;
    int32_t remaining;
  };
  for (const Case& c :
       {Case{100, 39, 61}, Case{99, 39, 61}, Case{7, 98, 2}, Case{5, 100, 0}, Case{3, 5000, 0}}) {
    std::vector<unsigned char> buf(c.count, 0xAA);
    EXPECT_EQ(PBfFile_Read(fork, c.count, buf.data(), c.offset, false, kNoCacheMode), 0);
    for (int32_t i = 0; i < c.count; ++i) {
      unsigned char expected = i < c.remaining ? uint8_t(content[c.offset + i]) : 0;
      ASSERT_EQ(buf[i], expected) << "count " << c.count << " offset " << c.offset << " byte " << i;
    }
  }
  unsigned char one = 0xAA;
  EXPECT_EQ(PBfFile_Read(fork, 1, &one, -1, false, 0), paramErr);
  EXPECT_EQ(PBfFile_Close(fork), 0);
}

TEST(ForkReadTest, ForkZeroIsRefusedWithoutTouchingTheBuffer)
{
  unsigned char buf[4] = {1, 2, 3, 4};
  EXPECT_EQ(PBfFile_Read(0, 4, buf, 0, false, kNoCacheMode), -1);
  EXPECT_EQ(PBfFile_Write(0, 4, buf, 0, false), -1);
  EXPECT_EQ(buf[0], 1);
  EXPECT_EQ(buf[3], 4);
  EXPECT_NE(PBfFile_Close(0), 0);
}

TEST(CreateTest, ExistingFileKeepsTypeCreatorAndBytes)
{
  TempFolder tmp;
  FileRef out;
  int16_t fork = xFile_Create(tmp.root(), hfs("doc.bin"), fourcc("TEXT"), fourcc("Qjpr"), &out);
  ASSERT_NE(fork, 0);
  EXPECT_EQ(out, tmp.ref("doc.bin"));
  EXPECT_EQ(PBfFile_Write(fork, 6, "stored", 0, false), 0);
  EXPECT_EQ(PBfFile_Close(fork), 0);

  fork = xFile_Create(tmp.root(), hfs("doc.bin"), fourcc("wave"), fourcc("XXXX"), nullptr);
  ASSERT_NE(fork, 0);
  char buf[6];
  EXPECT_EQ(PBfFile_Read(fork, 6, buf, 0, false, kNoCacheMode), 0);
  EXPECT_EQ(std::string(buf, 6), "stored");
  EXPECT_EQ(PBfFile_Write(fork, 1, "S", 0, false), 0);  // opened read/write
  EXPECT_EQ(PBfFile_Close(fork), 0);
  EXPECT_EQ(TempFolder::read(out), "Stored");
  if (tmp.xattrSupported()) {
    FileInfo info;
    ASSERT_EQ(kvfs::getInfo(out, info), 0);
    EXPECT_EQ(info.fileType, fourcc("TEXT"));
    EXPECT_EQ(info.creator, fourcc("Qjpr"));
  }

  EXPECT_EQ(xFile_Create(tmp.ref("missing"), hfs("x"), 0, 0, nullptr), 0);
  EXPECT_EQ(xFile_Create(tmp.root(), hfs(""), 0, 0, nullptr), 0);
  EXPECT_EQ(xFile_Create(tmp.root(), hfs("a/b"), 0, 0, nullptr), 0);
}

TEST(WholeFileTest, WriteBufferReplacesTheWholeFile)
{
  TempFolder tmp;
  tmp.write("prefs", std::string(50, 'o'));
  EXPECT_EQ(xWriteBuffer("new", 3, tmp.root(), PName("prefs").bytes, 0, 0), 1);
  EXPECT_EQ(TempFolder::read(tmp.ref("prefs")), "new");
  EXPECT_EQ(xWriteBuffer("fresh", 5, tmp.root(), PName("made").bytes, 0, 0), 1);
  EXPECT_EQ(TempFolder::read(tmp.ref("made")), "fresh");
  EXPECT_EQ(xWriteBuffer("x", 1, tmp.ref("nofolder"), PName("f").bytes, 0, 0), 0);
}

TEST(WholeFileDeathTest, FailedWriteIsReportedAsFailure)
{
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TempFolder tmp;
  std::vector<char> big(4096, 'b');
  EXPECT_EXIT(
      {
        LimitFileSizeForThisProcess(1000);
        int16_t result =
            xWriteBuffer(big.data(), int32_t(big.size()), tmp.root(), PName("big").bytes, 0, 0);
        std::exit(result == 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(WholeFileTest, ReadBufferAndHandleHoldTheWholeFile)
{
  TempFolder tmp;
  FileRef file = tmp.write("blob", std::string("a\0b", 3));
  auto block = xReadBuffer(file);
  ASSERT_TRUE(block.has_value());
  EXPECT_EQ(std::string(block->begin(), block->end()), std::string("a\0b", 3));
  auto empty = xReadBuffer(tmp.write("empty"));
  ASSERT_TRUE(empty.has_value());
  EXPECT_TRUE(empty->empty());
  EXPECT_FALSE(xReadBuffer(tmp.ref("missing")).has_value());
  EXPECT_FALSE(xReadBuffer(tmp.root()).has_value());

  Handle h = xReadHandle(file);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetHandleSize(h), 3);
  EXPECT_EQ(std::string(*h, 3), std::string("a\0b", 3));
  DisposeHandle(h);
  EXPECT_EQ(xReadHandle(tmp.ref("missing")), nullptr);
}

TEST(FileTypeTest, TypeComesFromStoredCodeThenName)
{
  TempFolder tmp;
  struct Case
  {
    const char* name;
    OSType expected;
  };
  for (const Case& c :
       {Case{"picture.JPG", fourcc("JPEG")}, Case{"picture.jpeg", 0}, Case{".pct", 0},
        Case{"tree.kovr", fourcc("qjKv")}, Case{"treeelev", fourcc("qjKv")}, Case{"plain", 0}})
    EXPECT_EQ(xFile_getType(tmp.write(c.name)), c.expected) << c.name;
  EXPECT_EQ(xFile_getType(tmp.folder("pics.jpg")), fourcc("fold"));
  EXPECT_EQ(xFile_getType(tmp.ref("missing.jpg")), 0u);
  EXPECT_EQ(sFile_getType(tmp.ref("missing.jpg")), 0u);

  if (!tmp.xattrSupported())
    return;
  FileRef typed = tmp.write("typed.jpg");
  ASSERT_EQ(SetFileTypeAndCreator(typed, fourcc("TEXT"), 0), 0);
  EXPECT_EQ(xFile_getType(typed), fourcc("TEXT"));
  ASSERT_EQ(SetFileTypeAndCreator(typed, fourcc("????"), 0), 0);
  EXPECT_EQ(xFile_getType(typed), fourcc("JPEG"));
  FileRef unknown = tmp.write("unknown");
  ASSERT_EQ(SetFileTypeAndCreator(unknown, fourcc("????"), 0), 0);
  EXPECT_EQ(xFile_getType(unknown), fourcc("????"));
}

TEST(NamedItemTest, OpenByNameAndReferencesToNames)
{
  TempFolder tmp;
  tmp.write("here", "1");
  FileRef out;
  int16_t fork = xFile_OpenByPName(tmp.root(), PName("here").bytes, &out);
  EXPECT_NE(fork, 0);
  EXPECT_EQ(out, tmp.ref("here"));
  PBfFile_Close(fork);
  EXPECT_EQ(xFile_OpenByPName(tmp.root(), PName("gone").bytes, nullptr), 0);

  EXPECT_TRUE(MakeFileFSRef(tmp.root(), "here", &out));
  EXPECT_FALSE(MakeFileFSRef(tmp.root(), "gone", &out));

  FileRef item;
  std::string longName(70, 'n');
  ASSERT_TRUE(ParentRef2FSSpec(tmp.root(), PName(longName).bytes, &item));
  EXPECT_EQ(item.name, std::string(63, 'n'));
  // A two-byte character straddling the cut is dropped whole.
  ASSERT_TRUE(ParentRef2FSSpec(tmp.root(), PName(std::string(62, 'a') + "\xC3\xA9z").bytes, &item));
  EXPECT_EQ(item.name, std::string(62, 'a'));
  EXPECT_FALSE(ParentRef2FSSpec(tmp.ref("nofolder"), PName("x").bytes, &item));

  Str255 name;
  EXPECT_TRUE(xFile_getpascalName(tmp.ref("here"), name));
  EXPECT_EQ(std::string(name + 1, name + 1 + name[0]), "here");
  EXPECT_FALSE(xFile_getpascalName(tmp.ref("gone"), name));
  EXPECT_EQ(std::string(name + 1, name + 1 + name[0]), " ? ");
}

TEST(RecordOpenTest, FolderStandingForADocumentOpensItsFirstFileOfTheType)
{
  TempFolder tmp;
  tmp.write("Doc/a.txt", "t");
  tmp.write("Doc/b.kovr", "tree");
  tmp.write("Doc/c.kovr", "other");
  int16_t fork = xEFile_Open(record(tmp.root(), "Doc", fourcc("qjKv")));
  // Without the folder flag the folder itself is the result, and it cannot open.
  EXPECT_EQ(fork, 0);
  EXPECT_EQ(gIOdata.resultRef, tmp.ref("Doc"));

  frefinfos asDocument = record(tmp.root(), "Doc", fourcc("qjKv"));
  asDocument.isFolder = 1;
  fork = xEFile_Open(asDocument);
  ASSERT_NE(fork, 0);
  EXPECT_EQ(gIOdata.resultRef, tmp.ref("Doc/b.kovr"));
  EXPECT_EQ(HFS_2_UTF8(gIOdata.resultName), "Doc");
  EXPECT_EQ(gIOdata.typeCount, 1);
  PBfFile_Close(fork);

  EXPECT_EQ(xEFile_Open(record(tmp.root(), "absent")), 0);
}

TEST(RecordOpenTest, CreateUrlOnlyComputesThePath)
{
  TempFolder tmp;
  EXPECT_EQ(xFile_CreateURL(record(tmp.root(), "out.png"), 0), tmp.ref("out.png").path());
  EXPECT_FALSE(kvfs::exists(tmp.ref("out.png")));
  EXPECT_EQ(xFile_CreateURL(record(tmp.ref("nofolder"), "out.png"), 0), "");
  EXPECT_EQ(xFile_CreateURL(record(tmp.root(), ""), 0), "");
}

TEST(RequestBlockTest, SetUpAndTypeLists)
{
  SetUpNavUserDatas(&gIOdata, 7, fourcc("Qjpr"), fourcc("TEXT"));
  EXPECT_EQ(gIOdata.typeList[0], fourcc("TEXT"));
  EXPECT_EQ(gIOdata.typeCount, 1);
  EXPECT_EQ(gIOdata.favouriteCount, 1);
  EXPECT_EQ(gIOdata.favourites[0], kvfs::executableFolder());
  EXPECT_EQ(gIOdata.creator, fourcc("Qjpr"));
  EXPECT_EQ(gIOdata.setupValue, 7);
  EXPECT_EQ(gIOdata.defaultLocationPtr, nullptr);

  SetImageTypeList();
  EXPECT_EQ(gIOdata.typeCount, 10);
  EXPECT_EQ(gIOdata.typeList[9], fourcc("GIFf"));
  SetGraphicTypeList();
  EXPECT_EQ(gIOdata.typeCount, 16);
  EXPECT_EQ(gIOdata.typeList[10], fourcc("MooV"));
  EXPECT_EQ(gIOdata.typeList[15], fourcc("mpg4"));
}

TEST(RequestBlockTest, DefaultLocation)
{
  TempFolder tmp;
  tmp.write("item");
  SetUpNavUserDatas(&gIOdata, 0, 0, fourcc("TEXT"));
  xSetDefaultLoc(tmp.root(), PName("item").bytes, 0);
  EXPECT_EQ(gIOdata.defaultLocation, tmp.ref("item"));
  EXPECT_EQ(gIOdata.defaultLocationPtr, &gIOdata.defaultLocation);
  xSetDefaultLoc(tmp.root(), PName("absent").bytes, 0);
  EXPECT_EQ(gIOdata.defaultLocation, tmp.root());
  xSetDefaultLoc(tmp.root(), PName("item").bytes, 1);
  EXPECT_EQ(gIOdata.defaultLocation, tmp.root());
  EXPECT_EQ(gIOdata.selectDefault, 1);

  xSetDefaultLocfSS(tmp.ref("item"), 1);
  EXPECT_EQ(gIOdata.defaultLocation, tmp.root());
  xSetDefaultLocfSS(tmp.ref("item"), 0);
  EXPECT_EQ(gIOdata.defaultLocation, tmp.ref("item"));
  xSetDefaultLocfSS(tmp.ref("absent"), 1);
  EXPECT_EQ(gIOdata.defaultLocation, tmp.ref("item"));
}

TEST(RequestBlockTest, HistoryKeepsMostRecentFirstByName)
{
  EXPECT_TRUE(SameFSRef(FileRef{"/one", "same"}, FileRef{"/two", "same"}));
  EXPECT_EQ(HFS_2_UTF8(gIOdata.resultName), "same");
  EXPECT_FALSE(SameFSRef(FileRef{"/one", "same"}, FileRef{"/one", "Same"}));

  FileRef list[24];
  int16_t count = 0;
  for (int i = 0; i < 24; ++i)
    AddFrefListHistory(list, 24, &count, FileRef{"/f", std::to_string(i)});
  EXPECT_EQ(count, 24);
  EXPECT_EQ(list[0].name, "23");
  EXPECT_EQ(list[23].name, "0");

  AddFrefListHistory(list, 24, &count, FileRef{"/f", "new"});
  EXPECT_EQ(count, 24);
  EXPECT_EQ(list[0].name, "new");
  EXPECT_EQ(list[1].name, "23");
  EXPECT_EQ(list[23].name, "1");  // the oldest fell off

  AddFrefListHistory(list, 24, &count, FileRef{"/elsewhere", "10"});
  EXPECT_EQ(count, 24);
  EXPECT_EQ(list[0], (FileRef{"/elsewhere", "10"}));
  EXPECT_EQ(list[1].name, "new");
  EXPECT_EQ(list[23].name, "1");
  for (int i = 1; i < 24; ++i)
    EXPECT_NE(list[i].name, "10");
}

TEST(RequestBlockTest, RecordHistoryTakesTheRecordsReference)
{
  FileRef list[4];
  int16_t count = 0;
  AddFrefinfosListHistory(list, 4, &count, record(FileRef{"/trees", ""}, "a.kovr"));
  AddFrefinfosListHistory(list, 4, &count, record(FileRef{"/trees", ""}, "b.kovr"));
  AddFrefinfosListHistory(list, 4, &count, record(FileRef{"/other", ""}, "a.kovr"));
  ASSERT_EQ(count, 2);
  EXPECT_EQ(list[0], (FileRef{"/other", "a.kovr"}));
  EXPECT_EQ(list[1], (FileRef{"/trees", "b.kovr"}));

  // A record without a name or a folder has no reference: the list stays.
  AddFrefinfosListHistory(list, 4, &count, record(FileRef{"/trees", ""}, ""));
  AddFrefinfosListHistory(list, 4, &count, record(FileRef{}, "c.kovr"));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(list[0], (FileRef{"/other", "a.kovr"}));
}

}  // namespace
