// The clipboard as flavours of bytes, one block per four-character flavour
// ('PICT' for pictures). This is the program's own store; the window layer
// hands its contents to the desktop clipboard and back.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/ports.h"

inline constexpr OSErr noTypeErr = -102;  // the clipboard holds no such flavour

OSErr ClearCurrentScrap();
// Adds or replaces a flavour; paramErr for a negative size or null data.
OSErr PutScrapFlavor(OSType flavor, int32_t size, const void* data);
// The flavour's size, or noTypeErr (size 0) when it is absent.
OSErr GetScrapFlavorSize(OSType flavor, int32_t* size);
// The flavours held, in ascending order of their codes: how many, and the
// code at a 0-based index (0 for an index out of range).
int32_t ScrapFlavorCount();
OSType ScrapFlavorAt(int32_t index);
// Copies at most *size bytes of the flavour into dest and sets *size to the
// bytes copied.
OSErr GetScrapFlavorData(OSType flavor, int32_t* size, void* dest);
