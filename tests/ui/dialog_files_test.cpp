#include <gtest/gtest.h>
#include <string>

#include "../platform/tempfolder.h"
#include "foundation/appshell.h"
#include "foundation/dirlist.h"
#include "imaging/cursorkeys.h"
#include "platform/ui.h"
#include "ui/filedialogs.h"

namespace {

std::string text(ConstStringPtr p)
{
  return std::string(p + 1, p + 1 + p[0]);
}

void setPascal(StringPtr out, const std::string& s)
{
  out[0] = uint8_t(s.size());
  memcpy(out + 1, s.data(), s.size());
}

kvui::script::ChooserAnswer choose(std::vector<std::string> paths)
{
  kvui::script::ChooserAnswer a;
  a.paths = std::move(paths);
  return a;
}

kvui::script::ChooserAnswer cancel()
{
  kvui::script::ChooserAnswer a;
  a.cancel = true;
  return a;
}

kvui::script::ChooserAnswer saveAs(const FileRef& folder, const std::string& name)
{
  kvui::script::ChooserAnswer a;
  a.folder = folder.path();
  a.name = name;
  return a;
}

class DialogTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    kvui::startScripted();
    SetUpNavUserDatas(&gIOdata, 0, fourcc("KOVR"), fourcc("TEXT"));
    gAppInfos.directoryHistoryCount = 0;
    gCursorID = 0;
  }
  void TearDown() override { kvui::stop(); }
  TempFolder tmp;
};

TEST_F(DialogTest, CustomAreaIsNegotiatedToAtLeast256By64)
{
  gIOdata.previewHook = GenericPreviewHookProc;
  struct Case
  {
    kvui::Rect proposal, agreed;
  } cases[] = {
      {{}, {0, 0, 64, 256}},                     // first call only
      {{10, 20, 30, 40}, {10, 20, 74, 276}},     // narrower and lower: raised
      {{10, 20, 200, 500}, {10, 20, 200, 500}},  // larger: kept
  };
  for (const Case& c : cases) {
    kvui::script::ChooserAnswer a;
    a.cancel = true;
    a.proposal = c.proposal;
    kvui::script::chooserAnswer(a);
    EXPECT_EQ(NOpenFile(0), 0);
    EXPECT_TRUE(kvui::script::lastChooser().customRect == c.agreed);
    EXPECT_EQ(gIOdata.customRight, c.agreed.right);
  }
  Rect area{10, 20, 74, 276};
  EXPECT_EQ(xnav_RecentButton(area), (Rect{22, 240, 46, 272}));
  EXPECT_EQ(xnav_FavouritesButton(area), (Rect{22, 204, 46, 236}));
}

TEST_F(DialogTest, SelectionKeepsAtMost24AndSkipsFoldersWhenBrowsing)
{
  std::vector<std::string> paths;
  for (int i = 0; i < 30; ++i)
    paths.push_back(tmp.write("f" + std::to_string(100 + i)).path());
  xnav_BuildSpecList(paths, &gIOdata);
  EXPECT_EQ(gIOdata.selectionCount, 24);
  EXPECT_EQ(gIOdata.resultRef.path(), paths[23]);

  std::string folder = tmp.folder("sub").path();
  gIOdata.browseFolders = 1;
  xnav_BuildSpecList({paths[0], folder}, &gIOdata);
  EXPECT_EQ(gIOdata.selectionCount, 1);
  EXPECT_EQ(gIOdata.resultRef.path(), paths[0]);
  gIOdata.browseFolders = 0;
  xnav_BuildSpecList({paths[0], folder}, &gIOdata);
  EXPECT_EQ(gIOdata.selectionCount, 2);

  // Fed by the chooser's selection message; the open result is the first.
  kvui::script::chooserAnswer(choose(paths));
  EXPECT_EQ(NOpenFile(0), 1);
  EXPECT_EQ(gIOdata.selectionCount, 24);
  EXPECT_EQ(gIOdata.resultRef.path(), paths[0]);
}

