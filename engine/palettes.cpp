#include "engine/palettes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "foundation/checked.h"
#include "foundation/colormath.h"
#include "foundation/vectors.h"

namespace {

constexpr double kRandMax = 2147483647.0;  // the largest value random() returns

constexpr normalcolor kBlack{255, 0, 0, 0};
constexpr normalcolor kWhite{255, 255, 255, 255};

constexpr normalcolor rgb(uint8_t r, uint8_t g, uint8_t b)
{
  return normalcolor{255, r, g, b};
}

double random01()
{
  return double(random()) / kRandMax;
}

normalcolor randomColor()
{
  normalcolor c{255, 0, 0, 0};
  c.blue = uint8_t(random());
  c.green = uint8_t(random());
  c.red = uint8_t(random());
  return c;
}

// The colours a palette really holds: its count held to the 64 slots.
int32_t usedCount(const cpalette& p)
{
  return std::clamp(p.count, 0, kPaletteSlots);
}

uint8_t clampByte(double v)
{
  return kvnum::sat_u8(v);
}
uint8_t clampByte(int32_t v)
{
  return uint8_t(std::clamp(v, 0, 255));
}
// Truncated toward zero, keeping the low byte.
uint8_t lowByte(double v)
{
  return uint8_t(kvnum::sat_i32(v));
}

// Channel 1 red, 2 green, 3 blue.
uint8_t& chan(normalcolor& c, int ch)
{
  return ch == 1 ? c.red : (ch == 2 ? c.green : c.blue);
}
uint8_t chan(const normalcolor& c, int ch)
{
  return ch == 1 ? c.red : (ch == 2 ? c.green : c.blue);
}

// Applies f to red, green and blue (bytes 1 to 3) of a colour.
template <class F>
void eachChannel(normalcolor& c, F f)
{
  for (int ch = 1; ch <= 3; ++ch)
    chan(c, ch) = f(chan(c, ch), ch);
}

// ---- Built-in palettes ----

// A colour of a built-in palette: fixed, random, or a copy of colour 0.
struct BuiltinKey
{
  enum Kind : uint8_t
  {
    kFixed,
    kRandom,
    kCopyFirst
  } kind;
  normalcolor color;
};

constexpr BuiltinKey F(uint8_t r, uint8_t g, uint8_t b)
{
  return {BuiltinKey::kFixed, rgb(r, g, b)};
}
constexpr BuiltinKey kR{BuiltinKey::kRandom, {}};
constexpr BuiltinKey kK = {BuiltinKey::kFixed, kBlack};
constexpr BuiltinKey kW = {BuiltinKey::kFixed, kWhite};
constexpr BuiltinKey kCopy0{BuiltinKey::kCopyFirst, {}};

struct BuiltinPalette
{
  int32_t count;
  BuiltinKey keys[10];
};

constexpr BuiltinPalette kBuiltins[10] = {
    {2, {kK, kW}},
    {3, {kK, F(0, 0, 255), kW}},
    {4, {kK, F(255, 0, 0), F(255, 200, 0), kW}},
    {5, {kK, F(255, 50, 0), F(200, 100, 100), F(150, 180, 200), F(50, 150, 100)}},
    {6, {kK, F(0, 50, 0), F(255, 255, 50), F(0, 180, 100), F(255, 150, 250), F(0, 20, 200)}},
    {7, {kK, F(250, 50, 0), F(255, 255, 50), F(150, 180, 100), F(50, 150, 250), F(0, 20, 200), kK}},
    {8, {kK, F(120, 0, 0), F(255, 255, 0), kK, kK, kK, kR, kK}},
    {9, {kR, F(255, 255, 0), kR, F(255, 0, 100), kR, kR, kR, kR, kCopy0}},
    {10, {kK, kR, kR, kW, kR, kR, kK, kK, kR, kK}},
    {10,
     {F(255, 0, 0), F(255, 0, 100), F(255, 0, 200), F(250, 20, 200), F(200, 80, 100),
      F(150, 100, 200), F(100, 200, 255), F(0, 250, 150), F(100, 250, 0), F(255, 0, 0)}},
};

void fillRandom(cpalette* p, int32_t count)
{
  for (int32_t i = 0; i < count; ++i)
    p->colors[i] = randomColor();
}

// ---- Transforms ----

// The 1-2-1 filter along the palette, ends held.
void smoothPass(const normalcolor* in, normalcolor* out, int32_t count)
{
  for (int32_t i = 0; i < count; ++i) {
    const normalcolor& a = in[std::max(i - 1, 0)];
    const normalcolor& c = in[std::min(i + 1, count - 1)];
    out[i] = in[i];
    eachChannel(out[i], [&](uint8_t v, int ch) {
      return uint8_t((chan(a, ch) + 2 * v + chan(c, ch)) >> 2);
    });
  }
}

// Turns a colour through the in-place HSL form: byte 1 hue, 2 lightness, 3 saturation.
template <class F>
normalcolor throughHLS(normalcolor c, F change)
{
  RGB2HLS_Ncolor(&c);
  change(c);
  HLS2RGB_Ncolor(&c);
  return c;
}

void transformColors(const cpalette& src, cpalette* dst, int16_t mode, int16_t amount)
{
  const int32_t count = usedCount(src);
  const normalcolor* s = src.colors;
  normalcolor* d = dst->colors;
  switch (mode) {
    case kPalHue:
      for (int32_t i = 0; i < count; ++i)
        d[i] = throughHLS(s[i], [&](normalcolor& c) { c.red = uint8_t(c.red + amount); });
      break;
    case kPalContrast:
      for (int32_t i = 0; i < count; ++i) {
        d[i] = s[i];
        eachChannel(
            d[i], [&](uint8_t v, int) { return clampByte((v - 128) * amount * 0.0078125 + 128); });
      }
      break;
    case kPalSaturation:
      for (int32_t i = 0; i < count; ++i)
        d[i] = throughHLS(
            s[i], [&](normalcolor& c) { c.blue = clampByte(int32_t(c.blue) + 2 * amount - 255); });
      break;
    case kPalBrightness:
      for (int32_t i = 0; i < count; ++i) {
        d[i] = s[i];
        eachChannel(d[i], [&](uint8_t v, int) { return clampByte(int32_t(v) + amount - 128); });
      }
      break;
    case kPalSmooth: {
      normalcolor second[kPaletteSlots];
      smoothPass(s, d, count);
      smoothPass(d, second, count);
      for (int32_t i = 0; i < count; ++i)
        eachChannel(d[i], [&](uint8_t, int ch) {
          return lowByte((chan(second[i], ch) - chan(s[i], ch)) * amount * 0.00390625 +
                         chan(s[i], ch));
        });
      break;
    }
    case kPalRotate: {
      if (count == 0)
        break;
      int32_t k = kvnum::sat_i32((amount - 128) * 0.0078125 * count + 4.0 * count);
      for (int32_t i = 0; i < count; ++i) {
        int64_t j = (int64_t(i) + k) % count;
        d[i] = s[j < 0 ? j + count : j];
      }
      break;
    }
    case kPalRamp: {
      if (count < 2)
        break;
      const normalcolor first = s[0], last = s[count - 1];
      for (int32_t i = 0; i < count; ++i)
        eachChannel(d[i], [&](uint8_t, int ch) {
          return lowByte(chan(first, ch) +
                         double(chan(last, ch) - chan(first, ch)) * i / (count - 1));
        });
      break;
    }
    case kPalShift: {
      if (count == 0)
        break;
      std::memcpy(d, s, sizeof src.colors);
      int32_t shift = (amount % count) + 1;
      int16_t halves[2 * kPaletteSlots];
      std::memcpy(halves, d, sizeof halves);
      sVector_Offset(halves, 2 * kPaletteSlots, 2 * shift);
      std::memcpy(d, halves, sizeof halves);
      break;
    }
    case kPalReverse:
      for (int32_t i = 0; i < count; ++i)
        d[i] = s[count - 1 - i];
      break;
    case kPalInvert:
      for (int32_t i = 0; i < count; ++i)
        eachChannel(d[i], [&](uint8_t, int ch) { return uint8_t(255 - chan(s[i], ch)); });
      break;
    case kPalVariation:
      for (int32_t i = 0; i < count; ++i) {
        d[i] = randomColor();
        eachChannel(d[i], [&](uint8_t r, int ch) {
          return lowByte((r - chan(s[i], ch)) * 0.18 + chan(s[i], ch));
        });
      }
      break;
    case kPalRed:
    case kPalGreen:
    case kPalBlue: {
      const int ch = mode - kPalRed + 1;
      for (int32_t i = 0; i < count; ++i) {
        d[i] = s[i];
        chan(d[i], ch) = clampByte(int32_t(chan(s[i], ch)) + amount - 128);
      }
      break;
    }
    case kPalCrossfade:
      for (int32_t i = 0; i < count; ++i)
        eachChannel(d[i], [&](uint8_t v, int ch) {
          return lowByte((v - chan(s[i], ch)) * amount / 255.0 + chan(s[i], ch));
        });
      break;
    case kPalDouble: {
      const int32_t doubled = std::min(2 * count, kPaletteMaxCount);
      for (int32_t i = 0; i < count; ++i)
        d[i] = s[i];
      for (int32_t i = 0; count + i < doubled; ++i)
        eachChannel(d[count + i], [&](uint8_t, int ch) { return chan(s[i], ch); });
      dst->count = doubled;
      break;
    }
    default:  // 0, 15 and unknown modes change nothing but the count
      break;
  }
}

}  // namespace

