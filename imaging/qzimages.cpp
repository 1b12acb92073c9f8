#include "imaging/qzimages.h"

#include <algorithm>
#include <cstring>

#include "foundation/filenames.h"
#include "foundation/iodata.h"
#include "imaging/pict.h"
#include "imaging/pictures.h"
#include "imaging/psd.h"
#include "imaging/qzpdf.h"

namespace {

// Bytes read to tell a PICT or a Photoshop document from other files.
constexpr size_t kSniffBytes = 528;

uint8_t Premultiply(uint8_t c, uint8_t a)
{
  return uint8_t((c * a + 127) / 255);
}

bool AllOpaque(const kvimg::Pixels& pixels)
{
  for (size_t i = 0; i < pixels.argb.size(); i += 4)
    if (pixels.argb[i] != 255)
      return false;
  return true;
}

bool StartsWith(const FileRef& file, bool (*test)(const uint8_t*, size_t))
{
  FILE* f = std::fopen(file.path().c_str(), "rb");
  if (f == nullptr)
    return false;
  uint8_t head[kSniffBytes];
  const size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  return test(head, n);
}

bool IsPictOrPsd(const uint8_t* data, size_t size)
{
  return kvpict::looksLikePict(data, size) || kvpsd::looksLikePsd(data, size);
}

// The folder a lookup searches.
FileRef SearchFolder(const frefinfos& record, bool inImageFolder)
{
  return inImageFolder ? kvfs::resourcesFolder() : record.parent;
}

// Decodes the file named by gIOdata.resultName in the folder, or the first
// file with one of the other image extensions.
bool FindAndDecode(const frefinfos& record, bool inImageFolder, kvimg::Pixels* out)
{
  frefinfos search = record;
  search.parent = SearchFolder(record, inImageFolder);
  if (search.parent.empty())
    return false;
  PSTRING_2_HFS(record.name, gIOdata.resultName);
  FileRef exact;
  const std::string name = HFS_2_UTF8(gIOdata.resultName);
  if (MakeFileFSRef(search.parent, name, &exact) && kvfs::isRegularFile(exact) &&
      QZ_DecodeImageFile(exact, out)) {
    gIOdata.resultRef = exact;
    return true;
  }
  FileRef found;
  return findGfileExtension(search, &found) && QZ_DecodeImageFile(found, out);
}

// The pixels as the rows of one image layout: 32-bit straight alpha.
kvimg::Rows RowsOf(const kvimg::Pixels& pixels, bool alpha)
{
  return kvimg::Rows{pixels.argb.data(), pixels.width * 4, pixels.width, pixels.height, 32, alpha};
}

// Encodes rows in the format of a file type: 'PICT', 'PNGf', else TIFF.
bool EncodeRows(OSType type, const kvimg::Rows& rows, std::vector<uint8_t>* bytes)
{
  if (type == fourcc("PICT"))
    return kvpict::write(rows, bytes);
  if (type == fourcc("PNGf"))
    return kvimg::encodePng(rows, bytes);
  return kvimg::encodeTiff(rows, bytes);
}

void MarkFile(const std::string& path, OSType type, OSType creator)
{
  SetFileTypeAndCreator(FileRef::fromPath(path), type, creator);
}

}  // namespace

// --- Images holding their own pixels

CGImageRef QZ_ImageCreateWithPixels(const kvimg::Pixels& pixels)
{
  if (!kvimg::sizeAllowed(pixels.width, pixels.height) ||
      pixels.argb.size() != size_t(pixels.width) * size_t(pixels.height) * 4)
    return nullptr;
  // A bitmap context's image is a copy that the image owns.
  const bool opaque = AllOpaque(pixels);
  std::vector<uint8_t> block(pixels.argb);
  if (!opaque)
    for (size_t i = 0; i < block.size(); i += 4)
      for (size_t c = 1; c < 4; ++c)
        block[i + c] = Premultiply(block[i + c], block[i]);
  CGContextRef ctx =
      QZ_BitmapContextCreate(block.data(), pixels.width, pixels.height,
                             opaque ? kQZBitmapSkipFirst : kQZBitmapPremultipliedFirst);
  CGImageRef image = ctx ? QZ_BitmapContextCreateImage(ctx) : nullptr;
  QZ_ContextRelease(ctx);
  return image;
}

bool QZ_ImageCopyPixels(CGImageRef image, kvimg::Pixels* out)
{
  const int32_t w = QZ_ImageGetWidth(image), h = QZ_ImageGetHeight(image);
  if (out == nullptr || !kvimg::sizeAllowed(w, h))
    return false;
  std::vector<uint8_t> block(size_t(w) * h * 4, 0);
  CGContextRef ctx = QZ_BitmapContextCreate(block.data(), w, h, kQZBitmapPremultipliedFirst);
  if (ctx == nullptr)
    return false;
  QZ_ContextSetInterpolationQuality(ctx, kQZInterpolationNone);
  QZ_ContextDrawImage(ctx, QZRect{0, 0, double(w), double(h)}, image);
  QZ_ContextFlush(ctx);
  QZ_ContextRelease(ctx);
  for (size_t i = 0; i < block.size(); i += 4) {
    const uint32_t a = block[i];
    for (size_t c = 1; c < 4; ++c)
      block[i + c] =
          a == 0 ? 0 : uint8_t(std::min<uint32_t>(255, (block[i + c] * 255 + a / 2) / a));
  }
  out->width = w;
  out->height = h;
  out->argb = std::move(block);
  return true;
}

