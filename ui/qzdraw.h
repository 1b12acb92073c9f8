// The UI's drawing primitives on a context: shadowed and rounded shapes,
// plain, soft and gradient lines, Bezier links, ovals, arcs, triangles,
// arrows, grids, path builders and images with highlight effects.
//
// Coordinates are in the context's user space (the UI's contexts are
// flipped: y grows downwards). Colours are alpha, red, green, blue in 0..1;
// the QZ8_ forms take one grey value and draw at alpha 1. Each primitive
// that draws keeps the context's state as it found it (colours, widths,
// caps and shadow are set inside a saved graphics state). The path builders
// (QZpath_) add to the current path and leave the drawing to the caller.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "imaging/quartz.h"

// The shadow colour of the UI: black at alpha 0.6 (the UI start-up may set
// another).
extern QZColor gshadowcoloref;
// The application's highlight image, drawn under highlighted pictures of
// highlight kind 1; null until the UI start-up loads it.
extern CGImageRef gUIHilitImage;

struct QZPoint
{
  float x = 0, y = 0;
};

// --- Filled and framed shapes

void QZ_paintShadowedPath(CGContextRef ctx, float alpha, float red, float green, float blue);
void QZ_paintShadowedRect(CGContextRef ctx, float x, float y, float w, float h, float alpha,
                          float red, float green, float blue);
void QZ_paintRoundBox(CGContextRef ctx, float x, float y, float w, float h, float radius,
                      float alpha, float red, float green, float blue);
void QZ_frameRoundBox(CGContextRef ctx, float x, float y, float w, float h, float radius,
                      int16_t lineWidth, float alpha, float red, float green, float blue);
void QZ8_frameRoundBox(CGContextRef ctx, float x, float y, float w, float h, float radius,
                       float lineWidth, float grey);
void QZ_paintOval(CGContextRef ctx, float x, float y, float w, float h, float alpha, float red,
                  float green, float blue);
void QZ8_paintOval(CGContextRef ctx, float x, float y, float w, float h, float grey);
void QZ_frameOval(CGContextRef ctx, float x, float y, float w, float h, float lineWidth,
                  float alpha, float red, float green, float blue);
void QZ8_frameOval(CGContextRef ctx, float x, float y, float w, float h, float lineWidth,
                   float grey);
// The right triangle (x, y), (x, y + h), (x + w, y + h).
void QZ_paintTriangle(CGContextRef ctx, float x, float y, float w, float h, float alpha, float red,
                      float green, float blue);
void QZ8_paintTriangle(CGContextRef ctx, float x, float y, float w, float h, float grey);
// A corner fillet: the square's left and bottom edges closed by a quarter
// circle about its top-right corner (in y-down terms), scaled to the box.
void QZ_paintArcFilter(CGContextRef ctx, float x, float y, float w, float h, float alpha, float red,
                       float green, float blue);
void QZ8_paintArcFilter(CGContextRef ctx, float x, float y, float w, float h, float grey);
// In the unit space [-1, 1]: n vertical and n horizontal bars at
// -1 + i 2/n, 0.1 of a cell thick and 2 long, filled.
void QZ_StrokeUnitGrid(CGContextRef ctx, int32_t n, float alpha, float red, float green,
                       float blue);

// --- Lines

void QZ_drawLine(CGContextRef ctx, float x0, float y0, float x1, float y1, float width, float alpha,
                 float red, float green, float blue);
void QZ8_drawLine(CGContextRef ctx, float x0, float y0, float x1, float y1, float width,
                  float grey);
// A link leaving and arriving horizontally: control points (x0 + d/2, y0)
// and (x1 - d/2, y1), d = x1 - x0; round caps.
void QZ_drawBLine(CGContextRef ctx, float x0, float y0, float x1, float y1, float width,
                  float alpha, float red, float green, float blue);
void QZ8_drawBLine(CGContextRef ctx, float x0, float y0, float x1, float y1, float width,
                   float grey);
