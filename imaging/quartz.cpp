#include "imaging/quartz.h"

#include <algorithm>
#include <bit>
#include <cairo.h>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <vector>

#include "imaging/pixels_pvt.h"
#include "imaging/ports.h"
#include "imaging/quartz_pvt.h"

namespace {

using SurfaceRef = std::shared_ptr<cairo_surface_t>;

SurfaceRef Adopt(cairo_surface_t* s)
{
  return SurfaceRef(s, cairo_surface_destroy);
}

struct Shadow
{
  double dx = 0, dy = 0, blur = 0;
  QZColor color{0, 0, 0, 0};
};

// The part of the drawing state that cairo does not keep for us (cairo
// keeps the transform, the rectangle clip and the line settings).
struct GState
{
  int32_t interpolation = kQZInterpolationDefault;
  CGBlendMode blendMode = kQZBlendNormal;
  bool antialias = true;
  QZColor fill;
  QZColor stroke;
  double alpha = 1;
  Shadow shadow;
  // Coverage that every drawing is cut to: A8, one byte per device pixel.
  SurfaceRef clipMask;
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
  // The clip takes a path of its own; the current path stays as it was.
  cairo_path_t* path = cairo_copy_path(ctx->cr);
  cairo_new_path(ctx->cr);
  cairo_rectangle(ctx->cr, r.x, r.y, r.width, r.height);
  cairo_clip(ctx->cr);
  if (path->status == CAIRO_STATUS_SUCCESS)
    cairo_append_path(ctx->cr, path);
  cairo_path_destroy(path);
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

// --- Drawing through the state: alpha, clip mask, blend mode and shadow

struct QZPath
{
  enum class Verb
  {
    Move,
    Line,
    Curve,
    Arc,
    ArcNegative,
    Close
  };
  struct Element
  {
    Verb verb;
    double v[6];
  };
  std::vector<Element> elements;
};

namespace {

// Paints one drawing on a cairo handle set up with the context's transform;
// it sets its own source. `op` is the drawing's description.
using PaintProc = void (*)(cairo_t* cr, const void* op);

// The largest shadow blur and offset, in device pixels, worth a mask.
constexpr double kMaxShadowReach = 512;

void SetSource(cairo_t* cr, const QZColor& c)
{
  cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

void CopyLineSettings(cairo_t* from, cairo_t* to)
{
  cairo_set_line_width(to, cairo_get_line_width(from));
  cairo_set_line_cap(to, cairo_get_line_cap(from));
  cairo_set_line_join(to, cairo_get_line_join(from));
  cairo_set_miter_limit(to, cairo_get_miter_limit(from));
  const int count = cairo_get_dash_count(from);
  std::vector<double> dashes(size_t(std::max(count, 0)));
  double offset = 0;
  if (count > 0)
    cairo_get_dash(from, dashes.data(), &offset);
  cairo_set_dash(to, dashes.data(), count, offset);
}

bool ShadowVisible(const Shadow& s)
{
  return s.color.alpha > 0 && std::isfinite(s.dx) && std::isfinite(s.dy) && std::isfinite(s.blur);
}

// One pass of a box blur of radius r along `count` samples `step` bytes
// apart; samples beyond the ends count as 0. `line` is scratch of count.
void BoxBlurLine(uint8_t* p, int32_t count, int32_t step, int32_t r, std::vector<uint32_t>& line)
{
  line.resize(size_t(count));
  for (int32_t i = 0; i < count; ++i)
    line[size_t(i)] = p[int64_t(i) * step];
  const uint32_t window = uint32_t(2 * r + 1);
  uint32_t sum = 0;
  for (int32_t i = 0; i <= r && i < count; ++i)
    sum += line[size_t(i)];
  for (int32_t i = 0; i < count; ++i) {
    p[int64_t(i) * step] = uint8_t((sum + window / 2) / window);
    if (i + r + 1 < count)
      sum += line[size_t(i + r + 1)];
    if (i - r >= 0)
      sum -= line[size_t(i - r)];
  }
}

// The bounding box of the non-zero samples of an A8 surface; false when it
// has none.
bool InkBounds(cairo_surface_t* a8, int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1)
{
  const uint8_t* data = cairo_image_surface_get_data(a8);
  const int stride = cairo_image_surface_get_stride(a8);
  const int32_t w = cairo_image_surface_get_width(a8), h = cairo_image_surface_get_height(a8);
  x0 = w, y0 = h, x1 = -1, y1 = -1;
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* row = data + int64_t(y) * stride;
    for (int32_t x = 0; x < w; ++x)
      if (row[x]) {
        x0 = std::min(x0, x), x1 = std::max(x1, x);
        y0 = std::min(y0, y), y1 = y;
      }
  }
  return x1 >= 0;
}

// Blurs the coverage with three box passes in each direction, which comes
// close to a Gaussian of standard deviation blur / 2.
void BlurCoverage(cairo_surface_t* a8, double blur)
{
  const double sigma = blur / 2;
  const int32_t r = int32_t(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2));
  if (r <= 0)
    return;
  cairo_surface_flush(a8);
  int32_t x0, y0, x1, y1;
  if (!InkBounds(a8, x0, y0, x1, y1))
    return;
  const int32_t w = cairo_image_surface_get_width(a8), h = cairo_image_surface_get_height(a8);
  x0 = std::max(0, x0 - 3 * r), y0 = std::max(0, y0 - 3 * r);
  x1 = std::min(w - 1, x1 + 3 * r), y1 = std::min(h - 1, y1 + 3 * r);
  uint8_t* data = cairo_image_surface_get_data(a8);
  const int stride = cairo_image_surface_get_stride(a8);
  std::vector<uint32_t> line;
  for (int pass = 0; pass < 3; ++pass) {
    for (int32_t y = y0; y <= y1; ++y)
      BoxBlurLine(data + int64_t(y) * stride + x0, x1 - x0 + 1, 1, r, line);
    for (int32_t x = x0; x <= x1; ++x)
      BoxBlurLine(data + int64_t(y0) * stride + x, y1 - y0 + 1, stride, r, line);
  }
  cairo_surface_mark_dirty(a8);
}

// Composes the current source through the clip mask with the global alpha
// and the blend mode; cr's transform must be the identity.
void ComposeSource(QZContext& ctx, double alpha)
{
  cairo_t* cr = ctx.cr;
  const GState& st = ctx.state;
  if (st.clipMask && alpha < 1) {
    cairo_push_group(cr);
    cairo_paint_with_alpha(cr, alpha);
    cairo_pop_group_to_source(cr);
  }
  cairo_set_operator(cr, OperatorOf(st.blendMode));
  if (st.clipMask)
    cairo_mask_surface(cr, st.clipMask.get(), 0, 0);
  else
    cairo_paint_with_alpha(cr, alpha);
}

// The shadow of a drawing: its coverage painted into an A8 mask with a
// margin around the device area, blurred, and composed in the shadow colour
// at the offset (y up in the base space is y down on the device).
void PaintShadow(QZContext& ctx, PaintProc paint, const void* op)
{
  const Shadow& sh = ctx.state.shadow;
  const double blur = std::clamp(sh.blur, 0.0, kMaxShadowReach);
  const double dx = std::clamp(sh.dx, -kMaxShadowReach, kMaxShadowReach);
  const double dy = std::clamp(sh.dy, -kMaxShadowReach, kMaxShadowReach);
  const int32_t margin = int32_t(std::ceil(2 * blur + std::fabs(dx) + std::fabs(dy))) + 2;
  cairo_surface_t* a8 =
      cairo_image_surface_create(CAIRO_FORMAT_A8, ctx.width + 2 * margin, ctx.height + 2 * margin);
  if (cairo_surface_status(a8) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(a8);
    return;
  }
  cairo_t* m = cairo_create(a8);
  cairo_matrix_t ctm;
  cairo_get_matrix(ctx.cr, &ctm);
  cairo_translate(m, margin, margin);
  cairo_transform(m, &ctm);
  CopyLineSettings(ctx.cr, m);
  cairo_set_antialias(m, ctx.state.antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  paint(m, op);
  cairo_destroy(m);
  BlurCoverage(a8, blur);

  cairo_t* cr = ctx.cr;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_push_group(cr);
  SetSource(cr, sh.color);
  cairo_mask_surface(cr, a8, dx - margin, -dy - margin);
  cairo_pop_group_to_source(cr);
  ComposeSource(ctx, ctx.state.alpha);
  cairo_restore(cr);
  cairo_surface_destroy(a8);
}

// Paints a drawing into the context with everything the state asks for.
void Render(QZContext& ctx, PaintProc paint, const void* op)
{
  BeginDrawing(ctx);
  cairo_t* cr = ctx.cr;
  if (ShadowVisible(ctx.state.shadow))
    PaintShadow(ctx, paint, op);
  cairo_save(cr);
  cairo_set_antialias(cr, ctx.state.antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  if (!ctx.state.clipMask && ctx.state.alpha >= 1) {
    cairo_set_operator(cr, OperatorOf(ctx.state.blendMode));
    paint(cr, op);
  } else {
    cairo_push_group(cr);
    paint(cr, op);
    cairo_pop_group_to_source(cr);
    cairo_identity_matrix(cr);
    ComposeSource(ctx, ctx.state.alpha);
  }
  cairo_restore(cr);
  EndDrawing(ctx);
}

// --- Drawings

struct PathDrawing
{
  cairo_path_t* path = nullptr;
  bool fill = false;
  bool stroke = false;
  cairo_fill_rule_t rule = CAIRO_FILL_RULE_WINDING;
  QZColor fillColor;
  QZColor strokeColor;
};

void PaintPath(cairo_t* cr, const void* op)
{
  const auto& d = *static_cast<const PathDrawing*>(op);
  cairo_new_path(cr);
  cairo_append_path(cr, d.path);
  if (d.fill) {
    SetSource(cr, d.fillColor);
    cairo_set_fill_rule(cr, d.rule);
    if (d.stroke)
      cairo_fill_preserve(cr);
    else
      cairo_fill(cr);
  }
  if (d.stroke) {
    SetSource(cr, d.strokeColor);
    cairo_stroke(cr);
  }
  cairo_new_path(cr);
}

struct ImageDrawing
{
  cairo_surface_t* source = nullptr;
  QZRect rect;
  int32_t width = 0, height = 0;
  bool mask = false;
  cairo_filter_t filter = CAIRO_FILTER_GOOD;
  QZColor color;
};

// Image space: row 0 at the rectangle's top edge (largest y).
void PlaceImage(cairo_t* cr, QZRect r, int32_t width, int32_t height)
{
  cairo_translate(cr, r.x, r.y + r.height);
  cairo_scale(cr, r.width / width, -r.height / height);
}

void PaintImage(cairo_t* cr, const void* op)
{
  const auto& d = *static_cast<const ImageDrawing*>(op);
  cairo_save(cr);
  PlaceImage(cr, d.rect, d.width, d.height);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(d.source);
  cairo_pattern_set_filter(pattern, d.filter);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_new_path(cr);
  cairo_rectangle(cr, 0, 0, d.width, d.height);
  if (d.mask) {
    cairo_clip(cr);
    SetSource(cr, d.color);
    cairo_mask(cr, pattern);
  } else {
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
  }
  cairo_pattern_destroy(pattern);
  cairo_restore(cr);
}

struct CairoDrawing
{
  QZCairoProc draw = nullptr;
  void* info = nullptr;
  QZColor color;
};

void PaintWithCairo(cairo_t* cr, const void* op)
{
  const auto& d = *static_cast<const CairoDrawing*>(op);
  cairo_save(cr);
  SetSource(cr, d.color);
  d.draw(cr, d.info);
  cairo_restore(cr);
}

// Drawn rectangles with negative sizes are turned around; false when empty.
bool NormalizeRect(QZRect& r)
{
  if (r.width < 0)
    r.x += r.width, r.width = -r.width;
  if (r.height < 0)
    r.y += r.height, r.height = -r.height;
  return r.width > 0 && r.height > 0 && std::isfinite(r.x + r.y + r.width + r.height);
}

// The image as the coverage a clip takes from it: A8 for masks and grey
// images, else the image's own surface (its alpha counts).
cairo_surface_t* CoverageOfImage(const QZImage& image)
{
  if (image.kind == QZImage::Kind::Mask || image.bitsPerPixel != 8)
    return SurfaceOfImage(image);
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, image.width, image.height);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  const std::vector<uint8_t> bytes = ImageBytes(image);
  uint8_t* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int32_t row = 0; row < image.height; ++row)
    std::memcpy(data + int64_t(row) * stride, bytes.data() + int64_t(row) * image.rowBytes,
                size_t(image.width));
  cairo_surface_mark_dirty(s);
  return s;
}

void DrawCurrentPath(QZContext& ctx, int32_t mode)
{
  PathDrawing d;
  d.path = cairo_copy_path(ctx.cr);
  cairo_new_path(ctx.cr);
  d.fill = mode != kQZPathStroke;
  d.stroke = mode == kQZPathStroke || mode == kQZPathFillStroke || mode == kQZPathEOFillStroke;
  d.rule = (mode == kQZPathEOFill || mode == kQZPathEOFillStroke) ? CAIRO_FILL_RULE_EVEN_ODD
                                                                  : CAIRO_FILL_RULE_WINDING;
  d.fillColor = ctx.state.fill;
  d.strokeColor = ctx.state.stroke;
  if (d.path->status == CAIRO_STATUS_SUCCESS && d.path->num_data > 0)
    Render(ctx, PaintPath, &d);
  cairo_path_destroy(d.path);
}

QZColor ClampedColor(double red, double green, double blue, double alpha)
{
  auto unit = [](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; };
  return QZColor{unit(red), unit(green), unit(blue), unit(alpha)};
}

bool Finite(std::initializer_list<double> values)
{
  for (double v : values)
    if (!std::isfinite(v))
      return false;
  return true;
}

void ArcOn(cairo_t* cr, double x, double y, double radius, double start, double end, bool clockwise)
{
  if (!Finite({x, y, radius, start, end}) || radius < 0)
    return;
  if (clockwise)
    cairo_arc_negative(cr, x, y, radius, start, end);
  else
    cairo_arc(cr, x, y, radius, start, end);
}

}  // namespace

void QZ_ContextDrawImage(CGContextRef ctx, QZRect r, CGImageRef image)
{
  if (!ctx || !image || !NormalizeRect(r))
    return;
  ImageDrawing d;
  d.source = SurfaceOfImage(*image);
  if (!d.source)
    return;
  d.rect = r;
  d.width = image->width;
  d.height = image->height;
  d.mask = image->kind == QZImage::Kind::Mask;
  d.filter = FilterOf(ctx->state.interpolation);
  d.color = ctx->state.fill;
  Render(*ctx, PaintImage, &d);
  cairo_surface_destroy(d.source);
}

void QZdrawfit_image(CGContextRef ctx, Rect r, CGImageRef image, const QZDrawFlags* flags)
{
  if (!ctx || !image)
    return;
  QZ_ContextSaveGState(ctx);
  if (flags && flags->hilitMode == 1)
    QZ_ContextSetAlpha(ctx, 0.333);
  // Mirror the rectangle's band back so that the first image row lands at
  // the rectangle's top on the screen.
  QZ_ContextTranslateCTM(ctx, 0, double(r.top) + r.bottom);
  QZ_ContextScaleCTM(ctx, 1, -1);
  QZ_ContextDrawImage(ctx, QZ_RectFromRect(r), image);
  QZ_ContextRestoreGState(ctx);
}

// --- Colours, lines, alpha, shadow, clip

void QZ_ContextSetRGBFillColor(CGContextRef ctx, double red, double green, double blue,
                               double alpha)
{
  if (ctx)
    ctx->state.fill = ClampedColor(red, green, blue, alpha);
}

void QZ_ContextSetRGBStrokeColor(CGContextRef ctx, double red, double green, double blue,
                                 double alpha)
{
  if (ctx)
    ctx->state.stroke = ClampedColor(red, green, blue, alpha);
}

void QZ_ContextSetGrayFillColor(CGContextRef ctx, double grey, double alpha)
{
  QZ_ContextSetRGBFillColor(ctx, grey, grey, grey, alpha);
}

void QZ_ContextSetGrayStrokeColor(CGContextRef ctx, double grey, double alpha)
{
  QZ_ContextSetRGBStrokeColor(ctx, grey, grey, grey, alpha);
}

QZColor QZ_ContextGetFillColor(CGContextRef ctx)
{
  return ctx ? ctx->state.fill : QZColor{};
}

QZColor QZ_ContextGetStrokeColor(CGContextRef ctx)
{
  return ctx ? ctx->state.stroke : QZColor{};
}

void QZ_ContextSetLineWidth(CGContextRef ctx, double width)
{
  if (ctx && std::isfinite(width) && width >= 0)
    cairo_set_line_width(ctx->cr, width);
}

double QZ_ContextGetLineWidth(CGContextRef ctx)
{
  return ctx ? cairo_get_line_width(ctx->cr) : 1;
}

void QZ_ContextSetLineCap(CGContextRef ctx, int32_t cap)
{
  static constexpr cairo_line_cap_t kCaps[] = {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND,
                                               CAIRO_LINE_CAP_SQUARE};
  if (ctx && cap >= 0 && cap < int32_t(std::size(kCaps)))
    cairo_set_line_cap(ctx->cr, kCaps[cap]);
}

void QZ_ContextSetLineJoin(CGContextRef ctx, int32_t join)
{
  static constexpr cairo_line_join_t kJoins[] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND,
                                                 CAIRO_LINE_JOIN_BEVEL};
  if (ctx && join >= 0 && join < int32_t(std::size(kJoins)))
    cairo_set_line_join(ctx->cr, kJoins[join]);
}

