// The gw_ filters beyond the highlight pair: point filters, fills, mirrors,
// box averages and blurs, and the masks read from the caller's ramp.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/colormath.h"
#include "foundation/modifierkeys.h"
#include "imaging/filters.h"
#include "imaging/offworld.h"

namespace {

constexpr int kColourBytes[] = {1, 2, 3};
constexpr int kAllBytes[] = {0, 1, 2, 3};
constexpr int kGreyByte[] = {0};

struct Channels
{
  const int* offsets;
  int count;
};

constexpr Channels kColour32{kColourBytes, 3};
constexpr Channels kAll32{kAllBytes, 4};
constexpr Channels kGrey8{kGreyByte, 1};

int32_t PixelBytes()
{
  return gwIs8bit ? 1 : 4;
}

// The colour bytes a filter changes: the grey byte, or bytes 1-3.
Channels ColourChannels()
{
  return gwIs8bit ? kGrey8 : kColour32;
}

bool NoArea(int32_t columns, int32_t rows, const uint8_t* pixels)
{
  return !pixels || columns <= 0 || rows <= 0;
}

uint8_t* RowAt(uint8_t* pixels, int32_t rowBytes, int32_t y)
{
  return pixels + int64_t(y) * rowBytes;
}

// Applies op(byte) to the chosen bytes of every pixel.
template <class Op>
void EachByte(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, Channels ch, Op op)
{
  if (NoArea(columns, rows, pixels))
    return;
  const int32_t bpp = PixelBytes();
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* p = RowAt(pixels, rowBytes, y);
    for (int32_t x = 0; x < columns; ++x, p += bpp)
      for (int i = 0; i < ch.count; ++i)
        p[ch.offsets[i]] =
            uint8_t(std::clamp<int32_t>(op(int32_t(p[ch.offsets[i]]), ch.offsets[i]), 0, 255));
  }
}

// Copies the first row into every other row.
void CopyFirstRow(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes)
{
  const size_t length = size_t(columns) * size_t(PixelBytes());
  for (int32_t y = 1; y < rows; ++y)
    std::memcpy(RowAt(pixels, rowBytes, y), pixels, length);
}

// Fills every row with its own first pixel.
void FillRowsFromFirstPixel(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes)
{
  const int32_t bpp = PixelBytes();
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* row = RowAt(pixels, rowBytes, y);
    for (int32_t x = 1; x < columns; ++x)
      std::memcpy(row + int64_t(x) * bpp, row, size_t(bpp));
  }
}

// Right half of every row from the left half, bottom half from the top.
void MirrorRows(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes)
{
  const int32_t bpp = PixelBytes();
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* row = RowAt(pixels, rowBytes, y);
    for (int32_t j = 0; j < columns / 2; ++j)
      std::memcpy(row + int64_t(columns - 1 - j) * bpp, row + int64_t(j) * bpp, size_t(bpp));
  }
}

void MirrorColumns(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes)
{
  const size_t length = size_t(columns) * size_t(PixelBytes());
  for (int32_t i = 0; i < rows / 2; ++i)
    std::memcpy(RowAt(pixels, rowBytes, rows - 1 - i), RowAt(pixels, rowBytes, i), length);
}

// One box average along a line of `length` pixels `step` bytes apart (see
// the header): the running sum starts at n x p[0], entry k averages
// p[k - n + 1 .. k] with the ends replicated, and pixel x takes entry
// x + n / 2 (or the larger of it and itself with `useMax`). shift < 0
// divides by n.
void BoxLine(uint8_t* first, int32_t length, int64_t step, Channels ch, int32_t n, int32_t shift,
             bool useMax, int32_t* store)
{
  for (int i = 0; i < ch.count; ++i) {
    uint8_t* base = first + ch.offsets[i];
    auto at = [&](int32_t k) {
      return int64_t(base[int64_t(std::clamp(k, 0, length - 1)) * step]);
    };
    int64_t sum = n * at(0);
    for (int32_t k = 0; k <= length + n - 2; ++k) {
      sum += at(std::min(k, length - 1)) - at(std::max(k - n, 0));
      store[k] = int32_t(shift >= 0 ? sum >> shift : sum / n);
    }
    for (int32_t x = 0; x < length; ++x) {
      uint8_t& p = base[int64_t(x) * step];
      const int32_t v = store[x + n / 2];
      p = uint8_t(std::clamp(useMax ? std::max<int32_t>(v, p) : v, 0, 255));
    }
  }
}

