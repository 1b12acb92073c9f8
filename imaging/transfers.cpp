#include "imaging/transfers.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/colormath.h"
#include "foundation/modifierkeys.h"
#include "imaging/accesspix.h"

namespace {

constexpr int32_t kModeNone = -1;

uint8_t Clamp255(int32_t v)
{
  return uint8_t(std::clamp(v, 0, 255));
}

// The row procedures' shared argument list.
struct Rows
{
  int32_t columns, rows;
  const uint8_t* src;
  uint8_t* dst;
  int32_t srcRowBytes, dstRowBytes;
};

bool Empty(const Rows& r)
{
  return !r.src || !r.dst || r.columns <= 0 || r.rows <= 0;
}

// Calls row(s, d) with the first byte of each source row and of the
// destination row it lands on.
template <class Row>
void EachRow(const Rows& r, Row row)
{
  if (Empty(r))
    return;
  for (int32_t y = 0; y < r.rows; ++y)
    row(r.src + int64_t(y) * r.srcRowBytes, r.dst + int64_t(y) * r.dstRowBytes);
}

// Applies op(s, d, x) to every byte of 8-bit rows.
template <class Op>
void EachByte8(const Rows& r, Op op)
{
  EachRow(r, [&](const uint8_t* s, uint8_t* d) {
    for (int32_t x = 0; x < r.columns; ++x)
      d[x] = Clamp255(op(int32_t(s[x]), int32_t(d[x]), x));
  });
}

// Applies op(s, d, x) to the three colour bytes of every 32-bit pixel; the
// pad is left.
template <class Op>
void EachColour32(const Rows& r, Op op)
{
  EachRow(r, [&](const uint8_t* s, uint8_t* d) {
    for (int32_t x = 0; x < r.columns; ++x, s += 4, d += 4)
      for (int c = 1; c < 4; ++c)
        d[c] = Clamp255(op(int32_t(s[c]), int32_t(d[c]), x));
  });
}

// Applies op(s, d, x) to whole 32-bit pixels.
template <class Op>
void EachPixel32(const Rows& r, Op op)
{
  EachRow(r, [&](const uint8_t* s, uint8_t* d) {
    for (int32_t x = 0; x < r.columns; ++x, s += 4, d += 4)
      op(s, d, x);
  });
}

// Applies op(g, d, x) from 8-bit source bytes onto 32-bit pixels.
template <class Op>
void EachGrey8To32(const Rows& r, Op op)
{
  EachRow(r, [&](const uint8_t* s, uint8_t* d) {
    for (int32_t x = 0; x < r.columns; ++x, d += 4)
      op(int32_t(s[x]), d, x);
  });
}

void CopyRows(const Rows& r, int32_t bytesPerPixel)
{
  EachRow(r, [&](const uint8_t* s, uint8_t* d) {
    std::memmove(d, s, size_t(r.columns) * size_t(bytesPerPixel));
  });
}

// d + t (s - d) in single precision, truncated.
int32_t Fade(int32_t s, int32_t d, float t)
{
  return int32_t(float(d) + t * float(s - d));
}

float FadeUp(int32_t x, int32_t width)
{
  return float(x) / float(width);
}

float FadeInOut(int32_t x, int32_t width)
{
  const float t = 2.0f * float(x) / float(width);
  return t > 1.0f ? 2.0f - t : t;
}

// The fade of mode 7: t = x / width, reversed by a non-zero parameter or the
// option key.
bool FadeReversed(int32_t param)
{
  return param != 0 || gopt != 0;
}

int32_t Lit(int32_t s, int32_t c)
{
  return c + (((s * 100 - 12800) * c) >> 14);
}

normalcolor AsColor(const uint8_t* p)
{
  return normalcolor{p[0], p[1], p[2], p[3]};
}

void Store(uint8_t* p, const normalcolor& c)
{
  p[0] = c.flag, p[1] = c.red, p[2] = c.green, p[3] = c.blue;
}

// Mixes `result` into the destination pixel by its own pad.
void MixByPad(uint8_t* d, const normalcolor& result)
{
  const normalcolor dc = AsColor(d);
  Store(d, ColorLERP256(&dc, &result, int16_t(d[0])));
}

// The colour bytes of a colour parameter.
struct ParamColour
{
  int32_t c[4];
};

ParamColour ColourOf(int32_t param)
{
  const uint32_t v = uint32_t(param);
  return {{0, int32_t((v >> 8) & 255), int32_t((v >> 16) & 255), int32_t((v >> 24) & 255)}};
}

// w[a] = a x 256/255: the constant added a times from 0 in double precision,
// truncated.
void BuildAlphaWeights(int32_t* w)
{
  double acc = 0.0;
  for (int a = 0; a < 256; ++a) {
    w[a] = int32_t(acc);
    acc += 256.0 / 255.0;
  }
}

}  // namespace

