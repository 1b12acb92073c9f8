#include "app/filerefs.h"

#include "foundation/dirlist.h"
#include "foundation/filenames.h"
#include "foundation/iodata.h"
#include "foundation/modifierkeys.h"
#include "tests/app/app_fixture.h"

namespace {

std::vector<std::pair<int32_t, std::string>> gOpened;  // command, record name

int16_t recordOpen(int32_t command, void* data)
{
  auto* r = static_cast<frefinfos*>(data);
  gOpened.emplace_back(command, r ? pascalText(r->name) : std::string());
  return 0;
}

frefinfos recordOf(const FileRef& file, uint8_t state = 3)
{
  frefinfos r;
  EXPECT_TRUE(App_FSSpec2frefinfos(file, &r));
  r.state = state;
  return r;
}

std::vector<std::string> tableNames()
{
  std::vector<std::string> names;
  for (int16_t i = 0; i < gAppInfos.fileRecordCount; ++i)
    names.push_back(pascalText(gAppInfos.fileRecords[i].name));
  return names;
}

struct FileRefsTest : AppFixture
{
  void SetUp() override
  {
    AppFixture::SetUp();
    App_Initfrefinfos();
    gopt = gshift = 0;
  }
  void TearDown() override
  {
    gopt = gshift = 0;
    App_Initfrefinfos();
    AppFixture::TearDown();
  }
  FileRef file(const std::string& name) { return tmp.write(name, "tree"); }
  TempFolder tmp;
};

TEST_F(FileRefsTest, ATableReadBackDropsTheFilesThatAreGone)
{
  const FileRef a = file("a.kovr"), b = file("b.kovr"), c = file("c.kovr"), d = file("d.kovr");
  for (const FileRef& f : {a, b, c, d})
    ASSERT_TRUE(App_newfrefinfos(recordOf(f, 1)));
  const FileRef store = tmp.write("store", "0123456789");
  int16_t fork = PBfFile_Open(store, fsRdWrPerm);
  ASSERT_NE(fork, 0);
  const int32_t end = App_frefinfosWrite(fork, 10);
  ASSERT_GT(end, 10);
  std::filesystem::remove(c.path());
  App_Initfrefinfos();
  EXPECT_EQ(App_frefinfosRead(fork, 10), end);
  EXPECT_EQ(tableNames(), (std::vector<std::string>{"a.kovr", "b.kovr", "d.kovr"}));
  EXPECT_EQ(gAppInfos.fileRecords[0].state, 3);
  EXPECT_EQ(gAppInfos.fileRecords[2].parent, tmp.root());

  // A damaged block: an empty table and -1.
  EXPECT_EQ(App_frefinfosRead(fork, 0), -1);
  EXPECT_EQ(gAppInfos.fileRecordCount, 0);
  EXPECT_EQ(App_frefinfosRead(fork, end - 3), -1);
  PBfFile_Close(fork);
  const FileRef cut = tmp.write("cut", "KVFT\x18");
  fork = PBfFile_Open(cut, fsRdPerm);
  EXPECT_EQ(App_frefinfosRead(fork, 0), -1);
  PBfFile_Close(fork);
}

TEST_F(FileRefsTest, AFullTableRefusesAndRemovalTakesTheFirstPlaceholder)
{
  const FileRef f = file("f.kovr");
  for (int i = 0; i < kFileRecordCount; ++i)
    ASSERT_TRUE(App_newfrefinfos(recordOf(f, i == 5 ? 1 : 3)));
  EXPECT_FALSE(App_newfrefinfos(recordOf(f)));
  EXPECT_EQ(gAppInfos.fileRecordCount, kFileRecordCount);
  App_removefrefinfos();
  EXPECT_EQ(gAppInfos.fileRecordCount, kFileRecordCount - 1);
  App_removefrefinfos();  // only state 3 left
  EXPECT_EQ(gAppInfos.fileRecordCount, kFileRecordCount - 1);
}

TEST_F(FileRefsTest, RecentFilesReplaceInPlaceOrGoFirst)
{
  const FileRef a = file("a.kovr"), b = file("b.kovr"), c = file("c.kovr");
  App_setupfrefinfos(&gMenu, recordOf(a));
  App_setupfrefinfos(&gMenu, recordOf(b));
  App_setupfrefinfos(&gMenu, recordOf(c));
  EXPECT_EQ(tableNames(), (std::vector<std::string>{"c.kovr", "b.kovr", "a.kovr"}));
  frefinfos again = recordOf(b);
  again.type = fourcc("TEXT");
  App_setupfrefinfos(&gMenu, again);
  EXPECT_EQ(tableNames(), (std::vector<std::string>{"c.kovr", "b.kovr", "a.kovr"}));
  EXPECT_EQ(gAppInfos.fileRecords[1].type, fourcc("TEXT"));
  // A full table loses its last record.
  for (int i = 0; i < kFileRecordCount; ++i)
    App_setupfrefinfos(&gMenu, recordOf(file("n" + std::to_string(i))));
  EXPECT_EQ(gAppInfos.fileRecordCount, kFileRecordCount);
  EXPECT_EQ(tableNames().front(), "n23");
  EXPECT_EQ(tableNames().back(), "n0");
  EXPECT_TRUE(App_Getfrefinfos_Name(1));
  EXPECT_EQ(pascalText(gAppInfos.paramString), "n22");
}

TEST_F(FileRefsTest, OpeningSendsOfsrAndOptionRemoves)
{
  gAppInfos.commandHandler = recordOpen;
  gOpened.clear();
  for (const char* n : {"a", "b", "c", "d"})
    App_newfrefinfos(recordOf(file(n)));
  gAppInfos.fileRecords[3].state = 1;
  App_Openfrefinfos(&gMenu, 3);  // a placeholder: nothing
  App_Openfrefinfos(&gMenu, 1);
  ASSERT_EQ(gOpened.size(), 1u);
  EXPECT_EQ(gOpened[0], std::make_pair(int32_t(fourcc("ofsr")), std::string("b")));
  EXPECT_EQ(gIOdata.typeList[0], gAppInfos.fileRecords[1].type);

  gopt = 1;
  App_Openfrefinfos(&gMenu, 1);
  EXPECT_EQ(tableNames(), (std::vector<std::string>{"a", "c", "d"}));
  gshift = 1;
  App_Openfrefinfos(&gMenu, 1);  // removes c, then keeps only the records before index 1
  EXPECT_EQ(tableNames(), (std::vector<std::string>{"a"}));
  EXPECT_EQ(gOpened.size(), 1u);
}

TEST_F(FileRefsTest, ResolutionLooksInHistoryFoldersOfTheSameName)
{
  // Two folders named "x" in different places; the file lies in the second.
  const FileRef target = tmp.write("B/x/moved.kovr", "tree");
  const FileRef first = tmp.folder("A/x");

  gAppInfos.directoryHistoryCount = 0;
  App_AddtoDirlist(first);
  App_AddtoDirlist(target.parentRef());
  Str255 name;
  SetPString(name, "moved.kovr");
  PSTRING_2_HFS(name, gIOdata.searchName);
  gIOdata.typeList[0] = fourcc("qjKv");
  gIOdata.typeCount = 1;
  FileRef found;
  EXPECT_TRUE(App_resolveFile(&found, first, 1, 2));
  EXPECT_EQ(found, target);

  FileRef spec = first.child("moved.kovr"), out;
  EXPECT_TRUE(App_resolveSFile(&spec, first, &out, 1, 2));
  EXPECT_EQ(spec, target);
  EXPECT_EQ(out, target);
  FileRef missing = first.child("nowhere.kovr");
  EXPECT_FALSE(App_resolveSFile(&missing, first, &out, 1, 2));
  gAppInfos.directoryHistoryCount = 0;
}

}  // namespace
