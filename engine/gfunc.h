// The records every engine module works on: one component (`gfunc`), a tree
// of up to 32 components (`smalltree`), the document record (`sfuncSystem`),
// an input link (`inletinfos`) and an evaluation list (`sfuncEvalLists`).
//
// All records are standard-layout aggregates with no constructors of their
// own: the world record is carved from the zero-filled memory pool, and a
// value-initialised record (`sfuncSystem{}`) is all zeros apart from the
// defaults of `fractalsinfos`. Initialisation proper belongs to the tree
// management (`arb_Init`).
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

#include "engine/docslots.h"
#include "engine/protocol.h"
#include "foundation/types.h"
#include "noise/kvtables.h"

struct smalltree;
struct sfuncSystem;

inline constexpr int kMaxComponents = 32;  // slots of a smalltree
inline constexpr int kBatchCapacity = 16;  // room of every output array
inline constexpr int kKeyframeCount = 16;
inline constexpr int kEmbeddedTrees = 16;
inline constexpr int kInputSlots = 8;
inline constexpr int kMasterInputs = 8;
inline constexpr int kRenderingInputs = 8;
inline constexpr int kTreeVersion = 20;

// Bytes of a component's private area: handler constants and state written at
// messages 6 to 8 and read by the compute function. Sized for the largest
// member; grow it when a member needs more (privateArea() checks at compile
// time).
inline constexpr size_t kPrivateAreaSize = 1024;

// Source codes of an inlet (inletinfos::source).
enum : int16_t
{
  kSourceUnset = 0,
  kSourceOutput1 = 1,  // 1..5: output 1..5 of the source component
  kSourceMasterX = 6,
  kSourceMasterY = 7,
  kSourceMaster3 = 8,         // 8..13: master arrays 3..8
  kSourceSubtreeInlet1 = 14,  // 14..17: inlet 1..4 of the owning compiled-tree component
};

// One input link.
struct inletinfos
{
  double* data;      // the doubles the input reads
  int16_t source;    // source code, see above
  int16_t channels;  // 0 uniform (element 0 for all samples), 1 per sample, 2 or 3 packed
};

// A, B, C of one keyframe.
struct KVparamTriple
{
  double A;
  double B;
  double C;
};

// One component of a tree.
struct gfunc
{
  uint16_t family;   // family code (1..18 except 14)
  int16_t funcID;    // 0..127; 127 is a compiled sub-tree
  int16_t index;     // identity within the tree; the slot number after renumbering
  int16_t auxIndex;  // input slot 0..7, or embedded-tree number 0..15
  double A;
  double B;
  double C;
  KVparamTriple keyframes[kKeyframeCount];
  gfunc* sources[4];  // components feeding inputs 1..4, null where unconnected
  double outputs[5][kBatchCapacity];
  inletinfos inlets[4];
  KVComputeProc compute;
  KVHandlerProc handler;
  uint8_t freqFlag;       // set at message 6 when C is a frequency
  uint8_t paramCount;     // number of leading parameters that exist, 0..3
  int16_t inputCode;      // input connector code
  int16_t outputCode;     // output connector code
  uint16_t lockFlags;     // kLockA | kLockB | kLockC
  uint8_t level;          // depth in the tree
  int8_t displayIndex;    // position within its level
  uint8_t mainTree;       // 1 in the document's main tree, 0 in a compiled sub-tree
  uint8_t maskedBatch;    // 1 when the whole last batch was the no-value marker
  uint8_t rangeClass[3];  // range classes of A, B, C
  uint8_t evalFlag;       // skipped by relief passes, cleared at message 8
  int16_t editorH;        // position of the component's box in the tree editor
  int16_t editorV;
  int16_t loopIndex;  // number of the loop a Looper opens
  uint16_t loopMask;  // bit 0: takes part in a loop; bit k: inside loop k
  sfuncSystem* doc;   // the document the component belongs to
  smalltree* owner;   // the tree that holds the component
  void* link;         // compiled sub-tree, input-slot record, or pixel destination
  void* auxMemory;    // a block the component owns, freed by the tree management
  alignas(16) unsigned char privateArea[kPrivateAreaSize];
  dvector3d posOffset;  // position offset accumulated at message-8 preparation
};

// Parameter i (0 = A, 1 = B, 2 = C) of a component.
inline double& KV_param(gfunc* g, int i)
{
  return i == 0 ? g->A : (i == 1 ? g->B : g->C);
}