// ---------------------------------------------------------------- 8-bit rows

void Copy_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                    int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  CopyRows({columns, rows, src, dst, srcRowBytes, dstRowBytes}, 1);
}

void Copy_transProc16(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                      int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  CopyRows({columns, rows, src, dst, srcRowBytes, dstRowBytes}, 2);
}

void Add_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                   int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachByte8({columns, rows, src, dst, srcRowBytes, dstRowBytes},
            [](int32_t s, int32_t d, int32_t) { return s + d; });
}

void Max_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                   int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachByte8({columns, rows, src, dst, srcRowBytes, dstRowBytes},
            [](int32_t s, int32_t d, int32_t) { return std::max(s, d); });
}

void Min_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                   int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachByte8({columns, rows, src, dst, srcRowBytes, dstRowBytes},
            [](int32_t s, int32_t d, int32_t) { return std::min(s, d); });
}

void Mul_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                   int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  const bool inverse = gctrl != 0;
  EachByte8(
      {columns, rows, src, dst, srcRowBytes, dstRowBytes},
      [inverse](int32_t s, int32_t d, int32_t) { return (d * (inverse ? 255 - s : s)) >> 8; });
}

void Mix50_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                     int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachByte8({columns, rows, src, dst, srcRowBytes, dstRowBytes},
            [](int32_t s, int32_t d, int32_t) { return (d + s) / 2; });
}

void Blend_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                     int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  EachByte8({columns, rows, src, dst, srcRowBytes, dstRowBytes},
            [param](int32_t s, int32_t d, int32_t) {
              return int32_t((int64_t(d) * param + int64_t(s) * (256 - int64_t(param))) / 256);
            });
}

void FadeIn_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                      int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  const bool reversed = param != 0 || gopt != 0;
  EachByte8({columns, rows, src, dst, srcRowBytes, dstRowBytes},
            [&](int32_t s, int32_t d, int32_t x) {
              const float t = FadeUp(x, columns);
              return Fade(s, d, reversed ? 1.0f - t : t);
            });
}

void FadeInOut_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                         int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachByte8({columns, rows, src, dst, srcRowBytes, dstRowBytes},
            [&](int32_t s, int32_t d, int32_t x) { return Fade(s, d, FadeInOut(x, columns)); });
}

void Diff_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                    int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachByte8({columns, rows, src, dst, srcRowBytes, dstRowBytes},
            [](int32_t s, int32_t d, int32_t) { return std::abs(d - s); });
}

void Sub_transProc(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                   int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachByte8({columns, rows, src, dst, srcRowBytes, dstRowBytes},
            [](int32_t s, int32_t d, int32_t) { return d - s; });
}

void XorGWorld(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst, int32_t srcRowBytes,
               int32_t dstRowBytes, int32_t)
{
  EachByte8({columns, rows, src, dst, srcRowBytes, dstRowBytes},
            [](int32_t s, int32_t d, int32_t) { return d ^ s; });
}

// --------------------------------------------------------------- 32-bit rows

void Copy_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                      int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  CopyRows({columns, rows, src, dst, srcRowBytes, dstRowBytes}, 4);
}

void Blend_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                       int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  const int64_t w = 256 - int64_t(param);
  EachColour32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
               [w](int32_t s, int32_t d, int32_t) {
                 return int32_t(std::clamp<int64_t>(d + (((s - d) * w) >> 8), 0, 255));
               });
}

void Custom_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                        int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  Blend_transProc32(columns, rows, src, dst, srcRowBytes, dstRowBytes, param);
}

void Lit_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                     int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [](const uint8_t* s, uint8_t* d, int32_t) { asm_litcolor(s, d, 1); });
}

void Add_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                     int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachColour32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
               [](int32_t s, int32_t d, int32_t) { return s + d; });
}

void Mul_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                     int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  const bool inverse = gctrl != 0;
  EachColour32(
      {columns, rows, src, dst, srcRowBytes, dstRowBytes},
      [inverse](int32_t s, int32_t d, int32_t) { return (d * (inverse ? 255 - s : s)) >> 8; });
}

void Min_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                     int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachColour32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
               [](int32_t s, int32_t d, int32_t) { return std::min(s, d); });
}

void Max_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                     int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachColour32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
               [](int32_t s, int32_t d, int32_t) { return std::max(s, d); });
}

void FadeIn_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                        int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  const bool reversed = FadeReversed(param);
  EachColour32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
               [&](int32_t s, int32_t d, int32_t x) {
                 const float t = FadeUp(x, columns);
                 return Fade(s, d, reversed ? 1.0f - t : t);
               });
}

void Diff_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                      int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachColour32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
               [](int32_t s, int32_t d, int32_t) { return std::abs(d - s); });
}