void QZ_ContextSetMiterLimit(CGContextRef ctx, double limit)
{
  if (ctx && std::isfinite(limit) && limit >= 1)
    cairo_set_miter_limit(ctx->cr, limit);
}

void QZ_ContextSetLineDash(CGContextRef ctx, double phase, const double* lengths, size_t count)
{
  if (!ctx)
    return;
  std::vector<double> dashes;
  double total = 0;
  for (size_t i = 0; lengths && i < count && i < 1024; ++i) {
    if (!std::isfinite(lengths[i]) || lengths[i] < 0)
      return;
    dashes.push_back(lengths[i]);
    total += lengths[i];
  }
  // cairo refuses a pattern of zero length; such a pattern draws solid.
  if (total <= 0)
    dashes.clear();
  cairo_set_dash(ctx->cr, dashes.data(), int(dashes.size()), std::isfinite(phase) ? phase : 0);
}

void QZ_ContextSetAlpha(CGContextRef ctx, double alpha)
{
  if (ctx)
    ctx->state.alpha = std::isfinite(alpha) ? std::clamp(alpha, 0.0, 1.0) : 1.0;
}

void QZ_ContextSetShadowWithColor(CGContextRef ctx, double dx, double dy, double blur,
                                  const QZColor* color)
{
  if (!ctx)
    return;
  Shadow& s = ctx->state.shadow;
  s.dx = dx, s.dy = dy, s.blur = std::max(blur, 0.0);
  s.color = color ? ClampedColor(color->red, color->green, color->blue, color->alpha)
                  : QZColor{0, 0, 0, 0};
}

