// Builds the item set of a layout file in a scripted window of the
// layout's design size, gives each item that edits a variable one of its
// type, draws the set (with the standard OK and Cancel buttons at the
// bottom right), plays a script of mouse, key, modifier and clock steps
// through the window, and writes what the window shows as PNG.
//
// Usage: ui_probe [--resources DIR] LAYOUT OUT.png [SCRIPT]
//
// LAYOUT is a layout file, or a number n for DIR/UI_n. DIR (default: the
// Resources folder beside the program, else the build's) holds the UI list
// images. Script lines (# starts a comment):
//   set N VALUE          item N's variable (element 0 of an array; a colour
//                        as a,r,g,b; an edit text's string) before drawing
//   press H V | move H V | release H V | click H V | hover H V
//   key C                one character, or tab, return, enter, or a number
//   mod option|shift|command|control on|off
//   tick N
//   menu N               the next native pop-up menu answers entry N (0: none)
//   values N             print every element of item N's variable at the end
// Prints "command OPCODE" for each call of the command callback, then
// "hit N", "last N", "focused N", and "item N KIND VALUE" for each item
// (its variable, or its name).
// Each values line adds "values N E0 E1 ..." (a colour as a,r,g,b).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/appshell.h"
#include "foundation/mempool.h"
#include "platform/resources.h"
#include "platform/stillimage.h"
#include "platform/ui.h"
#include "probe_script.h"
#include "ui/twindow.h"
#include "ui/uilib.h"
#include "ui/uiset.h"

namespace {

// The variable an item edits, by kind and variant.
enum class VarType
{
  None,
  Short,
  Long,
  Double,
  Color,
  ShortArray,
  LongArray,
  DoubleArray,
  ColorArray,
  Text,
};

struct Variable
{
  VarType type = VarType::None;
  std::vector<double> doubles;
  std::vector<int32_t> longs;
  std::vector<int16_t> shorts;
  std::vector<normalcolor> colors;
};

VarType numberType(int8_t variant, bool array)
{
  switch (variant % 3) {
    case 0:
      return array ? VarType::ShortArray : VarType::Short;
    case 1:
    case -1:
      return array ? VarType::LongArray : VarType::Long;
    default:
      return array ? VarType::DoubleArray : VarType::Double;
  }
}

// A vector item's elements: doubles for variants 1, 3 and 5, one colour's
// bytes for 6, 16-bit integers otherwise.
VarType vectorType(int8_t variant)
{
  if (variant == 1 || variant == 3 || variant == 5)
    return VarType::DoubleArray;
  return variant == 6 ? VarType::Color : VarType::ShortArray;
}

VarType typeOf(const uitem& item)
{
  switch (item.kind) {
    case kUIEditText:
      return VarType::Text;
    case kUIScroller:
    case kUINumber:
      return numberType(item.variant, false);
    case kUICheckbox:
    case kUIRadioButtons:
    case kUIPopMenu:
      return VarType::Short;
    case kUIColorPop:
      return VarType::Color;
    case kUIMultiVector:
      return vectorType(item.variant);
    case kUICGradation:
      return VarType::ColorArray;
    default:
      return VarType::None;
  }
}

void* storageOf(Variable& v, int16_t entries)
{
  const size_t n = size_t(std::max<int16_t>(entries, 1));
  switch (v.type) {
    case VarType::Short:
    case VarType::ShortArray:
      v.shorts.assign(n, 0);
      return v.shorts.data();
    case VarType::Long:
    case VarType::LongArray:
      v.longs.assign(n, 0);
      return v.longs.data();
    case VarType::Double:
    case VarType::DoubleArray:
      v.doubles.assign(n, 0);
      return v.doubles.data();
    case VarType::Color:
    case VarType::ColorArray:
      v.colors.assign(n, normalcolor{255, 0, 0, 0});
      return v.colors.data();
    default:
      return nullptr;
  }
}

std::string opcodeText(int32_t op)
{
  char text[16];
  bool printable = true;
  for (int i = 0; i < 4; ++i) {
    uint8_t b = uint8_t(uint32_t(op) >> (24 - 8 * i));
    printable = printable && b >= 0x20 && b < 0x7F;
  }
  if (printable)
    std::snprintf(text, sizeof text, "'%c%c%c%c'", char(op >> 24), char(op >> 16), char(op >> 8),
                  char(op));
  else
    std::snprintf(text, sizeof text, "%d", int(op));
  return text;
}

int16_t printCommand(Edoc*, int32_t command, void*)
{
  std::printf("command %s\n", opcodeText(command).c_str());
  return 0;
}

// A window that hands its clicks, keys and mouse movement to its set.
struct ProbeWindow : TWindow
{
  explicit ProbeWindow(const Rect& r) : TWindow(kDocumentWindowClass, 0, &r, 0, false) {}
  int32_t Act(Point where) override
  {
    if (set)
      set->Act(where);
    return 0;
  }
  int16_t Key(uint32_t character) override
  {
    if (set)
      set->Key(int8_t(character));
    return 0;
  }
  void Idle(Point where) override
  {
    if (set)
      set->PreHilite(where);
  }
};

struct Probe
{
  uiset set;
  ProbeWindow* window = nullptr;
  std::vector<Variable> variables;
  kvui::Point origin;

