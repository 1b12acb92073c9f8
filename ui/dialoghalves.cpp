#include <algorithm>
#include <cstring>

#include "foundation/filenames.h"
#include "ui/dialoghalves_pvt.h"

namespace kvdlg {

void setPrompt(const char* text)
{
  size_t n = std::min<size_t>(std::strlen(text), 255);
  gIOdata.prompt[0] = uint8_t(n);
  std::memcpy(gIOdata.prompt + 1, text, n);
}

void setTypes(std::initializer_list<OSType> types, PreviewHookProcPtr hook)
{
  int16_t count = 0;
  for (OSType t : types)
    if (count < kIOTypeListSize)
      gIOdata.typeList[count++] = t;
  gIOdata.typeCount = count;
  gIOdata.previewHook = hook;
  gIOdata.defaultLocationPtr = nullptr;
}

FileRef savedFile()
{
  return gIOdata.resultRef.child(HFS_2_UTF8(gIOdata.resultName));
}

}  // namespace kvdlg
