// Writes a picture (binary PPM) for a reader to look at: one strip per
// built-in palette, then one strip per colour function applied to a ramp of
// values from -8 to 8 (indices 0 to 15, 14 being the geographic function,
// then the three grey functions).
//
//   palette_strips out.ppm
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/colorfuncs.h"
#include "engine/gfunc.h"
#include "engine/palettes.h"
#include "engine/world.h"
#include "foundation/colormath.h"

namespace {

constexpr int kWidth = 256;
constexpr int kStripHeight = 12;
constexpr int kGap = 4;

using Row = std::vector<normalcolor>;

double rampValue(int x)
{
  return -8.0 + 16.0 * x / (kWidth - 1);
}

// The document every colour function reads: palette 4, the usual default
// colours, and ramps for the light, surface and shade inputs.
struct Scene
{
  std::unique_ptr<sfuncSystem> doc = std::make_unique<sfuncSystem>();
  gfunc* output = &doc->tree.funcs[1];
  gfunc* source = &doc->tree.funcs[0];
  gfunc* second = &doc->tree.funcs[2];
  double ramp[kBatchCapacity] = {};
  double lights[3][kBatchCapacity] = {};

  Scene()
  {
    define_cpalette(&doc->tables.gradientKeys, 4);
    doc->defaultColors[0] = normalcolor{255, 128, 128, 255};
    doc->defaultColors[1] = normalcolor{255, 128, 64, 0};
    doc->defaultColors[2] = normalcolor{255, 0, 255, 0};
    output->family = 2;  // one output, two inputs
    output->sources[0] = source;
    output->sources[1] = second;
    second->family = 2;
    source->family = 3;  // two outputs
    doc->renderInputs[kRenderInputFirstInput] = source->outputs[0];
    doc->renderInputs[kRenderInputSurfaceX] = ramp;
    doc->renderInputs[kRenderInputSurfaceY] = source->outputs[1];
    for (int k = 0; k < 3; ++k)
      doc->renderInputs[kRenderInputLight1 + k] = lights[k];
  }

  // Fills the batch starting at column x0 with the ramp and its variations.
  void loadBatch(int x0)
  {
    for (int i = 0; i < kBatchCapacity; ++i) {
      double v = rampValue(x0 + i);
      ramp[i] = v;
      for (int o = 0; o < 5; ++o)
        output->outputs[o][i] = (o == 3) ? 4.0 : v + 8 + o;
      output->outputs[0][i] = v;
      source->outputs[0][i] = v * 0.5;
      source->outputs[1][i] = 1 - v * 0.25;
      second->outputs[0][i] = v * 0.75;
      lights[0][i] = v;
      lights[1][i] = -v;
      lights[2][i] = v * 0.5;
    }
  }
};

template <class Fill>
Row rowOf(Scene& scene, Fill fill)
{
  Row row(kWidth);
  for (int x0 = 0; x0 < kWidth; x0 += kBatchCapacity) {
    scene.loadBatch(x0);
    fill(&row[size_t(x0)]);
  }
  return row;
}

void writePPM(const char* path, const std::vector<Row>& rows)
{
  std::FILE* f = std::fopen(path, "wb");
  if (!f) {
    std::perror(path);
    std::exit(1);
  }
  int height = int(rows.size()) * (kStripHeight + kGap);
  std::fprintf(f, "P6\n%d %d\n255\n", kWidth, height);
  const Row gap(kWidth, normalcolor{255, 40, 40, 40});
  for (const Row& row : rows)
    for (int y = 0; y < kStripHeight + kGap; ++y)
      for (const normalcolor& c : (y < kStripHeight ? row : gap)) {
        unsigned char rgb[3] = {c.red, c.green, c.blue};
        std::fwrite(rgb, 1, 3, f);
      }
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: palette_strips out.ppm\n");
    return 2;
  }
  srandom(1);
  auto lib = std::make_unique<cpalettelib>();
  init_cpalettelib(lib.get());

  std::vector<Row> rows;
  for (int p = 0; p < kPaletteBuiltinCount; ++p) {
    const cpalette& pal = lib->palettes[p];
    Row row(kWidth);
    for (int x = 0; x < kWidth; ++x)
      row[size_t(x)] = colorgradient(pal.colors, pal.count, x / (kWidth - 1.0));
    rows.push_back(row);
  }

  Scene scene;
  for (int16_t index = 0; index < kColorFuncCount; ++index) {
    arb_setColorfunc(scene.doc.get(), index, true);
    if (index == kColorFuncGeographic) {
      rows.push_back(rowOf(
          scene, [&](normalcolor* c) { cfunc_Color_Geographic(scene.output->outputs[0], c); }));
      continue;
    }
    rows.push_back(rowOf(
        scene, [&](normalcolor* c) { scene.doc->colorFunc(scene.output, scene.doc.get(), c); }));
  }
  for (KVColorFuncProc grey : {cfunc_BW_Sine, cfunc_BW_logarithmic, cfunc_BW_Clip})
    rows.push_back(rowOf(scene, [&](normalcolor* c) {
      grey(scene.output, scene.doc.get(), c);
      for (int i = 0; i < kBatchCapacity; ++i)
        c[i].red = c[i].green = c[i].blue;
    }));

  writePPM(argv[1], rows);
  return 0;
}
