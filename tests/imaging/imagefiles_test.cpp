// Image files: the lookup through the image extensions, the writers by file
// type, depth and alpha flag, PDF recording and drawing, and the clipboard.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <tiffio.h>
#include <vector>

#include "foundation/bigendian.h"
#include "foundation/iodata.h"
#include "foundation/pstrings.h"
#include "imaging/clipboard.h"
#include "imaging/pict.h"
#include "imaging/pictures.h"
#include "imaging/qzimages.h"
#include "imaging/qzpdf.h"
#include "imaging/scrap.h"
#include "tests/imaging/test_buffers.h"
#include "tests/platform/tempfolder.h"

namespace {

frefinfos Record(const FileRef& folder, const char* name, OSType type = 0)
{
  frefinfos r;
  r.type = type;
  r.parent = folder;
  SetPString(r.name, name);
  return r;
}

kvimg::Pixels Solid(int32_t w, int32_t h, uint8_t red, uint8_t green, uint8_t blue)
{
  kvimg::Pixels p{w, h, {}};
  for (int32_t i = 0; i < w * h; ++i)
    p.argb.insert(p.argb.end(), {255, red, green, blue});
  return p;
}

void WritePng(const FileRef& file, const kvimg::Pixels& p)
{
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(kvimg::encodePng(
      kvimg::Rows{p.argb.data(), p.width * 4, p.width, p.height, 32, false}, &bytes));
  ASSERT_TRUE(kvimg::replaceFile(file.path(), bytes.data(), bytes.size()));
}

// The red sample of the first pixel of the image the lookup finds; -1 for
// none.
int FoundRed(const frefinfos& record, bool inImageFolder = false)
{
  CGImageRef image = QZ_lookforImageFile(record, inImageFolder);
  if (image == nullptr)
    return -1;
  kvimg::Pixels p;
  EXPECT_TRUE(QZ_ImageCopyPixels(image, &p));
  QZ_ImageRelease(image);
  return p.argb.empty() ? -1 : p.argb[1];
}

TEST(ImageLookupTest, ExactNameThenTheExtensionsInOrder)
{
  TempFolder tmp;
  const FileRef both = tmp.folder("both"), tiffOnly = tmp.folder("tiff"), none = tmp.folder("no");
  WritePng(both.child("N.png"), Solid(2, 2, 10, 0, 0));
  WritePng(both.child("N.tiff"), Solid(2, 2, 20, 0, 0));  // any decodable bytes serve
  WritePng(tiffOnly.child("N.tiff"), Solid(2, 2, 30, 0, 0));
  WritePng(none.child("N.tif.bak"), Solid(2, 2, 40, 0, 0));
  EXPECT_EQ(FoundRed(Record(both, "N")), 10);
  EXPECT_EQ(FoundRed(Record(both, "N.tiff")), 20);  // the exact name wins
  EXPECT_EQ(FoundRed(Record(tiffOnly, "N.jpg")), 30);
  EXPECT_EQ(HFS_2_UTF8(gIOdata.resultName), "N.tiff");
  EXPECT_EQ(gIOdata.resultRef, tiffOnly.child("N.tiff"));
  EXPECT_EQ(FoundRed(Record(none, "N")), -1);
  // With the flag the record's folder is not searched.
  const FileRef resources = kvfs::resourcesFolder();
  if (resources.empty() || !kvfs::exists(resources.child("N.png"))) {
    EXPECT_EQ(FoundRed(Record(both, "N"), true), -1);
  }
}

TEST(ImageLookupTest, DamagedFilesAndPicturesOfOurFormat)
{
  TempFolder tmp;
  tmp.write("bad.png", "\x89PNG\r\n\x1a\nnot really");
  EXPECT_EQ(FoundRed(Record(tmp.root(), "bad.png")), -1);
  WritePng(tmp.root().child("P.png"), Solid(3, 2, 7, 8, 9));
  PicHandle pict = QZ_lookforPict(Record(tmp.root(), "P.pct"));
  kvimg::Pixels p;
  ASSERT_TRUE(KVpict_ToPixels(pict, &p));
  EXPECT_EQ(p.width, 3);
  EXPECT_EQ(p.argb, Solid(3, 2, 7, 8, 9).argb);
  DisposeHandle(pict);

  AccessPix loaded;
  ASSERT_TRUE(QZ_LoadImageToAccessPix(&loaded, Record(tmp.root(), "P")));
  EXPECT_EQ(loaded.width, 3);
  EXPECT_EQ(loaded.owned, nullptr);
  EXPECT_EQ(loaded.base[1], 7);
  AccessPix untouched = loaded;
  EXPECT_FALSE(QZ_LoadImageToAccessPix(&loaded, Record(tmp.root(), "missing")));
  EXPECT_EQ(loaded.base, untouched.base);
  DisposePtr(loaded.base);
}

// A 4 x 3 buffer: rows of distinct colours, the flag byte as alpha.
struct TestBuffer
{
  std::vector<uint8_t> pixels;
  AccessPix access;
  TestBuffer(int16_t pixelSize)
  {
    const int32_t bytes = pixelSize / 8;
    pixels.resize(size_t(4) * 3 * bytes);
    for (size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = uint8_t(bytes == 1 ? 60 * (i / 4) + i % 4
                                     : (i % 4 == 0 ? 100 + i : 20 * (i / 16) + i % 4));
    access.base = pixels.data();
    access.width = 4;
    access.height = 3;
    access.rowBytes = 4 * bytes;
    access.pixelSize = pixelSize;
    access.pixelFormat = kPixelFormatARGB;
  }
};

struct TiffFacts
{
  uint16_t samples = 0, photometric = 0, extra = 0;
  uint32_t width = 0, firstPixel = 0;
};

TiffFacts ReadTiff(const std::string& path)
{
  TiffFacts f;
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (tif == nullptr)
    return f;
  uint16_t count = 0;
  uint16_t* kinds = nullptr;
  TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &f.samples);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &f.photometric);
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &f.width);
  if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &count, &kinds) && count == 1)
    f.extra = kinds[0];
  std::vector<uint8_t> row(TIFFScanlineSize(tif));
  if (TIFFReadScanline(tif, row.data(), 0, 0) > 0)
    f.firstPixel = row[0];
  TIFFClose(tif);
  return f;
}

