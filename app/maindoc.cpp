#include "app/maindoc.h"

#include <algorithm>
#include <cstring>

#include "app/dispatch.h"
#include "app/prefs.h"
#include "document/engineapi.h"
#include "engine/treemanage.h"
#include "foundation/appshell.h"
#include "foundation/numbers.h"
#include "foundation/pstrings.h"
#include "imaging/windowport.h"
#include "platform/menubar.h"
#include "platform/ui.h"
#include "ui/qztext.h"
#include "ui/registry.h"
#include "ui/uiset.h"

namespace {

constexpr int32_t kFirstThumbnailOpcode = 51;  // item + 47
constexpr int32_t kFirstSubfolderOpcode = 95;  // item + 57

// Commands the browser takes and does nothing with.
constexpr OSType kIgnoredCommands[] = {
    fourcc("clea"), fourcc("copy"), fourcc("cut "), fourcc("dall"), fourcc("dupl"),
    fourcc("past"), fourcc("pref"), fourcc("redo"), fourcc("rndM"), fourcc("rndr"),
    fourcc("sall"), fourcc("swin"), fourcc("undo"),
};

bool isIgnored(int32_t command)
{
  for (OSType c : kIgnoredCommands)
    if (int32_t(c) == command)
      return true;
  return false;
}

bool anyDocument()
{
  for (Edoc* doc : gDocRegistry)
    if (doc)
      return true;
  return false;
}

// The folder the browser opens on: the preferences' last folder while it
// exists, else the application's folder.
FileRef startFolder()
{
  if (!gPrefs.lastFolder.empty() && kvfs::isFolder(gPrefs.lastFolder))
    return gPrefs.lastFolder;
  return gAppInfos.applicationFolder;
}

}  // namespace

IB_MainDoc::IB_MainDoc(int32_t windowClass, uint32_t attributes, const Rect* bounds,
                       int16_t layoutID, bool fullScreen)
    : TWindow(windowClass, attributes, bounds, layoutID, fullScreen)
{
  callback = IB_MainDoc_Command;
  if (!window)
    return;
  if (set)
    set->SetCallBackCmdptr(IB_MainDoc_Command, this);
  SetupUiset();
  kvmenu::attachMenuBar(window);
  RefreshPortRect();
  ResizeUI(portRect);
  Kovrelin_SoundinfosInit(&soundSettings);
  arb_Init(&thumbnailSystem);
  ShowFolder(startFolder());
  UpdateWindow();
  redrawNeeded = 1;
}

IB_MainDoc::~IB_MainDoc()
{
  StoreInPreferences();
  arb_Clear(&thumbnailSystem, true, true);
}

void IB_MainDoc::StoreInPreferences()
{
  if (stored_)
    return;
  stored_ = true;
  if (window) {
    // The preferences keep the toplevel's client area: the content and
    // the menu bar above it.
    kvui::Rect content = kvui::windowContent(window);
    content.top -= kvmenu::menuBarHeight(window);
    kvui::hideWindow(window);
    gPrefs.windowBounds = RectFromUI(content);
  }
  if (!shownFolder.empty())
    gPrefs.lastFolder = shownFolder;
  if (gCurDoc == this)
    gCurDoc = nullptr;
}

void IB_MainDoc::SetupUiset()
{
  if (!set)
    return;
  set->SetOpcodeNptr(kItemPreviousPage, 94, nullptr);
  set->SetOpcodeNptr(kItemPreview, int32_t(fourcc("rndS")), this);
  set->SetOpcodeNptr(kItemNextPage, 93, nullptr);
  for (int16_t k = 0; k < kBrowserPageFiles; ++k)
    set->SetOpcodeNptr(int16_t(kItemFirstThumbnail + k), kFirstThumbnailOpcode + k, this);
  set->SetOpcodeNptr(kItemPlay, 90, nullptr);
  set->SetOpcodeNptr(kItemOpenInEditor, 199, nullptr);
  for (int16_t k = 0; k < kBrowserSubfolders; ++k)
    set->SetOpcodeNptr(int16_t(kItemFirstSubfolder + k), kFirstSubfolderOpcode + k, this);
  set->SetOpcodeNptr(kItemParentFolder, 92, nullptr);
  set->SetuitemAltStyle(kItemFileName, 0);
}

