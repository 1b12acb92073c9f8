// Folder creation and folder walks that collect the items a match routine
// accepts. Listings are taken in name order, byte-wise. A negative depth
// means no depth limit; a folder already being walked (reached again through
// a symbolic link) is not entered twice.
#pragma once

#include <cstdint>

#include "foundation/filenames.h"
#include "platform/files.h"

// Creates the folder, or takes the existing one; true on success, with its
// reference in out when asked.
bool xFolder_Create(const FileRef& parent, const HFSUniStr255& name, FileRef* out);

// Collects sub-folders (not following links) that match accepts into out,
// at most maximum; with depth not 0 also from inside each sub-folder, down
// depth levels. Returns the number stored.
int32_t IterateFolder_searchproc(const FileRef& folder, MatchProcPtr match, FileRef* out,
                                 int32_t maximum, int32_t depth);

// Collects items that match accepts into out, at most maximum. Links are
// followed. A folder is walked into when depth is not 0 (and then not
// offered itself); any other item is offered when its place in its folder's
// listing is at least skip. Returns the number stored.
int32_t IterateFiles_searchproc(const FileRef& folder, MatchProcPtr match, FileRef* out,
                                int32_t skip, int32_t maximum, int32_t depth);

// Sets gIOdata's type list to type alone and collects items of that type.
int32_t xBuildFileList(const FileRef& folder, OSType type, FileRef* out, int32_t maximum,
                       int32_t depth);

// True when the folder or one of its direct sub-folders holds a file of one
// of gIOdata's types.
bool folderhastypeprocptr(const FileRef& folder);
