#include "imaging/qzbitmaps.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "imaging/quartz_pvt.h"

uint8_t gwIs8bit = 0;
uint8_t gwIs16bit = 0;

namespace {

constexpr OSType kNativeOrder =
    std::endian::native == std::endian::little ? kPixelFormatBGRA : kPixelFormatARGB;

// Describes a whole buffer, or its sub-rectangle cut to the buffer, for the
// row callbacks.
void FillRowSource(RowSource* info, const AccessPix* source, const Rect* sub)
{
  info->access = source;
  info->source = source->base;
  info->width = source->width;
  info->height = source->height;
  if (!sub)
    return;
  const Rect cut = SectRect(*sub, Rect{0, 0, source->height, source->width});
  if (RectIsEmpty(cut)) {
    info->width = info->height = 0;
    return;
  }
  info->source = source->base + int64_t(cut.top) * source->rowBytes +
                 int64_t(cut.left) * (source->pixelSize / 8);
  info->width = RectWidth(cut);
  info->height = RectHeight(cut);
}

// Delivers whole rows from the one at `offset`, calling produce(row, out,
// bytes) with at most the bytes left of `count`; returns the bytes covered.
template <class Produce>
size_t DeliverRows(const RowSource& rs, void* buffer, int64_t offset, size_t count, Produce produce)
{
  if (rs.rowBytes <= 0 || offset < 0)
    return 0;
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  for (int64_t r = offset / rs.rowBytes; r < rs.height && done < count; ++r) {
    const size_t bytes = std::min(size_t(rs.rowBytes), count - done);
    produce(int32_t(r), out, bytes);
    out += rs.rowBytes;
    done += bytes;
  }
  return done;
}

// The first byte of source row r, honouring the bottom-up flag when asked.
const uint8_t* SourceRow(const RowSource& rs, int32_t r, bool honourFlag)
{
  const int32_t row = honourFlag && rs.access->bottomUp ? rs.height - 1 - r : r;
  return rs.source + int64_t(row) * rs.access->rowBytes;
}

template <class Pixel>
void ProduceRow(uint8_t* out, size_t bytes, int32_t width, int32_t outBytesPerPixel, Pixel pixel)
{
  uint8_t produced[4];
  for (int32_t col = 0; col < width; ++col) {
    pixel(col, produced);
    const size_t at = size_t(col) * outBytesPerPixel;
    if (at >= bytes)
      return;
    std::memcpy(out + at, produced, std::min(size_t(outBytesPerPixel), bytes - at));
  }
}

void DrawShadeBands(CGContextRef ctx, const normalcolor* table, Rect r, bool vertical)
{
  if (!ctx || !table || RectIsEmpty(r))
    return;
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetShouldAntialias(ctx, false);
  QZ_ContextClipToRect(ctx, QZ_RectFromRect(r));
  const int32_t width = RectWidth(r), height = RectHeight(r);
  RowSource band;
  band.width = vertical ? 8 : width;
  band.height = vertical ? height : 8;
  band.source = reinterpret_cast<const uint8_t*>(table);
  CGImageRef image =
      QZ_createImagefromRendering(&band, vertical ? Vshade : Hshade, kQZBitmapPremultipliedFirst);
  if (image) {
    if (vertical) {
      for (int32_t x = r.left; x < r.right; x += 8)
        QZ_ContextDrawImage(ctx, QZRect{float(x), float(r.top), 8.0f, float(height)}, image);
    } else {
      for (int32_t y = r.top; y < r.bottom; y += 8)
        QZ_ContextDrawImage(ctx, QZRect{float(r.left), float(y), float(width), 8.0f}, image);
    }
    QZ_ImageRelease(image);
  }
  QZ_ContextRestoreGState(ctx);
}

void DescribeBlock(AccessPix* out, uint8_t* base, int16_t width, int16_t height, int16_t pixelSize)
{
  out->base = base;
  out->rowBytes = width * (pixelSize / 8);
  out->width = width;
  out->height = height;
  out->pixelSize = pixelSize;
}

uint8_t* AllocateRenderBuffer(AccessPix* out, int16_t width, int16_t height, int16_t pixelSize)
{
  if (!out)
    return nullptr;
  uint8_t* base =
      (width > 0 && height > 0) ? NewPtrClear(int64_t(width) * height * (pixelSize / 8)) : nullptr;
  DescribeBlock(out, base, width, height, pixelSize);
  out->bottomUp = 0;
  out->ownsBuffer = 0;
  out->owned = nullptr;
  out->pixMap = nullptr;
  out->isPort = 0;
  return base;
}

}  // namespace

