// Drawing into ports: block transfers with the transfer modes, transfers
// through a mask, and filled or framed shapes. Every drawing is cut to the
// destination port's clip rectangle and pixel bounds.
//
// Transfer modes (the low byte of a mode word; 64 (ditherCopy) added to a
// mode, or alone, changes nothing here):
//   0 srcCopy, 1 srcOr, 2 srcXor, 3 srcBic, 4 notSrcCopy, 5 notSrcOr,
//   6 notSrcXor, 7 notSrcBic: the source value (colourized when the port's
//   colours are not black on white) combined bit by bit with the destination
//   value; between 32-bit maps all four bytes take part, pad byte included.
//   32 blend, 33 addPin, 34 addOver, 35 subPin, 36 transparent, 37 addMax,
//   38 subOver, 39 adMin: arithmetic on red, green and blue with the port's
//   operation colour; the destination's pad byte is kept.
// Other values act as srcCopy. A source and destination rectangle of
// different sizes scale the source (nearest pixel).
//
// Main thread only.
#pragma once

#include <cstdint>

#include "imaging/ports.h"

enum : int16_t
{
  srcCopy = 0,
  srcOr = 1,
  srcXor = 2,
  srcBic = 3,
  notSrcCopy = 4,
  notSrcOr = 5,
  notSrcXor = 6,
  notSrcBic = 7,
  blend = 32,
  addPin = 33,
  addOver = 34,
  subPin = 35,
  transparent = 36,
  addMax = 37,
  subOver = 38,
  adMin = 39,
  ditherCopy = 64,
};

// Shape verbs.
enum : uint8_t
{
  kVerbFrame = 0,
  kVerbPaint = 1,
  kVerbErase = 2,
  kVerbInvert = 3,
  kVerbFill = 4
};

// Copies srcRect of src (in src's bounds coordinates) onto dstRect of the
// port (in the port's coordinates).
void CopyBits(const PixMap* src, CGrafPtr dst, const Rect* srcRect, const Rect* dstRect,
              int16_t mode);
// As CopyBits, then mixes the result with the destination by the mask: where
// the mask's colour is black the result is taken, white keeps the
// destination, greys weight between them. maskRect corresponds to srcRect
// pixel for pixel.
void CopyDeepMask(const PixMap* src, const PixMap* mask, CGrafPtr dst, const Rect* srcRect,
                  const Rect* maskRect, const Rect* dstRect, int16_t mode);

// Sets the port's operation colour.
void OpColor(CGrafPtr port, const RGBColor* color);

// Shapes in the current port (port coordinates): frame draws a one-pixel
// outline in the foreground colour, paint and fill fill with it, erase fills
// with the background colour, invert inverts red, green and blue. Pad bytes
// of 32-bit pixels are left as they are.
void EraseRect(const Rect* r);
void StdRect(uint8_t verb, const Rect* r);
void StdOval(uint8_t verb, const Rect* r);
void StdRgn(uint8_t verb, RgnHandle rgn);
