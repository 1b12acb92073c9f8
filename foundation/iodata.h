// The request block through which every file dialog, the locate searches and
// the name and type match routines exchange their inputs and results.
// One instance, gIOdata, lives for the whole run; main thread only.
#pragma once

#include <cstdint>

#include "foundation/filenames.h"
#include "foundation/types.h"
#include "platform/files.h"

struct frefinfos;

inline constexpr int kIOTypeListSize = 24;
inline constexpr int kIOFavouriteCount = 24;

// A preview hook draws the selected file into the dialog's custom area:
// (type, file or null to clear, area top-left, area bottom-right, click).
using PreviewHookProcPtr = int32_t (*)(OSType type, FileRef* file, Point topLeft, Point bottomRight,
                                       bool click);

// The standard hook that draws nothing; returns 0.
int32_t GenericPreviewHookProc(OSType type, FileRef* file, Point topLeft, Point bottomRight,
                               bool click);

struct NavUserData
{
  OSType typeList[kIOTypeListSize] = {};  // the first is also the type of a saved file
  int16_t typeCount = 0;
  int16_t selectionCount = 0;  // files accepted from the last dialog's selection (0..24)
  int16_t favouriteCount = 0;
  int16_t reserved = 0;
  FileRef workingSpec;                    // the file handed to the preview hook
  FileRef favourites[kIOFavouriteCount];  // entry 0 is the application's folder
  FileRef spareSpec;
  FileRef resultRef;                      // chosen file, folder to save into, or chosen folder
  FileRef defaultLocation;                // where the next dialog starts
  FileRef* defaultLocationPtr = nullptr;  // null, or &defaultLocation when one is set
  HFSUniStr255 resultName;                // chosen or typed name
  HFSUniStr255 searchName;                // the name the name-matching routines look for
  uint8_t selectDefault = 0;              // 1: the default location is an item to select
  uint8_t saveMode = 0;                   // 1 while a save dialog runs
  uint8_t stripExtension = 0;             // 1: name matching ignores the candidate's extension
  uint8_t browseFolders = 0;              // 1: folders are browsed into, never stand for a document
  int16_t customRight = 0;
  int16_t customBottom = 0;
  PreviewHookProcPtr previewHook = nullptr;
  int32_t words[2] = {};
  int32_t setupValue = 0;
  OSType creator = 0;
  Str255 prompt = {};           // title of the next dialog; empty for the default title
  uint16_t locateFailures = 0;  // cancelled locate dialogs in a row
};

extern NavUserData gIOdata;

// Resets the block: the one type, counts and flags cleared, the set-up value
// and creator stored, the favourites cleared and the application's folder
// made favourite entry 1.
void SetUpNavUserDatas(NavUserData* block, int32_t setupValue, OSType creator, OSType type);

// The still-image types (10 entries).
void SetImageTypeList();
// The still-image types followed by the movie types (16 entries).
void SetGraphicTypeList();

// Makes the folder (or, with flag 0 and a name of an existing item in it,
// that item) the default location of the next dialog; select-default = flag.
void xSetDefaultLoc(const FileRef& folder, ConstStringPtr itemName, uint8_t flag);
// The reference's item (flag 0) or its folder (flag 1) becomes the default
// location; nothing changes when the reference names nothing that exists.
void xSetDefaultLocfSS(const FileRef& item, uint8_t flag);

// True when the two items' names are equal code unit for code unit (their
// folders are not compared). The first name is left in gIOdata's result name.
bool SameFSRef(const FileRef& a, const FileRef& b);
// Puts ref at the front of a most-recent-first list of capacity entries; an
// entry of the same name moves to the front instead of being repeated.
void AddFrefListHistory(FileRef* list, int16_t capacity, int16_t* count, const FileRef& ref);
// The record's reference (its name in its folder) put into the list as
// AddFrefListHistory does; nothing when the record names no item.
void AddFrefinfosListHistory(FileRef* list, int16_t capacity, int16_t* count,
                             const frefinfos& record);
