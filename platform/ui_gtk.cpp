// The GTK 3 backend: one GtkWindow with a drawing area per window, whose
// "draw" shows the pixels last flushed; GDK events become the layer's input
// (old key codes, modifier bits, presses counted by the layer with GTK's
// double-click time and distance).

#include <cstdlib>
#include <cstring>
#include <gtk/gtk.h>

#include "platform/menubar_pvt.h"
#include "platform/ui_pvt.h"

namespace kvui {

namespace {

struct Native
{
  Window* owner = nullptr;
  GtkWidget* window = nullptr;
  GtkWidget* area = nullptr;
};

// Input handled since start: a wait for input ends when it moves.
uint64_t gInputCount = 0;
int16_t gCursorId = kCursorArrow;

Native* nativeOf(Window* w)
{
  return static_cast<Native*>(w->native);
}

// ---- Key and modifier tables -------------------------------------------------------

struct KeyEntry
{
  uint32_t keyval;
  int16_t code;
};

// The old virtual key codes of the keys that are not letters.
constexpr KeyEntry kKeyTable[] = {
    {GDK_KEY_Return, 36},      {GDK_KEY_Tab, 48},          {GDK_KEY_ISO_Left_Tab, 48},
    {GDK_KEY_space, 49},       {GDK_KEY_grave, 50},        {GDK_KEY_BackSpace, 51},
    {GDK_KEY_Escape, 53},      {GDK_KEY_Control_L, 55},    {GDK_KEY_Control_R, 55},
    {GDK_KEY_Shift_L, 56},     {GDK_KEY_Caps_Lock, 57},    {GDK_KEY_Alt_L, 58},
    {GDK_KEY_Super_L, 59},     {GDK_KEY_Shift_R, 60},      {GDK_KEY_Alt_R, 61},
    {GDK_KEY_Super_R, 62},     {GDK_KEY_F17, 64},          {GDK_KEY_KP_Decimal, 65},
    {GDK_KEY_KP_Multiply, 67}, {GDK_KEY_KP_Add, 69},       {GDK_KEY_Num_Lock, 71},
    {GDK_KEY_KP_Divide, 75},   {GDK_KEY_KP_Enter, 76},     {GDK_KEY_KP_Subtract, 78},
    {GDK_KEY_F18, 79},         {GDK_KEY_F19, 80},          {GDK_KEY_KP_Equal, 81},
    {GDK_KEY_KP_0, 82},        {GDK_KEY_KP_1, 83},         {GDK_KEY_KP_2, 84},
    {GDK_KEY_KP_3, 85},        {GDK_KEY_KP_4, 86},         {GDK_KEY_KP_5, 87},
    {GDK_KEY_KP_6, 88},        {GDK_KEY_KP_7, 89},         {GDK_KEY_F20, 90},
    {GDK_KEY_KP_8, 91},        {GDK_KEY_KP_9, 92},         {GDK_KEY_F5, 96},
    {GDK_KEY_F6, 97},          {GDK_KEY_F7, 98},           {GDK_KEY_F3, 99},
    {GDK_KEY_F8, 100},         {GDK_KEY_F9, 101},          {GDK_KEY_F11, 103},
    {GDK_KEY_F13, 105},        {GDK_KEY_F16, 106},         {GDK_KEY_F14, 107},
    {GDK_KEY_F10, 109},        {GDK_KEY_F12, 111},         {GDK_KEY_F15, 113},
    {GDK_KEY_Help, 114},       {GDK_KEY_Insert, 114},      {GDK_KEY_Home, 115},
    {GDK_KEY_Page_Up, 116},    {GDK_KEY_Delete, 117},      {GDK_KEY_F4, 118},
    {GDK_KEY_End, 119},        {GDK_KEY_F2, 120},          {GDK_KEY_Page_Down, 121},
    {GDK_KEY_F1, 122},         {GDK_KEY_Left, 123},        {GDK_KEY_Right, 124},
    {GDK_KEY_Down, 125},       {GDK_KEY_Up, 126},          {GDK_KEY_minus, 27},
    {GDK_KEY_equal, 24},       {GDK_KEY_bracketright, 30}, {GDK_KEY_bracketleft, 33},
    {GDK_KEY_apostrophe, 39},  {GDK_KEY_semicolon, 41},    {GDK_KEY_backslash, 42},
    {GDK_KEY_comma, 43},       {GDK_KEY_slash, 44},        {GDK_KEY_period, 47},
    {GDK_KEY_KP_Home, 89},     {GDK_KEY_KP_Up, 91},        {GDK_KEY_KP_Page_Up, 92},
    {GDK_KEY_KP_Left, 86},     {GDK_KEY_KP_Begin, 87},     {GDK_KEY_KP_Right, 88},
    {GDK_KEY_KP_End, 83},      {GDK_KEY_KP_Down, 84},      {GDK_KEY_KP_Page_Down, 85},
    {GDK_KEY_KP_Insert, 82},   {GDK_KEY_KP_Delete, 65},
};

// Letters a..z and digits 0..9 on the old keyboard.
constexpr int16_t kLetterCodes[26] = {0,  11, 8,  2,  14, 3, 5,  4,  34, 38, 40, 37, 46,
                                      45, 31, 35, 12, 15, 1, 17, 32, 9,  13, 7,  16, 6};
constexpr int16_t kDigitCodes[10] = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};

// The characters of keys that carry no printable one, as the old keyboard
// gave them.
uint32_t characterOf(uint32_t keyval)
{
  switch (keyval) {
    case GDK_KEY_Return:
      return 13;
    case GDK_KEY_KP_Enter:
      return 3;
    case GDK_KEY_BackSpace:
      return 8;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
      return 9;
    case GDK_KEY_Escape:
      return 27;
    case GDK_KEY_Left:
      return 28;
    case GDK_KEY_Right:
      return 29;
    case GDK_KEY_Up:
      return 30;
    case GDK_KEY_Down:
      return 31;
    case GDK_KEY_Delete:
      return 127;
    case GDK_KEY_Home:
      return 1;
    case GDK_KEY_End:
      return 4;
    case GDK_KEY_Page_Up:
      return 11;
    case GDK_KEY_Page_Down:
      return 12;
    default:
      return gdk_keyval_to_unicode(keyval);
  }
}

// The modifier bit a modifier key itself stands for (0 for other keys).
uint16_t modifierOfKey(uint32_t keyval)
{
  switch (keyval) {
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
      return cmdKey;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
      return shiftKey;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
      return optionKey;
    case GDK_KEY_Super_L:
    case GDK_KEY_Super_R:
      return controlKey;
    default:
      return 0;
  }
}

// ---- Screens and windows -------------------------------------------------------------

std::vector<Screen> gtkScreens()
{
  std::vector<Screen> list;
  GdkDisplay* display = gdk_display_get_default();
  if (!display)
    return list;
  GdkScreen* screen = gdk_display_get_default_screen(display);
  int16_t depth = int16_t(gdk_visual_get_depth(gdk_screen_get_system_visual(screen)));
  GdkMonitor* primary = gdk_display_get_primary_monitor(display);
  int n = gdk_display_get_n_monitors(display);
  for (int i = 0; i < n; ++i) {
    GdkMonitor* m = gdk_display_get_monitor(display, i);
    GdkRectangle g;
    gdk_monitor_get_geometry(m, &g);
    Screen s{Rect{g.y, g.x, g.y + g.height, g.x + g.width}, depth};
    if (m == primary)
      list.insert(list.begin(), s);
    else
      list.push_back(s);
  }
  return list;
}

void paintShown(Window* w, cairo_t* cr)
{
  cairo_surface_t* shown = cairo_image_surface_create_for_data(w->shown.data(), CAIRO_FORMAT_ARGB32,
                                                               w->width, w->height, w->width * 4);
  cairo_set_source_surface(cr, shown, 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_surface_destroy(shown);
}

gboolean onDraw(GtkWidget*, cairo_t* cr, gpointer data)
{
  paintShown(static_cast<Window*>(data), cr);
  return TRUE;
}

Point rootPoint(double x, double y)
{
  return Point{int32_t(y), int32_t(x)};
}

gboolean onButton(GtkWidget*, GdkEventButton* e, gpointer data)
{
  // GTK's own double and triple presses are left out: the layer counts.
  if (e->button != 1 || (e->type != GDK_BUTTON_PRESS && e->type != GDK_BUTTON_RELEASE))
    return TRUE;
  ++gInputCount;
  detail::inputMouse(static_cast<Window*>(data), rootPoint(e->x_root, e->y_root),
                     e->type == GDK_BUTTON_PRESS, modifiersOfGdkState(e->state));
  return TRUE;
}

gboolean onMotion(GtkWidget*, GdkEventMotion* e, gpointer data)
{
  ++gInputCount;
  bool button = (e->state & GDK_BUTTON1_MASK) != 0;
  // During a press the implicit grab keeps the events with the pressed
  // window, outside it too.
  detail::inputMouse(button ? static_cast<Window*>(data) : nullptr, rootPoint(e->x_root, e->y_root),
                     button, modifiersOfGdkState(e->state));
  return TRUE;
}

gboolean onKey(GtkWidget*, GdkEventKey* e, gpointer data)
{
  ++gInputCount;
  auto* w = static_cast<Window*>(data);
  bool down = e->type == GDK_KEY_PRESS;
  uint16_t mods = modifiersOfGdkState(e->state);
  if (uint16_t bit = modifierOfKey(e->keyval)) {
    // The state GDK gives is the one before this key.
    detail::inputModifiers(w, down ? uint16_t(mods | bit) : uint16_t(mods & ~bit));
    return TRUE;
  }
  int32_t code = keyCodeOfKeyval(e->keyval);
  if (code < 0)
    return TRUE;
  detail::inputKey(w, code, characterOf(e->keyval), down, false, mods);
  return TRUE;
}

gboolean onDelete(GtkWidget*, GdkEvent*, gpointer data)
{
  ++gInputCount;
  detail::inputWindowEvent(static_cast<Window*>(data), windowClose, 0, currentModifiers());
  return TRUE;  // the program decides whether the window goes
}

void reportBounds(Window* w, bool resizeDone)
{
  Native* n = nativeOf(w);
  GdkWindow* gw = gtk_widget_get_window(n->area);
  if (!gw)
    return;
  int x = 0, y = 0;
  gdk_window_get_origin(gw, &x, &y);
  int width = gtk_widget_get_allocated_width(n->area);
  int height = gtk_widget_get_allocated_height(n->area);
  if (width <= 1 && height <= 1)
    return;
  detail::inputBounds(w, Rect{y, x, y + height, x + width}, resizeDone);
}

gboolean onConfigure(GtkWidget*, GdkEventConfigure*, gpointer data)
{
  ++gInputCount;
  reportBounds(static_cast<Window*>(data), false);
  return FALSE;
}

void onSizeAllocate(GtkWidget*, GdkRectangle*, gpointer data)
{
  reportBounds(static_cast<Window*>(data), true);
}

gboolean onFocus(GtkWidget*, GdkEventFocus* e, gpointer data)
{
  ++gInputCount;
  detail::inputActivate(static_cast<Window*>(data), e->in != 0);
  return FALSE;
}

GdkCursor* cursorFor(int16_t id)
{
  std::string name = detail::cursorShape(id);
  GdkDisplay* display = gdk_display_get_default();
  GdkCursor* c = gdk_cursor_new_from_name(display, name.empty() ? "default" : name.c_str());
  return c ? c : gdk_cursor_new_from_name(display, "default");
}

void applyCursor(Window* w)
{
  Native* n = nativeOf(w);
  GdkWindow* gw = n ? gtk_widget_get_window(n->area) : nullptr;
  if (!gw)
    return;
  GdkCursor* c = cursorFor(gCursorId);
  gdk_window_set_cursor(gw, c);
  if (c)
    g_object_unref(c);
}

void onRealize(GtkWidget*, gpointer data)
{
  applyCursor(static_cast<Window*>(data));
}

// A dialog stays above the window that was in front when it opened.
void makeTransientForFront(Window* dialog, GtkWindow* win)
{
  for (WindowRef other : windows()) {
    if (other == dialog || !other->visible || !other->native)
      continue;
    gtk_window_set_transient_for(win, GTK_WINDOW(nativeOf(other)->window));
    return;
  }
}

bool gtkCreateWindow(Window* w)
{
  auto* n = new Native;
  n->owner = w;
  n->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* win = GTK_WINDOW(n->window);
  gtk_window_set_title(win, w->title.c_str());
  switch (w->kind) {
    case WindowKind::document:
      break;
    case WindowKind::modal:
      gtk_window_set_type_hint(win, GDK_WINDOW_TYPE_HINT_DIALOG);
      gtk_window_set_modal(win, TRUE);
      makeTransientForFront(w, win);
      break;
    case WindowKind::floating:
      gtk_window_set_type_hint(win, GDK_WINDOW_TYPE_HINT_UTILITY);
      gtk_window_set_keep_above(win, TRUE);
      break;
    case WindowKind::borderless:
      gtk_window_set_decorated(win, FALSE);
      break;
    case WindowKind::fullScreen:
      gtk_window_set_decorated(win, FALSE);
      gtk_window_fullscreen(win);
      break;
  }
  n->area = gtk_drawing_area_new();
  gtk_widget_add_events(n->area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                     GDK_POINTER_MOTION_MASK | GDK_STRUCTURE_MASK);
  gtk_widget_add_events(n->window, GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK |
                                       GDK_FOCUS_CHANGE_MASK | GDK_STRUCTURE_MASK);
  gtk_container_add(GTK_CONTAINER(n->window), n->area);
  gtk_window_set_default_size(win, w->width, w->height);
  gtk_window_move(win, w->content.left, w->content.top);
  g_signal_connect(n->area, "draw", G_CALLBACK(onDraw), w);
  g_signal_connect(n->area, "button-press-event", G_CALLBACK(onButton), w);
  g_signal_connect(n->area, "button-release-event", G_CALLBACK(onButton), w);
  g_signal_connect(n->area, "motion-notify-event", G_CALLBACK(onMotion), w);
  g_signal_connect(n->area, "size-allocate", G_CALLBACK(onSizeAllocate), w);
  g_signal_connect(n->area, "realize", G_CALLBACK(onRealize), w);
  g_signal_connect(n->window, "key-press-event", G_CALLBACK(onKey), w);
  g_signal_connect(n->window, "key-release-event", G_CALLBACK(onKey), w);
  g_signal_connect(n->window, "delete-event", G_CALLBACK(onDelete), w);
  g_signal_connect(n->window, "configure-event", G_CALLBACK(onConfigure), w);
  g_signal_connect(n->window, "focus-in-event", G_CALLBACK(onFocus), w);
  g_signal_connect(n->window, "focus-out-event", G_CALLBACK(onFocus), w);
  gtk_widget_show(n->area);
  w->native = n;
  return true;
}

void gtkDestroyWindow(Window* w)
{
  Native* n = nativeOf(w);
  if (!n)
    return;
  g_signal_handlers_disconnect_by_data(n->area, w);
  g_signal_handlers_disconnect_by_data(n->window, w);
  gtk_widget_destroy(n->window);
  delete n;
  w->native = nullptr;
}

// The height of a menu bar above the content: the toplevel is that much
// taller than the content and starts that much higher.
int32_t topExtra(Window* w)
{
  return detail::gtkTopWidgetHeight(w);
}

void gtkShowWindow(Window* w, bool show)
{
  Native* n = nativeOf(w);
  if (show) {
    detail::fillShown(w);
    gtk_widget_show(n->window);
    gtk_window_move(GTK_WINDOW(n->window), w->content.left, w->content.top - topExtra(w));
  } else {
    gtk_widget_hide(n->window);
  }
}

void gtkRaiseWindow(Window* w)
{
  gtk_window_present(GTK_WINDOW(nativeOf(w)->window));
}

void gtkSetTitle(Window* w)
{
  gtk_window_set_title(GTK_WINDOW(nativeOf(w)->window), w->title.c_str());
}

void gtkPlaceWindow(Window* w)
{
  GtkWindow* win = GTK_WINDOW(nativeOf(w)->window);
  gtk_window_move(win, w->content.left, w->content.top - topExtra(w));
  gtk_window_resize(win, w->width, w->height + topExtra(w));
}

void gtkSetMinimumSize(Window* w)
{
  GdkGeometry g{};
  g.min_width = w->minWidth;
  g.min_height = w->minHeight + topExtra(w);
  gtk_window_set_geometry_hints(GTK_WINDOW(nativeOf(w)->window), nullptr, &g, GDK_HINT_MIN_SIZE);
}

void gtkSetFullScreen(Window* w, bool on)
{
  GtkWindow* win = GTK_WINDOW(nativeOf(w)->window);
  if (on)
    gtk_window_fullscreen(win);
  else
    gtk_window_unfullscreen(win);
  // Placed by hand too: without a window manager nobody acts on the request.
  gtkPlaceWindow(w);
}

void gtkFlush(Window* w, Rect r)
{
  Native* n = nativeOf(w);
  GdkWindow* gw = gtk_widget_get_window(n->area);
  if (!gw || !gtk_widget_get_mapped(n->area))
    return;
  cairo_rectangle_int_t area{r.left, r.top, r.right - r.left, r.bottom - r.top};
  cairo_region_t* region = cairo_region_create_rectangle(&area);
  GdkDrawingContext* dc = gdk_window_begin_draw_frame(gw, region);
  cairo_t* cr = gdk_drawing_context_get_cairo_context(dc);
  paintShown(w, cr);
  gdk_window_end_draw_frame(gw, dc);
  cairo_region_destroy(region);
  gdk_display_flush(gdk_window_get_display(gw));
}

void gtkBeep()
{
  if (GdkDisplay* d = gdk_display_get_default())
    gdk_display_beep(d);
}

bool gtkSetCursor(int16_t id)
{
  if (detail::cursorShape(id).empty())
    return false;
  gCursorId = id;
  for (WindowRef w : windows())
    applyCursor(w);
  gdk_display_flush(gdk_display_get_default());
  return true;
}

gboolean onWaitOver(gpointer flag)
{
  *static_cast<bool*>(flag) = true;
  return G_SOURCE_REMOVE;
}

bool gtkProcessInput(bool wait, int32_t timeoutMs)
{
  uint64_t before = gInputCount;
  if (!wait) {
    if (!gtk_events_pending())
      return false;
    gtk_main_iteration_do(FALSE);
    return true;
  }
  bool over = false;
  guint source = g_timeout_add(guint(std::max(timeoutMs, 1)), onWaitOver, &over);
  while (!over && gInputCount == before)
    gtk_main_iteration_do(TRUE);
  if (!over)
    g_source_remove(source);
  return gInputCount != before;
}

// ---- Clipboard --------------------------------------------------------------------------

struct ClipOffer
{
  std::vector<ClipBlock> blocks;
};

void clipGet(GtkClipboard*, GtkSelectionData* sel, guint info, gpointer data)
{
  auto* offer = static_cast<ClipOffer*>(data);
  if (info >= offer->blocks.size())
    return;
  const ClipBlock& b = offer->blocks[info];
  gtk_selection_data_set(sel, gtk_selection_data_get_target(sel), 8, b.bytes.data(),
                         int(b.bytes.size()));
}

void clipClear(GtkClipboard*, gpointer data)
{
  delete static_cast<ClipOffer*>(data);
}

void gtkSetClipboard(const std::vector<ClipBlock>& blocks)
{
  GtkClipboard* cb = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  if (blocks.empty()) {
    gtk_clipboard_clear(cb);
    return;
  }
  std::vector<GtkTargetEntry> targets;
  for (size_t i = 0; i < blocks.size(); ++i)
    targets.push_back(GtkTargetEntry{const_cast<gchar*>(blocks[i].mimeType.c_str()), 0, guint(i)});
  auto* offer = new ClipOffer{blocks};
  // The entries' names are copied by GTK before the call returns.
  if (!gtk_clipboard_set_with_data(cb, targets.data(), guint(targets.size()), clipGet, clipClear,
                                   offer))
    delete offer;
  gtk_clipboard_set_can_store(cb, nullptr, 0);
}

bool gtkClipboardBlock(const std::string& mimeType, std::vector<uint8_t>* out)
{
  GtkClipboard* cb = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  GtkSelectionData* sel =
      gtk_clipboard_wait_for_contents(cb, gdk_atom_intern(mimeType.c_str(), FALSE));
  if (!sel)
    return false;
  int length = gtk_selection_data_get_length(sel);
  bool ok = length >= 0;
  if (ok && out) {
    const guchar* data = gtk_selection_data_get_data(sel);
    out->assign(data, data + length);
  }
  gtk_selection_data_free(sel);
  return ok;
}

void gtkStop()
{
  while (gtk_events_pending())
    gtk_main_iteration_do(FALSE);
}

}  // namespace

int32_t keyCodeOfKeyval(uint32_t keyval)
{
  uint32_t lower = gdk_keyval_to_lower(keyval);
  if (lower >= GDK_KEY_a && lower <= GDK_KEY_z)
    return kLetterCodes[lower - GDK_KEY_a];
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9)
    return kDigitCodes[keyval - GDK_KEY_0];
  for (const KeyEntry& e : kKeyTable)
    if (e.keyval == keyval)
      return e.code;
  return -1;
}