struct BoxPass
{
  Channels ch;
  int32_t window;
  int32_t shift;  // < 0: divide by the window
  bool useMax;
};

void BoxRows(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, const BoxPass& pass)
{
  if (NoArea(columns, rows, pixels))
    return;
  GWScratch store(size_t(columns + pass.window) * sizeof(int32_t));
  if (!store.data())
    return;
  for (int32_t y = 0; y < rows; ++y)
    BoxLine(RowAt(pixels, rowBytes, y), columns, PixelBytes(), pass.ch, pass.window, pass.shift,
            pass.useMax, reinterpret_cast<int32_t*>(store.data()));
}

void BoxColumns(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                const BoxPass& pass)
{
  if (NoArea(columns, rows, pixels))
    return;
  GWScratch store(size_t(rows + pass.window) * sizeof(int32_t));
  if (!store.data())
    return;
  for (int32_t x = 0; x < columns; ++x)
    BoxLine(pixels + int64_t(x) * PixelBytes(), rows, rowBytes, pass.ch, pass.window, pass.shift,
            pass.useMax, reinterpret_cast<int32_t*>(store.data()));
}

// The power-of-two window parameter: shift in bits 8-15, maximum flag in
// 16-23, window in 24-31 (held to 2..255, the shift to 0..16).
BoxPass PowerOfTwoPass(int32_t param, Channels ch)
{
  const uint32_t v = uint32_t(param);
  return {ch, std::max<int32_t>(int32_t((v >> 24) & 255), 2),
          std::min<int32_t>(int32_t((v >> 8) & 255), 16), ((v >> 16) & 255) != 0};
}

}  // namespace

// ---- Point filters

void gw_invertalpha(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (!gwIs8bit)
    EachByte(columns, rows, pixels, rowBytes, Channels{kGreyByte, 1},
             [](int32_t x, int) { return 255 - x; });
}

void gw_mul(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t colour)
{
  const uint32_t v = uint32_t(colour);
  const int32_t k[4] = {int32_t((v >> 8) & 255), int32_t((v >> 8) & 255), int32_t((v >> 16) & 255),
                        int32_t((v >> 24) & 255)};
  EachByte(columns, rows, pixels, rowBytes, ColourChannels(),
           [&k](int32_t x, int byte) { return (x * k[byte]) >> 8; });
}

void gw_sub(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t amount)
{
  const int32_t a = std::clamp(amount, -256, 256);
  EachByte(columns, rows, pixels, rowBytes, ColourChannels(),
           [a](int32_t x, int) { return x - a; });
}

void gw_invert(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  EachByte(columns, rows, pixels, rowBytes, ColourChannels(),
           [](int32_t x, int) { return 255 - x; });
}

void gw_SawMap(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  EachByte(columns, rows, pixels, rowBytes, gwIs8bit ? kGrey8 : kAll32,
           [](int32_t x, int) { return (x * 4) & 255; });
}

void gw_AbsMap(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  EachByte(columns, rows, pixels, rowBytes, gwIs8bit ? kGrey8 : kAll32,
           [](int32_t x, int) { return x > 128 ? 255 - x : x; });
}

void gw_FadeToColor(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                    const FadeToColorRec* rec)
{
  if (!rec || gwIs8bit)
    return;
  const int32_t a = std::clamp<int32_t>(rec->weight, 0, 256);
  const int32_t c[4] = {0, rec->color.red, rec->color.green, rec->color.blue};
  EachByte(columns, rows, pixels, rowBytes, kColour32,
           [&](int32_t x, int byte) { return (x * a + c[byte] * (256 - a)) >> 8; });
}

void gw_FadeDirection(int32_t, int32_t, uint8_t*, int32_t, int32_t) {}