TEST_F(DialogTest, OpenDialogAsksWithPromptAndStartsAtTheDefault)
{
  FileRef file = tmp.write("pic.tif", "x");
  setPascal(gIOdata.prompt, "Open Image ");
  setPascal(gAppInfos.applicationName, "Kovrelin");
  xSetDefaultLoc(tmp.root(), nullptr, 0);
  kvui::script::chooserAnswer(choose({file.path()}));
  FileRef chosen;
  ASSERT_EQ(xMASTER_FILE_GET(&chosen), 1);
  const auto& asked = kvui::script::lastChooser();
  EXPECT_EQ(asked.request.kind, kvui::ChooserKind::open);
  EXPECT_EQ(asked.request.title, "Open Image ");
  EXPECT_EQ(asked.request.clientName, "Kovrelin");
  EXPECT_EQ(asked.shownFolder, tmp.root().path());
  EXPECT_EQ(chosen, file);
  EXPECT_EQ(HFS_2_UTF8(gIOdata.resultName), "pic.tif");
  EXPECT_EQ(gIOdata.typeList[0], xFile_getType(file));

  // Select-default: the item's folder shown, the item selected.
  xSetDefaultLoc(tmp.root(), reinterpret_cast<const unsigned char*>("\7pic.tif"), 0);
  gIOdata.selectDefault = 1;
  kvui::script::chooserAnswer(choose({file.path()}));
  xMASTER_FILE_GET(nullptr);
  EXPECT_EQ(kvui::script::lastChooser().selectedItem, file.path());
}

TEST_F(DialogTest, CursorChangesAfterEveryFileDialog)
{
  DChangeCursor(kvui::kCursorBusy);
  kvui::script::chooserAnswer(cancel());
  EXPECT_EQ(xMASTER_FILE_GET(nullptr), 0);
  EXPECT_EQ(uint16_t(gCursorID), 57759);
  EXPECT_EQ(gLastCursorID, 0);  // the open dialog set the arrow first
  DChangeCursor(0);
  EXPECT_EQ(gCursorID, 0);
  EXPECT_EQ(gLastCursorID, kCursorAfterDialog);
  kvui::script::chooserAnswer(cancel());
  xMASTER_FILE_PUT(reinterpret_cast<const unsigned char*>("\1a"));
  EXPECT_EQ(gCursorID, kCursorAfterDialog);
}

TEST_F(DialogTest, FolderStandsForItsE4MPDocument)
{
  if (!tmp.xattrSupported())
    GTEST_SKIP() << "no extended attributes here";
  FileRef folder = tmp.folder("Map");
  FileRef inside = tmp.write("Map/data", "m");
  ASSERT_EQ(kvfs::setTypeAndCreator(inside, fourcc("E4MP"), 0), 0);
  gIOdata.typeList[0] = fourcc("E4MP");
  kvui::script::chooserAnswer(choose({folder.path()}));
  ASSERT_EQ(xMASTER_FILE_GET(nullptr), 1);
  EXPECT_EQ(gIOdata.resultRef, folder.child("Map"));
  EXPECT_TRUE(kvfs::exists(folder.child("Map")));
  EXPECT_EQ(gIOdata.selectDefault, 1);
  EXPECT_EQ(gIOdata.browseFolders, 1);
  EXPECT_EQ(gIOdata.typeList[0], fourcc("fold"));

  // An item already named like the folder is never replaced.
  FileRef other = tmp.folder("Other");
  FileRef second = tmp.write("Other/a", "1");
  FileRef existing = tmp.write("Other/Other", "keep");
  ASSERT_EQ(kvfs::setTypeAndCreator(second, fourcc("E4MP"), 0), 0);
  SetUpNavUserDatas(&gIOdata, 0, 0, fourcc("E4MP"));
  kvui::script::chooserAnswer(choose({other.path()}));
  ASSERT_EQ(xMASTER_FILE_GET(nullptr), 1);
  EXPECT_EQ(gIOdata.resultRef, second);
  EXPECT_EQ(TempFolder::read(existing), "keep");
}

TEST_F(DialogTest, ChooseFolderCancelIsReportedAndLeavesTheResult)
{
  gIOdata.resultRef = tmp.root();
  kvui::script::chooserAnswer(cancel());
  EXPECT_EQ(NChooseFolder(), userCanceledErr);
  EXPECT_EQ(gIOdata.resultRef, tmp.root());
  FileRef sub = tmp.folder("sub");
  kvui::script::chooserAnswer(choose({sub.path()}));
  EXPECT_EQ(NChooseFolder(), 0);
  EXPECT_EQ(gIOdata.resultRef, sub);
  // A cancelled folder search finds nothing.
  HFSUniStr255 name;
  UTF8_2_HFS("missing", name);
  FileRef out;
  kvui::script::chooserAnswer(cancel());
  EXPECT_EQ(xFolder_SearchByName(tmp.root(), &out, &name, 3, true), 0);
  kvui::script::chooserAnswer(cancel());
  EXPECT_EQ(xFolder_Locate(tmp.root(), &out, name, true), userCanceledErr);
}

