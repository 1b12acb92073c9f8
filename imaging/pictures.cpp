// Pictures as the program records them: bytes 0-1 the size (low 16 bits),
// 2-9 the frame (top, left, bottom, right), then the tag 'KVpx', a flag word
// (1: the pad bytes are kept), the width and height, and the pixels row by
// row as pad, red, green, blue (pad 0 when not kept). All numbers big-endian.
#include "imaging/pictures.h"

#include <algorithm>
#include <cstring>

#include "foundation/appshell.h"
#include "foundation/bigendian.h"
#include "foundation/handles.h"
#include "imaging/offworld.h"
#include "imaging/pixels_pvt.h"
#include "imaging/scrap.h"

namespace {

constexpr OSType kPictFlavor = fourcc("PICT");
constexpr OSType kPictTag = fourcc("KVpx");
constexpr int32_t kHeaderBytes = 20;
constexpr uint16_t kKeepsPad = 1;
constexpr uint16_t kScrapNotRead = 65535;

Rect ReadFrame(const uint8_t* p)
{
  return Rect{be::get_i16(p + 2), be::get_i16(p + 4), be::get_i16(p + 6), be::get_i16(p + 8)};
}

// The recorded pixels of a picture, checked against the handle's size.
struct PictPixels
{
  const uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  bool keepsPad = false;
};

bool ReadPict(PicHandle pict, PictPixels* out, Rect* frame)
{
  const int32_t size = GetHandleSize(pict);
  if (!pict || !*pict || size < kHeaderBytes)
    return false;
  const auto* p = reinterpret_cast<const uint8_t*>(*pict);
  if (be::get_u32(p + 10) != kPictTag)
    return false;
  out->keepsPad = (be::get_u16(p + 14) & kKeepsPad) != 0;
  out->width = be::get_u16(p + 16);
  out->height = be::get_u16(p + 18);
  if (int64_t(out->width) * out->height * 4 > int64_t(size) - kHeaderBytes)
    return false;
  out->pixels = p + kHeaderBytes;
  if (frame)
    *frame = ReadFrame(p);
  return true;
}

// Draws the picture's pixels stretched into box of the buffer.
void DrawPict(const PictPixels& pict, Offworld world, const Rect& box)
{
  if (pict.width == 0 || pict.height == 0 || RectIsEmpty(box))
    return;
  const PixMap& pm = world->pixels;
  const Rect area = SectRect(box, pm.bounds);
  kvpix::ColorMatcher match(pm);
  const int32_t boxW = RectWidth(box), boxH = RectHeight(box);
  for (int32_t y = area.top; y < area.bottom; ++y) {
    const int32_t sy = int32_t(int64_t(y - box.top) * pict.height / boxH);
    for (int32_t x = area.left; x < area.right; ++x) {
      const int32_t sx = int32_t(int64_t(x - box.left) * pict.width / boxW);
      const uint8_t* s = pict.pixels + (int64_t(sy) * pict.width + sx) * 4;
      const int32_t col = x - pm.bounds.left, row = y - pm.bounds.top;
      normalcolor c{s[0], s[1], s[2], s[3]};
      if (!pict.keepsPad || pm.pixelSize != 32)
        c.flag = kvpix::ValueToColor(pm, kvpix::ReadValue(pm, col, row)).flag;
      kvpix::WriteValue(pm, col, row, match(c));
    }
  }
}

void DrawPictInBracket(PicHandle pict, Offworld world, const Rect* box)
{
  PictPixels pixels;
  Rect frame;
  if (!world || !ReadPict(pict, &pixels, &frame))
    return;
  const Rect target = box ? *box : OffsetRect(frame, -frame.left, -frame.top);
  CGrafPtr savedPort;
  GDHandle savedDevice;
  if (!BeginOffworld_QDDraw(world, &savedPort, &savedDevice))
    return;
  DrawPict(pixels, world, target);
  EndOffworld_QDDraw(world, savedPort, savedDevice);
}

// Reads the clipboard's picture into a new handle; null when there is none.
PicHandle ReadScrapPict()
{
  int32_t size = 0;
  if (GetScrapFlavorSize(kPictFlavor, &size) != noErr || size <= 0)
    return nullptr;
  PicHandle pict = NewHandle(size);
  if (!pict)
    return nullptr;
  if (GetScrapFlavorData(kPictFlavor, &size, *pict) != noErr) {
    DisposeHandle(pict);
    return nullptr;
  }
  return pict;
}

}  // namespace

PicHandle KVpict_FromPixels(const kvimg::Pixels& pixels)
{
  const int32_t width = pixels.width, height = pixels.height;
  if (width <= 0 || height <= 0 || width > INT16_MAX || height > INT16_MAX ||
      pixels.argb.size() != size_t(width) * size_t(height) * 4)
    return nullptr;
  const int64_t size = kHeaderBytes + int64_t(width) * height * 4;
  if (size > INT32_MAX)
    return nullptr;
  PicHandle h = NewHandleClear(int32_t(size));
  if (!h)
    return nullptr;
  auto* p = reinterpret_cast<uint8_t*>(*h);
  be::put_u16(p, uint16_t(size));
  be::put_i16(p + 6, int16_t(height));
  be::put_i16(p + 8, int16_t(width));
  be::put_u32(p + 10, kPictTag);
  be::put_u16(p + 14, kKeepsPad);
  be::put_u16(p + 16, uint16_t(width));
  be::put_u16(p + 18, uint16_t(height));
  std::memcpy(p + kHeaderBytes, pixels.argb.data(), pixels.argb.size());
  return h;
}

