// The GTK chooser run for real: the dialog answers itself from a timer,
// as a user would, once its event routine has placed it.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "platform/ui.h"
#include "tempfolder.h"

namespace {

struct Probe
{
  std::string select;
  std::vector<int16_t> messages;
  kvui::Rect custom;
};

GtkWidget* chooserDialog()
{
  GList* all = gtk_window_list_toplevels();
  GtkWidget* found = nullptr;
  for (GList* w = all; w; w = w->next)
    if (GTK_IS_FILE_CHOOSER_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data)))
      found = GTK_WIDGET(w->data);
  g_list_free(all);
  return found;
}

gboolean answer(gpointer data)
{
  auto* probe = static_cast<Probe*>(data);
  GtkWidget* dialog = chooserDialog();
  if (!dialog)
    return G_SOURCE_CONTINUE;
  if (probe->select.empty()) {
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
  } else {
    gtk_file_chooser_select_filename(GTK_FILE_CHOOSER(dialog), probe->select.c_str());
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
  }
  // The chooser refuses an accept while its folder is still loading: try
  // again until the dialog is gone.
  return G_SOURCE_CONTINUE;
}

void eventRoutine(int16_t message, kvui::Chooser* chooser, const kvui::Event*, void* user)
{
  auto* probe = static_cast<Probe*>(user);
  probe->messages.push_back(message);
  if (message == kvui::kChooserCustomize)
    kvui::setChooserCustomRect(chooser, kvui::Rect{0, 0, 64, 256});
  if (message == kvui::kChooserStart) {
    kvui::chooserSelectItem(chooser, probe->select.empty() ? "/" : probe->select);
    probe->custom = kvui::chooserCustomRect(chooser);
  }
}

class DialogGtkTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    if (!kvui::startGtk())
      GTEST_SKIP() << "no display";
  }
  void TearDown() override
  {
    if (kvui::isStarted())
      kvui::stop();
  }
};

TEST_F(DialogGtkTest, OpenChooserAnswersTheChosenFileOrACancel)
{
  TempFolder tmp;
  FileRef file = tmp.write("chosen.kovr", "x");
  for (bool cancel : {false, true}) {
    Probe probe;
    probe.select = cancel ? "" : file.path();
    kvui::ChooserRequest request;
    request.title = "Open Image ";
    request.eventProc = eventRoutine;
    request.eventUser = &probe;
    guint timer = g_timeout_add(50, answer, &probe);
    kvui::ChooserReply reply;
    bool chosen = kvui::runChooser(request, &reply);
    g_source_remove_by_user_data(&probe);
    (void)timer;
    EXPECT_EQ(chosen, !cancel);
    if (!cancel) {
      ASSERT_EQ(reply.paths.size(), 1u);
      EXPECT_EQ(reply.paths[0], file.path());
    }
    EXPECT_EQ(probe.messages.front(), kvui::kChooserCustomize);
    EXPECT_TRUE(probe.custom == (kvui::Rect{0, 0, 64, 256}));
  }
}

}  // namespace
