#include "imaging/accesspix.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "foundation/colormath.h"
#include "imaging/drawing.h"

namespace {

// Moves [lo, hi) to lie inside [0, limit), keeping its length cut to limit.
void MoveSpanInside(int16_t& lo, int16_t& hi, int32_t limit)
{
  int32_t a = lo, b = hi;
  if (a < 0)
    b -= a, a = 0;
  const int32_t length = std::clamp(b - a, 0, std::max(limit, 0));
  b = a + length;
  if (b > limit)
    a = limit - length, b = limit;
  lo = int16_t(a), hi = int16_t(b);
}

void ResetOwnership(AccessPix* access)
{
  access->ownsBuffer = 0;
  access->owned = nullptr;
}

// Fills the record's description of a whole buffer: sizes, format, first
// pixel.
void DescribeBuffer(Offworld world, AccessPix* access)
{
  const PixMap& pm = world->pixels;
  access->pixelSize = pm.pixelSize;
  access->width = int16_t(RectWidth(pm.bounds));
  access->height = int16_t(RectHeight(pm.bounds));
  access->pixelFormat = pm.pixelFormat;
  access->rowBytes = pm.rowBytes;
  access->pixMap = &world->pixels;
  access->base = pm.baseAddr;
  access->isPort = 0;
}

// A pixel map over the pixels a record describes, for transfers.
PixMap MapOfAccess(const AccessPix& access)
{
  if (access.pixMap)
    return *access.pixMap;
  PixMap pm;
  pm.baseAddr = access.base;
  pm.rowBytes = access.rowBytes;
  pm.bounds = Rect{0, 0, access.height, access.width};
  pm.pixelSize = access.pixelSize;
  pm.pixelFormat = access.pixelFormat;
  return pm;
}

// Converts one row of n pixels by the depths and the destination's format.
void ConvertRow(const uint8_t* s, int16_t sourceSize, uint8_t* d, int16_t destSize,
                OSType destFormat, int32_t n)
{
  const bool bgra = destFormat == kPixelFormatBGRA;
  if (destSize == 32 && sourceSize == 32) {
    if (!bgra) {
      std::memmove(d, s, size_t(n) * 4);
      return;
    }
    for (int32_t i = 0; i < n; ++i, s += 4, d += 4)
      d[0] = s[3], d[1] = s[2], d[2] = s[1];
  } else if (destSize == 32 && sourceSize == 8) {
    const int first = bgra ? 0 : 1;
    for (int32_t i = 0; i < n; ++i, d += 4)
      d[first] = d[first + 1] = d[first + 2] = s[i];
  } else if (destSize == 8 && sourceSize == 32) {
    for (int32_t i = 0; i < n; ++i, s += 4)
      d[i] = uint8_t((s[1] + s[2] + s[3]) / 3);
  } else if (destSize == 8 && sourceSize == 8) {
    std::memmove(d, s, size_t(n));
  }
}

// Copies a rows x cols block between two records' areas given by their
// top-left pixels.
void ConvertBlock(const AccessPix& source, const uint8_t* s, const AccessPix& dest, uint8_t* d,
                  int32_t cols, int32_t rows)
{
  for (int32_t row = 0; row < rows; ++row)
    ConvertRow(s + int64_t(row) * source.rowBytes, source.pixelSize,
               d + int64_t(row) * dest.rowBytes, dest.pixelSize, dest.pixelFormat, cols);
}

uint8_t* PixelAt(const AccessPix& a, int32_t col, int32_t row)
{
  return a.base + int64_t(row) * a.rowBytes + int64_t(col) * (a.pixelSize / 8);
}

}  // namespace

uint8_t* NewPtrClear(int64_t size)
{
  if (size < 0 || size > kMaxOffworldBytes)
    return nullptr;
  return static_cast<uint8_t*>(std::calloc(size_t(std::max<int64_t>(size, 1)), 1));
}

void DisposePtr(void* p)
{
  std::free(p);
}

bool AccessPixels(Offworld world, AccessPix* access, Rect* r)
{
  if (!access)
    return false;
  ResetOwnership(access);
  if (!world || !LockPixels(&world->pixels))
    return false;
  DescribeBuffer(world, access);
  if (r) {
    MoveSpanInside(r->left, r->right, access->width);
    MoveSpanInside(r->top, r->bottom, access->height);
  }
  access->bottomUp = 0;
  return true;
}

