#include "foundation/folders.h"

#include <algorithm>
#include <vector>

#include "foundation/iodata.h"

namespace {

// The folders on the way down from the walk's start, to keep a link that
// points back up from sending a walk round in circles.
using FolderChain = std::vector<kvfs::FolderId>;

// Enters folder unless it is already on the chain; the caller leaves it.
bool enterFolder(const FileRef& folder, FolderChain& chain)
{
  kvfs::FolderId id;
  if (!kvfs::folderId(folder, id))
    return false;
  if (std::find(chain.begin(), chain.end(), id) != chain.end())
    return false;
  chain.push_back(id);
  return true;
}

int32_t collectFolders(const FileRef& folder, MatchProcPtr match, FileRef* out, int32_t maximum,
                       int32_t depth, FolderChain& chain)
{
  if (maximum < 1 || !enterFolder(folder, chain))
    return 0;
  int32_t stored = 0;
  for (const FolderEntry& entry : kvfs::listFolder(folder)) {
    if (!entry.info.isFolder)
      continue;
    if (stored >= maximum)
      break;
    FileRef item = folder.child(entry.name);
    if (match(item, entry.info))
      out[stored++] = item;
    if (depth != 0)
      stored += collectFolders(item, match, out + stored, maximum - stored, depth - 1, chain);
  }
  chain.pop_back();
  return stored;
}

int32_t collectFiles(const FileRef& folder, MatchProcPtr match, FileRef* out, int32_t skip,
                     int32_t maximum, int32_t depth, FolderChain& chain)
{
  if (maximum < 1 || !enterFolder(folder, chain))
    return 0;
  int32_t stored = 0;
  std::vector<FolderEntry> entries = kvfs::listFolder(folder);
  for (size_t position = 0; position < entries.size() && stored < maximum; ++position) {
    const FolderEntry& entry = entries[position];
    FileRef item = folder.child(entry.name);
    // A link stands for its target, as an alias did.
    if (entry.info.targetIsFolder && depth != 0) {
      stored += collectFiles(item, match, out + stored, skip, maximum - stored, depth - 1, chain);
      continue;
    }
    if (int64_t(position) >= skip && match(item, entry.info))
      out[stored++] = item;
  }
  chain.pop_back();
  return stored;
}

}  // namespace

bool xFolder_Create(const FileRef& parent, const HFSUniStr255& name, FileRef* out)
{
  std::string folderName = HFS_2_UTF8(name);
  if (folderName.empty() || folderName.find('/') != std::string::npos)
    return false;
  FileRef folder = parent.child(folderName);
  OSErr err = kvfs::createFolder(folder);
  if (err != 0 && !(err == dupFNErr && kvfs::isFolder(folder)))
    return false;
  if (out)
    *out = folder;
  return true;
}

int32_t IterateFolder_searchproc(const FileRef& folder, MatchProcPtr match, FileRef* out,
                                 int32_t maximum, int32_t depth)
{
  FolderChain chain;
  return collectFolders(folder, match, out, maximum, depth, chain);
}

int32_t IterateFiles_searchproc(const FileRef& folder, MatchProcPtr match, FileRef* out,
                                int32_t skip, int32_t maximum, int32_t depth)
{
  FolderChain chain;
  return collectFiles(folder, match, out, skip, maximum, depth, chain);
}

int32_t xBuildFileList(const FileRef& folder, OSType type, FileRef* out, int32_t maximum,
                       int32_t depth)
{
  gIOdata.typeList[0] = type;
  gIOdata.typeCount = 1;
  return IterateFiles_searchproc(folder, matchtypeprocptr, out, 0, maximum, depth);
}

bool folderhastypeprocptr(const FileRef& folder)
{
  FileRef found;
  return IterateFiles_searchproc(folder, matchtypeprocptr, &found, 0, 1, 1) > 0;
}
