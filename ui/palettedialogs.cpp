#include "ui/palettedialogs.h"

#include "engine/palettefiles.h"
#include "foundation/pstrings.h"
#include "ui/dialoghalves_pvt.h"
#include "ui/filedialogs.h"

namespace {

constexpr OSType kPaletteType = fourcc("ecpa");
constexpr OSType kPaletteLibType = fourcc("ecpl");

// Runs the open dialog for one type; false on a cancel.
bool askOpen(const char* prompt, OSType type, FileRef* chosen)
{
  kvdlg::setPrompt(prompt);
  kvdlg::setTypes({type}, GenericPreviewHookProc);
  return xMASTER_FILE_GET(chosen) != 0;
}

// Runs the save dialog for one type with the proposed name; false on a
// cancel.
bool askSave(const char* prompt, OSType type, const char* defaultName, FileRef* chosen)
{
  kvdlg::setPrompt(prompt);
  kvdlg::setTypes({type}, GenericPreviewHookProc);
  Str63 name = {};
  SetPString(name, defaultName);
  if (!xMASTER_FILE_PUT(name))
    return false;
  *chosen = kvdlg::savedFile();
  return true;
}

}  // namespace

bool sf_read_cpalette(cpalette* palette, FileRef* file, bool ask)
{
  FileRef chosen;
  if (ask) {
    if (!askOpen("Open Gradient ...", kPaletteType, &chosen))
      return false;
    if (file)
      *file = chosen;
  } else {
    if (!file)
      return false;
    chosen = *file;
    gIOdata.resultRef = chosen;
  }
  return palette && read_cpalette(palette, chosen);
}

int16_t sf_write_cpalette(const cpalette* palette, FileRef* file, bool ask)
{
  FileRef chosen;
  if (ask) {
    if (!askSave("Save Gradient as ...", kPaletteType, "Gradients", &chosen))
      return 0;
    if (file)
      *file = chosen;
  } else {
    if (!file)
      return 0;
    chosen = *file;
  }
  return palette && write_cpalette(palette, chosen) ? 1 : 0;
}

bool sf_read_cpalettelib(cpalettelib* library, FileRef* file)
{
  FileRef chosen;
  if (!askOpen("Open palette lib...", kPaletteLibType, &chosen))
    return false;
  if (file)
    *file = chosen;
  return library && read_cpalettelib(library, chosen);
}

int16_t sf_write_cpalettelib(cpalettelib* library)
{
  FileRef chosen;
  if (!askSave("Save palette lib as ...", kPaletteLibType, "Palettes", &chosen))
    return 0;
  return library && write_cpalettelib(library, chosen) ? 1 : 0;
}