void Mix50_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                       int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [](const uint8_t* s, uint8_t* d, int32_t) {
                d[0] = 0;
                for (int c = 1; c < 4; ++c)
                  d[c] = uint8_t((s[c] & 254) / 2 + (d[c] & 254) / 2);
              });
}

void Alpha_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                       int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  GWScratch scratch(256 * sizeof(int32_t));
  if (!scratch.data())
    return;
  int32_t* w = reinterpret_cast<int32_t*>(scratch.data());
  BuildAlphaWeights(w);
  const bool inverted = param == 1;
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [&](const uint8_t* s, uint8_t* d, int32_t) {
                const int32_t a = d[0];
                if (a == (inverted ? 0 : 255)) {
                  std::memcpy(d, s, 4);
                  d[0] = inverted ? 0 : 255;
                  return;
                }
                if (a == (inverted ? 255 : 0))
                  return;
                const int32_t k = inverted ? 256 - w[a] : w[a];
                for (int c = 1; c < 4; ++c)
                  d[c] = Clamp255(d[c] + (((s[c] - d[c]) * k) >> 8));
              });
}

void SrcAlpha_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                          int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  const bool inverted = param == 1;
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [&](const uint8_t* s, uint8_t* d, int32_t) {
                const int32_t a = s[0];
                if (a == (inverted ? 0 : 255)) {
                  std::memcpy(d, s, 4);
                  return;
                }
                d[0] = uint8_t(a);
                if (a == (inverted ? 255 : 0))
                  return;
                for (int c = 1; c < 4; ++c)
                  d[c] = Clamp255(inverted ? s[c] - (((s[c] - d[c]) * a) >> 8)
                                           : d[c] + (((s[c] - d[c]) * a) >> 8));
              });
}

namespace {

// One channel of mode 15's operations, before mixing by the mask a.
int32_t MaskedChannel(int32_t op, int32_t s, int32_t d, int32_t a)
{
  switch (op) {
    case 5:
      return d + ((std::min(s - d, 0) * a) >> 8);
    case 6:
      return d + ((std::max(s - d, 0) * a) >> 8);
    case 9:
      return d + (((std::abs(d - s) - d) * a) >> 8);
    case 11:
      return d + ((((d + s) / 2 - d) * a) >> 8);
    default:  // 20
      return d + (((std::max(d - s, 0) - d) * a) >> 8);
  }
}

}  // namespace

void Alpha_ModetransProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                           int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  const Rows r{columns, rows, src, dst, srcRowBytes, dstRowBytes};
  switch (param) {
    case 2:
      EachPixel32(r, [](const uint8_t* s, uint8_t* d, int32_t) { asm_alphalitcolor(s, d, 1); });
      return;
    case 3:
      EachPixel32(r, [](const uint8_t* s, uint8_t* d, int32_t) { asm_alphaadd(s, d, 1); });
      return;
    case 4:
      EachPixel32(r, [](const uint8_t* s, uint8_t* d, int32_t) { asm_alphamul(s, d, 1); });
      return;
    case 5:
    case 6:
    case 9:
    case 11:
    case 20:
      EachPixel32(r, [param](const uint8_t* s, uint8_t* d, int32_t) {
        for (int c = 1; c < 4; ++c)
          d[c] = Clamp255(MaskedChannel(param, s[c], d[c], d[0]));
      });
      return;
    default:
      EachPixel32(r, [](const uint8_t* s, uint8_t* d, int32_t) { asm_alphacopy(s, d, 1); });
  }
}

void SetAlpha_fromLuminance(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                            int32_t srcRowBytes, int32_t dstRowBytes, int32_t threshold,
                            int32_t flag)
{
  constexpr int kEntries = 766;
  GWScratch scratch(kEntries);
  if (!scratch.data())
    return;
  uint8_t* lum = scratch.data();
  for (int i = 0; i < kEntries; ++i)
    lum[i] = Clamp255(int32_t(std::max<int64_t>(i / 3 - int64_t(threshold), 0)));
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [&](const uint8_t* s, uint8_t* d, int32_t) {
                const uint8_t v = lum[s[1] + s[2] + s[3]];
                d[0] = flag ? std::min(v, d[0]) : v;
              });
}

void SetAlpha_fromAlpha(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                        int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [](const uint8_t* s, uint8_t* d, int32_t) { asm_copypad(s, d, 1); });
}

void SetAlpha_fromAlphaMax(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                           int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [](const uint8_t* s, uint8_t* d, int32_t) { d[0] = std::min(s[0], d[0]); });
}

void Sub_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                     int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachColour32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
               [](int32_t s, int32_t d, int32_t) { return d - s; });
}

void Alpha2RGB(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst, int32_t srcRowBytes,
               int32_t dstRowBytes, int32_t)
{
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [](const uint8_t* s, uint8_t* d, int32_t) {
                const uint8_t a = s[0];
                d[0] = 0, d[1] = a, d[2] = a, d[3] = a;
              });
}

