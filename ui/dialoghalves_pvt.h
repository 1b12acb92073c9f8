// What the dialog halves of the table, palette and image files share: the
// request block set up for one dialog, and the file a dialog chose.
#pragma once

#include <initializer_list>

#include "foundation/iodata.h"
#include "platform/files.h"

namespace kvdlg {

// The prompt of the next dialog.
void setPrompt(const char* text);
// The types offered (the first one is also a saved file's type), the
// preview hook, and no default location.
void setTypes(std::initializer_list<OSType> types, PreviewHookProcPtr hook);
// The file the last save dialog named: its folder and typed name.
FileRef savedFile();

}  // namespace kvdlg
