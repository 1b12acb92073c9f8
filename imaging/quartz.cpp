#include "imaging/quartz.h"

#include <algorithm>
#include <bit>
#include <cairo.h>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/pixels_pvt.h"
#include "imaging/ports.h"
#include "imaging/quartz_pvt.h"

namespace {

// The part of the drawing state that cairo does not keep for us.
struct GState
{
  int32_t interpolation = kQZInterpolationDefault;
  CGBlendMode blendMode = kQZBlendNormal;
  bool antialias = true;
};

// cairo's ARGB32 is one native-endian word: on a little-endian machine its
// bytes lie in memory as blue, green, red, alpha.
constexpr OSType kCairoOrder =
    std::endian::native == std::endian::little ? kPixelFormatBGRA : kPixelFormatARGB;

}  // namespace

struct QZContext
{
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  // Our pixels when cairo draws into a converted copy of them.
  uint8_t* pixels = nullptr;
  int32_t rowBytes = 0;
  OSType format = kPixelFormatARGB;
  uint32_t bitmapInfo = kQZBitmapSkipFirst;
  bool converted = false;
  bool isBitmap = false;
  GState state;
  std::vector<GState> saved;
};

struct QZImage
{
  enum class Kind
  {
    Rows,
    Bits,
    Copy,
    Mask
  };
  Kind kind = Kind::Bits;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 32;
  int32_t rowBytes = 0;
  uint32_t bitmapInfo = kQZBitmapSkipFirst;
  QZRowCallback rows = nullptr;
  void* info = nullptr;
  const uint8_t* bits = nullptr;
  std::vector<uint8_t> copy;
};