void SetAlpha_fromRed(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                      int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [](const uint8_t* s, uint8_t* d, int32_t) { d[1] = s[1]; });
}

void Interleave_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                            int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  if (!src || !dst || columns <= 0)
    return;
  for (int32_t y = 0; y + 1 < rows; y += 2)
    std::memmove(dst + int64_t(y + 1) * dstRowBytes, src + int64_t(y) * srcRowBytes,
                 size_t(columns) * 4);
}

void XorGWorld32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                 int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachColour32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
               [](int32_t s, int32_t d, int32_t) { return d ^ s; });
}

void FadeInOut_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                           int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachColour32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
               [&](int32_t s, int32_t d, int32_t x) { return Fade(s, d, FadeInOut(x, columns)); });
}

void BlueGWorld32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                  int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [](const uint8_t* s, uint8_t* d, int32_t) {
                d[3] = std::max({s[1], s[2], s[3]});
              });
}

void ColorCopy_transProc32_32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                              int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  const ParamColour k = ColourOf(param);
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [&](const uint8_t* s, uint8_t* d, int32_t) {
                d[0] = 0;
                for (int c = 1; c < 4; ++c)
                  d[c] = uint8_t((s[c] * k.c[c]) >> 8);
              });
}

void ColorMax_transProc32_32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                             int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  const ParamColour k = ColourOf(param);
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [&](const uint8_t* s, uint8_t* d, int32_t) {
                const int32_t m = std::max(s[1], s[2]);
                for (int c = 1; c < 4; ++c)
                  d[c] = uint8_t(std::max<int32_t>(d[c], (k.c[c] * m) >> 8));
              });
}

void MaxBlend_transProc32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                          int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  const int64_t p = param;
  EachColour32(
      {columns, rows, src, dst, srcRowBytes, dstRowBytes}, [p](int32_t s, int32_t d, int32_t) {
        return std::max<int32_t>(s, int32_t(std::clamp<int64_t>(d + (((s - d) * p) >> 8), 0, 255)));
      });
}

// ------------------------------------------------------------- between depths

void MaxRG_transProc32_8(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                         int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  if (Empty({columns, rows, src, dst, srcRowBytes, dstRowBytes}))
    return;
  for (int32_t y = 0; y < rows; ++y) {
    const uint8_t* s = src + int64_t(y) * srcRowBytes;
    uint8_t* d = dst + int64_t(y) * dstRowBytes;
    for (int32_t x = 0; x < columns; ++x, s += 4)
      d[x] = std::max(s[1], s[2]);
  }
}

void Copy_transProc32_8(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                        int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  if (Empty({columns, rows, src, dst, srcRowBytes, dstRowBytes}))
    return;
  for (int32_t y = 0; y < rows; ++y) {
    const uint8_t* s = src + int64_t(y) * srcRowBytes;
    uint8_t* d = dst + int64_t(y) * dstRowBytes;
    for (int32_t x = 0; x < columns; ++x, s += 4)
      d[x] = uint8_t((s[1] + s[2] + s[3]) / 3);
  }
}

void Max_transProc8_32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                       int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachGrey8To32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
                [](int32_t g, uint8_t* d, int32_t) {
                  for (int c = 1; c < 4; ++c)
                    d[c] = uint8_t(std::max<int32_t>(d[c], g));
                });
}

void ColorCopy_transProc8_32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                             int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  const ParamColour k = ColourOf(param);
  EachGrey8To32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
                [&](int32_t g, uint8_t* d, int32_t) {
                  d[0] = 0;
                  for (int c = 1; c < 4; ++c)
                    d[c] = uint8_t((k.c[c] * g) >> 8);
                });
}

void ColorMax_transProc8_32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                            int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  const ParamColour k = ColourOf(param);
  EachGrey8To32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
                [&](int32_t g, uint8_t* d, int32_t) {
                  for (int c = 1; c < 4; ++c)
                    d[c] = uint8_t(std::max<int32_t>(d[c], (k.c[c] * g) >> 8));
                });
}

void MaxRG_transProc8_32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                         int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachGrey8To32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
                [](int32_t g, uint8_t* d, int32_t) {
                  d[0] = 0, d[1] = uint8_t(g), d[2] = uint8_t(g), d[3] = 0;
                });
}

void Copy_transProc8_32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                        int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachGrey8To32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
                [](int32_t g, uint8_t* d, int32_t) {
                  d[0] = 0, d[1] = uint8_t(g), d[2] = uint8_t(g), d[3] = uint8_t(g);
                });
}

// --------------------------------------------------------------- row helpers

void asm_alphacopy(const uint8_t* src, uint8_t* dst, int32_t n)
{
  for (int32_t i = 0; i < n; ++i, src += 4, dst += 4)
    MixByPad(dst, AsColor(src));
}

