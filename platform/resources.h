// The resource store: resources by type, id and name, kept in files of our
// own format (laid out in resources.cpp beside its reader), and the string
// lists read from them.
//
// A resource has a four-character type (big-endian in a uint32_t), a signed
// 16-bit id, an optional name of at most 255 UTF-8 bytes and its data.
// Within one store a type and id name at most one resource.
//
// Open stores are numbered by reference (1 and up; 0 or below means not
// open) and form a chain in the order they were opened: a chain search
// starts at the current store and goes down to the first one opened, the
// application's store (Resources/Kovrelin.rsrc, opened on first use when
// openApplicationStore was not called). A document's own resources live in
// a companion file, the document's name plus ".rsrc".
//
// The open stores and the current one are shared by every thread: each call
// takes a lock and hands back copies, never pointers into a store.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

// Resource Manager result codes.
inline constexpr OSErr resNotFound = -192;   // no resource of that type, id or name
inline constexpr OSErr resFNotFound = -193;  // the store reference is not open
inline constexpr OSErr addResFailed = -194;  // the resource could not be added
inline constexpr OSErr rmvResFailed = -196;  // the resource could not be removed
inline constexpr OSErr mapReadErr = -199;    // the store file is damaged

// Resource types the program uses.
inline constexpr uint32_t kResStringList = 0x53545223;  // 'STR#'
inline constexpr uint32_t kResMenu = 0x4D454E55;        // 'MENU'
inline constexpr uint32_t kResCursor = 0x43555253;      // 'CURS'
inline constexpr uint32_t kResPicture = 0x50494354;     // 'PICT'
inline constexpr uint32_t kResFontSize = 0x4674537A;    // 'FtSz'

namespace kvres {

struct Resource
{
  uint32_t type = 0;
  int16_t id = 0;
  std::string name;
  std::vector<uint8_t> data;
};

// ---- The store as a value -------------------------------------------------------

// The resources of one file, in the order they were added.
class Store
{
public:
  const Resource* find(uint32_t type, int16_t id) const;
  // The first resource of the type with exactly that name.
  const Resource* findNamed(uint32_t type, std::string_view name) const;
  // Adds the resource, replacing the one of the same type and id (which
  // keeps its place). False when the name is longer than 255 bytes or the
  // data longer than kMaxResourceSize.
  bool put(Resource resource);
  bool remove(uint32_t type, int16_t id);
  // How many resources of the type, and the ones of the type in order.
  int32_t count(uint32_t type) const;
  std::vector<const Resource*> ofType(uint32_t type) const;
  const std::vector<Resource>& all() const { return items_; }

private:
  std::vector<Resource> items_;
};

inline constexpr size_t kMaxResourceSize = 0x7FFFFFF;  // 128 MB less one byte
inline constexpr size_t kMaxResourceName = 255;

// The file form of a store. parseStore checks every count, offset and
// length against the bytes and fails with the reason (the store untouched)
// on a damaged file.
bool parseStore(const uint8_t* bytes, size_t size, Store* out, std::string* reason);
std::vector<uint8_t> serialiseStore(const Store& store);
// Reads a store file; false with the reason when it is missing or damaged.
bool readStoreFile(const std::string& path, Store* out, std::string* reason);
// Writes through a temporary file in the same folder renamed over the old
// one, so a failed write never leaves a half-written store.
bool writeStoreFile(const std::string& path, const Store& store, std::string* reason);

// ---- Open stores, the current one and the chain -----------------------------------

// The companion store file of a document: its name plus ".rsrc", beside it.
FileRef companionOf(const FileRef& document);

// Opens the store file at path (a file of zero bytes is an empty store).
// With `writable` changes may be made and are written by update or close;
// with `create` a missing file starts as an empty store (its file written
// once a resource is put into it). An open file gives its existing reference. The opened
// store becomes the current one. Returns the reference, or 0 with err set
// (fnfErr when missing, mapReadErr when damaged).
int16_t openStore(const std::string& path, bool writable, bool create, OSErr* err = nullptr);
// Writes the store when it changed and is writable, then closes it; when it
// was the current one, the store opened before it becomes current. Returns
// the write's error or 0; resFNotFound for a reference not open.
OSErr closeStore(int16_t ref);
// Writes the store now when it changed.
OSErr updateStore(int16_t ref);
// Opens the application's store read-only in place of the one open before
// (reference 1, bottom of the chain); false with the reason when it cannot
// be read.
bool openApplicationStore(const std::string& path, std::string* reason = nullptr);
// The application's store file: Resources/Kovrelin.rsrc.
std::string applicationStorePath();

int16_t currentStore();  // 0 when none is open
// Makes an open store current; resFNotFound (the current one unchanged)
// otherwise.
OSErr useStore(int16_t ref);
std::string storePath(int16_t ref);  // "" when not open

// Lookups: in one store (`InStore`) or down the chain from the current one.
bool getResource(uint32_t type, int16_t id, Resource* out);
bool getNamedResource(uint32_t type, std::string_view name, Resource* out);
bool getResourceInStore(int16_t ref, uint32_t type, int16_t id, Resource* out);
bool getNamedResourceInStore(int16_t ref, uint32_t type, std::string_view name, Resource* out);
// The resources of the type in one store, in order.
std::vector<Resource> resourcesOfType(int16_t ref, uint32_t type);
int32_t countResources(int16_t ref, uint32_t type);

// Changes to an open writable store (written by update or close): 0,
// resFNotFound (not open), wrPermErr (read-only), addResFailed (name or
// data too long) or resNotFound (nothing to remove).
OSErr putResource(int16_t ref, const Resource& resource);
OSErr removeResource(int16_t ref, uint32_t type, int16_t id);

// Closes every store, the application's included (tests; the next lookup
// opens the application's store again).
void closeAllStores();

// ---- String lists ('STR#') --------------------------------------------------------

// The data of a string list: a big-endian 16-bit count, then that many
// strings, each a length byte and its bytes.
std::vector<std::string> parseStringList(const std::vector<uint8_t>& data, bool* ok = nullptr);
std::vector<uint8_t> makeStringList(const std::vector<std::string>& strings);

// The strings of list `listId` found down the chain; empty when missing or
// damaged.
std::vector<std::string> stringList(int16_t listId);
// String `index` (from 1) of the list; "" outside the list or when the list
// is missing.
std::string indString(int16_t listId, int16_t index);

}  // namespace kvres

// String `index` (from 1) of string list `listId` as a Pascal string in
// `out` (256 bytes); an empty string outside the list.
void GetIndString(unsigned char* out, int16_t listId, int16_t index);
// The number of strings in list `listId`, 0 when it is missing.
int16_t CountIndStrings(int16_t listId);
