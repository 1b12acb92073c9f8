#include "celltextures/streets.h"

#include <algorithm>

using kvcell::Alley;
using kvcell::alleyAt;
using kvcell::inside32;
using kvcell::onStreet32;
using kvcell::within;

double LABTXT_StreetsNetwork(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t px = x & 31, py = y & 31;
  if (onStreet32(px) || onStreet32(py)) {
    *code = 0;
    return -0.1;
  }
  const double base = inside32(px) && inside32(py) ? 2.0 : -0.01;
  const int32_t type = kvcell::hash(t, 5, y, x) & 15;
  *code = int16_t(type);
  if (type == 1) {
    // Three alleys that end at a yard along the top of the block.
    if (within(px, 15, 17) || within(px, 23, 25) || within(py, 23, 25))
      return px == 16 || px == 24 ? -0.1 : -0.01;
    return py > 25 ? -0.01 : std::min(base, 0.5);
  }
  const Alley alley = alleyAt(type, px, py);
  if (alley != Alley::None)
    return alley == Alley::Centre ? -0.1 : -0.01;
  switch (type) {
    case 0:
      return std::min(base, 0.0);
    case 2:
      return base > 0 ? 0.25 : base;
    case 3:
      return base > 0 ? 0.5 : base;
    case 4:
      return base > 0 ? 1.5 : base;
    case 5:
    case 7:
    case 10:
      return std::min(base, 1.5);
    case 6:
    case 8:
    case 11:
    case 12:
      return std::min(base, 1.0);
    case 9:
      return base;
    case 13:
      return std::min(base, 1.25);
    default:
      return base;
  }
}

double LABTXT_StreetsMask(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t px = x & 31, py = y & 31;
  if (onStreet32(px) || onStreet32(py)) {
    *code = px == 0 || py == 0 ? -2 : -1;
    return 2.0;
  }
  const double level = inside32(px) && inside32(py) ? 0.0 : 1.0;
  const int32_t type = kvcell::hash(t, 5, y, x) & 15;
  *code = int16_t(type);
  switch (alleyAt(type, px, py)) {
    case Alley::None:
      return level;
    case Alley::Band:
      return 1.0;
    case Alley::Centre:
      *code = -2;
      return 2.0;
  }
  return level;
}

int32_t LABTXT_StreetsFlags(const KVtables* t, int32_t x, int32_t y)
{
  const int32_t px = x & 31, py = y & 31;
  if (px == 0 || py == 0)
    return -2;
  const int32_t type = kvcell::hash(t, 5, y, x) & 15;
  bool line = false;
  switch (type) {
    case 5:
    case 6:
    case 7:
    case 11:
      line = px == 16;
      break;
    case 8:
    case 9:
    case 10:
    case 12:
      line = py == 16;
      break;
    case 13:
      line = px == 16 || py == 16;
      break;
    default:
      break;
  }
  return line ? -2 : type;
}

namespace {

// Block code of an inside point of StreetsNetworkMask by block type.
int32_t networkMaskCode(int32_t h, int32_t px, int32_t py)
{
  const int32_t m = ((h >> 4) & 3) + 12;
  switch (h & 15) {
    case 0:
      return py < 16 ? h & 31 : 3;
    case 2:
      return ((h >> 4) & 3) + 8;
    case 3:
      return m;
    case 4:
      return (h >> 4) & 15;
    case 5:
      return px >= 17 ? 6 : 5;
    case 6:
      return px <= 16 ? m : 0;
    case 7:
      return px <= 16 ? 16 : 0;
    case 8:
      return py < 17 ? 12 : 20;
    case 9:
      return py >= 17 ? 2 : 0;
    case 10:
      return py < 17 ? 15 : 28;
    case 11:
      return px > 15 ? 30 : m;
    case 12:
      return py >= 16 ? 28 : m;
    case 13:
      return px > 15 ? 4 : 6;
    default:  // 1, 14, 15
      return 5;
  }
}

}  // namespace

double StreetsNetworkMask(const KVtables* t, int32_t x, int32_t y, double /*seed*/, int16_t* code)
{
  *code = -2;
  const int32_t px = x & 31, py = y & 31;
  if (onStreet32(px) || onStreet32(py))
    return -1.0;
  const int32_t h = kvcell::hash(t, 5, y, x);
  if (alleyAt(h & 15, px, py) == Alley::Centre)
    return -1.0;
  *code = int16_t(networkMaskCode(h, px, py));
  return 1.0;
}

