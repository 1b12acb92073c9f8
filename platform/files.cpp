#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace fs = std::filesystem;

// --- FileRef ---------------------------------------------------------------

std::string FileRef::path() const
{
  if (name.empty())
    return parent;
  if (parent.empty())
    return name;
  if (parent.back() == '/')
    return parent + name;
  return parent + "/" + name;
}

FileRef FileRef::child(std::string_view childName) const
{
  return FileRef{path(), std::string(childName)};
}

FileRef FileRef::parentRef() const
{
  if (name.empty())
    return *this;
  return fromPath(parent);
}

FileRef FileRef::fromPath(std::string_view text)
{
  if (text.empty())
    return {};
  fs::path p{std::string(text)};
  if (p.is_relative()) {
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    p = cwd / p;
  }
  p = p.lexically_normal();
  std::string s = p.string();
  while (s.size() > 1 && s.back() == '/')
    s.pop_back();
  if (s == "/")
    return FileRef{"/", ""};
  size_t slash = s.rfind('/');
  FileRef ref;
  ref.parent = slash == 0 ? "/" : s.substr(0, slash);
  ref.name = s.substr(slash + 1);
  return ref;
}

bool operator==(const FileRef& a, const FileRef& b)
{
  return a.path() == b.path();
}

namespace kvfs {

namespace {

OSErr errnoToOSErr(int e)
{
  switch (e) {
    case 0:
      return 0;
    case ENOENT:
      return fnfErr;
    case ENOTDIR:
      return dirNFErr;
    case EEXIST:
      return dupFNErr;
    case EACCES:
    case EPERM:
      return permErr;
    case EROFS:
      return wPrErr;
    case ENOSPC:
    case EDQUOT:
      return dskFulErr;
    case EISDIR:
      return notAFileErr;
    case EMFILE:
    case ENFILE:
      return tmfoErr;
    case EINVAL:
    case EFBIG:
    case ENAMETOOLONG:
      return kParamErr;
    default:
      return ioErr;
  }
}

bool statPath(const std::string& path, struct stat& st, bool followLinks)
{
  if (path.empty())
    return false;
  return (followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) == 0;
}

constexpr uint32_t code(const char (&s)[5])
{
  return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
         (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

constexpr const char* kTypeAttribute = "user.kovrelin.type";
constexpr const char* kCreatorAttribute = "user.kovrelin.creator";

uint32_t readCodeAttribute(const std::string& path, const char* attribute)
{
  unsigned char value[4];
  ssize_t n = ::getxattr(path.c_str(), attribute, value, sizeof value);
  if (n != 4)
    return 0;
  return (uint32_t(value[0]) << 24) | (uint32_t(value[1]) << 16) | (uint32_t(value[2]) << 8) |
         uint32_t(value[3]);
}

// False only for real failures; a file system without extended attributes
// (ENOTSUP) is not one.
bool writeCodeAttribute(const std::string& path, const char* attribute, uint32_t code)
{
  unsigned char value[4];
  for (int i = 0; i < 4; ++i)
    value[i] = uint8_t(code >> (24 - 8 * i));
  if (::setxattr(path.c_str(), attribute, value, sizeof value, 0) == 0)
    return true;
  return errno == ENOTSUP || errno == EOPNOTSUPP || errno == EPERM;
}

// The table of open forks. Fork references are slot index + 1.
struct ForkSlot
{
  int fd = -1;
  bool canWrite = false;
};

class ForkTable
{
public:
  static constexpr size_t kMaxForks = 4096;

  int16_t add(int fd, bool canWrite)
  {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].fd < 0) {
        slots_[i] = ForkSlot{fd, canWrite};
        return int16_t(i + 1);
      }
    if (slots_.size() >= kMaxForks)
      return 0;
    slots_.push_back(ForkSlot{fd, canWrite});
    return int16_t(slots_.size());
  }
  bool get(int16_t fork, ForkSlot& out)
  {
    std::lock_guard lock(mutex_);
    if (fork < 1 || size_t(fork) > slots_.size() || slots_[fork - 1].fd < 0)
      return false;
    out = slots_[fork - 1];
    return true;
  }
  int remove(int16_t fork)
  {
    std::lock_guard lock(mutex_);
    if (fork < 1 || size_t(fork) > slots_.size())
      return -1;
    int fd = slots_[fork - 1].fd;
    slots_[fork - 1] = ForkSlot{};
    return fd;
  }

private:
  std::mutex mutex_;
  std::vector<ForkSlot> slots_;
};

ForkTable& forkTable()
{
  static ForkTable table;
  return table;
}

}  // namespace

bool exists(const FileRef& ref)
{
  struct stat st;
  return statPath(ref.path(), st, true);
}

bool isFolder(const FileRef& ref)
{
  struct stat st;
  return statPath(ref.path(), st, true) && S_ISDIR(st.st_mode);
}

bool isRegularFile(const FileRef& ref)
{
  struct stat st;
  return statPath(ref.path(), st, true) && S_ISREG(st.st_mode);
}

OSErr getInfo(const FileRef& ref, FileInfo& info)
{
  info = FileInfo{};
  std::string path = ref.path();
  struct stat st;
  if (!statPath(path, st, false))
    return path.empty() ? fnfErr : errnoToOSErr(errno);
  info.isFolder = S_ISDIR(st.st_mode);
  info.isLink = S_ISLNK(st.st_mode);
  info.targetIsFolder = info.isFolder;
  if (info.isLink) {
    struct stat target;
    info.targetIsFolder = statPath(path, target, true) && S_ISDIR(target.st_mode);
  }
  readTypeAndCreator(path, info.fileType, info.creator);
  return 0;
}

OSErr createFolder(const FileRef& ref)
{
  std::string path = ref.path();
  if (path.empty())
    return kParamErr;
  if (::mkdir(path.c_str(), 0777) == 0)
    return 0;
  return errnoToOSErr(errno);
}

std::vector<FolderEntry> listFolder(const FileRef& folder, OSErr* err)
{
  std::vector<FolderEntry> entries;
  std::error_code ec;
  fs::directory_iterator it(folder.path(), ec);
  if (ec) {
    if (err)
      *err = errnoToOSErr(ec.value());
    return entries;
  }
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec)
      break;
    FolderEntry entry;
    entry.name = it->path().filename().string();
    getInfo(folder.child(entry.name), entry.info);
    entries.push_back(std::move(entry));
  }
  // std::string compares as unsigned bytes: the old catalog order.
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  if (err)
    *err = ec ? errnoToOSErr(ec.value()) : 0;
  return entries;
}

