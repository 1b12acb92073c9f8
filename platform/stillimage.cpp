#include "platform/stillimage.h"

#include <algorithm>
#include <atomic>
#include <cairo.h>
#include <cerrno>
#include <climits>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <memory>
#include <png.h>
#include <poppler.h>
#include <tiffio.h>
#include <unistd.h>

namespace kvimg {

namespace {

struct GObjectUnref
{
  void operator()(void* p) const
  {
    if (p != nullptr)
      g_object_unref(p);
  }
};

bool fail(std::string* why, const std::string& text)
{
  if (why != nullptr)
    *why = text;
  return false;
}

bool hasPdfSignature(const std::string& path)
{
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr)
    return false;
  char head[5] = {};
  const size_t n = std::fread(head, 1, 5, f);
  std::fclose(f);
  return n == 5 && std::memcmp(head, "%PDF-", 5) == 0;
}

bool fromPixbuf(GdkPixbuf* pixbuf, Pixels* out, std::string* why)
{
  const int w = gdk_pixbuf_get_width(pixbuf), h = gdk_pixbuf_get_height(pixbuf);
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  if (!sizeAllowed(w, h))
    return fail(why, "picture size out of range");
  if (gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || (channels != 3 && channels != 4))
    return fail(why, "unsupported pixel layout");
  const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  const guint8* src = gdk_pixbuf_read_pixels(pixbuf);
  out->width = w;
  out->height = h;
  out->argb.assign(size_t(w) * h * 4, 0);
  for (int y = 0; y < h; ++y) {
    const guint8* row = src + size_t(y) * stride;
    uint8_t* dst = out->argb.data() + size_t(y) * w * 4;
    for (int x = 0; x < w; ++x) {
      const guint8* p = row + size_t(x) * channels;
      dst[4 * x] = alpha ? p[3] : 255;
      dst[4 * x + 1] = p[0];
      dst[4 * x + 2] = p[1];
      dst[4 * x + 3] = p[2];
    }
  }
  return true;
}

// A page size in points rounded to whole pixels; false when out of range.
bool pagePixels(double w, double h, int32_t* pw, int32_t* ph)
{
  if (!std::isfinite(w) || !std::isfinite(h) || !(w > 0) || !(h > 0) || w >= kMaxImageSide + 0.5 ||
      h >= kMaxImageSide + 0.5)
    return false;
  *pw = std::max(1, int32_t(std::lround(w)));
  *ph = std::max(1, int32_t(std::lround(h)));
  return sizeAllowed(*pw, *ph);
}

// --- Encoding helpers

// The pixel at column x of a 32-bit row as red, green, blue and alpha.
void rgbaOf(const uint8_t* row, int32_t x, uint8_t* out)
{
  const uint8_t* p = row + size_t(x) * 4;
  out[0] = p[1];
  out[1] = p[2];
  out[2] = p[3];
  out[3] = p[0];
}

int32_t samplesPerPixel(const Rows& rows)
{
  return rows.bitsPerPixel == 8 ? 1 : (rows.alpha ? 4 : 3);
}

// Row `y` as packed samples (grey; RGB; or RGB plus alpha).
void packRow(const Rows& rows, int32_t y, uint8_t* out)
{
  const uint8_t* row = rows.base + int64_t(y) * rows.rowBytes;
  if (rows.bitsPerPixel == 8) {
    std::memcpy(out, row, size_t(rows.width));
    return;
  }
  const int32_t spp = samplesPerPixel(rows);
  uint8_t rgba[4];
  for (int32_t x = 0; x < rows.width; ++x) {
    rgbaOf(row, x, rgba);
    std::memcpy(out + size_t(x) * spp, rgba, size_t(spp));
  }
}

bool checkRows(const Rows& rows, std::string* why)
{
  if (rows.base == nullptr || (rows.bitsPerPixel != 8 && rows.bitsPerPixel != 32))
    return fail(why, "no pixels or an unsupported depth");
  if (!sizeAllowed(rows.width, rows.height))
    return fail(why, "picture size out of range");
  if (int64_t(rows.rowBytes) < int64_t(rows.width) * (rows.bitsPerPixel / 8))
    return fail(why, "row bytes shorter than a row");
  return true;
}

struct PngSink
{
  std::vector<uint8_t>* out;
};

void pngWrite(png_structp png, png_bytep data, png_size_t length)
{
  auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
  sink->out->insert(sink->out->end(), data, data + length);
}

void pngFlush(png_structp) {}

void pngError(png_structp png, png_const_charp)
{
  png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

// Everything that may jump back to the caller's setjmp; holds no object
// with a destructor.
void pngWriteAll(png_structp png, png_infop info, const Rows& rows, uint8_t* row)
{
  const int colorType = rows.bitsPerPixel == 8 ? PNG_COLOR_TYPE_GRAY
                        : rows.alpha           ? PNG_COLOR_TYPE_RGB_ALPHA
                                               : PNG_COLOR_TYPE_RGB;
  png_set_IHDR(png, info, png_uint_32(rows.width), png_uint_32(rows.height), 8, colorType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < rows.height; ++y) {
    packRow(rows, y, row);
    png_write_row(png, row);
  }
  png_write_end(png, info);
}

// libtiff writes through these procedures into a growing block.
struct TiffMemory
{
  std::vector<uint8_t>* out;
  uint64_t pos = 0;
};

tmsize_t tiffRead(thandle_t, void*, tmsize_t)
{
  return 0;
}

tmsize_t tiffWrite(thandle_t h, void* data, tmsize_t size)
{
  auto* m = static_cast<TiffMemory*>(h);
  if (size < 0 || m->pos + uint64_t(size) > uint64_t(kMaxImageBytes) * 2)
    return -1;
  const uint64_t end = m->pos + uint64_t(size);
  if (end > m->out->size())
    m->out->resize(size_t(end));
  std::memcpy(m->out->data() + m->pos, data, size_t(size));
  m->pos = end;
  return size;
}

toff_t tiffSeek(thandle_t h, toff_t off, int whence)
{
  auto* m = static_cast<TiffMemory*>(h);
  uint64_t base = whence == SEEK_CUR ? m->pos : (whence == SEEK_END ? m->out->size() : 0);
  m->pos = base + off;
  return m->pos;
}

int tiffClose(thandle_t)
{
  return 0;
}

toff_t tiffSize(thandle_t h)
{
  return static_cast<TiffMemory*>(h)->out->size();
}

int tiffMap(thandle_t, void**, toff_t*)
{
  return 0;
}

void tiffUnmap(thandle_t, void*, toff_t) {}

bool tiffWriteAll(TIFF* tif, const Rows& rows)
{
  const int32_t spp = samplesPerPixel(rows);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(rows.width));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(rows.height));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, spp);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, spp == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, 72.0);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, 72.0);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  if (spp == 4) {
    const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
  }
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
  std::vector<uint8_t> row(size_t(rows.width) * spp);
  for (int32_t y = 0; y < rows.height; ++y) {
    packRow(rows, y, row.data());
    if (TIFFWriteScanline(tif, row.data(), uint32_t(y), 0) < 0)
      return false;
  }
  return TIFFWriteDirectory(tif) != 0;
}

