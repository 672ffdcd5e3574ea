#include "platform/bundle.h"

#include <limits.h>
#include <unistd.h>

#include <string>

namespace {

std::string searchFolder;

bool Readable(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "";
    std::string program(path, static_cast<size_t>(length));
    return program.substr(0, program.rfind('/'));
}

}  // namespace

std::string pathForResource(const std::string& name, const std::string& type) {
    const std::string file = name + "." + type;
    const std::string folder = ProgramFolder();
    const std::string candidates[] = {
        searchFolder.empty() ? std::string() : searchFolder + "/" + file,
        folder + "/" + file,
        folder + "/../share/korvel3d/" + file,
        std::string(KORVEL3D_DATA_DIR) + "/" + file,
    };
    for (const std::string& path : candidates)
        if (!path.empty() && path[0] == '/' && Readable(path)) return path;
    return "";
}

void SetResourceSearchFolder(const std::string& folder) { searchFolder = folder; }