CGContextRef QZ_CreateBitmapContext(int16_t width, int16_t height, AccessPix* out,
                                    bool premultipliedAlpha)
{
  if (!out)
    return nullptr;
  uint8_t* base = (width > 0 && height > 0) ? NewPtrClear(int64_t(width) * height * 4) : nullptr;
  CGContextRef ctx = nullptr;
  if (base) {
    ctx = QZ_BitmapContextCreate(
        base, width, height, premultipliedAlpha ? kQZBitmapPremultipliedFirst : kQZBitmapSkipFirst);
    if (!ctx)
      DisposePtr(base), base = nullptr;
  }
  DescribeBlock(out, base, width, height, 32);
  out->pixelFormat = kPixelFormatARGB;
  out->owned = ctx;
  out->pixMap = nullptr;
  out->isPort = 0;
  return ctx;
}

void QZ_KillBitmapContext(CGContextRef* context, uint8_t** pixels)
{
  if (pixels) {
    DisposePtr(*pixels);
    *pixels = nullptr;
  } else if (context && *context) {
    DisposePtr(QZ_BitmapContextGetData(*context));
  }
  if (context) {
    QZ_ContextRelease(*context);
    *context = nullptr;
  }
}

uint8_t* QZ_AllocateRenderBuffer32(AccessPix* out, int16_t width, int16_t height)
{
  return AllocateRenderBuffer(out, width, height, 32);
}

uint8_t* QZ_AllocateRenderBuffer8(AccessPix* out, int16_t width, int16_t height)
{
  return AllocateRenderBuffer(out, width, height, 8);
}

CGImageRef QZ_createImagefromRendering(RowSource* info, QZRowCallback rowCallback,
                                       uint32_t bitmapInfo)
{
  if (!info)
    return nullptr;
  info->rowBytes = 4 * info->width;
  return QZ_ImageCreateWithRows(info->width, info->height, 32, info->rowBytes, bitmapInfo,
                                rowCallback, info);
}

CGImageRef QZ_CopyBitsToImage(RowSource* info, AccessPix* source, const Rect* sub)
{
  if (!info || !source || !source->base)
    return nullptr;
  FillRowSource(info, source, sub);
  return QZ_createImagefromRendering(
      info, source->pixelSize == 32 ? getbitsrender32 : getbitsrender8to32, kQZBitmapSkipFirst);
}

CGImageRef QZ_createImagefromBits(const uint8_t* base, int32_t rowBytes, int32_t width,
                                  int32_t height, uint32_t bitmapInfo)
{
  return QZ_ImageCreateWithBits(base, width, height, 32, rowBytes, bitmapInfo);
}

CGImageRef QZ_createImagefromGW(Offworld world, Offworld mask, bool withAlpha)
{
  if (!world)
    return nullptr;
  PixMap& pm = world->pixels;
  if (pm.pixelSize == 32 && mask)
    SetGworldPadByte(mask, world);
  if (!LockPixels(&pm))
    return nullptr;
  const int32_t width = RectWidth(world->portRect), height = RectHeight(world->portRect);
  CGImageRef image =
      pm.pixelSize == 32
          ? QZ_ImageCreateWithBits(pm.baseAddr, width, height, 32, pm.rowBytes,
                                   withAlpha ? kQZBitmapAlphaFirst : kQZBitmapSkipFirst)
          : QZ_ImageCreateWithBits(pm.baseAddr, width, height, 8, pm.rowBytes, kQZBitmapGrey);
  UnlockPixels(&pm);
  return image;
}

CGImageRef QZ_createMaskfromGW(Offworld world)
{
  if (!world || world->pixels.pixelSize != 8)
    return nullptr;
  return QZ_ImageMaskCreateWithBits(world->pixels.baseAddr, RectWidth(world->portRect),
                                    RectHeight(world->portRect), world->pixels.rowBytes);
}

void QZ_CopyBitsToContext(CGContextRef ctx, AccessPix* source, const Rect* sub, Rect dest)
{
  if (!ctx || !source || !source->base)
    return;
  if (source->pixelSize != 32 && source->pixelSize != 8)
    return;
  RowSource info;
  FillRowSource(&info, source, sub);
  const bool shrinking = uint32_t(info.width) > uint32_t(int32_t(dest.right) - dest.left);
  CGImageRef image = QZ_createImagefromRendering(
      &info, source->pixelSize == 32 ? getbitsrender32 : getbitsrender8to32, kQZBitmapSkipFirst);
  if (!image)
    return;
  // Drawn 1:1 or enlarged, pixels are copied exactly.
  if (!shrinking)
    QZ_ContextSetInterpolationQuality(ctx, kQZInterpolationNone);
  QZ_ContextDrawImage(ctx, QZ_RectFromRect(dest), image);
  QZ_ImageRelease(image);
  if (!shrinking)
    QZ_ContextSetInterpolationQuality(ctx, kQZInterpolationDefault);
}