TEST(ImageExportTest, FormatsByTypeDepthAndAlphaFlag)
{
  TempFolder tmp;
  struct Case
  {
    const char* type;
    int16_t depth;
    bool alpha;
    const char* signature;
    uint8_t pngColourType;  // PNG: 0 grey, 2 RGB, 6 RGB + alpha
    uint16_t tiffSamples;   // TIFF: 1, 3 or 4 (unassociated alpha)
  } cases[] = {
      {"TIFF", 32, false, "II*", 0, 3},     {"TIFF", 32, true, "II*", 0, 4},
      {"TIFF", 8, true, "II*", 0, 1},       {"JPEG", 32, true, "II*", 0, 4},
      {"PNGf", 32, false, "\x89PNG", 2, 0}, {"PNGf", 32, true, "\x89PNG", 6, 0},
      {"PNGf", 8, true, "\x89PNG", 0, 0},   {"PICT", 32, true, "", 0, 0},
      {"PICT", 8, false, "", 0, 0},         {"PDF ", 32, false, "%PDF", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.type << " " << c.depth << " " << c.alpha);
    TestBuffer buffer(c.depth);
    const OSType type = fourcc(*reinterpret_cast<const char(*)[5]>(c.type));
    const frefinfos record = Record(tmp.root(), "out", type);
    ASSERT_TRUE(QZ_ExportBits(record, &buffer.access, c.alpha, fourcc("Qjpr")));
    const std::string bytes = TempFolder::read(tmp.root().child("out"));
    ASSERT_EQ(bytes.compare(0, std::strlen(c.signature), c.signature), 0);
    if (type == fourcc("PNGf")) {
      EXPECT_EQ(uint8_t(bytes[25]), c.pngColourType);
    }
    if (c.tiffSamples != 0) {
      const TiffFacts f = ReadTiff(tmp.root().child("out").path());
      EXPECT_EQ(f.samples, c.tiffSamples);
      EXPECT_EQ(f.photometric, c.tiffSamples == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
      EXPECT_EQ(f.extra, c.tiffSamples == 4 ? EXTRASAMPLE_UNASSALPHA : 0);
    }
    if (type == fourcc("PICT")) {
      kvimg::Pixels p;
      ASSERT_TRUE(kvpict::read(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &p));
      EXPECT_EQ(p.argb[0], c.depth == 32 ? buffer.pixels[0] : 255);
    }
    if (type == fourcc("PDF ")) {
      kvimg::PdfDocument* doc = kvimg::pdfOpenFile(tmp.root().child("out").path());
      double w = 0, h = 0;
      EXPECT_TRUE(kvimg::pdfPageSize(doc, &w, &h));
      EXPECT_EQ(w, 4);
      EXPECT_EQ(h, 3);
      kvimg::pdfClose(doc);
    }
    if (tmp.xattrSupported()) {
      uint32_t stored = 0, creator = 0;
      kvfs::readTypeAndCreator(tmp.root().child("out").path(), stored, creator);
      EXPECT_EQ(stored, type);
      EXPECT_EQ(creator, fourcc("Qjpr"));
    }
  }
}

TEST(ImageExportTest, BottomUpFlagReversesRowsOfThirtyTwoBitBuffers)
{
  TempFolder tmp;
  TestBuffer buffer(32);
  const frefinfos record = Record(tmp.root(), "rows.tif", fourcc("TIFF"));
  ASSERT_TRUE(QZ_ExportBits(record, &buffer.access, false, 0));
  EXPECT_EQ(ReadTiff(tmp.root().child("rows.tif").path()).firstPixel, buffer.pixels[1]);
  buffer.access.bottomUp = 1;
  ASSERT_TRUE(QZ_ExportBits(record, &buffer.access, false, 0));
  EXPECT_EQ(ReadTiff(tmp.root().child("rows.tif").path()).firstPixel, buffer.pixels[2 * 16 + 1]);
}

TEST(ImageExportTest, ToolLargeAndBadRequestsAreRefused)
{
  TempFolder tmp;
  TestBuffer buffer(32);
  RowSource wide;
  wide.width = 40000;
  wide.height = 1;
  wide.access = &buffer.access;
  EXPECT_FALSE(QZ_RenderToFile(Record(tmp.root(), "w.tif", fourcc("TIFF")), &wide, getbitsrender32,
                               false, 0));
  EXPECT_FALSE(
      QZ_ExportBits(Record(tmp.root().child("missing"), "x.tif"), &buffer.access, false, 0));
  EXPECT_FALSE(Save_CGImage(nullptr, nullptr));
  EXPECT_TRUE(std::filesystem::is_empty(tmp.root().path()));
}

TEST(ImageExportTest, WriteCutShortLeavesTheOldFile)
{
  TempFolder tmp;
  const FileRef old = tmp.write("big.tif", "older contents");
  EXPECT_EXIT(
      {
        LimitFileSizeForThisProcess(64);
        std::vector<uint8_t> pixels(size_t(64) * 64 * 4, 77);
        AccessPix access;
        access.base = pixels.data();
        access.width = access.height = 64;
        access.rowBytes = 256;
        access.pixelSize = 32;
        const bool written =
            QZ_ExportBits(Record(tmp.root(), "big.tif", fourcc("TIFF")), &access, false, 0);
        std::exit(written ? 1 : 0);
      },
      testing::ExitedWithCode(0), "");
  EXPECT_EQ(TempFolder::read(old), "older contents");
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(tmp.root().path()))
    files += entry.is_regular_file();
  EXPECT_EQ(files, 1u);
}