void asm_alphaadd(const uint8_t* src, uint8_t* dst, int32_t n)
{
  for (int32_t i = 0; i < n; ++i, src += 4, dst += 4) {
    normalcolor sum = AsColor(dst);
    sum.red = Clamp255(src[1] + dst[1]);
    sum.green = Clamp255(src[2] + dst[2]);
    sum.blue = Clamp255(src[3] + dst[3]);
    MixByPad(dst, sum);
  }
}

void asm_alphamul(const uint8_t* src, uint8_t* dst, int32_t n)
{
  for (int32_t i = 0; i < n; ++i, src += 4, dst += 4) {
    normalcolor product = AsColor(dst);
    product.red = uint8_t((src[1] * dst[1]) >> 8);
    product.green = uint8_t((src[2] * dst[2]) >> 8);
    product.blue = uint8_t((src[3] * dst[3]) >> 8);
    MixByPad(dst, product);
  }
}

void asm_litcolor(const uint8_t* src, uint8_t* dst, int32_t n)
{
  for (int32_t i = 0; i < n; ++i, src += 4, dst += 4)
    for (int c = 1; c < 4; ++c)
      dst[c] = Clamp255(Lit(src[c], dst[c]));
}

void asm_alphalitcolor(const uint8_t* src, uint8_t* dst, int32_t n)
{
  for (int32_t i = 0; i < n; ++i, src += 4, dst += 4) {
    uint8_t lit[4];
    std::memcpy(lit, dst, 4);
    asm_litcolor(src, lit, 1);
    MixByPad(dst, AsColor(lit));
  }
}

void asm_writepad(uint8_t* pixels, int32_t n, uint8_t value)
{
  for (int32_t i = 0; i < n; ++i)
    pixels[4 * i] = value;
}

void asm_insertpad(const uint8_t* bytes, uint8_t* pixels, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    pixels[4 * i] = bytes[i];
}

void asm_extractpad(const uint8_t* pixels, uint8_t* bytes, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    bytes[i] = pixels[4 * i];
}

void asm_pad2RGB(const uint8_t* pixels, uint8_t* dst, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    std::memset(dst + 4 * i, pixels[4 * i], 4);
}

void asm_minpad(const uint8_t* pads, uint8_t* other, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    other[4 * i] = std::min(pads[4 * i], other[4 * i]);
}

void asm_copypad(const uint8_t* src, uint8_t* dst, int32_t n)
{
  for (int32_t i = 0; i < n; ++i)
    dst[4 * i] = src[4 * i];
}

// ------------------------------------------------------------------- mergers

namespace {

// Walks rows last to first and pixels right to left, handing each
// (source pixel, mask byte, destination pixel) to op.
template <class Op>
void EachMerged(int32_t columns, int32_t rows, const uint8_t* src, const uint8_t* mask,
                uint8_t* dst, int32_t srcRowBytes, int32_t maskRowBytes, int32_t dstRowBytes, Op op)
{
  if (!src || !mask || !dst || columns <= 0 || rows <= 0)
    return;
  const int32_t srcStep = srcRowBytes == 0 ? 0 : 4;
  for (int32_t y = rows - 1; y >= 0; --y)
    for (int32_t x = columns - 1; x >= 0; --x)
      op(src + int64_t(y) * srcRowBytes + int64_t(x) * srcStep,
         int32_t(mask[int64_t(y) * maskRowBytes + x]), dst + int64_t(y) * dstRowBytes + 4 * x);
}

int32_t MixByMask(int32_t d, int32_t result, int32_t m)
{
  return m > 254 ? result : d + ((m * (result - d)) >> 8);
}

}  // namespace

void Copy_MergerProc(int32_t columns, int32_t rows, const uint8_t* src, const uint8_t* mask,
                     uint8_t* dst, int32_t srcRowBytes, int32_t maskRowBytes, int32_t dstRowBytes,
                     int32_t)
{
  EachMerged(columns, rows, src, mask, dst, srcRowBytes, maskRowBytes, dstRowBytes,
             [](const uint8_t* s, int32_t m, uint8_t* d) {
               if (m == 255)
                 return;
               if (m == 0) {
                 std::memcpy(d, s, 4);
                 return;
               }
               for (int c = 1; c < 4; ++c)
                 d[c] = Clamp255(s[c] + (((d[c] - s[c]) * m) >> 8));
             });
}

void Blend_MergerProc(int32_t columns, int32_t rows, const uint8_t* src, const uint8_t* mask,
                      uint8_t* dst, int32_t srcRowBytes, int32_t maskRowBytes, int32_t dstRowBytes,
                      int32_t param)
{
  const int64_t p = param;
  EachMerged(columns, rows, src, mask, dst, srcRowBytes, maskRowBytes, dstRowBytes,
             [p](const uint8_t* s, int32_t m, uint8_t* d) {
               for (int c = 1; c < 4; ++c) {
                 const int32_t blend =
                     Clamp255(int32_t((int64_t(d[c]) * p + int64_t(s[c]) * (256 - p)) / 256));
                 d[c] = Clamp255(MixByMask(d[c], blend, m));
               }
             });
}

