// The vector item: bars of integers or reals, curves of integers or reals
// over a range, and the red, green and blue bytes of a colour.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/checked.h"
#include "foundation/vectors.h"
#include "imaging/ports.h"
#include "ui/edoc.h"
#include "ui/uidrawhelpers.h"
#include "ui/uidrawshapes.h"
#include "ui/uiframes.h"
#include "ui/uiset.h"
#include "ui/uitem.h"

namespace {

enum : int16_t
{
  kTypeByte = 1,
  kTypeShort = 2,
  kTypeDouble = 5,
};

enum : int8_t
{
  kIntBars = 0,
  kRealBars = 1,
  kIntCurve = 2,
  kRealCurve = 3,
  kIntBarsValue = 4,
  kRealBarsValue = 5,
  kColorBars = 6,
};

constexpr int16_t kValueLine = 16;  // the value line's height
constexpr int16_t kValueText = 14;  // the text's part of it, at the bottom
constexpr int16_t kRGBEntries = 3;
constexpr int32_t kRGBScale = 4;
constexpr size_t kMinBars =
    2;  // the bar editor's least count  // colour bytes are edited as bars 4 times larger

constexpr normalcolor kRGBBars[4] = {
    {255, 255, 0, 0}, {255, 0, 255, 0}, {255, 0, 0, 255}, {255, 255, 0, 0}};

const char* const kRGBNames[kRGBEntries] = {"r", "g", "b"};

// A colour's red, green and blue bytes in order.
uint8_t* rgbByte(normalcolor* c, int32_t i)
{
  return i == 0 ? &c->red : i == 1 ? &c->green : &c->blue;
}

}  // namespace

int16_t uitem_multivector::GetAuxTypeSize(int16_t* typeCode) const
{
  int16_t code = kTypeShort, size = 2;
  if (variant == kRealBars || variant == kRealCurve || variant == kRealBarsValue) {
    code = kTypeDouble;
    size = 8;
  } else if (variant == kColorBars) {
    code = kTypeByte;
    size = 1;
  }
  if (typeCode)
    *typeCode = code;
  return size;
}