namespace {

uint8_t Premultiply(uint8_t c, uint8_t a)
{
  return uint8_t((c * a + 127) / 255);
}

// Our pixels to cairo's before drawing, when cairo draws into a copy.
void Upload(QZContext& ctx)
{
  cairo_surface_flush(ctx.surface);
  uint8_t* data = cairo_image_surface_get_data(ctx.surface);
  const int stride = cairo_image_surface_get_stride(ctx.surface);
  const bool alpha = ctx.bitmapInfo == kQZBitmapPremultipliedFirst;
  for (int32_t row = 0; row < ctx.height; ++row) {
    const uint8_t* s = ctx.pixels + int64_t(row) * ctx.rowBytes;
    auto* d = reinterpret_cast<uint32_t*>(data + int64_t(row) * stride);
    for (int32_t col = 0; col < ctx.width; ++col, s += 4) {
      normalcolor c = kvpix::Load32(s, ctx.format);
      if (!alpha)
        c.flag = 255;
      d[col] = kvpix::PackColor(c);
    }
  }
  cairo_surface_mark_dirty(ctx.surface);
}

// cairo's pixels back into ours after drawing; without alpha the first byte
// of each pixel is left as it was.
void Download(QZContext& ctx)
{
  cairo_surface_flush(ctx.surface);
  const uint8_t* data = cairo_image_surface_get_data(ctx.surface);
  const int stride = cairo_image_surface_get_stride(ctx.surface);
  const bool alpha = ctx.bitmapInfo == kQZBitmapPremultipliedFirst;
  for (int32_t row = 0; row < ctx.height; ++row) {
    uint8_t* d = ctx.pixels + int64_t(row) * ctx.rowBytes;
    const auto* s = reinterpret_cast<const uint32_t*>(data + int64_t(row) * stride);
    for (int32_t col = 0; col < ctx.width; ++col, d += 4) {
      normalcolor c = kvpix::UnpackColor(s[col]);
      if (!alpha)
        c.flag = kvpix::Load32(d, ctx.format).flag;
      kvpix::Store32(d, ctx.format, c);
    }
  }
}

void BeginDrawing(QZContext& ctx)
{
  if (ctx.converted)
    Upload(ctx);
  else
    cairo_surface_mark_dirty(ctx.surface);
}

void EndDrawing(QZContext& ctx)
{
  if (ctx.converted)
    Download(ctx);
  else
    cairo_surface_flush(ctx.surface);
}

cairo_operator_t OperatorOf(CGBlendMode mode)
{
  static constexpr cairo_operator_t kOperators[] = {
      CAIRO_OPERATOR_OVER,        CAIRO_OPERATOR_MULTIPLY,
      CAIRO_OPERATOR_SCREEN,      CAIRO_OPERATOR_OVERLAY,
      CAIRO_OPERATOR_DARKEN,      CAIRO_OPERATOR_LIGHTEN,
      CAIRO_OPERATOR_COLOR_DODGE, CAIRO_OPERATOR_COLOR_BURN,
      CAIRO_OPERATOR_SOFT_LIGHT,  CAIRO_OPERATOR_HARD_LIGHT,
      CAIRO_OPERATOR_DIFFERENCE,  CAIRO_OPERATOR_EXCLUSION,
      CAIRO_OPERATOR_HSL_HUE,     CAIRO_OPERATOR_HSL_SATURATION,
      CAIRO_OPERATOR_HSL_COLOR,   CAIRO_OPERATOR_HSL_LUMINOSITY,
      CAIRO_OPERATOR_CLEAR,       CAIRO_OPERATOR_SOURCE,
      CAIRO_OPERATOR_IN,          CAIRO_OPERATOR_OUT,
      CAIRO_OPERATOR_ATOP,        CAIRO_OPERATOR_DEST_OVER,
      CAIRO_OPERATOR_DEST_IN,     CAIRO_OPERATOR_DEST_OUT,
      CAIRO_OPERATOR_DEST_ATOP,   CAIRO_OPERATOR_XOR,
      CAIRO_OPERATOR_MULTIPLY,    CAIRO_OPERATOR_ADD,
  };
  if (mode < 0 || mode >= int32_t(std::size(kOperators)))
    return CAIRO_OPERATOR_OVER;
  return kOperators[mode];
}

cairo_filter_t FilterOf(int32_t quality)
{
  switch (quality) {
    case kQZInterpolationNone:
      return CAIRO_FILTER_NEAREST;
    case kQZInterpolationLow:
      return CAIRO_FILTER_BILINEAR;
    default:
      return CAIRO_FILTER_GOOD;
  }
}

// The image's rows as they are now, in the image's own layout.
std::vector<uint8_t> ImageBytes(const QZImage& image)
{
  const size_t size = size_t(image.rowBytes) * size_t(image.height);
  std::vector<uint8_t> bytes(size, 0);
  switch (image.kind) {
    case QZImage::Kind::Rows:
      if (image.rows)
        image.rows(image.info, bytes.data(), 0, size);
      break;
    case QZImage::Kind::Bits:
    case QZImage::Kind::Mask:
      if (image.bits)
        std::memcpy(bytes.data(), image.bits, size);
      break;
    case QZImage::Kind::Copy:
      bytes = image.copy;
      break;
  }
  return bytes;
}

// One pixel of an image in cairo's word: alpha, then premultiplied colour.
uint32_t CairoPixel(const QZImage& image, const uint8_t* p)
{
  uint8_t a = 255, r, g, b;
  switch (image.bitsPerPixel) {
    case 8:
      r = g = b = p[0];
      break;
    case 24:
      r = p[0], g = p[1], b = p[2];
      break;
    default:
      r = p[1], g = p[2], b = p[3];
      if (image.bitmapInfo == kQZBitmapPremultipliedFirst) {
        a = p[0];
        r = std::min(r, a), g = std::min(g, a), b = std::min(b, a);
      } else if (image.bitmapInfo == kQZBitmapAlphaFirst) {
        a = p[0];
        r = Premultiply(r, a), g = Premultiply(g, a), b = Premultiply(b, a);
      }
      break;
  }
  return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

// A cairo surface holding the image's pixels (the caller destroys it).
cairo_surface_t* SurfaceOfImage(const QZImage& image)
{
  const bool mask = image.kind == QZImage::Kind::Mask;
  cairo_surface_t* s = cairo_image_surface_create(mask ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_ARGB32,
                                                  image.width, image.height);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  const std::vector<uint8_t> bytes = ImageBytes(image);
  uint8_t* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  const int32_t bytesPerPixel = image.bitsPerPixel / 8;
  for (int32_t row = 0; row < image.height; ++row) {
    const uint8_t* src = bytes.data() + int64_t(row) * image.rowBytes;
    uint8_t* dst = data + int64_t(row) * stride;
    for (int32_t col = 0; col < image.width; ++col, src += bytesPerPixel) {
      if (mask)
        dst[col] = uint8_t(255 - src[0]);
      else
        reinterpret_cast<uint32_t*>(dst)[col] = CairoPixel(image, src);
    }
  }
  cairo_surface_mark_dirty(s);
  return s;
}

QZImage* NewImage(QZImage::Kind kind, int32_t width, int32_t height, int32_t bitsPerPixel,
                  int32_t rowBytes, uint32_t bitmapInfo)
{
  if (width <= 0 || height <= 0 || rowBytes < width * (bitsPerPixel / 8))
    return nullptr;
  auto* image = new QZImage;
  image->kind = kind;
  image->width = width;
  image->height = height;
  image->bitsPerPixel = bitsPerPixel;
  image->rowBytes = rowBytes;
  image->bitmapInfo = bitmapInfo;
  return image;
}

bool ValidContextLayout(uint32_t bitmapInfo)
{
  return bitmapInfo == kQZBitmapPremultipliedFirst || bitmapInfo == kQZBitmapSkipFirst;
}

}  // namespace

QZRect QZ_RectFromRect(const Rect& r)
{
  return QZRect{double(r.left), double(r.top), double(RectWidth(r)), double(RectHeight(r))};
}

CGContextRef QZ_ContextOnPixels(uint8_t* pixels, int32_t width, int32_t height, int32_t rowBytes,
                                OSType format, uint32_t bitmapInfo)
{
  if (!pixels || width <= 0 || height <= 0 || rowBytes < width * 4 ||
      !ValidContextLayout(bitmapInfo))
    return nullptr;
  auto* ctx = new QZContext;
  ctx->width = width;
  ctx->height = height;
  ctx->pixels = pixels;
  ctx->rowBytes = rowBytes;
  ctx->format = format;
  ctx->bitmapInfo = bitmapInfo;
  const bool inPlace =
      format == kCairoOrder && bitmapInfo == kQZBitmapPremultipliedFirst && rowBytes % 4 == 0;
  if (inPlace) {
    ctx->surface =
        cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_ARGB32, width, height, rowBytes);
  } else {
    ctx->converted = true;
    ctx->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  }
  ctx->cr = cairo_create(ctx->surface);
  if (cairo_status(ctx->cr) != CAIRO_STATUS_SUCCESS) {
    QZ_ContextRelease(ctx);
    return nullptr;
  }
  // The default user space: origin at the bottom-left, y upwards.
  cairo_translate(ctx->cr, 0, height);
  cairo_scale(ctx->cr, 1, -1);
  return ctx;
}

