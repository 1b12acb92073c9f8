#include "ui/textencoding.h"

namespace {

// Mac Roman 0x80..0xFF.
constexpr char16_t kMacRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

void AppendUTF8(std::string& out, char32_t c)
{
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// The length of the valid UTF-8 sequence at p (at most `left` bytes) and its
// character; 0 when the bytes there are not one.
size_t DecodeUTF8(const uint8_t* p, size_t left, char32_t& c)
{
  const uint8_t b = p[0];
  size_t n;
  char32_t min;
  if (b < 0x80)
    return c = b, 1;
  if ((b & 0xE0) == 0xC0)
    n = 2, c = b & 0x1F, min = 0x80;
  else if ((b & 0xF0) == 0xE0)
    n = 3, c = b & 0x0F, min = 0x800;
  else if ((b & 0xF8) == 0xF0)
    n = 4, c = b & 0x07, min = 0x10000;
  else
    return 0;
  if (n > left)
    return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80)
      return 0;
    c = (c << 6) | (p[i] & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
    return 0;
  return n;
}

}  // namespace

char32_t UItext_MacRomanChar(uint8_t byte)
{
  return byte < 0x80 ? char32_t(byte) : char32_t(kMacRomanHigh[byte - 0x80]);
}

std::string UItext_UTF8FromBytes(const uint8_t* bytes, size_t count)
{
  std::string out;
  if (!bytes)
    return out;
  for (size_t i = 0; i < count;) {
    char32_t c;
    const size_t n = DecodeUTF8(bytes + i, count - i, c);
    if (n == 0) {
      AppendUTF8(out, UItext_MacRomanChar(bytes[i]));
      ++i;
    } else {
      AppendUTF8(out, c);
      i += n;
    }
  }
  return out;
}

std::string UItext_UTF8FromPascal(ConstStringPtr text)
{
  return text ? UItext_UTF8FromBytes(text + 1, text[0]) : std::string();
}

std::vector<UniChar> UItext_UTF16FromPascal(ConstStringPtr text)
{
  const std::string utf8 = UItext_UTF8FromPascal(text);
  const auto* p = reinterpret_cast<const uint8_t*>(utf8.data());
  std::vector<UniChar> out;
  for (size_t i = 0; i < utf8.size();) {
    char32_t c;
    const size_t n = DecodeUTF8(p + i, utf8.size() - i, c);  // always valid here
    i += n ? n : 1;
    if (c >= 0x10000) {
      out.push_back(UniChar(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(UniChar(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(UniChar(c));
    }
  }
  return out;
}

std::string UItext_UTF8FromUTF16(const UniChar* text, size_t count)
{
  std::string out;
  for (size_t i = 0; text && i < count; ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUTF8(out, c);
  }
  return out;
}
