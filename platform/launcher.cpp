#include "platform/launcher.h"

#include <glib.h>

bool OpenAddress(const std::string& address, std::string* error) {
    // An argument vector, not a command line: nothing in the address is ever read by a shell.
    gchar* argv[] = {const_cast<gchar*>("xdg-open"), const_cast<gchar*>(address.c_str()), nullptr};
    GError* failure = nullptr;
    // Not waited for: the opener's exit status is no business of ours, and reaping it is left to GLib.
    const bool started = g_spawn_async(nullptr, argv, nullptr,
                                       GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL),
                                       nullptr, nullptr, nullptr, &failure);
    if (!started && error) *error = failure ? failure->message : "cannot be started";
    g_clear_error(&failure);
    return started;
}
