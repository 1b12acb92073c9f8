// The GTK file chooser and pop-up menus: a GtkFileChooserDialog
// (application-modal) whose extra widget is the custom area the event
// routine draws, and a GtkMenu shown at the pointer.

#include <cstring>
#include <gtk/gtk.h>

#include "platform/ui_pvt.h"

namespace kvui {

namespace {

GtkFileChooser* nativeChooser(Chooser* c)
{
  return GTK_FILE_CHOOSER(c->native);
}

gboolean filterItem(const GtkFileFilterInfo* info, gpointer data)
{
  auto* c = static_cast<Chooser*>(data);
  if (!info->filename)
    return FALSE;
  return c->request.filter(info->filename, c->request.filterUser) ? TRUE : FALSE;
}

std::vector<std::string> chosenPaths(GtkFileChooser* chooser)
{
  std::vector<std::string> paths;
  GSList* list = gtk_file_chooser_get_filenames(chooser);
  for (GSList* item = list; item; item = item->next) {
    paths.emplace_back(static_cast<char*>(item->data));
    g_free(item->data);
  }
  g_slist_free(list);
  return paths;
}

void onSelectionChanged(GtkFileChooser* chooser, gpointer data)
{
  auto* c = static_cast<Chooser*>(data);
  c->selection = chosenPaths(chooser);
  detail::chooserMessage(c, kChooserSelectionChanged, nullptr);
  if (GtkWidget* area = gtk_file_chooser_get_extra_widget(chooser))
    gtk_widget_queue_draw(area);
}

// An update of the custom area: the event routine draws into the custom
// pixels, which are then painted.
gboolean onDrawCustom(GtkWidget*, cairo_t* cr, gpointer data)
{
  auto* c = static_cast<Chooser*>(data);
  Event update;
  update.what = updateEvt;
  detail::chooserMessage(c, kChooserEvent, &update);
  Surface s = chooserCustomSurface(c);
  if (!s.pixels)
    return FALSE;
  cairo_surface_t* image = cairo_image_surface_create_for_data(s.pixels, CAIRO_FORMAT_ARGB32,
                                                               s.width, s.height, s.rowBytes);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_paint(cr);
  cairo_surface_destroy(image);
  return TRUE;
}

gboolean onPressCustom(GtkWidget* area, GdkEventButton* press, gpointer data)
{
  auto* c = static_cast<Chooser*>(data);
  Event down;
  down.what = mouseDown;
  down.local = Point{c->customRect.top + int32_t(press->y), c->customRect.left + int32_t(press->x)};
  down.where = Point{int32_t(press->y_root), int32_t(press->x_root)};
  down.modifiers = modifiersOfGdkState(press->state);
  detail::chooserMessage(c, kChooserEvent, &down);
  gtk_widget_queue_draw(area);
  return TRUE;
}

void showFolder(Chooser* c, const std::string& path)
{
  gtk_file_chooser_set_current_folder(nativeChooser(c), path.c_str());
}

void selectItem(Chooser* c, const std::string& path)
{
  if (c->request.kind == ChooserKind::save)
    gtk_file_chooser_set_filename(nativeChooser(c), path.c_str());
  else
    gtk_file_chooser_select_filename(nativeChooser(c), path.c_str());
}

void setSaveName(Chooser* c, const std::string& name)
{
  gtk_file_chooser_set_current_name(nativeChooser(c), name.c_str());
}

std::string saveNameNow(Chooser* c)
{
  gchar* name = gtk_file_chooser_get_current_name(nativeChooser(c));
  std::string text = name ? name : "";
  g_free(name);
  return text;
}

GtkWidget* makeDialog(Chooser* c)
{
  static const GtkFileChooserAction actions[] = {GTK_FILE_CHOOSER_ACTION_OPEN,
                                                 GTK_FILE_CHOOSER_ACTION_SAVE,
                                                 GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER};
  static const char* const accept[] = {"_Open", "_Save", "_Choose"};
  int kind = int(c->request.kind);
  GtkWidget* dialog = gtk_file_chooser_dialog_new(
      c->request.title.empty() ? nullptr : c->request.title.c_str(), nullptr, actions[kind],
      "_Cancel", GTK_RESPONSE_CANCEL, accept[kind], GTK_RESPONSE_ACCEPT, nullptr);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  if (!c->request.clientName.empty())
    gtk_window_set_role(GTK_WINDOW(dialog), c->request.clientName.c_str());
  auto* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_file_chooser_set_local_only(chooser, TRUE);
  if (c->request.kind == ChooserKind::open)
    gtk_file_chooser_set_select_multiple(chooser, c->request.multiple);
  if (c->request.kind == ChooserKind::save) {
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    gtk_file_chooser_set_current_name(chooser, c->saveName.c_str());
  }
  if (c->request.filter && c->request.kind == ChooserKind::open) {
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_add_custom(filter, GTK_FILE_FILTER_FILENAME, filterItem, c, nullptr);
    gtk_file_chooser_set_filter(chooser, filter);
  }
  return dialog;
}

void addCustomArea(Chooser* c, GtkWidget* dialog)
{
  int32_t width = c->customRect.right - c->customRect.left;
  int32_t height = c->customRect.bottom - c->customRect.top;
  if (width <= 0 || height <= 0)
    return;
  GtkWidget* area = gtk_drawing_area_new();
  gtk_widget_set_size_request(area, width, height);
  gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK);
  g_signal_connect(area, "draw", G_CALLBACK(onDrawCustom), c);
  g_signal_connect(area, "button-press-event", G_CALLBACK(onPressCustom), c);
  gtk_widget_show(area);
  gtk_file_chooser_set_extra_widget(GTK_FILE_CHOOSER(dialog), area);
}

void fillReply(Chooser* c, GtkFileChooser* chooser, ChooserReply* reply)
{
  reply->paths = chosenPaths(chooser);
  if (c->request.kind != ChooserKind::save || reply->paths.empty())
    return;
  std::string path = reply->paths.front();
  size_t slash = path.rfind('/');
  reply->folder = slash == 0 ? "/" : path.substr(0, slash);
  reply->name = path.substr(slash + 1);
}

// ---- Pop-up menus -------------------------------------------------------------------

struct MenuRun
{
  GMainLoop* loop = nullptr;
  int32_t chosen = 0;
};

void onMenuItem(GtkMenuItem* item, gpointer data)
{
  auto* run = static_cast<MenuRun*>(data);
  run->chosen = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), "kv-entry"));
}

