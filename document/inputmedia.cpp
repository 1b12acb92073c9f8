#include "document/inputmedia.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "document/inputslots.h"
#include "foundation/fileio.h"
#include "imaging/offworld.h"
#include "platform/files.h"
#include "platform/stillimage.h"

namespace {

constexpr OSType kPictureTypes[] = {fourcc("8BPS"), fourcc("BMPf"), fourcc("GIFf"), fourcc("JPEG"),
                                    fourcc("PDF "), fourcc("PICS"), fourcc("PICT"), fourcc("PNGf"),
                                    fourcc("TIFF"), fourcc("qtif")};
constexpr OSType kMovieTypes[] = {fourcc("MPEG"), fourcc("MooV"), fourcc("VfW "),
                                  fourcc("SWFL"), fourcc("dvc!"), fourcc("mpg4")};

bool startsWith(const unsigned char* bytes, size_t n, const char* magic, size_t at = 0)
{
  const size_t m = std::strlen(magic);
  return n >= at + m && std::memcmp(bytes + at, magic, m) == 0;
}

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
  unsigned char head[16] = {};
  const int16_t fork = PBfFile_Open(file, fsRdPerm);
  if (fork == 0)
    return 0;
  // End of file reads as zeros: a short file simply matches nothing.
  const OSErr err = PBfFile_Read(fork, sizeof head, head, 0, false, 0);
  PBfFile_Close(fork);
  if (err != 0)
    return 0;
  const size_t n = sizeof head;
  if (startsWith(head, n, "\x89PNG\r\n\x1a\n"))
    return fourcc("PNGf");
  if (head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF)
    return fourcc("JPEG");
  if (startsWith(head, n, "GIF8"))
    return fourcc("GIFf");
  if (startsWith(head, n, "II*") || startsWith(head, n, "MM\x00*"))
    return fourcc("TIFF");
  if (startsWith(head, n, "BM"))
    return fourcc("BMPf");
  if (startsWith(head, n, "%PDF"))
    return fourcc("PDF ");
  if (startsWith(head, n, "8BPS"))
    return fourcc("8BPS");
  if (startsWith(head, n, "RIFF") && startsWith(head, n, "AVI ", 8))
    return fourcc("VfW ");
  if (startsWith(head, n, "ftyp", 4))
    return fourcc("mpg4");
  if (startsWith(head, n, "moov", 4) || startsWith(head, n, "mdat", 4) ||
      startsWith(head, n, "wide", 4) || startsWith(head, n, "free", 4))
    return fourcc("MooV");
  if (head[0] == 0 && head[1] == 0 && head[2] == 1 && (head[3] == 0xBA || head[3] == 0xB3))
    return fourcc("MPEG");
  return 0;
}

KVinputKind KV_inputKindOf(const FileRef& file)
{
  OSType type = xFile_getType(file);
  if (type == 0)
    type = KV_sniffInputType(file);
  return KV_inputKindOfType(type);
}

// ---- Pictures --------------------------------------------------------------------

namespace {

bool ownsBuffer(const KVinputSlot* slot)
{
  return slot->picture != nullptr && slot->picture != gDefaultPictureGW &&
         slot->sourceKind == kInputOwnFile;
}

Offworld newBuffer(const Rect& bounds)
{
  Offworld world = nullptr;
  if (CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 32, &world) != 0)
    return nullptr;
  return world;
}

// Draws the picture scaled into `dest` of the buffer (nearest pixel; the
// rectangle is cut to the buffer).
void drawInto(const kvimg::Pixels& picture, Offworld world, const Rect& dest)
{
  const Rect& b = world->pixels.bounds;
  const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  if (dw <= 0 || dh <= 0 || picture.width <= 0 || picture.height <= 0)
    return;
  for (int y = std::max<int>(dest.top, b.top); y < std::min<int>(dest.bottom, b.bottom); ++y) {
    const int sy = int(int64_t(y - dest.top) * picture.height / dh);
    uint8_t* row = world->pixels.baseAddr + size_t(y - b.top) * size_t(world->pixels.rowBytes);
    for (int x = std::max<int>(dest.left, b.left); x < std::min<int>(dest.right, b.right); ++x) {
      const int sx = int(int64_t(x - dest.left) * picture.width / dw);
      std::memcpy(row + 4 * size_t(x - b.left),
                  &picture.argb[(size_t(sy) * picture.width + sx) * 4], 4);
    }
  }
}

