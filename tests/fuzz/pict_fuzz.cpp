// Fuzz target for the PICT reader: a damaged picture must come back as a
// failure, never as a crash, a sanitizer report or a hang.
#include <cstddef>
#include <cstdint>

#include "imaging/pict.h"
#include "tests/fuzz/image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  kvimg::Pixels pixels;
  kvpict::read(data, size, &pixels, nullptr, kvfuzz::kImageFuzzMaxBytes);
  return 0;
}
