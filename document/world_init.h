// The start-up initialisation of the world record.
#pragma once

#include "engine/world.h"
#include "platform/files.h"

// Carves the palette library from the memory pool (gMemPool, created before)
// and fills it with the built-in palettes, then replaces them with the
// library file "Palettes" of the resources folder when that file can be read;
// initialises the world's document (arb_Init), makes its one-component tree
// (f21 id 0) and fills its lookup tables. Also fills the world fields of the
// engine (batch length, label, default colours). Runs once on the main thread
// before any tree is evaluated.
void Kovrelin_worldinit(KovrelinWorld* world);

// The same with the resources folder given (an empty reference reads no
// library file).
void Kovrelin_worldinit(KovrelinWorld* world, const FileRef& resources);
