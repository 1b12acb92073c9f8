// The GTK menu bars: one GtkMenuBar per window, built from the model, with
// Ctrl accelerators for the command keys; F10 opens the first menu (GTK's
// own menu-bar key). Items are re-made when the model's structure changes;
// the enabled state, text and mark of one item are changed in place.

#include <gtk/gtk.h>

#include "platform/menubar_pvt.h"
#include "platform/ui_pvt.h"

namespace kvmenu::detail {

namespace {

struct ItemRef
{
  int16_t menu = 0;
  int16_t item = 0;
};

struct Bar
{
  kvui::WindowRef window = nullptr;
  GtkWidget* bar = nullptr;
  GtkAccelGroup* accel = nullptr;
  // The widgets of each menu's items, by menu id.
  std::vector<std::pair<int16_t, std::vector<GtkWidget*>>> items;
  std::vector<ItemRef*> refs;  // owned, freed with the bar's widgets
};

std::vector<Bar*>& bars()
{
  static std::vector<Bar*> list;
  return list;
}

Bar* barOf(kvui::WindowRef w)
{
  for (Bar* b : bars())
    if (b->window == w)
      return b;
  return nullptr;
}

void freeRefs(Bar* b)
{
  for (ItemRef* r : b->refs)
    delete r;
  b->refs.clear();
  b->items.clear();
}

void onItemActivate(GtkMenuItem*, gpointer data)
{
  // The command may close the window and free its bar: the place is copied.
  const ItemRef ref = *static_cast<ItemRef*>(data);
  chooseItem(ref.menu, ref.item);
  // A check item toggles itself: the model says what it shows.
  gtkSyncItem(ref.menu, ref.item);
}

void fillWindowMenu(GtkWidget* submenu);

void onMenuShow(GtkWidget*, gpointer data)
{
  // The program brings the items up to date; gtkSyncItem shows them.
  adjustMenu(int16_t(GPOINTER_TO_INT(data)));
}

void onWindowMenuShow(GtkWidget* submenu, gpointer)
{
  fillWindowMenu(submenu);
}

GtkWidget* makeItem(Bar* b, const Menu& m, size_t index)
{
  const Item& it = m.items[index];
  if (it.separator)
    return gtk_separator_menu_item_new();
  GtkWidget* w = it.mark ? gtk_check_menu_item_new_with_label(it.text.c_str())
                         : gtk_menu_item_new_with_label(it.text.c_str());
  if (it.mark)
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(w), TRUE);
  gtk_widget_set_sensitive(w, it.enabled);
  if (it.key) {
    guint keyval = gdk_unicode_to_keyval(g_unichar_tolower(guint32(it.key)));
    gtk_widget_add_accelerator(w, "activate", b->accel, keyval, GDK_CONTROL_MASK,
                               GTK_ACCEL_VISIBLE);
  }
  auto* ref = new ItemRef{m.id, int16_t(index + 1)};
  b->refs.push_back(ref);
  g_signal_connect(w, "activate", G_CALLBACK(onItemActivate), ref);
  return w;
}

void onWindowItem(GtkMenuItem*, gpointer data)
{
  chooseItem(kWindowMenuID, int16_t(GPOINTER_TO_INT(data)));
}

void fillWindowMenu(GtkWidget* submenu)
{
  GList* children = gtk_container_get_children(GTK_CONTAINER(submenu));
  for (GList* c = children; c; c = c->next)
    gtk_widget_destroy(GTK_WIDGET(c->data));
  g_list_free(children);
  auto list = windowMenuWindows();
  kvui::WindowRef front = kvui::frontWindow();
  for (size_t i = 0; i < list.size(); ++i) {
    std::string title = kvui::windowTitle(list[i]);
    GtkWidget* w = gtk_check_menu_item_new_with_label(title.c_str());
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(w), list[i] == front);
    g_signal_connect(w, "activate", G_CALLBACK(onWindowItem), GINT_TO_POINTER(int(i + 1)));
    gtk_menu_shell_append(GTK_MENU_SHELL(submenu), w);
    gtk_widget_show(w);
  }
}