void QZ_ContextSetShadow(CGContextRef ctx, double dx, double dy, double blur)
{
  const QZColor kDefaultShadow{0, 0, 0, 1.0 / 3};
  QZ_ContextSetShadowWithColor(ctx, dx, dy, blur, &kDefaultShadow);
}

void QZ_ContextClipToMask(CGContextRef ctx, QZRect r, CGImageRef image)
{
  if (!ctx || !image)
    return;
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, ctx->width, ctx->height);
  cairo_surface_t* source = NormalizeRect(r) ? CoverageOfImage(*image) : nullptr;
  if (source) {
    cairo_t* m = cairo_create(mask);
    cairo_matrix_t ctm;
    cairo_get_matrix(ctx->cr, &ctm);
    cairo_set_matrix(m, &ctm);
    PlaceImage(m, r, image->width, image->height);
    cairo_rectangle(m, 0, 0, image->width, image->height);
    cairo_clip(m);
    cairo_set_source_surface(m, source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(m), FilterOf(ctx->state.interpolation));
    cairo_pattern_set_extend(cairo_get_source(m), CAIRO_EXTEND_PAD);
    cairo_paint(m);
    cairo_destroy(m);
    cairo_surface_destroy(source);
  }
  // Within a clip already set, only what both let through is drawn.
  if (ctx->state.clipMask && cairo_surface_status(mask) == CAIRO_STATUS_SUCCESS) {
    cairo_t* m = cairo_create(mask);
    cairo_set_operator(m, CAIRO_OPERATOR_DEST_IN);
    cairo_set_source_surface(m, ctx->state.clipMask.get(), 0, 0);
    cairo_paint(m);
    cairo_destroy(m);
  }
  cairo_surface_flush(mask);
  ctx->state.clipMask = Adopt(mask);
}

