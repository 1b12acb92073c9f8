// Material-code and maze colouring.
#include "noise/mazecolor.h"

#include <algorithm>
#include <cmath>

#include "foundation/colormath.h"
#include "noise/lattice.h"

namespace {

// ---- Lattice cell and corners ----

struct MazeCell
{
  int32_t ix = 0, iy = 0;
  double fx = 0, fy = 0;

  int32_t ix1() const { return kvnoise::nextCell(ix); }
  int32_t iy1() const { return kvnoise::nextCell(iy); }
};

MazeCell mazeCell(double x, double y)
{
  MazeCell c;
  if (!kvnoise::cellSplit(x, c.ix, c.fx) || !kvnoise::cellSplit(y, c.iy, c.fy))
    return {};
  return c;
}

// Corner order: 00, 10, 01, 11.
enum Corner
{
  k00,
  k10,
  k01,
  k11
};

// Smooth weight: 0 below 0, 1 above 1, (3 - 2u) u^2 between.
double smoothWeight(double u)
{
  if (u < 0.0)
    return 0.0;
  if (u > 1.0)
    return 1.0;
  return (3.0 - 2.0 * u) * u * u;
}

// Linear blend that keeps a value exactly where both ends are equal.
double blendLevel(double a, double b, double w)
{
  return a == b ? a : a + (b - a) * w;
}

double bilinearLevels(const double level[4], double wx, double wy)
{
  return blendLevel(blendLevel(level[k00], level[k10], wx), blendLevel(level[k01], level[k11], wx),
                    wy);
}

struct MazeCorners
{
  double level[4];
  int16_t code[4];
};

MazeCorners sampleMaze(const KVtables* t, const MazeCell& c, double param, MazeCellProc cell)
{
  MazeCorners m{};
  m.level[k00] = cell(t, c.ix, c.iy, param, &m.code[k00]);
  m.level[k10] = cell(t, c.ix1(), c.iy, param, &m.code[k10]);
  m.level[k01] = cell(t, c.ix, c.iy1(), param, &m.code[k01]);
  m.level[k11] = cell(t, c.ix1(), c.iy1(), param, &m.code[k11]);
  return m;
}

// ---- Material colours ----

void setColor(floatcolor* out, double r, double g, double b)
{
  out->red = float(r);
  out->green = float(g);
  out->blue = float(b);
}

// The fixed colours of codes 88..111.
constexpr uint8_t kFixedColors[24][3] = {
    {255, 0, 0},     {255, 128, 0},   {255, 255, 0},   {128, 255, 0},   {0, 255, 0},
    {0, 255, 128},   {0, 255, 255},   {0, 128, 255},   {0, 0, 255},     {128, 0, 255},
    {255, 0, 255},   {255, 0, 128},   {255, 245, 0},   {255, 255, 64},  {255, 255, 128},
    {255, 255, 192}, {65, 75, 90},    {75, 90, 120},   {100, 110, 140}, {120, 140, 160},
    {150, 175, 188}, {170, 190, 192}, {180, 195, 195}, {185, 200, 200}};

// The shaded materials 16..87, eight codes a range: range r, index k in the
// range, shading value v.
void materialColor(floatcolor* out, int range, double k, double v)
{
  switch (range) {
    case 0:
      setColor(out, 0, 4 * k + 16, 100 - 8 * k);
      break;
    case 1:
      setColor(out, 20, 8 * k + 110, 160 - 4 * k);
      break;
    case 2:
      setColor(out, 100 * v + 80, 90 * v + 150 - 2 * k, 62 * v + 128 + 4 * k);
      break;
    case 3:
      setColor(out, 190 * v + 40 + 3 * k, 240 * v + 10 - 3 * k, 140 * v - k);
      break;
    case 4:
      setColor(out, 80 * v + 150 + 3 * k, 150 * v + 80 - 3 * k, 120 * v + 30 - k);
      break;
    case 5:
      setColor(out, 6 * k + 20, 10 * k + 40, 14 * k + 58);
      break;
    case 6:
      setColor(out, 6 * k + 72, 7 * k + 64, 7 * k + 40);
      break;
    case 7:
      setColor(out, 55 * v + 55 + 2 * k, 50 * v + 80 + 3 * k, 30 * v + 120 + 4 * k);
      break;
    default:
      setColor(out, 60 * v + 2 * k, 60 * v + 20 + 2 * k, 61 * v + 34 + 2 * k);
      break;
  }
}

// ---- Corner records of the colour cells ----

struct ColorCorners
{
  mazecolorrecord rec[4];
  double level[4];
};

ColorCorners sampleColor(const KVtables* t, const MazeCell& c, ColorCellProc cell, double shading)
{
  ColorCorners m{};
  const int32_t xs[4] = {c.ix, c.ix1(), c.ix, c.ix1()};
  const int32_t ys[4] = {c.iy, c.iy, c.iy1(), c.iy1()};
  for (int k = 0; k < 4; k++) {
    m.rec[k].value = shading;
    m.level[k] = cell(t, xs[k], ys[k], &m.rec[k]);
  }
  return m;
}

// Weighted sum of the corner colours into rec.
void mixColors(const ColorCorners& m, const double w[4], mazecolorrecord* rec)
{
  rec->red = rec->green = rec->blue = 0.0;
  for (int k = 0; k < 4; k++) {
    rec->red += w[k] * m.rec[k].red;
    rec->green += w[k] * m.rec[k].green;
    rec->blue += w[k] * m.rec[k].blue;
  }
}

double mixLevels(const ColorCorners& m, const double w[4])
{
  double sum = 0.0;
  for (int k = 0; k < 4; k++)
    sum += w[k] * m.level[k];
  return sum;
}

void copyColor(const mazecolorrecord& from, mazecolorrecord* to)
{
  to->red = from.red;
  to->green = from.green;
  to->blue = from.blue;
}

// The two diagonal splits of a cell, as corner weights of the triangle that
// holds the point. Split A runs from 10 to 01, split B from 00 to 11.
struct Split
{
  double w[4];
  Corner owner;  // the corner whose record the checkered mode takes
};

Split splitA(double fx, double fy)
{
  if (1.0 - fx > fy)
    return {{1.0 - fx - fy, fx, fy, 0.0}, k00};
  return {{0.0, 1.0 - fy, 1.0 - fx, fx + fy - 1.0}, k11};
}

Split splitB(double fx, double fy)
{
  if (fx > fy)
    return {{1.0 - fx, fx - fy, 0.0, fy}, k10};
  return {{1.0 - fy, 0.0, fy - fx, fx}, k01};
}

double roundLights(const ColorCorners& m, const MazeCell& c, mazecolorrecord* rec)
{
  const double dx[4] = {c.fx, 1.0 - c.fx, c.fx, 1.0 - c.fx};
  const double dy[4] = {c.fy, c.fy, 1.0 - c.fy, 1.0 - c.fy};
  double w[4];
  for (int k = 0; k < 4; k++) {
    double d = std::sqrt(dx[k] * dx[k] + dy[k] * dy[k]);
    w[k] = (d < 1.0 && m.level[k] > 0.0) ? (1.0 - d) * (1.0 - d) : 0.0;
  }
  mixColors(m, w, rec);
  return mixLevels(m, w);
}

double triangularFalloff(const ColorCorners& m, const MazeCell& c, mazecolorrecord* rec)
{
  double fx = c.fx, fy = c.fy;
  const double w[4] = {std::max(0.0, 1.0 - (fx + fy)), std::max(0.0, 1.0 - ((1.0 - fx) + fy)),
                       std::max(0.0, 1.0 - (fx + (1.0 - fy))),
                       std::max(0.0, 1.0 - ((1.0 - fx) + (1.0 - fy)))};
  mixColors(m, w, rec);
  return mixLevels(m, w);
}

double pyramids(const ColorCorners& m, const MazeCell& c, mazecolorrecord* rec)
{
  const double dx[4] = {c.fx, 1.0 - c.fx, c.fx, 1.0 - c.fx};
  const double dy[4] = {c.fy, c.fy, 1.0 - c.fy, 1.0 - c.fy};
  int best = 0;
  double bestWeight = 0.0;
  for (int k = 0; k < 4; k++) {
    double w = std::min(1.5 - 2.0 * std::max(dx[k], dy[k]), 1.0) * m.level[k];
    if (k == 0 || w > bestWeight) {
      best = k;
      bestWeight = w;
    }
  }
  rec->red = m.rec[best].red * bestWeight;
  rec->green = m.rec[best].green * bestWeight;
  rec->blue = m.rec[best].blue * bestWeight;
  rec->value = m.rec[best].value;
  return bestWeight;
}

double checkeredDiagonals(const ColorCorners& m, const MazeCell& c, mazecolorrecord* rec)
{
  // The remainder keeps the sign of ix, so odd negative columns never match.
  bool splitFrom10 = (c.ix % 2) == (c.iy & 1);
  Split s = splitFrom10 ? splitA(c.fx, c.fy) : splitB(c.fx, c.fy);
  copyColor(m.rec[s.owner], rec);
  rec->value = m.rec[s.owner].value;
  return mixLevels(m, s.w);
}

double nearestCorner(const ColorCorners& m, const MazeCell& c, mazecolorrecord* rec)
{
  Corner near = c.fx < 0.5 ? (c.fy < 0.5 ? k00 : k01) : (c.fy < 0.5 ? k10 : k11);
  copyColor(m.rec[near], rec);
  rec->value = m.rec[near].value;
  double a = mixLevels(m, splitA(c.fx, c.fy).w);
  double b = mixLevels(m, splitB(c.fx, c.fy).w);
  double sum = m.level[k00] + m.level[k10] + m.level[k01] + m.level[k11];
  double level = sum > 16.0 ? std::min(a, b) : std::max(a, b);
  if (level < 4.0) {
    rec->red = 0.0;
    rec->green = 0.0;
    rec->blue = 1.0;
  }
  return level;
}

double diagonalSplits(const ColorCorners& m, const MazeCell& c, mazecolorrecord* rec,
                      bool bothSplits)
{
  Split b = splitB(c.fx, c.fy);
  double level = mixLevels(m, b.w);
  mixColors(m, b.w, rec);
  if (!bothSplits)
    return level;
  Split a = splitA(c.fx, c.fy);
  double other = mixLevels(m, a.w);
  if (other < level) {
    mixColors(m, a.w, rec);
    rec->value = m.rec[k10].value;
    level = other;
  }
  return level;
}

// ---- Maze ----

// 1024 on the maze's walls: each 4 x 4 block has a wall along its bottom row
// or its left column, chosen by the block's hash.
double mazeCorner(const KVtables* t, int32_t cx, int32_t cy)
{
  bool wall = (kvnoise::cellHash2(t, cx >> 2, cy >> 2) & 1) ? (cy & 3) == 0 : (cx & 3) == 0;
  return wall ? 1024.0 : 0.0;
}

double randomCorner(const KVtables* t, int32_t cx, int32_t cy)
{
  return kvnoise::cellHash2(t, cx, cy) >= 512 ? 1024.0 : 0.0;
}

double mazeMix(const KVtables* t, int32_t cx, int32_t cy, double blend)
{
  if (blend <= 0.0)
    return mazeCorner(t, cx, cy);
  if (blend >= 1.0)
    return randomCorner(t, cx, cy);
  double m = mazeCorner(t, cx, cy);
  return m + (randomCorner(t, cx, cy) - m) * blend;
}

// ---- Colour cycles ----

// Hue into [0, 360): the whole turns are removed as before, and a hue still
// negative (a negative phase or start hue) is brought up by one turn.
double reduceHue(double h)
{
  double r = h - 360.0 * std::trunc(h / 360.0);
  if (r < 0.0)
    r += 360.0;
  return (r >= 0.0 && r < 360.0) ? r : 0.0;
}

// The hue cycle of t: the 15-colour hue table, closed to 16 entries by
// repeating the first.
struct HueCycle
{
  normalcolor colors[16];
};

HueCycle hueCycle(double t)
{
  HueCycle cycle{};
  GetParam1DColorTable(cycle.colors, t, 15);
  cycle.colors[15] = cycle.colors[0];
  return cycle;
}

floatcolor sampleCycle(const HueCycle& cycle, double pos)
{
  double r, g, b;
  fcolorgradient(cycle.colors, 16, pos, &r, &g, &b);
  return {float(r), float(g), float(b)};
}

}  // namespace

