#include "imaging/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/checked.h"
#include "imaging/cursorkeys.h"

namespace {

using kvnum::sat_i32;

constexpr double kTwoPi = 6.28318530717958647692;
constexpr int16_t kBusyCursor = 4;

// Source and destination pixels locked for one operation; valid() is false
// when the depths differ from `depth` or the destination is smaller.
class Pair
{
public:
  Pair(Offworld src, Offworld dst, int16_t depth) : src_(src), dst_(dst)
  {
    if (!src || !dst || !src->pixels.baseAddr || !dst->pixels.baseAddr)
      return;
    const Rect& sb = src->pixels.bounds;
    const Rect& db = dst->pixels.bounds;
    if ((depth && (src->pixels.pixelSize != depth || dst->pixels.pixelSize != depth)) ||
        src->pixels.pixelSize != dst->pixels.pixelSize || sb.right <= 0 || sb.bottom <= 0 ||
        RectWidth(db) < sb.right || RectHeight(db) < sb.bottom)
      return;
    W = sb.right, H = sb.bottom, bpp = BytesPerPixel(src->pixels.pixelSize);
    ok_ = bpp > 0 && LockPixels(&src->pixels) && LockPixels(&dst->pixels);
  }
  ~Pair()
  {
    if (ok_)
      UnlockPixels(&dst_->pixels), UnlockPixels(&src_->pixels);
  }
  bool valid() const { return ok_; }
  const uint8_t* srcAt(int32_t c, int32_t r) const
  {
    return src_->pixels.baseAddr + int64_t(r) * src_->pixels.rowBytes + int64_t(c) * bpp;
  }
  uint8_t* dstAt(int32_t c, int32_t r) const
  {
    return dst_->pixels.baseAddr + int64_t(r) * dst_->pixels.rowBytes + int64_t(c) * bpp;
  }
  int32_t srcRowBytes() const { return src_->pixels.rowBytes; }
  int32_t W = 0, H = 0, bpp = 0;

private:
  Offworld src_, dst_;
  bool ok_ = false;
};

int64_t Mod(int64_t v, int64_t m)
{
  const int64_t r = v % m;
  return r < 0 ? r + m : r;
}

// Maps a source position to a pixel, wrapping or refusing positions outside.
bool SourcePlace(const Pair& p, int64_t& col, int64_t& row)
{
  if (gWarpArround) {
    col = Mod(col, p.W), row = Mod(row, p.H);
    return true;
  }
  return col >= 0 && col < p.W && row >= 0 && row < p.H;
}

void MoveAny(Offworld src, Offworld dst, int32_t x, int32_t y, int16_t depth)
{
  Pair p(src, dst, depth);
  if (!p.valid())
    return;
  const int64_t dx = 256 - int64_t(x), dy = 256 - int64_t(y);
  for (int32_t r = 0; r < p.H; ++r)
    for (int32_t c = 0; c < p.W; ++c) {
      int64_t col = gWarpArround ? c + 16 * int64_t(p.W) + dx : c + dx;
      int64_t row = gWarpArround ? r + 32 * int64_t(p.H) + dy : r + dy;
      if (SourcePlace(p, col, row))
        std::memcpy(p.dstAt(c, r), p.srcAt(int32_t(col), int32_t(row)), size_t(p.bpp));
      else
        std::memset(p.dstAt(c, r), 0, size_t(p.bpp));
    }
}

// The rotation's tables: per column A and B, per row E and F, built once.
struct Rotation
{
  double cosT, sinT;
  int32_t cx, cy;
  int64_t p0, q0;
};

Rotation MakeRotation(const Pair& p, int32_t angle, uint8_t centre)
{
  const double theta = (256.0 - double(angle)) * kTwoPi / 1024.0;
  Rotation r{std::cos(theta), std::sin(theta), centre ? p.W / 2 : 0, centre ? p.H / 2 : p.H, 0, 0};
  r.p0 = 128 * (int64_t(r.cy) + (gWarpArround ? 16 * int64_t(p.H) : 0));
  r.q0 = 128 * (int64_t(r.cx) + (gWarpArround ? 16 * int64_t(p.W) : 0));
  return r;
}

void RotateAny(Offworld src, Offworld dst, int32_t sx, int32_t sy, int32_t angle, uint8_t centre,
               int16_t depth)
{
  Pair p(src, dst, depth);
  if (!p.valid())
    return;
  const Rotation rot = MakeRotation(p, angle, centre);
  GWScratch scratch(size_t(2 * p.W + 2 * p.H) * sizeof(int32_t));
  if (!scratch.data())
    return;
  int32_t* A = reinterpret_cast<int32_t*>(scratch.data());
  int32_t *B = A + p.W, *E = B + p.W, *F = E + p.H;
  for (int32_t c = 0; c < p.W; ++c) {
    A[c] = sat_i32(sx * rot.cosT * (c - rot.cx));
    B[c] = sat_i32(sx * rot.sinT * (c - rot.cx));
  }
  for (int32_t r = 0; r < p.H; ++r) {
    E[r] = sat_i32(sy * rot.cosT * (r - rot.cy));
    F[r] = sat_i32(sy * rot.sinT * (r - rot.cy));
  }
  for (int32_t r = 0; r < p.H; ++r)
    for (int32_t c = 0; c < p.W; ++c) {
      int64_t col = (rot.q0 + F[r] + A[c]) >> 7, row = (rot.p0 + E[r] - B[c]) >> 7;
      if (SourcePlace(p, col, row))
        std::memcpy(p.dstAt(c, r), p.srcAt(int32_t(col), int32_t(row)), size_t(p.bpp));
      else
        std::memset(p.dstAt(c, r), 0, size_t(p.bpp));
    }
}

void AARotateAny(Offworld src, Offworld dst, int32_t sx, int32_t sy, int32_t angle, uint8_t centre,
                 int16_t depth)
{
  DChangeCursor(kBusyCursor);
  Pair p(src, dst, depth);
  if (!p.valid())
    return;
  const Rotation rot = MakeRotation(p, angle, centre);
  const int64_t cols = 4 * int64_t(p.W), rows = 4 * int64_t(p.H);
  GWScratch scratch(size_t(2 * cols + 2 * rows) * sizeof(float));
  if (!scratch.data())
    return;
  float* A = reinterpret_cast<float*>(scratch.data());
  float *B = A + cols, *E = B + cols, *F = E + rows;
  const float fsx = float(sx), fsy = float(sy), c = float(rot.cosT), s = float(rot.sinT);
  for (int64_t k = 0; k < cols; ++k) {
    const float x = float(k) / 4.0f - float(rot.cx);
    A[k] = fsx * c * x, B[k] = fsx * s * x;
  }
  for (int64_t k = 0; k < rows; ++k) {
    const float y = float(k) / 4.0f - float(rot.cy);
    E[k] = fsy * c * y, F[k] = fsy * s * y;
  }
  const int first = p.bpp == 1 ? 0 : 1;
  for (int32_t r = 0; r < p.H; ++r)
    for (int32_t cc = 0; cc < p.W; ++cc) {
      int32_t sum[4] = {0, 0, 0, 0};
      for (int64_t kr = 4 * int64_t(r); kr < 4 * int64_t(r) + 4; ++kr)
        for (int64_t kc = 4 * int64_t(cc); kc < 4 * int64_t(cc) + 4; ++kc) {
          int64_t col = int64_t(sat_i32(double(float(rot.q0) + F[kr] + A[kc]))) >> 7;
          int64_t row = int64_t(sat_i32(double(float(rot.p0) + E[kr] - B[kc]))) >> 7;
          if (!SourcePlace(p, col, row))
            continue;
          const uint8_t* sp = p.srcAt(int32_t(col), int32_t(row));
          for (int b = first; b < p.bpp; ++b)
            sum[b] += sp[b];
        }
      uint8_t* dp = p.dstAt(cc, r);
      for (int b = first; b < p.bpp; ++b)
        dp[b] = uint8_t(sum[b] >> 4);
    }
}

}  // namespace

