// Messages between instances of the program, over D-Bus through GIO: the
// program is a GApplication with the id "org.kovrelin." plus its creator
// code. The first instance is the primary one and receives the paths that
// later instances are started with ("open documents"); a later instance
// hands its paths over and ends. Without a session bus every instance is a
// lone primary one that works on its own.
//
// Main thread only; the messages arrive while the main loop of the window
// layer runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kvipc {

// "org.kovrelin." + the creator code, each character outside A-Z, a-z and
// 0-9 written as "_" and two lower-case hex digits ('Qjpr' gives
// "org.kovrelin.Qjpr", 'new ' "org.kovrelin.new_20").
std::string applicationId(uint32_t creator);

// Receives the paths of an "open documents" request, absolute.
using OpenHandler = void (*)(const std::vector<std::string>& paths, void* user);

enum class Role
{
  primary,  // this instance runs; requests of later instances arrive here
  remote,   // another instance runs and has been handed the paths
  failed,   // the application could not be set up
};

// Registers the application (HANDLES_OPEN) and holds it until stop. As the
// primary instance, the handler gets every later request; as a remote one,
// `paths` (empty: an activation only) go to the primary instance before
// this returns.
Role start(uint32_t creator, const std::vector<std::string>& paths, OpenHandler handler,
           void* user);
// Releases the application (nothing when none was started).
void stop();
// True when the running instance is registered on a session bus (false for
// a lone instance).
bool hasSessionBus();

// ---- Actions and messages to other applications ---------------------------

// Receives an action's parameter bytes (none for a plain command).
using ActionHandler = void (*)(const uint8_t* data, size_t length, void* user);
// Adds action `name` to the running application: with `withBytes` it takes
// a parameter of type "ay", else none. False when no application runs.
bool addAction(const std::string& name, bool withBytes, ActionHandler handler, void* user);
// Replaces the receiver of "open documents" requests.
void setOpenHandler(OpenHandler handler, void* user);
// True when the bus name has an owner on the session bus (false without a
// bus).
bool nameHasOwner(const std::string& busName);
// The process id of the bus name's owner; 0 when it has none (or there is
// no bus).
uint32_t nameOwnerProcess(const std::string& busName);
// Activates action `action` of the application `appId` on the session bus,
// with the bytes as its "ay" parameter (withBytes) or with none, and waits
// for the call: false when it could not be made.
bool activateRemoteAction(const std::string& appId, const std::string& action, const uint8_t* data,
                          size_t length, bool withBytes);
// org.freedesktop.Application.Activate on `appId`: 0, or the error's code
// (never 0) with its message in *message.
int activateApplication(const std::string& appId, std::string* message);
// The object path of an application id ("org.a.B" gives "/org/a/B").
std::string objectPath(const std::string& appId);
// Opens the address with the desktop's default handler; false on failure.
bool launchDefaultForUri(const std::string& uri);
// The file: address of an absolute path.
std::string fileUri(const std::string& path);

}  // namespace kvipc
