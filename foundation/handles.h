// Relocatable blocks: a Handle points at a master pointer that points at the
// block, so *h is the block's first byte and stays valid until the block is
// resized. Blocks come from malloc/realloc; the size lives beside the master
// pointer. A null Handle is an empty block for the routines that accept one.
//
// MemError reports the result of the last call made on the calling thread.
#pragma once

#include <cstdint>

using OSErr = int16_t;
inline constexpr OSErr noErr = 0;
inline constexpr OSErr paramErr = -50;       // negative size
inline constexpr OSErr memFullErr = -108;    // not enough memory
inline constexpr OSErr nilHandleErr = -109;  // null Handle or master pointer

using Handle = char**;

// A new block of `size` bytes (contents undefined), or null with MemError set.
Handle NewHandle(int32_t size);
// A new zero-filled block of `size` bytes, or null with MemError set.
Handle NewHandleClear(int32_t size);
// The block's size in bytes; 0 with MemError nilHandleErr for a null Handle.
int32_t GetHandleSize(Handle h);
// Resizes the block, keeping its leading bytes; bytes added are zero. On
// failure the block is unchanged and MemError tells why.
void SetHandleSize(Handle h, int32_t size);
// Frees the block and its master pointer; null is ignored.
void DisposeHandle(Handle h);
// The result of the last Handle call on this thread.
OSErr MemError();

// ---- Handle arrays ----
// A Handle holding a packed array of items of a fixed size, given on every
// call; the count is the block size divided by the item size. A null Handle is
// an empty array. A failed resize leaves the array as it was.

// Appends one item (a null Handle is created holding just it) and returns the
// new count. On a memory failure the alert sound plays and the result is 0
// when the size could not be read, else the old count.
int32_t AddStuff(Handle* h, const void* item, int32_t itemSize);
// Inserts n items before the 0-based index, or appends them when the index is
// -1 or the count; a null Handle is created holding the n items. Returns the
// new count, 0 after a memory failure. An index outside -1..count inserts
// nothing and returns the count.
int32_t InsertStuffRange(Handle* h, const void* items, int32_t n, int32_t index, int32_t itemSize);
// Removes items first..last (1-based, inclusive; last is held to the count;
// a first outside 1..last removes nothing).
// Removing 1..count disposes the Handle and sets it to null. Returns the new
// count, 0 for an empty or null array.
int32_t DeleteStuffRange(Handle* h, int32_t first, int32_t last, int32_t itemSize);

// True when the Handle and its master pointer are non-null and even.
bool ValidHandle(Handle h);
// True when the pointer is non-null and even.
bool ValidPointer(const void* p);
