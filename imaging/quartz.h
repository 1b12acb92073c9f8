// Drawing contexts and images over cairo.
//
// A context keeps the coordinate convention of the program's drawing code:
// its default user space has the origin at the bottom-left corner with y
// growing upwards, and an image drawn into a rectangle puts its first row at
// the rectangle's top edge (the largest y). QZ_OpenContext flips a port's
// context so that the origin is the top-left and y grows downwards; images
// drawn there come out upside down unless their rows are delivered last row
// first, or QZdrawfit_image undoes the flip.
//
// Pixels of the program's buffers stay in memory order alpha/pad, red,
// green, blue; they are converted to cairo's native premultiplied format only
// while a context draws, and back afterwards.
//
// Main thread only; a context or image is never shared between threads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/types.h"

struct QZContext;
using CGContextRef = QZContext*;
struct QZImage;
using CGImageRef = QZImage*;

// A rectangle in a context's user space.
struct QZRect
{
  double x = 0, y = 0, width = 0, height = 0;
};

// The user-space rectangle of a program rectangle: origin (left, top),
// width right - left, height bottom - top.
QZRect QZ_RectFromRect(const Rect& r);

// Layouts of 32-bit pixels (alpha first in memory) and of 8-bit grey.
enum : uint32_t
{
  kQZBitmapGrey = 0,  // one grey byte, no alpha
  kQZBitmapPremultipliedFirst = 2,
  kQZBitmapAlphaFirst = 4,  // straight (not premultiplied) alpha
  kQZBitmapSkipFirst = 6,   // first byte ignored, opaque
};

enum : int32_t
{
  kQZInterpolationDefault = 0,
  kQZInterpolationNone = 1,
  kQZInterpolationLow = 2,
  kQZInterpolationHigh = 3,
  kQZInterpolationMedium = 4,
};

// Blend modes by number: 0 normal, 1 multiply, 2 screen, 3 overlay, 4 darken,
// 5 lighten, 6 colour dodge, 7 colour burn, 8 soft light, 9 hard light,
// 10 difference, 11 exclusion, 12 hue, 13 saturation, 14 colour,
// 15 luminosity, 16 clear, 17 copy, 18 source in, 19 source out,
// 20 source atop, 21 destination over, 22 destination in, 23 destination out,
// 24 destination atop, 25 xor, 26 plus darker (drawn as multiply),
// 27 plus lighter.
using CGBlendMode = int32_t;
inline constexpr CGBlendMode kQZBlendNormal = 0;

// Gets bytes of an image: fills `count` bytes of rows starting at byte
// `offset` of the image into `buffer`, returns the bytes written.
using QZRowCallback = size_t (*)(void* info, void* buffer, int64_t offset, size_t count);

// --- Context state

void QZ_ContextSaveGState(CGContextRef ctx);
void QZ_ContextRestoreGState(CGContextRef ctx);
void QZ_ContextSetInterpolationQuality(CGContextRef ctx, int32_t quality);
int32_t QZ_ContextGetInterpolationQuality(CGContextRef ctx);
void QZ_ContextSetBlendMode(CGContextRef ctx, CGBlendMode mode);
CGBlendMode QZ_ContextGetBlendMode(CGContextRef ctx);
void QZ_ContextSetShouldAntialias(CGContextRef ctx, bool antialias);
void QZ_ContextClipToRect(CGContextRef ctx, QZRect r);
void QZ_ContextScaleCTM(CGContextRef ctx, double sx, double sy);
void QZ_ContextTranslateCTM(CGContextRef ctx, double tx, double ty);
// Makes everything drawn so far visible in the context's pixels.
void QZ_ContextFlush(CGContextRef ctx);
void QZ_ContextRelease(CGContextRef ctx);

// --- Bitmap contexts

// A context drawing into width x height 32-bit pixels at `pixels` (the
// caller keeps them alive), row bytes 4 x width, with premultiplied alpha
// first or with the first byte skipped. Null for a bad size or layout.
CGContextRef QZ_BitmapContextCreate(uint8_t* pixels, int32_t width, int32_t height,
                                    uint32_t bitmapInfo);
uint8_t* QZ_BitmapContextGetData(CGContextRef ctx);
int32_t QZ_BitmapContextGetWidth(CGContextRef ctx);
int32_t QZ_BitmapContextGetHeight(CGContextRef ctx);
// An image of the bitmap's pixels as they are now (a copy).
CGImageRef QZ_BitmapContextCreateImage(CGContextRef ctx);

// --- Images

// An image whose rows a callback delivers when the image is drawn; `info` must
// outlive the image. Null for a bad size.
CGImageRef QZ_ImageCreateWithRows(int32_t width, int32_t height, int32_t bitsPerPixel,
                                  int32_t rowBytes, uint32_t bitmapInfo, QZRowCallback rows,
                                  void* info);
// An image reading pixels in place; the memory must outlive the image.
CGImageRef QZ_ImageCreateWithBits(const uint8_t* base, int32_t width, int32_t height,
                                  int32_t bitsPerPixel, int32_t rowBytes, uint32_t bitmapInfo);
// A mask of 8-bit samples read in place: 0 paints fully, 255 not at all.
CGImageRef QZ_ImageMaskCreateWithBits(const uint8_t* base, int32_t width, int32_t height,
                                      int32_t rowBytes);
int32_t QZ_ImageGetWidth(CGImageRef image);
int32_t QZ_ImageGetHeight(CGImageRef image);
void QZ_ImageRelease(CGImageRef image);

// Draws the image stretched into r (user space), first row at r's top edge.
// A mask image paints opaque black through its samples.
void QZ_ContextDrawImage(CGContextRef ctx, QZRect r, CGImageRef image);

// Draws the image upright and stretched to fill r in a context opened by
// QZ_OpenContext (it undoes the flip inside a saved graphics state).
// itemInfo is not used by the imaging code and may be null.
void QZdrawfit_image(CGContextRef ctx, Rect r, CGImageRef image, void* itemInfo);
