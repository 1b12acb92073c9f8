#include "ui/filedialogs.h"

#include <algorithm>
#include <cstring>

#include "foundation/appshell.h"
#include "foundation/dirlist.h"
#include "foundation/folders.h"
#include "imaging/cursorkeys.h"
#include "imaging/qzimages.h"
#include "ui/uipictures.h"

namespace {

constexpr int kMaxSelection = 24;
constexpr int32_t kMinCustomWidth = 256, kMinCustomHeight = 64;

std::string pascalText(ConstStringPtr p)
{
  return p ? std::string(p + 1, p + 1 + p[0]) : std::string();
}

void setPrompt(const char* text)
{
  size_t n = std::min<size_t>(strlen(text), 255);
  gIOdata.prompt[0] = uint8_t(n);
  memcpy(gIOdata.prompt + 1, text, n);
}

// Saves the cursor and leaves an id no cursor has, so that the next
// DChangeCursor always changes the shape.
void resetCursorAfterDialog()
{
  gLastCursorID = gCursorID;
  gCursorID = kCursorAfterDialog;
}

bool chooserFilter(const std::string& path, void*)
{
  FileRef item = FileRef::fromPath(path);
  FileInfo info;
  return kvfs::getInfo(item, info) == 0 && xnav_FilterProc(item, info);
}

void chooserEvent(int16_t message, kvui::Chooser* chooser, const kvui::Event* event, void* user)
{
  xnav_EventProc(message, chooser, event, static_cast<NavUserData*>(user));
}

std::vector<std::string> typeNames()
{
  std::vector<std::string> names;
  for (int i = 0; i < std::clamp<int>(gIOdata.typeCount, 0, kIOTypeListSize); ++i) {
    OSType t = gIOdata.typeList[i];
    names.push_back({char(t >> 24), char(t >> 16), char(t >> 8), char(t)});
  }
  return names;
}

kvui::ChooserRequest baseRequest(kvui::ChooserKind kind)
{
  kvui::ChooserRequest request;
  request.kind = kind;
  request.title = pascalText(gIOdata.prompt);
  request.clientName = pascalText(gAppInfos.applicationName);
  request.eventProc = chooserEvent;
  request.eventUser = &gIOdata;
  return request;
}

bool inRect(const Rect& r, kvui::Point p)
{
  return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}

Rect customArea(kvui::Chooser* chooser)
{
  kvui::Rect r = kvui::chooserCustomRect(chooser);
  return Rect{int16_t(r.top), int16_t(r.left), int16_t(r.bottom), int16_t(r.right)};
}

// The dialog whose event routine runs now; null outside it.
kvui::Chooser* gEventChooser = nullptr;
// Where the last click in the custom area fell (dialog coordinates).
Point gHookClick{};

// The drawing context a hook asks for with xnav_HookContext: a bitmap over
// a copy of the custom area's pixels, copied back when the hook returns.
struct HookDrawing
{
  kvui::Chooser* chooser = nullptr;
  Rect area{};
  std::vector<uint8_t> pixels;  // alpha, red, green, blue; premultiplied
  CGContextRef context = nullptr;
};
HookDrawing gHookDrawing;

// Swaps premultiplied pixels between cairo's native order (blue, green,
// red, alpha in memory) and alpha-first order: the same byte reversal both
// ways.
void swapPixelOrder(const uint8_t* from, uint8_t* to, size_t pixels)
{
  for (size_t i = 0; i < pixels; ++i)
    for (size_t b = 0; b < 4; ++b)
      to[i * 4 + b] = from[i * 4 + 3 - b];
}

void finishHookDrawing()
{
  HookDrawing& d = gHookDrawing;
  if (d.context) {
    QZ_ContextFlush(d.context);
    kvui::Surface surface = kvui::chooserCustomSurface(d.chooser);
    if (surface.pixels && size_t(surface.width) * size_t(surface.height) * 4 == d.pixels.size())
      swapPixelOrder(d.pixels.data(), surface.pixels, d.pixels.size() / 4);
    QZ_ContextRelease(d.context);
  }
  d = HookDrawing{};
}

void callHook(NavUserData* block, const Rect& area, OSType type, FileRef* file, bool click)
{
  gHookDrawing = HookDrawing{};
  gHookDrawing.area = area;
  gHookDrawing.chooser = gEventChooser;
  block->previewHook(type, file, Point{area.top, area.left}, Point{area.bottom, area.right}, click);
  finishHookDrawing();
}

// Blends UI picture `number` over the custom area's pixels at r (chooser
// coordinates); nothing when the picture or the pixels are missing.
void drawAreaPicture(kvui::Chooser* chooser, const Rect& area, const Rect& r, int16_t number)
{
  kvui::Surface surface = kvui::chooserCustomSurface(chooser);
  CGImageRef image = surface.pixels ? QZ_LoadUIImage(number) : nullptr;
  if (!image)
    return;
  kvimg::Pixels picture;
  bool ok = QZ_ImageCopyPixels(image, &picture);
  QZ_ImageRelease(image);
  if (!ok)
    return;
  const int32_t left = r.left - area.left, top = r.top - area.top;
  const int32_t width = std::min<int32_t>(picture.width, RectWidth(r));
  const int32_t height = std::min<int32_t>(picture.height, RectHeight(r));
  for (int32_t y = 0; y < height; ++y) {
    if (top + y < 0 || top + y >= surface.height)
      continue;
    for (int32_t x = 0; x < width; ++x) {
      if (left + x < 0 || left + x >= surface.width)
        continue;
      const uint8_t* src =
          picture.argb.data() + (size_t(y) * size_t(picture.width) + size_t(x)) * 4;
      uint8_t* dst = surface.pixels + (top + y) * surface.rowBytes + (left + x) * 4;
      const int32_t a = src[0], keep = 255 - a;
      // The surface is premultiplied blue, green, red, alpha.
      dst[0] = uint8_t((src[3] * a + dst[0] * keep + 127) / 255);
      dst[1] = uint8_t((src[2] * a + dst[1] * keep + 127) / 255);
      dst[2] = uint8_t((src[1] * a + dst[2] * keep + 127) / 255);
      dst[3] = uint8_t((255 * a + dst[3] * keep + 127) / 255);
    }
  }
}

// The favourite-folders and recent-files buttons, up or pressed.
void drawAreaButtons(kvui::Chooser* chooser, const Rect& area, bool favouritesDown, bool recentDown)
{
  drawAreaPicture(chooser, area, xnav_FavouritesButton(area),
                  favouritesDown ? kPictFavouritesPressed : kPictFavouritesButton);
  drawAreaPicture(chooser, area, xnav_RecentButton(area),
                  recentDown ? kPictRecentPressed : kPictRecentButton);
}

void drawCustomArea(kvui::Chooser* chooser, NavUserData* block)
{
  if (!block->previewHook)
    return;
  Rect area = customArea(chooser);
  if (!block->saveMode && block->selectionCount >= 1) {
    block->workingSpec = block->resultRef;
    callHook(block, area, xFile_getType(block->resultRef), &block->workingSpec, false);
  } else {
    callHook(block, area, 0, nullptr, false);
  }
  drawAreaButtons(chooser, area, false, false);
}

// The favourite folders as a pop-up: entry 1 the application's folder.
void favouritesPopUp(kvui::Chooser* chooser, NavUserData* block, kvui::Point where)
{
  std::vector<kvui::MenuEntry> entries;
  int count = std::clamp<int>(block->favouriteCount, 0, kIOFavouriteCount);
  for (int i = 0; i < count; ++i)
    entries.push_back(
        {block->favourites[i].name.empty() ? std::string("/") : block->favourites[i].name});
  int32_t chosen = kvui::popUpMenu(entries, where);
  if (chosen == 1)
    xnav_setsel(chooser, block->favourites[0], false);
  else if (chosen > 1)
    kvui::chooserShowFolder(chooser, block->favourites[chosen - 1].path());
}

void recentPopUp(kvui::Chooser* chooser, kvui::Point where)
{
  int16_t chosen = App_frefinfosPopUp(Point{int16_t(where.v), int16_t(where.h)});
  if (chosen > 0 && chosen <= std::clamp<int>(gAppInfos.fileRecordCount, 0, 24)) {
    const frefinfos& record = gAppInfos.fileRecords[chosen - 1];
    xnav_setsel(chooser, record.parent, record.isFolder != 0);
  }
}

void clickCustomArea(kvui::Chooser* chooser, NavUserData* block, const kvui::Event& event)
{
  gHookClick = Point{int16_t(std::clamp<int32_t>(event.local.v, INT16_MIN, INT16_MAX)),
                     int16_t(std::clamp<int32_t>(event.local.h, INT16_MIN, INT16_MAX))};
  Rect area = customArea(chooser);
  if (inRect(xnav_RecentButton(area), event.local)) {
    drawAreaButtons(chooser, area, false, true);
    recentPopUp(chooser, event.where);
    drawAreaButtons(chooser, area, false, false);
  } else if (inRect(xnav_FavouritesButton(area), event.local)) {
    drawAreaButtons(chooser, area, true, false);
    favouritesPopUp(chooser, block, event.where);
    drawAreaButtons(chooser, area, false, false);
  } else if (block->previewHook && block->saveMode) {
    block->workingSpec = block->resultRef;
    block->workingSpec.name = kvui::chooserSaveName(chooser);
    callHook(block, area, xFile_getType(block->resultRef), &block->workingSpec, true);
    kvui::setChooserSaveName(chooser, block->workingSpec.name);
  } else if (block->previewHook && block->selectionCount >= 1) {
    block->workingSpec = block->resultRef;
    callHook(block, area, xFile_getType(block->resultRef), &block->workingSpec, true);
  }
}

// The first item inside the folder of the first listed type, or an empty
// reference.
FileRef firstListedFile(const FileRef& folder)
{
  FileRef found;
  if (IterateFiles_searchproc(folder, matchtypeprocptr, &found, 0, 1, 0) == 1)
    return found;
  return {};
}

// An 'E4MP' file found in a folder standing for a document takes the
// folder's name, unless an item of that name is there already.
FileRef renameToFolderName(const FileRef& file, const FileRef& folder)
{
  FileRef renamed = folder.child(folder.name);
  if (renamed == file || kvfs::exists(renamed))
    return file;
  return kvfs::renameItem(file, folder.name) == 0 ? renamed : file;
}

void folderAsDocument(const FileRef& folder)
{
  UTF8_2_HFS(folder.name, gIOdata.resultName);
  gIOdata.typeCount = 1;
  FileRef found = firstListedFile(folder);
  if (found.empty())
    return;
  gIOdata.selectDefault = 1;
  gIOdata.browseFolders = 1;
  if (gIOdata.typeList[0] == fourcc("E4MP"))
    found = renameToFolderName(found, folder);
  gIOdata.resultRef = found;
}

int16_t saveDialog(ConstStringPtr name)
{
  gIOdata.selectionCount = 0;
  gIOdata.saveMode = 1;
  int16_t chosen = NSaveFile(pascalText(name));
  resetCursorAfterDialog();
  return chosen;
}

void copyResultInto(frefinfos& record)
{
  record.parent = gIOdata.resultRef;
  HFS_2_PSTRING(gIOdata.resultName, record.name);
}

bool parentOf(const FileRef& item, FileRef* folder)
{
  if (item.empty())
    return false;
  *folder = item.parentRef();
  return true;
}

}  // namespace

