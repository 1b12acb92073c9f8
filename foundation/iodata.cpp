#include "foundation/iodata.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "foundation/fileio.h"

NavUserData gIOdata;

int32_t GenericPreviewHookProc(OSType, FileRef*, Point, Point, bool)
{
  return 0;
}

void SetUpNavUserDatas(NavUserData* block, int32_t setupValue, OSType creator, OSType type)
{
  *block = NavUserData{};
  block->typeList[0] = type;
  block->typeCount = 1;
  block->setupValue = setupValue;
  block->creator = creator;
  block->favourites[0] = kvfs::executableFolder();
  block->favouriteCount = 1;
}

namespace {

void setTypeList(std::initializer_list<const char*> codes)
{
  int count = 0;
  for (const char* code : codes) {
    char text[5] = {code[0], code[1], code[2], code[3], 0};
    gIOdata.typeList[count++] = fourcc(text);
  }
  gIOdata.typeCount = int16_t(count);
}

}  // namespace

void SetImageTypeList()
{
  setTypeList({"TIFF", "PNGf", "PDF ", "PICT", "JPEG", "PICS", "8BPS", "BMPf", "qtif", "GIFf"});
}

void SetGraphicTypeList()
{
  setTypeList({"TIFF", "PNGf", "PDF ", "PICT", "JPEG", "PICS", "8BPS", "BMPf", "qtif", "GIFf",
               "MooV", "dvc!", "MPEG", "VfW ", "SWFL", "mpg4"});
}

void xSetDefaultLoc(const FileRef& folder, ConstStringPtr itemName, uint8_t flag)
{
  gIOdata.selectDefault = flag;
  gIOdata.defaultLocation = folder;
  FileRef item;
  if (flag == 0 && itemName && itemName[0] > 0 &&
      MakeFileFSRef(folder, std::string(itemName + 1, itemName + 1 + itemName[0]), &item))
    gIOdata.defaultLocation = item;
  gIOdata.defaultLocationPtr = &gIOdata.defaultLocation;
}

void xSetDefaultLocfSS(const FileRef& item, uint8_t flag)
{
  if (item.empty() || !kvfs::exists(item))
    return;
  gIOdata.defaultLocation = flag ? item.parentRef() : item;
  gIOdata.selectDefault = flag;
  gIOdata.defaultLocationPtr = &gIOdata.defaultLocation;
}

bool SameFSRef(const FileRef& a, const FileRef& b)
{
  HFSUniStr255 other;
  UTF8_2_HFS(a.name, gIOdata.resultName);
  UTF8_2_HFS(b.name, other);
  return HFS_SameName(gIOdata.resultName, other);
}

void AddFrefListHistory(FileRef* list, int16_t capacity, int16_t* count, const FileRef& ref)
{
  if (capacity < 1)
    return;
  int n = std::clamp<int>(*count, 0, capacity);
  for (int i = 0; i < n; ++i)
    if (SameFSRef(list[i], ref)) {
      std::move(list + i + 1, list + n, list + i);
      --n;
      break;
    }
  n = std::min<int>(n + 1, capacity);
  std::move_backward(list, list + n - 1, list + n);
  list[0] = ref;
  *count = int16_t(n);
}

void AddFrefinfosListHistory(FileRef* list, int16_t capacity, int16_t* count,
                             const frefinfos& record)
{
  FileRef ref;
  if (App_frefinfos2fSRef(record, &ref))
    AddFrefListHistory(list, capacity, count, ref);
}
