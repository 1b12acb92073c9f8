// Tree management: creating, emptying, copying and walking trees, and the
// bookkeeping of a document (indices, selections, input counts, change
// flags, parameter undo).
//
// Everything here runs on the main thread, or on a thread that owns the
// document it is given. Nothing here keeps state of its own.
//
// Memory: compiled sub-trees are `smalltree` blocks made with arb_NewSubTree
// and owned through the document's embedded-tree table; a component's
// auxiliary block is made with arb_AllocAuxMemory and freed by
// arb_TP_deletegfuncauxmem. Both are freed by arb_Clear with `free` set.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/gfunc.h"

// ---- Walks ----------------------------------------------------------------

// A walk procedure: the tree that holds the component, the component, and the
// caller's argument.
using KVtraverseProc = void (*)(smalltree* tree, gfunc* g, void* arg);

// Every component of one tree in slot order.
void arb_TraverseST(smalltree* tree, KVtraverseProc proc, void* arg);

// Every component in slot order; right after a compiled sub-tree component
// (id 127 whose sub-tree holds at least one component) it descends, depth
// first, into that sub-tree. A sub-tree that links back into itself is not
// walked again below a depth of kMaxSubtreeDepth.
void arb_TraverseAll(smalltree* tree, KVtraverseProc proc, void* arg);

// Only the components of the sub-trees directly under the tree's id-127
// components.
void arb_TraverseSubTreeOnly(smalltree* tree, KVtraverseProc proc, void* arg);

// As arb_TraverseAll, but the sub-tree of a top-level id-127 component whose
// lock flags are 7 or more is not entered.
void arb_TraverseAllUnlocked(smalltree* tree, KVtraverseProc proc, void* arg);

inline constexpr int kMaxSubtreeDepth = 64;

// The compiled sub-tree a component owns: its link when it is an id-127
// component with a link, else null.
smalltree* arb_subtreeOf(const gfunc* g);

// ---- Memory ---------------------------------------------------------------

// A cleared sub-tree, or null when memory is short.
smalltree* arb_NewSubTree();
void arb_DisposeSubTree(smalltree* tree);

// Gives the component a cleared auxiliary block of `bytes` (freeing the block
// it had); null when memory is short.
void* arb_AllocAuxMemory(gfunc* g, size_t bytes);

// Frees the auxiliary memory of an f25 component (pointer cleared) or of f21
// id 34 (pointer cleared, first private pointer cleared, the private double
// after it set to -1.0). Others, and id-127 components, are left alone. The
// tree argument is unused (a walk procedure).
void arb_TP_deletegfuncauxmem(smalltree* tree, gfunc* g, void* unused = nullptr);

// ---- Initialisation and reset ---------------------------------------------

// The document's defaults: seeds random() from the clock, palette, fractal
// settings, view -pi..pi, selections -1, version 20, animation period 300,
// zoom 1, default colours, empty input slots and an empty tree. The colour
// function pointer is left for arb_setColorfunc.
void arb_Init(sfuncSystem* doc);

// A one-component tree of member (family, id): index 76, view -pi..pi,
// serviced; slot 0 becomes the selected and the output component.
void arb_presetinit(sfuncSystem* doc, int16_t family, int16_t id);

// Empties the tree. With `free`: with `deep` also the auxiliary memory of
// every component (sub-trees included), then the 16 embedded sub-trees are
// freed and unlinked from their id-127 components. Always: count, root level
// and root-changed flag 0; every slot's family, link, auxiliary pointer and
// lock flags cleared; fractal settings reset, octave count at least 16, tables
// pointer at the document's own tables.
void arb_Clear(sfuncSystem* doc, bool free, bool deep);

// The freeing half of arb_Clear, leaving the tree in place.
void arb_ClearAuxMemory(sfuncSystem* doc, bool deep);

// ---- Copy -----------------------------------------------------------------

// Copies `source` (up to its sine table, kDocumentCopySize bytes) with its
// compiled sub-trees into `destination`, through the component-section file
// form, so that every component of the copy is freshly bound. Every pointer of
// the copy then points into the copy (its own components, master arrays,
// input slots and sub-trees) or is null: components own no auxiliary memory,
// private areas are cleared, and the tree-changed flag is set, so the copy
// must be prepared (KV_prepare_evaluation) on the thread that made it before
// it is evaluated. Renumbers the source's indices to slot numbers.
// Returns false, with only the destination's tables pointer set, when memory
// is short. Release a copy with arb_Clear(copy, true, true).
bool arb_Copy(sfuncSystem* source, sfuncSystem* destination);

// ---- Indices, selection and search ----------------------------------------

// Renumbers every index to its slot; with keepSelections the selections that
// held a component's old index follow it (each at most once).
void arb_SetFuncID(smalltree* tree, bool keepSelections);

