// Rules the building generators share with their vector twins: street gaps,
// frames, the rectangle selector, the lit storeys and hash thresholds, and
// the shapes of the two shape generators.
#pragma once

#include <cstdint>

#include "celltextures/celltexture3d.h"

namespace kvcell {

// The rectangle selector of a hash g over (a, b, c): 6 for g & 3 = 0; for 1,
// 1 when a & 7 > 3 else 0; for 2, 2 plus 1 when b & 7 > 3; for 3, 4 plus 1
// when c & 7 > 3.
int32_t rectSelector(int32_t g, int32_t a, int32_t b, int32_t c);

// The street gap of the 3-unit gap cells, chosen by code c (with x + 1 and
// z + 1): 3 in both axes every 32 units, 4 and 7 along x every 32, 5 along
// x every 16, 6 along z every 32, every other code in both axes every 16.
bool gapAt(int32_t c, int32_t x, int32_t z);

// The window test of the gap cells by code c: 4 needs x15 and z15 nonzero,
// 5 y7, 6 x15 and y7, 7 x7 and z7, every other code an inner point.
bool windowTestAt(int32_t c, const Lattice3& l);

// The roof band of the storey cells: (y > 31 or w = 0) and y & 31 outside
// 8..24.
bool roofBandAt(int32_t w, int32_t y);

// The frame of the storey cells by w = code & 7 (band: roofBandAt).
bool storeyFrameAt(int32_t w, bool band, const Lattice3& l, int32_t y);

// h / 256 when that is above `threshold`, else 0.
double aboveThreshold(int32_t h, double threshold);

// The lit storeys of the vector cells: (((y >> 3) + 3) & 2) = 0.
bool litStorey(int32_t y);

// The flag-clear pattern of pillars every 4 units.
void pillarsAt(int32_t x, int32_t z, dvector3d* out);

// Sets the code (kept to 16 bits) and returns the level.
inline double putCode(int16_t* code, int32_t value, double level)
{
  *code = wrap16(value);
  return level;
}

inline bool outside(int32_t v, int32_t lo, int32_t hi)
{
  return !within(v, lo, hi);
}

// The caller's flag of a vector cell's code pair.
inline bool flagSet(const int16_t* code)
{
  return code[1] != 0;
}

inline void setPair(dvector3d* out, double height, double light)
{
  out->x = height;
  out->y = light;
}

// Where a point lies in the 64-unit composite blocks.
struct CompositeBlock
{
  bool edge48;  // (x + 48) & 63 or (z + 48) & 63 below 8 or above 54
  bool same64;  // bit 6 of x + 48 equals bit 6 of z + 48
  bool corner;  // (x + 48) & 64 and (z + 48) & 64
};

inline CompositeBlock compositeBlock(int32_t x, int32_t z)
{
  const int32_t x48 = offset(x, 48), z48 = offset(z, 48);
  auto edge = [](int32_t v) { return (v & 63) < 8 || (v & 63) > 54; };
  return {edge(x48) || edge(z48), bit(x48, 6) == bit(z48, 6), (x48 & 64) != 0 && (z48 & 64) != 0};
}

// The outcome of the shape generators and its point.
enum class ShapeOutcome
{
  Solid,
  Ledge,
  Frame,
  Panel,
  Window
};

struct ShapePoint
{
  ShapeOutcome outcome;
  int32_t x, y, z;  // the working point
};

// Which of the shape generators' forms asks: the vector twin of the classic
// shapes takes shape 6's ledge whatever y and has no ledge in shape 7.
enum class ShapeForm
{
  Plain,
  Vector
};

// The classic shape m (0..7) at (x, y, z), the frame test applied.
ShapePoint classicShapeAt(int32_t m, int32_t x, int32_t y, int32_t z, ShapeForm form);

// The shape m of the block-B shapes at (x, y, z) (the working point is the
// input point).
ShapeOutcome blockShapeAt(int32_t m, int32_t x, int32_t y, int32_t z);

// The shape indices: every 1024 units of x, shifted by the variant.
inline int32_t classicShapeIndex(int32_t w, int32_t x)
{
  return ((x >> 10) + w) & 7;
}
inline int32_t blockShapeIndex(int32_t w, int32_t x)
{
  return (w + (offset(x, -16) >> 10)) & 7;
}

// The outcome table of the shape generators: level and code of the solid,
// ledge and frame outcomes by w.
struct OutcomeMaterial
{
  double level;
  int16_t code[8];
};
extern const OutcomeMaterial kShapeSolid, kShapeLedge, kShapeFrame;
inline constexpr double kShapePanelLevel = 0.75;

// The panel code by w at working point (x, y, z).
int16_t shapePanelCode(const KVtables* t, int32_t w, int32_t x, int32_t y, int32_t z);

}  // namespace kvcell