// ---- Dialogs ---------------------------------------------------------------------

int16_t NOpenFile(OSType creator)
{
  kvui::ChooserRequest request = baseRequest(kvui::ChooserKind::open);
  request.multiple = true;
  request.filter = chooserFilter;
  if (creator != 0 && gIOdata.typeCount > 0)
    request.typeNames = typeNames();
  kvui::ChooserReply reply;
  if (!kvui::runChooser(request, &reply) || reply.paths.empty())
    return 0;
  gIOdata.resultRef = FileRef::fromPath(reply.paths.front());
  return 1;
}

int16_t NSaveFile(const std::string& defaultName)
{
  kvui::ChooserRequest request = baseRequest(kvui::ChooserKind::save);
  request.saveName = defaultName;
  request.typeNames = typeNames();
  kvui::ChooserReply reply;
  if (!kvui::runChooser(request, &reply) || reply.folder.empty() || reply.name.empty())
    return 0;
  gIOdata.resultRef = FileRef::fromPath(reply.folder);
  UTF8_2_HFS(reply.name, gIOdata.resultName);
  return 1;
}

OSErr NChooseFolder()
{
  if (!kvui::isStarted())
    return -1;
  kvui::ChooserRequest request = baseRequest(kvui::ChooserKind::folder);
  kvui::ChooserReply reply;
  if (!kvui::runChooser(request, &reply) || reply.paths.empty())
    return userCanceledErr;
  gIOdata.resultRef = FileRef::fromPath(reply.paths.front());
  return 0;
}