void gw_colorfill(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t value)
{
  if (NoArea(columns, rows, pixels))
    return;
  const uint32_t v = uint32_t(value);
  if (gwIs16bit) {
    const uint16_t word = uint16_t((((v >> 8) & 255) >> 3) << 10 | (((v >> 16) & 255) >> 3) << 5 |
                                   (((v >> 24) & 255) >> 3));
    for (int32_t x = 0; x < columns; ++x)
      std::memcpy(pixels + 2 * int64_t(x), &word, 2);
    for (int32_t y = 1; y < rows; ++y)
      std::memcpy(RowAt(pixels, rowBytes, y), pixels, size_t(columns) * 2);
    return;
  }
  const uint8_t bytes[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  const int32_t bpp = PixelBytes();
  for (int32_t x = 0; x < columns; ++x)
    std::memcpy(pixels + int64_t(x) * bpp, bytes, size_t(bpp));
  CopyFirstRow(columns, rows, pixels, rowBytes);
}

// ---- Whole-rectangle filters

void gw_Equalize(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (NoArea(columns, rows, pixels))
    return;
  int32_t lo[4] = {255, 255, 255, 255}, hi[4] = {0, 0, 0, 0};
  EachByte(columns, rows, pixels, rowBytes, ColourChannels(), [&](int32_t x, int byte) {
    lo[byte] = std::min(lo[byte], x), hi[byte] = std::max(hi[byte], x);
    return x;
  });
  EachByte(columns, rows, pixels, rowBytes, ColourChannels(), [&](int32_t x, int byte) {
    const int32_t range = hi[byte] - lo[byte];
    return range >= 1 ? (x - lo[byte]) * 255 / range : x;
  });
}

void gw_max_x(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (NoArea(columns, rows, pixels))
    return;
  const int32_t bpp = PixelBytes();
  const Channels ch = ColourChannels();
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* row = RowAt(pixels, rowBytes, y);
    for (int i = 0; i < ch.count; ++i) {
      uint8_t m = 0;
      for (int32_t x = 0; x < columns; ++x)
        m = std::max(m, row[int64_t(x) * bpp + ch.offsets[i]]);
      for (int32_t x = 0; x < columns; ++x)
        row[int64_t(x) * bpp + ch.offsets[i]] = m;
    }
  }
}

void gw_max_y(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (NoArea(columns, rows, pixels))
    return;
  const int32_t bpp = PixelBytes();
  const Channels ch = ColourChannels();
  for (int32_t x = 0; x < columns; ++x)
    for (int i = 0; i < ch.count; ++i) {
      uint8_t* column = pixels + int64_t(x) * bpp + ch.offsets[i];
      uint8_t m = 0;
      for (int32_t y = 0; y < rows; ++y)
        m = std::max(m, column[int64_t(y) * rowBytes]);
      for (int32_t y = 0; y < rows; ++y)
        column[int64_t(y) * rowBytes] = m;
    }
}

void gw_Lerp(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (NoArea(columns, rows, pixels))
    return;
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* row = RowAt(pixels, rowBytes, y);
    if (gwIs8bit) {
      const int32_t f = row[0], l = row[columns - 1];
      for (int32_t i = 0; i < columns; ++i)
        row[i] = uint8_t(f + (i * (l - f)) / columns);
      continue;
    }
    uint8_t* last = row + int64_t(columns - 1) * 4;
    const normalcolor f{row[0], row[1], row[2], row[3]}, l{last[0], last[1], last[2], last[3]};
    for (int32_t i = 0; i < columns; ++i) {
      const normalcolor c = PColorLERP(&f, &l, double(i) / double(columns));
      uint8_t* p = row + int64_t(i) * 4;
      p[0] = c.flag, p[1] = c.red, p[2] = c.green, p[3] = c.blue;
    }
  }
}

void gw_SymH(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (NoArea(columns, rows, pixels))
    return;
  const int32_t bpp = PixelBytes();
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* row = RowAt(pixels, rowBytes, y);
    for (int32_t j = 0; j < columns / 2; ++j)
      std::swap_ranges(row + int64_t(j) * bpp, row + int64_t(j + 1) * bpp,
                       row + int64_t(columns - 1 - j) * bpp);
  }
}

void gw_SymV(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (NoArea(columns, rows, pixels))
    return;
  const int64_t length = int64_t(columns) * PixelBytes();
  for (int32_t i = 0; i < rows / 2; ++i) {
    uint8_t* top = RowAt(pixels, rowBytes, i);
    std::swap_ranges(top, top + length, RowAt(pixels, rowBytes, rows - 1 - i));
  }
}

void gw_Sym(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (NoArea(columns, rows, pixels))
    return;
  const int32_t bpp = PixelBytes(), h = columns / 2;
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* row = RowAt(pixels, rowBytes, y);
    for (int32_t j = 0; j < h; ++j)
      std::memcpy(row + int64_t(h + j) * bpp, row + int64_t(h - 1 - j) * bpp, size_t(bpp));
  }
}

void gw_MirrorH(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (!NoArea(columns, rows, pixels))
    MirrorRows(columns, rows, pixels, rowBytes);
}

void gw_MirrorV(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (!NoArea(columns, rows, pixels))
    MirrorColumns(columns, rows, pixels, rowBytes);
}