bool folderId(const FileRef& folder, FolderId& id)
{
  struct stat st;
  if (!statPath(folder.path(), st, true) || !S_ISDIR(st.st_mode))
    return false;
  id = FolderId{uint64_t(st.st_dev), uint64_t(st.st_ino)};
  return true;
}

// --- Type and creator codes --------------------------------------------------

uint32_t typeFromName(std::string_view name)
{
  struct Suffix
  {
    const char* text;
    uint32_t type;
  };
  static constexpr Suffix kSuffixes[] = {
      {".pct", code("PICT")}, {".pic", code("PICT")}, {"PICT", code("PICT")},
      {"pict", code("PICT")}, {".bmp", code("BMPf")}, {".jpg", code("JPEG")},
      {".JPG", code("JPEG")}, {".gif", code("GIFf")}, {".tif", code("TIFF")},
      {"TIFF", code("TIFF")}, {".pdf", code("PDF ")}, {".txt", code("TEXT")},
      {".scl", code("TEXT")}, {".aif", code("AIFF")}, {".AIF", code("AIFF")},
      {"aiff", code("AIFF")}, {"AIFF", code("AIFF")}, {".wav", code("WAVE")},
      {".caf", code("caff")}, {".mp3", code("MPG3")}, {".mpg", code("MPEG")},
      {".MPG", code("MPEG")}, {"mpeg", code("MPEG")}, {".m4v", code("mpg4")},
      {".mov", code("MooV")}, {".avi", code("VfW ")}, {".AVI", code("VfW ")},
      {".swf", code("SWFL")}, {"kovr", code("qjKv")}, {"elev", code("qjKv")},
  };
  if (name.size() < 5)
    return 0;
  std::string_view last4 = name.substr(name.size() - 4);
  for (const Suffix& s : kSuffixes)
    if (last4 == s.text)
      return s.type;
  // Audio files: the other spellings and the short ".au".
  static constexpr Suffix kAudioSuffixes[] = {
      {"aifc", code("AIFC")}, {"AIFC", code("AIFC")}, {".aic", code("AIFC")},
      {".WAV", code("WAVE")}, {"wave", code("WAVE")}, {".CAF", code("caff")},
      {".snd", code("NeXT")}, {".m4a", code("m4af")}, {".MP3", code("MPG3")},
  };
  for (const Suffix& s : kAudioSuffixes)
    if (last4 == s.text)
      return s.type;
  if (name.substr(name.size() - 3) == ".au")
    return code("NeXT");
  return 0;
}

OSErr setTypeAndCreator(const FileRef& ref, uint32_t type, uint32_t creator)
{
  std::string path = ref.path();
  struct stat st;
  if (!statPath(path, st, true))
    return path.empty() ? fnfErr : errnoToOSErr(errno);
  if (!writeCodeAttribute(path, kTypeAttribute, type))
    return errnoToOSErr(errno);
  if (!writeCodeAttribute(path, kCreatorAttribute, creator))
    return errnoToOSErr(errno);
  return 0;
}

void readTypeAndCreator(const std::string& path, uint32_t& type, uint32_t& creator)
{
  type = readCodeAttribute(path, kTypeAttribute);
  creator = readCodeAttribute(path, kCreatorAttribute);
}

// --- Data forks ----------------------------------------------------------------