bool SFGetPICTPreview(FileRef* chosen)
{
  gIOdata.typeList[0] = fourcc("PICT");
  gIOdata.typeCount = 1;
  gIOdata.browseFolders = 1;
  setPrompt("Open PICT file");
  xSetDefaultLocfSS(*chosen, 0);
  return xMASTER_FILE_GET(chosen) == 1;
}

int16_t xMASTER_FILE_GET(FileRef* chosenOut)
{
  DChangeCursor(0);
  gIOdata.selectionCount = 0;
  gIOdata.saveMode = 0;
  int16_t chosen = NOpenFile(gIOdata.creator);
  resetCursorAfterDialog();
  if (!chosen)
    return 0;
  OSType type = xFile_getType(gIOdata.resultRef);
  gIOdata.selectDefault = 0;
  if (type == fourcc("fold") && !gIOdata.browseFolders)
    folderAsDocument(gIOdata.resultRef);
  gIOdata.typeList[0] = type;
  UTF8_2_HFS(gIOdata.resultRef.name, gIOdata.resultName);
  if (chosenOut) {
    gIOdata.workingSpec = gIOdata.resultRef;
    *chosenOut = gIOdata.workingSpec;
  }
  return 1;
}

int16_t MASTER_FILE_GET(FileRef* chosen)
{
  xSetDefaultLocfSS(*chosen, 0);
  return xMASTER_FILE_GET(chosen);
}