TEST_F(DialogTest, LocateSearchesToTheModesDepth)
{
  FileRef target = tmp.write("a/b/c/d/target.tif", "x");
  FileRef start = tmp.root();
  UTF8_2_HFS("target.tif", gIOdata.searchName);
  gIOdata.typeList[0] = xFile_getType(target);
  gIOdata.typeCount = 1;
  int runs = kvui::script::lastChooser().runs;
  struct Case
  {
    int16_t mode;
    bool found;
  } cases[] = {{1, false}, {2, false}, {3, false}, {4, true}, {5, true}, {7, false}};
  for (const Case& c : cases) {
    FileRef ref;
    EXPECT_EQ(xFile_Locate(&ref, start, c.mode, 2), c.found ? 1 : 0) << c.mode;
    if (c.found) {
      EXPECT_EQ(ref, target);
    }
  }
  EXPECT_EQ(kvui::script::lastChooser().runs, runs);  // ask 2: no dialog

  FileRef ref;
  kvui::script::chooserAnswer(cancel());
  kvui::script::chooserAnswer(cancel());
  EXPECT_EQ(xFile_Locate(&ref, start, 1, 1), 0);
  EXPECT_EQ(xFile_Locate(&ref, start, 1, 1), 0);
  EXPECT_EQ(gIOdata.locateFailures, 2);
  EXPECT_EQ(kvui::script::lastChooser().request.title, "Where is target.tif?");
  kvui::script::chooserAnswer(choose({target.path()}));
  EXPECT_EQ(xFile_Locate(&ref, start, 1, 1), 1);
  EXPECT_EQ(ref, target);
  EXPECT_EQ(gIOdata.locateFailures, 0);
}

TEST_F(DialogTest, EFileLocateRemembersTheFolderItFoundTheFileIn)
{
  FileRef target = tmp.write("x/y/doc.tif", "x");
  gIOdata.typeList[0] = xFile_getType(target);
  frefinfos record;
  setPascal(record.name, "doc.tif");
  record.parent = tmp.root();
  EXPECT_EQ(EFile_Locate(record, 2, 2), 1);
  EXPECT_EQ(record.parent, target.parentRef());
  EXPECT_EQ(gAppInfos.directoryHistoryCount, 1u);
  EXPECT_EQ(gAppInfos.directoryHistory[0], target.parentRef());
}

TEST_F(DialogTest, GraphicSaveNamesAndPrompts)
{
  struct Case
  {
    const char kind[5];
    const char* name;
    const char* prompt;
  } cases[] = {
      {"PICT", "pic.pct", "Save Picture as..."},     {"MooV", "pic.mov", "Save Movie as..."},
      {"PDF ", "pic.pdf", "Save PDF as..."},         {"TIFF", "pic.tif", "Save Tiff Picture as..."},
      {"PNGf", "pic.png", "Save PNG Picture as..."}, {"qjKv", "pic", "Save Kovrelin system as..."},
  };
  for (const Case& c : cases) {
    frefinfos record;
    record.parent = tmp.root();
    setPascal(record.name, "pic");
    kvui::script::chooserAnswer(cancel());
    EXPECT_EQ(xGRAPHIC_FILE_PUT(record, fourcc(c.kind), nullptr), 0);
    EXPECT_EQ(kvui::script::lastChooser().request.saveName, c.name) << c.kind;
    EXPECT_EQ(kvui::script::lastChooser().request.title, c.prompt);
    EXPECT_EQ(record.type, fourcc(c.kind));
  }
  frefinfos record;
  record.parent = tmp.root();
  setPascal(record.name, "old");
  kvui::script::chooserAnswer(saveAs(tmp.root(), "set"));
  ASSERT_EQ(xGRAPHIC_FILE_PUT(record, fourcc("list"), nullptr), 1);
  EXPECT_EQ(kvui::script::lastChooser().request.title, "Save list into...");
  EXPECT_TRUE(kvfs::isFolder(tmp.ref("set#")));
  EXPECT_EQ(record.parent, tmp.ref("set#"));
  EXPECT_EQ(text(record.name), "set");
}

TEST_F(DialogTest, MasterFilePutCreatesAnEmptyTypedFile)
{
  gIOdata.typeList[0] = fourcc("TEXT");
  gAppInfos.creator = fourcc("KOVR");
  FileRef chosen = tmp.ref("proposed");
  kvui::script::chooserAnswer(saveAs(tmp.root(), "made"));
  ASSERT_EQ(MASTER_FILE_PUT(&chosen, false), 1);
  EXPECT_EQ(chosen, tmp.ref("made"));
  EXPECT_EQ(kvui::script::lastChooser().request.saveName, "proposed");
  EXPECT_EQ(TempFolder::read(chosen), "");
  if (tmp.xattrSupported()) {
    uint32_t type = 0, creator = 0;
    kvfs::readTypeAndCreator(chosen.path(), type, creator);
    EXPECT_EQ(type, fourcc("TEXT"));
    EXPECT_EQ(creator, fourcc("KOVR"));
  }
  kvui::script::chooserAnswer(cancel());
  EXPECT_EQ(MASTER_FILE_PUT(&chosen, true), 0);
}

