#include "platform/resources.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

// ---- File layout ---------------------------------------------------------------------
//
// Every number is big-endian.
//
// Header, 16 bytes:
//    0  4  magic "KVRS"
//    4  2  version, 1
//    6  2  reserved, 0
//    8  4  entry count N
//   12  4  length of the whole file in bytes
// Entry table, N entries of 20 bytes from offset 16:
//    0  4  type (four characters)
//    4  2  id (signed)
//    6  2  name length, 0 to 255
//    8  4  offset of the name's bytes in the file
//   12  4  offset of the data in the file
//   16  4  length of the data
// Names and data lie after the table (the writer puts each entry's name and
// then its data there, in entry order). A reader rejects a file whose
// length field differs from its size, whose table runs past the end, whose
// name or data run outside the area after the table, whose name is longer
// than 255 bytes, or which holds one type and id twice.

namespace kvres {
namespace {

constexpr uint32_t kMagic = 0x4B565253;  // 'KVRS'
constexpr uint16_t kVersion = 1;
constexpr size_t kHeaderSize = 16;
constexpr size_t kEntrySize = 20;

uint16_t getU16(const uint8_t* p)
{
  return uint16_t((p[0] << 8) | p[1]);
}
uint32_t getU32(const uint8_t* p)
{
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
void putU16(std::vector<uint8_t>& out, uint16_t v)
{
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}
void putU32(std::vector<uint8_t>& out, uint32_t v)
{
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(uint8_t(v >> shift));
}
void setU32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    out[at + i] = uint8_t(v >> (24 - 8 * i));
}

std::string typeText(uint32_t type)
{
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = char(type >> shift);
    s += (c >= 32 && c < 127) ? c : '?';
  }
  return s;
}

bool fail(std::string* reason, std::string text)
{
  if (reason)
    *reason = std::move(text);
  return false;
}

// True when [offset, offset + length) lies inside [low, size).
bool inside(uint64_t offset, uint64_t length, uint64_t low, uint64_t size)
{
  return offset >= low && offset <= size && length <= size - offset;
}

}  // namespace

// ---- Store ----------------------------------------------------------------------------

const Resource* Store::find(uint32_t type, int16_t id) const
{
  for (const Resource& r : items_)
    if (r.type == type && r.id == id)
      return &r;
  return nullptr;
}

const Resource* Store::findNamed(uint32_t type, std::string_view name) const
{
  for (const Resource& r : items_)
    if (r.type == type && r.name == name)
      return &r;
  return nullptr;
}

bool Store::put(Resource resource)
{
  if (resource.name.size() > kMaxResourceName || resource.data.size() > kMaxResourceSize)
    return false;
  for (Resource& r : items_)
    if (r.type == resource.type && r.id == resource.id) {
      r = std::move(resource);
      return true;
    }
  items_.push_back(std::move(resource));
  return true;
}

bool Store::remove(uint32_t type, int16_t id)
{
  auto it = std::find_if(items_.begin(), items_.end(),
                         [&](const Resource& r) { return r.type == type && r.id == id; });
  if (it == items_.end())
    return false;
  items_.erase(it);
  return true;
}

int32_t Store::count(uint32_t type) const
{
  return int32_t(std::count_if(items_.begin(), items_.end(),
                               [&](const Resource& r) { return r.type == type; }));
}

std::vector<const Resource*> Store::ofType(uint32_t type) const
{
  std::vector<const Resource*> list;
  for (const Resource& r : items_)
    if (r.type == type)
      list.push_back(&r);
  return list;
}

// ---- Reading and writing the file form ------------------------------------------------------

