#include "imaging/offworld.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/colormath.h"
#include "imaging/accesspix.h"
#include "imaging/drawing.h"
#include "imaging/pixels_pvt.h"

void* gTempbuffer = nullptr;
int16_t gWarpArround = 0;
int16_t gCenterScale = 1;

void initGWutils(void* scratch)
{
  gTempbuffer = scratch;
  gWarpArround = 0;
  gCenterScale = 1;
}

GWScratch::GWScratch(size_t size) : size_(size)
{
  if (gTempbuffer && size <= size_t(kGWTempBufferSize)) {
    data_ = static_cast<uint8_t*>(gTempbuffer);
    return;
  }
  own_.reset(new (std::nothrow) uint8_t[size == 0 ? 1 : size]());
  data_ = own_.get();
  if (!data_)
    size_ = 0;
}

namespace {

constexpr OSErr kGrowFailed = -1;

int16_t DeepestScreenDepth()
{
  const PixMap* pm = GetPortPixMap(gScreenPort);
  return pm ? pm->pixelSize : 32;
}

void FillGreyRamp(ColorTable& table, bool inverted)
{
  table.count = 256;
  for (int i = 0; i < 256; ++i) {
    uint16_t level = uint16_t((inverted ? 255 - i : i) * 257);
    table.entries[i] = ColorTableEntry{int16_t(i), level, level, level};
  }
}

// The system's standard 256 colours: a 6 x 6 x 6 cube from white down (black
// left out), then ten shades each of red, green, blue and grey, then black.
void FillSystemTable(ColorTable& table)
{
  static constexpr uint16_t kCube[6] = {0xFFFF, 0xCCCC, 0x9999, 0x6666, 0x3333, 0x0000};
  static constexpr uint16_t kRamp[10] = {0xEEEE, 0xDDDD, 0xBBBB, 0xAAAA, 0x8888,
                                         0x7777, 0x5555, 0x4444, 0x2222, 0x1111};
  table.count = 256;
  int i = 0;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6 && i < 215; ++b, ++i)
        table.entries[i] = ColorTableEntry{int16_t(i), kCube[r], kCube[g], kCube[b]};
  for (int channel = 0; channel < 4; ++channel)
    for (int k = 0; k < 10; ++k, ++i) {
      uint16_t v = kRamp[k];
      ColorTableEntry e{int16_t(i), 0, 0, 0};
      if (channel == 0 || channel == 3)
        e.red = v;
      if (channel == 1 || channel == 3)
        e.green = v;
      if (channel == 2 || channel == 3)
        e.blue = v;
      table.entries[i] = e;
    }
  table.entries[255] = ColorTableEntry{255, 0, 0, 0};
}

void FillBitTable(ColorTable& table)
{
  table.count = 2;
  table.entries[0] = ColorTableEntry{0, 0xFFFF, 0xFFFF, 0xFFFF};
  table.entries[1] = ColorTableEntry{1, 0, 0, 0};
}

int32_t RowBytesFor(int32_t width, int16_t depth)
{
  return ((width * depth + 31) / 32) * 4;
}

// Gives the buffer zeroed pixels for `bounds`; false when memory is short.
bool AllocatePixels(GWorldRec& w, const Rect& bounds)
{
  const int32_t rowBytes = RowBytesFor(RectWidth(bounds), w.pixels.pixelSize);
  const int64_t size = int64_t(rowBytes) * RectHeight(bounds);
  if (size <= 0 || size > kMaxOffworldBytes)
    return false;
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[size_t(size)]());
  if (!block)
    return false;
  w.storage = std::move(block);
  w.pixels.baseAddr = w.storage.get();
  w.pixels.rowBytes = rowBytes;
  w.pixels.bounds = bounds;
  w.portRect = bounds;
  w.clipRect = bounds;
  return true;
}

