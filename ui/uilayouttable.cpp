#include "ui/uilayouttable.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

namespace {

// ---- Text helpers --------------------------------------------------------------------

std::vector<std::string_view> split(std::string_view line, char separator)
{
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    size_t at = line.find(separator, start);
    parts.push_back(line.substr(start, at == std::string_view::npos ? at : at - start));
    if (at == std::string_view::npos)
      return parts;
    start = at + 1;
  }
}

// A decimal number, or hexadecimal after 0x, within [low, high].
bool parseLong(std::string_view token, long low, long high, long* out)
{
  std::string text(token);
  const bool hex = text.starts_with("0x") || text.starts_with("0X");
  if (text.empty() || (hex && text.size() == 2))
    return false;
  char* end = nullptr;
  long v = std::strtol(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
  if (*end != 0 || v < low || v > high)
    return false;
  *out = v;
  return true;
}

bool parseColor(std::string_view token, normalcolor* out)
{
  std::vector<std::string_view> parts = split(token, ',');
  if (parts.size() != 4)
    return false;
  for (int i = 0; i < 4; ++i) {
    long v;
    if (!parseLong(parts[size_t(i)], 0, 255, &v))
      return false;
    (*out)[i] = uint8_t(v);
  }
  return true;
}

std::string printColor(normalcolor c)
{
  char text[32];
  std::snprintf(text, sizeof text, "%d,%d,%d,%d", c.flag, c.red, c.green, c.blue);
  return text;
}

bool parseFloat(std::string_view token, float* out)
{
  std::string text(token);
  if (text.size() == 10 && text.starts_with("0x")) {
    long bits;
    if (!parseLong(text, 0, 0xFFFFFFFFL, &bits))
      return false;
    *out = std::bit_cast<float>(uint32_t(bits));
    return true;
  }
  if (text.empty())
    return false;
  char* end = nullptr;
  float v = std::strtof(text.c_str(), &end);
  if (*end != 0 || !std::isfinite(v))
    return false;
  *out = v;
  return true;
}

std::string printFloat(float v)
{
  char text[32];
  if (std::isfinite(v))
    std::snprintf(text, sizeof text, "%.9g", double(v));
  else
    std::snprintf(text, sizeof text, "0x%08X", unsigned(std::bit_cast<uint32_t>(v)));
  return text;
}

bool isCodeByte(uint8_t b)
{
  return b >= 0x20 && b < 0x7F && b != '\'';
}

bool parseOpcode(std::string_view token, uint32_t* out)
{
  if (token.size() == 6 && token.front() == '\'' && token.back() == '\'') {
    uint32_t v = 0;
    for (size_t i = 1; i <= 4; ++i)
      v = (v << 8) | uint8_t(token[i]);
    *out = v;
    return true;
  }
  long v;
  if (!parseLong(token, -2147483648L, 4294967295L, &v))
    return false;
  *out = uint32_t(v);
  return true;
}

std::string printOpcode(uint32_t op)
{
  bool code = true;
  for (int i = 0; i < 4; ++i)
    code = code && isCodeByte(uint8_t(op >> (24 - 8 * i)));
  // Small numbers stay numbers; only words of four code bytes are codes.
  if (code) {
    std::string text = "'";
    for (int i = 0; i < 4; ++i)
      text += char(op >> (24 - 8 * i));
    return text + "'";
  }
  return std::to_string(int32_t(op));
}

bool unescape(std::string_view text, StringPtr out)
{
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\\') {
      bytes += c;
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\\') {
      bytes += '\\';
      ++i;
      continue;
    }
    long v;
    if (i + 3 >= text.size() || text[i + 1] != 'x' ||
        !parseLong("0x" + std::string(text.substr(i + 2, 2)), 0, 255, &v))
      return false;
    bytes += char(v);
    i += 3;
  }
  if (bytes.size() > 63)
    return false;
  out[0] = uint8_t(bytes.size());
  std::memcpy(out + 1, bytes.data(), bytes.size());
  return true;
}