bool writeAll(int fd, const uint8_t* data, size_t size)
{
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

// Reads the simple TIFF layouts (8-bit samples, strips, rows from the top:
// grey, grey plus alpha, RGB, RGB plus alpha) scanline by scanline, so that
// unassociated alpha comes back exactly; gdk-pixbuf's TIFF loader hands back
// premultiplied colour. False (nothing decided) for any other layout.
bool decodeSimpleTiff(const std::string& path, Pixels* out)
{
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (tif == nullptr)
    return false;
  uint32_t w = 0, h = 0;
  uint16_t bits = 0, spp = 0, photometric = 0, planar = PLANARCONFIG_CONTIG;
  uint16_t orientation = ORIENTATION_TOPLEFT, extraCount = 0;
  uint16_t* extra = nullptr;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
  TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
  const uint16_t colours = photometric == PHOTOMETRIC_RGB ? 3 : 1;
  const bool simple = !TIFFIsTiled(tif) && bits == 8 && planar == PLANARCONFIG_CONTIG &&
                      orientation == ORIENTATION_TOPLEFT &&
                      (photometric == PHOTOMETRIC_RGB || photometric == PHOTOMETRIC_MINISBLACK) &&
                      (spp == colours || spp == colours + 1) && sizeAllowed(w, h) &&
                      TIFFScanlineSize(tif) >= tmsize_t(w) * spp;
  const bool hasAlpha = spp == colours + 1 && extraCount == 1 &&
                        (extra[0] == EXTRASAMPLE_UNASSALPHA || extra[0] == EXTRASAMPLE_ASSOCALPHA);
  const bool associated = hasAlpha && extra[0] == EXTRASAMPLE_ASSOCALPHA;
  bool ok = simple;
  if (ok) {
    std::vector<uint8_t> row(size_t(TIFFScanlineSize(tif)));
    out->width = int32_t(w);
    out->height = int32_t(h);
    out->argb.assign(size_t(w) * h * 4, 255);
    for (uint32_t y = 0; y < h && ok; ++y) {
      ok = TIFFReadScanline(tif, row.data(), y, 0) >= 0;
      uint8_t* d = out->argb.data() + size_t(y) * w * 4;
      for (uint32_t x = 0; x < w && ok; ++x, d += 4) {
        const uint8_t* p = row.data() + size_t(x) * spp;
        for (int c = 0; c < 3; ++c)
          d[1 + c] = p[colours == 3 ? c : 0];
        if (!hasAlpha)
          continue;
        d[0] = p[colours];
        if (associated && d[0] != 0)
          for (int c = 1; c < 4; ++c)
            d[c] = uint8_t(std::min(255, (d[c] * 255 + d[0] / 2) / d[0]));
      }
    }
  }
  TIFFClose(tif);
  return ok;
}

bool hasTiffSignature(const std::string& path)
{
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr)
    return false;
  uint8_t head[4] = {};
  const size_t n = std::fread(head, 1, 4, f);
  std::fclose(f);
  return n == 4 && ((head[0] == 'I' && head[1] == 'I' && head[2] == 42 && head[3] == 0) ||
                    (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && head[3] == 42));
}

}  // namespace

