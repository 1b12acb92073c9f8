#include "components/f11/f11_mathutils.h"

#include <algorithm>
#include <cmath>

#include "components/f11/f11_pvt.h"

namespace {

// The mode names, shown as the label of A. Mode 9 has two blanks before "#".
constexpr std::string_view kModeNames[kF11MathutilsModes] = {
    " x*x #",         " sqrt(x) #", " log(x) #",   " exp(x) #",          " exp(-x*x) #",
    " sin(x) #",      " cos(x) #",  " atan(x) #",  " floor(x) #",        " unity  #",
    " cubic unity #", " tanh #",    " 4-abs(x) #", " roofed 4-abs(x) #",
};

// Below this the logarithm is held at log(kLogFloor).
constexpr double kLogFloor = 1.25e-6;

// The mode number trunc(A); -1 when A does not fit an integer.
int modeOf(const gfunc* g)
{
  int32_t mode = 0;
  return kvnum::trunc_i32(g->A, mode) ? mode : -1;
}

double cubicUnity(double x)
{
  if (x < 0)
    return 0;
  return x > 1 ? 1.0 : f11_smooth(x);
}

}  // namespace

void f11_Mathutils(gfunc* g)
{
  using std::fabs;
  switch (modeOf(g)) {
    case 0:
      f11_eachSample(g, [](double x) { return x * x; });
      break;
    case 1:
      f11_eachSample(g, [](double x) { return x > 0 ? std::sqrt(x) : 0.0; });
      break;
    case 2:
      f11_eachSample(g, [](double x) { return std::log(x > kLogFloor ? x : kLogFloor); });
      break;
    case 3:
      f11_eachSample(g, [](double x) { return std::exp(x); });
      break;
    case 4:
      f11_eachSample(g, [](double x) { return std::exp(-x * x); });
      break;
    case 5:
      f11_eachSample(g, [](double x) { return std::sin(x); });
      break;
    case 6:
      f11_eachSample(g, [](double x) { return std::cos(x); });
      break;
    case 7:
      f11_eachSample(g, [](double x) { return std::atan(x); });
      break;
    case 8:
      f11_eachSample(g, [](double x) { return std::max(x, 0.0); });
      break;
    case 9:
      f11_eachSample(g, [](double x) { return std::clamp(x, 0.0, 1.0); });
      break;
    case 10:
      f11_eachSample(g, cubicUnity);
      break;
    case 11:
      f11_eachSample(g, [](double x) { return std::tanh(x); });
      break;
    case 12:
      f11_eachSample(g, [](double x) { return 4 - fabs(x); });
      break;
    case 13:
      f11_eachSample(g, [](double x) { return std::min(4 - fabs(x), 1.0); });
      break;
    default:
      // Not a mode: the output block keeps what it held.
      break;
  }
}

std::string_view f11_Mathutils_modeName(int mode)
{
  return mode >= 0 && mode < kF11MathutilsModes ? kModeNames[mode] : std::string_view{};
}

std::string_view f11_Mathutils_label(const gfunc* g, int param)
{
  return param == 0 ? f11_Mathutils_modeName(modeOf(g)) : std::string_view{};
}

int16_t f11_Mathutils_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_Mathutils, g, msg, a, b, c);
}
