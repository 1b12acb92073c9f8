#include "ui/uilayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "foundation/appshell.h"
#include "foundation/bigendian.h"
#include "foundation/fileio.h"
#include "foundation/iodata.h"
#include "foundation/pstrings.h"
#include "platform/stillimage.h"
#include "ui/filedialogs.h"
#include "ui/uilib.h"
#include "ui/uiset.h"

namespace {

constexpr int32_t kMaxNameLength = 63;
constexpr normalcolor kNumberText{255, 0, 0, 40};
constexpr normalcolor kLightGrey{255, 192, 192, 192};
constexpr normalcolor kEditorColor{255, 0, 128, 64};
constexpr ::textLook kNoTextLook{9, 0, 0, 0};

std::string describe(const char* format, long a, long b = 0)
{
  char text[160];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

bool fail(std::string* why, std::string reason)
{
  if (why)
    *why = std::move(reason);
  return false;
}

normalcolor readColor(const unsigned char* p)
{
  return normalcolor{255, p[1], p[2], p[3]};
}

void writeColor(unsigned char* p, normalcolor c)
{
  p[0] = c.flag;
  p[1] = c.red;
  p[2] = c.green;
  p[3] = c.blue;
}

Rect readRect(const unsigned char* p)
{
  return Rect{be::get_i16(p), be::get_i16(p + 2), be::get_i16(p + 4), be::get_i16(p + 6)};
}

void writeRect(unsigned char* p, const Rect& r)
{
  be::put_i16(p, r.top);
  be::put_i16(p + 2, r.left);
  be::put_i16(p + 4, r.bottom);
  be::put_i16(p + 6, r.right);
}

uint32_t readLittle32(const unsigned char* p)
{
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void writeLittle32(unsigned char* p, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    p[i] = uint8_t(v >> (8 * i));
}

// A name field of 64 bytes; false when its length byte exceeds 63.
bool readName(const unsigned char* p, StringPtr out)
{
  if (p[0] > kMaxNameLength)
    return false;
  std::memcpy(out, p, size_t(p[0]) + 1);
  return true;
}

// A Str63 as stored: a length byte above 63 cannot be right and is held
// to 63.
void writeName(unsigned char* p, ConstStringPtr name)
{
  const uint8_t length = std::min<uint8_t>(name[0], kMaxNameLength);
  p[0] = length;
  std::memcpy(p + 1, name + 1, length);
}

bool holdsNumberRange(uint8_t kind)
{
  return kind == kUIScroller || kind == kUICheckbox || kind == kUINumber ||
         kind == kUIMultiVector || kind == kUICGradation;
}

void writeRecord(unsigned char* p, uitem& item)
{
  p[0] = item.layer;
  p[1] = item.kind;
  p[2] = uint8_t(item.style);
  p[3] = uint8_t(item.altStyle);
  p[4] = item.anchor;
  p[5] = uint8_t(item.variant);
  p[6] = item.transparency;
  p[7] = uint8_t(item.columns);
  be::put_i16(p + 10, item.resID);
  writeColor(p + 12, item.color1);
  writeColor(p + 16, item.color2);
  writeRect(p + 20, item.rect);
  const ::textLook* look = item.GetTinf();
  const ::textLook t = look ? *look : kNoTextLook;
  p[28] = uint8_t(t.size);
  p[29] = t.font;
  p[30] = t.face;
  p[31] = t.just;
  if (item.kind == kUITextButton || item.kind == kUIPictButton)
    writeLittle32(p + 32, uint32_t(item.GetOpcode()));
  if (const uiNumberInfo* number = item.GetNinf()) {
    be::put_i16(p + 36, number->entries);
    p[38] = number->mode;
    p[39] = number->arrows;
    be::put_f32(p + 40, number->min);
    be::put_f32(p + 44, number->max);
  }
  writeName(p + 56, item.name);
}

}  // namespace

void UI_LayoutFileName(int16_t id, StringPtr out)
{
  char text[16];
  std::snprintf(text, sizeof text, "UI_%d", int(id));
  SetPString(out, text);
}

bool ReadUISETHeader(const unsigned char* data, size_t size, uiLayout* out, int32_t* count,
                     std::string* why)
{
  if (size < kUILayoutHeaderSize)
    return fail(why, describe("%ld bytes: shorter than the 140-byte header", long(size)));
  *count = be::get_i16(data + 2);
  if (*count < 0 || *count > kUIMaxItems)
    return fail(why, describe("item count %ld outside 0..1024", *count));
  out->setID = be::get_i16(data);
  out->layersFlag = be::get_u16(data + 4);
  out->designWidth = be::get_i16(data + 8);
  out->designHeight = be::get_i16(data + 10);
  if (out->designWidth < 0 || out->designHeight < 0)
    return fail(why,
                describe("negative design size %ld x %ld", out->designWidth, out->designHeight));
  out->totalBox = readRect(data + 12);
  for (int i = 0; i < 4; ++i)
    out->stateWords[i] = be::get_u32(data + 20 + 4 * i);
  for (int i = 0; i < 5; ++i)
    out->colors[i] = readColor(data + 36 + 4 * i);
  out->hiliteColor = readColor(data + 56);
  if (!readName(data + 76, out->name))
    return fail(why, describe("set name length %ld above 63", data[76]));
  return true;
}

void UI_ApplyKindDefaults(e_uiallinfos* info)
{
  info->color1.flag = 255;
  info->color2.flag = 255;
  if (info->kind == kUINumber) {
    info->color1 = kNumberText;
    info->color2 = kLightGrey;
    info->textLook.size = 10;
    info->textLook.font = 1;
  }
  if (info->kind == kUIPopMenu && info->style == 3)
    info->color2 = kLightGrey;
  if (info->kind == kUIBox && info->variant == 0)
    info->altStyle = 2;
  if (info->kind == kUIXEditor)
    info->color2 = kEditorColor;
}

bool UI_CheckItemRecord(const e_uiallinfos& info, std::string* why)
{
  if (info.kind > kUILastKind)
    return fail(why, describe("kind %ld above 14", info.kind));
  if (info.name[0] > kMaxNameLength)
    return fail(why, describe("name length %ld above 63", info.name[0]));
  if (info.entries < 0)
    return fail(why, describe("negative entries %ld", info.entries));
  if (holdsNumberRange(info.kind) && (!std::isfinite(info.min) || !std::isfinite(info.max)))
    return fail(why, "min or max not finite");
  return true;
}

bool ReadUITEMdata(const unsigned char* p, e_uiallinfos* out, std::string* why)
{
  e_uiallinfos info;
  info.layer = p[0];
  info.kind = p[1];
  info.style = int8_t(p[2]);
  info.altStyle = int8_t(p[3]);
  info.anchor = p[4];
  info.variant = int8_t(p[5]);
  info.transparency = p[6];
  info.columns = int8_t(p[7]);
  info.resID = be::get_i16(p + 10);
  info.color1 = readColor(p + 12);
  info.color2 = readColor(p + 16);
  info.rect = readRect(p + 20);
  info.textLook = ::textLook{int8_t(p[28]), p[29], p[30], p[31]};
  if (info.kind == kUITextButton || info.kind == kUIPictButton)
    info.word1 = readLittle32(p + 32);
  info.entries = be::get_i16(p + 36);
  info.mode = p[38];
  info.arrows = p[39];
  info.min = be::get_f32(p + 40);
  info.max = be::get_f32(p + 44);
  if (p[56] > kMaxNameLength)
    return fail(why, describe("name length %ld above 63", p[56]));
  readName(p + 56, info.name);
  if (!UI_CheckItemRecord(info, why))
    return false;
  UI_ApplyKindDefaults(&info);
  *out = info;
  return true;
}

bool UI_ParseLayout(const unsigned char* data, size_t size, uiLayout* out, std::string* why)
{
  uiLayout layout;
  int32_t count = 0;
  if (!ReadUISETHeader(data, size, &layout, &count, why))
    return false;
  const size_t needed = kUILayoutHeaderSize + kUILayoutRecordSize * size_t(count);
  if (size < needed)
    return fail(why, describe("%ld bytes: shorter than the %ld item records", long(size), count));
  layout.items.resize(size_t(count));
  for (int32_t i = 0; i < count; ++i) {
    std::string reason;
    const unsigned char* record = data + kUILayoutHeaderSize + kUILayoutRecordSize * size_t(i);
    if (!ReadUITEMdata(record, &layout.items[size_t(i)], &reason))
      return fail(why, describe("item %ld: ", i) + reason);
  }
  *out = std::move(layout);
  return true;
}

bool UI_ReadLayoutFile(const FileRef& file, uiLayout* out, std::string* why)
{
  auto bytes = xReadBuffer(file);
  if (!bytes)
    return fail(why, "cannot read " + file.path());
  return UI_ParseLayout(bytes->data(), bytes->size(), out, why);
}

std::vector<unsigned char> UI_LayoutBytes(const uiset& set)
{
  const int16_t count = set.items ? set.count : 0;
  std::vector<unsigned char> bytes(kUILayoutHeaderSize + kUILayoutRecordSize * size_t(count));
  unsigned char* h = bytes.data();
  be::put_i16(h, set.setID);
  be::put_i16(h + 2, count);
  be::put_u16(h + 4, set.layersOn);
  be::put_i16(h + 8, set.designWidth);
  be::put_i16(h + 10, set.designHeight);
  writeRect(h + 12, set.totalBox);
  for (int i = 0; i < 4; ++i)
    be::put_u32(h + 20 + 4 * i, set.stateWords[i]);
  for (int i = 0; i < 5; ++i)
    writeColor(h + 36 + 4 * i, set.colors[i]);
  writeColor(h + 56, gUILib.hiliteColor);
  writeName(h + 76, set.name);
  for (int16_t i = 0; i < count; ++i)
    writeRecord(h + kUILayoutHeaderSize + kUILayoutRecordSize * size_t(i), *set.Getuitem(i));
  return bytes;
}

bool WriteUISETdata(const std::string& path, const uiset& set, std::string* why)
{
  std::vector<unsigned char> bytes = UI_LayoutBytes(set);
  return kvimg::replaceFile(path, bytes.data(), bytes.size(), why);
}

bool WriteUISET(const FileRef& ref, const uiset& set, bool buildName, std::string* why)
{
  FileRef file = ref;
  if (buildName) {
    Str63 fileName;
    UI_LayoutFileName(set.setID, fileName);
    file = ref.child(std::string(reinterpret_cast<const char*>(fileName + 1), fileName[0]));
  }
  if (file.name.empty())
    return fail(why, "no file name");
  if (!WriteUISETdata(file.path(), set, why))
    return false;
  SetFileTypeAndCreator(file, kUILayoutType, kUILayoutCreator);
  return true;
}

// ---- Saving from the set -----------------------------------------------------------

namespace {

void fitDesignToItems(uiset& set)
{
  set.CompTotalBox();
  set.designWidth = std::max<int16_t>(set.designWidth, int16_t(set.totalBox.right + 2));
  set.designHeight = std::max<int16_t>(set.designHeight, int16_t(set.totalBox.bottom + 2));
}

}  // namespace

bool uiset::WriteToContent(const FileRef& folder, std::string* why)
{
  fitDesignToItems(*this);
  return WriteUISET(folder, *this, true, why);
}

bool uiset::WriteToFile(std::string* why)
{
  fitDesignToItems(*this);
  Str255 previousPrompt;
  std::memcpy(previousPrompt, gIOdata.prompt, sizeof previousPrompt);
  const OSType previousType = gIOdata.typeList[0];
  SetPString(gIOdata.prompt, "Save UI file");
  gIOdata.typeList[0] = kUILayoutType;
  const bool chosen = xMASTER_FILE_PUT(name) != 0;
  std::memcpy(gIOdata.prompt, previousPrompt, sizeof previousPrompt);
  gIOdata.typeList[0] = previousType;
  if (!chosen)
    return fail(why, "no file chosen");
  FileRef file = gIOdata.resultRef.child(HFS_2_UTF8(gIOdata.resultName));
  return WriteUISET(file, *this, false, why);
}