TEST(ImageExportTest, SaveCGImageNamesAPdf)
{
  TempFolder tmp;
  CGImageRef image = QZ_ImageCreateWithPixels(Solid(5, 6, 1, 2, 3));
  frefinfos record = Record(tmp.root(), "picture.png", fourcc("PNGf"));
  ASSERT_TRUE(QZ_SaveCGImage(&record, image));
  EXPECT_EQ(record.type, fourcc("PDF "));
  EXPECT_TRUE(kvfs::exists(tmp.root().child("picture.pdf")));
  ASSERT_TRUE(QZ_SaveCGImageToXXX(Record(tmp.root(), "p.png", fourcc("PNGf")), image, 0));
  kvimg::Pixels back;
  ASSERT_TRUE(kvimg::decodeFile(tmp.root().child("p.png").path(), &back));
  EXPECT_EQ(back.argb, Solid(5, 6, 1, 2, 3).argb);
  QZ_ImageRelease(image);
}

// Draws a 10 x 10 red block at the page's top-left corner (y up).
void DrawMarker(CGContextRef ctx, void* refCon)
{
  const double height = *static_cast<const double*>(refCon);
  CGImageRef red = QZ_ImageCreateWithPixels(Solid(10, 10, 255, 0, 0));
  QZ_ContextDrawImage(ctx, QZRect{0, height - 10, 10, 10}, red);
  QZ_ImageRelease(red);
}

