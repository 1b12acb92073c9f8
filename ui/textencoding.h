// Text bytes of the program's strings turned into the UTF-8 and UTF-16 that
// the text layout takes. Pascal strings hold UTF-8; bytes that are not part
// of a valid UTF-8 sequence are read as Mac Roman (0xC9 is the ellipsis), so
// that strings written in the old encoding still show their characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/types.h"

using UniChar = uint16_t;

// The character a Mac Roman byte stands for.
char32_t UItext_MacRomanChar(uint8_t byte);
// Valid UTF-8 of `count` bytes.
std::string UItext_UTF8FromBytes(const uint8_t* bytes, size_t count);
// Valid UTF-8 of a Pascal string (empty for null).
std::string UItext_UTF8FromPascal(ConstStringPtr text);
// UTF-16 of a Pascal string.
std::vector<UniChar> UItext_UTF16FromPascal(ConstStringPtr text);
// Valid UTF-8 of UTF-16 units; unpaired surrogates become U+FFFD.
std::string UItext_UTF8FromUTF16(const UniChar* text, size_t count);