int16_t xMASTER_FILE_PUT(ConstStringPtr defaultName)
{
  return saveDialog(defaultName);
}

int16_t MASTER_FILE_PUT(FileRef* chosen, bool useDefault)
{
  gIOdata.defaultLocationPtr = nullptr;
  if (useDefault)
    xSetDefaultLocfSS(*chosen, 0);
  Str63 name = {};
  HFSUniStr255 hfs;
  UTF8_2_HFS(chosen->name, hfs);
  HFS_2_PSTRING(hfs, name);
  if (!xMASTER_FILE_PUT(name))
    return 0;
  FileRef file = gIOdata.resultRef.child(HFS_2_UTF8(gIOdata.resultName));
  if (!kvfs::exists(file)) {
    int16_t fork = xFile_Create(gIOdata.resultRef, gIOdata.resultName, gIOdata.typeList[0],
                                gAppInfos.creator, &file);
    if (fork == 0)
      return 0;
    PBfFile_Close(fork);
  }
  *chosen = file;
  return 1;
}

int16_t xEFILE_GET(frefinfos& record)
{
  if (!xMASTER_FILE_GET(nullptr))
    return 0;
  record.parent = gIOdata.resultRef.parentRef();
  HFS_2_PSTRING(gIOdata.resultName, record.name);
  record.state = 3;
  record.type = gIOdata.typeList[0];
  if (gIOdata.selectDefault)
    record.isFolder = 1;
  return 1;
}

