// A few tiny members for the tree-management, preparation and randomisation
// tests, bound by overriding the compute and handler pointers after the
// catalog has bound the (family, id) they stand for. Each keeps the engine's
// meaning of its key (a memory member is a loop end, f31 27 packs, ...).
//
// Handlers map normalised values to parameters one to one, label C
// "Frequency " when the member says so, and count messages 7 and 8 in the
// private area.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/gfunc.h"
#include "engine/world.h"
#include "tests/engine/test_world.h"

enum class TestMember
{
  kAdd,        // f21 1: in1 + in2 + A
  kMul,        // f21 2: in1 * in2 * B (A unused)
  kSplit,      // f22 5: out1 = in1, out2 = in2 * A
  kMemory,     // f11 29: the previous sample of its input (state kept across batches)
  kPacker,     // f31 27: packs in1, in2, in3 as 3 channels per sample (output code 3)
  kUnpack,     // f33 9: reads a packed input 1 and spreads its channels on 3 outputs
  kIterate,    // f11 28: loop starter, copies its input
  kScale,      // f11 3: in1 * A; parameter C is a frequency
  kColor3,     // f23 7: three outputs in1, in2, in1 + in2
  kFour,       // f24 5: four outputs, value in output 4 (code 16)
  kSubtree21,  // f21 127: compiled sub-tree owner with two inputs, one output
  kSubtree22,  // f22 127: compiled sub-tree owner with two inputs, two outputs
};

struct TestMemberInfo
{
  uint16_t family;
  int16_t id;
};

TestMemberInfo testMemberInfo(TestMember m);

// What a test handler records in the component's private area.
struct TestPrivate
{
  int32_t prepared;     // message 7 count
  int32_t precomputed;  // message 8 count
  double memory;        // the memory member's last sample
};

// Binds `g` to the test member: catalog binding of its key, then the test
// pair, then message 6 (defaults copied into the keyframes).
void bindTestMember(gfunc* g, TestMember m);

// Puts the test pair back on every component of the tree whose key is a
// test member's, without messages (after a rebuild or a copy).
void rebindTestMembers(smalltree* tree);

// Appends a component to the tree at `level` with up to four sources given
// as slots (-1 none) reading output `outlet` of each; returns it.
gfunc* addTestComponent(smalltree* tree, TestMember m, uint8_t level,
                        std::initializer_list<int> sourceSlots = {}, int16_t outlet = 1);

// A fresh, initialised document (arb_Init) holding no components.
std::unique_ptr<sfuncSystem> makeTestDocument();

// Runs every component's compute function in slot order for one batch of n
// samples with the given master x and y.
void evaluateTestTree(sfuncSystem* doc, const double* x, const double* y, int n);
