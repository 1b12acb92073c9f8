// The content sniff: each kind of file by its first bytes, and what must not
// be taken for one.
#include "platform/sniff.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tests/platform/tempfolder.h"

namespace {

constexpr uint32_t code(const char (&s)[5])
{
  return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 |
         uint32_t(uint8_t(s[2])) << 8 | uint32_t(uint8_t(s[3]));
}

// `head` at offset `at` of an otherwise zero block of `size` bytes.
std::vector<uint8_t> block(const std::string& head, size_t at = 0, size_t size = 600)
{
  std::vector<uint8_t> b(size, 0);
  for (size_t i = 0; i < head.size() && at + i < size; ++i)
    b[at + i] = uint8_t(head[i]);
  return b;
}

TEST(Sniff, KindsByTheirFirstBytes)
{
  using namespace std::string_literals;
  struct Case
  {
    std::vector<uint8_t> bytes;
    uint32_t want;
  } cases[] = {
      {block("\x89PNG\r\n\x1a\n"s), code("PNGf")},
      {block("\xFF\xD8\xFF\xE0"s), code("JPEG")},
      {block("GIF89a"), code("GIFf")},
      {block("GIF87a"), code("GIFf")},
      {block("II*\0"s), code("TIFF")},
      {block("MM\0*"s), code("TIFF")},
      {block("BM"), code("BMPf")},
      {block("8BPS"), code("8BPS")},
      {block("%PDF-1.4"), code("PDF ")},
      {block("RIFF\0\0\0\0AVI LIST"s), code("VfW ")},
      {block("\0\0\x01\xBA"s), code("MPEG")},
      {block("\0\0\x01\xB3"s), code("MPEG")},
      {block("\x1F\x07\x00\x3F"s), code("dvc!")},
      {block("\x1F\x07\x00\xBF"s), code("dvc!")},
      {block("\0\0\0\x14"
             "ftypqt  "s),
       code("MooV")},
      {block("\0\0\0\x20"
             "ftypisom"s),
       code("mpg4")},
      {block("\0\0\0\x08wide"s), code("MooV")},
      {block("\0\0\x10\0moov"s), code("MooV")},
      {block("\0\0\x10\0mdat"s), code("MooV")},
      // PICT: the version opcode after the 512-byte header, size and frame.
      {block("\x00\x11\x02\xFF"s, 522), code("PICT")},
      {block("\x11\x01"s, 522), code("PICT")},
      // Not these.
      {block("RIFF\0\0\0\0WAVE"s), 0},
      {block("\x1F\x07\x00\x00"s), 0},
      {block("GIF8"), 0},
      {block("\x00\x11\x02\xFF"s, 10), 0},
      {block(""), 0},
      // Too short to hold the signature.
      {block("\x89PNG"s, 0, 4), 0},
      {block("\x00\x11\x02\xFF"s, 522, 524), 0},
      {{}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "size " << c.bytes.size() << " first byte "
                                    << int(c.bytes.empty() ? -1 : c.bytes[0]));
    EXPECT_EQ(kvsniff::typeOfBytes(c.bytes.data(), c.bytes.size()), c.want);
  }
}

TEST(Sniff, FilesWithoutExtensionAndMissingFiles)
{
  TempFolder folder;
  const FileRef ref = folder.ref("DefaultPicture");
  {
    FILE* f = std::fopen(ref.path().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite("\x89PNG\r\n\x1a\n", 1, 8, f);
    std::fclose(f);
  }
  EXPECT_EQ(kvsniff::typeOfFile(ref.path()), code("PNGf"));
  EXPECT_EQ(kvsniff::typeOfFile(folder.ref("missing").path()), 0u);
  EXPECT_EQ(kvsniff::typeOfFile(folder.root().path()), 0u);  // a folder reads nothing
}

}  // namespace
