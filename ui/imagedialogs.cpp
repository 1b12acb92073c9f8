#include "ui/imagedialogs.h"

#include "document/qtsetup.h"
#include "imaging/qzimages.h"
#include "ui/dialoghalves_pvt.h"
#include "ui/filedialogs.h"

namespace {

// The image open dialog: the still-image types, the preview procedure and
// the prompt; the record gets the chosen file.
int16_t openImageDialog(frefinfos* record, PreviewHookProcPtr preview, const char* prompt)
{
  if (!record)
    return 0;
  SetImageTypeList();
  gIOdata.previewHook = preview;
  gIOdata.defaultLocationPtr = nullptr;
  kvdlg::setPrompt(prompt);
  return xEFILE_GET(*record);
}

FileRef chosenFile(const frefinfos& record)
{
  FileRef file;
  return App_frefinfos2fSRef(record, &file) ? file : FileRef();
}

}  // namespace

int16_t CG_FILE_GET(frefinfos* record, PreviewHookProcPtr preview)
{
  return openImageDialog(record, preview, "Open Image ");
}

CGImageRef Load_CGImage(frefinfos* record, PreviewHookProcPtr preview)
{
  if (!CG_FILE_GET(record, preview))
    return nullptr;
  return QZ_lookforImageFile(*record, false);
}

int16_t QTSave_Image(frefinfos* record, Offworld world, int32_t, OSType creator)
{
  if (!record)
    return 0;
  QTSave_ImageDefaultName(record, record->name);
  kvdlg::setPrompt("Save Picture as...");
  if (!xGRAPHIC_FILE_PUT(*record, record->type, GenericPreviewHookProc))
    return 0;
  return QTSave_Image(record, world, creator);
}

int16_t QTLoad_Image(frefinfos* record, Offworld* out, int16_t depth)
{
  if (out)
    *out = nullptr;
  if (!openImageDialog(record, GenericPreviewHookProc, "Open Image..."))
    return 0;
  return QTLoad_Image(chosenFile(*record), out, depth);
}

int16_t QTLoad_ImageInto(frefinfos* record, Offworld world, Rect dest)
{
  if (!openImageDialog(record, GenericPreviewHookProc, "Open Image..."))
    return 0;
  return QTLoad_ImageInto(chosenFile(*record), world, dest);
}
