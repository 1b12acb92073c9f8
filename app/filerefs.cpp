#include "app/filerefs.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/menus.h"
#include "foundation/appshell.h"
#include "foundation/dirlist.h"
#include "foundation/filenames.h"
#include "foundation/iodata.h"
#include "foundation/modifierkeys.h"
#include "foundation/pstrings.h"
#include "platform/menubar.h"
#include "ui/filedialogs.h"

namespace {

constexpr char kTableMagic[4] = {'K', 'V', 'F', 'T'};
constexpr size_t kRecordFixedBytes = 4 + 1 + 1 + 64 + 2;

int16_t& count()
{
  return gAppInfos.fileRecordCount;
}

int16_t clampedCount()
{
  return int16_t(std::clamp<int>(count(), 0, kFileRecordCount));
}

// Cuts a UTF-8 name to 63 bytes without splitting a character.
void setName63(StringPtr out, const std::string& name)
{
  size_t n = std::min<size_t>(name.size(), 63);
  if (n < name.size())
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80)
      --n;
  out[0] = uint8_t(n);
  std::memcpy(out + 1, name.data(), n);
}

void put16(std::vector<uint8_t>& b, uint16_t v)
{
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& b, uint32_t v)
{
  put16(b, uint16_t(v));
  put16(b, uint16_t(v >> 16));
}

uint16_t get16(const uint8_t* p)
{
  return uint16_t(p[0] | (p[1] << 8));
}

uint32_t get32(const uint8_t* p)
{
  return uint32_t(get16(p)) | (uint32_t(get16(p + 2)) << 16);
}

bool readAt(int16_t fork, int64_t offset, size_t n, void* out)
{
  size_t actual = 0;
  return kvfs::readFork(fork, offset, n, out, actual) == 0 && actual == n;
}

bool sameFolderOnDisk(const FileRef& a, const FileRef& b)
{
  kvfs::FolderId ia, ib;
  return kvfs::folderId(a, ia) && kvfs::folderId(b, ib) && ia == ib;
}

void rebuildRecentMenu(AppMenus* menus, int16_t checked)
{
  int16_t id = gAppInfos.recentMenuID;
  if (id == 0 || !menus)
    return;
  menus->RebuildMenu(id);
  for (int16_t item = 1; item <= kvmenu::itemCount(id); ++item)
    kvmenu::setItemMark(id, item, item == checked ? kvmenu::kCheckMark : 0);
  kvmenu::drawMenuBar();
}

}  // namespace

bool App_FSSpec2frefinfos(const FileRef& file, frefinfos* out)
{
  if (file.name.empty() || !kvfs::exists(file))
    return false;
  out->type = xFile_getType(file);
  out->parent = file.parentRef();
  setName63(out->name, file.name);
  return true;
}

bool App_frefinfos2fSSpec(const frefinfos& record, FileRef* out)
{
  FileRef file;
  if (!App_frefinfos2fSRef(record, &file) || !kvfs::exists(file))
    return false;
  if (out)
    *out = file;
  return true;
}

int32_t App_frefinfosWrite(int16_t refNum, int32_t offset)
{
  std::vector<uint8_t> block(std::begin(kTableMagic), std::end(kTableMagic));
  put16(block, uint16_t(kFileRecordCount));
  for (int16_t i = 0; i < kFileRecordCount; ++i) {
    const frefinfos& r = gAppInfos.fileRecords[i];
    put32(block, r.type);
    block.push_back(r.state);
    block.push_back(r.isFolder);
    block.insert(block.end(), r.name, r.name + 64);
    std::string path = r.parent.path();
    if (path.size() > 0xFFFF)
      path.clear();
    put16(block, uint16_t(path.size()));
    block.insert(block.end(), path.begin(), path.end());
  }
  if (offset < 0 || kvfs::writeFork(refNum, offset, block.size(), block.data()) != 0)
    return -1;
  return offset + int32_t(block.size());
}

int32_t App_frefinfosRead(int16_t refNum, int32_t offset)
{
  App_Initfrefinfos();
  uint8_t header[6];
  if (offset < 0 || !readAt(refNum, offset, sizeof header, header) ||
      std::memcmp(header, kTableMagic, 4) != 0 || get16(header + 4) != kFileRecordCount)
    return -1;
  int64_t at = offset + int64_t(sizeof header);
  std::vector<frefinfos> found;
  for (int16_t i = 0; i < kFileRecordCount; ++i) {
    uint8_t fixed[kRecordFixedBytes];
    if (!readAt(refNum, at, sizeof fixed, fixed))
      return -1;
    at += int64_t(sizeof fixed);
    uint16_t length = get16(fixed + 70);
    std::string path(length, '\0');
    if (length && !readAt(refNum, at, length, path.data()))
      return -1;
    at += length;
    frefinfos r;
    r.type = get32(fixed);
    r.state = fixed[4];
    r.isFolder = fixed[5];
    std::memcpy(r.name, fixed + 6, 64);
    if (r.name[0] > 63)
      return -1;
    r.parent = FileRef::fromPath(path);
    FileRef file;
    // Records of files that are gone are dropped.
    if (r.name[0] == 0 || path.empty() || !App_frefinfos2fSSpec(r, &file))
      continue;
    r.type = xFile_getType(file);
    r.state = 3;
    found.push_back(r);
  }
  for (const frefinfos& r : found)
    App_newfrefinfos(r);
  return int32_t(at);
}