void Lit_MergerProc(int32_t columns, int32_t rows, const uint8_t* src, const uint8_t* mask,
                    uint8_t* dst, int32_t srcRowBytes, int32_t maskRowBytes, int32_t dstRowBytes,
                    int32_t param)
{
  GWScratch scratch(256 * sizeof(int32_t));
  if (!scratch.data())
    return;
  int32_t* table = reinterpret_cast<int32_t*>(scratch.data());
  for (int i = 0; i < 256; ++i)
    table[i] = int32_t(int16_t(int64_t(i - 128) * param / 128 + 128));
  EachMerged(columns, rows, src, mask, dst, srcRowBytes, maskRowBytes, dstRowBytes,
             [table](const uint8_t* s, int32_t m, uint8_t* d) {
               for (int c = 1; c < 4; ++c) {
                 const int32_t lit = Clamp255((d[c] * table[s[c]]) / 128);
                 d[c] = Clamp255(MixByMask(d[c], lit, m));
               }
             });
}

namespace {

// Pixels of a locked map at a rectangle's top-left.
uint8_t* PixelsAt(const PixMap& pm, const Rect& r)
{
  return pm.baseAddr + int64_t(r.top - pm.bounds.top) * pm.rowBytes +
         int64_t(r.left - pm.bounds.left) * BytesPerPixel(pm.pixelSize);
}

bool IsDepth(Offworld w, int16_t depth)
{
  return w && w->pixels.baseAddr && w->pixels.pixelSize == depth;
}

}  // namespace

void GnrlMerger(Offworld src32, Offworld mask8, Offworld dst32, int32_t srcTopLeft,
                int32_t srcBottomRight, int32_t dstTopLeft, int32_t dstBottomRight, MergerProc proc,
                int32_t param)
{
  if (!proc || !IsDepth(src32, 32) || !IsDepth(mask8, 8) || !IsDepth(dst32, 32))
    return;
  Rect s = UnpackRect(srcTopLeft, srcBottomRight), d = UnpackRect(dstTopLeft, dstBottomRight);
  // The mask lies at the source's place: clip against both.
  const Rect srcBounds = SectRect(src32->pixels.bounds, mask8->pixels.bounds);
  if (!Fix2Rects(&s, &d, srcBounds, dst32->pixels.bounds))
    return;
  LockPixels(&src32->pixels), LockPixels(&mask8->pixels), LockPixels(&dst32->pixels);
  proc(RectWidth(d), RectHeight(d), PixelsAt(src32->pixels, s), PixelsAt(mask8->pixels, s),
       PixelsAt(dst32->pixels, d), src32->pixels.rowBytes, mask8->pixels.rowBytes,
       dst32->pixels.rowBytes, param);
  UnlockPixels(&dst32->pixels), UnlockPixels(&mask8->pixels), UnlockPixels(&src32->pixels);
}

void ColorMerger(normalcolor color, Offworld mask8, Offworld dst32, int32_t maskTopLeft,
                 int32_t maskBottomRight, int32_t dstTopLeft, int32_t dstBottomRight,
                 MergerProc proc, int32_t param)
{
  if (!proc || !IsDepth(mask8, 8) || !IsDepth(dst32, 32))
    return;
  Rect m = UnpackRect(maskTopLeft, maskBottomRight), d = UnpackRect(dstTopLeft, dstBottomRight);
  if (!Fix2Rects(&m, &d, mask8->pixels.bounds, dst32->pixels.bounds))
    return;
  const uint8_t pixel[4] = {color.flag, color.red, color.green, color.blue};
  LockPixels(&mask8->pixels), LockPixels(&dst32->pixels);
  proc(RectWidth(d), RectHeight(d) - 1, pixel, PixelsAt(mask8->pixels, m),
       PixelsAt(dst32->pixels, d), 0, mask8->pixels.rowBytes, dst32->pixels.rowBytes, param);
  UnlockPixels(&dst32->pixels), UnlockPixels(&mask8->pixels);
}

// -------------------------------------------------------------- line writers

uint8_t* Linewrite(uint8_t* p, int32_t count, uint8_t value, int32_t stride)
{
  for (int32_t i = 0; i < count; ++i, p += stride)
    *p = value;
  return p;
}

uint8_t* LinewriteARBG(uint8_t* p, int32_t count, uint32_t value, int32_t stride)
{
  for (int32_t i = 0; i < count; ++i, p += stride)
    std::memcpy(p, &value, 4);
  return p;
}

uint8_t* asm_32pixelwriteLine(uint8_t* p, int32_t count, uint32_t value, int32_t stride)
{
  return LinewriteARBG(p, count, value, stride);
}