void init_cpalette(cpalette* p)
{
  std::fill_n(p->colors, kPaletteSlots, kBlack);
  p->count = 2;
  p->colors[1] = rgb(255, 0, 0);
}

void define_cpalette(cpalette* p, int32_t index)
{
  p->colors[0] = kBlack;
  if (index < 0) {
    p->count = 0;
    return;
  }
  if (index >= 10) {
    p->count = index % kPaletteSlots;
    fillRandom(p, p->count);
    return;
  }
  const BuiltinPalette& b = kBuiltins[index];
  p->count = b.count;
  for (int32_t i = 0; i < b.count; ++i) {
    switch (b.keys[i].kind) {
      case BuiltinKey::kFixed:
        p->colors[i] = b.keys[i].color;
        break;
      case BuiltinKey::kRandom:
        p->colors[i] = randomColor();
        break;
      case BuiltinKey::kCopyFirst:
        p->colors[i] = p->colors[0];
        break;
    }
  }
}

void rnd_cpalette(cpalette* p)
{
  p->count = int32_t(random01() * 62 + 1);
  fillRandom(p, p->count);
}

void Normalize_cpalette(cpalette* p)
{
  const int32_t count = usedCount(*p);
  int32_t hi = 0, lo = 255;
  for (int32_t i = 0; i < count; ++i)
    for (int ch = 1; ch <= 3; ++ch) {
      hi = std::max<int32_t>(hi, chan(p->colors[i], ch));
      lo = std::min<int32_t>(lo, chan(p->colors[i], ch));
    }
  if (count < 1 || hi <= lo)
    return;
  double s = 255.0 / (hi - lo);
  double o = -s * lo;
  for (int ch = 1; ch <= 3; ++ch)
    for (int32_t i = 0; i < count; ++i)
      chan(p->colors[i], ch) = clampByte(chan(p->colors[i], ch) * s + o);
}