floatcolor* FPROCCOLOR(floatcolor* out, const floatcolor cycle[16], int16_t code,
                       const double* value)
{
  const double v = value ? *value : 0.0;
  if (code < 0) {
    double grey = -double(code) - 1.0;
    setColor(out, grey, grey, grey);
  } else if (code < 16) {
    *out = cycle ? cycle[code] : floatcolor{};
  } else if (code < 88) {
    materialColor(out, (code - 16) / 8, (code - 16) % 8, v);
  } else if (code < 112) {
    const uint8_t* c = kFixedColors[code - 88];
    setColor(out, c[0], c[1], c[2]);
  } else {
    setColor(out, 255, 255, 255);
  }
  return out;
}

void fmazeColorCubic(const KVtables* t, double x, double y, double param, MazeCellProc cell,
                     const floatcolor* cycle, mazecolorrecord* rec, double sharpness)
{
  MazeCell c = mazeCell(x, y);
  MazeCorners m = sampleMaze(t, c, param, cell);
  double fx = c.fx, fy = c.fy;
  if (sharpness > 1.0) {
    fx *= sharpness;
    fy *= sharpness;
  }
  double wx = smoothWeight(fx), wy = smoothWeight(fy);
  if (cycle) {
    floatcolor col[4];
    for (int k = 0; k < 4; k++)
      FPROCCOLOR(&col[k], cycle, m.code[k], &rec->value);
    // The colours blend in single precision, rows first.
    float fwx = float(wx), fwy = float(wy);
    auto channel = [&](float floatcolor::*ch) {
      float top = col[k00].*ch + (col[k10].*ch - col[k00].*ch) * fwx;
      float bottom = col[k01].*ch + (col[k11].*ch - col[k01].*ch) * fwx;
      return double(top + (bottom - top) * fwy);
    };
    rec->red = channel(&floatcolor::red);
    rec->green = channel(&floatcolor::green);
    rec->blue = channel(&floatcolor::blue);
  } else {
    rec->red = rec->green = rec->blue = 0.0;
  }
  rec->value = bilinearLevels(m.level, wx, wy);
}

