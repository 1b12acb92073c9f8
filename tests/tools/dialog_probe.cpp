// Runs one dialog, answered by a script on the scripted backend or by the
// user (or xdotool) on GTK, and prints its answer as "result N".
//
// Usage: dialog_probe [--gtk] [--script FILE] [--resources DIR] KIND ARGS
//   alert INDEX [TEXT]     the alert (1059): 1 when it ran
//   warning INDEX [cancel] the warning (1058), with Cancel when asked:
//                          1 unless Cancel was chosen
//   splash TICKS           the About box (1056): 1 when it ended with key
//                          result 1
//   saveask TEXT           the save question (1057): 0, 1 or 2
//   gradedit               the gradient editor (1031) on built-in palette
//                          0: 1 when OK replaced it; also prints "count N"
//                          and "colour I A,R,G,B" for each colour
//   savepict               the picture settings (1025) on 512 x 512, preset
//                          0: 1 when OK; also prints "size W H preset P"
//   qtsetup [compressed]   the movie settings (1030) of a still sequence
//                          (or a compressed movie, whose OK asks for the
//                          compression settings, 1032): 1 when OK; also
//                          prints "frame W H mode M range S E"
// DIR (default: the Resources folder beside the program, else the build's)
// holds the layouts and the string lists. Script lines (scripted backend
// only; # starts a comment), points local to the dialog's window, which is
// centred on the 1280 x 1024 screen:
//   press H V | move H V | release H V | click H V
//   key C                one character, or tab, return, enter, escape, or
//                        a number
//   mod option|shift|command|control on|off
//   tick N
//   item N               presses item N of the front dialog
//   menu N               the next pop-up menu chooses entry N
// A dialog whose script runs out before it ends prints "script spent" and
// the program exits with status 3.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/palettes.h"
#include "foundation/appshell.h"
#include "foundation/mempool.h"
#include "foundation/pstrings.h"
#include "imaging/ports.h"
#include "platform/resources.h"
#include "platform/ui.h"
#include "probe_script.h"
#include "ui/dialogalerts.h"
#include "ui/dialoggradedit.h"
#include "ui/dialogprogress.h"
#include "ui/dialogsettings.h"
#include "ui/uilayout.h"
#include "ui/uilib.h"
#include "ui/uiset.h"

