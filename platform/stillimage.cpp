#include "platform/stillimage.h"

#include <cairo.h>
#include <cstring>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <memory>
#include <poppler.h>

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
  if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide)
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

bool decodePdf(const std::string& path, Pixels* out, std::string* why)
{
  GError* error = nullptr;
  gchar* uri = g_filename_to_uri(path.c_str(), nullptr, &error);
  if (uri == nullptr) {
    g_clear_error(&error);
    return fail(why, "no file URI");
  }
  std::unique_ptr<PopplerDocument, GObjectUnref> doc(
      poppler_document_new_from_file(uri, nullptr, &error));
  g_free(uri);
  if (!doc) {
    const std::string text = error != nullptr ? error->message : "unreadable PDF";
    g_clear_error(&error);
    return fail(why, text);
  }
  if (poppler_document_get_n_pages(doc.get()) < 1)
    return fail(why, "PDF without pages");
  std::unique_ptr<PopplerPage, GObjectUnref> page(poppler_document_get_page(doc.get(), 0));
  if (!page)
    return fail(why, "unreadable PDF page");
  double pw = 0, ph = 0;
  poppler_page_get_size(page.get(), &pw, &ph);
  if (!(pw >= 1 && ph >= 1 && pw <= kMaxImageSide && ph <= kMaxImageSide))
    return fail(why, "PDF page size out of range");
  const int w = int(pw + 0.5), h = int(ph + 0.5);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  poppler_page_render(page.get(), cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const uint8_t* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  out->width = w;
  out->height = h;
  out->argb.assign(size_t(w) * h * 4, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t v;
      std::memcpy(&v, data + size_t(y) * stride + 4 * size_t(x), 4);  // opaque: not premultiplied
      uint8_t* d = out->argb.data() + (size_t(y) * w + x) * 4;
      d[0] = 255;
      d[1] = uint8_t(v >> 16);
      d[2] = uint8_t(v >> 8);
      d[3] = uint8_t(v);
    }
  cairo_surface_destroy(surface);
  return true;
}

}  // namespace

bool decodeFile(const std::string& path, Pixels* out, std::string* why)
{
  if (hasPdfSignature(path))
    return decodePdf(path, out, why);
  int w = 0, h = 0;
  if (gdk_pixbuf_get_file_info(path.c_str(), &w, &h) == nullptr)
    return fail(why, "not a picture file");
  if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide)
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

bool encodeFile(const std::string& path, Format format, const uint8_t* argb, int32_t rowBytes,
                int32_t width, int32_t height, bool keepAlpha)
{
  if (argb == nullptr || width <= 0 || height <= 0 || rowBytes < width * 4)
    return false;
  const bool alpha = keepAlpha && format != Format::Jpeg;
  std::unique_ptr<GdkPixbuf, GObjectUnref> pixbuf(
      gdk_pixbuf_new(GDK_COLORSPACE_RGB, alpha, 8, width, height));
  if (!pixbuf)
    return false;
  const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
  const int channels = gdk_pixbuf_get_n_channels(pixbuf.get());
  guint8* dst = gdk_pixbuf_get_pixels(pixbuf.get());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* s = argb + size_t(y) * rowBytes + 4 * size_t(x);
      guint8* d = dst + size_t(y) * stride + size_t(x) * channels;
      d[0] = s[1];
      d[1] = s[2];
      d[2] = s[3];
      if (alpha)
        d[3] = s[0];
    }
  const char* type = format == Format::Png ? "png" : (format == Format::Tiff ? "tiff" : "jpeg");
  GError* error = nullptr;
  const bool saved = gdk_pixbuf_save(pixbuf.get(), path.c_str(), type, &error, nullptr) != FALSE;
  g_clear_error(&error);
  return saved;
}

}  // namespace kvimg
