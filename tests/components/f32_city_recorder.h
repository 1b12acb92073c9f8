// A vector cell function that records its calls, for the city light members
// of f32 and f42: it returns values that name the corner, and advances the
// first code word by one on every call so that carrying can be seen.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "celltextures/celltexture3d.h"

struct CityCall
{
  int32_t x, y, z;
  int16_t code0, code1;
};

inline std::vector<CityCall>& cityCalls()
{
  static std::vector<CityCall> calls;
  return calls;
}

// Light x + 10 y + 100 z, reflection the negative of it.
inline double cornerValue(int32_t x, int32_t y, int32_t z)
{
  return x + 10.0 * y + 100.0 * z;
}

inline void recordingCell(const KVtables*, int32_t x, int32_t y, int32_t z, dvector3d* out,
                          int16_t* code)
{
  cityCalls().push_back(CityCall{x, y, z, code[0], code[1]});
  out->x = cornerValue(x, y, z);
  out->y = -cornerValue(x, y, z);
  code[0] = int16_t(code[0] + 1);
}

// The eight corners of cell (i, j, k) in the order the members call them.
inline std::vector<CityCall> cornerOrder(int32_t i, int32_t j, int32_t k)
{
  std::vector<CityCall> c;
  for (int32_t dz = 0; dz < 2; ++dz)
    for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
      c.push_back(CityCall{i + dx, j + dy, k + dz, 0, 0});
  return c;
}