bool KVpict_ToPixels(PicHandle pict, kvimg::Pixels* out)
{
  PictPixels recorded;
  if (!out || !ReadPict(pict, &recorded, nullptr))
    return false;
  out->width = recorded.width;
  out->height = recorded.height;
  out->argb.assign(recorded.pixels, recorded.pixels + size_t(recorded.width) * recorded.height * 4);
  if (!recorded.keepsPad)
    for (size_t i = 0; i < out->argb.size(); i += 4)
      out->argb[i] = 255;
  return true;
}

void Pict2Offworld(PicHandle pict, Offworld world)
{
  DrawPictInBracket(pict, world, nullptr);
}

void Pict2OffworldBox(PicHandle pict, Offworld world, const Rect* box)
{
  if (box)
    DrawPictInBracket(pict, world, box);
}

void Offworld2Pict(PicHandle* pict, Offworld world, const Rect* r)
{
  if (!pict)
    return;
  *pict = nullptr;
  if (!world || !r || RectIsEmpty(*r))
    return;
  const PixMap& pm = world->pixels;
  const bool keepPad = pm.pixelSize == 32 && pm.packType == 4 && pm.cmpCount == 4;
  const int32_t width = RectWidth(*r), height = RectHeight(*r);
  const int64_t size = kHeaderBytes + int64_t(width) * height * 4;
  if (size > INT32_MAX)
    return;
  PicHandle h = NewHandleClear(int32_t(size));
  if (!h)
    return;
  auto* p = reinterpret_cast<uint8_t*>(*h);
  be::put_u16(p, uint16_t(size));
  be::put_i16(p + 2, 0);
  be::put_i16(p + 4, 0);
  be::put_i16(p + 6, int16_t(height));
  be::put_i16(p + 8, int16_t(width));
  be::put_u32(p + 10, kPictTag);
  be::put_u16(p + 14, keepPad ? kKeepsPad : 0);
  be::put_u16(p + 16, uint16_t(width));
  be::put_u16(p + 18, uint16_t(height));
  uint8_t* out = p + kHeaderBytes;
  for (int32_t y = r->top; y < r->bottom; ++y)
    for (int32_t x = r->left; x < r->right; ++x, out += 4) {
      const int32_t col = x - pm.bounds.left, row = y - pm.bounds.top;
      normalcolor c{0, 255, 255, 255};
      if (col >= 0 && row >= 0 && col < RectWidth(pm.bounds) && row < RectHeight(pm.bounds))
        c = kvpix::ValueToColor(pm, kvpix::ReadValue(pm, col, row));
      out[0] = keepPad ? c.flag : 0;
      out[1] = c.red, out[2] = c.green, out[3] = c.blue;
    }
  *pict = h;
}

bool GworldToScrapPict(Offworld world, const Rect* r, bool keepPadByte)
{
  ClearCurrentScrap();
  PicHandle pict = nullptr;
  if (world) {
    PixMap& pm = world->pixels;
    const int16_t packType = pm.packType, cmpCount = pm.cmpCount;
    if (keepPadByte)
      pm.packType = 4, pm.cmpCount = 4;
    Offworld2Pict(&pict, world, r);
    pm.packType = packType, pm.cmpCount = cmpCount;
  }
  bool ok = pict && PutScrapFlavor(kPictFlavor, GetHandleSize(pict), *pict) == noErr;
  DisposeHandle(pict);
  if (!ok)
    PlayAlertSound();
  return ok;
}

bool ScrapHasPicture()
{
  int32_t size = 0;
  return GetScrapFlavorSize(kPictFlavor, &size) == noErr && size > 0;
}

void ScrapPictToGworld(Offworld* world, int16_t depth, uint16_t* status)
{
  if (status)
    *status = kScrapNotRead;
  if (!world)
    return;
  PicHandle pict = ReadScrapPict();
  PictPixels pixels;
  Rect frame;
  if (pict && ReadPict(pict, &pixels, &frame)) {
    const Rect atOrigin = OffsetRect(frame, -frame.left, -frame.top);
    if (!*world && CreateOffworld(PackRectTopLeft(atOrigin), PackRectBottomRight(atOrigin), depth,
                                  world) != noErr) {
      PlayAlertSound();
    } else {
      DrawPictInBracket(pict, *world, &atOrigin);
      if (status)
        *status = 0;
    }
  }
  DisposeHandle(pict);
}

void ScrapPictToGworldBox(Offworld, const Rect*, uint16_t*) {}

void PasteScrap(Offworld world, int32_t rectTopLeft, int32_t rectBottomRight, uint16_t* status)
{
  if (status)
    *status = kScrapNotRead;
  if (!world)
    return;
  PicHandle pict = ReadScrapPict();
  PictPixels pixels;
  if (pict && ReadPict(pict, &pixels, nullptr)) {
    const Rect box = UnpackRect(rectTopLeft, rectBottomRight);
    DrawPictInBracket(pict, world, &box);
    if (status)
      *status = 0;
  }
  DisposeHandle(pict);
}