bool parseStore(const uint8_t* bytes, size_t size, Store* out, std::string* reason)
{
  if (size < kHeaderSize || bytes == nullptr)
    return fail(reason, "shorter than the 16-byte header");
  if (getU32(bytes) != kMagic)
    return fail(reason, "not a resource store (no KVRS magic)");
  if (getU16(bytes + 4) != kVersion)
    return fail(reason, "unknown version " + std::to_string(getU16(bytes + 4)));
  uint32_t count = getU32(bytes + 8);
  uint32_t length = getU32(bytes + 12);
  if (length != size)
    return fail(reason, "length field " + std::to_string(length) + " but the file holds " +
                            std::to_string(size) + " bytes");
  if (count > (size - kHeaderSize) / kEntrySize)
    return fail(reason, "entry count " + std::to_string(count) + " runs past the end");
  uint64_t tableEnd = kHeaderSize + uint64_t(count) * kEntrySize;

  Store store;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = bytes + kHeaderSize + size_t(i) * kEntrySize;
    Resource r;
    r.type = getU32(e);
    r.id = int16_t(getU16(e + 4));
    uint32_t nameLength = getU16(e + 6);
    uint32_t nameOffset = getU32(e + 8);
    uint32_t dataOffset = getU32(e + 12);
    uint32_t dataLength = getU32(e + 16);
    std::string where = "entry " + std::to_string(i) + " ('" + typeText(r.type) + "' " +
                        std::to_string(r.id) + "): ";
    if (nameLength > kMaxResourceName)
      return fail(reason, where + "name of " + std::to_string(nameLength) + " bytes");
    if (!inside(nameOffset, nameLength, tableEnd, size))
      return fail(reason, where + "name outside the file");
    if (dataLength > kMaxResourceSize || !inside(dataOffset, dataLength, tableEnd, size))
      return fail(reason, where + "data outside the file");
    if (store.find(r.type, r.id))
      return fail(reason, where + "type and id given twice");
    r.name.assign(reinterpret_cast<const char*>(bytes + nameOffset), nameLength);
    r.data.assign(bytes + dataOffset, bytes + dataOffset + dataLength);
    store.put(std::move(r));
  }
  *out = std::move(store);
  return true;
}

std::vector<uint8_t> serialiseStore(const Store& store)
{
  const std::vector<Resource>& items = store.all();
  std::vector<uint8_t> out;
  putU32(out, kMagic);
  putU16(out, kVersion);
  putU16(out, 0);
  putU32(out, uint32_t(items.size()));
  putU32(out, 0);  // length, set at the end
  size_t table = out.size();
  out.resize(table + items.size() * kEntrySize);
  size_t at = table;
  for (const Resource& r : items) {
    size_t nameOffset = out.size();
    out.insert(out.end(), r.name.begin(), r.name.end());
    size_t dataOffset = out.size();
    out.insert(out.end(), r.data.begin(), r.data.end());
    std::vector<uint8_t> entry;
    putU32(entry, r.type);
    putU16(entry, uint16_t(r.id));
    putU16(entry, uint16_t(r.name.size()));
    putU32(entry, uint32_t(nameOffset));
    putU32(entry, uint32_t(dataOffset));
    putU32(entry, uint32_t(r.data.size()));
    std::copy(entry.begin(), entry.end(), out.begin() + at);
    at += kEntrySize;
  }
  setU32(out, 12, uint32_t(out.size()));
  return out;
}

bool readStoreFile(const std::string& path, Store* out, std::string* reason)
{
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return fail(reason, path + ": " + std::strerror(errno));
  struct stat st = {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return fail(reason, path + ": not a regular file");
  }
  if (uint64_t(st.st_size) > 0xFFFFFFFFu) {
    ::close(fd);
    return fail(reason, path + ": larger than a store can be");
  }
  std::vector<uint8_t> bytes(size_t(st.st_size));
  size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n <= 0)
      break;
    got += size_t(n);
  }
  ::close(fd);
  if (got != bytes.size())
    return fail(reason, path + ": could not be read whole");
  if (bytes.empty()) {
    *out = Store();
    return true;
  }
  std::string why;
  if (!parseStore(bytes.data(), bytes.size(), out, &why))
    return fail(reason, path + ": " + why);
  return true;
}

bool writeStoreFile(const std::string& path, const Store& store, std::string* reason)
{
  // Offsets and the length field are 32-bit.
  uint64_t total = kHeaderSize;
  for (const Resource& r : store.all())
    total += kEntrySize + r.name.size() + r.data.size();
  if (total > 0xFFFFFFFFu)
    return fail(reason, path + ": the store would pass 4 GB");
  std::vector<uint8_t> bytes = serialiseStore(store);
  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0)
    return fail(reason, path + ": cannot make a temporary file: " + std::strerror(errno));
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0)
      break;
    done += size_t(n);
  }
  bool ok = done == bytes.size() && fchmod(fd, 0644) == 0 && fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::string why = std::strerror(errno);
    ::unlink(temp.c_str());
    return fail(reason, path + ": write failed: " + why);
  }
  return true;
}

// ---- Open stores ---------------------------------------------------------------------------