void resample_cpalette(const cpalette* source, cpalette* destination, int32_t n)
{
  const cpalette src = *source;
  n = std::clamp(n, 0, kPaletteSlots);
  destination->count = n;
  for (int32_t i = 0; i < n; ++i) {
    double t = (n > 1) ? double(i) / (n - 1) : 0.0;
    destination->colors[i] = colorgradient(src.colors, usedCount(src), t);
  }
}

void buildvec_cpalette(cpalette* p, const int16_t* red, const int16_t* green, const int16_t* blue,
                       int32_t n, double scale)
{
  n = std::clamp(n, 0, kPaletteSlots);
  p->count = n;
  auto low = [scale](int16_t v) { return uint8_t(kvnum::sat_i32(v * scale)); };
  for (int32_t i = 0; i < n; ++i)
    p->colors[i] = normalcolor{255, low(red[i]), low(green[i]), low(blue[i])};
}

void getvec_cpalette(const cpalette* p, int16_t* red, int16_t* green, int16_t* blue, double scale)
{
  for (int32_t i = 0; i < usedCount(*p); ++i) {
    red[i] = kvnum::sat_i16(p->colors[i].red * scale);
    green[i] = kvnum::sat_i16(p->colors[i].green * scale);
    blue[i] = kvnum::sat_i16(p->colors[i].blue * scale);
  }
}