bool sizeAllowed(int64_t width, int64_t height)
{
  return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height * 4 <= kMaxImageBytes;
}

bool decodeFile(const std::string& path, Pixels* out, std::string* why)
{
  if (hasPdfSignature(path)) {
    std::unique_ptr<PdfDocument, void (*)(PdfDocument*)> doc(pdfOpenFile(path, why), pdfClose);
    double w = 0, h = 0;
    int32_t pw = 0, ph = 0;
    if (!doc)
      return false;
    if (!pdfPageSize(doc.get(), &w, &h) || !pagePixels(w, h, &pw, &ph))
      return fail(why, "PDF page size out of range");
    return pdfRenderPage(doc.get(), pw, ph, true, out, why);
  }
  if (hasTiffSignature(path) && decodeSimpleTiff(path, out))
    return true;
  int w = 0, h = 0;
  if (gdk_pixbuf_get_file_info(path.c_str(), &w, &h) == nullptr)
    return fail(why, "not a picture file");
  if (!sizeAllowed(w, h))
    return fail(why, "picture size out of range");
  GError* error = nullptr;
  std::unique_ptr<GdkPixbuf, GObjectUnref> pixbuf(gdk_pixbuf_new_from_file(path.c_str(), &error));
  if (!pixbuf) {
    const std::string text = error != nullptr ? error->message : "unreadable picture";
    g_clear_error(&error);
    return fail(why, text);
  }
  std::unique_ptr<GdkPixbuf, GObjectUnref> oriented(
      gdk_pixbuf_apply_embedded_orientation(pixbuf.get()));
  return fromPixbuf(oriented ? oriented.get() : pixbuf.get(), out, why);
}

