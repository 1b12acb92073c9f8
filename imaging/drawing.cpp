#include "imaging/drawing.h"

#include <algorithm>
#include <vector>

#include "imaging/pixels_pvt.h"

using kvpix::ColorMatcher;
using kvpix::ReadValue;
using kvpix::ValueToColor;
using kvpix::WriteValue;

namespace {

bool IsBlack(const RGBColor& c)
{
  return c.red == 0 && c.green == 0 && c.blue == 0;
}
bool IsWhite(const RGBColor& c)
{
  return c.red == 0xFFFF && c.green == 0xFFFF && c.blue == 0xFFFF;
}

normalcolor ToNormal(const RGBColor& c)
{
  return normalcolor{255, uint8_t(c.red >> 8), uint8_t(c.green >> 8), uint8_t(c.blue >> 8)};
}

uint8_t Clamp255(int32_t v)
{
  return uint8_t(std::clamp(v, 0, 255));
}

// The pixel map and the rectangle of the destination that a drawing may touch.
Rect DrawableArea(CGrafPtr port)
{
  return SectRect(port->clipRect, port->portPixMap->bounds);
}

uint32_t AllOnes(const PixMap& pm)
{
  switch (pm.pixelSize) {
    case 32:
      return 0xFFFFFFFFu;
    case 16:
      return 0x7FFF;
    case 8:
      return 0xFF;
    default:
      return 1;
  }
}

uint32_t CombineBoolean(int mode, uint32_t s, uint32_t d, uint32_t ones)
{
  uint32_t ns = ~s & ones;
  switch (mode) {
    case srcOr:
      return s | d;
    case srcXor:
      return s ^ d;
    case srcBic:
      return d & ns;
    case notSrcCopy:
      return ns;
    case notSrcOr:
      return ns | d;
    case notSrcXor:
      return ns ^ d;
    case notSrcBic:
      return d & s;
    default:
      return s;
  }
}

// op16 is the operation colour's 16-bit channel: the blend weight of the
// source, or (its high byte) the pin of addPin and subPin.
uint8_t CombineChannel(int mode, int32_t s, int32_t d, int32_t op16)
{
  const int32_t op = op16 >> 8;
  switch (mode) {
    case blend:
      return Clamp255(int32_t((int64_t(s) * op16 + int64_t(d) * (65535 - op16)) / 65535));
    case addPin:
      return uint8_t(std::min(s + d, op));
    case addOver:
      return uint8_t((s + d) & 255);
    case subPin:
      return uint8_t(std::max(d - s, op));
    case addMax:
      return uint8_t(std::max(s, d));
    case subOver:
      return uint8_t((d - s) & 255);
    case adMin:
      return uint8_t(std::min(s, d));
    default:
      return uint8_t(s);
  }
}

bool IsArithmetic(int mode)
{
  return mode >= blend && mode <= adMin;
}

// What one transfer needs to know, decided once per call.
struct Transfer
{
  const PixMap* src;
  const PixMap* dst;
  const PixMap* mask;
  Rect srcRect, dstRect, maskRect;
  int mode;
  RGBColor fore, back, op;
};

normalcolor Colourize(normalcolor s, const Transfer& t)
{
  normalcolor f = ToNormal(t.fore), b = ToNormal(t.back);
  return normalcolor{s.flag, uint8_t((s.red & b.red) | (~s.red & f.red)),
                     uint8_t((s.green & b.green) | (~s.green & f.green)),
                     uint8_t((s.blue & b.blue) | (~s.blue & f.blue))};
}

// The weight (0..255) of the transfer's result at a mask pixel: 255 where the
// mask is black.
uint32_t MaskWeight(const PixMap& mask, uint32_t value)
{
  normalcolor c = ValueToColor(mask, value);
  return 255 - uint32_t(c.red + c.green + c.blue) / 3;
}

uint32_t MixByWeight(const PixMap& dst, ColorMatcher& match, uint32_t result, uint32_t d,
                     uint32_t w)
{
  if (w >= 255)
    return result;
  if (w == 0)
    return d;
  normalcolor r = ValueToColor(dst, result), o = ValueToColor(dst, d);
  auto mix = [w](uint8_t a, uint8_t b) { return uint8_t((a * w + b * (255 - w)) / 255); };
  normalcolor m{w >= 128 ? r.flag : o.flag, mix(r.red, o.red), mix(r.green, o.green),
                mix(r.blue, o.blue)};
  return match(m);
}

void RunTransfer(const Transfer& t, const Rect& area)
{
  const PixMap& src = *t.src;
  const PixMap& dst = *t.dst;
  const int32_t srcW = RectWidth(t.srcRect), srcH = RectHeight(t.srcRect);
  const int32_t dstW = RectWidth(t.dstRect), dstH = RectHeight(t.dstRect);
  const bool defaultColours = IsBlack(t.fore) && IsWhite(t.back);
  const bool sameLayout =
      src.pixelSize == dst.pixelSize && (src.pixelSize != 8 || src.colorTable == dst.colorTable);
  const uint32_t ones = AllOnes(dst);
  ColorMatcher match(dst);
  const normalcolor backColour = ToNormal(t.back);

  for (int32_t y = area.top; y < area.bottom; ++y) {
    int32_t sy = t.srcRect.top + int32_t(int64_t(y - t.dstRect.top) * srcH / dstH);
    if (sy < src.bounds.top || sy >= src.bounds.bottom)
      continue;
    int32_t my = t.maskRect.top + (sy - t.srcRect.top);
    for (int32_t x = area.left; x < area.right; ++x) {
      int32_t sx = t.srcRect.left + int32_t(int64_t(x - t.dstRect.left) * srcW / dstW);
      if (sx < src.bounds.left || sx >= src.bounds.right)
        continue;
      uint32_t weight = 255;
      if (t.mask) {
        int32_t mx = t.maskRect.left + (sx - t.srcRect.left);
        const PixMap& m = *t.mask;
        if (mx < m.bounds.left || mx >= m.bounds.right || my < m.bounds.top ||
            my >= m.bounds.bottom)
          continue;
        weight = MaskWeight(m, ReadValue(m, mx - m.bounds.left, my - m.bounds.top));
        if (weight == 0)
          continue;
      }
      const int32_t dc = x - dst.bounds.left, dr = y - dst.bounds.top;
      const uint32_t sv = ReadValue(src, sx - src.bounds.left, sy - src.bounds.top);
      const uint32_t dv = ReadValue(dst, dc, dr);
      uint32_t result;
      if (IsArithmetic(t.mode)) {
        normalcolor s = ValueToColor(src, sv), d = ValueToColor(dst, dv);
        if (t.mode == transparent) {
          if (s.red == backColour.red && s.green == backColour.green && s.blue == backColour.blue)
            continue;
          s.flag = d.flag;
          result = match(s);
        } else {
          normalcolor r{d.flag, CombineChannel(t.mode, s.red, d.red, t.op.red),
                        CombineChannel(t.mode, s.green, d.green, t.op.green),
                        CombineChannel(t.mode, s.blue, d.blue, t.op.blue)};
          result = match(r);
        }
      } else {
        uint32_t s = sv;
        if (!sameLayout || !defaultColours) {
          normalcolor c = ValueToColor(src, sv);
          if (!defaultColours)
            c = Colourize(c, t);
          if (src.pixelSize != 32)
            c.flag = ValueToColor(dst, dv).flag;
          s = match(c);
        }
        result = CombineBoolean(t.mode, s, dv, ones);
        if (dst.pixelSize == 32 && src.pixelSize != 32)
          result = (result & 0x00FFFFFFu) | (dv & 0xFF000000u);
      }
      if (t.mask)
        result = MixByWeight(dst, match, result, dv, weight);
      WriteValue(dst, dc, dr, result);
    }
  }
}

// A private copy of a map's pixels, for transfers whose source and
// destination share memory.
struct PixelSnapshot
{
  std::vector<uint8_t> bytes;
  PixMap map;

