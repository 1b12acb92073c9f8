#include "components/common/mirrors3.h"

#include <cmath>

namespace {

constexpr double kInvSqrt3 = 0.577350538379377;
constexpr double kSin60 = 0.866025;

}  // namespace

KVfolded mirrors3(double p, double q)
{
  if (p * kInvSqrt3 > q && -p * kInvSqrt3 > q)
    return {std::fabs(p), q};
  const double ap = std::fabs(p);
  const double f = 0.5 * ap - kSin60 * q;
  const double g = -0.5 * q - kSin60 * ap;
  return {std::fabs(f), g};
}