namespace {

constexpr int16_t kApplicationRef = 1;

struct OpenStore
{
  int16_t ref = 0;
  std::string path;
  Store store;
  bool writable = false;
  bool changed = false;
};

struct Chain
{
  std::mutex lock;
  std::vector<OpenStore> open;  // in opening order, the application's first
  int16_t current = 0;
  int16_t lastRef = kApplicationRef;
  bool applicationTried = false;
};

Chain& chain()
{
  static Chain c;
  return c;
}

OpenStore* findOpen(Chain& c, int16_t ref)
{
  for (OpenStore& s : c.open)
    if (s.ref == ref)
      return &s;
  return nullptr;
}

// Opens the application's store once, when nothing has opened it yet.
void ensureApplication(Chain& c)
{
  if (c.applicationTried)
    return;
  c.applicationTried = true;
  if (findOpen(c, kApplicationRef))
    return;
  OpenStore s;
  s.ref = kApplicationRef;
  s.path = applicationStorePath();
  if (s.path.empty() || !readStoreFile(s.path, &s.store, nullptr))
    return;
  c.open.insert(c.open.begin(), std::move(s));
  if (c.current == 0)
    c.current = kApplicationRef;
}

int16_t nextRef(Chain& c)
{
  for (int tries = 0; tries < 0x7FFF; ++tries) {
    c.lastRef = c.lastRef >= 0x7FFF ? int16_t(kApplicationRef + 1) : int16_t(c.lastRef + 1);
    if (!findOpen(c, c.lastRef))
      return c.lastRef;
  }
  return 0;
}

OSErr writeOpen(OpenStore& s)
{
  if (!s.changed || !s.writable)
    return 0;
  if (!writeStoreFile(s.path, s.store, nullptr))
    return ioErr;
  s.changed = false;
  return 0;
}

// The stores a chain search visits: from the current one down to the first.
template <typename Visit>
bool searchChain(Chain& c, Visit visit)
{
  ensureApplication(c);
  size_t start = c.open.size();
  for (size_t i = 0; i < c.open.size(); ++i)
    if (c.open[i].ref == c.current)
      start = i + 1;
  for (size_t i = start; i-- > 0;)
    if (visit(c.open[i].store))
      return true;
  return false;
}

}  // namespace

FileRef companionOf(const FileRef& document)
{
  FileRef ref = document;
  ref.name += ".rsrc";
  return ref;
}

std::string applicationStorePath()
{
  FileRef folder = kvfs::resourcesFolder();
  return folder.empty() ? std::string() : folder.child("Kovrelin.rsrc").path();
}

int16_t openStore(const std::string& path, bool writable, bool create, OSErr* err)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  auto setErr = [&](OSErr e) {
    if (err)
      *err = e;
  };
  ensureApplication(c);
  for (OpenStore& s : c.open)
    if (s.path == path) {
      s.writable = s.writable || writable;
      c.current = s.ref;
      setErr(0);
      return s.ref;
    }
  OpenStore s;
  s.path = path;
  s.writable = writable;
  struct stat st = {};
  if (::stat(path.c_str(), &st) != 0) {
    // A new store is written once something is put into it.
    if (!create || !writable) {
      setErr(fnfErr);
      return 0;
    }
  } else if (!readStoreFile(path, &s.store, nullptr)) {
    setErr(S_ISREG(st.st_mode) ? mapReadErr : notAFileErr);
    return 0;
  }
  s.ref = nextRef(c);
  if (s.ref == 0) {
    setErr(tmfoErr);
    return 0;
  }
  c.open.push_back(std::move(s));
  c.current = c.open.back().ref;
  setErr(0);
  return c.current;
}

OSErr closeStore(int16_t ref)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  for (size_t i = 0; i < c.open.size(); ++i) {
    if (c.open[i].ref != ref)
      continue;
    OSErr e = writeOpen(c.open[i]);
    c.open.erase(c.open.begin() + long(i));
    if (c.current == ref)
      c.current = i > 0 ? c.open[i - 1].ref : (c.open.empty() ? 0 : c.open.front().ref);
    return e;
  }
  return resFNotFound;
}

OSErr updateStore(int16_t ref)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  OpenStore* s = findOpen(c, ref);
  return s ? writeOpen(*s) : resFNotFound;
}

bool openApplicationStore(const std::string& path, std::string* reason)
{
  Store store;
  if (!readStoreFile(path, &store, reason))
    return false;
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  c.applicationTried = true;
  OpenStore* s = findOpen(c, kApplicationRef);
  if (!s) {
    c.open.insert(c.open.begin(), OpenStore{});
    s = &c.open.front();
  }
  s->ref = kApplicationRef;
  s->path = path;
  s->store = std::move(store);
  s->writable = false;
  s->changed = false;
  if (c.current == 0)
    c.current = kApplicationRef;
  return true;
}

int16_t currentStore()
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  ensureApplication(c);
  return c.current;
}

OSErr useStore(int16_t ref)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  ensureApplication(c);
  if (!findOpen(c, ref))
    return resFNotFound;
  c.current = ref;
  return 0;
}

std::string storePath(int16_t ref)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  OpenStore* s = findOpen(c, ref);
  return s ? s->path : std::string();
}