// The component's private area seen as the member's own record T. T must be
// trivially copyable (document copies move components bytewise) and fit the
// area. The area is zeroed whenever the catalog binds the component.
template <class T>
T& privateArea(gfunc* g)
{
  static_assert(sizeof(T) <= kPrivateAreaSize, "grow kPrivateAreaSize");
  static_assert(alignof(T) <= 16, "private records are at most 16-byte aligned");
  static_assert(std::is_trivially_copyable_v<T>, "private records are copied bytewise");
  return *std::launder(reinterpret_cast<T*>(g->privateArea));
}
template <class T>
const T& privateArea(const gfunc* g)
{
  return privateArea<T>(const_cast<gfunc*>(g));
}

// One tree of up to 32 components in evaluation order.
struct smalltree
{
  gfunc funcs[kMaxComponents];
  int16_t count;          // 0..32
  int16_t rootLevel;      // highest level in the tree
  int16_t* iterationPtr;  // points at `iteration` of this same tree
  OSType typeCode;        // the compiled-tree file type
  int16_t version;        // kTreeVersion for a current tree
  int16_t kind;           // kind word, stored with the tree and its file
  uint8_t iterationStep;  // set to 0 before every evaluation pass
  int8_t selection1;      // first and second selection, -1 for none
  int8_t selection2;
  uint8_t loopFlag;       // 1 when the tree contains Looper components
  double* outletData[8];  // outlets of a compiled sub-tree
  int32_t outletChannels[8];
  int16_t outputCount;    // outputs of the tree's output component
  int16_t outletCount;    // 0..8
  int16_t iteration;      // iteration counter
  int16_t inletFeedback;  // 0 none, 1 or 2 while a Looper redirects the inputs
  int16_t selected;       // selected slot
  Str31 name;
  uint8_t outputIndex;  // output component index
  uint8_t rootChanged;  // set when a rebuild changes the root level
};

// The view rectangle of a document.
struct KVviewRect
{
  double xmin;
  double xmax;
  double ymin;
  double ymax;
};

// The document record: the main tree followed by the system fields.
struct sfuncSystem
{
  smalltree tree;
  int16_t clearedWord;     // cleared by initialisation
  uint8_t paramsChanged;   // next preparation sends message 8 again
  uint8_t treeChanged;     // next preparation redoes the whole tree preparation
  int16_t paletteNumber;   // index of the palette in the palette library
  int16_t colorFuncIndex;  // 0..15
  KVviewRect view;         // default -pi..pi on both axes
  int16_t depthCue;        // depth-cue amount, 0 off
  uint8_t globalShade;
  int16_t indexPair[2];       // two further indices, -1 when unset
  int16_t rgbaOutput;         // set by preparation
  int16_t compiledCount;      // number of id-127 components
  gfunc* outputFunc;          // the component whose outputs are coloured
  KVColorFuncProc colorFunc;  // chosen by colorFuncIndex
  uint16_t animPeriod;        // time-random period in frames, default 300
  int16_t inputCount;         // number of picture and movie input components
  // Shade values, second output, first-input values, surface x, surface y,
  // light values 1, 2 and 3; set by preparation, read by the colour functions.
  double* renderInputs[kRenderingInputs];
  normalcolor defaultColors[7];         // C1, C2, C3 (stored in tree files), then zero colours
  smalltree* embedded[kEmbeddedTrees];  // compiled sub-trees owned by the document
  KVinputSlot inputs[kInputSlots];
  KVanimation animation;
  KVmovieSettings movie;
  double time;         // normalised time, 0..1
  double yPixelScale;  // pixels per unit of y
  double viewDepth;
  gfunc* viewDepthFunc;                          // the component that set the view depth
  int16_t pointMode;                             // 3: point evaluators feed x, y and z
  int16_t inputMode;                             // master-input mode 0..3
  double masterDoubles[6];                       // d1..d6 of the master-input modes
  double master[kMasterInputs][kBatchCapacity];  // x, y, then arrays 3..8
  double zoom;                                   // default 1.0
  fractalsinfos fractal;                         // its first word is the relief-pass flag
  KVtables tables;                               // first field: the document palette
};

// A document copy for a render or sound task is the record up to the sine
// table: it carries its own palette, permutation and derived tables, but reads
// the world's one sine table.
inline constexpr size_t kDocumentCopySize =
    offsetof(sfuncSystem, tables) + offsetof(KVtables, sinTable);

static_assert(std::is_standard_layout_v<gfunc>);
static_assert(std::is_standard_layout_v<smalltree>);
static_assert(std::is_standard_layout_v<sfuncSystem>);
static_assert(std::is_trivially_copyable_v<sfuncSystem>);

// An evaluation list: components in evaluation order.
struct sfuncEvalLists
{
  int16_t count;
  gfunc* funcs[kMaxComponents];
};
