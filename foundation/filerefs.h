// Small checks and conversions on file references and the free space of
// the volume that holds an item.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "platform/files.h"

// True when both name the same item: same folder and same name, byte for
// byte.
bool myequalspec(const FileRef& a, const FileRef& b);
// Remakes the reference from the item on disk: its folder with links and
// "." / ".." resolved, its own name kept. fnfErr (the reference unchanged)
// when the item or its folder does not exist.
OSErr rebuild_spec(FileRef* file);
// Turns the reference of a folder into the reference of an item of the same
// name inside it, so that the caller can name other items there; true when
// it changed, false when it names no folder.
bool openfolderspec(FileRef* file);
// Free bytes on the volume that holds the item (statvfs: free blocks times
// the block size, the blocks an ordinary user may use); -1 on error.
int64_t GetDiskFreeSpace(const FileRef& onVolume);
