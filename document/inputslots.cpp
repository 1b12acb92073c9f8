#include "document/inputslots.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

#include "document/engineapi.h"
#include "document/inputmedia.h"
#include "engine/pictinput.h"
#include "engine/world.h"
#include "foundation/appshell.h"
#include "foundation/fileio.h"
#include "imaging/offworld.h"

GWorldRec* gDefaultPictureGW = nullptr;

namespace {

constexpr int kNarrowSlotCount = 4;  // files before version 18
constexpr int16_t kFirstWideVersion = 18;
constexpr unsigned char kDefaultName[] =
    "\x07"
    "Default";

// Where each file-fed slot's file was found, so that a reload opens it again.
// Kept beside the document record (which holds only plain data); main thread
// only, like everything here.
std::map<const sfuncSystem*, std::array<FileRef, kInputSlots>> gSlotFiles;

int slotNumber(const sfuncSystem* doc, const KVinputSlot* slot)
{
  const std::ptrdiff_t n = slot - doc->inputs;
  return n >= 0 && n < kInputSlots ? int(n) : -1;
}

void rememberFile(const sfuncSystem* doc, const KVinputSlot* slot, const FileRef& file)
{
  const int n = slotNumber(doc, slot);
  if (n >= 0)
    gSlotFiles[doc][size_t(n)] = file;
}

FileRef rememberedFile(const sfuncSystem* doc, const KVinputSlot* slot)
{
  const int n = slotNumber(doc, slot);
  auto it = gSlotFiles.find(doc);
  if (n < 0 || it == gSlotFiles.end())
    return {};
  return it->second[size_t(n)];
}

void setName(KVinputSlot* slot, ConstStringPtr name)
{
  if (name == nullptr) {
    slot->file.name[0] = 0;
    return;
  }
  const size_t n = std::min<size_t>(name[0], sizeof(slot->file.name) - 1);
  slot->file.name[0] = uint8_t(n);
  std::memcpy(slot->file.name + 1, name + 1, n);
}

std::string nameOf(ConstStringPtr name)
{
  return std::string(reinterpret_cast<const char*>(name + 1), name[0]);
}

void changed(sfuncSystem* doc)
{
  doc->paramsChanged = 1;
}

// Hands a buffer that belongs to someone else to a slot.
void handIn(sfuncSystem* doc, KVinputSlot* slot, GWorldRec* buffer, ConstStringPtr name, bool live)
{
  clear_input(doc, slot);
  setName(slot, name);
  slot->nativeSize = 0;
  slot->picture = buffer;
  slot->sourceKind = live ? kInputLiveBuffer : kInputFixedBuffer;
  changed(doc);
}

}  // namespace

void KV_installInputHooks()
{
  KV_setDefaultInputProc(Kovrelin_UseDefaultInput, &gDefaultPictureGW);
}

void KV_inputRenderSize(int16_t* width, int16_t* height)
{
  *width = kDefaultInputWidth;
  *height = kDefaultInputHeight;
  const KVrenderPrefs* prefs = Kovrelin_renderPrefs();
  if (prefs == nullptr)
    return;
  const Rect& r = prefs->outputRect;
  if (r.right > r.left && r.bottom > r.top) {
    *width = int16_t(r.right - r.left);
    *height = int16_t(r.bottom - r.top);
  }
}

void init_externalinput(sfuncSystem* doc)
{
  for (KVinputSlot& slot : doc->inputs) {
    slot.picture = nullptr;
    KV_initSlotMedia(&slot);
    slot.startValue = 0;
    slot.nativeSize = 0;
    slot.movieOption = 0;
    slot.movieMode = 0;
    slot.movieHold = 0;
    slot.sourceKind = kInputOwnFile;
    slot.inUse = 0;
    slot.file = KVfileSpec{};
  }
  gSlotFiles.erase(doc);
}

OSErr Kovrelin_opendefaultpicture(const FileRef& resources, const Rect* size)
{
  FileRef file;
  if (!MakeFileFSRef(resources, "DefaultPicture", &file))
    return fnfErr;
  return KV_loadDefaultPicture(file, size, &gDefaultPictureGW);
}

void Kovrelin_UseDefaultInput(sfuncSystem* doc, KVinputSlot* slot)
{
  clear_input(doc, slot);
  setName(slot, kDefaultName);
  slot->picture = gDefaultPictureGW;
  if (gDefaultPictureGW != nullptr)
    slot->movie.box = gDefaultPictureGW->portRect;
  slot->sourceKind = kInputFixedBuffer;
  slot->nativeSize = 1;
  slot->movieMode = 1;
  slot->movieOption = 0;
  changed(doc);
}

uint8_t Kovrelin_UseXInput(sfuncSystem* doc, KVinputSlot* slot, GWorldRec* buffer,
                           ConstStringPtr name, bool live)
{
  handIn(doc, slot, buffer, name, live);
  return slot->sourceKind;
}