TEST(PdfTest, RecordedPageDrawsUprightIntoABitmap)
{
  double height = 60;
  CGPDFDocumentRef doc = PDF_Record(QZRect{0, 0, 80, height}, DrawMarker, &height);
  ASSERT_NE(doc, nullptr);
  std::vector<uint8_t> pixels(size_t(80) * 60 * 4, 0);
  CGContextRef ctx = QZ_BitmapContextCreate(pixels.data(), 80, 60, kQZBitmapPremultipliedFirst);
  PDF_Draw(ctx, doc);
  QZ_ContextFlush(ctx);
  QZ_ContextRelease(ctx);
  QZ_PDFDocumentRelease(doc);
  auto at = [&](int x, int y) { return &pixels[(size_t(y) * 80 + x) * 4]; };
  EXPECT_EQ(at(3, 3)[1], 255);  // top-left: red
  EXPECT_EQ(at(3, 56)[1], 0);   // bottom-left: nothing
  EXPECT_EQ(at(3, 56)[0], 0);
}

TEST(PdfTest, BadMediaBoxesAndDocumentsAreRefused)
{
  const double nan = std::nan("");
  for (QZRect box : {QZRect{0, 0, -5, 10}, QZRect{0, 0, nan, 10}, QZRect{0, 0, 40000, 10},
                     QZRect{0, 0, 0, 10}}) {
    EXPECT_EQ(PDF_Record(box, nullptr, nullptr), nullptr);
  }
  TempFolder tmp;
  const FileRef text = tmp.write("text.pdf", "plain text, not a PDF");
  EXPECT_EQ(PDF_ReadDocument(&text), nullptr);
  const FileRef empty =
      tmp.write("empty.pdf",
                "%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n"
                "2 0 obj<</Type/Pages/Kids[]/Count 0>>endobj\ntrailer<</Root 1 0 R>>\n%%EOF\n");
  EXPECT_EQ(PDF_ReadDocument(&empty), nullptr);
  frefinfos record = Record(tmp.root(), "doc.txt");
  double height = 20;
  EXPECT_EQ(PDF_WriteDocument(&record, QZRect{0, 0, 30, height}, DrawMarker, &height), 0);
  const FileRef written = tmp.root().child("doc.pdf");
  CGPDFDocumentRef doc = PDF_ReadDocument(&written);
  QZRect box;
  ASSERT_TRUE(QZ_PDFDocumentMediaBox(doc, &box));
  EXPECT_EQ(box.width, 30);
  QZ_PDFDocumentRelease(doc);
  EXPECT_EQ(PDF_WriteDocument(&record, QZRect{0, 0, -1, 5}, DrawMarker, &height), -1);
}