void fmazeColorOrtho(const KVtables* t, double x, double y, double param, MazeCellProc cell,
                     const double table[3][3], mazecolorrecord* rec)
{
  MazeCell c = mazeCell(x, y);
  MazeCorners m = sampleMaze(t, c, param, cell);
  const double l00 = m.level[k00], l10 = m.level[k10], l01 = m.level[k01], l11 = m.level[k11];
  const double fx = c.fx, fy = c.fy;
  const double s = l00 + l10 + l01 + l11;
  double value;
  bool flag;
  if (s > 0.0) {
    double a, b;
    if (l00 < 0.0) {
      a = l00 + (l10 - l00) * fx;
      b = l00 + (l01 - l00) * fy;
    } else {
      a = l10 < 0.0 ? l00 + (l10 - l00) * fx : l01 + (l11 - l01) * fx;
      b = (l10 < 0.0 || l01 >= 0.0) ? l10 + (l11 - l10) * fy : l00 + (l01 - l00) * fy;
    }
    value = std::max(a, b);
    flag = a >= b;
  } else {
    double a = std::max(l01 + (l11 - l01) * fx, l00 + (l10 - l00) * fx);
    double b = std::max(l10 + (l11 - l10) * fy, l00 + (l01 - l00) * fy);
    value = std::min(a, b);
    if (s >= -1.0) {
      flag = a <= b;
    } else {
      // Deep inside the walls: the first corner that stands out decides.
      flag = true;
      for (int k = 0; k < 4; k++) {
        if (m.level[k] > 0.0) {
          flag = m.code[k] != 0;
          break;
        }
      }
    }
  }
  value += param;
  const double* color = value <= 0.0 ? table[0] : (flag ? table[2] : table[1]);
  rec->red = color[0];
  rec->green = color[1];
  rec->blue = color[2];
  rec->value = value;
}

