// Fuzz target for the Photoshop document reader: a damaged document must
// come back as a failure, never as a crash, a sanitizer report or a hang.
#include <cstddef>
#include <cstdint>

#include "imaging/psd.h"
#include "tests/fuzz/image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  kvimg::Pixels pixels;
  kvpsd::read(data, size, &pixels, nullptr, kvfuzz::kImageFuzzMaxBytes);
  return 0;
}
