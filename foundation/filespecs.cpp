#include "foundation/filespecs.h"

#include <cstdlib>
#include <limits.h>
#include <sys/statvfs.h>

bool myequalspec(const FileRef& a, const FileRef& b)
{
  return a.parent == b.parent && a.name == b.name;
}

OSErr rebuild_spec(FileRef* spec)
{
  if (!spec || spec->empty() || !kvfs::exists(*spec))
    return fnfErr;
  char resolved[PATH_MAX];
  if (!realpath(spec->parent.c_str(), resolved))
    return fnfErr;
  if (spec->name.empty()) {
    *spec = FileRef::fromPath(resolved);
    return 0;
  }
  *spec = FileRef::fromPath(resolved).child(spec->name);
  return 0;
}

bool openfolderspec(FileRef* spec)
{
  if (!spec || spec->empty() || spec->name.empty() || !kvfs::isFolder(*spec))
    return false;
  *spec = spec->child(spec->name);
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