int16_t xEFILE_PUT(frefinfos& record)
{
  if (!saveDialog(record.name))
    return 0;
  copyResultInto(record);
  return 1;
}

namespace {

struct GraphicKind
{
  const char kind[5];
  const char* extension;  // null: none
  const char* prompt;
};
constexpr GraphicKind kGraphicKinds[] = {
    {"PICT", "pct", "Save Picture as..."},     {"MooV", "mov", "Save Movie as..."},
    {"PDF ", "pdf", "Save PDF as..."},         {"TIFF", "tif", "Save Tiff Picture as..."},
    {"PNGf", "png", "Save PNG Picture as..."}, {"qjKv", nullptr, "Save Kovrelin system as..."},
};

int16_t saveListFolder(frefinfos& record)
{
  xSetDefaultLoc(record.parent, nullptr, record.isFolder);
  setPrompt("Save list into...");
  if (!saveDialog(record.name))
    return 0;
  std::string typed = HFS_2_UTF8(gIOdata.resultName);
  HFSUniStr255 folderName;
  FileRef folder;
  if (!UTF8_2_HFS(typed + "#", folderName) ||
      !xFolder_Create(gIOdata.resultRef, folderName, &folder))
    return 0;
  record.parent = folder;
  HFS_2_PSTRING(gIOdata.resultName, record.name);
  return 1;
}

}  // namespace

int16_t xGRAPHIC_FILE_PUT(frefinfos& record, OSType kind, PreviewHookProcPtr hook)
{
  gIOdata.browseFolders = 0;
  gIOdata.previewHook = hook;
  if (kind == fourcc("list"))
    return saveListFolder(record);
  record.isFolder = 0;
  xSetDefaultLoc(record.parent, record.name, 0);
  record.type = kind;
  for (const GraphicKind& entry : kGraphicKinds) {
    if (fourcc(entry.kind) != kind)
      continue;
    if (entry.extension) {
      const char* e = entry.extension;
      ConcatExtension(record.name, fourcc({e[0], e[1], e[2], ' ', 0}), 3);
    } else {
      gIOdata.browseFolders = 1;
    }
    setPrompt(entry.prompt);
  }
  if (!saveDialog(record.name))
    return 0;
  copyResultInto(record);
  return 1;
}

// ---- The event routine ------------------------------------------------------------

Point xnav_HookClickPoint()
{
  return gHookClick;
}

CGContextRef xnav_HookContext()
{
  HookDrawing& d = gHookDrawing;
  if (d.context || !d.chooser)
    return d.context;
  kvui::Surface surface = kvui::chooserCustomSurface(d.chooser);
  if (!surface.pixels || surface.rowBytes != surface.width * 4)
    return nullptr;
  d.pixels.resize(size_t(surface.width) * size_t(surface.height) * 4);
  swapPixelOrder(surface.pixels, d.pixels.data(), d.pixels.size() / 4);
  d.context = QZ_BitmapContextCreate(d.pixels.data(), surface.width, surface.height,
                                     kQZBitmapPremultipliedFirst);
  if (d.context)
    QZ_ContextTranslateCTM(d.context, -d.area.left, -d.area.top);
  return d.context;
}