std::vector<uint8_t> PdfOfColour(double w, double h)
{
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(QZ_PDFRecordBytes(
      QZRect{0, 0, w, h},
      [](CGContextRef ctx, void*) {
        CGImageRef blue = QZ_ImageCreateWithPixels(Solid(1, 1, 0, 0, 255));
        QZ_ContextDrawImage(ctx, QZRect{0, 0, 1000, 1000}, blue);
        QZ_ImageRelease(blue);
      },
      nullptr, &bytes));
  return bytes;
}

TEST(ClipboardTest, PdfIntoBuffers)
{
  const std::vector<uint8_t> pdf = PdfOfColour(30, 20);
  Offworld world = nullptr;
  ASSERT_EQ(DrawPDFDatatoGw(pdf, &world, 32, nullptr), 0);
  OffworldGuard guard{world};
  ASSERT_NE(world, nullptr);
  EXPECT_EQ(world->pixels.bounds, (Rect{0, 0, 20, 30}));
  EXPECT_EQ(FindgwColor(world, PackPoint(Point{10, 10})).blue, 255);
  Rect part{0, 0, 5, 5};
  EXPECT_EQ(DrawPDFDatatoGw(pdf, &world, 32, &part), 0);
  Rect empty{5, 5, 5, 5};
  EXPECT_EQ(DrawPDFDatatoGw(pdf, &world, 32, &empty), -1);
  EXPECT_EQ(DrawPDFDatatoGw(std::vector<uint8_t>{'%', 'P', 'D', 'F', '-'}, &world, 32, nullptr),
            -1);
}

TEST(ClipboardTest, CopyAndPaste)
{
  CGImageRef image = QZ_ImageCreateWithPixels(Solid(4, 4, 0, 0, 255));
  QZ_CopyImageToClipboard(image, Rect{0, 0, 16, 24});
  EXPECT_EQ(ScrapFlavorCount(), 1);
  PasteboardRef pb = QZ_PasteboardCreateClipboard();
  EXPECT_TRUE(PasteboardContainsPDF(pb, nullptr));
  std::vector<uint8_t> pdf;
  ASSERT_TRUE(PasteboardContainsPDF(pb, &pdf));
  CGPDFDocumentRef doc = QZ_PDFDocumentCreateWithBytes(pdf);
  QZRect box;
  ASSERT_TRUE(QZ_PDFDocumentMediaBox(doc, &box));
  EXPECT_EQ(box.width, 24);
  EXPECT_EQ(box.height, 16);
  QZ_PDFDocumentRelease(doc);
  EXPECT_TRUE(GenericHasPicture());

  // A picture and a PDF on the clipboard: the picture is pasted.
  PicHandle red = KVpict_FromPixels(Solid(3, 2, 255, 0, 0));
  ASSERT_EQ(PutScrapFlavor(kQZFlavorPICT, GetHandleSize(red), *red), noErr);
  DisposeHandle(red);
  Offworld world = nullptr;
  uint16_t status = 1;
  GenericPaste(&world, 32, nullptr, &status);
  OffworldGuard guard{world};
  EXPECT_EQ(status, 0);
  ASSERT_NE(world, nullptr);
  EXPECT_EQ(world->pixels.bounds, (Rect{0, 0, 2, 3}));
  EXPECT_EQ(FindgwColor(world, PackPoint(Point{1, 1})).red, 255);

  QZ_CopyImageToClipboardPICT(image);
  EXPECT_TRUE(ScrapHasPicture());
  EXPECT_FALSE(PasteboardContainsPDF(pb, &pdf));
  ClearCurrentScrap();
  EXPECT_FALSE(GenericHasPicture());
  QZ_PasteboardRelease(pb);
  QZ_ImageRelease(image);
}

}  // namespace