CGContextRef QZ_ContextOnCairoSurface(void* cairoSurface, double width, double height)
{
  auto* surface = static_cast<cairo_surface_t*>(cairoSurface);
  if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || !(width > 0) ||
      !(height > 0) || width > 1e7 || height > 1e7)
    return nullptr;
  auto* ctx = new QZContext;
  ctx->width = int32_t(std::ceil(width));
  ctx->height = int32_t(std::ceil(height));
  // Drawing goes straight to the surface: nothing to convert before or after.
  ctx->surface = cairo_surface_reference(surface);
  ctx->cr = cairo_create(surface);
  if (cairo_status(ctx->cr) != CAIRO_STATUS_SUCCESS) {
    QZ_ContextRelease(ctx);
    return nullptr;
  }
  cairo_translate(ctx->cr, 0, height);
  cairo_scale(ctx->cr, 1, -1);
  return ctx;
}

CGContextRef QZ_BitmapContextCreate(uint8_t* pixels, int32_t width, int32_t height,
                                    uint32_t bitmapInfo)
{
  CGContextRef ctx =
      QZ_ContextOnPixels(pixels, width, height, width * 4, kPixelFormatARGB, bitmapInfo);
  if (ctx)
    ctx->isBitmap = true;
  return ctx;
}

void QZ_ContextRelease(CGContextRef ctx)
{
  if (!ctx)
    return;
  if (ctx->cr)
    cairo_destroy(ctx->cr);
  if (ctx->surface)
    cairo_surface_destroy(ctx->surface);
  delete ctx;
}

void QZ_ContextSaveGState(CGContextRef ctx)
{
  if (!ctx)
    return;
  cairo_save(ctx->cr);
  ctx->saved.push_back(ctx->state);
}

void QZ_ContextRestoreGState(CGContextRef ctx)
{
  if (!ctx || ctx->saved.empty())
    return;
  cairo_restore(ctx->cr);
  ctx->state = ctx->saved.back();
  ctx->saved.pop_back();
}

void QZ_ContextSetInterpolationQuality(CGContextRef ctx, int32_t quality)
{
  if (ctx)
    ctx->state.interpolation = quality;
}

int32_t QZ_ContextGetInterpolationQuality(CGContextRef ctx)
{
  return ctx ? ctx->state.interpolation : kQZInterpolationDefault;
}

void QZ_ContextSetBlendMode(CGContextRef ctx, CGBlendMode mode)
{
  if (ctx)
    ctx->state.blendMode = mode;
}

CGBlendMode QZ_ContextGetBlendMode(CGContextRef ctx)
{
  return ctx ? ctx->state.blendMode : kQZBlendNormal;
}

void QZ_ContextSetShouldAntialias(CGContextRef ctx, bool antialias)
{
  if (ctx)
    ctx->state.antialias = antialias;
}

void QZ_ContextClipToRect(CGContextRef ctx, QZRect r)
{
  if (!ctx)
    return;
  cairo_rectangle(ctx->cr, r.x, r.y, r.width, r.height);
  cairo_clip(ctx->cr);
}

void QZ_ContextScaleCTM(CGContextRef ctx, double sx, double sy)
{
  if (ctx && sx != 0 && sy != 0)
    cairo_scale(ctx->cr, sx, sy);
}

