// What a file holds, told by its first bytes: Linux files carry no type code
// and many names give none ("DefaultPicture" has no extension). The answer is
// the type code the picture and movie readers go by: 'PNGf', 'JPEG', 'GIFf',
// 'TIFF', 'BMPf', '8BPS' (Photoshop), 'PDF ', 'PICT', 'MooV' (QuickTime),
// 'mpg4' (MPEG-4), 'VfW ' (AVI), 'MPEG' (MPEG-1/2 program or video stream),
// 'dvc!' (DV); 0 for anything else. Any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvsniff {

// Bytes of the file's start that the sniff looks at (a PICT's opcode lies
// after its 512-byte header).
inline constexpr size_t kSniffBytes = 528;

// The type the first `size` bytes show.
uint32_t typeOfBytes(const uint8_t* bytes, size_t size);
// The type the file's first bytes show; 0 when it cannot be read.
uint32_t typeOfFile(const std::string& path);

}  // namespace kvsniff