namespace {

struct Request
{
  std::string kind;
  std::vector<std::string> args;
};

int16_t dialogID(const std::string& kind)
{
  if (kind == "alert")
    return kAlertDialogID;
  if (kind == "warning")
    return kWarningDialogID;
  if (kind == "splash")
    return kAboutDialogID;
  if (kind == "saveask")
    return kSaveAskDialogID;
  if (kind == "gradedit")
    return kGradEditDialogID;
  if (kind == "savepict")
    return kSavePictDialogID;
  if (kind == "qtsetup")
    return kQTsetupDialogID;
  return 0;
}

// The OK/Cancel modes of the settings dialogs (0 for other kinds).
int16_t settingsOKMode(const std::string& kind)
{
  if (kind == "savepict")
    return 1;
  if (kind == "qtsetup")
    return 3;
  return 0;
}

// The settings dialogs: runs the kind's dialog on default records and
// prints what they hold afterwards; -1 for another kind.
int runSettingsDialog(const std::string& kind, const std::vector<std::string>& args)
{
  if (kind == "savepict") {
    KVpictureSettings settings;
    const int result = do_savepict_dlog(nullptr, &settings) ? 1 : 0;
    std::printf("size %d %d preset %d\n", settings.width, settings.height, settings.preset);
    return result;
  }
  if (kind != "qtsetup")
    return -1;
  KVmovieInputSettings input;
  KVmovieExportSettings movie;
  movie.mode = !args.empty() && args[0] == "compressed" ? 0 : 1;
  const int result = do_QTsetup_dlog(nullptr, &input, &movie) ? 1 : 0;
  std::printf("frame %d %d mode %d range %d %d\n", movie.frameWidth, movie.frameHeight, movie.mode,
              int(movie.startFrame), int(movie.endFrame));
  return result;
}

// Where the dialog's window will stand: its layout's size by the dialog's
// OK/Cancel mode, centred on the scripted main screen.
kvui::Point dialogOrigin(const Request& r, const FileRef& resources)
{
  uiset set;
  if (!set.Readuitems(resources, dialogID(r.kind), true))
    return {};
  const int16_t okMode = r.kind == "gradedit" ? 1 : settingsOKMode(r.kind);
  const Rect size = SetDlogOKCancel(&set, Rect{0, 0, set.designHeight, set.designWidth}, okMode);
  return kvui::Point{(1024 - RectHeight(size)) / 2, (1280 - RectWidth(size)) / 2};
}

// Queues the script's steps; the dialog's own step is "item N". False for a
// line it cannot read.
bool queueScript(std::istream& in, kvui::Point origin)
{
  probescript::StepQueue steps(origin, true);
  return probescript::readScript(in, "dialog_probe",
                                 [&](const std::string& op, std::istream& words) {
                                   int32_t n = 0;
                                   if (op != "item")
                                     return steps.step(op, words);
                                   if (!(words >> n))
                                     return false;
                                   kvui::script::pressItem(n);
                                   return true;
                                 });
}

void pstring(Str255 out, const std::string& s)
{
  SetPString(out, s.c_str());
}

int runDialog(const Request& r)
{
  Str255 text = {0};
  const auto arg = [&](size_t i) { return i < r.args.size() ? r.args[i] : std::string(); };
  if (r.kind == "alert") {
    pstring(text, arg(1));
    return RunAlertUser_dlog(kAlertDialogID, int16_t(std::atoi(arg(0).c_str())), text);
  }
  if (r.kind == "warning")
    return do_warning_dlog(kWarningDialogID, int16_t(std::atoi(arg(0).c_str())), arg(1) == "cancel")
               ? 1
               : 0;
  if (r.kind == "splash") {
    pstring(text, "");
    return do_SplatchScreen_dlog(kAboutDialogID, text, std::atoi(arg(0).c_str())) ? 1 : 0;
  }
  if (r.kind == "saveask") {
    pstring(text, arg(0));
    return do_saveask_dlog(kSaveAskDialogID, r.args.empty() ? nullptr : text);
  }
  if (const int settingsResult = runSettingsDialog(r.kind, r.args); settingsResult >= 0)
    return settingsResult;
  cpalette palette;
  define_cpalette(&palette, 0);
  static cpalettelib library;
  init_cpalettelib(&library);
  const int result = do_GradEdit_dlog(&palette, &library) ? 1 : 0;
  std::printf("count %d\n", int(palette.count));
  for (int32_t i = 0; i < palette.count && i < kPaletteSlots; ++i) {
    const normalcolor c = palette.colors[i];
    std::printf("colour %d %d,%d,%d,%d\n", int(i), c.flag, c.red, c.green, c.blue);
  }
  return result;
}

int usage()
{
  std::fprintf(stderr,
               "usage: dialog_probe [--gtk] [--script FILE] [--resources DIR] "
               "alert INDEX [TEXT] | warning INDEX [cancel] | splash TICKS | saveask TEXT | "
               "gradedit | savepict | qtsetup [compressed]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv)
{
  std::vector<std::string> args(argv + 1, argv + argc);
  bool gtk = false;
  std::string scriptPath;
  FileRef resources = kvfs::resourcesFolder();
  while (!args.empty() && args[0].rfind("--", 0) == 0) {
    if (args[0] == "--gtk") {
      gtk = true;
      args.erase(args.begin());
    } else if (args.size() >= 2 && args[0] == "--script") {
      scriptPath = args[1];
      args.erase(args.begin(), args.begin() + 2);
    } else if (args.size() >= 2 && args[0] == "--resources") {
      resources = FileRef::fromPath(args[1]);
      args.erase(args.begin(), args.begin() + 2);
    } else {
      return usage();
    }
  }
  if (args.empty() || dialogID(args[0]) == 0 || (gtk && !scriptPath.empty()))
    return usage();
  if (resources.empty())
    resources = FileRef::fromPath(kvfs::executableFolder().path() + "/../../Resources");
  const Request request{args[0], std::vector<std::string>(args.begin() + 1, args.end())};

  if (gtk) {
    if (!kvui::startGtk()) {
      std::fprintf(stderr, "dialog_probe: no display\n");
      return 1;
    }
  } else {
    kvui::startScripted();
  }
  finit(&gMemPool, kMemPoolFloorSize);
  init_EUILIB(nullptr, fourcc("Qjpr"), normalcolor{255, 255, 200, 0}, 0, &resources);
  kvres::closeAllStores();
  kvres::openApplicationStore(resources.child("Kovrelin.rsrc").path());
  InstallAlertDialogs();

  int status = 0;
  if (!scriptPath.empty()) {
    std::ifstream script(scriptPath);
    if (!script || !queueScript(script, dialogOrigin(request, resources))) {
      std::fprintf(stderr, "dialog_probe: cannot read the script %s\n", scriptPath.c_str());
      status = 1;
    }
  }
  if (status == 0) {
    const int result = runDialog(request);
    std::printf("result %d\n", result);
    if (kvdialog::spentLoops() > 0) {
      std::printf("script spent\n");
      status = 3;
    }
  }
  Kill_EUILIB();
  kvui::stop();
  return status;
}