  explicit PixelSnapshot(const PixMap& pm) : map(pm)
  {
    size_t size = size_t(pm.rowBytes) * size_t(std::max(0, RectHeight(pm.bounds)));
    bytes.assign(pm.baseAddr, pm.baseAddr + size);
    map.baseAddr = bytes.data();
  }
};

void Transfer2(const PixMap* src, const PixMap* mask, CGrafPtr dst, const Rect* srcRect,
               const Rect* maskRect, const Rect* dstRect, int16_t mode)
{
  if (!src || !src->baseAddr || !dst || !dst->portPixMap || !dst->portPixMap->baseAddr ||
      !srcRect || !dstRect)
    return;
  if (RectIsEmpty(*srcRect) || RectIsEmpty(*dstRect))
    return;
  Rect area = SectRect(*dstRect, DrawableArea(dst));
  if (RectIsEmpty(area))
    return;

  int baseMode = mode & 0xFF;
  if (baseMode & ditherCopy)
    baseMode &= ~ditherCopy;
  if (!(baseMode <= notSrcBic || IsArithmetic(baseMode)))
    baseMode = srcCopy;

  const DrawState& colours = dst->drawState;
  Transfer t{src,         dst->portPixMap,   mask,
             *srcRect,    *dstRect,          maskRect ? *maskRect : *srcRect,
             baseMode,    colours.foreColor, colours.backColor,
             dst->opColor};
  if (src->baseAddr == t.dst->baseAddr) {
    PixelSnapshot copy(*src);
    t.src = &copy.map;
    RunTransfer(t, area);
    return;
  }
  RunTransfer(t, area);
}

// Calls paint(col, row) for every pixel of the current port inside `r` and
// its drawable area.
template <class Paint>
void ForEachPixel(CGrafPtr port, const Rect& r, Paint paint)
{
  Rect area = SectRect(r, DrawableArea(port));
  for (int32_t y = area.top; y < area.bottom; ++y)
    for (int32_t x = area.left; x < area.right; ++x)
      paint(x, y);
}

// Applies a verb to one pixel (port coordinates).
class VerbPainter
{
public:
  VerbPainter(CGrafPtr port, uint8_t verb)
      : pm_(*port->portPixMap),
        match_(pm_),
        verb_(verb),
        fore_(ToNormal(port->drawState.foreColor)),
        back_(ToNormal(port->drawState.backColor))
  {}

