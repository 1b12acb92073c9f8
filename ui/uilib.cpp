#include "ui/uilib.h"

#include <cstdio>

#include "engine/render.h"
#include "foundation/appshell.h"
#include "foundation/fileio.h"
#include "foundation/iodata.h"
#include "foundation/mempool.h"
#include "foundation/modifierkeys.h"
#include "foundation/pstrings.h"
#include "imaging/offworld.h"
#include "imaging/qzimages.h"
#include "imaging/windowplacement.h"
#include "platform/ui.h"
#include "ui/qzdraw.h"
#include "ui/registry.h"

UILibRecord gUILib;

namespace {

constexpr const char* kApplicationName = "kovrelin-browser";
constexpr int16_t kAlertDialogID = 1059;
constexpr int16_t kAlertScreenDepth = 7;

// The application's port: a port over one pixel of its own.
uint32_t gPortPixel = 0;

CGImageRef loadResourceImage(ConstStringPtr name, const FileRef& folder)
{
  frefinfos record;
  record.parent = folder;
  for (int i = 0; i <= name[0]; ++i)
    record.name[i] = name[i];
  return QZ_lookforImageFile(record, false);
}

void releaseListImages()
{
  for (CGImageRef& image : gUILib.images) {
    if (image)
      QZ_ImageRelease(image);
    image = nullptr;
  }
}

void disposePortAndRegion()
{
  if (gUILib.port)
    DisposePixelPort(gUILib.port);
  gUILib.port = nullptr;
  delete gUILib.region;
  gUILib.region = nullptr;
}

void beepAsAlertSound(bool)
{
  kvui::beep();
}

void feedKey(int32_t keyCode, bool down)
{
  KV_setKeyDown(keyCode, down);
}

void feedButton(bool down)
{
  gKVabort.mouseDown.store(down ? 1 : 0);
}

// The first Apple event among what is waiting, looked for 16 times.
bool waitingOpenDocuments()
{
  for (int look = 0; look < 16; ++look) {
    kvui::pump();
    kvui::HighLevelEvent event;
    if (kvui::peekHighLevelEvent(&event) && event.eventClass == fourcc("aevt"))
      return event.eventID == fourcc("odoc");
  }
  return false;
}

}  // namespace

void UI_ListImageName(int32_t k, StringPtr out)
{
  char name[16];
  std::snprintf(name, sizeof name, "rlist%03d", int(64 * k % 1000));
  SetPString(out, name);
}

void initAppGlobals(AppCommandProc handler, uint8_t singleDocument, OSType creator)
{
  gshift = gcmd = gopt = gdbl = gctrl = gAltiVec = 0;
  AppInfos& a = gAppInfos;
  a.commandHandler = handler;
  a.singleDocument = singleDocument;
  a.creator = creator;
  a.applicationFolder = kvfs::executableFolder();
  a.resourcesFolder = kvfs::resourcesFolder();
  a.preferencesFolder = kvfs::preferencesFolder();
  a.workingFolder = a.applicationFolder;
  SetPString(a.defaultDocName, "Untitled");
  SetPString(a.applicationName, kApplicationName);
  char prefs[64];
  std::snprintf(prefs, sizeof prefs, "%s.prefs", kApplicationName);
  SetPString(a.prefsFileName, prefs);
  SetPString(a.separator, " ");
  a.directoryHistoryCount = 0;
  a.aborted = 0;
  a.applicationActive = 1;
  delete gUILib.region;
  gUILib.region = new Region;
  for (CGImageRef& image : gUILib.images)
    image = nullptr;
  gUILib.windowCounter = 1;
  App_ClearRegistry();
}

bool init_EUILIB(AppCommandProc handler, OSType creator, normalcolor hiliteColor,
                 uint8_t singleDocument, const FileRef* resources)
{
  initAppGlobals(handler, singleDocument, creator);
  if (resources)
    gAppInfos.resourcesFolder = *resources;
  gUILib.hiliteColor = hiliteColor;
  initGWutils(AddMemObject(&gMemPool, kGWTempBufferSize));
  SetUpNavUserDatas(&gIOdata, 0, creator, fourcc("TEXT"));
  gUILib.port = NewPixelPort(reinterpret_cast<uint8_t*>(&gPortPixel), 4, Rect{0, 0, 1, 1}, 32,
                             kPixelFormatARGB);

  for (int32_t k = 0; k < kUIListImageCount; ++k) {
    Str63 name;
    UI_ListImageName(k, name);
    gUILib.images[k] = loadResourceImage(name, gAppInfos.resourcesFolder);
  }
  Str63 hilite;
  SetPString(hilite, "rimhilit.tif");
  if (gUIHilitImage)
    QZ_ImageRelease(gUIHilitImage);
  gUIHilitImage = loadResourceImage(hilite, gAppInfos.resourcesFolder);
  gshadowcoloref = QZColor{0, 0, 0, 0.6};

  // Our surfaces are 32-bit whatever the screen; a 24-bit screen (as Xvfb
  // gives) shows them as they are.
  GDHandle main = GetMainDevice();
  if (main && main->pixelSize != 32 && main->pixelSize != 24) {
    do_AlertUser_dlog(kAlertDialogID, kAlertScreenDepth, nullptr);
    disposePortAndRegion();
    releaseListImages();
    fkill(&gMemPool);
    ExitToShell();
  }

  SetAlertSoundProc(beepAsAlertSound);
  kvui::setKeyObserver(feedKey);
  kvui::setButtonObserver(feedButton);
  KV_setRenderEventPump(kvui::pump);
  return waitingOpenDocuments();
}

void Kill_EUILIB()
{
  disposePortAndRegion();
  releaseListImages();
  // The scratch block lay in the pool: nothing may use it any more.
  gTempbuffer = nullptr;
  fkill(&gMemPool);
}
