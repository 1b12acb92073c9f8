#include "app/maindoc.h"

#include <algorithm>
#include <cstring>

#include "app/appevents.h"
#include "app/dispatch.h"
#include "app/filerefs.h"
#include "app/playback.h"
#include "app/prefs.h"
#include "document/engineapi.h"
#include "document/inputslots.h"
#include "document/treefile.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/appshell.h"
#include "foundation/fileio.h"
#include "foundation/folders.h"
#include "foundation/iodata.h"
#include "foundation/modifierkeys.h"
#include "foundation/numbers.h"
#include "foundation/pstrings.h"
#include "imaging/windowport.h"
#include "platform/menubar.h"
#include "platform/ui.h"
#include "ui/filedialogs.h"
#include "ui/qztext.h"
#include "ui/registry.h"
#include "ui/uidrawshapes.h"
#include "ui/uiset.h"

namespace {

constexpr int32_t kFirstThumbnailOpcode = 51;  // item + 47
constexpr int32_t kFirstSubfolderOpcode = 95;  // item + 57
constexpr int32_t kLastThumbnailOpcode = 89;
constexpr int32_t kLastSubfolderOpcode = 116;
constexpr OSType kTreeFileType = fourcc("qjKv");

// Second colours of the subfolder items: flag, red, green, blue.
constexpr normalcolor kSubfolderSelected{255, 60, 255, 200};
constexpr normalcolor kSubfolderOther{255, 204, 204, 204};
// A name cut to 63 bytes at a character boundary keeps at least 60.
constexpr size_t kCutNameMinimum = 60;
constexpr float kFormatTooOldGrey = 85.0f / 255.0f;

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

// The item's name as a Pascal string (cut to 255 bytes).
void pascalName(const FileRef& item, Str255 out)
{
  SetPString(out, item.name.c_str());
}

void setTreeTypeList()
{
  gIOdata.typeList[0] = kTreeFileType;
  gIOdata.typeCount = 1;
}

bool holdsTreeFiles(const FileRef& item, const FileInfo&)
{
  return folderhastypeprocptr(item);
}

// Both references name the same folder on disk.
bool sameFolder(const FileRef& a, const FileRef& b)
{
  kvfs::FolderId idA, idB;
  if (kvfs::folderId(a, idA) && kvfs::folderId(b, idB))
    return idA == idB;
  return a == b;
}

// The record's file: its own name in its folder, or, for a name that may
// have been cut to the record's 63 bytes, the first item of the folder (in
// byte order) whose name starts with it.
bool ResolveRecord(const frefinfos& record, FileRef* out)
{
  FileRef exact;
  if (App_frefinfos2fSRef(record, &exact) && kvfs::exists(exact) && !kvfs::isFolder(exact)) {
    *out = exact;
    return true;
  }
  const size_t length = std::min<size_t>(record.name[0], 63);
  if (length < kCutNameMinimum || record.parent.empty())
    return false;
  const std::string prefix(reinterpret_cast<const char*>(record.name + 1), length);
  for (const FolderEntry& entry : kvfs::listFolder(record.parent))
    if (entry.name.size() > length && entry.name.compare(0, length, prefix) == 0) {
      FileRef candidate = record.parent.child(entry.name);
      if (kvfs::isFolder(candidate))
        continue;
      *out = candidate;
      return true;
    }
  return false;
}

Rect intersection(const Rect& a, const Rect& b)
{
  return Rect{std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
              std::min(a.right, b.right)};
}

bool meets(const Rect& a, const Rect& b)
{
  Rect r = intersection(a, b);
  return r.top < r.bottom && r.left < r.right;
}

void packRect(const Rect& r, int32_t dest[2])
{
  dest[0] = PackRectTopLeft(r);
  dest[1] = PackRectBottomRight(r);
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
  Browser_Init(false);
  if (window)
    kvui::invalidate(window, nullptr);
}

void IB_MainDoc::Browser_Init(bool ask)
{
  if (ask) {
    SetPString(gIOdata.prompt, "Set directory to browse...");
    if (NChooseFolder() == 0 && !gIOdata.resultRef.empty())
      shownFolder = gIOdata.resultRef;
  }
  topFolder = shownFolder;
  folder = shownFolder;
  selectedFile = 0;
  if (set)
    previewBox = set->GetuitemBox(kItemPreview);
  filesOnPage = 0;
  Browser_SetDir();
  Browser_SetFolder(false);
}

void IB_MainDoc::Browser_SetDir()
{
  setTreeTypeList();
  subfolderCount = int16_t(std::clamp<int32_t>(
      IterateFolder_searchproc(shownFolder, holdsTreeFiles, subfolders, kBrowserSubfolders, 0), 0,
      kBrowserSubfolders));
  for (int16_t k = subfolderCount; k < kBrowserSubfolders; ++k)
    subfolders[k] = FileRef{};
  selectedSubfolder = 0;
  if (set) {
    Str255 name;
    for (int16_t k = 0; k < kBrowserSubfolders; ++k) {
      name[0] = 0;
      if (k < subfolderCount)
        pascalName(subfolders[k], name);
      set->SetuitemNameNR(int16_t(kItemFirstSubfolder + k), name);
    }
    name[0] = 0;
    set->SetuitemNameNR(kItemFileName, name);
  }
  firstFile = 0;
}

void IB_MainDoc::Browser_SetFolder(bool descend)
{
  selectedFile = 0;
  if (subfolderCount >= 1 && selectedSubfolder >= 0 && selectedSubfolder < subfolderCount) {
    setTreeTypeList();
    filesOnPage = int16_t(
        std::clamp<int32_t>(IterateFiles_searchproc(subfolders[selectedSubfolder], matchtypeprocptr,
                                                    pageFiles, firstFile, kBrowserPageFiles, 0),
                            0, kBrowserPageFiles));
    for (int16_t k = filesOnPage; k < kBrowserPageFiles; ++k)
      pageFiles[k] = FileRef{};
    if (filesOnPage > 0) {
      HighlightSubfolder();
      if (set) {
        Str255 name;
        pascalName(pageFiles[0], name);
        set->SetuitemName(kItemFileName, name);
        set->Invaluitem(kItemPreview);
      }
    } else if (descend) {
      // A subfolder whose tree files are all in its own subfolders: enter it.
      shownFolder = subfolders[selectedSubfolder];
      folder = shownFolder;
      Browser_SetDir();
      Browser_SetFolder(false);
      return;
    }
  } else {
    filesOnPage = 0;
  }
  InvalidateThumbnails();
  redrawNeeded = 1;
}

void IB_MainDoc::HighlightSubfolder()
{
  if (!set)
    return;
  for (int16_t k = 0; k < kBrowserSubfolders; ++k)
    set->SetuitemColors(int16_t(kItemFirstSubfolder + k), nullptr,
                        k == selectedSubfolder ? &kSubfolderSelected : &kSubfolderOther);
  if (highlightedSubfolder >= 0 && highlightedSubfolder < kBrowserSubfolders)
    set->Drawuitem(int16_t(kItemFirstSubfolder + highlightedSubfolder));
  set->Drawuitem(int16_t(kItemFirstSubfolder + selectedSubfolder));
  highlightedSubfolder = selectedSubfolder;
}

void IB_MainDoc::InvalidateThumbnails()
{
  if (!set)
    return;
  for (int16_t k = 0; k < kBrowserPageFiles; ++k)
    set->Invaluitem(int16_t(kItemFirstThumbnail + k));
}

void IB_MainDoc::Browser_nextpage()
{
  if (subfolderCount <= 0)
    return;
  if (filesOnPage < kBrowserPageFiles) {
    PlayAlertSound();
    return;
  }
  firstFile = int16_t(firstFile + kBrowserPageFiles);
  ChangePage();
}

void IB_MainDoc::Browser_lastpage()
{
  if (subfolderCount <= 0)
    return;
  firstFile = int16_t(std::max(0, firstFile - kBrowserPageFiles));
  ChangePage();
}

void IB_MainDoc::ChangePage()
{
  Browser_SetFolder(false);
  InvalidateThumbnails();
  if (set)
    set->Invaluitem(kItemPreview);
  redrawNeeded = 1;
}

void IB_MainDoc::Browser_draw(const Rect& update)
{
  for (int16_t k = 0; k < filesOnPage && k < kBrowserPageFiles; ++k) {
    if (!meets(thumbnailBoxes[k], update))
      continue;
    draw_kv_icon(pageFiles[k], thumbnailBoxes[k]);
    FlushContext();
  }
  if (meets(previewBox, update))
    Browser_drawpreview();
}

void IB_MainDoc::Browser_drawpreview()
{
  if (selectedFile >= 0 && selectedFile < filesOnPage)
    draw_kv_preview(pageFiles[selectedFile]);
}

void IB_MainDoc::draw_kv_preview(const FileRef& file)
{
  if (!gKovrelinWorld)
    return;
  sfuncSystem* doc = &gKovrelinWorld->doc;
  Kovrelin_kill(doc);
  previewValid = 0;
  Kovrelin_SetInputMode(doc, nullptr, false, 0, nullptr);
  if (arb_READ(doc, file, true, true, &soundSettings) != kTreeReadOK)
    return;
  int32_t dest[2];
  packRect(previewBox, dest);
  Kovrelin_PreviewToImage(port, doc, dest, 1, nullptr);
  previewValid = 1;
}

void IB_MainDoc::draw_kv_icon(const FileRef& file, const Rect& box)
{
  Kovrelin_SetInputMode(&thumbnailSystem, nullptr, false, 0, nullptr);
  if (arb_READ(&thumbnailSystem, file, true, true, nullptr) != kTreeReadOK) {
    backgroundColor[0] = 1.0f;
    backgroundColor[1] = backgroundColor[2] = backgroundColor[3] = kFormatTooOldGrey;
    look.just = 1;
    Str255 text;
    SetPString(text, "Format too old");
    Draw_TextBox(this, text, box);
  } else {
    int32_t dest[2];
    packRect(box, dest);
    Kovrelin_PreviewToImage(port, &thumbnailSystem, dest, 1, nullptr);
    if (gopt) {
      // Rewrites the tree in the current format; the writer replaces the
      // file only once the new one is whole.
      frefinfos ref;
      ref.type = xFile_getType(file);
      SetPString(ref.name, file.name.substr(0, 63).c_str());
      ref.parent = file.parentRef();
      if (file.name.size() <= 63)
        arb_WRITE(&thumbnailSystem, &ref, nullptr);
    }
  }
  arb_Clear(&thumbnailSystem, true, true);
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
  Browser_draw(bounds);
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

void IB_MainDoc::SelectFile(int16_t k)
{
  if (k == selectedFile)
    return;
  selectedFile = k;
  if (k >= filesOnPage)
    return;
  ShowSelectedFile();
  if (gopt)
    PlaySelected();
}

void IB_MainDoc::ShowSelectedFile()
{
  const int16_t k = selectedFile;
  Str255 name;
  pascalName(pageFiles[k], name);
  std::memcpy(gAppInfos.paramString, name, size_t(name[0]) + 1);
  if (set)
    set->SetuitemName(kItemFileName, name);
  draw_kv_preview(pageFiles[k]);
  FlushContext();
}

bool IB_MainDoc::HasSelectedFile() const
{
  return selectedFile >= 0 && selectedFile < filesOnPage;
}

void IB_MainDoc::PlaySelected()
{
  if (HasSelectedFile())
    play_kv_anim(port, &soundSettings, pageFiles[selectedFile], previewValid != 0, previewBox);
}

void IB_MainDoc::SendToPlodex()
{
  if (!HasSelectedFile())
    return;
  std::vector<uint8_t> data = AE_liilData(pageFiles[selectedFile]);
  if (data.empty())
    return;
  SendAppOpcode(data.data(), int16_t(data.size()), kPlodexCreator);
  OpenApplication(kPlodexCreator);
}

void IB_MainDoc::OpenInTreeEditor()
{
  if (!HasSelectedFile())
    return;
  if (gopt) {
    SendToPlodex();
    return;
  }
  frefinfos record;
  if (App_FSSpec2frefinfos(pageFiles[selectedFile], &record))
    OpenEfileSelection(record, kTreeEditorCreator);
}

bool IB_MainDoc::FindPageOf(const FileRef& file)
{
  // Pages start at listing positions, so the file is on the first page
  // (from position 0, 32 at a time) whose list holds it.
  OSErr err = 0;
  const size_t listed = kvfs::listFolder(file.parentRef(), &err).size();
  for (int32_t first = 0; err == 0 && size_t(first) < listed && first <= INT16_MAX;
       first += kBrowserPageFiles) {
    firstFile = int16_t(first);
    Browser_SetFolder(false);
    for (int16_t k = 0; k < filesOnPage; ++k)
      if (pageFiles[k] == file) {
        selectedFile = k;
        return true;
      }
  }
  firstFile = 0;
  Browser_SetFolder(false);
  return false;
}

void IB_MainDoc::ShowFile(const frefinfos& record)
{
  FileRef file;
  if (!ResolveRecord(record, &file))
    return;
  const FileRef holder = file.parentRef();
  shownFolder = holder.parentRef();
  Browser_Init(false);
  for (int16_t k = 0; k < subfolderCount; ++k)
    if (sameFolder(subfolders[k], holder)) {
      selectedSubfolder = k;
      break;
    }
  if (!FindPageOf(file))
    return;
  ShowSelectedFile();
}

void IB_MainDoc::ShowTreeFolder(const FileRef& shown)
{
  ShowFolder(shown);
  if (subfolderCount > 0 || !folderhastypeprocptr(shown) || shown.parentRef() == shown)
    return;
  ShowFolder(shown.parentRef());
  for (int16_t k = 0; k < subfolderCount; ++k)
    if (sameFolder(subfolders[k], shown)) {
      OpenSubfolder(k);
      break;
    }
}

void IB_MainDoc::ParentFolder()
{
  if (sameFolder(shownFolder, topFolder)) {
    Browser_Init(true);
    return;
  }
  shownFolder = shownFolder.parentRef();
  folder = shownFolder;
  Browser_SetDir();
  Browser_SetFolder(false);
}

void IB_MainDoc::OpenSubfolder(int16_t k)
{
  if (k >= subfolderCount)
    return;
  selectedSubfolder = k;
  firstFile = 0;
  Browser_SetFolder(true);
}

int16_t IB_MainDoc::DoDocCommand(int32_t command, void* data)
{
  if (command >= kFirstThumbnailOpcode && command <= kLastThumbnailOpcode) {
    SelectFile(int16_t(command - kFirstThumbnailOpcode));
    return 0;
  }
  if (command >= kFirstSubfolderOpcode && command <= kLastSubfolderOpcode) {
    OpenSubfolder(int16_t(command - kFirstSubfolderOpcode));
    return 0;
  }
  switch (command) {
    case 92:
      ParentFolder();
      return 0;
    case 93:
      Browser_nextpage();
      return 0;
    case 94:
      Browser_lastpage();
      return 0;
    case 90:
      PlaySelected();
      return 0;
    case 91:
      SendToPlodex();
      return 0;
    case int32_t(fourcc("broi")):
      Browser_Init(true);
      return 0;
    case int32_t(fourcc("open")):
      OpenInTreeEditor();
      return 0;
    case int32_t(fourcc("ofsr")):
      // Without a record there is nothing to show: left to the others.
      if (!data)
        return kEdocNotHandled;
      ShowFile(*static_cast<const frefinfos*>(data));
      return 0;
    default:
      return kEdocNotHandled;
  }
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
  if (command == int32_t(fourcc("rndS"))) {
    ScreenRender();
    return 0;
  }
  return browser->DoDocCommand(command, data);
}
