#include "platform/ipc.h"

#include <cstdio>
#include <gio/gio.h>

namespace kvipc {

namespace {

struct State
{
  GApplication* app = nullptr;
  OpenHandler handler = nullptr;
  void* user = nullptr;
};

State& S()
{
  static State state;
  return state;
}

void onOpen(GApplication*, GFile** files, gint count, gchar*, gpointer)
{
  std::vector<std::string> paths;
  for (gint i = 0; i < count; ++i) {
    char* path = g_file_get_path(files[i]);
    if (path)
      paths.emplace_back(path);
    g_free(path);
  }
  if (S().handler)
    S().handler(paths, S().user);
}

// An activation without paths: an "open documents" request with none.
void onActivate(GApplication*, gpointer)
{
  if (S().handler)
    S().handler({}, S().user);
}

// Hands the paths to the primary instance and waits until they are sent.
void sendToPrimary(GApplication* app, const std::vector<std::string>& paths)
{
  if (paths.empty()) {
    g_application_activate(app);
  } else {
    std::vector<GFile*> files;
    for (const std::string& p : paths)
      files.push_back(g_file_new_for_commandline_arg(p.c_str()));
    g_application_open(app, files.data(), gint(files.size()), "");
    for (GFile* f : files)
      g_object_unref(f);
  }
  if (GDBusConnection* bus = g_application_get_dbus_connection(app))
    g_dbus_connection_flush_sync(bus, nullptr, nullptr);
}

}  // namespace

std::string applicationId(uint32_t creator)
{
  std::string id = "org.kovrelin.";
  for (int shift = 24; shift >= 0; shift -= 8) {
    unsigned char c = static_cast<unsigned char>(creator >> shift);
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (plain) {
      id += char(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "_%02x", unsigned(c));
      id += escaped;
    }
  }
  return id;
}

Role start(uint32_t creator, const std::vector<std::string>& paths, OpenHandler handler, void* user)
{
  stop();
  std::string id = applicationId(creator);
  GApplication* app = g_application_new(id.c_str(), G_APPLICATION_HANDLES_OPEN);
  if (!app)
    return Role::failed;
  g_signal_connect(app, "open", G_CALLBACK(onOpen), nullptr);
  g_signal_connect(app, "activate", G_CALLBACK(onActivate), nullptr);
  GError* error = nullptr;
  // Without a session bus the registration still succeeds: the instance is
  // then a lone primary one.
  if (!g_application_register(app, nullptr, &error)) {
    if (error) {
      std::fprintf(stderr, "kovrelin-browser: %s\n", error->message);
      g_error_free(error);
    }
    g_object_unref(app);
    return Role::failed;
  }
  if (g_application_get_is_remote(app)) {
    sendToPrimary(app, paths);
    g_object_unref(app);
    return Role::remote;
  }
  S().app = app;
  S().handler = handler;
  S().user = user;
  g_application_hold(app);
  return Role::primary;
}

void stop()
{
  State& s = S();
  if (!s.app)
    return;
  g_application_release(s.app);
  g_object_unref(s.app);
  s = State{};
}

bool hasSessionBus()
{
  return S().app && g_application_get_dbus_connection(S().app) != nullptr;
}

// ---- Actions and messages to other applications ---------------------------

namespace {

struct ActionTarget
{
  ActionHandler handler;
  void* user;
};

void onAction(GSimpleAction*, GVariant* parameter, gpointer data)
{
  auto* target = static_cast<ActionTarget*>(data);
  if (!parameter) {
    target->handler(nullptr, 0, target->user);
    return;
  }
  if (!g_variant_is_of_type(parameter, G_VARIANT_TYPE_BYTESTRING))
    return;
  gsize length = 0;
  const void* bytes = g_variant_get_fixed_array(parameter, &length, 1);
  target->handler(static_cast<const uint8_t*>(bytes), length, target->user);
}

void freeTarget(gpointer data, GClosure*)
{
  delete static_cast<ActionTarget*>(data);
}

// The running application's connection, else a session bus connection of
// our own (null, quietly, without a session bus).
GDBusConnection* sessionBus()
{
  if (S().app)
    if (GDBusConnection* bus = g_application_get_dbus_connection(S().app))
      return static_cast<GDBusConnection*>(g_object_ref(bus));
  return g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
}

}  // namespace

bool addAction(const std::string& name, bool withBytes, ActionHandler handler, void* user)
{
  if (!S().app || !handler)
    return false;
  GSimpleAction* action =
      g_simple_action_new(name.c_str(), withBytes ? G_VARIANT_TYPE_BYTESTRING : nullptr);
  g_signal_connect_data(action, "activate", G_CALLBACK(onAction), new ActionTarget{handler, user},
                        freeTarget, GConnectFlags(0));
  g_action_map_add_action(G_ACTION_MAP(S().app), G_ACTION(action));
  g_object_unref(action);
  return true;
}

void setOpenHandler(OpenHandler handler, void* user)
{
  S().handler = handler;
  S().user = user;
}

bool nameHasOwner(const std::string& busName)
{
  GDBusConnection* bus = sessionBus();
  if (!bus)
    return false;
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
      g_variant_new("(s)", busName.c_str()), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, -1,
      nullptr, nullptr);
  g_object_unref(bus);
  if (!reply)
    return false;
  gboolean owned = FALSE;
  g_variant_get(reply, "(b)", &owned);
  g_variant_unref(reply);
  return owned != FALSE;
}

