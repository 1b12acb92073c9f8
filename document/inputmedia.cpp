#include "document/inputmedia.h"

#include <cstring>

#include "foundation/fileio.h"
#include "platform/files.h"

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