void App_Initfrefinfos()
{
  count() = 0;
  for (frefinfos& r : gAppInfos.fileRecords) {
    r.state = 0;
    r.name[0] = 0;
  }
}

bool App_newfrefinfos(const frefinfos& record)
{
  int16_t n = clampedCount();
  if (n >= kFileRecordCount)
    return false;
  gAppInfos.fileRecords[n] = record;
  count() = int16_t(n + 1);
  return true;
}

void App_removefrefinfos()
{
  int16_t n = clampedCount();
  for (int16_t i = 0; i < n; ++i) {
    if (gAppInfos.fileRecords[i].state > 1)
      continue;
    for (int16_t j = i; j + 1 < n; ++j)
      gAppInfos.fileRecords[j] = gAppInfos.fileRecords[j + 1];
    gAppInfos.fileRecords[n - 1] = frefinfos{};
    count() = int16_t(n - 1);
    return;
  }
}

bool App_Getfrefinfos_Name(int16_t index)
{
  if (index < 0 || index >= kFileRecordCount)
    return true;
  const unsigned char* name = gAppInfos.fileRecords[index].name;
  uint8_t n = std::min<uint8_t>(name[0], 63);
  gAppInfos.paramString[0] = n;
  std::memcpy(gAppInfos.paramString + 1, name + 1, n);
  return true;
}

void App_setupfrefinfos(AppMenus* menus, const frefinfos& record)
{
  int16_t n = clampedCount();
  int16_t place = -1;
  for (int16_t i = 0; i < n; ++i)
    if (myequalstring(gAppInfos.fileRecords[i].name, record.name))
      place = i;
  if (place >= 0) {
    gAppInfos.fileRecords[place] = record;
  } else {
    n = int16_t(std::min<int>(n + 1, kFileRecordCount));
    for (int16_t i = int16_t(n - 1); i > 0; --i)
      gAppInfos.fileRecords[i] = gAppInfos.fileRecords[i - 1];
    gAppInfos.fileRecords[0] = record;
    count() = n;
    place = 0;
  }
  rebuildRecentMenu(menus, int16_t(place + 1));
}

void App_Openfrefinfos(AppMenus* menus, int16_t index)
{
  if (index < 0 || index >= clampedCount())
    return;
  frefinfos& r = gAppInfos.fileRecords[index];
  if (r.state <= 1)
    return;
  if (gopt) {
    r.state = 0;
    App_removefrefinfos();
    if (gshift)
      count() = std::min(count(), index);
    rebuildRecentMenu(menus, 0);
    return;
  }
  gIOdata.typeList[0] = r.type;
  if (gIOdata.typeCount < 1)
    gIOdata.typeCount = 1;
  if (gAppInfos.commandHandler) {
    frefinfos copy = r;
    gAppInfos.commandHandler(int32_t(fourcc("ofsr")), &copy);
  }
}

void App_AdjustfrefinfosMenuMark(AppMenus* menus, int32_t command)
{
  if (gAppInfos.recentMenuID == 0 || !menus)
    return;
  int32_t item = command - kRecentFilesCommandBase + 1;
  rebuildRecentMenu(menus, int16_t(std::clamp<int32_t>(item, 0, kFileRecordCount)));
}

void Adjustfrefinfos_MenuMark() {}

bool App_resolveFile(FileRef* file, const FileRef& folder, int16_t mode, int16_t ask)
{
  uint32_t history = std::min(gAppInfos.directoryHistoryCount, kDirectoryHistorySize);
  if (xFile_Locate(file, folder, mode, history > 0 ? 2 : ask) == 1)
    return true;
  for (uint32_t i = 0; i < history; ++i) {
    const FileRef& place = gAppInfos.directoryHistory[i];
    if (sameFolderOnDisk(place, gAppInfos.applicationFolder) || sameFolderOnDisk(place, folder))
      continue;
    if (xFile_Locate(file, place, 2, 2) == 1)
      return true;
  }
  return xFile_Locate(file, gAppInfos.applicationFolder, 4, ask) == 1;
}

bool App_resolveSFile(FileRef* spec, const FileRef& folder, FileRef* out, int16_t mode, int16_t ask)
{
  if (kvfs::exists(*spec)) {
    if (out)
      *out = *spec;
    return true;
  }
  Str255 name;
  const size_t n = std::min<size_t>(spec->name.size(), 255);
  name[0] = uint8_t(n);
  std::memcpy(name + 1, spec->name.data(), n);
  PSTRING_2_HFS(name, gIOdata.searchName);
  FileRef found;
  if (!App_resolveFile(&found, folder, mode, ask))
    return false;
  *spec = found;
  if (out)
    *out = found;
  return true;
}

void RemapFSSpec(FileRef*, const void*, int16_t) {}
