#include "ui/uipictures.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "foundation/appshell.h"
#include "foundation/fileio.h"
#include "foundation/handles.h"
#include "foundation/pstrings.h"
#include "imaging/drawing.h"
#include "imaging/pictures.h"
#include "imaging/ports.h"
#include "imaging/qzimages.h"
#include "platform/resources.h"
#include "ui/edoc.h"
#include "ui/qzdraw.h"
#include "ui/uilib.h"

namespace {

void rimName(int16_t number, StringPtr out)
{
  char text[16];
  std::snprintf(text, sizeof text, "rim%d", int(number));
  SetPString(out, text);
}

// A w x h piece of the image from (x, y), as a new image.
CGImageRef cutImage(CGImageRef image, int32_t x, int32_t y, int32_t w, int32_t h)
{
  kvimg::Pixels all;
  if (!image || !QZ_ImageCopyPixels(image, &all))
    return nullptr;
  w = std::min(w, all.width - x);
  h = std::min(h, all.height - y);
  if (w <= 0 || h <= 0)
    return nullptr;
  kvimg::Pixels cell;
  cell.width = w;
  cell.height = h;
  cell.argb.resize(size_t(w) * size_t(h) * 4);
  for (int32_t row = 0; row < h; ++row)
    std::memcpy(&cell.argb[size_t(row) * size_t(w) * 4],
                &all.argb[(size_t(y + row) * size_t(all.width) + size_t(x)) * 4], size_t(w) * 4);
  return QZ_ImageCreateWithPixels(cell);
}

void drawImage(CGContextRef ctx, CGImageRef image, Rect r, const QZDrawFlags* options, int16_t mode)
{
  if (!ctx || !image)
    return;
  if (mode == 3) {
    QZdraw_image(ctx, r.left, r.top, image, options);
    return;
  }
  if (mode == 2) {
    QZdrawfit_image(ctx, r, image, options);
    return;
  }
  float x = r.left, y = r.top;
  if (mode == 1) {
    const int32_t spareW = RectWidth(r) - QZ_ImageGetWidth(image);
    const int32_t spareH = RectHeight(r) - QZ_ImageGetHeight(image);
    if (spareW > 2)
      x += float(spareW / 2);
    if (spareH > 2)
      y += float(spareH / 2);
  }
  QZ_ContextSaveGState(ctx);
  QZ_ContextClipToRect(ctx, QZ_RectFromRect(r));
  QZdraw_image(ctx, x, y, image, options);
  QZ_ContextRestoreGState(ctx);
}

// The pixels of a picture held as bytes: the program's own picture format
// first, then PICT and Photoshop documents.
bool decodePicture(const uint8_t* data, size_t size, kvimg::Pixels* out)
{
  if (size > 0 && size <= size_t(INT32_MAX)) {
    PicHandle handle = NewHandle(int32_t(size));
    if (handle) {
      std::memcpy(*handle, data, size);
      const bool own = KVpict_ToPixels(handle, out);
      DisposeHandle(handle);
      if (own)
        return true;
    }
  }
  return QZ_DecodeImageBytes(data, size, out, nullptr);
}

}  // namespace

bool UI_PictCodeCell(int32_t code, int32_t* image, Point* cellTopLeft)
{
  if (code > 0)
    return false;
  const int32_t n = -code;
  const int32_t cell = n % 64;
  *image = std::min(n / 64, kUIListLastImage);
  *cellTopLeft = Point{int16_t((cell / kUIListColumns) * kUIListCell),
                       int16_t((cell % kUIListColumns) * kUIListCell)};
  return true;
}

CGImageRef UI_PictCodeImage(const CGImageRef* listImages, int32_t code, int32_t maxWidth,
                            int32_t maxHeight)
{
  int32_t image = 0;
  Point at;
  if (!UI_PictCodeCell(code, &image, &at))
    return QZ_LoadUIImage(int16_t(code));
  const CGImageRef* lists = listImages ? listImages : gUILib.images;
  return cutImage(lists[image], at.h, at.v, std::min(kUIListCell, maxWidth),
                  std::min(kUIListCell, maxHeight));
}

void EDraw_PictItem(Edoc* doc, Rect r, int16_t code, const QZDrawFlags* options, int16_t mode)
{
  if (!doc || !doc->context)
    return;
  CGImageRef image = UI_PictCodeImage(doc->uiImages, code, RectWidth(r), RectHeight(r));
  drawImage(doc->context, image, r, options, mode);
  if (image)
    QZ_ImageRelease(image);
}

CGImageRef EDraw_MemPictItem(Edoc* doc, CGImageRef image, Rect r, int16_t number,
                             const QZDrawFlags* options, int16_t mode)
{
  if (!image)
    image = UI_PictCodeImage(doc ? doc->uiImages : nullptr, number, RectWidth(r), RectHeight(r));
  if (doc)
    drawImage(doc->context, image, r, options, mode);
  return image;
}

void Draw_UICGPict(CGContextRef ctx, Rect r, int16_t number)
{
  CGImageRef image = QZ_LoadUIImage(number);
  if (!image)
    return;
  QZdraw_image(ctx, r.left, r.top, image, nullptr);
  QZ_ImageRelease(image);
}

CGImageRef QZ_LoadUIImage(int16_t number)
{
  frefinfos record;
  record.parent = gAppInfos.resourcesFolder;
  rimName(number, record.name);
  if (CGImageRef image = QZ_lookforImageFile(record, false))
    return image;
  return QZ_lookforPICTres(0, number);
}

CGImageRef QZ_lookforPICTres(int16_t store, int16_t id)
{
  kvres::Resource picture;
  const bool found = store > 0 ? kvres::getResourceInStore(store, kResPicture, id, &picture)
                               : kvres::getResource(kResPicture, id, &picture);
  kvimg::Pixels pixels;
  if (!found || !decodePicture(picture.data.data(), picture.data.size(), &pixels))
    return nullptr;
  return QZ_ImageCreateWithPixels(pixels);
}

void DrawUIPict(Rect r, int16_t number)
{
  CGrafPtr port = nullptr;
  GetGWorld(&port, nullptr);
  if (!port || RectIsEmpty(r))
    return;
  frefinfos record;
  record.parent = gAppInfos.resourcesFolder;
  rimName(number, record.name);
  PicHandle picture = QZ_lookforPict(record);
  kvimg::Pixels pixels;
  if (!picture || !KVpict_ToPixels(picture, &pixels)) {
    DisposeHandle(picture);
    return;
  }
  const Rect frame{0, 0, int16_t(pixels.height), int16_t(pixels.width)};
  Offworld world = nullptr;
  if (CreateOffworld(PackRectTopLeft(frame), PackRectBottomRight(frame), 32, &world) == noErr) {
    Pict2Offworld(picture, world);
    CopyGworldCurPort(world, &frame, &r, srcCopy);
    KillOffworld(&world);
  }
  DisposeHandle(picture);
}

void DrawPictToContext(CGContextRef ctx, Rect r, PicHandle picture)
{
  if (!ctx || !picture || !*picture)
    return;
  kvimg::Pixels pixels;
  const auto* bytes = reinterpret_cast<const uint8_t*>(*picture);
  if (!decodePicture(bytes, size_t(std::max(GetHandleSize(picture), 0)), &pixels))
    return;
  CGImageRef image = QZ_ImageCreateWithPixels(pixels);
  if (!image)
    return;
  QZdrawfit_image(ctx, r, image, nullptr);
  QZ_ImageRelease(image);
}
