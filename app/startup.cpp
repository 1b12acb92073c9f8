#include "app/startup.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/appevents.h"
#include "app/dispatch.h"
#include "app/maindoc.h"
#include "app/menus.h"
#include "app/prefs.h"
#include "app/services.h"
#include "document/engineapi.h"
#include "document/inputslots.h"
#include "document/qtsetup.h"
#include "engine/palettes.h"
#include "engine/world.h"
#include "foundation/appshell.h"
#include "foundation/mempool.h"
#include "imaging/offworld.h"
#include "platform/ipc.h"
#include "platform/menubar.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "sound/audiofiles.h"
#include "sound/rtaudio.h"
#include "sound/treesound.h"
#include "ui/dialogalerts.h"
#include "ui/dialogsettings.h"
#include "ui/registry.h"
#include "ui/uilib.h"

namespace {

// The colour the UI library gets: flag 255, red 0, green 255, blue 0.
constexpr normalcolor kShadowColor{255, 0, 255, 0};

void onOpenRequest(const std::vector<std::string>& paths, void*)
{
  KVapp_OpenDocuments(paths);
}

void fillApplicationRecord()
{
  AppInfos& a = gAppInfos;
  a.port = gUILib.port;
  a.scratchRegion = gUILib.region;
  for (int k = 0; k < kUIListImageCount; ++k)
    a.uiImages[k] = gUILib.images[k];
  a.applicationBundle = FileRef::fromPath(std::filesystem::read_symlink("/proc/self/exe").string());
  a.applicationFile = a.applicationBundle;
  a.resourceFile = kvres::currentStore();
  a.shadowColor = kShadowColor;
}

void createPreferencesFolder()
{
  std::error_code ec;
  std::filesystem::create_directories(gAppInfos.preferencesFolder.path(), ec);
}

void makeWorld()
{
  auto* world =
      static_cast<KovrelinWorld*>(AddMemObject(&gMemPool, int32_t(sizeof(KovrelinWorld))));
  Kovrelin_worldinit(world, &gPrefs.render, gAppInfos.resourcesFolder);
  // Browsed trees never ask for a missing input: the default picture
  // stands in for it.
  world->askForMissingInputs = 0;
  world->defaultPictureForEmptySlots = 1;
  Kovrelin_opendefaultpicture(gAppInfos.resourcesFolder, &gPrefs.pictureSize);
}

}  // namespace

void KVapp_OpenDocuments(const std::vector<std::string>& paths)
{
  for (const std::string& path : paths) {
    FileRef item = FileRef::fromPath(path);
    if (!kvfs::isFolder(item))
      continue;
    if (!gCurDoc)
      DoGeneralCommand(int32_t(fourcc("new ")), nullptr);
    auto* browser = static_cast<IB_MainDoc*>(gCurDoc);
    if (!browser || !browser->window)
      continue;
    browser->ShowTreeFolder(item);
    kvui::selectWindow(browser->window);
  }
}

void KVapp_Startup()
{
  kvui::setCursor(kvui::kCursorArrow);
  InitMovieToolbox();
  finit(&gMemPool, MemPoolStartupSize({sizeof(KovrelinWorld), size_t(kGWTempBufferSize),
                                       sizeof(cpalettelib), Kovrelin_SoundPoolSize()}));
  init_EUILIB(DoGeneralCommand, kAppCreator, kShadowColor, 0);
  InstallAlertDialogs();
  SetSoundFileGetProc(MASTER_SOUNDFILE_GET);
  App_InstallServices();
  fillApplicationRecord();
  createPreferencesFolder();

  InitPreferencesnGlobals();
  gAppInfos.preferencesLoaded = 1;

  InstallAppEvents();
  installAEHandlers();
  gMenu.InstallMenus(3);
  makeWorld();
  Kovrelin_SoundInit(0);

  // The first browser comes through the ordinary command path.
  AppEventHandler(AppEvent{fourcc("cmds"), 1, fourcc("new "), 0, 0});
}

void KVapp_Shutdown()
{
  WritePreferences();
  RT_kill(&gRTEffect);
  App_ClearRegistry();
  kvmenu::clear();
  Kill_EUILIB();
}

int KVapp_main(const std::vector<std::string>& paths)
{
  if (!kvui::startGtk()) {
    std::fprintf(stderr,
                 "kovrelin-browser: no display to open its windows on (DISPLAY is not set or "
                 "cannot be reached)\n");
    return 1;
  }
  std::vector<std::string> absolute;
  for (const std::string& p : paths)
    absolute.push_back(FileRef::fromPath(p).path());
  kvipc::Role role = kvipc::start(kAppCreator, absolute, onOpenRequest, nullptr);
  if (role == kvipc::Role::remote) {
    kvui::stop();
    return 0;
  }
  KVapp_Startup();
  KVapp_OpenDocuments(absolute);
  AEOpenDocument(absolute);
  kvui::runApplicationLoop();
  KVapp_Shutdown();
  kvipc::stop();
  kvui::stop();
  return 0;
}