// A buffer over `bounds` at depth 1, 8, 16 or 32, or null with the error.
Offworld NewBuffer(const Rect& bounds, int16_t depth, const ColorTable* table, OSErr* err)
{
  auto* w = new (std::nothrow) GWorldRec;
  if (!w) {
    *err = memFullErr;
    return nullptr;
  }
  w->world = w;
  w->portPixMap = &w->pixels;
  w->pixels.pixelSize = depth;
  w->pixels.pixelFormat = depth == 32 ? kPixelFormatARGB : 0;
  if (table)
    w->colorTable = *table;
  if (depth <= 8)
    w->pixels.colorTable = &w->colorTable;
  if (!AllocatePixels(*w, bounds)) {
    delete w;
    *err = memFullErr;
    return nullptr;
  }
  *err = noErr;
  return w;
}

bool ValidBufferDepth(int16_t depth)
{
  return depth == 1 || depth == 8 || depth == 16 || depth == 32;
}

// Runs `draw` with the buffer as the current port (black on white), then
// restores the previous port.
template <class Draw>
void InBracket(Offworld world, Draw draw)
{
  CGrafPtr savedPort;
  GDHandle savedDevice;
  if (!BeginOffworld_QDDraw(world, &savedPort, &savedDevice))
    return;
  draw();
  EndOffworld_QDDraw(world, savedPort, savedDevice);
}

RGBColor Grey16(int32_t level)
{
  uint16_t v = uint16_t(std::clamp(level, 0, 65535));
  return RGBColor{v, v, v};
}

bool Is32(Offworld w)
{
  return w && w->pixels.pixelSize == 32;
}

}  // namespace

int64_t EstimateOffworldBytes(const Rect& r, int16_t depth)
{
  const int64_t bytesPerPixel = depth == 0 ? 4 : (depth < 0 ? -depth : depth) / 8;
  return (int64_t(r.right) + 1) * r.bottom * bytesPerPixel;
}

OSErr CreateOffworld(int32_t rectTopLeft, int32_t rectBottomRight, int16_t depth, Offworld* out)
{
  if (!out)
    return paramErr;
  *out = nullptr;
  const Rect r = UnpackRect(rectTopLeft, rectBottomRight);
  if (RectIsEmpty(r))
    return paramErr;
  OSErr err = noErr;

  if (depth == 8 || depth == -8) {
    ColorTable grey;
    FillGreyRamp(grey, depth < 0);
    *out = NewBuffer(r, 8, &grey, &err);
  } else {
    const int16_t bufferDepth = depth == 0 ? DeepestScreenDepth() : depth;
    if (!ValidBufferDepth(bufferDepth))
      return paramErr;
    ColorTable table;
    if (bufferDepth == 1)
      FillBitTable(table);
    if (bufferDepth == 8)
      FillSystemTable(table);
    const ColorTable* useTable = bufferDepth <= 8 ? &table : nullptr;
    if (EstimateOffworldBytes(r, depth) > kLargeOffworldBytes) {
      // Large buffers are made 32 rows high, then grown to the full size.
      Rect first = r;
      first.bottom = int16_t(std::min<int32_t>(r.bottom, r.top + 32));
      Offworld w = NewBuffer(first, bufferDepth, useTable, &err);
      if (!w)
        return err;
      if (!AllocatePixels(*w, r)) {
        KillOffworld(&w);
        return kGrowFailed;
      }
      w->purgeable = false;
      *out = w;
      return noErr;
    }
    *out = NewBuffer(r, bufferDepth, useTable, &err);
  }
  if (*out)
    (*out)->purgeable = false;
  return err;
}

OSErr CreateOffworld8(int32_t rectTopLeft, int32_t rectBottomRight, Offworld* out)
{
  if (!out)
    return paramErr;
  *out = nullptr;
  const Rect r = UnpackRect(rectTopLeft, rectBottomRight);
  if (RectIsEmpty(r))
    return paramErr;
  ColorTable table;
  FillSystemTable(table);
  OSErr err = noErr;
  *out = NewBuffer(r, 8, &table, &err);
  if (*out)
    (*out)->purgeable = false;
  return err;
}

