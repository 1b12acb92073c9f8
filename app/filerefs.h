// File references handed between the program, its siblings and its saved
// documents: the table of 24 `frefinfos` records in gAppInfos, its block in
// files, the recent-files menu built from it, and the resolution of a file
// that is not where it was (its folder, the directory history, the
// application's folder). The history itself is foundation/dirlist.h's.
//
// The table block in a file, little-endian:
//   "KVFT", u16 record count (24), then 24 records:
//   u32 type, u8 state, u8 folder flag, 64 bytes name (Str63),
//   u16 length n + n bytes of UTF-8 parent folder path.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/fileio.h"
#include "platform/files.h"

class AppMenus;

inline constexpr int16_t kFileRecordCount = 24;
inline constexpr int32_t kRecentFilesCommandBase = 888000;

// The record of an existing file: its type, its name (cut to 63 bytes at a
// character boundary) and its folder; the state is left as it was. False
// when the file does not exist.
bool App_FSSpec2frefinfos(const FileRef& file, frefinfos* out);
// The reference of the record's file when the file exists.
bool App_frefinfos2fSSpec(const frefinfos& record, FileRef* out);

// Writes the table's block at the offset of the open fork: the offset past
// it, or -1 when it could not be written.
int32_t App_frefinfosWrite(int16_t refNum, int32_t offset);
// Reads a block at the offset into the table: records whose file still
// exists, with their current type and state 3, in order. The offset past
// the block; a damaged block leaves the table empty and gives -1.
int32_t App_frefinfosRead(int16_t refNum, int32_t offset);

void App_Initfrefinfos();
// Appends a copy; false (nothing added) when the table is full.
bool App_newfrefinfos(const frefinfos& record);
// Removes the first record of state 0 or 1, closing the gap.
void App_removefrefinfos();
// The record's name into gAppInfos' parameter string; true.
bool App_Getfrefinfos_Name(int16_t index);

// Recent files: the record replaces the one of the same name in place, or
// goes first (the last one falls off a full table); the menu, when there
// is one, is rebuilt with the record's item checked.
void App_setupfrefinfos(AppMenus* menus, const frefinfos& record);
// Opens record `index`: nothing for state 0 or 1; with option, removes it
// (with shift too, the records from index on go); otherwise sends 'ofsr'
// with it to the command handler.
void App_Openfrefinfos(AppMenus* menus, int16_t index);
void App_AdjustfrefinfosMenuMark(AppMenus* menus, int32_t command);
void Adjustfrefinfos_MenuMark();

// Finds gIOdata's search name: in `folder` (mode as xFile_Locate), then in
// each history folder that is neither the application's nor `folder` (by
// identity on disk), then in the application's folder; *file gets it. True
// when found; `ask` lets the last step ask the user.
bool App_resolveFile(FileRef* file, const FileRef& folder, int16_t mode, int16_t ask);
// The file when it exists; else its name is searched as above and *spec and
// *out become the file found.
bool App_resolveSFile(FileRef* spec, const FileRef& folder, FileRef* out, int16_t mode,
                      int16_t ask);
// References are paths: there are no volume numbers or folder ids to remap,
// and the reference stays as it is.
void RemapFSSpec(FileRef* spec, const void* table, int16_t count);