int16_t QZ_CopyGWToContext(CGContextRef ctx, Offworld world, Rect* sub, Rect dest)
{
  AccessPix access;
  if (!AccessPixels(world, &access, sub))
    return 0;
  access.bottomUp = 1;
  QZ_CopyBitsToContext(ctx, &access, sub, dest);
  UnlockPixels(access.pixMap);
  return 1;
}

void QZ_BlitGworld(CGContextRef ctx, Rect dest, Offworld world, CGBlendMode mode)
{
  CGImageRef image = QZ_createImagefromGW(world, nullptr, false);
  if (!image)
    return;
  if (mode != kQZBlendNormal)
    QZ_ContextSetBlendMode(ctx, mode);
  QZdrawfit_image(ctx, dest, image, nullptr);
  if (mode != kQZBlendNormal)
    QZ_ContextSetBlendMode(ctx, kQZBlendNormal);
  QZ_ImageRelease(image);
}

void QZ_PixCommandes(CGContextRef dest, AccessPix* bitmap, Rect source, Rect destRect,
                     int32_t param, PixCommandProc proc)
{
  if (!bitmap)
    return;
  if (bitmap->pixelSize == 32)
    gwIs8bit = gwIs16bit = 0;
  auto* bitmapContext = static_cast<CGContextRef>(bitmap->owned);
  const int32_t columns = std::min<int32_t>(source.right, QZ_BitmapContextGetWidth(bitmapContext)) -
                          std::max<int32_t>(source.left, 0);
  const int32_t rows = std::min<int32_t>(source.bottom, QZ_BitmapContextGetHeight(bitmapContext)) -
                       std::max<int32_t>(source.top, 0);
  if (proc && bitmap->base && columns > 0 && rows > 0)
    proc(columns, rows, bitmap->base, bitmap->rowBytes, param);
  CGImageRef image = QZ_BitmapContextCreateImage(bitmapContext);
  if (!image)
    return;
  QZdrawfit_image(dest, destRect, image, nullptr);
  QZ_ImageRelease(image);
}

void QZ_BlitPixCommandes(CGContextRef ctx, Rect r, int32_t param, PixCommandProc proc,
                         CGBlendMode mode, bool premultipliedAlpha)
{
  if (!ctx)
    return;
  const int16_t width = int16_t(RectWidth(r)), height = int16_t(RectHeight(r));
  AccessPix local;
  CGContextRef bitmap = QZ_CreateBitmapContext(width, height, &local, premultipliedAlpha);
  if (!bitmap)
    return;
  if (mode != kQZBlendNormal)
    QZ_ContextSetBlendMode(ctx, mode);
  QZ_PixCommandes(ctx, &local, Rect{0, 0, height, width}, r, param, proc);
  DisposePtr(local.base);
  QZ_ContextRelease(bitmap);
  if (mode != kQZBlendNormal)
    QZ_ContextSetBlendMode(ctx, kQZBlendNormal);
}

void QZ_fillboxGradientV(CGContextRef ctx, const normalcolor* table, Rect r)
{
  DrawShadeBands(ctx, table, r, true);
}

void QZ_fillboxGradientH(CGContextRef ctx, const normalcolor* table, Rect r)
{
  DrawShadeBands(ctx, table, r, false);
}

CGContextRef QZ_CaptureScreenPix(CGrafPtr port, AccessPix* out, Rect r)
{
  if (!out)
    return nullptr;
  AccessPix screen;
  Rect cut = r;
  if (!BeginAccessPixels(port, nullptr, &screen, &cut))
    return nullptr;
  if (screen.pixelSize != 32) {
    EndAccessPixelsNR(port, &screen);
    return nullptr;
  }
  out->pixelSize = 32;
  const int16_t width = int16_t(RectWidth(cut)), height = int16_t(RectHeight(cut));
  CGContextRef ctx = QZ_CreateBitmapContext(width, height, out, false);
  if (!ctx) {
    EndAccessPixelsNR(port, &screen);
    return nullptr;
  }
  const bool bgra = screen.pixelFormat == kPixelFormatBGRA;
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* s = screen.base + int64_t(row) * screen.rowBytes;
    uint8_t* d = out->base + int64_t(row) * out->rowBytes;
    if (!bgra) {
      std::memcpy(d, s, size_t(width) * 4);
      continue;
    }
    for (int32_t col = 0; col < width; ++col, s += 4, d += 4)
      d[0] = 255, d[1] = s[2], d[2] = s[1], d[3] = s[0];
  }
  out->pixelFormat = kPixelFormatARGB;
  out->owned = ctx;
  out->isPort = 0;
  EndAccessPixelsNR(port, &screen);
  return ctx;
}

