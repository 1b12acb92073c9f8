#include "ui/uilib.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "engine/render.h"
#include "foundation/appshell.h"
#include "foundation/mempool.h"
#include "foundation/modifierkeys.h"
#include "imaging/offworld.h"
#include "imaging/quartz.h"
#include "platform/stillimage.h"
#include "platform/ui.h"
#include "ui/qzdraw.h"
#include "ui/registry.h"

namespace {

std::string text(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

struct ExitCalled
{};

struct UILibTest : testing::Test
{
  void SetUp() override
  {
    kvui::startScripted();
    finit(&gMemPool, kMemPoolFloorSize);
    folder = std::filesystem::temp_directory_path() / ("uilib_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override
  {
    Kill_EUILIB();
    kvui::stop();
    std::filesystem::remove_all(folder);
    SetAlertSoundProc(nullptr);
    KV_setRenderEventPump(nullptr);
    KV_clearKeys();
  }
  // A 2 x 2 PNG named `name` in the test's resources folder.
  void writeImage(const std::string& name)
  {
    uint8_t argb[16] = {255, 1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12};
    ASSERT_TRUE(
        kvimg::encodeFile((folder / name).string(), kvimg::Format::Png, argb, 8, 2, 2, false));
  }
  FileRef resources() const { return FileRef{folder.string(), ""}; }
  bool start()
  {
    FileRef r = resources();
    return init_EUILIB(nullptr, fourcc("Qjpr"), normalcolor{255, 0, 255, 0}, 0, &r);
  }

  std::filesystem::path folder;
};

TEST_F(UILibTest, AppGlobals)
{
  gcmd = gdbl = gshift = 1;
  static int handled = 0;
  initAppGlobals([](int32_t, void*) -> int16_t { return int16_t(++handled); }, 1, fourcc("Qjpr"));
  EXPECT_EQ(gcmd + gdbl + gshift + gopt + gctrl, 0);
  EXPECT_EQ(gAppInfos.singleDocument, 1);
  EXPECT_EQ(gAppInfos.creator, fourcc("Qjpr"));
  EXPECT_EQ(text(gAppInfos.prefsFileName), "kovrelin-browser.prefs");
  EXPECT_EQ(text(gAppInfos.defaultDocName), "Untitled");
  EXPECT_EQ(text(gAppInfos.separator), " ");
  EXPECT_EQ(gAppInfos.applicationFolder.path(), kvfs::executableFolder().path());
  EXPECT_EQ(gAppInfos.workingFolder.path(), gAppInfos.applicationFolder.path());
  EXPECT_EQ(gAppInfos.preferencesFolder.path(), kvfs::preferencesFolder().path());
  EXPECT_EQ(gAppInfos.applicationActive, 1);
  EXPECT_NE(gUILib.region, nullptr);
  EXPECT_EQ(gUILib.windowCounter, 1);
  EXPECT_EQ(gAppInfos.commandHandler(0, nullptr), 1);
}

TEST_F(UILibTest, ImagesFromTheResourcesFolder)
{
  writeImage("rlist000.png");
  writeImage("rlist960.png");
  writeImage("rimhilit.png");
  EXPECT_FALSE(start());
  Str63 name;
  UI_ListImageName(15, name);
  EXPECT_EQ(text(name), "rlist960");
  UI_ListImageName(1, name);
  EXPECT_EQ(text(name), "rlist064");
  ASSERT_NE(gUILib.images[0], nullptr);
  EXPECT_EQ(QZ_ImageGetWidth(gUILib.images[0]), 2);
  EXPECT_NE(gUILib.images[15], nullptr);
  for (int k = 1; k < 15; ++k)
    EXPECT_EQ(gUILib.images[k], nullptr) << k;
  EXPECT_NE(gUIHilitImage, nullptr);
  EXPECT_EQ(gshadowcoloref.alpha, 0.6);
  EXPECT_NE(gTempbuffer, nullptr);
  EXPECT_EQ(gUILib.hiliteColor, (normalcolor{255, 0, 255, 0}));
  EXPECT_NE(gUILib.port, nullptr);
}

TEST_F(UILibTest, OpenDocumentsEvent)
{
  EXPECT_FALSE(start());  // nothing waiting: 16 looks
  Kill_EUILIB();
  finit(&gMemPool, kMemPoolFloorSize);
  kvui::postHighLevelEvent({fourcc("aevt"), fourcc("oapp"), {}});
  EXPECT_FALSE(start());
  kvui::takeHighLevelEvent(nullptr);
  Kill_EUILIB();
  finit(&gMemPool, kMemPoolFloorSize);
  kvui::postHighLevelEvent({fourcc("aevt"), fourcc("odoc"), {"/tmp/x"}});
  EXPECT_TRUE(start());
  EXPECT_TRUE(kvui::peekHighLevelEvent(nullptr));  // left for the handlers
}

TEST_F(UILibTest, WiresTheLayerToTheEngineAndTheAlertSound)
{
  start();
  kvui::script::key(kKeyCodeEscape, 27, true);
  kvui::script::mouse({5, 5}, true);
  kvui::pump();
  EXPECT_TRUE(KV_isKeyDown(kKeyCodeEscape));
  EXPECT_EQ(gKVabort.mouseDown.load(), 1);
  kvui::script::key(kKeyCodeEscape, 27, false);
  kvui::script::mouse({5, 5}, false);
  KV_pumpRenderEvents();  // the render pump plays them
  EXPECT_FALSE(KV_isKeyDown(kKeyCodeEscape));
  EXPECT_EQ(gKVabort.mouseDown.load(), 0);
  kvui::script::clearRecords();
  PlayAlertSound();
  EXPECT_EQ(kvui::script::beeps(), 1);
}

TEST_F(UILibTest, AScreenNot32BitsDeepEndsTheProgram)
{
  static int16_t alertID = 0, alertIndex = 0;
  AlertDialogProc oldAlert = SetAlertDialogProc([](int16_t id, int16_t index, ConstStringPtr) {
    alertID = id;
    alertIndex = index;
    return int16_t(1);
  });
  ExitProc oldExit = SetExitProc([] { throw ExitCalled{}; });
  kvui::script::setScreens({{{0, 0, 768, 1024}, 24}});
  EXPECT_NO_THROW(start());  // 24 bits: the Xvfb screen, 32-bit pixels
  Kill_EUILIB();
  finit(&gMemPool, kMemPoolFloorSize);
  kvui::script::setScreens({{{0, 0, 768, 1024}, 16}});
  EXPECT_THROW(start(), ExitCalled);
  EXPECT_EQ(alertID, 1059);
  EXPECT_EQ(alertIndex, 7);
  EXPECT_EQ(gMemPool.base, nullptr);
  EXPECT_EQ(gUILib.port, nullptr);
  SetAlertDialogProc(oldAlert);
  SetExitProc(oldExit);
}

}  // namespace
