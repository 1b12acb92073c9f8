// The document registry: the windows that are documents, in 32 slots (one
// in single-document mode), and the current document.
//
// Main thread only.
#pragma once

#include <cstdint>

class Edoc;

inline constexpr int32_t kDocRegistrySlots = 32;

// The current document: the document window last activated, clicked or
// sent a command; null when none.
extern Edoc* gCurDoc;
// The registry's slots; empty slots are null.
extern Edoc* gDocRegistry[kDocRegistrySlots];

// Single-document mode: slot 0 takes the document. Otherwise the first
// empty slot does; a full registry takes nothing.
void App_RegisterDoc(Edoc* doc);
// Clears the document's slot (slot 0 in single-document mode); nothing
// when it holds none.
void App_UnRegisterDoc(Edoc* doc);
// Sends 'clos' to every registered document with a command callback, in
// slot order: a non-zero answer stops the walk and gives 2 (later documents
// are not asked), a zero answer empties the slot. 0 when all closed.
int16_t App_CloseAllDoc();
// Empties every slot and clears gCurDoc.
void App_ClearRegistry();
