#include "imaging/scrap.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <vector>

#include "foundation/handles.h"

namespace {

std::map<OSType, std::vector<uint8_t>>& Flavors()
{
  static std::map<OSType, std::vector<uint8_t>> flavors;
  return flavors;
}

}  // namespace

OSErr ClearCurrentScrap()
{
  Flavors().clear();
  return noErr;
}

OSErr PutScrapFlavor(OSType flavor, int32_t size, const void* data)
{
  if (size < 0 || (size > 0 && !data))
    return paramErr;
  const auto* bytes = static_cast<const uint8_t*>(data);
  Flavors()[flavor].assign(bytes, bytes + size);
  return noErr;
}

OSErr GetScrapFlavorSize(OSType flavor, int32_t* size)
{
  auto it = Flavors().find(flavor);
  if (size)
    *size = it == Flavors().end() ? 0 : int32_t(it->second.size());
  return it == Flavors().end() ? noTypeErr : noErr;
}

OSErr GetScrapFlavorData(OSType flavor, int32_t* size, void* dest)
{
  auto it = Flavors().find(flavor);
  if (it == Flavors().end()) {
    if (size)
      *size = 0;
    return noTypeErr;
  }
  if (!size || !dest || *size < 0)
    return paramErr;
  const int32_t n = std::min<int32_t>(*size, int32_t(it->second.size()));
  std::memcpy(dest, it->second.data(), size_t(n));
  *size = n;
  return noErr;
}

int32_t ScrapFlavorCount()
{
  return int32_t(Flavors().size());
}

OSType ScrapFlavorAt(int32_t index)
{
  if (index < 0 || index >= ScrapFlavorCount())
    return 0;
  return std::next(Flavors().begin(), index)->first;
}
