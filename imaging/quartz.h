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
#include <vector>

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

// The image of what draw(ctx) paints into a new transparent bitmap of width
// x height (premultiplied, alpha first); null for a size below 1 or when no
// context can be made. Callers hold the size to their own limit.
template <class Draw>
CGImageRef QZ_ImageFromDrawing(int32_t width, int32_t height, Draw&& draw)
{
  if (width <= 0 || height <= 0)
    return nullptr;
  std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4, 0);
  CGContextRef ctx =
      QZ_BitmapContextCreate(pixels.data(), width, height, kQZBitmapPremultipliedFirst);
  if (!ctx)
    return nullptr;
  draw(ctx);
  QZ_ContextFlush(ctx);
  CGImageRef image = QZ_BitmapContextCreateImage(ctx);
  QZ_ContextRelease(ctx);
  return image;
}

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

// How an image is drawn by the UI's image primitives (8 bytes): a colour
// (alpha, red, green, blue), the mask flag (the image has alpha to clip
// with), the shadow flag, the highlight kind (0 colour tint, 1 highlight
// image, 2-4 pixel highlight filter) and the highlight mode (0 plain,
// 1 dimmed, 2 highlighted with the unmodified image over it, 3 and above
// highlighted).
struct QZDrawFlags
{
  normalcolor color;
  uint8_t mask = 0;
  uint8_t shadow = 0;
  uint8_t hilitKind = 0;
  uint8_t hilitMode = 0;
};
static_assert(sizeof(QZDrawFlags) == 8);

// Draws the image upright and stretched to fill r in a context opened by
// QZ_OpenContext (it undoes the flip inside a saved graphics state). With
// flags of highlight mode 1 the image is dimmed to alpha 0.333; flags may be
// null.
void QZdrawfit_image(CGContextRef ctx, Rect r, CGImageRef image, const QZDrawFlags* flags);

// --- Colours, lines and what every drawing is composed with
//
// All of it belongs to the graphics state: QZ_ContextSaveGState and
// QZ_ContextRestoreGState keep and bring back colours, line settings, the
// global alpha, the shadow, the clip (rectangles and masks) and the current
// transform. A new context fills and strokes in opaque black, line width 1,
// butt caps, miter joins, no dashes, alpha 1, no shadow.

// A colour with components in 0..1.
struct QZColor
{
  double red = 0, green = 0, blue = 0, alpha = 1;
};

enum : int32_t
{
  kQZLineCapButt = 0,
  kQZLineCapRound = 1,
  kQZLineCapSquare = 2,
};
enum : int32_t
{
  kQZLineJoinMiter = 0,
  kQZLineJoinRound = 1,
  kQZLineJoinBevel = 2,
};

void QZ_ContextSetRGBFillColor(CGContextRef ctx, double red, double green, double blue,
                               double alpha);
void QZ_ContextSetRGBStrokeColor(CGContextRef ctx, double red, double green, double blue,
                                 double alpha);
void QZ_ContextSetGrayFillColor(CGContextRef ctx, double grey, double alpha);
void QZ_ContextSetGrayStrokeColor(CGContextRef ctx, double grey, double alpha);
QZColor QZ_ContextGetFillColor(CGContextRef ctx);
QZColor QZ_ContextGetStrokeColor(CGContextRef ctx);
// Widths and dash lengths are in user space at the time of stroking.
void QZ_ContextSetLineWidth(CGContextRef ctx, double width);
double QZ_ContextGetLineWidth(CGContextRef ctx);
void QZ_ContextSetLineCap(CGContextRef ctx, int32_t cap);
void QZ_ContextSetLineJoin(CGContextRef ctx, int32_t join);
void QZ_ContextSetMiterLimit(CGContextRef ctx, double limit);
// count lengths (on, off, on...) starting `phase` into the pattern; a count
// of 0 or null lengths draw solid lines.
void QZ_ContextSetLineDash(CGContextRef ctx, double phase, const double* lengths, size_t count);
// Every later drawing is composed at this alpha (held to 0..1).
void QZ_ContextSetAlpha(CGContextRef ctx, double alpha);
// A shadow under every later fill, stroke, image and cairo drawing: the
// drawing's coverage blurred over about `blur` pixels, painted in `color` at
// (dx, dy) in the context's base space (y up, unaffected by the current
// transform), then the drawing over it. A null colour or a colour of alpha 0
// turns the shadow off. QZ_ContextSetShadow uses black at alpha 1/3.
void QZ_ContextSetShadowWithColor(CGContextRef ctx, double dx, double dy, double blur,
                                  const QZColor* color);
