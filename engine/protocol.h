// The two-function protocol between the engine and a component: the compute
// function that fills the component's outputs for one batch, and the handler
// that answers numbered messages. Also `Paraminit` and the codes the catalog
// and the handlers exchange (range classes, connector codes, family codes).
#pragma once

#include <cstdint>

#include "foundation/types.h"

struct gfunc;
struct sfuncSystem;

// Evaluates one batch (KV_batchLength() samples, at most 16) of the component.
using KVComputeProc = void (*)(gfunc* g);

// Answers message `msg` with three pointers to doubles (null where the message
// carries none). The result is the member's own; only message 6 has a meaning
// for the engine (the parameter count from `Paraminit`).
using KVHandlerProc = int16_t (*)(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Turns the output component's values into one colour per sample of the batch.
using KVColorFuncProc = void (*)(gfunc* output, sfuncSystem* doc, normalcolor* colors);

// Handler messages.
enum : int16_t
{
  kMsgDisplayName = -1,  // copy the display name into the label buffer
  kMsgParamA = 0,        // 0..2: store A, B or C through a, copy its label
  kMsgParamB = 1,
  kMsgParamC = 2,
  kMsgFromNormalized = 4,  // set A, B, C from normalised *a, *b, *c (0..1)
  kMsgToNormalized = 5,    // store normalised A, B, C through a, b, c
  kMsgDefaults = 6,        // Paraminit with the defaults; connector codes, flags
  kMsgPrepare = 7,         // structure preparation after inputs are linked
  kMsgPrecompute = 8,      // constants into the private area before a render
  kMsgConvertOld = 9,      // convert the parameters of a tree older than version 16
};

// A parameter value of exactly -1.0 at message 6 marks an absent parameter.
inline constexpr double kAbsentParam = -1.0;

// Range classes of A, B and C (gfunc::rangeClass), found by the catalog's probe.
enum : uint8_t
{
  kRangeNone = 0,
  kRangeUnit = 1,    // 0.0 at normalised 0 and 1.0 at normalised 1
  kRangeAngle = 2,   // pi or 2 pi at normalised 1
  kRangeWide = 3,    // 16.0 or more at normalised 1
  kRangeChoice = 4,  // A chooses among numbered variants (set by the handler)
};

// Family codes (gfunc::family). 0 and 14 are not assigned.
enum : uint16_t
{
  kFamily11 = 1,
  kFamily21 = 2,
  kFamily22 = 3,
  kFamily31 = 4,
  kFamily32 = 5,
  kFamily42 = 6,
  kFamily23 = 7,
  kFamily33 = 8,
  kFamily43 = 9,
  kFamily24 = 10,
  kFamily34 = 11,
  kFamily44 = 12,
  kFamily25 = 13,
  kFamily41 = 15,
  kFamily12 = 16,
  kFamily13 = 17,
  kFamily14 = 18,
};
inline constexpr uint16_t kLastFamilyCode = 18;

// Function id of the compiled sub-tree member of every family.
inline constexpr int16_t kCompiledTreeId = 127;

// Connector codes (gfunc::inputCode, gfunc::outputCode). The catalog sets the
// family's code; handlers may replace the output code at messages 6 to 8.
enum : int16_t
{
  kConnUniform = 0,            // output: the single output is one value per batch
  kConnOne = 1,                // one input / one output
  kConnPacked2 = 2,            // output: packed, 2 channels per sample
  kConnPacked3 = 3,            // output: packed, 3 channels per sample
  kConnTwoUniformSecond = 4,   // output: second output uniform when second input is
  kConnTwo = 8,                // two inputs / two outputs
  kConnThreeUniformThird = 9,  // output: third output uniform
  kConnThree = 10,             // input: three inputs (f31, f32, f34)
  kConnFourValueFourth = 11,   // output: four outputs, value is the fourth
  kConnFourValueFirst = 12,    // output: four outputs, value is the first; input: f42
  kConnFive = 13,              // output: five outputs
  kConnThreeOut = 14,          // output: three outputs; input: f33
  kConnFour = 16,              // output: four outputs; input: f41, f43
  kConnFourF44 = 18,           // input: f44
};

// Lock flag bits (gfunc::lockFlags).
enum : uint16_t
{
  kLockA = 1,
  kLockB = 2,
  kLockC = 4,
  kLockAll = 7,  // also keeps the function and a compiled sub-tree from randomisation
};

// The 32-bit key of a member: function id in the high half, family code in
// the low half.
constexpr uint32_t KV_memberKey(uint16_t family, int16_t id)
{
  return (uint32_t(uint16_t(id)) << 16) | family;
}

// Number of outputs and inputs of a family; 0 for a code that is not assigned.
constexpr int KV_familyOutputs(uint16_t family)
{
  switch (family) {
    case 1:
    case 2:
    case 4:
    case 15:
      return 1;
    case 3:
    case 5:
    case 6:
    case 16:
      return 2;
    case 7:
    case 8:
    case 9:
    case 17:
      return 3;
    case 10:
    case 11:
    case 12:
    case 18:
      return 4;
    case 13:
      return 5;
    default:
      return 0;
  }
}
constexpr int KV_familyInputs(uint16_t family)
{
  switch (family) {
    case 1:
    case 16:
    case 17:
    case 18:
      return 1;
    case 2:
    case 3:
    case 7:
    case 10:
    case 13:
      return 2;
    case 4:
    case 5:
    case 8:
    case 11:
      return 3;
    case 6:
    case 9:
    case 12:
    case 15:
      return 4;
    default:
      return 0;
  }
}

// Stores A, B, C as the parameters; a value of exactly -1.0 marks an absent
// parameter. The parameter count becomes 3 when C is present, else 2 when B
// is, else 1 when A is, else 0. Clears the frequency flag. Returns the count.
uint8_t Paraminit(gfunc* g, double a, double b, double c);
