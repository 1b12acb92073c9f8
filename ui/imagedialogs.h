// The open and save dialogs of still pictures; the import and export are
// the image-file and picture-file layers'.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/fileio.h"
#include "foundation/iodata.h"
#include "imaging/offworld.h"
#include "imaging/quartz.h"

// The open dialog of the still-image types ("Open Image ") with the
// preview procedure; the record gets the chosen file. 1 when chosen, 0 on
// a cancel.
int16_t CG_FILE_GET(frefinfos* record, PreviewHookProcPtr preview);
// The same dialog, then the chosen file imported: the image (the caller
// releases it), or null on a cancel or when it cannot be imported.
CGImageRef Load_CGImage(frefinfos* record, PreviewHookProcPtr preview);

// Proposes the record's name without its extension in the picture save
// dialog ("Save Picture as...", the record's type) and exports the buffer
// to the chosen file with the creator: 1 when saved, 0 on a cancel or a
// failed export. `unused` is not read.
int16_t QTSave_Image(frefinfos* record, Offworld world, int32_t unused, OSType creator);
// The image open dialog ("Open Image..."), then the chosen file read into
// a new buffer of that depth in *out: 1 when read, 0 on a cancel or a
// failed read (*out then null).
int16_t QTLoad_Image(frefinfos* record, Offworld* out, int16_t depth);
// The same dialog, then the chosen file drawn into `dest` of the buffer: 1
// when drawn, 0 on a cancel or a failed read.
int16_t QTLoad_ImageInto(frefinfos* record, Offworld world, Rect dest);