int16_t uitem_multivector::Common(uiset* set, Rect r, bool drawOnly, const Point* where)
{
  Edoc* doc = set->owner;
  if (!number.data || !doc || !doc->context)
    return -1;
  if (variant == kColorBars)
    number.entries = kRGBEntries;
  const int16_t count = std::max<int16_t>(number.entries, 1);
  Rect area = r;
  if (variant > kRealCurve)
    area.bottom = int16_t(area.bottom - kValueLine);
  area = Rect{int16_t(area.top + 1), int16_t(area.left + 1), int16_t(area.bottom - 1),
              int16_t(area.right - 1)};
  const Point* point = drawOnly ? nullptr : where;
  const normalcolor curve =
      visibility == kUIDisabled ? UI_MeanColor(color2, set->colors[kUIBackground]) : color2;
  const normalcolor colors[4] = {set->work.frame, set->work.frame, set->work.frame, curve};
  const double low = number.min, high = number.max;
  int16_t hit = -1;
  switch (variant) {
    case kIntBars:
    case kIntBarsValue: {
      // The bar editor shows at least 2 bars: a copy holds the one the
      // variable lacks.
      auto* values = static_cast<int16_t*>(number.data);
      std::vector<int32_t> wide(values, values + count);
      wide.resize(std::max<size_t>(wide.size(), kMinBars));
      hit = Do_intvec(doc, colors, area, int16_t(wide.size()), wide.data(), nullptr,
                      kvnum::sat_i32(high), point);
      for (int16_t i = 0; i < count; ++i)
        values[i] = kvnum::sat_i16(wide[size_t(i)]);
      break;
    }
    case kRealBars:
    case kRealBarsValue: {
      auto* values = static_cast<double*>(number.data);
      std::vector<double> copy(values, values + count);
      copy.resize(std::max<size_t>(copy.size(), kMinBars));
      hit = Do_realvec(doc, colors, area, int16_t(copy.size()), copy.data(), nullptr, point);
      std::copy(copy.begin(), copy.begin() + count, values);
      break;
    }
    case kIntCurve: {
      if (!(high > low))
        return -1;
      auto* values = static_cast<int16_t*>(number.data);
      std::vector<double> unit(static_cast<size_t>(count));
      for (int16_t i = 0; i < count; ++i)
        unit[size_t(i)] = (values[i] - low) / (high - low);
      hit = dvector_normdrawEdit(doc, unit.data(), count, area, curve, set->work.frame, point);
      // Back to the range, rounded so that an untouched value comes back as it was.
      for (int16_t i = 0; i < count; ++i)
        values[i] = kvnum::sat_i16(std::round(low + unit[size_t(i)] * (high - low)));
      break;
    }
    case kRealCurve: {
      if (!(high > low))
        return -1;
      auto* values = static_cast<double*>(number.data);
      dvector_MulAdd(values, count, 1.0 / (high - low), -low / (high - low));
      hit = dvector_normdrawEdit(doc, values, count, area, curve, set->work.frame, point);
      dvector_MulAdd(values, count, high - low, low);
      break;
    }
    case kColorBars: {
      auto* c = static_cast<normalcolor*>(number.data);
      int32_t wide[kRGBEntries];
      for (int32_t i = 0; i < kRGBEntries; ++i)
        wide[i] = *rgbByte(c, i) * kRGBScale;
      hit = Do_intvec(doc, colors, area, kRGBEntries, wide, kRGBBars, resID, point);
      // Whatever maximum the resource id gives, the bytes stay bytes.
      for (int32_t i = 0; i < kRGBEntries; ++i)
        *rgbByte(c, i) = uint8_t(std::clamp<int32_t>(wide[i] / kRGBScale, 0, 255));
      break;
    }
    default:
      return -1;
  }
  if (point) {
    if (hit < 0 || hit >= count)
      return -1;
    shownElement = std::clamp<int16_t>(hit, 0, int16_t(count - 1));
    set->lastChosen = hit;
    changed = 1;
  }
  if (variant > kRealCurve)
    DrawValueLine(set, r);
  doc->FlushContext();
  return hit;
}

void uitem_multivector::DrawValueLine(uiset* set, Rect r)
{
  CGContextRef ctx = set->drawingContext();
  const int16_t count = std::max<int16_t>(number.entries, 1);
  const int16_t i = std::clamp<int16_t>(shownElement, 0, int16_t(count - 1));
  char text[64] = "";
  if (variant == kIntBarsValue) {
    std::snprintf(text, sizeof text, "%d", int(static_cast<const int16_t*>(number.data)[i]));
  } else if (variant == kRealBarsValue) {
    const double v = static_cast<const double*>(number.data)[i];
    std::snprintf(text, sizeof text, "%.3f", std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0));
  } else if (variant == kColorBars) {
    const int16_t channel = std::min<int16_t>(i, kRGBEntries - 1);
    SetName(kRGBNames[channel]);
    std::snprintf(text, sizeof text, "%s %d", kRGBNames[channel],
                  int(*rgbByte(static_cast<normalcolor*>(number.data), channel)));
  }
  const Rect line{int16_t(r.bottom - kValueText), r.left, r.bottom, r.right};
  Str255 shown;
  shown[0] = uint8_t(std::strlen(text));
  std::memcpy(shown + 1, text, shown[0]);
  EDrawText(ctx, shown, line, &look, &set->work.frame, GetTextColor(set, this));
}

void uitem_multivector::Draw(uiset* set)
{
  const Rect inner = set->drauibounds(this, rect, style);
  CGContextRef ctx = set->drawingContext();
  if (!ctx)
    return;
  if (style > 0)
    UI_FillRect(ctx, inner, set->work.frame);
  Common(set, inner, true, nullptr);
}

void uitem_multivector::Act(uiset* set, Point where)
{
  const Rect inner = set->drauibounds(this, rect, style);
  Common(set, inner, false, &where);
}