// The picture as a new buffer of its own size.
Offworld bufferOf(const kvimg::Pixels& picture)
{
  const Rect bounds{0, 0, int16_t(picture.height), int16_t(picture.width)};
  Offworld world = newBuffer(bounds);
  if (world != nullptr)
    drawInto(picture, world, bounds);
  return world;
}

bool decode(const FileRef& file, kvimg::Pixels* picture)
{
  return kvimg::decodeFile(file.path(), picture) && picture->width <= INT16_MAX &&
         picture->height <= INT16_MAX;
}

}  // namespace

void KV_initSlotMedia(KVinputSlot* slot)
{
  slot->movieWork = nullptr;
  slot->bounds = Rect{};
  slot->mediaType = 0;
  slot->movieOpen = 0;
  slot->movieMultiFrame = 0;
  slot->frameGrabbed = 0;
}

int16_t KV_openSlotPicture(KVinputSlot* slot, const FileRef& file, const Rect& target)
{
  KV_closeSlotMovie(slot);
  slot->mediaType = xFile_getType(file);
  if (slot->mediaType == 0)
    slot->mediaType = KV_sniffInputType(file);
  kvimg::Pixels picture;
  if (!decode(file, &picture))
    return -1;
  if (slot->nativeSize != 0) {
    if (ownsBuffer(slot))
      KillOffworld(&slot->picture);
    slot->picture = bufferOf(picture);
    if (slot->picture == nullptr)
      return -1;
    slot->bounds = slot->picture->pixels.bounds;
    return 0;
  }
  if (slot->picture != nullptr) {
    const Rect& b = slot->picture->pixels.bounds;
    const bool largeEnough = b.bottom - b.top >= target.bottom - target.top &&
                             b.right - b.left >= target.right - target.left;
    if (!largeEnough || !ownsBuffer(slot)) {
      if (ownsBuffer(slot))
        KillOffworld(&slot->picture);
      slot->picture = nullptr;
    }
  }
  if (slot->picture == nullptr)
    slot->picture = newBuffer(target);
  if (slot->picture == nullptr)
    return -1;
  drawInto(picture, slot->picture, target);
  slot->bounds = target;
  return 0;
}

// Movies need the movie layer, which this program does not have yet: a movie
// input does not open (the slot then gets the default picture).
int16_t KV_openSlotMovie(KVinputSlot*, const FileRef&, const Rect&)
{
  return -1;
}

void KV_showSlotMovieFrame(KVinputSlot*, int32_t) {}

bool KV_slotMovieClock(const KVinputSlot*, int32_t*, int32_t*, int32_t*)
{
  return false;
}

void KV_closeSlotMovie(KVinputSlot* slot)
{
  slot->movieOpen = 0;
  slot->movieMultiFrame = 0;
}

void KV_freeSlotBuffer(KVinputSlot* slot)
{
  KillOffworld(&slot->picture);
}

OSErr KV_loadDefaultPicture(const FileRef& file, const Rect* size, GWorldRec** picture)
{
  kvimg::Pixels decoded;
  if (!decode(file, &decoded))
    return -1;
  if (size != nullptr && *picture != nullptr) {
    drawInto(decoded, *picture, *size);
    return 0;
  }
  if (*picture != nullptr)
    return 0;  // loaded once, shared, never replaced
  *picture = bufferOf(decoded);
  return *picture != nullptr ? 0 : -1;
}
