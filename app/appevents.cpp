#include "app/appevents.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/dispatch.h"
#include "app/filerefs.h"
#include "app/startup.h"
#include "foundation/appshell.h"
#include "foundation/iodata.h"
#include "platform/ipc.h"

namespace {

constexpr size_t kOpcodeSize = 4;
constexpr size_t kRecordFixedSize = 4 + 1 + 1 + 64 + 2;
constexpr int16_t kOpenBrowserCommand = 501;
constexpr int16_t kFileBlockCommand = 502;
constexpr OSErr kNotSent = -1;

void put16(std::vector<uint8_t>& out, uint16_t v)
{
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(uint8_t(v >> shift));
}

uint16_t get16(const uint8_t* p)
{
  return uint16_t(p[0] | (p[1] << 8));
}

uint32_t get32(const uint8_t* p)
{
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// The record's type becomes the first type of the file layer's list, as the
// open dialog leaves it, before the browser is asked to show the file.
void sendShowFile(frefinfos* record)
{
  gIOdata.typeList[0] = record->type;
  if (gIOdata.typeCount < 1)
    gIOdata.typeCount = 1;
  DoGeneralCommand(int32_t(fourcc("ofsr")), record);
}

void onOpcode(const uint8_t* data, size_t length, void*)
{
  OpcodeHandler(data, length);
}

void onOpcodeFile(const uint8_t* data, size_t length, void*)
{
  OpcodeFileHandler(data, length);
}

void onQuit(const uint8_t*, size_t, void*)
{
  HandleQuitApp();
}

void onPreferences(const uint8_t*, size_t, void*)
{
  HandleAppPrefs();
}

void onOpenDocuments(const std::vector<std::string>& paths, void*)
{
  HandleOpenDoc(paths);
}

// Sends the payload to the sibling's action when the sibling runs.
OSErr sendToSibling(OSType eventClass, std::vector<uint8_t> payload, OSType creator)
{
  AppleEvent event;
  MakeAppleEvent(eventClass, &event, creator);
  event.data = std::move(payload);
  return SendAppleEvent(event);
}

std::string fourccText(OSType code)
{
  return {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
}

}  // namespace

std::vector<uint8_t> AE_serializeRecord(const frefinfos& record)
{
  std::vector<uint8_t> out;
  put32(out, record.type);
  out.push_back(record.state);
  out.push_back(record.isFolder);
  const size_t nameLength = std::min<size_t>(record.name[0], 63);
  out.push_back(uint8_t(nameLength));
  out.insert(out.end(), record.name + 1, record.name + 1 + nameLength);
  out.resize(out.size() + 63 - nameLength, 0);
  const std::string parent = record.parent.path();
  const size_t pathLength = std::min<size_t>(parent.size(), 0xFFFF);
  put16(out, uint16_t(pathLength));
  out.insert(out.end(), parent.begin(), parent.begin() + std::ptrdiff_t(pathLength));
  return out;
}

bool AE_parseRecord(const uint8_t* data, size_t length, frefinfos* out)
{
  if (!data || length < kRecordFixedSize)
    return false;
  const size_t pathLength = get16(data + 70);
  if (kRecordFixedSize + pathLength != length || data[6] > 63)
    return false;
  frefinfos record;
  record.type = get32(data);
  record.state = data[4];
  record.isFolder = data[5];
  std::memcpy(record.name, data + 6, size_t(data[6]) + 1);
  record.parent = FileRef::fromPath(
      std::string(reinterpret_cast<const char*>(data + kRecordFixedSize), pathLength));
  *out = record;
  return true;
}

int16_t OpcodeHandler(const uint8_t* data, size_t length)
{
  if (!data || length < kOpcodeSize)
    return 0;
  uint8_t block[kOpcodeBlockSize] = {};
  std::memcpy(block, data, std::min(length, kOpcodeBlockSize));
  DoGeneralCommand(int32_t(get32(block)), block + kOpcodeSize);
  return 0;
}

int16_t OpcodeFileHandler(const uint8_t* data, size_t length)
{
  if (!data || length < kOpcodeSize)
    return 0;
  frefinfos record;
  if (AE_parseRecord(data + kOpcodeSize, length - kOpcodeSize, &record)) {
    sendShowFile(&record);
    return 0;
  }
  if (length < kOpcodeFileBlockSize)
    return 0;
  uint8_t block[kOpcodeFileBlockSize];
  std::memcpy(block, data, kOpcodeFileBlockSize);
  DoGeneralCommand(kFileBlockCommand, block);
  return 0;
}

int16_t AEOpenDocument(const std::vector<std::string>& paths)
{
  for (const std::string& path : paths) {
    FileRef file = FileRef::fromPath(path);
    // Folders are shown by the start-up's own request handler.
    if (kvfs::isFolder(file))
      continue;
    DoGeneralCommand(kOpenBrowserCommand, nullptr);
    frefinfos record;
    if (App_FSSpec2frefinfos(file, &record))
      sendShowFile(&record);
  }
  return 0;
}

int16_t HandleQuitApp()
{
  DoGeneralCommand(int32_t(fourcc("quit")), nullptr);
  return 0;
}

int16_t HandleAppPrefs()
{
  DoGeneralCommand(int32_t(fourcc("pref")), nullptr);
  return 0;
}

int16_t HandleOpenDoc(const std::vector<std::string>& paths)
{
  KVapp_OpenDocuments(paths);
  return AEOpenDocument(paths);
}

void installAEHandlers()
{
  kvipc::addAction("opcd", true, onOpcode, nullptr);
  kvipc::addAction("opcf", true, onOpcodeFile, nullptr);
  kvipc::addAction("quit", false, onQuit, nullptr);
  kvipc::addAction("pref", false, onPreferences, nullptr);
  kvipc::setOpenHandler(onOpenDocuments, nullptr);
}

OSErr MakeAppleEvent(OSType eventClass, AppleEvent* event, OSType creator)
{
  event->target = kvipc::applicationId(creator);
  event->action = fourccText(eventClass);
  event->data.clear();
  return 0;
}

OSErr SendAppleEvent(const AppleEvent& event)
{
  if (!kvipc::nameHasOwner(event.target))
    return kNotSent;
  return kvipc::activateRemoteAction(event.target, event.action, event.data.data(),
                                     event.data.size(), true)
             ? 0
             : kNotSent;
}

OSErr FindAProcess(OSType type, OSType creator, FileRef* app)
{
  if (type != fourcc("APPL"))
    return kProcNotFound;
  const uint32_t pid = kvipc::nameOwnerProcess(kvipc::applicationId(creator));
  if (pid == 0)
    return kProcNotFound;
  if (app) {
    std::error_code error;
    const auto program =
        std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
    *app = error ? FileRef{} : FileRef::fromPath(program.string());
  }
  return 0;
}

OSErr SendAppOpcode(const void* data, int16_t length, OSType creator)
{
  if (!data || length < 0)
    return kNotSent;
  const auto* bytes = static_cast<const uint8_t*>(data);
  return sendToSibling(fourcc("opcd"), std::vector<uint8_t>(bytes, bytes + length), creator);
}

OSErr SendFAppOpcode(int32_t opcode, const frefinfos& record, OSType creator)
{
  std::vector<uint8_t> payload;
  put32(payload, uint32_t(opcode));
  const std::vector<uint8_t> serialised = AE_serializeRecord(record);
  payload.insert(payload.end(), serialised.begin(), serialised.end());
  return sendToSibling(fourcc("opcf"), std::move(payload), creator);
}

OSErr OpenApplication(OSType creator)
{
  if (FindAProcess(fourcc("APPL"), creator, nullptr) != 0)
    return kNotSent;
  std::string message;
  const int error = kvipc::activateApplication(kvipc::applicationId(creator), &message);
  if (error == 0)
    return 0;
  const unsigned char empty[1] = {0};
  reportText(empty, error);
  return OSErr(error == 0 ? kNotSent : error);
}

OSErr OpenEfileSelection(const frefinfos& record, OSType creator)
{
  const OSErr opened = OpenApplication(creator);
  if (opened != 0)
    return opened;
  return SendFAppOpcode(int32_t(fourcc("ofsr")), record, creator);
}

OSErr OpenSelection(const FileRef& file, OSType creator)
{
  const OSErr opened = OpenApplication(creator);
  if (opened != 0)
    FinderOpenFile(file);
  frefinfos record;
  if (App_FSSpec2frefinfos(file, &record))
    SendFAppOpcode(int32_t(fourcc("ofsr")), record, creator);
  return opened;
}

std::vector<uint8_t> AE_liilData(const FileRef& file)
{
  std::vector<uint8_t> out;
  put32(out, fourcc("liil"));
  const std::string path = file.path();
  if (path.size() > kOpcodeBlockSize - kOpcodeSize - 2)
    return {};
  put16(out, uint16_t(path.size()));
  out.insert(out.end(), path.begin(), path.end());
  return out;
}

OSErr FinderOpenFile(const FileRef& file)
{
  return kvipc::launchDefaultForUri(kvipc::fileUri(file.path())) ? 0 : kNotSent;
}

OSErr LaunchFinder()
{
  const char* home = std::getenv("HOME");
  return kvipc::launchDefaultForUri(kvipc::fileUri(home && *home ? home : "/")) ? 0 : kNotSent;
}
