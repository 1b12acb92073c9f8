// The file-system layer: file references, data forks, Finder-style type and
// creator codes and the application's folders, over POSIX files.
//
// A file reference (`FileRef`) names an item by its parent folder and its
// name; it may name an item that does not exist yet (a file about to be
// created). Its one serialised form is the absolute path in UTF-8.
//
// A fork reference is a small positive number handed out by kvfs::openFork;
// 0 means "not open". Only data forks exist. Forks may be used from any
// thread; the table behind them is locked.
//
// Type and creator codes are four-character codes held big-endian in a
// uint32_t ('TIFF' is 0x54494646).
//
// Results follow the old File Manager: 0 for success, a negative code below
// for a failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using OSErr = int16_t;

// File Manager result codes that the file layer hands back.
inline constexpr OSErr dskFulErr = -34;
inline constexpr OSErr ioErr = -36;
inline constexpr OSErr eofErr = -39;
inline constexpr OSErr tmfoErr = -42;
inline constexpr OSErr fnfErr = -43;
inline constexpr OSErr wPrErr = -44;
inline constexpr OSErr dupFNErr = -48;
inline constexpr OSErr rfNumErr = -51;
// The bad-parameter code (-50) is foundation/handles.h's paramErr; the
// platform layer spells it kvfs::kParamErr.
inline constexpr OSErr permErr = -54;
inline constexpr OSErr wrPermErr = -61;
inline constexpr OSErr dirNFErr = -120;
inline constexpr OSErr notAFileErr = -1302;
inline constexpr OSErr errFSNoMoreItems = -1417;

// Fork permissions as the old File Manager numbered them.
inline constexpr int8_t fsCurPerm = 0;  // read/write when allowed, else read
inline constexpr int8_t fsRdPerm = 1;
inline constexpr int8_t fsWrPerm = 2;
inline constexpr int8_t fsRdWrPerm = 3;

// A reference to a file or folder: the absolute path of its parent folder and
// its name (UTF-8). The root folder has parent "/" and an empty name.
struct FileRef
{
  std::string parent;
  std::string name;

  // An empty reference names nothing.
  bool empty() const { return parent.empty() && name.empty(); }
  // The absolute path ("" for an empty reference).
  std::string path() const;
  // The reference of an item inside this folder.
  FileRef child(std::string_view childName) const;
  // The reference of the folder that holds this item.
  FileRef parentRef() const;

  // The serialised form: the absolute path.
  std::string serialise() const { return path(); }
  // A reference from a path; a relative path is taken from the current
  // folder, "." and ".." parts are resolved lexically. An empty text gives an
  // empty reference.
  static FileRef fromPath(std::string_view path);
};

bool operator==(const FileRef& a, const FileRef& b);

// What a folder listing or a catalog query tells about one item.
struct FileInfo
{
  bool isFolder = false;        // the item itself is a folder (symbolic links are not)
  bool isLink = false;          // a symbolic link: the old system's alias
  bool targetIsFolder = false;  // the item, links followed, is a folder
  uint32_t fileType = 0;        // the stored type code, 0 when none was stored
  uint32_t creator = 0;         // the stored creator code, 0 when none was stored
};

struct FolderEntry
{
  std::string name;
  FileInfo info;
};

namespace kvfs {

inline constexpr OSErr kParamErr = -50;

// --- Queries -------------------------------------------------------------

bool exists(const FileRef& ref);         // links followed
bool isFolder(const FileRef& ref);       // links followed
bool isRegularFile(const FileRef& ref);  // links followed
// Fills info for an existing item; fnfErr when it does not exist.
OSErr getInfo(const FileRef& ref, FileInfo& info);

// Creates a folder; dupFNErr when an item of that name exists already.
OSErr createFolder(const FileRef& ref);

// The items of a folder (without "." and ".."), sorted by name byte-wise.
// err receives 0, or the reason the folder could not be read.
std::vector<FolderEntry> listFolder(const FileRef& folder, OSErr* err = nullptr);

// Identity of a folder on disk (device and inode), to notice loops of links.
struct FolderId
{
  uint64_t device = 0;
  uint64_t inode = 0;
  bool operator==(const FolderId&) const = default;
};
bool folderId(const FileRef& folder, FolderId& id);

// --- Type and creator codes ----------------------------------------------

// The type code that a name's last four characters give ('qjKv' for tree
// documents ending "kovr" or "elev"); 0 when the table has no entry or the
// name is shorter than five bytes. Case matters. Audio names: .aif, .aiff,
// .aifc, .wav, .caf, .au and .snd ('NeXT'), .m4a, .mp3.
uint32_t typeFromName(std::string_view name);

// Stores the type and creator codes on the item as extended attributes
// (user.kovrelin.type, user.kovrelin.creator). A file system without
// extended attributes is tolerated: the codes are then not kept, and the
// result is still 0. Other failures (missing item) give their code.
OSErr setTypeAndCreator(const FileRef& ref, uint32_t type, uint32_t creator);
// Reads the stored codes; each is 0 when none was stored.
void readTypeAndCreator(const std::string& path, uint32_t& type, uint32_t& creator);

// --- Data forks -----------------------------------------------------------

// Opens the data fork of an existing regular file; 0 on any failure (err
// receives the reason when asked). Folders, devices and pipes are refused.
int16_t openFork(const FileRef& ref, int8_t permission, OSErr* err = nullptr);
// Creates the file when it is missing (exclusive create) and reports whether
// it did; an existing item is left as it is.
OSErr createFile(const FileRef& ref, bool& created);
OSErr closeFork(int16_t fork);
// Reads up to count bytes at offset; actual receives how many were read.
// Returns eofErr when the end of the fork came first.
OSErr readFork(int16_t fork, int64_t offset, size_t count, void* buffer, size_t& actual);
// Writes count bytes at offset; all or an error.
OSErr writeFork(int16_t fork, int64_t offset, size_t count, const void* buffer);
OSErr forkSize(int16_t fork, int64_t& size);
OSErr setForkSize(int16_t fork, int64_t size);

// Removes a file (not a folder).
OSErr deleteFile(const FileRef& ref);
// Renames an item inside its folder.
OSErr renameItem(const FileRef& ref, std::string_view newName);

// --- Application folders --------------------------------------------------

// The folder that holds the running executable (from /proc/self/exe).
FileRef executableFolder();
// The run-time resources: Resources/ beside the executable, else
// ../share/kovrelin/Resources under it; an empty reference when neither
// exists.
FileRef resourcesFolder();
// Where preferences live: $XDG_CONFIG_HOME/kovrelin, or ~/.config/kovrelin
// when XDG_CONFIG_HOME is unset or not absolute. Not created here.
FileRef preferencesFolder();

}  // namespace kvfs