void onMenuDone(GtkMenuShell*, gpointer data)
{
  // The item's activate comes after deactivate: quit once both are seen.
  g_idle_add(
      [](gpointer loop) -> gboolean {
        g_main_loop_quit(static_cast<GMainLoop*>(loop));
        return G_SOURCE_REMOVE;
      },
      static_cast<MenuRun*>(data)->loop);
}

GtkWidget* menuItem(const MenuEntry& entry, int16_t fontSize)
{
  GtkWidget* item = entry.checked ? gtk_check_menu_item_new_with_label(entry.text.c_str())
                                  : gtk_menu_item_new_with_label(entry.text.c_str());
  if (entry.checked)
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), TRUE);
  if (entry.coloured || fontSize > 0) {
    char colour[8];
    snprintf(colour, sizeof colour, "#%02x%02x%02x", entry.red, entry.green, entry.blue);
    std::string size = fontSize > 0 ? std::to_string(fontSize) + "pt" : "medium";
    gchar* markup = entry.coloured
                        ? g_markup_printf_escaped("<span foreground=\"%s\" size=\"%s\">%s</span>",
                                                  colour, size.c_str(), entry.text.c_str())
                        : g_markup_printf_escaped("<span size=\"%s\">%s</span>", size.c_str(),
                                                  entry.text.c_str());
    gtk_label_set_markup(GTK_LABEL(gtk_bin_get_child(GTK_BIN(item))), markup);
    g_free(markup);
  }
  gtk_widget_set_sensitive(item, entry.enabled);
  return item;
}

}  // namespace

namespace detail {

bool gtkRunChooser(Chooser* c, ChooserReply* reply)
{
  GtkWidget* dialog = makeDialog(c);
  c->native = dialog;
  c->showFolder = showFolder;
  c->selectItem = selectItem;
  c->setSaveName = setSaveName;
  c->saveNameNow = saveNameNow;
  chooserMessage(c, kChooserCustomize, nullptr);
  addCustomArea(c, dialog);
  g_signal_connect(dialog, "selection-changed", G_CALLBACK(onSelectionChanged), c);
  chooserMessage(c, kChooserStart, nullptr);
  // An accept that names no file (GTK lets one through while the folder is
  // still loading) leaves the dialog open, as if it had not been pressed: a
  // dialog that reports a choice always hands back a file.
  bool chosen = false;
  while (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    fillReply(c, GTK_FILE_CHOOSER(dialog), reply);
    if (!reply->paths.empty()) {
      chosen = true;
      break;
    }
  }
  gtk_widget_destroy(dialog);
  c->native = nullptr;
  c->showFolder = nullptr;
  c->selectItem = nullptr;
  c->setSaveName = nullptr;
  c->saveNameNow = nullptr;
  // Let the dialog's window go; bounded, as the chooser's own sources may
  // keep posting.
  for (int i = 0; i < 100 && gtk_events_pending(); ++i)
    gtk_main_iteration_do(FALSE);
  return chosen;
}

int32_t gtkPopUpMenu(const std::vector<MenuEntry>& entries, Point where,
                     const MenuPlacement& placement)
{
  MenuRun run;
  run.loop = g_main_loop_new(nullptr, FALSE);
  GtkWidget* menu = gtk_menu_new();
  int32_t index = 0;
  for (const MenuEntry& entry : entries) {
    GtkWidget* item = menuItem(entry, placement.fontSize);
    g_object_set_data(G_OBJECT(item), "kv-entry", GINT_TO_POINTER(++index));
    g_signal_connect(item, "activate", G_CALLBACK(onMenuItem), &run);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  }
  gtk_widget_show_all(menu);
  g_signal_connect(menu, "deactivate", G_CALLBACK(onMenuDone), &run);
  g_object_ref_sink(menu);
  // The menu opens at the global point on the root window (at the pointer
  // when there is none), with the asked entry highlighted.
  GdkWindow* root = gdk_get_default_root_window();
  if (root) {
    GdkRectangle at = {where.h, where.v, 1, 1};
    gtk_menu_popup_at_rect(GTK_MENU(menu), root, &at, GDK_GRAVITY_NORTH_WEST,
                           GDK_GRAVITY_NORTH_WEST, nullptr);
  } else {
    gtk_menu_popup_at_pointer(GTK_MENU(menu), nullptr);
  }
  if (placement.underMouse >= 1 && placement.underMouse <= int32_t(entries.size())) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
    if (GList* node = g_list_nth(children, guint(placement.underMouse - 1)))
      gtk_menu_shell_select_item(GTK_MENU_SHELL(menu), GTK_WIDGET(node->data));
    g_list_free(children);
  }
  if (gtk_widget_get_visible(menu))
    g_main_loop_run(run.loop);
  gtk_widget_destroy(menu);
  g_object_unref(menu);
  g_main_loop_unref(run.loop);
  return run.chosen;
}

}  // namespace detail
}  // namespace kvui