void xnav_EventProc(int16_t message, kvui::Chooser* chooser, const kvui::Event* event,
                    NavUserData* block)
{
  gEventChooser = chooser;
  switch (message) {
    case kvui::kChooserCustomize:
      if (block->previewHook)
        xHandleCustomizeEvent(chooser, block);
      break;
    case kvui::kChooserEvent:
      if (event && event->what == kvui::mouseDown)
        clickCustomArea(chooser, block, *event);
      else if (event && event->what == kvui::updateEvt)
        drawCustomArea(chooser, block);
      break;
    case kvui::kChooserStart:
      if (block->defaultLocationPtr)
        xnav_setsel(chooser, *block->defaultLocationPtr, block->selectDefault != 0);
      break;
    case kvui::kChooserSelectionChanged:
      xnav_BuildSpecList(kvui::chooserSelection(chooser), block);
      break;
    default:
      break;
  }
}

void xHandleCustomizeEvent(kvui::Chooser* chooser, NavUserData* block)
{
  kvui::Rect r = kvui::chooserCustomRect(chooser);
  int32_t minRight = r.left + kMinCustomWidth, minBottom = r.top + kMinCustomHeight;
  if (r.right == 0 && r.bottom == 0) {
    r.right = minRight;
    r.bottom = minBottom;
  } else {
    if (r.right != block->customRight && r.right < minRight)
      r.right = minRight;
    if (r.bottom != block->customBottom && r.bottom < minBottom)
      r.bottom = minBottom;
  }
  block->customRight = int16_t(std::clamp<int32_t>(r.right, INT16_MIN, INT16_MAX));
  block->customBottom = int16_t(std::clamp<int32_t>(r.bottom, INT16_MIN, INT16_MAX));
  kvui::setChooserCustomRect(chooser, r);
}

void xnav_BuildSpecList(const std::vector<std::string>& selection, NavUserData* block)
{
  int16_t count = 0;
  for (const std::string& path : selection) {
    if (count == kMaxSelection)
      break;
    FileRef item = FileRef::fromPath(path);
    if (block->browseFolders && kvfs::isFolder(item))
      continue;
    block->resultRef = item;
    ++count;
  }
  block->selectionCount = count;
}

bool xnav_FilterProc(const FileRef& item, const FileInfo& info)
{
  if (info.targetIsFolder)
    return true;
  OSType type = xFile_getTypeFromInfo(item, info);
  if (type == fourcc("fold"))
    return true;
  int count = std::clamp<int>(gIOdata.typeCount, 0, kIOTypeListSize);
  return std::find(gIOdata.typeList, gIOdata.typeList + count, type) != gIOdata.typeList + count;
}

void xnav_setsel(kvui::Chooser* chooser, const FileRef& ref, bool inside)
{
  if (kvfs::isFolder(ref) && !inside) {
    kvui::chooserShowFolder(chooser, ref.path());
    return;
  }
  kvui::chooserShowFolder(chooser, ref.parentRef().path());
  kvui::chooserSelectItem(chooser, ref.path());
}

Rect xnav_RecentButton(const Rect& c)
{
  int16_t m = int16_t((c.top + c.bottom) / 2);
  return Rect{int16_t(m - 20), int16_t(c.right - 36), int16_t(m + 4), int16_t(c.right - 4)};
}

Rect xnav_FavouritesButton(const Rect& c)
{
  int16_t m = int16_t((c.top + c.bottom) / 2);
  return Rect{int16_t(m - 20), int16_t(c.right - 72), int16_t(m + 4), int16_t(c.right - 40)};
}

// ---- Locate and search ----------------------------------------------------------------

OSErr xFolder_Locate(const FileRef& folder, FileRef* out, const HFSUniStr255& name, bool ask)
{
  FileRef item = folder.child(HFS_2_UTF8(name));
  if (kvfs::exists(item)) {
    *out = item;
    return 0;
  }
  if (!ask)
    return fnfErr;
  OSErr err = NChooseFolder();
  if (err == 0)
    *out = gIOdata.resultRef;
  return err;
}

int32_t xFolder_SearchByName(const FileRef& folder, FileRef* out, const HFSUniStr255* name,
                             int32_t depth, bool ask)
{
  if (name)
    gIOdata.searchName = *name;
  if (IterateFolder_searchproc(folder, matchnameprocptr, out, 1, depth) == 1)
    return 1;
  if (ask && NChooseFolder() == 0) {
    *out = gIOdata.resultRef;
    return 1;
  }
  return 0;
}