// --- Decoding

bool QZ_DecodeImageBytes(const uint8_t* data, size_t size, kvimg::Pixels* out, std::string* why,
                         int64_t maxBytes)
{
  if (kvpict::looksLikePict(data, size))
    return kvpict::read(data, size, out, why, maxBytes);
  if (kvpsd::looksLikePsd(data, size))
    return kvpsd::read(data, size, out, why, maxBytes);
  if (why)
    *why = "neither a PICT nor a Photoshop document";
  return false;
}

bool QZ_DecodeImageFile(const FileRef& file, kvimg::Pixels* out, std::string* why)
{
  if (out == nullptr)
    return false;
  if (!StartsWith(file, IsPictOrPsd))
    return kvimg::decodeFile(file.path(), out, why);
  const auto bytes = xReadBuffer(file);
  if (!bytes) {
    if (why)
      *why = "cannot read the file";
    return false;
  }
  return QZ_DecodeImageBytes(bytes->data(), bytes->size(), out, why);
}

// --- Lookup and import

bool findGfileExtension(const frefinfos& record, FileRef* out)
{
  for (const char* extension : kQZImageExtensions) {
    xConcatExtension(gIOdata.resultName, extension, int16_t(std::strlen(extension)));
    FileRef candidate;
    if (MakeFileFSRef(record.parent, HFS_2_UTF8(gIOdata.resultName), &candidate) &&
        kvfs::isRegularFile(candidate)) {
      gIOdata.resultRef = candidate;
      if (out)
        *out = candidate;
      return true;
    }
  }
  return false;
}

CGImageRef QZ_lookforImageFile(const frefinfos& record, bool inImageFolder)
{
  kvimg::Pixels pixels;
  if (!FindAndDecode(record, inImageFolder, &pixels))
    return nullptr;
  return QZ_ImageCreateWithPixels(pixels);
}

PicHandle QZ_lookforPict(const frefinfos& record)
{
  kvimg::Pixels pixels;
  if (!FindAndDecode(record, false, &pixels))
    return nullptr;
  return KVpict_FromPixels(pixels);
}

bool QZ_LoadImageToAccessPix(AccessPix* out, const frefinfos& record)
{
  if (out == nullptr)
    return false;
  CGImageRef image = QZ_lookforImageFile(record, false);
  if (image == nullptr)
    return false;
  DisposePtr(out->base);
  out->base = nullptr;
  const int32_t w = QZ_ImageGetWidth(image), h = QZ_ImageGetHeight(image);
  CGContextRef ctx = QZ_CreateBitmapContext(int16_t(w), int16_t(h), out, false);
  if (ctx != nullptr) {
    QZ_ContextDrawImage(ctx, QZRect{0, 0, double(w), double(h)}, image);
    QZ_ContextFlush(ctx);
    QZ_ContextRelease(ctx);
    out->owned = nullptr;
  }
  QZ_ImageRelease(image);
  return ctx != nullptr;
}

// --- Writing

struct QZImageDestination
{
  std::string path;
  OSType type = 0;
  kvimg::Pixels pixels;
  QZImageOptions options;
  bool added = false;
};

QZImageDestination* QZ_ImageDestinationCreate(const std::string& path, OSType type)
{
  if (path.empty())
    return nullptr;
  auto* dest = new QZImageDestination;
  dest->path = path;
  dest->type = type;
  return dest;
}

void QZ_ImageDestinationAddImage(QZImageDestination* dest, CGImageRef image,
                                 const QZImageOptions* options)
{
  if (dest == nullptr || !QZ_ImageCopyPixels(image, &dest->pixels))
    return;
  dest->added = true;
  dest->options = options ? *options : QZImageOptions{1.0f, !AllOpaque(dest->pixels)};
}

bool QZ_ImageDestinationFinalize(QZImageDestination* dest)
{
  std::vector<uint8_t> bytes;
  return dest != nullptr && dest->added &&
         EncodeRows(dest->type, RowsOf(dest->pixels, dest->options.hasAlpha), &bytes) &&
         kvimg::replaceFile(dest->path, bytes.data(), bytes.size());
}

void QZ_ImageDestinationRelease(QZImageDestination* dest)
{
  delete dest;
}

QZImageOptions QZ_SetFileOptions(QZImageDestination*, float quality, bool hasAlpha)
{
  return QZImageOptions{quality, hasAlpha};
}

