#include "components/f21/f21_pictfilters.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "foundation/checked.h"

namespace {

uint32_t loadSample(const uint8_t* p)
{
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void storeSample(uint8_t* p, uint32_t v)
{
  std::memcpy(p, &v, sizeof v);
}

// Sample (column, row) of a buffer of unsigned 32-bit samples.
double sampleAt(const void* pixels, int32_t rowBytes, int32_t column, int32_t row)
{
  const auto* base = static_cast<const uint8_t*>(pixels);
  return double(loadSample(base + ptrdiff_t(row) * rowBytes + ptrdiff_t(column) * 4));
}

// The same, 0 outside W x H.
double sampleOrZero(const void* pixels, int32_t rowBytes, int32_t W, int32_t H, int64_t column,
                    int64_t row)
{
  if (column < 0 || column >= W || row < 0 || row >= H)
    return 0.0;
  return sampleAt(pixels, rowBytes, int32_t(column), int32_t(row));
}

// One box pass of width w over the L samples first, first + step, ... in
// place, through the line store (L + w - 1 entries). A running sum: S starts
// as w v[0] (the samples before 0 extended), each step adds the sample
// entering the window and drops the one leaving it; unsigned wrap-around
// cancels, the true sums fit 32 bits.
void boxPassLine(uint8_t* first, ptrdiff_t step, int32_t L, int32_t w, uint32_t* store)
{
  auto extended = [&](int64_t j) {
    const int64_t i = std::clamp<int64_t>(j, 0, L - 1);
    return loadSample(first + i * step);
  };
  const int32_t h = (w - 1) / 2;
  uint32_t sum = uint32_t(w) * extended(0);
  for (int64_t j = 0; j - w < L - 1; ++j) {
    sum += extended(j) - extended(j - w);
    store[j] = sum;
  }
  for (int32_t i = 0; i < L; ++i)
    storeSample(first + ptrdiff_t(i) * step, store[i + h]);
}

// Line store entries a pass over lines of up to L samples needs.
size_t storeEntries(int32_t L, int32_t w)
{
  return size_t(L) + size_t(w);
}

void boxPassRows(int32_t W, int32_t rows, uint8_t* pixels, int32_t rowBytes, int32_t w,
                 uint32_t* store)
{
  for (int32_t r = 0; r < rows; ++r)
    boxPassLine(pixels + ptrdiff_t(r) * rowBytes, 4, W, w, store);
}

void boxPassColumns(int32_t W, int32_t H, uint8_t* pixels, int32_t rowBytes, int32_t w,
                    uint32_t* store)
{
  for (int32_t c = 0; c < W; ++c)
    boxPassLine(pixels + ptrdiff_t(c) * 4, rowBytes, H, w, store);
}

// Runs `pass` with a line store of `entries` from the scratch block, or a
// block of its own when the scratch block is too small.
template <class Pass>
void withLineStore(size_t entries, Pass pass)
{
  GWScratch scratch(entries * sizeof(uint32_t));
  if (scratch.size() < entries * sizeof(uint32_t))
    return;
  pass(reinterpret_cast<uint32_t*>(scratch.data()));
}

// Wider boxes than this are refused: a line store for them is no use.
constexpr int32_t kMaxBoxWidth = 65535;

bool validPass(int32_t W, int32_t H, const void* pixels, int32_t rowBytes, int32_t w)
{
  return pixels != nullptr && W > 0 && H > 0 && w >= 1 && w <= kMaxBoxWidth &&
         rowBytes >= 4 * int64_t(W);
}

// Red + green + blue of source pixel (column, row): 3 x grey for 8 bits.
uint32_t greySum(const PixMap& source, int32_t column, int32_t row)
{
  const uint8_t* line = source.baseAddr + ptrdiff_t(row) * source.rowBytes;
  if (source.pixelSize == 8)
    return 3u * line[column];
  const uint8_t* p = line + ptrdiff_t(column) * 4;
  return uint32_t(p[1]) + p[2] + p[3];
}

int32_t boundsWidth(const PixMap& m)
{
  return std::max(0, m.bounds.right - m.bounds.left);
}

int32_t boundsHeight(const PixMap& m)
{
  return std::max(0, m.bounds.bottom - m.bounds.top);
}

// The plane of pixel (column, row) through its quarter points toward its
// four neighbours, at offset (u, v) from the pixel.
double quarterPlane(const uint8_t* base, int32_t rowBytes, int32_t column, int32_t row, double u,
                    double v)
{
  auto at = [&](int32_t c, int32_t r) { return double(base[ptrdiff_t(r) * rowBytes + c]); };
  const double p = at(column, row);
  const double left = p + (at(column - 1, row) - p) / 4;
  const double right = p + (at(column + 1, row) - p) / 4;
  const double up = p + (at(column, row - 1) - p) / 4;
  const double down = p + (at(column, row + 1) - p) / 4;
  const double mean = (left + right + up + down) / 4;
  return mean + (right - left) * u + (down - up) * v;
}

}  // namespace

void gw_FastBoxFilter16_X(int32_t W, int32_t rows, void* pixels, int32_t rowBytes, int32_t w)
{
  if (!validPass(W, rows, pixels, rowBytes, w))
    return;
  withLineStore(storeEntries(W, w), [&](uint32_t* store) {
    boxPassRows(W, rows, static_cast<uint8_t*>(pixels), rowBytes, w, store);
  });
}

void gw_FastBoxFilter16_Y(int32_t W, int32_t H, void* pixels, int32_t rowBytes, int32_t w)
{
  if (!validPass(W, H, pixels, rowBytes, w))
    return;
  withLineStore(storeEntries(H, w), [&](uint32_t* store) {
    boxPassColumns(W, H, static_cast<uint8_t*>(pixels), rowBytes, w, store);
  });
}

void ConvertToscalar16(Offworld source, Offworld destination, int32_t k, int32_t W, int32_t H)
{
  if (source == nullptr || destination == nullptr || k < 0 || k >= kMaxBoxWidth)
    return;
  const PixMap& from = source->pixels;
  PixMap& to = destination->pixels;
  if (from.baseAddr == nullptr || to.baseAddr == nullptr || to.pixelSize != 32 ||
      (from.pixelSize != 8 && from.pixelSize != 32))
    return;
  W = std::min({W, boundsWidth(from), boundsWidth(to)});
  H = std::min({H, boundsHeight(from), boundsHeight(to)});
  const int32_t w = k + 1;
  if (!validPass(W, H, to.baseAddr, to.rowBytes, w))
    return;

  withLineStore(storeEntries(std::max(W, H), w), [&](uint32_t* store) {
    for (int32_t row = 0; row < H; ++row) {
      uint8_t* line = to.baseAddr + ptrdiff_t(row) * to.rowBytes;
      const bool edgeRow = row == 0 || row == H - 1;
      for (int32_t column = 0; column < W; ++column) {
        const bool edge = edgeRow || column == 0 || column == W - 1;
        storeSample(line + ptrdiff_t(column) * 4, edge ? 0u : greySum(from, column, row));
      }
    }
    // Rows, columns, rows, columns: the weights of a sum add up to w^4.
    for (int round = 0; round < 2; ++round) {
      boxPassRows(W, H, to.baseAddr, to.rowBytes, w, store);
      boxPassColumns(W, H, to.baseAddr, to.rowBytes, w, store);
    }
  });
}

double Bezier1D(double p0, double p1, double p2, double p3, double t)
{
  // 1/6 as the spline was tuned with it.
  constexpr double kSixth = 0.16666666667;
  const double c1 = p1 + (p2 - p0) * kSixth;
  const double c2 = p2 - (p3 - p1) * kSixth;
  const double s = 1 - t;
  return s * s * s * p1 + 3 * s * s * t * c1 + 3 * s * t * t * c2 + t * t * t * p2;
}

double newPLerp(const void* pixels, int32_t rowBytes, double x, double y)
{
  kvnum::LatticeSplit sx, sy;
  if (!kvnum::lattice_trunc_split(x, sx) || !kvnum::lattice_trunc_split(y, sy))
    return 0.0;
  double rows[4];
  for (int r = 0; r < 4; ++r) {
    const int32_t row = sy.cell - 1 + r;
    rows[r] = Bezier1D(sampleAt(pixels, rowBytes, sx.cell - 1, row),
                       sampleAt(pixels, rowBytes, sx.cell, row),
                       sampleAt(pixels, rowBytes, sx.cell + 1, row),
                       sampleAt(pixels, rowBytes, sx.cell + 2, row), sx.frac);
  }
  return Bezier1D(rows[0], rows[1], rows[2], rows[3], sy.frac);
}

double newPLerpBounds(const void* pixels, int32_t rowBytes, int32_t W, int32_t H, double x,
                      double y)
{
  kvnum::LatticeSplit sx, sy;
  if (!kvnum::lattice_trunc_split(x, sx) || !kvnum::lattice_trunc_split(y, sy))
    return 0.0;
  double rows[4];
  for (int r = 0; r < 4; ++r) {
    const int64_t row = int64_t(sy.cell) - 1 + r;
    double s[4];
    for (int c = 0; c < 4; ++c)
      s[c] = sampleOrZero(pixels, rowBytes, W, H, int64_t(sx.cell) - 1 + c, row);
    rows[r] = Bezier1D(s[0], s[1], s[2], s[3], sx.frac);
  }
  return Bezier1D(rows[0], rows[1], rows[2], rows[3], sy.frac);
}

double PictCubicLerp(const void* pixels, int32_t rowBytes, double x, double y)
{
  kvnum::LatticeSplit sx, sy;
  if (!kvnum::lattice_trunc_split(x, sx) || !kvnum::lattice_trunc_split(y, sy))
    return 0.0;
  const auto* base = static_cast<const uint8_t*>(pixels);
  const int32_t ix = sx.cell, iy = sy.cell;
  const double fx = sx.frac, fy = sy.frac;
  const double p00 = quarterPlane(base, rowBytes, ix, iy, fx, fy);
  const double p10 = quarterPlane(base, rowBytes, ix + 1, iy, fx - 1, fy);
  const double p01 = quarterPlane(base, rowBytes, ix, iy + 1, fx, fy - 1);
  const double p11 = quarterPlane(base, rowBytes, ix + 1, iy + 1, fx - 1, fy - 1);
  const double top = p00 + (p10 - p00) * fx;
  const double bottom = p01 + (p11 - p01) * fx;
  return top + (bottom - top) * fy;
}