void gw_Hfill(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (!NoArea(columns, rows, pixels))
    FillRowsFromFirstPixel(columns, rows, pixels, rowBytes);
}

void gw_Vfill(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (!NoArea(columns, rows, pixels))
    CopyFirstRow(columns, rows, pixels, rowBytes);
}

// ---- Box averages and the blur

void gw_FastAverage(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t n)
{
  if (!gwIs8bit)
    BoxRows(columns, rows, pixels, rowBytes, {kAll32, std::clamp(n, 2, 256), -1, false});
}

void gw_FastAverageY(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t n)
{
  if (!gwIs8bit)
    BoxColumns(columns, rows, pixels, rowBytes, {kAll32, std::clamp(n, 2, 256), -1, false});
}

void gw_FastAverageXBS(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                       int32_t window)
{
  BoxRows(columns, rows, pixels, rowBytes, PowerOfTwoPass(window, ColourChannels()));
}

void gw_FastAverageYBS(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                       int32_t window)
{
  BoxColumns(columns, rows, pixels, rowBytes, PowerOfTwoPass(window, ColourChannels()));
}

void gw_FastAverage8XBS(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                        int32_t window)
{
  const uint8_t was = gwIs8bit;
  gwIs8bit = 1;
  BoxRows(columns, rows, pixels, rowBytes, PowerOfTwoPass(window, kGrey8));
  gwIs8bit = was;
}

void gw_FastAverage8YBS(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                        int32_t window)
{
  const uint8_t was = gwIs8bit;
  gwIs8bit = 1;
  BoxColumns(columns, rows, pixels, rowBytes, PowerOfTwoPass(window, kGrey8));
  gwIs8bit = was;
}

BlurWindow gw_BlurWindow(int32_t radius)
{
  constexpr BlurWindow kSteps[] = {{4, 2}, {8, 3}, {16, 4}, {32, 5}, {64, 6}};
  for (const BlurWindow& w : kSteps)
    if (radius <= w.window)
      return w;
  return {128, 7};
}

void gw_FastBlurr32(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t param)
{
  const BlurWindow w = gw_BlurWindow(param & 255);
  const BoxPass pass{ColourChannels(), w.window, w.shift, param > 255};
  for (int round = 0; round < 2; ++round) {
    BoxRows(columns, rows, pixels, rowBytes, pass);
    BoxColumns(columns, rows, pixels, rowBytes, pass);
  }
}

// ---- Masks from the caller's ramp

namespace {

// Ramp entries the scratch block holds at the current pixel size.
int32_t RampEntries()
{
  return kGWTempBufferSize / PixelBytes();
}

const uint8_t* RampEntry(int32_t index)
{
  const int32_t i = std::clamp(index, 0, RampEntries() - 1);
  return static_cast<const uint8_t*>(gTempbuffer) + int64_t(i) * PixelBytes();
}

// The ramp index at position t of a fade (in) or a rise and fall (inOut).
int32_t FadeIndex(float t, bool inOut)
{
  if (gopt)
    t = 1.0f - t;
  int32_t i;
  if (!inOut)
    i = int32_t(t * (gwIs8bit ? 255.0f : 2048.0f));
  else if (gwIs8bit)
    i = int32_t(t * 512.0f), i = i < 256 ? i : 511 - i;
  else
    i = int32_t(t * 4096.0f), i = i <= 2047 ? i : 4095 - i;
  return std::max(i, 0);
}

void FadeMaskRows(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, bool inOut)
{
  if (NoArea(columns, rows, pixels) || !gTempbuffer)
    return;
  for (int32_t y = 0; y < rows; ++y)
    std::memcpy(RowAt(pixels, rowBytes, y), RampEntry(FadeIndex(float(y) / float(rows), inOut)),
                size_t(PixelBytes()));
  FillRowsFromFirstPixel(columns, rows, pixels, rowBytes);
}

void FadeMaskColumns(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, bool inOut)
{
  if (NoArea(columns, rows, pixels) || !gTempbuffer)
    return;
  for (int32_t x = 0; x < columns; ++x)
    std::memcpy(pixels + int64_t(x) * PixelBytes(),
                RampEntry(FadeIndex(float(x) / float(columns), inOut)), size_t(PixelBytes()));
  CopyFirstRow(columns, rows, pixels, rowBytes);
}

// Writes the top-left quadrant (rows 0..r/2, columns 0..c/2) from
// index(dx, dy), then mirrors it over the rectangle.
template <class Index>
void RadialMask(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, Index index)
{
  const int32_t hc = columns / 2, hr = rows / 2, bpp = PixelBytes();
  for (int32_t y = 0; y <= hr; ++y)
    for (int32_t x = 0; x <= hc; ++x)
      std::memcpy(RowAt(pixels, rowBytes, y) + int64_t(x) * bpp, RampEntry(index(hc - x, hr - y)),
                  size_t(bpp));
  MirrorRows(columns, rows, pixels, rowBytes);
  MirrorColumns(columns, rows, pixels, rowBytes);
}

}  // namespace

