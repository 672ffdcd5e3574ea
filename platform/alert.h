#pragma once
// Critical alerts: a modal error dialog with one "OK" button where someone can
// answer it, one line on stderr where no one can (headless, inside another
// program's window, CI). Tests install a handler to record the alerts instead.
#include <functional>
#include <string>

using AlertHandler = std::function<void(const std::string& title, const std::string& text)>;

// Shows title and text (verbatim) and returns once the alert is dismissed.
void ShowCriticalAlert(const std::string& title, const std::string& text);

// The program allows dialogs once GTK is initialised on a display the user
// sees. Off by default: a dialog no one can dismiss would stop the saver.
void SetAlertsInteractive(bool interactive);
bool AlertsInteractive();

// Replaces where alerts go; an empty handler restores the default. Returns
// the handler that was installed before.
AlertHandler SetAlertHandler(AlertHandler handler);