uint16_t modifiersOfGdkState(uint32_t state)
{
  uint16_t m = 0;
  if (state & GDK_CONTROL_MASK)
    m |= cmdKey;
  if (state & GDK_SHIFT_MASK)
    m |= shiftKey;
  if (state & GDK_LOCK_MASK)
    m |= alphaLock;
  if (state & GDK_MOD1_MASK)
    m |= optionKey;
  if (state & (GDK_SUPER_MASK | GDK_MOD4_MASK))
    m |= controlKey;
  return m;
}

bool startGtk()
{
  // No accessibility bus: the program has no use for it and it keeps
  // connections the leak checker would report.
  setenv("NO_AT_BRIDGE", "1", 0);
  if (!gtk_init_check(nullptr, nullptr))
    return false;
  detail::Backend b;
  b.scripted = false;
  gint clickMs = 400, distance = 5;
  g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &clickMs,
               "gtk-double-click-distance", &distance, nullptr);
  b.doubleClickTicks = uint32_t(std::max(clickMs, 1)) * 60 / 1000;
  b.doubleClickDistance = distance;
  b.screens = gtkScreens;
  b.createWindow = gtkCreateWindow;
  b.destroyWindow = gtkDestroyWindow;
  b.showWindow = gtkShowWindow;
  b.raiseWindow = gtkRaiseWindow;
  b.setTitle = gtkSetTitle;
  b.placeWindow = gtkPlaceWindow;
  b.setMinimumSize = gtkSetMinimumSize;
  b.setFullScreen = gtkSetFullScreen;
  b.flush = gtkFlush;
  b.beep = gtkBeep;
  b.setCursor = gtkSetCursor;
  b.processInput = gtkProcessInput;
  b.setClipboard = gtkSetClipboard;
  b.clipboardBlock = gtkClipboardBlock;
  b.stop = gtkStop;
  b.runChooser = detail::gtkRunChooser;
  b.popUpMenu = detail::gtkPopUpMenu;
  detail::start(b);
  return true;
}

