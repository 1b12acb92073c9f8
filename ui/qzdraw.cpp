#include "ui/qzdraw.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "imaging/filters.h"

QZColor gshadowcoloref{0, 0, 0, 0.6};
CGImageRef gUIHilitImage = nullptr;

namespace {

constexpr double kPi = std::numbers::pi;
// Loops whose count a caller passes are held to this.
constexpr int32_t kMaxCount = 4096;

void Fill(CGContextRef ctx, float alpha, float red, float green, float blue)
{
  QZ_ContextSetRGBFillColor(ctx, red, green, blue, alpha);
  QZ_ContextFillPath(ctx);
}

void Stroke(CGContextRef ctx, double width, float alpha, float red, float green, float blue)
{
  QZ_ContextSetLineWidth(ctx, width);
  QZ_ContextSetRGBStrokeColor(ctx, red, green, blue, alpha);
  QZ_ContextStrokePath(ctx);
}

void RoundBoxPath(CGContextRef ctx, float x, float y, float w, float h, float r)
{
  QZ_ContextBeginPath(ctx);
  QZ_ContextAddArc(ctx, x + r, y + r, r, -kPi, -kPi / 2, false);
  QZ_ContextAddArc(ctx, x + w - r, y + r, r, -kPi / 2, 0, false);
  QZ_ContextAddArc(ctx, x + w - r, y + h - r, r, 0, kPi / 2, false);
  QZ_ContextAddArc(ctx, x + r, y + h - r, r, kPi / 2, kPi, false);
  QZ_ContextClosePath(ctx);
}

// The unit circle of radius 0.5 scaled by (w, h) about the box's centre.
void OvalPath(CGContextRef ctx, float x, float y, float w, float h)
{
  QZ_ContextBeginPath(ctx);
  QZ_ContextAddEllipseInRect(ctx, QZRect{x, y, w, h});
}

void TrianglePath(CGContextRef ctx, float x, float y, float w, float h, bool upper)
{
  QZ_ContextMoveToPoint(ctx, x, y);
  QZ_ContextAddLineToPoint(ctx, x, y + h);
  if (upper)
    QZ_ContextAddLineToPoint(ctx, x + w, y);
  else
    QZ_ContextAddLineToPoint(ctx, x + w, y + h);
  QZ_ContextClosePath(ctx);
}

void ArcFilterPath(CGContextRef ctx, float x, float y, float w, float h)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextTranslateCTM(ctx, x + w / 2.0, y + h / 2.0);
  QZ_ContextScaleCTM(ctx, w, h);
  QZ_ContextBeginPath(ctx);
  QZ_ContextMoveToPoint(ctx, -0.5, -0.5);
  QZ_ContextAddLineToPoint(ctx, -0.5, 0.5);
  QZ_ContextAddLineToPoint(ctx, 0.5, 0.5);
  QZ_ContextAddArc(ctx, 0.5, -0.5, 1, kPi / 2, kPi, false);
  QZ_ContextClosePath(ctx);
  QZ_ContextRestoreGState(ctx);
}

void LinePath(CGContextRef ctx, float x0, float y0, float x1, float y1)
{
  QZ_ContextBeginPath(ctx);
  QZ_ContextMoveToPoint(ctx, x0, y0);
  QZ_ContextAddLineToPoint(ctx, x1, y1);
}

void BLinePath(CGContextRef ctx, float x0, float y0, float x1, float y1)
{
  const double d = double(x1) - x0;
  QZ_ContextBeginPath(ctx);
  QZ_ContextMoveToPoint(ctx, x0, y0);
  QZ_ContextAddCurveToPoint(ctx, x0 + d / 2, y0, x1 - d / 2, y1, x1, y1);
}

void FuzzyLine(CGContextRef ctx, float x0, float y0, float x1, float y1, int16_t n, float red,
               float green, float blue, bool roundJoins, float alpha)
{
  QZ_ContextSaveGState(ctx);
  if (n <= 1) {
    LinePath(ctx, x0, y0, x1, y1);
    Stroke(ctx, 1, alpha, red, green, blue);
  } else {
    const double k = 1.0 / n;
    const double a = std::min(8 * k, 1.0);
    QZ_ContextSetLineCap(ctx, kQZLineCapRound);
    if (roundJoins)
      QZ_ContextSetLineJoin(ctx, kQZLineJoinRound);
    for (int32_t w = n; w >= 1; --w) {
      LinePath(ctx, x0, y0, x1, y1);
      Stroke(ctx, w, float(w * k * (k / 2 - a) + a), red, green, blue);
    }
  }
  QZ_ContextRestoreGState(ctx);
}

