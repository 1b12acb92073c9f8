// rsrc_dump FILE [TYPE ID]
//
// Without TYPE and ID: one line a resource, in store order, tab-separated:
// type (four characters), id, name, data size in bytes.
// With them: the resource's contents: a string list ('STR#', 'MENU') one
// string a line, a cursor ('CURS') its shape name, a font size ('FtSz') the
// font and the size, anything else its bytes in hexadecimal, 32 a line.
// A damaged or missing file, or a resource not in it: the reason on
// standard error and exit status 1.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/resources.h"

namespace {

std::string typeText(uint32_t type)
{
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8)
    s += char(type >> shift);
  return s;
}

void printResource(const kvres::Resource& r)
{
  if (r.type == kResStringList || r.type == kResMenu) {
    bool ok = false;
    std::vector<std::string> strings = kvres::parseStringList(r.data, &ok);
    if (!ok)
      std::fprintf(stderr, "rsrc_dump: the string list is damaged\n");
    for (const std::string& s : strings)
      std::printf("%s\n", s.c_str());
  } else if (r.type == kResCursor) {
    std::printf("%.*s\n", int(r.data.size()), reinterpret_cast<const char*>(r.data.data()));
  } else if (r.type == kResFontSize && r.data.size() == 4) {
    std::printf("%d %d\n", int16_t((r.data[0] << 8) | r.data[1]),
                int16_t((r.data[2] << 8) | r.data[3]));
  } else {
    for (size_t i = 0; i < r.data.size(); ++i)
      std::printf("%02x%s", r.data[i], (i % 32 == 31 || i + 1 == r.data.size()) ? "\n" : "");
  }
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: rsrc_dump FILE [TYPE ID]\n");
    return 2;
  }
  kvres::Store store;
  std::string reason;
  if (!kvres::readStoreFile(argv[1], &store, &reason)) {
    std::fprintf(stderr, "rsrc_dump: %s\n", reason.c_str());
    return 1;
  }
  if (argc == 2) {
    for (const kvres::Resource& r : store.all())
      std::printf("%s\t%d\t%s\t%zu\n", typeText(r.type).c_str(), r.id, r.name.c_str(),
                  r.data.size());
    return 0;
  }
  std::string type = argv[2];
  char* end = nullptr;
  long id = std::strtol(argv[3], &end, 10);
  if (type.size() != 4 || *end != '\0' || id < -32768 || id > 32767) {
    std::fprintf(stderr, "rsrc_dump: TYPE is four characters, ID a 16-bit number\n");
    return 2;
  }
  uint32_t code = (uint32_t(uint8_t(type[0])) << 24) | (uint32_t(uint8_t(type[1])) << 16) |
                  (uint32_t(uint8_t(type[2])) << 8) | uint8_t(type[3]);
  const kvres::Resource* r = store.find(code, int16_t(id));
  if (!r) {
    std::fprintf(stderr, "rsrc_dump: no '%s' %ld in %s\n", type.c_str(), id, argv[1]);
    return 1;
  }
  printResource(*r);
  return 0;
}
