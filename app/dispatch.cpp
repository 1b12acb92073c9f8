#include "app/dispatch.h"

#include "app/maindoc.h"
#include "app/menus.h"
#include "app/prefs.h"
#include "app/services.h"
#include "foundation/appshell.h"
#include "foundation/numbers.h"
#include "platform/menubar.h"
#include "platform/ui.h"
#include "sound/rtaudio.h"
#include "ui/dialogalerts.h"
#include "ui/registry.h"

namespace {

constexpr int16_t kAboutBoxID = 1056;
constexpr int32_t kAboutBoxTicks = 600;

TWindow* currentBrowser()
{
  return static_cast<TWindow*>(gCurDoc);
}

void showFullScreenBrowser(bool show)
{
  TWindow* browser = currentBrowser();
  if (!browser || !browser->window || browser->fullScreenState != 2)
    return;
  if (show)
    kvui::showWindow(browser->window);
  else
    kvui::hideWindow(browser->window);
}

void onMenuCommand(uint32_t command, int16_t menuID)
{
  AppEventHandler(AppEvent{fourcc("cmds"), 1, command, kCommandFromMenu, menuID});
}

void onMenuAdjust(int16_t menuID)
{
  AppEventHandler(AppEvent{fourcc("cmds"), 2, 0, kCommandFromMenu, menuID});
}

void onActivation(bool active)
{
  AppEventHandler(AppEvent{fourcc("appl"), active ? 1u : 2u, 0, 0, 0});
}

int16_t newBrowser(void* data)
{
  auto* browser = new IB_MainDoc(kDocumentWindowClass, kBrowserAttributes, &gPrefs.windowBounds,
                                 kBrowserLayoutID, false);
  gCurDoc = browser;
  if (!data)
    browser->Show();
  return 0;
}

}  // namespace

int32_t AppEventHandler(const AppEvent& event)
{
  if (event.eventClass == fourcc("cmds")) {
    if (event.kind == 1) {
      if (event.command == fourcc("swin"))
        PlayAlertSound();
      else
        DoGeneralCommand(int32_t(event.command), nullptr);
    } else if (event.kind == 2 && (event.attributes & kCommandFromMenu)) {
      AdjustMenu(event.menuID);
    }
  } else if (event.eventClass == fourcc("appl")) {
    if (event.kind == 1 || event.kind == 2) {
      bool active = event.kind == 1;
      gAppInfos.applicationActive = active ? 1 : 0;
      showFullScreenBrowser(active);
    }
  }
  return kvui::kEventNotHandled;
}

void AdjustMenu(int16_t menuID)
{
  kvui::setCursor(kvui::kCursorArrow);
  if (menuID == kFileMenuID) {
    bool browser = gCurDoc != nullptr;
    gMenu.UpdateMenuFlag(int32_t(fourcc("open")), browser);
    gMenu.UpdateMenuFlag(91, browser);
  } else if (menuID == kEditMenuID) {
    for (OSType c : {fourcc("undo"), fourcc("cut "), fourcc("copy"), fourcc("clea")})
      gMenu.UpdateMenuFlag(int32_t(c), false);
  }
}

int16_t DoGeneralCommand(int32_t command, void* data)
{
  Edoc* browser = gCurDoc;
  switch (command) {
    case int32_t(fourcc("new ")):
      return newBrowser(data);
    case 501:
      if (!browser)
        newBrowser(nullptr);
      return 0;
    case kShowParamCommand:
      if (browser && browser->callback)
        browser->callback(browser, command, data);
      return 0;
    case int32_t(fourcc("quit")):
      if (App_CloseAllDoc() == 0)
        kvui::quitApplicationLoop();
      return 0;
    case int32_t(fourcc("StoP")):
      DefaultAU_Stop(&gRTEffect);
      gRTEffect.stop = 0;
      doDelay(9);
      return 0;
    case int32_t(fourcc("abou")): {
      Str255 empty = {};
      do_SplatchScreen_dlog(kAboutBoxID, empty, kAboutBoxTicks);
      return 0;
    }
    default:
      if (browser && browser->callback)
        return browser->callback(browser, command, data);
      return 0;
  }
}

void InstallAppEvents()
{
  kvmenu::setCommandHandler(onMenuCommand);
  kvmenu::setAdjustHandler(onMenuAdjust);
  kvui::setActivationObserver(onActivation);
}
