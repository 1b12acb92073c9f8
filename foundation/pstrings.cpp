#include "foundation/pstrings.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kMaxPString = 255;

// 0-based offset of the first occurrence of pat in hay, -1 when there is none
// (an empty pattern matches at 0).
int32_t find_bytes(const unsigned char* hay, int32_t hayLen, const unsigned char* pat,
                   int32_t patLen)
{
  if (patLen <= 0)
    return 0;
  for (int32_t i = 0; i + patLen <= hayLen; ++i) {
    if (hay[i] == pat[0] && std::memcmp(hay + i, pat, size_t(patLen)) == 0)
      return i;
  }
  return -1;
}

// Writes s[1..] = head + middle + tail, cut at 255 characters. The three
// pieces may overlap s: they are assembled in a scratch copy first.
void assemble(StringPtr s, const unsigned char* head, int32_t headLen, const unsigned char* middle,
              int32_t middleLen, const unsigned char* tail, int32_t tailLen)
{
  unsigned char scratch[3 * 256];
  int32_t n = 0;
  std::memcpy(scratch + n, head, size_t(headLen));
  n += headLen;
  std::memcpy(scratch + n, middle, size_t(middleLen));
  n += middleLen;
  std::memcpy(scratch + n, tail, size_t(tailLen));
  n += tailLen;
  n = std::min(n, kMaxPString);
  std::memcpy(s + 1, scratch, size_t(n));
  s[0] = uint8_t(n);
}

}  // namespace

int16_t SetPString(StringPtr dst, const char* src)
{
  size_t n = strnlen(src, kMaxPString);
  std::memcpy(dst + 1, src, n);
  dst[0] = uint8_t(n);
  return int16_t(n);
}

void AssignPString(StringPtr dst, ConstStringPtr src)
{
  std::memmove(dst, src, size_t(src[0]) + 1);
}

void ConcatPString(StringPtr dst, ConstStringPtr src, int16_t maximum)
{
  int32_t limit = std::min<int32_t>(maximum, kMaxPString + 1) - 1;
  int32_t len = dst[0];
  int32_t room = std::max(0, limit - len);
  int32_t n = std::min<int32_t>(src[0], room);
  std::memmove(dst + 1 + len, src + 1, size_t(n));
  dst[0] = uint8_t(len + n);
}

int32_t CConcatPStrings(StringPtr dst, ConstStringPtr src)
{
  int32_t sum = int32_t(dst[0]) + src[0];
  int32_t n = std::min<int32_t>(src[0], kMaxPString - dst[0]);
  std::memmove(dst + 1 + dst[0], src + 1, size_t(n));
  dst[0] = uint8_t(std::min(sum, kMaxPString));
  return sum;
}

void CInsertPString(StringPtr dst, ConstStringPtr ins, int16_t position)
{
  int32_t len = dst[0];
  if (position < 1 || position > len)
    return;
  assemble(dst, dst + 1, position - 1, ins + 1, ins[0], dst + position, len - position + 1);
}

void CDeletePStrings(StringPtr s, ConstStringPtr pattern)
{
  CReplacePString(s, pattern, reinterpret_cast<ConstStringPtr>(""));
}

int16_t CReplacePString(StringPtr s, ConstStringPtr pattern, ConstStringPtr replacement)
{
  int16_t pos = CPOSPString(s, pattern);
  if (pos == 0)
    return 0;
  int32_t afterMatch = pos - 1 + pattern[0];
  assemble(s, s + 1, pos - 1, replacement + 1, replacement[0], s + 1 + afterMatch,
           s[0] - afterMatch);
  return 1;
}

int16_t CPOSPString(ConstStringPtr s, ConstStringPtr pattern)
{
  if (s[0] == 0 || pattern[0] == 0)
    return 0;
  return int16_t(find_bytes(s + 1, s[0], pattern + 1, pattern[0]) + 1);
}

bool myequalstring(ConstStringPtr a, ConstStringPtr b)
{
  if (a == nullptr || b == nullptr)
    return false;
  return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}