// ---- Widgets above the content (menu bars) -----------------------------------------------

namespace {

struct TopWidget
{
  Window* window = nullptr;
  GtkWidget* widget = nullptr;
  detail::TopKeyFilter filter = nullptr;
};
std::vector<TopWidget> gTopWidgets;

TopWidget* topWidgetOf(Window* w)
{
  for (TopWidget& t : gTopWidgets)
    if (t.window == w)
      return &t;
  return nullptr;
}

void onTopWidgetDestroy(GtkWidget* widget, gpointer)
{
  std::erase_if(gTopWidgets, [&](const TopWidget& t) { return t.widget == widget; });
}

gboolean onTopKey(GtkWidget*, GdkEventKey* e, gpointer data)
{
  TopWidget* t = topWidgetOf(static_cast<Window*>(data));
  return t && t->filter && t->filter(e, t->window) ? TRUE : FALSE;
}

}  // namespace

bool detail::gtkAttachTopWidget(Window* w, void* widget, void* accelGroup, TopKeyFilter filter)
{
  Native* n = nativeOf(w);
  if (!n || topWidgetOf(w))
    return false;
  GtkWidget* top = static_cast<GtkWidget*>(widget);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  g_object_ref(n->area);
  gtk_container_remove(GTK_CONTAINER(n->window), n->area);
  gtk_box_pack_start(GTK_BOX(box), top, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), n->area, TRUE, TRUE, 0);
  g_object_unref(n->area);
  gtk_container_add(GTK_CONTAINER(n->window), box);
  gtk_widget_show_all(box);
  if (accelGroup)
    gtk_window_add_accel_group(GTK_WINDOW(n->window), static_cast<GtkAccelGroup*>(accelGroup));
  gTopWidgets.push_back(TopWidget{w, top, filter});
  g_signal_connect(top, "destroy", G_CALLBACK(onTopWidgetDestroy), nullptr);
  // The filter and the bar's own keys (F10) come before the layer's key
  // handler, which takes every key: it is connected again after them.
  g_signal_connect(n->window, "key-press-event", G_CALLBACK(onTopKey), w);
  g_signal_handlers_disconnect_by_func(n->window, reinterpret_cast<gpointer>(onKey), w);
  g_signal_connect(n->window, "key-press-event", G_CALLBACK(onKey), w);
  g_signal_connect(n->window, "key-release-event", G_CALLBACK(onKey), w);
  // The window keeps its top: the content starts below the bar.
  int32_t extra = gtkTopWidgetHeight(w);
  Rect content = w->content;
  content.top = std::min(content.top + extra, content.bottom - 1);
  detail::inputBounds(w, content, false);
  return true;
}

int32_t detail::gtkTopWidgetHeight(Window* w)
{
  TopWidget* t = topWidgetOf(w);
  if (!t || !gtk_widget_get_visible(t->widget))
    return 0;
  gint minimum = 0, natural = 0;
  gtk_widget_get_preferred_height(t->widget, &minimum, &natural);
  return std::max(minimum, natural);
}

}  // namespace kvui