bool AccessScreenBits(CGrafPtr port, AccessPix* access, Rect* r)
{
  if (!access)
    return false;
  ResetOwnership(access);
  PixMapHandle pm = GetPortPixMap(port);
  if (!pm || !pm->baseAddr || !r)
    return false;
  access->pixelSize = pm->pixelSize;
  access->width = int16_t(RectWidth(pm->bounds));
  access->height = int16_t(RectHeight(pm->bounds));
  access->pixelFormat = pm->pixelFormat;
  LockPortBits(port);
  Rect cut = SectRect(*r, pm->bounds);
  cut = RectIsEmpty(cut) ? Rect{} : OffsetRect(cut, -pm->bounds.left, -pm->bounds.top);
  *r = cut;
  if (!LockPixels(pm))
    return false;
  access->rowBytes = pm->rowBytes;
  access->base =
      pm->baseAddr + int64_t(cut.top) * pm->rowBytes + int64_t(cut.left) * (pm->pixelSize / 8);
  access->pixMap = pm;
  access->isPort = 1;
  return true;
}

bool BeginAccessPixels(CGrafPtr port, Offworld world, AccessPix* access, Rect* r)
{
  return port ? AccessScreenBits(port, access, r) : AccessPixels(world, access, r);
}

bool BeginAccessPixels32(CGrafPtr port, Offworld world, AccessPix* access, Rect* r)
{
  if (port)
    return AccessScreenBits(port, access, r);
  if (!access)
    return false;
  ResetOwnership(access);
  if (!world || !LockPixels(&world->pixels))
    return false;
  DescribeBuffer(world, access);
  if (r) {
    *r = Rect{0, 0, int16_t(std::min<int32_t>(access->height, RectHeight(*r))),
              int16_t(std::min<int32_t>(access->width, RectWidth(*r)))};
  }
  return true;
}

bool CreateAccessPixels(CGrafPtr port, Offworld world, AccessPix* access, Rect* r, int16_t depth,
                        bool usePort)
{
  if (!access || !r)
    return false;
  ResetOwnership(access);
  PixMapHandle portMap = GetPortPixMap(port);
  if (portMap && usePort && portMap->pixelSize == depth)
    return AccessScreenBits(port, access, r);
  if (!world) {
    *r = OffsetRect(*r, -r->left, -r->top);
    Offworld created = nullptr;
    if (CreateOffworld(PackRectTopLeft(*r), PackRectBottomRight(*r), depth, &created) != noErr)
      return false;
    access->owned = created;
    access->ownsBuffer = 1;
    world = created;
  }
  const int16_t wanted = int16_t(depth < 0 ? -depth : depth);
  if (wanted != 0 && world->pixels.pixelSize != wanted)
    return false;
  // The base must lie inside the buffer: the rectangle is cut to it.
  const Rect whole{0, 0, int16_t(RectHeight(world->pixels.bounds)),
                   int16_t(RectWidth(world->pixels.bounds))};
  const Rect cut = SectRect(*r, whole);
  if (RectIsEmpty(cut) || !LockPixels(&world->pixels))
    return false;
  *r = cut;
  DescribeBuffer(world, access);
  access->base = PixelAt(*access, cut.left, cut.top);
  return true;
}

bool BeginAccessWindowPixels(int32_t, int32_t, CGrafPtr port, PixMapHandle pm, Rect* r,
                             bool* is8bit)
{
  if (!pm || !(pm->pixelSize == 8 || pm->pixelSize == 16 || pm->pixelSize == 32))
    return false;
  LockPortBits(port);
  if (r)
    *r = OffsetRect(*r, -pm->bounds.left, -pm->bounds.top);
  if (is8bit)
    *is8bit = pm->pixelSize == 8;
  return LockPixels(pm);
}

bool BeginAccessBuffer32(int16_t width, int16_t height, AccessPix* access)
{
  if (!access)
    return false;
  ResetOwnership(access);
  if (width < 0 || height < 0)
    return false;
  uint8_t* block = NewPtrClear(int64_t(width) * height * 4);
  if (!block)
    return false;
  access->base = block;
  access->rowBytes = 4 * width;
  access->width = width;
  access->height = height;
  access->pixelSize = 32;
  access->pixelFormat = kPixelFormatARGB;
  access->pixMap = nullptr;
  access->isPort = 0;
  return true;
}

bool isPort32buffered(CGrafPtr port, uint16_t* depth)
{
  PixMapHandle pm = GetPortPixMap(port);
  if (!pm)
    return false;
  if (depth)
    *depth = uint16_t(pm->pixelSize);
  return pm->pixelSize == 32;
}

