#include "document/qtsetup.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/videoformats.h"
#include "foundation/appshell.h"
#include "imaging/drawing.h"
#include "imaging/pict.h"
#include "imaging/psd.h"
#include "platform/movie.h"
#include "platform/moviewrite.h"
#include "platform/sniff.h"
#include "platform/stillimage.h"

KVcompressorInstance* gci = nullptr;
Str255 gAppInfosText = {};

namespace {

constexpr OSType kApplicationCreator = fourcc("Qjpr");

std::string toString(ConstStringPtr p)
{
  return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

void toPascal(const std::string& s, StringPtr out)
{
  const size_t n = std::min<size_t>(s.size(), 255);
  out[0] = uint8_t(n);
  std::memcpy(out + 1, s.data(), n);
}

// The file's type: its stored or name type, else what its content shows.
OSType typeOf(const FileRef& file)
{
  const OSType type = xFile_getType(file);
  return type != 0 ? type : kvsniff::typeOfFile(file.path());
}

// Types no reader here takes, whatever their content.
bool unreadableType(OSType type)
{
  return type == fourcc("PICS") || type == fourcc("qtif");
}

enum class StillReader
{
  Library,  // what the image library reads (PNG, JPEG, TIFF, GIF, BMP, PDF)
  Pict,
  Psd,
};

// The reader of a file, chosen by its content.
StillReader readerOf(const FileRef& file)
{
  uint8_t head[kvsniff::kSniffBytes];
  size_t n = 0;
  if (FILE* f = std::fopen(file.path().c_str(), "rb")) {
    n = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
  }
  const OSType type = kvsniff::typeOfBytes(head, n);
  if (type == fourcc("8BPS"))
    return StillReader::Psd;
  if (type == fourcc("PICT") || (type == 0 && kvpict::looksLikePict(head, n)))
    return StillReader::Pict;
  return StillReader::Library;
}

// Decodes a still; false for a type no reader takes, a damaged file, or a
// picture beyond 16-bit rectangles.
bool readStill(const FileRef& file, kvimg::Pixels* picture)
{
  if (file.empty() || unreadableType(typeOf(file)))
    return false;
  bool read = false;
  const StillReader reader = readerOf(file);
  if (reader == StillReader::Library) {
    read = kvimg::decodeFile(file.path(), picture);
  } else if (const auto bytes = xReadBuffer(file)) {
    read = reader == StillReader::Psd ? kvpsd::read(bytes->data(), bytes->size(), picture)
                                      : kvpict::read(bytes->data(), bytes->size(), picture);
  }
  return read && picture->width <= kvmovie::kMaxFrameSide &&
         picture->height <= kvmovie::kMaxFrameSide;
}

kvmovie::FrameTarget targetOf(Offworld gw, const Rect& dest)
{
  const Rect& b = gw->pixels.bounds;
  kvmovie::FrameTarget t;
  t.base = gw->pixels.baseAddr;
  t.rowBytes = gw->pixels.rowBytes;
  t.width = b.right - b.left;
  t.height = b.bottom - b.top;
  t.left = dest.left - b.left;
  t.top = dest.top - b.top;
  t.right = dest.right - b.left;
  t.bottom = dest.bottom - b.top;
  return t;
}

// Draws the picture scaled into `dest` of a buffer of any depth: straight
// into a 32-bit one, through a 32-bit copy of its bounds into the others.
bool drawPicture(const kvimg::Pixels& picture, Offworld gw, const Rect& dest)
{
  if (gw->pixels.pixelSize == 32)
    return kvmovie::scalePixels(picture.argb.data(), picture.width * 4, picture.width,
                                picture.height, targetOf(gw, dest));
  const Rect& b = gw->pixels.bounds;
  Offworld wide = nullptr;
  if (CreateOffworld(PackRectTopLeft(b), PackRectBottomRight(b), 32, &wide) != 0)
    return false;
  CopyGworldBits(gw, wide, &b, &b, srcCopy);
  const bool drawn = kvmovie::scalePixels(picture.argb.data(), picture.width * 4, picture.width,
                                          picture.height, targetOf(wide, dest));
  if (drawn)
    CopyGworldBits(wide, gw, &b, &b, srcCopy);
  KillOffworld(&wide);
  return drawn;
}

// Writes rows of 32-bit pixels, opaque, in the format of `type` ('PNGf',
// 'TIFF', 'PICT'); false for a type without a writer or a failed write (an
// older file then stays as it was).
bool writePixels(const std::string& path, OSType type, const uint8_t* base, int32_t rowBytes,
                 int32_t width, int32_t height)
{
  kvimg::Rows rows;
  rows.base = base;
  rows.rowBytes = rowBytes;
  rows.width = width;
  rows.height = height;
  std::vector<uint8_t> bytes;
  bool encoded = false;
  if (type == fourcc("PNGf"))
    encoded = kvimg::encodePng(rows, &bytes);
  else if (type == fourcc("TIFF"))
    encoded = kvimg::encodeTiff(rows, &bytes);
  else if (type == fourcc("PICT"))
    encoded = kvpict::write(rows, &bytes);
  return encoded && kvimg::replaceFile(path, bytes.data(), bytes.size());
}

// The record's file, created as `type` with `creator` from the pixels.
int16_t exportPixels(const frefinfos* file, const uint8_t* base, int32_t rowBytes, int32_t width,
                     int32_t height, OSType creator)
{
  FileRef target;
  if (file == nullptr || base == nullptr || width <= 0 || height <= 0 ||
      !ParentRef2FSSpec(file->parent, file->name, &target))
    return 0;
  if (!writePixels(target.path(), file->type, base, rowBytes, width, height))
    return 0;
  SetFileTypeAndCreator(target, file->type, creator);
  return 1;
}

// Where a name's extension starts (its '.'), when it has one of one to three
// characters; else the name's length.
size_t extensionStart(const std::string& name)
{
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && name.size() - dot - 1 >= 1 && name.size() - dot - 1 <= 3)
    return dot;
  return name.size();
}

// The run of decimal digits that ends at `end`.
size_t digitsBefore(const std::string& name, size_t end)
{
  size_t start = end;
  while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9')
    --start;
  return start;
}

}  // namespace