std::string escape(ConstStringPtr name)
{
  std::string text;
  for (int i = 1; i <= name[0]; ++i) {
    uint8_t b = name[i];
    const bool trailingBlank = b == ' ' && i == name[0];
    if (b == '\\') {
      text += "\\\\";
    } else if (b < 0x20 || b == 0x7F || trailingBlank) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      text += hex;
    } else {
      text += char(b);
    }
  }
  return text;
}

// ---- Item columns ----------------------------------------------------------------------

enum class ColumnType
{
  Integer,
  Color,
  Opcode,
  Float,
  Name,
};

struct Column
{
  ColumnType type;
  long low, high;  // integers
  long (*get)(const e_uiallinfos&);
  void (*set)(e_uiallinfos&, long);
  normalcolor e_uiallinfos::*color;
  float e_uiallinfos::*number;
};

constexpr long kByteLow = 0, kByteHigh = 255, kSignedLow = -128, kSignedHigh = 127;
constexpr long kShortLow = -32768, kShortHigh = 32767;

// An integer column over the field that Field gives.
template <auto Field>
constexpr Column intColumn(long low, long high)
{
  return Column{ColumnType::Integer,
                low,
                high,
                [](const e_uiallinfos& e) -> long {
                  e_uiallinfos copy = e;
                  return long(Field(copy));
                },
                [](e_uiallinfos& e, long v) {
                  auto& field = Field(e);
                  field = std::remove_reference_t<decltype(field)>(v);
                },
                nullptr,
                nullptr};
}

const Column kColumns[] = {
    intColumn<[](e_uiallinfos& e) -> uint8_t& { return e.layer; }>(kByteLow, kByteHigh),
    intColumn<[](e_uiallinfos& e) -> uint8_t& { return e.kind; }>(kByteLow, kByteHigh),
    intColumn<[](e_uiallinfos& e) -> int8_t& { return e.style; }>(kSignedLow, kSignedHigh),
    intColumn<[](e_uiallinfos& e) -> int8_t& { return e.altStyle; }>(kSignedLow, kSignedHigh),
    intColumn<[](e_uiallinfos& e) -> uint8_t& { return e.anchor; }>(kByteLow, kByteHigh),
    intColumn<[](e_uiallinfos& e) -> int8_t& { return e.variant; }>(kSignedLow, kSignedHigh),
    intColumn<[](e_uiallinfos& e) -> uint8_t& { return e.transparency; }>(kByteLow, kByteHigh),
    intColumn<[](e_uiallinfos& e) -> int8_t& { return e.columns; }>(kSignedLow, kSignedHigh),
    intColumn<[](e_uiallinfos& e) -> int16_t& { return e.resID; }>(kShortLow, kShortHigh),
    Column{ColumnType::Color, 0, 0, nullptr, nullptr, &e_uiallinfos::color1, nullptr},
    Column{ColumnType::Color, 0, 0, nullptr, nullptr, &e_uiallinfos::color2, nullptr},
    intColumn<[](e_uiallinfos& e) -> int16_t& { return e.rect.top; }>(kShortLow, kShortHigh),
    intColumn<[](e_uiallinfos& e) -> int16_t& { return e.rect.left; }>(kShortLow, kShortHigh),
    intColumn<[](e_uiallinfos& e) -> int16_t& { return e.rect.bottom; }>(kShortLow, kShortHigh),
    intColumn<[](e_uiallinfos& e) -> int16_t& { return e.rect.right; }>(kShortLow, kShortHigh),
    intColumn<[](e_uiallinfos& e) -> int8_t& { return e.textLook.size; }>(kSignedLow, kSignedHigh),
    intColumn<[](e_uiallinfos& e) -> uint8_t& { return e.textLook.font; }>(kByteLow, kByteHigh),
    intColumn<[](e_uiallinfos& e) -> uint8_t& { return e.textLook.face; }>(kByteLow, kByteHigh),
    intColumn<[](e_uiallinfos& e) -> uint8_t& { return e.textLook.just; }>(kByteLow, kByteHigh),
    Column{ColumnType::Opcode, 0, 0, nullptr, nullptr, nullptr, nullptr},
    intColumn<[](e_uiallinfos& e) -> int16_t& { return e.entries; }>(kShortLow, kShortHigh),
    intColumn<[](e_uiallinfos& e) -> uint8_t& { return e.mode; }>(kByteLow, kByteHigh),
    intColumn<[](e_uiallinfos& e) -> uint8_t& { return e.arrows; }>(kByteLow, kByteHigh),
    Column{ColumnType::Float, 0, 0, nullptr, nullptr, nullptr, &e_uiallinfos::min},
    Column{ColumnType::Float, 0, 0, nullptr, nullptr, nullptr, &e_uiallinfos::max},
    Column{ColumnType::Name, 0, 0, nullptr, nullptr, nullptr, nullptr},
};