void QZ_ContextSetShadow(CGContextRef ctx, double dx, double dy, double blur);
// Cuts every later drawing to the image's coverage drawn into r (user
// space, first row at r's top edge): a mask image's samples (0 paints), a
// grey image's values (255 paints), a colour image's alpha. Nothing outside
// r is drawn. Combines with the clip already set.
void QZ_ContextClipToMask(CGContextRef ctx, QZRect r, CGImageRef image);
void QZ_ContextRotateCTM(CGContextRef ctx, double radians);

// --- The current path
//
// Points are transformed by the current transform as they are added; the
// path is not part of the graphics state. Filling or stroking empties it.

void QZ_ContextBeginPath(CGContextRef ctx);
void QZ_ContextMoveToPoint(CGContextRef ctx, double x, double y);
void QZ_ContextAddLineToPoint(CGContextRef ctx, double x, double y);
void QZ_ContextAddCurveToPoint(CGContextRef ctx, double cx1, double cy1, double cx2, double cy2,
                               double x, double y);
// An arc of radius r about (x, y) from angle `start` to `end` (radians,
// measured from the x axis towards the y axis), turning towards decreasing
// angles when `clockwise` is set; a line joins the current point to the
// arc's start.
void QZ_ContextAddArc(CGContextRef ctx, double x, double y, double radius, double start, double end,
                      bool clockwise);
void QZ_ContextClosePath(CGContextRef ctx);
void QZ_ContextAddRect(CGContextRef ctx, QZRect r);
void QZ_ContextAddEllipseInRect(CGContextRef ctx, QZRect r);
bool QZ_ContextIsPathEmpty(CGContextRef ctx);

enum : int32_t
{
  kQZPathFill = 0,
  kQZPathEOFill = 1,
  kQZPathStroke = 2,
  kQZPathFillStroke = 3,
  kQZPathEOFillStroke = 4,
};
void QZ_ContextDrawPath(CGContextRef ctx, int32_t mode);
void QZ_ContextFillPath(CGContextRef ctx);
void QZ_ContextEOFillPath(CGContextRef ctx);
void QZ_ContextStrokePath(CGContextRef ctx);
// Replace the current path by the rectangle and fill or stroke it.
void QZ_ContextFillRect(CGContextRef ctx, QZRect r);
void QZ_ContextStrokeRect(CGContextRef ctx, QZRect r);

// --- Path objects
//
// A path kept apart from any context, in the coordinates it was built with;
// adding it to a context transforms it by that context's current transform.

struct QZPath;
using CGMutablePathRef = QZPath*;

CGMutablePathRef QZ_PathCreateMutable();
void QZ_PathRelease(CGMutablePathRef path);
void QZ_PathMoveToPoint(CGMutablePathRef path, double x, double y);
void QZ_PathAddLineToPoint(CGMutablePathRef path, double x, double y);
void QZ_PathAddCurveToPoint(CGMutablePathRef path, double cx1, double cy1, double cx2, double cy2,
                            double x, double y);
void QZ_PathAddArc(CGMutablePathRef path, double x, double y, double radius, double start,
                   double end, bool clockwise);
void QZ_PathCloseSubpath(CGMutablePathRef path);
void QZ_PathAddRect(CGMutablePathRef path, QZRect r);
bool QZ_PathIsEmpty(CGMutablePathRef path);
void QZ_ContextAddPath(CGContextRef ctx, CGMutablePathRef path);

// --- Drawing with cairo
//
// Runs `draw` with the context's cairo handle (a cairo_t*) inside the
// context's drawing bracket, so that the pixels are current before and
// written back after. The handle comes with the context's current
// transform, line settings and the fill colour as source; what `draw` paints
// is composed with the global alpha, blend mode, clip and shadow. `draw` may
// be called twice (once more for the shadow's coverage, on another handle)
// and must draw the same each time; it must leave the handle's save/restore
// depth as it found it.
using QZCairoProc = void (*)(void* cairo, void* info);
void QZ_ContextDrawWithCairo(CGContextRef ctx, QZCairoProc draw, void* info);
