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

}  // namespace kvipc