constexpr size_t kColumnCount = std::size(kColumns);

bool parseCell(const Column& column, std::string_view token, e_uiallinfos* item)
{
  switch (column.type) {
    case ColumnType::Integer: {
      long v;
      if (!parseLong(token, column.low, column.high, &v))
        return false;
      column.set(*item, v);
      return true;
    }
    case ColumnType::Color:
      return parseColor(token, &(item->*column.color));
    case ColumnType::Opcode: {
      uint32_t op;
      if (!parseOpcode(token, &op))
        return false;
      item->word1 = op;
      return true;
    }
    case ColumnType::Float:
      return parseFloat(token, &(item->*column.number));
    case ColumnType::Name:
      return unescape(token, item->name);
  }
  return false;
}

std::string printCell(const Column& column, const e_uiallinfos& item)
{
  switch (column.type) {
    case ColumnType::Integer:
      return std::to_string(column.get(item));
    case ColumnType::Color:
      return printColor(item.*column.color);
    case ColumnType::Opcode:
      return printOpcode(uint32_t(item.word1));
    case ColumnType::Float:
      return printFloat(item.*column.number);
    case ColumnType::Name:
      return escape(item.name);
  }
  return {};
}

// ---- Header keys ------------------------------------------------------------------------

// The keys of the set's five colours, in the set's order.
constexpr const char* kColorKeys[5] = {"background", "color2", "frame", "light", "shadow"};

bool parseKey(std::string_view key, std::string_view value, uiLayout* layout, bool* boxGiven)
{
  long v;
  for (int i = 0; i < 5; ++i)
    if (key == kColorKeys[i])
      return parseColor(value, &layout->colors[i]);
  if (key == "id" && parseLong(value, kShortLow, kShortHigh, &v)) {
    layout->setID = int16_t(v);
    return true;
  }
  if (key == "layers" && parseLong(value, 0, 65535, &v)) {
    layout->layersFlag = uint16_t(v);
    return true;
  }
  if (key == "width" && parseLong(value, 0, kShortHigh, &v)) {
    layout->designWidth = int16_t(v);
    return true;
  }
  if (key == "height" && parseLong(value, 0, kShortHigh, &v)) {
    layout->designHeight = int16_t(v);
    return true;
  }
  if (key == "name")
    return unescape(value, layout->name);
  if (key == "states" || key == "box") {
    std::vector<std::string_view> parts = split(value, ' ');
    if (parts.size() != 4)
      return false;
    int16_t* box = &layout->totalBox.top;
    for (size_t i = 0; i < 4; ++i) {
      if (key == "box") {
        if (!parseLong(parts[i], kShortLow, kShortHigh, &v))
          return false;
        box[i] = int16_t(v);
      } else {
        if (!parseLong(parts[i], 0, 0xFFFFFFFFL, &v))
          return false;
        layout->stateWords[i] = uint32_t(v);
      }
    }
    if (key == "box")
      *boxGiven = true;
    return true;
  }
  return false;
}

