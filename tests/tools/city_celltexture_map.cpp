// celltexture_map: draws or prints a 2D or 3D cell texture over a window of
// lattice points.
//
//   celltexture_map CELL OUT.ppm X0 Y0 W H [options]
//       writes a PPM of two panels side by side, P x P pixels per lattice
//       point, y upward: the level (grey from 0 black to 2 white, negative
//       levels blue) and the code (its FPROCCOLOR colour, with a fixed
//       16-entry colour cycle for codes 0..15). A vector 3D cell draws
//       out.x and out.y (grey from 0 black to 4 white).
//   celltexture_map --values CELL X0 Y0 W H [options]
//       prints a line "perm" with the 1024 permutation entries, then one line
//       "x y level code" per point, x fastest, in round-trip precision. The
//       pyramid form prints "x y px py pz pw" (the four doubles it writes),
//       a 3D cell "x y z level code", a vector 3D cell "x y z out.x out.y".
//   celltexture_map --list
//       prints each cell's name and form.
//
// Options: --pixels P (default 4), --identity (perm[i] = i) or --seed N
// (SetRndTempTables seed; default 0, the library's fixed default), --code C
// (each point's code starts at C, code[0] of a vector cell; default 0),
// --stride S (lattice step between points; default 1), --param V (the seed
// argument of the maze form; default 0), --count N (the pyramid form's
// count; default 16). A pyramid point is sampled at (x + 0.5, y + 0.5).
//
// 3D cells: --plane xz (default) maps X0 W to x and Y0 H to z on the plan at
// height y = --at V (default 0); --plane xy maps them to x and y on the
// facade at depth z = V. --flag F is a vector cell's code[1] (default 0).
// --sampler K draws, for a 3D scalar cell, fmazeCityTexture at real points
// instead: P samples a lattice unit (stride S / P apart), sharpness K, the
// fixed cycle, shading value 0.5; one pixel a sample, panels level and
// colour. With --values it prints "x y z red green blue level cornerCode"
// per sample; --nocycle passes a null cycle.
//
// --shade HUE SPREAD SAT LIGHT STEP takes the 16-entry colour cycle from
// Get16ColorsShade (hue and spread in degrees, saturation, lightness and its
// step 0..255) instead of the fixed one, as the wall textures are coloured.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "celltextures/catalog2d.h"
#include "celltextures/catalog3d.h"
#include "celltextures/city_walls.h"
#include "noise/mazecolor.h"
#include "noise/tables.h"

