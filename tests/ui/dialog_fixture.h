// Dialogs on the scripted backend: the build's Resources folder (layouts and
// string lists), a recording alert in place of the real one, and a check
// that no dialog's modal loop ran out of script.
#pragma once

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "foundation/appshell.h"
#include "foundation/modifierkeys.h"
#include "foundation/pstrings.h"
#include "imaging/ports.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "ui/dialogbase.h"
#include "ui/uilib.h"

inline std::string BuildResources()
{
  const char* binary = std::getenv("KV_BINARY_DIR");
  return std::string(binary ? binary : KV_BINARY_DIR) + "/Resources";
}

inline std::string PString(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

struct RecordedAlert
{
  int16_t id, index;
  std::string text;
};

struct DialogTest : testing::Test
{
  void SetUp() override
  {
    kvui::startScripted();
    initAppGlobals(nullptr, 0, fourcc("Qjpr"));
    gAppInfos.resourcesFolder = FileRef::fromPath(BuildResources());
    kvres::closeAllStores();
    ASSERT_TRUE(kvres::openApplicationStore(BuildResources() + "/Kovrelin.rsrc"));
    alerts.clear();
    previousAlert = SetAlertDialogProc(RecordAlert);
    kvdialog::resetSpentLoops();
    gopt = gdbl = 0;
  }
  void TearDown() override
  {
    // A dialog whose loop ran out of script would have waited forever.
    EXPECT_EQ(kvdialog::spentLoops(), expectedSpentLoops);
    SetAlertDialogProc(previousAlert);
    SetReportTextProc(nullptr);
    gAppInfos.commandHandler = nullptr;
    gAppInfos.resourcesFolder = FileRef{};
    kvres::closeAllStores();
    SetGWorld(nullptr, nullptr);
    kvui::stop();
  }
  static int16_t RecordAlert(int16_t id, int16_t index, ConstStringPtr text)
  {
    alerts.push_back(RecordedAlert{id, index, text ? PString(text) : std::string()});
    return 1;
  }
  // The global point of a dialog's local point.
  static kvui::Point Global(const IBbasedlog& d, int16_t h, int16_t v)
  {
    const kvui::Rect c = kvui::windowContent(d.window);
    return kvui::Point{c.top + v, c.left + h};
  }
  static void Click(const IBbasedlog& d, Rect r)
  {
    const kvui::Point p =
        Global(d, int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2));
    kvui::script::mouse(p, true);
    kvui::script::mouse(p, false);
  }
  static void Key(uint32_t character)
  {
    kvui::script::key(0, character, true);
    kvui::script::key(0, character, false);
  }

  static inline std::vector<RecordedAlert> alerts;
  AlertDialogProc previousAlert = nullptr;
  int32_t expectedSpentLoops = 0;
};
