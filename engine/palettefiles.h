// Palette files: a single palette (type 'ecpa', 260 bytes) and a library of
// 64 palettes (type 'ecpl', 16,648 bytes).
//
// Single palette: count (unsigned 32-bit, big-endian), then 64 colours of
// four bytes each (flag or alpha, red, green, blue).
// Library: the 64 palettes one after another in that layout, then two 32-bit
// words written as 0 (the highest-used word and a spare).
//
// Counts read from files are held to 0..63 (as unsigned numbers), so the 64th
// slot is never part of a gradient read from a file. A reader that fails
// leaves the palette or library as it was. Main thread only.
#pragma once

#include <cstdint>

#include "engine/palettes.h"
#include "foundation/types.h"
#include "platform/files.h"

inline constexpr int32_t kPaletteFileBytes = 260;
inline constexpr int32_t kPaletteLibFileBytes = 16648;
// The file of the library read at start-up, in the Resources folder.
inline constexpr const char* kPaletteLibFileName = "Palettes";

// Reads a library file. False, with the library unchanged, when the file
// cannot be opened or read or holds fewer than the 64 palettes. On success
// the highest-used word is 1 and the spare word 0.
bool read_cpalettelib(cpalettelib* lib, const FileRef& fileRef);
// Writes the library as the whole of the file (created with type 'ecpl' when
// missing). Both trailing words are 0 in the file and in the library
// afterwards. True only when every byte was written and the file closed.
bool write_cpalettelib(cpalettelib* lib, const FileRef& fileRef);

// Reads a single palette file; false, with the palette unchanged, when the
// file cannot be opened or read or is shorter than 260 bytes.
bool read_cpalette(cpalette* palette, const FileRef& fileRef);
// Writes a single palette as the whole of the file (created with type 'ecpa'
// when missing); true only when every byte was written and the file closed.
bool write_cpalette(const cpalette* palette, const FileRef& fileRef);

// The start-up load: makes the reference of the file "Palettes" in the
// resources folder (stored in paletteFile when asked) and, when the file can
// be read, replaces the library with it. A missing or damaged file leaves the
// library as it is (the built-in palettes after init_cpalettelib). True when
// the library was read from the file.
bool load_default_cpalettelib(cpalettelib* lib, const FileRef& resourcesFolder,
                              FileRef* paletteFile);