  void giveVariables()
  {
    variables.resize(size_t(set.count));
    for (int16_t i = 0; i < set.count; ++i) {
      uitem* item = set.Getuitem(i);
      Variable& v = variables[size_t(i)];
      v.type = typeOf(*item);
      const uiNumberInfo* number = item->GetNinf();
      if (void* p = storageOf(v, number ? number->entries : 1))
        set.SetuitemDataPointer(i, p);
    }
  }

  bool setValue(int16_t n, const std::string& value)
  {
    if (n < 0 || n >= set.count)
      return false;
    Variable& v = variables[size_t(n)];
    switch (v.type) {
      case VarType::Short:
      case VarType::ShortArray:
        v.shorts[0] = int16_t(std::atoi(value.c_str()));
        return true;
      case VarType::Long:
      case VarType::LongArray:
        v.longs[0] = std::atoi(value.c_str());
        return true;
      case VarType::Double:
      case VarType::DoubleArray:
        v.doubles[0] = std::atof(value.c_str());
        return true;
      case VarType::Color:
      case VarType::ColorArray: {
        int c[4];
        if (std::sscanf(value.c_str(), "%d,%d,%d,%d", &c[0], &c[1], &c[2], &c[3]) != 4)
          return false;
        v.colors[0] = normalcolor{uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]), uint8_t(c[3])};
        return true;
      }
      case VarType::Text: {
        Str255 text;
        text[0] = uint8_t(std::min<size_t>(value.size(), 255));
        std::memcpy(text + 1, value.data(), text[0]);
        set.SetuitemNameNR(n, text);
        return true;
      }
      default:
        return false;
    }
  }

  std::string valueText(int16_t n)
  {
    const Variable& v = variables[size_t(n)];
    char text[64];
    switch (v.type) {
      case VarType::Short:
      case VarType::ShortArray:
        return std::to_string(v.shorts[0]);
      case VarType::Long:
      case VarType::LongArray:
        return std::to_string(v.longs[0]);
      case VarType::Double:
      case VarType::DoubleArray:
        std::snprintf(text, sizeof text, "%g", v.doubles[0]);
        return text;
      case VarType::Color:
      case VarType::ColorArray: {
        const normalcolor c = v.colors[0];
        std::snprintf(text, sizeof text, "%d,%d,%d,%d", c.flag, c.red, c.green, c.blue);
        return text;
      }
      default: {
        const uitem* item = set.Getuitem(n);
        return "\"" + std::string(reinterpret_cast<const char*>(item->name + 1), item->name[0]) +
               "\"";
      }
    }
  }

  // Items whose every element is printed at the end.
  std::vector<int16_t> listed;

  std::string elementsText(int16_t n) const
  {
    const Variable& v = variables[size_t(n)];
    std::string text;
    char one[32];
    for (int16_t s : v.shorts)
      text += " " + std::to_string(s);
    for (int32_t l : v.longs)
      text += " " + std::to_string(l);
    for (double d : v.doubles) {
      std::snprintf(one, sizeof one, " %g", d);
      text += one;
    }
    for (const normalcolor& c : v.colors) {
      std::snprintf(one, sizeof one, " %d,%d,%d,%d", c.flag, c.red, c.green, c.blue);
      text += one;
    }
    return text;
  }
};

// Queues the script's steps; `set` lines are applied at once. False for a
// line it cannot read.
bool queueScript(Probe& probe, std::istream& in)
{
  probescript::StepQueue steps(probe.origin, false);
  return probescript::readScript(in, "ui_probe", [&](const std::string& op, std::istream& words) {
    int32_t n = 0;
    std::string value;
    if (op == "hover")
      return steps.pointer(op, words);
    if (op == "values") {
      if (!(words >> n) || n < 0 || n >= probe.set.count)
        return false;
      probe.listed.push_back(int16_t(n));
      return true;
    }
    if (op == "set")
      return (words >> n >> value) && probe.setValue(int16_t(n), value);
    return steps.step(op, words);
  });
}