int16_t openFork(const FileRef& ref, int8_t permission, OSErr* err)
{
  auto fail = [&](OSErr e) -> int16_t {
    if (err)
      *err = e;
    return 0;
  };
  std::string path = ref.path();
  if (path.empty())
    return fail(fnfErr);
  int flags = O_RDONLY;
  if (permission == fsWrPerm)
    flags = O_WRONLY;
  if (permission == fsRdWrPerm || permission == fsCurPerm)
    flags = O_RDWR;
  // Non-blocking so that opening a pipe cannot hang; cleared again below.
  int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0 && permission == fsCurPerm && (errno == EACCES || errno == EROFS))
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), flags = O_RDONLY;
  if (fd < 0)
    return fail(errnoToOSErr(errno));
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return fail(notAFileErr);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  int16_t fork = forkTable().add(fd, flags != O_RDONLY);
  if (fork == 0) {
    ::close(fd);
    return fail(tmfoErr);
  }
  if (err)
    *err = 0;
  return fork;
}

OSErr createFile(const FileRef& ref, bool& created)
{
  created = false;
  std::string path = ref.path();
  if (ref.name.empty())
    return kParamErr;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    ::close(fd);
    created = true;
    return 0;
  }
  return errno == EEXIST ? 0 : errnoToOSErr(errno);
}

OSErr closeFork(int16_t fork)
{
  int fd = forkTable().remove(fork);
  if (fd < 0)
    return rfNumErr;
  return ::close(fd) == 0 ? 0 : errnoToOSErr(errno);
}

OSErr readFork(int16_t fork, int64_t offset, size_t count, void* buffer, size_t& actual)
{
  actual = 0;
  ForkSlot slot;
  if (!forkTable().get(fork, slot))
    return rfNumErr;
  if (offset < 0)
    return kParamErr;
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (actual < count) {
    ssize_t n = ::pread(slot.fd, bytes + actual, count - actual, off_t(offset + int64_t(actual)));
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return errnoToOSErr(errno);
    }
    if (n == 0)
      return eofErr;
    actual += size_t(n);
  }
  return 0;
}

OSErr writeFork(int16_t fork, int64_t offset, size_t count, const void* buffer)
{
  ForkSlot slot;
  if (!forkTable().get(fork, slot))
    return rfNumErr;
  if (!slot.canWrite)
    return wrPermErr;
  if (offset < 0)
    return kParamErr;
  auto* bytes = static_cast<const unsigned char*>(buffer);
  size_t done = 0;
  while (done < count) {
    ssize_t n = ::pwrite(slot.fd, bytes + done, count - done, off_t(offset + int64_t(done)));
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return errnoToOSErr(errno);
    }
    if (n == 0)
      return ioErr;
    done += size_t(n);
  }
  return 0;
}

OSErr forkSize(int16_t fork, int64_t& size)
{
  size = 0;
  ForkSlot slot;
  if (!forkTable().get(fork, slot))
    return rfNumErr;
  struct stat st;
  if (::fstat(slot.fd, &st) != 0)
    return errnoToOSErr(errno);
  size = int64_t(st.st_size);
  return 0;
}

OSErr setForkSize(int16_t fork, int64_t size)
{
  ForkSlot slot;
  if (!forkTable().get(fork, slot))
    return rfNumErr;
  if (!slot.canWrite)
    return wrPermErr;
  if (size < 0)
    return kParamErr;
  return ::ftruncate(slot.fd, off_t(size)) == 0 ? 0 : errnoToOSErr(errno);
}

OSErr deleteFile(const FileRef& ref)
{
  std::string path = ref.path();
  if (ref.name.empty())
    return kParamErr;
  return ::unlink(path.c_str()) == 0 ? 0 : errnoToOSErr(errno);
}

OSErr renameItem(const FileRef& ref, std::string_view newName)
{
  if (ref.name.empty() || newName.empty() || newName.find('/') != std::string_view::npos)
    return kParamErr;
  FileRef target{ref.parent, std::string(newName)};
  if (exists(target))
    return dupFNErr;
  return ::rename(ref.path().c_str(), target.path().c_str()) == 0 ? 0 : errnoToOSErr(errno);
}

// --- Application folders -------------------------------------------------------

FileRef executableFolder()
{
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty())
    return {};
  return FileRef::fromPath(exe.parent_path().string());
}

FileRef resourcesFolder()
{
  FileRef exeFolder = executableFolder();
  if (exeFolder.empty())
    return {};
  FileRef beside = exeFolder.child("Resources");
  if (isFolder(beside))
    return beside;
  FileRef installed = FileRef::fromPath(exeFolder.path() + "/../share/kovrelin/Resources");
  if (isFolder(installed))
    return installed;
  return {};
}

FileRef preferencesFolder()
{
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/')
    return FileRef::fromPath(std::string(config) + "/kovrelin");
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/')
    return FileRef::fromPath(std::string(home) + "/.config/kovrelin");
  return {};
}

}  // namespace kvfs
