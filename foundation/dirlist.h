// The application's folder history and its recent-files pop-up.
//
// Main thread only.
#pragma once

#include "foundation/types.h"
#include "platform/files.h"

inline constexpr uint32_t kDirectoryHistorySize = 32;

// Adds the folder to gAppInfos' directory history: nothing when the same
// folder on disk is already there; when the history is full it replaces
// slot 0, else it is appended.
void App_AddtoDirlist(const FileRef& folder);

// A pop-up menu of gAppInfos' file records (their names, a blank for an
// empty name) at the global point moved 2 pixels up and 4 right; the chosen
// entry (1-based) or 0.
int16_t App_frefinfosPopUp(Point where);
