#include "imaging/qzpdf.h"

#include <algorithm>
#include <cairo-pdf.h>
#include <cairo.h>
#include <cmath>
#include <memory>

#include "imaging/quartz_pvt.h"
#include "imaging/qzimages.h"
#include "platform/stillimage.h"

struct QZPDFWriter
{
  std::vector<uint8_t>* bytes = nullptr;
  cairo_surface_t* surface = nullptr;
  CGContextRef page = nullptr;
};

struct QZPDFDocument
{
  kvimg::PdfDocument* pdf = nullptr;
};

namespace {

bool validMediaBox(const QZRect& box)
{
  const double values[] = {box.x, box.y, box.width, box.height};
  for (double v : values)
    if (!std::isfinite(v))
      return false;
  return box.width >= 1 && box.height >= 1 && box.width <= kvimg::kMaxImageSide &&
         box.height <= kvimg::kMaxImageSide && std::fabs(box.x) <= kvimg::kMaxImageSide &&
         std::fabs(box.y) <= kvimg::kMaxImageSide;
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
  auto* bytes = static_cast<std::vector<uint8_t>*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

// The scale at which to render a page for a context: the bitmap's pixels per
// point where the context is a bitmap, else one pixel a point, held so that
// the rendering stays within the picture limits.
double renderScale(CGContextRef ctx, const QZRect& page)
{
  double scale = 1;
  const int32_t w = QZ_BitmapContextGetWidth(ctx), h = QZ_BitmapContextGetHeight(ctx);
  if (w > 0 && h > 0)
    scale = std::max({1.0, w / page.width, h / page.height});
  const double side = std::max(page.width, page.height);
  scale = std::min(scale, kvimg::kMaxImageSide / side);
  const double area = page.width * page.height * 4;
  scale = std::min(scale, std::sqrt(double(kvimg::kMaxImageBytes) / area));
  return scale;
}

}  // namespace

QZPDFWriter* QZ_PDFWriterCreate(std::vector<uint8_t>* bytes, QZRect mediaBox)
{
  if (bytes == nullptr || !validMediaBox(mediaBox))
    return nullptr;
  bytes->clear();
  auto writer = std::make_unique<QZPDFWriter>();
  writer->bytes = bytes;
  writer->surface =
      cairo_pdf_surface_create_for_stream(appendBytes, bytes, mediaBox.width, mediaBox.height);
  if (cairo_surface_status(writer->surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(writer->surface);
    return nullptr;
  }
  return writer.release();
}

CGContextRef QZ_PDFWriterBeginPage(QZPDFWriter* writer, QZRect mediaBox)
{
  if (writer == nullptr || writer->page != nullptr || !validMediaBox(mediaBox))
    return nullptr;
  cairo_pdf_surface_set_size(writer->surface, mediaBox.width, mediaBox.height);
  writer->page = QZ_ContextOnCairoSurface(writer->surface, mediaBox.width, mediaBox.height);
  // The media box's origin sits at the page's bottom-left corner.
  QZ_ContextTranslateCTM(writer->page, -mediaBox.x, -mediaBox.y);
  return writer->page;
}

void QZ_PDFWriterEndPage(QZPDFWriter* writer)
{
  if (writer == nullptr || writer->page == nullptr)
    return;
  QZ_ContextRelease(writer->page);
  writer->page = nullptr;
  cairo_surface_show_page(writer->surface);
}

bool QZ_PDFWriterClose(QZPDFWriter* writer)
{
  if (writer == nullptr)
    return false;
  QZ_PDFWriterEndPage(writer);
  cairo_surface_finish(writer->surface);
  const bool ok =
      cairo_surface_status(writer->surface) == CAIRO_STATUS_SUCCESS && !writer->bytes->empty();
  cairo_surface_destroy(writer->surface);
  if (!ok)
    writer->bytes->clear();
  delete writer;
  return ok;
}

bool QZ_PDFRecordBytes(QZRect mediaBox, QZPDFDrawProc proc, void* refCon,
                       std::vector<uint8_t>* bytes)
{
  QZPDFWriter* writer = QZ_PDFWriterCreate(bytes, mediaBox);
  if (writer == nullptr)
    return false;
  CGContextRef page = QZ_PDFWriterBeginPage(writer, mediaBox);
  if (page != nullptr && proc != nullptr)
    proc(page, refCon);
  QZ_PDFWriterEndPage(writer);
  return QZ_PDFWriterClose(writer) && page != nullptr;
}

int32_t PDF_WriteDocument(frefinfos* record, QZRect mediaBox, QZPDFDrawProc proc, void* refCon)
{
  if (record == nullptr || !QZ_RenameAsPdf(record))
    return -1;
  const std::string path = xFile_CreateURL(*record, kQZApplicationCreator);
  std::vector<uint8_t> bytes;
  if (path.empty() || !QZ_PDFRecordBytes(mediaBox, proc, refCon, &bytes) ||
      !kvimg::replaceFile(path, bytes.data(), bytes.size()))
    return -1;
  SetFileTypeAndCreator(FileRef::fromPath(path), record->type, kQZApplicationCreator);
  return 0;
}

CGPDFDocumentRef QZ_PDFDocumentCreateWithBytes(std::vector<uint8_t> bytes)
{
  kvimg::PdfDocument* pdf = kvimg::pdfOpen(std::move(bytes));
  if (pdf == nullptr)
    return nullptr;
  double w = 0, h = 0;
  if (!kvimg::pdfPageSize(pdf, &w, &h)) {
    kvimg::pdfClose(pdf);
    return nullptr;
  }
  return new QZPDFDocument{pdf};
}

CGPDFDocumentRef PDF_Record(QZRect mediaBox, QZPDFDrawProc proc, void* refCon)
{
  std::vector<uint8_t> bytes;
  if (!QZ_PDFRecordBytes(mediaBox, proc, refCon, &bytes))
    return nullptr;
  return QZ_PDFDocumentCreateWithBytes(std::move(bytes));
}

CGPDFDocumentRef PDF_ReadDocument(const FileRef* file)
{
  if (file == nullptr)
    return nullptr;
  const auto bytes = xReadBuffer(*file);
  if (!bytes)
    return nullptr;
  return QZ_PDFDocumentCreateWithBytes(std::vector<uint8_t>(bytes->begin(), bytes->end()));
}

void QZ_PDFDocumentRelease(CGPDFDocumentRef doc)
{
  if (doc == nullptr)
    return;
  kvimg::pdfClose(doc->pdf);
  delete doc;
}

bool QZ_PDFDocumentMediaBox(CGPDFDocumentRef doc, QZRect* box)
{
  double w = 0, h = 0;
  if (doc == nullptr || box == nullptr || !kvimg::pdfPageSize(doc->pdf, &w, &h))
    return false;
  *box = QZRect{0, 0, w, h};
  return true;
}

void PDF_Draw(CGContextRef ctx, CGPDFDocumentRef doc)
{
  QZRect page;
  if (ctx == nullptr || !QZ_PDFDocumentMediaBox(doc, &page))
    return;
  const double scale = renderScale(ctx, page);
  const int32_t w = std::max(1, int32_t(std::lround(page.width * scale)));
  const int32_t h = std::max(1, int32_t(std::lround(page.height * scale)));
  kvimg::Pixels pixels;
  if (!kvimg::pdfRenderPage(doc->pdf, w, h, false, &pixels))
    return;
  CGImageRef image = QZ_ImageCreateWithPixels(pixels);
  if (image == nullptr)
    return;
  QZ_ContextDrawImage(ctx, page, image);
  QZ_ImageRelease(image);
}