TEST_F(DialogTest, SaveClickLetsTheHookEditTheName)
{
  static std::string seen;
  gIOdata.previewHook = [](OSType, FileRef* file, Point, Point, bool click) -> int32_t {
    if (click && file) {
      seen = file->name;
      file->name = "edited";
    }
    return 0;
  };
  kvui::script::ChooserAnswer a = saveAs(tmp.root(), "typed");
  a.click = {30, 10};
  kvui::script::chooserAnswer(a);
  frefinfos record;
  setPascal(record.name, "proposed");
  ASSERT_EQ(xEFILE_PUT(record), 1);
  EXPECT_EQ(seen, "typed");
  EXPECT_EQ(text(record.name), "edited");
  EXPECT_EQ(record.parent, tmp.root());
}

TEST_F(DialogTest, DirectoryHistoryByIdentity)
{
  FileRef one = tmp.folder("p/same"), two = tmp.folder("q/same");
  App_AddtoDirlist(one);
  App_AddtoDirlist(two);
  App_AddtoDirlist(one);
  EXPECT_EQ(gAppInfos.directoryHistoryCount, 2u);
  for (int i = 2; i < 32; ++i)
    App_AddtoDirlist(tmp.folder("h" + std::to_string(i)));
  FileRef last = tmp.folder("h33");
  App_AddtoDirlist(last);
  EXPECT_EQ(gAppInfos.directoryHistoryCount, 32u);
  EXPECT_EQ(gAppInfos.directoryHistory[0], last);
  EXPECT_EQ(gAppInfos.directoryHistory[1], two);
}

TEST_F(DialogTest, RecentFilesPopUpListsTheRecords)
{
  gAppInfos.fileRecordCount = 2;
  setPascal(gAppInfos.fileRecords[0].name, "first");
  setPascal(gAppInfos.fileRecords[1].name, "");
  kvui::script::menuChoice(2);
  EXPECT_EQ(App_frefinfosPopUp(Point{10, 10}), 2);
  const auto& menu = kvui::script::lastMenu();
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(menu[0].text, "first");
  EXPECT_EQ(menu[1].text, " ");
  gAppInfos.fileRecordCount = 0;
}

}  // namespace

namespace {

TEST_F(DialogTest, CustomAreaShowsTheFavouritesAndRecentButtons)
{
  FileRef resources = FileRef::fromPath(std::string(KV_BINARY_DIR) + "/Resources");
  if (!kvfs::exists(resources.child("rim12302.png")))
    GTEST_SKIP() << "the UI images are not built";
  FileRef saved = gAppInfos.resourcesFolder;
  gAppInfos.resourcesFolder = resources;
  gIOdata.previewHook = GenericPreviewHookProc;
  kvui::script::ChooserAnswer a;
  a.cancel = true;
  kvui::script::chooserAnswer(a);
  EXPECT_EQ(NOpenFile(0), 0);
  gAppInfos.resourcesFolder = saved;

  const kvui::script::ChooserRecord& record = kvui::script::lastChooser();
  const kvui::Rect c = record.customRect;
  Rect area{int16_t(c.top), int16_t(c.left), int16_t(c.bottom), int16_t(c.right)};
  const int32_t width = c.right - c.left;
  ASSERT_EQ(record.customPixels.size(), size_t(width) * size_t(c.bottom - c.top) * 4);
  auto pixel = [&](const Rect& r, int dx, int dy) {
    size_t at =
        (size_t(r.top - area.top + dy) * size_t(width) + size_t(r.left - area.left + dx)) * 4;
    return std::vector<uint8_t>(record.customPixels.begin() + long(at),
                                record.customPixels.begin() + long(at) + 4);
  };
  // Opaque faces; the folder blue (B > R) in the favourites button, white
  // inside the recent button's clock; nothing drawn left of the buttons.
  std::vector<uint8_t> folder = pixel(xnav_FavouritesButton(area), 16, 14);
  EXPECT_EQ(folder[3], 255);
  EXPECT_GT(folder[0], folder[2] + 60);
  std::vector<uint8_t> clock = pixel(xnav_RecentButton(area), 13, 14);
  EXPECT_EQ(clock, (std::vector<uint8_t>{255, 255, 255, 255}));
  EXPECT_EQ(pixel(area, 4, 4)[3], 0);
}

}  // namespace