void build(Bar* b)
{
  GList* children = gtk_container_get_children(GTK_CONTAINER(b->bar));
  for (GList* c = children; c; c = c->next)
    gtk_widget_destroy(GTK_WIDGET(c->data));
  g_list_free(children);
  freeRefs(b);
  for (const Menu& m : menus()) {
    if (!m.inBar)
      continue;
    GtkWidget* top = gtk_menu_item_new_with_label(m.title.c_str());
    GtkWidget* submenu = gtk_menu_new();
    gtk_menu_set_accel_group(GTK_MENU(submenu), b->accel);
    std::vector<GtkWidget*> widgets;
    for (size_t i = 0; i < m.items.size(); ++i) {
      GtkWidget* w = makeItem(b, m, i);
      gtk_menu_shell_append(GTK_MENU_SHELL(submenu), w);
      widgets.push_back(w);
    }
    if (m.id == kWindowMenuID) {
      fillWindowMenu(submenu);
      g_signal_connect(submenu, "show", G_CALLBACK(onWindowMenuShow), nullptr);
    } else
      g_signal_connect(submenu, "show", G_CALLBACK(onMenuShow), GINT_TO_POINTER(int(m.id)));
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), submenu);
    gtk_menu_shell_append(GTK_MENU_SHELL(b->bar), top);
    b->items.emplace_back(m.id, std::move(widgets));
  }
  gtk_widget_show_all(b->bar);
}

// Keys for the bar: before a command key the program brings the menus up
// to date; then GTK's accelerators, mnemonics and menu-bar key (F10) act.
bool filterKey(void* event, kvui::Window* window)
{
  auto* e = static_cast<GdkEventKey*>(event);
  Bar* b = barOf(window);
  if (e->type != GDK_KEY_PRESS || !b)
    return false;
  if (e->state & GDK_CONTROL_MASK)
    for (int16_t id : barMenus())
      adjustMenu(id);
  GtkWidget* toplevel = gtk_widget_get_toplevel(b->bar);
  return GTK_IS_WINDOW(toplevel) && gtk_window_activate_key(GTK_WINDOW(toplevel), e);
}

void onBarDestroy(GtkWidget* widget, gpointer)
{
  auto& list = bars();
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i]->bar != widget)
      continue;
    Bar* b = list[i];
    list.erase(list.begin() + long(i));
    freeRefs(b);
    g_object_unref(b->accel);
    delete b;
    return;
  }
}

}  // namespace

void gtkAttach(kvui::WindowRef window)
{
  auto* b = new Bar;
  b->window = window;
  b->bar = gtk_menu_bar_new();
  b->accel = gtk_accel_group_new();
  build(b);
  bars().push_back(b);
  g_signal_connect(b->bar, "destroy", G_CALLBACK(onBarDestroy), nullptr);
  if (!kvui::detail::gtkAttachTopWidget(window, b->bar, b->accel, filterKey))
    gtk_widget_destroy(b->bar);
}

bool gtkHasBar(kvui::WindowRef window)
{
  return barOf(window) != nullptr;
}

void gtkRebuildAll()
{
  for (Bar* b : bars())
    build(b);
}

void gtkSyncItem(int16_t menuID, int16_t item)
{
  Menu* m = findMenu(menuID);
  if (!m || item < 1 || item > int16_t(m->items.size()))
    return;
  const Item& it = m->items[size_t(item - 1)];
  bool rebuildNeeded = false;
  for (Bar* b : bars()) {
    for (auto& [id, widgets] : b->items) {
      if (id != menuID || size_t(item) > widgets.size())
        continue;
      GtkWidget* w = widgets[size_t(item - 1)];
      if (it.separator)
        continue;
      bool isCheck = GTK_IS_CHECK_MENU_ITEM(w);
      if (isCheck != (it.mark != 0)) {
        rebuildNeeded = true;
        continue;
      }
      gtk_widget_set_sensitive(w, it.enabled);
      if (it.text != gtk_menu_item_get_label(GTK_MENU_ITEM(w)))
        gtk_menu_item_set_label(GTK_MENU_ITEM(w), it.text.c_str());
      if (isCheck && !gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(w)))
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(w), TRUE);
    }
  }
  if (rebuildNeeded)
    gtkRebuildAll();
}

void gtkForget()
{
  // The bars go with their windows; the model is empty now.
  gtkRebuildAll();
}

}  // namespace kvmenu::detail
