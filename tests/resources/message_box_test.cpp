#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>

#include "platform/alert.h"
#include "resources/tga_loader.h"
#include "tests/support/environment.h"
#include "tests/support/alert_capture.h"

namespace {

TEST(MessageBoxTest, PassesTitleAndTextVerbatim) {
    AlertCapture alerts;
    MessageBox(nullptr, "100% %s %n", "Invalid Image", 7);
    ASSERT_EQ(alerts.alerts.size(), 1u);
    EXPECT_EQ(alerts.alerts[0], (CapturedAlert{"Invalid Image", "100% %s %n"}));
}

TEST(MessageBoxTest, CapturesNestAndRestore) {
    AlertCapture outer;
    {
        AlertCapture inner;
        MessageBox(nullptr, "inner", "ERROR", 0);
        EXPECT_EQ(inner.alerts.size(), 1u);
    }
    MessageBox(nullptr, "outer", "ERROR", 0);
    ASSERT_EQ(outer.alerts.size(), 1u);
    EXPECT_EQ(outer.alerts[0].text, "outer");
}

// Where no one can answer a dialog, the alert is one line on stderr; asking
// for dialogs changes nothing until GTK has a display.
TEST(MessageBoxTest, WithoutADisplayWritesOneLineToStderr) {
    for (bool interactive : {false, true}) {
        SetAlertsInteractive(interactive);
        testing::internal::CaptureStderr();
        MessageBox(nullptr, "TGA file be type 2 or type 10 ", "Invalid Image", 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "korvel3d: Invalid Image: TGA file be type 2 or type 10 \n");
    }
    SetAlertsInteractive(false);
}

struct SeenDialog {
    int polls = 0;
    bool found = false;
    std::string title, text;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    bool modal = false;
    std::string okLabel;
    bool otherButton = true;
};

// Finds the alert's dialog while it runs, records it and presses "OK".
gboolean AnswerDialog(gpointer data) {
    auto* seen = static_cast<SeenDialog*>(data);
    ++seen->polls;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next) {
        if (!GTK_IS_MESSAGE_DIALOG(w->data) || !gtk_widget_get_visible(GTK_WIDGET(w->data))) continue;
        GtkDialog* dialog = GTK_DIALOG(w->data);
        seen->found = true;
        seen->title = gtk_window_get_title(GTK_WINDOW(dialog));
        gchar* text = nullptr;
        g_object_get(dialog, "text", &text, "message-type", &seen->type, nullptr);
        seen->text = text ? text : "";
        g_free(text);
        seen->modal = gtk_window_get_modal(GTK_WINDOW(dialog));
        if (GtkWidget* ok = gtk_dialog_get_widget_for_response(dialog, GTK_RESPONSE_OK)) {
            seen->okLabel = gtk_button_get_label(GTK_BUTTON(ok));
        }
        seen->otherButton = gtk_dialog_get_widget_for_response(dialog, GTK_RESPONSE_CANCEL) != nullptr ||
                            gtk_dialog_get_widget_for_response(dialog, GTK_RESPONSE_CLOSE) != nullptr;
        gtk_dialog_response(dialog, GTK_RESPONSE_OK);
        g_list_free(windows);
        return G_SOURCE_REMOVE;
    }
    g_list_free(windows);
    return seen->polls < 200 ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

TEST(MessageBoxTest, InTheProgramItIsAModalErrorDialogWithOneOkButton) {
    REQUIRE_ENVIRONMENT(gtk_init_check(nullptr, nullptr),
                        "no X display to open a dialog on (run under xvfb-run, as `make test` does)");
    SetAlertsInteractive(true);
    SeenDialog seen;
    const guint source = g_timeout_add(50, AnswerDialog, &seen);
    MessageBox(nullptr, "Could not read image data", "ERROR", 0);
    SetAlertsInteractive(false);
    if (!seen.found) g_source_remove(source);
    ASSERT_TRUE(seen.found) << "no dialog was shown";
    EXPECT_EQ(seen.title, "ERROR");
    EXPECT_EQ(seen.text, "Could not read image data");
    EXPECT_EQ(seen.type, GTK_MESSAGE_ERROR);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.okLabel, "_OK");
    EXPECT_FALSE(seen.otherButton);
}

}  // namespace