// A soft line n wide: with k = 1/n and a = min(8k, 1), strokes of widths n,
// n - 1, ..., 1 at alpha w k (k/2 - a) + a, round caps (round joins in the
// colour form); the colour's alpha is not used. n of 1 or less: one stroke
// 1 wide in the colour.
void QZ_drawFuzzyLine(CGContextRef ctx, float x0, float y0, float x1, float y1, int16_t n,
                      float alpha, float red, float green, float blue);
void QZ8_drawFuzzyLine(CGContextRef ctx, float x0, float y0, float x1, float y1, int16_t n,
                       float grey);
// A gradient line n wide: strokes of widths n, n - 2, ... above 0, each in
// A + (w / n)(B - A) channel by channel (alpha included); round caps.
// Colours are four floats alpha, red, green, blue.
void QZ_drawGradLine(CGContextRef ctx, float x0, float y0, float x1, float y1, int16_t n,
                     const float colorA[4], const float colorB[4]);
void QZ8_drawGradLine(CGContextRef ctx, float x0, float y0, float x1, float y1, int16_t n,
                      float greyA, float greyB);

// --- Paths

void QZpath_lines(CGContextRef ctx, const QZPoint* points, int32_t count);
void QZpath_polyon(CGContextRef ctx, const QZPoint* points, int32_t count);
// Offset by half a pixel so that a 1-pixel stroke covers whole pixels.
void QZpath_Rect(CGContextRef ctx, float x, float y, float w, float h);
// (x, y), (x, y + h), then (x + w, y + h) for flag 0 or (x + w, y), closed.
void QZpath_Triangle(CGContextRef ctx, float x, float y, float w, float h, int16_t flag);
// The triangle (-0.5, 0.5), (0.5, 0.5), (0, -0.5) turned by `angle`,
// scaled by (w, h) and centred in the box.
void QZpath_Arrow(CGContextRef ctx, float x, float y, float w, float h, float angle);
// The unit circle scaled by (w, h) about (x + w, y), from start to
// start + sweep.
void QZpath_Arc(CGContextRef ctx, float x, float y, float w, float h, float start, float sweep);
// A circle of radius 0.5 from start to start + sweep: for start >= 0 about
// (x + w/2, y + h) scaled by (w, -2h); else about (x, y + h/2) scaled by
// (2w, h).
void QZpath_HalfCircle(CGContextRef ctx, float x, float y, float w, float h, float start,
                       float sweep);
// New path objects (release with QZ_PathRelease).
CGMutablePathRef QZMpath_lines(const QZPoint* points, int32_t count);
// Target marks on [-w, w] x [-h, h]: an L at each corner with arms f w and
// f h, and a tick along the middle of each edge, 2 f w (top, bottom) or 2 f h
// (left, right) long.
CGMutablePathRef QZMpath_UnitBoxTarget(float w, float h, float f);
// Strokes the path; a width above 0 and a colour (alpha, red, green, blue)
// are set only when given.
void QZMPath_stroke(CGContextRef ctx, CGMutablePathRef path, float width = 0,
                    const float* color = nullptr);
// Adds the path, closes it and fills it.
void QZMPath_fill(CGContextRef ctx, CGMutablePathRef path, float alpha, float red, float green,
                  float blue);

// --- Images

// Draws the image at its pixel size with its top-left at (x, y), applying
// the flags: the shadow flag casts the UI shadow; highlight mode 1 dims to
// alpha 0.333; mode 2 draws the highlighted image with the image over it at
// alpha 0.4; mode 3 and above the highlighted image alone.
void QZdraw_image(CGContextRef ctx, float x, float y, CGImageRef image,
                  const QZDrawFlags* flags = nullptr);
// A new w x h image of the image highlighted by the flags' kind: 0 tinted
// by the flags' colour (luminosity blend), 1 over the highlight image
// (screen blend), 2-4 through gw_hilit and gw_alphapremul. With the mask
// flag the image's alpha clips and the result keeps alpha. Null when the
// bitmap cannot be made (negative sizes count as 0).
CGImageRef QZ_BuildHilitimage(CGImageRef image, int32_t w, int32_t h, const QZDrawFlags* flags);
