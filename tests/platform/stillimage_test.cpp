// The still-image layer: PNG and TIFF encoders read back by gdk-pixbuf and
// tiffinfo, the picture limits, file replacement and PDF documents.
#include "platform/stillimage.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tests/platform/tempfolder.h"

namespace {

std::vector<uint8_t> Argb(int32_t w, int32_t h)
{
  std::vector<uint8_t> p(size_t(w) * h * 4);
  for (size_t i = 0; i < p.size(); ++i)
    p[i] = uint8_t(i % 4 == 0 ? 64 + i : i * 13);
  return p;
}

std::string Command(const std::string& line)
{
  std::string out;
  FILE* f = popen(line.c_str(), "r");
  if (f == nullptr)
    return out;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, f))
    out += buffer;
  pclose(f);
  return out;
}

TEST(StillImageTest, EncodedRowsDecodeToTheSamePixels)
{
  TempFolder tmp;
  const std::vector<uint8_t> argb = Argb(5, 3);
  const uint8_t grey[15] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140};
  struct Case
  {
    bool png;
    int32_t bits;
    bool alpha;
  } cases[] = {{true, 32, false},  {true, 32, true},  {true, 8, true},
               {false, 32, false}, {false, 32, true}, {false, 8, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.png << " " << c.bits << " " << c.alpha);
    const kvimg::Rows rows{
        c.bits == 8 ? grey : argb.data(), c.bits == 8 ? 5 : 20, 5, 3, c.bits, c.alpha};
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(c.png ? kvimg::encodePng(rows, &bytes) : kvimg::encodeTiff(rows, &bytes));
    const std::string path = tmp.root().path() + (c.png ? "/x.png" : "/x.tif");
    ASSERT_TRUE(kvimg::replaceFile(path, bytes.data(), bytes.size()));
    kvimg::Pixels back;
    ASSERT_TRUE(kvimg::decodeFile(path, &back));
    for (size_t i = 0; i < 15; ++i) {
      const uint8_t* p = &back.argb[4 * i];
      if (c.bits == 8) {
        EXPECT_EQ(p[0], 255);
        EXPECT_EQ(p[1], grey[i]);
        EXPECT_EQ(p[3], grey[i]);
      } else {
        EXPECT_EQ(p[0], c.alpha ? argb[4 * i] : 255);
        EXPECT_EQ(std::vector<uint8_t>(p + 1, p + 4),
                  std::vector<uint8_t>(&argb[4 * i + 1], &argb[4 * i + 4]));
      }
    }
  }
}

TEST(StillImageTest, TiffinfoShowsTheUnassociatedAlphaSample)
{
  if (Command("command -v tiffinfo").empty())
    GTEST_SKIP() << "tiffinfo not installed";
  TempFolder tmp;
  const std::vector<uint8_t> argb = Argb(4, 2);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(kvimg::encodeTiff(kvimg::Rows{argb.data(), 16, 4, 2, 32, true}, &bytes));
  const std::string path = tmp.root().path() + "/a.tif";
  ASSERT_TRUE(kvimg::replaceFile(path, bytes.data(), bytes.size()));
  const std::string info = Command("tiffinfo " + path + " 2>&1");
  EXPECT_NE(info.find("Extra Samples: 1<unassoc-alpha>"), std::string::npos) << info;
  EXPECT_NE(info.find("Samples/Pixel: 4"), std::string::npos) << info;
}

TEST(StillImageTest, PictureLimits)
{
  EXPECT_TRUE(kvimg::sizeAllowed(32767, 8192));
  EXPECT_FALSE(kvimg::sizeAllowed(32768, 1));
  EXPECT_FALSE(kvimg::sizeAllowed(0, 5));
  EXPECT_FALSE(kvimg::sizeAllowed(32767, 8193));  // over 1 GiB of pixels
  std::vector<uint8_t> bytes;
  const uint8_t pixel[4] = {};
  EXPECT_FALSE(kvimg::encodePng(kvimg::Rows{pixel, 4, 1, 1, 16, false}, &bytes));
  EXPECT_FALSE(kvimg::encodeTiff(kvimg::Rows{pixel, 2, 1, 1, 32, false}, &bytes));
}

TEST(StillImageTest, ReplaceFileIntoAMissingFolderLeavesNothing)
{
  TempFolder tmp;
  const uint8_t data[3] = {1, 2, 3};
  std::string why;
  EXPECT_FALSE(kvimg::replaceFile(tmp.root().path() + "/none/x.png", data, 3, &why));
  EXPECT_FALSE(why.empty());
  const FileRef old = tmp.write("x.png", "old");
  ASSERT_TRUE(kvimg::replaceFile(old.path(), data, 3));
  EXPECT_EQ(TempFolder::read(old), std::string("\x01\x02\x03"));
}

TEST(StillImageTest, PdfDocumentsRefuseNonPdfBytes)
{
  std::string why;
  EXPECT_EQ(kvimg::pdfOpen(std::vector<uint8_t>{'%', 'P', 'D', 'F'}, &why), nullptr);
  const std::string text = "%PDF-1.4 but nothing after";
  EXPECT_EQ(kvimg::pdfOpen(std::vector<uint8_t>(text.begin(), text.end()), &why), nullptr);
  EXPECT_FALSE(why.empty());
  double w = 0, h = 0;
  EXPECT_FALSE(kvimg::pdfPageSize(nullptr, &w, &h));
}

}  // namespace