bool EqualPalette(const cpalette* a, const cpalette* b)
{
  if (a->count != b->count)
    return false;
  for (int32_t i = 0; i < usedCount(*a); ++i)
    if (!(a->colors[i] == b->colors[i]))
      return false;
  return true;
}

void lerp_cpalette(const cpalette* a, const cpalette* b, cpalette* result, double t)
{
  const cpalette pa = *a, pb = *b;
  const int32_t count = std::max(usedCount(pa), usedCount(pb));
  cpalette first = pa, second = pb;
  if (usedCount(pa) < count)
    resample_cpalette(&pa, &first, count);
  if (usedCount(pb) < count)
    resample_cpalette(&pb, &second, count);
  result->count = std::max(pa.count, pb.count);
  for (int32_t i = 0; i < count; ++i)
    result->colors[i] = ColorLERP(&first.colors[i], &second.colors[i], t);
}

void transform_cpalette(const cpalette* source, cpalette* destination, int16_t mode, int16_t amount)
{
  const cpalette src = *source;
  destination->count = src.count;
  transformColors(src, destination, mode, amount);
}

void rndmize_cpalette(cpalette* p, double strength)
{
  if (p->count <= 0) {
    p->count = int32_t(random01() * 6 + 2);
    fillRandom(p, p->count);
  }
  const int32_t count = usedCount(*p);
  const double q = 1.0 / count + 0.1;

  // Drift each chosen colour towards running targets that now and then jump.
  cpalette work = *p;
  int32_t target[4] = {0, work.colors[0].red, work.colors[0].green, work.colors[0].blue};
  for (int32_t i = 0; i < count; ++i) {
    normalcolor& c = work.colors[i];
    if (strength > 0 && random01() <= strength) {
      for (int ch = 1; ch <= 3; ++ch) {
        if (random01() <= q)
          target[ch] = int32_t(random01() * 255);
        chan(c, ch) =
            clampByte(kvnum::sat_i32((target[ch] - chan(c, ch)) * strength + chan(c, ch)));
      }
    }
    for (int ch = 1; ch <= 3; ++ch)
      target[ch] = chan(c, ch);
  }

  if (strength > 0 && random01() <= strength)
    transform_cpalette(&work, p, kPalSaturation, int16_t(128 - int32_t(strength * 64)));
  else
    *p = work;
  Normalize_cpalette(p);
  if (strength <= 0)
    return;

  if (random01() <= strength) {
    work = *p;
    transform_cpalette(&work, p, kPalHue, int16_t(256 - int32_t(strength * 32)));
  }
  if (random01() <= strength) {
    work = *p;
    transform_cpalette(&work, p, kPalSmooth, int16_t(random01() * 191 + 64));
  }
}

// ---- Library ----

namespace {
bool validSlot(int32_t i)
{
  return i >= 0 && i < kPaletteLibSize;
}
}  // namespace

void copy_cpalettelib_index(cpalettelib* lib, int32_t from, int32_t to)
{
  if (from == to || !validSlot(from) || !validSlot(to))
    return;
  lib->palettes[to] = lib->palettes[from];
}

int32_t store_cpalette(cpalettelib* lib, const cpalette* p, int32_t n)
{
  n = std::clamp(n, 1, kPaletteLibSize);
  const cpalette copy = *p;
  int32_t slot = -1;
  for (int32_t i = 0; i < n && slot < 0; ++i)
    if (lib->palettes[i].count == 0)
      slot = i;
  int32_t written = (slot >= 0) ? slot : n - 1;
  lib->palettes[written] = copy;
  lib->highestUsed = std::max(lib->highestUsed, written);
  return slot;
}

void delete_cpalette(cpalettelib* lib, int32_t i)
{
  if (validSlot(i))
    lib->palettes[i].count = 0;
}

void cleanup_cpalettelib(cpalettelib* lib)
{
  for (cpalette& p : lib->palettes)
    p.count = std::min(p.count, kPaletteMaxCount);
}

void init_cpalettelib(cpalettelib* lib)
{
  for (cpalette& p : lib->palettes)
    p.count = 0;
  for (int32_t i = 0; i < kPaletteBuiltinCount; ++i)
    define_cpalette(&lib->palettes[i], i);
  lib->highestUsed = 1;
  lib->reserved = 0;
}