void EndAccessPixelsNR(CGrafPtr port, AccessPix* access)
{
  if (!access)
    return;
  UnlockPixels(access->pixMap);
  if (port && access->isPort == 1)
    UnlockPortBits(port);
  else if (port)
    SetGWorld(port, nullptr);
  access->pixMap = nullptr;
}

void EndAccessPixels(CGrafPtr port, AccessPix* access, const Rect* srcRect, const Rect* dstRect)
{
  if (!access)
    return;
  if (access->isPort == 1) {
    UnlockPixels(access->pixMap);
    UnlockPortBits(port);
    if (dstRect)
      QDFlushPortBuffer(port, *dstRect);
  } else if (port) {
    SetGWorld(port, nullptr);
    SetDefautColors();
    const PixMap source = MapOfAccess(*access);
    CopyBits(&source, port, srcRect, dstRect, srcCopy);
    UnlockPixels(access->pixMap);
  }
  access->pixMap = nullptr;
}

void EndAccessWindowPixels(CGrafPtr port, PixMapHandle pm, const Rect* r)
{
  UnlockPixels(pm);
  UnlockPortBits(port);
  if (r)
    QDFlushPortBuffer(port, *r);
}

void EndAccessBuffer(CGrafPtr port, AccessPix* access, Rect* dstRect, bool flush)
{
  if (!access || !dstRect)
    return;
  WriteScreenBits(access, port, Rect{0, 0, access->height, access->width}, *dstRect);
  if (flush)
    QDFlushPortBuffer(port, *dstRect);
}

bool Fix2Rects(Rect* srcRect, Rect* dstRect, Rect srcBounds, Rect dstBounds)
{
  if (!srcRect || !dstRect)
    return false;
  const Rect d = SectRect(*dstRect, dstBounds);
  if (RectIsEmpty(d))
    return false;
  const Rect s = SectRect(*srcRect, srcBounds);
  if (RectIsEmpty(s))
    return false;
  const int32_t dx = dstRect->left - srcRect->left, dy = dstRect->top - srcRect->top;
  const Rect result = SectRect(OffsetRect(s, dx, dy), d);
  if (RectIsEmpty(result))
    return false;
  *dstRect = result;
  *srcRect = OffsetRect(result, -dx, -dy);
  return true;
}

void WriteScreenBits(AccessPix* source, CGrafPtr port, Rect srcRect, Rect dstRect)
{
  if (!source || !source->base)
    return;
  AccessPix dest;
  Rect d = dstRect;
  if (!AccessScreenBits(port, &dest, &d))
    return;
  const PixMap* pm = dest.pixMap;
  // What the port's bounds cut from the destination's top and left is cut
  // from the source too, so the pixels keep their places.
  const int32_t cutLeft = d.left + pm->bounds.left - dstRect.left;
  const int32_t cutTop = d.top + pm->bounds.top - dstRect.top;
  int32_t srcCol = srcRect.left + std::max(cutLeft, 0), srcRow = srcRect.top + std::max(cutTop, 0);
  int32_t dstCol = 0, dstRow = 0, cols = RectWidth(d), rows = RectHeight(d);
  if (srcCol < 0)
    dstCol -= srcCol, cols += srcCol, srcCol = 0;
  if (srcRow < 0)
    dstRow -= srcRow, rows += srcRow, srcRow = 0;
  cols = std::min(cols, source->width - srcCol);
  rows = std::min(rows, source->height - srcRow);
  if (cols > 0 && rows > 0)
    ConvertBlock(*source, PixelAt(*source, srcCol, srcRow), dest, PixelAt(dest, dstCol, dstRow),
                 cols, rows);
  UnlockPixels(dest.pixMap);
  UnlockPortBits(port);
}

void BlitGWorldBits(Offworld world, CGrafPtr port, Rect srcRect, Rect dstRect, bool flush)
{
  AccessPix access;
  Rect s = srcRect;
  if (!AccessPixels(world, &access, &s))
    return;
  WriteScreenBits(&access, port, s, dstRect);
  UnlockPixels(access.pixMap);
  if (flush)
    QDFlushPortBuffer(port, dstRect);
}

void WritePixels32(AccessPix* source, AccessPix* dest, Rect srcRect, Rect dstRect)
{
  if (!source || !dest || !source->base || !dest->base || dest->pixelSize != 32)
    return;
  if (!Fix2Rects(&srcRect, &dstRect, Rect{0, 0, source->height, source->width},
                 Rect{0, 0, dest->height, dest->width}))
    return;
  ConvertBlock(*source, PixelAt(*source, srcRect.left, srcRect.top), *dest,
               PixelAt(*dest, dstRect.left, dstRect.top), RectWidth(srcRect), RectHeight(srcRect));
}
