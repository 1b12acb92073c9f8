// The preferences: the browser window's place, the picture size of the
// default input, the rendering and export preferences and the last browsed
// folder, read at start-up and written when the program quits.
//
// The file "kovrelin-browser.prefs" in the preferences folder has a
// little-endian layout of our own, field by field (see prefs.cpp). A file
// of another format is renamed "<name>.old" and the defaults stand; a short
// or damaged file gives the fields it holds whole, each checked, and an
// invalid field takes its default. Writes go through a temporary file
// renamed into place; a failure is silent.
//
// Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/engineapi.h"
#include "foundation/types.h"
#include "platform/files.h"

struct AppPrefs
{
  // The browser window: its toplevel client area, menu bar included, in
  // root coordinates.
  Rect windowBounds{40, 40, 520, 680};
  // The picture size of the default input.
  Rect pictureSize{0, 0, 480, 640};
  KVrenderPrefs render{};
  // The folder the browser showed last.
  FileRef lastFolder;
};
extern AppPrefs gPrefs;

inline constexpr uint32_t kPrefsFileType = fourcc("mprf");
inline constexpr char kPrefsMagic[4] = {'K', 'V', 'P', '1'};

// The defaults: window {40, 40, 520, 680}, picture {0, 0, 480, 640}, the
// rendering defaults, the last folder the application's folder.
void KVprefs_Defaults(AppPrefs* prefs);
// The file's bytes of the record.
std::vector<uint8_t> KVprefs_Serialise(const AppPrefs& prefs);
// Reads what the bytes hold into prefs (which holds the defaults): false
// when they do not start with "KVP1" (prefs untouched). Fields that the
// bytes hold only in part, and invalid ones, keep their defaults.
bool KVprefs_Parse(const uint8_t* bytes, size_t size, AppPrefs* prefs);

// The preferences file: the preferences folder's "kovrelin-browser.prefs".
FileRef KVprefs_File();
// Reads the file into gPrefs (whose defaults are set); then copies the
// compression settings into the movie toolbox's spatial settings. A file
// of another format is renamed "<name>.old". False when no file was read.
bool ReadPreferences();
// Writes gPrefs (the spatial settings copied in first), creating the
// preferences folder when it is missing; false on a failure, which is not
// reported.
bool WritePreferences();
// The defaults (window, picture, last folder, rendering), then the file.
void InitPreferencesnGlobals();
