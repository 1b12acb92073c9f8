// Helpers that the tree-file and compiled-tree modules share: Pascal strings
// in fixed fields and a read-only data fork.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <numbers>

#include "engine/gfunc.h"
#include "foundation/bigendian.h"
#include "foundation/types.h"
#include "platform/files.h"

namespace kvtreefile {

// Copies the Pascal string of a field of `fieldSize` bytes into `out` (of
// `capacity` bytes). The length byte is unsigned and cut to what both the
// field and the destination hold.
inline void readPascal(const unsigned char* field, size_t fieldSize, unsigned char* out,
                       size_t capacity)
{
  size_t n = std::min<size_t>({field[0], fieldSize - 1, capacity - 1});
  out[0] = uint8_t(n);
  std::memcpy(out + 1, field + 1, n);
}

// Writes a Pascal string into a field of `fieldSize` bytes, zero-filled after
// it, cut to what the field holds.
inline void writePascal(const unsigned char* s, unsigned char* field, size_t fieldSize)
{
  size_t n = std::min<size_t>(s[0], fieldSize - 1);
  std::memset(field, 0, fieldSize);
  field[0] = uint8_t(n);
  std::memcpy(field + 1, s + 1, n);
}

// A palette as files store it: u32 count (held to 63 so that no gradient
// reads the 64th slot from a file), then 64 colours of flag, red, green,
// blue.
inline void readPalette(const unsigned char* p, cpalette* palette)
{
  uint32_t count = be::get_u32(p);
  palette->count = int32_t(std::min<uint32_t>(count, 63));
  for (int i = 0; i < 64; i++) {
    const unsigned char* c = p + 4 + 4 * i;
    palette->colors[i] = normalcolor{c[0], c[1], c[2], c[3]};
  }
}

inline void readColor(const unsigned char* p, normalcolor* c)
{
  *c = normalcolor{p[0], p[1], p[2], p[3]};
}

// A view rectangle as files store it: four doubles (x minimum, x maximum, y
// minimum, y maximum); a pair of zeros stands for -pi..pi.
inline void readViewRect(const unsigned char* p, KVviewRect* view)
{
  view->xmin = be::get_f64(p);
  view->xmax = be::get_f64(p + 8);
  view->ymin = be::get_f64(p + 16);
  view->ymax = be::get_f64(p + 24);
  constexpr double kPi = std::numbers::pi;
  if (view->xmin == 0.0 && view->xmax == 0.0) {
    view->xmin = -kPi;
    view->xmax = kPi;
  }
  if (view->ymin == 0.0 && view->ymax == 0.0) {
    view->ymin = -kPi;
    view->ymax = kPi;
  }
}

// A read-only data fork that closes itself.
class ForkReader
{
public:
  explicit ForkReader(const FileRef& file) : fork_(kvfs::openFork(file, fsRdPerm)) {}
  ~ForkReader()
  {
    if (fork_ != 0)
      kvfs::closeFork(fork_);
  }
  ForkReader(const ForkReader&) = delete;
  ForkReader& operator=(const ForkReader&) = delete;

  bool open() const { return fork_ != 0; }
  // Reads up to count bytes at offset; the number of bytes read (0 on failure).
  size_t read(int64_t offset, size_t count, unsigned char* out)
  {
    size_t actual = 0;
    OSErr err = kvfs::readFork(fork_, offset, count, out, actual);
    return (err == 0 || err == eofErr) ? actual : 0;
  }

private:
  int16_t fork_;
};

// Writes `count` bytes over a range of an existing file of at least
// `minimumSize` bytes (a whole record); the rest of the file is kept.
inline OSErr writeRangeInPlace(const FileRef& file, size_t minimumSize, size_t offset, size_t count,
                               const unsigned char* bytes)
{
  OSErr err = 0;
  int16_t fork = kvfs::openFork(file, fsRdWrPerm, &err);
  if (fork == 0)
    return err != 0 ? err : ioErr;
  int64_t size = 0;
  err = kvfs::forkSize(fork, size);
  if (err == 0 && size < int64_t(minimumSize))
    err = paramErr;
  if (err == 0)
    err = kvfs::writeFork(fork, int64_t(offset), count, bytes);
  OSErr closeErr = kvfs::closeFork(fork);
  return err != 0 ? err : closeErr;
}

}  // namespace kvtreefile
