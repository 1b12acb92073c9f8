#include "imaging/clipboard.h"

#include "foundation/appshell.h"
#include "imaging/accesspix.h"
#include "imaging/pictures.h"
#include "imaging/qzbitmaps.h"
#include "imaging/qzimages.h"
#include "imaging/qzpdf.h"
#include "imaging/scrap.h"

// The scrap store stands behind every pasteboard; the record only pairs the
// create and release calls.
struct QZPasteboard
{};

namespace {

constexpr uint16_t kStatusFailed = 65535;

// Replaces the clipboard's contents by one flavour; false when the
// clipboard cannot be opened or the data not stored.
bool PutOnClipboard(OSType flavor, const void* data, int32_t size)
{
  PasteboardRef pasteboard = QZ_PasteboardCreateClipboard();
  if (pasteboard == nullptr)
    return false;
  ClearCurrentScrap();
  const bool stored = PutScrapFlavor(flavor, size, data) == noErr;
  QZ_PasteboardRelease(pasteboard);
  return stored;
}

struct PdfFill
{
  CGImageRef image;
  QZRect box;
};

}  // namespace

PasteboardRef QZ_PasteboardCreateClipboard()
{
  return new QZPasteboard;
}

void QZ_PasteboardRelease(PasteboardRef pasteboard)
{
  delete pasteboard;
}

int32_t QZ_PasteboardItemCount(PasteboardRef pasteboard)
{
  return pasteboard != nullptr && ScrapFlavorCount() > 0 ? 1 : 0;
}

void QZ_CopyImageToClipboard(CGImageRef image, Rect r)
{
  PdfFill fill{image, QZ_RectFromRect(r)};
  std::vector<uint8_t> bytes;
  const bool made = QZ_PDFRecordBytes(
      fill.box,
      [](CGContextRef ctx, void* refCon) {
        const auto* f = static_cast<const PdfFill*>(refCon);
        QZ_ContextDrawImage(ctx, f->box, f->image);
      },
      &fill, &bytes);
  if (!made || bytes.size() > size_t(INT32_MAX) ||
      !PutOnClipboard(kQZFlavorPDF, bytes.data(), int32_t(bytes.size())))
    PlayAlertSound();
}

void QZ_CopyImageToClipboardPICT(CGImageRef image)
{
  kvimg::Pixels pixels;
  PicHandle pict = QZ_ImageCopyPixels(image, &pixels) ? KVpict_FromPixels(pixels) : nullptr;
  if (pict == nullptr || !PutOnClipboard(kQZFlavorPICT, *pict, GetHandleSize(pict)))
    PlayAlertSound();
  DisposeHandle(pict);
}

bool PasteboardContainsPDF(PasteboardRef pasteboard, std::vector<uint8_t>* out)
{
  bool found = false;
  for (int32_t item = 1; item <= QZ_PasteboardItemCount(pasteboard); ++item)
    for (int32_t i = 0; i < ScrapFlavorCount(); ++i) {
      if (ScrapFlavorAt(i) != kQZFlavorPDF)
        continue;
      found = true;
      int32_t size = 0;
      if (out == nullptr || GetScrapFlavorSize(kQZFlavorPDF, &size) != noErr)
        continue;
      std::vector<uint8_t> bytes(static_cast<size_t>(size));
      if (GetScrapFlavorData(kQZFlavorPDF, &size, bytes.data()) == noErr) {
        bytes.resize(size_t(size));
        *out = std::move(bytes);
      }
    }
  return found;
}

int32_t DrawPDFDatatoGw(const std::vector<uint8_t>& pdf, Offworld* world, int16_t depth, Rect* r)
{
  if (world == nullptr)
    return -1;
  CGPDFDocumentRef doc = QZ_PDFDocumentCreateWithBytes(pdf);
  QZRect page;
  if (doc == nullptr || !QZ_PDFDocumentMediaBox(doc, &page)) {
    QZ_PDFDocumentRelease(doc);
    return -1;
  }
  if (r == nullptr && *world == nullptr) {
    const Rect bounds{0, 0, int16_t(page.height), int16_t(page.width)};
    if (CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), depth, world) != 0)
      *world = nullptr;
  }
  // With a world and no rectangle, the page fills the whole world.
  const Rect target = r != nullptr ? *r : (*world ? (*world)->pixels.bounds : Rect{});
  const int32_t width = RectWidth(target), height = RectHeight(target);
  AccessPix bitmap;
  CGContextRef ctx = nullptr;
  if (*world != nullptr && width > 0 && height > 0)
    ctx = QZ_CreateBitmapContext(int16_t(width), int16_t(height), &bitmap, false);
  if (ctx == nullptr) {
    QZ_PDFDocumentRelease(doc);
    return -1;
  }
  QZ_ContextScaleCTM(ctx, width / page.width, height / page.height);
  PDF_Draw(ctx, doc);
  QZ_ContextFlush(ctx);
  WriteScreenBits(&bitmap, *world, Rect{0, 0, int16_t(height), int16_t(width)}, target);
  QZ_KillBitmapContext(&ctx, nullptr);
  QZ_PDFDocumentRelease(doc);
  return 0;
}

void QZ_PasteClipboardImageToGW(Offworld* world, int16_t depth, Rect* r, uint16_t* status)
{
  PasteboardRef pasteboard = QZ_PasteboardCreateClipboard();
  if (pasteboard == nullptr)
    return;
  std::vector<uint8_t> pdf;
  if (PasteboardContainsPDF(pasteboard, &pdf)) {
    const int32_t result = DrawPDFDatatoGw(pdf, world, depth, r);
    if (status)
      *status = result == 0 ? 0 : kStatusFailed;
  }
  QZ_PasteboardRelease(pasteboard);
}

void GenericPaste(Offworld* world, int16_t depth, Rect* r, uint16_t* status)
{
  uint16_t local = kStatusFailed;
  uint16_t* result = status ? status : &local;
  *result = kStatusFailed;
  if (world == nullptr)
    return;
  if (r != nullptr)
    PasteScrap(*world, PackRectTopLeft(*r), PackRectBottomRight(*r), result);
  else
    ScrapPictToGworld(world, depth, result);
  if (*result != 0)
    QZ_PasteClipboardImageToGW(world, depth, r, result);
}

bool GenericHasPicture()
{
  if (ScrapHasPicture())
    return true;
  PasteboardRef pasteboard = QZ_PasteboardCreateClipboard();
  const bool pdf = PasteboardContainsPDF(pasteboard, nullptr);
  QZ_PasteboardRelease(pasteboard);
  return pdf;
}
