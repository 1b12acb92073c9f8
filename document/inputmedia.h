// What the input slots ask of the picture and movie layers: the kind of an
// input file (from its type, or by content when its name gives none),
// opening a picture or a movie into a slot's buffer at the render size,
// showing a movie frame, and releasing a slot's buffer and movie.
#pragma once

#include <cstdint>

#include "engine/docslots.h"
#include "foundation/types.h"
#include "platform/files.h"

struct GWorldRec;

enum class KVinputKind
{
  None,
  Picture,
  Movie,
};

// The file types a slot accepts: pictures '8BPS', 'BMPf', 'GIFf', 'JPEG',
// 'PDF ', 'PICS', 'PICT', 'PNGf', 'TIFF', 'qtif'; movies 'MPEG', 'MooV',
// 'VfW ', 'SWFL', 'dvc!', 'mpg4'.
KVinputKind KV_inputKindOfType(OSType type);
// The kind of a file: from its type when it has one, else from its first
// bytes.
KVinputKind KV_inputKindOf(const FileRef& file);
// The type a file's first bytes show (PNG, JPEG, GIF, TIFF, BMP, PSD, PDF,
// PICT, QuickTime and MPEG-4, AVI, MPEG, DV); 0 when none.
OSType KV_sniffInputType(const FileRef& file);

// An empty movie state for the slot.
void KV_initSlotMedia(KVinputSlot* slot);
// Opens a movie into the slot's buffer at the render size and shows its
// first frame: 0, or -1 when it does not open or has no pictures.
int16_t KV_openSlotMovie(KVinputSlot* slot, const FileRef& file, const Rect& target);
// Reads a picture into the slot: at its own size (native size set) or drawn
// into the render rectangle of the slot's buffer. 0, or the import's status.
int16_t KV_openSlotPicture(KVinputSlot* slot, const FileRef& file, const Rect& target);
// Shows the frame at movie time `time` in the slot's buffer.
void KV_showSlotMovieFrame(KVinputSlot* slot, int32_t time);
// The slot's movie clock; false when no movie is open.
bool KV_slotMovieClock(const KVinputSlot* slot, int32_t* timeScale, int32_t* duration,
                       int32_t* rate100);
void KV_closeSlotMovie(KVinputSlot* slot);
void KV_freeSlotBuffer(KVinputSlot* slot);

// Reads the default picture file into *picture (a new 32-bit buffer of its
// own size), or with `size` redraws it into the existing one at that size.
OSErr KV_loadDefaultPicture(const FileRef& file, const Rect* size, GWorldRec** picture);
