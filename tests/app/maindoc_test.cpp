// The browser over folder trees made at test time on the scripted backend:
// subfolder lists, pages of 32, selection, the parent folder and damaged
// files.
#include "app/maindoc.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "document/engineapi.h"
#include "document/treefile.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/iodata.h"
#include "foundation/modifierkeys.h"
#include "tests/app/app_fixture.h"
#include "ui/uiset.h"

namespace {

namespace fs = std::filesystem;

std::string sampleTree()
{
  std::ifstream in(std::string(KV_SOURCE_DIR) + "/tests/fixtures/trees/one_component.kovr",
                   std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string fileName(int k)
{
  char name[32];
  std::snprintf(name, sizeof name, "t%03d.kovr", k);
  return name;
}

struct BrowserTest : AppFixture
{
  void SetUp() override
  {
    AppFixture::SetUp();
    world = std::make_unique<KovrelinWorld>();
    gKovrelinWorld = world.get();
    KV_initWorldRecord(world.get());
    arb_Init(&world->doc);
    previousAlert = SetAlertSoundProc([](bool) { ++alerts; });
    alerts = 0;
    tree = sampleTree();
    ASSERT_FALSE(tree.empty());
    DoGeneralCommand(int32_t(fourcc("new ")), nullptr);
    browser = static_cast<IB_MainDoc*>(gCurDoc);
    ASSERT_NE(browser, nullptr);
  }
  void TearDown() override
  {
    gopt = 0;
    AppFixture::TearDown();
    SetAlertSoundProc(previousAlert);
    Kovrelin_kill(&world->doc);
    arb_Clear(&world->doc, true, true);
    gKovrelinWorld = nullptr;
  }
  void trees(const std::string& folder, int count)
  {
    for (int k = 0; k < count; ++k)
      tmp.write(folder + "/" + fileName(k), tree);
  }
  int16_t command(int32_t c) { return IB_MainDoc_Command(browser, c, nullptr); }
  std::string itemName(int16_t item) { return pascalText(browser->set->Getuitem(item)->name); }

  TempFolder tmp;
  std::unique_ptr<KovrelinWorld> world;
  IB_MainDoc* browser = nullptr;
  std::string tree;
  AlertSoundProc previousAlert = nullptr;
  static inline int alerts = 0;
};

TEST_F(BrowserTest, EmptyFolderListsNothingAndPagesDoNothing)
{
  browser->ShowFolder(tmp.root());
  EXPECT_EQ(browser->subfolderCount, 0);
  EXPECT_EQ(browser->filesOnPage, 0);
  EXPECT_EQ(itemName(kItemFileName), "");
  EXPECT_EQ(itemName(kItemFirstSubfolder), "");
  EXPECT_EQ(command(93), 0);
  EXPECT_EQ(command(94), 0);
  EXPECT_EQ(alerts, 0);
  EXPECT_EQ(browser->firstFile, 0);
}

TEST_F(BrowserTest, AFolderOfTreesNamedAtStartIsShownAsItsParentsSubfolder)
{
  trees("outer/a", 1);
  trees("outer/trees", 3);
  browser->ShowTreeFolder(tmp.ref("outer/trees"));
  ASSERT_EQ(browser->subfolderCount, 2);
  EXPECT_EQ(itemName(int16_t(kItemFirstSubfolder + browser->selectedSubfolder)), "trees");
  EXPECT_EQ(browser->filesOnPage, 3);
  // A folder that lists subfolders with trees is shown as it is.
  browser->ShowTreeFolder(tmp.ref("outer"));
  EXPECT_EQ(browser->selectedSubfolder, 0);
  EXPECT_EQ(itemName(kItemFirstSubfolder), "a");
  // A folder without trees also.
  tmp.write("empty/notes.txt", "x");
  browser->ShowTreeFolder(tmp.ref("empty"));
  EXPECT_EQ(browser->subfolderCount, 0);
}

TEST_F(BrowserTest, SubfoldersWithTreesAreListedAndTheFirstShown)
{
  trees("b", 2);
  trees("a", 1);
  tmp.write("c/notes.txt", "x");
  browser->ShowFolder(tmp.root());
  ASSERT_EQ(browser->subfolderCount, 2);
  EXPECT_EQ(itemName(kItemFirstSubfolder), "a");
  EXPECT_EQ(itemName(kItemFirstSubfolder + 1), "b");
  EXPECT_EQ(itemName(kItemFirstSubfolder + 2), "");
  EXPECT_EQ(browser->filesOnPage, 1);
  EXPECT_EQ(itemName(kItemFileName), fileName(0));
  EXPECT_EQ(command(96), 0);
  EXPECT_EQ(browser->filesOnPage, 2);
  EXPECT_EQ(browser->selectedSubfolder, 1);
  EXPECT_EQ(browser->highlightedSubfolder, 1);
  EXPECT_EQ(browser->set->Getuitem(kItemFirstSubfolder + 1)->color2.red, 60);
  EXPECT_EQ(browser->set->Getuitem(kItemFirstSubfolder)->color2.red, 204);
  // Past the list: nothing.
  EXPECT_EQ(command(97), 0);
  EXPECT_EQ(browser->selectedSubfolder, 1);
}

TEST_F(BrowserTest, SubfolderOfSubfoldersIsEntered)
{
  trees("outer/inner", 3);
  browser->ShowFolder(tmp.root());
  ASSERT_EQ(browser->subfolderCount, 1);
  EXPECT_EQ(browser->filesOnPage, 0);
  command(95);
  EXPECT_EQ(browser->shownFolder, tmp.ref("outer"));
  EXPECT_EQ(browser->topFolder, tmp.root());
  ASSERT_EQ(browser->subfolderCount, 1);
  EXPECT_EQ(itemName(kItemFirstSubfolder), "inner");
  EXPECT_EQ(browser->filesOnPage, 3);
}

TEST_F(BrowserTest, PagesOf32)
{
  struct Case
  {
    int files;
    int secondPage;
    int beepsAfterTwoNexts;
  };
  for (Case c : {Case{32, 0, 1}, Case{33, 1, 1}, Case{10, 10, 2}}) {
    SCOPED_TRACE(c.files);
    TempFolder folder;
    for (int k = 0; k < c.files; ++k)
      folder.write("s/" + fileName(k), tree);
    browser->ShowFolder(folder.root());
    alerts = 0;
    EXPECT_EQ(browser->filesOnPage, std::min(c.files, 32));
    command(93);
    EXPECT_EQ(browser->filesOnPage, c.secondPage);
    command(93);
    EXPECT_EQ(alerts, c.beepsAfterTwoNexts);
    command(94);
    command(94);
    command(94);
    EXPECT_EQ(browser->firstFile, 0);
    EXPECT_EQ(browser->filesOnPage, std::min(c.files, 32));
  }
}

TEST_F(BrowserTest, SecondPageHoldsTheFilesFrom32On)
{
  trees("s", 40);
  browser->ShowFolder(tmp.root());
  command(93);
  EXPECT_EQ(browser->firstFile, 32);
  ASSERT_EQ(browser->filesOnPage, 8);
  EXPECT_EQ(browser->pageFiles[0].name, fileName(32));
  EXPECT_EQ(itemName(kItemFileName), fileName(32));
}

TEST_F(BrowserTest, SelectingReadsIntoTheWorldAndTheSameThumbnailDoesNothing)
{
  trees("s", 3);
  browser->ShowFolder(tmp.root());
  EXPECT_EQ(browser->selectedFile, 0);
  EXPECT_EQ(browser->previewValid, 0);  // rendered on the next draw only
  command(53);
  EXPECT_EQ(browser->selectedFile, 2);
  EXPECT_EQ(browser->previewValid, 1);
  EXPECT_GT(world->doc.tree.count, 0);
  EXPECT_EQ(pascalText(gAppInfos.paramString), fileName(2));
  EXPECT_EQ(itemName(kItemFileName), fileName(2));
  // The same thumbnail again, even with option: nothing at all.
  browser->previewValid = 7;
  gopt = 1;
  command(53);
  EXPECT_EQ(browser->previewValid, 7);
  gopt = 0;
  // A slot past the page only moves the selection.
  command(60);
  EXPECT_EQ(browser->selectedFile, 9);
  EXPECT_EQ(browser->previewValid, 7);
  // A folder change resets the selection without rendering.
  command(51 + 1);
  command(95);
  EXPECT_EQ(browser->selectedFile, 0);
}

TEST_F(BrowserTest, DamagedFileShowsFormatTooOldAndKeepsThePreview)
{
  trees("s", 1);
  tmp.write("s/zz.kovr", "not a tree at all");
  browser->ShowFolder(tmp.root());
  ASSERT_EQ(browser->filesOnPage, 2);
  browser->Draw();
  EXPECT_EQ(browser->previewValid, 1);
  command(52);
  EXPECT_EQ(browser->selectedFile, 1);
  EXPECT_EQ(browser->previewValid, 0);

  // The damaged file's thumbnail is grey 85 behind its text.
  kvui::Surface shown = kvui::script::shownPixels(browser->window);
  ASSERT_NE(shown.pixels, nullptr);
  const Rect box = browser->thumbnailBoxes[1];
  int grey = 0;
  for (int y = box.top; y < box.bottom && y < shown.height; ++y)
    for (int x = box.left; x < box.right && x < shown.width; ++x) {
      const uint8_t* p = shown.pixels + y * shown.rowBytes + x * 4;
      grey += p[0] == 85 && p[1] == 85 && p[2] == 85;
    }
  EXPECT_GT(grey, (box.bottom - box.top) * (box.right - box.left) / 2);
}

TEST_F(BrowserTest, ParentFolderAtTheTopAsksAndACancelKeepsTheFolder)
{
  trees("s", 1);
  browser->ShowFolder(tmp.root());
  kvui::script::ChooserAnswer cancel;
  cancel.cancel = true;
  kvui::script::chooserAnswer(cancel);
  const int32_t runs = kvui::script::lastChooser().runs;
  command(92);
  EXPECT_EQ(kvui::script::lastChooser().runs, runs + 1);
  EXPECT_EQ(pascalText(gIOdata.prompt), "Set directory to browse...");
  EXPECT_EQ(browser->shownFolder, tmp.root());

  TempFolder other;
  other.write("t/" + fileName(0), tree);
  other.write("u/" + fileName(0), tree);
  kvui::script::ChooserAnswer choose;
  choose.paths = {other.root().path()};
  kvui::script::chooserAnswer(choose);
  command(int32_t(fourcc("broi")));
  EXPECT_EQ(browser->shownFolder, other.root());
  EXPECT_EQ(browser->topFolder, other.root());
  EXPECT_EQ(browser->subfolderCount, 2);
}

TEST_F(BrowserTest, ParentFolderTellsNestedFoldersOfTheSameNameApart)
{
  trees("same/same/inner", 1);
  browser->ShowFolder(tmp.ref("same"));
  command(95);  // "same" holds only a subfolder: entered
  ASSERT_EQ(browser->shownFolder, tmp.ref("same/same"));
  const int32_t runs = kvui::script::lastChooser().runs;
  command(92);
  EXPECT_EQ(kvui::script::lastChooser().runs, runs);
  EXPECT_EQ(browser->shownFolder, tmp.ref("same"));
  EXPECT_EQ(browser->subfolderCount, 1);
}

// The record a file reference table or a message hands over: the name
// cut to 63 bytes.
frefinfos recordOf(const FileRef& file)
{
  frefinfos record;
  record.type = fourcc("qjKv");
  record.parent = file.parentRef();
  const std::string name = file.name.substr(0, 63);
  record.name[0] = uint8_t(name.size());
  std::memcpy(record.name + 1, name.data(), name.size());
  return record;
}

TEST_F(BrowserTest, OfsrShowsTheFileInItsFolder)
{
  const std::string longName = std::string(65, 'n') + ".kovr";  // 70 bytes
  ASSERT_EQ(longName.size(), 70u);
  trees("top/a", 2);
  trees("top/b", 40);
  tmp.write("top/b/" + longName, tree);
  tmp.write("top/b/" + std::string(66, 'n') + ".kovr", tree);  // same first 63 bytes, later
  struct Case
  {
    std::string file;
    int16_t subfolder;
    int16_t firstFile;
    int16_t selected;
  };
  for (const Case& c :
       {Case{"top/a/" + fileName(1), 0, 0,
             1},  // the two long names list first: t035 is at position 37
        Case{"top/b/" + fileName(35), 1, 32, 5}, Case{"top/b/" + longName, 1, 0, 0}}) {
    SCOPED_TRACE(c.file);
    browser->ShowFolder(tmp.root());
    browser->previewValid = 0;
    frefinfos record = recordOf(tmp.ref(c.file));
    EXPECT_EQ(command(int32_t(fourcc("ofsr"))), kEdocNotHandled);  // without a record
    IB_MainDoc_Command(browser, int32_t(fourcc("ofsr")), &record);
    EXPECT_EQ(browser->shownFolder, tmp.ref("top"));
    EXPECT_EQ(browser->topFolder, tmp.ref("top"));
    EXPECT_EQ(browser->selectedSubfolder, c.subfolder);
    EXPECT_EQ(browser->firstFile, c.firstFile);
    EXPECT_EQ(browser->selectedFile, c.selected);
    EXPECT_EQ(browser->pageFiles[browser->selectedFile], tmp.ref(c.file));
    EXPECT_EQ(browser->previewValid, 1);
    EXPECT_EQ(itemName(kItemFileName), tmp.ref(c.file).name.substr(0, 63));
  }
}

TEST_F(BrowserTest, OfsrOfAMissingFileChangesNothing)
{
  trees("s", 3);
  browser->ShowFolder(tmp.root());
  command(52);
  frefinfos record = recordOf(tmp.ref("s/gone.kovr"));
  IB_MainDoc_Command(browser, int32_t(fourcc("ofsr")), &record);
  frefinfos short63 = recordOf(tmp.ref("s/t0"));  // a short name is never a prefix
  IB_MainDoc_Command(browser, int32_t(fourcc("ofsr")), &short63);
  EXPECT_EQ(browser->shownFolder, tmp.root());
  EXPECT_EQ(browser->selectedFile, 1);
}

TEST_F(BrowserTest, OptionRedrawRewritesReadableTreesAndLeavesDamagedOnes)
{
  trees("s", 1);
  const std::string damaged = "not a tree at all";
  tmp.write("s/zz.kovr", damaged);
  browser->ShowFolder(tmp.root());
  gopt = 1;
  browser->redrawNeeded = 1;
  browser->Draw();
  gopt = 0;
  std::ifstream in(tmp.ref("s/zz.kovr").path(), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged);
  // The rewritten tree still reads, and no temporary file is left behind.
  sfuncSystem doc{};
  arb_Init(&doc);
  EXPECT_EQ(arb_READ(&doc, tmp.ref("s/" + fileName(0)), true, true, nullptr), kTreeReadOK);
  arb_Clear(&doc, true, true);
  EXPECT_EQ(std::distance(fs::directory_iterator(tmp.ref("s").path()), fs::directory_iterator{}),
            2);
}

TEST_F(BrowserTest, PlayAndSendWithoutAFileDoNothing)
{
  browser->ShowFolder(tmp.root());
  for (int32_t c : {90, 91, int32_t(fourcc("open"))})
    EXPECT_EQ(command(c), 0);
  EXPECT_TRUE(gAlertTexts.empty());
}

TEST_F(BrowserTest, MessageBandDarkensTheBottom32PixelsUnderWhiteText)
{
  browser->ShowFolder(tmp.root());
  browser->Draw();
  SetPString(gAppInfos.paramString, "Rendering");
  gAppInfos.paramStringFlag = 1;
  gAppInfos.paramStringNumber = 42;
  EXPECT_EQ(command(504), 0);
  EXPECT_EQ(pascalText(gAppInfos.paramString), "Rendering");  // length restored
  gAppInfos.paramStringFlag = 0;

  kvui::Surface shown = kvui::script::shownPixels(browser->window);
  ASSERT_NE(shown.pixels, nullptr);
  const Rect port = browser->portRect;
  auto pixel = [&](int x, int y) { return shown.pixels + y * shown.rowBytes + x * 4; };
  auto colour = [&](int x, int y) {
    const uint8_t* p = pixel(x, y);
    return std::max({p[0], p[1], p[2]});
  };
  // The background (48, 48, 52) at half: 26 at most; above the band as it was.
  EXPECT_LE(colour(port.left + 2, port.bottom - 2), 27);
  EXPECT_LE(colour(port.left + 2, port.bottom - 31), 27);
  EXPECT_GE(colour(port.left + 2, port.bottom - 33), 50);
  int white = 0;
  for (int y = port.bottom - 32; y < port.bottom; ++y)
    for (int x = port.left; x < port.right && x < shown.width; ++x) {
      const uint8_t* p = pixel(x, y);
      white += p[0] > 230 && p[1] > 230 && p[2] > 230;
    }
  EXPECT_GT(white, 40);
}

TEST_F(BrowserTest, UnknownCommandIsNotHandled)
{
  EXPECT_EQ(command(int32_t(fourcc("zzzz"))), kEdocNotHandled);
}

}  // namespace
