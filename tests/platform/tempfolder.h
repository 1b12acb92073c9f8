// A temporary folder for tests that work on real files, removed with
// everything in it when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <signal.h>
#include <stdlib.h>
#include <string>
#include <sys/resource.h>
#include <sys/xattr.h>

#include "platform/files.h"

class TempFolder
{
public:
  TempFolder()
  {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvtestXXXXXX").string();
    if (mkdtemp(pattern.data()))
      root_ = FileRef::fromPath(pattern);
  }
  ~TempFolder()
  {
    std::error_code ec;
    if (!root_.empty())
      std::filesystem::remove_all(root_.path(), ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const FileRef& root() const { return root_; }
  FileRef ref(const std::string& relative) const
  {
    return FileRef::fromPath(root_.path() + "/" + relative);
  }

  // Writes a file (folders on the way are made) and returns its reference.
  FileRef write(const std::string& relative, const std::string& bytes = "") const
  {
    FileRef file = ref(relative);
    std::filesystem::create_directories(file.parent);
    std::ofstream(file.path(), std::ios::binary) << bytes;
    return file;
  }
  FileRef folder(const std::string& relative) const
  {
    FileRef f = ref(relative);
    std::filesystem::create_directories(f.path());
    return f;
  }
  static std::string read(const FileRef& file)
  {
    std::ifstream in(file.path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Whether this folder's file system keeps user extended attributes.
  bool xattrSupported() const
  {
    FileRef probe = write(".xattr-probe");
    bool ok = setxattr(probe.path().c_str(), "user.probe", "x", 1, 0) == 0;
    std::filesystem::remove(probe.path());
    return ok;
  }

private:
  FileRef root_;
};

// Makes every write that would grow a file past `bytes` fail with EFBIG
// instead of killing the process: for death-test children that check how a
// failed write is reported.
inline void LimitFileSizeForThisProcess(rlim_t bytes)
{
  signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = {bytes, bytes};
  setrlimit(RLIMIT_FSIZE, &limit);
}
