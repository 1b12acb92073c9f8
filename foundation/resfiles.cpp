#include "foundation/resfiles.h"

#include <algorithm>
#include <cstring>

#include "foundation/appshell.h"

namespace {

std::string nameOf(ConstStringPtr name)
{
  return name ? std::string(reinterpret_cast<const char*>(name + 1), name[0]) : std::string();
}

void putName(StringPtr out, const std::string& name)
{
  if (!out)
    return;
  size_t n = std::min<size_t>(name.size(), 255);
  out[0] = uint8_t(n);
  std::memcpy(out + 1, name.data(), n);
}

// Copies at most `maximum` bytes of the resource into the buffer.
OSErr copyOut(const kvres::Resource& r, void* buffer, int32_t maximum)
{
  if (!buffer || maximum < 0)
    return paramErr;
  size_t n = std::min<size_t>(r.data.size(), size_t(maximum));
  if (n > 0)
    std::memcpy(buffer, r.data.data(), n);
  return 0;
}

std::vector<uint8_t> bytesOf(const void* data, int32_t size)
{
  if (!data || size <= 0)
    return {};
  const auto* p = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(p, p + size);
}

// Writes the data into the resource, keeping an existing resource's name.
OSErr saveData(int16_t file, OSType type, int16_t id, const std::string& newName,
               const void* buffer, int32_t size)
{
  if (size < 0 || (size > 0 && !buffer))
    return paramErr;
  kvres::Resource r;
  if (!kvres::getResourceInStore(file, type, id, &r)) {
    r.type = type;
    r.id = id;
    r.name = newName;
  }
  r.data = bytesOf(buffer, size);
  OSErr err = kvres::putResource(file, r);
  if (err == 0)
    err = kvres::updateStore(file);
  if (err != 0)
    PlayAlertSound();
  return err;
}

}  // namespace

int16_t Use_resfile(const FileRef& file, int16_t* previous, int8_t permission)
{
  int16_t before = kvres::currentStore();
  if (previous)
    *previous = before;
  bool writable = permission != fsRdPerm;
  OSErr err = 0;
  int16_t ref = 0;
  if (kvfs::exists(file))
    ref = kvres::openStore(kvres::companionOf(file).path(), writable, writable, &err);
  if (ref <= 0) {
    PlayAlertSound();
    PlayAlertSound();
  }
  return ref;
}

void Close_resfile(int16_t ref, int16_t previous)
{
  if (ref > 1)
    kvres::closeStore(ref);
  kvres::useStore(previous);
}

int16_t NameToResID(int16_t file, OSType type, ConstStringPtr name)
{
  kvres::Resource r;
  return kvres::getNamedResourceInStore(file, type, nameOf(name), &r) ? r.id : 0;
}

int16_t FindtypedResource(OSType type)
{
  std::vector<kvres::Resource> list = kvres::resourcesOfType(kvres::currentStore(), type);
  return list.empty() ? -1 : list.front().id;
}

int16_t FindNextFreeID(int16_t file, OSType type, int16_t start, int16_t limit)
{
  // Among start .. start + count one id is always free; the ids run no
  // further than the limit and the 16-bit range.
  int32_t count = kvres::countResources(file, type);
  int32_t last = std::min<int32_t>({int32_t(start) + count, int32_t(limit) - 1, 32767});
  for (int32_t id = start; id <= last; ++id)
    if (!kvres::getResourceInStore(file, type, int16_t(id), nullptr))
      return int16_t(id);
  return 0;
}

OSErr RemovePreviousResId(int16_t file, OSType type, int16_t id)
{
  OSErr err = kvres::useStore(file);
  if (err != 0)
    return err;
  if (!kvres::getResourceInStore(file, type, id, nullptr))
    return 0;
  err = kvres::removeResource(file, type, id);
  if (err == 0 && file > 0)
    err = kvres::updateStore(file);
  return err;
}

OSErr LoadIDResHandle(OSType type, int16_t id, Handle* out, StringPtr name)
{
  if (out)
    *out = nullptr;
  kvres::Resource r;
  if (!out || !kvres::getResourceInStore(kvres::currentStore(), type, id, &r))
    return -1;
  Handle h = NewHandle(int32_t(r.data.size()));
  if (!h)
    return MemError();
  if (!r.data.empty())
    std::memcpy(*h, r.data.data(), r.data.size());
  *out = h;
  putName(name, r.name);
  return 0;
}

OSErr LoadResData(int16_t file, OSType type, ConstStringPtr name, void* buffer, int32_t maximum)
{
  int16_t before = kvres::currentStore();
  kvres::useStore(file);
  kvres::Resource r;
  bool found = kvres::getNamedResource(type, nameOf(name), &r);
  kvres::useStore(before);
  return found ? copyOut(r, buffer, maximum) : OSErr(-1);
}

OSErr LoadIDResData(int16_t file, OSType type, int16_t id, void* buffer, int32_t maximum)
{
  kvres::Resource r;
  if (!kvres::getResourceInStore(file, type, id, &r))
    return -1;
  return copyOut(r, buffer, maximum);
}

OSErr LoadIDNamedResData(int16_t file, OSType type, int16_t id, StringPtr name, void* buffer,
                         int32_t maximum)
{
  kvres::Resource r;
  if (!kvres::getResourceInStore(file, type, id, &r))
    return -1;
  putName(name, r.name);
  return copyOut(r, buffer, maximum);
}

OSErr SaveIDResData(int16_t file, OSType type, int16_t id, const void* buffer, int32_t size)
{
  return saveData(file, type, id, std::string(), buffer, size);
}

OSErr SaveNamedIDResData(int16_t file, OSType type, int16_t id, ConstStringPtr name,
                         const void* buffer, int32_t size)
{
  return saveData(file, type, id, nameOf(name), buffer, size);
}

OSErr SaveIDResPtr(int16_t file, OSType type, int16_t id, ConstStringPtr name, const void* data,
                   int32_t size)
{
  OSErr err = RemovePreviousResId(file, type, id);
  if (err == 0 && (size < 0 || (size > 0 && !data)))
    err = paramErr;
  if (err == 0)
    err = kvres::putResource(file, {type, id, nameOf(name), bytesOf(data, size)});
  if (err == 0)
    err = kvres::updateStore(file);
  if (err != 0)
    PlayAlertSound();
  return err;
}

OSErr SaveIDResHandle(int16_t file, OSType type, int16_t id, ConstStringPtr name, Handle h)
{
  if (!h || !*h)
    return -1;
  return SaveIDResPtr(file, type, id, name, *h, GetHandleSize(h));
}

OSErr NewResource(Handle h, OSType type, int16_t id, ConstStringPtr name)
{
  if (!h || !*h)
    return paramErr;
  int16_t file = kvres::currentStore();
  OSErr err = kvres::putResource(file, {type, id, nameOf(name), bytesOf(*h, GetHandleSize(h))});
  if (err == 0)
    err = kvres::updateStore(file);
  return err;
}