bool QZ_RenderToFile(const frefinfos& record, RowSource* source, QZRowCallback rows, bool hasAlpha,
                     OSType creator)
{
  if (source == nullptr || rows == nullptr || !kvimg::sizeAllowed(source->width, source->height))
    return false;
  const std::string path = xFile_CreateURL(record, creator);
  if (path.empty())
    return false;
  const bool grey = source->access != nullptr && source->access->pixelSize == 8;
  const int32_t bitsPerPixel = grey ? 8 : 32;
  const uint32_t layout =
      grey ? kQZBitmapGrey : (hasAlpha ? kQZBitmapAlphaFirst : kQZBitmapSkipFirst);
  source->rowBytes = source->width * (bitsPerPixel / 8);
  bool written = false;
  if (record.type == fourcc("PDF ")) {
    CGImageRef image = QZ_ImageCreateWithRows(source->width, source->height, bitsPerPixel,
                                              source->rowBytes, layout, rows, source);
    written = image != nullptr && QZ_CGImagewritePdf(path, image);
    QZ_ImageRelease(image);
  } else {
    const size_t size = size_t(source->rowBytes) * size_t(source->height);
    std::vector<uint8_t> pixels(size, 0), bytes;
    const kvimg::Rows view{pixels.data(),  source->rowBytes, source->width,
                           source->height, bitsPerPixel,     hasAlpha && !grey};
    written = rows(source, pixels.data(), 0, size) == size &&
              EncodeRows(record.type, view, &bytes) &&
              kvimg::replaceFile(path, bytes.data(), bytes.size());
  }
  if (written)
    MarkFile(path, record.type, creator);
  return written;
}

bool QZ_ExportBits(const frefinfos& record, AccessPix* buffer, bool hasAlpha, OSType creator)
{
  if (buffer == nullptr || buffer->base == nullptr)
    return false;
  RowSource source;
  source.width = buffer->width;
  source.height = buffer->height;
  source.source = buffer->base;
  source.access = buffer;
  return QZ_RenderToFile(record, &source,
                         buffer->pixelSize == 32 ? getbitsrender32 : getbitsrender8, hasAlpha,
                         creator);
}

bool QZ_ExportGW(const frefinfos& record, Offworld world, Rect* r, bool hasAlpha, OSType creator)
{
  AccessPix access;
  if (!AccessPixels(world, &access, r))
    return false;
  bool written = false;
  if (access.pixelSize == 8 || access.pixelSize == 32) {
    RowSource source;
    source.access = &access;
    source.source = access.base;
    source.width = access.width;
    source.height = access.height;
    if (r != nullptr) {
      const Rect cut = SectRect(*r, Rect{0, 0, access.height, access.width});
      source.width = RectIsEmpty(cut) ? 0 : RectWidth(cut);
      source.height = RectIsEmpty(cut) ? 0 : RectHeight(cut);
      source.source = access.base + int64_t(cut.top) * access.rowBytes +
                      int64_t(cut.left) * (access.pixelSize / 8);
    }
    written =
        QZ_RenderToFile(record, &source, access.pixelSize == 32 ? getbitsrender32 : getbitsrender8,
                        hasAlpha, creator);
  }
  UnlockPixels(access.pixMap);
  return written;
}

bool QZ_SaveCGImageToXXX(const frefinfos& record, CGImageRef image, OSType creator)
{
  const std::string path = xFile_CreateURL(record, creator);
  QZImageDestination* dest = QZ_ImageDestinationCreate(path, record.type);
  QZ_ImageDestinationAddImage(dest, image, nullptr);
  const bool written = QZ_ImageDestinationFinalize(dest);
  QZ_ImageDestinationRelease(dest);
  if (written)
    MarkFile(path, record.type, creator);
  return written;
}

bool QZ_CGImagewritePdf(const std::string& path, CGImageRef image)
{
  const int32_t w = QZ_ImageGetWidth(image), h = QZ_ImageGetHeight(image);
  if (path.empty() || !kvimg::sizeAllowed(w, h))
    return false;
  struct Fill
  {
    CGImageRef image;
    double w, h;
  } fill{image, double(w), double(h)};
  std::vector<uint8_t> bytes;
  const bool recorded = QZ_PDFRecordBytes(
      QZRect{0, 0, fill.w, fill.h},
      [](CGContextRef ctx, void* refCon) {
        const auto* f = static_cast<const Fill*>(refCon);
        QZ_ContextDrawImage(ctx, QZRect{0, 0, f->w, f->h}, f->image);
      },
      &fill, &bytes);
  return recorded && kvimg::replaceFile(path, bytes.data(), bytes.size());
}

bool QZ_RenameAsPdf(frefinfos* record)
{
  Str255 name = {};
  std::memcpy(name, record->name, size_t(record->name[0]) + 1);
  RemoveExtension(name, 0);
  ConcatExtension(name, fourcc("pdf "), 3);
  if (name[0] > 63)
    return false;
  std::memcpy(record->name, name, size_t(name[0]) + 1);
  record->type = fourcc("PDF ");
  return true;
}

bool QZ_SaveCGImage(frefinfos* record, CGImageRef image)
{
  if (record == nullptr || !QZ_RenameAsPdf(record))
    return false;
  const std::string path = xFile_CreateURL(*record, kQZApplicationCreator);
  if (!QZ_CGImagewritePdf(path, image))
    return false;
  MarkFile(path, record->type, kQZApplicationCreator);
  return true;
}

bool Save_CGImage(const FileRef*, CGImageRef)
{
  return false;
}
