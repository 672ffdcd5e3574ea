// korvel3d: the Korvel 3D screen saver for Linux desktops.
#include <cstdio>
#include <cstring>

#include "app/gl_info.h"

namespace {

void printHelp(FILE* out) {
    std::fprintf(out,
                 "Usage: korvel3d [OPTION]...\n"
                 "Korvel 3D: a 3-D field of falling glyph columns, drawn with OpenGL.\n"
                 "\n"
                 "  -h, --help       show this help and exit\n"
                 "  -V, --version    show the version and exit\n"
                 "      --gl-info    describe each display's OpenGL renderer and exit\n");
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            printHelp(stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-V")) {
            std::printf("korvel3d %s\n", KORVEL3D_VERSION);
            return 0;
        }
        if (!std::strcmp(argv[i], "--gl-info")) {
            PrintGLInfo(stdout);
            return 0;
        }
        std::fprintf(stderr, "korvel3d: unknown option '%s'\nTry 'korvel3d --help'.\n", argv[i]);
        return 2;
    }
    printHelp(stdout);
    return 0;
}
