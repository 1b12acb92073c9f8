// Compiled sub-trees: a whole tree that one component (function id 127)
// stands for, with N inputs and M outputs. The document owns them through its
// table of 16 embedded trees; tree files store them after the main record,
// and a sub-tree can be saved as a compiled-tree file of its own: exactly one
// 14,264-byte component section, type 'stNM', extension "cpNM", creator
// 'Qjtt'.
//
// Inlet codes: a level-0 component of a sub-tree reads the sub-tree's inputs
// 1 to 4 through the input codes 14 to 17; trees written before version 20
// use 6 to 9 for them. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/gfunc.h"
#include "foundation/types.h"
#include "platform/files.h"

inline constexpr OSType kCompiledTreeCreator = fourcc("Qjtt");
// Compiled-tree files below this version are not loaded.
inline constexpr int16_t kOldestCompiledTreeVersion = 15;
// The longest name a loaded compiled tree takes from its file name.
inline constexpr int kLoadedTreeNameMax = 30;

// ---- Type codes -----------------------------------------------------------

// The type code 'stNM' of a tree with `inputs` inputs and `outputs` outputs,
// or 0 for a combination no family stands for (1 or 4 inputs with 5
// outputs, anything outside 1..4 x 1..5). With a name, and a code, the
// extension "cpNM" is appended to it.
OSType getTreeFTYPE(int16_t inputs, int16_t outputs, StringPtr name);

// The family code of the component that stands for a tree of type `type`;
// 1 for any code outside the table.
int16_t getTreeRealTYPE(OSType type);

// Inputs and outputs of a family code as compiled trees count them: inputs
// 4, 3, 1, or 2 for every other code; outputs 1 to 4, or 5 for every other
// code.
int16_t smalltree_familyInputs(uint16_t family);
int16_t smalltree_familyOutputs(uint16_t family);

// The logical inputs and outputs of a tree: the inputs its level-0
// components read, and the outputs of its root group (the run of components
// at the end that share the last slot's level). `outputs` may be null.
void arb_GetTreeLogicalInOuts(const smalltree* tree, int16_t* inputs, int16_t* outputs);

// ---- Sub-trees of a document ----------------------------------------------

// A cleared sub-tree put into the first free entry of the document's table;
// when `owner` is given it links the tree and takes the entry's number as its
// slot word. Null when the table holds 16 trees already or memory is short.
smalltree* smalltree_Allocate(sfuncSystem* doc, gfunc* owner);

// Makes `tree` a one-component sub-tree of the member of `owner` (id 127
// becomes 0), with the owner's parameters and keyframes, inlet codes 14 to 17,
// the type code of the owner's family and the name "Untitled".
void smalltree_newCT(sfuncSystem* doc, gfunc* owner, smalltree* tree);

// Inlet codes of level-0 components: 6..9 become 14..17, and back (every code
// above 13 loses 8).
void convertCTinput(smalltree* tree);
void UnconvertCTinput(smalltree* tree);

// ---- Sections -------------------------------------------------------------

// Turns a component section into a sub-tree: components (as
// arb_readSTFileformat with the section's version), indices renumbered, first
// selection cleared, version, type code, keyframe count and name from the
// section; display positions rebalanced below version 16. False, with the
// tree untouched, for a section that is refused.
bool smalltree_formatdata(smalltree* tree, const unsigned char* section);

// Writes a sub-tree as a component section with its own keyframe count,
// version 20 and its name.
void smalltree_formattofile(smalltree* tree, unsigned char* section);

// Writes a tree as a compiled-tree section: inlet codes 6..9 of its level-0
// components turned into 14..17 for the writing, the document's keyframe
// count (at least 1), version 20 and the tree's name.
void smalltree_converttofile(sfuncSystem* doc, smalltree* tree, unsigned char* section);

// Reads the compiled sub-tree sections that follow a tree record (`count`
// sections of 14,264 bytes, already checked) into the id-127 components of
// the main tree, in slot order. Sections of versions below 20 have their
// inlet codes 6..9 turned into 14..17. A component for which no sub-tree can
// be had stays without one (alert sound twice); so does one whose section is
// refused, its sub-tree freed again. Every sub-tree taken is owned by the
// document's table and released with it (arb_Clear, arb_ClearAuxMemory).
void smalltree_GetInFile(sfuncSystem* doc, const unsigned char* sections, size_t count);

// Writes the sections of the main tree's compiled sub-trees (id-127
// components with a sub-tree, in slot order, the document's keyframe count at
// 14,212) to the open fork at *offset, which advances by 14,264 per section.
// Returns 0, or the first failure.
OSErr smalltree_AddInFile(sfuncSystem* doc, unsigned char* section, int16_t fork, int64_t* offset);

// ---- Compiled-tree files --------------------------------------------------

// The version at offset 0 of a file; 0 when it cannot be opened or read.
int16_t smalltree_getversion(const FileRef& file);

// Loads a compiled-tree file into `tree`: 1, or 0 when the file cannot be
// opened, is shorter than a section, has a version below 15 or is refused.
// Inlet codes 6..9 of files up to version 19 become 14..17; the tree's name
// is the file's name without its extension, at most 30 characters.
// `section` is a 14,264-byte work buffer.
int16_t smalltree_load(smalltree* tree, const FileRef& file, int16_t unused,
                       unsigned char* section);

// Saves the sub-tree of `owner` as a compiled-tree file in `folder`: the type
// code comes from the owner's family and its extension is appended to `name`.
// With no code the alert sound plays and nothing is written (paramErr).
// Returns 0, or the failure.
OSErr smalltree_save(smalltree* tree, const gfunc* owner, const FileRef& folder, StringPtr name,
                     unsigned char* section);

// Saves a tree as a compiled tree in `folder`: the type code comes from its
// logical inputs and outputs and its extension is appended to `name`. With no
// code the alert sound plays and nothing is written (paramErr). Returns 0,
// or the failure.
OSErr smalltree_convertsave(sfuncSystem* doc, smalltree* tree, const FileRef& folder,
                            StringPtr name, unsigned char* section);
