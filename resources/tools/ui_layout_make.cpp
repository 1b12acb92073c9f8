// Makes a UI layout file from a layout table: fills an item set that has no
// owner from the table (the total box computed from the items when the
// table gives none) and writes it with the program's layout writer.
//
// Usage: ui_layout_make TABLE OUT
// Exit status 1, with the reason on standard error, when the table cannot
// be read or the file cannot be written whole.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "ui/uilayouttable.h"
#include "ui/uiset.h"

int main(int argc, char** argv)
{
  if (argc != 3) {
    std::fprintf(stderr, "usage: ui_layout_make TABLE OUT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "ui_layout_make: cannot read %s\n", argv[1]);
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();

  uiLayout layout;
  bool boxGiven = false;
  std::string why;
  if (!UI_LayoutFromTable(text.str(), &layout, &boxGiven, &why)) {
    std::fprintf(stderr, "ui_layout_make: %s: %s\n", argv[1], why.c_str());
    return 1;
  }
  uiset set;
  set.LoadLayout(layout);
  if (!boxGiven)
    set.CompTotalBox();
  if (!WriteUISETdata(argv[2], set, &why)) {
    std::fprintf(stderr, "ui_layout_make: %s: %s\n", argv[2], why.c_str());
    return 1;
  }
  return 0;
}