CGContextRef QZ_OpenContext(CGrafPtr port)
{
  PixMapHandle pm = GetPortPixMap(port);
  if (!pm || !pm->baseAddr || pm->pixelSize != 32)
    return nullptr;
  const Rect bounds = pm->bounds;
  // Pixels in cairo's own order are drawn in place; the program's 'ARGB'
  // buffers keep their pad bytes.
  const uint32_t layout =
      pm->pixelFormat == kNativeOrder ? kQZBitmapPremultipliedFirst : kQZBitmapSkipFirst;
  CGContextRef ctx = QZ_ContextOnPixels(pm->baseAddr, RectWidth(bounds), RectHeight(bounds),
                                        pm->rowBytes, pm->pixelFormat, layout);
  if (!ctx)
    return nullptr;
  QZ_ContextScaleCTM(ctx, 1, -1);
  QZ_ContextTranslateCTM(ctx, 0, double(bounds.top) - bounds.bottom);
  return ctx;
}

void QZ_CloseContext(CGContextRef ctx, CGrafPtr)
{
  QZ_ContextFlush(ctx);
  QZ_ContextRelease(ctx);
}

size_t getbitsrender32(void* info, void* buffer, int64_t offset, size_t count)
{
  const auto* rs = static_cast<const RowSource*>(info);
  if (!rs || !rs->access)
    return 0;
  return DeliverRows(*rs, buffer, offset, count, [&](int32_t r, uint8_t* out, size_t bytes) {
    std::memcpy(out, SourceRow(*rs, r, true), std::min(bytes, size_t(rs->width) * 4));
  });
}

size_t getbitsrender8to32(void* info, void* buffer, int64_t offset, size_t count)
{
  const auto* rs = static_cast<const RowSource*>(info);
  if (!rs || !rs->access)
    return 0;
  return DeliverRows(*rs, buffer, offset, count, [&](int32_t r, uint8_t* out, size_t bytes) {
    const uint8_t* s = SourceRow(*rs, r, true);
    ProduceRow(out, bytes, rs->width, 4,
               [&](int32_t col, uint8_t* p) { p[0] = 255, p[1] = p[2] = p[3] = s[col]; });
  });
}

size_t getbitsrender24(void* info, void* buffer, int64_t offset, size_t count)
{
  const auto* rs = static_cast<const RowSource*>(info);
  if (!rs || !rs->access)
    return 0;
  return DeliverRows(*rs, buffer, offset, count, [&](int32_t r, uint8_t* out, size_t bytes) {
    const uint8_t* s = SourceRow(*rs, r, false);
    ProduceRow(out, bytes, rs->width, 3,
               [&](int32_t col, uint8_t* p) { std::memcpy(p, s + col * 4 + 1, 3); });
  });
}

size_t getbitsrender8(void* info, void* buffer, int64_t offset, size_t count)
{
  const auto* rs = static_cast<const RowSource*>(info);
  if (!rs || !rs->access)
    return 0;
  return DeliverRows(*rs, buffer, offset, count, [&](int32_t r, uint8_t* out, size_t bytes) {
    std::memcpy(out, SourceRow(*rs, r, false), std::min(bytes, size_t(rs->width)));
  });
}

size_t Vshade(void* info, void* buffer, int64_t offset, size_t count)
{
  const auto* rs = static_cast<const RowSource*>(info);
  if (!rs || !rs->source)
    return 0;
  const auto* table = reinterpret_cast<const normalcolor*>(rs->source);
  return DeliverRows(*rs, buffer, offset, count, [&](int32_t r, uint8_t* out, size_t bytes) {
    ProduceRow(out, bytes, rs->width, 4,
               [&](int32_t, uint8_t* p) { std::memcpy(p, &table[r], 4); });
  });
}

size_t Hshade(void* info, void* buffer, int64_t offset, size_t count)
{
  const auto* rs = static_cast<const RowSource*>(info);
  if (!rs || !rs->source)
    return 0;
  const auto* table = reinterpret_cast<const normalcolor*>(rs->source);
  return DeliverRows(*rs, buffer, offset, count, [&](int32_t, uint8_t* out, size_t bytes) {
    ProduceRow(out, bytes, rs->width, 4,
               [&](int32_t col, uint8_t* p) { std::memcpy(p, &table[col], 4); });
  });
}
