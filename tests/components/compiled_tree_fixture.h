// A test fixture for a family's compiled-tree member: the member bound in a
// harness beside an empty sub-tree of its own (freed after each test), and
// the steps that put a component into that sub-tree and link it, and a
// probe member that shows the passes the sub-tree runs.
#pragma once

#include <gtest/gtest.h>

#include "engine/catalog.h"
#include "engine/treemanage.h"
#include "tests/components/member_harness.h"

// A sub-tree member that shows its passes: output 1 the tree's iteration
// counter (the marker where input 1 holds it), output 2 input 1, output 3
// input `Shown` (0-based), and output 4 counts the passes.
template <int Shown>
void KV_passProbe(gfunc* c)
{
  for (int i = 0; i < KV_batchLength(); ++i) {
    c->outputs[0][i] = c->inlets[0].data[i] >= gINFINITY ? gINFINITY : c->owner->iteration;
    c->outputs[1][i] = c->inlets[0].data[i];
    c->outputs[2][i] = c->inlets[Shown].data[i];
    c->outputs[3][i] += 1;
  }
}

class KVcompiledTreeTest : public ::testing::Test
{
protected:
  explicit KVcompiledTreeTest(int16_t family) : family_(family) {}

  void SetUp() override
  {
    g_ = h_.bind(family_, kCompiledTreeId);
    sub_ = arb_NewSubTree();
    ASSERT_NE(sub_, nullptr);
    sub_->version = kTreeVersion;
  }
  void TearDown() override { arb_DisposeSubTree(sub_); }

  // Component 0 of the sub-tree, owned by it and bound to (family, id) with
  // its defaults; its inputs are left unlinked.
  gfunc* firstComponent(int16_t family, int16_t id)
  {
    gfunc* c = &sub_->funcs[0];
    c->doc = h_.doc();
    c->owner = sub_;
    setFunc(c, family, id, kBindDefaults);
    return c;
  }

  // The sub-tree, holding its first component, as the document's sub-tree 0
  // and the compiled tree's link.
  void linkSubtree()
  {
    sub_->count = 1;
    h_.doc()->embedded[0] = sub_;
    g_->auxIndex = 0;
    g_->link = sub_;
  }

  // A linked sub-tree of one member (family, id) whose first `inputs` inputs
  // read the compiled tree's inputs.
  gfunc* attach(int16_t family, int16_t id, int inputs)
  {
    gfunc* c = firstComponent(family, id);
    for (int k = 0; k < inputs; ++k)
      c->inlets[k].source = int16_t(kSourceSubtreeInlet1 + k);
    linkSubtree();
    return c;
  }

  KVmemberHarness h_;
  gfunc* g_ = nullptr;
  smalltree* sub_ = nullptr;

private:
  int16_t family_;
};