void PolylinePath(CGContextRef ctx, const QZPoint* points, int32_t count, bool closed)
{
  if (!points || count < 2)
    return;
  count = std::min(count, kMaxCount);
  QZ_ContextMoveToPoint(ctx, points[0].x, points[0].y);
  for (int32_t i = 1; i < count; ++i)
    QZ_ContextAddLineToPoint(ctx, points[i].x, points[i].y);
  if (closed)
    QZ_ContextClosePath(ctx);
}

QZColor ColorOf(const normalcolor& c)
{
  return QZColor{c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.flag / 255.0};
}

}  // namespace

// --- Filled and framed shapes

void QZ_paintShadowedPath(CGContextRef ctx, float alpha, float red, float green, float blue)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetShadowWithColor(ctx, 4, -4, 4, &gshadowcoloref);
  Fill(ctx, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

void QZ_paintShadowedRect(CGContextRef ctx, float x, float y, float w, float h, float alpha,
                          float red, float green, float blue)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetShadowWithColor(ctx, 4.5, -4, 4, &gshadowcoloref);
  QZ_ContextSetRGBFillColor(ctx, red, green, blue, alpha);
  QZ_ContextFillRect(ctx, QZRect{x, y, w, h});
  QZ_ContextRestoreGState(ctx);
}

