#include "components/f21/f21_mathutils.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/f21/f21_pvt.h"
#include "foundation/checked.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The mode names, shown as the label of A. Mode 7 holds a capital O (not a
// zero) and the pi character, written as its UTF-8 bytes \xCF\x80; mode 16
// has two blanks before "#".
constexpr std::string_view kModeNames[kF21MathutilsModes] = {
    " x-y #",
    " y-x #",
    " y*x #",
    " x/y #",
    " y/x #",
    " atan(y/x) #",
    " atan(x/y) #",
    " angle(x,y) (O-2\xCF\x80) #",  // \xCF\x80: pi
    " dist(x,y) #",
    " 1/dist #",
    " 0.5/(dist+1/16) #",
    " blend y on low #",
    " blend y on high #",
    " blend x*y on low #",
    " blend x*y on high #",
    " min(4-abs(x), 4-abs(y)) #",
    " roofed min(4-abs(x),4-abs(y))  #",
    " positive mul #",
    " min #",
    " max #",
    " max+x #",
    " max-x #",
    " max-y #",
    " min+x #",
    " min+y #",
};

// The mode number trunc(A); -1 when A does not fit an integer.
int modeOf(const gfunc* g)
{
  int32_t mode = 0;
  return kvnum::trunc_i32(g->A, mode) ? mode : -1;
}

double smoothstep(double t)
{
  return t * t * (3 - 2 * t);
}

// from + (to - from) s(t), with the ends held at `from` for t <= 0 and `to`
// for t >= 1; a t that is not a number takes the smooth branch.
double blend(double from, double to, double t)
{
  if (t >= 1)
    return to;
  if (t <= 0)
    return from;
  return from + (to - from) * smoothstep(t);
}

// An angle in [0, 2 pi) that is 0 along the negative y axis.
double angleFromNegativeY(double x, double y)
{
  const double a = std::atan(y / x);
  return x < 0 ? a + kPi + kPi / 2 : a + kPi / 2;
}

double dist(double x, double y)
{
  return std::sqrt(x * x + y * y);
}

}  // namespace

void f21_Mathutils(gfunc* g)
{
  using std::fabs, std::max, std::min;
  switch (modeOf(g)) {
    case 0:
      f21_eachSample(g, [](double x, double y) { return x - y; });
      break;
    case 1:
      f21_eachSample(g, [](double x, double y) { return y - x; });
      break;
    case 2:
      f21_eachSample(g, [](double x, double y) { return x * y; });
      break;
    case 3:
      f21_eachSample(g, [](double x, double y) { return x / y; });
      break;
    case 4:
      f21_eachSample(g, [](double x, double y) { return y / x; });
      break;
    case 5:
      f21_eachSample(g, [](double x, double y) { return std::atan(y / x); });
      break;
    case 6:
      f21_eachSample(g, [](double x, double y) { return std::atan(x / y); });
      break;
    case 7:
      f21_eachSample(g, angleFromNegativeY);
      break;
    case 8:
      f21_eachSample(g, dist);
      break;
    case 9:
      f21_eachSample(g, [](double x, double y) { return 1 / dist(x, y); });
      break;
    case 10:
      f21_eachSample(g, [](double x, double y) { return 0.5 / (dist(x, y) + 0.0625); });
      break;
    case 11:
      f21_eachSample(g, [](double x, double y) { return blend(y, x, x / 4); });
      break;
    case 12:
      f21_eachSample(g, [](double x, double y) { return blend(x, y, x / 4); });
      break;
    case 13:
      f21_eachSample(g, [](double x, double y) { return blend(x * y, x, x / 8); });
      break;
    case 14:
      f21_eachSample(g, [](double x, double y) { return blend(x, x * y, x / 8); });
      break;
    case 15:
      f21_eachSample(g, [](double x, double y) { return min(4 - fabs(x), 4 - fabs(y)); });
      break;
    case 16:
      f21_eachSample(g, [](double x, double y) { return min({4 - fabs(x), 4 - fabs(y), 1.0}); });
      break;
    case 17:
      f21_eachSample(g, [](double x, double y) { return x <= 0 ? 0.0 : x * max(y, 0.0); });
      break;
    case 18:
      f21_eachSample(g, [](double x, double y) { return min(x, y); });
      break;
    case 19:
      f21_eachSample(g, [](double x, double y) { return max(x, y); });
      break;
    case 20:
      f21_eachSample(g, [](double x, double y) { return max(x, y) + x; });
      break;
    case 21:
      f21_eachSample(g, [](double x, double y) { return max(x, y) - x; });
      break;
    case 22:
      f21_eachSample(g, [](double x, double y) { return max(x, y) - y; });
      break;
    case 23:
      f21_eachSample(g, [](double x, double y) { return min(x, y) + x; });
      break;
    case 24:
      f21_eachSample(g, [](double x, double y) { return min(x, y) + y; });
      break;
    default:
      // Not a mode: the output block keeps what it held.
      break;
  }
}

std::string_view f21_Mathutils_modeName(int mode)
{
  return mode >= 0 && mode < kF21MathutilsModes ? kModeNames[mode] : std::string_view{};
}

std::string_view f21_Mathutils_label(const gfunc* g, int param)
{
  return param == 0 ? f21_Mathutils_modeName(modeOf(g)) : std::string_view{};
}

int16_t f21_Mathutils_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF21_Mathutils, g, msg, a, b, c);
}
