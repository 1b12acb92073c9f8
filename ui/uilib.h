// The UI library's start-up and shutdown, the application record's fields
// that start-up fills (initAppGlobals) and the UI library's own record: its
// port, its scratch region, the 16 list images and the highlight colour.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "foundation/types.h"
#include "imaging/ports.h"
#include "imaging/quartz.h"
#include "platform/files.h"

using AppCommandProc = int16_t (*)(int32_t command, void* data);

inline constexpr int32_t kUIListImageCount = 16;

struct UILibRecord
{
  CGrafPtr port = nullptr;     // the application's port
  RgnHandle region = nullptr;  // scratch region
  // Slot k: the image "rlist" + 64 k (three digits); null when missing.
  CGImageRef images[kUIListImageCount] = {};
  normalcolor hiliteColor;
  int16_t windowCounter = 1;  // the number the next window takes
};
extern UILibRecord gUILib;

// Clears the modifier globals, stores the handler, the single-document
// flag and the creator, and fills the folders and names of gAppInfos: the
// application folder (the executable's), the resources and preferences
// folders, "Untitled", the separator " " and the preferences file
// "kovrelin-browser.prefs"; makes the scratch region and clears the image
// slots, the registry and the window counter.
void initAppGlobals(AppCommandProc handler, uint8_t singleDocument, OSType creator);

// Starts the UI library (the memory pool must exist): application globals,
// highlight colour, the imaging scratch block, the file-dialog defaults,
// the port, the 16 list images and the highlight image from the resources
// folder (`resources` when given), the shadow colour. A main screen that is
// not 32 bits deep (24 is taken as 32-bit pixels) shows alert 1059 message 7
// and ends the program. It then wires the window layer to the rest: the
// beep becomes the alert sound, key and button changes feed the render
// abort state, and the render pump pumps the window layer. Last, it looks
// up to 16 times, pumping, for a waiting high-level event: true when the
// first Apple event ('aevt') found is 'odoc'.
bool init_EUILIB(AppCommandProc handler, OSType creator, normalcolor hiliteColor,
                 uint8_t singleDocument, const FileRef* resources = nullptr);
// Disposes the port and the region, releases the 16 list images and frees
// the memory pool's block.
void Kill_EUILIB();

// The name of list image k: "rlist" + 64 k with three digits.
void UI_ListImageName(int32_t k, StringPtr out);
