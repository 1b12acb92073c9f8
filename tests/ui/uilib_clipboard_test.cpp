#include <gtest/gtest.h>
#include <vector>

#include "imaging/clipboard.h"
#include "imaging/pict.h"
#include "imaging/scrap.h"
#include "platform/stillimage.h"
#include "platform/ui.h"
#include "ui/clipbridge.h"

namespace {

// 2 x 2 opaque pixels, alpha red green blue.
const std::vector<uint8_t> kPixels = {255, 200, 10, 20, 255, 0,  255, 0,
                                      255, 1,   2,  3,  255, 90, 80,  70};

kvimg::Rows rows(const std::vector<uint8_t>& argb)
{
  kvimg::Rows r;
  r.base = argb.data();
  r.rowBytes = 8;
  r.width = 2;
  r.height = 2;
  return r;
}

std::vector<uint8_t> flavor(OSType type)
{
  int32_t size = 0;
  if (GetScrapFlavorSize(type, &size) != 0)
    return {};
  std::vector<uint8_t> out(static_cast<size_t>(size));
  GetScrapFlavorData(type, &size, out.data());
  return out;
}

struct ClipboardBridge : testing::Test
{
  void SetUp() override
  {
    kvui::startScripted();
    ClearCurrentScrap();
  }
  void TearDown() override
  {
    ClearCurrentScrap();
    kvui::stop();
  }
};

TEST_F(ClipboardBridge, PicturesTravelAsPngAndPdfAsItIs)
{
  std::vector<uint8_t> pict;
  ASSERT_TRUE(kvpict::write(rows(kPixels), &pict));
  const std::vector<uint8_t> pdf = {'%', 'P', 'D', 'F', '-', '1', '.', '4'};
  PutScrapFlavor(kQZFlavorPICT, int32_t(pict.size()), pict.data());
  PutScrapFlavor(kQZFlavorPDF, int32_t(pdf.size()), pdf.data());
  ASSERT_TRUE(UI_ExportScrapToClipboard());

  std::vector<uint8_t> png, copied;
  ASSERT_TRUE(kvui::clipboardBlock("image/png", &png));
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png[1], 'P');
  ASSERT_TRUE(kvui::clipboardBlock("application/pdf", &copied));
  EXPECT_EQ(copied, pdf);

  // Back: the PNG becomes a picture of the same pixels.
  ClearCurrentScrap();
  ASSERT_TRUE(UI_ImportClipboardToScrap());
  std::vector<uint8_t> back = flavor(kQZFlavorPICT);
  kvimg::Pixels pixels;
  ASSERT_TRUE(kvpict::read(back.data(), back.size(), &pixels));
  EXPECT_EQ(pixels.width, 2);
  EXPECT_EQ(pixels.argb, kPixels);
  EXPECT_EQ(flavor(kQZFlavorPDF), pdf);
}

TEST_F(ClipboardBridge, NothingToHandOver)
{
  EXPECT_FALSE(UI_ExportScrapToClipboard());
  const uint8_t text[] = {'h', 'i'};
  PutScrapFlavor(fourcc("TEXT"), 2, text);
  kvui::setClipboard({{"text/plain", {'x'}}});
  EXPECT_FALSE(UI_ImportClipboardToScrap());
  EXPECT_EQ(flavor(fourcc("TEXT")).size(), 2u);  // the store is left alone
  // A damaged picture is not passed on.
  ClearCurrentScrap();
  const uint8_t junk[] = {1, 2, 3};
  PutScrapFlavor(kQZFlavorPICT, 3, junk);
  EXPECT_FALSE(UI_ExportScrapToClipboard());
  std::vector<uint8_t> left;
  EXPECT_TRUE(kvui::clipboardBlock("text/plain", &left));
}

}  // namespace
