// Reads and writes palette libraries and double tables through the program's
// own file routines, so that an independent script can check the bytes.
//
//   kvfile_dump read-lib PATH        prints "ok" or "fail", then each slot
//   kvfile_dump write-lib PATH       writes the patterned library of patterned_palettes.h
//   kvfile_dump read-table PATH MAX  prints the count, then each double's bits
//   kvfile_dump write-table PATH N   writes doubles i * 0.37 - 5.0, i < N
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/palettefiles.h"
#include "foundation/doubletables.h"
#include "tests/engine/patterned_palettes.h"

namespace {

int readLib(const FileRef& file)
{
  cpalettelib lib{};
  if (!read_cpalettelib(&lib, file)) {
    std::puts("fail");
    return 0;
  }
  std::puts("ok");
  for (int k = 0; k < kPaletteLibSize; ++k) {
    std::printf("slot %d %d ", k, lib.palettes[k].count);
    for (const normalcolor& c : lib.palettes[k].colors)
      std::printf("%02x%02x%02x%02x", c.flag, c.red, c.green, c.blue);
    std::printf("\n");
  }
  std::printf("words %d %d\n", lib.highestUsed, lib.reserved);
  return 0;
}

int readTable(const FileRef& file, int32_t maximum)
{
  std::vector<double> table(size_t(maximum > 0 ? maximum : 0));
  int32_t n = lowread_table(table.data(), maximum, file);
  std::printf("count %d\n", n);
  for (int32_t i = 0; i < n; ++i) {
    uint64_t bits;
    std::memcpy(&bits, &table[i], sizeof bits);
    std::printf("%016" PRIx64 "\n", bits);
  }
  return 0;
}

int writeTable(const FileRef& file, int32_t n)
{
  std::vector<double> table(n > 0 ? size_t(n) : 0);
  for (int32_t i = 0; i < n; ++i)
    table[i] = i * 0.37 - 5.0;
  frefinfos record;
  record.parent = file.parentRef();
  record.name[0] = uint8_t(file.name.size());
  std::memcpy(record.name + 1, file.name.data(), file.name.size());
  return directwrite_table(table.data(), n, record, fourcc("Qjtb"), 0) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 3) {
    std::fprintf(stderr, "usage: kvfile_dump read-lib|write-lib|read-table|write-table PATH [N]\n");
    return 2;
  }
  std::string command = argv[1];
  FileRef file = FileRef::fromPath(argv[2]);
  int32_t number = argc > 3 ? int32_t(std::atoi(argv[3])) : 0;
  if (command == "read-lib")
    return readLib(file);
  if (command == "write-lib") {
    cpalettelib lib = patternedPalettes();
    return write_cpalettelib(&lib, file) ? 0 : 1;
  }
  if (command == "read-table")
    return readTable(file, number);
  if (command == "write-table")
    return writeTable(file, number);
  std::fprintf(stderr, "unknown command %s\n", command.c_str());
  return 2;
}
