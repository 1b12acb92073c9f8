#include "ui/clipbridge.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "imaging/clipboard.h"
#include "imaging/pict.h"
#include "imaging/scrap.h"
#include "platform/stillimage.h"
#include "platform/ui.h"

namespace {

constexpr const char* kMimePNG = "image/png";
constexpr const char* kMimePDF = "application/pdf";

bool scrapFlavor(OSType flavor, std::vector<uint8_t>* out)
{
  int32_t size = 0;
  if (GetScrapFlavorSize(flavor, &size) != 0 || size <= 0)
    return false;
  out->resize(size_t(size));
  return GetScrapFlavorData(flavor, &size, out->data()) == 0 && size_t(size) == out->size();
}

kvimg::Rows rowsOf(const kvimg::Pixels& p)
{
  kvimg::Rows rows;
  rows.base = p.argb.data();
  rows.rowBytes = p.width * 4;
  rows.width = p.width;
  rows.height = p.height;
  rows.alpha = true;
  return rows;
}

// Decodes image bytes through a temporary file, as the image decoders read
// files.
bool decodeBytes(const std::vector<uint8_t>& bytes, kvimg::Pixels* out)
{
  std::string path = (std::filesystem::temp_directory_path() / "kovrelin-clip-XXXXXX").string();
  int fd = mkstemp(path.data());
  if (fd < 0)
    return false;
  bool written = write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
  close(fd);
  bool ok = written && kvimg::decodeFile(path, out);
  std::remove(path.c_str());
  return ok;
}

}  // namespace

bool UI_ExportScrapToClipboard()
{
  std::vector<kvui::ClipBlock> blocks;
  std::vector<uint8_t> bytes;
  if (scrapFlavor(kQZFlavorPICT, &bytes)) {
    kvimg::Pixels pixels;
    std::vector<uint8_t> png;
    if (!kvpict::read(bytes.data(), bytes.size(), &pixels) ||
        !kvimg::encodePng(rowsOf(pixels), &png))
      return false;
    blocks.push_back({kMimePNG, std::move(png)});
  }
  if (scrapFlavor(kQZFlavorPDF, &bytes))
    blocks.push_back({kMimePDF, bytes});
  if (blocks.empty())
    return false;
  kvui::setClipboard(blocks);
  return true;
}

bool UI_ImportClipboardToScrap()
{
  std::vector<uint8_t> pdf, png, pict;
  constexpr size_t kMaxBlock = 0x7FFFFFFF;
  bool hasPDF = kvui::clipboardBlock(kMimePDF, &pdf) && !pdf.empty() && pdf.size() <= kMaxBlock;
  if (kvui::clipboardBlock(kMimePNG, &png) && !png.empty()) {
    kvimg::Pixels pixels;
    if (!decodeBytes(png, &pixels) || !kvpict::write(rowsOf(pixels), &pict))
      pict.clear();
  }
  if (!hasPDF && pict.empty())
    return false;
  ClearCurrentScrap();
  if (hasPDF)
    PutScrapFlavor(kQZFlavorPDF, int32_t(pdf.size()), pdf.data());
  if (!pict.empty())
    PutScrapFlavor(kQZFlavorPICT, int32_t(pict.size()), pict.data());
  return true;
}
