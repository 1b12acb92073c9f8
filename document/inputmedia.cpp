#include "document/inputmedia.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "document/inputslots.h"
#include "document/movies.h"
#include "document/qtsetup.h"
#include "foundation/fileio.h"
#include "imaging/offworld.h"
#include "platform/files.h"
#include "platform/sniff.h"

namespace {

constexpr OSType kPictureTypes[] = {fourcc("8BPS"), fourcc("BMPf"), fourcc("GIFf"), fourcc("JPEG"),
                                    fourcc("PDF "), fourcc("PICS"), fourcc("PICT"), fourcc("PNGf"),
                                    fourcc("TIFF"), fourcc("qtif")};
constexpr OSType kMovieTypes[] = {fourcc("MPEG"), fourcc("MooV"), fourcc("VfW "),
                                  fourcc("SWFL"), fourcc("dvc!"), fourcc("mpg4")};

}  // namespace

KVinputKind KV_inputKindOfType(OSType type)
{
  for (OSType t : kPictureTypes)
    if (t == type)
      return KVinputKind::Picture;
  for (OSType t : kMovieTypes)
    if (t == type)
      return KVinputKind::Movie;
  return KVinputKind::None;
}

OSType KV_sniffInputType(const FileRef& file)
{
  return kvsniff::typeOfFile(file.path());
}

KVinputKind KV_inputKindOf(const FileRef& file)
{
  OSType type = xFile_getType(file);
  if (type == 0)
    type = KV_sniffInputType(file);
  return KV_inputKindOfType(type);
}

// ---- Pictures and movies ---------------------------------------------------------

namespace {

bool ownsBuffer(const KVinputSlot* slot)
{
  return slot->picture != nullptr && slot->picture != gDefaultPictureGW &&
         slot->sourceKind == kInputOwnFile;
}

// Lets go of the slot's buffer: frees it when the slot owns it, else only
// drops it (the default picture and outside buffers belong to others).
void releaseBuffer(KVinputSlot* slot)
{
  if (ownsBuffer(slot))
    KillMovieOffworld(&slot->movie, &slot->picture);
  slot->picture = nullptr;
}

bool smallerThan(const Offworld world, const Rect& target)
{
  const Rect& b = world->pixels.bounds;
  return b.bottom - b.top < target.bottom - target.top ||
         b.right - b.left < target.right - target.left;
}

// Colour 0 everywhere, the pad byte included.
void fillWithZero(Offworld world)
{
  const PixMap& pm = world->pixels;
  const size_t rowSize = size_t(pm.bounds.right - pm.bounds.left) * size_t(pm.pixelSize / 8);
  for (int32_t y = 0; y < pm.bounds.bottom - pm.bounds.top; ++y)
    std::memset(pm.baseAddr + size_t(y) * size_t(pm.rowBytes), 0, rowSize);
}

}  // namespace

void KV_initSlotMedia(KVinputSlot* slot)
{
  InitMovieInputWork(&slot->movie);
  slot->movieOpen = 0;
  slot->movieMultiFrame = 0;
}

int16_t KV_openSlotPicture(KVinputSlot* slot, const FileRef& file, const Rect& target)
{
  KV_closeSlotMovie(slot);
  slot->movie.mediaType = xFile_getType(file);
  if (slot->movie.mediaType == 0)
    slot->movie.mediaType = KV_sniffInputType(file);
  if (slot->nativeSize != 0) {
    releaseBuffer(slot);
    const int16_t status = QTgetGenericImageGW(file, &slot->picture, 32);
    if (status != 0)
      return status;
    slot->movie.box = slot->picture->pixels.bounds;
    return 0;
  }
  if (slot->picture != nullptr && (!ownsBuffer(slot) || smallerThan(slot->picture, target)))
    releaseBuffer(slot);
  if (slot->picture == nullptr && CreateMovieOffworld(&slot->movie, &slot->picture, target) != 0)
    return -1;
  const int16_t status = QTgetGenericImageInto(file, slot->picture, target);
  if (status != 0)
    return status;
  slot->movie.box = target;
  return 0;
}

int16_t KV_openSlotMovie(KVinputSlot* slot, const FileRef& file, const Rect& target)
{
  if (slot->picture != nullptr && (!ownsBuffer(slot) || smallerThan(slot->picture, target)))
    releaseBuffer(slot);
  slot->nativeSize = 0;
  const int16_t width = int16_t(target.right - target.left);
  const int16_t height = int16_t(target.bottom - target.top);
  if (OpenMovie4Render(&slot->movie, file, &slot->picture, width, height, kMovieStretch) == 0 ||
      slot->movie.hasVisualTrack == 0 || slot->picture == nullptr) {
    // A movie that does not open, or one without pictures (a sound file),
    // gives the slot nothing to show.
    KV_closeSlotMovie(slot);
    return -1;
  }
  fillWithZero(slot->picture);
  DisplayFirstFrame(&slot->movie, slot->picture);
  slot->movieOpen = 1;
  slot->movieMultiFrame = KV_movieSampleCount(&slot->movie) > 1;
  return 0;
}

void KV_showSlotMovieFrame(KVinputSlot* slot, int32_t time)
{
  DisplayMovieFrame(&slot->movie, time, slot->picture, slot->movie.box, slot->movieMode == 1);
}

bool KV_slotMovieClock(const KVinputSlot* slot, int32_t* timeScale, int32_t* duration,
                       int32_t* rate100)
{
  if (slot->movieOpen == 0 || slot->movie.movie == nullptr)
    return false;
  *timeScale = slot->movie.timeScale;
  *duration = slot->movie.duration;
  *rate100 = slot->movie.frameRate;
  return true;
}

void KV_closeSlotMovie(KVinputSlot* slot)
{
  CloseMovie4Render(&slot->movie);
  slot->movieOpen = 0;
  slot->movieMultiFrame = 0;
}

void KV_freeSlotBuffer(KVinputSlot* slot)
{
  KillMovieOffworld(&slot->movie, &slot->picture);
}

OSErr KV_loadDefaultPicture(const FileRef& file, const Rect* size, GWorldRec** picture)
{
  if (size != nullptr && *picture != nullptr)
    return QTgetGenericImageInto(file, *picture, *size);
  if (*picture != nullptr)
    return 0;  // loaded once, shared, never replaced
  return QTgetGenericImageGW(file, picture, 32);
}
