#include "noise/rgblunarrock.h"

#include "noise/noises.h"

namespace {

// The colour octave 0 starts from and the targets of octaves 1 to 6 (the
// last for every octave beyond).
constexpr double kStartColour = 200;
constexpr double kTargets[6][3] = {
    {120, 120, 119}, {92, 90, 90}, {70, 67, 67}, {45, 42, 40}, {100, 90, 75}, {80, 80, 78},
};

// 1 / 192: heights become the running value and the colour step.
constexpr double kHeightToStep = 0.005208333333333333;

// The slope shading of the running value: smoothstep held to [0, 1], eased
// on the first octave and lifted toward 0.5 s + 0.4 by the parameter.
double slopeShade(double w, double p, short octave)
{
  double s = w < 0 ? 0.0 : (w > 1 ? 1.0 : (3 - 2 * w) * w * w);
  if (octave == 1)
    s = (s - 1) * 0.6 + 1;
  if (p > 0)
    s += (0.5 * s + 0.4 - s) * p;
  return s;
}

}  // namespace

double rgblunarrock_height(const KVtables* tables, double x, double y)
{
  const double m = fUnitPerlinNoise3D(tables, x, y, 0);
  double e;
  if (m > 0.125) {
    e = 1 - m;
  } else {
    // Below the rim the crater floor rounds off.
    const double u = 2 * (0.125 - m);
    e = u < 0.5 ? 1 - (u * u / 2 + m) : 1.0;
  }
  e = e * e;
  return (1 - e) * 512;
}

void rgblunarrock(const KVtables* tables, double x, double y, double fade, double p, double* w,
                  short octave, double* rgb)
{
  if (octave <= 0) {
    rgb[0] = rgb[1] = rgb[2] = kStartColour;
    return;
  }
  const double h = rgblunarrock_height(tables, x, y) * slopeShade(*w, p, octave);
  *w = kHeightToStep * h;
  const double t = fade * *w;
  const double* target = kTargets[octave < 6 ? octave - 1 : 5];
  for (int k = 0; k < 3; ++k)
    rgb[k] += (target[k] - rgb[k]) * t;
}