void gw_FadeInMaskV(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  FadeMaskRows(columns, rows, pixels, rowBytes, false);
}

void gw_FadeInOutMaskV(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  FadeMaskRows(columns, rows, pixels, rowBytes, true);
}

void gw_FadeInMaskH(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  FadeMaskColumns(columns, rows, pixels, rowBytes, false);
}

void gw_FadeInOutMaskH(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  FadeMaskColumns(columns, rows, pixels, rowBytes, true);
}

void gw_GaussMask(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                  int32_t lastIndex)
{
  if (NoArea(columns, rows, pixels) || !gTempbuffer)
    return;
  const double hx = columns * 0.5, hy = std::max(1.0, rows * 0.5), R = std::max(hx, hy);
  const double sx = R / hx, sy = R / hy;
  const int32_t last = std::clamp(lastIndex, 0, RampEntries() - 1);
  RadialMask(columns, rows, pixels, rowBytes, [&](int32_t ix, int32_t iy) {
    const double dx = ix * sx, dy = iy * sy, d = std::sqrt(dx * dx + dy * dy);
    if (gwIs8bit)
      return d >= R ? 255 : std::max(0, int32_t(d * 255.0 / R));
    return d >= R ? last : int32_t(d * last / R);
  });
}

void gw_SquareMask(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (NoArea(columns, rows, pixels) || !gTempbuffer)
    return;
  const float hx = float(columns) * 0.5f, hy = std::max(1.0f, float(rows) * 0.5f);
  const float R = std::max(hx, hy), sx = R / hx, sy = R / hy;
  RadialMask(columns, rows, pixels, rowBytes, [&](int32_t ix, int32_t iy) {
    const float d = std::max(float(ix) * sx, float(iy) * sy);
    if (gwIs8bit)
      return d >= R ? 255 : std::max(0, int32_t(d * 255.0f / R));
    return d >= R ? 2048 : std::max(0, int32_t(d / R * 2048.0f));
  });
}

// ---- Row fades, offsets, gradients, smoothing and embossing

namespace {

// Multiplies every byte of row y by factor(y), truncated.
template <class Factor>
void ScaleRows(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, Factor factor)
{
  if (NoArea(columns, rows, pixels))
    return;
  const int64_t length = int64_t(columns) * PixelBytes();
  for (int32_t y = 0; y < rows; ++y) {
    const double f = std::clamp(factor(y), 0.0, 1.0);
    uint8_t* row = RowAt(pixels, rowBytes, y);
    for (int64_t i = 0; i < length; ++i)
      row[i] = uint8_t(row[i] * f);
  }
}

// Runs `line(values, store, length)` on each channel of each row: the row's
// values are copied out, the filter writes the new values into the store,
// and they are written back.
template <class Line>
void EachRowChannel(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, Channels ch,
                    Line line)
{
  if (NoArea(columns, rows, pixels))
    return;
  GWScratch scratch(size_t(columns) * 2 * sizeof(int32_t));
  if (!scratch.data())
    return;
  int32_t* values = reinterpret_cast<int32_t*>(scratch.data());
  int32_t* store = values + columns;
  const int32_t bpp = PixelBytes();
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* row = RowAt(pixels, rowBytes, y);
    for (int i = 0; i < ch.count; ++i) {
      for (int32_t x = 0; x < columns; ++x)
        values[x] = row[int64_t(x) * bpp + ch.offsets[i]];
      line(values, store, columns);
      for (int32_t x = 0; x < columns; ++x)
        row[int64_t(x) * bpp + ch.offsets[i]] = uint8_t(std::clamp(store[x], 0, 255));
    }
  }
}

int32_t Replicated(const int32_t* v, int32_t length, int32_t k)
{
  return v[std::clamp(k, 0, length - 1)];
}

