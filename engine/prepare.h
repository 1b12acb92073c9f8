// Evaluation preparation: before a tree is evaluated every inlet must point at
// the array it reads and know its channel count, loops must be marked,
// compiled sub-trees linked to their owners, and every handler must have
// precomputed its constants (messages 7 and 8).
//
// KV_prepare_evaluation runs on the thread that owns the document (the main
// thread for the world's document, the copying thread for a render copy)
// before any batch of it is evaluated. Preparation writes only the document
// it is given and its sub-trees; evaluation afterwards only reads what it set.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"

// Prepares the document for evaluation. A set tree-changed flag redoes the
// whole tree preparation (loop marking, master inputs, links, message 7,
// outlets, rendering inputs); a set flag of either kind sends message 8 to
// every component. Both flags are cleared. With rowMode, level-0 inlets that
// read the master y array are uniform (y is constant along a row). Returns the
// RGBA-output flag: 1 when the output component has four outputs and the
// colour-function index is not 14.
int16_t KV_prepare_evaluation(sfuncSystem* doc, bool rowMode);

// The whole tree preparation of the main tree.
void preparetree(sfuncSystem* doc, bool rowMode);

// ---- Loops ----------------------------------------------------------------

// f11 28 (only withIterations), f43 26, 27, 28, f23 44.
bool KV_isLoopStarter(const gfunc* g, bool withIterations);
// Memory components, where a loop ends.
bool KV_isLoopEnd(const gfunc* g);

// Loop marking alone: clears every loop mask and the loop flag, then numbers
// the starters 1, 2, ... in slot order and marks what they lead to.
void prepareloops(smalltree* tree, bool withIterations);

// Marks the sons of `g` for loop `loop` (set or clear its bit, always bit 0),
// stopping after loop ends. Returns -1 without sons, 1 when some son reached
// a loop end, else 0.
int16_t propagateloopflag(smalltree* tree, gfunc* g, int16_t level, int16_t loop, bool set);

// Resets the tree's iteration counter and step, points its iteration pointer
// at the counter, and lists the components outside loops (mask 0), then, when
// the tree has loops, those with mask exactly 1.
void prepare_evallist(smalltree* tree, sfuncEvalLists* list);

// ---- Inputs ---------------------------------------------------------------

// Default source codes for unset inlets, then the master array (and channel
// count) of every inlet by its code.
void preparemasterinputs(sfuncSystem* doc, gfunc* g);

// The master array of a source code, storing its channel count.
double* setMasterinputptr(sfuncSystem* doc, int16_t code, int16_t* channels);

// Points the inlets whose code is 1..5 at that output of their source, then
// sets the channel counts (SetPackinsflag).
void preparerfunc(gfunc* g);

// Channel counts of the connected inlets: packed, uniform or per sample.
void SetPackinsflag(gfunc* g);

// Whether output `output` (1..5) of `g` is one value for the whole batch.
bool isfatheroutCte(const gfunc* g, int16_t output);

// Prepares a component outside the main tree: master inputs, all channel
// counts 1, main-tree flag 0, links.
void prepareDeffunc(sfuncSystem* doc, gfunc* g);

// Fills the main tree's outlet table from its root run and stores the output
// component's output count.
void prepareMasterOut(sfuncSystem* doc);

// Position offsets and view depth along the tree, then message 8 to every
// component (clearing the outputs of those with the evaluation flag).
void prepareParams4render(smalltree* tree, sfuncSystem* doc, double x, double y, double z);

// The eight rendering inputs of the document from the component `start`.
void search_RenderingInputs(sfuncSystem* doc, gfunc* start);

// ---- Compiled sub-trees ---------------------------------------------------

// Link a compiled sub-tree to its owner with one to four inputs (sent by the
// owner's handler at message 7). With feedback, sub-tree inlets that read the
// owner's inlet k read the owner's output k instead.
void prepareCTin1(sfuncSystem* doc, smalltree* sub, gfunc* owner, uint8_t feedback);
void prepareCTin2(sfuncSystem* doc, smalltree* sub, gfunc* owner, uint8_t feedback);
void prepareCTin3(sfuncSystem* doc, smalltree* sub, gfunc* owner, uint8_t feedback);
void prepareCTin4(sfuncSystem* doc, smalltree* sub, gfunc* owner, uint8_t feedback);

// For a code of 14..17 copies data and channel count from the owner's inlet
// (code - 14).
void connecttoctin(inletinfos* inlet, const inletinfos* ownerInlets);

// The outlets of a sub-tree from its root run; with an owner, missing outlets
// repeat the last one and the owner's output connector code follows the
// outlets. Returns the outlet count.
int16_t prepareCTout(smalltree* sub, gfunc* owner);

// Changes the owner's family to the one with the same inputs and as many
// outputs as the sub-tree has outlets (1..5); returns 1 when it did.
int16_t arb_FixCTholdertype(smalltree* tree, gfunc* owner, smalltree* sub, uint32_t ownerKey);

// Stores the address of output `output` (1..5) of `g` in *out.
void GETOUTLETS(gfunc* g, int16_t output, double** out);

// Appends, depth first, the components that `g` depends on and then `g`,
// each at most once (count at most 32); a loop starter ends the walk without
// being added.
void AddDependancyList(gfunc* g, gfunc** list, int16_t* count);

// Pointers that a Looper replaced on its sub-tree's first inputs.
struct KVsavedInputs
{
  double* x;
  double* y;
};

// Redirects the first inputs of `g` (or of its sub-tree's first level) to the
// x and y arrays, saving the replaced pointers.
void Set2inNewInputsTo(gfunc* g, double* x, double* y, KVsavedInputs* saved, int16_t state);
// Undoes Set2inNewInputsTo.
void Restore2inInputs(gfunc* g, const KVsavedInputs* saved);
