#include "platform/alert.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <utility>

namespace {

bool gInteractive = false;
AlertHandler gHandler;

void ShowDialog(const std::string& title, const std::string& text) {
    // "%s" keeps the text verbatim: it is never read as a format.
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                               GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

void WriteLine(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "korvel3d: %s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
}

}  // namespace

void SetAlertsInteractive(bool interactive) { gInteractive = interactive; }

bool AlertsInteractive() { return gInteractive; }

AlertHandler SetAlertHandler(AlertHandler handler) {
    AlertHandler previous = std::move(gHandler);
    gHandler = std::move(handler);
    return previous;
}

void ShowCriticalAlert(const std::string& title, const std::string& text) {
    if (gHandler) {
        gHandler(title, text);
        return;
    }
    // A dialog needs GTK initialised with a display; gdk_display_get_default
    // is null until gtk_init has opened one.
    if (gInteractive && gdk_display_get_default() != nullptr) {
        ShowDialog(title, text);
        return;
    }
    WriteLine(title, text);
}
