#include "foundation/dirlist.h"

#include <algorithm>

#include "foundation/appshell.h"
#include "platform/ui.h"

namespace {

// Same folder on disk (device and inode); by path when either cannot be
// read (a folder that is gone).
bool sameFolder(const FileRef& a, const FileRef& b)
{
  kvfs::FolderId idA, idB;
  if (kvfs::folderId(a, idA) && kvfs::folderId(b, idB))
    return idA == idB;
  return a == b;
}

}  // namespace

void App_AddtoDirlist(const FileRef& folder)
{
  uint32_t count = std::min(gAppInfos.directoryHistoryCount, kDirectoryHistorySize);
  for (uint32_t i = 0; i < count; ++i)
    if (sameFolder(gAppInfos.directoryHistory[i], folder))
      return;
  if (count == kDirectoryHistorySize) {
    gAppInfos.directoryHistory[0] = folder;
    return;
  }
  gAppInfos.directoryHistory[count] = folder;
  gAppInfos.directoryHistoryCount = count + 1;
}

int16_t App_frefinfosPopUp(Point where)
{
  std::vector<kvui::MenuEntry> entries;
  int count = std::clamp<int>(gAppInfos.fileRecordCount, 0, 24);
  for (int i = 0; i < count; ++i) {
    const unsigned char* name = gAppInfos.fileRecords[i].name;
    kvui::MenuEntry entry;
    entry.text = name[0] ? std::string(name + 1, name + 1 + name[0]) : std::string(" ");
    entries.push_back(entry);
  }
  if (entries.empty())
    return 0;
  return int16_t(kvui::popUpMenu(entries, kvui::Point{where.v - 2, where.h + 4}));
}
