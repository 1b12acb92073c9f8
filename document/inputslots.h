// The eight picture and movie inputs of a document (KVinputSlot, in
// engine/docslots.h). A slot is fed from a file that the tree file names,
// from a buffer the application hands in, or from the shared default picture
// ("DefaultPicture" in the Resources folder), which stands in wherever a slot
// has nothing else.
//
// Every change of a slot's buffer marks the document's parameters changed, so
// that the next preparation gives the picture members the new buffer (no
// picture record keeps a freed one). Main thread only.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"
#include "foundation/types.h"
#include "platform/files.h"

struct GWorldRec;

// The shared default picture: made once at start-up, never freed.
extern GWorldRec* gDefaultPictureGW;

// The render size of movie and picture inputs when the world has no rendering
// preferences yet.
inline constexpr int16_t kDefaultInputWidth = 768;
inline constexpr int16_t kDefaultInputHeight = 576;

// Slot choices of Kovrelin_SetInputMode.
enum : int16_t
{
  kInputChoiceSlot0 = 1,  // 1..4: slots 0..3
  kInputChoiceSlot3 = 4,
  kInputChoiceFirst = 5,  // slot 0
};

// Lets the engine's picture binding give empty slots the default picture.
void KV_installInputHooks();

// Empties all eight slots.
void init_externalinput(sfuncSystem* doc);

// Loads "DefaultPicture" from the resources folder into gDefaultPictureGW (by
// content: the file has no extension). With a size the existing picture is
// redrawn at that size. 0, or the failure.
OSErr Kovrelin_opendefaultpicture(const FileRef& resources, const Rect* size = nullptr);

// Puts the default picture into the slot.
void Kovrelin_UseDefaultInput(sfuncSystem* doc, KVinputSlot* slot);

// Hands an outside buffer to a slot; returns the new source kind (2 live,
// 1 fixed).
uint8_t Kovrelin_UseXInput(sfuncSystem* doc, KVinputSlot* slot, GWorldRec* buffer,
                           ConstStringPtr name, bool live);

// Drops every outside (and default) buffer without freeing it; then, with a
// buffer and a choice of 1-4 (slots 0-3) or 5 (slot 0), hands it in.
void Kovrelin_SetInputMode(sfuncSystem* doc, GWorldRec* buffer, bool live, int16_t choice,
                           ConstStringPtr name);

// Releases what a file-fed slot owns (its buffer, its movie) and empties its
// name; outside and default buffers are left alone.
void clear_input(sfuncSystem* doc, KVinputSlot* slot);

// Opens the slot's file (found as `file`) into the slot at the render size:
// 0, -1 (no such file, a type of neither list, a movie that does not open)
// or the import's status.
int16_t arb_opendirectinput(sfuncSystem* doc, KVinputSlot* slot, const FileRef& file);

// Finds an input file by name: beside the tree file, then in the
// application's folders. False when it is nowhere.
bool KV_findInputFile(const FileRef& treeFile, ConstStringPtr name, FileRef* found);

// Finds and opens the file of slot s after a tree file was read: a file that
// is nowhere gives the default picture (false); one that is found but does
// not open gives the alert sound and the default picture (true).
bool arb_restoreInputSlot(sfuncSystem* doc, const FileRef& treeFile, int s);

// Restores the slots after a tree file was read (only when the tree reads
// picture or movie inputs): the references arb_getInputRefs stored.
void arb_inputread(sfuncSystem* doc, const FileRef& treeFile, int16_t version);

// Reopens every file-fed slot, or gives it the default picture.
void Kovrelin_ReloadInput(sfuncSystem* doc);
// Reopens one file-fed slot.
void Kovrelin_ReloadTarget(sfuncSystem* doc, KVinputSlot* slot);

// The render size of the inputs: the output rectangle of the rendering
// preferences, 768 x 576 while there are none.
void KV_inputRenderSize(int16_t* width, int16_t* height);
