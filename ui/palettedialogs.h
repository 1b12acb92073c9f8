// The open and save dialogs of palette files (one gradient, 'ecpa') and
// palette libraries ('ecpl'); the files are read and written by the
// engine's palette-file routines.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "engine/palettes.h"
#include "platform/files.h"

// With ask, the open dialog ("Open Gradient ...") chooses the file and
// *file (when given) receives it; without, *file is read. True when read;
// false on a cancel or when the file cannot be read (palette unchanged).
bool sf_read_cpalette(cpalette* palette, FileRef* file, bool ask);
// With ask, the save dialog ("Save Gradient as ...", "Gradients") chooses
// the file and *file (when given) receives it; without, *file is written.
// 1 when written, 0 on a cancel or a failed write.
int16_t sf_write_cpalette(const cpalette* palette, FileRef* file, bool ask);
// The open dialog ("Open palette lib...") then the library read from the
// chosen file, which *file (when given) receives. True when read.
bool sf_read_cpalettelib(cpalettelib* library, FileRef* file);
// The save dialog ("Save palette lib as ...", "Palettes") then the library
// written to the chosen file: 1 when written, else 0.
int16_t sf_write_cpalettelib(cpalettelib* library);
