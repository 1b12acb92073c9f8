// The memory pool: one zero-filled block obtained at start-up from which
// long-lived records (the world record, the image scratch block, the sound
// records) are carved in 16-byte steps. Nothing is freed piece by piece.
//
// Main thread only: there is no lock. Running out of the pool is fatal: the
// user is told "Static Mem block too small" and the program ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

struct MemPool
{
  unsigned char* base;  // start of the block; null before finit and after fkill
  uint32_t capacity;    // bytes in the block
  uint32_t used;        // bytes handed out, a multiple of 16; next object at base + used
};

// The program's one pool, created by the start-up before anything carves from it.
extern MemPool gMemPool;

// The smallest pool the start-up creates.
constexpr int32_t kMemPoolFloorSize = 1003600;

// Bytes one request of `size` takes from the pool: size rounded up to 16.
constexpr uint64_t MemPoolStep(uint64_t size)
{
  return (size + 15) & ~uint64_t(15);
}

// The size the start-up passes to finit: the larger of the floor and the sum
// of the steps of every record carved at start-up. The start-up lists the
// sizeof of each record it carves here, so that the pool grows with them:
//   finit(&gMemPool, MemPoolStartupSize({sizeof(World), kTempBufferSize, ...}));
// Saturates below 2^31 so the result always fits finit's argument.
constexpr int32_t MemPoolStartupSize(std::initializer_list<size_t> carvedSizes)
{
  constexpr uint64_t kLimit = 0x7FFFFFE0;
  uint64_t need = 0;
  for (size_t size : carvedSizes) {
    need += MemPoolStep(size);
    if (need > kLimit)
      return int32_t(kLimit);
  }
  return need > uint64_t(kMemPoolFloorSize) ? int32_t(need) : kMemPoolFloorSize;
}

// Creates the block: capacity = (size + 16) rounded down to 16, zero-filled,
// used = 0. A request that cannot be met (no memory, negative size) ends the
// program at once through ExitToShell, without a message.
void finit(MemPool* pool, int32_t size);

// Returns the next (size rounded up to 16) bytes of the pool, zero-filled and
// 16-byte aligned in memory. A size of 0 returns the current free address and
// takes nothing. When the pool cannot hold the step, or the size is negative,
// the user is told "Static Mem block too small" (reportText with 0) and the
// program ends through ExitToShell; nothing is returned.
void* AddMemObject(MemPool* pool, int32_t size);

// Returns the block; base becomes null, capacity and used keep their values.
void fkill(MemPool* pool);