uint32_t nameOwnerProcess(const std::string& busName)
{
  GDBusConnection* bus = sessionBus();
  if (!bus)
    return 0;
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
      "GetConnectionUnixProcessID", g_variant_new("(s)", busName.c_str()), G_VARIANT_TYPE("(u)"),
      G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
  g_object_unref(bus);
  if (!reply)
    return 0;
  guint32 pid = 0;
  g_variant_get(reply, "(u)", &pid);
  g_variant_unref(reply);
  return pid;
}

std::string objectPath(const std::string& appId)
{
  std::string path = "/" + appId;
  for (char& c : path)
    if (c == '.')
      c = '/';
  return path;
}

bool activateRemoteAction(const std::string& appId, const std::string& action, const uint8_t* data,
                          size_t length, bool withBytes)
{
  GDBusConnection* bus = sessionBus();
  if (!bus)
    return false;
  GVariantBuilder parameters;
  g_variant_builder_init(&parameters, G_VARIANT_TYPE("av"));
  if (withBytes)
    g_variant_builder_add(
        &parameters, "v",
        g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, length ? data : nullptr, length, 1));
  GVariantBuilder platform;
  g_variant_builder_init(&platform, G_VARIANT_TYPE("a{sv}"));
  // Sent without waiting for an answer, so that a message to this very
  // program does not wait on its own main loop.
  GDBusMessage* message = g_dbus_message_new_method_call(
      appId.c_str(), objectPath(appId).c_str(), "org.freedesktop.Application", "ActivateAction");
  g_dbus_message_set_body(message,
                          g_variant_new("(sava{sv})", action.c_str(), &parameters, &platform));
  g_dbus_message_set_flags(message, G_DBUS_MESSAGE_FLAGS_NO_REPLY_EXPECTED);
  bool sent = g_dbus_connection_send_message(bus, message, G_DBUS_SEND_MESSAGE_FLAGS_NONE, nullptr,
                                             nullptr) != FALSE;
  if (sent)
    g_dbus_connection_flush_sync(bus, nullptr, nullptr);
  g_object_unref(message);
  g_object_unref(bus);
  return sent;
}

int activateApplication(const std::string& appId, std::string* message)
{
  GDBusConnection* bus = sessionBus();
  if (!bus) {
    if (message)
      *message = "no session bus";
    return -1;
  }
  GVariantBuilder platform;
  g_variant_builder_init(&platform, G_VARIANT_TYPE("a{sv}"));
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_sync(
      bus, appId.c_str(), objectPath(appId).c_str(), "org.freedesktop.Application", "Activate",
      g_variant_new("(a{sv})", &platform), nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, &error);
  g_object_unref(bus);
  if (reply) {
    g_variant_unref(reply);
    return 0;
  }
  int code = error && error->code != 0 ? error->code : -1;
  if (message)
    *message = error ? error->message : "";
  if (error)
    g_error_free(error);
  return code;
}

bool launchDefaultForUri(const std::string& uri)
{
  GError* error = nullptr;
  bool launched = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error) != FALSE;
  if (error)
    g_error_free(error);
  return launched;
}

std::string fileUri(const std::string& path)
{
  gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
  std::string out = uri ? uri : "";
  g_free(uri);
  return out;
}

}  // namespace kvipc
