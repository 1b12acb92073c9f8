// The application brought up on the scripted window backend for tests: the
// build's Resources (layouts and the resource store), a memory pool, the UI
// library with DoGeneralCommand as the command handler, the application
// events and the menus. Preferences go to a temporary folder. Alerts are
// recorded instead of shown.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/dispatch.h"
#include "app/menus.h"
#include "app/prefs.h"
#include "app/services.h"
#include "foundation/appshell.h"
#include "foundation/mempool.h"
#include "foundation/pstrings.h"
#include "imaging/offworld.h"
#include "platform/menubar.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "tests/platform/tempfolder.h"
#include "ui/edoc.h"
#include "ui/registry.h"
#include "ui/twindow.h"
#include "ui/uilib.h"

inline std::vector<std::string> gAlertTexts;

inline int16_t recordAlert(int16_t, int16_t, ConstStringPtr text)
{
  gAlertTexts.emplace_back(text ? std::string(reinterpret_cast<const char*>(text + 1), text[0])
                                : std::string());
  return 1;
}

inline std::string pascalText(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

struct AppFixture : testing::Test
{
  void SetUp() override
  {
    setenv("XDG_CONFIG_HOME", config.root().path().c_str(), 1);
    kvui::startScripted();
    kvres::openApplicationStore(std::string(KV_BINARY_DIR) + "/Resources/Kovrelin.rsrc");
    finit(&gMemPool, MemPoolStartupSize({size_t(kGWTempBufferSize)}));
    FileRef resources = FileRef::fromPath(std::string(KV_BINARY_DIR) + "/Resources");
    init_EUILIB(DoGeneralCommand, fourcc("Qjpr"), normalcolor{255, 0, 255, 0}, 0, &resources);
    App_InstallServices();
    SetAlertDialogProc(recordAlert);
    gAlertTexts.clear();
    KVprefs_Defaults(&gPrefs);
    kvmenu::clear();
    gMenu = AppMenus{};
    InstallAppEvents();
    gMenu.InstallMenus(3);
    kvui::script::clearRecords();
  }
  void TearDown() override
  {
    for (Edoc*& doc : gDocRegistry) {
      Edoc* d = doc;
      doc = nullptr;
      delete d;
    }
    App_ClearRegistry();
    kvmenu::clear();
    SetAlertDialogProc(nullptr);
    SetReportTextProc(nullptr);
    SetObjectNameProc(nullptr);
    SetGWorld(nullptr, nullptr);
    Kill_EUILIB();
    kvui::stop();
    kvres::closeAllStores();
    unsetenv("XDG_CONFIG_HOME");
  }

  TempFolder config;
};