int16_t InitMovieToolbox()
{
  KV_defaultSpatialSettings(&gSCSpatialSettings);
  gci = nullptr;
  return 0;
}

void ExitMovieToolbox()
{
  gci = nullptr;
}

int16_t QTgetGenericImageGW(const FileRef& file, Offworld* out, int16_t depth)
{
  *out = nullptr;
  kvimg::Pixels picture;
  if (!readStill(file, &picture))
    return -1;
  if (picture.width <= 0 || picture.height <= 0)
    return -2;
  const Rect bounds{0, 0, int16_t(picture.height), int16_t(picture.width)};
  if (CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), depth, out) != 0)
    return -1;
  if (!drawPicture(picture, *out, bounds)) {
    KillOffworld(out);
    return -1;
  }
  return 0;
}

int16_t QTgetGenericImageInto(const FileRef& file, Offworld gw, Rect dest)
{
  kvimg::Pixels picture;
  if (gw == nullptr || !readStill(file, &picture))
    return -1;
  return drawPicture(picture, gw, dest) ? 0 : -1;
}

int16_t QTgetAnyImageInto(const FileRef& file, Offworld gw, Rect dest)
{
  if (file.empty() || typeOf(file) == 0)
    return -1;
  return QTgetGenericImageInto(file, gw, dest);
}

int16_t QT_ExportGworld(const frefinfos* file, Offworld gw, OSType creator)
{
  if (gw == nullptr)
    return 0;
  const Rect& b = gw->pixels.bounds;
  if (gw->pixels.pixelSize == 32)
    return exportPixels(file, gw->pixels.baseAddr, gw->pixels.rowBytes, b.right - b.left,
                        b.bottom - b.top, creator);
  Offworld wide = nullptr;
  if (CreateOffworld(PackRectTopLeft(b), PackRectBottomRight(b), 32, &wide) != 0)
    return 0;
  CopyGworldBits(gw, wide, &b, &b, srcCopy);
  const int16_t done = exportPixels(file, wide->pixels.baseAddr, wide->pixels.rowBytes,
                                    b.right - b.left, b.bottom - b.top, creator);
  KillOffworld(&wide);
  return done;
}