std::string lineError(size_t line, const std::string& what)
{
  return "line " + std::to_string(line) + ": " + what;
}

}  // namespace

bool UI_LayoutFromTable(std::string_view text, uiLayout* out, bool* boxGiven, std::string* why)
{
  uiLayout layout;
  std::copy(std::begin(kUIDefaultStateWords), std::end(kUIDefaultStateWords), layout.stateWords);
  bool box = false, inItems = false;
  std::vector<std::string_view> lines = split(text, '\n');
  for (size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (line.empty() || line.front() == '#')
      continue;
    if (line == kUILayoutColumns) {
      inItems = true;
      continue;
    }
    if (!inItems) {
      size_t space = line.find(' ');
      std::string_view key = line.substr(0, space);
      std::string_view value = space == std::string_view::npos ? "" : line.substr(space + 1);
      if (!parseKey(key, value, &layout, &box)) {
        if (why)
          *why = lineError(n + 1, "bad key line '" + std::string(line) + "'");
        return false;
      }
      continue;
    }
    std::vector<std::string_view> cells = split(line, '\t');
    if (cells.size() == kColumnCount - 1)
      cells.emplace_back();  // an empty name
    if (cells.size() != kColumnCount) {
      if (why)
        *why = lineError(
            n + 1, std::to_string(cells.size()) + " columns, not " + std::to_string(kColumnCount));
      return false;
    }
    e_uiallinfos item;
    item.textLook = ::textLook{0, 0, 0, 0};
    for (size_t c = 0; c < kColumnCount; ++c) {
      if (!parseCell(kColumns[c], cells[c], &item)) {
        if (why)
          *why = lineError(n + 1, "bad value '" + std::string(cells[c]) + "' in column " +
                                      std::to_string(c + 1));
        return false;
      }
    }
    std::string reason;
    if (!UI_CheckItemRecord(item, &reason)) {
      if (why)
        *why = lineError(n + 1, reason);
      return false;
    }
    // The file keeps a button's opcode only.
    if (item.kind != kUITextButton && item.kind != kUIPictButton)
      item.word1 = 0;
    UI_ApplyKindDefaults(&item);
    if (layout.items.size() >= size_t(kUIMaxItems)) {
      if (why)
        *why = lineError(n + 1, "more than 1024 items");
      return false;
    }
    layout.items.push_back(item);
  }
  for (int i = 0; i < 5; ++i)
    layout.colors[i].flag = 255;
  *out = std::move(layout);
  if (boxGiven)
    *boxGiven = box;
  return true;
}

std::string UI_LayoutToTable(const uiLayout& layout)
{
  char line[256];
  std::string text;
  std::snprintf(line, sizeof line, "id %d\nlayers %d\nwidth %d\nheight %d\nbox %d %d %d %d\n",
                layout.setID, layout.layersFlag, layout.designWidth, layout.designHeight,
                layout.totalBox.top, layout.totalBox.left, layout.totalBox.bottom,
                layout.totalBox.right);
  text += line;
  std::snprintf(line, sizeof line, "states 0x%08X 0x%08X 0x%08X 0x%08X\n",
                unsigned(layout.stateWords[0]), unsigned(layout.stateWords[1]),
                unsigned(layout.stateWords[2]), unsigned(layout.stateWords[3]));
  text += line;
  for (int i = 0; i < 5; ++i)
    text += std::string(kColorKeys[i]) + " " + printColor(layout.colors[i]) + "\n";
  text += "name " + escape(layout.name) + "\n";
  text += std::string(kUILayoutColumns) + "\n";
  for (const e_uiallinfos& item : layout.items) {
    for (size_t c = 0; c < kColumnCount; ++c) {
      if (c)
        text += '\t';
      text += printCell(kColumns[c], item);
    }
    text += '\n';
  }
  return text;
}