void Kovrelin_SetInputMode(sfuncSystem* doc, GWorldRec* buffer, bool live, int16_t choice,
                           ConstStringPtr name)
{
  for (KVinputSlot& slot : doc->inputs) {
    if (slot.sourceKind == kInputOwnFile)
      continue;
    // An outside buffer or the default picture belongs to someone else:
    // dropped, never freed.
    slot.picture = nullptr;
    slot.sourceKind = kInputOwnFile;
    slot.file.name[0] = 0;
  }
  changed(doc);
  if (buffer == nullptr)
    return;
  int s = -1;
  if (choice >= kInputChoiceSlot0 && choice <= kInputChoiceSlot3)
    s = choice - kInputChoiceSlot0;
  else if (choice == kInputChoiceFirst)
    s = 0;
  if (s >= 0)
    handIn(doc, &doc->inputs[s], buffer, name, live);
}

void clear_input(sfuncSystem* doc, KVinputSlot* slot)
{
  if (slot->sourceKind != kInputOwnFile)
    return;
  if (slot->picture != nullptr && slot->picture != gDefaultPictureGW)
    KV_freeSlotBuffer(slot);
  slot->picture = nullptr;
  KV_closeSlotMovie(slot);
  slot->file.name[0] = 0;
  rememberFile(doc, slot, FileRef{});
  changed(doc);
}

int16_t arb_opendirectinput(sfuncSystem* doc, KVinputSlot* slot, const FileRef& file)
{
  if (file.empty() || !kvfs::exists(file))
    return -1;
  const KVinputKind kind = KV_inputKindOf(file);
  if (kind == KVinputKind::None)
    return -1;
  int16_t width, height;
  KV_inputRenderSize(&width, &height);
  const Rect target{0, 0, height, width};
  const int16_t status = kind == KVinputKind::Movie ? KV_openSlotMovie(slot, file, target)
                                                    : KV_openSlotPicture(slot, file, target);
  if (status == 0) {
    slot->sourceKind = kInputOwnFile;
    rememberFile(doc, slot, file);
  }
  changed(doc);
  return status;
}

bool KV_findInputFile(const FileRef& treeFile, ConstStringPtr name, FileRef* found)
{
  if (name == nullptr || name[0] == 0)
    return false;
  const std::string fileName = nameOf(name);
  const FileRef folders[] = {treeFile.parentRef(), kvfs::resourcesFolder(),
                             kvfs::executableFolder()};
  for (const FileRef& folder : folders) {
    if (folder.empty())
      continue;
    FileRef candidate;
    if (MakeFileFSRef(folder, fileName, &candidate) && !kvfs::isFolder(candidate)) {
      *found = candidate;
      return true;
    }
  }
  return false;
}

bool arb_restoreInputSlot(sfuncSystem* doc, const FileRef& treeFile, int s)
{
  KVinputSlot* slot = &doc->inputs[s];
  FileRef file;
  if (!KV_findInputFile(treeFile, slot->file.name, &file)) {
    Kovrelin_UseDefaultInput(doc, slot);
    return false;
  }
  if (arb_opendirectinput(doc, slot, file) != 0) {
    PlayAlertSound();
    Kovrelin_UseDefaultInput(doc, slot);
  }
  return true;
}

void arb_inputread(sfuncSystem* doc, const FileRef& treeFile, int16_t version)
{
  const int slots = version < kFirstWideVersion ? kNarrowSlotCount : kInputSlots;
  const bool defaultForEmpty =
      gKovrelinWorld != nullptr && gKovrelinWorld->defaultPictureForEmptySlots != 0;
  for (int s = 0; s < slots; ++s) {
    KVinputSlot& slot = doc->inputs[s];
    if (slot.sourceKind != kInputOwnFile || slot.inUse == 0)
      continue;
    if (slot.file.name[0] != 0)
      arb_restoreInputSlot(doc, treeFile, s);
    else if (defaultForEmpty)
      Kovrelin_UseDefaultInput(doc, &slot);
  }
}

void Kovrelin_ReloadInput(sfuncSystem* doc)
{
  for (KVinputSlot& slot : doc->inputs) {
    const FileRef file = rememberedFile(doc, &slot);
    if (slot.picture != nullptr && slot.sourceKind == kInputOwnFile && slot.file.name[0] != 0 &&
        !file.empty()) {
      KV_closeSlotMovie(&slot);
      if (arb_opendirectinput(doc, &slot, file) == 0)
        continue;
    }
    if (slot.sourceKind != kInputOwnFile) {
      // Someone else's buffer (or the default picture): dropped, not freed.
      slot.picture = nullptr;
      slot.sourceKind = kInputOwnFile;
    }
    Kovrelin_UseDefaultInput(doc, &slot);
  }
  changed(doc);
}

void Kovrelin_ReloadTarget(sfuncSystem* doc, KVinputSlot* slot)
{
  const FileRef file = rememberedFile(doc, slot);
  if (slot->picture == nullptr || slot->sourceKind != kInputOwnFile || slot->file.name[0] == 0 ||
      file.empty()) {
    changed(doc);
    return;
  }
  KV_closeSlotMovie(slot);
  if (slot->picture != gDefaultPictureGW)
    KV_freeSlotBuffer(slot);
  slot->picture = nullptr;
  arb_opendirectinput(doc, slot, file);
  changed(doc);
}