bool writeShown(kvui::WindowRef window, const std::string& path)
{
  kvui::Surface s = kvui::script::shownPixels(window);
  std::vector<uint8_t> argb(size_t(s.width) * size_t(s.height) * 4);
  for (int32_t y = 0; y < s.height; ++y)
    for (int32_t x = 0; x < s.width; ++x) {
      const uint8_t* p = s.pixels + y * s.rowBytes + x * 4;  // blue, green, red, alpha
      uint8_t* q = &argb[(size_t(y) * size_t(s.width) + size_t(x)) * 4];
      q[0] = 255, q[1] = p[2], q[2] = p[1], q[3] = p[0];
    }
  return kvimg::encodeFile(path, kvimg::Format::Png, argb.data(), s.width * 4, s.width, s.height,
                           false);
}

// Plays the script (if any) through the probe's window, prints what the
// items hold and writes the window's pixels; the exit status.
int playAndReport(Probe& probe, const std::vector<std::string>& args)
{
  std::ifstream script;
  if (args.size() == 3) {
    script.open(args[2]);
    if (!script) {
      std::fprintf(stderr, "ui_probe: cannot read %s\n", args[2].c_str());
      return 1;
    }
  }
  std::istringstream none;
  if (!queueScript(probe, args.size() == 3 ? static_cast<std::istream&>(script) : none))
    return 1;

  probe.set.DrawFlush(&probe.window->portRect);
  for (int guard = 0; kvui::script::pending() > 0 && guard < 100000; ++guard)
    kvui::pump();
  kvui::pump();
  probe.set.DrawFlush(&probe.window->portRect);

  std::printf("hit %d\nlast %d\nfocused %d\n", probe.set.hit, int(probe.set.lastChosen),
              probe.set.focused);
  for (int16_t i = 0; i < probe.set.count; ++i)
    std::printf("item %d %d %s\n", i, probe.set.Getuitem(i)->kind, probe.valueText(i).c_str());
  for (int16_t n : probe.listed)
    std::printf("values %d%s\n", n, probe.elementsText(n).c_str());
  if (!writeShown(probe.window->window, args[1])) {
    std::fprintf(stderr, "ui_probe: cannot write %s\n", args[1].c_str());
    return 1;
  }
  return 0;
}

int run(const std::vector<std::string>& args, const FileRef& resources)
{
  Probe probe;
  const std::string& layout = args[0];
  const bool byNumber = layout.find_first_not_of("-0123456789") == std::string::npos;
  std::string why;
  if (!probe.set.Readuitems(byNumber ? resources : FileRef::fromPath(layout),
                            int16_t(std::atoi(layout.c_str())), byNumber, &why)) {
    std::fprintf(stderr, "ui_probe: %s: %s\n", layout.c_str(), why.c_str());
    return 1;
  }
  const Rect bounds{40, 40, int16_t(40 + probe.set.designHeight),
                    int16_t(40 + probe.set.designWidth)};
  ProbeWindow window(bounds);
  window.OpenContext();
  window.Show();
  window.set = &probe.set;
  probe.window = &window;
  probe.set.owner = &window;
  probe.set.layoutRect = window.portRect;
  probe.set.SetCallBackCmdptr(printCommand, &window);
  const kvui::Rect content = kvui::windowContent(window.window);
  probe.origin = kvui::Point{content.top, content.left};
  // The dialog buttons in the bottom-right corner: list-image cells.
  const Rect& port = window.portRect;
  probe.set.okRect = Rect{int16_t(port.bottom - 36), int16_t(port.right - 76),
                          int16_t(port.bottom - 4), int16_t(port.right - 44)};
  probe.set.cancelRect = Rect{int16_t(port.bottom - 36), int16_t(port.right - 40),
                              int16_t(port.bottom - 4), int16_t(port.right - 8)};
  probe.set.okCancelShown = 1;
  probe.giveVariables();

  const int status = playAndReport(probe, args);
  // The set lives in `probe`: the window must not free it, on any way out.
  window.set = nullptr;
  return status;
}

}  // namespace

int main(int argc, char** argv)
{
  std::vector<std::string> args(argv + 1, argv + argc);
  FileRef resources = kvfs::resourcesFolder();
  if (args.size() >= 2 && args[0] == "--resources") {
    resources = FileRef::fromPath(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (resources.empty())
    resources = FileRef::fromPath(kvfs::executableFolder().path() + "/../../Resources");
  if (args.size() != 2 && args.size() != 3) {
    std::fprintf(stderr, "usage: ui_probe [--resources DIR] LAYOUT OUT.png [SCRIPT]\n");
    return 2;
  }

  // The string lists of the pop-up menus: the store of the same Resources
  // folder (none is needed when the folder has no store).
  kvres::openApplicationStore(resources.child("Kovrelin.rsrc").path());
  kvui::startScripted();
  finit(&gMemPool, kMemPoolFloorSize);
  init_EUILIB(nullptr, fourcc("Qjpr"), normalcolor{255, 255, 200, 0}, 0, &resources);
  const int status = run(args, resources);
  Kill_EUILIB();
  kvui::stop();
  return status;
}