int16_t QTGraphicsExportBits(const frefinfos* file, const AccessPix* pixels)
{
  if (pixels == nullptr)
    return 0;
  return exportPixels(file, pixels->base, pixels->rowBytes, pixels->width, pixels->height,
                      kApplicationCreator);
}

void QTGraphicsExportSetExtension(FileRef* file, OSType type)
{
  if (type == fourcc("PNGf"))
    file->name += ".png";
  else if (type == fourcc("TIFF"))
    file->name += ".tif";
  else if (type == fourcc("PICT"))
    file->name += ".pct";
}

void QTSave_ImageDefaultName(const frefinfos* file, StringPtr out)
{
  const std::string name = toString(file->name);
  toPascal(name.substr(0, extensionStart(name)), out);
}

int16_t QTSave_Image(const frefinfos* chosen, Offworld gw, OSType creator)
{
  return QT_ExportGworld(chosen, gw, creator);
}

int16_t QTLoad_Image(const FileRef& chosen, Offworld* out, int16_t depth)
{
  if (chosen.empty())
    return 0;
  return QTgetGenericImageGW(chosen, out, depth) == 0 ? 1 : 0;
}

int16_t QTLoad_ImageInto(const FileRef& chosen, Offworld gw, Rect dest)
{
  if (chosen.empty())
    return 0;
  return QTgetGenericImageInto(chosen, gw, dest) == 0 ? 1 : 0;
}

int32_t QTGetImageNumber(ConstStringPtr name)
{
  const std::string s = toString(name);
  const size_t end = extensionStart(s);
  const size_t start = digitsBefore(s, end);
  if (start == end)
    return -1;
  // Nine digits always fit; a longer run keeps its last nine.
  const size_t first = end - start > 9 ? end - 9 : start;
  return int32_t(std::stol(s.substr(first, end - first)));
}

void QTConcatNumberKeepExtension(StringPtr name, int32_t number)
{
  std::string s = toString(name);
  const size_t end = extensionStart(s);
  const std::string extension = s.substr(end);
  const size_t start = digitsBefore(s, end);
  const size_t digits = end - start;
  int width = 4;
  if (digits >= 2) {
    width = int(std::min<size_t>(digits, 5));
    s.erase(start, digits);
  }
  std::string base = s.substr(0, s.size() - extension.size());
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, int(number));
  const std::string tail = std::string(text) + extension;
  // A name at the length limit gives up characters of its stem, never its
  // number or extension.
  if (base.size() + tail.size() > 255)
    base.resize(255 - std::min<size_t>(tail.size(), 255));
  toPascal(base + tail, name);
}

int16_t IsMoviePict(const FileRef& file, int16_t* track)
{
  *track = 0;
  kvmovie::Movie* movie = GetMovieFromFile(file);
  if (movie == nullptr)
    return 0;
  int16_t result = 0;
  int16_t flash = 0;
  bool found = false;
  for (int i = 0; i < kvmovie::trackCount(movie) && !found; ++i) {
    const kvmovie::Track* t = kvmovie::movieTrack(movie, i);
    if (t->handlerType == fourcc("vide")) {
      found = true;
      *track = int16_t(i + 1);
      result = t->sampleCount == 1 ? 1 : 0;
    } else if (t->handlerType == fourcc("flsh") && flash == 0) {
      flash = int16_t(i + 1);
    }
  }
  if (!found)
    *track = flash;
  kvmovie::closeMovie(movie);
  return result;
}

void setMovieInfosString(const MovieInputWork* work)
{
  char text[96];
  std::snprintf(text, sizeof text, "( size : %dx%d  fps : %.2f )", int(work->width),
                int(work->height), work->frameRate / 100.0);
  toPascal(text, gAppInfosText);
}

int16_t CheckError(OSErr code, ConstStringPtr message)
{
  if (code == 0)
    return 0;
  if (message != nullptr && message[0] != 0)
    reportText(message, code);
  return 2;
}

KVcompressorInstance* KV_openCompressor()
{
  // One instance at a time, as the dialog keeps one: ExitMovieToolbox only
  // forgets it.
  static KVcompressorInstance instance;
  if (!kvmovie::canWriteVideoCodec(gSCSpatialSettings.codecType))
    return nullptr;
  instance.codecType = gSCSpatialSettings.codecType;
  gci = &instance;
  return gci;
}