void KillOffworld(Offworld* world)
{
  if (!world || !*world)
    return;
  CGrafPtr current = nullptr;
  GetGWorld(&current, nullptr);
  if (current == *world)
    SetGWorld(nullptr, nullptr);
  delete *world;
  *world = nullptr;
}

void CleanOffworld(Offworld world)
{
  CGrafPtr savedPort;
  GDHandle savedDevice;
  GetGWorld(&savedPort, &savedDevice);
  if (world && LockPixels(&world->pixels)) {
    SetGWorld(world, nullptr);
    world->clipRect = world->pixels.bounds;
    EraseRect(&world->pixels.bounds);
    UnlockPixels(&world->pixels);
  }
  SetGWorld(savedPort, savedDevice);
}

void CleanOffWorldPad(Offworld world)
{
  if (!world || !LockPixels(&world->pixels))
    return;
  const int64_t bytes = int64_t(world->pixels.rowBytes) * RectHeight(world->pixels.bounds);
  for (int64_t i = 0; i + 4 <= bytes; i += 4)
    world->pixels.baseAddr[i] = 0;
  UnlockPixels(&world->pixels);
}

bool BeginOffworld_QDDraw(Offworld world, CGrafPtr* savedPort, GDHandle* savedDevice)
{
  if (!world || !LockPixels(&world->pixels))
    return false;
  ++world->lockCount;
  GetGWorld(savedPort, savedDevice);
  SetGWorld(world, nullptr);
  SetDefautColors();
  return true;
}

void EndOffworld_QDDraw(Offworld world, CGrafPtr savedPort, GDHandle savedDevice)
{
  if (world) {
    SetGWorld(world, nullptr);
    if (world->lockCount > 0)
      --world->lockCount;
    UnlockPixels(&world->pixels);
  }
  SetGWorld(savedPort, savedDevice);
}

bool Begin_MMuMode(PixMapHandle)
{
  return false;
}

void End_MMuMode() {}

void CopyGworldCurPort(Offworld world, const Rect* srcRect, const Rect* dstRect, uint16_t mode)
{
  CGrafPtr port = nullptr;
  GetGWorld(&port, nullptr);
  if (!world || !port || !srcRect || !dstRect)
    return;
  SetDefautColors();
  const int16_t transfer = int16_t(mode & 0xFF);
  if (transfer == blend) {
    RGBColor op = Grey16(32750);
    OpColor(port, &op);
  }
  const bool wasLocked = world->lockCount > 0;
  if (!wasLocked && !LockPixels(&world->pixels))
    return;
  LockPortBits(port);
  CopyBits(&world->pixels, port, srcRect, dstRect, transfer);
  UnlockPortBits(port);
  if (!wasLocked)
    UnlockPixels(&world->pixels);
  if (mode >> 8)
    QDFlushPortBuffer(port, *dstRect);
}

void CopyGworldWindow(Offworld world, CGrafPtr windowPort, const Rect* srcRect, const Rect* dstRect,
                      uint16_t mode)
{
  if (!windowPort)
    return;
  CGrafPtr savedPort;
  GDHandle savedDevice;
  GetGWorld(&savedPort, &savedDevice);
  SetGWorld(windowPort, nullptr);
  CopyGworldCurPort(world, srcRect, dstRect, mode);
  SetGWorld(savedPort, savedDevice);
}

void CopyGworldScreen(Offworld world, CGrafPtr port, const Rect* srcRect, const Rect* dstRect)
{
  if (!world || !srcRect || !dstRect || !gScreenPort)
    return;
  const Point origin = LocalToGlobal(port, Point{dstRect->top, dstRect->left});
  const Rect global = OffsetRect(*dstRect, origin.h - dstRect->left, origin.v - dstRect->top);
  SetGWorld(gScreenPort, nullptr);
  CopyBits(&world->pixels, gScreenPort, srcRect, &global, srcCopy);
  SetGWorld(port, nullptr);
}

void CopyMaskGworldWindow(Offworld src, Offworld mask, Offworld dst, const Rect* srcRect,
                          const Rect* dstRect, uint16_t mode)
{
  if (!src || !mask || !dst)
    return;
  CopyDeepMask(&src->pixels, &mask->pixels, dst, srcRect, srcRect, dstRect, int16_t(mode & 0xFF));
}

