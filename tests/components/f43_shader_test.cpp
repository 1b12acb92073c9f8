// An f43 RGB Mix as the tree's output component with a source on input 4:
// the shader colours the source into the pixel row, the member mixes that
// row, and the row shows the mix.
#include <gtest/gtest.h>
#include <memory>

#include "components/f43/f43_colours.h"
#include "engine/colorfuncs.h"
#include "engine/evaluate.h"
#include "engine/treemanage.h"
#include "engine/world.h"

namespace {

void constantB(gfunc* g)
{
  std::fill_n(g->outputs[0], KV_batchLength(), g->B);
}

TEST(F43Shader, RGBMixMixesTheColouredRowOfItsInputFourSource)
{
  auto doc = std::make_unique<sfuncSystem>();
  arb_Init(doc.get());
  arb_setColorfunc(doc.get(), 12, true);  // linz: 0.125 * value into the palette
  smalltree& tree = doc->tree;
  gfunc* slots[2];
  for (int s = 0; s < 2; ++s) {
    gfunc* g = &tree.funcs[s];
    g->index = int16_t(s);
    g->doc = doc.get();
    g->owner = &tree;
    slots[s] = g;
  }
  tree.count = 2;
  gfunc* source = slots[0];
  source->family = kFamily21;
  source->outputCode = kConnOne;
  source->compute = constantB;
  source->B = 8;  // the palette's last colour
  gfunc* mix = slots[1];
  mix->family = kFamily43;
  mix->funcID = 0;
  mix->outputCode = kConnThreeOut;
  mix->compute = f43_RGBmix;
  mix->A = 0;  // the row alone, scaled by B / 32
  mix->B = 1;
  mix->sources[3] = source;
  doc->outputFunc = mix;

  normalcolor pixels[kBatchCapacity] = {};
  KVshader_evaluate(doc.get(), pixels);
  const cpalette& pal = doc->tables.gradientKeys;
  const normalcolor& last = pal.colors[pal.count - 1];
  ASSERT_GT(last.red + last.green + last.blue, 0);  // a black row would prove nothing
  for (int i : {0, 5, kBatchCapacity - 1}) {
    EXPECT_EQ(pixels[i].red, last.red) << i;
    EXPECT_EQ(pixels[i].green, last.green) << i;
    EXPECT_EQ(pixels[i].blue, last.blue) << i;
  }
}

}  // namespace
