// PDF documents and PDF contexts.
//
// A PDF context draws into a cairo PDF surface whose bytes collect in
// memory; its user space is the media box, y up from the bottom-left.
// A PDF document is read through the still-image layer (poppler) and keeps
// its bytes for its whole life. A media box that is not finite, is negative
// or empty, or passes 32767 on a side is refused.
//
// Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/fileio.h"
#include "imaging/quartz.h"

struct QZPDFDocument;
using CGPDFDocumentRef = QZPDFDocument*;

// What a PDF writer calls to draw a page.
using QZPDFDrawProc = void (*)(CGContextRef ctx, void* refCon);

// --- Writing

// A PDF whose bytes go into *bytes (replaced) as they are produced.
struct QZPDFWriter;
// Null for a bad media box or a null block.
QZPDFWriter* QZ_PDFWriterCreate(std::vector<uint8_t>* bytes, QZRect mediaBox);
// Begins a page of the media box's size; the context draws on it until
// QZ_PDFWriterEndPage. Null for a bad media box.
CGContextRef QZ_PDFWriterBeginPage(QZPDFWriter* writer, QZRect mediaBox);
void QZ_PDFWriterEndPage(QZPDFWriter* writer);
// Finishes the file and frees the writer; true when the whole file is in the
// block.
bool QZ_PDFWriterClose(QZPDFWriter* writer);

// One page of the media box, drawn by proc, as PDF bytes; false for a bad
// media box or when cairo fails.
bool QZ_PDFRecordBytes(QZRect mediaBox, QZPDFDrawProc proc, void* refCon,
                       std::vector<uint8_t>* bytes);

// Names the record's file like QZ_SaveCGImage (".pdf", type 'PDF ') and
// writes one page of the media box drawn by proc, through a temporary file
// renamed into place under the application's creator. 0 on success, -1 when
// the media box is bad or the file could not be written whole.
int32_t PDF_WriteDocument(frefinfos* record, QZRect mediaBox, QZPDFDrawProc proc, void* refCon);

// Records one page into memory and opens it as a document; null on failure.
CGPDFDocumentRef PDF_Record(QZRect mediaBox, QZPDFDrawProc proc, void* refCon);

// --- Reading

// The file as a document; null for a file that is not a PDF, is damaged or
// has no pages.
CGPDFDocumentRef PDF_ReadDocument(const FileRef* file);
// PDF bytes as a document (the bytes are kept); null as above.
CGPDFDocumentRef QZ_PDFDocumentCreateWithBytes(std::vector<uint8_t> bytes);
void QZ_PDFDocumentRelease(CGPDFDocumentRef doc);
// Page 1's media box: origin (0, 0), its size in points; false for a
// document whose page size is out of range.
bool QZ_PDFDocumentMediaBox(CGPDFDocumentRef doc, QZRect* box);

// Draws page 1 into the context, filling (0, 0, page width, page height) of
// its user space, upright. The page is rendered to pixels at the scale of
// the context's bitmap (at least one pixel a point) and drawn as an image.
void PDF_Draw(CGContextRef ctx, CGPDFDocumentRef doc);
