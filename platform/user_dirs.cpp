#include "platform/user_dirs.h"

#include <glib.h>
#include <sys/stat.h>

#include <cstdlib>

namespace {

std::string fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    // The XDG rules say relative paths are invalid and must be ignored.
    return (value && value[0] == '/') ? std::string(value) : std::string();
}

std::string underHome(const char* xdgVariable, const char* fallback) {
    std::string base = fromEnvironment(xdgVariable);
    if (base.empty()) base = std::string(g_get_home_dir()) + "/" + fallback;
    return base + "/korvel3d";
}

}  // namespace

std::string UserConfigDir() {
    const char* own = std::getenv("KORVEL3D_CONFIG_DIR");
    if (own && *own) return own;
    return underHome("XDG_CONFIG_HOME", ".config");
}

std::string UserCacheDir() { return underHome("XDG_CACHE_HOME", ".cache"); }

bool EnsureDirectory(const std::string& path) {
    if (g_mkdir_with_parents(path.c_str(), 0700) != 0) return false;
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