void CopyGworldBits(Offworld src, Offworld dst, const Rect* srcRect, const Rect* dstRect,
                    uint16_t mode)
{
  if (!src || !dst)
    return;
  InBracket(dst, [&] { CopyBits(&src->pixels, dst, srcRect, dstRect, int16_t(mode & 0xFF)); });
}

void CopyColorBits(Offworld src, Offworld dst, const Rect* srcRect, const Rect* dstRect,
                   uint16_t mode, normalcolor color)
{
  if (!src || !dst)
    return;
  InBracket(dst, [&] {
    SetForNcolor(&color);
    CopyBits(&src->pixels, dst, srcRect, dstRect, int16_t(mode & 0xFF));
  });
}

void MixGworldBits(Offworld src, Offworld dst, const Rect* srcRect, const Rect* dstRect,
                   uint16_t mode, int16_t percent)
{
  if (!src || !dst)
    return;
  InBracket(dst, [&] {
    RGBColor op = Grey16((100 - int32_t(percent)) * 655);
    OpColor(dst, &op);
    CopyBits(&src->pixels, dst, srcRect, dstRect, int16_t(mode & 0xFF));
  });
}

void SwitchGworldBits(Offworld a, Offworld b)
{
  // Exchanging a buffer with itself must leave it as it is; three xor
  // copies of a buffer onto itself would clear it.
  if (!a || !b || a == b)
    return;
  const Rect ra = a->pixels.bounds, rb = b->pixels.bounds;
  if (RectWidth(ra) != RectWidth(rb) || RectHeight(ra) != RectHeight(rb))
    return;
  CGrafPtr savedPort;
  GDHandle savedDevice;
  GetGWorld(&savedPort, &savedDevice);
  auto xorInto = [](Offworld from, Offworld to) {
    SetGWorld(to, nullptr);
    SetDefautColors();
    CopyBits(&from->pixels, to, &from->pixels.bounds, &to->pixels.bounds, srcXor);
  };
  xorInto(a, b);
  xorInto(b, a);
  xorInto(a, b);
  SetGWorld(savedPort, savedDevice);
  UnlockPixels(&a->pixels);
  UnlockPixels(&b->pixels);
}

void CopyChannelBits(Offworld src, Offworld dst, int16_t channel)
{
  if (!Is32(src) || !dst)
    return;
  const PixMap& s = src->pixels;
  const PixMap& d = dst->pixels;
  if (d.pixelSize != 8 && d.pixelSize != 32)
    return;
  const int32_t width = std::min(RectWidth(d.bounds), RectWidth(s.bounds));
  const int32_t height = std::min(RectHeight(d.bounds), RectHeight(s.bounds));
  // Bytes kept of each source pixel, in memory order.
  uint8_t keep[4] = {1, 0, 0, 0};
  if (channel >= 1 && channel <= 3)
    keep[0] = 0, keep[channel] = 1;
  if (channel == 4)
    keep[0] = 0, keep[1] = keep[2] = 1;
  const int32_t greyByte = (channel >= 0 && channel <= 3) ? channel : 0;
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* sp = s.baseAddr + int64_t(row) * s.rowBytes;
    uint8_t* dp = d.baseAddr + int64_t(row) * d.rowBytes;
    for (int32_t col = 0; col < width; ++col, sp += 4) {
      if (d.pixelSize == 8) {
        dp[col] = sp[greyByte];
        continue;
      }
      for (int k = 0; k < 4; ++k)
        dp[col * 4 + k] = keep[k] ? sp[k] : 0;
    }
  }
}

