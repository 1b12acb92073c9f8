// Filter files ('wfle', creator 'QjMs', extension "tef"): 136 big-endian
// bytes: version 5, variant, active, mode, time1, time2, the seven doubles
// p1..p5, pan, level, then 64 reserved zero bytes.
#include <cstring>

#include "foundation/bigendian.h"
#include "foundation/filenames.h"
#include "foundation/iodata.h"
#include "platform/resources.h"
#include "sound/effects.h"
#include "ui/filedialogs.h"

namespace {

constexpr int32_t kDoublesAt = 16;
constexpr int32_t kReservedAt = 72;
// The save dialog's prompt: a 19-character Pascal string.
constexpr char kSavePrompt[] = "Save effect as...  ";
static_assert(sizeof kSavePrompt - 1 == 19);
constexpr char kOpenPrompt[] = "Open Effect";

double* doubleField(filterinfos& s, int k)
{
  double* fields[7] = {&s.p1, &s.p2, &s.p3, &s.p4, &s.p5, &s.pan, &s.level};
  return fields[k];
}

void setPrompt(const char* text)
{
  size_t n = std::strlen(text);
  if (n > 255)
    n = 255;
  gIOdata.prompt[0] = uint8_t(n);
  std::memcpy(gIOdata.prompt + 1, text, n);
}

}  // namespace

void FilterFileBytes(const filterinfos& settings, unsigned char out[kFilterFileSize])
{
  std::memset(out, 0, kFilterFileSize);
  be::put_i32(out, kFilterFileVersion);
  out[4] = settings.variant;
  out[5] = settings.active;
  be::put_i16(out + 6, settings.mode);
  be::put_i32(out + 8, settings.time1);
  be::put_i32(out + 12, settings.time2);
  filterinfos copy = settings;
  for (int k = 0; k < 7; ++k)
    be::put_f64(out + kDoublesAt + 8 * k, *doubleField(copy, k));
  static_assert(kDoublesAt + 7 * 8 == kReservedAt);
}

bool FilterFromBytes(filterinfos* settings, const unsigned char* bytes, int64_t size)
{
  if (!bytes || size < kFilterFileSize)
    return false;
  // The stored active byte is not taken: whether the mode's memory exists is
  // the runtime's to say, and the settings' mode may now differ from it.
  settings->variant = bytes[4];
  settings->mode = be::get_i16(bytes + 6);
  settings->time1 = be::get_i32(bytes + 8);
  settings->time2 = be::get_i32(bytes + 12);
  for (int k = 0; k < 7; ++k)
    *doubleField(*settings, k) = be::get_f64(bytes + kDoublesAt + 8 * k);
  return true;
}

OSErr WriteTFilter(const filterinfos* settings, int16_t fork)
{
  unsigned char bytes[kFilterFileSize];
  FilterFileBytes(*settings, bytes);
  return PBfFile_Write(fork, kFilterFileSize, bytes, 0, false);
}

OSErr ReadTFilter(filterinfos* settings, int16_t fork)
{
  // The read fills a short file's missing bytes with zeros and says nothing:
  // the size is checked here so that a short file changes nothing.
  int64_t size = 0;
  if (OSErr err = kvfs::forkSize(fork, size); err != noErr)
    return err;
  if (size < kFilterFileSize)
    return eofErr;
  unsigned char bytes[kFilterFileSize];
  if (OSErr err = PBfFile_Read(fork, kFilterFileSize, bytes, 0, false, 0); err != noErr)
    return err;
  FilterFromBytes(settings, bytes, kFilterFileSize);
  return noErr;
}

int16_t SFwrite_filter(const filterinfos* settings, frefinfos* record)
{
  if (!settings || !record || settings->mode < 1)
    return 0;
  // The suggested name: the mode's name, then ".tef".
  std::string name = kvres::indString(kFilterNamesList, int16_t(settings->mode + 2));
  if (name.empty())
    name = "Effect";
  if (name.size() > 59)
    name.resize(59);
  record->name[0] = uint8_t(name.size());
  std::memcpy(record->name + 1, name.data(), name.size());
  ConcatExtension(record->name, fourcc("tef "), 3);
  record->type = kFilterFileType;
  gIOdata.previewHook = nullptr;
  setPrompt(kSavePrompt);
  if (!xEFILE_PUT(*record))
    return 0;
  HFSUniStr255 fileName;
  PSTRING_2_HFS(record->name, fileName);
  int16_t fork =
      xFile_Create(record->parent, fileName, kFilterFileType, kFilterFileCreator, nullptr);
  if (fork == 0)
    return 0;
  OSErr err = WriteTFilter(settings, fork);
  OSErr closed = PBfFile_SetSizeAndClose(fork, kFilterFileSize);
  return err == noErr && closed == noErr ? 1 : 0;
}

int16_t SFread_filter(filterinfos* settings, frefinfos* record)
{
  if (!settings || !record)
    return 0;
  SetUpNavUserDatas(&gIOdata, 0, kFilterFileCreator, kFilterFileType);
  gIOdata.previewHook = GenericPreviewHookProc;
  setPrompt(kOpenPrompt);
  if (!xEFILE_GET(*record))
    return 0;
  FileRef ref;
  if (!App_frefinfos2fSRef(*record, &ref))
    return 0;
  int16_t fork = PBfFile_Open(ref, fsRdPerm);
  if (fork == 0)
    return 0;
  OSErr err = ReadTFilter(settings, fork);
  PBfFile_Close(fork);
  return err == noErr ? 1 : 0;
}
