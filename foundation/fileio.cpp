#include "foundation/fileio.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "foundation/folders.h"
#include "foundation/iodata.h"

namespace {

std::string pascalToString(ConstStringPtr name)
{
  return std::string(name + 1, name + 1 + name[0]);
}

// Cuts UTF-8 text to at most limit bytes without splitting a character.
std::string cutUtf8(std::string text, size_t limit)
{
  if (text.size() <= limit)
    return text;
  size_t end = limit;
  while (end > 0 && (uint8_t(text[end]) & 0xC0) == 0x80)
    --end;
  text.resize(end);
  return text;
}

void stringToPascal(const std::string& text, StringPtr out)
{
  std::string cut = cutUtf8(text, 255);
  out[0] = uint8_t(cut.size());
  std::memcpy(out + 1, cut.data(), cut.size());
}

}  // namespace

bool App_frefinfos2fSRef(const frefinfos& record, FileRef* out)
{
  if (record.name[0] == 0 || record.parent.empty())
    return false;
  if (out)
    *out = record.parent.child(pascalToString(record.name));
  return true;
}

// --- Fork I/O ------------------------------------------------------------------

int16_t PBfFile_Open(const FileRef& ref, int8_t permission)
{
  return kvfs::openFork(ref, permission);
}

OSErr PBfFile_Close(int16_t fork)
{
  return kvfs::closeFork(fork);
}

OSErr PBfFile_Read(int16_t fork, int32_t count, void* buffer, int32_t offset, bool, int16_t)
{
  if (fork == 0)
    return -1;
  if (count < 0 || offset < 0)
    return paramErr;
  size_t actual = 0;
  OSErr err = kvfs::readFork(fork, offset, size_t(count), buffer, actual);
  if (err == eofErr) {
    // Every byte past the end reads as zero, an odd last one included.
    std::memset(static_cast<unsigned char*>(buffer) + actual, 0, size_t(count) - actual);
    return 0;
  }
  return err;
}

OSErr PBfFile_Write(int16_t fork, int32_t count, const void* buffer, int32_t offset, bool)
{
  if (fork == 0)
    return -1;
  if (count < 0 || offset < 0)
    return paramErr;
  return kvfs::writeFork(fork, offset, size_t(count), buffer);
}

OSErr PBfFile_SetSize(int16_t fork, int64_t size)
{
  return kvfs::setForkSize(fork, size);
}

OSErr PBfFile_SetSizeAndClose(int16_t fork, int64_t size)
{
  OSErr sizeErr = kvfs::setForkSize(fork, size);
  OSErr closeErr = kvfs::closeFork(fork);
  return sizeErr != 0 ? sizeErr : closeErr;
}

// --- Whole files ----------------------------------------------------------------

int16_t xFile_Create(const FileRef& folder, const HFSUniStr255& name, OSType type, OSType creator,
                     FileRef* out)
{
  std::string fileName = HFS_2_UTF8(name);
  if (fileName.empty() || fileName.find('/') != std::string::npos || !kvfs::isFolder(folder))
    return 0;
  FileRef file = folder.child(fileName);
  bool created = false;
  if (kvfs::createFile(file, created) != 0)
    return 0;
  if (created)
    kvfs::setTypeAndCreator(file, type, creator);
  if (out)
    *out = file;
  return kvfs::openFork(file, fsRdWrPerm);
}

int16_t xWriteBuffer(const void* buffer, int32_t count, const FileRef& folder, ConstStringPtr name,
                     OSType type, OSType creator)
{
  HFSUniStr255 hfsName;
  PSTRING_2_HFS(name, hfsName);
  int16_t fork = xFile_Create(folder, hfsName, type, creator, nullptr);
  if (fork == 0)
    return 0;
  OSErr writeErr = PBfFile_Write(fork, count, buffer, 0, false);
  // The buffer is the whole file: a longer old file must not keep its tail.
  OSErr closeErr = writeErr == 0 ? PBfFile_SetSizeAndClose(fork, count) : PBfFile_Close(fork);
  return writeErr == 0 && closeErr == 0 ? 1 : 0;
}