void QZ_ContextRotateCTM(CGContextRef ctx, double radians)
{
  if (ctx && std::isfinite(radians))
    cairo_rotate(ctx->cr, radians);
}

// --- The current path

void QZ_ContextBeginPath(CGContextRef ctx)
{
  if (ctx)
    cairo_new_path(ctx->cr);
}

void QZ_ContextMoveToPoint(CGContextRef ctx, double x, double y)
{
  if (ctx && Finite({x, y}))
    cairo_move_to(ctx->cr, x, y);
}

void QZ_ContextAddLineToPoint(CGContextRef ctx, double x, double y)
{
  if (ctx && Finite({x, y}))
    cairo_line_to(ctx->cr, x, y);
}

void QZ_ContextAddCurveToPoint(CGContextRef ctx, double cx1, double cy1, double cx2, double cy2,
                               double x, double y)
{
  if (ctx && Finite({cx1, cy1, cx2, cy2, x, y}))
    cairo_curve_to(ctx->cr, cx1, cy1, cx2, cy2, x, y);
}

void QZ_ContextAddArc(CGContextRef ctx, double x, double y, double radius, double start, double end,
                      bool clockwise)
{
  if (ctx)
    ArcOn(ctx->cr, x, y, radius, start, end, clockwise);
}

void QZ_ContextClosePath(CGContextRef ctx)
{
  if (ctx)
    cairo_close_path(ctx->cr);
}