bool encodePng(const Rows& rows, std::vector<uint8_t>* out, std::string* why)
{
  if (out == nullptr || !checkRows(rows, why))
    return false;
  out->clear();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return fail(why, "no PNG encoder");
  }
  std::vector<uint8_t> row(size_t(rows.width) * samplesPerPixel(rows));
  PngSink sink{out};
  png_set_write_fn(png, &sink, pngWrite, pngFlush);
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    out->clear();
    return fail(why, "PNG encoding failed");
  }
  pngWriteAll(png, info, rows, row.data());
  png_destroy_write_struct(&png, &info);
  return true;
}

bool encodeTiff(const Rows& rows, std::vector<uint8_t>* out, std::string* why)
{
  if (out == nullptr || !checkRows(rows, why))
    return false;
  out->clear();
  TiffMemory memory{out};
  TIFF* tif = TIFFClientOpen("memory", "w", &memory, tiffRead, tiffWrite, tiffSeek, tiffClose,
                             tiffSize, tiffMap, tiffUnmap);
  if (tif == nullptr)
    return fail(why, "no TIFF encoder");
  const bool ok = tiffWriteAll(tif, rows);
  TIFFClose(tif);
  if (!ok || out->empty()) {
    out->clear();
    return fail(why, "TIFF encoding failed");
  }
  return true;
}

bool replaceFile(const std::string& path, const uint8_t* data, size_t size, std::string* why)
{
  if (path.empty() || (data == nullptr && size > 0))
    return fail(why, "no file name or no data");
  static std::atomic<unsigned> serial{0};
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder + "." + name + ".tmp" + std::to_string(::getpid()) + "-" +
           std::to_string(serial.fetch_add(1));
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST)
      return fail(why, std::string("cannot create a temporary file: ") + std::strerror(errno));
  }
  if (fd < 0)
    return fail(why, "cannot create a temporary file");
  const bool written = writeAll(fd, data, size);
  const int savedErrno = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed) {
    ::unlink(temp.c_str());
    return fail(why, std::string("write failed: ") + std::strerror(written ? errno : savedErrno));
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return fail(why, std::string("rename failed: ") + std::strerror(errno));
  }
  return true;
}

bool encodeFile(const std::string& path, Format format, const uint8_t* argb, int32_t rowBytes,
                int32_t width, int32_t height, bool keepAlpha)
{
  if (argb == nullptr || !sizeAllowed(width, height) || rowBytes < width * 4)
    return false;
  std::vector<uint8_t> bytes;
  if (format != Format::Jpeg) {
    const Rows rows{argb, rowBytes, width, height, 32, keepAlpha};
    const bool encoded = format == Format::Png ? encodePng(rows, &bytes) : encodeTiff(rows, &bytes);
    return encoded && replaceFile(path, bytes.data(), bytes.size());
  }
  std::unique_ptr<GdkPixbuf, GObjectUnref> pixbuf(
      gdk_pixbuf_new(GDK_COLORSPACE_RGB, false, 8, width, height));
  if (!pixbuf)
    return false;
  const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
  guint8* dst = gdk_pixbuf_get_pixels(pixbuf.get());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* s = argb + size_t(y) * rowBytes + 4 * size_t(x);
      std::memcpy(dst + size_t(y) * stride + size_t(x) * 3, s + 1, 3);
    }
  gchar* buffer = nullptr;
  gsize length = 0;
  GError* error = nullptr;
  const bool saved = gdk_pixbuf_save_to_buffer(pixbuf.get(), &buffer, &length, "jpeg", &error,
                                               "quality", "100", nullptr) != FALSE;
  g_clear_error(&error);
  const bool written = saved && replaceFile(path, reinterpret_cast<const uint8_t*>(buffer), length);
  g_free(buffer);
  return written;
}

