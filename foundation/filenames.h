// File names: the HFS unicode name record, conversions between it, Pascal
// strings and C strings (all UTF-8 on our side), file-name extensions and the
// match routines with which folder walks choose items.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/types.h"
#include "platform/files.h"

// A name of up to 255 UTF-16 code units.
struct HFSUniStr255
{
  uint16_t length = 0;
  uint16_t unicode[255] = {};
};

bool HFS_SameName(const HFSUniStr255& a, const HFSUniStr255& b);

// --- Conversions ---------------------------------------------------------

// UTF-16 to UTF-8 Pascal string, cut at the last whole character that fits
// in 255 bytes; an unpaired surrogate becomes U+FFFD.
void HFS_2_PSTRING(const HFSUniStr255& name, StringPtr out);
// UTF-8 Pascal string to UTF-16. A byte that does not start a valid UTF-8
// sequence becomes the code unit of the same value (0 to 255), so names in
// an older single-byte encoding survive. Cut at 255 code units.
void PSTRING_2_HFS(ConstStringPtr name, HFSUniStr255& out);
// UTF-8 C string with its terminating zero, cut at a whole character to fit
// capacity bytes (terminator included). Nothing is written when capacity is 0.
void HFS_2_CSTRING(const HFSUniStr255& name, char* out, size_t capacity);

// The same conversions for names held as std::string (file-system names).
std::string HFS_2_UTF8(const HFSUniStr255& name);
// False when the name needs more than 255 code units (it is then cut).
bool UTF8_2_HFS(std::string_view text, HFSUniStr255& out);

// --- Extensions on Pascal names --------------------------------------------
// Positions are 1-based as in a Pascal string: "a '.' at position
// length - k" means an extension of k characters.

// Appends "." and the first n characters of code (reading order: 'tiff'
// gives t, i, f, f) unless the name already ends with those n characters.
// Nothing is appended when the result would pass 255 characters.
void ConcatExtension(StringPtr name, OSType code, int16_t n);
// Replaces an extension of 4, 3 or 2 characters (the '.' tested at
// length - 4, - 3, - 2 in that order) by the first n characters of code;
// without one, "." and the characters are appended.
void ReplaceExtension(StringPtr name, OSType code, int16_t n);
// n >= 1: removes "." and n characters when the '.' is at length - n.
// n < 1: cuts at the first '.' found at length - 4, - 3, - 2, - 1.
// Returns the new length when something was removed, else 0.
int16_t RemoveExtension(StringPtr name, int16_t n);
// As RemoveExtension; the removed extension comes back in extension,
// left-aligned with '*' in unused places ('gif*'); '****' when nothing was
// removed.
int16_t RemoveNGetExtension(StringPtr name, int16_t n, OSType& extension);

// --- Extensions on HFS names -------------------------------------------------

// Removes "." and an extension of 2, 3 or 4 code units (the '.' tested at
// length - 2, - 3, - 4), and for names longer than 9 also of 5 or 6.
// A one-unit extension stays. True when something was removed.
bool xRemoveExtension(HFSUniStr255& name);
// Removes an extension of 2 to 4 code units, then appends "." and the n
// bytes of chars (as code units of the same value). Nothing is appended
// when the result would pass 255 code units.
void xConcatExtension(HFSUniStr255& name, const char* chars, int16_t n);

// --- Match routines for folder walks ----------------------------------------

// A match routine sees an item's reference and what its catalog entry says.
using MatchProcPtr = bool (*)(const FileRef& item, const FileInfo& info);

// The item's type (stored type, or from its name when none or '????' was
// stored) is one of the first type-count entries of gIOdata's type list.
bool matchtypeprocptr(const FileRef& item, const FileInfo& info);
// The item's name equals gIOdata's search name exactly.
bool matchnameprocptr(const FileRef& item, const FileInfo& info);
// Both of the above; with gIOdata's strip-extension flag set the item's
// name loses its extension (as xRemoveExtension) before the comparison.
bool matchnametypeprocptr(const FileRef& item, const FileInfo& info);
