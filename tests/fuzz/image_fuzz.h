// The limit the image-reader fuzz targets give the readers: pictures of up to
// 16 MiB of 32-bit pixels, so that a fuzzed header can ask for a large
// picture without running the fuzzer out of memory.
#pragma once

#include <cstdint>

namespace kvfuzz {

inline constexpr int64_t kImageFuzzMaxBytes = int64_t(16) << 20;

}  // namespace kvfuzz
