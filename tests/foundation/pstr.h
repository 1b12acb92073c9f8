// Pascal strings for tests: build one from C++ text, read one back as text.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "foundation/types.h"

// A Str255 holding the given text (cut at 255 characters).
struct PStr
{
  Str255 bytes{};

  PStr() = default;
  explicit PStr(std::string_view text)
  {
    size_t n = text.size() < 255 ? text.size() : 255;
    bytes[0] = static_cast<unsigned char>(n);
    std::memcpy(bytes + 1, text.data(), n);
  }

  operator StringPtr() { return bytes; }
  operator ConstStringPtr() const { return bytes; }
  std::string str() const
  {
    return std::string(reinterpret_cast<const char*>(bytes + 1), bytes[0]);
  }
};

inline std::string PText(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}
