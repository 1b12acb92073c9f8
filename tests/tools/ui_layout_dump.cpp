// Prints a UI layout file as a layout table (the form of resources/layouts/,
// which ui_layout_make turns back into the same bytes).
//
// Usage: ui_layout_dump FILE
// A damaged file: exit status 1 and the reason on standard error.
#include <cstdio>
#include <string>

#include "ui/uilayouttable.h"

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: ui_layout_dump FILE\n");
    return 2;
  }
  uiLayout layout;
  std::string why;
  if (!UI_ReadLayoutFile(FileRef::fromPath(argv[1]), &layout, &why)) {
    std::fprintf(stderr, "ui_layout_dump: %s: %s\n", argv[1], why.c_str());
    return 1;
  }
  std::fputs(UI_LayoutToTable(layout).c_str(), stdout);
  return 0;
}