namespace {

bool avenue256(int32_t q)
{
  return q < 11 || q > 245;
}

// The secondary avenues of the 256-unit blocks.
bool firstBand(int32_t q)
{
  return within(q, 116, 140);
}
bool firstCentre(int32_t q)
{
  return within(q, 124, 132);
}
bool secondBand(int32_t q)
{
  return within(q, 178, 204);
}
bool secondCentre(int32_t q)
{
  return within(q, 186, 196);
}

// Road marks of an avenue point (level 1.0, code -50 unless a mark applies).
int16_t avenueMark(const KVtables* t, int32_t x, int32_t y, int32_t qx, int32_t qy)
{
  const int32_t g = kvcell::hash(t, 7, kvnum::wrap_add_i32(y, -48), kvnum::wrap_add_i32(x, -48));
  const int32_t u = g & 15, w = g >> 4;
  const bool crossing = avenue256(qx) && avenue256(qy);
  const bool dash = (qy == 0 && ((kvnum::wrap_add_i32(x, 3) >> 2) & 3) >= 2) ||
                    (qx == 0 && ((kvnum::wrap_add_i32(y, 3) >> 2) & 3) >= 2);
  auto nearBand = [](int32_t q) { return within(q, 18, 46) || within(q, 209, 237); };
  auto narrow = [](int32_t q) { return within(q, 18, 28) || within(q, 227, 237); };
  auto edge = [](int32_t q) { return within(q, 16, 19) || within(q, 236, 239); };
  const bool wOdd = (w & 1) != 0;
  const int16_t none = -50;
  const int16_t tail = dash && !crossing ? 100 : none;

  switch (u) {
    case 0:
    case 1:
      return dash ? 90 : none;
    case 2:
    case 3:
      return qx == 0 || qy == 0 ? 100 : none;
    case 4:
    case 5:
      if (nearBand(qx) && (x & 3) == 0)
        return int16_t(w & 3);
      return dash ? -255 : none;
    case 9:
      if (edge(qy))
        return wOdd ? int16_t(w & 3) : -250;
      return tail;
    case 10:
      if (edge(qx))
        return wOdd ? 90 : -250;
      return tail;
    case 11:
      return narrow(qy) && (x & 3) <= 1 ? 89 : tail;
    case 12:
      return narrow(qx) && (y & 3) < 2 ? 89 : tail;
    case 13:
      if ((nearBand(qx) && (y & 3) < 2) || (nearBand(qy) && (x & 3) <= 1))
        return int16_t(w & 3);
      return tail;
    case 14:
      if ((nearBand(qx) && (y & 3) < 2) || (nearBand(qy) && (x & 3) < 2))
        return 102;
      return tail;
    default:  // 6, 7, 8, 15
      if (crossing)
        return qx == 0 || qy == 0 ? -250 : none;
      return tail;
  }
}

}  // namespace

double LABTXT_StreetsMarks(const KVtables* t, int32_t x, int32_t y, int16_t* code)
{
  const int32_t qx = x & 255, qy = y & 255;
  if (!avenue256(qx) && !avenue256(qy)) {
    const bool inner = within(qx, 21, 235) && within(qy, 21, 235);
    const double level = inner ? 0.0 : 1.01;
    *code = inner ? -1 : -60;
    const int32_t type = kvcell::hash(t, 8, y, x) & 15;
    bool testX = false, testY = false, second = false;
    switch (type) {
      case 5:
      case 6:
      case 7:
        testX = true;
        break;
      case 8:
      case 9:
      case 10:
        testY = true;
        break;
      case 11:
        testX = second = true;
        break;
      case 12:
        testY = second = true;
        break;
      case 13:
        testX = testY = true;
        break;
      default:
        return level;
    }
    auto band = [&](int32_t q) { return firstBand(q) || (second && secondBand(q)); };
    auto centre = [&](int32_t q) { return firstCentre(q) || (second && secondCentre(q)); };
    if ((testX && centre(qx)) || (testY && centre(qy))) {
      // On a secondary avenue's centre: an avenue point, marks below.
    } else if ((testX && band(qx)) || (testY && band(qy))) {
      *code = -60;
      return 1.01;
    } else {
      return level;
    }
  }
  *code = avenueMark(t, x, y, qx, qy);
  return 1.0;
}
