// Fuzz target for the tree-file reader: every input is written to a file and
// read with arb_READ into one long-lived document, tables and sound included.
// A damaged file must come back as a failure, never as a crash, a sanitizer
// report or a hang; nothing the reader allocates may be lost, also not when
// the document is given up at the end of the run.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_document.h"

namespace {

kvfuzz::FuzzDocument& document()
{
  static kvfuzz::FuzzDocument d;
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  document().read(data, size);
  return 0;
}
