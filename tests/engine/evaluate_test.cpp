// The evaluators on small hand-wired trees whose members are written here:
// the relief path and its factor, which colour functions shade relief, the
// loop order of the tree pass, post components, the point evaluators and the
// evaluation-flag walk.
#include "engine/evaluate.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "engine/colorfuncs.h"
#include "engine/treemanage.h"
#include "engine/world.h"

namespace {

// The order in which the members below ran (their slot numbers).
std::vector<int> gComputeLog;

void logSlot(gfunc* g)
{
  gComputeLog.push_back(g->index);
}

int& computeCount(gfunc* g)
{
  return privateArea<int>(g);
}

// Four outputs: red 4, green 2, blue 6 (128, 64, 192 as pixels) and an
// altitude on output 4 that rises by C per unit of x from 2 at x = A.
void reliefMember(gfunc* g)
{
  ++computeCount(g);
  const double* x = g->doc->master[0];
  for (int i = 0; i < KV_batchLength(); ++i) {
    g->outputs[0][i] = 4;
    g->outputs[1][i] = 2;
    g->outputs[2][i] = 6;
    g->outputs[3][i] = g->C * (x[i] - g->A) + 2;
  }
}

// One output: the value stored in B; logs its slot.
void constantMember(gfunc* g)
{
  logSlot(g);
  std::fill_n(g->outputs[0], KV_batchLength(), g->B);
}

// One output per sample of the post list below.
void postMember(gfunc* g)
{
  logSlot(g);
  const double values[4] = {1e6, 5.0, kKVmaskedValue, 799999.5};
  for (int i = 0; i < KV_batchLength(); ++i)
    g->outputs[0][i] = values[i % 4];
}

// One output: master y (point mode 3 feeds y there, other modes z).
void masterYMember(gfunc* g)
{
  std::fill_n(g->outputs[0], KV_batchLength(), g->doc->master[1][0]);
}

// Three outputs from the pixels it was handed through its link (the f43
// colour members mix the colours of their input-4 source): red, green, blue
// on the component scale; 1, 2, 3 when it has no pixels.
void pixelMixMember(gfunc* g)
{
  const auto* px = static_cast<const normalcolor*>(g->link);
  for (int i = 0; i < KV_batchLength(); ++i) {
    g->outputs[0][i] = px ? px[i].red / 32.0 : 1.0;
    g->outputs[1][i] = px ? px[i].green / 32.0 : 2.0;
    g->outputs[2][i] = px ? px[i].blue / 32.0 : 3.0;
  }
}

class EvaluateTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    gComputeLog.clear();
    arb_Init(doc_.get());
    arb_setColorfunc(doc_.get(), 12, true);
  }

  // Puts a component bound to `compute` in the next slot; the last one added
  // is the output component.
  gfunc* add(uint16_t family, KVComputeProc compute, uint16_t loopMask = 0)
  {
    smalltree& tree = doc_->tree;
    gfunc* g = &tree.funcs[tree.count];
    g->index = tree.count++;
    g->family = family;
    g->compute = compute;
    g->outputCode = family == kFamily24 ? kConnFour : kConnOne;
    g->loopMask = loopMask;
    g->doc = doc_.get();
    g->owner = &tree;
    computeCount(g) = 0;
    if (loopMask != 0)
      tree.loopFlag = 1;
    return g;
  }

  void setOutput(gfunc* g) { doc_->outputFunc = g; }

  std::unique_ptr<sfuncSystem> doc_ = std::make_unique<sfuncSystem>();
  normalcolor pixels_[kBatchCapacity] = {};
};

