// Builds the application's resource store from the readable sources:
//
//   make_store OUT.rsrc SOURCE_FOLDER
//
// Each resource is one text file "<id>.txt" or "<id>-<name>.txt" in a folder
// named for its kind (the id may be negative, the name is the resource's):
//   strings/    'STR#' a string list, one string a line (an empty line is an
//               empty string; at most 255 bytes a string)
//   menus/      'MENU' the title on the first line, then one item a line;
//               stored as a string list, title first
//   cursors/    'CURS' one line "shape NAME", NAME a desktop cursor name
//               ("wait", "grabbing"...); the data is the name's bytes
//   fontsizes/  'FtSz' one line "FONT SIZE", two 16-bit numbers, stored
//               big-endian
// Any fault in a source stops the build with the file and line.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/resources.h"

namespace fs = std::filesystem;

namespace {

struct SourceError
{
  std::string text;
};

[[noreturn]] void fault(const fs::path& file, int line, const std::string& what)
{
  std::string where = file.string();
  if (line > 0)
    where += ":" + std::to_string(line);
  throw SourceError{where + ": " + what};
}

bool parseInt(std::string_view text, long lo, long hi, long* out)
{
  long v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi)
    return false;
  *out = v;
  return true;
}

std::vector<std::string> readLines(const fs::path& file)
{
  std::ifstream in(file, std::ios::binary);
  if (!in)
    fault(file, 0, "cannot be read");
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The id and name a source file's name gives.
void identify(const fs::path& file, kvres::Resource* r)
{
  std::string stem = file.stem().string();
  size_t dash = stem.find('-', 1);
  long id = 0;
  if (!parseInt(std::string_view(stem).substr(0, dash), -32768, 32767, &id))
    fault(file, 0, "the file name does not start with a 16-bit id");
  r->id = int16_t(id);
  r->name = dash == std::string::npos ? "" : stem.substr(dash + 1);
  if (r->name.size() > kvres::kMaxResourceName)
    fault(file, 0, "name longer than 255 bytes");
}

std::vector<uint8_t> stringListOf(const fs::path& file, const std::vector<std::string>& lines)
{
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].size() > 255)
      fault(file, int(i + 1), "string longer than 255 bytes");
  if (lines.size() > 0x7FFF)
    fault(file, 0, "too many strings");
  return kvres::makeStringList(lines);
}

std::vector<uint8_t> cursorOf(const fs::path& file, const std::vector<std::string>& lines)
{
  std::istringstream in(lines.empty() ? std::string() : lines[0]);
  std::string word, shape, extra;
  if (!(in >> word >> shape) || word != "shape" || (in >> extra))
    fault(file, 1, "expected \"shape NAME\"");
  return std::vector<uint8_t>(shape.begin(), shape.end());
}

std::vector<uint8_t> fontSizeOf(const fs::path& file, const std::vector<std::string>& lines)
{
  std::istringstream in(lines.empty() ? std::string() : lines[0]);
  std::string fontText, sizeText, extra;
  long font = 0, size = 0;
  if (!(in >> fontText >> sizeText) || (in >> extra) || !parseInt(fontText, -32768, 32767, &font) ||
      !parseInt(sizeText, 1, 32767, &size))
    fault(file, 1, "expected \"FONT SIZE\", two 16-bit numbers");
  return {uint8_t(uint16_t(font) >> 8), uint8_t(font), uint8_t(uint16_t(size) >> 8), uint8_t(size)};
}

struct Kind
{
  const char* folder;
  uint32_t type;
  std::vector<uint8_t> (*data)(const fs::path&, const std::vector<std::string>&);
};

constexpr Kind kKinds[] = {
    {"strings", kResStringList, stringListOf},
    {"menus", kResMenu, stringListOf},
    {"cursors", kResCursor, cursorOf},
    {"fontsizes", kResFontSize, fontSizeOf},
};

void addKind(const fs::path& root, const Kind& kind, kvres::Store* store)
{
  fs::path folder = root / kind.folder;
  if (!fs::is_directory(folder))
    return;
  std::vector<fs::path> files;
  for (const fs::directory_entry& e : fs::directory_iterator(folder))
    if (e.is_regular_file() && e.path().extension() == ".txt")
      files.push_back(e.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    kvres::Resource r;
    r.type = kind.type;
    identify(file, &r);
    if (store->find(r.type, r.id))
      fault(file, 0, "a second resource of this type and id");
    r.data = kind.data(file, readLines(file));
    store->put(std::move(r));
  }
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_store OUT.rsrc SOURCE_FOLDER\n");
    return 2;
  }
  kvres::Store store;
  try {
    for (const Kind& kind : kKinds)
      addKind(argv[2], kind, &store);
  } catch (const SourceError& e) {
    std::fprintf(stderr, "make_store: %s\n", e.text.c_str());
    return 1;
  }
  std::string reason;
  if (!kvres::writeStoreFile(argv[1], store, &reason)) {
    std::fprintf(stderr, "make_store: %s\n", reason.c_str());
    return 1;
  }
  return 0;
}
