// Fuzz target for the tree-file reader: every input is written to a file and
// read with arb_READ into one long-lived document, tables and sound included.
// A damaged file must come back as a failure, never as a crash, a sanitizer
// report or a hang.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "document/treefile.h"
#include "engine/colorfuncs.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/appshell.h"

namespace {

struct FuzzState
{
  std::unique_ptr<KovrelinWorld> world = std::make_unique<KovrelinWorld>();
  std::string path = "/tmp/kv_treefile_fuzz_" + std::to_string(::getpid()) + ".kovr";

  FuzzState()
  {
    gKovrelinWorld = world.get();
    KV_initWorldRecord(world.get());
    arb_Init(&world->doc);
    SetRndTempTables(&world->doc, 1);
    arb_setColorfunc(&world->doc, 0, true);
    SetAlertSoundProc([](bool) {});
  }
};

FuzzState& state()
{
  static FuzzState s;
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzState& s = state();
  FILE* f = std::fopen(s.path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  sSoundfunc sound{};
  arb_READ(&s.world->doc, FileRef::fromPath(s.path), true, true, &sound);
  return 0;
}
