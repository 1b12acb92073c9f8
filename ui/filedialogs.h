// The open, save and choose-folder dialogs driven by gIOdata, their event
// routine with the custom area, and the searches for files that moved.
//
// The option words keep their old values for callers that read them; on
// Linux the chooser is always application-modal, always offers several
// files in an open dialog, and has no stationery, translation, preview
// or package options: those bits have no meaning here.
//
// Main thread only.
#pragma once

#include <string>
#include <vector>

#include "foundation/fileio.h"
#include "foundation/iodata.h"
#include "imaging/quartz.h"
#include "platform/ui.h"

inline constexpr uint32_t kNavOpenOptions = 0x9443;
inline constexpr uint32_t kNavOpenBrowseOptions = 0xB443;
inline constexpr uint32_t kNavSaveOptions = 0x1448;
inline constexpr uint32_t kNavSaveBrowseOptions = 0x3448;
// The cursor id left after every open or save dialog so that the next
// DChangeCursor always acts (-7777, 57759 unsigned).
inline constexpr int16_t kCursorAfterDialog = -7777;
inline constexpr OSErr userCanceledErr = -128;

// UI pictures of the custom area's buttons (normal, pressed).
inline constexpr int16_t kPictFavouritesButton = 12302, kPictFavouritesPressed = 12303;
inline constexpr int16_t kPictRecentButton = 12304, kPictRecentPressed = 12305;

// Dialogs: 1 when the user chose, 0 otherwise.
int16_t NOpenFile(OSType creator);
int16_t NSaveFile(const std::string& defaultName);
// 0 with the folder in gIOdata's result; userCanceledErr on a cancel (the
// result left as it was), -1 when no chooser can run.
OSErr NChooseFolder();
bool SFGetPICTPreview(FileRef* chosen);

int16_t xMASTER_FILE_GET(FileRef* chosenOut);
int16_t MASTER_FILE_GET(FileRef* chosen);
int16_t xMASTER_FILE_PUT(ConstStringPtr defaultName);
int16_t MASTER_FILE_PUT(FileRef* chosen, bool useDefault);
int16_t xEFILE_GET(frefinfos& record);
int16_t xEFILE_PUT(frefinfos& record);
int16_t xGRAPHIC_FILE_PUT(frefinfos& record, OSType kind, PreviewHookProcPtr hook);

// The event routine and its parts.
void xnav_EventProc(int16_t message, kvui::Chooser* chooser, const kvui::Event* event,
                    NavUserData* block);
void xHandleCustomizeEvent(kvui::Chooser* chooser, NavUserData* block);
// Selection count and result from the chosen paths: at most 24, folders
// skipped with the browse-folders flag, the last accepted one the result.
void xnav_BuildSpecList(const std::vector<std::string>& selection, NavUserData* block);
bool xnav_FilterProc(const FileRef& item, const FileInfo& info);
void xnav_setsel(kvui::Chooser* chooser, const FileRef& ref, bool inside);
// The two buttons' rectangles in a custom area.
Rect xnav_RecentButton(const Rect& custom);
Rect xnav_FavouritesButton(const Rect& custom);

// While a preview hook runs: a drawing context over the dialog's custom
// area in the hook's coordinates (y down), shown when the hook returns;
// null outside a hook or when the area has no pixels.
CGContextRef xnav_HookContext();
// Where the click a hook answers fell, in the hook's coordinates.
Point xnav_HookClickPoint();

// Locate and search.
OSErr xFolder_Locate(const FileRef& folder, FileRef* out, const HFSUniStr255& name, bool ask);
int32_t xFolder_SearchByName(const FileRef& folder, FileRef* out, const HFSUniStr255* name,
                             int32_t depth, bool ask);
OSErr xFolder_OpenCreate(const frefinfos& record, FileRef* out);
int16_t xFile_Locate(FileRef* ref, const FileRef& start, int16_t mode, int16_t ask);
int16_t EFile_Locate(frefinfos& record, int16_t mode, int16_t ask);