bool partialequalstring(ConstStringPtr a, ConstStringPtr b)
{
  int32_t common = std::min(a[0], b[0]);
  if (std::memcmp(a + 1, b + 1, size_t(common)) != 0)
    return false;
  for (int32_t i = common + 1; i <= b[0]; ++i) {
    if (!CischarDigit(b + i))
      return false;
  }
  return true;
}

bool CischarDigit(const unsigned char* c)
{
  return *c >= '0' && *c <= '9';
}

void SCOPY_MEM(const void* src, void* dstStart, const void* dstEnd, int32_t count)
{
  std::ptrdiff_t room = static_cast<const char*>(dstEnd) - static_cast<char*>(dstStart);
  std::ptrdiff_t n = std::min<std::ptrdiff_t>(count, room);
  if (n < 1)
    return;
  std::memmove(dstStart, src, size_t(n));
}

void SBlockMove(const void* src, void* dstStart, const void* dstEnd, int32_t count)
{
  SCOPY_MEM(src, dstStart, dstEnd, count);
}

void RemoveDecZeros(StringPtr s)
{
  if (std::memchr(s + 1, '.', s[0]) == nullptr)
    return;
  int32_t len = s[0];
  while (len > 0 && s[len] == '0')
    --len;
  if (len > 0 && s[len] == '.')
    --len;
  s[0] = uint8_t(len);
}

void FixPictName(StringPtr name)
{
  constexpr int32_t kKeep = 29;
  int32_t len = std::min<int32_t>(name[0], kKeep);
  if (len < 2 || name[len - 1] != '.' || name[len] != 'p') {
    name[len + 1] = '.';
    name[len + 2] = 'p';
    len += 2;
  }
  name[0] = uint8_t(len);
}

int32_t CPOSBuffer(const unsigned char* base, int32_t start, int32_t end, ConstStringPtr pattern)
{
  if (start < 0 || start >= end)
    return -1;
  int32_t at = find_bytes(base + start, end - start, pattern + 1, pattern[0]);
  return at < 0 ? -1 : start + at;
}

int32_t findinbuffer(const unsigned char* base, int32_t size, int32_t start,
                     const unsigned char* pattern, int32_t length)
{
  if (start < 0 || start >= size)
    return -1;
  int32_t at = find_bytes(base + start, size - start, pattern, length);
  return at < 0 ? -1 : start + at;
}

// ---- Handle text buffers ----

namespace {

// Makes the block hold at least `bytes`; the memory error.
OSErr reserve(Handle h, int64_t bytes)
{
  if (bytes > INT32_MAX)
    return memFullErr;
  int32_t size = GetHandleSize(h);
  if (MemError() != noErr)
    return MemError();
  if (size >= bytes)
    return noErr;
  SetHandleSize(h, int32_t(bytes));
  return MemError();
}

}  // namespace

OSErr CAddPSinBuffer(Handle h, ConstStringPtr s, int32_t* used)
{
  return CInsertPSinBuffer(h, s, used, *used);
}

OSErr CInsertPSinBuffer(Handle h, ConstStringPtr s, int32_t* used, int32_t offset)
{
  if (*used < 0 || offset < 0 || offset > *used)
    return noErr;
  OSErr err = reserve(h, int64_t(*used) + s[0]);
  if (err != noErr)
    return err;
  char* at = *h + offset;
  std::memmove(at + s[0], at, size_t(*used - offset));
  std::memcpy(at, s + 1, s[0]);
  *used += s[0];
  return noErr;
}

void CreplacePSinBuffer(Handle h, ConstStringPtr pattern, ConstStringPtr replacement)
{
  if (h == nullptr || pattern == nullptr || replacement == nullptr)
    return;
  int32_t len = pattern[0];
  if (len == 0 || len != replacement[0])
    return;
  if (std::memcmp(pattern, replacement, size_t(len) + 1) == 0)
    return;
  int32_t size = GetHandleSize(h);
  if (MemError() != noErr)
    return;
  auto* block = reinterpret_cast<unsigned char*>(*h);
  int32_t from = 0;
  while (from + len <= size) {
    int32_t at = find_bytes(block + from, size - from, pattern + 1, len);
    if (at < 0)
      break;
    std::memcpy(block + from + at, replacement + 1, size_t(len));
    from += at + len;
  }
}
