#include "components/f21/f21_blurcache.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "components/f21/f21_pictfilters.h"
#include "imaging/ports.h"

namespace {

struct BlurSet
{
  F21blurKey key;
  Offworld sums;
  int holders;
};

// The sets held now. Only preparation and the tree management touch the list
// (never a compute function), so the lock is never taken on a render thread.
struct BlurSets
{
  std::mutex lock;
  std::vector<BlurSet> sets;
};

// Never destroyed: sets still held at exit stay reachable, and no render or
// preparation can outlive the list.
BlurSets& blurSets()
{
  static BlurSets* sets = new BlurSets;
  return *sets;
}

std::atomic<uint64_t> gBuilds{0};

// FNV-1a over 64-bit words, then the byte tail.
struct Fingerprint
{
  uint64_t h = 14695981039346656037ull;
  void mix(uint64_t v)
  {
    h ^= v;
    h *= 1099511628211ull;
  }
  void bytes(const uint8_t* p, size_t n)
  {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      uint64_t v;
      std::memcpy(&v, p + i, sizeof v);
      mix(v);
    }
    for (; i < n; ++i)
      mix(p[i]);
  }
};

Offworld buildSums(const F21blurKey& key, Offworld source)
{
  Offworld sums = nullptr;
  const Rect bounds{0, 0, int16_t(key.height), int16_t(key.width)};
  if (CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), 32, &sums) != noErr)
    return nullptr;
  LockPixels(&sums->pixels);
  ConvertToscalar16(source, sums, key.blur, key.width, key.height);
  gBuilds.fetch_add(1, std::memory_order_relaxed);
  return sums;
}

}  // namespace

uint64_t f21_pictureFingerprint(const GWorldRec* source, int32_t width, int32_t height)
{
  Fingerprint f;
  if (source == nullptr || source->pixels.baseAddr == nullptr)
    return f.h;
  const PixMap& m = source->pixels;
  f.mix(uint64_t(m.pixelSize));
  f.mix(uint64_t(uint32_t(width)) << 32 | uint32_t(height));
  const size_t rowLength = size_t(std::max(0, width)) * size_t(std::max(1, m.pixelSize / 8));
  if (rowLength > size_t(std::max(0, m.rowBytes)))
    return f.h;
  for (int32_t row = 0; row < height; ++row)
    f.bytes(m.baseAddr + ptrdiff_t(row) * m.rowBytes, rowLength);
  return f.h;
}

Offworld f21_acquireBlur(const F21blurKey& key, Offworld source)
{
  if (key.width <= 0 || key.height <= 0 || key.width > INT16_MAX || key.height > INT16_MAX)
    return nullptr;
  BlurSets& all = blurSets();
  std::lock_guard<std::mutex> hold(all.lock);
  for (BlurSet& s : all.sets)
    if (s.key == key) {
      ++s.holders;
      return s.sums;
    }
  Offworld sums = buildSums(key, source);
  if (sums != nullptr)
    all.sets.push_back(BlurSet{key, sums, 1});
  return sums;
}

void f21_releaseBlur(Offworld sums)
{
  if (sums == nullptr)
    return;
  BlurSets& all = blurSets();
  std::lock_guard<std::mutex> hold(all.lock);
  auto it = std::find_if(all.sets.begin(), all.sets.end(),
                         [&](const BlurSet& s) { return s.sums == sums; });
  if (it == all.sets.end() || --it->holders > 0)
    return;
  KillOffworld(&it->sums);
  all.sets.erase(it);
}

uint64_t f21_blurBuildCount()
{
  return gBuilds.load(std::memory_order_relaxed);
}

int f21_blurSetCount()
{
  BlurSets& all = blurSets();
  std::lock_guard<std::mutex> hold(all.lock);
  return int(all.sets.size());
}