// Selects the last component whose index equals `index` (a negative index
// selects the last component); nothing changes when none does.
void arb_selectbyID(smalltree* tree, int16_t index);

// The component whose index equals `index`, searched from the last slot down;
// its slot is stored through `slot` when given. Null when none.
gfunc* arb_findID(smalltree* tree, int16_t index, int16_t* slot);

// The first slot among the first `count` whose display index and level equal
// the given ones; 0 also when none does.
int16_t findbyxy(const smalltree* tree, int16_t count, int8_t displayIndex, uint8_t level);

// Centres the display indices of each level on 0 in steps of 2.
void arb_BalancedisplayIndex(smalltree* tree);

// Places the components in an editor rectangle: levels as rows, display
// indices across.
void arb_computelocations(smalltree* tree, const Rect& r);

// ---- Bookkeeping ----------------------------------------------------------

// Recounts the picture and movie input components (marking their input slots
// in use) and the compiled sub-tree components; with lookInside the inputs of
// the sub-trees directly under the tree count too.
void arb_RecomputeFlags(sfuncSystem* doc, bool lookInside);

// After any edit: renumbers (selections follow with keepSelections), sets the
// tree-changed flag, recounts, finds the output component (the first of the
// run of equal levels at the end of the tree) and resets the colour function
// to 12 when it does not suit that output.
void arb_ServiceChanges(sfuncSystem* doc, bool keepSelections);

// The output component of a tree as arb_ServiceChanges finds it, or null for
// an empty tree; its slot is stored through `slot` when given.
gfunc* arb_findOutputFunc(smalltree* tree, int16_t* slot);

// Rebinds a component to member (family, id) with setFunc mode `mode`, after
// freeing its auxiliary memory; services the world's document when `tree` is
// its main tree, else marks the world's document changed.
void arb_ChangeFuncID(smalltree* tree, gfunc* g, int16_t family, int16_t id, int16_t mode);

// ---- Parameter undo -------------------------------------------------------

inline constexpr int kUndoEntries = 256;

struct KVundoEntry
{
  int16_t funcID;
  uint8_t lockFlags;
  uint8_t paramCount;
  double A;
  double B;
  double C;
};

// An undo record: the parameters of every component of a tree, then the
// document's palette and colour-function index (the "C" variants).
struct KVundoRecord
{
  int16_t count;    // entries stored
  int16_t readPos;  // next entry restored
  KVundoEntry entries[kUndoEntries];
  cpalette palette;
  int16_t colorFuncIndex;
};

// Walk procedures over a KVundoRecord*: append one entry (while fewer than
// 256 are stored) / restore the next entry (rebinding with setFunc mode 1
// when the stored id differs).
void arb_TP_setundo(smalltree* tree, gfunc* g, void* record);
void arb_TP_getundo(smalltree* tree, gfunc* g, void* record);

// Save and restore every component's parameters, with `deep` those of the
// compiled sub-trees too; both walk the tree the same way.
void arb_SavetoUndoTree(smalltree* tree, KVundoRecord* record, bool deep);
void arb_RestorefromUndoTree(smalltree* tree, KVundoRecord* record, bool deep);

// As above, also saving or restoring the palette and colour function.
void arb_SavetoUndoCTree(sfuncSystem* doc, KVundoRecord* record, bool deep);
void arb_RestorefromUndoCTree(sfuncSystem* doc, KVundoRecord* record, bool deep);

inline constexpr int kCurParamsMaxPosition = 511;

// A cursor over an array of A, B, C triples (null: only count).
struct KVparamCursor
{
  KVparamTriple* triples;
  int16_t position;
  int16_t count;
};

// Walk procedures over a KVparamCursor*: for each component with at least one
// parameter, set copies the triple at the position into the component
// (positions at or beyond the count skipped) and get copies the component's
// A, B, C out (positions above 511 skipped); both advance the position.
void arb_TP_setcurparams(smalltree* tree, gfunc* g, void* cursor);
void arb_TP_getcurparams(smalltree* tree, gfunc* g, void* cursor);

// Walk procedure: makes the tree the component's owner (and the document
// `doc`, when given, its document) and sends message 9.
void arb_TP_compatibilityproc(smalltree* tree, gfunc* g, void* doc);

// Sends message 6 while keeping A, B, C; then restores every parameter except
// `which` (0..2: only that one takes its default; negative: all take their
// defaults; 3 or more: none does), then sends message 8.
void ParamReset(gfunc* g, int16_t which);

// ---- Member groups --------------------------------------------------------

// Picture and movie input members: f21 ids 30, 31, 34; f23 ids 0, 1, 34;
// f24 id 42.
bool arb_isInputMember(const gfunc* g);