void QZ_paintRoundBox(CGContextRef ctx, float x, float y, float w, float h, float radius,
                      float alpha, float red, float green, float blue)
{
  QZ_ContextSaveGState(ctx);
  RoundBoxPath(ctx, x, y, w, h, radius);
  Fill(ctx, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

void QZ_frameRoundBox(CGContextRef ctx, float x, float y, float w, float h, float radius,
                      int16_t lineWidth, float alpha, float red, float green, float blue)
{
  QZ_ContextSaveGState(ctx);
  RoundBoxPath(ctx, x, y, w, h, radius);
  Stroke(ctx, lineWidth, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

void QZ8_frameRoundBox(CGContextRef ctx, float x, float y, float w, float h, float radius,
                       float lineWidth, float grey)
{
  QZ_ContextSaveGState(ctx);
  RoundBoxPath(ctx, x, y, w, h, radius);
  Stroke(ctx, lineWidth, 1, grey, grey, grey);
  QZ_ContextRestoreGState(ctx);
}

void QZ_paintOval(CGContextRef ctx, float x, float y, float w, float h, float alpha, float red,
                  float green, float blue)
{
  QZ_ContextSaveGState(ctx);
  OvalPath(ctx, x, y, w, h);
  Fill(ctx, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

void QZ8_paintOval(CGContextRef ctx, float x, float y, float w, float h, float grey)
{
  QZ_paintOval(ctx, x, y, w, h, 1, grey, grey, grey);
}

void QZ_frameOval(CGContextRef ctx, float x, float y, float w, float h, float lineWidth,
                  float alpha, float red, float green, float blue)
{
  QZ_ContextSaveGState(ctx);
  OvalPath(ctx, x, y, w, h);
  Stroke(ctx, lineWidth, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

void QZ8_frameOval(CGContextRef ctx, float x, float y, float w, float h, float lineWidth,
                   float grey)
{
  QZ_frameOval(ctx, x, y, w, h, lineWidth, 1, grey, grey, grey);
}

void QZ_paintTriangle(CGContextRef ctx, float x, float y, float w, float h, float alpha, float red,
                      float green, float blue)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextBeginPath(ctx);
  TrianglePath(ctx, x, y, w, h, false);
  Fill(ctx, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

void QZ8_paintTriangle(CGContextRef ctx, float x, float y, float w, float h, float grey)
{
  QZ_paintTriangle(ctx, x, y, w, h, 1, grey, grey, grey);
}

void QZ_paintArcFilter(CGContextRef ctx, float x, float y, float w, float h, float alpha, float red,
                       float green, float blue)
{
  QZ_ContextSaveGState(ctx);
  ArcFilterPath(ctx, x, y, w, h);
  Fill(ctx, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

void QZ8_paintArcFilter(CGContextRef ctx, float x, float y, float w, float h, float grey)
{
  QZ_paintArcFilter(ctx, x, y, w, h, 1, grey, grey, grey);
}

void QZ_StrokeUnitGrid(CGContextRef ctx, int32_t n, float alpha, float red, float green, float blue)
{
  if (n <= 0)
    return;
  n = std::min(n, kMaxCount);
  const double cell = 2.0 / n;
  const double thick = 0.1 * cell;
  QZ_ContextSaveGState(ctx);
  QZ_ContextBeginPath(ctx);
  for (int32_t i = 0; i < n; ++i) {
    const double at = -1 + i * cell - thick / 2;
    QZ_ContextAddRect(ctx, QZRect{at, -1, thick, 2});
    QZ_ContextAddRect(ctx, QZRect{-1, at, 2, thick});
  }
  Fill(ctx, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

// --- Lines

void QZ_drawLine(CGContextRef ctx, float x0, float y0, float x1, float y1, float width, float alpha,
                 float red, float green, float blue)
{
  QZ_ContextSaveGState(ctx);
  LinePath(ctx, x0, y0, x1, y1);
  Stroke(ctx, width, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

void QZ8_drawLine(CGContextRef ctx, float x0, float y0, float x1, float y1, float width, float grey)
{
  QZ_drawLine(ctx, x0, y0, x1, y1, width, 1, grey, grey, grey);
}

void QZ_drawBLine(CGContextRef ctx, float x0, float y0, float x1, float y1, float width,
                  float alpha, float red, float green, float blue)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetLineCap(ctx, kQZLineCapRound);
  BLinePath(ctx, x0, y0, x1, y1);
  Stroke(ctx, width, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

void QZ8_drawBLine(CGContextRef ctx, float x0, float y0, float x1, float y1, float width,
                   float grey)
{
  QZ_drawBLine(ctx, x0, y0, x1, y1, width, 1, grey, grey, grey);
}

void QZ_drawFuzzyLine(CGContextRef ctx, float x0, float y0, float x1, float y1, int16_t n,
                      float alpha, float red, float green, float blue)
{
  FuzzyLine(ctx, x0, y0, x1, y1, n, red, green, blue, true, alpha);
}

void QZ8_drawFuzzyLine(CGContextRef ctx, float x0, float y0, float x1, float y1, int16_t n,
                       float grey)
{
  FuzzyLine(ctx, x0, y0, x1, y1, n, grey, grey, grey, false, 1);
}

void QZ_drawGradLine(CGContextRef ctx, float x0, float y0, float x1, float y1, int16_t n,
                     const float colorA[4], const float colorB[4])
{
  if (!colorA || !colorB || n <= 0)
    return;
  QZ_ContextSaveGState(ctx);
  QZ_ContextSetLineCap(ctx, kQZLineCapRound);
  for (int32_t w = n; w > 0; w -= 2) {
    const double t = double(w) / n;
    float c[4];
    for (int i = 0; i < 4; ++i)
      c[i] = float(colorA[i] + t * (colorB[i] - colorA[i]));
    LinePath(ctx, x0, y0, x1, y1);
    Stroke(ctx, w, c[0], c[1], c[2], c[3]);
  }
  QZ_ContextRestoreGState(ctx);
}

void QZ8_drawGradLine(CGContextRef ctx, float x0, float y0, float x1, float y1, int16_t n,
                      float greyA, float greyB)
{
  const float a[4] = {1, greyA, greyA, greyA};
  const float b[4] = {1, greyB, greyB, greyB};
  QZ_drawGradLine(ctx, x0, y0, x1, y1, n, a, b);
}

// --- Paths

void QZpath_lines(CGContextRef ctx, const QZPoint* points, int32_t count)
{
  PolylinePath(ctx, points, count, false);
}

void QZpath_polyon(CGContextRef ctx, const QZPoint* points, int32_t count)
{
  PolylinePath(ctx, points, count, true);
}

void QZpath_Rect(CGContextRef ctx, float x, float y, float w, float h)
{
  QZ_ContextAddRect(ctx, QZRect{x + 0.5, y + 0.5, w, h});
}

void QZpath_Triangle(CGContextRef ctx, float x, float y, float w, float h, int16_t flag)
{
  TrianglePath(ctx, x, y, w, h, flag != 0);
}

void QZpath_Arrow(CGContextRef ctx, float x, float y, float w, float h, float angle)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextTranslateCTM(ctx, x + w / 2.0, y + h / 2.0);
  QZ_ContextScaleCTM(ctx, w, h);
  QZ_ContextRotateCTM(ctx, angle);
  QZ_ContextMoveToPoint(ctx, -0.5, 0.5);
  QZ_ContextAddLineToPoint(ctx, 0.5, 0.5);
  QZ_ContextAddLineToPoint(ctx, 0, -0.5);
  QZ_ContextClosePath(ctx);
  QZ_ContextRestoreGState(ctx);
}

void QZpath_Arc(CGContextRef ctx, float x, float y, float w, float h, float start, float sweep)
{
  QZ_ContextSaveGState(ctx);
  QZ_ContextTranslateCTM(ctx, double(x) + w, y);
  QZ_ContextScaleCTM(ctx, w, h);
  QZ_ContextAddArc(ctx, 0, 0, 1, start, double(start) + sweep, sweep < 0);
  QZ_ContextRestoreGState(ctx);
}

void QZpath_HalfCircle(CGContextRef ctx, float x, float y, float w, float h, float start,
                       float sweep)
{
  QZ_ContextSaveGState(ctx);
  if (start >= 0) {
    QZ_ContextTranslateCTM(ctx, x + w / 2.0, double(y) + h);
    QZ_ContextScaleCTM(ctx, w, -2.0 * h);
  } else {
    QZ_ContextTranslateCTM(ctx, x, y + h / 2.0);
    QZ_ContextScaleCTM(ctx, 2.0 * w, h);
  }
  QZ_ContextAddArc(ctx, 0, 0, 0.5, start, double(start) + sweep, sweep < 0);
  QZ_ContextRestoreGState(ctx);
}

CGMutablePathRef QZMpath_lines(const QZPoint* points, int32_t count)
{
  CGMutablePathRef path = QZ_PathCreateMutable();
  if (points && count >= 2) {
    count = std::min(count, kMaxCount);
    QZ_PathMoveToPoint(path, points[0].x, points[0].y);
    for (int32_t i = 1; i < count; ++i)
      QZ_PathAddLineToPoint(path, points[i].x, points[i].y);
  }
  return path;
}

CGMutablePathRef QZMpath_UnitBoxTarget(float w, float h, float f)
{
  CGMutablePathRef path = QZ_PathCreateMutable();
  const double aw = double(f) * w, ah = double(f) * h;
  // The corners, each an L whose arms run along the box's edges.
  for (int sx : {-1, 1})
    for (int sy : {-1, 1}) {
      const double cx = sx * double(w), cy = sy * double(h);
      QZ_PathMoveToPoint(path, cx - sx * aw, cy);
      QZ_PathAddLineToPoint(path, cx, cy);
      QZ_PathAddLineToPoint(path, cx, cy - sy * ah);
    }
  // The ticks at the middle of each edge.
  for (int s : {-1, 1}) {
    QZ_PathMoveToPoint(path, -aw, s * double(h));
    QZ_PathAddLineToPoint(path, aw, s * double(h));
    QZ_PathMoveToPoint(path, s * double(w), -ah);
    QZ_PathAddLineToPoint(path, s * double(w), ah);
  }
  return path;
}

void QZMPath_stroke(CGContextRef ctx, CGMutablePathRef path, float width, const float* color)
{
  if (!ctx || !path)
    return;
  if (width > 0)
    QZ_ContextSetLineWidth(ctx, width);
  if (color)
    QZ_ContextSetRGBStrokeColor(ctx, color[1], color[2], color[3], color[0]);
  QZ_ContextBeginPath(ctx);
  QZ_ContextAddPath(ctx, path);
  QZ_ContextStrokePath(ctx);
}

void QZMPath_fill(CGContextRef ctx, CGMutablePathRef path, float alpha, float red, float green,
                  float blue)
{
  if (!ctx || !path)
    return;
  QZ_ContextSaveGState(ctx);
  QZ_ContextBeginPath(ctx);
  QZ_ContextAddPath(ctx, path);
  QZ_ContextClosePath(ctx);
  Fill(ctx, alpha, red, green, blue);
  QZ_ContextRestoreGState(ctx);
}

// --- Images

void QZdraw_image(CGContextRef ctx, float x, float y, CGImageRef image, const QZDrawFlags* flags)
{
  if (!ctx || !image)
    return;
  const int32_t w = QZ_ImageGetWidth(image), h = QZ_ImageGetHeight(image);
  const QZRect place{0, 0, double(w), double(h)};
  QZ_ContextSaveGState(ctx);
  // Back to y up about the image's top-left.
  QZ_ContextTranslateCTM(ctx, x, double(y) + h);
  QZ_ContextScaleCTM(ctx, 1, -1);
  if (flags && flags->shadow)
    QZ_ContextSetShadowWithColor(ctx, 4.5, -4, 4, &gshadowcoloref);
  const int32_t mode = flags ? flags->hilitMode : 0;
  CGImageRef hilit = mode >= 2 ? QZ_BuildHilitimage(image, w, h, flags) : nullptr;
  if (mode == 1)
    QZ_ContextSetAlpha(ctx, 0.333);
  if (hilit) {
    QZ_ContextDrawImage(ctx, place, hilit);
    QZ_ImageRelease(hilit);
    if (mode == 2) {
      // The highlighted image already cast the shadow.
      QZ_ContextSetShadowWithColor(ctx, 0, 0, 0, nullptr);
      QZ_ContextSetAlpha(ctx, 0.4);
      QZ_ContextDrawImage(ctx, place, image);
    }
  } else {
    QZ_ContextDrawImage(ctx, place, image);
  }
  QZ_ContextRestoreGState(ctx);
}

CGImageRef QZ_BuildHilitimage(CGImageRef image, int32_t w, int32_t h, const QZDrawFlags* flags)
{
  if (!image || !flags)
    return nullptr;
  w = std::max(w, 0), h = std::max(h, 0);
  if (w == 0 || h == 0 || int64_t(w) * h > (int64_t(1) << 26))
    return nullptr;
  const bool masked = flags->mask != 0;
  // Without alpha the first byte of every pixel reads as opaque, so that
  // the premultiplication below keeps the colours.
  std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 4, 0);
  if (!masked)
    for (size_t i = 0; i < pixels.size(); i += 4)
      pixels[i] = 255;
  CGContextRef ctx = QZ_BitmapContextCreate(
      pixels.data(), w, h, masked ? kQZBitmapPremultipliedFirst : kQZBitmapSkipFirst);
  if (!ctx)
    return nullptr;
  const QZRect all{0, 0, double(w), double(h)};
  switch (flags->hilitKind) {
    case 0: {
      if (masked)
        QZ_ContextClipToMask(ctx, all, image);
      const QZColor c = ColorOf(flags->color);
      QZ_ContextSetRGBFillColor(ctx, c.red, c.green, c.blue, c.alpha);
      QZ_ContextFillRect(ctx, all);
      QZ_ContextSetBlendMode(ctx, 15);  // luminosity: the image's light in the colour
      QZ_ContextDrawImage(ctx, all, image);
      break;
    }
    case 1:
      if (masked)
        QZ_ContextClipToMask(ctx, all, image);
      if (gUIHilitImage)
        QZ_ContextDrawImage(ctx, all, gUIHilitImage);
      QZ_ContextSetBlendMode(ctx, 2);  // screen
      QZ_ContextDrawImage(ctx, all, image);
      break;
    default: {
      QZ_ContextDrawImage(ctx, all, image);
      const HiliteStyle style{flags->color, flags->mask, flags->hilitKind};
      gw_hilit(w, h, pixels.data(), w * 4, &style);
      gw_alphapremul(w, h, pixels.data(), w * 4, 0);
      break;
    }
  }
  CGImageRef result = QZ_BitmapContextCreateImage(ctx);
  QZ_ContextRelease(ctx);
  return result;
}
