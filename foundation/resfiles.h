// Reading and writing resources by type, id and name in the open resource
// stores (platform/resources.h): a document's companion store, the
// preferences' or the application's. Resource data comes back as Handles the
// caller owns, or copied into the caller's buffer up to its maximum.
//
// A store is named by a signed 16-bit reference; 0 or below is not open.
// Names are Pascal strings (UTF-8 bytes). Results are 0 or a Resource
// Manager code (platform/resources.h), -1 where the routine says so.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/handles.h"
#include "foundation/types.h"
#include "platform/files.h"
#include "platform/resources.h"

// Opens the document's companion store ("<name>.rsrc"; an empty store when
// the document exists without one, written on the first change) with the
// permission (fsRdPerm: read only) and makes it current; *previous receives
// the store that was current. Returns the reference; when it cannot be
// opened the alert sound is given twice and 0 or below is returned.
int16_t Use_resfile(const FileRef& file, int16_t* previous, int8_t permission = fsCurPerm);
// Closes the store when the reference is above 0 (writing its changes; the
// application's store stays open), then makes `previous` current.
void Close_resfile(int16_t ref, int16_t previous);

// The id of the resource of that type and name in that store only; 0 when
// missing.
int16_t NameToResID(int16_t file, OSType type, ConstStringPtr name);
// The id of the first resource of the type in the current store; -1 when none.
int16_t FindtypedResource(OSType type);
// The first id from `start` up to start + the number of resources of the
// type, that no resource of the type takes and is below `limit`; 0 when
// there is none.
int16_t FindNextFreeID(int16_t file, OSType type, int16_t start, int16_t limit);
// Makes the store current (and leaves it so) and removes the resource when
// it exists, writing the store; 0 or the error.
OSErr RemovePreviousResId(int16_t file, OSType type, int16_t id);

// The resource from the current store as a new Handle the caller owns, its
// name in *name when asked; 0, or -1 with a null Handle when missing.
OSErr LoadIDResHandle(OSType type, int16_t id, Handle* out, StringPtr name = nullptr);
// Copies at most `maximum` bytes of the named resource, searched down the
// chain from the store; 0, the error, or -1 when missing.
OSErr LoadResData(int16_t file, OSType type, ConstStringPtr name, void* buffer, int32_t maximum);
// The same by id, in that store only.
OSErr LoadIDResData(int16_t file, OSType type, int16_t id, void* buffer, int32_t maximum);
// The same, also giving the resource's name.
OSErr LoadIDNamedResData(int16_t file, OSType type, int16_t id, StringPtr name, void* buffer,
                         int32_t maximum);

// Writes the data as the resource and writes the store. An existing
// resource takes the new data whole (and keeps its name); a new one gets an
// empty name (SaveNamedIDResData: the name). The alert sound is given when
// it cannot be added.
OSErr SaveIDResData(int16_t file, OSType type, int16_t id, const void* buffer, int32_t size);
OSErr SaveNamedIDResData(int16_t file, OSType type, int16_t id, ConstStringPtr name,
                         const void* buffer, int32_t size);
// Removes the old resource, then adds the data under the name and writes
// the store; the alert sound on failure.
OSErr SaveIDResPtr(int16_t file, OSType type, int16_t id, ConstStringPtr name, const void* data,
                   int32_t size);
// As SaveIDResPtr with a Handle's bytes; 0, or -1 when the Handle holds
// nothing to save.
OSErr SaveIDResHandle(int16_t file, OSType type, int16_t id, ConstStringPtr name, Handle h);
// Adds the Handle's bytes as a resource of the current store and writes it.
OSErr NewResource(Handle h, OSType type, int16_t id, ConstStringPtr name);
