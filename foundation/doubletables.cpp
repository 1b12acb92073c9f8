#include "foundation/doubletables.h"

#include <limits>
#include <vector>

#include "foundation/bigendian.h"
#include "foundation/iodata.h"

namespace {

constexpr int64_t kDoubleBytes = 8;

// The byte count of n doubles at offset, or -1 when it passes 32-bit offsets.
int64_t tableBytes(int32_t n, int32_t offset)
{
  if (n < 0 || offset < 0)
    return -1;
  int64_t bytes = int64_t(n) * kDoubleBytes;
  if (int64_t(offset) + bytes > std::numeric_limits<int32_t>::max())
    return -1;
  return bytes;
}

}  // namespace

int32_t read_UNIdouble(double* dvector, int32_t n, int16_t fork, int32_t offset)
{
  int64_t bytes = tableBytes(n, offset);
  if (bytes < 0)
    return -1;
  std::vector<unsigned char> raw(size_t(bytes), 0);
  if (PBfFile_Read(fork, int32_t(bytes), raw.data(), offset, false, kNoCacheMode) != 0)
    return -1;
  for (int32_t i = 0; i < n; ++i)
    dvector[i] = be::get_f64(raw.data() + i * kDoubleBytes);
  return int32_t(offset + bytes);
}

int32_t write_UNIdouble(const double* dvector, int32_t n, int16_t fork, int32_t offset)
{
  int64_t bytes = tableBytes(n, offset);
  if (bytes < 0)
    return -1;
  std::vector<unsigned char> raw(size_t(bytes), 0);
  for (int32_t i = 0; i < n; ++i)
    be::put_f64(raw.data() + i * kDoubleBytes, dvector[i]);
  if (PBfFile_Write(fork, int32_t(bytes), raw.data(), offset, false) != 0)
    return -1;
  return int32_t(offset + bytes);
}

int32_t lowread_table(double* dvector, int32_t maximum, const FileRef& ref)
{
  int16_t fork = PBfFile_Open(ref, fsRdPerm);
  if (fork == 0)
    return 0;
  int64_t size = 0;
  int32_t count = 0;
  if (maximum > 0 && kvfs::forkSize(fork, size) == 0) {
    int64_t inFile = size / kDoubleBytes;
    count = int32_t(inFile < maximum ? inFile : maximum);
    if (count > 0 && read_UNIdouble(dvector, count, fork, 0) < 0)
      count = 0;
  }
  PBfFile_Close(fork);
  return count;
}

int32_t directread_table(double* dvector, int32_t maximum, const frefinfos& record)
{
  FileRef file;
  if (!App_frefinfos2fSRef(record, &file))
    return 0;
  return lowread_table(dvector, maximum, file);
}

OSErr directwrite_table(const double* dvector, int32_t n, frefinfos& record, OSType type,
                        OSType creator)
{
  record.type = type;
  int64_t bytes = tableBytes(n, 0);
  if (bytes < 0)
    return paramErr;
  HFSUniStr255 name;
  PSTRING_2_HFS(record.name, name);
  int16_t fork = xFile_Create(record.parent, name, type, creator, &gIOdata.resultRef);
  if (fork == 0)
    return ioErr;
  OSErr err = write_UNIdouble(dvector, n, fork, 0) < 0 ? ioErr : 0;
  // A shorter table must not leave doubles of an older, longer one behind.
  OSErr closeErr = err == 0 ? PBfFile_SetSizeAndClose(fork, bytes) : PBfFile_Close(fork);
  return err != 0 ? err : closeErr;
}
