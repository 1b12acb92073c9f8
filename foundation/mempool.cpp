#include "foundation/mempool.h"

#include <cstdlib>
#include <cstring>

#include "foundation/appshell.h"

MemPool gMemPool{nullptr, 0, 0};

namespace {

constexpr size_t kPoolAlignment = 16;

[[noreturn]] void pool_exhausted()
{
  static const unsigned char kTooSmall[] = "\x1AStatic Mem block too small";
  reportText(kTooSmall, 0);
  ExitToShell();
}

}  // namespace

void finit(MemPool* pool, int32_t size)
{
  pool->base = nullptr;
  pool->used = 0;
  if (size < 0)
    ExitToShell();
  uint32_t capacity = (uint32_t(size) + 16) & ~uint32_t(15);
  void* block = std::aligned_alloc(kPoolAlignment, capacity);
  if (block == nullptr)
    ExitToShell();
  std::memset(block, 0, capacity);
  pool->base = static_cast<unsigned char*>(block);
  pool->capacity = capacity;
}

void* AddMemObject(MemPool* pool, int32_t size)
{
  // A negative size would move `used` backwards and hand out memory that is
  // already in use: it is refused like a request the pool cannot hold.
  if (size < 0 || pool->base == nullptr)
    pool_exhausted();
  uint64_t step = MemPoolStep(uint64_t(size));
  if (uint64_t(pool->used) + step >= pool->capacity)
    pool_exhausted();
  unsigned char* object = pool->base + pool->used;
  pool->used += uint32_t(step);
  return object;
}

void fkill(MemPool* pool)
{
  if (pool->base == nullptr)
    return;
  std::free(pool->base);
  pool->base = nullptr;
}