// --- PDF documents

struct PdfDocument
{
  std::vector<uint8_t> bytes;  // poppler reads these for the document's life
  PopplerDocument* document = nullptr;
  PopplerPage* page = nullptr;  // the first page
};

PdfDocument* pdfOpen(std::vector<uint8_t> bytes, std::string* why)
{
  if (bytes.size() < 5 || bytes.size() > size_t(INT_MAX)) {
    fail(why, "not a PDF");
    return nullptr;
  }
  auto doc = std::make_unique<PdfDocument>();
  doc->bytes = std::move(bytes);
  GError* error = nullptr;
  GBytes* view = g_bytes_new_static(doc->bytes.data(), doc->bytes.size());
  doc->document = poppler_document_new_from_bytes(view, nullptr, &error);
  g_bytes_unref(view);
  if (doc->document == nullptr) {
    fail(why, error != nullptr ? error->message : "unreadable PDF");
    g_clear_error(&error);
    return nullptr;
  }
  if (poppler_document_get_n_pages(doc->document) < 1 ||
      (doc->page = poppler_document_get_page(doc->document, 0)) == nullptr) {
    fail(why, "PDF without pages");
    pdfClose(doc.release());
    return nullptr;
  }
  return doc.release();
}

PdfDocument* pdfOpenFile(const std::string& path, std::string* why)
{
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    fail(why, "cannot open the file");
    return nullptr;
  }
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && bytes.size() <= size_t(INT_MAX))
    bytes.insert(bytes.end(), chunk, chunk + n);
  const bool readError = std::ferror(f) != 0;
  std::fclose(f);
  if (readError) {
    fail(why, "cannot read the file");
    return nullptr;
  }
  return pdfOpen(std::move(bytes), why);
}

void pdfClose(PdfDocument* doc)
{
  if (doc == nullptr)
    return;
  if (doc->page != nullptr)
    g_object_unref(doc->page);
  if (doc->document != nullptr)
    g_object_unref(doc->document);
  delete doc;
}

bool pdfPageSize(const PdfDocument* doc, double* width, double* height)
{
  if (doc == nullptr || doc->page == nullptr)
    return false;
  double w = 0, h = 0;
  poppler_page_get_size(doc->page, &w, &h);
  if (!std::isfinite(w) || !std::isfinite(h) || !(w > 0) || !(h > 0) || w > kMaxImageSide ||
      h > kMaxImageSide)
    return false;
  *width = w;
  *height = h;
  return true;
}

bool pdfRenderPage(const PdfDocument* doc, int32_t width, int32_t height, bool onWhite, Pixels* out,
                   std::string* why)
{
  double pw = 0, ph = 0;
  if (out == nullptr || !pdfPageSize(doc, &pw, &ph))
    return fail(why, "no page");
  if (!sizeAllowed(width, height))
    return fail(why, "picture size out of range");
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return fail(why, "no memory for the page");
  }
  cairo_t* cr = cairo_create(surface);
  if (onWhite) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
  }
  cairo_scale(cr, width / pw, height / ph);
  poppler_page_render(doc->page, cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const uint8_t* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  out->width = width;
  out->height = height;
  out->argb.assign(size_t(width) * height * 4, 0);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint32_t v;
      std::memcpy(&v, data + size_t(y) * stride + 4 * size_t(x), 4);
      const uint32_t a = v >> 24;
      uint8_t* d = out->argb.data() + (size_t(y) * width + x) * 4;
      d[0] = uint8_t(a);
      if (a == 0)
        continue;
      // cairo's pixels are premultiplied: back to straight colour.
      for (int c = 0; c < 3; ++c) {
        const uint32_t premultiplied = (v >> (16 - 8 * c)) & 255;
        d[1 + c] = uint8_t(std::min<uint32_t>(255, (premultiplied * 255 + a / 2) / a));
      }
    }
  cairo_surface_destroy(surface);
  return true;
}

}  // namespace kvimg