double fmazeColorTriangle(const KVtables* t, double x, double y, ColorCellProc cell,
                          mazecolorrecord* rec, int16_t mode)
{
  MazeCell c = mazeCell(x, y);
  ColorCorners m = sampleColor(t, c, cell, rec->value);
  switch (mode) {
    case -2:
      return checkeredDiagonals(m, c, rec);
    case -3:
      return roundLights(m, c, rec);
    case -4:
      return triangularFalloff(m, c, rec);
    case -5:
      return pyramids(m, c, rec);
    default:
      break;
  }
  if (mode < 0)
    return nearestCorner(m, c, rec);
  return diagonalSplits(m, c, rec, mode != 1);
}

double fmazelerp21(const KVtables* t, double x, double y, double param, MazeLevelProc cell,
                   double sharpness)
{
  MazeCell c = mazeCell(x, y);
  const double level[4] = {cell(t, c.ix, c.iy, param), cell(t, c.ix1(), c.iy, param),
                           cell(t, c.ix, c.iy1(), param), cell(t, c.ix1(), c.iy1(), param)};
  return bilinearLevels(level, smoothWeight(c.fx * sharpness), smoothWeight(c.fy * sharpness));
}

double fmaze(const KVtables* t, double x, double y, double blend)
{
  MazeCell c = mazeCell(x, y);
  const double q00 = mazeMix(t, c.ix, c.iy, blend), q10 = mazeMix(t, c.ix1(), c.iy, blend),
               q01 = mazeMix(t, c.ix, c.iy1(), blend), q11 = mazeMix(t, c.ix1(), c.iy1(), blend);
  const double fx = c.fx, fy = c.fy;
  double v = kvnoise::triangleBlend(q00, q10, q01, q11, fx, fy);
  if (v <= 0.0)
    return -512.0;
  double w = (1.0 - fx > fy) ? (1.0 - fx - fy) * q00 + fx * q10 + fy * q01
                             : (fx + fy - 1.0) * q11 + (1.0 - fy) * q10 + (1.0 - fx) * q01;
  return std::min(v, w) - 512.0;
}