TEST_F(EvaluateTest, ReliefFactorIsCappedAndBlackensAtZero)
{
  // s = 0.78 - 0.06 * slope: slope -10 gives 1.38, limited to 1.333; 0 gives
  // 0.78; 20 gives -0.42, black.
  struct Case
  {
    double slope;
    normalcolor expected;
  };
  const Case cases[] = {
      {-10.0, {127, 170, 85, 255}},
      {0.0, {127, 99, 49, 149}},
      {20.0, {127, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slope);
    doc_->tree.count = 0;
    gfunc* out = add(kFamily24, reliefMember);
    out->A = 0.5;
    out->C = c.slope;
    setOutput(out);
    arb_setColorfunc(doc_.get(), 15, true);
    doc_->colorFuncIndex = 15;
    KVcolor_evaluate(doc_.get(), 0.5, 0.01, 0.3, pixels_);
    for (int i = 0; i < kBatchCapacity; ++i) {
      EXPECT_EQ(pixels_[i].red, c.expected.red) << i;
      EXPECT_EQ(pixels_[i].green, c.expected.green) << i;
      EXPECT_EQ(pixels_[i].blue, c.expected.blue) << i;
    }
    // The flag byte is the alpha of the first pass (altitude 2 at sample 0).
    EXPECT_EQ(pixels_[0].flag, c.expected.flag);
    EXPECT_EQ(doc_->fractal.reliefPass, 0);
  }
}

TEST_F(EvaluateTest, OnlyIndices14And15ShadeReliefAndOnlyForBatchesAboveOne)
{
  struct Case
  {
    int16_t colorFunc;
    int32_t batch;
    int passes;
  };
  const Case cases[] = {{12, 16, 1}, {13, 16, 1}, {14, 16, 2}, {15, 16, 2}, {14, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "index " << c.colorFunc << " batch " << c.batch);
    doc_->tree.count = 0;
    gfunc* out = add(kFamily24, reliefMember);
    setOutput(out);
    arb_setColorfunc(doc_.get(), c.colorFunc, true);
    doc_->colorFuncIndex = c.colorFunc;
    KV_setBatchLength(c.batch);
    KVcolor_evaluate(doc_.get(), 0.0, 0.1, 0.0, pixels_);
    KV_setBatchLength(kBatchCapacity);
    EXPECT_EQ(computeCount(out), c.passes);
  }
}

TEST_F(EvaluateTest, ReliefWithoutViewExtentDoesNotDivideByZero)
{
  gfunc* out = add(kFamily24, reliefMember);
  out->C = 3.0;
  setOutput(out);
  arb_setColorfunc(doc_.get(), 15, true);
  doc_->colorFuncIndex = 15;
  doc_->view.xmax = doc_->view.xmin;
  KVcolor_evaluate(doc_.get(), 0.0, 0.1, 0.0, pixels_);
  EXPECT_EQ(pixels_[0].red, 99);  // the base factor 0.78 on red 128
}

TEST_F(EvaluateTest, TreePassRunsLoopersAfterTheRestAndLeavesLoopsToThem)
{
  add(kFamily21, constantMember, 1);  // a Looper: deferred
  add(kFamily21, constantMember, 0);
  add(kFamily21, constantMember, 3);  // inside loop 1: its Looper runs it
  add(kFamily21, constantMember, 1);  // downstream of the Looper: deferred
  setOutput(add(kFamily21, constantMember, 0));
  doc_->tree.iteration = 9;
  KVTree_evaluate(doc_.get());
  EXPECT_EQ(gComputeLog, (std::vector<int>{1, 0, 3, 4}));
  EXPECT_EQ(doc_->tree.iteration, 0);
  EXPECT_EQ(doc_->tree.iterationPtr, &doc_->tree.iteration);
}

TEST_F(EvaluateTest, PostComponentsRunAfterColouringAndDropMaskedValues)
{
  setOutput(add(kFamily21, constantMember));
  gfunc* post = add(kFamily21, postMember);
  gfunc* inLoop = add(kFamily21, postMember, 2);
  KVshader_evaluate(doc_.get(), pixels_);
  EXPECT_EQ(gComputeLog, (std::vector<int>{0, 1}));
  const double expected[4] = {0.0, 5.0, 0.0, 799999.5};
  for (int i = 0; i < kBatchCapacity; ++i)
    EXPECT_EQ(post->outputs[0][i], expected[i % 4]) << i;
  EXPECT_EQ(inLoop->outputs[0][0], 0.0);  // never computed
}

TEST_F(EvaluateTest, ScalarEvaluateReportsMaskedValuesAsMinusEight)
{
  const double values[][2] = {{gINFINITY, -8.0}, {kKVmaskedValue, -8.0}, {3.5, 3.5}};
  gfunc* out = add(kFamily21, constantMember);
  setOutput(out);
  for (const auto& v : values) {
    out->B = v[0];
    const double point[3] = {0.1, 0.2, 0.3};
    double value = 0;
    EXPECT_EQ(KVscalar_evaluate(doc_.get(), point, &value), v[1]);
    EXPECT_EQ(value, v[1]);
  }
  EXPECT_EQ(KV_batchLength(), kBatchCapacity);  // the caller's batch length is back
}

TEST_F(EvaluateTest, ScalarEvaluateSkipsFlaggedComponentsAndAuxDoesNot)
{
  gfunc* flagged = add(kFamily21, constantMember);
  flagged->evalFlag = 1;
  setOutput(add(kFamily21, constantMember));
  const double point[3] = {0, 0, 0};
  double value = 0;
  double aux = -1;
  KVscalar_evaluate(doc_.get(), point, &value);
  EXPECT_EQ(gComputeLog, (std::vector<int>{1}));
  EXPECT_EQ(doc_->fractal.reliefPass, 0);
  gComputeLog.clear();
  KVaux_evaluate(doc_.get(), point, &value, &aux);
  EXPECT_EQ(gComputeLog, (std::vector<int>{0, 1}));
  EXPECT_EQ(aux, 0.0);  // no component after the output component
}

TEST_F(EvaluateTest, AuxEvaluateReadsTheFirstPostComponent)
{
  setOutput(add(kFamily21, constantMember));
  add(kFamily21, postMember, 2);  // inside a loop: not the auxiliary one
  gfunc* aux = add(kFamily21, constantMember);
  aux->B = 2.25;
  const double point[3] = {0, 0, 0};
  double value = 0;
  double auxValue = 0;
  KVaux_evaluate(doc_.get(), point, &value, &auxValue);
  EXPECT_EQ(auxValue, 2.25);
}

TEST_F(EvaluateTest, PointModeChoosesWhatFeedsMasterY)
{
  setOutput(add(kFamily21, masterYMember));
  const double point[3] = {1.0, 2.0, 3.0};
  const double cases[][2] = {{3, 2.0}, {0, 3.0}, {1, 3.0}};
  for (const auto& c : cases) {
    doc_->pointMode = int16_t(c[0]);
    double value = 0;
    KVaux_evaluate(doc_.get(), point, &value, nullptr);
    EXPECT_EQ(value, c[1]) << "point mode " << c[0];
  }
  EXPECT_EQ(doc_->master[2][0], 3.0);  // mode 3 fed z into array 3
}

TEST_F(EvaluateTest, ColorvecTakesDirectColoursFromTheRightOutputs)
{
  struct Case
  {
    uint16_t family;
    double first;  // output 1
    double expected[3];
  };
  const Case cases[] = {
      {kFamily24, 1.0, {32.0, 64.0, 96.0}},    // outputs 1 to 3
      {kFamily25, 1.0, {96.0, 128.0, 160.0}},  // outputs 3 to 5
      {kFamily24, gINFINITY, {}},              // the first default colour
  };
  const normalcolor c1 = doc_->defaultColors[0];
  for (const Case& c : cases) {
    doc_->tree.count = 0;
    gfunc* out = add(c.family, nullptr);
    setOutput(out);
    out->outputCode = kConnThreeOut;
    for (int k = 0; k < 5; ++k)
      out->outputs[k][0] = k + 1.0;
    out->outputs[0][0] = c.first;
    const double point[3] = {0, 0, 0};
    double color[3] = {};
    KVcolorvec_evaluate(doc_.get(), point, color, nullptr);
    const double masked[3] = {double(c1.red), double(c1.green), double(c1.blue)};
    const double* expected = c.first >= gINFINITY ? masked : c.expected;
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(color[k], expected[k]) << "family " << c.family << " channel " << k;
  }
}

TEST_F(EvaluateTest, ShaderColoursThroughTheRightRoute)
{
  // The output component is coloured by the document's colour function unless
  // it has three or more outputs (or packed outputs); an f43 colour member
  // (id below 4) with an input-4 source gets that source coloured into the
  // pixel row first.
  struct Case
  {
    uint16_t family;
    int16_t funcID;
    int16_t outputCode;
    bool withSource4;
    bool colourFunction;  // coloured by linz (else directly from outputs 1 to 3)
    bool linked;          // the pixel row was handed to the output component
  };
  const Case cases[] = {
      {kFamily21, 0, kConnOne, false, true, false},
      {kFamily21, 0, kConnPacked2, false, false, false},
      {kFamily21, 0, kConnPacked3, false, false, false},
      {kFamily23, 0, kConnThreeOut, false, false, false},
      {kFamily43, 3, kConnThreeOut, true, false, true},
      {kFamily43, 4, kConnThreeOut, true, false, false},
      {kFamily43, 0, kConnThreeOut, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "family " << c.family << " id " << c.funcID);
    doc_->tree.count = 0;
    gfunc* source = add(kFamily21, constantMember);
    source->B = 8.0;  // linz: 0.125 * 8 = 1, the palette's last colour
    gfunc* out = add(c.family, c.colourFunction ? constantMember : pixelMixMember);
    out->B = 0.0;  // linz: the palette's first colour
    out->funcID = c.funcID;
    out->outputCode = c.outputCode;
    out->link = nullptr;
    out->sources[3] = c.withSource4 ? source : nullptr;
    setOutput(out);
    const cpalette& pal = doc_->tables.gradientKeys;
    const int32_t last = pal.count - 1;
    KVshader_evaluate(doc_.get(), pixels_);
    EXPECT_EQ(out->link, c.linked ? static_cast<void*>(pixels_) : nullptr);
    normalcolor expected{255, 32, 64, 96};  // outputs 1, 2, 3 of an unlinked member
    if (c.colourFunction)
      expected = pal.colors[0];
    else if (c.linked)
      expected =
          normalcolor{255, pal.colors[last].red, pal.colors[last].green, pal.colors[last].blue};
    EXPECT_EQ(pixels_[5].red, expected.red);
    EXPECT_EQ(pixels_[5].green, expected.green);
    EXPECT_EQ(pixels_[5].blue, expected.blue);
  }
}

TEST_F(EvaluateTest, ShaderAppliesGlobalShadeAndHalfTheDepthCue)
{
  // Shade value 1 halves the colour (factor (1 + 1) / 4); the depth cue with
  // amount 2 runs with d = 1: no fading until the surface distance passes pi.
  struct Case
  {
    int16_t depthCue;
    uint8_t globalShade;
    double surfaceX;
    bool faded;
  };
  const Case cases[] = {
      {0, 1, 100.0, false}, {2, 0, 3.0, false}, {2, 0, 100.0, true}, {1, 0, 2.0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "cue " << c.depthCue << " x " << c.surfaceX);
    doc_->tree.count = 0;
    gfunc* out = add(kFamily23, pixelMixMember);
    out->outputCode = kConnThreeOut;
    out->link = nullptr;
    setOutput(out);
    double shade[kBatchCapacity];
    double surfaceX[kBatchCapacity];
    std::fill_n(shade, kBatchCapacity, 1.0);
    std::fill_n(surfaceX, kBatchCapacity, c.surfaceX);
    doc_->renderInputs[kRenderInputShade] = shade;
    doc_->renderInputs[kRenderInputSurfaceX] = surfaceX;
    doc_->renderInputs[kRenderInputSurfaceY] = nullptr;
    doc_->depthCue = c.depthCue;
    doc_->globalShade = c.globalShade;
    KVshader_evaluate(doc_.get(), pixels_);
    const normalcolor unshaded{255, 32, 64, 96};
    const normalcolor& c1 = doc_->defaultColors[0];
    if (c.globalShade)
      EXPECT_EQ(pixels_[0].green, 32);
    else if (!c.faded)
      EXPECT_EQ(pixels_[0].green, unshaded.green);
    else
      EXPECT_NE(pixels_[0].green, unshaded.green);
    if (c.surfaceX > 50 && c.faded) {  // far away: close to C1
      EXPECT_NEAR(pixels_[0].blue, c1.blue, 2);
    }
  }
  doc_->renderInputs[kRenderInputShade] = nullptr;
  doc_->renderInputs[kRenderInputSurfaceX] = nullptr;
}

TEST_F(EvaluateTest, EvalflagWalkStopsAtTheFirstFourInputSon)
{
  // 0 feeds 1, 3 and 5; 1 feeds 2; 3 (four inputs) feeds 4.
  const int sources[6] = {-1, 0, 1, 0, 3, 0};
  const uint16_t families[6] = {kFamily21, kFamily21, kFamily21, kFamily43, kFamily21, kFamily21};
  for (int s = 0; s < 6; ++s) {
    gfunc* g = add(families[s], nullptr);
    if (sources[s] >= 0)
      g->sources[0] = &doc_->tree.funcs[sources[s]];
  }
  propagateEvalflag(&doc_->tree, &doc_->tree.funcs[0], 1);
  const uint8_t expected[6] = {0, 1, 1, 0, 0, 0};
  for (int s = 0; s < 6; ++s)
    EXPECT_EQ(doc_->tree.funcs[s].evalFlag, expected[s]) << "slot " << s;
}

}  // namespace