bool getResource(uint32_t type, int16_t id, Resource* out)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  return searchChain(c, [&](const Store& s) {
    const Resource* r = s.find(type, id);
    if (r && out)
      *out = *r;
    return r != nullptr;
  });
}

bool getNamedResource(uint32_t type, std::string_view name, Resource* out)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  return searchChain(c, [&](const Store& s) {
    const Resource* r = s.findNamed(type, name);
    if (r && out)
      *out = *r;
    return r != nullptr;
  });
}

bool getResourceInStore(int16_t ref, uint32_t type, int16_t id, Resource* out)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  ensureApplication(c);
  OpenStore* s = findOpen(c, ref);
  const Resource* r = s ? s->store.find(type, id) : nullptr;
  if (r && out)
    *out = *r;
  return r != nullptr;
}

bool getNamedResourceInStore(int16_t ref, uint32_t type, std::string_view name, Resource* out)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  ensureApplication(c);
  OpenStore* s = findOpen(c, ref);
  const Resource* r = s ? s->store.findNamed(type, name) : nullptr;
  if (r && out)
    *out = *r;
  return r != nullptr;
}

std::vector<Resource> resourcesOfType(int16_t ref, uint32_t type)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  ensureApplication(c);
  std::vector<Resource> list;
  if (OpenStore* s = findOpen(c, ref))
    for (const Resource* r : s->store.ofType(type))
      list.push_back(*r);
  return list;
}

int32_t countResources(int16_t ref, uint32_t type)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  ensureApplication(c);
  OpenStore* s = findOpen(c, ref);
  return s ? s->store.count(type) : 0;
}

OSErr putResource(int16_t ref, const Resource& resource)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  OpenStore* s = findOpen(c, ref);
  if (!s)
    return resFNotFound;
  if (!s->writable)
    return wrPermErr;
  if (!s->store.put(resource))
    return addResFailed;
  s->changed = true;
  return 0;
}

OSErr removeResource(int16_t ref, uint32_t type, int16_t id)
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  OpenStore* s = findOpen(c, ref);
  if (!s)
    return resFNotFound;
  if (!s->writable)
    return wrPermErr;
  if (!s->store.remove(type, id))
    return resNotFound;
  s->changed = true;
  return 0;
}

void closeAllStores()
{
  Chain& c = chain();
  std::lock_guard<std::mutex> guard(c.lock);
  for (OpenStore& s : c.open)
    writeOpen(s);
  c.open.clear();
  c.current = 0;
  c.applicationTried = false;
}

// ---- String lists ---------------------------------------------------------------------------

std::vector<std::string> parseStringList(const std::vector<uint8_t>& data, bool* ok)
{
  std::vector<std::string> strings;
  bool good = data.size() >= 2;
  if (good) {
    uint32_t count = getU16(data.data());
    size_t at = 2;
    for (uint32_t i = 0; i < count; ++i) {
      if (at >= data.size()) {
        good = false;
        break;
      }
      size_t length = data[at++];
      if (length > data.size() - at) {
        good = false;
        break;
      }
      strings.emplace_back(reinterpret_cast<const char*>(data.data() + at), length);
      at += length;
    }
  }
  if (ok)
    *ok = good;
  if (!good)
    strings.clear();
  return strings;
}

std::vector<uint8_t> makeStringList(const std::vector<std::string>& strings)
{
  std::vector<uint8_t> out;
  size_t count = std::min<size_t>(strings.size(), 0xFFFF);
  putU16(out, uint16_t(count));
  for (size_t i = 0; i < count; ++i) {
    size_t length = std::min<size_t>(strings[i].size(), 255);
    out.push_back(uint8_t(length));
    out.insert(out.end(), strings[i].begin(), strings[i].begin() + long(length));
  }
  return out;
}

std::vector<std::string> stringList(int16_t listId)
{
  Resource r;
  if (!getResource(kResStringList, listId, &r))
    return {};
  return parseStringList(r.data);
}

std::string indString(int16_t listId, int16_t index)
{
  std::vector<std::string> strings = stringList(listId);
  if (index < 1 || size_t(index) > strings.size())
    return {};
  return strings[size_t(index) - 1];
}

}  // namespace kvres

void GetIndString(unsigned char* out, int16_t listId, int16_t index)
{
  if (!out)
    return;
  std::string s = kvres::indString(listId, index);
  size_t length = std::min<size_t>(s.size(), 255);
  out[0] = uint8_t(length);
  std::memcpy(out + 1, s.data(), length);
}

int16_t CountIndStrings(int16_t listId)
{
  return int16_t(std::min<size_t>(kvres::stringList(listId).size(), 0x7FFF));
}
