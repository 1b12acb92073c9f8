// Pictures on the clipboard: an image copied as a one-page PDF (flavour
// 'PDF ') or as a picture in the program's own format (flavour 'PICT'), and
// pasted back into off-screen buffers. The clipboard is the program's scrap
// store (imaging/scrap.h), seen here as a pasteboard of one item whose
// flavours are the store's; the window layer hands it to the desktop.
//
// Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/types.h"
#include "imaging/offworld.h"
#include "imaging/quartz.h"

inline constexpr OSType kQZFlavorPDF = fourcc("PDF ");
inline constexpr OSType kQZFlavorPICT = fourcc("PICT");

struct QZPasteboard;
using PasteboardRef = QZPasteboard*;

// The clipboard pasteboard; null when it cannot be opened. Released with
// QZ_PasteboardRelease.
PasteboardRef QZ_PasteboardCreateClipboard();
void QZ_PasteboardRelease(PasteboardRef pasteboard);
// Items on the pasteboard: 1 when the store holds any flavour, else 0.
int32_t QZ_PasteboardItemCount(PasteboardRef pasteboard);

// Puts a one-page PDF whose media box is r (origin (left, top), size
// (right - left, bottom - top)), filled by the image, on the clipboard as its
// only flavour. The alert sounds when the clipboard cannot be opened or the
// PDF cannot be made.
void QZ_CopyImageToClipboard(CGImageRef image, Rect r);
// Puts the image as a picture in the program's format on the clipboard as
// its only flavour ('PICT').
void QZ_CopyImageToClipboardPICT(CGImageRef image);
// True when an item carries a PDF; with out given, the PDF's bytes are
// copied there.
bool PasteboardContainsPDF(PasteboardRef pasteboard, std::vector<uint8_t>* out);
// Draws the clipboard's PDF into the buffer as DrawPDFDatatoGw does; *status
// receives its result (0, or 65535 for -1). Nothing when there is no PDF.
void QZ_PasteClipboardImageToGW(Offworld* world, int16_t depth, Rect* r, uint16_t* status);
// Draws page 1 of the PDF stretched into r of *world, or into the whole of
// an existing world, or into a new world of the page's size and the given
// depth (stored in *world). 0 on success, -1 for bad PDF bytes, no world,
// an empty rectangle or no memory.
int32_t DrawPDFDatatoGw(const std::vector<uint8_t>& pdf, Offworld* world, int16_t depth, Rect* r);
// Pastes the clipboard's picture ('PICT') into r of the buffer, or into a
// new buffer when r is null; when that fails, its PDF. *status is 0 when
// something was pasted.
void GenericPaste(Offworld* world, int16_t depth, Rect* r, uint16_t* status);
// True when the clipboard holds a picture or a PDF.
bool GenericHasPicture();