double Mondrian3DColor(const KVtables* t, double x, double y, double z, normalcolor* out,
                       double edgeWidth)
{
  int32_t i[3] = {};
  double f[3] = {};
  const double p[3] = {x, y, z};
  // An undefined coordinate counts as cell 0, fraction 0.
  for (int k = 0; k < 3; k++)
    kvnoise::cellSplit(p[k], i[k], f[k]);
  int32_t h = kvnoise::cellHash3(t, i[0], i[1], i[2]);
  if (h <= 169)
    *out = {255, 255, 0, 0};
  else if (h <= 339)
    *out = {255, 0, 0, 255};
  else if (h <= 512)
    *out = {255, 255, 255, 0};
  else
    *out = {255, 255, 255, 255};
  double d = 1.0;
  for (int k = 0; k < 3; k++)
    d = std::min(d, std::min(f[k], 1.0 - f[k]));
  if (edgeWidth > 4.0 * d)
    *out = {255, 0, 0, 0};
  return d;
}

void Get4ProcColorCycle(floatcolor out[4], double phase, double startHue, double lightness,
                        double saturation, double hueStep, double lightnessStep,
                        double saturationStep)
{
  double hue = reduceHue(startHue + 720.0 * phase);
  for (int i = 0; i < 4; i++) {
    double rgb[3] = {};
    doubleHSLtoRGB(hue, saturation + i * saturationStep, lightness + i * lightnessStep, rgb);
    out[i] = {float(rgb[0]), float(rgb[1]), float(rgb[2])};
    hue = reduceHue(hue + hueStep);
  }
}

void Get8ColorCycle(floatcolor out[8], double t, double step, double greyRange, double greyBase)
{
  HueCycle cycle = hueCycle(t);
  for (int i = 0; i < 4; i++)
    out[i] = sampleCycle(cycle, i * step);
  for (int i = 0; i < 4; i++) {
    float g = float(i / 3.0 * greyRange + (255.0 - greyRange) * greyBase);
    out[4 + i] = {g, g, g};
  }
}

void Get16ColorCycle(floatcolor out[16], double t, double step, double start2, double start3,
                     double start4)
{
  HueCycle cycle = hueCycle(t);
  const double starts[4] = {0.0, start2, start3, start4};
  for (int group = 0; group < 4; group++) {
    double s = starts[group] > 1.0 ? starts[group] - 1.0 : starts[group];
    for (int i = 0; i < 4; i++)
      out[4 * group + i] = sampleCycle(cycle, s + i * step);
  }
}

void GetTripleFColorCycle(floatcolor out[3], double t, bool flag)
{
  HueCycle cycle = hueCycle(t);
  out[0] = sampleCycle(cycle, 0.0);
  out[1] = sampleCycle(cycle, flag ? 0.16665 : 0.3333);
  out[2] = sampleCycle(cycle, 0.6666);
}
