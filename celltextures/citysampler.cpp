// The corner sampler of the 3D cells.
#include "celltextures/celltexture3d.h"

namespace {

// Blend weight of a fraction f sharpened by k: smoothstep of k f, held to
// 0..1.
double blendWeight(double k, double f)
{
  const double u = k * f;
  if (u < 0.0)
    return 0.0;
  if (u > 1.0)
    return 1.0;
  return u * u * (3.0 - 2.0 * u);
}

// The cell of a 3D point: per axis the truncation split; a point with an
// axis that has no cell (NaN, beyond 32 bits) lies at fraction 0 of cell
// (0, 0, 0).
struct CityCell
{
  int32_t i[3] = {0, 0, 0};
  double f[3] = {0, 0, 0};
};

CityCell cityCell(double x, double y, double z)
{
  CityCell c;
  const double v[3] = {x, y, z};
  for (int a = 0; a < 3; a++) {
    if (!kvnoise::cellSplit(v[a], c.i[a], c.f[a]))
      return {};
  }
  return c;
}

// One z layer: the four corners in the order (x0, y0), (x1, y0), (x0, y1),
// (x1, y1), each from its own copy of the sample's code.
struct Layer
{
  double level = 0;
  floatcolor colour;
  int16_t firstCode = 0;
};

Layer sampleLayer(const KVtables* t, CellTexture3DProc cell, const floatcolor* cycle,
                  const CellColorSample& s, const CityCell& c, int32_t z, double wx, double wy)
{
  const int32_t x0 = c.i[0], y0 = c.i[1];
  const int32_t x1 = kvnoise::nextCell(x0), y1 = kvnoise::nextCell(y0);
  const int32_t xs[4] = {x0, x1, x0, x1}, ys[4] = {y0, y0, y1, y1};
  double level[4];
  int16_t code[4];
  for (int k = 0; k < 4; k++) {
    code[k] = s.code;
    level[k] = cell(t, xs[k], ys[k], z, &code[k]);
  }
  Layer layer;
  layer.firstCode = code[0];
  layer.level = kvnoise::bilinear(level[0], level[1], level[2], level[3], wx, wy);
  if (!cycle)
    return layer;
  floatcolor col[4];
  for (int k = 0; k < 4; k++)
    FPROCCOLOR(&col[k], cycle, code[k], &s.value);
  // Colours blend in single precision, x first.
  const float fwx = float(wx), fwy = float(wy);
  auto channel = [&](float floatcolor::*ch) {
    const float top = col[0].*ch + (col[1].*ch - col[0].*ch) * fwx;
    const float bottom = col[2].*ch + (col[3].*ch - col[2].*ch) * fwx;
    return top + (bottom - top) * fwy;
  };
  layer.colour = {channel(&floatcolor::red), channel(&floatcolor::green),
                  channel(&floatcolor::blue)};
  return layer;
}

double blendZ(float c0, float c1, double wz)
{
  return double(c0) + (double(c1) - double(c0)) * wz;
}

}  // namespace

void fmazeCityTexture(const KVtables* t, CellTexture3DProc cell, const floatcolor* cycle,
                      CellColorSample* sample, double x, double y, double z)
{
  const CityCell c = cityCell(x, y, z);
  const double k = sample->red;
  const double wx = blendWeight(k, c.f[0]), wy = blendWeight(k, c.f[1]),
               wz = blendWeight(k, c.f[2]);
  const Layer l0 = sampleLayer(t, cell, cycle, *sample, c, c.i[2], wx, wy);
  const Layer l1 = sampleLayer(t, cell, cycle, *sample, c, kvnoise::nextCell(c.i[2]), wx, wy);
  sample->cornerCode = l0.firstCode;
  sample->red = blendZ(l0.colour.red, l1.colour.red, wz);
  sample->green = blendZ(l0.colour.green, l1.colour.green, wz);
  sample->blue = blendZ(l0.colour.blue, l1.colour.blue, wz);
  sample->value = kvnoise::lerp(l0.level, l1.level, wz);
}
