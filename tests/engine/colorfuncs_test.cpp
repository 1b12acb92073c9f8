#include "engine/colorfuncs.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

#include "engine/gfunc.h"
#include "engine/palettes.h"
#include "engine/world.h"
#include "foundation/colormath.h"
#include "tests/engine/test_palettes.h"

namespace {

// A document with palette 4 and the usual default colours, whose output
// component (family 2, one output) sits in slot 1.
struct ColorDoc
{
  std::unique_ptr<sfuncSystem> doc = std::make_unique<sfuncSystem>();
  gfunc* out = &doc->tree.funcs[1];
  normalcolor colors[kBatchCapacity];

  ColorDoc()
  {
    define_cpalette(&doc->tables.gradientKeys, 4);
    doc->defaultColors[0] = rgb(128, 128, 255);
    doc->defaultColors[1] = rgb(128, 64, 0);
    doc->defaultColors[2] = rgb(0, 255, 0);
    out->family = 2;
    std::fill_n(colors, kBatchCapacity, normalcolor{7, 7, 7, 7});
  }

  void setOutputs(int o, double v) { std::fill_n(out->outputs[o], kBatchCapacity, v); }
  const cpalette& palette() const { return doc->tables.gradientKeys; }
};

TEST(ColorFuncs, BindingTable)
{
  struct Case
  {
    int16_t index;
    bool reset;
    KVColorFuncProc func;
    int16_t storedIndex, depthCue;
    uint8_t globalShade;
  };
  // Each case starts from depth cue 5 and global shade 1.
  const Case cases[] = {
      {20, false, cfunc_Color_linz, 12, 5, 1},      {-1, true, cfunc_Color_linz, 12, 0, 0},
      {6, false, cfunc_Color_proclogD, 6, 1, 1},    {7, true, cfunc_Color_proclogE, 7, 2, 0},
      {10, true, cfunc_Color_multiprocH, 10, 0, 1}, {11, true, cfunc_Color_multiprocHDF, 11, 2, 1},
      {14, false, cfunc_Color_linz, 14, 5, 1},      {15, true, cfunc_Color_DirectRGB, 15, 0, 0},
      {0, false, cfunc_Color_Clut1, 0, 5, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    ColorDoc d;
    d.doc->depthCue = 5;
    d.doc->globalShade = 1;
    arb_setColorfunc(d.doc.get(), c.index, c.reset);
    EXPECT_EQ(d.doc->colorFunc, c.func);
    EXPECT_EQ(d.doc->colorFuncIndex, c.storedIndex);
    EXPECT_EQ(d.doc->depthCue, c.depthCue);
    EXPECT_EQ(d.doc->globalShade, c.globalShade);
  }
}

TEST(ColorFuncs, DirectRGB)
{
  struct Case
  {
    uint16_t family;
    double o[5];
    normalcolor want;
  };
  const Case cases[] = {
      {2, {gINFINITY, 0, 0, 0, 0}, rgb(128, 128, 255)},  // no value: C1 whole
      {2, {8.0, -1, 100, 0, 0}, rgb(255, 0, 255)},
      {7, {1, 2, 3, 0, 0}, rgb(32, 64, 96)},
      {10, {1, 2, 3, 2, 0}, normalcolor{127, 32, 64, 96}},  // alpha from the fourth output
      {10, {1, 2, 3, 9, 0}, normalcolor{255, 32, 64, 96}},
      {13, {0, 0, 1, 2, 3}, rgb(32, 64, 96)},  // five outputs: colour from O2..O4
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "family " << c.family << " red " << c.o[0]);
    ColorDoc d;
    d.out->family = c.family;
    for (int o = 0; o < 5; ++o)
      d.setOutputs(o, c.o[o]);
    cfunc_Color_DirectRGB(d.out, d.doc.get(), d.colors);
    EXPECT_EQ(d.colors[0], c.want);
    EXPECT_EQ(d.colors[15], c.want);
  }
  // C1 is copied with its own byte 0.
  ColorDoc d;
  d.doc->defaultColors[0] = normalcolor{9, 1, 2, 3};
  d.setOutputs(0, gINFINITY);
  cfunc_Color_DirectRGB(d.out, d.doc.get(), d.colors);
  EXPECT_EQ(d.colors[3], (normalcolor{9, 1, 2, 3}));
}

TEST(ColorFuncs, Geographic)
{
  const double values[kBatchCapacity] = {-20, 200, 0, 500, -13.9};
  normalcolor colors[kBatchCapacity];
  cfunc_Color_Geographic(values, colors);
  normalcolor lowest = kDefaultTerrainColors[0];
  lowest.red = 0;
  EXPECT_EQ(colors[0], lowest);                                         // h < 0: t = 0, water
  EXPECT_EQ(colors[1], kDefaultTerrainColors[kDefaultColorCount - 1]);  // h > 4600: t = 1
  EXPECT_EQ(colors[2], colorgradient(kDefaultTerrainColors, kDefaultColorCount, 400 / 4600.0));
  EXPECT_EQ(colors[3], kDefaultTerrainColors[kDefaultColorCount - 1]);
  EXPECT_EQ(colors[4].red, 0);  // h = 0.375: still water
}

TEST(ColorFuncs, PaletteFunctions)
{
  ColorDoc d;
  d.setOutputs(0, 0);
  // The log map of 0 is below 0: the palette's first colour.
  cfunc_Color_ClutlogA(d.out, d.doc.get(), d.colors);
  EXPECT_EQ(d.colors[0], d.palette().colors[0]);

  // linz reads O0 / 8; a two-output family averages with O1.
  d.setOutputs(0, 8);
  cfunc_Color_linz(d.out, d.doc.get(), d.colors);
  EXPECT_EQ(d.colors[5], d.palette().colors[5]);
  d.out->family = 3;
  d.setOutputs(1, 0);
  cfunc_Color_linz(d.out, d.doc.get(), d.colors);
  const normalcolor first = d.palette().colors[0], last = d.palette().colors[5];
  EXPECT_EQ(d.colors[5],
            rgb(uint8_t((first.red + last.red) >> 1), uint8_t((first.green + last.green) >> 1),
                uint8_t((first.blue + last.blue) >> 1)));

  // ClutlogB turns the hue of negative values.
  ColorDoc e;
  e.setOutputs(0, -3);
  cfunc_Color_ClutlogB(e.out, e.doc.get(), e.colors);
  normalcolor c = colorgradient(e.palette().colors, e.palette().count,
                                0.2490234375 * std::log(2 * (3 + 0.367879)));
  EXPECT_EQ(e.colors[0], HueRotate180(c.red, c.green, c.blue));

  // Grey levels sit in byte 3.
  e.setOutputs(0, 4);
  cfunc_BW_Clip(e.out, e.doc.get(), e.colors);
  EXPECT_EQ(e.colors[0], (normalcolor{0, 0, 0, 128}));
}

TEST(ColorFuncs, MissingSourcesWriteNothing)
{
  ColorDoc d;
  cfunc_Color_proclogB(d.out, d.doc.get(), d.colors);
  cfunc_Color_proclogC(d.out, d.doc.get(), d.colors);
  EXPECT_EQ(d.colors[0], (normalcolor{7, 7, 7, 7}));
  // Functions that lack their light or surface inputs give the base colour.
  for (KVColorFuncProc f : {cfunc_Color_proclogD, cfunc_Color_proclogE, cfunc_Color_proclogF}) {
    f(d.out, d.doc.get(), d.colors);
    EXPECT_EQ(d.colors[0].flag, 255);
  }
}

TEST(ColorFuncs, LightsAddTheDefaultColours)
{
  ColorDoc d;
  d.setOutputs(0, -0.9921875);  // T(v) = 0: the palette's first colour, black
  double l1[kBatchCapacity], l2[kBatchCapacity];
  std::fill_n(l1, kBatchCapacity, 7.0);   // weight (7 + 1) / 8 = 1
  std::fill_n(l2, kBatchCapacity, -3.0);  // negative weight: no light
  d.doc->renderInputs[kRenderInputLight1] = l1;
  d.doc->renderInputs[kRenderInputLight2] = l2;
  cfunc_Color_multiprocHDF(d.out, d.doc.get(), d.colors);
  EXPECT_EQ(d.colors[0], rgb(128, 64, 0));  // C2 added once
  std::fill_n(l2, kBatchCapacity, 15.0);    // C3 twice: green capped
  cfunc_Color_multiprocHDF(d.out, d.doc.get(), d.colors);
  EXPECT_EQ(d.colors[0], rgb(128, 255, 0));
}

TEST(ColorFuncs, GlobalShadeTable)
{
  struct Case
  {
    double shade;
    normalcolor want;
  };
  const Case cases[] = {
      {-1, rgb(0, 0, 0)},                        // factor 0: opaque black
      {7, rgb(200, 255, 0)},                     // factor 2, capped
      {100, rgb(200, 255, 0)},                   // factor held to 2
      {1, rgb(50, 75, 0)},                       // factor 0.5
      {gINFINITY, normalcolor{9, 100, 150, 0}},  // no value: left alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shade);
    ColorDoc d;
    double shade[kBatchCapacity];
    std::fill_n(shade, kBatchCapacity, c.shade);
    d.doc->renderInputs[kRenderInputShade] = shade;
    std::fill_n(d.colors, kBatchCapacity, normalcolor{9, 100, 150, 0});
    cfunc_ColorGlobalShade(d.doc.get(), d.colors);
    normalcolor want = c.want;
    if (c.shade > -1 && c.shade < gINFINITY)
      want.flag = 9;
    EXPECT_EQ(d.colors[0], want);
  }
  ColorDoc none;
  cfunc_ColorGlobalShade(none.doc.get(), none.colors);
  EXPECT_EQ(none.colors[0], (normalcolor{7, 7, 7, 7}));
}

TEST(ColorFuncs, DepthCueFadesToC1WithDistance)
{
  ColorDoc d;
  double x[kBatchCapacity] = {0.5, 1000, 2};
  d.doc->renderInputs[kRenderInputSurfaceX] = x;
  std::fill_n(d.colors, kBatchCapacity, rgb(0, 0, 0));
  cfunc_ColordepthCue(d.doc.get(), d.colors, 1);  // starts at pi
  EXPECT_EQ(d.colors[0], rgb(0, 0, 0));
  EXPECT_EQ(d.colors[1], rgb(128, 128, 255));
  EXPECT_EQ(d.colors[2], rgb(0, 0, 0));

  double color[3] = {0, 0, 0};
  ColorVec_DepthCue(d.doc.get(), color, 2);  // starts at 0, rate 0.25
  const double k = std::exp(-0.25 * 0.5);
  EXPECT_NEAR(color[0], 128 * (1 - k), 1e-12);
  EXPECT_NEAR(color[2], 255 * (1 - k), 1e-12);
}

TEST(ColorFuncs, BatchLengthOfTheCallingThread)
{
  ColorDoc d;
  d.setOutputs(0, 3);
  std::thread worker([&] {
    KV_setBatchLength(5);
    cfunc_Color_Clut2(d.out, d.doc.get(), d.colors);
  });
  worker.join();
  EXPECT_EQ(d.colors[4].flag, 255);
  EXPECT_EQ(d.colors[5], (normalcolor{7, 7, 7, 7}));
}

TEST(ColorFuncs, MutationKeepsTheCountUnlessStrengthIsZero)
{
  srandom(2);
  cpalette p{};
  define_cpalette(&p, 9);
  const cpalette before = p;
  clut_mutate(&p, 0);
  EXPECT_TRUE(EqualPalette(&p, &before));
  clut_mutate(&p, 1);
  EXPECT_EQ(p.count, before.count);
}

}  // namespace