void Contrast_GW(Offworld src, Offworld dst, int32_t contrast, int32_t brightness,
                 uint8_t zeroBlack)
{
  Pair p(src, dst, 0);
  if (!p.valid())
    return;
  uint8_t table[256];
  const int64_t c = contrast, b4 = brightness / 4;
  for (int k = 0; k < 256; ++k)
    table[k] = uint8_t(std::clamp<int64_t>(((b4 - 128 + k) * c) / 128 + 128, 0, 255));
  if (zeroBlack)
    table[0] = 0;
  const int64_t length = int64_t(p.W) * p.bpp;
  for (int32_t r = 0; r < p.H; ++r) {
    const uint8_t* s = p.srcAt(0, r);
    uint8_t* d = p.dstAt(0, r);
    for (int64_t i = 0; i < length; ++i)
      d[i] = table[s[i]];
  }
}

void Move_GW(Offworld src, Offworld dst, int32_t x, int32_t y)
{
  MoveAny(src, dst, x, y, 8);
}

void Move_GW32(Offworld src, Offworld dst, int32_t x, int32_t y)
{
  MoveAny(src, dst, x, y, 32);
}

void Rotate_GW(Offworld src, Offworld dst, int32_t sx, int32_t sy, int32_t angle, uint8_t centre)
{
  RotateAny(src, dst, sx, sy, angle, centre, 8);
}

void Rotate_GW32(Offworld src, Offworld dst, int32_t sx, int32_t sy, int32_t angle, uint8_t centre)
{
  RotateAny(src, dst, sx, sy, angle, centre, 32);
}

void AARotate_GW(Offworld src, Offworld dst, int32_t sx, int32_t sy, int32_t angle, uint8_t centre)
{
  AARotateAny(src, dst, sx, sy, angle, centre, 8);
}

void AARotate_GW32(Offworld src, Offworld dst, int32_t sx, int32_t sy, int32_t angle,
                   uint8_t centre)
{
  AARotateAny(src, dst, sx, sy, angle, centre, 32);
}