OSErr CopyGworldQuartzPort(Offworld src, CGrafPtr port, const Rect* srcRect, int32_t dstTopLeft,
                           int32_t dstBottomRight, uint16_t mode)
{
  const Rect dst = UnpackRect(dstTopLeft, dstBottomRight);
  const Rect local{0, 0, int16_t(RectHeight(dst)), int16_t(RectWidth(dst))};
  Offworld temp = nullptr;
  OSErr err = CreateOffworld(PackRectTopLeft(local), PackRectBottomRight(local), 32, &temp);
  if (err != noErr)
    return err;
  CopyGworldBits(src, temp, srcRect, &local, srcCopy);
  BlitGWorldBits(temp, port, local, dst, mode == 32512);
  KillOffworld(&temp);
  return noErr;
}

void PaintOffworld_Oval(Offworld world, int32_t rectTopLeft, int32_t rectBottomRight, uint8_t verb,
                        normalcolor color)
{
  const Rect r = UnpackRect(rectTopLeft, rectBottomRight);
  InBracket(world, [&] {
    SetForNcolor(&color);
    StdOval(verb, &r);
  });
}

void PaintOffworld_Rect(Offworld world, int32_t rectTopLeft, int32_t rectBottomRight, uint8_t verb,
                        normalcolor color)
{
  const Rect r = UnpackRect(rectTopLeft, rectBottomRight);
  InBracket(world, [&] {
    SetForNcolor(&color);
    StdRect(verb, &r);
  });
}

void PaintOffworld_Rgn(Offworld world, RgnHandle rgn, uint8_t verb, normalcolor color)
{
  InBracket(world, [&] {
    SetForNcolor(&color);
    StdRgn(verb, rgn);
  });
}

void NOTXOROffworld(Offworld world)
{
  if (world)
    CopyGworldBits(world, world, &world->pixels.bounds, &world->pixels.bounds, notSrcXor);
}

void XOROffworld(Offworld world)
{
  if (world)
    CopyGworldBits(world, world, &world->pixels.bounds, &world->pixels.bounds, srcXor);
}

void InvertGworldBits(Offworld world)
{
  if (world)
    CopyGworldBits(world, world, &world->pixels.bounds, &world->pixels.bounds, notSrcCopy);
}

Rect MinGworld1Rect(Offworld world)
{
  return world ? world->pixels.bounds : Rect{};
}

normalcolor FindgwColor(Offworld world, int32_t point)
{
  if (!world)
    return normalcolor{255, 0, 0, 0};
  const Point p = UnpackPoint(point);
  const PixMap& pm = world->pixels;
  // h and v count columns and rows from the buffer's first pixel, whatever
  // its bounds' origin.
  const int32_t col = p.h, row = p.v;
  if (col < 0 || row < 0 || col >= RectWidth(pm.bounds) || row >= RectHeight(pm.bounds))
    return normalcolor{255, 255, 255, 255};
  normalcolor c = kvpix::ValueToColor(pm, kvpix::ReadValue(pm, col, row));
  c.flag = 255;
  return c;
}

bool Gworld_Hasmask(Offworld world)
{
  if (!Is32(world))
    return false;
  const PixMap& pm = world->pixels;
  const int32_t width = RectWidth(pm.bounds), height = RectHeight(pm.bounds);
  for (int32_t row = 0; row < height - 2; row += 2)
    for (int32_t col = 0; col < width - 2; col += 2) {
      const uint8_t pad = *kvpix::PixelAddress(pm, col, row);
      if (pad != 0 && pad != 255)
        return true;
    }
  return false;
}

void WriteGworldPadByte(Offworld world, int32_t rectTopLeft, int32_t rectBottomRight, uint8_t value)
{
  if (!Is32(world))
    return;
  const PixMap& pm = world->pixels;
  const Rect r = SectRect(UnpackRect(rectTopLeft, rectBottomRight), pm.bounds);
  if (RectIsEmpty(r))
    return;
  for (int32_t y = r.top; y < r.bottom; ++y)
    for (int32_t x = r.left; x < r.right; ++x)
      *kvpix::PixelAddress(pm, x - pm.bounds.left, y - pm.bounds.top) = value;
}

