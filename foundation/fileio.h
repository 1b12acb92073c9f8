// Data-fork file I/O: open a file's data fork by reference, read or write a
// byte range at an absolute offset, set the size, close; create files with a
// type and creator; read a whole file into memory. This layer moves bytes
// only: every file format converts its own fields (foundation/bigendian.h).
//
// Main thread in practice; the fork table underneath is locked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/filenames.h"
#include "foundation/handles.h"
#include "foundation/types.h"
#include "platform/files.h"

// Mode bit that asks for an uncached read. Accepted and passed on by every
// reader; caching is left to the operating system.
inline constexpr int16_t kNoCacheMode = 32;

// A file record: an item named inside a parent folder, with its type.
struct frefinfos
{
  OSType type = 0;
  uint8_t state = 0;     // 3 once chosen in an open dialog
  uint8_t isFolder = 0;  // 1: a folder that stands for a document
  Str63 name = {};       // Pascal string, UTF-8
  FileRef parent;
};

// The reference of the record's item (its name inside its parent folder);
// false when the record has no name or no folder.
bool App_frefinfos2fSRef(const frefinfos& record, FileRef* out);

// --- Fork I/O --------------------------------------------------------------

// Opens the data fork (permission fsCurPerm, fsRdPerm, fsWrPerm or
// fsRdWrPerm); the fork reference, 0 on any failure.
int16_t PBfFile_Open(const FileRef& ref, int8_t permission);
OSErr PBfFile_Close(int16_t fork);
// Reads count bytes at offset. -1 for fork 0. End of file is not an error:
// every byte that was not read is set to zero and 0 is returned. The
// asynchronous flag is accepted and the read done at once.
OSErr PBfFile_Read(int16_t fork, int32_t count, void* buffer, int32_t offset, bool async,
                   int16_t modeBits);
// Writes count bytes at offset; -1 for fork 0, else 0 or the failure.
OSErr PBfFile_Write(int16_t fork, int32_t count, const void* buffer, int32_t offset, bool async);
OSErr PBfFile_SetSize(int16_t fork, int64_t size);
// Sets the size, then closes; the first failure of the two.
OSErr PBfFile_SetSizeAndClose(int16_t fork, int64_t size);

// --- Whole files -------------------------------------------------------------

// Creates the named file in the folder with the type and creator; an existing
// file is taken as it is (type, creator and contents unchanged, nothing
// truncated). Copies the reference out when asked and returns the file's
// data fork opened read/write, 0 on failure.
int16_t xFile_Create(const FileRef& folder, const HFSUniStr255& name, OSType type, OSType creator,
                     FileRef* out);
// Replaces the named file's contents by count bytes of buffer (created with
// type and creator when missing, cut to count bytes when longer). 1 when
// every byte was written and the file closed, 0 otherwise.
int16_t xWriteBuffer(const void* buffer, int32_t count, const FileRef& folder, ConstStringPtr name,
                     OSType type, OSType creator);
// The whole data fork; nullopt when the file cannot be opened or read or is
// larger than 2 GiB - 1.
std::optional<std::vector<unsigned char>> xReadBuffer(const FileRef& ref);
// The same into a new zero-filled Handle that the caller disposes of; null on
// failure.
Handle xReadHandle(const FileRef& ref);
// Opens the named item of the folder read/write (copying its reference out
// when asked); 0 when it does not exist.
int16_t xFile_OpenByPName(const FileRef& folder, ConstStringPtr name, FileRef* out);
// Opens the record's item with the current permission and leaves its name and
// reference in gIOdata's result; a folder with the record's folder flag set
// stands for a document: its first item of the record's type is opened.
int16_t xEFile_Open(const frefinfos& record);
// The absolute path of the record's file for a writer to create; empty when
// the record has no name or its folder does not exist. Nothing is created.
std::string xFile_CreateURL(const frefinfos& record, OSType creator);
OSErr SetFileTypeAndCreator(const FileRef& ref, OSType type, OSType creator);
// True when the named item exists in the folder; its reference goes to out.
bool MakeFileFSRef(const FileRef& folder, std::string_view name, FileRef* out);
// The reference of the named item in the folder, name cut to 63 bytes at a
// whole UTF-8 character; false when the folder does not exist.
bool ParentRef2FSSpec(const FileRef& folder, ConstStringPtr name, FileRef* item);
// xFile_getType of the item; 0 when it does not exist.
OSType sFile_getType(const FileRef& item);
// The item's name as a Pascal string; " ? " and false when the item does not
// exist.
bool xFile_getpascalName(const FileRef& ref, StringPtr out);
// 'fold' for a folder; else the stored type when it is neither 0 nor '????';
// else the type that the name's last four characters give; else the stored
// value (0 or '????').
OSType xFile_getType(const FileRef& ref);
// The same from catalog information already at hand (a folder listing).
OSType xFile_getTypeFromInfo(const FileRef& ref, const FileInfo& info);
