// Messages between this program and its siblings over D-Bus (GIO): the
// running browser answers "open" (open documents), "quit", "pref" and two
// private actions of its own, "opcd" (an opcode with a small data block) and
// "opcf" (an opcode with a file-reference record), each turned into a
// command of the application's command handler. Siblings are reached by
// their application ids (the tree editor 'Qjtt', Plodex 'QjqT').
//
// Payloads (the "ay" parameter of the action):
//   opcd: u32 opcode, little-endian, then up to 320 data bytes (324 used at
//         most; fewer than 4 bytes: ignored).
//   opcf: u32 opcode, then one record in the file-reference table's form
//         (app/filerefs.h): one whole record gives 'ofsr' with it; anything
//         else gives its first 76 bytes with command 502 (fewer: ignored).
//
// Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/fileio.h"
#include "foundation/types.h"
#include "platform/files.h"

inline constexpr size_t kOpcodeBlockSize = 324;
inline constexpr size_t kOpcodeFileBlockSize = 76;
inline constexpr int16_t kErrAEParamMissed = -1708;
inline constexpr OSType kTreeEditorCreator = 0x516A7474;  // 'Qjtt'
inline constexpr OSType kPlodexCreator = 0x516A7154;      // 'QjqT'

// Installs the handlers on the running application (platform/ipc).
void installAEHandlers();

// What the actions do; the D-Bus handlers call these. "quit" and "pref"
// give the commands 'quit' and 'pref'; "open" shows the files (GIO refuses a
// parameter an action does not take, so none can be left unread).
int16_t HandleQuitApp();
int16_t HandleAppPrefs();
int16_t HandleOpenDoc(const std::vector<std::string>& paths);
int16_t OpcodeHandler(const uint8_t* data, size_t length);
int16_t OpcodeFileHandler(const uint8_t* data, size_t length);
// Makes sure one browser exists (command 501), then shows each file that
// resolves ('ofsr'); 0.
int16_t AEOpenDocument(const std::vector<std::string>& paths);

// A record's serialised form: u32 type, u8 state, u8 folder flag, 64 bytes
// name, u16 length n + n bytes of parent path (little-endian).
std::vector<uint8_t> AE_serializeRecord(const frefinfos& record);
// Reads one whole record that fills the bytes exactly; false otherwise.
bool AE_parseRecord(const uint8_t* data, size_t length, frefinfos* out);

// A message to a sibling: the action of the application with the
// creator's id, and its "ay" parameter.
struct AppleEvent
{
  std::string target;  // application id
  std::string action;  // the event class as text: "opcd", "opcf"
  std::vector<uint8_t> data;
};
// Addresses the event of that class to the creator's application; 0.
OSErr MakeAppleEvent(OSType eventClass, AppleEvent* event, OSType creator);
// Activates the event's action when its target has an owner on the session
// bus (so nothing is started by the sending): 0, else -1.
OSErr SendAppleEvent(const AppleEvent& event);

// The running application of the creator (type 'APPL'): 0, with its
// program's path in *app when asked; -600 when none runs (no other type of
// process is known here).
inline constexpr OSErr kProcNotFound = -600;
OSErr FindAProcess(OSType type, OSType creator, FileRef* app);

// Senders: the sibling's action on its id when that name has an owner on
// the session bus; else nothing is sent and the result is -1.
OSErr SendAppOpcode(const void* data, int16_t length, OSType creator);
OSErr SendFAppOpcode(int32_t opcode, const frefinfos& record, OSType creator);
// Brings the sibling forward (org.freedesktop.Application.Activate) when it
// runs: 0; -1 (and nothing launched) when it does not run; a failed
// activation shows alert 1059 with the error number and gives its error.
OSErr OpenApplication(OSType creator);
// OpenApplication, then 'ofsr' with the record.
OSErr OpenEfileSelection(const frefinfos& record, OSType creator);
// OpenApplication (the desktop's handler opens the file instead when that
// fails), then 'ofsr' with the file's record.
OSErr OpenSelection(const FileRef& file, OSType creator);
// The data of opcode 'liil': 'liil', u16 length, the file's UTF-8 path;
// empty (nothing to send) when the path does not fit the 320 data bytes.
std::vector<uint8_t> AE_liilData(const FileRef& file);
// Opens the file, or the home folder (in the file manager), with the
// desktop's default handler.
OSErr FinderOpenFile(const FileRef& file);
OSErr LaunchFinder();
