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

}  // namespace kvipc
