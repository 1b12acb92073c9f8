#include "foundation/filerefs.h"

#include <cstdlib>
#include <limits.h>
#include <sys/statvfs.h>

bool myequalspec(const FileRef& a, const FileRef& b)
{
  return a.parent == b.parent && a.name == b.name;
}

OSErr rebuild_spec(FileRef* file)
{
  if (!file || file->empty() || !kvfs::exists(*file))
    return fnfErr;
  char resolved[PATH_MAX];
  if (!realpath(file->parent.c_str(), resolved))
    return fnfErr;
  if (file->name.empty()) {
    *file = FileRef::fromPath(resolved);
    return 0;
  }
  *file = FileRef::fromPath(resolved).child(file->name);
  return 0;
}

bool openfolderspec(FileRef* file)
{
  if (!file || file->empty() || file->name.empty() || !kvfs::isFolder(*file))
    return false;
  *file = file->child(file->name);
  return true;
}

int64_t GetDiskFreeSpace(const FileRef& onVolume)
{
  struct statvfs info = {};
  std::string path = onVolume.path();
  if (path.empty() || statvfs(path.c_str(), &info) != 0)
    return -1;
  unsigned long long bytes = (unsigned long long)info.f_bavail * info.f_frsize;
  return bytes > (unsigned long long)INT64_MAX ? INT64_MAX : int64_t(bytes);
}