void QZ_ContextTranslateCTM(CGContextRef ctx, double tx, double ty)
{
  if (ctx)
    cairo_translate(ctx->cr, tx, ty);
}

void QZ_ContextFlush(CGContextRef ctx)
{
  if (ctx)
    cairo_surface_flush(ctx->surface);
}

uint8_t* QZ_BitmapContextGetData(CGContextRef ctx)
{
  return ctx && ctx->isBitmap ? ctx->pixels : nullptr;
}

int32_t QZ_BitmapContextGetWidth(CGContextRef ctx)
{
  return ctx && ctx->isBitmap ? ctx->width : 0;
}

int32_t QZ_BitmapContextGetHeight(CGContextRef ctx)
{
  return ctx && ctx->isBitmap ? ctx->height : 0;
}

CGImageRef QZ_BitmapContextCreateImage(CGContextRef ctx)
{
  if (!ctx || !ctx->isBitmap)
    return nullptr;
  QZImage* image =
      NewImage(QZImage::Kind::Copy, ctx->width, ctx->height, 32, ctx->width * 4, ctx->bitmapInfo);
  if (!image)
    return nullptr;
  image->copy.assign(ctx->pixels, ctx->pixels + size_t(ctx->width) * ctx->height * 4);
  return image;
}

CGImageRef QZ_ImageCreateWithRows(int32_t width, int32_t height, int32_t bitsPerPixel,
                                  int32_t rowBytes, uint32_t bitmapInfo, QZRowCallback rows,
                                  void* info)
{
  if (!rows)
    return nullptr;
  QZImage* image = NewImage(QZImage::Kind::Rows, width, height, bitsPerPixel, rowBytes, bitmapInfo);
  if (image)
    image->rows = rows, image->info = info;
  return image;
}

CGImageRef QZ_ImageCreateWithBits(const uint8_t* base, int32_t width, int32_t height,
                                  int32_t bitsPerPixel, int32_t rowBytes, uint32_t bitmapInfo)
{
  if (!base)
    return nullptr;
  QZImage* image = NewImage(QZImage::Kind::Bits, width, height, bitsPerPixel, rowBytes, bitmapInfo);
  if (image)
    image->bits = base;
  return image;
}

CGImageRef QZ_ImageMaskCreateWithBits(const uint8_t* base, int32_t width, int32_t height,
                                      int32_t rowBytes)
{
  if (!base)
    return nullptr;
  QZImage* image = NewImage(QZImage::Kind::Mask, width, height, 8, rowBytes, kQZBitmapGrey);
  if (image)
    image->bits = base;
  return image;
}

int32_t QZ_ImageGetWidth(CGImageRef image)
{
  return image ? image->width : 0;
}

int32_t QZ_ImageGetHeight(CGImageRef image)
{
  return image ? image->height : 0;
}

void QZ_ImageRelease(CGImageRef image)
{
  delete image;
}

void QZ_ContextDrawImage(CGContextRef ctx, QZRect r, CGImageRef image)
{
  if (!ctx || !image)
    return;
  if (r.width < 0)
    r.x += r.width, r.width = -r.width;
  if (r.height < 0)
    r.y += r.height, r.height = -r.height;
  if (r.width == 0 || r.height == 0)
    return;
  cairo_surface_t* source = SurfaceOfImage(*image);
  if (!source)
    return;

  BeginDrawing(*ctx);
  cairo_t* cr = ctx->cr;
  cairo_save(cr);
  // Image space: row 0 at the rectangle's top edge (largest y).
  cairo_translate(cr, r.x, r.y + r.height);
  cairo_scale(cr, r.width / image->width, -r.height / image->height);
  cairo_set_operator(cr, OperatorOf(ctx->state.blendMode));
  cairo_set_antialias(cr, ctx->state.antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
  cairo_pattern_set_filter(pattern, FilterOf(ctx->state.interpolation));
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_rectangle(cr, 0, 0, image->width, image->height);
  if (image->kind == QZImage::Kind::Mask) {
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_mask(cr, pattern);
  } else {
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
  }
  cairo_pattern_destroy(pattern);
  cairo_restore(cr);
  EndDrawing(*ctx);
  cairo_surface_destroy(source);
}

void QZdrawfit_image(CGContextRef ctx, Rect r, CGImageRef image, void*)
{
  if (!ctx || !image)
    return;
  QZ_ContextSaveGState(ctx);
  // Mirror the rectangle's band back so that the first image row lands at
  // the rectangle's top on the screen.
  QZ_ContextTranslateCTM(ctx, 0, double(r.top) + r.bottom);
  QZ_ContextScaleCTM(ctx, 1, -1);
  QZ_ContextDrawImage(ctx, QZ_RectFromRect(r), image);
  QZ_ContextRestoreGState(ctx);
}