void SmoothByTest(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, bool leftHigher)
{
  EachRowChannel(columns, rows, pixels, rowBytes, ColourChannels(),
                 [leftHigher](int32_t* v, int32_t* store, int32_t n) {
                   for (int pass = 0; pass < 8; ++pass) {
                     for (int32_t x = 0; x < n; ++x) {
                       const int32_t l = Replicated(v, n, x - 1), q = Replicated(v, n, x + 1);
                       store[x] = (leftHigher ? l > q : l < q) ? (l + v[x] + q) / 3 : v[x];
                     }
                     std::copy(store, store + n, v);
                   }
                 });
}

constexpr int kEmbossBytes[] = {1, 2};

void Emboss(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t sign)
{
  const Channels ch = gwIs8bit ? kGrey8 : Channels{kEmbossBytes, 2};
  EachRowChannel(columns, rows, pixels, rowBytes, ch,
                 [sign](int32_t* v, int32_t* store, int32_t n) {
                   for (int32_t x = 0; x < n; ++x) {
                     auto p = [&](int32_t k) { return Replicated(v, n, x + k); };
                     const int32_t d = (p(1) - p(-1)) + 2 * (p(2) - p(-2)) + (p(3) - p(-3));
                     store[x] = p(0) + sign * (d >> 1);
                   }
                 });
}

void GradientRow(uint8_t* p, const GradientRec* rec, double t)
{
  const normalcolor c = colorgradient(rec->colors, std::clamp(rec->count, 1, 64), t);
  if (gwIs8bit)
    p[0] = c.blue;
  else
    p[1] = c.red, p[2] = c.green, p[3] = c.blue;
}

}  // namespace

void gw_LowerLo(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  ScaleRows(columns, rows, pixels, rowBytes, [rows](int32_t y) { return (rows - 12 - y) / 100.0; });
}

void gw_LowerHi(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  ScaleRows(columns, rows, pixels, rowBytes, [](int32_t y) { return (y - 12) / 100.0; });
}

void gw_FadeMap(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  if (NoArea(columns, rows, pixels))
    return;
  const int64_t length = int64_t(columns) * PixelBytes(), m = length / 4;
  for (int32_t y = 0; y < rows && m > 0; ++y) {
    uint8_t* row = RowAt(pixels, rowBytes, y);
    for (int64_t i = 0; i < m; ++i) {
      row[i] = uint8_t(row[i] * i / m);
      row[length - 1 - i] = uint8_t(row[length - 1 - i] * i / m);
    }
  }
}

void gw_offset(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t d)
{
  const bool keepMax = gopt != 0;
  EachRowChannel(columns, rows, pixels, rowBytes, ColourChannels(),
                 [d, keepMax](int32_t* v, int32_t* store, int32_t n) {
                   for (int32_t x = 0; x < n; ++x) {
                     const int64_t from = int64_t(x) - d;
                     const bool inside = from >= 0 && from < n;
                     if (keepMax)
                       store[x] = inside ? std::max(v[x], v[from]) : v[x];
                     else
                       store[x] = inside ? v[from] : 0;
                   }
                 });
}

void gw_gradientV(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                  const GradientRec* rec)
{
  if (!rec || NoArea(columns, rows, pixels))
    return;
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* row = RowAt(pixels, rowBytes, y);
    GradientRow(row, rec, double(y) / double(rows));
    FillRowsFromFirstPixel(columns, 1, row, rowBytes);
  }
}

void gw_gradientH(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                  const GradientRec* rec)
{
  if (!rec || NoArea(columns, rows, pixels))
    return;
  for (int32_t x = 0; x < columns; ++x)
    GradientRow(pixels + int64_t(x) * PixelBytes(), rec, double(x) / double(columns));
  CopyFirstRow(columns, rows, pixels, rowBytes);
}

void gw_smoothX(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  EachRowChannel(
      columns, rows, pixels, rowBytes, ColourChannels(), [](int32_t* v, int32_t* store, int32_t n) {
        for (int pass = 0; pass < 2; ++pass) {
          for (int32_t x = 0; x < n; ++x)
            store[x] = (Replicated(v, n, x - 1) + 2 * v[x] + Replicated(v, n, x + 1)) >> 2;
          std::copy(store, store + n, v);
        }
      });
}

void gw_smoothR(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  SmoothByTest(columns, rows, pixels, rowBytes, true);
}

void gw_smoothL(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  SmoothByTest(columns, rows, pixels, rowBytes, false);
}

void gw_embossR(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  Emboss(columns, rows, pixels, rowBytes, 1);
}

void gw_embossL(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t)
{
  Emboss(columns, rows, pixels, rowBytes, -1);
}