void QZ_ContextAddRect(CGContextRef ctx, QZRect r)
{
  if (ctx && Finite({r.x, r.y, r.width, r.height}))
    cairo_rectangle(ctx->cr, r.x, r.y, r.width, r.height);
}

void QZ_ContextAddEllipseInRect(CGContextRef ctx, QZRect r)
{
  if (!ctx || !Finite({r.x, r.y, r.width, r.height}) || r.width == 0 || r.height == 0)
    return;
  cairo_t* cr = ctx->cr;
  cairo_save(cr);
  cairo_translate(cr, r.x + r.width / 2, r.y + r.height / 2);
  cairo_scale(cr, r.width / 2, r.height / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
  cairo_close_path(cr);
  cairo_restore(cr);
}

bool QZ_ContextIsPathEmpty(CGContextRef ctx)
{
  if (!ctx)
    return true;
  cairo_path_t* path = cairo_copy_path(ctx->cr);
  const bool empty = path->num_data == 0;
  cairo_path_destroy(path);
  return empty;
}

void QZ_ContextDrawPath(CGContextRef ctx, int32_t mode)
{
  if (ctx && mode >= kQZPathFill && mode <= kQZPathEOFillStroke)
    DrawCurrentPath(*ctx, mode);
}

void QZ_ContextFillPath(CGContextRef ctx)
{
  QZ_ContextDrawPath(ctx, kQZPathFill);
}

void QZ_ContextEOFillPath(CGContextRef ctx)
{
  QZ_ContextDrawPath(ctx, kQZPathEOFill);
}

void QZ_ContextStrokePath(CGContextRef ctx)
{
  QZ_ContextDrawPath(ctx, kQZPathStroke);
}

void QZ_ContextFillRect(CGContextRef ctx, QZRect r)
{
  QZ_ContextBeginPath(ctx);
  QZ_ContextAddRect(ctx, r);
  QZ_ContextFillPath(ctx);
}

void QZ_ContextStrokeRect(CGContextRef ctx, QZRect r)
{
  QZ_ContextBeginPath(ctx);
  QZ_ContextAddRect(ctx, r);
  QZ_ContextStrokePath(ctx);
}

// --- Path objects

CGMutablePathRef QZ_PathCreateMutable()
{
  return new QZPath;
}

void QZ_PathRelease(CGMutablePathRef path)
{
  delete path;
}

namespace {

void AddElement(CGMutablePathRef path, QZPath::Verb verb, std::initializer_list<double> values)
{
  if (!path || !Finite(values))
    return;
  QZPath::Element e{verb, {0, 0, 0, 0, 0, 0}};
  std::copy(values.begin(), values.end(), e.v);
  path->elements.push_back(e);
}

}  // namespace

void QZ_PathMoveToPoint(CGMutablePathRef path, double x, double y)
{
  AddElement(path, QZPath::Verb::Move, {x, y});
}

void QZ_PathAddLineToPoint(CGMutablePathRef path, double x, double y)
{
  AddElement(path, QZPath::Verb::Line, {x, y});
}

void QZ_PathAddCurveToPoint(CGMutablePathRef path, double cx1, double cy1, double cx2, double cy2,
                            double x, double y)
{
  AddElement(path, QZPath::Verb::Curve, {cx1, cy1, cx2, cy2, x, y});
}

void QZ_PathAddArc(CGMutablePathRef path, double x, double y, double radius, double start,
                   double end, bool clockwise)
{
  if (radius >= 0)
    AddElement(path, clockwise ? QZPath::Verb::ArcNegative : QZPath::Verb::Arc,
               {x, y, radius, start, end});
}

void QZ_PathCloseSubpath(CGMutablePathRef path)
{
  AddElement(path, QZPath::Verb::Close, {});
}

void QZ_PathAddRect(CGMutablePathRef path, QZRect r)
{
  QZ_PathMoveToPoint(path, r.x, r.y);
  QZ_PathAddLineToPoint(path, r.x + r.width, r.y);
  QZ_PathAddLineToPoint(path, r.x + r.width, r.y + r.height);
  QZ_PathAddLineToPoint(path, r.x, r.y + r.height);
  QZ_PathCloseSubpath(path);
}

bool QZ_PathIsEmpty(CGMutablePathRef path)
{
  return !path || path->elements.empty();
}

void QZ_ContextAddPath(CGContextRef ctx, CGMutablePathRef path)
{
  if (!ctx || !path)
    return;
  cairo_t* cr = ctx->cr;
  for (const QZPath::Element& e : path->elements) {
    const double* v = e.v;
    switch (e.verb) {
      case QZPath::Verb::Move:
        cairo_move_to(cr, v[0], v[1]);
        break;
      case QZPath::Verb::Line:
        cairo_line_to(cr, v[0], v[1]);
        break;
      case QZPath::Verb::Curve:
        cairo_curve_to(cr, v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
      case QZPath::Verb::Arc:
      case QZPath::Verb::ArcNegative:
        ArcOn(cr, v[0], v[1], v[2], v[3], v[4], e.verb == QZPath::Verb::ArcNegative);
        break;
      case QZPath::Verb::Close:
        cairo_close_path(cr);
        break;
    }
  }
}

// --- Drawing with cairo

void QZ_ContextDrawWithCairo(CGContextRef ctx, QZCairoProc draw, void* info)
{
  if (!ctx || !draw)
    return;
  CairoDrawing d{draw, info, ctx->state.fill};
  Render(*ctx, PaintWithCairo, &d);
}