OSErr xFolder_OpenCreate(const frefinfos& record, FileRef* out)
{
  FileRef folder = record.parent.child(pascalText(record.name));
  *out = folder;
  if (kvfs::isFolder(folder))
    return 0;
  return kvfs::createFolder(folder);
}

namespace {

int32_t searchFiles(const FileRef& folder, FileRef* found, int32_t depth)
{
  return IterateFiles_searchproc(folder, matchnametypeprocptr, found, 0, 1, depth);
}

int32_t searchByMode(FileRef* ref, const FileRef& start, int16_t mode, FileRef* found)
{
  static const int32_t depths[] = {0, 1, 2, 3, 5};
  if (mode >= 1 && mode <= 4)
    return searchFiles(start, found, depths[mode]);
  if (mode == 5)
    return searchFiles(start, found, 5) == 1 ? 1 : searchFiles(start.parentRef(), found, 5);
  if (mode == 6) {
    Str255 itemName = {};
    xFile_getpascalName(*ref, itemName);
    std::string prompt = "Set directory to search " + pascalText(itemName);
    setPrompt(prompt.c_str());
    if (NChooseFolder() == 0)
      return searchFiles(gIOdata.resultRef, found, 5);
  }
  return 0;
}

// "Where is NAME?": the user points at the file.
int16_t askWhereIs(FileRef* ref)
{
  std::string prompt = "Where is " + HFS_2_UTF8(gIOdata.searchName) + "?";
  setPrompt(prompt.c_str());
  gIOdata.previewHook = GenericPreviewHookProc;
  gIOdata.browseFolders = 1;
  gIOdata.defaultLocationPtr = nullptr;
  DChangeCursor(0);
  gIOdata.selectionCount = 0;
  gIOdata.saveMode = 0;
  int16_t chosen = NOpenFile(0);
  resetCursorAfterDialog();
  if (!chosen) {
    ++gIOdata.locateFailures;
    return 0;
  }
  *ref = gIOdata.resultRef;
  gIOdata.locateFailures = 0;
  return 1;
}

int16_t locateFolderDocument(frefinfos& record, int16_t mode, int16_t ask)
{
  int32_t depth = mode == 1 ? 1 : mode == 3 ? 3 : 5;
  FileRef found;
  if (IterateFolder_searchproc(record.parent, matchnameprocptr, &found, 1, depth) != 1) {
    if (ask == 2 || NChooseFolder() != 0)
      return 0;
    found = gIOdata.resultRef;
  }
  record.parent = found;
  return 1;
}

}  // namespace

int16_t xFile_Locate(FileRef* ref, const FileRef& start, int16_t mode, int16_t ask)
{
  FileRef found;
  if (searchByMode(ref, start, mode, &found) == 1) {
    *ref = found;
    return 1;
  }
  if (ask == 2)
    return 0;
  return askWhereIs(ref);
}

int16_t EFile_Locate(frefinfos& record, int16_t mode, int16_t ask)
{
  PSTRING_2_HFS(record.name, gIOdata.searchName);
  if (record.isFolder)
    return locateFolderDocument(record, mode, ask);
  uint32_t history = std::min(gAppInfos.directoryHistoryCount, kDirectoryHistorySize);
  if (history >= 2) {
    for (uint32_t i = 1; i < history; ++i) {
      const FileRef& folder = gAppInfos.directoryHistory[i];
      FileRef found;
      if (folder.name == record.parent.name || xFile_Locate(&found, folder, 1, 2) != 1)
        continue;
      return parentOf(found, &record.parent) ? 1 : 0;
    }
  }
  FileRef found;
  if (xFile_Locate(&found, record.parent, mode, ask) != 1)
    return 0;
  parentOf(found, &record.parent);
  App_AddtoDirlist(record.parent);
  return 1;
}
