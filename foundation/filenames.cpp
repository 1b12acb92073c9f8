#include "foundation/filenames.h"

#include <algorithm>
#include <cstring>

#include "foundation/fileio.h"
#include "foundation/iodata.h"

namespace {

constexpr uint32_t kReplacementChar = 0xFFFD;

// Appends the UTF-8 form of one code point; false (nothing appended) when it
// would pass limit bytes.
bool appendUtf8(std::string& out, uint32_t cp, size_t limit)
{
  char buf[4];
  size_t n;
  if (cp < 0x80) {
    buf[0] = char(cp), n = 1;
  } else if (cp < 0x800) {
    buf[0] = char(0xC0 | (cp >> 6)), buf[1] = char(0x80 | (cp & 0x3F)), n = 2;
  } else if (cp < 0x10000) {
    buf[0] = char(0xE0 | (cp >> 12)), buf[1] = char(0x80 | ((cp >> 6) & 0x3F));
    buf[2] = char(0x80 | (cp & 0x3F)), n = 3;
  } else {
    buf[0] = char(0xF0 | (cp >> 18)), buf[1] = char(0x80 | ((cp >> 12) & 0x3F));
    buf[2] = char(0x80 | ((cp >> 6) & 0x3F)), buf[3] = char(0x80 | (cp & 0x3F)), n = 4;
  }
  if (out.size() + n > limit)
    return false;
  out.append(buf, n);
  return true;
}

// UTF-16 to UTF-8, stopping before the first character that would pass limit.
std::string utf16ToUtf8(const HFSUniStr255& name, size_t limit)
{
  std::string out;
  size_t len = std::min<size_t>(name.length, 255);
  for (size_t i = 0; i < len; ++i) {
    uint32_t u = name.unicode[i];
    uint32_t cp = u;
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < len && name.unicode[i + 1] >= 0xDC00 &&
        name.unicode[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((u - 0xD800) << 10) + (name.unicode[i + 1] - 0xDC00);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      cp = kReplacementChar;
    }
    if (!appendUtf8(out, cp, limit))
      break;
  }
  return out;
}

// Decodes one UTF-8 sequence at s[i]; length 0 when the bytes there are not
// a valid, shortest-form sequence.
uint32_t decodeUtf8(const unsigned char* s, size_t size, size_t i, size_t& length)
{
  unsigned char b = s[i];
  length = 0;
  if (b < 0x80)
    return length = 1, b;
  size_t n = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
  if (n == 0 || i + n > size)
    return 0;
  uint32_t cp = b & (0x7F >> n);
  for (size_t k = 1; k < n; ++k) {
    if ((s[i + k] & 0xC0) != 0x80)
      return 0;
    cp = (cp << 6) | (s[i + k] & 0x3F);
  }
  static constexpr uint32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  length = n;
  return cp;
}

bool utf8ToUtf16(const unsigned char* s, size_t size, HFSUniStr255& out)
{
  out.length = 0;
  for (size_t i = 0; i < size;) {
    size_t n;
    uint32_t cp = decodeUtf8(s, size, i, n);
    if (n == 0)
      cp = s[i], n = 1;  // a single-byte name survives unit for unit
    size_t units = cp >= 0x10000 ? 2 : 1;
    if (out.length + units > 255)
      return false;
    if (units == 2) {
      out.unicode[out.length++] = uint16_t(0xD800 + ((cp - 0x10000) >> 10));
      out.unicode[out.length++] = uint16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out.unicode[out.length++] = uint16_t(cp);
    }
    i += n;
  }
  return true;
}

// The first n characters of a four-character code, in reading order.
int codeChars(OSType code, int16_t n, unsigned char chars[4])
{
  int count = std::clamp<int>(n, 0, 4);
  for (int i = 0; i < count; ++i)
    chars[i] = uint8_t(code >> (24 - 8 * i));
  return count;
}

void appendBytes(StringPtr name, const unsigned char* bytes, int n)
{
  std::memcpy(name + 1 + name[0], bytes, size_t(n));
  name[0] = uint8_t(name[0] + n);
}

// 1-based position of a '.' that starts an extension of k characters.
bool dotAt(ConstStringPtr name, int k)
{
  int pos = int(name[0]) - k;
  return pos >= 1 && name[pos] == '.';
}

bool unitDotAt(const HFSUniStr255& name, int k)
{
  int pos = int(name.length) - k;
  return pos >= 1 && name.unicode[pos - 1] == '.';
}

// Removes "." and an extension of one of the lengths, tested in order.
bool removeUnitExtension(HFSUniStr255& name, std::initializer_list<int> lengths)
{
  for (int k : lengths)
    if (unitDotAt(name, k)) {
      name.length = uint16_t(name.length - k - 1);
      return true;
    }
  return false;
}

bool removeFittingExtension(HFSUniStr255& name)
{
  if (name.length > 9)
    return removeUnitExtension(name, {2, 3, 4, 5, 6});
  return removeUnitExtension(name, {2, 3, 4});
}

}  // namespace

