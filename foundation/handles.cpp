#include "foundation/handles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "foundation/appshell.h"

namespace {

// The master record: a Handle points at its first field.
struct MasterBlock
{
  char* data;
  size_t size;
};
static_assert(offsetof(MasterBlock, data) == 0);

thread_local OSErr tLastMemError = noErr;

OSErr set_error(OSErr err)
{
  tLastMemError = err;
  return err;
}

MasterBlock* master_of(Handle h)
{
  return reinterpret_cast<MasterBlock*>(h);
}

Handle new_handle(int32_t size, bool clear)
{
  if (size < 0) {
    set_error(paramErr);
    return nullptr;
  }
  auto* master = static_cast<MasterBlock*>(std::malloc(sizeof(MasterBlock)));
  // malloc(0) may return null: keep one byte so that *h is never null.
  char* data = static_cast<char*>(clear ? std::calloc(size > 0 ? size_t(size) : 1, 1)
                                        : std::malloc(size > 0 ? size_t(size) : 1));
  if (master == nullptr || data == nullptr) {
    std::free(master);
    std::free(data);
    set_error(memFullErr);
    return nullptr;
  }
  master->data = data;
  master->size = size_t(size);
  set_error(noErr);
  return &master->data;
}

}  // namespace

Handle NewHandle(int32_t size)
{
  return new_handle(size, false);
}

Handle NewHandleClear(int32_t size)
{
  return new_handle(size, true);
}

int32_t GetHandleSize(Handle h)
{
  if (h == nullptr || *h == nullptr) {
    set_error(nilHandleErr);
    return 0;
  }
  set_error(noErr);
  return int32_t(master_of(h)->size);
}

void SetHandleSize(Handle h, int32_t size)
{
  if (h == nullptr || *h == nullptr) {
    set_error(nilHandleErr);
    return;
  }
  if (size < 0) {
    set_error(paramErr);
    return;
  }
  MasterBlock* master = master_of(h);
  char* data = static_cast<char*>(std::realloc(master->data, size > 0 ? size_t(size) : 1));
  if (data == nullptr) {
    set_error(memFullErr);
    return;
  }
  if (size_t(size) > master->size)
    std::memset(data + master->size, 0, size_t(size) - master->size);
  master->data = data;
  master->size = size_t(size);
  set_error(noErr);
}

void DisposeHandle(Handle h)
{
  if (h == nullptr)
    return;
  MasterBlock* master = master_of(h);
  std::free(master->data);
  std::free(master);
  set_error(noErr);
}

OSErr MemError()
{
  return tLastMemError;
}

// ---- Handle arrays ----

namespace {

// Items in the array, or -1 when the block size cannot be read.
int32_t item_count(Handle h, int32_t itemSize)
{
  int32_t bytes = GetHandleSize(h);
  if (MemError() != noErr)
    return -1;
  return bytes / itemSize;
}

// Grows the array by n items; false (array unchanged) when that fails.
bool grow_items(Handle h, int32_t count, int32_t n, int32_t itemSize)
{
  int64_t bytes = (int64_t(count) + n) * itemSize;
  if (bytes > INT32_MAX) {
    set_error(memFullErr);
    return false;
  }
  SetHandleSize(h, int32_t(bytes));
  return MemError() == noErr;
}

// A new Handle holding copies of n items, or null.
Handle handle_with_items(const void* items, int32_t n, int32_t itemSize)
{
  int64_t bytes = int64_t(n) * itemSize;
  if (bytes > INT32_MAX) {
    set_error(memFullErr);
    return nullptr;
  }
  Handle h = NewHandle(int32_t(bytes));
  if (h != nullptr)
    std::memcpy(*h, items, size_t(bytes));
  return h;
}

}  // namespace

int32_t AddStuff(Handle* h, const void* item, int32_t itemSize)
{
  if (itemSize <= 0)
    return 0;
  if (*h == nullptr) {
    *h = handle_with_items(item, 1, itemSize);
    if (*h != nullptr)
      return 1;
    PlayAlertSound();
    return 0;
  }
  int32_t count = item_count(*h, itemSize);
  if (count < 0) {
    PlayAlertSound();
    return 0;
  }
  if (!grow_items(*h, count, 1, itemSize)) {
    PlayAlertSound();
    return count;
  }
  std::memcpy(**h + size_t(count) * itemSize, item, size_t(itemSize));
  return count + 1;
}

int32_t InsertStuffRange(Handle* h, const void* items, int32_t n, int32_t index, int32_t itemSize)
{
  if (itemSize <= 0)
    return 0;
  if (*h == nullptr) {
    if (n <= 0 || (index != -1 && index != 0))
      return 0;
    *h = handle_with_items(items, n, itemSize);
    return *h != nullptr ? n : 0;
  }
  int32_t count = item_count(*h, itemSize);
  if (count < 0)
    return 0;
  if (n <= 0 || index < -1 || index > count)
    return count;
  if (index == -1)
    index = count;
  if (!grow_items(*h, count, n, itemSize))
    return 0;
  char* at = **h + size_t(index) * itemSize;
  std::memmove(at + size_t(n) * itemSize, at, size_t(count - index) * itemSize);
  std::memcpy(at, items, size_t(n) * itemSize);
  return count + n;
}

int32_t DeleteStuffRange(Handle* h, int32_t first, int32_t last, int32_t itemSize)
{
  if (*h == nullptr || itemSize <= 0)
    return 0;
  int32_t count = item_count(*h, itemSize);
  if (count <= 0)
    return 0;
  if (last > count)
    last = count;
  if (first < 1 || first > last)
    return count;
  if (first == 1 && last == count) {
    DisposeHandle(*h);
    *h = nullptr;
    return 0;
  }
  int32_t removed = last - first + 1;
  char* at = **h + size_t(first - 1) * itemSize;
  std::memmove(at, at + size_t(removed) * itemSize, size_t(count - last) * itemSize);
  SetHandleSize(*h, (count - removed) * itemSize);
  return count - removed;
}

bool ValidHandle(Handle h)
{
  return ValidPointer(h) && ValidPointer(*h);
}

bool ValidPointer(const void* p)
{
  return p != nullptr && (reinterpret_cast<uintptr_t>(p) & 1) == 0;
}