uint8_t* LinewriteBGRA(uint8_t* p, int32_t count, uint32_t value, int32_t stride)
{
  const uint8_t bytes[4] = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8),
                            uint8_t(value)};
  for (int32_t i = 0; i < count; ++i, p += stride)
    std::memcpy(p, bytes, 4);
  return p;
}

void writepixel4(uint8_t* p, uint32_t value, int32_t rowBytes)
{
  for (int y = 0; y < 4; ++y)
    LinewriteARBG(p + int64_t(y) * rowBytes, 4, value, 4);
}

normalcolor mix50color(normalcolor a, normalcolor b)
{
  return {uint8_t(a.flag / 2), uint8_t((a.red & 254) / 2 + (b.red & 254) / 2),
          uint8_t((a.green & 254) / 2 + (b.green & 254) / 2),
          uint8_t((a.blue & 254) / 2 + (b.blue & 254) / 2)};
}

// -------------------------------------------------------- highlight combiners

namespace {

int32_t Spread(const uint8_t* p)
{
  return std::max(std::abs(p[1] - p[2]), std::abs(p[2] - p[3]));
}

}  // namespace

void CAddLumhilit(uint8_t* begin, uint8_t* end, normalcolor k)
{
  const int32_t kc[4] = {0, k.red, k.green, k.blue};
  for (uint8_t* p = begin; p && p + 4 <= end; p += 4) {
    const int32_t e = std::min(Spread(p) * 4, 64);
    for (int c = 1; c < 4; ++c)
      p[c] = Clamp255(p[c] + ((kc[c] * e) >> 8));
  }
}

void CTinthilit(uint8_t* begin, uint8_t* end, normalcolor k)
{
  const int32_t kc[4] = {0, k.red, k.green, k.blue};
  for (uint8_t* p = begin; p && p + 4 <= end; p += 4) {
    if (p[1] == p[2] && p[2] == p[3] && p[1] < 65)
      continue;
    const int32_t m = std::max({p[1], p[2], p[3]});
    const int32_t f = m < 64 ? m : 2 * m - 64;
    for (int c = 1; c < 4; ++c)
      p[c] = Clamp255((kc[c] * f) >> 8);
  }
}

void CTintSatLumhilit(uint8_t* begin, uint8_t* end, normalcolor k)
{
  for (uint8_t* p = begin; p && p + 4 <= end; p += 4) {
    const int32_t s = std::min(2 * Spread(p), 255);
    if (s == 0)
      continue;
    const int32_t l = (8 * p[1] + 9 * p[2] + 7 * p[3]) / 16;
    const normalcolor pixel = AsColor(p);
    const normalcolor tint{p[0], Clamp255((k.red * l) >> 8), Clamp255((k.green * l) >> 8),
                           Clamp255((k.blue * l) >> 8)};
    Store(p, PColorLERP256(&pixel, &tint, int16_t(s)));
  }
}

// ------------------------------------------------------------ the dispatcher

