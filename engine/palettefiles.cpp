#include "engine/palettefiles.h"

#include <algorithm>
#include <vector>

#include "foundation/bigendian.h"
#include "foundation/fileio.h"

namespace {

constexpr int32_t kPaletteLibSlotBytes = kPaletteFileBytes * kPaletteLibSize;

// Counts are unsigned on file; anything above 63 is held to 63.
int32_t countFromFile(uint32_t stored)
{
  return int32_t(std::min<uint32_t>(stored, uint32_t(kPaletteMaxCount)));
}

void decodePalette(be::Reader& in, cpalette& palette)
{
  palette.count = countFromFile(in.u32());
  for (normalcolor& c : palette.colors) {
    c.flag = in.u8();
    c.red = in.u8();
    c.green = in.u8();
    c.blue = in.u8();
  }
}

void encodePalette(be::Writer& out, const cpalette& palette)
{
  out.u32(uint32_t(palette.count));
  for (const normalcolor& c : palette.colors) {
    out.u8(c.flag);
    out.u8(c.red);
    out.u8(c.green);
    out.u8(c.blue);
  }
}

// Reads the first `need` bytes of the file; false when the file cannot be
// opened or read or is shorter.
bool readFileStart(const FileRef& fileRef, int32_t need, std::vector<unsigned char>& bytes)
{
  int16_t fork = PBfFile_Open(fileRef, fsRdPerm);
  if (fork == 0)
    return false;
  int64_t size = 0;
  bool ok = kvfs::forkSize(fork, size) == 0 && size >= need;
  if (ok) {
    bytes.assign(size_t(need), 0);
    ok = PBfFile_Read(fork, need, bytes.data(), 0, false, kNoCacheMode) == 0;
  }
  ok = PBfFile_Close(fork) == 0 && ok;
  return ok;
}

// Writes bytes as the whole of the file, creating it with `type` when missing.
bool writeWholeFile(const FileRef& fileRef, OSType type, const std::vector<unsigned char>& bytes)
{
  HFSUniStr255 name;
  if (!UTF8_2_HFS(fileRef.name, name))
    return false;
  int16_t fork = xFile_Create(fileRef.parentRef(), name, type, 0, nullptr);
  if (fork == 0)
    return false;
  int32_t size = int32_t(bytes.size());
  if (PBfFile_Write(fork, size, bytes.data(), 0, false) != 0) {
    PBfFile_Close(fork);
    return false;
  }
  return PBfFile_SetSizeAndClose(fork, size) == 0;
}

}  // namespace

bool read_cpalettelib(cpalettelib* lib, const FileRef& fileRef)
{
  std::vector<unsigned char> bytes;
  if (!readFileStart(fileRef, kPaletteLibSlotBytes, bytes))
    return false;
  be::Reader in(bytes.data(), bytes.size());
  cpalettelib read{};
  for (cpalette& palette : read.palettes)
    decodePalette(in, palette);
  if (in.failed())
    return false;
  read.highestUsed = 1;
  read.reserved = 0;
  *lib = read;
  return true;
}

bool write_cpalettelib(cpalettelib* lib, const FileRef& fileRef)
{
  lib->highestUsed = 0;
  lib->reserved = 0;
  std::vector<unsigned char> bytes(kPaletteLibFileBytes, 0);
  be::Writer out(bytes.data(), bytes.size());
  for (const cpalette& palette : lib->palettes)
    encodePalette(out, palette);
  out.u32(uint32_t(lib->highestUsed));
  out.u32(uint32_t(lib->reserved));
  return !out.failed() && writeWholeFile(fileRef, fourcc("ecpl"), bytes);
}

bool read_cpalette(cpalette* palette, const FileRef& fileRef)
{
  std::vector<unsigned char> bytes;
  if (!readFileStart(fileRef, kPaletteFileBytes, bytes))
    return false;
  be::Reader in(bytes.data(), bytes.size());
  cpalette read;
  decodePalette(in, read);
  if (in.failed())
    return false;
  *palette = read;
  return true;
}

bool write_cpalette(const cpalette* palette, const FileRef& fileRef)
{
  std::vector<unsigned char> bytes(kPaletteFileBytes, 0);
  be::Writer out(bytes.data(), bytes.size());
  encodePalette(out, *palette);
  return !out.failed() && writeWholeFile(fileRef, fourcc("ecpa"), bytes);
}

bool load_default_cpalettelib(cpalettelib* lib, const FileRef& resourcesFolder,
                              FileRef* paletteFile)
{
  if (resourcesFolder.empty())
    return false;
  FileRef file = resourcesFolder.child(kPaletteLibFileName);
  if (paletteFile)
    *paletteFile = file;
  return read_cpalettelib(lib, file);
}