void IB_MainDoc::UpdateWindow()
{
  Str255 text;
  SetPString(text, kBrowserTitle);
  std::memcpy(title, text, sizeof title);
  kvui::setWindowTitle(window, kBrowserTitle);
  RefreshPortRect();
  if (set)
    set->layoutRect = portRect;
  redrawNeeded = 1;
}

void IB_MainDoc::ShowFolder(const FileRef& shown)
{
  shownFolder = shown;
  topFolder = shown;
  folder = shown;
  selectedFile = 0;
  firstFile = 0;
  filesOnPage = 0;
  redrawNeeded = 1;
  if (window)
    kvui::invalidate(window, nullptr);
}

void IB_MainDoc::Draw()
{
  if (!window)
    return;
  if (!context)
    OpenContext();
  if (!redrawNeeded || !set)
    return;
  Rect bounds = portRect;
  set->Draw(&bounds);
  FlushContext();
  redrawNeeded = 0;
}

int32_t IB_MainDoc::Act(Point where)
{
  if (!set)
    return 0;
  set->Act(where);
  if (set->hit == kItemOpenInEditor)
    DoDocCommand(int32_t(fourcc("open")), nullptr);
  return 0;
}

int16_t IB_MainDoc::Key(uint32_t character)
{
  if (set && set->Key(int8_t(character)) && context)
    FlushContext();
  return 0;
}

void IB_MainDoc::ResizeUI(Rect portBounds)
{
  if (set) {
    set->ResizeUI(portBounds, 1, nullptr);
    previewBox = set->GetuitemBox(kItemPreview);
    for (int16_t k = 0; k < kBrowserPageFiles; ++k)
      thumbnailBoxes[k] = set->GetuitemBox(int16_t(kItemFirstThumbnail + k));
  }
  InvalidateArea(&portBounds);
  redrawNeeded = 1;
}

void IB_MainDoc::Idle(Point where)
{
  if (set && kvui::frontWindow() == window)
    set->PreHilite(where);
}

void IB_MainDoc::DoDisplayMessage()
{
  if (!window)
    return;
  if (!context)
    OpenContext();
  if (!context)
    return;
  constexpr int16_t kBand = 32;
  Rect band = portRect;
  band.top = int16_t(std::max<int32_t>(band.top, band.bottom - kBand));
  QZ_ContextSetRGBFillColor(context, 0, 0, 0, 0.5);
  QZ_ContextFillRect(context, QZ_RectFromRect(band));
  // The number and "%" go after the text only for the drawing: the string
  // keeps its length.
  StringPtr text = gAppInfos.paramString;
  const uint8_t length = text[0];
  if (gAppInfos.paramStringFlag == 1) {
    Str255 number;
    NumToString(gAppInfos.paramStringNumber, number);
    number[++number[0]] = '%';
    uint8_t room = uint8_t(255 - length);
    uint8_t n = std::min<uint8_t>(number[0], room);
    std::memcpy(text + 1 + length, number + 1, n);
    text[0] = uint8_t(length + n);
  }
  const textLook messageLook{24, 1, 0, 1};
  QZ_drawString(context, &messageLook, text, band, 1, 1, 1, 1);
  text[0] = length;
  FlushContext();
}

int16_t IB_MainDoc::DoDocCommand(int32_t, void*)
{
  return kEdocNotHandled;
}

int16_t IB_MainDoc_Command(Edoc* doc, int32_t command, void* data)
{
  auto* browser = static_cast<IB_MainDoc*>(doc);
  if (command == 504) {
    browser->DoDisplayMessage();
    return 0;
  }
  if (command == int32_t(fourcc("abou")))
    return DoGeneralCommand(command, nullptr);
  if (isIgnored(command))
    return 0;
  if (command == int32_t(fourcc("clos"))) {
    delete browser;
    // The menus live in the browsers' windows: without one the program
    // could never be reached again, so closing the last one ends it.
    if (kvui::isApplicationLoopRunning() && !anyDocument())
      kvui::quitApplicationLoop();
    return 0;
  }
  if (command == int32_t(fourcc("wsiz"))) {
    browser->UpdateWindow();
    return 0;
  }
  return browser->DoDocCommand(command, data);
}
