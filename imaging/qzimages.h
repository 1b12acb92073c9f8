// Image files: finding an image file by name (trying the known image
// extensions), importing it as an image or as a picture, loading it into a
// bitmap buffer, and writing pixel buffers, off-screen buffers and images as
// TIFF, PNG, PICT or one-page PDF files.
//
// Import reads PICT (imaging/pict.h), Photoshop documents (imaging/psd.h),
// the first page of a PDF at its page size, and what the still-image layer
// decodes (PNG, TIFF, JPEG, GIF, BMP). A file that is damaged or too large is
// refused with a null or false result.
//
// Every writer builds the whole file in memory and writes it through a
// temporary file renamed into place (kvimg::replaceFile): true means the
// complete file is there; on failure nothing is left and an older file of
// the same name is untouched. Type and creator are set after a success.
//
// Main thread only: the lookups share gIOdata's result name and reference.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/fileio.h"
#include "foundation/types.h"
#include "imaging/accesspix.h"
#include "imaging/offworld.h"
#include "imaging/quartz.h"
#include "imaging/qzbitmaps.h"
#include "platform/stillimage.h"

// The creator code of the files the application makes itself.
inline constexpr OSType kQZApplicationCreator = fourcc("Qjpr");

// The image-file extensions tried after the exact name, in this order.
inline constexpr const char* kQZImageExtensions[] = {"tif", "png", "pdf", "pct", "psd", "tiff"};

// --- Images holding their own pixels

// An image owning a copy of straight-alpha pixels (opaque pixels are kept
// exactly; others are stored premultiplied). Null for an empty or oversized
// picture.
CGImageRef QZ_ImageCreateWithPixels(const kvimg::Pixels& pixels);
// The image drawn 1:1 into straight-alpha pixels of its size; false for a
// null image or one beyond the picture limits.
bool QZ_ImageCopyPixels(CGImageRef image, kvimg::Pixels* out);

// --- Decoding

// Decodes a PICT or Photoshop document held in memory; false for any other
// bytes and for a damaged or oversized picture (maxBytes of 32-bit pixels).
bool QZ_DecodeImageBytes(const uint8_t* data, size_t size, kvimg::Pixels* out, std::string* why,
                         int64_t maxBytes = kvimg::kMaxImageBytes);
// Decodes any supported image file, chosen by its contents.
bool QZ_DecodeImageFile(const FileRef& file, kvimg::Pixels* out, std::string* why = nullptr);

// --- Lookup and import

// With the record's name already in gIOdata.resultName: replaces the name's
// extension by each of kQZImageExtensions in turn (xConcatExtension) and
// looks for the file in the record's folder; the first that exists goes to
// *out (and gIOdata.resultRef). False when none exists.
bool findGfileExtension(const frefinfos& record, FileRef* out);
// The image of the record's file: the exact name first, then the other
// extensions; with inImageFolder the file is looked for in the resources
// folder instead of the record's folder. Null when nothing is found or
// imported. The caller releases the image.
CGImageRef QZ_lookforImageFile(const frefinfos& record, bool inImageFolder);
// The same search, giving a picture in the program's picture format
// (imaging/pictures.h); null when nothing is found or imported.
PicHandle QZ_lookforPict(const frefinfos& record);
// Imports the record's image and draws it into a new bitmap buffer of its
// size (no premultiplied alpha), replacing the block *out held; *out keeps
// the pixels (free with DisposePtr) and its owned field is cleared. False,
// with *out untouched, when no image was imported.
bool QZ_LoadImageToAccessPix(AccessPix* out, const frefinfos& record);

// --- Writing

// Options of the written bitmap formats.
struct QZImageOptions
{
  float quality = 1.0f;  // lossless formats only: kept for the record
  bool hasAlpha = false;
};

// A file being written: its format ('PICT', 'PNGf', else TIFF), its path and
// the one image added to it.
struct QZImageDestination;
QZImageDestination* QZ_ImageDestinationCreate(const std::string& path, OSType type);
// Adds the image's pixels; with no options, alpha is kept when any pixel is
// not opaque.
void QZ_ImageDestinationAddImage(QZImageDestination* dest, CGImageRef image,
                                 const QZImageOptions* options);
// Encodes and writes the file; true when the complete file was written.
bool QZ_ImageDestinationFinalize(QZImageDestination* dest);
void QZ_ImageDestinationRelease(QZImageDestination* dest);

// The options for the given quality and alpha flag; the destination is not
// touched.
QZImageOptions QZ_SetFileOptions(QZImageDestination* dest, float quality, bool hasAlpha);

// Writes the rows that `rows` delivers from `source` as the record's file
// type: 'PDF ' a one-page PDF of width x height points filled by the image,
// 'PICT' PICT, 'PNGf' PNG, anything else TIFF. An 8-bit source gives grey
// without alpha; a 32-bit one RGB, plus unassociated alpha when hasAlpha is
// set. Then type and creator are set. False for a picture over 32767 pixels
// a side or 1 GiB, or when the file could not be written whole.
bool QZ_RenderToFile(const frefinfos& record, RowSource* source, QZRowCallback rows, bool hasAlpha,
                     OSType creator);
// The whole buffer through QZ_RenderToFile; a 32-bit buffer with its
// bottom-up flag set is written last row first.
bool QZ_ExportBits(const frefinfos& record, AccessPix* buffer, bool hasAlpha, OSType creator);
// r (clipped into the buffer in place) or the whole buffer; false when the
// buffer's pixels cannot be reached or are neither 8 nor 32 bits deep.
bool QZ_ExportGW(const frefinfos& record, Offworld world, Rect* r, bool hasAlpha, OSType creator);
// Writes the image in the record's format ('PICT', 'PNGf', else TIFF), then
// sets type and creator.
bool QZ_SaveCGImageToXXX(const frefinfos& record, CGImageRef image, OSType creator);
// A one-page PDF at `path` whose media box is the image's size, the image
// filling it.
bool QZ_CGImagewritePdf(const std::string& path, CGImageRef image);
// Renames the record to end in ".pdf" with type 'PDF ' and writes the image
// there as QZ_CGImagewritePdf does, under the application's creator.
bool QZ_SaveCGImage(frefinfos* record, CGImageRef image);
// The record's name without its extension and with ".pdf", its type 'PDF ';
// false (the record unchanged) when the name would pass 63 bytes.
bool QZ_RenameAsPdf(frefinfos* record);
// Writes nothing: false.
bool Save_CGImage(const FileRef* file, CGImageRef image);