namespace {

void CopyColourBytes32(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                       int32_t srcRowBytes, int32_t dstRowBytes, int32_t)
{
  EachPixel32({columns, rows, src, dst, srcRowBytes, dstRowBytes},
              [](const uint8_t* s, uint8_t* d, int32_t) { std::memcpy(d + 1, s + 1, 3); });
}

void PadFromLuminance(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                      int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  SetAlpha_fromLuminance(columns, rows, src, dst, srcRowBytes, dstRowBytes, param, 0);
}

void PadFromLuminanceMin(int32_t columns, int32_t rows, const uint8_t* src, uint8_t* dst,
                         int32_t srcRowBytes, int32_t dstRowBytes, int32_t param)
{
  SetAlpha_fromLuminance(columns, rows, src, dst, srcRowBytes, dstRowBytes, param, 1);
}

// A mode's row procedure and the parameter it receives: the transfer's own,
// or a fixed one (the fades choose their direction by it).
struct ModeEntry
{
  TransProc proc = nullptr;
  bool fixed = false;
  int32_t param = 0;
};

constexpr ModeEntry Own(TransProc p)
{
  return {p, false, 0};
}

constexpr ModeEntry Fixed(TransProc p, int32_t param)
{
  return {p, true, param};
}

constexpr ModeEntry kModes8[] = {
    Own(Copy_transProc),
    Own(Blend_transProc),
    {},
    Own(Add_transProc),
    Own(Mul_transProc),
    Own(Min_transProc),
    Own(Max_transProc),
    Fixed(FadeIn_transProc, 0),
    Fixed(FadeIn_transProc, 1),
    Own(Diff_transProc),
    {},
    Own(Mix50_transProc),
    {},
    {},
    {},
    {},
    {},
    {},
    {},
    {},
    Own(Sub_transProc),
    {},
    {},
    {},
    Own(XorGWorld),
    Own(FadeInOut_transProc),
};

constexpr ModeEntry kModes32[] = {
    Own(Copy_transProc32),
    Own(Blend_transProc32),
    Own(Lit_transProc32),
    Own(Add_transProc32),
    Own(Mul_transProc32),
    Own(Min_transProc32),
    Own(Max_transProc32),
    Fixed(FadeIn_transProc32, 0),
    Fixed(FadeIn_transProc32, 1),
    Own(Diff_transProc32),
    Own(Copy_transProc32),
    Own(Mix50_transProc32),
    Own(CopyColourBytes32),
    Own(Alpha_transProc32),
    Own(SrcAlpha_transProc32),
    Own(Alpha_ModetransProc32),
    Own(PadFromLuminance),
    Own(PadFromLuminanceMin),
    Own(SetAlpha_fromAlpha),
    Own(SetAlpha_fromAlphaMax),
    Own(Sub_transProc32),
    Own(Alpha2RGB),
    Own(SetAlpha_fromRed),
    Own(Interleave_transProc32),
    Own(XorGWorld32),
    Own(FadeInOut_transProc32),
    Own(BlueGWorld32),
    Own(ColorCopy_transProc32_32),
    Own(ColorMax_transProc32_32),
    Own(MaxBlend_transProc32),
};

template <size_t N>
ModeEntry FromTable(const ModeEntry (&table)[N], int16_t mode)
{
  return mode >= 0 && size_t(mode) < N ? table[mode] : ModeEntry{};
}

ModeEntry ModeFor(int16_t srcDepth, int16_t dstDepth, int16_t mode)
{
  if (srcDepth == 8 && dstDepth == 8)
    return FromTable(kModes8, mode);
  if (srcDepth == 32 && dstDepth == 32)
    return FromTable(kModes32, mode);
  if (srcDepth == 16 && dstDepth == 16)
    return Own(Copy_transProc16);
  if (srcDepth == 32 && dstDepth == 8)
    return Own(mode == 30 ? MaxRG_transProc32_8 : Copy_transProc32_8);
  if (srcDepth == 8 && dstDepth == 32) {
    switch (mode) {
      case 6:
        return Own(Max_transProc8_32);
      case 27:
        return Own(ColorCopy_transProc8_32);
      case 28:
        return Own(ColorMax_transProc8_32);
      case 30:
        return Own(MaxRG_transProc8_32);
      default:
        return Own(Copy_transProc8_32);
    }
  }
  return {};
}

// The part of a port that has pixels.
Rect PortPixelBounds(CGrafPtr port)
{
  return SectRect(port->portRect, port->portPixMap->bounds);
}

}  // namespace

void TransfertGWorlds(CGrafPtr src, CGrafPtr dst, int32_t srcTopLeft, int32_t srcBottomRight,
                      int32_t dstTopLeft, int32_t dstBottomRight, int16_t mode, int32_t param)
{
  if (!src || !dst || !src->portPixMap || !dst->portPixMap)
    return;
  PixMap& sp = *src->portPixMap;
  PixMap& dp = *dst->portPixMap;
  if (!sp.baseAddr || !dp.baseAddr)
    return;
  const ModeEntry entry = ModeFor(sp.pixelSize, dp.pixelSize, mode);
  if (!entry.proc)
    return;
  Rect s = UnpackRect(srcTopLeft, srcBottomRight), d = UnpackRect(dstTopLeft, dstBottomRight);
  if (!Fix2Rects(&s, &d, PortPixelBounds(src), PortPixelBounds(dst)))
    return;

  CGrafPtr current = nullptr;
  GetGWorld(&current, nullptr);
  const bool lockPort = current == src;
  if (lockPort)
    LockPortBits(src);
  LockPixels(&sp);
  LockPixels(&dp);

  const int32_t width = RectWidth(d), height = RectHeight(d);
  const uint8_t* srcPixels = PixelsAt(sp, s);
  int32_t srcRowBytes = sp.rowBytes;
  // One map as source and destination: work from a copy of the source so
  // that overlapping rectangles read the pixels as they were.
  std::vector<uint8_t> sourceCopy;
  if (sp.baseAddr == dp.baseAddr) {
    const int32_t rowLength = width * BytesPerPixel(sp.pixelSize);
    sourceCopy.resize(size_t(rowLength) * size_t(height));
    for (int32_t y = 0; y < height; ++y)
      std::memcpy(sourceCopy.data() + size_t(y) * size_t(rowLength),
                  srcPixels + int64_t(y) * sp.rowBytes, size_t(rowLength));
    srcPixels = sourceCopy.data();
    srcRowBytes = rowLength;
  }
  entry.proc(width, height, srcPixels, PixelsAt(dp, d), srcRowBytes, dp.rowBytes,
             entry.fixed ? entry.param : param);

  UnlockPixels(&dp);
  UnlockPixels(&sp);
  if (lockPort)
    UnlockPortBits(src);
}
