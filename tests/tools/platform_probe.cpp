// platform_probe [--gtk] [--script FILE] COMMAND
//
// Runs one dialog or menu through the program's routines and prints what
// it gave:
//   open TYPES        the open dialog for the four-character types given
//                     one after another ("qjKv", "TIFFPNGf"): PATH<TAB>TYPE
//   save NAME         the save dialog proposing NAME: the file's path
//   folder            the choose-folder dialog: the folder's path
//   locate NAME FOLDER MODE ASK
//                     looks for NAME from FOLDER (search mode 1-6; ASK 2
//                     never opens a dialog; the type the name's extension
//                     gives must match too): the path found
//   menu LIST COUNT [CHECK DISABLE]
//                     the pop-up menu of string list LIST (a negative
//                     COUNT starts at the second string), with check and
//                     disable masks: ENTRY<TAB>TEXT
// Nothing chosen prints "cancelled" and exits with 1; a usage error exits
// with 2.
//
// With --gtk the real dialogs and menus show on the display. Without it
// the scripted backend answers from the script FILE, one answer a line, in
// order: "choose PATH...", "save FOLDER [NAME]", "cancel", "menu ENTRY",
// "mouse V H"; with no script every dialog is cancelled.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/appshell.h"
#include "foundation/filenames.h"
#include "foundation/iodata.h"
#include "foundation/pstrings.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "ui/filedialogs.h"
#include "ui/popupmenus.h"

namespace {

int usage()
{
  std::fprintf(stderr,
               "usage: platform_probe [--gtk] [--script FILE] open TYPES | save NAME | folder |\n"
               "       locate NAME FOLDER MODE ASK | menu LIST COUNT [CHECK DISABLE]\n");
  return 2;
}

std::string typeText(OSType t)
{
  return {char(t >> 24), char(t >> 16), char(t >> 8), char(t)};
}

bool loadScript(const std::string& path)
{
  std::ifstream in(path);
  if (!in)
    return false;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string verb;
    if (!(words >> verb))
      continue;
    kvui::script::ChooserAnswer answer;
    if (verb == "choose") {
      for (std::string p; words >> p;)
        answer.paths.push_back(p);
      kvui::script::chooserAnswer(answer);
    } else if (verb == "save") {
      words >> answer.folder >> answer.name;
      kvui::script::chooserAnswer(answer);
    } else if (verb == "cancel") {
      answer.cancel = true;
      kvui::script::chooserAnswer(answer);
    } else if (verb == "menu") {
      int32_t entry = 0;
      words >> entry;
      kvui::script::menuChoice(entry);
    } else if (verb == "mouse") {
      int32_t v = 0, h = 0;
      words >> v >> h;
      kvui::script::mouse({v, h}, false);
    } else {
      std::fprintf(stderr, "platform_probe: unknown script line: %s\n", line.c_str());
      return false;
    }
  }
  return true;
}

bool parseLong(const char* text, long lo, long hi, long* out)
{
  char* end = nullptr;
  long v = std::strtol(text, &end, 0);
  if (!*text || *end || v < lo || v > hi)
    return false;
  *out = v;
  return true;
}

int cancelled()
{
  std::printf("cancelled\n");
  return 1;
}

int runOpen(const std::string& types)
{
  if (types.empty() || types.size() % 4 != 0 || types.size() / 4 > kIOTypeListSize)
    return usage();
  gIOdata.typeCount = int16_t(types.size() / 4);
  for (size_t i = 0; i < types.size() / 4; ++i)
    gIOdata.typeList[i] =
        fourcc({types[4 * i], types[4 * i + 1], types[4 * i + 2], types[4 * i + 3], 0});
  FileRef chosen;
  if (!xMASTER_FILE_GET(&chosen))
    return cancelled();
  std::printf("%s\t%s\n", chosen.path().c_str(), typeText(gIOdata.typeList[0]).c_str());
  return 0;
}

int runSave(const std::string& name)
{
  Str255 proposed = {};
  SetPString(proposed, name.c_str());
  if (!xMASTER_FILE_PUT(proposed))
    return cancelled();
  std::printf("%s\n", gIOdata.resultRef.child(HFS_2_UTF8(gIOdata.resultName)).path().c_str());
  return 0;
}

int runFolder()
{
  if (NChooseFolder() != 0)
    return cancelled();
  std::printf("%s\n", gIOdata.resultRef.path().c_str());
  return 0;
}

int runLocate(char** args)
{
  long mode = 0, ask = 0;
  if (!parseLong(args[2], 0, 6, &mode) || !parseLong(args[3], 0, 2, &ask))
    return usage();
  FileRef start = FileRef::fromPath(args[1]);
  UTF8_2_HFS(args[0], gIOdata.searchName);
  // The search matches the type the name gives as well as the name.
  gIOdata.typeList[0] = kvfs::typeFromName(args[0]);
  gIOdata.typeCount = 1;
  FileRef ref = start.child(args[0]);
  if (!xFile_Locate(&ref, start, int16_t(mode), int16_t(ask)))
    return cancelled();
  std::printf("%s\n", ref.path().c_str());
  return 0;
}

int runMenu(int argc, char** args)
{
  long list = 0, count = 0, check = 0, disable = 0;
  if (!parseLong(args[0], -32768, 32767, &list) || !parseLong(args[1], -32768, 32767, &count) ||
      (argc == 4 && (!parseLong(args[2], 0, 0xFFFFFFFFL, &check) ||
                     !parseLong(args[3], 0, 0xFFFFFFFFL, &disable))))
    return usage();
  int16_t entry =
      DoPopUpDirectMenu(int16_t(list), int16_t(count), 0, uint32_t(check), uint32_t(disable));
  if (entry <= 0)
    return cancelled();
  int16_t first = count < 0 ? 1 : 0;
  std::printf("%d\t%s\n", entry, kvres::indString(int16_t(list), int16_t(first + entry)).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  bool gtk = false;
  std::string script;
  int at = 1;
  for (; at < argc && argv[at][0] == '-' && argv[at][1] == '-'; ++at) {
    std::string option = argv[at];
    if (option == "--gtk")
      gtk = true;
    else if (option == "--script" && at + 1 < argc)
      script = argv[++at];
    else
      return usage();
  }
  if (at >= argc)
    return usage();
  std::string command = argv[at];
  char** args = argv + at + 1;
  int count = argc - at - 1;

  if (gtk) {
    if (!kvui::startGtk()) {
      std::fprintf(stderr, "platform_probe: no display\n");
      return 2;
    }
  } else {
    kvui::startScripted();
    if (!script.empty() && !loadScript(script))
      return 2;
  }
  std::string reason;
  if (!kvres::openApplicationStore(kvres::applicationStorePath(), &reason) &&
      !kvres::openApplicationStore(KV_RESOURCES_STORE, &reason) && command == "menu")
    std::fprintf(stderr, "platform_probe: %s\n", reason.c_str());
  SetPString(gAppInfos.applicationName, "Kovrelin");
  SetUpNavUserDatas(&gIOdata, 0, fourcc("Qjtt"), fourcc("TEXT"));

  int status = 2;
  if (command == "open" && count == 1)
    status = runOpen(args[0]);
  else if (command == "save" && count == 1)
    status = runSave(args[0]);
  else if (command == "folder" && count == 0)
    status = runFolder();
  else if (command == "locate" && count == 4)
    status = runLocate(args);
  else if (command == "menu" && (count == 2 || count == 4))
    status = runMenu(count, args);
  else
    status = usage();
  std::fflush(stdout);
  kvui::stop();
  return status;
}
