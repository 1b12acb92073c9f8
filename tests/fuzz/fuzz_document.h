// The document that the tree-file fuzz target reads its inputs into, kept
// apart from the target so that a test can run the same path.
//
// One world lives across all inputs, as the browser keeps one document: each
// input is read over whatever the inputs before it left behind, compiled
// sub-trees included. The world is given up the way the program gives up a
// document: its compiled sub-trees and auxiliary memory are released with
// arb_Clear before the record itself goes, so nothing that the reader made
// outlives the world.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "document/soundfunc.h"
#include "document/treefile.h"
#include "engine/colorfuncs.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/appshell.h"

namespace kvfuzz {

class FuzzDocument
{
public:
  FuzzDocument() : world_(std::make_unique<KovrelinWorld>()), path_(uniquePath())
  {
    gKovrelinWorld = world_.get();
    KV_initWorldRecord(world_.get());
    arb_Init(&world_->doc);
    SetRndTempTables(&world_->doc, 1);
    arb_setColorfunc(&world_->doc, 0, true);
    previousAlert_ = SetAlertSoundProc([](bool) {});
  }

  ~FuzzDocument()
  {
    arb_Clear(&world_->doc, true, true);
    if (gKovrelinWorld == world_.get())
      gKovrelinWorld = nullptr;
    SetAlertSoundProc(previousAlert_);
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }

  FuzzDocument(const FuzzDocument&) = delete;
  FuzzDocument& operator=(const FuzzDocument&) = delete;

  // Writes the bytes to the work file and reads it with tables and sound, as
  // the browser reads a tree file. Returns arb_READ's result, or
  // kTreeReadCannotOpen when the work file cannot be written.
  int16_t read(const uint8_t* data, size_t size)
  {
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (!f)
      return kTreeReadCannotOpen;
    bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !written)
      return kTreeReadCannotOpen;
    sSoundfunc sound{};
    return arb_READ(&world_->doc, FileRef::fromPath(path_), true, true, &sound);
  }

  sfuncSystem* doc() { return &world_->doc; }

private:
  static std::string uniquePath()
  {
    static std::atomic<unsigned> serial{0};
    return (std::filesystem::temp_directory_path() /
            ("kv_treefile_fuzz_" + std::to_string(::getpid()) + "_" +
             std::to_string(serial.fetch_add(1)) + ".kovr"))
        .string();
  }

  std::unique_ptr<KovrelinWorld> world_;
  std::string path_;
  AlertSoundProc previousAlert_ = nullptr;
};

}  // namespace kvfuzz