void SetGworldPadByte(Offworld grey8, Offworld world32)
{
  if (!grey8 || grey8->pixels.pixelSize != 8 || !Is32(world32))
    return;
  const PixMap& g = grey8->pixels;
  const PixMap& w = world32->pixels;
  const int32_t width = std::min(RectWidth(g.bounds), RectWidth(w.bounds));
  const int32_t height = std::min(RectHeight(g.bounds), RectHeight(w.bounds));
  for (int32_t row = 0; row < height; ++row)
    for (int32_t col = 0; col < width; ++col)
      *kvpix::PixelAddress(w, col, row) = *kvpix::PixelAddress(g, col, row);
}

void BuildGworldfromPadByte(Offworld world32, Offworld* out)
{
  if (!out)
    return;
  *out = nullptr;
  if (!Is32(world32))
    return;
  const Rect b = world32->pixels.bounds;
  Offworld mask = nullptr;
  if (CreateOffworld(PackRectTopLeft(b), PackRectBottomRight(b), -8, &mask) != noErr)
    return;
  const PixMap& s = world32->pixels;
  for (int32_t row = 0; row < RectHeight(b); ++row)
    for (int32_t col = 0; col < RectWidth(b); ++col)
      *kvpix::PixelAddress(mask->pixels, col, row) = *kvpix::PixelAddress(s, col, row);
  *out = mask;
}

void CopyPadGworldBits(Offworld src, Offworld dst, const Rect* srcRect, const Rect* dstRect,
                       uint16_t mode)
{
  if (!src || !dst)
    return;
  Offworld mask = nullptr;
  BuildGworldfromPadByte(src, &mask);
  if (!mask)
    return;
  if (src != dst)
    InBracket(dst, [&] {
      CopyDeepMask(&src->pixels, &mask->pixels, dst, srcRect, srcRect, dstRect,
                   int16_t(mode & 0xFF));
    });
  KillOffworld(&mask);
}

void LowBitPad(PixMapHandle map32, PixMapHandle map1, const Rect* rect32, const Rect* rect1,
               int16_t direction)
{
  if (!map32 || !map1 || !rect32 || !rect1 || map32->pixelSize != 32 || map1->pixelSize != 1)
    return;
  const int32_t width = std::min(RectWidth(*rect32), RectWidth(*rect1));
  const int32_t height = std::min(RectHeight(*rect32), RectHeight(*rect1));
  const int32_t c32 = rect32->left - map32->bounds.left, r32 = rect32->top - map32->bounds.top;
  const int32_t c1 = rect1->left - map1->bounds.left, r1 = rect1->top - map1->bounds.top;
  for (int32_t row = 0; row < height; ++row)
    for (int32_t col = 0; col < width; ++col) {
      uint8_t* pixel = kvpix::PixelAddress(*map32, c32 + col, r32 + row);
      if (direction == 0) {
        bool set = kvpix::ReadValue(*map1, c1 + col, r1 + row) != 0;
        std::memset(pixel, set ? 0xFF : 0, 4);
      } else {
        kvpix::WriteValue(*map1, c1 + col, r1 + row, pixel[0] > 15 ? 1 : 0);
      }
    }
}

void Bitmap2PadByte(PixMapHandle map1, PixMapHandle map32, const Rect* rect1, const Rect* rect32)
{
  if (!map1 || !map32 || !rect1 || !rect32)
    return;
  Rect r1 = *rect1, r32 = *rect32;
  if (!Fix2Rects(&r1, &r32, map1->bounds, map32->bounds))
    return;
  if (!LockPixels(map1) || !LockPixels(map32))
    return;
  LowBitPad(map32, map1, &r32, &r1, 0);
}

void PadByte2Bitmap(PixMapHandle map32, PixMapHandle map1, const Rect* rect32, const Rect* rect1)
{
  if (!map1 || !map32 || !rect1 || !rect32)
    return;
  Rect r32 = *rect32, r1 = *rect1;
  if (!Fix2Rects(&r32, &r1, map32->bounds, map1->bounds))
    return;
  if (!LockPixels(map1) || !LockPixels(map32))
    return;
  LowBitPad(map32, map1, &r32, &r1, 1);
}