  void operator()(int32_t x, int32_t y)
  {
    const int32_t col = x - pm_.bounds.left, row = y - pm_.bounds.top;
    uint32_t dv = ReadValue(pm_, col, row);
    normalcolor old = ValueToColor(pm_, dv), c;
    switch (verb_) {
      case kVerbErase:
        c = back_;
        break;
      case kVerbInvert:
        if (pm_.pixelSize == 8 || pm_.pixelSize == 1) {
          WriteValue(pm_, col, row, ~dv & (pm_.pixelSize == 8 ? 0xFF : 1));
          return;
        }
        c = normalcolor{0, uint8_t(255 - old.red), uint8_t(255 - old.green),
                        uint8_t(255 - old.blue)};
        break;
      default:
        c = fore_;
        break;
    }
    c.flag = old.flag;
    WriteValue(pm_, col, row, match_(c));
  }

private:
  const PixMap& pm_;
  ColorMatcher match_;
  uint8_t verb_;
  normalcolor fore_, back_;
};

// Draws a shape given by an inside test over its bounding box: frame verbs
// touch the inside pixels that have a neighbour outside.
template <class Inside>
void DrawShape(uint8_t verb, const Rect& box, Inside inside)
{
  CGrafPtr port = nullptr;
  GetGWorld(&port, nullptr);
  if (!port || !port->portPixMap || !port->portPixMap->baseAddr || RectIsEmpty(box))
    return;
  VerbPainter paint(port, verb);
  ForEachPixel(port, box, [&](int32_t x, int32_t y) {
    if (!inside(x, y))
      return;
    if (verb == kVerbFrame && inside(x - 1, y) && inside(x + 1, y) && inside(x, y - 1) &&
        inside(x, y + 1))
      return;
    paint(x, y);
  });
}

}  // namespace

void CopyBits(const PixMap* src, CGrafPtr dst, const Rect* srcRect, const Rect* dstRect,
              int16_t mode)
{
  Transfer2(src, nullptr, dst, srcRect, nullptr, dstRect, mode);
}

void CopyDeepMask(const PixMap* src, const PixMap* mask, CGrafPtr dst, const Rect* srcRect,
                  const Rect* maskRect, const Rect* dstRect, int16_t mode)
{
  if (!mask || !mask->baseAddr)
    return;
  Transfer2(src, mask, dst, srcRect, maskRect, dstRect, mode);
}

void OpColor(CGrafPtr port, const RGBColor* color)
{
  if (port && color)
    port->opColor = *color;
}

void EraseRect(const Rect* r)
{
  if (r)
    StdRect(kVerbErase, r);
}

void StdRect(uint8_t verb, const Rect* r)
{
  if (!r)
    return;
  const Rect box = *r;
  DrawShape(verb, box, [&](int32_t x, int32_t y) {
    return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
  });
}

void StdOval(uint8_t verb, const Rect* r)
{
  if (!r)
    return;
  const Rect box = *r;
  const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
  const double rx = RectWidth(box) / 2.0, ry = RectHeight(box) / 2.0;
  DrawShape(verb, box, [&](int32_t x, int32_t y) {
    if (x < box.left || x >= box.right || y < box.top || y >= box.bottom)
      return false;
    double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  });
}

void StdRgn(uint8_t verb, RgnHandle rgn)
{
  if (!rgn || rgn->rects.empty())
    return;
  Rect box = rgn->rects.front();
  for (const Rect& r : rgn->rects) {
    box.top = std::min(box.top, r.top), box.left = std::min(box.left, r.left);
    box.bottom = std::max(box.bottom, r.bottom), box.right = std::max(box.right, r.right);
  }
  DrawShape(verb, box, [&](int32_t x, int32_t y) {
    for (const Rect& r : rgn->rects)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
        return true;
    return false;
  });
}
