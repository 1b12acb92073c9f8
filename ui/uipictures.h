// UI pictures: picture codes of 0 and below cut a 32 x 32 cell from the UI
// list images; codes above 0 name the image file "rim" + code in the
// Resources folder. Pictures are drawn into an Edoc's context (flipped,
// y down) at a rectangle's top-left, fitted to it, or clipped to it.
//
// A picture that cannot be found draws nothing. Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/offworld.h"
#include "imaging/quartz.h"
#include "platform/files.h"

class Edoc;

// Picture codes of the standard buttons of a dialog.
inline constexpr int16_t kUIPictOKUp = -4, kUIPictOKDown = -5;
inline constexpr int16_t kUIPictCancelUp = -6, kUIPictCancelDown = -7;

inline constexpr int32_t kUIListCell = 32;    // cells are 32 x 32
inline constexpr int32_t kUIListColumns = 8;  // 8 x 8 cells an image
inline constexpr int32_t kUIListLastImage = 15;

// Where a code of 0 or below lies: with n = -code, list image
// min(n / 64, 15) and cell n mod 64 at ((cell mod 8) x 32, (cell / 8) x 32).
// False for a code above 0.
bool UI_PictCodeCell(int32_t code, int32_t* image, Point* cellTopLeft);

// The picture of a code as a new image (the caller releases it): the cell
// of the list images (null: the application's), cut to at most 32 x 32 and
// to maxWidth x maxHeight; or "rim" + code. Null when there is none.
CGImageRef UI_PictCodeImage(const CGImageRef* listImages, int32_t code, int32_t maxWidth,
                            int32_t maxHeight);

// Draws the picture of `code` in r. Mode 3: unclipped at r's top-left with
// the draw options; 2: fitted to r; others: clipped to r at its top-left,
// and mode 1 first centres it in each direction where the spare room
// exceeds 2 pixels, by half the spare room.
void EDraw_PictItem(Edoc* doc, Rect r, int16_t code, const QZDrawFlags* options, int16_t mode);
// The same with a given image, or, when it is null, the picture of
// `number` loaded; returns the image (the caller keeps or releases it).
CGImageRef EDraw_MemPictItem(Edoc* doc, CGImageRef image, Rect r, int16_t number,
                             const QZDrawFlags* options, int16_t mode);
// Draws "rim" + number at r's top-left.
void Draw_UICGPict(CGContextRef ctx, Rect r, int16_t number);
// Loads "rim" + number from the Resources folder; when there is no such
// file, the picture resource of that number (QZ_lookforPICTres).
CGImageRef QZ_LoadUIImage(int16_t number);
// The 'PICT' resource `id` as an image held in memory: looked for in the
// open store `store`, or down the chain of open stores from the current one
// when `store` is 0 or below. The resource may hold a picture of the
// program's own format (its pad bytes are the alpha) or a PICT or Photoshop
// document. No file is written. Null when there is no such picture or it
// cannot be decoded.
CGImageRef QZ_lookforPICTres(int16_t store, int16_t id);
// Draws the picture file "rim" + number of the Resources folder into the
// current port, scaled to r (nearest pixel); nothing without a port or a
// file.
void DrawUIPict(Rect r, int16_t number);
// Draws a picture (the program's own format, or PICT or Photoshop bytes)
// fitted to r; nothing for a handle that holds no picture.
void DrawPictToContext(CGContextRef ctx, Rect r, PicHandle picture);
