#include "celltextures/city_highrise.h"

#include <algorithm>

#include "celltextures/cityplan_a.h"

using kvcell::Alley;
using kvcell::alleyAt;
using kvcell::hash;
using kvcell::within;

namespace {

constexpr double kStreet = -0.0625;
constexpr double kKerb = -0.03125;

// Height of a quarter of a 32-unit parcel by r = parcel hash mod 12; left
// and low tell the quarter (px < 17, py < 17).
double quarterHeight(int32_t r, bool left, bool low)
{
  switch (r) {
    case 0:
      return left && low ? 0.25 : 0.5;
    case 1:
      return left && !low ? 0.75 : 0.5;
    case 2:
      return !left && !low ? 0.5 : 0.25;
    case 3:
      return !left && low ? 0.5 : 0.75;
    case 4:
    case 5:
      return !low ? 0.25 : 0.5;
    case 6:
    case 7:  // the same as 6
      return left ? 0.75 : 0.5;
    case 8:
      return 0.25;
    case 9:
      return 0.5;
    case 10:
      return 0.75;
    default:
      return 1.0;
  }
}

// Parcel level of a block that no building layer takes, at whole-unit
// parcel position (px, py): the quarter height less a quarter, capped by the
// parcel grid's own streets (0), kerbs and alleys (1) and insides (2).
double parcelLevel(const KVtables* t, int32_t x, int32_t y)
{
  const int32_t px = x & 31, py = y & 31;
  const int32_t g = hash(t, 5, y, x);
  double cap = 0.0;
  if (!kvcell::onStreet32(px) && !kvcell::onStreet32(py)) {
    const bool kerb = !(kvcell::inside32(px) && kvcell::inside32(py));
    switch (alleyAt(g & 15, px, py)) {
      case Alley::Centre:
        cap = 0.0;
        break;
      case Alley::Band:
        cap = 1.0;
        break;
      case Alley::None:
        cap = kerb ? 1.0 : 2.0;
        break;
    }
  }
  return std::min(quarterHeight(g % 12, px < 17, py < 17) - 0.25, cap);
}

// The symmetric footprint layer at half coordinates (u, v), in whole
// quarters; it adds its block type to the code.
double footprintQuarters(const KVtables* t, int32_t u, int32_t v, int16_t* code)
{
  const double level = LABTXT_TEK_randomsymbuild(t, u, v, code);
  return kvcell::wrap16(kvnum::sat_i32(8.0 * level)) * 0.25;
}

}  // namespace

double LABTXT_HighRiseCity(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t X = kvnum::wrap_add_i32(x, 1), Y = kvnum::wrap_add_i32(y, 1);
  const int32_t hx = (X >> 1) & 31, hy = (Y >> 1) & 31;
  if (const int16_t mark = kvcell::streetMark(hx, hy)) {
    *code = mark;
    return kStreet;
  }
  const int32_t type = hash(t, 6, Y, X) & 15;
  if (alleyAt(type, hx, hy) == Alley::Centre) {
    *code = -2;
    return kStreet;
  }
  *code = int16_t(type);
  switch (type) {
    case 1:
      return footprintQuarters(t, X >> 1, Y >> 1, code);
    case 3:
      return footprintQuarters(t, X >> 1, kvnum::wrap_add_i32(Y >> 1, -640), code);
    case 4:
    case 7:
    case 8:
    case 10:
      return LABTXT_subcityA(t, kvnum::wrap_add_i32(x, -1), y, code);
    case 15:
      return LABTXT_TEK_symbuild32(t, x, y, code);
    default:
      break;
  }
  // The code names the block row, masked by the block type.
  *code = int16_t((((Y >> 1) >> 4) + 3) & ((type & 7) * 8 + 7));
  if (!(within(hx, 3, 29) && within(hy, 3, 29)))
    return kKerb;
  return parcelLevel(t, x, y);
}