std::optional<std::vector<unsigned char>> xReadBuffer(const FileRef& ref)
{
  int16_t fork = PBfFile_Open(ref, fsRdPerm);
  if (fork == 0)
    return std::nullopt;
  int64_t size = 0;
  std::optional<std::vector<unsigned char>> block;
  if (kvfs::forkSize(fork, size) == 0 && size <= std::numeric_limits<int32_t>::max()) {
    block.emplace(size_t(size), 0);
    if (PBfFile_Read(fork, int32_t(size), block->data(), 0, false, kNoCacheMode) != 0)
      block.reset();
  }
  PBfFile_Close(fork);
  return block;
}

Handle xReadHandle(const FileRef& ref)
{
  std::optional<std::vector<unsigned char>> block = xReadBuffer(ref);
  if (!block)
    return nullptr;
  Handle h = NewHandleClear(int32_t(block->size()));
  if (h && !block->empty())
    std::memcpy(*h, block->data(), block->size());
  return h;
}

int16_t xFile_OpenByPName(const FileRef& folder, ConstStringPtr name, FileRef* out)
{
  FileRef item;
  if (!MakeFileFSRef(folder, pascalToString(name), &item))
    return 0;
  if (out)
    *out = item;
  return PBfFile_Open(item, fsRdWrPerm);
}

int16_t xEFile_Open(const frefinfos& record)
{
  PSTRING_2_HFS(record.name, gIOdata.resultName);
  FileRef item;
  if (!App_frefinfos2fSRef(record, &item) || !kvfs::exists(item))
    return 0;
  gIOdata.resultRef = item;
  if (kvfs::isFolder(item) && record.isFolder == 1) {
    gIOdata.typeList[0] = record.type;
    gIOdata.typeCount = 1;
    FileRef inside;
    if (IterateFiles_searchproc(item, matchtypeprocptr, &inside, 0, 1, 0) == 1)
      gIOdata.resultRef = inside;
  }
  return PBfFile_Open(gIOdata.resultRef, fsCurPerm);
}

std::string xFile_CreateURL(const frefinfos& record, OSType)
{
  FileRef file;
  if (!App_frefinfos2fSRef(record, &file) || !kvfs::isFolder(record.parent))
    return {};
  if (file.name.find('/') != std::string::npos)
    return {};
  return file.path();
}

OSErr SetFileTypeAndCreator(const FileRef& ref, OSType type, OSType creator)
{
  return kvfs::setTypeAndCreator(ref, type, creator);
}

bool MakeFileFSRef(const FileRef& folder, std::string_view name, FileRef* out)
{
  if (name.empty() || name.find('/') != std::string_view::npos)
    return false;
  FileRef item = folder.child(name);
  if (!kvfs::isFolder(folder) || !kvfs::exists(item))
    return false;
  if (out)
    *out = item;
  return true;
}

bool ParentRef2FSSpec(const FileRef& folder, ConstStringPtr name, FileRef* item)
{
  if (!kvfs::isFolder(folder))
    return false;
  if (item)
    *item = folder.child(cutUtf8(pascalToString(name), 63));
  return true;
}

OSType sFile_getType(const FileRef& item)
{
  if (!kvfs::exists(item))
    return 0;
  return xFile_getType(item);
}

bool xFile_getpascalName(const FileRef& ref, StringPtr out)
{
  if (ref.empty() || !kvfs::exists(ref)) {
    stringToPascal(" ? ", out);
    return false;
  }
  stringToPascal(ref.name.empty() ? ref.parent : ref.name, out);
  return true;
}

OSType xFile_getType(const FileRef& ref)
{
  FileInfo info;
  if (kvfs::getInfo(ref, info) != 0)
    return 0;
  return xFile_getTypeFromInfo(ref, info);
}

OSType xFile_getTypeFromInfo(const FileRef& ref, const FileInfo& info)
{
  if (info.targetIsFolder)
    return fourcc("fold");
  OSType stored = info.fileType;
  if (stored != 0 && stored != fourcc("????"))
    return stored;
  OSType fromName = kvfs::typeFromName(ref.name);
  return fromName != 0 ? fromName : stored;
}