bool HFS_SameName(const HFSUniStr255& a, const HFSUniStr255& b)
{
  if (a.length != b.length || a.length > 255)
    return false;
  return std::equal(a.unicode, a.unicode + a.length, b.unicode);
}

void HFS_2_PSTRING(const HFSUniStr255& name, StringPtr out)
{
  std::string text = utf16ToUtf8(name, 255);
  out[0] = uint8_t(text.size());
  std::memcpy(out + 1, text.data(), text.size());
}

void PSTRING_2_HFS(ConstStringPtr name, HFSUniStr255& out)
{
  utf8ToUtf16(name + 1, name[0], out);
}

void HFS_2_CSTRING(const HFSUniStr255& name, char* out, size_t capacity)
{
  if (capacity == 0)
    return;
  std::string text = utf16ToUtf8(name, capacity - 1);
  std::memcpy(out, text.data(), text.size());
  out[text.size()] = '\0';
}

std::string HFS_2_UTF8(const HFSUniStr255& name)
{
  return utf16ToUtf8(name, SIZE_MAX);
}

bool UTF8_2_HFS(std::string_view text, HFSUniStr255& out)
{
  return utf8ToUtf16(reinterpret_cast<const unsigned char*>(text.data()), text.size(), out);
}

void ConcatExtension(StringPtr name, OSType code, int16_t n)
{
  unsigned char chars[4];
  int count = codeChars(code, n, chars);
  if (name[0] >= count && std::memcmp(name + 1 + name[0] - count, chars, size_t(count)) == 0)
    return;
  if (name[0] + 1 + count > 255)
    return;
  appendBytes(name, reinterpret_cast<const unsigned char*>("."), 1);
  appendBytes(name, chars, count);
}

void ReplaceExtension(StringPtr name, OSType code, int16_t n)
{
  unsigned char chars[4];
  int count = codeChars(code, n, chars);
  bool replaced = false;
  for (int k : {4, 3, 2})
    if (dotAt(name, k)) {
      name[0] = uint8_t(name[0] - k);
      replaced = true;
      break;
    }
  if (name[0] + (replaced ? 0 : 1) + count > 255)
    return;
  if (!replaced)
    appendBytes(name, reinterpret_cast<const unsigned char*>("."), 1);
  appendBytes(name, chars, count);
}

int16_t RemoveNGetExtension(StringPtr name, int16_t n, OSType& extension)
{
  extension = fourcc("****");
  int found = 0;
  if (n >= 1) {
    if (dotAt(name, n))
      found = n;
  } else {
    for (int k : {4, 3, 2, 1})
      if (dotAt(name, k)) {
        found = k;
        break;
      }
  }
  if (found == 0)
    return 0;
  int dot = name[0] - found;  // 1-based position of the '.'
  for (int i = 0; i < std::min(found, 4); ++i) {
    int shift = 24 - 8 * i;
    extension = (extension & ~(OSType(0xFF) << shift)) | (OSType(name[dot + 1 + i]) << shift);
  }
  name[0] = uint8_t(dot - 1);
  return name[0];
}

int16_t RemoveExtension(StringPtr name, int16_t n)
{
  OSType ignored;
  return RemoveNGetExtension(name, n, ignored);
}

bool xRemoveExtension(HFSUniStr255& name)
{
  return removeFittingExtension(name);
}

void xConcatExtension(HFSUniStr255& name, const char* chars, int16_t n)
{
  removeUnitExtension(name, {2, 3, 4});
  int count = std::max<int>(n, 0);
  if (name.length + 1 + count > 255)
    return;
  name.unicode[name.length++] = '.';
  for (int i = 0; i < count; ++i)
    name.unicode[name.length++] = uint8_t(chars[i]);
}

// --- Match routines -------------------------------------------------------------

namespace {

OSType itemType(const FileRef& item, const FileInfo& info)
{
  if (info.fileType != 0 && info.fileType != fourcc("????"))
    return info.fileType;
  return xFile_getTypeFromInfo(item, info);
}

bool typeListed(OSType type)
{
  int count = std::min<int>(gIOdata.typeCount, kIOTypeListSize);
  return std::find(gIOdata.typeList, gIOdata.typeList + std::max(count, 0), type) !=
         gIOdata.typeList + std::max(count, 0);
}

bool nameMatches(const FileRef& item, bool stripExtension)
{
  HFSUniStr255 name;
  if (!UTF8_2_HFS(item.name, name))
    return false;
  if (stripExtension)
    removeFittingExtension(name);
  return HFS_SameName(name, gIOdata.searchName);
}

}  // namespace

bool matchtypeprocptr(const FileRef& item, const FileInfo& info)
{
  return gIOdata.typeCount >= 1 && typeListed(itemType(item, info));
}

bool matchnameprocptr(const FileRef& item, const FileInfo&)
{
  return nameMatches(item, false);
}

bool matchnametypeprocptr(const FileRef& item, const FileInfo& info)
{
  return matchtypeprocptr(item, info) && nameMatches(item, gIOdata.stripExtension != 0);
}
