// Checked conversions from double to integer. Converting a double that does
// not fit (NaN, infinities, the no-value marker 1e250, anything beyond the
// integer range) is undefined behaviour in C++, so every place that turns an
// unbounded double into an integer goes through these.
#pragma once

#include <cmath>
#include <cstdint>

namespace kvnum {

// True when x truncated toward zero fits a signed 32-bit integer.
inline bool fits_i32(double x)
{
  return x > -2147483649.0 && x < 2147483648.0;  // false for NaN
}

// Truncation toward zero; false (and out = 0) when x does not fit.
inline bool trunc_i32(double x, int32_t& out)
{
  if (!fits_i32(x)) {
    out = 0;
    return false;
  }
  out = int32_t(x);
  return true;
}

// A coordinate split into its lattice cell and the fraction within it.
struct LatticeSplit
{
  int32_t cell = 0;
  double frac = 0.0;
};

// Floor split: cell = floor(x), frac = x - cell in [0, 1).
// -2.0 gives (-2, 0); -1.5 gives (-2, 0.5). False (cell 0, frac 0) for NaN,
// infinities, the no-value marker and anything whose floor is beyond int32.
inline bool lattice_floor(double x, LatticeSplit& out)
{
  double f = std::floor(x);
  if (!(f >= -2147483648.0 && f < 2147483648.0)) {
    out = LatticeSplit{};
    return false;
  }
  out.cell = int32_t(f);
  out.frac = x - f;
  return true;
}

// Truncation split used where the lattice cell of a negative coordinate is
// taken as trunc(x) - 1: -1.0 lies in cell -2 with fraction 1, -1.5 in cell -2
// with fraction 0.5; non-negative x behaves as the floor split. Same failures
// as lattice_floor.
inline bool lattice_trunc_split(double x, LatticeSplit& out)
{
  if (!(x > -2147483648.0 && x < 2147483648.0)) {
    out = LatticeSplit{};
    return false;
  }
  int32_t t = int32_t(x);
  if (x < 0)
    t -= 1;
  out.cell = t;
  out.frac = x - double(t);
  return true;
}

// 32-bit two's-complement arithmetic for lattice indices that may wrap (a
// neighbour i + 1, an offset such as j + 773, a product): the result is what
// 32-bit hardware gives, computed without a signed overflow.
inline int32_t wrap_add_i32(int32_t a, int32_t b)
{
  return int32_t(uint32_t(a) + uint32_t(b));
}

inline int32_t wrap_mul_i32(int32_t a, int32_t b)
{
  return int32_t(uint32_t(a) * uint32_t(b));
}

// Saturating truncations: values beyond the range give the nearest end,
// NaN gives 0.
inline int32_t sat_i32(double x)
{
  if (std::isnan(x))
    return 0;
  if (x <= -2147483648.0)
    return INT32_MIN;
  if (x >= 2147483647.0)
    return INT32_MAX;
  return int32_t(x);
}

inline int16_t sat_i16(double x)
{
  if (std::isnan(x))
    return 0;
  if (x <= -32768.0)
    return INT16_MIN;
  if (x >= 32767.0)
    return INT16_MAX;
  return int16_t(x);
}

inline uint8_t sat_u8(double x)
{
  if (std::isnan(x))
    return 0;
  if (x <= 0.0)
    return 0;
  if (x >= 255.0)
    return 255;
  return uint8_t(x);
}

inline uint16_t sat_u16(double x)
{
  if (std::isnan(x))
    return 0;
  if (x <= 0.0)
    return 0;
  if (x >= 65535.0)
    return 65535;
  return uint16_t(x);
}

}  // namespace kvnum
