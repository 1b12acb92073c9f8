// Pictures of off-screen buffers kept as 'PICT' resources of a store: the
// settings' and documents' thumbnails.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "imaging/offworld.h"
#include "platform/files.h"

// The buffer's whole picture saved as 'PICT' `id` named "XXX" in the store;
// the alert sound twice when no picture can be made. 0 or the error.
OSErr SaveResPict(Offworld world, int16_t id, int16_t file);
// As SaveResPict with the name, the picture keeping the buffer's pad bytes
// (packing type 4, 4 components for the conversion, restored afterwards).
OSErr SavePadResPict(Offworld world, int16_t id, ConstStringPtr name, int16_t file);
// The buffer scaled into a new 16-bit buffer of width x height, saved as
// SaveResPict does; the temporary buffer is disposed of.
OSErr SaveCompResPict(Offworld world, int16_t width, int16_t height, int16_t id, int16_t file);
// Opens the document's companion store for writing, saves the buffer's
// picture as 'PICT' `id` with the name and closes the store; true when no
// error.
bool Save_ThumbResPict(Offworld world, int16_t id, ConstStringPtr name, const FileRef& file);