namespace {

enum class Plane
{
  XZ,
  XY
};

struct Options
{
  const kvcell::CellEntry* cell = nullptr;
  const kvcell::CellEntry3D* cell3 = nullptr;
  int32_t x0 = 0, y0 = 0, width = 0, height = 0;
  int32_t pixels = 4, stride = 1, count = 16;
  int32_t seed = 0;
  bool identity = false;
  int16_t code = 0;
  double param = 0.0;
  Plane plane = Plane::XZ;
  int32_t at = 0;
  int16_t flag = 0;
  bool sampler = false, nocycle = false;
  double sharpness = 1.0;
  bool shade = false;
  floatcolor shadeCycle[16] = {};
};

// The result at one lattice point.
struct Sample
{
  double level = 0.0;  // out.x of a vector cell
  int16_t code = 0;
  double second = 0.0;  // out.y of a vector cell
  dvector4d point;      // the pyramid form's four doubles
};

int usage()
{
  std::fprintf(stderr,
               "usage: celltexture_map CELL OUT.ppm X0 Y0 W H [--pixels P] [--identity | --seed N]"
               " [--code C] [--stride S] [--param V] [--count N]\n"
               "       [--plane xz|xy] [--at V] [--flag F] [--sampler K] [--nocycle]\n"
               "       [--shade HUE SPREAD SAT LIGHT STEP]\n"
               "       celltexture_map --values CELL X0 Y0 W H [options]\n"
               "       celltexture_map --list\n");
  return 2;
}

bool parseLong(const char* s, long lo, long hi, long& out)
{
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(s, &end, 10);
  if (errno != 0 || end == s || *end != '\0' || v < lo || v > hi)
    return false;
  out = v;
  return true;
}

bool parseDouble(const char* s, double& out)
{
  char* end = nullptr;
  out = std::strtod(s, &end);
  return end != s && *end == '\0';
}

bool parseInt(const char* s, long lo, long hi, int32_t& out)
{
  long v;
  if (!parseLong(s, lo, hi, v))
    return false;
  out = int32_t(v);
  return true;
}

// Parses CELL X0 Y0 W H and the options from argv[first].
bool parseArgs(int argc, char** argv, int first, Options& o)
{
  if (argc - first < 5)
    return false;
  o.cell = kvcell::findCell2D(argv[first]);
  o.cell3 = o.cell ? nullptr : kvcell::findCell3D(argv[first]);
  if (!o.cell && !o.cell3) {
    std::fprintf(stderr, "celltexture_map: unknown cell %s\n", argv[first]);
    return false;
  }
  if (!parseInt(argv[first + 1], INT32_MIN, INT32_MAX, o.x0) ||
      !parseInt(argv[first + 2], INT32_MIN, INT32_MAX, o.y0) ||
      !parseInt(argv[first + 3], 1, 4096, o.width) || !parseInt(argv[first + 4], 1, 4096, o.height))
    return false;
  for (int i = first + 5; i < argc; i++) {
    const char* a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    int32_t code;
    bool ok = true;
    if (std::strcmp(a, "--identity") == 0) {
      o.identity = true;
      continue;
    }
    if (std::strcmp(a, "--nocycle") == 0) {
      o.nocycle = true;
      continue;
    }
    if (!v)
      return false;
    if (std::strcmp(a, "--pixels") == 0) {
      ok = parseInt(v, 1, 64, o.pixels);
    } else if (std::strcmp(a, "--seed") == 0) {
      ok = parseInt(v, INT16_MIN, INT16_MAX, o.seed);
    } else if (std::strcmp(a, "--code") == 0) {
      ok = parseInt(v, INT16_MIN, INT16_MAX, code);
      o.code = int16_t(code);
    } else if (std::strcmp(a, "--stride") == 0) {
      ok = parseInt(v, 1, 1 << 20, o.stride);
    } else if (std::strcmp(a, "--count") == 0) {
      ok = parseInt(v, INT32_MIN, INT32_MAX, o.count);
    } else if (std::strcmp(a, "--param") == 0) {
      ok = parseDouble(v, o.param);
    } else if (std::strcmp(a, "--plane") == 0) {
      ok = std::strcmp(v, "xz") == 0 || std::strcmp(v, "xy") == 0;
      o.plane = std::strcmp(v, "xy") == 0 ? Plane::XY : Plane::XZ;
    } else if (std::strcmp(a, "--at") == 0) {
      ok = parseInt(v, INT32_MIN, INT32_MAX, o.at);
    } else if (std::strcmp(a, "--flag") == 0) {
      ok = parseInt(v, INT16_MIN, INT16_MAX, code);
      o.flag = int16_t(code);
    } else if (std::strcmp(a, "--shade") == 0) {
      if (argc - i < 6)
        return false;
      double hue, spread;
      int32_t sat, light, step;
      ok = parseDouble(argv[i + 1], hue) && parseDouble(argv[i + 2], spread) &&
           parseInt(argv[i + 3], 0, 255, sat) && parseInt(argv[i + 4], 0, 255, light) &&
           parseInt(argv[i + 5], 0, 255, step);
      if (ok)
        Get16ColorsShade(o.shadeCycle, hue, spread, uint8_t(sat), uint8_t(light), uint8_t(step));
      o.shade = true;
      i += 4;  // the fifth value is stepped over below
    } else if (std::strcmp(a, "--sampler") == 0) {
      ok = parseDouble(v, o.sharpness);
      o.sampler = true;
    } else {
      ok = false;
    }
    if (!ok)
      return false;
    i++;
  }
  // The sampler draws scalar 3D cells only, and a window of at most 4096
  // samples a side.
  if (o.sampler && (!o.cell3 || o.cell3->form != kvcell::Form3D::Cell ||
                    int64_t(o.width) * o.pixels > 4096 || int64_t(o.height) * o.pixels > 4096))
    return false;
  return true;
}

std::unique_ptr<KVtables> makeTables(const Options& o)
{
  auto t = std::make_unique<KVtables>();
  SetRndTempTables(t.get(), short(o.seed));
  if (o.identity) {
    for (int32_t i = 0; i < 1024; i++)
      t->perm[i] = i;
    arb_compRndVecTable(t.get());
  }
  return t;
}

// Lattice coordinate i steps from the origin, wrapping like the cells do.
int32_t latticeAt(int32_t origin, int32_t i, int32_t stride)
{
  return int32_t(uint32_t(origin) + uint32_t(i) * uint32_t(stride));
}

Sample sampleAt(const KVtables* t, const Options& o, int32_t x, int32_t y)
{
  Sample s;
  s.code = o.code;
  const kvcell::CellEntry& c = *o.cell;
  switch (c.form) {
    case kvcell::Form::Cell:
      s.level = c.cell(t, x, y, &s.code);
      break;
    case kvcell::Form::Maze:
      s.level = c.maze(t, x, y, o.param, &s.code);
      break;
    case kvcell::Form::Level:
      s.level = c.level(t, x, y);
      break;
    case kvcell::Form::Flag:
      s.level = c.flag(t, x, y);
      break;
    case kvcell::Form::Pyramid:
      s.point = {double(x) + 0.5, double(y) + 0.5, 0.0, 0.0};
      c.pyramid(t, x, y, o.count, &s.point);
      s.level = s.point.w;
      break;
  }
  return s;
}

struct Point3
{
  int32_t x, y, z;
};

// The lattice point of window position (i, j) on the chosen plane.
Point3 latticePoint3(const Options& o, int32_t i, int32_t j)
{
  const int32_t a = latticeAt(o.x0, i, o.stride), b = latticeAt(o.y0, j, o.stride);
  return o.plane == Plane::XY ? Point3{a, b, o.at} : Point3{a, o.at, b};
}

Sample sampleAt3(const KVtables* t, const Options& o, const Point3& p)
{
  Sample s;
  if (o.cell3->form == kvcell::Form3D::Cell) {
    s.code = o.code;
    s.level = o.cell3->cell(t, p.x, p.y, p.z, &s.code);
    return s;
  }
  int16_t pair[2] = {o.code, o.flag};
  dvector3d out;
  o.cell3->vector(t, p.x, p.y, p.z, &out, pair);
  s.level = out.x;
  s.second = out.y;
  return s;
}

// A fixed cycle of 16 well-separated colours for codes 0..15.
constexpr floatcolor kCycle[16] = {
    {230, 25, 75},  {60, 180, 75},   {255, 225, 25}, {0, 130, 200},
    {245, 130, 48}, {145, 30, 180},  {70, 240, 240}, {240, 50, 230},
    {210, 245, 60}, {250, 190, 212}, {0, 128, 128},  {220, 190, 255},
    {170, 110, 40}, {255, 250, 200}, {128, 0, 0},    {170, 255, 195},
};

// The colour cycle codes 0..15 are drawn with.
const floatcolor* cycleOf(const Options& o)
{
  return o.shade ? o.shadeCycle : kCycle;
}

// The real point of sample (i, j): P samples a lattice unit.
struct RealPoint
{
  double x, y, z;
};

RealPoint samplerPoint(const Options& o, int32_t i, int32_t j)
{
  const double step = double(o.stride) / double(o.pixels);
  const double a = double(o.x0) + double(i) * step, b = double(o.y0) + double(j) * step;
  return o.plane == Plane::XY ? RealPoint{a, b, double(o.at)} : RealPoint{a, double(o.at), b};
}

CellColorSample sampleColour(const KVtables* t, const Options& o, const RealPoint& p)
{
  CellColorSample s;
  s.code = o.code;
  s.red = o.sharpness;
  s.value = 0.5;
  fmazeCityTexture(t, o.cell3->cell, o.nocycle ? nullptr : cycleOf(o), &s, p.x, p.y, p.z);
  return s;
}

void printValues3(const KVtables* t, const Options& o)
{
  if (o.sampler) {
    for (int32_t j = 0; j < o.height * o.pixels; j++) {
      for (int32_t i = 0; i < o.width * o.pixels; i++) {
        const RealPoint p = samplerPoint(o, i, j);
        const CellColorSample s = sampleColour(t, o, p);
        std::printf("%.17g %.17g %.17g %.17g %.17g %.17g %.17g %d\n", p.x, p.y, p.z, s.red, s.green,
                    s.blue, s.value, int(s.cornerCode));
      }
    }
    return;
  }
  for (int32_t j = 0; j < o.height; j++) {
    for (int32_t i = 0; i < o.width; i++) {
      const Point3 p = latticePoint3(o, i, j);
      const Sample s = sampleAt3(t, o, p);
      if (o.cell3->form == kvcell::Form3D::Cell)
        std::printf("%d %d %d %.17g %d\n", p.x, p.y, p.z, s.level, int(s.code));
      else
        std::printf("%d %d %d %.17g %.17g\n", p.x, p.y, p.z, s.level, s.second);
    }
  }
}

int printValues(const KVtables* t, const Options& o)
{
  std::printf("perm");
  for (int i = 0; i < 1024; i++)
    std::printf(" %d", t->perm[i]);
  std::printf("\n");
  if (o.cell3) {
    printValues3(t, o);
    return 0;
  }
  for (int32_t j = 0; j < o.height; j++) {
    for (int32_t i = 0; i < o.width; i++) {
      const int32_t x = latticeAt(o.x0, i, o.stride), y = latticeAt(o.y0, j, o.stride);
      const Sample s = sampleAt(t, o, x, y);
      if (o.cell->form == kvcell::Form::Pyramid)
        std::printf("%d %d %.17g %.17g %.17g %.17g\n", x, y, s.point.x, s.point.y, s.point.z,
                    s.point.w);
      else
        std::printf("%d %d %.17g %d\n", x, y, s.level, int(s.code));
    }
  }
  return 0;
}

uint8_t channel(double v)
{
  return v <= 0.0 ? 0 : v >= 255.0 ? 255 : uint8_t(v);
}

void levelColor(double level, uint8_t rgb[3])
{
  if (level < 0.0) {
    rgb[0] = rgb[1] = 0;
    rgb[2] = channel(96.0 - 159.0 * (level < -1.0 ? -1.0 : level));
    return;
  }
  rgb[0] = rgb[1] = rgb[2] = channel(level * 127.5);
}

void codeColor(const floatcolor* cycle, int16_t code, uint8_t rgb[3])
{
  floatcolor c;
  const double shade = 0.5;
  FPROCCOLOR(&c, cycle, code, &shade);
  rgb[0] = channel(c.red);
  rgb[1] = channel(c.green);
  rgb[2] = channel(c.blue);
}

// Grey from 0 black to 4 white: the outputs of the vector cells.
void vectorColor(double v, uint8_t rgb[3])
{
  rgb[0] = rgb[1] = rgb[2] = channel(v * 63.75);
}

// The two panel colours of window position (i, j).
void panelColors(const KVtables* t, const Options& o, int32_t i, int32_t j, uint8_t left[3],
                 uint8_t right[3])
{
  if (o.sampler) {
    const CellColorSample s = sampleColour(t, o, samplerPoint(o, i, j));
    levelColor(s.value, left);
    right[0] = channel(s.red), right[1] = channel(s.green), right[2] = channel(s.blue);
    return;
  }
  if (o.cell3) {
    const Sample s = sampleAt3(t, o, latticePoint3(o, i, j));
    if (o.cell3->form == kvcell::Form3D::Vector) {
      vectorColor(s.level, left);
      vectorColor(s.second, right);
    } else {
      levelColor(s.level, left);
      codeColor(cycleOf(o), s.code, right);
    }
    return;
  }
  const Sample s = sampleAt(t, o, latticeAt(o.x0, i, o.stride), latticeAt(o.y0, j, o.stride));
  levelColor(s.level, left);
  codeColor(cycleOf(o), s.code, right);
}

int drawMap(const KVtables* t, const Options& o, const char* path)
{
  constexpr int32_t kGap = 8;
  // The sampler draws one pixel a sample, P samples a lattice unit.
  const int32_t p = o.sampler ? 1 : o.pixels;
  const int32_t cols = o.sampler ? o.width * o.pixels : o.width;
  const int32_t rows = o.sampler ? o.height * o.pixels : o.height;
  const int32_t panel = cols * p, w = 2 * panel + kGap, h = rows * p;
  std::vector<uint8_t> image(size_t(w) * size_t(h) * 3, 64);
  for (int32_t j = 0; j < rows; j++) {
    for (int32_t i = 0; i < cols; i++) {
      uint8_t level[3], code[3];
      panelColors(t, o, i, j, level, code);
      const int32_t row0 = (rows - 1 - j) * p;  // y upward
      for (int32_t dy = 0; dy < p; dy++) {
        for (int32_t dx = 0; dx < p; dx++) {
          uint8_t* a = &image[(size_t(row0 + dy) * size_t(w) + size_t(i * p + dx)) * 3];
          uint8_t* b = a + size_t(panel + kGap) * 3;
          std::memcpy(a, level, 3);
          std::memcpy(b, code, 3);
        }
      }
    }
  }
  FILE* f = std::fopen(path, "wb");
  if (!f) {
    std::fprintf(stderr, "celltexture_map: cannot write %s\n", path);
    return 1;
  }
  std::fprintf(f, "P6\n%d %d\n255\n", w, h);
  const bool ok = std::fwrite(image.data(), 1, image.size(), f) == image.size();
  if (std::fclose(f) != 0 || !ok) {
    std::fprintf(stderr, "celltexture_map: write failed for %s\n", path);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const kvcell::CellEntry& c : kvcell::cells2D())
      std::printf("%s %s\n", c.name, kvcell::formName(c.form));
    for (const kvcell::CellEntry3D& c : kvcell::cells3D())
      std::printf("%s %s\n", c.name, kvcell::formName3D(c.form));
    return 0;
  }
  Options o;
  if (argc >= 2 && std::strcmp(argv[1], "--values") == 0) {
    if (!parseArgs(argc, argv, 2, o))
      return usage();
    return printValues(makeTables(o).get(), o);
  }
  if (argc < 3) {
    return usage();
  }
  // CELL OUT.ppm X0 Y0 W H: the path sits between the cell and the window.
  std::vector<char*> rest(argv, argv + argc);
  const char* out = argv[2];
  rest.erase(rest.begin() + 2);
  if (!parseArgs(int(rest.size()), rest.data(), 1, o))
    return usage();
  return drawMap(makeTables(o).get(), o, out);
}
