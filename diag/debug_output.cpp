#include "diag/debug_output.h"

#include <cstdio>
#include <string>

#include "platform/user_dirs.h"

namespace {

// Opens the debug file for appending, creating its folder on the way; null when either fails.
FILE* openDebugFile() {
    const std::string folder = UserCacheDir();
    if (!EnsureDirectory(folder)) return nullptr;
    return std::fopen((folder + "/debug.txt").c_str(), "a");
}

}  // namespace

void DEBUG(double value) {
    FILE* file = openDebugFile();
    if (!file) return;
    std::fprintf(file, "%f\n", value);
    std::fclose(file);
}

void DEBUGstr(const char* text) {
    if (!text) return;
    FILE* file = openDebugFile();
    if (!file) return;
    std::fprintf(file, "%s\n", text);
    std::fclose(file);
}

void DEBUGp3d(VECTOR3D v) {
    FILE* file = openDebugFile();
    if (!file) return;
    std::fprintf(file, "%f,%f,%f\n", static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z));
    std::fclose(file);
}
